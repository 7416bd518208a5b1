// Every mission of the chapters builds its level from the built resource folder through the game
// model, as the mission scene builds it: with the squad the mission names, or, where the player
// picks the squad, with a new profile's squad and with the largest squad of four. The first turn
// starts and nothing is logged on the way; the trigger that a reach condition names is in the level.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <map>
#include <set>
#include <string>
#include <vector>

#include "ContentTestSupport.h"
#include "engine/base/CCLocalizationManager.h"
#include "engine/base/CCLog.h"
#include "engine/base/CCNotificationCenter.h"
#include "engine/base/CCUserDefaults.h"
#include "engine/director/CCDirector.h"
#include "engine/tilemaps/CCTMXObjectGroup.h"
#include "engine/tilemaps/CCTMXTiledMap.h"
#include "game/app/KVGameServices.h"
#include "game/app/KVGlobalNames.h"
#include "game/data/KVDataAccess.h"
#include "game/data/KVGameParameters.h"
#include "game/data/KVGameSetup.h"
#include "game/data/KVPlayerParameters.h"
#include "game/model/KVGameModel.h"
#include "game/objects/KVTrigger.h"
#include "game/pawns/KVPawn.h"
#include "game/pawns/KVPawnManager.h"
#include "game/pawns/KVTurnManager.h"
#include "game/rules/KVRuleManager.h"
#include "game/score/KVScoreManager.h"
#include "game/shop/KVKelvosOFXDelegate.h"
#include "game/world/KVActor.h"
#include "game/world/KVObjectFactory.h"
#include "game/world/KVPhysWorld.h"
#include "game/world/KVTriggerEvent.h"
#include "support/GLFixture.h"
#include "support/MissionTestSupport.h"
#include "support/TestFiles.h"

using namespace kvcontenttest;

namespace {

constexpr unsigned kLargestSquad = 4;

// The game's data and a new profile, from the resource folder and a user-data folder of the test's
// own; the maps' tile layers are textures, hence the context.
class ContentLevels : public kvtest::GLFixture {
protected:
    void setUpWithGL() override {
        m_home = kvtest::makeTempFolder("contentlevels");
        setenv("XDG_DATA_HOME", m_home.c_str(), 1);
        kvtest::releaseGameData();
        kvConnectGameServices();
        KVObjectFactory::registerGameClasses();
        kvengine::CCDirector::getInstance()->enableDoubleContentScale();
    }
    void tearDownWithGL() override {
        kvtest::releaseGameData();
        std::error_code ignored;
        std::filesystem::remove_all(m_home, ignored);
    }

    // Builds the current mission with the team the game setup holds, starts the first turn and
    // plays a second; the lines logged meanwhile are failures.
    static void buildAndPlay(const std::string& what) {
        SCOPED_TRACE(what);
        std::vector<std::string> lines;
        kvengine::setDebugLogSink([&lines](const std::string& line) { lines.push_back(line); });
        {
            PoolScope pool;
            KVGameSetup* setup = KVGameSetup::getInstance();
            KVPhysWorld::getInstance()->setFixedTimeStep(true);
            KVPawnManager::getInstance();
            kvengine::CCTMXTiledMap* map =
                kvengine::CCTMXTiledMap::createWithFile(setup->getLevelTmxPath()->c_str());
            auto* model = new KVGameModel();
            const bool built = map != nullptr && model->buildLevel(map);
            EXPECT_TRUE(built);
            if (built) {
                unsigned kelvos = 0;
                for (unsigned i = 0; i < model->getActors()->count(); ++i)
                    kelvos += model->getActors()->objectAtIndex(i)->isKindOf("KVKelvoPlayer") ? 1 : 0;
                EXPECT_EQ(kelvos, setup->getTeamKelvoNames()->count());
                checkReachTriggers(model);
                model->getTurnManager()->startFirstTurn();
                EXPECT_NE(model->getCurrentPawn(), nullptr);
                for (int i = 0; i < 60; ++i)
                    model->update(1.0f / 60.0f);
            }
            kvtest::endMission(model);
        }
        kvengine::setDebugLogSink(nullptr);
        for (const std::string& line : lines)
            ADD_FAILURE() << "logged: " << line;
    }

    // A reach condition's "triggerName" names a trigger of the level.
    static void checkReachTriggers(KVGameModel* model) {
        std::set<std::string> triggers;
        for (unsigned i = 0; i < model->getActors()->count(); ++i) {
            auto* trigger = dynamic_cast<KVTrigger*>(model->getActors()->objectAtIndex(i));
            if (trigger != nullptr && trigger->getName() != nullptr)
                triggers.insert(trigger->getName()->text);
        }
        kvdata::Dict* definition = KVGameParameters::getInstance()->findMissionDefinition(
            KVGameSetup::getInstance()->getMissionName());
        for (const char* side : {"victory_condition", "fail_condition"}) {
            kvdata::Dict* condition = kvdata::dictAt(definition, side);
            const std::string kind = kvdata::textAt(condition, "condition");
            if (kind == "KelvoReach" || kind == "EnemyReach") {
                EXPECT_TRUE(triggers.count(kvdata::textAt(condition, "triggerName"))) << side;
            }
        }
    }

private:
    std::string m_home;
};

TEST_F(ContentLevels, EveryChapterMissionBuildsForEverySquadWithNothingLogged) {
    PoolScope pool;
    KVGameParameters* parameters = KVGameParameters::getInstance();
    KVGameSetup* setup = KVGameSetup::getInstance();
    setup->solo = true;
    setup->playerCount = 1;
    const std::vector<std::string> creatures = kvdata::keysOf(parameters->getKelvoStatsTable());
    ASSERT_GE(creatures.size(), kLargestSquad);

    int missions = 0;
    kvdata::Dict* chapters = parameters->getMissionDefinitions();
    for (const std::string& chapter : kvdata::keysOf(chapters)) {
        kvdata::Dict* definitions = kvdata::dictAt(chapters, chapter);
        for (const std::string& mission : kvdata::keysOf(definitions)) {
            ++missions;
            setup->setMissionName(kvdata::newString(mission));
            setup->buildTeam();
            buildAndPlay(mission + " with its squad");
            if (kvdata::arrayAt(kvdata::dictAt(definitions, mission), "squad_list") != nullptr) continue;

            // The player picks the squad: four kelvos in team places 1 to 4.
            setup->getTeamKelvoNames()->removeAllObjects();
            setup->getTeamHelmetNames()->removeAllObjects();
            setup->getTeamSpawnPoints()->removeAllObjects();
            for (unsigned i = 0; i < kLargestSquad; ++i) {
                setup->getTeamKelvoNames()->addObject(kvdata::newString(creatures[i]));
                setup->getTeamHelmetNames()->addObject(kvdata::newString(""));
                setup->getTeamSpawnPoints()->addObject(
                    kvdata::newString("SpawnPoint" + std::to_string(i + 1)));
            }
            buildAndPlay(mission + " with a squad of four");
        }
    }
    EXPECT_GE(missions, 2);
}

// Every map the huddle screen offers (grouped in the game data, or standing at the top with its
// "item_number", as the world map reads them) builds for a match of four players, each kelvo at its
// numbered spawn point, and plays its first turn with nothing logged.
TEST_F(ContentLevels, EveryHuddleMapBuildsForFourPlayersWithNothingLogged) {
    PoolScope pool;
    KVGameParameters* parameters = KVGameParameters::getInstance();
    KVGameSetup* setup = KVGameSetup::getInstance();
    const std::vector<std::string> creatures = kvdata::keysOf(parameters->getKelvoStatsTable());
    ASSERT_GE(creatures.size(), kLargestSquad);
    std::vector<std::string> maps;
    kvdata::Dict* groups = parameters->getMultiplayerMaps();
    for (const std::string& key : kvdata::keysOf(groups)) {
        kvdata::Dict* value = kvdata::dictAt(groups, key);
        if (value == nullptr) continue;
        if (kvdata::hasKey(value, "item_number")) {
            maps.push_back(key);
            continue;
        }
        for (const std::string& name : kvdata::keysOf(value))
            if (kvdata::dictAt(value, name) != nullptr) maps.push_back(name);
    }
    for (const char* offered : {"Map_BigRock", "Map_HUDDLE_02", "Map_Race1"})
        EXPECT_NE(std::find(maps.begin(), maps.end(), offered), maps.end()) << offered;

    for (const std::string& map : maps) {
        // The model's shutdown sets the player count back to one.
        setup->solo = false;
        setup->playerCount = static_cast<int>(kLargestSquad);
        setup->setMissionName(kvdata::newString(map));
        setup->getTeamKelvoNames()->removeAllObjects();
        setup->getTeamHelmetNames()->removeAllObjects();
        setup->getTeamSpawnPoints()->removeAllObjects();
        for (unsigned i = 0; i < kLargestSquad; ++i) {
            setup->getTeamKelvoNames()->addObject(kvdata::newString(creatures[i]));
            setup->getTeamHelmetNames()->addObject(kvdata::newString(""));
            setup->getTeamSpawnPoints()->addObject(kvdata::newString("SpawnPoint" + std::to_string(i + 1)));
        }
        EXPECT_FALSE(resourcePath(map + ".tmx").empty()) << map;
        buildAndPlay(map + " for four players");
    }
    setup->solo = true;
    setup->playerCount = 1;
}

TEST_F(ContentLevels, TheShrimpNestOfM01bWakesTwoShrimpsAndTheReefIsWonFromTheThirdTurn) {
    PoolScope pool;
    KVGameSetup* setup = KVGameSetup::getInstance();
    setup->solo = true;
    setup->playerCount = 1;
    setup->setMissionName(kvdata::newString("M01b"));
    setup->buildTeam();
    KVPhysWorld::getInstance()->setFixedTimeStep(true);
    KVPawnManager* pawns = KVPawnManager::getInstance();
    auto* model = new KVGameModel();
    ASSERT_TRUE(
        model->buildLevel(kvengine::CCTMXTiledMap::createWithFile(setup->getLevelTmxPath()->c_str())));
    model->getTurnManager()->startFirstTurn();
    for (int i = 0; i < 60; ++i)
        model->update(1.0f / 60.0f);
    // The objective is set and victory waits for the third player turn.
    EXPECT_NE(setup->getMissionObjective(), nullptr);
    EXPECT_FALSE(model->getScoreManager()->isVictoryChecking());
    ASSERT_EQ(pawns->getEnemyCount(), 2);
    auto* event =
        new KVTriggerEvent(kvdata::newString("ShrimpNest"), pawns->getPlayerPawns()->objectAtIndex(0), false);
    kvengine::CCNotificationCenter::getInstance()->postNotification(EVENT_TRIGGER_TRIGGERED, event);
    event->release();
    model->update(1.0f / 60.0f);
    EXPECT_EQ(pawns->getEnemyCount(), 4);
    int shrimps = 0;
    for (unsigned i = 0; i < pawns->getEnemyPawns()->count(); ++i)
        shrimps += pawns->getEnemyPawns()->objectAtIndex(i)->getTypeName()->text == "shrimp" ? 1 : 0;
    EXPECT_EQ(shrimps, 2);
    for (int turn = 0; turn < 2; ++turn)
        kvengine::CCNotificationCenter::getInstance()->postNotification(EVENT_TURN_START_PLAYER);
    model->update(1.0f / 60.0f);
    EXPECT_TRUE(model->getScoreManager()->isVictoryChecking());
    kvtest::endMission(model);
}

// Every treasure chest of a level carries its id, a picture stem whose two frames global_ss holds
// and, when it holds a helmet, a helmet of the game data; the ids are unique across the levels.
// The chest mission C0M02 has a chest with a helmet and a hidden star.
TEST_F(ContentLevels, EveryTreasureChestOfTheLevelsIsComplete) {
    PoolScope pool;
    Dict* global = dictAt(loadPlist("global_ss.plist"), "frames");
    ASSERT_NE(global, nullptr);
    const std::vector<std::string> helmets = keysOf(loadPlist("helmets.plist"));
    std::set<std::string> ids;
    std::map<std::string, int> c0m02;
    kvdata::Dict* chapters = KVGameParameters::getInstance()->getMissionDefinitions();
    for (const std::string& chapter : kvdata::keysOf(chapters)) {
        for (const std::string& mission : kvdata::keysOf(kvdata::dictAt(chapters, chapter))) {
            SCOPED_TRACE(mission);
            kvengine::CCTMXTiledMap* map =
                kvengine::CCTMXTiledMap::createWithFile(resourcePath(mission + ".tmx").c_str());
            ASSERT_NE(map, nullptr);
            kvengine::CCTMXObjectGroup* group = map->findObjectGroupByName("GPE");
            if (group == nullptr) continue;
            for (kvengine::CCTMXObject* object : *group->getObjects()) {
                const std::string kind =
                    object->objectForKey("name") != nullptr ? object->objectForKey("name")->text : "";
                if (mission == "C0M02") c0m02[kind] += 1;
                if (kind != "TreasureChest") continue;
                auto text = [object](const char* key) {
                    kvengine::CCString* value = object->objectForKey(key);
                    return value != nullptr ? value->text : std::string();
                };
                const std::string id = text("chestId");
                EXPECT_FALSE(id.empty());
                EXPECT_TRUE(ids.insert(id).second) << "chest id used twice: " << id;
                for (const char* state : {"_closed.png", "_opened.png"})
                    EXPECT_NE(global->objectForKey(text("image") + state), nullptr) << text("image") << state;
                const std::string helmet = text("helmetReward");
                if (!helmet.empty()) {
                    EXPECT_NE(std::find(helmets.begin(), helmets.end(), helmet), helmets.end()) << helmet;
                    if (mission == "C0M02") c0m02["helmet"] += 1;
                }
            }
        }
    }
    EXPECT_EQ(c0m02["TreasureChest"], 1);
    EXPECT_EQ(c0m02["helmet"], 1);
    EXPECT_EQ(c0m02["hidden_star"], 1);
}

} // namespace
