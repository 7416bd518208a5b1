#include "engine/actions/CCRotateTo.h"

#include <cmath>

#include "engine/actions/CCActionCopy.h"
#include "engine/nodes/CCNode.h"

namespace kvengine {

CCRotateTo* CCRotateTo::createWithDurationAngle(float seconds, float degrees) {
    CCRotateTo* rotate = new CCRotateTo();
    rotate->initWithDuration(seconds, degrees);
    rotate->autorelease();
    return rotate;
}

bool CCRotateTo::initWithDuration(float seconds, float degrees) {
    CCActionInterval::initWithDuration(seconds);
    m_destinationAngle = degrees;
    return true;
}

void CCRotateTo::startWithTarget(CCNode* target) {
    CCActionInterval::startWithTarget(target);
    if (target == nullptr) return;
    float start = target->getRotation();
    m_startAngle = start > 0.0f ? std::fmod(start, 360.0f) : std::fmod(start, -360.0f);
    m_difference = m_destinationAngle - m_startAngle;
    // Strict tests: a difference of exactly +-180 keeps its sign.
    if (m_difference > 180.0f) m_difference -= 360.0f;
    if (m_difference < -180.0f) m_difference += 360.0f;
}

void CCRotateTo::update(float t) {
    CCNode* target = getTarget();
    if (target == nullptr) return;
    target->setRotation(m_startAngle + m_difference * t);
}

CCObject* CCRotateTo::copyInto(CCCopyHolder* holder) {
    CCRotateTo* copy = detail::copyObjectFor<CCRotateTo>(holder);
    CCCopyHolder inner{copy};
    CCActionInterval::copyInto(&inner);
    copy->initWithDuration(getDuration(), m_destinationAngle);
    return copy;
}

CCRotateBy* CCRotateBy::createWithDurationAngle(float seconds, float degrees) {
    CCRotateBy* rotate = new CCRotateBy();
    rotate->initWithDuration(seconds, degrees);
    rotate->autorelease();
    return rotate;
}

bool CCRotateBy::initWithDuration(float seconds, float degrees) {
    CCActionInterval::initWithDuration(seconds);
    m_angle = degrees;
    return true;
}

void CCRotateBy::startWithTarget(CCNode* target) {
    CCActionInterval::startWithTarget(target);
    if (target != nullptr) m_startAngle = target->getRotation();
}

void CCRotateBy::update(float t) {
    CCNode* target = getTarget();
    if (target == nullptr) return;
    target->setRotation(m_startAngle + m_angle * t);
}

CCFiniteTimeAction* CCRotateBy::reverse() {
    return createWithDurationAngle(getDuration(), -m_angle);
}

CCObject* CCRotateBy::copyInto(CCCopyHolder* holder) {
    CCRotateBy* copy = detail::copyObjectFor<CCRotateBy>(holder);
    CCCopyHolder inner{copy};
    CCActionInterval::copyInto(&inner);
    copy->initWithDuration(getDuration(), m_angle);
    return copy;
}

} // namespace kvengine
