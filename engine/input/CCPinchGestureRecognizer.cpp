#include "engine/input/CCPinchGestureRecognizer.h"

#include <cmath>
#include <iterator>

namespace kvengine {

namespace {

float lengthSquared(const CCPoint& v) {
    return v.x * v.x + v.y * v.y;
}

} // namespace

void CCPinchGestureRecognizer::resetMeasure() {
    startVector_ = CCPoint(0.0f, 0.0f);
    scale_ = 1.0f;
    previousScale_ = 1.0f;
    velocity_ = 0.0f;
}

void CCPinchGestureRecognizer::updateState() {
    const int before = state_;
    const bool twoTouches = tracks_.size() == 2;
    CCPoint vector;
    if (twoTouches) {
        const CCTouchTrack& first = tracks_.begin()->second;
        const CCTouchTrack& second = std::next(tracks_.begin())->second;
        vector = CCPoint(second.lastPoint.x - first.lastPoint.x, second.lastPoint.y - first.lastPoint.y);
        center_ = CCPoint((first.lastPoint.x + second.lastPoint.x) / 2.0f,
                          (first.lastPoint.y + second.lastPoint.y) / 2.0f);
    }
    const float now = getClock();
    switch (state_) {
    case kCCGestureRecognizerStatePossible:
        if (!twoTouches) {
            resetMeasure();
        } else if (lengthSquared(startVector_) == 0.0f) {
            // Touches that went down on one spot give no reference distance yet.
            startVector_ = vector;
        } else {
            const float ratio = std::sqrt(lengthSquared(vector) / lengthSquared(startVector_));
            if (ratio > 1.1f || ratio < 0.9f) {
                scale_ = ratio;
                previousScale_ = ratio;
                velocity_ = 0.0f;
                lastUpdateTime_ = now;
                state_ = kCCGestureRecognizerStateBegan;
            }
        }
        break;
    case kCCGestureRecognizerStateBegan:
    case kCCGestureRecognizerStateChanged:
        if (!twoTouches) {
            state_ = kCCGestureRecognizerStateEnded;
            break;
        }
        previousScale_ = scale_;
        // Two touches that meet leave no distance to compare with: keep the scale.
        if (lengthSquared(startVector_) > 0.0f) {
            scale_ = std::sqrt(lengthSquared(vector) / lengthSquared(startVector_));
        }
        startVector_ = vector;
        if (now - lastUpdateTime_ > 0.0f) {
            velocity_ = (scale_ - previousScale_) / (now - lastUpdateTime_);
        }
        lastUpdateTime_ = now;
        state_ = kCCGestureRecognizerStateChanged;
        break;
    default:
        resetMeasure();
        lastUpdateTime_ = 0.0f;
        state_ = kCCGestureRecognizerStatePossible;
        break;
    }
    if (state_ != kCCGestureRecognizerStatePossible &&
        (state_ != before || state_ == kCCGestureRecognizerStateChanged)) {
        fireCallback();
    }
}

} // namespace kvengine
