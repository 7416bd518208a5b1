#include "engine/input/CCGestureRecognizer.h"

#include <algorithm>

#include "engine/input/CCTouch.h"
#include "engine/input/CCTouchDelegate.h"
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

float CCGestureRecognizer::getClock() { return gestureClock.now; }

void CCGestureRecognizer::advanceClock() {
    CCTimeVal reading;
    getTimeOfDay(&reading);
    if (gestureClock.now < 0.0f) {
        gestureClock.now = 0.0f;
    } else {
        const float dt = static_cast<float>(reading.microseconds - gestureClock.lastReading.microseconds) / 1000000.0f +
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
    return delegate_ == nullptr || delegate_->shouldRecognizerReceiveTouch(this, touch);
}

} // namespace kvengine
