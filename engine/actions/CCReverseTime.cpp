#include "engine/actions/CCReverseTime.h"

#include "engine/actions/CCActionCopy.h"
#include "engine/base/CCLog.h"

namespace kvengine {

CCReverseTime::~CCReverseTime() {
    if (m_other != nullptr) m_other->release();
}

CCReverseTime* CCReverseTime::createWithAction(CCFiniteTimeAction* action) {
    CCReverseTime* reversed = new CCReverseTime();
    if (!reversed->initWithAction(action)) {
        reversed->release();
        return nullptr;
    }
    reversed->autorelease();
    return reversed;
}

bool CCReverseTime::initWithAction(CCFiniteTimeAction* action) {
    if (action == nullptr) {
        logDebugMessage("CCReverseTime: no action to reverse");
        return false;
    }
    initWithDuration(action->getDuration());
    action->retain();
    if (m_other != nullptr) m_other->release();
    m_other = action;
    return true;
}

void CCReverseTime::startWithTarget(CCNode* target) {
    CCActionInterval::startWithTarget(target);
    if (m_other != nullptr) m_other->startWithTarget(target);
}

void CCReverseTime::stop() {
    if (m_other != nullptr) m_other->stop();
    CCActionInterval::stop();
}

void CCReverseTime::update(float t) {
    if (m_other != nullptr) m_other->update(1.0f - t);
}

CCFiniteTimeAction* CCReverseTime::reverse() {
    if (m_other == nullptr) return nullptr;
    return static_cast<CCFiniteTimeAction*>(m_other->copy()->autorelease());
}

CCObject* CCReverseTime::copyInto(CCCopyHolder* holder) {
    CCReverseTime* copy = detail::copyObjectFor<CCReverseTime>(holder);
    CCCopyHolder inner{copy};
    CCActionInterval::copyInto(&inner);
    if (m_other != nullptr)
        copy->initWithAction(static_cast<CCFiniteTimeAction*>(m_other->copy()->autorelease()));
    return copy;
}

} // namespace kvengine
