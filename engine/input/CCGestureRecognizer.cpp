#include "engine/input/CCGestureRecognizer.h"

#include <algorithm>

#include "engine/base/CCArray.h"
#include "engine/base/CCSet.h"
#include "engine/director/CCDirector.h"
#include "engine/input/CCTouch.h"
#include "engine/input/CCTouchDelegate.h"
#include "engine/nodes/CCNode.h"
#include "engine/platform/CCClock.h"

namespace kvengine {

namespace {

struct GestureClock {
    float now = -1.0f;
    CCTimeVal lastReading;
};

GestureClock gestureClock;

} // namespace

void CCGestureRecognizer::setCallback(CCObject* target, SEL_GestureHandler callback) {
    target_ = target;
    callback_ = callback;
}

void CCGestureRecognizer::fireCallback() {
    if (target_ != nullptr && callback_ != nullptr) {
        (target_->*callback_)(this, node_);
    }
}

float CCGestureRecognizer::getClock() {
    return gestureClock.now;
}

void CCGestureRecognizer::advanceClock() {
    CCTimeVal reading;
    getTimeOfDay(&reading);
    if (gestureClock.now < 0.0f) {
        gestureClock.now = 0.0f;
    } else {
        const float dt =
            static_cast<float>(reading.microseconds - gestureClock.lastReading.microseconds) / 1000000.0f +
            static_cast<float>(reading.seconds - gestureClock.lastReading.seconds);
        gestureClock.now += std::max(dt, 0.0f);
    }
    gestureClock.lastReading = reading;
}

void CCGestureRecognizer::resetClock() {
    gestureClock.now = -1.0f;
    gestureClock.lastReading = CCTimeVal();
}

bool CCGestureRecognizer::shouldReceiveTouch(CCTouch* touch) {
    if (touch == nullptr) {
        return false;
    }
    if (node_ != nullptr) {
        const CCPoint point = CCDirector::getInstance()->convertToGL(touch->getLocationInView());
        if (!node_->containsWorldPoint(point)) {
            return false;
        }
        // Anything drawn after the node or after one of its ancestors lies above
        // it and takes the touch.
        CCNode* current = node_;
        while (CCNode* parent = current->getParent()) {
            CCArray* siblings = parent->getChildren();
            const unsigned count = siblings != nullptr ? siblings->count() : 0;
            bool after = false;
            for (unsigned i = 0; i < count; ++i) {
                CCNode* sibling = static_cast<CCNode*>(siblings->objectAtIndex(i));
                if (sibling == current) {
                    after = true;
                } else if (after && sibling != nullptr && sibling->subtreeContainsWorldPoint(point)) {
                    return false;
                }
            }
            current = parent;
        }
    }
    return delegate_ == nullptr || delegate_->shouldRecognizerReceiveTouch(this, touch);
}

void CCGestureRecognizer::touchesBegan(CCSet* touches, CCEvent* /*event*/) {
    if (trackNewTouches(touches)) {
        updateState();
    }
}

void CCGestureRecognizer::touchesMoved(CCSet* touches, CCEvent* /*event*/) {
    if (moveTrackedTouches(touches)) {
        updateState();
    }
}

void CCGestureRecognizer::touchesEnded(CCSet* touches, CCEvent* /*event*/) {
    if (endTrackedTouches(touches)) {
        updateState();
    }
}

void CCGestureRecognizer::touchesCancelled(CCSet* touches, CCEvent* /*event*/) {
    if (endTrackedTouches(touches)) {
        updateState();
    }
}

bool CCGestureRecognizer::trackNewTouches(CCSet* touches) {
    if (touches == nullptr) {
        return false;
    }
    if (delegate_ != nullptr && !delegate_->shouldRecognizerHandleTouches(this)) {
        return false;
    }
    const float now = getClock();
    for (CCObject* object : *touches) {
        CCTouch* touch = static_cast<CCTouch*>(object);
        if (!shouldReceiveTouch(touch)) {
            continue;
        }
        CCTouchTrack track;
        track.firstTime = now;
        track.lastTime = now;
        track.startPoint = touch->getLocationInView();
        track.lastPoint = track.startPoint;
        tracks_[touch] = track;
    }
    return true;
}

bool CCGestureRecognizer::moveTrackedTouches(CCSet* touches) {
    if (touches == nullptr) {
        return false;
    }
    const float now = getClock();
    bool moved = false;
    for (CCObject* object : *touches) {
        CCTouch* touch = static_cast<CCTouch*>(object);
        auto found = tracks_.find(touch);
        if (found == tracks_.end()) {
            continue;
        }
        const CCPoint location = touch->getLocationInView();
        trackWillMove(found->second, location, now);
        found->second.lastTime = now;
        found->second.lastPoint = location;
        moved = true;
    }
    return moved;
}

bool CCGestureRecognizer::endTrackedTouches(CCSet* touches) {
    if (touches == nullptr) {
        return false;
    }
    const float now = getClock();
    bool ended = false;
    for (CCObject* object : *touches) {
        CCTouch* touch = static_cast<CCTouch*>(object);
        auto found = tracks_.find(touch);
        if (found == tracks_.end()) {
            continue;
        }
        trackWillEnd(touch, found->second, now);
        tracks_.erase(found);
        ended = true;
    }
    return ended;
}

} // namespace kvengine
