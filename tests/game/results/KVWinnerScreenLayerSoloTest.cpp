// The solo victory screen: over a won M01a (stars, loot, pop-ups, buttons, the way on), and made
// directly over a plain scene for the button rules.
#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

#include "ResultsFixture.h"
#include "engine/base/CCNotificationCenter.h"
#include "engine/base/CCUserDefaults.h"
#include "engine/director/CCDirector.h"
#include "engine/director/CCScene.h"
#include "engine/files/CCResourceIndex.h"
#include "engine/input/CCView.h"
#include "engine/sprites/CCSprite.h"
#include "engine/sprites/CCSpriteFrameCache.h"
#include "game/app/KVGlobalNames.h"
#include "game/data/KVDataAccess.h"
#include "game/data/KVGameParameters.h"
#include "game/data/KVGameSetup.h"
#include "game/data/KVPlayerParameters.h"
#include "game/menu/KVButton.h"
#include "game/menu/KVButtonItem.h"
#include "game/menu/KVLoadingScreenView.h"
#include "game/menu/KVMenuManager.h"
#include "game/results/KVWinnerScreenLayerSolo.h"
#include "game/scene/KVGameplayScene.h"
#include "game/score/KVScoreManagerSolo.h"
#include "support/MissionTestSupport.h"

using namespace kvengine;

namespace {

using Screen = KVWinnerScreenLayerSolo;

bool overlayShown(CCView* overlay) {
    for (CCView* view : CCDirector::getInstance()->getOverlayViews())
        if (view == overlay) return true;
    return false;
}

class WinnerScreenTest : public resultstest::ResultsFixture {
protected:
    /// A new player holding one "pearlfish": M01a is won with three new stars and 40 pearls.
    Screen* winM01a(menutest::Recorder* stars = nullptr) {
        KVPlayerParameters::getInstance()->addConsumable("pearlfish", 1);
        KVGameplayScene* scene = startMission();
        if (scene == nullptr) return nullptr;
        // The mission's opening dialogue would cover the screen and take its taps.
        EXPECT_TRUE(kvtest::passOpeningDialogue([this] { frame(); }));
        soloScore(scene)->onHiddenStarFound(nullptr);
        pearlsBefore = KVPlayerParameters::getInstance()->getPearlAmount();
        if (stars != nullptr) {
            stars->observe(EVENT_VICTORY_STAR_GAINED);
            stars->observe(EVENT_VICTORY_STAR_NOT_OBTAINED);
        }
        return dynamic_cast<Screen*>(finish(scene, true, 40));
    }
    /// Frames until `done` holds (at most `seconds`); the seconds it took.
    template <typename Done> float runUntil(Done done, float seconds) {
        int frames = 0;
        for (; frames < seconds * 60 && !done(); ++frames)
            frame();
        return frames / 60.0f;
    }
    void tapScreen() { tap(100, 100); }
    KVButton* button(Screen* screen, int tag) { return dynamic_cast<KVButton*>(screen->getChildByTag(tag)); }
    static bool enabled(KVButton* button) { return button != nullptr && button->getItem()->isEnabled(); }
    static bool marked(KVButton* button) {
        if (button == nullptr) return false;
        CCArray* children = button->getItem()->getChildren();
        for (unsigned i = 0; children != nullptr && i < children->count(); ++i) {
            auto* child = static_cast<CCNode*>(children->objectAtIndex(i));
            if (child->getTag() != KVButtonItem::kLabelTag && child->getZOrder() == 10) return true;
        }
        return false;
    }
    /// The rows' final layout, as (x, y) of every bubble, description, reward and star.
    static std::vector<CCPoint> layout(Screen* screen) {
        std::vector<CCPoint> points;
        for (int row = 0; row < Screen::kRows; ++row)
            for (int tag :
                 {Screen::kBubbleTag, Screen::kDescriptionTag, Screen::kRewardTag, Screen::kStarTag})
                if (CCNode* node = screen->getChildByTag(tag + row)) points.push_back(node->getPosition());
        return points;
    }

    int pearlsBefore = 0;
};

TEST_F(WinnerScreenTest, PlayedThroughTheRowsComeEveryOneAndAHalfSecondsAndPayEveryPearlOnce) {
    menutest::Recorder stars;
    Screen* screen = winM01a(&stars);
    ASSERT_NE(screen, nullptr);
    EXPECT_EQ(screen->getZOrder(), 1100);
    for (int row = 0; row < 3; ++row)
        EXPECT_EQ(screen->starResult(row), KVScoreManagerSolo::kStarEarned) << row;
    // Three new stars and 40 pearls doubled: 1580 announced, nothing paid yet.
    EXPECT_EQ(screen->getLoot(), 1580);
    EXPECT_EQ(KVPlayerParameters::getInstance()->getPearlAmount(), pearlsBefore);

    float elapsed = 0;
    const std::vector<float> expected = {0.5f, 2.0f, 3.5f, 5.0f};
    for (int row = 0; row < Screen::kRows; ++row) {
        elapsed += runUntil([&] { return screen->getRowsShown() > row; }, 3.0f);
        // Each step of a row's chain may end up to a frame late.
        EXPECT_NEAR(elapsed, expected[row], 0.02f + (row + 1) / 60.0f) << "row " << row;
        for (int i = 0; i < 24; ++i)
            frame();
        elapsed += 24 / 60.0f;
        screenshot("victory_row_" + std::to_string(row) + ".png");
    }
    elapsed += runUntil([&] { return screen->isDone(); }, 3.0f);
    EXPECT_NEAR(elapsed, 6.5f, 0.02f + 5 / 60.0f);
    EXPECT_EQ(stars.count("EVENT_VICTORY_STAR_GAINED"), 3);
    EXPECT_EQ(stars.count("EVENT_VICTORY_STAR_NOT_OBTAINED"), 0);
    EXPECT_EQ(screen->getLoot(), 0);
    EXPECT_EQ(KVPlayerParameters::getInstance()->getPearlAmount(), pearlsBefore + 1580);

    // The pop-ups: the coral crown now in the shop, then the mission's message; the overlay is
    // away meanwhile, so a tap reaches the pop-up only.
    KVMenuManager* menu = KVMenuManager::getInstance();
    frame();
    EXPECT_FALSE(overlayShown(screen->getOverlay()));
    EXPECT_EQ(kvdata::textOf(menu->getPopUpText()), "coral_crown");
    screenshot("victory_pop_up.png");
    EXPECT_EQ(confirmPopUp(), 6);
    EXPECT_EQ(kvdata::textOf(menu->getPopUpText()), "M01a victory message");
    EXPECT_EQ(confirmPopUp(), 8);
    EXPECT_EQ(confirmPopUp(), 0);
    EXPECT_TRUE(overlayShown(screen->getOverlay()));
    EXPECT_FALSE(screen->isClosing());

    // The next tap (twice, quickly) clears the rows and shows the buttons once.
    tapScreen();
    frame();
    tapScreen();
    EXPECT_TRUE(screen->isClosing());
    run(0.6f);
    int buttons = 0;
    for (unsigned i = 0; i < screen->getChildren()->count(); ++i)
        buttons +=
            static_cast<CCNode*>(screen->getChildren()->objectAtIndex(i))->isKindOf("KVButton") ? 1 : 0;
    EXPECT_EQ(buttons, 4);
    EXPECT_FALSE(overlayShown(screen->getOverlay()));
    for (int tag : {Screen::kContinueTag, Screen::kRestartTag, Screen::kTeamTag, Screen::kShopTag})
        EXPECT_TRUE(enabled(button(screen, tag))) << tag;
    EXPECT_TRUE(marked(button(screen, Screen::kShopTag)));
    EXPECT_FALSE(marked(button(screen, Screen::kTeamTag)));
    screenshot("victory_buttons.png");

    // What was saved: the loot once, the next mission open.
    CCUserDefaults::getInstance()->release();
    KVPlayerParameters::getInstance()->release();
    KVPlayerParameters* saved = KVPlayerParameters::getInstance();
    EXPECT_EQ(saved->getPearlAmount(), pearlsBefore + 1580);
    EXPECT_EQ(saved->getMissionLockStatus("M01b", "Prologue"), kLockStatusUnlocked);
    EXPECT_EQ(saved->getLastPlayedMission(), "M01b");

    // Continue: M01b through a loading screen of kind 2.
    const CCPoint at = centreOf(button(screen, Screen::kContinueTag));
    tap(at.x, at.y);
    frame();
    auto* loading = dynamic_cast<KVLoadingScreenView*>(director->getRunningScene());
    ASSERT_NE(loading, nullptr);
    EXPECT_EQ(loading->getKind(), 2);
    EXPECT_EQ(kvdata::textOf(menu->getMissionName()), "M01b");
}

// A tap at any moment gives the final layout (against the totem where it stands) and the same
// pearls as playing it through; only the stars already stamped were announced.
TEST_F(WinnerScreenTest, ATapAnyTimeGivesTheFinalLayoutAndTheSamePearls) {
    struct Case {
        float tapAt; // < 0: no tap
        int starPosts;
    };
    for (const Case& c : {Case{0.2f, 0}, Case{2.7f, 2}, Case{-1.0f, 3}}) {
        SCOPED_TRACE(c.tapAt);
        director->replaceScene(CCScene::create());
        frame();
        frame();
        KVPlayerParameters::getInstance()->release();
        CCUserDefaults::getInstance()->release();
        forgetSavedProfile();
        menutest::Recorder stars;
        Screen* screen = winM01a(&stars);
        ASSERT_NE(screen, nullptr);
        if (c.tapAt >= 0) {
            run(c.tapAt);
            tapScreen();
            EXPECT_TRUE(screen->isDone());
        } else {
            runUntil([&] { return screen->isDone(); }, 8.0f);
        }
        run(1.0f);
        EXPECT_EQ(stars.count("EVENT_VICTORY_STAR_GAINED"), c.starPosts);
        EXPECT_EQ(KVPlayerParameters::getInstance()->getPearlAmount(), pearlsBefore + 1580);
        EXPECT_EQ(screen->getLoot(), 0);
        auto* totem = static_cast<CCSprite*>(screen->getChildByTag(Screen::kTotemTag));
        const float left = totem->getPosition().x + totem->getContentSize().width / 6;
        // The played-through bubbles keep their recoil's 4 points.
        const float recoil = c.tapAt < 0 ? 4.0f : 0.0f;
        for (int row = 0; row < Screen::kRows; ++row) {
            SCOPED_TRACE(row);
            const float y = screen->rowY(row);
            CCNode* bubble = screen->getChildByTag(Screen::kBubbleTag + row);
            EXPECT_NEAR(bubble->getPosition().x, left + bubble->getContentSize().width / 2 + recoil, 0.01f);
            EXPECT_NEAR(bubble->getPosition().y, y, 0.01f);
            EXPECT_NEAR(screen->getChildByTag(Screen::kDescriptionTag + row)->getPosition().x,
                        left + 208 + recoil, 0.01f);
            CCNode* reward = screen->getChildByTag(Screen::kRewardTag + row);
            EXPECT_NEAR(reward->getPosition().x, left + 228, 0.01f);
            EXPECT_EQ(dynamic_cast<CCRGBAProtocol*>(reward)->getOpacity(), 255);
            EXPECT_TRUE(reward->isVisible());
            if (row == Screen::kPearlRow) continue;
            CCNode* star = screen->getChildByTag(Screen::kStarTag + row);
            EXPECT_FLOAT_EQ(star->getScale(), 1.0f);
            EXPECT_TRUE(star->isVisible());
        }
        if (c.tapAt == 0.2f) {
            // The slide stopped short: the totem is left of where it would have stopped.
            EXPECT_LT(totem->getPosition().x,
                      director->getWinSize().width / 2 - 0.8f * totem->getContentSize().width - 1);
            screenshot("victory_tapped_during_slide.png");
        }
    }
}

/// The buttons over a plain scene: the screen made directly for a mission of the Prologue.
class WinnerButtonsTest : public WinnerScreenTest {
protected:
    Screen* showButtonsOf(const char* mission) {
        KVGameSetup* setup = KVGameSetup::getInstance();
        setup->setChapterName(kvdata::newString("Prologue"));
        setup->setMissionName(kvdata::newString(mission));
        CCResourceIndex* index = CCResourceIndex::getInstance();
        for (const char* sheet : {"victory_screen_88_ss.plist", "victory_screen_tc4_ss.plist"})
            CCSpriteFrameCache::getInstance()->addSpriteFramesWithFile(index->pathForFileName(sheet).c_str());
        const CCSize window = director->getWinSize();
        Screen* screen = Screen::create(ccColor4B{0, 0, 0, 150}, window.width, window.height, nullptr);
        base->addChildAtZ(screen, 1100);
        screen->onTap(nullptr, nullptr);
        while (confirmPopUp() != 0) {
        }
        screen->onTap(nullptr, nullptr);
        run(0.6f);
        return screen;
    }
};

TEST_F(WinnerButtonsTest, LocksLastMissionsAndTheNewMarkDecideWhichButtonsWork) {
    struct Case {
        const char* name;
        const char* mission;
        bool forcedSteps;
        bool unseen;
        bool continueOn, restartOn, shopOn, marked;
    };
    const std::vector<Case> cases = {
        {"first win of M01a", "M01a", false, true, true, true, true, true},
        {"nothing unseen: no mark", "M01a", false, false, true, true, true, false},
        {"forced steps first: only Team", "M01a", true, true, false, false, false, false},
        {"last mission of the chapter", "M01c", false, true, false, true, true, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        base->removeAllChildren(true);
        KVPlayerParameters::getInstance()->release();
        KVGameParameters::getInstance()->release();
        CCUserDefaults::getInstance()->release();
        forgetSavedProfile();
        KVPlayerParameters* profile = KVPlayerParameters::getInstance();
        if (c.forcedSteps) {
            kvdata::Dict* steps = kvdata::newDict();
            kvdata::Dict* step = kvdata::newDict();
            kvdata::Dict* condition = kvdata::newDict();
            kvdata::setText(condition, "screen", "team");
            step->setObject(condition, "condition");
            steps->setObject(step, "step01");
            KVGameParameters::getInstance()
                ->findMissionDefinition(std::string("M01a"))
                ->setObject(steps, "stepsToDoBeforeNextMission");
        }
        profile->setMissionLockStatus(c.mission, "Prologue", 0);
        // Something new in the shop, or nothing.
        KVGameParameters::getInstance()
            ->findMissionDefinition(std::string(c.mission))
            ->setObject(kvdata::newDict(), "unlockable_items");
        if (c.unseen) profile->setHelmetLockStatus("pirate_hat", kLockStatusInShop);
        Screen* screen = showButtonsOf(c.mission);
        EXPECT_EQ(enabled(button(screen, Screen::kContinueTag)), c.continueOn);
        EXPECT_EQ(enabled(button(screen, Screen::kRestartTag)), c.restartOn);
        EXPECT_EQ(enabled(button(screen, Screen::kShopTag)), c.shopOn);
        EXPECT_TRUE(enabled(button(screen, Screen::kTeamTag)));
        EXPECT_EQ(marked(button(screen, Screen::kShopTag)), c.marked);
        for (int tag : {Screen::kContinueTag, Screen::kRestartTag, Screen::kShopTag}) {
            KVButtonItem* item = button(screen, tag)->getItem();
            const uint8_t opacity = item->isEnabled() ? 255 : 80;
            EXPECT_EQ(item->getOpacity(), opacity) << tag;
            EXPECT_EQ(
                dynamic_cast<CCRGBAProtocol*>(item->getChildByTag(KVButtonItem::kLabelTag))->getOpacity(),
                opacity)
                << tag;
        }
    }
}

TEST_F(WinnerButtonsTest, TeamAndShopLeaveForTheMenusAndLetEscapeWorkAgain) {
    for (int kind : {4, 5}) {
        SCOPED_TRACE(kind);
        director->replaceScene(CCScene::create());
        frame();
        base = director->getRunningScene();
        KVGameSetup::getInstance()->escapeKeyBlocked = true;
        Screen* screen = showButtonsOf("M01a");
        const CCPoint at = centreOf(button(screen, kind == 4 ? Screen::kTeamTag : Screen::kShopTag));
        tap(at.x, at.y);
        frame();
        auto* loading = dynamic_cast<KVLoadingScreenView*>(director->getRunningScene());
        ASSERT_NE(loading, nullptr);
        EXPECT_EQ(loading->getKind(), kind);
        EXPECT_FALSE(KVGameSetup::getInstance()->escapeKeyBlocked);
        EXPECT_EQ(kvdata::textOf(KVGameSetup::getInstance()->getChapterName()), "");
    }
}

} // namespace
