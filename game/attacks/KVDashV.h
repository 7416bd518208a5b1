#pragma once

#include "engine/base/CCRetained.h"
#include "game/world/KVActorV.h"

/// The view of a dash: a six-frame trail ("doubledash_01.png" .. "_06.png", 0.1 s each, sheet
/// "top_sfx_51_ss") one metre behind the pawn's facing, turned with it. At the end of the trail it
/// posts "EVENT_DASH_ACTIVE" and "EVENT_REMOVE_ACTOR" for the dash.
class KVDashV : public KVActorV {
public:
    CC_DECLARE_CLASS_NAME(KVDashV, KVActorV)

    /// The model must be a KVDash (else logged, false); a dash whose pawn already left shows
    /// nothing and ends at once.
    [[nodiscard]] bool initWithActor(KVActor* model, KVActorViewHost* host) override;
    /// The trail stays where it was drawn.
    void update(float dt) override { (void)dt; }
    void cleanupBeforeDelete() override;

private:
    void onTrailEnd();

    kvengine::CCRetained<kvengine::CCAnimate> m_trail;
};
