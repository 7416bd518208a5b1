// The equipment screen in the whole program, run by kelvos_driver on the wide window: from the
// troops screen into the screen, a helmet worn, two paid trainings, back to the troops screen, and
// a later run that finds the helmet and the level kept. Screenshots are kept in build/screenshots
// (program_equip_*.png) for a person to look at.
#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <regex>
#include <sstream>
#include <string>
#include <vector>

#include "engine/files/CCFileUtils.h"
#include "support/DriverProgram.h"

namespace {

// Window pixels from the top left, wide window: kiwa's card in the troops carousel, the straw hat
// (the third icon of kiwa's helmet list), the train and back buttons.
constexpr int kKiwaCardX = 612;
constexpr int kCardY = 462;
constexpr int kStrawHatX = 611;
constexpr int kHelmetY = 295;
constexpr int kTrainX = 361;
constexpr int kTrainY = 431;
constexpr int kBackX = 160;
constexpr int kBackY = 40;

class EquipProgramTest : public ::testing::Test, protected kvtest::DriverProgram {
protected:
    EquipProgramTest() : DriverProgram(KELVOS_DRIVER, "equip") {}

    std::string settingsPath() const { return folder + "/xdg/Kelvos/SavedSettings.plist"; }
    /// The saved settings as plain text ("" when missing).
    std::string savedSettings() const {
        std::ifstream in(settingsPath(), std::ios::binary);
        std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
        kvengine::unscrambleDataBuffer(reinterpret_cast<unsigned char*>(bytes.data()),
                                       static_cast<unsigned>(bytes.size()));
        return bytes;
    }
    void writeSettings(std::string text) const {
        kvengine::scrambleDataBuffer(reinterpret_cast<unsigned char*>(text.data()),
                                     static_cast<unsigned>(text.size()));
        std::ofstream out(settingsPath(), std::ios::binary | std::ios::trunc);
        out.write(text.data(), static_cast<std::streamsize>(text.size()));
    }
    /// A string value inside kiwa's creature record of the saved profile ("" when absent).
    std::string kiwaValue(const std::string& key) const {
        const std::string text = savedSettings();
        const size_t record = text.find("<key>kiwa</key>");
        if (record == std::string::npos) return "";
        const size_t end = text.find("</dict>", record);
        const std::string part = text.substr(record, end - record);
        std::smatch match;
        if (!std::regex_search(part, match, std::regex("<key>" + key + "</key>\\s*<string>([^<]*)</string>")))
            return "";
        return match[1];
    }
    std::vector<int> statesEntered() const {
        std::vector<int> states;
        std::istringstream lines(log());
        std::string line;
        while (std::getline(lines, line)) {
            int frame = 0, current = 0, previous = 0;
            if (std::sscanf(line.c_str(), "state %d: current %d previous %d", &frame, &current, &previous) ==
                    3 &&
                (states.empty() || states.back() != current))
                states.push_back(current);
        }
        return states;
    }
};

TEST_F(EquipProgramTest, AHelmetAndTwoTrainingsAreKeptForTheNextRun) {
    const std::string common = "--size 960x600 --trace-states 1 --menu-state 320:11";
    // A first run makes the profile; then the player has 250 pearls, the price of levels 2 and 3.
    ASSERT_EQ(run(common + " --frames 330"), 0) << log();
    std::string settings = savedSettings();
    const std::regex pearls("<key>pearl_amount</key>\\s*<string>[0-9]*</string>");
    ASSERT_TRUE(std::regex_search(settings, pearls)) << "no pearl amount in the saved profile";
    writeSettings(std::regex_replace(settings, pearls, "<key>pearl_amount</key><string>250</string>"));

    // A button takes no second press for half a second: the presses are 40 frames apart.
    ASSERT_EQ(run(common + " --frames 780" + tap(360, kKiwaCardX, kCardY) + shot(378, "equip_open.png") +
                  tap(380, kStrawHatX, kHelmetY) + shot(392, "equip_worn.png") + tap(400, kTrainX, kTrainY) +
                  tap(440, kTrainX, kTrainY) + shot(470, "equip_counting.png") + tap(520, kTrainX, kTrainY) +
                  tap(560, kTrainX, kTrainY) + shot(650, "equip_trained.png") + tap(700, kBackX, kBackY) +
                  shot(770, "equip_back.png")),
              0)
        << log();
    EXPECT_EQ(statesEntered(), (std::vector<int>{1, 11, 15, 11})) << log();
    for (const char* name :
         {"equip_open.png", "equip_worn.png", "equip_counting.png", "equip_trained.png", "equip_back.png"}) {
        kvengine::CCDecodedImage image;
        EXPECT_TRUE(keepShot(name, image)) << name;
    }
    EXPECT_EQ(kiwaValue("level"), "3");
    EXPECT_EQ(kiwaValue("helmet_name"), "straw_hat");
    EXPECT_TRUE(
        std::regex_search(savedSettings(), std::regex("<key>pearl_amount</key>\\s*<string>0</string>")))
        << "both trainings paid";

    // The next run finds them.
    ASSERT_EQ(DriverProgram::run(common + " --frames 400" + tap(360, kKiwaCardX, kCardY) +
                                 shot(390, "equip_next_run.png")),
              0)
        << log();
    kvengine::CCDecodedImage image;
    EXPECT_TRUE(keepShot("equip_next_run.png", image));
    EXPECT_EQ(kiwaValue("level"), "3");
    EXPECT_EQ(kiwaValue("helmet_name"), "straw_hat");
}

} // namespace
