#pragma once

#include <cstdint>

#include <box2d/box2d.h>

class KVActor;

/// Ray-cast callback that keeps the closest fixture whose category bits meet the mask.
///
/// Pass it to b2World::RayCast; afterwards `hit` tells whether anything accepted was crossed and
/// the other fields describe the closest such hit (metres). Line-of-sight tests set the mask to
/// skip categories that do not block the view.
class KVRayCastClosestCallback : public b2RayCastCallback {
public:
    float ReportFixture(b2Fixture* fixture, const b2Vec2& point, const b2Vec2& normal,
                        float fraction) override;

    bool hit = false;
    float pointX = 0.0f;
    float pointY = 0.0f;
    float normalX = 0.0f;
    float normalY = 0.0f;
    std::uint16_t categoryMask = 0xFFFF;
    /// The actor of the hit fixture's body; null for a body without one.
    KVActor* hitActor = nullptr;
};
