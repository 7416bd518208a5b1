#pragma once

#include "engine/actions/CCAction.h"
#include "engine/base/CCGeometry.h"

namespace kvengine {

/// An action that takes no time: it does its work in startWithTarget, which the action manager
/// calls when it receives the action, or a sequence calls when it reaches it. Duration is 0.
class CCActionInstant : public CCFiniteTimeAction {
public:
    CCActionInstant() = default;

    bool isDone() override { return true; }
    /// One step finishes the action: update with 1, which does nothing by default.
    void step(float dt) override;
    void update(float t) override;
    /// An autoreleased copy of this action (a call-back's reverse calls back again).
    CCFiniteTimeAction* reverse() override;
    CCObject* copyInto(CCCopyHolder* holder) override;
};

/// Places its node at a position (points) when started.
class CCPlace : public CCActionInstant {
public:
    static CCPlace* createWithPosition(const CCPoint& position);
    bool initWithPosition(const CCPoint& position);
    void startWithTarget(CCNode* target) override;
    CCObject* copyInto(CCCopyHolder* holder) override;

private:
    CCPoint m_position;
};

/// Hides its node when started.
class CCHide : public CCActionInstant {
public:
    static CCHide* create();
    void startWithTarget(CCNode* target) override;
    /// A new CCShow.
    CCFiniteTimeAction* reverse() override;
    CCObject* copyInto(CCCopyHolder* holder) override;
};

/// Shows its node when started.
class CCShow : public CCActionInstant {
public:
    static CCShow* create();
    void startWithTarget(CCNode* target) override;
    /// A new CCHide.
    CCFiniteTimeAction* reverse() override;
    CCObject* copyInto(CCCopyHolder* holder) override;
};

/// Shows a hidden node and hides a visible one when started.
class CCInvertVisibility : public CCActionInstant {
public:
    static CCInvertVisibility* create();
    void startWithTarget(CCNode* target) override;
    CCObject* copyInto(CCCopyHolder* holder) override;
};

} // namespace kvengine
