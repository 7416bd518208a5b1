// The whole program, run by kelvos_driver (headless, fixed time step): a mission started with
// --mission loads behind its loading screen and starts its first turn; Escape during the mission
// does not open the quit confirmation. The trace and screenshots are kept in build/screenshots.
#include <unistd.h>

#include <gtest/gtest.h>
#include <sys/wait.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <sstream>
#include <string>
#include <vector>

#include "engine/textures/CCDecodedImage.h"
#include "support/DriverProgram.h"
#include "support/MissionPlays.h"

namespace fs = std::filesystem;

namespace {

class MissionProgramTest : public ::testing::Test, protected kvtest::DriverProgram {
protected:
    MissionProgramTest() : DriverProgram(KELVOS_DRIVER, "mission") {}
    std::vector<std::string> traceLines() const {
        std::vector<std::string> lines;
        std::istringstream in(file("trace.txt"));
        for (std::string line; std::getline(in, line);)
            lines.push_back(line);
        return lines;
    }
    /// Index of the first trace line holding `part` at or after `from`; -1 when none.
    static int find(const std::vector<std::string>& lines, const std::string& part, int from = 0) {
        for (size_t i = static_cast<size_t>(from); i < lines.size(); ++i)
            if (lines[i].find(part) != std::string::npos) return static_cast<int>(i);
        return -1;
    }
    void keep(const std::string& name) const { DriverProgram::keep(name, "program_mission_" + name); }
};

TEST_F(MissionProgramTest, AMissionFromTheDriverLoadsStartsItsFirstTurnAndKeepsEscapeFromTheMenus) {
    // Play starts after the fade (30 frames) and ten load steps 0.1 s apart: about frame 95.
    ASSERT_EQ(run("--mission M01a --seed 1 --frames 140 --trace trace.txt --trace-states 1"
                  " --shot 50:loading.png --shot 130:playing.png --event 110:key:escape"),
              0)
        << file("log.txt");
    keep("trace.txt");
    keep("loading.png");
    keep("playing.png");
    const std::vector<std::string> lines = traceLines();
    ASSERT_FALSE(lines.empty());
    const int postLoad = find(lines, " EVENT_POST_LOAD_GAME KVGameplayScene -");
    ASSERT_GE(postLoad, 0) << file("trace.txt");
    const int music = find(lines, " EVENT_MUSIC_GAME_START KVGameplayScene -", postLoad);
    EXPECT_GT(music, postLoad);
    const int game = find(lines, " InGame - Game CCString M01a", postLoad);
    EXPECT_GT(game, music);
    EXPECT_GT(find(lines, " EVENT_START_TURN ", game), game);
    // Escape during the mission: no quit confirmation (pop-up state 24) opens.
    EXPECT_EQ(file("log.txt").find("current 24"), std::string::npos) << file("log.txt");
    EXPECT_NE(find(lines, " EVENT_KEY_PRESS CCString TOUCH_ESCAPE"), -1);

    // The loading screen: the caption's banner along the bottom, opaque pictures above it.
    kvengine::CCDecodedImage loading;
    const std::string bytes = file("loading.png");
    ASSERT_TRUE(!bytes.empty() && loading.initWithPngData(bytes.data(), bytes.size()));
    ASSERT_EQ(loading.width, 960u);
    int bright = 0;
    for (int y = 600 - 50; y < 600 - 24; ++y)
        for (int x = 200; x < 760; ++x) {
            const unsigned char* p =
                &loading.pixels[(static_cast<size_t>(y) * loading.width + x) * loading.bytesPerPixel()];
            if (p[0] > 220 && p[1] > 220 && p[2] > 220) ++bright;
        }
    EXPECT_GT(bright, 200) << "caption text on the banner";
}

TEST_F(MissionProgramTest, ADragOnTheFirstKelvoLaunchesItAtFullPowerAndTheEnemyTurnFollows) {
    // Down on the kelvo whose turn it is, 140 pixels back (4.4 m at full zoom: beyond the 4.05 m
    // that reach the longest stretch), up; the move ends; the HUD's skip button (stood in for by
    // the driver) ends this kelvo's turn and the second one's, and the crabs' turn starts.
    using kvtest::m01aFrame;
    ASSERT_EQ(run(kvtest::m01aPlay({{1, "drag-pawn:-140:0"}, {101, "skip-turn"}, {201, "skip-turn"}}, 20) +
                  " --trace trace.txt" + shot(m01aFrame(0), "before.png") +
                  shot(m01aFrame(5), "pulling.png") + shot(m01aFrame(31), "flying.png") +
                  shot(m01aFrame(91), "after.png")),
              0)
        << log();
    for (const char* shot : {"trace.txt", "before.png", "pulling.png", "flying.png", "after.png"})
        keep(shot);
    const std::vector<std::string> lines = traceLines();
    const int pull = find(lines, " EVENT_PULL_START KVKelvoPlayer -");
    ASSERT_GE(pull, 0) << log() << file("trace.txt");
    EXPECT_EQ(lines[pull].rfind(std::to_string(m01aFrame(1)) + " ", 0), 0u)
        << "the pull starts with the press: " << lines[pull];
    const int launched = find(lines, " EVENT_KELVO_LAUNCHED ", pull);
    ASSERT_GT(launched, pull);
    EXPECT_NE(lines[launched].find(" 1"), std::string::npos) << "full power: " << lines[launched];
    EXPECT_EQ(lines[launched].rfind(std::to_string(m01aFrame(6)) + " ", 0), 0u)
        << "launched on the release: " << lines[launched];
    EXPECT_GT(find(lines, " EVENT_PULL_RELEASE KVKelvoPlayer", pull), pull);
    const int moveOver = find(lines, " EVENT_MOVE_OVER - -", launched);
    ASSERT_GT(moveOver, launched) << file("trace.txt");
    const int enemy = find(lines, " EVENT_TURN_START_ENEMY ", moveOver);
    EXPECT_GT(enemy, moveOver) << file("trace.txt");

    // The kelvo stretched, then flew on: each picture differs from the one before it.
    kvengine::CCDecodedImage before, pulling, flying, after;
    ASSERT_TRUE(keepShot("before.png", before) && keepShot("pulling.png", pulling) &&
                keepShot("flying.png", flying) && keepShot("after.png", after));
    EXPECT_GT(differing(before, pulling, 0, 0, 960, 600), 600);
    EXPECT_GT(differing(pulling, flying, 0, 0, 960, 600), 1200);
    EXPECT_GT(differing(before, after, 0, 0, 960, 600), 1200);
}

// The road a player takes to the crabs in M01a (seed 1): the first kelvo once, then the second one
// four times at full power until it hits a crab; its turn is skipped and the crabs answer.
const kvtest::Play kRoadToTheCrabs = {{1, "drag-pawn:-140:0"},   {101, "skip-turn"},
                                      {201, "drag-pawn:-140:0"}, {321, "drag-pawn:-140:0"},
                                      {441, "drag-pawn:-140:0"}, {561, "drag-pawn:-140:0"},
                                      {701, "skip-turn"}};

TEST_F(MissionProgramTest, TheViewsShowTheStretchTheHitsAndTheCrabsWindUpBeforeTheyCharge) {
    using kvtest::m01aFrame;
    ASSERT_EQ(run(kvtest::m01aPlay(kRoadToTheCrabs, 80) + " --trace trace.txt" +
                  shot(m01aFrame(564), "views_pull.png") + shot(m01aFrame(639), "views_crab_hit.png") +
                  shot(m01aFrame(731), "views_wind_up.png") + shot(m01aFrame(767), "views_kelvo_hit.png")),
              0)
        << log();
    keep("trace.txt");
    const std::vector<std::string> lines = traceLines();
    // The kelvo's fourth launch ends on a crab, which takes damage; its hit effect plays out.
    const int crabHit = find(lines, " EVENT_PAWN_TAKE_DAMAGE KVCrab ",
                             find(lines, std::to_string(m01aFrame(561)) + " EVENT_PULL_START"));
    ASSERT_GE(crabHit, 0) << file("trace.txt");
    EXPECT_GT(find(lines, " EVENT_REMOVE_ACTOR KVHit ", crabHit), crabHit);
    // The crab's turn: its launch waits for the view's wind-up to end, then comes at once.
    const int enemy = find(lines, " EVENT_TURN_START_ENEMY ", crabHit);
    ASSERT_GT(enemy, crabHit);
    const int windUp = find(lines, " EVENT_AI_ANIM_IMPULSE_START KVCrab ", enemy);
    ASSERT_GT(windUp, enemy) << file("trace.txt");
    const int windUpEnd = find(lines, " EVENT_AI_ANIM_IMPULSE_END KVCrab ", windUp);
    ASSERT_GT(windUpEnd, windUp);
    const int charge = find(lines, " EVENT_PULL_RELEASE KVCrab ", enemy);
    EXPECT_GT(charge, windUpEnd) << "the crab charged before its wind-up ended";
    EXPECT_EQ(lines[charge].substr(0, lines[charge].find(' ')),
              lines[windUpEnd].substr(0, lines[windUpEnd].find(' ')))
        << "the charge follows the wind-up in the same frame";
    EXPECT_GT(find(lines, " EVENT_PAWN_TAKE_DAMAGE KVKelvoPlayer ", charge), charge);

    // The pictures a person looks at (build/screenshots/program_views_*.png): the stretched kelvo
    // with its ring and stamina bubbles, the crab hit with its flash, gauge and damage figure,
    // the crab's wind-up, the kelvo hit.
    for (const char* shot :
         {"views_pull.png", "views_crab_hit.png", "views_wind_up.png", "views_kelvo_hit.png"}) {
        kvengine::CCDecodedImage image;
        EXPECT_TRUE(keepShot(shot, image)) << shot;
    }
}

// M01a opens with its objective and then the dialogue of Steev and Vahine, tapped through by the
// driver (support/MissionPlays.h). A skip of the first kelvo's turn while they talk (frame 200)
// does not start the next turn before the dialogue has ended.
TEST_F(MissionProgramTest, TheOpeningDialogueFollowsTheObjectiveAndHoldsTheTurnsUntilItEnds) {
    ASSERT_EQ(run("--mission M01a --seed 1" + kvtest::kM01aOpening +
                  " --event 200:skip-turn --frames 280 --trace trace.txt" + shot(175, "opening_picture.png") +
                  shot(236, "opening_dialogue.png") + shot(kvtest::kM01aPlayStart, "opening_after.png")),
              0)
        << log();
    keep("trace.txt");
    const std::vector<std::string> lines = traceLines();
    const int objective =
        find(lines, " EVENT_MISSION_OBJECTIVE ", find(lines, " InGame - Game CCString M01a"));
    ASSERT_GE(objective, 0) << file("trace.txt");
    const int started = find(lines, " EVENT_CHATTER_START - -", objective);
    ASSERT_GT(started, objective);
    EXPECT_EQ(lines[started].substr(0, lines[started].find(' ')),
              lines[objective].substr(0, lines[objective].find(' ')))
        << "the objective and the dialogue come in the same frame";
    const int ended = find(lines, " EVENT_END_SPEECH CCString M01a_chatin", started);
    ASSERT_GT(ended, started);
    const int skipped = find(lines, " EVENT_SKIP_TURN ", started);
    ASSERT_GT(skipped, started);
    EXPECT_LT(skipped, ended);
    for (const char* turn : {" EVENT_END_TURN ", " EVENT_START_TURN ", " EVENT_PULL_START "}) {
        const int at = find(lines, turn, started);
        EXPECT_TRUE(at < 0 || at > ended) << turn << " during the dialogue: " << lines[at];
    }
    EXPECT_GT(find(lines, " EVENT_START_TURN KVKelvoPlayer ", ended), ended)
        << "the skip takes effect after it";
    EXPECT_EQ(std::atoi(lines[ended].c_str()) + 20, kvtest::kM01aPlayStart) << lines[ended];

    // The dialogue's picture covers the window; its last text box (after a background reset) is
    // over the mission (build/screenshots/program_mission_opening_dialogue.png) and gone with it.
    kvengine::CCDecodedImage picture, talking, after;
    ASSERT_TRUE(keepShot("opening_picture.png", picture) && keepShot("opening_dialogue.png", talking) &&
                keepShot("opening_after.png", after));
    EXPECT_GT(differing(picture, talking, 0, 0, 960, 400), 100000);
    EXPECT_GT(differing(talking, after, 250, 460, 710, 590), 20000);
}

TEST_F(MissionProgramTest, ADragWithoutAMissionIsLoggedAndIgnored) {
    EXPECT_EQ(run("--frames 5 --event 3:drag-pawn:-140:0"), 0);
    EXPECT_NE(log().find("frame 3: no pawn to drag"), std::string::npos) << log();
    EXPECT_EQ(run("--frames 5 --event 3:drag-pawn:x"), 2);
    EXPECT_NE(log().find("bad event \"3:drag-pawn:x\""), std::string::npos) << log();
}

TEST_F(MissionProgramTest, LifeChangesOfPawnsNotOnTheBoardAreLoggedAndBadOnesRefused) {
    EXPECT_EQ(run("--frames 5 --event 3:set-life:enemy:0:1 --event 4:set-life:player:2:50"), 0);
    EXPECT_NE(log().find("frame 3: no enemy pawn 0"), std::string::npos) << log();
    EXPECT_NE(log().find("frame 4: no player pawn 2"), std::string::npos) << log();
    for (const char* bad : {"3:set-life:foe:0:1", "3:set-life:enemy:-1:1", "3:set-life:enemy:0:0",
                            "3:set-life:enemy:0:1x", "3:set-life:enemy:0", "0:set-life:enemy:0:1"}) {
        EXPECT_EQ(run(std::string("--frames 5 --event ") + bad), 2) << bad;
        EXPECT_NE(log().find(std::string("bad event \"") + bad + "\""), std::string::npos) << log();
    }
}

TEST_F(MissionProgramTest, AnUnknownMissionIsRefusedByTheDriver) {
    EXPECT_EQ(run("--mission NoSuchMission --frames 5"), 3);
    EXPECT_NE(file("log.txt").find("no chapter lists the mission NoSuchMission"), std::string::npos);
}

} // namespace
