#include "engine/files/CCPlistValues.h"

namespace kvengine::plist {

// Property-list trees hold only CCMutableDictionary<std::string, CCObject*> and
// CCMutableArray<CCObject*> containers, so the class-name test identifies the instantiation.
Dict* asDict(CCObject* object) {
    return object != nullptr && object->isKindOf("CCMutableDictionary") ? static_cast<Dict*>(object)
                                                                        : nullptr;
}

Array* asArray(CCObject* object) {
    return object != nullptr && object->isKindOf("CCMutableArray") ? static_cast<Array*>(object) : nullptr;
}

CCString* asString(CCObject* object) {
    return object != nullptr && object->isKindOf("CCString") ? static_cast<CCString*>(object) : nullptr;
}

Dict* dictAt(Dict* dict, const std::string& key) {
    return dict != nullptr ? asDict(dict->objectForKey(key)) : nullptr;
}

Array* arrayAt(Dict* dict, const std::string& key) {
    return dict != nullptr ? asArray(dict->objectForKey(key)) : nullptr;
}

CCString* stringAt(Dict* dict, const std::string& key) {
    return dict != nullptr ? asString(dict->objectForKey(key)) : nullptr;
}

bool hasKey(Dict* dict, const std::string& key) {
    return dict != nullptr && dict->objectForKey(key) != nullptr;
}

std::string textAt(Dict* dict, const std::string& key, const std::string& fallback) {
    CCString* value = stringAt(dict, key);
    return value != nullptr ? value->text : fallback;
}

int intAt(Dict* dict, const std::string& key, int fallback) {
    CCString* value = stringAt(dict, key);
    return value != nullptr ? value->toInt() : fallback;
}

float floatAt(Dict* dict, const std::string& key, float fallback) {
    CCString* value = stringAt(dict, key);
    return value != nullptr ? value->toFloat() : fallback;
}

bool boolAt(Dict* dict, const std::string& key, bool fallback) {
    CCString* value = stringAt(dict, key);
    return value != nullptr ? value->toBool() : fallback;
}

std::string textOf(Array* array, unsigned index) {
    return array != nullptr ? textOf(array->objectAtIndex(index)) : std::string();
}

std::string textOf(CCObject* object) {
    CCString* text = asString(object);
    return text != nullptr ? text->text : std::string();
}

void setInt(Dict* dict, const std::string& key, int value) {
    if (dict != nullptr) dict->setIntForKey(key, value);
}

void setFloat(Dict* dict, const std::string& key, float value) {
    if (dict != nullptr) dict->setFloatForKey(key, value);
}

void setText(Dict* dict, const std::string& key, const std::string& text) {
    if (dict != nullptr) dict->setStringForKey(key, text.c_str());
}

std::vector<std::string> keysOf(Dict* dict) {
    return dict != nullptr ? dict->allKeys() : std::vector<std::string>();
}

unsigned countOf(Dict* dict) {
    return dict != nullptr ? dict->count() : 0;
}

CCObject* deepCopy(CCObject* tree) {
    if (Dict* dict = asDict(tree)) {
        Dict* copy = newDict();
        for (const std::string& key : dict->allKeys()) {
            if (CCObject* value = deepCopy(dict->objectForKey(key))) copy->setObject(value, key);
        }
        return copy;
    }
    if (Array* array = asArray(tree)) {
        Array* copy = newArray();
        for (unsigned i = 0; i < array->count(); ++i)
            copy->addObject(deepCopy(array->objectAtIndex(i)));
        return copy;
    }
    return tree;
}

Dict* newDict() {
    Dict* dict = new Dict();
    dict->autorelease();
    return dict;
}

Array* newArray() {
    Array* array = new Array();
    array->autorelease();
    return array;
}

CCString* newString(const std::string& text) {
    CCString* string = new CCString(text);
    string->autorelease();
    return string;
}

} // namespace kvengine::plist
