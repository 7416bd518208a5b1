// The whole program along the player's road, run by kelvos_driver with one profile kept from run
// to run: the main menu, Play into the Prologue's world map, the chapter list and chapter 1's
// world map; then the Prologue's first mission played by the computer (--autoplay) to its victory
// screen and back to the world map; then chapter 1's first mission the same way. Screenshots are kept in
// build/screenshots (program_road_*).
#include <gtest/gtest.h>

#include <sstream>
#include <string>
#include <vector>

#include "engine/textures/CCDecodedImage.h"
#include "support/DriverProgram.h"

namespace {

class RoadProgramTest : public ::testing::Test, protected kvtest::DriverProgram {
protected:
    RoadProgramTest() : DriverProgram(KELVOS_DRIVER, "road") {}

    /// The menu manager's current states, in the order the run entered them.
    std::vector<int> states() const {
        std::vector<int> out;
        std::istringstream in(log());
        for (std::string line; std::getline(in, line);) {
            const size_t at = line.find(": current ");
            if (line.rfind("state ", 0) == 0 && at != std::string::npos) {
                const int state = std::atoi(line.c_str() + at + 10);
                if (out.empty() || out.back() != state) out.push_back(state);
            }
        }
        return out;
    }
    static bool holdsInOrder(const std::vector<int>& seen, const std::vector<int>& wanted) {
        size_t next = 0;
        for (int state : seen)
            if (next < wanted.size() && state == wanted[next]) ++next;
        return next == wanted.size();
    }
    /// The autoplay's result line.
    std::string result() const {
        const std::string text = log();
        const size_t at = text.rfind("autoplay: ");
        return at == std::string::npos ? "" : text.substr(at, text.find('\n', at) - at);
    }
    /// A screenshot that is neither black nor blank: the screen drew something.
    void expectDrawn(const std::string& name) const {
        kvengine::CCDecodedImage image;
        ASSERT_TRUE(keepShot(name, image)) << name;
        const double brightness = kvtest::meanBrightness(image, 0, 0, image.width, image.height);
        EXPECT_GT(brightness, 15.0) << name;
        EXPECT_LT(brightness, 230.0) << name;
    }
};

// Menu states of the manager (game/menu/KVMenuManager.h).
constexpr int kMainMenu = 1;
constexpr int kStory = 7;
constexpr int kWorldMap = 9;
constexpr int kInGame = 18;

TEST_F(RoadProgramTest, MenuWorldMapsAndAMissionOfEachChapterWonAndBackOnTheMap) {
    // The menus: the splash hands over to the main menu, a first click shows its buttons, a second
    // presses Play; the chapter list, then chapter 1's card (the second, open from the start).
    ASSERT_EQ(run("--frames 720 --trace-states 1" + tap(330, 865, 541) + tap(340, 865, 541) +
                  shot(450, "road_prologue_map.png") + " --menu-state 470:7" +
                  shot(560, "road_chapters.png") + tap(580, 730, 300) + shot(700, "road_chapter0_map.png")),
              0)
        << log();
    EXPECT_TRUE(holdsInOrder(states(), {kMainMenu, kWorldMap, kStory, kWorldMap})) << log();
    for (const char* name : {"road_prologue_map.png", "road_chapters.png", "road_chapter0_map.png"})
        expectDrawn(name);
    // Chapter 1 is open, its first mission shown locked until the Prologue is won.
    EXPECT_EQ(savedValue("ChapiterSolo", "Chapter0", "status_locked"), "0");
    EXPECT_EQ(savedValue("MissionSolo", "C0M01", "status_locked"), "2");

    // A mission of each chapter, played by the computer and won; 420 frames after the win the
    // victory screen has shown its rows, then the way back to the world map (the loading screen
    // that leaves a mission for it).
    const struct {
        const char* mission;
        const char* chapter;
    } legs[] = {{"M01a", "Prologue"}, {"C0M01", "Chapter0"}};
    for (const auto& leg : legs) {
        SCOPED_TRACE(leg.mission);
        const std::string prefix = std::string("road_") + leg.mission;
        ASSERT_EQ(run(std::string("--autoplay --mission ") + leg.mission + " --seed 1 --trace-states 1" +
                      " --shot w+420:" + prefix +
                      "_victory.png --menu-state w+450:loading:3 --shot w+700:" + prefix + "_map.png"),
                  0)
            << log();
        EXPECT_NE(result().find("result=won"), std::string::npos) << result();
        EXPECT_TRUE(holdsInOrder(states(), {kInGame, kWorldMap})) << log();
        expectDrawn(prefix + "_victory.png");
        expectDrawn(prefix + "_map.png");
        // The win is saved with its stars.
        EXPECT_EQ(savedValue("MissionSolo", leg.mission, "status_completed"), "1");
        EXPECT_EQ(savedValue("MissionSolo", leg.mission, "surviva_locked"), "0") << "the survival star";
    }
}

} // namespace
