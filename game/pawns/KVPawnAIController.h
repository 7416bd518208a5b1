#pragma once

#include "engine/base/CCGeometry.h"
#include "engine/base/CCRetained.h"
#include "game/pawns/KVPawnController.h"

class KVAIBrain;

/// The controller of a computer-driven pawn (enemy crustaceans, computer-driven kelvos). It owns a
/// KVAIBrain that decides once per move; a launch it asks for is not immediate: the pawn first
/// turns toward the way wanted, then its view plays the wind-up ("EVENT_AI_ANIM_IMPULSE_START"
/// with the pawn) and answers "EVENT_AI_ANIM_IMPULSE_END", upon which the impulse is applied
/// through the same launch as the player's.
///
/// Launch states: 0 none, 1 requested (turning), 2 wind-up running. While a launch is under way
/// the controller is busy for the turn manager ("EVENT_NOTIFY_IN_ACTION" / "EVENT_NOTIFY_IDLE"
/// with the controller).
///
/// Ownership: retains the brain (which retains the controller back); the controller lets it go
/// when its pawn leaves (the brain then asks for its own removal) or the game shuts down.
class KVPawnAIController : public KVPawnController {
public:
    CC_DECLARE_CLASS_NAME(KVPawnAIController, KVPawnController)

    enum LaunchState { kLaunchNone = 0, kLaunchTurning = 1, kLaunchWindUp = 2 };

    /// Reach of a full launch is Move Power x this / (mass x 2.2) metres.
    static constexpr float kLaunchEfficiency = 0.94f;

    /// The base's binding; makes the brain and observes "EVENT_AI_ANIM_IMPULSE_END" (the pawn).
    [[nodiscard]] bool initWithPawn(KVPawn* pawn) override;
    /// The brain's decision in test mode: moves nothing, posts nothing.
    bool canAct() override;
    void onRemoveActor(kvengine::CCNotification* notification) override;
    void onGameShutdown(kvengine::CCNotification* notification) override;
    /// End of the wind-up: launch with the requested power, spend stamina, post
    /// "EVENT_NOTIFY_IDLE" with the controller. Ignored (logged) when no launch was asked for.
    virtual void performLaunch(kvengine::CCNotification* notification);

    /// The base's frame; then a requested launch whose turn is over starts the wind-up.
    void update(float dt) override;
    void cleanupBeforeDelete() override;

    /// Deselects the pawn, posts "EVENT_NOTIFY_IN_ACTION" with the controller and turns the pawn
    /// so that its launch axis points along (dx, dy); the wind-up follows.
    virtual void requestLaunch(float power, float dx, float dy);
    /// requestLaunch(1, point - pawn position).
    void requestLaunchToward(float x, float y);
    /// A way to reach `target`: straight when in sight (direction target - pawn, power 1), else the
    /// first clear two-leg path turning by 30, -30, 45, -45, 60 or -60 degrees (direction: the
    /// first leg's unit vector; power: what carries the pawn along the first leg). False when none.
    bool findLaunchForTarget(KVPawn* target, kvengine::CCPoint* direction, float* power);

    KVAIBrain* getBrain() const { return m_brain; }
    int getLaunchState() const { return m_launchState; }
    float getLaunchPower() const { return m_launchPower; }

protected:
    /// The brain initWithPawn attaches: a KVAIBrain (new, owned by the caller). Test tools give the
    /// computer-driven player kelvos one that also walks them toward a far goal.
    virtual KVAIBrain* createBrain();

private:
    void releaseBrain();

    kvengine::CCRetained<KVAIBrain> m_brain;
    int m_launchState = kLaunchNone;
    float m_launchPower = 0.0f;
};
