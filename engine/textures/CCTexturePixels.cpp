#include "engine/textures/CCTexturePixels.h"

#include "engine/textures/CCDecodedImage.h"

#include <cstring>

namespace kvengine {

uint32_t nextPowerOfTwo(uint32_t value) {
    if (value == 0 || value > 0x80000000u) return 0;
    uint32_t p = 1;
    while (p < value)
        p <<= 1;
    return p;
}

size_t bytesPerTexel(int format) {
    switch (format) {
    case kCCPixelFormatRGBA8888:
        return 4;
    case kCCPixelFormatRGB888:
        return 3;
    case kCCPixelFormatRGB565:
    case kCCPixelFormatAI88:
    case kCCPixelFormatRGBA4444:
    case kCCPixelFormatRGB5A1:
        return 2;
    case kCCPixelFormatA8:
    case kCCPixelFormatI8:
        return 1;
    default:
        return 0;
    }
}

namespace {

// Copies the picture into a zeroed potWidth x potHeight buffer of its own pixel size.
std::vector<unsigned char> padded(const CCDecodedImage& image, size_t bpp, uint32_t potWidth,
                                  uint32_t potHeight) {
    const size_t srcRow = size_t(image.width) * bpp;
    const size_t dstRow = size_t(potWidth) * bpp;
    if (image.width == potWidth && image.height == potHeight) return image.pixels;
    std::vector<unsigned char> out(dstRow * potHeight, 0);
    for (uint32_t y = 0; y < image.height; ++y) {
        std::memcpy(out.data() + y * dstRow, image.pixels.data() + y * srcRow, srcRow);
    }
    return out;
}

} // namespace

bool convertImageToTexels(const CCDecodedImage& image, int format, uint32_t potWidth, uint32_t potHeight,
                          std::vector<unsigned char>* out) {
    out->clear();
    const size_t bpp = image.hasAlpha ? 4 : 3;
    if (image.width == 0 || image.height == 0 || image.width > potWidth || image.height > potHeight ||
        image.pixels.size() != size_t(image.width) * image.height * bpp) {
        return false;
    }
    const bool fromAlpha = image.hasAlpha;
    switch (format) {
    case kCCPixelFormatRGBA8888:
    case kCCPixelFormatA8:
        if (!fromAlpha) return false;
        *out = padded(image, 4, potWidth, potHeight);
        return true;
    case kCCPixelFormatRGB888:
        if (fromAlpha) {
            // An opaque format for a picture with alpha: the alpha bytes are dropped.
            const std::vector<unsigned char> staging = padded(image, 4, potWidth, potHeight);
            out->resize(staging.size() / 4 * 3);
            for (size_t i = 0, j = 0; i < staging.size(); i += 4, j += 3)
                std::memcpy(out->data() + j, &staging[i], 3);
            return true;
        }
        *out = padded(image, 3, potWidth, potHeight);
        return true;
    case kCCPixelFormatRGB565:
    case kCCPixelFormatRGBA4444:
    case kCCPixelFormatRGB5A1:
        break;
    default:
        return false;
    }
    if (!fromAlpha && format != kCCPixelFormatRGB565) return false;
    const std::vector<unsigned char> staging = padded(image, bpp, potWidth, potHeight);
    const size_t texels = size_t(potWidth) * potHeight;
    out->resize(texels * 2);
    const unsigned char* src = staging.data();
    for (size_t i = 0; i < texels; ++i, src += bpp) {
        const uint8_t a = fromAlpha ? src[3] : 0xFF;
        uint16_t v = 0;
        if (format == kCCPixelFormatRGB565)
            v = packRGB565(src[0], src[1], src[2]);
        else if (format == kCCPixelFormatRGBA4444)
            v = packRGBA4444(src[0], src[1], src[2], a);
        else
            v = packRGB5A1(src[0], src[1], src[2], a);
        // Native byte order: GL reads the packed types as unsigned shorts.
        std::memcpy(out->data() + i * 2, &v, 2);
    }
    return true;
}

} // namespace kvengine
