#include "game/menu/KVMenuManager.h"

#include "engine/base/CCLog.h"

namespace {
KVMenuManager* s_sharedMenuManager = nullptr;
constexpr int kLastState = 24;
} // namespace

KVMenuManager* KVMenuManager::getInstance() {
    if (s_sharedMenuManager == nullptr) new KVMenuManager();
    return s_sharedMenuManager;
}

KVMenuManager* KVMenuManager::existingInstance() {
    return s_sharedMenuManager;
}

KVMenuManager::KVMenuManager() {
    s_sharedMenuManager = this;
}

void KVMenuManager::cleanupBeforeDelete() {
    if (s_sharedMenuManager == this) s_sharedMenuManager = nullptr;
    KVSingletonObject::cleanupBeforeDelete();
}

void KVMenuManager::changeState(int stateId) {
    if (stateId < 1 || stateId > kLastState) return;
    m_currentState = stateId;
    // The screens of the front end are not part of this build yet: record the state only.
    kvengine::logDebugMessage("menu: state %d has no screen yet", stateId);
}
