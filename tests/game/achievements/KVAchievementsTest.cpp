#include <array>
#include <functional>
#include <set>

#include "../data/GameDataFixture.h"
#include "game/achievements/KVAchievement.h"
#include "game/achievements/KVAchievementManager.h"
#include "game/app/KVGlobalNames.h"
#include "game/pawns/KVPawn.h"
#include "game/world/KVActionEvent.h"
#include "game/world/KVRunningMission.h"

using kvdata::Dict;
using kvengine::CCNotificationCenter;
using kvengine::CCObject;
using kvengine::CCString;

namespace {

const std::vector<std::string> kAllClasses = {
    "KVAchievementTheUntouchable",     "KVAchievementTheUnforgiven",    "KVAchievementTheWeird",
    "KVAchievementTheProud",           "KVAchievementTheKinky",         "KVAchievementCallMeIndie",
    "KVAchievementCallMeFlash",        "KVAchievementCallMeBarlok",     "KVAchievementKissMyKelvo",
    "KVAchievementKrabbyPatty",        "KVAchievementSparringTheKelvo", "KVAchievementTolpeWasRight",
    "KVAchievementHolyKelvo",          "KVAchievementPolePosition",     "KVAchievementSeafoodPorridge",
    "KVAchievementDontRunNearThePool", "KVAchievementKungFuKelvo",      "KVAchievementKelvoCalibur",
    "KVAchievementYodaIsMyFather",     "KVAchievementLegendaryArmy",    "KVAchievementLetsBounce",
    "KVAchievementSocialKelvo",
};

/// A stand-in for the running mission's model: the pawn whose turn it is and the solo turn count.
class FixtureMission : public CCObject, public KVRunningMission {
public:
    KVPawn* getCurrentPawn() override { return currentPawn; }
    int getPlayerTurnCount() override { return playerTurns; }

    KVPawn* currentPawn = nullptr;
    int playerTurns = -1;
};

CCString* text(const std::string& value) {
    return kvdata::newString(value);
}

} // namespace

class AchievementTest : public kvtest::GameDataTest {
protected:
    void SetUp() override {
        GameDataTest::SetUp();
        KVPlayerParameters::getInstance();
        KVAchievementManager::getInstance();
    }
    void TearDown() override {
        for (KVPawn* pawn : m_pawns)
            pawn->release();
        m_pawns.clear();
        if (auto* setup = KVGameSetup::existingInstance()) setup->setCurrentGameModel(nullptr);
        if (auto* manager = KVAchievementManager::existingInstance()) manager->release();
        GameDataTest::TearDown();
    }

    static void post(CCString* name, CCObject* object = nullptr) {
        CCNotificationCenter::getInstance()->postNotification(name, object);
    }

    /// Class names of the achievements no longer pending.
    static std::set<std::string> completed() {
        std::set<std::string> done(kAllClasses.begin(), kAllClasses.end());
        auto* list = KVAchievementManager::getInstance()->getAchievements();
        for (unsigned i = 0; i < list->count(); ++i)
            done.erase(list->objectAtIndex(i)->className());
        return done;
    }

    /// Throws away the manager and makes a fresh one: every achievement pending again.
    static void restartRun() {
        KVAchievementManager::getInstance()->release();
        KVAchievementManager::getInstance();
    }

    KVPawn* makePawn(bool aiDriven, bool enemy) {
        auto* pawn = new KVPawn();
        pawn->setAIDriven(aiDriven);
        pawn->setEnemy(enemy);
        m_pawns.push_back(pawn);
        return pawn;
    }

    /// A chapter "Reef" in the profile with the given missions; each lock triple is
    /// {hidden, survival, speed}, and a mission named with a leading '-' gets no record.
    static void makeChapter(const std::vector<std::pair<std::string, std::array<int, 3>>>& missions) {
        Dict* profile = KVPlayerParameters::getInstance()->getProfile();
        Dict* chapter = kvdata::newDict();
        kvdata::Array* list = kvdata::newArray();
        Dict* records = kvdata::newDict();
        for (const auto& [name, locks] : missions) {
            const bool recorded = name[0] != '-';
            const std::string missionName = recorded ? name : name.substr(1);
            list->addObject(text(missionName));
            if (!recorded) continue;
            Dict* record = kvdata::newDict();
            kvdata::setInt(record, "hidden_locked", locks[0]);
            kvdata::setInt(record, "surviva_locked", locks[1]);
            kvdata::setInt(record, "speed_locked", locks[2]);
            records->setObject(record, missionName);
        }
        chapter->setObject(list, "mission_list");
        kvdata::dictAt(profile, "ChapiterSolo")->setObject(chapter, "Reef");
        kvdata::dictAt(profile, "MissionSolo")->setObject(records, "Reef");
    }

    /// A creature record at `level` in the profile and, unless `initLevel` is negative, a stats row
    /// with that start level in the game data.
    static void makeCreature(const std::string& name, int level, int initLevel) {
        Dict* record = kvdata::newDict();
        kvdata::setInt(record, "level", level);
        kvdata::setInt(record, "status_locked", 0);
        kvdata::dictAt(KVPlayerParameters::getInstance()->getProfile(), "Kelvo")->setObject(record, name);
        if (initLevel < 0) return;
        Dict* stats = kvdata::newDict();
        kvdata::setInt(stats, "init_level", initLevel);
        KVGameParameters::getInstance()->getKelvoStatsTable()->setObject(stats, name);
    }

    std::vector<KVPawn*> m_pawns;
};

TEST_F(AchievementTest, ManagerMakesTheTwentyTwoInOrderAndReleasesThemAtShutdown) {
    auto* list = KVAchievementManager::getInstance()->getAchievements();
    ASSERT_EQ(list->count(), KVAchievementManager::kAchievementCount);
    const char* identifiers[] = {"1066542", "1066552", "1066562", "1066572", "1066582", "1066602",
                                 "1066612", "1066622", "1066692", "1066632", "1066592", "1066642",
                                 "1066652", "1066662", "1066672", "1066682", "1066702", "1108302",
                                 "1066712", "1066722", "1108292", "1108312"};
    for (unsigned i = 0; i < list->count(); ++i) {
        KVAchievement* achievement = list->objectAtIndex(i);
        EXPECT_STREQ(achievement->className(), kAllClasses[i].c_str());
        EXPECT_EQ(achievement->getIdentifier(), identifiers[i]) << kAllClasses[i];
        EXPECT_TRUE(achievement->isKindOf("KVAchievement") && achievement->isKindOf("KVObject"));
        EXPECT_TRUE(achievement->isPersistent());
        EXPECT_FALSE(achievement->isCompleted());
    }
    EXPECT_TRUE(list->objectAtIndex(0)->isKindOf("KVAchievementRecruit"));
    EXPECT_TRUE(list->objectAtIndex(6)->isKindOf("KVAchievementStar"));
    EXPECT_TRUE(list->objectAtIndex(21)->isKindOf("KVAchievementSimpleEvent"));

    CCNotificationCenter* center = CCNotificationCenter::getInstance();
    struct Watched {
        CCString* name;
        unsigned registrations;
    };
    const Watched watched[] = {
        {EVENT_KELVO_RECRUITED, 5}, {EVENT_STAR_HIDDEN_UNLOCKED, 1}, {EVENT_ACTION, 2},
        {SCREEN_INGAME_GAME, 3},    {EVENT_GAME_PLAYER_WIN, 2},      {SCREEN_MENU_TRAIN_KELVO_CONFIRM, 2},
        {EVENT_START_TURN, 1},      {EVENT_ACHIEVEMENT_FACEBOOK, 1}, {EVENT_SAVE_STATS, 1},
    };
    for (const Watched& w : watched)
        EXPECT_EQ(center->registrationCount(w.name->text), w.registrations) << w.name->text;

    // Shutdown: releasing the manager releases every achievement and all their registrations.
    KVAchievementManager::getInstance()->release();
    center->flushPendingRemovals();
    for (const Watched& w : watched)
        EXPECT_EQ(center->registrationCount(w.name->text), 0u) << w.name->text;
    EXPECT_EQ(KVAchievementManager::existingInstance(), nullptr);
}

// Each row starts a fresh run, prepares the profile or the game settings, posts its notifications
// and names exactly the achievements that must have completed.
TEST_F(AchievementTest, NotificationsCompleteExactlyTheirAchievements) {
    struct Post {
        CCString* name;
        std::string object; // "" posts no object
    };
    struct Case {
        const char* what;
        std::function<void()> prepare;
        std::vector<Post> posts;
        std::set<std::string> done;
    };
    auto noPrep = [] {};
    auto team = [](std::vector<std::string> helmets) {
        return [helmets] {
            auto* list = KVGameSetup::getInstance()->getTeamHelmetNames();
            list->removeAllObjects();
            for (const std::string& helmet : helmets)
                list->addObject(text(helmet));
        };
    };
    const std::vector<Case> cases = {
        {"sammo recruited", noPrep, {{EVENT_KELVO_RECRUITED, "sammo"}}, {"KVAchievementTheUntouchable"}},
        {"sammo recruited twice",
         noPrep,
         {{EVENT_KELVO_RECRUITED, "sammo"}, {EVENT_KELVO_RECRUITED, "sammo"}},
         {"KVAchievementTheUntouchable"}},
        {"clint recruited", noPrep, {{EVENT_KELVO_RECRUITED, "clint"}}, {"KVAchievementTheUnforgiven"}},
        {"kapono recruited", noPrep, {{EVENT_KELVO_RECRUITED, "kapono"}}, {"KVAchievementTheWeird"}},
        {"vesper recruited", noPrep, {{EVENT_KELVO_RECRUITED, "vesper"}}, {"KVAchievementTheProud"}},
        {"venus recruited", noPrep, {{EVENT_KELVO_RECRUITED, "venus"}}, {"KVAchievementTheKinky"}},
        {"another creature, a name in capitals, no name",
         noPrep,
         {{EVENT_KELVO_RECRUITED, "steev"}, {EVENT_KELVO_RECRUITED, "Sammo"}, {EVENT_KELVO_RECRUITED, ""}},
         {}},
        {"boss dead", noPrep, {{EVENT_COCONUT_CRAB_DEAD, ""}}, {"KVAchievementKrabbyPatty"}},
        {"kraken", noPrep, {{EVENT_KRAKEN_TRIGGERED, ""}}, {"KVAchievementTolpeWasRight"}},
        {"miracle tentacle", noPrep, {{EVENT_MIRACLE_TENTACLE_TRIGGERED, ""}}, {"KVAchievementHolyKelvo"}},
        {"six-enemy blast",
         noPrep,
         {{EVENT_ACHIEVEMENT_SEAFOOD_PORRIDGE, ""}},
         {"KVAchievementSeafoodPorridge"}},
        {"pushed into a hole",
         noPrep,
         {{EVENT_ACHIEVEMENT_DONT_RUN_NEAR_POOL, ""}},
         {"KVAchievementDontRunNearThePool"}},
        {"five melee hits", noPrep, {{EVENT_ACHIEVEMENT_KUNG_FU_KELVO, ""}}, {"KVAchievementKungFuKelvo"}},
        {"social",
         noPrep,
         {{EVENT_ACHIEVEMENT_FACEBOOK, ""}, {EVENT_ACHIEVEMENT_FACEBOOK, ""}},
         {"KVAchievementSocialKelvo"}},
        {"boxing helmet in the team",
         team({"", "iron_helm", "boxing_helmet"}),
         {{SCREEN_INGAME_GAME, "C0M01"}},
         {"KVAchievementSparringTheKelvo"}},
        {"no boxing helmet in the team", team({"iron_helm", "boxing"}), {{SCREEN_INGAME_GAME, "C0M01"}}, {}},
        {"a win of another mission",
         [] { KVGameSetup::getInstance()->setMissionName(text("C0M13")); },
         {{EVENT_GAME_PLAYER_WIN, ""}},
         {}},
        {"names of other achievements' watches alone",
         noPrep,
         {{EVENT_START_TURN, ""}, {EVENT_END_TURN, ""}, {EVENT_REMOVE_ACTOR, ""}, {EVENT_SAVE_STATS, ""}},
         {}},
    };
    for (const Case& c : cases) {
        restartRun();
        c.prepare();
        for (const Post& p : c.posts)
            post(p.name, p.object.empty() ? nullptr : text(p.object));
        EXPECT_EQ(completed(), c.done) << c.what;
        EXPECT_EQ(KVAchievementManager::getInstance()->getCompletedCount(), c.done.size()) << c.what;
    }
}

TEST_F(AchievementTest, CompletedAchievementLeavesTheListAndStopsObserving) {
    CCNotificationCenter* center = CCNotificationCenter::getInstance();
    auto* list = KVAchievementManager::getInstance()->getAchievements();
    KVAchievement* untouchable = list->objectAtIndex(0);
    untouchable->retain(); // kept alive past completion to look at it
    post(EVENT_KELVO_RECRUITED, text("sammo"));
    EXPECT_TRUE(untouchable->isCompleted());
    EXPECT_EQ(list->count(), 21u);
    center->flushPendingRemovals();
    EXPECT_FALSE(center->isObserverKnown(untouchable));
    EXPECT_EQ(center->registrationCount("EVENT_KELVO_RECRUITED"), 4u);
    untouchable->release();
}

// The achievement that completes is destroyed inside its own handler; the post goes on to the
// observers after it, including other achievements and observers registered later.
TEST_F(AchievementTest, DeliveryGoesOnAfterAnAchievementDestroyedDuringThePost) {
    kvtest::NotificationRecorder recorder;
    recorder.observe(EVENT_KELVO_RECRUITED);
    recorder.observe(EVENT_COCONUT_CRAB_DEAD);
    post(EVENT_KELVO_RECRUITED, text("sammo"));
    post(EVENT_COCONUT_CRAB_DEAD);
    post(EVENT_COCONUT_CRAB_DEAD);
    EXPECT_EQ(recorder.objectsOf("EVENT_KELVO_RECRUITED"), std::vector<std::string>{"sammo"});
    EXPECT_EQ(recorder.objectsOf("EVENT_COCONUT_CRAB_DEAD").size(), 2u);
    // The recruit achievements after the destroyed one still listen.
    post(EVENT_KELVO_RECRUITED, text("venus"));
    EXPECT_EQ(completed(), (std::set<std::string>{"KVAchievementTheUntouchable", "KVAchievementKrabbyPatty",
                                                  "KVAchievementTheKinky"}));

    // A notification posted from inside another post: the completion happens in the nested post.
    struct Relay : CCObject {
        void onKraken(kvengine::CCNotification*) {
            CCNotificationCenter::getInstance()->postNotification(EVENT_MIRACLE_TENTACLE_TRIGGERED);
            ++relayed;
        }
        int relayed = 0;
    } relay;
    CCNotificationCenter::getInstance()->addObserver(&relay, notification_selector(Relay::onKraken),
                                                     EVENT_KRAKEN_TRIGGERED);
    post(EVENT_KRAKEN_TRIGGERED);
    CCNotificationCenter::getInstance()->removeObserver(&relay);
    EXPECT_EQ(relay.relayed, 1);
    EXPECT_TRUE(completed().count("KVAchievementTolpeWasRight") &&
                completed().count("KVAchievementHolyKelvo"));
}

TEST_F(AchievementTest, StarAchievementsNeedTheStarInEveryMissionOfTheChapter) {
    using Locks = std::array<int, 3>; // hidden, survival, speed
    struct Case {
        const char* what;
        std::vector<std::pair<std::string, Locks>> missions;
        CCString* event;
        const char* chapter;
        std::set<std::string> done;
    };
    const std::vector<Case> cases = {
        {"hidden stars everywhere",
         {{"M1", {0, 1, 1}}, {"M2", {0, 1, 1}}},
         EVENT_STAR_HIDDEN_UNLOCKED,
         "Reef",
         {"KVAchievementCallMeIndie"}},
        {"survival stars everywhere",
         {{"M1", {1, 0, 1}}, {"M2", {1, 0, 1}}},
         EVENT_STAR_SURVIVAL_UNLOCKED,
         "Reef",
         {"KVAchievementCallMeBarlok"}},
        {"speed stars everywhere",
         {{"M1", {1, 1, 0}}, {"M2", {1, 1, 0}}},
         EVENT_STAR_SPEED_UNLOCKED,
         "Reef",
         {"KVAchievementCallMeFlash"}},
        {"the last mission's star locked",
         {{"M1", {0, 0, 0}}, {"M2", {1, 0, 0}}},
         EVENT_STAR_HIDDEN_UNLOCKED,
         "Reef",
         {}},
        {"the first mission's star locked",
         {{"M1", {0, 0, 1}}, {"M2", {0, 0, 0}}},
         EVENT_STAR_SPEED_UNLOCKED,
         "Reef",
         {}},
        {"a mission without record",
         {{"M1", {0, 0, 0}}, {"-M2", {0, 0, 0}}},
         EVENT_STAR_SURVIVAL_UNLOCKED,
         "Reef",
         {}},
        {"another kind of star earned", {{"M1", {1, 0, 0}}}, EVENT_STAR_HIDDEN_UNLOCKED, "Reef", {}},
        {"a chapter without missions", {}, EVENT_STAR_SPEED_UNLOCKED, "Reef", {"KVAchievementCallMeFlash"}},
        {"a chapter the profile lacks", {{"M1", {0, 0, 0}}}, EVENT_STAR_HIDDEN_UNLOCKED, "Abyss", {}},
    };
    for (const Case& c : cases) {
        restartRun();
        makeChapter(c.missions);
        post(c.event, text(c.chapter));
        EXPECT_EQ(completed(), c.done) << c.what;
    }
    EXPECT_TRUE(logged("no mission list for chapter \"Abyss\""));
    // No chapter at all in the notification: nothing completes, nothing breaks.
    post(EVENT_STAR_SPEED_UNLOCKED);
    EXPECT_TRUE(completed().empty());

    // A refused chapter is tested again, from its first mission, at the next notification.
    restartRun();
    makeChapter({{"M1", {0, 0, 0}}, {"M2", {1, 0, 0}}});
    post(EVENT_STAR_HIDDEN_UNLOCKED, text("Reef"));
    EXPECT_TRUE(completed().empty());
    KVPlayerParameters::getInstance()->setMissionHiddenLock("M2", "Reef", 0); // posts the notification itself
    EXPECT_EQ(completed(), std::set<std::string>{"KVAchievementCallMeIndie"});
}

TEST_F(AchievementTest, KelvoCaliburCountsTenCombosOfOneRunOfItsMission) {
    enum Step { StartC0M17, StartOther, Combo, OtherAction, NoEvent };
    struct Case {
        const char* what;
        std::vector<std::pair<Step, int>> steps; // step, repeat
        bool done;
    };
    const std::vector<Case> cases = {
        {"ten combos", {{StartC0M17, 1}, {Combo, 10}}, true},
        {"nine combos and other actions",
         {{StartC0M17, 1}, {Combo, 9}, {OtherAction, 5}, {NoEvent, 2}},
         false},
        {"ten combos in another mission", {{StartOther, 1}, {Combo, 10}}, false},
        {"ten combos before any mission start", {{Combo, 10}}, false},
        {"nine, a new start, one more", {{StartC0M17, 1}, {Combo, 9}, {StartC0M17, 1}, {Combo, 1}}, false},
        {"nine, a new start, ten more", {{StartC0M17, 1}, {Combo, 9}, {StartC0M17, 1}, {Combo, 10}}, true},
        {"nine, another mission, one more",
         {{StartC0M17, 1}, {Combo, 9}, {StartOther, 1}, {Combo, 1}},
         false},
    };
    for (const Case& c : cases) {
        restartRun();
        for (const auto& [step, repeat] : c.steps) {
            for (int i = 0; i < repeat; ++i) {
                switch (step) {
                case StartC0M17:
                    post(SCREEN_INGAME_GAME, text("C0M17"));
                    break;
                case StartOther:
                    post(SCREEN_INGAME_GAME, text("C0M16"));
                    break;
                case Combo:
                    post(EVENT_ACTION, KVActionEvent::create(KVActionEvent::Combo, 10, 0, nullptr, nullptr));
                    break;
                case OtherAction:
                    post(EVENT_ACTION,
                         KVActionEvent::create(KVActionEvent::MeleeHit, 10, 0, nullptr, nullptr));
                    break;
                case NoEvent:
                    post(EVENT_ACTION, text("7"));
                    break;
                }
            }
        }
        EXPECT_EQ(completed().count("KVAchievementKelvoCalibur") == 1, c.done) << c.what;
        EXPECT_EQ(completed().size(), c.done ? 1u : 0u) << c.what; // KissMyKelvo never completes
    }
}

TEST_F(AchievementTest, LetsBounceNeedsABounceOfThePlayingPawnInEveryPlayerTurn) {
    auto* mission = new FixtureMission();
    KVGameSetup::getInstance()->setCurrentGameModel(mission);
    mission->release();
    KVPawn* player = makePawn(false, false);
    KVPawn* mate = makePawn(false, false);
    KVPawn* enemy = makePawn(true, true);
    KVPawn* ally = makePawn(true, false); // computer-driven on the player's side
    enum Kind { Start, StartOther, Turn, Bounce, Remove, Win, DropModel };
    struct Step {
        Kind kind;
        KVPawn* pawn;
    };
    struct Case {
        const char* what;
        std::vector<Step> steps;
        bool done;
    };
    const std::vector<Case> cases = {
        {"a bounce in every player turn",
         {{Start, nullptr},
          {Turn, player},
          {Bounce, player},
          {Turn, enemy},
          {Turn, mate},
          {Bounce, mate},
          {Turn, player},
          {Bounce, player},
          {Win, nullptr}},
         true},
        {"the last player turn needs no bounce",
         {{Start, nullptr}, {Turn, player}, {Bounce, player}, {Turn, enemy}, {Turn, player}, {Win, nullptr}},
         true},
        {"won in the first turn", {{Start, nullptr}, {Turn, player}, {Win, nullptr}}, true},
        {"a player turn without a bounce",
         {{Start, nullptr}, {Turn, player}, {Turn, enemy}, {Turn, player}, {Bounce, player}, {Win, nullptr}},
         false},
        {"only another pawn bounced",
         {{Start, nullptr}, {Turn, player}, {Bounce, mate}, {Bounce, enemy}, {Turn, enemy}, {Win, nullptr}},
         false},
        {"enemy and computer turns need no bounce",
         {{Start, nullptr}, {Turn, enemy}, {Turn, ally}, {Turn, enemy}, {Win, nullptr}},
         true},
        {"a player's pawn lost",
         {{Start, nullptr}, {Turn, player}, {Bounce, player}, {Remove, mate}, {Turn, enemy}, {Win, nullptr}},
         false},
        {"an enemy and a computer pawn lost",
         {{Start, nullptr},
          {Turn, player},
          {Bounce, player},
          {Remove, enemy},
          {Remove, ally},
          {Turn, enemy},
          {Win, nullptr}},
         true},
        {"another mission", {{StartOther, nullptr}, {Turn, player}, {Bounce, player}, {Win, nullptr}}, false},
        {"a win before any mission start", {{Turn, player}, {Bounce, player}, {Win, nullptr}}, false},
        {"a spoilt run, then a new start",
         {{Start, nullptr},
          {Turn, player},
          {Turn, enemy},
          {Start, nullptr},
          {Turn, player},
          {Bounce, player},
          {Turn, enemy},
          {Win, nullptr}},
         true},
        {"no model to ask: the bounce does not count",
         {{Start, nullptr},
          {Turn, player},
          {DropModel, nullptr},
          {Bounce, player},
          {Turn, enemy},
          {Win, nullptr}},
         false},
    };
    for (const Case& c : cases) {
        restartRun();
        KVGameSetup::getInstance()->setCurrentGameModel(mission);
        mission->currentPawn = nullptr;
        for (const Step& step : c.steps) {
            switch (step.kind) {
            case Start:
                post(SCREEN_INGAME_GAME, text("C0M20"));
                break;
            case StartOther:
                post(SCREEN_INGAME_GAME, text("C0M21"));
                break;
            case Turn:
                mission->currentPawn = step.pawn;
                post(EVENT_START_TURN, step.pawn);
                post(EVENT_END_TURN, step.pawn);
                break;
            case Bounce:
                post(EVENT_PAWN_BOUNCE_FOR_ACHIEVEMENT, step.pawn);
                break;
            case Remove:
                post(EVENT_REMOVE_ACTOR, step.pawn);
                break;
            case Win:
                post(EVENT_GAME_PLAYER_WIN);
                break;
            case DropModel:
                mission->retain();
                KVGameSetup::getInstance()->setCurrentGameModel(nullptr);
                break;
            }
        }
        EXPECT_EQ(completed().count("KVAchievementLetsBounce") == 1, c.done) << c.what;
        if (KVGameSetup::getInstance()->getCurrentGameModel() == nullptr) {
            KVGameSetup::getInstance()->setCurrentGameModel(mission);
            mission->release();
        }
    }
    EXPECT_TRUE(logged("a bounce with no pawn playing"));
}

TEST_F(AchievementTest, PolePositionNeedsC0M14WonBeforeTheSecondPlayerTurn) {
    auto* mission = new FixtureMission();
    struct Case {
        const char* mission;
        int playerTurns; // -1: no solo score manager
        bool withModel;
        bool done;
    };
    const Case cases[] = {
        {"C0M14", 0, true, true},   {"C0M14", 1, true, true},  {"C0M14", 2, true, false},
        {"C0M14", 5, true, false},  {"C0M15", 1, true, false}, {"C0M14", -1, true, false},
        {"C0M14", 1, false, false}, {"", 1, true, false},
    };
    for (const Case& c : cases) {
        restartRun();
        KVGameSetup* setup = KVGameSetup::getInstance();
        setup->setMissionName(c.mission[0] != '\0' ? text(c.mission) : nullptr);
        setup->setCurrentGameModel(c.withModel ? mission : nullptr);
        mission->playerTurns = c.playerTurns;
        post(EVENT_GAME_PLAYER_WIN);
        EXPECT_EQ(completed().count("KVAchievementPolePosition") == 1, c.done)
            << c.mission << " after " << c.playerTurns << " turns";
    }
    EXPECT_TRUE(logged("without a solo score manager"));
    KVGameSetup::getInstance()->setCurrentGameModel(nullptr);
    mission->release();
}

TEST_F(AchievementTest, TrainingAchievementsReadTheProfileAfterTheTraining) {
    struct Creature {
        std::string name;
        int level;
        int initLevel; // -1: no stats row
    };
    auto army = [](int qualifying) {
        std::vector<Creature> creatures;
        for (int i = 0; i < qualifying; ++i)
            creatures.push_back({"legend" + std::to_string(i), 11 + i % 3, i % 11});
        return creatures;
    };
    struct Case {
        const char* what;
        std::vector<Creature> creatures;
        const char* trained; // null: no object
        std::set<std::string> done;
    };
    std::vector<Case> cases = {
        {"level 11", {{"hero", 11, 1}}, "hero", {"KVAchievementYodaIsMyFather"}},
        {"level 10", {{"hero", 10, 1}}, "hero", {}},
        {"a creature without record", {}, "ghost", {}},
        {"no creature named", {{"hero", 12, 1}}, nullptr, {}},
        {"six legendary creatures", army(6), "legend0", {"KVAchievementYodaIsMyFather"}},
        {"seven legendary creatures",
         army(7),
         "legend0",
         {"KVAchievementYodaIsMyFather", "KVAchievementLegendaryArmy"}},
    };
    // Seven at level 11 or more, but one of them started above level 10, and one has no stats.
    std::vector<Creature> startedHigh = army(6);
    startedHigh.push_back({"veteran", 12, 11});
    startedHigh.push_back({"stranger", 15, -1});
    cases.push_back({"one started above 10, one has no stats", startedHigh, "hero", {}});
    std::vector<Creature> lowLevel = army(6);
    lowLevel.push_back({"rookie", 10, 1});
    cases.push_back({"the seventh is only at level 10", lowLevel, "rookie", {}});

    for (const Case& c : cases) {
        restartRun();
        Dict* records = kvdata::dictAt(KVPlayerParameters::getInstance()->getProfile(), "Kelvo");
        for (const Case& other : cases) // the creatures of the other rows leave
            for (const Creature& creature : other.creatures)
                records->removeObjectForKey(creature.name);
        for (const Creature& creature : c.creatures)
            makeCreature(creature.name, creature.level, creature.initLevel);
        post(SCREEN_MENU_TRAIN_KELVO_CONFIRM, c.trained != nullptr ? text(c.trained) : nullptr);
        EXPECT_EQ(completed(), c.done) << c.what;
    }
    EXPECT_TRUE(logged("no record of \"ghost\""));
    EXPECT_TRUE(logged("\"stranger\" has no creature stats"));
}

TEST_F(AchievementTest, SaveStatsLogsTheRunsTally) {
    post(EVENT_KRAKEN_TRIGGERED);
    post(EVENT_SAVE_STATS);
    EXPECT_TRUE(logged("achievements: 1 completed in this run, 21 pending (1066542, "));
    EXPECT_TRUE(logged("achievement KVAchievementTolpeWasRight (1066642) completed"));
}
