#pragma once

// A node that emits, moves and retires up to a fixed number of particles. The simulation runs in
// the scheduler's per-frame update; drawing is left to subclasses (CCParticleSystemQuad).
//
// Units: configuration in points, seconds and degrees as each accessor says; particle records in
// pixels (points x the director's content scale factor). Every spread v applies q + v x r with a
// fresh r in [-1, 1] from the engine's seedable random source, so a seeded run repeats exactly.

#include <cstdint>

#include "engine/base/CCRetained.h"
#include "engine/nodes/CCNode.h"
#include "engine/nodes/CCProtocols.h"

namespace kvengine {

class CCTexture2D;

/// A colour with float channels in 0..1.
struct ccColor4F {
    float r = 0, g = 0, b = 0, a = 0;
};

/// One live particle; every length in pixels.
struct CCParticle {
    CCPoint pos;
    CCPoint startPos;
    ccColor4F color;
    ccColor4F deltaColor; ///< per second
    float size = 0;
    float deltaSize = 0; ///< per second
    float rotation = 0;  ///< degrees
    float deltaRotation = 0;
    float timeToLive = 0; ///< seconds
    // Gravity mode
    CCPoint dir; ///< velocity, pixels per second
    float radialAccel = 0;
    float tangentialAccel = 0;
    // Radius mode
    float angle = 0;            ///< radians
    float degreesPerSecond = 0; ///< radians per second
    float radius = 0;
    float deltaRadius = 0;
};

#define CC_PARTICLE_PROPERTY(Type, member, Getter, Setter)                                                   \
    virtual Type Getter() const {                                                                            \
        return member;                                                                                       \
    }                                                                                                        \
    virtual void Setter(Type value) {                                                                        \
        member = value;                                                                                      \
    }

class CCParticleSystem : public CCNode, public CCTextureProtocol {
public:
    enum { kPositionTypeFree = 0, kPositionTypeRelative = 1, kPositionTypeGrouped = 2 };
    enum { kModeGravity = 0, kModeRadius = 1 };
    /// Duration that never runs out.
    static constexpr float kDurationInfinity = -1.0f;
    /// End size / end radius that keeps the start value.
    static constexpr float kStartSizeEqualToEndSize = -1.0f;
    static constexpr float kStartRadiusEqualToEndRadius = -1.0f;

    CCParticleSystem() = default;
    ~CCParticleSystem() override;

    const char* className() const override { return "CCParticleSystem"; }
    bool isKindOf(const char* name) const override;

    virtual bool isActive() const { return m_active; }
    virtual unsigned getParticleCount() const { return m_particleCount; }
    CC_PARTICLE_PROPERTY(float, m_duration, getDuration, setDuration)
    CC_PARTICLE_PROPERTY(CCPoint, m_sourcePosition, getSourcePosition, setSourcePosition)
    CC_PARTICLE_PROPERTY(CCPoint, m_posVar, getPosVar, setPosVar)
    CC_PARTICLE_PROPERTY(float, m_life, getLife, setLife)
    CC_PARTICLE_PROPERTY(float, m_lifeVar, getLifeVar, setLifeVar)
    CC_PARTICLE_PROPERTY(float, m_angle, getAngle, setAngle)
    CC_PARTICLE_PROPERTY(float, m_angleVar, getAngleVar, setAngleVar)
    CC_PARTICLE_PROPERTY(CCPoint, m_gravity, getGravity, setGravity)
    CC_PARTICLE_PROPERTY(float, m_speed, getSpeed, setSpeed)
    CC_PARTICLE_PROPERTY(float, m_speedVar, getSpeedVar, setSpeedVar)
    CC_PARTICLE_PROPERTY(float, m_tangentialAccel, getTangentialAccel, setTangentialAccel)
    CC_PARTICLE_PROPERTY(float, m_tangentialAccelVar, getTangentialAccelVar, setTangentialAccelVar)
    CC_PARTICLE_PROPERTY(float, m_radialAccel, getRadialAccel, setRadialAccel)
    CC_PARTICLE_PROPERTY(float, m_radialAccelVar, getRadialAccelVar, setRadialAccelVar)
    CC_PARTICLE_PROPERTY(float, m_startRadius, getStartRadius, setStartRadius)
    CC_PARTICLE_PROPERTY(float, m_startRadiusVar, getStartRadiusVar, setStartRadiusVar)
    CC_PARTICLE_PROPERTY(float, m_endRadius, getEndRadius, setEndRadius)
    CC_PARTICLE_PROPERTY(float, m_endRadiusVar, getEndRadiusVar, setEndRadiusVar)
    CC_PARTICLE_PROPERTY(float, m_rotatePerSecond, getRotatePerSecond, setRotatePerSecond)
    CC_PARTICLE_PROPERTY(float, m_rotatePerSecondVar, getRotatePerSecondVar, setRotatePerSecondVar)
    CC_PARTICLE_PROPERTY(float, m_startSize, getStartSize, setStartSize)
    CC_PARTICLE_PROPERTY(float, m_startSizeVar, getStartSizeVar, setStartSizeVar)
    CC_PARTICLE_PROPERTY(float, m_endSize, getEndSize, setEndSize)
    CC_PARTICLE_PROPERTY(float, m_endSizeVar, getEndSizeVar, setEndSizeVar)
    CC_PARTICLE_PROPERTY(ccColor4F, m_startColor, getStartColor, setStartColor)
    CC_PARTICLE_PROPERTY(ccColor4F, m_startColorVar, getStartColorVar, setStartColorVar)
    CC_PARTICLE_PROPERTY(ccColor4F, m_endColor, getEndColor, setEndColor)
    CC_PARTICLE_PROPERTY(ccColor4F, m_endColorVar, getEndColorVar, setEndColorVar)
    CC_PARTICLE_PROPERTY(float, m_startSpin, getStartSpin, setStartSpin)
    CC_PARTICLE_PROPERTY(float, m_startSpinVar, getStartSpinVar, setStartSpinVar)
    CC_PARTICLE_PROPERTY(float, m_endSpin, getEndSpin, setEndSpin)
    CC_PARTICLE_PROPERTY(float, m_endSpinVar, getEndSpinVar, setEndSpinVar)
    CC_PARTICLE_PROPERTY(float, m_emissionRate, getEmissionRate, setEmissionRate)
    virtual unsigned getTotalParticles() const { return m_totalParticles; }
    /// Changes the emission limit only; it cannot go above the capacity given at initialisation
    /// (a larger value is clamped, with a log line), since the storage is never enlarged.
    virtual void setTotalParticles(unsigned total);
    virtual bool isBlendAdditive() const;
    /// True: (GL_SRC_ALPHA, GL_ONE). False: (GL_ONE, GL_ONE_MINUS_SRC_ALPHA) without a texture or
    /// with a premultiplied one, else (GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA).
    virtual void setBlendAdditive(bool additive);
    CC_PARTICLE_PROPERTY(int, m_positionType, getPositionType, setPositionType)
    CC_PARTICLE_PROPERTY(bool, m_autoRemoveOnFinish, isAutoRemoveOnFinish, setAutoRemoveOnFinish)
    CC_PARTICLE_PROPERTY(int, m_emitterMode, getEmitterMode, setEmitterMode)

    /// Allocates storage for capacity particles and schedules the update (priority 1).
    /// On allocation failure the system releases itself and returns false: the caller must not
    /// touch it afterwards.
    [[nodiscard]] virtual bool initWithTotalParticles(unsigned capacity);
    /// Writes the drawable form of the particle at the current particle index; p in pixels.
    virtual void updateQuadWithParticle(CCParticle* particle, const CCPoint& p);
    /// Called at the end of every update that did not remove the system.
    virtual void postStep() {}

    void update(float dt) override;

    void resetSystem();
    void stopEmission();
    /// False at the emission limit; otherwise sets up one new particle at the end of the live ones.
    bool emitParticle();
    bool isAtCapacity() const { return m_particleCount >= m_totalParticles; }

    void setBlendFunc(const ccBlendFunc& blendFunc) override { m_blendFunc = blendFunc; }
    ccBlendFunc getBlendFunc() override { return m_blendFunc; }
    CCTexture2D* getTexture() override { return m_texture; }
    /// Retains the new texture and releases the old; a texture without premultiplied alpha turns
    /// the default blend into (GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA).
    void setTexture(CCTexture2D* texture) override;

    /// The live particles (getParticleCount() of them), for inspection.
    const CCParticle* particles() const { return m_particles; }
    float getElapsed() const { return m_elapsed; }
    /// Number of particle records allocated at initialisation.
    unsigned getAllocatedParticles() const { return m_allocatedParticles; }

protected:
    void initParticle(CCParticle* particle);
    CCPoint currentEmitterPosition();

    float m_elapsed = 0;
    CCPoint m_gravity;
    float m_speed = 0, m_speedVar = 0;
    float m_tangentialAccel = 0, m_tangentialAccelVar = 0;
    float m_radialAccel = 0, m_radialAccelVar = 0;
    float m_startRadius = 0, m_startRadiusVar = 0;
    float m_endRadius = 0, m_endRadiusVar = 0;
    float m_rotatePerSecond = 0, m_rotatePerSecondVar = 0;
    CCParticle* m_particles = nullptr;
    float m_emitCounter = 0;
    unsigned m_particleIdx = 0;
    bool m_active = true;
    unsigned m_particleCount = 0;
    float m_duration = 0;
    CCPoint m_sourcePosition;
    CCPoint m_posVar;
    float m_life = 0, m_lifeVar = 0;
    float m_angle = 0, m_angleVar = 0;
    float m_startSize = 0, m_startSizeVar = 0;
    float m_endSize = 0, m_endSizeVar = 0;
    ccColor4F m_startColor, m_startColorVar, m_endColor, m_endColorVar;
    float m_startSpin = 0, m_startSpinVar = 0;
    float m_endSpin = 0, m_endSpinVar = 0;
    float m_emissionRate = 0;
    unsigned m_totalParticles = 0;
    unsigned m_allocatedParticles = 0;
    CCRetained<CCTexture2D> m_texture;
    ccBlendFunc m_blendFunc;
    int m_positionType = kPositionTypeFree;
    bool m_autoRemoveOnFinish = false;
    int m_emitterMode = kModeGravity;
};

#undef CC_PARTICLE_PROPERTY

} // namespace kvengine
