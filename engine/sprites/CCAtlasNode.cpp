#include "engine/sprites/CCAtlasNode.h"

#include "engine/base/CCLog.h"
#include "engine/platform/CCGL.h"
#include "engine/textures/CCTexture2D.h"
#include "engine/textures/CCTextureAtlas.h"
#include "engine/textures/CCTextureCache.h"

namespace kvengine {

namespace {
constexpr ccBlendFunc kPremultipliedBlend{1, 771};
}

CCAtlasNode::~CCAtlasNode() {
    if (m_textureAtlas) m_textureAtlas->release();
}

bool CCAtlasNode::initWithTileFile(const char* tileFile, uint32_t itemWidth, uint32_t itemHeight,
                                   uint32_t capacity) {
    if (itemWidth == 0 || itemHeight == 0) {
        logDebugMessage("CCAtlasNode: items of zero size");
        return false;
    }
    CCTexture2D* texture = tileFile ? CCTextureCache::getInstance()->addImage(tileFile) : nullptr;
    if (!texture) {
        logDebugMessage("CCAtlasNode: cannot load the image %s", tileFile ? tileFile : "(null)");
        return false;
    }
    auto* atlas = new CCTextureAtlas();
    if (!atlas->initWithTexture(texture, capacity)) {
        atlas->release();
        logDebugMessage("CCAtlasNode: cannot make an atlas of %u quads", capacity);
        return false;
    }
    setTextureAtlas(atlas);
    atlas->release();
    m_itemWidth = itemWidth;
    m_itemHeight = itemHeight;
    const CCSize picture = texture->getContentSizeInPixels();
    m_itemsPerRow = static_cast<uint32_t>(picture.width) / itemWidth;
    m_itemsPerColumn = static_cast<uint32_t>(picture.height) / itemHeight;
    m_color = m_colorUnmodified = ccColor3B{255, 255, 255};
    m_opacity = 255;
    m_blendFunc = kPremultipliedBlend;
    updateBlendFunc();
    updateOpacityModifyRGB();
    m_quadsToDraw = 0;
    return true;
}

void CCAtlasNode::setTextureAtlas(CCTextureAtlas* atlas) {
    if (atlas) atlas->retain();
    if (m_textureAtlas) m_textureAtlas->release();
    m_textureAtlas = atlas;
}

void CCAtlasNode::draw() {
    if (!m_textureAtlas) return;
    if (blendShowsNothing(m_blendFunc, ccColor4B{m_color.r, m_color.g, m_color.b, m_opacity})) return;
    glDisableClientState(GL_COLOR_ARRAY);
    glColor4f(m_color.r / 255.0f, m_color.g / 255.0f, m_color.b / 255.0f, m_opacity / 255.0f);
    const bool changeBlend = m_blendFunc != kPremultipliedBlend;
    if (changeBlend) glBlendFunc(m_blendFunc.src, m_blendFunc.dst);
    m_textureAtlas->drawQuads(m_quadsToDraw);
    if (changeBlend) glBlendFunc(kPremultipliedBlend.src, kPremultipliedBlend.dst);
    glEnableClientState(GL_COLOR_ARRAY);
}

void CCAtlasNode::setColor(const ccColor3B& color) {
    m_colorUnmodified = color;
    m_color = color;
    if (m_opacityModifyRGB) {
        m_color.r = static_cast<uint8_t>(color.r * m_opacity / 255);
        m_color.g = static_cast<uint8_t>(color.g * m_opacity / 255);
        m_color.b = static_cast<uint8_t>(color.b * m_opacity / 255);
    }
}

ccColor3B CCAtlasNode::getColor() {
    return m_opacityModifyRGB ? m_colorUnmodified : m_color;
}

void CCAtlasNode::setOpacity(uint8_t opacity) {
    m_opacity = opacity;
    if (m_opacityModifyRGB) setColor(m_colorUnmodified);
}

CCTexture2D* CCAtlasNode::getTexture() {
    return m_textureAtlas ? m_textureAtlas->getTexture() : nullptr;
}

void CCAtlasNode::setTexture(CCTexture2D* texture) {
    if (!m_textureAtlas) return;
    m_textureAtlas->setTexture(texture);
    updateBlendFunc();
    updateOpacityModifyRGB();
}

void CCAtlasNode::updateBlendFunc() {
    CCTexture2D* texture = getTexture();
    if (texture && !texture->hasPremultipliedAlpha()) m_blendFunc = ccBlendFunc{770, 771};
}

void CCAtlasNode::updateOpacityModifyRGB() {
    CCTexture2D* texture = getTexture();
    m_opacityModifyRGB = texture && texture->hasPremultipliedAlpha();
}

} // namespace kvengine
