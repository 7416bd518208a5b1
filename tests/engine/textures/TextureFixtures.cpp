#include "TextureFixtures.h"

#include "engine/base/CCLog.h"

#include <cstdio>
#include <jpeglib.h>
#include <zlib.h>

#include <cstdlib>
#include <fstream>

namespace fixtures {

namespace {

void putBe32(Bytes& out, uint32_t v) {
    out.push_back(uint8_t(v >> 24));
    out.push_back(uint8_t(v >> 16));
    out.push_back(uint8_t(v >> 8));
    out.push_back(uint8_t(v));
}

void putLe32(Bytes& out, uint32_t v) {
    out.push_back(uint8_t(v));
    out.push_back(uint8_t(v >> 8));
    out.push_back(uint8_t(v >> 16));
    out.push_back(uint8_t(v >> 24));
}

void putChunk(Bytes& out, const char* type, const Bytes& body) {
    putBe32(out, uint32_t(body.size()));
    Bytes typed(type, type + 4);
    typed.insert(typed.end(), body.begin(), body.end());
    out.insert(out.end(), typed.begin(), typed.end());
    putBe32(out, uint32_t(crc32(0, typed.data(), uInt(typed.size()))));
}

Bytes zlibCompress(const Bytes& in) {
    uLongf size = compressBound(uLong(in.size()));
    Bytes out(size);
    compress(out.data(), &size, in.data(), uLong(in.size()));
    out.resize(size);
    return out;
}

} // namespace

Bytes makePng(uint32_t width, uint32_t height, int colorType, int bitDepth, const Bytes& rows,
              const Bytes& palette, const Bytes& trns) {
    static const unsigned char kSignature[] = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
    Bytes out(kSignature, kSignature + 8);
    Bytes ihdr;
    putBe32(ihdr, width);
    putBe32(ihdr, height);
    ihdr.push_back(uint8_t(bitDepth));
    ihdr.push_back(uint8_t(colorType));
    ihdr.push_back(0);
    ihdr.push_back(0);
    ihdr.push_back(0);
    putChunk(out, "IHDR", ihdr);
    if (!palette.empty()) putChunk(out, "PLTE", palette);
    if (!trns.empty()) putChunk(out, "tRNS", trns);
    // Every row gets filter type 0.
    const size_t rowBytes = height == 0 ? 0 : rows.size() / height;
    Bytes raw;
    for (uint32_t y = 0; y < height; ++y) {
        raw.push_back(0);
        raw.insert(raw.end(), rows.begin() + long(y * rowBytes), rows.begin() + long((y + 1) * rowBytes));
    }
    putChunk(out, "IDAT", zlibCompress(raw));
    putChunk(out, "IEND", {});
    return out;
}

Bytes makeRgbaPng(uint32_t width, uint32_t height, const Bytes& rgba) {
    return makePng(width, height, 6, 8, rgba);
}

Bytes makeJpeg(uint32_t width, uint32_t height, int components, const Bytes& samples, bool storeAsRgb) {
    jpeg_compress_struct cinfo;
    jpeg_error_mgr errors;
    cinfo.err = jpeg_std_error(&errors);
    jpeg_create_compress(&cinfo);
    unsigned char* buffer = nullptr;
    unsigned long size = 0;
    jpeg_mem_dest(&cinfo, &buffer, &size);
    cinfo.image_width = width;
    cinfo.image_height = height;
    cinfo.input_components = components;
    cinfo.in_color_space = components == 1 ? JCS_GRAYSCALE : components == 4 ? JCS_CMYK : JCS_RGB;
    jpeg_set_defaults(&cinfo);
    if (storeAsRgb) jpeg_set_colorspace(&cinfo, JCS_RGB);
    jpeg_set_quality(&cinfo, 100, TRUE);
    jpeg_start_compress(&cinfo, TRUE);
    const size_t stride = size_t(width) * size_t(components);
    while (cinfo.next_scanline < cinfo.image_height) {
        JSAMPROW row = const_cast<unsigned char*>(samples.data()) + cinfo.next_scanline * stride;
        jpeg_write_scanlines(&cinfo, &row, 1);
    }
    jpeg_finish_compress(&cinfo);
    jpeg_destroy_compress(&cinfo);
    Bytes out(buffer, buffer + size);
    std::free(buffer);
    return out;
}

Bytes makePvr(uint32_t width, uint32_t height, uint32_t pixelType, uint32_t alphaMask, const Bytes& data,
              int64_t dataLength) {
    Bytes out;
    putLe32(out, 52);
    putLe32(out, height);
    putLe32(out, width);
    putLe32(out, 0);
    putLe32(out, pixelType);
    putLe32(out, uint32_t(dataLength < 0 ? int64_t(data.size()) : dataLength));
    putLe32(out, 0);
    putLe32(out, 0);
    putLe32(out, 0);
    putLe32(out, 0);
    putLe32(out, alphaMask);
    out.push_back('P');
    out.push_back('V');
    out.push_back('R');
    out.push_back('!');
    putLe32(out, 1);
    out.insert(out.end(), data.begin(), data.end());
    return out;
}

Bytes makeCcz(const Bytes& payload) {
    Bytes out = {'C', 'C', 'Z', '!', 0, 0, 0, 2, 0, 0, 0, 0};
    putBe32(out, uint32_t(payload.size()));
    const Bytes packed = zlibCompress(payload);
    out.insert(out.end(), packed.begin(), packed.end());
    return out;
}

Bytes makeGzip(const Bytes& payload) {
    z_stream stream{};
    deflateInit2(&stream, Z_BEST_COMPRESSION, Z_DEFLATED, 15 + 16, 8, Z_DEFAULT_STRATEGY);
    Bytes out(deflateBound(&stream, uLong(payload.size())) + 32);
    stream.next_in = const_cast<Bytef*>(payload.data());
    stream.avail_in = uInt(payload.size());
    stream.next_out = out.data();
    stream.avail_out = uInt(out.size());
    deflate(&stream, Z_FINISH);
    out.resize(stream.total_out);
    deflateEnd(&stream);
    return out;
}

bool writeFile(const std::string& path, const Bytes& bytes) {
    std::ofstream file(path, std::ios::binary | std::ios::trunc);
    file.write(reinterpret_cast<const char*>(bytes.data()), std::streamsize(bytes.size()));
    return bool(file);
}

std::string makeTempDir(const char* tag) {
    std::string pattern = std::string("/tmp/kelvos-") + tag + "-XXXXXX";
    char* made = mkdtemp(pattern.data());
    return made != nullptr ? std::string(made) : std::string("/tmp");
}

LogCapture::LogCapture() {
    kvengine::setDebugLogSink([this](const std::string& line) { lines.push_back(line); });
}

LogCapture::~LogCapture() {
    kvengine::setDebugLogSink({});
}

size_t LogCapture::takeCount() {
    const size_t fresh = lines.size() - m_taken;
    m_taken = lines.size();
    return fresh;
}

} // namespace fixtures
