#include "game/shop/KVPopUpShopBuyScreenView.h"

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

CCScene* KVPopUpShopBuyScreenView::createScene() {
    return createPopUpScene<KVPopUpShopBuyScreenView>();
}

KVPopUpShopBuyScreenView::KVPopUpShopBuyScreenView() {
    initWithKind(2);
    placeCancelAndAction(KVButton::createWithText(
        "Buy", 0, 0, kButtonKind, this, static_cast<SEL_MenuHandler>(&KVPopUpShopBuyScreenView::onBuy)));
    if (CCNode* frame = getChildByTag(kFrameTag)) {
        const CCSize size = frame->getContentSize();
        addMessage(localisedText("Shop_Discription_LackPearl").c_str(), size.width * 0.5f, size.height / 1.5f,
                   size.width / 1.5f, size.height / 1.2f);
    }
    setTouchEnabled(true);
}

void KVPopUpShopBuyScreenView::onBuy(CCObject* sender) {
    (void)sender;
    CCNotificationCenter::getInstance()->postNotification(SCREEN_MENU_BUY_CONFIRM);
    KVMenuManager::getInstance()->changeState(KVMenuManager::kCloseOverlayState);
}
