#include <gtest/gtest.h>

#include "engine/base/CCAutoreleasePoolStack.h"
#include "game/world/KVActionEvent.h"

using kvengine::CCAutoreleasePoolStack;
using kvengine::CCString;

TEST(KVActionEventTest, HoldsItsTextUntilCleanUp) {
    auto* event = new KVActionEvent();
    auto* sticker = new CCString("combo_sticker.png");
    event->setText(sticker);
    event->setText(sticker); // the same text again must not free it
    EXPECT_EQ(sticker->retainCount(), 2u);
    event->release();
    EXPECT_EQ(sticker->retainCount(), 1u);
    sticker->release();
}

// Made autoreleased, to be posted at once: a receiver that retains the event keeps it, and its
// text, past the pool's drain.
TEST(KVActionEventTest, AnEventKeptByItsReceiverOutlivesThePool) {
    auto* sticker = new CCString("combo_sticker.png");
    CCAutoreleasePoolStack::getInstance().push();
    KVActionEvent* kept = KVActionEvent::create(3, 42, 0.25f, nullptr, nullptr);
    kept->setText(sticker);
    kept->retain(); // the receiver
    CCAutoreleasePoolStack::getInstance().pop();
    EXPECT_EQ(kept->retainCount(), 1u);
    EXPECT_EQ(kept->value, 42);
    EXPECT_EQ(kept->getText(), sticker);
    kept->release();
    EXPECT_EQ(sticker->retainCount(), 1u) << "the event let its text go";
    sticker->release();
}
