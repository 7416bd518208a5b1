#include "engine/nodes/CCMenuItemFont.h"

#include "engine/base/CCLog.h"
#include "engine/base/CCString.h"
#include "engine/labels/CCLabelTTF.h"

namespace kvengine {

namespace {
std::string g_fontName = "Marker Felt";
int g_fontSize = 32;
} // namespace

void CCMenuItemFont::setFontName(const char* name) {
    if (name) g_fontName = name;
}

const char* CCMenuItemFont::fontName() {
    return g_fontName.c_str();
}

void CCMenuItemFont::setFontSize(int size) {
    g_fontSize = size;
}

int CCMenuItemFont::fontSize() {
    return g_fontSize;
}

CCMenuItemFont* CCMenuItemFont::createWithString(CCString* text) {
    return createWithStringAndTarget(text, nullptr, nullptr);
}

CCMenuItemFont* CCMenuItemFont::createWithStringAndTarget(CCString* text, CCObject* target,
                                                          SEL_MenuHandler selector) {
    auto* item = new CCMenuItemFont();
    if (!item->initWithString(text, target, selector)) {
        item->release();
        return nullptr;
    }
    item->autorelease();
    return item;
}

bool CCMenuItemFont::initWithString(CCString* text, CCObject* target, SEL_MenuHandler selector) {
    if (!text) {
        logDebugMessage("CCMenuItemFont: no text");
        return false;
    }
    m_fontName = g_fontName;
    m_fontSize = g_fontSize;
    const float size = static_cast<float>(m_fontSize);
    CCLabelTTF* label = text->wideString()
                            ? CCLabelTTF::createWithWideString(text->wideString(), m_fontName.c_str(), size)
                            : CCLabelTTF::createWithString(text->c_str(), m_fontName.c_str(), size);
    return initWithLabel(label, target, selector);
}

} // namespace kvengine
