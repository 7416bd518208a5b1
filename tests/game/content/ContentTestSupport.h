#pragma once
// Shared helpers of the content checks: the built resource folder becomes the resource
// root of the test process, and property lists are read through the engine's readers.
#include <string>
#include <vector>

#include "engine/base/CCMutableArray.h"
#include "engine/base/CCMutableDictionary.h"
#include "engine/base/CCString.h"

namespace kvcontenttest {

using Dict = kvengine::CCMutableDictionary<std::string, kvengine::CCObject*>;
using Array = kvengine::CCMutableArray<kvengine::CCObject*>;

/// Pushes an autorelease pool for the scope.
class PoolScope {
public:
    PoolScope();
    ~PoolScope();
};

/// Full path of a bare resource name through the resource index ("" when not indexed).
std::string resourcePath(const std::string& fileName);
/// The property list of a bare resource name, read and unscrambled by the engine; null
/// when missing or not well-formed. Autoreleased.
Dict* loadPlist(const std::string& fileName);
Dict* dictAt(Dict* dict, const std::string& key);
Array* arrayAt(Dict* dict, const std::string& key);
/// The text under key, or "" when there is none (or it is not a string).
std::string textAt(Dict* dict, const std::string& key);
std::vector<std::string> keysOf(Dict* dict);
std::vector<std::string> textsOf(Array* array);

/// The entries of a built ".strings" table (keys lower-cased), read through the engine's
/// file layer; false when the file is missing or has no byte-order mark.
bool loadStringsTable(const std::string& path, std::vector<std::pair<std::string, std::u16string>>& entries);

} // namespace kvcontenttest
