#include "engine/labels/CCCharMapLabel.h"

#include "engine/base/CCLog.h"
#include "engine/textures/CCTexture2D.h"
#include "engine/textures/CCTextureAtlas.h"

#include <cstring>

namespace kvengine {

CCCharMapLabel* CCCharMapLabel::createWithString(const char* text, const char* charMapFile,
                                                 uint32_t itemWidth, uint32_t itemHeight,
                                                 unsigned char startChar) {
    auto* label = new CCCharMapLabel();
    if (!label->initWithString(text, charMapFile, itemWidth, itemHeight, startChar)) {
        label->release();
        return nullptr;
    }
    label->autorelease();
    return label;
}

bool CCCharMapLabel::initWithString(const char* text, const char* charMapFile, uint32_t itemWidth,
                                    uint32_t itemHeight, unsigned char startChar) {
    const uint32_t length = text ? static_cast<uint32_t>(std::strlen(text)) : 0;
    if (!initWithTileFile(charMapFile, itemWidth, itemHeight, length)) return false;
    m_startChar = startChar;
    setString(text);
    return true;
}

void CCCharMapLabel::setString(const char* text) {
    if (!m_textureAtlas) return;
    m_text = text ? text : "";
    const auto length = static_cast<uint32_t>(m_text.size());
    if (length > m_textureAtlas->getTotalQuads() && length > m_textureAtlas->getCapacity() &&
        !m_textureAtlas->resizeCapacity(length)) {
        logDebugMessage("CCCharMapLabel: no room for %u characters", length);
        m_text.clear();
    }
    updateAtlasValues();
    const auto n = static_cast<uint32_t>(m_text.size());
    setContentSizeInPixels(CCSize(static_cast<float>(n * m_itemWidth), static_cast<float>(m_itemHeight)));
    m_quadsToDraw = n;
}

void CCCharMapLabel::updateAtlasValues() {
    CCTexture2D* texture = getTexture();
    if (!texture || m_itemsPerRow == 0) return;
    const float wide = static_cast<float>(texture->getPixelsWide());
    const float high = static_cast<float>(texture->getPixelsHigh());
    const float w = static_cast<float>(m_itemWidth);
    const float h = static_cast<float>(m_itemHeight);
    for (uint32_t i = 0; i < m_text.size(); ++i) {
        const auto a = static_cast<unsigned char>(static_cast<unsigned char>(m_text[i]) - m_startChar);
        const uint32_t column = a % m_itemsPerRow;
        const uint32_t row = a / m_itemsPerRow;
        const float left = column * w / wide;
        const float right = left + w / wide;
        const float top = row * h / high;
        const float bottom = top + h / high;
        ccV3F_C4B_T2F_Quad quad;
        const float x = static_cast<float>(i) * w;
        quad.tl.vertices = ccVertex3F{x, h, 0};
        quad.tl.texCoords = ccTex2F{left, top};
        quad.bl.vertices = ccVertex3F{x, 0, 0};
        quad.bl.texCoords = ccTex2F{left, bottom};
        quad.tr.vertices = ccVertex3F{x + w, h, 0};
        quad.tr.texCoords = ccTex2F{right, top};
        quad.br.vertices = ccVertex3F{x + w, 0, 0};
        quad.br.texCoords = ccTex2F{right, bottom};
        m_textureAtlas->updateQuad(quad, i);
    }
}

} // namespace kvengine
