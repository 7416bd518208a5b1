// The help cases: which run of errors plays which help dialogue, what disarms a case, the dash
// help's limit kept in the profile, and the objective reminder.
#include <gtest/gtest.h>

#include <string>

#include "../data/GameDataFixture.h"
#include "engine/base/CCNotificationCenter.h"
#include "engine/base/CCValue.h"
#include "game/app/KVGlobalNames.h"
#include "game/chatter/KVChatterManager.h"
#include "game/data/KVGameSetup.h"
#include "game/data/KVPlayerParameters.h"
#include "game/pawns/KVPawn.h"
#include "game/tutorial/KVHelpCases.h"
#include "game/tutorial/KVHelperManager.h"
#include "game/world/KVActionEvent.h"
#include "game/world/KVObjectFactory.h"
#include "game/world/KVRunningMission.h"

using namespace kvengine;

namespace {

void post(CCString* name, CCObject* object = nullptr) {
    CCNotificationCenter::getInstance()->postNotification(name, object);
}

// A pawn without a body with the abilities named in `flags`.
KVPawn* pawnWith(std::initializer_list<const char*> flags, bool aiDriven = false, bool enemy = false) {
    auto* stats = new KVPawn::StatDictionary();
    for (const char* key : {"HP", "SP", "Dash Per Turn"})
        kvdata::setText(stats, key, "2");
    for (const char* flag : flags)
        kvdata::setText(stats, flag, "YES");
    auto* pawn = new KVPawn();
    pawn->readStats(stats);
    pawn->setAIDriven(aiDriven);
    pawn->setEnemy(enemy);
    stats->release();
    pawn->autorelease();
    return pawn;
}

// The running mission as the help cases see it: its current pawn.
class TestMission : public KVObject, public KVRunningMission {
public:
    KVPawn* getCurrentPawn() override { return pawn; }
    int getPlayerTurnCount() override { return 0; }
    KVPawn* pawn = nullptr;
};

class HelpCasesTest : public kvtest::GameDataTest {
protected:
    void SetUp() override {
        GameDataTest::SetUp();
        KVObjectFactory::registerGameClasses();
        helpers = KVHelperManager::getInstance();
    }
    /// The dialogue the last help asked for ("" when none).
    static std::string played() { return KVChatterManager::getInstance()->getLoadedChatterName(); }

    KVHelperManager* helpers = nullptr;
};

TEST_F(HelpCasesTest, TheServiceMakesTheFiveCasesByNameInOrder) {
    ASSERT_EQ(helpers->getCases()->count(), 5u);
    for (unsigned i = 0; i < 5; ++i)
        EXPECT_STREQ(helpers->getCases()->objectAtIndex(i)->className(), KVHelperManager::kCaseClasses[i]);
}

TEST_F(HelpCasesTest, ThreeMissesWhileArmedForASpecialAttackPlayItsHelp) {
    struct Case {
        const char* flag;
        CCString* miss;
        const char* dialogue;
    } const cases[] = {{"hasDistanceAttack", EVENT_MISSED_DISTANCE_ATTACK, "Tutos_chatot"},
                       {"hasAOEAttack", EVENT_MISSED_AOE, "Tutos_chatmp"}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.dialogue);
        post(SCREEN_INGAME_GAME);
        KVChatterManager::getInstance()->loadChatter("none");
        // Not armed: a pawn without the attack, or an enemy's.
        post(EVENT_DAMAGE_MODE_ON, pawnWith({}));
        post(EVENT_DAMAGE_MODE_ON, pawnWith({c.flag}, true, true));
        for (int i = 0; i < 3; ++i)
            post(c.miss);
        EXPECT_EQ(played(), "none");
        // Armed, two misses, then the turn ends: the count starts again.
        post(EVENT_DAMAGE_MODE_ON, pawnWith({c.flag}));
        post(c.miss);
        post(EVENT_MISSED_PULL);
        post(EVENT_END_TURN);
        post(EVENT_DAMAGE_MODE_ON, pawnWith({c.flag}));
        post(EVENT_PULL_NO_STAMINA);
        post(c.miss);
        EXPECT_EQ(played(), "none");
        post(c.miss);
        EXPECT_EQ(played(), c.dialogue);
    }
}

TEST_F(HelpCasesTest, ThreeUselessTapsInOneEnemyPhasePlayTheEnemyTurnHelp) {
    KVChatterManager::getInstance()->loadChatter("none");
    post(EVENT_START_TURN, pawnWith({}, true, true));
    post(EVENT_USELESS_TAP_DURING_AI_TURN);
    post(EVENT_USELESS_TAP_DURING_AI_TURN);
    // A player's turn in between disarms the case and clears the count.
    post(EVENT_START_TURN, pawnWith({}));
    post(EVENT_USELESS_TAP_DURING_AI_TURN);
    post(EVENT_START_TURN, pawnWith({}, true, true));
    post(EVENT_USELESS_TAP_DURING_AI_TURN);
    post(EVENT_USELESS_TAP_DURING_AI_TURN);
    EXPECT_EQ(played(), "none");
    post(EVENT_USELESS_TAP_DURING_AI_TURN);
    EXPECT_EQ(played(), "Tutos_chatrn");
}

TEST_F(HelpCasesTest, TheDashHelpPlaysAfterTenLaunchesWithoutADashAtMostTwicePerProfile) {
    auto* mission = new TestMission();
    mission->pawn = pawnWith({"hasDashAbility"});
    KVGameSetup::getInstance()->setCurrentGameModel(mission);
    auto* power = new CCValue<float>(1.0f);
    auto launches = [power](int count) {
        for (int i = 0; i < count; ++i)
            post(EVENT_KELVO_LAUNCHED, power);
    };
    KVChatterManager::getInstance()->loadChatter("none");
    // A dash restarts the count.
    launches(9);
    post(EVENT_DASH);
    launches(9);
    post(EVENT_MOVE_OVER);
    EXPECT_EQ(played(), "none");
    launches(1);
    post(EVENT_MOVE_OVER);
    EXPECT_EQ(played(), "Tutos_chatah");
    EXPECT_EQ(KVPlayerParameters::getInstance()->getHelpCaseValue("Dash"), 1);
    KVChatterManager::getInstance()->loadChatter("none");
    launches(10);
    post(EVENT_MOVE_OVER);
    EXPECT_EQ(played(), "Tutos_chatah");
    EXPECT_EQ(KVPlayerParameters::getInstance()->getHelpCaseValue("Dash"), 2);
    // A profile that holds "Dash" = 2 never hears it again.
    KVPlayerParameters::getInstance()->setHelpCaseValue("Dash", 2);
    helpers->release();
    helpers = KVHelperManager::getInstance();
    KVChatterManager::getInstance()->loadChatter("none");
    launches(30);
    post(EVENT_MOVE_OVER);
    EXPECT_EQ(played(), "none");
    KVGameSetup::getInstance()->setCurrentGameModel(nullptr);
    power->release();
    mission->release();
}

TEST_F(HelpCasesTest, TheObjectiveComesBackAfterThreeTurnsWithoutAHit) {
    kvtest::NotificationRecorder posts;
    posts.observe(EVENT_MISSION_OBJECTIVE);
    auto turns = [](int count) {
        for (int i = 0; i < count; ++i)
            post(EVENT_TURN_START_PLAYER);
    };
    turns(3);
    EXPECT_TRUE(posts.objectsOf("EVENT_MISSION_OBJECTIVE").empty());
    turns(1);
    EXPECT_EQ(posts.objectsOf("EVENT_MISSION_OBJECTIVE").size(), 1u);
    // A hit restarts the count; a discovery takes a turn off it.
    turns(2);
    post(EVENT_ACTION, KVActionEvent::create(KVActionEvent::MeleeHit, 5, 0.1f, nullptr, nullptr));
    turns(3);
    EXPECT_EQ(posts.objectsOf("EVENT_MISSION_OBJECTIVE").size(), 1u);
    post(EVENT_HIDDEN_STAR_FOUND);
    turns(1);
    EXPECT_EQ(posts.objectsOf("EVENT_MISSION_OBJECTIVE").size(), 1u);
    turns(1);
    EXPECT_EQ(posts.objectsOf("EVENT_MISSION_OBJECTIVE").size(), 2u);
}

} // namespace
