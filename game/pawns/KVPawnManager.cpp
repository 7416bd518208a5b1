#include "game/pawns/KVPawnManager.h"

namespace {
KVPawnManager* s_sharedPawnManager = nullptr;
} // namespace

KVPawnManager* KVPawnManager::getInstance() {
    if (s_sharedPawnManager == nullptr) new KVPawnManager();
    return s_sharedPawnManager;
}

KVPawnManager* KVPawnManager::existingInstance() {
    return s_sharedPawnManager;
}

KVPawnManager::KVPawnManager() {
    s_sharedPawnManager = this;
}

void KVPawnManager::cleanupBeforeDelete() {
    if (s_sharedPawnManager == this) s_sharedPawnManager = nullptr;
    KVSingletonObject::cleanupBeforeDelete();
}
