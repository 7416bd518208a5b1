// Feeds arbitrary bytes to the PNG decoder: it must fail cleanly or produce a consistent picture.
#include "engine/textures/CCDecodedImage.h"

#include "engine/base/CCLog.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>

// Rejections are logged one line each; the fuzzer only cares about crashes.
extern "C" int LLVMFuzzerInitialize(int*, char***) {
    kvengine::setDebugLogSink([](const std::string&) {});
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    kvengine::CCDecodedImage image;
    // A modest limit keeps each run's memory small; the decoder's limit check is what is tested.
    if (image.initWithPngData(data, size, 1024)) {
        const size_t bpp = image.hasAlpha ? 4 : 3;
        if (image.pixels.size() != size_t(image.width) * image.height * bpp) std::abort();
        if (image.width == 0 || image.height == 0 || image.width > 1024 || image.height > 1024) std::abort();
    }
    return 0;
}
