#pragma once

#include "engine/actions/CCAction.h"

namespace kvengine {

/// Skews its node to end skew angles (degrees) the short way round. The x skew at start is
/// reduced modulo 180 and the y skew modulo 360 before the difference is taken.
class CCSkewTo : public CCActionInterval {
public:
    static CCSkewTo* createWithDurationSkew(float seconds, float skewX, float skewY);
    /// Stores the end skews; CCSkewBy overrides it to store deltas.
    virtual bool initWithDuration(float seconds, float skewX, float skewY);

    void startWithTarget(CCNode* target) override;
    void update(float t) override;
    CCObject* copyInto(CCCopyHolder* holder) override;

protected:
    using CCActionInterval::initWithDuration;

    float m_skewX = 0.0f;
    float m_skewY = 0.0f;
    float m_startSkewX = 0.0f;
    float m_startSkewY = 0.0f;
    float m_endSkewX = 0.0f;
    float m_endSkewY = 0.0f;
    float m_deltaX = 0.0f;
    float m_deltaY = 0.0f;
};

/// Skews its node by angles (degrees) from its skews at start.
class CCSkewBy : public CCSkewTo {
public:
    static CCSkewBy* createWithDurationSkew(float seconds, float deltaX, float deltaY);
    bool initWithDuration(float seconds, float deltaX, float deltaY) override;

    void startWithTarget(CCNode* target) override;
    /// A skew by the negated deltas over the same duration.
    CCFiniteTimeAction* reverse() override;
    CCObject* copyInto(CCCopyHolder* holder) override;

protected:
    using CCSkewTo::initWithDuration;
};

} // namespace kvengine
