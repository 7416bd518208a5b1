// The environment stacks of the built missions drawn over an empty gameplay layer at the wide
// design size (960 x 600): one iteration is one director frame (the layers' per-frame update
// included), finished by reading a pixel back. Counters:
//   fps       frames per second of wall time;
//   windows   fragments drawn in one frame, counted by a GL_SAMPLES_PASSED query around it, over
//             the window's area (1.0 = every pixel drawn once).
// Fill rate sets the pace on a software GL, so pin the run to the machine it is compared on:
//   SDL_VIDEODRIVER=offscreen taskset -c 0,1 bench_environment
// The resource folder is build/Resources beside this program's folder, or KELVOS_RESOURCES.
#include <unistd.h>

#include <benchmark/benchmark.h>

#include <memory>
#include <string>

#include "bench/support/BenchResources.h"
#include "engine/base/CCAutoreleasePoolStack.h"
#include "engine/director/CCDirector.h"
#include "engine/director/CCScene.h"
#include "engine/files/CCFileUtils.h"
#include "engine/nodes/CCNode.h"
#include "engine/platform/CCClock.h"
#include "engine/platform/CCGL.h"
#include "engine/platform/CCGLWindow.h"
#include "game/app/KVGameServices.h"
#include "game/data/KVGameSetup.h"
#include "game/environment/KVEnvLayerManager.h"
#include "game/world/KVObjectFactory.h"

using namespace kvengine;

namespace {

constexpr int kWidth = 960, kHeight = 600;

struct Stage {
    std::unique_ptr<CCGLWindow> window;
    CCFakeClock clock;
    bool ok = false;

    Stage() {
        window = createPlatformWindow();
        if (!window->create("bench environment", false, kWidth, kHeight)) return;
        const std::string resources = kvbench::resourceFolder();
        setResourceRootPath(resources);
        if (chdir(resources.c_str()) != 0) return;
        CCClock::setShared(&clock);
        CCAutoreleasePoolStack::getInstance().push();
        KVObjectFactory::registerGameClasses();
        CCDirector* director = CCDirector::getInstance();
        director->setWinSizeInPoints(CCSize(kWidth, kHeight));
        director->enableDoubleContentScale();
        CCDirector::wideScreen = 1;
        glViewport(0, 0, kWidth, kHeight);
        glEnable(GL_BLEND);
        glBlendFunc(GL_ONE, GL_ONE_MINUS_SRC_ALPHA);
        kvConnectGameServices();
        KVGameSetup::getInstance();
        ok = true;
    }
};

Stage& stage() {
    static Stage shared;
    return shared;
}

void frame(Stage& s) {
    KVEnvLayerManager::getInstance()->updateLayers(1.0f / 60);
    s.clock.advanceMicroseconds(16667);
    CCDirector::getInstance()->mainLoop();
    unsigned char pixel[4];
    glReadPixels(kWidth / 2, kHeight / 2, 1, 1, GL_RGBA, GL_UNSIGNED_BYTE, pixel);
}

void BM_EnvironmentStack(benchmark::State& state, const char* file) {
    Stage& s = stage();
    if (!s.ok) {
        state.SkipWithError("no GL window or resource folder");
        return;
    }
    CCNode* gameplay = CCNode::create();
    gameplay->setContentSize(CCSize(kWidth, kHeight));
    KVEnvLayerManager* manager = KVEnvLayerManager::getInstance();
    manager->loadLayersNamed(file, file, gameplay, gameplay);
    CCScene* scene = CCScene::create();
    manager->addLayersToNode(scene);
    CCDirector* director = CCDirector::getInstance();
    if (director->getRunningScene() == nullptr)
        director->runWithScene(scene);
    else
        director->replaceScene(scene);
    for (int i = 0; i < 120; ++i) // the scene switch, and plankton spread over the window
        frame(s);

    GLuint query = 0;
    glGenQueries(1, &query);
    glBeginQuery(GL_SAMPLES_PASSED, query);
    frame(s);
    glEndQuery(GL_SAMPLES_PASSED);
    GLuint samples = 0;
    glGetQueryObjectuiv(query, GL_QUERY_RESULT, &samples);
    glDeleteQueries(1, &query);

    for (auto _ : state)
        frame(s);
    state.counters["fps"] =
        benchmark::Counter(static_cast<double>(state.iterations()), benchmark::Counter::kIsRate);
    state.counters["windows"] = static_cast<double>(samples) / (kWidth * kHeight);
}

BENCHMARK_CAPTURE(BM_EnvironmentStack, M01a, "M01a_ENV")->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK_CAPTURE(BM_EnvironmentStack, M01b, "M01b_ENV")->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK_CAPTURE(BM_EnvironmentStack, default, "default_ENV")->Unit(benchmark::kMillisecond)->UseRealTime();

} // namespace
