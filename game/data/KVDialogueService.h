#pragma once

#include <string>

#include "game/world/KVConnectedService.h"

/// The dialogues as the floors below the dialogue manager use them: the tutorial steps of the player
/// profile show a dialogue over the running screen, wait while another one runs and clean up when
/// it ends; the turn manager waits for a running dialogue.
///
/// The dialogue manager lives a few floors up; those floors reach it only through this interface,
/// and the application installs where the shared one comes from (kvConnectGameServices).
class KVDialogueService : public KVConnectedService<KVDialogueService> {
public:
    static constexpr const char* kServiceName = "dialogue manager";

    virtual ~KVDialogueService() = default;

    /// True while a dialogue is shown.
    virtual bool isChatterRunning() const = 0;
    /// True while a dialogue is shown over a running mission.
    virtual bool isRunningInGameplay() const { return false; }
    /// True for a moment after a dialogue ended, while touches are still refused.
    virtual bool isInputCooldown() const { return false; }
    /// The mission's frame work, after the rules: runs out the moment of refused touches that
    /// follows a dialogue.
    virtual void updateInMission(float dt) { (void)dt; }
    /// Dims the running scene under a tutorial dialogue; hideDimmer removes the dimmer again.
    virtual void showDimmer() = 0;
    virtual void hideDimmer() = 0;
    /// Makes the running scene the one over which the next dialogue is shown.
    virtual void setHostSceneToRunningScene() = 0;
    /// Loads the named dialogue; startChatter shows it (the end is announced with EVENT_END_SPEECH).
    virtual void loadChatter(const std::string& chatterName) = 0;
    virtual void startChatter() = 0;
    /// Ends the running dialogue (its EVENT_END_SPEECH is posted).
    virtual void endChatter() = 0;
    /// Marks the dialogue as started from the shop screen.
    virtual void setShopFlag(bool fromShop) = 0;
    /// Drops the portrait sprite sheets of the dialogues.
    virtual void unloadPortraitSheets() = 0;
};
