#include "engine/actions/CCBezierBy.h"

#include <cmath>

#include "engine/actions/CCActionCopy.h"
#include "engine/nodes/CCNode.h"

namespace kvengine {

float bezierAt(float a, float b, float c, float d, float t) {
    return std::pow(1.0f - t, 3.0f) * a + 3.0f * t * std::pow(1.0f - t, 2.0f) * b +
           3.0f * std::pow(t, 2.0f) * (1.0f - t) * c + std::pow(t, 3.0f) * d;
}

CCBezierBy* CCBezierBy::createWithDurationConfig(float seconds, const CCBezierPoints& path) {
    CCBezierBy* bezier = new CCBezierBy();
    bezier->initWithDurationConfig(seconds, path);
    bezier->autorelease();
    return bezier;
}

bool CCBezierBy::initWithDurationConfig(float seconds, const CCBezierPoints& path) {
    initWithDuration(seconds);
    m_path = path;
    return true;
}

void CCBezierBy::startWithTarget(CCNode* target) {
    CCActionInterval::startWithTarget(target);
    if (target != nullptr) m_startPosition = target->getPosition();
}

void CCBezierBy::update(float t) {
    CCNode* target = getTarget();
    if (target == nullptr) return;
    float x = bezierAt(0.0f, m_path.controlPoint1.x, m_path.controlPoint2.x, m_path.endPosition.x, t);
    float y = bezierAt(0.0f, m_path.controlPoint1.y, m_path.controlPoint2.y, m_path.endPosition.y, t);
    target->setPosition(CCPoint(m_startPosition.x + x, m_startPosition.y + y));
}

CCFiniteTimeAction* CCBezierBy::reverse() {
    const CCPoint& end = m_path.endPosition;
    CCBezierPoints back;
    back.endPosition = CCPoint(-end.x, -end.y);
    back.controlPoint1 = CCPoint(m_path.controlPoint2.x - end.x, m_path.controlPoint2.y - end.y);
    back.controlPoint2 = CCPoint(m_path.controlPoint1.x - end.x, m_path.controlPoint1.y - end.y);
    return createWithDurationConfig(getDuration(), back);
}

CCObject* CCBezierBy::copyInto(CCCopyHolder* holder) {
    CCBezierBy* copy = detail::copyObjectFor<CCBezierBy>(holder);
    CCCopyHolder inner{copy};
    CCActionInterval::copyInto(&inner);
    copy->CCBezierBy::initWithDurationConfig(getDuration(), m_path);
    return copy;
}

CCBezierTo* CCBezierTo::createWithDurationConfig(float seconds, const CCBezierPoints& path) {
    CCBezierTo* bezier = new CCBezierTo();
    bezier->initWithDurationConfig(seconds, path);
    bezier->autorelease();
    return bezier;
}

bool CCBezierTo::initWithDurationConfig(float seconds, const CCBezierPoints& path) {
    CCBezierBy::initWithDurationConfig(seconds, path);
    m_absolutePath = path;
    return true;
}

void CCBezierTo::startWithTarget(CCNode* target) {
    CCBezierBy::startWithTarget(target);
    const CCPoint& s = m_startPosition;
    m_path.endPosition = CCPoint(m_absolutePath.endPosition.x - s.x, m_absolutePath.endPosition.y - s.y);
    m_path.controlPoint1 =
        CCPoint(m_absolutePath.controlPoint1.x - s.x, m_absolutePath.controlPoint1.y - s.y);
    m_path.controlPoint2 =
        CCPoint(m_absolutePath.controlPoint2.x - s.x, m_absolutePath.controlPoint2.y - s.y);
}

CCObject* CCBezierTo::copyInto(CCCopyHolder* holder) {
    CCBezierTo* copy = detail::copyObjectFor<CCBezierTo>(holder);
    CCCopyHolder inner{copy};
    CCActionInterval::copyInto(&inner);
    copy->initWithDurationConfig(getDuration(), m_absolutePath);
    return copy;
}

} // namespace kvengine
