#pragma once

#include "engine/base/CCRetained.h"
#include "game/pawns/KVPawnController.h"

class KVCoconutCrab;
class KVCoconutCrabBrain;

/// The controller of the coconut-crab boss: it carries out the attack that its brain chooses, in
/// step with the boss view's animations, which it reaches only through notifications.
///
/// - Swipe: "EVENT_COCONUT_CRAB_SWIPE_TRIGGER"; 0.5 s later the slab drops from 7.1875 m above the
///   boss at 12.5 m/s and settles at the boss's height; the view's "..._SWIPE_ANIM_END" ends it.
/// - Throw: "..._THROW_LEFT_TRIGGER" or "..._THROW_RIGHT_TRIGGER"; at the view's attack trigger a
///   spiky ball leaves 9 pixels left of the boss centre toward the target with an impulse of 60;
///   the view's animation end ends it. The target is held (retained) meanwhile, and a target that
///   left the game by then is not thrown at.
/// - Quake: three strikes, each 0.5 s after its "..._QUAKE_TRIGGER", pushing every movable body but
///   the boss's and its eyes' by 10 +- 3 in a random direction; the first also drops the slab.
///
/// States: 0 idle, 1 swipe wind-up, 2 slab falling, 3 quake wind-up, 4 quake struck. From the
/// request to the end of the animation it is busy ("EVENT_NOTIFY_IN_ACTION" / "EVENT_NOTIFY_IDLE"
/// with the controller), which is how the turn manager waits for the boss. Random numbers come
/// from kvengine::CCRandom, so a seeded fight repeats.
class KVCoconutCrabController : public KVPawnController {
public:
    CC_DECLARE_CLASS_NAME(KVCoconutCrabController, KVPawnController)

    enum State { kIdle = 0, kSwipeWindUp = 1, kSlabFalling = 2, kQuakeWindUp = 3, kQuakeStruck = 4 };

    static constexpr float kWindUpSeconds = 0.5f;
    static constexpr float kSlabStartHeight = 7.1875f;
    static constexpr float kSlabStartSpeed = 12.5f;
    static constexpr float kThrowImpulse = 60.0f;
    /// The ball leaves this far left of the boss centre, metres (9 pixels), for either arm.
    static constexpr float kThrowOffsetX = 9.0f / 32.0f;
    static constexpr float kQuakeImpulse = 10.0f;
    static constexpr float kQuakeImpulseSpread = 3.0f;
    static constexpr int kQuakesPerAttack = 3;

    void cleanupBeforeDelete() override;
    /// The base frame, then the state's step.
    void update(float dt) override;
    /// The base binding, then the brain (retained) and the view's notifications.
    [[nodiscard]] bool initWithPawn(KVPawn* pawn) override;
    /// The brain goes with the boss; then the base handler.
    void onRemoveActor(kvengine::CCNotification* notification) override;
    void onGameShutdown(kvengine::CCNotification* notification) override;

    virtual void onQuakeAnimEnd(kvengine::CCNotification* notification);
    virtual void onSwipeAnimEnd(kvengine::CCNotification* notification);
    virtual void onThrowLeftAttackTrigger(kvengine::CCNotification* notification);
    virtual void onThrowAnimEnd(kvengine::CCNotification* notification);
    virtual void onThrowRightAttackTrigger(kvengine::CCNotification* notification);

    // ---- Requests of the brain ----
    void requestSwipe();
    /// Null target: logged, nothing.
    void requestThrow(KVPawn* target, bool leftArm);
    void requestQuake();

    int getState() const { return m_state; }
    int getQuakeCount() const { return m_quakeCount; }
    KVPawn* getThrowTarget() const { return m_throwTarget; }
    KVCoconutCrabBrain* getBrain() const { return m_brain; }

private:
    KVCoconutCrab* boss() const;
    void deselect();
    void dropAttackBody();
    void settleAttackBody();
    void throwSpikyBall(bool leftArm);
    void applyQuakeImpulses();
    void releaseBrain();
    void setThrowTarget(KVPawn* target);

    kvengine::CCRetained<KVCoconutCrabBrain> m_brain;
    int m_state = kIdle;
    kvengine::CCRetained<KVPawn> m_throwTarget;
    float m_timer = 0.0f;
    int m_quakeCount = 0;
};
