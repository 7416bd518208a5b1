#pragma once

#include "game/world/KVSingletonObject.h"

/// The game-wide registry of the pawns on the board. Created on first use; released at shutdown.
class KVPawnManager : public KVSingletonObject {
public:
    CC_DECLARE_CLASS_NAME(KVPawnManager, KVSingletonObject)

    static KVPawnManager* getInstance();
    /// The shared object or null; never makes it.
    static KVPawnManager* existingInstance();

    KVPawnManager();
    void cleanupBeforeDelete() override;
};
