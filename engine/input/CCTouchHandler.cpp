#include "engine/input/CCTouchHandler.h"

#include "engine/base/CCLog.h"
#include "engine/base/CCSet.h"
#include "engine/input/CCTouchDelegate.h"

namespace kvengine {

CCTouchHandler::~CCTouchHandler() {
    if (delegate_ != nullptr) {
        delegate_->releaseOwner();
    }
}

bool CCTouchHandler::init(CCTouchDelegate* delegate, int priority) {
    if (delegate == nullptr) {
        logDebugMessage("CCTouchHandler: a touch handler needs a delegate");
        return false;
    }
    delegate_ = delegate;
    delegate_->retainOwner();
    priority_ = priority;
    return true;
}

CCStandardTouchHandler* CCStandardTouchHandler::create(CCTouchDelegate* delegate) {
    auto* handler = new CCStandardTouchHandler();
    if (!handler->init(delegate, 0)) {
        handler->release();
        return nullptr;
    }
    handler->autorelease();
    return handler;
}

CCTargetedTouchHandler::~CCTargetedTouchHandler() {
    if (claimedTouches_ != nullptr) {
        claimedTouches_->release();
        claimedTouches_ = nullptr;
    }
}

CCTargetedTouchHandler* CCTargetedTouchHandler::create(CCTouchDelegate* delegate, int priority,
                                                       bool swallowsTouches) {
    auto* handler = new CCTargetedTouchHandler();
    if (!handler->initWithSwallowing(delegate, priority, swallowsTouches)) {
        handler->release();
        return nullptr;
    }
    handler->autorelease();
    return handler;
}

bool CCTargetedTouchHandler::initWithSwallowing(CCTouchDelegate* delegate, int priority,
                                                bool swallowsTouches) {
    if (!CCTouchHandler::init(delegate, priority)) {
        return false;
    }
    if (claimedTouches_ == nullptr) {
        claimedTouches_ = new CCSet();
    }
    swallowsTouches_ = swallowsTouches;
    return true;
}

} // namespace kvengine
