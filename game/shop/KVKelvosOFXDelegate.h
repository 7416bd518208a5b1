#pragma once

#include <string>
#include <vector>

#include "engine/base/CCNotificationCenter.h"
#include "game/data/KVDataAccess.h"
#include "game/data/KVStoreCatalogue.h"
#include "game/world/KVSingletonObject.h"

/// The store catalogue: the local file "OfflineStore.plist", one entry per store product.
///
/// Root keys are product identifiers; each entry carries "category" ("kelvos", "helmets" or
/// "consumables"), "deliverable_identifier", "title", "quantity", "cost" and "currency_identifier"
/// ("pearl" for items bought with pearls). Entries are searched in ascending product-identifier
/// order, so the first match in that order wins. The catalogue is read once, when the shared object
/// is created; a missing file leaves it empty (every finder then answers null).
class KVKelvosOFXDelegate : public KVSingletonObject<KVKelvosOFXDelegate>, public KVStoreCatalogue {
public:
    CC_DECLARE_CLASS_NAME(KVKelvosOFXDelegate, KVSingletonObject)

    KVKelvosOFXDelegate();
    void cleanupBeforeDelete() override;

    /// First entry of the category whose "deliverable_identifier" is `identifier`, as a new
    /// autoreleased shallow copy (its values are the catalogue's own strings); null when none.
    kvdata::Dict* findKelvoItem(const std::string& identifier) override;
    kvdata::Dict* findHelmetItem(const std::string& identifier) override;
    /// Also matches an entry whose product identifier is `identifier`.
    kvdata::Dict* findConsumableItem(const std::string& identifier) override;
    /// Consumable, then helmet, then creature.
    kvdata::Dict* findItem(const std::string& identifier);
    bool isKelvoItem(kvengine::CCString* identifier) override;
    /// The entry's own "title"; for an identifier without entry or an entry without title, the
    /// localised text of the identifier, or a new empty string. Never null.
    kvengine::CCString* itemTitle(const std::string& identifier) override;

    /// target[name] := {"amount": "0"} for every consumable of the game data, then for every
    /// "deliverable_identifier" of the catalogue's consumables. Existing records are replaced.
    void fillDefaultConsumables(kvdata::Dict* target) override;
    /// One more unit of a consumable in the player profile (not saved).
    void grantOneItem(kvengine::CCString* name) override;
    /// Pearls of the player profile; the balance never goes below 0 (not saved).
    void spendPearls(int amount);
    void addPearls(int amount);

    /// Delivers a pearl-priced catalogue entry at once (deliverItem) and returns true. An entry
    /// whose "currency_identifier" is not "pearl" would need a real store, which this game does not
    /// have: it is refused (nothing granted or taken, no pop-up, a log line) and the answer is false.
    bool completePurchase(kvdata::Dict* entry);
    /// Grants what the entry delivers (a consumable, a pack, pearls, a creature or a helmet) to the
    /// player profile, in this order: the pack's notifications and grants, "EVENT_PURCHASE_DONE", the
    /// purchase pop-up (state 24 of the menu manager, kind 5, or kind 8 for pearls), the price in
    /// pearls (or "Menu - Buy - Real money"), the save and the shop's tutorial step. An entry that
    /// delivers nothing (a creature or helmet already unlocked, an unknown category or consumable)
    /// is logged and changes nothing: no price, no notification, no save.
    void deliverItem(kvdata::Dict* entry);

    /// Texts of the item pop-up for an item identifier (new autoreleased strings, never null): the
    /// item was bought, became available or stays locked. An identifier without catalogue entry
    /// gives "Item bought!", "Item Unlocked!" or "Item Locked!".
    kvengine::CCString* boughtItemMessage(kvengine::CCString* identifier) override;
    kvengine::CCString* unlockedItemMessage(kvengine::CCString* identifier) override;
    kvengine::CCString* lockedItemMessage(kvengine::CCString* identifier) override;

    /// Purchases completed outside the game; nothing fills the list on this platform.
    void deliverPendingPurchases() override;
    /// Merges the game data and the catalogue into the player profile and saves it, unless the
    /// setting "IgnoreOFXForPlists" is true. Empties the offered items in every case.
    void syncCatalogueWithProfile() override;

    /// Catalogue entries the profile merge found newly on sale (retained until the sync ends).
    void addOfferedItem(kvdata::Dict* entry) override;
    kvdata::Array* getOfferedItems() { return m_offeredItems; }
    /// The root dictionary of the catalogue; never null (empty when the file is missing).
    kvdata::Dict* getCatalogue() { return m_catalogue; }

    /// Store hook: a platform store announced its catalogue.
    virtual void onStoreCatalogUpdated(kvengine::CCNotification* notification);
    void prepareStore();

private:
    struct ItemFacts;
    /// The pack rows' grants and notifications; false when the identifier is no pack.
    bool deliverPack(const std::string& identifier);
    kvdata::Dict* findInCategory(const char* category, const std::string& identifier, bool matchProductId);

    kvdata::Dict* m_catalogue = nullptr;
    kvdata::Array* m_offeredItems = nullptr;
    kvdata::Array* m_requestedProductIds = nullptr;
    std::vector<std::string> m_pendingPurchaseIds;
    bool m_pendingDeliveryEnabled = false;
    bool m_storeReady = false;
    bool m_clearPendingOnUpdate = false;
};
