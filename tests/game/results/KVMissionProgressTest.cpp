// What a won mission writes into the profile: M01a and M01b of the Prologue from the built game
// data, with their definitions changed in memory where a case needs other keys.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "ResultsFixture.h"
#include "engine/base/CCMutableArray.h"
#include "engine/base/CCNotificationCenter.h"
#include "engine/base/CCUserDefaults.h"
#include "game/app/KVGlobalNames.h"
#include "game/data/KVDataAccess.h"
#include "game/data/KVGameParameters.h"
#include "game/data/KVPlayerParameters.h"
#include "game/results/KVMissionProgress.h"

using namespace kvengine;
using kvdata::Dict;

namespace {

std::vector<std::string> textsOf(CCMutableArray<CCString*>* list) {
    std::vector<std::string> texts;
    for (CCString* text : *list)
        texts.push_back(text->text);
    return texts;
}

CCMutableArray<CCString*>* listOf(std::initializer_list<const char*> names) {
    auto* list = new CCMutableArray<CCString*>();
    list->autorelease();
    for (const char* name : names)
        list->addObject(kvdata::newString(name));
    return list;
}

class MissionProgressTest : public resultstest::ResultsFixture {
protected:
    struct Outcome {
        bool recorded = false;
        std::vector<std::string> unlocked, locked, messages;
        int wins = 0;
    };

    /// Records a win of `mission` with what the match found.
    Outcome win(const char* mission, int turns = 3, CCMutableArray<CCString*>* helmets = nullptr,
                CCMutableArray<CCString*>* kelvos = nullptr, CCMutableArray<CCString*>* chests = nullptr) {
        menutest::Recorder wins;
        wins.observe(EVENT_GAME_PLAYER_WIN);
        auto* unlocked = new CCMutableArray<CCString*>();
        auto* locked = new CCMutableArray<CCString*>();
        auto* messages = new CCMutableArray<CCString*>();
        KVMissionProgress::Win match{mission, "Prologue", turns, helmets, kelvos, chests};
        Outcome outcome;
        outcome.recorded = KVMissionProgress::recordWin(match, {unlocked, locked, messages}, nullptr);
        outcome.unlocked = textsOf(unlocked);
        outcome.locked = textsOf(locked);
        outcome.messages = textsOf(messages);
        outcome.wins = wins.count("EVENT_GAME_PLAYER_WIN");
        unlocked->release();
        locked->release();
        messages->release();
        return outcome;
    }
    static Dict* definition(const char* mission) {
        return KVGameParameters::getInstance()->findMissionDefinition(std::string(mission));
    }
    static KVPlayerParameters* profile() { return KVPlayerParameters::getInstance(); }
    /// The profile as written to disk, read back.
    static void reloadProfile() {
        KVPlayerParameters::getInstance()->release();
        CCUserDefaults::getInstance()->release();
    }
};

TEST_F(MissionProgressTest, AFirstWinOfM01aPutsItsHelmetInTheShopOpensM01bAndIsSaved) {
    ASSERT_EQ(profile()->getHelmetLockStatus("coral_crown"), kLockStatusLocked);
    ASSERT_NE(profile()->getMissionLockStatus("M01b", "Prologue"), kLockStatusUnlocked);
    const Outcome first = win("M01a", 4, nullptr, nullptr, listOf({"chest_a", ""}));
    EXPECT_TRUE(first.recorded);
    EXPECT_EQ(first.unlocked, std::vector<std::string>{"coral_crown"});
    EXPECT_TRUE(first.locked.empty());
    EXPECT_EQ(first.messages, std::vector<std::string>{"M01a victory message"});
    EXPECT_EQ(first.wins, 1);

    reloadProfile();
    KVPlayerParameters* saved = profile();
    EXPECT_EQ(saved->getHelmetLockStatus("coral_crown"), kLockStatusInShop);
    EXPECT_TRUE(saved->hasUnseenHelmets());
    EXPECT_EQ(saved->getMissionLockStatus("M01b", "Prologue"), kLockStatusUnlocked);
    EXPECT_EQ(saved->getLastPlayedMission(), "M01b");
    Dict* record = saved->getMissionRecord("M01a", "Prologue");
    EXPECT_EQ(kvdata::intAt(record, "status_completed"), 1);
    EXPECT_EQ(kvdata::intAt(record, "status_played"), 1);
    EXPECT_EQ(kvdata::intAt(record, "turn_score"), 6 - 4);
    EXPECT_EQ(kvdata::intAt(saved->getChapterRecord("Prologue"), "status_played"), 1);
    EXPECT_EQ(kvdata::intAt(saved->getChapterRecord("Prologue"), "status_completed"), 0);
    EXPECT_TRUE(saved->isTreasureFound("chest_a"));
}

TEST_F(MissionProgressTest, ASecondWinOnlyOffersWhatTheMatchFoundAndKeepsTheBestTurnScore) {
    win("M01a", 2);
    // Whatever happened since, the second win does not hand the first win's rewards out again.
    profile()->setMissionLockStatus("M01b", "Prologue", kLockStatusInShop);
    kvdata::setInt(profile()->getHelmetRecord("coral_crown"), "status_locked", kLockStatusLocked);
    profile()->setLastPlayedMission(kvdata::newString("M01a"));
    const Outcome second = win("M01a", 5, listOf({"pirate_hat"}), listOf({"kiwa0"}), listOf({"chest_b"}));
    EXPECT_EQ(second.unlocked, (std::vector<std::string>{"pirate_hat", "kiwa0"}));
    EXPECT_TRUE(second.messages.empty());
    EXPECT_EQ(profile()->getHelmetLockStatus("coral_crown"), kLockStatusLocked);
    EXPECT_EQ(profile()->getMissionLockStatus("M01b", "Prologue"), kLockStatusInShop);
    EXPECT_EQ(profile()->getLastPlayedMission(), "M01a");
    EXPECT_EQ(profile()->getHelmetLockStatus("pirate_hat"), kLockStatusInShop);
    EXPECT_EQ(profile()->getKelvoLockStatus("kiwa0"), kLockStatusInShop);
    EXPECT_TRUE(profile()->isTreasureFound("chest_b"));
    EXPECT_EQ(kvdata::intAt(profile()->getMissionRecord("M01a", "Prologue"), "turn_score"), 6 - 2);
    EXPECT_EQ(second.wins, 1);
}

// First wins of M01a whose definition names other items: what is announced, and what the
// profile holds afterwards.
TEST_F(MissionProgressTest, UnlockableAndLockableItemsAreAnnouncedOnceAndOnlyWhenTheirStateChanges) {
    struct Case {
        const char* name;
        std::vector<std::pair<const char*, const char*>> unlockable;
        std::vector<std::pair<const char*, const char*>> lockable;
        std::vector<const char*> kelvosFound;
        std::vector<std::string> unlocked;
        std::vector<std::string> locked;
    };
    const std::vector<Case> cases = {
        {"named twice: the found list finds it in the shop",
         {{"kiwa0", "kelvo"}},
         {},
         {"kiwa0"},
         {"kiwa0"},
         {}},
        {"already unlocked or offered",
         {{"straw_hat", "helmet"}, {"shell_helm", "helmet"}, {"kiwa", "kelvo"}},
         {},
         {},
         {},
         {}},
        {"a consumable below its maximum", {{"cocktail", "consumable"}}, {}, {}, {"cocktail"}, {}},
        {"ascending key order, other types ignored",
         {{"seaweed_band", "helmet"}, {"kiwa2", "kelvo"}, {"coral_crown", "helmet"}, {"reef", "mission"}},
         {},
         {},
         {"coral_crown", "kiwa2", "seaweed_band"},
         {}},
        {"locked for good: only what the player had or could buy is announced",
         {},
         {{"clint", "kelvo"}, {"pirate_hat", "helmet"}, {"straw_hat", "helmet"}, {"cocktail", "consumable"}},
         {},
         {},
         {"clint", "straw_hat"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        // A fresh profile and fresh game data for each case.
        KVPlayerParameters::getInstance()->release();
        KVGameParameters::getInstance()->release();
        CCUserDefaults::getInstance()->release();
        forgetSavedProfile();
        Dict* m01a = definition("M01a");
        Dict* unlockable = kvdata::newDict();
        for (const auto& [name, type] : c.unlockable)
            kvdata::setText(unlockable, name, type);
        m01a->setObject(unlockable, "unlockable_items");
        Dict* lockable = kvdata::newDict();
        for (const auto& [name, type] : c.lockable)
            kvdata::setText(lockable, name, type);
        m01a->setObject(lockable, "lockable_items");
        auto* found = new CCMutableArray<CCString*>();
        for (const char* name : c.kelvosFound)
            found->addObject(kvdata::newString(name));
        const int cocktails = profile()->getConsumableAmount("cocktail");
        const Outcome outcome = win("M01a", 3, nullptr, found, nullptr);
        found->release();
        EXPECT_EQ(outcome.unlocked, c.unlocked);
        EXPECT_EQ(outcome.locked, c.locked);
        for (const auto& [name, type] : c.lockable) {
            const std::string kind = type;
            if (kind == "kelvo") {
                EXPECT_EQ(profile()->getKelvoLockStatus(name), kLockStatusWithdrawn) << name;
            } else if (kind == "helmet") {
                EXPECT_EQ(profile()->getHelmetLockStatus(name), kLockStatusWithdrawn) << name;
            }
        }
        const bool grantsCocktail = !c.unlocked.empty() && c.unlocked.front() == "cocktail";
        EXPECT_EQ(profile()->getConsumableAmount("cocktail"), cocktails + (grantsCocktail ? 1 : 0));
    }
}

TEST_F(MissionProgressTest, AConsumableAtItsMaximumIsNeitherGrantedNorAnnounced) {
    Dict* unlockable = kvdata::newDict();
    kvdata::setText(unlockable, "mighty_kraken", "consumable");
    definition("M01a")->setObject(unlockable, "unlockable_items");
    profile()->addConsumable("mighty_kraken", 2 - profile()->getConsumableAmount("mighty_kraken"));
    const Outcome outcome = win("M01a");
    EXPECT_TRUE(outcome.unlocked.empty());
    EXPECT_EQ(profile()->getConsumableAmount("mighty_kraken"), 2);
}

TEST_F(MissionProgressTest, NamesTheProfileOrTheGameDataDoesNotKnowAreSkippedWithALogLine) {
    Dict* unlockable = kvdata::newDict();
    kvdata::setText(unlockable, "nobody", "kelvo");
    kvdata::setText(unlockable, "no_hat", "helmet");
    kvdata::setText(unlockable, "no_drink", "consumable");
    kvdata::setText(unlockable, "coral_crown", "helmet");
    definition("M01a")->setObject(unlockable, "unlockable_items");
    Dict* lockable = kvdata::newDict();
    kvdata::setText(lockable, "ghost", "kelvo");
    definition("M01a")->setObject(lockable, "lockable_items");
    const Outcome outcome = win("M01a", 3, listOf({"lost_helmet"}), listOf({"stranger"}));
    EXPECT_TRUE(outcome.recorded);
    EXPECT_EQ(outcome.unlocked, std::vector<std::string>{"coral_crown"});
    EXPECT_TRUE(outcome.locked.empty());
    for (const char* name :
         {"\"nobody\"", "\"no_hat\"", "\"no_drink\"", "\"ghost\"", "\"lost_helmet\"", "\"stranger\""})
        EXPECT_TRUE(logged(name)) << name;
    EXPECT_EQ(profile()->getKelvoRecord("nobody"), nullptr);
    EXPECT_EQ(profile()->getHelmetRecord("no_hat"), nullptr);
    // A mission the profile has no record of is not recorded at all.
    const Outcome unknown = win("M99z");
    EXPECT_FALSE(unknown.recorded);
    EXPECT_EQ(unknown.wins, 0);
    EXPECT_TRUE(logged("\"M99z\""));
}

TEST_F(MissionProgressTest, ForcedStepsKeepTheNextMissionLockedAndTheLastMissionCompletesTheChapter) {
    Dict* steps = kvdata::newDict();
    Dict* step = kvdata::newDict();
    Dict* conditions = kvdata::newDict();
    kvdata::setText(conditions, "screen", "team");
    step->setObject(conditions, "condition");
    steps->setObject(step, "step01");
    definition("M01a")->setObject(steps, "stepsToDoBeforeNextMission");
    profile()->setLastPlayedMission(kvdata::newString("M01a"));
    const int nextLock = profile()->getMissionLockStatus("M01b", "Prologue");
    ASSERT_NE(nextLock, kLockStatusUnlocked);
    win("M01a");
    EXPECT_EQ(profile()->getMissionLockStatus("M01b", "Prologue"), nextLock);
    EXPECT_EQ(profile()->getLastPlayedMission(), "M01a");
    EXPECT_NE(profile()->getProfileValue("forcedSteps"), nullptr);
    EXPECT_EQ(kvdata::intAt(profile()->getChapterRecord("Prologue"), "status_completed"), 0);

    // M01c is the Prologue's last mission: nothing opens, the chapter is completed.
    const std::string lastPlayed = profile()->getLastPlayedMission();
    win("M01c");
    EXPECT_EQ(profile()->getLastPlayedMission(), lastPlayed);
    EXPECT_EQ(kvdata::intAt(profile()->getChapterRecord("Prologue"), "status_completed"), 1);
    EXPECT_EQ(kvdata::intAt(profile()->getMissionRecord("M01c", "Prologue"), "status_completed"), 1);
}

TEST_F(MissionProgressTest, APearlfishDoublesTheLoot) {
    profile()->addConsumable(KVMissionProgress::kPearlDoubler, -profile()->getConsumableAmount("pearlfish"));
    EXPECT_EQ(KVMissionProgress::pearlLoot(40), 40);
    profile()->addConsumable(KVMissionProgress::kPearlDoubler, 1);
    EXPECT_EQ(KVMissionProgress::pearlLoot(40), 80);
    EXPECT_EQ(KVMissionProgress::pearlLoot(0), 0);
}

} // namespace
