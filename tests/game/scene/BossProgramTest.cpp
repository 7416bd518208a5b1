// The whole program on the boss mission C0M26, run by kelvos_driver under seed 7: the boss swipes
// at the kelvo within its reach on its first turn, its eyes are knocked out (right, then left), the
// mouth opens 1.4375 s later, and knocking it out wins the mission while the crab still stands.
// Screenshots of the boss idle, swiping and knocked out are kept in build/screenshots
// (program_boss_*.png).
#include <gtest/gtest.h>

#include <cstdlib>
#include <sstream>
#include <string>
#include <vector>

#include "engine/textures/CCDecodedImage.h"
#include "support/DriverProgram.h"

namespace {

class BossProgramTest : public ::testing::Test, protected kvtest::DriverProgram {
protected:
    BossProgramTest() : DriverProgram(KELVOS_DRIVER, "boss") {}

    struct Line {
        int frame;
        std::string text;
    };
    std::vector<Line> lines(const std::string& trace) const {
        std::vector<Line> out;
        std::istringstream in(trace);
        for (std::string text; std::getline(in, text);)
            out.push_back({std::atoi(text.c_str()), text});
        return out;
    }
    static int find(const std::vector<Line>& all, const std::string& part, int from = 0) {
        for (size_t i = static_cast<size_t>(from); i < all.size(); ++i)
            if (all[i].text.find(part) != std::string::npos) return static_cast<int>(i);
        return -1;
    }
};

TEST_F(BossProgramTest, TheBossSwipesLosesItsEyesAndMouthAndItsDeathWinsTheMission) {
    // The player's two kelvos pass their turns; the boss's turn comes third. The enemy side lists
    // the boss, its left eye, its right eye and the crab; then the mouth joins after the crab.
    // The idle picture is taken between the banners of the first turns and the enemy turn (302).
    const std::string arguments =
        "--mission C0M26 --seed 7 --frames 1100 --trace trace.txt --event 100:skip-turn --event 300:skip-turn"
        " --event 500:skip-turn --event 600:knock-out:enemy:2 --event 700:knock-out:enemy:1"
        " --event 900:knock-out:enemy:2 --shot 290:boss_idle.png --shot 365:boss_swipe.png --shot "
        "960:boss_ko.png";
    ASSERT_EQ(run(arguments), 0) << log();
    const std::vector<Line> trace = lines(file("trace.txt"));
    keep("trace.txt", "program_boss_trace.txt");

    const int swipe = find(trace, " EVENT_COCONUT_CRAB_SWIPE_TRIGGER ");
    ASSERT_GE(swipe, 0) << "the kelvo within its reach is swiped at";
    EXPECT_GT(find(trace, " EVENT_COCONUT_CRAB_SWIPE_ANIM_END ", swipe), swipe);
    EXPECT_LT(find(trace, " EVENT_COCONUT_CRAB_THROW_"), 0);
    const int right = find(trace, " EVENT_COCONUT_CRAB_KO_RIGHT_EYE ");
    const int both = find(trace, " EVENT_COCONUT_CRAB_KO_BOTH_EYES ");
    ASSERT_GT(right, swipe);
    ASSERT_GT(both, right);
    EXPECT_LT(find(trace, " EVENT_COCONUT_CRAB_KO_LEFT_EYE "), 0);
    const int mouth = find(trace, " EVENT_COCONUT_CRAB_ACTIVATE_MOUTH ");
    ASSERT_GT(mouth, both);
    const int delay = trace[static_cast<size_t>(mouth)].frame - trace[static_cast<size_t>(both)].frame;
    EXPECT_GE(delay, 86);
    EXPECT_LE(delay, 88) << "1.4375 s at 60 frames a second";
    const int dead = find(trace, " EVENT_COCONUT_CRAB_DEAD ");
    ASSERT_GT(dead, mouth);
    EXPECT_GT(find(trace, " EVENT_VICTORY_DANCE ", dead), dead);
    EXPECT_GT(find(trace, " EVENT_GAME_WINNER ", dead), dead);
    EXPECT_LT(find(trace, " EVENT_REMOVE_ACTOR KVCrab "), 0) << "the crab is still on the board";
    EXPECT_LT(find(trace, " EVENT_COCONUT_CRAB_QUAKE_ANIM_END ", dead), 0);

    // The eyes: light beads while the boss stands, grey crosses once it is knocked out.
    kvengine::CCDecodedImage idle, swiping, ko;
    ASSERT_TRUE(keepShot("boss_idle.png", idle) && keepShot("boss_swipe.png", swiping) &&
                keepShot("boss_ko.png", ko));
    for (const int eyeX : {688, 733}) {
        SCOPED_TRACE(eyeX);
        EXPECT_GT(kvtest::meanBrightness(idle, eyeX - 8, 268, eyeX + 8, 280), 140.0);
        EXPECT_LT(kvtest::meanBrightness(ko, eyeX - 8, 268, eyeX + 8, 280), 120.0);
    }
    // The swipe has the claws down in front of the shell where they rested up at the sides.
    EXPECT_GT(differing(idle, swiping, 500, 300, 960, 520), 5000);
}

} // namespace
