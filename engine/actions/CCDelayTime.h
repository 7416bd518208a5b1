#pragma once

#include "engine/actions/CCAction.h"

namespace kvengine {

/// Does nothing for its duration (seconds); used to space the steps of a sequence.
class CCDelayTime : public CCActionInterval {
public:
    static CCDelayTime* createWithDuration(float seconds);

    void update(float t) override;
    /// A new delay of the same duration.
    CCFiniteTimeAction* reverse() override;
    CCObject* copyInto(CCCopyHolder* holder) override;
};

} // namespace kvengine
