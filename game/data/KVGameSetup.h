#pragma once

#include <string>

#include "engine/base/CCMutableArray.h"
#include "engine/base/CCNotificationCenter.h"
#include "game/data/KVDataAccess.h"
#include "game/world/KVSingletonObject.h"

/// The game's settings and the context of the mission being launched or played.
///
/// Holds the configuration read once from the settings file "gameSetup" (each reader looks its own
/// key up: getConfigBool / getConfigInt / getConfigText, which report a missing key by name), the
/// interface language, the chapter, mission and squad of the current mission, and the current level
/// model. Owns the Escape key in the menus: Escape opens the quit confirmation.
class KVGameSetup : public KVSingletonObject<KVGameSetup> {
public:
    CC_DECLARE_CLASS_NAME(KVGameSetup, KVSingletonObject)

    KVGameSetup();
    void cleanupBeforeDelete() override;

    /// Observer of EVENT_KEY_PRESS: Escape outside a mission opens the quit confirmation.
    virtual void onKeyPress(kvengine::CCNotification* notification);
    /// Stores (retains) the objective text and posts EVENT_MISSION_OBJECTIVE; null clears it silently.
    virtual void setMissionObjective(kvengine::CCObject* text);
    virtual kvengine::CCObject* getMissionObjective();

    /// The settings file's root dictionary; empty (never null) when the file is missing.
    kvdata::Dict* getConfiguration() { return m_configuration; }
    /// A flag ("YES" or non-zero), integer (atoi) or text of the settings file. A missing key is
    /// logged by name and reads as false / 0 / "".
    bool getConfigBool(const std::string& key);
    int getConfigInt(const std::string& key);
    std::string getConfigText(const std::string& key);

    /// 0 English, 1 French, 2 Spanish, 3 German, 4 Italian. Loads the language's table and, when a
    /// profile is stored, records the choice in it and saves the user defaults.
    void setLanguage(int languageIndex);
    int getLanguageIndex() const { return m_languageIndex; }
    /// Maps a locale name ("de_DE.UTF-8", "fr", "pt-BR") to a language index; English otherwise.
    static int languageIndexForLocale(const std::string& locale);

    std::string getEnvironmentName();
    kvengine::CCString* getRuleSetName();
    kvengine::CCString* getLevelSvgName();
    kvengine::CCString* getLevelTmxPath();

    /// Fills the three team lists from the mission's "squad_list" or from the player's squad.
    void buildTeam();
    /// True when `name`, lower-cased and without "ai", is one of the team's creature names.
    bool isKelvoInTeam(kvengine::CCString* name);
    void showQuitConfirmation();

    kvengine::CCString* getChapterName() { return m_chapterName; }
    kvengine::CCString* getMissionName() { return m_missionName; }
    void setChapterName(kvengine::CCString* name);
    void setMissionName(kvengine::CCString* name);
    void setSpareName(kvengine::CCString* name);
    kvengine::CCMutableArray<kvengine::CCString*>* getTeamKelvoNames() { return m_teamKelvoNames; }
    kvengine::CCMutableArray<kvengine::CCString*>* getTeamHelmetNames() { return m_teamHelmetNames; }
    kvengine::CCMutableArray<kvengine::CCString*>* getTeamSpawnPoints() { return m_teamSpawnPoints; }

    /// The level model of the running mission (retained); null between missions.
    kvengine::CCObject* getCurrentGameModel() { return m_currentGameModel; }
    void setCurrentGameModel(kvengine::CCObject* model);

    int playerCount = 1;
    bool solo = true;
    bool escapeKeyBlocked = false;
    bool languageChoicePending = false;
    /// Texture pixel format code for the engine's default (1: RGBA8888).
    int texturePixelFormat = 1;

private:
    kvdata::Dict* m_configuration = nullptr;
    kvengine::CCObject* m_currentGameModel = nullptr;
    kvengine::CCString* m_chapterName = nullptr;
    kvengine::CCString* m_spareName = nullptr;
    kvengine::CCString* m_missionName = nullptr;
    kvengine::CCMutableArray<kvengine::CCString*>* m_teamKelvoNames = nullptr;
    kvengine::CCMutableArray<kvengine::CCString*>* m_teamHelmetNames = nullptr;
    kvengine::CCMutableArray<kvengine::CCString*>* m_teamSpawnPoints = nullptr;
    kvengine::CCObject* m_missionObjective = nullptr;
    int m_languageIndex = 0;
    bool m_firstLanguageLoad = false;
};
