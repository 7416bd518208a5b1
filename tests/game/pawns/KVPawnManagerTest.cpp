#include "PawnTestSupport.h"

#include "tests/game/data/GameDataFixture.h"

#include "game/data/KVHelmet.h"
#include "game/pawns/KVKelvoPlayer.h"

using kvengine::CCPoint;
using kvengine::CCString;
using pawntest::fighterStats;
using pawntest::LogCapture;
using pawntest::PawnWorldTest;

namespace {

// A player kelvo as the creatures code will make it: a KVKelvoPlayer with an optional helmet.
class TestKelvo : public KVKelvoPlayer {
public:
    static TestKelvo* make(const char* name, float x, float y, const char* helmetName) {
        auto* kelvo = new TestKelvo();
        auto* typeName = new CCString(name);
        EXPECT_TRUE(kelvo->initAt(x, y, nullptr, typeName));
        typeName->release();
        kelvo->readStats(fighterStats());
        EXPECT_TRUE(kelvo->createBody());
        if (helmetName != nullptr) {
            // A helmet record made without a wearer: only its name matters here.
            auto* helmetText = new CCString(helmetName);
            auto* helmet = new KVHelmet(helmetText, nullptr);
            kelvo->setHelmet(helmet);
            helmet->release();
            helmetText->release();
        }
        kelvo->registerObservers();
        return kelvo;
    }
};

// The game data of the data tests (helmets, creature stats) is installed for the whole program.
class KVPawnManagerTest : public PawnWorldTest {
protected:
    void TearDown() override {
        PawnWorldTest::TearDown();
        kvtest::resetSharedGameObjects();
    }
    KVPawnManager* manager() { return KVPawnManager::getInstance(); }
    TestKelvo* makeKelvo(const char* name, float x, float y, const char* helmetName) {
        TestKelvo* kelvo = TestKelvo::make(name, x, y, helmetName);
        pawns.push_back(kelvo);
        return kelvo;
    }
};

TEST_F(KVPawnManagerTest, ListsAndCountsFollowTheActorNotifications) {
    auto* human = makePawn("human", 0.0f, 0.0f, fighterStats());
    auto* computerMate = makePawn("ai", 3.0f, 0.0f, fighterStats(), false, true);
    auto* crab = makePawn("crab", 6.0f, 0.0f, fighterStats(), true, true);
    // A second registration lists and counts the pawn twice.
    post(EVENT_NEW_ACTOR, crab);
    post(EVENT_NEW_ACTOR, nullptr); // not a pawn: ignored
    KVPawnManager* registry = manager();
    EXPECT_EQ(registry->getAllPawns()->count(), 4u);
    EXPECT_EQ(registry->getPlayerPawns()->count(), 2u);
    EXPECT_EQ(registry->getEnemyPawns()->count(), 2u);
    EXPECT_EQ(registry->getHumanPawnCount(), 1);
    EXPECT_EQ(registry->getEnemyCount(), 2);
    EXPECT_EQ(registry->getPlayerPawns()->objectAtIndex(0), human);
    EXPECT_EQ(registry->getPlayerPawns()->objectAtIndex(1), computerMate);

    // Removal takes a pawn out of the lists (one listing); the counters stay.
    post(EVENT_REMOVE_ACTOR, crab);
    post(EVENT_REMOVE_ACTOR, human);
    post(EVENT_REMOVE_ACTOR, human); // absent now: nothing
    EXPECT_EQ(registry->getAllPawns()->count(), 2u);
    EXPECT_EQ(registry->getEnemyPawns()->count(), 1u);
    EXPECT_EQ(registry->getPlayerPawns()->count(), 1u);
    EXPECT_EQ(registry->getHumanPawnCount(), 1);
    EXPECT_EQ(registry->getEnemyCount(), 2);

    post(EVENT_GAME_SHUTDOWN);
    EXPECT_EQ(registry->getAllPawns()->count(), 0u);
    EXPECT_EQ(registry->getPlayerPawns()->count(), 0u);
    EXPECT_EQ(registry->getEnemyPawns()->count(), 0u);
    EXPECT_EQ(registry->getHumanPawnCount(), 0);
    EXPECT_EQ(registry->getEnemyCount(), 0);
    EXPECT_EQ(KVPawnManager::existingInstance(), registry); // the manager itself stays
}

TEST_F(KVPawnManagerTest, FindPawnAtPointAnswersTheFirstRegistered) {
    auto* first = makePawn("first", 0.0f, 0.0f, fighterStats());
    auto* second = makePawn("second", 1.0f, 0.0f, fighterStats(), true);
    EXPECT_EQ(manager()->findPawnAtPoint(0.6f, 0.0f), first); // on both
    EXPECT_EQ(manager()->findPawnAtPoint(2.2f, 0.0f), second);
    EXPECT_EQ(manager()->findPawnAtPoint(0.0f, 5.0f), nullptr);
}

TEST_F(KVPawnManagerTest, DeadAndFallenKelvosAreRememberedWithTheirHelmets) {
    auto* steev = makeKelvo("steev", 0.0f, 0.0f, "iron_helm");
    auto* kiwa = makeKelvo("kiwa", 5.0f, 0.0f, nullptr);
    auto* crab = makePawn("crab", 10.0f, 0.0f, fighterStats(), true);
    KVPawnManager* registry = manager();

    CCString* name = nullptr;
    CCString* helmet = nullptr;
    auto* untouched = new CCString("untouched");
    name = untouched;
    helmet = untouched;
    EXPECT_FALSE(registry->getLastDeadKelvo(&name, &helmet));
    EXPECT_FALSE(registry->getLastFallenKelvo(&name, &helmet));
    EXPECT_EQ(name, untouched);
    EXPECT_EQ(helmet, untouched);

    // steev falls into a hole and is then removed: listed as fallen and as dead.
    post(EVENT_PAWN_FALL, steev);
    post(EVENT_PAWN_FALL, crab); // enemies are not remembered
    post(EVENT_REMOVE_ACTOR, steev);
    post(EVENT_REMOVE_ACTOR, crab);
    ASSERT_TRUE(registry->getLastFallenKelvo(&name, &helmet));
    EXPECT_STREQ(name->c_str(), "steev");
    EXPECT_STREQ(helmet->c_str(), "iron_helm");
    ASSERT_TRUE(registry->getLastDeadKelvo(&name, &helmet));
    EXPECT_STREQ(name->c_str(), "steev");

    // kiwa dies without a helmet: the helmet output is left as it was.
    post(EVENT_REMOVE_ACTOR, kiwa);
    helmet = untouched;
    ASSERT_TRUE(registry->getLastDeadKelvo(&name, &helmet));
    EXPECT_STREQ(name->c_str(), "kiwa");
    EXPECT_EQ(helmet, untouched);

    // Forgetting kiwa brings steev back as the last dead; forgetting steev empties both lists.
    registry->forgetKelvo(kiwa->getTypeName());
    ASSERT_TRUE(registry->getLastDeadKelvo(&name, &helmet));
    EXPECT_STREQ(name->c_str(), "steev");
    EXPECT_STREQ(helmet->c_str(), "iron_helm");
    registry->forgetKelvo(steev->getTypeName());
    EXPECT_FALSE(registry->getLastDeadKelvo(&name, &helmet));
    EXPECT_FALSE(registry->getLastFallenKelvo(&name, &helmet));
    untouched->release();
}

// Candidates: ring 1 (1.875 m) first, from straight up turning counter-clockwise by 30 degrees.
TEST_F(KVPawnManagerTest, FreeSpotSearchTriesAboveFirstAndRefusesSpotsBehindWalls) {
    auto* kelvo = makePawn("kelvo", 0.0f, 0.0f, fighterStats());
    CCPoint spot(99.0f, 99.0f);
    ASSERT_TRUE(manager()->findFreeSpotNear(kelvo, 16.0f, &spot));
    EXPECT_FLOAT_EQ(spot.x, 0.0f);
    EXPECT_FLOAT_EQ(spot.y, 1.875f);

    // A crab on that spot: the next candidate, 30 degrees on, is taken (for a 0.25 m body).
    makePawn("crab", 0.0f, 1.875f, fighterStats(), true);
    ASSERT_TRUE(manager()->findFreeSpotNear(kelvo, 8.0f, &spot));
    EXPECT_NEAR(spot.x, -0.9375f, 1e-5f);
    EXPECT_NEAR(spot.y, 1.6237976f, 1e-5f);

    // Elsewhere, a short wall just above a kelvo: the candidates straight up and at 30 degrees
    // are empty but hidden behind it; 60 degrees (under the wall's end) is the first taken.
    auto* walled = makePawn("walled", 50.0f, 50.0f, fighterStats());
    b2BodyDef wallDef;
    wallDef.position.Set(50.0f, 51.0f);
    b2Body* wall = physics->getWorld()->CreateBody(&wallDef);
    b2PolygonShape box;
    box.SetAsBox(1.0f, 0.05f);
    wall->CreateFixture(&box, 0.0f);
    ASSERT_TRUE(manager()->findFreeSpotNear(walled, 16.0f, &spot));
    EXPECT_NEAR(spot.x, 50.0f - 1.6237976f, 1e-4f);
    EXPECT_NEAR(spot.y, 50.9375f, 1e-4f);

    // Nothing fits (every candidate overlaps the kelvo itself), or no actor: false, output kept.
    LogCapture log;
    const CCPoint before(7.0f, 7.0f);
    spot = before;
    EXPECT_FALSE(manager()->findFreeSpotNear(kelvo, 1000.0f, &spot));
    EXPECT_FALSE(manager()->findFreeSpotNear(nullptr, 16.0f, &spot));
    EXPECT_EQ(spot.x, before.x);
    EXPECT_EQ(spot.y, before.y);
    EXPECT_TRUE(log.contains("findFreeSpotNear"));
}

// The revival consumables ask by creature name: the radius comes from the creature stats.
TEST_F(KVPawnManagerTest, FreeSpotForAKelvoUsesItsRadiusAndRefusesUnknownCreatures) {
    auto* kelvo = makePawn("kelvo", 0.0f, 0.0f, fighterStats());
    CCPoint spot(3.0f, 3.0f);
    LogCapture log;
    EXPECT_FALSE(manager()->findFreeSpotForKelvo(kelvo, "nobody", &spot));
    EXPECT_FALSE(manager()->findFreeSpotForKelvo(kelvo, nullptr, &spot));
    EXPECT_TRUE(log.contains("\"nobody\""));
    EXPECT_EQ(spot.x, 3.0f);
    ASSERT_TRUE(manager()->findFreeSpotForKelvo(kelvo, "steev", &spot));
    EXPECT_FLOAT_EQ(spot.y, 1.875f);
}

} // namespace
