#include "game/pawns/KVCrustaceanV.h"

#include <cstdlib>

#include "engine/base/CCArray.h"
#include "engine/base/CCLog.h"
#include "engine/base/CCNotificationCenter.h"
#include "engine/base/CCString.h"
#include "engine/sprites/CCSprite.h"
#include "engine/sprites/CCSpriteFrameCache.h"
#include "game/app/KVGlobalNames.h"
#include "game/attacks/KVProjectile.h"
#include "game/pawns/KVPawn.h"

using kvengine::CCNotificationCenter;

namespace {

std::string spriteNameOf(KVPawn* pawn) {
    return pawn != nullptr && pawn->getSpriteName() != nullptr ? pawn->getSpriteName()->text : std::string();
}

bool frameExists(const std::string& name) {
    return kvengine::CCSpriteFrameCache::getInstance()->findSpriteFrameByName(name.c_str()) != nullptr;
}

} // namespace

bool KVCrustaceanV::initWithActor(KVActor* model, KVActorViewHost* host) {
    if (!KVPawnV::initWithActor(model, host)) return false;
    KVPawn* pawn = getPawn();
    const std::string sprite = spriteNameOf(pawn);
    struct Entry {
        const char* key;
        const char* word;
        const char* countKey;
        float delay;
        bool onlyWithFirstFrame;
    } const entries[] = {
        {"victory", "victory", "victory", 0.1f, true},
        {"ko", "ko", "ko", 0.06f, true},
        {"fall", "hit", "hit", 0.1f, true},
        {"impulse", "impulse", "impulse", 0.1f, true},
    };
    for (const Entry& entry : entries) {
        if (entry.onlyWithFirstFrame && !frameExists(sprite + "_" + entry.word + "_01.png")) continue;
        storeFrameAnimation(m_animations, entry.key, sprite, entry.word, 1, animationCount(entry.countKey),
                            entry.delay);
    }
    if (pawn->hasAOEAttack())
        storeFrameAnimation(m_animations, "aoe", sprite, "attack", 1, animationCount("aoe"), 0.05f);
    storeFrameAnimation(m_animations, "launched", sprite, "throw", 1, animationCount("throw"), 0.1f);
    storeFrameAnimation(m_animations, "hit", sprite, "hit", 1, animationCount("hit"), 0.1f);
    storeFrameAnimation(m_animations, "idle", sprite, "idle", 1, animationCount("idle"), 0.083f, true);

    CCNotificationCenter* centre = CCNotificationCenter::getInstance();
    centre->addObserver(this, notification_selector(KVCrustaceanV::onAiAnimImpulseStart),
                        EVENT_AI_ANIM_IMPULSE_START, model);
    centre->addObserver(this, notification_selector(KVCrustaceanV::onLooseDance), EVENT_LOOSE_DANCE);
    centre->addObserver(this, notification_selector(KVCrustaceanV::onAoeAnimStart), EVENT_AOE_ANIM_START,
                        model);
    centre->addObserver(this, notification_selector(KVCrustaceanV::onPullStart), EVENT_PULL_START);
    centre->addObserver(this, notification_selector(KVCrustaceanV::onPullRelease), EVENT_PULL_RELEASE);
    playIdle();
    return true;
}

void KVCrustaceanV::onAiAnimImpulseStart(kvengine::CCNotification* notification) {
    (void)notification;
    if (m_sprite == nullptr) return;
    m_sprite->stopAllActions();
    runAnimation(m_sprite, m_animations, "impulse", 1,
                 callfunc_selector(KVCrustaceanV::onImpulseAnimationDone));
}

void KVCrustaceanV::onImpulseAnimationDone() {
    retain();
    post(EVENT_AI_ANIM_IMPULSE_END, m_model);
    playLaunched();
    release();
}

void KVCrustaceanV::onLooseDance(kvengine::CCNotification* notification) {
    (void)notification;
    setVictoryPending(true);
    CCNotificationCenter::getInstance()->removeObserver(this, EVENT_LOOSE_DANCE);
}

void KVCrustaceanV::onAoeAnimStart(kvengine::CCNotification* notification) {
    (void)notification;
    KVPawn* pawn = getPawn();
    if (pawn == nullptr || !pawn->isAIDriven() || m_sprite == nullptr) return;
    m_sprite->stopAllActions();
    if (hasAnimation(m_animations, "aoe"))
        runAnimation(m_sprite, m_animations, "aoe", 1, callfunc_selector(KVPawnV::playIdle));
    else
        playIdle();
    retain();
    post(EVENT_AOE_ANIM_OVER, m_model);
    release();
}

void KVCrustaceanV::onPullStart(kvengine::CCNotification* notification) {
    (void)notification;
    if (m_targetMarker == nullptr) return;
    const float width = m_targetMarker->getContentSize().width;
    if (width > 0.0f) setMarkerBaseScale(2.0f * getPawn()->getRadius() / width);
}

void KVCrustaceanV::onPullRelease(kvengine::CCNotification* notification) {
    (void)notification;
    if (m_targetMarker == nullptr) return;
    m_targetMarker->setVisible(false);
    setMarkerBaseScale(getPawn()->getRadius() / 14.0f);
}

// ---- KVHermitV ----

void KVHermitV::cleanupBeforeDelete() {
    m_payload.reset();
    KVCrustaceanV::cleanupBeforeDelete();
}

bool KVHermitV::initWithActor(KVActor* model, KVActorViewHost* host) {
    if (!KVCrustaceanV::initWithActor(model, host)) return false;
    const std::string sprite = spriteNameOf(getPawn());
    const int begin = animationCount("attack_begin");
    const int end = animationCount("attack_end");
    storeFrameAnimation(m_animations, "distantAttackBeginning", sprite, "attack", 1, begin, 0.07f);
    storeFrameAnimation(m_animations, "distantAttackEnd", sprite, "attack", begin + 1, begin + end, 0.07f);
    CCNotificationCenter::getInstance()->addObserver(
        this, notification_selector(KVHermitV::onDistanceAttackAnimStart), EVENT_DISTANCE_ATTACK_ANIM_START);
    return true;
}

void KVHermitV::onDistanceAttackAnimStart(kvengine::CCNotification* notification) {
    KVPawn* pawn = getPawn();
    if (pawn == nullptr || !pawn->isTurnActive() || m_sprite == nullptr) return;
    kvengine::CCObject* object = notification != nullptr ? notification->getObject() : nullptr;
    auto* payload = dynamic_cast<kvengine::CCArray*>(object);
    if (payload == nullptr || payload->count() < 2) {
        kvengine::logDebugMessage("KVHermitV: a distance attack without its target");
        return;
    }
    m_payload = payload;
    m_sprite->stopAllActions();
    runAnimation(m_sprite, m_animations, "distantAttackBeginning", 1,
                 callfunc_selector(KVHermitV::fireDistanceAttack));
}

void KVHermitV::fireDistanceAttack() {
    if (m_payload == nullptr || m_model == nullptr) return;
    auto* x = dynamic_cast<kvengine::CCString*>(m_payload->objectAtIndex(0));
    auto* y = dynamic_cast<kvengine::CCString*>(m_payload->objectAtIndex(1));
    m_shotX = x != nullptr ? static_cast<float>(std::atof(x->text.c_str())) : 0.0f;
    m_shotY = y != nullptr ? static_cast<float>(std::atof(y->text.c_str())) : 0.0f;
    retain();
    auto* shot = new KVDistanceAttackProjectile();
    if (!shot->launch(m_model->positionX, m_model->positionY, m_shotX - m_model->positionX,
                      m_shotY - m_model->positionY, getPawn()))
        kvengine::logDebugMessage("KVHermitV: the shot could not be launched");
    shot->autorelease();
    post(EVENT_DISTANCE_ATTACK_TRIGGERED, m_model);
    m_sprite->stopAllActions();
    runAnimation(m_sprite, m_animations, "distantAttackEnd", 1, callfunc_selector(KVPawnV::playIdle));
    m_payload.reset();
    post(EVENT_NOTIFY_IDLE, m_model);
    release();
}
