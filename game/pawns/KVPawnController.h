#pragma once

#include "engine/base/CCMutableArray.h"
#include "engine/base/CCNotification.h"
#include "game/world/KVObject.h"

class KVActor;
class KVPawn;

/// The object that moves one pawn: the base of the player's, the computer's and the boss's
/// controllers.
///
/// What exists so far is what the pawn and the turn manager ask of it: the binding to the pawn, the
/// opponent search behind KVPawn::hasTargetInAttackRange and the line-of-sight test, and canAct.
///
/// Ownership: the controller retains its pawn (and the pawn its controller); the cycle is broken
/// by the pawn's "EVENT_REMOVE_ACTOR", upon which the controller releases the pawn and posts
/// "EVENT_REMOVE_ACTOR" with itself, and by "EVENT_GAME_SHUTDOWN".
class KVPawnController : public KVObject {
public:
    CC_DECLARE_CLASS_NAME(KVPawnController, KVObject)

    /// Half width, metres, of the three rays of the opponent search's line of sight (5 pixels).
    static constexpr float kSightHalfWidth = 0.15625f;

    /// Binds the pawn (retained) and observes its "EVENT_REMOVE_ACTOR" and "EVENT_GAME_SHUTDOWN".
    /// Null pawn: logged, false.
    [[nodiscard]] virtual bool initWithPawn(KVPawn* pawn);
    /// Whether the pawn has anything to do this turn; true here (the AI controller asks its brain).
    virtual bool canAct();
    /// Releases the pawn and posts "EVENT_REMOVE_ACTOR" with the controller.
    virtual void onRemoveActor(kvengine::CCNotification* notification);
    /// Releases the pawn.
    virtual void onGameShutdown(kvengine::CCNotification* notification);
    void cleanupBeforeDelete() override;

    /// The controlled pawn; null once released. Not retained for the caller.
    KVPawn* getPawn() const { return m_pawn; }

    /// Opponents of the pawn (the pawn manager's other side; the boss body left out) no farther
    /// than `rangeMetres` from it; with `needLineOfSight` only those hasClearLineOfSight reaches.
    /// Autoreleased; empty without a pawn.
    kvengine::CCMutableArray<KVPawn*>* findOpponentsInRange(float rangeMetres, bool needLineOfSight);
    /// Three parallel rays from `from` to `to` (metres), `halfWidth` apart on each side; clear when
    /// each hits nothing or, with a target, first hits the target. Projectile sensors (category 2)
    /// and the controlled pawn's own body never block. With the setting "DrawDebugAI" each ray is
    /// drawn for 5 s.
    bool hasClearLineOfSight(float halfWidth, KVActor* target, float fromX, float fromY, float toX,
                             float toY);

protected:
    KVPawn* m_pawn = nullptr;
};
