#include "engine/labels/CCLabelTTF.h"

#include "engine/base/CCLog.h"
#include "engine/director/CCDirector.h"
#include "engine/textures/CCTexture2D.h"

namespace kvengine {

namespace {

float contentScale() {
    return CCDirector::sharedContentScaleFactor();
}

CCLabelTTF* finishCreate(CCLabelTTF* label, bool ok) {
    if (!ok) {
        label->release();
        return nullptr;
    }
    label->autorelease();
    return label;
}

} // namespace

CCLabelTTF* CCLabelTTF::createWithString(const char* text, const char* fontName, float fontSize) {
    auto* label = new CCLabelTTF();
    return finishCreate(label, label->initWithString(text, fontName, fontSize));
}

CCLabelTTF* CCLabelTTF::createWithWideString(const char16_t* text, const char* fontName, float fontSize) {
    auto* label = new CCLabelTTF();
    return finishCreate(label, label->initWithWideString(text, fontName, fontSize));
}

CCLabelTTF* CCLabelTTF::createWithStringDimensions(const char* text, int alignment, const char* fontName,
                                                   float fontSize, float boxWidth, float boxHeight) {
    auto* label = new CCLabelTTF();
    return finishCreate(
        label, label->initWithStringDimensions(text, alignment, fontName, fontSize, boxWidth, boxHeight));
}

CCLabelTTF* CCLabelTTF::createWithWideStringDimensions(const char16_t* text, int alignment,
                                                       const char* fontName, float fontSize, float boxWidth,
                                                       float boxHeight) {
    auto* label = new CCLabelTTF();
    return finishCreate(
        label, label->initWithWideStringDimensions(text, alignment, fontName, fontSize, boxWidth, boxHeight));
}

void CCLabelTTF::setUp(const char* fontName, float fontSize) {
    m_fontName = fontName ? fontName : "";
    m_fontSize = fontSize * contentScale();
}

bool CCLabelTTF::initWithString(const char* text, const char* fontName, float fontSize) {
    if (!CCSprite::init()) return false;
    m_dimensions = CCSizeZero;
    setUp(fontName, fontSize);
    setString(text);
    return true;
}

bool CCLabelTTF::initWithWideString(const char16_t* text, const char* fontName, float fontSize) {
    if (!CCSprite::init()) return false;
    m_dimensions = CCSizeZero;
    setUp(fontName, fontSize);
    setWideString(text);
    return true;
}

bool CCLabelTTF::initWithStringDimensions(const char* text, int alignment, const char* fontName,
                                          float fontSize, float boxWidth, float boxHeight) {
    if (!CCSprite::init()) return false;
    m_alignment = alignment;
    m_dimensions = CCSize(boxWidth * contentScale(), boxHeight * contentScale());
    setUp(fontName, fontSize);
    setString(text);
    return true;
}

bool CCLabelTTF::initWithWideStringDimensions(const char16_t* text, int alignment, const char* fontName,
                                              float fontSize, float boxWidth, float boxHeight) {
    if (!CCSprite::init()) return false;
    m_alignment = alignment;
    m_dimensions = CCSize(boxWidth * contentScale(), boxHeight * contentScale());
    setUp(fontName, fontSize);
    setWideString(text);
    return true;
}

void CCLabelTTF::setString(const char* text) {
    m_text = text ? text : "";
    render(false);
}

void CCLabelTTF::setWideString(const char16_t* text) {
    m_wide = text ? std::u16string(text) : std::u16string();
    m_hasWide = true;
    m_text.clear();
    for (char16_t unit : m_wide)
        m_text.push_back(static_cast<char>(unit & 0xFF));
    render(true);
}

void CCLabelTTF::render(bool wide) {
    const bool boxed = m_dimensions.width != 0.0f || m_dimensions.height != 0.0f;
    const CCSize box = boxed ? m_dimensions : CCSizeZero;
    const int alignment = boxed ? m_alignment : 1;
    auto* texture = new CCTexture2D();
    const bool ok =
        wide ? texture->initWithWideString(m_wide.c_str(), m_fontName.c_str(), m_fontSize, box, alignment)
             : texture->initWithString(m_text.c_str(), m_fontName.c_str(), m_fontSize, box, alignment);
    if (!ok) {
        texture->release();
        if (!m_text.empty()) logDebugMessage("CCLabelTTF: cannot render \"%s\"", m_text.c_str());
        setTexture(nullptr);
        setTextureRect(CCRectZero);
        return;
    }
    setTexture(texture);
    texture->release();
    const CCSize size = texture->getContentSize();
    setTextureRect(CCRect(0, 0, size.width, size.height));
}

} // namespace kvengine
