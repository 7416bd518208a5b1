#pragma once
#include "engine/nodes/CCLayer.h"
#include "engine/nodes/CCProtocols.h"

#include <cstdarg>

namespace kvengine {

class CCMenuItem;
class CCTouch;

/// A layer of menu items that turns one touch at a time into a button press: it claims a touch
/// that goes down on an enabled, visible item, highlights the item under the finger while it
/// moves, and activates the item under the finger when it is lifted.
///
/// Registered, while on stage, as a targeted touch delegate (priority kDefaultTouchPriority,
/// swallowing what it claims). Overlapping items resolve to the one earlier in children order.
/// The item being tracked is retained until the touch ends, so a callback may remove it; a menu
/// that leaves the stage drops its touch. Children that are not menu items are passed over.
class CCMenu : public CCLayer, public CCRGBAProtocol {
public:
    static constexpr int kDefaultTouchPriority = -128;
    enum State { kStateWaiting = 0, kStateTrackingTouch = 1 };

    /// A menu of the items up to the terminating null, in that order (z 0, 1, 2...); autoreleased,
    /// null when the init fails.
    static CCMenu* createWithItems(CCMenuItem* first, ...);

    CCMenu() = default;
    ~CCMenu() override;

    const char* className() const override { return "CCMenu"; }
    bool isKindOf(const char* name) const override;

    [[nodiscard]] bool initWithItems(CCMenuItem* first, va_list rest);
    /// The same for a list without a terminator.
    [[nodiscard]] bool initWithItemList(CCMenuItem* const* items, unsigned count);

    /// Places the items in a row centred on the menu's origin, `padding` points apart.
    void alignItemsHorizontallyWithPadding(float padding);
    /// Places the items in a column centred on the origin, the first at the top.
    void alignItemsVerticallyWithPadding(float padding);
    /// The first visible, enabled item whose box holds the touch, or null.
    CCMenuItem* itemForTouch(CCTouch* touch);

    int getState() const { return m_state; }
    CCMenuItem* getSelectedItem() const { return m_selectedItem; }
    int getTouchPriority() const { return m_touchPriority; }

    void onExit() override;
    void registerWithTouchDispatcher() override;
    CCRGBAProtocol* asRGBAProtocol() override { return this; }

    bool touchBegan(CCTouch* touch, CCEvent* event) override;
    void touchMoved(CCTouch* touch, CCEvent* event) override;
    void touchEnded(CCTouch* touch, CCEvent* event) override;
    void touchCancelled(CCTouch* touch, CCEvent* event) override;

    void setColor(const ccColor3B& color) override;
    ccColor3B getColor() override { return m_color; }
    uint8_t getOpacity() override { return m_opacity; }
    void setOpacity(uint8_t opacity) override;

private:
    bool setUpLayer();
    /// Replaces the tracked item (retained while tracked).
    void setSelectedItem(CCMenuItem* item);

    bool m_swallowsTouches = true;
    int m_state = kStateWaiting;
    uint8_t m_opacity = 0;
    CCMenuItem* m_selectedItem = nullptr;
    ccColor3B m_color{255, 255, 255};
    int m_touchPriority = kDefaultTouchPriority;
};

} // namespace kvengine
