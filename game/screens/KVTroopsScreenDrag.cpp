// The troops screen's team row in motion: the creature figures and their loops, the slot hit test,
// the drag and drop that the carousel's touch relays drive, the taps, and the tutorial hints.
#include <cmath>
#include <cstdio>

#include "engine/actions/CCAnimate.h"
#include "engine/actions/CCCallFunc.h"
#include "engine/actions/CCDelayTime.h"
#include "engine/actions/CCFadeTo.h"
#include "engine/actions/CCMoveTo.h"
#include "engine/actions/CCRepeat.h"
#include "engine/actions/CCSequence.h"
#include "engine/base/CCLog.h"
#include "engine/base/CCNotificationCenter.h"
#include "engine/base/CCString.h"
#include "engine/director/CCDirector.h"
#include "engine/sprites/CCAnimation.h"
#include "engine/sprites/CCSprite.h"
#include "engine/sprites/CCSpriteFrame.h"
#include "engine/sprites/CCSpriteFrameCache.h"
#include "game/app/KVGlobalNames.h"
#include "game/data/KVGameParameters.h"
#include "game/data/KVPlayerParameters.h"
#include "game/menu/KVButton.h"
#include "game/menu/KVButtonItem.h"
#include "game/menu/KVDoubleTapHint.h"
#include "game/menu/KVMenuManager.h"
#include "game/menu/KVScrollOverlayView.h"
#include "game/menu/KVScrollScalableItem.h"
#include "game/screens/KVTroopsScreenView.h"

using namespace kvengine;

namespace {

constexpr float kSnapSeconds = 0.1f;
constexpr float kFadeSeconds = 0.2f;
constexpr float kIconFadeInSeconds = 0.1f;
constexpr float kSlideSecondsPerSlot = 0.2f;
constexpr float kHintDelaySeconds = 0.5f;
constexpr float kHandMoveSeconds = 0.5f;
constexpr float kHandReturnSeconds = 2.0f;
constexpr float kHintFrameSeconds = 0.1f;
constexpr int kHintZ = 1010;
const char* const kKelvoSet = "kelvo";
// Where a figure taken from a card waits, far outside the window, until the first drag step.
const CCPoint kOffStage(90000, 0);

CCAnimation* loopFrames(const std::string& sprite, const char* word, const char* countKey) {
    if (sprite.empty()) return nullptr;
    const int count = KVGameParameters::getInstance()->getAnimSettingInt(kKelvoSet, countKey);
    auto* frames = new CCMutableArray<CCSpriteFrame*>();
    CCSpriteFrameCache* cache = CCSpriteFrameCache::getInstance();
    char name[256];
    for (int i = 1; i <= count; ++i) {
        std::snprintf(name, sizeof name, "%s_%s_%.2d.png", sprite.c_str(), word, i);
        if (cache->hasSpriteFrame(name)) frames->addObject(cache->findSpriteFrameByName(name));
    }
    // Without any of its frames there is no loop to play.
    CCAnimation* animation =
        frames->count() > 0 ? CCAnimation::createWithFramesDelay(frames, KVTroopsScreenView::kFrameSeconds)
                            : nullptr;
    frames->release();
    return animation;
}

CCSprite* spriteOfFrame(const std::string& sprite, const char* word) {
    if (sprite.empty()) return nullptr;
    const std::string frame = sprite + "_" + word + "_01.png";
    if (!CCSpriteFrameCache::getInstance()->hasSpriteFrame(frame.c_str())) return nullptr;
    return CCSprite::createWithSpriteFrameName(frame.c_str());
}

bool stepPendingOnTeam() {
    return KVPlayerParameters::getInstance()->processForcedSteps("team", true);
}

} // namespace

std::string KVTroopsScreenView::spriteOf(const std::string& creature) {
    return kvdata::textAt(KVGameParameters::getInstance()->getKelvoStats(creature), "sprite_name");
}

std::string KVTroopsScreenView::classOf(const std::string& creature) {
    return kvdata::textAt(KVGameParameters::getInstance()->getKelvoStats(creature), "Class");
}

CCSprite* KVTroopsScreenView::makeShopHint(CCNode* item) {
    CCSprite* hand = item != nullptr ? createDoubleTapHint() : nullptr;
    if (hand == nullptr) return nullptr;
    const CCSize size = item->getContentSize();
    hand->setPosition(CCPoint(0.5f * size.width, 0.75f * size.height));
    return hand;
}

// ---- loops and figures ----

CCAction* KVTroopsScreenView::createIdleAnimation(const std::string& spriteName) {
    CCAnimation* frames = loopFrames(spriteName, "idle", "idle");
    return frames != nullptr
               ? CCRepeatForever::createWithAction(CCAnimate::createWithAnimationRestore(frames, false))
               : nullptr;
}

CCAction* KVTroopsScreenView::createHitAnimation(const std::string& spriteName) {
    CCAnimation* frames = loopFrames(spriteName, "hit", "hit");
    return frames != nullptr
               ? CCRepeatForever::createWithAction(CCAnimate::createWithAnimationRestore(frames, false))
               : nullptr;
}

CCAction* KVTroopsScreenView::createVictoryAnimation(const std::string& spriteName) {
    CCAnimation* frames = loopFrames(spriteName, "victory", "victory");
    return frames != nullptr ? CCAnimate::createWithAnimationRestore(frames, false) : nullptr;
}

CCSprite* KVTroopsScreenView::createIdleFigure(const std::string& spriteName, int tag) {
    CCAction* idle = createIdleAnimation(spriteName);
    if (idle == nullptr) return nullptr;
    if (getChildByTag(tag) != nullptr) removeChildByTag(tag, true);
    CCSprite* figure = spriteOfFrame(spriteName, "idle");
    if (figure == nullptr) return nullptr;
    figure->stopAllActions();
    figure->runAction(idle);
    return figure;
}

CCSprite* KVTroopsScreenView::createHitFigure(const std::string& spriteName) {
    CCSprite* figure = spriteOfFrame(spriteName, "hit");
    if (figure == nullptr) return nullptr;
    figure->stopAllActions();
    if (CCAction* hit = createHitAnimation(spriteName)) figure->runAction(hit);
    return figure;
}

// ---- slot hit test ----

std::string KVTroopsScreenView::firstShownTeamMember() const {
    for (int s = 0; s < kSlotCount; ++s) {
        const std::string name = teamName(s);
        if (name.empty()) continue;
        if (spriteOfFrame(spriteOf(name), "idle") != nullptr) return name;
    }
    return "";
}

int KVTroopsScreenView::teamSlotAtPoint(const CCPoint& p) const {
    const std::string member = firstShownTeamMember();
    if (member.empty()) return -1;
    return slotAtPoint(p, spriteOfFrame(spriteOf(member), "idle")->getContentSize());
}

int KVTroopsScreenView::slotAtPoint(const CCPoint& p, const CCSize& frame) {
    const CCPoint first = slotPosition(0);
    if (!(std::fabs(p.y - first.y) < (frame.height + 2 * kSlotMargin) / 2)) return -1;
    // Frames wider than the slot pitch make neighbouring areas overlap: the nearer slot wins there,
    // the left one on a tie, so that a drop on a slot's centre always lands in that slot.
    int found = -1;
    float nearest = 0.0f;
    for (int s = 0; s < kSlotCount; ++s) {
        const float dx = std::fabs(p.x - slotPosition(s).x);
        if (dx < (frame.width + kSlotPitch) / 2 && (found < 0 || dx < nearest)) {
            found = s;
            nearest = dx;
        }
    }
    return found;
}

bool KVTroopsScreenView::isHelmetWornInTeam(const std::string& helmetSpriteName) const {
    kvdata::Dict* roster = buildRoster();
    for (int s = 0; s < kSlotCount; ++s) {
        const std::string name = teamName(s);
        if (name.empty()) continue;
        if (kvdata::textAt(kvdata::dictAt(roster, name), "helmet_sprite_name") == helmetSpriteName)
            return true;
    }
    return false;
}

// ---- the team row's animated operations ----

void KVTroopsScreenView::createDragFigures(const std::string& name) {
    setDragFigure(nullptr);
    setHelmetSprite(nullptr);
    kvdata::Dict* entry = kvdata::dictAt(buildRoster(), name);
    const std::string sheet = kvdata::textAt(entry, "spritesheet_name");
    if (!sheet.empty()) {
        loadSpriteSheet(sheet);
        const std::string helmetSheet = helmetSheetOf(entry);
        if (!helmetSheet.empty()) loadSpriteSheet(helmetSheet);
    }
    CCSprite* figure = nullptr;
    const std::string sprite = kvdata::textAt(entry, "sprite_name");
    if (!sprite.empty()) {
        figure = createHitFigure(sprite);
        if (figure != nullptr) {
            figure->setScale(1);
            addChildAtZWithTag(figure, 1, kDragFigureTag);
            figure->setPosition(CCPoint(kOffStage.x + slotPosition(0).x, slotPosition(0).y));
            figure->setScale(KVGameParameters::getInstance()->getAnimScaleFactor(kKelvoSet));
        }
    }
    const std::string helmetSprite = kvdata::textAt(entry, "helmet_sprite_name");
    if (!helmetSprite.empty()) {
        if (CCSprite* helmet = createHitFigure(helmetSprite)) {
            helmet->setScale(1);
            addChildAtZWithTag(helmet, 1, kDragHelmetTag);
            helmet->setPosition(figure != nullptr
                                    ? figure->getPosition()
                                    : CCPoint(kOffStage.x + slotPosition(0).x, slotPosition(0).y));
            setHelmetSprite(helmet);
        }
    }
    setDragFigure(figure);
}

void KVTroopsScreenView::snapDragToTargetSlot() {
    if (dragFigure == nullptr) {
        setHelmetSprite(nullptr);
        return;
    }
    const CCPoint to = slotPosition(targetSlot);
    const CCPoint from = dragFigure->getPosition();
    const CCPoint d(to.x - from.x, to.y - from.y);
    dragFigure->runAction(CCSequence::createWithActions(
        CCMoveBy::createWithDurationPosition(kSnapSeconds, d),
        CCCallFunc::createWithTargetSelector(this,
                                             callfunc_selector(KVTroopsScreenView::playVictoryOnTargetSlot)),
        nullptr));
    dragFigure->setTag(kFigureTag + targetSlot);
    if (dragHelmet != nullptr) {
        dragHelmet->setTag(kHelmetTag + targetSlot);
        dragHelmet->runAction(CCMoveBy::createWithDurationPosition(kSnapSeconds, d));
    }
    setDragFigure(nullptr);
    setHelmetSprite(nullptr);
}

void KVTroopsScreenView::playVictoryOnTargetSlot() {
    CCNode* figure = getChildByTag(kFigureTag + targetSlot);
    CCNode* helmet = getChildByTag(kHelmetTag + targetSlot);
    if (figure == nullptr) return;
    const std::string name = selectedName != nullptr ? selectedName->text : teamName(targetSlot);
    figure->stopAllActions();
    if (auto* sprite = dynamic_cast<CCSprite*>(figure)) sprite->setOpacity(255);
    CCAction* victory = createVictoryAnimation(spriteOf(name));
    CCFiniteTimeAction* idle =
        CCCallFunc::createWithTargetSelector(this, callfunc_selector(KVTroopsScreenView::playTeamIdle));
    if (victory != nullptr)
        figure->runAction(
            CCSequence::createWithActions(static_cast<CCFiniteTimeAction*>(victory), idle, nullptr));
    else
        figure->runAction(idle);
    const std::string helmetSprite =
        kvdata::textAt(kvdata::dictAt(buildRoster(), name), "helmet_sprite_name");
    if (helmet != nullptr && !helmetSprite.empty()) {
        helmet->stopAllActions();
        helmet->setPosition(figure->getPosition());
        if (auto* sprite = dynamic_cast<CCSprite*>(helmet)) sprite->setOpacity(255);
        if (CCAction* helmetVictory = createVictoryAnimation(helmetSprite)) helmet->runAction(helmetVictory);
    }
}

void KVTroopsScreenView::playTeamIdle() {
    if (touchState == kDropAnimating || touchState == kIdle)
        touchState = animating ? kIdleWhileSliding : kIdle;
    kvdata::Dict* roster = buildRoster();
    for (int s = 0; s < kSlotCount; ++s) {
        CCNode* figure = getChildByTag(kFigureTag + s);
        CCNode* helmet = getChildByTag(kHelmetTag + s);
        for (CCNode* node : {figure, helmet}) {
            if (node == nullptr) continue;
            node->setPosition(slotPosition(s));
            node->stopAllActions();
        }
        const std::string name = teamName(s);
        if (name.empty()) continue;
        if (figure != nullptr)
            if (CCAction* idle = createIdleAnimation(spriteOf(name))) figure->runAction(idle);
        const std::string helmetSprite = kvdata::textAt(kvdata::dictAt(roster, name), "helmet_sprite_name");
        if (helmet != nullptr && !helmetSprite.empty())
            if (CCAction* idle = createIdleAnimation(helmetSprite)) helmet->runAction(idle);
    }
}

void KVTroopsScreenView::discardNode(CCNode* node) {
    if (node != nullptr && node->getParent() != nullptr) node->removeFromParent(true);
}

void KVTroopsScreenView::fadeOutDragFigures() {
    animating = true;
    if (CCNode* figure = getChildByTag(kDragFigureTag)) {
        figure->setTag(kFadingFigureTag);
        figure->runAction(CCSequence::createWithActions(
            CCFadeOut::createWithDuration(kFadeSeconds),
            CCCallFunc::createWithTargetSelector(this, callfunc_selector(KVTroopsScreenView::playTeamIdle)),
            CCCallFuncN::createWithTargetSelector(this, callfuncN_selector(KVTroopsScreenView::discardNode)),
            nullptr));
    }
    if (CCNode* helmet = getChildByTag(kDragHelmetTag)) {
        helmet->setTag(kFadingHelmetTag);
        helmet->runAction(CCSequence::createWithActions(
            CCFadeOut::createWithDuration(kFadeSeconds),
            CCCallFuncN::createWithTargetSelector(this, callfuncN_selector(KVTroopsScreenView::discardNode)),
            nullptr));
    }
}

void KVTroopsScreenView::fadeOutSlot(int slot) {
    const int tags[2][2] = {{kFigureTag + slot, kFadingFigureTag}, {kHelmetTag + slot, kFadingHelmetTag}};
    for (const auto& tag : tags) {
        CCNode* node = getChildByTag(tag[0]);
        if (node == nullptr) continue;
        node->stopAllActions();
        node->setTag(tag[1]);
        node->runAction(CCSequence::createWithActions(
            CCFadeOut::createWithDuration(kFadeSeconds),
            CCCallFuncN::createWithTargetSelector(this, callfuncN_selector(KVTroopsScreenView::discardNode)),
            nullptr));
    }
}

void KVTroopsScreenView::moveOccupantToSlot(int slot) {
    animating = true;
    CCNode* figure = getChildByTag(kFigureTag + targetSlot);
    CCNode* helmet = getChildByTag(kHelmetTag + targetSlot);
    CCNode* iconThere = getChildByTag(kIconTag + slot);
    CCNode* iconHere = getChildByTag(kIconTag + targetSlot);
    if (iconThere != nullptr) iconThere->setTag(kIconTag + targetSlot);
    if (iconHere != nullptr) iconHere->setTag(kIconTag + slot);
    const std::string occupant = teamName(targetSlot);
    const float dx = static_cast<float>(slot - targetSlot) * kSlotPitch;
    const float seconds = static_cast<float>(std::abs(slot - targetSlot)) * kSlideSecondsPerSlot;
    if (helmet != nullptr) {
        helmet->setTag(kHelmetTag + slot);
        helmet->stopAllActions();
        const std::string helmetSprite =
            kvdata::textAt(kvdata::dictAt(buildRoster(), occupant), "helmet_sprite_name");
        if (!helmetSprite.empty()) {
            if (CCAction* hit = createHitAnimation(helmetSprite)) helmet->runAction(hit);
            helmet->runAction(CCMoveBy::createWithDurationPosition(seconds, CCPoint(dx, 0)));
        }
    }
    if (figure != nullptr) {
        figure->setTag(kFigureTag + slot);
        figure->stopAllActions();
        if (CCAction* hit = createHitAnimation(spriteOf(occupant))) figure->runAction(hit);
        figure->runAction(
            CCSequence::createWithActions(CCMoveBy::createWithDurationPosition(seconds, CCPoint(dx, 0)),
                                          CCCallFunc::createWithTargetSelector(
                                              this, callfunc_selector(KVTroopsScreenView::onSlideFinished)),
                                          nullptr));
    } else {
        onSlideFinished();
    }
    if (CCNode* icon = getChildByTag(kIconTag + slot))
        icon->runAction(CCMoveBy::createWithDurationPosition(seconds, CCPoint(dx, 0)));
    if (CCNode* icon = getChildByTag(kIconTag + targetSlot))
        icon->runAction(CCMoveBy::createWithDurationPosition(seconds, CCPoint(-dx, 0)));
}

void KVTroopsScreenView::onSlideFinished() {
    animating = false;
    if (touchState == kIdleWhileSliding) touchState = kIdle;
}

void KVTroopsScreenView::showClassIcon() {
    if (selectedName == nullptr) return;
    const std::string frame = "KV_Icone_" + classOf(selectedName->text) + ".png";
    CCSprite* icon = CCSprite::createWithSpriteFrameName(frame.c_str());
    if (icon == nullptr) return;
    removeChildByTag(kIconTag + targetSlot, true);
    addChildAtZWithTag(icon, 1, kIconTag + targetSlot);
    icon->setPosition(iconPosition(targetSlot));
    icon->runAction(CCFadeIn::createWithDuration(kIconFadeInSeconds));
}

void KVTroopsScreenView::fadeOutClassIcon(int slot) {
    CCNode* icon = getChildByTag(kIconTag + slot);
    if (icon == nullptr) return;
    icon->setTag(kFadingIconTag);
    icon->runAction(CCSequence::createWithActions(
        CCFadeOut::createWithDuration(kFadeSeconds),
        CCCallFuncN::createWithTargetSelector(this, callfuncN_selector(KVTroopsScreenView::discardNode)),
        nullptr));
}

void KVTroopsScreenView::slideClassIcon(int fromSlot) {
    animating = true;
    CCNode* icon = getChildByTag(kIconTag + fromSlot);
    if (icon == nullptr) {
        onSlideFinished();
        return;
    }
    icon->setTag(kIconTag + targetSlot);
    const float seconds = static_cast<float>(std::abs(fromSlot - targetSlot)) * kSlideSecondsPerSlot;
    icon->runAction(CCSequence::createWithActions(
        CCMoveBy::createWithDurationPosition(
            seconds, CCPoint(static_cast<float>(targetSlot - fromSlot) * kSlotPitch, 0)),
        CCCallFunc::createWithTargetSelector(this, callfunc_selector(KVTroopsScreenView::onSlideFinished)),
        nullptr));
}

// ---- touches ----

void KVTroopsScreenView::setCursor(bool grab) {
    CCDirector::getInstance()->setCursorImage(grab ? CCDirector::kCursorOpenGrab : CCDirector::kCursorPoint);
}

void KVTroopsScreenView::onTouchBeganOnCard(float x, float y, CCString* name, int lockStatus) {
    if (inputBlocked) return;
    if (lockStatus == 0) {
        if (cardCarousel != nullptr && cardCarousel->getScrollView() != nullptr)
            cardCarousel->getScrollView()->setEnabled(true);
        setSelectedName(name);
        touchState = kOwnedCardPressed;
        lastScrollPoint = scrollPointNow();
        dragPosition = CCPoint(x + (cardCarousel != nullptr ? cardCarousel->getPosition().x : 0), y);
    } else if (lockStatus == 2) {
        setSelectedName(name);
        touchState = kShopCardPressed;
    }
}

CCPoint KVTroopsScreenView::scrollPointNow() const {
    // The cards may have moved since the last report (snapped back after a drop, or set back to the
    // row's start): a drag measures from where they are when it starts, not from that report.
    KVScrollOverlayView* scroll = cardCarousel != nullptr ? cardCarousel->getScrollView() : nullptr;
    if (scroll == nullptr) return CCPoint(0, 0);
    const CCPoint gl = CCDirector::getInstance()->convertDeltaToGL(scroll->getContentOffset());
    return CCPoint(-gl.x, -gl.y);
}

void KVTroopsScreenView::onTouchBeganOffCard(float x, float y) {
    if (inputBlocked) return;
    if (cardCarousel != nullptr && cardCarousel->getScrollView() != nullptr)
        cardCarousel->getScrollView()->setEnabled(true);
    if (touchState != kIdle) return;
    lastScrollPoint = scrollPointNow();
    const CCPoint p(x + (cardCarousel != nullptr ? cardCarousel->getPosition().x : 0), y);
    const int slot = teamSlotAtPoint(p);
    if (slot < 0 || teamName(slot).empty()) return;
    const std::string name = teamName(slot);
    setSelectedName(kvdata::newString(name));
    touchState = kSlotPressed;
    dragPosition = p;
    if (CCNode* figure = getChildByTag(kFigureTag + slot)) {
        figure->stopAllActions();
        if (CCAction* hit = createHitAnimation(spriteOf(name))) figure->runAction(hit);
    }
    if (CCNode* helmet = getChildByTag(kHelmetTag + slot)) {
        helmet->stopAllActions();
        const std::string helmetSprite =
            kvdata::textAt(kvdata::dictAt(buildRoster(), name), "helmet_sprite_name");
        if (CCAction* hit = createHitAnimation(helmetSprite)) helmet->runAction(hit);
    }
}

void KVTroopsScreenView::onCardsScrolled(float x, float y) {
    if (inputBlocked) return;
    if (CCNode* hand = getChildByTag(kHandTag)) {
        hand->stopAllActions();
        removeChild(hand, true);
    }
    if (touchState == kOwnedCardPressed && selectedName != nullptr) {
        createDragFigures(selectedName->text);
        touchState = kDraggingFromCard;
    } else if (touchState == kSlotPressed && selectedName != nullptr) {
        const int t = teamIndexOf(selectedName->text);
        setDragFigure(dynamic_cast<CCSprite*>(getChildByTag(kFigureTag + t)));
        setHelmetSprite(dynamic_cast<CCSprite*>(getChildByTag(kHelmetTag + t)));
        if (dragFigure != nullptr) dragFigure->setTag(kDragFigureTag);
        if (dragHelmet != nullptr) dragHelmet->setTag(kDragHelmetTag);
        touchState = kDraggingMember;
        setCursor(true);
    }
    if (touchState != kDraggingFromCard && touchState != kDraggingMember) {
        lastScrollPoint = CCPoint(x, y);
        return;
    }
    dragPosition = CCPoint(dragPosition.x + x - lastScrollPoint.x, dragPosition.y + y - lastScrollPoint.y);
    if (dragFigure != nullptr) {
        dragFigure->setPosition(dragPosition);
        if (dragHelmet != nullptr) dragHelmet->setPosition(dragFigure->getPosition());
    }
    lastScrollPoint = CCPoint(x, y);
    if (touchState == kDraggingFromCard) {
        if (!dragInProgress) {
            setCursor(true);
            dragInProgress = true;
        }
        // A creature taken from a card shows once the finger has risen out of the card row.
        const float height = cardCarousel != nullptr ? cardCarousel->getContentSize().height : 600.0f;
        int opacity = 0;
        if (y > height / 4)
            opacity = 255;
        else if (y >= height / 8)
            opacity = static_cast<int>((y - height / 8) * 2040 / height);
        if (opacity > 255) opacity = 255;
        if (dragFigure != nullptr) dragFigure->setOpacity(static_cast<uint8_t>(opacity));
        if (dragHelmet != nullptr) dragHelmet->setOpacity(static_cast<uint8_t>(opacity));
    } else {
        dragInProgress = false;
    }
}

void KVTroopsScreenView::onPanFinished() {
    if (inputBlocked) return;
    if (cardCarousel != nullptr && cardCarousel->getScrollView() != nullptr)
        cardCarousel->getScrollView()->setEnabled(false);
    if (selectedName == nullptr) return;
    KVPlayerParameters* profile = KVPlayerParameters::getInstance();
    const std::string selected = selectedName->text;
    const int g = teamSlotAtPoint(dragPosition);
    const int t = teamIndexOf(selected);
    std::string occupant;
    const bool dragging = touchState == kDraggingFromCard || touchState == kDraggingMember;
    if (g >= 0 && dragging) {
        targetSlot = g;
        occupant = teamName(g);
    }
    bool changed = false;
    if (touchState == kDraggingFromCard && g >= 0) {
        CCNotificationCenter::getInstance()->postNotification(EVENT_MENU_DROP, this);
        if (!occupant.empty() && t < 0) {
            // The creature takes the place of the occupant, who leaves the team.
            CCString* leaving = kvdata::newString(occupant);
            profile->setKelvoSelectedStatus(occupant, 0);
            if (cardCarousel != nullptr) cardCarousel->showEquipMarkForKelvo(leaving, false);
            profile->setKelvoSelectedStatus(selected, 1);
            if (cardCarousel != nullptr) cardCarousel->showEquipMarkForKelvo(selectedName, true);
            profile->setKelvoTurnSpeed(occupant, 5);
            fadeOutSlot(g);
            removeChildByTag(kIconTag + g, true);
            snapDragToTargetSlot();
            showClassIcon();
            profile->setKelvoTurnSpeed(selected, g + 1);
            setTeamName(g, selected);
            changed = true;
        } else if (!occupant.empty() && t == g) {
            dragInProgress = false;
            cancelDrag();
            return;
        } else if (!occupant.empty()) {
            // A team member dragged from its card onto another member's slot: they swap.
            fadeOutSlot(t);
            moveOccupantToSlot(t);
            snapDragToTargetSlot();
            setTeamName(g, teamName(t));
            setTeamName(t, occupant);
            profile->setKelvoTurnSpeed(selected, g + 1);
            profile->setKelvoTurnSpeed(occupant, t + 1);
            changed = true;
        } else if (t < 0) {
            profile->setKelvoSelectedStatus(selected, 1);
            if (cardCarousel != nullptr) cardCarousel->showEquipMarkForKelvo(selectedName, true);
            snapDragToTargetSlot();
            showClassIcon();
            setTeamName(g, selected);
            profile->setKelvoTurnSpeed(selected, g + 1);
            changed = true;
        } else {
            // A team member dragged from its card onto an empty slot moves there.
            fadeOutSlot(t);
            fadeOutClassIcon(t);
            snapDragToTargetSlot();
            showClassIcon();
            setTeamName(t, "");
            setTeamName(g, selected);
            profile->setKelvoTurnSpeed(selected, g + 1);
            changed = true;
        }
        touchState = kDropAnimating;
    } else if (touchState == kDraggingMember && g >= 0) {
        CCNotificationCenter::getInstance()->postNotification(EVENT_MENU_DROP, this);
        if (occupant != selected) {
            if (!occupant.empty()) {
                moveOccupantToSlot(t);
                profile->setKelvoTurnSpeed(occupant, t + 1);
            } else {
                slideClassIcon(t);
            }
            setTeamName(g, selected);
            setTeamName(t, occupant);
            profile->setKelvoTurnSpeed(selected, g + 1);
        }
        snapDragToTargetSlot();
        touchState = kDropAnimating;
        changed = true;
    } else if (touchState == kDraggingMember) {
        if (profile->getSelectedKelvos()->count() <= 1) {
            // The last member cannot leave the team: it flies back.
            targetSlot = t;
            snapDragToTargetSlot();
        } else {
            profile->setKelvoSelectedStatus(selected, 0);
            if (cardCarousel != nullptr) cardCarousel->showEquipMarkForKelvo(selectedName, false);
            fadeOutDragFigures();
            setDragFigure(nullptr);
            setHelmetSprite(nullptr);
            fadeOutClassIcon(t);
            profile->setKelvoTurnSpeed(teamName(t), 5);
            setTeamName(t, "");
            if (cardCarousel != nullptr && cardCarousel->getScrollView() != nullptr) {
                KVScrollOverlayView* scroll = cardCarousel->getScrollView();
                scroll->setContentOffset(CCPoint(0, scroll->getContentOffset().y));
            }
        }
        touchState = kDropAnimating;
        changed = true;
    }
    // Every change of the team is kept at once: quitting from this screen loses nothing.
    if (changed) profile->saveProfile();
    if (g < 0) {
        cancelDrag();
        return;
    }
    if (dragInProgress) {
        dragInProgress = false;
        if (cardCarousel != nullptr) cardCarousel->centerOnSelectedItem();
    }
    scheduleHintIfStepPending();
    setCursor(false);
}

void KVTroopsScreenView::scheduleHintIfStepPending() {
    if (!stepPendingOnTeam()) return;
    runAction(CCSequence::createWithActions(
        CCDelayTime::createWithDuration(kHintDelaySeconds),
        CCCallFunc::createWithTargetSelector(this, callfunc_selector(KVTroopsScreenView::showPlacementHint)),
        nullptr));
}

void KVTroopsScreenView::onDragAbandoned() {
    if (inputBlocked || selectedName == nullptr) return;
    // The drag ends before the row is re-centred: re-centring reports a scroll, which would
    // otherwise take the drag up again and keep the cards from ever moving.
    const bool recenter = dragInProgress;
    dragInProgress = false;
    if (touchState == kDraggingFromCard) {
        kvdata::Dict* entry = kvdata::dictAt(buildRoster(), selectedName->text);
        const bool member = isSelectedInTeam();
        if (dragHelmet != nullptr) {
            removeChild(dragHelmet, true);
            if (!member && !isHelmetWornInTeam(kvdata::textAt(entry, "helmet_sprite_name")))
                unloadSpriteSheet(helmetSheetOf(entry));
        }
        if (dragFigure != nullptr) removeChild(dragFigure, true);
        if (!member) unloadSpriteSheet(kvdata::textAt(entry, "spritesheet_name"));
        setDragFigure(nullptr);
        setHelmetSprite(nullptr);
        touchState = kIdle;
    }
    if (touchState == kDropAnimating) {
        animating = false;
    } else if (touchState == kIdleWhileSliding) {
        animating = false;
        touchState = kIdle;
    }
    if (recenter && cardCarousel != nullptr) cardCarousel->centerOnSelectedItem();
    scheduleHintIfStepPending();
}

void KVTroopsScreenView::cancelDrag() {
    if (inputBlocked || selectedName == nullptr) return;
    onDragAbandoned();
    setCursor(false);
}

void KVTroopsScreenView::rememberSelected(CCString* name) {
    KVMenuManager::getInstance()->setSelectedKelvoName(name);
    // Saves the profile.
    KVPlayerParameters::getInstance()->setLastVisitedKelvo(name);
}

void KVTroopsScreenView::onTouchEndedOnCard(float x, float y, CCString* name, int lockStatus) {
    (void)x;
    (void)y;
    if (inputBlocked) return;
    rememberSelected(name);
    inputBlocked = true;
    releaseTeamFigures();
    KVMenuManager::getInstance()->changeState(lockStatus == 0 ? KVMenuManager::kEquipmentState
                                                              : KVMenuManager::kShopState);
}

void KVTroopsScreenView::onTouchEndedOffCard(float x, float y) {
    (void)x;
    (void)y;
    if (inputBlocked) return;
    if (touchState != kOwnedCardPressed && touchState != kShopCardPressed && touchState != kSlotPressed)
        return;
    CCNotificationCenter::getInstance()->postNotification(EVENT_BUTTON_VALIDATED_LIGHT, this);
    const int status =
        selectedName != nullptr
            ? kvdata::intAt(KVPlayerParameters::getInstance()->getKelvoRecord(selectedName->text),
                            "status_locked")
            : 1;
    if (status != 0 && status != 2) {
        // No screen for this creature: the screen stays usable.
        logDebugMessage("troops: no screen for a creature of lock status %d", status);
        touchState = kIdle;
        playTeamIdle();
        return;
    }
    rememberSelected(selectedName);
    inputBlocked = true;
    releaseTeamFigures();
    KVMenuManager::getInstance()->changeState(status == 0 ? KVMenuManager::kEquipmentState
                                                          : KVMenuManager::kShopState);
}

// ---- tutorial hints ----

void KVTroopsScreenView::showPlacementHintIfNeeded(CCNotification* notification) {
    (void)notification;
    if (stepPendingOnTeam()) showPlacementHint();
}

CCNode* KVTroopsScreenView::cardOf(const std::string& name) const {
    return cardCarousel != nullptr ? cardCarousel->cardForKelvo(name) : nullptr;
}

CCPoint KVTroopsScreenView::cardPosition(CCNode* card) const {
    CCNode* content =
        cardCarousel != nullptr ? cardCarousel->getChildByTag(KVScrollScalableItem::kContentTag) : nullptr;
    CCNode* menu = content != nullptr ? content->getChildByTag(KVScrollScalableItem::kMenuTag) : nullptr;
    if (card == nullptr || menu == nullptr) return CCPoint(0, 0);
    return CCPoint(card->getPosition().x + content->getPosition().x + menu->getPosition().x,
                   content->getContentSize().height / 4);
}

void KVTroopsScreenView::showPlacementHint() {
    KVPlayerParameters* profile = KVPlayerParameters::getInstance();
    const std::vector<std::string> keys = profile->getForcedStepConditionKeys();
    const std::string type = profile->getForcedStepConditionType();
    std::string item;
    for (const std::string& key : keys)
        if (profile->getKelvoSelectedStatus(key) != 1 || type != "placeInTeam") item = key;
    if (item.empty()) return;
    CCPoint start;
    CCPoint dest;
    if (type == "placeInTeam") {
        CCNode* card = cardOf(item);
        if (card == nullptr) {
            logDebugMessage("troops: the tutorial names \"%s\", which has no card", item.c_str());
            return;
        }
        start = cardPosition(card);
        int slot = -1;
        for (int s = 0; s < kSlotCount && slot < 0; ++s) {
            const std::string name = teamName(s);
            bool named = false;
            for (const std::string& key : keys)
                named = named || key == name;
            if (name.empty() || !named) slot = s;
        }
        if (slot < 0) return;
        dest = slotPosition(slot);
    } else if (type == "placeInTeamLastPosition") {
        if (profile->getKelvoSelectedStatus(item) != 1) {
            CCNode* card = cardOf(item);
            if (card == nullptr) {
                logDebugMessage("troops: the tutorial names \"%s\", which has no card", item.c_str());
                return;
            }
            start = cardPosition(card);
        } else {
            const int slot = teamIndexOf(item);
            if (slot < 0) return;
            start = slotPosition(slot);
        }
        dest = slotPosition(kSlotCount - 1);
    } else {
        return;
    }
    if (CCNode* old = getChildByTag(kHandTag)) {
        old->stopAllActions();
        removeChild(old, true);
    }
    CCSprite* hand = CCSprite::createWithSpriteFrameName("doubletap01.png");
    CCAnimation* press =
        CCAnimation::createWithFrameNamePattern("doubletap%.2d.png", 1, 3, kHintFrameSeconds);
    CCAnimation* release =
        CCAnimation::createWithFrameNamePattern("doubletap%.2d.png", 6, 9, kHintFrameSeconds);
    if (hand == nullptr || press == nullptr || release == nullptr) return;
    const CCPoint there(dest.x - start.x, dest.y - start.y);
    const CCPoint back(start.x - dest.x, start.y - dest.y);
    hand->runAction(
        CCRepeatForever::createWithAction(static_cast<CCActionInterval*>(CCSequence::createWithActions(
            CCFadeTo::createWithDurationOpacity(0.1f, 255),
            CCAnimate::createWithAnimationRestore(press, false),
            CCMoveBy::createWithDurationPosition(kHandMoveSeconds, there),
            CCAnimate::createWithAnimationRestore(release, false),
            CCFadeTo::createWithDurationOpacity(0.1f, 0),
            CCMoveBy::createWithDurationPosition(kHandReturnSeconds, back), nullptr))));
    hand->setPosition(start);
    addChildAtZWithTag(hand, kHintZ, kHandTag);
}

void KVTroopsScreenView::showShopHintOnStep(CCNotification* notification) {
    (void)notification;
    auto* shop = dynamic_cast<KVButton*>(getChildByTag(kShopTag));
    KVButtonItem* item = shop != nullptr ? shop->getItem() : nullptr;
    if (item == nullptr || item->getChildByTag(kShopStepHintTag) != nullptr) return;
    CCString* screen = nullptr;
    CCString* target = nullptr;
    if (!KVPlayerParameters::getInstance()->getForcedStepTarget(&screen, &target) || screen == nullptr ||
        screen->text != "shop")
        return;
    CCSprite* hand = makeShopHint(item);
    if (hand == nullptr) return;
    item->addChildAtZWithTag(hand, kHintZ, kShopStepHintTag);
}
