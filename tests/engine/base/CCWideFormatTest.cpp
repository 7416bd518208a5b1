#include <gtest/gtest.h>

#include <climits>

#include "Probe.h"
#include "engine/base/CCWideFormat.h"

using namespace kvengine;

namespace {
template <typename... Args> std::pair<std::u16string, int> format(const char16_t* fmt, const Args&... args) {
    char16_t buffer[64];
    int n = formatWideString(buffer, 64, fmt, args...);
    return {buffer, n};
}
} // namespace

TEST(CCWideFormatTest, Conversions) {
    struct Case {
        std::pair<std::u16string, int> got;
        std::u16string expected;
    } cases[] = {
        {format(u"%d/%d", 3, 10), u"3/10"},
        {format(u"%5s|", u"ab"), u"   ab|"},
        {format(u"%-5s|", u"ab"), u"ab   |"},
        {format(u"%x", 255), u"ff"},
        {format(u"%X", 255), u"FF"},
        {format(u"%u", -1), u"4294967295"},
        {format(u"%d", INT_MIN), u"-2147483648"},
        {format(u"%i", 0), u"0"},
        {format(u"%q%d", 5), u"5"},
        {format(u"100%"), u"100"},
        {format(u"%%"), u"%"},
        {format(u"%05d", -42), u"-0042"},
        {format(u"%5d", -42), u"  -42"},
        {format(u"%-05d", 42), u"42000"},
        {format(u"%03d", 0), u"000"},
        {format(u"%c%c", u'\u00E9', 0), u"\u00E9"},
        {format(u"[%5s]", static_cast<const char16_t*>(nullptr)), u"[]"},
        {format(u"%s=%d", std::u16string(u"pearls"), 12), u"pearls=12"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(c.got.first, c.expected);
        EXPECT_EQ(c.got.second, static_cast<int>(c.expected.size()));
    }
}

TEST(CCWideFormatTest, OutputIsBoundedAndTerminated) {
    char16_t buffer[6];
    std::fill(std::begin(buffer), std::end(buffer), u'#');
    int n = formatWideString(buffer, 6, u"%s and more", u"abcdefgh");
    EXPECT_EQ(n, 5);
    EXPECT_EQ(std::u16string(buffer), u"abcde");
    n = formatWideString(buffer, 6, u"%999999999999d", 1);
    EXPECT_EQ(std::u16string(buffer), u"     ");
    EXPECT_EQ(n, 5);
    char16_t one[1];
    EXPECT_EQ(formatWideString(one, 1, u"abc"), 0);
    EXPECT_EQ(one[0], 0);
}

TEST(CCWideFormatTest, MissingOrMismatchedArgumentsWriteNothing) {
    LogCapture log;
    EXPECT_EQ(format(u"a%sb%dc", 5).first, u"abc");
    EXPECT_EQ(format(u"%d%d", 1).first, u"1");
    EXPECT_FALSE(log.lines.empty());
    EXPECT_EQ(formatWideString(nullptr, 10, u"x"), 0);
    char16_t buffer[4];
    EXPECT_EQ(formatWideString(buffer, 4, nullptr), 0);
    EXPECT_EQ(buffer[0], 0);
}
