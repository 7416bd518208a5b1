// The level builder over small tile maps written per test, and the game model's frame.
#include "game/pawns/PawnTestSupport.h"

#include <string>

#include "ModelTestSupport.h"
#include "engine/director/CCDirector.h"
#include "engine/tilemaps/CCTMXTiledMap.h"
#include "game/data/KVGameParameters.h"
#include "game/data/KVGameSetup.h"
#include "game/model/KVGameModel.h"
#include "game/model/KVObjectDescription.h"
#include "game/objects/KVCoconut.h"
#include "game/objects/KVMapBorder.h"
#include "game/objects/KVSpikyWall.h"
#include "game/objects/KVStickyWall.h"
#include "game/pawns/KVKelvoPlayer.h"
#include "game/pawns/KVPlayerHuddle.h"
#include "game/pawns/KVTurnManager.h"
#include "game/rules/KVRuleManager.h"
#include "game/score/KVScoreManagerHuddle.h"
#include "game/score/KVScoreManagerSolo.h"
#include "game/world/KVObjectFactory.h"
#include "support/TestFiles.h"

using kvengine::CCString;
using pawntest::LogCapture;

namespace {

constexpr float kFrame = 1.0f / 60.0f;

// A map of 30 x 19 tiles of 32 points (960 x 608 points) with the given object groups.
std::string mapText(const std::string& groups, int columns = 30, int rows = 19, int tile = 32) {
    return "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<map version=\"1.0\" orientation=\"orthogonal\" "
           "width=\"" +
           std::to_string(columns) + "\" height=\"" + std::to_string(rows) + "\" tilewidth=\"" +
           std::to_string(tile) + "\" tileheight=\"" + std::to_string(tile) + "\">\n" + groups + "</map>\n";
}

std::string object(const char* name, int x, int y, int w, int h, const std::string& properties = "") {
    std::string text = "  <object name=\"" + std::string(name) + "\" x=\"" + std::to_string(x) + "\" y=\"" +
                       std::to_string(y) + "\" width=\"" + std::to_string(w) + "\" height=\"" +
                       std::to_string(h) + "\"";
    if (properties.empty()) return text + "/>\n";
    return text + ">\n   <properties>" + properties + "</properties>\n  </object>\n";
}

std::string property(const char* name, const char* value) {
    return "<property name=\"" + std::string(name) + "\" value=\"" + value + "\"/>";
}

std::string group(const char* name, const std::string& objects = "") {
    return " <objectgroup name=\"" + std::string(name) + "\">\n" + objects + " </objectgroup>\n";
}

// The usual groups: both spawn points (TMX y counts down from the top: y 560 is 16 points up).
std::string teamObjects(const std::string& extra = "") {
    return object("SpawnPoint1", 64, 400, 32, 32) + object("SpawnPoint2", 128, 400, 32, 32) + extra;
}

std::string fullMap(const std::string& objects, const std::string& gpe = "", const std::string& more = "") {
    return mapText(group("Objects", objects) + group("PowerUpSpawners") + group("GPE", gpe) + more);
}

class KVGameModelTest : public ::testing::Test {
protected:
    void SetUp() override {
        kvConnectGameServices();
        KVObjectFactory::registerGameClasses();
        kvengine::CCAutoreleasePoolStack::getInstance().push();
        m_folder = kvtest::makeTempFolder("gamemodel");
        setup = KVGameSetup::getInstance();
        setup->solo = true;
        setup->playerCount = 1;
        auto* mission = new CCString("NoSuchDrawing");
        setup->setMissionName(mission);
        mission->release();
        setTeam({"steev", "vahine"}, {"SpawnPoint1", "SpawnPoint2"});
        KVPhysWorld::getInstance()->setFixedTimeStep(true);
        KVPawnManager::getInstance();
        model = new KVGameModel();
    }

    void TearDown() override {
        kvengine::CCNotificationCenter::getInstance()->postNotification(EVENT_GAME_SHUTDOWN);
        setup->setCurrentGameModel(nullptr);
        model->release();
        if (KVPawnManager* manager = KVPawnManager::existingInstance()) manager->release();
        if (KVRuleManager* rules = KVRuleManager::existingInstance()) rules->release();
        KVPhysWorld::getInstance()->release();
        kvengine::CCAutoreleasePoolStack::getInstance().pop();
    }

    void setTeam(std::initializer_list<const char*> names, std::initializer_list<const char*> spawns) {
        setup->getTeamKelvoNames()->removeAllObjects();
        setup->getTeamSpawnPoints()->removeAllObjects();
        for (const char* name : names)
            setup->getTeamKelvoNames()->addObject(kvdata::newString(name));
        for (const char* spawn : spawns)
            setup->getTeamSpawnPoints()->addObject(kvdata::newString(spawn));
    }

    kvengine::CCTMXTiledMap* loadMap(const std::string& text) {
        const std::string path = m_folder + "/level" + std::to_string(++m_maps) + ".tmx";
        EXPECT_TRUE(kvtest::writeTextFile(path, text));
        kvengine::CCTMXTiledMap* map = kvengine::CCTMXTiledMap::createWithFile(path.c_str());
        EXPECT_NE(map, nullptr);
        return map;
    }

    unsigned countActors(const char* kind) {
        unsigned n = 0;
        for (unsigned i = 0; i < model->getActors()->count(); ++i)
            n += model->getActors()->objectAtIndex(i)->isKindOf(kind) ? 1 : 0;
        return n;
    }

    // The number of static bodies without an actor whose fixtures are in group `group`.
    static int plainBoxes(short groupIndex) {
        int n = 0;
        for (b2Body* body = KVPhysWorld::getInstance()->getWorld()->GetBodyList(); body;
             body = body->GetNext())
            if (body->GetUserData().pointer == 0 && body->GetFixtureList() != nullptr &&
                body->GetFixtureList()->GetFilterData().groupIndex == groupIndex &&
                body->GetFixtureList()->GetShape()->GetType() == b2Shape::e_polygon)
                ++n;
        return n;
    }

    KVGameSetup* setup = nullptr;
    KVGameModel* model = nullptr;

private:
    std::string m_folder;
    int m_maps = 0;
};

TEST_F(KVGameModelTest, ALevelIsBuiltFromItsMap) {
    const std::string holes = group("Holes", object("Hole", 448, 224, 64, 64));
    const std::string collisions =
        group("Collisions", object("Kelp", 0, 96, 24, 224, property("isStickyWall", "1")) +
                                object("Rock", 600, 500, 64, 32) +
                                object("Ledge", 700, 500, 64, 32, property("isStickyWall", "0")));
    const std::string objects = teamObjects(object("SpawnPoint", 160, 160, 32, 32));
    kvengine::CCTMXTiledMap* map =
        loadMap(fullMap(objects,
                        object("Coconut", 300, 200, 32, 32) + object("Booster", 0, 0, 32, 32) +
                            object("Anchor", 600, 200, 32, 32),
                        holes + collisions));
    LogCapture log;
    ASSERT_TRUE(model->buildLevel(map));

    EXPECT_EQ(setup->getCurrentGameModel(), model);
    EXPECT_EQ(model->getTileMap(), map);
    ASSERT_EQ(model->getMapBorders()->count(), 2u); // the outer border and the hole
    modeltest::expectOuterBorder(model->getMapBorders(), 30.0f, 19.0f);
    auto* hole = static_cast<KVMapBorder*>(model->getMapBorders()->objectAtIndex(1));
    EXPECT_FLOAT_EQ(hole->getBody()->GetPosition().x, 14.0f);
    EXPECT_FLOAT_EQ(hole->getBody()->GetPosition().y, (608.0f - 224.0f - 64.0f) / 32.0f);

    // "isStickyWall" 1 makes a wall; "0" and a missing key make plain boxes of group 5.
    EXPECT_EQ(countActors("KVStickyWall"), 1u);
    EXPECT_EQ(plainBoxes(5), 2);
    EXPECT_EQ(countActors("KVCoconut"), 1u);
    EXPECT_EQ(countActors("KVAnchor"), 1u);
    EXPECT_TRUE(log.contains("KVBooster")) << "the booster is skipped, logged";

    ASSERT_EQ(model->getTeamSpawnPositions().size(), 2u);
    EXPECT_FLOAT_EQ(model->getTeamSpawnPositions()[0].x, 2.5f);
    EXPECT_FLOAT_EQ(model->getTeamSpawnPositions()[0].y, (608.0f - 400.0f - 16.0f) / 32.0f);
    ASSERT_EQ(model->getRespawnPoints().size(), 1u);
    EXPECT_FLOAT_EQ(model->getRespawnPoints()[0].x, 5.5f);
    EXPECT_NE(model->getTurnManager(), nullptr);
    EXPECT_TRUE(model->getScoreManager()->isKindOf("KVScoreManagerSolo"));
    EXPECT_NE(model->getXpManager(), nullptr);
    EXPECT_NE(model->getPowerupManager(), nullptr);

    // A solo mission records the hidden characters it finds, and a creature found without its
    // helmet records no helmet.
    auto* solo = static_cast<KVScoreManagerSolo*>(model->getScoreManager());
    EXPECT_TRUE(model->recordHiddenCharacter("kiwa", "strawhat"));
    EXPECT_TRUE(model->recordHiddenCharacter("pito", ""));
    ASSERT_EQ(solo->getKelvosFound()->count(), 2u);
    EXPECT_EQ(solo->getKelvosFound()->objectAtIndex(1)->text, "pito");
    ASSERT_EQ(solo->getHelmetsFound()->count(), 1u);
    EXPECT_EQ(solo->getHelmetsFound()->objectAtIndex(0)->text, "strawhat");
}

// What the chests find goes to the solo score manager's lists, which the victory screen saves; a
// multiplayer model keeps none and records nothing.
TEST_F(KVGameModelTest, OpenedChestsAndTheirHelmetsJoinTheSoloListsOnly) {
    ASSERT_TRUE(model->buildLevel(loadMap(fullMap(teamObjects("")))));
    auto* score = static_cast<KVScoreManagerSolo*>(model->getScoreManager());
    EXPECT_TRUE(model->recordOpenedChest("reef_chest"));
    EXPECT_TRUE(model->recordChestHelmet("snorkel"));
    EXPECT_FALSE(model->recordOpenedChest("")) << "an empty id is not recorded";
    ASSERT_EQ(score->getChestsFound()->count(), 1u);
    EXPECT_EQ(score->getChestsFound()->objectAtIndex(0)->text, "reef_chest");
    ASSERT_EQ(score->getHelmetsFound()->count(), 1u);
    EXPECT_EQ(score->getHelmetsFound()->objectAtIndex(0)->text, "snorkel");
    EXPECT_FALSE(model->isAnythingBusy());
    kvengine::CCNotificationCenter::getInstance()->postNotification(EVENT_NOTIFY_IN_ACTION, score);
    EXPECT_TRUE(model->isAnythingBusy());
    kvengine::CCNotificationCenter::getInstance()->postNotification(EVENT_NOTIFY_IDLE, score);
    EXPECT_FALSE(model->isAnythingBusy());

    auto* unbuilt = new KVGameModel();
    EXPECT_FALSE(unbuilt->recordOpenedChest("reef_chest")) << "no solo lists";
    EXPECT_FALSE(unbuilt->recordChestHelmet("snorkel"));
    EXPECT_FALSE(unbuilt->isAnythingBusy());
    unbuilt->release();
}

TEST_F(KVGameModelTest, TheOuterBorderFollowsTheContentScale) {
    // 40 x 30 tiles of 64 pixels: at content scale 2 they are 32 points each, 40 x 30 m.
    kvengine::CCDirector::getInstance()->enableDoubleContentScale();
    kvengine::CCTMXTiledMap* map = loadMap(
        mapText(group("Objects", teamObjects()) + group("PowerUpSpawners") + group("GPE"), 40, 30, 64));
    ASSERT_TRUE(model->buildLevel(map));
    kvengine::CCDirector::getInstance()->setContentScaleFactor(1.0f);
    modeltest::expectOuterBorder(model->getMapBorders(), 40.0f, 30.0f);
}

TEST_F(KVGameModelTest, MapsThatCannotBePlayedAreRefusedWithTheirCause) {
    struct Case {
        const char* what;
        std::string map;
        const char* logged;
        bool shortSpawnList;
    };
    const Case cases[] = {
        {"no Objects", mapText(group("PowerUpSpawners") + group("GPE")), "\"Objects\"", false},
        {"no PowerUpSpawners", mapText(group("Objects", teamObjects()) + group("GPE")), "\"PowerUpSpawners\"",
         false},
        {"no GPE", mapText(group("Objects", teamObjects()) + group("PowerUpSpawners")), "\"GPE\"", false},
        {"a member's spawn object missing", fullMap(object("SpawnPoint1", 64, 400, 32, 32)), "SpawnPoint2",
         false},
        {"fewer spawn names than creatures", fullMap(teamObjects()), "spawn-point names", true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        if (c.shortSpawnList) setTeam({"steev", "vahine"}, {"SpawnPoint1"});
        auto* fresh = new KVGameModel();
        LogCapture log;
        EXPECT_FALSE(fresh->buildLevel(loadMap(c.map)));
        EXPECT_TRUE(log.contains(c.logged)) << c.logged;
        fresh->release();
        setTeam({"steev", "vahine"}, {"SpawnPoint1", "SpawnPoint2"});
    }
    LogCapture log;
    EXPECT_FALSE(model->buildLevel(nullptr));
    EXPECT_TRUE(log.contains("no tile map"));
}

// A stand-in pawn class for the AI stats: its initAt counts the calls.
int g_aiPawnsMade = 0;
class TestAIPawn : public KVPawn {
public:
    CC_DECLARE_CLASS_NAME(TestAIPawn, KVPawn)
    bool initAt(float x, float y, KVGameModel* owner, CCString* typeName) override {
        ++g_aiPawnsMade;
        return KVPawn::initAt(x, y, owner, typeName);
    }
};

TEST_F(KVGameModelTest, ComputerPawnsComeFromTheirSpawnPointsOrAreSkippedWithALogLine) {
    KVObjectFactory::registerCreator("TestAIPawn", &KVObjectFactory::creatorOf<TestAIPawn>);
    kvdata::Dict* table = KVGameParameters::getInstance()->getKelvoAiStatsTable();
    kvdata::Dict* good = kvdata::newDict();
    kvdata::setText(good, "engine_class", "TestAIPawn");
    table->setObject(good, "testcrab");
    kvdata::Dict* notPawn = kvdata::newDict();
    kvdata::setText(notPawn, "engine_class", "KVCoconut");
    table->setObject(notPawn, "testrock");
    kvdata::Dict* noClass = kvdata::newDict();
    table->setObject(noClass, "testnothing");

    struct Case {
        const char* what;
        std::string properties;
        int made;
        const char* logged; // "" for nothing
    };
    const Case cases[] = {
        {"a crab", property("Name", "testcrab"), 1, ""},
        {"no Name", "", 0, "has no \"Name\""},
        {"a Name not in the AI stats", property("Name", "nobody"), 0, "not in the AI stats"},
        {"no engine_class", property("Name", "testnothing"), 0, "no engine_class"},
        {"an engine_class that is no pawn", property("Name", "testrock"), 0, "no pawn class"},
        {"a team member's computer twin", property("Name", "SteevAI"), 0, ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        g_aiPawnsMade = 0;
        auto* fresh = new KVGameModel();
        LogCapture log;
        ASSERT_TRUE(fresh->buildLevel(
            loadMap(fullMap(teamObjects(object("AISpawnPoint", 600, 300, 32, 32, c.properties))))));
        EXPECT_EQ(g_aiPawnsMade, c.made);
        if (*c.logged != '\0') {
            EXPECT_TRUE(log.contains(c.logged)) << c.logged;
        } else {
            EXPECT_FALSE(log.contains("AISpawnPoint"));
        }
        kvengine::CCNotificationCenter::getInstance()->postNotification(EVENT_GAME_SHUTDOWN);
        fresh->release();
    }
    for (const char* key : {"testcrab", "testrock", "testnothing"})
        table->removeObjectForKey(key);
}

TEST_F(KVGameModelTest, MultiplayerPlacesTheFirstPlayersAndIgnoresComputerSpawns) {
    kvdata::Dict* table = KVGameParameters::getInstance()->getKelvoAiStatsTable();
    KVObjectFactory::registerCreator("TestAIPawn", &KVObjectFactory::creatorOf<TestAIPawn>);
    kvdata::Dict* good = kvdata::newDict();
    kvdata::setText(good, "engine_class", "TestAIPawn");
    table->setObject(good, "testcrab");
    setup->solo = false;
    setup->playerCount = 2;
    setTeam({"steev", "vahine", "kiwa", "pito"}, {"a", "b", "c", "d"});
    g_aiPawnsMade = 0;
    const std::string objects = object("SpawnPoint1", 64, 100, 32, 32) +
                                object("SpawnPoint2", 800, 100, 32, 32) +
                                object("SpawnPoint3", 64, 300, 32, 32) +
                                object("AISpawnPoint", 400, 300, 32, 32, property("Name", "testcrab"));
    ASSERT_TRUE(model->buildLevel(loadMap(fullMap(objects))));
    EXPECT_EQ(g_aiPawnsMade, 0);
    ASSERT_EQ(model->getTeamSpawnPositions().size(), 2u);
    EXPECT_FLOAT_EQ(model->getTeamSpawnPositions()[1].x, 25.5f);
    EXPECT_TRUE(model->getScoreManager()->isKindOf("KVScoreManagerHuddle"));
    EXPECT_EQ(model->getXpManager(), nullptr);
    // One player per placed member, each with its kelvo at its numbered spawn point.
    std::vector<KVPlayerHuddle*> players;
    for (unsigned i = 0; i < model->getActors()->count(); ++i)
        if (model->getActors()->objectAtIndex(i)->isKindOf("KVPlayerHuddle"))
            players.push_back(static_cast<KVPlayerHuddle*>(model->getActors()->objectAtIndex(i)));
    ASSERT_EQ(players.size(), 2u);
    EXPECT_EQ(countActors("KVKelvoPlayer"), 2u);
    const char* const names[] = {"steev", "vahine"};
    for (int i = 0; i < 2; ++i) {
        KVKelvoPlayer* kelvo = players[i]->getKelvo();
        ASSERT_NE(kelvo, nullptr);
        EXPECT_STREQ(kelvo->getTypeName()->c_str(), names[i]);
        EXPECT_EQ(kelvo->getOwnerIndex(), i);
        EXPECT_EQ(kelvo->getOwnerPlayer(), players[i]);
        EXPECT_FLOAT_EQ(kelvo->getBody()->GetPosition().x, model->getTeamSpawnPositions()[i].x);
    }
    EXPECT_EQ(model->getPlayerTurnCount(), -1); // no solo score manager
    // A hidden character found on a multiplayer map is recorded nowhere.
    EXPECT_FALSE(model->recordHiddenCharacter("kiwa", "strawhat"));
    table->removeObjectForKey("testcrab");

    // Player 2's numbered spawn point missing: refused.
    auto* fresh = new KVGameModel();
    LogCapture log;
    EXPECT_FALSE(fresh->buildLevel(loadMap(fullMap(object("SpawnPoint1", 64, 100, 32, 32)))));
    EXPECT_TRUE(log.contains("SpawnPoint2"));
    fresh->release();
}

TEST(KVObjectDescription, SplittingKeepsEmptyRunsAndALeadingSeparator) {
    struct Case {
        const char* text;
        std::vector<std::string> pieces;
    };
    const Case cases[] = {
        {"", {}},          {"a", {"a"}},   {"a,b", {"a", "b"}}, {"a,,b", {"a", "", "b"}},
        {"a,", {"a", ""}}, {",a", {",a"}}, {",,a", {",", "a"}}, {" a , b", {" a ", " b"}},
    };
    for (const Case& c : cases)
        EXPECT_EQ(kvdescription::split(c.text, ','), c.pieces) << "\"" << c.text << "\"";
    EXPECT_FALSE(kvdescription::splitPair("object", '=').valid);
    const kvdescription::Pair pair = kvdescription::splitPair("a=b=c", '=');
    EXPECT_TRUE(pair.valid);
    EXPECT_EQ(pair.key, "a");
    EXPECT_EQ(pair.value, "b");
}

TEST_F(KVGameModelTest, DrawnObjectsAreMadeFromTheirDescriptions) {
    ASSERT_TRUE(model->buildLevel(loadMap(fullMap(teamObjects()))));
    struct Case {
        const char* description;
        const char* kind;       // the actor attached to the body, or "" for none
        const char* parameters; // of the test object
        const char* logged;     // "" for nothing
    };
    const Case cases[] = {
        {"object=SpikyWall", "KVSpikyWall", "", ""},
        {"object=Hole", "KVMapBorder", "", ""},
        {"object=Nope", "", "", "unknown object \"Nope\""},
        {"object=Booster", "", "", "KVBooster"},
        {"", "", "", ""},
        {"object", "", "", "part \"object\" skipped"},
        {",object=SpikyWall", "", "", ""}, // one part with the key ",object": not ours, ignored
        {"object=SpikyWall,,colour=red", "KVSpikyWall", "", "part \"\" skipped"},
    };
    b2World* world = KVPhysWorld::getInstance()->getWorld();
    for (const Case& c : cases) {
        SCOPED_TRACE(c.description);
        b2BodyDef def;
        b2Body* body = world->CreateBody(&def);
        b2PolygonShape box;
        box.SetAsBox(0.5f, 0.5f);
        body->CreateFixture(&box, 0.0f);
        LogCapture log;
        auto* text = new CCString(c.description);
        model->createObjectFromDescription(text, body);
        text->release();
        auto* actor = reinterpret_cast<KVActor*>(body->GetUserData().pointer);
        if (*c.kind == '\0') {
            EXPECT_EQ(actor, nullptr);
        } else {
            ASSERT_NE(actor, nullptr);
            EXPECT_TRUE(actor->isKindOf(c.kind));
            EXPECT_TRUE(model->getActors()->containsObject(actor));
        }
        if (*c.logged != '\0') {
            EXPECT_TRUE(log.contains(c.logged)) << c.logged;
        } else {
            EXPECT_TRUE(log.lines.empty()) << (log.lines.empty() ? "" : log.lines.front());
        }
    }
    model->createObjectFromDescription(nullptr, nullptr); // nothing, no crash

    // A parameter pair without ":" is skipped, logged; the others go to the object.
    b2BodyDef def;
    b2Body* body = world->CreateBody(&def);
    LogCapture log;
    auto* text = new CCString("object=SpikyWall,objectparams=a:1;b;c:x y");
    model->createObjectFromDescription(text, body);
    text->release();
    EXPECT_TRUE(log.contains("parameter \"b\" skipped"));
}

// Actors that act on others from their own update, as a hole or an attack does.
class TestActor : public KVActor {
public:
    CC_DECLARE_CLASS_NAME(TestActor, KVActor)
    static TestActor* make(std::vector<std::string>* log, const char* name) {
        auto* actor = new TestActor();
        actor->init();
        actor->m_log = log;
        actor->m_name = name;
        kvengine::CCNotificationCenter::getInstance()->postNotification(EVENT_NEW_ACTOR, actor);
        actor->release(); // the model's list keeps it
        return actor;
    }
    void update(float dt) override {
        (void)dt;
        m_log->push_back(m_name);
        if (victim != nullptr) {
            kvengine::CCNotificationCenter::getInstance()->postNotification(EVENT_REMOVE_ACTOR, victim);
            victim = nullptr;
        }
        if (spawn) {
            spawn = false;
            make(m_log, "late");
        }
    }
    KVActor* victim = nullptr;
    bool spawn = false;

private:
    std::vector<std::string>* m_log = nullptr;
    const char* m_name = "";
};

TEST_F(KVGameModelTest, AnActorRemovedDuringTheFrameIsSkippedAndFreedAtItsEnd) {
    ASSERT_TRUE(model->buildLevel(loadMap(fullMap(teamObjects()))));
    std::vector<std::string> updates;
    const unsigned before = model->getActors()->count();
    TestActor* first = TestActor::make(&updates, "first");
    TestActor* second = TestActor::make(&updates, "second");
    TestActor* third = TestActor::make(&updates, "third");
    first->victim = second; // second's last reference is the list's
    first->spawn = true;
    model->update(kFrame);
    EXPECT_EQ(updates, (std::vector<std::string>{"first", "third"}));
    EXPECT_EQ(model->getActors()->count(), before + 3); // first, third, late
    updates.clear();
    model->update(kFrame);
    EXPECT_EQ(updates, (std::vector<std::string>{"first", "third", "late"}));
    (void)third;
}

// Announced like an actor without being one, as the pawns' controllers are.
class CountingObject : public KVObject {
public:
    CC_DECLARE_CLASS_NAME(CountingObject, KVObject)
    void update(float) override { ++updates; }
    int updates = 0;
};

TEST_F(KVGameModelTest, ThePawnsControllersAreUpdatedEveryFrameUntilRemoved) {
    ASSERT_TRUE(model->buildLevel(loadMap(fullMap(teamObjects()))));
    // The team's kelvos came with their controllers, which turn and brake them and drive the
    // computer's pawns: the model updates them with the actors.
    EXPECT_EQ(countActors("KVPawnPlayerController"), countActors("KVKelvoPlayer"));
    EXPECT_GT(countActors("KVPawnPlayerController"), 0u);
    auto* counting = new CountingObject();
    kvengine::CCNotificationCenter* centre = kvengine::CCNotificationCenter::getInstance();
    centre->postNotification(EVENT_NEW_ACTOR, counting);
    model->update(kFrame);
    model->update(kFrame);
    EXPECT_EQ(counting->updates, 2);
    centre->postNotification(EVENT_REMOVE_ACTOR, counting);
    model->update(kFrame);
    EXPECT_EQ(counting->updates, 2);
    EXPECT_FALSE(model->getActors()->containsObject(counting));
    counting->release();
}

TEST_F(KVGameModelTest, ShutdownLetsGoOfTheMission) {
    ASSERT_TRUE(model->buildLevel(loadMap(fullMap(teamObjects()))));
    setup->playerCount = 3;
    model->getTurnManager()->startFirstTurn();
    kvengine::CCNotificationCenter::getInstance()->postNotification(EVENT_GAME_SHUTDOWN);
    EXPECT_EQ(model->getTurnManager(), nullptr);
    EXPECT_EQ(model->getScoreManager(), nullptr);
    EXPECT_EQ(model->getPowerupManager(), nullptr);
    EXPECT_EQ(model->getXpManager(), nullptr);
    EXPECT_EQ(model->getActors(), nullptr);
    EXPECT_EQ(KVPhysWorld::getInstance()->getWorld(), nullptr);
    EXPECT_EQ(setup->playerCount, 1);
    model->update(kFrame); // nothing left to run, no crash
}

// A coconut knocked into a hole through the model's frame: it falls and, at the view's request,
// leaves the actor list.
TEST_F(KVGameModelTest, ACoconutRollsIntoTheHoleOfABuiltLevel) {
    ASSERT_TRUE(model->buildLevel(loadMap(fullMap(teamObjects(), object("Coconut", 320, 288, 32, 32),
                                                  group("Holes", object("Hole", 448, 256, 64, 64))))));
    KVActor* coconut = nullptr;
    for (unsigned i = 0; i < model->getActors()->count(); ++i)
        if (model->getActors()->objectAtIndex(i)->isKindOf("KVCoconut"))
            coconut = static_cast<KVActor*>(model->getActors()->objectAtIndex(i));
    ASSERT_NE(coconut, nullptr);
    auto* trace = new pawntest::Trace({EVENT_COCONUT_FALL});
    trace->name(coconut, "coconut");
    coconut->getBody()->SetLinearVelocity(b2Vec2(12.0f, 0.0f));
    for (int i = 0; i < 60; ++i)
        model->update(kFrame);
    EXPECT_GE(trace->count("EVENT_COCONUT_FALL coconut"), 1) << trace->dump();
    kvengine::CCNotificationCenter::getInstance()->postNotification(EVENT_REMOVE_ACTOR, coconut);
    EXPECT_FALSE(model->getActors()->containsObject(coconut));
    model->update(kFrame);
    trace->release();
}

} // namespace
