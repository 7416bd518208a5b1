#pragma once

// What the game_* fuzz targets share: a resource folder holding the small game-data set of the
// game-data tests (scrambled, as the game's data files are), a user-data folder of its own, and the
// release of every shared game object, so that each input meets a fresh start of the game.
//
// The folders live on /dev/shm when it can be written (every input saves the profile), else in
// the system's temporary folder; they are removed at exit.

#include <dirent.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

#include "engine/base/CCLocalizationManager.h"
#include "engine/base/CCLog.h"
#include "engine/base/CCUserDefaults.h"
#include "engine/files/CCFileUtils.h"
#include "game/app/KVGameServices.h"
#include "game/data/KVGameParameters.h"
#include "game/data/KVGameSetup.h"
#include "game/data/KVPlayerParameters.h"
#include "game/shop/KVKelvosOFXDelegate.h"

namespace kvfuzz {

inline std::string& rootFolder() {
    static std::string root;
    return root;
}

inline std::string resourceFolder() {
    return rootFolder() + "/res";
}

inline std::string dataHome() {
    return rootFolder() + "/home";
}

inline std::string savedSettingsPath() {
    return dataHome() + "/Kelvos/SavedSettings.plist";
}

inline std::string readFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

inline bool writeFile(const std::string& path, const std::string& bytes) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    return static_cast<bool>(out);
}

/// Writes text scrambled as the game stores its data and saves.
inline bool writeScrambled(const std::string& path, std::string text) {
    kvengine::scrambleDataBuffer(reinterpret_cast<unsigned char*>(&text[0]),
                                 static_cast<unsigned>(text.size()));
    return writeFile(path, text);
}

/// The plain text of a base game-data table ("chapiterSolo.plist").
inline std::string baseTable(const std::string& fileName) {
    return readFile(std::string(KELVOS_TEST_DATA_DIR) + "/gamedata/base/" + fileName);
}

/// Writes the base game-data set, takes the folders and connects the game's services. Aborts when
/// the set cannot be found: a fuzzer without its data would only test the missing-file paths.
inline void setUpGameFolders(const char* name) {
    kvengine::setDebugLogSink([](const std::string&) {}); // bad input is expected; stay quiet
    std::string pattern =
        std::string(access("/dev/shm", W_OK) == 0 ? "/dev/shm" : "/tmp") + "/kv" + name + "-XXXXXX";
    if (mkdtemp(&pattern[0]) == nullptr) std::abort();
    rootFolder() = pattern;
    const std::string data = resourceFolder() + "/data";
    std::error_code error;
    for (const std::string& folder : {data, resourceFolder() + "/English.lproj", dataHome()})
        if (!std::filesystem::create_directories(folder, error)) std::abort();
    const std::string base = std::string(KELVOS_TEST_DATA_DIR) + "/gamedata/base";
    DIR* listing = opendir(base.c_str());
    if (listing == nullptr) std::abort();
    int tables = 0;
    while (const dirent* entry = readdir(listing)) {
        const std::string fileName = entry->d_name;
        if (fileName.size() < 7 || fileName.compare(fileName.size() - 6, 6, ".plist") != 0) continue;
        if (!writeScrambled(data + "/" + fileName, baseTable(fileName))) std::abort();
        ++tables;
    }
    closedir(listing);
    if (tables == 0) std::abort();
    const std::u16string strings = u"\xFEFF\"kraken_call\" = \"Call of the Kraken\";\n";
    writeScrambled(resourceFolder() + "/English.lproj/localizable.strings",
                   std::string(reinterpret_cast<const char*>(strings.data()), strings.size() * 2));
    setenv("XDG_DATA_HOME", dataHome().c_str(), 1);
    setenv("LANG", "en_GB.UTF-8", 1);
    if (chdir(resourceFolder().c_str()) != 0 || !kvengine::setResourceRootPath(resourceFolder()))
        std::abort();
    kvConnectGameServices();
    std::atexit([] {
        std::error_code ignored;
        if (chdir("/") == 0) std::filesystem::remove_all(rootFolder(), ignored);
    });
}

/// Releases the shared objects that read the save and the data, so that the next use reads them
/// again from the files. With keepGameData the game-data tables stay loaded.
inline void releaseSharedGameObjects(bool keepGameData) {
    if (auto* profile = KVPlayerParameters::existingInstance()) profile->release();
    if (auto* setup = KVGameSetup::existingInstance()) setup->release();
    if (!keepGameData) {
        if (auto* store = KVKelvosOFXDelegate::existingInstance()) store->release();
        if (auto* parameters = KVGameParameters::existingInstance()) parameters->release();
    }
    if (auto* defaults = kvengine::CCUserDefaults::existingInstance()) defaults->release();
    if (auto* strings = kvengine::CCLocalizationManager::existingInstance()) strings->release();
}

/// Empties the user-data folder: no save, no file kept aside, no temporary.
inline void clearUserData() {
    std::error_code error;
    std::filesystem::remove_all(dataHome() + "/Kelvos", error);
    if (error) std::abort();
}

} // namespace kvfuzz
