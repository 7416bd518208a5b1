#include "GameDataFixture.h"

#include "game/app/KVGlobalNames.h"

using kvdata::Dict;
using kvengine::CCString;
using kvtest::GameDataTest;
using kvtest::NotificationRecorder;

TEST_F(GameDataTest, CreatureLockTransitions) {
    struct Case {
        int from;
        int to;
        int result;
        bool unseen;
        bool recruited;
    };
    const Case cases[] = {
        {1, 2, 2, true, false},  {1, 0, 0, false, true},  {2, 0, 0, false, true}, {3, 0, 0, false, true},
        {0, 1, 0, false, false}, {0, 2, 0, false, false}, {2, 1, 2, true, false}, {3, 2, 3, false, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::to_string(c.from) + " -> " + std::to_string(c.to));
        kvtest::resetSharedGameObjects();
        KVPlayerParameters* profile = KVPlayerParameters::getInstance();
        kvdata::setInt(profile->getKelvoRecord("clint"), "status_locked", c.from);
        kvdata::setText(profile->getKelvoRecord("clint"), "helmet_name", "pirate_hat");
        if (c.from == 2) profile->addUnseenItem("clint", "Kelvo");
        NotificationRecorder recorder;
        recorder.observe(EVENT_KELVO_RECRUITED);
        profile->setKelvoLockStatus("clint", c.to);
        EXPECT_EQ(profile->getKelvoLockStatus("clint"), c.result);
        EXPECT_EQ(profile->isItemUnseen("clint"), c.unseen);
        EXPECT_EQ(recorder.objectsOf("EVENT_KELVO_RECRUITED"),
                  c.recruited ? std::vector<std::string>{"clint"} : std::vector<std::string>{});
        EXPECT_EQ(kvdata::textAt(profile->getKelvoRecord("clint"), "helmet_name"),
                  c.recruited ? "" : "pirate_hat");
    }
}

TEST_F(GameDataTest, OfferingTwiceListsTheItemOnce) {
    KVPlayerParameters* profile = KVPlayerParameters::getInstance();
    profile->setKelvoLockStatus("sammo", 2);
    profile->setKelvoLockStatus("sammo", 2);
    profile->addUnseenItem("sammo", "Kelvo");
    Dict* unseen = kvdata::dictAt(profile->getProfile(), "UnseenItems");
    EXPECT_EQ(kvdata::arrayAt(kvdata::dictAt(unseen, "Kelvo"), "Zodiac")->count(), 1u);
    EXPECT_TRUE(profile->hasUnseenKelvosOfClass("Zodiac"));
    EXPECT_FALSE(profile->hasUnseenKelvosOfClass("Frigate"));
    profile->setKelvoLockStatus("whale", 0); // no record: nothing, no crash
}

TEST_F(GameDataTest, RecruitingSavesWhenTheItemWasUnseen) {
    KVPlayerParameters* profile = KVPlayerParameters::getInstance();
    profile->addUnseenItem("clint", "Kelvo");
    kvtest::fs::remove(kvtest::savedSettingsPath());
    profile->setKelvoLockStatus("clint", 0);
    EXPECT_TRUE(kvtest::fs::exists(kvtest::savedSettingsPath()));
    EXPECT_FALSE(profile->hasUnseenKelvos());
}

TEST_F(GameDataTest, WithdrawingTheOnlySquadMemberCallsAReplacementToTheFirstPlace) {
    KVPlayerParameters* profile = KVPlayerParameters::getInstance();
    for (const char* name : {"steev", "vahine", "kiwa"})
        profile->setKelvoSelectedStatus(name, 0);
    profile->setKelvoSelectedStatus("vahine", 1);
    profile->setKelvoTurnSpeed("vahine", 2);
    profile->setKelvoLockStatus("vahine", 3);
    EXPECT_EQ(profile->getKelvoLockStatus("vahine"), 3);
    EXPECT_EQ(profile->getKelvoSelectedStatus("vahine"), 0);
    // "kiwa" is the first unlocked creature by name; it gets a spawn point.
    EXPECT_EQ(kvdata::keysOf(profile->getSelectedKelvos()), std::vector<std::string>{"kiwa"});
    EXPECT_EQ(profile->getKelvoTurnSpeed("kiwa"), 1);
    KVGameSetup::getInstance()->buildTeam();
    EXPECT_EQ(kvdata::textOf(KVGameSetup::getInstance()->getTeamSpawnPoints()->objectAtIndex(0)),
              "SpawnPoint1");
}

TEST_F(GameDataTest, WithdrawingAHelmetTakesItOffEveryone) {
    KVPlayerParameters* profile = KVPlayerParameters::getInstance();
    profile->setKelvoHelmet("steev", "iron_helm");
    profile->addTransferredHelmet("iron_helm", "vahine");
    profile->setHelmetLockStatus("iron_helm", 3);
    EXPECT_EQ(profile->getHelmetLockStatus("iron_helm"), 3);
    EXPECT_EQ(kvdata::textAt(profile->getKelvoRecord("steev"), "helmet_name"), "");
    EXPECT_FALSE(profile->isHelmetTransferred("iron_helm", "vahine"));

    profile->setKelvoHelmet("steev", "straw_hat");
    profile->setHelmetLockStatus("straw_hat", 3);
    EXPECT_EQ(kvdata::textAt(profile->getKelvoRecord("steev"), "helmet_name"), "");
    EXPECT_EQ(kvdata::textAt(profile->getKelvoRecord("kiwa"), "helmet_name"), "straw_hat");
}

TEST_F(GameDataTest, HelmetLockTransitionsAndSeenItems) {
    KVPlayerParameters* profile = KVPlayerParameters::getInstance();
    profile->setHelmetLockStatus("iron_helm", 2); // 1 -> 2: offered and unseen
    EXPECT_EQ(profile->getHelmetLockStatus("iron_helm"), 2);
    EXPECT_TRUE(profile->hasUnseenHelmetsOfClass("Destroyer"));
    profile->setHelmetLockStatus("iron_helm", 1); // only 0 replaces 2
    EXPECT_EQ(profile->getHelmetLockStatus("iron_helm"), 2);

    EXPECT_FALSE(profile->markItemSeen("iron_helm", "Kelvo"));
    EXPECT_TRUE(profile->markItemSeen("iron_helm", "Helmet"));
    EXPECT_FALSE(profile->markItemSeen("iron_helm", "Helmet"));
    // The last item of a class removes the class, then the category.
    EXPECT_FALSE(profile->hasUnseenHelmetsOfClass("Destroyer"));
    EXPECT_FALSE(profile->hasUnseenHelmets());
    EXPECT_EQ(profile->getHelmetLockStatus("crown"), 1);
}

TEST_F(GameDataTest, UnseenItemsWithoutAClassAreReported) {
    KVPlayerParameters* profile = KVPlayerParameters::getInstance();
    profile->addUnseenItem("whale", "Kelvo");
    EXPECT_FALSE(profile->hasUnseenKelvos());
    EXPECT_TRUE(logged("whale"));
    profile->addUnseenItem("map", "Chart"); // other categories file under "Error"
    EXPECT_TRUE(profile->isItemUnseen("map"));
}

TEST_F(GameDataTest, CatalogueMergeAddsNewItemsAndKeepsExistingStatuses) {
    kvtest::installSavedSettings("version19");
    kvtest::replaceDataFile("kelvoStats.plist", R"(<plist version="1.0"><dict>
<key>steev</key><dict><key>Class</key><string>Frigate</string><key>status_locked</key><string>0</string><key>sprite_name</key><string>steev</string><key>spritesheet_name</key><string>steev_ss</string></dict>
<key>vahine</key><dict><key>Class</key><string>Destroyer</string><key>status_locked</key><string>0</string><key>sprite_name</key><string>vahine</string><key>spritesheet_name</key><string>vahine_ss</string></dict>
<key>clint</key><dict><key>Class</key><string>Frigate</string><key>status_locked</key><string>2</string><key>sprite_name</key><string>clint</string><key>spritesheet_name</key><string>clint_ss</string></dict>
<key>sammo</key><dict><key>Class</key><string>Zodiac</string><key>status_locked</key><string>2</string><key>sprite_name</key><string>sammo</string><key>spritesheet_name</key><string>sammo_ss</string></dict>
<key>kiwa</key><dict><key>Class</key><string>Torpedo</string><key>status_locked</key><string>0</string><key>sprite_name</key><string>kiwa_art</string><key>spritesheet_name</key><string>kiwa_ss</string></dict>
</dict></plist>)");
    KVPlayerParameters* profile = KVPlayerParameters::getInstance();
    KVKelvosOFXDelegate* store = KVKelvosOFXDelegate::getInstance();
    KVGameParameters::getInstance()->loadKelvoStatsAndHelmets();
    profile->mergeCatalogueItems();

    // Existing records keep their status: an offered helmet and creature stay on sale.
    EXPECT_EQ(profile->getHelmetLockStatus("pirate_hat"), 2);
    EXPECT_TRUE(profile->isItemUnseen("pirate_hat"));
    EXPECT_EQ(profile->getKelvoLockStatus("clint"), 2);
    // New records take the game data's status; offered ones are unseen.
    EXPECT_EQ(profile->getKelvoLockStatus("sammo"), 2);
    EXPECT_TRUE(profile->hasUnseenKelvosOfClass("Zodiac"));
    EXPECT_EQ(profile->getHelmetLockStatus("iron_helm"), 1);
    EXPECT_EQ(profile->getKelvoRecord("kiwa"), nullptr); // art not named after the creature
    // Gone from the game data: withdrawn and no longer unseen.
    EXPECT_EQ(profile->getKelvoLockStatus("oldfish"), 3);
    // Catalogue items newly on sale: none for sammo (not in the catalogue), iron_helm is locked.
    EXPECT_EQ(store->getOfferedItems()->count(), 0u);
}

TEST_F(GameDataTest, CatalogueMergeOffersNewCatalogueItems) {
    kvtest::installSavedSettings("version19");
    KVPlayerParameters* profile = KVPlayerParameters::getInstance();
    KVKelvosOFXDelegate* store = KVKelvosOFXDelegate::getInstance();
    profile->getProfile(); // records for clint and pirate_hat exist; straw_hat exists too
    kvdata::dictAt(profile->getProfile(), "Helmet")->removeObjectForKey("straw_hat");
    profile->mergeCatalogueItems();
    ASSERT_EQ(store->getOfferedItems()->count(), 1u);
    EXPECT_EQ(kvdata::textAt(kvdata::asDict(store->getOfferedItems()->objectAtIndex(0)), "title"),
              "Straw Hat");
    EXPECT_EQ(profile->getHelmetLockStatus("straw_hat"), 0);
}
