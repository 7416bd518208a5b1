#pragma once

#include "game/world/KVSingletonObject.h"

/// The shared service that carries out the use of a consumable during a mission. Created on first
/// use; released at shutdown, first of the shared objects.
class KVConsumableManager : public KVSingletonObject {
public:
    CC_DECLARE_CLASS_NAME(KVConsumableManager, KVSingletonObject)

    /// Makes the shared object when it does not exist yet.
    static void ensureInstance();
    static KVConsumableManager* getInstance();
    /// The shared object or null; never makes it.
    static KVConsumableManager* existingInstance();

    KVConsumableManager();
    void cleanupBeforeDelete() override;
};
