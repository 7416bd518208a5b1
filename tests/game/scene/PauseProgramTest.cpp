// The whole program, run by kelvos_driver on M01a for a player with 100 pearls who holds a
// pearlfish, in one run of three launches: a lost match that scored 10 pearls (the failure screen
// pays them twice, to be saved with the next save) and its Restart; in the second launch the
// pause screen, which a second Escape within a tenth of a second leaves open and one after closes,
// and its Restart; in the third, its Quit, cancelled once and then confirmed, back to the world
// map with the profile saved. Screenshots are kept in build/screenshots (program_pause_*).
#include <gtest/gtest.h>

#include <cstdlib>
#include <sstream>
#include <string>
#include <vector>

#include "engine/textures/CCDecodedImage.h"
#include "support/DriverProgram.h"
#include "support/MissionPlays.h"

namespace {

// The scripted victory of M01a up to the first crab's knock-out and the pearl it leaves
// (10 pearls scored), then both kelvos knocked out: the match is lost on driver frame 1172.
const kvtest::Play kPearlsThenDefeat = {
    {0, "set-life:enemy:0:1"},   {0, "set-life:enemy:1:1"},  {1, "drag-pawn:-140:0"},
    {101, "skip-turn"},          {201, "drag-pawn:-140:0"},  {321, "drag-pawn:-94:0"},
    {441, "drag-pawn:-140:0"},   {561, "drag-pawn:-140:0"},  {681, "drag-pawn:-140:0"},
    {790, "knock-out:player:0"}, {790, "knock-out:player:1"}};

// Driver frames. The failure screen: its defeat message (opened 2.3 s after the screen) closed,
// the screen closed, Restart.
constexpr int kDefeatFrame = 1172;
constexpr int kMessageOk = 1340;
constexpr int kCloseTap = 1360;
constexpr int kFailRestart = 1460;
// Each relaunch starts its mission as many frames after the tap as the first launch did after the
// start of the run, so the second and third launches replay the opening shifted by these.
constexpr int kSecondLaunch = kFailRestart;
constexpr int kThirdLaunch = 1860;
// The first turn of a launch takes input this long after the launch's shift.
constexpr int kTurnOpen = kvtest::kM01aPlayStart + 60;
// Second launch: Escape opens the pause screen; Escape again 5 frames later (less than 0.1 s) does
// nothing, 7 frames later (more than 0.1 s) closes it; Escape reopens it and Restart is pressed.
constexpr int kEscape = kSecondLaunch + kTurnOpen;
constexpr int kEarlyEscape = kEscape + 5;
constexpr int kLateEscape = kEscape + 7;
constexpr int kReopen = kEscape + 60;
constexpr int kPauseRestart = kThirdLaunch;
// Third launch: Escape, Quit, Cancel; Quit again, confirmed.
constexpr int kQuitEscape = kThirdLaunch + kTurnOpen;
constexpr int kQuit = kQuitEscape + 10;
constexpr int kCancel = kQuit + 30;
constexpr int kQuitAgain = kCancel + 30;
constexpr int kConfirm = kQuitAgain + 30;
constexpr int kLastFrame = kConfirm + 120;

// Window pixels (960 x 600, y from the top).
constexpr int kMessageOkX = 480, kMessageOkY = 394; // the defeat message's OK
constexpr int kFailRestartX = 480, kFailRestartY = 262;
constexpr int kPauseRestartX = 480, kPauseRestartY = 375;
constexpr int kPauseQuitX = 480, kPauseQuitY = 475;
constexpr int kCancelX = 360, kConfirmX = 600, kConfirmY = 394; // the quit confirmation's buttons

struct TraceLine {
    int frame = 0;
    std::string text;
};

class PauseProgramTest : public ::testing::Test, protected kvtest::DriverProgram {
protected:
    PauseProgramTest() : DriverProgram(KELVOS_DRIVER, "pause") {}

    static std::vector<TraceLine> lines(const std::string& text) {
        std::vector<TraceLine> out;
        std::istringstream in(text);
        for (std::string line; std::getline(in, line);) {
            const char* start = line.compare(0, 6, "state ") == 0 ? line.c_str() + 6 : line.c_str();
            out.push_back({std::atoi(start), line});
        }
        return out;
    }
    /// Frames of the lines holding `part`, in order.
    static std::vector<int> frames(const std::vector<TraceLine>& trace, const std::string& part) {
        std::vector<int> out;
        for (const TraceLine& line : trace)
            if (line.text.find(part) != std::string::npos) out.push_back(line.frame);
        return out;
    }
    /// The opening dialogue's taps of M01a, `shift` frames later.
    static std::string openingAt(int shift) {
        std::string out;
        std::istringstream in(kvtest::kM01aOpening);
        for (std::string word; in >> word;)
            if (word != "--event")
                out += " --event " + std::to_string(std::atoi(word.c_str()) + shift) +
                       word.substr(word.find(':'));
        return out;
    }
    static std::string key(int frame) { return " --event " + std::to_string(frame) + ":key:escape"; }
};

TEST_F(PauseProgramTest, DefeatPaysTwiceWithAPearlfishAndThePauseScreenRestartsAndQuitsTheMission) {
    installProfile("pearlfish");
    const std::string arguments =
        kvtest::m01aPlay(kPearlsThenDefeat, kLastFrame - kvtest::m01aFrame(790)) +
        " --trace trace.txt --trace-states 1" + tap(kMessageOk, kMessageOkX, kMessageOkY) +
        tap(kCloseTap, 100, 100) + tap(kFailRestart, kFailRestartX, kFailRestartY) +
        openingAt(kSecondLaunch) + shot(kEscape - 5, "pause_before.png") + key(kEscape) + key(kEarlyEscape) +
        shot(kEarlyEscape + 1, "pause_open.png") + key(kLateEscape) +
        shot(kLateEscape + 2, "pause_closed.png") + key(kReopen) + shot(kReopen + 10, "pause_buttons.png") +
        tap(kPauseRestart, kPauseRestartX, kPauseRestartY) + openingAt(kThirdLaunch) + key(kQuitEscape) +
        tap(kQuit, kPauseQuitX, kPauseQuitY) + shot(kCancel - 5, "pause_confirm.png") +
        tap(kCancel, kCancelX, kConfirmY) + tap(kQuitAgain, kPauseQuitX, kPauseQuitY) +
        tap(kConfirm, kConfirmX, kConfirmY);
    ASSERT_EQ(run(arguments), 0) << log();
    keep("trace.txt", "program_pause_trace.txt");
    const std::vector<TraceLine> trace = lines(file("trace.txt"));
    const std::vector<TraceLine> states = lines(log());

    // The lost match, once; its defeat message (kind 8) closed.
    ASSERT_EQ(frames(trace, " EVENT_GAME_PLAYER_LOSE KVFailScreenLayerSolo "), std::vector<int>{kDefeatFrame})
        << "the scripted defeat moved: retime this test";
    // Three launches of M01a: the first, after the failure screen's Restart, after the pause's.
    const std::vector<int> launches = frames(trace, " InGame - Game CCString M01a");
    ASSERT_EQ(launches.size(), 3u) << log();
    EXPECT_GT(launches[1], kFailRestart);
    EXPECT_GT(launches[2], kPauseRestart);
    // The pause screen opens three times: the early Escape neither closed it nor opened another,
    // the late one closed it without opening it again.
    EXPECT_EQ(frames(trace, " InGame - Pause "), (std::vector<int>{kEscape, kReopen, kQuitEscape}));
    // The pop-ups: the defeat message, then the quit confirmation twice.
    const std::vector<int> popUps = frames(states, " pop-up ");
    ASSERT_EQ(popUps.size(), 3u) << log();
    EXPECT_EQ(frames(states, " pop-up 8"), std::vector<int>{popUps[0]});
    EXPECT_EQ(frames(states, " pop-up 9"), (std::vector<int>{kQuit + 1, kQuitAgain + 1}));
    // Cancel keeps the mission; OK tears it down and the loading view leads to the world map.
    EXPECT_EQ(frames(trace, " EVENT_POP_UP_CANCELLED "), std::vector<int>{kCancel + 1});
    const std::vector<int> shutdowns = frames(trace, " EVENT_GAME_SHUTDOWN ");
    ASSERT_EQ(shutdowns.size(), 3u) << log();
    EXPECT_GE(shutdowns[1], kPauseRestart);
    EXPECT_LT(shutdowns[1], launches[2]);
    EXPECT_GT(shutdowns[2], kConfirm);
    // (The world map after a mission is recorded as the world map, state 9.)
    const std::vector<int> worldMap = frames(states, "current 9 ");
    ASSERT_EQ(worldMap.size(), 1u) << log();
    EXPECT_GT(worldMap[0], kConfirm);

    // The saved profile: the lost match's pearls (the crab's pearl, 10) doubled, saved by the pause
    // screen's first save; nothing more (the later matches scored none). M01a played, not completed.
    EXPECT_EQ(savedValue("", "", "pearl_amount"), "120");
    EXPECT_EQ(savedValue("MissionSolo", "M01a", "status_played"), "1");
    EXPECT_EQ(savedValue("MissionSolo", "M01a", "status_completed"), "0");

    // The pictures: open after the early Escape (the backdrop darkens the level), gone after the
    // late one; the buttons and the confirmation (build/screenshots/program_pause_*.png).
    kvengine::CCDecodedImage before, open, closed, buttons, confirm;
    ASSERT_TRUE(keepShot("pause_before.png", before));
    ASSERT_TRUE(keepShot("pause_open.png", open));
    ASSERT_TRUE(keepShot("pause_closed.png", closed));
    ASSERT_TRUE(keepShot("pause_buttons.png", buttons));
    ASSERT_TRUE(keepShot("pause_confirm.png", confirm));
    const double lit = kvtest::meanBrightness(before, 20, 100, 300, 250);
    EXPECT_LT(kvtest::meanBrightness(open, 20, 100, 300, 250), lit * 0.8);
    EXPECT_GT(kvtest::meanBrightness(closed, 20, 100, 300, 250), lit * 0.9);
    // The three buttons in a mission launched through loading screens: bright blue, which the
    // darkened level is not.
    auto blue = [](const kvengine::CCDecodedImage& image, int y) {
        int n = 0;
        for (int row = y - 10; row < y + 10; ++row)
            for (int x = 400; x < 560; ++x) {
                const unsigned char* p =
                    &image.pixels[(static_cast<size_t>(row) * image.width + x) * image.bytesPerPixel()];
                n += p[2] > 170 && p[0] < 140 ? 1 : 0;
            }
        return n;
    };
    for (int y : {275, 375, 475}) {
        EXPECT_GT(blue(buttons, y), 1500) << "no button at y " << y;
        EXPECT_LT(blue(before, y), 100) << "blue at y " << y << " before the pause";
    }
}

} // namespace
