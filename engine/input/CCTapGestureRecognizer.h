#pragma once

#include <vector>

#include "engine/input/CCGestureRecognizer.h"

namespace kvengine {

/// Recognizes a tap (1 tap required) or a double tap (2). A tap is a press that
/// moves at most 15 points and is lifted within 1.5 s; the second tap of a double
/// tap must start within 0.8 s of the first one's end, within 15 points of it.
/// The callback runs once per recognized gesture; the state stays possible.
class CCTapGestureRecognizer : public CCGestureRecognizer {
public:
    static constexpr float kMaxMovement = 15.0f;
    static constexpr float kMaxPressSeconds = 1.5f;
    static constexpr float kMaxGapSeconds = 0.8f;
    /// Per required tap: how long a finished tap waits for its partner.
    static constexpr float kRecordLifetimePerTap = 2.3f;

    CC_DECLARE_CLASS_NAME(CCTapGestureRecognizer, CCGestureRecognizer)

    void touchesBegan(CCSet* touches, CCEvent* event) override;
    void touchesMoved(CCSet* touches, CCEvent* event) override;
    void touchesEnded(CCSet* touches, CCEvent* event) override;
    void touchesCancelled(CCSet* touches, CCEvent* event) override;

    unsigned getNumberOfTapsRequired() const { return tapsRequired_; }
    void setNumberOfTapsRequired(unsigned taps) { tapsRequired_ = taps; }
    /// Where the recognized tap happened, in the touch's view coordinates.
    CCPoint getLocation() const { return location_; }

    /// Matches taps waiting in the records against the required count.
    void evaluateTaps();

private:
    struct TapRecord {
        float start;
        float end; ///< -1 while the touch is down
        float x;
        float y;
        CCTouch* touch;
    };

    /// The first record of the touch that is still down, or end().
    std::vector<TapRecord>::iterator openRecord(CCTouch* touch);

    unsigned tapsRequired_ = 1;
    std::vector<TapRecord> records_;
    CCPoint location_;
};

} // namespace kvengine
