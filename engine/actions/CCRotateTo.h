#pragma once

#include "engine/actions/CCAction.h"

namespace kvengine {

/// Turns its node to an angle (degrees) the short way round. The rotation it leaves is not
/// reduced: from 350 to 10 the node turns by +20 and ends at 370.
class CCRotateTo : public CCActionInterval {
public:
    static CCRotateTo* createWithDurationAngle(float seconds, float degrees);
    bool initWithDuration(float seconds, float degrees);

    void startWithTarget(CCNode* target) override;
    void update(float t) override;
    CCObject* copyInto(CCCopyHolder* holder) override;

private:
    using CCActionInterval::initWithDuration;

    float m_destinationAngle = 0.0f;
    float m_startAngle = 0.0f;
    float m_difference = 0.0f;
};

/// Turns its node by an angle (degrees) from its rotation at start.
class CCRotateBy : public CCActionInterval {
public:
    static CCRotateBy* createWithDurationAngle(float seconds, float degrees);
    bool initWithDuration(float seconds, float degrees);

    void startWithTarget(CCNode* target) override;
    void update(float t) override;
    /// A rotation by -angle over the same duration.
    CCFiniteTimeAction* reverse() override;
    CCObject* copyInto(CCCopyHolder* holder) override;

private:
    using CCActionInterval::initWithDuration;

    float m_angle = 0.0f;
    float m_startAngle = 0.0f;
};

} // namespace kvengine
