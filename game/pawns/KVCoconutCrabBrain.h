#pragma once

#include "engine/base/CCRetained.h"
#include "game/pawns/KVAIBrain.h"

class KVCoconutCrabController;

/// The coconut-crab boss's decision maker. When the boss's turn has come and the camera is ready it
/// always attacks (it never skips):
/// 1. a player pawn in the swipe zone (12.5 m wide, from 0.5 m below the boss centre to 7.6875 m
///    above it): swipe;
/// 2. with 4 to 11 spiky balls announced since the brain was attached: an even choice between a
///    throw at a random player pawn and a quake;
/// 3. otherwise a throw at a random player pawn; with no player pawn, a quake.
/// A target right of the boss centre is thrown at with the left arm, else with the right.
/// Random draws come from kvengine::CCRandom, in that order. It leaves the game with its boss: the
/// controller asks for its removal.
class KVCoconutCrabBrain : public KVAIBrain {
public:
    CC_DECLARE_CLASS_NAME(KVCoconutCrabBrain, KVAIBrain)

    using KVAIBrain::attachToController;

    /// Removes its observers and releases the controller.
    void cleanupBeforeDelete() override;
    KVPawn* brainPawn() override;
    /// The boss's turn stops nothing.
    void onTurnNoticed() override {}
    /// The boss always attacks: decideAttack.
    void act() override { decideAttack(); }
    void onGameShutdown(kvengine::CCNotification* notification) override;
    /// Counts the spiky balls that appear.
    virtual void onNewActor(kvengine::CCNotification* notification);
    /// Actor initialisation; retains `controller`; observes the boss's turn start, the camera,
    /// "EVENT_NEW_ACTOR" and the game's shutdown; posts "EVENT_NEW_ACTOR" with itself. Null: logged, false.
    [[nodiscard]] virtual bool attachToController(KVCoconutCrabController* controller);
    /// The choice of the boss, made now.
    void decideAttack();

    int getSpikyBallCount() const { return m_spikyBallCount; }
    KVCoconutCrabController* getBossController() const { return m_bossController; }

private:
    void releaseBossController();

    kvengine::CCRetained<KVCoconutCrabController> m_bossController;
    int m_spikyBallCount = 0;
};
