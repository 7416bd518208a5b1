#include "game/model/KVTeamBuilder.h"

#include <cstdio>
#include <string>

#include "engine/base/CCLog.h"
#include "engine/tilemaps/CCTMXObjectGroup.h"
#include "game/data/KVDataAccess.h"
#include "game/data/KVGameSetup.h"
#include "game/model/KVGameModel.h"

using kvengine::CCTMXObject;
using kvengine::logDebugMessage;

namespace {

kvengine::CCPoint centreOf(CCTMXObject* object) {
    auto intOf = [object](const char* key) {
        kvengine::CCString* value = object->objectForKey(key);
        return value != nullptr ? std::atoi(value->text.c_str()) : 0;
    };
    const double x = intOf("x"), y = intOf("y"), width = intOf("width"), height = intOf("height");
    return kvengine::CCPoint(static_cast<float>((x + width / 2.0) / KVGameModel::kPixelsPerMetre),
                             static_cast<float>((y + height / 2.0) / KVGameModel::kPixelsPerMetre));
}

std::string numberedSpawn(int index) {
    char name[32];
    std::snprintf(name, sizeof name, "SpawnPoint%d", index + 1);
    return name;
}

} // namespace

bool KVTeamBuilder::checkTeam(KVGameSetup* setup, kvengine::CCTMXObjectGroup* objects) {
    const unsigned members = setup->getTeamKelvoNames()->count();
    if (setup->solo) {
        if (setup->getTeamSpawnPoints()->count() < members) {
            logDebugMessage("KVGameModel::buildLevel: %u spawn-point names for %u team members",
                            setup->getTeamSpawnPoints()->count(), members);
            return false;
        }
        for (unsigned i = 0; i < members; ++i) {
            const std::string spawn = kvdata::textOf(setup->getTeamSpawnPoints()->objectAtIndex(i));
            if (objects->findObjectByName(spawn.c_str()) == nullptr) {
                logDebugMessage("KVGameModel::buildLevel: no spawn object \"%s\" for %s", spawn.c_str(),
                                kvdata::textOf(setup->getTeamKelvoNames()->objectAtIndex(i)).c_str());
                return false;
            }
        }
        return true;
    }
    for (int i = 0; i < setup->playerCount && i < static_cast<int>(members); ++i) {
        if (objects->findObjectByName(numberedSpawn(i).c_str()) == nullptr) {
            logDebugMessage("KVGameModel::buildLevel: no spawn object \"%s\" for player %d",
                            numberedSpawn(i).c_str(), i + 1);
            return false;
        }
    }
    return true;
}

bool KVTeamBuilder::buildSoloTeam(kvengine::CCTMXObjectGroup* objects,
                                  std::vector<kvengine::CCPoint>& positions) {
    const unsigned members = m_setup->getTeamKelvoNames()->count();
    for (unsigned i = 0; i < members; ++i) {
        const std::string spawn = kvdata::textOf(m_setup->getTeamSpawnPoints()->objectAtIndex(i));
        CCTMXObject* object = objects->findObjectByName(spawn.c_str());
        if (object == nullptr) return false; // checked before the build began
        positions.push_back(centreOf(object));
    }
    (void)m_model;
    return true;
}

bool KVTeamBuilder::buildMultiplayerTeams(kvengine::CCTMXObjectGroup* objects, int playerCount,
                                          KVScoreManager* score, std::vector<kvengine::CCPoint>& positions) {
    const int members = static_cast<int>(m_setup->getTeamKelvoNames()->count());
    for (int i = 0; i < playerCount && i < members; ++i) {
        CCTMXObject* object = objects->findObjectByName(numberedSpawn(i).c_str());
        if (object == nullptr) return false;
        positions.push_back(centreOf(object));
    }
    (void)score;
    return true;
}
