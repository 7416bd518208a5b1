#pragma once
#include "engine/nodes/CCMenuItemLabel.h"

#include <string>

namespace kvengine {

class CCString;

/// A label item whose TrueType label is made from a string with the font name and size shared
/// by all font items ("Marker Felt" and 32 at start-up; changed for items made afterwards).
class CCMenuItemFont : public CCMenuItemLabel {
public:
    /// Autoreleased items; null (logged) for a null string.
    static CCMenuItemFont* createWithString(CCString* text);
    static CCMenuItemFont* createWithStringAndTarget(CCString* text, CCObject* target,
                                                     SEL_MenuHandler selector);

    /// Replace the shared settings (null keeps the name).
    static void setFontName(const char* name);
    static const char* fontName();
    static void setFontSize(int size);
    static int fontSize();

    /// Uses the string's wide copy when it has one, else its narrow text.
    [[nodiscard]] bool initWithString(CCString* text, CCObject* target, SEL_MenuHandler selector);

    int getFontSize() const { return m_fontSize; }
    const std::string& getFontName() const { return m_fontName; }

private:
    int m_fontSize = 0;
    std::string m_fontName;
};

} // namespace kvengine
