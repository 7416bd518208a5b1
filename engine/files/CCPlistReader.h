#pragma once

// Property lists read into the engine's containers: dictionaries, arrays and CCString leaves.
// Every scalar keeps its text ("12", "2.5", true as "1", false as "0"); readers convert it where
// they use it. date and data elements are skipped.

#include "engine/base/CCMutableArray.h"
#include "engine/base/CCMutableDictionary.h"

#include <string>

namespace kvengine {

class CCObject;

/// How a document becomes containers: the text of a key or scalar is collected whole, even when
/// the XML library hands it over in pieces. Empty key and string elements are the empty text; an
/// empty integer or real adds nothing. The root is the document's first top-level container, and
/// only when it is of the kind asked for: a dictionary nested in an array document is not taken for
/// a dictionary document (nor the other way round).
///
/// The strings, dictionaries and arrays of one load share a few large blocks; a block goes back to
/// the system when the last object in it dies.

/// Reads a property list whose root is a dictionary. Returns it autoreleased, or null (logged) when
/// the file cannot be read or its top-level element is not a dictionary. A document broken half-way returns
/// what was built before the error; wellFormed (optional) tells whether the whole document parsed.
CCMutableDictionary<std::string, CCObject*>* dictionaryWithContentsOfFile(const char* path,
                                                                          bool* wellFormed = nullptr);

/// The same for a property-list array (the rules tables).
CCMutableArray<CCObject*>* arrayWithContentsOfFile(const char* path, bool* wellFormed = nullptr);

/// dictionaryWithContentsOfFile for a document already in memory (plain text).
CCMutableDictionary<std::string, CCObject*>* dictionaryWithContentsOfData(const char* data, unsigned size,
                                                                          bool* wellFormed = nullptr);

/// arrayWithContentsOfFile for a document already in memory (plain text).
CCMutableArray<CCObject*>* arrayWithContentsOfData(const char* data, unsigned size,
                                                   bool* wellFormed = nullptr);

} // namespace kvengine
