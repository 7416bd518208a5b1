#pragma once

#include "engine/actions/CCAction.h"
#include "engine/base/CCGeometry.h"

namespace kvengine {

/// A cubic Bezier path: the end position and two control points (points).
struct CCBezierPoints {
    CCPoint endPosition;
    CCPoint controlPoint1;
    CCPoint controlPoint2;
};

/// The cubic Bernstein form (1-t)^3 a + 3t(1-t)^2 b + 3t^2(1-t) c + t^3 d.
float bezierAt(float a, float b, float c, float d, float t);

/// Moves its node along a cubic Bezier curve whose points are offsets from its start position.
class CCBezierBy : public CCActionInterval {
public:
    static CCBezierBy* createWithDurationConfig(float seconds, const CCBezierPoints& path);
    bool initWithDurationConfig(float seconds, const CCBezierPoints& path);

    void startWithTarget(CCNode* target) override;
    void update(float t) override;
    /// The same curve run backwards from its end, over the same duration.
    CCFiniteTimeAction* reverse() override;
    CCObject* copyInto(CCCopyHolder* holder) override;

protected:
    CCBezierPoints m_path;
    CCPoint m_startPosition;
};

/// Moves its node along a cubic Bezier curve given in absolute points. The absolute path is
/// kept apart from the offsets worked out at each start, so restarts and copies stay correct.
class CCBezierTo : public CCBezierBy {
public:
    static CCBezierTo* createWithDurationConfig(float seconds, const CCBezierPoints& path);
    bool initWithDurationConfig(float seconds, const CCBezierPoints& path);

    void startWithTarget(CCNode* target) override;
    CCObject* copyInto(CCCopyHolder* holder) override;

private:
    CCBezierPoints m_absolutePath;
};

} // namespace kvengine
