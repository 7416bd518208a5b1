#include "game/results/KVResultScreens.h"

#include <algorithm>

#include "engine/base/CCLocalizationManager.h"
#include "engine/base/CCLog.h"
#include "engine/base/CCString.h"
#include "engine/director/CCDirector.h"
#include "engine/input/CCTapGestureRecognizer.h"
#include "engine/input/CCView.h"
#include "engine/sprites/CCSprite.h"
#include "game/chatter/KVChatterManager.h"
#include "game/data/KVDataAccess.h"
#include "game/data/KVGameSetup.h"
#include "game/data/KVMenuService.h"
#include "game/data/KVPlayerParameters.h"
#include "game/menu/KVButton.h"
#include "game/menu/KVButtonItem.h"
#include "game/menu/KVLocalizedFormat.h"

using kvengine::CCDirector;
using kvengine::CCNode;
using kvengine::CCPoint;
using kvengine::CCRect;
using kvengine::CCSize;
using kvengine::CCString;
using kvengine::CCView;
using kvengine::logDebugMessage;

namespace kvresults {

namespace {
constexpr int kButtonKind = 23;
constexpr uint8_t kDisabledOpacity = 80;
constexpr int kNewMarkZ = 10;

CCString* keyAsText(const std::string& key) {
    logDebugMessage("results: no text for \"%s\"; the key is shown", key.c_str());
    CCString* text = kvdata::newString(key);
    text->makeWideString();
    return text;
}
} // namespace

CCString* localised(const std::string& key) {
    CCString* text = kvengine::getLocalizedString(key);
    return text != nullptr ? text : keyAsText(key);
}

CCString* localisedFormat(const std::string& key, std::initializer_list<kvengine::CCWideArg> args) {
    CCString* text = kvformat::formatLocalized(key, args);
    return text != nullptr ? text : keyAsText(key);
}

KVButton* addButton(CCNode* parent, const std::string& key, float x, float y, int z,
                    kvengine::CCObject* target, kvengine::SEL_MenuHandler selector) {
    KVButton* button = KVButton::createWithLabel(localised(key), x, y, kButtonKind, target, selector);
    if (button == nullptr) {
        logDebugMessage("results: the button \"%s\" cannot be made", key.c_str());
        return nullptr;
    }
    parent->addChildAtZ(button, z);
    return button;
}

void disableButton(KVButton* button) {
    KVButtonItem* item = button != nullptr ? button->getItem() : nullptr;
    if (item == nullptr) return;
    item->setEnabled(false);
    item->setOpacity(kDisabledOpacity);
    if (auto* label = dynamic_cast<kvengine::CCRGBAProtocol*>(item->getChildByTag(KVButtonItem::kLabelTag)))
        label->setOpacity(kDisabledOpacity);
}

void markNewItems(KVButton* button) {
    KVButtonItem* item = button != nullptr ? button->getItem() : nullptr;
    if (item == nullptr) return;
    KVPlayerParameters* profile = KVPlayerParameters::getInstance();
    if (!profile->hasUnseenKelvos() && !profile->hasUnseenHelmets()) return;
    kvengine::CCSprite* mark = kvengine::CCSprite::createWithSpriteFrameName("KV_IconeNew.png");
    if (mark == nullptr) {
        logDebugMessage("results: no \"KV_IconeNew.png\" for the new mark");
        return;
    }
    const CCSize size = item->getContentSize();
    mark->setPosition(CCPoint(0.875f * size.width, 0.75f * size.height));
    item->addChildAtZ(mark, kNewMarkZ);
}

float buttonHeight(KVButton* button) {
    return button != nullptr ? button->getContentSize().height : 0.0f;
}

CCView* makeTapOverlay(kvengine::CCObject* target, kvengine::SEL_GestureHandler handler) {
    const CCSize window = CCDirector::getInstance()->getWinSize();
    const float k = CCDirector::wideScreen != 0 ? 1.0f : 2.0f;
    auto* overlay = new CCView();
    (void)overlay->initWithFrame(CCRect(0, 0, window.width * k, window.height * k));
    auto* tap = new kvengine::CCTapGestureRecognizer();
    tap->setNumberOfTapsRequired(1);
    tap->setCallback(target, handler);
    tap->setDelegate(overlay);
    overlay->addGestureRecognizer(tap);
    tap->release();
    overlay->setTouchEnabled(true);
    return overlay;
}

void showOverlay(CCView* overlay, bool shown) {
    CCDirector* director = CCDirector::existingInstance();
    if (overlay == nullptr || director == nullptr) return;
    const auto& views = director->getOverlayViews();
    const bool present = std::find(views.begin(), views.end(), overlay) != views.end();
    if (shown && !present) director->addOverlayView(overlay);
    if (!shown && present) director->removeOverlayView(overlay);
}

void leaveMission(int kind, bool backToMenus) {
    if (KVChatterManager* chatter = KVChatterManager::existingInstance()) chatter->setHostScene(nullptr);
    KVGameSetup* setup = KVGameSetup::getInstance();
    if (backToMenus) {
        setup->setChapterName(kvdata::newString(""));
        setup->setSpareName(kvdata::newString(""));
    }
    if (KVMenuService* menus = KVMenuService::shared()) menus->leaveMissionThroughLoadingScreen(kind);
    if (backToMenus) setup->escapeKeyBlocked = false;
}

void setMissionToLaunch(CCString* mission) {
    if (KVMenuService* menus = KVMenuService::shared()) menus->setMissionToLaunch(mission);
}

void openPopUp(int kind, CCString* subject) {
    if (KVMenuService* menus = KVMenuService::shared()) menus->openItemPopUp(kind, subject);
}

void reloadMenuFrames() {
    if (KVMenuService* menus = KVMenuService::shared()) menus->reloadMenuFrames();
}

} // namespace kvresults
