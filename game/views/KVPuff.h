#pragma once

#include <string>

#include "engine/base/CCNotification.h"
#include "game/world/KVActor.h"

class KVPawn;

/// The puff of smoke that swallows a knocked-out pawn: a bodiless actor made by the pawn's view
/// when the pawn dies. Its view ("KVPuffV") shows it on "EVENT_BEGIN_PUFF" about the pawn, posts
/// "EVENT_MIDDLE_PUFF" half-way and then "EVENT_REMOVE_ACTOR" with the puff.
///
/// Ownership: made autoreleased; whoever hears its "EVENT_NEW_ACTOR" and keeps it retains it. It
/// does not retain its pawn: it forgets the pawn when the pawn's "EVENT_REMOVE_ACTOR" is posted.
class KVPuff : public KVActor {
public:
    CC_DECLARE_CLASS_NAME(KVPuff, KVActor)

    /// An autoreleased, initialised puff over `pawn`; posts "EVENT_NEW_ACTOR" with it. Null pawn:
    /// logged, null.
    static KVPuff* create(KVPawn* pawn);

    /// KVActor::init, keeps the pawn, observes every "EVENT_REMOVE_ACTOR", posts
    /// "EVENT_NEW_ACTOR". Always true.
    virtual bool initWithPawn(KVPawn* pawn);
    void cleanupBeforeDelete() override;
    std::string viewClassName() override { return "KVPuffV"; }
    /// Forgets the pawn when the removed actor is the pawn; marks this puff removed when it is this.
    void onRemoveActor(kvengine::CCNotification* notification) override;

    /// The knocked-out pawn; null once it has been removed (this actor's position then holds where
    /// it was last seen). Not retained.
    KVPawn* getPawn() const { return m_pawn; }

private:
    /// Copies the pawn's position into this actor's, so the effect can stay there.
    void holdPawnPosition();

    KVPawn* m_pawn = nullptr;
};
