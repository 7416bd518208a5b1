// The sprite batch against two references drawing the same picture in the same run:
//   BareLoop     the same quads from client arrays, one glDrawElements a frame (the practical limit);
//   SDLRenderer  SDL2's own 2-D renderer (OpenGL back end, batching on).
// Two loads: 2,000 moving 64 x 64 sprites of one sheet (fill-rate bound) and 10,000 moving
// 4 x 4 sprites (CPU bound). Each iteration is one frame, finished by reading a pixel back;
// the "fps" counter is frames per second of wall time. The CPU column of the batch and the bare
// loop is the whole process's (the GL driver's threads included): on a busy machine it moves less
// than the wall time does. Run with the offscreen driver, e.g.
//   SDL_VIDEODRIVER=offscreen bench_sprites --benchmark_repetitions=5
//     --benchmark_enable_random_interleaving=true --benchmark_report_aggregates_only=true
#include "engine/base/CCAutoreleasePoolStack.h"
#include "engine/director/CCDirector.h"
#include "engine/platform/CCGL.h"
#include "engine/platform/CCGLWindow.h"
#include "engine/platform/CCRendererReference.h"
#include "engine/sprites/CCSprite.h"
#include "engine/sprites/CCSpriteBatchNode.h"
#include "engine/textures/CCTexture2D.h"
#include "engine/textures/CCTexturePixels.h"

#include <benchmark/benchmark.h>

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <memory>
#include <vector>

using namespace kvengine;

namespace {

// Inits on the stage's sheet, which is checked once before the runs: a failure is a broken bench.
void made(bool initialised) {
    if (!initialised) std::abort();
}

constexpr int kWidth = 1024, kHeight = 768;
constexpr int kSheetSize = 256;

// The shared picture: one window, one sheet of 16 distinct 64 x 64 cells.
struct Stage {
    std::unique_ptr<CCGLWindow> window;
    CCTexture2D* sheet = nullptr;
    std::vector<uint8_t> sheetPixels;
    CCRendererReference reference;
    bool ok = false;

    Stage() {
        window = createPlatformWindow();
        if (!window->create("bench sprites", false, kWidth, kHeight)) return;
        sheetPixels.resize(kSheetSize * kSheetSize * 4);
        for (int y = 0; y < kSheetSize; ++y)
            for (int x = 0; x < kSheetSize; ++x) {
                uint8_t* p = &sheetPixels[(y * kSheetSize + x) * 4];
                p[0] = static_cast<uint8_t>(x);
                p[1] = static_cast<uint8_t>(y);
                p[2] = static_cast<uint8_t>((x / 64 + y / 64) * 32);
                p[3] = 255;
            }
        sheet = new CCTexture2D();
        if (!sheet->initWithData(sheetPixels.data(), kCCPixelFormatRGBA8888, kSheetSize, kSheetSize,
                                 CCSize(kSheetSize, kSheetSize)))
            return;
        if (!reference.open(kWidth, kHeight, sheetPixels.data(), kSheetSize, kSheetSize)) return;
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

// Sprites bouncing inside the window; the same motion for every drawer.
struct Motion {
    std::vector<float> xy, velocity;
    int size;
    Motion(int count, int size_) : xy(2 * count), velocity(2 * count), size(size_) {
        uint32_t seed = 12345;
        auto next = [&seed] {
            seed = seed * 1103515245u + 12345u;
            return static_cast<float>((seed >> 8) & 0xFFFF) / 65535.0f;
        };
        for (int i = 0; i < count; ++i) {
            xy[2 * i] = next() * (kWidth - size);
            xy[2 * i + 1] = next() * (kHeight - size);
            velocity[2 * i] = (next() - 0.5f) * 8;
            velocity[2 * i + 1] = (next() - 0.5f) * 8;
        }
    }
    void step() {
        const float limits[2] = {static_cast<float>(kWidth - size), static_cast<float>(kHeight - size)};
        for (size_t i = 0; i < xy.size(); ++i) {
            xy[i] += velocity[i];
            const float limit = limits[i & 1];
            if (xy[i] < 0 || xy[i] > limit) {
                velocity[i] = -velocity[i];
                xy[i] += 2 * velocity[i];
            }
        }
    }
};

void finishFrame() {
    uint8_t pixel[4];
    glReadPixels(0, 0, 1, 1, GL_RGBA, GL_UNSIGNED_BYTE, pixel);
}

// FNV-1a of the whole frame: the batch and the bare loop must draw the same picture.
double frameHash() {
    std::vector<uint8_t> pixels(size_t(kWidth) * kHeight * 4);
    glReadPixels(0, 0, kWidth, kHeight, GL_RGBA, GL_UNSIGNED_BYTE, pixels.data());
    uint32_t hash = 2166136261u;
    for (uint8_t byte : pixels)
        hash = (hash ^ byte) * 16777619u;
    return double(hash);
}

// Which sheet cell sprite i shows.
CCRect cellOf(int i, int size) {
    const float side = static_cast<float>(size);
    return CCRect(static_cast<float>((i % 4) * 64), static_cast<float>((i / 4 % 4) * 64), side, side);
}

void SpriteBatch(benchmark::State& state) {
    const int count = static_cast<int>(state.range(0)), size = static_cast<int>(state.range(1));
    Stage& s = stage();
    if (!s.ok) return state.SkipWithError("no GL window");
    Motion motion(count, size);
    auto* batch = new CCSpriteBatchNode();
    if (!batch->initWithTexture(s.sheet, static_cast<uint32_t>(count)))
        return state.SkipWithError("no batch");
    std::vector<CCSprite*> sprites;
    for (int i = 0; i < count; ++i) {
        auto* sprite = new CCSprite();
        made(sprite->initWithTexture(s.sheet));
        sprite->setTextureRect(cellOf(i, size));
        sprite->setAnchorPoint(CCPointZero);
        batch->addChild(sprite);
        sprite->release();
        sprites.push_back(sprite);
    }
    auto frame = [&](Motion& m) {
        m.step();
        for (int i = 0; i < count; ++i)
            sprites[i]->setPosition(CCPoint(m.xy[2 * i], m.xy[2 * i + 1]));
        glClear(GL_COLOR_BUFFER_BIT);
        batch->visit();
        finishFrame();
    };
    for (auto _ : state)
        frame(motion);
    Motion reference(count, size);
    for (int i = 0; i < 10; ++i)
        frame(reference);
    state.counters["hash"] = frameHash();
    batch->release();
    CCAutoreleasePoolStack::getInstance().clearAllPools();
    state.counters["fps"] =
        benchmark::Counter(static_cast<double>(state.iterations()), benchmark::Counter::kIsRate);
}

void BareLoop(benchmark::State& state) {
    const int count = static_cast<int>(state.range(0)), size = static_cast<int>(state.range(1));
    Stage& s = stage();
    if (!s.ok) return state.SkipWithError("no GL window");
    Motion motion(count, size);
    std::vector<ccV3F_C4B_T2F_Quad> quads(count);
    std::vector<uint16_t> indices;
    for (int i = 0; i < count; ++i) {
        const CCRect cell = cellOf(i, size);
        const float l = cell.origin.x / kSheetSize, r = (cell.origin.x + size) / kSheetSize;
        const float t = cell.origin.y / kSheetSize, b = (cell.origin.y + size) / kSheetSize;
        ccV3F_C4B_T2F_Quad& q = quads[i];
        q.tl.texCoords = {l, t};
        q.bl.texCoords = {l, b};
        q.tr.texCoords = {r, t};
        q.br.texCoords = {r, b};
        q.tl.colors = q.bl.colors = q.tr.colors = q.br.colors = ccColor4B{255, 255, 255, 255};
        const auto base = static_cast<uint16_t>(i * 4);
        for (uint16_t k : {0, 1, 2, 3, 2, 1})
            indices.push_back(static_cast<uint16_t>(base + k));
    }
    const float side = static_cast<float>(size);
    auto frame = [&](Motion& m) {
        m.step();
        for (int i = 0; i < count; ++i) {
            const float x = m.xy[2 * i], y = m.xy[2 * i + 1];
            ccV3F_C4B_T2F_Quad& q = quads[i];
            q.bl.vertices = {x, y, 0};
            q.br.vertices = {x + side, y, 0};
            q.tl.vertices = {x, y + side, 0};
            q.tr.vertices = {x + side, y + side, 0};
        }
        glClear(GL_COLOR_BUFFER_BIT);
        glBindTexture(GL_TEXTURE_2D, s.sheet->getName());
        const auto* base = reinterpret_cast<const unsigned char*>(quads.data());
        glVertexPointer(3, GL_FLOAT, sizeof(ccV3F_C4B_T2F), base);
        glColorPointer(4, GL_UNSIGNED_BYTE, sizeof(ccV3F_C4B_T2F), base + offsetof(ccV3F_C4B_T2F, colors));
        glTexCoordPointer(2, GL_FLOAT, sizeof(ccV3F_C4B_T2F), base + offsetof(ccV3F_C4B_T2F, texCoords));
        // The sheet is not premultiplied: the same blend pair the batch node and SDL use.
        glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
        glDrawElements(GL_TRIANGLES, static_cast<GLsizei>(indices.size()), GL_UNSIGNED_SHORT, indices.data());
        glBlendFunc(GL_ONE, GL_ONE_MINUS_SRC_ALPHA);
        finishFrame();
    };
    for (auto _ : state)
        frame(motion);
    Motion reference(count, size);
    for (int i = 0; i < 10; ++i)
        frame(reference);
    state.counters["hash"] = frameHash();
    state.counters["fps"] =
        benchmark::Counter(static_cast<double>(state.iterations()), benchmark::Counter::kIsRate);
}

// Building batched sprites: each sprite added at the end of its batch node. Batches hold at most
// the atlas's 16-bit reach, so larger counts fill several. Time per sprite should not grow.
void BuildBatch(benchmark::State& state) {
    const int count = static_cast<int>(state.range(0));
    Stage& s = stage();
    if (!s.ok) return state.SkipWithError("no GL window");
    constexpr int kPerBatch = 16000;
    for (auto _ : state) {
        std::vector<CCSpriteBatchNode*> batches;
        for (int i = 0; i < count; ++i) {
            if (i % kPerBatch == 0) {
                auto* batch = new CCSpriteBatchNode();
                made(batch->initWithTexture(s.sheet, CCSpriteBatchNode::kDefaultCapacity));
                batches.push_back(batch);
            }
            auto* sprite = new CCSprite();
            made(sprite->initWithTexture(s.sheet));
            sprite->setTextureRect(cellOf(i, 4));
            sprite->setPosition(CCPoint(float(i % kWidth), float(i / kWidth % kHeight)));
            batches.back()->addChild(sprite);
            sprite->release();
        }
        state.PauseTiming();
        for (CCSpriteBatchNode* batch : batches)
            batch->release();
        CCAutoreleasePoolStack::getInstance().clearAllPools();
        state.ResumeTiming();
    }
    state.counters["per_sprite"] = benchmark::Counter(
        double(state.iterations()) * count, benchmark::Counter::kIsRate | benchmark::Counter::kInvert);
}

void SDLRenderer(benchmark::State& state) {
    const int count = static_cast<int>(state.range(0)), size = static_cast<int>(state.range(1));
    Stage& s = stage();
    if (!s.ok) return state.SkipWithError("no GL window or SDL renderer");
    Motion motion(count, size);
    std::vector<int> sources;
    for (int i = 0; i < count; ++i) {
        const CCRect cell = cellOf(i, size);
        sources.push_back(static_cast<int>(cell.origin.x));
        sources.push_back(static_cast<int>(cell.origin.y));
    }
    for (auto _ : state) {
        motion.step();
        s.reference.drawFrame(motion.xy.data(), sources.data(), count, size, size);
    }
    state.SetLabel(s.reference.rendererName());
    state.counters["fps"] =
        benchmark::Counter(static_cast<double>(state.iterations()), benchmark::Counter::kIsRate);
}

} // namespace

BENCHMARK(SpriteBatch)
    ->Args({2000, 64})
    ->Args({10000, 4})
    ->UseRealTime()
    ->MeasureProcessCPUTime()
    ->Unit(benchmark::kMillisecond);
BENCHMARK(BareLoop)
    ->Args({2000, 64})
    ->Args({10000, 4})
    ->UseRealTime()
    ->MeasureProcessCPUTime()
    ->Unit(benchmark::kMillisecond);
BENCHMARK(BuildBatch)->Arg(1000)->Arg(10000)->Arg(100000)->Unit(benchmark::kMillisecond);
BENCHMARK(SDLRenderer)->Args({2000, 64})->Args({10000, 4})->UseRealTime()->Unit(benchmark::kMillisecond);
