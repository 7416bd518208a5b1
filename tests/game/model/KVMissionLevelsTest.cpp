// The shipped missions built from the resource folder, as the mission scene builds them: the
// team's kelvos, the computer's crabs, the walls of the drawing and the first turn, with nothing
// logged on the way.
#include "game/pawns/PawnTestSupport.h"

#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <string>

#include "ModelTestSupport.h"
#include "engine/base/CCLocalizationManager.h"
#include "engine/base/CCUserDefaults.h"
#include "engine/director/CCDirector.h"
#include "engine/files/CCFileUtils.h"
#include "engine/tilemaps/CCTMXTiledMap.h"
#include "game/data/KVGameParameters.h"
#include "game/data/KVGameSetup.h"
#include "game/data/KVPlayerParameters.h"
#include "game/model/KVGameModel.h"
#include "game/objects/KVMapBorder.h"
#include "game/objects/KVSpawner.h"
#include "game/objects/KVTrigger.h"
#include "game/pawns/KVKelvoPlayer.h"
#include "game/pawns/KVPlayerSolo.h"
#include "game/pawns/KVTurnManager.h"
#include "game/rules/KVRuleManager.h"
#include "game/score/KVScoreManagerSolo.h"
#include "game/world/KVObjectFactory.h"
#include "support/GLFixture.h"
#include "support/MissionTestSupport.h"
#include "support/TestFiles.h"

using kvengine::CCDirector;
using kvengine::CCNotificationCenter;
using pawntest::LogCapture;

namespace {

constexpr float kFrame = 1.0f / 60.0f;

// The game data, the settings and a new profile are read from the built resource folder; the
// profile lives in a folder of the test's own. The maps' tile layers are textures, hence the
// context.
class KVMissionLevelsTest : public kvtest::GLFixture {
protected:
    void setUpWithGL() override {
        if (!std::filesystem::exists(std::string(KELVOS_RESOURCES_DIR) + "/levels/M01a.tmx"))
            KVTEST_REQUIRED_MISSING("no built resource folder at " << KELVOS_RESOURCES_DIR);
        m_oldRoot = kvengine::resourceRootPath();
        ASSERT_TRUE(kvengine::setResourceRootPath(KELVOS_RESOURCES_DIR));
        // The text tables are found from the working folder, as in the game.
        ASSERT_EQ(chdir(KELVOS_RESOURCES_DIR), 0);
        m_profileFolder = kvtest::makeTempFolder("missionlevels");
        setenv("XDG_DATA_HOME", m_profileFolder.c_str(), 1);
        // The other tests of this program run without the resource folder: their settings go.
        kvtest::releaseGameData();
        kvConnectGameServices();
        KVObjectFactory::registerGameClasses();
        kvengine::CCAutoreleasePoolStack::getInstance().push();
        // The game runs at double content scale: the maps' 64-texel tiles are 32 points.
        CCDirector::getInstance()->enableDoubleContentScale();
        KVPawnManager::getInstance();
        model = new KVGameModel();
    }

    void tearDownWithGL() override {
        if (model == nullptr) return;
        kvtest::endMission(model);
        kvengine::CCAutoreleasePoolStack::getInstance().pop();
        CCDirector::getInstance()->setContentScaleFactor(1.0f);
        kvtest::releaseGameData();
        kvengine::setResourceRootPath(m_oldRoot);
        unsetenv("XDG_DATA_HOME");
        std::error_code ignored;
        std::filesystem::remove_all(m_profileFolder, ignored);
    }

    // The mission's team and map, as the mission scene prepares them.
    kvengine::CCTMXTiledMap* prepare(const char* mission) {
        KVGameSetup* setup = KVGameSetup::getInstance();
        setup->solo = true;
        setup->playerCount = 1;
        setup->setMissionName(kvdata::newString(mission));
        setup->buildTeam();
        KVPhysWorld::getInstance()->setFixedTimeStep(true);
        return kvengine::CCTMXTiledMap::createWithFile(setup->getLevelTmxPath()->c_str());
    }

    // The actors of exactly this class.
    std::vector<KVActor*> actorsOf(const char* kind) const {
        std::vector<KVActor*> found;
        for (unsigned i = 0; i < model->getActors()->count(); ++i)
            if (std::string(model->getActors()->objectAtIndex(i)->className()) == kind)
                found.push_back(static_cast<KVActor*>(model->getActors()->objectAtIndex(i)));
        return found;
    }

    KVPawn* kelvoNamed(const char* name) const {
        for (KVActor* actor : actorsOf("KVKelvoPlayer")) {
            auto* pawn = static_cast<KVPawn*>(actor);
            if (pawn->getTypeName() != nullptr && pawn->getTypeName()->text == name) return pawn;
        }
        return nullptr;
    }

    // Static bodies of the drawing (no actor) and its loose rocks (dynamic, no actor).
    static void countDrawnBodies(int& walls, int& rocks) {
        walls = rocks = 0;
        for (b2Body* body = KVPhysWorld::getInstance()->getWorld()->GetBodyList(); body;
             body = body->GetNext()) {
            if (body->GetUserData().pointer != 0 || body->GetFixtureList() == nullptr) continue;
            if (body->GetType() == b2_staticBody) ++walls;
            if (body->GetType() == b2_dynamicBody) ++rocks;
        }
    }

    KVGameModel* model = nullptr;

private:
    std::string m_oldRoot;
    std::string m_profileFolder;
};

TEST_F(KVMissionLevelsTest, BothMissionsStartWithBothTeamsAndNothingLogged) {
    struct Member {
        const char* name;
        float x, y; // metres
    };
    struct Case {
        const char* mission;
        std::vector<Member> team;         // M01a's squad is fixed; M01b's is a new profile's,
                                          // last team place first
        std::vector<const char*> objects; // level objects besides the pawns, players and walls
    };
    const Case cases[] = {
        {"M01a", {{"steev", 5.0f, 10.5f}, {"vahine", 7.0f, 8.0f}}, {"KVStickyWall"}},
        {"M01b",
         {{"kiwa", 9.0f, 10.5f}, {"vahine", 7.0f, 8.0f}, {"steev", 5.0f, 10.5f}},
         {"KVStickyWall", "KVCoconut", "KVSpikyBall", "KVSpikyWall", "KVAnchor"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.mission);
        LogCapture log;
        kvengine::CCTMXTiledMap* map = prepare(c.mission);
        ASSERT_NE(map, nullptr);
        ASSERT_TRUE(model->buildLevel(map)) << (log.lines.empty() ? "" : log.lines.back());

        // The outer border is the map's 30 x 19 m; the hole's lower-left corner is (14, 10).
        ASSERT_EQ(model->getMapBorders()->count(), 2u);
        modeltest::expectOuterBorder(model->getMapBorders(), 30.0f, 19.0f);
        auto* hole = static_cast<KVMapBorder*>(model->getMapBorders()->objectAtIndex(1));
        EXPECT_FLOAT_EQ(hole->getBody()->GetPosition().x, 14.0f);
        EXPECT_FLOAT_EQ(hole->getBody()->GetPosition().y, 10.0f);

        // The reef and the edges of the drawing, and its one loose rock.
        int walls = 0, rocks = 0;
        countDrawnBodies(walls, rocks);
        EXPECT_GE(walls, 1);
        EXPECT_EQ(rocks, 1);

        // The squad at its spawn points, in team order, owned by the one solo player.
        std::vector<KVActor*> players = actorsOf("KVPlayerSolo");
        ASSERT_EQ(players.size(), 1u);
        auto* player = static_cast<KVPlayerSolo*>(players[0]);
        EXPECT_EQ(actorsOf("KVKelvoPlayer").size(), c.team.size());
        EXPECT_EQ(player->getKelvos()->count(), c.team.size());
        for (size_t i = 0; i < c.team.size(); ++i) {
            const Member& member = c.team[i];
            SCOPED_TRACE(member.name);
            KVPawn* kelvo = kelvoNamed(member.name);
            ASSERT_NE(kelvo, nullptr);
            EXPECT_FLOAT_EQ(kelvo->getBody()->GetPosition().x, member.x);
            EXPECT_FLOAT_EQ(kelvo->getBody()->GetPosition().y, member.y);
            EXPECT_EQ(kelvo->getOwnerIndex(), static_cast<int>(i));
            EXPECT_FALSE(kelvo->isEnemy());
            EXPECT_FALSE(kelvo->isAIDriven());
            EXPECT_EQ(kelvo->getOwnerPlayer(), player);
            EXPECT_GT(kelvo->getHitPoints(), 0);
        }

        // Two computer-driven crabs at the AI spawn points.
        std::vector<KVActor*> crabs = actorsOf("KVCrab");
        ASSERT_EQ(crabs.size(), 2u);
        for (KVActor* crab : crabs) {
            auto* pawn = static_cast<KVPawn*>(crab);
            EXPECT_TRUE(pawn->isEnemy());
            EXPECT_TRUE(pawn->isAIDriven());
            EXPECT_GT(pawn->getHitPoints(), 0);
        }
        EXPECT_FLOAT_EQ(crabs[0]->getBody()->GetPosition().x, 22.5f);
        EXPECT_FLOAT_EQ(crabs[1]->getBody()->GetPosition().x, 25.0f);
        for (const char* kind : c.objects)
            EXPECT_EQ(actorsOf(kind).size(), 1u) << kind;

        // The first turn is the player's, and the achievements see it through the mission.
        model->getTurnManager()->startFirstTurn();
        auto* running = dynamic_cast<KVRunningMission*>(KVGameSetup::getInstance()->getCurrentGameModel());
        ASSERT_NE(running, nullptr);
        KVPawn* first = running->getCurrentPawn();
        ASSERT_NE(first, nullptr);
        EXPECT_TRUE(first->isKindOf("KVKelvoPlayer"));
        EXPECT_TRUE(model->getTurnManager()->getCurrentSide());
        EXPECT_EQ(running->getPlayerTurnCount(), 1);
        for (int i = 0; i < 30; ++i)
            model->update(kFrame);
        for (const std::string& line : log.lines)
            ADD_FAILURE() << "logged: " << line;

        CCNotificationCenter::getInstance()->postNotification(EVENT_GAME_SHUTDOWN);
        EXPECT_EQ(running->getCurrentPawn(), nullptr);
        EXPECT_EQ(running->getPlayerTurnCount(), -1);
        KVGameSetup::getInstance()->setCurrentGameModel(nullptr);
        model->release();
        model = new KVGameModel();
    }
}

// Steev sent into M01a's hole through the model's frame: he falls, and once his view has played
// the fall he leaves the actor list and his player's team.
TEST_F(KVMissionLevelsTest, AKelvoLaunchedIntoTheHoleFallsAndLeavesTheTeam) {
    ASSERT_TRUE(model->buildLevel(prepare("M01a")));
    KVPawn* steev = kelvoNamed("steev");
    ASSERT_NE(steev, nullptr);
    auto* player = static_cast<KVPlayerSolo*>(actorsOf("KVPlayerSolo").at(0));
    auto* trace = new pawntest::Trace({EVENT_PAWN_FALL});
    trace->name(steev, "steev");
    // From (5, 10.5) towards the hole's centre (15, 11); the water brakes him to a stop about
    // 12 m on.
    steev->getBody()->SetLinearVelocity(b2Vec2(28.0f, 1.4f));
    for (int i = 0; i < 120 && trace->count("EVENT_PAWN_FALL steev") == 0; ++i)
        model->update(kFrame);
    EXPECT_EQ(trace->count("EVENT_PAWN_FALL steev"), 1) << trace->dump();
    trace->release();

    steev->retain();
    CCNotificationCenter::getInstance()->postNotification(EVENT_DEAD_PAWN_READY, steev);
    EXPECT_FALSE(model->getActors()->containsObject(steev));
    EXPECT_FALSE(player->hasPawn(steev));
    EXPECT_EQ(player->getKelvos()->count(), 1u);
    model->update(kFrame);
    steev->release();
}

// M01c, the lagoon gate: a reach mission against a turn limit, with a crab at its AI spawn point
// and a crab nest that the mission's rule brings a second crab from in the second player turn;
// then a kelvo at the gate wins.
TEST_F(KVMissionLevelsTest, TheLagoonGateSpawnsItsSecondCrabAndIsWonByAKelvoAtTheGate) {
    LogCapture log;
    KVGameSetup::getInstance()->setChapterName(kvdata::newString("Prologue"));
    ASSERT_TRUE(model->buildLevel(prepare("M01c"))) << (log.lines.empty() ? "" : log.lines.back());
    auto* score = dynamic_cast<KVScoreManagerSolo*>(model->getScoreManager());
    ASSERT_NE(score, nullptr);
    EXPECT_EQ(score->getVictoryCondition(), KVScoreManager::kReach);
    EXPECT_EQ(score->getFailCondition(), KVScoreManager::kTurnLimit);
    EXPECT_EQ(score->getFailTurnLimit(), 8);

    std::vector<KVActor*> triggers = actorsOf("KVTrigger");
    ASSERT_EQ(triggers.size(), 1u);
    auto* gate = static_cast<KVTrigger*>(triggers[0]);
    ASSERT_NE(gate->getName(), nullptr);
    EXPECT_EQ(gate->getName()->text, "LagoonGate");
    EXPECT_TRUE(gate->isReachPoint());
    EXPECT_TRUE(gate->isEnabled());
    std::vector<KVActor*> spawners = actorsOf("KVSpawner");
    ASSERT_EQ(spawners.size(), 1u);
    auto* nest = static_cast<KVSpawner*>(spawners[0]);
    EXPECT_EQ(nest->getName()->text, "CrabNest");
    ASSERT_EQ(actorsOf("KVCrab").size(), 1u);
    EXPECT_EQ(KVPawnManager::getInstance()->getEnemyCount(), 1);

    model->getTurnManager()->startFirstTurn();
    for (int i = 0; i < 30; ++i)
        model->update(kFrame);

    // The mission's rule brings the second crab once the player's second turn has started: the
    // turn count the score manager keeps, read by the rule at the next frame.
    auto* trace = new pawntest::Trace(
        {EVENT_NEW_ACTOR, EVENT_SPAWN_PAWN, EVENT_TRIGGER_TRIGGERED, EVENT_VICTORY_DANCE});
    model->update(kFrame);
    EXPECT_EQ(actorsOf("KVCrab").size(), 1u) << "spawned in the first turn";
    CCNotificationCenter::getInstance()->postNotification(EVENT_TURN_START_PLAYER);
    ASSERT_EQ(model->getPlayerTurnCount(), 2);
    model->update(kFrame);
    EXPECT_EQ(trace->count("EVENT_SPAWN_PAWN ?"), 1) << trace->dump();
    std::vector<KVActor*> crabs = actorsOf("KVCrab");
    ASSERT_EQ(crabs.size(), 2u) << trace->dump();
    auto* newcomer = static_cast<KVPawn*>(crabs[1]);
    EXPECT_TRUE(newcomer->isEnemy());
    EXPECT_TRUE(newcomer->isAIDriven());
    EXPECT_FLOAT_EQ(newcomer->getBody()->GetPosition().x, nest->positionX);
    EXPECT_FLOAT_EQ(newcomer->getBody()->GetPosition().y, nest->positionY);
    EXPECT_EQ(KVPawnManager::getInstance()->getEnemyCount(), 2);
    for (int i = 0; i < 30; ++i)
        model->update(kFrame);
    EXPECT_EQ(actorsOf("KVCrab").size(), 2u) << "spawned once";

    // The first kelvo put on the gate sets it off; the end of the move wins the mission, with
    // both crabs still there, within the speed star's three turns.
    KVPawn* kelvo = static_cast<KVPawn*>(actorsOf("KVKelvoPlayer").at(0));
    kelvo->getBody()->SetTransform(b2Vec2(gate->positionX, gate->positionY), 0.0f);
    kelvo->getBody()->SetAwake(true);
    for (int i = 0; i < 5 && trace->count("EVENT_TRIGGER_TRIGGERED ?") == 0; ++i)
        model->update(kFrame);
    EXPECT_EQ(trace->count("EVENT_TRIGGER_TRIGGERED ?"), 1) << trace->dump();
    EXPECT_FALSE(gate->isEnabled());
    CCNotificationCenter::getInstance()->postNotification(EVENT_MOVE_OVER_BEFORE_BUFFER);
    EXPECT_TRUE(score->isVictoryRequested());
    EXPECT_FALSE(score->isDefeatRequested());
    EXPECT_EQ(trace->count("EVENT_VICTORY_DANCE -"), 1) << trace->dump();
    EXPECT_EQ(score->getSpeedStarResult(), KVScoreManagerSolo::kStarEarned);
    trace->release();
    for (const std::string& line : log.lines)
        ADD_FAILURE() << "logged: " << line;
}

} // namespace
