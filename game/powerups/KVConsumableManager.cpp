#include "game/powerups/KVConsumableManager.h"

namespace {
KVConsumableManager* s_sharedConsumableManager = nullptr;
} // namespace

void KVConsumableManager::ensureInstance() {
    if (s_sharedConsumableManager == nullptr) new KVConsumableManager();
}

KVConsumableManager* KVConsumableManager::getInstance() {
    ensureInstance();
    return s_sharedConsumableManager;
}

KVConsumableManager* KVConsumableManager::existingInstance() {
    return s_sharedConsumableManager;
}

KVConsumableManager::KVConsumableManager() {
    s_sharedConsumableManager = this;
}

void KVConsumableManager::cleanupBeforeDelete() {
    if (s_sharedConsumableManager == this) s_sharedConsumableManager = nullptr;
    KVSingletonObject::cleanupBeforeDelete();
}
