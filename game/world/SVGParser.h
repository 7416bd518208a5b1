#pragma once

#include <string>

#include "engine/base/CCAffineTransform.h"
#include "engine/files/CCSAXParser.h"
#include "game/world/KVObject.h"

class b2Body;
class b2World;
struct b2FixtureDef;
class SVGParserDelegate;

namespace kvengine {
class CCString;
}
namespace svgsyntax {
struct PathData;
}

/// The settings of one parse, copied by the parser. Each caller passes its own block; the
/// member defaults are the level builder's.
struct SVGParserParameters {
    float restitutionDefault = 0.0f;
    float frictionDefault = 0.2f;
    float densityDefault = 0.0f;
    /// Samples taken of each cubic segment (at least 1).
    int pointsPerCubicSegment = 15;
    /// Given to the world when the drawing's root is read.
    float gravityX = 0.0f;
    float gravityY = 0.0f;
    /// Drawing pixels per world unit, s (above 0): 32 for metres.
    float pixelsPerMetre = 32.0f;
};

/// Reads a level drawing (SVG) into physics bodies and animation paths. All the work happens in
/// the constructor; drop the parser afterwards (release()). Nothing survives it but the bodies in
/// the world and what the delegate made of them.
///
///     SVGParserParameters block;                 // the level builder's values
///     (new SVGParser(block, svgName, world, model))->release();
///
/// What a drawing holds:
/// - The root "svg" element with "width" and "height" in pixels (a unit suffix is ignored). H is
///   the height; world points are (X / s, (H - Y) / s), y upwards, for a drawing point (X, Y).
/// - Groups ("g"): a label ("inkscape:label") starting with "physics:" makes a physics group, one
///   starting with "animpath" an animation-path group, any other label neither; a group without a
///   label is of its enclosing group's kind. Shapes outside these groups are ignored. Groups nest
///   up to 31 deep.
/// - "transform" on groups and shapes: translate, scale, rotate, matrix, skewX, skewY; a group's
///   transform applies to everything inside it, after the shape's own.
/// - In a physics group, each shape makes one body with the transform's translation and rotation
///   (angle atan2(c, a): a clockwise turn on screen is a negative angle):
///   - "path" with "d" (absolute M, L, C and Z; other commands are skipped and logged): a static
///     body at the transformed origin, one edge fixture per line, per cubic sample and per Z, in
///     body coordinates (x / s, -y / s); the transform's scale and skew are not used. A cubic
///     gives pointsPerCubicSegment samples from its start point; its end point is not one.
///   - "path" with "sodipodi:type" = "arc" and "sodipodi:cx", "sodipodi:cy", "sodipodi:rx",
///     "sodipodi:ry": a body at the transformed centre with one circle fixture of radius
///     (|(a, b)| rx + |(c, d)| ry) / 2 / s.
///   - "rect" with "x", "y", "width", "height": a body at the transformed corner with one box
///     fixture (0, -h), (w, -h), (w, 0), (0, 0), w = width / s, h = height / s (not scaled).
///   - "physics" = "key=value,key=value": "isSensor" and "fixedRotation" ("YES" or a non-zero
///     number), "restitution", "density", "friction" (0 or more), "type" ("static", "kinematic",
///     "dynamic"); other keys are ignored. A density other than 0 makes a static body dynamic.
///     Fixtures have category bits 4, mask 0xFFFF and group index 5.
///   - "game_data": handed with the new body to SVGParserDelegate::createObjectFromDescription.
/// - In an animation-path group, each "path" with "d" (arcs excepted) that has "game_data" is
///   handed to SVGParserDelegate::addAnimationPath as its points: M, L and Z points and cubic
///   samples, ((x + tx) / s, (H - (y + ty)) / s) with only the transform's translation used.
///
/// Bad input is logged (file and element named) and skipped, never read past: a missing file; a
/// root that is not "svg" or lacks its size (nothing is read); a shape or group missing what it
/// needs ("d", the rect's four numbers, the arc's four values, a transform's values, "=" in a
/// physics pair), with an unreadable or negative physics value, too small, or placed beyond
/// 1e6 world units (that element and its content are skipped); groups nested deeper than 31 (the
/// deeper group and its content); a physics group read without a world (the group and its content;
/// animation paths are still read); a path outline without an edge (no body).
class SVGParser final : public KVObject, public kvengine::CCSAXDelegator {
public:
    CC_DECLARE_CLASS_NAME(SVGParser, KVObject)

    /// Reads the drawing `fileName`, found through the resource index (drawings are not
    /// scrambled). Bodies are made in `world` (not retained; may be null for a drawing of
    /// animation paths only, and must not be stepping); `delegate` (not retained, may be null)
    /// hears of every shape with "game_data".
    SVGParser(const SVGParserParameters& parameters, kvengine::CCString* fileName, b2World* world,
              SVGParserDelegate* delegate);

    void startElement(void* context, const char* name, const char** attributes) override;
    void endElement(void* context, const char* name) override;
    /// Text is not part of the drawing.
    void textHandler(void* context, const char* text, int length) override;

private:
    static constexpr int kTransformStackSize = 32;

    /// What a group passes to what it holds.
    struct GroupState {
        kvengine::CCAffineTransform transform;
        bool physicsLayer = false;
        bool animationPathLayer = false;
    };

    /// The current shape's "physics" settings.
    struct PhysicsSettings {
        float restitution = 0.0f;
        float friction = 0.0f;
        float density = 0.0f;
        bool sensor = false;
        bool fixedRotation = false;
        int type = 0; // b2BodyType
    };

    void startRoot(const char* name, const char** attributes);
    void startGroup(const char** attributes);
    void makePathBody(const char** attributes);
    void makeArcBody(const char** attributes);
    void makeRectBody(const char** attributes);
    void readAnimationPath(const char** attributes);

    /// The element's own transform into `transform`; false when it was refused.
    bool parseTransform(const char* name, const char** attributes, kvengine::CCAffineTransform& transform);
    /// The element's own transform, then the enclosing groups'; false when it was refused.
    bool elementTransform(const char* name, const char** attributes, kvengine::CCAffineTransform& transform);
    /// Reads the element's "physics" into m_physics; false when it was refused.
    bool readPhysicsAttribute(const char* name, const char** attributes);
    /// Makes one fixture of `fixture` on `body` with m_physics, then sets the body's type and
    /// fixed rotation and recomputes its mass.
    void applyPhysicsAttribute(b2FixtureDef& fixture, b2Body* body);
    /// Reads a required number attribute; refuses the element when it is missing or unreadable.
    bool requiredNumber(const char* name, const char** attributes, const char* key, float& value);
    /// Logs, once for the element, what was skipped of its path data.
    void logSkippedPathData(const char** attributes, const svgsyntax::PathData& path) const;
    /// Hands "game_data" with the body to the delegate.
    void handOver(const char** attributes, b2Body* body);

    /// Logs why the element is skipped and skips it with its content.
    void refuse(const char* name, const char** attributes, const std::string& reason);
    void log(const char* name, const char** attributes, const std::string& message) const;

    SVGParserParameters m_parameters;
    std::string m_fileName;
    b2World* m_world = nullptr;
    SVGParserDelegate* m_delegate = nullptr;

    GroupState m_stack[kTransformStackSize];
    int m_depth = 0;
    float m_documentWidth = 0.0f;
    float m_documentHeight = 0.0f;
    /// Elements left to close inside a skipped element, itself included; 0 while reading.
    int m_skipDepth = 0;
    /// Elements met so far; the current one's ordinal names it in log lines when it has no id.
    unsigned m_elementCount = 0;
    PhysicsSettings m_physics;
};
