// A label whose text changes every frame (a counter, as the combo sticker's pearl count): the
// stroke label, which bakes a new outline (twelve label draws into a new render texture) for each
// text, against a plain TrueType label doing the same, in the same run. Each iteration is one
// frame: new text, the label drawn, a pixel read back. Run with the offscreen driver, e.g.
//   SDL_VIDEODRIVER=offscreen bench_labels --benchmark_repetitions=5
//     --benchmark_enable_random_interleaving=true --benchmark_report_aggregates_only=true
#include "engine/base/CCAutoreleasePoolStack.h"
#include "engine/director/CCDirector.h"
#include "engine/labels/CCLabelTTF.h"
#include "engine/platform/CCGL.h"
#include "engine/platform/CCGLWindow.h"
#include "game/hud/KVLabelWithStroke.h"

#include <benchmark/benchmark.h>

#include <cstdio>
#include <memory>

using namespace kvengine;

namespace {

constexpr int kWidth = 960, kHeight = 600;
// A system face name: the default face (DejaVu Sans, the face the game font is made from).
const char* const kFont = "Arial";

struct Stage {
    std::unique_ptr<CCGLWindow> window;
    bool ok = false;

    Stage() {
        window = createPlatformWindow();
        if (!window->create("bench labels", false, kWidth, kHeight)) return;
        CCDirector::getInstance()->setWinSizeInPoints(CCSize(kWidth, kHeight));
        glViewport(0, 0, kWidth, kHeight);
        glMatrixMode(GL_PROJECTION);
        glLoadIdentity();
        glOrtho(0, kWidth, 0, kHeight, -1024, 1024);
        glMatrixMode(GL_MODELVIEW);
        glLoadIdentity();
        glEnableClientState(GL_VERTEX_ARRAY);
        glEnableClientState(GL_COLOR_ARRAY);
        glEnableClientState(GL_TEXTURE_COORD_ARRAY);
        glEnable(GL_TEXTURE_2D);
        glEnable(GL_BLEND);
        glBlendFunc(GL_ONE, GL_ONE_MINUS_SRC_ALPHA);
        ok = true;
    }
};

Stage& stage() {
    static Stage* s = new Stage(); // kept to the end of the process: GL objects die with it
    return *s;
}

void finishFrame() {
    uint8_t pixel[4];
    glReadPixels(0, 0, 1, 1, GL_RGBA, GL_UNSIGNED_BYTE, pixel);
}

// One frame of a counting label: the text of frame i, the label drawn, the frame's pool drained
// (the replaced textures and render textures go there, as in the game).
template <class Label> void countUp(benchmark::State& state, Label* label) {
    label->setPosition(CCPoint(kWidth / 2.0f, kHeight / 2.0f));
    char text[32];
    int frame = 0;
    for (auto _ : state) {
        std::snprintf(text, sizeof text, "%d pearls!", frame++);
        label->setString(text);
        glClear(GL_COLOR_BUFFER_BIT);
        label->visit();
        finishFrame();
        CCAutoreleasePoolStack::getInstance().clearAllPools();
    }
    state.counters["fps"] =
        benchmark::Counter(static_cast<double>(state.iterations()), benchmark::Counter::kIsRate);
}

void StrokeLabelNewTextEachFrame(benchmark::State& state) {
    if (!stage().ok) return state.SkipWithError("no GL window");
    KVLabelWithStroke* label =
        KVLabelWithStroke::createWithStdString("0 pearls!", kFont, 18, 243, 220, 63, 2.0f);
    label->retain();
    countUp(state, label);
    label->release();
}

void PlainLabelNewTextEachFrame(benchmark::State& state) {
    if (!stage().ok) return state.SkipWithError("no GL window");
    CCLabelTTF* label = CCLabelTTF::createWithString("0 pearls!", kFont, 18);
    label->retain();
    countUp(state, label);
    label->release();
}

BENCHMARK(StrokeLabelNewTextEachFrame)->Unit(benchmark::kMicrosecond);
BENCHMARK(PlainLabelNewTextEachFrame)->Unit(benchmark::kMicrosecond);

} // namespace
