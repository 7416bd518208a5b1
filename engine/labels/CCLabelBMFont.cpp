#include "engine/labels/CCLabelBMFont.h"

#include "engine/base/CCArray.h"
#include "engine/base/CCLog.h"
#include "engine/labels/CCBMFontConfiguration.h"
#include "engine/sprites/CCSprite.h"
#include "engine/textures/CCTexture2D.h"
#include "engine/textures/CCTextureCache.h"

#include <algorithm>
#include <cstring>

namespace kvengine {

CCLabelBMFont* CCLabelBMFont::createWithString(const char* text, const char* fntFile) {
    auto* label = new CCLabelBMFont();
    if (!label->initWithString(text, fntFile)) {
        label->release();
        return nullptr;
    }
    label->autorelease();
    return label;
}

void CCLabelBMFont::purgeCachedData() {
    purgeFontConfigurations();
}

CCLabelBMFont::~CCLabelBMFont() {}

bool CCLabelBMFont::initWithString(const char* text, const char* fntFile) {
    CCBMFontConfiguration* configuration = loadFontConfiguration(fntFile);
    m_configuration = configuration;
    if (!m_configuration) {
        logDebugMessage("CCLabelBMFont: the font %s cannot be used", fntFile ? fntFile : "(null)");
        return false;
    }
    if (m_configuration->getAtlasName().empty()) {
        logDebugMessage("CCLabelBMFont: the font %s names no atlas image", fntFile ? fntFile : "(null)");
        return false;
    }
    CCTexture2D* texture = CCTextureCache::getInstance()->addImage(m_configuration->getAtlasName().c_str());
    const uint32_t capacity = text ? static_cast<uint32_t>(std::strlen(text)) : 0;
    if (!CCSpriteBatchNode::initWithTexture(texture, capacity)) {
        logDebugMessage("CCLabelBMFont: cannot use the atlas image %s",
                        m_configuration->getAtlasName().c_str());
        return false;
    }
    m_color = ccColor3B{255, 255, 255};
    m_opacity = 255;
    setContentSize(CCSizeZero);
    m_opacityModifyRGB = texture->hasPremultipliedAlpha();
    CCNode::setAnchorPoint(CCPoint(0.5f, 0.5f));
    setString(text);
    return true;
}

void CCLabelBMFont::setString(const char* text) {
    m_text = text ? text : "";
    if (m_children)
        for (unsigned i = 0; i < m_children->count(); ++i)
            static_cast<CCNode*>(m_children->objectAtIndex(i))->setVisible(false);
    buildCharacterSprites();
}

void CCLabelBMFont::setAnchorPoint(const CCPoint& point) {
    if (pointEqualToPoint(point, m_anchorPoint)) return;
    CCNode::setAnchorPoint(point);
    buildCharacterSprites();
}

int CCLabelBMFont::kerningAmountForFirst(uint32_t first, uint32_t second) const {
    return m_configuration ? m_configuration->kerningAmount(first, second) : 0;
}

void CCLabelBMFont::buildCharacterSprites() {
    if (m_text.empty() || !m_configuration) return;
    const int lineHeight = static_cast<int>(m_configuration->getLineHeight());
    const size_t length = m_text.size();
    const int lines = 1 + static_cast<int>(std::count(m_text.begin(), m_text.end() - 1, '\n'));
    const int totalHeight = lines * lineHeight;
    int x = 0;
    int y = lineHeight * (lines - 1);
    uint32_t previous = 0xFFFF;
    int widest = 0;
    for (size_t i = 0; i < length; ++i) {
        const auto c = static_cast<unsigned char>(m_text[i]);
        if (c == '\n') {
            x = 0;
            y -= lineHeight;
            continue;
        }
        const int kerning = kerningAmountForFirst(previous, c);
        const CCBMFontGlyph& g = m_configuration->glyph(c);
        const CCRect rect(g.x, g.y, g.width, g.height);

        const int tag = static_cast<int>(i);
        auto* sprite = static_cast<CCSprite*>(getChildByTag(tag));
        if (sprite) {
            sprite->setTextureRectInPixels(rect, false, rect.size);
            sprite->setVisible(true);
            sprite->setOpacity(255);
        } else {
            sprite = new CCSprite();
            if (!sprite->initWithBatchNodeRectInPixels(this, rect)) { // no atlas texture (logged)
                sprite->release();
                continue;
            }
            addChildAtZWithTag(sprite, 0, tag);
            sprite->release();
        }
        const float px =
            static_cast<float>(g.xOffset + x) + rect.size.width / 2 + static_cast<float>(kerning);
        const float py = static_cast<float>(lineHeight - g.yOffset + y) - rect.size.height / 2;
        sprite->setPositionInPixels(CCPoint(px, py));
        x += g.xAdvance + kerning;
        previous = c;
        sprite->setOpacityModifyRGB(m_opacityModifyRGB);
        sprite->setColor(m_color);
        if (m_opacity != 255) sprite->setOpacity(m_opacity);
        widest = std::max(widest, x);
    }
    setContentSizeInPixels(CCSize(static_cast<float>(widest), static_cast<float>(totalHeight)));
}

void CCLabelBMFont::setColor(const ccColor3B& color) {
    m_color = color;
    if (!m_children) return;
    for (unsigned i = 0; i < m_children->count(); ++i)
        if (CCRGBAProtocol* rgba = static_cast<CCNode*>(m_children->objectAtIndex(i))->asRGBAProtocol())
            rgba->setColor(color);
}

void CCLabelBMFont::setOpacity(uint8_t opacity) {
    m_opacity = opacity;
    if (!m_children) return;
    for (unsigned i = 0; i < m_children->count(); ++i)
        if (CCRGBAProtocol* rgba = static_cast<CCNode*>(m_children->objectAtIndex(i))->asRGBAProtocol())
            rgba->setOpacity(opacity);
}

void CCLabelBMFont::setOpacityModifyRGB(bool value) {
    m_opacityModifyRGB = value;
    if (!m_children) return;
    for (unsigned i = 0; i < m_children->count(); ++i)
        if (CCRGBAProtocol* rgba = static_cast<CCNode*>(m_children->objectAtIndex(i))->asRGBAProtocol())
            rgba->setOpacityModifyRGB(value);
}

} // namespace kvengine
