#pragma once

#include "game/world/KVObject.h"

/// The base of the game's shared services. Each is created by its own getter on first use and
/// released, in a fixed order, at shutdown.
class KVSingletonObject : public KVObject {
public:
    CC_DECLARE_CLASS_NAME(KVSingletonObject, KVObject)

    bool isPersistent() override { return true; }
};
