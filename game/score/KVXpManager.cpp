#include "game/score/KVXpManager.h"

#include "engine/base/CCLog.h"
#include "engine/base/CCNotificationCenter.h"
#include "game/app/KVGlobalNames.h"
#include "game/data/KVGameParameters.h"
#include "game/data/KVGameSetup.h"
#include "game/objects/KVPearl.h"
#include "game/pawns/KVPawn.h"
#include "game/world/KVActionEvent.h"
#include "game/world/KVRunningMission.h"

using kvengine::CCNotification;
using kvengine::CCNotificationCenter;
using kvengine::CCObject;

namespace {

CCObject* objectOf(CCNotification* notification) {
    return notification != nullptr ? notification->getObject() : nullptr;
}

KVPawn* asPawn(KVActor* actor) {
    return actor != nullptr && actor->isKindOf("KVPawn") ? static_cast<KVPawn*>(actor) : nullptr;
}

} // namespace

KVXpManager::KVXpManager() {
    m_pickables = new kvengine::CCMutableArray<CCObject*>();
    CCNotificationCenter* centre = CCNotificationCenter::getInstance();
    centre->addObserver(this, notification_selector(KVXpManager::onAction), EVENT_ACTION);
    centre->addObserver(this, notification_selector(KVXpManager::onNewActor), EVENT_NEW_ACTOR);
    centre->addObserver(this, notification_selector(KVXpManager::onRemoveActor), EVENT_REMOVE_ACTOR);
}

void KVXpManager::cleanupBeforeDelete() {
    CCNotificationCenter::getInstance()->removeObserver(this, nullptr);
    if (m_pickables != nullptr) m_pickables->release();
    m_pickables = nullptr;
    KVObject::cleanupBeforeDelete();
}

void KVXpManager::onNewActor(CCNotification* notification) {
    CCObject* object = objectOf(notification);
    if (object != nullptr && object->isKindOf("KVPickableObject") && m_pickables != nullptr)
        m_pickables->addObject(object);
}

void KVXpManager::onRemoveActor(CCNotification* notification) {
    CCObject* object = objectOf(notification);
    if (object != nullptr && m_pickables != nullptr) m_pickables->removeObject(object);
}

int KVXpManager::knockOutReward(int reward, int levelDifference) {
    float factor = 1.0f;
    if (levelDifference >= 2)
        factor = 0.7f;
    else if (levelDifference <= -2)
        factor = 1.3f;
    // The product in double precision: 10 x 0.7f is 6.99999988, which truncates to 6 (in single
    // precision it would round to 7).
    return static_cast<int>(static_cast<double>(reward) * static_cast<double>(factor));
}

KVPawn* KVXpManager::attackerOf(CCObject* actor) {
    if (actor != nullptr) return actor->isKindOf("KVPawn") ? static_cast<KVPawn*>(actor) : nullptr;
    auto* mission = dynamic_cast<KVRunningMission*>(KVGameSetup::getInstance()->getCurrentGameModel());
    return mission != nullptr ? mission->getCurrentPawn() : nullptr;
}

void KVXpManager::onAction(CCNotification* notification) {
    CCObject* object = objectOf(notification);
    if (object == nullptr || !object->isKindOf("KVActionEvent")) return;
    auto* event = static_cast<KVActionEvent*>(object);
    if (event->type != KVActionEvent::KnockOut && event->type != KVActionEvent::EnemyFell) return;
    KVPawn* attacker = attackerOf(event->actor);
    if (attacker == nullptr || attacker->isAIDriven()) return;
    KVPawn* target = asPawn(event->target);
    if (target == nullptr || !target->isEnemy() || !target->isAIDriven()) return;
    const std::string typeName = kvdata::textOf(target->getTypeName());
    const int reward = KVGameParameters::getInstance()->getPearlReward(typeName);
    if (reward < 1) return;
    int amount = reward;
    if (event->type == KVActionEvent::KnockOut) {
        amount = knockOutReward(reward, attacker->getLevel() - target->getLevel());
    } else if (attacker->isEnemy()) {
        return; // a fall during an enemy's move rewards nobody
    }
    // The pearl announces itself; the game model keeps it. It reports the amount when collected.
    auto* pearl = new KVPearl(target, amount, KVActionEvent::PearlReward);
    pearl->autorelease();
}
