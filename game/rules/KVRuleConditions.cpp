#include "game/rules/KVRuleConditions.h"

#include <cstdlib>
#include <cstring>
#include <iterator>

#include "engine/base/CCLog.h"
#include "engine/base/CCNotificationCenter.h"
#include "game/app/KVGlobalNames.h"
#include "game/data/KVDataAccess.h"
#include "game/data/KVGameSetup.h"
#include "game/data/KVPlayerParameters.h"
#include "game/pawns/KVPawn.h"
#include "game/pawns/KVPawnManager.h"
#include "game/powerups/KVPowerup.h"
#include "game/rules/KVRuleParameters.h"
#include "game/world/KVRunningMission.h"
#include "game/world/KVTriggerEvent.h"

using kvengine::CCNotification;
using kvengine::CCNotificationCenter;
using kvengine::CCObject;
using kvengine::CCString;

namespace {

CCNotificationCenter* centre() {
    return CCNotificationCenter::getInstance();
}

bool sameText(CCString* a, CCObject* b) {
    auto* text = dynamic_cast<CCString*>(b);
    return a != nullptr && text != nullptr && a->text == text->text;
}

KVPawn* pawnOf(CCObject* object) {
    return object != nullptr && object->isKindOf("KVPawn") ? static_cast<KVPawn*>(object) : nullptr;
}

} // namespace

// ---- mission_started

bool KVConditionMissionStarted::initWithParameters(Parameters* parameters) {
    if (!acceptsParameters(parameters)) return false;
    m_delay = static_cast<float>(std::atof(parameterAt(parameters, 0)->c_str()));
    return true;
}

// ---- dead_pawn

KVConditionDeadPawn::KVConditionDeadPawn() {
    m_parameterCount = 2;
    m_side = new CCString("");
    centre()->addObserver(this, notification_selector(KVConditionDeadPawn::onRemoveActor),
                          EVENT_REMOVE_ACTOR);
}

void KVConditionDeadPawn::cleanupBeforeDelete() {
    centre()->removeObserver(this);
    kvRuleHoldText(m_side, nullptr);
    KVRuleCondition::cleanupBeforeDelete();
}

bool KVConditionDeadPawn::initWithParameters(Parameters* parameters) {
    if (!acceptsParameters(parameters)) return false;
    kvRuleHoldText(m_side, parameterAt(parameters, 0));
    m_anyMode = parameterAt(parameters, 1)->text == "any";
    return true;
}

void KVConditionDeadPawn::onRemoveActor(CCNotification* notification) {
    KVPawn* pawn = pawnOf(notification != nullptr ? notification->getObject() : nullptr);
    if (pawn == nullptr) return;
    if (pawn->isEnemy())
        ++m_enemiesRemoved;
    else if (!pawn->isAIDriven())
        ++m_humanPawnsLost;
}

bool KVConditionDeadPawn::isMet() {
    KVPawnManager* pawns = KVPawnManager::existingInstance();
    if (m_side != nullptr && m_side->text == "kelvo") {
        if (m_anyMode) return m_humanPawnsLost > 0;
        return pawns != nullptr && m_humanPawnsLost >= pawns->getHumanPawnCount();
    }
    if (m_anyMode) return m_enemiesRemoved >= 1;
    return pawns != nullptr && m_enemiesRemoved >= pawns->getEnemyCount();
}

// ---- trigger

KVConditionTrigger::KVConditionTrigger() {
    m_parameterCount = 2;
    m_triggerName = new CCString("");
    centre()->addObserver(this, notification_selector(KVConditionTrigger::onTriggerTriggered),
                          EVENT_TRIGGER_TRIGGERED);
}

void KVConditionTrigger::cleanupBeforeDelete() {
    centre()->removeObserver(this);
    kvRuleHoldText(m_triggerName, nullptr);
    KVRuleCondition::cleanupBeforeDelete();
}

bool KVConditionTrigger::initWithParameters(Parameters* parameters) {
    if (!acceptsParameters(parameters)) return false;
    const std::string& who = parameterAt(parameters, 0)->text;
    m_who = who == "kelvo" ? kHumanKelvo : who == "any" ? kAnyone : kEnemy;
    kvRuleHoldText(m_triggerName, parameterAt(parameters, 1));
    return true;
}

void KVConditionTrigger::onTriggerTriggered(CCNotification* notification) {
    CCObject* object = notification != nullptr ? notification->getObject() : nullptr;
    auto* event = object != nullptr && object->isKindOf("KVTriggerEvent")
                      ? static_cast<KVTriggerEvent*>(object)
                      : nullptr;
    if (event == nullptr || !sameText(m_triggerName, event->name)) return;
    if (m_who == kAnyone) {
        m_met = true;
        return;
    }
    KVPawn* pawn = pawnOf(event->actor);
    if (pawn == nullptr) return;
    if (m_who == kHumanKelvo ? !pawn->isAIDriven() : pawn->isEnemy()) m_met = true;
}

// ---- out_of_focus

KVConditionOOF::KVConditionOOF() {
    centre()->addObserver(this, notification_selector(KVConditionOOF::onOutOfScreenShown), EVENT_OOF_ACTIVE);
    centre()->addObserver(this, notification_selector(KVConditionOOF::onPawnSelected), EVENT_PAWN_SELECTED);
}

void KVConditionOOF::cleanupBeforeDelete() {
    centre()->removeObserver(this);
    KVRuleCondition::cleanupBeforeDelete();
}

void KVConditionOOF::onOutOfScreenShown(CCNotification* notification) {
    (void)notification;
    m_met = true;
}

void KVConditionOOF::onPawnSelected(CCNotification* notification) {
    (void)notification;
    m_met = false;
}

// ---- dash

KVConditionDash::KVConditionDash() {
    centre()->addObserver(this, notification_selector(KVConditionDash::onDashActive), EVENT_DASH_ACTIVE);
}

void KVConditionDash::cleanupBeforeDelete() {
    centre()->removeObserver(this);
    KVRuleCondition::cleanupBeforeDelete();
}

void KVConditionDash::onDashActive(CCNotification* notification) {
    (void)notification;
    m_met = true;
}

// ---- end_of_speech

KVConditionEOS::KVConditionEOS() {
    m_parameterCount = 1;
    m_chatterIdentifier = new CCString("");
    centre()->addObserver(this, notification_selector(KVConditionEOS::onEndSpeech), EVENT_END_SPEECH);
}

void KVConditionEOS::cleanupBeforeDelete() {
    centre()->removeObserver(this);
    kvRuleHoldText(m_chatterIdentifier, nullptr);
    KVRuleCondition::cleanupBeforeDelete();
}

bool KVConditionEOS::initWithParameters(Parameters* parameters) {
    if (!acceptsParameters(parameters)) return false;
    kvRuleHoldText(m_chatterIdentifier, parameterAt(parameters, 0));
    return true;
}

void KVConditionEOS::onEndSpeech(CCNotification* notification) {
    if (notification != nullptr && sameText(m_chatterIdentifier, notification->getObject())) m_met = true;
}

// ---- new_powerup

namespace {
const char* const kPowerupNames[] = {"energy_drink", "sushi", "spiky_shell", "ninja_log", "shuriken"};
}

int KVConditionNewPowerup::powerupKind(const std::string& name) {
    for (int kind = 0; kind < static_cast<int>(std::size(kPowerupNames)); ++kind)
        if (name == kPowerupNames[kind]) return kind;
    return -1;
}

KVConditionNewPowerup::KVConditionNewPowerup() {
    m_parameterCount = 1;
    centre()->addObserver(this, notification_selector(KVConditionNewPowerup::onPowerupPickedUp),
                          EVENT_POWERUP_PICKED_UP);
}

void KVConditionNewPowerup::cleanupBeforeDelete() {
    centre()->removeObserver(this);
    kvRuleHoldText(m_powerupName, nullptr);
    KVRuleCondition::cleanupBeforeDelete();
}

bool KVConditionNewPowerup::initWithParameters(Parameters* parameters) {
    if (!acceptsParameters(parameters)) return false;
    CCString* name = parameterAt(parameters, 0);
    const int kind = powerupKind(name->text);
    if (kind < 0) {
        kvengine::logDebugMessage("KVConditionNewPowerup: \"%s\" is no power-up", name->c_str());
        return false;
    }
    m_powerupKind = kind;
    kvRuleHoldText(m_powerupName, name);
    m_armed = !KVPlayerParameters::getInstance()->isPowerupSeen(name->text);
    return true;
}

void KVConditionNewPowerup::onPowerupPickedUp(CCNotification* notification) {
    if (!m_armed || m_powerupName == nullptr) return;
    KVPawn* pawn = pawnOf(notification != nullptr ? notification->getObject() : nullptr);
    if (pawn == nullptr || pawn->getModifiers() == nullptr) return;
    kvengine::CCMutableArray<KVPowerup*>* modifiers = pawn->getModifiers();
    for (unsigned i = 0; i < modifiers->count(); ++i) {
        KVPowerup* modifier = modifiers->objectAtIndex(i);
        if (modifier == nullptr || modifier->kind != m_powerupKind) continue;
        m_met = true;
        KVPlayerParameters* profile = KVPlayerParameters::getInstance();
        kvdata::Dict* seen = kvdata::dictAt(profile->getProfile(), "Powerup");
        if (seen != nullptr && kvdata::countOf(seen) > 0) profile->markPowerupSeen(m_powerupName->text);
        return;
    }
}

// ---- turn_count

bool KVConditionTurnCount::initWithParameters(Parameters* parameters) {
    if (!acceptsParameters(parameters)) return false;
    m_turns = std::atoi(parameterAt(parameters, 0)->c_str());
    return true;
}

bool KVConditionTurnCount::isMet() {
    KVGameSetup* setup = KVGameSetup::existingInstance();
    auto* mission =
        setup != nullptr ? dynamic_cast<KVRunningMission*>(setup->getCurrentGameModel()) : nullptr;
    if (mission == nullptr) return false;
    const int started = mission->getPlayerTurnCount();
    // -1: no solo score manager (multiplayer).
    return started >= 0 && started >= m_turns;
}
