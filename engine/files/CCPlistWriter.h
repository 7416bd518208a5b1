#pragma once

// Property lists written from the engine's containers: plain text, one tag per line, keys in
// ascending byte order. Dictionaries, arrays and CCString values are written; other objects (and
// their keys) are left out. Text is escaped, so any CCString survives a save and a reload.

#include "engine/base/CCMutableArray.h"
#include "engine/base/CCMutableDictionary.h"

#include <cstdio>
#include <string>

namespace kvengine {

class CCObject;

/// Writes the dictionary as property-list text ("<dict>" ... "</dict>").
void writePlistDictionary(FILE* file, CCMutableDictionary<std::string, CCObject*>* dictionary);
/// Writes the array as property-list text ("<array>" ... "</array>").
void writePlistArray(FILE* file, CCMutableArray<CCObject*>* array);

/// The text writePlistDictionary writes, appended to out.
void appendPlistDictionary(std::string& out, CCMutableDictionary<std::string, CCObject*>* dictionary);

/// A complete property-list document holding the dictionary.
std::string plistDocumentForDictionary(CCMutableDictionary<std::string, CCObject*>* dictionary);

/// Saves the dictionary as a property-list document at path, scrambled when path names a
/// scrambled data-file type (".plist" does). The old file is replaced only once the new one is
/// completely on disk. False (with a log line) for a null dictionary or any failure, and the old
/// file is then left unchanged.
[[nodiscard]] bool saveDictionaryToPlistFile(CCMutableDictionary<std::string, CCObject*>* dictionary,
                                             const char* path);

} // namespace kvengine
