#include "engine/files/CCResourceIndex.h"
#include "engine/base/CCString.h"

#include "FilesTestSupport.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>

using namespace kvengine;
using kvtest::TempDir;

TEST(ResourceIndex, TheFirstCopyInWalkOrderWins) {
    TempDir dir;
    for (const char* file : {"a.plist", "sub/a.plist", "A/deep/x.png", "B/x.png", "B/y.png", "C/y.png",
                             ".hidden", ".svn/z.png", "sub/.svn/w.png", "gameSetup.plist", "B/Mixed.TMX"}) {
        kvtest::writeBytes(dir.file(file), "x");
    }
    std::filesystem::create_directories(dir.file("outside/only.png"));
    kvtest::writeBytes(dir.file("outside/linked.png"), "x");
    std::filesystem::create_directory_symlink(dir.file("outside"), dir.file("D")); // not followed
    std::filesystem::create_symlink(dir.file("B/y.png"), dir.file("C/alias.png")); // a file: kept

    kvtest::PoolScope pool;
    CCResourceIndex index(dir.path());
    std::string root = dir.path() + "/";
    struct Case {
        std::string name;
        std::string expected;
    } cases[] = {
        {"a.plist", root + "a.plist"},    // the root beats sub-folders
        {"x.png", root + "A/deep/x.png"}, // A's whole sub-tree comes before B
        {"y.png", root + "B/y.png"},
        {"alias.png", root + "C/alias.png"},
        {".hidden", ".hidden"}, // hidden names are never indexed
        {"z.png", "z.png"},
        {"w.png", "w.png"},
        {"linked.png", root + "outside/linked.png"},
        {"nothing.png", "nothing.png"},
        {"mixed.tmx", root + "B/Mixed.TMX"}, // letter case is the last resort
        {"A.PLIST", root + "a.plist"},
    };
    for (const Case& c : cases) {
        CCString* path = index.fullPathForFileName(c.name);
        ASSERT_NE(path, nullptr);
        EXPECT_EQ(path->text, c.expected) << c.name;
        EXPECT_EQ(index.containsFileName(c.name), c.expected != c.name) << c.name;
    }
    EXPECT_EQ(index.fullPathForNameAndExtension("gameSetup", "plist")->text, root + "gameSetup.plist");
    EXPECT_EQ(index.fullPathForNameAndExtension("missing", "tmx")->text, "missing.tmx");
    EXPECT_TRUE(index.fullPathForFileName("a.plist")->isManaged()); // autoreleased

    // The index is a snapshot: a file added afterwards is not seen.
    kvtest::writeBytes(dir.file("late.png"), "x");
    EXPECT_EQ(index.pathForFileName("late.png"), "late.png");
}

TEST(ResourceIndex, AMissingRootGivesAnEmptyIndex) {
    CCResourceIndex index("/no/such/folder");
    EXPECT_EQ(index.pathForFileName("a.png"), "a.png");
    EXPECT_FALSE(index.containsFileName("a.png"));
}
