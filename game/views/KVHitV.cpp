#include "game/views/KVHitV.h"

#include "engine/actions/CCAnimate.h"
#include "engine/actions/CCCallFunc.h"
#include "engine/actions/CCSequence.h"
#include "engine/base/CCLog.h"
#include "engine/base/CCNotificationCenter.h"
#include "engine/sprites/CCAnimation.h"
#include "engine/sprites/CCSprite.h"
#include "game/app/KVGlobalNames.h"
#include "game/pawns/KVPawn.h"
#include "game/views/KVEffectSprite.h"
#include "game/views/KVHit.h"

using kveffect::kPointsPerMetre;

void KVHitV::cleanupBeforeDelete() {
    if (m_sprite != nullptr) m_sprite->stopAllActions();
    m_flash.reset();
    KVActorV::cleanupBeforeDelete();
}

bool KVHitV::initWithActor(KVActor* model, KVActorViewHost* host) {
    if (model == nullptr || !model->isKindOf("KVHit")) {
        kvengine::logDebugMessage("KVHitV::initWithActor: the model is not a hit");
        return false;
    }
    if (!KVActorV::initWithActor(model, host)) return false;
    auto* hit = static_cast<KVHit*>(model);
    kvengine::CCSprite* sprite = kvengine::CCSprite::createWithSpriteFrameName("combo_hit_01.png");
    if (sprite == nullptr) {
        kvengine::logDebugMessage("KVHitV::initWithActor: no frame \"combo_hit_01.png\"");
        return false;
    }
    setSprite(sprite);

    const char* pattern = "hit_heal_%.2d.png";
    float delay = 0.13f;
    if (hit->getKind() != KVHit::Healing) {
        KVPawn* pawn = hit->getPawn();
        const bool enemySide = pawn != nullptr ? pawn->isEnemy() : false;
        pattern = enemySide ? "hit_kelvo_%.2d.png" : "hit_enemy_%.2d.png";
        delay = 0.07f;
    }
    kvengine::CCAnimation* animation =
        kvengine::CCAnimation::createWithFrameNamePattern(pattern, 1, 4, delay);
    m_flash = kvengine::CCAnimate::createWithAnimationRestore(animation, false);

    place();
    sprite->setOpacity(255);
    if (!kveffect::showOnEffectSheet(sprite, host, "KVHitV")) {
        m_finishAtUpdate = true;
        return true;
    }
    sprite->runAction(kvengine::CCSequence::createWithTwoActions(
        m_flash, kvengine::CCCallFunc::createWithTargetSelector(this, callfunc_selector(KVHitV::finish))));
    return true;
}

void KVHitV::update(float dt) {
    (void)dt;
    if (m_finishAtUpdate) {
        m_finishAtUpdate = false;
        finish();
        return;
    }
    place();
}

void KVHitV::place() {
    if (m_sprite == nullptr || m_model == nullptr) return;
    auto* hit = static_cast<KVHit*>(m_model.get());
    KVPawn* pawn = hit->getPawn();
    const float x = pawn != nullptr ? pawn->positionX : hit->positionX;
    const float y = pawn != nullptr ? pawn->positionY : hit->positionY;
    m_sprite->setPosition(kvengine::CCPoint(x * kPointsPerMetre, y * kPointsPerMetre));
}

void KVHitV::finish() {
    if (m_model == nullptr || !m_attached) return;
    kvengine::CCNotificationCenter::getInstance()->postNotification(EVENT_REMOVE_ACTOR, m_model);
}
