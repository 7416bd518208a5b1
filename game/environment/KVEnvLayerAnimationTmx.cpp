#include "game/environment/KVEnvLayerAnimationTmx.h"

#include "engine/base/CCRandom.h"
#include "engine/director/CCDirector.h"
#include "engine/sprites/CCAnimation.h"
#include "engine/sprites/CCSprite.h"
#include "engine/sprites/CCSpriteBatchNode.h"
#include "engine/sprites/CCSpriteFrameCache.h"
#include "engine/textures/CCTextureCache.h"
#include "engine/tilemaps/CCTMXObjectGroup.h"
#include "engine/tilemaps/CCTMXTiledMap.h"

using namespace kvengine;

namespace {
std::string objectText(CCTMXObject* object, const char* key) {
    CCString* value = object->objectForKey(key);
    return value != nullptr ? value->text : std::string();
}
bool objectHas(CCTMXObject* object, const char* key) {
    return object->objectForKey(key) != nullptr;
}
int objectInt(CCTMXObject* object, const char* key) {
    CCString* value = object->objectForKey(key);
    return value != nullptr ? value->toInt() : 0;
}
float objectFloat(CCTMXObject* object, const char* key) {
    CCString* value = object->objectForKey(key);
    return value != nullptr ? value->toFloat() : 0.0f;
}
} // namespace

bool KVEnvLayerAnimationTmx::initWithDictionary(kvdata::Dict* dictionary) {
    KVEnvLayer::initWithDictionary(dictionary);
    m_kind = kAnimationTmx;
    const std::string sheet = kvdata::textAt(dictionary, "spritesheet_name");
    useLayerPixelFormat();
    CCTMXTiledMap* map =
        m_name != nullptr ? CCTMXTiledMap::createWithFile(resourcePath(m_name->c_str()).c_str()) : nullptr;
    const bool loaded = map != nullptr && !sheet.empty() && loadSheetFrames(sheet);
    CCTexture2D* texture =
        loaded ? CCTextureCache::getInstance()->addImage(resourcePath(sheet + ".pvr.ccz").c_str()) : nullptr;
    CCSpriteBatchNode* batch = texture != nullptr ? CCSpriteBatchNode::createWithTexture(texture) : nullptr;
    applySetupTexturePixelFormat();
    if (batch == nullptr) {
        logProblem(map == nullptr ? "the tile map cannot be read"
                                  : "the sheet \"" + sheet + "\" cannot be loaded");
        return false;
    }
    placeAtOrigin(batch);
    batch->setContentSize(levelSizeInPoints(map));
    setNode(batch);

    CCMutableArray<CCTMXObjectGroup*>* groups = map->getObjectGroups();
    for (unsigned g = 0; groups != nullptr && g < groups->count(); ++g) {
        CCMutableArray<CCTMXObject*>* objects = groups->objectAtIndex(g)->getObjects();
        for (unsigned o = 0; objects != nullptr && o < objects->count(); ++o) {
            CCTMXObject* object = objects->objectAtIndex(o);
            int frameCount = objectInt(object, "frame_count");
            if (frameCount == 0) frameCount = kDefaultFrameCount;
            float delay = objectFloat(object, "anim_delay");
            if (delay == 0.0f) delay = 0.2f;
            const float range =
                objectHas(object, "anim_delay_range") ? objectFloat(object, "anim_delay_range") : 0.05f;
            if (range != 0.0f) delay += CCRandom::randomMinus1To1() * range;
            const std::string prefix = objectText(object, "name") + "_";
            if (!CCSpriteFrameCache::getInstance()->hasSpriteFrame((prefix + "01.png").c_str())) {
                logProblem("object '" + objectText(object, "name") + "' has no frame " + prefix + "01.png");
                continue;
            }
            CCAnimation* animation = numberedFrames(prefix, 1, frameCount, delay);
            CCSprite* sprite = CCSprite::createWithSpriteFrameName((prefix + "01.png").c_str());
            runForever(sprite, animation);
            sprite->setPosition(CCPoint(objectInt(object, "x") + objectInt(object, "width") / 2.0f,
                                        objectInt(object, "y") + objectInt(object, "height") / 2.0f));
            batch->addChild(sprite);
        }
    }
    return true;
}
