#pragma once

#include "engine/nodes/CCNode.h"

namespace kvengine {

class CCSprite;
class CCTexture2D;

/// A node that owns a texture of a given size and shows it through a sprite child (upside down,
/// as render targets are). begin()/end() set up and restore a projection and viewport matching
/// the texture. There are no frame-buffer objects here: the drawing between them goes to the
/// window, and the texture keeps its initial, fully transparent content.
class CCRenderTexture : public CCNode {
public:
    CCRenderTexture() = default;
    /// Removes the children with cleanup, which releases the sprite and through it the texture.
    ~CCRenderTexture() override;

    const char* className() const override { return "CCRenderTexture"; }

    /// Autoreleased render texture of width x height points, or null (logged) when the texture
    /// cannot be made.
    static CCRenderTexture* createWithWidthHeight(int width, int height);
    bool initWithWidthHeight(int width, int height);

    /// The sprite that shows the texture; a child of this node (not retained again).
    virtual CCSprite* getSprite() const { return m_sprite; }
    virtual void setSprite(CCSprite* sprite) { m_sprite = sprite; }

    /// Must be paired with end().
    void begin();
    void end();

    CCTexture2D* getTexture() const { return m_texture; }

private:
    CCSprite* m_sprite = nullptr;
    CCTexture2D* m_texture = nullptr;
    int m_pixelFormat = 1;
};

} // namespace kvengine
