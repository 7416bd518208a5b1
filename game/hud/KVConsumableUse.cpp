#include "game/hud/KVConsumableUse.h"

#include "game/powerups/KVConsumableManager.h"

namespace kvconsumables {

bool hasAnyInStock() {
    return hasAnyConsumableInStock();
}

bool inStock(const std::string& name) {
    return hasConsumableInStock(name);
}

bool canUse(const std::string& name) {
    return KVConsumableManager::getInstance()->canUseConsumable(name);
}

void use(const std::string& name) {
    (void)KVConsumableManager::getInstance()->useConsumable(name);
}

void triggerPendingTentacle() {
    KVConsumableManager::getInstance()->triggerPendingTentacle();
}

} // namespace kvconsumables
