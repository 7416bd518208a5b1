#pragma once

#include <string>

#include "engine/base/CCArray.h"
#include "game/data/KVDataAccess.h"
#include "game/world/KVSingletonObject.h"

/// Stat at `level` from a level-up list of (up-to-level, increment) pairs and the level-1 `base`:
/// base plus, for every step i = 1 .. level - 1, the increment of the first pair (scanning forward
/// only) whose up-to-level is at least i. Steps past the last complete pair add nothing.
float computeStatAtLevel(kvdata::Array* pairs, int level, float base);

/// The game's read-only design data: chapters and missions, multiplayer maps, creature, enemy and
/// helmet tables, consumables, power-ups, animation settings and level-up rules.
///
/// Every table is a property list found by name through the resource index and loaded once, when the
/// shared object is created. A missing file is logged and leaves an empty table, so lookups answer
/// null / 0 instead of failing. The returned dictionaries belong to this object (not retained for
/// the caller) and stay valid until the next loadKelvoStatsAndHelmets() for the creature and helmet
/// tables, until shutdown for the others.
class KVGameParameters : public KVSingletonObject<KVGameParameters> {
public:
    CC_DECLARE_CLASS_NAME(KVGameParameters, KVSingletonObject)

    KVGameParameters();
    void cleanupBeforeDelete() override;

    /// Pearls to reach `level` from the level below; 0 for level 0 or past the end of the table.
    int getLevelUpCost(unsigned level);
    /// Rewrites each of the 18 stats present in `stats` with its value at `level` ("%f").
    void applyLevelUps(kvdata::Dict* stats, int level);
    /// Highest level the creature's level-up lists reach; 1 for a creature without lists.
    int getMaxKelvoLevel(kvengine::CCString* creatureName);

    kvdata::Dict* getKelvoStats(const std::string& name);
    kvdata::Dict* getKelvoAiStats(const std::string& name);
    /// "Pearl Reward" of an enemy; 0 when absent.
    int getPearlReward(const std::string& enemyName);
    kvdata::Dict* getHelmetDefinition(const std::string& name);
    kvdata::Dict* getConsumableDefinition(const std::string& name);
    /// New autoreleased dictionary of the helmets whose "Class" is exactly `className` (maybe empty).
    kvdata::Dict* getHelmetsOfClass(const std::string& className);
    /// "scale_factor" of an animation set; 1.0 when absent.
    float getAnimScaleFactor(const std::string& setName);
    int getAnimSettingInt(const std::string& setName, const std::string& key);

    /// Definition of a solo mission (any chapter) or, failing that, of a multiplayer map; or null.
    kvdata::Dict* findMissionDefinition(kvengine::CCString* missionName);
    kvdata::Dict* findMissionDefinition(const std::string& missionName);
    /// Name (autoreleased) of the mission numbered one more in the same chapter; null after the last.
    kvengine::CCString* getNextMissionName(kvengine::CCString* missionName, kvengine::CCString* chapterKey);
    bool isLastMissionOfChapter(kvengine::CCString* missionName, kvengine::CCString* chapterKey);

    /// (Re)loads "helmets" and "kelvoStats"; the store catalogue calls it before merging.
    void loadKelvoStatsAndHelmets();
    /// Loads "kelvoStatsAI" and "levelUpSettings". Always loaded: enemies and level-up costs
    /// need them whatever the store setting says.
    void loadAiStatsAndLevelUpSettings();

    /// The tables themselves, read by screens and rules. Never null after construction.
    kvdata::Dict* getChapters() { return m_chapters; }
    /// chapter key -> (mission name -> definition with "item_number").
    kvdata::Dict* getMissionDefinitions() { return m_missionDefinitions; }
    kvdata::Dict* getMultiplayerMaps() { return m_multiplayerMaps; }
    kvdata::Dict* getKelvoStatsTable() { return m_kelvoStats; }
    kvdata::Dict* getKelvoAiStatsTable() { return m_kelvoAiStats; }
    kvdata::Dict* getHelmets() { return m_helmets; }
    kvdata::Dict* getConsumables() { return m_consumables; }
    kvdata::Dict* getAnimSettings() { return m_animSettings; }
    kvdata::Dict* getPowerups() { return m_powerups; }
    kvdata::Dict* getLevelUpSettings() { return m_levelUpSettings; }
    /// The 18 stat names in their fixed order ("HP", "SP", ... "Speed").
    kvengine::CCArray* getStatNames() { return m_statNames; }

private:
    void loadMissionDefinitions();
    void filterConsumables();
    static void replaceTable(kvdata::Dict*& field, const std::string& name);

    kvdata::Dict* m_chapters = nullptr;
    kvdata::Dict* m_missionDefinitions = nullptr;
    kvdata::Dict* m_multiplayerMaps = nullptr;
    kvdata::Dict* m_kelvoStats = nullptr;
    kvdata::Dict* m_kelvoAiStats = nullptr;
    kvdata::Dict* m_helmets = nullptr;
    kvdata::Dict* m_consumables = nullptr;
    kvdata::Dict* m_animSettings = nullptr;
    kvdata::Dict* m_powerups = nullptr;
    kvdata::Dict* m_levelUpSettings = nullptr;
    kvengine::CCArray* m_statNames = nullptr;
};

/// The 18 stat names, in the order of the game data and the helmet bonuses.
extern const char* const KV_STAT_NAMES[18];
