#include "game/attacks/KVAOEAttack.h"

#include "engine/base/CCLog.h"
#include "engine/base/CCNotificationCenter.h"
#include "game/app/KVGlobalNames.h"
#include "game/pawns/KVPawn.h"
#include "game/world/KVActionEvent.h"

using kvengine::CCMutableArray;
using kvengine::CCNotification;
using kvengine::CCNotificationCenter;

bool KVAOEAttack::initWithAttacker(float x, float y, KVPawn* attacker, int phase, float radius,
                                   CCMutableArray<KVPawn*>* targets) {
    if (attacker == nullptr) {
        kvengine::logDebugMessage("KVAOEAttack::initWithAttacker: no attacker");
        return false;
    }
    if (!KVActor::init()) return false;
    positionX = x;
    positionY = y;
    attacker->retain();
    releaseReferences();
    m_attacker = attacker;
    m_triggered = false;
    m_radius = radius;
    m_targets = targets != nullptr ? targets->copy() : new CCMutableArray<KVPawn*>();
    setPhase(phase);
    CCNotificationCenter* centre = CCNotificationCenter::getInstance();
    centre->postNotification(EVENT_NEW_ACTOR, this);
    centre->addObserver(this, notification_selector(KVAOEAttack::onAnimOver), EVENT_AOE_ANIM_OVER, attacker);
    centre->addObserver(this, notification_selector(KVAOEAttack::onRemoveActor), EVENT_REMOVE_ACTOR);
    centre->addObserver(this, notification_selector(KVAOEAttack::onGameShutdown), EVENT_GAME_SHUTDOWN);
    return true;
}

void KVAOEAttack::setPhase(int phase) {
    m_phase = phase;
    if (phase == kPhaseLaunched) {
        CCNotificationCenter::getInstance()->postNotification(EVENT_NOTIFY_IN_ACTION, this);
    } else if (phase == kPhaseTriggered) {
        // Damage once: the attacker's view may report the end of its animation more than once.
        if (m_triggered || m_attacker == nullptr) return;
        m_triggered = true;
        // Held through the walk: a target's death may end the last other owner of the attacker.
        KVPawn* attacker = m_attacker;
        attacker->retain();
        CCMutableArray<KVPawn*>* targets = CCMutableArray<KVPawn*>::createWithArray(m_targets);
        for (KVPawn* target : *targets)
            target->takeDamage(attacker->getDmgAoE(), attacker, KVActionEvent::AreaHit, 1.0f,
                               attacker->getPushOffCoefAoE());
        CCNotificationCenter::getInstance()->postNotification(EVENT_AOE_TRIGGERED, attacker);
        attacker->release();
    }
}

void KVAOEAttack::onAnimOver(CCNotification* notification) {
    (void)notification;
    setPhase(kPhaseTriggered);
}

void KVAOEAttack::onGameShutdown(CCNotification* notification) {
    (void)notification;
    releaseReferences();
}

void KVAOEAttack::onRemoveActor(CCNotification* notification) {
    kvengine::CCObject* object = notification != nullptr ? notification->getObject() : nullptr;
    if (object == this) {
        KVActor::onRemoveActor(notification);
    } else if (object != nullptr && object == m_attacker && !removed) {
        retain();
        CCNotificationCenter::getInstance()->postNotification(EVENT_REMOVE_ACTOR, this);
        release();
    }
}

void KVAOEAttack::update(float dt) {
    (void)dt;
    if (m_attacker != nullptr) m_attacker->getPosition(&positionX, &positionY);
}

void KVAOEAttack::cleanupBeforeDelete() {
    CCNotificationCenter::getInstance()->removeObserver(this);
    releaseReferences();
    KVActor::cleanupBeforeDelete();
}

void KVAOEAttack::releaseReferences() {
    KVPawn* attacker = m_attacker;
    CCMutableArray<KVPawn*>* targets = m_targets;
    m_attacker = nullptr;
    m_targets = nullptr;
    if (targets != nullptr) targets->release();
    if (attacker != nullptr) attacker->release();
}
