#include "engine/actions/CCTintTo.h"

#include "engine/actions/CCActionCopy.h"
#include "engine/actions/CCColorBytes.h"
#include "engine/nodes/CCNode.h"

namespace kvengine {

namespace {

CCRGBAProtocol* colourOf(CCNode* node) {
    return node != nullptr ? node->asRGBAProtocol() : nullptr;
}

ccColor3B rgb(const uint8_t channels[3]) {
    ccColor3B colour;
    colour.r = channels[0];
    colour.g = channels[1];
    colour.b = channels[2];
    return colour;
}

/// Remembers the target's colour as the start of the tint; a target without colour keeps the old start.
template <typename Channel> void captureStartColour(CCNode* target, Channel (&from)[3]) {
    if (CCRGBAProtocol* colour = colourOf(target)) {
        ccColor3B c = colour->getColor();
        from[0] = c.r;
        from[1] = c.g;
        from[2] = c.b;
    }
}

} // namespace

CCTintTo* CCTintTo::createWithDurationColor(float seconds, uint8_t r, uint8_t g, uint8_t b) {
    CCTintTo* tint = new CCTintTo();
    tint->initWithDurationColor(seconds, r, g, b);
    tint->autorelease();
    return tint;
}

bool CCTintTo::initWithDurationColor(float seconds, uint8_t r, uint8_t g, uint8_t b) {
    initWithDuration(seconds);
    m_to[0] = r;
    m_to[1] = g;
    m_to[2] = b;
    return true;
}

void CCTintTo::startWithTarget(CCNode* target) {
    CCActionInterval::startWithTarget(target);
    captureStartColour(target, m_from);
}

void CCTintTo::update(float t) {
    CCRGBAProtocol* colour = colourOf(getTarget());
    if (colour == nullptr) return;
    uint8_t out[3];
    for (int i = 0; i < 3; ++i) {
        float from = m_from[i];
        out[i] = detail::colorByte(from + (static_cast<float>(m_to[i]) - from) * t);
    }
    colour->setColor(rgb(out));
}

CCObject* CCTintTo::copyInto(CCCopyHolder* holder) {
    CCTintTo* copy = detail::copyObjectFor<CCTintTo>(holder);
    CCCopyHolder inner{copy};
    CCActionInterval::copyInto(&inner);
    copy->initWithDurationColor(getDuration(), m_to[0], m_to[1], m_to[2]);
    return copy;
}

CCTintBy* CCTintBy::createWithDurationDeltas(float seconds, int16_t deltaR, int16_t deltaG, int16_t deltaB) {
    CCTintBy* tint = new CCTintBy();
    tint->initWithDurationDeltas(seconds, deltaR, deltaG, deltaB);
    tint->autorelease();
    return tint;
}

bool CCTintBy::initWithDurationDeltas(float seconds, int16_t deltaR, int16_t deltaG, int16_t deltaB) {
    initWithDuration(seconds);
    m_delta[0] = deltaR;
    m_delta[1] = deltaG;
    m_delta[2] = deltaB;
    return true;
}

void CCTintBy::startWithTarget(CCNode* target) {
    CCActionInterval::startWithTarget(target);
    captureStartColour(target, m_from);
}

void CCTintBy::update(float t) {
    CCRGBAProtocol* colour = colourOf(getTarget());
    if (colour == nullptr) return;
    uint8_t out[3];
    for (int i = 0; i < 3; ++i) {
        out[i] = detail::colorByte(static_cast<float>(m_from[i]) + static_cast<float>(m_delta[i]) * t);
    }
    colour->setColor(rgb(out));
}

CCFiniteTimeAction* CCTintBy::reverse() {
    return createWithDurationDeltas(getDuration(), static_cast<int16_t>(-m_delta[0]),
                                    static_cast<int16_t>(-m_delta[1]), static_cast<int16_t>(-m_delta[2]));
}

CCObject* CCTintBy::copyInto(CCCopyHolder* holder) {
    CCTintBy* copy = detail::copyObjectFor<CCTintBy>(holder);
    CCCopyHolder inner{copy};
    CCActionInterval::copyInto(&inner);
    copy->initWithDurationDeltas(getDuration(), m_delta[0], m_delta[1], m_delta[2]);
    return copy;
}

} // namespace kvengine
