#pragma once

#include <string>

#include "engine/base/CCGeometry.h"
#include "game/data/KVDataAccess.h"
#include "game/world/KVObject.h"
#include "game/world/SVGParserDelegate.h"

namespace kvengine {
class CCSprite;
}

/// A sprite that swims along a path of points at a steady speed, facing where it goes, and starts
/// over at the first point after the last. Not a node: it drives its sprite, which lives in the
/// layer's batch node.
class KVAnimatedEnvSprite : public KVObject {
public:
    CC_DECLARE_CLASS_NAME(KVAnimatedEnvSprite, KVObject)

    /// Points a second when the data gives none.
    static constexpr float kDefaultSpeed = 50.0f;

    /// Keeps (retains) the path. Consecutive repeated points are dropped, since a step of length
    /// 0 has no direction; null (logged) when fewer than two points are left. Autoreleased.
    static KVAnimatedEnvSprite* createWithPath(SVGPointList* path);

    /// Reads "sprite_name" (frame prefix, required), "frame_count" and "speed" (points a second;
    /// 0, absent or negative: 50), makes the sprite on the first frame "<sprite_name>_01.png" at
    /// the path's first point, cycling its frames at 0.2 s +- 0.05 s. False (logged) when the
    /// name or its first frame is missing.
    [[nodiscard]] bool initWithParams(kvdata::Dict* params);

    /// Moves speed x dt towards the next point; on reaching it, heads for the one after, and from
    /// the last point jumps back to the first.
    void update(float dt) override;
    void cleanupBeforeDelete() override;

    kvengine::CCSprite* getSprite() const { return m_sprite; }
    int getNextPoint() const { return m_nextPoint; }
    float getSpeed() const { return m_speed; }
    unsigned pointCount() const;
    kvengine::CCPoint pointAt(unsigned index) const;

private:
    kvengine::CCSprite* m_sprite = nullptr;
    int m_nextPoint = 1;
    float m_speed = kDefaultSpeed;
    SVGPointList* m_path = nullptr;
};
