#pragma once

#include <vector>

#include "engine/base/CCGeometry.h"

class KVGameModel;
class KVGameSetup;
class KVPlayer;
class KVScoreManager;

namespace kvengine {
class CCTMXObjectGroup;
}

/// The player side of a level: the solo team at the spawn objects named by the team's spawn-point
/// names, or one multiplayer player per member at "SpawnPoint1", "SpawnPoint2", ... Each member
/// gets a KVKelvoPlayer at its spawn centre, its owner index its place in the team.
class KVTeamBuilder {
public:
    KVTeamBuilder(KVGameModel* model, KVGameSetup* setup) : m_model(model), m_setup(setup) {}

    /// False, logged, when the team cannot be placed on this map: fewer spawn-point names than
    /// creature names, or a member's spawn object missing from `objects`.
    static bool checkTeam(KVGameSetup* setup, kvengine::CCTMXObjectGroup* objects);

    /// The solo team: each member's spawn centre is appended to `positions` and its kelvo made.
    bool buildSoloTeam(kvengine::CCTMXObjectGroup* objects, std::vector<kvengine::CCPoint>& positions);
    /// The first `playerCount` members, one player each, joined to `score`.
    bool buildMultiplayerTeams(kvengine::CCTMXObjectGroup* objects, int playerCount, KVScoreManager* score,
                               std::vector<kvengine::CCPoint>& positions);

private:
    /// The kelvo of team member `member` at `at` (metres), owned by `player`; false, logged, when
    /// it cannot be made (the team plays without it).
    bool placeKelvo(KVPlayer* player, unsigned member, const kvengine::CCPoint& at);

    KVGameModel* m_model;
    KVGameSetup* m_setup;
};
