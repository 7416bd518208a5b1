// Unscrambling a 16 MiB data file beside a plain memcpy of the same buffer: the plain byte depends
// only on two stored bytes, so the pass should run near memory speed.
#include "engine/files/CCFileUtils.h"

#include <benchmark/benchmark.h>

#include <cstring>
#include <vector>

namespace {

constexpr size_t kSize = 16u * 1024u * 1024u;

std::vector<unsigned char> sampleBuffer() {
    std::vector<unsigned char> data(kSize);
    for (size_t i = 0; i < kSize; ++i)
        data[i] = static_cast<unsigned char>(i * 2654435761u >> 13);
    return data;
}

void BM_Unscramble16MiB(benchmark::State& state) {
    std::vector<unsigned char> data = sampleBuffer();
    for (auto _ : state) {
        // Unscrambling is its own kind of mixing: running it again on its output is as costly.
        kvengine::unscrambleDataBuffer(data.data(), static_cast<unsigned>(data.size()));
        benchmark::ClobberMemory();
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) * static_cast<int64_t>(kSize));
}

void BM_Memcpy16MiB(benchmark::State& state) {
    std::vector<unsigned char> source = sampleBuffer();
    std::vector<unsigned char> target(kSize);
    for (auto _ : state) {
        memcpy(target.data(), source.data(), kSize);
        benchmark::ClobberMemory();
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) * static_cast<int64_t>(kSize));
}

void BM_Scramble16MiB(benchmark::State& state) {
    std::vector<unsigned char> data = sampleBuffer();
    for (auto _ : state) {
        kvengine::scrambleDataBuffer(data.data(), static_cast<unsigned>(data.size()));
        benchmark::ClobberMemory();
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) * static_cast<int64_t>(kSize));
}

} // namespace

BENCHMARK(BM_Unscramble16MiB);
BENCHMARK(BM_Memcpy16MiB);
BENCHMARK(BM_Scramble16MiB);
