// The coconut-crab boss's views: the skeleton's animations in step with the controller's
// triggers, the throw's blow, the head's poses through the fight, the death, and the eyes' views.
#include "PawnViewFixture.h"

#include "game/pawns/KVCoconutCrab.h"
#include "game/pawns/KVCoconutCrabEye.h"
#include "game/views/KVCoconutCrabV.h"
#include "game/views/KVPawnDamageFeedback.h"

using viewtest::PawnViewTest;

namespace {

// The animation set of the boss: a throw to the left shorter than the blow's 1.2 s, one to the
// right longer.
const char* bossAnimations() {
    return R"(<key>coconut_crab</key><dict><key>idle</key><string>2</string><key>quake</key><string>3</string>
<key>swipe</key><string>4</string><key>throw_left</key><string>4</string><key>throw_right</key><string>30</string>
<key>idle_ko_left</key><string>2</string><key>idle_ko_right</key><string>2</string><key>idle_ko</key><string>2</string>
<key>idle_weakpoint</key><string>2</string></dict>)";
}

const char* bossStats() {
    return R"(<key>CoconutCrab</key><dict><key>HP</key><string>600</string><key>SP</key><string>100</string>
<key>Radius</key><string>96</string><key>spritesheet_name</key><string>coconut_crab_body_ss</string>
<key>sprite_name</key><string>body</string></dict>
<key>CoconutCrabEye</key><dict><key>HP</key><string>120</string><key>Defense</key><string>2</string>
<key>Radius</key><string>20</string><key>Weight Density</key><string>5</string>
<key>spritesheet_name</key><string>coconut_crab_body_ss</string></dict>
<key>CoconutCrabMouth</key><dict><key>HP</key><string>200</string><key>Radius</key><string>28</string>
<key>Weight Density</key><string>5</string><key>spritesheet_name</key><string>coconut_crab_body_ss</string></dict>)";
}

std::string withEntries(const std::string& plist, const std::string& entries) {
    std::string text = plist;
    text.insert(text.find("<dict>") + 6, entries);
    return text;
}

class CoconutCrabViewTest : public PawnViewTest {
protected:
    void SetUp() override {
        PawnViewTest::SetUp();
        kvtest::replaceDataFile("animSettings.plist",
                                withEntries(viewtest::animSettings(), bossAnimations()));
        kvtest::replaceDataFile("kelvoStatsAI.plist", withEntries(viewtest::aiStats(), bossStats()));
        if (auto* parameters = KVGameParameters::existingInstance()) parameters->release();
        for (const char* sheet : {"coconut_crab_body_ss", "coconut_crab_head_ss", "coconut_crab_l_arm_ss",
                                  "coconut_crab_r_arm_ss", "coconut_crab_l_claw_ss", "coconut_crab_r_claw_ss",
                                  "coconut_crab_sfx_ss", "coconut_crab_sfx_weakpoint_ss"}) {
            kvengine::CCNode* node = kvengine::CCNode::create();
            layer->addChild(node);
            layer->sheets[sheet] = node;
        }
        boss = enemy<KVCoconutCrab>("CoconutCrab", 15.0f, 3.0f);
        view = viewOf<KVCoconutCrabV>(boss);
        makeTrace({EVENT_COCONUT_CRAB_THROW_LEFT_ATTACK_TRIGGER,
                   EVENT_COCONUT_CRAB_THROW_RIGHT_ATTACK_TRIGGER, EVENT_COCONUT_CRAB_THROW_LEFT_ANIM_END,
                   EVENT_COCONUT_CRAB_THROW_RIGHT_ANIM_END, EVENT_COCONUT_CRAB_SWIPE_ANIM_END,
                   EVENT_COCONUT_CRAB_QUAKE_ANIM_END});
        trace->name(boss, "boss");
    }
    void addExtraFrames(viewtest::FrameSet& frames) override {
        const std::pair<const char*, int> animations[] = {
            {"idle", 2}, {"quake", 3}, {"swipe", 4}, {"throw_left", 4}, {"throw_right", 30}};
        for (const char* part : KVCoconutCrabV::kParts)
            for (const auto& [word, count] : animations)
                frames.addNumbered(std::string(part) + "_" + word, 1, count);
        for (const char* pose : {"idle_ko_left", "idle_ko_right", "idle_ko", "idle_weakpoint"})
            frames.addNumbered(std::string("head_") + pose, 1, 2);
        frames.addNumbered("swipe_sfx", 1, 9);
        frames.addNumbered("weak_sfx", 1, 23);
    }
    /// Kills a part and answers its death as its own view would.
    void destroy(KVPawn* part) {
        part->retain();
        part->takeDamage(100000, nullptr, 1, 1.0f, 0.0f);
        post(EVENT_DEAD_PAWN_READY, part);
        part->release();
    }
    bool headRests(const char* pose) {
        KVPawnV::AnimationDictionary* head = view->getPartAnimations("head");
        return head->objectForKey("idle") == head->objectForKey(pose);
    }
    /// Frames until `line` is traced (at most `limit`); -1 when it never is.
    int framesUntil(const std::string& line, int limit = 200) {
        for (int i = 1; i <= limit; ++i) {
            step();
            if (trace->count(line) > 0) return i;
        }
        return -1;
    }

    KVCoconutCrab* boss = nullptr;
    KVCoconutCrabV* view = nullptr;
};

TEST_F(CoconutCrabViewTest, TheSkeletonStandsOnTheBossAndThePawnPartsStayHidden) {
    for (const char* part : KVCoconutCrabV::kParts) {
        SCOPED_TRACE(part);
        kvengine::CCSprite* sprite = view->getPartSprite(part);
        ASSERT_NE(sprite, nullptr);
        EXPECT_FLOAT_EQ(sprite->getScale(), 4.0f / 3.0f);
        EXPECT_FLOAT_EQ(sprite->getPosition().x, 15.0f * 32.0f);
        EXPECT_EQ(sprite->getParent(), layer->sheets["coconut_crab_" + std::string(part) + "_ss"]);
    }
    step();
    EXPECT_FALSE(view->getBodySprite()->isVisible());
    EXPECT_FALSE(view->getWeakPointGlow()->isVisible());
    EXPECT_FALSE(view->getSwipeEffect()->isVisible());
    view->showHealthGauge(false);
    EXPECT_FALSE(view->isGaugeShown()) << "the boss body shows no gauge";
}

// A throw shorter than 1.2 s posts its blow once, at its end, before the end; a longer one at
// 1.2 s. Either posts its blow exactly once.
TEST_F(CoconutCrabViewTest, TheThrowsBlowComesOnceAt1point2SecondsOrAtAShorterThrowsEnd) {
    struct Case {
        kvengine::CCString* trigger;
        const char* blow;
        const char* end;
        int blowFrame; // from the trigger
        int endFrame;
    };
    const Case cases[] = {
        {EVENT_COCONUT_CRAB_THROW_LEFT_TRIGGER, "EVENT_COCONUT_CRAB_THROW_LEFT_ATTACK_TRIGGER boss",
         "EVENT_COCONUT_CRAB_THROW_LEFT_ANIM_END -", 13, 13}, // 4 x 0.05 s
        {EVENT_COCONUT_CRAB_THROW_RIGHT_TRIGGER, "EVENT_COCONUT_CRAB_THROW_RIGHT_ATTACK_TRIGGER boss",
         "EVENT_COCONUT_CRAB_THROW_RIGHT_ANIM_END -", 72, 91}, // 30 x 0.05 s
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.blow);
        trace->clear();
        trace->frame = 0;
        post(c.trigger);
        EXPECT_EQ(view->getThrowSide(), c.trigger == EVENT_COCONUT_CRAB_THROW_LEFT_TRIGGER ? 1 : 2);
        const int end = framesUntil(c.end);
        EXPECT_NEAR(end, c.endFrame, 1) << trace->dump();
        ASSERT_EQ(trace->count(c.blow), 1) << trace->dump();
        const int blow = trace->find(c.blow);
        EXPECT_LT(blow, trace->find(c.end)) << "the blow comes before the end";
        EXPECT_NEAR(trace->frames[static_cast<size_t>(blow)], c.blowFrame, 1);
        step(120);
        EXPECT_EQ(trace->count(c.blow), 1) << "once";
        EXPECT_EQ(view->getThrowSide(), 0) << "back at rest";
    }
}

// The head's rest follows the fight: one eye, both (with the weak-point glow), the mouth; at
// death the puffs start, the boss quakes once more without asking the controller for another
// quake, and rests knocked out.
TEST_F(CoconutCrabViewTest, TheHeadFollowsTheFightAndDeathQuakesWithoutAnEnd) {
    post(EVENT_COCONUT_CRAB_QUAKE_TRIGGER);
    EXPECT_GT(framesUntil("EVENT_COCONUT_CRAB_QUAKE_ANIM_END -"), 0) << "a living boss ends its quake";
    post(EVENT_COCONUT_CRAB_SWIPE_TRIGGER);
    EXPECT_GT(framesUntil("EVENT_COCONUT_CRAB_SWIPE_ANIM_END -"), 0);
    trace->clear();

    destroy(boss->getRightEye());
    EXPECT_TRUE(headRests("idle_ko_right"));
    destroy(boss->getLeftEye());
    EXPECT_TRUE(headRests("idle_ko"));
    EXPECT_TRUE(view->getWeakPointGlow()->isVisible());
    seconds(1.5f);
    ASSERT_NE(boss->getMouth(), nullptr);
    EXPECT_TRUE(headRests("idle_weakpoint"));
    EXPECT_FALSE(view->getWeakPointGlow()->isVisible());

    destroy(boss->getMouth());
    EXPECT_TRUE(view->isDyingBoss());
    EXPECT_EQ(view->getDeathQuakeCount(), 1);
    seconds(1.0f);
    EXPECT_EQ(trace->count("EVENT_COCONUT_CRAB_QUAKE_ANIM_END -"), 0) << trace->dump();
    EXPECT_TRUE(headRests("idle_ko"));
    ASSERT_NE(view->getPuffs(), nullptr);
    EXPECT_EQ(view->getPuffs()->count(), 2u) << "a pool of two, reused";
    for (kvengine::CCSprite* puff : *view->getPuffs())
        EXPECT_EQ(puff->getParent(), layer->sheets["top_sfx_51_ss"]);
}

// An eye knocked out while the boss attacks (its own quake or a ball bouncing back) changes the
// head's rest pose but lets the attack end, and announce its end, so that the boss's turn goes on.
TEST_F(CoconutCrabViewTest, AnEyeKnockedOutMidAttackLetsTheAttackEndInTheNewRestPose) {
    struct Case {
        kvengine::CCString* trigger;
        const char* end;
        bool leftEye;
        const char* pose;
    };
    const Case cases[] = {
        {EVENT_COCONUT_CRAB_QUAKE_TRIGGER, "EVENT_COCONUT_CRAB_QUAKE_ANIM_END -", false, "idle_ko_right"},
        {EVENT_COCONUT_CRAB_SWIPE_TRIGGER, "EVENT_COCONUT_CRAB_SWIPE_ANIM_END -", true, "idle_ko"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.end);
        trace->clear();
        post(c.trigger);
        step(2);
        destroy(c.leftEye ? boss->getLeftEye() : boss->getRightEye());
        EXPECT_TRUE(headRests(c.pose));
        EXPECT_GT(framesUntil(c.end), 0) << trace->dump();
        EXPECT_EQ(trace->count(c.end), 1);
    }
}

// The eyes' views show nothing of their own, but a hit on an eye shows its gauge and its damage
// figure; it has no hit animation, so the hit ends at once.
TEST_F(CoconutCrabViewTest, AHitOnAnEyeShowsItsGaugeAndFigureWithoutAnimations) {
    KVCoconutCrabEye* eye = boss->getLeftEye();
    auto* eyeView = viewOf<KVCoconutCrabEyeV>(eye);
    step();
    EXPECT_FALSE(eyeView->getBodySprite()->isVisible());
    EXPECT_FALSE(eyeView->getShadow()->isVisible());
    eye->takeDamage(50, nullptr, 1, 1.0f, 0.0f);
    step();
    EXPECT_EQ(eye->getHitPoints(), 72);
    EXPECT_TRUE(eyeView->isGaugeShown());
    EXPECT_NEAR(eyeView->getHPRatio(), 72.0f / 120.0f, 1e-3f);
    EXPECT_EQ(eyeView->getDamageFeedback()->getFigures()->count(), 1u);
    EXPECT_FALSE(eyeView->getBodySprite()->isVisible());
    EXPECT_EQ(eyeView->getState(), KVPawnV::kStateIdle) << "the missing hit animation ended at once";

    auto* mouthView = new KVCoconutCrabMouthV();
    EXPECT_EQ(mouthView->getFirstFrameName(), "body_idle_01.png");
    mouthView->release();
}

} // namespace
