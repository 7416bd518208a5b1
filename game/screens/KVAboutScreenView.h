#pragma once

#include <string>

#include "game/data/KVDataAccess.h"
#include "game/menu/KVScreenView.h"

namespace kvengine {
class CCMenu;
class CCNotification;
class CCScene;
} // namespace kvengine
class KVAboutInteractivePictureItem;
class KVScrollScalableItem;

/// The about screen (state 3): the people who made the game, one bubble each in a row that the
/// left and right arrows (and keys) move one member at a time, with the current member's title and
/// job under it (KVAboutInteractivePictureItem), and a back button to the main menu.
///
/// The staff come from the data file "staffList.plist": staff key -> "position" (the place in the
/// row, from 0 without gaps), "name", optional "fontSize". Without any member the screen shows its
/// background and Back only.
///
/// Children: background "KV_Fond" (z 0, tag 1), back button (z 1, tag 2), staff display (z 2), the
/// two arrow menus (z 4).
class KVAboutScreenView : public KVScreenView {
public:
    CC_DECLARE_CLASS_NAME(KVAboutScreenView, KVScreenView)

    enum Tag { kBackgroundTag = 1, kBackTag = 2 };
    /// The arrows move the row by this many points (one bubble pitch).
    static constexpr float kArrowStep = 140.5f;

    /// A new autoreleased scene with a new about view at z 0.
    static kvengine::CCScene* createScene();

    /// The view of the staff of "staffList.plist".
    KVAboutScreenView();
    /// The view of a staff table as loadStaffList gives it (null or empty: nobody).
    explicit KVAboutScreenView(kvdata::Dict* staff);
    void cleanupBeforeDelete() override;

    /// The staff table of "staffList.plist" found through the resource index (autoreleased).
    static kvdata::Dict* loadStaffList();
    /// The staff table of a staff file: staff key -> "item_number" (the "position"), "name" and,
    /// when given, "fontSize". An empty table (logged) when the file is missing, unreadable or has
    /// no member; gaps and repeated positions are logged by staff key.
    static kvdata::Dict* loadStaffListFromFile(const std::string& path);

    void showNextMember(kvengine::CCObject* sender);
    void showPreviousMember(kvengine::CCObject* sender);
    void onBackButton(kvengine::CCObject* sender);
    /// The right and left keys move like the arrows.
    virtual void onKeyPress(kvengine::CCNotification* notification);

    int getCurrentMember() const { return m_currentMember; }
    int getLastMemberIndex() const { return m_lastMemberIndex; }
    kvengine::CCMenu* getLeftArrow() const { return m_leftArrow; }
    kvengine::CCMenu* getRightArrow() const { return m_rightArrow; }
    KVAboutInteractivePictureItem* getStaffDisplay() const { return m_staffDisplay; }

private:
    /// The staff display's carousel, or null when nobody is shown.
    KVScrollScalableItem* carousel() const;

    int m_lastMemberIndex = -1;
    int m_currentMember = 0;
    kvengine::CCMenu* m_leftArrow = nullptr;
    kvengine::CCMenu* m_rightArrow = nullptr;
    KVAboutInteractivePictureItem* m_staffDisplay = nullptr;
};
