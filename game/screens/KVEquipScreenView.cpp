#include "game/screens/KVEquipScreenView.h"

#include <vector>

#include "engine/base/CCLocalizationManager.h"
#include "engine/base/CCLog.h"
#include "engine/base/CCNotification.h"
#include "engine/base/CCNotificationCenter.h"
#include "engine/base/CCString.h"
#include "engine/director/CCDirector.h"
#include "engine/director/CCScene.h"
#include "engine/nodes/CCMenu.h"
#include "engine/sprites/CCSprite.h"
#include "game/app/KVGlobalNames.h"
#include "game/data/KVGameParameters.h"
#include "game/data/KVPlayerParameters.h"
#include "game/menu/KVButton.h"
#include "game/menu/KVMenuManager.h"
#include "game/menu/KVPearlCountItem.h"
#include "game/menu/KVPortraitIcon.h"
#include "game/menu/KVPortraitItem.h"
#include "game/screens/KVCharacterItem.h"

using namespace kvengine;

namespace {

constexpr int kBackButtonKind = 17;
constexpr int kPopUpKindPearlLack = 1;

CCPoint at(float x, float y) {
    return KVCharacterItem::layoutPoint(x, y);
}

std::string selectedName() {
    return kvdata::textOf(KVMenuManager::getInstance()->getSelectedKelvoName());
}

} // namespace

CCScene* KVEquipScreenView::createScene() {
    CCScene* scene = CCScene::create();
    auto* view = new KVEquipScreenView();
    view->autorelease();
    scene->addChildAtZWithTag(view, 0, kViewTag);
    return scene;
}

KVEquipScreenView::KVEquipScreenView() {
    (void)init();
    const CCSize win = CCDirector::getInstance()->getWinSize();
    const float w = win.width;
    const bool wide = CCDirector::wideScreen != 0;
    addBackground(-1);
    struct Picture {
        const char* frame;
        CCPoint point;
    };
    const Picture pictures[] = {
        {"KV_FondBasZoneShop.png", at(416, 269.425f)},
        {"KV_FondhautZoneShop.png", at(416, 398.25f)},
        {"KV_hilightLongStats.png", at(367.5f, 298)},
    };
    for (const Picture& picture : pictures) {
        if (CCSprite* sprite = CCSprite::createWithSpriteFrameName(picture.frame)) {
            sprite->setAnchorPoint(CCPoint(0.5f, 0.5f));
            sprite->setPosition(picture.point);
            addChildAtZWithTag(sprite, 1, -1);
        }
    }
    const float rowY = wide ? w / 2 + w / 12 : w / 2 + w / 5;
    if (KVPearlCountItem* pearls = KVPearlCountItem::createLarge()) {
        const CCSize size = pearls->getContentSize();
        pearls->setAnchorPoint(CCPoint(1, 1));
        pearls->setPosition(CCPoint(w / 2 + w / 3 + size.width / 2, rowY + size.height / 2));
        addChildAtZWithTag(pearls, 1, kPearlCounterTag);
    }
    if (KVButton* back =
            KVButton::createWithLabel(localizeString(kvdata::newString("Shop_Screen_Back")), 0, 0,
                                      kBackButtonKind, this, menu_selector(KVEquipScreenView::backPressed))) {
        addChildAtZWithTag(back, 2, kBackButtonTag);
        back->setAnchorPoint(CCPoint(0.5f, 0.5f));
        back->setPosition(CCPoint(w / 2 - w / 3, rowY));
    }
    const CCPoint left = at(196, 391.5f);
    const CCPoint right = at(392, 391.5f);
    if (CCMenu* arrow = addArrow("KV_Bt_FlecheGauche_Normal.png", "KV_Bt_FlecheGauche_Down.png",
                                 menu_selector(KVEquipScreenView::previousPressed), left.x, left.y, 4))
        arrow->setTag(kPreviousArrowTag);
    if (CCMenu* arrow = addArrow("KV_Bt_FlecheDroite_Normal.png", "KV_Bt_FlecheDroite_Down.png",
                                 menu_selector(KVEquipScreenView::nextPressed), right.x, right.y, 4))
        arrow->setTag(kNextArrowTag);
    buildCards();
    setTouchEnabled(true);
    CCNotificationCenter::getInstance()->addObserver(
        this, notification_selector(KVEquipScreenView::onKelvoTrainOk), EVENT_KELVO_TRAIN_OK);
}

void KVEquipScreenView::onExit() {
    CCNotificationCenter::getInstance()->removeObserver(this);
    KVScreenView::onExit();
}

// ---- entries ----

bool KVEquipScreenView::selectedCreatureIsKnown() {
    const std::string name = selectedName();
    const bool known = KVGameParameters::getInstance()->getKelvoStats(name) != nullptr &&
                       KVPlayerParameters::getInstance()->getKelvoRecord(name) != nullptr;
    if (!known) logDebugMessage("equipment: no stats row or profile record for \"%s\"", name.c_str());
    return known;
}

kvdata::Dict* KVEquipScreenView::creatureEntry(CCString* kelvoName) {
    kvdata::Dict* entry = kvdata::newDict();
    const std::string name = kvdata::textOf(kelvoName);
    kvdata::Dict* row = KVGameParameters::getInstance()->getKelvoStats(name);
    if (row == nullptr) return entry;
    for (const std::string& key : kvdata::keysOf(row))
        entry->setObject(row->objectForKey(key), key);
    kvdata::Dict* record = KVPlayerParameters::getInstance()->getKelvoRecord(name);
    kvdata::setText(entry, "level", kvdata::textAt(record, "level"));
    kvdata::setText(entry, "status_selected", kvdata::textAt(record, "status_selected"));
    return entry;
}

kvdata::Dict* KVEquipScreenView::helmetEntry(CCString* helmetName) {
    kvdata::Dict* entry = kvdata::newDict();
    KVGameParameters* data = KVGameParameters::getInstance();
    kvdata::Dict* own = kvdata::dictAt(data->getHelmets(), kvdata::textOf(helmetName));
    if (own == nullptr) return entry;
    KVPlayerParameters* profile = KVPlayerParameters::getInstance();
    kvdata::Array* transferred = profile->getTransferredHelmets(selectedName());
    const unsigned count = transferred != nullptr ? transferred->count() : 0;
    for (unsigned i = 0; i < count; ++i) {
        const std::string helmet = kvdata::textOf(transferred, i);
        if (profile->getHelmetLockStatus(helmet) != kLockStatusUnlocked) continue;
        kvdata::Dict* row = kvdata::dictAt(data->getHelmets(), helmet);
        for (const std::string& key : kvdata::keysOf(row))
            kvdata::setInt(entry, key, kvdata::intAt(entry, key) + kvdata::intAt(row, key));
    }
    kvdata::setText(entry, "sprite_name", kvdata::textAt(own, "sprite_name"));
    kvdata::setText(entry, "spritesheet_name", kvdata::textAt(own, "spritesheet_name"));
    return entry;
}

kvdata::Dict* KVEquipScreenView::buildHelmetEntries() {
    kvdata::Dict* entries = kvdata::newDict();
    const std::string creature = selectedName();
    kvdata::Dict* stats = KVGameParameters::getInstance()->getKelvoStats(creature);
    if (stats == nullptr || kvdata::intAt(stats, "item_number") < 0) return entries;
    KVPlayerParameters* profile = KVPlayerParameters::getInstance();
    const std::string worn = kvdata::textAt(profile->getKelvoRecord(creature), "helmet_name");
    kvdata::Dict* helmets =
        KVGameParameters::getInstance()->getHelmetsOfClass(kvdata::textAt(stats, "Class"));
    for (const std::string& name : kvdata::keysOf(helmets)) {
        const int status = profile->getHelmetLockStatus(name);
        if (status == kLockStatusWithdrawn) continue;
        kvdata::Dict* row = kvdata::dictAt(helmets, name);
        kvdata::Dict* entry = kvdata::newDict();
        kvdata::setInt(entry, "status_locked", status);
        kvdata::setText(entry, "sprite_name", kvdata::textAt(row, "sprite_name"));
        kvdata::setInt(entry, "status_selected", !worn.empty() && worn == name ? 1 : 0);
        kvdata::setText(entry, "Class", kvdata::textAt(row, "Class"));
        kvdata::setText(entry, "item_number", kvdata::textAt(row, "item_number"));
        entries->setObject(entry, name);
    }
    return entries;
}

// ---- card and list ----

void KVEquipScreenView::buildCards() {
    const bool known = selectedCreatureIsKnown();
    kvdata::Dict* entries = known ? buildHelmetEntries() : kvdata::newDict();
    auto* card = new KVCharacterItem();
    card->initWithEntry(known ? creatureEntry(KVMenuManager::getInstance()->getSelectedKelvoName())
                              : nullptr);
    card->autorelease();
    addChildAtZWithTag(card, 3, kCardTag);
    card->setAnchorPoint(CCPointZero);
    card->setPosition(CCPointZero);
    if (known) {
        const std::string worn =
            kvdata::textAt(KVPlayerParameters::getInstance()->getKelvoRecord(selectedName()), "helmet_name");
        if (!worn.empty()) card->setupWithEntry(helmetEntry(kvdata::newString(worn)));
    }
    if (KVPortraitItem* list = KVPortraitItem::createWithEntries(
            entries, KVPortraitItem::kEquipHelmets, this, menu_selector(KVEquipScreenView::helmetChosen),
            menu_selector(KVEquipScreenView::helmetRemoved))) {
        addChildAtZWithTag(list, 3, kHelmetListTag);
        list->setAnchorPoint(CCPointZero);
        list->setPosition(CCPointZero);
    }
}

void KVEquipScreenView::removeCards() {
    for (int tag : {kCardTag, kHelmetListTag, 10})
        removeChildByTag(tag, true);
}

void KVEquipScreenView::refreshHelmetList() {
    if (auto* list = dynamic_cast<KVPortraitItem*>(getChildByTag(kHelmetListTag)))
        list->refreshPortraits(menu_selector(KVEquipScreenView::helmetChosen), buildHelmetEntries(), this);
}

// ---- stepping ----

void KVEquipScreenView::stepSelection(int step) {
    const std::string current = selectedName();
    std::vector<std::string> candidates;
    kvdata::Dict* creatures = kvdata::dictAt(KVPlayerParameters::getInstance()->getProfile(), "Kelvo");
    for (const std::string& name : kvdata::keysOf(creatures))
        if (kvdata::textAt(kvdata::dictAt(creatures, name), "status_locked") == "0")
            candidates.push_back(name);
    std::string chosen;
    if (step > 0) {
        for (const std::string& name : candidates)
            if (name > current) {
                chosen = name;
                break;
            }
        if (chosen.empty() && !candidates.empty()) chosen = candidates.front();
    } else {
        for (auto it = candidates.rbegin(); it != candidates.rend(); ++it)
            if (*it < current) {
                chosen = *it;
                break;
            }
        if (chosen.empty() && !candidates.empty()) chosen = candidates.back();
    }
    if (chosen.empty() || chosen == current) return;
    auto* name = new CCString(chosen);
    KVMenuManager::getInstance()->setSelectedKelvoName(name);
    name->release();
}

void KVEquipScreenView::selectNextKelvo() {
    stepSelection(1);
}

void KVEquipScreenView::selectPreviousKelvo() {
    stepSelection(-1);
}

void KVEquipScreenView::previousPressed(CCObject* sender) {
    (void)sender;
    CCNotificationCenter::getInstance()->postNotification(EVENT_BUTTON_VALIDATED_LIGHT, this);
    removeCards();
    selectPreviousKelvo();
    buildCards();
}

void KVEquipScreenView::nextPressed(CCObject* sender) {
    (void)sender;
    CCNotificationCenter::getInstance()->postNotification(EVENT_BUTTON_VALIDATED_LIGHT, this);
    removeCards();
    selectNextKelvo();
    buildCards();
}

// ---- helmets ----

void KVEquipScreenView::helmetChosen(CCObject* icon) {
    auto* node = dynamic_cast<CCNode*>(icon);
    CCString* name = node != nullptr ? kvdata::asString(node->getUserObject()) : nullptr;
    if (name == nullptr) {
        logDebugMessage("equipment: a helmet icon without a helmet name");
        return;
    }
    name->retain();
    KVMenuManager::getInstance()->setSelectedShopItemName(name);
    KVPlayerParameters* profile = KVPlayerParameters::getInstance();
    const int status = profile->getHelmetLockStatus(name->text);
    if (status == kLockStatusUnlocked) {
        auto* card = dynamic_cast<KVCharacterItem*>(getChildByTag(kCardTag));
        if (card != nullptr) card->removeHelmet();
        profile->setKelvoHelmet(selectedName(), name->text);
        // The worn helmet is kept at once: leaving for the shop or quitting must not lose it.
        profile->saveProfile();
        if (card != nullptr && !name->text.empty()) {
            card->setupWithEntry(helmetEntry(name));
            card->setChosenHelmetIcon(dynamic_cast<KVPortraitIcon*>(node));
        }
        refreshHelmetList();
    } else if (status == kLockStatusInShop) {
        KVMenuManager::getInstance()->changeState(KVMenuManager::kShopState);
    }
    name->release();
}

void KVEquipScreenView::helmetRemoved(CCObject* sender) {
    (void)sender;
    KVPlayerParameters* profile = KVPlayerParameters::getInstance();
    profile->setKelvoHelmet(selectedName(), "");
    profile->saveProfile();
    if (auto* card = dynamic_cast<KVCharacterItem*>(getChildByTag(kCardTag))) card->removeHelmet();
    refreshHelmetList();
}

// ---- training and leaving ----

void KVEquipScreenView::onKelvoTrainOk(CCNotification* notification) {
    (void)notification;
    const std::string creature = selectedName();
    KVPlayerParameters* profile = KVPlayerParameters::getInstance();
    kvdata::Dict* record = profile->getKelvoRecord(creature);
    if (KVGameParameters::getInstance()->getKelvoStats(creature) == nullptr || record == nullptr) return;
    const int pearls = profile->getPearlAmount();
    const int cost = profile->getNextLevelUpCost(creature);
    KVMenuManager* menu = KVMenuManager::getInstance();
    if (pearls < cost) {
        menu->popUpKind = kPopUpKindPearlLack;
        menu->changeState(KVMenuManager::kItemPopUpState);
        return;
    }
    profile->removePearls(cost);
    profile->setKelvoLevel(creature, kvdata::intAt(record, "level") + 1);
    if (auto* counter = dynamic_cast<KVPearlCountItem*>(getChildByTag(kPearlCounterTag)))
        counter->startCountUp();
    if (auto* card = dynamic_cast<KVCharacterItem*>(getChildByTag(kCardTag))) card->refreshLevelRow();
    profile->saveProfile();
    CCNotificationCenter::getInstance()->postNotification(SCREEN_MENU_TRAIN_KELVO_CONFIRM,
                                                          kvdata::newString(creature));
}

void KVEquipScreenView::releaseCardSheets() {
    if (auto* card = dynamic_cast<KVCharacterItem*>(getChildByTag(kCardTag))) card->unloadAllSpriteSheets();
}

void KVEquipScreenView::backPressed(CCObject* sender) {
    (void)sender;
    releaseCardSheets();
    KVMenuManager::getInstance()->changeState(KVMenuManager::kTroopsState);
    KVPlayerParameters::getInstance()->saveProfile();
}
