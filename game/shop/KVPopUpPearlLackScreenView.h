#pragma once

#include "game/menu/KVPopUpItem.h"
#include "game/menu/KVScreenStates.h"

namespace kvengine {
class CCScene;
}

/// The notice that the player lacks pearls: the "Squad" frame with the pearl message, Cancel at
/// the left of its lower edge and "Pop Up Buy More Pearls" (tag 4) at the right. That button posts
/// "Menu - Buy - Confirm" and opens the shop (state 12); Cancel closes the pop-up (state 19).
/// Touches outside the two buttons are swallowed (priority -999).
///
/// No state id opens it: a screen shows it with
/// `KVMenuManager::openPopUpState(new KVPopUpPearlLackScreenState())`.
class KVPopUpPearlLackScreenView : public KVPopUpItem {
public:
    CC_DECLARE_CLASS_NAME(KVPopUpPearlLackScreenView, KVPopUpItem)

    /// A new autoreleased scene holding a new view at z 0.
    static kvengine::CCScene* createScene();
    KVPopUpPearlLackScreenView();

    void onBuyMorePearls(kvengine::CCObject* sender);
};

/// The pearl notice's state: its build makes the scene.
class KVPopUpPearlLackScreenState : public KVScreenState {
public:
    CC_DECLARE_CLASS_NAME(KVPopUpPearlLackScreenState, KVScreenState)

protected:
    kvengine::CCScene* createScene() override { return KVPopUpPearlLackScreenView::createScene(); }
};
