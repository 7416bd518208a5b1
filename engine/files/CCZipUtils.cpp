#include "engine/files/CCZipUtils.h"

#include "engine/base/CCLog.h"
#include "engine/files/CCFileUtils.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <new>
#include <zlib.h>

namespace kvengine {

namespace {

const unsigned kGzipFirstRead = 512u * 1024u;
const unsigned kInflateMinimumRoom = 1024u;

// Deflate cannot expand data by more than about 1032 to 1 (a 258-byte match per two bits, and
// stored headers); a stated length beyond that can never be produced from the payload given.
const unsigned long long kDeflateMaxRatio = 1032;
// A CCZ buffer up to this size is taken whole at once: the largest sheet texture (4096 x 4096 at
// four bytes a texel) fits. Pages of a large block are only mapped when written, so a forged length
// within it costs address space, not memory, while growing by copies made every real sheet pay for
// several copies of itself.
const unsigned kCczWholeBuffer = 80u * 1024u * 1024u;
// Beyond that the buffer starts at this multiple of the payload and grows by doubling as data
// arrives, so a forged length costs nothing until the data is really there.
const unsigned kCczFirstRatio = 8;

bool isGzipMagic(const unsigned char* data, unsigned size) {
    return size >= 2 && data[0] == 0x1f && data[1] == 0x8b;
}

unsigned readBigEndian32(const unsigned char* p) {
    return (unsigned(p[0]) << 24) | (unsigned(p[1]) << 16) | (unsigned(p[2]) << 8) | unsigned(p[3]);
}

unsigned readBigEndian16(const unsigned char* p) {
    return (unsigned(p[0]) << 8) | unsigned(p[1]);
}

} // namespace

int inflateGZipFile(const char* path, unsigned char** out) {
    if (!out) return -1;
    *out = nullptr;
    if (!path) return -1;
    gzFile file = gzopen(detail::normalizeSeparators(path).c_str(), "rb");
    if (!file) {
        logDebugMessage("engine: cannot open gzip file %s", path);
        return -1;
    }
    // zlib reads a file without a gzip header "transparently", as its own bytes: that would hand
    // back any file, unpacked or not, as if it had been inflated. (An empty file counts as direct.)
    if (gzdirect(file)) {
        gzclose(file);
        logDebugMessage("engine: cannot inflate %s: not gzip data", path);
        return -1;
    }
    unsigned capacity = kGzipFirstRead;
    unsigned request = kGzipFirstRead;
    unsigned total = 0;
    unsigned char* buffer = static_cast<unsigned char*>(malloc(capacity));
    const char* problem = buffer ? nullptr : "out of memory";
    while (!problem) {
        int got = gzread(file, buffer + total, request);
        if (got < 0) {
            problem = "corrupt data";
            break;
        }
        total += static_cast<unsigned>(got);
        if (static_cast<unsigned>(got) < request) break;
        if (capacity >= kMaxInflatedSize) {
            problem = "too large";
            break;
        }
        // The buffer grows by twice the last request, and the next read asks for exactly that room.
        request *= 2;
        unsigned char* grown = static_cast<unsigned char*>(realloc(buffer, capacity + request));
        if (!grown) {
            problem = "out of memory";
            break;
        }
        buffer = grown;
        capacity += request;
    }
    // A stream that stopped early shows only in the stream's error state.
    int status = Z_OK;
    if (!problem) {
        gzerror(file, &status);
        if (status != Z_OK) problem = "truncated or corrupt data";
    }
    if (gzclose(file) != Z_OK && !problem) problem = "truncated or corrupt data";
    if (problem) {
        free(buffer);
        logDebugMessage("engine: cannot inflate gzip file %s: %s", path, problem);
        return -1;
    }
    *out = buffer;
    return static_cast<int>(total);
}

int inflateCCZBuffer(const unsigned char* data, unsigned size, unsigned char** out) {
    if (!out) return -1;
    *out = nullptr;
    if (!data || size < 16) {
        logDebugMessage("engine: CCZ data too short (%u bytes)", data ? size : 0u);
        return -1;
    }
    if (memcmp(data, "CCZ!", 4) != 0 || readBigEndian16(data + 4) != 0 || readBigEndian16(data + 6) > 2) {
        logDebugMessage("engine: CCZ header refused");
        return -1;
    }
    const unsigned length = readBigEndian32(data + 12);
    const unsigned payload = size - 16;
    if (length > kMaxInflatedSize) {
        logDebugMessage("engine: CCZ length %u too large", length);
        return -1;
    }
    if (length > static_cast<unsigned long long>(payload) * kDeflateMaxRatio + 64) {
        logDebugMessage("engine: CCZ length %u cannot come from %u bytes of compressed data", length,
                        payload);
        return -1;
    }

    z_stream stream;
    memset(&stream, 0, sizeof stream);
    if (inflateInit(&stream) != Z_OK) {
        logDebugMessage("engine: cannot start inflating CCZ data");
        return -1;
    }
    const unsigned long long first = std::max<unsigned long long>(
        kCczWholeBuffer, static_cast<unsigned long long>(payload) * kCczFirstRatio);
    unsigned capacity = first < length ? static_cast<unsigned>(first) : length;
    unsigned char* buffer = static_cast<unsigned char*>(malloc(capacity ? capacity : 1));
    int status = buffer ? Z_OK : Z_MEM_ERROR;
    stream.next_in = const_cast<unsigned char*>(data + 16);
    stream.avail_in = payload;
    stream.next_out = buffer;
    stream.avail_out = capacity;
    while (status == Z_OK) {
        status = inflate(&stream, Z_NO_FLUSH);
        if (status == Z_STREAM_END) break;
        if (status == Z_NEED_DICT) status = Z_DATA_ERROR;
        if (status != Z_OK && status != Z_BUF_ERROR) break;
        if (stream.avail_out > 0) {
            // Room left but no more input: the stream is cut short.
            status = Z_DATA_ERROR;
            break;
        }
        if (capacity == length) {
            // The stated length is reached and the stream goes on: more data than the header says.
            status = Z_DATA_ERROR;
            break;
        }
        const unsigned bigger = capacity > length / 2 ? length : capacity * 2;
        unsigned char* grown = static_cast<unsigned char*>(realloc(buffer, bigger));
        if (!grown) {
            status = Z_MEM_ERROR;
            break;
        }
        buffer = grown;
        stream.next_out = buffer + capacity;
        stream.avail_out = bigger - capacity;
        capacity = bigger;
        status = Z_OK;
    }
    const unsigned long produced = stream.total_out;
    inflateEnd(&stream);
    if (status != Z_STREAM_END || produced != length) {
        free(buffer);
        logDebugMessage("engine: CCZ data corrupt (zlib status %d, %lu of %u bytes)", status, produced,
                        length);
        return -1;
    }
    *out = buffer;
    return static_cast<int>(length);
}

int inflateCCZFile(const char* path, unsigned char** out) {
    if (!out) return -1;
    *out = nullptr;
    unsigned size = 0;
    char* file = readFileData(&size, path, "rb");
    if (!file) return -1;
    int length = inflateCCZBuffer(reinterpret_cast<unsigned char*>(file), size, out);
    delete[] file;
    if (length < 0) logDebugMessage("engine: cannot read CCZ file %s", path);
    return length;
}

int inflateMemoryGrowing(unsigned capacityHint, unsigned char** out, const unsigned char* in,
                         unsigned inLength, unsigned* outLength) {
    *out = nullptr;
    *outLength = 0;
    if (!in) return Z_STREAM_ERROR;
    unsigned capacity = capacityHint;
    if (capacity < kInflateMinimumRoom) capacity = kInflateMinimumRoom;
    if (capacity > kMaxInflatedSize) capacity = kMaxInflatedSize;
    unsigned char* buffer = new (std::nothrow) unsigned char[capacity];
    if (!buffer) return Z_MEM_ERROR;

    z_stream stream;
    memset(&stream, 0, sizeof stream);
    stream.next_in = const_cast<unsigned char*>(in);
    stream.avail_in = inLength;
    stream.next_out = buffer;
    stream.avail_out = capacity;
    int status = inflateInit2(&stream, 15 + 32); // zlib or gzip header, detected
    if (status != Z_OK) {
        delete[] buffer;
        return status;
    }
    // A gzip stream may hold several members one after the other (what concatenated .gz files
    // are); each inflates on from where the last ended. A zlib stream holds one.
    const bool gzip = isGzipMagic(in, inLength);
    for (;;) {
        status = inflate(&stream, Z_NO_FLUSH);
        if (status == Z_STREAM_END) {
            if (!gzip || !isGzipMagic(stream.next_in, stream.avail_in)) break;
            status = inflateReset(&stream);
            if (status != Z_OK) break;
            continue;
        }
        if (status == Z_NEED_DICT) status = Z_DATA_ERROR;
        if (status != Z_OK && status != Z_BUF_ERROR) break;
        if (stream.avail_out > 0) {
            // Room was left, so inflate stopped for want of input: the stream is cut short and no
            // amount of extra room will finish it.
            status = Z_DATA_ERROR;
            break;
        }
        if (capacity >= kMaxInflatedSize) {
            status = Z_MEM_ERROR;
            break;
        }
        unsigned bigger = capacity > kMaxInflatedSize / 2 ? kMaxInflatedSize : capacity * 2;
        unsigned char* grown = new (std::nothrow) unsigned char[bigger];
        if (!grown) {
            status = Z_MEM_ERROR;
            break;
        }
        memcpy(grown, buffer, capacity);
        delete[] buffer;
        buffer = grown;
        stream.next_out = buffer + capacity;
        stream.avail_out = bigger - capacity;
        capacity = bigger;
    }
    unsigned produced = capacity - stream.avail_out;
    int endStatus = inflateEnd(&stream);
    if (status != Z_STREAM_END || endStatus != Z_OK) {
        delete[] buffer;
        return status == Z_STREAM_END ? endStatus : status;
    }
    *out = buffer;
    *outLength = produced;
    return Z_OK;
}

int inflateMemoryWithHint(const unsigned char* in, unsigned inLength, unsigned char** out,
                          unsigned outLengthHint) {
    if (!out) return 0;
    unsigned length = 0;
    int status = inflateMemoryGrowing(outLengthHint, out, in, inLength, &length);
    if (status != Z_OK || !*out || length == 0) {
        // An empty result is reported like a failure (0, no buffer), so nothing is left to free.
        if (status != Z_OK) {
            logDebugMessage("engine: cannot inflate %u bytes of data (zlib status %d)", inLength, status);
        }
        delete[] * out;
        *out = nullptr;
        return 0;
    }
    return static_cast<int>(length);
}

} // namespace kvengine
