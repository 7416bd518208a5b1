#pragma once

// Builders of the image files the texture tests read: PNG, JPEG and PVR bytes made here from
// known pixels, so every expected texel value is known exactly.

#include <cstdint>
#include <string>
#include <vector>

namespace fixtures {

using Bytes = std::vector<unsigned char>;

/// A PNG with the given IHDR colour type (0 grey, 2 RGB, 3 palette, 4 grey+alpha, 6 RGBA) and
/// bit depth; `rows` holds the packed rows without filter bytes. `palette` (RGB triples) and
/// `trns` are written as PLTE and tRNS chunks when not empty.
Bytes makePng(uint32_t width, uint32_t height, int colorType, int bitDepth, const Bytes& rows,
              const Bytes& palette = {}, const Bytes& trns = {});

/// An 8-bit RGBA PNG of the given pixels.
Bytes makeRgbaPng(uint32_t width, uint32_t height, const Bytes& rgba);

/// A baseline JPEG at quality 100. `components` is 1 (grey), 3 or 4. With 3 components the
/// stream is YCbCr-coded unless `storeAsRgb` is set; 4 components are stored as CMYK.
Bytes makeJpeg(uint32_t width, uint32_t height, int components, const Bytes& samples,
               bool storeAsRgb = false);

/// A PVR version-2 file: 52-byte header then `data`. `dataLength` is the header's field (-1:
/// the size of `data`).
Bytes makePvr(uint32_t width, uint32_t height, uint32_t pixelType, uint32_t alphaMask, const Bytes& data,
              int64_t dataLength = -1);

/// The CCZ container around `payload` (zlib stream, big-endian header), not scrambled.
Bytes makeCcz(const Bytes& payload);
/// A gzip stream of `payload`.
Bytes makeGzip(const Bytes& payload);

/// Writes bytes to a file; true on success.
bool writeFile(const std::string& path, const Bytes& bytes);

/// A fresh empty folder under the system's temporary folder.
std::string makeTempDir(const char* tag);

/// Collects the engine's log lines while it lives (and keeps them off standard error).
class LogCapture {
public:
    LogCapture();
    ~LogCapture();
    LogCapture(const LogCapture&) = delete;
    LogCapture& operator=(const LogCapture&) = delete;
    std::vector<std::string> lines;
    /// Lines logged since the last call.
    size_t takeCount();

private:
    size_t m_taken = 0;
};

} // namespace fixtures
