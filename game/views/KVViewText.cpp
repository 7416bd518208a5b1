#include "game/views/KVViewText.h"

#include <cctype>
#include <cstdio>
#include <cstring>
#include <set>
#include <vector>

#include "engine/base/CCLocalizationManager.h"
#include "engine/base/CCLog.h"
#include "engine/base/CCString.h"

namespace kvviewtext {

namespace {

std::string& englishPath() {
    static std::string path = "English.lproj/localizable.strings";
    return path;
}

// The English table, read once on first need; it lives for the rest of the run.
kvengine::CCLocalizationManager* englishTable() {
    static kvengine::CCLocalizationManager* table = nullptr;
    static std::string loadedFrom;
    if (table == nullptr || loadedFrom != englishPath()) {
        if (table != nullptr) table->release();
        table = new kvengine::CCLocalizationManager();
        loadedFrom = englishPath();
        (void)table->loadStringsFile(loadedFrom);
    }
    return table;
}

void logOnce(const std::string& what) {
    static std::set<std::string> said;
    if (said.insert(what).second) kvengine::logDebugMessage("%s", what.c_str());
}

// Fills the integer conversions of a checked format one by one.
std::string fill(const std::string& format, const std::vector<int>& values) {
    std::string out;
    size_t next = 0;
    for (size_t i = 0; i < format.size(); ++i) {
        if (format[i] != '%') {
            out += format[i];
            continue;
        }
        if (i + 1 < format.size() && format[i + 1] == '%') {
            out += '%';
            ++i;
            continue;
        }
        size_t end = i + 1;
        while (end < format.size() && format[end] != 'd' && format[end] != 'i')
            ++end;
        const std::string spec = format.substr(i, end - i + 1);
        char buffer[64];
        std::snprintf(buffer, sizeof buffer, spec.c_str(), values[next++]);
        out += buffer;
        i = end;
    }
    return out;
}

} // namespace

int countIntegerConversions(const std::string& format) {
    int count = 0;
    for (size_t i = 0; i < format.size(); ++i) {
        if (format[i] != '%') continue;
        ++i;
        if (i < format.size() && format[i] == '%') continue;
        while (i < format.size() && format[i] != '\0' && std::strchr("-+ 0#", format[i]) != nullptr)
            ++i;
        int digits = 0;
        while (i < format.size() && std::isdigit(static_cast<unsigned char>(format[i])) != 0 && digits < 3) {
            ++i;
            ++digits;
        }
        if (i >= format.size() || (format[i] != 'd' && format[i] != 'i')) return -1;
        ++count;
    }
    return count;
}

std::string formatLocalised(const char* key, std::initializer_list<int> values) {
    const std::vector<int> numbers(values);
    const int wanted = static_cast<int>(numbers.size());
    if (kvengine::CCString* text = kvengine::getLocalizedString(key)) {
        if (countIntegerConversions(text->text) == wanted) return fill(text->text, numbers);
        logOnce(std::string("text \"") + key + "\" does not take " + std::to_string(wanted) +
                " whole numbers; the English text is used");
    } else {
        logOnce(std::string("no text \"") + key + "\"; the English text is used");
    }
    if (kvengine::CCString* english = englishTable()->stringForKey(key)) {
        if (countIntegerConversions(english->text) == wanted) return fill(english->text, numbers);
    }
    logOnce(std::string("no usable English text \"") + key + "\"; the key is shown");
    return key;
}

void setEnglishTablePath(const std::string& path) {
    englishPath() = path;
}

} // namespace kvviewtext
