#pragma once

#include "game/environment/KVEnvLayer.h"

namespace kvengine {
class CCParticleSnow;
}

/// Drifting particles: a snow system along the bottom of the window, rising slowly, with the
/// picture "Environment/hawaii/<name>". Its particles grow when the camera zooms in.
class KVEnvLayerParticles : public KVEnvLayer {
public:
    CC_DECLARE_CLASS_NAME(KVEnvLayerParticles, KVEnvLayer)

    /// Points of particle size per unit of zoom step.
    static constexpr float kGrowthPerZoomStep = 5.0f;

    /// Needs "total_particles", "lifetime", "lifetime_variance", "size", "size_variance",
    /// "angle", "speed" and "speed_variance" ("angle_variance" is optional); false (logged)
    /// when one is missing, the count is not positive or the lifetime is not.
    [[nodiscard]] bool initWithDictionary(kvdata::Dict* dictionary) override;
    /// Start size += 5 x step.
    void updateLayer(float zoomStep) override;
    void cleanupBeforeDelete() override;

    kvengine::CCParticleSnow* getParticleSystem() const { return m_particles; }

private:
    kvengine::CCParticleSnow* m_particles = nullptr;
};
