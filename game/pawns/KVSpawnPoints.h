#pragma once

#include <vector>

#include "engine/base/CCGeometry.h"

namespace kvengine {
class CCObject;
}
class KVGameModel;

/// What a player side needs of the game model to bring a kelvo back: the model implements it
/// (the players sit on a lower floor than the model and never include its header).
class KVSpawnPoints {
public:
    /// The model as an object; a player retains it.
    virtual kvengine::CCObject* spawnPointsOwner() = 0;
    /// The model itself, handed to the kelvos a player makes.
    virtual KVGameModel* spawnPointsModel() = 0;
    /// Centres, metres, of the tile-map objects named "SpawnPoint".
    virtual std::vector<kvengine::CCPoint> getSpawnPoints() = 0;
    /// Centres, metres, of the numbered player spawn points ("SpawnPoint%d").
    virtual std::vector<kvengine::CCPoint> getPlayerSpawnPoints() = 0;

protected:
    ~KVSpawnPoints() = default;
};
