#pragma once

#include "game/world/KVSingletonObject.h"

/// The shared service that carries out the use of a consumable during a mission. Created on first
/// use (ensureInstance or getInstance); released at shutdown.
class KVConsumableManager : public KVSingletonObject<KVConsumableManager> {
public:
    CC_DECLARE_CLASS_NAME(KVConsumableManager, KVSingletonObject)
};
