#pragma once

#include <cstdint>

#include "engine/actions/CCAction.h"

namespace kvengine {

/// Tints its node from its colour at start to a target colour (r, g, b bytes).
class CCTintTo : public CCActionInterval {
public:
    static CCTintTo* createWithDurationColor(float seconds, uint8_t r, uint8_t g, uint8_t b);
    bool initWithDurationColor(float seconds, uint8_t r, uint8_t g, uint8_t b);

    void startWithTarget(CCNode* target) override;
    void update(float t) override;
    CCObject* copyInto(CCCopyHolder* holder) override;

private:
    uint8_t m_to[3] = {0, 0, 0};
    uint8_t m_from[3] = {0, 0, 0};
};

/// Shifts its node's colour channels by signed deltas. A channel pushed out of 0..255 wraps
/// modulo 256 (red 200 tinted by +100 ends at 44).
class CCTintBy : public CCActionInterval {
public:
    static CCTintBy* createWithDurationDeltas(float seconds, int16_t deltaR, int16_t deltaG, int16_t deltaB);
    bool initWithDurationDeltas(float seconds, int16_t deltaR, int16_t deltaG, int16_t deltaB);

    void startWithTarget(CCNode* target) override;
    void update(float t) override;
    /// A tint by the negated deltas over the same duration.
    CCFiniteTimeAction* reverse() override;
    CCObject* copyInto(CCCopyHolder* holder) override;

private:
    int16_t m_delta[3] = {0, 0, 0};
    int16_t m_from[3] = {0, 0, 0};
};

} // namespace kvengine
