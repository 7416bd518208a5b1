#include "engine/base/CCString.h"

#include <cerrno>
#include <climits>
#include <cstdlib>
#include <vector>

namespace kvengine {

CCString::CCString(const char* text_) : text(text_ != nullptr ? text_ : "") {}

CCString::CCString(const std::string& text_) : text(text_) {}

CCString::CCString(const char16_t* wide)
    : m_wide(std::make_unique<std::u16string>(wide != nullptr ? wide : u"")) {
    text = utf16ToUtf8(*m_wide);
}

int CCString::toInt() const {
    errno = 0;
    long value = std::strtol(text.c_str(), nullptr, 10);
    if (value > INT_MAX) return INT_MAX;
    if (value < INT_MIN) return INT_MIN;
    return static_cast<int>(value);
}

float CCString::toFloat() const {
    return static_cast<float>(std::strtod(text.c_str(), nullptr));
}

bool CCString::toBool() const {
    return text == "YES" || toInt() != 0;
}

const char16_t* CCString::makeWideString() {
    if (m_wide)
        *m_wide = utf8ToUtf16(std::string(text.c_str()));
    else
        m_wide = std::make_unique<std::u16string>(utf8ToUtf16(std::string(text.c_str())));
    return m_wide->c_str();
}

CCString* CCString::replaceOccurrences(const std::string& from, const std::string& to) {
    if (from.empty() || text.find(from) == std::string::npos) return this;
    auto* result = new CCString(text);
    replaceAllOccurrences(result->text, from, to);
    return result;
}

void replaceAllOccurrences(std::string& text, const std::string& from, const std::string& to) {
    if (from.empty()) return;
    std::vector<std::size_t> positions;
    for (std::size_t at = text.find(from); at != std::string::npos; at = text.find(from, at + 1))
        positions.push_back(at);
    if (positions.empty()) return;
    // Overlapping matches share bytes: a later match that starts inside an earlier, already
    // replaced one is applied to what the earlier replacement left there, clipped to the text.
    long long shift = 0;
    const long long delta = static_cast<long long>(to.size()) - static_cast<long long>(from.size());
    for (std::size_t position : positions) {
        long long at = static_cast<long long>(position) + shift;
        if (at < 0) at = 0;
        if (static_cast<std::size_t>(at) > text.size()) break;
        text.replace(static_cast<std::size_t>(at), from.size(), to);
        shift += delta;
    }
}

std::u16string utf8ToUtf16(const std::string& text) {
    std::u16string out;
    out.reserve(text.size());
    const auto* bytes = reinterpret_cast<const unsigned char*>(text.data());
    const std::size_t size = text.size();
    std::size_t i = 0;
    while (i < size) {
        unsigned char lead = bytes[i];
        std::size_t length = lead < 0x80           ? 1
                             : (lead >> 5) == 0x6  ? 2
                             : (lead >> 4) == 0xE  ? 3
                             : (lead >> 3) == 0x1E ? 4
                                                   : 0;
        char32_t code = 0;
        bool valid = length > 0 && i + length <= size;
        if (valid) {
            code = length == 1   ? lead
                   : length == 2 ? (lead & 0x1F)
                   : length == 3 ? (lead & 0x0F)
                                 : (lead & 0x07);
            for (std::size_t k = 1; k < length && valid; ++k) {
                if ((bytes[i + k] & 0xC0) != 0x80)
                    valid = false;
                else
                    code = (code << 6) | (bytes[i + k] & 0x3F);
            }
            // Overlong forms, surrogates and values past U+10FFFF are not valid UTF-8.
            static const char32_t kMinimum[5] = {0, 0, 0x80, 0x800, 0x10000};
            if (valid && (code < kMinimum[length] || code > 0x10FFFF || (code >= 0xD800 && code <= 0xDFFF)))
                valid = false;
        }
        if (!valid) {
            out.push_back(static_cast<char16_t>(lead));
            ++i;
            continue;
        }
        if (code >= 0x10000) {
            code -= 0x10000;
            out.push_back(static_cast<char16_t>(0xD800 + (code >> 10)));
            out.push_back(static_cast<char16_t>(0xDC00 + (code & 0x3FF)));
        } else {
            out.push_back(static_cast<char16_t>(code));
        }
        i += length;
    }
    return out;
}

std::string utf16ToUtf8(const std::u16string& text) {
    std::string out;
    out.reserve(text.size());
    for (std::size_t i = 0; i < text.size(); ++i) {
        char32_t code = text[i];
        if (code >= 0xD800 && code <= 0xDBFF && i + 1 < text.size() && text[i + 1] >= 0xDC00 &&
            text[i + 1] <= 0xDFFF) {
            code = 0x10000 + ((code - 0xD800) << 10) + (text[i + 1] - 0xDC00);
            ++i;
        } else if (code >= 0xD800 && code <= 0xDFFF) {
            code = 0xFFFD;
        }
        if (code < 0x80) {
            out.push_back(static_cast<char>(code));
        } else if (code < 0x800) {
            out.push_back(static_cast<char>(0xC0 | (code >> 6)));
            out.push_back(static_cast<char>(0x80 | (code & 0x3F)));
        } else if (code < 0x10000) {
            out.push_back(static_cast<char>(0xE0 | (code >> 12)));
            out.push_back(static_cast<char>(0x80 | ((code >> 6) & 0x3F)));
            out.push_back(static_cast<char>(0x80 | (code & 0x3F)));
        } else {
            out.push_back(static_cast<char>(0xF0 | (code >> 18)));
            out.push_back(static_cast<char>(0x80 | ((code >> 12) & 0x3F)));
            out.push_back(static_cast<char>(0x80 | ((code >> 6) & 0x3F)));
            out.push_back(static_cast<char>(0x80 | (code & 0x3F)));
        }
    }
    return out;
}

} // namespace kvengine
