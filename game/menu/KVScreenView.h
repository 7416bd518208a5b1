#pragma once

#include "engine/nodes/CCMenuItem.h"
#include "game/menu/KVLayer.h"

namespace kvengine {
class CCMenu;
class CCScene;
class CCSprite;
} // namespace kvengine

class KVEnvLayerCaustics;
class KVEnvLayerParticles;

/// The base of every front-end screen's view: the same living underwater backdrop on every screen,
/// a caustics light overlay (its node tagged 964) and drifting plankton, both at z 1 under whatever
/// the screen adds. Subclasses construct it first, then build their screen; CCLayer::init is theirs
/// (or their creator's) to run. A screen that puts a full picture at z 1 or above covers the
/// backdrop; the main menu hides the caustics by their tag.
class KVScreenView : public KVLayer {
public:
    CC_DECLARE_CLASS_NAME(KVScreenView, KVLayer)

    /// Tag of the caustics node.
    static constexpr int kCausticsTag = 964;
    /// z of both backdrop nodes.
    static constexpr int kBackdropZ = 1;

    /// Builds the backdrop; a missing caustics sheet or plankton picture leaves that part out
    /// (logged).
    KVScreenView();
    /// Releases both backdrop layers; harmless twice.
    void cleanupBeforeDelete() override;

    KVEnvLayerCaustics* getCausticsLayer() const { return m_causticsLayer; }
    KVEnvLayerParticles* getParticlesLayer() const { return m_particlesLayer; }

protected:
    /// The menus' full-window picture "KV_Fond.png", centred, at z 0 with `tag`; null when the
    /// frame is missing (logged by the frame cache).
    kvengine::CCNode* addBackground(int tag);
    /// A menu of one arrow button (normal and pressed frames) at (x, y), added at z: the item is
    /// three times the picture in each direction, an easy target. Null when a frame is missing.
    kvengine::CCMenu* addArrow(const char* normalFrame, const char* pressedFrame,
                               kvengine::SEL_MenuHandler handler, float x, float y, int z);

private:
    KVEnvLayerCaustics* m_causticsLayer = nullptr;
    KVEnvLayerParticles* m_particlesLayer = nullptr;
};

/// A bare screen for a state whose screen is not part of the game yet: the backdrop only, with a
/// log line naming the screen. Autoreleased scene, the view at z 0.
kvengine::CCScene* createPlaceholderScene(const char* screenName);
