// Consumables used in a mission: when a use is refused, the power-up consumables, the tentacles'
// revival, the camera's wait, the kraken's strike, and the units a restart gives back.
#include "game/objects/ObjectTestSupport.h"

#include "tests/game/data/GameDataFixture.h"

#include "game/data/KVGameSetup.h"
#include "game/data/KVPlayerParameters.h"
#include "game/pawns/KVKelvoPlayer.h"
#include "game/powerups/KVConsumableManager.h"
#include "game/powerups/KVKraken.h"
#include "game/powerups/KVPowerupKinds.h"
#include "game/views/KVKrakenV.h"
#include "game/world/KVCameraService.h"
#include "game/world/KVRunningMission.h"

using kvengine::CCNotificationCenter;
using kvengine::CCString;
using pawntest::fighterStats;
using pawntest::TestPawn;

namespace {

// The running mission as the consumables see it: its current pawn and whether anything is busy.
class TestMission : public KVObject, public KVRunningMission {
public:
    CC_DECLARE_CLASS_NAME(TestMission, KVObject)
    KVPawn* getCurrentPawn() override { return current; }
    int getPlayerTurnCount() override { return 1; }
    bool isAnythingBusy() override { return busy; }
    KVPawn* current = nullptr;
    bool busy = false;
};

// A camera away from the current pawn until the test says otherwise.
class TestCamera : public KVCameraService {
public:
    bool isPawnOnScreen(KVPawn* pawn) override { return pawn != nullptr; }
    bool isZoomedOutManually() override { return false; }
    bool isLevelPointOnScreen(float, float) override { return true; }
    bool isPlayable() override { return playable; }
    bool playable = true;
};

TestCamera& testCamera() {
    static TestCamera camera;
    return camera;
}
KVCameraService* sharedTestCamera() {
    return &testCamera();
}

// Keeps every announced kraken and kelvo, as the game model does, and updates the krakens.
class ActorKeeper : public kvengine::CCObject {
public:
    ActorKeeper() {
        CCNotificationCenter::getInstance()->addObserver(this, notification_selector(ActorKeeper::onNewActor),
                                                         EVENT_NEW_ACTOR);
    }
    void cleanupBeforeDelete() override {
        CCNotificationCenter::getInstance()->removeObserver(this);
        for (KVActor* actor : kept)
            actor->release();
        kept.clear();
    }
    void onNewActor(kvengine::CCNotification* notification) {
        auto* actor = dynamic_cast<KVActor*>(notification->getObject());
        if (actor == nullptr || !(actor->isKindOf("KVKraken") || actor->isKindOf("KVKelvoPlayer"))) return;
        actor->retain();
        kept.push_back(actor);
    }
    template <class T> std::vector<T*> keptOf(const char* className) const {
        std::vector<T*> found;
        for (KVActor* actor : kept)
            if (actor->isKindOf(className)) found.push_back(static_cast<T*>(actor));
        return found;
    }
    std::vector<KVActor*> kept;
};

class ConsumableUseTest : public objecttest::ObjectWorldTest {
protected:
    void SetUp() override {
        kvtest::resetSharedGameObjects();
        for (const char* file : {"kelvoStats.plist", "kelvoStatsAI.plist", "helmets.plist"})
            kvtest::replaceDataFile(file,
                                    kvtest::readText(kvtest::fixturePath(std::string("pawns/") + file)));
        std::error_code ignored;
        std::filesystem::remove_all(kvtest::gameDataPaths().dataHome, ignored);
        std::filesystem::create_directories(kvtest::gameDataPaths().dataHome);
        ObjectWorldTest::SetUp();
        KVCameraService::setSharedSource(&sharedTestCamera, &sharedTestCamera);
        testCamera().playable = true;
        mission = new TestMission();
        KVGameSetup::getInstance()->setCurrentGameModel(mission);
        keeper = new ActorKeeper();
        manager = KVConsumableManager::getInstance();
        player = makePawn("steev", 2.0f, 2.0f, fighterStats());
        mission->current = player;
        events =
            trace({EVENT_NOTIFY_IN_ACTION, EVENT_NOTIFY_IDLE, EVENT_AUTO_FOCUS_REQUEST, EVENT_PAWN_UNSELECTED,
                   EVENT_POWER_UP_TRIGGERED, EVENT_CONSUMABLE_START_HUD_FX_TENTACLE_GRIP,
                   EVENT_TENTACLE_GRIP_TRIGGERED, EVENT_SPAWN_PAWN, EVENT_KRAKEN_TRIGGERED,
                   EVENT_KRAKEN_EFFECT_TRIGGERED, EVENT_KRAKEN_SOUND_TRIGGER, EVENT_REMOVE_ACTOR});
        events->name(manager, "manager");
        events->name(player, "player");
    }
    void TearDown() override {
        manager->release();
        keeper->release();
        KVGameSetup::getInstance()->setCurrentGameModel(nullptr);
        ObjectWorldTest::TearDown();
        mission->release();
        KVCameraService::setSharedSource(nullptr, nullptr);
        kvtest::resetSharedGameObjects();
        kvtest::installBaseData();
    }

    TestPawn* makePawn(const char* name, float x, float y, kvdata::Dict* stats, bool enemy = false,
                       bool ai = false) {
        TestPawn* pawn = TestPawn::make(name, x, y, stats, enemy, ai);
        pawns.push_back(pawn);
        return pawn;
    }
    static KVPlayerParameters* profile() { return KVPlayerParameters::getInstance(); }
    static int stock(const char* name) { return profile()->getConsumableAmount(name); }
    // The frames of the game loop with the kept krakens updated too.
    void run(int frames) {
        for (int i = 0; i < frames; ++i) {
            stepAll();
            for (KVKraken* kraken : keeper->keptOf<KVKraken>("KVKraken"))
                if (!kraken->isRemoved()) kraken->update(pawntest::kFrame);
        }
    }

    TestMission* mission = nullptr;
    ActorKeeper* keeper = nullptr;
    KVConsumableManager* manager = nullptr;
    TestPawn* player = nullptr;
    pawntest::Trace* events = nullptr;
};

TEST_F(ConsumableUseTest, AUseIsRefusedUnlessAHumanPawnPlaysOnAQuietBoard) {
    TestPawn* crab = makePawn("crab", 8.0f, 2.0f, fighterStats(), true, true);
    profile()->addConsumable("sushi", 1);
    const struct {
        const char* what;
        const char* name;
        KVPawn* current;
        bool busy;
        const char* logLine;
    } cases[] = {
        {"the computer's turn", "sushi", crab, false, nullptr},
        {"no pawn plays", "sushi", nullptr, false, nullptr},
        {"something is busy", "sushi", player, true, nullptr},
        {"a name of no consumable", "golden_trident", player, false,
         "\"golden_trident\" is not a consumable"},
        {"the brainwash is used outside missions", "brainwash_medusa", player, false, "is not a consumable"},
        {"none in stock", "cocktail", player, false, "no \"cocktail\" in stock"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        pawntest::LogCapture log;
        events->clear();
        mission->current = c.current;
        mission->busy = c.busy;
        EXPECT_FALSE(manager->useConsumable(c.name));
        EXPECT_TRUE(events->lines.empty()) << events->dump();
        EXPECT_EQ(manager->getPendingKind(), KVConsumableManager::kNone);
        if (c.logLine != nullptr) {
            EXPECT_TRUE(log.contains(c.logLine));
        }
    }
    EXPECT_EQ(stock("sushi"), 1);
    EXPECT_TRUE(manager->getUsage().empty());
    EXPECT_EQ(player->getModifiers()->count(), 0u);
}

TEST_F(ConsumableUseTest, TwoSushisAreTakenFromTheStockAndARestartGivesBothBack) {
    profile()->addConsumable("sushi", 3);
    player->setSelected(true);
    events->clear();
    ASSERT_TRUE(manager->useConsumable("sushi"));
    EXPECT_EQ(events->lines,
              (std::vector<std::string>{"EVENT_NOTIFY_IN_ACTION manager", "EVENT_PAWN_UNSELECTED player",
                                        "EVENT_POWER_UP_TRIGGERED ?", "EVENT_NOTIFY_IDLE manager"}));
    ASSERT_EQ(player->getModifiers()->count(), 1u);
    EXPECT_TRUE(player->getModifiers()->objectAtIndex(0)->isKindOf("KVPowerupMaguroSushi"));
    // A second one while the first is not yet used up: the manager is idle again.
    ASSERT_TRUE(manager->useConsumable("sushi"));
    EXPECT_EQ(stock("sushi"), 1);
    EXPECT_EQ(manager->getUsage(), (std::map<std::string, int>{{"sushi", 2}}));

    manager->flushUsage();
    EXPECT_EQ(stock("sushi"), 3);
    EXPECT_TRUE(manager->getUsage().empty());
    // A flushed record gives nothing a second time.
    manager->flushUsage();
    EXPECT_EQ(stock("sushi"), 3);
}

TEST_F(ConsumableUseTest, EachPowerupConsumableGivesItsPowerup) {
    const struct {
        const char* name;
        const char* powerup;
    } cases[] = {{"cocktail", "KVPowerupEnergyDrink"}, {"sushi", "KVPowerupMaguroSushi"}};
    float x = 2.0f;
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        TestPawn* pawn = makePawn("steev", x += 3.0f, 6.0f, fighterStats());
        pawn->setHitPoints(50);
        mission->current = pawn;
        profile()->addConsumable(c.name, 1);
        ASSERT_TRUE(manager->canUseConsumable(c.name));
        ASSERT_TRUE(manager->useConsumable(c.name));
        ASSERT_EQ(pawn->getModifiers()->count(), 1u);
        EXPECT_TRUE(pawn->getModifiers()->objectAtIndex(0)->isKindOf(c.powerup));
        EXPECT_EQ(stock(c.name), 0);
    }
}

TEST_F(ConsumableUseTest, WithTheCameraAwayTheUseWaitsForTheCurrentPawnsSelection) {
    profile()->addConsumable("cocktail", 1);
    player->setHitPoints(50);
    testCamera().playable = false;
    events->clear();
    ASSERT_TRUE(manager->useConsumable("cocktail"));
    EXPECT_EQ(events->lines,
              (std::vector<std::string>{"EVENT_NOTIFY_IN_ACTION manager", "EVENT_AUTO_FOCUS_REQUEST -"}));
    EXPECT_EQ(manager->getStep(), KVConsumableManager::kWaitingForCamera);
    EXPECT_EQ(player->getModifiers()->count(), 0u);
    // Busy until done: a second use is refused meanwhile.
    EXPECT_FALSE(manager->useConsumable("cocktail"));

    events->clear();
    player->setSelected(true);
    EXPECT_FALSE(player->isSelected());
    EXPECT_EQ(player->getModifiers()->count(), 1u);
    EXPECT_EQ(events->count("EVENT_NOTIFY_IDLE manager"), 1);
    EXPECT_EQ(stock("cocktail"), 0);
    // A later selection starts nothing.
    player->setSelected(true);
    EXPECT_EQ(player->getModifiers()->count(), 1u);
}

TEST_F(ConsumableUseTest, TheTentacleGripBringsBackOnlyAFallenKelvo) {
    profile()->addConsumable("tentacle_grip", 2);
    EXPECT_FALSE(manager->canUseConsumable("tentacle_grip"));
    // Nobody fell: the effect plays, nobody comes back and no unit is taken.
    ASSERT_TRUE(manager->useConsumable("tentacle_grip"));
    EXPECT_EQ(manager->getStep(), KVConsumableManager::kTentacleEffect);
    events->clear();
    manager->triggerPendingTentacle();
    EXPECT_EQ(events->lines,
              (std::vector<std::string>{"EVENT_TENTACLE_GRIP_TRIGGERED -", "EVENT_NOTIFY_IDLE manager"}));
    EXPECT_EQ(stock("tentacle_grip"), 2);
    EXPECT_TRUE(manager->getUsage().empty());
    // Nothing pending: the HUD's call does nothing.
    events->clear();
    manager->triggerPendingTentacle();
    EXPECT_TRUE(events->lines.empty());

    // Vahine falls into a hole.
    auto* vahine = new KVKelvoPlayer();
    auto* name = new CCString("vahine");
    ASSERT_TRUE(vahine->initForPlayer(2.0f, 10.0f, nullptr, name, nullptr, nullptr));
    name->release();
    pawns.push_back(vahine);
    CCNotificationCenter::getInstance()->postNotification(EVENT_PAWN_FALL, vahine);
    CCNotificationCenter::getInstance()->postNotification(EVENT_REMOVE_ACTOR, vahine);
    EXPECT_TRUE(manager->canUseConsumable("tentacle_grip"));

    ASSERT_TRUE(manager->useConsumable("tentacle_grip"));
    events->clear();
    manager->triggerPendingTentacle();
    EXPECT_EQ(events->count("EVENT_SPAWN_PAWN -"), 1) << events->dump();
    const std::vector<KVKelvoPlayer*> back = keeper->keptOf<KVKelvoPlayer>("KVKelvoPlayer");
    ASSERT_EQ(back.size(), 2u);
    EXPECT_EQ(back[1]->getTypeName()->text, "vahine");
    float x = 0.0f, y = 0.0f;
    back[1]->getPosition(&x, &y);
    EXPECT_LT(std::hypot(x - 2.0f, y - 2.0f), 9.5f) << "next to the current pawn";
    EXPECT_EQ(stock("tentacle_grip"), 1);
    EXPECT_EQ(manager->getUsage(), (std::map<std::string, int>{{"tentacle_grip", 1}}));
    EXPECT_FALSE(manager->canUseConsumable("tentacle_grip")) << "forgotten once back";
}

// The miracle tentacle brings back the kelvo that died last, with its helmet; the grip does not
// bring back the dead, only the fallen.
TEST_F(ConsumableUseTest, TheMiracleTentacleBringsBackTheLastDeadKelvoWithItsHelmet) {
    profile()->addConsumable("miracle_tentacle_final", 1);
    profile()->addConsumable("tentacle_grip", 1);
    for (const char* name : {"steev", "vahine"}) {
        auto* kelvo = new KVKelvoPlayer();
        auto* type = new CCString(name);
        auto* helmet = new CCString("straw_hat");
        ASSERT_TRUE(kelvo->initForPlayer(2.0f, 14.0f, nullptr, type, nullptr, helmet));
        type->release();
        helmet->release();
        pawns.push_back(kelvo);
        CCNotificationCenter::getInstance()->postNotification(EVENT_REMOVE_ACTOR, kelvo);
    }
    EXPECT_FALSE(manager->canUseConsumable("tentacle_grip")) << "nobody fell";
    ASSERT_TRUE(manager->useConsumable("tentacle_grip"));
    manager->triggerPendingTentacle();
    EXPECT_EQ(stock("tentacle_grip"), 1);

    ASSERT_TRUE(manager->canUseConsumable("miracle_tentacle_final"));
    ASSERT_TRUE(manager->useConsumable("miracle_tentacle_final"));
    events->clear();
    manager->triggerPendingTentacle();
    EXPECT_EQ(events->count("EVENT_SPAWN_PAWN -"), 1) << events->dump();
    const std::vector<KVKelvoPlayer*> kelvos = keeper->keptOf<KVKelvoPlayer>("KVKelvoPlayer");
    ASSERT_EQ(kelvos.size(), 3u);
    EXPECT_EQ(kelvos[2]->getTypeName()->text, "vahine") << "the last to die";
    EXPECT_EQ(stock("miracle_tentacle_final"), 0);
    EXPECT_EQ(manager->getUsage(), (std::map<std::string, int>{{"miracle_tentacle_final", 1}}));
    EXPECT_EQ(KVPawnManager::getInstance()->getDeadKelvoCount(), 1) << "steev is still gone";
}

// Without its picture or the mission's screen layer the kraken's view ends the animation at once,
// so the kraken never keeps the turn waiting.
TEST_F(ConsumableUseTest, AKrakenViewWithoutItsPictureStillEndsTheAnimation) {
    pawntest::LogCapture log;
    auto* kraken = new KVKraken();
    ASSERT_TRUE(kraken->init());
    events->name(kraken, "kraken");
    auto* view = new KVKrakenV();
    ASSERT_TRUE(view->initWithActor(kraken, nullptr));
    EXPECT_TRUE(log.contains("KVKrakenV: no frame kraken_fx_01.png"));
    auto* finished = trace({EVENT_KRAKEN_ANIM_FINISHED});
    for (int i = 0; i < 62; ++i)
        kraken->update(pawntest::kFrame);
    EXPECT_EQ(finished->lines.size(), 1u);
    EXPECT_EQ(events->count("EVENT_NOTIFY_IDLE kraken"), 1);
    EXPECT_EQ(events->count("EVENT_REMOVE_ACTOR kraken"), 1);
    // Refused for a model that is no kraken.
    auto* other = new KVKrakenV();
    EXPECT_FALSE(other->initWithActor(player, nullptr));
    EXPECT_TRUE(log.contains("the model is no kraken"));
    other->release();
    view->release();
    kraken->release();
}

// The strike deals Defense + HP - 1: the Defense takes its share back.
TEST_F(ConsumableUseTest, TheKrakenLeavesEveryOpponentAtOneHitPoint) {
    const struct {
        const char* what;
        int hp;
        const char* defense;
        int hpAfter;
        bool dies;
    } cases[] = {
        {"80 HP, Defense 10", 80, "10", 1, false},
        {"1 HP, Defense 2: the minimum damage kills", 1, "2", 0, true},
        {"1 HP, Defense 0: not hurt", 1, "0", 1, false},
    };
    std::vector<TestPawn*> enemies;
    float x = 6.0f;
    for (const auto& c : cases) {
        TestPawn* crab =
            makePawn("crab", x += 3.0f, 2.0f, fighterStats({{"Defense", c.defense}}), true, true);
        crab->setHitPoints(c.hp);
        enemies.push_back(crab);
    }
    player->setHitPoints(60);
    profile()->addConsumable("mighty_kraken", 1);
    EXPECT_TRUE(manager->canUseConsumable("mighty_kraken"));
    ASSERT_TRUE(manager->useConsumable("mighty_kraken"));
    std::vector<KVKraken*> krakens = keeper->keptOf<KVKraken>("KVKraken");
    ASSERT_EQ(krakens.size(), 1u);
    KVKraken* kraken = krakens[0];
    events->name(kraken, "kraken");
    EXPECT_EQ(stock("mighty_kraken"), 0);

    // Its animation starts after a second; the strike comes 3.2 s later.
    run(59);
    EXPECT_EQ(events->count("EVENT_KRAKEN_EFFECT_TRIGGERED kraken"), 0);
    run(2);
    EXPECT_EQ(events->count("EVENT_KRAKEN_EFFECT_TRIGGERED kraken"), 1);
    EXPECT_EQ(events->count("EVENT_KRAKEN_SOUND_TRIGGER kraken"), 1);
    run(188);
    EXPECT_EQ(enemies[0]->getHitPoints(), 80);
    run(6);
    for (size_t i = 0; i < enemies.size(); ++i) {
        SCOPED_TRACE(cases[i].what);
        EXPECT_EQ(enemies[i]->getHitPoints(), cases[i].hpAfter);
        EXPECT_EQ(enemies[i]->isDead(), cases[i].dies);
    }
    EXPECT_EQ(player->getHitPoints(), 60) << "the kraken spares the user's side";

    // The view's animation ends: the kraken and the manager go idle, the kraken leaves.
    events->clear();
    CCNotificationCenter::getInstance()->postNotification(EVENT_KRAKEN_ANIM_FINISHED);
    EXPECT_EQ(events->count("EVENT_NOTIFY_IDLE kraken"), 1);
    EXPECT_EQ(events->count("EVENT_REMOVE_ACTOR kraken"), 1);
    EXPECT_EQ(events->count("EVENT_NOTIFY_IDLE manager"), 1);
    EXPECT_EQ(manager->getPendingKind(), KVConsumableManager::kNone);
    EXPECT_EQ(manager->getUsage(), (std::map<std::string, int>{{"mighty_kraken", 1}}));
}

TEST_F(ConsumableUseTest, AKrakenOfTheEnemySideStrikesThePlayers) {
    TestPawn* crab = makePawn("crab", 9.0f, 2.0f, fighterStats(), true, true);
    player->setHitPoints(70);
    mission->current = crab;
    auto* kraken = new KVKraken();
    ASSERT_TRUE(kraken->init());
    for (int i = 0; i < 260; ++i)
        kraken->update(pawntest::kFrame);
    EXPECT_EQ(kraken->getPhase(), KVKraken::kStruck);
    EXPECT_EQ(player->getHitPoints(), 1);
    EXPECT_EQ(crab->getHitPoints(), 100);
    kraken->release();
}

TEST_F(ConsumableUseTest, TheStockAndWhatCanBeUsed) {
    EXPECT_FALSE(hasAnyConsumableInStock());
    profile()->addConsumable("shuriken", 1);
    EXPECT_TRUE(hasAnyConsumableInStock());
    EXPECT_FALSE(manager->canUseConsumable("mighty_kraken")) << "no enemy";
    EXPECT_FALSE(manager->canUseConsumable("miracle_tentacle_final")) << "nobody dead";
    EXPECT_FALSE(manager->canUseConsumable("shuriken")) << "nobody in sight";
    makePawn("crab", 6.0f, 2.0f, fighterStats(), true, true);
    EXPECT_TRUE(manager->canUseConsumable("mighty_kraken"));
    EXPECT_TRUE(manager->canUseConsumable("shuriken"));
    player->setAttackCharges(1);
    EXPECT_FALSE(manager->canUseConsumable("cocktail")) << "the current pawn is at every limit";
    player->setHitPoints(40);
    EXPECT_TRUE(manager->canUseConsumable("cocktail"));
}

} // namespace
