#include "engine/base/CCArrayData.h"

#include <cstdlib>
#include <cstring>

#include "engine/base/CCLog.h"
#include "engine/base/CCObject.h"

namespace kvengine {

namespace {
constexpr unsigned kNotFound = 0xFFFFFFFFu;

bool growTo(CCArrayData* data, unsigned capacity) {
    void* items = std::realloc(data->items, sizeof(CCObject*) * capacity);
    if (items == nullptr) {
        logDebugMessage("CCArrayData: out of memory growing to %u items", capacity);
        return false;
    }
    data->items = static_cast<CCObject**>(items);
    data->capacity = capacity;
    return true;
}
} // namespace

CCArrayData* newArrayData(unsigned capacity) {
    if (capacity == 0) capacity = 1;
    auto* data = static_cast<CCArrayData*>(std::malloc(sizeof(CCArrayData)));
    if (data == nullptr) {
        logDebugMessage("CCArrayData: out of memory");
        return nullptr;
    }
    data->count = 0;
    data->capacity = 0;
    data->items = nullptr;
    if (!growTo(data, capacity)) {
        std::free(data);
        return nullptr;
    }
    return data;
}

void freeArrayData(CCArrayData* data) {
    if (data == nullptr) return;
    removeAllArrayDataObjects(data);
    std::free(data->items);
    std::free(data);
}

bool doubleArrayDataCapacity(CCArrayData* data) {
    if (data->capacity > 0x7FFFFFFFu) {
        logDebugMessage("CCArrayData: capacity limit reached");
        return false;
    }
    return growTo(data, data->capacity * 2);
}

bool ensureArrayDataCapacity(CCArrayData* data) {
    while (data->capacity < data->count + 1)
        if (!doubleArrayDataCapacity(data)) return false;
    return true;
}

void appendArrayDataObject(CCArrayData* data, CCObject* object) {
    if (object == nullptr) return;
    if (data->count >= data->capacity) {
        logDebugMessage("CCArrayData: append without room (%u items)", data->count);
        return;
    }
    object->retain();
    data->items[data->count++] = object;
}

void appendArrayDataObjectWithResize(CCArrayData* data, CCObject* object) {
    if (object == nullptr || !ensureArrayDataCapacity(data)) return;
    appendArrayDataObject(data, object);
}

void insertArrayDataObjectAtIndex(CCArrayData* data, CCObject* object, unsigned index) {
    if (object == nullptr || !ensureArrayDataCapacity(data)) return;
    if (index > data->count) {
        logDebugMessage("CCArrayData: insert index %u past count %u, appended", index, data->count);
        index = data->count;
    }
    std::memmove(data->items + index + 1, data->items + index, sizeof(CCObject*) * (data->count - index));
    object->retain();
    data->items[index] = object;
    ++data->count;
}

unsigned indexOfArrayDataObject(const CCArrayData* data, const CCObject* object) {
    for (unsigned i = 0; i < data->count; ++i)
        if (data->items[i] == object) return i;
    return kNotFound;
}

bool arrayDataContainsObject(const CCArrayData* data, const CCObject* object) {
    return indexOfArrayDataObject(data, object) != kNotFound;
}

void removeArrayDataObjectAtIndex(CCArrayData* data, unsigned index) {
    if (index >= data->count) {
        logDebugMessage("CCArrayData: remove index %u out of range (%u items)", index, data->count);
        return;
    }
    CCObject* object = data->items[index];
    --data->count;
    std::memmove(data->items + index, data->items + index + 1, sizeof(CCObject*) * (data->count - index));
    // Released after the gap is closed: the object's destructor may look at this array.
    object->release();
}

void removeObjectFromArrayData(CCArrayData* data, CCObject* object) {
    unsigned index = indexOfArrayDataObject(data, object);
    if (index != kNotFound) removeArrayDataObjectAtIndex(data, index);
}

void removeAllArrayDataObjects(CCArrayData* data) {
    while (data->count > 0) {
        CCObject* object = data->items[--data->count];
        object->release();
    }
}

} // namespace kvengine
