#pragma once

#include "game/world/KVActorV.h"

namespace kvengine {
class CCParticleSystem;
}

/// The view of a geyser: plankton ("plankton.png", from the resource index) rising through the
/// geyser's rectangle from its base, added to the gameplay layer. The emitter holds
/// int(width x height x 5) particles (metres); once the level is loaded ("EVENT_POST_LOAD_GAME")
/// the particles rise at the geyser's power x 100 points a second and live long enough to cross
/// the rectangle. All geyser views share a budget of 1500 live particles: while their capacities
/// add up to more, each emitter is limited to its share of 1500 (never above its own capacity).
class KVGeyserV : public KVActorV {
public:
    CC_DECLARE_CLASS_NAME(KVGeyserV, KVActorV)

    static constexpr unsigned kParticleBudget = 1500;

    void cleanupBeforeDelete() override;
    /// The model must be a geyser (else logged, false); false when the emitter cannot be made.
    [[nodiscard]] bool initWithActor(KVActor* model, KVActorViewHost* host) override;
    /// The particles do not follow anything.
    void update(float dt) override { (void)dt; }
    /// The emitter leaves the layer, then the view leaves the layer's list.
    void onRemoveActor(kvengine::CCNotification* notification) override;
    /// Speed, life and live-particle limit from the geyser's power, then a restart.
    virtual void onPostLoadGame(kvengine::CCNotification* notification);

    kvengine::CCParticleSystem* getEmitter() const { return m_emitter; }
    unsigned getCapacity() const { return m_capacity; }
    /// Capacities of every geyser view alive, and their number.
    static unsigned sharedParticleTotal();
    static int viewCount();

private:
    kvengine::CCParticleSystem* m_emitter = nullptr;
    unsigned m_capacity = 0;
    bool m_counted = false;
};
