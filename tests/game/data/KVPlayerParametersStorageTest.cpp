#include "GameDataFixture.h"

#include "engine/files/CCPlistReader.h"

using kvdata::Dict;
using kvengine::CCString;
using kvtest::GameDataTest;

namespace {

/// The profile as stored in the saved-settings file (read back through the property-list reader).
Dict* storedProfile() {
    Dict* file = kvengine::dictionaryWithContentsOfFile(kvtest::savedSettingsPath().c_str());
    return kvdata::dictAt(file, "playerProfile");
}

/// Same keys and texts, recursively; "" values count as absent (the writer drops them).
bool sameTree(kvengine::CCObject* a, kvengine::CCObject* b, std::string& where) {
    if (kvdata::asString(a) || kvdata::asString(b)) {
        if (kvdata::textOf(a) == kvdata::textOf(b)) return true;
        where += " = '" + kvdata::textOf(a) + "' vs '" + kvdata::textOf(b) + "'";
        return false;
    }
    if (kvdata::Array* listA = kvdata::asArray(a)) {
        kvdata::Array* listB = kvdata::asArray(b);
        if (listB == nullptr || listA->count() != listB->count()) return false;
        for (unsigned i = 0; i < listA->count(); ++i)
            if (!sameTree(listA->objectAtIndex(i), listB->objectAtIndex(i), where)) return false;
        return true;
    }
    Dict* dictA = kvdata::asDict(a);
    Dict* dictB = kvdata::asDict(b);
    if (dictA == nullptr || dictB == nullptr) return false;
    for (Dict* dict : {dictA, dictB}) {
        for (const std::string& key : kvdata::keysOf(dict)) {
            kvengine::CCObject* left = dictA->objectForKey(key);
            kvengine::CCObject* right = dictB->objectForKey(key);
            if (kvdata::textOf(left).empty() && kvdata::textOf(right).empty() &&
                (kvdata::asString(left) || kvdata::asString(right)))
                continue;
            std::string inner = where + "/" + key;
            if (!sameTree(left, right, inner)) {
                where = inner;
                return false;
            }
        }
    }
    return true;
}

} // namespace

TEST_F(GameDataTest, FirstStartBuildsTheDefaultProfileFromTheGameData) {
    KVPlayerParameters* profile = KVPlayerParameters::getInstance();
    Dict* root = profile->getProfile();
    EXPECT_EQ(kvdata::textAt(root, "Version"), "19");
    EXPECT_EQ(kvdata::textAt(root, "pearl_amount"), "0");
    EXPECT_EQ(kvdata::keysOf(kvdata::dictAt(root, "ChapiterSolo")), (std::vector<std::string>{"C1", "C2"}));
    EXPECT_EQ(kvdata::keysOf(profile->getChapterMissionRecords("C1")),
              (std::vector<std::string>{"M1a", "M1b", "M1c"}));
    EXPECT_EQ(profile->getMissionLockStatus("M1a", "C1"), 0);
    EXPECT_EQ(profile->getMissionLockStatus("M2a", "C2"), 1);
    EXPECT_EQ(kvdata::textAt(profile->getMissionRecord("M1b", "C1"), "turn_score"), "0");
    EXPECT_EQ(kvdata::keysOf(kvdata::dictAt(root, "Kelvo")),
              (std::vector<std::string>{"clint", "kiwa", "sammo", "steev", "vahine"}));
    EXPECT_EQ(profile->getKelvoLevel("kiwa"), 3); // "init_level"
    EXPECT_EQ(profile->getKelvoTurnSpeed("clint"), 5);
    EXPECT_EQ(profile->getKelvoLockStatus("clint"), 2);
    EXPECT_EQ(profile->getHelmetLockStatus("iron_helm"), 1);
    EXPECT_EQ(kvdata::keysOf(kvdata::dictAt(root, "Variable")),
              (std::vector<std::string>{"energy_drink", "kraken_call", "pearl", "straw_hat", "sushi_pack"}));
    for (const char* empty : {"Treasure", "Powerup", "UnseenItems", "HelpCase"}) {
        ASSERT_NE(kvdata::dictAt(root, empty), nullptr) << empty;
        EXPECT_EQ(kvdata::dictAt(root, empty)->count(), 0u) << empty;
    }

    // The default squad is chosen in memory only, after the one save of the new profile.
    const std::pair<const char*, int> squad[] = {{"steev", 1}, {"vahine", 2}, {"kiwa", 3}};
    EXPECT_EQ(profile->getSelectedKelvos()->count(), 3u);
    for (const auto& [name, position] : squad) {
        EXPECT_EQ(profile->getKelvoSelectedStatus(name), 1) << name;
        EXPECT_EQ(profile->getKelvoTurnSpeed(name), position) << name;
        EXPECT_EQ(
            kvdata::textAt(kvdata::dictAt(kvdata::dictAt(storedProfile(), "Kelvo"), name), "status_selected"),
            "0")
            << name;
    }
}

TEST_F(GameDataTest, DefaultTroopsSettingSelectsTheDefaultCreatures) {
    std::string setup = kvtest::readText(kvtest::fixturePath("base/gameSetup.plist"));
    setup.replace(setup.find("<key>DefaultTroops</key><integer>0"), 34, "<key>DefaultTroops</key><integer>1");
    kvtest::replaceDataFile("gameSetup.plist", setup);
    Dict* stored = (KVPlayerParameters::getInstance(), storedProfile());
    const std::pair<const char*, const char*> squad[] = {{"steev", "1"}, {"vahine", "2"}, {"kiwa", "3"}};
    for (const auto& [name, position] : squad) {
        Dict* record = kvdata::dictAt(kvdata::dictAt(stored, "Kelvo"), name);
        EXPECT_EQ(kvdata::textAt(record, "status_selected"), "1") << name;
        EXPECT_EQ(kvdata::textAt(record, "turnSpeed"), position) << name; // each has a spawn point
    }
    EXPECT_EQ(kvdata::textAt(kvdata::dictAt(kvdata::dictAt(stored, "Kelvo"), "clint"), "status_selected"),
              "0");
}

TEST_F(GameDataTest, ASavedProfileReloadsEqual) {
    KVPlayerParameters* profile = KVPlayerParameters::getInstance();
    profile->addPearls(75);
    profile->setMissionPlayed("M1a", "C1");
    profile->setKelvoHelmet("steev", "straw_hat");
    profile->addTransferredHelmet("iron_helm", "vahine");
    profile->addUnseenItem("pirate_hat", "Helmet");
    profile->setHelpCaseValue("aoe", 2);
    ASSERT_TRUE(profile->saveProfile());
    KVGameSetup::getInstance()->setLanguage(0); // what every later start records in a stored profile

    Dict* before = profile->getProfile();
    before->retain();
    kvtest::resetSharedGameObjects();
    KVPlayerParameters* reloaded = KVPlayerParameters::getInstance();
    std::string where;
    EXPECT_EQ(kvtest::readText(kvtest::savedSettingsPath()).find("playerProfile"),
              std::string::npos); // scrambled
    EXPECT_TRUE(sameTree(before, reloaded->getProfile(), where)) << where;
    EXPECT_EQ(reloaded->getPearlAmount(), 75);
    // An empty helmet name comes back empty, which reads as no helmet.
    EXPECT_EQ(kvdata::textAt(reloaded->getKelvoRecord("vahine"), "helmet_name", "<absent>"), "");
    before->release();
}

TEST_F(GameDataTest, StoredProfilesAreKeptOrRebuiltByVersion) {
    struct Case {
        const char* fixture;
        int pearls;
        bool backup;
    };
    const Case cases[] = {{"version18", 0, true}, {"version19", 250, false}, {"noversion", 40, false}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.fixture);
        kvtest::resetSharedGameObjects();
        kvtest::fs::remove_all(kvtest::gameDataPaths().dataHome);
        kvtest::installSavedSettings(c.fixture);
        KVPlayerParameters* profile = KVPlayerParameters::getInstance();
        EXPECT_EQ(profile->getPearlAmount(), c.pearls);
        EXPECT_EQ(kvtest::fs::exists(kvtest::savedSettingsPath() + ".v18.bak"), c.backup);
        // Whatever was stored, every part of the profile is there afterwards.
        for (const char* part : {"ChapiterSolo", "MissionSolo", "Kelvo", "Helmet", "Variable", "Treasure",
                                 "Powerup", "UnseenItems", "HelpCase"})
            EXPECT_NE(kvdata::dictAt(profile->getProfile(), part), nullptr) << part;
        EXPECT_NE(profile->getMissionRecord("M1c", "C1"), nullptr);
    }
}

TEST_F(GameDataTest, AnOldProfileIsKeptAsACopyBeforeItIsReplaced) {
    kvtest::installSavedSettings("version18");
    KVPlayerParameters::getInstance();
    // The copy holds the old progress (the settings object records the language first).
    Dict* kept = kvdata::dictAt(
        kvengine::dictionaryWithContentsOfFile((kvtest::savedSettingsPath() + ".v18.bak").c_str()),
        "playerProfile");
    EXPECT_EQ(kvdata::textAt(kept, "Version"), "18");
    EXPECT_EQ(kvdata::textAt(kept, "pearl_amount"), "999");
    EXPECT_EQ(kvdata::textAt(storedProfile(), "Version"), "19");
    EXPECT_TRUE(logged(".v18.bak"));
}

TEST_F(GameDataTest, AVersion19ProfileIsKeptAndRefreshed) {
    kvtest::installSavedSettings("version19");
    KVPlayerParameters* profile = KVPlayerParameters::getInstance();
    EXPECT_EQ(KVGameSetup::getInstance()->getLanguageIndex(), 3); // "DE"
    // The stored records are untouched ...
    EXPECT_EQ(kvdata::textAt(profile->getMissionRecord("M1a", "C1"), "turn_score"), "4");
    EXPECT_EQ(profile->getChapterMissionList("C1")->count(), 1u);
    EXPECT_EQ(profile->getKelvoLockStatus("clint"), 2);
    // ... new missions get records, new locked chapters do not.
    EXPECT_EQ(profile->getMissionLockStatus("M1b", "C1"), 1);
    EXPECT_NE(profile->getMissionRecord("M2a", "C2"), nullptr);
    EXPECT_EQ(profile->getChapterRecord("C2"), nullptr);
    // The stored squad stays: steev alone.
    EXPECT_EQ(kvdata::keysOf(profile->getSelectedKelvos()), std::vector<std::string>{"steev"});
    EXPECT_EQ(kvdata::textOf(kvengine::CCUserDefaults::getInstance()->objectForKey("otherSetting")), "kept");
}

TEST_F(GameDataTest, AProfileWithoutVersionGetsItsMissingParts) {
    kvtest::installSavedSettings("noversion");
    KVPlayerParameters* profile = KVPlayerParameters::getInstance();
    EXPECT_FALSE(kvdata::hasKey(profile->getProfile(), "Version"));
    EXPECT_EQ(profile->getKelvoLevel("vahine"), 4);
    EXPECT_EQ(profile->getKelvoRecord("steev"), nullptr); // the stored creature table is kept as it is
    EXPECT_EQ(profile->getMissionLockStatus("M1a", "C1"), 0);
    EXPECT_EQ(profile->getConsumableAmount("energy_drink"), 0);
    EXPECT_TRUE(logged("ChapiterSolo"));
    profile->addUnseenItem("pirate_hat", "Helmet"); // no null part left behind
    EXPECT_TRUE(profile->hasUnseenHelmets());
}

TEST_F(GameDataTest, ASettingsFileThatDoesNotParseIsMovedAsideForAFreshProfile) {
    kvtest::installSavedSettings("broken");
    const std::string broken = kvtest::readText(kvtest::savedSettingsPath());
    KVPlayerParameters* profile = KVPlayerParameters::getInstance();
    EXPECT_EQ(kvdata::textAt(profile->getProfile(), "Version"), "19");
    EXPECT_EQ(profile->getPearlAmount(), 0);
    EXPECT_EQ(kvdata::textAt(storedProfile(), "Version"), "19");
    bool keptAside = false;
    for (const auto& entry : kvtest::fs::directory_iterator(kvtest::gameDataPaths().dataHome + "/Kelvos")) {
        if (entry.path() != kvtest::savedSettingsPath() && kvtest::readText(entry.path().string()) == broken)
            keptAside = true;
    }
    EXPECT_TRUE(keptAside);
}

TEST_F(GameDataTest, ASettingsFileWithoutAUsableProfileIsKeptAsideBeforeAFreshOne) {
    const std::string stored = kvtest::readText(kvtest::fixturePath("profiles/version19.plist"));
    const std::string key = "<key>playerProfile</key>";
    const size_t at = stored.find(key);
    ASSERT_NE(at, std::string::npos);
    std::string flipped = stored;
    flipped[at + key.size() - 7] ^= 0x08; // one bit of the key name: "playerProfilm"
    std::string text = stored;
    text.replace(at, key.size(), key + "<string>250</string><key>unused</key>");
    std::string list = stored;
    list.replace(at, key.size(), key + "<array/><key>unused</key>");
    struct Case {
        const char* what;
        std::string file; // "" for no file at all
        const char* why;
    } cases[] = {
        {"one flipped bit in the key", flipped, "no \"playerProfile\" entry"},
        {"the entry is a text", text, "not a dictionary"},
        {"the entry is an array", list, "not a dictionary"},
        {"first start", "", nullptr},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        kvtest::resetSharedGameObjects();
        kvtest::fs::remove_all(kvtest::gameDataPaths().dataHome);
        if (!c.file.empty()) kvtest::writeScrambled(kvtest::savedSettingsPath(), c.file);
        const std::string before = kvtest::readText(kvtest::savedSettingsPath());
        logLines.clear();

        KVPlayerParameters* profile = KVPlayerParameters::getInstance();
        EXPECT_EQ(profile->getPearlAmount(), 0);
        EXPECT_EQ(kvdata::textAt(storedProfile(), "Version"), "19"); // the fresh profile is saved
        const std::string aside = kvtest::savedSettingsPath() + ".bad";
        if (c.why == nullptr) {
            EXPECT_FALSE(kvtest::fs::exists(aside));
            EXPECT_FALSE(logged(".bad"));
            continue;
        }
        // The old progress survives byte for byte beside the new file, and the log says why.
        EXPECT_EQ(kvtest::readText(aside), before);
        EXPECT_TRUE(logged(c.why));
        EXPECT_TRUE(logged(".bad"));
        EXPECT_TRUE(profile->saveProfile());
        EXPECT_EQ(kvtest::readText(aside), before);
    }
}

TEST_F(GameDataTest, ResetSettingReplacesOnlyForANonZeroNumber) {
    for (const char* value : {"1", "YES"}) {
        SCOPED_TRACE(value);
        kvtest::resetSharedGameObjects();
        std::string setup = kvtest::readText(kvtest::fixturePath("base/gameSetup.plist"));
        const std::string key = "<key>ResetPlayerProfile</key><integer>0</integer>";
        setup.replace(setup.find(key), key.size(),
                      std::string("<key>ResetPlayerProfile</key><string>") + value + "</string>");
        kvtest::replaceDataFile("gameSetup.plist", setup);
        kvtest::installSavedSettings("version19");
        EXPECT_EQ(KVPlayerParameters::getInstance()->getPearlAmount(), std::string(value) == "1" ? 0 : 250);
    }
}

TEST_F(GameDataTest, NewMissionsOfTheGameDataJoinAnExistingProfile) {
    kvtest::installSavedSettings("version19");
    std::string chapters = kvtest::readText(kvtest::fixturePath("base/chapiterSolo.plist"));
    chapters.replace(chapters.find("<string>M1c</string>"), 20, "<string>M1c</string><string>M1d</string>");
    // C2 opens in the game data: existing profiles get its record.
    const std::string locked = "<string>M2a</string></array><key>status_locked</key><string>1</string>";
    chapters.replace(chapters.find(locked), locked.size(),
                     "<string>M2a</string></array><key>status_locked</key><string>0</string>");
    kvtest::replaceDataFile("chapiterSolo.plist", chapters);
    KVPlayerParameters* profile = KVPlayerParameters::getInstance();
    Dict* record = profile->getMissionRecord("M1d", "C1");
    ASSERT_NE(record, nullptr);
    EXPECT_EQ(kvdata::textAt(record, "status_locked"), "2");
    EXPECT_EQ(kvdata::textAt(record, "turn_score"), "0");
    EXPECT_EQ(kvdata::textAt(profile->getMissionRecord("M1a", "C1"), "turn_score"), "4");
    EXPECT_EQ(kvdata::textAt(profile->getChapterRecord("C2"), "status_locked"), "0");
    EXPECT_EQ(profile->getChapterMissionList("C1")->count(), 1u); // an existing chapter keeps its list
}

TEST_F(GameDataTest, AChapterTheGameDataOpensIsOpenedInAProfileThatHeldItLocked) {
    // The profile holds C2 locked, as it was when the profile was made; the game data now ships it
    // open. C1, open in both, and its progress stay as they are.
    std::string profileText = kvtest::readText(kvtest::fixturePath("profiles/version19.plist"));
    const std::string chapterOne = "<key>ChapiterSolo</key><dict>";
    profileText.replace(profileText.find(chapterOne), chapterOne.size(),
                        chapterOne + "<key>C2</key><dict><key>status_played</key><string>0</string>"
                                     "<key>status_locked</key><string>1</string><key>mission_list</key>"
                                     "<array><string>M2a</string></array></dict>");
    kvtest::writeScrambled(kvtest::savedSettingsPath(), profileText);
    std::string chapters = kvtest::readText(kvtest::fixturePath("base/chapiterSolo.plist"));
    const std::string locked = "<string>M2a</string></array><key>status_locked</key><string>1</string>";
    chapters.replace(chapters.find(locked), locked.size(),
                     "<string>M2a</string></array><key>status_locked</key><string>0</string>");
    kvtest::replaceDataFile("chapiterSolo.plist", chapters);
    KVPlayerParameters* profile = KVPlayerParameters::getInstance();
    EXPECT_EQ(kvdata::textAt(profile->getChapterRecord("C2"), "status_locked"), "0");
    EXPECT_EQ(kvdata::textAt(profile->getChapterRecord("C1"), "status_locked"), "0");
    EXPECT_EQ(kvdata::textAt(profile->getMissionRecord("M1a", "C1"), "turn_score"), "4");
}

TEST_F(GameDataTest, VolumesDefaultAndAreStoredOnFirstRead) {
    KVPlayerParameters* profile = KVPlayerParameters::getInstance();
    EXPECT_FLOAT_EQ(profile->getSfxVolume(), 0.75f);
    EXPECT_EQ(kvdata::textAt(profile->getProfile(), "SFX_Volume"), "0.750000");
    EXPECT_FLOAT_EQ(profile->getMusicVolume(), 1.0f);
    profile->setMusicVolume(0.5f);
    EXPECT_FLOAT_EQ(profile->getMusicVolume(), 0.5f);
    EXPECT_TRUE(profile->setFavoriteAchievementsManager(2)); // creates "achievementsManager"
    EXPECT_EQ(kvdata::textAt(kvdata::dictAt(storedProfile(), "achievementsManager"), "favoriteManager"), "2");
}

TEST_F(GameDataTest, AHandEditedProfileWithWrongKindsOfValuesIsSurvived) {
    kvtest::installSavedSettings("wrongtypes");
    KVPlayerParameters* profile = KVPlayerParameters::getInstance();
    EXPECT_TRUE(logged("Kelvo")); // rebuilt from the game data
    EXPECT_EQ(profile->getKelvoLockStatus("steev"), 0);
    EXPECT_EQ(profile->getPearlAmount(), 0);
    profile->addPearls(5);
    EXPECT_EQ(profile->getPearlAmount(), 5);
    EXPECT_EQ(profile->getChapterMissionList("C1"), nullptr);
    EXPECT_EQ(kvdata::textOf(profile->getChapterStarsText(kvdata::newString("C1"))), "0/0");
    EXPECT_NE(profile->getMissionRecord("M1a", "C1"), nullptr); // the damaged chapter is rebuilt
    profile->setMissionPlayed("M1a", "C1");
    EXPECT_FALSE(profile->hasUnseenHelmetsOfClass("Frigate"));
    EXPECT_FALSE(profile->markItemSeen("pirate_hat", "Helmet"));
    EXPECT_FALSE(profile->isItemUnseen("pirate_hat"));
    EXPECT_FALSE(profile->processForcedSteps("shop", true));
    EXPECT_EQ(profile->getForcedStepConditionType(), "");
    profile->dropFirstForcedStep();
    EXPECT_TRUE(profile->saveProfile());
}
