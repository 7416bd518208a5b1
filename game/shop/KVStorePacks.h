#pragma once

#include <string>

/// The store's packs: catalogue consumables that deliver more than themselves, and the texts the
/// purchase pop-up shows for packs and pearl items.
namespace kvstore {

/// What a pack grants, in this order: the consumable, the pearls, the creature, the helmet (null or
/// 0: nothing of that kind). Every pack posts "Menu - Buy - Pack"; most also "Menu - Buy - Consumable".
struct PackRow {
    const char* identifier;
    bool postsConsumable;
    const char* consumable;
    int consumableCount;
    int pearls;
    const char* creature;
    const char* helmet;
};

/// The row of a pack identifier, or null.
const PackRow* findPack(const std::string& identifier);
/// The key of the text announcing a pack bought ("Pop Up Brainwash Bought"...), or null.
const char* packTextKey(const std::string& identifier);
/// The key of the text announcing pearls bought, chosen by the entry's exact "title".
const char* pearlTextKey(const std::string& title);

} // namespace kvstore
