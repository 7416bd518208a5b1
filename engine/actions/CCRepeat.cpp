#include "engine/actions/CCRepeat.h"

#include <cmath>

#include "engine/actions/CCActionCopy.h"
#include "engine/base/CCLog.h"
#include "engine/base/CCRetained.h"

namespace kvengine {

CCRepeat::~CCRepeat() {
    if (m_inner != nullptr) m_inner->release();
}

CCRepeat* CCRepeat::createWithActionTimes(CCFiniteTimeAction* action, unsigned int times) {
    CCRepeat* repeat = new CCRepeat();
    repeat->initWithActionTimes(action, times);
    repeat->autorelease();
    return repeat;
}

bool CCRepeat::initWithActionTimes(CCFiniteTimeAction* action, unsigned int times) {
    float duration = action != nullptr ? action->getDuration() * static_cast<float>(times) : 0.0f;
    initWithDuration(duration);
    m_times = times;
    if (action != nullptr) action->retain();
    if (m_inner != nullptr) m_inner->release();
    m_inner = action;
    m_done = 0;
    return true;
}

void CCRepeat::startWithTarget(CCNode* target) {
    m_done = 0;
    CCActionInterval::startWithTarget(target);
    if (m_inner != nullptr) m_inner->startWithTarget(target);
}

void CCRepeat::stop() {
    if (m_inner != nullptr) m_inner->stop();
    CCActionInterval::stop();
}

void CCRepeat::update(float t) {
    float x = t * static_cast<float>(m_times);
    if (x > static_cast<float>(m_done) + 1.0f) {
        // A repetition ended: finish it, count it, and start the next one from its beginning.
        if (m_inner != nullptr) m_inner->update(1.0f);
        ++m_done;
        if (m_inner != nullptr) {
            m_inner->stop();
            m_inner->startWithTarget(getTarget());
            if (m_done == m_times) {
                m_inner->update(0.0f);
            } else {
                // Only one repetition is counted per update. When a frame skipped whole
                // repetitions the remainder would be above 1; the inner action is never driven
                // past its end, the remaining repetitions follow in the next updates.
                float rest = x - static_cast<float>(m_done);
                m_inner->update(rest < 1.0f ? rest : 1.0f);
            }
        }
        return;
    }
    float r = std::fmod(x, 1.0f);
    if (t == 1.0f) {
        r = 1.0f;
        ++m_done;
    } else if (r == 0.0f && x == static_cast<float>(m_done) + 1.0f) {
        // The repetition ends exactly on this update: show its end, not its start again.
        // The restart follows at the next update that passes this point.
        r = 1.0f;
    }
    if (m_inner != nullptr) m_inner->update(r < 1.0f ? r : 1.0f);
}

bool CCRepeat::isDone() {
    return m_done >= m_times;
}

CCFiniteTimeAction* CCRepeat::reverse() {
    CCFiniteTimeAction* inner = m_inner != nullptr ? m_inner->reverse() : nullptr;
    if (m_inner != nullptr && inner == nullptr) {
        logDebugMessage("CCRepeat: the repeated action has no reverse");
        return nullptr;
    }
    return createWithActionTimes(inner, m_times);
}

CCObject* CCRepeat::copyInto(CCCopyHolder* holder) {
    CCRepeat* copy = detail::copyObjectFor<CCRepeat>(holder);
    CCCopyHolder inner{copy};
    CCActionInterval::copyInto(&inner);
    CCFiniteTimeAction* innerCopy =
        m_inner != nullptr ? static_cast<CCFiniteTimeAction*>(m_inner->copy()->autorelease()) : nullptr;
    copy->initWithActionTimes(innerCopy, m_times);
    return copy;
}

CCRepeatForever::~CCRepeatForever() {
    if (m_inner != nullptr) m_inner->release();
}

CCRepeatForever* CCRepeatForever::createWithAction(CCActionInterval* action) {
    return ccCreate<CCRepeatForever>([&](CCRepeatForever* made) { return made->initWithAction(action); });
}

bool CCRepeatForever::initWithAction(CCActionInterval* action) {
    if (action == nullptr) {
        logDebugMessage("CCRepeatForever: no action to repeat");
        return false;
    }
    action->retain();
    if (m_inner != nullptr) m_inner->release();
    m_inner = action;
    return true;
}

void CCRepeatForever::startWithTarget(CCNode* target) {
    CCActionInterval::startWithTarget(target);
    if (m_inner != nullptr) m_inner->startWithTarget(target);
}

void CCRepeatForever::step(float dt) {
    if (m_inner == nullptr) return;
    m_inner->step(dt);
    if (m_inner->isDone()) {
        float carry = m_inner->getDuration() + dt - m_inner->getElapsed();
        m_inner->startWithTarget(getTarget());
        // The first step after a start drops its delta: the loop begins at t = 0.
        m_inner->step(carry);
    }
}

CCFiniteTimeAction* CCRepeatForever::reverse() {
    if (m_inner == nullptr) return nullptr;
    CCActionInterval* inner = dynamic_cast<CCActionInterval*>(m_inner->reverse());
    if (inner == nullptr) {
        logDebugMessage("CCRepeatForever: the repeated action has no reverse");
        return nullptr;
    }
    return createWithAction(inner);
}

CCObject* CCRepeatForever::copyInto(CCCopyHolder* holder) {
    CCRepeatForever* copy = detail::copyObjectFor<CCRepeatForever>(holder);
    CCCopyHolder inner{copy};
    CCActionInterval::copyInto(&inner);
    if (m_inner != nullptr)
        copy->initWithAction(static_cast<CCActionInterval*>(m_inner->copy()->autorelease()));
    return copy;
}

} // namespace kvengine
