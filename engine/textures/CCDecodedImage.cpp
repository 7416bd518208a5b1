#include "engine/textures/CCDecodedImage.h"

#include "engine/base/CCLog.h"
#include "engine/textures/CCTextRenderer.h"

#include <cstdio>
// jpeglib.h needs FILE and size_t declared before it.
#include <jpeglib.h>
// jerror.h lists the warning codes; it needs jpeglib.h first.
#include <jerror.h>
#include <png.h>

#include <csetjmp>
#include <cstring>
#include <limits>

namespace kvengine {

namespace {

// Size arithmetic for pixel buffers: width x height x bytes per pixel, refused when it would
// not fit in size_t (it cannot with the dimension limits, but the check costs nothing).
bool pixelBufferSize(uint32_t width, uint32_t height, size_t bytesPerPixel, size_t* out) {
    const size_t max = std::numeric_limits<size_t>::max();
    if (width != 0 && height > max / width) return false;
    const size_t texels = size_t(width) * height;
    if (bytesPerPixel != 0 && texels > max / bytesPerPixel) return false;
    *out = texels * bytesPerPixel;
    return true;
}

// ---------------------------------------------------------------------------------------------
// PNG

struct PngSource {
    const unsigned char* data;
    size_t size;
    size_t offset;
};

// libpng's errors end in a long jump back into decodePng; the jump buffer lives in libpng's
// read struct (png_jmpbuf). The frames it skips hold only plain data.
void pngErrorHandler(png_structp png, png_const_charp message) {
    logDebugMessage("image: PNG decoding failed: %s", message);
    png_longjmp(png, 1);
}

void pngWarningHandler(png_structp, png_const_charp) {
    // Warnings (unknown chunks, odd colour profiles) do not stop the decode; they are not
    // worth a line each.
}

void pngReaderCallback(png_structp png, png_bytep out, png_size_t length) {
    auto* source = static_cast<PngSource*>(png_get_io_ptr(png));
    if (length > source->size - source->offset) {
        png_error(png, "pngReaderCallback failed");
        return;
    }
    std::memcpy(out, source->data + source->offset, length);
    source->offset += length;
}

struct PngResult {
    uint32_t width = 0;
    uint32_t height = 0;
    int bitDepth = 0;
    bool hasAlpha = false;
    std::vector<unsigned char> pixels;
    std::vector<png_bytep> rows;
};

// Runs between png_create_read_struct and png_destroy_read_struct; a libpng error returns
// here through the long jump with false. Everything that survives the jump lives in *result.
bool decodePng(png_structp png, png_infop info, PngSource* source, uint32_t maxDimension, PngResult* result) {
    if (setjmp(png_jmpbuf(png))) return false;

    png_set_read_fn(png, source, pngReaderCallback);
    // Refuse oversized pictures while the header is read, before any row is allocated.
    png_set_user_limits(png, maxDimension, maxDimension);
    // Ancillary chunks (profiles, texts) are read whole; none of ours needs more than this.
    png_set_chunk_malloc_max(png, 4u << 20);
    png_read_info(png, info);

    // The transforms that make every picture 8-bit RGB or RGBA: 16-bit strip, unpacking of
    // low depths, palette and grey expansion with tRNS turned into alpha, grey to RGB.
    png_set_strip_16(png);
    png_set_packing(png);
    png_set_expand(png);
    png_set_gray_to_rgb(png);
    png_set_interlace_handling(png);
    png_read_update_info(png, info);

    png_uint_32 width = 0, height = 0;
    int bitDepth = 0, colorType = 0;
    png_get_IHDR(png, info, &width, &height, &bitDepth, &colorType, nullptr, nullptr, nullptr);
    const bool alpha = (colorType & PNG_COLOR_MASK_ALPHA) != 0;
    const size_t bpp = alpha ? 4 : 3;
    const size_t rowBytes = png_get_rowbytes(png, info);
    size_t total = 0;
    if (width == 0 || height == 0 || bitDepth != 8 || rowBytes != size_t(width) * bpp ||
        !pixelBufferSize(width, height, bpp, &total)) {
        png_error(png, "unexpected layout after the transforms");
    }
    result->pixels.resize(total);
    result->rows.resize(height);
    for (png_uint_32 y = 0; y < height; ++y)
        result->rows[y] = result->pixels.data() + y * rowBytes;
    png_read_image(png, result->rows.data());
    png_read_end(png, nullptr);

    result->width = width;
    result->height = height;
    result->bitDepth = bitDepth;
    result->hasAlpha = alpha;
    return true;
}

// ---------------------------------------------------------------------------------------------
// JPEG

struct JpegErrorManager {
    jpeg_error_mgr base;
    jmp_buf jump;
    int warnings;
};

// The library's own error exit ends the process; this one jumps back to the decoder.
void jpegErrorExit(j_common_ptr cinfo) {
    auto* manager = reinterpret_cast<JpegErrorManager*>(cinfo->err);
    char message[JMSG_LENGTH_MAX];
    (*cinfo->err->format_message)(cinfo, message);
    logDebugMessage("image: JPEG decoding failed: %s", message);
    longjmp(manager->jump, 1);
}

// Warnings that mean the picture itself is damaged. libjpeg carries on after each of them and
// fills what it could not decode (a file cut short comes out as a whole picture with grey rows),
// so they end the decode like errors.
bool isDamageWarning(int code) {
    switch (code) {
    case JWRN_JPEG_EOF:
    case JWRN_HIT_MARKER:
    case JWRN_EXTRANEOUS_DATA:
    case JWRN_MUST_RESYNC:
    case JWRN_HUFF_BAD_CODE:
    case JWRN_ARITH_BAD_CODE:
    case JWRN_BOGUS_PROGRESSION:
    case JWRN_NOT_SEQUENTIAL:
    case JWRN_TOO_MUCH_DATA:
        return true;
    default:
        return false;
    }
}

// The other warnings (an unknown JFIF revision or Adobe transform, a bad ICC marker) leave the
// picture intact; a stream that keeps producing them (a classic way to make a small file decode
// for minutes) is still given up.
void jpegEmitMessage(j_common_ptr cinfo, int level) {
    if (level >= 0) return;
    auto* manager = reinterpret_cast<JpegErrorManager*>(cinfo->err);
    if (isDamageWarning(cinfo->err->msg_code)) {
        char message[JMSG_LENGTH_MAX];
        (*cinfo->err->format_message)(cinfo, message);
        logDebugMessage("image: JPEG data damaged: %s", message);
        longjmp(manager->jump, 1);
    }
    if (++manager->warnings > 100) {
        logDebugMessage("image: JPEG stream gives too many warnings");
        longjmp(manager->jump, 1);
    }
}

struct JpegResult {
    uint32_t width = 0;
    uint32_t height = 0;
    std::vector<unsigned char> pixels;
};

bool decodeJpeg(jpeg_decompress_struct* cinfo, JpegErrorManager* errors, const unsigned char* data,
                size_t length, uint32_t maxDimension, JpegResult* result) {
    if (setjmp(errors->jump)) return false;

    jpeg_mem_src(cinfo, data, static_cast<unsigned long>(length));
    if (jpeg_read_header(cinfo, TRUE) != JPEG_HEADER_OK) {
        logDebugMessage("image: JPEG stream holds no image");
        return false;
    }
    switch (cinfo->jpeg_color_space) {
    case JCS_GRAYSCALE:
    case JCS_YCbCr:
        cinfo->out_color_space = JCS_RGB;
        break;
    case JCS_RGB:
        logDebugMessage("image: RGB-coded JPEG refused");
        return false;
    default:
        // CMYK and YCCK would need a colour conversion we do not have; taking their four
        // components for three would scramble the picture.
        logDebugMessage("image: JPEG colour space %d refused", int(cinfo->jpeg_color_space));
        return false;
    }
    if (cinfo->image_width == 0 || cinfo->image_height == 0 || cinfo->image_width > maxDimension ||
        cinfo->image_height > maxDimension) {
        logDebugMessage("image: JPEG of %u x %u refused (limit %u)", unsigned(cinfo->image_width),
                        unsigned(cinfo->image_height), unsigned(maxDimension));
        return false;
    }

    jpeg_start_decompress(cinfo);
    if (cinfo->output_components != 3) {
        logDebugMessage("image: JPEG decodes to %d components", cinfo->output_components);
        return false;
    }
    const uint32_t width = cinfo->output_width;
    const uint32_t height = cinfo->output_height;
    const size_t rowBytes = size_t(width) * 3;
    size_t total = 0;
    if (!pixelBufferSize(width, height, 3, &total)) return false;
    result->pixels.resize(total);
    while (cinfo->output_scanline < cinfo->output_height) {
        JSAMPROW row = result->pixels.data() + size_t(cinfo->output_scanline) * rowBytes;
        if (jpeg_read_scanlines(cinfo, &row, 1) != 1) {
            logDebugMessage("image: JPEG stream ended early");
            return false;
        }
    }
    jpeg_finish_decompress(cinfo);
    result->width = width;
    result->height = height;
    return true;
}

} // namespace

void CCDecodedImage::clear() {
    width = 0;
    height = 0;
    bitsPerComponent = 0;
    pixels = std::vector<unsigned char>();
    hasAlpha = false;
    premultipliedAlpha = false;
}

bool CCDecodedImage::initWithImageData(const void* data, size_t length, int format, uint32_t maxDimension) {
    if (data == nullptr || length < 1) {
        logDebugMessage("image: no data to decode");
        return false;
    }
    switch (format) {
    case kFormatJpeg:
        return initWithJpegData(data, length, maxDimension);
    case kFormatPng:
        return initWithPngData(data, length, maxDimension);
    default:
        logDebugMessage("image: unknown image format %d", format);
        return false;
    }
}

bool CCDecodedImage::initWithPngData(const void* data, size_t length, uint32_t maxDimension) {
    clear();
    if (data == nullptr || length < 8 || png_sig_cmp(static_cast<png_const_bytep>(data), 0, 8) != 0) {
        logDebugMessage("image: data is not a PNG");
        return false;
    }
    png_structp png =
        png_create_read_struct(PNG_LIBPNG_VER_STRING, nullptr, pngErrorHandler, pngWarningHandler);
    if (png == nullptr) {
        logDebugMessage("image: libpng could not be set up");
        return false;
    }
    png_infop info = png_create_info_struct(png);
    if (info == nullptr) {
        png_destroy_read_struct(&png, nullptr, nullptr);
        logDebugMessage("image: libpng could not be set up");
        return false;
    }
    PngSource source{static_cast<const unsigned char*>(data), length, 0};
    PngResult result;
    const bool ok = decodePng(png, info, &source, maxDimension, &result);
    png_destroy_read_struct(&png, &info, nullptr);
    if (!ok) return false;

    if (result.hasAlpha) {
        // Premultiply: c' = c x (a + 1) >> 8, exact for a = 0 and a = 255.
        unsigned char* p = result.pixels.data();
        const size_t count = result.pixels.size() / 4;
        for (size_t i = 0; i < count; ++i, p += 4) {
            const unsigned a = p[3] + 1u;
            p[0] = static_cast<unsigned char>((p[0] * a) >> 8);
            p[1] = static_cast<unsigned char>((p[1] * a) >> 8);
            p[2] = static_cast<unsigned char>((p[2] * a) >> 8);
        }
    }
    width = result.width;
    height = result.height;
    bitsPerComponent = result.bitDepth;
    pixels = std::move(result.pixels);
    hasAlpha = result.hasAlpha;
    premultipliedAlpha = true;
    return true;
}

bool CCDecodedImage::initWithJpegData(const void* data, size_t length, uint32_t maxDimension) {
    clear();
    if (data == nullptr || length < 1) {
        logDebugMessage("image: no JPEG data");
        return false;
    }
    jpeg_decompress_struct cinfo;
    JpegErrorManager errors;
    cinfo.err = jpeg_std_error(&errors.base);
    errors.base.error_exit = jpegErrorExit;
    errors.base.emit_message = jpegEmitMessage;
    errors.warnings = 0;
    if (setjmp(errors.jump)) {
        // Only jpeg_create_decompress can jump here.
        jpeg_destroy_decompress(&cinfo);
        return false;
    }
    jpeg_create_decompress(&cinfo);
    JpegResult result;
    const bool ok =
        decodeJpeg(&cinfo, &errors, static_cast<const unsigned char*>(data), length, maxDimension, &result);
    jpeg_destroy_decompress(&cinfo);
    if (!ok) return false;

    width = result.width;
    height = result.height;
    bitsPerComponent = 8;
    pixels = std::move(result.pixels);
    hasAlpha = false;
    premultipliedAlpha = false;
    return true;
}

bool CCDecodedImage::initWithString(const char* text, int boxWidth, int boxHeight, int alignment,
                                    const char* fontName, int fontSize) {
    clear();
    if (text == nullptr) {
        logDebugMessage("text: no text to render");
        return false;
    }
    return renderText(convertUtf8ToWide(text), boxWidth, boxHeight, alignment, fontName, fontSize);
}

bool CCDecodedImage::initWithWideString(const char16_t* text, int boxWidth, int boxHeight, int alignment,
                                        const char* fontName, int fontSize) {
    clear();
    if (text == nullptr) {
        logDebugMessage("text: no text to render");
        return false;
    }
    return renderText(std::u16string(text), boxWidth, boxHeight, alignment, fontName, fontSize);
}

bool CCDecodedImage::renderText(const std::u16string& text, int boxWidth, int boxHeight, int alignment,
                                const char* fontName, int fontSize) {
    CCTextRenderer* renderer = CCTextRenderer::getInstance();
    if (!renderer->setFont(fontName, fontSize)) {
        logDebugMessage("Can't found font(%s), use system default", fontName != nullptr ? fontName : "");
    }
    int w = boxWidth;
    int h = boxHeight;
    if (renderer->drawWideText(alignment, &w, &h, text.c_str()) == 0) {
        logDebugMessage("text: nothing could be drawn for a text of %zu units", text.size());
        return false;
    }
    const std::vector<unsigned char>& coverage = renderer->bitmap();
    const uint32_t bw = uint32_t(renderer->bitmapWidth());
    const uint32_t bh = uint32_t(renderer->bitmapHeight());
    size_t total = 0;
    if (!pixelBufferSize(bw, bh, 4, &total) || coverage.size() != size_t(bw) * bh) return false;

    // White text on a black, fully transparent surface: every touched pixel becomes opaque with
    // its coverage as grey, then the filter softens the binary alpha edge.
    pixels.assign(total, 0);
    for (size_t i = 0; i < coverage.size(); ++i) {
        const unsigned char c = coverage[i];
        if (c == 0) continue;
        unsigned char* p = pixels.data() + i * 4;
        p[0] = p[1] = p[2] = c;
        p[3] = 0xFF;
    }
    width = bw;
    height = bh;
    hasAlpha = true;
    premultipliedAlpha = false;
    bitsPerComponent = 8;
    smoothAlphaChannel(height, pixels.data(), width);
    return true;
}

void smoothAlphaChannel(uint32_t height, unsigned char* pixels, uint32_t width) {
    if (pixels == nullptr || height < 3 || width < 3) return;
    const size_t stride = size_t(width) * 4;
    // Filtered alphas of the interior are collected first so that each one is computed from
    // unfiltered neighbours only.
    std::vector<unsigned char> filtered(size_t(width - 2) * (height - 2));
    for (uint32_t y = 1; y + 1 < height; ++y) {
        const unsigned char* row = pixels + y * stride;
        // Rows of their own: an index of the row minus the stride would wrap around as unsigned.
        const unsigned char* rowAbove = row - stride;
        const unsigned char* rowBelow = row + stride;
        for (uint32_t x = 1; x + 1 < width; ++x) {
            const unsigned self = row[x * 4 + 3];
            const unsigned left = row[(x - 1) * 4 + 3];
            const unsigned right = row[(x + 1) * 4 + 3];
            const unsigned above = rowAbove[x * 4 + 3];
            const unsigned below = rowBelow[x * 4 + 3];
            filtered[size_t(y - 1) * (width - 2) + (x - 1)] =
                static_cast<unsigned char>((2 * (self + left + above) + right + below) / 8);
        }
    }
    for (uint32_t y = 1; y + 1 < height; ++y) {
        unsigned char* row = pixels + y * stride;
        for (uint32_t x = 1; x + 1 < width; ++x)
            row[x * 4 + 3] = filtered[size_t(y - 1) * (width - 2) + (x - 1)];
    }
}

} // namespace kvengine
