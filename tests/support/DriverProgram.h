#pragma once

// The whole program, run by kelvos_driver in a folder of its own for one test: the driver's log,
// its screenshots and an XDG data folder for the player's profile live there.

#include <unistd.h>

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

#include "engine/files/CCFileUtils.h"
#include "engine/textures/CCDecodedImage.h"
#include "support/ChildProcess.h"

namespace kvtest {

/// Mean brightness (0..255) of the box [x0, x1) x [y0, y1) of a screenshot, x and y from the top
/// left; 0 for an empty box.
inline double meanBrightness(const kvengine::CCDecodedImage& image, int x0, int y0, int x1, int y1) {
    double sum = 0;
    for (int y = y0; y < y1; ++y)
        for (int x = x0; x < x1; ++x) {
            const size_t at = (static_cast<size_t>(y) * image.width + x) * image.bytesPerPixel();
            sum += (image.pixels[at] + image.pixels[at + 1] + image.pixels[at + 2]) / 3.0;
        }
    return x1 > x0 && y1 > y0 ? sum / ((x1 - x0) * (y1 - y0)) : 0.0;
}

class DriverProgram {
public:
    /// A fresh folder named after `prefix`, the process and the running test, so parallel runs
    /// and checkouts never share one; removed again with the fixture.
    DriverProgram(const char* driver, const std::string& prefix)
        : folder((std::filesystem::temp_directory_path() /
                  ("kelvos-" + prefix + "-" + std::to_string(getpid()) + "-" +
                   ::testing::UnitTest::GetInstance()->current_test_info()->name()))
                     .string()),
          m_driver(driver) {
        std::filesystem::remove_all(folder);
        clearProfile();
    }
    ~DriverProgram() {
        std::error_code ignored;
        std::filesystem::remove_all(folder, ignored);
    }
    DriverProgram(const DriverProgram&) = delete;
    DriverProgram& operator=(const DriverProgram&) = delete;

    /// Runs the driver headless in the folder, its output in log.txt; its exit status, -1 when it
    /// did not exit by itself. The profile of earlier runs is kept. Unless the arguments say
    /// otherwise, only every tenth frame is drawn (and those with a screenshot): the game runs every
    /// frame, and software GL's filling of the rest is most of a run's time.
    int run(const std::string& arguments) const {
        const std::string drawing =
            arguments.find("--draw-every") == std::string::npos ? " --draw-every 10" : "";
        const std::string command = "cd '" + folder + "' && XDG_DATA_HOME='" + folder +
                                    "/xdg' SDL_VIDEODRIVER=offscreen SDL_AUDIODRIVER=dummy '" + m_driver +
                                    "' " + arguments + drawing + " > log.txt 2>&1";
        return runChildCommand(command);
    }
    /// The next run starts with no profile.
    void clearProfile() const {
        std::filesystem::remove_all(folder + "/xdg");
        std::filesystem::create_directories(folder + "/xdg");
    }
    /// The next run starts with the profile fixture tests/data/gamedata/profiles/<name>.plist.
    void installProfile(const std::string& name) const {
        std::ifstream in(std::string(KELVOS_TEST_DATA_DIR) + "/gamedata/profiles/" + name + ".plist",
                         std::ios::binary);
        std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
        ASSERT_FALSE(bytes.empty()) << "no profile fixture " << name;
        kvengine::scrambleDataBuffer(reinterpret_cast<unsigned char*>(bytes.data()),
                                     static_cast<unsigned>(bytes.size()));
        std::filesystem::create_directories(folder + "/xdg/Kelvos");
        std::ofstream out(folder + "/xdg/Kelvos/SavedSettings.plist", std::ios::binary | std::ios::trunc);
        out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    }
    /// The profile file the last run saved, unscrambled; empty when there is none.
    std::string savedProfile() const {
        std::string bytes = file("xdg/Kelvos/SavedSettings.plist");
        kvengine::unscrambleDataBuffer(reinterpret_cast<unsigned char*>(bytes.data()),
                                       static_cast<unsigned>(bytes.size()));
        return bytes;
    }
    /// A creature's value in the saved profile (its "Kelvo" record's `key`); "" when missing.
    std::string savedCreatureValue(const std::string& creature, const std::string& key) const {
        const std::string text = savedProfile();
        const size_t kelvos = text.find("<key>Kelvo</key>");
        if (kelvos == std::string::npos) return "";
        const size_t record = text.find("<key>" + creature + "</key>", kelvos);
        if (record == std::string::npos) return "";
        const size_t field = text.find("<key>" + key + "</key>", record);
        const size_t open = field == std::string::npos ? field : text.find("<string>", field);
        const size_t close = open == std::string::npos ? open : text.find("</string>", open);
        return close == std::string::npos ? "" : text.substr(open + 8, close - open - 8);
    }
    /// The text of `key` in the saved profile's record `record` of the part `part` (the first match
    /// after each; "" for the top level); "" when missing.
    std::string savedValue(const std::string& part, const std::string& record, const std::string& key) const {
        const std::string text = savedProfile();
        size_t at = part.empty() ? 0 : text.find("<key>" + part + "</key>");
        if (at != std::string::npos && !record.empty()) at = text.find("<key>" + record + "</key>", at);
        if (at != std::string::npos) at = text.find("<key>" + key + "</key>", at);
        const size_t open = at == std::string::npos ? at : text.find("<string>", at);
        const size_t close = open == std::string::npos ? open : text.find("</string>", open);
        return close == std::string::npos ? "" : text.substr(open + 8, close - open - 8);
    }
    /// A file the driver wrote in the folder; empty when there is none.
    std::string file(const std::string& name) const {
        std::ifstream in(folder + "/" + name, std::ios::binary);
        return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    }
    std::string log() const { return file("log.txt"); }
    /// Copies the screenshot `name` to build/screenshots as `keptName`, for a person to look at.
    void keep(const std::string& name, const std::string& keptName) const {
        std::error_code ignored;
        std::filesystem::create_directories(KELVOS_SCREENSHOT_DIR, ignored);
        std::filesystem::copy_file(folder + "/" + name, std::string(KELVOS_SCREENSHOT_DIR) + "/" + keptName,
                                   std::filesystem::copy_options::overwrite_existing, ignored);
    }
    /// keep() as "program_<name>", then decodes it; false when it is missing or not RGB(A).
    bool keepShot(const std::string& name, kvengine::CCDecodedImage& image) const {
        keep(name, "program_" + name);
        const std::string bytes = file(name);
        return !bytes.empty() && image.initWithPngData(bytes.data(), bytes.size()) &&
               image.bytesPerPixel() >= 3;
    }

    /// Pixels of a box (x, y from the top left) that differ clearly between two pictures of the
    /// same size.
    static int differing(const kvengine::CCDecodedImage& a, const kvengine::CCDecodedImage& b, int x0, int y0,
                         int x1, int y1) {
        int count = 0;
        for (int y = y0; y < y1; ++y)
            for (int x = x0; x < x1; ++x) {
                const size_t at = (static_cast<size_t>(y) * a.width + x) * a.bytesPerPixel();
                if (std::abs(a.pixels[at] - b.pixels[at]) + std::abs(a.pixels[at + 1] - b.pixels[at + 1]) +
                        std::abs(a.pixels[at + 2] - b.pixels[at + 2]) >
                    60)
                    ++count;
            }
        return count;
    }

    /// Driver arguments: a press at (x, y) window pixels from the top left on `frame`, released on
    /// the next; a screenshot of `frame` saved as `name`.
    static std::string tap(int frame, int x, int y) {
        const std::string at = std::to_string(x) + ":" + std::to_string(y);
        return " --event " + std::to_string(frame) + ":down:" + at + " --event " + std::to_string(frame + 1) +
               ":up:" + at;
    }
    static std::string shot(int frame, const std::string& name) {
        return " --shot " + std::to_string(frame) + ":" + name;
    }

    const std::string folder;

private:
    const std::string m_driver;
};

} // namespace kvtest
