#pragma once

#include "game/menu/KVPopUpItem.h"
#include "game/menu/KVScreenStates.h"

namespace kvengine {
class CCScene;
}
class KVTitleItem;

/// The selected mission of the selected chapter (the menu manager's missionName and chapterName)
/// in a pop-up over the world map: a status picture (a check when the mission is open, a padlock
/// otherwise), "Mission <name>", the chapter, the three star rows (the found star over the empty
/// one where the profile's "hidden_locked", "surviva_locked" or "speed_locked" is 0), Cancel and
/// "Play" (tag 4), which launches the mission (state 17). A mission already played shows "RePlay",
/// which launches nothing. Cancel closes the pop-up (state 19).
///
/// Children besides the frame's: status picture (z 1, tag 1), title (tag 2), chapter (tag 3), the
/// star-row titles (tags 4, 5, 6), each row's star sprite and value. The frame's dimmer, frame and
/// cancel button hold the tags 1 to 3 as well: find those by their kind. Touches outside the two
/// buttons are swallowed (priority -999).
///
/// No state id opens it: a screen shows it with
/// `KVMenuManager::openPopUpState(new KVPopUpLevelInfoScreenState())`.
class KVPopUpLevelInfoScreenView : public KVPopUpItem {
public:
    CC_DECLARE_CLASS_NAME(KVPopUpLevelInfoScreenView, KVPopUpItem)

    enum Tag {
        kStatusTag = 1,
        kTitleTag = 2,
        kChapterTag = 3,
        kHiddenRowTag = 4,
        kTacticalRowTag = 5,
        kSpeedRowTag = 6
    };

    /// A new autoreleased scene holding a new view at z 0.
    static kvengine::CCScene* createScene();
    KVPopUpLevelInfoScreenView();

    /// Launches the selected mission (state 17) when it has not been played; nothing otherwise.
    void onPlay(kvengine::CCObject* sender);
    bool isPlayable() const { return m_playable; }

private:
    KVTitleItem* addTitle(const std::string& text, int fontSize, unsigned char red, int tag);

    bool m_playable = true;
};

/// The level-info pop-up's state: its build makes the scene.
class KVPopUpLevelInfoScreenState : public KVScreenState {
public:
    CC_DECLARE_CLASS_NAME(KVPopUpLevelInfoScreenState, KVScreenState)

protected:
    kvengine::CCScene* createScene() override { return KVPopUpLevelInfoScreenView::createScene(); }
};
