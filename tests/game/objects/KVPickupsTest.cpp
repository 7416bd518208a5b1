// Treasure chests, the helmets they hold and the hidden star: who opens a chest and what it gives
// and records, the helmet's flight and reward, who finds the star, how its view shows it and when
// it plays its detection sound.
#include "ObjectTestSupport.h"

#include "tests/game/data/GameDataFixture.h"

#include "engine/actions/CCActionManager.h"
#include "engine/sprites/CCSprite.h"
#include "engine/sprites/CCSpriteFrameCache.h"
#include "game/data/KVGameSetup.h"
#include "game/data/KVPlayerParameters.h"
#include "game/objects/KVHiddenStar.h"
#include "game/objects/KVHiddenStarV.h"
#include "game/objects/KVPearl.h"
#include "game/objects/KVPickupHelmet.h"
#include "game/objects/KVPickupHelmetV.h"
#include "game/objects/KVPowerupSpawner.h"
#include "game/objects/KVTreasureChest.h"
#include "game/objects/KVTreasureChestV.h"
#include "game/pawns/KVKelvoPlayer.h"
#include "game/views/PawnViewFixture.h"
#include "game/world/KVRunningMission.h"

using kvengine::CCNotificationCenter;
using objecttest::tileObject;
using pawntest::fighterStats;
using pawntest::LogCapture;
using pawntest::TestPawn;
using Names = std::vector<std::string>;

namespace {

// The running mission as the pick-ups see it: its current pawn and, in solo, the lists of found
// chests and helmets.
class TestMission : public KVObject, public KVRunningMission {
public:
    CC_DECLARE_CLASS_NAME(TestMission, KVObject)
    KVPawn* getCurrentPawn() override { return current; }
    int getPlayerTurnCount() override { return 1; }
    bool recordOpenedChest(const std::string& chestId) override {
        if (!solo || chestId.empty()) return false;
        chests.push_back(chestId);
        return true;
    }
    bool recordChestHelmet(const std::string& helmet) override {
        if (!solo || helmet.empty()) return false;
        helmets.push_back(helmet);
        return true;
    }
    KVPawn* current = nullptr;
    bool solo = true;
    Names chests;
    Names helmets;
};

// Keeps what the chests drop, as the game model does.
class DropKeeper : public kvengine::CCObject {
public:
    DropKeeper() {
        CCNotificationCenter::getInstance()->addObserver(this, notification_selector(DropKeeper::onNewActor),
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
        if (actor == nullptr || actor->isKindOf("KVPawn")) return;
        actor->retain();
        kept.push_back(actor);
    }
    /// The kept actors of the class, from the `from`-th kept on.
    template <class T> std::vector<T*> of(const char* className, size_t from = 0) const {
        std::vector<T*> found;
        for (size_t i = from; i < kept.size(); ++i)
            if (kept[i]->isKindOf(className)) found.push_back(static_cast<T*>(kept[i]));
        return found;
    }
    std::vector<KVActor*> kept;
};

// A hidden-star view that counts its detection sounds instead of playing them.
class ListeningStarView : public KVHiddenStarV {
public:
    void playDetectSound(float proximity) override { sounds.push_back(proximity); }
    std::vector<float> sounds;
};

class PickupsTest : public objecttest::ObjectWorldTest {
protected:
    void SetUp() override {
        kvtest::resetSharedGameObjects();
        kvtest::installBaseData();
        std::error_code ignored;
        std::filesystem::remove_all(kvtest::gameDataPaths().dataHome, ignored);
        std::filesystem::create_directories(kvtest::gameDataPaths().dataHome);
        ObjectWorldTest::SetUp();
        mission = new TestMission();
        KVGameSetup::getInstance()->setCurrentGameModel(mission);
        drops = new DropKeeper();
        layer = viewtest::TestLayer::make();
        layer->sheets["global_ss"] = kvengine::CCNode::create();
        layer->addChild(layer->sheets["global_ss"]);
    }
    void TearDown() override {
        for (KVActorV* view : views)
            view->release();
        layer->close();
        layer->release();
        drops->release();
        KVGameSetup::getInstance()->setCurrentGameModel(nullptr);
        ObjectWorldTest::TearDown();
        mission->release();
        kvengine::CCActionManager::purgeInstance();
        kvtest::resetSharedGameObjects();
    }

    static KVPlayerParameters* profile() { return KVPlayerParameters::getInstance(); }
    TestPawn* makePawn(const char* name, float x, float y, bool enemy = false, bool ai = false) {
        TestPawn* pawn = TestPawn::make(name, x, y, fighterStats(), enemy, ai);
        pawns.push_back(pawn);
        return pawn;
    }
    KVKelvoPlayer* makeKelvo(float x, float y) {
        auto* kelvo = new KVKelvoPlayer();
        auto* name = new kvengine::CCString("steev");
        EXPECT_TRUE(kelvo->initForPlayer(x, y, nullptr, name, nullptr, nullptr));
        name->release();
        pawns.push_back(kelvo);
        return kelvo;
    }
    // A chest centred at (x, y) metres with the given properties.
    KVTreasureChest* makeChest(float x, float y,
                               std::initializer_list<std::pair<const char*, const char*>> extra) {
        auto* chest = new KVTreasureChest();
        EXPECT_TRUE(chest->initWithDictionary(
            tileObject(static_cast<int>(x * 32.0f) - 24, static_cast<int>(y * 32.0f) - 24, 48, 48, extra)));
        return keep(chest);
    }
    // Sends `pawn` from 2 m left of the chest into it at 8 m/s and lets it bounce for half a second.
    void throwInto(KVPawn* pawn, KVTreasureChest* chest) {
        pawn->getBody()->SetTransform(b2Vec2(chest->positionX - 2.0f, chest->positionY), 0.0f);
        pawn->getBody()->SetLinearVelocity(b2Vec2(8.0f, 0.0f));
        stepAll(30);
    }
    template <class V> V* viewOf(KVActor* model, V* view) {
        EXPECT_TRUE(view->initWithActor(model, layer));
        views.push_back(view);
        return view;
    }
    void play(KVActorV* view, int count) {
        for (int i = 0; i < count; ++i) {
            view->update(pawntest::kFrame);
            kvengine::CCActionManager::getInstance()->update(pawntest::kFrame);
        }
    }

    TestMission* mission = nullptr;
    DropKeeper* drops = nullptr;
    viewtest::TestLayer* layer = nullptr;
    std::vector<KVActorV*> views;
};

TEST_F(PickupsTest, OnlyAHumanPlayersPawnOpensAChestAndEveryoneBouncesOffIt) {
    const struct {
        const char* what;
        bool enemy, ai, opens;
    } cases[] = {
        {"a human player's pawn", false, false, true},
        {"an enemy", true, true, false},
        {"an AI-driven pawn of the player's side", false, true, false},
    };
    float y = 2.0f;
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        y += 4.0f;
        KVTreasureChest* chest = makeChest(10.0f, y, {{"image", "chest"}, {"chestId", c.what}});
        auto* opened = trace({EVENT_TREASURE_CHEST_OPENED});
        opened->name(chest, "chest");
        TestPawn* pawn = makePawn("pawn", 0.0f, y, c.enemy, c.ai);
        throwInto(pawn, chest);
        EXPECT_EQ(chest->isOpened(), c.opens);
        EXPECT_EQ(opened->lines, c.opens ? Names{"EVENT_TREASURE_CHEST_OPENED chest"} : Names{});
        EXPECT_LT(pawn->getBody()->GetLinearVelocity().x, 0.0f) << "bounced back";
        EXPECT_LT(pawn->positionX, chest->positionX);
        // A second touch gives nothing more.
        throwInto(pawn, chest);
        EXPECT_EQ(opened->lines.size(), c.opens ? 1u : 0u);
    }
    EXPECT_EQ(mission->chests, Names{"a human player's pawn"});
}

// The helmet reward must be one the profile knows (the base data has "pirate_hat").
TEST_F(PickupsTest, WhatAnOpenedChestGivesAndRecords) {
    const struct {
        const char* what;
        const char* id;     // nullptr: none
        const char* pearls; // nullptr: none
        const char* helmet; // nullptr: none
        bool foundBefore, solo;
        int pearlValue;        // -1: no pearl
        const char* helmetOut; // nullptr: no helmet dropped
        Names chestsRecorded;  // at the opening
        const char* logLine;
    } cases[] = {
        {"pearls and a helmet",
         "pearls_helmet",
         "25",
         "pirate_hat",
         false,
         true,
         25,
         "pirate_hat",
         {},
         nullptr},
        {"no pearls and no helmet: only the id",
         "empty",
         "0",
         nullptr,
         false,
         true,
         -1,
         nullptr,
         {"empty"},
         nullptr},
        {"no pearl reward given", "plain", nullptr, nullptr, false, true, -1, nullptr, {"plain"}, nullptr},
        {"a helmet the profile lacks is ignored",
         "unknown_helmet",
         "5",
         "golden_trident",
         false,
         true,
         5,
         nullptr,
         {"unknown_helmet"},
         "helmet \"golden_trident\" unknown to the profile"},
        {"found in an earlier play", "found", "25", "pirate_hat", true, true, -1, nullptr, {}, nullptr},
        {"without an id it never opens",
         nullptr,
         "25",
         nullptr,
         false,
         true,
         -1,
         nullptr,
         {},
         "without \"chestId\""},
        {"a multiplayer map records nothing",
         "versus",
         "3",
         nullptr,
         false,
         false,
         3,
         nullptr,
         {},
         "\"versus\" opened where no chest is recorded"},
    };
    float y = 2.0f;
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        y += 4.0f;
        LogCapture log;
        mission->solo = c.solo;
        mission->chests.clear();
        if (c.foundBefore) profile()->markTreasureFound(c.id);
        std::vector<std::pair<const char*, const char*>> props = {{"image", "chest"}};
        if (c.id != nullptr) props.push_back({"chestId", c.id});
        if (c.pearls != nullptr) props.push_back({"pearlReward", c.pearls});
        if (c.helmet != nullptr) props.push_back({"helmetReward", c.helmet});
        kvobjects::Dict* dict = tileObject(320 - 24, static_cast<int>(y * 32.0f) - 24, 48, 48);
        for (const auto& p : props)
            kvdata::setText(dict, p.first, p.second);
        auto* chest = keep(new KVTreasureChest());
        ASSERT_TRUE(chest->initWithDictionary(dict));
        EXPECT_EQ(chest->isOpened(), c.foundBefore);
        const size_t before = drops->kept.size();

        throwInto(makePawn("kelvo", 0.0f, y), chest);
        const std::vector<KVPearl*> pearls = drops->of<KVPearl>("KVPearl", before);
        if (c.pearlValue < 0) {
            EXPECT_TRUE(pearls.empty());
        } else {
            ASSERT_EQ(pearls.size(), 1u);
            EXPECT_EQ(pearls[0]->getValue(), c.pearlValue);
            EXPECT_EQ(pearls[0]->getRewardKind(), 20);
            EXPECT_FLOAT_EQ(pearls[0]->positionX, chest->positionX);
        }
        const std::vector<KVPickupHelmet*> helmets = drops->of<KVPickupHelmet>("KVPickupHelmet", before);
        if (c.helmetOut == nullptr) {
            EXPECT_TRUE(helmets.empty());
        } else {
            ASSERT_EQ(helmets.size(), 1u);
            EXPECT_EQ(helmets[0]->getHelmetName()->text, c.helmetOut);
            EXPECT_EQ(helmets[0]->getChestId()->text, c.id);
        }
        EXPECT_EQ(mission->chests, c.chestsRecorded);
        if (c.logLine != nullptr) {
            EXPECT_TRUE(log.contains(c.logLine)) << c.logLine;
        }
    }
}

TEST_F(PickupsTest, TheChestViewShowsTheClosedPictureUntilTheChestOpens) {
    viewtest::FrameSet frames;
    frames.add("chest_closed.png");
    frames.add("chest_opened.png");
    ASSERT_TRUE(frames.load());
    auto* cache = kvengine::CCSpriteFrameCache::getInstance();
    profile()->markTreasureFound("old");
    KVTreasureChest* fresh = makeChest(10.0f, 5.0f, {{"image", "chest"}, {"chestId", "new"}});
    KVTreasureChest* old = makeChest(10.0f, 10.0f, {{"image", "chest"}, {"chestId", "old"}});
    auto* freshView = viewOf(fresh, new KVTreasureChestV());
    auto* oldView = viewOf(old, new KVTreasureChestV());
    auto* sprite = static_cast<kvengine::CCSprite*>(freshView->getSprite());
    EXPECT_EQ(sprite->getParent(), layer->sheets["global_ss"]);
    EXPECT_FLOAT_EQ(sprite->getScale(), 1.0f);
    EXPECT_FLOAT_EQ(sprite->getPosition().x, 320.0f);
    EXPECT_TRUE(sprite->isFrameDisplayed(cache->findSpriteFrameByName("chest_closed.png")));
    EXPECT_TRUE(static_cast<kvengine::CCSprite*>(oldView->getSprite())
                    ->isFrameDisplayed(cache->findSpriteFrameByName("chest_opened.png")));
    throwInto(makePawn("kelvo", 0.0f, 5.0f), fresh);
    EXPECT_TRUE(sprite->isFrameDisplayed(cache->findSpriteFrameByName("chest_opened.png")));

    // A chest whose picture is missing has no view (the frame cache logs the name).
    KVTreasureChest* bare = makeChest(10.0f, 15.0f, {{"image", "barrel"}, {"chestId", "bare"}});
    auto* none = new KVTreasureChestV();
    EXPECT_FALSE(none->initWithActor(bare, layer));
    none->release();
}

// The helmet grows for 0.3 s, is taken at 0.4 s and flies for 0.4 s to the current pawn.
TEST_F(PickupsTest, TheHelmetFliesToTheCurrentPawnAndRecordsItselfAndItsChest) {
    viewtest::FrameSet frames;
    frames.add("pirate_hat_frontend_01.png");
    ASSERT_TRUE(frames.load());
    const struct {
        const char* what;
        bool withPawn;
    } cases[] = {{"to the current pawn", true}, {"with nobody playing, where it is", false}};
    float y = 2.0f;
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        y += 5.0f;
        mission->helmets.clear();
        mission->chests.clear();
        mission->current = c.withPawn ? makePawn("kelvo", 3.0f, y) : nullptr;
        KVTreasureChest* chest =
            makeChest(10.0f, y, {{"image", "chest"}, {"chestId", "reef"}, {"helmetReward", "pirate_hat"}});
        auto* helmet = new KVPickupHelmet();
        auto* helmetName = new kvengine::CCString("pirate_hat");
        ASSERT_TRUE(helmet->initFromChest(chest, helmetName, chest->getChestId()));
        helmetName->release();
        keep(helmet);
        auto* posts = trace({EVENT_TREASURE_CHEST_HELMET_REWARD, EVENT_REMOVE_ACTOR, EVENT_PEARL_SPWANED});
        posts->name(helmet, "helmet");
        auto* view = viewOf(helmet, new KVPickupHelmetV());
        EXPECT_EQ(posts->lines, Names{"EVENT_PEARL_SPWANED -"});
        kvengine::CCNode* sprite = view->getSprite();
        ASSERT_NE(sprite, nullptr);
        EXPECT_EQ(sprite->getParent(), layer);
        EXPECT_FLOAT_EQ(sprite->getScale(), 0.01f);

        play(view, 19);
        EXPECT_TRUE(view->hasAppeared());
        EXPECT_FLOAT_EQ(sprite->getScale(), 1.0f);
        EXPECT_TRUE(mission->helmets.empty());
        play(view, 6);
        ASSERT_TRUE(view->isCollecting());
        EXPECT_EQ(posts->count("EVENT_TREASURE_CHEST_HELMET_REWARD ?"), 1) << posts->dump();
        EXPECT_EQ(mission->helmets, Names{"pirate_hat"});
        EXPECT_EQ(mission->chests, Names{"reef"});
        const kvengine::CCPoint target =
            c.withPawn ? kvengine::CCPoint(96.0f, y * 32.0f) : kvengine::CCPoint(320.0f, y * 32.0f);
        EXPECT_EQ(view->getTarget().x, target.x);

        play(view, 21);
        EXPECT_EQ(posts->count("EVENT_REMOVE_ACTOR helmet"), 0);
        play(view, 4);
        EXPECT_EQ(posts->count("EVENT_REMOVE_ACTOR helmet"), 1) << posts->dump();
        EXPECT_NEAR(sprite->getPosition().x, target.x, 1.0f);
        EXPECT_LT(sprite->getScale(), 0.55f);
        // Taken once: the reward is not granted again.
        EXPECT_FALSE(helmet->grantReward());
        EXPECT_EQ(mission->helmets.size(), 1u);
        EXPECT_EQ(posts->count("EVENT_TREASURE_CHEST_HELMET_REWARD ?"), 1);
    }
}

// A helmet whose icon is missing is still taken (and recorded) at 0.4 s and leaves at once.
TEST_F(PickupsTest, AHelmetWithoutItsIconIsStillTaken) {
    LogCapture log;
    KVTreasureChest* chest = makeChest(10.0f, 5.0f, {{"image", "chest"}, {"chestId", "plain"}});
    auto* helmet = new KVPickupHelmet();
    auto* name = new kvengine::CCString("mystery_hat");
    ASSERT_TRUE(helmet->initFromChest(chest, name, chest->getChestId()));
    name->release();
    keep(helmet);
    auto* posts = trace({EVENT_TREASURE_CHEST_HELMET_REWARD, EVENT_REMOVE_ACTOR});
    posts->name(helmet, "helmet");
    auto* view = viewOf(helmet, new KVPickupHelmetV());
    EXPECT_TRUE(log.contains("no frame mystery_hat_frontend_01.png"));
    EXPECT_EQ(view->getSprite(), nullptr);
    play(view, 25);
    EXPECT_EQ(posts->lines, (Names{"EVENT_TREASURE_CHEST_HELMET_REWARD ?", "EVENT_REMOVE_ACTOR helmet"}));
    EXPECT_EQ(mission->helmets, Names{"mystery_hat"});
    EXPECT_EQ(mission->chests, Names{"plain"});

    // A helmet without a name is refused.
    auto* nameless = keep(new KVPickupHelmet());
    EXPECT_FALSE(nameless->initFromChest(chest, nullptr, nullptr));
    EXPECT_TRUE(log.contains("KVPickupHelmet: no helmet name"));
}

TEST_F(PickupsTest, OnlyAPlayersKelvoFindsTheStarWhichHealsItOnce) {
    auto* star = keep(new KVHiddenStar());
    ASSERT_TRUE(star->initWithDictionary(tileObject(288, 128, 64, 64))); // centre (10, 5), radius 1 m
    EXPECT_FLOAT_EQ(star->getRadius(), 1.0f);
    b2Fixture* sensor = star->getBody()->GetFixtureList();
    EXPECT_TRUE(sensor->IsSensor());
    EXPECT_EQ(sensor->GetFilterData().categoryBits, 0x0002) << "a sensor zone, not an obstacle";

    auto* posts = trace({EVENT_HIDDEN_STAR_FOUND, EVENT_REMOVE_ACTOR});
    posts->name(star, "star");
    // A computer pawn and a pawn that is no player's kelvo pass through.
    TestPawn* crab = makePawn("crab", 7.5f, 5.0f, true, true);
    crab->getBody()->SetLinearVelocity(b2Vec2(12.0f, 0.0f));
    TestPawn* plain = makePawn("pawn", 10.0f, 8.0f);
    plain->getBody()->SetLinearVelocity(b2Vec2(0.0f, -6.0f));
    stepAll(40);
    EXPECT_TRUE(posts->lines.empty()) << posts->dump();
    EXPECT_GT(crab->positionX, 10.5f) << "it does not stop a pawn";

    KVKelvoPlayer* kelvo = makeKelvo(10.0f, 2.0f);
    posts->name(kelvo, "kelvo");
    kelvo->setHitPoints(1);
    kelvo->setStamina(0);
    kelvo->getBody()->SetLinearVelocity(b2Vec2(0.0f, 6.0f));
    stepAll(40);
    EXPECT_EQ(posts->lines, (Names{"EVENT_HIDDEN_STAR_FOUND kelvo", "EVENT_REMOVE_ACTOR star"}));
    EXPECT_EQ(kelvo->getHitPoints(), kelvo->getMaxHP());
    EXPECT_EQ(kelvo->getStamina(), kelvo->getMaxSP());
    EXPECT_TRUE(star->isRemoved());
    EXPECT_EQ(star->getBody(), nullptr);
}

TEST_F(PickupsTest, AStarFoundInAnEarlierPlayAlsoSpawnsPowerups) {
    KVGameSetup* setup = KVGameSetup::getInstance();
    auto* missionName = new kvengine::CCString("M1a");
    auto* chapterName = new kvengine::CCString("C1");
    setup->setMissionName(missionName);
    setup->setChapterName(chapterName);
    missionName->release();
    chapterName->release();
    profile()->setMissionHiddenLock("M1a", "C1", 0);
    ASSERT_EQ(profile()->getMissionHiddenLock("M1a", "C1"), 0);
    kvobjects::Dict* dict = tileObject(288, 128, 64, 64);
    auto* star = keep(new KVHiddenStar());
    ASSERT_TRUE(star->initWithDictionary(dict));
    const std::vector<KVPowerupSpawner*> spawners = drops->of<KVPowerupSpawner>("KVPowerupSpawner");
    ASSERT_EQ(spawners.size(), 1u);
    EXPECT_EQ(spawners[0]->getSpawnRate(), 1);
    EXPECT_FLOAT_EQ(spawners[0]->positionX, star->positionX);
    EXPECT_FLOAT_EQ(spawners[0]->positionY, star->positionY);
    EXPECT_FALSE(star->isRemoved()) << "the star is still there to find";
}

TEST_F(PickupsTest, TheStarShowsItselfToHumanPlayersPawnsNearby) {
    const struct {
        float distance;
        int opacity;
    } cases[] = {{9.0f, 0}, {8.0f, 0}, {5.0f, 127}, {2.0f, 255}, {1.0f, 255}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.distance);
        EXPECT_NEAR(KVHiddenStarV::opacityForDistance(c.distance), c.opacity, 1);
    }

    viewtest::FrameSet frames;
    frames.add("hidden_star.png");
    ASSERT_TRUE(frames.load());
    auto* star = keep(new KVHiddenStar());
    ASSERT_TRUE(star->initWithDictionary(tileObject(288, 128, 64, 64))); // centre (10, 5)
    auto* view = viewOf(star, new ListeningStarView());
    auto* sprite = static_cast<kvengine::CCSprite*>(view->getSprite());
    EXPECT_EQ(sprite->getParent(), layer->sheets["global_ss"]);
    EXPECT_EQ(sprite->getZOrder(), -2000);
    EXPECT_FLOAT_EQ(sprite->getScale(), 1.0f);
    view->update(pawntest::kFrame);
    EXPECT_EQ(sprite->getOpacity(), 0);
    // A computer pawn and an AI-driven pawn of the player's side reveal nothing.
    makePawn("crab", 10.0f, 6.0f, true, true);
    makePawn("helper", 11.0f, 5.0f, false, true);
    view->update(pawntest::kFrame);
    EXPECT_EQ(sprite->getOpacity(), 0);
    makePawn("kelvo", 14.0f, 5.0f);
    view->update(pawntest::kFrame);
    EXPECT_NEAR(sprite->getOpacity(), 170, 1);
    makePawn("kelvo", 11.5f, 5.0f);
    view->update(pawntest::kFrame);
    EXPECT_EQ(sprite->getOpacity(), 255);
}

TEST_F(PickupsTest, TheDetectionSoundPlaysEveryThreeSecondsInTheCurrentPawnsTurnWithinSixMetres) {
    const struct {
        const char* what;
        bool hasPawn, inTurn;
        float distance, proximity;
    } cases[] = {
        {"nobody plays", false, false, 0.0f, 1000.0f}, {"outside its turn", true, false, 1.0f, 2.0f},
        {"beyond 6 m", true, true, 6.5f, 2.0f},        {"at 4 m", true, true, 4.0f, 0.5f},
        {"within 2 m", true, true, 1.5f, 0.0f},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        EXPECT_FLOAT_EQ(KVHiddenStarV::proximityFor(c.hasPawn, c.inTurn, c.distance), c.proximity);
    }

    viewtest::FrameSet frames;
    frames.add("hidden_star.png");
    ASSERT_TRUE(frames.load());
    auto* star = keep(new KVHiddenStar());
    ASSERT_TRUE(star->initWithDictionary(tileObject(288, 128, 64, 64))); // centre (10, 5)
    auto* view = viewOf(star, new ListeningStarView());
    TestPawn* kelvo = makePawn("kelvo", 14.0f, 5.0f);
    mission->current = kelvo;
    // Outside its own turn: silence.
    for (int i = 0; i < 400; ++i)
        view->update(pawntest::kFrame);
    EXPECT_TRUE(view->sounds.empty());
    CCNotificationCenter::getInstance()->postNotification(EVENT_START_TURN, kelvo);
    ASSERT_TRUE(kelvo->isTurnActive());
    // 4 m away in its turn: once 3 s have passed, then every 3 s.
    for (int i = 0; i < 180; ++i)
        view->update(pawntest::kFrame);
    EXPECT_TRUE(view->sounds.empty());
    for (int i = 0; i < 2; ++i)
        view->update(pawntest::kFrame);
    ASSERT_EQ(view->sounds.size(), 1u);
    EXPECT_FLOAT_EQ(view->sounds[0], 0.5f);
    for (int i = 0; i < 182; ++i)
        view->update(pawntest::kFrame);
    EXPECT_EQ(view->sounds.size(), 2u);
}

} // namespace
