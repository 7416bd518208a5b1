#pragma once

#include "engine/base/CCRetained.h"
#include "game/menu/KVLayer.h"

namespace kvengine {
class CCSprite;
class CCString;
} // namespace kvengine
class KVLabelWithStroke;

/// The combo sticker in the top-right corner of the HUD: when a combo fires, a sticker band slides
/// in from the right, the combo's picture drops onto it, a pearl badge pops and the pearls won
/// slide in under it ("<points> <PEARL>!"). A further combo while the sticker shows replaces the
/// picture and the text and restarts the wait; one second after the last combo's animation
/// everything slides out again (leave, then end 0.4 s later).
///
/// Posts "EVENT_COMBO_START" when a sticker appears and "EVENT_COMBO_END" when it has gone, once
/// each however many combos it showed in between. Everything moves through actions, so it follows
/// the action manager's clock.
///
///     auto* combo = new KVHudComboSFX();
///     combo->init();             // builds the four children, hidden
///     hud->addChild(combo);      // the owner keeps it (the HUD autoreleases its reference)
///     combo->showCombo(10, frameName);
///
/// The frames "combo_pearls.png", "combo_sticker.png" and every sticker frame must be loaded; a
/// missing one is logged and leaves an empty sprite in its place.
class KVHudComboSFX : public KVLayer {
public:
    CC_DECLARE_CLASS_NAME(KVHudComboSFX, KVLayer)

    /// Colours of the points text and its outline.
    static constexpr unsigned char kTextColour[3] = {177, 75, 0};
    static constexpr unsigned char kOutlineColour[3] = {243, 220, 63};
    static constexpr float kStrokeSize = 2.0f;
    static constexpr float kFontSize = 18.0f;

    KVHudComboSFX() = default;
    /// Builds the badge, the band, the picture and the label, all out of sight. False when the
    /// layer itself cannot be made.
    bool init() override;
    /// Takes the four children off the layer and releases them.
    void cleanupBeforeDelete() override;

    /// Shows a combo worth `points` pearls with the sticker frame `frameName` (null keeps the
    /// current picture), or refreshes the sticker already showing.
    void showCombo(int points, kvengine::CCString* frameName);
    /// First exit step: the picture and the text slide out to the right.
    void leave();
    /// Second exit step: the band slides out, the badge fades; posts "EVENT_COMBO_END".
    void end();

    bool isShowing() const { return m_showing; }
    kvengine::CCSprite* getPicture() const { return m_picture; }
    kvengine::CCSprite* getBadge() const { return m_badge; }
    kvengine::CCSprite* getBand() const { return m_band; }
    KVLabelWithStroke* getPointsLabel() const { return m_points; }

private:
    /// A sprite of `frame`, or an empty one (logged) when the frame is not loaded.
    static kvengine::CCSprite* spriteOf(const char* frame);
    void showFrame(kvengine::CCString* frameName);

    kvengine::CCRetained<kvengine::CCSprite> m_picture;
    kvengine::CCRetained<kvengine::CCSprite> m_badge;
    kvengine::CCRetained<kvengine::CCSprite> m_band;
    kvengine::CCRetained<KVLabelWithStroke> m_points;
    bool m_showing = false;
};
