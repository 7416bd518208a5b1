#include <gtest/gtest.h>

#include "engine/base/CCAutoreleasePoolStack.h"
#include "game/world/KVActionEvent.h"

using kvengine::CCAutoreleasePoolStack;
using kvengine::CCString;

TEST(KVActionEventTest, StartsEmptyAndHoldsItsTextUntilCleanUp) {
    auto* event = new KVActionEvent();
    EXPECT_EQ(event->type, 0);
    EXPECT_EQ(event->value, 0);
    EXPECT_EQ(event->ratio, 0.0f);
    EXPECT_EQ(event->actor, nullptr);
    EXPECT_EQ(event->getText(), nullptr);
    EXPECT_TRUE(event->isKindOf("KVActionEvent"));
    EXPECT_TRUE(event->isKindOf("CCObject"));

    auto* sticker = new CCString("combo_sticker.png");
    event->setText(sticker);
    event->setText(sticker); // the same text again must not free it
    EXPECT_EQ(sticker->retainCount(), 2u);
    event->release();
    EXPECT_EQ(sticker->retainCount(), 1u);
    sticker->release();
}

TEST(KVActionEventTest, CreateFillsAndAutoreleases) {
    CCAutoreleasePoolStack::getInstance().push();
    KVActionEvent* event = KVActionEvent::create(3, 42, 0.25f, nullptr, nullptr);
    EXPECT_EQ(event->type, 3);
    EXPECT_EQ(event->value, 42);
    EXPECT_EQ(event->ratio, 0.25f);
    EXPECT_TRUE(event->isManaged());
    CCAutoreleasePoolStack::getInstance().pop();
}
