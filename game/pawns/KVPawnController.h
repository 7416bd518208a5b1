#pragma once

#include "engine/base/CCGeometry.h"
#include "engine/base/CCMutableArray.h"
#include "engine/base/CCNotification.h"
#include "engine/base/CCRetained.h"
#include "game/world/KVObject.h"

class KVActor;
class KVAOEAttack;
class KVPawn;

/// The object that moves one pawn: the base of the player's, the computer's and the boss's
/// controllers.
///
/// It performs the launch (an impulse along the pawn's forward axis), spends stamina, enters and
/// leaves the attack ("damage") modes with their target lists and highlights, starts distance and
/// area attacks, and frame by frame turns the pawn toward a wanted direction, brakes it and pulls
/// an anchored pawn onto its anchor point. The game model updates it every frame with the actors
/// ("EVENT_NEW_ACTOR" with the controller at initWithPawn). Every operation is a no-op without a
/// pawn. Units: metres, radians, m/s.
///
/// Ownership: the controller retains its pawn (and the pawn its controller); the cycle is broken
/// by the pawn's "EVENT_REMOVE_ACTOR", upon which the controller releases the pawn and posts
/// "EVENT_REMOVE_ACTOR" with itself, and by "EVENT_GAME_SHUTDOWN". It retains its target list and
/// the area-attack preview it placed.
///
/// Observed (registered by initWithPawn): "EVENT_REMOVE_ACTOR" (pawn), "EVENT_GAME_SHUTDOWN",
/// "EVENT_DAMAGE_MODE_REQUEST_ON" / "..._OFF" (pawn), "EVENT_HAS_FOUND_HIDDEN_STAR",
/// "EVENT_PAWN_SELECTED" / "EVENT_PAWN_UNSELECTED" (pawn), "EVENT_HIDDEN_STAR_FOUND",
/// "EVENT_TRIGGER_TRIGGERED", "EVENT_VICTORY_DANCE" (player-side pawns), "EVENT_LOOSE_DANCE",
/// "EVENT_DEAD_PAWN", "EVENT_PAWN_FALL", "EVENT_ANCHOR_START" (pawn), "EVENT_SPAWN_PAWN".
class KVPawnController : public KVObject {
public:
    CC_DECLARE_CLASS_NAME(KVPawnController, KVObject)

    /// Half width, metres, of the three rays of the opponent search's line of sight (5 pixels).
    static constexpr float kSightHalfWidth = 0.15625f;
    /// Stamina spent by a full-power launch.
    static constexpr float kStaminaPerFullPull = 25.0f;
    /// Turning speed while orienting, rad/s (two turns a second).
    static constexpr float kTurnRate = 12.566371f;
    /// cos of the largest angle, about 11.5 degrees, that still counts as facing or upright.
    static constexpr float kFacingCosine = 0.98f;
    /// Speed, m/s, above which orienting waits and at or below which braking ends.
    static constexpr float kSlowSpeed = 1.0f;
    /// Braking divides the velocity by this every frame.
    static constexpr float kBrakeFactor = 1.5f;

    enum DamageMode { kDamageNone = 0, kDamageDistance = 1, kDamageArea = 2 };

    // ---- Notification handlers ----

    /// A human-driven player pawn that reached a reach point stands up and brakes.
    virtual void onTriggerTriggered(kvengine::CCNotification* notification);
    /// The match is decided: the pawn stops and stands up.
    virtual void onLooseDance(kvengine::CCNotification* notification);
    /// The pawn itself died: it stands up.
    virtual void onDeadPawn(kvengine::CCNotification* notification);
    /// The pawn itself fell into a hole: it spins as it sinks, braking.
    virtual void onPawnFall(kvengine::CCNotification* notification);
    /// A pawn appeared: a selected pawn recomputes its damage mode (off, then on).
    virtual void onSpawnPawn(kvengine::CCNotification* notification);
    /// The pawn was selected: its attack targets show at once (onDamageModeRequestOn).
    virtual void onPawnSelected(kvengine::CCNotification* notification);
    /// The pawn was deselected: onDamageModeRequestOff.
    virtual void onPawnUnselected(kvengine::CCNotification* notification);
    /// The pawn itself found the hidden star: it stands up and brakes. Whoever found it, the
    /// controller stops observing "EVENT_HIDDEN_STAR_FOUND".
    virtual void onHiddenStarFound(kvengine::CCNotification* notification);

    // ---- Binding ----

    /// Binds the pawn (retained), resets the modes and flags, registers the observers and posts
    /// "EVENT_NEW_ACTOR" with the controller. Null pawn: logged, false.
    [[nodiscard]] virtual bool initWithPawn(KVPawn* pawn);

    // ---- Damage modes ----

    /// Enters a damage mode when the pawn is selected, in no mode and has an attack charge: with
    /// "hasDistanceAttack" mode 1 over the opponents within Range Target in sight; otherwise with
    /// "hasAOEAttack" mode 2 over those within Range AoE, placing the area-attack preview. The
    /// targets are highlighted and "EVENT_DAMAGE_MODE_ON" is posted; no targets: nothing at all.
    /// `notification` may be null (direct calls).
    virtual void onDamageModeRequestOn(kvengine::CCNotification* notification);
    /// Leaves the damage mode: takes back a preview that was not launched, posts
    /// "EVENT_DAMAGE_MODE_OFF" (pawn) and "EVENT_KELVO_HIGHLIGHT_OFF" per target, empties the
    /// targets. Nothing in mode 0.
    virtual void onDamageModeRequestOff(kvengine::CCNotification* notification);
    /// Whether the pawn has anything to do this turn; true here (the AI controller asks its brain).
    virtual bool canAct();
    /// The pawn reached an anchor: it is held there (heavy, no rotation), stands up and is pulled
    /// onto the anchor point frame by frame.
    virtual void onAnchorStart(kvengine::CCNotification* notification);
    /// Releases the pawn and posts "EVENT_REMOVE_ACTOR" with the controller.
    virtual void onRemoveActor(kvengine::CCNotification* notification);
    /// Releases the pawn.
    virtual void onGameShutdown(kvengine::CCNotification* notification);

    /// Orienting, the wait for an upright area attack, braking and the anchor pull-in, in this
    /// order.
    void update(float dt) override;
    void cleanupBeforeDelete() override;

    // ---- Moves ----

    /// Impulse getMovePower x power along the pawn's forward axis turned by the body angle, at the
    /// body's origin (an anchored pawn is set free first); posts "EVENT_PULL_RELEASE" (pawn) and
    /// "EVENT_KELVO_LAUNCHED" (a CCValue<float> holding the power).
    void launch(float power);
    /// Stamina -= trunc(power x 25), at least 1, floored at 0; nothing for power <= 0.
    void consumeStamina(float power);
    /// cos(body angle) > 0.98.
    bool isPawnUpright();
    /// Turn the pawn until its up axis points along (x, y) (world frame).
    void orientToward(float x, float y);
    /// Divide the velocity by 1.5 every frame until the speed is 1 m/s or less.
    void startBraking() { m_braking = true; }

    // ---- Attacks ----

    /// Posts "EVENT_STOP_FUGU" and "EVENT_DISTANCE_ATTACK_ACTION_START" (pawn), spends an attack
    /// charge, posts "EVENT_NOTIFY_IN_ACTION" (pawn) and aims: a kelvo stands upright, any other
    /// pawn turns its side to the target. Once aimed, the controller posts
    /// "EVENT_DISTANCE_ATTACK_ANIM_START" with a CCArray of the target's x and y ("%f" texts),
    /// upon which the pawn's view fires the shot. Null target: logged, nothing.
    void startDistanceAttack(KVPawn* target);
    /// Posts "EVENT_STOP_FUGU" and "EVENT_AOE_ACTION_START" (pawn), launches the preview (phase 2)
    /// and waits for the pawn to stand upright, then posts "EVENT_AOE_ANIM_START" (pawn), lets the
    /// preview go and spends an attack charge.
    void startAreaAttack();

    // ---- Opponents and sight ----

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
    /// hasClearLineOfSight with rays as wide as the pawn's body less one pixel, pawn to target.
    bool canSeeTarget(KVPawn* target);
    /// Any opponent within Range AoE (no line of sight needed).
    bool hasAreaTargets();
    /// Any opponent within Range Target, in sight.
    bool hasDistanceTargets();
    /// Posts "EVENT_KELVO_HIGHLIGHT_ON" or "..._OFF" with each pawn of `pawns`.
    void setTargetsHighlighted(bool on, kvengine::CCMutableArray<KVPawn*>* pawns);

    // ---- State ----

    /// The controlled pawn; null once released. Not retained for the caller.
    KVPawn* getPawn() const { return m_pawn; }
    int getDamageMode() const { return m_damageMode; }
    /// The targets of the current damage mode (the list itself).
    kvengine::CCMutableArray<KVPawn*>* getTargets() const { return m_targets; }
    /// The area attack placed in mode 2 and not yet let go; null otherwise.
    KVAOEAttack* getAreaPreview() const { return m_areaPreview; }
    bool isWaitingForUpright() const { return m_waitingForUpright; }
    bool isBraking() const { return m_braking; }
    bool isPullingToAnchor() const { return m_anchorPullIn; }
    bool isOrienting() const { return m_orienting; }
    kvengine::CCPoint getOrientationTarget() const { return m_orientationTarget; }

protected:
    /// Releases the pawn (and forgets it) without posting.
    void releasePawn();
    /// Turns the pawn one step toward the orientation target (or ends the turn when it faces it).
    void orientStep();
    /// The pawn's position, metres; (0, 0) without a pawn.
    kvengine::CCPoint pawnPosition() const;
    /// Sets the body's angular velocity (non-static bodies only).
    void setAngularVelocity(float omega);

    float m_lastTurnSign = 0.0f;
    kvengine::CCRetained<KVPawn> m_pawn;
    int m_damageMode = kDamageNone;
    kvengine::CCRetained<kvengine::CCMutableArray<KVPawn*>> m_targets;
    kvengine::CCRetained<KVAOEAttack> m_areaPreview;
    bool m_waitingForUpright = false;
    bool m_braking = false;
    bool m_anchorPullIn = false;
    bool m_orienting = false;
    kvengine::CCPoint m_orientationTarget;
    /// A distance attack is aiming: its shot starts once the pawn faces the way wanted.
    bool m_distanceAimPending = false;
    kvengine::CCPoint m_distanceTarget;
};
