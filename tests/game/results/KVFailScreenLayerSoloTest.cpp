// The solo failure screen: over a lost M01a (payment, reveal, defeat messages, close, buttons), and
// made directly over a plain scene for the buttons and for a screen without a match.
#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

#include "ResultsFixture.h"
#include "engine/base/CCArray.h"
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
#include "game/data/KVGameSetup.h"
#include "game/data/KVPlayerParameters.h"
#include "game/menu/KVButton.h"
#include "game/menu/KVButtonItem.h"
#include "game/menu/KVLoadingScreenView.h"
#include "game/menu/KVMenuManager.h"
#include "game/menu/KVPearlCountItem.h"
#include "game/powerups/KVConsumableManager.h"
#include "game/results/KVFailScreenLayerSolo.h"
#include "game/scene/KVGameplayLayer.h"
#include "game/scene/KVGameplayScene.h"
#include "support/MissionTestSupport.h"

using namespace kvengine;

namespace {

using Screen = KVFailScreenLayerSolo;

bool overlayShown(CCView* overlay) {
    for (CCView* view : CCDirector::getInstance()->getOverlayViews())
        if (view == overlay) return true;
    return false;
}

uint8_t opacityOf(CCNode* node) {
    auto* rgba = dynamic_cast<CCRGBAProtocol*>(node);
    return rgba != nullptr ? rgba->getOpacity() : 0;
}

class FailScreenTest : public resultstest::ResultsFixture {
protected:
    /// A new player holding one "pearlfish" loses M01a with 30 pearls scored and two cocktails
    /// used in the match.
    Screen* loseM01a(menutest::Recorder* recorder = nullptr) {
        KVPlayerParameters* profile = KVPlayerParameters::getInstance();
        profile->addConsumable("pearlfish", 1);
        scene = startMission();
        if (scene == nullptr) return nullptr;
        // The mission's opening dialogue would cover the screen and take its taps.
        EXPECT_TRUE(kvtest::passOpeningDialogue([this] { frame(); }));
        KVConsumableManager* consumables = KVConsumableManager::getInstance();
        consumables->recordUsage("cocktail");
        consumables->recordUsage("cocktail");
        pearlsBefore = profile->getPearlAmount();
        cocktailsBefore = profile->getConsumableAmount("cocktail");
        if (recorder != nullptr) recorder->observe(EVENT_GAME_PLAYER_LOSE);
        return dynamic_cast<Screen*>(finish(scene, false, 30));
    }
    /// Frames until `done` holds (at most `seconds`); the seconds it took.
    template <typename Done> float runUntil(Done done, float seconds) {
        int frames = 0;
        for (; frames < seconds * 60 && !done(); ++frames)
            frame();
        return frames / 60.0f;
    }
    void tapScreen() { tap(100, 100); }
    static KVButton* button(Screen* screen, int tag) {
        return dynamic_cast<KVButton*>(screen->getChildByTag(tag));
    }
    static int countButtons(Screen* screen) {
        int buttons = 0;
        for (unsigned i = 0; i < screen->getChildren()->count(); ++i)
            buttons += static_cast<CCNode*>(screen->getChildren()->objectAtIndex(i))->isKindOf("KVButton");
        return buttons;
    }
    static bool marked(KVButton* button) {
        if (button == nullptr) return false;
        CCArray* children = button->getItem()->getChildren();
        for (unsigned i = 0; children != nullptr && i < children->count(); ++i) {
            auto* child = static_cast<CCNode*>(children->objectAtIndex(i));
            if (child->getTag() != KVButtonItem::kLabelTag && child->getZOrder() == 10) return true;
        }
        return false;
    }
    /// Where corner i (0 to 3) rests once crept in, for a corner picture of cw x ch.
    static CCPoint cornerRest(Screen* screen, int i, float cw, float ch) {
        const float w = screen->getWidth();
        const float h = screen->getHeight();
        const CCPoint rests[] = {CCPoint(w - cw / 2, h - ch / 2), CCPoint(w - ch / 2, cw / 2),
                                 CCPoint(cw / 2, ch / 2), CCPoint(ch / 2, h - cw / 2)};
        return rests[i];
    }
    /// Every splat, the sign, the corners and the vignette in their final state.
    static void expectFinalReveal(Screen* screen) {
        for (int tag = Screen::kFirstSplatTag; tag <= Screen::kSignTag; ++tag) {
            CCNode* node = screen->getChildByTag(tag);
            ASSERT_NE(node, nullptr) << tag;
            EXPECT_EQ(opacityOf(node), 255) << tag;
            EXPECT_FLOAT_EQ(node->getScale(), 1.0f) << tag;
        }
        for (int i = 0; i < Screen::kCorners; ++i) {
            CCNode* corner = screen->getChildByTag(Screen::kFirstCornerTag + i);
            ASSERT_NE(corner, nullptr);
            const CCSize size = corner->getContentSize();
            const CCPoint rest = cornerRest(screen, i, size.width, size.height);
            EXPECT_NEAR(corner->getPosition().x, rest.x, 0.01f) << i;
            EXPECT_NEAR(corner->getPosition().y, rest.y, 0.01f) << i;
        }
        CCNode* vignette = screen->getChildByTag(Screen::kVignetteTag);
        EXPECT_EQ(opacityOf(vignette), 255);
        EXPECT_NEAR(vignette->getContentSize().width * vignette->getScaleX(), screen->getWidth(), 0.01f);
        EXPECT_NEAR(vignette->getContentSize().height * vignette->getScaleY(), screen->getHeight(), 0.01f);
    }
    /// Past the reveal and the pop-ups, the close and the lift-up: the buttons are up.
    void closeToButtons(Screen* screen) {
        if (!screen->isDone()) screen->onTap(nullptr, nullptr);
        while (confirmPopUp() != 0) {
        }
        screen->onTap(nullptr, nullptr);
        run(Screen::kCloseSeconds + Screen::kLiftSeconds + 0.1f);
    }

    KVGameplayScene* scene = nullptr;
    int pearlsBefore = 0;
    int cocktailsBefore = 0;
};

TEST_F(FailScreenTest, PlayedThroughItPaysOnceRevealsInTimeShowsTheMessageAndRestartsTheMission) {
    menutest::Recorder lose;
    Screen* screen = loseM01a(&lose);
    ASSERT_NE(screen, nullptr);
    EXPECT_EQ(screen->getZOrder(), 1100);
    EXPECT_EQ(scene->getOutcome(), KVGameplayScene::kOutcomeDefeat);
    for (const char* sheet : {"fail_screen_8888_ss", "fail_screen_5551_ss"})
        EXPECT_NE(scene->getGameplayLayer()->getSheet(sheet), nullptr) << sheet;
    EXPECT_EQ(lose.count("EVENT_GAME_PLAYER_LOSE"), 1);
    KVPlayerParameters* profile = KVPlayerParameters::getInstance();
    // 30 pearls doubled by the pearlfish, and the two cocktails back in stock.
    EXPECT_EQ(screen->getPearlsPaid(), 60);
    EXPECT_EQ(profile->getPearlAmount(), pearlsBefore + 60);
    EXPECT_EQ(profile->getConsumableAmount("cocktail"), cocktailsBefore + 2);
    EXPECT_TRUE(KVConsumableManager::getInstance()->getUsage().empty());
    EXPECT_EQ(kvdata::intAt(profile->getMissionRecord("M01a", "Prologue"), "status_played"), 1);

    // Taken off the stage and put back (as a scene change or a parent's re-entry does): nothing
    // more is paid.
    CCNode* parent = screen->getParent();
    screen->retain();
    screen->removeFromParent(false);
    parent->addChildAtZ(screen, 1100);
    screen->release();
    frame();
    EXPECT_EQ(profile->getPearlAmount(), pearlsBefore + 60);
    EXPECT_EQ(profile->getConsumableAmount("cocktail"), cocktailsBefore + 2);

    // The five splats pop from 1.5 s a tenth apart, the sign at 2.0 s; done at 2.3 s. Each step of
    // the chain may end up to a frame late.
    float elapsed = 0;
    const std::vector<float> pops = {1.5f, 1.6f, 1.7f, 1.8f, 1.9f, 2.0f};
    for (int i = 0; i < 6; ++i) {
        CCNode* node = screen->getChildByTag(Screen::kFirstSplatTag + i);
        elapsed += runUntil([&] { return opacityOf(node) > 0; }, 3.0f);
        EXPECT_NEAR(elapsed, pops[i], 0.02f + (i + 2) / 60.0f) << "tag " << Screen::kFirstSplatTag + i;
        if (i == 2) screenshot("defeat_reveal.png");
    }
    elapsed += runUntil([&] { return screen->isDone(); }, 1.0f);
    EXPECT_NEAR(elapsed, 2.3f, 0.02f + 9 / 60.0f);
    expectFinalReveal(screen);

    // M01a was never completed: its defeat message opens as a pop-up of kind 8, the overlay away
    // meanwhile; then the taps go to the overlay again.
    frame();
    EXPECT_FALSE(overlayShown(screen->getOverlay()));
    EXPECT_EQ(kvdata::textOf(KVMenuManager::getInstance()->getPopUpText()), "M01a defeat message");
    screenshot("defeat_pop_up.png");
    EXPECT_EQ(confirmPopUp(), 8);
    EXPECT_EQ(confirmPopUp(), 0);
    EXPECT_TRUE(overlayShown(screen->getOverlay()));
    EXPECT_FALSE(screen->isClosing());

    // The next tap closes: the overlay goes for good, the black panels close over the game and
    // the corners shrink away; then the splats and the sign rise a quarter of the window and the
    // buttons come, once, however often the screen is tapped meanwhile.
    const float signY = screen->getChildByTag(Screen::kSignTag)->getPosition().y;
    tapScreen();
    EXPECT_TRUE(screen->isClosing());
    EXPECT_FALSE(overlayShown(screen->getOverlay()));
    tapScreen();
    run(Screen::kCloseSeconds + 0.05f);
    for (int i = 0; i < Screen::kCorners; ++i)
        EXPECT_EQ(screen->getChildByTag(Screen::kFirstCornerTag + i), nullptr) << i;
    int panels = 0;
    float blackArea = 0;
    for (unsigned i = 0; i < screen->getChildren()->count(); ++i) {
        auto* child = static_cast<CCNode*>(screen->getChildren()->objectAtIndex(i));
        if (child->getTag() != Screen::kVerticalPanelTag && child->getTag() != Screen::kSidePanelTag)
            continue;
        ++panels;
        const CCRect box(child->getPosition(), child->getContentSize());
        EXPECT_GE(box.origin.x, -0.01f);
        EXPECT_GE(box.origin.y, -0.01f);
        EXPECT_LE(box.origin.x + box.size.width, screen->getWidth() + 0.01f);
        EXPECT_LE(box.origin.y + box.size.height, screen->getHeight() + 0.01f);
        blackArea += box.size.width * box.size.height;
    }
    EXPECT_EQ(panels, 4);
    EXPECT_NEAR(blackArea, 2 * screen->getWidth() * screen->getHeight(), 1.0f) << "the window is black";
    run(Screen::kLiftSeconds + 0.05f);
    EXPECT_NEAR(screen->getChildByTag(Screen::kSignTag)->getPosition().y, signY + screen->getHeight() / 4,
                0.01f);
    EXPECT_EQ(countButtons(screen), 3);
    ASSERT_NE(button(screen, Screen::kRestartTag), nullptr);
    const float pitch = button(screen, Screen::kRestartTag)->getContentSize().height;
    const float middle = screen->getHeight() / 2;
    EXPECT_NEAR(button(screen, Screen::kRestartTag)->getPosition().y, middle + 0.75f * pitch, 0.01f);
    EXPECT_NEAR(button(screen, Screen::kTeamTag)->getPosition().y, middle - 0.75f * pitch, 0.01f);
    EXPECT_NEAR(button(screen, Screen::kShopTag)->getPosition().y, middle - 2.25f * pitch, 0.01f);
    auto* counter = dynamic_cast<KVPearlCountItem*>(screen->getChildByTag(Screen::kPearlCounterTag));
    ASSERT_NE(counter, nullptr);
    EXPECT_EQ(counter->getShownAmount(), pearlsBefore + 60);
    screenshot("defeat_buttons.png");

    // Restart: M01a again, through a loading screen of kind 2.
    const CCPoint at = centreOf(button(screen, Screen::kRestartTag));
    tap(at.x, at.y);
    frame();
    auto* loading = dynamic_cast<KVLoadingScreenView*>(director->getRunningScene());
    ASSERT_NE(loading, nullptr);
    EXPECT_EQ(loading->getKind(), 2);
    EXPECT_EQ(kvdata::textOf(KVMenuManager::getInstance()->getMissionName()), "M01a");
}

// The pearls of a defeat are not saved by the screen itself; the next save takes them along.
TEST_F(FailScreenTest, TheDefeatsPearlsReachTheSavedProfileWithTheNextSave) {
    Screen* screen = loseM01a();
    ASSERT_NE(screen, nullptr);
    KVPlayerParameters* profile = KVPlayerParameters::getInstance();
    ASSERT_EQ(profile->getPearlAmount(), pearlsBefore + 60);
    ASSERT_TRUE(profile->saveProfile());
    CCUserDefaults::getInstance()->release();
    profile->release();
    EXPECT_EQ(KVPlayerParameters::getInstance()->getPearlAmount(), pearlsBefore + 60);
}

// Defeat messages only while the mission was never completed; a tap during the reveal gives its
// final state at once and the next one closes.
TEST_F(FailScreenTest, ATapDuringTheRevealFinishesItAndMessagesComeOnlyBeforeTheFirstWin) {
    struct Case {
        const char* name;
        bool completedBefore;
        float tapAt;
    };
    for (const Case& c : {Case{"never completed, tap at 0.2 s", false, 0.2f},
                          Case{"completed before, tap at 1.75 s", true, 1.75f}}) {
        SCOPED_TRACE(c.name);
        director->replaceScene(CCScene::create());
        frame();
        frame();
        KVPlayerParameters::getInstance()->release();
        CCUserDefaults::getInstance()->release();
        forgetSavedProfile();
        if (c.completedBefore) KVPlayerParameters::getInstance()->setMissionCompleted("M01a", "Prologue");
        Screen* screen = loseM01a();
        ASSERT_NE(screen, nullptr);
        EXPECT_EQ(screen->getDefeatMessages() == nullptr, c.completedBefore);
        run(c.tapAt);
        EXPECT_FALSE(screen->isDone());
        tapScreen();
        EXPECT_TRUE(screen->isDone());
        expectFinalReveal(screen);
        frame();
        if (c.tapAt < 1.0f) screenshot("defeat_tapped_early.png");
        EXPECT_EQ(confirmPopUp(), c.completedBefore ? 0 : 8);
        EXPECT_EQ(confirmPopUp(), 0);
        // Nothing of the played reveal comes after the skip.
        run(2.5f);
        expectFinalReveal(screen);
        EXPECT_FALSE(screen->isClosing());
        tapScreen();
        EXPECT_TRUE(screen->isClosing());
    }
}

// The splats lie across the middle a third of a splat apart, left to right, each shifted by less
// than a tenth of a splat size; the shifts vary.
TEST_F(FailScreenTest, SplatsSpreadAcrossTheMiddleWithSmallRandomShifts) {
    Screen* screen = loseM01a();
    ASSERT_NE(screen, nullptr);
    int shifted = 0;
    for (int tag = Screen::kFirstSplatTag; tag < Screen::kFirstSplatTag + Screen::kSplats; ++tag) {
        CCNode* splat = screen->getChildByTag(tag);
        const CCSize size = splat->getContentSize();
        ASSERT_GT(size.width, 0.0f);
        const float dx = splat->getPosition().x - (screen->getWidth() / 2 + (tag - 7) * size.width / 3);
        const float dy = splat->getPosition().y - screen->getHeight() / 2;
        EXPECT_LE(std::fabs(dx), size.width / 10) << tag;
        EXPECT_LE(std::fabs(dy), size.height / 10) << tag;
        shifted += (dx != 0.0f) + (dy != 0.0f);
    }
    EXPECT_GT(shifted, 5);
}

/// The screen made directly for M01a of the Prologue over the plain scene, without a match.
class FailButtonsTest : public FailScreenTest {
protected:
    Screen* showButtons() {
        KVGameSetup* setup = KVGameSetup::getInstance();
        setup->setChapterName(kvdata::newString("Prologue"));
        setup->setMissionName(kvdata::newString("M01a"));
        CCResourceIndex* index = CCResourceIndex::getInstance();
        for (const char* sheet : {"fail_screen_8888_ss.plist", "fail_screen_5551_ss.plist"})
            CCSpriteFrameCache::getInstance()->addSpriteFramesWithFile(index->pathForFileName(sheet).c_str());
        Screen* screen = Screen::create(nullptr);
        base->addChildAtZ(screen, 1100);
        closeToButtons(screen);
        return screen;
    }
};

TEST_F(FailButtonsTest, RestartTeamAndShopLeaveThroughTheirLoadingScreens) {
    struct Case {
        int tag;
        int kind;
        bool backToMenus;
    };
    // Restart last: its loading screen goes on to launch the mission.
    for (const Case& c : {Case{Screen::kTeamTag, 4, true}, Case{Screen::kShopTag, 5, true},
                          Case{Screen::kRestartTag, 2, false}}) {
        SCOPED_TRACE(c.kind);
        director->replaceScene(CCScene::create());
        frame();
        base = director->getRunningScene();
        KVGameSetup::getInstance()->escapeKeyBlocked = true;
        Screen* screen = showButtons();
        ASSERT_EQ(countButtons(screen), 3);
        const CCPoint at = centreOf(button(screen, c.tag));
        tap(at.x, at.y);
        frame();
        auto* loading = dynamic_cast<KVLoadingScreenView*>(director->getRunningScene());
        ASSERT_NE(loading, nullptr);
        EXPECT_EQ(loading->getKind(), c.kind);
        EXPECT_EQ(KVGameSetup::getInstance()->escapeKeyBlocked, !c.backToMenus);
        EXPECT_EQ(kvdata::textOf(KVGameSetup::getInstance()->getChapterName()).empty(), c.backToMenus);
    }
}

// The NEW mark on Shop follows the unseen creatures and helmets alone; Shop always works here.
TEST_F(FailButtonsTest, TheNewMarkOnShopFollowsUnseenCreaturesAndHelmets) {
    struct Case {
        const char* name;
        const char* unseen; // item, or null for nothing unseen
        const char* category;
        bool marked;
    };
    for (const Case& c : {Case{"nothing unseen", nullptr, nullptr, false},
                          Case{"an unseen helmet", "pirate_hat", "Helmet", true},
                          Case{"an unseen creature", "kiwa", "Kelvo", true}}) {
        SCOPED_TRACE(c.name);
        base->removeAllChildren(true);
        KVPlayerParameters::getInstance()->release();
        CCUserDefaults::getInstance()->release();
        forgetSavedProfile();
        KVPlayerParameters* profile = KVPlayerParameters::getInstance();
        if (c.unseen != nullptr) profile->addUnseenItem(c.unseen, c.category);
        ASSERT_EQ(profile->hasUnseenHelmets() || profile->hasUnseenKelvos(), c.unseen != nullptr);
        Screen* screen = showButtons();
        KVButton* shop = button(screen, Screen::kShopTag);
        ASSERT_NE(shop, nullptr);
        EXPECT_EQ(marked(shop), c.marked);
        EXPECT_FALSE(marked(button(screen, Screen::kTeamTag)));
        EXPECT_TRUE(shop->getItem()->isEnabled());
    }
}

// Without a match (no model) or without its pictures the screen still runs to its buttons: no
// pearls, a log line, empty pictures in place of the missing ones.
TEST_F(FailScreenTest, WithoutAMatchOrItsPicturesItStillLeadsToTheButtons) {
    KVGameSetup* setup = KVGameSetup::getInstance();
    setup->setChapterName(kvdata::newString("Prologue"));
    setup->setMissionName(kvdata::newString("M01a"));
    CCSpriteFrameCache::getInstance()->removeAllSpriteFrames();
    const int pearls = KVPlayerParameters::getInstance()->getPearlAmount();
    Screen* screen = Screen::create(nullptr);
    base->addChildAtZ(screen, 1100);
    EXPECT_TRUE(screen->hasPaid());
    EXPECT_EQ(screen->getPearlsPaid(), 0);
    EXPECT_EQ(KVPlayerParameters::getInstance()->getPearlAmount(), pearls);
    EXPECT_TRUE(logged("no score manager"));
    EXPECT_TRUE(logged("no \"ooze_splat.png\""));
    run(2.5f);
    EXPECT_TRUE(screen->isDone());
    closeToButtons(screen);
    EXPECT_EQ(countButtons(screen), 3);
}

} // namespace
