#include "GameDataFixture.h"

#include "game/app/KVGlobalNames.h"

using kvdata::Dict;
using kvengine::CCString;
using kvtest::GameDataTest;
using kvtest::NotificationRecorder;

TEST_F(GameDataTest, MissionPlayedIsAnnouncedOnce) {
    KVPlayerParameters* profile = KVPlayerParameters::getInstance();
    NotificationRecorder recorder;
    recorder.observe(EVENT_MISSION_SET_STATUS_PLAYED);
    profile->setMissionPlayed("M1a", "C1");
    profile->setMissionPlayed("M1a", "C1");
    profile->setMissionPlayed("Nowhere", "C1");
    EXPECT_EQ(recorder.objectsOf("EVENT_MISSION_SET_STATUS_PLAYED"), std::vector<std::string>{"M1a"});
    EXPECT_EQ(kvdata::textAt(profile->getMissionRecord("M1a", "C1"), "status_played"), "1");
}

TEST_F(GameDataTest, StarSettersAnnounceOnlyEarnedStars) {
    KVPlayerParameters* profile = KVPlayerParameters::getInstance();
    NotificationRecorder recorder;
    for (CCString* name :
         {EVENT_STAR_SPEED_UNLOCKED, EVENT_STAR_SURVIVAL_UNLOCKED, EVENT_STAR_HIDDEN_UNLOCKED})
        recorder.observe(name);
    profile->setMissionSpeedLock("M1a", "C1", 1);
    profile->setMissionSurvivalLock("M1a", "C1", 1);
    profile->setMissionHiddenLock("M1a", "C1", 1);
    EXPECT_TRUE(recorder.posts.empty());
    EXPECT_EQ(profile->getMissionSpeedLock("M1a", "C1"), 1);

    profile->setMissionSpeedLock("M1a", "C1", 0);
    profile->setMissionSurvivalLock("M1a", "C1", 0);
    profile->setMissionHiddenLock("M1a", "C1", 0);
    profile->setMissionHiddenLock("Nowhere", "C1", 0);
    EXPECT_EQ(recorder.objectsOf("EVENT_STAR_SPEED_UNLOCKED"), std::vector<std::string>{"C1"});
    EXPECT_EQ(recorder.objectsOf("EVENT_STAR_SURVIVAL_UNLOCKED"), std::vector<std::string>{"C1"});
    EXPECT_EQ(recorder.objectsOf("EVENT_STAR_HIDDEN_UNLOCKED"), std::vector<std::string>{"C1"});
    EXPECT_EQ(profile->getMissionHiddenLock("M1a", "C1"), 0);
}

TEST_F(GameDataTest, MissionLookupsOfUnknownMissions) {
    KVPlayerParameters* profile = KVPlayerParameters::getInstance();
    EXPECT_EQ(profile->getMissionLockStatus("Nowhere", "C1"), 1);
    EXPECT_EQ(profile->getMissionHiddenLock("Nowhere", "C1"), -1);
    EXPECT_EQ(profile->getMissionSpeedLock("M1a", "C9"), -1);
    EXPECT_EQ(profile->getMissionSurvivalLock("Nowhere", "C1"), -1);
    EXPECT_EQ(profile->getChapterMissionList("C9"), nullptr);
    profile->setMissionLockStatus("M1b", "C1", 0);
    profile->setChapterCompleted("C1");
    profile->setChapterPlayed("C9"); // absent: ignored
    EXPECT_EQ(profile->getMissionLockStatus("M1b", "C1"), 0);
    EXPECT_EQ(kvdata::textAt(profile->getChapterRecord("C1"), "status_completed"), "1");
}

TEST_F(GameDataTest, TurnScoreKeepsTheBestMargin) {
    KVPlayerParameters* profile = KVPlayerParameters::getInstance();
    const std::pair<int, const char*> turns[] = {{7, "3"}, {9, "3"}, {5, "5"}, {12, "5"}};
    for (const auto& [used, expected] : turns) {
        profile->updateTurnScore("M1a", "C1", used); // "speedStar_number" 10
        EXPECT_EQ(kvdata::textAt(profile->getMissionRecord("M1a", "C1"), "turn_score"), expected) << used;
    }
    profile->updateTurnScore("M1b", "C1", 12); // 8 allowed: a worse margin never goes below 0
    EXPECT_EQ(kvdata::textAt(profile->getMissionRecord("M1b", "C1"), "turn_score"), "0");
}

TEST_F(GameDataTest, ChapterStarsCountEarnedStars) {
    KVPlayerParameters* profile = KVPlayerParameters::getInstance();
    EXPECT_EQ(kvdata::textOf(profile->getChapterStarsText(kvdata::newString("C1"))), "0/9");
    Dict* first = profile->getMissionRecord("M1a", "C1");
    kvdata::setText(first, "hidden_locked", "NO"); // earned
    kvdata::setText(first, "speed_locked", "YES"); // locked
    kvdata::setText(first, "surviva_locked", "0"); // earned
    kvdata::setText(profile->getMissionRecord("M1c", "C1"), "speed_locked", "0");
    EXPECT_EQ(kvdata::textOf(profile->getChapterStarsText(kvdata::newString("C1"))), "3/9");
    EXPECT_EQ(kvdata::textOf(profile->getChapterStarsText(kvdata::newString("C9"))), "0/0");
}

TEST_F(GameDataTest, CreatureRecordsAndSquadPositions) {
    KVPlayerParameters* profile = KVPlayerParameters::getInstance();
    EXPECT_EQ(profile->getKelvoTurnSpeed("clint"), 5);
    EXPECT_EQ(profile->getKelvoTurnSpeed("whale"), -1);
    EXPECT_EQ(profile->getKelvoLevel("whale"), 0);
    EXPECT_EQ(profile->getKelvoSelectedStatus("whale"), 0);
    profile->setKelvoTurnSpeed("whale", 2); // no record: nothing happens
    EXPECT_EQ(profile->getKelvoRecord("whale"), nullptr);

    profile->setKelvoSelectedStatus("clint", 1);
    profile->setKelvoTurnSpeed("clint", 4);
    EXPECT_EQ(kvdata::keysOf(profile->getSelectedKelvos()),
              (std::vector<std::string>{"clint", "kiwa", "steev", "vahine"}));
    EXPECT_EQ(profile->getSelectedKelvos()->objectForKey("clint"), profile->getKelvoRecord("clint"));
}

TEST_F(GameDataTest, LevelUpCostsFollowTheCostTable) {
    KVPlayerParameters* profile = KVPlayerParameters::getInstance(); // costs 100, 200, 300
    struct Case {
        int level;
        int next;
        int total;
    };
    // A damaged save may give any level: past the table nothing more is owed, and the sum stops
    // at the table's end instead of counting two billion levels.
    const Case cases[] = {{1, 200, 0}, {2, 300, 200}, {3, 0, 500}, {2147483647, 0, 500}, {-3, 0, 0}};
    for (const Case& c : cases) {
        profile->setKelvoLevel("steev", c.level);
        EXPECT_EQ(profile->getNextLevelUpCost("steev"), c.next) << c.level;
        EXPECT_EQ(profile->getTotalLevelUpCost("steev"), c.total) << c.level;
    }
    EXPECT_EQ(profile->getTotalLevelUpCost("whale"), 0);
}

TEST_F(GameDataTest, TransferredHelmetsAreASet) {
    KVPlayerParameters* profile = KVPlayerParameters::getInstance();
    kvdata::Array* list = profile->getTransferredHelmets("steev");
    ASSERT_NE(list, nullptr);
    EXPECT_EQ(list->count(), 0u);
    EXPECT_EQ(kvdata::arrayAt(profile->getKelvoRecord("steev"), "transferedHelmet"), list);
    EXPECT_EQ(profile->getTransferredHelmets("whale"), nullptr);

    profile->addTransferredHelmet("iron_helm", "vahine");
    profile->addTransferredHelmet("iron_helm", "vahine");
    profile->addTransferredHelmet("straw_hat", "vahine");
    profile->addTransferredHelmet("straw_hat", "whale");
    EXPECT_EQ(profile->getTransferredHelmets("vahine")->count(), 2u);
    EXPECT_TRUE(profile->isHelmetTransferred("iron_helm", "vahine"));
    EXPECT_FALSE(profile->isHelmetTransferred("iron_helm", "steev"));
    EXPECT_FALSE(profile->isHelmetTransferred("iron_helm", "whale"));
}

TEST_F(GameDataTest, PearlsNeverGoBelowZero) {
    KVPlayerParameters* profile = KVPlayerParameters::getInstance();
    profile->addPearls(120);
    profile->removePearls(200);
    EXPECT_EQ(kvdata::textAt(profile->getProfile(), "pearl_amount"), "0");
    profile->addPearls(30);
    EXPECT_EQ(kvdata::textAt(profile->getProfile(), "pearl_amount"), "30");
    EXPECT_EQ(profile->getPearlAmount(), 30);
}

TEST_F(GameDataTest, ConsumableStock) {
    KVPlayerParameters* profile = KVPlayerParameters::getInstance();
    Dict* variable = kvdata::dictAt(profile->getProfile(), "Variable");
    variable->removeObjectForKey("kraken_call");
    EXPECT_EQ(profile->getConsumableAmount("kraken_call"), 0); // known: an empty record is made
    EXPECT_NE(kvdata::dictAt(variable, "kraken_call"), nullptr);
    EXPECT_EQ(profile->getConsumableAmount("rubber_duck"), 0); // unknown: nothing is made
    EXPECT_EQ(kvdata::dictAt(variable, "rubber_duck"), nullptr);

    profile->addConsumable("kraken_call", 3); // a record without "amount"
    EXPECT_EQ(profile->getConsumableAmount("kraken_call"), 3);
    profile->addConsumable("rubber_duck", 1); // granted even when the game data does not know it
    EXPECT_EQ(kvdata::textAt(kvdata::dictAt(variable, "rubber_duck"), "amount"), "1");

    profile->addConsumable("energy_drink", 1);
    kvtest::fs::remove(kvtest::savedSettingsPath());
    EXPECT_TRUE(profile->useConsumable("energy_drink"));
    EXPECT_EQ(profile->getConsumableAmount("energy_drink"), 0);
    EXPECT_TRUE(kvtest::fs::exists(kvtest::savedSettingsPath()));
    kvtest::fs::remove(kvtest::savedSettingsPath());
    EXPECT_FALSE(profile->useConsumable("energy_drink"));
    EXPECT_FALSE(profile->useConsumable("nothing"));
    EXPECT_FALSE(kvtest::fs::exists(kvtest::savedSettingsPath()));
}

TEST_F(GameDataTest, PowerupsTreasuresAndHelpCases) {
    KVPlayerParameters* profile = KVPlayerParameters::getInstance();
    EXPECT_FALSE(profile->isPowerupSeen("sushi"));
    EXPECT_FALSE(profile->isPowerupSeen(""));
    profile->markPowerupSeen("sushi");
    profile->markPowerupSeen("sushi");
    EXPECT_TRUE(profile->isPowerupSeen("sushi"));
    EXPECT_EQ(kvdata::textAt(kvdata::dictAt(profile->getProfile(), "Powerup"), "sushi"), "YES");

    profile->markTreasureFound("");
    EXPECT_EQ(kvdata::dictAt(profile->getProfile(), "Treasure")->count(), 0u);
    profile->markTreasureFound("chest1");
    EXPECT_TRUE(profile->isTreasureFound("chest1"));
    EXPECT_FALSE(profile->isTreasureFound("chest2"));

    EXPECT_EQ(profile->getHelpCaseValue("aoe"), 0);
    profile->setHelpCaseValue("aoe", 3);
    EXPECT_EQ(profile->getHelpCaseValue("aoe"), 3);
}
