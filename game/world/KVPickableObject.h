#pragma once

#include "game/world/KVActor.h"

/// An actor the player picks up by touch; subclasses add the point test used for picking.
class KVPickableObject : public KVActor {
public:
    CC_DECLARE_CLASS_NAME(KVPickableObject, KVActor)
};
