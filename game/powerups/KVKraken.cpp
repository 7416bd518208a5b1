#include "game/powerups/KVKraken.h"

#include <vector>

#include "engine/base/CCNotificationCenter.h"
#include "game/app/KVGlobalNames.h"
#include "game/data/KVGameSetup.h"
#include "game/pawns/KVPawn.h"
#include "game/pawns/KVPawnManager.h"
#include "game/world/KVActionEvent.h"
#include "game/world/KVRunningMission.h"

using kvengine::CCNotificationCenter;

namespace {

KVPawn* currentPawn() {
    KVGameSetup* setup = KVGameSetup::existingInstance();
    auto* mission =
        setup != nullptr ? dynamic_cast<KVRunningMission*>(setup->getCurrentGameModel()) : nullptr;
    return mission != nullptr ? mission->getCurrentPawn() : nullptr;
}

} // namespace

bool KVKraken::init() {
    if (!KVActor::init()) return false;
    // setSelected posts "EVENT_PAWN_UNSELECTED" with the pawn.
    if (KVPawn* pawn = currentPawn(); pawn != nullptr && pawn->isSelected()) pawn->setSelected(false);
    m_timer = kEffectDelay;
    m_phase = kWaiting;
    m_finished = false;
    CCNotificationCenter* centre = CCNotificationCenter::getInstance();
    centre->addObserver(this, notification_selector(KVKraken::onAnimFinished), EVENT_KRAKEN_ANIM_FINISHED);
    centre->postNotification(EVENT_NEW_ACTOR, this);
    centre->postNotification(EVENT_NOTIFY_IN_ACTION, this);
    return true;
}

void KVKraken::cleanupBeforeDelete() {
    CCNotificationCenter::getInstance()->removeObserver(this);
    KVActor::cleanupBeforeDelete();
}

void KVKraken::update(float dt) {
    if (m_phase == kWaiting) {
        m_timer -= dt;
        if (m_timer > 0.0f) return;
        CCNotificationCenter* centre = CCNotificationCenter::getInstance();
        centre->postNotification(EVENT_KRAKEN_EFFECT_TRIGGERED, this);
        centre->postNotification(EVENT_KRAKEN_SOUND_TRIGGER, this);
        m_timer = kStrikeDelay;
        m_phase = kAnimating;
    } else if (m_phase == kAnimating) {
        m_timer -= dt;
        if (m_timer > 0.0f) return;
        m_timer = 0.0f;
        m_phase = kStruck;
        strike();
    }
}

void KVKraken::strike() {
    KVPawnManager* pawns = KVPawnManager::existingInstance();
    if (pawns == nullptr) return;
    KVPawn* attacker = currentPawn();
    const bool enemyAttacks = attacker != nullptr && attacker->isEnemy();
    kvengine::CCMutableArray<KVPawn*>* side = enemyAttacks ? pawns->getPlayerPawns() : pawns->getEnemyPawns();
    if (side == nullptr) return;
    // A death takes its pawn out of the list: walk a copy, holding each target meanwhile.
    std::vector<KVPawn*> targets(side->begin(), side->end());
    for (KVPawn* target : targets)
        target->retain();
    for (KVPawn* target : targets) {
        target->takeDamage(target->getDefense() + target->getHitPoints() - 1, attacker,
                           KVActionEvent::KrakenHit, 1.0f, 0.0f);
        target->release();
    }
}

void KVKraken::onAnimFinished(kvengine::CCNotification* notification) {
    (void)notification;
    if (m_finished) return;
    m_finished = true;
    CCNotificationCenter* centre = CCNotificationCenter::getInstance();
    centre->postNotification(EVENT_NOTIFY_IDLE, this);
    centre->postNotification(EVENT_REMOVE_ACTOR, this);
}
