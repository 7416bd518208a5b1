#pragma once

#include <string>

#include "game/views/KVPawnEffect.h"

/// The puff of smoke that swallows a knocked-out pawn, made by the pawn's view when the pawn dies.
/// Its view ("KVPuffV") shows it on "EVENT_BEGIN_PUFF" about the pawn, posts "EVENT_MIDDLE_PUFF"
/// half-way and then "EVENT_REMOVE_ACTOR" with the puff.
///
/// Ownership: made autoreleased; whoever hears its "EVENT_NEW_ACTOR" and keeps it retains it.
class KVPuff : public KVPawnEffect {
public:
    CC_DECLARE_CLASS_NAME(KVPuff, KVPawnEffect)

    /// An autoreleased, initialised puff over `pawn`; posts "EVENT_NEW_ACTOR" with it. Null pawn:
    /// logged, null.
    static KVPuff* create(KVPawn* pawn);

    /// KVActor::init, keeps the pawn, observes every "EVENT_REMOVE_ACTOR", posts
    /// "EVENT_NEW_ACTOR". Always true.
    virtual bool initWithPawn(KVPawn* pawn);
    std::string viewClassName() override { return "KVPuffV"; }
};
