#pragma once

#include "game/objects/KVCoconut.h"

/// A coconut with spikes: it hurts the pawns it touches (action type 10), by the sum of both
/// bodies' speeds. Placed in levels and thrown by the coconut-crab boss.
class KVSpikyBall : public KVCoconut {
public:
    CC_DECLARE_CLASS_NAME(KVSpikyBall, KVCoconut)

    std::string viewClassName() override;
    bool beginContact(KVContactInfo* contact) override;
};
