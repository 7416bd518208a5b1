#include "game/results/KVWinnerScreenLayerSolo.h"

#include <cmath>
#include <string>

#include "engine/actions/CCActions.h"
#include "engine/base/CCLog.h"
#include "engine/base/CCNotificationCenter.h"
#include "engine/director/CCDirector.h"
#include "engine/input/CCTapGestureRecognizer.h"
#include "engine/input/CCTouchDispatcher.h"
#include "engine/input/CCView.h"
#include "engine/sprites/CCSprite.h"
#include "game/app/KVGlobalNames.h"
#include "game/data/KVDataAccess.h"
#include "game/data/KVGameParameters.h"
#include "game/data/KVGameSetup.h"
#include "game/data/KVPlayerParameters.h"
#include "game/hud/KVLabelWithShadow.h"
#include "game/menu/KVButton.h"
#include "game/menu/KVPearlCountItem.h"
#include "game/model/KVGameModel.h"
#include "game/results/KVMissionProgress.h"
#include "game/results/KVResultScreens.h"
#include "game/score/KVScoreManagerSolo.h"

using namespace kvengine;

namespace {

constexpr float kLabelSize = 16.0f;
constexpr const char* kAmountFont = "fonts/Junction 02.ttf";
constexpr int kRowZ = 10;
constexpr int kBubbleZ = 5;
constexpr int kTotemZ = 2;
constexpr int kCounterZ = 1;
constexpr int kButtonZ = 2;
/// Where the description ends and the reward starts, from the bubble's left edge.
constexpr float kDescriptionOffset = 208.0f;
constexpr float kRewardOffset = 228.0f;
/// The first row's drop under the totem's top, and the pitch of the rows.
constexpr float kFirstRowDrop = 46.0f;
constexpr float kRowPitch = (202.0f - 46.0f) / 3.0f;
/// Star places on the totem, from its top-left corner: secret, survival, speed.
const CCPoint kStarPlaces[3] = {CCPoint(54.5f, -46.0f), CCPoint(66.0f, -97.5f), CCPoint(39.5f, -155.0f)};
/// The bubble's arrival: 0.25 s slide, then the recoil (4 points, ten shrinking steps, all back).
constexpr float kSlideSeconds = 0.25f;
constexpr float kRecoilStepSeconds = 0.0125f;
constexpr float kRecoilBackSeconds = 0.125f;
constexpr float kStampSeconds = 0.5f;
constexpr float kRewardDelay = 1.0f;
constexpr float kFadeSeconds = 0.5f;

const char* statusWord(int result) {
    switch (result) {
    case KVScoreManagerSolo::kStarEarned:
        return "JUST FOUND";
    case KVScoreManagerSolo::kStarEarnedBefore:
        return "ALREADY FOUND";
    default:
        return "NOT FOUND";
    }
}

CCFiniteTimeAction* arrival(float distance) {
    CCFiniteTimeAction* steps[13];
    size_t count = 0;
    steps[count++] = CCMoveBy::createWithDurationPosition(kSlideSeconds, CCPoint(distance, 0));
    steps[count++] = CCMoveBy::createWithDurationPosition(kRecoilStepSeconds, CCPoint(4, 0));
    for (int k = 0; k < 10; ++k)
        steps[count++] = CCMoveBy::createWithDurationPosition(
            kRecoilStepSeconds, CCPoint(8.0f - std::floor(8.0f * k / 10.0f), 0));
    steps[count++] = CCMoveBy::createWithDurationPosition(kRecoilBackSeconds, CCPoint(-48, 0));
    return CCSequence::createWithActionList(steps, count);
}

KVLabelWithShadow* makeLabel(CCString* text, const char* font, const CCPoint& anchor) {
    KVLabelWithShadow* label = KVLabelWithShadow::createWithString(text, font, kLabelSize);
    label->setAnchorPoint(anchor);
    label->setVisible(false);
    return label;
}

void addHidden(CCNode* parent, CCNode* child, int z, int tag) {
    if (child == nullptr) return;
    child->setVisible(false);
    parent->addChildAtZWithTag(child, z, tag);
}

void setOpacityOf(CCNode* node, uint8_t opacity) {
    if (auto* rgba = dynamic_cast<CCRGBAProtocol*>(node)) rgba->setOpacity(opacity);
}

} // namespace

KVWinnerScreenLayerSolo* KVWinnerScreenLayerSolo::create(const ccColor4B& color, float width, float height,
                                                         KVGameModel* model) {
    auto* screen = new KVWinnerScreenLayerSolo(color, width, height, model);
    screen->autorelease();
    return screen;
}

KVWinnerScreenLayerSolo::KVWinnerScreenLayerSolo(const ccColor4B& color, float width, float height,
                                                 KVGameModel* model) {
    (void)initWithColorAndSize(color, width, height);
    m_width = width;
    m_height = height;
    m_gameModel = model;
    m_closing = false;
    m_unlockedItems.adopt(new CCMutableArray<CCString*>());
    m_lockedItems.adopt(new CCMutableArray<CCString*>());
    m_victoryMessages.adopt(new CCMutableArray<CCString*>());
    KVScoreManager* score = m_gameModel != nullptr ? m_gameModel->getScoreManager() : nullptr;
    KVMissionProgress::recordWin(KVMissionProgress::currentWin(score),
                                 {m_unlockedItems, m_lockedItems, m_victoryMessages}, this);
    if (auto* solo = dynamic_cast<KVScoreManagerSolo*>(score)) {
        m_starResults[0] = solo->getHiddenStarResult();
        m_starResults[1] = solo->getSurvivalStarResult();
        m_starResults[2] = solo->getSpeedStarResult();
    } else {
        logDebugMessage("victory screen: the match has no solo score manager; no stars, no loot");
    }
    m_done = false;
    m_rowsShown = 0;
    // The way into the mission emptied the frame cache: the buttons, pop-ups and pearls need the
    // menus' frames again.
    kvresults::reloadMenuFrames();

    buildPearlRow();
    for (int row = 0; row < kPearlRow; ++row)
        buildStarRow(row);

    m_overlay.adopt(kvresults::makeTapOverlay(this, gesture_selector(KVWinnerScreenLayerSolo::onTap)));
    m_tapRecognizer =
        static_cast<CCTapGestureRecognizer*>(m_overlay->getGestureRecognizers()->objectAtIndex(0));
    kvresults::showOverlay(m_overlay, true);

    CCSprite* totemSprite = CCSprite::createWithSpriteFrameName("KV_AllTotems.png");
    if (totemSprite == nullptr) {
        logDebugMessage("victory screen: no \"KV_AllTotems.png\"; an empty totem stands in");
        totemSprite = new CCSprite();
        totemSprite->autorelease();
        (void)totemSprite->init();
    }
    const float totemWidth = totemSprite->getContentSize().width;
    totemSprite->setPosition(CCPoint(m_width / 2 - 2 * totemWidth, m_height / 2.1f));
    addChildAtZWithTag(totemSprite, kTotemZ, kTotemTag);

    m_pearlCounter = KVPearlCountItem::createSmall();
    m_pearlCounter->setOpacity(0);
    m_pearlCounter->setAnchorPoint(CCPoint(1.0f, 0.5f));
    m_pearlCounter->setPosition(CCPoint(m_width - 8, m_height - 12));
    addChildAtZWithTag(m_pearlCounter, kCounterZ, kPearlCounterTag);
    m_pearlCounter->runAction(CCFadeIn::createWithDuration(kFadeSeconds));

    totemSprite->runAction(CCSequence::createWithTwoActions(
        CCMoveBy::createWithDurationPosition(kTotemSeconds, CCPoint(1.2f * totemWidth, 0)),
        CCCallFunc::createWithTargetSelector(this, callfunc_selector(KVWinnerScreenLayerSolo::showNextRow))));
    setTouchEnabled(true);
}

void KVWinnerScreenLayerSolo::buildPearlRow() {
    KVScoreManager* score = m_gameModel != nullptr ? m_gameModel->getScoreManager() : nullptr;
    const int pearls = score != nullptr ? score->getScore() : 0;
    m_pearlAmount = KVMissionProgress::pearlLoot(pearls);
    m_loot += m_pearlAmount;
    CCString* title = kvresults::localised("PEARL LOOT TEXT");
    if (m_pearlAmount != pearls) {
        auto* doubled = new CCString(std::string(title->c_str()) + " x2");
        doubled->autorelease();
        doubled->makeWideString();
        title = doubled;
    }
    addHidden(this, makeLabel(title, PRODUCT_FONT_NAME, CCPoint(1.0f, 0.5f)), kRowZ,
              kDescriptionTag + kPearlRow);
    addHidden(this,
              makeLabel(kvdata::newString(std::to_string(m_pearlAmount)), kAmountFont, CCPoint(0.0f, 0.5f)),
              kRowZ, kRewardTag + kPearlRow);
    addHidden(this, CCSprite::createWithSpriteFrameName(pearls == 0 ? "KV_Bulle_boo.png" : "KV_Bulle.png"),
              kBubbleZ, kBubbleTag + kPearlRow);
}

void KVWinnerScreenLayerSolo::buildStarRow(int row) {
    const int result = m_starResults[row];
    CCString* description = nullptr;
    const std::string status = statusWord(result);
    if (row == 2) {
        KVScoreManager* score = m_gameModel != nullptr ? m_gameModel->getScoreManager() : nullptr;
        auto* solo = dynamic_cast<KVScoreManagerSolo*>(score);
        const int turns = solo != nullptr ? solo->getPlayerTurns() : 0;
        const int limit = kvdata::intAt(KVGameParameters::getInstance()->findMissionDefinition(
                                            KVGameSetup::getInstance()->getMissionName()),
                                        "speedStar_number");
        description = turns == 1 ? kvresults::localisedFormat("SPEED STAR TEXT 1 TURN", {limit})
                                 : kvresults::localisedFormat("SPEED STAR TEXT", {turns, limit});
    } else {
        description = kvresults::localised((row == 1 ? "SURVIVAL STAR " : "SECRET STAR ") + status);
    }
    addHidden(this, makeLabel(description, PRODUCT_FONT_NAME, CCPoint(1.0f, 0.5f)), kRowZ,
              kDescriptionTag + row);

    std::string suffix;
    KVLabelWithShadow* reward = nullptr;
    if (result == KVScoreManagerSolo::kStarNotEarned) {
        reward = makeLabel(kvresults::localised("STAR NOT OBTAINED REWARD"), PRODUCT_FONT_NAME,
                           CCPoint(0.0f, 0.5f));
        suffix = "_boo";
    } else if (result == KVScoreManagerSolo::kStarEarned) {
        reward = makeLabel(kvdata::newString(std::to_string(kStarReward)), kAmountFont, CCPoint(0.0f, 0.5f));
        m_loot += kStarReward;
    } else {
        reward = makeLabel(kvdata::newString("0"), kAmountFont, CCPoint(0.0f, 0.5f));
    }
    addHidden(this, reward, kRowZ, kRewardTag + row);
    addHidden(this, CCSprite::createWithSpriteFrameName(("KV_Bulle" + suffix + ".png").c_str()), kBubbleZ,
              kBubbleTag + row);
    addHidden(
        this,
        CCSprite::createWithSpriteFrameName(("KV_Star" + std::to_string(row + 1) + suffix + ".png").c_str()),
        kRowZ, kStarTag + row);
}

void KVWinnerScreenLayerSolo::cleanupBeforeDelete() {
    CCNotificationCenter::getInstance()->removeObserver(this);
    kvresults::showOverlay(m_overlay, false);
    m_gameModel.reset();
    m_unlockedItems.reset();
    m_lockedItems.reset();
    m_victoryMessages.reset();
    m_overlay.reset();
    m_tapRecognizer = nullptr;
    m_pearlCounter.reset();
    CCLayerColor::cleanupBeforeDelete();
}

void KVWinnerScreenLayerSolo::onExit() {
    // A screen taken off the stage (its scene replaced) no longer takes taps.
    kvresults::showOverlay(m_overlay, false);
    CCLayerColor::onExit();
}

void KVWinnerScreenLayerSolo::registerWithTouchDispatcher() {
    CCTouchDispatcher::getInstance()->addTargetedDelegate(this, 0, true);
}

bool KVWinnerScreenLayerSolo::touchBegan(CCTouch*, CCEvent*) {
    return true;
}

CCSprite* KVWinnerScreenLayerSolo::totem() const {
    return dynamic_cast<CCSprite*>(getChildByTag(kTotemTag));
}

float KVWinnerScreenLayerSolo::rowY(int row) const {
    CCSprite* sprite = totem();
    if (sprite == nullptr) return 0.0f;
    return sprite->getPosition().y + sprite->getContentSize().height / 2 - kFirstRowDrop - row * kRowPitch;
}

void KVWinnerScreenLayerSolo::payLoot(int amount) {
    if (amount <= 0) return;
    KVPlayerParameters::getInstance()->addPearls(amount);
    m_loot -= amount;
}

void KVWinnerScreenLayerSolo::placeStar(int row) {
    CCSprite* sprite = totem();
    CCNode* star = getChildByTag(kStarTag + row);
    if (sprite == nullptr || star == nullptr) return;
    const CCSize size = sprite->getContentSize();
    const CCPoint corner(sprite->getPosition().x - size.width / 2, sprite->getPosition().y + size.height / 2);
    star->setPosition(CCPoint(corner.x + kStarPlaces[row].x, corner.y + kStarPlaces[row].y));
}

void KVWinnerScreenLayerSolo::stampStar(int row) {
    CCNode* star = getChildByTag(kStarTag + row);
    const int result = m_starResults[row];
    if (result == KVScoreManagerSolo::kStarEarned) {
        CCNotificationCenter::getInstance()->postNotification(EVENT_VICTORY_STAR_GAINED);
        payLoot(kStarReward);
    } else if (result == KVScoreManagerSolo::kStarNotEarned) {
        CCNotificationCenter::getInstance()->postNotification(EVENT_VICTORY_STAR_NOT_OBTAINED);
    }
    if (star == nullptr) return;
    placeStar(row);
    star->setScale(result == KVScoreManagerSolo::kStarEarned      ? 5.0f
                   : result == KVScoreManagerSolo::kStarNotEarned ? 0.1f
                                                                  : 1.0f);
    setOpacityOf(star, 0);
    star->setVisible(true);
    star->runAction(CCSpawn::createWithTwoActions(CCFadeIn::createWithDuration(kStampSeconds),
                                                  CCScaleTo::createWithDurationScale(kStampSeconds, 1.0f)));
}

void KVWinnerScreenLayerSolo::showNextRow() {
    if (m_done) return;
    if (m_rowsShown >= kRows) {
        m_overlay->setTouchEnabled(true);
        m_done = true;
        KVPlayerParameters::getInstance()->saveProfile();
        startPopUps();
        return;
    }
    const int row = m_rowsShown++;
    CCSprite* sprite = totem();
    const float left = sprite->getPosition().x + sprite->getContentSize().width / 6;
    const float y = rowY(row);
    CCNode* bubble = getChildByTag(kBubbleTag + row);
    float bubbleLeft = m_width;
    if (bubble != nullptr) {
        const float bubbleWidth = bubble->getContentSize().width;
        bubble->setPosition(CCPoint(m_width + bubbleWidth / 2, y));
        bubble->setVisible(true);
        bubble->runAction(arrival(left - bubble->getPosition().x + bubbleWidth / 2));
        bubbleLeft = bubble->getPosition().x - bubbleWidth / 2;
        if (auto* description = dynamic_cast<KVLabelWithShadow*>(getChildByTag(kDescriptionTag + row))) {
            description->setPosition(CCPoint(bubbleLeft + kDescriptionOffset, y));
            description->setVisible(true);
            description->runAction(arrival(left - bubble->getPosition().x + bubbleWidth / 2));
        }
    }
    auto* reward = dynamic_cast<KVLabelWithShadow*>(getChildByTag(kRewardTag + row));
    if (row < kPearlRow)
        stampStar(row);
    else
        payLoot(m_pearlAmount);
    if (reward == nullptr) return;
    reward->setPosition(CCPoint(left + kRewardOffset, y));
    reward->setOpacity(0);
    reward->setVisible(true);
    CCFiniteTimeAction* steps[] = {
        CCDelayTime::createWithDuration(kRewardDelay),
        CCCallFunc::createWithTargetSelector(m_pearlCounter,
                                             callfunc_selector(KVPearlCountItem::startCountUp)),
        CCFadeIn::createWithDuration(kFadeSeconds),
        CCCallFunc::createWithTargetSelector(this, callfunc_selector(KVWinnerScreenLayerSolo::showNextRow))};
    reward->runActionWithOutline(CCSequence::createWithActionList(steps, 4));
}

void KVWinnerScreenLayerSolo::skipPresentation() {
    payLoot(m_loot);
    KVPlayerParameters::getInstance()->saveProfile();
    CCSprite* sprite = totem();
    if (sprite == nullptr) return;
    sprite->stopAllActions();
    const float left = sprite->getPosition().x + sprite->getContentSize().width / 6;
    for (int row = 0; row < kRows; ++row) {
        const float y = rowY(row);
        CCNode* bubble = getChildByTag(kBubbleTag + row);
        float bubbleLeft = left;
        if (bubble != nullptr) {
            bubble->stopAllActions();
            bubble->setPosition(CCPoint(left + bubble->getContentSize().width / 2, y));
            bubble->setVisible(true);
        }
        if (auto* description = dynamic_cast<KVLabelWithShadow*>(getChildByTag(kDescriptionTag + row))) {
            description->stopActionsWithOutline();
            description->setPosition(CCPoint(bubbleLeft + kDescriptionOffset, y));
            description->setVisible(true);
        }
        if (auto* reward = dynamic_cast<KVLabelWithShadow*>(getChildByTag(kRewardTag + row))) {
            reward->stopActionsWithOutline();
            reward->setPosition(CCPoint(left + kRewardOffset, y));
            reward->setOpacity(255);
            reward->setVisible(true);
        }
        if (row == kPearlRow) continue;
        if (CCNode* star = getChildByTag(kStarTag + row)) {
            star->stopAllActions();
            placeStar(row);
            setOpacityOf(star, 255);
            star->setScale(1.0f);
            star->setVisible(true);
        }
    }
    m_rowsShown = kRows;
    if (m_pearlCounter != nullptr) m_pearlCounter->startCountUp();
    startPopUps();
}

void KVWinnerScreenLayerSolo::startPopUps() {
    if (m_unlockedItems->count() == 0 && m_lockedItems->count() == 0 && m_victoryMessages->count() == 0)
        return;
    kvresults::showOverlay(m_overlay, false);
    if (!m_observingPopUps) {
        CCNotificationCenter::getInstance()->addObserver(
            this, notification_selector(KVWinnerScreenLayerSolo::showNextRewardPopUp), EVENT_POP_UP_CLOSED);
        m_observingPopUps = true;
    }
    showNextRewardPopUp();
}

void KVWinnerScreenLayerSolo::showNextRewardPopUp(CCNotification*) {
    struct Queue {
        CCMutableArray<CCString*>* list;
        int kind;
    };
    for (const Queue& queue :
         {Queue{m_unlockedItems, 6}, Queue{m_lockedItems, 7}, Queue{m_victoryMessages, 8}}) {
        if (queue.list == nullptr || queue.list->count() == 0) continue;
        CCString* subject = queue.list->objectAtIndex(0);
        subject->retain();
        queue.list->removeObjectAtIndex(0);
        kvresults::openPopUp(queue.kind, subject);
        subject->release();
        return;
    }
    kvresults::showOverlay(m_overlay, true);
    CCNotificationCenter::getInstance()->removeObserver(this);
    m_observingPopUps = false;
}

void KVWinnerScreenLayerSolo::onTap(CCGestureRecognizer*, CCNode*) {
    if (m_closing) return;
    if (!m_done) {
        skipPresentation();
        m_done = true;
        return;
    }
    close();
}

void KVWinnerScreenLayerSolo::close() {
    m_closing = true;
    for (int tag = kBubbleTag; tag < kRewardTag + kRows; ++tag) {
        if (tag >= kStarTag && tag < kRewardTag) continue;
        CCNode* child = getChildByTag(tag);
        if (child == nullptr) continue;
        if (auto* label = dynamic_cast<KVLabelWithShadow*>(child))
            label->runActionWithOutline(CCFadeOut::createWithDuration(kFadeSeconds));
        else
            child->runAction(CCFadeOut::createWithDuration(kFadeSeconds));
    }
    runAction(CCSequence::createWithTwoActions(
        CCDelayTime::createWithDuration(kFadeSeconds),
        CCCallFunc::createWithTargetSelector(this, callfunc_selector(KVWinnerScreenLayerSolo::showButtons))));
}

void KVWinnerScreenLayerSolo::showButtons() {
    if (m_buttonsShown) return;
    m_buttonsShown = true;
    KVGameSetup* setup = KVGameSetup::getInstance();
    CCString* next =
        KVGameParameters::getInstance()->getNextMissionName(setup->getMissionName(), setup->getChapterName());
    const int lock = next != nullptr ? KVPlayerParameters::getInstance()->getMissionLockStatus(
                                           next->text, kvdata::textOf(setup->getChapterName()))
                                     : 0;
    const float x = m_width / 2;
    const float middle = m_height / 2;
    // The Restart button's height sets the pitch: make it first, place the others from it.
    KVButton* restart = kvresults::addButton(this, "Pause restart", x, middle, kButtonZ, this,
                                             menu_selector(KVWinnerScreenLayerSolo::onRestart));
    const float pitch = kvresults::buttonHeight(restart);
    if (restart != nullptr) {
        restart->setPosition(CCPoint(x, middle + 0.75f * pitch));
        restart->setTag(kRestartTag);
    }
    KVButton* next_ = kvresults::addButton(this, "Pause continue", x, middle + 2.25f * pitch, kButtonZ, this,
                                           menu_selector(KVWinnerScreenLayerSolo::onContinue));
    KVButton* team = kvresults::addButton(this, "WorldMap_Screen_Squad", x, middle - 0.75f * pitch, kButtonZ,
                                          this, menu_selector(KVWinnerScreenLayerSolo::onTeam));
    KVButton* shop = kvresults::addButton(this, "WorldMap_Screen_Shop", x, middle - 2.25f * pitch, kButtonZ,
                                          this, menu_selector(KVWinnerScreenLayerSolo::onShop));
    if (next_ != nullptr) next_->setTag(kContinueTag);
    if (team != nullptr) team->setTag(kTeamTag);
    if (shop != nullptr) shop->setTag(kShopTag);
    if (lock != 0) {
        kvresults::disableButton(restart);
        kvresults::disableButton(next_);
        kvresults::disableButton(shop);
    } else {
        kvresults::markNewItems(shop);
    }
    if (next == nullptr) kvresults::disableButton(next_);
    setTouchEnabled(true);
    kvresults::showOverlay(m_overlay, false);
}

void KVWinnerScreenLayerSolo::onRestart(CCObject*) {
    kvresults::leaveMission(2, false);
}

void KVWinnerScreenLayerSolo::onContinue(CCObject*) {
    KVGameSetup* setup = KVGameSetup::getInstance();
    KVGameParameters* parameters = KVGameParameters::getInstance();
    if (parameters->isLastMissionOfChapter(setup->getMissionName(), setup->getChapterName())) {
        kvresults::leaveMission(3, true);
        return;
    }
    CCString* next = parameters->getNextMissionName(setup->getMissionName(), setup->getChapterName());
    if (next == nullptr) {
        logDebugMessage("victory screen: no mission follows \"%s\"",
                        kvdata::textOf(setup->getMissionName()).c_str());
        return;
    }
    kvresults::setMissionToLaunch(next);
    setup->buildTeam();
    kvresults::leaveMission(2, false);
}

void KVWinnerScreenLayerSolo::onTeam(CCObject*) {
    kvresults::leaveMission(4, true);
}

void KVWinnerScreenLayerSolo::onShop(CCObject*) {
    kvresults::leaveMission(5, true);
}
