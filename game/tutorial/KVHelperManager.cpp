#include "game/tutorial/KVHelperManager.h"

#include "engine/base/CCLog.h"

namespace {
KVHelperManager* s_sharedHelperManager = nullptr;
} // namespace

KVHelperManager* KVHelperManager::getInstance() {
    if (s_sharedHelperManager == nullptr) new KVHelperManager();
    return s_sharedHelperManager;
}

KVHelperManager* KVHelperManager::existingInstance() {
    return s_sharedHelperManager;
}

KVHelperManager::KVHelperManager() {
    s_sharedHelperManager = this;
    kvengine::logDebugMessage("tutorial: help cases are not available in this build");
}

void KVHelperManager::cleanupBeforeDelete() {
    if (s_sharedHelperManager == this) s_sharedHelperManager = nullptr;
    KVSingletonObject::cleanupBeforeDelete();
}
