#pragma once

#include "engine/base/CCObject.h"

namespace kvengine {

class CCSet;
class CCTouch;
class CCTouchDelegate;

/// One registration with the touch dispatcher. The handler keeps its delegate's
/// owner alive (retainOwner on init, releaseOwner on destruction).
class CCTouchHandler : public CCObject {
public:
    CCTouchHandler() = default;
    ~CCTouchHandler() override;

    /// False for a null delegate.
    [[nodiscard]] virtual bool init(CCTouchDelegate* delegate, int priority);

    CCTouchDelegate* getDelegate() const { return delegate_; }
    /// Lower values are served first.
    int getPriority() const { return priority_; }
    virtual bool isTargeted() const { return false; }

private:
    CCTouchDelegate* delegate_ = nullptr;
    int priority_ = 0;
};

/// Receives whole touch sets; priority is always 0.
class CCStandardTouchHandler : public CCTouchHandler {
public:
    /// Autoreleased handler, or null (with a log line) for a null delegate.
    static CCStandardTouchHandler* create(CCTouchDelegate* delegate);
};

/// Receives single touches; keeps the touches its delegate claimed, each retained.
class CCTargetedTouchHandler : public CCTouchHandler {
public:
    CCTargetedTouchHandler() = default;
    ~CCTargetedTouchHandler() override;

    /// Autoreleased handler, or null (with a log line) for a null delegate.
    static CCTargetedTouchHandler* create(CCTouchDelegate* delegate, int priority, bool swallowsTouches);
    [[nodiscard]] bool initWithSwallowing(CCTouchDelegate* delegate, int priority, bool swallowsTouches);

    bool isTargeted() const override { return true; }
    /// A swallowing handler hides the touches it claimed from every later handler.
    bool swallowsTouches() const { return swallowsTouches_; }
    CCSet* claimedTouches() const { return claimedTouches_; }

private:
    bool swallowsTouches_ = false;
    CCSet* claimedTouches_ = nullptr;
};

} // namespace kvengine
