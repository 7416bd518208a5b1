#pragma once

#include <map>

#include "engine/base/CCGeometry.h"
#include "engine/base/CCObject.h"

namespace kvengine {

class CCEvent;
class CCGestureRecognizer;
class CCNode;
class CCSet;
class CCTouch;
class CCTouchDelegate;

/// A member function of the target, called as target->callback(recognizer, node).
typedef void (CCObject::*SEL_GestureHandler)(CCGestureRecognizer*, CCNode*);
#define gesture_selector(_SELECTOR) static_cast<kvengine::SEL_GestureHandler>(&_SELECTOR)

enum CCGestureRecognizerState {
    kCCGestureRecognizerStatePossible = 0,
    kCCGestureRecognizerStateBegan = 1,
    kCCGestureRecognizerStateChanged = 2,
    kCCGestureRecognizerStateEnded = 3,
};

/// One tracked touch of a pan or pinch. Points are in the touch's own view
/// coordinates (origin top left), times on the gesture clock.
struct CCTouchTrack {
    float firstTime = 0.0f;
    float lastTime = 0.0f;
    CCPoint startPoint;
    CCPoint lastPoint;
    CCPoint velocity;
};

/// Base of the tap, pan and pinch recognizers.
///
/// The base keeps one track per accepted touch from its press to its lift: a press starts tracks
/// for the touches that shouldReceiveTouch accepts, moves carry them along and a lift or cancel
/// ends them; after each change that touched a track, updateState() judges the gesture. A
/// recognizer that keeps its own records (tap) overrides the touch callbacks instead.
///
/// A recognizer is attached to a touch delegate (normally a layer), which owns it
/// and forwards every touch set to it. The recognizer holds no reference to its
/// delegate, target or node: their owner must outlive it.
///
/// All timing reads one process-wide gesture clock (seconds, -1 before the first
/// frame) that the director advances once per frame, so every event of a frame
/// sees the same time.
class CCGestureRecognizer : public CCObject {
public:
    CCGestureRecognizer() = default;

    CC_DECLARE_CLASS_NAME(CCGestureRecognizer, CCObject)

    virtual void touchesBegan(CCSet* touches, CCEvent* event);
    virtual void touchesMoved(CCSet* touches, CCEvent* event);
    virtual void touchesEnded(CCSet* touches, CCEvent* event);
    virtual void touchesCancelled(CCSet* touches, CCEvent* event);

    /// Whether a touch is for this recognizer: with a node, the touch must lie on
    /// the node and on no node drawn above it; then the delegate has the last word.
    virtual bool shouldReceiveTouch(CCTouch* touch);

    int getState() const { return state_; }
    CCTouchDelegate* getDelegate() const { return delegate_; }
    void setDelegate(CCTouchDelegate* delegate) { delegate_ = delegate; }
    void setCallback(CCObject* target, SEL_GestureHandler callback);
    CCNode* getNode() const { return node_; }
    /// The node watched by the hit test (not retained); null skips the hit test.
    void setNode(CCNode* node) { node_ = node; }

    /// Current gesture time in seconds.
    static float getClock();
    /// Once per frame: starts the clock at 0 on the first call, then adds the time
    /// since the previous call, read from the engine's shared clock (getTimeOfDay);
    /// a reading that goes backwards stops the gesture clock for that frame.
    static void advanceClock();
    /// Puts the gesture clock back to its start value of -1 (engine restart, tests).
    static void resetClock();

protected:
    /// Judges the gesture after its tracks changed; the base does nothing.
    virtual void updateState() {}
    /// Called before a track moves to `location` at `now` (its last point and time are still
    /// the previous ones); the base does nothing.
    virtual void trackWillMove(CCTouchTrack& /*track*/, const CCPoint& /*location*/, float /*now*/) {}
    /// Called before the track of a lifted or cancelled touch ends; the base does nothing.
    virtual void trackWillEnd(CCTouch* /*touch*/, CCTouchTrack& /*track*/, float /*now*/) {}

    /// Starts a track for every touch of the set this recognizer accepts. False, with
    /// nothing tracked, for a null set or when the delegate refuses the touches.
    bool trackNewTouches(CCSet* touches);
    /// Moves the tracks of the set's tracked touches to where the touches are now; false when
    /// the set holds none of them.
    bool moveTrackedTouches(CCSet* touches);
    /// Ends the tracks of the set's tracked touches; false when the set holds none of them.
    bool endTrackedTouches(CCSet* touches);

    /// The tracked touches (not retained: a touch lives from its press to its lift).
    std::map<CCTouch*, CCTouchTrack> tracks_;

    /// Calls the target's callback with this recognizer and the node.
    void fireCallback();

    int state_ = kCCGestureRecognizerStatePossible;
    CCTouchDelegate* delegate_ = nullptr;

private:
    CCObject* target_ = nullptr;
    CCNode* node_ = nullptr;
    SEL_GestureHandler callback_ = nullptr;
};

} // namespace kvengine
