#pragma once

#include "game/world/KVActor.h"

/// An actor the player picks up by a tap (pearls, helmets lying on the board). A point picks it when
/// it lies within the pick radius of the actor's position.
class KVPickableObject : public KVActor {
public:
    CC_DECLARE_CLASS_NAME(KVPickableObject, KVActor)

    /// Metres from the position within which a tap picks the object; 0 (nothing picks it) unless a
    /// subclass says otherwise, e.g. once it has been collected.
    virtual float getPickRadius();
    /// Whether the point (metres) lies within the pick radius of the position, edge included. A
    /// radius of 0 or less picks nothing, not even the position itself.
    bool containsPoint(float x, float y);
};
