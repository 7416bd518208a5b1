#pragma once

#include "game/world/KVConnectedService.h"

/// The quit confirmation as the game settings open it when Escape is pressed in the menus.
///
/// The pop-up belongs to the front end, a floor above the data; the settings reach it only through
/// this interface, and the application installs where the shared one comes from
/// (kvConnectGameServices).
class KVQuitConfirmation : public KVConnectedService<KVQuitConfirmation> {
public:
    static constexpr const char* kServiceName = "quit confirmation";

    virtual ~KVQuitConfirmation() = default;

    /// True while the quit confirmation is shown.
    virtual bool isQuitConfirmationOpen() const = 0;
    /// Shows the quit confirmation over the current screen.
    virtual void openQuitConfirmation() = 0;
};
