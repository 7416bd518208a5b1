#include "engine/base/CCAutoreleasePoolStack.h"

namespace kvengine {

namespace {
bool g_stackDestroyed = false;
} // namespace

bool CCAutoreleasePoolStack::isAlive() {
    return !g_stackDestroyed;
}

CCAutoreleasePoolStack& CCAutoreleasePoolStack::getInstance() {
    static CCAutoreleasePoolStack stack;
    return stack;
}

CCAutoreleasePoolStack::CCAutoreleasePoolStack() : m_pools(new CCMutableArray<CCAutoreleasePool*>()) {}

CCAutoreleasePoolStack::~CCAutoreleasePoolStack() {
    clearAllPools();
    m_current = nullptr;
    delete m_pools;
    m_pools = nullptr;
    g_stackDestroyed = true;
}

void CCAutoreleasePoolStack::push() {
    auto* pool = new CCAutoreleasePool();
    m_current = pool;
    m_pools->addObject(pool);
    pool->release(); // the pools array is its only owner
}

void CCAutoreleasePoolStack::pop() {
    if (m_current == nullptr) return;
    unsigned n = m_pools->count();
    m_current->clear();
    if (n <= 1) return;
    // The drain may have pushed pools of its own; drop exactly the top one.
    m_current = nullptr;
    m_pools->removeObjectAtIndex(m_pools->count() - 1);
    m_current = m_pools->lastObject();
}

CCAutoreleasePool* CCAutoreleasePoolStack::getCurrentPool() {
    if (m_current == nullptr) push();
    return m_current;
}

void CCAutoreleasePoolStack::addObject(CCObject* object) {
    getCurrentPool()->addObject(object);
}

void CCAutoreleasePoolStack::removeObject(CCObject* object) {
    // Late destructors during program exit may run after the pools are gone.
    if (m_current != nullptr) m_current->removeObject(object);
}

void CCAutoreleasePoolStack::clearAllPools() {
    if (m_pools == nullptr) return;
    for (unsigned i = 0; i < m_pools->count(); ++i)
        m_pools->objectAtIndex(i)->clear();
}

} // namespace kvengine
