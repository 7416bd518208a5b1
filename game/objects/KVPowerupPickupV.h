#pragma once

#include "game/world/KVActorV.h"

/// The view of a power-up pick-up: "powerup.png" at its place, under everything else of the
/// sheet "low_sfx_51_ss" (z -2000). Without the sheet the sprite is made but shown nowhere
/// (logged).
class KVPowerupPickupV : public KVActorV {
public:
    CC_DECLARE_CLASS_NAME(KVPowerupPickupV, KVActorV)

    static constexpr int kZ = -2000;

    /// The model must be a pick-up (else logged, false); false when the frame is missing.
    [[nodiscard]] bool initWithActor(KVActor* model, KVActorViewHost* host) override;
    /// A pick-up never moves.
    void update(float dt) override { (void)dt; }
};
