// The dialogue image steps: the stepped zoom, move and fade, the shake, touches during and after an
// animation, still pictures and the skip button, with the Prologue's built picture.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <string>
#include <utility>
#include <vector>

#include "ChatterFixture.h"
#include "engine/base/CCArray.h"
#include "engine/director/CCDirector.h"
#include "engine/director/CCScene.h"
#include "engine/nodes/CCProtocols.h"
#include "engine/sprites/CCSprite.h"
#include "game/chatter/KVChatterImageItem.h"
#include "game/chatter/KVChatterImageView.h"
#include "game/chatter/KVChatterManager.h"
#include "game/data/KVDataAccess.h"

using namespace kvengine;
using chattertest::ChatterFixture;
using kvdata::Dict;

namespace {

Dict* pair(float start, float end) {
    Dict* dict = kvdata::newDict();
    kvdata::setFloat(dict, "start_value", start);
    kvdata::setFloat(dict, "end_value", end);
    return dict;
}

// An image step of the built 960 picture; on the wide screen its base factor is 1.
Dict* imageStep(std::vector<std::pair<std::string, CCObject*>> keys) {
    Dict* step = kvdata::newDict();
    kvdata::setText(step, "background", "M01a_chatter");
    for (auto& key : keys)
        step->setObject(key.second, key.first);
    return step;
}

CCObject* number(float value) {
    return kvdata::newString(std::to_string(value));
}

} // namespace

class ChatterImageStepTest : public ChatterFixture {
protected:
    void setUpWithGL() override {
        ChatterFixture::setUpWithGL();
        chatter->loadChatter("Tutos_chatot"); // the boxes' and buttons' sheets
        CCDirector::wideScreen = 1;
    }
    void tearDownWithGL() override {
        CCDirector::wideScreen = 0;
        ChatterFixture::tearDownWithGL();
    }
    KVChatterImageView* show(Dict* step) {
        auto* view = new KVChatterImageView(step);
        view->autorelease();
        base->addChild(view);
        frame(); // touches open after the first update
        return view;
    }
    void tapCentre() { tap(480, 300); }
};

TEST_F(ChatterImageStepTest, AZoomGoesInStepsOfThreeHundredthsToItsEnd) {
    KVChatterImageView* view = show(imageStep({{"during_number", number(1)}, {"scale", pair(1, 2)}}));
    KVChatterImageItem* item = view->getItem();
    ASSERT_NE(item, nullptr);
    ASSERT_NE(item->getPicture(), nullptr);
    EXPECT_TRUE(item->isWidePicture());
    EXPECT_EQ(item->getStepActionCount(), 33u);
    run(0.5f);
    EXPECT_GT(item->getPicture()->getScaleX(), 1.3f);
    EXPECT_LT(item->getPicture()->getScaleX(), 1.7f);
    EXPECT_FALSE(view->isFinished());
    run(0.6f);
    EXPECT_NEAR(item->getPicture()->getScaleX(), 2.0f, 1e-4f);
    EXPECT_TRUE(view->isFinished());
}

TEST_F(ChatterImageStepTest, ThreeKindsOfOneSecondPlayOneAfterAnother) {
    Dict* move = kvdata::newDict();
    Dict* from = kvdata::newDict();
    Dict* to = kvdata::newDict();
    kvdata::setFloat(to, "x", 30);
    kvdata::setFloat(to, "y", 20);
    kvdata::setFloat(from, "x", 0);
    kvdata::setFloat(from, "y", 0);
    move->setObject(from, "start_value");
    move->setObject(to, "end_value");
    KVChatterImageView* view = show(imageStep(
        {{"during_number", number(1)}, {"scale", pair(1, 1.5f)}, {"fade", pair(0, 255)}, {"move", move}}));
    KVChatterImageItem* item = view->getItem();
    EXPECT_EQ(item->getStepActionCount(), 99u);
    run(2.8f);
    EXPECT_FALSE(view->isFinished());
    run(0.4f);
    EXPECT_TRUE(view->isFinished());
    const CCPoint rest = item->restPosition();
    EXPECT_NEAR(item->getPicture()->getPosition().x, rest.x + 30, 0.01f);
    EXPECT_NEAR(item->getPicture()->getPosition().y, rest.y - 20, 0.01f);
    EXPECT_EQ(item->getPicture()->getOpacity(), 255);
}

TEST_F(ChatterImageStepTest, AShakeRunsFourCyclesOfTenPoints) {
    KVChatterImageView* view = show(
        imageStep({{"during_number", number(0.7f)}, {"fade", pair(0, 128)}, {"radius_value", number(10)}}));
    KVChatterImageItem* item = view->getItem();
    EXPECT_EQ(item->getMode(), 0);
    EXPECT_EQ(item->getShakeCycles(), 4);
    EXPECT_EQ(item->getPicture()->getOpacity(), 128) << "shown at its end opacity";
    EXPECT_NEAR(item->getPicture()->getScaleX(), 1.1f, 1e-5f);
    const CCPoint home(32, 8);
    float maxX = 0, minY = 0, maxY = 0;
    float finishedAt = -1;
    for (int f = 1; f <= 60 && finishedAt < 0; ++f) {
        frame();
        const CCPoint at = item->getPosition();
        maxX = std::max(maxX, at.x - home.x);
        minY = std::min(minY, at.y - home.y);
        maxY = std::max(maxY, at.y - home.y);
        if (view->isFinished()) finishedAt = static_cast<float>(f) / 60;
    }
    EXPECT_NEAR(maxX, 10, 0.5f);
    EXPECT_NEAR(minY, -10, 0.5f);
    EXPECT_NEAR(maxY, 10, 0.5f);
    EXPECT_EQ(item->getCyclesDone(), 4);
    EXPECT_NEAR(finishedAt, 0.6f, 0.05f);
    EXPECT_NEAR(item->getPosition().x, home.x, 0.01f);
    EXPECT_NEAR(item->getPicture()->getScaleX(), 1.0f, 1e-5f);
}

TEST_F(ChatterImageStepTest, AFirstTouchShowsTheEndAndASecondMovesOn) {
    KVChatterImageView* zoom = show(imageStep({{"during_number", number(1)}, {"scale", pair(1, 2)}}));
    run(0.2f);
    tapCentre();
    EXPECT_NEAR(zoom->getItem()->getPicture()->getScaleX(), 2.0f, 1e-5f);
    EXPECT_FALSE(zoom->isFinished());
    tapCentre();
    EXPECT_TRUE(zoom->isFinished());
    base->removeChild(zoom, true);

    // During a shake the item goes back where it started instead of jumping to the corner.
    KVChatterImageView* shake =
        show(imageStep({{"during_number", number(1)}, {"fade", pair(0, 200)}, {"radius_value", number(10)}}));
    run(0.07f);
    tapCentre();
    EXPECT_NEAR(shake->getItem()->getPosition().x, 32, 0.01f);
    EXPECT_NEAR(shake->getItem()->getPosition().y, 8, 0.01f);
    run(0.5f);
    EXPECT_NEAR(shake->getItem()->getPosition().x, 32, 0.01f) << "the shake stopped";
    EXPECT_FALSE(shake->isFinished());
    tapCentre();
    EXPECT_TRUE(shake->isFinished());
}

TEST_F(ChatterImageStepTest, AStillPictureWaitsForATouch) {
    KVChatterImageView* view = show(imageStep({}));
    run(2.0f);
    EXPECT_FALSE(view->isFinished());
    EXPECT_FALSE(view->getItem()->isAnimating());
    tapCentre();
    EXPECT_TRUE(view->isFinished());
    // A zero duration ends the step at once, the picture at its start values.
    KVChatterImageView* instant = show(imageStep({{"during_number", number(0)}, {"scale", pair(1, 2)}}));
    EXPECT_TRUE(instant->isFinished());
    EXPECT_NEAR(instant->getItem()->getPicture()->getScaleX(), 1.0f, 1e-5f);
    // A flat kind missing one of its keys counts as absent.
    KVChatterImageView* flat = show(imageStep({{"during_number", number(1)}, {"scale_start", number(2)}}));
    EXPECT_EQ(flat->getItem()->getStepActionCount(), 0u);
    EXPECT_FALSE(flat->getItem()->isAnimating());
}

TEST_F(ChatterImageStepTest, TheSkipButtonEndsTheWholeDialogue) {
    play("M01a_chatin");
    frame();
    auto* view = dynamic_cast<KVChatterImageView*>(stepView(0));
    ASSERT_NE(view, nullptr);
    CCNode* skip = view->getChildByTag(KVChatterImageView::kSkipTag);
    ASSERT_NE(skip, nullptr);
    const CCPoint at =
        static_cast<CCNode*>(skip->getChildren()->objectAtIndex(0))->convertToWorldSpace(CCPoint(4, 4));
    tap(at.x, at.y);
    EXPECT_EQ(recorder->count("EVENT_CHATTER_NEXT"), 1);
    frame();
    EXPECT_FALSE(chatter->isChatterRunning());
    EXPECT_EQ(ends->identifiers.size(), 1u);
}
