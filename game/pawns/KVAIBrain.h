#pragma once

#include "engine/base/CCNotification.h"
#include "engine/base/CCRetained.h"
#include "game/world/KVActor.h"

class KVPawn;
class KVPawnAIController;

/// The decision maker of a computer-driven pawn: an actor without body or view, updated with the
/// others. When its pawn is selected and the camera is ready it decides once: bump into a badly
/// hurt team mate to heal it, make a distance or area attack, charge the nearest reachable
/// opponent or, with enough stamina, take a two-leg path around an obstacle; when nothing fits it
/// asks the turn manager to skip the turn ("EVENT_SKIP_TURN").
///
/// States: 0 idle, 1 waiting for the camera, 2 one-frame delay, 3 decide.
///
/// Ownership: retains its controller (which retains the brain); released at clean-up or on
/// "EVENT_GAME_SHUTDOWN". The brain leaves the game model through requestRemoval.
class KVAIBrain : public KVActor {
public:
    CC_DECLARE_CLASS_NAME(KVAIBrain, KVActor)

    /// Team mates at or below this share of their hit points are healed first.
    static constexpr float kHealThreshold = 0.4f;
    /// Targets must be strictly closer than this, metres.
    static constexpr float kSearchDistance = 12.5f;
    /// Stamina from which a hidden target is sought around obstacles.
    static constexpr int kBankShotStamina = 50;

    enum State { kIdle = 0, kWaitingForCamera = 1, kDelay = 2, kDecide = 3 };

    /// Actor initialisation; retains `controller`; observes "EVENT_START_TURN" (its pawn),
    /// "EVENT_CAM_PLAYABLE", "EVENT_CAM_UNPLAYABLE" and "EVENT_GAME_SHUTDOWN"; posts
    /// "EVENT_NEW_ACTOR". Null controller: logged, false.
    [[nodiscard]] virtual bool attachToController(KVPawnAIController* controller);
    /// Empty here; the boss's brain acts on it.
    virtual void onStartTurn(kvengine::CCNotification* notification);
    virtual void onCamPlayable(kvengine::CCNotification* notification);
    virtual void onCamUnplayable(kvengine::CCNotification* notification);
    /// Posts "EVENT_REMOVE_ACTOR" with the brain.
    virtual void requestRemoval();
    /// Releases the controller.
    virtual void onGameShutdown(kvengine::CCNotification* notification);

    /// The states above; at the turn's notice onTurnNoticed, at the decision act.
    void update(float dt) override;
    void cleanupBeforeDelete() override;

    /// The pawn the brain decides for; null once it is gone.
    virtual KVPawn* brainPawn();
    /// The pawn's turn has come: fish bombs stand still ("EVENT_STOP_FUGU").
    virtual void onTurnNoticed();
    /// The decision: decide, or ask for the turn to be skipped when nothing fits.
    virtual void act();

    /// True when the pawn has (testOnly: moves nothing, posts nothing) or took an action.
    bool decide(bool testOnly);

    int getState() const { return m_state; }
    bool isCameraPlayable() const { return m_cameraPlayable; }
    KVPawnAIController* getController() const { return m_controller; }

private:
    void releaseController();

    kvengine::CCRetained<KVPawnAIController> m_controller;

protected:
    int m_state = kIdle;
    bool m_cameraPlayable = true;
    float m_delayTimer = 0.0f;
};
