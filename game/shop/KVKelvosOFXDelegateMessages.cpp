// The item pop-up's texts: an item bought, unlocked or still locked.
#include <string>

#include "engine/base/CCLocalizationManager.h"
#include "engine/base/CCString.h"
#include "game/data/KVGameParameters.h"
#include "game/menu/KVLocalizedFormat.h"
#include "game/shop/KVKelvosOFXDelegate.h"
#include "game/shop/KVStorePacks.h"

using kvdata::Dict;
using kvengine::CCString;

namespace {

std::u16string wide(const std::string& text) {
    return kvengine::utf8ToUtf16(text);
}

// The localised text of key, or `fallback` when the table has none.
std::u16string localisedOr(const std::string& key, const std::string& fallback) {
    CCString* text = kvengine::getLocalizedString(key);
    return wide(text != nullptr ? text->c_str() : fallback);
}

CCString* orGeneric(CCString* text, const char* generic) {
    return text != nullptr ? text : kvdata::newString(generic);
}

} // namespace

// The entry's title names the item in the texts; an entry without one is named like an unknown
// item (itemTitle never gives null).

CCString* KVKelvosOFXDelegate::boughtItemMessage(CCString* identifier) {
    constexpr const char* kGeneric = "Item bought!";
    const std::string id = identifier != nullptr ? identifier->c_str() : "";
    Dict* entry = identifier != nullptr ? findItem(id) : nullptr;
    const std::string category = kvdata::textAt(entry, "category");
    if (entry == nullptr) return kvdata::newString(kGeneric);
    const std::u16string title = wide(itemTitle(id)->c_str());
    if (category == "kelvos")
        return orGeneric(kvformat::formatLocalized("Pop Up Kelvo Bought", {title}), kGeneric);
    if (category == "helmets") {
        const std::string itemClass =
            kvdata::textAt(KVGameParameters::getInstance()->getHelmetDefinition(id), "Class");
        return orGeneric(
            kvformat::formatLocalized("Pop Up Helmet Bought", {title, localisedOr(itemClass, itemClass)}),
            kGeneric);
    }
    if (category != "consumables") return kvdata::newString(kGeneric);
    if (const char* key = kvstore::packTextKey(id)) {
        CCString* text = kvengine::getLocalizedString(key);
        if (text == nullptr)
            kvengine::logDebugMessage("store: no text \"%s\" for the pack \"%s\"", key, id.c_str());
        return orGeneric(text, kGeneric);
    }
    const int quantity = kvdata::intAt(entry, "quantity");
    if (quantity < 2) {
        return orGeneric(kvformat::formatLocalized("Pop Up Consumable Bought",
                                                   {localisedOr(id + "_name", itemTitle(id)->c_str())}),
                         kGeneric);
    }
    return orGeneric(
        kvformat::formatLocalized("Pop Up Power Up Bought",
                                  {quantity, localisedOr(id + "_plural", itemTitle(id)->c_str())}),
        kGeneric);
}

CCString* KVKelvosOFXDelegate::unlockedItemMessage(CCString* identifier) {
    constexpr const char* kGeneric = "Item Unlocked!";
    const std::string id = identifier != nullptr ? identifier->c_str() : "";
    Dict* entry = identifier != nullptr ? findItem(id) : nullptr;
    const std::string category = kvdata::textAt(entry, "category");
    if (entry == nullptr) return kvdata::newString(kGeneric);
    const std::u16string title = wide(itemTitle(id)->c_str());
    if (category == "kelvos")
        return orGeneric(kvformat::formatLocalized("Pop Up Kelvo Unlocked", {title}), kGeneric);
    if (category == "helmets") {
        const std::string itemClass =
            kvdata::textAt(KVGameParameters::getInstance()->getHelmetDefinition(id), "Class");
        return orGeneric(
            kvformat::formatLocalized("Pop Up Helmet Unlocked", {title, localisedOr(itemClass, itemClass)}),
            kGeneric);
    }
    if (category == "consumables") {
        return orGeneric(kvformat::formatLocalized("Pop Up Consumable Gained",
                                                   {localisedOr(id + "_name", itemTitle(id)->c_str())}),
                         kGeneric);
    }
    return kvdata::newString(kGeneric);
}

CCString* KVKelvosOFXDelegate::lockedItemMessage(CCString* identifier) {
    constexpr const char* kGeneric = "Item Locked!";
    const std::string id = identifier != nullptr ? identifier->c_str() : "";
    Dict* entry = identifier != nullptr ? findItem(id) : nullptr;
    const std::string category = kvdata::textAt(entry, "category");
    if (entry == nullptr) return kvdata::newString(kGeneric);
    const std::u16string title = wide(itemTitle(id)->c_str());
    if (category == "kelvos")
        return orGeneric(kvformat::formatLocalized("Pop Up Kelvo Locked", {title}), kGeneric);
    if (category == "helmets")
        return orGeneric(kvformat::formatLocalized("Pop Up Helmet Locked", {title}), kGeneric);
    return kvdata::newString(kGeneric);
}
