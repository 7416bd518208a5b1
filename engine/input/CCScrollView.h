#pragma once

#include "engine/input/CCView.h"

namespace kvengine {

class CCGestureRecognizer;
class CCPanGestureRecognizer;

/// A view whose content offset follows a pan gesture, keeps gliding with inertia
/// after the finger lifts, and can be paged by a fixed distance along x.
///
/// While running, the view registers itself as a standard touch delegate with a
/// pan recognizer of its own. Hooks are called on the delegate (not retained; a
/// view may be its own delegate); without one they are skipped.
class CCScrollView : public CCView {
public:
    /// Per-frame factor applied to the fling velocity, on top of (1 - dt).
    static constexpr float kDecelerationFactor = 0.96f;
    /// A paged scroll starts at this many times its distance per second.
    static constexpr float kPageSpeedFactor = 4.3f;
    /// Below this speed (offset units per second, each axis) a fling stops.
    static constexpr float kRestSpeed = 0.01f;

    CCScrollView();
    ~CCScrollView() override;

    CC_DECLARE_CLASS_NAME(CCScrollView, CCView)

    virtual CCScrollView* getDelegate() const { return delegate_; }
    virtual void setDelegate(CCScrollView* delegate) { delegate_ = delegate; }
    virtual CCPoint getContentOffset() const { return contentOffset_; }
    /// Moves the content and reports didScroll (not paged).
    virtual void setContentOffset(const CCPoint& offset);
    /// Like setContentOffset, but didScroll receives the jump flag, which is then cleared.
    void jumpToContentOffset(const CCPoint& offset);
    void setJumpFlag(bool jump) { jumpFlag_ = jump; }
    bool getJumpFlag() const { return jumpFlag_; }

    /// A paged scroll by distance along x (the offset moves by -distance); ignored
    /// while another paged scroll is under way.
    void scrollByWithInertia(float distance);

    // Delegate hooks; the base does nothing.
    virtual void willBeginDecelerating(CCScrollView* /*view*/) {}
    virtual void didScroll(CCScrollView* /*view*/, bool /*paged*/) {}
    virtual void willBeginDragging(CCScrollView* /*view*/) {}
    virtual void didEndDecelerating(CCScrollView* /*view*/) {}
    virtual void didEndDragging(CCScrollView* /*view*/, bool /*willDecelerate*/) {}

    /// Follows the pan recognizer's state; ignored while the view is not enabled.
    virtual void handlePanGesture(CCGestureRecognizer* recognizer);

    void update(float dt) override;
    void onEnter() override;
    void onExit() override;

    bool isEnabled() const { return enabled_; }
    /// False at construction: the owner enables dragging.
    void setEnabled(bool enabled) { enabled_ = enabled; }
    bool isDragging() const { return dragging_; }
    bool isDecelerating() const { return decelerating_; }
    bool isPaging() const { return stopActive_; }
    /// Offset units per second.
    CCPoint getVelocity() const { return velocity_; }
    void setVelocity(const CCPoint& velocity) { velocity_ = velocity; }
    CCPanGestureRecognizer* getPanRecognizer() const { return panRecognizer_; }

private:
    void onPanGesture(CCGestureRecognizer* recognizer, CCNode* node);
    void moveContent(const CCPoint& offset);
    void stopMoving();

    bool enabled_ = false;
    bool firstPage_ = true;
    bool dragged_ = false;
    CCPoint settledOffset_;
    float stopOffsetX_ = 0.0f;
    bool towardsLarger_ = false;
    bool jumpFlag_ = false;
    bool stopActive_ = false;
    CCScrollView* delegate_ = nullptr;
    CCPoint contentOffset_;
    bool dragging_ = false;
    bool decelerating_ = false;
    CCPoint velocity_;
    CCPanGestureRecognizer* panRecognizer_ = nullptr;
};

} // namespace kvengine
