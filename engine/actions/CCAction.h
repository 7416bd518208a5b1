#pragma once
#include "engine/base/CCObject.h"

#include <string>

namespace kvengine {

class CCNode;

/// An object that changes a node over time. Actions are run through CCNode::runAction, which
/// hands them to the shared CCActionManager; the manager retains the action while it runs and
/// steps it once per frame. An action does not retain its target.
///
/// The progress of an action arrives through CCObject::update(t), t from 0 to 1.
class CCAction : public CCObject {
public:
    CCAction() = default;

    /// "CCAction"; only a few action classes answer their own name.
    const char* className() const override { return "CCAction"; }
    /// True for "CCAction" and "CCObject" only.
    bool isKindOf(const char* name) const override;
    /// A new action with the same tag (count 1, owned by the caller); subclasses fill the holder's
    /// object when one is given.
    CCObject* copyInto(CCCopyHolder* holder) override;

    /// True when the manager should stop and remove the action after this frame's step.
    virtual bool isDone();
    /// Binds the action to `target` (also remembered as the start target).
    virtual void startWithTarget(CCNode* target);
    /// Unbinds the action from its target; the start target stays.
    virtual void stop();
    /// One frame of `dt` seconds.
    virtual void step(float dt);
    void update(float t) override { (void)t; }

    /// The node the action acts on while running; null after stop().
    CCNode* getTarget() const { return m_target; }
    void setTarget(CCNode* target) { m_target = target; }
    /// The node the action was last started on; kept after stop().
    CCNode* getOriginalTarget() const { return m_originalTarget; }
    void setOriginalTarget(CCNode* target) { m_originalTarget = target; }
    int getTag() const { return m_tag; }
    void setTag(int tag) { m_tag = tag; }

    /// "<CCAction | Tag = %d>".
    std::string description() const;

protected:
    CCNode* m_originalTarget = nullptr;
    CCNode* m_target = nullptr;
    int m_tag = -1;
};

/// An action with a duration in seconds.
class CCFiniteTimeAction : public CCAction {
public:
    float getDuration() const { return m_duration; }
    void setDuration(float duration) { m_duration = duration; }
    /// A new autoreleased action that undoes this one, or null where there is none.
    virtual CCFiniteTimeAction* reverse() { return nullptr; }
    /// Copies the tag and the duration.
    CCObject* copyInto(CCCopyHolder* holder) override;

protected:
    float m_duration = 0.0f;
};

/// An action spread over its duration: each step advances the elapsed time and calls
/// update(elapsed / duration), limited to 1. The first step after a start only resets the
/// elapsed time (its delta is dropped). A duration of 0 is stored as FLT_EPSILON, so the
/// division is always defined.
class CCActionInterval : public CCFiniteTimeAction {
public:
    /// Always true.
    bool initWithDuration(float seconds);

    bool isDone() override;
    void startWithTarget(CCNode* target) override;
    void step(float dt) override;
    CCFiniteTimeAction* reverse() override { return nullptr; }
    /// Copies tag and duration (0 becomes FLT_EPSILON); elapsed 0, first tick pending.
    CCObject* copyInto(CCCopyHolder* holder) override;

    float getElapsed() const { return m_elapsed; }
    bool isFirstTick() const { return m_firstTick; }

protected:
    float m_elapsed = 0.0f;
    bool m_firstTick = true;
};

} // namespace kvengine
