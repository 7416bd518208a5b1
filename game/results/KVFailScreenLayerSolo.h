#pragma once

#include "engine/base/CCMutableArray.h"
#include "engine/base/CCRetained.h"
#include "engine/base/CCString.h"
#include "engine/input/CCGestureRecognizer.h"
#include "game/menu/KVLayer.h"

namespace kvengine {
class CCNotification;
class CCTapGestureRecognizer;
class CCView;
} // namespace kvengine
class KVGameModel;

/// The screen laid over a lost solo mission.
///
/// Made, it marks the mission and its chapter played (saved) and posts "EVENT_GAME_PLAYER_LOSE";
/// the first time it joins the stage it banks the pearls scored in the match (doubled with a
/// "pearlfish"; added to the profile, saved by the next save) and gives back the consumables used
/// in the match. Then a vignette fades in over the game (0.5 s delay, 1.0 s fade), five ooze
/// splats pop one after another from 1.5 s, a tenth of a second apart, the defeat sign at 2.0 s,
/// and ooze creeps into the four corners; the reveal ends at 2.3 s. While the mission has never
/// been completed, its "defeat_messages" then open one by one as item pop-ups (kind 8). The next
/// tap closes the game in black and lifts the splats and the sign, and Restart, Team and Shop
/// appear, each leaving through a loading screen (kinds 2, 4, 5).
///
/// Children (tag, z): vignette (0, 0), ooze corners (1 to 4, 2), black panels (11 and 12, 3),
/// splats (5 to 9, 4), defeat sign (10, 5), buttons and pearl counter (z 10). Taps come through
/// a full-window overlay view, taken away while the pop-ups are open and for good once the close
/// has begun; the layer itself claims no touch.
class KVFailScreenLayerSolo : public KVLayer {
public:
    CC_DECLARE_CLASS_NAME(KVFailScreenLayerSolo, KVLayer)

    enum Tag {
        kVignetteTag = 0,
        kFirstCornerTag = 1,
        kFirstSplatTag = 5,
        kSignTag = 10,
        kVerticalPanelTag = 11,
        kSidePanelTag = 12,
        kRestartTag = 30,
        kTeamTag = 31,
        kShopTag = 32,
        kPearlCounterTag = 33,
    };
    static constexpr int kCorners = 4;
    static constexpr int kSplats = 5;
    /// Seconds: the vignette's delay and fade, one splat's pop, the sign's swell and settle.
    static constexpr float kVignetteDelay = 0.5f;
    static constexpr float kVignetteFade = 1.0f;
    static constexpr float kPopSeconds = 0.1f;
    static constexpr float kSignSwellSeconds = 0.2f;
    /// Seconds of the corners' creep, of the close to black and of the lift-up.
    static constexpr float kCreepSeconds = 1.0f;
    static constexpr float kCloseSeconds = 0.8f;
    static constexpr float kLiftSeconds = 0.5f;

    /// A new screen over the lost match, autoreleased. The gameplay scene adds it at z 1100.
    static KVFailScreenLayerSolo* create(KVGameModel* model);
    explicit KVFailScreenLayerSolo(KVGameModel* model);
    void cleanupBeforeDelete() override;

    /// The overlay's tap: skips the reveal, or closes the screen once it is over.
    virtual void onTap(kvengine::CCGestureRecognizer* recognizer, kvengine::CCNode* node);
    /// Opens the next defeat message, or gives the taps back to the overlay when none is left;
    /// observer of "EVENT_POP_UP_CLOSED".
    virtual void showNextDefeatMessage(kvengine::CCNotification* notification = nullptr);

    /// Pays the match's pearls and the consumable refund, the first time only.
    void onEnter() override;
    void onExit() override;
    void registerWithTouchDispatcher() override;
    bool touchBegan(kvengine::CCTouch* touch, kvengine::CCEvent* event) override;

    /// The next splat, or the sign after the fifth.
    void revealStep();
    void onRevealDone();
    /// Everything of the reveal in its final state at once.
    void skipReveal();
    /// Black panels close over the game, the corners shrink to the centre, then the lift-up.
    void close();
    void liftUp();
    void showButtons();

    void onRestart(kvengine::CCObject* sender);
    void onTeam(kvengine::CCObject* sender);
    void onShop(kvengine::CCObject* sender);

    bool isDone() const { return m_done; }
    bool isClosing() const { return m_closing; }
    bool hasPaid() const { return m_paid; }
    int getRevealStep() const { return m_revealStep; }
    /// The pearls banked (0 until paid).
    int getPearlsPaid() const { return m_pearlsPaid; }
    kvengine::CCView* getOverlay() const { return m_overlay; }
    /// The messages still to show; null when the mission was completed before.
    kvengine::CCMutableArray<kvengine::CCString*>* getDefeatMessages() const { return m_defeatMessages; }
    float getWidth() const { return m_width; }
    float getHeight() const { return m_height; }

private:
    void payOnce();
    void discardNode(kvengine::CCNode* node);
    /// Where corner `index` (0 to 3) rests once it has crept in.
    kvengine::CCPoint cornerRest(int index) const;
    void stretchVignette();

    kvengine::CCRetained<KVGameModel> m_gameModel;
    kvengine::CCRetained<kvengine::CCMutableArray<kvengine::CCString*>> m_defeatMessages;
    kvengine::CCRetained<kvengine::CCView> m_overlay;
    bool m_done = false;
    int m_revealStep = 0;
    kvengine::CCTapGestureRecognizer* m_tapRecognizer = nullptr;
    bool m_paid = false;
    bool m_closing = false;
    bool m_observingPopUps = false;
    bool m_buttonsShown = false;
    int m_pearlsPaid = 0;
    float m_width = 0.0f;
    float m_height = 0.0f;
    float m_cornerWidth = 0.0f;
    float m_cornerHeight = 0.0f;
};
