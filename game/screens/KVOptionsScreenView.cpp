// The options screen's frame, tab switching, language tab and touch routing. The sound tab, the
// choice list and the help tab have files of their own.
#include "game/screens/KVOptionsScreenView.h"

#include <cstdio>

#include "engine/base/CCLocalizationManager.h"
#include "engine/base/CCLog.h"
#include "engine/base/CCNotificationCenter.h"
#include "engine/base/CCString.h"
#include "engine/director/CCDirector.h"
#include "engine/director/CCScene.h"
#include "engine/files/CCResourceIndex.h"
#include "engine/input/CCTouch.h"
#include "engine/input/CCTouchDispatcher.h"
#include "engine/nodes/CCMenu.h"
#include "engine/nodes/CCMenuItemSprite.h"
#include "engine/platform/CCDesktop.h"
#include "engine/sprites/CCSprite.h"
#include "engine/sprites/CCSpriteFrameCache.h"
#include "game/app/KVGlobalNames.h"
#include "game/data/KVDataAccess.h"
#include "game/data/KVGameSetup.h"
#include "game/menu/KVButton.h"
#include "game/menu/KVButtonItem.h"
#include "game/menu/KVMenuManager.h"
#include "game/menu/KVPopUpItemScreenView.h"
#include "game/model/KVObjectDescription.h"

using namespace kvengine;

const std::vector<std::string>& KVOptionsScreenView::languageKeys() {
    static const std::vector<std::string> keys = kvdescription::split(LANGUAGE_KEY_LIST->c_str(), ',');
    return keys;
}

const std::vector<std::string>& KVOptionsScreenView::helpKeys() {
    static const std::vector<std::string> keys =
        kvdescription::split(TUTORIAL_CHATTER_LIST_SHORT->c_str(), ',');
    return keys;
}

// The game's own pages: the soundtrack, and the two community pages of the help tab.
const char* const KVOptionsScreenView::kSoundtrackPage = "https://kelvos.example/soundtrack";
const char* const KVOptionsScreenView::kFacebookPage = "https://kelvos.example/community/bubble";
const char* const KVOptionsScreenView::kTwitterPage = "https://kelvos.example/community/chirp";

namespace {

constexpr const char* kSheet = "option_88_ss";
constexpr int kBackButtonKind = 17;
constexpr int kHelpTabKind = 7;
constexpr int kSoundTabKind = 5;
constexpr int kLanguageTabKind = 6;
constexpr int kSelectButtonKind = 21;

CCString* localised(const char* key) {
    return localizeString(kvdata::newString(key));
}

} // namespace

CCScene* KVOptionsScreenView::createScene() {
    CCScene* scene = CCScene::create();
    auto* view = new KVOptionsScreenView();
    view->autorelease();
    scene->addChildAtZWithTag(view, 0, view->getTag());
    return scene;
}

KVOptionsScreenView::KVOptionsScreenView() {
    (void)init();
    CCNotificationCenter::getInstance()->postNotification(SCREEN_MENU_OPTION);
    CCResourceIndex* index = CCResourceIndex::getInstance();
    const std::string plist = std::string(kSheet) + ".plist";
    if (index->containsFileName(plist))
        CCSpriteFrameCache::getInstance()->addSpriteFramesWithFile(index->pathForFileName(plist).c_str());
    else
        logDebugMessage("options: no sprite sheet \"%s\"", kSheet);
    buildFrame();
    if (KVGameSetup::getInstance()->languageChoicePending)
        showLanguageTab();
    else
        showHelpTab(kDefaultHelpEntry);
    setTouchEnabled(true);
}

void KVOptionsScreenView::cleanupBeforeDelete() {
    CCNotificationCenter::getInstance()->removeObserver(this);
    m_observingSpeech = false;
    if (m_listEntries != nullptr) m_listEntries->release();
    m_listEntries = nullptr;
    KVScreenView::cleanupBeforeDelete();
}

void KVOptionsScreenView::buildFrame() {
    const CCSize win = CCDirector::getInstance()->getWinSize();
    const float w = win.width;
    if (getChildByTag(kBackgroundTag) == nullptr) addBackground(kBackgroundTag);
    if (KVButton* back = KVButton::createWithLabel(
            localised("Option_Screen_Back"), w / 6, isWideWindow() ? w / 2 + w / 12 : w / 2 + w / 5,
            kBackButtonKind, this, menu_selector(KVOptionsScreenView::onBackButton))) {
        back->setAnchorPoint(CCPoint(0.5f, 0.5f));
        addChildAtZWithTag(back, 2, kBackTag);
    }
    struct Panel {
        const char* frame;
        CCPoint position;
        int z;
        int tag;
    };
    for (const Panel& panel : {Panel{"KV_FondBasZoneShop.png", placeFor(480, 238.25f), 1, kLowerPanelTag},
                               Panel{"KV_FondhautZoneShop.png", placeFor(480, 367), 3, kUpperPanelTag}}) {
        if (CCSprite* sprite = CCSprite::createWithSpriteFrameName(panel.frame)) {
            sprite->setAnchorPoint(CCPoint(0.5f, 0.5f));
            sprite->setPosition(panel.position);
            addChildAtZWithTag(sprite, panel.z, panel.tag);
        }
    }
    addTabButton("Option_Screen_Social_Win32", kLanguageTabKind,
                 menu_selector(KVOptionsScreenView::onLanguageTabButton), "KV_BT_HelmetsSelect.png",
                 placeFor(573.5f, 411.5f), kLanguageTabTag, kLanguageHighlightTag);
    addTabButton("Option_Screen_Sound", kSoundTabKind, menu_selector(KVOptionsScreenView::onSoundTabButton),
                 "KV_BT_StuffSelect.png", placeFor(668, 411.5f), kSoundTabTag, kSoundHighlightTag);
    addTabButton("Option_Screen_Help", kHelpTabKind, menu_selector(KVOptionsScreenView::onHelpTabButton),
                 "KV_BT_KelvosSelect.png", placeFor(469, 411.5f), kHelpTabTag, kHelpHighlightTag);
    m_dragState = kIdle;
}

void KVOptionsScreenView::addTabButton(const char* labelKey, int kind, SEL_MenuHandler action,
                                       const char* highlight, CCPoint position, int tag, int highlightTag) {
    if (CCSprite* sprite = CCSprite::createWithSpriteFrameName(highlight)) {
        sprite->setAnchorPoint(CCPoint(0.5f, 0.5f));
        sprite->setPosition(position);
        addChildAtZWithTag(sprite, 1, highlightTag);
    }
    KVButtonItem* item = KVButtonItem::createWithLabel(localised(labelKey), kind, this, action);
    CCMenu* menu = CCMenu::createWithItems(nullptr);
    if (item == nullptr || menu == nullptr) {
        logDebugMessage("options: no tab button of kind %d", kind);
        return;
    }
    menu->addChildAtZWithTag(item, 2, kTabItemTag);
    menu->setContentSize(item->getContentSize());
    menu->setPosition(position);
    addChildAtZWithTag(menu, 2, tag);
}

CCMenuItem* KVOptionsScreenView::tabItem(int tabTag) const {
    CCNode* menu = getChildByTag(tabTag);
    return menu != nullptr ? static_cast<CCMenuItem*>(menu->getChildByTag(kTabItemTag)) : nullptr;
}

void KVOptionsScreenView::switchTab(int mode) {
    const int shownTab = mode == kSoundMode  ? kSoundTabTag
                         : mode == kHelpMode ? kHelpTabTag
                                             : kLanguageTabTag;
    for (int tab : {kSoundTabTag, kLanguageTabTag, kHelpTabTag}) {
        auto* item = static_cast<CCMenuItemSprite*>(tabItem(tab));
        if (item == nullptr) continue;
        const bool shown = tab == shownTab;
        // The highlight under the shown tab's button shows through it.
        item->setEnabled(!shown);
        item->setOpacity(shown ? 0 : 255);
    }
    if (getChildByTag(kTabLayerTag) != nullptr) removeChildByTag(kTabLayerTag, true);
    m_mode = mode;
}

bool KVOptionsScreenView::isWideWindow() {
    return CCDirector::wideScreen != 0;
}

CCPoint KVOptionsScreenView::placeFor(float wideX, float wideY) {
    return isWideWindow() ? CCPoint(wideX, wideY) : CCPoint(wideX - 64, wideY + 32);
}

CCLayer* KVOptionsScreenView::newTabLayer() {
    CCLayer* layer = CCLayer::create();
    if (layer == nullptr) return nullptr;
    layer->setContentSize(CCDirector::getInstance()->getWinSize());
    layer->setAnchorPoint(CCPoint(0, 0));
    layer->setPosition(CCPoint(0, 0));
    return layer;
}

void KVOptionsScreenView::showLanguageTab() {
    switchTab(kLanguageMode);
    CCLayer* layer = newTabLayer();
    if (layer == nullptr) return;
    addChildAtZWithTag(layer, 4, kTabLayerTag);
    auto* entries = new CCMutableArray<CCString*>();
    for (const std::string& key : languageKeys()) {
        CCString* name = getLocalizedString(key);
        if (name == nullptr) {
            logDebugMessage("options: no text for \"%s\"", key.c_str());
            name = kvdata::newString(key);
        }
        entries->addObject(name);
    }
    const int language = KVGameSetup::getInstance()->getLanguageIndex();
    CCString* selected = language >= 0 && language < static_cast<int>(entries->count())
                             ? entries->objectAtIndex(language)
                             : nullptr;
    buildChoiceList(selected, entries);
    entries->release();
    if (KVButton* select = KVButton::createWithLabel(
            localised("Option_Language_Select"), placeFor(649, 181.5f).x, placeFor(649, 181.5f).y,
            kSelectButtonKind, this, menu_selector(KVOptionsScreenView::onLanguageSelectButton))) {
        select->setAnchorPoint(CCPoint(0.5f, 0.5f));
        layer->addChildAtZ(select, 2);
    }
}

void KVOptionsScreenView::onLanguageSelectButton(CCObject* sender) {
    (void)sender;
    KVGameSetup::getInstance()->languageChoicePending = true;
    KVMenuManager* menu = KVMenuManager::getInstance();
    char number[16];
    std::snprintf(number, sizeof number, "%d", m_selectedIndex);
    auto* text = new CCString(number);
    menu->setPopUpText(text);
    text->release();
    menu->popUpKind = static_cast<int>(KVPopUpKind::LanguageChange);
    menu->changeState(KVMenuManager::kItemPopUpState);
}

void KVOptionsScreenView::onBackButton(CCObject* sender) {
    (void)sender;
    KVMenuManager::getInstance()->changeState(KVMenuManager::kMainMenuFromGameState);
}

void KVOptionsScreenView::onSoundTabButton(CCObject* sender) {
    (void)sender;
    showSoundTab();
}

void KVOptionsScreenView::onHelpTabButton(CCObject* sender) {
    (void)sender;
    showHelpTab(kDefaultHelpEntry);
}

void KVOptionsScreenView::onLanguageTabButton(CCObject* sender) {
    (void)sender;
    showLanguageTab();
}

void KVOptionsScreenView::openPage(const char* address) {
    // A browser that cannot be started leaves the screen as it is (openWebPage logs why).
    (void)openWebPage(address);
}

void KVOptionsScreenView::registerWithTouchDispatcher() {
    // After the menus (-128), so a touch on a button never reaches the view.
    m_registered = true;
    CCTouchDispatcher::getInstance()->addTargetedDelegate(this, kTouchPriority, true);
}

bool KVOptionsScreenView::touchBegan(CCTouch* touch, CCEvent* event) {
    (void)event;
    const CCPoint point = CCDirector::getInstance()->convertToGL(touch->getLocationInView());
    switch (m_mode) {
    case kSoundMode:
        return sliderTouchBegan(point);
    case 2:
    case kHelpMode:
    case kLanguageMode:
        return listTouchBegan(point);
    default:
        return true;
    }
}

void KVOptionsScreenView::touchMoved(CCTouch* touch, CCEvent* event) {
    (void)event;
    const CCPoint point = CCDirector::getInstance()->convertToGL(touch->getLocationInView());
    if (m_dragState == kDraggingEffects || m_dragState == kDraggingMusic)
        sliderTouchMoved(point);
    else if (m_dragState == kTouchingList)
        listTouchMoved(point);
}

void KVOptionsScreenView::touchEnded(CCTouch* touch, CCEvent* event) {
    (void)event;
    const CCPoint point = CCDirector::getInstance()->convertToGL(touch->getLocationInView());
    if (m_dragState == kDraggingEffects || m_dragState == kDraggingMusic) sliderTouchEnded(point);
    m_dragState = kIdle;
}

void KVOptionsScreenView::touchCancelled(CCTouch* touch, CCEvent* event) {
    (void)touch;
    (void)event;
}

CCPoint KVOptionsScreenView::rowCentre(int row) {
    return placeFor(476, 313.5f - 30.0f * static_cast<float>(row));
}

CCPoint KVOptionsScreenView::upArrowPosition() {
    return placeFor(486, 359);
}

CCPoint KVOptionsScreenView::downArrowPosition() {
    return placeFor(486, 185);
}

CCPoint KVOptionsScreenView::listZoneCentre() {
    return placeFor(480, 274.5f);
}
