#pragma once

#include <memory>
#include <string>

#include "engine/base/CCObject.h"

namespace kvengine {

/// Reference-counted text: a byte string (UTF-8 by convention) plus an optional UTF-16 copy for
/// text rendering. The wide copy is not kept in step with `text`: after changing the text, call
/// makeWideString() again.
class CCString : public CCObject {
public:
    CCString() = default;
    /// Copies the bytes; a null pointer gives the empty text.
    explicit CCString(const char* text);
    explicit CCString(const std::string& text);
    /// Copies `length` bytes from `bytes` (which need not end in a terminator).
    CCString(const char* bytes, std::size_t length) : text(bytes, length) {}
    /// Keeps `wide` (up to its terminator) as the wide copy and its UTF-8 encoding as the text.
    /// A null pointer gives the empty text and an empty wide copy.
    explicit CCString(const char16_t* wide);

    CC_DECLARE_CLASS_NAME(CCString, CCObject)

    /// atoi rules: optional blanks and sign, then leading decimal digits; 0 when there are none.
    /// Values beyond the int range are clamped.
    int toInt() const;
    /// atof rules, narrowed to float; 0 when the text is not a number.
    float toFloat() const;
    /// True when the text is exactly "YES", otherwise when toInt() is not 0.
    bool toBool() const;

    /// Rebuilds the wide copy from the text and returns it (owned by this string, valid until the
    /// next call or the string's death). The text is decoded as UTF-8; a byte that is not part of
    /// a valid sequence stands for itself (Latin-1). Stops at the first NUL byte.
    const char16_t* makeWideString();
    /// The wide copy, or null when none was made yet.
    const char16_t* wideString() const { return m_wide ? m_wide->c_str() : nullptr; }

    /// When `from` does not occur (or is empty), returns this string itself (no retain).
    /// Otherwise a new string (count 1, owned by the caller) with every occurrence replaced,
    /// overlapping ones included; this string is unchanged.
    CCString* replaceOccurrences(const std::string& from, const std::string& to);

    const char* c_str() const { return text.c_str(); }

    /// The value; callers read and change it directly.
    std::string text;

private:
    // Kept out of line: few strings ever get a wide copy, and property lists make tens of
    // thousands of strings, so the object stays small for them.
    std::unique_ptr<std::u16string> m_wide; ///< null until a wide copy is made
};

/// Replaces in place every occurrence of `from` in `text` by `to`. Occurrences are found first,
/// each search starting one byte after the previous match (so they may overlap), then replaced
/// left to right, each at its position shifted by the earlier replacements. An empty `from`
/// changes nothing.
void replaceAllOccurrences(std::string& text, const std::string& from, const std::string& to);

/// UTF-8 to UTF-16, as CCString::makeWideString decodes (invalid bytes stand for themselves).
std::u16string utf8ToUtf16(const std::string& text);
/// UTF-16 to UTF-8; an unpaired surrogate becomes U+FFFD.
std::string utf16ToUtf8(const std::u16string& text);

} // namespace kvengine
