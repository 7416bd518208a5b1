#pragma once

#include "game/menu/KVPressMenu.h"

namespace kvengine {
class CCString;
}

/// A player-count button of the multiplayer set-up screen: a pressed and a released picture with
/// its label (Arial 28) in the upper part. Every release clicks ("EVENT_BUTTON_VALIDATED" with the
/// button), whether the touch ended on the button or moved off it; one activation per half second.
class KVPlayerNbScreenItem : public KVPressMenuItem {
public:
    CC_DECLARE_CLASS_NAME(KVPlayerNbScreenItem, KVPressMenuItem)

    /// Child tag of the label.
    static constexpr int kLabelTag = 1;

    /// An autoreleased button; null (logged) when a picture is missing.
    static KVPlayerNbScreenItem* createWithSprites(const char* normalFrame, const char* pressedFrame,
                                                   kvengine::CCString* label, kvengine::CCObject* target,
                                                   kvengine::SEL_MenuHandler selector);
    [[nodiscard]] bool initWithSprites(const char* normalFrame, const char* pressedFrame,
                                       kvengine::CCString* label, kvengine::CCObject* target,
                                       kvengine::SEL_MenuHandler selector);

    void unselected() override;
};

/// The one-button menu of a player-count button.
class KVPlayerNbScreen : public KVPressMenu {
public:
    CC_DECLARE_CLASS_NAME(KVPlayerNbScreen, KVPressMenu)

    /// The button in a menu of its size, anchored and placed at (0, 0), released (the button is
    /// centred on the menu's position); null when the button cannot be made.
    static KVPlayerNbScreen* createButton(const char* normalFrame, const char* pressedFrame,
                                          kvengine::CCString* label, kvengine::CCObject* target,
                                          kvengine::SEL_MenuHandler selector);

    KVPlayerNbScreenItem* getButton() const;
};
