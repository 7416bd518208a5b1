#pragma once

#include "game/environment/KVEnvLayer.h"

/// Tile-map scenery: the TMX file "name" drawn whole at the layer's scale.
class KVEnvLayerTmx : public KVEnvLayer {
public:
    CC_DECLARE_CLASS_NAME(KVEnvLayerTmx, KVEnvLayer)

    /// False (logged) when the map cannot be read.
    [[nodiscard]] bool initWithDictionary(kvdata::Dict* dictionary) override;
};
