#pragma once

#include <string>

#include "engine/base/CCGeometry.h"
#include "game/data/KVDataAccess.h"
#include "game/world/KVObject.h"

namespace kvengine {
class CCAnimation;
class CCNode;
class CCString;
struct ccBlendFunc;
class CCBlendProtocol;
} // namespace kvengine

/// One decorative layer of a level: a scene-graph node drawn in front of or behind the gameplay
/// layer, moved with parallax and zoomed by the camera through KVEnvLayerManager.
///
/// Each kind (KVEnvLayerTmx, KVEnvLayerSprite ...) is made by class name, then initialised with
/// its layer dictionary: the base reads the keys every kind shares, the kind reads its own and
/// builds `node`. The layer retains its node; the node belongs to the scene once added.
class KVEnvLayer : public KVObject {
public:
    CC_DECLARE_CLASS_NAME(KVEnvLayer, KVObject)

    /// Kind codes, as the camera and the manager test them.
    enum Kind {
        kTmx = 0,
        kSprite = 1,
        kSpriteAnim = 2,
        kParticles = 3,
        kAnimationTmx = 4,
        kAnimationSvg = 5,
        kMain = 6,
        kCaustics = 7,
        kUnknown = 8,
    };
    enum Blending { kBlendNormal = 0, kBlendAdditive = 1, kBlendMultiply = 2 };

    /// Reads the common keys ("name", "scale", "opacity" 0..1, "parallax_factor", "zoom_factor",
    /// "use_pixel_format_32_bit", "blending_mode"); absent numbers stay 0. The kinds then read
    /// their own keys and build the node; they answer false (logged) when the data cannot make
    /// one, and the manager drops such a layer.
    virtual bool initWithDictionary(kvdata::Dict* dictionary);
    /// Sizes the node to the level (a CCTMXTiledMap, or any node by its content size). Nothing
    /// here; the main, caustics and animation_svg kinds override it.
    virtual void resizeToNode(kvengine::CCNode* levelNode);
    /// One camera zoom step. Nothing here; particles grow.
    virtual void updateLayer(float zoomStep);
    void cleanupBeforeDelete() override;

    kvengine::CCString* getName() const { return m_name; }
    int getKind() const { return m_kind; }
    int getBlendingMode() const { return m_blendingMode; }
    kvengine::CCNode* getNode() const { return m_node; }
    float getScale() const { return m_scale; }
    /// 0..255.
    int getOpacity() const { return m_opacity; }
    float getParallaxFactor() const { return m_parallaxFactor; }
    float getZoomFactor() const { return m_zoomFactor; }
    /// True for the gameplay layer only: the camera leaves it alone.
    bool isFixed() const { return m_fixed; }
    kvengine::CCPoint getHomePosition() const { return m_homePosition; }
    void setHomePosition(const kvengine::CCPoint& position) { m_homePosition = position; }
    bool usesPixelFormat32Bit() const { return m_pixelFormat32Bit; }

    /// The level's size in points: a tile map's tiles over the content scale factor, else the
    /// node's content size (zero for null).
    static kvengine::CCSize levelSizeInPoints(kvengine::CCNode* levelNode);
    /// The blend function of a blending mode; false for the normal mode (keep the node's own).
    static bool blendFuncForMode(int mode, kvengine::ccBlendFunc& blend);

    /// The longest frame animation a layer builds: a bound for the counts read from data.
    static constexpr int kMaxFrames = 999;

protected:
    /// Retains the new node, releases the old.
    void setNode(kvengine::CCNode* node);
    /// Anchor (0, 0), position (0, 0) and the layer's scale.
    void placeAtOrigin(kvengine::CCNode* node) const;
    /// The layer's blending mode on a node that blends; the normal mode leaves it.
    void applyBlending(kvengine::CCBlendProtocol* node) const;
    /// RGBA8888 as the engine's default texture format while the kind loads, when asked for.
    void useLayerPixelFormat() const;
    /// Back to the game settings' texture format.
    static void applySetupTexturePixelFormat();
    /// The path of a resource by bare name through the resource index (absolute paths pass).
    static std::string resourcePath(const std::string& fileName);
    /// Loads a sprite sheet's frames by sheet name; false (logged) when its plist is not found.
    bool loadSheetFrames(const std::string& sheetName) const;
    /// The frames "<prefix>NN.png" for NN = first .. last (two digits at least), `delay` seconds
    /// each; a frame missing from the cache leaves a gap. Null (logged) for a range that is
    /// empty or longer than kMaxFrames.
    kvengine::CCAnimation* numberedFrames(const std::string& prefix, int first, int last, float delay) const;
    /// Runs the frames on the sprite for ever.
    static void runForever(kvengine::CCNode* sprite, kvengine::CCAnimation* animation);
    /// "<class> '<name>': <message>" in the log.
    void logProblem(const std::string& message) const;

    kvengine::CCString* m_name = nullptr;
    int m_kind = kUnknown;
    int m_blendingMode = kBlendNormal;
    kvengine::CCNode* m_node = nullptr;
    float m_scale = 0.0f;
    int m_opacity = 0;
    float m_parallaxFactor = 0.0f;
    float m_zoomFactor = 0.0f;
    bool m_fixed = false;
    kvengine::CCPoint m_homePosition;
    bool m_pixelFormat32Bit = false;
};
