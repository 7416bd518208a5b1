#pragma once

#include <string>

#include "game/data/KVDataAccess.h"
#include "game/menu/KVPopUpItem.h"
#include "game/menu/KVScreenStates.h"

namespace kvengine {
class CCScene;
}

/// The training confirmation of the menu manager's selected creature: the "LevelInfo" frame with
/// the question and its cost, Cancel at the left and "Train" (tag 4) at the right of the button row.
/// Building it posts "Menu - Train Kelvo" with the creature's name.
///
/// Train, when the creature has game-data stats and a profile record: with at least the cost in
/// pearls, takes the pearls, raises the level by one, lets the pearl counter of the screen under
/// the pop-up (the screen with tag 9, its counter tag 12) count, saves the profile and only then
/// posts "Menu - Train Kelvo - Confirm" with the name; with too few pearls nothing changes and
/// nothing is posted. The pop-up closes (state 19) in every case, a creature without stats or
/// record included. Touches outside the two buttons are swallowed (priority -999).
///
/// No state id opens it: a screen shows it with
/// `KVMenuManager::openPopUpState(new KVPopUpLevelUpScreenState())`.
class KVPopUpLevelUpScreenView : public KVPopUpItem {
public:
    CC_DECLARE_CLASS_NAME(KVPopUpLevelUpScreenView, KVPopUpItem)

    /// Tags, in the screen under the pop-up, of that screen and of its pearl counter.
    static constexpr int kScreenTag = 9;
    static constexpr int kPearlCounterTag = 12;

    /// A new autoreleased scene holding a new view at z 0.
    static kvengine::CCScene* createScene();
    KVPopUpLevelUpScreenView();

    /// A new autoreleased dictionary with every entry of the creature's game-data stats (empty when
    /// the game data has no such creature).
    static kvdata::Dict* copyKelvoStats(const std::string& name);

    void onTrain(kvengine::CCObject* sender);
};

/// The training confirmation's state: its build makes the scene.
class KVPopUpLevelUpScreenState : public KVScreenState {
public:
    CC_DECLARE_CLASS_NAME(KVPopUpLevelUpScreenState, KVScreenState)

protected:
    kvengine::CCScene* createScene() override { return KVPopUpLevelUpScreenView::createScene(); }
};
