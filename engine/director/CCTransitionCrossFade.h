#pragma once

#include "engine/director/CCTransitionScene.h"

namespace kvengine {

/// Draws both scenes into render textures once, at the start, and fades the outgoing picture
/// out over the incoming one. When the render textures cannot be made the transition draws the
/// two scenes as usual and still hands over after its duration.
class CCTransitionCrossFade : public CCTransitionScene {
public:
    static CCTransitionCrossFade* create(float seconds, CCScene* incoming);

    void onEnter() override;
    /// Removes the layer with the two pictures, then the transition's exit steps.
    void onExit() override;
    /// Nothing while the pictures are shown: the layer over the scenes draws them.
    void draw() override;

private:
    bool m_drawScenes = true;
};

} // namespace kvengine
