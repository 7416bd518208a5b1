#pragma once
// The score tests' world: a pawn world, a mission definition and a profile record of their own.
#include "game/pawns/PawnTestSupport.h"

#include <cstdlib>
#include <filesystem>
#include <string>

#include "game/data/KVGameParameters.h"
#include "game/data/KVGameSetup.h"
#include "game/data/KVPlayerParameters.h"
#include "support/MissionTestSupport.h"
#include "support/TestFiles.h"

namespace scoretest {

constexpr const char* kChapter = "CScore";
constexpr const char* kMission = "MScore";

/// A condition dictionary {"condition": name, key: value} (no key when `key` is null).
inline kvdata::Dict* condition(const char* name, const char* key = nullptr, const char* value = nullptr) {
    kvdata::Dict* dict = kvdata::newDict();
    if (name != nullptr) kvdata::setText(dict, "condition", name);
    if (key != nullptr) kvdata::setText(dict, key, value);
    return dict;
}

/// A pawn world with the game data and a profile read from nowhere (the profile in a folder of its
/// own), and the mission kMission of chapter kChapter as the game setup's current mission.
class ScoreWorldTest : public pawntest::PawnWorldTest {
protected:
    void SetUp() override {
        m_home = kvtest::makeTempFolder("score");
        const char* before = std::getenv("XDG_DATA_HOME");
        m_oldHome = before != nullptr ? before : "";
        m_hadHome = before != nullptr;
        setenv("XDG_DATA_HOME", m_home.c_str(), 1);
        kvtest::releaseGameData();
        PawnWorldTest::SetUp();
        KVGameSetup* setup = KVGameSetup::getInstance();
        setup->solo = true;
        setName(setup, kChapter, true);
        setName(setup, kMission, false);
        // The mission's record, as a new profile has it: every star still locked.
        kvdata::Dict* missions =
            kvdata::dictAt(KVPlayerParameters::getInstance()->getProfile(), "MissionSolo");
        ASSERT_NE(missions, nullptr);
        kvdata::Dict* chapter = kvdata::newDict();
        record = kvdata::newDict();
        for (const char* key : {"hidden_locked", "speed_locked", "surviva_locked"})
            kvdata::setText(record, key, "1");
        chapter->setObject(record, kMission);
        missions->setObject(chapter, kChapter);
    }

    void TearDown() override {
        PawnWorldTest::TearDown();
        kvtest::releaseGameData();
        if (m_hadHome)
            setenv("XDG_DATA_HOME", m_oldHome.c_str(), 1);
        else
            unsetenv("XDG_DATA_HOME");
        std::error_code ignored;
        std::filesystem::remove_all(m_home, ignored);
    }

    /// Makes kMission's definition (replacing any earlier one): the two conditions (null: absent)
    /// and the speed-star turn count (null: absent).
    void defineMission(kvdata::Dict* victory, kvdata::Dict* fail, const char* speedStar = nullptr) {
        kvdata::Dict* definition = kvdata::newDict();
        if (victory != nullptr) definition->setObject(victory, "victory_condition");
        if (fail != nullptr) definition->setObject(fail, "fail_condition");
        if (speedStar != nullptr) kvdata::setText(definition, "speedStar_number", speedStar);
        kvdata::Dict* chapter = kvdata::newDict();
        chapter->setObject(definition, kMission);
        KVGameParameters::getInstance()->getMissionDefinitions()->setObject(chapter, kChapter);
    }

    static void setName(KVGameSetup* setup, const char* name, bool chapter) {
        auto* text = new kvengine::CCString(name);
        if (chapter)
            setup->setChapterName(text);
        else
            setup->setMissionName(text);
        text->release();
    }

    kvdata::Dict* record = nullptr;

private:
    std::string m_home;
    std::string m_oldHome;
    bool m_hadHome = false;
};

} // namespace scoretest
