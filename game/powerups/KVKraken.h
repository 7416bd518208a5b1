#pragma once

#include "engine/base/CCNotification.h"
#include "game/world/KVActor.h"

/// The effect of the "mighty_kraken" consumable: after 1 s it starts its full-screen animation
/// ("EVENT_KRAKEN_EFFECT_TRIGGERED", "EVENT_KRAKEN_SOUND_TRIGGER"), 3.2 s later it strikes every
/// pawn of the side opposing the current pawn down to 1 hit point (action type 15), and when its
/// view says the animation is over ("EVENT_KRAKEN_ANIM_FINISHED") it goes idle and leaves.
///
/// The strike deals the target's Defense + hit points - 1, which the Defense brings down to
/// hit points - 1: a target at 1 hit point with some Defense takes the minimum damage of 1 and
/// dies, one without Defense is not hurt.
///
/// Ownership: no body; made by the consumable manager and kept by the game model from its
/// "EVENT_NEW_ACTOR" on. View "KVKrakenV".
class KVKraken : public KVActor {
public:
    CC_DECLARE_CLASS_NAME(KVKraken, KVActor)

    static constexpr float kEffectDelay = 1.0f;
    static constexpr float kStrikeDelay = 3.2f;
    enum Phase : int { kWaiting = 0, kAnimating = 1, kStruck = 2 };

    /// Deselects the current pawn, arms the first timer, posts "EVENT_NEW_ACTOR" and
    /// "EVENT_NOTIFY_IN_ACTION" with the kraken.
    bool init() override;
    void cleanupBeforeDelete() override;
    void update(float dt) override;
    std::string viewClassName() override { return "KVKrakenV"; }
    bool isCameraTarget() override { return false; }

    /// "EVENT_KRAKEN_ANIM_FINISHED": idle, then removed (once).
    virtual void onAnimFinished(kvengine::CCNotification* notification);

    int getPhase() const { return m_phase; }
    float getTimer() const { return m_timer; }

private:
    void strike();

    float m_timer = 0.0f;
    int m_phase = kWaiting;
    bool m_finished = false;
};
