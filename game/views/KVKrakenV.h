#pragma once

#include "engine/base/CCNotification.h"
#include "game/world/KVActorV.h"

/// The kraken's full-screen animation: a sprite on the mission scene's screen layer (the HUD,
/// tag 8686, z 500), hidden until the kraken's "EVENT_KRAKEN_EFFECT_TRIGGERED", then shown at the
/// window's centre playing "kraken_fx_01.png" .. "kraken_fx_40.png" at 10 frames a second, after
/// which it posts "EVENT_KRAKEN_ANIM_FINISHED" with the view.
///
/// Without its picture or its screen layer the view still posts the end at the effect's start
/// (logged), so the kraken never keeps the turn waiting. It does not follow the model's position.
class KVKrakenV : public KVActorV {
public:
    CC_DECLARE_CLASS_NAME(KVKrakenV, KVActorV)

    static constexpr int kScreenLayerTag = 8686;
    static constexpr int kZ = 500;
    static constexpr int kFrameCount = 40;
    static constexpr float kFrameDelay = 0.1f;

    /// False for a model that is no kraken (logged).
    [[nodiscard]] bool initWithActor(KVActor* model, KVActorViewHost* host) override;
    void cleanupBeforeDelete() override;
    /// Stays where it was put.
    void update(float dt) override { (void)dt; }

    virtual void onKrakenEffectTriggered(kvengine::CCNotification* notification);

private:
    void postFinished();
};
