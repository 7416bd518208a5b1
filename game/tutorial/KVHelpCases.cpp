#include "game/tutorial/KVHelpCases.h"

#include <string>

#include "engine/base/CCNotificationCenter.h"
#include "engine/base/CCValue.h"
#include "game/app/KVGlobalNames.h"
#include "game/data/KVGameSetup.h"
#include "game/data/KVPlayerParameters.h"
#include "game/pawns/KVPawn.h"
#include "game/world/KVActionEvent.h"
#include "game/world/KVRunningMission.h"

using namespace kvengine;

namespace {

KVPawn* pawnOf(CCNotification* notification) {
    CCObject* object = notification != nullptr ? notification->getObject() : nullptr;
    return object != nullptr && object->isKindOf("KVPawn") ? static_cast<KVPawn*>(object) : nullptr;
}

bool isPlayersOwn(KVPawn* pawn) {
    return pawn != nullptr && !pawn->isAIDriven() && !pawn->isEnemy();
}

// The head of the running mission's turn queue, or null outside a mission.
KVPawn* currentPawn() {
    auto* mission = dynamic_cast<KVRunningMission*>(KVGameSetup::getInstance()->getCurrentGameModel());
    return mission != nullptr ? mission->getCurrentPawn() : nullptr;
}

// The help plays at the third error.
constexpr int kErrorsBeforeHelp = 2;

} // namespace

// ---- Special attacks ----

KVHelpCaseFrigateAttack::KVHelpCaseFrigateAttack() : KVHelpCaseFrigateAttack(EVENT_MISSED_DISTANCE_ATTACK) {}

KVHelpCaseFrigateAttack::KVHelpCaseFrigateAttack(CCString* missedAttack) {
    observe(EVENT_DAMAGE_MODE_ON, notification_selector(KVHelpCaseFrigateAttack::onDamageModeOn));
    observe(EVENT_DAMAGE_MODE_OFF, notification_selector(KVHelpCaseFrigateAttack::onDamageModeOff));
    observe(EVENT_END_TURN, notification_selector(KVHelpCaseFrigateAttack::onTurnEndOrAction));
    observe(EVENT_NOTIFY_IN_ACTION, notification_selector(KVHelpCaseFrigateAttack::onTurnEndOrAction));
    observe(EVENT_PULL_NO_STAMINA, notification_selector(KVHelpCaseFrigateAttack::onMiss));
    observe(missedAttack, notification_selector(KVHelpCaseFrigateAttack::onMiss));
    observe(EVENT_MISSED_PULL, notification_selector(KVHelpCaseFrigateAttack::onMiss));
}

bool KVHelpCaseFrigateAttack::hasWatchedAttack(KVPawn* pawn) const {
    return pawn->hasDistanceAttack();
}

void KVHelpCaseFrigateAttack::onDamageModeOn(CCNotification* notification) {
    KVPawn* pawn = pawnOf(notification);
    if (isPlayersOwn(pawn) && hasWatchedAttack(pawn)) m_armed = true;
}

void KVHelpCaseFrigateAttack::onDamageModeOff(CCNotification*) {
    m_armed = false;
}

void KVHelpCaseFrigateAttack::onTurnEndOrAction(CCNotification*) {
    m_counter = 0;
    m_armed = false;
}

void KVHelpCaseFrigateAttack::onMiss(CCNotification*) {
    if (!m_armed) return;
    m_counter += 1;
    if (m_counter > kErrorsBeforeHelp) {
        startChatter();
        m_counter = 0;
    }
}

KVHelpCaseDestroyerAttack::KVHelpCaseDestroyerAttack() : KVHelpCaseFrigateAttack(EVENT_MISSED_AOE) {}

bool KVHelpCaseDestroyerAttack::hasWatchedAttack(KVPawn* pawn) const {
    return pawn->hasAOEAttack();
}

// ---- Enemy turn ----

KVHelpCaseEnemyTurn::KVHelpCaseEnemyTurn() {
    observe(EVENT_START_TURN, notification_selector(KVHelpCaseEnemyTurn::onTurnStart));
    observe(EVENT_USELESS_TAP_DURING_AI_TURN, notification_selector(KVHelpCaseEnemyTurn::onUselessTap));
}

void KVHelpCaseEnemyTurn::onTurnStart(CCNotification* notification) {
    KVPawn* pawn = pawnOf(notification);
    if (pawn != nullptr && pawn->isAIDriven()) {
        m_armed = true;
    } else {
        m_armed = false;
        m_counter = 0;
    }
}

void KVHelpCaseEnemyTurn::onUselessTap(CCNotification*) {
    if (!m_armed) return;
    m_counter += 1;
    if (m_counter > kErrorsBeforeHelp) {
        startChatter();
        m_counter = 0;
    }
}

// ---- Dash ----

KVHelpCaseDash::KVHelpCaseDash() {
    m_timesShown = KVPlayerParameters::getInstance()->getHelpCaseValue("Dash");
    observe(EVENT_MOVE_OVER, notification_selector(KVHelpCaseDash::onMoveOver));
    observe(EVENT_DASH, notification_selector(KVHelpCaseDash::onDash));
    observe(EVENT_KELVO_LAUNCHED, notification_selector(KVHelpCaseDash::onLaunch));
}

void KVHelpCaseDash::onLaunch(CCNotification* notification) {
    auto* power =
        dynamic_cast<CCValue<float>*>(notification != nullptr ? notification->getObject() : nullptr);
    KVPawn* pawn = currentPawn();
    if (power == nullptr || power->value <= 0.0f || !isPlayersOwn(pawn)) return;
    if (pawn->hasDashAbility() && pawn->getDashesLeft() > 0) m_counter += 1;
}

void KVHelpCaseDash::onDash(CCNotification*) {
    m_counter = 0;
}

void KVHelpCaseDash::onMoveOver(CCNotification*) {
    if (m_timesShown >= kMostShown || m_counter < kLaunchesBeforeHelp) return;
    startChatter();
    m_timesShown += 1;
    m_counter = 0;
    KVPlayerParameters::getInstance()->setHelpCaseValue("Dash", m_timesShown);
}

// ---- Objective ----

KVHelpCaseObjective::KVHelpCaseObjective() {
    observe(EVENT_TURN_START_PLAYER, notification_selector(KVHelpCaseObjective::onPlayerTurn));
    observe(EVENT_ACTION, notification_selector(KVHelpCaseObjective::onAction));
    observe(EVENT_TREASURE_CHEST_OPENED, notification_selector(KVHelpCaseObjective::onDiscovery));
    observe(EVENT_HIDDEN_STAR_FOUND, notification_selector(KVHelpCaseObjective::onDiscovery));
}

void KVHelpCaseObjective::onPlayerTurn(CCNotification*) {
    if (m_counter > kErrorsBeforeHelp) {
        CCNotificationCenter::getInstance()->postNotification(EVENT_MISSION_OBJECTIVE);
        m_counter = 0;
    }
    m_counter += 1;
}

void KVHelpCaseObjective::onAction(CCNotification* notification) {
    CCObject* object = notification != nullptr ? notification->getObject() : nullptr;
    if (object == nullptr || !object->isKindOf("KVActionEvent")) return;
    if (KVActionEvent::isHit(static_cast<KVActionEvent*>(object)->type)) m_counter = 0;
}

void KVHelpCaseObjective::onDiscovery(CCNotification*) {
    if (m_counter > 0) m_counter -= 1;
}
