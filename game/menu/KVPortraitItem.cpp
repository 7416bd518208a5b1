#include "game/menu/KVPortraitItem.h"

#include <algorithm>
#include <utility>

#include "engine/base/CCLocalizationManager.h"
#include "engine/base/CCLog.h"
#include "engine/base/CCString.h"
#include "engine/director/CCDirector.h"
#include "engine/sprites/CCSprite.h"
#include "game/app/KVGlobalNames.h"
#include "game/data/KVPlayerParameters.h"
#include "game/hud/KVLabelWithShadow.h"
#include "game/menu/KVMenuManager.h"
#include "game/menu/KVPortraitListOwner.h"
#include "game/menu/KVPortraitRadioIcon.h"
#include "game/menu/KVPortraitRadioShopIcon.h"
#include "game/menu/KVPortraitSimpleIcon.h"

using namespace kvengine;
using kvdata::Dict;

namespace {

constexpr int kIconZ = 1;
constexpr int kPageMenuZ = 2;
constexpr int kSimplePageMenuZ = 1;
constexpr int kLabelZ = 1;
constexpr float kNothingFontSize = 20;
constexpr float kComeBackFontSize = 16;
// A consumable numbered past this is a broken entry, not a list position: the gaps before it
// would fill thousands of empty pages.
constexpr int kHighestConsumableNumber = 999;
const char* const kRemoveHelmetPicture = "KV_IconeRemoveHelmet.png";

bool wide() {
    return CCDirector::wideScreen != 0;
}

std::string selectedKelvoName() {
    CCString* name = KVMenuManager::getInstance()->getSelectedKelvoName();
    return name != nullptr ? name->c_str() : "";
}

// The helmet the selected creature wears ("" for none).
std::string wornHelmet() {
    return kvdata::textAt(KVPlayerParameters::getInstance()->getKelvoRecord(selectedKelvoName()),
                          "helmet_name");
}

} // namespace

KVPortraitItemMenu* KVPortraitItemMenu::create() {
    auto* menu = new KVPortraitItemMenu();
    if (!menu->initWithItemList(nullptr, 0)) {
        menu->release();
        return nullptr;
    }
    menu->autorelease();
    return menu;
}

// ---- icon factories ----

KVPortraitIcon* KVPortraitItem::createPortraitIcon(CCString* baseName, int lockStatus, bool selected,
                                                   CCObject* target, SEL_MenuHandler selector) {
    const std::string base = baseName != nullptr ? baseName->c_str() : "";
    const std::string framedPicture = base == kRemoveHelmetPicture ? base : base + "_frontend_01.png";
    switch (lockStatus) {
    case kLockStatusUnlocked:
        return KVPortraitRadioIcon::createWithName(kvdata::newString(framedPicture), false, selected, true,
                                                   target, selector);
    case kLockStatusLocked:
        return KVPortraitRadioIcon::createWithName(kvdata::newString("KV_hiddenLarge.png"), false, selected,
                                                   false, nullptr, nullptr);
    case kLockStatusInShop:
        return KVPortraitRadioIcon::createWithName(kvdata::newString(base + "_frontend_01.png"), true,
                                                   selected, true, target, selector);
    default:
        logDebugMessage("portrait list: no icon for lock status %d of \"%s\"", lockStatus, base.c_str());
        return nullptr;
    }
}

KVPortraitIcon* KVPortraitItem::createSimpleIcon(int lockStatus, SEL_MenuHandler selector, CCString* baseName,
                                                 CCObject* target, bool selected) {
    switch (lockStatus) {
    case kLockStatusUnlocked:
        return KVPortraitSimpleIcon::createWithName(baseName, false, selected, true, target, selector);
    case kLockStatusLocked:
        return KVPortraitSimpleIcon::createWithName(kvdata::newString("LockedChar"), false, false, false,
                                                    nullptr, nullptr);
    case kLockStatusInShop:
        return KVPortraitSimpleIcon::createWithName(baseName, true, false, true, target, selector);
    default:
        logDebugMessage("portrait list: no simple icon for lock status %d", lockStatus);
        return nullptr;
    }
}

void KVPortraitItem::clearHighlights(CCMenuItemSprite* icon) {
    if (icon == nullptr) return;
    icon->removeChildByTag(KVPortraitIcon::kNewMarkTag, true);
    if (CCNode* hint = icon->getChildByTag(KVPortraitIcon::kHintTag)) {
        hint->stopAllActions();
        icon->removeChild(hint, true);
    }
    if (!icon->isKindOf("KVPortraitIcon")) return;
    auto* portrait = static_cast<KVPortraitIcon*>(icon);
    if (portrait->getSelectedFrame() != nullptr && portrait->getSelectedFrame()->getParent() == nullptr)
        portrait->showSelectedFrame();
}

// ---- entries and order ----

Dict* KVPortraitItem::filterByClass(CCString* className, Dict* entries) {
    Dict* filtered = kvdata::newDict();
    const std::string wanted = className != nullptr ? className->c_str() : "";
    for (const std::string& key : kvdata::keysOf(entries)) {
        CCObject* entry = entries->objectForKey(key);
        if (kvdata::textAt(kvdata::asDict(entry), "Class", "\x01") == wanted) filtered->setObject(entry, key);
    }
    return filtered;
}

std::vector<std::string> KVPortraitItem::listOrder(Dict* entries, int kind) {
    std::vector<std::string> order;
    std::vector<std::pair<int, std::string>> numbered;
    for (const std::string& key : kvdata::keysOf(entries)) {
        Dict* entry = kvdata::asDict(entries->objectForKey(key));
        if (entry == nullptr) {
            logDebugMessage("portrait list: entry \"%s\" is not a dictionary; left out", key.c_str());
            continue;
        }
        if (kind == kSimple) {
            order.push_back(key);
            continue;
        }
        const int number = kvdata::intAt(entry, "item_number", -1);
        if (number < 0 || (kind == kShopConsumables && number > kHighestConsumableNumber)) {
            logDebugMessage("portrait list: entry \"%s\" has no usable \"item_number\"; left out",
                            key.c_str());
            continue;
        }
        numbered.emplace_back(number, key);
    }
    // Sorting by (number, key) visits every number once, so duplicates and gaps cannot stall the
    // walk; entries sharing a number follow each other in key order.
    std::sort(numbered.begin(), numbered.end());
    int next = 0;
    for (const auto& [number, key] : numbered) {
        if (kind == kShopConsumables) {
            // A number no entry carries keeps its (empty) place in the grid.
            for (; next < number; ++next)
                order.emplace_back();
            next = number + 1;
        }
        order.push_back(key);
    }
    return order;
}

// ---- the list ----

KVPortraitItem* KVPortraitItem::createWithEntries(Dict* entries, int kind, CCObject* target,
                                                  SEL_MenuHandler selector, SEL_MenuHandler removeSelector) {
    if (kind < kSimple || kind > kShopConsumables) {
        logDebugMessage("portrait list: no list of kind %d", kind);
        return nullptr;
    }
    auto* list = new KVPortraitItem();
    list->autorelease();
    list->m_kind = kind;
    list->m_removeSelector = removeSelector;
    list->build(selector, target, entries);
    return list;
}

KVPortraitItem::KVPortraitItem() {
    (void)init();
}

void KVPortraitItem::cleanupBeforeDelete() {
    removeAllChildren(true);
    setCurrentClass(nullptr);
    setEntries(nullptr);
    KVMenuItem::cleanupBeforeDelete();
}

void KVPortraitItem::setEntries(Dict* entries) {
    if (entries != nullptr) entries->retain();
    if (m_entries != nullptr) m_entries->release();
    m_entries = entries;
}

void KVPortraitItem::setCurrentClass(CCString* className) {
    if (className != nullptr) className->retain();
    if (m_currentClass != nullptr) m_currentClass->release();
    m_currentClass = className;
}

CCMenu* KVPortraitItem::getPageMenu() const {
    CCNode* menu = getChildByTag(kPageMenuTag);
    return menu != nullptr && menu->isKindOf("CCMenu") ? static_cast<CCMenu*>(menu) : nullptr;
}

KVPortraitIcon* KVPortraitItem::iconAtPosition(int position) const {
    CCMenu* menu = getPageMenu();
    CCNode* icon = menu != nullptr ? menu->getChildByTag(kFirstIconTag + position) : nullptr;
    return icon != nullptr && icon->isKindOf("KVPortraitIcon") ? static_cast<KVPortraitIcon*>(icon) : nullptr;
}

int KVPortraitItem::pageSize() const {
    return m_kind == kShopConsumables ? 9 : 6;
}

int KVPortraitItem::pagesFor(int count) const {
    if (m_kind == kEquipHelmets) {
        // Page 1 gives one place to the remove-helmet icon: positions 0-4, then 6 a page.
        const int q = count / 6;
        return q != 0 ? q + 1 : 0;
    }
    return (count + pageSize() - 1) / pageSize();
}

CCPoint KVPortraitItem::slotPoint(int slot) const {
    const int base = m_kind == kEquipHelmets ? 30 : (m_kind == kShopConsumables ? 145 : 0);
    const int columns[] = {300, 371, 442};
    const int rows[] = {(base + 300) / 2, (base + 160) / 2, (base + 20) / 2};
    const int x = columns[slot % 3];
    const int y = rows[std::min(slot / 3, 2)];
    return wide() ? CCPoint(static_cast<float>(x + 240), static_cast<float>(y + 140))
                  : CCPoint(static_cast<float>(x + 176), static_cast<float>(y + 172));
}

void KVPortraitItem::chooseIcon(KVPortraitIcon* icon) {
    if (icon != nullptr && m_target != nullptr && m_selector != nullptr) (m_target->*m_selector)(icon);
}

void KVPortraitItem::addPageIcon(CCMenu* menu, KVPortraitIcon* icon, const std::string& key, int slot,
                                 int position) {
    icon->setUserObject(kvdata::newString(key));
    icon->setAnchorPoint(CCPoint(0.5f, 0.5f));
    icon->setPosition(slotPoint(slot));
    menu->removeChildByTag(kFirstIconTag + position, true);
    menu->addChildAtZWithTag(icon, kIconZ, kFirstIconTag + position);
}

void KVPortraitItem::addRemoveHelmetIcon(CCMenu* menu) {
    KVPortraitIcon* remove = createPortraitIcon(kvdata::newString(kRemoveHelmetPicture), kLockStatusUnlocked,
                                                false, m_target, m_removeSelector);
    if (remove == nullptr) return;
    remove->setAnchorPoint(CCPoint(0.5f, 0.5f));
    remove->setPosition(slotPoint(0));
    if (wornHelmet().empty())
        remove->showSelectedFrame();
    else
        remove->showNormalFrame();
    menu->addChildAtZWithTag(remove, kIconZ, kRemoveHelmetTag);
}

void KVPortraitItem::addNewHelmetMark(KVPortraitIcon* icon, const std::string& key, int status, bool inUse,
                                      CCNode* cardOwner) {
    const std::string creature = selectedKelvoName();
    if (creature.find("quorrel") != std::string::npos) return;
    if (status != kLockStatusUnlocked ||
        KVPlayerParameters::getInstance()->isHelmetTransferred(key, creature))
        return;
    CCSprite* mark = CCSprite::createWithSpriteFrameName("KV_IconeNew_Helmets.png");
    if (mark == nullptr) return; // logged by the frame cache
    const CCSize frame = icon->getNormalFrame()->getContentSize();
    const CCSize size = mark->getContentSize();
    mark->setAnchorPoint(CCPoint(0.5f, 0.5f));
    mark->setPosition(CCPoint(frame.width - size.width * 0.25f, frame.height - size.height * 0.25f));
    icon->addChildAtZWithTag(mark, 1, KVPortraitIcon::kNewHelmetMarkTag);
    if (!inUse || cardOwner == nullptr) return;
    if (auto* card = dynamic_cast<KVChosenHelmetIconHolder*>(cardOwner->getChildByTag(kCharacterCardTag)))
        card->setChosenHelmetIcon(icon);
}

KVPortraitIcon* KVPortraitItem::makeShopIcon(Dict* entry) {
    const std::string sprite = kvdata::textAt(entry, "sprite_name");
    std::string picture;
    if (m_kind == kShopCreatures)
        picture = "KV_" + sprite + "Large.png";
    else if (m_kind == kShopHelmets)
        picture = sprite + "_frontend_01.png";
    else
        picture = sprite + "_shop.png";
    return KVPortraitRadioShopIcon::createWithName(kvdata::newString(picture), m_target, m_selector, m_kind);
}

void KVPortraitItem::placePageMenu(CCMenu* menu) {
    menu->setAnchorPoint(CCPointZero);
    menu->setPosition(CCPointZero);
    addChildAtZWithTag(menu, m_kind == kSimple ? kSimplePageMenuZ : kPageMenuZ, kPageMenuTag);
}

void KVPortraitItem::build(SEL_MenuHandler selector, CCObject* target, Dict* entries) {
    m_selector = selector;
    m_target = target;
    setEntries(entries);
    removeChildByTag(kPageMenuTag, true);
    KVPortraitItemMenu* menu = KVPortraitItemMenu::create();
    int slot = 0;
    int placed = 0;
    if (m_kind == kEquipHelmets) {
        addRemoveHelmetIcon(menu);
        slot = 1;
    } else {
        showClassBanner(kvdata::newString(m_kind == kShopConsumables ? "KV_FondhautZoneShop.png"
                                                                     : "KV_BT_ClassFrigate.png"),
                        this);
    }
    m_currentPage = 1;
    if (kvdata::countOf(entries) != 0) {
        int count = 0;
        if (m_kind == kSimple || m_kind == kEquipHelmets) {
            for (const std::string& key : listOrder(entries, m_kind)) {
                Dict* entry = kvdata::dictAt(entries, key);
                const int status = kvdata::intAt(entry, "status_locked");
                const bool inUse = kvdata::intAt(entry, "status_selected") == 1;
                CCString* sprite = kvdata::newString(kvdata::textAt(entry, "sprite_name"));
                if (m_kind == kSimple) {
                    if (status == kLockStatusWithdrawn || placed >= 6) continue;
                    KVPortraitIcon* icon = createSimpleIcon(status, selector, sprite, target, inUse);
                    if (icon == nullptr) continue;
                    addPageIcon(menu, icon, key, slot++, placed++);
                    count = placed;
                    continue;
                }
                if (status < kLockStatusUnlocked || status > kLockStatusInShop) continue;
                if (count < 5) {
                    if (KVPortraitIcon* icon = createPortraitIcon(sprite, status, inUse, target, selector)) {
                        addNewHelmetMark(icon, key, status, inUse,
                                         target != nullptr && target->isKindOf("CCNode")
                                             ? static_cast<CCNode*>(target)
                                             : nullptr);
                        addPageIcon(menu, icon, key, slot++, count);
                        ++placed;
                    }
                }
                ++count;
            }
        } else {
            Dict* shown =
                m_kind == kShopConsumables ? entries : filterByClass(kvdata::newString("Frigate"), entries);
            for (const std::string& key : listOrder(shown, m_kind)) {
                const int p = count++;
                if (key.empty() || p >= pageSize()) continue;
                KVPortraitIcon* icon = makeShopIcon(kvdata::dictAt(shown, key));
                if (icon == nullptr) continue;
                addPageIcon(menu, icon, key, p, p);
                ++placed;
                if (p != 0) continue;
                if (getParent() != nullptr) chooseIcon(icon);
                if (m_kind == kShopConsumables) clearHighlights(icon);
            }
        }
        m_entryCount = count;
        m_pageCount = pagesFor(count);
    } else {
        m_entryCount = 0;
        m_pageCount = 0;
    }
    if (m_kind == kShopCreatures || m_kind == kShopHelmets) {
        setContentSize(CCSize(480, 320));
        addClassTabs();
    }
    placePageMenu(menu);
    if (m_kind != kSimple) refreshPageArrows();
    if (placed == 0 && m_kind >= kShopCreatures)
        showEmptyLabels();
    else
        removeEmptyLabels();
}

void KVPortraitItem::showEmptyLabels() {
    removeEmptyLabels();
    KVLabelWithShadow* nothing = KVLabelWithShadow::createWithString(
        localizeString(kvdata::newString("Shop_NothingToDisplay")), PRODUCT_FONT_NAME, kNothingFontSize);
    nothing->setAnchorPoint(CCPoint(0.5f, 0.5f));
    nothing->setPosition(wide() ? CCPoint(480, 285) : CCPoint(416, 317));
    addChildAtZWithTag(nothing, kLabelZ, kNothingLabelTag);
    KVLabelWithShadow* later = KVLabelWithShadow::createWithString(
        localizeString(kvdata::newString("Shop_ComeBackLater")), PRODUCT_FONT_NAME, kComeBackFontSize);
    later->setAnchorPoint(CCPoint(0.5f, 0.5f));
    later->setPosition(
        CCPoint(nothing->getPosition().x, nothing->getPosition().y - 2 * nothing->getContentSize().height));
    addChildAtZWithTag(later, kLabelZ, kComeBackLabelTag);
}

void KVPortraitItem::removeEmptyLabels() {
    removeChildByTag(kNothingLabelTag, true);
    removeChildByTag(kComeBackLabelTag, true);
}

void KVPortraitItem::refreshPortraits(SEL_MenuHandler selector, Dict* entries, CCObject* target) {
    CCMenu* menu = getPageMenu();
    if (menu == nullptr || entries == nullptr) return;
    if (m_kind == kEquipHelmets) {
        bool anySelected = false;
        int position = 0;
        for (const std::string& key : listOrder(entries, m_kind)) {
            Dict* entry = kvdata::dictAt(entries, key);
            const int status = kvdata::intAt(entry, "status_locked");
            if (status < kLockStatusUnlocked || status > kLockStatusInShop) continue;
            const bool inUse = kvdata::intAt(entry, "status_selected") == 1;
            anySelected = anySelected || inUse;
            if (KVPortraitIcon* icon = iconAtPosition(position)) {
                if (inUse)
                    icon->showSelectedFrame();
                else
                    icon->showNormalFrame();
            }
            ++position;
        }
        CCNode* remove = menu->getChildByTag(kRemoveHelmetTag);
        if (remove != nullptr && remove->isKindOf("KVPortraitIcon")) {
            if (anySelected)
                static_cast<KVPortraitIcon*>(remove)->showNormalFrame();
            else
                static_cast<KVPortraitIcon*>(remove)->showSelectedFrame();
        }
        return;
    }
    if (m_kind == kSimple) {
        // The simple icons are made again with the entries' new statuses.
        int placed = 0;
        for (const std::string& key : listOrder(entries, m_kind)) {
            Dict* entry = kvdata::dictAt(entries, key);
            const int status = kvdata::intAt(entry, "status_locked");
            if (status == kLockStatusWithdrawn || placed >= 6) continue;
            KVPortraitIcon* icon =
                createSimpleIcon(status, selector, kvdata::newString(kvdata::textAt(entry, "sprite_name")),
                                 target, kvdata::intAt(entry, "status_selected") == 1);
            if (icon == nullptr) continue;
            addPageIcon(menu, icon, key, placed, placed);
            ++placed;
        }
        return;
    }
    // Shop lists: every icon of the page back to its normal look, but for an entry marked in use.
    for (int position = 0; position < m_entryCount; ++position) {
        KVPortraitIcon* icon = iconAtPosition(position);
        if (icon == nullptr || !icon->isKindOf("KVPortraitRadioShopIcon")) continue;
        auto* key = kvdata::asString(icon->getUserObject());
        Dict* entry = key != nullptr ? kvdata::dictAt(entries, key->c_str()) : nullptr;
        if (kvdata::intAt(entry, "status_selected") != 1)
            static_cast<KVPortraitRadioShopIcon*>(icon)->resetLook();
    }
}
