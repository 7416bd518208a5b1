// Every rule file of the built content, loaded through the game's own rule manager with nothing
// refused, and every name it gives found: the dialogues it starts, the objective texts in all five
// tables, the pawns it spawns, the triggers and spawners of its mission's map, the music it plays.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "ContentTestSupport.h"
#include "engine/base/CCLocalizationManager.h"
#include "engine/base/CCLog.h"
#include "engine/files/CCPlistReader.h"
#include "game/data/KVGameParameters.h"
#include "game/data/KVGameSetup.h"
#include "game/data/KVPlayerParameters.h"
#include "game/rules/KVRuleManager.h"
#include "support/MissionTestSupport.h"
#include "support/TestFiles.h"

using namespace kvcontenttest;

namespace {

std::vector<std::string> ruleFiles() {
    std::vector<std::string> names;
    std::error_code error;
    const std::filesystem::path folder = std::filesystem::path(KELVOS_RESOURCES_DIR) / "data" / "rules";
    for (const auto& entry : std::filesystem::directory_iterator(folder, error)) {
        const std::string name = entry.path().stem().string();
        if (name.size() > 5 && name.compare(name.size() - 5, 5, "_RULE") == 0) names.push_back(name);
    }
    std::sort(names.begin(), names.end());
    return names;
}

// The object names ("Name" properties) of a mission's map, as plain text of the file.
std::string mapText(const std::string& mission) {
    std::ifstream in(resourcePath(mission + ".tmx"));
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

bool mapNames(const std::string& map, const char* object, const std::string& name) {
    const std::string property = "<property name=\"Name\" value=\"" + name + "\"/>";
    for (size_t at = map.find(std::string("name=\"") + object + "\""); at != std::string::npos;
         at = map.find(std::string("name=\"") + object + "\"", at + 1)) {
        const size_t end = map.find("</object>", at);
        if (map.find(property, at) < end) return true;
    }
    return false;
}

class ContentRules : public ::testing::Test {
protected:
    void SetUp() override {
        m_home = kvtest::makeTempFolder("contentrules");
        setenv("XDG_DATA_HOME", m_home.c_str(), 1);
        kvtest::releaseGameData();
    }
    void TearDown() override {
        if (auto* rules = KVRuleManager::existingInstance()) rules->release();
        kvtest::releaseGameData();
        unsetenv("XDG_DATA_HOME");
        std::error_code ignored;
        std::filesystem::remove_all(m_home, ignored);
    }

private:
    std::string m_home;
};

TEST_F(ContentRules, EveryRuleFileLoadsWholeAndFindsWhatItNames) {
    PoolScope pool;
    const std::vector<std::string> files = ruleFiles();
    for (const char* needed : {"M01a_RULE", "M01b_RULE"})
        EXPECT_NE(std::find(files.begin(), files.end(), needed), files.end()) << needed;
    std::vector<kvengine::CCLocalizationManager*> tables;
    for (const char* folder : {"English", "fr", "es", "de", "it"}) {
        tables.push_back(new kvengine::CCLocalizationManager());
        EXPECT_TRUE(tables.back()->loadStringsFile(std::string(folder) + ".lproj/localizable.strings"))
            << folder;
    }
    KVGameParameters* parameters = KVGameParameters::getInstance();
    Dict* music = dictAt(loadPlist("kelvos_music.fev"), "events");

    for (const std::string& file : files) {
        SCOPED_TRACE(file);
        const std::string mission = file.substr(0, file.size() - 5);
        EXPECT_NE(parameters->findMissionDefinition(mission), nullptr);
        const std::string map = mapText(mission);
        EXPECT_FALSE(map.empty());

        // Through the rule manager, as the level builder loads it: every rule, nothing logged.
        std::vector<std::string> lines;
        kvengine::setDebugLogSink([&lines](const std::string& line) { lines.push_back(line); });
        KVGameSetup::getInstance()->setMissionName(kvdata::newString(mission));
        KVRuleManager::getInstance()->loadRules();
        kvengine::setDebugLogSink(nullptr);
        for (const std::string& line : lines)
            ADD_FAILURE() << "logged: " << line;
        Array* rules = kvengine::arrayWithContentsOfFile(resourcePath(file + ".plist").c_str());
        ASSERT_NE(rules, nullptr);
        EXPECT_GT(rules->count(), 0u);
        EXPECT_EQ(KVRuleManager::getInstance()->getRules()->count(), rules->count());

        for (unsigned r = 0; r < rules->count(); ++r) {
            auto* rule = static_cast<Dict*>(rules->objectAtIndex(r));
            for (const char* list : {"ConditionList", "EffectList"}) {
                Array* entries = arrayAt(rule, list);
                for (unsigned e = 0; entries != nullptr && e < entries->count(); ++e) {
                    auto* entry = static_cast<Dict*>(entries->objectAtIndex(e));
                    const bool effect = std::string(list) == "EffectList";
                    const std::string type = textAt(entry, effect ? "EffectType" : "ConditionType");
                    const std::vector<std::string> p =
                        textsOf(arrayAt(entry, effect ? "EffectParameter" : "ConditionParameter"));
                    SCOPED_TRACE("rule " + std::to_string(r) + " " + type);
                    if (type == "start_chatter" || type == "end_of_speech") {
                        // "M01a_chatin" is the entry "M01a_chatin" of "M01a_CHAT.plist": the file
                        // part is the name without its last seven characters ("_chatin").
                        ASSERT_GT(p.at(0).size(), 7u) << p.at(0);
                        const std::string chatFile = p.at(0).substr(0, p.at(0).size() - 7) + "_CHAT.plist";
                        EXPECT_NE(dictAt(loadPlist(chatFile), p.at(0)), nullptr) << chatFile;
                    } else if (type == "mission_objective") {
                        for (kvengine::CCLocalizationManager* table : tables)
                            EXPECT_NE(table->stringForKey(p.at(0)), nullptr) << p.at(0);
                    } else if (type == "spawn_pawn") {
                        EXPECT_TRUE(mapNames(map, "PSpawner", p.at(0))) << p.at(0);
                        Dict* stats = kvdata::newString(p.at(1))->toBool()
                                          ? parameters->getKelvoAiStats(p.at(2))
                                          : parameters->getKelvoStats(p.at(2));
                        EXPECT_NE(stats, nullptr) << p.at(2);
                    } else if (type == "trigger" || type == "trigger_enable") {
                        EXPECT_TRUE(mapNames(map, "Trigger", p.at(type == "trigger" ? 1 : 0)));
                    } else if (type == "play_music") {
                        EXPECT_NE(dictAt(music, "kelvos_music/music/" + p.at(0)), nullptr) << p.at(0);
                    }
                }
            }
        }
    }
    for (kvengine::CCLocalizationManager* table : tables)
        table->release();
}

} // namespace
