#include "GameDataFixture.h"

#include "game/app/KVGlobalNames.h"

using kvdata::Dict;
using kvengine::CCString;
using kvtest::GameDataTest;
using kvtest::NotificationRecorder;

namespace {

std::vector<std::string> texts(kvengine::CCMutableArray<CCString*>* list) {
    std::vector<std::string> result;
    for (unsigned i = 0; i < list->count(); ++i)
        result.push_back(list->objectAtIndex(i)->text);
    return result;
}

void pressKey(const char* key) {
    static CCString* const keyPress = new CCString("EVENT_KEY_PRESS");
    kvengine::CCNotificationCenter::getInstance()->postNotification(keyPress, kvdata::newString(key));
}

} // namespace

TEST_F(GameDataTest, TheSettingsFileCarriesEveryKeyTheGameReads) {
    KVGameSetup* setup = KVGameSetup::getInstance();
    const char* flags[] = {"DisableIntroductionVideo",
                           "PhysicsUseFixedTimeStep",
                           "DisableMenuMusic",
                           "DisableGameMusic",
                           "IgnoreOFXForPlists",
                           "DrawDebug",
                           "DrawDebugAI",
                           "HUDHideOOS",
                           "HUDHideExceptOOS"};
    for (const char* key : flags)
        EXPECT_NE(kvdata::stringAt(setup->getConfiguration(), key), nullptr) << key;
    EXPECT_TRUE(setup->getConfigBool("DisableIntroductionVideo"));
    EXPECT_FALSE(setup->getConfigBool("IgnoreOFXForPlists")); // "NO"
    EXPECT_EQ(setup->getConfigText("MenuMusicEvent"), "kelvos_music/music/menu");
    EXPECT_EQ(setup->getConfigInt("ResetPlayerProfile"), 0);
    EXPECT_EQ(setup->getConfigInt("DefaultTroops"), 0);
    EXPECT_EQ(setup->texturePixelFormat, 1);
    EXPECT_FALSE(logged("settings:"));
}

TEST_F(GameDataTest, AMissingSettingIsReportedByName) {
    kvtest::replaceDataFile("gameSetup.plist", R"(<plist version="1.0"><dict>
<key>DrawDebug</key><string>YES</string></dict></plist>)");
    KVGameSetup* setup = KVGameSetup::getInstance();
    EXPECT_TRUE(setup->getConfigBool("DrawDebug"));
    EXPECT_FALSE(setup->getConfigBool("DrawDebugAI"));
    EXPECT_TRUE(logged("DrawDebugAI"));
    EXPECT_EQ(setup->getConfigInt("DefaultTroops"), 0);
    EXPECT_TRUE(logged("DefaultTroops"));
}

TEST_F(GameDataTest, AMissingSettingsFileLeavesAnEmptyConfiguration) {
    kvtest::fs::remove(kvtest::gameDataPaths().resources + "/data/gameSetup.plist");
    KVGameSetup* setup = KVGameSetup::getInstance();
    ASSERT_NE(setup->getConfiguration(), nullptr);
    EXPECT_FALSE(setup->getConfigBool("DisableIntroductionVideo"));
    EXPECT_TRUE(logged("gameSetup.plist"));
}

TEST_F(GameDataTest, LanguageComesFromTheProfileOrTheSystem) {
    const std::pair<const char*, int> locales[] = {{"de_DE.UTF-8", 3}, {"fr_CA", 1}, {"es", 2}, {"it_IT", 4},
                                                   {"en_US", 0},       {"ja_JP", 0}, {"C", 0},  {"", 0}};
    for (const auto& [locale, index] : locales)
        EXPECT_EQ(KVGameSetup::languageIndexForLocale(locale), index) << locale;

    setenv("LANG", "it_IT.UTF-8", 1);
    EXPECT_EQ(KVGameSetup::getInstance()->getLanguageIndex(), 4);
    EXPECT_FALSE(kvtest::fs::exists(kvtest::savedSettingsPath())); // no stored profile: nothing saved
    setenv("LANG", "en_GB.UTF-8", 1);

    kvtest::resetSharedGameObjects();
    kvtest::installSavedSettings("version19"); // "SelectedLanguage" "DE"
    KVGameSetup* setup = KVGameSetup::getInstance();
    EXPECT_EQ(setup->getLanguageIndex(), 3);
    setup->setLanguage(1);
    Dict* stored = kvdata::asDict(kvengine::CCUserDefaults::getInstance()->objectForKey("playerProfile"));
    EXPECT_EQ(kvdata::textAt(stored, "SelectedLanguage"), "FR");
    setup->setLanguage(9); // out of range: English table, code "EN"
    EXPECT_EQ(setup->getLanguageIndex(), 9);
    EXPECT_EQ(kvdata::textAt(stored, "SelectedLanguage"), "EN");
    EXPECT_EQ(kvengine::CCLocalizationManager::getInstance()->path(), "English.lproj/localizable.strings");
}

TEST_F(GameDataTest, TheMissionSquadComesFromTheMissionDefinition) {
    KVGameSetup* setup = KVGameSetup::getInstance();
    KVPlayerParameters::getInstance()->setKelvoHelmet("steev", "straw_hat");
    setup->setMissionName(kvdata::newString("M1a"));
    setup->buildTeam();
    EXPECT_EQ(texts(setup->getTeamKelvoNames()), (std::vector<std::string>{"steev", "vahine"}));
    EXPECT_EQ(texts(setup->getTeamHelmetNames()), (std::vector<std::string>{"straw_hat", ""}));
    EXPECT_EQ(texts(setup->getTeamSpawnPoints()), (std::vector<std::string>{"Start1", "SpawnPoint2"}));
    EXPECT_EQ(setup->getEnvironmentName(), "M1a_ENV");
    EXPECT_EQ(kvdata::textOf(setup->getRuleSetName()), "M1a_RULE");
    EXPECT_EQ(kvdata::textOf(setup->getLevelSvgName()), "M1a.svg");
}

TEST_F(GameDataTest, ThePlayersSquadIsOrderedByPosition) {
    KVGameSetup* setup = KVGameSetup::getInstance();
    KVPlayerParameters* profile = KVPlayerParameters::getInstance();
    const std::pair<const char*, int> squad[] = {{"steev", 1}, {"vahine", 2}, {"kiwa", 4}, {"clint", 5}};
    for (const auto& [name, position] : squad) {
        profile->setKelvoSelectedStatus(name, 1);
        profile->setKelvoTurnSpeed(name, position);
    }
    setup->setMissionName(kvdata::newString("M1b")); // no "squad_list"
    setup->buildTeam();
    EXPECT_EQ(texts(setup->getTeamKelvoNames()),
              (std::vector<std::string>{"clint", "kiwa", "vahine", "steev"}));
    EXPECT_EQ(texts(setup->getTeamSpawnPoints()),
              (std::vector<std::string>{"SpawnPoint4", "SpawnPoint2", "SpawnPoint1"}));

    EXPECT_TRUE(setup->isKelvoInTeam(kvdata::newString("SteevAI")));
    EXPECT_TRUE(setup->isKelvoInTeam(kvdata::newString("Steev")));
    EXPECT_FALSE(setup->isKelvoInTeam(kvdata::newString("ste")));
    EXPECT_FALSE(setup->isKelvoInTeam(nullptr));
}

TEST_F(GameDataTest, MissionObjectiveIsAnnouncedWhenSet) {
    KVGameSetup* setup = KVGameSetup::getInstance();
    NotificationRecorder recorder;
    recorder.observe(EVENT_MISSION_OBJECTIVE);
    setup->setMissionObjective(kvdata::newString("Sink them all"));
    EXPECT_EQ(kvdata::textOf(setup->getMissionObjective()), "Sink them all");
    setup->setMissionObjective(nullptr);
    EXPECT_EQ(setup->getMissionObjective(), nullptr);
    EXPECT_EQ(recorder.posts.size(), 1u);
}

TEST_F(GameDataTest, EscapeInTheMenusOpensTheQuitConfirmationOnce) {
    KVGameSetup* setup = KVGameSetup::getInstance();
    KVMenuManager* menu = KVMenuManager::getInstance();
    setup->escapeKeyBlocked = true;
    pressKey("TOUCH_ESCAPE");
    EXPECT_EQ(menu->getCurrentState(), 0);
    setup->escapeKeyBlocked = false;
    pressKey("TOUCH_LEFT");
    EXPECT_EQ(menu->getCurrentState(), 0);
    pressKey("TOUCH_ESCAPE");
    EXPECT_EQ(menu->popUpKind, 16);
    EXPECT_EQ(menu->getCurrentState(), 24);
    menu->changeState(1);
    pressKey("TOUCH_ESCAPE"); // already open: nothing
    EXPECT_EQ(menu->getCurrentState(), 1);
    menu->changeState(0);
    menu->changeState(25);
    EXPECT_EQ(menu->getCurrentState(), 1);
}
