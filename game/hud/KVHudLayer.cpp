#include "game/hud/KVHudLayer.h"

#include "engine/actions/CCAnimate.h"
#include "engine/actions/CCDelayTime.h"
#include "engine/actions/CCFadeTo.h"
#include "engine/actions/CCRotateTo.h"
#include "engine/actions/CCSequence.h"
#include "engine/base/CCLog.h"
#include "engine/base/CCNotificationCenter.h"
#include "engine/director/CCDirector.h"
#include "engine/files/CCResourceIndex.h"
#include "engine/nodes/CCMenu.h"
#include "engine/nodes/CCMenuItemSprite.h"
#include "engine/platform/CCGL.h"
#include "engine/sprites/CCAnimation.h"
#include "engine/sprites/CCSprite.h"
#include "engine/sprites/CCSpriteBatchNode.h"
#include "engine/sprites/CCSpriteFrameCache.h"
#include "game/app/KVGlobalNames.h"
#include "game/camera/KVCamera.h"
#include "game/chatter/KVChatterManager.h"
#include "game/data/KVGameSetup.h"
#include "game/hud/KVHudComboSFX.h"
#include "game/hud/KVHudPawnInfo.h"
#include "game/hud/KVLabelWithShadow.h"
#include "game/model/KVGameController.h"
#include "game/model/KVGameModel.h"
#include "game/pawns/KVKelvo.h"
#include "game/pawns/KVPawn.h"
#include "game/pawns/KVPawnManager.h"
#include "game/pawns/KVTurnManager.h"
#include "game/results/KVResultScreens.h"
#include "game/scene/KVGameplayScene.h"
#include "game/score/KVScoreManager.h"
#include "game/world/KVSpriteSheet.h"

using namespace kvengine;

const char* const KVHudLayer::kConsumableNames[KVHudLayer::kConsumableCount] = {
    "miracle_tentacle_final", "mighty_kraken", "tentacle_grip", "cocktail", "sushi", "shuriken"};

namespace {

// z-orders of the HUD's children.
constexpr int kControlsZ = 1000;
constexpr int kDoubleTapZ = 1010;
constexpr int kBannerPanelZ = 900;
constexpr int kComboZ = 1001;
// Touch size of every HUD menu and of the layer: small enough that the gesture recognizers' hit
// test never finds the HUD above the gameplay layer, so touches reach the game.
const CCSize kPassThroughTouchSize(0.01f, 0.01f);

// The pawn panel's position arguments (unused by the panel, which stays at the HUD's origin).
constexpr float kPanelX = 117.5f;
constexpr float kPanelY = 64.5f;

const CCPoint kBubblePosition(85.0f, 50.0f);
constexpr float kBubbleScale = 0.8f;

CCSprite* frameSprite(const char* frame) {
    CCSprite* sprite = CCSprite::createWithSpriteFrameName(frame);
    if (sprite == nullptr) logDebugMessage("hud: no frame \"%s\"", frame);
    return sprite;
}

// A menu of one item at `position`, touch-enabled, that lets touches through to the game.
CCMenu* passThroughMenu(CCMenuItemSprite* item, const CCPoint& position) {
    CCMenu* menu = CCMenu::createWithItems(item, nullptr);
    if (menu == nullptr) return nullptr;
    menu->setPosition(position);
    menu->setTouchEnabled(true);
    menu->setTouchSize(kPassThroughTouchSize);
    return menu;
}

} // namespace

KVHudLayer* KVHudLayer::create() {
    auto* hud = new KVHudLayer();
    if (!hud->build()) {
        hud->release();
        return nullptr;
    }
    hud->autorelease();
    return hud;
}

bool KVHudLayer::build() {
    if (!init()) return false;
    m_comboShowing = false;
    m_sheets.adopt(new SheetDict());
    m_nextSheetTag = 1000;
    addSpriteSheet("hud_51_ss", 1000);
    addSpriteSheet("hud_88_ss", 1001);
    observe(ccEventKeyPress(), notification_selector(KVHudLayer::onKeyPress));
    m_bubbleTimer = 0.0f;
    KVGameSetup* setup = KVGameSetup::getInstance();
    if (!setup->getConfigBool("HUDHideOOS")) {
        buildOutOfScreenBubble();
        m_skipRequested = false;
        observe(EVENT_PAWN_UNSELECTED, notification_selector(KVHudLayer::onPawnUnselected));
        observe(EVENT_PAWN_SELECTED, notification_selector(KVHudLayer::onPawnSelected));
    }
    const CCSize window = CCDirector::getInstance()->getWinSize();
    buildPauseButton(window);
    buildSkipButton(window);
    observe(EVENT_POWERUP_PICKED_UP, notification_selector(KVHudLayer::onPowerupPickedUp));
    observe(EVENT_VICTORY_DANCE, notification_selector(KVHudLayer::onMatchEnd));
    observe(EVENT_LOOSE_DANCE, notification_selector(KVHudLayer::onMatchEnd));
    observe(EVENT_INACTIVITY, notification_selector(KVHudLayer::onInactivity));
    observe(EVENT_ACTIVITY, notification_selector(KVHudLayer::onActivity));
    buildConsumablesBar(window);
    observe(EVENT_KELVO_ATTACK_MODE_AVAILABLE, notification_selector(KVHudLayer::onKelvoAttackModeAvailable));
    observe(EVENT_KELVO_ATTACK_MODE_UNAVAILABLE,
            notification_selector(KVHudLayer::onKelvoAttackModeUnavailable));
    buildBanners(window);
    observe(EVENT_ACTION, notification_selector(KVHudLayer::onAction));
    observe(EVENT_PLAYER_MOVE_REMAINING, notification_selector(KVHudLayer::onPlayerMoveRemaining));
    observe(EVENT_START_TURN, notification_selector(KVHudLayer::onStartTurn));
    observe(EVENT_TURN_START_PLAYER_DISPLAY, notification_selector(KVHudLayer::onTurnStartPlayerDisplay));
    observe(EVENT_TURN_START_ENEMY, notification_selector(KVHudLayer::onTurnStartEnemy));
    observe(EVENT_TREASURE_CHEST_HELMET_REWARD,
            notification_selector(KVHudLayer::onTreasureChestHelmetReward));
    observe(EVENT_MISSION_OBJECTIVE, notification_selector(KVHudLayer::onMissionObjective));
    observe(EVENT_CHATTER_START, notification_selector(KVHudLayer::onChatterStart));
    observe(EVENT_END_SPEECH, notification_selector(KVHudLayer::onEndSpeech));
    observe(EVENT_COMBO_START, notification_selector(KVHudLayer::onComboStart));
    observe(EVENT_COMBO_END, notification_selector(KVHudLayer::onComboEnd));
    observe(EVENT_CONSUMABLE_START_HUD_FX_MIRACLE_TENTACLES,
            notification_selector(KVHudLayer::onConsumableStartHudFxMiracleTentacles));
    observe(EVENT_CONSUMABLE_START_HUD_FX_TENTACLE_GRIP,
            notification_selector(KVHudLayer::onConsumableStartHudFxTentacleGrip));
    scheduleUpdate();
    setTouchSize(kPassThroughTouchSize);
    setTouchEnabled(true);
    auto* combo = new KVHudComboSFX();
    if (combo->init()) {
        combo->autorelease();
        m_comboDisplay = combo;
        addChildAtZ(combo, kComboZ);
    } else {
        logDebugMessage("hud: the combo display cannot be made");
        combo->release();
    }
    return true;
}

void KVHudLayer::observe(CCString* name, SEL_Notification selector) {
    CCNotificationCenter::getInstance()->addObserver(this, selector, name);
}

bool KVHudLayer::addSpriteSheet(const std::string& sheetName, int z) {
    if (m_sheets == nullptr) return false;
    if (m_sheets->objectForKey(sheetName) != nullptr) return true;
    CCSpriteBatchNode* batch = kvLoadSheetBatch(sheetName, "hud");
    if (batch == nullptr) return false;
    addChildAtZWithTag(batch, z, m_nextSheetTag);
    m_sheets->setObject(batch, sheetName);
    m_nextSheetTag += 1;
    return true;
}

void KVHudLayer::buildOutOfScreenBubble() {
    CCSprite* bubble = frameSprite("oof_bubble.png");
    CCSprite* hint = frameSprite("doubletap01.png");
    CCAnimation* pop = CCAnimation::createWithFrameNamePattern("oof_bubble_pop_%.2d.png", 0, 3, 0.1f);
    CCAnimation* taps = CCAnimation::createWithFrameNamePattern("doubletap%.2d.png", 1, 9, 0.1f);
    if (bubble == nullptr || hint == nullptr || pop == nullptr || taps == nullptr) {
        logDebugMessage("hud: the out-of-screen bubble is missing frames; no bubble");
        return;
    }
    bubble->setAnchorPoint(CCPointZero);
    bubble->setScale(kBubbleScale);
    bubble->setBlendFunc(ccBlendFunc{GL_SRC_ALPHA, GL_ONE});
    m_bubble = bubble;
    m_bubblePop = CCAnimate::createWithAnimationRestore(pop, true);
    hint->setAnchorPoint(CCPointZero);
    hint->setPosition(CCPointZero);
    m_doubleTap = hint;
    // A two-second pause closes the hint's round: a rotation by nothing.
    m_doubleTapAction = CCSequence::createWithActions(
        CCFadeTo::createWithDurationOpacity(0.1f, 255), CCAnimate::createWithAnimationRestore(taps, false),
        CCFadeTo::createWithDurationOpacity(0.1f, 0), CCRotateBy::createWithDurationAngle(2.0f, 0.0f));
    addChildAtZ(m_doubleTap, kDoubleTapZ);
    CCMenuItemSprite* item = CCMenuItemSprite::createWithSpritesAndTarget(
        m_bubble, nullptr, this, menu_selector(KVHudLayer::onOutOfScreenBubbleTapped));
    if (item == nullptr) return;
    item->setAnchorPoint(CCPoint(0.5f, 0.5f));
    item->setContentSize(m_bubble->getContentSize());
    CCMenu* menu = passThroughMenu(item, kBubblePosition);
    if (menu == nullptr) return;
    m_bubbleMenu = menu;
    addChildAtZWithTag(menu, kControlsZ, kBubbleMenuTag);
}

void KVHudLayer::buildPauseButton(const CCSize& window) {
    CCSprite* up = frameSprite("pause_button.png");
    CCSprite* down = frameSprite("KV_PauseDown.png");
    if (up == nullptr || down == nullptr) return;
    CCMenuItemSprite* item = CCMenuItemSprite::createWithSpritesAndTarget(
        up, down, this, menu_selector(KVHudLayer::onPauseButton));
    if (item == nullptr) return;
    item->setAnchorPoint(CCPoint(0.5f, 0.5f));
    const float x = window.width / 2 + 455.0f - (CCDirector::wideScreen != 0 ? 16.0f : 90.0f);
    CCMenu* menu = passThroughMenu(item, CCPoint(x, window.height / 2 + 265.0f));
    if (menu == nullptr) return;
    m_pauseButton = item;
    addChildAtZ(menu, kControlsZ);
}

void KVHudLayer::buildSkipButton(const CCSize& window) {
    CCSprite* up = frameSprite("skip_turn_image.png");
    CCSprite* down = frameSprite("KV_SkipDown.png");
    if (up == nullptr || down == nullptr) return;
    CCMenuItemSprite* item = CCMenuItemSprite::createWithSpritesAndTarget(
        up, down, this, menu_selector(KVHudLayer::onSkipTurnButton));
    if (item == nullptr) return;
    item->setAnchorPoint(CCPoint(0.5f, 0.5f));
    const float x = window.width / 2 + 410.0f - (CCDirector::wideScreen != 0 ? 16.0f : 90.0f);
    const CCPoint position(x, window.height / 2 + 265.0f);
    CCMenu* menu = passThroughMenu(item, position);
    if (menu == nullptr) return;
    m_skipButton = item;
    addChildAtZWithTag(menu, kControlsZ, kSkipMenuTag);
    KVLabelWithShadow* hint =
        KVLabelWithShadow::createWithString(kvresults::localised("Hud Skip Turn label"), kGameFont, 16.0f);
    hint->setAnchorPoint(CCPoint(0.5f, 0.5f));
    hint->setPosition(CCPoint(position.x, position.y - 2.0f * hint->getContentSize().height));
    hint->setOpacity(0);
    hint->setVisible(false);
    m_skipHint = hint;
    addChildAtZ(hint, kControlsZ);
}

void KVHudLayer::buildBanners(const CCSize& window) {
    const CCPoint centre(window.width / 2, window.height / 2);
    kvengine::CCRetained<KVLabelWithShadow>* labels[] = {&m_turnLabel, &m_helmetLabel, &m_objectiveLabel};
    const char* texts[] = {"YOUR TURN", "HELMET UNLOCKED", "OBJECTIVE"};
    for (int i = 0; i < 3; ++i) {
        KVLabelWithShadow* label = KVLabelWithShadow::createWithStdString(texts[i], kGameFont, 24.0f);
        label->setColor(ccColor3B{255, 255, 255});
        label->setAnchorPoint(CCPoint(0.5f, 0.5f));
        label->setPosition(centre);
        label->setOpacity(0);
        *labels[i] = label;
        addChildAtZ(label, kControlsZ);
    }
    if (CCSprite* panel = frameSprite("KV_ZoneObjectif.png")) {
        panel->setAnchorPoint(CCPoint(0.5f, 0.5f));
        panel->setPosition(centre);
        panel->setOpacity(0);
        m_bannerPanel = panel;
        addChildAtZ(panel, kBannerPanelZ);
    }
}

void KVHudLayer::setGameModel(KVGameModel* model) {
    m_model = model;
    if (model == nullptr) return;
    if (KVGameSetup::getInstance()->getConfigBool("HUDHideExceptOOS")) return;
    KVPawnManager* pawns = KVPawnManager::existingInstance();
    if (!model->isSolo() || pawns == nullptr || pawns->getPlayerPawns()->count() == 0) return;
    if (m_pawnInfo != nullptr) {
        m_pawnInfo->removeFromParent(true);
        m_pawnInfo.reset();
    }
    auto* panel = new KVHudPawnInfo(pawns->getPlayerPawns()->objectAtIndex(0), kPanelX, kPanelY);
    panel->autorelease();
    m_pawnInfo = panel;
    addChildAtZ(panel, 0);
}

KVGameController* KVHudLayer::getGameController() const {
    CCNode* parent = getParent();
    if (parent == nullptr || !parent->isKindOf("KVGameplayScene")) return nullptr;
    return static_cast<KVGameplayScene*>(parent)->getGameController();
}

bool KVHudLayer::isGamePaused() const {
    KVGameController* controller = getGameController();
    return controller != nullptr && controller->paused;
}

bool KVHudLayer::isMatchDecided() const {
    KVScoreManager* score = m_model != nullptr ? m_model->getScoreManager() : nullptr;
    return score != nullptr && (score->isVictoryRequested() || score->isDefeatRequested());
}

bool KVHudLayer::isChatterRunning() {
    KVChatterManager* chatter = KVChatterManager::existingInstance();
    return chatter != nullptr && chatter->isChatterRunning();
}

void KVHudLayer::update(float dt) {
    if (!isVisible() || m_model == nullptr) return;
    KVPawn* pawn = m_model->getCurrentPawn();
    KVTurnManager* turns = m_model->getTurnManager();
    if (pawn == nullptr || turns == nullptr) return;
    const bool idle = turns->isAllIdle();
    const bool chatter = isChatterRunning();
    KVCameraManager* cameras = KVCameraManager::existingInstance();
    KVCamera* camera = cameras != nullptr ? cameras->getCamera() : nullptr;
    const bool cameraAutomatic = camera != nullptr && camera->isAutomatic();
    const bool pulling = pawn->isKindOf("KVKelvo") && static_cast<KVKelvo*>(pawn)->isPulling();
    const bool waiting = !pawn->isAIDriven() && !pawn->isSelected() && idle && !cameraAutomatic && !chatter;
    const bool ready = idle && !pawn->isAIDriven() && !pawn->isEnemy() && pawn->isSelected() && !pulling &&
                       !chatter && !m_comboShowing;
    if (m_bar != nullptr) {
        if (m_bar->isVisible() && !waiting) {
            if (!ready) m_bar->setVisible(false);
        } else if (ready || waiting) {
            refreshConsumableButtons();
            m_bar->setVisible(true);
        }
    }
    if (m_skipButton != nullptr) {
        if (m_skipButton->isVisible() && !waiting) {
            if (!ready) hideTurnButtons();
        } else if ((ready || waiting) && !m_skipButton->isVisible()) {
            showTurnButtons();
        }
    }
    if (m_bubble != nullptr && m_doubleTap != nullptr) {
        if (!m_doubleTap->isVisible() && waiting) {
            m_bubbleTimer += dt;
            if (m_bubbleTimer >= kBubbleDelay) {
                m_bubbleTimer = 0.0f;
                showOutOfScreenBubble(pawn);
            }
        } else if (m_doubleTap->isVisible() && (pawn->isSelected() || !idle)) {
            popOutOfScreenBubble(pawn);
        }
    }
    if (m_model->isSolo() && m_pawnInfo != nullptr) m_pawnInfo->refreshCounters();
}

void KVHudLayer::cleanupBeforeDelete() {
    CCNotificationCenter::getInstance()->removeObserver(this);
    m_model.reset();
    m_skipButton.reset();
    m_skipHint.reset();
    m_pauseButton.reset();
    m_barToggle.reset();
    m_inventoryLabel.reset();
    for (int i = 0; i < kConsumableCount; ++i) {
        m_consumableButtons[i].reset();
        m_consumableCounts[i].reset();
    }
    m_sheets.reset();
    m_pawnInfo.reset();
    m_comboDisplay.reset();
    m_bubble.reset();
    m_bubblePop.reset();
    m_bubblePortrait.reset();
    m_bubbleMenu.reset();
    m_doubleTap.reset();
    m_doubleTapAction.reset();
    m_turnLabel.reset();
    m_helmetLabel.reset();
    m_objectiveLabel.reset();
    m_bannerPanel.reset();
    m_gripEffect.reset();
    m_miracleEffect.reset();
    m_krakenEffect.reset();
    m_bar.reset();
    KVLayer::cleanupBeforeDelete();
}
