#include "game/menu/KVDoubleTapHint.h"

#include "engine/actions/CCAnimate.h"
#include "engine/actions/CCDelayTime.h"
#include "engine/actions/CCFadeTo.h"
#include "engine/actions/CCRepeat.h"
#include "engine/actions/CCSequence.h"
#include "engine/sprites/CCAnimation.h"
#include "engine/sprites/CCSprite.h"

using namespace kvengine;

CCSprite* createDoubleTapHint() {
    CCSprite* hand = CCSprite::createWithSpriteFrameName("doubletap01.png");
    CCAnimation* taps = CCAnimation::createWithFrameNamePattern("doubletap%.2d.png", 1, 9, 0.1f);
    if (hand == nullptr || taps == nullptr) return nullptr;
    hand->runAction(
        CCRepeatForever::createWithAction(static_cast<CCActionInterval*>(CCSequence::createWithActions(
            CCFadeTo::createWithDurationOpacity(0.1f, 255), CCAnimate::createWithAnimationRestore(taps, true),
            CCFadeTo::createWithDurationOpacity(0.1f, 0), CCDelayTime::createWithDuration(2.0f), nullptr))));
    return hand;
}
