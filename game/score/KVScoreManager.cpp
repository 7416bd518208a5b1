#include "game/score/KVScoreManager.h"

#include "engine/base/CCLog.h"
#include "engine/base/CCNotificationCenter.h"
#include "game/app/KVGlobalNames.h"
#include "game/data/KVGameParameters.h"
#include "game/data/KVGameSetup.h"
#include "game/world/KVActionEvent.h"

using kvengine::CCNotification;
using kvengine::CCNotificationCenter;

namespace {

struct ConditionName {
    const char* name;
    const char* extraKey; // null: the code needs none
};

// Index = condition code.
const ConditionName kVictoryNames[] = {
    {"KillAllEnemies", nullptr}, {"KelvoReach", "triggerName"}, {"Survive", "nbTurns"}};
const ConditionName kFailNames[] = {
    {"AllKelvosDead", nullptr}, {"EnemyReach", "triggerName"}, {"TimeElimination", "nbTurns"}};

} // namespace

KVScoreManager::KVScoreManager() {
    m_missionDefinition = currentMissionDefinition();
    if (m_missionDefinition != nullptr) {
        m_missionDefinition->retain();
        m_victoryCondition = conditionCode(kvdata::dictAt(m_missionDefinition, "victory_condition"), true);
        m_failCondition = conditionCode(kvdata::dictAt(m_missionDefinition, "fail_condition"), false);
    }
    CCNotificationCenter::getInstance()->addObserver(this, notification_selector(KVScoreManager::onAction),
                                                     EVENT_ACTION);
}

void KVScoreManager::cleanupBeforeDelete() {
    CCNotificationCenter::getInstance()->removeObserver(this, nullptr);
    if (m_missionDefinition != nullptr) m_missionDefinition->release();
    m_missionDefinition = nullptr;
    KVObject::cleanupBeforeDelete();
}

kvdata::Dict* KVScoreManager::currentMissionDefinition() {
    kvengine::CCString* mission = KVGameSetup::getInstance()->getMissionName();
    kvdata::Dict* definition =
        mission != nullptr ? KVGameParameters::getInstance()->findMissionDefinition(mission) : nullptr;
    if (definition == nullptr)
        kvengine::logDebugMessage("KVScoreManager: mission \"%s\" has no definition: it ends only when every "
                                  "kelvo or every enemy is gone",
                                  mission != nullptr ? mission->text.c_str() : "");
    return definition;
}

int KVScoreManager::conditionCode(kvdata::Dict* condition, bool victorySide) {
    if (condition == nullptr) return kNoCondition;
    kvengine::CCString* text = kvdata::stringAt(condition, "condition");
    if (text == nullptr) return kNoCondition;
    const ConditionName* names = victorySide ? kVictoryNames : kFailNames;
    for (int code = kAllGone; code <= kTurnLimit; ++code) {
        if (text->text != names[code].name) continue;
        if (names[code].extraKey != nullptr && kvdata::stringAt(condition, names[code].extraKey) == nullptr)
            return kNoCondition;
        return code;
    }
    return kNoCondition;
}

void KVScoreManager::onAction(CCNotification* notification) {
    kvengine::CCObject* object = notification != nullptr ? notification->getObject() : nullptr;
    if (object == nullptr || !object->isKindOf("KVActionEvent")) return;
    auto* event = static_cast<KVActionEvent*>(object);
    if (KVActionEvent::isScored(event->type)) m_score += event->value;
}

void KVScoreManager::update(float dt) {
    if (m_endPending && m_endTimer > 0.0f) {
        m_endTimer -= dt;
        if (m_endTimer <= 0.0f) {
            m_endTimer = 0.0f;
            CCNotificationCenter::getInstance()->postNotification(EVENT_GAME_WINNER);
        }
    }
    if (m_endPending) return;
    if (m_victoryRequested)
        declareVictory();
    else if (m_defeatRequested)
        declareDefeat();
}

void KVScoreManager::declareDefeat() {
    if (m_endPending) {
        kvengine::logDebugMessage("KVScoreManager: the mission is already decided; defeat ignored");
        return;
    }
    CCNotificationCenter::getInstance()->postNotification(EVENT_LOOSE_DANCE);
    m_endTimer = kDefeatDelay;
    m_endPending = true;
}

void KVScoreManager::declareVictory() {
    if (m_endPending) {
        kvengine::logDebugMessage("KVScoreManager: the mission is already decided; victory ignored");
        return;
    }
    CCNotificationCenter::getInstance()->postNotification(EVENT_VICTORY_DANCE);
    m_endTimer = kVictoryDelay;
    m_endPending = true;
}
