#include "game/screens/KVSquadItem.h"

#include <string>

#include "engine/actions/CCCallFunc.h"
#include "engine/actions/CCFadeTo.h"
#include "engine/actions/CCSequence.h"
#include "engine/base/CCLog.h"
#include "engine/base/CCNotificationCenter.h"
#include "engine/base/CCString.h"
#include "engine/director/CCScheduler.h"
#include "engine/sprites/CCSprite.h"
#include "engine/sprites/CCSpriteFrameCache.h"
#include "game/app/KVGlobalNames.h"
#include "game/menu/KVScrollScalableItem.h"

using namespace kvengine;

namespace {

const char* const kHiddenPicture = "KV_hiddenLarge.png";

bool hasFrame(const std::string& name) {
    return CCSpriteFrameCache::getInstance()->hasSpriteFrame(name.c_str());
}

} // namespace

KVSquadItem* KVSquadItem::createWithCard(CCString* spriteName, bool locked, bool selected, bool active,
                                         CCObject* target) {
    auto* card = new KVSquadItem();
    if (!card->initWithCard(spriteName, locked, selected, active, target)) {
        card->release();
        return nullptr;
    }
    card->autorelease();
    return card;
}

bool KVSquadItem::initWithCard(CCString* spriteName, bool locked, bool selected, bool active,
                               CCObject* target) {
    CCSprite* normal = CCSprite::createWithSpriteFrameName("KV_CadreLargeNormal.png");
    CCSprite* pressed = CCSprite::createWithSpriteFrameName("KV_CadreLargeSelect.png");
    if (normal == nullptr || pressed == nullptr) {
        logDebugMessage("troops: a creature card lacks its frame pictures");
        return false;
    }
    if (!initWithSprites(normal, pressed, nullptr, target,
                         menu_selector(KVScrollScalableItem::onItemActivated)))
        return false;
    normal->retain();
    pressed->retain();
    m_normalFrame = normal;
    m_selectedFrame = pressed;
    normal->setAnchorPoint(CCPointZero);
    pressed->setAnchorPoint(CCPointZero);
    const CCSize size = pressed->getContentSize();
    setContentSize(size);
    setCardName(spriteName);
    inactive = false;

    const std::string sprite = spriteName != nullptr ? spriteName->c_str() : "";
    CCSprite* picture = nullptr;
    if (active) {
        const std::string lockedPicture = "KV_" + sprite + "LargeLock.png";
        const std::string openPicture = "KV_" + sprite + "Large.png";
        if (!hasFrame(lockedPicture))
            picture = CCSprite::createWithSpriteFrameName(kHiddenPicture);
        else if (locked)
            picture = CCSprite::createWithSpriteFrameName(lockedPicture.c_str());
        else if (hasFrame(openPicture))
            picture = CCSprite::createWithSpriteFrameName(openPicture.c_str());
        if (selected) {
            if (CCSprite* mark = CCSprite::createWithSpriteFrameName("KV_IconeEquip.png")) {
                mark->setAnchorPoint(CCPointZero);
                mark->setPosition(CCPoint(size.width / 2, size.height / 2));
                addChildAtZWithTag(mark, 2, kEquipMarkTag);
            }
        }
        if (locked) {
            if (CCSprite* padlock = CCSprite::createWithSpriteFrameName("KV_Iconelocked.png")) {
                padlock->setAnchorPoint(CCPoint(0.5f, 0));
                padlock->setPosition(CCPoint(size.width / 2, size.height / 4));
                addChildAtZWithTag(padlock, 2, padlock->getTag());
            }
        }
    } else {
        if (!locked) picture = CCSprite::createWithSpriteFrameName(kHiddenPicture);
        inactive = true;
    }
    if (picture != nullptr) {
        picture->setAnchorPoint(CCPointZero);
        addChildAtZWithTag(picture, 1, picture->getTag());
    }
    setAnchorPoint(CCPoint(0.5f, 0.5f));
    m_cleanedUp = false;
    return true;
}

void KVSquadItem::setCardName(CCString* name) {
    if (name != nullptr) name->retain();
    if (m_cardName != nullptr) m_cardName->release();
    m_cardName = name;
}

void KVSquadItem::cleanupBeforeDelete() {
    if (m_selectedFrame != nullptr) m_selectedFrame->release();
    if (m_normalFrame != nullptr) m_normalFrame->release();
    m_selectedFrame = nullptr;
    m_normalFrame = nullptr;
    setCardName(nullptr);
    CCMenuItemSprite::cleanupBeforeDelete();
}

void KVSquadItem::showEquipMark(bool shown) {
    if (shown) {
        CCSprite* mark = CCSprite::createWithSpriteFrameName("KV_IconeEquip.png");
        if (mark == nullptr) return;
        const CCSize size = getContentSize();
        mark->setAnchorPoint(CCPointZero);
        mark->setPosition(CCPoint(size.width / 2, size.height / 2));
        addChildAtZWithTag(mark, 1, kEquipMarkTag);
        mark->runAction(CCFadeIn::createWithDuration(kEquipFadeSeconds));
        return;
    }
    CCNode* mark = getChildByTag(kEquipMarkTag);
    if (mark == nullptr) return;
    // Retagged so that a mark shown again meanwhile is not the one found and removed.
    mark->setTag(kFadingMarkTag);
    mark->runAction(CCSequence::createWithActions(
        CCFadeOut::createWithDuration(kEquipFadeSeconds),
        CCCallFuncN::createWithTargetSelector(this, callfuncN_selector(KVSquadItem::discardMark)), nullptr));
}

void KVSquadItem::discardMark(CCNode* mark) {
    if (mark != nullptr && mark->getParent() == this) removeChild(mark, true);
}

void KVSquadItem::selected() {
    if (inactive) {
        CCNotificationCenter::getInstance()->postNotification(EVENT_BUTTON_INVALIDATED, this);
        return;
    }
    CCMenuItemSprite::selected();
}

void KVSquadItem::unselected() {
    if (!inactive) CCNotificationCenter::getInstance()->postNotification(EVENT_BUTTON_VALIDATED_LIGHT, this);
    CCMenuItemSprite::unselected();
}

void KVSquadItem::activate() {
    CCMenuItemSprite::activate();
    setEnabled(false);
    if (m_cleanedUp) return;
    CCScheduler::getInstance()->scheduleSelector(schedule_selector(KVSquadItem::reenable), this,
                                                 kReenableSeconds, !isRunning());
}

void KVSquadItem::reenable(float dt) {
    (void)dt;
    CCScheduler::getInstance()->unscheduleSelector(schedule_selector(KVSquadItem::reenable), this);
    setEnabled(true);
}

void KVSquadItem::cleanup() {
    m_cleanedUp = true;
    CCMenuItemSprite::cleanup();
}
