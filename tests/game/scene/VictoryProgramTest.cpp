// The whole program, run by kelvos_driver on M01a with the scripted victory of support/MissionPlays.h
// for a player with 100 pearls who holds a pearlfish: the victory screen's rows revealed one after
// another, the pop-ups of the first win (the coral crown, then the victory message), the buttons,
// Continue into M01b, and the saved profile. Screenshots are kept in build/screenshots
// (program_victory_*).
#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <sstream>
#include <string>
#include <vector>

#include "engine/textures/CCDecodedImage.h"
#include "support/DriverProgram.h"
#include "support/MissionPlays.h"

namespace {

// The driver frame of "EVENT_GAME_WINNER" in the scripted victory; every later moment of the run
// is counted from it (60 frames a second).
constexpr int kWinnerFrame = 1428;
// The frames, after the winner frame, at which the rows start to slide in (0.5, 2.0, 3.5 and 5.0 s)
// and at which the presentation ends (6.5 s).
constexpr int kRowStart[] = {30, 120, 210, 300};
constexpr int kPresentationEnd = 390;
// A chained action ends a frame after its time: one frame of leeway per step of the chain.
constexpr int kChainLeeway = 6;
// Screenshots, 0.45 s after each row started (its bubble has arrived, the next has not begun).
constexpr int kShotDelay = 27;
constexpr int kTotemShot = 20; // the totem sliding in, no row yet
constexpr int kCrownShot = 430;
constexpr int kCrownOk = 440;
constexpr int kMessageShot = 470;
constexpr int kMessageOk = 490;
constexpr int kCloseTap = 520;
constexpr int kButtonsShot = 580;
constexpr int kContinueTap = 600;
constexpr int kFramesAfter = 800;
// Before the victory: the crabs' turn (one of them attacks) and the kelvos' next turn, each with its
// banner.
constexpr int kEnemyTurnShot = 1083;
constexpr int kPlayerTurnShot = 1191;

// Window pixels (960 x 600, y from the top): the pop-ups' OK button, the Continue button, and the
// middle line of each row.
constexpr int kOkX = 480;
constexpr int kOkY = 394;
constexpr int kContinueX = 480;
constexpr int kContinueY = 187;
constexpr int kRowY[] = {235, 287, 339, 391};

struct TraceLine {
    int frame = 0;
    std::string text;
};

class VictoryProgramTest : public ::testing::Test, protected kvtest::DriverProgram {
protected:
    VictoryProgramTest() : DriverProgram(KELVOS_DRIVER, "victory") {}

    static std::vector<TraceLine> lines(const std::string& text) {
        std::vector<TraceLine> out;
        std::istringstream in(text);
        for (std::string line; std::getline(in, line);) {
            // Trace lines start with their frame, state lines with "state F:".
            const char* start = line.compare(0, 6, "state ") == 0 ? line.c_str() + 6 : line.c_str();
            out.push_back({std::atoi(start), line});
        }
        return out;
    }
    static int find(const std::vector<TraceLine>& trace, const std::string& part, int from = 0) {
        for (size_t i = static_cast<size_t>(from < 0 ? 0 : from); i < trace.size(); ++i)
            if (trace[i].text.find(part) != std::string::npos) return static_cast<int>(i);
        return -1;
    }
    static int count(const std::vector<TraceLine>& trace, const std::string& part) {
        int n = 0;
        for (const TraceLine& line : trace)
            n += line.text.find(part) != std::string::npos ? 1 : 0;
        return n;
    }
};

TEST_F(VictoryProgramTest, TheWonMissionRevealsItsRowsShowsItsPopUpsAndContinuesIntoTheNextMission) {
    installProfile("pearlfish");
    auto at = [](int afterWinner) { return kWinnerFrame + afterWinner; };
    std::string arguments =
        kvtest::m01aPlay(kvtest::kM01aVictory, at(kFramesAfter) - kvtest::m01aFrame(941)) +
        " --trace trace.txt --trace-states 1" + shot(kEnemyTurnShot, "victory_enemy_turn.png") +
        shot(kPlayerTurnShot, "victory_player_turn.png") + shot(at(-10), "victory_game.png") +
        shot(at(kTotemShot), "victory_totem.png") + shot(at(kCrownShot), "victory_crown.png") +
        tap(at(kCrownOk), kOkX, kOkY) + shot(at(kMessageShot), "victory_message.png") +
        tap(at(kMessageOk), kOkX, kOkY) + tap(at(kCloseTap), 100, 100) +
        shot(at(kButtonsShot), "victory_buttons.png") + tap(at(kContinueTap), kContinueX, kContinueY);
    for (int row = 0; row < 4; ++row)
        arguments += shot(at(kRowStart[row] + kShotDelay), "victory_row" + std::to_string(row) + ".png");
    ASSERT_EQ(run(arguments), 0) << log();
    keep("trace.txt", "program_victory_trace.txt");
    const std::vector<TraceLine> trace = lines(file("trace.txt"));
    const std::vector<TraceLine> states = lines(log());

    // The victory, once, on the frame every moment below is counted from.
    const int winner = find(trace, " EVENT_GAME_WINNER ");
    ASSERT_GE(winner, 0) << log();
    ASSERT_EQ(trace[winner].frame, kWinnerFrame) << "the scripted victory moved: retime this test";
    EXPECT_EQ(count(trace, " EVENT_GAME_PLAYER_WIN KVWinnerScreenLayerSolo "), 1);

    // The star rows stamp their stars as they come: the secret star was not found, the survival and
    // speed stars are new.
    const char* stamps[] = {" EVENT_VICTORY_STAR_NOT_OBTAINED ", " EVENT_VICTORY_STAR_GAINED ",
                            " EVENT_VICTORY_STAR_GAINED "};
    int from = winner;
    for (int row = 0; row < 3; ++row) {
        const int stamp = find(trace, stamps[row], from + 1);
        ASSERT_GT(stamp, from) << "row " << row;
        EXPECT_GE(trace[stamp].frame, at(kRowStart[row])) << "row " << row;
        EXPECT_LE(trace[stamp].frame, at(kRowStart[row]) + kChainLeeway) << "row " << row;
        from = stamp;
    }
    EXPECT_EQ(count(trace, " EVENT_VICTORY_STAR_"), 3);

    // At the end of the presentation the pop-ups, in order: the helmet the win put in the shop
    // (kind 6), then the mission's victory message (kind 8), each opened once its predecessor is
    // closed; no other pop-up.
    const int crown = find(states, " pop-up 6");
    ASSERT_GE(crown, 0) << log();
    EXPECT_GE(states[crown].frame, at(kPresentationEnd));
    EXPECT_LE(states[crown].frame, at(kPresentationEnd) + kChainLeeway);
    const int message = find(states, " pop-up 8", crown);
    ASSERT_GT(message, crown) << log();
    EXPECT_EQ(states[message].frame, at(kCrownOk) + 1);
    EXPECT_EQ(count(states, " pop-up "), 2);

    // Continue: the mission is torn down and the next one, M01b, launched through the loading view.
    const int shutdown = find(trace, " EVENT_GAME_SHUTDOWN ", winner);
    ASSERT_GT(shutdown, winner) << "Continue did not leave the mission";
    EXPECT_GE(trace[shutdown].frame, at(kContinueTap));
    EXPECT_GT(find(trace, " InGame - Game CCString M01b", shutdown), shutdown) << "M01b did not start";
    EXPECT_GE(find(states, "current 17 ", message), 0) << "no mission launch after Continue";

    // The saved profile: 100 pearls, 500 for each of the two new stars and the 20 pearls scored
    // doubled by the pearlfish, paid once; M01a completed, M01b open and played next, the crown in
    // the shop.
    EXPECT_EQ(savedValue("", "", "pearl_amount"), "1140");
    EXPECT_EQ(savedValue("MissionSolo", "M01a", "status_completed"), "1");
    EXPECT_EQ(savedValue("MissionSolo", "M01b", "status_locked"), "0");
    EXPECT_EQ(savedValue("", "", "last_played_mission"), "M01b");
    EXPECT_EQ(savedValue("Helmet", "coral_crown", "status_locked"), "2");

    // What the player saw (build/screenshots/program_victory_*.png): the game darkened under the
    // screen; then one more row on each picture, the rows below still empty.
    kvengine::CCDecodedImage game, totem, rows[4], crownPopUp, messagePopUp, buttons;
    ASSERT_TRUE(keepShot("victory_game.png", game));
    ASSERT_TRUE(keepShot("victory_totem.png", totem));
    for (int row = 0; row < 4; ++row)
        ASSERT_TRUE(keepShot("victory_row" + std::to_string(row) + ".png", rows[row]));
    ASSERT_TRUE(keepShot("victory_crown.png", crownPopUp));
    ASSERT_TRUE(keepShot("victory_message.png", messagePopUp));
    ASSERT_TRUE(keepShot("victory_buttons.png", buttons));
    EXPECT_LT(kvtest::meanBrightness(totem, 20, 40, 300, 180),
              kvtest::meanBrightness(game, 20, 40, 300, 180) * 0.8);
    for (int shown = 0; shown < 4; ++shown)
        for (int row = 0; row < 4; ++row) {
            const int changed = differing(totem, rows[shown], 440, kRowY[row] - 10, 690, kRowY[row] + 10);
            if (row <= shown)
                EXPECT_GT(changed, 1500) << "row " << row << " missing in picture " << shown;
            else
                EXPECT_LT(changed, 300) << "row " << row << " already in picture " << shown;
        }
    // The two pop-ups carry different texts.
    EXPECT_GT(differing(crownPopUp, messagePopUp, 290, 230, 670, 320), 500);

    // The banners of the crabs' turn and of the kelvos' next: the same panel, another text.
    kvengine::CCDecodedImage enemyTurn, playerTurn;
    ASSERT_TRUE(keepShot("victory_enemy_turn.png", enemyTurn));
    ASSERT_TRUE(keepShot("victory_player_turn.png", playerTurn));
    EXPECT_GT(differing(enemyTurn, playerTurn, 380, 285, 580, 315), 200);
}

} // namespace
