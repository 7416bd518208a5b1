#include "engine/actions/CCFlipX.h"

#include "engine/actions/CCActionCopy.h"
#include "engine/base/CCLog.h"
#include "engine/sprites/CCSprite.h"

namespace kvengine {

namespace {

// Sprites keep the node's class name, so the language's type test tells them apart.
CCSprite* spriteOf(CCNode* node, const char* action) {
    if (node == nullptr) return nullptr;
    CCSprite* sprite = dynamic_cast<CCSprite*>(node);
    if (sprite == nullptr) logDebugMessage("%s: the node is not a sprite", action);
    return sprite;
}

} // namespace

CCFlipX* CCFlipX::createWithFlip(bool flipX) {
    CCFlipX* action = new CCFlipX();
    action->initWithFlip(flipX);
    action->autorelease();
    return action;
}

bool CCFlipX::initWithFlip(bool flipX) {
    m_flip = flipX;
    return true;
}

void CCFlipX::startWithTarget(CCNode* target) {
    CCActionInstant::startWithTarget(target);
    if (CCSprite* sprite = spriteOf(target, "CCFlipX")) sprite->setFlipX(m_flip);
}

CCFiniteTimeAction* CCFlipX::reverse() {
    return createWithFlip(!m_flip);
}

CCObject* CCFlipX::copyInto(CCCopyHolder* holder) {
    CCFlipX* copy = detail::copyObjectFor<CCFlipX>(holder);
    CCCopyHolder inner{copy};
    CCActionInstant::copyInto(&inner);
    copy->initWithFlip(m_flip);
    return copy;
}

CCFlipY* CCFlipY::createWithFlip(bool flipY) {
    CCFlipY* action = new CCFlipY();
    action->initWithFlip(flipY);
    action->autorelease();
    return action;
}

bool CCFlipY::initWithFlip(bool flipY) {
    m_flip = flipY;
    return true;
}

void CCFlipY::startWithTarget(CCNode* target) {
    CCActionInstant::startWithTarget(target);
    if (CCSprite* sprite = spriteOf(target, "CCFlipY")) sprite->setFlipY(m_flip);
}

CCFiniteTimeAction* CCFlipY::reverse() {
    return createWithFlip(!m_flip);
}

CCObject* CCFlipY::copyInto(CCCopyHolder* holder) {
    CCFlipY* copy = detail::copyObjectFor<CCFlipY>(holder);
    CCCopyHolder inner{copy};
    CCActionInstant::copyInto(&inner);
    copy->initWithFlip(m_flip);
    return copy;
}

} // namespace kvengine
