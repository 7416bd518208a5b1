// The front end's state machine with real screens: states and their slots, the main menu's reveal,
// the world map's carousel, arrows and keys, and the road into a mission.
#include "MenuFixture.h"

#include <string>

#include "engine/base/CCArray.h"
#include "engine/base/CCNotificationCenter.h"
#include "engine/base/CCString.h"
#include "engine/base/CCValue.h"
#include "engine/director/CCDirector.h"
#include "engine/director/CCScene.h"
#include "engine/labels/CCLabelTTF.h"
#include "engine/nodes/CCMenu.h"
#include "engine/nodes/CCMenuItemSprite.h"
#include "engine/platform/CCEGLView.h"
#include "engine/textures/CCTextureCache.h"
#include "game/app/KVGlobalNames.h"
#include "game/data/KVGameSetup.h"
#include "game/data/KVPlayerParameters.h"
#include "game/menu/KVLoadingScreenView.h"
#include "game/menu/KVMainMenuScreenView.h"
#include "game/menu/KVMenuManager.h"
#include "game/menu/KVMissionItem.h"
#include "game/menu/KVScreenStates.h"
#include "game/menu/KVScreenView.h"
#include "game/menu/KVScrollOverlayView.h"
#include "game/menu/KVScrollScalableItem.h"
#include "game/screens/KVInteractivePictureItem.h"
#include "game/screens/KVWorldMapScreenView.h"

using namespace kvengine;

namespace {

class FrontEndTest : public menutest::MenuFixture {
protected:
    void setUpWithGL() override {
        MenuFixture::setUpWithGL();
        if (IsSkipped() || HasFatalFailure()) return;
        menu = KVMenuManager::getInstance();
    }
    void pressKey(const char* name) {
        auto* key = new CCString(name);
        CCNotificationCenter::getInstance()->postNotification(ccEventKeyPress(), key);
        key->release();
    }
    KVWorldMapScreenView* openPrologue() {
        auto* chapter = new CCString("Prologue");
        menu->setChapterName(chapter);
        chapter->release();
        menu->changeState(9);
        frame();
        return runningView<KVWorldMapScreenView>("KVWorldMapScreenView");
    }
    KVMenuManager* menu = nullptr;
};

TEST_F(FrontEndTest, ScreenStatesBuildOnceAndCloseWithoutLeavingWhenNeverEntered) {
    auto* state = new KVWorldMapScreenState();
    state->open(9);
    EXPECT_EQ(state->getPreviousId(), 0);
    EXPECT_EQ(state->getCurrentId(), 9);
    EXPECT_TRUE(state->isEntered());
    CCScene* scene = state->getScene();
    ASSERT_NE(scene, nullptr);
    state->open(10);
    EXPECT_EQ(state->getScene(), scene) << "an entered state is not rebuilt";
    EXPECT_EQ(state->getPreviousId(), 9);
    EXPECT_EQ(state->getCurrentId(), 10);
    state->close();
    EXPECT_FALSE(state->isEntered());
    EXPECT_EQ(state->getCurrentId(), 0);
    state->release();

    auto* idle = new KVStateMenu();
    idle->setCurrentId(5);
    idle->close();
    EXPECT_FALSE(idle->isEntered());
    EXPECT_EQ(idle->getPreviousId(), 5);
    EXPECT_EQ(idle->getCurrentId(), 0);
    idle->release();

    auto* video = new KVVideoState();
    video->open(22);
    EXPECT_EQ(video->getScene(), nullptr) << "there is no video to show";
    video->release();
}

TEST_F(FrontEndTest, EachIdOpensItsStateInItsSlotAndShowsItsScreen) {
    struct Case {
        int id;
        KVMenuManager::Slot slot;
        const char* stateClass;
        int current;
        int overlayZ; // 0: a full screen replacing the running scene
    };
    const Case cases[] = {
        {1, KVMenuManager::kMainMenuSlot, "KVMainMenuScreenState", 1, 0},
        {3, KVMenuManager::kAboutSlot, "KVAboutScreenState", 3, 0},
        {4, KVMenuManager::kOptionsSlot, "KVOptionsScreenState", 4, 0},
        {6, KVMenuManager::kPlaySlot, "KVPlayScreenState", 5, 0},
        {7, KVMenuManager::kStorySlot, "KVStoryScreenState", 7, 0},
        {8, KVMenuManager::kHuddleSlot, "KVHuddleScreenState", 8, 0},
        {10, KVMenuManager::kWorldMapSlot, "KVWorldMapScreenState", 9, 0},
        {13, KVMenuManager::kTroopsSlot, "KVTroopsScreenState", 11, 0},
        {14, KVMenuManager::kShopSlot, "KVShopScreenState", 12, 0},
        {15, KVMenuManager::kEquipSlot, "KVEquipScreenState", 15, 0},
        {16, KVMenuManager::kPopUpSquadSlot, "KVPopUpSquadScreenState", 16, 1},
        {24, KVMenuManager::kPopUpItemSlot, "KVPopUpItemScreenState", 24, 1200},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.id);
        const int before = menu->getCurrentState();
        menu->popUpKind = 8;
        menu->changeState(c.id);
        KVStateMenu* state = menu->getSlot(c.slot);
        ASSERT_NE(state, nullptr);
        EXPECT_TRUE(state->isKindOf(c.stateClass));
        EXPECT_EQ(menu->getCurrentState(), c.current);
        auto* screen = static_cast<KVScreenState*>(state);
        ASSERT_NE(screen->getScene(), nullptr);
        if (c.overlayZ == 0) {
            frame();
            EXPECT_EQ(director->getRunningScene(), screen->getScene());
            // Every screen view starts with the backdrop: caustics (tag 964) and plankton, at z 1.
            auto* view = runningView<KVScreenView>("KVScreenView");
            ASSERT_NE(view, nullptr);
            EXPECT_NE(view->getChildByTag(KVScreenView::kCausticsTag), nullptr);
            EXPECT_NE(view->getParticlesLayer(), nullptr);
            continue;
        }
        EXPECT_EQ(menu->getPreviousState(), before) << "the screen under the overlay";
        CCNode* overlay = director->getRunningScene()->getChildByTag(KVMenuManager::kOverlayTag);
        ASSERT_EQ(overlay, screen->getScene());
        EXPECT_EQ(overlay->getZOrder(), c.overlayZ);
        menu->changeState(KVMenuManager::kCloseOverlayState);
        EXPECT_EQ(director->getRunningScene()->getChildByTag(KVMenuManager::kOverlayTag), nullptr);
        EXPECT_EQ(menu->getSlot(c.slot), nullptr);
        EXPECT_EQ(menu->getCurrentState(), before);
        EXPECT_EQ(menu->getPreviousState(), c.id);
    }
    menu->popUpKind = 0;
    // The story screen plays solo, the multiplayer set-up does not.
    menu->changeState(8);
    EXPECT_FALSE(KVGameSetup::getInstance()->solo);
    menu->changeState(7);
    EXPECT_TRUE(KVGameSetup::getInstance()->solo);
    EXPECT_EQ(menu->getSlot(KVMenuManager::kHuddleSlot), nullptr) << "left states leave their slot";
    // Asking for the screen in force builds it afresh.
    KVStateMenu* first = menu->getSlot(KVMenuManager::kStorySlot);
    first->retain();
    menu->changeState(7);
    EXPECT_NE(menu->getSlot(KVMenuManager::kStorySlot), first);
    EXPECT_FALSE(first->isEntered());
    first->release();
}

TEST_F(FrontEndTest, LeavingADialogueGivesTheRecordBackToTheScreenUnderIt) {
    menu->changeState(4);
    menu->changeState(KVMenuManager::kDialogueState);
    EXPECT_EQ(menu->getCurrentState(), 20);
    EXPECT_EQ(menu->getPreviousState(), 4);
    // The dialogue ends by itself.
    menu->exitState(KVMenuManager::kDialogueState - 1);
    EXPECT_EQ(menu->getCurrentState(), 4);
    EXPECT_EQ(menu->getPreviousState(), 20);
    menu->changeState(9);
    EXPECT_EQ(menu->getSlot(KVMenuManager::kOptionsSlot), nullptr) << "the screen under it was left";
    // A change while the dialogue still runs leaves the dialogue and the screen under it.
    menu->changeState(KVMenuManager::kDialogueState);
    menu->changeState(3);
    EXPECT_EQ(menu->getSlot(KVMenuManager::kWorldMapSlot), nullptr);
    EXPECT_EQ(menu->getCurrentState(), 3);
}

TEST_F(FrontEndTest, TheMainMenuRevealsItsButtonsAfterSevenSecondsOrAtAFirstTouch) {
    for (const bool touch : {false, true}) {
        SCOPED_TRACE(touch ? "touch" : "timer");
        menu->changeState(1);
        frame();
        auto* view = runningView<KVMainMenuScreenView>("KVMainMenuScreenView");
        ASSERT_NE(view, nullptr);
        EXPECT_FALSE(view->getChildByTag(KVScreenView::kCausticsTag)->isVisible());
        CCMenuItemSprite* play = view->itemOf(KVMainMenuScreenView::kPlayTag);
        ASSERT_NE(play, nullptr);
        for (int tag : {2, 3, 4, 8})
            EXPECT_FALSE(view->itemOf(tag)->isEnabled()) << tag;
        const CCPoint at = centreOf(play);
        if (touch) {
            tap(at.x, at.y); // reveals, presses nothing
            EXPECT_TRUE(view->isRevealed());
            EXPECT_EQ(menu->getCurrentState(), 1);
        } else {
            run(6.9f);
            EXPECT_FALSE(view->isRevealed());
            run(0.2f);
            EXPECT_TRUE(view->isRevealed());
        }
        for (int tag : {2, 3, 4, 8})
            EXPECT_TRUE(view->itemOf(tag)->isEnabled()) << tag;
        run(1.1f);
        EXPECT_EQ(view->getChildByTag(KVMainMenuScreenView::kLogoTag)->asRGBAProtocol()->getOpacity(), 255);
    }
    if (CCEGLView* glView = director->getOpenGLView()) {
        EXPECT_TRUE(glView->isPauseOnFocusLoss());
    }
    auto* old = new CCString("Elsewhere");
    menu->setChapterName(old);
    old->release();
    auto* view = runningView<KVMainMenuScreenView>("KVMainMenuScreenView");
    const CCPoint at = centreOf(view->itemOf(KVMainMenuScreenView::kPlayTag));
    tap(at.x, at.y);
    EXPECT_STREQ(menu->getChapterName()->c_str(), "Prologue");
    EXPECT_EQ(menu->getCurrentState(), 9);
}

TEST_F(FrontEndTest, TheWorldMapBrowsesThePrologueAndStartsTheCurrentMission) {
    KVWorldMapScreenView* map = openPrologue();
    ASSERT_NE(map, nullptr);
    KVInteractivePictureItem* panel = map->getStarPanel();
    ASSERT_NE(panel, nullptr);
    KVScrollScalableItem* carousel = panel->getCarousel();
    ASSERT_NE(carousel, nullptr);
    EXPECT_EQ(carousel->getCount(), 4) << "three bubbles and the empty end";
    EXPECT_FLOAT_EQ(carousel->getPitch(), KVWorldMapScreenView::kArrowStep) << "the arrows step one bubble";
    EXPECT_EQ(carousel->getCurrentIndex(), 0);
    EXPECT_EQ(map->getPageCount(), 2);
    EXPECT_FALSE(map->getPreviousMenu()->isVisible());
    EXPECT_TRUE(map->getNextMenu()->isVisible());
    auto title = [panel] {
        return std::string(
            static_cast<CCLabelTTF*>(panel->getChildByTag(KVInteractivePictureItem::kTitleTag))->getString());
    };
    EXPECT_EQ(title(), "First Dive");
    auto* second = static_cast<KVMissionItem*>(carousel->entryAt(1));
    ASSERT_NE(second, nullptr);
    EXPECT_FALSE(second->isEnabled()) << "a locked mission";

    pressKey("TOUCH_RIGHT");
    EXPECT_EQ(map->getCurrentPage(), 1);
    pressKey("TOUCH_RIGHT"); // the row is still moving: ignored
    EXPECT_EQ(map->getCurrentPage(), 1);
    run(0.5f);
    EXPECT_EQ(carousel->getCurrentIndex(), 1);
    EXPECT_EQ(title(), "Crab Reef");
    EXPECT_TRUE(map->getNextMenu()->isVisible()) << "the lagoon gate follows";
    EXPECT_TRUE(map->getPreviousMenu()->isVisible());
    EXPECT_FALSE(second->isEnabled()) << "still locked when current";
    EXPECT_EQ(KVPlayerParameters::getInstance()->getLastPlayedMission(), "M01b");
    pressKey("TOUCH_RIGHT");
    run(0.5f);
    EXPECT_EQ(map->getCurrentPage(), 2);
    EXPECT_EQ(title(), "Lagoon Gate");
    EXPECT_FALSE(map->getNextMenu()->isVisible());
    pressKey("TOUCH_RIGHT"); // nothing further
    run(0.5f);
    EXPECT_EQ(map->getCurrentPage(), 2);
    for (int page = 2; page > 0; --page) {
        pressKey("TOUCH_LEFT");
        run(0.5f);
    }
    EXPECT_EQ(carousel->getCurrentIndex(), 0);
    EXPECT_EQ(title(), "First Dive");

    // The current bubble leads through the loading screen to the mission, which fades in.
    CCNode* first = carousel->entryAt(0);
    ASSERT_TRUE(static_cast<KVMissionItem*>(first)->isEnabled());
    const CCPoint at = first->convertToWorldSpace(
        CCPoint(first->getContentSize().width / 2, first->getContentSize().height / 2));
    tap(at.x, at.y);
    ASSERT_NE(menu->getMissionName(), nullptr);
    EXPECT_STREQ(menu->getMissionName()->c_str(), "M01a");
    frame();
    EXPECT_TRUE(director->getRunningScene()->isKindOf("KVLoadingScreenView"));
    frame();
    EXPECT_STREQ(KVGameSetup::getInstance()->getMissionName()->c_str(), "M01a");
    EXPECT_STREQ(KVGameSetup::getInstance()->getChapterName()->c_str(), "Prologue");
    EXPECT_EQ(menu->getCurrentState(), KVMenuManager::kInGameState);
    run(0.6f);
    EXPECT_TRUE(director->getRunningScene()->isKindOf("KVGameplayScene"));
}

TEST_F(FrontEndTest, ThePanelShowsTheMissionOfTheBubbleAtAPositionWhenMissionsAreHidden) {
    // Item numbers 0, 1 (hidden) and 2: the second bubble is mission "C", not the hidden "B".
    kvdata::Dict* missions = kvdata::newDict();
    const struct {
        const char* name;
        int status;
    } rows[] = {{"A", 0}, {"B", 1}, {"C", 0}};
    for (int i = 0; i < 3; ++i) {
        kvdata::Dict* entry = kvdata::newDict();
        kvdata::setInt(entry, "status_locked", rows[i].status);
        kvdata::setInt(entry, "item_number", i);
        kvdata::setInt(entry, "max_star", 0);
        kvdata::setInt(entry, "hidden_locked", i == 2 ? 0 : 1);
        kvdata::setInt(entry, "surviva_locked", 1);
        kvdata::setInt(entry, "speed_locked", 1);
        kvdata::setInt(entry, "speed_number", 3);
        missions->setObject(entry, rows[i].name);
    }
    KVInteractivePictureItem* panel = KVInteractivePictureItem::createWithMissions(missions);
    ASSERT_NE(panel, nullptr);
    director->getRunningScene()->addChild(panel);
    KVScrollScalableItem* carousel = panel->getCarousel();
    EXPECT_EQ(carousel->getCount(), 3) << "A, C and the empty end";
    auto* index = new CCValue<int>(1);
    panel->showMission(nullptr, index);
    index->release();
    EXPECT_STREQ(
        static_cast<CCLabelTTF*>(panel->getChildByTag(KVInteractivePictureItem::kTitleTag))->getString(),
        "C");
    EXPECT_EQ(KVPlayerParameters::getInstance()->getLastPlayedMission(), "C");
    EXPECT_TRUE(panel->getChildByTag(KVInteractivePictureItem::kSecretEarnedTag)->isVisible());
    EXPECT_FALSE(panel->getChildByTag(KVInteractivePictureItem::kSecretMissingTag)->isVisible());
    EXPECT_FALSE(panel->getChildByTag(KVInteractivePictureItem::kSurvivalEarnedTag)->isVisible());
    EXPECT_STREQ(static_cast<CCLabelTTF*>(panel->getChildByTag(KVInteractivePictureItem::kSpeedCaptionTag))
                     ->getString(),
                 "Speed (3)");
    panel->removeFromParent(true);
}

TEST_F(FrontEndTest, TenRoundTripsThroughTheMenusLeaveNothingBehind) {
    // Main menu -> world map -> main menu -> about -> main menu, ten times: every screen left is
    // freed (its key observer gone), its carousel overlays are taken off the director and no
    // texture piles up. The sanitizer build checks the rest for leaks at exit.
    menu->changeState(KVMenuManager::kMainMenuState);
    frame();
    CCNotificationCenter* centre = CCNotificationCenter::getInstance();
    const std::string keyPress = ccEventKeyPress()->c_str();
    unsigned keyObservers = 0;
    unsigned textures = 0;
    for (int trip = 1; trip <= 10; ++trip) {
        SCOPED_TRACE(trip);
        KVWorldMapScreenView* map = openPrologue();
        ASSERT_NE(map, nullptr);
        EXPECT_EQ(director->getOverlayViews().size(), 2u) << "the carousel's touch and scroll views";
        pressKey("TOUCH_RIGHT");
        run(0.3f);
        const CCPoint back = centreOf(map->getChildByTag(KVWorldMapScreenView::kBackTag));
        tap(back.x, back.y);
        frame();
        ASSERT_EQ(menu->getCurrentState(), KVMenuManager::kMainMenuState);
        menu->changeState(KVMenuManager::kAboutState);
        frame();
        auto* about = runningView<KVScreenView>("KVAboutScreenView");
        ASSERT_NE(about, nullptr);
        pressKey("TOUCH_RIGHT");
        run(0.3f);
        const CCPoint aboutBack = centreOf(about->getChildByTag(2));
        tap(aboutBack.x, aboutBack.y);
        frame();
        frame();
        ASSERT_NE(runningView<KVMainMenuScreenView>("KVMainMenuScreenView"), nullptr);
        EXPECT_TRUE(director->getOverlayViews().empty());
        if (trip == 1) {
            keyObservers = centre->registrationCount(keyPress);
            textures = CCTextureCache::getInstance()->count();
        }
        EXPECT_EQ(centre->registrationCount(keyPress), keyObservers);
        EXPECT_EQ(CCTextureCache::getInstance()->count(), textures);
    }
}

} // namespace
