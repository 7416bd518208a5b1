// The whole program, run by kelvos_driver on M01a with the scripted plays of support/MissionPlays.h:
// the knock-out of a crab, the victory over both crabs and the defeat of both kelvos fallen into
// the hole; each play repeats exactly under the same seed. Traces and screenshots are kept in
// build/screenshots (program_outcome_*).
#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <sstream>
#include <string>
#include <vector>

#include "engine/textures/CCDecodedImage.h"
#include "support/DriverProgram.h"
#include "support/MissionPlays.h"

namespace {

constexpr int kFramesPerSecond = 60; // the driver's default step

struct TraceLine {
    int frame = 0;
    std::string text;
};

class MissionOutcomeProgramTest : public ::testing::Test, protected kvtest::DriverProgram {
protected:
    MissionOutcomeProgramTest() : DriverProgram(KELVOS_DRIVER, "outcome") {}

    /// Runs the play twice from no profile; the two traces must be the same. Keeps the first
    /// trace as program_outcome_<name>.txt.
    std::vector<TraceLine> playTwice(const std::string& arguments, const std::string& name) {
        std::string first;
        for (const char* trace : {"trace.txt", "again.txt"}) {
            clearProfile();
            EXPECT_EQ(run(arguments + " --trace " + trace), 0) << log();
            if (first.empty()) first = file(trace);
        }
        keep("trace.txt", "program_outcome_" + name + ".txt");
        EXPECT_FALSE(first.empty());
        EXPECT_TRUE(first == file("again.txt")) << "the same play under the same seed gave another trace";
        std::vector<TraceLine> lines;
        std::istringstream in(first);
        for (std::string text; std::getline(in, text);)
            lines.push_back({std::atoi(text.c_str()), text});
        return lines;
    }
    /// Index of the first line holding `part` at or after `from`; -1 when none.
    static int find(const std::vector<TraceLine>& lines, const std::string& part, int from = 0) {
        for (size_t i = static_cast<size_t>(from < 0 ? 0 : from); i < lines.size(); ++i)
            if (lines[i].text.find(part) != std::string::npos) return static_cast<int>(i);
        return -1;
    }
    static int count(const std::vector<TraceLine>& lines, const std::string& part) {
        int n = 0;
        for (const TraceLine& line : lines)
            n += line.text.find(part) != std::string::npos ? 1 : 0;
        return n;
    }
    /// The " speed S angle A" a pawn's trace line ends with; false without them.
    static bool motion(const TraceLine& line, float& speed, float& angle) {
        const size_t at = line.text.find(" speed ");
        return at != std::string::npos &&
               std::sscanf(line.text.c_str() + at, " speed %f angle %f", &speed, &angle) == 2;
    }

    /// The crab knocked out at `dead` (its "EVENT_DEAD_PAWN" line): the chain runs in order, the
    /// knock-out waiting until the crab is upright and slow, and the crab leaves once. Answers the
    /// index of its "EVENT_REMOVE_ACTOR KVCrab" line (-1 when the chain broke).
    static int checkKnockOut(const std::vector<TraceLine>& lines, int dead) {
        const int begin = find(lines, " EVENT_BEGIN_PUFF KVCrab ", dead);
        const int middle = find(lines, " EVENT_MIDDLE_PUFF KVCrab ", begin);
        const int ready = find(lines, " EVENT_DEAD_PAWN_READY KVCrab ", middle);
        const int removed = find(lines, " EVENT_REMOVE_ACTOR KVCrab ", ready);
        EXPECT_TRUE(dead >= 0 && begin > dead && middle > begin && ready > middle && removed > ready)
            << "knock-out chain out of order at trace lines " << dead << ", " << begin << ", " << middle
            << ", " << ready << ", " << removed;
        if (dead < 0 || begin < 0 || removed < 0) return -1;
        EXPECT_EQ(find(lines, " EVENT_REMOVE_ACTOR KVCrab ", dead), removed) << "removed before its puff";
        float speed = 0.0f, angle = 0.0f;
        // Still thrown by the blow when knocked out: the knock-out waits...
        EXPECT_TRUE(motion(lines[dead], speed, angle)) << lines[dead].text;
        EXPECT_GT(speed, 1.0f) << lines[dead].text;
        // ...until the crab stands upright at 1.0 m/s or less, and plays it out before the puff.
        const int plays = find(lines, " EVENT_PAWN_PLAYS_KO ", dead);
        EXPECT_GT(plays, dead);
        EXPECT_LT(plays, begin);
        if (plays > dead) {
            EXPECT_GT(lines[plays].frame, lines[dead].frame) << "the knock-out did not wait";
        }
        EXPECT_TRUE(motion(lines[begin], speed, angle)) << lines[begin].text;
        EXPECT_LE(speed, 1.0f) << lines[begin].text;
        EXPECT_GT(std::cos(angle), 0.98f) << lines[begin].text;
        return removed;
    }

    /// The verdict `dance` comes once, with the last removal (trace line `lastRemoved`), never
    /// `otherDance`; "EVENT_GAME_WINNER" follows once, `delayFrames` later (a frame's leeway for the
    /// timer's rounding).
    static void checkVerdict(const std::vector<TraceLine>& lines, const std::string& dance,
                             const std::string& otherDance, int lastRemoved, int delayFrames) {
        const int danced = find(lines, " " + dance + " - -", lastRemoved);
        ASSERT_GE(danced, 0) << "no " << dance << " after the last removal";
        EXPECT_EQ(find(lines, " " + dance + " "), danced) << dance << " before the last removal";
        EXPECT_EQ(lines[danced].frame, lines[lastRemoved].frame);
        const int winner = find(lines, " EVENT_GAME_WINNER - -", danced);
        ASSERT_GT(winner, danced);
        EXPECT_NEAR(lines[winner].frame - lines[danced].frame, delayFrames, 1);
        EXPECT_EQ(count(lines, " " + dance + " "), 1);
        EXPECT_EQ(count(lines, " EVENT_GAME_WINNER "), 1);
        EXPECT_EQ(count(lines, " " + otherDance + " "), 0);
    }
};

TEST_F(MissionOutcomeProgramTest, KnockingOutBothCrabsPuffsEachAwayAndWinsTheMission) {
    const int beforePuff = kvtest::m01aFrame(751);
    const int midPuff = kvtest::m01aFrame(773);
    const std::vector<TraceLine> lines =
        playTwice(kvtest::m01aPlay(kvtest::kM01aVictory, 240) + shot(beforePuff, "outcome_before_puff.png") +
                      shot(midPuff, "outcome_puff.png"),
                  "victory");
    ASSERT_FALSE(lines.empty());

    const int firstDead = find(lines, " EVENT_DEAD_PAWN KVCrab ");
    ASSERT_GE(firstDead, 0) << log();
    const int firstRemoved = checkKnockOut(lines, firstDead);
    ASSERT_GE(firstRemoved, 0);
    // The first puff is on the screen between its two halves.
    const int begin = find(lines, " EVENT_BEGIN_PUFF KVCrab ", firstDead);
    const int middle = find(lines, " EVENT_MIDDLE_PUFF KVCrab ", begin);
    EXPECT_LT(lines[firstDead].frame, beforePuff);
    EXPECT_LT(lines[begin].frame, midPuff);
    EXPECT_GT(lines[middle].frame, midPuff);
    const int secondDead = find(lines, " EVENT_DEAD_PAWN KVCrab ", firstRemoved);
    ASSERT_GT(secondDead, firstRemoved) << "the second crab was not knocked out";
    const int secondRemoved = checkKnockOut(lines, secondDead);
    ASSERT_GE(secondRemoved, 0);

    // The victory with the last crab's removal; the result two seconds later, once.
    checkVerdict(lines, "EVENT_VICTORY_DANCE", "EVENT_LOOSE_DANCE", secondRemoved, 2 * kFramesPerSecond);

    // The puff (build/screenshots/program_outcome_puff.png): its lilac smoke clouds over the crab, which
    // showed none before.
    kvengine::CCDecodedImage before, puff;
    ASSERT_TRUE(keepShot("outcome_before_puff.png", before) && keepShot("outcome_puff.png", puff));
    auto smoke = [](const kvengine::CCDecodedImage& image) {
        int n = 0;
        for (int y = 290; y < 420; ++y)
            for (int x = 730; x < 900; ++x) {
                const unsigned char* p =
                    &image.pixels[(static_cast<size_t>(y) * image.width + x) * image.bytesPerPixel()];
                if (std::abs(p[0] - 185) < 12 && std::abs(p[1] - 166) < 12 && std::abs(p[2] - 201) < 12) ++n;
            }
        return n;
    };
    EXPECT_LT(smoke(before), 20);
    EXPECT_GT(smoke(puff), 500);
}

TEST_F(MissionOutcomeProgramTest, BothKelvosFallenIntoTheHoleLoseTheMission) {
    const std::vector<TraceLine> lines = playTwice(kvtest::m01aPlay(kvtest::kM01aDefeat, 200), "defeat");
    ASSERT_FALSE(lines.empty());
    // Each kelvo falls and leaves through its fall, not a knock-out.
    const int firstFall = find(lines, " EVENT_PAWN_FALL KVKelvoPlayer ");
    ASSERT_GE(firstFall, 0) << log();
    const int firstRemoved = find(lines, " EVENT_REMOVE_ACTOR KVKelvoPlayer ", firstFall);
    ASSERT_GT(firstRemoved, firstFall);
    const int secondFall = find(lines, " EVENT_PAWN_FALL KVKelvoPlayer ", firstRemoved);
    ASSERT_GT(secondFall, firstRemoved);
    const int secondRemoved = find(lines, " EVENT_REMOVE_ACTOR KVKelvoPlayer ", secondFall);
    ASSERT_GT(secondRemoved, secondFall);
    EXPECT_EQ(count(lines, " EVENT_DEAD_PAWN KVKelvoPlayer "), 0);

    // The defeat at the end of that move; the result a second later, once.
    checkVerdict(lines, "EVENT_LOOSE_DANCE", "EVENT_VICTORY_DANCE", secondRemoved, kFramesPerSecond);
}

} // namespace
