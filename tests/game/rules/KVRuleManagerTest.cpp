// Mission rules played in a small mission built headless: one rule file per condition and effect
// kind, the order in which rules fire and effects apply, the initial disabling of rules that others
// enable, and the files that are refused whole.
#include "RuleMissionFixture.h"

#include "game/data/KVGameSetup.h"
#include "game/data/KVPlayerParameters.h"
#include "game/rules/KVRule.h"
#include "game/rules/KVRuleEffects.h"
#include "game/rules/KVRuleManager.h"
#include "game/score/KVScoreManager.h"

using pawntest::LogCapture;
using ruletest::Entry;
using ruletest::Rule;
using ruletest::ruleFile;

namespace {

using KVRuleTableTest = ruletest::RuleMissionTest;

const Entry kObjective{"mission_objective", {"Rule_objective"}};

struct Case {
    const char* what;
    std::vector<Rule> rules;
    const char* script;
    const char* expected;
};

TEST_F(KVRuleTableTest, EachConditionAndEffectKindPlaysAsScripted) {
    const Case cases[] = {
        {"an empty condition list fires in the first frame, once",
         {{{}, {kObjective}}},
         "UUU",
         "1:EVENT_MISSION_OBJECTIVE"},
        {"mission_started 2.5 counts the frame times from the first frame, also while its rule waits",
         {{{{"mission_started", {"0.5"}}}, {{"rule_enable", {"1", "YES"}}}},
          {{{"mission_started", {"2.5"}}}, {kObjective}}},
         "UUUUUUUUUUUU",
         "10:EVENT_MISSION_OBJECTIVE"},
        {"mission_started 0 holds at once",
         {{{{"mission_started", {"0"}}}, {kObjective}}},
         "U",
         "1:EVENT_MISSION_OBJECTIVE"},
        {"a rule enabled by another is tested from the next frame",
         {{{{"mission_started", {"0.5"}}}, {{"rule_enable", {"1", "YES"}}}}, {{}, {kObjective}}},
         "UUUU",
         "3:EVENT_MISSION_OBJECTIVE"},
        {"rule_enable NO disables a rule at once",
         {{{{"dash", {}}}, {{"rule_enable", {"1", "NO"}}}}, {{{"mission_started", {"0.5"}}}, {kObjective}}},
         "DUUU",
         ""},
        {"two rules of one frame fire in rule order",
         {{{}, {{"trigger_enable", {"Gate", "1"}}}}, {{}, {{"spawn_pawn", {"Nest", "YES", "rulecrab"}}}}},
         "U",
         "1:EVENT_TRIGGER_ENABLE 1:EVENT_SPAWN_PAWN"},
        {"effects of a rule run at the end of the update, after every rule was tested",
         {{{}, {{"rule_enable", {"1", "NO"}}}}, {{}, {kObjective}}},
         "UU",
         "1:EVENT_MISSION_OBJECTIVE"},
        {"trigger_enable: a yes in lower case disables",
         {{{}, {{"trigger_enable", {"Gate", "yes"}}}}},
         "U",
         "1:EVENT_TRIGGER_DISABLE"},
        {"dead_pawn kelvo all: AI-driven allies are not counted",
         {{{{"dead_pawn", {"kelvo", "all"}}}, {kObjective}}},
         "akUkU",
         "2:EVENT_MISSION_OBJECTIVE"},
        {"dead_pawn kelvo any",
         {{{{"dead_pawn", {"kelvo", "any"}}}, {kObjective}}},
         "aUkU",
         "2:EVENT_MISSION_OBJECTIVE"},
        {"dead_pawn of the enemies, all: a spawned enemy raises the target",
         {{{{"trigger", {"kelvo", "Gate"}}}, {{"spawn_pawn", {"Nest", "YES", "rulecrab"}}}},
          {{{"dead_pawn", {"crab", "all"}}}, {kObjective}}},
         "RUeeUeU",
         "1:EVENT_SPAWN_PAWN 3:EVENT_MISSION_OBJECTIVE"},
        {"dead_pawn of the enemies, any",
         {{{{"dead_pawn", {"crab", "any"}}}, {kObjective}}},
         "kUeU",
         "2:EVENT_MISSION_OBJECTIVE"},
        {"trigger kelvo: an AI-driven ally does not count",
         {{{{"trigger", {"kelvo", "Gate"}}}, {kObjective}}},
         "rUXURU",
         "3:EVENT_MISSION_OBJECTIVE"},
        {"trigger of an enemy",
         {{{{"trigger", {"crab", "Gate"}}}, {kObjective}}},
         "RUrUXU",
         "3:EVENT_MISSION_OBJECTIVE"},
        {"trigger any", {{{{"trigger", {"any", "Gate"}}}, {kObjective}}}, "rU", "1:EVENT_MISSION_OBJECTIVE"},
        {"out_of_focus stops holding when a pawn is selected",
         {{{{"out_of_focus", {}}, {"mission_started", {"0.5"}}}, {kObjective}}},
         "OPUUUOU",
         "4:EVENT_MISSION_OBJECTIVE"},
        {"dash", {{{{"dash", {}}}, {kObjective}}}, "UDU", "2:EVENT_MISSION_OBJECTIVE"},
        {"end_of_speech waits for its own dialogue",
         {{{{"end_of_speech", {"Rule_CHATin"}}}, {kObjective}}},
         "sUSU",
         "2:EVENT_MISSION_OBJECTIVE"},
        {"new_powerup sushi in a fresh profile",
         {{{{"new_powerup", {"sushi"}}}, {kObjective}}},
         "UpU",
         "2:EVENT_MISSION_OBJECTIVE"},
        {"turn_count 1 holds from the first player turn",
         {{{{"turn_count", {"1"}}}, {kObjective}}},
         "UTU",
         "2:EVENT_MISSION_OBJECTIVE"},
        {"turn_count 3", {{{{"turn_count", {"3"}}}, {kObjective}}}, "TUTUTU", "3:EVENT_MISSION_OBJECTIVE"},
        {"play_music and stop_music apply in their turn",
         {{{}, {{"play_music", {"rule_theme"}}, {"stop_music", {}}, kObjective}}},
         "U",
         "1:EVENT_MISSION_OBJECTIVE"},
        {"mission_failed declares the defeat",
         {{{{"dash", {}}}, {{"mission_failed", {}}}}},
         "UDU",
         "2:EVENT_LOOSE_DANCE"},
        {"victory_enable NO holds a won mission until YES",
         {{{}, {{"victory_enable", {"NO"}}}},
          {{{"trigger", {"kelvo", "Gate"}}}, {{"victory_enable", {"YES"}}}}},
         "UeeMUUUMURUMU",
         "7:EVENT_VICTORY_DANCE"},
        {"without victory_enable the same mission is won at its next frame",
         {},
         "UeeMU",
         "2:EVENT_VICTORY_DANCE"},
    };
    int index = 0;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        const std::string mission = "RuleCase" + std::to_string(index++);
        ASSERT_TRUE(start(mission, ruleFile(c.rules)));
        ASSERT_EQ(KVRuleManager::getInstance()->getFileRuleCount(), c.rules.size());
        EXPECT_EQ(play(c.script), c.expected);
        EXPECT_EQ(KVRuleManager::getInstance()->getPendingEffects()->count(), 0u);
        TearDown();
        SetUp();
    }
}

TEST_F(KVRuleTableTest, AMalformedRuleRejectsTheWholeFileAndLogsItsIndexAndFault) {
    const Rule good{{{"mission_started", {"0"}}}, {kObjective}};
    struct Bad {
        const char* what;
        std::string file;
        const char* logged;
    };
    const Bad cases[] = {
        {"a misspelt EffectType after three good rules",
         ruleFile({good, good, good, good}, "ConditionType", "EffectTyp"),
         "rule 0 is malformed (effect 0: no \"EffectType\")"},
        {"an unknown condition name", ruleFile({good, good, {{{"mission_start", {"0"}}}, {kObjective}}}),
         "rule 2 is malformed (condition 0: unknown ConditionType \"mission_start\")"},
        {"a name in other letter case", ruleFile({good, {{}, {{"Mission_Failed", {}}}}}),
         "rule 1 is malformed (effect 0: unknown EffectType \"Mission_Failed\")"},
        {"a parameter too many", ruleFile({good, good, good, {{{"dash", {"1"}}}, {kObjective}}}),
         "rule 3 is malformed (condition 0: \"dash\" refuses its 1 parameters)"},
        {"a parameter too few", ruleFile({{{}, {{"spawn_pawn", {"Nest", "YES"}}}}}),
         "rule 0 is malformed (effect 0: \"spawn_pawn\" refuses its 2 parameters)"},
        {"a power-up that does not exist", ruleFile({good, {{{"new_powerup", {"pizza"}}}, {kObjective}}}),
         "rule 1 is malformed (condition 0: \"new_powerup\" refuses its 1 parameters)"},
        {"no parameter array",
         "<plist><array><dict><key>ConditionList</key><array><dict><key>ConditionType</key><string>dash</"
         "string>"
         "</dict></array><key>EffectList</key><array/></dict></array></plist>",
         "rule 0 is malformed (condition 0: \"dash\" without a \"ConditionParameter\" array)"},
        {"no effect list", "<plist><array><dict><key>ConditionList</key><array/></dict></array></plist>",
         "rule 0 is malformed (no \"EffectList\" array)"},
        {"a rule that is no dictionary", "<plist><array><string>dash</string></array></plist>",
         "rule 0 is malformed (no dictionary)"},
        {"a parameter that is no text",
         "<plist><array><dict><key>ConditionList</key><array/><key>EffectList</key><array><dict>"
         "<key>EffectType</key><string>start_chatter</string><key>EffectParameter</key><array><dict/></array>"
         "</dict></array></dict></array></plist>",
         "rule 0 is malformed (effect 0: \"start_chatter\" refuses its 1 parameters)"},
        {"a document broken half-way", ruleFile({good}).substr(0, 200),
         "cannot be read as an array of rules"},
    };
    int index = 0;
    for (const Bad& c : cases) {
        SCOPED_TRACE(c.what);
        LogCapture log;
        ASSERT_TRUE(start("RuleBad" + std::to_string(index++), c.file));
        EXPECT_EQ(KVRuleManager::getInstance()->getFileRuleCount(), 0u);
        EXPECT_TRUE(log.contains(c.logged)) << c.logged;
        // Nothing fires, and nothing was disabled on the way.
        EXPECT_EQ(play("UU"), "");
        TearDown();
        SetUp();
    }
    // A mission without a rule file has no rules and says nothing about it.
    LogCapture log;
    ASSERT_TRUE(start("RuleNone", ruleFile({good})));
    KVGameSetup::getInstance()->setMissionName(kvdata::newString("RuleNoFile"));
    KVRuleManager::getInstance()->loadRules();
    EXPECT_EQ(KVRuleManager::getInstance()->getFileRuleCount(), 0u);
    EXPECT_FALSE(log.contains("KVRuleManager"));
}

TEST_F(KVRuleTableTest, StartChatterEndsTheRunningDialogueAfterTheObjectiveIsSet) {
    ASSERT_TRUE(start("RuleChatter", ruleFile({{{}, {kObjective, {"start_chatter", {"Rule_CHATin"}}}},
                                               {{{"dash", {}}}, {{"start_chatter", {"Rule_CHATzz"}}}}})));
    EXPECT_EQ(play("U"), "1:EVENT_MISSION_OBJECTIVE");
    EXPECT_EQ(dialogues->calls, (std::vector<std::string>{"load Rule_CHATin", "start"}));
    // The objective is the looked-up text of its key (the key itself without a text table).
    ASSERT_NE(KVGameSetup::getInstance()->getMissionObjective(), nullptr);
    EXPECT_EQ(kvdata::textOf(KVGameSetup::getInstance()->getMissionObjective()), "Rule_objective");
    dialogues->calls.clear();
    play("DU");
    EXPECT_EQ(dialogues->calls, (std::vector<std::string>{"end", "load Rule_CHATzz", "start"}));
}

TEST_F(KVRuleTableTest, RuleEnableBeyondTheListIsIgnoredWithALogLine) {
    LogCapture log;
    ASSERT_TRUE(start("RuleBeyond",
                      ruleFile({{{}, {{"rule_enable", {"5", "YES"}}, {"rule_enable", {"-1", "NO"}}}}})));
    EXPECT_TRUE(log.contains("rule 0 enables rule 5, which does not exist"));
    ASSERT_EQ(KVRuleManager::getInstance()->getFileRuleCount(), 1u);
    EXPECT_TRUE(KVRuleManager::getInstance()->getRules()->objectAtIndex(0)->enabled);
    play("U");
    EXPECT_TRUE(log.contains("no rule 5 to enable"));
    EXPECT_TRUE(log.contains("no rule -1 to disable"));
}

TEST_F(KVRuleTableTest, ARuleEnabledAgainFiresAgainOnItsLatchedConditions) {
    ASSERT_TRUE(start("RuleAgain", ruleFile({{{{"dash", {}}}, {kObjective}},
                                             {{{"turn_count", {"1"}}}, {{"rule_enable", {"0", "YES"}}}}})));
    // Rule 0 waits for rule 1 (fired in frame 3); enabled, it is tested from frame 4, where its dash
    // (long done) still holds.
    EXPECT_EQ(play("DUUTUU"), "4:EVENT_MISSION_OBJECTIVE");
    EXPECT_FALSE(KVRuleManager::getInstance()->getRules()->objectAtIndex(0)->enabled);
}

TEST_F(KVRuleTableTest, NewPowerupNeverHoldsForAPowerupTheProfileHasSeen) {
    KVPlayerParameters* profile = KVPlayerParameters::getInstance();
    kvdata::Dict* seen = kvdata::dictAt(profile->getProfile(), "Powerup");
    ASSERT_NE(seen, nullptr);
    ASSERT_GT(kvdata::countOf(seen), 0u);
    EXPECT_FALSE(profile->isPowerupSeen("sushi"));
    ASSERT_TRUE(start("RuleSushi", ruleFile({{{{"new_powerup", {"sushi"}}}, {kObjective}}})));
    EXPECT_EQ(play("UpU"), "2:EVENT_MISSION_OBJECTIVE");
    EXPECT_TRUE(profile->isPowerupSeen("sushi"));
    TearDown();
    SetUp();
    KVPlayerParameters::getInstance()->markPowerupSeen("sushi");
    ASSERT_TRUE(start("RuleSushiSeen", ruleFile({{{{"new_powerup", {"sushi"}}}, {kObjective}}})));
    EXPECT_EQ(play("UpUU"), "");
}

TEST_F(KVRuleTableTest, GoToMenuRecordsThePlayAndUnlocksTheNextMissionExceptAfterTheLast) {
    static int returns = 0;
    auto countReturn = []() { ++returns; };
    KVEffectGoToMenu::setMenuReturn(countReturn);
    struct Leave {
        const char* mission;
        int nextLock;
    };
    for (const Leave& c : {Leave{kFirstMission, 0}, Leave{kLastMission, -1}}) {
        SCOPED_TRACE(c.mission);
        returns = 0;
        ASSERT_TRUE(start(c.mission, ruleFile({{{{"dash", {}}}, {{"go_to_menu", {}}}}})));
        play("UDU");
        EXPECT_EQ(returns, 1);
        KVPlayerParameters* profile = KVPlayerParameters::getInstance();
        EXPECT_EQ(kvdata::intAt(profile->getMissionRecord(c.mission, kChapter), "status_played"), 1);
        EXPECT_EQ(kvdata::intAt(profile->getChapterRecord(kChapter), "status_played"), 1);
        // The first mission unlocks the last; the last unlocks nothing (the first stays locked too).
        EXPECT_EQ(profile->getMissionLockStatus(kLastMission, kChapter), c.nextLock == 0 ? 0 : 1);
        EXPECT_EQ(profile->getMissionLockStatus(kFirstMission, kChapter), 1);
        EXPECT_EQ(kvdata::textOf(KVGameSetup::getInstance()->getChapterName()), "");
        EXPECT_EQ(kvdata::textOf(KVGameSetup::getInstance()->getMissionName()), c.mission);
        TearDown();
        SetUp();
        KVEffectGoToMenu::setMenuReturn(countReturn);
    }
}

} // namespace
