#pragma once

#include "game/menu/KVLayer.h"

namespace kvengine {
class CCScene;
class CCString;
} // namespace kvengine
class KVButton;

/// Pop-up kinds of the item pop-up (the menu manager's popUpKind).
enum class KVPopUpKind : int {
    None = 0,
    NotEnoughPearls = 1, ///< "play missions to earn pearls"
    Brainwash = 2,       ///< the character card's brainwash question (the selected creature)
    MaximalAmount = 3,   ///< the shop's "you hold the most there can be"
    ItemBought = 5,      ///< a purchase was delivered (popUpText: the item's identifier)
    ItemUnlocked = 6,    ///< an item became available (popUpText: its identifier)
    ItemLocked = 7,      ///< an item stays locked for good (popUpText: its identifier)
    Message = 8,         ///< popUpText is a localisation key or a text shown as it is
    PauseQuit = 9,       ///< the pause screen's "quit the mission?"
    LanguageChange = 15, ///< the options screen's language question (popUpText: the language number)
    QuitGame = 16,       ///< Escape's "quit the game?", above everything, a running dialogue included
};

/// The message pop-up of menu state 24: a dimmed window, a frame with a message, an OK button and,
/// for the questions, a cancel button. The menu manager lays its scene over the running scene
/// (tag 1, z 1200, or z 3000 for the quit confirmation) and state 19 takes it away.
///
/// Ask for one by setting the manager's popUpKind (and popUpText where the kind needs it), then
/// changeState(24). OK posts "EVENT_POP_UP_CLOSED" and cancel "EVENT_POP_UP_CANCELLED" (no object,
/// once each), then both close the pop-up. Some kinds' OK does its own: the brainwash question posts
/// "EVENT_BRAIN_WASH_TRIGGERED" with the selected creature, the language question switches the
/// language and rebuilds the options screen, and the quit confirmation saves the player profile
/// and ends the program.
/// While open, the pop-up claims every touch outside its buttons (priority -1000), so nothing under
/// it reacts; the quit confirmation's buttons also take priority -1000.
///
/// Children: shade (`CCLayerColor`, z 1, tag 0), frame "KV_PopupWindow.png" (z 1, tag 1), OK button
/// (`KVButton` kind 23, z 2, tag 3), cancel button (kind 23, z 2, tag 2), message (boxed
/// `KVLabelWithShadow`, z 2, tag 4); for an unlocked creature, its portrait (z 2, tag 5).
class KVPopUpItemScreenView : public KVLayer {
public:
    CC_DECLARE_CLASS_NAME(KVPopUpItemScreenView, KVLayer)

    enum Tag { kShadeTag = 0, kFrameTag = 1, kCancelTag = 2, kOkTag = 3, kMessageTag = 4, kPortraitTag = 5 };
    /// Touch priority of the view (and of the quit confirmation's buttons).
    static constexpr int kTouchPriority = -1000;

    /// A new autoreleased scene holding a view of the menu manager's current popUpKind (z 0).
    static kvengine::CCScene* createScene();

    /// Builds the pop-up of `kind` over the whole window. Kinds without texts show an empty message.
    void initWithKind(int kind);
    int getKind() const { return m_kind; }

    /// OK: by kind, ends the program (quit confirmation) or posts "EVENT_POP_UP_CLOSED"; then closes.
    virtual void onValidate(kvengine::CCObject* sender);
    /// Cancel: posts "EVENT_POP_UP_CANCELLED" and closes.
    virtual void onCancel(kvengine::CCObject* sender);

    void registerWithTouchDispatcher() override;
    /// Claims (and so swallows) every touch that does not start on one of its buttons.
    bool touchBegan(kvengine::CCTouch* touch, kvengine::CCEvent* event) override;
    void touchEnded(kvengine::CCTouch* touch, kvengine::CCEvent* event) override;

private:
    /// The texts of a kind; false for a kind this pop-up does not know.
    struct Texts;
    static bool textsOf(int kind, Texts& texts);
    /// Kind 6 of a creature: its portrait above the message, the OK button lower.
    void addCreaturePortrait(kvengine::CCString* creature, float frameBottom, float okHeight);

    int m_kind = 0;
};
