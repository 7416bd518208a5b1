#pragma once

#include "game/world/KVObject.h"

/// The root of the front end's own objects.
class KVMenuObject : public KVObject {
public:
    CC_DECLARE_CLASS_NAME(KVMenuObject, KVObject)
};

/// One screen or overlay of the front end inside the menu manager's state machine.
///
/// The manager makes a fresh state for every change of screen, opens it (enter, then buildView,
/// which builds the screen) and releases it when the screen is left; the concrete states keep the
/// screen's scene, so releasing the state releases the scene and its view with it. A plain
/// KVStateMenu (no scene) also serves the manager as its record of the current and previous ids.
class KVStateMenu : public KVMenuObject {
public:
    CC_DECLARE_CLASS_NAME(KVStateMenu, KVMenuObject)

    bool isMenuState() override { return true; }

    /// previous := current; current := stateId; when not entered yet: enter, then buildView. An
    /// entered state only takes the new id (its view is not rebuilt).
    void open(int stateId);
    /// previous := current; current := 0; leave when entered.
    void close();

    virtual void enter() { m_entered = true; }
    /// Builds the screen and keeps its scene; nothing in the base.
    virtual void buildView() {}
    virtual void leave() { m_entered = false; }

    bool isEntered() const { return m_entered; }
    int getCurrentId() const { return m_currentId; }
    int getPreviousId() const { return m_previousId; }
    /// The manager writes its record directly.
    void setCurrentId(int id) { m_currentId = id; }
    void setPreviousId(int id) { m_previousId = id; }

private:
    bool m_entered = false;
    int m_currentId = 0;
    int m_previousId = 0;
};
