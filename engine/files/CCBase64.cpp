#include "engine/files/CCBase64.h"

#include "engine/base/CCLog.h"

#include <new>

namespace kvengine {

namespace {

// Value of each byte in the alphabet, or -1.
struct Base64Table {
    signed char value[256];
    Base64Table() {
        const char* alphabet = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";
        for (int i = 0; i < 256; ++i)
            value[i] = -1;
        for (int i = 0; i < 64; ++i)
            value[static_cast<unsigned char>(alphabet[i])] = static_cast<signed char>(i);
    }
};

const Base64Table kTable;

} // namespace

int base64Decode(const unsigned char* in, unsigned inLength, unsigned char* out, unsigned* outLength) {
    unsigned written = 0;
    unsigned group = 0;
    unsigned pending = 0;
    bool padded = false;
    for (unsigned i = 0; in && i < inLength; ++i) {
        if (in[i] == '=') {
            padded = true;
            break;
        }
        int value = kTable.value[in[i]];
        if (value < 0) continue;
        group = (group << 6) | static_cast<unsigned>(value);
        if (++pending == 4) {
            out[written++] = static_cast<unsigned char>(group >> 16);
            out[written++] = static_cast<unsigned char>(group >> 8);
            out[written++] = static_cast<unsigned char>(group);
            group = 0;
            pending = 0;
        }
    }
    int result = 0;
    if (padded) {
        if (pending == 1) {
            logDebugMessage("base64Decode: encoding incomplete: at least 2 bits missing");
            result = 1;
        } else if (pending == 2) {
            out[written++] = static_cast<unsigned char>(group >> 4);
        } else if (pending == 3) {
            out[written++] = static_cast<unsigned char>(group >> 10);
            out[written++] = static_cast<unsigned char>(group >> 2);
        }
    } else if (pending > 0) {
        logDebugMessage("base64 encoding incomplete: at least %u bits truncated", 24 - 6 * pending);
        result = 1;
    }
    if (outLength) *outLength = written;
    return result;
}

int base64DecodeToBuffer(unsigned char** out, unsigned inLength, const unsigned char* in) {
    if (!out) return 0;
    *out = nullptr;
    unsigned capacity = static_cast<unsigned>(static_cast<unsigned long long>(inLength) * 3 / 4 + 1);
    unsigned char* buffer = new (std::nothrow) unsigned char[capacity];
    if (!buffer) {
        logDebugMessage("engine: out of memory decoding %u bytes of base64", inLength);
        return 0;
    }
    unsigned length = 0;
    if (base64Decode(in, inLength, buffer, &length) != 0 || length == 0) {
        delete[] buffer;
        return 0;
    }
    *out = buffer;
    return static_cast<int>(length);
}

} // namespace kvengine
