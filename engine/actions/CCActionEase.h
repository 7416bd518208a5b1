#pragma once

#include "engine/actions/CCAction.h"

namespace kvengine {

/// Wraps an interval action and changes its pace: the wrapper has the inner action's duration
/// and hands the inner action an eased progress f(t) on every update. The inner action is only
/// updated, never stepped, so an inner action that relies on its own step (a repeat-forever)
/// does nothing inside an ease.
class CCActionEase : public CCActionInterval {
public:
    ~CCActionEase() override;

    /// Null (and a log line) for a null inner action.
    static CCActionEase* createWithAction(CCActionInterval* action);
    bool initWithAction(CCActionInterval* action);

    /// Starts the inner action on the same node.
    void startWithTarget(CCNode* target) override;
    /// Stops the inner action, then clears the target.
    void stop() override;
    /// Passes t unchanged.
    void update(float t) override;
    /// A plain ease over the inner action's reverse; null when there is none.
    CCFiniteTimeAction* reverse() override;
    CCObject* copyInto(CCCopyHolder* holder) override;

    CCActionInterval* getInnerAction() const { return m_inner; }

protected:
    /// Hands the inner action a progress, when there is an inner action.
    void updateInner(float t);
    /// The inner action's reverse as an interval action; null (and a log line) when it has none.
    CCActionInterval* innerReverse() const;

    /// Fills a copy made by a subclass: the interval part and a copy of the inner action.
    void copyEaseInto(CCActionEase* copy);

    CCActionInterval* m_inner = nullptr;
};

/// An ease with a rate (the power of the rate curves). Its own curve is t.
class CCEaseRateAction : public CCActionEase {
public:
    static CCEaseRateAction* createWithActionRate(CCActionInterval* action, float rate);
    bool initWithActionRate(CCActionInterval* action, float rate);

    /// A rate ease over the inner reverse with rate 1 / rate (its curve is t).
    CCFiniteTimeAction* reverse() override;
    CCObject* copyInto(CCCopyHolder* holder) override;

    float getRate() const { return m_rate; }

protected:
    float m_rate = 0.0f;
};

/// f(t) = t^rate.
class CCEaseIn : public CCEaseRateAction {
public:
    static CCEaseIn* createWithActionRate(CCActionInterval* action, float rate);
    void update(float t) override;
    CCObject* copyInto(CCCopyHolder* holder) override;
};

/// f(t) = t^(1/rate).
class CCEaseOut : public CCEaseRateAction {
public:
    static CCEaseOut* createWithActionRate(CCActionInterval* action, float rate);
    void update(float t) override;
    CCObject* copyInto(CCCopyHolder* holder) override;
};

/// The rate curve mirrored about the middle. Meant for integer rates; a fractional rate is
/// logged and run with the mirror form, which stays real.
class CCEaseInOut : public CCEaseRateAction {
public:
    static CCEaseInOut* createWithActionRate(CCActionInterval* action, float rate);
    void update(float t) override;
    /// An in-out ease over the inner reverse with the same rate.
    CCFiniteTimeAction* reverse() override;
    CCObject* copyInto(CCCopyHolder* holder) override;
};

class CCEaseExponentialIn : public CCActionEase {
public:
    static CCEaseExponentialIn* createWithAction(CCActionInterval* action);
    void update(float t) override;
    CCFiniteTimeAction* reverse() override;
    CCObject* copyInto(CCCopyHolder* holder) override;
};

class CCEaseExponentialOut : public CCActionEase {
public:
    static CCEaseExponentialOut* createWithAction(CCActionInterval* action);
    void update(float t) override;
    CCFiniteTimeAction* reverse() override;
    CCObject* copyInto(CCCopyHolder* holder) override;
};

class CCEaseExponentialInOut : public CCActionEase {
public:
    static CCEaseExponentialInOut* createWithAction(CCActionInterval* action);
    void update(float t) override;
    CCObject* copyInto(CCCopyHolder* holder) override;
};

class CCEaseSineIn : public CCActionEase {
public:
    static CCEaseSineIn* createWithAction(CCActionInterval* action);
    void update(float t) override;
    CCFiniteTimeAction* reverse() override;
    CCObject* copyInto(CCCopyHolder* holder) override;
};

class CCEaseSineOut : public CCActionEase {
public:
    static CCEaseSineOut* createWithAction(CCActionInterval* action);
    void update(float t) override;
    CCFiniteTimeAction* reverse() override;
    CCObject* copyInto(CCCopyHolder* holder) override;
};

class CCEaseSineInOut : public CCActionEase {
public:
    static CCEaseSineInOut* createWithAction(CCActionInterval* action);
    void update(float t) override;
    CCObject* copyInto(CCCopyHolder* holder) override;
};

} // namespace kvengine
