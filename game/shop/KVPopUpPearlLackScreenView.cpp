#include "game/shop/KVPopUpPearlLackScreenView.h"

#include "engine/base/CCLog.h"
#include "engine/base/CCNotificationCenter.h"
#include "engine/base/CCString.h"
#include "engine/director/CCScene.h"
#include "game/app/KVGlobalNames.h"
#include "game/menu/KVButton.h"
#include "game/menu/KVMenuManager.h"

using namespace kvengine;

namespace {
constexpr int kButtonKind = 1;
}

CCScene* KVPopUpPearlLackScreenView::createScene() {
    return createPopUpScene<KVPopUpPearlLackScreenView>();
}

KVPopUpPearlLackScreenView::KVPopUpPearlLackScreenView() {
    initWithKind(4);
    const CCSize size = getContentSize();
    CCNode* frame = getChildByTag(kFrameTag);
    const CCSize frameSize = frame != nullptr ? frame->getContentSize() : CCSize(0, 0);
    const float frameBottom = frame != nullptr ? frame->getPosition().y - frameSize.height / 2 : 0;

    CCNode* cancel = getChildByTag(kCancelTag);
    float rowY = frameBottom;
    if (cancel != nullptr) {
        const CCSize own = cancel->getContentSize();
        rowY = frameBottom + own.height / 2;
        cancel->setPosition(CCPoint(size.width / 2 - own.width, rowY));
    }
    auto* caption = new CCString(localisedText("Pop Up Buy More Pearls"));
    caption->autorelease();
    KVButton* buy =
        KVButton::createWithLabel(caption, 0, 0, kButtonKind, this,
                                  static_cast<SEL_MenuHandler>(&KVPopUpPearlLackScreenView::onBuyMorePearls));
    float buttonHeight = 0;
    if (buy != nullptr) {
        const CCSize own = buy->getContentSize();
        buttonHeight = own.height;
        buy->setPosition(CCPoint(size.width / 2 + own.width, rowY));
        addChildAtZWithTag(buy, 1, kActionTag);
    } else {
        logDebugMessage("pop-up: the pearl notice has no button to the shop");
    }
    addMessage(localisedText("Shop_Discription_LackPearl").c_str(), frameSize.width / 1.2f,
               frameSize.height / 1.2f - buttonHeight, size.width / 2, size.height / 2 + buttonHeight / 2);
    setTouchEnabled(true);
}

void KVPopUpPearlLackScreenView::onBuyMorePearls(CCObject* sender) {
    (void)sender;
    CCNotificationCenter::getInstance()->postNotification(SCREEN_MENU_BUY_CONFIRM);
    // The pop-up is closed first, so the screen under it is left as any screen is on the way to
    // the shop. Closing it may free this view: nothing of it is used afterwards.
    KVMenuManager* menu = KVMenuManager::getInstance();
    menu->changeState(KVMenuManager::kCloseOverlayState);
    menu->changeState(KVMenuManager::kShopState);
}
