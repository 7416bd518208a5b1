// The stroke label drawn on an offscreen window: the outline it bakes, when it bakes again, and
// how it follows the label.
#include "game/hud/KVLabelWithStroke.h"

#include "LabelPixels.h"
#include "engine/actions/CCActionManager.h"
#include "engine/actions/CCDelayTime.h"
#include "engine/actions/CCFadeTo.h"
#include "engine/actions/CCMoveTo.h"
#include "engine/actions/CCScaleTo.h"
#include "engine/actions/CCSequence.h"
#include "engine/effects/CCRenderTexture.h"
#include "engine/sprites/CCSprite.h"
#include "engine/textures/CCTexture2D.h"
#include "support/TestFiles.h"

using namespace kvengine;
using labelpixels::Mask;

namespace {

const char* const kFont = "fonts/Kelvos-Kelvos.ttf";

class StrokeLabelTest : public labelpixels::LabelFixture {
protected:
    StrokeLabelTest() : LabelFixture(240, 64) {}

    KVLabelWithStroke* makeLabel(const char* text, float strokeSize, ccColor3B stroke = {0, 0, 0}) {
        KVLabelWithStroke* label =
            KVLabelWithStroke::createWithStdString(text, kFont, 28, stroke.r, stroke.g, stroke.b, strokeSize);
        label->setPosition(CCPoint(120, 32));
        return label;
    }
    /// What the text alone covers, as a plain label draws it at the same place (its faint edges
    /// included: the outline is made from the text's whole footprint).
    Mask plainText(const char* text) {
        CCLabelTTF* plain = CCLabelTTF::createWithString(text, kFont, 28);
        plain->setPosition(CCPoint(120, 32));
        draw(plain);
        return touched();
    }
    void step(float seconds) { CCActionManager::getInstance()->update(seconds); }
};

TEST_F(StrokeLabelTest, TheOutlineHasTheStrokeSizeAndColourAndAZeroSizeMeansOneBlackPoint) {
    const Mask text = plainText("Wave");
    ASSERT_GT(text.count(), 50);

    KVLabelWithStroke* thin = makeLabel("Wave", 0, ccColor3B{255, 0, 0});
    EXPECT_FLOAT_EQ(thin->getStrokeSize(), 1.0f);
    EXPECT_EQ(thin->getStrokeColor(), (ccColor3B{0, 0, 0})) << "stroke size 0 means black";
    ASSERT_NE(thin->getOutline(), nullptr);
    EXPECT_EQ(thin->getChildByTag(KVLabelWithStroke::kOutlineTag), thin->getOutline());
    EXPECT_EQ(thin->getOutline()->getZOrder(), -1);
    draw(thin);
    screenshot("label_stroke_default.png");
    const Mask thinRim = dark();
    EXPECT_GT(thinRim.count(), 40) << "a black rim around the text";
    EXPECT_LE(farthest(thinRim, text), 2) << "one point wide";
    EXPECT_GT(ink().count(), text.count() / 2) << "the text itself is drawn over its outline";

    KVLabelWithStroke* thick = makeLabel("Wave", 3, ccColor3B{255, 0, 0});
    EXPECT_FLOAT_EQ(thick->getOutline()->getContentSize().width,
                    thick->getTexture()->getContentSize().width + 6);
    draw(thick);
    screenshot("label_stroke_red3.png");
    const Mask thickRim = near(255, 0, 0, 70);
    EXPECT_GT(thickRim.count(), thinRim.count()) << "a wider, red rim";
    EXPECT_GE(farthest(thickRim, text), 3);
    EXPECT_LE(farthest(thickRim, text), 4);
    EXPECT_LT(dark().count(), thickRim.count() / 10) << "red, not black";
}

TEST_F(StrokeLabelTest, AColourChangeKeepsTheOutlineAndATextChangeBakesItAgain) {
    KVLabelWithStroke* label = makeLabel("Go", 2);
    CCRenderTexture* outline = label->getOutline();
    ASSERT_NE(outline, nullptr);
    draw(label);
    const Mask rimBefore = dark();
    ASSERT_GT(rimBefore.count(), 20);

    label->setColor(ccColor3B{255, 255, 0});
    EXPECT_EQ(label->getOutline(), outline) << "not baked again";
    draw(label);
    EXPECT_GT(near(255, 255, 0, 60).count(), 20) << "yellow text";
    EXPECT_EQ(dark().count(), rimBefore.count()) << "the same black rim";

    label->setString("Go further");
    ASSERT_NE(label->getOutline(), nullptr);
    EXPECT_EQ(label->getChildByTag(KVLabelWithStroke::kOutlineTag), label->getOutline());
    EXPECT_GT(label->getOutline()->getContentSize().width, 1.5f * outline->getContentSize().width);
    const Mask text = plainText("Go further");
    draw(label);
    screenshot("label_stroke_retexted.png");
    const Mask rimAfter = dark();
    EXPECT_GT(rimAfter.count(), 2 * rimBefore.count()) << "around the new text";
    EXPECT_LE(farthest(rimAfter, text), 3);
    EXPECT_LT(rimAfter.left(), text.left()) << "around the whole new text";
    EXPECT_GT(rimAfter.right(), text.right());
    EXPECT_LT(rimAfter.bottom(), text.bottom());
    EXPECT_GT(rimAfter.top(), text.top());
}

TEST_F(StrokeLabelTest, AnEmptyTextShowsALetterButAnEmptyWideTextShowsNothing) {
    KVLabelWithStroke* label = makeLabel("Full", 1);
    label->setString("");
    EXPECT_STREQ(label->getString(), "a");
    draw(label);
    EXPECT_GT(ink().count(), 10);
    EXPECT_GT(dark().count(), 10);

    label->setWideString(u"");
    EXPECT_STREQ(label->getString(), "");
    draw(label);
    EXPECT_EQ(ink().count(), 0);
    EXPECT_EQ(dark().count(), 0);

    label->setWideString(u"\u00e9t\u00e9");
    draw(label);
    EXPECT_GT(dark().count(), 10) << "a wide text gets its outline";
}

TEST_F(StrokeLabelTest, TheOutlineFollowsTheLabelsAnchorPositionAndMoves) {
    KVLabelWithStroke* label = makeLabel("Drift", 2);
    enter(label);
    label->setAnchorPoint(CCPoint(1, 0.5f));
    EXPECT_FLOAT_EQ(label->getOutline()->getPosition().x, label->getContentSize().width / 2);
    EXPECT_FLOAT_EQ(label->getOutline()->getAnchorPoint().x, 0);
    label->setPosition(CCPoint(150, 32));
    draw(label);
    EXPECT_LE(farthest(dark(), touched()), 3) << "the rim stays around the text";

    label->runActionWithOutline(CCMoveTo::createWithDurationPosition(0.1f, CCPoint(100, 32)));
    EXPECT_EQ(CCActionManager::getInstance()->countActionsForTarget(label->getOutline()->getSprite()), 0u);
    label->runActionWithOutline(CCSequence::createWithTwoActions(
        CCDelayTime::createWithDuration(0.01f), CCScaleTo::createWithDurationScale(0.1f, 1.4f)));
    EXPECT_EQ(CCActionManager::getInstance()->countActionsForTarget(label->getOutline()->getSprite()), 0u);
    step(0);
    step(0.2f);
    draw(label);
    EXPECT_LE(farthest(dark(), ink()), 6) << "moved and scaled together";
    EXPECT_LT(ink().right(), 110) << "moved left";

    label->runActionWithOutline(CCScaleTo::createWithDurationScale(0.5f, 2.0f));
    EXPECT_EQ(CCActionManager::getInstance()->countActionsForTarget(label->getOutline()->getSprite()), 1u);
    label->stopActionsWithOutline();
    EXPECT_EQ(CCActionManager::getInstance()->countActionsForTarget(label->getOutline()->getSprite()), 0u);
    EXPECT_EQ(CCActionManager::getInstance()->countActionsForTarget(label), 0u);
}

// A fade given through runActionWithOutline reaches the outline's picture; one given to the label
// alone leaves the outline as it was (the label's opacity is not passed on).
TEST_F(StrokeLabelTest, AFadeRunWithTheOutlineFadesTheOutlineToo) {
    KVLabelWithStroke* label = makeLabel("Fade", 2);
    enter(label);
    draw(label);
    const int rim = dark().count();
    ASSERT_GT(rim, 20);
    CCSprite* picture = label->getOutline()->getSprite();
    ASSERT_NE(picture, nullptr);

    label->runActionWithOutline(CCFadeOut::createWithDuration(1.0f));
    step(0);
    step(0.5f);
    EXPECT_NEAR(picture->getOpacity(), 127, 3);
    step(0.6f);
    EXPECT_EQ(picture->getOpacity(), 0);
    draw(label);
    EXPECT_EQ(dark().count(), 0) << "the outline faded out with the text";
    EXPECT_EQ(ink().count(), 0);

    // Faded in again: the outline comes back from where it is to full over the same time.
    label->runActionWithOutline(CCFadeIn::createWithDuration(1.0f));
    step(0);
    step(0.5f);
    EXPECT_NEAR(picture->getOpacity(), 127, 3);
    step(0.6f);
    EXPECT_EQ(picture->getOpacity(), 255);
    draw(label);
    EXPECT_EQ(dark().count(), rim) << "the same rim as before";

    KVLabelWithStroke* alone = makeLabel("Fade", 2);
    enter(alone);
    alone->runAction(CCFadeOut::createWithDuration(0.1f));
    step(0);
    step(0.2f);
    EXPECT_EQ(alone->getOutline()->getSprite()->getOpacity(), 255);
    draw(alone);
    EXPECT_EQ(ink().count(), 0) << "the text faded";
    EXPECT_GT(dark().count(), 20) << "its outline did not";
}

TEST_F(StrokeLabelTest, ABoxTooLargeForARenderTextureGetsNoOutlineAndSaysSo) {
    kvtest::LogLines log;
    auto* label = new KVLabelWithStroke();
    label->autorelease();
    ASSERT_TRUE(label->initWithStringDimensions("Wide", 1, kFont, 20, 1100, 40));
    EXPECT_EQ(label->getOutline(), nullptr);
    EXPECT_TRUE(log.contains("no outline")) << "not silently";
    label->setString("Still wide");
    EXPECT_EQ(label->getOutline(), nullptr);

    auto* fits = new KVLabelWithStroke();
    fits->autorelease();
    ASSERT_TRUE(fits->initWithStringDimensions("Narrow", 1, kFont, 20, 1000, 40));
    EXPECT_NE(fits->getOutline(), nullptr);
}

} // namespace
