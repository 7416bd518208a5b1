#pragma once

#include "engine/director/CCTransitionScene.h"
#include "engine/nodes/CCProtocols.h"

namespace kvengine {

/// Fades the screen to a colour over the first half of the duration, swaps the scenes, and
/// fades back to the incoming scene over the second half. The game uses black.
class CCTransitionFade : public CCTransitionScene {
public:
    /// Null when initialisation fails.
    static CCTransitionFade* create(float seconds, CCScene* incoming, const ccColor3B& colour);
    /// Black.
    static CCTransitionFade* create(float seconds, CCScene* incoming);

    /// Black.
    [[nodiscard]] bool initWithDuration(float seconds, CCScene* incoming) override;
    [[nodiscard]] virtual bool initWithDurationAndColor(float seconds, CCScene* incoming,
                                                        const ccColor3B& colour);

    /// Adds the colour layer (tag kSceneFadeTag, z 2) over both scenes and starts the fade on it.
    void onEnter() override;
    /// Removes the colour layer after the transition's exit steps.
    void onExit() override;

    ccColor4B getColor() const { return m_colour; }

private:
    ccColor4B m_colour;
};

} // namespace kvengine
