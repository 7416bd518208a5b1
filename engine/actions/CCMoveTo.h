#pragma once

#include "engine/actions/CCAction.h"
#include "engine/base/CCGeometry.h"

namespace kvengine {

/// Moves its node in a straight line to an end position (points).
class CCMoveTo : public CCActionInterval {
public:
    static CCMoveTo* createWithDurationPosition(float seconds, const CCPoint& position);
    bool initWithDurationPosition(float seconds, const CCPoint& position);

    /// Reads the node's position now: the move goes from wherever the node is at start.
    void startWithTarget(CCNode* target) override;
    void update(float t) override;
    CCObject* copyInto(CCCopyHolder* holder) override;
    CC_DECLARE_CLASS_NAME(CCMoveTo, CCAction)

protected:
    CCPoint m_endPosition;
    CCPoint m_startPosition;
    CCPoint m_delta;
};

/// Moves its node by a delta (points) from wherever it is when started.
class CCMoveBy : public CCMoveTo {
public:
    static CCMoveBy* createWithDurationPosition(float seconds, const CCPoint& delta);
    bool initWithDurationPosition(float seconds, const CCPoint& delta);

    void startWithTarget(CCNode* target) override;
    /// A move by -delta over the same duration.
    CCFiniteTimeAction* reverse() override;
    CCObject* copyInto(CCCopyHolder* holder) override;
    CC_DECLARE_CLASS_NAME(CCMoveBy, CCMoveTo)
};

} // namespace kvengine
