#include "game/rules/KVComboConditions.h"

#include <cmath>

#include "engine/base/CCLog.h"
#include "engine/base/CCNotificationCenter.h"
#include "game/app/KVGlobalNames.h"
#include "game/data/KVGameSetup.h"
#include "game/pawns/KVPawn.h"
#include "game/world/KVActionEvent.h"

using kvengine::CCNotification;
using kvengine::CCNotificationCenter;
using kvengine::CCObject;

namespace {

CCNotificationCenter* centre() {
    return CCNotificationCenter::getInstance();
}

KVPawn* pawnOf(CCObject* object) {
    return object != nullptr && object->isKindOf("KVPawn") ? static_cast<KVPawn*>(object) : nullptr;
}

CCObject* objectOf(CCNotification* notification) {
    return notification != nullptr ? notification->getObject() : nullptr;
}

KVActionEvent* actionOf(CCNotification* notification) {
    CCObject* object = objectOf(notification);
    return object != nullptr && object->isKindOf("KVActionEvent") ? static_cast<KVActionEvent*>(object)
                                                                  : nullptr;
}

bool isAIDriven(KVActor* actor) {
    KVPawn* pawn = pawnOf(actor);
    return pawn != nullptr && pawn->isAIDriven();
}

// A kelvo of the player's side that the player drives.
bool isHumanPlayerPawn(KVPawn* pawn) {
    return pawn != nullptr && !pawn->isAIDriven() && !pawn->isEnemy();
}

bool isEnemyPawn(KVPawn* pawn) {
    return pawn != nullptr && pawn->isEnemy();
}

float distanceBetween(float ax, float ay, float bx, float by) {
    return std::hypot(ax - bx, ay - by);
}

void holdPawn(KVPawn*& field, KVPawn* pawn) {
    if (pawn != nullptr) pawn->retain();
    if (field != nullptr) field->release();
    field = pawn;
}

} // namespace

// ---- multiple events

KVConditionComboMultipleEvent::KVConditionComboMultipleEvent(KVRuleCombo* combo, int type, int countNeeded)
    : KVRuleConditionCombo(combo), threshold(countNeeded), actionType(type) {
    observeActions();
}

void KVConditionComboMultipleEvent::onAction(CCNotification* notification) {
    KVActionEvent* event = actionOf(notification);
    if (event == nullptr || event->type != actionType || m_combo == nullptr) return;
    if (event->actor != nullptr &&
        (event->actor != static_cast<KVActor*>(m_combo->getComboPawn()) || isAIDriven(event->actor)))
        return;
    ++count;
    m_combo->counter = count;
    m_combo->addPawn(pawnOf(event->target), true);
}

KVConditionComboAOE::KVConditionComboAOE(KVRuleCombo* combo)
    : KVConditionComboMultipleEvent(combo, KVActionEvent::AreaHit, 3) {}

KVConditionComboHeal::KVConditionComboHeal(KVRuleCombo* combo)
    : KVConditionComboMultipleEvent(combo, KVActionEvent::Heal, 2) {}

KVConditionComboMelee::KVConditionComboMelee(KVRuleCombo* combo)
    : KVConditionComboMultipleEvent(combo, KVActionEvent::MeleeHit, 2) {}

bool KVConditionComboMelee::isMet() {
    if (count < threshold || count == lastFiredCount) return false;
    lastFiredCount = count;
    return true;
}

void KVConditionComboMelee::reset() {
    KVConditionComboMultipleEvent::reset();
    // Each move starts a new chain: a count the last move fired at must not hold this one back.
    lastFiredCount = 0;
}

KVConditionComboAOEAchievement::KVConditionComboAOEAchievement(KVRuleCombo* combo)
    : KVConditionComboMultipleEvent(combo, KVActionEvent::AreaHit, 6) {}

bool KVConditionComboAOEAchievement::isMet() {
    if (count >= threshold) {
        centre()->postNotification(EVENT_ACHIEVEMENT_SEAFOOD_PORRIDGE, this);
        count = 0;
    }
    return false;
}

KVConditionComboMeleeAchievement::KVConditionComboMeleeAchievement(KVRuleCombo* combo)
    : KVConditionComboMultipleEvent(combo, KVActionEvent::MeleeHit, 5) {}

bool KVConditionComboMeleeAchievement::isMet() {
    if (count >= threshold) {
        centre()->postNotification(EVENT_ACHIEVEMENT_KUNG_FU_KELVO, this);
        count = 0;
    }
    return false;
}

// ---- ninja log

KVConditionComboNinjaLog::KVConditionComboNinjaLog(KVRuleCombo* combo) : KVRuleConditionCombo(combo) {
    observeActions();
    centre()->addObserver(this, notification_selector(KVConditionComboNinjaLog::onPawnFall), EVENT_PAWN_FALL);
    centre()->addObserver(this, notification_selector(KVConditionComboNinjaLog::onRemoveActor),
                          EVENT_REMOVE_ACTOR);
}

void KVConditionComboNinjaLog::cleanupBeforeDelete() {
    holdPawn(m_logOwner, nullptr);
    holdPawn(m_attacker, nullptr);
    KVRuleConditionCombo::cleanupBeforeDelete();
}

void KVConditionComboNinjaLog::onAction(CCNotification* notification) {
    KVActionEvent* event = actionOf(notification);
    if (event == nullptr || m_combo == nullptr || isAIDriven(event->actor)) return;
    if (armed) {
        const bool punished = event->type == KVActionEvent::SpikyShellPrick ||
                              event->type == KVActionEvent::SpikyBallHit ||
                              event->type == KVActionEvent::SpikyWallHit;
        if (punished && m_attacker != nullptr && event->target == static_cast<KVActor*>(m_attacker)) {
            m_combo->addPawn(m_attacker, false);
            done = true;
        }
        return;
    }
    if (event->type != KVActionEvent::NinjaLogAbsorbed) return;
    armed = true;
    holdPawn(m_logOwner, pawnOf(event->actor));
    holdPawn(m_attacker, pawnOf(event->target));
    m_combo->setComboPawn(pawnOf(event->actor));
}

void KVConditionComboNinjaLog::onPawnFall(CCNotification* notification) {
    KVPawn* pawn = pawnOf(objectOf(notification));
    if (!armed || pawn == nullptr || pawn != m_attacker || m_combo == nullptr) return;
    m_combo->addPawn(pawn, false);
    done = true;
}

void KVConditionComboNinjaLog::onRemoveActor(CCNotification* notification) {
    CCObject* object = objectOf(notification);
    if (object == nullptr) return;
    if (object == m_attacker)
        holdPawn(m_attacker, nullptr);
    else if (object == m_logOwner)
        holdPawn(m_logOwner, nullptr);
}

bool KVConditionComboNinjaLog::isMet() {
    if (!armed || !done) return false;
    armed = false;
    done = false;
    return true;
}

void KVConditionComboNinjaLog::reset() {
    armed = false;
    done = false;
}

// ---- distance attack

KVConditionComboDistanceAttack::KVConditionComboDistanceAttack(KVRuleCombo* combo)
    : KVRuleConditionCombo(combo) {
    observeActions();
}

void KVConditionComboDistanceAttack::onAction(CCNotification* notification) {
    KVActionEvent* event = actionOf(notification);
    if (event == nullptr || event->type != KVActionEvent::DistanceHit || m_combo == nullptr) return;
    KVPawn* shooter = pawnOf(event->actor);
    KVPawn* target = pawnOf(event->target);
    if (shooter == nullptr || shooter->isAIDriven() || target == nullptr) return;
    // "Range Target" is in pixels, 32 to the metre.
    const float range = static_cast<float>(shooter->getRangeTarget()) * 0.03125f;
    if (range <= 0.0f) {
        kvengine::logDebugMessage("KVConditionComboDistanceAttack: the shooter has no range");
        return;
    }
    const float d =
        distanceBetween(shooter->positionX, shooter->positionY, target->positionX, target->positionY);
    if (d / range < kEagleRatio) return;
    met = true;
    m_combo->addPawn(target, false);
}

// ---- spiky shell

KVConditionComboSpikyShell::KVConditionComboSpikyShell(KVRuleCombo* combo) : KVRuleConditionCombo(combo) {
    observeActions();
}

void KVConditionComboSpikyShell::onAction(CCNotification* notification) {
    KVActionEvent* event = actionOf(notification);
    if (event == nullptr || event->type != KVActionEvent::SpikyShellPrick || m_combo == nullptr) return;
    if (!isHumanPlayerPawn(pawnOf(event->actor)) || !isEnemyPawn(pawnOf(event->target))) return;
    met = true;
    m_combo->addPawn(pawnOf(event->target), true);
}

// ---- bounce kick

KVConditionComboBounceKick::KVConditionComboBounceKick(KVRuleCombo* combo) : KVRuleConditionCombo(combo) {
    m_bounced = new kvengine::CCMutableArray<KVPawn*>();
    observeActions();
    centre()->addObserver(this, notification_selector(KVConditionComboBounceKick::onPawnBounce),
                          EVENT_PAWN_BOUNCE);
    centre()->addObserver(this, notification_selector(KVConditionComboBounceKick::onRemoveActor),
                          EVENT_REMOVE_ACTOR);
}

void KVConditionComboBounceKick::cleanupBeforeDelete() {
    if (m_bounced != nullptr) m_bounced->release();
    m_bounced = nullptr;
    KVRuleConditionCombo::cleanupBeforeDelete();
}

void KVConditionComboBounceKick::onPawnBounce(CCNotification* notification) {
    KVPawn* pawn = pawnOf(objectOf(notification));
    if (pawn != nullptr && m_bounced != nullptr && !m_bounced->containsObject(pawn))
        m_bounced->addObject(pawn);
}

void KVConditionComboBounceKick::onRemoveActor(CCNotification* notification) {
    KVPawn* pawn = pawnOf(objectOf(notification));
    if (pawn != nullptr && m_bounced != nullptr) m_bounced->removeObject(pawn);
}

void KVConditionComboBounceKick::onAction(CCNotification* notification) {
    KVActionEvent* event = actionOf(notification);
    if (event == nullptr || event->type != KVActionEvent::MeleeHit || m_combo == nullptr ||
        m_bounced == nullptr)
        return;
    KVPawn* striker = pawnOf(event->actor);
    KVPawn* target = pawnOf(event->target);
    if (!isHumanPlayerPawn(striker) || !m_bounced->containsObject(striker) || !isEnemyPawn(target)) return;
    const kvengine::CCPoint start = striker->getMoveStartPosition();
    const kvengine::CCPoint bounce = striker->getLastBouncePosition();
    if (distanceBetween(start.x, start.y, bounce.x, bounce.y) < kMinimumLeg ||
        distanceBetween(bounce.x, bounce.y, striker->positionX, striker->positionY) < kMinimumLeg)
        return;
    met = true;
    m_combo->addPawn(target, true);
}

bool KVConditionComboBounceKick::isMet() {
    kvengine::CCString* mission = KVGameSetup::getInstance()->getMissionName();
    // The boss fight is all bounces; a sticker for each would mean nothing there.
    if (mission != nullptr && mission->text == "C0M26") return false;
    return met;
}

void KVConditionComboBounceKick::reset() {
    met = false;
    if (m_bounced != nullptr) m_bounced->removeAllObjects();
}

// ---- don't run near the pool

KVConditionComboDontRunNearThePool::KVConditionComboDontRunNearThePool(KVRuleCombo* combo)
    : KVRuleConditionCombo(combo) {
    m_hitEnemies = new kvengine::CCMutableArray<KVPawn*>();
    observeActions();
    centre()->addObserver(this, notification_selector(KVConditionComboDontRunNearThePool::onPawnFall),
                          EVENT_PAWN_FALL);
    centre()->addObserver(this, notification_selector(KVConditionComboDontRunNearThePool::onRemoveActor),
                          EVENT_REMOVE_ACTOR);
}

void KVConditionComboDontRunNearThePool::cleanupBeforeDelete() {
    if (m_hitEnemies != nullptr) m_hitEnemies->release();
    m_hitEnemies = nullptr;
    KVRuleConditionCombo::cleanupBeforeDelete();
}

void KVConditionComboDontRunNearThePool::onAction(CCNotification* notification) {
    KVActionEvent* event = actionOf(notification);
    if (event == nullptr || event->type != KVActionEvent::DistanceHit || m_hitEnemies == nullptr) return;
    KVPawn* target = pawnOf(event->target);
    if (!isHumanPlayerPawn(pawnOf(event->actor)) || !isEnemyPawn(target)) return;
    m_hitEnemies->addObject(target);
}

void KVConditionComboDontRunNearThePool::onPawnFall(CCNotification* notification) {
    KVPawn* pawn = pawnOf(objectOf(notification));
    if (pawn != nullptr && m_hitEnemies != nullptr && m_hitEnemies->containsObject(pawn))
        centre()->postNotification(EVENT_ACHIEVEMENT_DONT_RUN_NEAR_POOL, nullptr);
}

void KVConditionComboDontRunNearThePool::onRemoveActor(CCNotification* notification) {
    KVPawn* pawn = pawnOf(objectOf(notification));
    if (pawn != nullptr && m_hitEnemies != nullptr) m_hitEnemies->removeObject(pawn);
}

void KVConditionComboDontRunNearThePool::reset() {
    if (m_hitEnemies != nullptr) m_hitEnemies->removeAllObjects();
}

// ---- factory

KVRuleConditionCombo* kvCreateComboCondition(KVRuleCombo* combo) {
    if (combo == nullptr) return nullptr;
    KVRuleConditionCombo* condition = nullptr;
    switch (combo->getType()) {
    case kComboAreaAttack:
        condition = new KVConditionComboAOE(combo);
        break;
    case kComboMelee:
        condition = new KVConditionComboMelee(combo);
        break;
    case kComboHeal:
        condition = new KVConditionComboHeal(combo);
        break;
    case kComboNinjaLog:
        condition = new KVConditionComboNinjaLog(combo);
        break;
    case kComboDistanceAttack:
        condition = new KVConditionComboDistanceAttack(combo);
        break;
    case kComboSpikyShell:
        condition = new KVConditionComboSpikyShell(combo);
        break;
    case kComboBounceKick:
        condition = new KVConditionComboBounceKick(combo);
        break;
    case kComboAreaAchievement:
        condition = new KVConditionComboAOEAchievement(combo);
        break;
    case kComboMeleeAchievement:
        condition = new KVConditionComboMeleeAchievement(combo);
        break;
    case kComboPoolAchievement:
        condition = new KVConditionComboDontRunNearThePool(combo);
        break;
    default:
        kvengine::logDebugMessage("kvCreateComboCondition: no combo of type %d", combo->getType());
        return nullptr;
    }
    condition->autorelease();
    return condition;
}
