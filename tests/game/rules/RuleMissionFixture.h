#pragma once
// A small mission built headless by the real game model, with a rule file of the test's own: two
// human-driven kelvos, two crabs, a reach point "Gate" and a spawner "Nest". Steps are scripted one
// character each (see play), and the notifications the rules cause are traced with their frame.
#include "game/pawns/PawnTestSupport.h"

#include <filesystem>
#include <string>
#include <vector>

#include "game/data/KVDialogueService.h"
#include "game/model/KVGameModel.h"

namespace ruletest {

/// One condition or effect: its type name and parameter texts.
struct Entry {
    std::string type;
    std::vector<std::string> parameters;
};
/// One rule of a rule file.
struct Rule {
    std::vector<Entry> conditions;
    std::vector<Entry> effects;
};

/// The text of a rule file; `conditionKey` / `effectKey` replace the type keys (misspelt files).
std::string ruleFile(const std::vector<Rule>& rules, const std::string& conditionKey = "ConditionType",
                     const std::string& effectKey = "EffectType");

/// Stands in for the dialogue manager: records "end", "load <name>" and "start".
class RecordingDialogues : public KVDialogueService {
public:
    bool isChatterRunning() const override { return running; }
    void showDimmer() override {}
    void hideDimmer() override {}
    void setHostSceneToRunningScene() override {}
    void loadChatter(const std::string& chatterName) override { calls.push_back("load " + chatterName); }
    void startChatter() override {
        calls.push_back("start");
        running = true;
    }
    void endChatter() override {
        calls.push_back("end");
        running = false;
    }
    void setShopFlag(bool) override {}
    void unloadPortraitSheets() override {}

    bool running = false;
    std::vector<std::string> calls;
};

class RuleMissionTest : public ::testing::Test {
protected:
    static constexpr const char* kChapter = "CRules";
    /// Missions of kChapter: item 0 and item 1 (the last).
    static constexpr const char* kFirstMission = "RFirst";
    static constexpr const char* kLastMission = "RLast";

    void SetUp() override;
    void TearDown() override;

    /// Builds the mission `mission` (a mission of kChapter, or any other name: the level is the
    /// same) with `rules` as its rule file; false when the level could not be built.
    bool start(const std::string& mission, const std::string& rules);

    /// Plays `script`, one character per step, and answers the traced notifications as
    /// "frame:NAME" lines joined by spaces. Steps:
    ///   U one frame of the model (frame time kFrameTime)      T a player turn starts
    ///   k / e  the next human kelvo / enemy leaves the board   a an AI-driven ally leaves
    ///   R / r / X  "Gate" set off by a kelvo / the ally / an enemy
    ///   O the out-of-screen bubble shows      P a pawn is selected      D a dash
    ///   S / s  the dialogue "Rule_CHATin" / "Rule_CHATzz" ends     M a move ends
    ///   p  the first kelvo receives a sushi
    std::string play(const std::string& script);

    static constexpr float kFrameTime = 0.25f;

    KVGameModel* model = nullptr;
    pawntest::Trace* trace = nullptr;
    std::vector<KVPawn*> kelvos;
    std::vector<KVPawn*> enemies;
    KVPawn* ally = nullptr;
    int frame = 0;
    static RecordingDialogues* dialogues;
    std::string profileFolder;

private:
    std::string m_folder;
    int m_files = 0;
    size_t m_nextKelvo = 0;
};

} // namespace ruletest
