// The mission scene in a real GL context over the built resource folder: a director of the wide
// design size driven frame by frame by a fake clock, the mission M01a of the Prologue with its
// squad, and the shared game objects released after each test.
#include <unistd.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include "engine/base/CCAutoreleasePoolStack.h"
#include "engine/base/CCLocalizationManager.h"
#include "engine/base/CCLog.h"
#include "engine/base/CCNotificationCenter.h"
#include "engine/base/CCRandom.h"
#include "engine/base/CCSet.h"
#include "engine/base/CCString.h"
#include "engine/base/CCUserDefaults.h"
#include "engine/director/CCDirector.h"
#include "engine/files/CCFileUtils.h"
#include "engine/input/CCPanGestureRecognizer.h"
#include "engine/input/CCPinchGestureRecognizer.h"
#include "engine/input/CCTapGestureRecognizer.h"
#include "engine/input/CCTouch.h"
#include "engine/input/CCTouchDispatcher.h"
#include "engine/labels/CCLabelTTF.h"
#include "engine/platform/CCClock.h"
#include "engine/platform/CCGL.h"
#include "engine/sprites/CCSprite.h"
#include "engine/sprites/CCSpriteBatchNode.h"
#include "engine/sprites/CCSpriteFrameCache.h"
#include "engine/textures/CCTextureCache.h"
#include "game/app/KVGameServices.h"
#include "game/app/KVGlobalNames.h"
#include "game/camera/KVCamera.h"
#include "game/chatter/KVChatterManager.h"
#include "game/data/KVGameParameters.h"
#include "game/data/KVGameSetup.h"
#include "game/data/KVPlayerParameters.h"
#include "game/environment/KVEnvLayerManager.h"
#include "game/menu/KVMenuManager.h"
#include "game/model/KVGameController.h"
#include "game/model/KVGameModel.h"
#include "game/pawns/KVPawn.h"
#include "game/pawns/KVPawnManager.h"
#include "game/powerups/KVConsumableManager.h"
#include "game/scene/KVGameplayLayer.h"
#include "game/scene/KVGameplayScene.h"
#include "game/scene/KVLoadingGameLayer.h"
#include "game/shop/KVKelvosOFXDelegate.h"
#include "game/sound/KVSoundManager.h"
#include "game/world/KVObjectFactory.h"
#include "support/GLFixture.h"
#include "support/MissionTestSupport.h"
#include "support/Screenshot.h"

using namespace kvengine;

namespace {

constexpr int kWidth = 960;
constexpr int kHeight = 600;

class SceneEnvironment : public ::testing::Environment {
public:
    void SetUp() override {
        char pattern[] = "/tmp/kelvos-scene-test-XXXXXX";
        const char* made = mkdtemp(pattern);
        home = made != nullptr ? made : "/tmp/kelvos-scene-test";
        setenv("XDG_DATA_HOME", home.c_str(), 1);
        setenv("LANG", "en_GB.UTF-8", 1);
        unsetenv("LC_ALL");
        unsetenv("LANGUAGE");
        unsetenv("LC_MESSAGES");
        setResourceRootPath(KELVOS_RESOURCES_DIR);
        if (chdir(KELVOS_RESOURCES_DIR) != 0) {
            // The tests then fail on the missing files by name.
        }
        KVObjectFactory::registerGameClasses();
    }
    void TearDown() override {
        std::error_code ignored;
        std::filesystem::remove_all(home, ignored);
    }
    std::string home;
};
::testing::Environment* const g_environment = ::testing::AddGlobalTestEnvironment(new SceneEnvironment);

/// Counts posts of the names it observes.
class Recorder : public CCObject {
public:
    explicit Recorder(std::initializer_list<CCString*> observed) {
        for (CCString* name : observed)
            CCNotificationCenter::getInstance()->addObserver(this, notification_selector(Recorder::onPost),
                                                             name);
    }
    void cleanupBeforeDelete() override { CCNotificationCenter::getInstance()->removeObserver(this); }
    void onPost(CCNotification* notification) { names.push_back(notification->getName()->text); }
    int count(const std::string& name) const {
        int n = 0;
        for (const std::string& each : names)
            n += each == name ? 1 : 0;
        return n;
    }
    int indexOf(const std::string& name) const {
        for (size_t i = 0; i < names.size(); ++i)
            if (names[i] == name) return static_cast<int>(i);
        return -1;
    }
    std::vector<std::string> names;
};

int g_aborts = 0;

template <typename T> void releaseIfMade(T* shared) {
    if (shared != nullptr) shared->release();
}

class SceneTest : public kvtest::GLFixture {
protected:
    SceneTest() : GLFixture(kWidth, kHeight) {}

    void setUpWithGL() override {
        CCClock::setShared(&m_clock);
        CCAutoreleasePoolStack::getInstance().push();
        if (!std::filesystem::exists(std::string(KELVOS_RESOURCES_DIR) +
                                     "/sheets/loading_screen_pvrtc4_ss.plist"))
            KVTEST_REQUIRED_MISSING("no built resource folder at " << KELVOS_RESOURCES_DIR);
        director = CCDirector::getInstance();
        director->setWinSizeInPoints(CCSize(kWidth, kHeight));
        director->enableDoubleContentScale();
        CCDirector::wideScreen = 1;
        glViewport(0, 0, kWidth, kHeight);
        glEnable(GL_BLEND);
        glBlendFunc(GL_ONE, GL_ONE_MINUS_SRC_ALPHA);
        kvConnectGameServices();
        g_aborts = 0;
        KVGameplayScene::setMissionAbortHandler([]() { ++g_aborts; });
        CCRandom::seed(1);
        base = CCScene::create();
        director->runWithScene(base);
        frame();
        m_touch = new CCTouch();
        m_touches = new CCSet();
        m_touches->addObject(m_touch);
    }
    void tearDownWithGL() override {
        director->replaceScene(CCScene::create());
        frame();
        frame();
        m_touches->release();
        m_touch->release();
        releaseIfMade(KVCameraManager::existingInstance());
        releaseIfMade(KVEnvLayerManager::existingInstance());
        releaseIfMade(KVPawnManager::existingInstance());
        releaseIfMade(KVMenuManager::existingInstance());
        releaseIfMade(KVPlayerParameters::existingInstance());
        releaseIfMade(KVSoundManager::existingInstance());
        releaseIfMade(KVKelvosOFXDelegate::existingInstance());
        releaseIfMade(KVGameParameters::existingInstance());
        releaseIfMade(KVGameSetup::existingInstance());
        releaseIfMade(KVChatterManager::existingInstance());
        releaseIfMade(CCUserDefaults::existingInstance());
        releaseIfMade(CCLocalizationManager::existingInstance());
        CCDirector::destroyInstance();
        CCAutoreleasePoolStack::getInstance().pop();
        CCTouchDispatcher::purgeSharedDispatcher();
        CCClock::setShared(nullptr);
    }

    void frame() {
        m_clock.advanceMicroseconds(16667);
        director->mainLoop();
    }
    void frames(int count) {
        for (int i = 0; i < count; ++i)
            frame();
    }
    /// The game setup for `mission` of the Prologue with its squad.
    static void prepare(const char* mission) {
        KVGameSetup* setup = KVGameSetup::getInstance();
        setup->getTeamKelvoNames()->removeAllObjects();
        setup->getTeamHelmetNames()->removeAllObjects();
        setup->getTeamSpawnPoints()->removeAllObjects();
        setup->setChapterName(kvdata::newString("Prologue"));
        setup->setMissionName(kvdata::newString(mission));
        setup->buildTeam();
    }
    /// A mission scene of M01a made the menu's way, shown at once; null when it cannot start.
    KVGameplayScene* startMission(const char* mission = "M01a") {
        prepare(mission);
        KVGameplayScene* scene = KVGameplayScene::create();
        if (scene != nullptr) director->replaceScene(scene);
        return scene;
    }
    /// Frames until play starts (at most 3 s).
    bool playUntilStarted(KVGameplayScene* scene) {
        for (int i = 0; i < 180 && scene->getLoadingLayer() != nullptr; ++i)
            frame();
        return scene->getLoadingLayer() == nullptr && !scene->hasFailed();
    }
    /// A human turn once the camera has handed the selected kelvo to the player (manual mode).
    bool playUntilPlayersTurn(KVGameplayScene* scene, int limit) {
        KVGameController* controller = scene->getGameController();
        KVCamera* camera = scene->getGameplayLayer()->getGameCamera();
        for (int i = 0; i < limit; ++i) {
            KVPawn* pawn = controller->getCurrentPawn();
            if (pawn != nullptr && !pawn->isAIDriven() && pawn->isSelected() && !camera->isAutomatic() &&
                camera->isPlayable())
                return true;
            frame();
        }
        return false;
    }
    CCSet* at(float x, float y) {
        m_touch->setTouchInfo(0, x, y);
        return m_touches;
    }
    void screenshot(const std::string& name) const {
        EXPECT_TRUE(kvtest::writeScreenshot(gl, std::string(KELVOS_SCREENSHOT_DIR) + "/" + name)) << name;
    }

    CCDirector* director = nullptr;
    CCScene* base = nullptr;

private:
    CCFakeClock m_clock;
    CCTouch* m_touch = nullptr;
    CCSet* m_touches = nullptr;
};

// The caption number (1..4) whose format, filled with one of the squad's titles, is `caption`.
int captionNumber(const std::string& caption) {
    for (int n = 1; n <= 4; ++n) {
        CCString* format = getLocalizedString("loading screen caption " + std::to_string(n));
        if (format == nullptr) continue;
        const std::string text = format->c_str();
        const size_t at = text.find("%s");
        if (at == std::string::npos) continue;
        const std::string head = text.substr(0, at);
        const std::string tail = text.substr(at + 2);
        if (caption.size() >= head.size() + tail.size() && caption.compare(0, head.size(), head) == 0 &&
            caption.compare(caption.size() - tail.size(), tail.size(), tail) == 0)
            return n;
    }
    return 0;
}

TEST_F(SceneTest, TenLoadStepsBehindTheLoadingScreenThenPlayStartsWithoutInput) {
    Recorder posts({EVENT_POST_LOAD_GAME, EVENT_MUSIC_GAME_START, SCREEN_INGAME_GAME, EVENT_START_TURN,
                    EVENT_GAME_SHUTDOWN});
    KVGameplayScene* scene = startMission();
    ASSERT_NE(scene, nullptr);
    KVLoadingGameLayer* loading = scene->getLoadingLayer();
    ASSERT_NE(loading, nullptr);
    loading->retain();
    std::vector<int> captions;
    int seenStep = 0;
    bool shot = false;
    for (int i = 0; i < 200 && scene->getLoadingLayer() != nullptr; ++i) {
        frame();
        if (scene->getCaptionStep() != seenStep) {
            seenStep = scene->getCaptionStep();
            captions.push_back(captionNumber(loading->getCaption()->getString()));
        }
        if (seenStep == 5 && !shot) {
            frame();
            screenshot("scene_loading.png");
            shot = true;
        }
    }
    EXPECT_EQ(captions, (std::vector<int>{1, 1, 1, 2, 2, 3, 3, 4, 4, 4}));
    // The last tick sets the tap-to-start text and removes the layer at once.
    EXPECT_TRUE(loading->tapToStart);
    EXPECT_EQ(loading->getCaption()->getString(), std::string("Tap screen to start game"));
    EXPECT_EQ(loading->getParent(), nullptr);
    loading->release();
    EXPECT_TRUE(scene->isLoaded());
    ASSERT_NE(scene->getGameModel(), nullptr);
    EXPECT_EQ(KVGameSetup::getInstance()->getCurrentGameModel(), scene->getGameModel());
    const int postLoad = posts.indexOf("EVENT_POST_LOAD_GAME");
    ASSERT_GE(postLoad, 0);
    EXPECT_EQ(posts.indexOf("EVENT_MUSIC_GAME_START"), postLoad + 1);
    EXPECT_GT(posts.indexOf("InGame - Game"), postLoad + 1);
    EXPECT_GT(posts.indexOf("EVENT_START_TURN"), posts.indexOf("InGame - Game"));
    EXPECT_TRUE(KVGameSetup::getInstance()->escapeKeyBlocked);
    // The HUD and the gameplay layer (inside its environment layer) are on the scene.
    EXPECT_NE(scene->getChildByTag(8686), nullptr);
    EXPECT_EQ(scene->getGameplayLayer()->getParent(), scene);
    frames(30);
    screenshot("scene_playing.png");
}

TEST_F(SceneTest, TheLoadingLayerSwallowsTouchesAndFreesItsSheetsWhenGone) {
    const unsigned texturesBefore = CCTextureCache::getInstance()->count();
    KVGameplayScene* scene = startMission();
    ASSERT_NE(scene, nullptr);
    frames(40); // through the fade; a few load steps done
    ASSERT_NE(scene->getLoadingLayer(), nullptr);
    CCSpriteFrameCache* cache = CCSpriteFrameCache::getInstance();
    EXPECT_NE(cache->findSpriteFrameByName("Loading_layer_background.png"), nullptr);
    // A touch is claimed by the loading layer: nothing beneath gets it, and lifting it does nothing
    // before tap to start.
    CCTouchDispatcher::getInstance()->touchesBegan(at(480, 300), nullptr);
    CCTouchDispatcher::getInstance()->touchesEnded(at(480, 300), nullptr);
    EXPECT_NE(scene->getLoadingLayer(), nullptr);
    ASSERT_TRUE(playUntilStarted(scene));
    frame();
    for (const char* name :
         {"Loading_layer_background.png", "Loading_layer_middle.png", "Loading_layer_foreground.png"})
        EXPECT_EQ(cache->findSpriteFrameByName(name), nullptr) << name;
    // Both loading textures are gone again; the mission's own sheets stay.
    const std::string folder = std::string(KELVOS_RESOURCES_DIR) + "/sheets/";
    CCTextureCache* textures = CCTextureCache::getInstance();
    const unsigned during = textures->count();
    textures->addImage((folder + "loading_screen_pvrtc2_ss.pvr.ccz").c_str());
    textures->addImage((folder + "loading_screen_pvrtc4_ss.pvr.ccz").c_str());
    EXPECT_EQ(textures->count(), during + 2) << "both were out of the cache";
    EXPECT_GT(during, texturesBefore);
}

TEST_F(SceneTest, AMissionThatCannotBeBuiltGivesUpAndSaysWhy) {
    std::vector<std::string> lines;
    setDebugLogSink([&lines](const std::string& line) { lines.push_back(line); });
    auto logged = [&lines](const std::string& part) {
        for (const std::string& line : lines)
            if (line.find(part) != std::string::npos) return true;
        return false;
    };
    // An empty squad: the scene is not made at all.
    prepare("M01a");
    KVGameSetup::getInstance()->getTeamKelvoNames()->removeAllObjects();
    EXPECT_EQ(KVGameplayScene::create(), nullptr);
    EXPECT_TRUE(logged("squad is empty"));
    // No tile map: the load steps stop at the map and the abort hook takes over.
    prepare("M01a");
    KVGameSetup::getInstance()->setMissionName(kvdata::newString("NoSuchMission"));
    KVGameplayScene* scene = KVGameplayScene::create();
    ASSERT_NE(scene, nullptr);
    director->replaceScene(scene);
    frames(120);
    EXPECT_TRUE(scene->hasFailed());
    EXPECT_EQ(scene->getLoadStep(), 3);
    EXPECT_EQ(g_aborts, 1);
    EXPECT_TRUE(logged("no readable tile map"));
    EXPECT_EQ(KVGameSetup::getInstance()->getCurrentGameModel(), nullptr);
    setDebugLogSink({});
}

TEST_F(SceneTest, TwoMissionsInARowEachShutDownOnceAndStartClean) {
    Recorder posts({EVENT_GAME_SHUTDOWN, SCREEN_INGAME_GAME});
    for (int round = 1; round <= 2; ++round) {
        SCOPED_TRACE(round);
        KVGameplayScene* scene = startMission();
        ASSERT_NE(scene, nullptr);
        ASSERT_TRUE(playUntilStarted(scene));
        EXPECT_EQ(posts.count("InGame - Game"), round);
        EXPECT_NE(KVGameSetup::getInstance()->getCurrentGameModel(), nullptr);
        director->replaceScene(CCScene::create());
        frames(3);
        EXPECT_EQ(posts.count("EVENT_GAME_SHUTDOWN"), round);
        EXPECT_EQ(KVGameSetup::getInstance()->getCurrentGameModel(), nullptr);
        EXPECT_FALSE(KVGameSetup::getInstance()->escapeKeyBlocked);
    }
}

TEST_F(SceneTest, GameplayLayerTagsSheetsAndSpritesAndRefusesUnknownSheets) {
    KVGameplayScene* scene = startMission();
    ASSERT_NE(scene, nullptr);
    ASSERT_TRUE(playUntilStarted(scene));
    KVGameplayLayer* layer = scene->getGameplayLayer();
    const char* const order[] = {"global_ss",           "top_sfx_51_ss",      "low_sfx_51_ss",
                                 "top_sfx_88_ss",       "low_sfx_88_ss",      "low_sfx_PVRTC4_ss",
                                 "low_sfx_PVRTC4_2_ss", "hidden_char1_TC2_ss"};
    for (int i = 0; i < 8; ++i) {
        CCSpriteBatchNode* sheet = layer->getSheet(order[i]);
        ASSERT_NE(sheet, nullptr) << order[i];
        EXPECT_EQ(sheet->getTag(), 1000 + i) << order[i];
    }
    EXPECT_EQ(layer->getSheet("global_ss")->getZOrder(), 0);
    EXPECT_EQ(layer->getSheet("hidden_char1_TC2_ss")->getZOrder(), -105);
    // A sheet asked for twice is loaded once.
    EXPECT_TRUE(layer->loadSpriteSheet("global_ss", 77));
    EXPECT_EQ(layer->getSheet("global_ss")->getZOrder(), 0);

    CCTexture2D* texture = layer->getSheet("global_ss")->getTexture();
    auto* first = CCSprite::createWithTexture(texture);
    auto* second = CCSprite::createWithTexture(layer->getSheet("top_sfx_51_ss")->getTexture());
    ASSERT_TRUE(layer->addChildToSheet("global_ss", first));
    ASSERT_TRUE(layer->addChildToSheetAtZ("top_sfx_51_ss", second, 3));
    EXPECT_EQ(second->getTag(), first->getTag() + 1);
    EXPECT_GE(first->getTag(), 2000);

    std::vector<std::string> lines;
    setDebugLogSink([&lines](const std::string& line) { lines.push_back(line); });
    auto* stray = CCSprite::createWithTexture(texture);
    EXPECT_FALSE(layer->addChildToSheet("never_loaded_ss", stray));
    EXPECT_EQ(stray->getParent(), nullptr);
    EXPECT_EQ(layer->viewSheet("never_loaded_ss"), nullptr);
    EXPECT_FALSE(layer->loadSpriteSheet("never_loaded_ss", 0));
    setDebugLogSink({});
    EXPECT_GE(lines.size(), 2u);
}

TEST_F(SceneTest, PawnsThatTheRulesBringInLaterFindTheirSheetLoadedAtTheStart) {
    // M01a brings in nobody; M01b's rules send shrimps out of their nest, none on the map at first.
    for (const char* mission : {"M01a", "M01b"}) {
        SCOPED_TRACE(mission);
        KVGameplayScene* scene = startMission(mission);
        ASSERT_NE(scene, nullptr);
        ASSERT_TRUE(playUntilStarted(scene));
        const bool spawnsShrimps = std::string(mission) == "M01b";
        EXPECT_EQ(scene->getGameplayLayer()->getSheet("shrimp_ss") != nullptr, spawnsShrimps);
        director->replaceScene(CCScene::create());
        frames(3);
    }
}

TEST_F(SceneTest, TouchesBecomeMetresOfTheLevelThroughTheCamera) {
    KVGameplayScene* scene = startMission();
    ASSERT_NE(scene, nullptr);
    ASSERT_TRUE(playUntilStarted(scene));
    KVGameplayLayer* layer = scene->getGameplayLayer();
    layer->setScale(1.0f);
    layer->setPosition(CCPoint(0.0f, 0.0f));
    // View points run from the top left; the layer's origin is the window's lower-left corner.
    struct Case {
        CCPoint view;
        CCPoint metres;
    };
    const Case cases[] = {{{0, 600}, {0, 0}}, {{64, 600}, {2, 0}}, {{64, 536}, {2, 2}}};
    for (const Case& c : cases) {
        const CCPoint m = layer->metresForViewPoint(c.view);
        EXPECT_NEAR(m.x, c.metres.x, 1e-4f);
        EXPECT_NEAR(m.y, c.metres.y, 1e-4f);
    }
    // Panned by 32 points and zoomed to 0.5, the same touch lands further into the level.
    layer->setPosition(CCPoint(-32.0f, 0.0f));
    layer->setScale(0.5f);
    const CCPoint moved = layer->metresForViewPoint(CCPoint(64, 600));
    EXPECT_GT(moved.x, 2.0f);
}

TEST_F(SceneTest, ControllerRoutesTouchesByTurnAndRefusesCameraGesturesDuringAComputerTurn) {
    KVGameplayScene* scene = startMission();
    ASSERT_NE(scene, nullptr);
    ASSERT_TRUE(playUntilStarted(scene));
    KVGameController* controller = scene->getGameController();
    KVCamera* camera = scene->getGameplayLayer()->getGameCamera();
    ASSERT_NE(controller, nullptr);
    ASSERT_NE(camera, nullptr);
    KVPawn* pawn = controller->getCurrentPawn();
    ASSERT_NE(pawn, nullptr) << "the first turn has a pawn";
    Recorder posts({EVENT_USELESS_TAP_DURING_AI_TURN});
    auto* pan = new CCPanGestureRecognizer();
    auto* tap = new CCTapGestureRecognizer();
    if (pawn->isAIDriven()) {
        // A computer turn: a tap on water is only announced; no pull and no pan.
        controller->onTap(1.0f, 1.0f);
        EXPECT_EQ(posts.count("EVENT_USELESS_TAP_DURING_AI_TURN"), 1);
        EXPECT_FALSE(controller->onTouchBegan(1.0f, 1.0f));
        EXPECT_FALSE(controller->shouldReceiveGesture(pan, 1.0f, 1.0f));
    }
    // Pan and pinch never begin while the camera follows the game.
    if (camera->isAutomatic()) {
        EXPECT_FALSE(controller->shouldBeginGesture(pan));
    }
    EXPECT_TRUE(controller->shouldBeginGesture(tap));
    // Paused: nothing at all.
    CCNotificationCenter::getInstance()->postNotification(SCREEN_INGAME_PAUSE);
    EXPECT_TRUE(controller->paused);
    EXPECT_FALSE(controller->shouldReceiveGesture(tap, 1.0f, 1.0f));
    EXPECT_FALSE(controller->shouldBeginGesture(tap));
    controller->paused = false;
    pan->release();
    tap->release();
}

TEST_F(SceneTest, OnAHumanTurnAPullTakesTheKelvoWhilePanAndPinchMoveTheCameraWithinTheMap) {
    Recorder posts({EVENT_PULL_START, EVENT_KELVO_LAUNCHED});
    KVGameplayScene* scene = startMission();
    ASSERT_NE(scene, nullptr);
    ASSERT_TRUE(playUntilStarted(scene));
    ASSERT_TRUE(playUntilPlayersTurn(scene, 120));
    ASSERT_TRUE(kvtest::passOpeningDialogue([this] { frame(); }));
    KVGameplayLayer* layer = scene->getGameplayLayer();
    KVGameController* controller = scene->getGameController();
    KVCamera* camera = layer->getGameCamera();
    CCTouchDispatcher* touches = CCTouchDispatcher::getInstance();
    KVPawn* kelvo = controller->getCurrentPawn();
    float mx = 0.0f;
    float my = 0.0f;
    kelvo->getPosition(&mx, &my);
    const CCPoint onKelvo =
        director->convertToUI(layer->convertToWorldSpace(CCPoint(mx * 32.0f, my * 32.0f)));

    // The pull: the camera's pan may not take a touch on the kelvo, and no pinch begins during it.
    const CCPoint layerBefore = layer->getPosition();
    touches->touchesBegan(at(onKelvo.x, onKelvo.y), nullptr);
    EXPECT_EQ(posts.count("EVENT_PULL_START"), 1);
    EXPECT_FALSE(controller->shouldReceiveGesture(camera->getPanRecognizer(), mx, my));
    EXPECT_FALSE(controller->shouldBeginGesture(camera->getPinchRecognizer()));
    EXPECT_FALSE(controller->shouldBeginGesture(camera->getPanRecognizer()));
    for (int step = 1; step <= 4; ++step) {
        touches->touchesMoved(at(onKelvo.x - 35.0f * step, onKelvo.y), nullptr);
        frame();
    }
    EXPECT_EQ(camera->getPanRecognizer()->getState(), kCCGestureRecognizerStatePossible);
    EXPECT_FLOAT_EQ(layer->getPosition().x, layerBefore.x) << "the pull never pans";
    touches->touchesEnded(at(onKelvo.x - 140.0f, onKelvo.y), nullptr);
    EXPECT_EQ(posts.count("EVENT_KELVO_LAUNCHED"), 1);

    // The kelvo has stamina left: after the move it is handed back, and the map can be dragged.
    ASSERT_TRUE(playUntilPlayersTurn(scene, 300));
    const CCSize window = director->getWinSize();
    auto drag = [&](CCPoint from, float dx, float dy, int steps) {
        touches->touchesBegan(at(from.x, from.y), nullptr);
        for (int step = 1; step <= steps; ++step) {
            touches->touchesMoved(at(from.x + dx * step, from.y + dy * step), nullptr);
            frame();
        }
        touches->touchesEnded(at(from.x + dx * steps, from.y + dy * steps), nullptr);
        frame();
    };
    // Far from the kelvo, 5 x 30 points at a time in each direction: the camera keeps where the
    // pointer was, and the map, as wide as the window and 8 points higher, moves only as far as it
    // keeps the window covered (or, where the follow left the view a little off it, no further
    // off).
    const CCPoint outAtStart = camera->outsideArea(CCPoint(0.0f, 0.0f));
    const CCPoint from(window.width * 0.75f, window.height * 0.5f);
    struct Pan {
        const char* what;
        float dx, dy;
    };
    const Pan pans[] = {
        {"left", -30, 0}, {"right", 30, 0}, {"up", 0, -30}, {"down", 0, 30}, {"down again", 0, 30}};
    float lowest = layer->getPosition().y;
    float highest = lowest;
    for (const Pan& pan : pans) {
        SCOPED_TRACE(pan.what);
        drag(from, pan.dx, pan.dy, 5);
        const CCPoint lastGL = director->convertToGL(CCPoint(from.x + 5 * pan.dx, from.y + 5 * pan.dy));
        EXPECT_FLOAT_EQ(camera->getLastPanLocation().x, lastGL.x);
        EXPECT_FLOAT_EQ(camera->getLastPanLocation().y, lastGL.y);
        frames(60); // any slide runs out
        const CCPoint out = camera->outsideArea(CCPoint(0.0f, 0.0f));
        EXPECT_LE(std::fabs(out.x), std::fabs(outAtStart.x) + 0.01f);
        EXPECT_LE(std::fabs(out.y), std::fabs(outAtStart.y) + 0.01f);
        lowest = std::min(lowest, layer->getPosition().y);
        highest = std::max(highest, layer->getPosition().y);
    }
    EXPECT_GT(highest - lowest, 4.0f) << "the map moved up and down";
    EXPECT_LE(highest - lowest, 8.0f + 0.05f);

    // Two fingers: spread, the zoom stays at 1; pinched together, it goes down but not below the
    // least zoom the map allows.
    auto* second = new CCTouch();
    auto* both = new CCSet();
    both->addObject(second);
    bool pinched = false;
    auto pinch = [&](float startGap, float endGap) {
        const float cx = window.width * 0.6f;
        const float cy = window.height * 0.4f;
        CCSet* first = at(cx - startGap / 2, cy);
        second->setTouchInfo(0, cx + startGap / 2, cy);
        both->addObject(first->anyObject());
        touches->touchesBegan(both, nullptr);
        for (int step = 1; step <= 6; ++step) {
            const float gap = startGap + (endGap - startGap) * step / 6.0f;
            static_cast<CCTouch*>(first->anyObject())->setTouchInfo(0, cx - gap / 2, cy);
            second->setTouchInfo(0, cx + gap / 2, cy);
            touches->touchesMoved(both, nullptr);
            pinched = pinched || camera->getPinchRecognizer()->getState() == kCCGestureRecognizerStateChanged;
            frame();
        }
        touches->touchesEnded(both, nullptr);
        both->removeObject(first->anyObject());
        frames(2);
    };
    // (The map just covers the window at zoom 1, so that is also the least zoom.)
    EXPECT_FLOAT_EQ(camera->getFitZoom(), 1.0f);
    for (const float endGap : {300.0f, 30.0f}) {
        pinch(100.0f + (endGap < 100.0f ? 200.0f : 0.0f), endGap);
        EXPECT_FLOAT_EQ(layer->getScale(), 1.0f) << endGap;
    }
    EXPECT_TRUE(pinched) << "the pinch reached the camera";
    both->release();
    second->release();
}

// The kraken in a running mission (C0M02: Steev and Vahine against a crab): used on the player's
// turn, it plays its animation on the HUD, leaves the crab at 1 hit point and hands the turn back.
// The usage record starts empty with the mission, so the refund a lost mission makes gives back
// this mission's unit only, not one a won mission used before.
TEST_F(SceneTest, TheKrakenStrikesInAMissionAndALossGivesBackOnlyThatMissionsUnit) {
    KVPlayerParameters* profile = KVPlayerParameters::getInstance();
    profile->addConsumable("mighty_kraken", 2);
    const int stock = profile->getConsumableAmount("mighty_kraken");
    KVConsumableManager* consumables = KVConsumableManager::getInstance();
    // A unit the previous (won) mission used: it stays used.
    consumables->recordUsage("mighty_kraken");

    KVGameSetup* setup = KVGameSetup::getInstance();
    setup->getTeamKelvoNames()->removeAllObjects();
    setup->getTeamHelmetNames()->removeAllObjects();
    setup->getTeamSpawnPoints()->removeAllObjects();
    setup->setChapterName(kvdata::newString("Chapter0"));
    setup->setMissionName(kvdata::newString("C0M02"));
    setup->buildTeam();
    KVGameplayScene* scene = KVGameplayScene::create();
    ASSERT_NE(scene, nullptr);
    director->replaceScene(scene);
    ASSERT_TRUE(playUntilStarted(scene));
    EXPECT_TRUE(consumables->getUsage().empty()) << "the mission starts a record of its own";
    ASSERT_TRUE(playUntilPlayersTurn(scene, 600));
    KVPawn* crab = KVPawnManager::getInstance()->getEnemyPawns()->objectAtIndex(0);
    ASSERT_NE(crab, nullptr);
    Recorder posts({EVENT_KRAKEN_EFFECT_TRIGGERED, EVENT_KRAKEN_ANIM_FINISHED, EVENT_NOTIFY_IDLE});

    ASSERT_TRUE(consumables->useConsumable("mighty_kraken"));
    EXPECT_EQ(profile->getConsumableAmount("mighty_kraken"), stock - 1);
    frames(62);
    EXPECT_EQ(posts.count("EVENT_KRAKEN_EFFECT_TRIGGERED"), 1);
    frames(60);
    screenshot("scene_kraken.png");
    frames(150);
    EXPECT_EQ(crab->getHitPoints(), 1);
    for (int i = 0; i < 200 && consumables->getPendingKind() != KVConsumableManager::kNone; ++i)
        frame();
    EXPECT_EQ(posts.count("EVENT_KRAKEN_ANIM_FINISHED"), 1);
    EXPECT_EQ(consumables->getPendingKind(), KVConsumableManager::kNone);
    EXPECT_TRUE(playUntilPlayersTurn(scene, 600)) << "the player's turn goes on";

    // The mission is lost: its unit comes back, the earlier mission's does not.
    consumables->flushUsage();
    EXPECT_EQ(profile->getConsumableAmount("mighty_kraken"), stock);
    consumables->release();
}

} // namespace
