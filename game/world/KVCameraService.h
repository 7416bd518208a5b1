#pragma once

#include "game/world/KVConnectedService.h"

class KVPawn;

/// The gameplay camera as the floors below it ask it: whether a pawn is on the window (the turn
/// manager waits for the current pawn to be shown) and whether the player zoomed out by hand (the
/// pawn views mark the enemies then).
///
/// The camera manager lives a floor up and implements it; the application installs where the
/// shared one comes from (kvConnectGameServices). Without a camera every pawn counts as shown.
class KVCameraService : public KVConnectedService<KVCameraService> {
public:
    static constexpr const char* kServiceName = "camera";

    virtual ~KVCameraService() = default;

    /// True when the pawn's position lies on the window; false for a null pawn.
    virtual bool isPawnOnScreen(KVPawn* pawn) = 0;
    /// True in manual mode while the zoom differs from the full zoom.
    virtual bool isZoomedOutManually() = 0;
    /// True when the level point (x, y), in points, lies on the window (the fish bombs circle only
    /// then).
    virtual bool isLevelPointOnScreen(float x, float y) = 0;
    /// True when the camera shows the current pawn at full zoom, ready for the player's touch
    /// (a consumable waits for it); true for a camera that does not say.
    virtual bool isPlayable() { return true; }
};
