#include "game/screens/KVStoryScreenView.h"

#include "engine/base/CCLocalizationManager.h"
#include "engine/base/CCLog.h"
#include "engine/base/CCNotificationCenter.h"
#include "engine/base/CCString.h"
#include "engine/director/CCDirector.h"
#include "engine/director/CCScene.h"
#include "game/app/KVGlobalNames.h"
#include "game/data/KVGameParameters.h"
#include "game/data/KVPlayerParameters.h"
#include "game/menu/KVButton.h"
#include "game/menu/KVMenuManager.h"
#include "game/menu/KVPearlCountItem.h"
#include "game/menu/KVScrollItem.h"

using namespace kvengine;

namespace {

constexpr int kBackButtonKind = 17;
constexpr float kPearlsFromRight = 148.0f;

} // namespace

CCScene* KVStoryScreenView::createScene() {
    CCScene* scene = CCScene::create();
    auto* view = new KVStoryScreenView();
    view->autorelease();
    scene->addChildAtZWithTag(view, 0, view->getTag());
    return scene;
}

KVStoryScreenView::KVStoryScreenView() {
    (void)init();
    const CCSize win = CCDirector::getInstance()->getWinSize();
    const float W = win.width;
    const bool wide = CCDirector::wideScreen != 0;

    addBackground(kBackgroundTag);
    if (KVPearlCountItem* pearls = KVPearlCountItem::createLarge()) {
        pearls->setAnchorPoint(CCPoint(1, 1));
        // Top right, as far from the right edge at both widths: the chapter row is centred, so a
        // counter in the middle would lie under the first card.
        pearls->setPosition(CCPoint(W - kPearlsFromRight, 500.5f));
        addChildAtZWithTag(pearls, 1, kPearlsTag);
    }
    // The world map's back button sits at the same place: W/2 + W/5 would put it above a wide
    // window's top edge.
    if (KVButton* back =
            KVButton::createWithLabel(localizeString(kvdata::newString("Story_Screen_Back")), W / 2 - W / 3,
                                      wide ? W / 2 + W / 12 : W / 2 + W / 5, kBackButtonKind, this,
                                      menu_selector(KVStoryScreenView::backChosen)))
        addChildAtZWithTag(back, 1, kBackTag);
    if (KVScrollItem* list = KVScrollItem::createWithChapters(buildChapterDictionary()))
        addChildAtZWithTag(list, 2, kListTag);
}

void KVStoryScreenView::onExit() {
    removeAllChildren(true);
    KVScreenView::onExit();
}

kvdata::Dict* KVStoryScreenView::buildChapterDictionary() {
    kvdata::Dict* chapters = KVGameParameters::getInstance()->getChapters();
    KVPlayerParameters* profile = KVPlayerParameters::getInstance();
    kvdata::Dict* result = kvdata::newDict();
    for (const std::string& key : kvdata::keysOf(chapters)) {
        kvdata::Dict* definition = kvdata::dictAt(chapters, key);
        kvdata::Dict* record = profile->getChapterRecord(key);
        kvdata::Dict* entry = kvdata::newDict();
        // A chapter the profile does not know yet stays closed.
        kvdata::setInt(entry, "status_locked", kvdata::intAt(record, "status_locked", 1));
        kvdata::setInt(entry, "status_played", kvdata::intAt(record, "status_played"));
        if (CCString* sprite = kvdata::stringAt(definition, "sprite_name"))
            entry->setObject(sprite, "sprite_name");
        if (definition != nullptr)
            if (CCObject* missions = definition->objectForKey("mission_list"))
                entry->setObject(missions, "mission_list");
        if (CCString* number = kvdata::stringAt(definition, "item_number"))
            entry->setObject(number, "item_number");
        kvdata::setText(entry, "title_name", "Story_Screen_" + key);
        result->setObject(entry, key);
    }
    return result;
}

void KVStoryScreenView::chapterChosen(CCNode* node, void* data) {
    (void)node;
    CCString* name = kvdata::asString(static_cast<CCObject*>(data));
    if (name == nullptr) {
        logDebugMessage("chapters: a chapter was chosen without a name");
        return;
    }
    CCNotificationCenter::getInstance()->postNotification(EVENT_BUTTON_VALIDATED, this);
    KVMenuManager::getInstance()->setChapterName(name);
    KVMenuManager::getInstance()->changeState(KVMenuManager::kWorldMapState);
}

void KVStoryScreenView::backChosen(CCObject* sender) {
    (void)sender;
    KVMenuManager::getInstance()->changeState(KVMenuManager::kMainMenuFromGameState);
}

KVScrollItem* KVStoryScreenView::getChapterList() const {
    CCNode* list = getChildByTag(kListTag);
    return list != nullptr && list->isKindOf("KVScrollItem") ? static_cast<KVScrollItem*>(list) : nullptr;
}
