#pragma once

namespace kvengine {

class CCObject;

/// Plain growable block of retained object pointers (C heap), shared by CCArray and the target
/// lists of the scheduler and the action manager. Items 0..count-1 each hold one reference and
/// are never null. The capacity doubles when full and never shrinks.
struct CCArrayData {
    unsigned count;
    unsigned capacity; ///< at least 1
    CCObject** items;
};

/// New record with room for `capacity` items (0 becomes 1); null (logged) when memory runs out.
CCArrayData* newArrayData(unsigned capacity);
/// Releases the items, last first, then frees the record. Null is ignored.
void freeArrayData(CCArrayData* data);
/// Doubles the capacity until one more item fits. False (logged, record unchanged) when memory
/// runs out.
bool ensureArrayDataCapacity(CCArrayData* data);
/// Doubles the capacity once. False (logged, record unchanged) when memory runs out.
bool doubleArrayDataCapacity(CCArrayData* data);
/// Stores and retains `object` at index count; the capacity must already suffice (ignored and
/// logged otherwise).
void appendArrayDataObject(CCArrayData* data, CCObject* object);
/// Grows when needed, then appends.
void appendArrayDataObjectWithResize(CCArrayData* data, CCObject* object);
/// Grows when needed, moves the items from `index` up and stores `object` there (retained). An
/// index past the count is clamped to the count (logged).
void insertArrayDataObjectAtIndex(CCArrayData* data, CCObject* object, unsigned index);
/// Index of the first item equal to `object`, or 0xFFFFFFFF.
unsigned indexOfArrayDataObject(const CCArrayData* data, const CCObject* object);
bool arrayDataContainsObject(const CCArrayData* data, const CCObject* object);
/// Releases the item at `index` and closes the gap (order kept). Out of range: logged, ignored.
void removeArrayDataObjectAtIndex(CCArrayData* data, unsigned index);
/// Removes and releases the first item equal to `object`; nothing when absent.
void removeObjectFromArrayData(CCArrayData* data, CCObject* object);
/// Releases the items, last first; count becomes 0.
void removeAllArrayDataObjects(CCArrayData* data);

} // namespace kvengine
