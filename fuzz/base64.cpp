// Feeds arbitrary bytes to the base64 decoder: it must never write past the buffer it is given
// and must report a length that fits it.
#include "engine/base/CCLog.h"
#include "engine/files/CCBase64.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <vector>

using namespace kvengine;

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    setDebugLogSink([](const std::string&) {});
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const unsigned length = static_cast<unsigned>(size);
    // Exactly the room the contract promises, so that any overrun reaches the sanitizer.
    std::vector<unsigned char> room(static_cast<size_t>(length) * 3 / 4 + 1);
    unsigned written = 0;
    int result = base64Decode(data, length, room.data(), &written);
    if (written > room.size() || (result != 0 && result != 1)) abort();

    unsigned char* out = reinterpret_cast<unsigned char*>(1);
    int decoded = base64DecodeToBuffer(&out, length, data);
    if ((decoded == 0) != (out == nullptr)) abort();
    if (decoded > 0 && (result != 0 || static_cast<unsigned>(decoded) != written)) abort();
    delete[] out;
    return 0;
}
