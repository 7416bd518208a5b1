#pragma once

#include "game/environment/KVEnvLayer.h"

/// The gameplay layer itself among the environment layers: its dictionary carries the layer as
/// "node". Fixed: the camera moves the game by other means.
class KVEnvLayerMain : public KVEnvLayer {
public:
    CC_DECLARE_CLASS_NAME(KVEnvLayerMain, KVEnvLayer)

    /// False (logged) when "node" is not a node.
    [[nodiscard]] bool initWithDictionary(kvdata::Dict* dictionary) override;
    /// The node takes the level's size in points.
    void resizeToNode(kvengine::CCNode* levelNode) override;
};
