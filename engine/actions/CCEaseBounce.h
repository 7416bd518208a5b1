#pragma once

#include "engine/actions/CCActionEase.h"

namespace kvengine {

/// Base of the bounce eases; its own curve is t and its reverse a plain ease.
class CCEaseBounce : public CCActionEase {
public:
    CCObject* copyInto(CCCopyHolder* holder) override;
};

class CCEaseBounceIn : public CCEaseBounce {
public:
    static CCEaseBounceIn* createWithAction(CCActionInterval* action);
    void update(float t) override;
    CCFiniteTimeAction* reverse() override;
    CCObject* copyInto(CCCopyHolder* holder) override;
};

class CCEaseBounceOut : public CCEaseBounce {
public:
    static CCEaseBounceOut* createWithAction(CCActionInterval* action);
    void update(float t) override;
    CCFiniteTimeAction* reverse() override;
    CCObject* copyInto(CCCopyHolder* holder) override;
};

class CCEaseBounceInOut : public CCEaseBounce {
public:
    static CCEaseBounceInOut* createWithAction(CCActionInterval* action);
    void update(float t) override;
    CCObject* copyInto(CCCopyHolder* holder) override;
};

} // namespace kvengine
