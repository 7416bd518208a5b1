#pragma once

#include <string>
#include <vector>

#include "engine/base/CCMutableArray.h"
#include "engine/base/CCMutableDictionary.h"
#include "engine/base/CCString.h"

/// Typed access to the string-keyed trees the property-list reader makes.
///
/// Every leaf of such a tree is a CCString; nested containers are CCMutableDictionary<std::string,
/// CCObject*> and CCMutableArray<CCObject*>. These helpers check the kind of each value before they
/// convert it, so a hand-edited or broken file yields "absent" instead of a bad cast. None of them
/// retains what it returns.
namespace kvengine::plist {

using Dict = CCMutableDictionary<std::string, CCObject*>;
using Array = CCMutableArray<CCObject*>;

/// `object` as a dictionary, or null when it is null or not a dictionary.
Dict* asDict(CCObject* object);
/// `object` as an array, or null when it is null or not an array.
Array* asArray(CCObject* object);
/// `object` as a string, or null when it is null or not a string.
CCString* asString(CCObject* object);

/// dict[key] of the given kind; null when `dict` is null, the key is absent or of another kind.
Dict* dictAt(Dict* dict, const std::string& key);
Array* arrayAt(Dict* dict, const std::string& key);
CCString* stringAt(Dict* dict, const std::string& key);
bool hasKey(Dict* dict, const std::string& key);

/// The text of a string value; `fallback` when absent.
std::string textAt(Dict* dict, const std::string& key, const std::string& fallback = "");
/// atoi / atof / YES-or-non-zero of a string value; `fallback` when absent.
int intAt(Dict* dict, const std::string& key, int fallback = 0);
float floatAt(Dict* dict, const std::string& key, float fallback = 0.0f);
bool boolAt(Dict* dict, const std::string& key, bool fallback = false);

/// The text of array element `index` ("" when out of range or not a string).
std::string textOf(Array* array, unsigned index);
std::string textOf(CCObject* object);

/// Stores a new string "%d" / "%f" / the text under key (no-op on a null dictionary).
void setInt(Dict* dict, const std::string& key, int value);
void setFloat(Dict* dict, const std::string& key, float value);
void setText(Dict* dict, const std::string& key, const std::string& text);

/// The keys in ascending order (a snapshot: safe to change the dictionary while walking it).
std::vector<std::string> keysOf(Dict* dict);
unsigned countOf(Dict* dict);

/// A copy of a property-list tree (dictionaries and arrays copied all the way down, strings
/// shared, since no operation changes a string in place), autoreleased; null for null.
CCObject* deepCopy(CCObject* tree);

/// A new empty dictionary / array, autoreleased.
Dict* newDict();
Array* newArray();
/// A new string with the text, autoreleased.
CCString* newString(const std::string& text);

} // namespace kvengine::plist
