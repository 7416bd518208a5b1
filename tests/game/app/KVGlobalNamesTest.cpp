#include <gtest/gtest.h>

#include <cstring>
#include <set>

#include "engine/base/CCNotificationCenter.h"
#include "game/app/KVGlobalNames.h"

using kvengine::CCNotification;
using kvengine::CCNotificationCenter;
using kvengine::CCObject;
using kvengine::CCString;

namespace {
class Counter : public CCObject {
public:
    void onEvent(CCNotification* n) {
        ++calls;
        lastName = n->getName()->text;
    }
    int calls = 0;
    std::string lastName;
};
} // namespace

TEST(KVGlobalNamesTest, EveryNameIsDistinctAndNamedAfterItsText) {
    EXPECT_EQ(ALL_NOTIFICATION_NAME_COUNT, 28u + 184u + 1u);
    std::set<std::string> texts;
    for (unsigned i = 0; i < ALL_NOTIFICATION_NAME_COUNT; ++i) {
        ASSERT_NE(ALL_NOTIFICATION_NAMES[i], nullptr);
        EXPECT_TRUE(texts.insert(ALL_NOTIFICATION_NAMES[i]->text).second) << ALL_NOTIFICATION_NAMES[i]->text;
    }
    struct Case {
        const CCString* constant;
        const char* text;
    } cases[] = {
        {EVENT_NEW_ACTOR, "EVENT_NEW_ACTOR"},
        {EVENT_ACTION, "EVENT_ACTION"},
        {EVENT_TAP_ANIMATION, "EVENT_TAP_ANIMATION"},
        {EVENT_PEARL_SPWANED, "EVENT_PEARL_SPWANED"},
        {APPVIP_DID_CLOSE, "APPVIP_DID_CLOSE"},
        {SCREEN_MENU_MAIN, "Menu - Main"},
        {SCREEN_MENU_BUY_REAL_MONEY, "Menu - Buy - Real money"},
        {SCREEN_INGAME_PAUSE, "InGame - Pause"},
        {PRODUCT_FONT, "fonts/Kelvos-Kelvos.ttf"},
        {HUD_FONT, "Junction 02.ttf"},
        {ITEM_SPIKY_SHELL, "spiky_shell"},
        {MAP_FILE_NAMES[0], "M01a.tmx"},
        {MAP_FILE_NAMES[10], "___________"},
        {MAP_FILE_NAMES[11], "Map_BigRock.tmx"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(c.constant->text, c.text);
    EXPECT_STREQ(PRODUCT_FONT_NAME, "fonts/Kelvos-Kelvos.ttf");
    EXPECT_EQ(HIGHLIGHT_COLOR.r, 0);
    EXPECT_EQ(HIGHLIGHT_COLOR.g, 255);
    EXPECT_EQ(HIGHLIGHT_COLOR.b, 255);
}

TEST(KVGlobalNamesTest, ListsHoldTheirIds) {
    auto countIds = [](const CCString* list) {
        return 1 + std::count(list->text.begin(), list->text.end(), ',');
    };
    EXPECT_EQ(countIds(TUTORIAL_CHATTER_LIST), 17);
    EXPECT_EQ(countIds(TUTORIAL_CHATTER_LIST_SHORT), 16);
    EXPECT_EQ(TUTORIAL_CHATTER_LIST_SHORT->text.find("Tutos_chatzo"), std::string::npos);
    EXPECT_EQ(countIds(LANGUAGE_KEY_LIST), 5);
}

TEST(KVGlobalNamesTest, AFreshStringWithAConstantsTextReachesItsObservers) {
    auto* counter = new Counter();
    CCNotificationCenter* center = CCNotificationCenter::getInstance();
    center->addObserver(counter, notification_selector(Counter::onEvent), EVENT_START_TURN, nullptr);
    auto* fresh = new CCString("EVENT_START_TURN");
    center->postNotification(fresh);
    center->postNotification(EVENT_START_TURN);
    center->postNotification(EVENT_END_TURN);
    EXPECT_EQ(counter->calls, 2);
    // Posting retains and releases the constant: it stays alive with its one reference.
    EXPECT_EQ(EVENT_START_TURN->retainCount(), 1u);
    fresh->release();
    center->removeObserver(counter);
    counter->release();
    CCNotificationCenter::purgeInstance();
}
