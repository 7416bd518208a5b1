#pragma once

// A canonical one-line text of a property-list tree, so that whole trees compare in one check:
// {key:value,...} for dictionaries, [a,b] for arrays, "text" for strings.

#include "engine/base/CCMutableArray.h"
#include "engine/base/CCMutableDictionary.h"
#include "engine/base/CCString.h"

#include <string>

namespace kvtest {

inline std::string dumpPlist(kvengine::CCObject* object) {
    using namespace kvengine;
    if (!object) return "null";
    if (auto* dictionary = dynamic_cast<CCMutableDictionary<std::string, CCObject*>*>(object)) {
        std::string out = "{";
        for (const std::string& key : dictionary->allKeys()) {
            if (out.size() > 1) out += ",";
            out += key + ":" + dumpPlist(dictionary->objectForKey(key));
        }
        return out + "}";
    }
    if (auto* array = dynamic_cast<CCMutableArray<CCObject*>*>(object)) {
        std::string out = "[";
        for (unsigned i = 0; i < array->count(); ++i)
            out += (i ? "," : "") + dumpPlist(array->objectAtIndex(i));
        return out + "]";
    }
    if (auto* text = dynamic_cast<CCString*>(object)) return "\"" + text->text + "\"";
    return std::string("<") + object->className() + ">";
}

} // namespace kvtest
