// The HUD: its layout at both design sizes, the members it leaves out by the settings and the
// player's stock, the banners over a running mission and the pawn panel.
#include <gtest/gtest.h>

#include <string>

#include "HudFixture.h"
#include "engine/base/CCArray.h"
#include "engine/base/CCNotificationCenter.h"
#include "engine/base/CCString.h"
#include "engine/director/CCScene.h"
#include "engine/labels/CCLabelTTF.h"
#include "engine/nodes/CCMenu.h"
#include "engine/nodes/CCMenuItemSprite.h"
#include "engine/sprites/CCSprite.h"
#include "game/app/KVGlobalNames.h"
#include "game/data/KVPlayerParameters.h"
#include "game/hud/KVHudComboSFX.h"
#include "game/hud/KVHudPawnInfo.h"
#include "game/hud/KVLabelWithShadow.h"
#include "game/hud/KVPauseScene.h"
#include "game/model/KVGameModel.h"
#include "game/pawns/KVPawn.h"
#include "game/pawns/KVTurnManager.h"
#include "game/score/KVScoreManagerSolo.h"
#include "game/world/KVActionEvent.h"

using namespace kvengine;

namespace {

using hudtest::HudFixture;

void post(CCString* name, CCObject* object = nullptr) {
    CCNotificationCenter::getInstance()->postNotification(name, object);
}

std::string textOf(CCLabelTTF* label) {
    return label != nullptr && label->getString() != nullptr ? label->getString() : "";
}

// A pawn without a body, with the abilities named "YES" in `flags`.
KVPawn* pawnWith(std::initializer_list<const char*> flags, bool aiDriven = false) {
    auto* stats = new KVPawn::StatDictionary();
    for (const char* key : {"HP", "SP", "Dash Per Turn"})
        kvdata::setText(stats, key, "2");
    for (const char* flag : flags)
        kvdata::setText(stats, flag, "YES");
    auto* pawn = new KVPawn();
    pawn->readStats(stats);
    pawn->setAIDriven(aiDriven);
    stats->release();
    pawn->autorelease();
    return pawn;
}

void expectAt(const CCPoint& point, const CCPoint& expected) {
    EXPECT_FLOAT_EQ(point.x, expected.x);
    EXPECT_FLOAT_EQ(point.y, expected.y);
}

class HudLayerTest : public HudFixture {};

TEST_F(HudLayerTest, ControlsBannersBarSlotsAndPauseScreenStandWhereTheDesignWindowPutsThem) {
    struct Case {
        float width, pauseX, skipX;
    } const cases[] = {{800, 765, 720}, {960, 919, 874}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.width);
        useWindow(c.width);
        KVHudLayer* hud = KVHudLayer::create();
        ASSERT_NE(hud, nullptr);
        base->addChild(hud);
        ASSERT_NE(hud->getPauseButton(), nullptr);
        ASSERT_NE(hud->getSkipButton(), nullptr);
        const CCPoint pauseAt = hud->getPauseButton()->getParent()->getPosition();
        const CCPoint skip = hud->getSkipButton()->getParent()->getPosition();
        EXPECT_FLOAT_EQ(pauseAt.x, c.pauseX);
        EXPECT_FLOAT_EQ(skip.x, c.skipX);
        EXPECT_FLOAT_EQ(pauseAt.y, 565);
        EXPECT_FLOAT_EQ(skip.y, 565);
        EXPECT_EQ(hud->getSkipButton()->getParent(), hud->getChildByTag(KVHudLayer::kSkipMenuTag));
        // The skip hint sits under the button, hidden.
        EXPECT_FLOAT_EQ(hud->getSkipHint()->getPosition().x, c.skipX);
        EXPECT_LT(hud->getSkipHint()->getPosition().y, 565);
        EXPECT_FALSE(hud->getSkipHint()->isVisible());
        ASSERT_NE(hud->getBubbleMenu(), nullptr);
        EXPECT_EQ(hud->getBubbleMenu(), hud->getChildByTag(KVHudLayer::kBubbleMenuTag));
        expectAt(hud->getBubbleMenu()->getPosition(), CCPoint(85, 50));
        for (CCNode* banner :
             {static_cast<CCNode*>(hud->getTurnLabel()), static_cast<CCNode*>(hud->getHelmetLabel()),
              static_cast<CCNode*>(hud->getObjectiveLabel()), static_cast<CCNode*>(hud->getBannerPanel())}) {
            ASSERT_NE(banner, nullptr);
            expectAt(banner->getPosition(), CCPoint(c.width / 2, 300));
        }
        // The open bar's rows: three at x0 + 60, 120, 180, then three at x0 + 90, 150, 210, one
        // button height lower.
        const CCPoint origin = hud->getBarOrigin();
        expectAt(origin, CCPoint(35.5f, 565));
        const float rowX[] = {60, 120, 180, 90, 150, 210};
        for (int k = 0; k < 6; ++k) {
            const CCPoint slot = hud->barSlot(k, 40);
            EXPECT_FLOAT_EQ(slot.x, origin.x + rowX[k]) << k;
            EXPECT_FLOAT_EQ(slot.y, k < 3 ? origin.y : origin.y - 40) << k;
        }

        auto* pause = new KVPauseScene(hud);
        pause->autorelease();
        hud->addChildAtZ(pause, KVHudLayer::kPauseZ);
        const struct {
            int tag;
            float y;
        } rows[] = {{KVPauseScene::kContinueTag, 325},
                    {KVPauseScene::kRestartTag, 225},
                    {KVPauseScene::kQuitTag, 125},
                    {KVPauseScene::kTitleTag, 450}};
        for (const auto& row : rows) {
            CCNode* child = pause->getChildByTag(row.tag);
            ASSERT_NE(child, nullptr) << row.tag;
            expectAt(child->getPosition(), CCPoint(c.width / 2, row.y));
        }
        base->removeChild(hud, true);
    }
    useWindow(960);
}

TEST_F(HudLayerTest, WhatTheSettingsAndTheStockLeaveOutIsNotBuiltAndEveryHandlerSkipsIt) {
    setConfig("HUDHideOOS", true);
    setConfig("HUDHideExceptOOS", true);
    ASSERT_EQ(KVPlayerParameters::getInstance()->getConsumableAmount("sushi"), 0);
    KVGameplayScene* scene = startMission();
    ASSERT_NE(scene, nullptr);
    KVHudLayer* hud = hudOf(scene);
    ASSERT_NE(hud, nullptr);
    EXPECT_EQ(hud->getBubble(), nullptr);
    EXPECT_EQ(hud->getBubbleMenu(), nullptr);
    EXPECT_EQ(hud->getDoubleTapHint(), nullptr);
    EXPECT_EQ(hud->getChildByTag(KVHudLayer::kBubbleMenuTag), nullptr);
    EXPECT_EQ(hud->getPawnInfo(), nullptr);
    EXPECT_EQ(hud->getConsumablesBar(), nullptr);
    EXPECT_EQ(hud->getConsumablesToggle(), nullptr);
    // Every path that touches them runs without them.
    KVPawn* pawn = scene->getGameModel()->getCurrentPawn();
    hud->showOutOfScreenBubble(pawn);
    hud->popOutOfScreenBubble(pawn);
    hud->onOutOfScreenBubbleTapped(nullptr);
    hud->refreshConsumableButtons();
    hud->relayoutConsumableButtons();
    hud->toggleConsumablesBar(nullptr);
    post(EVENT_PAWN_SELECTED, pawn);
    post(EVENT_START_TURN, pawn);
    post(EVENT_KELVO_ATTACK_MODE_AVAILABLE, pawn);
    post(EVENT_CONSUMABLE_START_HUD_FX_MIRACLE_TENTACLES);
    post(EVENT_CONSUMABLE_START_HUD_FX_TENTACLE_GRIP);
    run(1.5f);
    EXPECT_EQ(hud->getBubble(), nullptr);
    EXPECT_TRUE(hud->isVisible());
    // The match end hides the whole HUD.
    post(EVENT_VICTORY_DANCE);
    EXPECT_FALSE(hud->isVisible());
    EXPECT_FALSE(hud->getSkipButton()->isEnabled());
}

TEST_F(HudLayerTest, ASoloMissionShowsThePawnPanelAndTheBubbleWithTheDefaultSettings) {
    KVGameplayScene* scene = startMission();
    ASSERT_NE(scene, nullptr);
    KVHudLayer* hud = hudOf(scene);
    ASSERT_NE(hud, nullptr);
    EXPECT_NE(hud->getPawnInfo(), nullptr);
    EXPECT_NE(hud->getBubble(), nullptr);
    EXPECT_NE(hud->getPawnInfo()->getPawn(), nullptr);
}

TEST_F(HudLayerTest, TheComboStickerHasItsPicturesThoughTheHudIsBuiltBeforeTheLevel) {
    KVGameplayScene* scene = startMission();
    ASSERT_NE(scene, nullptr);
    KVHudComboSFX* combo = hudOf(scene)->getComboDisplay();
    ASSERT_NE(combo, nullptr);
    // Built from the stickers' sheet, not empty stand-ins.
    for (kvengine::CCSprite* sprite : {combo->getBand(), combo->getBadge(), combo->getPicture()})
        EXPECT_GT(sprite->getContentSize().width, 0.0f);
}

TEST_F(HudLayerTest, TurnBannersCountThePlayerTurnsAndNeverCutTheObjectiveShort) {
    KVGameplayScene* scene = startMission();
    ASSERT_NE(scene, nullptr);
    KVHudLayer* hud = hudOf(scene);
    KVScoreManagerSolo* score = soloScore(scene);
    ASSERT_NE(score, nullptr);
    run(5.0f); // the opening objective banner (shown at 1.5 s for 2.8 s) is over
    while (score->getPlayerTurns() < 3)
        post(EVENT_TURN_START_PLAYER);
    EXPECT_EQ(textOf(hud->getTurnLabel()), "Your turn (3)");
    EXPECT_GT(hud->getTurnLabel()->numberOfRunningActions(), 0u);
    EXPECT_GT(hud->getBannerPanel()->numberOfRunningActions(), 0u);
    run(3.0f);
    EXPECT_EQ(hud->getTurnLabel()->getOpacity(), 0);

    post(EVENT_TURN_START_ENEMY);
    EXPECT_EQ(textOf(hud->getTurnLabel()), "Enemy turn");
    run(3.0f);

    // An objective banner on screen: the next turn banner changes its text only.
    KVGameSetup::getInstance()->setMissionObjective(kvdata::newString("Beat the crabs"));
    post(EVENT_MISSION_OBJECTIVE);
    EXPECT_EQ(textOf(hud->getObjectiveLabel()), "Beat the crabs");
    run(0.5f);
    post(EVENT_TURN_START_PLAYER);
    EXPECT_EQ(textOf(hud->getTurnLabel()), "Your turn (4)");
    EXPECT_EQ(hud->getTurnLabel()->numberOfRunningActions(), 0u);
    EXPECT_EQ(hud->getTurnLabel()->getOpacity(), 0);
    EXPECT_GT(hud->getObjectiveLabel()->numberOfRunningActions(), 0u);
    EXPECT_GT(hud->getObjectiveLabel()->getOpacity(), 0);
    run(3.0f);

    // With every enemy gone the banner is "Turn n".
    post(EVENT_COCONUT_CRAB_DEAD);
    ASSERT_TRUE(score->areAllEnemiesDefeated());
    post(EVENT_TURN_START_PLAYER);
    EXPECT_EQ(textOf(hud->getTurnLabel()), "Turn 5");

    // Once the match is decided no banner changes.
    score->requestVictory();
    post(EVENT_TURN_START_ENEMY);
    EXPECT_EQ(textOf(hud->getTurnLabel()), "Turn 5");
}

TEST_F(HudLayerTest, AHelmetFoundNamesTheHelmetInTheBanner) {
    KVGameplayScene* scene = startMission();
    ASSERT_NE(scene, nullptr);
    KVHudLayer* hud = hudOf(scene);
    post(EVENT_TREASURE_CHEST_HELMET_REWARD, kvdata::newString("no_such_helmet"));
    const std::string text = textOf(hud->getHelmetLabel());
    EXPECT_EQ(text.rfind("Helmet found: ", 0), 0u) << text;
    EXPECT_GT(hud->getHelmetLabel()->numberOfRunningActions(), 0u);
}

TEST_F(HudLayerTest, SkipEndsTheTurnAndLeavesOutTheNextBubbleOnly) {
    KVGameplayScene* scene = startMission();
    ASSERT_NE(scene, nullptr);
    KVHudLayer* hud = hudOf(scene);
    menutest::Recorder posts;
    posts.observe(EVENT_SKIP_TURN);
    posts.observe(EVENT_OOF_ACTIVE);
    hud->onSkipTurnButton(nullptr);
    EXPECT_EQ(posts.count("EVENT_SKIP_TURN"), 1);
    EXPECT_TRUE(hud->isSkipRequested());
    // The first bubble after a skip is left out; the one after shows.
    KVPawn* pawn = pawnWith({});
    hud->showOutOfScreenBubble(pawn);
    if (scene->getGameModel()->getTurnManager()->isAllIdle()) {
        EXPECT_FALSE(hud->isSkipRequested());
        EXPECT_EQ(posts.count("EVENT_OOF_ACTIVE"), 0);
        hud->showOutOfScreenBubble(pawn);
        EXPECT_EQ(posts.count("EVENT_OOF_ACTIVE"), 1);
        EXPECT_TRUE(hud->getDoubleTapHint()->isVisible());
        EXPECT_TRUE(hud->getBubble()->isVisible());
        hud->popOutOfScreenBubble(pawn);
        EXPECT_FALSE(hud->getDoubleTapHint()->isVisible());
    }
}

TEST_F(HudLayerTest, ChattersAndCombosHideThePauseButtonUntilTheyEnd) {
    KVGameplayScene* scene = startMission();
    ASSERT_NE(scene, nullptr);
    KVHudLayer* hud = hudOf(scene);
    struct Case {
        CCString* start;
        CCString* end;
    } const cases[] = {{EVENT_CHATTER_START, EVENT_END_SPEECH}, {EVENT_COMBO_START, EVENT_COMBO_END}};
    for (const Case& c : cases) {
        post(c.start);
        EXPECT_FALSE(hud->getPauseButton()->isVisible());
        post(c.end);
        EXPECT_TRUE(hud->getPauseButton()->isVisible());
        EXPECT_GT(hud->getPauseButton()->numberOfRunningActions(), 0u);
    }
    EXPECT_FALSE(hud->isComboShowing());
}

TEST_F(HudLayerTest, AComboByAComputerPawnShowsNoStickerAndOneWithoutActorDoes) {
    KVGameplayScene* scene = startMission();
    ASSERT_NE(scene, nullptr);
    KVHudComboSFX* combo = hudOf(scene)->getComboDisplay();
    ASSERT_NE(combo, nullptr);
    KVActionEvent* byComputer =
        KVActionEvent::create(KVActionEvent::Combo, 12, 0.0f, pawnWith({}, true), nullptr);
    byComputer->setText(kvdata::newString("combo_sticker.png"));
    post(EVENT_ACTION, byComputer);
    EXPECT_FALSE(combo->isShowing());
    KVActionEvent* bySide = KVActionEvent::create(KVActionEvent::Combo, 12, 0.0f, nullptr, nullptr);
    bySide->setText(kvdata::newString("combo_sticker.png"));
    post(EVENT_ACTION, bySide);
    EXPECT_TRUE(combo->isShowing());
}

TEST_F(HudLayerTest, ThePawnPanelLinesUpTheAbilitiesAndEmptiesForAnEnemy) {
    KVHudLayer* hud = KVHudLayer::create(); // loads the HUD sheets
    ASSERT_NE(hud, nullptr);
    base->addChild(hud);
    struct Case {
        std::initializer_list<const char*> flags;
        std::vector<std::pair<int, float>> icons; // icon tag, x
    };
    const Case cases[] = {
        {{"hasDashAbility", "hasHealingPower"},
         {{KVHudPawnInfo::kDashIcon, 35}, {KVHudPawnInfo::kHealIcon, 85}}},
        {{"hasDashAbility", "hasAOEAttack", "hasDistanceAttack", "hasHealingPower"},
         {{KVHudPawnInfo::kDashIcon, 35},
          {KVHudPawnInfo::kAreaIcon, 85},
          {KVHudPawnInfo::kDistanceIcon, 135},
          {KVHudPawnInfo::kHealIcon, 185}}},
    };
    for (const Case& c : cases) {
        auto* panel = new KVHudPawnInfo(pawnWith(c.flags), 117.5f, 64.5f);
        panel->autorelease();
        hud->addChild(panel);
        for (const auto& icon : c.icons) {
            CCNode* node = panel->getChildByTag(icon.first);
            ASSERT_NE(node, nullptr) << icon.first;
            expectAt(node->getPosition(), CCPoint(icon.second, 35));
            expectAt(panel->getChildByTag(icon.first - 1)->getPosition(), CCPoint(icon.second + 5, 37));
        }
        EXPECT_EQ(panel->getChildByTag(KVHudPawnInfo::kHealIcon + 1), nullptr); // the heal has no counter
        auto* counter = dynamic_cast<CCLabelTTF*>(panel->getChildByTag(KVHudPawnInfo::kDashCounter));
        ASSERT_NE(counter, nullptr);
        EXPECT_EQ(textOf(counter), "2");
        expectAt(counter->getPosition(), CCPoint(51, 45));
        // An enemy's turn: the icons fade out and leave.
        panel->setupForPawn(pawnWith({}, true));
        run(0.3f);
        EXPECT_EQ(panel->getChildren() != nullptr ? panel->getChildren()->count() : 0u, 0u);
        hud->removeChild(panel, true);
    }
    base->removeChild(hud, true);
}

} // namespace
