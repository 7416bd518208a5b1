#pragma once

#include "engine/base/CCRetained.h"
#include <string>

#include "engine/base/CCGeometry.h"
#include "engine/base/CCMutableArray.h"
#include "engine/base/CCMutableDictionary.h"
#include "engine/base/CCNotification.h"
#include "engine/base/CCString.h"
#include "game/world/KVActor.h"

class b2Body;
class KVGameModel;
class KVPawnController;
class KVPlayer;
class KVPowerup;
class KVProjectile;

/// A fighter on the board: a player kelvo, a computer-driven enemy or a part of the boss.
///
/// Stats come from a stat dictionary (every value a CCString; a missing key reads 0, false or
/// null) read by readStats; the stat getters are virtual so that subclasses add bonuses (a kelvo's
/// helmet). Units: metres, radians, m/s; the stats "Radius", "Range AoE" and "Range Target" are in
/// pixels (x 0.03125 for metres).
///
/// Creation, in this order: construct, initAt, then (in the subclass's own initialisation)
/// readStats, createBody and registerObservers, which posts "EVENT_NEW_ACTOR" with the pawn.
/// Leaving: "EVENT_REMOVE_ACTOR" with the pawn (posted by the pawn itself when its view answers
/// "EVENT_DEAD_PAWN_READY", or by a hole); from then on the contact listener ignores it. The body
/// stays until the pawn is deleted (cleanupBeforeDelete destroys it while the world exists).
///
/// Ownership: the pawn owns its body (user data = the pawn) and retains its type name, sprite
/// names, voice, owner player, modifier list, controller and the contact pawn of the contact under
/// way. A controller or a modifier retains the pawn as well: those cycles are broken by
/// "EVENT_REMOVE_ACTOR" and "EVENT_GAME_SHUTDOWN".
///
/// Posted with the pawn as object: "EVENT_NEW_ACTOR", "EVENT_REMOVE_ACTOR", "EVENT_PAWN_SELECTED",
/// "EVENT_PAWN_UNSELECTED", "EVENT_KELVO_ATTACK_MODE_AVAILABLE" / "..._UNAVAILABLE",
/// "EVENT_NOTIFY_IN_ACTION", "EVENT_NOTIFY_IDLE", "EVENT_WANTS_AUTOMATIC_MODE_FOLLOW_MOVE",
/// "EVENT_PAWN_BOUNCE", "EVENT_PAWN_BOUNCE_FOR_ACHIEVEMENT", "EVENT_POWERUP_PICKED_UP",
/// "EVENT_END_OF_SUSHI", "EVENT_PAWN_TAKE_DAMAGE", "EVENT_DEAD_PAWN"; "EVENT_PAWN_HIT_PAWN" with
/// the team mate struck; "EVENT_ACTION" with a KVActionEvent. Posts made inside a physics step
/// (contact callbacks) are delivered right after the step, in order.
/// Observed: see registerObservers.
class KVPawn : public KVActor {
public:
    CC_DECLARE_CLASS_NAME(KVPawn, KVActor)

    using StatDictionary = kvengine::CCMutableDictionary<std::string, kvengine::CCObject*>;

    /// Distance from the centre, metres, within which a point is on the pawn (grab, tap).
    static constexpr float kTouchRadius = 1.25f;
    /// Linear and angular damping of the body; also the 2.2 of getLaunchPowerForDistance.
    static constexpr float kDamping = 2.2f;
    /// Pixels to metres.
    static constexpr float kMetresPerPixel = 0.03125f;
    /// Contact speed, m/s, at or below which a contact neither hurts nor heals.
    static constexpr float kMeleeMinSpeed = 0.1f;

    // ---- Creation ----

    /// Actor initialisation; type name (retained); takes damage := the game's solo flag (true when
    /// no game settings exist); position and move-start position := (x, y); deselects (posting
    /// "EVENT_PAWN_UNSELECTED" when it was selected); a new empty modifier list; attack charges 0
    /// ("EVENT_KELVO_ATTACK_MODE_UNAVAILABLE"); every state flag cleared. `model` may be null.
    [[nodiscard]] virtual bool initAt(float x, float y, KVGameModel* model, kvengine::CCString* typeName);
    /// Makes the body in KVPhysWorld's world at the pawn's position: a dynamic bullet circle of
    /// "Radius" pixels (density getWeightDensity, friction 1, restitution 0.6, category 1, mask
    /// 0xFFFF), damping 2.2, and a 5-pixel sensor probe (group 1, mask 0); then the maximum speed
    /// := getMovePower / mass. False (logged) without a world, inside a step, or when the pawn has
    /// a body already.
    [[nodiscard]] virtual bool createBody();
    /// Observes, in this order: "EVENT_END_TURN_BEFORE_BUFFER" (this pawn), "EVENT_END_TURN" (this
    /// pawn), "EVENT_START_TURN", "EVENT_DAMAGE_MODE_OFF" (this pawn), "EVENT_DEAD_PAWN_READY",
    /// "EVENT_PAWN_FALL", "EVENT_DISABLE_FORCE_IN_ACTION", "EVENT_GAME_SHUTDOWN",
    /// "EVENT_MOVE_OVER"; then posts "EVENT_NEW_ACTOR" with the pawn.
    virtual void registerObservers();
    /// Reads the stats (see the table in the .cpp); then stamina := getMaxSP, hit points :=
    /// getMaxHP, dashes left := getDashPerTurn. A null dictionary is logged and reads as empty.
    virtual void readStats(StatDictionary* stats);

    // ---- Stats (virtual: subclasses add bonuses) ----

    virtual int getMaxHP();
    virtual int getMaxSP();
    virtual int getSPRegen();
    /// Stores the base Move Power.
    virtual void setMovePower(float movePower);
    /// Base Move Power times every carried modifier's factor, in list order.
    virtual float getMovePower();
    virtual float getWeightDensity();
    /// Ranges in pixels.
    virtual int getRangeTarget();
    virtual int getRangeAoE();
    virtual int getDefense();
    virtual int getDmgTarget();
    virtual int getDmgAoE();
    virtual int getHeal();
    virtual int getDmgMelee();
    virtual int getDashPerTurn();
    virtual float getPushOffCoefTarget();
    virtual float getPushOffCoefAoE();
    virtual float getDodge();
    virtual float getCritics();
    /// Initiative: the lowest Speed plays first.
    virtual int getSpeed();

    // ---- Kind questions ----

    /// False while protected (the spiky shell's view sets it).
    virtual bool isDamageable();
    /// Radians added to the aim: 0 (crustaceans pi/2).
    virtual float getAimAngleOffset();
    /// Whether a computer-driven pawn has something to do; true here.
    virtual bool canAct();
    virtual bool isBossWeakPoint();
    virtual bool isBoss();
    /// The launch direction in body coordinates, (0, 1) here; rotated by the body angle.
    virtual void getForwardVector(float* x, float* y);

    // ---- Notification handlers (registered by registerObservers) ----

    /// Own turn start: stamina regained (capped at getMaxSP), dashes reset, modifiers' turn-start
    /// hook, turn active, one attack charge. Any turn start: own side acting := same side as the
    /// starting pawn.
    virtual void onStartTurn(kvengine::CCNotification* notification);
    virtual void onEndTurnBeforeBuffer(kvengine::CCNotification* notification);
    virtual void onEndTurn(kvengine::CCNotification* notification);
    virtual void onMoveOver(kvengine::CCNotification* notification);
    virtual void onDamageModeOff(kvengine::CCNotification* notification);
    /// Own "EVENT_DEAD_PAWN_READY": posts "EVENT_REMOVE_ACTOR" with the pawn.
    virtual void onDeadPawnReady(kvengine::CCNotification* notification);
    /// An enemy fell during this player-side pawn's turn: "EVENT_ACTION" type 16.
    virtual void onPawnFall(kvengine::CCNotification* notification);
    virtual void onDisableForceInAction(kvengine::CCNotification* notification);
    virtual void onGameShutdown(kvengine::CCNotification* notification);
    /// Own "EVENT_REMOVE_ACTOR": marks the pawn removed (the contact listener then disables its
    /// contacts until the body is destroyed) and forgets the contact pawn.
    void onRemoveActor(kvengine::CCNotification* notification) override;

    // ---- Actor overrides ----

    /// Copies the body's position and angle, updates the modifiers, and announces busy
    /// ("EVENT_NOTIFY_IN_ACTION") when the pawn starts moving (deselecting it) and idle ("EVENT_NOTIFY_IDLE")
    /// when it has come to rest (0.5 m/s or less) and is not forced busy.
    void update(float dt) override;
    /// Stops observing, destroys the body (while the world exists) and releases what it holds.
    void cleanupBeforeDelete() override;
    b2Body* getBody() override { return m_body; }
    bool triggersBounce() override { return !m_enemy; }
    bool countsForBounceAchievement() override { return true; }
    bool beginContact(KVContactInfo* contact) override;
    bool endContact(KVContactInfo* contact) override;
    /// Lets the modifiers intercept the contact, and records the other pawn and this pawn's speed
    /// for the melee test while this pawn's side is acting.
    bool preSolve(KVContactInfo* contact) override;
    /// The melee and team-heal test (KVPawnDamage.cpp).
    bool postSolve(KVContactInfo* contact) override;

    // ---- Damage and healing (KVPawnDamage.cpp) ----

    /// The one way a pawn is hurt. Nothing without the takes-damage flag, for amount <= 0, when
    /// not damageable or dead. damage := trunc(amount x multiplier) - getDefense, at least 1;
    /// posts "EVENT_ACTION" {actionType, damage, damage / getMaxHP, attacker, this},
    /// a KVHit on an AI-driven target, "EVENT_PAWN_TAKE_DAMAGE", and pushes the target away from
    /// the attacker with an impulse of `pushForce` (kg m/s) when above 0. At 0 hit points:
    /// "EVENT_ACTION" type 0, then "EVENT_DEAD_PAWN", once.
    void takeDamage(int amount, KVPawn* attacker, int actionType, float multiplier, float pushForce);
    /// takeDamage(amount, attacker, melee, multiplier, no push) on `target`.
    static void dealMeleeDamage(KVPawn* target, int amount, KVPawn* attacker, float multiplier);
    /// takeDamage(amount, attacker, actionType, 1, no push) on `target`.
    static void takeHitDamage(int actionType, KVPawn* attacker, int amount, KVPawn* target);
    /// Restores up to `amount` hit points (never above getMaxHP) and posts "EVENT_ACTION" type 4
    /// (after a healing KVHit) when at least 1 was restored. Nothing without the takes-damage flag
    /// or for a dead pawn.
    void heal(int amount, KVPawn* healer);
    /// Restores every missing hit point, whatever the takes-damage flag (the hidden star's
    /// reward); nothing for a dead pawn.
    void healFully();

    // ---- Other operations ----

    /// Drops the carried modifiers that cannot coexist with `modifier`, appends it, attaches it and
    /// posts "EVENT_POWERUP_PICKED_UP". Null is ignored.
    void addModifier(KVPowerup* modifier);
    /// True when any carried modifier absorbs the projectile (every one is asked).
    bool isProjectileIntercepted(KVProjectile* projectile);
    /// True when (x, y), metres, is within 1.25 m of the pawn's position (inclusive).
    bool containsPoint(float x, float y);
    /// Posts "EVENT_PAWN_SELECTED" (true, pawn alive) or "EVENT_PAWN_UNSELECTED" on a change.
    void setSelected(bool selected);
    bool isSelected() const { return m_selected; }
    /// Sets the selected flag without a notification (the camera takes the turn away for a moment).
    void setSelectedFlag(bool selected) { m_selected = selected; }
    /// Stores the charges and posts "EVENT_KELVO_ATTACK_MODE_AVAILABLE" (above 0) or
    /// "..._UNAVAILABLE".
    void setAttackCharges(int charges);
    int getAttackCharges() const { return m_attackCharges; }
    /// One more dash when some were spent, and an attack charge when none is left.
    void grantExtraMove();
    /// Stamina, hit points and dashes back to their maxima.
    void resetTurnStats();
    /// Whether the pawn's special attack reaches an opponent now: area range without line of
    /// sight, else distance range with it (asks the controller); false without either, without a
    /// controller or for a range of 0 or less.
    bool hasTargetInAttackRange();
    /// Pull power (0..1 and beyond) that carries the pawn `distance` metres.
    float getLaunchPowerForDistance(float distance);
    /// Comparators for stable sorts: -1 when a's value is lower, 1 when b's is, else 0.
    static int compareBySpeed(KVPawn* a, KVPawn* b);
    static int compareByDefense(KVPawn* a, KVPawn* b);

    // ---- State ----

    kvengine::CCString* getTypeName() const { return m_typeName; }
    kvengine::CCString* getSpriteSheetName() const { return m_spriteSheetName; }
    kvengine::CCString* getSpriteName() const { return m_spriteName; }
    /// The "Voice" stat: prefix of the pawn's voice sound events; may be null. Not retained for
    /// the caller.
    kvengine::CCString* getVoice() const override { return m_voice; }

    /// The player side that owns a player creature (retained); null for computer-driven pawns.
    KVPlayer* getOwnerPlayer() const { return m_ownerPlayer; }
    void setOwnerPlayer(KVPlayer* player);
    /// The controller that moves the pawn (retained); null until one is bound.
    KVPawnController* getController() const { return m_controller; }
    void setController(KVPawnController* controller);
    /// The carried modifiers (the list itself; iterate over a copy when it may change).
    kvengine::CCMutableArray<KVPowerup*>* getModifiers() const { return m_modifiers; }
    /// The other pawn of the contact under way, recorded at pre-solve; null when none.
    KVPawn* getContactPawn() const { return m_contactPawn; }
    /// This pawn's speed, m/s, at the last recorded pre-solve; 0 after the melee test.
    float getContactSpeed() const { return m_contactSpeed; }

    /// True for pawns of the enemy side, false for the player's.
    bool isEnemy() const override { return m_enemy; }
    void setEnemy(bool enemy) { m_enemy = enemy; }
    bool isAIDriven() const { return m_aiDriven; }
    void setAIDriven(bool aiDriven) { m_aiDriven = aiDriven; }
    /// Copied from the game's solo flag at initAt: only solo missions deal damage and heal.
    bool takesDamage() const { return m_takesDamage; }
    void setTakesDamage(bool takes) { m_takesDamage = takes; }
    /// Index in the player's line-up (solo) or player number (multiplayer); -1 for the computer's.
    int getOwnerIndex() const { return m_ownerIndex; }
    void setOwnerIndex(int index) { m_ownerIndex = index; }
    int getLevel() const { return m_level; }
    void setLevel(int level) { m_level = level; }
    bool usesAllStamina() const { return m_useAllStamina; }
    void setUseAllStamina(bool useAll) { m_useAllStamina = useAll; }

    int getStamina() const { return m_stamina; }
    void setStamina(int stamina) { m_stamina = stamina; }
    int getHitPoints() const { return m_hitPoints; }
    void setHitPoints(int hitPoints) { m_hitPoints = hitPoints; }
    int getDashesLeft() const { return m_dashesLeft; }
    void setDashesLeft(int dashes) { m_dashesLeft = dashes; }
    /// Stamina marks shown by the creature view for the pull under way; the turn manager reads it.
    int getStaminaMarks() const { return m_staminaMarks; }
    void setStaminaMarks(int marks) { m_staminaMarks = marks; }

    /// Body radius in pixels ("Radius").
    float getRadius() const { return m_radius; }
    /// The stat only (the body keeps its size); the spiky shell's view doubles it while closed.
    void setRadius(float radius) { m_radius = radius; }
    bool hasDistanceAttack() const { return m_hasDistanceAttack; }
    bool hasAOEAttack() const { return m_hasAOEAttack; }
    bool hasSpecialMeleeAttack() const { return m_hasSpecialMeleeAttack; }
    bool hasHealingPower() const { return m_hasHealingPower; }
    bool hasDashAbility() const { return m_hasDashAbility; }

    /// getMovePower / body mass when the body was made, m/s: the speed of a full-power launch.
    float getMaxLaunchSpeed() const override { return m_maxLaunchSpeed; }
    bool isDead() const { return m_dead; }
    /// True once the pawn's death has been posted.
    bool isDeathAnnounced() const override { return m_deathAnnounced; }
    bool isTurnActive() const { return m_turnActive; }
    /// True while the pawn belongs to the side whose pawn started the current turn.
    bool isOwnSideActing() const { return m_ownSideActing; }
    bool isAnchored() const { return m_anchored; }
    void setAnchored(bool anchored) { m_anchored = anchored; }
    /// Metres; written by the anchor.
    kvengine::CCPoint getAnchorPoint() const { return m_anchorPoint; }
    void setAnchorPoint(const kvengine::CCPoint& point) { m_anchorPoint = point; }
    bool isProtected() const { return m_protected; }
    void setProtected(bool isProtected) { m_protected = isProtected; }
    /// Busy announced ("EVENT_NOTIFY_IN_ACTION") and not yet idle.
    bool isInAction() const { return m_inAction; }
    /// Keeps the pawn busy while it stands still; "EVENT_DISABLE_FORCE_IN_ACTION" clears it.
    bool isForcedInAction() const { return m_forcedInAction; }
    void setForcedInAction(bool forced) { m_forcedInAction = forced; }
    /// Position at initAt and at each "EVENT_MOVE_OVER", metres.
    kvengine::CCPoint getMoveStartPosition() const { return m_moveStart; }
    /// Position at the last bouncing contact, metres.
    kvengine::CCPoint getLastBouncePosition() const { return m_lastBounce; }

protected:
    /// Posts at once, or after the running physics step (contact callbacks).
    static void postEvent(kvengine::CCString* name, kvengine::CCObject* object);
    /// Stores (retains) the voice; null clears it.
    void setVoice(kvengine::CCString* voice);
    /// Destroys the body through the physics world (after the running step, if any) and forgets it.
    void destroyBody();
    /// Releases the contact pawn and forgets its speed.
    void forgetContactPawn();
    /// Drops `modifier` when its active flag is clear (or always when `force`).
    void dropModifierIfInactive(KVPowerup* modifier, bool force = false);
    /// A retained copy of the modifier list for walks that may change it; the caller releases it.
    kvengine::CCMutableArray<KVPowerup*>* copyModifiers() const;
    /// Turns the physics contact off for the running step.
    static void disableContact(KVContactInfo* contact);

    kvengine::CCRetained<kvengine::CCString> m_typeName;
    kvengine::CCRetained<kvengine::CCString> m_spriteSheetName;
    kvengine::CCRetained<kvengine::CCString> m_spriteName;
    kvengine::CCRetained<kvengine::CCString> m_voice;
    kvengine::CCRetained<KVPlayer> m_ownerPlayer;
    kvengine::CCRetained<kvengine::CCMutableArray<KVPowerup*>> m_modifiers;
    kvengine::CCRetained<KVPawnController> m_controller;
    kvengine::CCRetained<KVPawn> m_contactPawn;
    b2Body* m_body = nullptr;
    bool m_selected = false;
    bool m_turnActive = false;
    bool m_deathAnnounced = false;
    int m_attackCharges = 0;
    int m_ownerIndex = 0;
    bool m_aiDriven = false;
    bool m_enemy = false;
    bool m_takesDamage = false;
    int m_level = 0;

    int m_maxHP = 0;
    int m_maxSP = 0;
    int m_spRegen = 0;
    float m_movePower = 0.0f;
    float m_weightDensity = 0.0f;
    int m_rangeTarget = 0;
    int m_rangeAoE = 0;
    int m_defense = 0;
    int m_dmgTarget = 0;
    int m_dmgAoE = 0;
    int m_heal = 0;
    int m_dmgMelee = 0;
    int m_dashesLeft = 0;
    int m_dashPerTurn = 0;
    float m_pushOffCoefTarget = 0.0f;
    float m_pushOffCoefAoE = 0.0f;
    float m_dodge = 0.0f;
    float m_critics = 0.0f;
    int m_speed = 0;
    float m_radius = 0.0f;
    bool m_hasDistanceAttack = false;
    bool m_hasAOEAttack = false;
    bool m_hasSpecialMeleeAttack = false;
    bool m_hasHealingPower = false;
    bool m_hasDashAbility = false;
    bool m_useAllStamina = false;

    int m_stamina = 0;
    int m_hitPoints = 0;
    float m_maxLaunchSpeed = 0.0f;
    float m_contactSpeed = 0.0f;
    bool m_dead = false;
    bool m_anchored = false;
    kvengine::CCPoint m_anchorPoint;
    bool m_protected = false;
    bool m_inAction = false;
    bool m_forcedInAction = false;
    bool m_ownSideActing = false;
    kvengine::CCPoint m_moveStart;
    kvengine::CCPoint m_lastBounce;
    int m_staminaMarks = 0;
};
