#pragma once

#include "engine/nodes/CCMenuItem.h"
#include "game/menu/KVScreenView.h"

namespace kvengine {
class CCMenuItemSprite;
}

/// The main menu (states 1 and 2): an animated underwater picture fades in while the buttons and
/// the logo stay hidden and disabled; after 7 s, or at the first touch (which presses nothing), they
/// fade in over 1 s and work. Play sets the chapter "Prologue" and opens the world map (9), Options
/// opens 4, Credits the about screen (3), Quit the quit confirmation.
///
/// Children besides the backdrop (its caustics are hidden): background (z 0, tag 1), options menu
/// (z 1, tag 2), credits menu (tag 3), play menu (tag 4, its item holds the label, tag 1), logo
/// (tag 5), quit menu (tag 8). Each menu holds one item. The view claims touches at priority -999,
/// ahead of its menus, until the reveal.
class KVMainMenuScreenView : public KVScreenView {
public:
    CC_DECLARE_CLASS_NAME(KVMainMenuScreenView, KVScreenView)

    enum Tag {
        kBackgroundTag = 1,
        kOptionsTag = 2,
        kCreditsTag = 3,
        kPlayTag = 4,
        kLogoTag = 5,
        kQuitTag = 8
    };
    /// Tag of the play label in the play item.
    static constexpr int kPlayLabelTag = 1;
    static constexpr int kTouchPriority = -999;
    /// Seconds before the buttons show by themselves.
    static constexpr float kRevealSeconds = 7.0f;
    static constexpr float kFadeSeconds = 1.0f;

    /// A new autoreleased main menu; null when the layer cannot be initialised.
    static KVMainMenuScreenView* create();

    KVMainMenuScreenView();
    /// The layer's init; the view then claims touches (init clears the flag the constructor set).
    [[nodiscard]] bool init() override;

    void onPlay(kvengine::CCObject* sender);
    void onCredits(kvengine::CCObject* sender);
    void onOptions(kvengine::CCObject* sender);
    void onQuit(kvengine::CCObject* sender);

    void registerWithTouchDispatcher() override;
    /// Before the reveal: reveals and swallows the touch; afterwards lets it through to the menus.
    bool touchBegan(kvengine::CCTouch* touch, kvengine::CCEvent* event) override;
    void touchEnded(kvengine::CCTouch* touch, kvengine::CCEvent* event) override;
    /// Counts the hidden phase; reveals once it passes 7 s.
    void update(float seconds) override;
    void onExit() override;

    /// Whether the buttons have been revealed.
    bool isRevealed() const { return m_revealed; }
    /// The single item of the menu with `tag`, or null.
    kvengine::CCMenuItemSprite* itemOf(int tag) const;

private:
    void addButton(const char* normal, const char* pressed, kvengine::SEL_MenuHandler handler, int tag,
                   const kvengine::CCSize* sharedSize, const kvengine::CCPoint& anchor, float x, float y);
    void reveal();

    float m_elapsed = 0.0f;
    bool m_revealed = false;
    kvengine::CCSize m_buttonSize;
};
