#include "game/menu/KVLocalizedFormat.h"

#include <vector>

#include "engine/base/CCLocalizationManager.h"
#include "engine/base/CCLog.h"
#include "engine/base/CCString.h"

using kvengine::CCString;
using kvengine::CCWideArg;

namespace {

// The English table, where a faulty translation falls back to.
constexpr const char* kEnglishTable = "English.lproj/localizable.strings";

enum class Conversion { Integer, Text, Unknown };

// The conversions of a format text in order (%% left out), as the wide formatter reads them.
std::vector<Conversion> conversionsOf(const std::u16string& format) {
    std::vector<Conversion> found;
    for (size_t i = 0; i < format.size(); ++i) {
        if (format[i] != u'%') continue;
        size_t at = i + 1;
        if (at < format.size() && format[at] == u'-') ++at;
        while (at < format.size() && format[at] >= u'0' && format[at] <= u'9')
            ++at;
        if (at >= format.size()) {
            found.push_back(Conversion::Unknown); // a lone '%' at the end
            break;
        }
        const char16_t c = format[at];
        i = at;
        if (c == u'%') continue;
        if (c == u'd' || c == u'i' || c == u'u' || c == u'x' || c == u'X' || c == u'c')
            found.push_back(Conversion::Integer);
        else if (c == u's')
            found.push_back(Conversion::Text);
        else
            found.push_back(Conversion::Unknown);
    }
    return found;
}

// A table's text for key, held against the arguments; empty when missing or refused.
bool usableText(CCString* text, const std::string& key, const char* table,
                std::initializer_list<CCWideArg> args, std::u16string& out) {
    if (text == nullptr) return false;
    const std::u16string format = kvengine::utf8ToUtf16(text->c_str());
    if (!kvformat::formatTakes(format, args)) {
        kvengine::logDebugMessage("texts: the %s text of \"%s\" does not take the %zu value(s) given", table,
                                  key.c_str(), args.size());
        return false;
    }
    out = format;
    return true;
}

} // namespace

namespace kvformat {

bool formatTakes(const std::u16string& format, std::initializer_list<CCWideArg> args) {
    const std::vector<Conversion> conversions = conversionsOf(format);
    if (conversions.size() != args.size()) return false;
    size_t index = 0;
    for (const CCWideArg& arg : args) {
        const Conversion wanted = arg.isText() ? Conversion::Text : Conversion::Integer;
        if (conversions[index++] != wanted) return false;
    }
    return true;
}

std::u16string fillFormat(const std::u16string& format, std::initializer_list<CCWideArg> args) {
    // Texts are as long as their arguments make them: measure first, with room for the terminator.
    size_t capacity = format.size() + 1;
    for (const CCWideArg& arg : args) {
        if (arg.isText() && arg.text() != nullptr) capacity += std::char_traits<char16_t>::length(arg.text());
        if (!arg.isText()) capacity += 12;
    }
    // Width fields may pad further; they are bounded by the digits in the format itself.
    capacity += format.size() * 4;
    std::u16string out(capacity, u'\0');
    std::vector<CCWideArg> list(args);
    const int written =
        kvengine::formatWideStringArgs(out.data(), out.size(), format.c_str(), list.data(), list.size());
    out.resize(written > 0 ? static_cast<size_t>(written) : 0);
    return out;
}

CCString* formatLocalized(const std::string& key, std::initializer_list<CCWideArg> args) {
    std::u16string format;
    if (!usableText(kvengine::getLocalizedString(key), key, "localised", args, format)) {
        auto* english = new kvengine::CCLocalizationManager();
        const bool loaded = english->loadStringsFile(kEnglishTable);
        const bool usable = loaded && usableText(english->stringForKey(key), key, "English", args, format);
        english->release();
        if (!usable) {
            kvengine::logDebugMessage("texts: no usable text for \"%s\"", key.c_str());
            return nullptr;
        }
    }
    auto* text = new CCString(fillFormat(format, args).c_str());
    text->autorelease();
    return text;
}

} // namespace kvformat
