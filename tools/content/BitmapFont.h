#pragma once
// Bitmap fonts for the game's bitmap-font labels: a BMFont text description (".fnt")
// and one page picture, rendered from a TrueType font with FreeType. Glyphs are white
// with coverage as alpha, so labels can tint them.
#include <string>

namespace kvcontent {

struct BitmapFontSpec {
    std::string ttfPath; ///< TrueType source
    std::string fntName; ///< e.g. "times32.fnt"
    int pixelSize = 32;  ///< em size in pixels
};

/// Writes "<folder>/<fntName>" and its page "<stem>.png" beside it. Characters 32-126
/// and 160-255 (Latin-1) are included, with kerning pairs when the font has them.
/// False with a log line when the font cannot be loaded or the page cannot be written.
bool writeBitmapFont(const BitmapFontSpec& spec, const std::string& folder);

} // namespace kvcontent
