#pragma once

#include "engine/base/CCMutableArray.h"
#include "engine/base/CCNotification.h"
#include "game/world/KVActor.h"

class KVPawn;

/// A pawn's area attack: a short-lived actor without a body that follows its attacker and, once
/// triggered, hurts every pawn collected when it was placed.
///
/// Phases: 1 aiming (placed by the pawn controller when the area mode is entered), 2 launched
/// (posts "EVENT_NOTIFY_IN_ACTION" with the attack, so the turn waits), 3 triggered: the
/// attacker's "DMG AoE" is dealt to every target at once (action type 2, push "Push Off Coef
/// AoE") and "EVENT_AOE_TRIGGERED" is posted with the attacker. Phase 3 follows the attacker's
/// "EVENT_AOE_ANIM_OVER" (its view finished the attack animation). The view, "KVAOEAttackV",
/// plays the blast and removes the attack ("EVENT_REMOVE_ACTOR"); removing the attacker removes
/// the attack too.
///
/// Ownership: retains the attacker and a copy of the target list until clean-up or
/// "EVENT_GAME_SHUTDOWN".
class KVAOEAttack : public KVActor {
public:
    CC_DECLARE_CLASS_NAME(KVAOEAttack, KVActor)

    enum Phase { kPhaseAiming = 1, kPhaseLaunched = 2, kPhaseTriggered = 3 };

    /// "EVENT_AOE_ANIM_OVER" of the attacker: setPhase(3).
    virtual void onAnimOver(kvengine::CCNotification* notification);
    /// Releases the attacker and the targets.
    virtual void onGameShutdown(kvengine::CCNotification* notification);
    /// Actor initialisation at (x, y) metres; retains `attacker`; setPhase(phase); keeps `radius`
    /// (metres) and a copy of `targets` (null: none); posts "EVENT_NEW_ACTOR". Null attacker:
    /// logged, false.
    [[nodiscard]] virtual bool initWithAttacker(float x, float y, KVPawn* attacker, int phase, float radius,
                                                kvengine::CCMutableArray<KVPawn*>* targets);

    /// Stores the phase; 2 posts "EVENT_NOTIFY_IN_ACTION" with the attack; 3 deals the damage
    /// (once) and posts "EVENT_AOE_TRIGGERED" with the attacker.
    void setPhase(int phase);

    void cleanupBeforeDelete() override;
    /// Follows the attacker.
    void update(float dt) override;
    std::string viewClassName() override { return "KVAOEAttackV"; }
    bool isCameraTarget() override { return false; }
    /// About itself: marked removed; about its attacker: the attack is removed too.
    void onRemoveActor(kvengine::CCNotification* notification) override;

    int getPhase() const { return m_phase; }
    float getRadius() const { return m_radius; }
    bool isTriggered() const { return m_triggered; }
    KVPawn* getAttacker() const { return m_attacker; }
    /// The collected targets (the list itself); null after shutdown.
    kvengine::CCMutableArray<KVPawn*>* getTargets() const { return m_targets; }

private:
    void releaseReferences();

    KVPawn* m_attacker = nullptr;
    int m_phase = 0;
    float m_radius = 0.0f;
    kvengine::CCMutableArray<KVPawn*>* m_targets = nullptr;
    bool m_triggered = false;
};
