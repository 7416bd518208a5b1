#pragma once
#include "engine/nodes/CCNode.h"
#include "engine/nodes/CCProtocols.h"

#include <cstdint>
#include <vector>

namespace kvengine {

class CCArray;
class CCSprite;
class CCTexture2D;
class CCTextureAtlas;

/// Draws every sprite below it (children, their children, any depth) from one texture atlas in
/// one GL call.
///
/// Invariant: the descendants array lists every batched sprite in drawing order (a sprite's
/// children with negative z before it, the others after it), and the sprite at position i has
/// atlas index i and quad i. Every child must be a CCSprite of this node's texture; others are
/// refused with a log line. Ownership: the node owns its atlas and retains its descendants.
/// Reports the class name "CCNode".
class CCSpriteBatchNode : public CCNode, public CCTextureProtocol {
public:
    static constexpr uint32_t kDefaultCapacity = 29;

    /// A batch node over the texture-cache texture of `file`; null when the image cannot load.
    static CCSpriteBatchNode* createWithFile(const char* file, uint32_t capacity = kDefaultCapacity);
    /// Null for a null texture.
    static CCSpriteBatchNode* createWithTexture(CCTexture2D* texture, uint32_t capacity = kDefaultCapacity);

    CCSpriteBatchNode() = default;
    ~CCSpriteBatchNode() override;

    /// False (logged) without a texture or when the atlas cannot be made.
    [[nodiscard]] bool initWithTexture(CCTexture2D* texture, uint32_t capacity);
    [[nodiscard]] bool initWithFile(const char* file, uint32_t capacity);

    CCTextureAtlas* getTextureAtlas() const { return m_textureAtlas; }
    /// Every batched sprite in atlas order (not retained for the caller); may be null before init.
    CCArray* getDescendants() const { return m_descendants; }

    // --- atlas bookkeeping (also used by batched sprites) ------------------------------------
    /// Puts the sprite (and its children) into the atlas at `index`, shifting later sprites.
    void insertSpriteIntoAtlas(CCSprite* sprite, uint32_t index);
    /// Takes the sprite (and its children) out of the atlas; it draws itself again.
    void removeSpriteFromAtlas(CCSprite* sprite);
    /// The atlas index a sprite just placed among its parent's children at z order `z` takes.
    uint32_t computeAtlasIndexForChild(CCSprite* sprite, int z);
    /// The largest atlas index in the sprite's branch.
    uint32_t highestAtlasIndexInChild(CCSprite* sprite);
    /// The smallest atlas index in the sprite's branch.
    uint32_t lowestAtlasIndexInChild(CCSprite* sprite);
    /// Grows the atlas by a third, (capacity + 1) x 4 / 3, at most to the atlas's maximum. False
    /// (logged) when it cannot grow.
    bool increaseAtlasCapacity();
    /// Tile layers: puts the sprite's transformed quad at `index` without making it a child.
    void insertQuadFromSprite(CCSprite* sprite, uint32_t index);
    /// Puts a dirty sprite of this batch node on the queue that `draw` updates (once: the sprite
    /// keeps its place on the queue).
    void queueSpriteForUpdate(CCSprite* sprite);
    /// Takes a sprite off the queue (a sprite leaving the batch node or going away).
    void forgetQueuedSprite(CCSprite* sprite);
    /// Sprites waiting for their quads to be rebuilt.
    size_t getQueuedSpriteCount() const { return m_updateQueue.size(); }

    // --- node overrides ----------------------------------------------------------------------
    void addChildAtZWithTag(CCNode* child, int z, int tag) override;
    void addChildAtZ(CCNode* child, int z) override;
    void addChild(CCNode* child) override;
    void removeChild(CCNode* child, bool cleanup) override;
    void removeAllChildren(bool cleanup) override;
    void reorderChild(CCNode* child, int z) override;
    /// Refreshes the queued (dirty) sprites, then draws all quads in use; nothing when there are
    /// none.
    void draw() override;
    /// Draws the atlas under this node's transform; the children are not visited.
    void visit() override;

    // --- texture and blending ----------------------------------------------------------------
    void setBlendFunc(const ccBlendFunc& blendFunc) override { m_blendFunc = blendFunc; }
    ccBlendFunc getBlendFunc() override { return m_blendFunc; }
    CCTexture2D* getTexture() override;
    void setTexture(CCTexture2D* texture) override;

protected:
    void updateBlendFunc();
    /// Shifts the atlas indices of the descendants from `position` on by `delta`.
    void shiftDescendantIndices(unsigned position, int delta);

    CCTextureAtlas* m_textureAtlas = nullptr;
    ccBlendFunc m_blendFunc;
    CCArray* m_descendants = nullptr;
    /// Dirty sprites; each knows its place here (CCSprite::getUpdateSlot), so leaving is O(1).
    std::vector<CCSprite*> m_updateQueue;
};

} // namespace kvengine
