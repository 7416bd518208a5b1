#pragma once

#include "game/pawns/KVPawnController.h"

class KVKelvo;

/// The controller of a kelvo driven by the player: grab the kelvo, drag away from it to stretch
/// it like a slingshot, let go to launch it the opposite way; and the player's taps during a turn
/// (choosing a distance target, setting off an area attack, dashing in flight, tapping pawns).
///
/// Points are in metres. The stretch is eased (length L below 5 m becomes L^2 / 5), capped at
/// 3.28125 m, and with 25 stamina or less capped at 0.78125 + 2.5 x stamina / 25 m; the power is
/// (stretch - 0.78125) / 2.5, so a short pull has none and cancels. While the kelvo is pulled the
/// pointer is hidden; on release it reappears, as the pointing hand, where the pull began. The
/// pull state (pulling, stretch fraction, power) lives in the kelvo, where its view reads it.
///
/// Posted: "EVENT_PULL_START", "EVENT_PULL_NO_STAMINA", "EVENT_MISSED_PULL", "EVENT_PULL_RELEASE"
/// (kelvo), "EVENT_KELVO_LAUNCHED" (CCValue<float> power), "EVENT_ANCHOR_START" (an anchored
/// kelvo whose pull was cancelled), "EVENT_DASH", "EVENT_SIMPLE_TAP_ON_PAWN",
/// "EVENT_MISSED_DISTANCE_ATTACK", "EVENT_MISSED_AOE". Observed besides the base's:
/// "EVENT_NOTIFY_IN_ACTION" (the kelvo) and "InGame - Pause", both cancelling a pull.
///
/// Ownership: the kelvo pointer is the base's pawn, not retained again; cleared with it.
class KVPawnPlayerController : public KVPawnController {
public:
    CC_DECLARE_CLASS_NAME(KVPawnPlayerController, KVPawnController)

    /// Distance to the kelvo, metres, within which a touch grabs it.
    static constexpr float kGrabRadius = 1.25f;
    /// Pulls shorter than this are eased (metres).
    static constexpr float kEasingLength = 5.0f;
    /// Stretch, metres, below which a pull has no power (25 pixels).
    static constexpr float kDeadStretch = 0.78125f;
    /// Stretch, metres, per unit of power (80 pixels).
    static constexpr float kStretchPerPower = 2.5f;
    /// Share of Move Power given by a dash.
    static constexpr float kDashPowerFactor = 0.8f;

    /// The base's binding; the pawn must be a kelvo (otherwise logged, false).
    [[nodiscard]] bool initWithPawn(KVPawn* pawn) override;
    void onRemoveActor(kvengine::CCNotification* notification) override;
    void onGameShutdown(kvengine::CCNotification* notification) override;
    /// Cancels a pull under way (the kelvo was pushed, the pause opened, the touch was cancelled).
    virtual void onCancel(kvengine::CCNotification* notification);
    void cleanupBeforeDelete() override;

    /// Grabs the kelvo when (x, y) is within 1.25 m of it, it is not pulled already and it has
    /// stamina (none: "EVENT_PULL_NO_STAMINA", false). Hides the pointer, posts "EVENT_PULL_START"
    /// and follows the point at once.
    bool beginPull(float x, float y);
    /// Stretch toward (x, y): the kelvo turns to face away from it; the stretch fraction and power
    /// follow. Nothing unless pulling.
    void updatePull(float x, float y);
    /// Lets go: launches with the pull power and spends stamina, or cancels when the power is not
    /// above 0. The pointer comes back where the pull began. Nothing unless pulling.
    void releasePull();
    /// Ends the pull without a launch and without spending stamina ("EVENT_MISSED_PULL").
    void cancelPull();
    /// A tap at (x, y) during the player's turn (see the class comment).
    void onTap(float x, float y);

    KVKelvo* getKelvo() const { return m_kelvo; }
    /// The pointer position (client pixels) when the pull began.
    float getPullOriginX() const { return m_pullOriginX; }
    float getPullOriginY() const { return m_pullOriginY; }

private:
    void restorePointer();
    void tapWhileSelected(float x, float y);
    void tapInFlight(float x, float y);

    float m_pullOriginX = 0.0f;
    float m_pullOriginY = 0.0f;
    KVKelvo* m_kelvo = nullptr;
};
