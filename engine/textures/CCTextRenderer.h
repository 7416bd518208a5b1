#pragma once

#include <cstdint>
#include <map>
#include <string>
#include <vector>

// FreeType's handles, declared here so that users of the renderer need not see its headers.
struct FT_LibraryRec_;
struct FT_FaceRec_;

namespace kvengine {

/// Width and height of laid-out text, in whole pixels.
struct CCTextSize {
    int width = 0;
    int height = 0;
};

/// Lays out and draws text in white with FreeType into an 8-bit coverage bitmap.
///
/// One process-wide object (`getInstance`), made on first use and kept to program exit. It
/// holds the current font and the bitmap of the last text drawn.
///
/// Layout: lines break at line feeds (LF, CR LF or CR) and, when a width limit is given, between
/// words at spaces; a word longer than the limit stays whole on its own line. A line's width is
/// the sum of its glyph advances (with kerning); the line height is the font's ascender minus its
/// descender.
///
/// Fonts: a name containing ".ttf" or ".TTF" is a font file of the program's folder; any other
/// name is a face name, drawn with the bundled default face (DejaVu Sans), which also stands in
/// for a font file that cannot be opened.
class CCTextRenderer {
public:
    /// Alignment code bits: low nibble horizontal, high nibble vertical.
    static constexpr int kAlignLeft = 1;
    static constexpr int kAlignRight = 2;
    static constexpr int kAlignCenter = 3;
    static constexpr int kAlignTop = 1;
    static constexpr int kAlignBottom = 2;
    static constexpr int kAlignMiddle = 3;

    /// Character height used for a font size of 0.
    static constexpr int kDefaultFontSize = 11;
    /// Largest character height drawn; larger requests are reduced to it.
    static constexpr int kMaxFontSize = 1024;

    /// Where the default face is looked for.
    static const char* const kDefaultFontPath;

    static CCTextRenderer* getInstance();

    /// Makes `fontName` at `size` pixels (0: `kDefaultFontSize`) the current font. True when the
    /// requested font is in use; false when the default face is used instead (a font file that
    /// cannot be opened). Every call selects the font anew.
    bool setFont(const char* fontName, int size);

    /// Size of the text on the current font; 0 x 0 for empty text. `widthLimit` above 0 wraps
    /// lines at that width.
    CCTextSize measureText(int widthLimit, const char* text, int length);
    CCTextSize measureWideText(int widthLimit, const char16_t* text, int length);

    /// Lays out and draws the text into a new bitmap of the box size (`boxWidth` x `boxHeight`,
    /// in and out): a box dimension of 0 or less is replaced by the measured size. The rules for
    /// fitting, alignment and clipping are in the .cpp. Returns the text height, or 0 on failure
    /// (no font, empty text, empty box).
    int drawText(int alignment, int* boxWidth, int* boxHeight, const char* text);
    int drawWideText(int alignment, int* boxWidth, int* boxHeight, const char16_t* text);

    /// Coverage (0 to 255) of the last drawn text, rows top-down, `bitmapWidth()` bytes a row.
    const std::vector<unsigned char>& bitmap() const { return m_bitmap; }
    int bitmapWidth() const { return m_bitmapWidth; }
    int bitmapHeight() const { return m_bitmapHeight; }

    /// The rectangle the text was laid into by the last draw (after alignment offsets).
    struct Rect {
        int left = 0, top = 0, right = 0, bottom = 0;
    };
    const Rect& lastTextRect() const { return m_lastRect; }

    ~CCTextRenderer();
    CCTextRenderer(const CCTextRenderer&) = delete;
    CCTextRenderer& operator=(const CCTextRenderer&) = delete;

private:
    CCTextRenderer();

    struct Line {
        size_t begin = 0, end = 0; // code point range of the line, trailing spaces excluded
        int width = 0;
    };

    FT_FaceRec_* faceFor(const std::string& path);
    std::vector<Line> layout(const std::u32string& text, int widthLimit, int* widest) const;
    int advanceOf(char32_t c) const;
    int kerningOf(char32_t left, char32_t right) const;
    int lineHeight() const;
    int draw(int alignment, int* boxWidth, int* boxHeight, const std::u32string& text);

    FT_LibraryRec_* m_library = nullptr;
    std::map<std::string, FT_FaceRec_*> m_faces; // opened once per path, closed at exit
    FT_FaceRec_* m_face = nullptr;               // current font, null when none could be opened
    int m_size = kDefaultFontSize;
    std::vector<unsigned char> m_bitmap;
    int m_bitmapWidth = 0;
    int m_bitmapHeight = 0;
    Rect m_lastRect;
};

/// The renderer's older name, from when text went through the system's drawing interface.
using CCGdiTextRenderer = CCTextRenderer;

/// UTF-8 to UTF-16 (malformed sequences become U+FFFD).
std::u16string convertUtf8ToWide(const char* text);

/// Code points of UTF-8 and of UTF-16 text (malformed input becomes U+FFFD).
std::u32string decodeUtf8(const char* text, size_t length);
std::u32string decodeUtf16(const char16_t* text, size_t length);

} // namespace kvengine
