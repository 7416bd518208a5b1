#include "game/environment/KVEnvLayerAnimationSvg.h"

#include "engine/base/CCMutableArray.h"
#include "engine/base/CCString.h"
#include "engine/director/CCDirector.h"
#include "engine/sprites/CCSprite.h"
#include "engine/sprites/CCSpriteBatchNode.h"
#include "engine/textures/CCTextureCache.h"
#include "game/environment/KVAnimatedEnvSprite.h"
#include "game/world/SVGParser.h"

using namespace kvengine;

namespace {
// Splits at `separator`; the pieces keep their spaces.
std::vector<std::string> split(const std::string& text, char separator) {
    std::vector<std::string> pieces;
    size_t start = 0;
    while (start <= text.size()) {
        size_t end = text.find(separator, start);
        if (end == std::string::npos) end = text.size();
        pieces.push_back(text.substr(start, end - start));
        start = end + 1;
    }
    return pieces;
}
} // namespace

std::string KVEnvLayerAnimationSvg::gameDataValue(const std::string& gameData, const std::string& key) {
    for (const std::string& pair : split(gameData, ',')) {
        const size_t equals = pair.find('=');
        if (equals != std::string::npos && pair.substr(0, equals) == key) return pair.substr(equals + 1);
    }
    return std::string();
}

kvdata::Dict* KVEnvLayerAnimationSvg::parseObjectParams(const std::string& text) {
    kvdata::Dict* params = kvdata::newDict();
    for (const std::string& pair : split(text, ';')) {
        const size_t colon = pair.find(':');
        if (colon != std::string::npos)
            kvdata::setText(params, pair.substr(0, colon), pair.substr(colon + 1));
    }
    return params;
}

bool KVEnvLayerAnimationSvg::initWithDictionary(kvdata::Dict* dictionary) {
    KVEnvLayer::initWithDictionary(dictionary);
    m_kind = kAnimationSvg;
    if (m_sprites != nullptr) m_sprites->release();
    m_sprites = new CCMutableArray<KVAnimatedEnvSprite*>();
    const std::string sheet = kvdata::textAt(dictionary, "spritesheet_name");
    useLayerPixelFormat();
    const bool loaded = !sheet.empty() && loadSheetFrames(sheet);
    CCTexture2D* texture =
        loaded ? CCTextureCache::getInstance()->addImage(resourcePath(sheet + ".pvr.ccz").c_str()) : nullptr;
    CCSpriteBatchNode* batch = texture != nullptr ? CCSpriteBatchNode::createWithTexture(texture) : nullptr;
    applySetupTexturePixelFormat();
    if (batch == nullptr || m_name == nullptr) {
        logProblem("needs a drawing \"name\" and a sheet \"spritesheet_name\" that loads");
        return false;
    }
    placeAtOrigin(batch);
    setNode(batch);
    // The drawing's pixels are the level map's: points are pixels over the content scale.
    SVGParserParameters parameters;
    parameters.pixelsPerMetre = CCDirector::sharedContentScaleFactor();
    (new SVGParser(parameters, m_name, nullptr, this))->release();
    return true;
}

void KVEnvLayerAnimationSvg::addAnimationPath(CCString* gameData, SVGPointList* points) {
    const std::string data = gameData != nullptr ? gameData->text : std::string();
    KVAnimatedEnvSprite* sprite = KVAnimatedEnvSprite::createWithPath(points);
    if (sprite == nullptr) {
        logProblem("a path without two distinct points (" + data + ")");
        return;
    }
    const std::string params = gameDataValue(data, "objectParams");
    if (params.empty() || !sprite->initWithParams(parseObjectParams(params))) {
        logProblem("a path without usable \"objectParams\" (" + data + ")");
        return;
    }
    m_sprites->addObject(sprite);
    if (m_node != nullptr) m_node->addChild(sprite->getSprite());
}

void KVEnvLayerAnimationSvg::resizeToNode(CCNode* levelNode) {
    if (m_node != nullptr) m_node->setContentSize(levelSizeInPoints(levelNode));
}

void KVEnvLayerAnimationSvg::update(float dt) {
    for (unsigned i = 0; m_sprites != nullptr && i < m_sprites->count(); ++i)
        m_sprites->objectAtIndex(i)->update(dt);
}

void KVEnvLayerAnimationSvg::cleanupBeforeDelete() {
    if (m_sprites != nullptr) m_sprites->release();
    m_sprites = nullptr;
    KVEnvLayer::cleanupBeforeDelete();
}
