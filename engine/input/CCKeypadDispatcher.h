#pragma once

#include "engine/base/CCObject.h"
#include "engine/base/CCSingleton.h"
#include "engine/input/CCKeypadDelegate.h"
#include "engine/input/CCPointerArray.h"

namespace kvengine {

template <class T> class CCMutableArray;

/// One registration with the keypad dispatcher; keeps its delegate's owner alive.
class CCKeypadHandler : public CCObject {
public:
    ~CCKeypadHandler() override;
    /// Autoreleased handler, or null (with a log line) for a null delegate.
    static CCKeypadHandler* create(CCKeypadDelegate* delegate);
    [[nodiscard]] virtual bool init(CCKeypadDelegate* delegate);
    CCKeypadDelegate* getDelegate() const { return delegate_; }

private:
    CCKeypadDelegate* delegate_ = nullptr;
};

/// The registry of keypad delegates. A delegate may be registered more than once;
/// each removal takes away its first registration. Requests made while a delivery
/// runs are queued and applied in request order when it ends.
///
/// The shared dispatcher (getInstance) is made on first use and released at the engine's shutdown.
class CCKeypadDispatcher : public CCSingleton<CCKeypadDispatcher, CCObject, kReleasedWithEngine> {
public:
    static void releaseSharedInstance() { purgeInstance(); }

    CCKeypadDispatcher();
    ~CCKeypadDispatcher() override;

    void addDelegate(CCKeypadDelegate* delegate);
    void removeDelegate(CCKeypadDelegate* delegate);
    void forceAddDelegate(CCKeypadDelegate* delegate);
    void forceRemoveDelegate(CCKeypadDelegate* delegate);

    /// Hands a key code (0-7) to every registered delegate in registration order;
    /// other codes are refused with a log line.
    void dispatchKeyCode(int keyCode);

    unsigned handlerCount() const;
    CCKeypadDelegate* delegateAt(unsigned index) const;

private:
    CCMutableArray<CCKeypadHandler*>* handlers_ = nullptr;
    int lockDepth_ = 0;
    bool toAdd_ = false;
    bool toRemove_ = false;
    CCPointerArray<CCKeypadDelegate> delegatesToAdd_;
    CCPointerArray<CCKeypadDelegate> delegatesToRemove_;
};

} // namespace kvengine
