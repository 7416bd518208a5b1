// The whole program, run by kelvos_driver (headless, fixed time step): Escape in the menus, or the
// main menu's Quit button, opens the quit confirmation over the screen; Cancel closes it and the
// game runs on; OK ends the game with status 0 and the profile saved. Screenshots are kept in
// build/screenshots for a person to look at.
#include <unistd.h>

#include <gtest/gtest.h>
#include <sys/wait.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

#include "engine/textures/CCDecodedImage.h"
#include "support/DriverProgram.h"

namespace fs = std::filesystem;

namespace {

// The splash hands over to the main menu state at about frame 300 (5 s at 60 frames a second).
constexpr int kEscapeFrame = 330;
// The quit confirmation's buttons in window pixels from the top left, at 960 x 600: the frame is
// 460 x 290 points around the centre and its buttons 180 x 50, centred 50 points above its lower
// edge (y 600 - (155 + 50) = 395), cancel 120 points left of the centre and OK 120 right.
constexpr int kButtonY = 395;
constexpr int kCancelX = 360;
constexpr int kOkX = 600;
// The main menu's Quit button at the top left, Credits at the bottom left (window pixels).
constexpr int kQuitX = 18;
constexpr int kQuitY = 41;
constexpr int kCreditsX = 34;
constexpr int kCreditsY = 562;

class QuitConfirmationProgramTest : public ::testing::Test, protected kvtest::DriverProgram {
protected:
    QuitConfirmationProgramTest() : DriverProgram(KELVOS_DRIVER, "quit") {}
    static std::string tapAt(int frame, int x, int y = kButtonY) {
        return " --event " + std::to_string(frame) + ":down:" + std::to_string(x) + ":" + std::to_string(y) +
               " --event " + std::to_string(frame + 1) + ":up:" + std::to_string(x) + ":" + std::to_string(y);
    }
    /// White pixels around a button of the question's row, centred at x: its caption.
    static int captionPixels(const kvengine::CCDecodedImage& image, int x) {
        int white = 0;
        for (int dy = -8; dy <= 8; ++dy)
            for (int dx = -30; dx <= 30; ++dx)
                if (luma(image, x + dx, kButtonY + dy) > 230) ++white;
        return white;
    }
    /// The frame of the first change to `current` from `previous` in the last run's trace; -1 when none.
    int changeFrame(int current, int previous) const {
        const std::string text = log();
        const std::string line =
            ": current " + std::to_string(current) + " previous " + std::to_string(previous);
        const size_t at = text.find(line);
        if (at == std::string::npos) return -1;
        const size_t start = text.rfind("state ", at);
        return start == std::string::npos ? -1 : std::atoi(text.c_str() + start + 6);
    }
    static int luma(const kvengine::CCDecodedImage& image, int x, int y) {
        const unsigned char* p =
            &image.pixels[(static_cast<size_t>(y) * image.width + x) * image.bytesPerPixel()];
        return (p[0] + p[1] + p[2]) / 3;
    }
};

TEST_F(QuitConfirmationProgramTest, EscapeAsksAndCancelKeepsTheGameRunning) {
    const std::string escape = " --event " + std::to_string(kEscapeFrame) + ":key:escape";
    ASSERT_EQ(run("--frames 420 --trace-states 1" + escape + " --shot 340:asked.png" + tapAt(350, kCancelX) +
                  " --shot 360:cancelled.png"),
              0)
        << log();
    EXPECT_NE(log().find("frames drawn: 420"), std::string::npos) << "ran to the end: " << log();

    kvengine::CCDecodedImage asked;
    ASSERT_TRUE(keepShot("asked.png", asked));
    ASSERT_EQ(asked.width, 960u);
    // The frame's deep water above the message, the pale rim at its edge, a white caption on each button.
    const unsigned char* water =
        &asked.pixels[(static_cast<size_t>(300 - 115) * asked.width + 480) * asked.bytesPerPixel()];
    EXPECT_GT(water[2], water[0] + 40) << "blue";
    EXPECT_GT(luma(asked, 480, 300 - 135), 150) << "the rim";
    for (int x : {kCancelX, kOkX})
        EXPECT_GT(captionPixels(asked, x), 10) << "a caption at x " << x;

    kvengine::CCDecodedImage cancelled;
    ASSERT_TRUE(keepShot("cancelled.png", cancelled));
    // The main menu shows under the pop-up: the record says the pop-up came and went over it.
    const std::string trace = log();
    const size_t opened = trace.find("current 24 previous 1");
    ASSERT_NE(opened, std::string::npos) << trace;
    EXPECT_NE(trace.find("current 1 previous 24", opened), std::string::npos)
        << "the pop-up is gone: " << trace;
}

TEST_F(QuitConfirmationProgramTest, OkEndsTheGameWithStatusZero) {
    const std::string escape = " --event " + std::to_string(kEscapeFrame) + ":key:escape";
    ASSERT_EQ(run("--frames 600" + escape + tapAt(350, kOkX)), 0) << log();
    const std::string text = log();
    const size_t at = text.find("frames drawn: ");
    ASSERT_NE(at, std::string::npos) << text;
    const int frames = std::atoi(text.c_str() + at + 14);
    EXPECT_GE(frames, 351);
    EXPECT_LT(frames, 360) << "ended right after OK";
    EXPECT_TRUE(fs::exists(folder + "/xdg/Kelvos/SavedSettings.plist"));
}

TEST_F(QuitConfirmationProgramTest, TheQuitButtonAsksAndCancelGivesTheMenuBack) {
    // The first click reveals the menu, the second presses Quit; Credits after Cancel.
    ASSERT_EQ(run("--frames 420 --trace-states 1" + tapAt(kEscapeFrame, kQuitX, kQuitY) +
                  tapAt(kEscapeFrame + 10, kQuitX, kQuitY) + " --shot 350:quit_button.png" +
                  tapAt(360, kCancelX) + tapAt(380, kCreditsX, kCreditsY)),
              0)
        << log();
    EXPECT_EQ(changeFrame(24, 1), kEscapeFrame + 11) << "Quit opened the question: " << log();
    EXPECT_EQ(changeFrame(1, 24), 361) << "Cancel closed it";
    EXPECT_EQ(changeFrame(3, 1), 381) << "the menu's buttons work again";
    kvengine::CCDecodedImage asked;
    ASSERT_TRUE(keepShot("quit_button.png", asked));
    for (int x : {kCancelX, kOkX})
        EXPECT_GT(captionPixels(asked, x), 10) << "a caption at x " << x;
}

TEST_F(QuitConfirmationProgramTest, OkAfterATeamChangeEndsTheGameWithTheTeamSaved) {
    installProfile("troops");
    // Play, the map's squad button, steev dragged from slot 1 onto vahine's slot 2 (they swap),
    // Back to the map, Back to the main menu; its Quit button after the revealing click; OK.
    std::string swap = " --event 400:down:348:290";
    for (int i = 1; i <= 20; ++i)
        swap += " --event " + std::to_string(400 + i) + ":move:" + std::to_string(348 + 90 * i / 20) + ":290";
    swap += " --event 421:up:438:290";
    ASSERT_EQ(run("--frames 700 --trace-states 1" + tapAt(kEscapeFrame, 865, 541) +
                  tapAt(kEscapeFrame + 10, 865, 541) + tapAt(380, 800, 40) + swap + tapAt(470, 160, 40) +
                  tapAt(500, 160, 40) + tapAt(540, kQuitX, kQuitY) + tapAt(550, kQuitX, kQuitY) +
                  tapAt(560, kOkX)),
              0)
        << log();
    EXPECT_NE(changeFrame(11, 9), -1) << "the troops screen was open: " << log();
    EXPECT_EQ(changeFrame(24, 1), 551) << log();
    const std::string text = log();
    const size_t at = text.find("frames drawn: ");
    ASSERT_NE(at, std::string::npos) << text;
    EXPECT_LT(std::atoi(text.c_str() + at + 14), 570) << "ended right after OK";
    // The swap is in the file: steev in slot 2, vahine in slot 1.
    const std::string saved = savedProfile();
    ASSERT_EQ(saved.rfind("<?xml", 0), 0u) << "a profile was saved";
    EXPECT_EQ(savedCreatureValue("steev", "turnSpeed"), "2");
    EXPECT_EQ(savedCreatureValue("vahine", "turnSpeed"), "1");
}

} // namespace
