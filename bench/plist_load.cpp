// Loading a 1 MiB property list into the object tree, beside libxml2's bare SAX pass (no-op
// callbacks) over the same text: the tree building should cost well under the parse itself.
// Each benchmark reports its heap allocations per MiB (C++ new and libxml2's own, counted through
// its allocator hooks). For an instruction count, run one benchmark under callgrind with
// collection only inside the load (or the parse), and divide the total by the iterations it reports:
//   valgrind --tool=callgrind --toggle-collect='kvengine::dictionaryWithContentsOfData*'
//            bench_plist_load --benchmark_filter=PlistLoad --benchmark_min_time=0.001
//   valgrind --tool=callgrind --toggle-collect=xmlSAXUserParseMemory
//            bench_plist_load --benchmark_filter=BareSAX --benchmark_min_time=0.001
#include "engine/base/CCAutoreleasePoolStack.h"
#include "engine/files/CCPlistReader.h"

#include <benchmark/benchmark.h>
#include <libxml/parser.h>
#include <malloc.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <new>
#include <string>

namespace {

// Heap allocations made by the program so far: every operator new and every libxml2 malloc.
// Single-threaded benchmarks, so a plain counter.
long long g_allocations = 0;

void* countedMalloc(size_t size) {
    ++g_allocations;
    return malloc(size);
}
void* countedRealloc(void* block, size_t size) {
    if (!block) ++g_allocations;
    return realloc(block, size);
}
char* countedStrdup(const char* text) {
    ++g_allocations;
    return strdup(text);
}

// libxml2 takes its allocator before its first use.
const int g_xmlCounted = xmlMemSetup(free, countedMalloc, countedRealloc, countedStrdup);

// Sets the allocations-per-MiB counter from the allocations of all iterations.
void reportAllocations(benchmark::State& state, long long allocations, size_t bytes) {
    const double perIteration = static_cast<double>(allocations) / static_cast<double>(state.iterations());
    state.counters["allocs_per_MiB"] = perIteration * (1024.0 * 1024.0) / static_cast<double>(bytes);
}

// A game-data-like document: records of named scalars, lists of numbers, nested records.
const std::string& sampleDocument() {
    static const std::string document = [] {
        std::string text = "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<plist version=\"1.0\">\n<dict>\n";
        char line[256];
        for (int record = 0; text.size() < 1024 * 1024; ++record) {
            snprintf(line, sizeof line,
                     "<key>record_%05d</key>\n<dict>\n<key>name</key>\n<string>Kelvo %d &amp; co</string>\n"
                     "<key>hp</key>\n<integer>%d</integer>\n<key>speed</key>\n<real>%d.25</real>\n"
                     "<key>boss</key>\n<false/>\n<key>path</key>\n<array>\n",
                     record, record, record * 7 % 500, record % 13);
            text += line;
            for (int point = 0; point < 6; ++point) {
                snprintf(line, sizeof line, "<string>{%d,%d}</string>\n", point * 32, record % 600);
                text += line;
            }
            text += "</array>\n<key>stats</key>\n<dict>\n<key>attack</key>\n<integer>3</integer>\n"
                    "<key>defence</key>\n<integer>4</integer>\n</dict>\n</dict>\n";
        }
        text += "</dict>\n</plist>\n";
        return text;
    }();
    return document;
}

void noStart(void*, const xmlChar*, const xmlChar*, const xmlChar*, int, const xmlChar**, int, int,
             const xmlChar**) {}
void noEnd(void*, const xmlChar*, const xmlChar*, const xmlChar*) {}
void noText(void*, const xmlChar*, int) {}

void BM_PlistLoad1MiB(benchmark::State& state) {
    // Freed trees stay with the allocator instead of going back to the system, so that every
    // iteration measures building, not page faults.
    mallopt(M_TRIM_THRESHOLD, 512 * 1024 * 1024);
    const std::string& document = sampleDocument();
    long long allocations = 0;
    for (auto _ : state) {
        state.PauseTiming();
        kvengine::CCAutoreleasePoolStack::getInstance().push();
        const long long before = g_allocations;
        state.ResumeTiming();
        auto* root =
            kvengine::dictionaryWithContentsOfData(document.data(), static_cast<unsigned>(document.size()));
        benchmark::DoNotOptimize(root);
        allocations += g_allocations - before;
        // Freeing the tree is not part of loading it.
        state.PauseTiming();
        kvengine::CCAutoreleasePoolStack::getInstance().pop();
        // The allocator merges the freed blocks at its next large request; do that here too.
        void* large = malloc(64 * 1024);
        benchmark::DoNotOptimize(large);
        free(large);
        state.ResumeTiming();
    }
    reportAllocations(state, allocations, document.size());
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) * static_cast<int64_t>(document.size()));
}

void BM_BareSAX1MiB(benchmark::State& state) {
    const std::string& document = sampleDocument();
    xmlSAXHandler handler;
    memset(&handler, 0, sizeof handler);
    handler.initialized = XML_SAX2_MAGIC;
    handler.startElementNs = noStart;
    handler.endElementNs = noEnd;
    handler.characters = noText;
    const long long before = g_allocations;
    for (auto _ : state) {
        int result =
            xmlSAXUserParseMemory(&handler, nullptr, document.data(), static_cast<int>(document.size()));
        benchmark::DoNotOptimize(result);
    }
    reportAllocations(state, g_allocations - before, document.size());
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) * static_cast<int64_t>(document.size()));
}

} // namespace

// The replaced operator new takes its blocks from malloc, so free is the matching release.
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wmismatched-new-delete"
void* operator new(size_t size) {
    ++g_allocations;
    if (void* block = malloc(size > 0 ? size : 1)) return block;
    throw std::bad_alloc();
}
void operator delete(void* block) noexcept {
    free(block);
}
void operator delete(void* block, size_t) noexcept {
    free(block);
}
#pragma GCC diagnostic pop

BENCHMARK(BM_PlistLoad1MiB)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_BareSAX1MiB)->Unit(benchmark::kMillisecond);
