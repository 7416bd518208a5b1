#pragma once

#include "engine/actions/CCActionEase.h"

namespace kvengine {

/// Elastic eases overshoot below 0 and above 1 with a period. Their own curve is t and they
/// have no reverse; the three subclasses carry the curves.
class CCEaseElastic : public CCActionEase {
public:
    /// A period of 0 (or one that is not finite) cannot be divided by: the in and out curves
    /// log it and use 0.3 instead; the in-out curve replaces 0 by 0.45 at its first update.
    bool initWithActionPeriod(CCActionInterval* action, float period);

    /// Null: a plain elastic ease has no reverse.
    CCFiniteTimeAction* reverse() override;
    CCObject* copyInto(CCCopyHolder* holder) override;

    float getPeriod() const { return m_period; }

protected:
    float m_period = 0.0f;
};

class CCEaseElasticIn : public CCEaseElastic {
public:
    static CCEaseElasticIn* createWithActionPeriod(CCActionInterval* action, float period);
    bool initWithActionPeriod(CCActionInterval* action, float period);
    void update(float t) override;
    /// An elastic-out ease over the inner reverse, same period.
    CCFiniteTimeAction* reverse() override;
    CCObject* copyInto(CCCopyHolder* holder) override;
};

class CCEaseElasticOut : public CCEaseElastic {
public:
    static CCEaseElasticOut* createWithActionPeriod(CCActionInterval* action, float period);
    bool initWithActionPeriod(CCActionInterval* action, float period);
    void update(float t) override;
    /// An elastic-in ease over the inner reverse, same period.
    CCFiniteTimeAction* reverse() override;
    CCObject* copyInto(CCCopyHolder* holder) override;
};

class CCEaseElasticInOut : public CCEaseElastic {
public:
    static CCEaseElasticInOut* createWithActionPeriod(CCActionInterval* action, float period);
    /// A period of exactly 0 is replaced, in the object, by 0.45 at the first update strictly
    /// between t = 0 and t = 1.
    void update(float t) override;
    /// An in-out rate ease over the inner reverse, with the period as its rate.
    CCFiniteTimeAction* reverse() override;
    CCObject* copyInto(CCCopyHolder* holder) override;
};

} // namespace kvengine
