#pragma once

#include "engine/actions/CCAction.h"

namespace kvengine {

/// Runs an action a fixed number of times. The inner action is restarted on its node for each
/// repetition, so a relative action (a move by) carries on from where the last one ended.
/// A null inner action is allowed: the repeat then only takes its time.
class CCRepeat : public CCActionInterval {
public:
    ~CCRepeat() override;

    static CCRepeat* createWithActionTimes(CCFiniteTimeAction* action, unsigned int times);
    bool initWithActionTimes(CCFiniteTimeAction* action, unsigned int times);

    void startWithTarget(CCNode* target) override;
    void stop() override;
    void update(float t) override;
    /// Done once every repetition has been counted (not when the time is up).
    bool isDone() override;
    /// A repeat of the inner action's reverse, same count.
    CCFiniteTimeAction* reverse() override;
    CCObject* copyInto(CCCopyHolder* holder) override;

    unsigned int getTimes() const { return m_times; }
    unsigned int getRepetitionsDone() const { return m_done; }

private:
    unsigned int m_times = 0;
    unsigned int m_done = 0;
    CCFiniteTimeAction* m_inner = nullptr;
};

/// Runs an interval action again and again; it never finishes. Each loop starts exactly at the
/// inner action's start: the time by which a frame overshot the end of a loop is dropped.
class CCRepeatForever : public CCActionInterval {
public:
    /// Duration 0 and no first tick pending: the loop's timing is the inner action's own.
    CCRepeatForever() { m_firstTick = false; }
    ~CCRepeatForever() override;

    /// Null (and a log line) for a null action.
    static CCRepeatForever* createWithAction(CCActionInterval* action);
    bool initWithAction(CCActionInterval* action);

    void startWithTarget(CCNode* target) override;
    void step(float dt) override;
    bool isDone() override { return false; }
    /// A repeat-forever of the inner action's reverse; null when the inner action has none.
    CCFiniteTimeAction* reverse() override;
    CCObject* copyInto(CCCopyHolder* holder) override;

private:
    CCActionInterval* m_inner = nullptr;
};

} // namespace kvengine
