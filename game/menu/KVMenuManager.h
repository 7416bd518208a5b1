#pragma once

#include "game/data/KVQuitConfirmation.h"
#include "game/world/KVSingletonObject.h"

/// The front end's state machine: one screen state at a time, switched by id.
///
/// States 1 to 24 are the front-end screens (1 the main menu, 22 the introduction video, 24 the item
/// pop-up over the current screen); 0 and ids above 24 are ignored.
class KVMenuManager : public KVSingletonObject<KVMenuManager>, public KVQuitConfirmation {
public:
    CC_DECLARE_CLASS_NAME(KVMenuManager, KVSingletonObject)

    /// Leaves the current state and enters `stateId` (1..24); other ids do nothing.
    void changeState(int stateId);
    /// The state last entered; 0 before the first change.
    int getCurrentState() const { return m_currentState; }

    /// Pop-up kind 16 is shown.
    bool isQuitConfirmationOpen() const override;
    /// Pop-up kind := 16, then state 24 (the pop-up over the current screen).
    void openQuitConfirmation() override;

    /// Which pop-up state 24 shows (16: the quit confirmation); set back to 0 when it closes.
    int popUpKind = 0;

private:
    int m_currentState = 0;
};
