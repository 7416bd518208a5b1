#pragma once

#include "game/pawns/KVKelvo.h"

class KVPawnController;

/// The kelvo of a human player: its stats are the creature table's raised to its saved level,
/// its initiative is its place in the squad ("turnSpeed" of the profile), it belongs to a player
/// side and a KVPawnPlayerController moves it. At the end of a mission ("EVENT_SAVE_STATS") it
/// writes its level back to the profile. The pawn manager lists the ones that die or fall, with
/// their helmets, for the revival consumables.
class KVKelvoPlayer : public KVKelvo {
public:
    CC_DECLARE_CLASS_NAME(KVKelvoPlayer, KVKelvo)

    /// Pawn initialisation at (x, y) metres for the creature `name` of `player` (retained; may be
    /// null), wearing `helmetName` (null or empty: none, but transferred helmets still count):
    /// player side, human-driven, a player controller, the stats of the creature table at the
    /// profile's level, Speed := the profile's "turnSpeed" (0 without a record), full stamina and
    /// hit points, the body and the observers. False (logged) when the pawn or its body cannot be
    /// made.
    [[nodiscard]] virtual bool initForPlayer(float x, float y, KVGameModel* model, kvengine::CCString* name,
                                             KVPlayer* player, kvengine::CCString* helmetName);

    /// Makes a new (not yet initialised, owned by the caller) controller for a player kelvo.
    using ControllerMaker = KVPawnController* (*)();
    /// Test tools only: the player kelvos made from now on get their controller from `maker`
    /// instead of a KVPawnPlayerController, so the computer can play the player's side while the
    /// pawns stay human-driven for the turns and the score. Null goes back to the player's own.
    /// The game itself never sets it.
    static void setControllerMaker(ControllerMaker maker);
};
