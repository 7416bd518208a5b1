// The whole program, run by kelvos_driver on M01a: the HUD in the player's turn, the skip button
// ending the turn, the enemy-turn banner, and the pause screen that Escape opens and closes, that
// freezes the turns while it is open and whose Quit leads back to the world map. Screenshots are
// kept in build/screenshots (program_hud_*).
#include <gtest/gtest.h>

#include <cstdlib>
#include <sstream>
#include <string>
#include <vector>

#include "engine/textures/CCDecodedImage.h"
#include "support/DriverProgram.h"
#include "support/MissionPlays.h"

namespace {

// The skip button of the wide window (960 x 600), in window pixels from the top left.
constexpr int kSkipX = 874;
constexpr int kButtonsY = 600 - 565;

struct TraceLine {
    int frame = 0;
    std::string text;
};

class HudProgramTest : public ::testing::Test, protected kvtest::DriverProgram {
protected:
    HudProgramTest() : DriverProgram(KELVOS_DRIVER, "hud") {}

    std::vector<TraceLine> runTraced(const std::string& arguments) {
        EXPECT_EQ(run(arguments + " --trace trace.txt"), 0) << log();
        std::vector<TraceLine> lines;
        std::istringstream in(file("trace.txt"));
        for (std::string text; std::getline(in, text);)
            lines.push_back({std::atoi(text.c_str()), text});
        return lines;
    }
    /// The frame of the first line holding `part` at or after frame `from`; -1 when none.
    static int frameOf(const std::vector<TraceLine>& lines, const std::string& part, int from = 0) {
        for (const TraceLine& line : lines)
            if (line.frame >= from && line.text.find(part) != std::string::npos) return line.frame;
        return -1;
    }
    static int count(const std::vector<TraceLine>& lines, const std::string& part, int from, int to) {
        int n = 0;
        for (const TraceLine& line : lines)
            n += line.frame >= from && line.frame < to && line.text.find(part) != std::string::npos ? 1 : 0;
        return n;
    }
};

TEST_F(HudProgramTest, TheSkipButtonEndsTheTurnAndTheEnemyTurnShowsItsBanner) {
    // Both kelvos skip with the HUD's button; the enemies play then.
    const int first = kvtest::m01aFrame(60);
    const std::string play = "--mission M01a --seed 1" + kvtest::kM01aOpening +
                             tap(first, kSkipX, kButtonsY) + " --frames " +
                             std::to_string(kvtest::m01aFrame(900));
    std::vector<TraceLine> lines = runTraced(play);
    const int skipped = frameOf(lines, " EVENT_SKIP_TURN ", first);
    ASSERT_GE(skipped, first) << "the skip button did not post";
    EXPECT_LE(skipped, first + 2);
    EXPECT_GE(frameOf(lines, " EVENT_END_TURN ", skipped), skipped);
    const int second = frameOf(lines, " EVENT_START_TURN ", skipped);
    ASSERT_GT(second, skipped);
    // The second kelvo skips too (once the skip button shows again), then the enemies start.
    const int secondTap = second + 60;
    lines = runTraced(play + tap(secondTap, kSkipX, kButtonsY));
    const int enemy = frameOf(lines, " EVENT_TURN_START_ENEMY ", secondTap);
    ASSERT_GT(enemy, secondTap) << "no enemy turn after both skips";

    // The pictures: the HUD in the first kelvo's turn, its turn banner, the enemy-turn banner.
    run(play + tap(secondTap, kSkipX, kButtonsY) + shot(first - 20, "hud_player_turn.png") +
        shot(enemy + 40, "hud_enemy_turn.png"));
    kvengine::CCDecodedImage player, enemyTurn;
    ASSERT_TRUE(keepShot("hud_player_turn.png", player));
    ASSERT_TRUE(keepShot("hud_enemy_turn.png", enemyTurn));
    // Both pictures carry a banner across the window's middle; its text changed.
    EXPECT_GT(differing(player, enemyTurn, 330, 280, 630, 320), 50);
}

TEST_F(HudProgramTest, EscapeOpensThePauseScreenWhichFreezesTheTurnsUntilEscapeClosesIt) {
    const int open = kvtest::m01aFrame(60);
    // The same frame's second key press cannot close it; one 0.1 s later can, after 4 s paused.
    const int early = open + 1;
    const int close = open + 240;
    const std::string arguments = "--mission M01a --seed 1" + kvtest::kM01aOpening + " --event " +
                                  std::to_string(open) + ":key:escape --event " + std::to_string(early) +
                                  ":key:escape --event " + std::to_string(close) + ":key:escape" +
                                  " --frames " + std::to_string(close + 60);
    std::vector<TraceLine> lines = runTraced(arguments);
    const int paused = frameOf(lines, " InGame - Pause ", open);
    ASSERT_GE(paused, open);
    EXPECT_LE(paused, open + 1);
    // Nothing of the turns moves while it is open.
    EXPECT_EQ(count(lines, " EVENT_END_TURN ", paused, close), 0);
    EXPECT_EQ(count(lines, " EVENT_START_TURN ", paused, close), 0);
    EXPECT_EQ(count(lines, " InGame - Pause ", 0, close + 60), 1);

    run(arguments + shot(open - 5, "hud_before_pause.png") + shot(early + 10, "hud_pause.png") +
        shot(close + 30, "hud_after_pause.png"));
    kvengine::CCDecodedImage before, pause, after;
    ASSERT_TRUE(keepShot("hud_before_pause.png", before));
    ASSERT_TRUE(keepShot("hud_pause.png", pause));
    ASSERT_TRUE(keepShot("hud_after_pause.png", after));
    // The backdrop darkens the level while open; after the second Escape it is gone.
    const double lit = kvtest::meanBrightness(before, 20, 100, 300, 250);
    EXPECT_LT(kvtest::meanBrightness(pause, 20, 100, 300, 250), lit * 0.8);
    EXPECT_GT(kvtest::meanBrightness(after, 20, 100, 300, 250), lit * 0.9);
}

TEST_F(HudProgramTest, ScrollingTheKelvoWhoseTurnItIsOutOfViewShowsItsBubble) {
    // At 800 x 600 the level is wider than the window: the arrow keys scroll it, sixteen presses to
    // the right leave the first kelvo at the left edge, out of the camera's playable view.
    const int firstKey = kvtest::m01aFrame(40);
    std::string arguments = "--size 800x600 --mission M01a --seed 1" + kvtest::kM01aOpening;
    for (int i = 0; i < 16; ++i)
        arguments += " --event " + std::to_string(firstKey + 2 * i) + ":key:right";
    const int last = firstKey + 110;
    arguments += shot(firstKey - 5, "hud_in_view.png") + shot(last, "hud_out_of_view.png") + " --frames " +
                 std::to_string(last + 1);
    const std::vector<TraceLine> lines = runTraced(arguments);
    const int unplayable = frameOf(lines, " EVENT_CAM_UNPLAYABLE ", firstKey);
    ASSERT_GE(unplayable, firstKey) << log();
    // The bubble 0.3 s later (a frame's leeway for the timer's rounding).
    const int bubble = frameOf(lines, " EVENT_OOF_ACTIVE ", firstKey);
    ASSERT_GE(bubble, unplayable) << log();
    EXPECT_NEAR(bubble - unplayable, 18, 1);

    // The bubble with the kelvo's portrait in the bottom left corner, which held none before
    // (build/screenshots/program_hud_out_of_view.png).
    kvengine::CCDecodedImage inView, outOfView;
    ASSERT_TRUE(keepShot("hud_in_view.png", inView));
    ASSERT_TRUE(keepShot("hud_out_of_view.png", outOfView));
    ASSERT_EQ(outOfView.width, 800);
    EXPECT_GT(differing(inView, outOfView, 60, 500, 140, 580), 1500);
}

} // namespace
