// Linked into every benchmark program: fixed malloc thresholds from the start of the process.
//
// glibc moves its mmap and trim thresholds after the blocks a process frees. Software GL
// (llvmpipe) mallocs and frees its vertex buffers every frame, so a benchmark would flip, inside
// one process, between reusing heap pages and faulting in freshly mapped ones, and its figures
// with it (4 to 8 times apart). With fixed thresholds every run takes the same path.
#include <malloc.h>

namespace {

struct StableMalloc {
    StableMalloc() {
        mallopt(M_MMAP_THRESHOLD, 4 * 1024 * 1024);
        mallopt(M_TRIM_THRESHOLD, 256 * 1024 * 1024);
    }
};

const StableMalloc g_stableMalloc;

} // namespace
