#pragma once

// Ready-made particle systems. Each one is a quad system whose initWithTotalParticles writes a
// fixed configuration after the quad system's own initialisation; none sets a texture. Presets
// that use the window size read it at initialisation.

#include "engine/effects/CCParticleSystemQuad.h"

namespace kvengine {

#define CC_PARTICLE_PRESET(Name)                                                                             \
    class Name : public CCParticleSystemQuad {                                                               \
    public:                                                                                                  \
        const char* className() const override { return #Name; }                                             \
        bool isKindOf(const char* name) const override {                                                     \
            return (name != nullptr && std::strcmp(name, #Name) == 0) ||                                     \
                   CCParticleSystemQuad::isKindOf(name);                                                     \
        }                                                                                                    \
        [[nodiscard]] bool initWithTotalParticles(unsigned capacity) override;                               \
    };

/// Slow white flakes falling from just above the window over its whole width, fading out.
CC_PARTICLE_PRESET(CCParticleSnow)
CC_PARTICLE_PRESET(CCParticleDownpour)
CC_PARTICLE_PRESET(CCParticleHaze)
CC_PARTICLE_PRESET(CCParticleBurst)
CC_PARTICLE_PRESET(CCParticleSwirl)
CC_PARTICLE_PRESET(CCParticleComet)
CC_PARTICLE_PRESET(CCParticleBloom)
CC_PARTICLE_PRESET(CCParticleWhirl)
CC_PARTICLE_PRESET(CCParticleGlow)
CC_PARTICLE_PRESET(CCParticleFountain)
CC_PARTICLE_PRESET(CCParticleFlame)

#undef CC_PARTICLE_PRESET

} // namespace kvengine
