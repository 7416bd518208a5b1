#pragma once

#include "engine/input/CCScrollView.h"
#include "engine/nodes/CCMenu.h"

class KVMenuItem;

/// The overlay scroll view of a carousel or a chapter list: it moves the owner's content layer
/// along x and reports the offset to a carousel owner. The director draws it above the running
/// scene (CCDirector::addOverlayView). It is its own delegate; its pan stays off unless the owner
/// enables it.
class KVScrollOverlayView : public kvengine::CCScrollView {
public:
    CC_DECLARE_CLASS_NAME(KVScrollOverlayView, kvengine::CCScrollView)

    /// Frame, content size (count x pitch wide, 320 minus the height of "Bt_Mid_Up.png" high),
    /// itself as delegate, no snapping after a drag; retains the content layer and the owner.
    virtual void setUp(const kvengine::CCRect& frame, int count, float pitch, kvengine::CCNode* content,
                       KVMenuItem* owner);
    void cleanupBeforeDelete() override;

    void willBeginDecelerating(kvengine::CCScrollView* view) override;
    /// Moves the content layer when the move is a paged or jumped one, and reports the offset.
    void didScroll(kvengine::CCScrollView* view, bool moving) override;
    void didEndDecelerating(kvengine::CCScrollView* view) override;
    /// Starts the owner's snapping, unless snapping after a drag is off.
    void didEndDragging(kvengine::CCScrollView* view, bool willDecelerate) override;

    /// Clears the owner's snap state; on a creature-card carousel, relays a touch start on or off
    /// the cards while the row is at rest.
    void touchesBegan(kvengine::CCSet* touches, kvengine::CCEvent* event) override;
    /// On a creature-card carousel, relays a tap's end on or off the cards.
    void touchesEnded(kvengine::CCSet* touches, kvengine::CCEvent* event) override;

    bool isNoSnapAfterDrag() const { return m_noSnapAfterDrag; }
    void setNoSnapAfterDrag(bool on) { m_noSnapAfterDrag = on; }
    KVMenuItem* getOwner() const { return m_owner; }
    kvengine::CCNode* getContentLayer() const { return m_contentLayer; }

private:
    /// Hit-tests the first touch on the cards of a mode-2 owner and relays it (began or ended).
    void relayCardTouch(kvengine::CCSet* touches, bool began);

    KVMenuItem* m_owner = nullptr;
    kvengine::CCNode* m_contentLayer = nullptr;
    bool m_noSnapAfterDrag = true;
};

/// The overlay that covers the lower part of the window above a carousel and holds its scroll view.
class KVScrollTouchDelegatingView : public kvengine::CCView {
public:
    CC_DECLARE_CLASS_NAME(KVScrollTouchDelegatingView, kvengine::CCView)

    void cleanupBeforeDelete() override;
    KVScrollOverlayView* getScrollView() const { return m_scrollView; }
    /// Retains the view (the old one released).
    void setScrollView(KVScrollOverlayView* view);

private:
    KVScrollOverlayView* m_scrollView = nullptr;
};

/// The menu of a carousel's entries.
class KVScrollViewMenu : public kvengine::CCMenu {
public:
    CC_DECLARE_CLASS_NAME(KVScrollViewMenu, kvengine::CCMenu)

    /// As CCMenu::createWithItems: autoreleased, null when it fails.
    static KVScrollViewMenu* createWithItems(kvengine::CCMenuItem* first, ...);

    /// A menu that shares its touches lets the carousel's overlay see the touches it claims (the
    /// creature cards); set before the menu enters the stage.
    void setSharesTouches(bool shares) { m_sharesTouches = shares; }
    bool sharesTouches() const { return m_sharesTouches; }
    void registerWithTouchDispatcher() override;

private:
    bool m_sharesTouches = false;
};

/// Drops a row's two overlay views (both set to null); with `offDirector`, takes them off the
/// director's overlays first. Either may be null.
void releaseOverlayViews(KVScrollTouchDelegatingView*& touchView, KVScrollOverlayView*& scrollView,
                         bool offDirector);
