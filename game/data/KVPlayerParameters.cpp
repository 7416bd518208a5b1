// Player profile: storage, schema, the rules that keep or rebuild a stored profile, and the
// builders of a new profile from the game data. The typed operations live in the
// KVPlayerParameters*.cpp files beside this one, one file per subject.

#include "game/data/KVPlayerParameters.h"

#include <filesystem>
#include <system_error>

#include "engine/base/CCLog.h"
#include "engine/base/CCUserDefaults.h"
#include "game/data/KVGameParameters.h"
#include "game/data/KVGameSetup.h"
#include "game/data/KVStoreCatalogue.h"

using kvdata::Array;
using kvdata::Dict;
using kvengine::CCString;

const char* const KV_THIRD_DEFAULT_KELVO = "kiwa";

namespace {

const char* const kProfileKey = "playerProfile";

// Shares the game data's value object with the record (no operation changes a value in place, so
// the game data is never altered through the profile); a missing value is logged and replaced.
void setShared(Dict* target, const std::string& key, CCString* value, const char* fallback) {
    if (value != nullptr) {
        target->setObject(value, key);
    } else {
        kvengine::logDebugMessage("profile: game data entry without \"%s\"; using \"%s\"", key.c_str(),
                                  fallback);
        kvdata::setText(target, key, fallback);
    }
}

// Place of a default squad member (1 to 3), 0 for any other creature.
int defaultSquadPosition(const std::string& name) {
    if (name == "steev") return 1;
    if (name == "vahine") return 2;
    return name == KV_THIRD_DEFAULT_KELVO ? 3 : 0;
}

// Copies the saved-settings file before it is replaced; false, with a log line, when it cannot.
bool copySettingsFile(const std::string& path, const std::string& copy) {
    std::error_code error;
    if (path.empty() || !std::filesystem::exists(path, error)) return false;
    std::filesystem::copy_file(path, copy, std::filesystem::copy_options::overwrite_existing, error);
    if (!error) return true;
    kvengine::logDebugMessage("profile: could not keep a copy of \"%s\" as \"%s\": %s", path.c_str(),
                              copy.c_str(), error.message().c_str());
    return false;
}

void dropDict(Dict*& field) {
    if (field != nullptr) field->release();
    field = nullptr;
}

} // namespace

KVPlayerParameters::KVPlayerParameters() {
    kvengine::CCUserDefaults* defaults = kvengine::CCUserDefaults::getInstance();
    Dict* stored = kvdata::asDict(defaults->objectForKey(kProfileKey));

    bool rebuild = false;
    if (stored == nullptr) {
        rebuild = true;
        keepUnusableSettingsFile(defaults->objectForKey(kProfileKey) != nullptr);
    } else if (KVGameSetup::getInstance()->getConfigInt("ResetPlayerProfile") != 0) {
        rebuild = true;
        backupStoredProfile(kvdata::intAt(stored, "Version", 0));
    } else if (kvdata::hasKey(stored, "Version") && kvdata::intAt(stored, "Version") < KV_PROFILE_VERSION) {
        rebuild = true;
        backupStoredProfile(kvdata::intAt(stored, "Version"));
    }

    if (rebuild) {
        Dict* fresh = new Dict();
        m_profile = fresh; // owns the creation reference
        buildDefaultProfile(fresh);
        takeSubDictionaries();
        saveProfile();
    } else {
        stored->retain();
        m_profile = stored;
        fillMissingParts();
        takeSubDictionaries();
    }
    addNewChaptersAndMissions();
    chooseDefaultSquad();
}

void KVPlayerParameters::cleanupBeforeDelete() {
    if (m_observingEndSpeech) kvengine::CCNotificationCenter::getInstance()->removeObserver(this, nullptr);
    dropDict(m_profile);
    dropDict(m_chapters);
    dropDict(m_missions);
    dropDict(m_creatures);
    dropDict(m_helmets);
    dropDict(m_consumables);
    dropDict(m_treasures);
    dropDict(m_powerups);
    dropDict(m_unseenItems);
    dropDict(m_helpCases);
    KVSingletonObject::cleanupBeforeDelete();
}

void KVPlayerParameters::backupStoredProfile(int storedVersion) {
    // The stored profile is about to be replaced: keep the old file so that progress is never
    // lost without a copy.
    const std::string path = kvengine::CCUserDefaults::getInstance()->path();
    const std::string backup = path + ".v" + std::to_string(storedVersion) + ".bak";
    if (copySettingsFile(path, backup))
        kvengine::logDebugMessage("profile: replacing a stored profile; the old file is kept as \"%s\"",
                                  backup.c_str());
}

void KVPlayerParameters::keepUnusableSettingsFile(bool entryPresent) {
    // A settings file that parsed but gives no profile (a damaged key name, a value of the wrong
    // kind) still holds the player's progress: keep it aside before the fresh profile is saved
    // over it, as an unreadable file is. Without a file this is simply the first start.
    const std::string path = kvengine::CCUserDefaults::getInstance()->path();
    std::error_code error;
    if (path.empty() || !std::filesystem::exists(path, error)) return;
    const std::string aside = path + ".bad";
    if (copySettingsFile(path, aside))
        kvengine::logDebugMessage("profile: \"%s\" %s; a fresh profile replaces it and the old file is kept "
                                  "as \"%s\"",
                                  path.c_str(),
                                  entryPresent ? "holds a \"playerProfile\" entry that is not a dictionary"
                                               : "holds no \"playerProfile\" entry",
                                  aside.c_str());
}

void KVPlayerParameters::fillMissingParts() {
    // A stored profile (without "Version", or edited by hand) may lack parts that every operation
    // relies on: build those from the game data, as a new profile would have them.
    auto missing = [this](const char* key) {
        if (kvdata::dictAt(m_profile, key) != nullptr) return false;
        kvengine::logDebugMessage("profile: stored profile lacks \"%s\"; rebuilding that part", key);
        return true;
    };
    if (kvdata::stringAt(m_profile, "pearl_amount") == nullptr) kvdata::setInt(m_profile, "pearl_amount", 0);
    if (missing("ChapiterSolo")) {
        Dict* chapters = kvdata::newDict();
        buildDefaultChapters(chapters);
        m_profile->setObject(chapters, "ChapiterSolo");
    }
    if (missing("MissionSolo")) {
        Dict* missions = kvdata::newDict();
        buildDefaultMissions(kvdata::dictAt(m_profile, "ChapiterSolo"), missions);
        m_profile->setObject(missions, "MissionSolo");
    }
    if (missing("Helmet")) {
        Dict* helmets = kvdata::newDict();
        buildDefaultHelmets(helmets);
        m_profile->setObject(helmets, "Helmet");
    }
    if (missing("Kelvo")) {
        Dict* kelvos = kvdata::newDict();
        buildDefaultKelvos(kelvos);
        m_profile->setObject(kelvos, "Kelvo");
        unlockWornHelmets(m_profile);
    }
    if (missing("Variable")) {
        Dict* consumables = kvdata::newDict();
        buildDefaultConsumables(consumables);
        m_profile->setObject(consumables, "Variable");
    }
    for (const char* key : {"Treasure", "Powerup", "UnseenItems", "HelpCase"}) {
        if (missing(key)) m_profile->setObject(kvdata::newDict(), key);
    }
}

void KVPlayerParameters::takeSubDictionaries() {
    struct Part {
        Dict*& field;
        const char* key;
    };
    Part parts[] = {{m_chapters, "ChapiterSolo"}, {m_missions, "MissionSolo"},    {m_creatures, "Kelvo"},
                    {m_helmets, "Helmet"},        {m_consumables, "Variable"},    {m_treasures, "Treasure"},
                    {m_powerups, "Powerup"},      {m_unseenItems, "UnseenItems"}, {m_helpCases, "HelpCase"}};
    for (Part& part : parts) {
        Dict* value = kvdata::dictAt(m_profile, part.key);
        if (value != nullptr) value->retain();
        dropDict(part.field);
        part.field = value;
    }
}

void KVPlayerParameters::chooseDefaultSquad() {
    if (kvdata::countOf(getSelectedKelvos()) != 0) return;
    for (const char* name : {"steev", "vahine", KV_THIRD_DEFAULT_KELVO}) {
        if (getKelvoRecord(name) == nullptr) continue;
        setKelvoSelectedStatus(name, 1);
        setKelvoTurnSpeed(name, defaultSquadPosition(name));
    }
}

bool KVPlayerParameters::saveProfile() {
    if (m_profile == nullptr) return false;
    kvengine::CCUserDefaults* defaults = kvengine::CCUserDefaults::getInstance();
    defaults->setObject(m_profile, kProfileKey);
    return defaults->save();
}

void KVPlayerParameters::buildDefaultProfile(Dict* profile) {
    if (profile == nullptr) return;
    kvdata::setInt(profile, "Version", KV_PROFILE_VERSION);
    kvdata::setInt(profile, "pearl_amount", getPearlAmount());
    Dict* chapters = kvdata::newDict();
    buildDefaultChapters(chapters);
    profile->setObject(chapters, "ChapiterSolo");
    Dict* missions = kvdata::newDict();
    buildDefaultMissions(chapters, missions);
    profile->setObject(missions, "MissionSolo");
    Dict* helmets = kvdata::newDict();
    buildDefaultHelmets(helmets);
    profile->setObject(helmets, "Helmet");
    Dict* kelvos = kvdata::newDict();
    buildDefaultKelvos(kelvos);
    profile->setObject(kelvos, "Kelvo");
    unlockWornHelmets(profile);
    Dict* consumables = kvdata::newDict();
    buildDefaultConsumables(consumables);
    profile->setObject(consumables, "Variable");
    for (const char* key : {"Treasure", "Powerup", "UnseenItems", "HelpCase"}) {
        profile->setObject(kvdata::newDict(), key);
    }
}

void KVPlayerParameters::unlockWornHelmets(Dict* profile) {
    Dict* kelvos = kvdata::dictAt(profile, "Kelvo");
    Dict* helmets = kvdata::dictAt(profile, "Helmet");
    for (const std::string& name : kvdata::keysOf(kelvos)) {
        Dict* record = kvdata::dictAt(kelvos, name);
        if (kvdata::intAt(record, "status_locked", kLockStatusLocked) != kLockStatusUnlocked) continue;
        Dict* helmet = kvdata::dictAt(helmets, kvdata::textAt(record, "helmet_name"));
        if (helmet != nullptr) kvdata::setInt(helmet, "status_locked", kLockStatusUnlocked);
    }
}

void KVPlayerParameters::buildDefaultChapters(Dict* target) {
    if (target == nullptr) return;
    Dict* chapters = KVGameParameters::getInstance()->getChapters();
    for (const std::string& key : kvdata::keysOf(chapters)) {
        Dict* definition = kvdata::dictAt(chapters, key);
        Dict* record = kvdata::newDict();
        initChapterRecord(record, definition, kvdata::arrayAt(definition, "mission_list"));
        target->setObject(record, key);
    }
}

void KVPlayerParameters::buildDefaultMissions(Dict* chapters, Dict* target) {
    if (target == nullptr) return;
    Dict* definitions = KVGameParameters::getInstance()->getMissionDefinitions();
    for (const std::string& chapter : kvdata::keysOf(chapters)) {
        Dict* chapterDefinitions = kvdata::dictAt(definitions, chapter);
        Dict* records = kvdata::newDict();
        for (const std::string& mission : kvdata::keysOf(chapterDefinitions)) {
            Dict* record = kvdata::newDict();
            initMissionRecord(record, kvdata::dictAt(chapterDefinitions, mission));
            records->setObject(record, mission);
        }
        if (kvdata::countOf(records) > 0) target->setObject(records, chapter);
    }
}

void KVPlayerParameters::buildDefaultHelmets(Dict* target) {
    if (target == nullptr) return;
    Dict* helmets = KVGameParameters::getInstance()->getHelmets();
    for (const std::string& name : kvdata::keysOf(helmets)) {
        Dict* record = kvdata::newDict();
        initHelmetRecord(kvdata::dictAt(helmets, name), record);
        target->setObject(record, name);
    }
}

void KVPlayerParameters::buildDefaultKelvos(Dict* target) {
    if (target == nullptr) return;
    Dict* kelvos = KVGameParameters::getInstance()->getKelvoStatsTable();
    for (const std::string& name : kvdata::keysOf(kelvos)) {
        Dict* definition = kvdata::dictAt(kelvos, name);
        Dict* record = kvdata::newDict();
        initKelvoRecord(name, definition, record);
        initKelvoHelmetName(name, record, definition);
        target->setObject(record, name);
    }
}

void KVPlayerParameters::buildDefaultConsumables(Dict* target) {
    if (KVStoreCatalogue* store = KVStoreCatalogue::shared()) {
        store->fillDefaultConsumables(target);
        return;
    }
    // Without a catalogue the game data's own consumables still get their records.
    if (target == nullptr) return;
    for (const std::string& name : kvdata::keysOf(KVGameParameters::getInstance()->getConsumables())) {
        Dict* record = kvdata::newDict();
        kvdata::setText(record, "amount", "0");
        target->setObject(record, name);
    }
}

void KVPlayerParameters::initChapterRecord(Dict* record, Dict* definition, Array* missionList) {
    if (record == nullptr) return;
    kvdata::setInt(record, "status_played", 0);
    if (missionList != nullptr) record->setObject(missionList, "mission_list");
    setShared(record, "status_locked", kvdata::stringAt(definition, "status_locked"), "1");
}

void KVPlayerParameters::initMissionRecord(Dict* record, Dict* definition) {
    if (record == nullptr) return;
    const std::pair<const char*, int> initial[] = {
        {"status_played", 0},  {"status_completed", 0}, {"max_star", 0},     {"hidden_locked", 1},
        {"surviva_locked", 1}, {"speed_locked", 1},     {"speed_number", 0}, {"turn_score", 0}};
    for (const auto& [key, value] : initial)
        kvdata::setInt(record, key, value);
    setShared(record, "status_locked", kvdata::stringAt(definition, "status_locked"), "1");
}

void KVPlayerParameters::initHelmetRecord(Dict* definition, Dict* record) {
    if (record == nullptr) return;
    setShared(record, "status_locked", kvdata::stringAt(definition, "status_locked"), "1");
}

void KVPlayerParameters::initKelvoRecord(const std::string& name, Dict* definition, Dict* record) {
    if (record == nullptr) return;
    kvdata::setInt(record, "level", 1);
    kvdata::setInt(record, "status_selected", 0);
    kvdata::setText(record, "Variable_name", "");
    kvdata::setInt(record, "turnSpeed", 5);
    setShared(record, "status_locked", kvdata::stringAt(definition, "status_locked"), "1");
    if (CCString* initLevel = kvdata::stringAt(definition, "init_level"))
        record->setObject(initLevel, "level");
    const int position = defaultSquadPosition(name);
    if (position != 0 && KVGameSetup::getInstance()->getConfigInt("DefaultTroops") != 0) {
        kvdata::setInt(record, "status_selected", 1);
        // A squad member needs a place in the squad, or the mission has no spawn point for it.
        kvdata::setInt(record, "turnSpeed", position);
    }
}

void KVPlayerParameters::initKelvoHelmetName(const std::string&, Dict* record, Dict*) {
    kvdata::setText(record, "helmet_name", "");
}

void KVPlayerParameters::addNewChaptersAndMissions() {
    KVGameParameters* data = KVGameParameters::getInstance();
    if (m_chapters != nullptr) {
        Dict* chapters = data->getChapters();
        for (const std::string& key : kvdata::keysOf(chapters)) {
            Dict* definition = kvdata::dictAt(chapters, key);
            if (kvdata::intAt(definition, "status_locked", kLockStatusLocked) != kLockStatusUnlocked)
                continue;
            if (kvdata::hasKey(m_chapters, key)) {
                Dict* held = kvdata::dictAt(m_chapters, key);
                // Nothing in the game locks a chapter once it is open: a record still locked only
                // holds what older game data said, and would keep the chapter shut for good.
                if (held != nullptr &&
                    kvdata::intAt(held, "status_locked", kLockStatusUnlocked) == kLockStatusLocked) {
                    kvengine::logDebugMessage("profile: the chapter %s is open now", key.c_str());
                    kvdata::setInt(held, "status_locked", kLockStatusUnlocked);
                }
                continue;
            }
            Dict* record = kvdata::newDict();
            initChapterRecord(record, definition, kvdata::arrayAt(definition, "mission_list"));
            m_chapters->setObject(record, key);
        }
    }
    if (m_missions != nullptr) {
        Dict* definitions = data->getMissionDefinitions();
        for (const std::string& chapter : kvdata::keysOf(definitions)) {
            Dict* chapterDefinitions = kvdata::dictAt(definitions, chapter);
            Dict* records = kvdata::dictAt(m_missions, chapter);
            const bool newChapter = records == nullptr;
            if (newChapter) records = kvdata::newDict();
            for (const std::string& mission : kvdata::keysOf(chapterDefinitions)) {
                if (kvdata::hasKey(records, mission)) continue;
                Dict* record = kvdata::newDict();
                initMissionRecord(record, kvdata::dictAt(chapterDefinitions, mission));
                records->setObject(record, mission);
            }
            if (newChapter) m_missions->setObject(records, chapter);
        }
    }
}

kvengine::CCObject* KVPlayerParameters::getProfileValue(const std::string& key) {
    return m_profile != nullptr ? m_profile->objectForKey(key) : nullptr;
}

std::string KVPlayerParameters::getLastPlayedMission() {
    return kvdata::textAt(m_profile, "last_played_mission");
}

void KVPlayerParameters::setLastPlayedMission(CCString* name) {
    if (m_profile != nullptr && name != nullptr) m_profile->setObject(name, "last_played_mission");
}

std::string KVPlayerParameters::getLastVisitedKelvo() {
    return kvdata::textAt(m_profile, "last_visited_kelvo");
}

bool KVPlayerParameters::setLastVisitedKelvo(CCString* name) {
    if (m_profile != nullptr && name != nullptr) m_profile->setObject(name, "last_visited_kelvo");
    return saveProfile();
}

float KVPlayerParameters::getMusicVolume() {
    if (m_profile == nullptr) return 1.0f;
    if (kvdata::stringAt(m_profile, "Music_Volume") == nullptr)
        kvdata::setFloat(m_profile, "Music_Volume", 1.0f);
    return kvdata::floatAt(m_profile, "Music_Volume");
}

float KVPlayerParameters::getSfxVolume() {
    if (m_profile == nullptr) return 0.75f;
    if (kvdata::stringAt(m_profile, "SFX_Volume") == nullptr)
        kvdata::setFloat(m_profile, "SFX_Volume", 0.75f);
    return kvdata::floatAt(m_profile, "SFX_Volume");
}

void KVPlayerParameters::setMusicVolume(float volume) {
    kvdata::setFloat(m_profile, "Music_Volume", volume);
}

void KVPlayerParameters::setSfxVolume(float volume) {
    kvdata::setFloat(m_profile, "SFX_Volume", volume);
}

bool KVPlayerParameters::setFavoriteAchievementsManager(int choice) {
    if (m_profile == nullptr) return false;
    Dict* manager = kvdata::dictAt(m_profile, "achievementsManager");
    if (manager == nullptr) {
        manager = kvdata::newDict();
        m_profile->setObject(manager, "achievementsManager");
    }
    kvdata::setInt(manager, "favoriteManager", choice);
    return saveProfile();
}
