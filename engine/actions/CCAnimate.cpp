#include "engine/actions/CCAnimate.h"

#include "engine/actions/CCActionCopy.h"
#include "engine/base/CCLog.h"
#include "engine/sprites/CCAnimation.h"
#include "engine/sprites/CCSprite.h"
#include "engine/sprites/CCSpriteFrame.h"

namespace kvengine {

namespace {

CCAnimate* finish(CCAnimate* action, bool ok) {
    if (!ok) {
        action->release();
        return nullptr;
    }
    action->autorelease();
    return action;
}

CCSprite* spriteOf(CCNode* node) { return dynamic_cast<CCSprite*>(node); }

} // namespace

CCAnimate* CCAnimate::createWithAnimation(CCAnimation* animation) {
    return createWithAnimationRestore(animation, true);
}

CCAnimate* CCAnimate::createWithAnimationRestore(CCAnimation* animation, bool restoreOriginalFrame) {
    auto* action = new CCAnimate();
    return finish(action, action->initWithAnimation(animation, restoreOriginalFrame));
}

CCAnimate* CCAnimate::createWithDurationAnimation(float seconds, CCAnimation* animation, bool restoreOriginalFrame) {
    auto* action = new CCAnimate();
    return finish(action, action->initWithDurationAnimation(seconds, animation, restoreOriginalFrame));
}

CCAnimate::~CCAnimate() {
    if (m_animation) m_animation->release();
    if (m_origFrame) m_origFrame->release();
}

bool CCAnimate::initWithAnimation(CCAnimation* animation, bool restoreOriginalFrame) {
    if (!animation) {
        logDebugMessage("CCAnimate: no animation");
        return false;
    }
    return initWithDurationAnimation(animation->getDelay() * static_cast<float>(animation->getFrames()->count()),
                                     animation, restoreOriginalFrame);
}

bool CCAnimate::initWithDurationAnimation(float seconds, CCAnimation* animation, bool restoreOriginalFrame) {
    if (!animation) {
        logDebugMessage("CCAnimate: no animation");
        return false;
    }
    initWithDuration(seconds);
    animation->retain();
    if (m_animation) m_animation->release();
    m_animation = animation;
    m_restoreOriginalFrame = restoreOriginalFrame;
    if (m_origFrame) m_origFrame->release();
    m_origFrame = nullptr;
    return true;
}

void CCAnimate::startWithTarget(CCNode* target) {
    CCActionInterval::startWithTarget(target);
    if (m_origFrame) m_origFrame->release();
    m_origFrame = nullptr;
    CCSprite* sprite = spriteOf(target);
    if (!sprite) {
        logDebugMessage("CCAnimate: the target is not a sprite");
        return;
    }
    if (m_restoreOriginalFrame) {
        m_origFrame = sprite->createDisplayedFrame();
        m_origFrame->retain();
    }
}

void CCAnimate::update(float t) {
    CCSprite* sprite = spriteOf(m_target);
    if (!sprite || !m_animation) return;
    CCMutableArray<CCSpriteFrame*>* frames = m_animation->getFrames();
    const unsigned n = frames->count();
    if (n == 0) return;
    const float scaled = t * static_cast<float>(n);
    unsigned index = scaled <= 0.0f ? 0u : static_cast<unsigned>(scaled);
    if (index >= n) index = n - 1;
    CCSpriteFrame* frame = frames->objectAtIndex(index);
    if (!sprite->isFrameDisplayed(frame)) sprite->setDisplayFrame(frame);
}

void CCAnimate::stop() {
    CCSprite* sprite = spriteOf(m_target);
    if (m_restoreOriginalFrame && sprite && m_origFrame) sprite->setDisplayFrame(m_origFrame);
    CCActionInterval::stop();
}

CCFiniteTimeAction* CCAnimate::reverse() {
    CCMutableArray<CCSpriteFrame*>* frames = m_animation->getFrames();
    auto* reversed = new CCMutableArray<CCSpriteFrame*>();
    for (unsigned i = frames->count(); i > 0; --i) {
        auto* copy = static_cast<CCSpriteFrame*>(frames->objectAtIndex(i - 1)->copy());
        reversed->addObject(copy);
        copy->release();
    }
    CCAnimation* animation = CCAnimation::createWithFramesDelay(reversed, m_animation->getDelay());
    reversed->release();
    return createWithDurationAnimation(m_duration, animation, m_restoreOriginalFrame);
}

CCObject* CCAnimate::copyInto(CCCopyHolder* holder) {
    CCAnimate* copy = detail::copyObjectFor<CCAnimate>(holder);
    CCCopyHolder inner{copy};
    CCActionInterval::copyInto(&inner);
    copy->initWithDurationAnimation(m_duration, m_animation, m_restoreOriginalFrame);
    return copy;
}

} // namespace kvengine
