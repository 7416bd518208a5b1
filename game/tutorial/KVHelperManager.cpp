#include "game/tutorial/KVHelperManager.h"

#include "engine/base/CCLog.h"

KVHelperManager::KVHelperManager() {
    kvengine::logDebugMessage("tutorial: help cases are not available in this build");
}
