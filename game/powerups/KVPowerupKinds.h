#pragma once

#include "engine/base/CCMutableArray.h"
#include "engine/base/CCNotification.h"
#include "game/powerups/KVPowerup.h"

/// Energy drink (kind 0): on pick-up stamina to full, 25 % of the maximum hit points healed and an
/// extra move (KVPawn::grantExtraMove); used up at the owner's turn end.
class KVPowerupEnergyDrink : public KVPowerup {
public:
    CC_DECLARE_CLASS_NAME(KVPowerupEnergyDrink, KVPowerup)

    KVPowerupEnergyDrink();
    void attachToPawn(KVPawn* pawn) override;
    void onOwnerTurnEnd() override;
    kvengine::CCString* getName() override;
    kvengine::CCString* getIconName() override;
    kvengine::CCString* getHudIconName() override;

    /// False only when hit points, stamina, dashes and attack charge are all at their limits.
    static bool canTakeEnergyDrink(KVPawn* pawn);

    float staminaShare = 1.0f;
    float healShare = 0.25f;
    bool extraMove = true;
};

/// Maguro sushi (kind 1): on pick-up stamina halfway to full and 25 % of the maximum hit points
/// healed; Move Power x 1.8 while carried; used up at the owner's turn end (the pawn then posts
/// "EVENT_END_OF_SUSHI").
class KVPowerupMaguroSushi : public KVPowerup {
public:
    CC_DECLARE_CLASS_NAME(KVPowerupMaguroSushi, KVPowerup)

    KVPowerupMaguroSushi();
    void attachToPawn(KVPawn* pawn) override;
    void onOwnerTurnEnd() override;
    float getMovePowerFactor() override { return movePowerFactor; }
    kvengine::CCString* getName() override;
    kvengine::CCString* getIconName() override;
    kvengine::CCString* getHudIconName() override;

    /// False only when the pawn carries a sushi already and is at every limit (as for the drink).
    static bool canTakeSushi(KVPawn* pawn);

    float staminaShare = 0.5f;
    float healShare = 0.25f;
    bool extraMove = false;
    float movePowerFactor = 1.8f;
};

/// Spiky shell (kind 2): armed at the owner's turn end (or at the end of a move outside its turn),
/// the owner becomes a heavy (x 100 mass) spiked obstacle: each computer pawn touching it takes
/// 30 % of its maximum hit points net of defence (action type 14) once per contact and is flung
/// away at 9.375 m/s the next frame. Dropped at the owner's next turn start; the owner's mass
/// comes back when it is detached. A ninja log displaces it.
class KVPowerupSpikyShell : public KVPowerup {
public:
    CC_DECLARE_CLASS_NAME(KVPowerupSpikyShell, KVPowerup)

    static constexpr float kMassFactor = 100.0f;
    static constexpr float kFlingSpeed = 9.375f;
    static constexpr float kShare = 0.3f;

    KVPowerupSpikyShell();
    void cleanupBeforeDelete() override;
    void update(float dt) override;
    void detachFromOwner(kvengine::CCNotification* notification) override;
    void onOwnerTurnStart() override;
    void onOwnerTurnEnd() override;
    /// Always false (the contact goes on); pricks a computer pawn not yet touched.
    bool interceptContact(KVActor* other) override;
    bool canCoexistWith(KVPowerup* newModifier) override;
    bool onOwnerEndContact(KVContactInfo* contact) override;
    kvengine::CCString* getName() override;
    kvengine::CCString* getIconName() override;
    kvengine::CCString* getHudIconName() override;

    /// Arms a shell picked up outside its owner's turn.
    virtual void onMoveOverBeforeBuffer(kvengine::CCNotification* notification);
    /// Lets go of a removed hit target and forgets a removed touched actor.
    virtual void onRemoveActor(kvengine::CCNotification* notification);

    bool isArmed() const { return m_armed; }
    kvengine::CCMutableArray<KVActor*>* getTouched() const { return m_touched; }

private:
    void arm();
    void setHitTarget(KVActor* target);

    bool m_armed = false;
    bool m_armPending = false;
    KVActor* m_hitTarget = nullptr;
    kvengine::CCMutableArray<KVActor*>* m_touched = nullptr;
    float m_pushX = 0.0f;
    float m_pushY = 0.0f;
};

/// Ninja log (kind 3): while the opponents act it absorbs the first hit by a pawn or a projectile;
/// the owner vanishes (its body leaves the simulation) and, once the attacker has come to rest,
/// reappears behind it (a free spot near it when that place is taken, or where it was). On an
/// anchored owner it only hides it for 0.5 s. Used up after the escape. A spiky shell displaces it.
class KVPowerupNinjaLog : public KVPowerup {
public:
    CC_DECLARE_CLASS_NAME(KVPowerupNinjaLog, KVPowerup)

    static constexpr float kAnchoredHideSeconds = 0.5f;

    KVPowerupNinjaLog();
    void cleanupBeforeDelete() override;
    void update(float dt) override;
    bool interceptContact(KVActor* other) override;
    bool interceptProjectile(KVProjectile* projectile) override;
    bool canCoexistWith(KVPowerup* newModifier) override;
    kvengine::CCString* getName() override;
    kvengine::CCString* getIconName() override;
    kvengine::CCString* getHudIconName() override;

    bool isEscaping() const { return m_state == 1; }

private:
    bool absorb(KVActor* attacker);
    void finishEscape();
    void setAttacker(KVActor* attacker);

    bool m_pending = false;
    bool m_timed = false;
    float m_timer = 0.0f;
    int m_state = 0;
    float m_escapeX = 0.0f;
    float m_escapeY = 0.0f;
    KVActor* m_attacker = nullptr;
};

/// Shuriken (kind 4): on the owner's next update throws a shuriken at each of the three nearest
/// opponents in sight, then is used up (also when nobody is in sight).
class KVPowerupShuriken : public KVPowerup {
public:
    CC_DECLARE_CLASS_NAME(KVPowerupShuriken, KVPowerup)

    static constexpr int kMaxThrows = 3;

    KVPowerupShuriken();
    void attachToPawn(KVPawn* pawn) override;
    void update(float dt) override;
    kvengine::CCString* getName() override;
    kvengine::CCString* getIconName() override;
    kvengine::CCString* getHudIconName() override;

    /// The thrower's opponents (multiplayer: every other player pawn), nearest first, each in
    /// sight of the thrower: with `testOnly` answers at the first; otherwise throws a KVShuriken at
    /// up to three and posts "EVENT_SHURIKEN_THROW" after each. True when one was in sight.
    static bool throwShurikens(KVPawn* thrower, bool testOnly);

private:
    bool m_armed = false;
};
