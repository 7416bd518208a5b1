// Feeds arbitrary game-data tables to the game as it starts: the first byte picks one table of a
// small game-data set (chapters, missions, creatures, helmets, consumables, level-up costs, the
// store catalogue, the settings...), the rest is that table's text, written scrambled as the
// game's data files are. The game then loads its data, builds a fresh profile from it and reads
// it as the menus and the store do. Nothing may crash, hang or leak, and the profile must save.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include "engine/base/CCAutoreleasePoolStack.h"
#include "engine/base/CCString.h"
#include "game_fuzz_support.h"

using kvdata::Dict;
using kvengine::CCString;

namespace {

// The tables of the set, in a fixed order: an input's first byte keeps its meaning across runs.
const char* const kTables[] = {"chapiterSolo.plist", "M1a_DEF.plist",      "M1b_DEF.plist",
                               "M2a_DEF.plist",      "mapHuddle.plist",    "kelvoStats.plist",
                               "kelvoStatsAI.plist", "helmets.plist",      "consumables.plist",
                               "powerups.plist",     "animSettings.plist", "levelUpSettings.plist",
                               "OfflineStore.plist", "gameSetup.plist"};
constexpr size_t kTableCount = sizeof(kTables) / sizeof(kTables[0]);

std::string tablePath(size_t index) {
    return kvfuzz::resourceFolder() + "/data/" + kTables[index];
}

void readGameData() {
    KVGameParameters* data = KVGameParameters::getInstance();
    for (const std::string& name : kvdata::keysOf(data->getKelvoStatsTable())) {
        CCString* creature = kvdata::newString(name);
        // A level-up list can reach any level; the screens show at most the first hundred.
        const int maxLevel = std::min(data->getMaxKelvoLevel(creature), 100);
        for (int level : {1, 2, maxLevel}) {
            Dict* stats = kvdata::asDict(kvdata::deepCopy(data->getKelvoStats(name)));
            data->applyLevelUps(stats, level);
        }
        (void)KVKelvosOFXDelegate::getInstance()->findKelvoItem(name);
        (void)KVKelvosOFXDelegate::getInstance()->itemTitle(name);
    }
    for (const std::string& name : kvdata::keysOf(data->getKelvoAiStatsTable())) {
        (void)data->getKelvoAiStats(name);
        (void)data->getPearlReward(name);
    }
    for (const std::string& name : kvdata::keysOf(data->getHelmets())) {
        Dict* helmet = data->getHelmetDefinition(name);
        (void)data->getHelmetsOfClass(kvdata::textAt(helmet, "Class"));
        (void)KVKelvosOFXDelegate::getInstance()->findHelmetItem(name);
    }
    for (const std::string& name : kvdata::keysOf(data->getConsumables())) {
        (void)data->getConsumableDefinition(name);
        (void)KVKelvosOFXDelegate::getInstance()->findConsumableItem(name);
    }
    for (const std::string& name : kvdata::keysOf(data->getAnimSettings())) {
        (void)data->getAnimScaleFactor(name);
        (void)data->getAnimSettingInt(name, "frame_count");
    }
    for (unsigned level = 0; level < 8; ++level)
        (void)data->getLevelUpCost(level);
    Dict* missions = data->getMissionDefinitions();
    for (const std::string& chapter : kvdata::keysOf(missions)) {
        CCString* chapterKey = kvdata::newString(chapter);
        for (const std::string& mission : kvdata::keysOf(kvdata::dictAt(missions, chapter))) {
            CCString* missionName = kvdata::newString(mission);
            (void)data->findMissionDefinition(missionName);
            (void)data->getNextMissionName(missionName, chapterKey);
            (void)data->isLastMissionOfChapter(missionName, chapterKey);
        }
    }
    for (const std::string& map : kvdata::keysOf(data->getMultiplayerMaps()))
        (void)data->findMissionDefinition(map);
}

void readTheFreshProfile() {
    KVPlayerParameters* profile = KVPlayerParameters::getInstance();
    Dict* root = profile->getProfile();
    for (const std::string& name : kvdata::keysOf(kvdata::dictAt(root, "Kelvo"))) {
        (void)profile->getNextLevelUpCost(name);
        (void)profile->getTotalLevelUpCost(name);
    }
    for (const std::string& chapter : kvdata::keysOf(kvdata::dictAt(root, "ChapiterSolo")))
        (void)profile->getChapterStarsText(kvdata::newString(chapter));
    (void)profile->getSelectedKelvos();
    profile->mergeCatalogueItems();
    (void)KVGameSetup::getInstance()->getConfigInt("DefaultTroops");
    if (!profile->saveProfile()) std::abort(); // the folder is writable: a save must succeed
}

} // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    kvfuzz::setUpGameFolders("data");
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size == 0 || size > (1u << 20)) return 0;
    const size_t table = data[0] % kTableCount;
    kvengine::CCAutoreleasePoolStack::getInstance().push();
    kvfuzz::releaseSharedGameObjects(false);
    kvfuzz::clearUserData();
    if (!kvfuzz::writeScrambled(tablePath(table),
                                std::string(reinterpret_cast<const char*>(data) + 1, size - 1)))
        std::abort();

    readGameData();
    readTheFreshProfile();

    kvfuzz::releaseSharedGameObjects(false);
    // The next input changes one table of the base set, not this one as well.
    if (!kvfuzz::writeScrambled(tablePath(table), kvfuzz::baseTable(kTables[table]))) std::abort();
    kvengine::CCAutoreleasePoolStack::getInstance().pop();
    return 0;
}
