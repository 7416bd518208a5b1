#pragma once

#include <string>

#include "engine/base/CCGeometry.h"
#include "game/data/KVDataAccess.h"
#include "game/world/KVSingletonObject.h"

namespace kvengine {
class CCNode;
class CCNotification;
template <typename T> class CCMutableArray;
} // namespace kvengine
class KVEnvLayer;

/// The environment layers of the current level: read from the level's property list
/// "<mission>_ENV" (or "default_ENV"), made by class name, stacked around the gameplay layer and
/// moved by the camera.
///
/// The file's root dictionary maps keys to layer dictionaries; the keys only give the order
/// (byte-wise ascending = front to back). Each entry needs "disable" (1 or more: skipped) and a
/// "type" of the kind table ("main", "tmx", "sprite", "sprite_anim", "caustics", "particles",
/// "animation_tmx", "animation_svg"); the "main" entry stands for the gameplay layer, so its place
/// among the keys puts the others in front of or behind the game.
class KVEnvLayerManager : public KVSingletonObject<KVEnvLayerManager> {
public:
    CC_DECLARE_CLASS_NAME(KVEnvLayerManager, KVSingletonObject)

    /// The z order of the first (front) layer; each next one is one lower.
    static constexpr int kFrontZOrder = 100;

    /// Observes EVENT_GAME_SHUTDOWN.
    KVEnvLayerManager();
    void cleanupBeforeDelete() override;
    /// Releases the layers of the finished level.
    virtual void onGameShutdown(kvengine::CCNotification* notification);

    /// Builds the current mission's layers (KVGameSetup::getEnvironmentName, else "default_ENV")
    /// around `gameplayLayer`, sized to the level's tile map: `levelMap`, or when null the first
    /// CCTMXTiledMap child of the gameplay layer, or the gameplay layer itself.
    void loadLayers(kvengine::CCNode* gameplayLayer, kvengine::CCNode* levelMap = nullptr);
    /// The same from the named file, falling back to `fallbackName`. With neither file the level
    /// gets the gameplay layer alone, logged.
    void loadLayersNamed(const std::string& fileName, const std::string& fallbackName,
                         kvengine::CCNode* gameplayLayer, kvengine::CCNode* levelMap);
    /// The same from an environment file already read (null: none).
    void loadLayersFromDictionary(kvdata::Dict* root, kvengine::CCNode* gameplayLayer,
                                  kvengine::CCNode* levelMap);
    /// Adds every layer's node to `parent` at z 100 - index.
    void addLayersToNode(kvengine::CCNode* parent);
    /// The layers in file order (front first); null before the first load.
    kvengine::CCMutableArray<KVEnvLayer*>* getLayers() const { return m_layers; }

    // --- what the camera does with the layers -----------------------------------------------
    /// Every layer that is not fixed moves by delta x its parallax factor.
    void scrollLayers(const kvengine::CCPoint& delta);
    /// One zoom step: particles grow, other layers with a zoom factor scale by zoom factor x
    /// layer scale x step about the window centre; their home position follows.
    void zoomLayers(float step);
    /// Every layer's per-frame update.
    void updateLayers(float dt);

private:
    /// The layer dictionary the "main" entry stands for.
    static kvdata::Dict* mainLayerDictionary(kvengine::CCNode* gameplayLayer);
    void releaseLayers();

    kvengine::CCMutableArray<KVEnvLayer*>* m_layers = nullptr;
};

/// Moves `node` so that its local point (x, y) lands on the window's centre.
void centreNodePointOnScreen(kvengine::CCNode* node, float x, float y);
