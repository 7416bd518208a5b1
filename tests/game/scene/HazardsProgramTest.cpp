// The whole program in the mission of the currents (C0M01), run by kelvos_driver under seed 3: the
// first kelvo dashes through a power-up pick-up and on to the hermit crab, the turn passes, and
// the hermit's shot flies and hits it. The run repeats exactly. Trace and screenshots are kept in
// build/screenshots (program_hazards_*).
#include <gtest/gtest.h>

#include <sstream>
#include <string>
#include <vector>

#include "engine/textures/CCDecodedImage.h"
#include "support/DriverProgram.h"

namespace {

// Five launches of the first kelvo (the second through the pick-up, the fifth into the hermit),
// then both kelvos skip their turns and the hermit shoots.
const char* const kPlay = "--mission C0M01 --seed 3 --frames 880"
                          " --event 100:drag-pawn:-140:0 --event 200:drag-pawn:-140:0"
                          " --event 300:drag-pawn:-140:0 --event 420:drag-pawn:-140:0"
                          " --event 540:drag-pawn:-140:0 --event 660:skip-turn --event 780:skip-turn";

class HazardsProgramTest : public ::testing::Test, protected kvtest::DriverProgram {
protected:
    HazardsProgramTest() : DriverProgram(KELVOS_DRIVER, "hazards") {}
    std::vector<std::string> traceLines() const {
        std::vector<std::string> lines;
        std::istringstream in(file("trace.txt"));
        for (std::string line; std::getline(in, line);)
            lines.push_back(line);
        return lines;
    }
    static int find(const std::vector<std::string>& lines, const std::string& part, int from = 0) {
        for (size_t i = static_cast<size_t>(from); i < lines.size(); ++i)
            if (lines[i].find(part) != std::string::npos) return static_cast<int>(i);
        return -1;
    }
    static int frameOf(const std::string& line) { return std::atoi(line.c_str()); }
};

TEST_F(HazardsProgramTest, AKelvoPicksUpAPowerupAndTheHermitsShotHitsIt) {
    ASSERT_EQ(run(std::string(kPlay) + " --trace trace.txt" + shot(150, "hazards_level.png") +
                  shot(212, "hazards_pickup.png") + shot(822, "hazards_shot.png") +
                  shot(829, "hazards_hit.png")),
              0)
        << log();
    keep("trace.txt", "program_hazards_trace.txt");
    const std::vector<std::string> lines = traceLines();
    // The level's hazards and the first pick-up, at the first turn start.
    EXPECT_GE(find(lines, " EVENT_NEW_ACTOR KVVortex "), 0) << file("trace.txt");
    EXPECT_GE(find(lines, " EVENT_NEW_ACTOR KVGeyser "), 0);
    const int firstTurn = find(lines, " EVENT_START_TURN KVKelvoPlayer ");
    ASSERT_GE(firstTurn, 0);
    const int pickup = find(lines, " EVENT_NEW_ACTOR KVPowerupPickup ");
    ASSERT_GE(pickup, 0);
    EXPECT_EQ(frameOf(lines[pickup]), frameOf(lines[firstTurn]));
    // Picked up by the kelvo, which the pick-up leaves.
    const int picked = find(lines, " EVENT_POWERUP_PICKED_UP KVKelvoPlayer ");
    ASSERT_GT(picked, pickup) << file("trace.txt");
    EXPECT_EQ(find(lines, " EVENT_REMOVE_ACTOR KVPowerupPickup ", picked), picked + 1);
    // The hermit's turn: its shot is launched, flies, and hits the kelvo.
    const int hermitTurn = find(lines, " EVENT_START_TURN KVHermit ", picked);
    ASSERT_GT(hermitTurn, picked) << file("trace.txt");
    const int launched = find(lines, " EVENT_NEW_ACTOR KVDistanceAttackProjectile ", hermitTurn);
    ASSERT_GT(launched, hermitTurn) << file("trace.txt");
    EXPECT_EQ(find(lines, " EVENT_NOTIFY_IN_ACTION KVDistanceAttackProjectile ", launched), launched + 1);
    const int ended = find(lines, " EVENT_REMOVE_ACTOR KVDistanceAttackProjectile ", launched);
    ASSERT_GT(ended, launched);
    EXPECT_GT(frameOf(lines[ended]), frameOf(lines[launched])) << "it flies before it hits";
    EXPECT_EQ(find(lines, " EVENT_PAWN_TAKE_DAMAGE KVKelvoPlayer ", ended), ended + 2) << file("trace.txt");
    EXPECT_GE(find(lines, " EVENT_END_TURN KVHermit ", ended), 0) << "and the hermit's turn ends";

    // The same seed and the same play give the same run, line for line.
    const std::string first = file("trace.txt");
    ASSERT_EQ(run(std::string(kPlay) + " --trace again.txt"), 0) << log();
    EXPECT_EQ(file("again.txt"), first);

    // The pictures a person looks at: the level (kelvos, pick-up, vortex, hermit, plankton of the
    // geyser), the kelvo at the pick-up, the shot in flight and the hit.
    for (const char* name :
         {"hazards_level.png", "hazards_pickup.png", "hazards_shot.png", "hazards_hit.png"}) {
        kvengine::CCDecodedImage image;
        EXPECT_TRUE(keepShot(name, image)) << name;
    }
}

} // namespace
