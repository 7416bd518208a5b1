#include "tools/content/PvrWriter.h"

namespace kvcontent {

namespace {
bool isPowerOfTwo(int v) {
    return v > 0 && (v & (v - 1)) == 0;
}

void put32(Bytes& out, uint32_t v) {
    for (int i = 0; i < 4; ++i)
        out.push_back(static_cast<uint8_t>(v >> (8 * i)));
}

void put16(Bytes& out, uint16_t v) {
    out.push_back(static_cast<uint8_t>(v & 0xFF));
    out.push_back(static_cast<uint8_t>(v >> 8));
}

// Quantises an 8-bit channel to `bits` bits, rounding to nearest.
uint32_t quantise(uint32_t v, int bits) {
    const uint32_t top = (1u << bits) - 1;
    return (v * top + 127) / 255;
}

bool endsWith(const std::string& s, const std::string& tail) {
    return s.size() >= tail.size() && s.compare(s.size() - tail.size(), tail.size(), tail) == 0;
}
} // namespace

PvrFormat pvrFormatForSheet(const std::string& sheetName) {
    std::string base = sheetName;
    const size_t dot = base.find('.');
    if (dot != std::string::npos) base.resize(dot);
    if (endsWith(base, "_44_ss")) return PvrFormat::RGBA4444;
    if (endsWith(base, "_51_ss")) return PvrFormat::RGBA5551;
    if (endsWith(base, "_65_ss")) return PvrFormat::RGB565;
    return PvrFormat::RGBA8888;
}

Bytes encodePvr(const Image& image, PvrFormat format) {
    if (!isPowerOfTwo(image.width) || !isPowerOfTwo(image.height)) {
        logLine("PVR texture size is not a power of two");
        return {};
    }
    uint32_t type = 0x12, bpp = 32, rMask = 0xFF, gMask = 0xFF00, bMask = 0xFF0000, aMask = 0xFF000000;
    switch (format) {
    case PvrFormat::RGBA8888:
        break;
    case PvrFormat::RGBA4444:
        type = 0x10;
        bpp = 16;
        rMask = 0xF000;
        gMask = 0x0F00;
        bMask = 0x00F0;
        aMask = 0x000F;
        break;
    case PvrFormat::RGBA5551:
        type = 0x11;
        bpp = 16;
        rMask = 0xF800;
        gMask = 0x07C0;
        bMask = 0x003E;
        aMask = 0x0001;
        break;
    case PvrFormat::RGB565:
        type = 0x13;
        bpp = 16;
        rMask = 0xF800;
        gMask = 0x07E0;
        bMask = 0x001F;
        aMask = 0;
        break;
    }
    const uint32_t dataLength = static_cast<uint32_t>(image.width) * image.height * bpp / 8;
    Bytes out;
    out.reserve(52 + dataLength);
    put32(out, 52);
    put32(out, static_cast<uint32_t>(image.height));
    put32(out, static_cast<uint32_t>(image.width));
    put32(out, 0); // no extra mipmap levels
    put32(out, type);
    put32(out, dataLength);
    put32(out, bpp);
    put32(out, rMask);
    put32(out, gMask);
    put32(out, bMask);
    put32(out, aMask);
    out.push_back('P');
    out.push_back('V');
    out.push_back('R');
    out.push_back('!');
    put32(out, 1);
    for (int y = 0; y < image.height; ++y) {
        for (int x = 0; x < image.width; ++x) {
            const uint8_t* p = image.pixel(x, y);
            const uint32_t a = p[3];
            // The game draws PVR textures as premultiplied.
            const uint32_t r = (p[0] * a + 127) / 255, g = (p[1] * a + 127) / 255, b = (p[2] * a + 127) / 255;
            switch (format) {
            case PvrFormat::RGBA8888:
                out.push_back(static_cast<uint8_t>(r));
                out.push_back(static_cast<uint8_t>(g));
                out.push_back(static_cast<uint8_t>(b));
                out.push_back(static_cast<uint8_t>(a));
                break;
            case PvrFormat::RGBA4444:
                put16(out, static_cast<uint16_t>(quantise(r, 4) << 12 | quantise(g, 4) << 8 |
                                                 quantise(b, 4) << 4 | quantise(a, 4)));
                break;
            case PvrFormat::RGBA5551:
                // One alpha bit: a kept texel is fully opaque, so it keeps its own colour.
                if (a >= 128) {
                    put16(out, static_cast<uint16_t>(quantise(p[0], 5) << 11 | quantise(p[1], 5) << 6 |
                                                     quantise(p[2], 5) << 1 | 1u));
                } else {
                    put16(out, 0);
                }
                break;
            case PvrFormat::RGB565:
                put16(out,
                      static_cast<uint16_t>(quantise(r, 5) << 11 | quantise(g, 6) << 5 | quantise(b, 5)));
                break;
            }
        }
    }
    return out;
}

} // namespace kvcontent
