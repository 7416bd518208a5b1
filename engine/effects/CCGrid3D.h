#pragma once

#include <cstdint>
#include <vector>

#include "engine/effects/CCGridBase.h"

namespace kvengine {

/// A 3-D corner in pixels.
struct ccVertex3FGrid {
    float x = 0, y = 0, z = 0;
};

/// A mesh whose neighbouring cells share corners: (columns + 1) x (rows + 1) vertices, the
/// corner (x, y) at index x x (rows + 1) + y.
class CCGrid3D : public CCGridBase {
public:
    const char* className() const override { return "CCGrid3D"; }

    void buildVertices() override;
    void drawGrid() override;
    void keepCurrentVertices() override;

    /// The corner at (x, y); out-of-range positions give a zero corner (logged).
    ccVertex3FGrid vertex(int x, int y) const;
    ccVertex3FGrid originalVertex(int x, int y) const;
    void setVertex(int x, int y, const ccVertex3FGrid& vertex);

    const std::vector<float>& vertices() const { return m_vertices; }
    const std::vector<float>& texCoordinates() const { return m_texCoordinates; }
    const std::vector<std::uint16_t>& indices() const { return m_indices; }

private:
    int cornerIndex(int x, int y) const;

    std::vector<float> m_texCoordinates;
    std::vector<float> m_vertices;
    std::vector<float> m_originalVertices;
    std::vector<std::uint16_t> m_indices;
};

/// A mesh whose cells are separate quads that can move apart: 4 corners per cell (bottom-left,
/// bottom-right, top-left, top-right; 12 floats), cell (x, y) at index x x rows + y.
class CCTiledGrid3D : public CCGridBase {
public:
    /// Autoreleased grid over the window, or null (logged) when it cannot be built.
    static CCTiledGrid3D* createWithSize(const ccGridSize& size);

    const char* className() const override { return "CCTiledGrid3D"; }

    void buildVertices() override;
    void drawGrid() override;
    void keepCurrentVertices() override;

    /// The 12 coordinates of cell (x, y); a cell outside the grid gives zeros (logged).
    void tile(int x, int y, float out[12]) const;
    void originalTile(int x, int y, float out[12]) const;
    /// Writes the 12 coordinates of cell (x, y); a cell outside the grid is ignored (logged).
    void storeTile(int x, int y, const float coordinates[12]);

    const std::vector<float>& vertices() const { return m_vertices; }
    const std::vector<float>& texCoordinates() const { return m_texCoordinates; }
    const std::vector<std::uint16_t>& indices() const { return m_indices; }

private:
    int cellIndex(int x, int y) const;

    std::vector<float> m_texCoordinates;
    std::vector<float> m_vertices;
    std::vector<float> m_originalVertices;
    std::vector<std::uint16_t> m_indices;
};

} // namespace kvengine
