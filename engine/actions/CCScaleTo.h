#pragma once

#include "engine/actions/CCAction.h"

namespace kvengine {

/// Scales its node to end scales (x and y) from its scales at start.
class CCScaleTo : public CCActionInterval {
public:
    static CCScaleTo* createWithDurationScale(float seconds, float scale);
    static CCScaleTo* createWithDurationScaleXY(float seconds, float scaleX, float scaleY);
    bool initWithDurationScaleXY(float seconds, float scaleX, float scaleY);

    void startWithTarget(CCNode* target) override;
    void update(float t) override;
    CCObject* copyInto(CCCopyHolder* holder) override;

protected:
    float m_startScaleX = 0.0f;
    float m_startScaleY = 0.0f;
    float m_endScaleX = 0.0f;
    float m_endScaleY = 0.0f;
    float m_deltaX = 0.0f;
    float m_deltaY = 0.0f;
};

/// Multiplies its node's scales by factors (x and y) over the duration.
class CCScaleBy : public CCScaleTo {
public:
    static CCScaleBy* createWithDurationScale(float seconds, float factor);
    static CCScaleBy* createWithDurationScaleXY(float seconds, float factorX, float factorY);

    void startWithTarget(CCNode* target) override;
    /// A scale by 1 / factor per axis over the same duration.
    CCFiniteTimeAction* reverse() override;
    CCObject* copyInto(CCCopyHolder* holder) override;
};

} // namespace kvengine
