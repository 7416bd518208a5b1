#include "GameDataFixture.h"

using kvdata::Dict;
using kvengine::CCString;
using kvtest::GameDataTest;

namespace {

kvdata::Array* listOf(std::initializer_list<const char*> texts) {
    kvdata::Array* list = kvdata::newArray();
    for (const char* text : texts)
        list->addObject(kvdata::newString(text));
    return list;
}

} // namespace

TEST_F(GameDataTest, StatAtLevelFollowsTheLevelUpPairs) {
    struct Case {
        std::initializer_list<const char*> pairs;
        int level;
        float expected;
    };
    const Case cases[] = {
        {{"3", "10", "5", "20"}, 1, 100},
        {{"3", "10", "5", "20"}, 2, 110},
        {{"3", "10", "5", "20"}, 3, 120},
        {{"3", "10", "5", "20"}, 4, 130},
        {{"3", "10", "5", "20"}, 5, 150},
        {{"3", "10", "5", "20"}, 6, 170},
        {{"3", "10", "5", "20"}, 7, 170}, // past the last pair nothing is added
        {{"3"}, 5, 100},                  // a single entry is no pair
        {{"3", "10", "5"}, 5, 130},       // an incomplete last pair ends the list
        {{}, 4, 100},
    };
    for (const Case& c : cases) {
        EXPECT_FLOAT_EQ(computeStatAtLevel(listOf(c.pairs), c.level, 100.0f), c.expected)
            << "level " << c.level;
    }
    EXPECT_FLOAT_EQ(computeStatAtLevel(nullptr, 5, 42.0f), 42.0f);
}

TEST_F(GameDataTest, LevelUpCostsAndMaximumLevel) {
    KVGameParameters* data = KVGameParameters::getInstance();
    const std::pair<unsigned, int> costs[] = {{0, 0}, {1, 100}, {2, 200}, {3, 300}, {4, 0}};
    for (const auto& [level, cost] : costs)
        EXPECT_EQ(data->getLevelUpCost(level), cost) << "level " << level;

    // steev: HP pairs end at 5, SP pairs (one complete, one odd entry) end at 9 -> 10.
    EXPECT_EQ(data->getMaxKelvoLevel(kvdata::newString("steev")), 10);
    EXPECT_EQ(data->getMaxKelvoLevel(kvdata::newString("vahine")), 1);
    EXPECT_EQ(data->getMaxKelvoLevel(kvdata::newString("nobody")), 1);
    EXPECT_EQ(data->getMaxKelvoLevel(nullptr), 1);
}

TEST_F(GameDataTest, ApplyLevelUpsRewritesOnlyThePresentStats) {
    KVGameParameters* data = KVGameParameters::getInstance();
    Dict* stats = data->getKelvoStats("steev")->duplicate();
    data->applyLevelUps(stats, 4);
    EXPECT_EQ(kvdata::textAt(stats, "HP"), "130.000000");
    EXPECT_EQ(kvdata::textAt(stats, "SP"), "7.000000");
    EXPECT_FALSE(kvdata::hasKey(stats, "Move Power"));
    EXPECT_EQ(kvdata::textAt(data->getKelvoStats("steev"), "HP"), "100"); // the table itself is untouched
    stats->release();
    data->applyLevelUps(nullptr, 3); // no crash
}

TEST_F(GameDataTest, MissionsAreNumberedInStoryOrder) {
    KVGameParameters* data = KVGameParameters::getInstance();
    CCString* chapter = kvdata::newString("C1");
    struct Case {
        const char* mission;
        const char* next;
        bool last;
    };
    const Case cases[] = {{"M1a", "M1b", false}, {"M1b", "M1c", false}, {"M1c", nullptr, true}};
    for (const Case& c : cases) {
        CCString* next = data->getNextMissionName(kvdata::newString(c.mission), chapter);
        EXPECT_EQ(kvdata::textOf(next), c.next ? c.next : "") << c.mission;
        EXPECT_EQ(next == nullptr, c.next == nullptr) << c.mission;
        EXPECT_EQ(data->isLastMissionOfChapter(kvdata::newString(c.mission), chapter), c.last) << c.mission;
    }
    EXPECT_EQ(kvdata::textAt(data->findMissionDefinition("M1a"), "item_number"), "0");
    EXPECT_EQ(kvdata::textAt(data->findMissionDefinition("M1c"), "item_number"), "2");
    EXPECT_EQ(kvdata::textAt(data->findMissionDefinition("Map_Race1"), "players"), "4"); // multiplayer map
    EXPECT_EQ(data->findMissionDefinition("Nowhere"), nullptr);
    EXPECT_EQ(data->getNextMissionName(kvdata::newString("Nowhere"), chapter), nullptr);
    EXPECT_EQ(data->getNextMissionName(kvdata::newString("M1a"), kvdata::newString("C9")), nullptr);
}

TEST_F(GameDataTest, ConsumablesSoldForMoneyAreDroppedAndTheRestRenumbered) {
    Dict* consumables = KVGameParameters::getInstance()->getConsumables();
    EXPECT_EQ(kvdata::keysOf(consumables), (std::vector<std::string>{"energy_drink", "kraken_call"}));
    EXPECT_EQ(kvdata::textAt(kvdata::dictAt(consumables, "energy_drink"), "item_number"), "0");
    EXPECT_EQ(kvdata::textAt(kvdata::dictAt(consumables, "kraken_call"), "item_number"), "1");
}

TEST_F(GameDataTest, LookupsAnswerEmptyValuesForUnknownNames) {
    KVGameParameters* data = KVGameParameters::getInstance();
    // The enemy stats load whatever the store setting says: enemies need them.
    EXPECT_NE(data->getKelvoAiStats("crab"), nullptr);
    EXPECT_EQ(data->getPearlReward("crab"), 7);
    EXPECT_EQ(data->getPearlReward("shrimp"), 0);
    EXPECT_EQ(data->getPearlReward("whale"), 0);
    EXPECT_EQ(data->getKelvoStats("whale"), nullptr);
    EXPECT_EQ(data->getHelmetDefinition("crown"), nullptr);
    EXPECT_EQ(data->getConsumableDefinition("sushi_pack"), nullptr);

    EXPECT_EQ(kvdata::keysOf(data->getHelmetsOfClass("Frigate")),
              (std::vector<std::string>{"pirate_hat", "straw_hat"}));
    Dict* none = data->getHelmetsOfClass("Zodiac");
    ASSERT_NE(none, nullptr);
    EXPECT_EQ(none->count(), 0u);

    EXPECT_FLOAT_EQ(data->getAnimScaleFactor("kelvo"), 0.5f);
    EXPECT_FLOAT_EQ(data->getAnimScaleFactor("crab"), 1.0f);
    EXPECT_EQ(data->getAnimSettingInt("kelvo", "frames"), 12);
    EXPECT_EQ(data->getAnimSettingInt("kelvo", "speed"), 0);
    EXPECT_EQ(data->getStatNames()->count(), 18u);
}

TEST_F(GameDataTest, MissingDataFilesAreReportedAndLeaveEmptyTables) {
    std::filesystem::remove(kvtest::gameDataPaths().resources + "/data/powerups.plist");
    std::filesystem::remove(kvtest::gameDataPaths().resources + "/data/M2a_DEF.plist");
    KVGameParameters* data = KVGameParameters::getInstance();
    ASSERT_NE(data->getPowerups(), nullptr);
    EXPECT_EQ(data->getPowerups()->count(), 0u);
    EXPECT_TRUE(logged("powerups.plist"));
    EXPECT_TRUE(logged("M2a_DEF.plist"));
    EXPECT_EQ(data->findMissionDefinition("M2a"), nullptr);
    EXPECT_NE(data->findMissionDefinition("M1a"), nullptr);
}

TEST_F(GameDataTest, ReloadingCreaturesAndHelmetsSeesTheNewFiles) {
    KVGameParameters* data = KVGameParameters::getInstance();
    kvtest::replaceDataFile("helmets.plist", R"(<plist version="1.0"><dict>
<key>crown</key><dict><key>Class</key><string>Zodiac</string><key>status_locked</key><string>1</string></dict>
</dict></plist>)");
    data->loadKelvoStatsAndHelmets();
    EXPECT_EQ(kvdata::keysOf(data->getHelmets()), std::vector<std::string>{"crown"});
    EXPECT_NE(data->getKelvoStats("steev"), nullptr);
}
