#include "engine/base/CCArray.h"

#include "engine/base/CCLog.h"

namespace kvengine {

CCArray* CCArray::createWithCapacity(unsigned capacity) {
    auto* array = new CCArray();
    if (!array->initWithCapacity(capacity)) {
        array->release();
        return nullptr;
    }
    array->autorelease();
    return array;
}

CCArray* CCArray::create() {
    return createWithCapacity(1);
}

CCArray::~CCArray() {
    freeArrayData(m_data);
}

bool CCArray::initWithCapacity(unsigned capacity) {
    CCArrayData* data = newArrayData(capacity);
    if (data == nullptr) return false;
    freeArrayData(m_data);
    m_data = data;
    return true;
}

CCObject* CCArray::objectAtIndex(unsigned index) const {
    if (index >= count()) {
        logDebugMessage("CCArray::objectAtIndex: index %u out of range (%u items)", index, count());
        return nullptr;
    }
    return m_data->items[index];
}

CCObject* CCArray::lastObject() const {
    return count() > 0 ? m_data->items[m_data->count - 1] : nullptr;
}

void CCArray::addObject(CCObject* object) {
    if (object == nullptr) return;
    if (m_data == nullptr && !init()) return;
    appendArrayDataObjectWithResize(m_data, object);
}

void CCArray::insertObjectAtIndex(CCObject* object, unsigned index) {
    if (object == nullptr) return;
    if (m_data == nullptr && !init()) return;
    insertArrayDataObjectAtIndex(m_data, object, index);
}

unsigned CCArray::indexOfObject(const CCObject* object) const {
    return m_data != nullptr ? indexOfArrayDataObject(m_data, object) : kNotFound;
}

bool CCArray::containsObject(const CCObject* object) const {
    return indexOfObject(object) != kNotFound;
}

void CCArray::removeObject(CCObject* object) {
    if (m_data != nullptr) removeObjectFromArrayData(m_data, object);
}

void CCArray::removeObjectAtIndex(unsigned index) {
    if (m_data == nullptr) return;
    removeArrayDataObjectAtIndex(m_data, index);
}

void CCArray::removeAllObjects() {
    if (m_data != nullptr) removeAllArrayDataObjects(m_data);
}

} // namespace kvengine
