#include "game/menu/KVPopUpItemScreenView.h"

#include <cstdlib>
#include <string>

#include "engine/base/CCLocalizationManager.h"
#include "engine/base/CCLog.h"
#include "engine/base/CCNotificationCenter.h"
#include "engine/base/CCString.h"
#include "engine/director/CCDirector.h"
#include "engine/director/CCScene.h"
#include "engine/files/CCResourceIndex.h"
#include "engine/input/CCTouch.h"
#include "engine/input/CCTouchDispatcher.h"
#include "engine/nodes/CCLayerColor.h"
#include "engine/sprites/CCSprite.h"
#include "engine/sprites/CCSpriteFrameCache.h"
#include "game/app/KVGlobalNames.h"
#include "game/data/KVDataAccess.h"
#include "game/data/KVGameSetup.h"
#include "game/data/KVPlayerParameters.h"
#include "game/data/KVStoreCatalogue.h"
#include "game/hud/KVLabelWithShadow.h"
#include "game/menu/KVButton.h"
#include "game/menu/KVLocalizedFormat.h"
#include "game/menu/KVMenuManager.h"
#include "game/menu/KVPopUpItem.h"

using namespace kvengine;

namespace {

constexpr int kButtonKind = 23;
constexpr const char* kPortraitSheet = "characterchatter2_TC4_ss.plist";
constexpr float kMessageFontSize = 20.0f;
constexpr ccColor4B kShade{0, 0, 0, 150};

// The localised text of key, or an empty text when the table has none.
CCString* localised(const char* key) {
    CCString* text = getLocalizedString(key);
    if (text != nullptr) return text;
    logDebugMessage("pop-up: no text for \"%s\"", key);
    auto* empty = new CCString("");
    empty->autorelease();
    return empty;
}

// The store's text about an item (kinds 5, 6 and 7); the subject itself without a store.
CCString* itemMessage(KVPopUpKind kind, CCString* subject) {
    KVStoreCatalogue* store = KVStoreCatalogue::shared();
    if (store == nullptr) return localizeString(subject);
    if (kind == KVPopUpKind::ItemBought) return store->boughtItemMessage(subject);
    if (kind == KVPopUpKind::ItemUnlocked) return store->unlockedItemMessage(subject);
    return store->lockedItemMessage(subject);
}

// Entry `index` of the options screen's language list, localised.
std::u16string languageName(int index) {
    static const char* const kLanguageKeys[] = {"Language_english", "Language_french", "Language_spanish",
                                                "Language_german", "Language_italian"};
    if (index < 0 || index >= 5) {
        logDebugMessage("pop-up: no language number %d", index);
        return u"";
    }
    CCString* name = getLocalizedString(kLanguageKeys[index]);
    return utf8ToUtf16(name != nullptr ? name->c_str() : kLanguageKeys[index]);
}

CCString* emptyText() {
    auto* empty = new CCString("");
    empty->autorelease();
    return empty;
}

} // namespace

struct KVPopUpItemScreenView::Texts {
    CCString* ok = nullptr;
    CCString* message = nullptr;
    bool cancel = false;
};

CCScene* KVPopUpItemScreenView::createScene() {
    CCScene* scene = CCScene::create();
    if (scene == nullptr) return nullptr;
    auto* view = new KVPopUpItemScreenView();
    view->initWithKind(KVMenuManager::getInstance()->popUpKind);
    view->autorelease();
    scene->addChildAtZ(view, 0);
    return scene;
}

bool KVPopUpItemScreenView::textsOf(int kind, Texts& texts) {
    CCString* subject = KVMenuManager::getInstance()->getPopUpText();
    KVMenuManager* menu = KVMenuManager::getInstance();
    switch (static_cast<KVPopUpKind>(kind)) {
    case KVPopUpKind::NotEnoughPearls:
        texts.ok = localised("Pop Up Ok");
        texts.message = localised("Replay_Mission_To_Ear_Pearls");
        return true;
    case KVPopUpKind::Brainwash: {
        texts.ok = localised("Pop Up Ok");
        texts.cancel = true;
        CCString* creature = menu->getSelectedKelvoName();
        const std::string name = creature != nullptr ? creature->c_str() : "";
        const int cost = KVPlayerParameters::getInstance()->getTotalLevelUpCost(name);
        // The creature as the player knows it: its display name where the table has one.
        const std::string shown = creature != nullptr ? localizeString(creature)->c_str() : "";
        texts.message = kvformat::formatLocalized("Pop Up Medusa Confirmation", {utf8ToUtf16(shown), cost});
        return true;
    }
    case KVPopUpKind::MaximalAmount:
        texts.ok = localised("Pop Up Ok");
        texts.message = localised("Shop_Discription_MaximalAmount");
        return true;
    case KVPopUpKind::LanguageChange: {
        texts.ok = localised("Pop Up Ok");
        texts.cancel = true;
        const int index = subject != nullptr ? std::atoi(subject->c_str()) : -1;
        texts.message = kvformat::formatLocalized("Option_Change_Language", {languageName(index)});
        return true;
    }
    case KVPopUpKind::ItemBought:
    case KVPopUpKind::ItemUnlocked:
    case KVPopUpKind::ItemLocked:
        texts.ok = localised(kind == static_cast<int>(KVPopUpKind::ItemLocked) ? "Pop Up Locked Item OK"
                                                                               : "Pop Up Ok");
        texts.message = subject != nullptr ? itemMessage(static_cast<KVPopUpKind>(kind), subject) : nullptr;
        return true;
    case KVPopUpKind::Message:
        texts.ok = localised("Pop Up Ok");
        texts.message = subject != nullptr ? localizeString(subject) : nullptr;
        return true;
    case KVPopUpKind::PauseQuit:
        texts.ok = localised("Pause quit");
        texts.message = localised("Pop Up Quit Game");
        texts.cancel = true;
        return true;
    case KVPopUpKind::QuitGame:
        texts.ok = localised("Pop Up Ok");
        texts.message = localised("Quit_Game");
        texts.cancel = true;
        return true;
    default:
        return false;
    }
}

void KVPopUpItemScreenView::initWithKind(int kind) {
    if (!init()) return;
    m_kind = kind;
    const CCSize win = CCDirector::getInstance()->getWinSize();
    const CCPoint centre(win.width / 2, win.height / 2);

    if (CCLayerColor* shade = CCLayerColor::createWithColor(kShade, win.width, win.height)) {
        shade->setAnchorPoint(CCPoint(0, 0));
        shade->setPosition(CCPoint(0, 0));
        addChildAtZWithTag(shade, 1, kShadeTag);
    }

    Texts texts;
    if (!textsOf(kind, texts)) logDebugMessage("pop-up: kind %d has no texts", kind);

    CCSize frameSize;
    if (CCSprite* frame = CCSprite::createWithSpriteFrameName("KV_PopupWindow.png")) {
        frame->setAnchorPoint(CCPoint(0.5f, 0.5f));
        frame->setPosition(centre);
        frame->setOpacity(255);
        addChildAtZWithTag(frame, 1, kFrameTag);
        frameSize = frame->getContentSize();
    }
    if (texts.ok == nullptr) texts.ok = emptyText();
    if (texts.message == nullptr) texts.message = emptyText();

    // Both buttons sit just above the frame's lower edge: OK alone in the middle, or OK right and
    // cancel left.
    const bool quitGame = kind == static_cast<int>(KVPopUpKind::QuitGame);
    const float frameBottom = centre.y - frameSize.height / 2;
    KVButton* ok = KVButton::createWithLabel(
        texts.ok, 0, 0, kButtonKind, this, static_cast<SEL_MenuHandler>(&KVPopUpItemScreenView::onValidate));
    CCSize okSize;
    if (ok != nullptr) {
        // Above a running mission and its dialogues, which take their touches before the menus.
        if (quitGame) ok->setTouchPriority(kTouchPriority);
        okSize = ok->getContentSize();
        addChildAtZWithTag(ok, 2, kOkTag);
        ok->setPosition(CCPoint(centre.x, frameBottom + okSize.height));
    }
    if (texts.cancel) {
        KVButton* cancel =
            KVButton::createWithLabel(localised("Pop Up Cancel"), 0, 0, kButtonKind, this,
                                      static_cast<SEL_MenuHandler>(&KVPopUpItemScreenView::onCancel));
        if (cancel != nullptr) {
            if (quitGame) cancel->setTouchPriority(kTouchPriority);
            const CCSize cancelSize = cancel->getContentSize();
            addChildAtZWithTag(cancel, 2, kCancelTag);
            cancel->setPosition(CCPoint(centre.x - cancelSize.width / 1.5f, frameBottom + cancelSize.height));
            if (ok != nullptr)
                ok->setPosition(CCPoint(ok->getPosition().x + okSize.width / 1.5f, ok->getPosition().y));
        }
    }

    KVLabelWithShadow* message = KVLabelWithShadow::createWithStringInBox(
        texts.message, PRODUCT_FONT_NAME, kMessageFontSize, frameSize.width / 1.2f,
        frameSize.height / 1.2f - okSize.height);
    message->setColor(ccColor3B{255, 255, 255});
    addChildAtZWithTag(message, 2, kMessageTag);
    message->setPosition(CCPoint(centre.x, centre.y + okSize.height / 2));

    setTouchEnabled(true);

    CCString* subject = KVMenuManager::getInstance()->getPopUpText();
    KVStoreCatalogue* store = KVStoreCatalogue::shared();
    if (kind == static_cast<int>(KVPopUpKind::ItemUnlocked) && subject != nullptr && store != nullptr &&
        store->isKelvoItem(subject))
        addCreaturePortrait(subject, frameBottom, okSize.height);
}

void KVPopUpItemScreenView::addCreaturePortrait(CCString* creature, float frameBottom, float okHeight) {
    const std::string frameName = std::string(creature->c_str()) + "_neutral_chatterLight.png";
    // The portraits are the dialogues' sheet: the menus have not loaded it when no dialogue ran.
    CCSpriteFrameCache* frames = CCSpriteFrameCache::getInstance();
    CCResourceIndex* index = CCResourceIndex::getInstance();
    if (!frames->hasSpriteFrame(frameName.c_str()) && index->containsFileName(kPortraitSheet))
        frames->addSpriteFramesWithFile(index->pathForFileName(kPortraitSheet).c_str());
    CCSprite* portrait = CCSprite::createWithSpriteFrameName(frameName.c_str());
    if (portrait == nullptr) {
        logDebugMessage("pop-up: no portrait %s", frameName.c_str());
        return;
    }
    const CCSize win = CCDirector::getInstance()->getWinSize();
    const CCSize size = portrait->getContentSize();
    portrait->setPosition(CCPoint(win.width / 2, frameBottom + 2 * okHeight + size.height / 3.5f));
    addChildAtZWithTag(portrait, 2, kPortraitTag);
    if (CCNode* ok = getChildByTag(kOkTag)) ok->setPosition(CCPoint(win.width / 2, frameBottom + okHeight));
    if (CCNode* message = getChildByTag(kMessageTag))
        message->setPosition(CCPoint(win.width / 2, win.height / 2 + okHeight / 2 + size.height / 1.65f));
}

void KVPopUpItemScreenView::registerWithTouchDispatcher() {
    m_registered = true;
    CCTouchDispatcher::getInstance()->addTargetedDelegate(this, kTouchPriority, true);
}

bool KVPopUpItemScreenView::touchBegan(CCTouch* touch, CCEvent* event) {
    (void)event;
    const CCPoint point = CCDirector::getInstance()->convertToGL(touch->getLocationInView());
    // Touches on the buttons go on to the buttons' menus; the pop-up keeps every other one.
    return !popUpButtonHolds(this, kOkTag, point) && !popUpButtonHolds(this, kCancelTag, point);
}

void KVPopUpItemScreenView::touchEnded(CCTouch* touch, CCEvent* event) {
    (void)touch;
    (void)event;
}

void KVPopUpItemScreenView::onValidate(CCObject* sender) {
    (void)sender;
    KVMenuManager* menu = KVMenuManager::getInstance();
    bool closedNews = false;
    switch (static_cast<KVPopUpKind>(m_kind)) {
    case KVPopUpKind::QuitGame:
        menu->popUpKind = 0;
        // Changes kept in memory only (the team order, helmets) would be lost with the program.
        KVPlayerParameters::getInstance()->saveProfile();
        // The next frame purges the director, which ends the program as closing the window does.
        CCDirector::getInstance()->requestPurge();
        return;
    case KVPopUpKind::Brainwash:
        CCNotificationCenter::getInstance()->postNotification(EVENT_BRAIN_WASH_TRIGGERED,
                                                              menu->getSelectedKelvoName());
        break;
    case KVPopUpKind::LanguageChange: {
        KVGameSetup* setup = KVGameSetup::getInstance();
        CCString* subject = menu->getPopUpText();
        if (setup->languageChoicePending && subject != nullptr)
            setup->setLanguage(std::atoi(subject->c_str()));
        // The options screen comes back in the chosen language (this pop-up goes with the old screen).
        menu->changeState(KVMenuManager::kOptionsState);
        return;
    }
    default:
        closedNews = true;
        break;
    }
    // Removes this view's scene: nothing of the view may be used after it. The news comes after
    // the close, so that an observer may open the next pop-up at once (a chain of pop-ups).
    menu->changeState(KVMenuManager::kCloseOverlayState);
    if (closedNews) CCNotificationCenter::getInstance()->postNotification(EVENT_POP_UP_CLOSED);
}

void KVPopUpItemScreenView::onCancel(CCObject* sender) {
    (void)sender;
    KVMenuManager* menu = KVMenuManager::getInstance();
    if (m_kind == static_cast<int>(KVPopUpKind::QuitGame)) {
        // The quit confirmation held the gesture recognizers of the screens under it.
        CCTouchDispatcher::getInstance()->setRecognizersSuspended(false);
        menu->popUpKind = 0;
    }
    menu->changeState(KVMenuManager::kCloseOverlayState);
    CCNotificationCenter::getInstance()->postNotification(EVENT_POP_UP_CANCELLED);
}
