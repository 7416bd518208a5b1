#include "ObjectTestSupport.h"

#include <cmath>

#include "engine/sprites/CCSprite.h"
#include "engine/sprites/CCSpriteFrameCache.h"
#include "game/objects/KVCoconut.h"
#include "game/objects/KVFishBomb.h"
#include "game/objects/KVFishBombV.h"
#include "game/views/PawnViewFixture.h"
#include "game/world/KVCameraService.h"

using objecttest::ObjectWorldTest;
using objecttest::tileObject;
using pawntest::LogCapture;

namespace {

constexpr float kTwoPi = 6.2831855f;

/// A camera whose window shows the level or not, as the test says.
class TestCamera : public KVCameraService {
public:
    bool isPawnOnScreen(KVPawn* pawn) override { return pawn != nullptr && onScreen; }
    bool isZoomedOutManually() override { return false; }
    bool isLevelPointOnScreen(float x, float y) override {
        (void)x;
        (void)y;
        ++asked;
        return onScreen;
    }
    bool onScreen = true;
    int asked = 0;
};

TestCamera g_camera;
KVCameraService* testCamera() {
    return &g_camera;
}

class KVFishBombTest : public ObjectWorldTest {
protected:
    void TearDown() override {
        ObjectWorldTest::TearDown();
        // The next test connects the game's own services again in its set-up.
        KVCameraService::setSharedSource(nullptr, nullptr);
    }

    KVFishBomb* makeFish(kvobjects::Dict* dict) {
        auto* fish = new KVFishBomb();
        EXPECT_TRUE(fish->initWithDictionary(dict));
        return keep(fish);
    }
    void useTestCamera(bool onScreen) {
        g_camera.onScreen = onScreen;
        g_camera.asked = 0;
        KVCameraService::setSharedSource(&testCamera, &testCamera);
    }
};

TEST_F(KVFishBombTest, ReadsItsOrbitAndFallsBackForMissingOrZeroValues) {
    struct Case {
        int width;
        const char* bombRadius;     // nullptr: missing
        const char* secondsPerTurn; // nullptr: missing
        float orbitRadius;
        float bombRadiusMetres;
        float secondsPerRotation;
    };
    const Case cases[] = {
        {64, nullptr, nullptr, 1.0f, 0.5f, 3.0f}, // missing: 16 pixels, one turn in 3 s
        {64, "0", "0", 1.0f, 0.5f, 3.0f},         // zero: the same
        {128, "24", "6", 2.0f, 0.75f, 6.0f},
        {0, "8", "1.2", 0.0f, 0.25f, 1.2f}, // a width of 0: a fish at its centre
    };
    int row = 0;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.width);
        kvobjects::Dict* dict = tileObject(320, 320 * ++row, c.width, 64);
        if (c.bombRadius != nullptr) kvdata::setText(dict, "BombRadius", c.bombRadius);
        if (c.secondsPerTurn != nullptr) kvdata::setText(dict, "SecondsPerRotation", c.secondsPerTurn);
        KVFishBomb* fish = makeFish(dict);
        EXPECT_FLOAT_EQ(fish->getOrbitRadius(), c.orbitRadius);
        EXPECT_FLOAT_EQ(fish->getBombRadius(), c.bombRadiusMetres);
        EXPECT_NEAR(fish->getAngularSpeed(), kTwoPi / c.secondsPerRotation, 1e-5f);
        EXPECT_FLOAT_EQ(fish->getBody()->GetFixtureList()->GetShape()->m_radius, c.bombRadiusMetres);
        const float centreX = (320.0f + c.width / 2.0f) / 32.0f;
        const float centreY = (320.0f * row + 32.0f) / 32.0f;
        EXPECT_FLOAT_EQ(fish->positionX, centreX + c.orbitRadius);
        EXPECT_FLOAT_EQ(fish->positionY, centreY);

        // A quarter turn later it is a quarter round its orbit, body and all.
        const int frames = static_cast<int>(std::lround(c.secondsPerRotation * 60.0f / 4.0f));
        for (int i = 0; i < frames; ++i)
            fish->update(pawntest::kFrame);
        EXPECT_NEAR(fish->getOrbitAngle(), kTwoPi / 4.0f, 1e-3f);
        EXPECT_NEAR(fish->positionX, centreX, 1e-3f);
        EXPECT_NEAR(fish->positionY, centreY + c.orbitRadius, 1e-3f);
        EXPECT_NEAR(fish->getBody()->GetPosition().x, fish->positionX, 1e-4f);
        EXPECT_NEAR(fish->getBody()->GetAngle(), fish->getOrbitAngle(), 1e-4f);
    }
}

TEST_F(KVFishBombTest, CirclesOnlyOnScreenAndStandsStillFromAStopToTheNextIdleOrSkip) {
    KVFishBomb* fish = makeFish(tileObject(320, 320, 64, 64));
    useTestCamera(false);
    stepAll(90);
    EXPECT_EQ(fish->getOrbitAngle(), 0.0f) << "off screen its phase is frozen";
    EXPECT_EQ(g_camera.asked, 90 * 4) << "every corner of its square is asked";

    g_camera.onScreen = true;
    stepAll(30);
    const float moving = fish->getOrbitAngle();
    EXPECT_NEAR(moving, 30.0f * pawntest::kFrame * kTwoPi / 3.0f, 1e-4f);

    struct Case {
        kvengine::CCString* resume;
    };
    for (const Case& c : {Case{EVENT_NOTIFY_IDLE}, Case{EVENT_SKIP_TURN}}) {
        SCOPED_TRACE(c.resume->text);
        post(EVENT_STOP_FUGU);
        const float before = fish->getOrbitAngle();
        stepAll(20);
        EXPECT_EQ(fish->getOrbitAngle(), before);
        post(c.resume, fish);
        stepAll(1);
        EXPECT_GT(fish->getOrbitAngle(), before);
    }

    // Past a full turn the angle starts again from 0.
    stepAll(200);
    EXPECT_GE(fish->getOrbitAngle(), 0.0f);
    EXPECT_LE(fish->getOrbitAngle(), kTwoPi);
}

// A kelvo flung at a fish in the middle of the board: it loses 15 of its 100 hit points (whatever
// its defence), is thrown back at 9.375 m/s, and the fish stands puffed up for 2 s.
TEST_F(KVFishBombTest, APawnThatStrikesItIsHurtAndThrownBack) {
    struct Case {
        const char* defense;
        int hitPointsLeft;
    };
    const Case cases[] = {{"0", 85}, {"10", 85}};
    float row = 0.0f;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.defense);
        row += 10.0f;
        KVFishBomb* fish = makeFish(tileObject(320, static_cast<int>(row * 32.0f) - 16, 0, 32));
        auto* kelvo = makeKelvo(6.0f, row + 0.5f);
        kelvo->readStats(pawntest::fighterStats({{"Defense", c.defense}}));
        pawntest::Trace* events = trace({EVENT_ACTION});
        events->name(kelvo, "kelvo");
        kelvo->getBody()->SetLinearVelocity(b2Vec2(12.0f, 0.0f));
        int frames = 0;
        while (!fish->isHit() && frames < 120) {
            stepAll(1);
            ++frames;
        }
        ASSERT_TRUE(fish->isHit());
        EXPECT_EQ(kelvo->getHitPoints(), c.hitPointsLeft);
        EXPECT_EQ(events->count("EVENT_ACTION 12 15 ->kelvo"), 1) << events->dump();
        const b2Vec2 v = kelvo->getBody()->GetLinearVelocity();
        EXPECT_NEAR(v.Length(), KVFishBomb::kKnockBackSpeed, 0.2f);
        EXPECT_LT(v.x, 0.0f) << "thrown back the way it came";
        EXPECT_NEAR(fish->getAngryTimer(), 2.0f - pawntest::kFrame, 1e-4f);

        const float angle = fish->getOrbitAngle();
        stepAll(100);
        EXPECT_EQ(fish->getOrbitAngle(), angle) << "still while angry";
        stepAll(30);
        EXPECT_GT(fish->getOrbitAngle(), angle) << "circling again after 2 s";
        EXPECT_EQ(kelvo->getHitPoints(), c.hitPointsLeft) << "one touch, one loss";
    }
}

TEST_F(KVFishBombTest, KnockBackSparesDeadPawnsProtectedPawnsAndActorsThatLeft) {
    KVFishBomb* fish = makeFish(tileObject(320, 320, 64, 64));
    auto* dead = makeKelvo(20.0f, 20.0f);
    dead->takeDamage(1000, nullptr, 0, 1.0f, 0.0f);
    ASSERT_TRUE(dead->isDead());
    auto* coconut = keep(new KVCoconut());
    ASSERT_TRUE(coconut->initWithDictionary(tileObject(960, 320, 32, 32)));
    auto* shielded = makeKelvo(30.0f, 20.0f);
    shielded->setProtected(true);

    KVContactInfo contact;
    contact.self = fish;
    contact.normalX = 1.0f;

    contact.other = dead;
    EXPECT_TRUE(fish->postSolve(&contact));
    fish->update(pawntest::kFrame);
    EXPECT_EQ(dead->getBody()->GetLinearVelocity().Length(), 0.0f) << "a dead pawn is not thrown";

    contact.other = coconut;
    EXPECT_TRUE(fish->postSolve(&contact));
    post(EVENT_REMOVE_ACTOR, coconut);
    fish->update(pawntest::kFrame);
    EXPECT_EQ(coconut->getBody()->GetLinearVelocity().Length(), 0.0f) << "a removed hitter is forgotten";

    contact.other = shielded;
    EXPECT_FALSE(fish->beginContact(&contact)) << "no touch on a protected pawn";
    fish->update(pawntest::kFrame);
    EXPECT_EQ(shielded->getHitPoints(), shielded->getMaxHP());

    contact.other = nullptr;
    EXPECT_FALSE(fish->postSolve(&contact));
    EXPECT_FALSE(fish->beginContact(nullptr));
}

TEST_F(KVFishBombTest, RefusesToStartWithoutItsDataAndSaysSo) {
    LogCapture log;
    auto* fish = keep(new KVFishBomb());
    EXPECT_FALSE(fish->initWithDictionary(nullptr));
    EXPECT_TRUE(log.contains("KVFishBomb: no object dictionary"));
    physics->destroyWorld();
    auto* homeless = keep(new KVFishBomb());
    EXPECT_FALSE(homeless->initWithDictionary(tileObject(0, 0, 32, 32)));
    EXPECT_TRUE(log.contains("KVFishBomb: no physics world"));
    physics->createWorld();
}

// The view: 0.8 s puffed up and 2 s calm in turn; a blow puffs it up at once for as long as the
// fish is angry, and the view clears the fish's hit flag.
TEST_F(KVFishBombTest, TheViewPuffsUpInTurnAndAtOnceOnABlow) {
    viewtest::FrameSet frames;
    frames.add("GPE_Fugu.png");
    frames.add("GPE_Fugu_angry.png");
    ASSERT_TRUE(frames.load());
    KVFishBomb* fish = makeFish(tileObject(320, 320, 64, 64));
    auto* view = new KVFishBombV();
    ASSERT_TRUE(view->initWithActor(fish, nullptr));
    auto* sprite = static_cast<kvengine::CCSprite*>(view->getSprite());
    auto* calm = kvengine::CCSpriteFrameCache::getInstance()->findSpriteFrameByName("GPE_Fugu.png");
    auto* puffed = kvengine::CCSpriteFrameCache::getInstance()->findSpriteFrameByName("GPE_Fugu_angry.png");
    EXPECT_EQ(sprite->getScale(), 1.0f);

    // Frames at which the picture changes, over 4 s of an untouched fish.
    std::vector<int> changes;
    bool was = false;
    for (int i = 1; i <= 240; ++i) {
        fish->update(pawntest::kFrame);
        view->update(pawntest::kFrame);
        if (view->isPuffed() != was) changes.push_back(i);
        was = view->isPuffed();
        EXPECT_TRUE(sprite->isFrameDisplayed(was ? puffed : calm)) << i;
    }
    // Timers count down by whole frames: a change may come one frame after the exact time.
    ASSERT_EQ(changes.size(), 4u);
    EXPECT_EQ(changes[0], 1) << "a fresh fish puffs up at once";
    const int spans[][2] = {{48, 49}, {120, 121}, {48, 49}}; // 0.8 s puffed, 2 s calm, 0.8 s puffed
    for (int i = 0; i < 3; ++i) {
        EXPECT_GE(changes[i + 1] - changes[i], spans[i][0]) << i;
        EXPECT_LE(changes[i + 1] - changes[i], spans[i][1]) << i;
    }
    EXPECT_NEAR(sprite->getRotation(), -fish->getOrbitAngle() * 57.29578f, 1e-3f);

    // A blow while calm: puffed at once, and until the 2 s of anger are over.
    for (int i = 0; i < 60 && view->isPuffed(); ++i) {
        fish->update(pawntest::kFrame);
        view->update(pawntest::kFrame);
    }
    ASSERT_FALSE(view->isPuffed());
    auto* coconut = keep(new KVCoconut());
    ASSERT_TRUE(coconut->initWithDictionary(tileObject(960, 320, 32, 32)));
    KVContactInfo contact;
    contact.self = fish;
    contact.other = coconut;
    ASSERT_TRUE(fish->postSolve(&contact));
    int puffedFrames = 0;
    for (int i = 0; i < 300; ++i) {
        fish->update(pawntest::kFrame);
        view->update(pawntest::kFrame);
        if (i == 0) {
            EXPECT_FALSE(fish->isHit()) << "the view took the blow";
        }
        if (!view->isPuffed()) break;
        ++puffedFrames;
    }
    EXPECT_GE(puffedFrames, 119) << "as long as the anger";
    EXPECT_LE(puffedFrames, 121);
    view->release();
}

} // namespace
