// Pearls and pearl rewards: the sprites a value shows, the acquired posts and the action a pearl
// reports when collected, the view's timeline (pop-out, flight, removal, the eighth turn, the
// victory dance), and the rewards the pearl-reward manager drops for knock-outs and falls.
#include "game/views/PawnViewFixture.h"

#include "engine/sprites/CCSprite.h"
#include "game/objects/KVPearl.h"
#include "game/objects/KVPearlV.h"
#include "game/score/KVScoreManagerSolo.h"
#include "game/score/KVXpManager.h"

using kvengine::CCString;
using pawntest::Trace;

namespace {

// Keeps every pearl announced, with a view on the test layer, as the game model and the gameplay
// layer do.
class PearlCatcher : public kvengine::CCObject {
public:
    explicit PearlCatcher(KVActorViewHost* host) : m_host(host) {
        kvengine::CCNotificationCenter::getInstance()->addObserver(
            this, notification_selector(PearlCatcher::onNewActor), EVENT_NEW_ACTOR);
    }
    void cleanupBeforeDelete() override {
        kvengine::CCNotificationCenter::getInstance()->removeObserver(this);
        for (KVPearlV* view : views)
            view->release();
        for (KVPearl* pearl : pearls)
            pearl->release();
    }
    void onNewActor(kvengine::CCNotification* notification) {
        auto* pearl = dynamic_cast<KVPearl*>(notification->getObject());
        if (pearl == nullptr) return;
        pearl->retain();
        pearls.push_back(pearl);
        auto* view = new KVPearlV();
        EXPECT_TRUE(view->initWithActor(pearl, m_host));
        views.push_back(view);
    }
    void update(float dt) override {
        for (KVPearlV* view : views)
            if (view->isAttached()) view->update(dt);
    }
    std::vector<KVPearl*> pearls;
    std::vector<KVPearlV*> views;

private:
    KVActorViewHost* m_host;
};

class KVPearlRewardTest : public viewtest::PawnViewTest {
protected:
    void SetUp() override {
        PawnViewTest::SetUp();
        catcher = new PearlCatcher(layer);
        // The stats of the test crab with a reward.
        kvdata::setText(KVGameParameters::getInstance()->getKelvoAiStats("crab"), "Pearl Reward", "10");
    }
    void TearDown() override {
        if (xp != nullptr) xp->release();
        catcher->release();
        PawnViewTest::TearDown();
    }
    void addExtraFrames(viewtest::FrameSet& frames) override {
        frames.add("pearl.png");
        frames.add("pearl_glow.png");
    }
    // A pearl of `value` (kind 18) at (4, 5) metres, with its view.
    KVPearl* dropPearl(int value) {
        auto* pearl = new KVPearl(nullptr, value, KVActionEvent::PearlReward);
        pearl->positionX = 4.0f;
        pearl->positionY = 5.0f;
        pearl->release(); // the catcher keeps it
        return pearl;
    }
    void frames(int count) {
        for (int i = 0; i < count; ++i) {
            catcher->update(viewtest::kFrame);
            kvengine::CCActionManager::getInstance()->update(viewtest::kFrame);
            if (trace != nullptr) ++trace->frame;
        }
    }
    KVPawn* kelvo(int level) {
        auto* pawn = pawntest::TestPawn::make("kelvo", 1.0f, 1.0f, pawntest::fighterStats());
        pawn->setLevel(level);
        pawns.push_back(pawn);
        return pawn;
    }
    KVPawn* crab(int level) {
        auto* pawn = enemy<KVCrab>("crab", 8.0f, 2.0f);
        pawn->setLevel(level);
        return pawn;
    }

    PearlCatcher* catcher = nullptr;
    KVXpManager* xp = nullptr;
};

TEST_F(KVPearlRewardTest, SpriteCountsAndAcquiredPostsByValue) {
    const std::pair<int, int> sprites[] = {{0, 0},  {1, 1},  {3, 3},  {4, 3},
                                           {10, 3}, {11, 6}, {25, 6}, {26, 12}};
    for (const auto& [value, count] : sprites) {
        EXPECT_EQ(KVPearlV::spriteCountForValue(value), count) << value;
        dropPearl(value);
        EXPECT_EQ(catcher->views.back()->getPearlCount(), count) << value;
    }
    auto* t = makeTrace({EVENT_PEARL_ACQUIRED, EVENT_ACTION});
    const std::pair<int, int> posts[] = {{6, 1}, {7, 2}, {20, 2}, {21, 3}, {50, 3}, {51, 4}};
    for (const auto& [value, count] : posts) {
        t->clear();
        KVPearl* pearl = dropPearl(value);
        pearl->postAcquiredEvents();
        pearl->postAcquiredEvents(); // counted once
        EXPECT_EQ(t->count("EVENT_PEARL_ACQUIRED ?"), count) << value;
        ASSERT_EQ(t->count("EVENT_ACTION 18 " + std::to_string(value) + " ->-"), 1) << t->dump();
        EXPECT_EQ(pearl->getPickRadius(), 0.0f);
    }
    EXPECT_TRUE(logged("already collected"));
}

TEST_F(KVPearlRewardTest, APearlPopsOutFliesToThePawnOfTheTurnAndIsRemoved) {
    auto* t = makeTrace({EVENT_PEARL_PICKED, EVENT_PEARL_ACQUIRED, EVENT_ACTION, EVENT_REMOVE_ACTOR});
    KVPearl* pearl = dropPearl(10);
    KVPearlV* view = catcher->views.back();
    EXPECT_EQ(pearl->getPickRadius(), KVPearl::kPickRadius);
    ASSERT_EQ(view->getPearlCount(), 3);
    EXPECT_FLOAT_EQ(view->getPearlSprite(0)->getScale(), 0.01f);
    frames(9); // 0.15 s: half grown
    EXPECT_NEAR(view->getPearlSprite(0)->getScale(), 0.5f, 0.02f);
    frames(16); // past 0.4 s: picked (no turn running: they fly to their own place)
    EXPECT_TRUE(view->isCollecting());
    ASSERT_EQ(t->lines.size(), 4u) << t->dump();
    EXPECT_EQ(t->lines[0], "EVENT_PEARL_PICKED -");
    EXPECT_EQ(t->lines[1], "EVENT_PEARL_ACQUIRED ?");
    EXPECT_EQ(t->lines[3], "EVENT_ACTION 18 10 ->-");
    EXPECT_NEAR(view->getTarget().x, 4.0f * 32.0f, 0.01f);
    frames(30); // the fade ends: the model is removed once
    EXPECT_EQ(t->count("EVENT_REMOVE_ACTOR ?"), 1) << t->dump();
    EXPECT_EQ(view->getPearlSprite(0)->getOpacity(), 0);
    // The victory dance after collection counts nothing more.
    post(EVENT_VICTORY_DANCE);
    EXPECT_EQ(t->count("EVENT_ACTION 18 10 ->-"), 1);
}

TEST_F(KVPearlRewardTest, AnEmptyPearlWaitsForTheEighthTurnOrTheVictoryDance) {
    auto* t = makeTrace({EVENT_PEARL_ACQUIRED, EVENT_ACTION, EVENT_REMOVE_ACTOR});
    dropPearl(0);
    frames(120);
    EXPECT_TRUE(t->lines.empty());
    for (int turn = 1; turn <= 7; ++turn)
        post(EVENT_START_TURN);
    EXPECT_TRUE(t->lines.empty());
    post(EVENT_START_TURN);
    EXPECT_EQ(t->lines, std::vector<std::string>{"EVENT_REMOVE_ACTOR ?"});

    t->clear();
    dropPearl(0);
    post(EVENT_VICTORY_DANCE);
    EXPECT_EQ(t->lines, (std::vector<std::string>{"EVENT_PEARL_ACQUIRED ?", "EVENT_ACTION 18 0 ->-",
                                                  "EVENT_REMOVE_ACTOR ?"}));
}

TEST_F(KVPearlRewardTest, UncollectedPearlsFadeAtTheEighthTurnStartWithoutCounting) {
    auto* t = makeTrace({EVENT_ACTION, EVENT_REMOVE_ACTOR});
    KVPearlV* view = nullptr;
    dropPearl(4);
    view = catcher->views.back();
    // Kept from collecting: only the turns run.
    for (int turn = 0; turn < 8; ++turn)
        post(EVENT_START_TURN);
    EXPECT_EQ(view->getTurnsLeft(), 0);
    for (int i = 0; i < 30; ++i)
        kvengine::CCActionManager::getInstance()->update(viewtest::kFrame);
    EXPECT_EQ(t->lines, std::vector<std::string>{"EVENT_REMOVE_ACTOR ?"});
}

struct RewardCase {
    const char* label;
    int type;
    int attackerLevel;
    int targetLevel;
    const char* reward; // the crab's "Pearl Reward"; null: none
    bool aiAttacker;
    bool kelvoTarget;
    int pearl; // value of the pearl dropped; -1: none
};

TEST_F(KVPearlRewardTest, RewardsOfKnockOutsAndFalls) {
    const RewardCase cases[] = {
        {"two levels above: x0.7", KVActionEvent::KnockOut, 5, 3, "10", false, false, 6},
        {"two levels below: x1.3", KVActionEvent::KnockOut, 5, 7, "10", false, false, 12},
        {"one level below", KVActionEvent::KnockOut, 5, 6, "10", false, false, 10},
        {"one level above", KVActionEvent::KnockOut, 5, 4, "10", false, false, 10},
        {"reward 1 at an advantage: a pearl of 0", KVActionEvent::KnockOut, 5, 3, "1", false, false, 0},
        {"a fall gives the full reward", KVActionEvent::EnemyFell, 5, 3, "10", false, false, 10},
        {"no reward in the stats", KVActionEvent::KnockOut, 5, 5, nullptr, false, false, -1},
        {"reward 0", KVActionEvent::KnockOut, 5, 5, "0", false, false, -1},
        {"a computer-driven attacker", KVActionEvent::KnockOut, 5, 5, "10", true, false, -1},
        {"a kelvo knocked out", KVActionEvent::KnockOut, 5, 5, "10", false, true, -1},
        {"a hit is no reward", KVActionEvent::MeleeHit, 5, 5, "10", false, false, -1},
    };
    xp = new KVXpManager();
    kvdata::Dict* crabStats = KVGameParameters::getInstance()->getKelvoAiStats("crab");
    for (const RewardCase& c : cases) {
        SCOPED_TRACE(c.label);
        if (c.reward != nullptr)
            kvdata::setText(crabStats, "Pearl Reward", c.reward);
        else
            crabStats->removeObjectForKey("Pearl Reward");
        KVPawn* attacker = kelvo(c.attackerLevel);
        attacker->setAIDriven(c.aiAttacker);
        KVPawn* target = c.kelvoTarget ? kelvo(c.targetLevel) : crab(c.targetLevel);
        auto* t = makeTrace({EVENT_ACTION});
        const size_t before = catcher->pearls.size();
        post(EVENT_ACTION, KVActionEvent::create(c.type, 0, 0.0f, attacker, target));
        if (c.pearl < 0) {
            EXPECT_EQ(catcher->pearls.size(), before);
        } else {
            ASSERT_EQ(catcher->pearls.size(), before + 1);
            EXPECT_EQ(catcher->pearls.back()->getValue(), c.pearl);
            EXPECT_EQ(catcher->pearls.back()->getRewardKind(), 18);
            EXPECT_FLOAT_EQ(catcher->pearls.back()->positionX, target->positionX);
        }
        // The reward is reported when the pearl is collected, not when it drops.
        EXPECT_EQ(t->lines.size(), 1u) << t->dump();
        TearDownTraces();
    }
    // The pearls on the board are listed until removed.
    EXPECT_EQ(xp->getPickableObjects()->count(), 6u);
    post(EVENT_REMOVE_ACTOR, catcher->pearls.front());
    EXPECT_EQ(xp->getPickableObjects()->count(), 5u);
}

TEST_F(KVPearlRewardTest, TheScoreCountsAKnockOutRewardOnceWhenCollected) {
    xp = new KVXpManager();
    auto* score = new KVScoreManagerSolo();
    post(EVENT_ACTION, KVActionEvent::create(KVActionEvent::KnockOut, 0, 0.0f, kelvo(4), crab(4)));
    EXPECT_EQ(score->getScore(), 0); // dropped, not yet collected
    frames(60);
    EXPECT_EQ(score->getScore(), 10);
    post(EVENT_VICTORY_DANCE);
    frames(60);
    EXPECT_EQ(score->getScore(), 10);
    score->release();
}

TEST_F(KVPearlRewardTest, KnockOutRewardFactorTruncates) {
    const int cases[][3] = {{10, 2, 6},   {10, 9, 6}, {10, -2, 12}, {10, 1, 10},
                            {10, -1, 10}, {1, 2, 0},  {3, -5, 3}};
    for (const auto& c : cases)
        EXPECT_EQ(KVXpManager::knockOutReward(c[0], c[1]), c[2]) << c[0] << " " << c[1];
}

} // namespace
