#include "game/views/KVKrakenV.h"

#include "engine/actions/CCAnimate.h"
#include "engine/actions/CCCallFunc.h"
#include "engine/actions/CCSequence.h"
#include "engine/base/CCLog.h"
#include "engine/base/CCNotificationCenter.h"
#include "engine/director/CCDirector.h"
#include "engine/director/CCScene.h"
#include "engine/sprites/CCSprite.h"
#include "game/app/KVGlobalNames.h"
#include "game/world/KVActor.h"

using kvengine::CCNotificationCenter;

bool KVKrakenV::initWithActor(KVActor* model, KVActorViewHost* host) {
    if (model == nullptr || !model->isKindOf("KVKraken")) {
        kvengine::logDebugMessage("KVKrakenV::initWithActor: the model is no kraken");
        return false;
    }
    if (!KVActorV::initWithActor(model, host)) return false;
    kvengine::CCSprite* sprite = kvengine::CCSprite::createWithSpriteFrameName("kraken_fx_01.png");
    kvengine::CCScene* scene = kvengine::CCDirector::getInstance()->getRunningScene();
    kvengine::CCNode* screen = scene != nullptr ? scene->getChildByTag(kScreenLayerTag) : nullptr;
    if (sprite != nullptr && screen != nullptr) {
        sprite->setVisible(false);
        sprite->setScale(1.35f);
        screen->addChildAtZ(sprite, kZ);
        setSprite(sprite);
    } else {
        kvengine::logDebugMessage("KVKrakenV: no %s, the kraken plays unseen",
                                  sprite == nullptr ? "frame kraken_fx_01.png" : "screen layer");
    }
    CCNotificationCenter::getInstance()->addObserver(
        this, notification_selector(KVKrakenV::onKrakenEffectTriggered), EVENT_KRAKEN_EFFECT_TRIGGERED,
        model);
    return true;
}

void KVKrakenV::cleanupBeforeDelete() {
    if (m_sprite != nullptr) m_sprite->stopAllActions();
    CCNotificationCenter::getInstance()->removeObserver(this);
    KVActorV::cleanupBeforeDelete();
}

void KVKrakenV::onKrakenEffectTriggered(kvengine::CCNotification* notification) {
    (void)notification;
    if (m_sprite == nullptr) {
        postFinished();
        return;
    }
    const kvengine::CCSize window = kvengine::CCDirector::getInstance()->getWinSize();
    m_sprite->setPosition(kvengine::CCPoint(window.width * 0.5f, window.height * 0.5f));
    m_sprite->setScale(1.75f);
    m_sprite->setVisible(true);
    m_sprite->runAction(kvengine::CCSequence::createWithTwoActions(
        createFrameAnimation("kraken", "fx", 1, kFrameCount, kFrameDelay),
        kvengine::CCCallFunc::createWithTargetSelector(this, callfunc_selector(KVKrakenV::postFinished))));
}

void KVKrakenV::postFinished() {
    CCNotificationCenter::getInstance()->postNotification(EVENT_KRAKEN_ANIM_FINISHED, this);
}
