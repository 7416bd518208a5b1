#pragma once

#include "engine/base/CCNotification.h"
#include "game/world/KVActor.h"

class KVPawn;

/// The visible trace of a dash: a short-lived actor without a body, made by the player controller
/// when it gives a flying kelvo its extra push. Its view, "KVDashV", plays the trail behind the
/// pawn, posts "EVENT_DASH_ACTIVE" and removes the dash.
///
/// Ownership: the pawn is not retained; it is forgotten when "EVENT_REMOVE_ACTOR" names it.
class KVDash : public KVActor {
public:
    CC_DECLARE_CLASS_NAME(KVDash, KVActor)

    /// Actor initialisation at the pawn's position; observes "EVENT_REMOVE_ACTOR"; posts
    /// "EVENT_NEW_ACTOR". Null pawn: logged, false.
    [[nodiscard]] virtual bool initWithPawn(KVPawn* pawn);

    void cleanupBeforeDelete() override;
    std::string viewClassName() override { return "KVDashV"; }
    /// About itself: marked removed; about its pawn: the pawn is forgotten.
    void onRemoveActor(kvengine::CCNotification* notification) override;

    /// The dashing pawn; null once it left. Not retained.
    KVPawn* getPawn() const { return m_pawn; }

private:
    KVPawn* m_pawn = nullptr;
};
