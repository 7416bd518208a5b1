#include "game/powerups/KVConsumableManager.h"

#include "engine/base/CCGeometry.h"
#include "engine/base/CCLog.h"
#include "engine/base/CCNotificationCenter.h"
#include "engine/base/CCString.h"
#include "game/app/KVGlobalNames.h"
#include "game/data/KVGameSetup.h"
#include "game/data/KVPlayerParameters.h"
#include "game/pawns/KVKelvoPlayer.h"
#include "game/pawns/KVPawn.h"
#include "game/pawns/KVPawnManager.h"
#include "game/pawns/KVPlayer.h"
#include "game/powerups/KVKraken.h"
#include "game/powerups/KVPowerupKinds.h"
#include "game/world/KVCameraService.h"
#include "game/world/KVRunningMission.h"

using kvengine::CCNotification;
using kvengine::CCNotificationCenter;
using kvengine::CCString;
using kvengine::logDebugMessage;

const char* const KV_BRAINWASH_CONSUMABLE = "brainwash_medusa";

namespace {

// Indexed by kind; also the order in which the stock is looked through.
const char* const kKindNames[] = {
    "tentacle_grip", "miracle_tentacle_final", "mighty_kraken", "cocktail", "sushi", "shuriken"};
const char* const kStockOrder[] = {
    "miracle_tentacle_final", "tentacle_grip", "mighty_kraken", "cocktail", "sushi", "shuriken"};

KVRunningMission* runningMission() {
    KVGameSetup* setup = KVGameSetup::existingInstance();
    return setup != nullptr ? dynamic_cast<KVRunningMission*>(setup->getCurrentGameModel()) : nullptr;
}

KVPawn* currentPawn() {
    KVRunningMission* mission = runningMission();
    return mission != nullptr ? mission->getCurrentPawn() : nullptr;
}

bool hasPawns(kvengine::CCMutableArray<KVPawn*>* pawns) {
    return pawns != nullptr && pawns->count() > 0;
}

} // namespace

KVConsumableManager::KVConsumableManager() {
    struct Handler {
        kvengine::CCString* name;
        kvengine::SEL_Notification selector;
    };
    const Handler handlers[] = {
        {EVENT_BRAIN_WASH_TRIGGERED, notification_selector(KVConsumableManager::onBrainWashTriggered)},
        {EVENT_MIRACLE_TENTACLE_TRIGGERED,
         notification_selector(KVConsumableManager::onMiracleTentacleTriggered)},
        {EVENT_TENTACLE_GRIP_TRIGGERED, notification_selector(KVConsumableManager::onTentacleGripTriggered)},
        {EVENT_KRAKEN_TRIGGERED, notification_selector(KVConsumableManager::onKrakenTriggered)},
        {EVENT_KRAKEN_ANIM_FINISHED, notification_selector(KVConsumableManager::onKrakenAnimFinished)},
        {EVENT_PAWN_SELECTED, notification_selector(KVConsumableManager::onPawnSelected)},
        {EVENT_POWER_UP_TRIGGERED, notification_selector(KVConsumableManager::onPowerUpTriggered)},
        {EVENT_GAME_SHUTDOWN, notification_selector(KVConsumableManager::onGameShutdown)},
    };
    CCNotificationCenter* centre = CCNotificationCenter::getInstance();
    for (const Handler& handler : handlers)
        centre->addObserver(this, handler.selector, handler.name, nullptr);
}

void KVConsumableManager::cleanupBeforeDelete() {
    CCNotificationCenter::getInstance()->removeObserver(this);
    m_usage.clear();
    KVSingletonObject::cleanupBeforeDelete();
}

int KVConsumableManager::kindOfName(const std::string& name) {
    for (int kind = 0; kind < kNone; ++kind)
        if (name == kKindNames[kind]) return kind;
    return kNone;
}

const char* KVConsumableManager::nameOfKind(int kind) {
    return kind >= 0 && kind < kNone ? kKindNames[kind] : "";
}

// ---- a use in a mission ----

bool KVConsumableManager::useConsumable(const std::string& name) {
    const int kind = kindOfName(name);
    if (kind == kNone) {
        // Refused before anything is announced: a busy post without its idle would stop the turn.
        logDebugMessage("consumables: \"%s\" is not a consumable of the missions", name.c_str());
        return false;
    }
    if (!hasConsumableInStock(name)) {
        logDebugMessage("consumables: no \"%s\" in stock", name.c_str());
        return false;
    }
    KVRunningMission* mission = runningMission();
    KVPawn* pawn = mission != nullptr ? mission->getCurrentPawn() : nullptr;
    if (pawn == nullptr || pawn->isAIDriven() || mission->isAnythingBusy() || m_pendingKind != kNone)
        return false;
    m_pendingKind = kind;
    CCNotificationCenter::getInstance()->postNotification(EVENT_NOTIFY_IN_ACTION, this);
    KVCameraService* camera = KVCameraService::existing();
    if (camera == nullptr || camera->isPlayable()) {
        pawn->setSelected(false);
        startConsumable(kind);
    } else {
        m_step = kWaitingForCamera;
        CCNotificationCenter::getInstance()->postNotification(EVENT_AUTO_FOCUS_REQUEST);
    }
    return true;
}

void KVConsumableManager::onPawnSelected(CCNotification* notification) {
    (void)notification;
    if (m_step != kWaitingForCamera || m_pendingKind == kNone) return;
    if (KVPawn* pawn = currentPawn()) {
        if (pawn->isSelected()) pawn->setSelected(false);
    }
    startConsumable(m_pendingKind);
}

void KVConsumableManager::startConsumable(int kind) {
    CCNotificationCenter* centre = CCNotificationCenter::getInstance();
    switch (kind) {
    case kTentacleGrip:
        m_step = kTentacleEffect;
        centre->postNotification(EVENT_CONSUMABLE_START_HUD_FX_TENTACLE_GRIP);
        break;
    case kMiracleTentacle:
        m_step = kTentacleEffect;
        centre->postNotification(EVENT_CONSUMABLE_START_HUD_FX_MIRACLE_TENTACLES);
        break;
    case kKraken:
        // Leaves the camera step at once: another selection must not call a second kraken.
        m_step = kKrakenRunning;
        centre->postNotification(EVENT_KRAKEN_TRIGGERED);
        break;
    case kCocktail:
    case kSushi:
    case kShuriken: {
        m_step = kIdle;
        auto* name = new CCString(nameOfKind(kind));
        centre->postNotification(EVENT_POWER_UP_TRIGGERED, name);
        name->release();
        resetPendingConsumable();
        break;
    }
    default:
        resetPendingConsumable();
        break;
    }
}

void KVConsumableManager::triggerPendingTentacle() {
    if (m_pendingKind != kTentacleGrip && m_pendingKind != kMiracleTentacle) return;
    CCNotificationCenter::getInstance()->postNotification(
        m_pendingKind == kMiracleTentacle ? EVENT_MIRACLE_TENTACLE_TRIGGERED : EVENT_TENTACLE_GRIP_TRIGGERED);
    resetPendingConsumable();
}

void KVConsumableManager::resetPendingConsumable() {
    m_pendingKind = kNone;
    m_step = kIdle;
    CCNotificationCenter::getInstance()->postNotification(EVENT_NOTIFY_IDLE, this);
}

void KVConsumableManager::onGameShutdown(CCNotification* notification) {
    (void)notification;
    m_pendingKind = kNone;
    m_step = kIdle;
}

bool KVConsumableManager::spendUnit(const std::string& name) {
    KVPlayerParameters* profile = KVPlayerParameters::getInstance();
    if (!profile->useConsumable(name)) {
        logDebugMessage("consumables: no \"%s\" left to take", name.c_str());
        return false;
    }
    recordUsage(name);
    return true;
}

// ---- effects ----

void KVConsumableManager::onPowerUpTriggered(CCNotification* notification) {
    auto* name = notification != nullptr ? dynamic_cast<CCString*>(notification->getObject()) : nullptr;
    KVPawn* pawn = currentPawn();
    if (name == nullptr || pawn == nullptr) {
        logDebugMessage("consumables: a power-up without a name or without a current pawn");
        return;
    }
    KVPowerup* powerup = nullptr;
    switch (kindOfName(name->text)) {
    case kCocktail:
        powerup = new KVPowerupEnergyDrink();
        break;
    case kSushi:
        powerup = new KVPowerupMaguroSushi();
        break;
    case kShuriken:
        powerup = new KVPowerupShuriken();
        break;
    default:
        logDebugMessage("consumables: \"%s\" is no power-up", name->text.c_str());
        return;
    }
    if (spendUnit(name->text)) pawn->addModifier(powerup);
    powerup->release();
}

bool KVConsumableManager::reviveKelvo(bool fallen) {
    KVPawnManager* pawns = KVPawnManager::existingInstance();
    KVPawn* pawn = currentPawn();
    if (pawns == nullptr || pawn == nullptr) return false;
    CCString* name = nullptr;
    CCString* helmet = nullptr;
    const bool found =
        fallen ? pawns->getLastFallenKelvo(&name, &helmet) : pawns->getLastDeadKelvo(&name, &helmet);
    if (!found || name == nullptr) return false;
    kvengine::CCPoint spot;
    if (!pawns->findFreeSpotForKelvo(pawn, name->c_str(), &spot)) {
        logDebugMessage("consumables: no free spot near the current pawn for \"%s\"", name->c_str());
        return false;
    }
    const char* consumable = nameOfKind(fallen ? kTentacleGrip : kMiracleTentacle);
    if (!hasConsumableInStock(consumable)) {
        logDebugMessage("consumables: no \"%s\" left, nobody comes back", consumable);
        return false;
    }
    // The manager's lists hold the names: keep them while they are forgotten there.
    name->retain();
    if (helmet != nullptr) helmet->retain();
    pawns->forgetKelvo(name);
    KVPlayer* player = nullptr;
    kvengine::CCMutableArray<KVPawn*>* side = pawns->getPlayerPawns();
    if (hasPawns(side)) player = side->objectAtIndex(0)->getOwnerPlayer();
    auto* kelvo = new KVKelvoPlayer();
    const bool made = kelvo->initForPlayer(spot.x, spot.y, nullptr, name, player, helmet);
    if (made && player != nullptr) player->addPawn(kelvo);
    kelvo->release();
    name->release();
    if (helmet != nullptr) helmet->release();
    if (!made) return false;
    CCNotificationCenter::getInstance()->postNotification(EVENT_SPAWN_PAWN);
    spendUnit(consumable);
    return true;
}

void KVConsumableManager::onTentacleGripTriggered(CCNotification* notification) {
    (void)notification;
    reviveKelvo(true);
}

void KVConsumableManager::onMiracleTentacleTriggered(CCNotification* notification) {
    (void)notification;
    reviveKelvo(false);
}

void KVConsumableManager::onKrakenTriggered(CCNotification* notification) {
    (void)notification;
    if (!spendUnit(nameOfKind(kKraken))) {
        resetPendingConsumable();
        return;
    }
    auto* kraken = new KVKraken();
    kraken->init();
    // The game model keeps it from its announcement on.
    kraken->release();
}

void KVConsumableManager::onKrakenAnimFinished(CCNotification* notification) {
    (void)notification;
    CCNotificationCenter::getInstance()->postNotification(EVENT_AUTO_FOCUS_REQUEST);
    resetPendingConsumable();
}

bool KVConsumableManager::canUseConsumable(const std::string& name) {
    KVPawnManager* pawns = KVPawnManager::existingInstance();
    switch (kindOfName(name)) {
    case kMiracleTentacle:
        return pawns != nullptr && pawns->getDeadKelvoCount() > 0;
    case kTentacleGrip: {
        CCString* kelvo = nullptr;
        CCString* helmet = nullptr;
        return pawns != nullptr && pawns->getLastFallenKelvo(&kelvo, &helmet);
    }
    case kKraken:
        return pawns != nullptr && hasPawns(pawns->getEnemyPawns());
    case kShuriken:
        return currentPawn() != nullptr && KVPowerupShuriken::throwShurikens(currentPawn(), true);
    case kSushi:
        return currentPawn() != nullptr && KVPowerupMaguroSushi::canTakeSushi(currentPawn());
    case kCocktail:
        return currentPawn() != nullptr && KVPowerupEnergyDrink::canTakeEnergyDrink(currentPawn());
    default:
        return true;
    }
}

// ---- outside missions ----

void KVConsumableManager::onBrainWashTriggered(CCNotification* notification) {
    auto* name =
        notification != nullptr ? dynamic_cast<kvengine::CCString*>(notification->getObject()) : nullptr;
    if (name == nullptr) {
        logDebugMessage("Brainwash: no creature named");
        return;
    }
    const std::string creature = name->text;
    KVPlayerParameters* profile = KVPlayerParameters::getInstance();
    const int refund = profile->getTotalLevelUpCost(creature);
    if (refund <= 0) return;
    if (!profile->useConsumable(KV_BRAINWASH_CONSUMABLE)) {
        logDebugMessage("Brainwash: no \"%s\" in stock, \"%s\" keeps its level", KV_BRAINWASH_CONSUMABLE,
                        creature.c_str());
        return;
    }
    profile->setKelvoLevel(creature, 1);
    profile->addPearls(refund);
    CCNotificationCenter::getInstance()->postNotification(EVENT_CHARACTER_ITEM_UPDATE_NEEDED);
    profile->saveProfile();
}

void KVConsumableManager::recordUsage(const std::string& name) {
    if (name.empty()) {
        logDebugMessage("consumables: a use without a name is not recorded");
        return;
    }
    m_usage[name] += 1;
}

void KVConsumableManager::flushUsage() {
    KVPlayerParameters* profile = KVPlayerParameters::getInstance();
    for (const auto& [name, count] : m_usage)
        profile->addConsumable(name, count);
    m_usage.clear();
}

bool hasConsumableInStock(const std::string& name) {
    KVPlayerParameters* profile = KVPlayerParameters::getInstance();
    return profile != nullptr && profile->getConsumableAmount(name) > 0;
}

bool hasAnyConsumableInStock() {
    for (const char* name : kStockOrder)
        if (hasConsumableInStock(name)) return true;
    return false;
}

namespace {

int classRank(const std::string& className) {
    if (className == "Frigate") return 0;
    if (className == "Destroyer") return 1;
    if (className == "Torpedo") return 2;
    return 3;
}

} // namespace

bool isClassOutranked(const std::string& currentClass, const std::string& candidateClass) {
    if (currentClass == "Frigate") return false;
    return classRank(candidateClass) <= classRank(currentClass);
}
