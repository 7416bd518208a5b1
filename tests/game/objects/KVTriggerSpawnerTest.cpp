// Triggers and spawners: who sets a trigger off and how often, its radius and switches by name,
// the spawn events a spawner answers and the spawns it refuses.
#include "ObjectTestSupport.h"

#include "game/data/KVGameParameters.h"
#include "game/data/KVGameSetup.h"
#include "game/objects/KVSpawnEvent.h"
#include "game/objects/KVSpawner.h"
#include "game/objects/KVTrigger.h"
#include "game/pawns/KVKelvoPlayer.h"
#include "game/pawns/KVPawnManager.h"
#include "game/world/KVObjectFactory.h"
#include "game/world/KVTriggerEvent.h"

using kvengine::CCString;
using objecttest::tileObject;
using pawntest::LogCapture;

namespace {

class KVTriggerTest : public objecttest::ObjectWorldTest {
protected:
    // A trigger "goal" of 64 x 64 pixels centred on (5, 5) metres.
    KVTrigger* makeTrigger(std::initializer_list<std::pair<const char*, const char*>> extra = {}) {
        auto* trigger = keep(new KVTrigger());
        kvobjects::Dict* properties = tileObject(128, 128, 64, 64, {{"Name", "goal"}});
        for (const auto& entry : extra)
            kvdata::setText(properties, entry.first, entry.second);
        EXPECT_TRUE(trigger->initWithDictionary(properties));
        return trigger;
    }
    // A player kelvo (human-driven unless said) at (x, 5).
    KVKelvoPlayer* makePlayerKelvo(float x, bool aiDriven = false) {
        auto* kelvo = pawntest::TestPawn::setUp(new KVKelvoPlayer(), "steev", x, 5.0f,
                                                pawntest::fighterStats(), false, aiDriven);
        pawns.push_back(kelvo);
        return kelvo;
    }
    void switchTrigger(kvengine::CCString* notification, const char* name) {
        auto* text = new CCString(name);
        auto* event = new KVTriggerEvent(text, nullptr, false);
        post(notification, event);
        event->release();
        text->release();
    }
};

TEST_F(KVTriggerTest, OnlyALivingPlayerKelvoSetsItOffAndOnlyOnce) {
    KVTrigger* trigger = makeTrigger();
    EXPECT_FLOAT_EQ(trigger->positionX, 5.0f);
    EXPECT_FLOAT_EQ(trigger->getRadius(), 1.0f);
    EXPECT_EQ(trigger->viewClassName(), "");
    auto* t = trace({EVENT_TRIGGER_TRIGGERED});
    // A computer kelvo, a dead one, a plain kelvo and a projectile-like sensor change nothing.
    KVPawn* crab = pawntest::TestPawn::make("crab", 5.0f, 5.0f, pawntest::fighterStats(), true, true);
    pawns.push_back(crab);
    makeKelvo(5.0f, 5.0f);
    auto* sensor = keep(new objecttest::SensorActor());
    sensor->initAt(5.0f, 5.0f);
    KVKelvoPlayer* dead = makePlayerKelvo(5.0f);
    dead->setTakesDamage(true);
    dead->takeDamage(1000, nullptr, KVActionEvent::MeleeHit, 1.0f, 0.0f);
    EXPECT_TRUE(dead->isDead());
    stepAll(3);
    EXPECT_TRUE(t->lines.empty()) << t->dump();
    EXPECT_TRUE(trigger->isEnabled());
    // Two living kelvos arriving in the same step: the first fires it, the second finds it off.
    KVKelvoPlayer* first = makePlayerKelvo(5.2f);
    makePlayerKelvo(4.8f);
    t->name(first, "first");
    stepAll(3);
    ASSERT_EQ(t->lines.size(), 1u) << t->dump();
    EXPECT_FALSE(trigger->isEnabled());
    // Switched back on by name, it fires again for the next kelvo to enter.
    switchTrigger(EVENT_TRIGGER_ENABLE, "other");
    EXPECT_FALSE(trigger->isEnabled());
    switchTrigger(EVENT_TRIGGER_ENABLE, "goal");
    EXPECT_TRUE(trigger->isEnabled());
    switchTrigger(EVENT_TRIGGER_DISABLE, "goal");
    EXPECT_FALSE(trigger->isEnabled());
}

TEST_F(KVTriggerTest, ReachPointsHaveTheirFixedRadiusAndAView) {
    const struct {
        const char* reach;
        const char* enabled;
        float radius;
        const char* view;
        bool on;
    } cases[] = {
        {"YES", nullptr, 1.5625f, "KVTriggerV", true},
        {"1", "NO", 1.5625f, "KVTriggerV", false},
        {"NO", "YES", 1.0f, "", true},
    };
    for (const auto& c : cases) {
        auto* trigger = keep(new KVTrigger());
        kvobjects::Dict* properties = tileObject(0, 0, 64, 300, {{"Name", "r"}, {"isReachPoint", c.reach}});
        if (c.enabled != nullptr) kvdata::setText(properties, "Enabled", c.enabled);
        ASSERT_TRUE(trigger->initWithDictionary(properties));
        EXPECT_FLOAT_EQ(trigger->getRadius(), c.radius) << c.reach;
        EXPECT_EQ(trigger->viewClassName(), c.view);
        EXPECT_EQ(trigger->isEnabled(), c.on);
        EXPECT_EQ(trigger->getImageStem(), "reachpoint");
    }
}

TEST_F(KVTriggerTest, BadTriggerDictionariesAreRefusedAndLogged) {
    LogCapture log;
    auto* unnamed = keep(new KVTrigger());
    EXPECT_FALSE(unnamed->initWithDictionary(tileObject(0, 0, 64, 64)));
    auto* none = keep(new KVTrigger());
    EXPECT_FALSE(none->initWithDictionary(nullptr));
    EXPECT_TRUE(log.contains("no \"Name\""));
    EXPECT_TRUE(log.contains("no object dictionary"));
}

class KVSpawnerTest : public objecttest::ObjectWorldTest {
protected:
    void SetUp() override {
        ObjectWorldTest::SetUp();
        KVObjectFactory::registerGameClasses();
        kvdata::Dict* ai = KVGameParameters::getInstance()->getKelvoAiStatsTable();
        kvdata::Dict* crab = pawntest::fighterStats({{"engine_class", "KVCrab"}, {"sprite_name", "crab"}});
        ai->setObject(crab, "testcrab");
        ai->setObject(pawntest::fighterStats({{"engine_class", "KVNoSuchClass"}}), "ghostcrab");
        ai->setObject(pawntest::fighterStats(), "classless");
        ai->setObject(pawntest::fighterStats({{"engine_class", "KVSpawnEvent"}}), "notapawn");
    }
    KVSpawner* makeSpawner(const char* name, int x) {
        auto* spawner = keep(new KVSpawner());
        EXPECT_TRUE(spawner->initWithDictionary(tileObject(x, 64, 32, 32, {{"Name", name}})));
        return spawner;
    }
    void spawn(const char* spawner, bool enemy, const char* pawn) {
        auto* event = new KVSpawnEvent();
        auto* spawnerName = new CCString(spawner);
        auto* pawnName = new CCString(pawn);
        event->set(spawnerName, enemy, pawnName);
        spawnerName->release();
        pawnName->release();
        post(EVENT_SPAWN_PAWN, event);
        event->release();
    }
};

TEST_F(KVSpawnerTest, SpawnsAtEverySpawnerOfTheNameAndRefusesWhatCannotBeMade) {
    KVSpawner* spawner = makeSpawner("north", 96);
    makeSpawner("north", 192);
    makeSpawner("south", 288);
    EXPECT_FLOAT_EQ(spawner->positionX, 3.5f);
    EXPECT_FLOAT_EQ(spawner->positionY, 2.5f);
    EXPECT_EQ(spawner->viewClassName(), "");
    KVPawnManager* manager = KVPawnManager::getInstance();
    const int before = manager->getEnemyCount();
    spawn("north", true, "testcrab");
    EXPECT_EQ(manager->getEnemyCount(), before + 2);
    spawn("west", true, "testcrab");
    EXPECT_EQ(manager->getEnemyCount(), before + 2);

    LogCapture log;
    const struct {
        bool enemy;
        const char* pawn;
        const char* logged;
    } refused[] = {
        {true, "nosuchcrab", "no AI stats"},          {true, "ghostcrab", "no known engine_class"},
        {true, "classless", "no known engine_class"}, {true, "notapawn", "is no pawn class"},
        {false, "steev", "no player side to join"},   {true, "", "without a pawn name"},
    };
    for (const auto& r : refused) {
        spawn("south", r.enemy, r.pawn);
        EXPECT_TRUE(log.contains(r.logged)) << r.pawn;
    }
    EXPECT_EQ(manager->getEnemyCount(), before + 2);
}

TEST_F(KVSpawnerTest, ATeamMemberIsNotSpawnedAsAnEnemy) {
    makeSpawner("north", 96);
    KVGameSetup* setup = KVGameSetup::getInstance();
    auto* steev = new CCString("steev");
    setup->getTeamKelvoNames()->addObject(steev);
    steev->release();
    kvdata::Dict* ai = KVGameParameters::getInstance()->getKelvoAiStatsTable();
    ai->setObject(pawntest::fighterStats({{"engine_class", "KVCrab"}}), "steevAI");
    const int before = KVPawnManager::getInstance()->getEnemyCount();
    spawn("north", true, "steevAI");
    EXPECT_EQ(KVPawnManager::getInstance()->getEnemyCount(), before);
    setup->getTeamKelvoNames()->removeAllObjects();
}

} // namespace
