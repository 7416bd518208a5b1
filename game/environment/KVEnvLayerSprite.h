#pragma once

#include "game/environment/KVEnvLayer.h"

/// A picture stretched over the window: the frame "name" of the sheet "spritesheet_name", or the
/// image file "name" when no sheet is named.
class KVEnvLayerSprite : public KVEnvLayer {
public:
    CC_DECLARE_CLASS_NAME(KVEnvLayerSprite, KVEnvLayer)

    /// False (logged) when the picture is missing.
    [[nodiscard]] bool initWithDictionary(kvdata::Dict* dictionary) override;
};
