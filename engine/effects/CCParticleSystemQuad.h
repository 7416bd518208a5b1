#pragma once

#include <cstdint>

#include "engine/effects/CCParticleSystem.h"
#include "engine/textures/CCQuad.h"

namespace kvengine {

/// A particle vertex: position in pixels, colour, texture coordinates; 20 bytes, the GL stride.
struct ccV2F_C4B_T2F {
    float x = 0, y = 0;
    ccColor4B colors;
    ccTex2F texCoords;
};

/// A particle's square: bottom-left, bottom-right, top-left, top-right.
struct ccV2F_C4B_T2F_Quad {
    ccV2F_C4B_T2F bl;
    ccV2F_C4B_T2F br;
    ccV2F_C4B_T2F tl;
    ccV2F_C4B_T2F tr;
};

static_assert(sizeof(ccV2F_C4B_T2F) == 20, "a particle vertex is 20 bytes, the GL stride");

/// Draws every live particle as one textured, coloured, rotated square, all in one
/// glDrawElements call. Capacity is limited to kMaxParticles by the 16-bit indices.
class CCParticleSystemQuad : public CCParticleSystem {
public:
    static constexpr unsigned kMaxParticles = 16384;

    CCParticleSystemQuad() = default;
    ~CCParticleSystemQuad() override;

    const char* className() const override { return "CCParticleSystemQuad"; }
    bool isKindOf(const char* name) const override;

    /// As the base, plus quads and indices; a capacity above kMaxParticles is refused (logged,
    /// the system releases itself and false is returned).
    [[nodiscard]] bool initWithTotalParticles(unsigned capacity) override;
    void updateQuadWithParticle(CCParticle* particle, const CCPoint& p) override;
    void postStep() override {}
    /// Uses the whole texture (its content size in points).
    void setTexture(CCTexture2D* texture) override;
    /// Uses the given part of the texture; rect in points.
    void setTextureAndRect(CCTexture2D* texture, const CCRect& rect);
    void initTexCoordsWithRect(const CCRect& rect);
    /// Draws the first particle-index quads. Without a texture the squares are drawn untextured.
    void draw() override;

    const ccV2F_C4B_T2F_Quad* quads() const { return m_quads; }
    const std::uint16_t* indices() const { return m_indices; }

private:
    void fillIndices();

    ccV2F_C4B_T2F_Quad* m_quads = nullptr;
    std::uint16_t* m_indices = nullptr;
};

} // namespace kvengine
