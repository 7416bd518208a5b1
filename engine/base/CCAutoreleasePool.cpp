#include "engine/base/CCAutoreleasePool.h"

#include <vector>

namespace kvengine {

CCAutoreleasePool::CCAutoreleasePool() : m_objects(new CCMutableArray<CCObject*>()) {}

CCAutoreleasePool::~CCAutoreleasePool() {
    // Deleted directly, not released: the array is part of the pool.
    delete m_objects;
}

void CCAutoreleasePool::addObject(CCObject* object) {
    if (object == nullptr) return;
    m_objects->addObject(object);
    object->release();
}

void CCAutoreleasePool::removeObject(CCObject* object) {
    m_objects->removeObject(object, false);
}

void CCAutoreleasePool::clear() {
    while (m_objects->count() > 0) {
        std::vector<CCObject*> batch(m_objects->begin(), m_objects->end());
        // Cleared before any release: the destructors must not search this pool for objects
        // that the batch already owns.
        for (CCObject* object : batch)
            object->m_managed = false;
        // The array gives up its slots without releasing; the batch owns those references now.
        m_objects->clearStorage();
        for (CCObject* object : batch)
            object->release();
    }
}

} // namespace kvengine
