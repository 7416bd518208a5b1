#pragma once

#include "engine/actions/CCActionEase.h"

namespace kvengine {

/// Back eases pull back a little (about 10 %) before moving, or overshoot before settling.
class CCEaseBackIn : public CCActionEase {
public:
    static CCEaseBackIn* createWithAction(CCActionInterval* action);
    void update(float t) override;
    CCFiniteTimeAction* reverse() override;
    CCObject* copyInto(CCCopyHolder* holder) override;
};

class CCEaseBackOut : public CCActionEase {
public:
    static CCEaseBackOut* createWithAction(CCActionInterval* action);
    void update(float t) override;
    CCFiniteTimeAction* reverse() override;
    CCObject* copyInto(CCCopyHolder* holder) override;
};

class CCEaseBackInOut : public CCActionEase {
public:
    static CCEaseBackInOut* createWithAction(CCActionInterval* action);
    void update(float t) override;
    CCObject* copyInto(CCCopyHolder* holder) override;
};

} // namespace kvengine
