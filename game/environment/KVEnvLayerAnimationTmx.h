#pragma once

#include "game/environment/KVEnvLayer.h"

namespace kvengine {
class CCSpriteBatchNode;
}

/// Animated sprites placed by the objects of a tile map: every object of the map "name" becomes
/// one sprite of the sheet "spritesheet_name", centred on the object's box, cycling the frames
/// "<object name>_NN.png".
///
/// Object keys: "frame_count" (0 or absent: 4), "anim_delay" (seconds; 0 or absent: 0.2),
/// "anim_delay_range" (absent: 0.05); each object's delay is anim_delay + r x anim_delay_range,
/// r drawn once in [-1, 1] from CCRandom, so the sprites drift out of step.
class KVEnvLayerAnimationTmx : public KVEnvLayer {
public:
    CC_DECLARE_CLASS_NAME(KVEnvLayerAnimationTmx, KVEnvLayer)

    static constexpr int kDefaultFrameCount = 4;

    /// False (logged) when the map or the sheet cannot be loaded. An object whose first frame
    /// is missing gets no sprite (logged).
    [[nodiscard]] bool initWithDictionary(kvdata::Dict* dictionary) override;
};
