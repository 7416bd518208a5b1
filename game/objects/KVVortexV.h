#pragma once

#include "game/world/KVActorV.h"

namespace kvengine {
class CCSprite;
}

/// The view of a vortex: four rings "vortex-0.png" .. "vortex-3.png" (sheet "low_sfx_51_ss", z 13
/// down to 10) at the vortex's centre, each turning for ever, a full turn in 8, 4, 1.2 and 0.7 s.
/// The picture never moves: update does nothing. Without the sheet the rings are made but shown
/// nowhere (logged).
class KVVortexV : public KVActorV {
public:
    CC_DECLARE_CLASS_NAME(KVVortexV, KVActorV)

    static constexpr int kRings = 4;

    void cleanupBeforeDelete() override;
    /// The model must be a vortex (else logged, false); false when a ring's frame is missing.
    [[nodiscard]] bool initWithActor(KVActor* model, KVActorViewHost* host) override;
    void update(float dt) override { (void)dt; }
    /// Takes the four rings off the screen, then leaves the layer's list.
    void onRemoveActor(kvengine::CCNotification* notification) override;

    kvengine::CCSprite* getRing(int index) const;

private:
    kvengine::CCSprite* m_rings[kRings] = {nullptr, nullptr, nullptr, nullptr};
};
