#pragma once

#include <string>

#include "game/environment/KVEnvLayer.h"
#include "game/world/SVGParserDelegate.h"

namespace kvengine {
template <typename T> class CCMutableArray;
}
class KVAnimatedEnvSprite;

/// Sprites that swim along the paths of an SVG drawing: every path of the drawing's animation
/// group ("animpath...") with "game_data" "objectParams=sprite_name:fish;frame_count:4;speed:40"
/// becomes one KVAnimatedEnvSprite of the sheet "spritesheet_name". The drawing "name" is read in
/// points over the level: its pixels are the level map's (content scale factor per point).
class KVEnvLayerAnimationSvg : public KVEnvLayer, public SVGParserDelegate {
public:
    CC_DECLARE_CLASS_NAME(KVEnvLayerAnimationSvg, KVEnvLayer)

    /// False (logged) when the sheet cannot be loaded; a drawing that cannot be read leaves the
    /// layer without sprites (logged by the parser).
    [[nodiscard]] bool initWithDictionary(kvdata::Dict* dictionary) override;
    /// The node takes the level's size in points.
    void resizeToNode(kvengine::CCNode* levelNode) override;
    /// Moves every sprite, in path order.
    void update(float dt) override;
    void cleanupBeforeDelete() override;

    /// One path of the drawing: a sprite when it has two distinct points and its "game_data"
    /// names "objectParams" with a "sprite_name" whose first frame exists; otherwise nothing,
    /// logged.
    void addAnimationPath(kvengine::CCString* gameData, SVGPointList* points) override;

    kvengine::CCMutableArray<KVAnimatedEnvSprite*>* getAnimatedSprites() const { return m_sprites; }

    /// "key=value,key=value" -> value of `key`; "" when absent.
    static std::string gameDataValue(const std::string& gameData, const std::string& key);
    /// "a:1;b:2" -> {a: "1", b: "2"} (autoreleased); pieces without ':' are skipped.
    static kvdata::Dict* parseObjectParams(const std::string& text);

private:
    kvengine::CCMutableArray<KVAnimatedEnvSprite*>* m_sprites = nullptr;
};
