// The shop in the whole program, run by kelvos_driver: from the troops screen into the shop, a
// sushi bought with two presses and its pop-up closed, a helmet bought, a creature recruited, and
// back to the troops screen; a second run from the same data folder keeps all three. Screenshots
// are kept in build/screenshots (program_shop_*.png) for a person to look at.
#include <gtest/gtest.h>

#include <cstdlib>
#include <sstream>
#include <string>
#include <vector>

#include "engine/base/CCUserDefaults.h"
#include "engine/textures/CCDecodedImage.h"
#include "game/data/KVPlayerParameters.h"
#include "support/DriverProgram.h"

namespace {

// Window pixels from the top left (960 x 600).
struct Tap {
    int frame, x, y;
};
const Tap kRoute[] = {
    {50, 800, 40},   // troops: Shop
    {100, 668, 187}, // Stuff tab
    {140, 611, 307}, // the sushi
    {170, 371, 431}, // arm
    {210, 371, 431}, // buy
    {270, 480, 394}, // pop-up OK
    {320, 573, 187}, // Helmets tab: the Frigate helmet is chosen
    {360, 361, 431}, // arm
    {400, 361, 431}, // buy
    {440, 480, 394}, // OK
    {490, 469, 187}, // Kelvos tab: the Frigate creature is chosen
    {530, 361, 431}, // arm
    {570, 361, 431}, // recruit
    {610, 480, 394}, // OK
    {660, 160, 40},  // Back
};

class ShopProgramTest : public ::testing::Test, protected kvtest::DriverProgram {
protected:
    ShopProgramTest() : DriverProgram(KELVOS_DRIVER, "shop") {}
    static std::string route() {
        std::ostringstream arguments;
        for (const Tap& tap : kRoute)
            arguments << " --event " << tap.frame << ":down:" << tap.x << ":" << tap.y << " --event "
                      << tap.frame + 2 << ":up:" << tap.x << ":" << tap.y;
        return arguments.str();
    }
    /// Lines of the notification trace that name `name` (with the object's value when given).
    int traced(const std::string& name, const std::string& value = "") const {
        std::istringstream lines(file("trace.txt"));
        std::string line;
        int count = 0;
        const std::string ending = " " + value;
        while (std::getline(lines, line)) {
            const bool named = line.find(" " + name + " ") != std::string::npos;
            const bool valued =
                value.empty() || (line.size() >= ending.size() &&
                                  line.compare(line.size() - ending.size(), ending.size(), ending) == 0);
            if (named && valued) ++count;
        }
        return count;
    }
};

TEST_F(ShopProgramTest, ASushiAHelmetAndACreatureBoughtInTheShopAreKeptByTheNextRun) {
    ASSERT_EQ(run("--frames 760 --pearls 2000 --menu-state 5:11 --trace trace.txt --trace-states 1 --shot "
                  "130:shop_stuff.png --shot 300:shop_bought.png --shot 640:shop_kelvos.png --shot "
                  "740:shop_troops.png" +
                  route()),
              0)
        << log();
    EXPECT_NE(log().find("state 52: current 12 previous 11"), std::string::npos) << log();
    EXPECT_NE(log().find("state 662: current 11 previous 12"), std::string::npos) << log();
    EXPECT_EQ(traced("EVENT_PURCHASE_DONE"), 3) << file("trace.txt");
    EXPECT_EQ(traced("Menu - Buy - Consumable", "sushi"), 1);
    EXPECT_EQ(traced("EVENT_KELVO_RECRUITED", "sammo"), 1);
    kvengine::CCDecodedImage image;
    for (const char* shot : {"shop_stuff.png", "shop_bought.png", "shop_kelvos.png", "shop_troops.png"}) {
        keep(shot, std::string("program_") + shot);
        const std::string bytes = file(shot);
        EXPECT_TRUE(!bytes.empty() && image.initWithPngData(bytes.data(), bytes.size())) << shot;
    }

    // A second run from the same folder starts with what the first one bought.
    ASSERT_EQ(run("--frames 60 --menu-state 5:11"), 0) << log();
    const char* home = std::getenv("XDG_DATA_HOME");
    const std::string saved = home != nullptr ? home : "";
    setenv("XDG_DATA_HOME", (folder + "/xdg").c_str(), 1);
    KVPlayerParameters* profile = KVPlayerParameters::getInstance();
    EXPECT_EQ(profile->getConsumableAmount("sushi"), 1);
    EXPECT_EQ(profile->getHelmetLockStatus("shell_helm"), 0);
    EXPECT_EQ(profile->getKelvoLockStatus("sammo"), 0);
    EXPECT_EQ(profile->getPearlAmount(), 2000 - 80 - 300 - 1000);
    profile->release();
    if (kvengine::CCUserDefaults* defaults = kvengine::CCUserDefaults::existingInstance())
        defaults->release();
    setenv("XDG_DATA_HOME", saved.c_str(), 1);
}

} // namespace
