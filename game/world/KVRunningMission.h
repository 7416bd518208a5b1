#pragma once

class KVPawn;

/// What code outside a mission may read of the mission being played: the level model of the running
/// mission implements it, and the game settings hold that model (KVGameSetup::getCurrentGameModel)
/// while the mission runs. Readers cross-cast the model they find there:
///
///     auto* mission = dynamic_cast<KVRunningMission*>(KVGameSetup::getInstance()->getCurrentGameModel());
///     KVPawn* playing = mission != nullptr ? mission->getCurrentPawn() : nullptr;
///
/// No model, or a model that does not implement it, means that no mission is running.
class KVRunningMission {
public:
    /// The pawn at the head of the turn queue; null when no turn is running.
    virtual KVPawn* getCurrentPawn() = 0;
    /// Player turns that the solo score manager has counted (one per "EVENT_TURN_START_PLAYER");
    /// -1 when the mission has no solo score manager.
    virtual int getPlayerTurnCount() = 0;

    virtual ~KVRunningMission() = default;
};
