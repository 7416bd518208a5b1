#include "game/shop/KVShopScreenView.h"

#include "engine/base/CCLocalizationManager.h"
#include "engine/base/CCLog.h"
#include "engine/base/CCNotificationCenter.h"
#include "engine/base/CCString.h"
#include "engine/director/CCDirector.h"
#include "engine/director/CCScene.h"
#include "engine/nodes/CCMenu.h"
#include "engine/sprites/CCSprite.h"
#include "engine/sprites/CCSpriteFrameCache.h"
#include "game/app/KVGlobalNames.h"
#include "game/data/KVGameParameters.h"
#include "game/data/KVPlayerParameters.h"
#include "game/menu/KVButton.h"
#include "game/menu/KVButtonItem.h"
#include "game/menu/KVDoubleTapHint.h"
#include "game/menu/KVMenuManager.h"
#include "game/menu/KVPearlCountItem.h"
#include "game/menu/KVPortraitItem.h"
#include "game/powerups/KVConsumableManager.h"
#include "game/shop/KVShopInfoItem.h"

using namespace kvengine;
using kvdata::Dict;

namespace {

constexpr int kBackButtonKind = 17;
constexpr int kStuffButtonKind = 5;
constexpr int kHelmetsButtonKind = 6;
constexpr int kKelvosButtonKind = 7;
constexpr int kHintZ = 1010;
constexpr int kNewMarkZ = 200;
constexpr int kPanelZ = 3;
constexpr int kListZ = 3;
constexpr int kOfferedInShop = 2;
const char* const kFrigate = "Frigate";

bool isWide() {
    return CCDirector::wideScreen != 0;
}

// A fixed position of the 800 x 600 layout, moved by (+64, -32) on the wide one.
CCPoint at(float x, float y) {
    return isWide() ? CCPoint(x + 64, y - 32) : CCPoint(x, y);
}

CCString* localised(const char* key) {
    CCString* text = CCLocalizationManager::getInstance()->stringForKey(key);
    if (text == nullptr) logDebugMessage("shop: no text for \"%s\"", key);
    return text;
}

CCSprite* spriteOf(const char* frameName) {
    CCSpriteFrame* frame = CCSpriteFrameCache::getInstance()->findSpriteFrameByName(frameName);
    return frame != nullptr ? CCSprite::createWithSpriteFrame(frame) : nullptr;
}

std::string textOf(CCString* text) {
    return text != nullptr ? text->c_str() : "";
}

bool stepPointsAtShop() {
    CCString* screen = nullptr;
    CCString* item = nullptr;
    return KVPlayerParameters::getInstance()->getForcedStepTarget(&screen, &item) && textOf(screen) == "shop";
}

// Every key and value of `from` in a new dictionary (the same value objects).
Dict* copyOf(Dict* from) {
    Dict* copy = kvdata::newDict();
    for (const std::string& key : kvdata::keysOf(from))
        copy->setObject(from->objectForKey(key), key);
    return copy;
}

bool kelvoOffered(const std::string& name) {
    return kvdata::intAt(KVPlayerParameters::getInstance()->getKelvoRecord(name), "status_locked", -1) ==
           kOfferedInShop;
}

bool helmetOffered(const std::string& name) {
    return KVPlayerParameters::getInstance()->getHelmetLockStatus(name) == kOfferedInShop;
}

std::string kelvoClass(const std::string& name) {
    return kvdata::textAt(KVGameParameters::getInstance()->getKelvoStats(name), "Class");
}

std::string helmetClass(const std::string& name) {
    return kvdata::textAt(KVGameParameters::getInstance()->getHelmetDefinition(name), "Class");
}

// The best class of the offered items of a profile dictionary, `onBest` told each time it changes.
template <typename Offered, typename ClassOf, typename OnBest>
std::string bestClass(Dict* records, Offered offered, ClassOf classOf, OnBest onBest) {
    bool found = false;
    std::string best;
    for (const std::string& name : kvdata::keysOf(records)) {
        if (!offered(name)) continue;
        const std::string candidate = classOf(name);
        if (!found || candidate == kFrigate || isClassOutranked(best, candidate)) {
            best = candidate;
            found = true;
            onBest(name);
        }
    }
    return best;
}

template <typename Offered, typename ClassOf>
bool hasOfClass(Dict* records, Offered offered, ClassOf classOf, CCString* className) {
    const std::string wanted = textOf(className);
    for (const std::string& name : kvdata::keysOf(records))
        if (offered(name) && classOf(name) == wanted) return true;
    return false;
}

Dict* profileDict(const char* key) {
    return kvdata::dictAt(KVPlayerParameters::getInstance()->getProfile(), key);
}

} // namespace

CCScene* KVShopScreenView::createScene() {
    CCScene* scene = CCScene::create();
    auto* view = new KVShopScreenView();
    view->autorelease();
    scene->addChildAtZWithTag(view, 0, view->getTag());
    return scene;
}

KVShopScreenView::KVShopScreenView() {
    (void)init();
    m_firstBuild = false;
    const CCSize win = CCDirector::getInstance()->getWinSize();
    const float w = win.width;
    const float h = win.height;
    m_firstBuild = true;
    m_enteredFrom = KVMenuManager::getInstance()->getPreviousState();
    const bool wide = isWide();
    KVPlayerParameters* profile = KVPlayerParameters::getInstance();

    if (CCSprite* background = spriteOf("KV_Fond.png")) {
        background->setPosition(CCPoint(w / 2, h / 2));
        addChildAtZWithTag(background, 0, background->getTag());
    }
    if (CCSprite* lowerZone = spriteOf("KV_FondBasZoneShop.png")) {
        lowerZone->setPosition(at(416, 270.25f));
        addChildAtZWithTag(lowerZone, 1, lowerZone->getTag());
    }
    const float topY = wide ? w / 2 + w / 12 : w / 2 + w / 5;
    if (KVButton* back = KVButton::createWithLabel(localised("Shop_Screen_Back"), 0, 0, kBackButtonKind, this,
                                                   menu_selector(KVShopScreenView::onBackPressed))) {
        back->setPosition(CCPoint(w / 2 - w / 3, topY));
        addChildAtZWithTag(back, 2, kBackTag);
    }
    addTabButton("KV_BT_StuffSelect.png", "Shop_Screen_Stuff", kStuffButtonKind,
                 menu_selector(KVShopScreenView::onStuffTabPressed), at(604, 444.5f), kStuffTabTag);
    KVPearlCountItem* pearls = KVPearlCountItem::createLarge();
    const CCSize counter = pearls->getContentSize();
    pearls->setAnchorPoint(CCPoint(1, 1));
    pearls->setPosition(CCPoint(w / 2 + w / 3 + counter.width / 2, topY + counter.height / 2));
    addChildAtZWithTag(pearls, 2, kPearlCounterTag);
    addTabButton("KV_BT_HelmetsSelect.png", "Shop_Screen_Helmets", kHelmetsButtonKind,
                 menu_selector(KVShopScreenView::onHelmetsTabPressed), at(509.5f, 444.5f), kHelmetsTabTag);
    if (profile->hasUnseenHelmets())
        if (CCSprite* mark = spriteOf("KV_IconeNew.png")) {
            mark->setPosition(at(532.5f, 451.5f));
            addChildAtZWithTag(mark, kNewMarkZ, kHelmetsNewMarkTag);
        }
    addTabButton("KV_BT_KelvosSelect.png", "Shop_Screen_Kelvos", kKelvosButtonKind,
                 menu_selector(KVShopScreenView::onKelvosTabPressed), at(405, 444.5f), kKelvosTabTag);
    if (profile->hasUnseenKelvos())
        if (CCSprite* mark = spriteOf("KV_IconeNew.png")) {
            mark->setPosition(at(440.5f, 451.5f));
            addChildAtZWithTag(mark, kNewMarkZ, kKelvosNewMarkTag);
        }

    CCNotificationCenter* centre = CCNotificationCenter::getInstance();
    centre->addObserver(this, notification_selector(KVShopScreenView::onPopUpClosed), EVENT_POP_UP_CLOSED);
    centre->addObserver(this, notification_selector(KVShopScreenView::showBackButtonHint),
                        EVENT_TAP_ANIMATION);
    openFirstTab();
}

void KVShopScreenView::addTabButton(const char* selectedFrame, const char* textKey, int kind,
                                    SEL_MenuHandler selector, const CCPoint& position, int tag) {
    if (CCSprite* selected = spriteOf(selectedFrame)) {
        selected->setPosition(position);
        addChildAtZWithTag(selected, 1, selected->getTag());
    }
    KVButtonItem* button = KVButtonItem::createWithLabel(localised(textKey), kind, this, selector);
    if (button == nullptr) return;
    CCMenu* menu = CCMenu::createWithItems(nullptr);
    menu->addChildAtZWithTag(button, 2, kTabButtonTag);
    menu->setContentSize(button->getContentSize());
    button->setPosition(CCPoint(0, 0));
    menu->setPosition(position);
    addChildAtZWithTag(menu, 2, tag);
}

void KVShopScreenView::openFirstTab() {
    KVMenuManager* manager = KVMenuManager::getInstance();
    KVGameParameters* data = KVGameParameters::getInstance();
    CCString* kelvo = manager->getSelectedKelvoName();
    CCString* helmet = manager->getSelectedShopItemName();
    if (m_enteredFrom == KVMenuManager::kTroopsState && kelvo != nullptr) {
        showKelvosTab(kvdata::newString(kvdata::textAt(data->getKelvoStats(textOf(kelvo)), "Class")));
    } else if (m_enteredFrom == KVMenuManager::kEquipmentState && helmet != nullptr) {
        showHelmetsTab(kvdata::newString(kvdata::textAt(data->getHelmetDefinition(textOf(helmet)), "Class")));
    } else if (m_enteredFrom == KVMenuManager::kItemPopUpState && manager->popUpKind == 1) {
        showStuffTab();
    } else if (!textOf(firstShopKelvoClass()).empty()) {
        showKelvosTab(firstShopKelvoClass());
    } else if (!textOf(firstShopHelmetClass()).empty()) {
        showHelmetsTab(firstShopHelmetClass());
    } else {
        showStuffTab();
    }
}

void KVShopScreenView::cleanupBeforeDelete() {
    CCNotificationCenter::getInstance()->removeObserver(this);
    KVScreenView::cleanupBeforeDelete();
}

void KVShopScreenView::onEnterTransitionDidFinish() {
    m_firstBuild = false;
    KVScreenView::onEnterTransitionDidFinish();
}

void KVShopScreenView::onPopUpClosed(CCNotification* notification) {
    (void)notification;
    CCNode* counter = getChildByTag(kPearlCounterTag);
    if (counter != nullptr && counter->isKindOf("KVPearlCountItem"))
        static_cast<KVPearlCountItem*>(counter)->startCountUp();
}

void KVShopScreenView::showBackButtonHint(CCNotification* notification) {
    (void)notification;
    KVPlayerParameters* profile = KVPlayerParameters::getInstance();
    const bool clintLocked = profile->getKelvoLockStatus("clint") != 0;
    const bool sammoLocked = profile->getKelvoLockStatus("sammo") != 0;
    if (clintLocked || sammoLocked) return;
    CCNode* back = getChildByTag(kBackTag);
    if (back == nullptr || !back->isKindOf("KVButton")) return;
    KVButtonItem* item = static_cast<KVButton*>(back)->getItem();
    if (item == nullptr || item->getChildByTag(kBackHintTag) != nullptr) return;
    if (CCSprite* hint = createDoubleTapHint()) {
        const CCSize size = item->getContentSize();
        hint->setPosition(CCPoint(size.width * 0.5f, size.height * 0.75f));
        item->addChildAtZWithTag(hint, kHintZ, kBackHintTag);
    }
}

void KVShopScreenView::onBackPressed(CCObject* sender) {
    (void)sender;
    // Where the shop was entered from, not the record's previous state: a purchase pop-up shown
    // over the shop changes that.
    KVMenuManager::getInstance()->changeState(m_enteredFrom == KVMenuManager::kEquipmentState
                                                  ? KVMenuManager::kEquipmentState
                                                  : KVMenuManager::kTroopsState);
}

// ---- entries ----

Dict* KVShopScreenView::buildShopConsumableEntries() {
    Dict* result = kvdata::newDict();
    KVPlayerParameters* profile = KVPlayerParameters::getInstance();
    Dict* table = KVGameParameters::getInstance()->getConsumables();
    for (const std::string& name : kvdata::keysOf(table)) {
        Dict* row = kvdata::dictAt(table, name);
        if (row == nullptr) continue;
        Dict* entry = copyOf(row);
        kvdata::setInt(entry, "status_locked",
                       kvdata::intAt(profile->getConsumableRecord(name), "status_locked"));
        entry->setObject(kvdata::newString(name), "key");
        result->setObject(entry, name);
    }
    return result;
}

Dict* KVShopScreenView::buildShopHelmetEntries() {
    Dict* result = kvdata::newDict();
    Dict* table = KVGameParameters::getInstance()->getHelmets();
    for (const std::string& name : kvdata::keysOf(table)) {
        Dict* row = kvdata::dictAt(table, name);
        if (row == nullptr || !helmetOffered(name)) continue;
        Dict* entry = copyOf(row);
        kvdata::setInt(entry, "status_locked", kOfferedInShop);
        entry->setObject(kvdata::newString(name), "key");
        result->setObject(entry, name);
    }
    return result;
}

Dict* KVShopScreenView::buildShopKelvoEntries() {
    Dict* result = kvdata::newDict();
    KVGameParameters* data = KVGameParameters::getInstance();
    Dict* table = data->getKelvoStatsTable();
    for (const std::string& name : kvdata::keysOf(table)) {
        Dict* row = kvdata::dictAt(table, name);
        if (row == nullptr || !kelvoOffered(name)) continue;
        Dict* entry = copyOf(row);
        const int level = kvdata::intAt(entry, "init_level");
        if (level >= 2) data->applyLevelUps(entry, level);
        kvdata::setInt(entry, "status_locked", kOfferedInShop);
        result->setObject(entry, name);
    }
    return result;
}

Dict* KVShopScreenView::findCatalogueEntry(CCString* name, Dict* entries) {
    return name != nullptr ? kvdata::dictAt(entries, name->c_str()) : nullptr;
}

Dict* KVShopScreenView::findFirstConsumableEntry(Dict* entries) {
    for (const std::string& key : kvdata::keysOf(entries)) {
        Dict* entry = kvdata::dictAt(entries, key);
        if (entry != nullptr && kvdata::hasKey(entry, "item_number") &&
            kvdata::intAt(entry, "item_number") == 0)
            return entry;
    }
    return nullptr;
}

bool KVShopScreenView::hasShopHelmetOfClass(CCString* className) {
    return hasOfClass(profileDict("Helmet"), helmetOffered, helmetClass, className);
}

bool KVShopScreenView::hasShopKelvoOfClass(CCString* className) {
    return hasOfClass(profileDict("Kelvo"), kelvoOffered, kelvoClass, className);
}

CCString* KVShopScreenView::firstShopHelmetClass() {
    return kvdata::newString(
        bestClass(profileDict("Helmet"), helmetOffered, helmetClass, [](const std::string&) {}));
}

CCString* KVShopScreenView::firstShopKelvoClass() {
    return kvdata::newString(
        bestClass(profileDict("Kelvo"), kelvoOffered, kelvoClass, [](const std::string& name) {
            KVMenuManager::getInstance()->setSelectedKelvoName(kvdata::newString(name));
        }));
}

// ---- tabs ----

KVPortraitItem* KVShopScreenView::getList() const {
    CCNode* list = getChildByTag(kListTag);
    return list != nullptr && list->isKindOf("KVPortraitItem") ? static_cast<KVPortraitItem*>(list) : nullptr;
}

void KVShopScreenView::selectTabButtons(Tab open) {
    const std::pair<int, Tab> tabs[] = {
        {kKelvosTabTag, kKelvos}, {kHelmetsTabTag, kHelmets}, {kStuffTabTag, kStuff}};
    for (const auto& [tag, tab] : tabs) {
        CCNode* menu = getChildByTag(tag);
        CCNode* button = menu != nullptr ? menu->getChildByTag(kTabButtonTag) : nullptr;
        if (button == nullptr || !button->isKindOf("KVButtonItem")) continue;
        auto* item = static_cast<KVButtonItem*>(button);
        item->setEnabled(tab != open);
        item->setOpacity(tab != open ? 255 : 0);
    }
}

void KVShopScreenView::replaceTabHint(bool mayPoint) {
    if (CCNode* old = getChildByTag(kTabHintTag)) {
        old->stopAllActions();
        removeChild(old, true);
    }
    if (!mayPoint || !stepPointsAtShop()) return;
    CCNode* menu = getChildByTag(kKelvosTabTag);
    CCNode* button = menu != nullptr ? menu->getChildByTag(kTabButtonTag) : nullptr;
    if (button == nullptr) return;
    if (CCSprite* hint = createDoubleTapHint()) {
        const CCSize size = button->getContentSize();
        const CCPoint base = menu->getPosition();
        hint->setPosition(CCPoint(base.x + 0.25f * size.width, base.y + 0.5f * size.height));
        addChildAtZWithTag(hint, kHintZ, kTabHintTag);
    }
}

void KVShopScreenView::replaceList(Dict* entries, int kind, SEL_MenuHandler handler) {
    removeChildByTag(kListTag, true);
    if (KVPortraitItem* list = KVPortraitItem::createWithEntries(entries, kind, this, handler)) {
        list->setAnchorPoint(CCPoint(0, 0));
        list->setPosition(CCPoint(0, 0));
        addChildAtZWithTag(list, kListZ, kListTag);
    }
}

void KVShopScreenView::showPanel(Dict* entry, int category) {
    removeChildByTag(kPanelTag, true);
    KVShopInfoItem* panel = KVShopInfoItem::createWithEntry(entry, 1, category);
    panel->setAnchorPoint(CCPoint(0, 0));
    panel->setPosition(CCPoint(0, 0));
    addChildAtZWithTag(panel, kPanelZ, kPanelTag);
}

void KVShopScreenView::showStuffTab() {
    selectTabButtons(kStuff);
    Dict* entries = buildShopConsumableEntries();
    removeChildByTag(kListTag, true);
    replaceTabHint(true);
    replaceList(entries, KVPortraitItem::kShopConsumables, menu_selector(KVShopScreenView::onStuffSelected));
    showPanel(findFirstConsumableEntry(entries), KVShopInfoItem::kConsumable);
}

void KVShopScreenView::showHelmetsTab(CCString* className) {
    selectTabButtons(kHelmets);
    removeChildByTag(kPanelTag, true);
    replaceTabHint(true);
    replaceList(buildShopHelmetEntries(), KVPortraitItem::kShopHelmets,
                menu_selector(KVShopScreenView::onHelmetSelected));
    KVPortraitItem* list = getList();
    if (m_enteredFrom == KVMenuManager::kEquipmentState && m_firstBuild) {
        CCString* helmet = KVMenuManager::getInstance()->getSelectedShopItemName();
        // Without a remembered helmet the class rules choose, as on a later opening.
        if (helmet != nullptr) {
            if (!helmetOffered(helmet->c_str())) return;
            KVPortraitItem::selectClass(kvdata::newString(helmetClass(helmet->c_str())), list);
            return;
        }
    }
    KVPortraitItem::selectClass(className, list);
}

void KVShopScreenView::showKelvosTab(CCString* className) {
    selectTabButtons(kKelvos);
    Dict* entries = buildShopKelvoEntries();
    replaceTabHint(false);
    removeChildByTag(kPanelTag, true);
    replaceList(entries, KVPortraitItem::kShopCreatures, menu_selector(KVShopScreenView::onKelvoSelected));
    KVPortraitItem* list = getList();
    if (m_enteredFrom == KVMenuManager::kTroopsState && m_firstBuild) {
        const std::string kelvo = textOf(KVMenuManager::getInstance()->getSelectedKelvoName());
        if (!kelvoOffered(kelvo)) return;
        KVPortraitItem::selectClass(kvdata::newString(kelvoClass(kelvo)), list);
        return;
    }
    KVPortraitItem::selectClass(className, list);
}

void KVShopScreenView::onStuffTabPressed(CCObject* sender) {
    (void)sender;
    showStuffTab();
}

void KVShopScreenView::onHelmetsTabPressed(CCObject* sender) {
    (void)sender;
    CCString* className = kvdata::newString(kFrigate);
    if (!hasShopHelmetOfClass(className)) {
        CCString* best = firstShopHelmetClass();
        if (!textOf(best).empty()) className = best;
    }
    showHelmetsTab(className);
}

void KVShopScreenView::onKelvosTabPressed(CCObject* sender) {
    (void)sender;
    CCString* className = kvdata::newString(kFrigate);
    if (!hasShopKelvoOfClass(className)) {
        CCString* best = firstShopKelvoClass();
        if (!textOf(best).empty()) className = best;
    }
    showKelvosTab(className);
}

std::string KVShopScreenView::iconKey(CCObject* icon) {
    auto* node = dynamic_cast<CCNode*>(icon);
    return node != nullptr ? textOf(kvdata::asString(node->getUserObject())) : "";
}

void KVShopScreenView::chooseEntry(CCObject* icon, const ChoiceRules& rules) {
    const std::string name = iconKey(icon);
    KVPortraitItem* list = getList();
    if (rules.markTag != 0 && getChildByTag(rules.markTag) != nullptr) {
        KVPlayerParameters* profile = KVPlayerParameters::getInstance();
        if (profile->markItemSeen(name, rules.category)) {
            if (list != nullptr) list->refreshNewMarkers();
            if (!(profile->*rules.hasUnseen)()) removeChildByTag(rules.markTag, true);
        }
    }
    removeChildByTag(kPanelTag, true);
    if (name.empty()) return;
    CCString* key = kvdata::newString(name);
    showPanel(findCatalogueEntry(key, rules.entries()), rules.panelCategory);
    KVMenuManager* manager = KVMenuManager::getInstance();
    if (rules.panelCategory == KVShopInfoItem::kHelmet) manager->setSelectedShopItemName(key);
    // The consumable list keeps the chosen icon highlighted across pages through the pop-up text.
    if (rules.panelCategory == KVShopInfoItem::kConsumable) manager->setPopUpText(key);
    if (list != nullptr) {
        list->refreshPortraits(rules.handler, rules.entries(), this);
        if (auto* item = dynamic_cast<CCMenuItemSprite*>(icon)) KVPortraitItem::clearHighlights(item);
    }
}

void KVShopScreenView::onHelmetSelected(CCObject* icon) {
    chooseEntry(icon,
                {kHelmetsNewMarkTag, "Helmet", &KVPlayerParameters::hasUnseenHelmets, buildShopHelmetEntries,
                 KVShopInfoItem::kHelmet, menu_selector(KVShopScreenView::onHelmetSelected)});
}

void KVShopScreenView::onKelvoSelected(CCObject* icon) {
    chooseEntry(icon,
                {kKelvosNewMarkTag, "Kelvo", &KVPlayerParameters::hasUnseenKelvos, buildShopKelvoEntries,
                 KVShopInfoItem::kCreature, menu_selector(KVShopScreenView::onKelvoSelected)});
}

void KVShopScreenView::onStuffSelected(CCObject* icon) {
    chooseEntry(icon, {0, "", nullptr, buildShopConsumableEntries, KVShopInfoItem::kConsumable,
                       menu_selector(KVShopScreenView::onStuffSelected)});
}

void KVShopScreenView::refreshHelmetsTab(CCString* className) {
    CCString* kept = className;
    if (!hasShopHelmetOfClass(className)) {
        CCString* best = firstShopHelmetClass();
        if (!textOf(best).empty()) kept = best;
    }
    showHelmetsTab(kept);
}

void KVShopScreenView::refreshKelvosTab(CCString* className) {
    CCString* kept = className;
    if (!hasShopKelvoOfClass(className)) {
        CCString* best = firstShopKelvoClass();
        if (!textOf(best).empty()) kept = best;
    }
    showKelvosTab(kept);
}
