// The shadow label drawn on an offscreen window: where its shadow lands, how it follows anchor,
// opacity, text and actions, and what a label that cannot show its text does.
#include "game/hud/KVLabelWithShadow.h"

#include "LabelPixels.h"
#include "engine/actions/CCActionManager.h"
#include "engine/actions/CCDelayTime.h"
#include "engine/actions/CCFadeTo.h"
#include "engine/actions/CCMoveTo.h"
#include "engine/actions/CCSequence.h"
#include "engine/actions/CCTintTo.h"
#include "engine/base/CCString.h"
#include "support/TestFiles.h"

using namespace kvengine;
using labelpixels::Mask;

namespace {

const char* const kFont = "fonts/Kelvos-Kelvos.ttf";

class ShadowLabelTest : public labelpixels::LabelFixture {
protected:
    ShadowLabelTest() : LabelFixture(160, 64) {}

    KVLabelWithShadow* makeLabel(const char* text = "Hello") {
        KVLabelWithShadow* label = KVLabelWithShadow::createWithStdString(text, kFont, 28);
        label->setPosition(CCPoint(80, 32));
        return label;
    }
    /// Where the shadow lies beside the text, in window pixels: drawn in black, the label with its
    /// shadow reaches past a plain label of the same text by the shadow's displacement (right and
    /// down) and not at all on the other sides.
    void shadowOffset(KVLabelWithShadow* label, int* dx, int* dy) {
        const ccColor3B colour = label->getColor();
        label->setColor(ccColor3B{0, 0, 0});
        draw(label);
        const Mask both = dark();
        label->setColor(colour);
        CCLabelTTF* plain = CCLabelTTF::createWithString(label->getString(), kFont, 28);
        plain->setAnchorPoint(label->getAnchorPoint());
        plain->setPosition(label->getPosition());
        plain->setColor(ccColor3B{0, 0, 0});
        draw(plain);
        const Mask text = dark();
        ASSERT_GT(text.count(), 20);
        EXPECT_EQ(both.left(), text.left());
        EXPECT_EQ(both.top(), text.top());
        *dx = both.right() - text.right();
        *dy = both.bottom() - text.bottom();
    }
    void step(float seconds) { CCActionManager::getInstance()->update(seconds); }
};

TEST_F(ShadowLabelTest, TheShadowSitsOnePointRightAndOneDownWhateverTheAnchor) {
    KVLabelWithShadow* label = makeLabel();
    CCLabelTTF* shadow = label->getShadow();
    ASSERT_NE(shadow, nullptr);
    const CCSize size = label->getContentSize();
    ASSERT_GT(size.width, 20.0f);
    EXPECT_EQ(shadow->getZOrder(), -1);
    EXPECT_FLOAT_EQ(shadow->getPosition().x, size.width / 2 + 1);
    EXPECT_FLOAT_EQ(shadow->getPosition().y, size.height / 2 - 1);
    draw(label);
    screenshot("label_shadow.png");
    const int shadowPixels = dark().count();
    EXPECT_GT(shadowPixels, 20) << "black beside white text";
    int dx = 0, dy = 0;
    shadowOffset(label, &dx, &dy);
    EXPECT_EQ(dx, 1);
    EXPECT_EQ(dy, -1) << "one point down";

    label->setAnchorPoint(CCPoint(0, 0.5f));
    EXPECT_FLOAT_EQ(shadow->getPosition().x, 1);
    EXPECT_FLOAT_EQ(shadow->getPosition().y, size.height / 2 - 1);
    EXPECT_FLOAT_EQ(shadow->getAnchorPoint().x, 0);
    EXPECT_FLOAT_EQ(shadow->getAnchorPoint().y, 0.5f);
    label->setPosition(CCPoint(40, 32));
    draw(label);
    EXPECT_GE(ink().left(), 40) << "the text now starts at the label's position";
    EXPECT_LT(ink().left(), 45);
    EXPECT_GT(dark().count(), shadowPixels / 2) << "the shadow came along";
    shadowOffset(label, &dx, &dy);
    EXPECT_EQ(dx, 1);
    EXPECT_EQ(dy, -1);
}

TEST_F(ShadowLabelTest, TextColourAndOpacityChangesKeepTheShadowInStep) {
    KVLabelWithShadow* label = makeLabel("Hi");
    CCLabelTTF* shadow = label->getShadow();
    ASSERT_NE(shadow, nullptr);
    label->setString("Hello again");
    EXPECT_STREQ(shadow->getString(), "Hello again");
    EXPECT_FLOAT_EQ(shadow->getPosition().x, label->getContentSize().width / 2 + 1);
    label->setColor(ccColor3B{255, 255, 0});
    draw(label);
    EXPECT_GT(near(255, 255, 0, 60).count(), 20) << "yellow text";
    EXPECT_GT(dark().count(), 20) << "the shadow stays black under coloured text";

    label->setOpacity(0);
    EXPECT_EQ(shadow->getOpacity(), 0);
    draw(label);
    EXPECT_EQ(dark().count(), 0);
    EXPECT_EQ(ink().count(), 0);
}

TEST_F(ShadowLabelTest, WideTextsAndBoxesAreShadowedToo) {
    CCString* text = new CCString(u"\u00c9t\u00e9");
    text->autorelease();
    KVLabelWithShadow* wide = KVLabelWithShadow::createWithString(text, kFont, 28);
    ASSERT_NE(wide->getShadow(), nullptr);
    ASSERT_NE(wide->getShadow()->getWideString(), nullptr);
    EXPECT_EQ(std::u16string(wide->getShadow()->getWideString()), u"\u00c9t\u00e9");

    KVLabelWithShadow* boxed = KVLabelWithShadow::createWithStdStringInBox("Hi", kFont, 20, 150, 40);
    ASSERT_NE(boxed->getShadow(), nullptr);
    EXPECT_EQ(boxed->getAlignment(), 1) << "always centred";
    EXPECT_EQ(boxed->getShadow()->getAlignment(), 1);
    EXPECT_FLOAT_EQ(boxed->getShadow()->getDimensions().width, 150);
    boxed->setPosition(CCPoint(80, 32));
    draw(boxed);
    const Mask ink = this->ink();
    EXPECT_NEAR((ink.left() + ink.right()) / 2.0, 80, 3) << "centred in its box";
}

TEST_F(ShadowLabelTest, ActionsRunWithTheShadowAsTheirKindSays) {
    // A fade-in: the shadow fades to 255 over the same time.
    KVLabelWithShadow* label = makeLabel();
    enter(label);
    label->setOpacity(0);
    CCAction* fade = CCFadeIn::createWithDuration(1.0f);
    EXPECT_EQ(label->runActionWithOutline(fade), fade);
    step(0); // actions take their start values on the first step
    step(0.5f);
    EXPECT_NEAR(label->getShadow()->getOpacity(), 127, 3);
    draw(label);
    const int halfFaded = dark().count();
    step(0.6f);
    EXPECT_EQ(label->getShadow()->getOpacity(), 255);
    draw(label);
    EXPECT_GT(dark().count(), halfFaded) << "the shadow darkened as it faded in";

    // A tint of its own is copied to the shadow; inside a sequence it is not.
    KVLabelWithShadow* copied = makeLabel();
    enter(copied);
    copied->runActionWithOutline(CCTintTo::createWithDurationColor(0.1f, 255, 0, 0));
    KVLabelWithShadow* sequenced = makeLabel();
    enter(sequenced);
    sequenced->runActionWithOutline(CCSequence::createWithTwoActions(
        CCTintTo::createWithDurationColor(0.1f, 255, 0, 0), CCDelayTime::createWithDuration(0.01f)));
    EXPECT_EQ(CCActionManager::getInstance()->countActionsForTarget(copied->getShadow()), 1u);
    EXPECT_EQ(CCActionManager::getInstance()->countActionsForTarget(sequenced->getShadow()), 0u);
    step(0);
    step(0.2f);
    draw(sequenced);
    EXPECT_GT(near(255, 0, 0, 40).count(), 20) << "red text";
    const int blackShadow = dark().count();
    EXPECT_GT(blackShadow, 100) << "the sequence left the shadow black";
    draw(copied);
    EXPECT_GT(near(255, 0, 0, 40).count(), 20) << "red text";
    // Only the darker rims of the red glyphs are left.
    EXPECT_LT(dark().count(), blackShadow * 2 / 3) << "the copied tint turned the shadow red as well";

    // A move: nothing for the shadow, which follows as a child.
    KVLabelWithShadow* moved = makeLabel();
    enter(moved);
    moved->runActionWithOutline(CCMoveTo::createWithDurationPosition(0.1f, CCPoint(40, 32)));
    EXPECT_EQ(CCActionManager::getInstance()->countActionsForTarget(moved->getShadow()), 0u);
    step(0);
    step(0.2f);
    draw(moved);
    EXPECT_LT(ink().right(), 80) << "moved left";
    int dx = 0, dy = 0;
    shadowOffset(moved, &dx, &dy);
    EXPECT_EQ(dx, 1);
    EXPECT_EQ(dy, -1);

    moved->runActionWithOutline(CCTintTo::createWithDurationColor(5, 1, 2, 3));
    moved->stopActionsWithOutline();
    EXPECT_EQ(CCActionManager::getInstance()->countActionsForTarget(moved), 0u);
    EXPECT_EQ(CCActionManager::getInstance()->countActionsForTarget(moved->getShadow()), 0u);
    EXPECT_EQ(moved->runActionWithOutline(nullptr), nullptr);
}

TEST_F(ShadowLabelTest, ALabelWhoseTextCannotBeShownIsReturnedAndStaysSafe) {
    kvtest::LogLines log;
    // A box wider than any texture: the text cannot be laid out.
    KVLabelWithShadow* label = KVLabelWithShadow::createWithStdStringInBox("Lost", kFont, 20, 100000, 40);
    ASSERT_NE(label, nullptr);
    EXPECT_FALSE(label->hasText());
    EXPECT_EQ(label->getShadow(), nullptr);
    const CCPoint anchor = label->getAnchorPoint();
    const size_t before = log.lines.size();
    label->setOpacity(10);
    label->setAnchorPoint(CCPoint(0, 0));
    label->setString("Still lost");
    label->setPosition(CCPoint(5, 5));
    label->runActionWithOutline(CCFadeIn::createWithDuration(0.1f));
    EXPECT_EQ(label->getOpacity(), 255) << "ignored";
    EXPECT_FLOAT_EQ(label->getAnchorPoint().x, anchor.x) << "ignored";
    int ignored = 0;
    for (size_t i = before; i < log.lines.size(); ++i)
        if (log.lines[i].find("ignored") != std::string::npos) ++ignored;
    EXPECT_EQ(ignored, 1) << "one line for the label's whole life";
    draw(label);
    EXPECT_EQ(ink().count(), 0);

    // An empty text is not a failure: it gets its shadow and can be filled later.
    KVLabelWithShadow* empty = KVLabelWithShadow::createWithStdString("", kFont, 20);
    EXPECT_TRUE(empty->hasText());
    ASSERT_NE(empty->getShadow(), nullptr);
    empty->setString("Found");
    EXPECT_STREQ(empty->getShadow()->getString(), "Found");
}

} // namespace
