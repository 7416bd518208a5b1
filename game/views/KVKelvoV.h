#pragma once

#include "engine/base/CCMutableArray.h"
#include "game/views/KVPawnV.h"

class KVKelvo;

/// The view of a kelvo: the pawn view with what makes the slingshot readable. The stretch frames
/// follow the pull ("<sprite>_stretch_NN.png", blinking now and then), the release plays after it,
/// twelve stamina bubbles ring the pawn whose turn it is (the stamina that would remain after the
/// pull while pulling), the worn helmet is drawn over the body in step with it, and the creature
/// fidgets when idle off its turn, poses when it finds the hidden star and holds its anchor pose.
///
/// A computer-driven kelvo closes its launch like a crustacean: "EVENT_AI_ANIM_IMPULSE_START" ->
/// the stretch frames -> "EVENT_AI_ANIM_IMPULSE_END" (the AI launches on it) and the release.
///
/// Frame counts come from the "kelvo" animation set. Sheets: bubbles in "low_sfx_88_ss" (z 100),
/// the spiky-shell overlay in "low_sfx_51_ss" (z 100), the dirt puff in "top_sfx_51_ss", the
/// helmet in the helmet's own sheet.
class KVKelvoV : public KVPawnV {
public:
    CC_DECLARE_CLASS_NAME(KVKelvoV, KVPawnV)

    static constexpr int kBubbleCount = 12;
    /// Updates at exactly full pull before the stretch-idle animation plays.
    static constexpr int kFullPullUpdates = 100;
    /// Idle frames off its own turn before the creature may fidget (strictly more).
    static constexpr int kFidgetWait = 300;

    void cleanupBeforeDelete() override;
    /// The model must be a kelvo (else logged, false).
    bool initWithActor(KVActor* model, KVActorViewHost* host) override;
    void update(float dt) override;
    void onRemoveActor(kvengine::CCNotification* notification) override;
    std::string getFirstFrameName() override;
    std::string getAnimationSetName() override { return "kelvo"; }
    kvengine::CCSprite* getHelmetSprite() const override { return m_helmet; }
    /// Idle, or the held anchor frame for an anchored kelvo; posts the owed "EVENT_NOTIFY_IDLE".
    void playIdle() override;
    /// Only after the release (state 14): the launched loop, the helmet's too.
    void playLaunched() override;
    void onHitFinished() override;
    /// Helmet, body and shadow.
    void setPartsVisible(bool visible) override;

    virtual void playAiRelease();
    virtual void onKelvoBlinks(kvengine::CCNotification* notification);
    virtual void onAiAnimImpulseStart(kvengine::CCNotification* notification);
    virtual void onPullStart(kvengine::CCNotification* notification);
    virtual void onPullRelease(kvengine::CCNotification* notification);
    /// A heal of this kelvo plays "hit_healed" ten times.
    void onAction(kvengine::CCNotification* notification) override;
    /// Runs "aoe", posts "EVENT_AOE_ANIM_OVER" (the attack strikes on it) at its end, or at once
    /// without the frames, then "aoeEnd" and idle.
    virtual void onAoeAnimStart(kvengine::CCNotification* notification);
    virtual void onHiddenStarFound(kvengine::CCNotification* notification);
    virtual void onVictoryDance(kvengine::CCNotification* notification);
    virtual void onLooseDance(kvengine::CCNotification* notification);
    virtual void onAnchorStart(kvengine::CCNotification* notification);

    void updateStretch();
    /// Shows ceil(12 x floor(maxSP x ratio) / maxSP) bubbles (at most 12) around the body, the
    /// first 30 degrees left of the top, filling anticlockwise; stores the count in the pawn.
    void showStaminaBubbles(float ratio);
    void hideStaminaBubbles();
    void onStretchIdleEnd();
    void onPoseEnd();
    void onBlinkEnd();
    void onAoeAnimEnd();

    KVKelvo* getKelvo() const;
    kvengine::CCMutableArray<kvengine::CCSprite*>* getBubbles() const { return m_bubbles; }
    int getShownBubbleCount() const;
    int getStretchFrame() const { return m_stretchFrame; }
    int getFullPullCounter() const { return m_fullPullCounter; }
    int getWaitCounter() const { return m_waitCounter; }
    int getBlinkCounter() const { return m_blinkCounter; }
    kvengine::CCSprite* getSpikyShell() const { return m_spikyShell; }
    kvengine::CCSprite* getDirtPuff() const { return m_dirtPuff; }
    /// The release animation's first frame number of the last player release (2, or 1 from
    /// stretch frame 8).
    int getReleaseFirstFrame() const { return m_releaseFirstFrame; }

private:
    void buildAnimations(bool helmetVisible);
    /// The frame to show for `plain` ("<sprite>_stretch_NN.png", ...), or its blink frame during
    /// a blink; steps the blink counter.
    std::string blinkOr(const std::string& plain, const std::string& blink);
    void showFrame(kvengine::CCSprite* sprite, const std::string& name);
    void stopBodyAndHelmet();
    std::string spriteName() const;
    std::string helmetName() const;

    kvengine::CCSprite* m_spikyShell = nullptr;
    kvengine::CCSprite* m_dirtPuff = nullptr;
    kvengine::CCSprite* m_helmet = nullptr;
    kvengine::CCMutableArray<kvengine::CCSprite*>* m_bubbles = nullptr;
    bool m_starPosePending = false;
    bool m_idleOwed = false;
    bool m_aoeOverOwed = false;
    int m_stretchFrame = 0;
    int m_fullPullCounter = 0;
    int m_waitCounter = 0;
    int m_blinkCounter = 0;
    int m_pullTenths = 0;
    int m_announcedTenths = 0;
    int m_releaseFirstFrame = 0;
};
