#include "game/chatter/KVChatterManager.h"

#include "engine/base/CCLog.h"

namespace {
KVChatterManager* s_sharedChatterManager = nullptr;
} // namespace

KVChatterManager* KVChatterManager::getInstance() {
    if (s_sharedChatterManager == nullptr) new KVChatterManager();
    return s_sharedChatterManager;
}

KVChatterManager* KVChatterManager::existingInstance() { return s_sharedChatterManager; }

KVChatterManager::KVChatterManager() { s_sharedChatterManager = this; }

void KVChatterManager::cleanupBeforeDelete() {
    if (s_sharedChatterManager == this) s_sharedChatterManager = nullptr;
    KVSingletonObject::cleanupBeforeDelete();
}

void KVChatterManager::loadChatter(const std::string& chatterName) {
    m_loadedChatter = chatterName;
    m_fromShop = false;
    kvengine::logDebugMessage("chatter: dialogue \"%s\" cannot be shown: dialogue screens are not available",
                              chatterName.c_str());
}

void KVChatterManager::startChatter() {
    // A dialogue without steps is not shown (nothing loads steps in this build).
}

void KVChatterManager::unloadPortraitSheets() {}

void KVChatterManager::setHostSceneToRunningScene() {}

void KVChatterManager::showDimmer() {}

void KVChatterManager::hideDimmer() {}
