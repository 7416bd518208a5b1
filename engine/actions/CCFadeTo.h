#pragma once

#include <cstdint>

#include "engine/actions/CCAction.h"

namespace kvengine {

/// Fades its node's opacity from 0 to 255. Nodes without a colour interface are left alone.
class CCFadeIn : public CCActionInterval {
public:
    static CCFadeIn* createWithDuration(float seconds);
    void update(float t) override;
    /// A fade-out of the same duration.
    CCFiniteTimeAction* reverse() override;
    CCObject* copyInto(CCCopyHolder* holder) override;
    CC_DECLARE_CLASS_NAME(CCFadeIn, CCAction)
};

/// Fades its node's opacity from 255 to 0.
class CCFadeOut : public CCActionInterval {
public:
    static CCFadeOut* createWithDuration(float seconds);
    void update(float t) override;
    /// A fade-in of the same duration.
    CCFiniteTimeAction* reverse() override;
    CCObject* copyInto(CCCopyHolder* holder) override;
};

/// Fades its node's opacity from its value at start to a target opacity.
class CCFadeTo : public CCActionInterval {
public:
    static CCFadeTo* createWithDurationOpacity(float seconds, uint8_t opacity);
    bool initWithDurationOpacity(float seconds, uint8_t opacity);

    void startWithTarget(CCNode* target) override;
    void update(float t) override;
    CCObject* copyInto(CCCopyHolder* holder) override;

private:
    uint8_t m_toOpacity = 0;
    uint8_t m_fromOpacity = 0;
};

} // namespace kvengine
