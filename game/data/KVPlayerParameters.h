#pragma once

#include <string>
#include <vector>

#include "engine/base/CCNotificationCenter.h"
#include "game/data/KVDataAccess.h"
#include "game/world/KVSingletonObject.h"

/// The third creature of the default squad (after "steev" and "vahine"). Its variants with the
/// digits 0 and 2 appended wear the straw hat when that helmet is withdrawn.
extern const char* const KV_THIRD_DEFAULT_KELVO;
/// Profile schema version written by this program; older stored profiles are rebuilt.
constexpr int KV_PROFILE_VERSION = 19;

/// The player's saved progress: one nested dictionary of strings kept in the user defaults under
/// "playerProfile" and written to disk with them.
///
/// Keys of the root: "Version", "pearl_amount", "ChapiterSolo" (chapter records), "MissionSolo"
/// (chapter -> mission records), "Kelvo" (creature records), "Helmet", "Variable" (consumables),
/// "Treasure", "Powerup", "UnseenItems", "HelpCase", and the optional "SelectedLanguage",
/// "last_played_mission", "last_visited_kelvo", "Music_Volume", "SFX_Volume",
/// "achievementsManager" and "forcedSteps". Every leaf is a string ("%d", "%f", "YES").
/// Lock statuses: see KVLockStatus.
///
/// Operations change the dictionary in memory only, unless they say they save; callers save with
/// saveProfile() after a group of changes. Dictionaries returned belong to the profile.
/// The lock status of a mission, creature or helmet record ("status_locked"); the numbers are
/// what the profile and the game data store. Unscoped, so a status stays usable as an int.
enum KVLockStatus : int {
    kLockStatusUnlocked = 0,
    kLockStatusLocked = 1,
    kLockStatusInShop = 2,    ///< offered in the shop
    kLockStatusWithdrawn = 3, ///< no longer in the game data
};

class KVPlayerParameters : public KVSingletonObject<KVPlayerParameters> {
public:
    CC_DECLARE_CLASS_NAME(KVPlayerParameters, KVSingletonObject)

    KVPlayerParameters();
    void cleanupBeforeDelete() override;

    // ---- storage, schema and defaults ----
    /// Stores the profile under "playerProfile" in the user defaults and writes them to disk.
    bool saveProfile();
    kvdata::Dict* getProfile() { return m_profile; }
    void buildDefaultProfile(kvdata::Dict* profile);
    /// Adds records for unlocked chapters and for missions the game data has and the profile lacks.
    void addNewChaptersAndMissions();
    kvengine::CCObject* getProfileValue(const std::string& key);
    std::string getLastPlayedMission();
    void setLastPlayedMission(kvengine::CCString* name);
    std::string getLastVisitedKelvo();
    bool setLastVisitedKelvo(kvengine::CCString* name);
    /// Volumes 0..1; an absent value is stored (1.0 music, 0.75 effects) and returned.
    float getMusicVolume();
    float getSfxVolume();
    void setMusicVolume(float volume);
    void setSfxVolume(float volume);
    /// Records the chosen achievement service; saves.
    bool setFavoriteAchievementsManager(int choice);

    void buildDefaultChapters(kvdata::Dict* target);
    void buildDefaultMissions(kvdata::Dict* chapters, kvdata::Dict* target);
    void buildDefaultHelmets(kvdata::Dict* target);
    void buildDefaultKelvos(kvdata::Dict* target);
    void buildDefaultConsumables(kvdata::Dict* target);
    void initChapterRecord(kvdata::Dict* record, kvdata::Dict* definition, kvdata::Array* missionList);
    void initMissionRecord(kvdata::Dict* record, kvdata::Dict* definition);
    void initHelmetRecord(kvdata::Dict* definition, kvdata::Dict* record);
    void initKelvoRecord(const std::string& name, kvdata::Dict* definition, kvdata::Dict* record);
    void initKelvoHelmetName(const std::string& name, kvdata::Dict* record, kvdata::Dict* definition);

    // ---- missions, chapters and stars ----
    kvdata::Dict* getMissionRecord(const std::string& mission, const std::string& chapter);
    kvdata::Dict* getChapterMissionRecords(const std::string& chapter);
    kvdata::Dict* getChapterRecord(const std::string& chapter);
    kvdata::Array* getChapterMissionList(const std::string& chapter);
    /// 1 (locked) when the record is absent.
    int getMissionLockStatus(const std::string& mission, const std::string& chapter);
    /// Star locks: 1 not earned, 0 earned, -1 when the record is absent.
    int getMissionSpeedLock(const std::string& mission, const std::string& chapter);
    int getMissionSurvivalLock(const std::string& mission, const std::string& chapter);
    int getMissionHiddenLock(const std::string& mission, const std::string& chapter);
    /// "earned/possible" stars of a chapter, autoreleased ("0/0" for an unknown chapter).
    kvengine::CCString* getChapterStarsText(kvengine::CCString* chapter);
    void setMissionLockStatus(const std::string& mission, const std::string& chapter, int status);
    /// Posts EVENT_MISSION_SET_STATUS_PLAYED the first time.
    void setMissionPlayed(const std::string& mission, const std::string& chapter);
    void setMissionCompleted(const std::string& mission, const std::string& chapter);
    /// Store the star lock; the matching "..._UNLOCKED" notification is posted (chapter name as
    /// object) only when the star is earned (locked == 0).
    void setMissionSpeedLock(const std::string& mission, const std::string& chapter, int locked);
    void setMissionSurvivalLock(const std::string& mission, const std::string& chapter, int locked);
    void setMissionHiddenLock(const std::string& mission, const std::string& chapter, int locked);
    /// Keeps the best margin "speedStar_number" - turnsUsed in "turn_score".
    void updateTurnScore(const std::string& mission, const std::string& chapter, int turnsUsed);
    void setChapterPlayed(const std::string& chapter);
    void setChapterCompleted(const std::string& chapter);

    // ---- creatures, squad and level-ups ----
    kvdata::Dict* getKelvoRecord(const std::string& name);
    kvdata::Dict* getHelmetRecord(const std::string& name);
    int getKelvoLevel(const std::string& name);
    int getKelvoSelectedStatus(const std::string& name);
    /// Squad position 1..4, 5 when not placed, -1 without a record.
    int getKelvoTurnSpeed(const std::string& name);
    /// New autoreleased dictionary name -> record of the squad members, in name order.
    kvdata::Dict* getSelectedKelvos();
    bool isHelmetTransferred(const std::string& helmet, const std::string& kelvo);
    /// The creature's "transferedHelmet" list, created empty when missing; null without a record.
    kvdata::Array* getTransferredHelmets(const std::string& kelvo);
    int getNextLevelUpCost(const std::string& kelvo);
    /// What levelling the creature from 1 to its level has cost.
    int getTotalLevelUpCost(const std::string& kelvo);
    void setKelvoLevel(const std::string& name, int level);
    void setKelvoSelectedStatus(const std::string& name, int selected);
    void setKelvoTurnSpeed(const std::string& name, int position);
    void setKelvoHelmet(const std::string& kelvo, const std::string& helmet);
    /// Adds the helmet to the creature's transferred helmets once (a helmet is never listed twice).
    void addTransferredHelmet(const std::string& helmet, const std::string& kelvo);

    // ---- unlocking, unseen items and catalogue merge ----
    int getKelvoLockStatus(const std::string& name);
    int getHelmetLockStatus(const std::string& name);
    void setKelvoLockStatus(const std::string& name, int status);
    void setHelmetLockStatus(const std::string& name, int status);
    /// Files the item under its class in "UnseenItems"[category]; an item is listed once.
    void addUnseenItem(const std::string& item, const std::string& category);
    /// Removes the item from the category's lists; saves and returns true when it was there.
    bool markItemSeen(const std::string& item, const std::string& category);
    bool isItemUnseen(const std::string& item);
    bool hasUnseenKelvos();
    bool hasUnseenKelvosOfClass(const std::string& className);
    bool hasUnseenHelmets();
    bool hasUnseenHelmetsOfClass(const std::string& className);
    /// Adds records for creatures and helmets new in the game data (with the game data's lock status),
    /// and withdraws records the game data no longer has. Existing records keep their status.
    void mergeCatalogueItems();

    // ---- pearls, consumables, power-ups, treasures and help cases ----
    int getPearlAmount();
    void addPearls(int amount);
    /// Never goes below 0.
    void removePearls(int amount);
    kvdata::Dict* getConsumableRecord(const std::string& name);
    int getConsumableAmount(const std::string& name);
    /// Takes one unit and saves; false (nothing changed) when there is none.
    bool useConsumable(const std::string& name);
    void addConsumable(const std::string& name, int count);
    bool isPowerupSeen(const std::string& name);
    void markPowerupSeen(const std::string& name);
    bool isTreasureFound(const std::string& name);
    void markTreasureFound(const std::string& name);
    int getHelpCaseValue(const std::string& key);
    void setHelpCaseValue(const std::string& key, int value);

    // ---- tutorial steps ----
    /// Starts a copy of the sequence "step01", "step02", ... unless one is running; saves in every case.
    bool startForcedSteps(kvdata::Dict* steps);
    /// Validates the fulfilled leading steps (running their effects). Returns true when the
    /// player stands on the screen where the pending step is to be done, or a dialogue started.
    bool processForcedSteps(const std::string& currentScreen, bool allowChatter);
    bool resumeForcedSteps(const std::string& currentScreen);
    bool areStepConditionsMet(kvdata::Dict* conditions, const std::string& currentScreen);
    void dropFirstForcedStep();
    /// Where the first step must be done: screen ("shop", "team" or the condition's screen) and item.
    /// Outputs are not retained; they keep their values when no entry applies.
    bool getForcedStepTarget(kvengine::CCString** screenOut, kvengine::CCString** itemOut);
    std::string getForcedStepConditionType();
    std::vector<std::string> getForcedStepConditionKeys();
    /// Observer of EVENT_END_SPEECH while a step's dialogue runs.
    virtual void onEndSpeech(kvengine::CCNotification* notification);

private:
    void fillMissingParts();
    void chooseDefaultSquad();
    void backupStoredProfile(int storedVersion);
    /// Keeps a settings file aside as ".bad" when it holds no usable profile (entryPresent: there
    /// is an entry, of the wrong kind), so that the fresh profile does not erase the old progress.
    void keepUnusableSettingsFile(bool entryPresent);
    void takeSubDictionaries();
    void unlockWornHelmets(kvdata::Dict* profile);
    void setMissionStar(const std::string& mission, const std::string& chapter, const char* key, int locked,
                        kvengine::CCString* notification);
    void setMissionValue(const std::string& mission, const std::string& chapter, const char* key, int value);
    std::string classOfItem(const std::string& item, const std::string& category);
    kvdata::Dict* firstForcedStep();
    void observeEndSpeech();
    bool startStepChatter(const std::string& chatter, const std::string& currentScreen);

    kvdata::Dict* m_profile = nullptr;
    kvdata::Dict* m_chapters = nullptr;
    kvdata::Dict* m_missions = nullptr;
    kvdata::Dict* m_creatures = nullptr;
    kvdata::Dict* m_helmets = nullptr;
    kvdata::Dict* m_consumables = nullptr;
    kvdata::Dict* m_treasures = nullptr;
    kvdata::Dict* m_powerups = nullptr;
    kvdata::Dict* m_unseenItems = nullptr;
    kvdata::Dict* m_helpCases = nullptr;
    bool m_observingEndSpeech = false;
};
