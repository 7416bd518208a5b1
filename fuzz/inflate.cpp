// Feeds arbitrary bytes to the three decompressors: the in-memory inflater (zlib or gzip
// streams), the CCZ container and the gzip file reader. Each must either fail with a null buffer
// or hand back exactly the length it reports.
#include "engine/base/CCLog.h"
#include "engine/files/CCZipUtils.h"

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <sys/mman.h>
#include <unistd.h>

using namespace kvengine;

namespace {
int g_file = -1;
std::string g_path;
} // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    setDebugLogSink([](const std::string&) {});
    // The gzip reader wants a path: an in-memory file serves without touching the disk.
    g_file = memfd_create("fuzz-gzip", 0);
    if (g_file >= 0) g_path = "/proc/self/fd/" + std::to_string(g_file);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size > (1u << 20)) return 0;
    unsigned hint = size >= 2 ? (unsigned(data[0]) << 8 | data[1]) : 0;
    unsigned char* out = reinterpret_cast<unsigned char*>(1);
    int length = inflateMemoryWithHint(data, static_cast<unsigned>(size), &out, hint);
    if ((length == 0) != (out == nullptr)) abort();
    if (length > 0) {
        volatile unsigned char last = out[length - 1]; // the whole length must be readable
        (void)last;
    }
    delete[] out;

    out = reinterpret_cast<unsigned char*>(1);
    length = inflateCCZBuffer(data, static_cast<unsigned>(size), &out);
    if (length < 0 && out != nullptr) abort();
    if (length >= 0) {
        unsigned stated =
            (unsigned(data[12]) << 24) | (unsigned(data[13]) << 16) | (unsigned(data[14]) << 8) | data[15];
        if (static_cast<unsigned>(length) != stated || !out) abort();
        if (length > 0) {
            volatile unsigned char last = out[length - 1];
            (void)last;
        }
    }
    free(length >= 0 ? out : nullptr);

    if (g_file >= 0 && ftruncate(g_file, 0) == 0 &&
        pwrite(g_file, data, size, 0) == static_cast<ssize_t>(size)) {
        out = reinterpret_cast<unsigned char*>(1);
        length = inflateGZipFile(g_path.c_str(), &out);
        if (length < 0 && out != nullptr) abort();
        if (length > 0) {
            volatile unsigned char last = out[length - 1];
            (void)last;
        }
        free(length >= 0 ? out : nullptr);
    }
    return 0;
}
