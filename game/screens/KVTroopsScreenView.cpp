#include "game/screens/KVTroopsScreenView.h"

#include <cmath>
#include <cstdio>
#include <cstdlib>

#include "engine/actions/CCAnimate.h"
#include "engine/actions/CCCallFunc.h"
#include "engine/actions/CCDelayTime.h"
#include "engine/actions/CCFadeTo.h"
#include "engine/actions/CCMoveTo.h"
#include "engine/actions/CCRepeat.h"
#include "engine/actions/CCSequence.h"
#include "engine/base/CCLocalizationManager.h"
#include "engine/base/CCLog.h"
#include "engine/base/CCNotification.h"
#include "engine/base/CCNotificationCenter.h"
#include "engine/base/CCString.h"
#include "engine/director/CCDirector.h"
#include "engine/director/CCScene.h"
#include "engine/files/CCResourceIndex.h"
#include "engine/nodes/CCMenu.h"
#include "engine/nodes/CCMenuItemSprite.h"
#include "engine/sprites/CCAnimation.h"
#include "engine/sprites/CCSprite.h"
#include "engine/sprites/CCSpriteFrame.h"
#include "engine/sprites/CCSpriteFrameCache.h"
#include "engine/textures/CCTextureCache.h"
#include "game/app/KVGlobalNames.h"
#include "game/data/KVGameParameters.h"
#include "game/data/KVPlayerParameters.h"
#include "game/data/KVStoreCatalogue.h"
#include "game/hud/KVLabelWithShadow.h"
#include "game/menu/KVButton.h"
#include "game/menu/KVButtonItem.h"
#include "game/menu/KVCarouselSteps.h"
#include "game/menu/KVMenuManager.h"
#include "game/menu/KVScrollOverlayView.h"
#include "game/menu/KVScrollScalableItem.h"
#include "game/menu/KVTitleItem.h"

using namespace kvengine;

namespace {

constexpr int kBackButtonKind = 17;
constexpr int kShopButtonKind = 4;
constexpr int kHintZ = 1010;
constexpr int kArrowZ = 4;
constexpr int kBadgeZ = 10;
constexpr int kCardScanCount = 32;
const char* const kFontName = "fonts/Kelvos-Kelvos.ttf";
const char* const kKelvoSet = "kelvo";

bool isWide() {
    return CCDirector::wideScreen != 0;
}

CCSize windowSize() {
    return CCDirector::getInstance()->getWinSize();
}

CCString* localised(const char* key) {
    return localizeString(kvdata::newString(key));
}

std::string textOrEmpty(kvdata::Dict* entry, const char* key) {
    return kvdata::textAt(entry, key);
}

bool stepTargetsShop() {
    CCString* screen = nullptr;
    CCString* item = nullptr;
    return KVPlayerParameters::getInstance()->getForcedStepTarget(&screen, &item) && screen != nullptr &&
           std::string(screen->c_str()) == "shop";
}

} // namespace

CCScene* KVTroopsScreenView::createScene() {
    CCScene* scene = CCScene::create();
    auto* view = new KVTroopsScreenView();
    view->autorelease();
    scene->addChildAtZWithTag(view, 0, view->getTag());
    return scene;
}

KVTroopsScreenView::KVTroopsScreenView() {
    (void)init();
    CCNotificationCenter::getInstance()->postNotification(SCREEN_MENU_SQUAD);
    teamNames = kvdata::newArray();
    teamNames->retain();
    for (int s = 0; s < kSlotCount; ++s)
        teamNames->addObject(kvdata::newString(""));
    sheetsLoaded = kvdata::newDict();
    sheetsLoaded->retain();

    const CCSize win = windowSize();
    const float w = win.width;
    const float h = win.height;
    const bool wide = isWide();
    addBackground(kNoTag);
    const float buttonY = wide ? w / 2 + w / 12 : w / 2 + w / 5;
    if (KVButton* back = KVButton::createWithLabel(localised("WorldMap_Screen_Back"), 0, 0, kBackButtonKind,
                                                   this, menu_selector(KVTroopsScreenView::backPressed))) {
        addChildAtZWithTag(back, 1, kBackTag);
        back->setPosition(CCPoint(w / 2 - w / 3, buttonY));
    }
    if (KVButton* shop = KVButton::createWithLabel(localised("WorldMap_Screen_Shop"), 0, 0, kShopButtonKind,
                                                   this, menu_selector(KVTroopsScreenView::shopPressed))) {
        addChildAtZWithTag(shop, 1, kShopTag);
        shop->setPosition(CCPoint(w / 2 + w / 3, buttonY));
        KVButtonItem* item = shop->getItem();
        KVPlayerParameters* profile = KVPlayerParameters::getInstance();
        if (item != nullptr && (profile->hasUnseenKelvos() || profile->hasUnseenHelmets())) {
            if (CCSprite* badge = CCSprite::createWithSpriteFrameName("KV_IconeNew.png")) {
                const CCSize size = item->getContentSize();
                badge->setPosition(CCPoint(0.75f * size.width, 0.75f * size.height));
                item->addChildAtZWithTag(badge, kBadgeZ, badge->getTag());
            }
        }
        if (item != nullptr && stepTargetsShop())
            if (CCSprite* hint = makeShopHint(item)) item->addChildAtZWithTag(hint, kHintZ, kShopHintTag);
    }

    kvdata::Dict* entries = buildCardEntries();
    auto* carousel = new KVScrollScalableItem();
    carousel->autorelease();
    if (carousel->initWithItems(entries, kCardScanCount, KVScrollScalableItem::kCreatureCards)) {
        cardCarousel = carousel;
        addChildAtZWithTag(carousel, 2, kCarouselTag);
        carousel->setPosition(CCPoint(0, h / 2 - h / 1.3f));
    }

    KVLabelWithShadow* name = KVLabelWithShadow::createWithStdString("kelvo name", kFontName, 16);
    addChildAtZWithTag(name, 1, kNameTag);
    name->setPosition(CCPoint(w / 2, h * 0.125f));
    name->setAnchorPoint(CCPoint(0.5f, 0.5f));

    int hidden = 0;
    for (const std::string& key : kvdata::keysOf(entries)) {
        kvdata::Dict* entry = kvdata::dictAt(entries, key);
        if (kvdata::intAt(entry, "status_locked") == 3 || kvdata::intAt(entry, "item_number") < 0) ++hidden;
    }
    arrowsUntouched = true;
    pageIndex = 0;
    lastPageIndex = static_cast<int>(kvdata::countOf(entries)) - hidden - 1;
    previousArrowMenu =
        addArrow("KV_Bt_FlecheGauche_Normal.png", "KV_Bt_FlecheGauche_Down.png",
                 menu_selector(KVTroopsScreenView::previousPage), w / 6, name->getPosition().y, kArrowZ);
    nextArrowMenu =
        addArrow("KV_Bt_FlecheDroite_Normal.png", "KV_Bt_FlecheDroite_Down.png",
                 menu_selector(KVTroopsScreenView::nextPage), w - w / 6, name->getPosition().y, kArrowZ);
    if (pageIndex == 0) {
        if (previousArrowMenu != nullptr) previousArrowMenu->setVisible(false);
    } else if (pageIndex == lastPageIndex) {
        if (nextArrowMenu != nullptr) nextArrowMenu->setVisible(false);
    }
    CCNotificationCenter::getInstance()->addObserver(
        this, notification_selector(KVTroopsScreenView::onKeyPress), ccEventKeyPress());

    if (CCSprite* panel = CCSprite::createWithSpriteFrameName("KV_ZoneSquad.png")) {
        panel->setAnchorPoint(CCPoint(0.5f, 0.5f));
        panel->setPosition(wide ? CCPoint(480, 337.5f) : CCPoint(416, 369.5f));
        addChildAtZWithTag(panel, 1, kPanelTag);
    }
    if (KVTitleItem* title = KVTitleItem::createWithTitle(localised("Troops_Screen_Troops"), kFontName, 26)) {
        addChildAtZWithTag(title, 1, kTitleTag);
        title->setPosition(wide ? CCPoint(479.5f, 400) : CCPoint(415.5f, 432));
    }
    buildTeamRow();

    animating = false;
    touchState = kIdle;
    dragInProgress = false;
    CCNotificationCenter* centre = CCNotificationCenter::getInstance();
    centre->addObserver(this, notification_selector(KVTroopsScreenView::showPlacementHintIfNeeded),
                        EVENT_STEP_VALIDATED);
    centre->addObserver(this, notification_selector(KVTroopsScreenView::showShopHintOnStep),
                        EVENT_STEP_VALIDATED);
    inputBlocked = false;
}

void KVTroopsScreenView::cleanupBeforeDelete() {
    CCNotificationCenter::getInstance()->removeObserver(this);
    if (sheetsLoaded != nullptr) sheetsLoaded->release();
    if (teamNames != nullptr) teamNames->release();
    sheetsLoaded = nullptr;
    teamNames = nullptr;
    setDragFigure(nullptr);
    setHelmetSprite(nullptr);
    setSelectedName(nullptr);
    KVScreenView::cleanupBeforeDelete();
    CCNotificationCenter::getInstance()->removeObserver(this);
    previousArrowMenu = nullptr;
    nextArrowMenu = nullptr;
    cardCarousel = nullptr;
}

void KVTroopsScreenView::onEnterTransitionDidFinish() {
    KVScreenView::onEnterTransitionDidFinish();
    showPlacementHintIfNeeded(nullptr);
}

void KVTroopsScreenView::onExit() {
    KVPlayerParameters* profile = KVPlayerParameters::getInstance();
    bool placed = false;
    for (int s = 0; s < kSlotCount; ++s) {
        const std::string name = teamName(s);
        if (name.empty()) continue;
        profile->setKelvoTurnSpeed(name, s + 1);
        placed = true;
    }
    // The slot order is kept even when the player quits from the next screen.
    if (placed) profile->saveProfile();
    KVScreenView::onExit();
}

// ---- lookups ----

kvdata::Dict* KVTroopsScreenView::buildCardEntries() {
    kvdata::Dict* result = kvdata::newDict();
    KVPlayerParameters* profile = KVPlayerParameters::getInstance();
    kvdata::Dict* stats = KVGameParameters::getInstance()->getKelvoStatsTable();
    for (const std::string& name : kvdata::keysOf(stats)) {
        kvdata::Dict* record = profile->getKelvoRecord(name);
        if (record == nullptr) continue;
        kvdata::Dict* row = kvdata::dictAt(stats, name);
        kvdata::Dict* entry = kvdata::newDict();
        kvdata::setInt(entry, "status_locked", kvdata::intAt(record, "status_locked"));
        kvdata::setInt(entry, "item_number", kvdata::intAt(row, "item_number"));
        CCString* sprite = kvdata::stringAt(row, "sprite_name");
        entry->setObject(sprite != nullptr ? sprite : kvdata::newString(""), "sprite_name");
        kvdata::setInt(entry, "status_selected", kvdata::intAt(record, "status_selected"));
        result->setObject(entry, name);
    }
    return result;
}

kvdata::Dict* KVTroopsScreenView::buildRoster() {
    kvdata::Dict* result = kvdata::newDict();
    KVPlayerParameters* profile = KVPlayerParameters::getInstance();
    KVGameParameters* data = KVGameParameters::getInstance();
    kvdata::Dict* stats = data->getKelvoStatsTable();
    auto copyText = [](kvdata::Dict* from, const char* key, kvdata::Dict* to, const char* as) {
        CCString* text = kvdata::stringAt(from, key);
        to->setObject(text != nullptr ? text : kvdata::newString(""), as);
    };
    for (const std::string& name : kvdata::keysOf(stats)) {
        kvdata::Dict* record = profile->getKelvoRecord(name);
        if (record == nullptr) continue;
        kvdata::Dict* row = kvdata::dictAt(stats, name);
        kvdata::Dict* entry = kvdata::newDict();
        copyText(row, "sprite_name", entry, "sprite_name");
        copyText(row, "spritesheet_name", entry, "spritesheet_name");
        if (CCObject* selected = record->objectForKey("status_selected"))
            entry->setObject(selected, "selected");
        const std::string helmet = kvdata::textAt(record, "helmet_name");
        if (!helmet.empty()) {
            kvdata::Dict* helmetRow = data->getHelmetDefinition(helmet);
            copyText(helmetRow, "spritesheet_name", entry, "helmet_spritesheet_name");
            copyText(helmetRow, "sprite_name", entry, "helmet_sprite_name");
        }
        result->setObject(entry, name);
    }
    return result;
}

std::string KVTroopsScreenView::helmetSheetOf(kvdata::Dict* rosterEntry) {
    CCString* sheet = kvdata::stringAt(rosterEntry, "helmet_spritesheet_name");
    if (sheet == nullptr || sheet->text.empty()) return "";
    CCString* full = sheet->replaceOccurrences("_frontend_ss", "_ss");
    const std::string result = full->text;
    // A replaced copy is ours to release; the unchanged name is the roster's.
    if (full != sheet) full->release();
    return result;
}

std::string KVTroopsScreenView::titleCaseWords(const std::string& text) {
    std::string result = text;
    for (size_t i = 1; i < result.size(); ++i)
        if (result[i - 1] == ' ' && result[i] >= 'a' && result[i] <= 'z')
            result[i] = static_cast<char>(result[i] - 32);
    return result;
}

CCPoint KVTroopsScreenView::slotPosition(int slot) {
    return isWide() ? CCPoint(348 + kSlotPitch * slot, 310) : CCPoint(284 + kSlotPitch * slot, 342);
}

CCPoint KVTroopsScreenView::iconPosition(int slot) {
    return isWide() ? CCPoint(348 + kSlotPitch * slot, 367) : CCPoint(284 + kSlotPitch * slot, 399);
}

std::string KVTroopsScreenView::teamName(int slot) const {
    if (teamNames == nullptr || slot < 0 || slot >= kSlotCount) return "";
    return kvdata::textOf(teamNames->objectAtIndex(static_cast<unsigned>(slot)));
}

void KVTroopsScreenView::setTeamName(int slot, const std::string& name) {
    if (teamNames == nullptr || slot < 0 || slot >= kSlotCount) return;
    teamNames->replaceObjectAtIndex(kvdata::newString(name), static_cast<unsigned>(slot));
}

bool KVTroopsScreenView::isSelectedInTeam() const {
    return selectedName != nullptr && teamIndexOf(selectedName->text) >= 0;
}

int KVTroopsScreenView::teamIndexOf(const std::string& name) const {
    for (int s = 0; s < kSlotCount; ++s)
        if (teamName(s) == name) return s;
    return -1;
}

// ---- team row ----

void KVTroopsScreenView::buildTeamRow() {
    KVPlayerParameters* profile = KVPlayerParameters::getInstance();
    kvdata::Dict* selected = profile->getSelectedKelvos();
    kvdata::Dict* roster = buildRoster();
    const std::vector<std::string> members = kvdata::keysOf(selected);
    int placed = 0;
    for (int n = 1; n <= kSlotCount; ++n) {
        std::string name;
        for (const std::string& member : members) {
            if (kvdata::intAt(kvdata::dictAt(selected, member), "turnSpeed") != n) continue;
            if (name.empty())
                name = member;
            else
                profile->setKelvoTurnSpeed(member, 5);
        }
        if (name.empty()) continue;
        fillSlot(n - 1, name, roster);
        ++placed;
    }
    if (placed >= static_cast<int>(members.size())) return;
    for (const std::string& member : members) {
        const int speed = profile->getKelvoTurnSpeed(member);
        if (speed >= 1 && speed <= 4 && teamIndexOf(member) >= 0) continue;
        // A member outside 1..5 goes on missions too: it is shown and placed like one without a slot.
        if (speed != 5) {
            if (speed >= 1 && speed <= 4) continue;
            logDebugMessage("troops: \"%s\" had the squad position %d; placed as one without a slot",
                            member.c_str(), speed);
            profile->setKelvoTurnSpeed(member, 5);
        }
        const int free = teamIndexOf("");
        if (free < 0) break;
        fillSlot(free, member, roster);
    }
}

void KVTroopsScreenView::fillSlot(int slot, const std::string& name, kvdata::Dict* roster) {
    kvdata::Dict* entry = kvdata::dictAt(roster, name);
    const std::string sheet = textOrEmpty(entry, "spritesheet_name");
    if (!sheet.empty()) {
        loadSpriteSheet(sheet);
        const std::string helmetSheet = helmetSheetOf(entry);
        if (!helmetSheet.empty()) loadSpriteSheet(helmetSheet);
    }
    const std::string sprite = textOrEmpty(entry, "sprite_name");
    if (!sprite.empty()) {
        if (CCSprite* figure = createIdleFigure(sprite, kFigureTag + slot)) {
            figure->setScale(1);
            addChildAtZWithTag(figure, 1, kFigureTag + slot);
            figure->setPosition(slotPosition(slot));
            figure->setScale(KVGameParameters::getInstance()->getAnimScaleFactor(kKelvoSet));
        }
    }
    const std::string helmetSprite = textOrEmpty(entry, "helmet_sprite_name");
    if (!helmetSprite.empty()) {
        if (CCSprite* helmet = createIdleFigure(helmetSprite, kHelmetTag + slot)) {
            helmet->setScale(1);
            addChildAtZWithTag(helmet, 1, kHelmetTag + slot);
            helmet->setPosition(slotPosition(slot));
        }
    }
    const std::string className = classOf(name);
    if (!className.empty()) {
        const std::string frame = "KV_Icone_" + className + ".png";
        if (CCSprite* icon = CCSprite::createWithSpriteFrameName(frame.c_str())) {
            addChildAtZWithTag(icon, 1, kIconTag + slot);
            icon->setPosition(iconPosition(slot));
        }
    }
    setTeamName(slot, name);
}

// ---- sprite sheets ----

bool KVTroopsScreenView::isSheetLoaded(const std::string& sheetName) const {
    return sheetsLoaded != nullptr && kvdata::hasKey(sheetsLoaded, sheetName);
}

void KVTroopsScreenView::loadSpriteSheet(const std::string& sheetName) {
    if (sheetName.empty() || sheetsLoaded == nullptr || isSheetLoaded(sheetName)) return;
    CCResourceIndex* index = CCResourceIndex::getInstance();
    const std::string plist = sheetName + ".plist";
    if (!index->containsFileName(plist)) {
        logDebugMessage("troops: no sprite sheet \"%s\"", sheetName.c_str());
        return;
    }
    CCSpriteFrameCache::getInstance()->addSpriteFramesWithFile(index->pathForFileName(plist).c_str());
    kvdata::setText(sheetsLoaded, sheetName, "");
}

void KVTroopsScreenView::unloadSpriteSheet(const std::string& sheetName) {
    if (!isSheetLoaded(sheetName)) return;
    CCResourceIndex* index = CCResourceIndex::getInstance();
    CCSpriteFrameCache::getInstance()->removeSpriteFramesFromFile(
        index->pathForFileName(sheetName + ".plist").c_str());
    const std::string texture = sheetName + ".pvr.ccz";
    if (index->containsFileName(texture))
        CCTextureCache::getInstance()->removeTextureForKey(index->pathForFileName(texture).c_str());
    sheetsLoaded->removeObjectForKey(sheetName);
}

void KVTroopsScreenView::releaseTeamFigures() {
    kvdata::Dict* roster = buildRoster();
    for (int s = 0; s < kSlotCount; ++s) {
        if (getChildByTag(kFigureTag + s) == nullptr) continue;
        kvdata::Dict* entry = kvdata::dictAt(roster, teamName(s));
        if (entry == nullptr) continue;
        removeChildByTag(kFigureTag + s, true);
        unloadSpriteSheet(textOrEmpty(entry, "spritesheet_name"));
        if (getChildByTag(kHelmetTag + s) != nullptr) {
            removeChildByTag(kHelmetTag + s, true);
            unloadSpriteSheet(helmetSheetOf(entry));
        }
    }
}

// ---- buttons, arrows and keys ----

void KVTroopsScreenView::leaveFor(int stateId) {
    inputBlocked = true;
    releaseTeamFigures();
    KVMenuManager::getInstance()->changeState(stateId);
}

void KVTroopsScreenView::backPressed(CCObject* sender) {
    (void)sender;
    if (inputBlocked) return;
    leaveFor(KVMenuManager::kWorldMapState);
}

void KVTroopsScreenView::shopPressed(CCObject* sender) {
    (void)sender;
    if (inputBlocked) return;
    inputBlocked = true;
    releaseTeamFigures();
    KVMenuManager::getInstance()->setSelectedKelvoName(nullptr);
    KVMenuManager::getInstance()->changeState(KVMenuManager::kShopState);
}

void KVTroopsScreenView::stopGlidingOnFirstStep() {
    KVScrollOverlayView* scroll = cardCarousel != nullptr ? cardCarousel->getScrollView() : nullptr;
    if (!arrowsUntouched || scroll == nullptr) return;
    // The first step starts from rest, whatever a fling left behind.
    scroll->setVelocity(CCPoint(0, 0));
    arrowsUntouched = false;
}

void KVTroopsScreenView::nextPage(CCObject* sender) {
    (void)sender;
    stopGlidingOnFirstStep();
    kvmenu::stepCarousel(cardCarousel, 1, kPageStep, pageIndex, lastPageIndex, previousArrowMenu,
                         nextArrowMenu);
}

void KVTroopsScreenView::previousPage(CCObject* sender) {
    (void)sender;
    stopGlidingOnFirstStep();
    kvmenu::stepCarousel(cardCarousel, -1, kPageStep, pageIndex, lastPageIndex, previousArrowMenu,
                         nextArrowMenu);
}

void KVTroopsScreenView::onKeyPress(CCNotification* notification) {
    const int direction = kvmenu::arrowKeyDirection(notification);
    if (direction > 0)
        nextPage(nullptr);
    else if (direction < 0)
        previousPage(nullptr);
}

void KVTroopsScreenView::onCardChanged(CCString* name) {
    auto* label = static_cast<KVLabelWithShadow*>(getChildByTag(kNameTag));
    if (label == nullptr || name == nullptr) return;
    label->setString(kelvoTitle(name->text).c_str());
}

std::string KVTroopsScreenView::kelvoTitle(const std::string& name) {
    std::string title = name;
    if (KVStoreCatalogue* store = KVStoreCatalogue::shared()) {
        kvdata::Dict* entry = store->findKelvoItem(name);
        if (CCString* own = kvdata::stringAt(entry, "title"))
            title = own->text;
        else if (CCString* text = getLocalizedString(name))
            title = text->text;
    } else if (CCString* text = getLocalizedString(name)) {
        title = text->text;
    }
    return titleCaseWords(title);
}

void KVTroopsScreenView::onCardActivated(CCNode* node, void* name) {
    (void)node;
    (void)name;
}

// ---- retaining setters ----

void KVTroopsScreenView::setHelmetSprite(CCSprite* helmet) {
    if (helmet != nullptr) helmet->retain();
    if (dragHelmet != nullptr) dragHelmet->release();
    dragHelmet = helmet;
}

void KVTroopsScreenView::setDragFigure(CCSprite* figure) {
    if (figure != nullptr) figure->retain();
    if (dragFigure != nullptr) dragFigure->release();
    dragFigure = figure;
}

void KVTroopsScreenView::setSelectedName(CCString* name) {
    if (name != nullptr) name->retain();
    if (selectedName != nullptr) selectedName->release();
    selectedName = name;
}
