#include "engine/effects/CCGrid3D.h"

#include <algorithm>

#include "engine/base/CCLog.h"
#include "engine/base/CCRetained.h"
#include "engine/platform/CCGL.h"

namespace kvengine {

namespace {

void drawMesh(const std::vector<float>& vertices, const std::vector<float>& texCoordinates,
              const std::vector<std::uint16_t>& indices) {
    if (indices.empty()) return;
    glDisableClientState(GL_COLOR_ARRAY);
    glVertexPointer(3, GL_FLOAT, 0, vertices.data());
    glTexCoordPointer(2, GL_FLOAT, 0, texCoordinates.data());
    glDrawElements(GL_TRIANGLES, static_cast<GLsizei>(indices.size()), GL_UNSIGNED_SHORT, indices.data());
    glEnableClientState(GL_COLOR_ARRAY);
}

} // namespace

// ---------------------------------------------------------------------------------------------
// Shared corners

int CCGrid3D::cornerIndex(int x, int y) const {
    if (x < 0 || y < 0 || x > m_gridSize.x || y > m_gridSize.y) {
        logDebugMessage("CCGrid3D: corner (%d, %d) outside a %d x %d grid", x, y, m_gridSize.x, m_gridSize.y);
        return -1;
    }
    return x * (m_gridSize.y + 1) + y;
}

void CCGrid3D::buildVertices() {
    const int columns = m_gridSize.x, rows = m_gridSize.y;
    const float tw = textureWidth(), th = textureHeight();
    const std::size_t corners = static_cast<std::size_t>(columns + 1) * (rows + 1);
    m_vertices.assign(corners * 3, 0.0f);
    m_texCoordinates.assign(corners * 2, 0.0f);
    m_indices.assign(static_cast<std::size_t>(columns) * rows * 6, 0);
    for (int x = 0; x <= columns; ++x) {
        for (int y = 0; y <= rows; ++y) {
            const std::size_t i = static_cast<std::size_t>(x) * (rows + 1) + y;
            const float px = x * m_step.x, py = y * m_step.y;
            m_vertices[i * 3] = px;
            m_vertices[i * 3 + 1] = py;
            m_texCoordinates[i * 2] = px / tw;
            m_texCoordinates[i * 2 + 1] = py / th;
        }
    }
    for (int x = 0; x < columns; ++x) {
        for (int y = 0; y < rows; ++y) {
            auto corner = [rows](int cx, int cy) { return static_cast<std::uint16_t>(cx * (rows + 1) + cy); };
            const std::uint16_t a = corner(x, y), b = corner(x + 1, y), c = corner(x + 1, y + 1),
                                d = corner(x, y + 1);
            std::uint16_t* out = &m_indices[6 * (static_cast<std::size_t>(y) * columns + x)];
            out[0] = a;
            out[1] = b;
            out[2] = d;
            out[3] = b;
            out[4] = c;
            out[5] = d;
        }
    }
    m_originalVertices = m_vertices;
}

void CCGrid3D::drawGrid() {
    drawMesh(m_vertices, m_texCoordinates, m_indices);
}

void CCGrid3D::keepCurrentVertices() {
    if (m_reuseGrid <= 0) return;
    m_originalVertices = m_vertices;
    --m_reuseGrid;
}

ccVertex3FGrid CCGrid3D::vertex(int x, int y) const {
    int i = cornerIndex(x, y);
    if (i < 0) return {};
    return {m_vertices[i * 3], m_vertices[i * 3 + 1], m_vertices[i * 3 + 2]};
}

ccVertex3FGrid CCGrid3D::originalVertex(int x, int y) const {
    int i = cornerIndex(x, y);
    if (i < 0) return {};
    return {m_originalVertices[i * 3], m_originalVertices[i * 3 + 1], m_originalVertices[i * 3 + 2]};
}

void CCGrid3D::setVertex(int x, int y, const ccVertex3FGrid& vertex) {
    int i = cornerIndex(x, y);
    if (i < 0) return;
    m_vertices[i * 3] = vertex.x;
    m_vertices[i * 3 + 1] = vertex.y;
    m_vertices[i * 3 + 2] = vertex.z;
}

// ---------------------------------------------------------------------------------------------
// Separate tiles

CCTiledGrid3D* CCTiledGrid3D::createWithSize(const ccGridSize& size) {
    return ccCreate<CCTiledGrid3D>([&](CCTiledGrid3D* made) { return made->initWithSize(size); });
}

int CCTiledGrid3D::cellIndex(int x, int y) const {
    if (x < 0 || y < 0 || x >= m_gridSize.x || y >= m_gridSize.y) {
        logDebugMessage("CCTiledGrid3D: cell (%d, %d) outside a %d x %d grid", x, y, m_gridSize.x,
                        m_gridSize.y);
        return -1;
    }
    return x * m_gridSize.y + y;
}

void CCTiledGrid3D::buildVertices() {
    const int columns = m_gridSize.x, rows = m_gridSize.y;
    const float tw = textureWidth(), th = textureHeight();
    const std::size_t cells = static_cast<std::size_t>(columns) * rows;
    m_vertices.assign(cells * 12, 0.0f);
    m_texCoordinates.assign(cells * 8, 0.0f);
    m_indices.assign(cells * 6, 0);
    std::size_t v = 0, t = 0;
    for (int x = 0; x < columns; ++x) {
        for (int y = 0; y < rows; ++y) {
            const float x1 = x * m_step.x, x2 = x1 + m_step.x, y1 = y * m_step.y, y2 = y1 + m_step.y;
            const float corners[4][2] = {{x1, y1}, {x2, y1}, {x1, y2}, {x2, y2}};
            for (const auto& corner : corners) {
                m_vertices[v++] = corner[0];
                m_vertices[v++] = corner[1];
                m_vertices[v++] = 0.0f;
                m_texCoordinates[t++] = corner[0] / tw;
                m_texCoordinates[t++] = corner[1] / th;
            }
        }
    }
    for (std::size_t i = 0; i < cells; ++i) {
        const auto base = static_cast<std::uint16_t>(i * 4);
        const std::uint16_t pattern[6] = {0, 1, 2, 1, 2, 3};
        for (int k = 0; k < 6; ++k)
            m_indices[i * 6 + k] = static_cast<std::uint16_t>(base + pattern[k]);
    }
    m_originalVertices = m_vertices;
}

void CCTiledGrid3D::drawGrid() {
    drawMesh(m_vertices, m_texCoordinates, m_indices);
}

void CCTiledGrid3D::keepCurrentVertices() {
    if (m_reuseGrid <= 0) return;
    m_originalVertices = m_vertices;
    --m_reuseGrid;
}

void CCTiledGrid3D::tile(int x, int y, float out[12]) const {
    int i = cellIndex(x, y);
    if (i < 0) {
        std::fill(out, out + 12, 0.0f);
        return;
    }
    std::copy_n(&m_vertices[static_cast<std::size_t>(i) * 12], 12, out);
}

void CCTiledGrid3D::originalTile(int x, int y, float out[12]) const {
    int i = cellIndex(x, y);
    if (i < 0) {
        std::fill(out, out + 12, 0.0f);
        return;
    }
    std::copy_n(&m_originalVertices[static_cast<std::size_t>(i) * 12], 12, out);
}

void CCTiledGrid3D::storeTile(int x, int y, const float coordinates[12]) {
    int i = cellIndex(x, y);
    if (i < 0) return;
    std::copy_n(coordinates, 12, &m_vertices[static_cast<std::size_t>(i) * 12]);
}

} // namespace kvengine
