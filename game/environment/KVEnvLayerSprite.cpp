#include "game/environment/KVEnvLayerSprite.h"

#include "engine/director/CCDirector.h"
#include "engine/platform/CCGL.h"
#include "engine/sprites/CCSprite.h"
#include "engine/sprites/CCSpriteFrameCache.h"
#include "engine/textures/CCTexture2D.h"
#include "engine/textures/CCTexturePixels.h"

using namespace kvengine;

namespace {
// Texture formats without an alpha channel (RGB888, RGB565): such a picture hides what lies
// behind it, so it is drawn without blending.
bool isOpaqueFormat(int format) {
    return format == kCCPixelFormatRGB888 || format == kCCPixelFormatRGB565;
}
} // namespace

bool KVEnvLayerSprite::initWithDictionary(kvdata::Dict* dictionary) {
    KVEnvLayer::initWithDictionary(dictionary);
    m_kind = kSprite;
    if (m_name == nullptr) {
        logProblem("no \"name\"");
        return false;
    }
    useLayerPixelFormat();
    const std::string sheet = kvdata::textAt(dictionary, "spritesheet_name");
    CCSprite* sprite = nullptr;
    if (!sheet.empty()) {
        if (loadSheetFrames(sheet) && CCSpriteFrameCache::getInstance()->hasSpriteFrame(m_name->c_str()))
            sprite = CCSprite::createWithSpriteFrameName(m_name->c_str());
    } else {
        sprite = CCSprite::createWithFile(resourcePath(m_name->c_str()).c_str());
    }
    applySetupTexturePixelFormat();
    const CCSize size = sprite != nullptr ? sprite->getContentSize() : CCSize(0, 0);
    if (sprite == nullptr || size.width <= 0 || size.height <= 0) {
        logProblem("the picture cannot be loaded");
        return false;
    }
    const CCSize window = CCDirector::getInstance()->getWinSize();
    sprite->setScaleX(window.width / size.width);
    sprite->setScaleY(window.height / size.height);
    sprite->setAnchorPoint(CCPoint(0, 0));
    sprite->setPosition(CCPoint(0, 0));
    sprite->setOpacity(static_cast<uint8_t>(m_opacity));
    applyBlending(sprite);
    if (m_blendingMode == kBlendNormal && m_opacity == 255 && sprite->getTexture() != nullptr &&
        isOpaqueFormat(sprite->getTexture()->getPixelFormat())) {
        sprite->setBlendFunc(ccBlendFunc{GL_ONE, GL_ZERO});
    }
    // A picture nobody can see costs a full window of fill.
    sprite->setVisible(m_opacity > 0);
    setNode(sprite);
    return true;
}
