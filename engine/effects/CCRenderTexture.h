#pragma once

#include "engine/nodes/CCNode.h"

namespace kvengine {

class CCSprite;
class CCTexture2D;

/// A node that owns a texture of a given size and shows it through a sprite child (upside down,
/// as render targets are). begin()/end() set up and restore a projection and viewport matching
/// the texture, and send the drawing between them into the texture through a frame-buffer object
/// (a point at window position (x, y) lands at texel (x, y) x the content scale). The texture
/// starts fully transparent. Where the GL has no frame-buffer objects (logged once per texture)
/// the drawing goes to the current frame buffer instead and the texture stays transparent.
class CCRenderTexture : public CCNode {
public:
    CCRenderTexture() = default;
    /// Removes the children with cleanup, which releases the sprite and through it the texture.
    ~CCRenderTexture() override;

    const char* className() const override { return "CCRenderTexture"; }

    /// Autoreleased render texture of width x height points, or null (logged) when the texture
    /// cannot be made.
    static CCRenderTexture* createWithWidthHeight(int width, int height);
    [[nodiscard]] bool initWithWidthHeight(int width, int height);

    /// The sprite that shows the texture; a child of this node (not retained again).
    virtual CCSprite* getSprite() const { return m_sprite; }
    virtual void setSprite(CCSprite* sprite) { m_sprite = sprite; }

    /// Must be paired with end().
    void begin();
    void end();

    CCTexture2D* getTexture() const { return m_texture; }
    /// Whether drawing between begin() and end() reaches the texture.
    bool drawsIntoTexture() const { return m_framebuffer != 0; }

private:
    /// Attaches the texture to a new frame-buffer object; false when the GL cannot.
    bool makeFramebuffer();

    CCSprite* m_sprite = nullptr;
    CCTexture2D* m_texture = nullptr;
    int m_pixelFormat = 1;
    unsigned m_framebuffer = 0;
    int m_previousFramebuffer = 0;
};

} // namespace kvengine
