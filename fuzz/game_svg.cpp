// Feeds arbitrary level drawings to the SVG parser, twice: into a fresh physics world with the
// level builder's settings, then without a world at one pixel per unit, as the animation layer
// reads its paths. Whatever the parser makes must be sound: bodies in the world, finite and in
// range, carrying the drawing's filter, and a world that steps; animation paths with at least one
// finite point.
#include <box2d/box2d.h>
#include <unistd.h>

#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "engine/base/CCAutoreleasePoolStack.h"
#include "engine/base/CCLog.h"
#include "engine/base/CCMutableArray.h"
#include "engine/base/CCString.h"
#include "engine/base/CCValue.h"
#include "engine/files/CCFileUtils.h"
#include "game/world/SVGParser.h"
#include "game/world/SVGParserDelegate.h"

using namespace kvengine;

namespace {

std::string g_folder;
std::string g_path;

bool finiteInRange(float value) {
    return std::fabs(value) <= 1.0e6f;
}

class CheckingDelegate : public SVGParserDelegate {
public:
    void createObjectFromDescription(CCString* description, b2Body* body) override {
        if (description == nullptr || body == nullptr || world == nullptr) std::abort();
        bool found = false;
        for (b2Body* b = world->GetBodyList(); b != nullptr; b = b->GetNext())
            found = found || b == body;
        if (!found || body->GetFixtureList() == nullptr) std::abort();
    }
    void addAnimationPath(CCString* gameData, SVGPointList* points) override {
        if (gameData == nullptr || points == nullptr || points->count() == 0) std::abort();
        for (unsigned i = 0; i < points->count(); ++i) {
            const CCPoint& p = points->objectAtIndex(i)->value;
            if (!std::isfinite(p.x) || !std::isfinite(p.y)) std::abort();
        }
    }
    b2World* world = nullptr;
};

void checkWorld(b2World* world) {
    for (b2Body* body = world->GetBodyList(); body != nullptr; body = body->GetNext()) {
        const b2Vec2& position = body->GetPosition();
        if (!finiteInRange(position.x) || !finiteInRange(position.y) || !std::isfinite(body->GetAngle()))
            std::abort();
        for (b2Fixture* fixture = body->GetFixtureList(); fixture != nullptr; fixture = fixture->GetNext()) {
            if (fixture->GetFilterData().groupIndex != 5 || !(fixture->GetDensity() >= 0.0f) ||
                !(fixture->GetFriction() >= 0.0f))
                std::abort();
        }
    }
    for (int i = 0; i < 3; ++i)
        world->Step(1.0f / 60.0f, 8, 8);
}

} // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    setDebugLogSink([](const std::string&) {}); // bad input is expected here; keep the output quiet
    // The drawing goes through a file for each input: on a memory file system when there is one,
    // where opening it costs a small part of what it costs under /tmp here.
    char memory[] = "/dev/shm/kelvos-fuzz-svg-XXXXXX";
    char disk[] = "/tmp/kelvos-fuzz-svg-XXXXXX";
    const char* made = mkdtemp(memory);
    if (made == nullptr) made = mkdtemp(disk);
    if (made == nullptr) return 0;
    g_folder = made;
    g_path = g_folder + "/level.svg";
    // The resource index walks its root once: keep that walk to the scratch folder.
    if (!setResourceRootPath(g_folder)) g_folder.clear();
    std::atexit([] {
        std::remove(g_path.c_str());
        rmdir(g_folder.c_str());
    });
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size > (1u << 16) || g_folder.empty()) return 0;
    FILE* file = std::fopen(g_path.c_str(), "wb");
    if (file == nullptr) return 0;
    std::fwrite(data, 1, size, file);
    std::fclose(file);

    CCAutoreleasePoolStack::getInstance().push();
    auto* name = new CCString(g_path);
    CheckingDelegate delegate;
    // One world serves every input (made afresh each time, most of the run went into setting up
    // Box2D's allocators); it is emptied after each.
    static b2World* world = new b2World(b2Vec2(0.0f, 0.0f));
    world->SetGravity(b2Vec2(0.0f, -10.0f));
    delegate.world = world;
    (new SVGParser(SVGParserParameters(), name, world, &delegate))->release();
    checkWorld(world);
    while (b2Body* body = world->GetBodyList())
        world->DestroyBody(body);
    delegate.world = nullptr;
    SVGParserParameters points;
    points.pixelsPerMetre = 1.0f;
    (new SVGParser(points, name, nullptr, &delegate))->release();
    name->release();
    CCAutoreleasePoolStack::getInstance().pop();
    return 0;
}
