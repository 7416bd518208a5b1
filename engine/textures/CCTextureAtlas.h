#pragma once

#include "engine/base/CCObject.h"
#include "engine/textures/CCQuad.h"

#include <cstdint>

namespace kvengine {

class CCTexture2D;

/// Many quads of one texture in one array, drawn with one indexed GL call.
///
/// Quads 0 to `getTotalQuads()` - 1 are in use; the capacity is what is allocated. The atlas
/// knows nothing of sprites: its owner keeps the indices consistent. Indices outside the
/// capacity (or, for insertion, past the quads in use or into a full atlas) are refused with a
/// log line instead of writing outside the buffers. 16-bit vertex indices limit the capacity to
/// `kMaxCapacity` quads. The texture is retained. Main thread only (GL).
class CCTextureAtlas : public CCObject {
public:
    CC_DECLARE_CLASS_NAME(CCTextureAtlas, CCObject)

    static constexpr uint32_t kMaxCapacity = 16384;

    CCTextureAtlas() = default;
    ~CCTextureAtlas() override;

    /// Allocates room for `capacity` quads (none in use) and retains the texture (may be null).
    /// False, with an empty atlas, when the buffers cannot be had or the capacity is too large.
    [[nodiscard]] bool initWithTexture(CCTexture2D* texture, uint32_t capacity);

    uint32_t getTotalQuads() const { return m_totalQuads; }
    uint32_t getCapacity() const { return m_capacity; }
    CCTexture2D* getTexture() const { return m_texture; }
    /// Retains the new texture, then releases the old one.
    void setTexture(CCTexture2D* texture);
    ccV3F_C4B_T2F_Quad* getQuads() const { return m_quads; }
    /// Replaces the quad array: the atlas takes `quads` (allocated with malloc/calloc, holding
    /// `getCapacity()` quads) and frees the array it had.
    void setQuads(ccV3F_C4B_T2F_Quad* quads);
    /// The 6 vertex indices of every quad of the capacity.
    const uint16_t* getIndices() const { return m_indices; }

    /// Copies the quad to `index`; quads in use become at least index + 1.
    void updateQuad(const ccV3F_C4B_T2F_Quad& quad, uint32_t index);
    /// Moves the quads from `index` on up by one and copies the quad to `index`.
    void insertQuad(const ccV3F_C4B_T2F_Quad& quad, uint32_t index);
    /// Moves the quads after `index` down by one.
    void removeQuadAtIndex(uint32_t index);
    void removeAllQuads() { m_totalQuads = 0; }
    /// Reallocates to `capacity` quads (quads in use cut to it; new quads not cleared). A
    /// capacity above `kMaxCapacity` is refused and changes nothing; a failed allocation leaves
    /// an empty atlas. Returns whether the atlas now has the capacity.
    bool resizeCapacity(uint32_t capacity);

    /// Binds the texture and draws the first `count` quads (at most the capacity) with the client
    /// arrays and blend state the caller has set up.
    void drawQuads(uint32_t count);
    void drawAllQuads() { drawQuads(m_totalQuads); }

private:
    void fillIndices();
    void freeBuffers();

    uint16_t* m_indices = nullptr;
    uint32_t m_totalQuads = 0;
    uint32_t m_capacity = 0;
    CCTexture2D* m_texture = nullptr;
    ccV3F_C4B_T2F_Quad* m_quads = nullptr;
};

} // namespace kvengine
