#include "engine/input/CCKeypadDispatcher.h"

#include "engine/base/CCLog.h"
#include "engine/base/CCMutableArray.h"

namespace kvengine {

CCKeypadHandler::~CCKeypadHandler() {
    if (delegate_ != nullptr) {
        delegate_->releaseOwner();
    }
}

CCKeypadHandler* CCKeypadHandler::create(CCKeypadDelegate* delegate) {
    auto* handler = new CCKeypadHandler();
    if (!handler->init(delegate)) {
        handler->release();
        return nullptr;
    }
    handler->autorelease();
    return handler;
}

bool CCKeypadHandler::init(CCKeypadDelegate* delegate) {
    if (delegate == nullptr) {
        logDebugMessage("CCKeypadHandler: a keypad handler needs a delegate");
        return false;
    }
    delegate_ = delegate;
    delegate_->retainOwner();
    return true;
}

CCKeypadDispatcher::CCKeypadDispatcher() : handlers_(new CCMutableArray<CCKeypadHandler*>()) {}

CCKeypadDispatcher::~CCKeypadDispatcher() {
    handlers_->release();
    handlers_ = nullptr;
}

void CCKeypadDispatcher::addDelegate(CCKeypadDelegate* delegate) {
    if (delegate == nullptr) {
        return;
    }
    if (lockDepth_ > 0) {
        delegatesToAdd_.append(delegate);
        toAdd_ = true;
    } else {
        forceAddDelegate(delegate);
    }
}

void CCKeypadDispatcher::removeDelegate(CCKeypadDelegate* delegate) {
    if (delegate == nullptr) {
        return;
    }
    if (lockDepth_ == 0) {
        forceRemoveDelegate(delegate);
        return;
    }
    // A removal first takes back a queued addition of the same delegate, so the
    // queued work ends as if every request had been applied when it was made.
    for (unsigned i = delegatesToAdd_.count(); i-- > 0;) {
        if (delegatesToAdd_.at(i) == delegate) {
            delegatesToAdd_.removeAt(i);
            return;
        }
    }
    delegatesToRemove_.append(delegate);
    toRemove_ = true;
}

void CCKeypadDispatcher::forceAddDelegate(CCKeypadDelegate* delegate) {
    if (CCKeypadHandler* handler = CCKeypadHandler::create(delegate)) {
        handlers_->addObject(handler);
    }
}

void CCKeypadDispatcher::forceRemoveDelegate(CCKeypadDelegate* delegate) {
    for (unsigned i = 0, count = handlers_->count(); i < count; ++i) {
        if (handlers_->objectAtIndex(i)->getDelegate() == delegate) {
            handlers_->removeObjectAtIndex(i);
            return;
        }
    }
}

unsigned CCKeypadDispatcher::handlerCount() const {
    return handlers_->count();
}

CCKeypadDelegate* CCKeypadDispatcher::delegateAt(unsigned index) const {
    CCKeypadHandler* handler = handlers_->objectAtIndex(index);
    return handler != nullptr ? handler->getDelegate() : nullptr;
}

void CCKeypadDispatcher::dispatchKeyCode(int keyCode) {
    if (keyCode < 0 || keyCode > 7) {
        logDebugMessage("CCKeypadDispatcher: ignoring unknown key code %d", keyCode);
        return;
    }
    ++lockDepth_;
    this->retain();
    // The handler list does not change while locked, so indices stay valid.
    for (unsigned i = 0, count = handlers_->count(); i < count; ++i) {
        handlers_->objectAtIndex(i)->getDelegate()->keyPressed(keyCode);
    }
    if (--lockDepth_ == 0) {
        if (toRemove_) {
            toRemove_ = false;
            for (CCKeypadDelegate* delegate : delegatesToRemove_) {
                forceRemoveDelegate(delegate);
            }
            delegatesToRemove_.clear();
        }
        if (toAdd_) {
            toAdd_ = false;
            for (CCKeypadDelegate* delegate : delegatesToAdd_) {
                forceAddDelegate(delegate);
            }
            delegatesToAdd_.clear();
        }
    }
    this->release();
}

} // namespace kvengine
