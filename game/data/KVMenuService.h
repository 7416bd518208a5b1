#pragma once

#include "game/world/KVConnectedService.h"

namespace kvengine {
class CCString;
}

/// The menus as a finished mission uses them: the item pop-ups shown over the mission, the mission
/// that the next launch starts, and the way back to the menus through a loading screen.
///
/// The menu manager lives on the front end, a floor above the mission's screens; they reach it
/// only through this interface, and the application installs where the shared one comes from
/// (kvConnectGameServices).
class KVMenuService : public KVConnectedService<KVMenuService> {
public:
    static constexpr const char* kServiceName = "menu manager";

    virtual ~KVMenuService() = default;

    /// Opens the item pop-up of `kind` (6 an item became available, 7 an item is locked for good,
    /// 8 a message) about `subject` over the running scene; it posts "EVENT_POP_UP_CLOSED" when
    /// it closes.
    virtual void openItemPopUp(int kind, kvengine::CCString* subject) = 0;
    /// The mission that the next launch starts.
    virtual void setMissionToLaunch(kvengine::CCString* mission) = 0;
    /// Replaces the running scene by the loading screen of `kind`: 2 launches the mission to
    /// launch, 3 leads to the world map, 4 to the troops screen, 5 to the shop.
    virtual void leaveMissionThroughLoadingScreen(int kind) = 0;
    /// Puts the frames of the menu sheets (buttons, pop-up frames, pearls) back into the frame
    /// cache, which the way into a mission emptied.
    virtual void reloadMenuFrames() = 0;
};
