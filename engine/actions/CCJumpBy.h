#pragma once

#include "engine/actions/CCAction.h"
#include "engine/base/CCGeometry.h"

namespace kvengine {

/// Moves its node by a delta (points) in a number of parabolic jumps of a given height above
/// the straight line; the node is on that line at every whole number of jumps.
class CCJumpBy : public CCActionInterval {
public:
    static CCJumpBy* createWithDurationHeightJumps(float seconds, float height, unsigned int jumps,
                                                   const CCPoint& delta);
    bool initWithDuration(float seconds, const CCPoint& delta, float height, unsigned int jumps);

    void startWithTarget(CCNode* target) override;
    void update(float t) override;
    /// A jump by -delta with the same height and jumps.
    CCFiniteTimeAction* reverse() override;
    CCObject* copyInto(CCCopyHolder* holder) override;

protected:
    using CCActionInterval::initWithDuration;

    CCPoint m_startPosition;
    CCPoint m_delta;
    float m_height = 0.0f;
    unsigned int m_jumps = 0;
};

/// Jumps its node to a destination (points). The destination is kept apart from the delta
/// worked out at each start, so a restart (in a repeat) or a copy still aims at the destination.
class CCJumpTo : public CCJumpBy {
public:
    static CCJumpTo* createWithDurationHeightJumps(float seconds, float height, unsigned int jumps,
                                                   const CCPoint& destination);
    bool initWithDuration(float seconds, const CCPoint& destination, float height, unsigned int jumps);

    void startWithTarget(CCNode* target) override;
    CCObject* copyInto(CCCopyHolder* holder) override;

private:
    using CCJumpBy::initWithDuration;

    CCPoint m_destination;
};

} // namespace kvengine
