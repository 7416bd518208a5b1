#pragma once

#include "engine/base/CCNotification.h"
#include "game/world/KVActor.h"

class KVPawn;

/// A bodiless effect actor drawn over a pawn (the hit flash, the knock-out puff). It does not
/// retain its pawn: it forgets the pawn when the pawn's "EVENT_REMOVE_ACTOR" is posted and keeps,
/// as its own position, where the pawn was last seen.
class KVPawnEffect : public KVActor {
public:
    CC_DECLARE_CLASS_NAME(KVPawnEffect, KVActor)

    void cleanupBeforeDelete() override;
    /// Forgets the pawn when the removed actor is the pawn; marks this effect removed when it is this.
    void onRemoveActor(kvengine::CCNotification* notification) override;

    /// The pawn; null once it has been removed (this actor's position then holds where it was last
    /// seen). Not retained.
    KVPawn* getPawn() const { return m_pawn; }

protected:
    /// Keeps `pawn` and its position, and observes every "EVENT_REMOVE_ACTOR".
    void attachToPawn(KVPawn* pawn);

private:
    void holdPawnPosition();

    KVPawn* m_pawn = nullptr;
};
