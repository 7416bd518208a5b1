#pragma once
#include "engine/nodes/CCNode.h"
#include "engine/nodes/CCProtocols.h"

#include <cstdint>

namespace kvengine {

class CCTexture2D;
class CCTextureAtlas;

/// A node that owns a texture atlas whose texture is a grid of equally sized items, and draws
/// its first `quadsToDraw` quads tinted by one colour (the GL current colour; the quads' own
/// colour bytes are not used). Subclasses fill the quads (updateAtlasValues).
///
/// Ownership: the node retains its atlas. Units: item sizes in pixels.
class CCAtlasNode : public CCNode, public CCRGBAProtocol, public CCTextureProtocol {
public:
    CCAtlasNode() = default;
    ~CCAtlasNode() override;

    /// The texture-cache texture of `tileFile`, cut into items of the given size (the picture's
    /// width and height divided by them), with room for `capacity` quads. False (logged) when the
    /// image cannot be loaded, an item size is 0 or the atlas cannot be made.
    [[nodiscard]] bool initWithTileFile(const char* tileFile, uint32_t itemWidth, uint32_t itemHeight,
                                        uint32_t capacity);

    virtual CCTextureAtlas* getTextureAtlas() const { return m_textureAtlas; }
    virtual void setTextureAtlas(CCTextureAtlas* atlas);
    virtual uint32_t getQuadsToDraw() const { return m_quadsToDraw; }
    virtual void setQuadsToDraw(uint32_t count) { m_quadsToDraw = count; }
    /// Fills the quads; the base has none to fill.
    virtual void updateAtlasValues() {}

    void draw() override;
    CCRGBAProtocol* asRGBAProtocol() override { return this; }

    void setColor(const ccColor3B& color) override;
    ccColor3B getColor() override;
    uint8_t getOpacity() override { return m_opacity; }
    void setOpacity(uint8_t opacity) override;
    void setOpacityModifyRGB(bool value) override { m_opacityModifyRGB = value; }
    bool isOpacityModifyRGB() override { return m_opacityModifyRGB; }

    void setBlendFunc(const ccBlendFunc& blendFunc) override { m_blendFunc = blendFunc; }
    ccBlendFunc getBlendFunc() override { return m_blendFunc; }
    CCTexture2D* getTexture() override;
    void setTexture(CCTexture2D* texture) override;

    uint32_t getItemsPerRow() const { return m_itemsPerRow; }
    uint32_t getItemsPerColumn() const { return m_itemsPerColumn; }
    uint32_t getItemWidth() const { return m_itemWidth; }
    uint32_t getItemHeight() const { return m_itemHeight; }

protected:
    void updateBlendFunc();
    void updateOpacityModifyRGB();

    uint32_t m_itemsPerRow = 0;
    uint32_t m_itemsPerColumn = 0;
    uint32_t m_itemWidth = 0;
    uint32_t m_itemHeight = 0;
    ccColor3B m_colorUnmodified{255, 255, 255};
    CCTextureAtlas* m_textureAtlas = nullptr;
    bool m_opacityModifyRGB = false;
    ccBlendFunc m_blendFunc;
    uint8_t m_opacity = 255;
    ccColor3B m_color{255, 255, 255};
    uint32_t m_quadsToDraw = 0;
};

} // namespace kvengine
