// The whole program, run by kelvos_driver (headless, fixed time step): Escape in the menus opens
// the quit confirmation over the screen; Cancel closes it and the game runs on; OK ends the game
// with status 0. Screenshots are kept in build/screenshots for a person to look at.
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

class QuitConfirmationProgramTest : public ::testing::Test, protected kvtest::DriverProgram {
protected:
    QuitConfirmationProgramTest() : DriverProgram(KELVOS_DRIVER, "quit") {}
    std::string tapAt(int frame, int x) const {
        return " --event " + std::to_string(frame) + ":down:" + std::to_string(x) + ":" +
               std::to_string(kButtonY) + " --event " + std::to_string(frame + 1) +
               ":up:" + std::to_string(x) + ":" + std::to_string(kButtonY);
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
    for (int x : {kCancelX, kOkX}) {
        int white = 0;
        for (int dy = -8; dy <= 8; ++dy)
            for (int dx = -30; dx <= 30; ++dx)
                if (luma(asked, x + dx, kButtonY + dy) > 230) ++white;
        EXPECT_GT(white, 10) << "a caption at x " << x;
    }

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

} // namespace
