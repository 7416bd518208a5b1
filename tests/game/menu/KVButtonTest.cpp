// Buttons, the title item and the pearl counter of the menus, on a running scene.
#include "game/menu/KVButton.h"

#include "MenuFixture.h"

#include <algorithm>

#include "engine/base/CCArray.h"
#include "engine/base/CCString.h"
#include "engine/director/CCScene.h"
#include "engine/director/CCScheduler.h"
#include "engine/sprites/CCSpriteFrame.h"
#include "engine/sprites/CCSpriteFrameCache.h"
#include "game/app/KVGlobalNames.h"
#include "game/data/KVPlayerParameters.h"
#include "game/hud/KVLabelWithShadow.h"
#include "game/menu/KVButtonItem.h"
#include "game/menu/KVPearlCountItem.h"
#include "game/menu/KVTitleItem.h"
#include "support/TestFiles.h"

using namespace kvengine;

namespace {

class Target : public CCObject {
public:
    void onPress(CCObject* sender) {
        ++presses;
        lastSender = sender;
    }
    int presses = 0;
    CCObject* lastSender = nullptr;
};

class MenuItemsTest : public menutest::MenuFixture {};

TEST_F(MenuItemsTest, AKind23ButtonIsCentredOnItsPositionWithItsCaption) {
    Target target;
    auto* caption = new CCString("Continue");
    caption->autorelease();
    KVButton* button = KVButton::createWithLabel(caption, 300, 200, 23, &target,
                                                 static_cast<SEL_MenuHandler>(&Target::onPress));
    ASSERT_NE(button, nullptr);
    KVButtonItem* item = button->getItem();
    ASSERT_NE(item, nullptr);
    CCSpriteFrame* frame = CCSpriteFrameCache::getInstance()->findSpriteFrameByName("Kv_BT_Down.png");
    ASSERT_NE(frame, nullptr);
    const CCSize picture(frame->getOriginalSizeInPixels().width / 2,
                         frame->getOriginalSizeInPixels().height / 2);
    EXPECT_FLOAT_EQ(picture.width, 180) << "two texels a point";
    EXPECT_FLOAT_EQ(item->getContentSize().width, picture.width);
    EXPECT_FLOAT_EQ(button->getContentSize().height, picture.height);
    EXPECT_EQ(button->getKind(), 23);
    EXPECT_EQ(button->getPressState(), KVButton::kReleased);
    EXPECT_STREQ(button->getLabelString(), "Continue");
    auto* label = static_cast<KVLabelWithShadow*>(item->getChildByTag(KVButtonItem::kLabelTag));
    ASSERT_NE(label, nullptr);
    EXPECT_TRUE(label->isKindOf("KVLabelWithShadow"));
    EXPECT_FLOAT_EQ(label->getPosition().x, picture.width / 2);
    EXPECT_FLOAT_EQ(label->getPosition().y, picture.height / 2);
    base->addChild(button);
    EXPECT_FLOAT_EQ(centreOf(button).x, 300);
    EXPECT_FLOAT_EQ(centreOf(button).y, 200);
    button->setLabelString("Go on");
    EXPECT_STREQ(button->getLabelString(), "Go on");

    // Kinds without pictures, and the forms a kind does not come in, are refused with a log line.
    struct Refused {
        int kind;
        bool text;
    };
    for (const Refused& r : {Refused{16, true}, Refused{0, false}, Refused{26, true}, Refused{18, true},
                             Refused{19, true}, Refused{25, false}}) {
        SCOPED_TRACE(r.kind);
        kvtest::LogLines log;
        auto* nope = new CCString("Nope");
        nope->autorelease();
        KVButton* refused = r.text
                                ? KVButton::createWithText("Nope", 0, 0, r.kind, &target,
                                                           static_cast<SEL_MenuHandler>(&Target::onPress))
                                : KVButton::createWithLabel(nope, 0, 0, r.kind, &target,
                                                            static_cast<SEL_MenuHandler>(&Target::onPress));
        EXPECT_EQ(refused, nullptr);
        EXPECT_TRUE(log.contains("kind " + std::to_string(r.kind)));
    }
}

TEST_F(MenuItemsTest, APressClicksActivatesOnceAndLocksTheButtonForHalfASecond) {
    Target target;
    menutest::Recorder recorder;
    recorder.observe(EVENT_BUTTON_VALIDATED);
    KVButton* button = KVButton::createWithText("Restart", 480, 300, 23, &target,
                                                static_cast<SEL_MenuHandler>(&Target::onPress));
    ASSERT_NE(button, nullptr);
    base->addChild(button);
    frame();

    press(480, 300);
    EXPECT_EQ(button->getPressState(), KVButton::kPressed);
    lift(480, 300);
    EXPECT_EQ(button->getPressState(), KVButton::kReleased);
    EXPECT_EQ(target.presses, 1);
    EXPECT_EQ(target.lastSender, button->getItem());
    EXPECT_EQ(recorder.count("EVENT_BUTTON_VALIDATED"), 1);
    EXPECT_FALSE(button->getItem()->isEnabled());

    tap(480, 300);
    EXPECT_EQ(target.presses, 1) << "locked";
    run(0.6f);
    EXPECT_TRUE(button->getItem()->isEnabled());
    tap(480, 300);
    EXPECT_EQ(target.presses, 2);

    // A press dragged off the button clicks but activates nothing.
    run(0.6f);
    press(480, 300);
    move(20, 20);
    lift(20, 20);
    EXPECT_EQ(target.presses, 2);
    // Releases of the first, third and fourth presses; the second met a disabled button.
    EXPECT_EQ(recorder.count("EVENT_BUTTON_VALIDATED"), 3);
}

TEST_F(MenuItemsTest, ATitleTakesItsLabelsSize) {
    auto* name = new CCString("Steev");
    name->autorelease();
    KVTitleItem* title = KVTitleItem::createWithTitle(name, PRODUCT_FONT_NAME, 26);
    ASSERT_NE(title, nullptr);
    ASSERT_NE(title->getChildren(), nullptr);
    ASSERT_EQ(title->getChildren()->count(), 1u);
    auto* label = static_cast<KVLabelWithShadow*>(title->getChildren()->objectAtIndex(0));
    EXPECT_TRUE(label->isKindOf("KVLabelWithShadow"));
    EXPECT_EQ(label->getZOrder(), 1);
    EXPECT_STREQ(label->getString(), "Steev");
    EXPECT_FLOAT_EQ(title->getContentSize().width, label->getContentSize().width);
    EXPECT_FLOAT_EQ(title->getContentSize().height, label->getContentSize().height);
    EXPECT_FLOAT_EQ(title->getAnchorPoint().x, 0);
    EXPECT_FLOAT_EQ(title->getPosition().y, 0);
    EXPECT_EQ(title->getTexture(), nullptr);
}

class PearlCounterTest : public menutest::MenuFixture {
protected:
    void setPearls(int amount) {
        KVPlayerParameters* profile = KVPlayerParameters::getInstance();
        profile->removePearls(profile->getPearlAmount());
        profile->addPearls(amount);
    }
    static std::string shown(KVPearlCountItem* counter) {
        auto* label = static_cast<KVLabelWithShadow*>(counter->getChildByTag(KVPearlCountItem::kLabelTag));
        return label != nullptr ? label->getString() : "<none>";
    }
    bool scheduled(KVPearlCountItem* counter) { return CCScheduler::getInstance()->timerCount(counter) > 0; }
};

TEST_F(PearlCounterTest, TheCounterIsBuiltFromTheProfileAndTheIcon) {
    setPearls(1234);
    KVPearlCountItem* small = KVPearlCountItem::createSmall();
    EXPECT_EQ(shown(small), "1234");
    auto* label = static_cast<KVLabelWithShadow*>(small->getChildByTag(KVPearlCountItem::kLabelTag));
    EXPECT_EQ(label->getColor(), (ccColor3B{255, 255, 0}));
    EXPECT_EQ(label->getZOrder(), 2);
    EXPECT_FLOAT_EQ(label->getPosition().x, small->getContentSize().width - 20);
    const CCSize icon(18, 18);
    EXPECT_FLOAT_EQ(small->getContentSize().width, label->getContentSize().width + 10 + icon.width / 2);
    EXPECT_FLOAT_EQ(small->getContentSize().height, icon.height);
    KVPearlCountItem* large = KVPearlCountItem::createLarge();
    EXPECT_EQ(static_cast<KVLabelWithShadow*>(large->getChildByTag(KVPearlCountItem::kLabelTag))->getColor(),
              (ccColor3B{255, 162, 0}));
}

TEST_F(PearlCounterTest, AGainIsCountedUpInAboutASecondAndALossShowsAtOnce) {
    setPearls(100);
    KVPearlCountItem* counter = KVPearlCountItem::createSmall();
    base->addChild(counter);
    // 300 more pearls: log(300) / log(300) = one second, steps in proportion to the frame time.
    setPearls(400);
    counter->startCountUp();
    EXPECT_TRUE(scheduled(counter));
    int steps = 0;
    int ticks = 0;
    int previous = counter->getShownAmount();
    float elapsed = 0;
    float lastTick = 0;
    float closestTicks = 1;
    while (counter->getRemaining() != 0 && steps < 200) {
        counter->update(0.012f);
        elapsed += 0.012f;
        EXPECT_GE(counter->getShownAmount(), previous);
        previous = counter->getShownAmount();
        if (counter->getLastTickTime() != lastTick) {
            if (ticks > 0) closestTicks = std::min(closestTicks, counter->getLastTickTime() - lastTick);
            lastTick = counter->getLastTickTime();
            ++ticks;
        }
        ++steps;
    }
    EXPECT_EQ(shown(counter), "400");
    EXPECT_NEAR(elapsed, 1.0f, 0.05f);
    EXPECT_GE(ticks, 8) << "a tick about every 0.09 s";
    EXPECT_LE(ticks, 12);
    EXPECT_GT(closestTicks, 0.09f);
    counter->update(0.012f);
    EXPECT_FALSE(scheduled(counter)) << "stops once everything is counted";

    // Retargeting while counting keeps the schedule and counts to the new amount.
    setPearls(500);
    counter->startCountUp();
    counter->update(0.012f);
    setPearls(520);
    counter->startCountUp();
    EXPECT_EQ(counter->getRemaining(), 520 - counter->getShownAmount());
    for (int i = 0; i < 200 && counter->getRemaining() != 0; ++i)
        counter->update(0.012f);
    EXPECT_EQ(shown(counter), "520");

    // A loss jumps; no change stops at the first step.
    setPearls(20);
    counter->startCountUp();
    counter->update(0.012f);
    EXPECT_EQ(shown(counter), "20");
    counter->startCountUp();
    EXPECT_EQ(counter->getRemaining(), 0);
    counter->update(0.0f);
    EXPECT_TRUE(scheduled(counter)) << "a zero step does nothing";
    counter->update(0.012f);
    EXPECT_FALSE(scheduled(counter));
}

} // namespace
