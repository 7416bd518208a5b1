#pragma once

#include "engine/base/CCArrayData.h"
#include "engine/base/CCObject.h"

namespace kvengine {

/// Plain object array over a CCArrayData record: contiguous, doubling, retains its items (never
/// null). Node children live in it. Cannot be copied.
class CCArray : public CCObject {
public:
    static constexpr unsigned kNotFound = 0xFFFFFFFFu;

    /// Autoreleased empty array with room for `capacity` items (0 becomes 1); null when memory
    /// runs out.
    static CCArray* createWithCapacity(unsigned capacity);
    /// createWithCapacity(1).
    static CCArray* create();

    CCArray() = default;
    ~CCArray() override;
    [[nodiscard]] bool initWithCapacity(unsigned capacity);
    [[nodiscard]] bool init() { return initWithCapacity(1); }

    CC_DECLARE_CLASS_NAME(CCArray, CCObject)

    unsigned count() const { return m_data != nullptr ? m_data->count : 0; }
    unsigned capacity() const { return m_data != nullptr ? m_data->capacity : 0; }
    /// The item (no retain); null (logged) for an index not below count().
    CCObject* objectAtIndex(unsigned index) const;
    /// The last item, or null when empty.
    CCObject* lastObject() const;
    /// Retains and appends; null is ignored.
    void addObject(CCObject* object);
    /// Retains and inserts before `index`; an index past count() is clamped to count().
    void insertObjectAtIndex(CCObject* object, unsigned index);
    unsigned indexOfObject(const CCObject* object) const;
    bool containsObject(const CCObject* object) const;
    /// Removes and releases the first equal item; nothing when absent.
    void removeObject(CCObject* object);
    /// Removes and releases the item at `index`; out of range: logged, ignored.
    void removeObjectAtIndex(unsigned index);
    /// Releases the items, last first.
    void removeAllObjects();

    /// The raw record, for the engine's per-frame walks. May be null before init.
    CCArrayData* data() const { return m_data; }

private:
    CCArrayData* m_data = nullptr;
};

} // namespace kvengine
