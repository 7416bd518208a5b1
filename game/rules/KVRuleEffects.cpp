#include "game/rules/KVRuleEffects.h"

#include <cstdlib>

#include "engine/base/CCLocalizationManager.h"
#include "engine/base/CCLog.h"
#include "engine/base/CCNotificationCenter.h"
#include "game/app/KVGlobalNames.h"
#include "game/data/KVDataAccess.h"
#include "game/data/KVDialogueService.h"
#include "game/data/KVGameParameters.h"
#include "game/data/KVGameSetup.h"
#include "game/data/KVPlayerParameters.h"
#include "game/model/KVGameModel.h"
#include "game/objects/KVSpawnEvent.h"
#include "game/rules/KVRule.h"
#include "game/rules/KVRuleManager.h"
#include "game/rules/KVRuleParameters.h"
#include "game/score/KVScoreManager.h"
#include "game/sound/KVSoundManager.h"
#include "game/world/KVTriggerEvent.h"

using kvengine::CCNotificationCenter;
using kvengine::CCString;
using kvengine::logDebugMessage;

namespace {

// The running mission's score manager; null (logged under `who`) when no mission runs.
KVScoreManager* currentScoreManager(const char* who) {
    KVGameSetup* setup = KVGameSetup::existingInstance();
    kvengine::CCObject* model = setup != nullptr ? setup->getCurrentGameModel() : nullptr;
    KVScoreManager* score = model != nullptr && model->isKindOf("KVGameModel")
                                ? static_cast<KVGameModel*>(model)->getScoreManager()
                                : nullptr;
    if (score == nullptr) logDebugMessage("%s: no running mission with a score manager", who);
    return score;
}

} // namespace

// ---- mission_failed

void KVEffectMissionFailed::update(float dt) {
    if (KVScoreManager* score = currentScoreManager(className())) score->declareDefeat();
    KVRuleEffect::update(dt);
}

// ---- trigger_enable

void KVEffectTriggerEnable::cleanupBeforeDelete() {
    kvRuleHoldText(m_triggerName, nullptr);
    KVRuleEffect::cleanupBeforeDelete();
}

bool KVEffectTriggerEnable::initWithParameters(Parameters* parameters) {
    if (!acceptsParameters(parameters)) return false;
    kvRuleHoldText(m_triggerName, parameterAt(parameters, 0));
    m_enable = parameterAt(parameters, 1)->toBool();
    return true;
}

void KVEffectTriggerEnable::update(float dt) {
    auto* event = new KVTriggerEvent(m_triggerName, nullptr, false);
    CCNotificationCenter::getInstance()->postNotification(
        m_enable ? EVENT_TRIGGER_ENABLE : EVENT_TRIGGER_DISABLE, event);
    event->release();
    KVRuleEffect::update(dt);
}

// ---- spawn_pawn

void KVEffectSpawnPawn::cleanupBeforeDelete() {
    kvRuleHoldText(m_spawnerName, nullptr);
    kvRuleHoldText(m_pawnName, nullptr);
    KVRuleEffect::cleanupBeforeDelete();
}

bool KVEffectSpawnPawn::initWithParameters(Parameters* parameters) {
    if (!acceptsParameters(parameters)) return false;
    kvRuleHoldText(m_spawnerName, parameterAt(parameters, 0));
    m_enemy = parameterAt(parameters, 1)->toBool();
    kvRuleHoldText(m_pawnName, parameterAt(parameters, 2));
    return true;
}

void KVEffectSpawnPawn::update(float dt) {
    auto* event = new KVSpawnEvent();
    event->set(m_spawnerName, m_enemy, m_pawnName);
    CCNotificationCenter::getInstance()->postNotification(EVENT_SPAWN_PAWN, event);
    event->release();
    KVRuleEffect::update(dt);
}

// ---- start_chatter

void KVEffectStartChatter::cleanupBeforeDelete() {
    kvRuleHoldText(m_chatterIdentifier, nullptr);
    KVRuleEffect::cleanupBeforeDelete();
}

bool KVEffectStartChatter::initWithParameters(Parameters* parameters) {
    if (!acceptsParameters(parameters)) return false;
    kvRuleHoldText(m_chatterIdentifier, parameterAt(parameters, 0));
    return true;
}

void KVEffectStartChatter::update(float dt) {
    if (KVDialogueService* dialogues = KVDialogueService::shared()) {
        if (dialogues->isChatterRunning()) dialogues->endChatter();
        dialogues->loadChatter(m_chatterIdentifier->text);
        dialogues->startChatter();
    }
    KVRuleEffect::update(dt);
}

// ---- victory_enable

bool KVEffectVictoryModeEnable::initWithParameters(Parameters* parameters) {
    if (!acceptsParameters(parameters)) return false;
    m_enable = parameterAt(parameters, 0)->toBool();
    return true;
}

void KVEffectVictoryModeEnable::update(float dt) {
    if (KVScoreManager* score = currentScoreManager(className())) score->setVictoryChecking(m_enable);
    KVRuleEffect::update(dt);
}

// ---- rule_enable

bool KVEffectRuleEnable::initWithParameters(Parameters* parameters) {
    if (!acceptsParameters(parameters)) return false;
    m_ruleIndex = std::atoi(parameterAt(parameters, 0)->c_str());
    m_enable = parameterAt(parameters, 1)->toBool();
    return true;
}

void KVEffectRuleEnable::update(float dt) {
    if (KVRule* rule = KVRuleManager::getInstance()->fileRuleAt(m_ruleIndex))
        rule->enabled = m_enable;
    else
        logDebugMessage("KVEffectRuleEnable: no rule %d to %s", m_ruleIndex, m_enable ? "enable" : "disable");
    KVRuleEffect::update(dt);
}

// ---- mission_objective

void KVEffectMissionObjective::cleanupBeforeDelete() {
    kvRuleHoldText(m_objective, nullptr);
    KVRuleEffect::cleanupBeforeDelete();
}

bool KVEffectMissionObjective::initWithParameters(Parameters* parameters) {
    if (!acceptsParameters(parameters)) return false;
    kvRuleHoldText(m_objective, kvengine::localizeString(parameterAt(parameters, 0)));
    return true;
}

void KVEffectMissionObjective::update(float dt) {
    KVGameSetup::getInstance()->setMissionObjective(m_objective);
    KVRuleEffect::update(dt);
}

// ---- play_music / stop_music

void KVEffectPlayMusic::cleanupBeforeDelete() {
    kvRuleHoldText(m_musicName, nullptr);
    KVRuleEffect::cleanupBeforeDelete();
}

bool KVEffectPlayMusic::initWithParameters(Parameters* parameters) {
    if (!acceptsParameters(parameters)) return false;
    kvRuleHoldText(m_musicName, parameterAt(parameters, 0));
    return true;
}

void KVEffectPlayMusic::update(float dt) {
    KVSoundManager::getInstance()->playGameMusic(m_musicName);
    KVRuleEffect::update(dt);
}

void KVEffectStopMusic::update(float dt) {
    KVSoundManager::getInstance()->stopGameMusic();
    KVRuleEffect::update(dt);
}

// ---- go_to_menu

void KVEffectGoToMenu::update(float dt) {
    KVGameSetup* setup = KVGameSetup::getInstance();
    KVPlayerParameters* profile = KVPlayerParameters::getInstance();
    CCString* chapter = setup->getChapterName();
    CCString* mission = setup->getMissionName();
    const std::string chapterText = kvdata::textOf(chapter);
    const std::string missionText = kvdata::textOf(mission);
    profile->setChapterPlayed(chapterText);
    profile->setMissionPlayed(missionText, chapterText);
    if (CCString* next = KVGameParameters::getInstance()->getNextMissionName(mission, chapter))
        profile->setMissionLockStatus(next->text, chapterText, 0);
    profile->saveProfile();
    // New empty names: the old ones may be held elsewhere.
    setup->setChapterName(kvdata::newString(""));
    setup->setSpareName(kvdata::newString(""));
    if (s_menuReturn != nullptr)
        s_menuReturn();
    else
        logDebugMessage("KVEffectGoToMenu: no way back to the menus is installed");
    KVRuleEffect::update(dt);
}
