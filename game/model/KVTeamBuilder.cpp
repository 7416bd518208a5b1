#include "game/model/KVTeamBuilder.h"

#include <cstdio>
#include <string>

#include "engine/base/CCLog.h"
#include "engine/tilemaps/CCTMXObjectGroup.h"
#include "game/data/KVDataAccess.h"
#include "game/data/KVGameSetup.h"
#include "game/model/KVGameModel.h"
#include "game/pawns/KVKelvoPlayer.h"
#include "game/pawns/KVPlayerHuddle.h"
#include "game/pawns/KVPlayerSolo.h"
#include "game/score/KVScoreManager.h"

using kvengine::CCString;
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

bool KVTeamBuilder::placeKelvo(KVPlayer* player, unsigned member, const kvengine::CCPoint& at) {
    CCString* name = m_setup->getTeamKelvoNames()->objectAtIndex(member);
    // The helmet list may be shorter than the team: the others wear none.
    CCString* helmet = member < m_setup->getTeamHelmetNames()->count()
                           ? m_setup->getTeamHelmetNames()->objectAtIndex(member)
                           : nullptr;
    auto* kelvo = new KVKelvoPlayer();
    const bool made = kelvo->initForPlayer(at.x, at.y, m_model, name, player, helmet);
    if (made) {
        kelvo->setOwnerIndex(static_cast<int>(member));
        player->addPawn(kelvo);
    } else {
        logDebugMessage("KVGameModel::buildLevel: the kelvo %s could not be made, left out",
                        kvdata::textOf(name).c_str());
    }
    // From here on the actor list, the pawn manager and the player keep it.
    kelvo->release();
    return made;
}

bool KVTeamBuilder::buildSoloTeam(kvengine::CCTMXObjectGroup* objects,
                                  std::vector<kvengine::CCPoint>& positions) {
    auto* player = new KVPlayerSolo();
    if (!player->initWithModel(m_model)) {
        player->release();
        logDebugMessage("KVGameModel::buildLevel: the solo player could not be made");
        return false;
    }
    const unsigned members = m_setup->getTeamKelvoNames()->count();
    for (unsigned i = 0; i < members; ++i) {
        const std::string spawn = kvdata::textOf(m_setup->getTeamSpawnPoints()->objectAtIndex(i));
        CCTMXObject* object = objects->findObjectByName(spawn.c_str());
        if (object == nullptr) continue; // checked before the build began
        positions.push_back(centreOf(object));
        placeKelvo(player, i, positions.back());
    }
    // The actor list keeps the player from its announcement on.
    player->release();
    return true;
}

bool KVTeamBuilder::buildMultiplayerTeams(kvengine::CCTMXObjectGroup* objects, int playerCount,
                                          KVScoreManager* score, std::vector<kvengine::CCPoint>& positions) {
    const int members = static_cast<int>(m_setup->getTeamKelvoNames()->count());
    for (int i = 0; i < playerCount && i < members; ++i) {
        CCTMXObject* object = objects->findObjectByName(numberedSpawn(i).c_str());
        if (object == nullptr) continue; // checked before the build began
        positions.push_back(centreOf(object));
        auto* player = new KVPlayerHuddle();
        if (!player->initWithModel(m_model)) {
            player->release();
            logDebugMessage("KVGameModel::buildLevel: player %d could not be made", i + 1);
            return false;
        }
        placeKelvo(player, static_cast<unsigned>(i), positions.back());
        if (score != nullptr) score->addPlayer(player);
        // The actor list and the score manager keep the player.
        player->release();
    }
    return true;
}
