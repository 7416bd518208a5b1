// The pause screen over a running mission: the keys that open and close it, the three paused
// flags, the touches it keeps, and the pearls, played marks and scenes of Restart and Quit.
#include <gtest/gtest.h>

#include <string>

#include "HudFixture.h"
#include "engine/base/CCArray.h"
#include "engine/base/CCNotificationCenter.h"
#include "engine/base/CCString.h"
#include "engine/director/CCDirector.h"
#include "engine/director/CCScene.h"
#include "engine/input/CCTouch.h"
#include "engine/sprites/CCSpriteFrameCache.h"
#include "game/app/KVGlobalNames.h"
#include "game/data/KVPlayerParameters.h"
#include "game/hud/KVPauseScene.h"
#include "game/menu/KVMenuManager.h"
#include "game/menu/KVPopUpItemScreenView.h"
#include "game/model/KVGameController.h"
#include "game/model/KVGameModel.h"
#include "game/pawns/KVTurnManager.h"
#include "game/score/KVScoreManagerSolo.h"
#include "game/world/KVActionEvent.h"

using namespace kvengine;

namespace {

void pressKey(const char* key) {
    CCNotificationCenter::getInstance()->postNotification(ccEventKeyPress(), kvdata::newString(key));
}

int pauseScreens(KVHudLayer* hud) {
    int count = 0;
    if (CCArray* children = hud->getChildren())
        for (unsigned i = 0; i < children->count(); ++i)
            count += static_cast<CCNode*>(children->objectAtIndex(i))->isKindOf("KVPauseScene") ? 1 : 0;
    return count;
}

KVPauseScene* pauseScreenOf(KVHudLayer* hud) {
    if (CCArray* children = hud->getChildren())
        for (unsigned i = 0; i < children->count(); ++i)
            if (static_cast<CCNode*>(children->objectAtIndex(i))->isKindOf("KVPauseScene"))
                return static_cast<KVPauseScene*>(children->objectAtIndex(i));
    return nullptr;
}

class PauseSceneTest : public hudtest::HudFixture {
protected:
    /// The three paused flags agree with `paused`.
    static void expectPaused(KVGameplayScene* scene, bool paused) {
        EXPECT_EQ(scene->getGameController()->paused, paused);
        EXPECT_EQ(scene->getGameModel()->getTurnManager()->isPaused(), paused);
        auto* score = dynamic_cast<KVScoreManagerSolo*>(scene->getGameModel()->getScoreManager());
        ASSERT_NE(score, nullptr);
        EXPECT_EQ(score->isPaused(), paused);
    }
};

TEST_F(PauseSceneTest, EscapeOpensItAndASecondEscapeClosesItOnlyFromATenthOfASecondOn) {
    KVGameplayScene* scene = startMission();
    ASSERT_NE(scene, nullptr);
    KVHudLayer* hud = hudOf(scene);
    menutest::Recorder posts;
    posts.observe(EVENT_BUTTON_VALIDATED_LIGHT);
    pressKey("TOUCH_ESCAPE");
    ASSERT_EQ(pauseScreens(hud), 1);
    expectPaused(scene, true);
    // The key that opened it, or another one in the same frame, does not close it; nor does a
    // second pause open over it.
    pressKey("TOUCH_ESCAPE");
    frame();
    EXPECT_EQ(pauseScreens(hud), 1);
    run(0.1f);
    frame();
    pressKey("TOUCH_SPACE");
    EXPECT_EQ(pauseScreens(hud), 0);
    expectPaused(scene, false);
    // Every key press reaches the HUD's pause button, which clicks even when it opens nothing.
    EXPECT_EQ(posts.count("EVENT_BUTTON_VALIDATED_LIGHT"), 3);
    // Space opens it as well; once the match is decided neither key does.
    pressKey("TOUCH_SPACE");
    EXPECT_EQ(pauseScreens(hud), 1);
    run(0.2f);
    pauseScreenOf(hud)->onContinue(nullptr);
    EXPECT_EQ(pauseScreens(hud), 0);
    soloScore(scene)->requestDefeat();
    pressKey("TOUCH_ESCAPE");
    EXPECT_EQ(pauseScreens(hud), 0);
    EXPECT_EQ(posts.count("EVENT_BUTTON_VALIDATED_LIGHT"), 5);
}

TEST_F(PauseSceneTest, PauseFreezesTurnsScoreAndControllerAndContinueResumes) {
    KVGameplayScene* scene = startMission();
    ASSERT_NE(scene, nullptr);
    KVHudLayer* hud = hudOf(scene);
    hud->onPauseButton(nullptr);
    ASSERT_EQ(pauseScreens(hud), 1);
    expectPaused(scene, true);
    // Skip and the consumables do nothing while paused.
    menutest::Recorder posts;
    posts.observe(EVENT_SKIP_TURN);
    hud->onSkipTurnButton(nullptr);
    EXPECT_EQ(posts.count("EVENT_SKIP_TURN"), 0);
    const int turns = soloScore(scene)->getPlayerTurns();
    run(2.0f);
    EXPECT_EQ(soloScore(scene)->getPlayerTurns(), turns);
    // A touch on the backdrop is kept; one on a button goes to the button.
    KVPauseScene* pause = pauseScreenOf(hud);
    ASSERT_NE(pause, nullptr);
    auto* touch = new CCTouch();
    const CCPoint backdrop = director->convertToUI(CCPoint(60, 60));
    touch->setTouchInfo(0, backdrop.x, backdrop.y);
    EXPECT_TRUE(pause->touchBegan(touch, nullptr));
    const CCPoint button =
        director->convertToUI(pause->getChildByTag(KVPauseScene::kContinueTag)->getPosition());
    touch->setTouchInfo(0, button.x, button.y);
    EXPECT_FALSE(pause->touchBegan(touch, nullptr));
    touch->release();
    pause->onContinue(nullptr);
    expectPaused(scene, false);
    EXPECT_EQ(pauseScreens(hud), 0);
}

TEST_F(PauseSceneTest, RestartBanksThePearlsDoubledByAPearlfishAndLoadsTheMissionAgain) {
    KVPlayerParameters* profile = KVPlayerParameters::getInstance();
    profile->addConsumable("pearlfish", 1);
    KVGameplayScene* scene = startMission();
    ASSERT_NE(scene, nullptr);
    menutest::Recorder played;
    played.observe(EVENT_MISSION_SET_STATUS_PLAYED);
    const int pearls = profile->getPearlAmount();
    CCNotificationCenter::getInstance()->postNotification(
        EVENT_ACTION, KVActionEvent::create(KVActionEvent::Points, 20, 0.0f, nullptr, nullptr));
    ASSERT_EQ(soloScore(scene)->getScore(), 20);
    hudOf(scene)->onPauseButton(nullptr);
    KVPauseScene* pause = pauseScreenOf(hudOf(scene));
    ASSERT_NE(pause, nullptr);
    pause->onRestart(nullptr);
    EXPECT_EQ(profile->getPearlAmount(), pearls + 40);
    EXPECT_EQ(played.count("EVENT_MISSION_SET_STATUS_PLAYED"), 1);
    frame();
    CCScene* next = director->getRunningScene();
    ASSERT_NE(next, nullptr);
    EXPECT_STREQ(next->className(), "KVLoadingScreenView");
}

TEST_F(PauseSceneTest, QuitAsksFirstCancelKeepsTheMissionAndOkSavesAndLeadsToTheWorldMap) {
    KVGameplayScene* scene = startMission();
    ASSERT_NE(scene, nullptr);
    KVHudLayer* hud = hudOf(scene);
    menutest::Recorder played;
    played.observe(EVENT_MISSION_SET_STATUS_PLAYED);
    hud->onPauseButton(nullptr);
    KVPauseScene* pause = pauseScreenOf(hud);
    ASSERT_NE(pause, nullptr);
    pause->onQuit(nullptr);
    frame();
    EXPECT_EQ(KVMenuManager::getInstance()->popUpKind, KVPauseScene::kQuitPopUpKind);
    // Cancel: the mission and the pause screen stay.
    CCScene* popUp = KVMenuManager::getInstance()->getPopUpScene();
    ASSERT_NE(popUp, nullptr);
    auto* view = dynamic_cast<KVPopUpItemScreenView*>(popUp->getChildren()->objectAtIndex(0));
    ASSERT_NE(view, nullptr);
    view->onCancel(nullptr);
    run(0.5f);
    EXPECT_EQ(director->getRunningScene(), scene);
    EXPECT_EQ(pauseScreens(hud), 1);
    // OK: saved, marked played, the world map's loading screen.
    pause->onQuit(nullptr);
    frame();
    EXPECT_EQ(confirmPopUp(), KVPauseScene::kQuitPopUpKind);
    frame();
    EXPECT_EQ(played.count("EVENT_MISSION_SET_STATUS_PLAYED"), 1);
    EXPECT_FALSE(KVGameSetup::getInstance()->escapeKeyBlocked);
    EXPECT_EQ(kvdata::textOf(KVGameSetup::getInstance()->getChapterName()), "");
    CCScene* next = director->getRunningScene();
    ASSERT_NE(next, nullptr);
    EXPECT_STREQ(next->className(), "KVLoadingScreenView");
}

TEST_F(PauseSceneTest, TheQuitConfirmationsButtonsGetTheTouchesOnThem) {
    KVGameplayScene* scene = startMission();
    ASSERT_NE(scene, nullptr);
    hudOf(scene)->onPauseButton(nullptr);
    KVPauseScene* pause = pauseScreenOf(hudOf(scene));
    ASSERT_NE(pause, nullptr);
    pause->onQuit(nullptr);
    frame();
    CCScene* popUp = KVMenuManager::getInstance()->getPopUpScene();
    ASSERT_NE(popUp, nullptr);
    auto* view = dynamic_cast<KVPopUpItemScreenView*>(popUp->getChildren()->objectAtIndex(0));
    ASSERT_NE(view, nullptr);
    // Neither button lies over one of the pause screen's: the pause screen must not keep them.
    auto* touch = new CCTouch();
    for (int tag : {KVPopUpItemScreenView::kOkTag, KVPopUpItemScreenView::kCancelTag}) {
        CCNode* button = view->getChildByTag(tag);
        ASSERT_NE(button, nullptr);
        const CCPoint at = director->convertToUI(button->getPosition());
        touch->setTouchInfo(0, at.x, at.y);
        EXPECT_FALSE(pause->touchBegan(touch, nullptr))
            << "the pause screen kept the touch on button " << tag;
    }
    // Once the confirmation is cancelled the pause screen keeps the touches off its buttons again.
    view->onCancel(nullptr);
    run(0.5f);
    const CCPoint backdrop = director->convertToUI(CCPoint(60, 60));
    touch->setTouchInfo(0, backdrop.x, backdrop.y);
    EXPECT_TRUE(pause->touchBegan(touch, nullptr));
    touch->release();
}

TEST_F(PauseSceneTest, ItsButtonsAreMadeAfterTheWayIntoTheMissionEmptiedTheFrameCache) {
    KVGameplayScene* scene = startMission();
    ASSERT_NE(scene, nullptr);
    // A loading screen on the way in drops every frame, the menus' buttons among them.
    CCSpriteFrameCache::getInstance()->removeAllSpriteFrames();
    hudOf(scene)->onPauseButton(nullptr);
    KVPauseScene* pause = pauseScreenOf(hudOf(scene));
    ASSERT_NE(pause, nullptr);
    for (int tag : {KVPauseScene::kContinueTag, KVPauseScene::kRestartTag, KVPauseScene::kQuitTag})
        EXPECT_NE(pause->getChildByTag(tag), nullptr) << "no button with tag " << tag;
}

} // namespace
