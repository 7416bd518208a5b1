#include "game/world/SVGParser.h"

#include <box2d/box2d.h>

#include <cmath>
#include <cstring>
#include <vector>

#include "engine/base/CCLog.h"
#include "engine/base/CCMutableArray.h"
#include "engine/base/CCString.h"
#include "engine/base/CCValue.h"
#include "engine/files/CCResourceIndex.h"
#include "game/world/SVGParserDelegate.h"
#include "game/world/SVGSyntax.h"

using kvengine::CCAffineTransform;
using kvengine::CCPoint;
using kvengine::CCString;

namespace {

// The drawing's walls: projectiles recognise them by the group index.
constexpr uint16 kShapeCategoryBits = 4;
constexpr uint16 kShapeMaskBits = 0xFFFF;
constexpr int16 kShapeGroupIndex = 5;

// Beyond this Box2D's single-precision sums (areas, masses, inertia) may overflow; no level
// comes near it.
constexpr float kMaxWorldValue = 1.0e6f;

const char* attribute(const char** attributes, const char* key) {
    if (attributes == nullptr) return nullptr;
    for (const char** a = attributes; a[0] != nullptr && a[1] != nullptr; a += 2) {
        if (std::strcmp(a[0], key) == 0) return a[1];
    }
    return nullptr;
}

bool isArc(const char** attributes) {
    const char* type = attribute(attributes, "sodipodi:type");
    return type != nullptr && std::strcmp(type, "arc") == 0;
}

bool startsWith(const char* text, const char* prefix) {
    return std::strncmp(text, prefix, std::strlen(prefix)) == 0;
}

bool inWorldRange(float value) {
    return std::fabs(value) <= kMaxWorldValue; // false for NaN too
}

bool inWorldRange(const CCPoint& point) {
    return inWorldRange(point.x) && inWorldRange(point.y);
}

std::string trimmed(const std::string& text) {
    size_t first = text.find_first_not_of(" \t\r\n");
    if (first == std::string::npos) return std::string();
    size_t last = text.find_last_not_of(" \t\r\n");
    return text.substr(first, last - first + 1);
}

} // namespace

SVGParser::SVGParser(const SVGParserParameters& parameters, CCString* fileName, b2World* world,
                     SVGParserDelegate* delegate)
    : m_parameters(parameters), m_world(world), m_delegate(delegate) {
    if (fileName == nullptr || fileName->text.empty()) {
        kvengine::logDebugMessage("SVGParser: no file name; nothing read");
        return;
    }
    m_fileName = fileName->text;
    if (!(m_parameters.pixelsPerMetre > 0.0f && std::isfinite(m_parameters.pixelsPerMetre)) ||
        m_parameters.pointsPerCubicSegment < 1) {
        kvengine::logDebugMessage(
            "SVGParser: \"%s\": pixels per metre %g or cubic samples %d refused; nothing read",
            m_fileName.c_str(), static_cast<double>(m_parameters.pixelsPerMetre),
            m_parameters.pointsPerCubicSegment);
        return;
    }
    if (m_world != nullptr && m_world->IsLocked()) {
        kvengine::logDebugMessage("SVGParser: \"%s\": the world is stepping; nothing read",
                                  m_fileName.c_str());
        return;
    }
    CCString* path = kvengine::CCResourceIndex::getInstance()->fullPathForFileName(m_fileName);
    // A missing or broken file has been logged by the reader; what was read before an XML error
    // stays made.
    (void)kvengine::parseXMLFile(path->c_str(), this);
}

void SVGParser::startElement(void* context, const char* name, const char** attributes) {
    (void)context;
    ++m_elementCount;
    if (m_skipDepth > 0) {
        ++m_skipDepth;
        return;
    }
    if (m_elementCount == 1) {
        startRoot(name, attributes);
        return;
    }
    if (std::strcmp(name, "g") == 0) {
        startGroup(attributes);
        return;
    }
    const GroupState& group = m_stack[m_depth];
    if (group.physicsLayer) {
        if (std::strcmp(name, "rect") == 0) {
            makeRectBody(attributes);
        } else if (std::strcmp(name, "path") == 0) {
            if (isArc(attributes))
                makeArcBody(attributes);
            else
                makePathBody(attributes);
        }
    } else if (group.animationPathLayer && std::strcmp(name, "path") == 0) {
        readAnimationPath(attributes);
    }
}

void SVGParser::endElement(void* context, const char* name) {
    (void)context;
    if (m_skipDepth > 0) {
        --m_skipDepth;
        return;
    }
    // Closing a group restores the enclosing group's transform and kind.
    if (std::strcmp(name, "g") == 0 && m_depth > 0) --m_depth;
}

void SVGParser::textHandler(void* context, const char* text, int length) {
    (void)context;
    (void)text;
    (void)length;
}

void SVGParser::startRoot(const char* name, const char** attributes) {
    if (std::strcmp(name, "svg") != 0) {
        refuse(name, attributes, "is not an SVG drawing's root");
        return;
    }
    if (!requiredNumber(name, attributes, "width", m_documentWidth) ||
        !requiredNumber(name, attributes, "height", m_documentHeight)) {
        return;
    }
    if (m_world != nullptr) m_world->SetGravity(b2Vec2(m_parameters.gravityX, m_parameters.gravityY));
}

void SVGParser::startGroup(const char** attributes) {
    if (m_depth + 1 >= kTransformStackSize) {
        refuse("g", attributes, "nests deeper than " + std::to_string(kTransformStackSize - 1) + " groups");
        return;
    }
    GroupState group = m_stack[m_depth];
    CCAffineTransform own;
    if (!parseTransform("g", attributes, own)) return;
    group.transform = kvengine::concatAffineTransform(own, group.transform);
    if (const char* label = attribute(attributes, "inkscape:label")) {
        group.physicsLayer = startsWith(label, "physics:");
        group.animationPathLayer = startsWith(label, "animpath");
    }
    if (group.physicsLayer && m_world == nullptr) {
        refuse("g", attributes, "is a physics group in a drawing read without a world");
        return;
    }
    m_stack[++m_depth] = group;
}

bool SVGParser::parseTransform(const char* name, const char** attributes, CCAffineTransform& transform) {
    const char* text = attribute(attributes, "transform");
    switch (svgsyntax::readTransform(text, transform)) {
    case svgsyntax::TransformReading::Read:
        return true;
    case svgsyntax::TransformReading::Unknown:
        log(name, attributes, std::string("transform \"") + text + "\" not understood; none applied");
        return true;
    default:
        refuse(name, attributes, std::string("has an unreadable transform \"") + text + "\"");
        return false;
    }
}

bool SVGParser::elementTransform(const char* name, const char** attributes, CCAffineTransform& transform) {
    CCAffineTransform own;
    if (!parseTransform(name, attributes, own)) return false;
    transform = kvengine::concatAffineTransform(own, m_stack[m_depth].transform);
    return true;
}

bool SVGParser::requiredNumber(const char* name, const char** attributes, const char* key, float& value) {
    const char* text = attribute(attributes, key);
    if (text == nullptr) {
        refuse(name, attributes, std::string("has no \"") + key + "\"");
        return false;
    }
    if (!svgsyntax::readLeadingNumber(text, value)) {
        refuse(name, attributes, std::string("has an unreadable \"") + key + "\" (\"" + text + "\")");
        return false;
    }
    return true;
}

bool SVGParser::readPhysicsAttribute(const char* name, const char** attributes) {
    m_physics = PhysicsSettings();
    m_physics.restitution = m_parameters.restitutionDefault;
    m_physics.friction = m_parameters.frictionDefault;
    m_physics.density = m_parameters.densityDefault;
    m_physics.type = b2_staticBody;
    const char* text = attribute(attributes, "physics");
    if (text != nullptr) {
        std::string rest = text;
        while (!rest.empty()) {
            size_t comma = rest.find(',');
            std::string pair = trimmed(rest.substr(0, comma));
            rest = comma == std::string::npos ? std::string() : rest.substr(comma + 1);
            if (pair.empty()) continue;
            size_t equals = pair.find('=');
            if (equals == std::string::npos) {
                refuse(name, attributes, "has a physics pair without \"=\" (\"" + pair + "\")");
                return false;
            }
            std::string key = trimmed(pair.substr(0, equals));
            std::string value = trimmed(pair.substr(equals + 1));
            float* number = key == "restitution" ? &m_physics.restitution
                            : key == "density"   ? &m_physics.density
                            : key == "friction"  ? &m_physics.friction
                                                 : nullptr;
            if (number != nullptr) {
                // Box2D mixes frictions through a square root and needs densities of 0 or more;
                // the bound keeps masses and inertia finite.
                if (!svgsyntax::readLeadingNumber(value.c_str(), *number) || !(*number >= 0.0f) ||
                    *number > kMaxWorldValue) {
                    refuse(name, attributes, "has an unreadable or negative physics value \"" + pair + "\"");
                    return false;
                }
            } else if (key == "isSensor") {
                m_physics.sensor = CCString(value).toBool();
            } else if (key == "fixedRotation") {
                m_physics.fixedRotation = CCString(value).toBool();
            } else if (key == "type") {
                if (value == "static")
                    m_physics.type = b2_staticBody;
                else if (value == "kinematic")
                    m_physics.type = b2_kinematicBody;
                else if (value == "dynamic")
                    m_physics.type = b2_dynamicBody;
                else
                    log(name, attributes, "physics type \"" + value + "\" unknown; ignored");
            } else {
                log(name, attributes, "physics key \"" + key + "\" unknown; ignored");
            }
        }
    }
    if (m_physics.density != 0.0f && m_physics.type == b2_staticBody) m_physics.type = b2_dynamicBody;
    return true;
}

void SVGParser::applyPhysicsAttribute(b2FixtureDef& fixture, b2Body* body) {
    fixture.restitution = m_physics.restitution;
    fixture.friction = m_physics.friction;
    fixture.density = m_physics.density;
    fixture.isSensor = m_physics.sensor;
    fixture.filter.categoryBits = kShapeCategoryBits;
    fixture.filter.maskBits = kShapeMaskBits;
    fixture.filter.groupIndex = kShapeGroupIndex;
    body->CreateFixture(&fixture);
    body->SetType(static_cast<b2BodyType>(m_physics.type));
    body->SetFixedRotation(m_physics.fixedRotation);
    body->ResetMassData();
}

void SVGParser::makePathBody(const char** attributes) {
    const char* d = attribute(attributes, "d");
    if (d == nullptr) {
        refuse("path", attributes, "has no \"d\"");
        return;
    }
    CCAffineTransform m;
    if (!elementTransform("path", attributes, m) || !readPhysicsAttribute("path", attributes)) return;
    svgsyntax::PathData path = svgsyntax::readPathData(d);
    logSkippedPathData(attributes, path);
    const float s = m_parameters.pixelsPerMetre;
    std::vector<svgsyntax::OutlineStep> steps = svgsyntax::traceOutline(
        path, [s](const CCPoint& p) { return CCPoint(p.x / s, -p.y / s); },
        m_parameters.pointsPerCubicSegment);

    CCPoint position(m.tx / s, (m_documentHeight - m.ty) / s);
    float angle = std::atan2(m.c, m.a);
    bool hasEdge = false;
    bool inRange = inWorldRange(position) && std::isfinite(angle);
    for (const svgsyntax::OutlineStep& step : steps) {
        hasEdge = hasEdge || step.joined;
        inRange = inRange && inWorldRange(step.point);
    }
    if (!hasEdge) {
        log("path", attributes, "outline has no edge; no body");
        return;
    }
    if (!inRange) {
        refuse("path", attributes, "lies beyond the world's range");
        return;
    }
    b2BodyDef def;
    def.position.Set(position.x, position.y);
    def.angle = angle;
    b2Body* body = m_world->CreateBody(&def);
    if (body == nullptr) return;
    for (size_t i = 1; i < steps.size(); ++i) {
        if (!steps[i].joined) continue;
        b2EdgeShape edge;
        edge.SetTwoSided(b2Vec2(steps[i - 1].point.x, steps[i - 1].point.y),
                         b2Vec2(steps[i].point.x, steps[i].point.y));
        b2FixtureDef fixture;
        fixture.shape = &edge;
        applyPhysicsAttribute(fixture, body);
    }
    handOver(attributes, body);
}

void SVGParser::makeArcBody(const char** attributes) {
    float cx = 0.0f, cy = 0.0f, rx = 0.0f, ry = 0.0f;
    CCAffineTransform m;
    if (!requiredNumber("path", attributes, "sodipodi:cx", cx) ||
        !requiredNumber("path", attributes, "sodipodi:cy", cy) ||
        !requiredNumber("path", attributes, "sodipodi:rx", rx) ||
        !requiredNumber("path", attributes, "sodipodi:ry", ry) || !elementTransform("path", attributes, m) ||
        !readPhysicsAttribute("path", attributes)) {
        return;
    }
    const float s = m_parameters.pixelsPerMetre;
    CCPoint centre((m.a * cx + m.c * cy + m.tx) / s, (m_documentHeight - (m.b * cx + m.d * cy + m.ty)) / s);
    float angle = std::atan2(m.c, m.a);
    // The lengths of the transformed axes, so that a rotation leaves the radius alone.
    float radius = (std::hypot(m.a, m.b) * rx + std::hypot(m.c, m.d) * ry) / 2.0f / s;
    if (!inWorldRange(centre) || !std::isfinite(angle) || !inWorldRange(radius)) {
        refuse("path", attributes, "lies beyond the world's range");
        return;
    }
    if (!(radius > 0.0f)) {
        refuse("path", attributes, "is an arc without a positive radius");
        return;
    }
    b2BodyDef def;
    def.position.Set(centre.x, centre.y);
    def.angle = angle;
    b2Body* body = m_world->CreateBody(&def);
    if (body == nullptr) return;
    b2CircleShape circle;
    circle.m_radius = radius;
    b2FixtureDef fixture;
    fixture.shape = &circle;
    applyPhysicsAttribute(fixture, body);
    handOver(attributes, body);
}

void SVGParser::makeRectBody(const char** attributes) {
    float x = 0.0f, y = 0.0f, width = 0.0f, height = 0.0f;
    CCAffineTransform m;
    if (!requiredNumber("rect", attributes, "x", x) || !requiredNumber("rect", attributes, "y", y) ||
        !requiredNumber("rect", attributes, "width", width) ||
        !requiredNumber("rect", attributes, "height", height) || !elementTransform("rect", attributes, m) ||
        !readPhysicsAttribute("rect", attributes)) {
        return;
    }
    const float s = m_parameters.pixelsPerMetre;
    CCPoint corner((m.a * x + m.c * y + m.tx) / s, (m_documentHeight - (m.b * x + m.d * y + m.ty)) / s);
    float angle = std::atan2(m.c, m.a);
    float w = width / s, h = height / s;
    if (!inWorldRange(corner) || !std::isfinite(angle) || !inWorldRange(w) || !inWorldRange(h)) {
        refuse("rect", attributes, "lies beyond the world's range");
        return;
    }
    // A box thinner than Box2D's slop has no usable normals or mass.
    if (!(w >= b2_linearSlop && h >= b2_linearSlop)) {
        refuse("rect", attributes, "is too small for a box");
        return;
    }
    b2BodyDef def;
    def.position.Set(corner.x, corner.y);
    def.angle = angle;
    b2Body* body = m_world->CreateBody(&def);
    if (body == nullptr) return;
    b2PolygonShape box;
    // Vertices (0, -h), (w, -h), (w, 0), (0, 0): the box hangs below and right of the corner.
    box.SetAsBox(w / 2.0f, h / 2.0f, b2Vec2(w / 2.0f, -h / 2.0f), 0.0f);
    b2FixtureDef fixture;
    fixture.shape = &box;
    applyPhysicsAttribute(fixture, body);
    handOver(attributes, body);
}

void SVGParser::readAnimationPath(const char** attributes) {
    if (isArc(attributes)) return; // an ellipse is no path to follow
    const char* d = attribute(attributes, "d");
    if (d == nullptr) {
        refuse("path", attributes, "has no \"d\"");
        return;
    }
    CCAffineTransform m;
    if (!elementTransform("path", attributes, m)) return;
    svgsyntax::PathData path = svgsyntax::readPathData(d);
    logSkippedPathData(attributes, path);
    const float s = m_parameters.pixelsPerMetre, height = m_documentHeight, tx = m.tx, ty = m.ty;
    std::vector<svgsyntax::OutlineStep> steps = svgsyntax::traceOutline(
        path, [=](const CCPoint& p) { return CCPoint((p.x + tx) / s, (height - (p.y + ty)) / s); },
        m_parameters.pointsPerCubicSegment);
    for (const svgsyntax::OutlineStep& step : steps) {
        if (!std::isfinite(step.point.x) || !std::isfinite(step.point.y)) {
            refuse("path", attributes, "lies beyond the float range");
            return;
        }
    }
    const char* gameData = attribute(attributes, "game_data");
    if (steps.empty() || gameData == nullptr || m_delegate == nullptr) return;
    auto* points = new SVGPointList();
    points->autorelease();
    for (const svgsyntax::OutlineStep& step : steps) {
        auto* point = new kvengine::CCValue<CCPoint>(step.point);
        points->addObject(point);
        point->release();
    }
    auto* text = new CCString(gameData);
    m_delegate->addAnimationPath(text, points);
    text->release();
}

void SVGParser::logSkippedPathData(const char** attributes, const svgsyntax::PathData& path) const {
    // Once per element, so that a path drawn with relative commands is noticed but not repeated.
    if (path.skippedCommands.empty() && !path.malformed) return;
    std::string what;
    if (!path.skippedCommands.empty()) what = "unsupported commands \"" + path.skippedCommands + "\"";
    if (path.malformed) what += std::string(what.empty() ? "" : " and ") + "malformed path data";
    log("path", attributes, what + " skipped");
}

void SVGParser::handOver(const char** attributes, b2Body* body) {
    const char* gameData = attribute(attributes, "game_data");
    if (gameData == nullptr || m_delegate == nullptr) return;
    auto* text = new CCString(gameData);
    m_delegate->createObjectFromDescription(text, body);
    text->release();
}

void SVGParser::refuse(const char* name, const char** attributes, const std::string& reason) {
    log(name, attributes, reason + "; skipped");
    m_skipDepth = 1;
}

void SVGParser::log(const char* name, const char** attributes, const std::string& message) const {
    const char* id = attribute(attributes, "id");
    std::string element = id != nullptr ? std::string(name) + " \"" + id + "\""
                                        : std::string(name) + " #" + std::to_string(m_elementCount);
    kvengine::logDebugMessage("SVGParser: \"%s\": %s %s", m_fileName.c_str(), element.c_str(),
                              message.c_str());
}
