#include "engine/files/CCPlistReader.h"
#include "engine/base/CCString.h"
#include "engine/files/CCFileUtils.h"

#include "FilesTestSupport.h"
#include "PlistTestSupport.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <string>

using namespace kvengine;
using kvtest::dumpPlist;
using kvtest::TempDir;

namespace {

std::string plist(const std::string& body) {
    return "<?xml version=\"1.0\"?><plist version=\"1.0\">" + body + "</plist>";
}

std::string readDictionary(const std::string& body, bool* wellFormed = nullptr) {
    std::string xml = plist(body);
    return dumpPlist(dictionaryWithContentsOfData(xml.data(), static_cast<unsigned>(xml.size()), wellFormed));
}

std::string readArray(const std::string& body) {
    std::string xml = plist(body);
    return dumpPlist(arrayWithContentsOfData(xml.data(), static_cast<unsigned>(xml.size())));
}

} // namespace

TEST(PlistReader, BuildsDictionariesFromTheirText) {
    kvtest::PoolScope pool;
    struct Case {
        const char* what;
        std::string body;
        std::string expected;
    } cases[] = {
        {"scalars keep their text",
         "<dict><key>i</key><integer>12</integer><key>r</key><real>2.5</real>"
         "<key>t</key><true/><key>f</key><false/><key>s</key><string>x</string></dict>",
         "{f:\"0\",i:\"12\",r:\"2.5\",s:\"x\",t:\"1\"}"},
        {"nesting and order",
         "<dict><key>a</key><array><dict><key>b</key><array><string>1</string>"
         "<string>2</string></array></dict><string>3</string></array></dict>",
         "{a:[{b:[\"1\",\"2\"]},\"3\"]}"},
        {"empty strings are empty texts",
         "<dict><key>a</key><string></string><key>b</key><string/><key>c</key><integer/></dict>",
         "{a:\"\",b:\"\"}"},
        {"an empty key is a key", "<dict><key>a</key><string>1</string><key></key><string>2</string></dict>",
         "{:\"2\",a:\"1\"}"},
        {"second value replaces the first", "<dict><key>a</key><string>1</string><string>2</string></dict>",
         "{a:\"2\"}"},
        {"date and data are skipped",
         "<dict><key>d</key><date>2001-01-01T00:00:00Z</date><key>x</key>"
         "<data>AAAA</data></dict>",
         "{}"},
        {"blanks stay", "<dict><key> k </key><string>  v\t</string></dict>", "{ k :\"  v\t\"}"},
        {"entities join the pieces",
         "<dict><key>a &amp; b</key><string>A &amp; B &lt;C&gt; &#233;</string></dict>",
         "{a & b:\"A & B <C> \xc3\xa9\"}"},
        {"CDATA joins too", "<dict><key>k</key><string>x<![CDATA[<y>]]>z</string></dict>", "{k:\"x<y>z\"}"},
        {"unknown elements are skipped", "<dict><key>k</key><foo>bar</foo><string>v</string></dict>",
         "{k:\"v\"}"},
        {"an array document has no dictionary", "<array><string>a</string></array>", "null"},
        {"nor has one whose array holds a dictionary",
         "<array><dict><key>playerProfile</key><dict/></dict></array>", "null"},
        {"the first top-level container counts", "<dict><key>a</key><string>1</string></dict><dict/>",
         "{a:\"1\"}"},
        {"a lone scalar has no dictionary", "<string>a</string>", "null"},
        {"prefixed names are other elements",
         "<dict><key>k</key><p:string xmlns:p=\"u\">v</p:string><string>w</string><p:dict "
         "xmlns:p=\"u\"/></dict>",
         "{k:\"w\"}"},
        {"a scalar cut by an element is dropped", "<dict><key>k</key><string>a<b/>c</string></dict>", "{}"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(readDictionary(c.body), c.expected) << c.what;
}

// Element names are remembered by where the parser keeps them; a document with more distinct
// names than are remembered, and names that differ from the plist ones by one letter, still read
// as they are written.
TEST(PlistReader, ReadsDocumentsWithManyElementNames) {
    kvtest::PoolScope pool;
    std::string body = "<dict>";
    std::string expected = "{";
    for (int i = 0; i < 120; ++i) {
        const std::string other = "other" + std::to_string(i);
        char key[8];
        std::snprintf(key, sizeof key, "k%03d", i);
        body += "<" + other + ">x</" + other + "><key>" + key + "</key><string>" + std::to_string(i) +
                "</string>";
        expected += std::string(i > 0 ? "," : "") + key + ":\"" + std::to_string(i) + "\"";
    }
    body += "<dic/><dicts/><keys>z</keys><strin>z</strin><string>last</string></dict>";
    expected += "}";
    // The last string goes under the last key read, replacing its value.
    const std::string replaced = "k119:\"119\"";
    expected.replace(expected.find(replaced), replaced.size(), "k119:\"last\"");
    EXPECT_EQ(readDictionary(body), expected);
}

TEST(PlistReader, KeysFollowTheLastCompleteKeyElement) {
    kvtest::PoolScope pool;
    struct Case {
        const char* what;
        const char* body;
        const char* expected;
    } cases[] = {
        {"a key without a value is replaced by the next",
         "<dict><key>a</key><string>1</string><key>b</key><key>c</key><string>2</string></dict>",
         "{a:\"1\",c:\"2\"}"},
        {"a key cut by an element leaves the key before it",
         "<dict><key>a</key><string>1</string><key>x<b/>y</key><string>2</string></dict>", "{a:\"2\"}"},
        {"long keys swap buffers with short ones",
         "<dict><key>a key long enough to leave the string's own buffer</key><string>1</string>"
         "<key>b</key><string>2</string><key>another key long enough to need the heap</key>"
         "<string>3</string></dict>",
         "{a key long enough to leave the string's own buffer:\"1\","
         "another key long enough to need the heap:\"3\",b:\"2\"}"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(readDictionary(c.body), c.expected) << c.what;
}

TEST(PlistReader, BuildsArrays) {
    kvtest::PoolScope pool;
    EXPECT_EQ(
        readArray(
            "<array><dict><key>k</key><array><true/></array></dict><string></string><integer>4</integer>"
            "</array>"),
        "[{k:[\"1\"]},\"\",\"4\"]");
    kvtest::LogCapture log;
    EXPECT_EQ(readArray("<dict><key>k</key><string>v</string></dict>"), "null");
    EXPECT_EQ(readArray("<dict><key>k</key><array><string>v</string></array></dict>"), "null");
    EXPECT_TRUE(log.contains("holds no array at its top level"));
}

TEST(PlistReader, ValuesOutliveTheirDocumentAndDieWithTheirLastOwner) {
    // Enough values to fill several of the load's shared blocks; the first and the last leaf are
    // kept past the document and still changed and read (the sanitizer build checks the memory).
    std::string body = "<array>";
    for (int i = 0; i < 2000; ++i)
        body +=
            "<string>value " + std::to_string(i) + "</string><dict><key>k</key><integer>1</integer></dict>";
    body += "</array>";
    std::string xml = plist(body);
    CCString* first = nullptr;
    CCString* last = nullptr;
    {
        kvtest::PoolScope pool;
        auto* array = arrayWithContentsOfData(xml.data(), static_cast<unsigned>(xml.size()));
        ASSERT_NE(array, nullptr);
        ASSERT_EQ(array->count(), 4000u);
        first = dynamic_cast<CCString*>(array->objectAtIndex(0));
        last = dynamic_cast<CCString*>(array->objectAtIndex(3998));
        ASSERT_NE(first, nullptr);
        ASSERT_NE(last, nullptr);
        first->retain();
        last->retain();
    }
    first->text += " kept, and long enough to leave the string's own buffer";
    EXPECT_EQ(first->text, "value 0 kept, and long enough to leave the string's own buffer");
    EXPECT_EQ(last->text, "value 1999");
    EXPECT_TRUE(first->isKindOf("CCString"));
    first->release();
    last->release();
}

TEST(PlistReader, ABrokenDocumentGivesWhatWasBuiltAndSaysSo) {
    kvtest::PoolScope pool;
    kvtest::LogCapture log;
    bool wellFormed = true;
    std::string xml = "<plist><dict><key>a</key><string>1</string><key>b</key><string>2</str";
    auto* partial = dictionaryWithContentsOfData(xml.data(), static_cast<unsigned>(xml.size()), &wellFormed);
    EXPECT_FALSE(wellFormed);
    EXPECT_EQ(dumpPlist(partial), "{a:\"1\"}");
    EXPECT_TRUE(log.contains("engine: XML"));

    EXPECT_EQ(readDictionary("<dict>", &wellFormed), "{}");
    EXPECT_FALSE(wellFormed);
    EXPECT_EQ(readDictionary("<dict><key>x</key><string>y</string></dict>", &wellFormed), "{x:\"y\"}");
    EXPECT_TRUE(wellFormed);
}

TEST(PlistReader, ReadsScrambledFilesAndRefusesMissingOnes) {
    TempDir dir;
    kvtest::PoolScope pool;
    kvtest::LogCapture log;
    std::string text = plist("<dict><key>k</key><string>v</string></dict>");
    kvtest::writeBytes(dir.file("plain.xml"), text);
    scrambleDataBuffer(reinterpret_cast<unsigned char*>(&text[0]), static_cast<unsigned>(text.size()));
    kvtest::writeBytes(dir.file("data.plist"), text);
    kvtest::writeBytes(dir.file("rules.plist"), std::string());
    kvtest::writeBytes(dir.file("wrong.plist"),
                       plist("<dict><key>k</key><string>v</string></dict>")); // not scrambled

    auto* stored = dictionaryWithContentsOfFile(dir.file("data.plist").c_str());
    EXPECT_EQ(dumpPlist(stored), "{k:\"v\"}");
    ASSERT_NE(stored, nullptr);
    EXPECT_TRUE(stored->isManaged());
    EXPECT_EQ(stored->retainCount(), 1u); // only the pool holds it
    EXPECT_EQ(dumpPlist(dictionaryWithContentsOfFile(dir.file("plain.xml").c_str())), "{k:\"v\"}");

    bool wellFormed = true;
    EXPECT_EQ(dictionaryWithContentsOfFile(dir.file("missing.plist").c_str(), &wellFormed), nullptr);
    EXPECT_FALSE(wellFormed);
    EXPECT_EQ(arrayWithContentsOfFile(dir.file("missing.plist").c_str()), nullptr);
    EXPECT_EQ(arrayWithContentsOfFile(dir.file("rules.plist").c_str()), nullptr);
    EXPECT_EQ(dictionaryWithContentsOfFile(dir.file("wrong.plist").c_str(), &wellFormed), nullptr);
    EXPECT_FALSE(wellFormed);
    EXPECT_TRUE(log.contains("missing.plist"));
    EXPECT_TRUE(log.contains("wrong.plist"));
}
