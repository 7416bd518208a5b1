#pragma once
#include "engine/base/CCObject.h"

#include <cstdint>
#include <string>
#include <unordered_map>
#include <vector>

namespace kvengine {

/// One character of a bitmap font: where it lies in the atlas image and how it advances.
struct CCBMFontGlyph {
    uint32_t id = 0;
    float x = 0, y = 0, width = 0, height = 0; ///< rectangle in the atlas image, pixels
    int32_t xOffset = 0, yOffset = 0, xAdvance = 0;
};

struct CCBMFontPadding {
    int left = 0, top = 0, right = 0, bottom = 0;
};

/// A parsed ".fnt" file of the BMFont text format: glyph records by character code (0 to 2047),
/// the line height, the padding, the atlas image's full path and the kerning pairs.
///
/// Only the line kinds "info face", "common lineHeight", "page id", "char" and "kerning first"
/// are read; other lines, missing fields (value 0) and ids of 2048 and above are passed over.
/// A file that cannot be read, that is a BMFont file of another format (XML, binary, JSON), that
/// has no glyphs, or whose glyphs lie on several pages (a label draws from one atlas image) is
/// refused and leaves the configuration empty (logged). The atlas image is the page the glyphs use.
class CCBMFontConfiguration : public CCObject {
public:
    static constexpr uint32_t kMaxGlyphs = 2048;

    /// An autoreleased configuration of the file (resolved through the file layer); null when the
    /// file cannot be read or is refused (logged).
    static CCBMFontConfiguration* createWithFNTFile(const char* fntFile);

    CCBMFontConfiguration();
    /// Parses the file; false when it cannot be read or is refused (the configuration stays empty).
    [[nodiscard]] bool initWithFNTFile(const char* fntFile);
    /// Parses the file's text; false when it cannot be read or is refused.
    bool parseConfigFile(const char* fntFile);
    /// Parses ".fnt" text; `fntPath` places the atlas image (relative to its folder) and names the
    /// file in log lines. False (configuration empty) when the text is refused.
    bool parseText(const char* data, size_t size, const char* fntPath);

    /// The glyph of a character code; an all-zero record when the code has none.
    const CCBMFontGlyph& glyph(uint32_t code) const;
    uint32_t getLineHeight() const { return m_lineHeight; }
    const CCBMFontPadding& getPadding() const { return m_padding; }
    const std::string& getAtlasName() const { return m_atlasName; }
    /// The kerning amount of the pair (each code taken as 16 bits), 0 when none; of a pair given
    /// twice, the later amount counts.
    int kerningAmount(uint32_t first, uint32_t second) const;

private:
    /// What the lines of one file said beyond the glyph records.
    struct ParseState;
    void parseLine(const std::string& line, ParseState& state);
    void clear();

    std::vector<CCBMFontGlyph> m_glyphs;
    uint32_t m_lineHeight = 0;
    CCBMFontPadding m_padding;
    std::string m_atlasName;
    std::unordered_map<uint32_t, int> m_kerning;
};

/// The shared configuration of a ".fnt" file (keyed by the name exactly as given), parsed on
/// first use; not retained for the caller. Null when the file cannot be read or is refused (not
/// kept, so the next request reads the file again).
CCBMFontConfiguration* loadFontConfiguration(const char* fntFile);
/// Empties and releases the shared configurations.
void purgeFontConfigurations();

} // namespace kvengine
