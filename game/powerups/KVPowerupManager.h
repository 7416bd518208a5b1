#pragma once

#include "game/world/KVObject.h"

/// The power-ups of a running mission. Made by the game model at build time; it hands out nothing
/// yet.
class KVPowerupManager : public KVObject {
public:
    CC_DECLARE_CLASS_NAME(KVPowerupManager, KVObject)
};
