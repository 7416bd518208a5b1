#include "tools/content/StringsTable.h"

#include <cctype>
#include <set>

namespace kvcontent {

const std::vector<Language>& languages() {
    static const std::vector<Language> list = {
        {"English", "English"}, {"French", "fr"}, {"Spanish", "es"}, {"German", "de"}, {"Italian", "it"}};
    return list;
}

bool utf8ToUtf16(const std::string& text, std::u16string& out) {
    out.clear();
    for (size_t i = 0; i < text.size();) {
        const unsigned char c = static_cast<unsigned char>(text[i]);
        uint32_t code = 0;
        int extra = 0;
        if (c < 0x80) {
            code = c;
        } else if ((c & 0xE0) == 0xC0) {
            code = c & 0x1F;
            extra = 1;
        } else if ((c & 0xF0) == 0xE0) {
            code = c & 0x0F;
            extra = 2;
        } else if ((c & 0xF8) == 0xF0) {
            code = c & 0x07;
            extra = 3;
        } else
            return false;
        if (extra > 0 && i + static_cast<size_t>(extra) >= text.size()) return false;
        for (int k = 1; k <= extra; ++k) {
            const unsigned char next = static_cast<unsigned char>(text[i + static_cast<size_t>(k)]);
            if ((next & 0xC0) != 0x80) return false;
            code = (code << 6) | (next & 0x3F);
        }
        i += static_cast<size_t>(extra) + 1;
        if (code >= 0x10000) {
            code -= 0x10000;
            out.push_back(static_cast<char16_t>(0xD800 + (code >> 10)));
            out.push_back(static_cast<char16_t>(0xDC00 + (code & 0x3FF)));
        } else {
            out.push_back(static_cast<char16_t>(code));
        }
    }
    return true;
}

namespace {
std::string trim(const std::string& s) {
    size_t a = 0, b = s.size();
    while (a < b && std::isspace(static_cast<unsigned char>(s[a])))
        ++a;
    while (b > a && std::isspace(static_cast<unsigned char>(s[b - 1])))
        --b;
    return s.substr(a, b - a);
}

std::string lower(std::string s) {
    for (char& c : s)
        c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return s;
}

std::string unescape(const std::string& s) {
    std::string out;
    for (size_t i = 0; i < s.size(); ++i) {
        if (s[i] == '\\' && i + 1 < s.size() && s[i + 1] == 'n') {
            out += '\n';
            ++i;
        } else {
            out += s[i];
        }
    }
    return out;
}
} // namespace

bool StringsTable::parse(const std::string& source, const std::string& name) {
    entries.clear();
    std::set<std::string> seen;
    bool ok = true;
    size_t lineNumber = 0;
    size_t start = 0;
    while (start <= source.size()) {
        size_t end = source.find('\n', start);
        if (end == std::string::npos) end = source.size();
        const std::string line = trim(source.substr(start, end - start));
        start = end + 1;
        ++lineNumber;
        if (line.empty() || line[0] == '#') {
            if (end == source.size()) break;
            continue;
        }
        const std::string where = name + ":" + std::to_string(lineNumber) + ": ";
        const size_t eq = line.find('=');
        if (eq == std::string::npos) {
            logLine(where + "no '=' in the entry");
            ok = false;
            continue;
        }
        const std::string key = trim(line.substr(0, eq));
        const std::string value = unescape(trim(line.substr(eq + 1)));
        std::u16string wide;
        if (key.empty() || key.find('"') != std::string::npos) {
            logLine(where + "empty key or a key with a quote");
            ok = false;
        } else if (!seen.insert(lower(key)).second) {
            logLine(where + "key given twice: " + key);
            ok = false;
        } else if (value.find("\";") != std::string::npos) {
            logLine(where + "a text may not hold a quote followed by ';'");
            ok = false;
        } else if (!utf8ToUtf16(value, wide) || !utf8ToUtf16(key, wide)) {
            logLine(where + "not UTF-8");
            ok = false;
        } else if (wide.size() > 2047) {
            logLine(where + "text longer than 2047 UTF-16 units");
            ok = false;
        } else {
            entries.emplace_back(key, value);
        }
        if (end == source.size()) break;
    }
    return ok;
}

Bytes StringsTable::encode() const {
    std::u16string text = u"\uFEFF";
    for (const auto& entry : entries) {
        std::u16string key, value;
        utf8ToUtf16(entry.first, key);
        utf8ToUtf16(entry.second, value);
        text += u"\"" + key + u"\" = \"" + value + u"\";\n";
    }
    Bytes out;
    out.reserve(text.size() * 2);
    for (char16_t unit : text) {
        out.push_back(static_cast<uint8_t>(unit & 0xFF));
        out.push_back(static_cast<uint8_t>(unit >> 8));
    }
    return out;
}

const std::string* StringsTable::find(const std::string& key) const {
    const std::string wanted = lower(key);
    const std::string* found = nullptr;
    for (const auto& entry : entries) {
        if (lower(entry.first) == wanted) found = &entry.second;
    }
    return found;
}

std::vector<std::string> placeholders(const std::string& text) {
    std::vector<std::string> out;
    for (size_t i = 0; i < text.size(); ++i) {
        if (text[i] != '%') continue;
        if (i + 1 < text.size() && text[i + 1] == '%') {
            ++i;
            continue;
        }
        size_t j = i + 1;
        while (j < text.size() && (std::isdigit(static_cast<unsigned char>(text[j])) || text[j] == '.' ||
                                   text[j] == '-' || text[j] == 'l')) {
            ++j;
        }
        if (j < text.size() && (std::isalpha(static_cast<unsigned char>(text[j])) || text[j] == '@')) {
            out.push_back(text.substr(i, j - i + 1));
            i = j;
        }
    }
    return out;
}

} // namespace kvcontent
