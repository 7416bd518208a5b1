#include "engine/actions/CCSequence.h"

#include "engine/actions/CCActionCopy.h"
#include "engine/base/CCLog.h"

namespace kvengine {

CCSequence::~CCSequence() {
    for (CCFiniteTimeAction* action : m_actions) {
        if (action != nullptr) action->release();
    }
}

CCSequence* CCSequence::createWithTwoActions(CCFiniteTimeAction* first, CCFiniteTimeAction* second) {
    if (first == nullptr || second == nullptr) {
        logDebugMessage("CCSequence: both actions are required");
        return nullptr;
    }
    CCSequence* sequence = new CCSequence();
    sequence->initWithTwoActions(first, second);
    sequence->autorelease();
    return sequence;
}

CCFiniteTimeAction* CCSequence::createWithActionList(CCFiniteTimeAction* const* actions, size_t count) {
    if (actions == nullptr || count == 0 || actions[0] == nullptr) return nullptr;
    CCFiniteTimeAction* result = actions[0];
    for (size_t i = 1; i < count && actions[i] != nullptr; ++i) {
        result = createWithTwoActions(result, actions[i]);
    }
    return result;
}

bool CCSequence::initWithTwoActions(CCFiniteTimeAction* first, CCFiniteTimeAction* second) {
    if (first == nullptr || second == nullptr) {
        logDebugMessage("CCSequence: both actions are required");
        return false;
    }
    initWithDuration(first->getDuration() + second->getDuration());
    first->retain();
    second->retain();
    for (CCFiniteTimeAction* old : m_actions) {
        if (old != nullptr) old->release();
    }
    m_actions[0] = first;
    m_actions[1] = second;
    return true;
}

void CCSequence::startWithTarget(CCNode* target) {
    CCActionInterval::startWithTarget(target);
    if (!hasActions()) return;
    m_split = m_actions[0]->getDuration() / getDuration();
    m_lastHalf = -1;
}

void CCSequence::stop() {
    if (hasActions()) {
        m_actions[0]->stop();
        m_actions[1]->stop();
    }
    CCActionInterval::stop();
}

void CCSequence::update(float t) {
    if (!hasActions()) return;
    int half;
    float local;
    if (t >= m_split) {
        half = 1;
        local = (m_split == 1.0f) ? 1.0f : (t - m_split) / (1.0f - m_split);
    } else {
        half = 0;
        local = (m_split == 0.0f) ? 1.0f : t / m_split;
    }

    CCNode* target = getTarget();
    if (m_lastHalf == -1 && half == 1) {
        // The first update already lands in the second half: run the first action to its end.
        m_actions[0]->startWithTarget(target);
        m_actions[0]->update(1.0f);
        m_actions[0]->stop();
    }
    if (m_lastHalf != half) {
        if (m_lastHalf != -1) {
            m_actions[m_lastHalf]->update(1.0f);
            m_actions[m_lastHalf]->stop();
        }
        m_actions[half]->startWithTarget(target);
    }
    m_actions[half]->update(local);
    m_lastHalf = half;
}

CCFiniteTimeAction* CCSequence::reverse() {
    if (!hasActions()) return nullptr;
    CCFiniteTimeAction* second = m_actions[1]->reverse();
    CCFiniteTimeAction* first = m_actions[0]->reverse();
    if (first == nullptr || second == nullptr) {
        logDebugMessage("CCSequence: a child has no reverse");
        return nullptr;
    }
    return createWithTwoActions(second, first);
}

CCObject* CCSequence::copyInto(CCCopyHolder* holder) {
    CCSequence* copy = detail::copyObjectFor<CCSequence>(holder);
    CCCopyHolder inner{copy};
    CCActionInterval::copyInto(&inner);
    if (!hasActions()) return copy;
    CCFiniteTimeAction* first = static_cast<CCFiniteTimeAction*>(m_actions[0]->copy()->autorelease());
    CCFiniteTimeAction* second = static_cast<CCFiniteTimeAction*>(m_actions[1]->copy()->autorelease());
    copy->initWithTwoActions(first, second);
    return copy;
}

} // namespace kvengine
