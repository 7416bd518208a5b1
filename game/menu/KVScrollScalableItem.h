#pragma once

#include "game/data/KVDataAccess.h"
#include "game/menu/KVMenuItem.h"

namespace kvengine {
class CCNotification;
class CCString;
} // namespace kvengine
class KVCardCarouselOwner;
class KVScrollOverlayView;
class KVScrollTouchDelegatingView;
class KVScrollViewMenu;

/// The horizontal carousel of the front end: mission bubbles (mode 1, the world map's star panel),
/// creature cards (mode 2, the troops screen) and about entries (mode 3).
///
/// Entries come from a dictionary (key -> entry dictionary of strings with at least "item_number"
/// and "status_locked") and are laid out in item-number order in a row; an overlay scroll view
/// (drawn by the director above the scene) moves the row. The entry nearest the window centre is
/// the current one: full scale and, in mode 1, the only tappable bubble; the others shrink with
/// their distance. The owner (the parent) hears of a new current entry and of a tap through
/// instant call actions, so synchronously. Display positions are the menu children's tags.
///
/// The row is built on every onEnter and its overlays removed on onExit. Hidden missions (status 1)
/// get no bubble; locked ones (2) a locked bubble. The row has one empty position after the last
/// entry in modes 1 and 3, which never becomes current.
class KVScrollScalableItem : public KVMenuItem {
public:
    CC_DECLARE_CLASS_NAME(KVScrollScalableItem, KVMenuItem)

    enum Mode { kMissionBubbles = 1, kCreatureCards = 2, kAboutEntries = 3 };
    /// Tags of the content layer in the item and of the menu in the content layer.
    static constexpr int kContentTag = 1;
    static constexpr int kMenuTag = 1;

    /// An autoreleased carousel; null when the layer cannot be initialised.
    static KVScrollScalableItem* createWithItems(kvdata::Dict* items, int scanCount, int mode);
    /// Retains the entries and stores the scan count and mode; false when CCLayer::init fails.
    [[nodiscard]] bool initWithItems(kvdata::Dict* items, int scanCount, int mode);

    void cleanupBeforeDelete() override;
    /// Builds the row and its overlays (when the entries are set), then the layer's onEnter.
    void onEnter() override;
    /// Takes the overlays away from the director.
    void onExit() override;
    /// Snapping after a drag, every frame until settled.
    void update(float dt) override;

    /// The first key whose entry's "item_number" reads `number` (autoreleased), or null.
    kvengine::CCString* keyForItemNumber(int number);
    /// The same over any table of entries (the chapter list's too); null for a null table.
    static kvengine::CCString* keyForItemNumberIn(kvdata::Dict* items, int number);
    /// The key of the entry shown at a display position (the entry's user object), or null.
    kvengine::CCString* keyAtPosition(int position);
    /// The offset handler: scales the entries and makes the nearest one current. `offset` is a
    /// CCValue<float>.
    void onScrollOffsetChanged(kvengine::CCNode* node, void* offset);
    /// Activation selector of the entries: tells the owner.
    void onItemActivated(kvengine::CCObject* sender);

    virtual void onAppVipDidClose(kvengine::CCNotification* notification) { (void)notification; }
    // Touch and scroll relays to a creature-card owner (mode 2, KVCardCarouselOwner, in that
    // interface's order); nothing in modes 1 and 3.
    virtual void relayTouchBeganOffItem(float x, float y);
    virtual void relayTouchBeganOnItem(float x, float y, kvengine::CCString* name, int lockStatus);
    virtual void relayTouchEndedOffItem(float x, float y);
    virtual void relayTouchEndedOnItem(float x, float y, kvengine::CCString* name, int lockStatus);
    virtual void relayOwnerCallA();
    virtual void relayScrolled(float x, float y);
    virtual void relayDecelerationChanged();
    virtual void relayOwnerCallB();

    /// The screen that holds a creature-card carousel (mode 2), or null.
    KVCardCarouselOwner* cardOwner() const;
    /// Mode 2: fades the equip mark of a creature's card in or out; unknown names are ignored.
    void showEquipMarkForKelvo(kvengine::CCString* name, bool shown);
    /// Puts the scroll view's offset back on the row as drawn, then on the current entry, without
    /// moving the row.
    void centerOnSelectedItem();
    /// Mode 2: the card of a creature, or null.
    kvengine::CCNode* cardForKelvo(const std::string& name) const;

    int getMode() const { return m_mode; }
    int getScanCount() const { return m_scanCount; }
    /// Display position of the current entry; -1 before the first report.
    int getCurrentIndex() const { return m_currentIndex; }
    /// Entries laid out, plus the empty position in modes 1 and 3.
    int getCount() const { return m_count; }
    float getPitch() const { return m_pitch; }
    float getLastReportedOffset() const { return m_lastReportedOffset; }
    kvdata::Dict* getItems() const { return m_items; }
    KVScrollOverlayView* getScrollView() const { return m_scrollView; }
    KVScrollTouchDelegatingView* getTouchView() const { return m_touchView; }
    /// The menu of entries, or null before the first build.
    KVScrollViewMenu* getMenu() const;
    /// The entry at a display position, or null.
    kvengine::CCNode* entryAt(int position) const;

    bool isSettled() const { return m_settled; }
    bool isSnapping() const { return m_snapping; }
    void setSettled(bool settled) { m_settled = settled; }
    void setSnapping(bool snapping) { m_snapping = snapping; }

private:
    void layOutMissionBubbles(KVScrollViewMenu* menu, int& selected, float& firstWidth);
    void layOutAboutEntries(KVScrollViewMenu* menu, float& firstWidth);
    /// Whether the parent is told of a new current entry (the star panel or the staff display).
    bool hasEntryOwner() const;
    void layOutCreatureCards(KVScrollViewMenu* menu, int& selected, float& firstWidth);
    /// Runs the offset handler through an instant action, as the scroll view does.
    void reportOffset(float offset);
    /// Calls an owner's handler with a boxed index through an instant action on this item.
    void tellOwnerOfEntry(int position);
    /// Tells a card owner the creature of the card at a display position.
    void tellCardOwner(KVCardCarouselOwner* owner, int position);

    KVScrollOverlayView* m_scrollView = nullptr;
    KVScrollTouchDelegatingView* m_touchView = nullptr;
    kvdata::Dict* m_items = nullptr;
    int m_scanCount = 0;
    int m_mode = 0;
    kvdata::Dict* m_cardsByName = nullptr;
    float m_lastOffset = 0.0f;
    bool m_settled = false;
    bool m_snapping = false;
    float m_pitch = 0.0f;
    int m_count = 0;
    int m_currentIndex = -1;
    float m_lastReportedOffset = 0.0f;
    float m_scaleFactor = 0.0f; // -0.8 / halfW², computed on the first report
    bool m_observing = false;
};
