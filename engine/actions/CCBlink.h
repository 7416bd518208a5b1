#pragma once

#include "engine/actions/CCAction.h"

namespace kvengine {

/// Blinks its node: the duration is cut into `blinks` slices, the node is hidden in the first
/// half of each slice and shown in the second. The final update changes nothing, so the node
/// keeps the visibility of the update before it. With 0 blinks the node is left as it is.
class CCBlink : public CCActionInterval {
public:
    static CCBlink* createWithDurationBlinks(float seconds, unsigned int blinks);
    bool initWithDurationBlinks(float seconds, unsigned int blinks);

    void update(float t) override;
    /// A blink of the same duration and count.
    CCFiniteTimeAction* reverse() override;
    CCObject* copyInto(CCCopyHolder* holder) override;

private:
    unsigned int m_blinks = 0;
};

} // namespace kvengine
