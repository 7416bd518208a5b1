#pragma once

#include "engine/base/CCRetained.h"
#include "game/world/KVActorV.h"

/// The view of a KVHit: a short flash over the pawn (0.28 s for damage, 0.52 s for healing) drawn
/// in the effect sheet "top_sfx_51_ss"; it follows the pawn while the pawn exists and then posts
/// "EVENT_REMOVE_ACTOR" with the hit. A hit whose pawn is gone stays where the pawn was last seen.
class KVHitV : public KVActorV {
public:
    CC_DECLARE_CLASS_NAME(KVHitV, KVActorV)

    /// Stops the flash and releases it, then the base members.
    void cleanupBeforeDelete() override;
    /// Binds a KVHit (anything else refused, logged), makes the sprite, picks the frames by kind and
    /// side, shows it and starts the flash. Without a sheet on the screen the flash is skipped and
    /// the hit is removed at the next update.
    [[nodiscard]] bool initWithActor(KVActor* model, KVActorViewHost* host) override;
    /// Follows the pawn while the hit knows it; removes a hit that could not be shown.
    void update(float dt) override;

    /// The flash (retained; null before initWithActor).
    kvengine::CCAnimate* getFlash() const { return m_flash; }

private:
    void place();
    void finish();

    kvengine::CCRetained<kvengine::CCAnimate> m_flash;
    bool m_finishAtUpdate = false;
};
