#include "engine/actions/CCJumpBy.h"

#include <cmath>

#include "engine/actions/CCActionCopy.h"
#include "engine/nodes/CCNode.h"

namespace kvengine {

CCJumpBy* CCJumpBy::createWithDurationHeightJumps(float seconds, float height, unsigned int jumps,
                                                  const CCPoint& delta) {
    CCJumpBy* jump = new CCJumpBy();
    jump->initWithDuration(seconds, delta, height, jumps);
    jump->autorelease();
    return jump;
}

bool CCJumpBy::initWithDuration(float seconds, const CCPoint& delta, float height, unsigned int jumps) {
    CCActionInterval::initWithDuration(seconds);
    m_delta = delta;
    m_height = height;
    m_jumps = jumps;
    return true;
}

void CCJumpBy::startWithTarget(CCNode* target) {
    CCActionInterval::startWithTarget(target);
    if (target != nullptr) m_startPosition = target->getPosition();
}

void CCJumpBy::update(float t) {
    CCNode* target = getTarget();
    if (target == nullptr) return;
    // Phase within the current jump; the arc is a parabola peaking at the given height.
    float phase = std::fmod(t * static_cast<float>(m_jumps), 1.0f);
    float y = m_height * 4.0f * phase * (1.0f - phase) + m_delta.y * t;
    float x = m_delta.x * t;
    target->setPosition(CCPoint(m_startPosition.x + x, m_startPosition.y + y));
}

CCFiniteTimeAction* CCJumpBy::reverse() {
    return createWithDurationHeightJumps(getDuration(), m_height, m_jumps, CCPoint(-m_delta.x, -m_delta.y));
}

CCObject* CCJumpBy::copyInto(CCCopyHolder* holder) {
    CCJumpBy* copy = detail::copyObjectFor<CCJumpBy>(holder);
    CCCopyHolder inner{copy};
    CCActionInterval::copyInto(&inner);
    copy->CCJumpBy::initWithDuration(getDuration(), m_delta, m_height, m_jumps);
    return copy;
}

CCJumpTo* CCJumpTo::createWithDurationHeightJumps(float seconds, float height, unsigned int jumps,
                                                  const CCPoint& destination) {
    CCJumpTo* jump = new CCJumpTo();
    jump->initWithDuration(seconds, destination, height, jumps);
    jump->autorelease();
    return jump;
}

bool CCJumpTo::initWithDuration(float seconds, const CCPoint& destination, float height, unsigned int jumps) {
    CCJumpBy::initWithDuration(seconds, destination, height, jumps);
    m_destination = destination;
    return true;
}

void CCJumpTo::startWithTarget(CCNode* target) {
    CCJumpBy::startWithTarget(target);
    m_delta = CCPoint(m_destination.x - m_startPosition.x, m_destination.y - m_startPosition.y);
}

CCObject* CCJumpTo::copyInto(CCCopyHolder* holder) {
    CCJumpTo* copy = detail::copyObjectFor<CCJumpTo>(holder);
    CCCopyHolder inner{copy};
    CCActionInterval::copyInto(&inner);
    copy->initWithDuration(getDuration(), m_destination, m_height, m_jumps);
    return copy;
}

} // namespace kvengine
