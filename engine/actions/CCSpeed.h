#pragma once

#include "engine/actions/CCAction.h"

namespace kvengine {

/// Runs an interval action faster or slower: each frame's delta is multiplied by the speed before
/// it reaches the inner action. The wrapper is done when the inner action is. The speed may be
/// changed while the action runs (a speed of 0 holds the inner action where it is).
class CCSpeed : public CCAction {
public:
    ~CCSpeed() override;

    /// Autoreleased; null (and a log line) for a null action. The inner action is retained.
    static CCSpeed* createWithActionSpeed(CCActionInterval* action, float speed);
    /// False (and a log line) for a null action.
    bool initWithActionSpeed(CCActionInterval* action, float speed);

    void startWithTarget(CCNode* target) override;
    /// Stops the inner action, then unbinds the wrapper.
    void stop() override;
    /// Steps the inner action with dt x speed.
    void step(float dt) override;
    bool isDone() override;
    /// A new autoreleased wrapper over the inner action's reverse with the same speed; null (and a
    /// log line) when the inner action has no interval reverse.
    virtual CCSpeed* reverse();
    /// A wrapper over a copy of the inner action, same speed and tag.
    CCObject* copyInto(CCCopyHolder* holder) override;

    float getSpeed() const { return m_speed; }
    void setSpeed(float speed) { m_speed = speed; }
    /// Owned by the wrapper; null only for a wrapper that was never initialised.
    CCActionInterval* getInnerAction() const { return m_inner; }

private:
    float m_speed = 0.0f;
    CCActionInterval* m_inner = nullptr;
};

} // namespace kvengine
