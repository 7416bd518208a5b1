// The troops screen in the whole program, run by kelvos_driver (headless, fixed time step, traced
// state changes), from a profile fixture with clint owned and out of the team and kiwa in the straw
// hat: the world map's squad button opens the screen; a creature dragged from its card fills the
// empty slot; two members swap by a drag; Back leads to the world map; the next run shows the same
// team. The slot positions at both window sizes. Screenshots in build/screenshots (program_*.png).
#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <sstream>
#include <string>

#include "engine/textures/CCDecodedImage.h"
#include "support/DriverProgram.h"

namespace {

// The splash hands over to the main menu at about frame 304; the first click reveals the menu,
// the second presses Play; the map's squad button (top right) then opens the troops screen.
constexpr int kMenuFrame = 330;
constexpr int kPlayFromRight = 95;
constexpr int kPlayY = 541;
constexpr int kTopButtonY = 40;
constexpr int kTroopsFrame = 381;
// The team row in window pixels from the top left: slot k's figure at (348 + 90 k, 290) on the
// wide window and (284 + 90 k, 258) on the narrow one; the class icons 57 pixels above.
constexpr int kSlotPitch = 90;
// Clint's card, the fourth of the carousel at 960 x 600.
constexpr int kClintCardX = 678;
constexpr int kCardY = 462;

struct Size {
    int width, firstSlotX, slotY;
};
constexpr Size kWide{960, 348, 290};
constexpr Size kNarrow{800, 284, 258};

class TroopsProgramTest : public ::testing::Test, protected kvtest::DriverProgram {
protected:
    TroopsProgramTest() : DriverProgram(KELVOS_DRIVER, "troops") {}

    /// From the splash to the troops screen (state 11 at frame 381) at the window width.
    static std::string toTroops(int width) {
        const int playX = width - kPlayFromRight;
        const int squadX = width / 2 + width / 3;
        return " --size " + std::to_string(width) + "x600" + tap(kMenuFrame, playX, kPlayY) +
               tap(kMenuFrame + 10, playX, kPlayY) + tap(kTroopsFrame - 1, squadX, kTopButtonY);
    }
    static std::string tap(int frame, int x, int y) {
        const std::string at = std::to_string(x) + ":" + std::to_string(y);
        return " --event " + std::to_string(frame) + ":down:" + at + " --event " + std::to_string(frame + 1) +
               ":up:" + at;
    }
    /// A press at `from` at `frame`, moves to `to` over the next 20 frames, the release there.
    static std::string drag(int frame, int fromX, int fromY, int toX, int toY) {
        std::string events = " --event " + std::to_string(frame) + ":down:" + std::to_string(fromX) + ":" +
                             std::to_string(fromY);
        for (int i = 1; i <= 20; ++i)
            events += " --event " + std::to_string(frame + i) +
                      ":move:" + std::to_string(fromX + (toX - fromX) * i / 20) + ":" +
                      std::to_string(fromY + (toY - fromY) * i / 20);
        return events + " --event " + std::to_string(frame + 21) + ":up:" + std::to_string(toX) + ":" +
               std::to_string(toY);
    }
    static std::string shot(int frame, const std::string& name) {
        return " --shot " + std::to_string(frame) + ":" + name;
    }
    /// Whether the last run's trace shows a change to `current` from `previous`.
    bool changed(int current, int previous) const {
        std::istringstream lines(log());
        std::string line;
        while (std::getline(lines, line)) {
            int frame = 0, now = 0, before = 0;
            if (std::sscanf(line.c_str(), "state %d: current %d previous %d", &frame, &now, &before) == 3 &&
                now == current && before == previous)
                return true;
        }
        return false;
    }
    std::string saved(const std::string& creature, const std::string& key) const {
        return savedCreatureValue(creature, key);
    }
    /// Pixels of a slot's box (figure and helmet) that are not the panel's dark blue.
    static int figurePixels(const kvengine::CCDecodedImage& image, const Size& size, int slot) {
        int count = 0;
        const int cx = size.firstSlotX + kSlotPitch * slot;
        for (int y = size.slotY - 30; y < size.slotY + 15; ++y)
            for (int x = cx - 25; x < cx + 25; ++x) {
                const unsigned char* p =
                    &image.pixels[(static_cast<size_t>(y) * image.width + x) * image.bytesPerPixel()];
                if (p[0] > 120 || p[1] > 120) ++count;
            }
        return count;
    }
};

TEST_F(TroopsProgramTest, CardToEmptySlotSwapBackAndTheSavedTeamOnTheNextRun) {
    installProfile("troops");
    const Size& w = kWide;
    const int slot2 = w.firstSlotX + kSlotPitch, slot4 = w.firstSlotX + 3 * kSlotPitch;
    // Clint from his card to the empty fourth slot; then steev (slot 1) onto vahine (slot 2); Back.
    ASSERT_EQ(run("--trace-states 1 --frames 640" + toTroops(w.width) + shot(395, "troops_before.png") +
                  drag(400, kClintCardX, kCardY, slot4, w.slotY) + shot(470, "troops_dropped.png") +
                  drag(520, w.firstSlotX, w.slotY, slot2, w.slotY) + shot(580, "troops_swapped.png") +
                  tap(590, 160, kTopButtonY)),
              0)
        << log();
    EXPECT_TRUE(changed(11, 9)) << "the squad button opened the troops screen: " << log();
    EXPECT_TRUE(changed(9, 11)) << "Back led to the world map: " << log();
    EXPECT_EQ(saved("clint", "status_selected"), "1");
    EXPECT_EQ(saved("clint", "turnSpeed"), "4");
    EXPECT_EQ(saved("steev", "turnSpeed"), "2");
    EXPECT_EQ(saved("vahine", "turnSpeed"), "1");
    EXPECT_EQ(saved("kiwa", "turnSpeed"), "3");

    kvengine::CCDecodedImage before, dropped, swapped;
    ASSERT_TRUE(keepShot("troops_before.png", before));
    ASSERT_TRUE(keepShot("troops_dropped.png", dropped));
    ASSERT_TRUE(keepShot("troops_swapped.png", swapped));
    EXPECT_LT(figurePixels(before, w, 3), 100) << "the fourth slot starts empty";
    EXPECT_GT(figurePixels(dropped, w, 3), 300) << "clint idles in it";
    // Kiwa's straw hat above its figure: pale straw pixels over slot 3.
    int straw = 0;
    const int kiwaX = w.firstSlotX + 2 * kSlotPitch;
    for (int y = w.slotY - 40; y < w.slotY - 15; ++y)
        for (int x = kiwaX - 25; x < kiwaX + 25; ++x) {
            const unsigned char* p = &dropped.pixels[(static_cast<size_t>(y) * dropped.width + x) * 4];
            if (p[0] > 200 && p[1] > 160 && p[2] < 140) ++straw;
        }
    EXPECT_GT(straw, 50) << "the helmet is worn in the row";
    EXPECT_GT(differing(before, dropped, slot4 - 12, w.slotY - 70, slot4 + 12, w.slotY - 45), 50)
        << "clint's class icon above the slot";
    EXPECT_GT(differing(dropped, swapped, w.firstSlotX - 25, w.slotY - 30, slot2 + 25, w.slotY + 15), 500)
        << "steev and vahine changed places";

    // The next run from the same data folder shows the same team.
    ASSERT_EQ(run("--trace-states 1 --frames 420" + toTroops(w.width) + shot(415, "troops_again.png")), 0)
        << log();
    kvengine::CCDecodedImage again;
    ASSERT_TRUE(keepShot("troops_again.png", again));
    for (int slot = 0; slot < 4; ++slot)
        EXPECT_LT(differing(swapped, again, w.firstSlotX + kSlotPitch * slot - 12, w.slotY - 70,
                            w.firstSlotX + kSlotPitch * slot + 12, w.slotY - 45),
                  60)
            << "the same class icon over slot " << slot;
    EXPECT_GT(figurePixels(again, w, 3), 300);
}

TEST_F(TroopsProgramTest, TheSlotsLieWhereTheLayoutPutsThemAtBothWidths) {
    for (const Size& size : {kWide, kNarrow}) {
        SCOPED_TRACE(size.width);
        installProfile("troops");
        const std::string name = "troops_" + std::to_string(size.width) + ".png";
        ASSERT_EQ(run("--trace-states 1 --frames 420" + toTroops(size.width) + shot(415, name)), 0) << log();
        kvengine::CCDecodedImage image;
        ASSERT_TRUE(keepShot(name, image));
        ASSERT_EQ(image.width, static_cast<unsigned>(size.width));
        for (int slot = 0; slot < 3; ++slot)
            EXPECT_GT(figurePixels(image, size, slot), 300) << "a figure in slot " << slot;
        EXPECT_LT(figurePixels(image, size, 3), 100) << "the fourth slot is empty";
    }
}

} // namespace
