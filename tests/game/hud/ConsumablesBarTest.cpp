// The HUD's consumables bar over a running mission: what a profile's stock builds, where the open
// bar puts its buttons and counts, and the last unit spent taking its button, then the toggle, away.
#include <gtest/gtest.h>

#include <string>

#include "HudFixture.h"
#include "engine/labels/CCLabelTTF.h"
#include "engine/nodes/CCMenuItemSprite.h"
#include "game/data/KVPlayerParameters.h"
#include "game/hud/KVLabelWithShadow.h"

using namespace kvengine;

namespace {

// Indices of KVHudLayer::kConsumableNames.
constexpr int kMiracle = 0, kKraken = 1, kGrip = 2, kCocktail = 3, kSushi = 4, kShuriken = 5;

class ConsumablesBarTest : public hudtest::HudFixture {
protected:
    /// The profile's stock before the mission starts (its amounts, by kConsumableNames index).
    static void stock(std::initializer_list<std::pair<int, int>> amounts) {
        for (const auto& [index, amount] : amounts)
            KVPlayerParameters::getInstance()->addConsumable(KVHudLayer::kConsumableNames[index], amount);
    }
};

TEST_F(ConsumablesBarTest, OneSushiAloneFliesToTheFirstSlotWithItsCountOnItsCorner) {
    stock({{kSushi, 2}});
    KVGameplayScene* scene = startMission();
    ASSERT_NE(scene, nullptr);
    KVHudLayer* hud = hudOf(scene);
    ASSERT_NE(hud->getConsumablesBar(), nullptr);
    ASSERT_NE(hud->getConsumablesToggle(), nullptr);
    for (int i = 0; i < KVHudLayer::kConsumableCount; ++i)
        EXPECT_EQ(hud->getConsumableButton(i) != nullptr, i == kSushi) << i;
    CCMenuItemSprite* sushi = hud->getConsumableButton(kSushi);
    KVLabelWithShadow* count = hud->getConsumableCount(kSushi);
    ASSERT_NE(count, nullptr);
    EXPECT_STREQ(count->getString(), "2");
    const CCPoint origin = hud->getBarOrigin();
    EXPECT_FLOAT_EQ(sushi->getScale(), 0.1f);
    hud->toggleConsumablesBar(nullptr);
    run(0.3f);
    EXPECT_TRUE(hud->isConsumablesBarOpen());
    EXPECT_FLOAT_EQ(sushi->getPosition().x, origin.x + 60);
    EXPECT_FLOAT_EQ(sushi->getPosition().y, origin.y);
    EXPECT_FLOAT_EQ(sushi->getScale(), 1.0f);
    // The count's top-right corner on the button's.
    const CCSize b = sushi->getContentSize();
    const CCSize c = count->getContentSize();
    EXPECT_NEAR(count->getPosition().x, origin.x + 60 + (b.width - c.width) / 2, 0.01);
    EXPECT_NEAR(count->getPosition().y, origin.y + (b.height - c.height) / 2, 0.01);
    hud->toggleConsumablesBar(nullptr);
    run(0.3f);
    EXPECT_FALSE(hud->isConsumablesBarOpen());
    EXPECT_FLOAT_EQ(sushi->getScale(), 0.1f);
    EXPECT_FLOAT_EQ(sushi->getPosition().x, origin.x);
}

TEST_F(ConsumablesBarTest, SixConsumablesFillTwoRowsInSlotOrder) {
    stock({{kMiracle, 1}, {kKraken, 1}, {kGrip, 1}, {kCocktail, 1}, {kSushi, 1}, {kShuriken, 1}});
    KVGameplayScene* scene = startMission();
    ASSERT_NE(scene, nullptr);
    KVHudLayer* hud = hudOf(scene);
    hud->toggleConsumablesBar(nullptr);
    run(0.3f);
    const CCPoint origin = hud->getBarOrigin();
    const float wrap = hud->getConsumableButton(kKraken)->getNormalImage()->getContentSize().height;
    const struct {
        int index;
        float dx, dy;
    } slots[] = {{kGrip, 60, 0},         {kMiracle, 120, 0},   {kKraken, 180, 0},
                 {kCocktail, 90, -wrap}, {kSushi, 150, -wrap}, {kShuriken, 210, -wrap}};
    for (const auto& slot : slots) {
        CCMenuItemSprite* button = hud->getConsumableButton(slot.index);
        ASSERT_NE(button, nullptr) << slot.index;
        EXPECT_FLOAT_EQ(button->getPosition().x, origin.x + slot.dx) << slot.index;
        EXPECT_FLOAT_EQ(button->getPosition().y, origin.y + slot.dy) << slot.index;
        // One of each: no counts.
        EXPECT_EQ(hud->getConsumableCount(slot.index), nullptr) << slot.index;
    }
}

TEST_F(ConsumablesBarTest, TheLastUnitGoneTakesItsButtonThenTheToggleAndTheLabelAway) {
    stock({{kSushi, 1}});
    KVGameplayScene* scene = startMission();
    ASSERT_NE(scene, nullptr);
    KVHudLayer* hud = hudOf(scene);
    ASSERT_NE(hud->getConsumableButton(kSushi), nullptr);
    CCNode* toggle = hud->getConsumablesToggle();
    // The stock ran out meanwhile: the button's update finds none left.
    ASSERT_TRUE(KVPlayerParameters::getInstance()->useConsumable("sushi"));
    hud->useSushi(nullptr);
    EXPECT_EQ(hud->getConsumableButton(kSushi), nullptr);
    run(0.5f);
    EXPECT_EQ(toggle->getParent(), nullptr);
    EXPECT_EQ(hud->getInventoryLabel()->getParent(), nullptr);
    // Nothing is left for the per-frame update to refresh.
    run(0.5f);
}

} // namespace
