#include "TestFiles.h"

#include "engine/base/CCLog.h"
#include "engine/files/CCFileUtils.h"

#include <zlib.h>

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <utility>

namespace kvtest {

namespace {

void putU32(std::vector<uint8_t>& out, uint32_t v) {
    out.push_back(static_cast<uint8_t>(v >> 24));
    out.push_back(static_cast<uint8_t>(v >> 16));
    out.push_back(static_cast<uint8_t>(v >> 8));
    out.push_back(static_cast<uint8_t>(v));
}

void putChunk(std::vector<uint8_t>& out, const char* type, const std::vector<uint8_t>& data) {
    putU32(out, static_cast<uint32_t>(data.size()));
    const size_t start = out.size();
    out.insert(out.end(), type, type + 4);
    out.insert(out.end(), data.begin(), data.end());
    const uLong crc = crc32(0L, out.data() + start, static_cast<uInt>(out.size() - start));
    putU32(out, static_cast<uint32_t>(crc));
}

// Data files of the scrambled types are stored scrambled, as the game ships them.
bool writeDataFile(const std::string& path, std::vector<uint8_t> bytes) {
    if (kvengine::isScrambledDataPath(path.c_str()) && !bytes.empty())
        kvengine::scrambleDataBuffer(bytes.data(), static_cast<unsigned>(bytes.size()));
    std::ofstream out(path, std::ios::binary);
    out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
    return static_cast<bool>(out);
}

} // namespace

std::string makeTempFolder(const char* tag) {
    std::string pattern = std::string("/tmp/kelvos-") + (tag ? tag : "test") + "-XXXXXX";
    const char* made = mkdtemp(&pattern[0]);
    return made ? std::string(made) : std::string("/tmp");
}

bool writeTextFile(const std::string& path, const std::string& text) {
    return writeDataFile(path, std::vector<uint8_t>(text.begin(), text.end()));
}

bool writeRgbaPng(const std::string& path, uint32_t width, uint32_t height,
                  const std::vector<uint8_t>& rgba) {
    if (rgba.size() != static_cast<size_t>(width) * height * 4) return false;
    std::vector<uint8_t> raw;
    for (uint32_t y = 0; y < height; ++y) {
        raw.push_back(0); // no filter
        raw.insert(raw.end(), rgba.begin() + y * width * 4, rgba.begin() + (y + 1) * width * 4);
    }
    uLongf packedSize = compressBound(static_cast<uLong>(raw.size()));
    std::vector<uint8_t> packed(packedSize);
    if (compress(packed.data(), &packedSize, raw.data(), static_cast<uLong>(raw.size())) != Z_OK)
        return false;
    packed.resize(packedSize);

    std::vector<uint8_t> png = {0x89, 'P', 'N', 'G', 0x0D, 0x0A, 0x1A, 0x0A};
    std::vector<uint8_t> header;
    putU32(header, width);
    putU32(header, height);
    header.insert(header.end(), {8, 6, 0, 0, 0}); // 8 bits, RGBA, deflate, no filter, no interlace
    putChunk(png, "IHDR", header);
    putChunk(png, "IDAT", packed);
    putChunk(png, "IEND", {});
    return writeDataFile(path, std::move(png));
}

bool writeSolidPng(const std::string& path, uint32_t width, uint32_t height, uint8_t r, uint8_t g, uint8_t b,
                   uint8_t a) {
    std::vector<uint8_t> rgba;
    rgba.reserve(static_cast<size_t>(width) * height * 4);
    for (uint32_t i = 0; i < width * height; ++i)
        rgba.insert(rgba.end(), {r, g, b, a});
    return writeRgbaPng(path, width, height, rgba);
}

LogLines::LogLines() {
    kvengine::setDebugLogSink([this](const std::string& line) { lines.push_back(line); });
}

LogLines::~LogLines() {
    kvengine::setDebugLogSink({});
}

bool LogLines::contains(const std::string& text) const {
    for (const std::string& line : lines)
        if (line.find(text) != std::string::npos) return true;
    return false;
}

} // namespace kvtest
