#pragma once

#include "game/world/KVSingletonObject.h"

/// The in-game tutorial service: the help cases that explain a mechanic the first time it appears.
class KVHelperManager : public KVSingletonObject<KVHelperManager> {
public:
    CC_DECLARE_CLASS_NAME(KVHelperManager, KVSingletonObject)

    KVHelperManager();
};
