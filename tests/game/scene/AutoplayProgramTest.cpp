// The whole program, run by kelvos_driver --autoplay: the computer plays the player's side of a
// few missions, each under a seed it wins with, so a level that can no longer be won fails here.
// Every mission under several seeds is scripts/sweep-missions.sh, run beside the suite.
#include <gtest/gtest.h>

#include <cstdlib>
#include <sstream>
#include <string>

#include "engine/files/CCPlistReader.h"
#include "game/data/KVDataAccess.h"
#include "support/DriverProgram.h"

namespace {

class AutoplayProgramTest : public ::testing::Test, protected kvtest::DriverProgram {
protected:
    AutoplayProgramTest() : DriverProgram(KELVOS_DRIVER, "autoplay") {}

    /// The driver's last "autoplay: " line; "" without one.
    std::string resultLine() const {
        std::istringstream in(log());
        std::string found;
        for (std::string line; std::getline(in, line);)
            if (line.rfind("autoplay: ", 0) == 0) found = line;
        return found;
    }
    /// The value of " KEY=VALUE" in a result line; "" when missing.
    static std::string field(const std::string& line, const std::string& key) {
        const size_t at = line.find(" " + key + "=");
        if (at == std::string::npos) return "";
        const size_t begin = at + key.size() + 2;
        return line.substr(begin, line.find(' ', begin) - begin);
    }
    /// The turns a mission allows: the "nbTurns" of a condition that counts them, else its
    /// "speedStar_number" (the autoplay must win fast enough for the speed star); 0 when unknown.
    static int turnLimit(const std::string& mission) {
        const std::string path =
            std::string(KELVOS_RESOURCES_DIR) + "/data/missions/" + mission + "_DEF.plist";
        kvdata::Dict* definition = kvengine::dictionaryWithContentsOfFile(path.c_str());
        for (const char* condition : {"victory_condition", "fail_condition"}) {
            kvdata::Dict* entry = kvdata::dictAt(definition, condition);
            const std::string kind = kvdata::textAt(entry, "condition");
            if (kind == "Survive" || kind == "TimeElimination") return kvdata::intAt(entry, "nbTurns");
        }
        return kvdata::intAt(definition, "speedStar_number");
    }
};

TEST_F(AutoplayProgramTest, TheComputerWinsTheShortSweepWithinEachMissionsTurns) {
    const struct {
        const char* mission;
        unsigned seed;
    } cases[] = {{"M01a", 1},
                 {"C0M01", 1},
                 // Its dash help shows a light dialogue whose box lies below the window's middle:
                 // only a tap on the box itself goes on, or the match waits for ever.
                 {"M01b", 1}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.mission);
        clearProfile();
        const std::string arguments = std::string("--autoplay --mission ") + c.mission + " --seed " +
                                      std::to_string(c.seed) + " --frames 12000 --draw-every 10";
        ASSERT_EQ(run(arguments), 0) << log();
        const std::string line = resultLine();
        ASSERT_FALSE(line.empty()) << "no result line\n" << log();
        EXPECT_EQ(field(line, "result"), "won") << line;
        EXPECT_EQ(field(line, "mission"), c.mission);
        EXPECT_EQ(field(line, "seed"), std::to_string(c.seed));
        const int limit = turnLimit(c.mission);
        ASSERT_GT(limit, 0) << "no turn limit in the mission's definition";
        const int turns = std::atoi(field(line, "turns").c_str());
        EXPECT_GE(turns, 1) << line;
        EXPECT_LE(turns, limit) << line;
        // The run stops shortly after the verdict instead of running out its frames.
        const int frame = std::atoi(field(line, "frame").c_str());
        EXPECT_GT(frame, 0);
        EXPECT_LT(frame, 12000) << line;
    }
}

TEST_F(AutoplayProgramTest, AnAutoplayWithoutAMissionIsRefusedAndAnUnwonRunSaysSo) {
    EXPECT_EQ(run("--autoplay --frames 10"), 2);
    EXPECT_NE(log().find("--autoplay plays a --mission"), std::string::npos) << log();
    // Too few frames to finish: the run ends at its last frame and reports no verdict.
    EXPECT_EQ(run("--autoplay --mission M01a --seed 1 --frames 90"), 0) << log();
    const std::string line = resultLine();
    EXPECT_EQ(field(line, "result"), "unfinished") << log();
    EXPECT_EQ(field(line, "frame"), "90");
}

} // namespace
