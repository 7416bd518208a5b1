// The game model's frame on the built mission M01b, beside a bare Box2D world holding the same
// bodies. One iteration is 1,000 frames at a fixed 1/60 s on a level built afresh (the build is
// not timed): the first turn started, the kelvos sent across the level at the same speeds in both
// worlds, so that bodies collide, roll and fall for the first seconds and then come to rest.
//   BM_GameModelUpdate  KVGameModel::update: the world's step with the contact listener, every
//                       actor, the turn and score managers;
//   BM_BareWorldStep    b2World::Step with the model's iterations on a copy of the same bodies,
//                       fixtures, filters, masses and velocities, without listeners or actors.
// The counter frame_time is the time of one frame. The difference of the two is what the game
// adds to the physics.
// The resource folder is build/Resources beside this program's folder, or KELVOS_RESOURCES; the
// profile the kelvos read is made in a folder of the bench's own.
#include <unistd.h>

#include <benchmark/benchmark.h>
#include <box2d/box2d.h>

#include <cstdlib>
#include <filesystem>
#include <memory>
#include <string>

#include "bench/support/BenchResources.h"
#include "engine/base/CCAutoreleasePool.h"
#include "engine/base/CCAutoreleasePoolStack.h"
#include "engine/base/CCLog.h"
#include "engine/base/CCNotificationCenter.h"
#include "engine/base/CCRandom.h"
#include "engine/director/CCDirector.h"
#include "engine/files/CCFileUtils.h"
#include "engine/platform/CCGLWindow.h"
#include "engine/tilemaps/CCTMXTiledMap.h"
#include "game/app/KVGameServices.h"
#include "game/app/KVGlobalNames.h"
#include "game/data/KVDataAccess.h"
#include "game/data/KVGameSetup.h"
#include "game/model/KVGameModel.h"
#include "game/pawns/KVPawn.h"
#include "game/pawns/KVPawnManager.h"
#include "game/pawns/KVTurnManager.h"
#include "game/rules/KVRuleManager.h"
#include "game/world/KVObjectFactory.h"
#include "game/world/KVPhysWorld.h"

using namespace kvengine;

namespace {

constexpr int kFrames = 1000;
constexpr float kFrame = 1.0f / 60.0f;
// As the game's physics world steps.
constexpr int kVelocityIterations = 8;
constexpr int kPositionIterations = 8;

// The maps' tile layers are textures: a window gives the context.
struct Stage {
    std::unique_ptr<CCGLWindow> window;
    std::string home;
    bool ok = false;

    Stage() {
        window = createPlatformWindow();
        if (!window->create("bench level", false, 320, 240)) return;
        const std::string resources = kvbench::resourceFolder();
        if (!setResourceRootPath(resources) || chdir(resources.c_str()) != 0) return;
        char pattern[] = "/tmp/kvbench-level-XXXXXX";
        if (mkdtemp(pattern) == nullptr) return;
        home = pattern;
        setenv("XDG_DATA_HOME", home.c_str(), 1);
        CCAutoreleasePoolStack::getInstance().push();
        KVObjectFactory::registerGameClasses();
        CCDirector::getInstance()->enableDoubleContentScale();
        kvConnectGameServices();
        setDebugLogSink([](const std::string&) {});
        ok = true;
    }
    ~Stage() {
        std::error_code ignored;
        if (!home.empty()) std::filesystem::remove_all(home, ignored);
    }
};

Stage& stage() {
    static Stage shared;
    return shared;
}

// M01b built as the mission scene builds it, its first turn started and its kelvos sent off.
KVGameModel* buildLevel() {
    CCRandom::seed(1);
    KVGameSetup* setup = KVGameSetup::getInstance();
    setup->solo = true;
    setup->playerCount = 1;
    setup->setMissionName(kvdata::newString("M01b"));
    setup->buildTeam();
    KVPhysWorld::getInstance()->setFixedTimeStep(true);
    KVPawnManager::getInstance();
    CCTMXTiledMap* map = CCTMXTiledMap::createWithFile(setup->getLevelTmxPath()->c_str());
    auto* model = new KVGameModel();
    if (map == nullptr || !model->buildLevel(map)) {
        model->release();
        return nullptr;
    }
    model->getTurnManager()->startFirstTurn();
    float dy = 1.5f;
    for (unsigned i = 0; i < model->getActors()->count(); ++i) {
        KVObject* object = model->getActors()->objectAtIndex(i);
        if (!object->isKindOf("KVKelvoPlayer")) continue;
        auto* actor = static_cast<KVActor*>(object);
        if (actor->getBody() == nullptr) continue;
        actor->getBody()->SetLinearVelocity(b2Vec2(22.0f, dy));
        dy -= 1.5f;
    }
    return model;
}

void tearDown(KVGameModel* model) {
    CCNotificationCenter::getInstance()->postNotification(EVENT_GAME_SHUTDOWN);
    KVGameSetup::getInstance()->setCurrentGameModel(nullptr);
    model->release();
    if (KVPawnManager* manager = KVPawnManager::existingInstance()) manager->release();
    if (KVRuleManager* rules = KVRuleManager::existingInstance()) rules->release();
    KVPhysWorld::getInstance()->release();
    CCAutoreleasePoolStack::getInstance().getCurrentPool()->clear();
}

// A bare world holding a copy of every body of `source` with its fixtures, mass and motion.
std::unique_ptr<b2World> copyWorld(b2World* source) {
    auto world = std::make_unique<b2World>(source->GetGravity());
    for (b2Body* body = source->GetBodyList(); body != nullptr; body = body->GetNext()) {
        b2BodyDef def;
        def.type = body->GetType();
        def.position = body->GetPosition();
        def.angle = body->GetAngle();
        def.linearVelocity = body->GetLinearVelocity();
        def.angularVelocity = body->GetAngularVelocity();
        def.linearDamping = body->GetLinearDamping();
        def.angularDamping = body->GetAngularDamping();
        def.allowSleep = body->IsSleepingAllowed();
        def.awake = body->IsAwake();
        def.fixedRotation = body->IsFixedRotation();
        def.bullet = body->IsBullet();
        def.enabled = body->IsEnabled();
        def.gravityScale = body->GetGravityScale();
        b2Body* copy = world->CreateBody(&def);
        for (b2Fixture* fixture = body->GetFixtureList(); fixture != nullptr; fixture = fixture->GetNext()) {
            b2FixtureDef fixtureDef;
            fixtureDef.shape = fixture->GetShape();
            fixtureDef.density = fixture->GetDensity();
            fixtureDef.friction = fixture->GetFriction();
            fixtureDef.restitution = fixture->GetRestitution();
            fixtureDef.isSensor = fixture->IsSensor();
            fixtureDef.filter = fixture->GetFilterData();
            copy->CreateFixture(&fixtureDef);
        }
        b2MassData mass;
        body->GetMassData(&mass);
        if (def.type == b2_dynamicBody) copy->SetMassData(&mass);
    }
    return world;
}

// Each iteration: M01b built afresh (not timed), then `frames` (the model, or a bare copy of its
// world) run for 1,000 frames. The counter frame_time is the time of one of those frames.
template <typename Frames> void runFrames(benchmark::State& state, Frames frames) {
    if (!stage().ok) {
        state.SkipWithError("no GL window or resource folder");
        return;
    }
    for (auto _ : state) {
        state.PauseTiming();
        KVGameModel* model = buildLevel();
        if (model == nullptr) {
            state.SkipWithError("M01b could not be built");
            return;
        }
        frames(state, model);
        tearDown(model);
        state.ResumeTiming();
    }
    state.counters["frame_time"] = benchmark::Counter(kFrames, benchmark::Counter::kIsIterationInvariantRate |
                                                                   benchmark::Counter::kInvert);
}

void BM_GameModelUpdate(benchmark::State& state) {
    runFrames(state, [](benchmark::State& timing, KVGameModel* model) {
        timing.ResumeTiming();
        for (int i = 0; i < kFrames; ++i)
            model->update(kFrame);
        timing.PauseTiming();
    });
}

void BM_BareWorldStep(benchmark::State& state) {
    runFrames(state, [](benchmark::State& timing, KVGameModel*) {
        std::unique_ptr<b2World> world = copyWorld(KVPhysWorld::getInstance()->getWorld());
        timing.ResumeTiming();
        for (int i = 0; i < kFrames; ++i)
            world->Step(kFrame, kVelocityIterations, kPositionIterations);
        timing.PauseTiming();
    });
}

BENCHMARK(BM_GameModelUpdate)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_BareWorldStep)->Unit(benchmark::kMillisecond);

} // namespace
