#pragma once

// Property lists read into the engine's containers: dictionaries, arrays and CCString leaves.
// Every scalar keeps its text ("12", "2.5", true as "1", false as "0"); readers convert it where
// they use it. date and data elements are skipped.

#include "engine/base/CCMutableArray.h"
#include "engine/base/CCMutableDictionary.h"
#include "engine/base/CCRetained.h"
#include "engine/files/CCSAXParser.h"

#include <string>
#include <vector>

namespace kvengine {

class CCObject;
class CCString;

/// Builds containers from the events of one parse. The text of a key or scalar is collected
/// whole, even when the XML library hands it over in pieces. Empty key and string elements are
/// the empty text; an empty integer or real adds nothing. The root is the document's first
/// top-level container, and only when it is of the maker's kind: a dictionary nested in an array
/// document is not taken for a dictionary document (nor the other way round).
class CCPlistMaker : public CCSAXDelegator {
public:
    ~CCPlistMaker() override;
    CCPlistMaker(const CCPlistMaker&) = delete;
    CCPlistMaker& operator=(const CCPlistMaker&) = delete;

    void startElement(void* context, const char* name, const char** attributes) override;
    void endElement(void* context, const char* name) override;
    void textHandler(void* context, const char* text, int length) override;

protected:
    enum State { kNone = 0, kKey = 1, kDict = 2, kInteger = 3, kReal = 4, kString = 5, kArray = 6 };
    explicit CCPlistMaker(bool rootIsArray);

    CCObject* m_root = nullptr; ///< retained while the maker lives

private:
    using Dictionary = CCMutableDictionary<std::string, CCObject*>;
    using Array = CCMutableArray<CCObject*>;

    void addToEnclosing(int kind, CCObject* item);
    /// True once, for the first container that opens outside every other.
    bool isFirstTopLevelContainer();
    Dictionary* enclosingDictionary() const;
    void setCurrentDictionary(Dictionary* dictionary);
    void setCurrentArray(Array* array);

    bool m_rootIsArray;
    CCRetained<Dictionary> m_currentDictionary; ///< retained
    std::vector<Dictionary*> m_dictionaryStack; ///< each retained
    std::string m_currentKey;
    int m_state = kNone;
    CCRetained<Array> m_currentArray; ///< retained
    std::vector<Array*> m_arrayStack; ///< each retained
    std::vector<int> m_stateStack;
    std::string m_text; ///< text of the open key or scalar so far
    bool m_topLevelSeen = false;
};

/// Builds a dictionary document: the first dict element becomes the root.
class CCDictMaker : public CCPlistMaker {
public:
    CCDictMaker() : CCPlistMaker(false) {}
    /// The root dictionary, or null; owned by the maker (retain it to keep it).
    CCMutableDictionary<std::string, CCObject*>* root() const;
};

/// Builds an array document: the first array element becomes the root.
class CCArrayMaker : public CCPlistMaker {
public:
    CCArrayMaker() : CCPlistMaker(true) {}
    /// The root array, or null; owned by the maker (retain it to keep it).
    CCMutableArray<CCObject*>* root() const;
};

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
