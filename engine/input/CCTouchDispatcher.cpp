#include "engine/input/CCTouchDispatcher.h"

#include <vector>

#include "engine/base/CCLog.h"
#include "engine/base/CCMutableArray.h"
#include "engine/base/CCSet.h"
#include "engine/director/CCDirector.h"
#include "engine/input/CCTouch.h"
#include "engine/input/CCTouchHandler.h"

namespace kvengine {

namespace {

// What a standard delegate is called with in each phase, first for its recognizers, then itself.
constexpr CCTouchDispatcher::SetCallback kRecognizerCalls[4] = {
    &CCTouchDelegate::forwardTouchesBeganToRecognizers, &CCTouchDelegate::forwardTouchesMovedToRecognizers,
    &CCTouchDelegate::forwardTouchesEndedToRecognizers,
    &CCTouchDelegate::forwardTouchesCancelledToRecognizers};
constexpr CCTouchDispatcher::SetCallback kStandardCalls[4] = {
    &CCTouchDelegate::touchesBegan, &CCTouchDelegate::touchesMoved, &CCTouchDelegate::touchesEnded,
    &CCTouchDelegate::touchesCancelled};

} // namespace

CCTouchDispatcher* CCTouchDispatcher::makeSharedInstance() {
    auto* dispatcher = new CCTouchDispatcher();
    dispatcher->init();
    return dispatcher;
}

CCTouchDispatcher::~CCTouchDispatcher() {
    for (CCMutableArray<CCTouchHandler*>** list : {&targetedHandlers_, &standardHandlers_, &handlersToAdd_}) {
        if (*list != nullptr) {
            (*list)->release();
            *list = nullptr;
        }
    }
}

bool CCTouchDispatcher::init() {
    dispatchEvents_ = true;
    targetedHandlers_ = new CCMutableArray<CCTouchHandler*>(8);
    standardHandlers_ = new CCMutableArray<CCTouchHandler*>(4);
    handlersToAdd_ = new CCMutableArray<CCTouchHandler*>(8);
    delegatesToRemove_.clear();
    lockDepth_ = 0;
    toAdd_ = false;
    toRemove_ = false;
    toQuit_ = false;
    for (int i = 0; i < 4; ++i) {
        phaseTable_[i] = i;
    }
    return true;
}

void CCTouchDispatcher::forceAddHandler(CCTouchHandler* handler, CCMutableArray<CCTouchHandler*>* list) {
    if (handler == nullptr || list == nullptr) {
        return;
    }
    unsigned lower = 0;
    for (unsigned i = 0, count = list->count(); i < count; ++i) {
        CCTouchHandler* existing = list->objectAtIndex(i);
        if (existing->getDelegate() == handler->getDelegate()) {
            return;
        }
        if (existing->getPriority() < handler->getPriority()) {
            ++lower;
        }
    }
    list->insertObjectAtIndex(handler, lower);
}

void CCTouchDispatcher::queueOrAdd(CCTouchHandler* handler, CCMutableArray<CCTouchHandler*>* list) {
    if (isLocked()) {
        handlersToAdd_->addObject(handler);
        toAdd_ = true;
    } else {
        forceAddHandler(handler, list);
    }
}

void CCTouchDispatcher::addStandardDelegate(CCTouchDelegate* delegate) {
    if (delegate == nullptr) {
        logDebugMessage("CCTouchDispatcher: refusing a null standard delegate");
        return;
    }
    delegate->setHandlerKind(CCTouchDelegate::kStandard);
    if (CCTouchHandler* handler = CCStandardTouchHandler::create(delegate)) {
        queueOrAdd(handler, standardHandlers_);
    }
}

void CCTouchDispatcher::addTargetedDelegate(CCTouchDelegate* delegate, int priority, bool swallowsTouches) {
    if (delegate == nullptr) {
        logDebugMessage("CCTouchDispatcher: refusing a null targeted delegate");
        return;
    }
    delegate->setHandlerKind(CCTouchDelegate::kTargeted);
    if (CCTouchHandler* handler = CCTargetedTouchHandler::create(delegate, priority, swallowsTouches)) {
        queueOrAdd(handler, targetedHandlers_);
    }
}

void CCTouchDispatcher::removeDelegate(CCTouchDelegate* delegate) {
    if (delegate == nullptr) {
        return;
    }
    if (!isLocked()) {
        forceRemoveDelegate(delegate);
        return;
    }
    // A removal cancels any addition of the same delegate queued before it, so
    // the queued work ends as if it had been applied in request order.
    for (unsigned i = handlersToAdd_->count(); i-- > 0;) {
        if (handlersToAdd_->objectAtIndex(i)->getDelegate() == delegate) {
            handlersToAdd_->removeObjectAtIndex(i);
        }
    }
    delegatesToRemove_.append(delegate);
    toRemove_ = true;
}

void CCTouchDispatcher::forceRemoveDelegate(CCTouchDelegate* delegate) {
    if (delegate == nullptr) {
        return;
    }
    for (CCMutableArray<CCTouchHandler*>* list : {standardHandlers_, targetedHandlers_}) {
        for (unsigned i = 0, count = list->count(); i < count; ++i) {
            if (list->objectAtIndex(i)->getDelegate() == delegate) {
                list->removeObjectAtIndex(i);
                break;
            }
        }
    }
}

void CCTouchDispatcher::emptyLists() {
    standardHandlers_->removeAllObjects();
    targetedHandlers_->removeAllObjects();
}

void CCTouchDispatcher::removeAllDelegates() {
    if (!isLocked()) {
        emptyLists();
        return;
    }
    // Everything queued so far is superseded; requests made after this one
    // still apply once the lists have been emptied.
    handlersToAdd_->removeAllObjects();
    delegatesToRemove_.clear();
    toAdd_ = false;
    toRemove_ = false;
    toQuit_ = true;
}

void CCTouchDispatcher::touchesBegan(CCSet* touches, CCEvent* event) {
    if (dispatchEvents_) {
        dispatchTouches(touches, event, kPhaseBegan);
    }
}

void CCTouchDispatcher::touchesMoved(CCSet* touches, CCEvent* event) {
    if (dispatchEvents_) {
        dispatchTouches(touches, event, kPhaseMoved);
    }
}

void CCTouchDispatcher::touchesEnded(CCSet* touches, CCEvent* event) {
    if (dispatchEvents_) {
        dispatchTouches(touches, event, kPhaseEnded);
    }
}

void CCTouchDispatcher::touchesCancelled(CCSet* touches, CCEvent* event) {
    if (dispatchEvents_) {
        dispatchTouches(touches, event, kPhaseCancelled);
    }
}

void CCTouchDispatcher::dispatchTouches(CCSet* touches, CCEvent* event, int phaseIndex) {
    if (touches == nullptr || phaseIndex < 0 || phaseIndex > 3) {
        logDebugMessage("CCTouchDispatcher: ignoring a touch set without touches or with phase %d",
                        phaseIndex);
        return;
    }
    ++lockDepth_;
    this->retain();
    const std::vector<CCTouch*> held = holdTouches(touches);
    const int phase = phaseTable_[phaseIndex];

    // Touches swallowed by a targeted delegate are hidden from the standard delegates; they are
    // taken out of a copy so that the caller's set stays whole.
    const unsigned targetedCount = targetedHandlers_->count();
    const unsigned standardCount = standardHandlers_->count();
    const bool copied = targetedCount > 0 && standardCount > 0;
    CCSet* remaining = copied ? touches->mutableCopy() : touches;

    if (!recognizersSuspended_) {
        callStandardDelegates(kRecognizerCalls[phase], standardCount, remaining, event);
    }
    for (CCTouch* touch : held) {
        deliverToTargeted(touch, targetedCount, phase, event, copied ? remaining : nullptr);
    }
    callStandardDelegates(kStandardCalls[phase], standardCount, remaining, event);

    if (copied) {
        remaining->release();
    }
    for (CCTouch* touch : held) {
        touch->release();
    }
    if (--lockDepth_ == 0) {
        applyQueuedWork();
    }
    this->release();
}

std::vector<CCTouch*> CCTouchDispatcher::holdTouches(CCSet* touches) {
    // The set may change under the callbacks; the walk goes over retained touches.
    std::vector<CCTouch*> held;
    CCDirector* director = CCDirector::getInstance();
    for (CCObject* object : *touches) {
        CCTouch* touch = static_cast<CCTouch*>(object);
        touch->retain();
        held.push_back(touch);
        // Overlay views are hit-tested in GL coordinates, origin bottom left.
        touch->setViewId(director->overlayViewIdAtPoint(director->convertToGL(touch->getLocationInView())));
    }
    return held;
}

void CCTouchDispatcher::callStandardDelegates(SetCallback call, unsigned count, CCSet* touches,
                                              CCEvent* event) {
    if (touches->count() == 0) {
        return;
    }
    // Removals are queued while the dispatcher is locked: the first `count` entries stay put.
    for (unsigned i = 0; i < count; ++i) {
        (standardHandlers_->objectAtIndex(i)->getDelegate()->*call)(touches, event);
    }
}

void CCTouchDispatcher::deliverToTargeted(CCTouch* touch, unsigned count, int phase, CCEvent* event,
                                          CCSet* remaining) {
    for (unsigned i = 0; i < count; ++i) {
        auto* handler = static_cast<CCTargetedTouchHandler*>(targetedHandlers_->objectAtIndex(i));
        if (offerToTargeted(handler, touch, phase, event) && handler->swallowsTouches()) {
            if (remaining != nullptr) {
                remaining->removeObject(touch);
            }
            return;
        }
    }
}

bool CCTouchDispatcher::offerToTargeted(CCTargetedTouchHandler* handler, CCTouch* touch, int phase,
                                        CCEvent* event) {
    CCTouchDelegate* delegate = handler->getDelegate();
    if (phase == kPhaseBegan) {
        if (!delegate->touchBegan(touch, event)) {
            return false;
        }
        handler->claimedTouches()->addObject(touch);
        return true;
    }
    if (!handler->claimedTouches()->containsObject(touch)) {
        return false;
    }
    if (phase == kPhaseMoved) {
        delegate->touchMoved(touch, event);
        return true;
    }
    if (phase == kPhaseEnded) {
        delegate->touchEnded(touch, event);
    } else {
        delegate->touchCancelled(touch, event);
    }
    handler->claimedTouches()->removeObject(touch);
    return true;
}

void CCTouchDispatcher::applyQueuedWork() {
    if (toQuit_) {
        toQuit_ = false;
        emptyLists();
    }
    if (toRemove_) {
        toRemove_ = false;
        for (CCTouchDelegate* delegate : delegatesToRemove_) {
            forceRemoveDelegate(delegate);
        }
        delegatesToRemove_.clear();
    }
    if (toAdd_) {
        toAdd_ = false;
        for (unsigned i = 0, count = handlersToAdd_->count(); i < count; ++i) {
            CCTouchHandler* handler = handlersToAdd_->objectAtIndex(i);
            forceAddHandler(handler, handler->isTargeted() ? targetedHandlers_ : standardHandlers_);
        }
        handlersToAdd_->removeAllObjects();
    }
}

} // namespace kvengine
