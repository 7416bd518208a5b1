#include "engine/effects/CCParticleSystemQuad.h"

#include <cmath>
#include <cstdlib>
#include <cstring>

#include "engine/base/CCLog.h"
#include "engine/director/CCDirector.h"
#include "engine/platform/CCGL.h"
#include "engine/textures/CCTexture2D.h"

namespace kvengine {

namespace {

std::uint8_t colorByte(float component) {
    float value = component * 255.0f;
    // The colour drifts past 0..1 on the last frame of a life; keep the byte in range.
    if (!(value > 0.0f)) return 0;
    if (value >= 255.0f) return 255;
    return static_cast<std::uint8_t>(value);
}

} // namespace

CCParticleSystemQuad::~CCParticleSystemQuad() {
    std::free(m_quads);
    std::free(m_indices);
}

bool CCParticleSystemQuad::isKindOf(const char* name) const {
    return (name != nullptr && std::strcmp(name, "CCParticleSystemQuad") == 0) ||
           CCParticleSystem::isKindOf(name);
}

bool CCParticleSystemQuad::initWithTotalParticles(unsigned capacity) {
    if (capacity > kMaxParticles) {
        logDebugMessage("CCParticleSystemQuad: capacity %u above the %u that 16-bit indices reach", capacity,
                        kMaxParticles);
        release();
        return false;
    }
    if (!CCParticleSystem::initWithTotalParticles(capacity)) return false;
    std::free(m_quads);
    std::free(m_indices);
    unsigned count = capacity > 0 ? capacity : 1;
    m_quads = static_cast<ccV2F_C4B_T2F_Quad*>(std::calloc(count, sizeof(ccV2F_C4B_T2F_Quad)));
    m_indices = static_cast<std::uint16_t*>(std::calloc(count * 6, sizeof(std::uint16_t)));
    if (m_quads == nullptr || m_indices == nullptr) {
        logDebugMessage("CCParticleSystemQuad: no memory for %u quads", capacity);
        std::free(m_quads);
        std::free(m_indices);
        m_quads = nullptr;
        m_indices = nullptr;
        release();
        return false;
    }
    if (m_texture != nullptr) {
        initTexCoordsWithRect(CCRect(0, 0, static_cast<float>(m_texture->getPixelsWide()),
                                     static_cast<float>(m_texture->getPixelsHigh())));
    } else {
        initTexCoordsWithRect(CCRect(0, 0, 1, 1));
    }
    fillIndices();
    return true;
}

void CCParticleSystemQuad::fillIndices() {
    for (unsigned i = 0; i < m_allocatedParticles; ++i) {
        const auto base = static_cast<std::uint16_t>(i * 4);
        std::uint16_t* out = m_indices + i * 6;
        out[0] = base;
        out[1] = static_cast<std::uint16_t>(base + 1);
        out[2] = static_cast<std::uint16_t>(base + 2);
        out[3] = static_cast<std::uint16_t>(base + 3);
        out[4] = static_cast<std::uint16_t>(base + 2);
        out[5] = static_cast<std::uint16_t>(base + 1);
    }
}

void CCParticleSystemQuad::initTexCoordsWithRect(const CCRect& pointRect) {
    if (m_quads == nullptr) return;
    const float s = CCDirector::sharedContentScaleFactor();
    CCRect rect(pointRect.origin.x * s, pointRect.origin.y * s, pointRect.size.width * s,
                pointRect.size.height * s);
    float wide = pointRect.size.width;
    float high = pointRect.size.height;
    if (m_texture != nullptr) {
        wide = static_cast<float>(m_texture->getPixelsWide());
        high = static_cast<float>(m_texture->getPixelsHigh());
    }
    if (wide == 0.0f || high == 0.0f) return;
    float left = rect.origin.x / wide;
    float bottom = rect.origin.y / high;
    float right = left + rect.size.width / wide;
    float top = bottom + rect.size.height / high;
    // The picture's first row goes to the top of the square.
    for (unsigned i = 0; i < m_allocatedParticles; ++i) {
        m_quads[i].bl.texCoords = ccTex2F{left, top};
        m_quads[i].br.texCoords = ccTex2F{right, top};
        m_quads[i].tl.texCoords = ccTex2F{left, bottom};
        m_quads[i].tr.texCoords = ccTex2F{right, bottom};
    }
}

void CCParticleSystemQuad::setTexture(CCTexture2D* texture) {
    CCSize size = texture != nullptr ? texture->getContentSize() : CCSize();
    setTextureAndRect(texture, CCRect(0, 0, size.width, size.height));
}

void CCParticleSystemQuad::setTextureAndRect(CCTexture2D* texture, const CCRect& rect) {
    if (texture != m_texture) CCParticleSystem::setTexture(texture);
    initTexCoordsWithRect(rect);
}

void CCParticleSystemQuad::updateQuadWithParticle(CCParticle* particle, const CCPoint& p) {
    if (m_quads == nullptr || m_particleIdx >= m_allocatedParticles) return;
    ccV2F_C4B_T2F_Quad& quad = m_quads[m_particleIdx];
    ccColor4B color{colorByte(particle->color.r), colorByte(particle->color.g), colorByte(particle->color.b),
                    colorByte(particle->color.a)};
    quad.bl.colors = quad.br.colors = quad.tl.colors = quad.tr.colors = color;

    const float h = particle->size / 2;
    if (particle->rotation != 0.0f) {
        const float t = -particle->rotation * 3.14159265358979323846f / 180.0f;
        const float c = std::cos(t), d = std::sin(t);
        auto corner = [&](ccV2F_C4B_T2F& v, float x1, float y1) {
            v.x = x1 * c - y1 * d + p.x;
            v.y = x1 * d + y1 * c + p.y;
        };
        corner(quad.bl, -h, -h);
        corner(quad.br, h, -h);
        corner(quad.tl, -h, h);
        corner(quad.tr, h, h);
    } else {
        quad.bl.x = p.x - h;
        quad.bl.y = p.y - h;
        quad.br.x = p.x + h;
        quad.br.y = p.y - h;
        quad.tl.x = p.x - h;
        quad.tl.y = p.y + h;
        quad.tr.x = p.x + h;
        quad.tr.y = p.y + h;
    }
}

void CCParticleSystemQuad::draw() {
    if (m_quads == nullptr || m_particleIdx == 0) return;
    glBindTexture(GL_TEXTURE_2D, m_texture != nullptr ? m_texture->getName() : 0);
    const char* base = reinterpret_cast<const char*>(m_quads);
    glVertexPointer(2, GL_FLOAT, sizeof(ccV2F_C4B_T2F), base);
    glColorPointer(4, GL_UNSIGNED_BYTE, sizeof(ccV2F_C4B_T2F), base + 8);
    glTexCoordPointer(2, GL_FLOAT, sizeof(ccV2F_C4B_T2F), base + 12);
    const bool customBlend = !(m_blendFunc.src == GL_ONE && m_blendFunc.dst == GL_ONE_MINUS_SRC_ALPHA);
    if (customBlend) glBlendFunc(m_blendFunc.src, m_blendFunc.dst);
    glDrawElements(GL_TRIANGLES, static_cast<GLsizei>(m_particleIdx * 6), GL_UNSIGNED_SHORT, m_indices);
    if (customBlend) glBlendFunc(GL_ONE, GL_ONE_MINUS_SRC_ALPHA);
}

} // namespace kvengine
