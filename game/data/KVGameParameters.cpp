#include "game/data/KVGameParameters.h"

#include <algorithm>
#include <utility>
#include <vector>

#include "engine/base/CCLog.h"
#include "game/data/KVStoreCatalogue.h"

using kvdata::Array;
using kvdata::Dict;
using kvengine::CCString;

const char* const KV_STAT_NAMES[18] = {"HP",
                                       "SP",
                                       "DMG Melee",
                                       "Defense",
                                       "Dash Per Turn",
                                       "Heal",
                                       "DMG AoE",
                                       "DMG Target",
                                       "SP regen",
                                       "Move Power",
                                       "Weight Density",
                                       "Range AoE",
                                       "Range Target",
                                       "Critics",
                                       "Dodge",
                                       "Push Off Coef Target",
                                       "Push Off Coef AoE",
                                       "Speed"};

namespace {

std::string levelUpKey(const char* statName) {
    return std::string(statName) + " LevelUp";
}

void dropTable(Dict*& table) {
    if (table != nullptr) {
        table->release();
        table = nullptr;
    }
}

} // namespace

float computeStatAtLevel(Array* pairs, int level, float base) {
    if (pairs == nullptr || pairs->count() < 2 || level <= 1) return base;
    const unsigned count = pairs->count();
    unsigned pair = 0;
    int upTo = atoi(kvdata::textOf(pairs, 0).c_str());
    float increment = static_cast<float>(atof(kvdata::textOf(pairs, 1).c_str()));
    float sum = base;
    for (int step = 1; step <= level - 1; ++step) {
        while (upTo < step) {
            ++pair;
            // An odd last entry is an incomplete pair and ends the list.
            if (2 * pair + 1 >= count) return sum;
            upTo = atoi(kvdata::textOf(pairs, 2 * pair).c_str());
            increment = static_cast<float>(atof(kvdata::textOf(pairs, 2 * pair + 1).c_str()));
        }
        sum += increment;
    }
    return sum;
}

KVGameParameters::KVGameParameters() {
    // Already the shared object (KVSingletonObject publishes it): the store catalogue, created
    // while the consumables are filtered, finds this one instead of making a second.
    replaceTable(m_chapters, "chapiterSolo");
    loadMissionDefinitions();
    replaceTable(m_multiplayerMaps, "mapHuddle");
    loadKelvoStatsAndHelmets();
    loadAiStatsAndLevelUpSettings();
    replaceTable(m_consumables, "consumables");
    filterConsumables();
    replaceTable(m_powerups, "powerups");
    replaceTable(m_animSettings, "animSettings");

    m_statNames = new kvengine::CCArray(); // grows as the names are added
    for (const char* name : KV_STAT_NAMES) {
        CCString* text = new CCString(name);
        m_statNames->addObject(text);
        text->release();
    }
}

void KVGameParameters::cleanupBeforeDelete() {
    dropTable(m_chapters);
    dropTable(m_missionDefinitions);
    dropTable(m_multiplayerMaps);
    dropTable(m_kelvoStats);
    dropTable(m_kelvoAiStats);
    dropTable(m_helmets);
    dropTable(m_consumables);
    dropTable(m_animSettings);
    dropTable(m_powerups);
    dropTable(m_levelUpSettings);
    if (m_statNames != nullptr) {
        m_statNames->release();
        m_statNames = nullptr;
    }
    KVSingletonObject::cleanupBeforeDelete();
}

void KVGameParameters::replaceTable(Dict*& field, const std::string& name) {
    Dict* table = kvdata::loadDataTable(name);
    if (table == nullptr) table = kvdata::newDict();
    table->retain();
    dropTable(field);
    field = table;
}

void KVGameParameters::loadMissionDefinitions() {
    dropTable(m_missionDefinitions);
    m_missionDefinitions = new Dict();
    for (const std::string& chapterKey : kvdata::keysOf(m_chapters)) {
        Dict* chapter = kvdata::dictAt(m_chapters, chapterKey);
        Array* list = kvdata::arrayAt(chapter, "mission_list");
        if (list == nullptr) {
            kvengine::logDebugMessage("game data: chapter \"%s\" has no \"mission_list\"",
                                      chapterKey.c_str());
            continue;
        }
        Dict* missions = kvdata::newDict();
        for (unsigned i = 0; i < list->count(); ++i) {
            const std::string missionName = kvdata::textOf(list, i);
            Dict* definition = kvdata::loadDataTable(missionName + "_DEF");
            if (definition == nullptr) continue; // reported by the loader; the mission is left out
            kvdata::setInt(definition, "item_number", static_cast<int>(i));
            missions->setObject(definition, missionName);
        }
        m_missionDefinitions->setObject(missions, chapterKey);
    }
}

void KVGameParameters::filterConsumables() {
    std::vector<std::pair<int, std::string>> ordered;
    for (const std::string& key : kvdata::keysOf(m_consumables)) {
        ordered.emplace_back(kvdata::intAt(kvdata::dictAt(m_consumables, key), "item_number"), key);
    }
    std::stable_sort(ordered.begin(), ordered.end(),
                     [](const auto& a, const auto& b) { return a.first < b.first; });

    KVStoreCatalogue* store = KVStoreCatalogue::shared();
    if (store == nullptr) return; // no catalogue: nothing is known to be sold for money
    std::vector<int> removedNumbers;
    std::vector<std::pair<int, std::string>> kept;
    for (const auto& [number, key] : ordered) {
        const std::string name = kvdata::textAt(kvdata::dictAt(m_consumables, key), "name");
        Dict* item = store->findConsumableItem(name);
        if (item == nullptr) item = store->findHelmetItem(name);
        if (item == nullptr) item = store->findKelvoItem(name);
        if (item == nullptr) {
            // Nothing in the catalogue says it is sold for money: keep it.
            kept.emplace_back(number, key);
            continue;
        }
        if (kvdata::textAt(item, "currency_identifier") != "pearl") {
            removedNumbers.push_back(number);
            m_consumables->removeObjectForKey(key);
        } else {
            kept.emplace_back(number, key);
        }
    }
    for (const auto& [number, key] : kept) {
        const int lower = static_cast<int>(std::count_if(removedNumbers.begin(), removedNumbers.end(),
                                                         [n = number](int removed) { return removed < n; }));
        if (lower > 0) kvdata::setInt(kvdata::dictAt(m_consumables, key), "item_number", number - lower);
    }
}

void KVGameParameters::loadKelvoStatsAndHelmets() {
    replaceTable(m_helmets, "helmets");
    replaceTable(m_kelvoStats, "kelvoStats");
}

void KVGameParameters::loadAiStatsAndLevelUpSettings() {
    replaceTable(m_kelvoAiStats, "kelvoStatsAI");
    replaceTable(m_levelUpSettings, "levelUpSettings");
}

int KVGameParameters::getLevelUpCost(unsigned level) {
    Array* costs = kvdata::arrayAt(m_levelUpSettings, "level_up_cost");
    if (costs == nullptr || level == 0 || level > costs->count()) return 0;
    return atoi(kvdata::textOf(costs, level - 1).c_str());
}

void KVGameParameters::applyLevelUps(Dict* stats, int level) {
    if (stats == nullptr) return;
    for (const char* statName : KV_STAT_NAMES) {
        if (kvdata::stringAt(stats, statName) == nullptr) continue;
        float value = kvdata::floatAt(stats, statName);
        Array* pairs = kvdata::arrayAt(stats, levelUpKey(statName));
        if (pairs != nullptr) value = computeStatAtLevel(pairs, level, value);
        stats->setFloatForKey(statName, value);
    }
}

int KVGameParameters::getMaxKelvoLevel(CCString* creatureName) {
    Dict* stats = creatureName != nullptr ? getKelvoStats(kvdata::textOf(creatureName)) : nullptr;
    if (stats == nullptr) return 1;
    int maxLevel = 1;
    bool any = false;
    for (const char* statName : KV_STAT_NAMES) {
        Array* pairs = kvdata::arrayAt(stats, levelUpKey(statName));
        if (pairs == nullptr || pairs->count() < 2) continue;
        any = true;
        const unsigned lastPair = pairs->count() / 2 * 2 - 2;
        maxLevel = std::max(maxLevel, atoi(kvdata::textOf(pairs, lastPair).c_str()));
    }
    return any ? maxLevel + 1 : maxLevel;
}

Dict* KVGameParameters::getKelvoStats(const std::string& name) {
    return kvdata::dictAt(m_kelvoStats, name);
}

Dict* KVGameParameters::getKelvoAiStats(const std::string& name) {
    return kvdata::dictAt(m_kelvoAiStats, name);
}

int KVGameParameters::getPearlReward(const std::string& enemyName) {
    return kvdata::intAt(getKelvoAiStats(enemyName), "Pearl Reward");
}

Dict* KVGameParameters::getHelmetDefinition(const std::string& name) {
    return kvdata::dictAt(m_helmets, name);
}

Dict* KVGameParameters::getConsumableDefinition(const std::string& name) {
    return kvdata::dictAt(m_consumables, name);
}

Dict* KVGameParameters::getHelmetsOfClass(const std::string& className) {
    Dict* result = kvdata::newDict();
    for (const std::string& name : kvdata::keysOf(m_helmets)) {
        Dict* helmet = kvdata::dictAt(m_helmets, name);
        CCString* helmetClass = kvdata::stringAt(helmet, "Class");
        if (helmetClass != nullptr && kvdata::textOf(helmetClass) == className)
            result->setObject(helmet, name);
    }
    return result;
}

float KVGameParameters::getAnimScaleFactor(const std::string& setName) {
    return kvdata::floatAt(kvdata::dictAt(m_animSettings, setName), "scale_factor", 1.0f);
}

int KVGameParameters::getAnimSettingInt(const std::string& setName, const std::string& key) {
    return kvdata::intAt(kvdata::dictAt(m_animSettings, setName), key);
}

Dict* KVGameParameters::findMissionDefinition(CCString* missionName) {
    return missionName != nullptr ? findMissionDefinition(kvdata::textOf(missionName)) : nullptr;
}

Dict* KVGameParameters::findMissionDefinition(const std::string& missionName) {
    for (const std::string& chapterKey : kvdata::keysOf(m_missionDefinitions)) {
        Dict* definition = kvdata::dictAt(kvdata::dictAt(m_missionDefinitions, chapterKey), missionName);
        if (definition != nullptr) return definition;
    }
    for (const std::string& groupKey : kvdata::keysOf(m_multiplayerMaps)) {
        Dict* definition = kvdata::dictAt(kvdata::dictAt(m_multiplayerMaps, groupKey), missionName);
        if (definition != nullptr) return definition;
    }
    return nullptr;
}

CCString* KVGameParameters::getNextMissionName(CCString* missionName, CCString* chapterKey) {
    if (missionName == nullptr || chapterKey == nullptr) return nullptr;
    Dict* missions = kvdata::dictAt(m_missionDefinitions, kvdata::textOf(chapterKey));
    Dict* mission = kvdata::dictAt(missions, kvdata::textOf(missionName));
    if (mission == nullptr) return nullptr;
    const int next = kvdata::intAt(mission, "item_number") + 1;
    for (const std::string& name : kvdata::keysOf(missions)) {
        if (kvdata::intAt(kvdata::dictAt(missions, name), "item_number", -1) == next)
            return kvdata::newString(name);
    }
    return nullptr;
}

bool KVGameParameters::isLastMissionOfChapter(CCString* missionName, CCString* chapterKey) {
    if (missionName == nullptr || chapterKey == nullptr) return false;
    Dict* missions = kvdata::dictAt(m_missionDefinitions, kvdata::textOf(chapterKey));
    Dict* mission = kvdata::dictAt(missions, kvdata::textOf(missionName));
    if (mission == nullptr) return false;
    return kvdata::intAt(mission, "item_number") == static_cast<int>(kvdata::countOf(missions)) - 1;
}
