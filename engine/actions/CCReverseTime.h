#pragma once

#include "engine/actions/CCAction.h"

namespace kvengine {

/// Runs an action backwards in time: the held action gets 1 - t, so it starts at its end.
class CCReverseTime : public CCActionInterval {
public:
    ~CCReverseTime() override;

    /// Null (and a log line) for a null action.
    static CCReverseTime* createWithAction(CCFiniteTimeAction* action);
    bool initWithAction(CCFiniteTimeAction* action);

    void startWithTarget(CCNode* target) override;
    void stop() override;
    void update(float t) override;
    /// An autoreleased copy of the held action.
    CCFiniteTimeAction* reverse() override;
    CCObject* copyInto(CCCopyHolder* holder) override;

private:
    CCFiniteTimeAction* m_other = nullptr;
};

} // namespace kvengine
