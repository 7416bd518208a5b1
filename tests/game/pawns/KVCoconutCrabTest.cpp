// The coconut-crab boss: its parts and their losses, its brain's choices and its controller's
// attacks, played headless with the view's notifications posted by the test.
#include "PawnTestSupport.h"
#include "tests/game/data/GameDataFixture.h"

#include <algorithm>
#include <cmath>

#include "engine/base/CCRandom.h"
#include "game/data/KVGameSetup.h"
#include "game/objects/KVSpikyBall.h"
#include "game/pawns/KVCoconutCrab.h"
#include "game/pawns/KVCoconutCrabBrain.h"
#include "game/pawns/KVCoconutCrabController.h"
#include "game/pawns/KVCoconutCrabEye.h"
#include "game/world/KVRunningMission.h"

using kvengine::CCNotificationCenter;
using pawntest::fighterStats;
using pawntest::LogCapture;
using pawntest::Trace;

namespace {

constexpr float kBossX = 15.0f;
constexpr float kBossY = 3.0f;

const char* bossStats() {
    return R"(<?xml version="1.0" encoding="UTF-8"?>
<plist version="1.0"><dict>
<key>CoconutCrab</key><dict><key>HP</key><string>600</string><key>SP</key><string>100</string>
<key>Defense</key><string>8</string><key>Radius</key><string>96</string><key>Weight Density</key><string>5</string>
<key>level</key><string>5</string><key>engine_class</key><string>KVCoconutCrab</string></dict>
<key>CoconutCrabEye</key><dict><key>HP</key><string>120</string><key>Defense</key><string>2</string>
<key>Radius</key><string>20</string><key>Weight Density</key><string>5</string><key>level</key><string>1</string></dict>
<key>CoconutCrabMouth</key><dict><key>HP</key><string>200</string><key>Defense</key><string>4</string>
<key>Radius</key><string>28</string><key>Weight Density</key><string>5</string><key>level</key><string>1</string></dict>
</dict></plist>
)";
}

/// The running mission as the quake asks it: the list of actors it updates.
class TestMission : public KVObject, public KVRunningMission {
public:
    CC_DECLARE_CLASS_NAME(TestMission, KVObject)
    KVPawn* getCurrentPawn() override { return nullptr; }
    int getPlayerTurnCount() override { return 0; }
    kvengine::CCMutableArray<KVObject*>* getMissionActors() override { return &actors; }
    kvengine::CCMutableArray<KVObject*> actors;
};

/// Keeps every spiky ball announced (the game model would).
class BallCatcher : public kvengine::CCObject {
public:
    BallCatcher() {
        CCNotificationCenter::getInstance()->addObserver(this, notification_selector(BallCatcher::onNewActor),
                                                         EVENT_NEW_ACTOR);
    }
    void cleanupBeforeDelete() override {
        CCNotificationCenter::getInstance()->removeObserver(this);
        for (KVSpikyBall* ball : balls)
            ball->release();
        balls.clear();
    }
    void onNewActor(kvengine::CCNotification* notification) {
        if (auto* ball = dynamic_cast<KVSpikyBall*>(notification->getObject())) {
            ball->retain();
            balls.push_back(ball);
        }
    }
    std::vector<KVSpikyBall*> balls;
};

class KVCoconutCrabTest : public pawntest::PawnWorldTest {
protected:
    void SetUp() override {
        kvtest::resetSharedGameObjects();
        kvtest::installBaseData();
        kvtest::replaceDataFile("kelvoStatsAI.plist", bossStats());
        PawnWorldTest::SetUp();
        kvengine::CCRandom::seed(7);
        boss = new KVCoconutCrab();
        auto* name = new kvengine::CCString("CoconutCrab");
        EXPECT_TRUE(boss->initAt(kBossX, kBossY, nullptr, name));
        name->release();
        controller = static_cast<KVCoconutCrabController*>(boss->getController());
        events = new Trace({EVENT_COCONUT_CRAB_KO_LEFT_EYE, EVENT_COCONUT_CRAB_KO_RIGHT_EYE,
                            EVENT_COCONUT_CRAB_KO_BOTH_EYES, EVENT_COCONUT_CRAB_ACTIVATE_MOUTH,
                            EVENT_COCONUT_CRAB_DEAD, EVENT_COCONUT_CRAB_SWIPE_TRIGGER,
                            EVENT_COCONUT_CRAB_THROW_LEFT_TRIGGER, EVENT_COCONUT_CRAB_THROW_RIGHT_TRIGGER,
                            EVENT_COCONUT_CRAB_QUAKE_TRIGGER, EVENT_COCONUT_CRAB_QUAKE_ACTION_START,
                            EVENT_NOTIFY_IN_ACTION, EVENT_NOTIFY_IDLE, EVENT_PAWN_UNSELECTED, EVENT_ACTION});
        events->name(boss, "boss");
        events->name(controller, "controller");
    }
    void TearDown() override {
        if (mission != nullptr) {
            KVGameSetup::getInstance()->setCurrentGameModel(nullptr);
            mission->actors.removeAllObjects();
            mission->release();
        }
        if (catcher != nullptr) catcher->release();
        events->release();
        post(EVENT_GAME_SHUTDOWN);
        boss->release();
        PawnWorldTest::TearDown();
        kvtest::resetSharedGameObjects();
        kvtest::installBaseData();
    }

    /// One frame: the world, the pawns, the boss (and so its parts' timer), its controller and
    /// brain.
    void frame(int frames = 1) {
        for (int i = 0; i < frames; ++i) {
            ++events->frame;
            physics->update(pawntest::kFrame);
            for (KVPawn* pawn : pawns)
                pawn->update(pawntest::kFrame);
            for (KVPawn* part :
                 {static_cast<KVPawn*>(boss->getLeftEye()), static_cast<KVPawn*>(boss->getRightEye()),
                  static_cast<KVPawn*>(boss->getMouth())})
                if (part != nullptr) part->update(pawntest::kFrame);
            boss->update(pawntest::kFrame);
            if (controller->getPawn() != nullptr) controller->update(pawntest::kFrame);
            if (KVCoconutCrabBrain* brain = controller->getBrain()) brain->update(pawntest::kFrame);
            drainPool();
        }
    }
    /// Kills a part and answers its death the way its view does, which removes it.
    void destroy(KVPawn* part) {
        part->retain();
        part->takeDamage(100000, nullptr, 1, 1.0f, 0.0f);
        ASSERT_TRUE(part->isDead());
        post(EVENT_DEAD_PAWN_READY, part);
        EXPECT_TRUE(part->isRemoved());
        part->release();
    }
    void announceSpikyBalls(int count) {
        auto* ball = new KVSpikyBall();
        for (int i = 0; i < count; ++i)
            post(EVENT_NEW_ACTOR, ball);
        ball->release();
    }
    TestMission* useMission() {
        mission = new TestMission();
        KVGameSetup::getInstance()->setCurrentGameModel(mission);
        return mission;
    }

    KVCoconutCrab* boss = nullptr;
    KVCoconutCrabController* controller = nullptr;
    Trace* events = nullptr;
    TestMission* mission = nullptr;
    BallCatcher* catcher = nullptr;
};

TEST_F(KVCoconutCrabTest, IsBuiltAsAnUndamageableAnchorWithTwoEyesAndAHiddenSlab) {
    EXPECT_TRUE(boss->isBoss());
    EXPECT_TRUE(boss->isEnemy());
    EXPECT_EQ(boss->getLevel(), 5);
    EXPECT_EQ(boss->getOwnerIndex(), -1);
    EXPECT_EQ(boss->getMainBody()->GetType(), b2_staticBody);
    EXPECT_EQ(boss->getMainBody()->GetFixtureList(), nullptr) << "only level geometry stops a kelvo at it";
    b2Body* slab = boss->getAttackBody();
    ASSERT_NE(slab, nullptr);
    EXPECT_FALSE(slab->IsEnabled());
    EXPECT_EQ(slab->GetType(), b2_dynamicBody);
    const b2Filter slabFilter = slab->GetFixtureList()->GetFilterData();
    EXPECT_EQ(slabFilter.maskBits, 0xFFFB);
    EXPECT_EQ(slabFilter.groupIndex, -1);
    EXPECT_NEAR(slab->GetMass(), 12.5f * 1.0f * 1000.0f, 50.0f);

    struct Part {
        KVCoconutCrabEye* eye;
        float x;
    };
    for (const Part& p :
         {Part{boss->getLeftEye(), kBossX - 0.90625f}, Part{boss->getRightEye(), kBossX + 0.34375f}}) {
        ASSERT_NE(p.eye, nullptr);
        EXPECT_TRUE(p.eye->isBossWeakPoint());
        EXPECT_TRUE(p.eye->isEnemy());
        EXPECT_EQ(p.eye->getController(), nullptr) << "an eye plays no turn";
        EXPECT_FLOAT_EQ(p.eye->positionX, p.x);
        EXPECT_FLOAT_EQ(p.eye->positionY, kBossY + 6.53125f);
        EXPECT_EQ(p.eye->getBody()->GetType(), b2_staticBody);
        EXPECT_FLOAT_EQ(p.eye->getBody()->GetFixtureList()->GetShape()->m_radius, 20.0f / 32.0f);
        EXPECT_EQ(p.eye->getBody()->GetFixtureList()->GetFilterData().groupIndex, -1);
        EXPECT_EQ(p.eye->getMaxHP(), 120);
    }
    EXPECT_EQ(boss->getMouth(), nullptr);
    // The parts are on the enemy side; the boss's controller and brain are updated like actors.
    KVPawnManager* manager = KVPawnManager::getInstance();
    EXPECT_TRUE(manager->getEnemyPawns()->containsObject(boss->getLeftEye()));
    ASSERT_NE(controller, nullptr);
    ASSERT_NE(controller->getBrain(), nullptr);
}

// The fight, scripted: a hit on the body does nothing; the right eye, then the left; 1.4375 s of
// game time after the second eye leaves the mouth opens; its removal kills the boss although
// another enemy is still on the board.
TEST_F(KVCoconutCrabTest, BreakingBothEyesThenTheMouthKillsTheBoss) {
    KVPawn* other = makePawn("crab", 2.0f, 2.0f, fighterStats(), true, true);
    auto* kelvo = makePawn("kelvo", 5.0f, 2.0f, fighterStats());
    events->name(kelvo, "kelvo");
    events->name(boss->getRightEye(), "right");
    events->name(boss->getLeftEye(), "left");

    events->clear();
    boss->takeDamage(500, kelvo, 1, 1.0f, 0.0f);
    EXPECT_EQ(boss->getHitPoints(), 600);
    EXPECT_TRUE(events->lines.empty()) << events->dump();

    // Hits on the eyes take the eyes' own defence (2) off.
    boss->getRightEye()->takeDamage(50, kelvo, 1, 1.0f, 0.0f);
    EXPECT_EQ(boss->getRightEye()->getHitPoints(), 72);
    events->clear();

    destroy(boss->getRightEye());
    EXPECT_EQ(boss->getRightEye(), nullptr);
    frame(30);
    EXPECT_EQ(boss->getMouth(), nullptr);
    destroy(boss->getLeftEye());
    const int lastEye = events->frame;
    EXPECT_EQ(events->count("EVENT_COCONUT_CRAB_KO_LEFT_EYE -"), 0);
    const int right = events->find("EVENT_COCONUT_CRAB_KO_RIGHT_EYE -");
    const int both = events->find("EVENT_COCONUT_CRAB_KO_BOTH_EYES -");
    ASSERT_GE(right, 0) << events->dump();
    EXPECT_GT(both, right);
    EXPECT_TRUE(boss->isMouthPending());

    frame(86);
    EXPECT_EQ(boss->getMouth(), nullptr) << "86 frames are 1.4333 s";
    frame(1);
    ASSERT_NE(boss->getMouth(), nullptr) << "the 87th frame passes 1.4375 s";
    const int activate = events->find("EVENT_COCONUT_CRAB_ACTIVATE_MOUTH -");
    ASSERT_GT(activate, both);
    EXPECT_EQ(events->frames[static_cast<size_t>(activate)] - lastEye, 87);
    KVCoconutCrabEye* mouth = boss->getMouth();
    EXPECT_TRUE(mouth->isKindOf("KVCoconutCrabMouth"));
    EXPECT_FLOAT_EQ(mouth->positionX, kBossX - 0.28125f);
    EXPECT_FLOAT_EQ(mouth->positionY, kBossY + 5.75f);
    EXPECT_EQ(mouth->getMaxHP(), 200);
    EXPECT_EQ(mouth->viewClassName(), "KVCoconutCrabMouthV");

    destroy(mouth);
    EXPECT_EQ(events->count("EVENT_COCONUT_CRAB_DEAD -"), 1);
    EXPECT_TRUE(boss->isBossDead());
    EXPECT_EQ(boss->getMouth(), nullptr);
    EXPECT_FALSE(other->isDead()) << "the boss decides the mission, not the last enemy";
}

// The brain's choice by the board: where the player pawn stands and how many spiky balls have
// come so far (the count only grows, so the cases go up).
TEST_F(KVCoconutCrabTest, TheBrainSwipesThrowsOrQuakesByTheBoard) {
    struct Case {
        const char* label;
        float dx, dy; // player pawn relative to the boss; NAN: none
        int balls;    // announced so far
        const char* expected;
    };
    const Case cases[] = {
        {"no player pawn", NAN, NAN, 0, "EVENT_COCONUT_CRAB_QUAKE_TRIGGER -"},
        {"in the zone, no balls", 3.0f, 2.0f, 0, "EVENT_COCONUT_CRAB_SWIPE_TRIGGER -"},
        {"left of the boss, no balls", -8.0f, 2.0f, 0, "EVENT_COCONUT_CRAB_THROW_RIGHT_TRIGGER -"},
        {"just above the zone", 0.0f, 7.8f, 0, "EVENT_COCONUT_CRAB_THROW_RIGHT_TRIGGER -"},
        {"right of the boss, three balls", 8.0f, 2.0f, 3, "EVENT_COCONUT_CRAB_THROW_LEFT_TRIGGER -"},
        {"zone's lower edge, six balls", 0.0f, -0.5f, 6, "EVENT_COCONUT_CRAB_SWIPE_TRIGGER -"},
        {"twelve balls", 8.0f, 2.0f, 12, "EVENT_COCONUT_CRAB_THROW_LEFT_TRIGGER -"},
        {"zone's upper corner, twenty balls", -6.2f, 7.6f, 20, "EVENT_COCONUT_CRAB_SWIPE_TRIGGER -"},
    };
    KVCoconutCrabBrain* brain = controller->getBrain();
    for (const Case& c : cases) {
        SCOPED_TRACE(c.label);
        KVPawn* kelvo = nullptr;
        if (!std::isnan(c.dx)) kelvo = makePawn("kelvo", kBossX + c.dx, kBossY + c.dy, fighterStats());
        announceSpikyBalls(c.balls - brain->getSpikyBallCount());
        EXPECT_EQ(brain->getSpikyBallCount(), c.balls);
        events->clear();
        // The turn comes: selected, the camera ready, one frame's delay, then the decision.
        boss->setSelected(true);
        frame(3);
        EXPECT_EQ(events->count(c.expected), 0) << "not before the fourth frame";
        frame(1);
        EXPECT_EQ(events->count(c.expected), 1) << events->dump();
        EXPECT_EQ(events->count("EVENT_PAWN_UNSELECTED boss"), 1);
        EXPECT_EQ(events->count("EVENT_NOTIFY_IN_ACTION controller"), 1);
        // The view's ends bring the boss back to rest for the next case.
        post(EVENT_COCONUT_CRAB_THROW_LEFT_ANIM_END);
        post(EVENT_COCONUT_CRAB_SWIPE_ANIM_END);
        for (int i = 0; i < 3; ++i)
            post(EVENT_COCONUT_CRAB_QUAKE_ANIM_END);
        EXPECT_EQ(controller->getState(), KVCoconutCrabController::kIdle);
        if (kelvo != nullptr) post(EVENT_REMOVE_ACTOR, kelvo);
    }
}

// From 4 to 11 balls the choice between a throw and a quake is even; a seeded run repeats.
TEST_F(KVCoconutCrabTest, WithFourToElevenBallsThrowAndQuakeAreEvenAndSeededRunsRepeat) {
    makePawn("kelvo", kBossX + 9.0f, kBossY, fighterStats());
    KVCoconutCrabBrain* brain = controller->getBrain();
    announceSpikyBalls(4);
    auto run = [&](int decisions) {
        std::string choices;
        for (int i = 0; i < decisions; ++i) {
            events->clear();
            brain->decideAttack();
            choices += events->count("EVENT_COCONUT_CRAB_QUAKE_TRIGGER -") == 1 ? 'q' : 't';
            post(EVENT_COCONUT_CRAB_THROW_LEFT_ANIM_END);
        }
        return choices;
    };
    kvengine::CCRandom::seed(7);
    const std::string first = run(10000);
    const long quakes = std::count(first.begin(), first.end(), 'q');
    EXPECT_NEAR(static_cast<double>(quakes), 5000.0, 250.0) << "within 5 % of an even split";
    kvengine::CCRandom::seed(7);
    EXPECT_EQ(run(200), first.substr(0, 200));
    announceSpikyBalls(7); // 11
    kvengine::CCRandom::seed(3);
    EXPECT_NE(run(100).find('q'), std::string::npos);
    announceSpikyBalls(1); // 12: throws again
    EXPECT_EQ(run(100), std::string(100, 't'));
}

// A quake: three strikes, each 0.5 s after its trigger, each pushing the movable bodies; only the
// first drops the slab, which settles at the boss's height; the third animation end sets the
// boss idle.
TEST_F(KVCoconutCrabTest, AQuakeStrikesThreeTimesAndDropsTheSlabOnce) {
    TestMission* list = useMission();
    KVPawn* kelvo = makePawn("kelvo", kBossX + 9.0f, kBossY, fighterStats());
    list->actors.addObject(boss);
    list->actors.addObject(boss->getLeftEye());
    list->actors.addObject(kelvo);
    controller->requestQuake();
    EXPECT_EQ(boss->getStamina(), 88);
    int lastTrigger = 0;
    for (int strike = 1; strike <= 3; ++strike) {
        SCOPED_TRACE(strike);
        EXPECT_EQ(controller->getQuakeCount(), strike);
        const int triggers = events->count("EVENT_COCONUT_CRAB_QUAKE_TRIGGER -");
        EXPECT_EQ(triggers, strike);
        lastTrigger = events->frame;
        kelvo->getBody()->SetLinearVelocity(b2Vec2(0.0f, 0.0f));
        while (events->count("EVENT_COCONUT_CRAB_QUAKE_ACTION_START controller") < strike &&
               events->frame < 200)
            frame(1);
        const int delay = events->frame - lastTrigger;
        EXPECT_GE(delay, 30);
        EXPECT_LE(delay, 31) << "0.5 s after the trigger";
        const float speed = kelvo->getBody()->GetLinearVelocity().Length();
        const float mass = kelvo->getBody()->GetMass();
        EXPECT_GE(speed * mass, 6.9f) << "10 - 3";
        EXPECT_LE(speed * mass, 13.1f) << "10 + 3";
        if (strike == 1) {
            EXPECT_TRUE(boss->getAttackBody()->IsEnabled()) << "the first strike drops the slab";
            EXPECT_NEAR(boss->getAttackBody()->GetPosition().y, kBossY + 7.1875f, 0.3f);
            frame(60);
            EXPECT_FALSE(boss->getAttackBody()->IsEnabled()) << "it settled";
            EXPECT_FLOAT_EQ(boss->getAttackBody()->GetPosition().y, kBossY);
        } else {
            EXPECT_FALSE(boss->getAttackBody()->IsEnabled()) << "later strikes leave it";
            EXPECT_FLOAT_EQ(boss->getAttackBody()->GetPosition().y, kBossY);
        }
        EXPECT_FLOAT_EQ(boss->positionY, kBossY) << "the boss stays put";
        EXPECT_EQ(events->count("EVENT_NOTIFY_IDLE controller"), 0);
        post(EVENT_COCONUT_CRAB_QUAKE_ANIM_END);
    }
    EXPECT_EQ(events->count("EVENT_COCONUT_CRAB_QUAKE_TRIGGER -"), 3);
    EXPECT_EQ(events->count("EVENT_NOTIFY_IDLE controller"), 1);
    EXPECT_EQ(controller->getState(), KVCoconutCrabController::kIdle);
    // A stray animation end at rest starts nothing.
    post(EVENT_COCONUT_CRAB_QUAKE_ANIM_END);
    EXPECT_EQ(events->count("EVENT_COCONUT_CRAB_QUAKE_TRIGGER -"), 3);
}

TEST_F(KVCoconutCrabTest, ASwipeDropsTheSlabAfterItsWindUpAndTheAnimationEndClearsIt) {
    controller->requestSwipe();
    EXPECT_EQ(events->find("EVENT_COCONUT_CRAB_SWIPE_TRIGGER -"), 0);
    EXPECT_EQ(events->count("EVENT_NOTIFY_IN_ACTION controller"), 1);
    frame(29);
    EXPECT_FALSE(boss->getAttackBody()->IsEnabled());
    frame(2);
    ASSERT_TRUE(boss->getAttackBody()->IsEnabled());
    EXPECT_EQ(boss->getBody(), boss->getAttackBody()) << "busy tracking follows the slab";
    EXPECT_LT(boss->getAttackBody()->GetLinearVelocity().y, -10.0f);
    EXPECT_EQ(boss->getStamina(), 88);
    frame(60);
    EXPECT_FALSE(boss->getAttackBody()->IsEnabled());
    EXPECT_FLOAT_EQ(boss->getAttackBody()->GetPosition().y, kBossY);
    EXPECT_FLOAT_EQ(boss->positionX, kBossX);
    EXPECT_FLOAT_EQ(boss->positionY, kBossY);
    post(EVENT_COCONUT_CRAB_SWIPE_ANIM_END);
    EXPECT_EQ(events->count("EVENT_NOTIFY_IDLE controller"), 1);
    EXPECT_FALSE(boss->isAttackBodyInUse());
    EXPECT_EQ(boss->getBody(), boss->getMainBody());
}

// Both arms throw from one point: 9 pixels left of the boss centre, the ball's centre 16 pixels
// right of and above it; the ball flies toward the target at about 25 m/s. A target that left the
// game meanwhile is not thrown at.
TEST_F(KVCoconutCrabTest, BothArmsThrowFromOnePointAndALeftTargetIsNotThrownAt) {
    catcher = new BallCatcher();
    KVPawn* right = makePawn("right", kBossX + 10.0f, kBossY + 0.5f, fighterStats());
    KVPawn* left = makePawn("left", kBossX - 10.0f, kBossY + 0.5f, fighterStats());
    struct Case {
        KVPawn* target;
        bool leftArm;
        kvengine::CCString* blow;
        kvengine::CCString* end;
    };
    const Case cases[] = {
        {right, true, EVENT_COCONUT_CRAB_THROW_LEFT_ATTACK_TRIGGER, EVENT_COCONUT_CRAB_THROW_LEFT_ANIM_END},
        {left, false, EVENT_COCONUT_CRAB_THROW_RIGHT_ATTACK_TRIGGER, EVENT_COCONUT_CRAB_THROW_RIGHT_ANIM_END},
    };
    const float sx = static_cast<float>(static_cast<int>((kBossX - 9.0f / 32.0f) * 32.0f)) / 32.0f;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.leftArm);
        const int stamina = boss->getStamina();
        controller->requestThrow(c.target, c.leftArm);
        EXPECT_EQ(controller->getThrowTarget(), c.target);
        post(c.blow, boss);
        ASSERT_FALSE(catcher->balls.empty());
        KVSpikyBall* ball = catcher->balls.back();
        EXPECT_FLOAT_EQ(ball->positionX, sx + 0.5f);
        EXPECT_FLOAT_EQ(ball->positionY, kBossY + 0.5f);
        const b2Vec2 v = ball->getBody()->GetLinearVelocity();
        EXPECT_NEAR(v.Length(), 60.0f / (3.0f * 3.14159265f * 0.25f), 0.1f);
        EXPECT_GT(v.x * (c.target->positionX - kBossX), 0.0f) << "toward the target";
        EXPECT_EQ(boss->getStamina(), stamina - 25);
        EXPECT_EQ(controller->getThrowTarget(), nullptr);
        post(c.end);
        EXPECT_EQ(events->count("EVENT_NOTIFY_IDLE controller"), c.leftArm ? 1 : 2);
    }
    EXPECT_EQ(controller->getBrain()->getSpikyBallCount(), 2) << "every thrown ball counts";

    LogCapture log;
    controller->requestThrow(right, true);
    post(EVENT_REMOVE_ACTOR, right);
    KVPawnManager::getInstance()->getPlayerPawns()->removeObject(right);
    post(EVENT_COCONUT_CRAB_THROW_LEFT_ATTACK_TRIGGER, boss);
    EXPECT_EQ(catcher->balls.size(), 2u);
    EXPECT_TRUE(log.contains("target left the game"));
    post(EVENT_COCONUT_CRAB_THROW_LEFT_ATTACK_TRIGGER, boss);
    EXPECT_EQ(catcher->balls.size(), 2u) << "a blow without a request throws nothing";
    controller->requestThrow(nullptr, true);
    EXPECT_TRUE(log.contains("requestThrow: no target"));
}

TEST_F(KVCoconutCrabTest, ABossWithoutItsStatsOrWorldRefusesToStartAndSaysSo) {
    LogCapture log;
    auto* stranger = new KVCoconutCrab();
    auto* name = new kvengine::CCString("Nobody");
    EXPECT_TRUE(stranger->initAt(1.0f, 1.0f, nullptr, name)) << "the body is made, with empty stats";
    EXPECT_TRUE(log.contains("no AI stats for Nobody"));
    if (stranger->getController() != nullptr) stranger->getController()->onGameShutdown(nullptr);
    stranger->release();

    physics->destroyWorld();
    auto* homeless = new KVCoconutCrab();
    EXPECT_FALSE(homeless->initAt(1.0f, 1.0f, nullptr, name));
    EXPECT_TRUE(log.contains("KVCoconutCrab::createBody"));
    homeless->release();
    name->release();
    physics->createWorld();
}

} // namespace
