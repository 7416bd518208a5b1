#include "game/data/KVGameSetup.h"

#include <cctype>
#include <vector>

#include "engine/base/CCLocalizationManager.h"
#include "engine/base/CCLog.h"
#include "engine/base/CCUserDefaults.h"
#include "engine/files/CCResourceIndex.h"
#include "engine/input/CCTouchDispatcher.h"
#include "engine/platform/CCUserLanguage.h"
#include "game/app/KVGlobalNames.h"
#include "game/data/KVGameParameters.h"
#include "game/data/KVPlayerParameters.h"
#include "game/data/KVQuitConfirmation.h"

using kvdata::Dict;
using kvengine::CCMutableArray;
using kvengine::CCString;

namespace {

struct Language {
    const char* folder;
    const char* code;
};
const Language kLanguages[] = {{"English", "EN"}, {"fr", "FR"}, {"es", "SP"}, {"de", "DE"}, {"it", "IT"}};

template <typename T> void hold(T*& field, T* value) {
    if (value != nullptr) value->retain();
    if (field != nullptr) field->release();
    field = value;
}

template <typename T> void drop(T*& field) {
    hold<T>(field, nullptr);
}

// The director's key notification; the centre keys registrations by text, so an equal string
// names the same notification.
CCString* keyPressName() {
    static CCString* const name = new CCString("EVENT_KEY_PRESS");
    return name;
}

} // namespace

int KVGameSetup::languageIndexForLocale(const std::string& locale) {
    std::string code;
    for (char c : locale.substr(0, 2))
        code += static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    if (code == "fr") return 1;
    if (code == "es") return 2;
    if (code == "de") return 3;
    if (code == "it") return 4;
    return 0;
}

KVGameSetup::KVGameSetup() {
    kvengine::CCNotificationCenter::getInstance()->addObserver(
        this, notification_selector(KVGameSetup::onKeyPress), keyPressName(), nullptr);
    setMissionObjective(kvdata::newString(""));

    m_firstLanguageLoad = true;
    int language = 0;
    Dict* profile = kvdata::asDict(kvengine::CCUserDefaults::getInstance()->objectForKey("playerProfile"));
    if (CCString* selected = kvdata::stringAt(profile, "SelectedLanguage")) {
        const std::string code = kvdata::textOf(selected);
        language = code == "IT" ? 4 : code == "FR" ? 1 : code == "DE" ? 3 : code == "SP" ? 2 : 0;
    } else {
        language = languageIndexForLocale(kvengine::userInterfaceLocale());
    }
    setLanguage(language);

    m_configuration = kvdata::loadDataTable("gameSetup");
    if (m_configuration == nullptr) m_configuration = kvdata::newDict();
    m_configuration->retain();

    hold(m_spareName, kvdata::newString(""));
    hold(m_missionName, kvdata::newString(""));
    hold(m_chapterName, kvdata::newString(""));
    m_teamKelvoNames = new CCMutableArray<CCString*>();
    m_teamHelmetNames = new CCMutableArray<CCString*>();
    m_teamSpawnPoints = new CCMutableArray<CCString*>();
    // Read for completeness; the game keeps 32-bit textures whatever it says.
    (void)getConfigInt("DefaultTexturePixelFormal16bit");
    texturePixelFormat = 1;
}

void KVGameSetup::cleanupBeforeDelete() {
    kvengine::CCNotificationCenter::getInstance()->removeObserver(this, nullptr);
    drop(m_currentGameModel);
    drop(m_spareName);
    drop(m_missionName);
    drop(m_chapterName);
    drop(m_teamKelvoNames);
    drop(m_teamHelmetNames);
    drop(m_teamSpawnPoints);
    drop(m_configuration);
    setMissionObjective(nullptr);
    KVSingletonObject::cleanupBeforeDelete();
}

bool KVGameSetup::getConfigBool(const std::string& key) {
    if (kvdata::stringAt(m_configuration, key) == nullptr) {
        kvengine::logDebugMessage("settings: \"gameSetup\" has no key \"%s\"", key.c_str());
        return false;
    }
    return kvdata::boolAt(m_configuration, key);
}

int KVGameSetup::getConfigInt(const std::string& key) {
    if (kvdata::stringAt(m_configuration, key) == nullptr) {
        kvengine::logDebugMessage("settings: \"gameSetup\" has no key \"%s\"", key.c_str());
        return 0;
    }
    return kvdata::intAt(m_configuration, key);
}

std::string KVGameSetup::getConfigText(const std::string& key) {
    if (kvdata::stringAt(m_configuration, key) == nullptr) {
        kvengine::logDebugMessage("settings: \"gameSetup\" has no key \"%s\"", key.c_str());
        return "";
    }
    return kvdata::textAt(m_configuration, key);
}

void KVGameSetup::setLanguage(int languageIndex) {
    m_languageIndex = languageIndex;
    const Language& language =
        (languageIndex >= 0 && languageIndex <= 4) ? kLanguages[languageIndex] : kLanguages[0];
    const std::string path = std::string(language.folder) + ".lproj/localizable.strings";
    if (m_firstLanguageLoad) {
        m_firstLanguageLoad = false;
    } else {
        kvengine::CCLocalizationManager::getInstance()->release();
    }
    kvengine::CCUserDefaults* defaults = kvengine::CCUserDefaults::getInstance();
    if (Dict* profile = kvdata::asDict(defaults->objectForKey("playerProfile"))) {
        kvdata::setText(profile, "SelectedLanguage", language.code);
        defaults->setObject(profile, "playerProfile");
        defaults->save();
    }
    if (!kvengine::CCLocalizationManager::getInstance()->loadStringsFile(path))
        kvengine::logDebugMessage("settings: the texts of language %d are not loaded", languageIndex);
}

void KVGameSetup::setMissionObjective(kvengine::CCObject* text) {
    if (text != nullptr) text->retain();
    if (m_missionObjective != nullptr) m_missionObjective->release();
    m_missionObjective = text;
    if (text != nullptr) {
        kvengine::CCNotificationCenter::getInstance()->postNotification(EVENT_MISSION_OBJECTIVE, nullptr,
                                                                        nullptr);
    }
}

kvengine::CCObject* KVGameSetup::getMissionObjective() {
    return m_missionObjective;
}

std::string KVGameSetup::getEnvironmentName() {
    return kvdata::textOf(m_missionName) + "_ENV";
}

CCString* KVGameSetup::getRuleSetName() {
    return kvdata::newString(kvdata::textOf(m_missionName) + "_RULE");
}

CCString* KVGameSetup::getLevelSvgName() {
    return kvdata::newString(kvdata::textOf(m_missionName) + ".svg");
}

CCString* KVGameSetup::getLevelTmxPath() {
    return kvengine::CCResourceIndex::getInstance()->fullPathForNameAndExtension(
        kvdata::textOf(m_missionName), "tmx");
}

void KVGameSetup::setChapterName(CCString* name) {
    hold(m_chapterName, name);
}

void KVGameSetup::setMissionName(CCString* name) {
    hold(m_missionName, name);
}

void KVGameSetup::setSpareName(CCString* name) {
    hold(m_spareName, name);
}

void KVGameSetup::setCurrentGameModel(kvengine::CCObject* model) {
    hold(m_currentGameModel, model);
}

void KVGameSetup::buildTeam() {
    Dict* mission = KVGameParameters::getInstance()->findMissionDefinition(m_missionName);
    kvdata::Array* squadList = kvdata::arrayAt(mission, "squad_list");
    m_teamKelvoNames->removeAllObjects();
    m_teamHelmetNames->removeAllObjects();
    m_teamSpawnPoints->removeAllObjects();
    KVPlayerParameters* profile = KVPlayerParameters::getInstance();

    if (squadList != nullptr && squadList->count() > 0) {
        for (unsigned i = 0; i < squadList->count(); ++i) {
            Dict* entry = kvdata::asDict(squadList->objectAtIndex(i));
            CCString* name = kvdata::stringAt(entry, "kelvo_name");
            if (name == nullptr) {
                kvengine::logDebugMessage("settings: squad entry %u of \"%s\" has no \"kelvo_name\"", i + 1,
                                          kvdata::textOf(m_missionName).c_str());
                continue;
            }
            CCString* helmet = kvdata::stringAt(profile->getKelvoRecord(kvdata::textOf(name)), "helmet_name");
            std::string spawn = kvdata::textAt(entry, "spawn_point");
            if (spawn.empty()) spawn = "SpawnPoint" + std::to_string(i + 1);
            m_teamKelvoNames->addObject(name);
            m_teamHelmetNames->addObject(helmet != nullptr ? helmet : kvdata::newString(""));
            m_teamSpawnPoints->addObject(kvdata::newString(spawn));
        }
        return;
    }

    Dict* squad = profile->getSelectedKelvos();
    const std::vector<std::string> names = kvdata::keysOf(squad);
    // Positions in descending order; equal positions keep the order met.
    std::vector<int> positions;
    for (const std::string& name : names) {
        const int position = profile->getKelvoTurnSpeed(name);
        auto at = positions.begin();
        while (at != positions.end() && *at >= position)
            ++at;
        positions.insert(at, position);
    }
    for (int position : positions) {
        for (const std::string& name : names) {
            if (profile->getKelvoTurnSpeed(name) != position) continue;
            m_teamKelvoNames->addObject(kvdata::newString(name));
            CCString* helmet = kvdata::stringAt(kvdata::dictAt(squad, name), "helmet_name");
            m_teamHelmetNames->addObject(helmet != nullptr ? helmet : kvdata::newString(""));
            if (position <= 4)
                m_teamSpawnPoints->addObject(kvdata::newString("SpawnPoint" + std::to_string(position)));
            break;
        }
    }
}

bool KVGameSetup::isKelvoInTeam(CCString* name) {
    if (name == nullptr) return false;
    std::string text = kvdata::textOf(name);
    for (char& c : text)
        c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    for (std::size_t at = text.find("ai"); at != std::string::npos; at = text.find("ai", at))
        text.erase(at, 2);
    for (unsigned i = 0; i < m_teamKelvoNames->count(); ++i) {
        if (kvdata::textOf(m_teamKelvoNames->objectAtIndex(i)) == text) return true;
    }
    return false;
}

void KVGameSetup::showQuitConfirmation() {
    KVQuitConfirmation* menu = KVQuitConfirmation::shared();
    if (menu == nullptr || menu->isQuitConfirmationOpen()) return;
    kvengine::CCTouchDispatcher::getInstance()->setRecognizersSuspended(true);
    menu->openQuitConfirmation();
}

void KVGameSetup::onKeyPress(kvengine::CCNotification* notification) {
    if (escapeKeyBlocked || notification == nullptr) return;
    if (kvdata::textOf(notification->getObject()) == "TOUCH_ESCAPE") showQuitConfirmation();
}
