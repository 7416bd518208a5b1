#include "engine/textures/CCTextureAtlas.h"

#include "engine/base/CCLog.h"
#include "engine/platform/CCGL.h"
#include "engine/textures/CCTexture2D.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>

namespace kvengine {

CCTextureAtlas::~CCTextureAtlas() {
    freeBuffers();
    if (m_texture != nullptr) m_texture->release();
}

void CCTextureAtlas::freeBuffers() {
    std::free(m_quads);
    std::free(m_indices);
    m_quads = nullptr;
    m_indices = nullptr;
}

bool CCTextureAtlas::initWithTexture(CCTexture2D* texture, uint32_t capacity) {
    if (capacity > kMaxCapacity) {
        logDebugMessage("texture atlas: %u quads exceed the %u that 16-bit indices reach", capacity,
                        kMaxCapacity);
        return false;
    }
    setTexture(texture);
    freeBuffers();
    m_capacity = capacity;
    m_totalQuads = 0;
    // Room for at least one quad, so that an atlas made empty still has buffers to grow from.
    const size_t room = std::max<uint32_t>(capacity, 1);
    m_quads = static_cast<ccV3F_C4B_T2F_Quad*>(std::calloc(room, sizeof(ccV3F_C4B_T2F_Quad)));
    m_indices = static_cast<uint16_t*>(std::calloc(room * 6, sizeof(uint16_t)));
    if (m_quads == nullptr || m_indices == nullptr) {
        logDebugMessage("texture atlas: no memory for %u quads", capacity);
        freeBuffers();
        m_capacity = 0;
        setTexture(nullptr);
        return false;
    }
    fillIndices();
    return true;
}

void CCTextureAtlas::fillIndices() {
    for (uint32_t i = 0; i < m_capacity; ++i) {
        uint16_t* q = m_indices + size_t(i) * 6;
        const uint16_t base = uint16_t(i * 4);
        q[0] = base;
        q[1] = uint16_t(base + 1);
        q[2] = uint16_t(base + 2);
        q[3] = uint16_t(base + 3);
        q[4] = uint16_t(base + 2);
        q[5] = uint16_t(base + 1);
    }
}

void CCTextureAtlas::setTexture(CCTexture2D* texture) {
    if (texture != nullptr) texture->retain();
    if (m_texture != nullptr) m_texture->release();
    m_texture = texture;
}

void CCTextureAtlas::setQuads(ccV3F_C4B_T2F_Quad* quads) {
    if (quads == m_quads) return;
    std::free(m_quads);
    m_quads = quads;
}

void CCTextureAtlas::updateQuad(const ccV3F_C4B_T2F_Quad& quad, uint32_t index) {
    if (m_quads == nullptr || index >= m_capacity) {
        logDebugMessage("texture atlas: update at %u outside a capacity of %u", index, m_capacity);
        return;
    }
    m_quads[index] = quad;
    m_totalQuads = std::max(m_totalQuads, index + 1);
}

void CCTextureAtlas::insertQuad(const ccV3F_C4B_T2F_Quad& quad, uint32_t index) {
    if (m_quads == nullptr || m_totalQuads >= m_capacity || index > m_totalQuads) {
        logDebugMessage("texture atlas: insertion at %u refused (%u of %u quads in use)", index, m_totalQuads,
                        m_capacity);
        return;
    }
    std::memmove(m_quads + index + 1, m_quads + index,
                 size_t(m_totalQuads - index) * sizeof(ccV3F_C4B_T2F_Quad));
    m_quads[index] = quad;
    ++m_totalQuads;
}

void CCTextureAtlas::removeQuadAtIndex(uint32_t index) {
    if (m_quads == nullptr || index >= m_totalQuads) {
        logDebugMessage("texture atlas: removal at %u with %u quads in use", index, m_totalQuads);
        return;
    }
    std::memmove(m_quads + index, m_quads + index + 1,
                 size_t(m_totalQuads - index - 1) * sizeof(ccV3F_C4B_T2F_Quad));
    --m_totalQuads;
}

bool CCTextureAtlas::resizeCapacity(uint32_t capacity) {
    if (capacity == m_capacity && m_quads != nullptr) return true;
    if (capacity > kMaxCapacity) {
        logDebugMessage("texture atlas: %u quads exceed the %u that 16-bit indices reach", capacity,
                        kMaxCapacity);
        return false;
    }
    const size_t room = std::max<uint32_t>(capacity, 1);
    auto* quads = static_cast<ccV3F_C4B_T2F_Quad*>(std::realloc(m_quads, room * sizeof(ccV3F_C4B_T2F_Quad)));
    if (quads != nullptr) m_quads = quads;
    auto* indices = static_cast<uint16_t*>(std::realloc(m_indices, room * 6 * sizeof(uint16_t)));
    if (indices != nullptr) m_indices = indices;
    if (quads == nullptr || indices == nullptr) {
        logDebugMessage("texture atlas: no memory for %u quads", capacity);
        freeBuffers();
        m_capacity = 0;
        m_totalQuads = 0;
        return false;
    }
    m_capacity = capacity;
    m_totalQuads = std::min(m_totalQuads, capacity);
    fillIndices();
    return true;
}

void CCTextureAtlas::drawQuads(uint32_t count) {
    count = std::min(count, m_capacity);
    if (count == 0 || m_quads == nullptr) return;
    glBindTexture(GL_TEXTURE_2D, m_texture != nullptr ? m_texture->getName() : 0);
    const char* base = reinterpret_cast<const char*>(m_quads);
    glVertexPointer(3, GL_FLOAT, sizeof(ccV3F_C4B_T2F), base + offsetof(ccV3F_C4B_T2F, vertices));
    glColorPointer(4, GL_UNSIGNED_BYTE, sizeof(ccV3F_C4B_T2F), base + offsetof(ccV3F_C4B_T2F, colors));
    glTexCoordPointer(2, GL_FLOAT, sizeof(ccV3F_C4B_T2F), base + offsetof(ccV3F_C4B_T2F, texCoords));
    glDrawElements(GL_TRIANGLES, GLsizei(count * 6), GL_UNSIGNED_SHORT, m_indices);
}

} // namespace kvengine
