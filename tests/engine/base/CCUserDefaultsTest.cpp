#include "engine/base/CCUserDefaults.h"
#include "engine/base/CCAutoreleasePoolStack.h"
#include "engine/base/CCLog.h"
#include "engine/base/CCMutableArray.h"
#include "engine/base/CCString.h"
#include "engine/files/CCFileUtils.h"
#include "engine/files/CCFileWriter.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <sys/stat.h>
#include <vector>

using namespace kvengine;
namespace fs = std::filesystem;

namespace {

std::string readBytes(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

// A temporary data folder in $XDG_DATA_HOME (and $HOME), restored afterwards; a pool and a log
// sink for the test.
class UserDefaultsTest : public testing::Test {
protected:
    void SetUp() override {
        for (const char* name : {"XDG_DATA_HOME", "HOME"}) {
            const char* value = getenv(name);
            saved.push_back({name, value ? value : "", value != nullptr});
        }
        std::string pattern = (fs::temp_directory_path() / "kvdefaults-XXXXXX").string();
        root = mkdtemp(&pattern[0]);
        setenv("XDG_DATA_HOME", (root + "/xdg").c_str(), 1);
        setenv("HOME", (root + "/home").c_str(), 1);
        CCAutoreleasePoolStack::getInstance().push();
        setDebugLogSink([this](const std::string& line) { log.push_back(line); });
    }
    void TearDown() override {
        setDebugLogSink(nullptr);
        setFileWriteFunction(nullptr);
        CCAutoreleasePoolStack::getInstance().pop();
        for (const Saved& s : saved) {
            if (s.present)
                setenv(s.name, s.value.c_str(), 1);
            else
                unsetenv(s.name);
        }
        std::error_code ec;
        fs::remove_all(root, ec);
    }
    bool logged(const std::string& part) const {
        for (const std::string& line : log)
            if (line.find(part) != std::string::npos) return true;
        return false;
    }

    struct Saved {
        const char* name;
        std::string value;
        bool present;
    };
    std::vector<Saved> saved;
    std::string root;
    std::vector<std::string> log;
};

std::string text(CCObject* object) {
    auto* string = dynamic_cast<CCString*>(object);
    return string ? string->text : "<missing>";
}

ssize_t failingWrite(int, const void*, size_t) {
    errno = ENOSPC;
    return -1;
}

} // namespace

TEST_F(UserDefaultsTest, AFirstRunCreatesTheFolderAndASaveReloadsEqual) {
    const std::string path = root + "/xdg/Kelvos/SavedSettings.plist";
    CCUserDefaults* defaults = CCUserDefaults::getInstance();
    EXPECT_EQ(defaults->path(), path);
    EXPECT_TRUE(fs::is_directory(root + "/xdg/Kelvos"));
    EXPECT_EQ(defaults->count(), 0u);
    EXPECT_STREQ(defaults->className(), "CCMutableDictionary");

    auto* profile = new CCMutableDictionary<std::string, CCObject*>();
    profile->setStringForKey("name", "Ana & <Zo\xc3\xab>");
    profile->setIntForKey("pearls", 120);
    auto* missions = new CCMutableArray<CCObject*>();
    missions->addObject(profile); // any nesting survives
    defaults->setObject(profile, "playerProfile");
    defaults->setObject(missions, "history");
    defaults->setStringForKey("other", "kept");
    defaults->setStringForKey("empty", "");
    profile->release();
    missions->release();
    ASSERT_TRUE(defaults->save());
    ASSERT_TRUE(fs::exists(path));
    EXPECT_EQ(readBytes(path).find("<plist"), std::string::npos); // stored scrambled
    defaults->release();

    defaults = CCUserDefaults::getInstance();
    auto* reloaded =
        dynamic_cast<CCMutableDictionary<std::string, CCObject*>*>(defaults->objectForKey("playerProfile"));
    ASSERT_NE(reloaded, nullptr);
    EXPECT_EQ(text(reloaded->objectForKey("name")), "Ana & <Zo\xc3\xab>");
    EXPECT_EQ(text(reloaded->objectForKey("pearls")), "120");
    EXPECT_EQ(text(defaults->objectForKey("other")), "kept");
    EXPECT_NE(defaults->objectForKey("history"), nullptr);
    EXPECT_EQ(text(defaults->objectForKey("empty")), ""); // an empty text comes back empty
    defaults->release();
}

TEST_F(UserDefaultsTest, FindsTheDataFolderTheXdgWay) {
    const std::string absolute = root + "/elsewhere";
    const std::string underHome = root + "/home/.local/share/Kelvos/SavedSettings.plist";
    struct Case {
        const char* xdg;  // null: unset
        const char* home; // null: unset
        std::string expected;
    } cases[] = {
        {absolute.c_str(), "/unused", absolute + "/Kelvos/SavedSettings.plist"},
        {nullptr, nullptr, underHome},
        {"relative/path", nullptr, underHome}, // only an absolute path counts
        {"", nullptr, underHome},
        {nullptr, "", "SavedSettings.plist"}, // nothing known: the current directory
    };
    const std::string home = root + "/home";
    for (const Case& c : cases) {
        if (c.xdg)
            setenv("XDG_DATA_HOME", c.xdg, 1);
        else
            unsetenv("XDG_DATA_HOME");
        setenv("HOME", c.home ? c.home : home.c_str(), 1);
        CCUserDefaults* defaults = CCUserDefaults::getInstance();
        EXPECT_EQ(defaults->path(), c.expected) << (c.xdg ? c.xdg : "(unset)");
        defaults->release();
    }
}

TEST_F(UserDefaultsTest, AnUnreadableFileIsMovedAsideNotOverwritten) {
    const std::string path = root + "/xdg/Kelvos/SavedSettings.plist";
    auto scrambled = [](std::string text) {
        scrambleDataBuffer(reinterpret_cast<unsigned char*>(&text[0]), static_cast<unsigned>(text.size()));
        return text;
    };
    struct Case {
        const char* what;
        std::string bytes;
    } cases[] = {
        {"not scrambled", "this is not a scrambled property list"},
        // A well-formed document whose root is an array is not a dictionary with the array's
        // first dictionary in it.
        {"array root", scrambled("<plist><array><dict><key>playerProfile</key><dict><key>Version</key>"
                                 "<string>19</string></dict></dict></array></plist>")},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        fs::remove_all(root + "/xdg");
        fs::create_directories(root + "/xdg/Kelvos");
        std::ofstream(path, std::ios::binary) << c.bytes;
        log.clear();

        CCUserDefaults* defaults = CCUserDefaults::getInstance();
        EXPECT_EQ(defaults->count(), 0u);
        EXPECT_EQ(readBytes(path + ".bad"), c.bytes);
        EXPECT_TRUE(logged(".bad"));
        defaults->setStringForKey("fresh", "1");
        EXPECT_TRUE(defaults->save());
        EXPECT_EQ(readBytes(path + ".bad"), c.bytes);
        defaults->release();
    }
}

TEST_F(UserDefaultsTest, AFailedSaveReturnsFalseAndKeepsTheOldFile) {
    CCUserDefaults* defaults = CCUserDefaults::getInstance();
    defaults->setStringForKey("level", "3");
    ASSERT_TRUE(defaults->save());
    const std::string before = readBytes(defaults->path());

    defaults->setStringForKey("level", "4");
    setFileWriteFunction(failingWrite);
    EXPECT_FALSE(defaults->save());
    EXPECT_EQ(readBytes(defaults->path()), before);
    EXPECT_TRUE(logged("old file is kept"));
    setFileWriteFunction(nullptr);
    defaults->release();

    defaults = CCUserDefaults::getInstance();
    EXPECT_EQ(text(defaults->objectForKey("level")), "3");
    defaults->release();
}

TEST_F(UserDefaultsTest, StartingUpRemovesTheTemporariesOfInterruptedSaves) {
    CCUserDefaults* defaults = CCUserDefaults::getInstance();
    defaults->setStringForKey("level", "3");
    ASSERT_TRUE(defaults->save());
    const std::string path = defaults->path();
    defaults->release();
    // Two saves killed before their rename, and a file of the player's that only looks alike.
    for (const char* stale : {".tmp-Ab3dE9", ".tmp-000000"})
        std::ofstream(path + stale, std::ios::binary) << "<plist><dict><key>lev";
    std::ofstream(path + ".backup", std::ios::binary) << "mine";

    defaults = CCUserDefaults::getInstance();
    EXPECT_EQ(text(defaults->objectForKey("level")), "3");
    EXPECT_FALSE(fs::exists(path + ".tmp-Ab3dE9"));
    EXPECT_FALSE(fs::exists(path + ".tmp-000000"));
    EXPECT_EQ(readBytes(path + ".backup"), "mine");
    EXPECT_TRUE(logged("interrupted save"));
    defaults->release();
}

TEST_F(UserDefaultsTest, ASaveThatIsNoRegularFileIsNeitherWaitedOnNorRead) {
    const std::string path = root + "/xdg/Kelvos/SavedSettings.plist";
    struct Case {
        const char* what;
        void (*make)(const std::string& path);
    } cases[] = {
        // Opening a FIFO for reading would wait for a writer for ever.
        {"a FIFO", [](const std::string& p) { ASSERT_EQ(mkfifo(p.c_str(), 0600), 0); }},
        // Reading a device would never end.
        {"a link to a device", [](const std::string& p) { fs::create_symlink("/dev/zero", p); }},
        {"a folder", [](const std::string& p) { fs::create_directories(p + "/inside"); }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        fs::remove_all(root + "/xdg");
        fs::create_directories(root + "/xdg/Kelvos");
        c.make(path);
        log.clear();

        CCUserDefaults* defaults = CCUserDefaults::getInstance();
        EXPECT_EQ(defaults->count(), 0u);
        EXPECT_TRUE(logged(".bad"));
        // What stood there is kept aside as it was, and the next save makes a real file.
        EXPECT_TRUE(fs::exists(fs::symlink_status(path + ".bad")));
        defaults->setStringForKey("fresh", "1");
        EXPECT_TRUE(defaults->save());
        EXPECT_TRUE(fs::is_regular_file(fs::symlink_status(path)));
        defaults->release();
    }
    EXPECT_TRUE(fs::is_character_file("/dev/zero"));
}
