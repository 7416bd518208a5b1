#include "engine/base/CCObject.h"

#include "engine/base/CCAutoreleasePoolStack.h"
#include "engine/base/CCLog.h"
#include "engine/base/CCNotificationCenter.h"

namespace kvengine {

namespace {
// Ids are never reused; the counter wraps at 2^32.
std::uint32_t g_objectCounter = 0;
} // namespace

CCObject::CCObject() : m_objectId(++g_objectCounter) {}

CCObject::~CCObject() {
    // An observer that forgot to unregister must never be called after its death.
    if (m_observing) CCNotificationCenter::observerDestroyed(this);
    // A pool may still list this object; forget that entry so the drain never touches freed memory.
    if (m_managed && CCAutoreleasePoolStack::isAlive())
        CCAutoreleasePoolStack::getInstance().removeObject(this);
}

CCObject* CCObject::copyInto(CCCopyHolder* holder) {
    (void)holder;
    return nullptr;
}

void CCObject::retain() {
    ++m_referenceCount;
}

void CCObject::release() {
    if (m_referenceCount == 0) {
        logDebugMessage("CCObject::release: object %u released with no owner left", m_objectId);
        return;
    }
    if (--m_referenceCount == 0) {
        cleanupBeforeDelete();
        delete this;
    }
}

CCObject* CCObject::autorelease() {
    if (!CCAutoreleasePoolStack::isAlive()) {
        // Program exit has drained and destroyed the pools: the reference is kept, not dropped.
        logDebugMessage("CCObject::autorelease: no pools left at program exit");
        return this;
    }
    CCAutoreleasePoolStack::getInstance().addObject(this);
    m_managed = true;
    return this;
}

CCObject* CCObject::copy() {
    return copyInto(nullptr);
}

} // namespace kvengine
