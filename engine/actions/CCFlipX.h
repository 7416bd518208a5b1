#pragma once

#include "engine/actions/CCActionInstant.h"

namespace kvengine {

/// Sets the horizontal flip of its sprite when started. A node that is not a sprite is left
/// alone (with a log line).
class CCFlipX : public CCActionInstant {
public:
    static CCFlipX* createWithFlip(bool flipX);
    bool initWithFlip(bool flipX);

    void startWithTarget(CCNode* target) override;
    /// A flip with the opposite flag.
    CCFiniteTimeAction* reverse() override;
    CCObject* copyInto(CCCopyHolder* holder) override;

private:
    bool m_flip = false;
};

/// Sets the vertical flip of its sprite when started.
class CCFlipY : public CCActionInstant {
public:
    static CCFlipY* createWithFlip(bool flipY);
    bool initWithFlip(bool flipY);

    void startWithTarget(CCNode* target) override;
    /// A flip with the opposite flag.
    CCFiniteTimeAction* reverse() override;
    CCObject* copyInto(CCCopyHolder* holder) override;

private:
    bool m_flip = false;
};

} // namespace kvengine
