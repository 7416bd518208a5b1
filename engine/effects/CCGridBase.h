#pragma once

// A grid replaces the plain drawing of a node by a textured mesh that grid actions deform.
// Without frame-buffer objects the grid's texture keeps its initial (all zero) content: the
// node's subtree is drawn to the window as usual and the mesh is drawn over it.

#include "engine/base/CCGeometry.h"
#include "engine/base/CCObject.h"

namespace kvengine {

class CCGrabber;
class CCNode;
class CCTexture2D;

/// Columns and rows of a grid.
struct ccGridSize {
    int x = 0;
    int y = 0;
};

inline bool operator==(const ccGridSize& a, const ccGridSize& b) {
    return a.x == b.x && a.y == b.y;
}

class CCGridBase : public CCObject {
public:
    CCGridBase() = default;
    /// Deactivates (restoring the director's projection) and releases texture and grabber.
    ~CCGridBase() override;

    const char* className() const override { return "CCGridBase"; }

    /// Makes a zero-filled texture the size of the window (in pixels, padded to powers of two)
    /// and builds the mesh over it. False (with a log line) when the texture cannot be made; the
    /// caller still owns the grid.
    [[nodiscard]] bool initWithSize(const ccGridSize& size);
    /// Builds the mesh over the given texture (retained). Columns and rows must be positive and
    /// the mesh must stay within 16-bit indices; otherwise false with a log line.
    [[nodiscard]] bool initWithSizeTexture(const ccGridSize& size, CCTexture2D* texture);

    virtual void drawGrid() {}
    /// While the reuse count is positive: the current vertices become the rest shape and the
    /// count drops by one.
    virtual void keepCurrentVertices() {}
    virtual void buildVertices() {}

    void beforeDraw();
    void afterDraw(CCNode* target);

    bool isActive() const { return m_active; }
    /// Deactivating also applies the director's projection again.
    void setActive(bool active);
    int getReuseGrid() const { return m_reuseGrid; }
    void setReuseGrid(int count) { m_reuseGrid = count; }
    ccGridSize getGridSize() const { return m_gridSize; }
    /// Cell width and height in pixels.
    CCPoint getStep() const { return m_step; }
    CCTexture2D* getTexture() const { return m_texture; }
    CCGrabber* getGrabber() const { return m_grabber; }
    bool isTextureFlipped() const { return m_isTextureFlipped; }

protected:
    void restoreDirectorProjection();
    void applyFlatProjection();
    void applyPerspectiveProjection();
    static void applyWindowOrientation(int orientation);
    /// Width and height of the texture in pixels (the powers of two).
    float textureWidth() const;
    float textureHeight() const;

    bool m_active = false;
    int m_reuseGrid = 0;
    ccGridSize m_gridSize;
    CCTexture2D* m_texture = nullptr;
    CCPoint m_step;
    CCGrabber* m_grabber = nullptr;
    bool m_isTextureFlipped = false;
};

} // namespace kvengine
