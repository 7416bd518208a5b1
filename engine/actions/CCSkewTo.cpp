#include "engine/actions/CCSkewTo.h"

#include <cmath>

#include "engine/actions/CCActionCopy.h"
#include "engine/base/CCRetained.h"
#include "engine/nodes/CCNode.h"

namespace kvengine {

namespace {

// The shortest signed way from one angle to another, as the rotate-to action turns.
float wrapDifference(float difference) {
    if (difference > 180.0f) difference -= 360.0f;
    if (difference < -180.0f) difference += 360.0f;
    return difference;
}

} // namespace

CCSkewTo* CCSkewTo::createWithDurationSkew(float seconds, float skewX, float skewY) {
    CCSkewTo* skew = new CCSkewTo();
    skew->initWithDuration(seconds, skewX, skewY);
    skew->autorelease();
    return skew;
}

bool CCSkewTo::initWithDuration(float seconds, float skewX, float skewY) {
    CCActionInterval::initWithDuration(seconds);
    m_endSkewX = skewX;
    m_endSkewY = skewY;
    return true;
}

void CCSkewTo::startWithTarget(CCNode* target) {
    CCActionInterval::startWithTarget(target);
    if (target == nullptr) return;
    float x = target->getSkewX();
    m_startSkewX = x > 0.0f ? std::fmod(x, 180.0f) : std::fmod(x, -180.0f);
    m_deltaX = wrapDifference(m_endSkewX - m_startSkewX);
    float y = target->getSkewY();
    m_startSkewY = y > 0.0f ? std::fmod(y, 360.0f) : std::fmod(y, -360.0f);
    m_deltaY = wrapDifference(m_endSkewY - m_startSkewY);
}

void CCSkewTo::update(float t) {
    CCNode* target = getTarget();
    if (target == nullptr) return;
    target->setSkewX(m_startSkewX + m_deltaX * t);
    target->setSkewY(m_startSkewY + m_deltaY * t);
}

CCObject* CCSkewTo::copyInto(CCCopyHolder* holder) {
    CCSkewTo* copy = detail::copyObjectFor<CCSkewTo>(holder);
    CCCopyHolder inner{copy};
    CCActionInterval::copyInto(&inner);
    copy->CCSkewTo::initWithDuration(getDuration(), m_endSkewX, m_endSkewY);
    return copy;
}

CCSkewBy* CCSkewBy::createWithDurationSkew(float seconds, float deltaX, float deltaY) {
    return ccCreate<CCSkewBy>(
        [&](CCSkewBy* made) { return made->initWithDuration(seconds, deltaX, deltaY); });
}

bool CCSkewBy::initWithDuration(float seconds, float deltaX, float deltaY) {
    if (!CCSkewTo::initWithDuration(seconds, deltaX, deltaY)) return false;
    m_skewX = deltaX;
    m_skewY = deltaY;
    return true;
}

void CCSkewBy::startWithTarget(CCNode* target) {
    CCSkewTo::startWithTarget(target);
    m_deltaX = m_skewX;
    m_deltaY = m_skewY;
    m_endSkewX = m_startSkewX + m_deltaX;
    m_endSkewY = m_startSkewY + m_deltaY;
}

CCFiniteTimeAction* CCSkewBy::reverse() {
    return createWithDurationSkew(getDuration(), -m_skewX, -m_skewY);
}

CCObject* CCSkewBy::copyInto(CCCopyHolder* holder) {
    CCSkewBy* copy = detail::copyObjectFor<CCSkewBy>(holder);
    CCCopyHolder inner{copy};
    CCActionInterval::copyInto(&inner);
    copy->initWithDuration(getDuration(), m_skewX, m_skewY);
    return copy;
}

} // namespace kvengine
