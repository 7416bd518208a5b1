#include "engine/actions/CCActionCamera.h"

#include <cfloat>
#include <cmath>

#include "engine/actions/CCActionCopy.h"
#include "engine/actions/CCReverseTime.h"
#include "engine/director/CCCamera.h"
#include "engine/nodes/CCNode.h"

namespace kvengine {

namespace {

constexpr float kDegreesToRadians = 0.017453292f;
constexpr float kRadiansToDegrees = 57.29578f;
constexpr float kPi = 3.1415927f;

} // namespace

void CCActionCamera::startWithTarget(CCNode* target) {
    CCActionInterval::startWithTarget(target);
    if (target == nullptr) return;
    CCCamera* camera = target->getCamera();
    if (camera == nullptr) return;
    camera->getCenterXYZ(&m_centerXOrig, &m_centerYOrig, &m_centerZOrig);
    camera->getEyeXYZ(&m_eyeXOrig, &m_eyeYOrig, &m_eyeZOrig);
    camera->getUpXYZ(&m_upXOrig, &m_upYOrig, &m_upZOrig);
}

CCFiniteTimeAction* CCActionCamera::reverse() {
    return CCReverseTime::createWithAction(this);
}

CCOrbitCamera* CCOrbitCamera::createWithDurationRadiusAngles(float seconds, float radius, float deltaRadius,
                                                             float angleZ, float deltaAngleZ, float angleX,
                                                             float deltaAngleX) {
    CCOrbitCamera* orbit = new CCOrbitCamera();
    if (!orbit->initWithDuration(seconds, radius, deltaRadius, angleZ, deltaAngleZ, angleX, deltaAngleX)) {
        orbit->release();
        return nullptr;
    }
    orbit->autorelease();
    return orbit;
}

bool CCOrbitCamera::initWithDuration(float seconds, float radius, float deltaRadius, float angleZ,
                                     float deltaAngleZ, float angleX, float deltaAngleX) {
    CCActionInterval::initWithDuration(seconds);
    m_radius = radius;
    m_deltaRadius = deltaRadius;
    m_angleZ = angleZ;
    m_deltaAngleZ = deltaAngleZ;
    m_angleX = angleX;
    m_deltaAngleX = deltaAngleX;
    m_radDeltaZ = deltaAngleZ * kDegreesToRadians;
    m_radDeltaX = deltaAngleX * kDegreesToRadians;
    return true;
}

void CCOrbitCamera::measureSpherical(float* radius, float* zenith, float* azimuth) const {
    float ex = 0, ey = 0, ez = 0, cx = 0, cy = 0, cz = 0;
    CCNode* target = getTarget();
    CCCamera* camera = target != nullptr ? target->getCamera() : nullptr;
    if (camera != nullptr) {
        camera->getEyeXYZ(&ex, &ey, &ez);
        camera->getCenterXYZ(&cx, &cy, &cz);
    }
    float x = ex - cx;
    float y = ey - cy;
    float z = ez - cz;
    float r = std::sqrt(x * x + y * y + z * z);
    float s = std::sqrt(x * x + y * y);
    if (s == 0.0f) s = FLT_EPSILON;
    if (r == 0.0f) r = FLT_EPSILON;
    *zenith = std::acos(z / r);
    *azimuth = x < 0.0f ? kPi - std::asin(y / s) : std::asin(y / s);
    *radius = r / CCCamera::getZEye();
}

void CCOrbitCamera::startWithTarget(CCNode* target) {
    // Only the interval part: the orbit is about (0, 0, 0), the centre of an unmoved camera.
    CCActionInterval::startWithTarget(target);
    float radius = 0, zenith = 0, azimuth = 0;
    measureSpherical(&radius, &zenith, &azimuth);
    if (std::isnan(m_radius)) m_radius = radius;
    if (std::isnan(m_angleZ)) m_angleZ = zenith * kRadiansToDegrees;
    if (std::isnan(m_angleX)) m_angleX = azimuth * kRadiansToDegrees;
    m_radZ = m_angleZ * kDegreesToRadians;
    m_radX = m_angleX * kDegreesToRadians;
}

void CCOrbitCamera::update(float t) {
    CCNode* target = getTarget();
    if (target == nullptr) return;
    CCCamera* camera = target->getCamera();
    if (camera == nullptr) return;
    float r = (m_radius + m_deltaRadius * t) * CCCamera::getZEye();
    float za = m_radZ + m_radDeltaZ * t;
    float xa = m_radX + m_radDeltaX * t;
    float eyeX = std::sin(za) * std::cos(xa) * r + m_centerXOrig;
    float eyeY = std::sin(za) * std::sin(xa) * r + m_centerYOrig;
    float eyeZ = std::cos(za) * r + m_centerZOrig;
    camera->setEyeXYZ(eyeX, eyeY, eyeZ);
}

CCObject* CCOrbitCamera::copyInto(CCCopyHolder* holder) {
    CCOrbitCamera* copy = detail::copyObjectFor<CCOrbitCamera>(holder);
    CCCopyHolder inner{copy};
    CCActionInterval::copyInto(&inner);
    copy->initWithDuration(getDuration(), m_radius, m_deltaRadius, m_angleZ, m_deltaAngleZ, m_angleX,
                           m_deltaAngleX);
    return copy;
}

} // namespace kvengine
