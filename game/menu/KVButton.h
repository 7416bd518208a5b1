#pragma once

#include <string>

#include "engine/nodes/CCMenu.h"
#include "engine/nodes/CCMenuItem.h"

namespace kvengine {
class CCString;
}
class KVButtonItem;

/// A one-item menu: the game's button. The item (a `KVButtonItem`, held as the menu's child) is
/// centred on the button's position and takes its pictures and caption from the button kind.
///
///     KVButton* ok = KVButton::createWithLabel(text, w / 2, h / 4, 23, this,
///                                              menu_selector(KVPauseScene::onContinue));
///     addChildAtZWithTag(ok, 2, 3);
///
/// The target's selector gets the item as sender when a press is released over it. The button
/// registers as a targeted touch handler that swallows what it claims, at the menus' priority
/// unless setTouchPriority chose another (the quit confirmation takes -1000 to stay above a
/// running mission and its dialogues).
class KVButton : public kvengine::CCMenu {
public:
    CC_DECLARE_CLASS_NAME(KVButton, kvengine::CCMenu)

    /// Press states.
    enum PressState { kNotCreated = 0, kReleased = 1, kPressed = 2 };

    /// An autoreleased button at (x, y) of `kind` captioned with `label`; null when the kind has no
    /// pictures or they are not loaded (logged).
    static KVButton* createWithLabel(kvengine::CCString* label, float x, float y, int kind,
                                     kvengine::CCObject* target, kvengine::SEL_MenuHandler selector);
    static KVButton* createWithText(const std::string& text, float x, float y, int kind,
                                    kvengine::CCObject* target, kvengine::SEL_MenuHandler selector);
    /// An autoreleased button of the items up to the terminating null; null when the init fails.
    static KVButton* createWithItems(kvengine::CCMenuItem* first, ...);

    void registerWithTouchDispatcher() override;

    /// Forwards to the item (nothing without one).
    virtual void setLabelString(const char* text);
    /// The item's caption, or null without an item.
    virtual const char* getLabelString();

    /// The touch priority from the next registration on (at once when registered).
    void setTouchPriority(int priority);
    int getButtonTouchPriority() const { return m_touchPriority; }

    KVButtonItem* getItem() const { return m_item; }
    int getKind() const { return m_kind; }
    int getPressState() const { return m_pressState; }
    void setPressState(PressState state) { m_pressState = state; }

private:
    static KVButton* finish(KVButtonItem* item, float x, float y, int kind);

    int m_pressState = kNotCreated;
    KVButtonItem* m_item = nullptr; // a child: not retained again
    int m_kind = 0;
    int m_touchPriority = kDefaultTouchPriority;
};
