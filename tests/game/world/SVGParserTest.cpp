#include <gtest/gtest.h>

#include <box2d/box2d.h>

#include <cmath>
#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

#include "WorldTestSupport.h"
#include "engine/base/CCAutoreleasePoolStack.h"
#include "engine/base/CCMutableArray.h"
#include "engine/base/CCString.h"
#include "engine/base/CCValue.h"
#include "game/world/SVGParser.h"
#include "game/world/SVGParserDelegate.h"
#include "support/TestFiles.h"

using kvengine::CCPoint;
using worldtest::LogCapture;

namespace {

// Every drawing below is 64 pixels high: a drawing point (x, y) lies at (x / 32, 2 - y / 32) m.
const char* const kRootStart = "<svg xmlns=\"http://www.w3.org/2000/svg\""
                               " xmlns:inkscape=\"http://www.inkscape.org/namespaces/inkscape\""
                               " xmlns:sodipodi=\"http://sodipodi.sourceforge.net/DTD/sodipodi-0.dtd\""
                               " width=\"64\" height=\"64px\">";

/// Records what the parser hands over.
class RecordingDelegate : public SVGParserDelegate {
public:
    struct Object {
        std::string description;
        b2Body* body;
    };
    struct Path {
        std::string gameData;
        std::vector<CCPoint> points;
    };

    void createObjectFromDescription(kvengine::CCString* description, b2Body* body) override {
        objects.push_back({description->text, body});
    }
    void addAnimationPath(kvengine::CCString* gameData, SVGPointList* points) override {
        Path path{gameData->text, {}};
        for (unsigned i = 0; i < points->count(); ++i)
            path.points.push_back(points->objectAtIndex(i)->value);
        paths.push_back(path);
    }

    std::vector<Object> objects;
    std::vector<Path> paths;
};

/// A number rounded to three decimals, without trailing zeros or a negative zero.
std::string number(float value) {
    char text[32];
    std::snprintf(text, sizeof text, "%.3f", static_cast<double>(value));
    std::string out = text;
    out.erase(out.find_last_not_of('0') + 1);
    if (out.back() == '.') out.pop_back();
    return out == "-0" ? "0" : out;
}

std::string point(const b2Vec2& p) {
    return number(p.x) + "," + number(p.y);
}

/// One line per body, in creation order: type, position, angle, flags, the first fixture's
/// material where it differs from the level defaults (d0 f0.2 r0), then the fixtures in creation
/// order: e(edge), p(polygon vertices), c(circle radius). Checks the shapes' filter on the way.
std::string describeWorld(b2World* world) {
    std::vector<b2Body*> bodies;
    for (b2Body* body = world->GetBodyList(); body != nullptr; body = body->GetNext())
        bodies.insert(bodies.begin(), body);
    std::string out;
    for (b2Body* body : bodies) {
        static const char* const kTypes[] = {"static", "kinematic", "dynamic"};
        std::vector<b2Fixture*> fixtures;
        for (b2Fixture* f = body->GetFixtureList(); f != nullptr; f = f->GetNext())
            fixtures.insert(fixtures.begin(), f);
        if (!out.empty()) out += "\n";
        out += std::string(kTypes[body->GetType()]) + " " + point(body->GetPosition()) + " " +
               number(body->GetAngle());
        if (!fixtures.empty() && fixtures[0]->IsSensor()) out += " sensor";
        if (body->IsFixedRotation()) out += " fixed";
        if (!fixtures.empty()) {
            b2Fixture* f = fixtures[0];
            if (f->GetDensity() != 0.0f) out += " d" + number(f->GetDensity());
            if (f->GetFriction() != 0.2f) out += " f" + number(f->GetFriction());
            if (f->GetRestitution() != 0.0f) out += " r" + number(f->GetRestitution());
        }
        out += " |";
        for (b2Fixture* f : fixtures) {
            const b2Filter& filter = f->GetFilterData();
            EXPECT_EQ(filter.categoryBits, 4);
            EXPECT_EQ(filter.maskBits, 0xFFFF);
            EXPECT_EQ(filter.groupIndex, 5);
            if (f->GetType() == b2Shape::e_edge) {
                auto* edge = static_cast<b2EdgeShape*>(f->GetShape());
                out += " e(" + point(edge->m_vertex1) + " " + point(edge->m_vertex2) + ")";
            } else if (f->GetType() == b2Shape::e_polygon) {
                auto* polygon = static_cast<b2PolygonShape*>(f->GetShape());
                out += " p(";
                for (int i = 0; i < polygon->m_count; ++i)
                    out += (i > 0 ? " " : "") + point(polygon->m_vertices[i]);
                out += ")";
            } else if (f->GetType() == b2Shape::e_circle) {
                out += " c(" + number(f->GetShape()->m_radius) + ")";
            }
        }
    }
    return out;
}

class SVGParserTest : public ::testing::Test {
protected:
    void SetUp() override {
        kvengine::CCAutoreleasePoolStack::getInstance().push();
        folder = kvtest::makeTempFolder("svgparser");
        world = new b2World(b2Vec2(0.0f, -10.0f));
    }
    void TearDown() override {
        delete world;
        kvengine::CCAutoreleasePoolStack::getInstance().pop();
        std::error_code ignored;
        std::filesystem::remove_all(folder, ignored);
    }

    /// Writes `content` inside the 64-pixel root (or as the whole document) and parses it.
    void parse(const std::string& content, b2World* into, bool wholeDocument = false,
               const SVGParserParameters& block = SVGParserParameters()) {
        std::string path = folder + "/level" + std::to_string(++files) + ".svg";
        ASSERT_TRUE(kvtest::writeTextFile(path, wholeDocument ? content : kRootStart + content + "</svg>"));
        auto* name = new kvengine::CCString(path);
        (new SVGParser(block, name, into, &delegate))->release();
        name->release();
    }

    std::string folder;
    int files = 0;
    b2World* world = nullptr;
    RecordingDelegate delegate;
};

const std::string kPhysics = "<g inkscape:label=\"physics:walls\">";

struct DrawingCase {
    const char* name;
    std::string content;
    const char* bodies;
};

TEST_F(SVGParserTest, DrawingsBecomeBodies) {
    const std::string unitSquare = " width=\"32\" height=\"32\"";
    const DrawingCase cases[] = {
        {"closed square path", kPhysics + "<path d=\"M 0,0 L 32,0 L 32,32 z\"/></g>",
         "static 0,2 0 | e(0,0 1,0) e(1,0 1,-1) e(1,-1 0,0)"},
        {"pairs after M are lines", kPhysics + "<path d=\"M 0,0 32,0 32,32 Z\"/></g>",
         "static 0,2 0 | e(0,0 1,0) e(1,0 1,-1) e(1,-1 0,0)"},
        {"numbers .5, 1.6e1, -.8e1 and straight after a letter, lines across line breaks",
         kPhysics + "<path d=\"M32,0L.5,0&#10; L1.6e1-.8e1z\"/></g>",
         "static 0,2 0 | e(1,0 0.016,0) e(0.016,0 0.5,0.25) e(0.5,0.25 1,0)"},
        {"M10, 1e1 and .5 read as numbers", kPhysics + "<path d=\"M10,64L1e1,.5\"/></g>",
         "static 0,2 0 | e(0.312,-2 0.312,-0.016)"},
        {"path body at the transform's translation, scale unused",
         kPhysics + "<path transform=\"matrix(2,0,0,2,32,16)\" d=\"M 0,0 L 32,0\"/></g>",
         "static 1,1.5 0 | e(0,0 1,0)"},
        {"rect rotated by 90 turns clockwise",
         kPhysics + "<rect x=\"0\" y=\"0\" width=\"32\" height=\"16\" "
                    "transform=\"rotate(90)\"/></g>",
         "static 0,2 -1.571 | p(0,-0.5 1,-0.5 1,0 0,0)"},
        {"transform values with spaces after commas",
         "<g inkscape:label=\"physics:a\" transform=\"translate(32, 16)\"><rect x=\"0\" y=\"0\"" +
             unitSquare + "/></g>",
         "static 1,1.5 0 | p(0,-1 1,-1 1,0 0,0)"},
        {"group transform after the shape's own; the box is not scaled",
         "<g inkscape:label=\"physics:a\" transform=\"scale(2)\"><rect x=\"8\" y=\"0\"" + unitSquare +
             " transform=\"translate(0 8)\"/></g>",
         "static 0.5,1.5 0 | p(0,-1 1,-1 1,0 0,0)"},
        {"transform list and rotation about a centre",
         kPhysics + "<rect x=\"0\" y=\"0\"" + unitSquare +
             " transform=\"translate(16) rotate(90, 16, 16)\"/></g>",
         "static 1.5,2 -1.571 | p(0,-1 1,-1 1,0 0,0)"},
        {"unknown transform is the identity",
         kPhysics + "<rect x=\"0\" y=\"0\"" + unitSquare + " transform=\"perspective(3)\"/></g>",
         "static 0,2 0 | p(0,-1 1,-1 1,0 0,0)"},
        {"density alone makes a dynamic body",
         kPhysics + "<rect x=\"0\" y=\"0\"" + unitSquare + " physics=\"density=1\"/></g>",
         "dynamic 0,2 0 d1 | p(0,-1 1,-1 1,0 0,0)"},
        {"density makes a dynamic body also with type static",
         kPhysics + "<rect x=\"0\" y=\"0\"" + unitSquare + " physics=\"density=1,type=static\"/></g>",
         "dynamic 0,2 0 d1 | p(0,-1 1,-1 1,0 0,0)"},
        {"every physics key, spaces around pairs",
         kPhysics + "<path d=\"M 0,0 L 32,0\" physics=\"type=kinematic, isSensor=YES,fixedRotation=1,"
                    "friction=0.5,restitution=0.25,colour=red\"/></g>",
         "kinematic 0,2 0 sensor fixed f0.5 r0.25 | e(0,0 1,0)"},
        {"nested unlabelled group stays physics",
         kPhysics + "<g><rect x=\"0\" y=\"0\"" + unitSquare + "/></g></g>",
         "static 0,2 0 | p(0,-1 1,-1 1,0 0,0)"},
        {"nested labelled group is not physics, and its end restores physics",
         kPhysics + "<g inkscape:label=\"decor\"><rect x=\"0\" y=\"0\"" + unitSquare +
             "/></g><rect x=\"32\" y=\"0\"" + unitSquare + "/></g>",
         "static 1,2 0 | p(0,-1 1,-1 1,0 0,0)"},
        {"arc at its transformed centre",
         kPhysics + "<path sodipodi:type=\"arc\" sodipodi:cx=\"16\" sodipodi:cy=\"32\" sodipodi:rx=\"16\" "
                    "sodipodi:ry=\"8\" transform=\"scale(2,1)\" d=\"m 0,0 a 1,1 0 0 1 0,0\"/></g>",
         "static 1,1 0 | c(0.625)"},
        {"rotated arc keeps its radius",
         kPhysics + "<path sodipodi:type=\"arc\" sodipodi:cx=\"32\" sodipodi:cy=\"0\" sodipodi:rx=\"16\" "
                    "sodipodi:ry=\"16\" transform=\"rotate(90)\"/></g>",
         "static 0,1 -1.571 | c(0.5)"},
        {"shapes outside physics groups make nothing",
         "<rect x=\"0\" y=\"0\"" + unitSquare + "/><g inkscape:label=\"animpath1\"><rect x=\"0\" y=\"0\"" +
             unitSquare + "/></g><g inkscape:label=\"background\"><path d=\"M 0,0 L 32,0\"/></g>",
         ""},
        {"an outline without an edge makes no body", kPhysics + "<path d=\"M 10,10\"/><path d=\"\"/></g>",
         ""},
    };
    for (const DrawingCase& c : cases) {
        SCOPED_TRACE(c.name);
        LogCapture log;
        delete world;
        world = new b2World(b2Vec2(0.0f, -10.0f));
        parse(c.content, world);
        EXPECT_EQ(describeWorld(world), c.bodies);
        EXPECT_EQ(world->GetGravity(), b2Vec2(0.0f, 0.0f));
    }
}

TEST_F(SVGParserTest, CubicGivesItsSamplesButNotItsEndPoint) {
    parse(kPhysics +
              "<path d=\"M 0,0 C 0,0 32,0 32,0\"/></g>"
              "<g inkscape:label=\"animpath\"><path d=\"M 0,64 C 0,64 32,64 32,64\" game_data=\"g\"/></g>",
          world);
    ASSERT_NE(world->GetBodyList(), nullptr);
    std::vector<b2Vec2> ends; // each edge's second vertex, in creation order
    for (b2Fixture* f = world->GetBodyList()->GetFixtureList(); f != nullptr; f = f->GetNext())
        ends.insert(ends.begin(), static_cast<b2EdgeShape*>(f->GetShape())->m_vertex2);
    ASSERT_EQ(ends.size(), 15u);
    EXPECT_EQ(ends.front(), b2Vec2(0.0f, 0.0f)); // the first sample is the start point itself
    const float t = 14.0f / 15.0f;
    EXPECT_NEAR(ends.back().x, 3 * t * t - 2 * t * t * t, 1e-5);
    EXPECT_NEAR(ends.back().x, 0.987f, 5e-4);
    for (const b2Vec2& end : ends) {
        EXPECT_EQ(end.y, 0.0f);
        EXPECT_LT(end.x, 0.99f);
    }

    ASSERT_EQ(delegate.paths.size(), 1u);
    const std::vector<CCPoint>& points = delegate.paths[0].points;
    ASSERT_EQ(points.size(), 16u); // the M point, then the 15 samples
    EXPECT_NEAR(points.back().x, ends.back().x, 1e-6);
    EXPECT_EQ(points.back().y, 0.0f);
}

TEST_F(SVGParserTest, ShapesWithGameDataHandTheirBodyToTheDelegate) {
    parse(kPhysics + "<rect x=\"0\" y=\"0\" width=\"32\" height=\"32\" "
                     "game_data=\"object=Geyser,objectparams=power:3\"/>"
                     "<path d=\"M 0,0 L 32,0\"/>"
                     "<path d=\"M 0,0 L 32,0\" game_data=\"object=Hole\"/></g>",
          world);
    ASSERT_EQ(delegate.objects.size(), 2u);
    EXPECT_EQ(delegate.objects[0].description, "object=Geyser,objectparams=power:3");
    EXPECT_EQ(delegate.objects[1].description, "object=Hole");
    ASSERT_EQ(world->GetBodyCount(), 3);
    // Box2D lists the newest body first.
    EXPECT_EQ(delegate.objects[1].body, world->GetBodyList());
    EXPECT_EQ(delegate.objects[0].body, world->GetBodyList()->GetNext()->GetNext());
    EXPECT_EQ(delegate.objects[0].body->GetFixtureList()->GetShape()->GetType(), b2Shape::e_polygon);
}

TEST_F(SVGParserTest, AnimationPathsReadWithoutAWorldGiveTheirPoints) {
    LogCapture log;
    SVGParserParameters block;
    block.gravityY = 5.0f; // no world to give it to
    parse(
        "<g inkscape:label=\"physics:walls\"><rect x=\"0\" y=\"0\" width=\"32\" height=\"32\"/></g>"
        "<g inkscape:label=\"animpath_fish\" transform=\"translate(32,0)\">"
        "<path d=\"M 0,0 L 32,0 z\" transform=\"rotate(45)\" game_data=\"objectParams=sprite_name:fish\"/>"
        "<path d=\"M 0,0 L 32,32\"/>"
        "<path sodipodi:type=\"arc\" sodipodi:cx=\"1\" sodipodi:cy=\"1\" sodipodi:rx=\"1\" sodipodi:ry=\"1\""
        " d=\"M 0,0 L 1,1\" game_data=\"arc\"/>"
        "<rect x=\"0\" y=\"0\" width=\"32\" height=\"32\" game_data=\"rect\"/></g>",
        nullptr, false, block);
    // The physics group is refused; the animation paths after it are still read.
    EXPECT_TRUE(log.contains("g #2 is a physics group in a drawing read without a world; skipped"));
    EXPECT_TRUE(delegate.objects.empty());
    ASSERT_EQ(delegate.paths.size(), 1u);
    EXPECT_EQ(delegate.paths[0].gameData, "objectParams=sprite_name:fish");
    // Only the translation is used: the rotation of the path is not.
    const std::vector<CCPoint>& points = delegate.paths[0].points;
    ASSERT_EQ(points.size(), 3u);
    EXPECT_EQ(points[0].x, 1.0f);
    EXPECT_EQ(points[0].y, 2.0f);
    EXPECT_EQ(points[1].x, 2.0f);
    EXPECT_EQ(points[1].y, 2.0f);
    EXPECT_EQ(points[2].x, 1.0f); // Z: the sub-path's start again
    EXPECT_EQ(points[2].y, 2.0f);
}

TEST_F(SVGParserTest, SkippedPathCommandsAreLoggedOncePerElement) {
    LogCapture log;
    parse(kPhysics + "<path id=\"rel\" d=\"M 0,0 l 10,10 h 5 L 32,0 l 1,1 Q 1,2 3,4\"/>"
                     "<path id=\"bad\" d=\"M 0,0 L 32 C 1,2 3,4 5,6 Z 7,8 # - L 0,32\"/></g>",
          world);
    int lines = 0;
    for (const std::string& line : log.lines)
        lines += line.find("\"rel\"") != std::string::npos ? 1 : 0;
    EXPECT_EQ(lines, 1);
    EXPECT_TRUE(log.contains("path \"rel\" unsupported commands \"lhQ\" skipped"));
    EXPECT_TRUE(log.contains("path \"bad\" malformed path data skipped"));
    // "rel": only the absolute line; "bad": the incomplete L and the stray numbers are dropped.
    std::string bodies = describeWorld(world);
    EXPECT_EQ(bodies.substr(0, bodies.find('\n')), "static 0,2 0 | e(0,0 1,0)");
    EXPECT_NE(bodies.find("e(0,0 0,-1)"), std::string::npos); // the L after the noise still reads
}

struct RefusalCase {
    const char* name;
    std::string document;
    const char* log;
    const char* bodies;
};

TEST_F(SVGParserTest, BadInputIsRefusedWithALogLine) {
    const std::string square = "<rect x=\"32\" y=\"0\" width=\"32\" height=\"32\"/>";
    const char* const squareBody = "static 1,2 0 | p(0,-1 1,-1 1,0 0,0)";
    std::string deepest, tooDeep; // 31 nested groups are read, 32 are not
    for (int i = 0; i < 30; ++i)
        deepest += "<g>";
    for (int i = 0; i < 40; ++i)
        tooDeep += "<g>";
    std::string deepestEnd, tooDeepEnd;
    for (int i = 0; i < 30; ++i)
        deepestEnd += "</g>";
    for (int i = 0; i < 40; ++i)
        tooDeepEnd += "</g>";
    const RefusalCase cases[] = {
        {"40 nested groups",
         kPhysics + tooDeep + "<rect x=\"0\" y=\"0\" width=\"9\" height=\"9\"/>" + tooDeepEnd + square +
             "</g>",
         "g #33 nests deeper than 31 groups; skipped", squareBody},
        {"31 nested groups are read", kPhysics + deepest + square + deepestEnd + "</g>", nullptr, squareBody},
        {"rect without height", kPhysics + "<rect id=\"r\" x=\"0\" y=\"0\" width=\"32\"/>" + square + "</g>",
         "rect \"r\" has no \"height\"; skipped", squareBody},
        {"rect with an unreadable number",
         kPhysics + "<rect x=\"0\" y=\"zero\" width=\"32\" height=\"32\"/></g>",
         "rect #3 has an unreadable \"y\" (\"zero\"); skipped", ""},
        {"path without d", kPhysics + "<path id=\"p\"/>" + square + "</g>",
         "path \"p\" has no \"d\"; skipped", squareBody},
        {"arc without its y radius",
         kPhysics + "<path sodipodi:type=\"arc\" sodipodi:cx=\"0\" sodipodi:cy=\"0\" sodipodi:rx=\"4\"/></g>",
         "path #3 has no \"sodipodi:ry\"; skipped", ""},
        {"arc of radius 0",
         kPhysics + "<path sodipodi:type=\"arc\" sodipodi:cx=\"0\" sodipodi:cy=\"0\" sodipodi:rx=\"0\" "
                    "sodipodi:ry=\"0\"/></g>",
         "path #3 is an arc without a positive radius; skipped", ""},
        {"translate without values",
         kPhysics +
             "<rect x=\"0\" y=\"0\" width=\"32\" height=\"32\" "
             "transform=\"translate()\"/>" +
             square + "</g>",
         "rect #3 has an unreadable transform \"translate()\"; skipped", squareBody},
        {"rotate with two values and a group with a bad transform loses its content",
         kPhysics + "<g transform=\"rotate(1,2)\">" + square + "</g>" + square + "</g>",
         "g #3 has an unreadable transform \"rotate(1,2)\"; skipped", squareBody},
        {"matrix with five values",
         kPhysics + "<path d=\"M 0,0 L 1,1\" transform=\"matrix(1,0,0,1,0)\"/></g>",
         "path #3 has an unreadable transform", ""},
        {"physics pair without =",
         kPhysics + "<rect x=\"0\" y=\"0\" width=\"32\" height=\"32\" physics=\"density\"/>" + square +
             "</g>",
         "rect #3 has a physics pair without \"=\" (\"density\"); skipped", squareBody},
        {"physics value not a number",
         kPhysics + "<rect x=\"0\" y=\"0\" width=\"32\" height=\"32\" physics=\"friction=high\"/></g>",
         "rect #3 has an unreadable or negative physics value \"friction=high\"; skipped", ""},
        {"negative density", kPhysics + "<path d=\"M 0,0 L 1,1\" physics=\"density=-1\"/></g>",
         "path #3 has an unreadable or negative physics value \"density=-1\"; skipped", ""},
        {"unknown physics type is ignored",
         kPhysics + "<path d=\"M 0,0 L 32,0\" physics=\"type=floating\"/></g>",
         "path #3 physics type \"floating\" unknown; ignored", "static 0,2 0 | e(0,0 1,0)"},
        {"rect of no width", kPhysics + "<rect x=\"0\" y=\"0\" width=\"0\" height=\"32\"/></g>",
         "rect #3 is too small for a box; skipped", ""},
        {"rect far beyond the level", kPhysics + "<rect x=\"1e30\" y=\"0\" width=\"32\" height=\"32\"/></g>",
         "rect #3 lies beyond the world's range; skipped", ""},
        {"path far beyond the level", kPhysics + "<path d=\"M 0,0 L 3e38,0\"/></g>",
         "path #3 lies beyond the world's range; skipped", ""},
        {"number beyond the float range", kPhysics + "<path d=\"M 0,0 L 1e39,0 L 32,0\"/></g>",
         "path #3 malformed path data skipped", "static 0,2 0 | e(0,0 1,0)"},
    };
    for (const RefusalCase& c : cases) {
        SCOPED_TRACE(c.name);
        LogCapture log;
        delete world;
        world = new b2World(b2Vec2(0.0f, 0.0f));
        parse(c.document, world);
        EXPECT_EQ(describeWorld(world), c.bodies);
        if (c.log != nullptr) {
            EXPECT_TRUE(log.contains(c.log)) << (log.lines.empty() ? "(no log line)" : log.lines[0]);
        } else {
            EXPECT_TRUE(log.lines.empty()) << log.lines[0];
        }
    }
}

TEST_F(SVGParserTest, DrawingsThatCannotBeReadMakeNothing) {
    const std::string body =
        kPhysics + "<rect x=\"0\" y=\"0\" width=\"32\" height=\"32\" game_data=\"x\"/></g>";
    const struct {
        const char* name;
        std::string document;
        const char* log;
    } cases[] = {
        {"root without height", "<svg width=\"64\">" + body + "</svg>", "svg #1 has no \"height\"; skipped"},
        {"root of another kind", "<html>" + body + "</html>",
         "html #1 is not an SVG drawing's root; skipped"},
        {"not XML", "<svg width=\"1\" height=\"1\"><g", "line"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        LogCapture log;
        parse(c.document, world, true);
        EXPECT_TRUE(log.contains(c.log));
        EXPECT_EQ(world->GetBodyCount(), 0);
        EXPECT_TRUE(delegate.objects.empty());
    }

    LogCapture log;
    auto* missing = new kvengine::CCString(folder + "/missing.svg");
    (new SVGParser(SVGParserParameters(), missing, world, &delegate))->release();
    missing->release();
    EXPECT_EQ(world->GetBodyCount(), 0);

    SVGParserParameters noScale;
    noScale.pixelsPerMetre = 0.0f;
    parse(body, world, false, noScale);
    EXPECT_TRUE(log.contains("pixels per metre 0 or cubic samples 15 refused; nothing read"));
    EXPECT_EQ(world->GetBodyCount(), 0);
    EXPECT_TRUE(delegate.objects.empty());
}

} // namespace
