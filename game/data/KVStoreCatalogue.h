#pragma once

#include <string>

#include "game/data/KVDataAccess.h"
#include "game/world/KVConnectedService.h"

/// The store catalogue as the game data and the player profile use it: catalogue entries by
/// deliverable identifier, the default consumable records and the items newly offered for sale.
///
/// The catalogue belongs to the shop, a floor above the data; the data reaches it only through this
/// interface, and the application installs where the shared catalogue comes from
/// (kvConnectGameServices). Entries returned are not retained for the caller.
class KVStoreCatalogue : public KVConnectedService<KVStoreCatalogue> {
public:
    static constexpr const char* kServiceName = "store catalogue";

    virtual ~KVStoreCatalogue() = default;

    /// The entry of category "kelvos" whose "deliverable_identifier" is `identifier`; null when none.
    virtual kvdata::Dict* findKelvoItem(const std::string& identifier) = 0;
    /// The same for the category "helmets".
    virtual kvdata::Dict* findHelmetItem(const std::string& identifier) = 0;
    /// The same for the category "consumables".
    virtual kvdata::Dict* findConsumableItem(const std::string& identifier) = 0;
    /// target[name] := {"amount": "0"} for every consumable of the game data and of the catalogue.
    virtual void fillDefaultConsumables(kvdata::Dict* target) = 0;
    /// One more unit of a consumable in the player profile (not saved).
    virtual void grantOneItem(kvengine::CCString* name) = 0;
    /// Records an entry the profile merge found newly on sale.
    virtual void addOfferedItem(kvdata::Dict* entry) = 0;
    /// Delivers the purchases completed outside the game (the world map asks on opening).
    virtual void deliverPendingPurchases() = 0;
    /// Merges the game data and the catalogue into the player profile and saves it.
    virtual void syncCatalogueWithProfile() = 0;
    /// Whether the identifier names an item of category "kelvos".
    virtual bool isKelvoItem(kvengine::CCString* identifier) = 0;
    /// The item pop-up's texts for an item: bought, became available, stays locked (never null).
    virtual kvengine::CCString* boughtItemMessage(kvengine::CCString* identifier) = 0;
    virtual kvengine::CCString* unlockedItemMessage(kvengine::CCString* identifier) = 0;
    virtual kvengine::CCString* lockedItemMessage(kvengine::CCString* identifier) = 0;
    /// The display title of an item (the entry's "title", else the localised identifier; never
    /// null).
    virtual kvengine::CCString* itemTitle(const std::string& identifier) = 0;
};
