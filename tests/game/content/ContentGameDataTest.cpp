// The built game data read through the game's own loaders: settings, game parameters, the
// store catalogue and a new player profile come up without a single missing file or key.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include "ContentTestSupport.h"
#include "engine/base/CCLocalizationManager.h"
#include "engine/base/CCLog.h"
#include "engine/base/CCUserDefaults.h"
#include "game/app/KVGameServices.h"
#include "game/data/KVGameParameters.h"
#include "game/data/KVGameSetup.h"
#include "game/data/KVPlayerParameters.h"
#include "game/shop/KVKelvosOFXDelegate.h"

using namespace kvcontenttest;

TEST(ContentGameData, LoadsThroughTheGameLoadersWithNothingMissing) {
    namespace fs = std::filesystem;
    kvConnectGameServices();
    // A user-data folder of the test's own, so that the new profile is saved away from the user's.
    std::string pattern = (fs::temp_directory_path() / "kvcontent-XXXXXX").string();
    ASSERT_NE(mkdtemp(&pattern[0]), nullptr);
    setenv("XDG_DATA_HOME", pattern.c_str(), 1);
    setenv("LANG", "fr_FR.UTF-8", 1);
    unsetenv("LC_ALL");
    unsetenv("LC_MESSAGES");

    std::vector<std::string> lines;
    kvengine::setDebugLogSink([&lines](const std::string& line) { lines.push_back(line); });
    {
        PoolScope pool;
        KVGameSetup* setup = KVGameSetup::getInstance();
        KVGameParameters* parameters = KVGameParameters::getInstance();
        KVKelvosOFXDelegate::getInstance();
        KVPlayerParameters* profile = KVPlayerParameters::getInstance();

        EXPECT_TRUE(setup->getConfigBool("DisableIntroductionVideo"));
        // The French table was chosen from the locale and loaded.
        kvengine::CCString* play =
            kvengine::CCLocalizationManager::getInstance()->stringForKey("Main_Screen_Play");
        ASSERT_NE(play, nullptr);
        EXPECT_STREQ(play->c_str(), "Jouer");

        EXPECT_NE(parameters->getKelvoStats("steev"), nullptr);
        EXPECT_NE(parameters->getConsumableDefinition("mighty_kraken"), nullptr);
        EXPECT_GT(parameters->getLevelUpCost(2), 0);
        kvengine::CCString* steev = new kvengine::CCString("steev");
        EXPECT_EQ(parameters->getMaxKelvoLevel(steev), 10);
        steev->release();

        // The default squad of a new profile: placed at positions 1 to 3, so that every member gets
        // a spawn point ("DefaultTroops" stays 0: it would select them unplaced).
        for (const auto& member :
             std::vector<std::pair<const char*, int>>{{"steev", 1}, {"vahine", 2}, {"kiwa", 3}})
            EXPECT_EQ(profile->getKelvoTurnSpeed(member.first), member.second) << member.first;
        EXPECT_EQ(profile->getSelectedKelvos()->count(), 3u);

        profile->release();
        if (auto* store = KVKelvosOFXDelegate::existingInstance()) store->release();
        parameters->release();
        setup->release();
        kvengine::CCUserDefaults::getInstance()->release();
        kvengine::CCLocalizationManager::getInstance()->release();
    }
    kvengine::setDebugLogSink(nullptr);
    for (const std::string& line : lines)
        ADD_FAILURE() << "logged: " << line;
    std::error_code ignored;
    fs::remove_all(pattern, ignored);
}
