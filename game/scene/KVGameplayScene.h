#pragma once

#include "engine/director/CCScene.h"

/// The scene of a running mission, for the game setup's current chapter, mission and team.
class KVGameplayScene : public kvengine::CCScene {
public:
    CC_DECLARE_CLASS_NAME(KVGameplayScene, kvengine::CCScene)

    /// A new autoreleased mission scene, or null (logged) when the mission cannot be set up.
    static KVGameplayScene* create();
};
