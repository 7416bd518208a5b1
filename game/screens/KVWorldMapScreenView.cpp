#include "game/screens/KVWorldMapScreenView.h"

#include <cstdio>
#include <string>
#include <utility>
#include <vector>

#include "engine/base/CCLocalizationManager.h"
#include "engine/base/CCLog.h"
#include "engine/base/CCNotification.h"
#include "engine/base/CCNotificationCenter.h"
#include "engine/base/CCString.h"
#include "engine/director/CCDirector.h"
#include "engine/director/CCScene.h"
#include "engine/nodes/CCMenu.h"
#include "engine/nodes/CCMenuItemSprite.h"
#include "engine/sprites/CCSprite.h"
#include "game/app/KVGlobalNames.h"
#include "game/data/KVGameParameters.h"
#include "game/data/KVGameSetup.h"
#include "game/data/KVPlayerParameters.h"
#include "game/data/KVStoreCatalogue.h"
#include "game/menu/KVButton.h"
#include "game/menu/KVButtonItem.h"
#include "game/menu/KVCarouselSteps.h"
#include "game/menu/KVDoubleTapHint.h"
#include "game/menu/KVLoadingScreenView.h"
#include "game/menu/KVMenuManager.h"
#include "game/menu/KVScrollScalableItem.h"
#include "game/screens/KVInteractivePictureItem.h"

using namespace kvengine;

namespace {

constexpr int kBackButtonKind = 17;
constexpr int kSquadButtonKind = 3;
constexpr int kArrowZ = 4;
constexpr int kHintZ = 1010;
constexpr int kBadgeZ = 10;

CCString* localised(const char* key) {
    return localizeString(kvdata::newString(key));
}

} // namespace

CCScene* KVWorldMapScreenView::createScene() {
    CCScene* scene = CCScene::create();
    auto* view = new KVWorldMapScreenView();
    view->autorelease();
    scene->addChildAtZWithTag(view, 0, view->getTag());
    return scene;
}

KVWorldMapScreenView::KVWorldMapScreenView() {
    (void)init();
    CCNotificationCenter::getInstance()->postNotification(SCREEN_MENU_MAP_SELECTION);
    if (KVStoreCatalogue* store = KVStoreCatalogue::shared()) {
        store->deliverPendingPurchases();
        store->syncCatalogueWithProfile();
    }
    const CCSize win = CCDirector::getInstance()->getWinSize();
    const float W = win.width;
    const float H = win.height;
    const bool wide = CCDirector::wideScreen != 0;

    addBackground(kBackgroundTag);
    const float buttonY = wide ? W / 2 + W / 12 : W / 2 + W / 5;
    if (KVButton* back =
            KVButton::createWithLabel(localised("WorldMap_Screen_Back"), W / 2 - W / 3, buttonY,
                                      kBackButtonKind, this, menu_selector(KVWorldMapScreenView::backChosen)))
        addChildAtZWithTag(back, 1, kBackTag);

    KVGameSetup* setup = KVGameSetup::getInstance();
    kvdata::Dict* missions = nullptr;
    if (setup->solo) {
        if (KVButton* squad = KVButton::createWithLabel(localised("WorldMap_Screen_Squad"), W / 2 + W / 3,
                                                        buttonY, kSquadButtonKind, this,
                                                        menu_selector(KVWorldMapScreenView::troopsChosen))) {
            addChildAtZWithTag(squad, 1, kSquadTag);
            addSquadMarks(squad->getItem());
        }
        missions = buildSoloMissionDictionary();
    } else {
        missions = buildHuddleMapDictionary();
    }
    if (missions == nullptr) {
        logDebugMessage("world map: no missions to show");
        return;
    }

    int hidden = 0;
    for (const std::string& key : kvdata::keysOf(missions))
        if (kvdata::intAt(kvdata::dictAt(missions, key), "status_locked") == 1) ++hidden;
    m_starPanel = KVInteractivePictureItem::createWithMissions(missions);
    if (m_starPanel != nullptr) {
        const CCSize panel = m_starPanel->getContentSize();
        m_starPanel->setAnchorPoint(CCPoint(0, 0));
        m_starPanel->setPosition(CCPoint((W - panel.width) / 2.2f, H / 2 - panel.height / 2));
        addChildAtZWithTag(m_starPanel, 2, kPanelTag);
    }
    m_currentPage = -1;
    m_pageCount = static_cast<int>(kvdata::countOf(missions)) - hidden - 1;

    m_previousMenu =
        addArrow("KV_Bt_FlecheGauche_Normal.png", "KV_Bt_FlecheGauche_Down.png",
                 menu_selector(KVWorldMapScreenView::previousMission), W / 6, H / 3 + 10, kArrowZ);
    m_nextMenu = addArrow("KV_Bt_FlecheDroite_Normal.png", "KV_Bt_FlecheDroite_Down.png",
                          menu_selector(KVWorldMapScreenView::nextMission), W - W / 6, H / 3 + 10, kArrowZ);
    if (m_currentPage == 0) {
        if (m_previousMenu != nullptr) m_previousMenu->setVisible(false);
    } else if (m_currentPage == m_pageCount) {
        if (m_nextMenu != nullptr) m_nextMenu->setVisible(false);
    }
    CCNotificationCenter::getInstance()->addObserver(
        this, notification_selector(KVWorldMapScreenView::onKeyPress), ccEventKeyPress());
}

void KVWorldMapScreenView::addSquadMarks(CCNode* item) {
    if (item == nullptr) return;
    const CCSize size = item->getContentSize();
    KVPlayerParameters* profile = KVPlayerParameters::getInstance();
    if (profile->hasUnseenKelvos() || profile->hasUnseenHelmets()) {
        if (CCSprite* badge = CCSprite::createWithSpriteFrameName("KV_IconeNew.png")) {
            badge->setPosition(CCPoint(0.75f * size.width, 0.75f * size.height));
            item->addChildAtZWithTag(badge, kBadgeZ, badge->getTag());
        }
    }
    CCString* screen = nullptr;
    CCString* target = nullptr;
    if (!profile->getForcedStepTarget(&screen, &target) || screen == nullptr) return;
    const std::string name = screen->c_str();
    if (name != "team" && name != "shop") return;
    if (CCSprite* hand = createDoubleTapHint()) {
        hand->setPosition(CCPoint(0.5f * size.width, 0.75f * size.height));
        item->addChildAtZWithTag(hand, kHintZ, hand->getTag());
    }
}

void KVWorldMapScreenView::cleanupBeforeDelete() {
    CCNotificationCenter::getInstance()->removeObserver(this);
    m_previousMenu = nullptr;
    m_nextMenu = nullptr;
    m_starPanel = nullptr;
    KVScreenView::cleanupBeforeDelete();
}

void KVWorldMapScreenView::onEnter() {
    // The carousel builds itself here and reports its current bubble at once.
    KVScreenView::onEnter();
    if (m_currentPage != -1 || m_starPanel == nullptr || m_starPanel->getCarousel() == nullptr) return;
    m_currentPage = m_starPanel->getCarousel()->getCurrentIndex();
    // Each arrow is hidden when there is nothing its way: with a single bubble, both are.
    if (m_currentPage == 0 && m_previousMenu != nullptr) m_previousMenu->setVisible(false);
    if (m_currentPage == m_pageCount && m_nextMenu != nullptr) m_nextMenu->setVisible(false);
}

void KVWorldMapScreenView::onEnterTransitionDidFinish() {
    KVPlayerParameters::getInstance();
    KVScreenView::onEnterTransitionDidFinish();
}

kvdata::Dict* KVWorldMapScreenView::buildSoloMissionDictionary() {
    CCString* chapterName = KVMenuManager::getInstance()->getChapterName();
    const std::string chapter = chapterName != nullptr ? chapterName->c_str() : "";
    kvdata::Dict* definitions =
        kvdata::dictAt(KVGameParameters::getInstance()->getMissionDefinitions(), chapter);
    if (definitions == nullptr) {
        logDebugMessage("world map: no missions for the chapter \"%s\"", chapter.c_str());
        return nullptr;
    }
    KVPlayerParameters* profile = KVPlayerParameters::getInstance();
    kvdata::Dict* records = profile->getChapterMissionRecords(chapter);
    kvdata::Dict* result = kvdata::newDict();
    for (const std::string& mission : kvdata::keysOf(definitions)) {
        kvdata::Dict* definition = kvdata::dictAt(definitions, mission);
        kvdata::Dict* record = kvdata::dictAt(records, mission);
        const int speedStars = kvdata::intAt(definition, "speedStar_number");
        const int turnScore = kvdata::intAt(record, "turn_score");
        kvdata::Dict* entry = kvdata::newDict();
        kvdata::setInt(entry, "status_locked", profile->getMissionLockStatus(mission, chapter));
        kvdata::setInt(entry, "item_number", kvdata::intAt(definition, "item_number"));
        kvdata::setInt(entry, "max_star", kvdata::intAt(record, "max_star"));
        // A mission without a record shows every star as not earned.
        kvdata::setInt(entry, "hidden_locked", kvdata::intAt(record, "hidden_locked", 1));
        kvdata::setInt(entry, "surviva_locked", kvdata::intAt(record, "surviva_locked", 1));
        kvdata::setInt(entry, "speed_locked", kvdata::intAt(record, "speed_locked", 1));
        kvdata::setInt(entry, "speed_number", turnScore == 0 ? speedStars : speedStars - turnScore);
        CCString* hide = kvdata::stringAt(definition, "hideStarPanel");
        if (hide != nullptr)
            entry->setObject(hide, "hideStarPanel");
        else
            kvdata::setText(entry, "hideStarPanel", "");
        result->setObject(entry, mission);
    }
    return result;
}

kvdata::Dict* KVWorldMapScreenView::buildHuddleMapDictionary() {
    kvdata::Dict* maps = KVGameParameters::getInstance()->getMultiplayerMaps();
    if (maps == nullptr) return nullptr;
    // The game data groups the maps ("Huddle01" -> map name -> map); a map may also stand at the
    // top, with its "item_number".
    std::vector<std::pair<std::string, kvdata::Dict*>> found;
    for (const std::string& key : kvdata::keysOf(maps)) {
        kvdata::Dict* value = kvdata::dictAt(maps, key);
        if (value == nullptr) continue;
        if (kvdata::hasKey(value, "item_number")) {
            found.emplace_back(key, value);
            continue;
        }
        for (const std::string& name : kvdata::keysOf(value))
            if (kvdata::Dict* map = kvdata::dictAt(value, name)) found.emplace_back(name, map);
    }
    kvdata::Dict* result = kvdata::newDict();
    for (const auto& [name, map] : found) {
        kvdata::Dict* entry = kvdata::newDict();
        kvdata::setInt(entry, "status_locked", kvdata::intAt(map, "status_locked"));
        kvdata::setInt(entry, "item_number", kvdata::intAt(map, "item_number"));
        kvdata::setInt(entry, "max_star", 0);
        kvdata::setInt(entry, "hidden_locked", 1);
        kvdata::setInt(entry, "surviva_locked", 1);
        kvdata::setInt(entry, "speed_locked", 1);
        kvdata::setInt(entry, "speed_number", 0);
        result->setObject(entry, name);
    }
    return result;
}

void KVWorldMapScreenView::nextMission(CCObject* sender) {
    (void)sender;
    kvmenu::stepCarousel(m_starPanel != nullptr ? m_starPanel->getCarousel() : nullptr, 1, kArrowStep,
                         m_currentPage, m_pageCount, m_previousMenu, m_nextMenu);
}

void KVWorldMapScreenView::previousMission(CCObject* sender) {
    (void)sender;
    kvmenu::stepCarousel(m_starPanel != nullptr ? m_starPanel->getCarousel() : nullptr, -1, kArrowStep,
                         m_currentPage, m_pageCount, m_previousMenu, m_nextMenu);
}

void KVWorldMapScreenView::onKeyPress(CCNotification* notification) {
    const int direction = kvmenu::arrowKeyDirection(notification);
    if (direction > 0)
        nextMission(nullptr);
    else if (direction < 0)
        previousMission(nullptr);
}

void KVWorldMapScreenView::troopsChosen(CCObject* sender) {
    (void)sender;
    KVMenuManager::getInstance()->changeState(KVMenuManager::kTroopsState);
}

void KVWorldMapScreenView::backChosen(CCObject* sender) {
    (void)sender;
    KVMenuManager::getInstance()->changeState(
        KVGameSetup::getInstance()->solo ? KVMenuManager::kMainMenuFromGameState : 8);
}

void KVWorldMapScreenView::missionChosen(CCNode* node, void* data) {
    (void)node;
    CCString* name = kvdata::asString(static_cast<CCObject*>(data));
    if (name == nullptr || std::string(name->c_str()) == "Name undefined") {
        CCNotificationCenter::getInstance()->postNotification(EVENT_BUTTON_INVALIDATED, this);
        return;
    }
    KVMenuManager::getInstance()->setMissionName(name);
    CCNotificationCenter::getInstance()->postNotification(EVENT_BUTTON_VALIDATED, this);
    KVGameSetup::getInstance();
    CCDirector::getInstance()->replaceScene(KVLoadingScreenView::createWithKind(2));
}
