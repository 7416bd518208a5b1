#pragma once

#include "engine/base/CCRetained.h"
#include <string>

#include "engine/base/CCMutableArray.h"
#include "game/views/KVPawnV.h"

class KVCoconutCrab;

/// The coconut-crab boss on screen: a skeleton of six sprites ("body", "head", "l_arm", "r_arm",
/// "l_claw", "r_claw", each in its own sheet "coconut_crab_<part>_ss", scale 4/3) that play the same
/// animation together, the swipe streak, the weak-point glow and, once the boss is dead, smoke puffs
/// every 0.3 s. The pawn view's own body, shadow and gauge stay hidden.
///
/// It is the boss's half of the attack protocol: it plays the quake, swipe and throw animations on
/// the controller's triggers, posts the throw's blow ("EVENT_COCONUT_CRAB_THROW_LEFT_ATTACK_TRIGGER"
/// or "..._RIGHT_...", object the boss) 1.2 s into the throw or at its end when it is shorter, and
/// the animation ends ("..._QUAKE_ANIM_END" only while the boss lives). The head's resting pose
/// follows the lost eyes and the mouth. The body drives the end of a move; a missing animation
/// ends at once, so no turn waits on it.
///
/// Frame names: "<part>_<animation>_NN.png" with the frame counts of the animation set
/// "coconut_crab". Random numbers (the puffs' places) come from kvengine::CCRandom.
class KVCoconutCrabV : public KVPawnV {
public:
    CC_DECLARE_CLASS_NAME(KVCoconutCrabV, KVPawnV)

    /// The skeleton's parts, in drawing order.
    static const char* const kParts[6];
    static constexpr float kPartScale = 4.0f / 3.0f;
    /// Seconds into a throw at which its blow comes.
    static constexpr float kThrowBlowSeconds = 1.2f;
    /// Seconds into a swipe at which the streak shows.
    static constexpr float kSwipeEffectSeconds = 0.9375f;
    static constexpr float kPuffSeconds = 0.3f;
    static constexpr int kPuffPool = 2;

    void cleanupBeforeDelete() override;
    void update(float dt) override;
    /// False when the base refuses (no pawn, no first frame) or the model is not the boss.
    bool initWithActor(KVActor* model, KVActorViewHost* host) override;
    void onRemoveActor(kvengine::CCNotification* notification) override;
    std::string getFirstFrameName() override { return "body_idle_01.png"; }
    std::string getAnimationSetName() override { return "coconut_crab"; }
    /// The boss body shows no gauge.
    void showHealthGauge(bool fadeIn) override { (void)fadeIn; }
    void playIdle() override;
    /// A new rest pose shows at once, or when the running attack ends.
    void restUnlessAttacking();

    virtual void onQuakeTrigger(kvengine::CCNotification* notification);
    virtual void onSwipeTrigger(kvengine::CCNotification* notification);
    virtual void onThrowLeftTrigger(kvengine::CCNotification* notification);
    virtual void onThrowRightTrigger(kvengine::CCNotification* notification);
    virtual void onDeadQuake(kvengine::CCNotification* notification);
    virtual void onDead(kvengine::CCNotification* notification);
    virtual void onKoRightEye(kvengine::CCNotification* notification);
    virtual void onKoLeftEye(kvengine::CCNotification* notification);
    virtual void onKoBothEyes(kvengine::CCNotification* notification);
    virtual void onActivateMouth(kvengine::CCNotification* notification);

    kvengine::CCSprite* getPartSprite(const std::string& part) const;
    AnimationDictionary* getPartAnimations(const std::string& part) const;
    kvengine::CCSprite* getSwipeEffect() const { return m_swipeEffect; }
    kvengine::CCSprite* getWeakPointGlow() const { return m_weakPoint; }
    int getThrowSide() const { return m_throwSide; }
    bool isDyingBoss() const { return m_dying; }
    int getDeathQuakeCount() const { return m_deathQuakes; }
    kvengine::CCMutableArray<kvengine::CCSprite*>* getPuffs() const { return m_puffs; }

private:
    KVCoconutCrab* boss() const;
    void runPartsAnimation(const char* animation, const char* skipped);
    void setHeadIdleAnimation(const char* pose);
    void startThrow(bool left);
    void postThrowBlow();
    void onQuakeAnimationDone();
    void onSwipeAnimationDone();
    void onThrowAnimationDone();
    void makePuff();

    kvengine::CCRetained<kvengine::CCMutableDictionary<std::string, AnimationDictionary*>> m_partAnimations;
    kvengine::CCRetained<kvengine::CCMutableDictionary<std::string, kvengine::CCSprite*>> m_partSprites;
    kvengine::CCRetained<kvengine::CCSprite> m_swipeEffect;
    kvengine::CCRetained<kvengine::CCAction> m_swipeAnimation;
    kvengine::CCRetained<kvengine::CCMutableArray<kvengine::CCSprite*>> m_puffs;
    kvengine::CCRetained<kvengine::CCSprite> m_weakPoint;
    kvengine::CCRetained<kvengine::CCAction> m_weakPointAnimation;
    int m_throwSide = 0;
    bool m_throwBlowPending = false;
    float m_throwBlowTimer = 0.0f;
    float m_swipeEffectTimer = 0.0f;
    bool m_dying = false;
    float m_puffTimer = 0.0f;
    int m_nextPuff = 0;
    int m_deathQuakes = 0;
    // A quake, swipe or throw is playing; its end brings the rest pose back.
    bool m_attacking = false;
};

/// The view of a boss eye: only the pawn view's gauge, hit-point label and damage figures; its
/// sprite and shadow stay hidden (the boss's head shows the eye). It has no animations, so a hit
/// ends at once.
class KVCoconutCrabEyeV : public KVPawnV {
public:
    CC_DECLARE_CLASS_NAME(KVCoconutCrabEyeV, KVPawnV)

    /// The pawn view's update, then hides the body and the shadow.
    void update(float dt) override;
    std::string getFirstFrameName() override { return "body_idle_01.png"; }
    std::string getAnimationSetName() override { return "kelvo"; }
    /// Nothing to run: only back to the idle state, so a hit (without animation) ends at once.
    void playIdle() override { m_state = kStateIdle; }
};

/// The view of the boss's mouth: as an eye's.
class KVCoconutCrabMouthV : public KVCoconutCrabEyeV {
public:
    CC_DECLARE_CLASS_NAME(KVCoconutCrabMouthV, KVCoconutCrabEyeV)
};
