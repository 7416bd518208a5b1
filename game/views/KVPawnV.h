#pragma once

#include "engine/base/CCRetained.h"
#include <string>

#include "engine/actions/CCCallFunc.h"
#include "engine/base/CCMutableDictionary.h"
#include "engine/base/CCString.h"
#include "game/world/KVActorV.h"

namespace kvengine {
class CCAction;
class CCLabelTTF;
class CCSprite;
} // namespace kvengine

class KVPawn;
class KVPawnDamageFeedback;

/// The on-screen pawn: the animated body with its drop shadow, the turn circle under the pawn
/// whose turn it is, the pulsing target marker, the small health gauge with its hit-point label,
/// the spawn flash, the floating damage figures and the animation states (idle, launched, hit,
/// knock-out, fall, victory). Base of the creature, crustacean and boss views, which fill the
/// animation dictionary ("idle" stored ready to run forever, "launched", "hit"; optional "ko",
/// "fall", "victory").
///
/// Drawing places: turn circle and target marker in "low_sfx_88_ss" (z 100, 150), body and shadow
/// in the pawn's own sheet (z 0, -5), gauge fill and stroke in "top_sfx_51_ss" (z 1000, 999), the
/// spawn flash there at z 150; the HP label (z 1000), its bubble and the damage figures (z 999) in
/// the host's own node.
///
/// Death: "EVENT_DEAD_PAWN" -> state 5 -> once the pawn is upright and at most 1.0 m/s, the
/// knock-out (state 6) -> "EVENT_BEGIN_PUFF" -> the puff's "EVENT_MIDDLE_PUFF" -> "EVENT_NOTIFY_IDLE"
/// (view) and "EVENT_DEAD_PAWN_READY" (pawn). A fall: "EVENT_PAWN_FALL" -> state 7 -> 8 (spin,
/// shrink, fade) -> "EVENT_DEAD_PAWN_READY". A missing animation plays nothing and its follow-up
/// happens at once, so no turn ever waits on it.
class KVPawnV : public KVActorV {
public:
    CC_DECLARE_CLASS_NAME(KVPawnV, KVActorV)

    using AnimationDictionary = kvengine::CCMutableDictionary<std::string, kvengine::CCAction*>;

    /// Animation states; the creature view adds its own (1, 2, 3, 9 to 12, 14).
    enum State {
        kStateIdle = -1,
        kStateLaunched = 0,
        kStateStretchIdle = 1,
        kStateFidget = 2,
        kStatePose = 3,
        kStateVictory = 4,
        kStateKoRequested = 5,
        kStateKoPlaying = 6,
        kStateFallRequested = 7,
        kStateFalling = 8,
        kStateAnchor = 9,
        kStateAnchoredIdle = 10,
        kStateAttack = 11,
        kStateStretching = 12,
        kStateHit = 13,
        kStateRelease = 14,
    };

    /// Seconds idle on its own turn after which "EVENT_INACTIVITY" is posted (strictly more).
    static constexpr float kInactivitySeconds = 4.0f;

    void cleanupBeforeDelete() override;
    /// The model must be a pawn whose first frame exists (else logged, false). Builds every part,
    /// the spawn flash when the host asks for it, and observes the pawn notifications.
    bool initWithActor(KVActor* model, KVActorViewHost* host) override;
    /// Takes every part off the screen, then leaves the host's list.
    void onRemoveActor(kvengine::CCNotification* notification) override;
    void update(float dt) override;

    // ---- Notification handlers (unfiltered ones ignore other pawns) ----
    virtual void onKelvoHighlightOn(kvengine::CCNotification* notification);
    virtual void onKelvoHighlightOff(kvengine::CCNotification* notification);
    /// A damage or heal on this pawn, or its own action of type 5 or 6: the gauge shows for 2 s.
    virtual void onAction(kvengine::CCNotification* notification);
    /// Shows "On touched pawn" (HP / max HP) over a tapped pawn for 2 s, and the gauge.
    virtual void onSimpleTapOnPawn(kvengine::CCNotification* notification);
    virtual void onPawnFall(kvengine::CCNotification* notification);
    virtual void onDeadPawn(kvengine::CCNotification* notification);
    virtual void onMiddlePuff(kvengine::CCNotification* notification);
    /// Plays "hit" ten times, then onHitFinished; nothing while the pawn is dying (states 5 to 8).
    virtual void onPawnTakeDamage(kvengine::CCNotification* notification);
    virtual void onInactivity(kvengine::CCNotification* notification);
    virtual void onActivity(kvengine::CCNotification* notification);
    virtual void onMakePawnInvisible(kvengine::CCNotification* notification);
    virtual void onMakePawnVisible(kvengine::CCNotification* notification);

    // ---- What subclasses choose ----
    /// "<sprite>_idle_01.png".
    virtual std::string getFirstFrameName();
    /// The pawn's sheet name (not retained; null without one).
    virtual kvengine::CCString* getSpriteSheetName();
    /// Key of the frame counts in the "animSettings" table.
    virtual std::string getAnimationSetName() { return "pawn"; }
    /// The second layer drawn over the body in step with it (the creature's helmet); none here.
    virtual kvengine::CCSprite* getHelmetSprite() const { return nullptr; }

    // ---- Animation ----
    /// Gauge and stroke shown: faded in over 1 s and kept (inactivity), or shown for 2 s and faded
    /// out over 0.4 s. Nothing while the gauge is pinned.
    virtual void showHealthGauge(bool fadeIn);
    /// Stops the body's actions, state -1, runs "idle".
    virtual void playIdle();
    /// Runs "launched" forever, state 0.
    virtual void playLaunched();
    /// End of a hit: back to idle.
    virtual void onHitFinished();
    /// Shows or hides the body and the shadow.
    virtual void setPartsVisible(bool visible);

    void refreshHealthGauge();
    void hideHealthDisplay();
    void onKoFinished();
    void onFallFinished();
    void playSpawnEffect();
    void hideSpawnSprite();

    // ---- State, for the subclasses and the tests ----
    KVPawn* getPawn() const;
    int getState() const { return m_state; }
    void setState(int state) { m_state = state; }
    /// True in the states that belong to the knock-out and the fall (5 to 8).
    bool isDying() const { return m_state >= kStateKoRequested && m_state <= kStateFalling; }
    float getHPRatio() const { return m_hpRatio; }
    bool isGaugePinned() const { return m_gaugePinned; }
    bool isGaugeShown() const { return m_gaugeShown; }
    bool isHighlighted() const { return m_highlighted; }
    bool isKoPending() const { return m_koPending; }
    bool isVictoryPending() const { return m_victoryPending; }
    void setVictoryPending(bool pending) { m_victoryPending = pending; }
    float getSpawnTimer() const { return m_spawnTimer; }
    float getInactivityTimer() const { return m_inactivityTimer; }
    AnimationDictionary* getAnimations() const { return m_animations; }
    AnimationDictionary* getSecondAnimations() const { return m_secondAnimations; }
    kvengine::CCSprite* getBodySprite() const;
    kvengine::CCSprite* getShadow() const { return m_shadow; }
    kvengine::CCSprite* getTurnCircle() const { return m_turnCircle; }
    kvengine::CCSprite* getTargetMarker() const { return m_targetMarker; }
    kvengine::CCSprite* getGaugeFill() const { return m_gaugeFill; }
    kvengine::CCSprite* getGaugeStroke() const { return m_gaugeStroke; }
    kvengine::CCSprite* getSpawnSprite() const { return m_spawnSprite; }
    kvengine::CCSprite* getHPBubble() const { return m_hpBubble; }
    kvengine::CCLabelTTF* getHPLabel() const { return m_hpLabel; }
    KVPawnDamageFeedback* getDamageFeedback() const { return m_damageFeedback; }
    float getMarkerBaseScale() const { return m_markerBaseScale; }
    void setMarkerBaseScale(float scale) { m_markerBaseScale = scale; }

    /// Runs the dictionary entry `key` on `target`: `times` 0 forever (an entry stored to repeat
    /// runs as stored), 1 once, more repeated; then `followUp` (may be null). A missing or empty
    /// entry runs nothing and calls `followUp` at once. Answers whether something runs.
    bool runAnimation(kvengine::CCNode* target, AnimationDictionary* animations, const char* key,
                      unsigned times, kvengine::SEL_CallFunc followUp);
    /// True when the entry exists (entries are stored only with frames).
    static bool hasAnimation(AnimationDictionary* animations, const char* key);
    /// Stores the frame animation "<sprite>_<word>_NN.png", first..last, under `key`; `forever`
    /// stores it wrapped to repeat forever. Without any of its frames nothing is stored (logged)
    /// and the answer is false.
    static bool storeFrameAnimation(AnimationDictionary* animations, const char* key,
                                    const std::string& sprite, const char* word, int first, int last,
                                    float delay, bool forever = false);
    /// The frame count of `key` in this view's animation set.
    int animationCount(const char* key);
    /// A sprite of `frame`, or (logged) an empty sprite when the frame is missing, so optional
    /// parts never leave a hole in the code paths.
    static kvengine::CCSprite* spriteOfFrame(const char* frame);
    /// Adds `node` to the host's sheet `sheet` at z; logged when the host has no such sheet.
    void addToSheet(kvengine::CCNode* node, const char* sheet, int z);
    /// Adds `node` to the host's own node at z (and tag); logged without one.
    void addToLayer(kvengine::CCNode* node, int z, int tag = -1);

protected:
    /// Unfiltered handlers: true when the notification's object is this view's pawn.
    bool isAboutModel(kvengine::CCNotification* notification) const;
    void post(kvengine::CCString* name, kvengine::CCObject* object);
    /// Whether the pawn stands upright (its controller's answer; without one, its angle).
    bool isModelUpright() const;
    static void detach(kvengine::CCNode* node);

    kvengine::CCRetained<kvengine::CCSprite> m_turnCircle;
    kvengine::CCRetained<kvengine::CCSprite> m_targetMarker;
    kvengine::CCRetained<kvengine::CCSprite> m_shadow;
    kvengine::CCRetained<kvengine::CCSprite> m_spawnSprite;
    bool m_highlighted = false;
    float m_markerBaseScale = 0.0f;
    bool m_gaugePinned = false;
    bool m_gaugeShown = false;
    bool m_inactivityPosted = false;
    kvengine::CCRetained<kvengine::CCLabelTTF> m_hpLabel;
    kvengine::CCRetained<kvengine::CCSprite> m_hpBubble;
    kvengine::CCRetained<kvengine::CCSprite> m_gaugeFill;
    kvengine::CCRetained<kvengine::CCSprite> m_gaugeStroke;
    kvengine::CCRetained<AnimationDictionary> m_animations;
    kvengine::CCRetained<AnimationDictionary> m_secondAnimations;
    bool m_creatureFlag = false;
    int m_state = kStateIdle;
    float m_inactivityTimer = 0.0f;
    bool m_koPending = false;
    bool m_victoryPending = false;
    float m_spawnTimer = 0.0f;
    float m_hpRatio = 1.0f;
    kvengine::CCRetained<KVPawnDamageFeedback> m_damageFeedback;

private:
    void stepAnimationState();
    void placeHealthDisplay();
    void setSpawnSprite(kvengine::CCSprite* sprite);
};
