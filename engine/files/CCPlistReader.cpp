#include "engine/files/CCPlistReader.h"

#include "engine/base/CCLog.h"
#include "engine/base/CCString.h"
#include "engine/files/CCFileUtils.h"

#include <cstring>

namespace kvengine {

CCPlistMaker::CCPlistMaker(bool rootIsArray) : m_rootIsArray(rootIsArray) {}

CCPlistMaker::~CCPlistMaker() {
    for (Dictionary* dictionary : m_dictionaryStack)
        dictionary->release();
    for (Array* array : m_arrayStack)
        array->release();
    setCurrentDictionary(nullptr);
    setCurrentArray(nullptr);
    if (m_root) m_root->release();
}

void CCPlistMaker::setCurrentDictionary(Dictionary* dictionary) {
    m_currentDictionary = dictionary;
}

void CCPlistMaker::setCurrentArray(Array* array) {
    m_currentArray = array;
}

bool CCPlistMaker::isFirstTopLevelContainer() {
    if (!m_stateStack.empty() || m_topLevelSeen) return false;
    m_topLevelSeen = true;
    return true;
}

CCPlistMaker::Dictionary* CCPlistMaker::enclosingDictionary() const {
    return m_dictionaryStack.empty() ? m_currentDictionary : m_dictionaryStack.back();
}

void CCPlistMaker::addToEnclosing(int kind, CCObject* item) {
    if (kind == kArray) {
        if (!m_arrayStack.empty()) m_arrayStack.back()->addObject(item);
    } else if (kind == kDict) {
        if (Dictionary* dictionary = enclosingDictionary()) dictionary->setObject(item, m_currentKey);
    }
}

namespace {

enum class Element { Other, Dict, Array, Key, Integer, Real, String, True, False };

// Whether `rest` (the name after its first letter) is exactly `expected`. Written out by hand:
// this runs twice per element, and a library string comparison costs more than the names are long.
// It stops at the first difference, so it never reads past the end of a shorter name.
inline bool restIs(const char* rest, const char* expected) {
    while (*expected != '\0') {
        if (*rest != *expected) return false;
        ++rest;
        ++expected;
    }
    return *rest == '\0';
}

// The first letter picks the only candidate name.
Element classify(const char* name) {
    switch (name[0]) {
    case 'd':
        return restIs(name + 1, "ict") ? Element::Dict : Element::Other;
    case 'a':
        return restIs(name + 1, "rray") ? Element::Array : Element::Other;
    case 'k':
        return restIs(name + 1, "ey") ? Element::Key : Element::Other;
    case 'i':
        return restIs(name + 1, "nteger") ? Element::Integer : Element::Other;
    case 'r':
        return restIs(name + 1, "eal") ? Element::Real : Element::Other;
    case 's':
        return restIs(name + 1, "tring") ? Element::String : Element::Other;
    case 't':
        return restIs(name + 1, "rue") ? Element::True : Element::Other;
    case 'f':
        return restIs(name + 1, "alse") ? Element::False : Element::Other;
    default:
        return Element::Other;
    }
}

} // namespace

void CCPlistMaker::startElement(void*, const char* name, const char**) {
    m_text.clear();
    switch (classify(name)) {
    case Element::Dict: {
        auto* dictionary = new Dictionary();
        if (!m_stateStack.empty()) addToEnclosing(m_stateStack.back(), dictionary);
        setCurrentDictionary(dictionary);
        if (isFirstTopLevelContainer() && !m_rootIsArray) {
            dictionary->retain();
            m_root = dictionary;
        }
        m_state = kDict;
        m_stateStack.push_back(kDict);
        m_dictionaryStack.push_back(dictionary); // the stack keeps the creation reference
        break;
    }
    case Element::Array: {
        auto* array = new Array();
        addToEnclosing(m_stateStack.empty() ? kDict : m_stateStack.back(), array);
        setCurrentArray(array);
        if (isFirstTopLevelContainer() && m_rootIsArray) {
            array->retain();
            m_root = array;
        }
        m_state = kArray;
        m_stateStack.push_back(kArray);
        m_arrayStack.push_back(array);
        break;
    }
    case Element::Key:
        m_state = kKey;
        break;
    case Element::Integer:
        m_state = kInteger;
        break;
    case Element::Real:
        m_state = kReal;
        break;
    case Element::String:
        m_state = kString;
        break;
    default:
        m_state = kNone;
        break;
    }
}

void CCPlistMaker::endElement(void*, const char* name) {
    const int enclosing = m_stateStack.empty() ? kDict : m_stateStack.back();
    const Element element = classify(name);
    switch (element) {
    case Element::Dict:
        if (enclosing == kDict && !m_dictionaryStack.empty()) {
            m_stateStack.pop_back();
            m_dictionaryStack.back()->release();
            m_dictionaryStack.pop_back();
            if (!m_dictionaryStack.empty()) setCurrentDictionary(m_dictionaryStack.back());
        }
        break;
    case Element::Array:
        if (enclosing == kArray && !m_arrayStack.empty()) {
            m_stateStack.pop_back();
            m_arrayStack.back()->release();
            m_arrayStack.pop_back();
            if (!m_arrayStack.empty()) setCurrentArray(m_arrayStack.back());
        }
        break;
    case Element::True:
    case Element::False: {
        auto* value = new CCString(element == Element::True ? "1" : "0");
        addToEnclosing(enclosing, value);
        value->release();
        break;
    }
    case Element::Key:
        // A copy, not a swap: both texts keep their buffers, and short keys never allocate. An
        // empty key is a key like any other: the writer writes "" keys, and they must come back.
        if (m_state == kKey) m_currentKey.assign(m_text);
        break;
    case Element::Integer:
    case Element::Real:
    case Element::String: {
        // The whole text of the element, however many pieces it came in.
        const int state = element == Element::Integer ? kInteger : element == Element::Real ? kReal : kString;
        // An empty string element is the empty text the writer wrote; an empty number is nothing.
        if (m_state == state && (state == kString || !m_text.empty())) {
            // Copied rather than swapped: short texts stay in the string's own buffer, and m_text
            // keeps its capacity for the next element.
            auto* value = new CCString(m_text);
            addToEnclosing(enclosing, value);
            value->release();
        }
        break;
    }
    default:
        break;
    }
    m_text.clear();
    m_state = kNone;
}

void CCPlistMaker::textHandler(void*, const char* text, int length) {
    if (length <= 0) return;
    if (m_state == kKey || m_state == kInteger || m_state == kReal || m_state == kString) {
        m_text.append(text, static_cast<size_t>(length));
    }
}

CCMutableDictionary<std::string, CCObject*>* CCDictMaker::root() const {
    return static_cast<CCMutableDictionary<std::string, CCObject*>*>(m_root);
}

CCMutableArray<CCObject*>* CCArrayMaker::root() const {
    return static_cast<CCMutableArray<CCObject*>*>(m_root);
}

namespace {

template <typename Maker>
auto finish(Maker& maker, bool parsed, bool* wellFormed, const char* name, const char* kind)
    -> decltype(maker.root()) {
    if (wellFormed) *wellFormed = parsed;
    auto* root = maker.root();
    if (!root) {
        // A broken document has been reported by the XML reader already.
        if (parsed) logDebugMessage("engine: property list %s holds no %s at its top level", name, kind);
        return nullptr;
    }
    root->retain(); // the maker drops its own reference when it dies
    root->autorelease();
    return root;
}

} // namespace

CCMutableDictionary<std::string, CCObject*>* dictionaryWithContentsOfFile(const char* path,
                                                                          bool* wellFormed) {
    CCDictMaker maker;
    bool parsed = parseXMLFile(path, &maker);
    return finish(maker, parsed, wellFormed, path, "dictionary");
}

CCMutableArray<CCObject*>* arrayWithContentsOfFile(const char* path, bool* wellFormed) {
    CCArrayMaker maker;
    bool parsed = parseXMLFile(path, &maker);
    return finish(maker, parsed, wellFormed, path, "array");
}

CCMutableDictionary<std::string, CCObject*>* dictionaryWithContentsOfData(const char* data, unsigned size,
                                                                          bool* wellFormed) {
    CCDictMaker maker;
    bool parsed = parseXMLData(data, size, &maker, "property list");
    return finish(maker, parsed, wellFormed, "(in memory)", "dictionary");
}

CCMutableArray<CCObject*>* arrayWithContentsOfData(const char* data, unsigned size, bool* wellFormed) {
    CCArrayMaker maker;
    bool parsed = parseXMLData(data, size, &maker, "property list");
    return finish(maker, parsed, wellFormed, "(in memory)", "array");
}

} // namespace kvengine
