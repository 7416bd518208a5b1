#pragma once

#include "engine/base/CCNotification.h"
#include "game/menu/KVLayer.h"

class KVHudLayer;

/// The pause overlay of a mission, laid over the HUD at z 2000: a dark backdrop, the mission
/// objective as its title and three buttons: Continue (resume), Restart (bank the pearls won and
/// load the mission again) and Quit (ask, then bank the pearls and go back to the world map).
///
/// Its construction posts "InGame - Pause", on which the game controller, the turn manager and the
/// solo score manager set their paused flags; only Continue clears them. While open it claims every
/// touch outside its buttons (targeted, priority -999). Escape or Space closes it as Continue does,
/// but only from 0.1 s after it opened, so that the key press that opened it cannot close it.
///
/// Children: backdrop (tag 1, z 1), title (tag 2, z 1000), Continue, Restart and Quit (`KVButton`
/// kind 23, tags 3, 4, 5, z 2) at (W/2, 3H/8 + H/6), (W/2, 3H/8) and (W/2, 3H/8 - H/6).
class KVPauseScene : public KVLayer {
public:
    CC_DECLARE_CLASS_NAME(KVPauseScene, KVLayer)

    enum Tag { kBackdropTag = 1, kTitleTag = 2, kContinueTag = 3, kRestartTag = 4, kQuitTag = 5 };
    static constexpr int kTouchPriority = -999;
    /// Seconds after opening before Escape and Space are listened to.
    static constexpr float kKeyDelay = 0.1f;
    /// Pop-up kind of the quit question and the loading-screen kinds of Restart and Quit.
    static constexpr int kQuitPopUpKind = 9;
    static constexpr int kReloadMissionKind = 2;
    static constexpr int kWorldMapKind = 3;

    /// Builds the overlay for `hud` (the host; may be null in which case Continue finds no game).
    explicit KVPauseScene(KVHudLayer* hud);
    void cleanupBeforeDelete() override;

    void onContinue(kvengine::CCObject* sender);
    void onRestart(kvengine::CCObject* sender);
    void onQuit(kvengine::CCObject* sender);
    /// The quit question's OK: played marks, pearls and usage banked, the world map's loading screen.
    virtual void onPopUpClosed(kvengine::CCNotification* notification);
    /// Escape or Space: Continue.
    virtual void onKeyPress(kvengine::CCNotification* notification);
    /// The quit question's Cancel: the screen takes its touches again.
    void onPopUpCancelled(kvengine::CCNotification* notification);
    void registerKeyObserver(float dt);

    void registerWithTouchDispatcher() override;
    /// Claims (and so swallows) every touch that does not start on one of the three buttons.
    bool touchBegan(kvengine::CCTouch* touch, kvengine::CCEvent* event) override;

    /// The pearls won in the mission go to the profile (doubled with a "pearlfish"), the
    /// consumables' usage is written back, the dialogue manager lets go of the mission's scene, and
    /// in a solo mission the chapter and mission are marked played and the profile saved.
    static void bankMission();

private:
    /// The quit question is open above the screen: the touches it lets through are its buttons'.
    bool m_asking = false;
};
