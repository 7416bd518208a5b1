#pragma once

#include "game/data/KVDataAccess.h"
#include "game/menu/KVMenuItem.h"

namespace kvengine {
class CCString;
}
class KVScrollOverlayView;
class KVScrollTouchDelegatingView;
class KVScrollViewMenu;

/// The chapter list of the chapter screen: one chapter card (KVPlayScreenItem) per chapter in a
/// row, in item-number order (1 to kScanCount), inside the overlay scroll view of the carousels.
/// The row's pan stays off, so the row stays where it was laid out: the first card centred.
///
/// Chapter entries (key: chapter name): "status_locked" (below 1: open), "status_played",
/// "sprite_name", "mission_list" (the chapter's missions, a dictionary or an array), "item_number"
/// (1-based) and "title_name" (the localisation key of the title). An open chapter's card shows the
/// title and reports the chapter to the owner (the parent's KVStoryScreenView::chapterChosen) when
/// tapped; a locked one shows the text of "<title>_ComingSoon" and has no target. A chapter without
/// title, sprite or missions gets no card but keeps its place in the row's centring.
///
/// The row is built on every onEnter (only when the chapters are set); the overlays are taken off
/// the director on onExit.
class KVScrollItem : public KVMenuItem {
public:
    CC_DECLARE_CLASS_NAME(KVScrollItem, KVMenuItem)

    /// Item numbers looked up.
    static constexpr int kScanCount = 12;
    /// Space between two cards, in points.
    static constexpr float kPadding = 30.0f;
    /// Tags of the content layer in the list and of the menu in the content layer.
    static constexpr int kContentTag = 1;
    static constexpr int kMenuTag = 1;

    /// An autoreleased list of `chapters` (retained; null: nothing laid out); null when the layer
    /// cannot be initialised.
    static KVScrollItem* createWithChapters(kvdata::Dict* chapters);
    [[nodiscard]] bool initWithChapters(kvdata::Dict* chapters);

    void cleanupBeforeDelete() override;
    void onEnter() override;
    void onExit() override;

    /// The first chapter key whose entry's "item_number" reads `number` (autoreleased), or null.
    kvengine::CCString* keyForItemNumber(int number);
    /// Activation selector of the open cards: hands the card's chapter key to the parent's
    /// KVStoryScreenView::chapterChosen (through an instant call action, so at once). Nothing when
    /// the parent is not a story view.
    void onCardActivated(kvengine::CCObject* sender);

    KVScrollViewMenu* getMenu() const;
    /// Places in the row, chapters without a card included.
    int getCount() const { return m_count; }
    float getPitch() const { return m_pitch; }
    KVScrollOverlayView* getScrollView() const { return m_scrollView; }
    KVScrollTouchDelegatingView* getTouchView() const { return m_touchView; }

private:
    KVScrollOverlayView* m_scrollView = nullptr;
    KVScrollTouchDelegatingView* m_touchView = nullptr;
    kvdata::Dict* m_chapters = nullptr;
    int m_count = 0;
    float m_pitch = 0.0f;
};
