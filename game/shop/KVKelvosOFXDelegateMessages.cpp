// The item pop-up's texts: an item bought, unlocked or still locked.
#include <string>

#include "engine/base/CCLocalizationManager.h"
#include "engine/base/CCLog.h"
#include "engine/base/CCString.h"
#include "game/data/KVGameParameters.h"
#include "game/menu/KVLocalizedFormat.h"
#include "game/shop/KVKelvosOFXDelegate.h"
#include "game/shop/KVStorePacks.h"

using kvdata::Dict;
using kvengine::CCString;

namespace {

// The localised text of key, or `fallback` when the table has none.
std::u16string localisedOr(const std::string& key, const std::string& fallback) {
    CCString* text = kvengine::getLocalizedString(key);
    return kvengine::utf8ToUtf16(text != nullptr ? text->c_str() : fallback);
}

CCString* orGeneric(CCString* text, const char* generic) {
    return text != nullptr ? text : kvdata::newString(generic);
}

} // namespace

/// What the texts say about one item: its catalogue entry (null when unknown), category, title
/// and, for a helmet, its localised class.
struct KVKelvosOFXDelegate::ItemFacts {
    ItemFacts(KVKelvosOFXDelegate* store, CCString* identifier)
        : id(identifier != nullptr ? identifier->c_str() : ""),
          entry(identifier != nullptr ? store->findItem(id) : nullptr),
          category(kvdata::textAt(entry, "category")) {
        if (entry == nullptr) return;
        // itemTitle never gives null: an entry without title is named like an unknown item.
        titleText = store->itemTitle(id)->c_str();
        title = kvengine::utf8ToUtf16(titleText);
        const std::string itemClass =
            kvdata::textAt(KVGameParameters::getInstance()->getHelmetDefinition(id), "Class");
        helmetClass = localisedOr(itemClass, itemClass);
    }
    // The consumable's localised name (singular or plural), or its title.
    std::u16string consumableName(const char* suffix) const { return localisedOr(id + suffix, titleText); }

    std::string id;
    Dict* entry;
    std::string category;
    std::string titleText;
    std::u16string title;
    std::u16string helmetClass;
};

CCString* KVKelvosOFXDelegate::boughtItemMessage(CCString* identifier) {
    constexpr const char* kGeneric = "Item bought!";
    const ItemFacts item(this, identifier);
    if (item.category == "kelvos")
        return orGeneric(kvformat::formatLocalized("Pop Up Kelvo Bought", {item.title}), kGeneric);
    if (item.category == "helmets")
        return orGeneric(kvformat::formatLocalized("Pop Up Helmet Bought", {item.title, item.helmetClass}),
                         kGeneric);
    if (item.category != "consumables") return kvdata::newString(kGeneric);
    if (const char* key = kvstore::packTextKey(item.id)) {
        CCString* text = kvengine::getLocalizedString(key);
        if (text == nullptr)
            kvengine::logDebugMessage("store: no text \"%s\" for the pack \"%s\"", key, item.id.c_str());
        return orGeneric(text, kGeneric);
    }
    const int quantity = kvdata::intAt(item.entry, "quantity");
    if (quantity < 2)
        return orGeneric(
            kvformat::formatLocalized("Pop Up Consumable Bought", {item.consumableName("_name")}), kGeneric);
    return orGeneric(
        kvformat::formatLocalized("Pop Up Power Up Bought", {quantity, item.consumableName("_plural")}),
        kGeneric);
}

CCString* KVKelvosOFXDelegate::unlockedItemMessage(CCString* identifier) {
    constexpr const char* kGeneric = "Item Unlocked!";
    const ItemFacts item(this, identifier);
    if (item.category == "kelvos")
        return orGeneric(kvformat::formatLocalized("Pop Up Kelvo Unlocked", {item.title}), kGeneric);
    if (item.category == "helmets")
        return orGeneric(kvformat::formatLocalized("Pop Up Helmet Unlocked", {item.title, item.helmetClass}),
                         kGeneric);
    if (item.category == "consumables")
        return orGeneric(
            kvformat::formatLocalized("Pop Up Consumable Gained", {item.consumableName("_name")}), kGeneric);
    return kvdata::newString(kGeneric);
}

CCString* KVKelvosOFXDelegate::lockedItemMessage(CCString* identifier) {
    constexpr const char* kGeneric = "Item Locked!";
    const ItemFacts item(this, identifier);
    if (item.category == "kelvos")
        return orGeneric(kvformat::formatLocalized("Pop Up Kelvo Locked", {item.title}), kGeneric);
    if (item.category == "helmets")
        return orGeneric(kvformat::formatLocalized("Pop Up Helmet Locked", {item.title}), kGeneric);
    return kvdata::newString(kGeneric);
}
