#include "engine/input/CCPanGestureRecognizer.h"

#include <cmath>

#include "engine/input/CCTouch.h"

namespace kvengine {

bool CCPanGestureRecognizer::inRange() const {
    return tracks_.size() >= minimumTouches_ && tracks_.size() <= maximumTouches_;
}

const CCTouchTrack* CCPanGestureRecognizer::measuredTrack() const {
    if (minimumTouches_ != 1 || tracks_.empty()) {
        return nullptr;
    }
    return &tracks_.begin()->second;
}

void CCPanGestureRecognizer::trackWillMove(CCTouchTrack& track, const CCPoint& location, float now) {
    const float dt = now - track.lastTime;
    if (dt > 0.0f) {
        track.velocity =
            CCPoint((location.x - track.lastPoint.x) / dt, (location.y - track.lastPoint.y) / dt);
    }
    // Until the pan begins the start stays where the touch went down, so the threshold is
    // measured on the total movement; afterwards each update reports only the step since the
    // previous one.
    if (state_ != kCCGestureRecognizerStatePossible || !inRange()) {
        track.startPoint = track.lastPoint;
    }
}

void CCPanGestureRecognizer::trackWillEnd(CCTouch* touch, CCTouchTrack& track, float now) {
    const float dt = now - track.lastTime;
    if (state_ != kCCGestureRecognizerStatePossible && dt > 0.0f) {
        const CCPoint location = touch->getLocationInView();
        track.velocity =
            CCPoint((location.x - track.lastPoint.x) / dt, (location.y - track.lastPoint.y) / dt);
        if (minimumTouches_ == 1) {
            velocity_ = tracks_.begin()->second.velocity;
        }
    }
}

void CCPanGestureRecognizer::updateState() {
    const int before = state_;
    const CCTouchTrack* first = measuredTrack();
    if (first != nullptr) {
        translation_ =
            CCPoint(first->lastPoint.x - first->startPoint.x, first->lastPoint.y - first->startPoint.y);
        location_ = first->lastPoint;
    }
    switch (state_) {
    case kCCGestureRecognizerStatePossible:
        if (inRange() && first != nullptr &&
            (std::fabs(translation_.x) >= kBeginThreshold || std::fabs(translation_.y) >= kBeginThreshold)) {
            velocity_ = first->velocity;
            state_ = kCCGestureRecognizerStateBegan;
        }
        break;
    case kCCGestureRecognizerStateBegan:
    case kCCGestureRecognizerStateChanged:
        if (!inRange()) {
            state_ = kCCGestureRecognizerStateEnded;
        } else if (first != nullptr) {
            velocity_ = first->velocity;
            state_ = kCCGestureRecognizerStateChanged;
        } else {
            velocity_ = CCPoint(0.0f, 0.0f);
            state_ = kCCGestureRecognizerStateEnded;
        }
        break;
    default:
        state_ = kCCGestureRecognizerStatePossible;
        break;
    }
    if (state_ != kCCGestureRecognizerStatePossible &&
        (state_ != before || state_ == kCCGestureRecognizerStateChanged)) {
        fireCallback();
    }
}

} // namespace kvengine
