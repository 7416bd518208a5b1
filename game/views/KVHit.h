#pragma once

#include <string>

#include "game/views/KVPawnEffect.h"

/// The flash drawn over a pawn that is hit (kind 0) or healed (kind 1): a bodiless actor made by
/// the pawn's damage and heal code. Its view ("KVHitV") plays the flash and then posts
/// "EVENT_REMOVE_ACTOR" with it.
///
/// Ownership: made autoreleased by the pawn; whoever hears its "EVENT_NEW_ACTOR" and keeps it
/// (the game model) retains it. It does not retain its pawn: it forgets the pawn when the pawn's
/// "EVENT_REMOVE_ACTOR" is posted.
class KVHit : public KVPawnEffect {
public:
    CC_DECLARE_CLASS_NAME(KVHit, KVPawnEffect)

    enum Kind : int { Damage = 0, Healing = 1 };

    /// An autoreleased, initialised hit over `pawn`; posts "EVENT_NEW_ACTOR" with it (after the
    /// physics step when the world is stepping). Null pawn: logged, null.
    static KVHit* create(KVPawn* pawn, int kind);

    /// KVActor::init, keeps the pawn and the kind, observes every "EVENT_REMOVE_ACTOR", posts
    /// "EVENT_NEW_ACTOR". Always true.
    virtual bool initWithPawn(KVPawn* pawn, int kind);
    std::string viewClassName() override { return "KVHitV"; }

    int getKind() const { return m_kind; }

private:
    int m_kind = Damage;
};
