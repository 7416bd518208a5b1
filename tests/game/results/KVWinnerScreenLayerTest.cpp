// The multiplayer result screen over a two-player match on M01a's map: the score table, the
// untouched profile, and the ways out (Quit to the menus, Restart into a new match).
#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "ResultsFixture.h"
#include "engine/base/CCArray.h"
#include "engine/base/CCNotificationCenter.h"
#include "engine/director/CCDirector.h"
#include "engine/director/CCScene.h"
#include "engine/labels/CCLabelTTF.h"
#include "engine/nodes/CCMenu.h"
#include "engine/nodes/CCMenuItemFont.h"
#include "game/app/KVGlobalNames.h"
#include "game/data/KVDataAccess.h"
#include "game/data/KVGameSetup.h"
#include "game/data/KVPlayerParameters.h"
#include "game/menu/KVLoadingScreenView.h"
#include "game/menu/KVMenuManager.h"
#include "game/model/KVGameModel.h"
#include "game/pawns/KVPlayerHuddle.h"
#include "game/results/KVWinnerScreenLayer.h"
#include "game/scene/KVGameplayLayer.h"
#include "game/scene/KVGameplayScene.h"
#include "game/score/KVScoreManagerHuddle.h"
#include "support/MissionTestSupport.h"

using namespace kvengine;

namespace {

using Screen = KVWinnerScreenLayer;

class MultiplayerResultTest : public resultstest::ResultsFixture {
protected:
    /// A two-player match on M01a's map, ended with `points` for players 1 and 2; its screen.
    Screen* endMatch(const std::vector<int>& points) {
        KVGameSetup* setup = KVGameSetup::getInstance();
        setup->solo = false;
        setup->playerCount = 2;
        scene = startMission();
        if (scene == nullptr) return nullptr;
        // The mission's opening dialogue would cover the screen and take its taps.
        EXPECT_TRUE(kvtest::passOpeningDialogue([this] { frame(); }));
        auto* score = dynamic_cast<KVScoreManagerHuddle*>(scene->getGameModel()->getScoreManager());
        if (score == nullptr || score->getPlayers()->count() != points.size()) {
            ADD_FAILURE() << "not a match of " << points.size() << " players";
            return nullptr;
        }
        for (unsigned i = 0; i < points.size(); ++i)
            score->getPlayers()->objectAtIndex(i)->points = points[i];
        // As a finished match does: the dance (which clears the HUD away), then the result.
        CCNotificationCenter::getInstance()->postNotification(EVENT_VICTORY_DANCE);
        CCNotificationCenter::getInstance()->postNotification(EVENT_GAME_WINNER);
        frame();
        return dynamic_cast<Screen*>(scene->getResultScreen());
    }
    static std::vector<CCLabelTTF*> scoreLines(Screen* screen) {
        std::vector<CCLabelTTF*> lines;
        for (unsigned i = 0; i < screen->getChildren()->count(); ++i) {
            auto* child = static_cast<CCNode*>(screen->getChildren()->objectAtIndex(i));
            if (child->getTag() >= Screen::kFirstLineTag) lines.push_back(dynamic_cast<CCLabelTTF*>(child));
        }
        return lines;
    }
    static CCMenuItem* menuItem(Screen* screen, unsigned index) {
        auto* menu = dynamic_cast<CCMenu*>(screen->getChildByTag(Screen::kMenuTag));
        if (menu == nullptr || menu->getChildren() == nullptr || menu->getChildren()->count() <= index)
            return nullptr;
        return static_cast<CCMenuItem*>(menu->getChildren()->objectAtIndex(index));
    }
    /// Escape as the window reports it.
    static void pressEscape() {
        CCNotificationCenter::getInstance()->postNotification(kvdata::newString("EVENT_KEY_PRESS"),
                                                              ccKeyName(0));
    }
    /// Frames until the running scene is a loaded match (at most 10 s).
    KVGameplayScene* runToNextMatch() {
        for (int i = 0; i < 600; ++i) {
            auto* next = dynamic_cast<KVGameplayScene*>(director->getRunningScene());
            if (next != nullptr && next->isLoaded() && next->getLoadingLayer() == nullptr) return next;
            frame();
        }
        return nullptr;
    }

    /// The saved settings file as it is on disk.
    static std::string savedSettings() {
        const char* home = std::getenv("XDG_DATA_HOME");
        std::ifstream in(std::string(home != nullptr ? home : ".") + "/Kelvos/SavedSettings.plist",
                         std::ios::binary);
        return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    }

    KVGameplayScene* scene = nullptr;
};

TEST_F(MultiplayerResultTest, TheTableListsEachPlayersPointsAndTheProfileStaysAsItWas) {
    const int pearls = KVPlayerParameters::getInstance()->getPearlAmount();
    const std::string saved = savedSettings();
    menutest::Recorder recorder;
    recorder.observe(EVENT_GAME_PLAYER_WIN);
    recorder.observe(EVENT_GAME_PLAYER_LOSE);
    Screen* screen = endMatch({3, 1});
    ASSERT_NE(screen, nullptr);
    EXPECT_EQ(screen->getZOrder(), 1100);
    EXPECT_EQ(scene->getOutcome(), KVGameplayScene::kOutcomeMultiplayer);
    // Its sheets are the victory screen's.
    for (const char* sheet : {"victory_screen_88_ss", "victory_screen_tc4_ss"})
        EXPECT_NE(scene->getGameplayLayer()->getSheet(sheet), nullptr) << sheet;

    auto* title = dynamic_cast<CCLabelTTF*>(screen->getChildByTag(Screen::kTitleTag));
    ASSERT_NE(title, nullptr);
    const float scale = director->getContentScaleFactor();
    EXPECT_FLOAT_EQ(title->getFontSize(), 40.0f * scale);
    EXPECT_FLOAT_EQ(title->getPosition().x, 240.0f);
    EXPECT_FLOAT_EQ(title->getPosition().y, 270.0f);

    struct Line {
        std::string text;
        float y;
        float size;
    };
    const std::vector<Line> expected = {{"Player 1: 3", 220, 35}, {"Player 2: 1", 180, 25}};
    const std::vector<CCLabelTTF*> lines = scoreLines(screen);
    ASSERT_EQ(lines.size(), expected.size());
    for (size_t i = 0; i < lines.size(); ++i) {
        SCOPED_TRACE(i);
        ASSERT_NE(lines[i], nullptr);
        EXPECT_EQ(std::string(lines[i]->getString()), expected[i].text);
        EXPECT_FLOAT_EQ(lines[i]->getPosition().x, 240.0f);
        EXPECT_FLOAT_EQ(lines[i]->getPosition().y, expected[i].y);
        EXPECT_FLOAT_EQ(lines[i]->getFontSize(), expected[i].size * scale);
    }
    // Restart and Quit side by side at y 50, in the 35-point button font.
    for (unsigned i = 0; i < 2; ++i) {
        auto* item = dynamic_cast<CCMenuItemFont*>(menuItem(screen, i));
        ASSERT_NE(item, nullptr) << i;
        EXPECT_EQ(item->getFontSize(), 35);
        EXPECT_NEAR(centreOf(item).y, 50.0f, 0.5f);
    }
    EXPECT_LT(centreOf(menuItem(screen, 0)).x, 240.0f);
    EXPECT_GT(centreOf(menuItem(screen, 1)).x, 240.0f);
    screenshot("multiplayer_result.png");

    // The screen takes every touch away from the game beneath; it pays and records nothing.
    tap(400, 400);
    run(1.0f);
    EXPECT_EQ(KVPlayerParameters::getInstance()->getPearlAmount(), pearls);
    EXPECT_EQ(savedSettings(), saved);
    EXPECT_EQ(kvdata::intAt(KVPlayerParameters::getInstance()->getMissionRecord("M01a", "Prologue"),
                            "status_played"),
              0);
    EXPECT_TRUE(recorder.names.empty());
    EXPECT_EQ(director->getRunningScene(), scene);
}

// Quit: to the world map, with the chapter names emptied and Escape opening the quit confirmation
// again; the finished match is gone (its shutdown posted) once the director lets go of it.
TEST_F(MultiplayerResultTest, QuitLeavesForTheWorldMapWhereEscapeWorksAgain) {
    menutest::Recorder shutdowns;
    shutdowns.observe(EVENT_GAME_SHUTDOWN);
    Screen* screen = endMatch({1, 3});
    ASSERT_NE(screen, nullptr);
    EXPECT_FLOAT_EQ(scoreLines(screen)[0]->getFontSize(), 25.0f * director->getContentScaleFactor());
    KVMenuManager* menu = KVMenuManager::getInstance();
    ASSERT_TRUE(KVGameSetup::getInstance()->escapeKeyBlocked);
    pressEscape();
    EXPECT_FALSE(menu->isQuitConfirmationOpen()) << "Escape during the match";

    const CCPoint at = centreOf(menuItem(screen, 1));
    tap(at.x, at.y);
    frame();
    auto* loading = dynamic_cast<KVLoadingScreenView*>(director->getRunningScene());
    ASSERT_NE(loading, nullptr);
    EXPECT_EQ(loading->getKind(), 3);
    EXPECT_EQ(kvdata::textOf(KVGameSetup::getInstance()->getChapterName()), "");
    EXPECT_FALSE(KVGameSetup::getInstance()->escapeKeyBlocked);
    run(1.0f);
    EXPECT_EQ(shutdowns.count("EVENT_GAME_SHUTDOWN"), 1);
    EXPECT_EQ(menu->getCurrentState(), KVMenuManager::kWorldMapState);
    pressEscape();
    EXPECT_TRUE(menu->isQuitConfirmationOpen());
}

// Restart: the same match again; the finished one is torn down before the new one is built.
TEST_F(MultiplayerResultTest, RestartTearsTheFinishedMatchDownBeforeTheNextIsBuilt) {
    Screen* screen = endMatch({3, 2});
    ASSERT_NE(screen, nullptr);
    menutest::Recorder order;
    order.observe(EVENT_GAME_SHUTDOWN);
    order.observe(EVENT_POST_LOAD_GAME);
    const CCPoint at = centreOf(menuItem(screen, 0));
    tap(at.x, at.y);
    frame();
    auto* loading = dynamic_cast<KVLoadingScreenView*>(director->getRunningScene());
    ASSERT_NE(loading, nullptr);
    EXPECT_EQ(loading->getKind(), 2);
    KVGameplayScene* next = runToNextMatch();
    ASSERT_NE(next, nullptr);
    EXPECT_NE(next->getResultScreen(), screen);
    const std::vector<std::string> expected = {"EVENT_GAME_SHUTDOWN", "EVENT_POST_LOAD_GAME"};
    EXPECT_EQ(order.names, expected);
    EXPECT_FALSE(KVGameSetup::getInstance()->solo);
}

} // namespace
