// The combos of a solo mission, played headless in the rule tests' small mission: which moves
// fire which sticker with which points and pearl, the achievements they announce, and how each
// move starts the combos afresh.
#include "RuleMissionFixture.h"

#include <cmath>

#include "engine/base/CCNotificationCenter.h"
#include "game/data/KVGameSetup.h"
#include "game/objects/KVPearl.h"
#include "game/rules/KVComboConditions.h"
#include "game/rules/KVRule.h"
#include "game/rules/KVRuleCombo.h"
#include "game/rules/KVRuleManager.h"
#include "game/world/KVContactInfo.h"

using kvengine::CCNotification;
using kvengine::CCNotificationCenter;
using kvengine::CCString;

namespace {

// Records what the combos give, one word each: "<sticker>:<points>" for a combo's action,
// "pearl<value>@<pawn>" for a combo pearl, and the short name of an achievement.
class ComboRecorder : public kvengine::CCObject {
public:
    ComboRecorder() {
        CCNotificationCenter* centre = CCNotificationCenter::getInstance();
        for (CCString* name : {EVENT_ACTION, EVENT_NEW_ACTOR, EVENT_ACHIEVEMENT_SEAFOOD_PORRIDGE,
                               EVENT_ACHIEVEMENT_KUNG_FU_KELVO, EVENT_ACHIEVEMENT_DONT_RUN_NEAR_POOL})
            centre->addObserver(this, notification_selector(ComboRecorder::onPost), name);
    }
    void cleanupBeforeDelete() override { CCNotificationCenter::getInstance()->removeObserver(this); }

    void onPost(CCNotification* notification) {
        const std::string& name = notification->getName()->text;
        kvengine::CCObject* object = notification->getObject();
        if (name == EVENT_ACTION->text) {
            auto* event = static_cast<KVActionEvent*>(object);
            if (event->type != KVActionEvent::Combo) return;
            add((event->getText() != nullptr ? event->getText()->text : std::string("?")) + ":" +
                std::to_string(event->value) + (event->actor == comboPawn ? "" : "(other pawn)"));
        } else if (name == EVENT_NEW_ACTOR->text) {
            if (object == nullptr || !object->isKindOf("KVPearl")) return;
            auto* pearl = static_cast<KVPearl*>(object);
            EXPECT_EQ(pearl->getRewardKind(), KVActionEvent::ComboPearls);
            add("pearl" + std::to_string(pearl->getValue()) + "@" + placeOf(pearl));
        } else {
            add(name.substr(std::string("EVENT_ACHIEVEMENT_").size()));
        }
    }
    void add(const std::string& word) { words += (words.empty() ? "" : " ") + word; }
    // The named pawn standing where the pearl fell.
    std::string placeOf(KVActor* pearl) const {
        for (const auto& place : places)
            if (std::fabs(place.second->positionX - pearl->positionX) < 1e-3f &&
                std::fabs(place.second->positionY - pearl->positionY) < 1e-3f)
                return place.first;
        return "?";
    }

    std::vector<std::pair<std::string, KVActor*>> places;
    KVActor* comboPawn = nullptr;
    std::string words;
};

class ComboTest : public ruletest::RuleMissionTest {
protected:
    void SetUp() override {
        RuleMissionTest::SetUp();
        // A mission of its own name (the resource index remembers every rule file it saw), with one
        // rule of its file that never fires.
        static int missions = 0;
        ASSERT_TRUE(start("RuleCombos" + std::to_string(++missions),
                          ruletest::ruleFile({{{{"trigger", {"kelvo", "Nowhere"}}}, {{"stop_music", {}}}}})));
        kvengine::CCMutableArray<KVPawn*>* crabs = KVPawnManager::getInstance()->getEnemyPawns();
        ASSERT_EQ(crabs->count(), 2u);
        ASSERT_EQ(kelvos.size(), 2u);
        crab1 = crabs->objectAtIndex(0);
        crab2 = crabs->objectAtIndex(1);
        recorder = new ComboRecorder();
        recorder->comboPawn = kelvos[0];
        recorder->places = {{"crab1", crab1}, {"crab2", crab2}, {"kelvo2", kelvos[1]}};
        post(EVENT_START_TURN, kelvos[0]);
    }
    void TearDown() override {
        if (recorder != nullptr) recorder->release();
        recorder = nullptr;
        RuleMissionTest::TearDown();
    }

    static void post(CCString* name, kvengine::CCObject* object = nullptr) {
        CCNotificationCenter::getInstance()->postNotification(name, object);
    }
    /// Puts `pawn` at rest at (x, y) metres.
    static void place(KVPawn* pawn, float x, float y) {
        pawn->getBody()->SetTransform(b2Vec2(x, y), 0.0f);
        pawn->getBody()->SetLinearVelocity(b2Vec2(0.0f, 0.0f));
        pawn->positionX = x;
        pawn->positionY = y;
    }
    static void act(int type, KVActor* actor, KVActor* target) {
        post(EVENT_ACTION, KVActionEvent::create(type, 10, 0.1f, actor, target));
    }

    /// Plays `script`, one character a step, and answers what the combos gave:
    ///   a / A  an area hit of the kelvo whose turn it is on crab 1 / crab 2
    ///   m / M  a melee hit of that kelvo on crab 1 / crab 2
    ///   o      a melee hit of the other kelvo      i  a melee hit of the AI-driven ally
    ///   h      a heal by the kelvo whose turn it is   H  a heal without healer
    ///   d      a distance hit of that kelvo on crab 1
    ///   F / f  crab 1 / crab 2 falls into a hole
    ///   U      one frame of the game model (the rules fire in it)   E  the move ends
    std::string play(const std::string& script) {
        recorder->words.clear();
        for (char step : script) {
            switch (step) {
            case 'a':
            case 'A':
                act(KVActionEvent::AreaHit, kelvos[0], step == 'a' ? crab1 : crab2);
                break;
            case 'm':
            case 'M':
                act(KVActionEvent::MeleeHit, kelvos[0], step == 'm' ? crab1 : crab2);
                break;
            case 'o':
                act(KVActionEvent::MeleeHit, kelvos[1], crab1);
                break;
            case 'i':
                act(KVActionEvent::MeleeHit, ally, crab1);
                break;
            case 'h':
                act(KVActionEvent::Heal, kelvos[0], kelvos[1]);
                break;
            case 'H':
                act(KVActionEvent::Heal, nullptr, kelvos[1]);
                break;
            case 'E':
                post(EVENT_MOVE_OVER);
                break;
            case 'd':
                act(KVActionEvent::DistanceHit, kelvos[0], crab1);
                break;
            case 'F':
            case 'f':
                post(EVENT_PAWN_FALL, step == 'F' ? crab1 : crab2);
                break;
            default:
                RuleMissionTest::play(std::string(1, step));
            }
        }
        return recorder->words;
    }

    KVPawn* crab1 = nullptr;
    KVPawn* crab2 = nullptr;
    ComboRecorder* recorder = nullptr;
};

TEST_F(ComboTest, TheLevelOfASoloMissionAppendsTheTenCombosAfterTheFileRules) {
    KVRuleManager* manager = KVRuleManager::getInstance();
    kvengine::CCMutableArray<KVRule*>* rules = manager->getRules();
    ASSERT_EQ(rules->count(), 11u);
    EXPECT_EQ(manager->getFileRuleCount(), 1u);
    EXPECT_FALSE(rules->objectAtIndex(0)->isKindOf("KVRuleCombo"));
    EXPECT_EQ(manager->fileRuleAt(1), nullptr) << "the combos are not the file's";
    for (unsigned type = 0; type < 10; ++type) {
        ASSERT_TRUE(rules->objectAtIndex(type + 1)->isKindOf("KVRuleCombo"));
        auto* combo = static_cast<KVRuleCombo*>(rules->objectAtIndex(type + 1));
        EXPECT_EQ(combo->getType(), static_cast<int>(type));
        EXPECT_EQ(combo->getConditions()->count(), 1u);
        EXPECT_EQ(combo->getEffects()->count(), 1u);
        EXPECT_EQ(combo->getComboPawn(), kelvos[0]);
    }
}

TEST_F(ComboTest, MovesFireTheirCombosWithStickerPointsAndPearl) {
    struct Case {
        const char* what;
        const char* script;
        const char* expected;
    } const cases[] = {
        {"two area hits are no combo", "aAU", ""},
        {"four enemies in one blast: one area combo of 60, the pearl at the last enemy hit", "aAaAUU",
         "quake_shot.png:60 pearl60@crab2"},
        {"three area hits pay 30, the pearl at the last enemy added", "aAaU",
         "quake_shot.png:30 pearl30@crab2"},
        {"six in one blast: 100 and the seafood porridge", "aAaAaAU",
         "SEAFOOD_PORRIDGE quake_shot.png:100 pearl100@crab2"},
        {"after an area combo the count starts again within the move", "aAaUaAU",
         "quake_shot.png:30 pearl30@crab2"},
        {"the same crab twice: double bounce, 10 and a pearl of 10 at it", "mmU",
         "double_bounce.png:10 pearl10@crab1"},
        {"a third and a fourth hit of the move fire again, the sticker showing the chain's total", "mmUmUmU",
         "double_bounce.png:10 pearl10@crab1 triple_bounce.png:20 pearl10@crab1 super_bounce.png:30 "
         "pearl10@crab1"},
        {"two melee hits in one frame fire one combo", "mMUU", "double_bounce.png:10 pearl10@crab2"},
        {"the fifth melee hit of a move is kung fu", "mmmmmU",
         "KUNG_FU_KELVO super_bounce.png:40 pearl10@crab1"},
        {"hits of the other kelvo or of an AI-driven ally are not counted", "moiU", ""},
        {"two heals, one without healer, fire the double kiss at the healed kelvo", "hHU",
         "double_kiss.png:20 pearl20@kelvo2"},
        {"the move's end forgets the count", "mEmU", ""},
        {"a double hit in a later move fires again", "mmUEmmU",
         "double_bounce.png:10 pearl10@crab1 double_bounce.png:10 pearl10@crab1"},
        {"a later move fires at its second hit also after a chain of three", "mmUmUEmmU",
         "double_bounce.png:10 pearl10@crab1 triple_bounce.png:20 pearl10@crab1 double_bounce.png:10 "
         "pearl10@crab1"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        EXPECT_EQ(play(c.script), c.expected);
        play("E");
    }
}

TEST_F(ComboTest, AnEagleShotNeedsThreeQuartersOfTheShootersRange) {
    // A kelvo of the player with a range of 320 pixels (10 m), and an AI-driven ally with the same.
    pawntest::TestPawn* shooter =
        pawntest::TestPawn::make("shooter", 2.0f, 3.0f, pawntest::fighterStats({{"Range Target", "320"}}));
    pawntest::TestPawn* aiShooter = pawntest::TestPawn::make(
        "aishooter", 2.0f, 3.0f, pawntest::fighterStats({{"Range Target", "320"}}), false, true);
    pawntest::TestPawn* noRange = pawntest::TestPawn::make("norange", 2.0f, 3.0f, pawntest::fighterStats());
    struct Case {
        KVPawn* shooter;
        float crabX;
        const char* expected;
    } const cases[] = {
        {shooter, 9.5f, "eagle_shot.png:20 pearl20@crab1"},  // 75 %
        {shooter, 9.4f, ""},                                 // 74 %
        {shooter, 20.0f, "eagle_shot.png:20 pearl20@crab1"}, // beyond the range
        {aiShooter, 9.5f, ""},
        {noRange, 9.5f, ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::to_string(c.crabX) + " " + c.shooter->getTypeName()->text);
        place(c.shooter, 2.0f, 3.0f);
        place(crab1, c.crabX, 3.0f);
        act(KVActionEvent::DistanceHit, c.shooter, crab1);
        EXPECT_EQ(play("U"), c.expected);
        play("E");
    }
    for (KVPawn* pawn :
         {static_cast<KVPawn*>(shooter), static_cast<KVPawn*>(aiShooter), static_cast<KVPawn*>(noRange)}) {
        post(EVENT_REMOVE_ACTOR, pawn);
        pawn->release();
    }
}

TEST_F(ComboTest, TheSpikyShellAndTheNinjaLogPayTheirTricks) {
    act(KVActionEvent::SpikyShellPrick, kelvos[0], crab1);
    act(KVActionEvent::SpikyShellPrick, crab2, kelvos[0]); // an enemy's shell is no trick
    EXPECT_EQ(play("UU"), "team_trick.png:20 pearl20@crab1");
    play("E");

    // The second kelvo's log fools crab 2, which a spiky ball hits afterwards: the log's owner is
    // credited.
    recorder->comboPawn = kelvos[1];
    act(KVActionEvent::NinjaLogAbsorbed, kelvos[1], crab2);
    act(KVActionEvent::SpikyBallHit, nullptr, crab1);
    EXPECT_EQ(play("U"), "");
    act(KVActionEvent::SpikyWallHit, nullptr, crab2);
    EXPECT_EQ(play("UU"), "big_bluff.png:50 pearl50@crab2");
    // Fooled again, then fallen into a hole.
    act(KVActionEvent::NinjaLogAbsorbed, kelvos[1], crab2);
    post(EVENT_PAWN_FALL, crab2);
    EXPECT_EQ(play("U"), "big_bluff.png:50 pearl50@crab2");
    // The end of the move disarms the log.
    act(KVActionEvent::NinjaLogAbsorbed, kelvos[1], crab2);
    play("E");
    post(EVENT_PAWN_FALL, crab2);
    EXPECT_EQ(play("U"), "");
}

TEST_F(ComboTest, ABounceKickNeedsTwoLongLegsAndNeverFiresInTheBossMission) {
    KVPawn* kelvo = kelvos[0];
    // The move starts at (2, 3); the kelvo bounces off a wall, then strikes crab 1.
    auto bounceAndStrike = [&](float firstLeg, float secondLeg) {
        place(kelvo, 2.0f, 3.0f);
        post(EVENT_MOVE_OVER);
        place(kelvo, 2.0f + firstLeg, 3.0f);
        KVContactInfo wall;
        wall.self = kelvo;
        kelvo->beginContact(&wall);
        place(kelvo, 2.0f + firstLeg + secondLeg, 3.0f);
        act(KVActionEvent::MeleeHit, kelvo, crab1);
    };
    struct Case {
        float first;
        float second;
        const char* expected;
    } const cases[] = {
        {0.3125f, 0.3125f, "bounce_kick.png:5 pearl5@crab1"},
        {0.3f, 1.0f, ""},
        {1.0f, 0.3f, ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::to_string(c.first) + " then " + std::to_string(c.second));
        bounceAndStrike(c.first, c.second);
        EXPECT_EQ(play("U"), c.expected);
        play("E");
    }
    // A strike without a bounce in this move.
    act(KVActionEvent::MeleeHit, kelvo, crab1);
    EXPECT_EQ(play("U"), "");
    play("E");

    KVGameSetup::getInstance()->setMissionName(new CCString("C0M26"));
    KVGameSetup::getInstance()->getMissionName()->release();
    bounceAndStrike(1.0f, 1.0f);
    EXPECT_EQ(play("UU"), "");
    KVRule* rule = KVRuleManager::getInstance()->ruleAt(kComboBounceKick + 1);
    ASSERT_TRUE(rule != nullptr && rule->isKindOf("KVRuleCombo"));
    auto* combo = static_cast<KVRuleCombo*>(rule);
    auto* condition = static_cast<KVConditionComboBounceKick*>(combo->getConditions()->objectAtIndex(0));
    EXPECT_TRUE(condition->getBouncedPawns()->containsObject(kelvo));
}

TEST_F(ComboTest, AnEnemyShotIntoAHoleInTheSameMoveIsAnAchievement) {
    // The announcement comes with the fall itself.
    EXPECT_EQ(play("dfU"), "");
    EXPECT_EQ(play("F"), "DONT_RUN_NEAR_POOL");
    EXPECT_EQ(play("dEFU"), "");
}

TEST_F(ComboTest, TheComboPawnFollowsTheTurnsAndLeavesWithItsPawn) {
    KVRule* rule = KVRuleManager::getInstance()->ruleAt(kComboMelee + 1);
    ASSERT_TRUE(rule != nullptr && rule->isKindOf("KVRuleCombo"));
    auto* combo = static_cast<KVRuleCombo*>(rule);
    post(EVENT_START_TURN, kelvos[1]);
    EXPECT_EQ(combo->getComboPawn(), kelvos[1]);
    // The first kelvo's hits no longer count.
    EXPECT_EQ(play("mmU"), "");
    post(EVENT_REMOVE_ACTOR, kelvos[1]);
    EXPECT_EQ(combo->getComboPawn(), nullptr);
    // Without a combo pawn only actions without an actor count.
    EXPECT_EQ(play("mmU"), "");
    act(KVActionEvent::MeleeHit, nullptr, crab1);
    act(KVActionEvent::MeleeHit, nullptr, crab1);
    recorder->comboPawn = nullptr;
    EXPECT_EQ(play("U"), "double_bounce.png:10 pearl10@crab1");
}

TEST(ComboRewardTable, PointsAndPearlsByTypeAndCount) {
    struct Case {
        int type;
        int counter;
        const char* sticker;
        int points;
        int pearl;
    } const cases[] = {
        {kComboAreaAttack, 3, "quake_shot.png", 30, 30}, {kComboAreaAttack, 9, "quake_shot.png", 100, 100},
        {kComboMelee, 2, "double_bounce.png", 10, 10},   {kComboMelee, 6, "super_bounce.png", 50, 10},
        {kComboHeal, 2, "double_kiss.png", 20, 20},      {kComboHeal, 7, "double_kiss.png", 120, 20},
        {kComboHeal, 0, "double_kiss.png", 0, 0},        {kComboNinjaLog, 0, "big_bluff.png", 50, 50},
        {kComboSpikyShell, 0, "team_trick.png", 20, 20}, {kComboBounceKick, 0, "bounce_kick.png", 5, 5},
        {kComboAreaAchievement, 6, "Undefined", 0, 0},   {-1, 2, "Undefined", 0, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::to_string(c.type) + " x" + std::to_string(c.counter));
        const KVEffectComboPearl::Reward reward = KVEffectComboPearl::rewardFor(c.type, c.counter);
        EXPECT_STREQ(reward.sticker, c.sticker);
        EXPECT_EQ(reward.points, c.points);
        EXPECT_EQ(reward.pearl, c.pearl);
    }
}

} // namespace
