#pragma once
// PVR (version 2) textures for the sprite sheets: a 52-byte little-endian header and
// one level of premultiplied texels, in the pixel types the game's loader accepts.
#include <string>

#include "tools/content/ContentFiles.h"
#include "tools/content/Image.h"

namespace kvcontent {

enum class PvrFormat { RGBA8888, RGBA4444, RGBA5551, RGB565 };

/// The pixel format a sheet's name asks for: a name ending in "_44_ss" (before any
/// extension) gives 4444, "_51_ss" 5551, "_65_ss" 565, anything else 8888.
PvrFormat pvrFormatForSheet(const std::string& sheetName);

/// Encodes the image as a PVR v2 file; width and height must be powers of two
/// (an empty buffer and a log line otherwise). Colours are premultiplied by alpha.
Bytes encodePvr(const Image& image, PvrFormat format);

} // namespace kvcontent
