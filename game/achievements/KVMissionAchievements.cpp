#include "game/achievements/KVMissionAchievements.h"

#include "engine/base/CCLog.h"
#include "game/app/KVGlobalNames.h"
#include "game/data/KVDataAccess.h"
#include "game/data/KVGameSetup.h"
#include "game/pawns/KVPawn.h"
#include "game/world/KVActionEvent.h"
#include "game/world/KVRunningMission.h"

using namespace kvengine;

namespace {

const char* const kPolePositionMission = "C0M14";
const char* const kKelvoCaliburMission = "C0M17";
const char* const kLetsBounceMission = "C0M20";
const char* const kBoxingHelmet = "boxing_helmet";

bool objectIsText(CCNotification* notification, const char* text) {
    CCString* object = kvdata::asString(notification != nullptr ? notification->getObject() : nullptr);
    return object != nullptr && object->text == text;
}

/// A pawn that a human plays: neither computer-driven nor on the enemy side.
bool isPlayersPawn(CCObject* object) {
    if (object == nullptr || !object->isKindOf("KVPawn")) return false;
    auto* pawn = static_cast<KVPawn*>(object);
    return !pawn->isAIDriven() && !pawn->isEnemy();
}

} // namespace

KVRunningMission* kvRunningMission() {
    KVGameSetup* setup = KVGameSetup::existingInstance();
    if (setup == nullptr) return nullptr;
    return dynamic_cast<KVRunningMission*>(setup->getCurrentGameModel());
}

// ---- boxing helmet ----

bool KVAchievementSparringTheKelvo::registerObservers() {
    return observe(SCREEN_INGAME_GAME, notification_selector(KVAchievementSparringTheKelvo::handleEvent));
}

void KVAchievementSparringTheKelvo::handleEvent(CCNotification* notification) {
    (void)notification;
    CCMutableArray<CCString*>* helmets = KVGameSetup::getInstance()->getTeamHelmetNames();
    if (helmets == nullptr) return;
    for (unsigned i = 0; i < helmets->count(); ++i) {
        CCString* helmet = helmets->objectAtIndex(i);
        if (helmet != nullptr && helmet->text == kBoxingHelmet) {
            complete();
            return;
        }
    }
}

// ---- quick win ----

bool KVAchievementPolePosition::registerObservers() {
    return observe(EVENT_GAME_PLAYER_WIN, notification_selector(KVAchievementPolePosition::handleEvent));
}

void KVAchievementPolePosition::handleEvent(CCNotification* notification) {
    (void)notification;
    CCString* mission = KVGameSetup::getInstance()->getMissionName();
    if (mission == nullptr || mission->text != kPolePositionMission) return;
    KVRunningMission* running = kvRunningMission();
    const int turns = running != nullptr ? running->getPlayerTurnCount() : -1;
    if (turns < 0) {
        logDebugMessage("achievement %s: a win of %s without a solo score manager to count its turns",
                        className(), kPolePositionMission);
        return;
    }
    if (turns < 2) complete();
}

// ---- combos ----

bool KVAchievementKelvoCalibur::registerObservers() {
    return observe(SCREEN_INGAME_GAME, notification_selector(KVAchievementKelvoCalibur::onMissionStart)) &&
           observe(EVENT_ACTION, notification_selector(KVAchievementKelvoCalibur::onAction));
}

void KVAchievementKelvoCalibur::onMissionStart(CCNotification* notification) {
    active = objectIsText(notification, kKelvoCaliburMission);
    counter = 0;
}

void KVAchievementKelvoCalibur::onAction(CCNotification* notification) {
    if (!active || notification == nullptr) return;
    CCObject* object = notification->getObject();
    if (object == nullptr || !object->isKindOf("KVActionEvent")) return;
    if (static_cast<KVActionEvent*>(object)->type != KVActionEvent::Combo) return;
    if (++counter < kCombosNeeded) return;
    active = false;
    counter = 0;
    complete();
}

// ---- a bounce every turn ----

bool KVAchievementLetsBounce::registerObservers() {
    return observe(SCREEN_INGAME_GAME, notification_selector(KVAchievementLetsBounce::onMissionStart)) &&
           observe(EVENT_PAWN_BOUNCE_FOR_ACHIEVEMENT,
                   notification_selector(KVAchievementLetsBounce::onPawnBounce)) &&
           observe(EVENT_START_TURN, notification_selector(KVAchievementLetsBounce::onStartTurn)) &&
           observe(EVENT_END_TURN, notification_selector(KVAchievementLetsBounce::onEndTurn)) &&
           observe(EVENT_REMOVE_ACTOR, notification_selector(KVAchievementLetsBounce::onRemoveActor)) &&
           observe(EVENT_GAME_PLAYER_WIN, notification_selector(KVAchievementLetsBounce::onPlayerWin));
}

void KVAchievementLetsBounce::onMissionStart(CCNotification* notification) {
    active = objectIsText(notification, kLetsBounceMission);
    bouncedThisTurn = false;
    playerTurnRunning = false;
    stillPossible = true;
}

void KVAchievementLetsBounce::onPawnBounce(CCNotification* notification) {
    if (!stillPossible || !active || !playerTurnRunning || notification == nullptr) return;
    KVRunningMission* running = kvRunningMission();
    KVPawn* playing = running != nullptr ? running->getCurrentPawn() : nullptr;
    // Without a running model there is no pawn whose turn it is: the bounce does not count.
    if (playing == nullptr) {
        logDebugMessage("achievement %s: a bounce with no pawn playing; not counted", className());
        return;
    }
    if (notification->getObject() == playing) bouncedThisTurn = true;
}

void KVAchievementLetsBounce::onStartTurn(CCNotification* notification) {
    if (!stillPossible || !active) return;
    if (playerTurnRunning && !bouncedThisTurn) stillPossible = false;
    playerTurnRunning = false;
    if (!stillPossible) return;
    bouncedThisTurn = false;
    playerTurnRunning = isPlayersPawn(notification != nullptr ? notification->getObject() : nullptr);
}

void KVAchievementLetsBounce::onEndTurn(CCNotification* notification) {
    (void)notification;
}

void KVAchievementLetsBounce::onRemoveActor(CCNotification* notification) {
    if (isPlayersPawn(notification != nullptr ? notification->getObject() : nullptr)) stillPossible = false;
}

void KVAchievementLetsBounce::onPlayerWin(CCNotification* notification) {
    (void)notification;
    if (stillPossible && active) complete();
}
