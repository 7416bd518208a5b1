#include "engine/files/CCFileUtils.h"
#include "engine/director/CCDirector.h"

#include "FilesTestSupport.h"

#include <gtest/gtest.h>

#include <filesystem>

#include <sys/stat.h>

#include <cstring>
#include <random>
#include <string>
#include <vector>

using namespace kvengine;
using kvtest::TempDir;

namespace {

std::vector<unsigned char> bytesOf(const std::string& text) {
    return {text.begin(), text.end()};
}

std::string scrambled(std::string text) {
    scrambleDataBuffer(reinterpret_cast<unsigned char*>(&text[0]), static_cast<unsigned>(text.size()));
    return text;
}

// The format written out byte by byte, as a reference for the word-at-a-time unscrambler.
std::vector<unsigned char> referenceScramble(const std::vector<unsigned char>& plain) {
    static const char key[] = "Morvik42";
    std::vector<unsigned char> out(plain.size());
    for (size_t i = 0; i < plain.size(); ++i) {
        out[i] = static_cast<unsigned char>(plain[i] ^ key[i % 8] ^ (i ? out[i - 1] : 0));
    }
    return out;
}

} // namespace

TEST(DataScrambling, GoldenVectors) {
    struct Case {
        std::string plain;
        std::vector<unsigned char> stored;
    } cases[] = {
        {"ABC", {0x0c, 0x21, 0x10}},
        {"<?xml", {0x71, 0x21, 0x2b, 0x30, 0x35}},
        {"A", {0x0c}},
    };
    for (const Case& c : cases) {
        std::vector<unsigned char> data = bytesOf(c.plain);
        scrambleDataBuffer(data.data(), static_cast<unsigned>(data.size()));
        EXPECT_EQ(data, c.stored) << c.plain;
        unscrambleDataBuffer(data.data(), static_cast<unsigned>(data.size()));
        EXPECT_EQ(data, bytesOf(c.plain)) << c.plain;
    }
}

TEST(DataScrambling, RoundTripOfEveryLengthMatchesTheByteFormat) {
    std::mt19937 random(7);
    // Lengths 0-64 cover the byte tail, the first word and whole words; a few longer odd lengths
    // cover the word loop with a tail on both sides.
    std::vector<unsigned> lengths;
    for (unsigned n = 0; n <= 64; ++n)
        lengths.push_back(n);
    for (unsigned n : {127u, 1000u, 4099u})
        lengths.push_back(n);
    for (unsigned n : lengths) {
        std::vector<unsigned char> plain(n);
        for (auto& b : plain)
            b = static_cast<unsigned char>(random());
        std::vector<unsigned char> data = plain;
        scrambleDataBuffer(data.data(), n);
        ASSERT_EQ(data, referenceScramble(plain)) << "length " << n;
        unscrambleDataBuffer(data.data(), n);
        ASSERT_EQ(data, plain) << "length " << n;
    }
    scrambleDataBuffer(nullptr, 5); // no buffer: nothing happens
    unscrambleDataBuffer(nullptr, 5);
}

TEST(DataScrambling, ScrambledPathsAreRecognisedByTheirTypes) {
    struct Case {
        const char* path;
        bool scrambled;
    } cases[] = {
        {"ui/button.png", true},
        {"gameSetup.plist", true},
        {"sheet.pvr.ccz", true},
        {"fr.lproj/localizable.strings", true},
        {"README.TXT", true},
        {"A.PLIST", true},
        {"data.plist.old/x.bin", true},
        {"level1.tmx", false},
        {"shapes.svg", false},
        {"font.fnt", false},
        {"photo.jpg", false},
        {"tex.pvr.gz", false},
        {"Mixed.Png", false},
        {"", false},
        {"notes.txt", true},
    };
    for (const Case& c : cases)
        EXPECT_EQ(isScrambledDataPath(c.path), c.scrambled) << c.path;
    EXPECT_FALSE(isScrambledDataPath(nullptr));
}

TEST(DataScrambling, FoldersAboveTheResourceRootDoNotCount) {
    const std::string& root = resourceRootPath();
    ASSERT_FALSE(root.empty());
    ASSERT_EQ(root.back(), '/');
    // The root itself may be named like a data file; only what lies below it is tested.
    std::string below = root + "maps/level1.tmx";
    EXPECT_FALSE(isScrambledDataPath(below.c_str()));
    EXPECT_TRUE(isScrambledDataPath((root + "maps/tiles.png").c_str()));
    EXPECT_FALSE(isScrambledDataPath("/elsewhere/level1.tmx"));
}

TEST(ReadFileData, UnscramblesDataFilesAndReadsOthersAsStored) {
    TempDir dir;
    const std::string text = "<?xml version=\"1.0\"?><plist/>";
    kvtest::writeBytes(dir.file("a.plist"), scrambled(text));
    kvtest::writeBytes(dir.file("a.tmx"), scrambled(text));
    kvtest::writeBytes(dir.file("one.png"), std::string(1, static_cast<char>('Z' ^ 'M')));

    unsigned size = 0;
    char* data = readFileData(&size, dir.file("a.plist").c_str(), "rb");
    ASSERT_NE(data, nullptr);
    EXPECT_EQ(std::string(data, size), text);
    delete[] data;

    data = readFileData(&size, dir.file("a.tmx").c_str(), "rb");
    ASSERT_NE(data, nullptr);
    EXPECT_EQ(std::string(data, size), scrambled(text));
    delete[] data;

    CCFileBuffer one(dir.file("one.png").c_str(), "rb");
    ASSERT_EQ(one.size, 1u);
    EXPECT_EQ(one.data[0], 'Z');
}

TEST(ReadFileData, EmptyFileGivesAValidEmptyBuffer) {
    TempDir dir;
    kvtest::writeBytes(dir.file("empty.plist"), "");
    unsigned size = 99;
    char* data = readFileData(&size, dir.file("empty.plist").c_str(), "rb");
    EXPECT_NE(data, nullptr);
    EXPECT_EQ(size, 0u);
    delete[] data;
}

TEST(ReadFileData, FailuresGiveNullSizeZeroAndALogLine) {
    TempDir dir;
    std::string missing = dir.file("missing.plist");
    for (const std::string& path : {missing, dir.path(), std::string()}) {
        unsigned size = 1234;
        testing::internal::CaptureStderr();
        char* data = readFileData(&size, path.c_str(), "rb");
        std::string log = testing::internal::GetCapturedStderr();
        EXPECT_EQ(data, nullptr) << path;
        EXPECT_EQ(size, 0u) << path;
        EXPECT_NE(log.find("engine:"), std::string::npos) << path;
    }
    EXPECT_EQ(readFileData(nullptr, nullptr, "rb"), nullptr);
    CCFileBuffer none(missing.c_str(), "rb");
    EXPECT_EQ(none.data, nullptr);
    EXPECT_EQ(none.size, 0u);
}

TEST(ReadFileData, OnlyRegularFilesAreRead) {
    TempDir dir;
    // A FIFO without a writer would block an ordinary open for ever; a link to a device would read
    // without end. Both are refused at once, as is a link to a folder.
    ASSERT_EQ(mkfifo(dir.file("fifo.plist").c_str(), 0600), 0);
    std::filesystem::create_symlink("/dev/zero", dir.file("zero.plist"));
    std::filesystem::create_symlink(dir.path(), dir.file("folder.plist"));
    kvtest::writeBytes(dir.file("real.plist"), scrambled("<plist/>"));
    std::filesystem::create_symlink(dir.file("real.plist"), dir.file("link.plist"));
    for (const char* name : {"fifo.plist", "zero.plist", "folder.plist"}) {
        unsigned size = 1234;
        testing::internal::CaptureStderr();
        char* data = readFileData(&size, dir.file(name).c_str(), "rb");
        std::string log = testing::internal::GetCapturedStderr();
        EXPECT_EQ(data, nullptr) << name;
        EXPECT_EQ(size, 0u) << name;
        EXPECT_NE(log.find(name), std::string::npos) << name;
    }
    // A link to a regular file is that file.
    CCFileBuffer linked(dir.file("link.plist").c_str(), "rb");
    ASSERT_NE(linked.data, nullptr);
    EXPECT_EQ(std::string(linked.data, linked.size), "<plist/>");
}

TEST(ReadFileData, ReadsLargeFilesWhole) {
    TempDir dir;
    std::string big(3 * 1024 * 1024 + 5, '\0');
    for (size_t i = 0; i < big.size(); ++i)
        big[i] = static_cast<char>(i * 31 + i / 7);
    kvtest::writeBytes(dir.file("big.bin"), big);
    CCFileBuffer file(dir.file("big.bin").c_str(), "rb");
    ASSERT_EQ(file.size, big.size());
    EXPECT_EQ(memcmp(file.data, big.data(), big.size()), 0);
}

TEST(ReadFileData, FallsBackToAMatchIgnoringLetterCase) {
    TempDir dir;
    kvtest::writeBytes(dir.file("Maps/Level1.TMX"), "<map/>");
    CCFileBuffer file(dir.file("maps/level1.tmx").c_str(), "rb");
    ASSERT_NE(file.data, nullptr);
    EXPECT_EQ(std::string(file.data, file.size), "<map/>");
    // Backslashes are separators too.
    std::string windowsStyle = dir.path() + "\\Maps\\Level1.TMX";
    CCFileBuffer other(windowsStyle.c_str(), "rb");
    EXPECT_EQ(other.size, 6u);
}

TEST(ResolvePathIgnoringCase, PrefersTheExactSpellingAndReportsMisses) {
    TempDir dir;
    kvtest::writeBytes(dir.file("Data/a.txt"), "1");
    kvtest::writeBytes(dir.file("data/A.txt"), "2");
    EXPECT_EQ(detail::resolvePathIgnoringCase(dir.file("data/A.txt")), dir.file("data/A.txt"));
    // Neither spelling exists exactly: the first by byte order ("Data" < "data", "a.txt" < ...).
    EXPECT_EQ(detail::resolvePathIgnoringCase(dir.file("DATA/A.TXT")), dir.file("Data/a.txt"));
    EXPECT_EQ(detail::resolvePathIgnoringCase(dir.file("nothing/a.txt")), "");
    EXPECT_EQ(detail::resolvePathIgnoringCase(""), "");
}

TEST(FullPath, ResolvesAgainstTheResourceRoot) {
    const std::string& root = resourceRootPath();
    struct Case {
        const char* path;
        std::string expected;
    } cases[] = {
        {"ui/a.png", root + "ui/a.png"},
        {"ui\\a.png", root + "ui/a.png"},
        {"/abs/ui/a.png", "/abs/ui/a.png"},
        {"", root},
    };
    for (const Case& c : cases)
        EXPECT_EQ(detail::fullPathForFileWithScale(c.path, 1.0f), c.expected) << c.path;
}

TEST(FullPath, PrefersAnExistingHdVariantWhenTheScaleIsNotOne) {
    TempDir dir;
    kvtest::writeBytes(dir.file("ui/a.png"), "x");
    kvtest::writeBytes(dir.file("ui/a-hd.png"), "x");
    kvtest::writeBytes(dir.file("ui/b.png"), "x");
    kvtest::writeBytes(dir.file("fonts/arial-hd"), "x");
    std::filesystem::create_directories(dir.file("ui/c-hd.png"));
    kvtest::writeBytes(dir.file("game.data/readme-hd"), "x");
    struct Case {
        std::string path;
        float scale;
        std::string expected;
    } cases[] = {
        {dir.file("ui/a.png"), 2.0f, dir.file("ui/a-hd.png")},
        {dir.file("ui/a.png"), 1.0f, dir.file("ui/a.png")},
        {dir.file("ui/b.png"), 2.0f, dir.file("ui/b.png")},
        {dir.file("fonts/arial"), 2.0f, dir.file("fonts/arial-hd")},
        {dir.file("ui/c.png"), 2.0f, dir.file("ui/c.png")},                    // the variant is a folder
        {dir.file("game.data/readme"), 2.0f, dir.file("game.data/readme-hd")}, // dot in a folder
    };
    for (const Case& c : cases) {
        EXPECT_EQ(detail::fullPathForFileWithScale(c.path.c_str(), c.scale), c.expected) << c.path;
    }
}

TEST(RemoveHdSuffix, StripsTheMarkerFromTheFileNameOnly) {
    struct Case {
        std::string path;
        float scale;
        std::string expected;
        bool logged;
    } cases[] = {
        {"ui/button-hd.png", 2.0f, "ui/button.png", true},
        {"ui/button-hd.png", 1.0f, "ui/button-hd.png", false},
        {"ui/-hd.png", 2.0f, "ui/-hd.png", false},
        {"-hd.png", 2.0f, "-hd.png", false},
        {"button-hd.png", 2.0f, "button.png", true},
        {"ui/button.png", 2.0f, "ui/button.png", false},
    };
    for (Case& c : cases) {
        testing::internal::CaptureStderr();
        std::string& result = detail::removeHdSuffixWithScale(c.path, c.scale);
        std::string log = testing::internal::GetCapturedStderr();
        EXPECT_EQ(&result, &c.path);
        EXPECT_EQ(c.path, c.expected);
        EXPECT_EQ(log.find("contains suffix(-hd), remove it.") != std::string::npos, c.logged) << c.expected;
    }
}

TEST(FullPath, PublicFormsReturnPoolOwnedText) {
    kvtest::PoolScope pool;
    EXPECT_EQ(std::string(fullPathForFile("ui/a.png")), resourceRootPath() + "ui/a.png");
    struct Case {
        const char* base;
        const char* name;
        const char* expected;
    } cases[] = {
        {"maps/level1.tmx", "tiles.png", "maps/tiles.png"},
        {"level1.tmx", "tiles.png", "tiles.png"},
        {"maps\\level1.tmx", "tiles.png", "maps\\tiles.png"},
        {"/abs/maps/", "t.png", "/abs/maps/t.png"},
        {nullptr, "t.png", "t.png"},
    };
    for (const Case& c : cases)
        EXPECT_STREQ(fullPathRelativeToFile(c.base, c.name), c.expected);
}

TEST(FullPath, WithoutADirectorLooksForNoHdVariantAndMakesNoDirector) {
    TempDir dir;
    kvtest::PoolScope pool;
    kvtest::writeBytes(dir.file("ui/a.png"), "x");
    kvtest::writeBytes(dir.file("ui/a-hd.png"), "x");
    CCDirector::getInstance()->setContentScaleFactor(2.0f);
    CCDirector::destroyInstance();
    ASSERT_EQ(CCDirector::existingInstance(), nullptr);

    EXPECT_EQ(std::string(fullPathForFile(dir.file("ui/a.png").c_str())), dir.file("ui/a.png"));
    std::string path = "ui/button-hd.png";
    EXPECT_EQ(removeHdSuffix(path), "ui/button-hd.png");
    EXPECT_EQ(CCDirector::existingInstance(), nullptr);
}

TEST(FullPath, FollowsTheDirectorsContentScaleFactor) {
    TempDir dir;
    kvtest::PoolScope pool;
    kvtest::LogCapture log;
    kvtest::writeBytes(dir.file("ui/a.png"), "x");
    kvtest::writeBytes(dir.file("ui/a-hd.png"), "x");
    CCDirector* director = CCDirector::getInstance();
    const float before = director->getContentScaleFactor();

    director->setContentScaleFactor(1.0f);
    EXPECT_EQ(std::string(fullPathForFile(dir.file("ui/a.png").c_str())), dir.file("ui/a.png"));
    std::string path = "ui/button-hd.png";
    EXPECT_EQ(removeHdSuffix(path), "ui/button-hd.png");

    director->setContentScaleFactor(2.0f);
    EXPECT_EQ(std::string(fullPathForFile(dir.file("ui/a.png").c_str())), dir.file("ui/a-hd.png"));
    EXPECT_EQ(removeHdSuffix(path), "ui/button.png");
    EXPECT_TRUE(log.contains("engine: FilePath(ui/button-hd.png) contains suffix(-hd), remove it."));
    director->setContentScaleFactor(before);
}
