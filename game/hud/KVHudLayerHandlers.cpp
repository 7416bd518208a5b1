// What the HUD does when the game's notifications arrive and when its buttons are pressed: the
// banners, the skip button and its hint, the pause button and its keys, the out-of-screen bubble,
// the combos and the end of the match.
#include <string>

#include "engine/actions/CCAnimate.h"
#include "engine/actions/CCCallFunc.h"
#include "engine/actions/CCDelayTime.h"
#include "engine/actions/CCFadeTo.h"
#include "engine/actions/CCRepeat.h"
#include "engine/actions/CCSequence.h"
#include "engine/base/CCArray.h"
#include "engine/base/CCLocalizationManager.h"
#include "engine/base/CCLog.h"
#include "engine/base/CCNotificationCenter.h"
#include "engine/base/CCString.h"
#include "engine/base/CCWideFormat.h"
#include "engine/nodes/CCMenu.h"
#include "engine/nodes/CCMenuItemSprite.h"
#include "engine/sprites/CCAnimation.h"
#include "engine/sprites/CCSprite.h"
#include "game/app/KVGlobalNames.h"
#include "game/data/KVDataAccess.h"
#include "game/data/KVGameSetup.h"
#include "game/data/KVStoreCatalogue.h"
#include "game/hud/KVHudComboSFX.h"
#include "game/hud/KVHudLayer.h"
#include "game/hud/KVHudPawnInfo.h"
#include "game/hud/KVLabelWithShadow.h"
#include "game/hud/KVPauseScene.h"
#include "game/model/KVGameModel.h"
#include "game/pawns/KVPawn.h"
#include "game/pawns/KVTurnManager.h"
#include "game/results/KVResultScreens.h"
#include "game/score/KVScoreManagerSolo.h"
#include "game/world/KVActionEvent.h"

using namespace kvengine;

namespace {

constexpr float kBannerFade = 0.4f;
constexpr float kBannerHold = 2.0f;
constexpr float kHintFade = 0.5f;

// "%s (%d)" or "%s %d" filled with a localised word and a number; the format is ours, only the word
// comes from a table.
CCString* wordAndNumber(const char16_t* format, CCString* word, int number) {
    const char16_t* wide = word != nullptr ? word->makeWideString() : nullptr;
    char16_t out[256];
    formatWideString(out, 256, format, wide != nullptr ? wide : u"", number);
    auto* text = new CCString(static_cast<const char16_t*>(out));
    text->autorelease();
    return text;
}

void setLabelText(KVLabelWithShadow* label, CCString* text) {
    if (label == nullptr || text == nullptr) return;
    label->setWideString(text->makeWideString());
}

} // namespace

void KVHudLayer::showBanner(KVLabelWithShadow* label) {
    KVLabelWithShadow* labels[] = {m_turnLabel, m_helmetLabel, m_objectiveLabel};
    if (m_bannerPanel != nullptr) m_bannerPanel->stopAllActions();
    for (KVLabelWithShadow* each : labels) {
        if (each == nullptr) continue;
        each->stopActionsWithOutline();
        each->setOpacity(0);
    }
    auto round = []() {
        return CCSequence::createWithActions(CCFadeIn::createWithDuration(kBannerFade),
                                             CCDelayTime::createWithDuration(kBannerHold),
                                             CCFadeOut::createWithDuration(kBannerFade));
    };
    if (m_bannerPanel != nullptr) m_bannerPanel->runAction(round());
    // The label's opacity carries the fade to its shadow.
    if (label != nullptr) label->runAction(round());
}

void KVHudLayer::onKeyPress(CCNotification* notification) {
    const std::string key = kvdata::textOf(notification != nullptr ? notification->getObject() : nullptr);
    if (key == "TOUCH_SPACE" || key == "TOUCH_ESCAPE") onPauseButton(nullptr);
}

void KVHudLayer::onPawnUnselected(CCNotification*) {}
void KVHudLayer::onPawnSelected(CCNotification*) {}
void KVHudLayer::onPowerupPickedUp(CCNotification*) {}
void KVHudLayer::onPlayerMoveRemaining(CCNotification*) {}

void KVHudLayer::onMatchEnd(CCNotification*) {
    if (m_skipButton != nullptr) m_skipButton->setEnabled(false);
    CCMenuItemSprite* barButtons[] = {m_barToggle, m_consumableButtons[2], m_consumableButtons[0],
                                      m_consumableButtons[1]};
    for (CCMenuItemSprite* button : barButtons)
        if (button != nullptr) button->setEnabled(false);
    CCNode* banners[] = {m_bannerPanel, m_turnLabel, m_helmetLabel, m_objectiveLabel};
    for (CCNode* banner : banners) {
        if (banner == nullptr) continue;
        banner->stopAllActions();
        banner->setVisible(false);
    }
    setVisible(false);
}

void KVHudLayer::onInactivity(CCNotification*) {
    if (m_skipHint == nullptr) return;
    if (m_skipHint->isVisible()) {
        m_skipHint->runActionWithOutline(CCFadeIn::createWithDuration(kHintFade));
    } else {
        m_skipHint->setOpacity(255);
        m_skipHint->setVisible(false);
    }
}

void KVHudLayer::onActivity(CCNotification*) {
    if (m_skipHint == nullptr) return;
    m_skipHint->stopActionsWithOutline();
    m_skipHint->setOpacity(0);
}

void KVHudLayer::onKelvoAttackModeAvailable(CCNotification*) {
    if (m_pawnInfo != nullptr) m_pawnInfo->refreshCounters();
}

void KVHudLayer::onKelvoAttackModeUnavailable(CCNotification*) {
    if (m_pawnInfo != nullptr) m_pawnInfo->refreshCounters();
}

void KVHudLayer::onAction(CCNotification* notification) {
    CCObject* payload = notification != nullptr ? notification->getObject() : nullptr;
    if (payload == nullptr || !payload->isKindOf("KVActionEvent")) return;
    auto* event = static_cast<KVActionEvent*>(payload);
    if (event->type != KVActionEvent::Combo) return;
    if (event->actor != nullptr && event->actor->isKindOf("KVPawn") &&
        static_cast<KVPawn*>(event->actor)->isAIDriven())
        return;
    if (m_comboDisplay != nullptr) m_comboDisplay->showCombo(event->value, event->getText());
}

void KVHudLayer::onStartTurn(CCNotification* notification) {
    if (m_model != nullptr && m_model->isSolo()) hideOutOfScreenBubble();
    if (m_pawnInfo == nullptr) return;
    CCObject* payload = notification != nullptr ? notification->getObject() : nullptr;
    m_pawnInfo->setupForPawn(payload != nullptr && payload->isKindOf("KVPawn") ? static_cast<KVPawn*>(payload)
                                                                               : nullptr);
}

void KVHudLayer::onTurnStartPlayerDisplay(CCNotification*) {
    if (isMatchDecided() || m_turnLabel == nullptr) return;
    m_turnLabel->stopActionsWithOutline();
    KVScoreManager* score = m_model != nullptr ? m_model->getScoreManager() : nullptr;
    KVScoreManagerSolo* solo = score != nullptr && score->isKindOf("KVScoreManagerSolo")
                                   ? static_cast<KVScoreManagerSolo*>(score)
                                   : nullptr;
    const int turns = solo != nullptr ? solo->getPlayerTurns() : 0;
    if (solo != nullptr && solo->areAllEnemiesDefeated()) {
        setLabelText(m_turnLabel, wordAndNumber(u"%s %d", kvresults::localised("Hud_Turn"), turns));
    } else {
        setLabelText(m_turnLabel, wordAndNumber(u"%s (%d)", kvresults::localised("Hud_Your_turn"), turns));
    }
    m_turnLabel->stopActionsWithOutline();
    if (m_helmetLabel != nullptr) m_helmetLabel->stopActionsWithOutline();
    // An objective banner on screen is not cut short: the turn banner only changes its text.
    if (m_objectiveLabel == nullptr || m_objectiveLabel->numberOfRunningActions() == 0)
        showBanner(m_turnLabel);
}

void KVHudLayer::onTurnStartEnemy(CCNotification*) {
    if (isMatchDecided() || m_turnLabel == nullptr) return;
    m_turnLabel->stopActionsWithOutline();
    setLabelText(m_turnLabel, kvresults::localised("Hud_Enemy_turn"));
    showBanner(m_turnLabel);
}

void KVHudLayer::onTreasureChestHelmetReward(CCNotification* notification) {
    if (m_helmetLabel == nullptr) return;
    m_helmetLabel->stopActionsWithOutline();
    const std::string helmet = kvdata::textOf(notification != nullptr ? notification->getObject() : nullptr);
    CCString* title = nullptr;
    if (KVStoreCatalogue* store = KVStoreCatalogue::shared()) title = store->itemTitle(helmet);
    if (title == nullptr) title = kvdata::newString(helmet);
    const char16_t* wide = title->makeWideString();
    setLabelText(m_helmetLabel,
                 kvresults::localisedFormat("Hud_Helmet_found", {wide != nullptr ? wide : u""}));
    showBanner(m_helmetLabel);
}

void KVHudLayer::onMissionObjective(CCNotification*) {
    if (m_objectiveLabel == nullptr) return;
    CCObject* objective = KVGameSetup::getInstance()->getMissionObjective();
    if (objective != nullptr && objective->isKindOf("CCString")) {
        setLabelText(m_objectiveLabel, static_cast<CCString*>(objective));
    }
    showBanner(m_objectiveLabel);
}

void KVHudLayer::onChatterStart(CCNotification*) {
    if (m_pauseButton != nullptr) m_pauseButton->setVisible(false);
}

void KVHudLayer::onEndSpeech(CCNotification*) {
    if (m_pauseButton == nullptr) return;
    m_pauseButton->setVisible(true);
    m_pauseButton->runAction(CCFadeIn::createWithDuration(0.5f));
}

void KVHudLayer::onComboStart(CCNotification*) {
    m_comboShowing = true;
    if (m_pauseButton != nullptr) m_pauseButton->setVisible(false);
}

void KVHudLayer::onComboEnd(CCNotification*) {
    m_comboShowing = false;
    if (m_pauseButton == nullptr) return;
    m_pauseButton->setVisible(true);
    m_pauseButton->runAction(CCFadeIn::createWithDuration(0.8f));
}

void KVHudLayer::showTurnButtons() {
    if (isChatterRunning()) return;
    if (m_skipHint != nullptr) {
        if (m_skipHint->getOpacity() > 0) {
            m_skipHint->setOpacity(0);
            m_skipHint->runActionWithOutline(CCFadeIn::createWithDuration(kHintFade));
        }
        m_skipHint->setVisible(true);
    }
    if (m_skipButton != nullptr) {
        m_skipButton->setOpacity(0);
        m_skipButton->setVisible(true);
        m_skipButton->setEnabled(true);
        m_skipButton->runAction(CCFadeIn::createWithDuration(kHintFade));
    }
}

void KVHudLayer::hideTurnButtons() {
    if (m_skipHint != nullptr) {
        m_skipHint->stopActionsWithOutline();
        m_skipHint->setVisible(false);
    }
    if (m_skipButton != nullptr) {
        m_skipButton->setVisible(false);
        m_skipButton->setEnabled(false);
    }
}

void KVHudLayer::onSkipTurnButton(CCObject*) {
    if (isGamePaused()) return;
    m_skipRequested = true;
    CCNotificationCenter::getInstance()->postNotification(EVENT_SKIP_TURN);
}

void KVHudLayer::onPauseButton(CCObject*) {
    CCNotificationCenter::getInstance()->postNotification(EVENT_BUTTON_VALIDATED_LIGHT);
    // A hidden HUD (the match is over, its result on screen) opens no pause screen.
    if (!isVisible() || isGamePaused() || isMatchDecided()) return;
    auto* pause = new KVPauseScene(this);
    pause->autorelease();
    addChildAtZ(pause, kPauseZ);
}

void KVHudLayer::showOutOfScreenBubble(KVPawn* pawn) {
    if (m_bubble == nullptr || pawn == nullptr || pawn->isAIDriven()) return;
    KVTurnManager* turns = m_model != nullptr ? m_model->getTurnManager() : nullptr;
    if (turns == nullptr || !turns->isAllIdle()) return;
    // The first bubble after a skip is left out: the next pawn has only just been handed over.
    if (m_skipRequested) {
        m_skipRequested = false;
        return;
    }
    CCNotificationCenter::getInstance()->postNotification(EVENT_OOF_ACTIVE);
    hideOutOfScreenBubble();
    const std::string frame = "oof_bubble_" + kvdata::textOf(pawn->getSpriteName()) + ".png";
    CCSprite* portrait = CCSprite::createWithSpriteFrameName(frame.c_str());
    if (portrait == nullptr) logDebugMessage("hud: no portrait \"%s\" for the bubble", frame.c_str());
    m_bubblePortrait = portrait;
    const CCSize bubble = m_bubble->getContentSize();
    if (m_bubbleMenu != nullptr) {
        if (CCArray* items = m_bubbleMenu->getChildren(); items != nullptr && items->count() > 0)
            static_cast<CCNode*>(items->objectAtIndex(0))->setTouchSize(bubble);
    }
    if (portrait != nullptr) {
        portrait->setScale(0.8f);
        portrait->setAnchorPoint(CCPointZero);
        portrait->setPosition(CCPoint(85.0f, 50.0f));
        addChildAtZ(portrait, 1000);
    }
    if (m_doubleTap != nullptr) {
        m_doubleTap->stopAllActions();
        m_doubleTap->setOpacity(0);
        m_doubleTap->setPosition(CCPoint(85.0f + bubble.width / 2, 50.0f + bubble.height / 2));
        m_doubleTap->setVisible(true);
        if (m_doubleTapAction != nullptr)
            m_doubleTap->runAction(
                CCRepeatForever::createWithAction(static_cast<CCActionInterval*>(m_doubleTapAction.get())));
    }
    m_bubble->setVisible(true);
    if (m_bubbleMenu != nullptr) m_bubbleMenu->setVisible(true);
    if (portrait != nullptr) portrait->setVisible(true);
}

void KVHudLayer::hideOutOfScreenBubble() {
    if (m_bubble == nullptr) return;
    if (m_doubleTap != nullptr && m_doubleTap->isVisible()) m_doubleTap->setVisible(false);
    if (m_bubblePortrait != nullptr) {
        m_bubblePortrait->setVisible(false);
        m_bubblePortrait->removeFromParent(true);
        m_bubblePortrait.reset();
    }
    m_bubble->setVisible(false);
    if (m_bubbleMenu != nullptr) m_bubbleMenu->setVisible(false);
    m_bubble->stopAllActions();
    if (m_bubblePop != nullptr) m_bubble->stopAction(m_bubblePop);
}

void KVHudLayer::popBubble(KVPawn*, bool refocus) {
    if (refocus) CCNotificationCenter::getInstance()->postNotification(EVENT_AUTO_FOCUS_REQUEST);
    CCNotificationCenter::getInstance()->postNotification(EVENT_BUBBLE_POP);
    if (m_bubblePop != nullptr) {
        m_bubble->stopAllActions();
        m_bubble->runAction(CCSequence::createWithActions(
            m_bubblePop, CCCallFunc::createWithTargetSelector(
                             this, callfunc_selector(KVHudLayer::hideOutOfScreenBubble))));
    }
    if (m_doubleTap != nullptr) {
        m_doubleTap->setVisible(false);
        m_doubleTap->stopAllActions();
    }
}

void KVHudLayer::onOutOfScreenBubbleTapped(CCObject*) {
    if (m_bubble == nullptr || m_doubleTap == nullptr || !m_doubleTap->isVisible()) return;
    popBubble(nullptr, true);
}

void KVHudLayer::popOutOfScreenBubble(KVPawn* pawn) {
    if (m_bubble == nullptr || pawn == nullptr || m_doubleTap == nullptr || !m_doubleTap->isVisible() ||
        pawn->isAIDriven())
        return;
    popBubble(pawn, false);
}
