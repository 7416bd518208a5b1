#include "engine/actions/CCSpawn.h"

#include "engine/actions/CCActionCopy.h"
#include "engine/actions/CCDelayTime.h"
#include "engine/actions/CCSequence.h"
#include "engine/base/CCLog.h"
#include "engine/base/CCRetained.h"

namespace kvengine {

CCSpawn::~CCSpawn() {
    if (m_first != nullptr) m_first->release();
    if (m_second != nullptr) m_second->release();
}

CCSpawn* CCSpawn::createWithTwoActions(CCFiniteTimeAction* first, CCFiniteTimeAction* second) {
    return ccCreate<CCSpawn>([&](CCSpawn* made) { return made->initWithTwoActions(first, second); });
}

CCFiniteTimeAction* CCSpawn::createWithActionList(CCFiniteTimeAction* const* actions, size_t count) {
    if (actions == nullptr || count == 0 || actions[0] == nullptr) return nullptr;
    CCFiniteTimeAction* result = actions[0];
    for (size_t i = 1; i < count && actions[i] != nullptr; ++i) {
        result = createWithTwoActions(result, actions[i]);
    }
    return result;
}

bool CCSpawn::initWithTwoActions(CCFiniteTimeAction* first, CCFiniteTimeAction* second) {
    if (first == nullptr || second == nullptr) {
        logDebugMessage("CCSpawn: both actions are required");
        return false;
    }
    float d1 = first->getDuration();
    float d2 = second->getDuration();
    initWithDuration(d1 > d2 ? d1 : d2);
    if (d1 > d2) {
        second = CCSequence::createWithTwoActions(second, CCDelayTime::createWithDuration(d1 - d2));
    } else if (d1 < d2) {
        first = CCSequence::createWithTwoActions(first, CCDelayTime::createWithDuration(d2 - d1));
    }
    first->retain();
    second->retain();
    if (m_first != nullptr) m_first->release();
    if (m_second != nullptr) m_second->release();
    m_first = first;
    m_second = second;
    return true;
}

void CCSpawn::startWithTarget(CCNode* target) {
    CCActionInterval::startWithTarget(target);
    if (m_first != nullptr) m_first->startWithTarget(target);
    if (m_second != nullptr) m_second->startWithTarget(target);
}

void CCSpawn::stop() {
    if (m_first != nullptr) m_first->stop();
    if (m_second != nullptr) m_second->stop();
    CCActionInterval::stop();
}

void CCSpawn::update(float t) {
    if (m_first != nullptr) m_first->update(t);
    if (m_second != nullptr) m_second->update(t);
}

CCFiniteTimeAction* CCSpawn::reverse() {
    if (m_first == nullptr || m_second == nullptr) return nullptr;
    CCFiniteTimeAction* first = m_first->reverse();
    CCFiniteTimeAction* second = m_second->reverse();
    if (first == nullptr || second == nullptr) {
        logDebugMessage("CCSpawn: a child has no reverse");
        return nullptr;
    }
    return createWithTwoActions(first, second);
}

CCObject* CCSpawn::copyInto(CCCopyHolder* holder) {
    CCSpawn* copy = detail::copyObjectFor<CCSpawn>(holder);
    CCCopyHolder inner{copy};
    CCActionInterval::copyInto(&inner);
    if (m_first == nullptr || m_second == nullptr) return copy;
    copy->initWithTwoActions(static_cast<CCFiniteTimeAction*>(m_first->copy()->autorelease()),
                             static_cast<CCFiniteTimeAction*>(m_second->copy()->autorelease()));
    return copy;
}

} // namespace kvengine
