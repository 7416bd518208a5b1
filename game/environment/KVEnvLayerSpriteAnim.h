#pragma once

#include "game/environment/KVEnvLayer.h"

/// A frame animation covering the window: frames "name"NN.png from "frame_index_start" to
/// "frame_index_end" of the sheets "spritesheets_array", "anim_delay" seconds each (0: 0.2).
class KVEnvLayerSpriteAnim : public KVEnvLayer {
public:
    CC_DECLARE_CLASS_NAME(KVEnvLayerSpriteAnim, KVEnvLayer)

    /// False (logged) without "anim_delay" or without its first frame.
    [[nodiscard]] bool initWithDictionary(kvdata::Dict* dictionary) override;
};
