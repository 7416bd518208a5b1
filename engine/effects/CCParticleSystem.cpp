#include "engine/effects/CCParticleSystem.h"

#include <cmath>
#include <cstdlib>
#include <cstring>
#include <new>

#include "engine/base/CCLog.h"
#include "engine/base/CCRandom.h"
#include "engine/director/CCDirector.h"
#include "engine/platform/CCGL.h"
#include "engine/textures/CCTexture2D.h"

namespace kvengine {

namespace {

constexpr float kPi = 3.14159265358979323846f;

float randomSpread() {
    return CCRandom::randomMinus1To1();
}

float clamp01(float value) {
    return value < 0.0f ? 0.0f : (value > 1.0f ? 1.0f : value);
}

float contentScale() {
    return CCDirector::sharedContentScaleFactor();
}

} // namespace

CCParticleSystem::~CCParticleSystem() {
    std::free(m_particles);
}

bool CCParticleSystem::isKindOf(const char* name) const {
    return (name != nullptr && std::strcmp(name, "CCParticleSystem") == 0) || CCNode::isKindOf(name);
}

bool CCParticleSystem::initWithTotalParticles(unsigned capacity) {
    m_totalParticles = capacity;
    std::free(m_particles);
    m_particles = nullptr;
    m_allocatedParticles = 0;
    m_particleCount = 0;
    if (capacity > 0) {
        m_particles = static_cast<CCParticle*>(std::calloc(capacity, sizeof(CCParticle)));
        if (m_particles == nullptr) {
            logDebugMessage("CCParticleSystem: no memory for %u particles", capacity);
            release();
            return false;
        }
        for (unsigned i = 0; i < capacity; ++i)
            new (&m_particles[i]) CCParticle();
    }
    m_allocatedParticles = capacity;
    m_active = true;
    m_blendFunc = ccBlendFunc{GL_ONE, GL_ONE_MINUS_SRC_ALPHA};
    m_positionType = kPositionTypeFree;
    m_emitterMode = kModeGravity;
    m_autoRemoveOnFinish = false;
    scheduleUpdateWithPriority(1);
    return true;
}

void CCParticleSystem::setTotalParticles(unsigned total) {
    if (total > m_allocatedParticles) {
        // The records are allocated once; emitting past them would write beyond the array.
        logDebugMessage("CCParticleSystem: %u particles asked, only %u allocated", total,
                        m_allocatedParticles);
        total = m_allocatedParticles;
    }
    m_totalParticles = total;
}

bool CCParticleSystem::isBlendAdditive() const {
    return m_blendFunc.src == GL_SRC_ALPHA && m_blendFunc.dst == GL_ONE;
}

void CCParticleSystem::setBlendAdditive(bool additive) {
    if (additive) {
        m_blendFunc = ccBlendFunc{GL_SRC_ALPHA, GL_ONE};
    } else if (m_texture == nullptr || m_texture->hasPremultipliedAlpha()) {
        m_blendFunc = ccBlendFunc{GL_ONE, GL_ONE_MINUS_SRC_ALPHA};
    } else {
        m_blendFunc = ccBlendFunc{GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA};
    }
}

void CCParticleSystem::setTexture(CCTexture2D* texture) {
    m_texture = texture;
    if (texture != nullptr && !texture->hasPremultipliedAlpha() && m_blendFunc.src == GL_ONE &&
        m_blendFunc.dst == GL_ONE_MINUS_SRC_ALPHA)
        m_blendFunc = ccBlendFunc{GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA};
}

void CCParticleSystem::updateQuadWithParticle(CCParticle*, const CCPoint&) {}

void CCParticleSystem::resetSystem() {
    m_active = true;
    m_elapsed = 0;
    for (unsigned i = 0; i < m_particleCount; ++i)
        m_particles[i].timeToLive = 0;
}

void CCParticleSystem::stopEmission() {
    m_active = false;
    m_elapsed = m_duration;
    m_emitCounter = 0;
}

bool CCParticleSystem::emitParticle() {
    if (isAtCapacity() || m_particleCount >= m_allocatedParticles) return false;
    initParticle(&m_particles[m_particleCount]);
    ++m_particleCount;
    return true;
}

CCPoint CCParticleSystem::currentEmitterPosition() {
    float s = contentScale();
    if (m_positionType == kPositionTypeFree) {
        CCPoint world = convertToWorldSpace(CCPointZero);
        return CCPoint(world.x * s, world.y * s);
    }
    if (m_positionType == kPositionTypeRelative) {
        CCPoint position = getPosition();
        return CCPoint(position.x * s, position.y * s);
    }
    return CCPointZero;
}

void CCParticleSystem::initParticle(CCParticle* particle) {
    const float s = contentScale();
    particle->timeToLive = std::fmax(0.0f, m_life + m_lifeVar * randomSpread());

    particle->pos.x = (m_sourcePosition.x + m_posVar.x * randomSpread()) * s;
    particle->pos.y = (m_sourcePosition.y + m_posVar.y * randomSpread()) * s;

    ccColor4F start, end;
    start.r = clamp01(m_startColor.r + m_startColorVar.r * randomSpread());
    start.g = clamp01(m_startColor.g + m_startColorVar.g * randomSpread());
    start.b = clamp01(m_startColor.b + m_startColorVar.b * randomSpread());
    start.a = clamp01(m_startColor.a + m_startColorVar.a * randomSpread());
    end.r = clamp01(m_endColor.r + m_endColorVar.r * randomSpread());
    end.g = clamp01(m_endColor.g + m_endColorVar.g * randomSpread());
    end.b = clamp01(m_endColor.b + m_endColorVar.b * randomSpread());
    end.a = clamp01(m_endColor.a + m_endColorVar.a * randomSpread());
    const float life = particle->timeToLive;
    particle->color = start;
    particle->deltaColor.r = (end.r - start.r) / life;
    particle->deltaColor.g = (end.g - start.g) / life;
    particle->deltaColor.b = (end.b - start.b) / life;
    particle->deltaColor.a = (end.a - start.a) / life;

    float startSize = std::fmax(0.0f, m_startSize + m_startSizeVar * randomSpread()) * s;
    particle->size = startSize;
    if (m_endSize == kStartSizeEqualToEndSize) {
        particle->deltaSize = 0;
    } else {
        float endSize = std::fmax(0.0f, m_endSize + m_endSizeVar * randomSpread()) * s;
        particle->deltaSize = (endSize - startSize) / life;
    }

    float startSpin = m_startSpin + m_startSpinVar * randomSpread();
    float endSpin = m_endSpin + m_endSpinVar * randomSpread();
    particle->rotation = startSpin;
    particle->deltaRotation = (endSpin - startSpin) / life;

    if (m_positionType != kPositionTypeGrouped) particle->startPos = currentEmitterPosition();

    float a = (m_angle + m_angleVar * randomSpread()) * kPi / 180.0f;
    if (m_emitterMode == kModeGravity) {
        float speed = (m_speed + m_speedVar * randomSpread()) * s;
        particle->dir = CCPoint(std::cos(a) * speed, std::sin(a) * speed);
        particle->radialAccel = (m_radialAccel + m_radialAccelVar * randomSpread()) * s;
        particle->tangentialAccel = (m_tangentialAccel + m_tangentialAccelVar * randomSpread()) * s;
    } else {
        float startRadius = (m_startRadius + m_startRadiusVar * randomSpread()) * s;
        float endRadius = (m_endRadius + m_endRadiusVar * randomSpread()) * s;
        particle->radius = startRadius;
        particle->deltaRadius =
            m_endRadius == kStartRadiusEqualToEndRadius ? 0.0f : (endRadius - startRadius) / life;
        particle->angle = a;
        particle->degreesPerSecond =
            (m_rotatePerSecond + m_rotatePerSecondVar * randomSpread()) * kPi / 180.0f;
    }
}

void CCParticleSystem::update(float dt) {
    if (m_active && m_emissionRate != 0.0f) {
        float rate = 1.0f / m_emissionRate;
        m_emitCounter += dt;
        while (m_particleCount < m_totalParticles && m_particleCount < m_allocatedParticles &&
               m_emitCounter > rate) {
            emitParticle();
            m_emitCounter -= rate;
        }
        m_elapsed += dt;
        if (m_duration != kDurationInfinity && m_duration < m_elapsed) stopEmission();
    }

    m_particleIdx = 0;
    const CCPoint current = currentEmitterPosition();

    while (m_particleIdx < m_particleCount) {
        CCParticle* p = &m_particles[m_particleIdx];
        p->timeToLive -= dt;
        if (p->timeToLive > 0.0f) {
            if (m_emitterMode == kModeGravity) {
                CCPoint n;
                float length = std::sqrt(p->pos.x * p->pos.x + p->pos.y * p->pos.y);
                if (length != 0.0f) n = CCPoint(p->pos.x / length, p->pos.y / length);
                CCPoint radial(n.x * p->radialAccel, n.y * p->radialAccel);
                CCPoint tangential(-n.y * p->tangentialAccel, n.x * p->tangentialAccel);
                p->dir.x += (radial.x + tangential.x + m_gravity.x) * dt;
                p->dir.y += (radial.y + tangential.y + m_gravity.y) * dt;
                p->pos.x += p->dir.x * dt;
                p->pos.y += p->dir.y * dt;
            } else {
                p->angle += p->degreesPerSecond * dt;
                p->radius += p->deltaRadius * dt;
                p->pos.x = -std::cos(p->angle) * p->radius;
                p->pos.y = -std::sin(p->angle) * p->radius;
            }
            p->color.r += p->deltaColor.r * dt;
            p->color.g += p->deltaColor.g * dt;
            p->color.b += p->deltaColor.b * dt;
            p->color.a += p->deltaColor.a * dt;
            p->size = std::fmax(0.0f, p->size + p->deltaSize * dt);
            p->rotation += p->deltaRotation * dt;

            CCPoint drawAt = p->pos;
            if (m_positionType == kPositionTypeFree || m_positionType == kPositionTypeRelative) {
                drawAt.x = p->pos.x - (current.x - p->startPos.x);
                drawAt.y = p->pos.y - (current.y - p->startPos.y);
            }
            updateQuadWithParticle(p, drawAt);
            ++m_particleIdx;
        } else {
            // Keep the live particles packed at the front: the last one takes this place and is
            // processed next, at the same index.
            if (m_particleIdx != m_particleCount - 1)
                m_particles[m_particleIdx] = m_particles[m_particleCount - 1];
            --m_particleCount;
            if (m_particleCount == 0 && m_autoRemoveOnFinish) {
                unscheduleUpdate();
                removeFromParent(true);
                return;
            }
        }
    }
    postStep();
}

} // namespace kvengine
