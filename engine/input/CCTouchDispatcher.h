#pragma once

#include "engine/base/CCObject.h"
#include "engine/base/CCSingleton.h"
#include "engine/input/CCPointerArray.h"
#include "engine/input/CCTouchDelegate.h"
#include "engine/input/EGLTouchDelegate.h"

#include <vector>

namespace kvengine {

class CCTargetedTouchHandler;
class CCTouch;
class CCTouchHandler;
template <class T> class CCMutableArray;

/// Delivers the window's touches to registered delegates.
///
/// Each touch set is first offered to the gesture recognizers of every standard
/// delegate, then to the targeted delegates one touch at a time (in ascending
/// priority; the newest registration first among equals), then to the standard
/// delegates as a set, minus the touches a swallowing targeted delegate claimed.
///
/// Registrations and removals made from inside a delivery are queued and applied,
/// in the order they were made, when the outermost delivery ends.
///
/// The shared dispatcher (getInstance) is made on first use and released at the engine's shutdown.
class CCTouchDispatcher : public CCSingleton<CCTouchDispatcher, CCObject, kReleasedWithEngine>,
                          public EGLTouchDelegate {
public:
    enum Phase { kPhaseBegan = 0, kPhaseMoved = 1, kPhaseEnded = 2, kPhaseCancelled = 3 };
    /// A delegate's whole-set callback of one phase.
    using SetCallback = void (CCTouchDelegate::*)(CCSet*, CCEvent*);

    /// Drops the shared dispatcher (engine shutdown); the next getInstance makes a new one.
    static void purgeSharedDispatcher() { purgeInstance(); }

    CCTouchDispatcher() = default;
    ~CCTouchDispatcher() override;
    bool init();

    /// Registers a delegate for whole touch sets (priority 0). The handler retains
    /// the delegate's owner until removal. Null is refused with a log line; a
    /// delegate already in the standard list keeps its registration.
    void addStandardDelegate(CCTouchDelegate* delegate);
    /// Registers a delegate for single touches that it claims in touchBegan.
    void addTargetedDelegate(CCTouchDelegate* delegate, int priority, bool swallowsTouches);
    /// Unregisters the delegate from both lists; null and unknown delegates are ignored.
    void removeDelegate(CCTouchDelegate* delegate);
    void removeAllDelegates();

    bool isDispatchEvents() const { return dispatchEvents_; }
    /// While false, every touch is dropped.
    void setDispatchEvents(bool dispatch) { dispatchEvents_ = dispatch; }
    bool isRecognizersSuspended() const { return recognizersSuspended_; }
    /// While true, standard delegates' gesture recognizers are not offered touches.
    void setRecognizersSuspended(bool suspended) { recognizersSuspended_ = suspended; }
    bool isLocked() const { return lockDepth_ > 0; }

    void touchesBegan(CCSet* touches, CCEvent* event) override;
    void touchesMoved(CCSet* touches, CCEvent* event) override;
    void touchesEnded(CCSet* touches, CCEvent* event) override;
    void touchesCancelled(CCSet* touches, CCEvent* event) override;
    void dispatchTouches(CCSet* touches, CCEvent* event, int phaseIndex);

    CCMutableArray<CCTouchHandler*>* getTargetedHandlers() const { return targetedHandlers_; }
    CCMutableArray<CCTouchHandler*>* getStandardHandlers() const { return standardHandlers_; }

    /// Inserts the handler after every handler of lower priority and before those
    /// of equal or higher priority; a delegate already in the list is not added again.
    void forceAddHandler(CCTouchHandler* handler, CCMutableArray<CCTouchHandler*>* list);
    void forceRemoveDelegate(CCTouchDelegate* delegate);

private:
    friend CCSingleton;
    static CCTouchDispatcher* makeSharedInstance();

    void queueOrAdd(CCTouchHandler* handler, CCMutableArray<CCTouchHandler*>* list);
    void emptyLists();
    void applyQueuedWork();
    // The phases of one dispatch.
    std::vector<CCTouch*> holdTouches(CCSet* touches);
    void callStandardDelegates(SetCallback call, unsigned count, CCSet* touches, CCEvent* event);
    void deliverToTargeted(CCTouch* touch, unsigned count, int phase, CCEvent* event, CCSet* remaining);
    bool offerToTargeted(CCTargetedTouchHandler* handler, CCTouch* touch, int phase, CCEvent* event);

    CCMutableArray<CCTouchHandler*>* targetedHandlers_ = nullptr;
    CCMutableArray<CCTouchHandler*>* standardHandlers_ = nullptr;
    int lockDepth_ = 0;
    bool toAdd_ = false;
    bool toRemove_ = false;
    CCMutableArray<CCTouchHandler*>* handlersToAdd_ = nullptr;
    CCPointerArray<CCTouchDelegate> delegatesToRemove_;
    bool toQuit_ = false;
    bool dispatchEvents_ = false;
    int phaseTable_[4] = {0, 1, 2, 3};
    bool recognizersSuspended_ = false;
};

} // namespace kvengine
