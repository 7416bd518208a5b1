#pragma once

// Decoders for compressed data: gzip files, the engine's CCZ container and in-memory zlib/gzip
// streams. Results larger than kMaxInflatedSize are refused, so that a small hostile file cannot
// make the program allocate without bound.

namespace kvengine {

/// Upper bound on any decompressed result, in bytes.
constexpr unsigned kMaxInflatedSize = 256u * 1024u * 1024u;

/// Decompresses a gzip file. Returns the length and stores a malloc'd buffer (free with free())
/// in *out; on failure returns -1 and stores null. A truncated or corrupt file is a failure, and
/// so is a file that is not gzip data at all (zlib would pass its bytes through as they are).
int inflateGZipFile(const char* path, unsigned char** out);

/// Reads a CCZ file (16-byte big-endian header "CCZ!", type 0 = zlib, version <= 2, then the
/// uncompressed length; then a zlib stream). Returns the length and a malloc'd buffer in *out;
/// on failure returns -1 and stores null. The stream must yield exactly the stated length. A stated
/// length that the payload could never inflate to is refused before anything is allocated, and the
/// buffer grows as data arrives rather than being allocated whole from the header.
int inflateCCZFile(const char* path, unsigned char** out);

/// The CCZ decoding of an already read (and unscrambled) file image; same contract as
/// inflateCCZFile.
int inflateCCZBuffer(const unsigned char* data, unsigned size, unsigned char** out);

/// Inflates a zlib or gzip stream held in memory (the header kind is detected). outLengthHint is
/// the expected size (0 is allowed). Returns the length and a new[] buffer (free with delete[]) in
/// *out; on failure returns 0 and stores null. A stream that ends early is a failure. A gzip stream
/// of several members gives all of them, one after the other.
int inflateMemoryWithHint(const unsigned char* in, unsigned inLength, unsigned char** out,
                          unsigned outLengthHint);

/// The worker behind inflateMemoryWithHint: on success returns Z_OK with the buffer in *out and
/// its length in *outLength; otherwise a zlib error status and *out null.
int inflateMemoryGrowing(unsigned capacityHint, unsigned char** out, const unsigned char* in,
                         unsigned inLength, unsigned* outLength);

} // namespace kvengine
