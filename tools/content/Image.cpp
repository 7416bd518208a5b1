#include "tools/content/Image.h"

#include <cairo.h>
#include <librsvg/rsvg.h>

#include <cstring>

namespace kvcontent {

Image imageFromSurface(cairo_surface_t* surface) {
    Image image;
    cairo_surface_flush(surface);
    image.width = cairo_image_surface_get_width(surface);
    image.height = cairo_image_surface_get_height(surface);
    const int stride = cairo_image_surface_get_stride(surface);
    const unsigned char* data = cairo_image_surface_get_data(surface);
    image.rgba.assign(static_cast<size_t>(image.width) * image.height * 4, 0);
    for (int y = 0; y < image.height; ++y) {
        const uint32_t* row = reinterpret_cast<const uint32_t*>(data + static_cast<size_t>(y) * stride);
        for (int x = 0; x < image.width; ++x) {
            const uint32_t argb = row[x];
            const uint32_t a = argb >> 24;
            uint8_t* out = image.pixel(x, y);
            out[3] = static_cast<uint8_t>(a);
            if (a == 0) continue;
            // Undo cairo's premultiplication, rounding to nearest.
            out[0] = static_cast<uint8_t>((((argb >> 16) & 0xFF) * 255 + a / 2) / a);
            out[1] = static_cast<uint8_t>((((argb >> 8) & 0xFF) * 255 + a / 2) / a);
            out[2] = static_cast<uint8_t>(((argb & 0xFF) * 255 + a / 2) / a);
        }
    }
    return image;
}

Image finishDrawing(cairo_surface_t* surface, cairo_t* cr) {
    cairo_destroy(cr);
    Image image = imageFromSurface(surface);
    cairo_surface_destroy(surface);
    return image;
}

Image rasteriseSvg(const std::string& path, int width, int height) {
    GError* error = nullptr;
    RsvgHandle* handle = rsvg_handle_new_from_file(path.c_str(), &error);
    if (!handle) {
        logLine("cannot read SVG " + path + ": " + (error ? error->message : "unknown error"));
        if (error) g_error_free(error);
        return {};
    }
    cairo_surface_t* surface = cairo_image_surface_create(CAIRO_FORMAT_ARGB32, width, height);
    cairo_t* cr = cairo_create(surface);
    RsvgRectangle viewport = {0, 0, static_cast<double>(width), static_cast<double>(height)};
    Image image;
    if (rsvg_handle_render_document(handle, cr, &viewport, &error)) {
        image = imageFromSurface(surface);
    } else {
        logLine("cannot draw SVG " + path + ": " + (error ? error->message : "unknown error"));
        if (error) g_error_free(error);
    }
    cairo_destroy(cr);
    cairo_surface_destroy(surface);
    g_object_unref(handle);
    return image;
}

namespace {
cairo_status_t appendToBytes(void* closure, const unsigned char* data, unsigned int length) {
    Bytes* out = static_cast<Bytes*>(closure);
    out->insert(out->end(), data, data + length);
    return CAIRO_STATUS_SUCCESS;
}
} // namespace

Bytes encodePng(const Image& image) {
    if (image.empty()) return {};
    cairo_surface_t* surface = cairo_image_surface_create(CAIRO_FORMAT_ARGB32, image.width, image.height);
    cairo_surface_flush(surface);
    unsigned char* data = cairo_image_surface_get_data(surface);
    const int stride = cairo_image_surface_get_stride(surface);
    for (int y = 0; y < image.height; ++y) {
        uint32_t* row = reinterpret_cast<uint32_t*>(data + static_cast<size_t>(y) * stride);
        for (int x = 0; x < image.width; ++x) {
            const uint8_t* p = image.pixel(x, y);
            const uint32_t a = p[3];
            const uint32_t r = (p[0] * a + 127) / 255, g = (p[1] * a + 127) / 255, b = (p[2] * a + 127) / 255;
            row[x] = (a << 24) | (r << 16) | (g << 8) | b;
        }
    }
    cairo_surface_mark_dirty(surface);
    Bytes out;
    if (cairo_surface_write_to_png_stream(surface, appendToBytes, &out) != CAIRO_STATUS_SUCCESS) {
        logLine("PNG encoding failed");
        out.clear();
    }
    cairo_surface_destroy(surface);
    return out;
}

void opaqueBounds(const Image& image, int& x, int& y, int& w, int& h) {
    int minX = image.width, minY = image.height, maxX = -1, maxY = -1;
    for (int j = 0; j < image.height; ++j) {
        for (int i = 0; i < image.width; ++i) {
            if (image.pixel(i, j)[3] == 0) continue;
            if (i < minX) minX = i;
            if (i > maxX) maxX = i;
            if (j < minY) minY = j;
            if (j > maxY) maxY = j;
        }
    }
    if (maxX < 0) {
        x = image.width / 2;
        y = image.height / 2;
        w = h = 1;
        return;
    }
    x = minX;
    y = minY;
    w = maxX - minX + 1;
    h = maxY - minY + 1;
}

Image crop(const Image& image, int x, int y, int w, int h) {
    Image out;
    out.width = w;
    out.height = h;
    out.rgba.assign(static_cast<size_t>(w) * h * 4, 0);
    for (int j = 0; j < h; ++j) {
        if (y + j < 0 || y + j >= image.height) continue;
        for (int i = 0; i < w; ++i) {
            if (x + i < 0 || x + i >= image.width) continue;
            std::memcpy(out.pixel(i, j), image.pixel(x + i, y + j), 4);
        }
    }
    return out;
}

// Premultiplied cairo surface of an image, for composing pictures.
cairo_surface_t* surfaceFromImage(const Image& image) {
    cairo_surface_t* surface = cairo_image_surface_create(CAIRO_FORMAT_ARGB32, image.width, image.height);
    cairo_surface_flush(surface);
    unsigned char* data = cairo_image_surface_get_data(surface);
    const int stride = cairo_image_surface_get_stride(surface);
    for (int y = 0; y < image.height; ++y) {
        uint32_t* row = reinterpret_cast<uint32_t*>(data + static_cast<size_t>(y) * stride);
        for (int x = 0; x < image.width; ++x) {
            const uint8_t* p = image.pixel(x, y);
            const uint32_t a = p[3];
            row[x] = (a << 24) | ((p[0] * a / 255) << 16) | ((p[1] * a / 255) << 8) | (p[2] * a / 255);
        }
    }
    cairo_surface_mark_dirty(surface);
    return surface;
}

} // namespace kvcontent
