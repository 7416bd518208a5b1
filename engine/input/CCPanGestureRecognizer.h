#pragma once

#include "engine/input/CCGestureRecognizer.h"

namespace kvengine {

/// Recognizes a drag: begins once the first touch has moved 8 points in x or y
/// from where it went down, then reports the movement since the previous update.
///
/// Callbacks: on began, on every changed update and on ended; the update after
/// ended returns to possible silently.
class CCPanGestureRecognizer : public CCGestureRecognizer {
public:
    /// Distance in points that the touch must move before the pan begins.
    static constexpr float kBeginThreshold = 8.0f;

    CC_DECLARE_CLASS_NAME(CCPanGestureRecognizer, CCGestureRecognizer)

    /// Points: total movement at began, movement since the previous update after.
    CCPoint getTranslation() const { return translation_; }
    void setTranslation(const CCPoint& translation) { translation_ = translation; }
    /// Points per second.
    CCPoint getVelocity() const { return velocity_; }
    /// Where the measured touch was at the last update, in its view coordinates; kept after the
    /// gesture ends.
    CCPoint getLocation() const { return location_; }

    unsigned getMinimumNumberOfTouches() const { return minimumTouches_; }
    void setMinimumNumberOfTouches(unsigned count) { minimumTouches_ = count; }
    unsigned getMaximumNumberOfTouches() const { return maximumTouches_; }
    void setMaximumNumberOfTouches(unsigned count) { maximumTouches_ = count; }

protected:
    void updateState() override;
    void trackWillMove(CCTouchTrack& track, const CCPoint& location, float now) override;
    void trackWillEnd(CCTouch* touch, CCTouchTrack& track, float now) override;

private:
    bool inRange() const;
    /// The first tracked touch when translations are measured, else null.
    const CCTouchTrack* measuredTrack() const;

    unsigned maximumTouches_ = 1;
    unsigned minimumTouches_ = 1;
    CCPoint translation_;
    CCPoint velocity_;
    CCPoint location_;
};

} // namespace kvengine
