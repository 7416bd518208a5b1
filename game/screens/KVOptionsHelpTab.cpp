// The help tab of the options screen: the help dialogues by title, View to play one over the
// screen, write-to-us and the two community buttons.
#include "engine/base/CCLocalizationManager.h"
#include "engine/base/CCLog.h"
#include "engine/base/CCNotificationCenter.h"
#include "engine/base/CCString.h"
#include "engine/director/CCDirector.h"
#include "engine/files/CCResourceIndex.h"
#include "engine/nodes/CCLayer.h"
#include "engine/nodes/CCMenu.h"
#include "engine/nodes/CCMenuItemSprite.h"
#include "engine/sprites/CCSprite.h"
#include "engine/sprites/CCSpriteFrameCache.h"
#include "engine/textures/CCTextureCache.h"
#include "game/app/KVGlobalNames.h"
#include "game/chatter/KVChatterManager.h"
#include "game/data/KVDataAccess.h"
#include "game/hud/KVLabelWithShadow.h"
#include "game/menu/KVButton.h"
#include "game/menu/KVMenuManager.h"
#include "game/screens/KVOptionsScreenView.h"

using namespace kvengine;

namespace {

constexpr const char* kFont = "fonts/Kelvos-Kelvos.ttf";
constexpr float kWriteToUsFontSize = 16;
constexpr int kViewButtonKind = 21;
constexpr float kSocialSpacing = 10;

CCMenuItemSprite* spriteItem(const char* normalName, const char* pressedName, CCObject* target,
                             SEL_MenuHandler action) {
    CCSprite* normal = CCSprite::createWithSpriteFrameName(normalName);
    CCSprite* pressed = pressedName != nullptr ? CCSprite::createWithSpriteFrameName(pressedName) : nullptr;
    if (normal == nullptr || (pressedName != nullptr && pressed == nullptr)) return nullptr;
    return CCMenuItemSprite::createWithSpritesAndTarget(normal, pressed, target, action);
}

// Drops the talking-portrait sheet that the first step of help dialogue `key` loaded.
void unloadTalkingPortrait(const std::string& key) {
    kvdata::Dict* dialogues = kvdata::loadDataTable("Tutos_CHAT");
    kvdata::Dict* dialogue = dialogues != nullptr ? kvdata::dictAt(dialogues, key) : nullptr;
    kvdata::Dict* first = dialogue != nullptr ? kvdata::dictAt(dialogue, "Dialog1") : nullptr;
    const std::string animation = first != nullptr ? kvdata::textAt(first, "animation_name") : "";
    if (animation.empty()) {
        logDebugMessage("options: help dialogue \"%s\" names no talking portrait; nothing to unload",
                        key.c_str());
        return;
    }
    CCResourceIndex* index = CCResourceIndex::getInstance();
    const std::string sheet = animation + "_ss";
    if (index->containsFileName(sheet + ".plist"))
        CCSpriteFrameCache::getInstance()->removeSpriteFramesFromFile(
            index->pathForFileName(sheet + ".plist").c_str());
    if (index->containsFileName(sheet + ".pvr.ccz"))
        CCTextureCache::getInstance()->removeTextureForKey(
            index->pathForFileName(sheet + ".pvr.ccz").c_str());
}

} // namespace

void KVOptionsScreenView::showHelpTab(int selectedIndex) {
    switchTab(kHelpMode);
    CCLayer* layer = newTabLayer();
    if (layer == nullptr) return;
    addChildAtZWithTag(layer, 4, kTabLayerTag);

    if (CCMenuItemSprite* item =
            spriteItem("KV_WriteToUs.png", nullptr, this, menu_selector(KVOptionsScreenView::writeToUs))) {
        item->setAnchorPoint(CCPoint(0.5f, 0.5f));
        item->setTag(0);
        if (CCMenu* menu = CCMenu::createWithItems(item, nullptr)) {
            const CCPoint at = placeFor(261, 177.5f);
            menu->setPosition(at);
            layer->addChildAtZWithTag(menu, 2, kWriteToUsTag);
            if (KVLabelWithShadow* text = KVLabelWithShadow::createWithString(
                    localizeString(kvdata::newString("HELP_MENU_WRITE_TO_US_WIN32")), kFont,
                    kWriteToUsFontSize)) {
                text->setAnchorPoint(CCPoint(0, 0.5f));
                text->setPosition(CCPoint(at.x + item->getContentSize().width / 1.5f, at.y));
                layer->addChildAtZWithTag(text, 3, kWriteToUsLabelTag);
            }
        }
    }
    const CCPoint viewAt = placeFor(649, 181.5f);
    if (KVButton* view = KVButton::createWithLabel(
            localizeString(kvdata::newString("Option_Screen_Help_View")), viewAt.x, viewAt.y, kViewButtonKind,
            this, menu_selector(KVOptionsScreenView::playSelectedHelpDialogue))) {
        view->setAnchorPoint(CCPoint(0.5f, 0.5f));
        layer->addChildAtZ(view, 2);
    }

    auto* titles = new CCMutableArray<CCString*>();
    for (const std::string& key : helpKeys()) {
        CCString* title = getLocalizedString(key);
        if (title == nullptr) {
            logDebugMessage("options: no title for \"%s\"", key.c_str());
            title = kvdata::newString(key);
        }
        titles->addObject(title);
    }

    if (CCSprite* panel = CCSprite::createWithSpriteFrameName("KV_ZoneSocial_Fond.png")) {
        const CCSize win = CCDirector::getInstance()->getWinSize();
        panel->setPosition(CCPoint(win.width - panel->getContentSize().width / 2, win.height / 2));
        layer->addChildAtZ(panel, 0);
        CCMenuItemSprite* facebook = spriteItem("KV_BT_FaceBook_Normal.png", "KV_BT_FaceBook_Down.png", this,
                                                menu_selector(KVOptionsScreenView::openFacebookPage));
        CCMenuItemSprite* twitter = spriteItem("KV_BT_Twitter_Normal.png", "KV_BT_Twitter_Down.png", this,
                                               menu_selector(KVOptionsScreenView::openTwitterPage));
        if (facebook != nullptr && twitter != nullptr) {
            facebook->setTag(0);
            twitter->setTag(1);
            if (CCMenu* social = CCMenu::createWithItems(facebook, twitter, nullptr)) {
                social->alignItemsVerticallyWithPadding(kSocialSpacing);
                social->setPosition(panel->getPosition());
                layer->addChildAtZ(social, 0);
            }
        }
    }

    const bool known = selectedIndex >= 0 && selectedIndex < static_cast<int>(titles->count());
    buildChoiceList(known ? titles->objectAtIndex(static_cast<unsigned>(selectedIndex)) : nullptr, titles);
    titles->release();
}

void KVOptionsScreenView::writeToUs(CCObject* sender) {
    (void)sender;
}

void KVOptionsScreenView::openFacebookPage(CCObject* sender) {
    (void)sender;
    openPage(kFacebookPage);
}

void KVOptionsScreenView::openTwitterPage(CCObject* sender) {
    (void)sender;
    openPage(kTwitterPage);
}

void KVOptionsScreenView::playSelectedHelpDialogue(CCObject* sender) {
    (void)sender;
    if (m_selectedIndex < 0 || m_selectedIndex >= static_cast<int>(helpKeys().size())) {
        logDebugMessage("options: no help dialogue at entry %d", m_selectedIndex);
        return;
    }
    (void)playHelpDialogue(helpKeys()[static_cast<size_t>(m_selectedIndex)]);
}

bool KVOptionsScreenView::playHelpDialogue(const std::string& key) {
    KVChatterManager* chatter = KVChatterManager::getInstance();
    if (chatter->isChatterRunning()) chatter->endChatter();
    chatter->setHostScene(this);
    chatter->loadChatter(key);
    if (!m_observingSpeech) {
        CCNotificationCenter::getInstance()->addObserver(
            this, notification_selector(KVOptionsScreenView::onHelpDialogueEnded), EVENT_END_SPEECH);
        m_observingSpeech = true;
    }
    chatter->startChatter();
    if (!chatter->isChatterRunning()) {
        // Nothing is shown over the screen, and no end will come to rebuild it: the tab stays.
        logDebugMessage("options: help dialogue \"%s\" did not start; the help tab stays", key.c_str());
        CCNotificationCenter::getInstance()->removeObserver(this, EVENT_END_SPEECH);
        m_observingSpeech = false;
        chatter->setHostScene(nullptr);
        return false;
    }
    m_playingDialogue = key;
    removeFrame();
    // A dialogue that replaced a running one keeps the dialogue state it had: asking again would
    // record the dialogue state as the screen under itself.
    KVMenuManager* menu = KVMenuManager::getInstance();
    if (menu->getCurrentState() != KVMenuManager::kDialogueState)
        menu->changeState(KVMenuManager::kDialogueState);
    return true;
}

void KVOptionsScreenView::removeFrame() {
    // Everything but the background (tag 1) and what carries no tag of the screen (the dialogue).
    for (int tag = kBackTag; tag <= kSelectionFrameTag; ++tag) {
        if (getChildByTag(tag) != nullptr) removeChildByTag(tag, true);
    }
}

void KVOptionsScreenView::onHelpDialogueEnded(CCNotification* notification) {
    (void)notification;
    CCNotificationCenter::getInstance()->removeObserver(this, EVENT_END_SPEECH);
    m_observingSpeech = false;
    KVChatterManager::getInstance()->unloadPortraitSheets();
    unloadTalkingPortrait(m_playingDialogue);
    m_playingDialogue.clear();
    removeFrame();
    buildFrame();
    showHelpTab(m_selectedIndex);
}
