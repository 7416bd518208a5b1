#pragma once

#include "game/pawns/KVPawn.h"

/// The plain computer-driven enemy pawn, base of the crustaceans: enemy side, moved by a
/// KVPawnAIController, stats from the AI creature stats table. Whether it has anything to do is
/// its controller's answer (the brain's decision in test mode).
class KVPawnAI : public KVPawn {
public:
    CC_DECLARE_CLASS_NAME(KVPawnAI, KVPawn)

    /// False (logged) when the pawn or its body cannot be made.
    [[nodiscard]] bool initAt(float x, float y, KVGameModel* model, kvengine::CCString* typeName) override;
    /// Observes "EVENT_PULL_RELEASE" about itself -> onDamageModeOff, then the pawn's.
    void registerObservers() override;
    /// The controller's canAct; false without a controller.
    bool canAct() override;

    /// Binds a new KVPawnAIController (owner index -1) and reads the stats entry `entry`
    /// ("useAllStamina", the stats, "level"); then the body and the observers. Shared by the
    /// computer-driven pawns. False (logged) when the body cannot be made.
    static bool setUpComputerPawn(KVPawn* pawn, StatDictionary* entry);
};
