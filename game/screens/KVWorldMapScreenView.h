#pragma once

#include "engine/nodes/CCMenuItem.h"
#include "game/data/KVDataAccess.h"
#include "game/menu/KVScreenView.h"

namespace kvengine {
class CCMenu;
class CCNotification;
class CCScene;
class CCString;
} // namespace kvengine
class KVInteractivePictureItem;

/// The world map (states 9 and 10): the missions of the selected chapter (solo) or the multiplayer
/// maps as a carousel of bubbles in the star panel, with previous and next arrows (and the left and
/// right keys), a back button and, in solo, a squad button to the troops screen. Tapping the
/// current bubble starts its mission through the loading screen.
///
/// Mission entries (key: mission or map name; decimal strings): "status_locked" (0 playable,
/// 1 hidden, 2 shown locked), "item_number", "max_star", "hidden_locked", "surviva_locked",
/// "speed_locked" (0: that star is earned), "speed_number", and in solo "hideStarPanel".
///
/// Children: background "KV_Fond" (z 0, tag 1), back button (tag 2), squad button (tag 3, solo),
/// star panel (z 2, tag 6), the two arrow menus (z 4).
class KVWorldMapScreenView : public KVScreenView {
public:
    CC_DECLARE_CLASS_NAME(KVWorldMapScreenView, KVScreenView)

    enum Tag { kBackgroundTag = 1, kBackTag = 2, kSquadTag = 3, kPanelTag = 6 };
    /// The arrows move the row by this many points (one bubble pitch).
    static constexpr float kArrowStep = 140.5f;

    /// A new autoreleased scene with a new world map at z 0.
    static kvengine::CCScene* createScene();

    KVWorldMapScreenView();
    void cleanupBeforeDelete() override;
    void onEnter() override;
    void onEnterTransitionDidFinish() override;

    /// Mission name -> entry for the menu manager's chapter (autoreleased); null without game data
    /// for it.
    static kvdata::Dict* buildSoloMissionDictionary();
    /// Map name -> entry for the multiplayer maps (autoreleased); null without them.
    static kvdata::Dict* buildHuddleMapDictionary();

    /// The star panel's activation target: stores the mission and enters it through the loading
    /// screen; "Name undefined" is refused.
    void missionChosen(kvengine::CCNode* node, void* missionName);
    void nextMission(kvengine::CCObject* sender);
    void previousMission(kvengine::CCObject* sender);
    void troopsChosen(kvengine::CCObject* sender);
    void backChosen(kvengine::CCObject* sender);
    /// Left and right keys move like the arrows.
    virtual void onKeyPress(kvengine::CCNotification* notification);

    int getPageCount() const { return m_pageCount; }
    int getCurrentPage() const { return m_currentPage; }
    kvengine::CCMenu* getPreviousMenu() const { return m_previousMenu; }
    kvengine::CCMenu* getNextMenu() const { return m_nextMenu; }
    KVInteractivePictureItem* getStarPanel() const { return m_starPanel; }

private:
    void addSquadMarks(kvengine::CCNode* squadItem);

    int m_pageCount = 0;
    int m_currentPage = -1;
    kvengine::CCMenu* m_previousMenu = nullptr;
    kvengine::CCMenu* m_nextMenu = nullptr;
    KVInteractivePictureItem* m_starPanel = nullptr;
};
