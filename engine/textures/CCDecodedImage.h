#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace kvengine {

/// A decoded picture in main memory, from which every texture is made.
///
/// Rows run top-down and are tightly packed. A pixel is 4 bytes when `hasAlpha` is set and 3
/// otherwise. The record is a plain value: it owns its pixels and frees them when it goes.
///
/// What the producers leave:
/// - JPEG: R, G, B; no alpha; not premultiplied.
/// - PNG: R, G, B, A with the colours premultiplied when the picture has alpha, else R, G, B;
///   `premultipliedAlpha` is set for every PNG.
/// - text: B, G, R, A (white text, so B = G = R); alpha binarised and smoothed; not premultiplied.
///
/// Every decoder fails (false, a log line, no pixels kept) on bad input and never ends the
/// process. A picture wider or taller than the given maximum is refused before any pixel
/// memory is taken.
class CCDecodedImage {
public:
    /// Format codes of `initWithImageData`.
    static constexpr int kFormatJpeg = 0;
    static constexpr int kFormatPng = 1;

    /// Largest width or height any decoder accepts when the caller gives no limit; no GL
    /// implementation we run on takes a larger texture.
    static constexpr uint32_t kMaxImageDimension = 16384;

    CCDecodedImage() = default;

    /// Decodes a whole file held in memory: format `kFormatJpeg` or `kFormatPng`.
    /// Null data, a length below 1 or another format fail.
    [[nodiscard]] bool initWithImageData(const void* data, size_t length, int format,
                                         uint32_t maxDimension = kMaxImageDimension);
    [[nodiscard]] bool initWithJpegData(const void* data, size_t length,
                                        uint32_t maxDimension = kMaxImageDimension);
    [[nodiscard]] bool initWithPngData(const void* data, size_t length,
                                       uint32_t maxDimension = kMaxImageDimension);

    /// Renders UTF-8 text in white into a box of whole pixels; a box dimension of 0 or less
    /// means: fit the text. `alignment` is the renderer's code: low 4 bits horizontal (1 left,
    /// 2 right, 3 centre), high 4 bits vertical (1 top, 2 bottom, 3 centre). `fontName` is a
    /// ".ttf" file of the program's folder or a face name; `fontSize` is the character height
    /// in pixels (0: the default size). A font that cannot be opened falls back to the default
    /// face after a log line.
    [[nodiscard]] bool initWithString(const char* text, int width, int height, int alignment,
                                      const char* fontName, int fontSize);
    /// The same for UTF-16 text.
    [[nodiscard]] bool initWithWideString(const char16_t* text, int width, int height, int alignment,
                                          const char* fontName, int fontSize);

    /// Drops the pixels and zeroes every field.
    void clear();

    /// Bytes per pixel: 4 with alpha, 3 without (0 while empty).
    size_t bytesPerPixel() const { return pixels.empty() ? 0 : (hasAlpha ? 4 : 3); }

    uint32_t width = 0;
    uint32_t height = 0;
    int bitsPerComponent = 0;
    std::vector<unsigned char> pixels;
    bool hasAlpha = false;
    bool premultipliedAlpha = false;

private:
    bool renderText(const std::u16string& text, int width, int height, int alignment, const char* fontName,
                    int fontSize);
};

/// The text renderer's alpha filter over 32-bit pixels (alpha in the 4th byte): every interior
/// pixel gets floor((2 x (self + left + above) + right + below) / 8) of the unfiltered alphas.
/// Images with fewer than 3 rows or columns are left as they are; colours are never touched.
void smoothAlphaChannel(uint32_t height, unsigned char* pixels, uint32_t width);

} // namespace kvengine
