#pragma once

#include "engine/base/CCGeometry.h"
#include "game/environment/KVEnvLayer.h"

/// Light caustics over the whole level: the 16 frames "caustic_NN.png" of the sheet "caustic_ss"
/// tiled in one batch, each tile animating at 10 frames a second, added on top of what lies
/// behind (GL_SRC_ALPHA, GL_ONE). Its own "blending_mode" and opacity are not used.
class KVEnvLayerCaustics : public KVEnvLayer {
public:
    CC_DECLARE_CLASS_NAME(KVEnvLayerCaustics, KVEnvLayer)

    /// The batch node's tag.
    static constexpr int kNodeTag = 964;

    /// The overlay of the front-end screens: additive, scale 2, opacity 0.1, tiled over the
    /// window. Autoreleased; null (logged) when the sheet is missing.
    static KVEnvLayerCaustics* createMenuCausticsLayer();

    /// False (logged) when the sheet cannot be loaded.
    [[nodiscard]] bool initWithDictionary(kvdata::Dict* dictionary) override;
    /// Tiles the level.
    void resizeToNode(kvengine::CCNode* levelNode) override;
    /// Fills w x h points with tiles of the first frame's size times the layer's scale, then
    /// sets the layer's scale to 1. Nothing (logged) when the frame is missing or the tile would
    /// be empty. Tiles already there are replaced.
    void tileArea(float width, float height);

    int getColumns() const { return m_columns; }
    int getRows() const { return m_rows; }

private:
    int m_columns = 0;
    int m_rows = 0;
};
