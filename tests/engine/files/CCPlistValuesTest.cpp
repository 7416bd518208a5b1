#include "engine/files/CCPlistValues.h"
#include "engine/files/CCPlistReader.h"

#include "FilesTestSupport.h"
#include "PlistTestSupport.h"

#include <gtest/gtest.h>

#include <climits>
#include <string>

using namespace kvengine;
using kvtest::dumpPlist;

namespace {

plist::Dict* readDictionary(const std::string& body) {
    std::string xml = "<?xml version=\"1.0\"?><plist version=\"1.0\"><dict>" + body + "</dict></plist>";
    return dictionaryWithContentsOfData(xml.data(), static_cast<unsigned>(xml.size()));
}

} // namespace

// A hand-edited file can put any kind of value under any key: each reader takes only its own
// kind and gives the fallback otherwise, so no value is ever cast to what it is not.
TEST(PlistValues, EachReaderTakesOnlyItsOwnKind) {
    kvtest::PoolScope pool;
    plist::Dict* dict = readDictionary("<key>text</key><string>12abc</string>"
                                       "<key>real</key><real>2.5</real>"
                                       "<key>yes</key><string>YES</string>"
                                       "<key>huge</key><integer>99999999999</integer>"
                                       "<key>dict</key><dict><key>a</key><string>1</string></dict>"
                                       "<key>array</key><array><string>x</string><dict/></array>");
    ASSERT_NE(dict, nullptr);

    EXPECT_EQ(plist::intAt(dict, "text"), 12);
    EXPECT_FLOAT_EQ(plist::floatAt(dict, "real"), 2.5f);
    EXPECT_TRUE(plist::boolAt(dict, "yes"));
    EXPECT_EQ(plist::intAt(dict, "huge"), INT_MAX) << "out of range clamps instead of wrapping";

    EXPECT_EQ(plist::intAt(dict, "dict", -1), -1);
    EXPECT_EQ(plist::textAt(dict, "array", "none"), "none");
    EXPECT_TRUE(plist::boolAt(dict, "missing", true));
    EXPECT_EQ(plist::dictAt(dict, "text"), nullptr);
    EXPECT_EQ(plist::arrayAt(dict, "dict"), nullptr);
    EXPECT_EQ(plist::stringAt(dict, "array"), nullptr);
    EXPECT_EQ(plist::intAt(plist::dictAt(dict, "dict"), "a"), 1);

    plist::Array* array = plist::arrayAt(dict, "array");
    ASSERT_NE(array, nullptr);
    EXPECT_EQ(plist::textOf(array, 0), "x");
    EXPECT_EQ(plist::textOf(array, 1), "") << "a dictionary element has no text";
    EXPECT_EQ(plist::textOf(array, 7), "") << "out of range";

    // A null dictionary reads as empty and ignores writes.
    EXPECT_EQ(plist::intAt(nullptr, "a", 3), 3);
    EXPECT_FALSE(plist::hasKey(nullptr, "a"));
    EXPECT_EQ(plist::countOf(nullptr), 0u);
    EXPECT_TRUE(plist::keysOf(nullptr).empty());
    plist::setInt(nullptr, "a", 1);
}

TEST(PlistValues, ADeepCopyChangesApartFromItsOriginal) {
    kvtest::PoolScope pool;
    plist::Dict* original = readDictionary("<key>inner</key><dict><key>n</key><string>1</string></dict>"
                                           "<key>list</key><array><string>a</string></array>");
    ASSERT_NE(original, nullptr);
    auto* copy = plist::asDict(plist::deepCopy(original));
    ASSERT_NE(copy, nullptr);

    plist::setInt(plist::dictAt(copy, "inner"), "n", 2);
    plist::arrayAt(copy, "list")->addObject(plist::newString("b"));
    plist::setText(copy, "added", "yes");

    EXPECT_EQ(dumpPlist(original), "{inner:{n:\"1\"},list:[\"a\"]}");
    EXPECT_EQ(dumpPlist(copy), "{added:\"yes\",inner:{n:\"2\"},list:[\"a\",\"b\"]}");
    EXPECT_EQ(plist::deepCopy(nullptr), nullptr);
}
