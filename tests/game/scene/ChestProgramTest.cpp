// The whole program in the mission of the sunken chest (C0M02), run by kelvos_driver: the first
// kelvo is launched into the treasure chest in front of it, which opens, drops its pearls and the
// helmet inside; the helmet flies to the kelvo and is recorded for the victory screen. The run
// repeats exactly. Trace and screenshots are kept in build/screenshots (program_chest_*).
#include <gtest/gtest.h>

#include <sstream>
#include <string>
#include <vector>

#include "engine/textures/CCDecodedImage.h"
#include "support/DriverProgram.h"

namespace {

const char* const kPlay = "--mission C0M02 --seed 5 --frames 260 --event 100:drag-pawn:-140:0";

class ChestProgramTest : public ::testing::Test, protected kvtest::DriverProgram {
protected:
    ChestProgramTest() : DriverProgram(KELVOS_DRIVER, "chest") {}
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

TEST_F(ChestProgramTest, AKelvoOpensTheChestAndTakesItsPearlsAndHelmet) {
    ASSERT_EQ(run(std::string(kPlay) + " --trace trace.txt" + shot(90, "chest_closed.png") +
                  shot(140, "chest_opened.png")),
              0)
        << log();
    keep("trace.txt", "program_chest_trace.txt");
    const std::vector<std::string> lines = traceLines();
    EXPECT_GE(find(lines, " EVENT_NEW_ACTOR KVTreasureChest "), 0) << file("trace.txt");
    EXPECT_GE(find(lines, " EVENT_NEW_ACTOR KVHiddenStar "), 0);
    const int opened = find(lines, " EVENT_TREASURE_CHEST_OPENED KVTreasureChest ");
    ASSERT_GE(opened, 0) << file("trace.txt");
    EXPECT_GT(frameOf(lines[opened]), 100) << "opened by the launch";
    // Its pearls and its helmet come out, and the helmet is taken.
    const int pearls = find(lines, " EVENT_NEW_ACTOR KVPearl ", opened);
    const int helmet = find(lines, " EVENT_NEW_ACTOR KVPickupHelmet ", opened);
    ASSERT_GT(pearls, opened);
    ASSERT_GT(helmet, opened);
    const int reward = find(lines, " EVENT_TREASURE_CHEST_HELMET_REWARD CCString snorkel", helmet);
    ASSERT_GT(reward, helmet) << file("trace.txt");
    EXPECT_GE(find(lines, " EVENT_REMOVE_ACTOR KVPickupHelmet ", reward), 0);
    EXPECT_GE(find(lines, " EVENT_PEARL_ACQUIRED KVPearl ", opened), 0);
    EXPECT_EQ(find(lines, " EVENT_TREASURE_CHEST_OPENED ", opened + 1), -1) << "opened once";

    // The same seed and the same play give the same run, line for line.
    const std::string first = file("trace.txt");
    ASSERT_EQ(run(std::string(kPlay) + " --trace again.txt"), 0) << log();
    EXPECT_EQ(file("again.txt"), first);

    // The pictures a person looks at: the closed chest before the launch, then open with the
    // helmet on its way.
    for (const char* name : {"chest_closed.png", "chest_opened.png"}) {
        kvengine::CCDecodedImage image;
        EXPECT_TRUE(keepShot(name, image)) << name;
    }
}

} // namespace
