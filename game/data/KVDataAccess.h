#pragma once

#include <string>

#include "engine/files/CCPlistValues.h"

/// Typed access to the game's data tables and the player profile: the engine's property-list
/// value helpers under the names the game code uses, and the loading of a data table by name.
namespace kvdata {

using kvengine::plist::Array;
using kvengine::plist::Dict;

using kvengine::plist::arrayAt;
using kvengine::plist::asArray;
using kvengine::plist::asDict;
using kvengine::plist::asString;
using kvengine::plist::boolAt;
using kvengine::plist::countOf;
using kvengine::plist::deepCopy;
using kvengine::plist::dictAt;
using kvengine::plist::floatAt;
using kvengine::plist::hasKey;
using kvengine::plist::intAt;
using kvengine::plist::keysOf;
using kvengine::plist::newArray;
using kvengine::plist::newDict;
using kvengine::plist::newString;
using kvengine::plist::setFloat;
using kvengine::plist::setInt;
using kvengine::plist::setText;
using kvengine::plist::stringAt;
using kvengine::plist::textAt;
using kvengine::plist::textOf;

/// Reads the property list `name`.plist found through the resource index; null (and a log line
/// naming the file) when it is missing or does not parse. The result is autoreleased.
Dict* loadDataTable(const std::string& name);

} // namespace kvdata
