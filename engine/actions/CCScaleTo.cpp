#include "engine/actions/CCScaleTo.h"

#include "engine/actions/CCActionCopy.h"
#include "engine/nodes/CCNode.h"

namespace kvengine {

CCScaleTo* CCScaleTo::createWithDurationScale(float seconds, float scale) {
    return createWithDurationScaleXY(seconds, scale, scale);
}

CCScaleTo* CCScaleTo::createWithDurationScaleXY(float seconds, float scaleX, float scaleY) {
    CCScaleTo* scale = new CCScaleTo();
    scale->initWithDurationScaleXY(seconds, scaleX, scaleY);
    scale->autorelease();
    return scale;
}

bool CCScaleTo::initWithDurationScaleXY(float seconds, float scaleX, float scaleY) {
    initWithDuration(seconds);
    m_endScaleX = scaleX;
    m_endScaleY = scaleY;
    return true;
}

void CCScaleTo::startWithTarget(CCNode* target) {
    CCActionInterval::startWithTarget(target);
    if (target == nullptr) return;
    m_startScaleX = target->getScaleX();
    m_startScaleY = target->getScaleY();
    m_deltaX = m_endScaleX - m_startScaleX;
    m_deltaY = m_endScaleY - m_startScaleY;
}

void CCScaleTo::update(float t) {
    CCNode* target = getTarget();
    if (target == nullptr) return;
    target->setScaleX(m_startScaleX + m_deltaX * t);
    target->setScaleY(m_startScaleY + m_deltaY * t);
}

CCObject* CCScaleTo::copyInto(CCCopyHolder* holder) {
    CCScaleTo* copy = detail::copyObjectFor<CCScaleTo>(holder);
    CCCopyHolder inner{copy};
    CCActionInterval::copyInto(&inner);
    copy->initWithDurationScaleXY(getDuration(), m_endScaleX, m_endScaleY);
    return copy;
}

CCScaleBy* CCScaleBy::createWithDurationScale(float seconds, float factor) {
    return createWithDurationScaleXY(seconds, factor, factor);
}

CCScaleBy* CCScaleBy::createWithDurationScaleXY(float seconds, float factorX, float factorY) {
    CCScaleBy* scale = new CCScaleBy();
    scale->initWithDurationScaleXY(seconds, factorX, factorY);
    scale->autorelease();
    return scale;
}

void CCScaleBy::startWithTarget(CCNode* target) {
    CCScaleTo::startWithTarget(target);
    if (target == nullptr) return;
    // The end scales hold the factors here.
    m_deltaX = m_startScaleX * m_endScaleX - m_startScaleX;
    m_deltaY = m_startScaleY * m_endScaleY - m_startScaleY;
}

CCFiniteTimeAction* CCScaleBy::reverse() {
    return createWithDurationScaleXY(getDuration(), 1.0f / m_endScaleX, 1.0f / m_endScaleY);
}

CCObject* CCScaleBy::copyInto(CCCopyHolder* holder) {
    CCScaleBy* copy = detail::copyObjectFor<CCScaleBy>(holder);
    CCCopyHolder inner{copy};
    CCScaleTo::copyInto(&inner);
    return copy;
}

} // namespace kvengine
