// Power-up spawners and pick-ups: how often a pick-up appears, a covered spot, and who takes it.
#include "ObjectTestSupport.h"

#include "engine/base/CCRandom.h"
#include "game/data/KVGameSetup.h"
#include "game/objects/KVPowerupSpawner.h"
#include "game/powerups/KVPowerup.h"
#include "game/powerups/KVPowerupManager.h"
#include "game/world/KVObjectFactory.h"
#include "game/world/KVRunningMission.h"

using objecttest::tileObject;

namespace {

// The running mission as far as pick-ups see it: its power-up manager.
class TestMission : public KVObject, public KVRunningMission {
public:
    CC_DECLARE_CLASS_NAME(TestMission, KVObject)
    KVPawn* getCurrentPawn() override { return nullptr; }
    int getPlayerTurnCount() override { return 0; }
    KVPowerupManager* getPowerupManager() override { return manager; }
    KVPowerupManager* manager = nullptr;
};

// Keeps every announced pick-up, as the game model does.
class PickupKeeper : public kvengine::CCObject {
public:
    PickupKeeper() {
        kvengine::CCNotificationCenter::getInstance()->addObserver(
            this, notification_selector(PickupKeeper::onNewActor), EVENT_NEW_ACTOR);
    }
    void cleanupBeforeDelete() override {
        kvengine::CCNotificationCenter::getInstance()->removeObserver(this);
        for (KVPowerupPickup* pickup : kept)
            pickup->release();
        kept.clear();
    }
    void onNewActor(kvengine::CCNotification* notification) {
        auto* pickup = dynamic_cast<KVPowerupPickup*>(notification->getObject());
        if (pickup == nullptr) return;
        pickup->retain();
        kept.push_back(pickup);
    }
    std::vector<KVPowerupPickup*> kept;
};

class PowerupSpawnerTest : public objecttest::ObjectWorldTest {
protected:
    void SetUp() override {
        ObjectWorldTest::SetUp();
        KVObjectFactory::registerGameClasses();
        kvengine::CCRandom::seed(3);
        mission = new TestMission();
        mission->manager = new KVPowerupManager();
        // Only energy drinks, whatever the row.
        kvdata::Dict* drinks = kvdata::newDict();
        kvdata::setText(drinks, "energy_drink", "1");
        kvdata::Array* rows = kvdata::newArray();
        for (int i = 0; i < 4; ++i)
            rows->addObject(drinks);
        kvdata::Dict* sets = kvdata::newDict();
        sets->setObject(rows, "default");
        kvdata::Dict* table = kvdata::newDict();
        table->setObject(sets, "ratio_sets");
        mission->manager->loadRows(table, "test");
        KVGameSetup::getInstance()->setCurrentGameModel(mission);
        keeper = new PickupKeeper();
    }
    void TearDown() override {
        KVGameSetup::getInstance()->setCurrentGameModel(nullptr);
        keeper->release();
        ObjectWorldTest::TearDown();
        mission->manager->release();
        mission->release();
    }
    int made() const { return static_cast<int>(keeper->kept.size()); }
    // The pick-ups made at the spot of `spawner`.
    int madeBy(KVPowerupSpawner* spawner) const {
        int count = 0;
        for (KVPowerupPickup* pickup : keeper->kept)
            count += pickup->positionX == spawner->positionX ? 1 : 0;
        return count;
    }
    // A spawner at (x, 5) metres.
    KVPowerupSpawner* makeSpawner(const char* rate, int x = 5) {
        auto* spawner = keep(new KVPowerupSpawner());
        EXPECT_TRUE(spawner->initWithDictionary(tileObject(x * 32 - 16, 144, 32, 32, {{"SpawnRate", rate}})));
        return spawner;
    }
    void turnStart() {
        post(EVENT_START_TURN, nullptr);
        stepAll(1);
    }

    TestMission* mission = nullptr;
    PickupKeeper* keeper = nullptr;
};

TEST_F(PowerupSpawnerTest, APickUpAppearsEverySpawnRateTurnStartsOnceTheLastIsGone) {
    const struct {
        const char* rate;
        std::vector<int> madeAfterEachStart;
    } cases[] = {{"1", {1, 1, 1}}, {"3", {0, 0, 1, 1, 1, 1}}};
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string("SpawnRate ") + c.rate);
        KVPowerupSpawner* spawner = makeSpawner(c.rate, c.rate[0] == '1' ? 5 : 10);
        std::vector<int> counts;
        for (size_t i = 0; i < c.madeAfterEachStart.size(); ++i) {
            turnStart();
            counts.push_back(madeBy(spawner));
        }
        EXPECT_EQ(counts, c.madeAfterEachStart) << "one at a time while it waits";
        ASSERT_NE(spawner->getPickup(), nullptr);
        EXPECT_FLOAT_EQ(spawner->getPickup()->positionX, spawner->positionX);
        EXPECT_EQ(spawner->getPickup()->viewClassName(), "KVPowerupPickupV");
        // Taken away, the next one comes after the rate's count again.
        post(EVENT_REMOVE_ACTOR, spawner->getPickup());
        spawner->setTaken();
        stepAll(1);
        EXPECT_EQ(spawner->getPickup(), nullptr);
        const int before = madeBy(spawner);
        for (int i = 0; i < std::atoi(c.rate); ++i)
            turnStart();
        EXPECT_EQ(madeBy(spawner), before + 1);
        post(EVENT_REMOVE_ACTOR, spawner->getPickup());
        post(EVENT_GAME_SHUTDOWN);
        EXPECT_EQ(spawner->getPickup(), nullptr) << "forgotten at shutdown";
    }
}

TEST_F(PowerupSpawnerTest, ACoveredSpotWaitsForALaterCountedStart) {
    KVPowerupSpawner* spawner = makeSpawner("1");
    KVPawn* sitter = makePawn("kelvo", 5.3f, 5.0f, pawntest::fighterStats());
    sitter->setProtected(true); // so it does not take the pick-up once there is one
    EXPECT_TRUE(spawner->isSpotCovered());
    turnStart();
    turnStart();
    EXPECT_EQ(made(), 0);
    sitter->getBody()->SetTransform(b2Vec2(9.0f, 5.0f), 0.0f);
    stepAll(1);
    EXPECT_FALSE(spawner->isSpotCovered());
    turnStart();
    EXPECT_EQ(made(), 1);
    // A sensor zone (category 2) does not cover it; a wall does.
    auto* zone = keep(new objecttest::SensorActor());
    zone->initAt(5.0f, 5.0f);
    EXPECT_FALSE(spawner->isSpotCovered());
    b2BodyDef def;
    def.position.Set(5.5f, 5.0f);
    b2Body* wall = physics->getWorld()->CreateBody(&def);
    b2PolygonShape box;
    box.SetAsBox(0.2f, 0.2f);
    wall->CreateFixture(&box, 0.0f);
    EXPECT_TRUE(spawner->isSpotCovered());
}

TEST_F(PowerupSpawnerTest, OnlyALivingUnprotectedPlayerPawnTakesAPickUp) {
    KVPowerupSpawner* spawner = makeSpawner("1");
    turnStart();
    ASSERT_NE(spawner->getPickup(), nullptr);
    KVPowerupPickup* pickup = spawner->getPickup();
    auto* t = trace({EVENT_REMOVE_ACTOR, EVENT_POWERUP_PICKED_UP});
    t->name(pickup, "pickup");
    const struct {
        const char* what;
        bool enemy, dead, isProtected;
    } passers[] = {{"an enemy", true, false, false},
                   {"a dead pawn", false, true, false},
                   {"a protected pawn", false, false, true}};
    for (const auto& c : passers) {
        SCOPED_TRACE(c.what);
        KVPawn* pawn = makePawn("passer", 3.0f, 5.0f, pawntest::fighterStats(), c.enemy, c.enemy);
        if (c.dead) {
            pawn->setTakesDamage(true);
            pawn->takeDamage(1000, nullptr, KVActionEvent::MeleeHit, 1.0f, 0.0f);
        }
        pawn->setProtected(c.isProtected);
        pawn->getBody()->SetLinearVelocity(b2Vec2(6.0f, 0.0f));
        stepAll(60); // across the spot and beyond
        EXPECT_GT(pawn->positionX, 5.0f);
        EXPECT_FALSE(pickup->isRemoved());
        EXPECT_EQ(pawn->getModifiers()->count(), 0u);
        pawn->getBody()->SetTransform(b2Vec2(20.0f, 20.0f), 0.0f);
        pawn->getBody()->SetLinearVelocity(b2Vec2(0.0f, 0.0f));
    }
    EXPECT_TRUE(t->lines.empty()) << t->dump();
    // Two player pawns arrive together: the first takes it, the other finds it gone.
    KVPawn* taker = makePawn("taker", 4.0f, 5.0f, pawntest::fighterStats());
    KVPawn* second = makePawn("second", 6.0f, 5.0f, pawntest::fighterStats());
    t->name(taker, "taker");
    t->name(second, "second");
    taker->getBody()->SetLinearVelocity(b2Vec2(3.0f, 0.0f));
    second->getBody()->SetLinearVelocity(b2Vec2(-3.0f, 0.0f));
    stepAll(10);
    EXPECT_TRUE(pickup->isRemoved());
    EXPECT_EQ(t->count("EVENT_REMOVE_ACTOR pickup"), 1);
    EXPECT_EQ(taker->getModifiers()->count() + second->getModifiers()->count(), 1u);
    EXPECT_EQ(t->lines.size(), 2u) << t->dump();
    EXPECT_EQ(spawner->getPickup(), nullptr) << "the spawner forgets a taken pick-up";
}

} // namespace
