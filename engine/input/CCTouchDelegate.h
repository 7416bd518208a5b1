#pragma once

#include <map>
#include <string>

namespace kvengine {

class CCEvent;
class CCGestureRecognizer;
class CCSet;
class CCTouch;
template <class T> class CCMutableArray;

/// The interface of everything that receives touches from the touch dispatcher.
///
/// A *targeted* delegate gets one touch at a time and claims it from touchBegan; a
/// *standard* delegate gets whole sets. Gesture recognizers attached to a delegate
/// are offered every touch set before any delegate sees it.
///
/// The event argument is opaque and passed through untouched (the window passes null).
class CCTouchDelegate {
public:
    /// Handler kinds written by the dispatcher on registration.
    enum HandlerKind { kStandard = 1, kTargeted = 2, kUnregistered = 3 };

    CCTouchDelegate();
    virtual ~CCTouchDelegate();
    CCTouchDelegate(const CCTouchDelegate&) = delete;
    CCTouchDelegate& operator=(const CCTouchDelegate&) = delete;

    /// Release and retain the object that carries this interface; the dispatchers
    /// hold that object alive through these while the delegate is registered.
    virtual void releaseOwner() {}
    virtual void retainOwner() {}

    /// Targeted: returning true claims the touch.
    virtual bool touchBegan(CCTouch* /*touch*/, CCEvent* /*event*/) { return false; }
    /// Targeted, for claimed touches only.
    virtual void touchMoved(CCTouch* /*touch*/, CCEvent* /*event*/) {}
    virtual void touchEnded(CCTouch* /*touch*/, CCEvent* /*event*/) {}
    virtual void touchCancelled(CCTouch* /*touch*/, CCEvent* /*event*/) {}

    /// Standard: every touch set of every phase.
    virtual void touchesBegan(CCSet* /*touches*/, CCEvent* /*event*/) {}
    virtual void touchesMoved(CCSet* /*touches*/, CCEvent* /*event*/) {}
    virtual void touchesEnded(CCSet* /*touches*/, CCEvent* /*event*/) {}
    virtual void touchesCancelled(CCSet* /*touches*/, CCEvent* /*event*/) {}

    /// Hand the set to each attached recognizer, in attachment order. Recognizers
    /// attached or detached by a recognizer callback take part from the next set
    /// on; a detached recognizer stays alive until the walk is over.
    virtual void forwardTouchesBeganToRecognizers(CCSet* touches, CCEvent* event);
    virtual void forwardTouchesMovedToRecognizers(CCSet* touches, CCEvent* event);
    virtual void forwardTouchesEndedToRecognizers(CCSet* touches, CCEvent* event);
    virtual void forwardTouchesCancelledToRecognizers(CCSet* touches, CCEvent* event);

    /// Questions a gesture recognizer asks before it tracks a touch; both default to yes.
    virtual bool shouldRecognizerReceiveTouch(CCGestureRecognizer* /*recognizer*/, CCTouch* /*touch*/) {
        return true;
    }
    virtual bool shouldRecognizerHandleTouches(CCGestureRecognizer* /*recognizer*/) { return true; }

    /// The attached recognizers (never null; the array retains them).
    CCMutableArray<CCGestureRecognizer*>* getGestureRecognizers() const { return recognizers_; }
    /// Attaches a recognizer (retained) and makes this delegate its delegate.
    /// Null and a recognizer already attached are ignored.
    void addGestureRecognizer(CCGestureRecognizer* recognizer);
    /// Detaches a recognizer; nothing when it is not attached.
    void removeGestureRecognizer(CCGestureRecognizer* recognizer);

    int getHandlerKind() const { return handlerKind_; }
    void setHandlerKind(int kind) { handlerKind_ = kind; }

    /// Script handler names by event kind (0 began .. 3 cancelled). No script engine
    /// is installed, so running one does nothing and reports false.
    void registerScriptHandler(int eventKind, const std::string& name);
    const std::string& getScriptHandler(int eventKind) const;
    bool hasScriptHandlers() const { return !scriptHandlers_.empty(); }
    bool executeScriptHandler(int eventKind, CCSet* touches);

private:
    void forwardToRecognizers(int phase, CCSet* touches, CCEvent* event);

    CCMutableArray<CCGestureRecognizer*>* recognizers_ = nullptr;
    int handlerKind_ = kUnregistered;
    std::map<int, std::string> scriptHandlers_;
};

} // namespace kvengine
