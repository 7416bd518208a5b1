#pragma once
#include "engine/nodes/CCNode.h"
#include "engine/nodes/CCProtocols.h"
#include "engine/textures/CCQuad.h"

#include <cstdint>

namespace kvengine {

class CCSpriteBatchNode;
class CCSpriteFrame;
class CCTexture2D;
class CCTextureAtlas;

/// A node showing one rectangle of a texture (a whole image, a sheet frame, a font character,
/// a tile), kept as one ready quad.
///
/// A sprite draws itself, or, while it belongs to a CCSpriteBatchNode, lives as one quad of the
/// batch node's atlas. A simple batched sprite (directly under its batch node, not rotated or
/// skewed, visible, without children) writes a new position, scale or colour straight into its
/// atlas quad. Any other change marks the sprite dirty and queues it once on the batch node, which
/// asks the queued sprites to rebuild their quads (updateTransform) just before it draws them all
/// at once.
///
/// Ownership: the sprite retains its texture; the batch node and its atlas are weak links set
/// and cleared by the batch node. Units: rectangles in points and texels (see the accessors),
/// positions as in CCNode. Reports the class name "CCNode".
class CCSprite : public CCNode, public CCTextureProtocol, public CCRGBAProtocol {
public:
    /// The atlas index of a sprite that is in no atlas.
    static constexpr uint32_t kIndexNotInitialized = 0xFFFFFFFFu;
    /// Bits of setHonorParentTransform.
    enum HonorParentTransform : int {
        kHonorTranslate = 1,
        kHonorRotate = 2,
        kHonorScale = 4,
        kHonorSkew = 8,
        kHonorAll = 15,
    };

    /// A sprite of the whole image file (through the texture cache); null when it cannot load.
    static CCSprite* createWithFile(const char* file);
    /// A sprite of the whole texture; null for a null texture.
    static CCSprite* createWithTexture(CCTexture2D* texture);
    /// A sprite showing the frame; null (logged) for a null frame.
    static CCSprite* createWithSpriteFrame(CCSpriteFrame* frame);
    /// A sprite of the frame registered under `name` in the shared frame cache; null (logged)
    /// when there is none.
    static CCSprite* createWithSpriteFrameName(const char* name);

    CCSprite();
    ~CCSprite() override;

    // --- initialisation (each resets the sprite first) ---------------------------------------
    /// Resets to an empty, untextured, self-rendered white sprite; true.
    virtual bool init();
    /// `rect` in points; the texture may be null.
    bool initWithTextureRect(CCTexture2D* texture, const CCRect& rect);
    /// The whole texture; false (logged) for a null texture.
    [[nodiscard]] bool initWithTexture(CCTexture2D* texture);
    /// False (logged) when the texture cache cannot load the file.
    [[nodiscard]] bool initWithFile(const char* file);
    /// False (logged) for a null frame.
    [[nodiscard]] bool initWithSpriteFrame(CCSpriteFrame* frame);
    /// A sprite of the batch node's texture, drawn by it once added to it. `rect` in points.
    [[nodiscard]] bool initWithBatchNodeRect(CCSpriteBatchNode* batchNode, const CCRect& rect);
    /// The same with `rect` in pixels.
    [[nodiscard]] bool initWithBatchNodeRectInPixels(CCSpriteBatchNode* batchNode, const CCRect& rect);

    // --- rectangle and frames ----------------------------------------------------------------
    /// Shows `rect` (points) of the texture, not rotated, untrimmed.
    void setTextureRect(const CCRect& rect);
    /// Shows `rect` (texels); `rotated`: stored turned by 90 degrees; `untrimmedSize` becomes the
    /// content size in pixels.
    void setTextureRectInPixels(const CCRect& rect, bool rotated, const CCSize& untrimmedSize);
    /// Shows the frame (its texture too); a null frame is refused with a log line.
    void setDisplayFrame(CCSpriteFrame* frame);
    /// Same rectangle in points and same GL texture.
    bool isFrameDisplayed(CCSpriteFrame* frame) const;
    /// A new autoreleased frame of what the sprite shows.
    CCSpriteFrame* createDisplayedFrame();
    const CCRect& getTextureRect() const { return m_rect; }
    const CCRect& getTextureRectInPixels() const { return m_rectInPixels; }
    bool isTextureRectRotated() const { return m_rectRotated; }
    const CCPoint& getOffsetPositionInPixels() const { return m_offsetPositionInPixels; }
    void setFlipX(bool flip);
    bool isFlipX() const { return m_flipX; }
    void setFlipY(bool flip);
    bool isFlipY() const { return m_flipY; }
    /// The quad as it is drawn (self rendering) or was last written to the atlas.
    const ccV3F_C4B_T2F_Quad& getQuad() const { return m_quad; }

    // --- batch membership (driven by the batch node) -----------------------------------------
    void useBatchNode(CCSpriteBatchNode* batchNode);
    void useSelfRender();
    /// Rebuilds the quad from the transform chain up to the batch node and writes it to the
    /// atlas; does nothing unless the sprite is dirty.
    void updateTransform();
    virtual void setDirtyRecursively(bool value);
    bool isUsesBatchNode() const { return m_usesBatchNode; }
    CCSpriteBatchNode* getBatchNode() const { return m_batchNode; }
    CCTextureAtlas* getTextureAtlas() const { return m_textureAtlas; }
    void setTextureAtlas(CCTextureAtlas* atlas) { m_textureAtlas = atlas; }
    uint32_t getAtlasIndex() const { return m_atlasIndex; }
    void setAtlasIndex(uint32_t index) { m_atlasIndex = index; }
    bool isDirty() const { return m_dirty; }
    /// Plain store of the flag: the sprite is not queued (updateTransform follows at once).
    void setDirty(bool dirty) { m_dirty = dirty; }
    /// Marks the sprite dirty and queues it once on its batch node for the next draw.
    void queueForUpdate();
    /// The sprite's place on its batch node's queue, kIndexNotInitialized when not queued
    /// (driven by the batch node).
    uint32_t getUpdateSlot() const { return m_updateSlot; }
    void setUpdateSlot(uint32_t slot) { m_updateSlot = slot; }
    int getHonorParentTransform() const { return m_honorParentTransform; }
    void setHonorParentTransform(int bits) { m_honorParentTransform = bits; }

    // --- node overrides ----------------------------------------------------------------------
    void setVertexZ(float z) override;
    void setRotation(float degrees) override;
    void setScaleX(float scale) override;
    void setScaleY(float scale) override;
    void setScale(float scale) override;
    void setPosition(const CCPoint& position) override;
    void setPositionInPixels(const CCPoint& position) override;
    void setSkewX(float degrees) override;
    void setSkewY(float degrees) override;
    void setVisible(bool visible) override;
    void setAnchorPoint(const CCPoint& point) override;
    void setRelativeAnchorPoint(bool relative) override;
    /// Children of a batched sprite join the batch node's atlas; they must be sprites (others
    /// are refused with a log line).
    void addChildAtZWithTag(CCNode* child, int z, int tag) override;
    void addChildAtZ(CCNode* child, int z) override;
    void addChild(CCNode* child) override;
    void removeChild(CCNode* child, bool cleanup) override;
    void removeAllChildren(bool cleanup) override;
    void reorderChild(CCNode* child, int z) override;
    void draw() override;
    CCRGBAProtocol* asRGBAProtocol() override { return this; }

    // --- texture and blending ----------------------------------------------------------------
    void setBlendFunc(const ccBlendFunc& blendFunc) override { m_blendFunc = blendFunc; }
    ccBlendFunc getBlendFunc() override { return m_blendFunc; }
    CCTexture2D* getTexture() override { return m_texture; }
    /// Ignored while batched (the batch node's texture is used).
    void setTexture(CCTexture2D* texture) override;

    // --- colour ------------------------------------------------------------------------------
    void setColor(const ccColor3B& color) override;
    /// The colour as set (not premultiplied).
    ccColor3B getColor() override;
    uint8_t getOpacity() override { return m_opacity; }
    void setOpacity(uint8_t opacity) override;
    void setOpacityModifyRGB(bool value) override { m_opacityModifyRGB = value; }
    bool isOpacityModifyRGB() override { return m_opacityModifyRGB; }

protected:
    void updateBlendFunc();
    void updateTextureCoords(const CCRect& rectInPixels);
    void updateColor();
    /// Marks a batched sprite and its children dirty (once until the next quad update).
    void markBatchDirty();
    /// After a change of position or scale: a simple batched sprite rewrites its corners in the
    /// atlas at once, others are marked dirty.
    void positionChanged();
    /// Whether the sprite's quad follows from its own position, scale and anchor alone, and is
    /// in the atlas and up to date (see the class comment).
    bool isSimpleInBatch() const;
    /// The corners of an unrotated, unskewed sprite under its batch node into `quad`.
    void writeSimpleCorners(ccV3F_C4B_T2F_Quad& quad) const;
    /// The atlas quad of a sprite that is in its atlas; null otherwise.
    ccV3F_C4B_T2F_Quad* atlasQuad() const;
    /// Corner positions from the offset and the rectangle, for self rendering.
    void buildSelfQuadPositions();

    CCTextureAtlas* m_textureAtlas = nullptr;
    uint32_t m_atlasIndex = kIndexNotInitialized;
    CCSpriteBatchNode* m_batchNode = nullptr;
    int m_honorParentTransform = kHonorAll;
    bool m_dirty = false;
    uint32_t m_updateSlot = kIndexNotInitialized;
    bool m_recursiveDirty = false;
    bool m_hasChildren = false;
    ccBlendFunc m_blendFunc;
    CCTexture2D* m_texture = nullptr;
    bool m_usesBatchNode = false;
    CCRect m_rect;
    CCRect m_rectInPixels;
    bool m_rectRotated = false;
    CCPoint m_offsetPositionInPixels;
    CCPoint m_unflippedOffsetPositionFromCenter;
    ccV3F_C4B_T2F_Quad m_quad;
    uint8_t m_opacity = 255;
    ccColor3B m_color;
    ccColor3B m_colorUnmodified;
    bool m_opacityModifyRGB = true;
    bool m_flipX = false;
    bool m_flipY = false;

private:
    void writeDegenerateQuad();
};

} // namespace kvengine
