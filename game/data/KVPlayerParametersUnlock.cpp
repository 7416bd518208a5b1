// Player profile: lock transitions of creatures and helmets, the unseen-item lists of the shop and
// troops screens, and the merge of the game data and the store catalogue into the profile.

#include "engine/base/CCLog.h"
#include "engine/base/CCNotificationCenter.h"
#include "game/app/KVGlobalNames.h"
#include "game/data/KVGameParameters.h"
#include "game/data/KVPlayerParameters.h"
#include "game/data/KVStoreCatalogue.h"

using kvdata::Array;
using kvdata::Dict;
using kvengine::CCString;

namespace {

bool removeLastEqual(Array* list, const std::string& item) {
    for (unsigned i = list->count(); i > 0; --i) {
        if (kvdata::textOf(list, i - 1) == item) {
            list->removeObjectAtIndex(i - 1);
            return true;
        }
    }
    return false;
}

bool listContains(Array* list, const std::string& item) {
    for (unsigned i = 0; list != nullptr && i < list->count(); ++i) {
        if (kvdata::textOf(list, i) == item) return true;
    }
    return false;
}

// Records are added for new art only when it follows the naming of the front-end sheets.
bool followsArtNaming(Dict* definition, const std::string& name) {
    return kvdata::textAt(definition, "sprite_name") == name &&
           kvdata::textAt(definition, "spritesheet_name") == name + "_ss";
}

} // namespace

int KVPlayerParameters::getKelvoLockStatus(const std::string& name) {
    return kvdata::intAt(getKelvoRecord(name), "status_locked", kLockStatusLocked);
}

int KVPlayerParameters::getHelmetLockStatus(const std::string& name) {
    return kvdata::intAt(getHelmetRecord(name), "status_locked", kLockStatusLocked);
}

void KVPlayerParameters::setKelvoLockStatus(const std::string& name, int status) {
    Dict* record = getKelvoRecord(name);
    if (record == nullptr) return;
    const int old = kvdata::intAt(record, "status_locked", kLockStatusLocked);
    if (status == kLockStatusWithdrawn) {
        if (old == 3) return;
        kvdata::setInt(record, "status_locked", kLockStatusWithdrawn);
        const bool inSquad = kvdata::intAt(record, "status_selected") == 1;
        if (inSquad && kvdata::countOf(getSelectedKelvos()) <= 1) {
            // The squad must never be empty: the first unlocked creature takes the first place.
            for (const std::string& other : kvdata::keysOf(m_creatures)) {
                if (other == name || getKelvoLockStatus(other) != kLockStatusUnlocked) continue;
                setKelvoSelectedStatus(other, 1);
                setKelvoTurnSpeed(other, 1);
                break;
            }
        }
        if (inSquad) kvdata::setInt(record, "status_selected", 0);
        return;
    }
    if (old == kLockStatusLocked || status == kLockStatusUnlocked)
        kvdata::setInt(record, "status_locked", status);
    if (status == kLockStatusInShop && old == kLockStatusLocked) addUnseenItem(name, "Kelvo");
    if (status == kLockStatusUnlocked && old != kLockStatusUnlocked) {
        kvdata::setText(record, "helmet_name", "");
        kvengine::CCNotificationCenter::getInstance()->postNotification(EVENT_KELVO_RECRUITED,
                                                                        kvdata::newString(name), nullptr);
    }
    if (status == kLockStatusUnlocked) markItemSeen(name, "Kelvo");
}

void KVPlayerParameters::setHelmetLockStatus(const std::string& name, int status) {
    Dict* record = getHelmetRecord(name);
    if (record == nullptr) return;
    const int old = kvdata::intAt(record, "status_locked", kLockStatusLocked);
    if (status == kLockStatusWithdrawn) {
        if (old == 3) return;
        kvdata::setInt(record, "status_locked", kLockStatusWithdrawn);
        for (const std::string& kelvo : kvdata::keysOf(m_creatures)) {
            Dict* kelvoRecord = kvdata::dictAt(m_creatures, kelvo);
            if (kvdata::textAt(kelvoRecord, "helmet_name") == name)
                kvdata::setText(kelvoRecord, "helmet_name", "");
            Array* transferred = kvdata::arrayAt(kelvoRecord, "transferedHelmet");
            while (transferred != nullptr && removeLastEqual(transferred, name)) {
            }
        }
        if (name == "straw_hat") {
            const std::string third = KV_THIRD_DEFAULT_KELVO;
            for (const std::string& kelvo : {third, third + "0", third + "2"})
                setKelvoHelmet(kelvo, name);
        }
        return;
    }
    if (old == kLockStatusLocked || status == kLockStatusUnlocked)
        kvdata::setInt(record, "status_locked", status);
    if (status == kLockStatusInShop && old == kLockStatusLocked) addUnseenItem(name, "Helmet");
    if (status == kLockStatusUnlocked) markItemSeen(name, "Helmet");
}

std::string KVPlayerParameters::classOfItem(const std::string& item, const std::string& category) {
    KVGameParameters* data = KVGameParameters::getInstance();
    if (category == "Kelvo") return kvdata::textAt(data->getKelvoStats(item), "Class");
    if (category == "Helmet") return kvdata::textAt(data->getHelmetDefinition(item), "Class");
    return "Error";
}

void KVPlayerParameters::addUnseenItem(const std::string& item, const std::string& category) {
    if (m_unseenItems == nullptr) return;
    const std::string itemClass = classOfItem(item, category);
    if (itemClass.empty()) {
        kvengine::logDebugMessage("profile: unseen %s \"%s\" has no \"Class\" in the game data",
                                  category.c_str(), item.c_str());
        return;
    }
    Dict* classes = kvdata::dictAt(m_unseenItems, category);
    if (classes == nullptr) {
        classes = kvdata::newDict();
        m_unseenItems->setObject(classes, category);
    }
    Array* list = kvdata::arrayAt(classes, itemClass);
    if (list == nullptr) {
        list = kvdata::newArray();
        classes->setObject(list, itemClass);
    }
    if (!listContains(list, item)) list->addObject(kvdata::newString(item));
}

bool KVPlayerParameters::markItemSeen(const std::string& item, const std::string& category) {
    Dict* classes = kvdata::dictAt(m_unseenItems, category);
    if (classes == nullptr) return false;
    for (const std::string& itemClass : kvdata::keysOf(classes)) {
        Array* list = kvdata::arrayAt(classes, itemClass);
        if (list == nullptr || list->count() == 0 || !removeLastEqual(list, item)) continue;
        if (list->count() == 0) classes->removeObjectForKey(itemClass);
        if (kvdata::countOf(classes) == 0) m_unseenItems->removeObjectForKey(category);
        saveProfile();
        return true;
    }
    return false;
}

bool KVPlayerParameters::isItemUnseen(const std::string& item) {
    for (const std::string& category : kvdata::keysOf(m_unseenItems)) {
        Dict* classes = kvdata::dictAt(m_unseenItems, category);
        for (const std::string& itemClass : kvdata::keysOf(classes)) {
            if (listContains(kvdata::arrayAt(classes, itemClass), item)) return true;
        }
    }
    return false;
}

bool KVPlayerParameters::hasUnseenKelvos() {
    return kvdata::hasKey(m_unseenItems, "Kelvo");
}

bool KVPlayerParameters::hasUnseenKelvosOfClass(const std::string& className) {
    return kvdata::hasKey(kvdata::dictAt(m_unseenItems, "Kelvo"), className);
}

bool KVPlayerParameters::hasUnseenHelmets() {
    return kvdata::hasKey(m_unseenItems, "Helmet");
}

bool KVPlayerParameters::hasUnseenHelmetsOfClass(const std::string& className) {
    return kvdata::hasKey(kvdata::dictAt(m_unseenItems, "Helmet"), className);
}

void KVPlayerParameters::mergeCatalogueItems() {
    if (m_creatures == nullptr || m_helmets == nullptr) return;
    KVGameParameters* data = KVGameParameters::getInstance();
    KVStoreCatalogue* store = KVStoreCatalogue::shared();

    // Records the profile already has keep their status: only a delivered purchase unlocks.
    Dict* kelvos = data->getKelvoStatsTable();
    for (const std::string& name : kvdata::keysOf(kelvos)) {
        Dict* definition = kvdata::dictAt(kelvos, name);
        if (getKelvoRecord(name) != nullptr || !followsArtNaming(definition, name)) continue;
        Dict* record = kvdata::newDict();
        initKelvoRecord(name, definition, record);
        initKelvoHelmetName(name, record, definition);
        m_creatures->setObject(record, name);
        const int dataStatus = kvdata::intAt(definition, "status_locked", kLockStatusLocked);
        Dict* item = store != nullptr ? store->findKelvoItem(name) : nullptr;
        if (item != nullptr && (dataStatus == kLockStatusUnlocked || dataStatus == kLockStatusInShop))
            store->addOfferedItem(item);
        if (dataStatus == kLockStatusInShop) addUnseenItem(name, "Kelvo");
    }

    Dict* helmets = data->getHelmets();
    for (const std::string& name : kvdata::keysOf(helmets)) {
        Dict* definition = kvdata::dictAt(helmets, name);
        if (getHelmetRecord(name) != nullptr || !followsArtNaming(definition, name)) continue;
        Dict* record = kvdata::newDict();
        initHelmetRecord(definition, record);
        m_helmets->setObject(record, name);
        const int dataStatus = kvdata::intAt(definition, "status_locked", kLockStatusLocked);
        Dict* item = store != nullptr ? store->findHelmetItem(name) : nullptr;
        if (item != nullptr && (dataStatus == kLockStatusUnlocked || dataStatus == kLockStatusInShop))
            store->addOfferedItem(item);
        if (dataStatus == kLockStatusInShop) addUnseenItem(name, "Helmet");
    }

    for (const std::string& name : kvdata::keysOf(m_creatures)) {
        if (kvdata::hasKey(kelvos, name)) continue;
        setKelvoLockStatus(name, kLockStatusWithdrawn);
        markItemSeen(name, "Kelvo");
    }
    for (const std::string& name : kvdata::keysOf(m_helmets)) {
        if (kvdata::hasKey(helmets, name)) continue;
        setHelmetLockStatus(name, kLockStatusWithdrawn);
        markItemSeen(name, "Helmet");
    }
}
