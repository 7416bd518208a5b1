#include "engine/base/CCLocalizationManager.h"

#include "engine/base/CCLog.h"
#include "engine/base/CCString.h"
#include "engine/files/CCFileUtils.h"

#include <cctype>

namespace kvengine {

namespace {

std::string lowerCased(std::string text) {
    for (char& c : text)
        c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return text;
}

// A cursor over UTF-16LE units that never reads past the end of the data.
class UnitReader {
public:
    UnitReader(const unsigned char* data, unsigned size, unsigned& position)
        : m_data(data), m_size(size), m_position(position) {}
    bool atEnd() const { return m_position > m_size || m_size - m_position < 2; }
    bool next(char16_t& unit) {
        if (atEnd()) return false;
        unit = static_cast<char16_t>(m_data[m_position] | (m_data[m_position + 1] << 8));
        m_position += 2;
        return true;
    }
    bool peek(char16_t& unit) const {
        if (atEnd()) return false;
        unit = static_cast<char16_t>(m_data[m_position] | (m_data[m_position + 1] << 8));
        return true;
    }
    // After a '/': skips a comment when one starts here. False when the data ends inside it.
    bool skipComment() {
        char16_t unit;
        if (!peek(unit)) return true;
        if (unit == u'/') {
            next(unit);
            while (next(unit)) {
                if (unit == u'\n' || unit == u'\r') return true;
            }
            return false;
        }
        if (unit == u'*') {
            next(unit);
            char16_t previous = 0;
            while (next(unit)) {
                if (previous == u'*' && unit == u'/') return true;
                previous = unit;
            }
            return false;
        }
        return true; // a lone slash is skipped like any other character
    }

private:
    const unsigned char* m_data;
    unsigned m_size;
    unsigned& m_position;
};

} // namespace

CCLocalizationManager::CCLocalizationManager() : m_table(new CCMutableDictionary<std::string, CCString*>()) {}

CCLocalizationManager::~CCLocalizationManager() {
    m_table->release();
}

bool CCLocalizationManager::loadStringsFile(const std::string& path) {
    m_path = path;
    if (path.empty()) {
        logDebugMessage("engine: no localisation file given");
        return false;
    }
    return parseStringsFile(path.c_str());
}

bool CCLocalizationManager::parseStringsFile(const char* path) {
    unsigned size = 0;
    char* data = readFileData(&size, path, "rb");
    if (!data) return false;
    const auto* bytes = reinterpret_cast<unsigned char*>(data);
    unsigned entries = 0;
    bool ok = parseStringsData(bytes, size, &entries);
    // Such a table still loads (the texts then show their keys), but not without a word: a
    // damaged or unscrambled file would otherwise only show as untranslated screens.
    if (size == 0) {
        logDebugMessage("engine: localisation table %s is empty", path);
    } else if (size < 2 || bytes[0] != 0xFF || bytes[1] != 0xFE) {
        logDebugMessage("engine: localisation table %s is not UTF-16 text with a byte-order mark (damaged?); "
                        "%u entries read",
                        path, entries);
    } else if (entries == 0) {
        logDebugMessage("engine: localisation table %s holds no entries", path);
    }
    if (size % 2 != 0) logDebugMessage("engine: localisation table %s ends in half a character", path);
    delete[] data;
    return ok;
}

bool CCLocalizationManager::parseStringsData(const unsigned char* data, unsigned size, unsigned* entryCount) {
    if (entryCount) *entryCount = 0;
    if (!data) return false;
    unsigned position = 0;
    std::string key;
    while (CCString* value = parseNextStringsEntry(data, size, position, key)) {
        m_table->setObject(value, lowerCased(key));
        if (entryCount) ++*entryCount;
    }
    return true;
}

CCString* CCLocalizationManager::parseNextStringsEntry(const unsigned char* data, unsigned size,
                                                       unsigned& position, std::string& key) {
    UnitReader reader(data, size, position);
    char16_t unit;
    key.clear();
    bool haveKey = false;
    while (!haveKey) {
        if (!reader.next(unit)) return nullptr;
        if (unit == u'/') {
            if (!reader.skipComment()) return nullptr;
        } else if (unit == u'"') {
            for (;;) {
                if (!reader.next(unit)) {
                    logDebugMessage("engine: localisation table ends inside a key");
                    return nullptr;
                }
                if (unit == u'"') break;
                key += static_cast<char>(unit & 0xFF);
            }
            haveKey = true;
        }
    }
    for (;;) {
        if (!reader.next(unit)) {
            logDebugMessage("engine: localisation key \"%s\" has no value", key.c_str());
            return nullptr;
        }
        if (unit == u'/') {
            if (!reader.skipComment()) return nullptr;
        } else if (unit == u'"') {
            break;
        }
    }
    std::u16string value;
    bool cut = false;
    for (;;) {
        if (!reader.next(unit)) {
            logDebugMessage("engine: localisation value of \"%s\" is not closed", key.c_str());
            return nullptr;
        }
        char16_t following;
        if (unit == u'"' && reader.peek(following) && following == u';') {
            reader.next(following);
            break;
        }
        if (value.size() < kMaxValueUnits)
            value += unit;
        else
            cut = true;
    }
    if (cut)
        logDebugMessage("engine: localisation value of \"%s\" cut to %u units", key.c_str(), kMaxValueUnits);
    auto* text = new CCString(value.c_str());
    text->autorelease();
    return text;
}

CCString* CCLocalizationManager::stringForKey(const std::string& key, const char*) const {
    return m_table->objectForKey(lowerCased(key));
}

CCString* localizeString(CCString* text) {
    if (!text) return nullptr;
    CCString* found = CCLocalizationManager::getInstance()->stringForKey(text->text);
    return found ? found : text;
}

CCString* getLocalizedString(const std::string& key) {
    return CCLocalizationManager::getInstance()->stringForKey(key);
}

} // namespace kvengine
