#pragma once

#include "engine/base/CCRetained.h"
#include "engine/nodes/CCLayerColor.h"

namespace kvengine {
class CCLabelTTF;
class CCSprite;
} // namespace kvengine

/// The opaque screen over a mission while the mission scene builds it: three stacked pictures
/// centred on the window, a banner along the bottom edge and one caption line on it, which the
/// scene changes after every load step. It swallows every touch while it is up; with tap to start
/// set, lifting a touch asks the scene (its parent) to start the game.
///
/// Its pictures come from the sheets "loading_screen_pvrtc2_ss" and "loading_screen_pvrtc4_ss",
/// whose frames and textures leave the caches again when the layer is released.
class KVLoadingGameLayer : public kvengine::CCLayerColor {
public:
    CC_DECLARE_CLASS_NAME(KVLoadingGameLayer, kvengine::CCLayerColor)

    /// Child tag and z of the caption.
    static constexpr int kCaptionTag = 88;
    /// Caption font size, points.
    static constexpr float kCaptionSize = 24.0f;

    /// A new autoreleased layer of `color` and the given size in points with its artwork; null
    /// (logged) when the layer or a picture cannot be made.
    static KVLoadingGameLayer* create(const kvengine::ccColor4B& color, float width, float height);

    /// Replaces the caption's text; nothing without a caption.
    virtual void setCaptionWide(const char16_t* text);
    virtual void setCaption(const char* text);

    /// Centres the three pictures on the window.
    void tick(float dt) override;

    void onEnter() override;
    void onExit() override;
    bool touchBegan(kvengine::CCTouch* touch, kvengine::CCEvent* event) override;
    void touchEnded(kvengine::CCTouch* touch, kvengine::CCEvent* event) override;

    /// Releases the pictures and caption and drops both loading sheets from the caches.
    void cleanupBeforeDelete() override;

    kvengine::CCLabelTTF* getCaption() const { return m_caption; }
    kvengine::CCSprite* getBackground() const { return m_background; }

    /// When set, lifting a touch starts the game.
    bool tapToStart = false;

private:
    bool buildArtwork();

    kvengine::CCPoint m_centre;
    kvengine::CCRetained<kvengine::CCLabelTTF> m_caption;
    kvengine::CCRetained<kvengine::CCSprite> m_background;
    kvengine::CCRetained<kvengine::CCSprite> m_middle;
    kvengine::CCRetained<kvengine::CCSprite> m_foreground;
    kvengine::CCRetained<kvengine::CCSprite> m_banner;
};
