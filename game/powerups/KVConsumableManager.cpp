#include "game/powerups/KVConsumableManager.h"

#include "engine/base/CCLog.h"
#include "engine/base/CCNotificationCenter.h"
#include "engine/base/CCString.h"
#include "game/app/KVGlobalNames.h"
#include "game/data/KVPlayerParameters.h"

using kvengine::CCNotification;
using kvengine::CCNotificationCenter;
using kvengine::logDebugMessage;

const char* const KV_BRAINWASH_CONSUMABLE = "brainwash_medusa";

KVConsumableManager::KVConsumableManager() {
    CCNotificationCenter::getInstance()->addObserver(
        this, notification_selector(KVConsumableManager::onBrainWashTriggered), EVENT_BRAIN_WASH_TRIGGERED,
        nullptr);
}

void KVConsumableManager::cleanupBeforeDelete() {
    CCNotificationCenter::getInstance()->removeObserver(this);
    KVSingletonObject::cleanupBeforeDelete();
}

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
