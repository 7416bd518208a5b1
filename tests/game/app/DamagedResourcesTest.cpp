// Damaged content in the resource folder (a file cut short, missing, overwritten): the game
// starts, or stops, with a log line naming the file, never a crash or a hang. The whole program
// runs over a copy of the built resource folder made of links, with the damaged file replaced;
// the content that start-up does not load yet (sheets, fonts, sounds) is loaded directly.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <functional>
#include <string>
#include <vector>

#include "AppTestSupport.h"
#include "engine/base/CCAutoreleasePoolStack.h"
#include "engine/labels/CCLabelBMFont.h"
#include "engine/platform/CCSDLAudioBackend.h"
#include "engine/sprites/CCSpriteFrameCache.h"
#include "engine/textures/CCTextureCache.h"
#include "support/GLTestContext.h"
#include "support/Required.h"

namespace fs = std::filesystem;

namespace {

// Bytes that no reader can take for its format, the same on every run.
std::string noise(size_t size) {
    std::string bytes(size, '\0');
    unsigned x = 20240611u;
    for (char& byte : bytes) {
        x = x * 1103515245u + 12345u;
        byte = static_cast<char>(x >> 16);
    }
    return bytes;
}

void writeBytes(const std::string& path, const std::string& bytes) {
    std::ofstream(path, std::ios::binary | std::ios::trunc) << bytes;
}

// Replaces a file (a link into the built folder) by its first `size` bytes.
void cutShort(const std::string& path, size_t size) {
    const std::string whole = kvapptest::readFile(path);
    fs::remove(path);
    writeBytes(path, whole.substr(0, size));
}

void overwrite(const std::string& path, size_t size) {
    fs::remove(path);
    writeBytes(path, noise(size));
}

class DamagedResourcesTest : public ::testing::Test {
protected:
    void SetUp() override {
        folder =
            kvapptest::dataHome() + "/../" + ::testing::UnitTest::GetInstance()->current_test_info()->name();
        fs::remove_all(folder);
        fs::create_directories(folder);
        folder = fs::canonical(folder).string();
    }
    void TearDown() override {
        std::error_code ec;
        fs::remove_all(folder, ec);
    }

    // A resource folder whose every file is a link to the built one.
    std::string linkedResources(const std::string& name) {
        const std::string root = folder + "/" + name;
        const fs::path source = fs::canonical(KELVOS_RESOURCES_DIR);
        for (const fs::directory_entry& entry : fs::recursive_directory_iterator(source)) {
            const fs::path target = root / fs::relative(entry.path(), source);
            if (entry.is_directory())
                fs::create_directories(target);
            else
                fs::create_symlink(entry.path(), target);
        }
        return root;
    }

    std::string folder;
};

TEST_F(DamagedResourcesTest, TheGameStartsAndNamesTheDamagedFile) {
    struct Case {
        const char* what;
        std::function<void(const std::string&)> damage;
        const char* logged;
    } cases[] = {
        {"splash picture cut short", [](const std::string& r) { cutShort(r + "/images/splash.png", 2000); },
         "splash.png"},
        {"settings missing", [](const std::string& r) { fs::remove(r + "/data/gameSetup.plist"); },
         "gameSetup.plist"},
        {"data table missing", [](const std::string& r) { fs::remove(r + "/data/params/kelvoStats.plist"); },
         "kelvoStats.plist"},
        {"data table overwritten",
         [](const std::string& r) { overwrite(r + "/data/params/helmets.plist", 900); }, "helmets.plist"},
        {"language tables overwritten",
         [](const std::string& r) {
             for (const char* language : {"English", "fr", "es", "de", "it"})
                 overwrite(r + "/" + language + ".lproj/localizable.strings", 3001);
         },
         "localizable.strings"},
        {"sound project cut short", [](const std::string& r) { cutShort(r + "/sounds/kelvos.fev", 700); },
         "kelvos.fev"},
        {"music project overwritten",
         [](const std::string& r) { overwrite(r + "/sounds/kelvos_music.fev", 400); }, "kelvos_music.fev"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        const std::string resources = linkedResources(std::string("r") + std::to_string(&c - cases));
        c.damage(resources);
        const std::string data = resources + "-xdg";
        fs::create_directories(data);
        // The time limit turns a hang into a failure (status 124) instead of a stuck suite.
        const int status = kvapptest::runCommand(
            "cd '" + folder + "' && XDG_DATA_HOME='" + data +
            "' SDL_VIDEODRIVER=offscreen SDL_AUDIODRIVER=dummy timeout 300 '" KELVOS_DRIVER
            "' --resources '" +
            resources + "' --frames 120 > log.txt 2>&1");
        const std::string log = kvapptest::readFile(folder + "/log.txt");
        EXPECT_EQ(status, 0) << log;
        EXPECT_NE(log.find("frames drawn: 120"), std::string::npos) << log;
        EXPECT_NE(log.find(c.logged), std::string::npos) << log;
    }
}

// Sheets, fonts and sounds are loaded by the screens: each damaged one is refused with a log line
// and leaves nothing half-made behind.
TEST_F(DamagedResourcesTest, DamagedSheetsFontsAndSoundsAreRefusedOutLoud) {
    kvtest::GLTestContext gl;
    if (!gl.open(64, 64)) KVTEST_REQUIRED_MISSING("no OpenGL context");
    kvengine::CCAutoreleasePoolStack::getInstance().push();
    const std::string resources = linkedResources("r");

    std::vector<std::string> sheets;
    for (const fs::directory_entry& entry : fs::directory_iterator(resources + "/sheets"))
        if (entry.path().extension() == ".plist") sheets.push_back(entry.path().string());
    ASSERT_FALSE(sheets.empty());
    kvengine::CCSpriteFrameCache* frames = kvengine::CCSpriteFrameCache::getInstance();
    for (size_t i = 0; i < sheets.size(); ++i) {
        const std::string& plist = sheets[i];
        SCOPED_TRACE(plist);
        const std::string picture = plist.substr(0, plist.size() - 6) + ".pvr.ccz";
        // Alternately the description and the picture: cut short, or overwritten.
        const std::string& damaged = i % 2 == 0 ? plist : picture;
        if (i % 4 < 2)
            cutShort(damaged, fs::file_size(damaged) / 2);
        else
            overwrite(damaged, 4096);
        kvapptest::LogCapture log;
        frames->addSpriteFramesWithFile(plist.c_str());
        EXPECT_TRUE(log.contains(fs::path(damaged).filename().string()))
            << (log.lines.empty() ? "" : log.lines[0]);
        EXPECT_EQ(frames->frameCount(), 0u);
    }
    kvengine::CCTextureCache::getInstance()->removeAllTextures();

    for (const char* font : {"times32.fnt", "junction12.fnt"}) {
        SCOPED_TRACE(font);
        const std::string fnt = resources + "/fonts/" + font;
        const std::string name(font, std::string(font).size() - 4);
        cutShort(resources + "/fonts/" + name + ".png", 300);
        cutShort(resources + "/fonts/" + name + "-hd.png", 300);
        kvapptest::LogCapture log;
        EXPECT_EQ(kvengine::CCLabelBMFont::createWithString("Kelvos", fnt.c_str()), nullptr);
        EXPECT_TRUE(log.contains(name));
        overwrite(fnt, 500);
        kvengine::CCLabelBMFont::purgeCachedData();
        EXPECT_EQ(kvengine::CCLabelBMFont::createWithString("Kelvos", fnt.c_str()), nullptr);
        EXPECT_TRUE(log.contains(font));
    }

    kvengine::CCSDLAudioBackend audio(4);
    ASSERT_TRUE(audio.isOpen());
    const std::string sound = resources + "/sounds/sfx/Pawn_bounce.wav";
    cutShort(sound, 30);
    kvapptest::LogCapture log;
    EXPECT_EQ(audio.loadSound(sound), 0u);
    overwrite(sound, 5000);
    EXPECT_EQ(audio.loadSound(sound), 0u);
    EXPECT_EQ(log.lines.size(), 2u);
    EXPECT_TRUE(log.contains("Pawn_bounce.wav"));
    kvengine::CCAutoreleasePoolStack::getInstance().pop();
}

} // namespace
