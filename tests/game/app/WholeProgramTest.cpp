// Whole-program tests: the game's real start-up run by kelvos_driver (headless, fixed time step)
// and the game executable itself.
#include <cstdlib>
#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <sstream>
#include <string>

#include "AppTestSupport.h"
#include "engine/files/CCFileUtils.h"
#include "engine/platform/CCInstanceLock.h"
#include "engine/textures/CCDecodedImage.h"

namespace fs = std::filesystem;

namespace {

struct Pixel {
    int r, g, b;
};

class WholeProgramTest : public ::testing::Test {
protected:
    void SetUp() override {
        folder =
            kvapptest::dataHome() + "/../" + ::testing::UnitTest::GetInstance()->current_test_info()->name();
        fs::remove_all(folder);
        fs::create_directories(folder + "/xdg");
        folder = fs::canonical(folder).string();
    }
    /// Runs a program with its own data folder, headless; output goes to log.txt.
    int run(const std::string& program, const std::string& arguments, const std::string& extraEnv = "") {
        const std::string command = "cd '" + folder + "' && XDG_DATA_HOME='" + folder +
                                    "/xdg' SDL_VIDEODRIVER=offscreen SDL_AUDIODRIVER=dummy " + extraEnv +
                                    " '" + program + "' " + arguments + " > log.txt 2>&1";
        return kvapptest::runCommand(command);
    }
    std::string log() const { return kvapptest::readFile(folder + "/log.txt"); }
    bool loadShot(const std::string& name, kvengine::CCDecodedImage& image) const {
        const std::string bytes = kvapptest::readFile(folder + "/" + name);
        return !bytes.empty() && image.initWithPngData(bytes.data(), bytes.size()) &&
               image.bytesPerPixel() >= 3;
    }
    static Pixel at(const kvengine::CCDecodedImage& image, unsigned x, unsigned y) {
        const size_t bpp = image.bytesPerPixel();
        const unsigned char* p = &image.pixels[(static_cast<size_t>(y) * image.width + x) * bpp];
        return {p[0], p[1], p[2]};
    }
    std::string folder;
};

} // namespace

TEST_F(WholeProgramTest, TheSplashHoldsThenGivesWayAndTheProfileIsSavedScrambled) {
    // At 60 frames a second: fully faded in after 1.5 s (frame 90), fading out from 3.5 s
    // (frame ~210), handed over at about 5 s (frame ~300).
    ASSERT_EQ(
        run(KELVOS_DRIVER,
            "--frames 330 --trace-states 1 --shot 150:hold.png --shot 303:after.png --overdraw frames.txt"),
        0)
        << log();
    EXPECT_NE(log().find("frames drawn: 330"), std::string::npos) << log();

    // One line a frame: the picture covers the window once while it shows. After the hand-over
    // the main menu's backdrop covers the window instead.
    std::istringstream lines(kvapptest::readFile(folder + "/frames.txt"));
    std::string line;
    int count = 0;
    while (std::getline(lines, line)) {
        int frame = 0;
        unsigned long long fragments = 0;
        double windows = 0;
        long long cpu = 0, wall = 0;
        ASSERT_EQ(std::sscanf(line.c_str(),
                              "frame %d: %llu fragments (%lf windows), cpu %lld us, wall %lld us", &frame,
                              &fragments, &windows, &cpu, &wall),
                  5)
            << line;
        EXPECT_EQ(frame, ++count);
        EXPECT_NEAR(windows, fragments / (960.0 * 600.0), 0.001) << line;
        if (frame == 150) {
            EXPECT_NEAR(windows, 1.0, 0.01) << line;
        }
    }
    EXPECT_EQ(count, 330);
    const size_t menu = log().find(": current 1 previous 0");
    ASSERT_NE(menu, std::string::npos) << "the main menu state follows: " << log();
    const size_t stateLine = log().rfind("state ", menu);
    ASSERT_NE(stateLine, std::string::npos);
    EXPECT_GT(std::atoi(log().c_str() + stateLine + 6), 303) << "after the splash: " << log();

    kvengine::CCDecodedImage hold;
    ASSERT_TRUE(loadShot("hold.png", hold));
    ASSERT_EQ(hold.width, 960u);
    ASSERT_EQ(hold.height, 600u);
    // The sea at the top is blue and the sand at the bottom is sand-coloured.
    const Pixel sea = at(hold, 40, 60);
    EXPECT_GT(sea.b, 120);
    EXPECT_GT(sea.b, sea.r + 40);
    const Pixel sand = at(hold, 40, 585);
    EXPECT_GT(sand.r, 150);
    EXPECT_GT(sand.r, sand.b + 40);

    kvengine::CCDecodedImage after;
    ASSERT_TRUE(loadShot("after.png", after));
    for (const auto& xy : {std::pair<unsigned, unsigned>{40, 60}, {480, 300}, {40, 585}}) {
        const Pixel p = at(after, xy.first, xy.second);
        EXPECT_LT(p.r + p.g + p.b, 12) << "the picture has faded out at " << xy.first << ", " << xy.second;
    }

    const std::string saved = kvapptest::readFile(folder + "/xdg/Kelvos/SavedSettings.plist");
    ASSERT_FALSE(saved.empty());
    EXPECT_EQ(saved.find("<?xml"), std::string::npos) << "stored scrambled";
    std::string plain = saved;
    kvengine::unscrambleDataBuffer(reinterpret_cast<unsigned char*>(plain.data()),
                                   static_cast<unsigned>(plain.size()));
    EXPECT_EQ(plain.rfind("<?xml", 0), 0u);
    EXPECT_NE(plain.find("playerProfile"), std::string::npos);
}

TEST_F(WholeProgramTest, ClosingDuringTheSplashEndsCleanlyWithoutMakingAProfile) {
    // Closed in the first frame, before the splash made the shared objects.
    ASSERT_EQ(run(KELVOS_DRIVER, "--frames 10 --event 1:close"), 0) << log();
    EXPECT_FALSE(fs::exists(folder + "/xdg/Kelvos/SavedSettings.plist")) << log();
}

TEST_F(WholeProgramTest, InputDuringTheSplashIsHarmless) {
    ASSERT_EQ(run(KELVOS_DRIVER,
                  "--frames 40 --event 5:down:480:300 --event 6:move:500:320 --event 7:up:500:320 "
                  "--event 8:key:escape --event 9:key:space --event 10:key:left"),
              0)
        << log();
}

TEST_F(WholeProgramTest, AMissingResourceFolderShowsNothingAndStillReachesTheMenu) {
    fs::create_directories(folder + "/empty");
    ASSERT_EQ(run(KELVOS_DRIVER, "--resources '" + folder + "/empty' --frames 330 --trace-states 1"), 0)
        << log();
    EXPECT_NE(log().find("splash.png"), std::string::npos) << "the missing picture is reported: " << log();
    // Without settings the introduction is not switched off: there is no video, the menu follows.
    EXPECT_NE(log().find("no introduction video"), std::string::npos) << log();
    EXPECT_NE(log().find(": current 1 previous 22"), std::string::npos) << log();
}

TEST_F(WholeProgramTest, TheGameRefusesToRunTwiceForOneUser) {
    kvengine::CCInstanceLock first;
    ASSERT_EQ(first.acquire(folder + "/xdg/Kelvos/instance.lock"), kvengine::CCInstanceLock::kAcquired);
    EXPECT_EQ(run(KELVOS_GAME, ""), 0);
    EXPECT_EQ(log(), "") << "silent";
    // A copy under another file name meets the same lock.
    fs::copy_file(KELVOS_GAME, folder + "/another-name");
    EXPECT_EQ(run(folder + "/another-name", ""), 0);
    EXPECT_EQ(log(), "");
}

TEST_F(WholeProgramTest, NoWindowMeansAMessageAndAFailureStatus) {
    const int status = run(KELVOS_GAME, "", "SDL_VIDEODRIVER=no-such-driver");
    EXPECT_NE(status, 0);
    EXPECT_NE(log().find("cannot open the game window"), std::string::npos) << log();
}
