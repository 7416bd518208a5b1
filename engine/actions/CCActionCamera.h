#pragma once

#include "engine/actions/CCAction.h"

namespace kvengine {

/// Base of the actions that move the camera of their node instead of the node itself.
/// At start it records the camera's centre, eye (points) and up vector.
class CCActionCamera : public CCActionInterval {
public:
    void startWithTarget(CCNode* target) override;
    /// A time reversal of this very action.
    CCFiniteTimeAction* reverse() override;

protected:
    float m_centerXOrig = 0.0f;
    float m_centerYOrig = 0.0f;
    float m_centerZOrig = 0.0f;
    float m_eyeXOrig = 0.0f;
    float m_eyeYOrig = 0.0f;
    float m_eyeZOrig = 0.0f;
    float m_upXOrig = 0.0f;
    float m_upYOrig = 0.0f;
    float m_upZOrig = 0.0f;
};

/// Moves the camera's eye over a sphere about (0, 0, 0): the radius (in units of the camera's
/// z eye) and two angles in degrees (angle z from the z axis, angle x around it) each change by
/// their delta over the duration. A radius or start angle given as NaN is measured from the
/// camera at the first start and kept from then on.
class CCOrbitCamera : public CCActionCamera {
public:
    static CCOrbitCamera* createWithDurationRadiusAngles(float seconds, float radius, float deltaRadius,
                                                         float angleZ, float deltaAngleZ, float angleX,
                                                         float deltaAngleX);
    bool initWithDuration(float seconds, float radius, float deltaRadius, float angleZ, float deltaAngleZ,
                          float angleX, float deltaAngleX);

    /// The camera's eye relative to its centre as (radius in z-eye units, zenith, azimuth), the
    /// angles in radians. A zero length is taken as FLT_EPSILON, so nothing divides by zero.
    void measureSpherical(float* radius, float* zenith, float* azimuth) const;

    void startWithTarget(CCNode* target) override;
    void update(float t) override;
    CCObject* copyInto(CCCopyHolder* holder) override;

    float getRadius() const { return m_radius; }
    float getAngleZ() const { return m_angleZ; }
    float getAngleX() const { return m_angleX; }

private:
    using CCActionInterval::initWithDuration;

    float m_radius = 0.0f;
    float m_deltaRadius = 0.0f;
    float m_angleZ = 0.0f;
    float m_deltaAngleZ = 0.0f;
    float m_angleX = 0.0f;
    float m_deltaAngleX = 0.0f;
    float m_radZ = 0.0f;
    float m_radDeltaZ = 0.0f;
    float m_radX = 0.0f;
    float m_radDeltaX = 0.0f;
};

} // namespace kvengine
