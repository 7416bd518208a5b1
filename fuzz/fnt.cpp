// Feeds arbitrary bytes to the bitmap-font description parser, then lays a text out with what it
// read: glyph lookups, kerning and the atlas name must stay in bounds whatever the lines say.
#include "engine/base/CCAutoreleasePoolStack.h"
#include "engine/base/CCLog.h"
#include "engine/labels/CCBMFontConfiguration.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

using namespace kvengine;

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    setDebugLogSink([](const std::string&) {});
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size > (1u << 20)) return 0;
    auto* config = new CCBMFontConfiguration();
    const bool used = config->parseText(reinterpret_cast<const char*>(data), size, "/fonts/fuzz.fnt");
    // A refused file leaves nothing behind.
    if (!used && (config->getLineHeight() != 0 || !config->getAtlasName().empty())) abort();
    long sum = config->getLineHeight() + static_cast<long>(config->getAtlasName().size());
    for (uint32_t c = 0; c < 300; ++c) {
        const CCBMFontGlyph& g = config->glyph(c * 7);
        sum += g.xAdvance + config->kerningAmount(c, c + 1);
    }
    config->release();
    return sum == -1 ? 1 : 0;
}
