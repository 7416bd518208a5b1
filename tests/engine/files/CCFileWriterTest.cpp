#include "engine/files/CCFileWriter.h"

#include "FilesTestSupport.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <sys/stat.h>
#include <unistd.h>

using namespace kvengine;
using kvtest::TempDir;

namespace {

// Writes a few bytes, then fails as a full disk would.
ssize_t failAfterFewBytes(int fd, const void* data, size_t size) {
    static int calls = 0;
    if (++calls % 2 == 1) return ::write(fd, data, size < 3 ? size : 3);
    errno = ENOSPC;
    return -1;
}

size_t entriesIn(const std::string& folder) {
    size_t n = 0;
    for (auto it = std::filesystem::directory_iterator(folder); it != std::filesystem::directory_iterator();
         ++it)
        ++n;
    return n;
}

struct RestoreWriter {
    ~RestoreWriter() { setFileWriteFunction(nullptr); }
};

} // namespace

TEST(WriteFileAtomically, CreatesAndReplacesFiles) {
    TempDir dir;
    std::string path = dir.file("save.plist");
    ASSERT_TRUE(writeFileAtomically(path.c_str(), "first", 5));
    EXPECT_EQ(kvtest::readBytes(path), "first");
    chmod(path.c_str(), 0600);
    ASSERT_TRUE(writeFileAtomically(path.c_str(), "second version", 14));
    EXPECT_EQ(kvtest::readBytes(path), "second version");
    struct stat info;
    ASSERT_EQ(stat(path.c_str(), &info), 0);
    EXPECT_EQ(info.st_mode & 0777, 0600u); // the old file's mode is kept
    ASSERT_TRUE(writeFileAtomically(path.c_str(), "", 0));
    EXPECT_EQ(kvtest::readBytes(path), "");
    EXPECT_EQ(entriesIn(dir.path()), 1u); // no temporary file left behind
}

TEST(WriteFileAtomically, AFailedWriteKeepsTheOldFileByteForByte) {
    TempDir dir;
    RestoreWriter restore;
    std::string path = dir.file("save.plist");
    std::string old(10000, 'o');
    kvtest::writeBytes(path, old);
    setFileWriteFunction(failAfterFewBytes);
    std::string replacement(20000, 'n');
    testing::internal::CaptureStderr();
    EXPECT_FALSE(writeFileAtomically(path.c_str(), replacement.data(), replacement.size()));
    std::string log = testing::internal::GetCapturedStderr();
    EXPECT_NE(log.find("old file is kept"), std::string::npos);
    EXPECT_EQ(kvtest::readBytes(path), old);
    EXPECT_EQ(entriesIn(dir.path()), 1u);
}

TEST(WriteFileAtomically, RefusesWhatIsNotARegularFile) {
    TempDir dir;
    std::filesystem::create_directories(dir.file("folder"));
    for (std::string path :
         {std::string("/dev/full"), dir.file("folder"), dir.file("no/such/folder/x"), std::string()}) {
        testing::internal::CaptureStderr();
        EXPECT_FALSE(writeFileAtomically(path.c_str(), "data", 4)) << path;
        EXPECT_FALSE(testing::internal::GetCapturedStderr().empty()) << path;
    }
    struct stat info;
    ASSERT_EQ(stat("/dev/full", &info), 0);
    EXPECT_TRUE(S_ISCHR(info.st_mode)); // the device is still there
    EXPECT_TRUE(std::filesystem::is_directory(dir.file("folder")));
}

TEST(WriteFileAtomically, ReplacesTheTargetOfASymbolicLink) {
    TempDir dir;
    kvtest::writeBytes(dir.file("real.plist"), "old");
    std::filesystem::create_symlink(dir.file("real.plist"), dir.file("link.plist"));
    ASSERT_TRUE(writeFileAtomically(dir.file("link.plist").c_str(), "new", 3));
    EXPECT_TRUE(std::filesystem::is_symlink(dir.file("link.plist")));
    EXPECT_EQ(kvtest::readBytes(dir.file("real.plist")), "new");
}

TEST(RemoveStaleTemporaryFiles, RemovesOnlyTheTemporariesOfThatFile) {
    TempDir dir;
    const std::string path = dir.file("save.plist");
    kvtest::writeBytes(path, "current");
    // What a save killed between creating its temporary and renaming it leaves behind.
    std::string made = path + ".tmp-XXXXXX";
    int fd = mkstemp(&made[0]);
    ASSERT_GE(fd, 0);
    ASSERT_EQ(::write(fd, "half", 4), 4);
    close(fd);
    kvtest::writeBytes(path + ".tmp-a1B2c3", "");
    struct Kept {
        const char* name;
        bool folder;
    } kept[] = {
        {"save.plist.bad", false},         {"save.plist.backup", false},
        {"save.plist.v18.bak", false},     {"save.plist.tmp-abc12", false},
        {"save.plist.tmp-abc-12", false},  {"save.plist.tmp-abcdefg", false},
        {"other.plist.tmp-abc123", false}, {"xsave.plist.tmp-abc123", false},
        {"save.plist.tmp-Zz9Zz9", true},
    };
    for (const Kept& k : kept) {
        if (k.folder)
            std::filesystem::create_directories(dir.file(k.name));
        else
            kvtest::writeBytes(dir.file(k.name), k.name);
    }
    // A link named like a temporary is not followed nor removed: its target is someone's file.
    kvtest::writeBytes(dir.file("elsewhere"), "precious");
    std::filesystem::create_symlink(dir.file("elsewhere"), path + ".tmp-Link01");

    kvtest::LogCapture log;
    EXPECT_EQ(removeStaleTemporaryFiles(path.c_str()), 2);
    EXPECT_FALSE(std::filesystem::exists(made));
    EXPECT_FALSE(std::filesystem::exists(path + ".tmp-a1B2c3"));
    EXPECT_EQ(log.lines.size(), 2u);
    EXPECT_NE(log.lines.front().find("interrupted save"), std::string::npos);
    EXPECT_EQ(kvtest::readBytes(path), "current");
    for (const Kept& k : kept) {
        EXPECT_TRUE(std::filesystem::exists(dir.file(k.name))) << k.name;
        if (!k.folder) {
            EXPECT_EQ(kvtest::readBytes(dir.file(k.name)), k.name);
        }
    }
    EXPECT_TRUE(std::filesystem::is_symlink(path + ".tmp-Link01"));
    EXPECT_EQ(kvtest::readBytes(dir.file("elsewhere")), "precious");

    // Nothing left, a missing folder and no path: nothing to do, no failure.
    EXPECT_EQ(removeStaleTemporaryFiles(path.c_str()), 0);
    EXPECT_EQ(removeStaleTemporaryFiles(dir.file("no/such/save.plist").c_str()), 0);
    EXPECT_EQ(removeStaleTemporaryFiles(""), 0);
    EXPECT_EQ(removeStaleTemporaryFiles(nullptr), 0);
}
