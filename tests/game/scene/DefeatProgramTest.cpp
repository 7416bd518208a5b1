// The whole program, run by kelvos_driver on M01a with the scripted defeat of
// support/MissionPlays.h: the failure screen comes over the lost mission, its
// defeat message opens as a pop-up, a tap closes it in black and Restart
// launches M01a again. Screenshots are kept in build/screenshots
// (program_defeat_*).
#include <gtest/gtest.h>

#include <cstdlib>
#include <sstream>
#include <string>
#include <vector>

#include "engine/textures/CCDecodedImage.h"
#include "support/DriverProgram.h"
#include "support/MissionPlays.h"

namespace {

struct TraceLine {
    int frame = 0;
    std::string text;
};

// Play frames, counted from the play's start. The defeat's verdict comes near
// play frame 662; the screen's reveal ends 2.3 s (138 frames) later and its
// defeat message opens.
constexpr int kRevealShot = 770;  // splats popping
constexpr int kMessageShot = 820; // the defeat message's pop-up
constexpr int kPopUpOk = 830;     // its OK button pressed
constexpr int kCloseTap = 850;    // the tap that closes the screen
constexpr int kButtonsShot = 940; // black, with the three buttons
constexpr int kRestartTap = 950;  // Restart pressed
constexpr int kFramesAfter = 300; // the new launch loads and starts

// Window pixels (960 x 600, y from the top) of the pop-up's OK button and of
// Restart.
constexpr int kOkX = 480;
constexpr int kOkY = 394;
constexpr int kRestartX = 480;
constexpr int kRestartY = 262;

class DefeatProgramTest : public ::testing::Test, protected kvtest::DriverProgram {
protected:
    DefeatProgramTest() : DriverProgram(KELVOS_DRIVER, "defeat") {}

    static std::vector<TraceLine> lines(const std::string& trace) {
        std::vector<TraceLine> out;
        std::istringstream in(trace);
        for (std::string text; std::getline(in, text);)
            out.push_back({std::atoi(text.c_str()), text});
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
    /// Pixels of a box whose colour is close to (r, g, b).
    static int near(const kvengine::CCDecodedImage& image, int x0, int y0, int x1, int y1, int r, int g,
                    int b) {
        int n = 0;
        for (int y = y0; y < y1; ++y)
            for (int x = x0; x < x1; ++x) {
                const unsigned char* p =
                    &image.pixels[(static_cast<size_t>(y) * image.width + x) * image.bytesPerPixel()];
                if (std::abs(p[0] - r) < 30 && std::abs(p[1] - g) < 30 && std::abs(p[2] - b) < 30) ++n;
            }
        return n;
    }
};

TEST_F(DefeatProgramTest, TheLostMissionShowsTheFailureScreenAndRestartLaunchesItAgain) {
    using kvtest::m01aFrame;
    const std::string arguments = kvtest::m01aPlay(kvtest::kM01aDefeat, kRestartTap + kFramesAfter - 501) +
                                  shot(m01aFrame(kRevealShot), "defeat_reveal.png") +
                                  shot(m01aFrame(kMessageShot), "defeat_message.png") +
                                  tap(m01aFrame(kPopUpOk), kOkX, kOkY) + tap(m01aFrame(kCloseTap), 100, 100) +
                                  shot(m01aFrame(kButtonsShot), "defeat_buttons.png") +
                                  tap(m01aFrame(kRestartTap), kRestartX, kRestartY) + " --trace trace.txt";
    ASSERT_EQ(run(arguments), 0) << log();
    keep("trace.txt", "program_defeat_trace.txt");
    const std::vector<TraceLine> trace = lines(file("trace.txt"));

    // The defeat: one verdict, one failure screen, one defeat message closed.
    const int winner = find(trace, " EVENT_GAME_WINNER ");
    ASSERT_GE(winner, 0) << log();
    EXPECT_EQ(count(trace, " EVENT_GAME_WINNER "), 1);
    const int lose = find(trace, " EVENT_GAME_PLAYER_LOSE KVFailScreenLayerSolo ", winner);
    ASSERT_GT(lose, winner);
    EXPECT_EQ(trace[lose].frame, trace[winner].frame);
    EXPECT_EQ(count(trace, " EVENT_GAME_PLAYER_LOSE "), 1);
    EXPECT_EQ(count(trace, " EVENT_GAME_PLAYER_WIN "), 0);
    const int closed = find(trace, " EVENT_POP_UP_CLOSED ", lose);
    ASSERT_GT(closed, lose) << "the defeat message was not shown and closed";
    EXPECT_EQ(trace[closed].frame, m01aFrame(kPopUpOk) + 1);

    // Restart: the game ends and M01a starts again.
    const int shutdown = find(trace, " EVENT_GAME_SHUTDOWN ", closed);
    ASSERT_GT(shutdown, closed) << "the lost mission was not torn down";
    EXPECT_GE(trace[shutdown].frame, m01aFrame(kRestartTap));
    const int again = find(trace, " InGame - Game CCString M01a", shutdown);
    EXPECT_GT(again, shutdown) << "M01a did not start again";
    EXPECT_EQ(count(trace, " InGame - Game "), 2);

    // The mission is marked played in the saved profile.
    const std::string profile = savedProfile();
    const size_t record = profile.find("<key>M01a</key>");
    ASSERT_NE(record, std::string::npos);
    const size_t played = profile.find("<key>status_played</key>", record);
    ASSERT_NE(played, std::string::npos);
    const size_t open = profile.find('>', played + 24);
    ASSERT_NE(open, std::string::npos);
    EXPECT_EQ(profile.substr(open + 1, profile.find('<', open) - open - 1), "1");

    // What the player saw: green ooze over the game, then black with the buttons.
    kvengine::CCDecodedImage reveal, message, buttons;
    ASSERT_TRUE(keepShot("defeat_reveal.png", reveal));
    ASSERT_TRUE(keepShot("defeat_message.png", message));
    ASSERT_TRUE(keepShot("defeat_buttons.png", buttons));
    EXPECT_GT(near(reveal, 330, 200, 630, 400, 0x3f, 0x8f, 0x2e), 2000) << "no splats in the middle";
    EXPECT_GT(near(buttons, 0, 0, 960, 100, 0, 0, 0), 960 * 90) << "the top of the window is not black";
}

} // namespace
