#pragma once
#include "engine/nodes/CCLayer.h"

namespace kvengine {

/// A layer drawn as one untextured rectangle of one colour and opacity over its content size,
/// with a configurable blend pair. Reports the class name "CCLayer".
class CCLayerColor : public CCLayer, public CCRGBAProtocol, public CCBlendProtocol {
public:
    /// Autoreleased; null when init fails.
    static CCLayerColor* createWithColor(const ccColor4B& color, float width, float height);
    /// The same, covering the window.
    static CCLayerColor* createCoveringWindow(const ccColor4B& color);

    [[nodiscard]] virtual bool initWithColorAndSize(const ccColor4B& color, float width, float height);
    [[nodiscard]] virtual bool initWithColor(const ccColor4B& color);
    /// Every corner := (colour, opacity).
    virtual void updateColor();

    /// Rewrites the vertices (even for the current size), then sets the size.
    void setContentSize(const CCSize& size) override;
    void draw() override;
    CCRGBAProtocol* asRGBAProtocol() override { return this; }

    void setColor(const ccColor3B& color) override;
    ccColor3B getColor() override { return m_color; }
    uint8_t getOpacity() override { return m_opacity; }
    void setOpacity(uint8_t opacity) override;
    void setBlendFunc(const ccBlendFunc& blendFunc) override { m_blendFunc = blendFunc; }
    ccBlendFunc getBlendFunc() override { return m_blendFunc; }

    /// Corner vertices in pixels: bottom-left, bottom-right, top-left, top-right.
    const float* getVertices() const { return m_vertices; }
    /// Corner colours (r, g, b, a bytes) in the vertex order.
    const uint8_t* getCornerColors() const { return m_cornerColors; }

protected:
    /// The blend pair the layer draws with: the default pair becomes (GL_SRC_ALPHA,
    /// GL_ONE_MINUS_SRC_ALPHA) below full opacity.
    ccBlendFunc effectiveBlendFunc() const;

    float m_vertices[8] = {};
    uint8_t m_cornerColors[16] = {};
    uint8_t m_opacity = 0;
    ccColor3B m_color;
    ccBlendFunc m_blendFunc;
};

} // namespace kvengine
