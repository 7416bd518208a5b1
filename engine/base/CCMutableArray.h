#pragma once

#include <algorithm>
#include <cstdarg>
#include <vector>

#include "engine/base/CCLog.h"
#include "engine/base/CCObject.h"

namespace kvengine {

/// Ordered array of object pointers (T is a pointer to a CCObject subclass) that retains what it
/// holds.
///
/// Null-slot rule: a null slot ends the content. count() is the number of slots before the first
/// null slot, and objectAtIndex() answers null from there on; the scanning operations (index
/// search, contains, remove, remove-all, copy, sort) still visit every slot. The capacity
/// constructor and replaceObjectAtIndex(nullptr, i) make null slots; addObject() fills the first
/// null slot before it appends.
///
/// Every non-null slot owns one reference to its element, taken when it is put in and given back
/// when it is taken out or the array dies. Elements are never copied.
template <typename T> class CCMutableArray : public CCObject {
public:
    static constexpr unsigned kNotFound = 0xFFFFFFFFu;

    CCMutableArray() = default;
    /// Pre-fills `capacity` null slots; count() stays 0.
    explicit CCMutableArray(unsigned capacity) : m_slots(capacity, nullptr) {}
    ~CCMutableArray() override { removeAllObjects(); }

    const char* className() const override { return "CCMutableArray"; }
    bool isKindOf(const char* name) const override {
        return (name != nullptr && std::strcmp(name, "CCMutableArray") == 0) || CCObject::isKindOf(name);
    }

    /// Autoreleased copy of `source` (same slots, each element retained once more); an autoreleased
    /// empty array when `source` is null.
    static CCMutableArray* createWithArray(CCMutableArray* source) {
        CCMutableArray* result = source != nullptr ? source->copy() : new CCMutableArray();
        result->autorelease();
        return result;
    }

    /// Autoreleased array of the arguments up to the first null one.
    static CCMutableArray* createWithObjects(T first, ...) {
        auto* result = new CCMutableArray();
        result->autorelease();
        if (first == nullptr) return result;
        result->addObject(first);
        va_list args;
        va_start(args, first);
        for (T item = va_arg(args, T); item != nullptr; item = va_arg(args, T))
            result->addObject(item);
        va_end(args);
        return result;
    }

    /// Slots before the first null slot.
    unsigned count() const { return m_count; }

    /// The element, or null when `index` is not below count(); no retain.
    T objectAtIndex(unsigned index) const { return index < m_count ? m_slots[index] : nullptr; }
    /// The last element of the content, or null when it is empty.
    T lastObject() const { return m_count > 0 ? m_slots[m_count - 1] : nullptr; }

    /// Retains `object` and stores it into the first null slot, else appends. Null is ignored.
    void addObject(T object) {
        if (object == nullptr) return;
        object->retain();
        // The first null slot, when there is one, sits right at the count.
        if (m_count < m_slots.size()) {
            m_slots[m_count] = object;
            recount(m_count + 1);
        } else {
            // Most arrays are short lists: one block holds them, instead of growing 1, 2, 4, 8.
            if (m_slots.capacity() == 0) m_slots.reserve(kFirstCapacity);
            m_slots.push_back(object);
            m_count = static_cast<unsigned>(m_slots.size());
        }
    }

    /// Retains `object` and inserts it before slot `index`. An index past count() is clamped to
    /// count() (and logged): the element would otherwise sit hidden behind null slots.
    void insertObjectAtIndex(T object, unsigned index) {
        if (object == nullptr) return;
        if (index > m_count) {
            logDebugMessage(
                "CCMutableArray::insertObjectAtIndex: index %u past count %u, appended at the end", index,
                m_count);
            index = m_count;
        }
        object->retain();
        m_slots.insert(m_slots.begin() + index, object);
        recount();
    }

    /// Erases the first slot equal to `object` (later slots move down) and releases it when
    /// `releaseObject` is true. Absent or null objects change nothing.
    void removeObject(T object, bool releaseObject = true) {
        if (object == nullptr) return;
        auto it = std::find(m_slots.begin(), m_slots.end(), object);
        if (it == m_slots.end()) return;
        m_slots.erase(it);
        recount();
        if (releaseObject) object->release();
    }

    /// Releases the element of slot `index` (when not null) and erases the slot. An index not
    /// below the number of slots is logged and ignored.
    void removeObjectAtIndex(unsigned index) {
        if (index >= m_slots.size()) {
            if (!m_slots.empty())
                logDebugMessage("CCMutableArray::removeObjectAtIndex: index %u out of range (%zu slots)",
                                index, m_slots.size());
            return;
        }
        T object = m_slots[index];
        m_slots.erase(m_slots.begin() + index);
        recount();
        if (object != nullptr) object->release();
    }

    /// Releases every element, first to last, then erases all slots.
    void removeAllObjects() {
        // Take the slots out first: a release may destroy an element whose destructor reaches
        // back into this array.
        std::vector<T> slots;
        slots.swap(m_slots);
        m_count = 0;
        for (T object : slots)
            if (object != nullptr) object->release();
    }

    /// Drops every slot without releasing anything: the caller takes over the references.
    void clearStorage() {
        m_slots.clear();
        m_count = 0;
    }

    /// Stores `object` (may be null) in slot `index`, retaining the new element before releasing
    /// the old one, so replacing an element by itself is safe. An index not below the number of
    /// slots is logged and ignored.
    void replaceObjectAtIndex(T object, unsigned index) {
        if (index >= m_slots.size()) {
            logDebugMessage("CCMutableArray::replaceObjectAtIndex: index %u out of range (%zu slots)", index,
                            m_slots.size());
            return;
        }
        if (object != nullptr) object->retain();
        T old = m_slots[index];
        m_slots[index] = object;
        recount();
        if (old != nullptr) old->release();
    }

    /// Index of the first slot equal to `object` (every slot is scanned), or kNotFound.
    unsigned indexOfObject(T object) const {
        if (object == nullptr) return kNotFound;
        auto it = std::find(m_slots.begin(), m_slots.end(), object);
        return it == m_slots.end() ? kNotFound : static_cast<unsigned>(it - m_slots.begin());
    }

    bool containsObject(T object) const { return indexOfObject(object) != kNotFound; }

    /// New array (count 1, owned by the caller) with the same slots, null slots included; every
    /// element is retained once more.
    CCMutableArray* copy() override {
        auto* result = new CCMutableArray();
        result->m_slots = m_slots;
        result->recount();
        for (T object : m_slots)
            if (object != nullptr) object->retain();
        return result;
    }

    /// Stable sort of every slot; a goes before b when compare(a, b, context) returns -1.
    /// Null slots go last and are dropped, so a sorted array holds no null slot.
    void sortWithFunction(int (*compare)(T, T, void*), void* context) {
        if (compare == nullptr) return;
        sortWith([compare, context](T a, T b) { return compare(a, b, context) == -1; });
    }

    /// Stable sort by the elements' own comparison: a goes before b when (a->*method)(b) is -1.
    template <typename Element> void sortWithMethod(int (Element::*method)(T)) {
        if (method == nullptr) return;
        sortWith([method](T a, T b) { return (a->*method)(b) == -1; });
    }

    /// Stable sort by the elements' `compare` member (returning -1, 0 or 1).
    void sortWithMethod() {
        sortWith([](T a, T b) { return a->compare(b) == -1; });
    }

    /// Range-for access to the content (the slots before the first null slot).
    T const* begin() const { return m_slots.data(); }
    T const* end() const { return m_slots.data() + m_count; }

private:
    template <typename Less> void sortWith(Less less) {
        m_slots.erase(std::remove(m_slots.begin(), m_slots.end(), nullptr), m_slots.end());
        std::stable_sort(m_slots.begin(), m_slots.end(), less);
        recount();
    }

    // Finds the first null slot at or after `from`, knowing that the slots before it are set.
    void recount(unsigned from = 0) {
        auto hole = std::find(m_slots.begin() + from, m_slots.end(), nullptr);
        m_count = static_cast<unsigned>(hole - m_slots.begin());
    }

    static constexpr std::size_t kFirstCapacity = 8;
    std::vector<T> m_slots;
    unsigned m_count = 0;
};

} // namespace kvengine
