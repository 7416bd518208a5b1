#include "game/world/KVRayCastClosestCallback.h"

#include "game/world/KVContactListener.h"

float KVRayCastClosestCallback::ReportFixture(b2Fixture* fixture, const b2Vec2& point, const b2Vec2& normal,
                                              float fraction) {
    // -1 leaves the fixture out and lets the ray go on.
    if ((fixture->GetFilterData().categoryBits & categoryMask) == 0) return -1.0f;
    hit = true;
    hitActor = KVContactListener::actorOf(fixture->GetBody());
    pointX = point.x;
    pointY = point.y;
    normalX = normal.x;
    normalY = normal.y;
    // Clipping the ray at this hit leaves only closer fixtures to report.
    return fraction;
}
