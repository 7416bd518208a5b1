#include "engine/actions/CCFadeTo.h"

#include "engine/actions/CCActionCopy.h"
#include "engine/actions/CCColorBytes.h"
#include "engine/nodes/CCNode.h"

namespace kvengine {

namespace {

CCRGBAProtocol* colourOf(CCNode* node) {
    return node != nullptr ? node->asRGBAProtocol() : nullptr;
}

} // namespace

CCFadeIn* CCFadeIn::createWithDuration(float seconds) {
    CCFadeIn* fade = new CCFadeIn();
    fade->initWithDuration(seconds);
    fade->autorelease();
    return fade;
}

void CCFadeIn::update(float t) {
    if (CCRGBAProtocol* colour = colourOf(getTarget())) colour->setOpacity(detail::colorByte(255.0f * t));
}

CCFiniteTimeAction* CCFadeIn::reverse() {
    return CCFadeOut::createWithDuration(getDuration());
}

CCObject* CCFadeIn::copyInto(CCCopyHolder* holder) {
    CCFadeIn* copy = detail::copyObjectFor<CCFadeIn>(holder);
    CCCopyHolder inner{copy};
    CCActionInterval::copyInto(&inner);
    return copy;
}

CCFadeOut* CCFadeOut::createWithDuration(float seconds) {
    CCFadeOut* fade = new CCFadeOut();
    fade->initWithDuration(seconds);
    fade->autorelease();
    return fade;
}

void CCFadeOut::update(float t) {
    if (CCRGBAProtocol* colour = colourOf(getTarget()))
        colour->setOpacity(detail::colorByte(255.0f * (1.0f - t)));
}

CCFiniteTimeAction* CCFadeOut::reverse() {
    return CCFadeIn::createWithDuration(getDuration());
}

CCObject* CCFadeOut::copyInto(CCCopyHolder* holder) {
    CCFadeOut* copy = detail::copyObjectFor<CCFadeOut>(holder);
    CCCopyHolder inner{copy};
    CCActionInterval::copyInto(&inner);
    return copy;
}

CCFadeTo* CCFadeTo::createWithDurationOpacity(float seconds, uint8_t opacity) {
    CCFadeTo* fade = new CCFadeTo();
    fade->initWithDurationOpacity(seconds, opacity);
    fade->autorelease();
    return fade;
}

bool CCFadeTo::initWithDurationOpacity(float seconds, uint8_t opacity) {
    initWithDuration(seconds);
    m_toOpacity = opacity;
    return true;
}

void CCFadeTo::startWithTarget(CCNode* target) {
    CCActionInterval::startWithTarget(target);
    if (CCRGBAProtocol* colour = colourOf(target)) m_fromOpacity = colour->getOpacity();
}

void CCFadeTo::update(float t) {
    if (CCRGBAProtocol* colour = colourOf(getTarget())) {
        float from = m_fromOpacity;
        colour->setOpacity(detail::colorByte(from + (static_cast<float>(m_toOpacity) - from) * t));
    }
}

CCObject* CCFadeTo::copyInto(CCCopyHolder* holder) {
    CCFadeTo* copy = detail::copyObjectFor<CCFadeTo>(holder);
    CCCopyHolder inner{copy};
    CCActionInterval::copyInto(&inner);
    copy->initWithDurationOpacity(getDuration(), m_toOpacity);
    return copy;
}

} // namespace kvengine
