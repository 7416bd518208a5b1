#include "engine/actions/CCAnimate.h"

#include "engine/actions/CCActionCopy.h"
#include "engine/base/CCLog.h"
#include "engine/sprites/CCAnimation.h"
#include "engine/sprites/CCSprite.h"
#include "engine/sprites/CCSpriteFrame.h"

namespace kvengine {

namespace {

template <class... Args> CCAnimate* makeAnimate(bool (CCAnimate::*init)(Args...), Args... args) {
    CCAnimate* animate = new CCAnimate();
    if (!(animate->*init)(args...)) {
        animate->release();
        return nullptr;
    }
    animate->autorelease();
    return animate;
}

unsigned frameCount(const CCAnimation* animation) {
    return animation != nullptr && animation->getFrames() != nullptr ? animation->getFrames()->count() : 0;
}

} // namespace

CCAnimate::~CCAnimate() {
    setAnimation(nullptr);
    setSavedFrame(nullptr);
}

CCAnimate* CCAnimate::createWithAnimation(CCAnimation* animation) {
    return createWithAnimationRestore(animation, true);
}

CCAnimate* CCAnimate::createWithAnimationRestore(CCAnimation* animation, bool restoreOriginalFrame) {
    return makeAnimate<CCAnimation*, bool>(&CCAnimate::initWithAnimation, animation, restoreOriginalFrame);
}

CCAnimate* CCAnimate::createWithDurationAnimation(float seconds, CCAnimation* animation,
                                                  bool restoreOriginalFrame) {
    return makeAnimate<float, CCAnimation*, bool>(&CCAnimate::initWithDurationAnimation, seconds, animation,
                                                  restoreOriginalFrame);
}

bool CCAnimate::initWithAnimation(CCAnimation* animation, bool restoreOriginalFrame) {
    if (animation == nullptr) {
        logDebugMessage("CCAnimate: no animation");
        return false;
    }
    return initWithDurationAnimation(animation->getDelay() * static_cast<float>(frameCount(animation)),
                                     animation, restoreOriginalFrame);
}

bool CCAnimate::initWithDurationAnimation(float seconds, CCAnimation* animation, bool restoreOriginalFrame) {
    if (animation == nullptr) {
        logDebugMessage("CCAnimate: no animation");
        return false;
    }
    if (frameCount(animation) == 0) logDebugMessage("CCAnimate: the animation has no frames");
    initWithDuration(seconds);
    setAnimation(animation);
    m_restoreOriginalFrame = restoreOriginalFrame;
    setSavedFrame(nullptr);
    return true;
}

void CCAnimate::setAnimation(CCAnimation* animation) {
    m_animation = animation;
}

void CCAnimate::setSavedFrame(CCSpriteFrame* frame) {
    m_savedFrame = frame;
}

void CCAnimate::startWithTarget(CCNode* target) {
    CCActionInterval::startWithTarget(target);
    setSavedFrame(nullptr);
    if (target == nullptr) return;
    // Sprites keep the node's class name, so the language's type test tells them apart.
    CCSprite* sprite = dynamic_cast<CCSprite*>(target);
    if (sprite == nullptr) {
        logDebugMessage("CCAnimate: the node is not a sprite");
        return;
    }
    if (m_restoreOriginalFrame) setSavedFrame(sprite->createDisplayedFrame());
}

void CCAnimate::update(float t) {
    CCSprite* sprite = dynamic_cast<CCSprite*>(getTarget());
    unsigned count = frameCount(m_animation);
    if (sprite == nullptr || count == 0) return;
    float position = t * static_cast<float>(count);
    unsigned index = position > 0.0f ? static_cast<unsigned>(position) : 0;
    if (index >= count) index = count - 1;
    CCSpriteFrame* frame = m_animation->getFrames()->objectAtIndex(index);
    if (!sprite->isFrameDisplayed(frame)) sprite->setDisplayFrame(frame);
}

void CCAnimate::stop() {
    CCSprite* sprite = dynamic_cast<CCSprite*>(getTarget());
    if (m_restoreOriginalFrame && sprite != nullptr && m_savedFrame != nullptr)
        sprite->setDisplayFrame(m_savedFrame);
    CCActionInterval::stop();
}

CCFiniteTimeAction* CCAnimate::reverse() {
    if (m_animation == nullptr) return nullptr;
    CCMutableArray<CCSpriteFrame*>* reversed = new CCMutableArray<CCSpriteFrame*>();
    reversed->autorelease();
    for (unsigned i = frameCount(m_animation); i > 0; --i) {
        CCObject* copy = m_animation->getFrames()->objectAtIndex(i - 1)->copy();
        if (copy == nullptr) continue;
        reversed->addObject(static_cast<CCSpriteFrame*>(copy->autorelease()));
    }
    CCAnimation* animation = CCAnimation::createWithFramesDelay(reversed, m_animation->getDelay());
    return createWithDurationAnimation(getDuration(), animation, m_restoreOriginalFrame);
}

CCObject* CCAnimate::copyInto(CCCopyHolder* holder) {
    CCAnimate* copy = detail::copyObjectFor<CCAnimate>(holder);
    CCCopyHolder inner{copy};
    CCActionInterval::copyInto(&inner);
    copy->setAnimation(m_animation);
    copy->m_restoreOriginalFrame = m_restoreOriginalFrame;
    copy->setSavedFrame(nullptr);
    return copy;
}

} // namespace kvengine
