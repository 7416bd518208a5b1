#include "game/scene/KVGameplayScene.h"

#include "engine/base/CCLog.h"

KVGameplayScene* KVGameplayScene::create() {
    // The mission's layers are not part of this build: no mission can be set up yet.
    kvengine::logDebugMessage("mission: the mission scene is not built yet");
    return nullptr;
}
