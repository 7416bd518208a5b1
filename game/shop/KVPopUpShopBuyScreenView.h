#pragma once

#include "game/menu/KVPopUpItem.h"
#include "game/menu/KVScreenStates.h"

namespace kvengine {
class CCScene;
}

/// The shop's buy confirmation: the "LevelInfo" frame with the pearl message, Cancel at the left
/// and "Buy" (tag 4) at the right of the button row. Buy posts "Menu - Buy - Confirm" and closes
/// the pop-up (state 19); so does Cancel, without the post. Touches outside the two buttons are
/// swallowed (priority -999), so nothing under the pop-up reacts.
///
/// No state id opens it: a screen shows it with
/// `KVMenuManager::openPopUpState(new KVPopUpShopBuyScreenState())`.
class KVPopUpShopBuyScreenView : public KVPopUpItem {
public:
    CC_DECLARE_CLASS_NAME(KVPopUpShopBuyScreenView, KVPopUpItem)

    /// A new autoreleased scene holding a new view at z 0.
    static kvengine::CCScene* createScene();
    KVPopUpShopBuyScreenView();

    void onBuy(kvengine::CCObject* sender);
};

/// The buy confirmation's state: its build makes the scene.
class KVPopUpShopBuyScreenState : public KVScreenState {
public:
    CC_DECLARE_CLASS_NAME(KVPopUpShopBuyScreenState, KVScreenState)

protected:
    kvengine::CCScene* createScene() override { return KVPopUpShopBuyScreenView::createScene(); }
};
