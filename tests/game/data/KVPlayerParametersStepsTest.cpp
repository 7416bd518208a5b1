#include "GameDataFixture.h"

#include "game/app/KVGlobalNames.h"

using kvdata::Dict;
using kvengine::CCString;
using kvtest::GameDataTest;
using kvtest::NotificationRecorder;

namespace {

using Entries = std::vector<std::pair<std::string, std::string>>;

Dict* dictOf(const Entries& entries) {
    Dict* dict = kvdata::newDict();
    for (const auto& [key, value] : entries)
        kvdata::setText(dict, key, value);
    return dict;
}

Dict* step(const Entries& condition, const Entries& effect = {}) {
    Dict* result = kvdata::newDict();
    if (!condition.empty()) result->setObject(dictOf(condition), "condition");
    if (!effect.empty()) result->setObject(dictOf(effect), "effect");
    return result;
}

Dict* steps(std::initializer_list<Dict*> list) {
    Dict* result = kvdata::newDict();
    int number = 1;
    for (Dict* one : list) {
        char key[16];
        std::snprintf(key, sizeof key, "step%.2d", number++);
        result->setObject(one, key);
    }
    return result;
}

Dict* forcedSteps(KVPlayerParameters* profile) {
    return kvdata::dictAt(profile->getProfile(), "forcedSteps");
}

} // namespace

TEST_F(GameDataTest, StepsWaitOnTheirScreenAndValidateInOrder) {
    KVPlayerParameters* profile = KVPlayerParameters::getInstance();
    profile->setKelvoSelectedStatus("vahine", 0);
    NotificationRecorder recorder;
    recorder.observe(EVENT_STEP_VALIDATED);
    Dict* sequence =
        steps({step({{"vahine", "placeInTeam"}}), step({{"screen", "shop"}}, {{"chatter", "Tutos_chatst"}})});
    EXPECT_TRUE(profile->startForcedSteps(sequence));
    EXPECT_TRUE(recorder.posts.empty());

    EXPECT_TRUE(profile->processForcedSteps("team", true)); // the player stands where the step is done
    EXPECT_FALSE(profile->processForcedSteps("shop", true));
    EXPECT_EQ(kvdata::countOf(forcedSteps(profile)), 2u);
    CCString* screen = nullptr;
    CCString* item = nullptr;
    EXPECT_TRUE(profile->getForcedStepTarget(&screen, &item));
    EXPECT_EQ(kvdata::textOf(screen), "team");
    EXPECT_EQ(kvdata::textOf(item), "vahine");
    EXPECT_EQ(profile->getForcedStepConditionType(), "placeInTeam");

    profile->setKelvoSelectedStatus("vahine", 1);
    EXPECT_FALSE(profile->processForcedSteps("team", true));
    EXPECT_EQ(recorder.posts.size(), 1u);
    EXPECT_EQ(
        kvdata::textAt(kvdata::dictAt(kvdata::dictAt(forcedSteps(profile), "step01"), "condition"), "screen"),
        "shop");
    EXPECT_FALSE(kvdata::hasKey(forcedSteps(profile), "step02"));
    EXPECT_EQ(profile->getForcedStepConditionType(), "screen");
    EXPECT_EQ(KVChatterManager::getInstance()->getLoadedChatterName(), "");

    // On the shop screen the last step starts its dialogue and the sequence ends.
    EXPECT_FALSE(profile->processForcedSteps("shop", true));
    EXPECT_EQ(KVChatterManager::getInstance()->getLoadedChatterName(), "Tutos_chatst");
    EXPECT_TRUE(KVChatterManager::getInstance()->getShopFlag());
    EXPECT_EQ(recorder.posts.size(), 2u);
    EXPECT_FALSE(kvdata::hasKey(profile->getProfile(), "forcedSteps"));
    EXPECT_EQ(profile->getForcedStepConditionType(), "");
    EXPECT_FALSE(profile->getForcedStepTarget(&screen, &item));
    // The sequence handed over (a mission's data) is left whole.
    EXPECT_EQ(kvdata::keysOf(sequence), (std::vector<std::string>{"step01", "step02"}));
}

TEST_F(GameDataTest, ADialogueIsSkippedWhenTheNextStepIsAlreadyMet) {
    KVPlayerParameters* profile = KVPlayerParameters::getInstance();
    NotificationRecorder recorder;
    recorder.observe(EVENT_STEP_VALIDATED);
    profile->startForcedSteps(
        steps({step({{"screen", "team"}}, {{"chatter", "Tutos_chatpu"}}),
               step({{"steev", "placeInTeam"}}, {{"unlockMission", "M1b"}, {"inChapiter", "C1"}})}));
    EXPECT_FALSE(profile->processForcedSteps("team", true));
    EXPECT_EQ(KVChatterManager::getInstance()->getLoadedChatterName(), "");
    EXPECT_EQ(recorder.posts.size(), 2u);
    EXPECT_EQ(profile->getMissionLockStatus("M1b", "C1"), 0);
    EXPECT_FALSE(kvdata::hasKey(profile->getProfile(), "forcedSteps"));
}

TEST_F(GameDataTest, AStepWaitsWhileADialogueRuns) {
    KVPlayerParameters* profile = KVPlayerParameters::getInstance();
    KVChatterManager* chatter = KVChatterManager::getInstance();
    chatter->setChatterRunning(true);
    profile->startForcedSteps(
        steps({step({{"screen", "team"}}, {{"chatter", "Tutos_chatoo"}}), step({{"screen", "shop"}})}));
    EXPECT_TRUE(profile->processForcedSteps("team", true));
    Dict* first = kvdata::dictAt(forcedSteps(profile), "step01");
    EXPECT_TRUE(kvdata::hasKey(kvdata::dictAt(first, "condition"), "endChatter"));
    EXPECT_EQ(chatter->getLoadedChatterName(), "");
    EXPECT_FALSE(profile->processForcedSteps("team", true)); // still waiting: nothing dropped
    EXPECT_EQ(kvdata::countOf(forcedSteps(profile)), 2u);
}

TEST_F(GameDataTest, TheEndOfTheRunningDialogueResumesAWaitingStep) {
    KVPlayerParameters* profile = KVPlayerParameters::getInstance();
    KVChatterManager* chatter = KVChatterManager::getInstance();
    NotificationRecorder recorder;
    recorder.observe(EVENT_STEP_VALIDATED);
    profile->startForcedSteps(
        steps({step({{"sammo", "buyKelvo"}}, {{"chatter", "Tutos_chatst"}}), step({{"screen", "team"}})}));
    profile->setKelvoLockStatus("sammo", 0);
    chatter->setChatterRunning(true); // a dialogue the steps did not start
    EXPECT_TRUE(profile->processForcedSteps("shop", true));
    EXPECT_TRUE(recorder.posts.empty());

    chatter->setChatterRunning(false);
    kvengine::CCNotificationCenter::getInstance()->postNotification(EVENT_END_SPEECH,
                                                                    kvdata::newString("Mission"));
    EXPECT_EQ(chatter->getLoadedChatterName(), "Tutos_chatst");
    EXPECT_EQ(recorder.posts.size(), 1u);
    EXPECT_EQ(profile->getForcedStepConditionType(), "screen");
}

TEST_F(GameDataTest, StartingASequenceKeepsARunningOne) {
    KVPlayerParameters* profile = KVPlayerParameters::getInstance();
    Dict* first = steps({step({{"screen", "shop"}})});
    profile->startForcedSteps(first);
    kvtest::fs::remove(kvtest::savedSettingsPath());
    EXPECT_TRUE(profile->startForcedSteps(steps({step({{"screen", "team"}})})));
    EXPECT_EQ(
        kvdata::textAt(kvdata::dictAt(kvdata::dictAt(forcedSteps(profile), "step01"), "condition"), "screen"),
        "shop");
    EXPECT_TRUE(kvtest::fs::exists(kvtest::savedSettingsPath()));
}

TEST_F(GameDataTest, DroppingTheFirstStepRenumbersTheRest) {
    KVPlayerParameters* profile = KVPlayerParameters::getInstance();
    profile->startForcedSteps(
        steps({step({{"screen", "a"}}), step({{"screen", "b"}}), step({{"screen", "c"}})}));
    profile->dropFirstForcedStep();
    EXPECT_EQ(kvdata::keysOf(forcedSteps(profile)), (std::vector<std::string>{"step01", "step02"}));
    auto screenOf = [&](const char* key) {
        return kvdata::textAt(kvdata::dictAt(kvdata::dictAt(forcedSteps(profile), key), "condition"),
                              "screen");
    };
    EXPECT_EQ(screenOf("step01"), "b");
    EXPECT_EQ(screenOf("step02"), "c");
    EXPECT_EQ(profile->getForcedStepConditionKeys(), std::vector<std::string>{"screen"});
}

TEST_F(GameDataTest, ConditionTableOfTheLookAhead) {
    KVPlayerParameters* profile = KVPlayerParameters::getInstance();
    profile->setKelvoTurnSpeed("vahine", 4);
    struct Case {
        Entries condition;
        bool met;
    };
    const Case cases[] = {
        {{{"screen", "shop"}}, true},
        {{{"screen", "team"}}, false},
        {{{"steev", "buyKelvo"}}, true},
        {{{"clint", "buyKelvo"}}, false},
        {{{"whale", "buyKelvo"}}, false}, // no record reads as locked
        {{{"steev", "placeInTeam"}}, true},
        {{{"clint", "placeInTeam"}}, false},
        {{{"vahine", "placeInTeamLastPosition"}}, true},
        {{{"steev", "placeInTeamLastPosition"}}, false},
        {{{"endChatter", ""}}, false},
        {{{"anything", "else"}}, true},
        {{}, true},
    };
    for (const Case& c : cases) {
        const std::string label =
            c.condition.empty() ? "(none)" : c.condition[0].first + "=" + c.condition[0].second;
        EXPECT_EQ(profile->areStepConditionsMet(dictOf(c.condition), "shop"), c.met) << label;
    }
}

TEST_F(GameDataTest, BuyingStepsPointAtTheShop) {
    KVPlayerParameters* profile = KVPlayerParameters::getInstance();
    NotificationRecorder recorder;
    recorder.observe(EVENT_TAP_ANIMATION);
    profile->startForcedSteps(steps({step({{"clint", "buyKelvo"}, {"sammo", "buyKelvo"}})}));
    EXPECT_TRUE(profile->processForcedSteps("shop", true));
    EXPECT_FALSE(profile->processForcedSteps("team", true));
    EXPECT_EQ(recorder.posts.size(), 2u); // the squad screen points to the shop, once per creature
    profile->setKelvoLockStatus("clint", 0);
    profile->setKelvoLockStatus("sammo", 0);
    recorder.posts.clear();
    EXPECT_FALSE(profile->processForcedSteps("shop", true));
    EXPECT_EQ(recorder.posts.size(), 1u); // both bought in the shop
    EXPECT_FALSE(kvdata::hasKey(profile->getProfile(), "forcedSteps"));
}
