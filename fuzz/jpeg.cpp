// Feeds arbitrary bytes to the JPEG decoder: it must fail cleanly (never end the process) or
// produce a consistent picture.
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
    if (image.initWithJpegData(data, size, 1024)) {
        if (image.hasAlpha || image.pixels.size() != size_t(image.width) * image.height * 3) std::abort();
        if (image.width == 0 || image.height == 0 || image.width > 1024 || image.height > 1024) std::abort();
    }
    return 0;
}
