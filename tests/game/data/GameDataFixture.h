#pragma once

// A resource tree and a user-data folder of their own for the game-data tests.
//
// Once per test program the fixture property lists of tests/data/gamedata/base are copied,
// scrambled as the game's data files are, into a temporary resource folder that becomes the
// current directory (the resource root is fixed on first use). XDG_DATA_HOME points into the same
// temporary folder, so the saved-settings file never touches the user's real one. Each test starts
// with the base data, no saved settings and no shared game objects.

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include <unistd.h>

#include "engine/base/CCAutoreleasePoolStack.h"
#include "engine/base/CCLocalizationManager.h"
#include "engine/base/CCLog.h"
#include "engine/base/CCNotificationCenter.h"
#include "engine/base/CCUserDefaults.h"
#include "engine/files/CCFileUtils.h"
#include "game/app/KVGameServices.h"
#include "game/chatter/KVChatterManager.h"
#include "game/data/KVGameParameters.h"
#include "game/data/KVGameSetup.h"
#include "game/data/KVPlayerParameters.h"
#include "game/menu/KVMenuManager.h"
#include "game/shop/KVKelvosOFXDelegate.h"
#include "game/tutorial/KVHelperManager.h"

namespace kvtest {

namespace fs = std::filesystem;

inline std::string readText(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

inline void writeScrambled(const std::string& path, std::string bytes) {
    fs::create_directories(fs::path(path).parent_path());
    kvengine::scrambleDataBuffer(reinterpret_cast<unsigned char*>(bytes.data()),
                                 static_cast<unsigned>(bytes.size()));
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
}

inline std::string fixturePath(const std::string& relative) {
    return std::string(KELVOS_TEST_DATA_DIR) + "/gamedata/" + relative;
}

/// Paths of the temporary tree, set up once per program.
struct GameDataPaths {
    std::string root;
    std::string resources;
    std::string dataHome;
};

inline GameDataPaths& gameDataPaths() {
    static GameDataPaths paths;
    return paths;
}

/// Writes every base fixture file into the resource folder (scrambled), replacing changed copies.
inline void installBaseData() {
    const GameDataPaths& paths = gameDataPaths();
    for (const auto& entry : fs::directory_iterator(fixturePath("base"))) {
        writeScrambled(paths.resources + "/data/" + entry.path().filename().string(),
                       readText(entry.path().string()));
    }
    // One localisation entry, UTF-16LE with a byte-order mark, for the title fallback.
    const std::u16string strings = u"\xFEFF\"kraken_call\" = \"Call of the Kraken\";\n";
    writeScrambled(paths.resources + "/English.lproj/localizable.strings",
                   std::string(reinterpret_cast<const char*>(strings.data()), strings.size() * 2));
}

/// Replaces one data file of the resource tree by a fixture text (the name must exist already:
/// the resource index is built once).
inline void replaceDataFile(const std::string& fileName, const std::string& plistText) {
    writeScrambled(gameDataPaths().resources + "/data/" + fileName, plistText);
}

class GameDataEnvironment : public ::testing::Environment {
public:
    void SetUp() override {
        // As the application does first thing: the data reaches the catalogue, the dialogues and the
        // quit confirmation through it.
        kvConnectGameServices();
        GameDataPaths& paths = gameDataPaths();
        std::string pattern = (fs::temp_directory_path() / "kvgamedata-XXXXXX").string();
        paths.root = mkdtemp(&pattern[0]) != nullptr ? pattern : std::string();
        ASSERT_FALSE(paths.root.empty());
        paths.resources = paths.root + "/res";
        paths.dataHome = paths.root + "/home";
        fs::create_directories(paths.resources);
        fs::create_directories(paths.dataHome);
        installBaseData();
        setenv("XDG_DATA_HOME", paths.dataHome.c_str(), 1);
        setenv("LANG", "en_GB.UTF-8", 1);
        unsetenv("LC_ALL");
        unsetenv("LANGUAGE");
        unsetenv("LC_MESSAGES");
        ASSERT_EQ(chdir(paths.resources.c_str()), 0);
    }
    void TearDown() override {
        std::error_code ignored;
        if (chdir("/") == 0) fs::remove_all(gameDataPaths().root, ignored);
    }
};

inline ::testing::Environment* const kGameDataEnvironment =
    ::testing::AddGlobalTestEnvironment(new GameDataEnvironment());

/// Releases every shared object the game-data code makes, so that the next use rebuilds it.
inline void resetSharedGameObjects() {
    if (auto* profile = KVPlayerParameters::existingInstance()) profile->release();
    if (auto* store = KVKelvosOFXDelegate::existingInstance()) store->release();
    if (auto* parameters = KVGameParameters::existingInstance()) parameters->release();
    if (auto* setup = KVGameSetup::existingInstance()) setup->release();
    if (auto* menu = KVMenuManager::existingInstance()) menu->release();
    if (auto* chatter = KVChatterManager::existingInstance()) chatter->release();
    if (auto* helper = KVHelperManager::existingInstance()) helper->release();
    kvengine::CCUserDefaults::getInstance()->release();
    kvengine::CCLocalizationManager::getInstance()->release();
}

/// The saved-settings file the user defaults read and write.
inline std::string savedSettingsPath() {
    return gameDataPaths().dataHome + "/Kelvos/SavedSettings.plist";
}

/// Puts a fixture profile file (tests/data/gamedata/profiles/<name>.plist) in place, scrambled.
inline void installSavedSettings(const std::string& name) {
    writeScrambled(savedSettingsPath(), readText(fixturePath("profiles/" + name + ".plist")));
}

/// Records the posts of the names it observes: the name and the text of a string object.
class NotificationRecorder : public kvengine::CCObject {
public:
    ~NotificationRecorder() override { kvengine::CCNotificationCenter::getInstance()->removeObserver(this); }
    void observe(kvengine::CCString* name) {
        kvengine::CCNotificationCenter::getInstance()->addObserver(
            this, notification_selector(NotificationRecorder::onNotification), name);
    }
    void onNotification(kvengine::CCNotification* notification) {
        posts.push_back({kvdata::textOf(notification->getName()), kvdata::textOf(notification->getObject())});
    }
    /// How many posts of `name` were seen, and with which object texts.
    std::vector<std::string> objectsOf(const std::string& name) const {
        std::vector<std::string> objects;
        for (const auto& [postedName, object] : posts)
            if (postedName == name) objects.push_back(object);
        return objects;
    }
    std::vector<std::pair<std::string, std::string>> posts;
};

class GameDataTest : public ::testing::Test {
protected:
    void SetUp() override {
        resetSharedGameObjects();
        installBaseData();
        std::error_code ignored;
        fs::remove_all(gameDataPaths().dataHome, ignored);
        fs::create_directories(gameDataPaths().dataHome);
        kvengine::setDebugLogSink([this](const std::string& line) { logLines.push_back(line); });
        kvengine::CCAutoreleasePoolStack::getInstance().push();
    }
    void TearDown() override {
        resetSharedGameObjects();
        kvengine::CCAutoreleasePoolStack::getInstance().pop();
        kvengine::setDebugLogSink(nullptr);
    }

    bool logged(const std::string& part) const {
        for (const std::string& line : logLines)
            if (line.find(part) != std::string::npos) return true;
        return false;
    }

    std::vector<std::string> logLines;
};

} // namespace kvtest
