#include "engine/base/CCLog.h"
#include "engine/platform/CCClock.h"
#include "engine/platform/CCDesktop.h"
#include "engine/platform/CCGL.h"
#include "engine/platform/CCKeyTable.h"
#include "engine/platform/CCPlatformEvent.h"
#include "support/GLTestContext.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

using namespace kvengine;

namespace {

struct ScopedFakeClock {
    CCFakeClock clock;
    ScopedFakeClock() { CCClock::setShared(&clock); }
    ~ScopedFakeClock() { CCClock::setShared(nullptr); }
};

} // namespace

TEST(KeyTable, KeysBecomeEngineCodes) {
    struct Case {
        CCKey key;
        int code;
    };
    const Case cases[] = {
        {CCKey::Right, 1},   {CCKey::D, 1},      {CCKey::Left, 2},       {CCKey::A, 2},
        {CCKey::Q, 2},       {CCKey::Up, 3},     {CCKey::W, 3},          {CCKey::Z, 3},
        {CCKey::Down, 4},    {CCKey::S, 4},      {CCKey::KeypadPlus, 5}, {CCKey::KeypadMinus, 6},
        {CCKey::Space, 7},   {CCKey::Escape, 0}, {CCKey::Unknown, -1},   {CCKey::Backspace, -1},
        {CCKey::Return, -1}, {CCKey::Alt, -1},   {CCKey::Count, -1},     {static_cast<CCKey>(-3), -1},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(keyCodeForKey(c.key), c.code) << "key " << static_cast<int>(c.key);
    }
}

TEST(KeyTable, LettersAreMatchedBySymbol) {
    // Letter, space and Escape symbols are their character values.
    struct Case {
        int symbol;
        CCKey key;
    };
    const Case cases[] = {{'w', CCKey::W},       {'a', CCKey::A},         {'s', CCKey::S},
                          {'d', CCKey::D},       {'z', CCKey::Z},         {'q', CCKey::Q},
                          {' ', CCKey::Space},   {27, CCKey::Escape},     {'x', CCKey::Unknown},
                          {'W', CCKey::Unknown}, {-12345, CCKey::Unknown}};
    for (const Case& c : cases) {
        EXPECT_EQ(keyFromPlatformSymbol(c.symbol), c.key) << "symbol " << c.symbol;
    }
}

TEST(PlatformEvent, TextInputIsCutAtACharacterBoundary) {
    // 15 two-byte characters (30 bytes) plus one more: 32 bytes do not fit with the terminator.
    std::string text;
    for (int i = 0; i < 16; ++i)
        text += "\xC3\xA9";
    CCPlatformEvent e = CCPlatformEvent::textInput(text.c_str());
    EXPECT_EQ(std::strlen(e.text), 30u);
    EXPECT_EQ(CCPlatformEvent::textInput(nullptr).text[0], '\0');
    EXPECT_STREQ(CCPlatformEvent::textInput("a").text, "a");
}

TEST(Clock, TimeOfDayFollowsTheInstalledClockAtMillisecondResolution) {
    ScopedFakeClock fake;
    fake.clock.setMicroseconds(12'345'678);
    CCTimeVal t;
    EXPECT_EQ(getTimeOfDay(&t), 0);
    EXPECT_EQ(t.seconds, 12);
    EXPECT_EQ(t.microseconds, 345'000);
    EXPECT_EQ(getTimeOfDay(nullptr), 0);

    CCTimeVal later;
    fake.clock.advanceSeconds(1.5);
    getTimeOfDay(&later);
    EXPECT_NEAR(secondsBetween(t, later), 1.5f, 1e-6f);
    EXPECT_NEAR(secondsBetween(later, t), -1.5f, 1e-6f);
}

TEST(Clock, SystemClockIsMonotonicAndRestoredAfterAFakeOne) {
    {
        ScopedFakeClock fake;
        EXPECT_EQ(CCClock::getShared(), &fake.clock);
    }
    CCClock* clock = CCClock::getShared();
    EXPECT_GT(clock->frequency(), 0);
    const int64_t a = clock->counter();
    const int64_t b = clock->counter();
    EXPECT_LE(a, b);
}

TEST(HeadlessWindow, FullScreenCoversTheDesktopAndCountsSwaps) {
    CCHeadlessWindow window(1920, 1080);
    int w = -1, h = -1;
    window.getClientSize(w, h);
    EXPECT_EQ(w, 0);
    ASSERT_TRUE(window.create("t", true, 10, 10));
    EXPECT_FALSE(window.create("t", true, 10, 10)) << "a second create must fail";
    window.getClientSize(w, h);
    EXPECT_EQ(w, 1920);
    EXPECT_EQ(h, 1080);
    window.swapBuffers();
    window.swapBuffers();
    EXPECT_EQ(window.swapCount(), 2);
    window.push(CCPlatformEvent::keyDown(CCKey::Space));
    CCPlatformEvent e;
    ASSERT_TRUE(window.poll(e));
    EXPECT_EQ(e.key, CCKey::Space);
    EXPECT_FALSE(window.poll(e));
}

TEST(GLTestContext, DrawsAndReadsPixelsBack) {
    kvtest::GLTestContext gl;
    ASSERT_TRUE(gl.open(64, 32));
    EXPECT_EQ(gl.width(), 64);
    EXPECT_EQ(gl.height(), 32);
    glColor4ub(0, 255, 0, 255);
    glBegin(GL_QUADS);
    glVertex2f(0, 0);
    glVertex2f(16, 0);
    glVertex2f(16, 8);
    glVertex2f(0, 8);
    glEnd();
    EXPECT_EQ(gl.pixel(4, 4), (kvtest::RGBA{0, 255, 0, 255}));
    EXPECT_EQ(gl.pixel(40, 20), (kvtest::RGBA{0, 0, 0, 255}));
    EXPECT_EQ(gl.pixel(-1, 0), (kvtest::RGBA{}));
    EXPECT_EQ(gl.readAll().size(), 64u * 32u * 4u);
    gl.close();
    EXPECT_FALSE(gl.isOpen());
    EXPECT_FALSE(gl.open(0, 10));
}

namespace {

std::vector<std::string> g_pagesOpened;
bool g_openerAnswer = true;

bool recordPage(const std::string& address) {
    g_pagesOpened.push_back(address);
    return g_openerAnswer;
}

} // namespace

// Only plain web addresses reach the browser; anything else is refused with a log line, and the
// opener's own failure is reported as a failure.
TEST(WebPage, OnlyWebAddressesReachTheOpener) {
    struct Case {
        std::string address;
        bool accepted;
    };
    const Case cases[] = {
        {"https://kelvos.example/soundtrack", true},
        {"http://kelvos.example", true},
        {"https://kelvos.example/a?b=c&d=%20e", true},
        {"", false},
        {"kelvos.example/soundtrack", false},
        {"file:///etc/passwd", false},
        {"javascript:alert(1)", false},
        {"https://", false},
        {"https:///path", false},
        {"https://kelvos.example/with space", false},
        {"https://kelvos.example/\nline", false},
        {std::string("https://kelvos.example/\0x", 25), false},
        {"https://kelvos.example/" + std::string(2048, 'a'), false},
        {"-https://kelvos.example", false},
    };
    CCWebPageOpener previous = setWebPageOpener(recordPage);
    std::vector<std::string> log;
    setDebugLogSink([&](const std::string& line) { log.push_back(line); });
    for (const Case& c : cases) {
        SCOPED_TRACE(c.address.substr(0, 60));
        g_pagesOpened.clear();
        log.clear();
        EXPECT_EQ(isWebPageAddress(c.address), c.accepted);
        EXPECT_EQ(openWebPage(c.address), c.accepted);
        EXPECT_EQ(g_pagesOpened.size(), c.accepted ? 1u : 0u);
        EXPECT_EQ(log.size(), c.accepted ? 0u : 1u);
    }
    g_openerAnswer = false;
    log.clear();
    EXPECT_FALSE(openWebPage("https://kelvos.example/down"));
    EXPECT_EQ(log.size(), 1u);
    g_openerAnswer = true;
    setDebugLogSink(nullptr);
    EXPECT_EQ(setWebPageOpener(previous), recordPage);
}
