#pragma once

#include <cstdint>

class b2Contact;
class KVActor;

/// Collision filter of one fixture, copied out of the physics world so that actors read it
/// without the physics headers.
struct KVContactFilter {
    std::uint16_t categoryBits = 0;
    std::uint16_t maskBits = 0;
    std::int16_t groupIndex = 0;
};

/// What an actor's contact operation learns about one contact. Handed by pointer and valid only
/// during the call.
struct KVContactInfo {
    /// The actor being called: the owner of the self fixture's body.
    KVActor* self = nullptr;
    /// The owner of the other body; null for a body without an actor (walls, level geometry).
    KVActor* other = nullptr;
    /// First contact point in points (metres x 32); 0 when the contact has no points (sensors).
    float pointX = 0.0f;
    float pointY = 0.0f;
    /// Unit normal from self's fixture towards the other's; 0 when the contact has no points.
    float normalX = 0.0f;
    float normalY = 0.0f;
    /// Filters of the two fixtures; left at 0 for end-of-contact calls.
    KVContactFilter selfFilter;
    KVContactFilter otherFilter;
    /// The physics contact; a pre-solve may disable it for the running step (SetEnabled(false)).
    /// Null for end-of-contact calls.
    b2Contact* contact = nullptr;
};
