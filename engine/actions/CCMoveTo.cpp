#include "engine/actions/CCMoveTo.h"

#include "engine/actions/CCActionCopy.h"
#include "engine/nodes/CCNode.h"

namespace kvengine {

CCMoveTo* CCMoveTo::createWithDurationPosition(float seconds, const CCPoint& position) {
    CCMoveTo* move = new CCMoveTo();
    move->initWithDurationPosition(seconds, position);
    move->autorelease();
    return move;
}

bool CCMoveTo::initWithDurationPosition(float seconds, const CCPoint& position) {
    initWithDuration(seconds);
    m_endPosition = position;
    return true;
}

void CCMoveTo::startWithTarget(CCNode* target) {
    CCActionInterval::startWithTarget(target);
    if (target == nullptr) return;
    m_startPosition = target->getPosition();
    m_delta = CCPoint(m_endPosition.x - m_startPosition.x, m_endPosition.y - m_startPosition.y);
}

void CCMoveTo::update(float t) {
    CCNode* target = getTarget();
    if (target == nullptr) return;
    target->setPosition(CCPoint(m_startPosition.x + m_delta.x * t, m_startPosition.y + m_delta.y * t));
}

CCObject* CCMoveTo::copyInto(CCCopyHolder* holder) {
    CCMoveTo* copy = detail::copyObjectFor<CCMoveTo>(holder);
    CCCopyHolder inner{copy};
    CCActionInterval::copyInto(&inner);
    copy->initWithDurationPosition(getDuration(), m_endPosition);
    return copy;
}

CCMoveBy* CCMoveBy::createWithDurationPosition(float seconds, const CCPoint& delta) {
    CCMoveBy* move = new CCMoveBy();
    move->initWithDurationPosition(seconds, delta);
    move->autorelease();
    return move;
}

bool CCMoveBy::initWithDurationPosition(float seconds, const CCPoint& delta) {
    initWithDuration(seconds);
    m_delta = delta;
    return true;
}

void CCMoveBy::startWithTarget(CCNode* target) {
    // The base start would replace the delta with end - start; keep the given one.
    CCPoint delta = m_delta;
    CCMoveTo::startWithTarget(target);
    m_delta = delta;
}

CCFiniteTimeAction* CCMoveBy::reverse() {
    return createWithDurationPosition(getDuration(), CCPoint(-m_delta.x, -m_delta.y));
}

CCObject* CCMoveBy::copyInto(CCCopyHolder* holder) {
    CCMoveBy* copy = detail::copyObjectFor<CCMoveBy>(holder);
    CCCopyHolder inner{copy};
    CCMoveTo::copyInto(&inner);
    copy->initWithDurationPosition(getDuration(), m_delta);
    return copy;
}

} // namespace kvengine
