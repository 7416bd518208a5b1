#pragma once

#include <cstdint>
#include <initializer_list>
#include <string>

#include "engine/base/CCMutableDictionary.h"

class b2Body;
class b2World;
class KVActor;

namespace kvengine {
class CCString;
} // namespace kvengine

/// Small helpers shared by the level objects: their static outlines and how they post from inside
/// a physics step.
namespace kvobjects {

using Dict = kvengine::CCMutableDictionary<std::string, kvengine::CCObject*>;

/// Pixels per metre of the level's tile maps and drawings.
constexpr float kPixelsPerMetre = 32.0f;

struct EdgeFixture {
    float friction = 0.2f;
    bool sensor = false;
    std::uint16_t categoryBits = 0x0001;
    std::uint16_t maskBits = 0xFFFF;
    std::int16_t groupIndex = 0;
};

/// One circle fixture centred on its body: radius in metres, the rest as Box2D reads it.
struct CircleFixture {
    float radius = 0.0f;
    float friction = 0.2f;
    float restitution = 0.0f;
    float density = 0.0f;
    bool sensor = false;
    std::uint16_t categoryBits = 0x0001;
    std::uint16_t maskBits = 0xFFFF;
    std::int16_t groupIndex = 0;
};

/// A body at (x, y) metres, static or dynamic (no damping, awake, angle 0), carrying the given
/// circle fixtures; user data = `owner`. Null (logged with `who`) without a physics world.
b2Body* createCircleBody(KVActor* owner, bool dynamic, float x, float y,
                         std::initializer_list<CircleFixture> fixtures, const char* who);

/// A static body at (x, y) (metres, the lower-left corner) with four edges along the sides of
/// [0, width] x [0, height], skin radius 0.01, restitution and density 0; user data = `owner`.
/// Null (logged) without a physics world.
b2Body* createStaticOutline(KVActor* owner, float x, float y, float width, float height,
                            const EdgeFixture& edge, const char* who);

/// Posts through the physics world (queued while it steps), or at once without one.
void post(kvengine::CCString* name, kvengine::CCObject* object);

/// Destroys `body` of `owner` when the world still exists; the world may already be gone with its
/// bodies (mission end).
void destroyBody(b2Body* body, KVActor* owner);

/// Reads an integer property of a tile-map object dictionary; missing reads 0.
int intProperty(Dict* dictionary, const char* key);
/// Reads a float property (a text) of a tile-map object dictionary; missing reads 0.
float floatProperty(Dict* dictionary, const char* key);
/// The world that a level object made from `properties` builds its body in; null, with a log line
/// naming `who`, without a dictionary or without a physics world.
b2World* worldForObject(Dict* properties, const char* who);
/// Puts `actor` at the centre of the tile-map rectangle "x", "y", "width", "height" (pixels), in
/// metres.
void placeAtTileCentre(Dict* dictionary, KVActor* actor);

} // namespace kvobjects
