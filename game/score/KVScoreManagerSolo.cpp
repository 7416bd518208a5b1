#include "game/score/KVScoreManagerSolo.h"

#include <cstdlib>

#include "engine/base/CCLog.h"
#include "engine/base/CCNotificationCenter.h"
#include "game/app/KVGlobalNames.h"
#include "game/data/KVGameSetup.h"
#include "game/data/KVPlayerParameters.h"
#include "game/pawns/KVPawn.h"
#include "game/pawns/KVPawnManager.h"
#include "game/world/KVTriggerEvent.h"

using kvengine::CCMutableArray;
using kvengine::CCNotification;
using kvengine::CCNotificationCenter;
using kvengine::CCString;

namespace {

KVPawn* pawnOf(kvengine::CCObject* object) {
    return object != nullptr && object->isKindOf("KVPawn") ? static_cast<KVPawn*>(object) : nullptr;
}

bool recordFlag(kvdata::Dict* record, const char* key) {
    CCString* value = kvdata::stringAt(record, key);
    return value != nullptr && value->toBool();
}

} // namespace

KVScoreManagerSolo::KVScoreManagerSolo() {
    m_helmetsFound = new CCMutableArray<CCString*>();
    m_kelvosFound = new CCMutableArray<CCString*>();
    m_chestsFound = new CCMutableArray<CCString*>();
    kvdata::Dict* victory = kvdata::dictAt(m_missionDefinition, "victory_condition");
    kvdata::Dict* fail = kvdata::dictAt(m_missionDefinition, "fail_condition");
    if (m_failCondition == kReach) m_failTriggerName = kvdata::textAt(fail, "triggerName");
    if (m_victoryCondition == kReach) m_victoryTriggerName = kvdata::textAt(victory, "triggerName");
    if (m_failCondition == kTurnLimit)
        m_failTurnLimit = std::atoi(kvdata::textAt(fail, "nbTurns").c_str()) + 1;
    if (m_victoryCondition == kTurnLimit)
        m_victoryTurnLimit = std::atoi(kvdata::textAt(victory, "nbTurns").c_str());

    CCNotificationCenter* centre = CCNotificationCenter::getInstance();
    centre->addObserver(this, notification_selector(KVScoreManagerSolo::onRemoveActor), EVENT_REMOVE_ACTOR);
    centre->addObserver(this, notification_selector(KVScoreManagerSolo::onTriggerTriggered),
                        EVENT_TRIGGER_TRIGGERED);
    centre->addObserver(this, notification_selector(KVScoreManagerSolo::onTurnStartPlayer),
                        EVENT_TURN_START_PLAYER);
    centre->addObserver(this, notification_selector(KVScoreManagerSolo::onHiddenStarFound),
                        EVENT_HIDDEN_STAR_FOUND);
    centre->addObserver(this, notification_selector(KVScoreManagerSolo::checkEndOfMove),
                        EVENT_END_TURN_BEFORE_BUFFER);
    centre->addObserver(this, notification_selector(KVScoreManagerSolo::checkEndOfMove),
                        EVENT_MOVE_OVER_BEFORE_BUFFER);
    centre->addObserver(this, notification_selector(KVScoreManagerSolo::onCoconutCrabDead),
                        EVENT_COCONUT_CRAB_DEAD);
    centre->addObserver(this, notification_selector(KVScoreManagerSolo::onPause), SCREEN_INGAME_PAUSE);
}

void KVScoreManagerSolo::cleanupBeforeDelete() {
    CCNotificationCenter::getInstance()->removeObserver(this, nullptr);
    for (auto** list : {&m_helmetsFound, &m_kelvosFound, &m_chestsFound}) {
        if (*list != nullptr) (*list)->release();
        *list = nullptr;
    }
    m_failTriggerName.clear();
    m_victoryTriggerName.clear();
    KVScoreManager::cleanupBeforeDelete();
}

bool KVScoreManagerSolo::areAllEnemiesDefeated() const {
    return m_bossDead || m_enemiesRemoved >= KVPawnManager::getInstance()->getEnemyCount();
}

bool KVScoreManagerSolo::areAllHumanKelvosDead() const {
    return m_kelvosLost >= KVPawnManager::getInstance()->getHumanPawnCount();
}

void KVScoreManagerSolo::checkEndOfMove(CCNotification* notification) {
    (void)notification;
    if (m_paused) return;
    bool defeat = areAllHumanKelvosDead();
    if (m_failCondition == kReach)
        defeat = defeat || m_failTriggerReached;
    else if (m_failCondition == kTurnLimit)
        defeat = defeat || (m_playerTurns >= m_failTurnLimit && !areAllEnemiesDefeated());
    if (defeat) m_defeatRequested = true;
    if (m_defeatRequested) {
        update(0.0f);
        return;
    }
    if (!m_victoryChecking) return;
    switch (m_victoryCondition) {
    case kReach:
        if (m_victoryTriggerReached) m_victoryRequested = true;
        update(0.0f);
        break;
    case kTurnLimit:
        if (m_playerTurns >= m_victoryTurnLimit) m_victoryRequested = true;
        update(0.0f);
        break;
    default:
        // Declared by the game model's own update later in this frame.
        if (areAllEnemiesDefeated()) m_victoryRequested = true;
        break;
    }
}

void KVScoreManagerSolo::onCoconutCrabDead(CCNotification* notification) {
    (void)notification;
    m_bossDead = true;
}

void KVScoreManagerSolo::onTurnStartPlayer(CCNotification* notification) {
    (void)notification;
    ++m_playerTurns;
    CCNotificationCenter::getInstance()->postNotification(EVENT_TURN_START_PLAYER_DISPLAY);
}

void KVScoreManagerSolo::onHiddenStarFound(CCNotification* notification) {
    (void)notification;
    m_hiddenStarFound = true;
}

void KVScoreManagerSolo::onPause(CCNotification* notification) {
    (void)notification;
    m_paused = true;
}

void KVScoreManagerSolo::onRemoveActor(CCNotification* notification) {
    KVPawn* pawn = pawnOf(notification != nullptr ? notification->getObject() : nullptr);
    if (pawn == nullptr) return;
    if (pawn->isEnemy())
        ++m_enemiesRemoved;
    else if (!pawn->isAIDriven())
        ++m_kelvosLost;
}

void KVScoreManagerSolo::onTriggerTriggered(CCNotification* notification) {
    kvengine::CCObject* object = notification != nullptr ? notification->getObject() : nullptr;
    if (object == nullptr || !object->isKindOf("KVTriggerEvent")) return;
    auto* event = static_cast<KVTriggerEvent*>(object);
    KVPawn* pawn = pawnOf(event->actor);
    if (pawn == nullptr || event->name == nullptr) return;
    const std::string& name = event->name->text;
    if (pawn->isEnemy()) {
        if (m_failCondition == kReach && name == m_failTriggerName) m_failTriggerReached = true;
    } else if (!pawn->isAIDriven()) {
        if (m_victoryCondition == kReach && name == m_victoryTriggerName) m_victoryTriggerReached = true;
    }
}

void KVScoreManagerSolo::declareVictory() {
    if (m_endPending) {
        KVScoreManager::declareVictory(); // logs and ignores
        return;
    }
    computeStars();
    KVScoreManager::declareVictory();
}

void KVScoreManagerSolo::computeStars() {
    KVGameSetup* setup = KVGameSetup::getInstance();
    const std::string chapter = kvdata::textOf(setup->getChapterName());
    const std::string mission = kvdata::textOf(setup->getMissionName());
    KVPlayerParameters* profile = KVPlayerParameters::getInstance();
    kvdata::Dict* record = profile->getMissionRecord(mission, chapter);
    if (record == nullptr) {
        // Nothing to compare with and nowhere to record: no star.
        kvengine::logDebugMessage(
            "KVScoreManagerSolo: the profile has no record of mission \"%s\" of \"%s\"; "
            "no star recorded",
            mission.c_str(), chapter.c_str());
        m_hiddenStarResult = m_speedStarResult = m_survivalStarResult = kStarNotEarned;
        return;
    }
    const int speedLimit = std::atoi(kvdata::textAt(m_missionDefinition, "speedStar_number").c_str());

    if (!recordFlag(record, "hidden_locked")) {
        m_hiddenStarResult = kStarEarnedBefore;
    } else if (m_hiddenStarFound) {
        m_hiddenStarResult = kStarEarned;
        profile->setMissionHiddenLock(mission, chapter, 0);
    } else {
        m_hiddenStarResult = kStarNotEarned;
    }

    if (!recordFlag(record, "speed_locked")) {
        m_speedStarResult = kStarEarnedBefore;
    } else if (speedLimit < m_playerTurns) {
        m_speedStarResult = kStarNotEarned;
    } else {
        m_speedStarResult = kStarEarned;
        profile->setMissionSpeedLock(mission, chapter, 0);
    }

    if (!recordFlag(record, "surviva_locked")) {
        m_survivalStarResult = kStarEarnedBefore;
    } else if (m_kelvosLost != 0) {
        m_survivalStarResult = kStarNotEarned;
    } else {
        m_survivalStarResult = kStarEarned;
        profile->setMissionSurvivalLock(mission, chapter, 0);
    }
}
