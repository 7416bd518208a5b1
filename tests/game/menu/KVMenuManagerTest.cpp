// The menu manager's overlay, dialogue and mission states, and the loading screens that lead back
// from a mission.
#include "game/menu/KVMenuManager.h"

#include "MenuFixture.h"

#include <algorithm>
#include <utility>
#include <vector>

#include "engine/base/CCAutoreleasePoolStack.h"
#include "engine/base/CCString.h"
#include "engine/director/CCDirector.h"
#include "engine/director/CCScene.h"
#include "engine/platform/CCEGLView.h"
#include "engine/sprites/CCSpriteFrameCache.h"
#include "engine/textures/CCTextureCache.h"
#include "game/app/KVGlobalNames.h"
#include "game/chatter/KVChatterManager.h"
#include "game/menu/KVLoadingScreenView.h"

using namespace kvengine;

namespace {

class MenuStatesTest : public menutest::MenuFixture {
protected:
    void setUpWithGL() override {
        MenuFixture::setUpWithGL();
        if (IsSkipped() || HasFatalFailure()) return;
        menu = KVMenuManager::getInstance();
        recorder = new menutest::Recorder();
        for (CCString* name : {EVENT_MUSIC_MENU_START, EVENT_MUSIC_MENU_STOP, EVENT_MUSIC_GAME_STOP})
            recorder->observe(name);
    }
    void tearDownWithGL() override {
        if (recorder != nullptr) recorder->release();
        recorder = nullptr;
        MenuFixture::tearDownWithGL();
    }
    KVMenuManager* menu = nullptr;
    menutest::Recorder* recorder = nullptr;
};

TEST_F(MenuStatesTest, TheRecordFollowsScreensOverlaysAndMissions) {
    struct Step {
        int state;
        int current;
        int previous;
        const char* music; // the posts of this step, in order
    };
    const Step steps[] = {
        {22, 1, 0, "M"},      // "DisableIntroductionVideo": the main menu, as state 1
        {4, 4, 1, ""},        // a screen
        {24, 24, 4, ""},      // the pop-up over it
        {19, 4, 24, ""},      // closed: the screen is back
        {18, 18, 4, ""},      // a mission runs
        {2, 1, 4, ""},        // the main menu from a mission: nothing stopped
        {18, 18, 1, ""},      //
        {13, 11, 1, "G G M"}, // troops after a mission: the game music stops twice
        {18, 18, 11, ""},     //
        {10, 9, 11, "G M"},   // the world map after a mission: the mission is not left again
        {14, 12, 9, "G M"},   // the shop
        {23, 1, 22, "S M"},   // the video state: there is no video, the main menu follows at once
        {0, 1, 22, ""},       // ignored ids
        {25, 1, 22, ""},      //
    };
    for (const Step& step : steps) {
        SCOPED_TRACE(step.state);
        recorder->names.clear();
        menu->changeState(step.state);
        EXPECT_EQ(menu->getCurrentState(), step.current);
        EXPECT_EQ(menu->getPreviousState(), step.previous);
        std::string music;
        for (const std::string& name : recorder->names)
            music += std::string(music.empty() ? "" : " ") + (name == "EVENT_MUSIC_GAME_STOP"    ? "G"
                                                              : name == "EVENT_MUSIC_MENU_START" ? "M"
                                                                                                 : "S");
        EXPECT_EQ(music, step.music);
    }
}

TEST_F(MenuStatesTest, TheDialogueStateShowsTheLoadedDialogueOverTheRunningScene) {
    KVChatterManager* chatter = KVChatterManager::getInstance();
    menu->changeState(4);
    menu->changeState(KVMenuManager::kDialogueState);
    EXPECT_EQ(menu->getCurrentState(), 20);
    EXPECT_EQ(menu->getPreviousState(), 4);
    EXPECT_EQ(chatter->getHostScene(), base);

    // A dialogue that runs already keeps its own host.
    CCScene* other = CCScene::create();
    chatter->setHostScene(other);
    chatter->setChatterRunning(true);
    menu->changeState(KVMenuManager::kDialogueState);
    EXPECT_EQ(chatter->getHostScene(), other);

    menu->exitState(KVMenuManager::kDialogueState - 1);
    EXPECT_FALSE(chatter->isChatterRunning());
    EXPECT_EQ(chatter->getHostScene(), nullptr);
}

TEST_F(MenuStatesTest, MissionAndPopUpValuesAreKeptUntilReplaced) {
    auto* mission = new CCString("M01a");
    menu->setMissionName(mission);
    mission->release();
    EXPECT_EQ(menu->getMissionName()->retainCount(), 1u) << "held by the manager";
    menu->setMissionName(nullptr);
    EXPECT_EQ(menu->getMissionName(), nullptr);
    auto* text = new CCString("cocktail");
    menu->setPopUpText(text);
    menu->setPopUpText(text);
    EXPECT_EQ(text->retainCount(), 2u);
    text->release();
}

class LoadingScreenTest : public MenuStatesTest {
protected:
    KVLoadingScreenView* show(int kind) {
        KVLoadingScreenView* loading = KVLoadingScreenView::createWithKind(kind);
        director->replaceScene(loading);
        frame(); // the loading screen becomes the running scene
        return loading;
    }
    std::string label(KVLoadingScreenView* loading) const {
        CCNode* node = loading->getChildByTag(KVLoadingScreenView::kLabelTag);
        return node != nullptr ? node->asLabelProtocol()->getString() : "<none>";
    }
};

TEST_F(LoadingScreenTest, TheWayBackEmptiesTheCachesAndAsksForItsScreen) {
    struct Case {
        int kind;
        int current;
    };
    for (const Case& c : {Case{3, 9}, Case{4, 11}, Case{5, 12}}) {
        SCOPED_TRACE(c.kind);
        menu->changeState(KVMenuManager::kInGameState);
        const int underMission = menu->getPreviousState();
        ASSERT_NE(CCSpriteFrameCache::getInstance()->findSpriteFrameByName("Kv_BT_Down.png"), nullptr);
        KVLoadingScreenView* loading = show(c.kind);
        // Kept for the checks below: the screen it asks for replaces it in the next frame.
        loading->retain();
        ASSERT_EQ(director->getRunningScene(), loading);
        EXPECT_EQ(label(loading), "Loading ...");
        frame();
        EXPECT_EQ(label(loading), "Loading .");
        frame();
        EXPECT_EQ(label(loading), "Loading ..");
        EXPECT_EQ(CCSpriteFrameCache::getInstance()->findSpriteFrameByName("Kv_BT_Down.png"), nullptr);
        frame();
        EXPECT_EQ(label(loading), "Loading ...");
        EXPECT_EQ(CCTextureCache::getInstance()->count(), 0u);
        EXPECT_EQ(menu->getCurrentState(), 18) << "not yet";
        frame();
        EXPECT_EQ(label(loading), "Loading ....");
        EXPECT_EQ(menu->getCurrentState(), c.current);
        EXPECT_EQ(menu->getPreviousState(), underMission) << "leaving the mission changes no record";
        EXPECT_FALSE(loading->isReady());
        EXPECT_NE(CCSpriteFrameCache::getInstance()->findSpriteFrameByName("Kv_BT_Down.png"), nullptr)
            << "the menu sheets are back";
        frame();
        EXPECT_EQ(label(loading), "Loading ....") << "later frames change nothing";
        EXPECT_EQ(menu->getCurrentState(), c.current);
        EXPECT_NE(director->getRunningScene(), loading) << "its screen took over";
        loading->release();
    }
}

std::vector<std::pair<int, int>> g_records;

TEST_F(LoadingScreenTest, TheWayIntoAMissionLeavesTheMenusAtOnce) {
    menu->changeState(9);
    menu->changeState(KVMenuManager::kItemPopUpState); // an overlay is closed on the way too
    KVLoadingScreenView* loading = show(2);
    // Kept for the checks below: the world map that comes back replaces it.
    loading->retain();
    EXPECT_EQ(loading->getChildByTag(KVLoadingScreenView::kLabelTag), nullptr);
    g_records.clear();
    KVMenuManager::setRecordObserver(
        [](int current, int previous) { g_records.emplace_back(current, previous); });
    frame();
    KVMenuManager::setRecordObserver(nullptr);
    EXPECT_NE(std::find(g_records.begin(), g_records.end(), std::make_pair(17, 9)), g_records.end())
        << "the menus were left for the mission";
    EXPECT_FALSE(loading->isReady());
    // The mission scene fades in and the record reads "in a mission".
    EXPECT_EQ(menu->getCurrentState(), KVMenuManager::kInGameState);
    EXPECT_EQ(menu->getSlot(KVMenuManager::kPopUpItemSlot), nullptr) << "the pop-up was closed on the way";
    loading->release();
}

TEST_F(LoadingScreenTest, KeysAreBlockedAndTheSystemCursorShownWhileItExists) {
    for (int kind : {2, 3}) {
        SCOPED_TRACE(kind);
        director->setCursor(CCDirector::kCursorOpen);
        KVLoadingScreenView* loading = KVLoadingScreenView::createWithKind(kind);
        EXPECT_TRUE(director->isSystemCursorShown());
        if (CCEGLView* view = director->getOpenGLView()) {
            EXPECT_TRUE(view->areKeysBlocked());
        }
        loading->cleanup(); // as the director does when it lets a scene go
        CCAutoreleasePoolStack::getInstance().clearAllPools();
        if (CCEGLView* view = director->getOpenGLView()) {
            EXPECT_FALSE(view->areKeysBlocked());
        }
        EXPECT_EQ(director->isSystemCursorShown(), kind == 2) << "back in the menus the pointer shows";
        if (kind == 3) {
            EXPECT_EQ(director->getCurrentCursor(), CCDirector::kCursorPoint);
        }
    }
}

} // namespace
