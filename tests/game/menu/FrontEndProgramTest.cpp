// The front end in the whole program, run by kelvos_driver (headless, fixed time step, traced
// state changes): the main road from the splash into a mission at both window sizes, the
// loading screen's way back to the world map, and the about screen from the main menu and back.
// Screenshots are kept in build/screenshots (program_*.png) for a person to look at.
#include <unistd.h>

#include <gtest/gtest.h>
#include <sys/wait.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <sstream>
#include <string>
#include <vector>

#include "engine/textures/CCDecodedImage.h"
#include "support/DriverProgram.h"

namespace fs = std::filesystem;

namespace {

// The splash hands over to the main menu at about frame 304 (5 s at 60 frames a second).
constexpr int kMenuFrame = 330;
// Main-menu buttons in window pixels from the top left: Play 95 pixels left of the right edge,
// Credits at the lower left.
constexpr int kPlayFromRight = 95;
constexpr int kPlayY = 541;
constexpr int kCreditsX = 34;
constexpr int kCreditsY = 562;
// The centre of the current bubble of a carousel, 265 pixels from the top.
constexpr int kBubbleY = 265;

struct StateChange {
    int frame, current, previous;
};

class FrontEndProgramTest : public ::testing::Test, protected kvtest::DriverProgram {
protected:
    FrontEndProgramTest() : DriverProgram(KELVOS_DRIVER, "frontend") {}
    /// Runs the driver with a fresh profile and its state changes traced; its exit status.
    int run(const std::string& arguments) const {
        clearProfile();
        return DriverProgram::run("--trace-states 1 " + arguments);
    }
    /// The "state F: current C previous P" lines of the last run.
    std::vector<StateChange> trace() const {
        std::vector<StateChange> changes;
        std::istringstream lines(log());
        std::string line;
        while (std::getline(lines, line)) {
            StateChange change{};
            if (std::sscanf(line.c_str(), "state %d: current %d previous %d", &change.frame, &change.current,
                            &change.previous) == 3)
                changes.push_back(change);
        }
        return changes;
    }
    /// The first change to `current` after the change number `after` of the trace (-1: from the
    /// start), with its number; frame -1 when none.
    StateChange changeTo(int current, int after = -1, int* number = nullptr) const {
        const std::vector<StateChange> changes = trace();
        for (int i = after + 1; i < static_cast<int>(changes.size()); ++i) {
            if (changes[i].current != current) continue;
            if (number != nullptr) *number = i;
            return changes[i];
        }
        return {-1, 0, 0};
    }
    /// Mean brightness of a box of pixels (x, y from the top left).
    static double meanLuma(const kvengine::CCDecodedImage& image, int x0, int y0, int x1, int y1) {
        double sum = 0;
        int count = 0;
        for (int y = y0; y < y1; ++y)
            for (int x = x0; x < x1; ++x) {
                const unsigned char* p =
                    &image.pixels[(static_cast<size_t>(y) * image.width + x) * image.bytesPerPixel()];
                sum += (p[0] + p[1] + p[2]) / 3.0;
                ++count;
            }
        return count > 0 ? sum / count : 0;
    }
    static std::string tap(int frame, int x, int y) {
        const std::string at = std::to_string(x) + ":" + std::to_string(y);
        return " --event " + std::to_string(frame) + ":down:" + at + " --event " + std::to_string(frame + 1) +
               ":up:" + at;
    }
    static std::string shot(int frame, const std::string& name) {
        return " --shot " + std::to_string(frame) + ":" + name;
    }
};

TEST_F(FrontEndProgramTest, TheMainRoadLeadsFromTheSplashThroughTheWorldMapIntoAMissionAtBothSizes) {
    for (const int width : {960, 800}) {
        SCOPED_TRACE(width);
        const std::string size = std::to_string(width);
        const int playX = width - kPlayFromRight;
        // The bubble's centre: the carousel starts a sixteenth of the window in.
        const int bubbleX = width / 2 + (width - 800) / 16 + 5;
        // The first click only reveals the menu (it lands on Play and presses nothing), the second
        // plays; right key to the second bubble and back, then the first bubble is tapped.
        ASSERT_EQ(run("--size " + size + "x600 --frames 540" + tap(kMenuFrame, playX, kPlayY) +
                      tap(kMenuFrame + 10, playX, kPlayY) + shot(380, "map" + size + ".png") +
                      " --event 390:key:right" + shot(430, "second" + size + ".png") +
                      " --event 440:key:left" + tap(480, bubbleX, kBubbleY) +
                      shot(530, "back" + size + ".png")),
                  0)
            << log();
        const StateChange mainMenu = changeTo(1);
        EXPECT_EQ(mainMenu.previous, 0) << log();
        const StateChange map = changeTo(9);
        ASSERT_NE(map.frame, -1) << log();
        EXPECT_EQ(map.frame, kMenuFrame + 11) << "the second click plays, not the first";
        EXPECT_EQ(map.previous, 1);
        int missionAt = 0;
        const StateChange mission = changeTo(17, -1, &missionAt);
        ASSERT_NE(mission.frame, -1) << log();
        EXPECT_GE(mission.frame, 481);
        // The mission scene fades in: the record reads "in a mission".
        const StateChange inGame = changeTo(18, missionAt);
        EXPECT_NE(inGame.frame, -1) << log();
        EXPECT_NE(log().find("frames drawn: 540"), std::string::npos);

        kvengine::CCDecodedImage first, second, after;
        ASSERT_TRUE(keepShot("map" + size + ".png", first));
        ASSERT_TRUE(keepShot("second" + size + ".png", second));
        ASSERT_TRUE(keepShot("back" + size + ".png", after));
        ASSERT_EQ(first.width, static_cast<unsigned>(width));
        // Another bubble and another title at the centre after the right key; the mission's
        // loading screen over the bubble once the mission is under way.
        const int box[4] = {bubbleX - 50, kBubbleY - 50, bubbleX + 50, kBubbleY + 50};
        EXPECT_GT(differing(first, second, box[0], box[1], box[2], box[3]), 1000);
        EXPECT_GT(differing(first, after, box[0], box[1], box[2], box[3]), 1000);
        EXPECT_GT(differing(first, second, width / 2 - 80, 375, width / 2 + 80, 405), 100) << "the title";
    }
}

TEST_F(FrontEndProgramTest, TheLoadingScreenBackToTheMapShowsTheMapWithItsSheetsFourFramesLater) {
    ASSERT_EQ(run("--frames 420" + tap(kMenuFrame, 960 - kPlayFromRight, kPlayY) +
                  tap(kMenuFrame + 10, 960 - kPlayFromRight, kPlayY) + " --menu-state 400:loading:3" +
                  shot(402, "loading.png") + shot(404, "reloaded.png")),
              0)
        << log();
    int before = -1;
    (void)changeTo(9, -1, &before);
    const StateChange map = changeTo(9, before);
    EXPECT_EQ(map.frame, 404) << log();
    kvengine::CCDecodedImage loading, reloaded;
    ASSERT_TRUE(keepShot("loading.png", loading));
    ASSERT_TRUE(keepShot("reloaded.png", reloaded));
    EXPECT_LT(meanLuma(loading, 0, 0, 960, 250), 5) << "the loading screen is dark";
    // The map's picture and its back button, drawn from the reloaded sheets.
    EXPECT_GT(meanLuma(reloaded, 0, 100, 960, 350), 60);
    EXPECT_GT(meanLuma(reloaded, 100, 20, 220, 60), 80) << "the back button";
}

TEST_F(FrontEndProgramTest, CreditsShowsTheStaffOneByOneAndBackReturnsToTheMainMenu) {
    // Credits at frame 340 (after the revealing click); right key four times, 20 frames apart;
    // Back at (160, 40).
    std::string steps;
    for (int i = 0; i < 4; ++i)
        steps += " --event " + std::to_string(380 + 20 * i) + ":key:right";
    ASSERT_EQ(run("--frames 500" + tap(kMenuFrame, kCreditsX, kCreditsY) +
                  tap(kMenuFrame + 10, kCreditsX, kCreditsY) + shot(370, "about_first.png") + steps +
                  shot(470, "about_fifth.png") + tap(480, 160, 40)),
              0)
        << log();
    int aboutAt = 0;
    const StateChange about = changeTo(3, -1, &aboutAt);
    ASSERT_EQ(about.frame, kMenuFrame + 11) << log();
    EXPECT_EQ(about.previous, 1);
    const StateChange back = changeTo(1, aboutAt);
    EXPECT_EQ(back.frame, 481) << log();
    EXPECT_EQ(back.previous, 3);
    kvengine::CCDecodedImage first, fifth;
    ASSERT_TRUE(keepShot("about_first.png", first));
    ASSERT_TRUE(keepShot("about_fifth.png", fifth));
    // Another member's bubble and name at the centre.
    EXPECT_GT(differing(first, fifth, 445, kBubbleY - 50, 545, kBubbleY + 50), 1000);
    EXPECT_GT(differing(first, fifth, 380, 385, 580, 415), 100) << "the name";
    // The left arrow shows after the steps, not before.
    EXPECT_GT(differing(first, fifth, 140, 380, 180, 420), 50);
}

} // namespace

TEST_F(FrontEndProgramTest, OptionsKeepTheMusicVolumeAcrossVisitsAndRunsAndSwitchToFrench) {
    // Window pixels from the top left: the options button over Credits, the sound and language
    // tabs, the music knob's row, the soundtrack button, the second list row, Select, the pop-up's OK.
    const int optionsX = 34, optionsY = 500;
    const int soundTabX = 668, languageTabX = 573, tabY = 188;
    const int musicY = 313, rightEnd = 669, leftEnd = 390;
    // First run: Options, the sound tab, the music knob dragged to the left end, the soundtrack page,
    // Back, Options again and its sound tab.
    ASSERT_EQ(
        run("--frames 460" + tap(kMenuFrame, optionsX, optionsY) + tap(kMenuFrame + 10, optionsX, optionsY) +
            shot(360, "options_help.png") + tap(370, soundTabX, tabY) + shot(378, "options_sound.png") +
            " --event 380:down:" + std::to_string(rightEnd) + ":" + std::to_string(musicY) +
            " --event 382:move:500:" + std::to_string(musicY) +
            " --event 384:move:300:" + std::to_string(musicY) +
            " --event 386:up:300:" + std::to_string(musicY) + shot(392, "options_music_left.png") +
            tap(395, 336, 375) + tap(400, 160, 40) + tap(420, optionsX, optionsY) +
            tap(430, optionsX, optionsY) + tap(440, soundTabX, tabY) + shot(450, "options_music_kept.png")),
        0)
        << log();
    int optionsAt = 0;
    const StateChange options = changeTo(4, -1, &optionsAt);
    EXPECT_EQ(options.frame, kMenuFrame + 11) << log();
    int backAt = 0;
    EXPECT_EQ(changeTo(1, optionsAt, &backAt).frame, 401) << log();
    EXPECT_EQ(changeTo(4, backAt).frame, 431) << log();
    EXPECT_NE(log().find("web page 396: https://kelvos.example/soundtrack"), std::string::npos) << log();
    // Second run with the profile of the first: the knob is still at the left end. Then the
    // language tab, French, Select and OK.
    ASSERT_EQ(DriverProgram::run("--trace-states 1 --frames 470" + tap(kMenuFrame, optionsX, optionsY) +
                                 tap(kMenuFrame + 10, optionsX, optionsY) + tap(370, soundTabX, tabY) +
                                 shot(380, "options_music_saved.png") + tap(390, languageTabX, tabY) +
                                 tap(400, 476, 316) + tap(410, 649, 418) + shot(425, "options_question.png") +
                                 tap(430, 600, 395) + shot(460, "options_french.png")),
              0)
        << log();
    int popUpAt = 0;
    EXPECT_EQ(changeTo(24, -1, &popUpAt).frame, 411) << log();
    EXPECT_EQ(changeTo(4, popUpAt).frame, 431) << log();

    kvengine::CCDecodedImage help, sound, left, kept, saved, french;
    ASSERT_TRUE(keepShot("options_help.png", help));
    ASSERT_TRUE(keepShot("options_sound.png", sound));
    ASSERT_TRUE(keepShot("options_music_left.png", left));
    ASSERT_TRUE(keepShot("options_music_kept.png", kept));
    ASSERT_TRUE(keepShot("options_music_saved.png", saved));
    ASSERT_TRUE(keepShot("options_french.png", french));
    keep("options_question.png", "program_options_question.png");
    // The knob's row: moved by the drag, the same on the second visit and in the second run.
    const int row[4] = {leftEnd - 10, musicY - 8, rightEnd + 10, musicY + 8};
    EXPECT_GT(differing(sound, left, row[0], row[1], row[2], row[3]), 300);
    EXPECT_LT(differing(left, kept, row[0], row[1], row[2], row[3]), 60);
    EXPECT_LT(differing(left, saved, row[0], row[1], row[2], row[3]), 60);
    // The back button's caption in French.
    EXPECT_GT(differing(help, french, 110, 25, 210, 55), 50);
}

TEST_F(FrontEndProgramTest, ChapterCardsAndPlayerCountsLeadToTheirWorldMapsAndBackLeadsHome) {
    // Window pixels from the top left: the chapter card and the 3-player button at the centre,
    // the world map's Back at (W/6, 40), the Backs of the huddle and play-mode screens in the top
    // left corner.
    for (const int width : {960, 800}) {
        SCOPED_TRACE(width);
        const std::string size = std::to_string(width);
        ASSERT_EQ(run("--size " + size + "x600 --frames 450 --menu-state 340:7" +
                      shot(345, "story" + size + ".png") + tap(350, width / 2, 300) +
                      shot(360, "prologue" + size + ".png") + " --menu-state 380:8" +
                      shot(385, "huddle" + size + ".png") + tap(390, width / 2, 300) +
                      shot(400, "huddlemap" + size + ".png") + tap(410, width / 6, 40) + tap(420, 80, 22) +
                      tap(430, 70, 25)),
                  0)
            << log();
        // 7 -> 9 (the Prologue), then 8 -> 9 (the multiplayer maps) -> 8 -> 5 -> 1.
        int at = -1;
        const int road[] = {7, 9, 8, 9, 8, 5, 1};
        const int frames[] = {340, 351, 380, 391, 411, 421, 431};
        for (size_t i = 0; i < std::size(road); ++i) {
            const StateChange change = changeTo(road[i], at, &at);
            ASSERT_NE(change.frame, -1) << "step " << i << " to " << road[i] << "\n" << log();
            EXPECT_EQ(change.frame, frames[i]) << "step " << i;
        }

        kvengine::CCDecodedImage story, prologue, huddle, huddleMap;
        ASSERT_TRUE(keepShot("story" + size + ".png", story));
        ASSERT_TRUE(keepShot("prologue" + size + ".png", prologue));
        ASSERT_TRUE(keepShot("huddle" + size + ".png", huddle));
        ASSERT_TRUE(keepShot("huddlemap" + size + ".png", huddleMap));
        ASSERT_EQ(huddle.width, static_cast<unsigned>(width));
        // The card gave way to the Prologue's map; the huddle screen to the multiplayer map.
        const int centre[4] = {width / 2 - 60, 240, width / 2 + 60, 360};
        EXPECT_GT(differing(story, prologue, centre[0], centre[1], centre[2], centre[3]), 1000);
        EXPECT_GT(differing(huddle, huddleMap, centre[0], centre[1], centre[2], centre[3]), 1000);
        // Each player-count button's cream rim shows on both sides of its centre (W/4, W/2,
        // 3W/4): all three lie inside the window.
        for (const int quarter : {1, 2, 3}) {
            const int x = width * quarter / 4;
            for (const int side : {-1, 1}) {
                int rim = 0;
                for (int y = 250; y < 350; ++y)
                    for (int dx = 80; dx < 90; ++dx) {
                        if (x + side * dx < 0 || x + side * dx >= width) continue;
                        const unsigned char* p =
                            &huddle.pixels[(static_cast<size_t>(y) * huddle.width + x + side * dx) *
                                           huddle.bytesPerPixel()];
                        if (std::abs(p[0] - 243) + std::abs(p[1] - 224) + std::abs(p[2] - 176) < 60) ++rim;
                    }
                EXPECT_GT(rim, 100) << "button " << quarter << ", side " << side;
            }
        }
    }
}
