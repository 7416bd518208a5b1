// The panel's buy buttons: the first press arms, the second buys.
#include <cstdlib>

#include "engine/actions/CCAnimate.h"
#include "engine/base/CCLocalizationManager.h"
#include "engine/base/CCLog.h"
#include "engine/base/CCNotificationCenter.h"
#include "engine/base/CCString.h"
#include "engine/nodes/CCMenu.h"
#include "engine/sprites/CCAnimation.h"
#include "engine/sprites/CCSprite.h"
#include "engine/sprites/CCSpriteFrameCache.h"
#include "game/app/KVGlobalNames.h"
#include "game/data/KVGameSetup.h"
#include "game/data/KVPlayerParameters.h"
#include "game/hud/KVLabelWithShadow.h"
#include "game/menu/KVButton.h"
#include "game/menu/KVButtonItem.h"
#include "game/menu/KVMenuManager.h"
#include "game/shop/KVKelvosOFXDelegate.h"
#include "game/shop/KVShopInfoItem.h"
#include "game/shop/KVShopInfoItemLayout.h"
#include "game/shop/KVShopScreenView.h"

using namespace kvengine;
using kvdata::Dict;
using namespace kvshoplayout;

namespace {

constexpr float kFlashFrameSeconds = 0.02f;
constexpr int kNotEnoughPearls = 1;
constexpr int kMaximalAmount = 3;

KVButtonItem* buttonItem(CCNode* button) {
    return button != nullptr && button->isKindOf("KVButton") ? static_cast<KVButton*>(button)->getItem()
                                                             : nullptr;
}

void openPopUp(int kind) {
    KVMenuManager* manager = KVMenuManager::getInstance();
    manager->popUpKind = kind;
    manager->changeState(KVMenuManager::kItemPopUpState);
}

int amountOwned(const std::string& name) {
    return kvdata::intAt(KVPlayerParameters::getInstance()->getConsumableRecord(name), "amount");
}

} // namespace

void KVShopInfoItem::replaceLabel(CCNode* item, const char* key) {
    if (item == nullptr) return;
    CCString* text = CCLocalizationManager::getInstance()->stringForKey(key);
    KVLabelWithShadow* label = text != nullptr
                                   ? KVLabelWithShadow::createWithString(text, kProductFont, 24)
                                   : KVLabelWithShadow::createWithStdString(key, kProductFont, 24);
    label->setColor(kArmedColour);
    const CCSize size = item->getContentSize();
    label->setPosition(CCPoint(size.width / 2, size.height / 2));
    item->removeChildByTag(KVButtonItem::kLabelTag, true);
    item->removeChildByTag(KVButtonItem::kPearlTag, true);
    item->addChildAtZWithTag(label, 1, KVButtonItem::kLabelTag);
}

bool KVShopInfoItem::armOnFirstPress(const char* labelKey) {
    if (m_confirm) return false;
    m_confirm = true;
    KVButtonItem* item = buttonItem(getChildByTag(kButtonTag));
    if (item == nullptr) return true;
    if (auto* picture = dynamic_cast<CCSprite*>(item->getNormalImage())) {
        CCAnimation* flash =
            CCAnimation::createWithFrameNamePattern("Kv_BT_Levelup%.2d.png", 2, 12, kFlashFrameSeconds);
        picture->runAction(CCAnimate::createWithAnimationRestore(flash, false));
    }
    replaceLabel(item, labelKey);
    return true;
}

void KVShopInfoItem::disarmButton() {
    m_confirm = false;
    KVButtonItem* item = buttonItem(getChildByTag(kButtonTag));
    auto* picture = item != nullptr ? dynamic_cast<CCSprite*>(item->getNormalImage()) : nullptr;
    if (picture == nullptr) return;
    picture->stopAllActions();
    if (CCSpriteFrame* first =
            CCSpriteFrameCache::getInstance()->findSpriteFrameByName("Kv_BT_Levelup01.png"))
        picture->setDisplayFrame(first);
}

int KVShopInfoItem::price(bool bypass) const {
    if (m_catalogueItem == nullptr || bypass) return kvdata::intAt(m_entry, "cost");
    return std::atoi(kvdata::textAt(m_catalogueItem, "cost").c_str());
}

void KVShopInfoItem::onBuyHelmetPressed(CCObject* sender) {
    (void)sender;
    if (armOnFirstPress("Shop_Screen_Buy")) return;
    buyUnlockable(false);
}

void KVShopInfoItem::onRecruitKelvoPressed(CCObject* sender) {
    (void)sender;
    if (armOnFirstPress("Shop_Screen_Recruit")) return;
    buyUnlockable(true);
}

void KVShopInfoItem::buyUnlockable(bool creature) {
    disarmButton();
    if (paidWithMoney()) {
        // The button of such an item takes no press; nothing here can take real money.
        logDebugMessage("shop panel: \"%s\" is sold for real money only",
                        kvdata::textAt(m_entry, "sprite_name").c_str());
        return;
    }
    KVPlayerParameters* profile = KVPlayerParameters::getInstance();
    const int pearls = profile->getPearlAmount();
    CCString* className = kvdata::newString(kvdata::textAt(m_entry, "Class"));
    const bool bypass = KVGameSetup::getInstance()->getConfigBool("IgnoreOFXForPlists");
    const int cost = price(bypass);
    if (pearls < cost) {
        openPopUp(kNotEnoughPearls);
        return;
    }
    // The view reopens its tab and drops this panel: keep it until the frame ends.
    retain();
    KVKelvosOFXDelegate* store = KVKelvosOFXDelegate::getInstance();
    if (m_catalogueItem != nullptr) {
        // Under "IgnoreOFXForPlists" the delivery's catalogue price is given back and the game
        // data's taken instead.
        if (bypass) store->addPearls(std::atoi(kvdata::textAt(m_catalogueItem, "cost").c_str()));
        store->completePurchase(m_catalogueItem);
        if (bypass) {
            store->spendPearls(cost);
            profile->saveProfile();
        }
    } else {
        store->spendPearls(cost);
        const std::string name = kvdata::textAt(m_entry, "sprite_name");
        if (creature)
            profile->setKelvoLockStatus(name, 0);
        else
            profile->setHelmetLockStatus(name, 0);
        // Unlocked without a delivery: saved here, or the next start would lock it again.
        profile->saveProfile();
    }
    notifyView(creature, className);
    autorelease();
}

void KVShopInfoItem::notifyView(bool creature, CCString* className) {
    CCNode* parent = getParent();
    if (parent == nullptr || !parent->isKindOf("KVShopScreenView")) return;
    auto* view = static_cast<KVShopScreenView*>(parent);
    if (creature) removeFromParent(true);
    view->onPopUpClosed(nullptr);
    if (creature)
        view->refreshKelvosTab(className);
    else
        view->refreshHelmetsTab(className);
}

void KVShopInfoItem::onBuyConsumablePressed(CCObject* sender) {
    (void)sender;
    if (armOnFirstPress("Shop_Screen_Buy")) return;
    m_confirm = false;
    if (m_catalogueItem == nullptr || paidWithMoney()) {
        logDebugMessage("shop panel: \"%s\" cannot be bought for pearls",
                        kvdata::textAt(m_entry, "name").c_str());
        return;
    }
    retain();
    const bool pearlPack = kvdata::textAt(m_entry, "Class") == "pearl_pack";
    const std::string name = kvdata::textAt(m_entry, "name");
    const int quantity = kvdata::intAt(m_catalogueItem, "quantity");
    const int maximum = kvdata::intAt(m_entry, "max_amount");
    // The pressed button goes; it finishes its touch first.
    if (CCNode* old = getChildByTag(kButtonTag)) {
        old->retain();
        old->autorelease();
        removeChild(old, true);
    }
    KVButton* button = KVButton::createWithLabel(kvdata::stringAt(m_catalogueItem, "cost"), 0, 0, kPriceKind,
                                                 this, menu_selector(KVShopInfoItem::onBuyConsumablePressed));
    const int pearls = KVPlayerParameters::getInstance()->getPearlAmount();
    const int cost = price(false);
    if (amountOwned(name) + quantity > maximum) {
        openPopUp(kMaximalAmount);
    } else if (pearls < cost) {
        openPopUp(kNotEnoughPearls);
    } else {
        KVKelvosOFXDelegate::getInstance()->completePurchase(m_catalogueItem);
        CCNotificationCenter::getInstance()->postNotification(SCREEN_MENU_BUY_CONSUMABLE,
                                                              kvdata::newString(name));
    }
    // The button comes back after a refusal too, unless the bag is full.
    if (button != nullptr && (pearlPack || amountOwned(name) + quantity <= maximum)) {
        button->setPosition(at(307, 201));
        addChildAtZWithTag(button, 1, kButtonTag);
    }
    if (CCNode* parent = getParent(); parent != nullptr && parent->isKindOf("KVShopScreenView"))
        static_cast<KVShopScreenView*>(parent)->onPopUpClosed(nullptr);
    autorelease();
}

void KVShopInfoItem::removeBuyButton(CCNotification* notification) {
    (void)notification;
    removeChildByTag(kButtonTag, true);
}
