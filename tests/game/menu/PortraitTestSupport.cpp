#include "PortraitTestSupport.h"

#include "engine/base/CCArray.h"
#include "engine/files/CCResourceIndex.h"
#include "engine/nodes/CCNode.h"
#include "engine/sprites/CCSprite.h"
#include "engine/sprites/CCSpriteFrame.h"
#include "engine/sprites/CCSpriteFrameCache.h"
#include "game/data/KVDataAccess.h"
#include "game/data/KVPlayerParameters.h"

using namespace kvengine;

namespace portraittest {

void Handler::onChosen(CCObject* sender) {
    auto* node = static_cast<CCNode*>(sender);
    CCString* key = kvdata::asString(node->getUserObject());
    chosen.push_back(key != nullptr ? key->c_str() : "");
}

void Handler::onRemoved(CCObject*) {
    ++removed;
}

bool showsFrame(CCNode* node, const char* frameName) {
    auto* sprite = dynamic_cast<CCSprite*>(node);
    if (sprite == nullptr) return false;
    CCSpriteFrame* frame = CCSpriteFrameCache::getInstance()->findSpriteFrameByName(frameName);
    return frame != nullptr && sprite->isFrameDisplayed(frame);
}

int childrenShowing(CCNode* node, const char* frameName) {
    int count = 0;
    CCArray* children = node != nullptr ? node->getChildren() : nullptr;
    for (unsigned i = 0; children != nullptr && i < children->count(); ++i)
        if (showsFrame(static_cast<CCNode*>(children->objectAtIndex(i)), frameName)) ++count;
    return count;
}

void pointTutorialAt(const std::string& item) {
    kvdata::Dict* condition = kvdata::newDict();
    kvdata::setText(condition, item, "buyKelvo");
    kvdata::Dict* step = kvdata::newDict();
    step->setObject(condition, "condition");
    kvdata::Dict* steps = kvdata::newDict();
    steps->setObject(step, "step01");
    KVPlayerParameters::getInstance()->getProfile()->setObject(steps, "forcedSteps");
}

void loadSheet(const char* sheet) {
    CCResourceIndex* index = CCResourceIndex::getInstance();
    CCSpriteFrameCache::getInstance()->addSpriteFramesWithFile(
        index->pathForFileName(std::string(sheet) + ".plist").c_str());
}

} // namespace portraittest
