#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "InputTestSupport.h"
#include "engine/input/CCIMEDelegate.h"
#include "engine/input/CCIMEDispatcher.h"
#include "engine/input/CCKeypadDispatcher.h"

using namespace kvengine;

namespace {

class KeyRecorder : public CCKeypadDelegate {
public:
    KeyRecorder(std::string name, std::vector<std::string>* log) : name_(std::move(name)), log_(log) {}
    void keyPressed(int keyCode) override {
        log_->push_back(name_ + std::to_string(keyCode));
        if (onKey) {
            onKey();
        }
    }
    void retainOwner() override { ++ownerReferences; }
    void releaseOwner() override { --ownerReferences; }

    std::function<void()> onKey;
    int ownerReferences = 0;

private:
    std::string name_;
    std::vector<std::string>* log_;
};

class KeypadDispatcherTest : public testing::Test {
protected:
    void TearDown() override {
        dispatcher->release();
        CCAutoreleasePoolStack::getInstance().clearAllPools();
    }
    std::string press(int code) {
        log.clear();
        dispatcher->dispatchKeyCode(code);
        std::string out;
        for (const std::string& item : log) {
            out += (out.empty() ? "" : " ") + item;
        }
        return out;
    }

    std::vector<std::string> log;
    KeyRecorder a{"A", &log};
    KeyRecorder b{"B", &log};
    CCKeypadDispatcher* dispatcher = new CCKeypadDispatcher();
};

class TextField : public CCIMEDelegate {
public:
    bool accepts = true;
    bool allowsLoss = true;
    std::string text;
    int backspaces = 0;
    int gained = 0;
    int lost = 0;

    bool acceptsInputFocus() override { return accepts; }
    bool allowsInputFocusLoss() override { return allowsLoss; }
    void onInputFocusGained() override { ++gained; }
    void onInputFocusLost() override { ++lost; }
    void receiveText(const char* chars, int length) override {
        text.append(chars, static_cast<size_t>(length));
    }
    void receiveBackspace() override { ++backspaces; }
};

} // namespace

TEST_F(KeypadDispatcherTest, EveryKeyReachesTheDelegatesInRegistrationOrder) {
    dispatcher->addDelegate(&a);
    dispatcher->addDelegate(&b);
    EXPECT_EQ(press(0), "A0 B0"); // Escape
    EXPECT_EQ(press(7), "A7 B7");
    kvtest::LogCapture capture;
    EXPECT_EQ(press(8), "");
    EXPECT_EQ(press(-1), "");
    EXPECT_EQ(capture.lines.size(), 2u);
}

TEST_F(KeypadDispatcherTest, RepeatedRegistrationsAndNullDelegates) {
    dispatcher->addDelegate(nullptr);
    dispatcher->removeDelegate(nullptr);
    dispatcher->addDelegate(&a);
    dispatcher->addDelegate(&a);
    EXPECT_EQ(a.ownerReferences, 2);
    EXPECT_EQ(press(1), "A1 A1");
    dispatcher->removeDelegate(&a);
    CCAutoreleasePoolStack::getInstance().clearAllPools();
    EXPECT_EQ(a.ownerReferences, 1);
    EXPECT_EQ(press(1), "A1");
}

TEST_F(KeypadDispatcherTest, ChangesDuringADeliveryApplyAfterItInRequestOrder) {
    dispatcher->addDelegate(&a);
    bool acted = false;
    a.onKey = [&] {
        if (!acted) {
            acted = true;
            dispatcher->addDelegate(&b);
            dispatcher->removeDelegate(&b); // cancels the addition
            dispatcher->removeDelegate(&a);
            dispatcher->addDelegate(&a); // and back in
        }
    };
    EXPECT_EQ(press(2), "A2");
    EXPECT_EQ(dispatcher->handlerCount(), 1u);
    EXPECT_EQ(press(2), "A2");
}

TEST(TextInput, OnlyTheFocusedDelegateReceivesTypedCharacters) {
    CCIMEDispatcher* ime = CCIMEDispatcher::getInstance();
    TextField field;
    ime->dispatchText("lost", 4);
    ime->dispatchBackspace();
    EXPECT_TRUE(field.text.empty());
    EXPECT_EQ(field.backspaces, 0);

    ASSERT_TRUE(field.requestInputFocus());
    EXPECT_EQ(field.gained, 1);
    const struct {
        char32_t typed;
        const char* received;
    } cases[] = {
        {U'a', "a"},  {13, "\n"}, {9, ""}, {27, ""}, {U'\u00e9', "\xC3\xA9"}, {U'\u20ac', "\xE2\x82\xAC"},
        {0xD800, ""}, {U'~', "~"}};
    for (const auto& c : cases) {
        SCOPED_TRACE(static_cast<unsigned>(c.typed));
        field.text.clear();
        ime->dispatchCharacter(c.typed);
        EXPECT_EQ(field.text, c.received);
    }
    ime->dispatchCharacter(8);
    EXPECT_EQ(field.backspaces, 1);
    ime->dispatchText(nullptr, 3);
    ime->dispatchText("abc", 0);
    EXPECT_EQ(field.text, "~");

    EXPECT_TRUE(field.releaseInputFocus());
    EXPECT_EQ(field.lost, 1);
    EXPECT_EQ(ime->getReceiver(), nullptr);
}

TEST(TextInput, FocusMovesOnlyWhenTheHolderLetsGoAndTheTakerAccepts) {
    CCIMEDispatcher* ime = CCIMEDispatcher::getInstance();
    TextField holder;
    TextField taker;
    ASSERT_TRUE(holder.requestInputFocus());

    holder.allowsLoss = false;
    EXPECT_FALSE(taker.requestInputFocus());
    EXPECT_FALSE(holder.releaseInputFocus());
    EXPECT_EQ(ime->getReceiver(), &holder);

    holder.allowsLoss = true;
    taker.accepts = false;
    EXPECT_FALSE(taker.requestInputFocus());
    taker.accepts = true;
    EXPECT_TRUE(taker.requestInputFocus());
    EXPECT_EQ(holder.lost, 1);
    EXPECT_EQ(ime->getReceiver(), &taker);
    EXPECT_FALSE(holder.releaseInputFocus()); // not the receiver

    {
        TextField temporary;
        EXPECT_TRUE(ime->isRegistered(&temporary));
        ASSERT_TRUE(temporary.requestInputFocus());
    }
    // A destroyed receiver leaves no dangling focus.
    EXPECT_EQ(ime->getReceiver(), nullptr);
    ime->dispatchText("x", 1);
    EXPECT_FALSE(ime->attachDelegate(nullptr));
}
