#include "game/menu/KVPortraitRadioShopIcon.h"

#include <cstdio>

#include "engine/actions/CCFadeTo.h"
#include "engine/base/CCLog.h"
#include "engine/base/CCNotification.h"
#include "engine/base/CCNotificationCenter.h"
#include "engine/base/CCString.h"
#include "engine/director/CCDirector.h"
#include "engine/labels/CCLabelTTF.h"
#include "engine/sprites/CCSprite.h"
#include "engine/sprites/CCSpriteFrameCache.h"
#include "game/app/KVGlobalNames.h"
#include "game/data/KVDataAccess.h"
#include "game/data/KVPlayerParameters.h"
#include "game/menu/KVDoubleTapHint.h"

using namespace kvengine;

namespace {

constexpr int kPictureZ = 3;
constexpr int kMarkZ = 10;
constexpr int kAmountZ = 11;
constexpr float kAmountFontSize = 14;
constexpr float kOwnedFadeSeconds = 0.3f;

// Consumables that are owned or not rather than counted: they show the owned mark.
constexpr const char* kPacks[] = {"pearlfish",      "jammer_pack",   "venus_pack", "vesper_pack",
                                  "kapono_pack",    "miracle_pack",  "unlock",     "unlock_all",
                                  "halloween_pack", "bonus_missions"};

bool isPack(const std::string& name) {
    for (const char* pack : kPacks)
        if (name == pack) return true;
    return false;
}

std::string withoutAll(std::string text, const std::string& part) {
    for (size_t at = text.find(part); at != std::string::npos; at = text.find(part))
        text.erase(at, part.size());
    return text;
}

} // namespace

KVPortraitRadioShopIcon* KVPortraitRadioShopIcon::createWithName(CCString* pictureName, CCObject* target,
                                                                 SEL_MenuHandler selector, int kind) {
    auto* icon = new KVPortraitRadioShopIcon();
    if (!icon->initWithName(pictureName, target, selector, kind)) {
        icon->release();
        return nullptr;
    }
    icon->autorelease();
    return icon;
}

bool KVPortraitRadioShopIcon::initWithName(CCString* pictureName, CCObject* target, SEL_MenuHandler selector,
                                           int kind) {
    if (kind != kCreature && kind != kHelmet && kind != kConsumable) {
        logDebugMessage("portrait icon: no shop icon of kind %d", kind);
        return false;
    }
    initWithTarget(target, selector);
    m_kind = kind;
    const std::string picture = pictureName != nullptr ? pictureName->c_str() : "";
    setPictureName(picture);
    const bool consumable = kind == kConsumable;
    if (!takeFrames(consumable ? "KV_CadreStuffNormal.png" : "KV_CadreLargeNormal.png",
                    consumable ? "KV_CadreStuffSelect.png" : "KV_CadreLargeSelect.png"))
        return false;
    getNormalFrame()->setAnchorPoint(CCPointZero);
    getSelectedFrame()->setAnchorPoint(CCPointZero);
    if (consumable) {
        CCNotificationCenter::getInstance()->addObserver(
            this, notification_selector(KVPortraitRadioShopIcon::onConsumableBought),
            SCREEN_MENU_BUY_CONSUMABLE);
        refreshAmount();
    }
    const bool wide = CCDirector::wideScreen != 0;
    if (KVPlayerParameters::getInstance()->isItemUnseen(baseName())) {
        if (CCSprite* mark = CCSprite::createWithSpriteFrameName("KV_IconeNew.png")) {
            mark->setAnchorPoint(CCPoint(0.5f, 0.5f));
            mark->setPosition(wide ? CCPoint(50, 57.5f) : CCPoint(66, 62));
            addChildAtZWithTag(mark, kMarkZ, kNewMarkTag);
        }
    }
    addTutorialHintIfPointed();
    setInvalidTap(false);
    // The picture as handed in: refreshAmount has already trimmed the kept name of a consumable.
    if (CCSpriteFrameCache::getInstance()->hasSpriteFrame(picture.c_str())) {
        CCSprite* sprite = CCSprite::createWithSpriteFrameName(picture.c_str());
        sprite->setAnchorPoint(kind == kHelmet ? CCPoint(-0.16f, -0.21f) : CCPointZero);
        addChildAtZWithTag(sprite, kPictureZ, sprite->getTag());
    } else {
        logDebugMessage("portrait icon: no frame \"%s\"; the vesper picture stands in for it",
                        picture.c_str());
        if (CCSprite* stand = CCSprite::createWithSpriteFrameName("KV_vesperLarge.png")) {
            stand->setAnchorPoint(CCPointZero);
            getNormalFrame()->addChildAtZWithTag(stand, kPictureZ, stand->getTag());
        }
    }
    resetLook();
    getNormalFrame()->setAnchorPoint(CCPointZero);
    getSelectedFrame()->setAnchorPoint(CCPointZero);
    setContentSize(CCSize(kWidth, kHeight));
    setAnchorPoint(CCPoint(0.5f, 0.5f));
    setCleanedUp(false);
    return true;
}

void KVPortraitRadioShopIcon::cleanupBeforeDelete() {
    CCNotificationCenter::getInstance()->removeObserver(this);
    if (m_pictureName != nullptr) m_pictureName->release();
    m_pictureName = nullptr;
    KVPortraitIcon::cleanupBeforeDelete();
}

void KVPortraitRadioShopIcon::setPictureName(const std::string& name) {
    if (m_pictureName != nullptr && name == m_pictureName->c_str()) return;
    CCString* kept = kvdata::newString(name);
    kept->retain();
    if (m_pictureName != nullptr) m_pictureName->release();
    m_pictureName = kept;
}

std::string KVPortraitRadioShopIcon::baseName() const {
    std::string base = m_pictureName != nullptr ? m_pictureName->c_str() : "";
    for (const char* part : {"_frontend_01.png", "KV_", "Large.png"})
        base = withoutAll(base, part);
    return base;
}

void KVPortraitRadioShopIcon::addTutorialHintIfPointed() {
    CCString* screen = nullptr;
    CCString* item = nullptr;
    if (!KVPlayerParameters::getInstance()->getForcedStepTarget(&screen, &item) || item == nullptr) return;
    if (baseName() != item->c_str()) return;
    if (CCSprite* hint = createDoubleTapHint()) {
        hint->setPosition(CCDirector::wideScreen != 0 ? CCPoint(292.5f, 192.5f) : CCPoint(228.5f, 224.5f));
        addChildAtZWithTag(hint, kHintZ, kHintTag);
    }
}

void KVPortraitRadioShopIcon::resetLook() {
    if (CCNode* hint = getChildByTag(kHintTag)) {
        hint->stopAllActions();
        removeChild(hint, true);
    }
    setPictureName(withoutAll(m_pictureName != nullptr ? m_pictureName->c_str() : "", "_frontend_01.png"));
    addTutorialHintIfPointed();
    showNormalFrame();
}

void KVPortraitRadioShopIcon::refreshAmount() {
    std::string name = withoutAll(m_pictureName != nullptr ? m_pictureName->c_str() : "", "_shop.png");
    std::string lookup = name;
    if (name == "bonus_missions") {
        lookup = "halloween_pack";
    } else if (name == "unlock" || name == "unlock_all") {
        // Both names stand for the one unlock item; the icon keeps the short one.
        lookup = "unlock_all";
        setPictureName("unlock");
    }
    if (name != "unlock_all" && name != "unlock") setPictureName(name);
    const int amount = KVPlayerParameters::getInstance()->getConsumableAmount(lookup);
    if (amount < 1) return;
    if (isPack(name)) {
        if (getChildByTag(kBadgeTag) != nullptr) return;
        CCSprite* owned = CCSprite::createWithSpriteFrameName("KV_IconeEquip.png");
        if (owned == nullptr) return;
        const CCSize frame = getSelectedFrame()->getContentSize();
        owned->setAnchorPoint(CCPointZero);
        owned->setPosition(CCPoint(frame.width / 2, frame.height / 2));
        owned->setOpacity(0);
        owned->runAction(CCFadeTo::createWithDurationOpacity(kOwnedFadeSeconds, 255));
        addChildAtZWithTag(owned, kMarkZ, kBadgeTag);
        return;
    }
    char text[16];
    std::snprintf(text, sizeof text, "%i", amount);
    if (getChildByTag(kBadgeTag) != nullptr) {
        CCNode* label = getChildByTag(kAmountTag);
        if (label != nullptr && label->asLabelProtocol() != nullptr)
            label->asLabelProtocol()->setString(text);
        return;
    }
    CCSprite* badge = CCSprite::createWithSpriteFrameName("KV_Fond_Nb_Item.png");
    if (badge == nullptr) return;
    const CCSize frame = getNormalFrame()->getContentSize();
    const CCSize size = badge->getContentSize();
    const CCPoint corner(frame.width - size.width * 0.25f, frame.height - size.height * 0.25f);
    badge->setAnchorPoint(CCPoint(0.5f, 0.5f));
    badge->setPosition(corner);
    addChildAtZWithTag(badge, kMarkZ, kBadgeTag);
    CCLabelTTF* label = CCLabelTTF::createWithString(text, HUD_FONT->c_str(), kAmountFontSize);
    label->setAnchorPoint(CCPoint(0.5f, 0.5f));
    label->setPosition(corner);
    addChildAtZWithTag(label, kAmountZ, kAmountTag);
}

void KVPortraitRadioShopIcon::onConsumableBought(CCNotification* notification) {
    setPictureName(withoutAll(m_pictureName != nullptr ? m_pictureName->c_str() : "", "_shop.png"));
    CCString* bought = notification != nullptr ? kvdata::asString(notification->getObject()) : nullptr;
    if (bought != nullptr && m_pictureName != nullptr &&
        std::string(bought->c_str()) == m_pictureName->c_str())
        refreshAmount();
}
