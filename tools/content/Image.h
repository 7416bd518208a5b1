#pragma once
// A picture of the content build: straight (not premultiplied) RGBA, 8 bits a channel,
// rows from the top. Pictures come from cairo drawing programs and from SVG files.
#include <cstdint>
#include <string>
#include <vector>

#include "tools/content/ContentFiles.h"

typedef struct _cairo_surface cairo_surface_t;
typedef struct _cairo cairo_t;

namespace kvcontent {

struct Image {
    int width = 0;
    int height = 0;
    std::vector<uint8_t> rgba; ///< width * height * 4 bytes, straight alpha

    bool empty() const { return width <= 0 || height <= 0; }
    uint8_t* pixel(int x, int y) { return &rgba[(static_cast<size_t>(y) * width + x) * 4]; }
    const uint8_t* pixel(int x, int y) const { return &rgba[(static_cast<size_t>(y) * width + x) * 4]; }
};

/// Copies a cairo ARGB32 surface (premultiplied, native-endian) into a straight RGBA image.
Image imageFromSurface(cairo_surface_t* surface);

/// Ends a cairo drawing: destroys the context, copies the surface into an image and destroys it.
Image finishDrawing(cairo_surface_t* surface, cairo_t* cr);

/// A new premultiplied cairo ARGB32 surface holding the image (the caller destroys it).
cairo_surface_t* surfaceFromImage(const Image& image);

/// Rasterises an SVG file at the given pixel size (the drawing is scaled to fill it).
/// Returns an empty image and logs when the file cannot be read or drawn.
Image rasteriseSvg(const std::string& path, int width, int height);

/// Encodes as PNG (libpng through cairo); an empty buffer on failure.
Bytes encodePng(const Image& image);

/// The smallest box holding every pixel whose alpha is not 0: x, y, w, h. A fully
/// transparent image gives a 1 x 1 box at its centre.
void opaqueBounds(const Image& image, int& x, int& y, int& w, int& h);

/// A part of an image.
Image crop(const Image& image, int x, int y, int w, int h);

} // namespace kvcontent
