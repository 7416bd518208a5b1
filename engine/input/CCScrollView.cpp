#include "engine/input/CCScrollView.h"

#include <algorithm>
#include <cmath>

#include "engine/input/CCPanGestureRecognizer.h"
#include "engine/input/CCTouchDispatcher.h"

namespace kvengine {

CCScrollView::CCScrollView() = default;

CCScrollView::~CCScrollView() {
    if (panRecognizer_ != nullptr) {
        panRecognizer_->release();
        panRecognizer_ = nullptr;
    }
}

void CCScrollView::moveContent(const CCPoint& offset) {
    contentOffset_ = offset;
    bounds_.origin = offset;
}

void CCScrollView::setContentOffset(const CCPoint& offset) {
    moveContent(offset);
    if (delegate_ != nullptr) {
        delegate_->didScroll(this, false);
    }
}

void CCScrollView::jumpToContentOffset(const CCPoint& offset) {
    moveContent(offset);
    const bool jump = jumpFlag_;
    jumpFlag_ = false;
    if (delegate_ != nullptr) {
        delegate_->didScroll(this, jump);
    }
}

void CCScrollView::onEnter() {
    // One recognizer for the view's whole life, whatever the number of entries.
    if (panRecognizer_ == nullptr) {
        panRecognizer_ = new CCPanGestureRecognizer();
        panRecognizer_->setCallback(this, gesture_selector(CCScrollView::onPanGesture));
        addGestureRecognizer(panRecognizer_);
    }
    CCTouchDispatcher::getInstance()->addStandardDelegate(this);
    CCLayer::onEnter();
    dragging_ = false;
    decelerating_ = false;
}

void CCScrollView::onExit() {
    if (decelerating_) {
        unscheduleUpdate();
    }
    CCTouchDispatcher::getInstance()->removeDelegate(this);
    contentOffset_ = CCPoint(0.0f, 0.0f);
    CCLayer::onExit();
}

void CCScrollView::onPanGesture(CCGestureRecognizer* recognizer, CCNode* /*node*/) {
    handlePanGesture(recognizer);
}

void CCScrollView::handlePanGesture(CCGestureRecognizer* recognizer) {
    if (!enabled_ || recognizer == nullptr || !recognizer->isKindOf("CCPanGestureRecognizer")) {
        return;
    }
    auto* pan = static_cast<CCPanGestureRecognizer*>(recognizer);
    switch (pan->getState()) {
    case kCCGestureRecognizerStateBegan:
        if (decelerating_) {
            unscheduleUpdate();
            decelerating_ = false;
            velocity_ = CCPoint(0.0f, 0.0f);
        }
        if (delegate_ != nullptr) {
            delegate_->willBeginDragging(this);
        }
        dragging_ = true;
        break;
    case kCCGestureRecognizerStateChanged: {
        const CCPoint step = pan->getTranslation();
        pan->setTranslation(CCPoint(0.0f, 0.0f));
        velocity_ = pan->getVelocity();
        dragged_ = true;
        moveContent(CCPoint(contentOffset_.x - step.x, contentOffset_.y - step.y));
        if (delegate_ != nullptr) {
            delegate_->didScroll(this, false);
        }
        break;
    }
    case kCCGestureRecognizerStateEnded:
    case kCCGestureRecognizerStateEnded + 1:
        velocity_ = pan->getVelocity();
        dragging_ = false;
        decelerating_ = velocity_.x != 0.0f || velocity_.y != 0.0f;
        if (decelerating_) {
            scheduleUpdate();
        }
        if (delegate_ != nullptr) {
            delegate_->didEndDragging(this, decelerating_);
            if (decelerating_) {
                delegate_->willBeginDecelerating(this);
            } else {
                delegate_->didEndDecelerating(this);
            }
        }
        break;
    default:
        break;
    }
}

void CCScrollView::stopMoving() {
    velocity_ = CCPoint(0.0f, 0.0f);
    decelerating_ = false;
    unscheduleUpdate();
    if (delegate_ != nullptr) {
        delegate_->didEndDecelerating(this);
    }
}

void CCScrollView::update(float dt) {
    if (dragging_) {
        return;
    }
    if (decelerating_) {
        CCPoint offset(contentOffset_.x - dt * velocity_.x, contentOffset_.y - dt * velocity_.y);
        const float decay = (1.0f - std::min(dt, 1.0f)) * kDecelerationFactor;
        velocity_ = CCPoint(velocity_.x * decay, velocity_.y * decay);
        bool stopped = false;
        if (std::fabs(velocity_.x) < kRestSpeed && std::fabs(velocity_.y) < kRestSpeed) {
            stopped = true;
        }
        // Only x has bounds: the content runs from 0 to the view's width.
        const float width = getContentSize().width;
        if (offset.x < 0.0f) {
            offset.x = 0.0f;
            stopped = true;
        } else if (offset.x > width) {
            offset.x = width;
            stopped = true;
        }
        moveContent(offset);
        if (stopped) {
            stopMoving();
        }
        if (delegate_ != nullptr) {
            delegate_->didScroll(this, false);
        }
        return;
    }
    moveContent(CCPoint(contentOffset_.x - dt * velocity_.x, contentOffset_.y - dt * velocity_.y));
    if (stopActive_) {
        const float remaining = stopOffsetX_ - contentOffset_.x;
        const bool arrived = towardsLarger_ ? remaining <= 0.0f : remaining >= 0.0f;
        if (arrived) {
            moveContent(CCPoint(stopOffsetX_, contentOffset_.y));
            stopOffsetX_ = 0.0f;
            settledOffset_ = contentOffset_;
            stopActive_ = false;
            stopMoving();
        }
    }
    if (delegate_ != nullptr) {
        delegate_->didScroll(this, true);
    }
}

void CCScrollView::scrollByWithInertia(float distance) {
    if (stopOffsetX_ != 0.0f || stopActive_) {
        return;
    }
    stopActive_ = true;
    towardsLarger_ = distance < 0.0f;
    // A page step always starts from a settled page: a partial drag is dropped.
    if (dragged_) {
        if (firstPage_) {
            firstPage_ = false;
            contentOffset_ = CCPoint(0.0f, 0.0f);
        } else {
            contentOffset_ = settledOffset_;
        }
    }
    stopOffsetX_ = contentOffset_.x - distance;
    velocity_ = CCPoint(velocity_.x + kPageSpeedFactor * distance, 0.0f);
    moveContent(contentOffset_);
    if (delegate_ != nullptr) {
        delegate_->didScroll(this, true);
    }
    settledOffset_ = contentOffset_;
    dragged_ = false;
    dragging_ = false;
    firstPage_ = false;
    decelerating_ = false;
    scheduleUpdate();
}

} // namespace kvengine
