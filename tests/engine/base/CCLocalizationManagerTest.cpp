#include "engine/base/CCLocalizationManager.h"
#include "engine/base/CCAutoreleasePoolStack.h"
#include "engine/base/CCLog.h"
#include "engine/base/CCString.h"
#include "engine/files/CCFileUtils.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

using namespace kvengine;

namespace {

struct Pool {
    Pool() { CCAutoreleasePoolStack::getInstance().push(); }
    ~Pool() { CCAutoreleasePoolStack::getInstance().pop(); }
};

struct Log {
    Log() {
        setDebugLogSink([this](const std::string& line) { lines.push_back(line); });
    }
    ~Log() { setDebugLogSink(nullptr); }
    std::vector<std::string> lines;
};

// UTF-16LE bytes of text.
std::string utf16(const std::u16string& text) {
    std::string bytes;
    for (char16_t unit : text) {
        bytes += static_cast<char>(unit & 0xFF);
        bytes += static_cast<char>(unit >> 8);
    }
    return bytes;
}

bool parse(CCLocalizationManager& table, const std::string& bytes) {
    return table.parseStringsData(reinterpret_cast<const unsigned char*>(bytes.data()),
                                  static_cast<unsigned>(bytes.size()));
}

std::string lookup(const CCLocalizationManager& table, const std::string& key) {
    CCString* text = table.stringForKey(key);
    return text ? text->text : "<none>";
}

} // namespace

TEST(LocalizationTable, LoadsAScrambledUtf16FileWithCommentsAndAccents) {
    Pool pool;
    CCLocalizationManager* table = CCLocalizationManager::getInstance();
    std::string path = std::string(KELVOS_TEST_DATA_DIR) + "/files/fr.lproj/localizable.strings";
    ASSERT_TRUE(table->loadStringsFile(path));
    EXPECT_EQ(table->path(), path);
    EXPECT_EQ(lookup(*table, "Main_Screen_Play"), "Jouer");
    EXPECT_EQ(lookup(*table, "OPTIONS_TITLE"), "Param\xc3\xa8tres g\xc3\xa9n\xc3\xa9raux");
    EXPECT_EQ(lookup(*table, "say"), "il dit \\\"bonjour\\\" / \"salut");
    EXPECT_EQ(lookup(*table, "hidden"), "<none>"); // inside a comment
    CCString* german = getLocalizedString("language_german");
    ASSERT_NE(german, nullptr);
    ASSERT_NE(german->wideString(), nullptr);
    EXPECT_EQ(std::u16string(german->wideString()), u"Deutsch \u2014 \u00dcbersicht");

    // A miss: localizeString shows the key itself, getLocalizedString says there is none.
    auto* key = new CCString("Not_There");
    EXPECT_EQ(localizeString(key), key);
    key->release();
    EXPECT_EQ(getLocalizedString("Not_There"), nullptr);
    EXPECT_EQ(localizeString(nullptr), nullptr);

    // Releasing the shared table (a language change) gives a fresh, empty one.
    table->release();
    EXPECT_EQ(getLocalizedString("Main_Screen_Play"), nullptr);
    CCLocalizationManager::getInstance()->release();
}

TEST(LocalizationTable, FollowsTheGrammarOfTheFormat) {
    Pool pool;
    Log log;
    struct Case {
        const char* what;
        std::u16string text;
        const char* key;
        std::string expected;
    } cases[] = {
        {"a later key replaces an earlier one", u"\"title\" = \"Hello\";\n\"TITLE\" = \"World\";", "Title",
         "World"},
        {"inner quotes stay", u"\"k\" = \"say \"hi\"\";", "k", "say \"hi\""},
        {"a blank before the semicolon does not end the value", u"\"a\" = \"x\" ;\n\"b\" = \"y\";", "a",
         "x\" ;\n\"b\" = \"y"},
        {"comments between entries", u"// c1\n/* c2 \"x\" = \"no\"; */\"k\" = \"v\";", "k", "v"},
        {"comment-like text inside a value", u"\"k\" = \"a // b /* c */\";", "k", "a // b /* c */"},
        {"no escapes", u"\"k\" = \"a\\nb\";", "k", "a\\nb"},
        {"units beyond 255 in a key keep their low byte", u"\"\u0141x\" = \"v\";", "Ax", "v"},
        {"an unclosed comment ends the data", u"\"k\" = \"v\"; /* open", "k", "v"},
        {"a truncated last entry is dropped", u"\"k\" = \"v\";\n\"cut\" = \"no end", "cut", "<none>"},
        {"a key without a value is dropped", u"\"k\" = \"v\";\n\"cut\"", "k", "v"},
    };
    for (const Case& c : cases) {
        CCLocalizationManager table;
        EXPECT_TRUE(parse(table, utf16(c.text))) << c.what;
        EXPECT_EQ(lookup(table, c.key), c.expected) << c.what;
    }
}

TEST(LocalizationTable, EmptyOddAndOversizedDataStaySafe) {
    Pool pool;
    Log log;
    CCLocalizationManager table;
    EXPECT_TRUE(parse(table, ""));
    EXPECT_TRUE(parse(table, utf16(u"\ufeff/* only a comment */\n")));
    EXPECT_TRUE(parse(table, utf16(u"\"k\" = \"v\";") + "\"")); // an odd last byte is not a unit
    EXPECT_EQ(lookup(table, "k"), "v");
    EXPECT_FALSE(table.parseStringsData(nullptr, 10));

    std::u16string longValue(5000, u'x');
    EXPECT_TRUE(parse(table, utf16(u"\"long\" = \"" + longValue + u"\";\"after\" = \"ok\";")));
    EXPECT_EQ(lookup(table, "long"), std::string(CCLocalizationManager::kMaxValueUnits, 'x'));
    EXPECT_EQ(lookup(table, "after"), "ok");

    EXPECT_FALSE(table.loadStringsFile(""));
    EXPECT_FALSE(table.loadStringsFile("/no/such.lproj/localizable.strings"));
    EXPECT_EQ(lookup(table, "after"), "ok"); // a failed load keeps the table
    EXPECT_FALSE(log.lines.empty());
}

TEST(LocalizationTable, DamagedOrEmptyFilesLoadButSaySo) {
    Pool pool;
    const std::string folder = testing::TempDir() + "kvstrings-damaged";
    std::filesystem::create_directories(folder);
    std::string garbage;
    for (unsigned i = 0, x = 7; i < 301; ++i, x = x * 1103515245u + 12345u)
        garbage += static_cast<char>(x >> 16);
    struct Case {
        const char* what;
        std::string plain;
        const char* logged;
    } cases[] = {
        {"empty", "", "is empty"},
        {"garbage", garbage, "not UTF-16 text"},
        {"only a comment", utf16(u"\ufeff// nothing yet\n"), "holds no entries"},
        {"cut in its first entry", utf16(u"\ufeff\"title\" = \"Hel"), "holds no entries"},
        {"half a character at the end", utf16(u"\ufeff\"k\" = \"v\";") + "x", "half a character"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        // Stored scrambled, as the file layer expects of ".strings" files.
        std::string stored = c.plain;
        scrambleDataBuffer(reinterpret_cast<unsigned char*>(&stored[0]),
                           static_cast<unsigned>(stored.size()));
        const std::string path = folder + "/localizable.strings";
        std::ofstream(path, std::ios::binary | std::ios::trunc) << stored;
        Log log;
        CCLocalizationManager table;
        EXPECT_TRUE(table.parseStringsFile(path.c_str()));
        bool named = false;
        for (const std::string& line : log.lines)
            named =
                named || (line.find(c.logged) != std::string::npos && line.find(path) != std::string::npos);
        EXPECT_TRUE(named) << (log.lines.empty() ? "(no log line)" : log.lines.back());
    }
    // A whole table says nothing.
    const std::string path = folder + "/localizable.strings";
    std::string stored = utf16(u"\ufeff\"k\" = \"v\";");
    scrambleDataBuffer(reinterpret_cast<unsigned char*>(&stored[0]), static_cast<unsigned>(stored.size()));
    std::ofstream(path, std::ios::binary | std::ios::trunc) << stored;
    Log log;
    CCLocalizationManager table;
    EXPECT_TRUE(table.parseStringsFile(path.c_str()));
    EXPECT_TRUE(log.lines.empty());
    std::filesystem::remove_all(folder);
}
