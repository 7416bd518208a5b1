#pragma once

#include <string>

#include "engine/base/CCGeometry.h"
#include "engine/base/CCMutableArray.h"

class KVObject;
class KVPawn;
class KVPowerupManager;

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

    /// Every object the mission updates each frame (actors, controllers, brains), in update order;
    /// the list itself, not retained for the caller. Null when the mission keeps none.
    virtual kvengine::CCMutableArray<KVObject*>* getMissionActors() { return nullptr; }

    /// Pearl value labels: counts one more label shown since the last pick and answers the new
    /// count (the labels stack one label height apart); 0 without pearl rewards.
    virtual int nextPearlLabelSlot() { return 0; }
    /// Metres: where the last pearl flew or the last pickable object was tapped, under which the
    /// value labels stack; (0, 0) without pearl rewards.
    virtual kvengine::CCPoint getPearlLabelAnchor() { return kvengine::CCPoint(0.0f, 0.0f); }
    /// A hidden character found: its name (lower case) and, when its helmet is locked too, the
    /// helmet's name ("" for none) join the creatures and helmets to unlock. False, recording
    /// nothing, when the mission keeps no such lists (multiplayer).
    virtual bool recordHiddenCharacter(const std::string& kelvo, const std::string& helmet) {
        (void)kelvo;
        (void)helmet;
        return false;
    }

    /// The mission's power-up manager, which the power-up pick-ups hand their takers to; null when
    /// the mission has none.
    virtual KVPowerupManager* getPowerupManager() { return nullptr; }

    /// True while something announced busy ("EVENT_NOTIFY_IN_ACTION") has not gone idle: the
    /// consumables wait for a quiet board.
    virtual bool isAnythingBusy() { return false; }
    /// An opened chest's id, and a helmet taken from a chest, join the solo mission's lists that
    /// the victory screen saves. False, recording nothing, when the mission keeps no such lists
    /// (multiplayer) or for an empty name.
    virtual bool recordOpenedChest(const std::string& chestId) {
        (void)chestId;
        return false;
    }
    virtual bool recordChestHelmet(const std::string& helmet) {
        (void)helmet;
        return false;
    }

    virtual ~KVRunningMission() = default;
};
