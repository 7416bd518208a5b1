#include "ContentTestSupport.h"

#include <unistd.h>

#include <cctype>

#include "engine/base/CCAutoreleasePoolStack.h"
#include "engine/files/CCFileUtils.h"
#include "engine/files/CCPlistReader.h"
#include "engine/files/CCResourceIndex.h"

namespace kvcontenttest {

namespace {
// The resource root is fixed on first use: make it the built resource folder before any
// test runs, as the program's start-up does for its own folder.
struct ResourceRootSetter {
    ResourceRootSetter() {
        if (chdir(KELVOS_RESOURCES_DIR) != 0) {
            // The checks then fail one by one with the missing files named.
        }
    }
} g_rootSetter;
} // namespace

PoolScope::PoolScope() {
    kvengine::CCAutoreleasePoolStack::getInstance().push();
}
PoolScope::~PoolScope() {
    kvengine::CCAutoreleasePoolStack::getInstance().pop();
}

std::string resourcePath(const std::string& fileName) {
    kvengine::CCResourceIndex* index = kvengine::CCResourceIndex::getInstance();
    return index->containsFileName(fileName) ? index->pathForFileName(fileName) : std::string();
}

Dict* loadPlist(const std::string& fileName) {
    const std::string path = resourcePath(fileName);
    if (path.empty()) return nullptr;
    bool wellFormed = false;
    Dict* dict = kvengine::dictionaryWithContentsOfFile(path.c_str(), &wellFormed);
    return wellFormed ? dict : nullptr;
}

Dict* dictAt(Dict* dict, const std::string& key) {
    kvengine::CCObject* value = dict ? dict->objectForKey(key) : nullptr;
    return value && value->isKindOf("CCMutableDictionary") ? static_cast<Dict*>(value) : nullptr;
}

Array* arrayAt(Dict* dict, const std::string& key) {
    kvengine::CCObject* value = dict ? dict->objectForKey(key) : nullptr;
    return value && value->isKindOf("CCMutableArray") ? static_cast<Array*>(value) : nullptr;
}

std::string textAt(Dict* dict, const std::string& key) {
    kvengine::CCObject* value = dict ? dict->objectForKey(key) : nullptr;
    return value && value->isKindOf("CCString") ? static_cast<kvengine::CCString*>(value)->c_str() : "";
}

std::vector<std::string> keysOf(Dict* dict) {
    return dict ? dict->allKeys() : std::vector<std::string>();
}

std::vector<std::string> textsOf(Array* array) {
    std::vector<std::string> out;
    for (unsigned i = 0; array && i < array->count(); ++i) {
        kvengine::CCObject* value = array->objectAtIndex(i);
        out.push_back(value && value->isKindOf("CCString") ? static_cast<kvengine::CCString*>(value)->c_str()
                                                           : "");
    }
    return out;
}

bool loadStringsTable(const std::string& path, std::vector<std::pair<std::string, std::u16string>>& entries) {
    kvengine::CCFileBuffer file(path.c_str(), "rb");
    if (!file.data || file.size < 2) return false;
    std::u16string text;
    for (unsigned i = 0; i + 1 < file.size; i += 2) {
        text.push_back(static_cast<char16_t>(static_cast<unsigned char>(file.data[i]) |
                                             (static_cast<unsigned char>(file.data[i + 1]) << 8)));
    }
    if (text.empty() || text[0] != 0xFEFF) return false;
    // "key" = "value"; with the value ending at a quote directly followed by ';'.
    size_t pos = 1;
    for (;;) {
        const size_t keyStart = text.find(u'"', pos);
        if (keyStart == std::u16string::npos) break;
        const size_t keyEnd = text.find(u'"', keyStart + 1);
        const size_t valueStart = keyEnd == std::u16string::npos ? keyEnd : text.find(u'"', keyEnd + 1);
        const size_t valueEnd =
            valueStart == std::u16string::npos ? valueStart : text.find(u"\";", valueStart + 1);
        if (valueEnd == std::u16string::npos) break;
        std::string key;
        for (size_t i = keyStart + 1; i < keyEnd; ++i)
            key.push_back(static_cast<char>(std::tolower(static_cast<unsigned char>(text[i] & 0xFF))));
        entries.emplace_back(key, text.substr(valueStart + 1, valueEnd - valueStart - 1));
        pos = valueEnd + 2;
    }
    return true;
}

} // namespace kvcontenttest
