#pragma once

#include "engine/input/CCGestureRecognizer.h"

namespace kvengine {

/// Recognizes a two-touch pinch: begins when the distance between the touches has
/// changed by more than 10 % since they went down, then reports the scale change
/// since the previous update. A single mouse touch never pinches.
class CCPinchGestureRecognizer : public CCGestureRecognizer {
public:
    CC_DECLARE_CLASS_NAME(CCPinchGestureRecognizer, CCGestureRecognizer)

    /// Ratio of the touch distance to the previous one (to the touch-down distance
    /// at began); 1 when idle.
    float getScale() const { return scale_; }
    /// Scale change per second.
    float getVelocity() const { return velocity_; }
    /// Midpoint of the two touches, in the touches' view coordinates.
    CCPoint getCenter() const { return center_; }

protected:
    void updateState() override;

private:
    void resetMeasure();

    float scale_ = 1.0f;
    float previousScale_ = 1.0f;
    float velocity_ = 0.0f;
    float lastUpdateTime_ = 0.0f;
    CCPoint startVector_;
    CCPoint center_;
};

} // namespace kvengine
