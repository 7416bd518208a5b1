#include <gtest/gtest.h>

#include "engine/base/CCString.h"
#include "engine/base/CCValue.h"

using namespace kvengine;

TEST(CCStringTest, NumberAndTruthReadings) {
    struct Case {
        const char* text;
        int asInt;
        float asFloat;
        bool asBool;
    } cases[] = {
        {"YES", 0, 0.0f, true},      {"yes", 0, 0.0f, false},
        {"NO", 0, 0.0f, false},      {"1", 1, 1.0f, true},
        {"0", 0, 0.0f, false},       {"7", 7, 7.0f, true},
        {"true", 0, 0.0f, false},    {"", 0, 0.0f, false},
        {" 12abc", 12, 12.0f, true}, {"12abc", 12, 12.0f, true},
        {"abc", 0, 0.0f, false},     {"  42xyz", 42, 42.0f, true},
        {"x42", 0, 0.0f, false},     {"1.5", 1, 1.5f, true},
        {"-3", -3, -3.0f, true},     {"99999999999", 2147483647, 99999999999.0f, true},
    };
    for (const Case& c : cases) {
        CCString s(c.text);
        EXPECT_EQ(s.toInt(), c.asInt) << '"' << c.text << '"';
        EXPECT_FLOAT_EQ(s.toFloat(), c.asFloat) << '"' << c.text << '"';
        EXPECT_EQ(s.toBool(), c.asBool) << '"' << c.text << '"';
    }
}

TEST(CCStringTest, WideCopyDecodesUtf8) {
    CCString accented("caf\xC3\xA9 \xE2\x82\xAC \xF0\x9F\x90\x99"); // café € and an octopus
    EXPECT_EQ(accented.wideString(), nullptr);
    std::u16string wide = accented.makeWideString();
    EXPECT_EQ(wide, std::u16string(u"caf\u00E9 \u20AC \U0001F419"));
    // Bytes that are not UTF-8 stand for themselves (Latin-1) instead of being lost.
    CCString latin1("caf\xE9");
    EXPECT_EQ(std::u16string(latin1.makeWideString()), u"caf\u00E9");
    CCString broken("\xE2\x82");
    EXPECT_EQ(std::u16string(broken.makeWideString()), u"\u00E2\u0082");
    // The wide copy is rebuilt on request only.
    accented.text = "x";
    EXPECT_EQ(std::u16string(accented.wideString()), std::u16string(u"caf\u00E9 \u20AC \U0001F419"));
    EXPECT_EQ(std::u16string(accented.makeWideString()), u"x");
}

TEST(CCStringTest, WideConstructorKeepsBothForms) {
    CCString s(u"\u0141\u00F3d\u017A");
    EXPECT_EQ(std::u16string(s.wideString()), u"\u0141\u00F3d\u017A");
    EXPECT_EQ(s.text, "\xC5\x81\xC3\xB3"
                      "d\xC5\xBA");
    CCString empty(static_cast<const char16_t*>(nullptr));
    EXPECT_EQ(empty.text, "");
    CCString fromNull(static_cast<const char*>(nullptr));
    EXPECT_EQ(fromNull.text, "");
}

TEST(CCStringTest, ReplaceAllOccurrences) {
    struct Case {
        const char* text;
        const char* from;
        const char* to;
        const char* expected;
    } cases[] = {
        {"a_ss_b_ss", "_ss", "", "a_b"},
        {"a-b-c", "-", "--", "a--b--c"},
        {"aaa", "aa", "bb", "bbb"}, // overlapping occurrences
        {"abc", "x", "y", "abc"},
        {"abc", "", "y", "abc"},
        {"xx", "xx", "", ""},
    };
    for (const Case& c : cases) {
        std::string text = c.text;
        replaceAllOccurrences(text, c.from, c.to);
        EXPECT_EQ(text, c.expected) << c.text << " / " << c.from;
    }
}

TEST(CCStringTest, ReplaceOccurrencesReturnsSelfOrANewString) {
    CCString s("a-b");
    EXPECT_EQ(s.replaceOccurrences("x", "y"), &s);
    CCString* replaced = s.replaceOccurrences("-", "+");
    ASSERT_NE(replaced, &s);
    EXPECT_EQ(replaced->text, "a+b");
    EXPECT_EQ(replaced->retainCount(), 1u);
    EXPECT_FALSE(replaced->isManaged());
    EXPECT_EQ(s.text, "a-b");
    replaced->release();
    EXPECT_TRUE(s.isKindOf("CCString"));
    EXPECT_EQ(s.copy(), nullptr);
}

TEST(CCStringTest, BoxedValuesHoldTheirValueAndReportCCObject) {
    auto* point = new CCValue<CCPoint>(CCPoint(1.5f, -2.0f));
    EXPECT_EQ(point->value.x, 1.5f);
    EXPECT_EQ(point->value.y, -2.0f);
    EXPECT_STREQ(point->className(), "CCObject");
    EXPECT_EQ(point->copy(), nullptr);
    point->release();
    CCValue<int> number(-7);
    EXPECT_EQ(number.value, -7);
}
