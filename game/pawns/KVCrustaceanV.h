#pragma once

#include "engine/base/CCRetained.h"
#include "game/views/KVPawnV.h"

namespace kvengine {
class CCArray;
}

/// The view of a crustacean: the pawn view with the crustacean animations (frame counts under
/// the animation-set word "crustacean", or the subclass's), the wind-up ("impulse") before each
/// computer launch, the area-attack animation, the target marker spanning the pawn while the
/// player pulls, and the victory dance when the player's side loses.
///
/// The wind-up closes the computer's launch: "EVENT_AI_ANIM_IMPULSE_START" about the pawn -> the
/// "impulse" frames -> "EVENT_AI_ANIM_IMPULSE_END" (the AI controller launches on it) -> the
/// "launched" loop ("throw" frames). Without "impulse" frames the end is posted at once.
class KVCrustaceanV : public KVPawnV {
public:
    CC_DECLARE_CLASS_NAME(KVCrustaceanV, KVPawnV)

    /// The pawn view's initialisation, the animations, the five observers, then idle.
    bool initWithActor(KVActor* model, KVActorViewHost* host) override;
    std::string getAnimationSetName() override { return "crustacean"; }

    virtual void onAiAnimImpulseStart(kvengine::CCNotification* notification);
    virtual void onLooseDance(kvengine::CCNotification* notification);
    /// For a computer-driven pawn: runs "aoe" then idle, and posts "EVENT_AOE_ANIM_OVER" at once
    /// so the attack strikes while the animation plays.
    virtual void onAoeAnimStart(kvengine::CCNotification* notification);
    /// The marker spans the pawn (2 x Radius over its width) while the player pulls.
    virtual void onPullStart(kvengine::CCNotification* notification);
    virtual void onPullRelease(kvengine::CCNotification* notification);

    void onImpulseAnimationDone();
};

class KVCrabV : public KVCrustaceanV {
public:
    CC_DECLARE_CLASS_NAME(KVCrabV, KVCrustaceanV)
    std::string getAnimationSetName() override { return "crab"; }
};

class KVShrimpV : public KVCrustaceanV {
public:
    CC_DECLARE_CLASS_NAME(KVShrimpV, KVCrustaceanV)
    std::string getAnimationSetName() override { return "shrimp"; }
};

/// The hermit crab's view adds the distance attack: "attack" frames 1..b (the count
/// "attack_begin") before the shot, b+1..b+e ("attack_end") after it.
class KVHermitV : public KVCrustaceanV {
public:
    CC_DECLARE_CLASS_NAME(KVHermitV, KVCrustaceanV)

    void cleanupBeforeDelete() override;
    bool initWithActor(KVActor* model, KVActorViewHost* host) override;
    std::string getAnimationSetName() override { return "hermit"; }

    /// Only the hermit whose turn runs acts: the payload (the target's x and y in metres, two
    /// "%f" texts) is kept, and the beginning of the attack runs before the shot.
    virtual void onDistanceAttackAnimStart(kvengine::CCNotification* notification);
    /// Launches a KVDistanceAttackProjectile from the pawn towards the payload's point, posts
    /// "EVENT_DISTANCE_ATTACK_TRIGGERED" (pawn), runs the end of the attack then idle, lets
    /// the payload go and posts "EVENT_NOTIFY_IDLE" (pawn).
    virtual void fireDistanceAttack();

    /// The shot's target read from the last payload, metres.
    float getShotX() const { return m_shotX; }
    float getShotY() const { return m_shotY; }

private:
    kvengine::CCRetained<kvengine::CCArray> m_payload;
    float m_shotX = 0.0f;
    float m_shotY = 0.0f;
};
