#include "game/shop/KVKelvosOFXDelegate.h"

#include <algorithm>

#include "engine/base/CCLocalizationManager.h"
#include "engine/base/CCLog.h"
#include "engine/files/CCPlistReader.h"
#include "engine/files/CCResourceIndex.h"
#include "game/data/KVGameParameters.h"
#include "game/data/KVGameSetup.h"
#include "game/data/KVPlayerParameters.h"

using kvdata::Array;
using kvdata::Dict;
using kvengine::CCString;

namespace {

Dict* newAmountRecord() {
    Dict* record = kvdata::newDict();
    kvdata::setText(record, "amount", "0");
    return record;
}

template <typename T> void releaseHeld(T*& field) {
    if (field != nullptr) field->release();
    field = nullptr;
}

} // namespace

KVKelvosOFXDelegate::KVKelvosOFXDelegate() {
    m_offeredItems = new Array();
    m_requestedProductIds = new Array();
    CCString* path = kvengine::CCResourceIndex::getInstance()->fullPathForFileName("OfflineStore.plist");
    m_catalogue = kvengine::dictionaryWithContentsOfFile(kvdata::textOf(path).c_str());
    if (m_catalogue == nullptr) {
        kvengine::logDebugMessage("store: catalogue \"OfflineStore.plist\" could not be read");
        m_catalogue = kvdata::newDict();
    }
    m_catalogue->retain();
}

void KVKelvosOFXDelegate::cleanupBeforeDelete() {
    kvengine::CCNotificationCenter::getInstance()->removeObserver(this, nullptr);
    releaseHeld(m_catalogue);
    releaseHeld(m_offeredItems);
    releaseHeld(m_requestedProductIds);
    KVSingletonObject::cleanupBeforeDelete();
}

Dict* KVKelvosOFXDelegate::findInCategory(const char* category, const std::string& identifier,
                                          bool matchProductId) {
    for (const std::string& productId : kvdata::keysOf(m_catalogue)) {
        Dict* entry = kvdata::dictAt(m_catalogue, productId);
        if (entry == nullptr || kvdata::textAt(entry, "category", "\x01") != category) continue;
        CCString* deliverable = kvdata::stringAt(entry, "deliverable_identifier");
        const bool matches = (deliverable != nullptr && kvdata::textOf(deliverable) == identifier) ||
                             (matchProductId && productId == identifier);
        if (!matches) continue;
        Dict* copy = entry->duplicate();
        copy->autorelease();
        return copy;
    }
    return nullptr;
}

Dict* KVKelvosOFXDelegate::findKelvoItem(const std::string& identifier) {
    return findInCategory("kelvos", identifier, false);
}

Dict* KVKelvosOFXDelegate::findHelmetItem(const std::string& identifier) {
    return findInCategory("helmets", identifier, false);
}

Dict* KVKelvosOFXDelegate::findConsumableItem(const std::string& identifier) {
    return findInCategory("consumables", identifier, true);
}

Dict* KVKelvosOFXDelegate::findItem(const std::string& identifier) {
    Dict* entry = findConsumableItem(identifier);
    if (entry == nullptr) entry = findHelmetItem(identifier);
    if (entry == nullptr) entry = findKelvoItem(identifier);
    return entry;
}

bool KVKelvosOFXDelegate::isKelvoItem(CCString* identifier) {
    if (identifier == nullptr) return false;
    return kvdata::textAt(findItem(kvdata::textOf(identifier)), "category") == "kelvos";
}

CCString* KVKelvosOFXDelegate::itemTitle(const std::string& identifier) {
    Dict* entry = findItem(identifier);
    // An entry without a title is shown like an unknown item: callers put the title in texts.
    if (CCString* title = entry != nullptr ? kvdata::stringAt(entry, "title") : nullptr) return title;
    CCString* localised = kvengine::getLocalizedString(identifier);
    return kvdata::newString(localised != nullptr ? kvdata::textOf(localised) : "");
}

void KVKelvosOFXDelegate::fillDefaultConsumables(Dict* target) {
    if (target == nullptr) return;
    for (const std::string& name : kvdata::keysOf(KVGameParameters::getInstance()->getConsumables())) {
        target->setObject(newAmountRecord(), name);
    }
    for (const std::string& productId : kvdata::keysOf(m_catalogue)) {
        Dict* entry = kvdata::dictAt(m_catalogue, productId);
        if (kvdata::textAt(entry, "category") != "consumables") continue;
        CCString* deliverable = kvdata::stringAt(entry, "deliverable_identifier");
        if (deliverable == nullptr) continue;
        target->setObject(newAmountRecord(), kvdata::textOf(deliverable));
    }
}

void KVKelvosOFXDelegate::grantOneItem(CCString* name) {
    if (name == nullptr) return;
    KVPlayerParameters::getInstance()->addConsumable(kvdata::textOf(name), 1);
}

void KVKelvosOFXDelegate::spendPearls(int amount) {
    KVPlayerParameters::getInstance()->removePearls(amount);
}

void KVKelvosOFXDelegate::addPearls(int amount) {
    KVPlayerParameters::getInstance()->addPearls(amount);
}

void KVKelvosOFXDelegate::deliverPendingPurchases() {
    if (!m_pendingDeliveryEnabled) return;
    for (std::string id : m_pendingPurchaseIds) {
        std::replace(id.begin(), id.end(), '_', '.');
        if (findConsumableItem(id) == nullptr) {
            kvengine::logDebugMessage("store: pending purchase \"%s\" is not in the catalogue", id.c_str());
        } else {
            kvengine::logDebugMessage("store: delivery of \"%s\" is not available", id.c_str());
        }
    }
    m_pendingPurchaseIds.clear();
    m_pendingDeliveryEnabled = true;
}

void KVKelvosOFXDelegate::syncCatalogueWithProfile() {
    if (!KVGameSetup::getInstance()->getConfigBool("IgnoreOFXForPlists")) {
        KVGameParameters::getInstance()->loadKelvoStatsAndHelmets();
        KVPlayerParameters* profile = KVPlayerParameters::getInstance();
        profile->mergeCatalogueItems();
        profile->addNewChaptersAndMissions();
        profile->saveProfile();
    }
    if (m_offeredItems->count() > 0) m_offeredItems->removeAllObjects();
}

void KVKelvosOFXDelegate::addOfferedItem(Dict* entry) {
    if (entry != nullptr) m_offeredItems->addObject(entry);
}

void KVKelvosOFXDelegate::onStoreCatalogUpdated(kvengine::CCNotification*) {
    if (!m_storeReady) prepareStore();
    if (m_clearPendingOnUpdate) m_requestedProductIds->removeAllObjects();
}

void KVKelvosOFXDelegate::prepareStore() {
    m_storeReady = true;
    static CCString* const kCatalogUpdated = new CCString("StoreCatalogUpdated");
    kvengine::CCNotificationCenter::getInstance()->addObserver(
        this, notification_selector(KVKelvosOFXDelegate::onStoreCatalogUpdated), kCatalogUpdated, nullptr);
    m_requestedProductIds->removeAllObjects();
    m_offeredItems->removeAllObjects();
    m_clearPendingOnUpdate = false;
}
