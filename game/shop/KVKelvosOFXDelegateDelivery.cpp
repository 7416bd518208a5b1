// Delivery of bought catalogue items into the player profile.
#include <string>

#include "engine/base/CCLog.h"
#include "engine/base/CCNotificationCenter.h"
#include "game/app/KVGlobalNames.h"
#include "game/data/KVGameParameters.h"
#include "game/data/KVPlayerParameters.h"
#include "game/menu/KVMenuManager.h"
#include "game/menu/KVPopUpItemScreenView.h"
#include "game/shop/KVKelvosOFXDelegate.h"
#include "game/shop/KVStorePacks.h"
#include "game/world/KVActionEvent.h"

using kvdata::Dict;
using kvengine::CCNotificationCenter;
using kvengine::CCString;
using kvengine::logDebugMessage;

namespace {

constexpr const char* kPearlCurrency = "pearl";
constexpr const char* kPearlIdentifier = "pearl";

void post(CCString* name, kvengine::CCObject* object = nullptr) {
    CCNotificationCenter::getInstance()->postNotification(name, object);
}

// Opens the item pop-up of `kind` about `subject` over the screen.
void openPurchasePopUp(KVPopUpKind kind, const std::string& subject) {
    KVMenuManager* menu = KVMenuManager::getInstance();
    menu->setPopUpText(kvdata::newString(subject));
    menu->popUpKind = static_cast<int>(kind);
    menu->changeState(KVMenuManager::kItemPopUpState);
}

} // namespace

bool KVKelvosOFXDelegate::completePurchase(Dict* entry) {
    if (entry == nullptr) {
        logDebugMessage("store: no catalogue entry to buy");
        return false;
    }
    const std::string currency = kvdata::textAt(entry, "currency_identifier");
    if (currency != kPearlCurrency) {
        // Without a store there is nobody to take the money: granting it would make it free.
        logDebugMessage(
            "store: \"%s\" is sold for real money (\"%s\"), which this game cannot take; not delivered",
            kvdata::textAt(entry, "deliverable_identifier").c_str(), currency.c_str());
        return false;
    }
    deliverItem(entry);
    return true;
}

bool KVKelvosOFXDelegate::deliverPack(const std::string& identifier) {
    const kvstore::PackRow* row = kvstore::findPack(identifier);
    if (row == nullptr) return false;
    post(SCREEN_MENU_BUY_PACK, kvdata::newString(identifier));
    if (row->postsConsumable) post(SCREEN_MENU_BUY_CONSUMABLE, kvdata::newString(identifier));
    KVPlayerParameters* profile = KVPlayerParameters::getInstance();
    if (row->consumable != nullptr) profile->addConsumable(row->consumable, row->consumableCount);
    if (row->pearls > 0) profile->addPearls(row->pearls);
    if (row->creature != nullptr) profile->setKelvoLockStatus(row->creature, kLockStatusUnlocked);
    if (row->helmet != nullptr) profile->setHelmetLockStatus(row->helmet, kLockStatusUnlocked);
    return true;
}

void KVKelvosOFXDelegate::deliverItem(Dict* entry) {
    if (entry == nullptr) {
        logDebugMessage("store: no catalogue entry to deliver");
        return;
    }
    const std::string category = kvdata::textAt(entry, "category");
    const std::string identifier = kvdata::textAt(entry, "deliverable_identifier");
    const int quantity = kvdata::intAt(entry, "quantity");
    KVPlayerParameters* profile = KVPlayerParameters::getInstance();

    bool delivered = false;
    bool paidWithPearls = true;
    bool pearlItem = false;
    if (category == "consumables") {
        if (kvdata::hasKey(KVGameParameters::getInstance()->getConsumables(), identifier)) {
            logDebugMessage("inAppPurchaseSucceeded: %s %d", identifier.c_str(), quantity);
            profile->addConsumable(identifier, quantity);
            delivered = true;
        } else if (identifier == kPearlIdentifier) {
            pearlItem = true;
            paidWithPearls = false;
            delivered = true;
            post(EVENT_ACTION,
                 KVActionEvent::create(KVActionEvent::StorePearls, quantity, 0.0f, nullptr, nullptr));
        }
        // A pack may also be a consumable of its own: both are granted.
        if (deliverPack(identifier)) delivered = true;
    } else if (category == "helmets") {
        // A helmet the profile has no record of cannot be unlocked: nothing would be delivered.
        if (profile->getHelmetRecord(identifier) != nullptr &&
            profile->getHelmetLockStatus(identifier) != kLockStatusUnlocked) {
            profile->setHelmetLockStatus(identifier, kLockStatusUnlocked);
            delivered = true;
        }
    } else if (category == "kelvos") {
        if (profile->getKelvoRecord(identifier) != nullptr &&
            profile->getKelvoLockStatus(identifier) != kLockStatusUnlocked) {
            profile->setKelvoLockStatus(identifier, kLockStatusUnlocked);
            delivered = true;
        }
    }
    if (!delivered) {
        // Taking the price for nothing, or announcing a purchase that did not happen, would cheat
        // the player: the purchase is refused as a whole.
        logDebugMessage("store: \"%s\" (%s) delivers nothing (already owned or unknown); nothing taken",
                        identifier.c_str(), category.c_str());
        return;
    }

    post(EVENT_PURCHASE_DONE);
    if (pearlItem) {
        profile->addPearls(quantity);
        openPurchasePopUp(KVPopUpKind::Message, kvstore::pearlTextKey(kvdata::textAt(entry, "title")));
    } else {
        openPurchasePopUp(KVPopUpKind::ItemBought, identifier);
        post(SCREEN_MENU_BUY_ITEM);
    }
    if (paidWithPearls)
        profile->removePearls(kvdata::intAt(entry, "cost"));
    else
        post(SCREEN_MENU_BUY_REAL_MONEY);
    profile->saveProfile();
    profile->processForcedSteps("shop", true);
}
