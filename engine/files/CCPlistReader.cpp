#include "engine/files/CCPlistReader.h"

#include "engine/base/CCLog.h"
#include "engine/base/CCString.h"
#include "engine/files/CCSAXParser.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <libxml/parser.h>
#include <new>
#include <vector>

namespace kvengine {

namespace {

using Dictionary = CCMutableDictionary<std::string, CCObject*>;
using Array = CCMutableArray<CCObject*>;

// The objects of one load come out of large blocks instead of one heap allocation each. Every
// object is preceded by a pointer to its block; the block counts its living objects (plus one
// while the load may still add to it) and goes back to the heap when that count reaches zero.
class LoadPool {
public:
    LoadPool() = default;
    LoadPool(const LoadPool&) = delete;
    LoadPool& operator=(const LoadPool&) = delete;
    ~LoadPool() {
        if (m_block) dropReference(m_block);
    }

    void* allocate(std::size_t size) {
        const std::size_t need = kSlot + roundUp(size);
        if (!m_block || m_used + need > kBlockBytes) {
            if (m_block) dropReference(m_block);
            m_block = static_cast<Block*>(std::malloc(need > kBlockBytes ? need : kBlockBytes));
            if (!m_block) throw std::bad_alloc();
            m_block->references = 1;
            m_used = kSlot;
        }
        char* slot = reinterpret_cast<char*>(m_block) + m_used;
        m_used += need;
        *reinterpret_cast<Block**>(slot) = m_block;
        ++m_block->references;
        return slot + kSlot;
    }

    /// Gives back the memory of an object made by allocate().
    static void release(void* object) {
        dropReference(*reinterpret_cast<Block**>(static_cast<char*>(object) - kSlot));
    }

private:
    struct Block {
        std::size_t references;
    };
    // Keeps every object at the alignment malloc gives.
    static constexpr std::size_t kSlot = alignof(std::max_align_t);
    static constexpr std::size_t kBlockBytes = 16 * 1024;

    static std::size_t roundUp(std::size_t size) { return (size + kSlot - 1) / kSlot * kSlot; }
    static void dropReference(Block* block) {
        if (--block->references == 0) std::free(block);
    }

    Block* m_block = nullptr;
    std::size_t m_used = 0;
};

// A container or string of a load: the class it derives from in every way but where its memory
// comes from. It answers to the same class name, so readers see a plain CCString, array or
// dictionary.
template <typename Base> class Pooled final : public Base {
public:
    using Base::Base;
    static void* operator new(std::size_t size, LoadPool& pool) { return pool.allocate(size); }
    static void operator delete(void* object, LoadPool&) { LoadPool::release(object); }
    static void operator delete(void* object) { LoadPool::release(object); }
};

enum class Element : std::uint8_t { Other, Dict, List, Key, Integer, Real, String, True, False };

// Whether `rest` (the name after its first letter) is exactly `expected`. It stops at the first
// difference, so it never reads past the end of a shorter name.
inline bool restIs(const char* rest, const char* expected) {
    while (*expected != '\0') {
        if (*rest != *expected) return false;
        ++rest;
        ++expected;
    }
    return *rest == '\0';
}

// The first letter picks the only candidate name.
Element classifyText(const char* name) {
    switch (name[0]) {
    case 'd':
        return restIs(name + 1, "ict") ? Element::Dict : Element::Other;
    case 'a':
        return restIs(name + 1, "rray") ? Element::List : Element::Other;
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

// Builds the containers of one parse straight from libxml2's callbacks.
class PlistBuilder : public CCSAXErrors {
public:
    explicit PlistBuilder(bool rootIsArray) : m_rootIsArray(rootIsArray) {}
    PlistBuilder(const PlistBuilder&) = delete;
    PlistBuilder& operator=(const PlistBuilder&) = delete;
    ~PlistBuilder() {
        dropValue();
        for (Dictionary* dictionary : m_dictionaryStack)
            dictionary->release();
        for (Array* array : m_arrayStack)
            array->release();
        if (m_currentDictionary) m_currentDictionary->release();
        if (m_root) m_root->release();
    }

    bool parseData(const char* data, unsigned size, const char* name) {
        return parseXMLDataWithHandler(data, size, &handler(), this, name);
    }
    bool parseFile(const char* path) { return parseXMLFileWithHandler(path, &handler(), this); }

    /// The root container, or null; owned by the builder.
    CCObject* root() const { return m_root; }

private:
    struct NameSlot {
        const xmlChar* name = nullptr; ///< the name table's copy of a name seen
        Element element = Element::Other;
    };
    static constexpr std::size_t kNameSlots = 64;
    static constexpr unsigned kNameShift = 64 - 6; // the top bits of the hash pick one of 64 slots
    static constexpr std::size_t kNamesKept = 48;  // leaves free slots to end every search

    // The states that take text come last, so one comparison tells them from the others.
    enum State { kNone = 0, kDict = 1, kArray = 2, kKey = 3, kInteger = 4, kReal = 5, kString = 6 };

    static xmlSAXHandler& handler() {
        static xmlSAXHandler handler = [] {
            xmlSAXHandler made;
            std::memset(&made, 0, sizeof made);
            made.initialized = XML_SAX2_MAGIC;
            made.startElementNs = onStart;
            made.endElementNs = onEnd;
            made.characters = onText;
            return made;
        }();
        return handler;
    }

    static PlistBuilder* of(void* user) {
        return static_cast<PlistBuilder*>(static_cast<CCSAXErrors*>(user));
    }

    // The callbacks run for every element and text of a document. Their common paths (a key or a
    // scalar opening, a blank text) make no calls, so they stay short; everything else is handed
    // to the out-of-line members below.
    static void onStart(void* user, const xmlChar* localName, const xmlChar* prefix, const xmlChar*, int,
                        const xmlChar**, int, int, const xmlChar**) {
        PlistBuilder* builder = of(user);
        // A prefixed name ("x:dict") is none of the plist elements.
        const Element element = prefix ? Element::Other : builder->classify(localName);
        builder->pushOpen(element);
        // Whatever the element, a scalar still being read is abandoned.
        if (builder->m_value) builder->dropValue();
        switch (element) {
        case Element::Key:
            builder->m_keys[builder->m_keyIndex ^ 1].clear();
            builder->m_state = kKey;
            break;
        case Element::Integer:
            builder->m_state = kInteger;
            break;
        case Element::Real:
            builder->m_state = kReal;
            break;
        case Element::String:
            builder->m_state = kString;
            break;
        case Element::Dict:
            builder->openDictionary();
            break;
        case Element::List:
            builder->openArray();
            break;
        default:
            builder->m_state = kNone;
            break;
        }
    }

    // libxml2 checks that every end tag closes the element open last, so the element that ends is
    // the one on top of the stack.
    static void onEnd(void* user, const xmlChar*, const xmlChar*, const xmlChar*) {
        PlistBuilder* builder = of(user);
        if (builder->m_openCount == 0) return;
        const Element element = builder->m_open[--builder->m_openCount];
        switch (element) {
        case Element::Key:
            // The text read becomes the current key, and the old key's buffer takes the next key's
            // text: nothing is copied, and both buffers keep their room. An empty key is a key like
            // any other: the writer writes "" keys, and they must come back.
            if (builder->m_state == kKey) builder->m_keyIndex ^= 1;
            break;
        case Element::Integer:
            if (builder->m_state == kInteger) builder->closeScalar();
            break;
        case Element::Real:
            if (builder->m_state == kReal) builder->closeScalar();
            break;
        case Element::String:
            if (builder->m_state == kString) builder->closeScalar();
            break;
        case Element::Dict:
        case Element::List:
        case Element::True:
        case Element::False:
            builder->closeOther(element);
            break;
        default:
            break;
        }
        if (builder->m_value) builder->dropValue();
        builder->m_state = kNone;
    }

    // Most texts are the blanks between elements, which no element takes: they return at once,
    // without the set-up of the text handling.
    static void onText(void* user, const xmlChar* text, int length) {
        PlistBuilder* builder = of(user);
        if (builder->m_state < kKey || length <= 0) return;
        builder->addText(reinterpret_cast<const char*>(text), length);
    }

    // libxml2 hands every element name over as the one copy in its name table, so a name seen
    // once is afterwards recognised by its address alone: a small open-addressed table keyed by
    // the address remembers what each name was, other names included. Once the table is fairly
    // full, further names are read letter by letter each time.
    Element classify(const xmlChar* name) {
        const std::uint64_t address = reinterpret_cast<std::uintptr_t>(name);
        const auto index = static_cast<std::size_t>((address * 0x9E3779B97F4A7C15ull) >> kNameShift);
        if (m_names[index].name == name) return m_names[index].element;
        return classifyFurther(index, name);
    }

    // The name is not in its first slot: it may sit further on, or be new.
    [[gnu::noinline]] Element classifyFurther(std::size_t index, const xmlChar* name) {
        while (m_names[index].name) {
            if (m_names[index].name == name) return m_names[index].element;
            index = (index + 1) % kNameSlots;
        }
        const Element element = classifyText(reinterpret_cast<const char*>(name));
        if (m_namesKnown < kNamesKept) {
            m_names[index] = NameSlot{name, element};
            ++m_namesKnown;
        }
        return element;
    }

    void pushOpen(Element element) {
        if (m_openCount == m_open.size()) growOpen();
        m_open[m_openCount++] = element;
    }

    [[gnu::noinline]] void growOpen() { m_open.resize(m_open.empty() ? 32 : 2 * m_open.size()); }

    bool isFirstTopLevelContainer() {
        if (!m_stateStack.empty() || m_topLevelSeen) return false;
        m_topLevelSeen = true;
        return true;
    }

    Dictionary* enclosingDictionary() const {
        return m_dictionaryStack.empty() ? m_currentDictionary : m_dictionaryStack.back();
    }

    void setCurrentDictionary(Dictionary* dictionary) {
        dictionary->retain();
        if (m_currentDictionary) m_currentDictionary->release();
        m_currentDictionary = dictionary;
    }

    // The container an element's value goes into: the innermost open one, or the current
    // dictionary when none is open.
    int enclosingKind() const { return m_stateStack.empty() ? kDict : m_stateStack.back(); }

    [[gnu::always_inline]] void addToEnclosing(int kind, CCObject* item) {
        if (kind == kArray) {
            if (!m_arrayStack.empty()) m_arrayStack.back()->addObject(item);
        } else if (kind == kDict) {
            if (Dictionary* dictionary = enclosingDictionary())
                dictionary->setObject(item, m_keys[m_keyIndex]);
        }
    }

    // The scalar being read, made from its first piece of text and extended by the others.
    [[gnu::noinline]] void dropValue() {
        if (m_value) m_value->release();
        m_value = nullptr;
    }

    [[gnu::noinline]] void openDictionary() {
        Dictionary* dictionary = new (m_pool) Pooled<Dictionary>();
        if (!m_stateStack.empty()) addToEnclosing(m_stateStack.back(), dictionary);
        setCurrentDictionary(dictionary);
        if (isFirstTopLevelContainer() && !m_rootIsArray) {
            dictionary->retain();
            m_root = dictionary;
        }
        m_state = kDict;
        m_stateStack.push_back(kDict);
        m_dictionaryStack.push_back(dictionary); // the stack keeps the creation reference
    }

    [[gnu::noinline]] void openArray() {
        Array* array = new (m_pool) Pooled<Array>();
        addToEnclosing(enclosingKind(), array);
        if (isFirstTopLevelContainer() && m_rootIsArray) {
            array->retain();
            m_root = array;
        }
        m_state = kArray;
        m_stateStack.push_back(kArray);
        m_arrayStack.push_back(array);
    }

    // An integer, real or string element ends while still open as one: its value goes into its
    // container, which keeps it. An empty string element is the empty text the writer wrote; an
    // empty number is nothing.
    [[gnu::noinline]] void closeScalar() {
        if (m_value) {
            addToEnclosing(enclosingKind(), m_value);
            m_value->release();
            m_value = nullptr;
        } else if (m_state == kString) {
            CCString* value = new (m_pool) Pooled<CCString>();
            addToEnclosing(enclosingKind(), value);
            value->release();
        }
    }

    // A container or a boolean ends.
    [[gnu::noinline]] void closeOther(Element element) {
        const int enclosing = enclosingKind();
        switch (element) {
        case Element::Dict:
            if (enclosing == kDict && !m_dictionaryStack.empty()) {
                m_stateStack.pop_back();
                m_dictionaryStack.back()->release();
                m_dictionaryStack.pop_back();
                if (!m_dictionaryStack.empty()) setCurrentDictionary(m_dictionaryStack.back());
            }
            break;
        case Element::List:
            if (enclosing == kArray && !m_arrayStack.empty()) {
                m_stateStack.pop_back();
                m_arrayStack.back()->release();
                m_arrayStack.pop_back();
            }
            break;
        case Element::True:
        case Element::False: {
            CCString* value = new (m_pool) Pooled<CCString>(element == Element::True ? "1" : "0");
            addToEnclosing(enclosing, value);
            value->release();
            break;
        }
        default:
            break;
        }
    }

    [[gnu::noinline]] void addText(const char* text, int length) {
        switch (m_state) {
        case kKey:
            m_keys[m_keyIndex ^ 1].append(text, static_cast<std::size_t>(length));
            break;
        case kInteger:
        case kReal:
        case kString:
            // A text that comes in one piece goes straight into its string.
            if (m_value)
                m_value->text.append(text, static_cast<std::size_t>(length));
            else
                m_value = new (m_pool) Pooled<CCString>(text, static_cast<std::size_t>(length));
            break;
        default:
            break;
        }
    }

    LoadPool m_pool; // first member: the objects made from it may outlive the builder
    bool m_rootIsArray;
    CCObject* m_root = nullptr;                 ///< retained
    Dictionary* m_currentDictionary = nullptr;  ///< retained
    std::vector<Dictionary*> m_dictionaryStack; ///< each retained
    std::string m_keys[2];                      ///< the current key, and the text of the open key so far
    int m_keyIndex = 0;                         ///< which of m_keys is the current key
    int m_state = kNone;
    std::vector<Array*> m_arrayStack; ///< each retained
    std::vector<int> m_stateStack;
    std::vector<Element> m_open; ///< every element open now, outermost first, in the first m_openCount
    std::size_t m_openCount = 0;
    CCString* m_value = nullptr; ///< the scalar of the open integer, real or string element; owned
    bool m_topLevelSeen = false;
    NameSlot m_names[kNameSlots];
    std::size_t m_namesKnown = 0;
};

template <typename Container>
Container* finish(PlistBuilder& builder, bool parsed, bool* wellFormed, const char* name, const char* kind) {
    if (wellFormed) *wellFormed = parsed;
    CCObject* root = builder.root();
    if (!root) {
        // A broken document has been reported by the XML reader already.
        if (parsed) logDebugMessage("engine: property list %s holds no %s at its top level", name, kind);
        return nullptr;
    }
    root->retain(); // the builder drops its own reference when it dies
    root->autorelease();
    return static_cast<Container*>(root);
}

} // namespace

CCMutableDictionary<std::string, CCObject*>* dictionaryWithContentsOfFile(const char* path,
                                                                          bool* wellFormed) {
    PlistBuilder builder(false);
    bool parsed = builder.parseFile(path);
    return finish<Dictionary>(builder, parsed, wellFormed, path, "dictionary");
}

CCMutableArray<CCObject*>* arrayWithContentsOfFile(const char* path, bool* wellFormed) {
    PlistBuilder builder(true);
    bool parsed = builder.parseFile(path);
    return finish<Array>(builder, parsed, wellFormed, path, "array");
}

CCMutableDictionary<std::string, CCObject*>* dictionaryWithContentsOfData(const char* data, unsigned size,
                                                                          bool* wellFormed) {
    PlistBuilder builder(false);
    bool parsed = builder.parseData(data, size, "property list");
    return finish<Dictionary>(builder, parsed, wellFormed, "(in memory)", "dictionary");
}

CCMutableArray<CCObject*>* arrayWithContentsOfData(const char* data, unsigned size, bool* wellFormed) {
    PlistBuilder builder(true);
    bool parsed = builder.parseData(data, size, "property list");
    return finish<Array>(builder, parsed, wellFormed, "(in memory)", "array");
}

} // namespace kvengine
