#include "engine/files/CCPlistReader.h"

#include "engine/base/CCLog.h"
#include "engine/base/CCString.h"
#include "engine/files/CCFileUtils.h"

#include <cstring>

namespace kvengine {

CCPlistMaker::CCPlistMaker(bool rootIsArray) : m_rootIsArray(rootIsArray) {}

CCPlistMaker::~CCPlistMaker() {
    for (Dictionary* dictionary : m_dictionaryStack) dictionary->release();
    for (Array* array : m_arrayStack) array->release();
    setCurrentDictionary(nullptr);
    setCurrentArray(nullptr);
    if (m_root) m_root->release();
}

void CCPlistMaker::setCurrentDictionary(Dictionary* dictionary) {
    if (dictionary) dictionary->retain();
    if (m_currentDictionary) m_currentDictionary->release();
    m_currentDictionary = dictionary;
}

void CCPlistMaker::setCurrentArray(Array* array) {
    if (array) array->retain();
    if (m_currentArray) m_currentArray->release();
    m_currentArray = array;
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

void CCPlistMaker::startElement(void*, const char* name, const char**) {
    m_text.clear();
    if (strcmp(name, "dict") == 0) {
        auto* dictionary = new Dictionary();
        if (!m_stateStack.empty()) addToEnclosing(m_stateStack.back(), dictionary);
        setCurrentDictionary(dictionary);
        if (!m_rootIsArray && !m_root) {
            dictionary->retain();
            m_root = dictionary;
        }
        m_state = kDict;
        m_stateStack.push_back(kDict);
        m_dictionaryStack.push_back(dictionary); // the stack keeps the creation reference
    } else if (strcmp(name, "array") == 0) {
        auto* array = new Array();
        addToEnclosing(m_stateStack.empty() ? kDict : m_stateStack.back(), array);
        setCurrentArray(array);
        if (m_rootIsArray && !m_root) {
            array->retain();
            m_root = array;
        }
        m_state = kArray;
        m_stateStack.push_back(kArray);
        m_arrayStack.push_back(array);
    } else if (strcmp(name, "key") == 0) {
        m_state = kKey;
    } else if (strcmp(name, "integer") == 0) {
        m_state = kInteger;
    } else if (strcmp(name, "real") == 0) {
        m_state = kReal;
    } else if (strcmp(name, "string") == 0) {
        m_state = kString;
    } else {
        m_state = kNone;
    }
}

void CCPlistMaker::endElement(void*, const char* name) {
    const int enclosing = m_stateStack.empty() ? kDict : m_stateStack.back();
    if (strcmp(name, "dict") == 0) {
        if (enclosing == kDict && !m_dictionaryStack.empty()) {
            m_stateStack.pop_back();
            m_dictionaryStack.back()->release();
            m_dictionaryStack.pop_back();
            if (!m_dictionaryStack.empty()) setCurrentDictionary(m_dictionaryStack.back());
        }
    } else if (strcmp(name, "array") == 0) {
        if (enclosing == kArray && !m_arrayStack.empty()) {
            m_stateStack.pop_back();
            m_arrayStack.back()->release();
            m_arrayStack.pop_back();
            if (!m_arrayStack.empty()) setCurrentArray(m_arrayStack.back());
        }
    } else if (strcmp(name, "true") == 0 || strcmp(name, "false") == 0) {
        auto* value = new CCString(name[0] == 't' ? "1" : "0");
        addToEnclosing(enclosing, value);
        value->release();
    } else if (!m_text.empty()) {
        // The whole text of the element, however many pieces it came in.
        const bool closesOpenElement =
            (m_state == kKey && strcmp(name, "key") == 0) || (m_state == kInteger && strcmp(name, "integer") == 0) ||
            (m_state == kReal && strcmp(name, "real") == 0) || (m_state == kString && strcmp(name, "string") == 0);
        if (closesOpenElement && m_state == kKey) {
            m_currentKey = m_text;
        } else if (closesOpenElement) {
            auto* value = new CCString(m_text);
            addToEnclosing(enclosing, value);
            value->release();
        }
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

CCMutableArray<CCObject*>* CCArrayMaker::root() const { return static_cast<CCMutableArray<CCObject*>*>(m_root); }

namespace {

template <typename Maker> auto finish(Maker& maker, bool parsed, bool* wellFormed) -> decltype(maker.root()) {
    if (wellFormed) *wellFormed = parsed;
    auto* root = maker.root();
    if (!root) return nullptr;
    root->retain(); // the maker drops its own reference when it dies
    root->autorelease();
    return root;
}

} // namespace

CCMutableDictionary<std::string, CCObject*>* dictionaryWithContentsOfFile(const char* path, bool* wellFormed) {
    CCDictMaker maker;
    bool parsed = parseXMLFile(path, &maker);
    return finish(maker, parsed, wellFormed);
}

CCMutableArray<CCObject*>* arrayWithContentsOfFile(const char* path, bool* wellFormed) {
    CCArrayMaker maker;
    bool parsed = parseXMLFile(path, &maker);
    return finish(maker, parsed, wellFormed);
}

CCMutableDictionary<std::string, CCObject*>* dictionaryWithContentsOfData(const char* data, unsigned size,
                                                                          bool* wellFormed) {
    CCDictMaker maker;
    bool parsed = parseXMLData(data, size, &maker, "property list");
    return finish(maker, parsed, wellFormed);
}

CCMutableArray<CCObject*>* arrayWithContentsOfData(const char* data, unsigned size, bool* wellFormed) {
    CCArrayMaker maker;
    bool parsed = parseXMLData(data, size, &maker, "property list");
    return finish(maker, parsed, wellFormed);
}

} // namespace kvengine
