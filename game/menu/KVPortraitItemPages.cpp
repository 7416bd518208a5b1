// Page turns, page arrows, class tabs, the class banner and the tabs' "new" markers of the
// portrait lists.
#include <string>

#include "engine/base/CCNotificationCenter.h"
#include "engine/base/CCString.h"
#include "engine/director/CCDirector.h"
#include "engine/nodes/CCMenu.h"
#include "engine/nodes/CCMenuItemSprite.h"
#include "engine/sprites/CCSprite.h"
#include "game/app/KVGlobalNames.h"
#include "game/data/KVGameParameters.h"
#include "game/data/KVPlayerParameters.h"
#include "game/menu/KVButtonItem.h"
#include "game/menu/KVDoubleTapHint.h"
#include "game/menu/KVMenuManager.h"
#include "game/menu/KVPortraitIcon.h"
#include "game/menu/KVPortraitItem.h"
#include "game/menu/KVPortraitListOwner.h"

using namespace kvengine;
using kvdata::Dict;

namespace {

constexpr int kArrowZ = 3;
constexpr int kTabZ = 1;
constexpr int kBannerZ = 0;
constexpr int kMarkerZ = 100;
constexpr int kHintZ = 1010;
constexpr uint8_t kDimmedArrowOpacity = 100;
constexpr uint8_t kTabOpacity = 150;
constexpr uint8_t kChosenTabOpacity = 255;
// The touch area of an arrow is this many times its picture.
constexpr float kArrowTouchScale = 3;
const char* const kDefaultClass = "Frigate";

bool wide() {
    return CCDirector::wideScreen != 0;
}

CCPoint at(bool isWide, float narrowX, float narrowY, float wideX, float wideY) {
    return isWide ? CCPoint(wideX, wideY) : CCPoint(narrowX, narrowY);
}

// The four tabs: class, tab tag, marker tag, tab point, marker point, hint point (narrow; wide is
// moved by (+64, -32)).
struct Tab {
    const char* className;
    int tag;
    int markerTag;
    float tabX, markerX, hintX;
};
constexpr float kTabY = 401;
constexpr float kMarkerY = 415.5f;
constexpr Tab kTabs[] = {
    {"Frigate", 10, 510, 256.5f, 280, 270},
    {"Destroyer", 12, 512, 365, 389, 379},
    {"Torpedo", 13, 513, 471.5f, 499.5f, 489.5f},
    {"Zodiac", 14, 514, 566, 590, 580},
};
// Tag 11 belongs to Corvette, which has no tab but is still looked after by selectClass.
constexpr std::pair<int, const char*> kClassTags[] = {
    {10, "Frigate"}, {11, "Corvette"}, {12, "Destroyer"}, {13, "Torpedo"}, {14, "Zodiac"}};

CCPoint shifted(float x, float y) {
    return wide() ? CCPoint(x + 64, y - 32) : CCPoint(x, y);
}

std::string textOf(CCString* text) {
    return text != nullptr ? text->c_str() : "";
}

} // namespace

// ---- page turns ----

void KVPortraitItem::showNextPage(CCObject* sender) {
    (void)sender;
    if (m_currentPage < m_pageCount) turnPage(1);
}

void KVPortraitItem::showPreviousPage(CCObject* sender) {
    (void)sender;
    if (m_currentPage > 1) turnPage(-1);
}

void KVPortraitItem::turnPage(int step) {
    if (m_kind == kSimple) return; // a plain list has a single page
    CCNotificationCenter::getInstance()->postNotification(EVENT_BUTTON_VALIDATED_LIGHT);
    m_currentPage += step;
    removeChildByTag(kPageMenuTag, true);
    CCMenu* menu = CCMenu::createWithItems(nullptr);
    if (m_kind == kEquipHelmets && m_currentPage == 1) addRemoveHelmetIcon(menu);

    Dict* walked = m_entries;
    if (m_kind == kShopCreatures || m_kind == kShopHelmets)
        walked = filterByClass(m_currentClass != nullptr ? m_currentClass : kvdata::newString(kDefaultClass),
                               m_entries);
    const int size = pageSize();
    // Kind 2's page 1 lends its first place to the remove-helmet icon: its helmets sit one place on.
    const int shift = m_kind == kEquipHelmets ? 1 : 0;
    const int first = size * (m_currentPage - 1);
    CCString* chosenShopItem = m_kind == kShopHelmets
                                   ? KVMenuManager::getInstance()->getSelectedShopItemName()
                                   : KVMenuManager::getInstance()->getPopUpText();
    CCNode* cardOwner = getParent();
    int position = 0;
    for (const std::string& key : listOrder(walked, m_kind)) {
        Dict* entry = kvdata::dictAt(walked, key);
        const int status = kvdata::intAt(entry, "status_locked");
        if (m_kind == kEquipHelmets && (status < kLockStatusUnlocked || status > kLockStatusInShop)) continue;
        const int p = position++;
        if (p >= m_entryCount || key.empty()) continue;
        const int place = p + shift - first;
        if (place < 0 || place >= size) continue;
        KVPortraitIcon* icon = nullptr;
        if (m_kind == kEquipHelmets) {
            icon = createPortraitIcon(kvdata::newString(kvdata::textAt(entry, "sprite_name")), status,
                                      kvdata::intAt(entry, "status_selected") == 1, m_target, m_selector);
            if (icon == nullptr) continue;
            addNewHelmetMark(icon, key, status, kvdata::intAt(entry, "status_selected") == 1, cardOwner);
        } else {
            icon = makeShopIcon(entry);
            if (icon == nullptr) continue;
        }
        addPageIcon(menu, icon, key, place, p);
        if (m_kind == kEquipHelmets) {
            const std::string creature = textOf(KVMenuManager::getInstance()->getSelectedKelvoName());
            const std::string worn =
                kvdata::textAt(KVPlayerParameters::getInstance()->getKelvoRecord(creature), "helmet_name");
            if (worn == key)
                icon->showSelectedFrame();
            else
                icon->showNormalFrame();
        } else if ((m_kind == kShopHelmets || m_kind == kShopConsumables) && chosenShopItem != nullptr &&
                   key == chosenShopItem->c_str()) {
            clearHighlights(icon);
        }
    }
    placePageMenu(menu);
    refreshPageArrows();
}

// ---- arrows ----

void KVPortraitItem::refreshPageArrows() {
    while (CCNode* arrow = getChildByTag(kArrowTag))
        removeChild(arrow, true);
    if (m_pageCount <= 1) return;
    const bool isWide = wide();
    struct Arrow {
        const char* normal;
        const char* down;
        bool active;
        SEL_MenuHandler handler;
    };
    const Arrow right{"KV_Bt_FlecheDroite_Normal.png", "KV_Bt_FlecheDroite_Down.png",
                      m_currentPage != m_pageCount, menu_selector(KVPortraitItem::showNextPage)};
    const Arrow left{"KV_Bt_FlecheGauche_Normal.png", "KV_Bt_FlecheGauche_Down.png", m_currentPage != 1,
                     menu_selector(KVPortraitItem::showPreviousPage)};
    const CCPoint rightAt = at(isWide, 634.5f, 207, 698.5f, 175);
    CCPoint leftAt = at(isWide, 459.5f, 207, 523.5f, 175);
    for (const Arrow* arrow : {&right, &left}) {
        CCSprite* normal = CCSprite::createWithSpriteFrameName(arrow->normal);
        if (normal == nullptr) continue; // logged by the frame cache
        const CCSize size = normal->getContentSize();
        if (arrow == &left && m_kind == kEquipHelmets)
            leftAt = CCPoint(rightAt.x - 2 * size.width, rightAt.y);
        CCNode* node = nullptr;
        CCSprite* down = arrow->active ? CCSprite::createWithSpriteFrameName(arrow->down) : nullptr;
        if (down != nullptr) {
            CCMenuItemSprite* item =
                CCMenuItemSprite::createWithSpritesAndTarget(normal, down, this, arrow->handler);
            const CCSize area(size.width * kArrowTouchScale, size.height * kArrowTouchScale);
            item->setContentSize(area);
            for (CCSprite* image : {normal, down}) {
                image->setAnchorPoint(CCPoint(0.5f, 0.5f));
                image->setPosition(CCPoint(area.width / 2, area.height / 2));
            }
            CCMenu* menu = CCMenu::createWithItems(item, nullptr);
            menu->setContentSize(size);
            node = menu;
        } else {
            normal->setOpacity(kDimmedArrowOpacity);
            node = normal;
        }
        node->setPosition(arrow == &right ? rightAt : leftAt);
        addChildAtZWithTag(node, kArrowZ, kArrowTag);
    }
}

// ---- class tabs ----

void KVPortraitItem::addTab(const char* className, int tag, const CCPoint& point, SEL_MenuHandler handler) {
    removeChildByTag(tag, true);
    KVButtonItem* button = KVButtonItem::createWithText(className, 10, this, handler);
    if (button == nullptr) return; // logged by the button
    CCMenu* menu = CCMenu::createWithItems(nullptr);
    menu->addChildAtZWithTag(button, kTabZ, kTabButtonTag);
    menu->setPosition(point);
    addChildAtZWithTag(menu, kTabZ, tag);
}

void KVPortraitItem::addClassTabs() {
    const SEL_MenuHandler handlers[] = {
        menu_selector(KVPortraitItem::onFrigateTab), menu_selector(KVPortraitItem::onDestroyerTab),
        menu_selector(KVPortraitItem::onTorpedoTab), menu_selector(KVPortraitItem::onZodiacTab)};
    for (int i = 0; i < 4; ++i)
        addTab(kTabs[i].className, kTabs[i].tag, shifted(kTabs[i].tabX, kTabY), handlers[i]);
}

void KVPortraitItem::onFrigateTab(CCObject*) {
    onTab("Frigate");
}
void KVPortraitItem::onDestroyerTab(CCObject*) {
    onTab("Destroyer");
}
void KVPortraitItem::onTorpedoTab(CCObject*) {
    onTab("Torpedo");
}
void KVPortraitItem::onZodiacTab(CCObject*) {
    onTab("Zodiac");
}

void KVPortraitItem::onTab(const char* className) {
    // The tab's handler may replace the whole list (the shop rebuilds on a choice): hold it.
    retain();
    if (CCNode* view = getParent()) view->removeChildByTag(kDetailsPanelTag, true);
    showClassBanner(kvdata::newString(std::string("KV_BT_Class") + className + ".png"), this);
    selectClass(kvdata::newString(className), this);
    release();
}

void KVPortraitItem::selectClass(CCString* className, KVPortraitItem* list) {
    if (list == nullptr) return;
    if (list->m_kind != kShopCreatures && list->m_kind != kShopHelmets && list->m_kind != kShopConsumables)
        return;
    const std::string chosen = textOf(className);
    for (const auto& [tag, tabClass] : kClassTags) {
        CCNode* tab = list->getChildByTag(tag);
        CCNode* button = tab != nullptr ? tab->getChildByTag(kTabButtonTag) : nullptr;
        if (button == nullptr || !button->isKindOf("KVButtonItem")) continue;
        auto* item = static_cast<KVButtonItem*>(button);
        const bool other = chosen != tabClass;
        item->setEnabled(other);
        item->setOpacity(other ? kTabOpacity : kChosenTabOpacity);
    }
    list->setCurrentClass(className);
    list->rebuildForClass(list->m_entries, className);
}

void KVPortraitItem::rebuildForClass(Dict* entries, CCString* className) {
    // Consumables have no classes: their list stays as built.
    if (m_kind != kShopCreatures && m_kind != kShopHelmets) return;
    if (CCNode* old = getChildByTag(kPageMenuTag)) {
        old->retain();
        removeChild(old, true);
        old->removeAllChildren(true);
        old->release();
    }
    KVPortraitItemMenu* menu = KVPortraitItemMenu::create();
    removeEmptyLabels();
    const std::string chosen = textOf(className).empty() ? kDefaultClass : textOf(className);
    showClassBanner(kvdata::newString("KV_BT_Class" + chosen + ".png"), this);
    m_currentPage = 1;
    int p = 0;
    if (kvdata::countOf(entries) != 0) {
        Dict* shown = filterByClass(kvdata::newString(chosen), entries);
        for (const std::string& key : listOrder(shown, m_kind)) {
            const int position = p++;
            if (position >= pageSize()) continue;
            if (KVPortraitIcon* icon = makeShopIcon(kvdata::dictAt(shown, key)))
                addPageIcon(menu, icon, key, position, position);
        }
        placePageMenu(menu);
    }
    m_entryCount = p;
    m_pageCount = pagesFor(p);
    refreshPageArrows();
    if (p == 0) {
        showEmptyLabels();
        if (CCNode* view = getParent()) view->removeChildByTag(kDetailsPanelTag, true);
        return;
    }
    // The automatic choice: the item the player came for when the shop opens from the troops or
    // the equipment screen, else the first one (only icons of page 1 can be chosen).
    auto* owner = dynamic_cast<KVPortraitListOwner*>(m_target);
    KVMenuManager* manager = KVMenuManager::getInstance();
    const int cameFrom =
        m_kind == kShopCreatures ? KVMenuManager::kTroopsState : KVMenuManager::kEquipmentState;
    KVPortraitIcon* chosenIcon = iconAtPosition(0);
    CCString* remembered =
        m_kind == kShopCreatures ? manager->getSelectedKelvoName() : manager->getSelectedShopItemName();
    // Nothing remembered: the first icon, as on any later build.
    if (owner != nullptr && owner->isOnFirstPortraitBuild() && manager->getPreviousState() == cameFrom &&
        remembered != nullptr) {
        const std::string wanted = textOf(remembered);
        chosenIcon = nullptr;
        for (int position = 0; position < pageSize() && chosenIcon == nullptr; ++position) {
            KVPortraitIcon* icon = iconAtPosition(position);
            CCString* key = icon != nullptr ? kvdata::asString(icon->getUserObject()) : nullptr;
            if (key != nullptr && wanted == key->c_str()) chosenIcon = icon;
        }
    }
    chooseIcon(chosenIcon);
}

// ---- banner, markers and hint ----

void KVPortraitItem::showClassBanner(CCString* frameName, KVPortraitItem* list) {
    if (list == nullptr) return;
    list->removeChildByTag(kBannerTag, true);
    if (CCSprite* banner = CCSprite::createWithSpriteFrameName(textOf(frameName).c_str())) {
        banner->setAnchorPoint(CCPoint(0.5f, 0.5f));
        banner->setPosition(wide() ? CCPoint(480, 367) : CCPoint(416, 399));
        list->addChildAtZWithTag(banner, kBannerZ, kBannerTag);
    }
    list->refreshNewMarkers();
}

void KVPortraitItem::refreshNewMarkers() {
    KVPlayerParameters* profile = KVPlayerParameters::getInstance();
    for (const Tab& tab : kTabs) {
        bool unseen = false;
        if (m_kind == kShopCreatures) unseen = profile->hasUnseenKelvosOfClass(tab.className);
        if (m_kind == kShopHelmets) unseen = profile->hasUnseenHelmetsOfClass(tab.className);
        if (!unseen) {
            removeChildByTag(tab.markerTag, true);
            continue;
        }
        if (getChildByTag(tab.markerTag) != nullptr) continue;
        if (CCSprite* marker = CCSprite::createWithSpriteFrameName("KV_IconeNew.png")) {
            marker->setAnchorPoint(CCPoint(0.5f, 0.5f));
            marker->setPosition(shifted(tab.markerX, kMarkerY));
            addChildAtZWithTag(marker, kMarkerZ, tab.markerTag);
        }
    }
    if (CCNode* hint = getChildByTag(kHintTag)) {
        hint->stopAllActions();
        removeChild(hint, true);
    }
    if (m_kind != kShopCreatures) return;
    CCString* screen = nullptr;
    CCString* item = nullptr;
    if (!profile->getForcedStepTarget(&screen, &item) || textOf(screen) != "shop" || item == nullptr) return;
    Dict* stats = KVGameParameters::getInstance()->getKelvoStats(item->c_str());
    if (stats == nullptr) return;
    const std::string itemClass = kvdata::textAt(stats, "Class");
    if (m_currentClass != nullptr && itemClass != m_currentClass->c_str()) return;
    CCPoint point = CCPointZero;
    for (const Tab& tab : kTabs)
        if (itemClass == tab.className) point = shifted(tab.hintX, kMarkerY);
    if (CCSprite* hint = createDoubleTapHint()) {
        hint->setPosition(point);
        addChildAtZWithTag(hint, kHintZ, kHintTag);
    }
}

void KVPortraitItem::selectItemTwelve() {
    const int first = 9 * m_currentPage - 9;
    if (m_entryCount > 12 && first <= 12 && 9 * m_currentPage > 12) chooseIcon(iconAtPosition(12));
}
