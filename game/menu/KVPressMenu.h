#pragma once

#include "engine/nodes/CCMenu.h"
#include "engine/nodes/CCMenuItemSprite.h"

/// A one-card menu that records whether its card is pressed: the base of the chapter-card menu
/// (KVPlayScreen) and of the player-count buttons (KVPlayerNbScreen). Nothing else reads the state;
/// it is there for the screens and their tests.
class KVPressMenu : public kvengine::CCMenu {
public:
    CC_DECLARE_CLASS_NAME(KVPressMenu, kvengine::CCMenu)

    enum PressState { kNotBuilt = 0, kReleased = 1, kPressed = 2 };

    int getPressState() const { return m_pressState; }
    void setPressState(PressState state) { m_pressState = state; }

    /// Content size := the item's size, anchor and position (0, 0), released. The item stays
    /// centred on the menu's origin, so the menu's position is the card's centre. Nothing without
    /// an item.
    void fitTo(kvengine::CCNode* item);
    /// The menu's first child (its card), or null.
    kvengine::CCNode* getItem() const;

private:
    int m_pressState = kNotBuilt;
};

/// A picture item that tells its KVPressMenu when it is pressed and released, and that takes one
/// activation per half second: after each activation it is disabled for kLockSeconds (unless it has
/// been cleaned up, when nobody would enable it again anyway).
class KVPressMenuItem : public kvengine::CCMenuItemSprite {
public:
    CC_DECLARE_CLASS_NAME(KVPressMenuItem, kvengine::CCMenuItemSprite)

    /// Seconds an activated item stays disabled.
    static constexpr float kLockSeconds = 0.5f;

    void selected() override;
    void unselected() override;
    void activate() override;
    void cleanup() override;

    bool isCleanedUp() const { return m_cleanedUp; }
    /// Whom an activation calls (null: nobody).
    kvengine::CCObject* getTarget() const { return m_target; }

protected:
    /// The two pictures of `normalFrame` and `pressedFrame`, anchored at (0, 0); content size := the
    /// normal picture's. False (logged) when a frame is missing.
    [[nodiscard]] bool initWithFrames(const char* normalFrame, const char* pressedFrame);

private:
    void reenable(float dt);
    KVPressMenu* pressMenu() const;

    bool m_cleanedUp = false;
};
