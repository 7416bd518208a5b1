#pragma once

namespace kvengine {
class CCNode;
class CCString;
} // namespace kvengine

/// What a creature-card carousel (KVScrollScalableItem in its card mode) calls on the screen that
/// holds it: the touch and scroll relays in the carousel's relay order, the current-card and tap
/// reports, and whether a creature is being dragged out of the row (the row then stays put).
///
/// x and y are in the screen's coordinates, y growing upwards. A touch "on a card" is on an active
/// card; a touch on no card or on a hidden card is "off" the cards. The touch ends are relayed only
/// for taps (the row neither dragged nor gliding).
class KVCardCarouselOwner {
public:
    virtual ~KVCardCarouselOwner() = default;

    virtual void onTouchBeganOffCard(float x, float y) = 0;
    virtual void onTouchBeganOnCard(float x, float y, kvengine::CCString* name, int lockStatus) = 0;
    virtual void onTouchEndedOffCard(float x, float y) = 0;
    virtual void onTouchEndedOnCard(float x, float y, kvengine::CCString* name, int lockStatus) = 0;
    virtual void cancelDrag() = 0;
    /// The row's offset, negated, while a pan moves it.
    virtual void onCardsScrolled(float x, float y) = 0;
    /// The row begins or ends gliding: every pan ends with one of these.
    virtual void onPanFinished() = 0;
    virtual void onDragAbandoned() = 0;

    /// The card nearest the window centre changed; `name` is the card's user object.
    virtual void onCardChanged(kvengine::CCString* name) = 0;
    /// A card was activated by the card menu.
    virtual void onCardActivated(kvengine::CCNode* node, void* name) = 0;
    virtual bool isDragInProgress() const = 0;
};
