// The gameplay camera on a bare layer twice the window's size (fit zoom 0.5), driven frame by
// frame with 1/60 s; its pawn and busy list are given by the test.
#include <gtest/gtest.h>

#include <cmath>

#include "../pawns/PawnTestSupport.h"
#include "engine/base/CCString.h"
#include "engine/director/CCDirector.h"
#include "engine/input/CCGestureRecognizer.h"
#include "engine/nodes/CCLayer.h"
#include "game/camera/KVCamera.h"

using namespace kvengine;
using pawntest::fighterStats;
using pawntest::kFrame;
using pawntest::TestPawn;

namespace {

constexpr float kWindowW = 960.0f;
constexpr float kWindowH = 600.0f;

class TestCamera : public KVCamera {
public:
    KVPawn* pawn = nullptr;
    CCMutableArray<CCObject*>* busy = nullptr;

protected:
    KVPawn* currentPawn() override { return pawn; }
    bool isTurnFrozen() override { return false; }
    CCMutableArray<CCObject*>* busyObjects() override { return busy; }
};

class CameraTest : public pawntest::PawnWorldTest {
protected:
    void SetUp() override {
        PawnWorldTest::SetUp();
        CCDirector::getInstance()->setWinSizeInPoints(CCSize(kWindowW, kWindowH));
        layer = new CCLayer();
        layer->init();
        layer->setTouchSize(CCSize(2 * kWindowW, 2 * kWindowH));
        camera = new TestCamera();
        busy = new CCMutableArray<CCObject*>();
        camera->busy = busy;
        ASSERT_TRUE(camera->attachToLayer(layer));
        post(EVENT_POST_LOAD_GAME);
    }
    void TearDown() override {
        trace->release();
        post(EVENT_GAME_SHUTDOWN);
        camera->release();
        layer->release();
        busy->release();
        if (KVCameraManager* manager = KVCameraManager::existingInstance()) manager->release();
        CCDirector::destroyInstance();
        PawnWorldTest::TearDown();
    }

    void frames(int count) {
        for (int i = 0; i < count; ++i) {
            camera->update(kFrame);
            ++trace->frame;
        }
    }
    /// Manual mode: a refocus request with nothing to follow settles at once.
    void goManual() {
        post(EVENT_SHOW_SKIP_TURN);
        frames(1);
        ASSERT_FALSE(camera->isAutomatic());
    }
    /// Puts the layer so that the layer point (x, y) is at the window centre.
    void lookAt(float x, float y) { camera->centreOn(CCPoint(x, y)); }
    static void key(const char* name) {
        auto* text = new CCString(name);
        post(ccEventKeyPress(), text);
        text->release();
    }
    static void placePawn(KVPawn* pawn, float xPoints, float yPoints) {
        pawn->getBody()->SetTransform(b2Vec2(xPoints / 32.0f, yPoints / 32.0f), 0.0f);
        pawn->positionX = xPoints / 32.0f;
        pawn->positionY = yPoints / 32.0f;
    }

    CCLayer* layer = nullptr;
    TestCamera* camera = nullptr;
    CCMutableArray<CCObject*>* busy = nullptr;
    pawntest::Trace* trace = new pawntest::Trace(
        {EVENT_CAM_PLAYABLE, EVENT_CAM_UNPLAYABLE, EVENT_NOTIFY_IN_ACTION, EVENT_NOTIFY_IDLE});
};

TEST_F(CameraTest, FitZoomAndLimitsComeFromTheWindowAndTheLevel) {
    EXPECT_FLOAT_EQ(camera->getFitZoom(), 0.5f);
    EXPECT_FLOAT_EQ(camera->getMinimumZoom(), 0.5f);
    EXPECT_FLOAT_EQ(camera->getMaximumZoom(), 1.0f);
    EXPECT_EQ(layer->getGestureRecognizers()->count(), 3u);
    EXPECT_EQ(KVCameraManager::getInstance()->getCamera(), camera);
}

TEST_F(CameraTest, ADragMovesTheMapAndAFastReleaseGlidesUntilBelowATenth) {
    lookAt(960, 600);
    goManual();
    const float startX = layer->getPosition().x;
    camera->applyPan(kCCGestureRecognizerStateChanged, CCPoint(-30.0f, 0.0f), CCPoint(400.0f, 300.0f));
    frames(1);
    EXPECT_FLOAT_EQ(layer->getPosition().x, startX - 30.0f);
    camera->applyPan(kCCGestureRecognizerStateEnded, CCPoint(0.0f, 0.0f), CCPoint(0.0f, 0.0f));
    frames(1);
    ASSERT_TRUE(camera->isInertia());
    // Each frame keeps 1 - 9/60 of the speed; the slide stops once both parts are below 0.1.
    float speed = 30.0f;
    float travelled = 0.0f;
    int slideFrames = 0;
    while (camera->isInertia() && slideFrames < 200) {
        speed *= 1.0f - 9.0f * kFrame;
        travelled += speed;
        frames(1);
        ++slideFrames;
    }
    EXPECT_EQ(slideFrames, 36);
    EXPECT_NEAR(layer->getPosition().x, startX - 30.0f - travelled, 0.01f);
    const float restX = layer->getPosition().x;
    frames(5);
    EXPECT_FLOAT_EQ(layer->getPosition().x, restX);
}

TEST_F(CameraTest, ADragReleasedAfterAPauseDoesNotGlide) {
    lookAt(960, 600);
    goManual();
    camera->applyPan(kCCGestureRecognizerStateChanged, CCPoint(-30.0f, 0.0f), CCPoint(400.0f, 300.0f));
    frames(2);
    camera->applyPan(kCCGestureRecognizerStateEnded, CCPoint(0.0f, 0.0f), CCPoint(0.0f, 0.0f));
    frames(1);
    EXPECT_FALSE(camera->isInertia());
}

TEST_F(CameraTest, ScrollingStopsAtTheEdgesAndKeepsTheFreeAxis) {
    struct Case {
        const char* what;
        CCPoint look;   // layer point at the window centre
        CCPoint scroll; // asked
        CCPoint moved;  // layer movement
    };
    const Case cases[] = {
        {"inside, both axes", {960, 600}, {20, -20}, {20, -20}},
        {"at the left edge, to the left", {480, 600}, {20, 0}, {0, 0}},
        {"at the left edge, diagonal", {480, 600}, {20, -20}, {0, -20}},
        {"at the bottom edge, diagonal", {960, 300}, {-20, 20}, {-20, 0}},
        {"in the lower-left corner", {480, 300}, {20, 20}, {0, 0}},
        {"at the right edge, away from it", {1440, 600}, {20, 0}, {20, 0}},
        // Off the map (allowed centres x 480..1440): back towards it, or along it, but not further.
        {"beyond the right edge, further out", {1700, 600}, {-20, 0}, {0, 0}},
        {"beyond the right edge, back", {1700, 600}, {20, 0}, {20, 0}},
        {"beyond the right edge, further out and down", {1700, 600}, {-20, 20}, {0, 20}},
        {"beyond the right edge, back and up", {1700, 600}, {20, -20}, {20, -20}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        lookAt(c.look.x, c.look.y);
        goManual();
        const CCPoint before = layer->getPosition();
        camera->scrollBy(c.scroll);
        EXPECT_NEAR(layer->getPosition().x - before.x, c.moved.x, 0.001f);
        EXPECT_NEAR(layer->getPosition().y - before.y, c.moved.y, 0.001f);
        post(EVENT_START_TURN); // back to automatic for the next case
    }
}

// A view a few points past the map's right edge (as a map exactly the window's width leaves it)
// still moves up and down and back in; it never moves further out.
TEST_F(CameraTest, AViewSlightlyOffTheMapMovesAlongAndBackButNotFurtherOut) {
    lookAt(1444, 600);
    struct Case {
        const char* what;
        CCPoint layerMove;
        bool allowed;
    };
    const Case cases[] = {
        {"up", CCPoint(0.0f, -20.0f), true},
        {"down", CCPoint(0.0f, 20.0f), true},
        {"back towards the map", CCPoint(2.0f, 0.0f), true},
        {"further out", CCPoint(-2.0f, 0.0f), false},
        {"further out and up", CCPoint(-2.0f, -20.0f), false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        EXPECT_EQ(camera->canScroll(c.layerMove), c.allowed);
    }
}

TEST_F(CameraTest, AViewOutsideTheMapIsBroughtBackInside) {
    struct Case {
        const char* what;
        CCPoint look;
    };
    // The allowed centres at zoom 1: x 480..1440, y 300..900.
    const Case cases[] = {{"beyond the right edge", {1700, 600}},
                          {"below the bottom edge", {960, 100}},
                          {"beyond a corner", {100, 1100}}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        lookAt(c.look.x, c.look.y);
        camera->clampToMap();
        const CCPoint centre = camera->viewCentre();
        EXPECT_GE(centre.x, 480.0f);
        EXPECT_LE(centre.x, 1440.0f);
        EXPECT_GE(centre.y, 300.0f);
        EXPECT_LE(centre.y, 900.0f);
        EXPECT_TRUE(camera->isViewInside());
    }
}

TEST_F(CameraTest, ArrowKeysScrollAndZoomKeysStepBetweenFitAndFullZoom) {
    lookAt(960, 600);
    goManual();
    const CCPoint before = layer->getPosition();
    key("TOUCH_RIGHT");
    key("TOUCH_UP");
    EXPECT_NEAR(layer->getPosition().x - before.x, -20.0f, 0.001f);
    EXPECT_NEAR(layer->getPosition().y - before.y, -20.0f, 0.001f);
    lookAt(960, 600);
    // Zooming out stops 0.1 above the fit zoom while the view lies inside the map.
    float expected = 1.0f;
    for (int press = 0; press < 12; ++press) {
        key("TOUCH_SUBSTRAC");
        frames(1);
        if (expected - 0.05f >= camera->getFitZoom() + 0.1f - 1e-4f) expected -= 0.05f;
        EXPECT_NEAR(layer->getScale(), expected, 1e-3f) << "press " << press;
    }
    EXPECT_GT(layer->getScale(), camera->getFitZoom());
    for (int press = 0; press < 12; ++press) {
        key("TOUCH_ADD");
        frames(1);
    }
    EXPECT_FLOAT_EQ(layer->getScale(), 1.0f);
    // The window centre stays on the same layer point through the zooms.
    EXPECT_NEAR(camera->viewCentre().x, 960.0f, 0.5f);
    EXPECT_NEAR(camera->viewCentre().y, 600.0f, 0.5f);
}

TEST_F(CameraTest, AutomaticModeKeepsADeadZoneAndPullsOverBeyondIt) {
    TestPawn* pawn = makePawn("steev", 0, 0, fighterStats());
    camera->pawn = pawn;
    // Dead zone: a quarter of the half window across (120 points), a fifth up (60 points).
    placePawn(pawn, 970, 600);
    lookAt(960, 600);
    const CCPoint still = layer->getPosition();
    frames(3);
    EXPECT_FLOAT_EQ(layer->getPosition().x, still.x);
    placePawn(pawn, 1260, 600);
    const float before = camera->viewCentre().x;
    frames(1);
    // 300 points away: 180 beyond the zone, of which 6 x dt is covered in the frame.
    EXPECT_NEAR(camera->viewCentre().x - before, 180.0f * 6.0f * kFrame, 0.01f);
    EXPECT_NEAR(camera->viewCentre().y, 600.0f, 0.01f);
}

TEST_F(CameraTest, APawnLeavingTheCentralPartZoomsOutAndKeepsTheCameraBusyASecond) {
    TestPawn* pawn = makePawn("steev", 0, 0, fighterStats());
    TestPawn* other = makePawn("crab", 0, 0, fighterStats(), true, true);
    camera->pawn = pawn;
    lookAt(960, 600);
    placePawn(pawn, 960, 600);
    placePawn(other, 960 + 420, 600); // beyond 75 % of the half window (360 points)
    busy->addObject(other);
    post(EVENT_PULL_RELEASE);
    frames(1);
    EXPECT_LT(layer->getScale(), 1.0f);
    EXPECT_GE(layer->getScale(), camera->getFitZoom());
    EXPECT_EQ(trace->count("EVENT_NOTIFY_IN_ACTION ?"), 1);
    EXPECT_GE(camera->getSettleTimer(), 1.0f - kFrame);
    busy->removeAllObjects();
    placePawn(pawn, 960, 600);
    pawn->setSelectedFlag(true);
    post(EVENT_MOVE_OVER);
    frames(30);
    EXPECT_EQ(trace->count("EVENT_NOTIFY_IDLE ?"), 0) << "still busy after half a second";
    frames(40);
    EXPECT_EQ(trace->count("EVENT_NOTIFY_IDLE ?"), 1);
}

TEST_F(CameraTest, PlayableOnlyInManualModeAtFullZoomWithThePawnWellInside) {
    TestPawn* pawn = makePawn("steev", 0, 0, fighterStats());
    camera->pawn = pawn;
    pawn->setSelectedFlag(true);
    struct Case {
        const char* what;
        bool manual;
        float zoomSteps; // TOUCH_SUBSTRAC presses first
        float pawnX;     // window centre at lookX; half window 480
        bool playable;
        float lookX = 960;
    };
    const Case cases[] = {
        {"automatic mode", false, 0, 960, false},
        {"manual, centred", true, 0, 960, true},
        {"manual, 80 points inside", true, 0, 960 + 400, true},
        {"manual, 60 points inside", true, 0, 960 + 420, false},
        {"manual, zoomed out", true, 1, 960, false},
        // The view stops at the map's edge: a pawn 40 points from it is as far inside as it gets.
        {"manual, by the map's left edge, view against it", true, 0, 40, true, 480},
        {"manual, by the map's right edge, view against it", true, 0, 1880, true, 1440},
        {"manual, by the map's edge, view elsewhere", true, 0, 40, false, 960},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        trace->clear();
        placePawn(pawn, c.lookX, 600);
        lookAt(c.lookX, 600);
        camera->setZoom(1.0f);
        if (c.manual) goManual();
        for (int i = 0; i < c.zoomSteps; ++i) {
            key("TOUCH_SUBSTRAC");
            frames(1);
        }
        placePawn(pawn, c.pawnX, 600);
        trace->clear();
        frames(2);
        const bool posted = trace->count("EVENT_CAM_PLAYABLE ?") == 1;
        EXPECT_EQ(posted || (c.playable && camera->isPlayable() && trace->lines.empty()), c.playable);
        EXPECT_EQ(camera->isPlayable() && !camera->isAutomatic(), c.playable);
        post(EVENT_START_TURN);
        frames(1);
    }
}

TEST_F(CameraTest, ManagerAnswersOnScreenAndFollowsAnEnemyThatAppearsMidTurnForTwoSeconds) {
    KVCameraManager* manager = KVCameraManager::getInstance();
    TestPawn* pawn = makePawn("steev", 0, 0, fighterStats());
    lookAt(480, 300);
    placePawn(pawn, 100, 100);
    EXPECT_TRUE(manager->isPawnOnScreen(pawn));
    placePawn(pawn, 1200, 100);
    EXPECT_FALSE(manager->isPawnOnScreen(pawn));
    EXPECT_FALSE(manager->isPawnOnScreen(nullptr));

    auto& forced =
        *new pawntest::Trace({EVENT_DISABLE_FORCE_IN_ACTION, EVENT_WANTS_AUTOMATIC_MODE_FOLLOW_MOVE});
    // A pawn announces itself with EVENT_NEW_ACTOR when it is made.
    TestPawn* spawned = makePawn("crab", 5, 5, fighterStats(), true, true);
    EXPECT_TRUE(camera->isForcedFollow());
    EXPECT_TRUE(spawned->isForcedInAction());
    EXPECT_EQ(forced.count("EVENT_WANTS_AUTOMATIC_MODE_FOLLOW_MOVE -"), 1);
    for (int i = 0; i < 119; ++i)
        manager->update(kFrame);
    EXPECT_EQ(forced.count("EVENT_DISABLE_FORCE_IN_ACTION ?"), 0);
    manager->update(2 * kFrame);
    EXPECT_EQ(forced.count("EVENT_DISABLE_FORCE_IN_ACTION ?"), 1);
    EXPECT_FALSE(camera->isForcedFollow());
    forced.release();
}

TEST_F(CameraTest, AttachingToNoLayerIsRefusedAndLogged) {
    pawntest::LogCapture log;
    TestCamera* lone = new TestCamera();
    EXPECT_FALSE(lone->attachToLayer(nullptr));
    EXPECT_TRUE(log.contains("no layer"));
    lone->update(kFrame); // nothing to move: no crash
    lone->release();
}

} // namespace
