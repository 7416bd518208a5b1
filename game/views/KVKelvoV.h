#pragma once

#include "engine/base/CCRetained.h"
#include <initializer_list>

#include "engine/base/CCMutableArray.h"
#include "game/views/KVPawnV.h"

namespace kvengine {
class CCArray;
}
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
/// Attacks and power-ups (KVKelvoVEffects.cpp): the area attack strikes ("EVENT_AOE_ANIM_OVER")
/// at its impact frame 30, or at the end of "aoe" when the strip is shorter; the distance attack
/// aims one of eight sectors and fires the projectile at the end of its shoot frames; the spiky
/// shell drops onto the kelvo and encloses it (the pawn is protected and its "Radius" doubled while
/// it is on); the ninja log blinks where the kelvo vanished; a picked-up power-up's icon blinks
/// above it, and a sushi turns the stamina bubbles red until its "EVENT_END_OF_SUSHI".
///
/// Frame counts come from the "kelvo" animation set. Sheets: bubbles in "low_sfx_88_ss" (z 100),
/// the spiky-shell overlay and the ninja log in "low_sfx_51_ss" (z 100 and 10), the dirt puff and
/// the power-up icon in "top_sfx_51_ss" (z 0 and 20), the helmet in the helmet's own sheet.
class KVKelvoV : public KVPawnV {
public:
    CC_DECLARE_CLASS_NAME(KVKelvoV, KVPawnV)

    static constexpr int kBubbleCount = 12;
    /// Updates at exactly full pull before the stretch-idle animation plays.
    static constexpr int kFullPullUpdates = 100;
    /// Idle frames off its own turn before the creature may fidget (strictly more).
    static constexpr int kFidgetWait = 300;
    /// The area-attack strip's impact frame.
    static constexpr int kAoeImpactFrame = 30;
    /// Updates a spiky-shell blink lasts.
    static constexpr int kShellBlinkUpdates = 20;

    /// The sector of an aim direction, 0 to 7 from up-left clockwise (0 up-left, 1 up, 2 up-right,
    /// 3 right, 4 down-right, 5 down, 6 down-left, 7 left). The borders are the lines of slope 1/2
    /// and 2, so the axis sectors are wider than the diagonal ones; the line y = -x/2 itself
    /// belongs to the lower half.
    static int aimSector(float x, float y);

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
    /// Only while the kelvo's own turn runs: keeps the target (a CCArray of two "%f" texts, metres)
    /// and plays the aim and the shoot frames of the sector towards it, then fires.
    virtual void onDistanceAttackAnimStart(kvengine::CCNotification* notification);
    /// The shell drops from the top of the window in 0.5 s, turning twice; busy until its dust has
    /// settled.
    virtual void onSpikyShellEquip(kvengine::CCNotification* notification);
    virtual void onSpikyShellUnequip(kvengine::CCNotification* notification);
    virtual void onSpikyShellSpike(kvengine::CCNotification* notification);
    virtual void onNinjaLogFx(kvengine::CCNotification* notification);
    virtual void onPowerupPickedUp(kvengine::CCNotification* notification);
    /// Observed only while a sushi's red bubbles show; another pawn's sushi leaves them.
    virtual void onEndOfSushi(kvengine::CCNotification* notification);
    /// A kelvo that falls inside its shell falls as itself.
    void onPawnFall(kvengine::CCNotification* notification) override;
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
    /// After an attack's last frames: the anchor pose for an anchored kelvo, else idle.
    void onAttackEnd();
    void fireDistanceAttack();
    void activateSpikyShell();
    void onDirtPuffEnd();
    void removeNinjaLog();
    void removePowerupIcon();

    KVKelvo* getKelvo() const;
    kvengine::CCMutableArray<kvengine::CCSprite*>* getBubbles() const { return m_bubbles; }
    int getShownBubbleCount() const;
    int getStretchFrame() const { return m_stretchFrame; }
    int getFullPullCounter() const { return m_fullPullCounter; }
    int getWaitCounter() const { return m_waitCounter; }
    int getBlinkCounter() const { return m_blinkCounter; }
    kvengine::CCSprite* getSpikyShell() const { return m_spikyShell; }
    kvengine::CCSprite* getDirtPuff() const { return m_dirtPuff; }
    kvengine::CCSprite* getNinjaLog() const { return m_ninjaLog; }
    kvengine::CCSprite* getPowerupIcon() const { return m_powerupIcon; }
    /// The sector of the last distance attack.
    int getAimSector() const { return m_aimSector; }
    /// The area attack is under way and has not struck yet.
    bool isAoeStrikePending() const { return m_aoeOverOwed; }
    /// The release animation's first frame number of the last player release (2, or 1 from
    /// stretch frame 8).
    int getReleaseFirstFrame() const { return m_releaseFirstFrame; }

private:
    void buildAnimations(bool helmetVisible);
    void buildAttackAnimations(bool helmetVisible);
    /// The per-update part of the attacks and power-ups: the impact frame, the shell and the icon.
    void updateEffects();
    /// Runs the stored animations `keys` one after another on `target`, then `followUp`.
    void runAnimationChain(kvengine::CCNode* target, AnimationDictionary* animations,
                           std::initializer_list<const char*> keys, kvengine::SEL_CallFunc followUp);
    void showBubbleFrame(const char* frame);
    /// The x and y texts of a distance-attack target; false when the payload lacks them.
    static bool readTarget(kvengine::CCArray* payload, float* x, float* y);
    /// The frame to show for `plain` ("<sprite>_stretch_NN.png", ...), or its blink frame during
    /// a blink; steps the blink counter.
    std::string blinkOr(const std::string& plain, const std::string& blink);
    void showFrame(kvengine::CCSprite* sprite, const std::string& name);
    void stopBodyAndHelmet();
    std::string spriteName() const;
    std::string helmetName() const;

    kvengine::CCRetained<kvengine::CCSprite> m_spikyShell;
    kvengine::CCRetained<kvengine::CCSprite> m_dirtPuff;
    kvengine::CCRetained<kvengine::CCSprite> m_helmet;
    kvengine::CCRetained<kvengine::CCMutableArray<kvengine::CCSprite*>> m_bubbles;
    kvengine::CCRetained<kvengine::CCSprite> m_ninjaLog;
    kvengine::CCRetained<kvengine::CCSprite> m_powerupIcon;
    kvengine::CCRetained<kvengine::CCArray> m_distanceTarget;
    int m_aimSector = 0;
    int m_shellBlinkCounter = 0;
    bool m_shellOn = false;
    bool m_sushiWatched = false;
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
