#pragma once

// Pixel formats of textures and the conversions that turn a decoded picture into the texels a
// texture uploads. Kept apart from CCTexture2D so that the arithmetic can be checked without GL.

#include <cstddef>
#include <cstdint>
#include <vector>

namespace kvengine {

class CCDecodedImage;

/// Pixel format codes of textures.
enum CCTexture2DPixelFormat : int {
    kCCPixelFormatRGBA8888 = 1, ///< 4 bytes: GL_RGBA, GL_UNSIGNED_BYTE
    kCCPixelFormatRGB888 = 2,   ///< 3 bytes: GL_RGB, GL_UNSIGNED_BYTE
    kCCPixelFormatRGB565 = 3,   ///< 2 bytes: GL_RGB, GL_UNSIGNED_SHORT_5_6_5
    kCCPixelFormatA8 = 4,       ///< 1 byte: GL_ALPHA, GL_UNSIGNED_BYTE
    kCCPixelFormatI8 = 5,       ///< 1 byte: GL_LUMINANCE, GL_UNSIGNED_BYTE
    kCCPixelFormatAI88 = 6,     ///< 2 bytes: GL_LUMINANCE_ALPHA, GL_UNSIGNED_BYTE
    kCCPixelFormatRGBA4444 = 7, ///< 2 bytes: GL_RGBA, GL_UNSIGNED_SHORT_4_4_4_4
    kCCPixelFormatRGB5A1 = 8,   ///< 2 bytes: GL_RGBA, GL_UNSIGNED_SHORT_5_5_5_1
};

/// The smallest power of two not below `value`; 0 gives 0, values above 2^31 give 0.
uint32_t nextPowerOfTwo(uint32_t value);

/// Bytes per texel of a format; 0 for codes outside the table.
size_t bytesPerTexel(int format);

/// 16-bit repacking of one texel (bytes r, g, b, a).
inline uint16_t packRGB565(uint8_t r, uint8_t g, uint8_t b) {
    return uint16_t(((r >> 3) << 11) | ((g >> 2) << 5) | (b >> 3));
}
inline uint16_t packRGBA4444(uint8_t r, uint8_t g, uint8_t b, uint8_t a) {
    return uint16_t(((r >> 4) << 12) | ((g >> 4) << 8) | ((b >> 4) << 4) | (a >> 4));
}
inline uint16_t packRGB5A1(uint8_t r, uint8_t g, uint8_t b, uint8_t a) {
    return uint16_t(((r >> 3) << 11) | ((g >> 3) << 6) | ((b >> 3) << 1) | (a >> 7));
}

/// The texel data a texture of `format` and `potWidth` x `potHeight` texels uploads for `image`.
/// The picture sits in the top-left corner; the right and bottom margins are transparent black.
/// Pictures with alpha (4-byte pixels) convert to RGBA8888, RGB888 (alpha dropped), RGB565,
/// RGBA4444 and RGB5A1 (A8 stays RGBA8888 data); pictures without alpha convert to RGB888 and
/// RGB565. Any other pairing, or a picture larger than the texture, gives false and leaves `out`
/// empty.
bool convertImageToTexels(const CCDecodedImage& image, int format, uint32_t potWidth, uint32_t potHeight,
                          std::vector<unsigned char>* out);

} // namespace kvengine
