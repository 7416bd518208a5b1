#include "engine/textures/CCTextRenderer.h"

#include "engine/base/CCLog.h"
#include "engine/files/CCFileUtils.h"

#include <ft2build.h>
#include FT_FREETYPE_H

#include <algorithm>
#include <cstring>
#include <memory>

// Fitting, alignment and clipping of drawn text (drawText):
// - The text is measured with the box width as width limit (0 or less: no wrapping).
// - Box width 0 or less: the box becomes the measured size.
// - Box width above 0: the text rectangle is as wide as the measured text and is moved right
//   by 0 (left alignment, or text at least as wide as the box), by box - text (right) or by
//   half of that (centre and any other horizontal value). Then by box height:
//   0 or less: the box takes the measured height, no clipping to the rectangle;
//   below the measured height: the rectangle ends at the box height and clips the text;
//   otherwise: no clipping; moved down by box - text (bottom) or half of it (middle).
// Lines are aligned inside the text rectangle; the bitmap is the box, so anything outside it
// is cut in every case.

namespace kvengine {

const char* const CCTextRenderer::kDefaultFontPath = "/usr/share/fonts/truetype/dejavu/DejaVuSans.ttf";

namespace {

constexpr char32_t kReplacement = 0xFFFD;

bool isLineBreak(char32_t c) {
    return c == U'\n' || c == U'\r';
}

// Rounds a 26.6 fixed-point value up to whole pixels.
int ceil26_6(long value) {
    return int((value + 63) >> 6);
}

std::string fontFilePath(const char* fontName) {
    // Font files are resources of the program's folder.
    return fullPathForFile(fontName);
}

} // namespace

std::u32string decodeUtf8(const char* text, size_t length) {
    std::u32string out;
    if (text == nullptr) return out;
    out.reserve(length);
    const auto* s = reinterpret_cast<const unsigned char*>(text);
    size_t i = 0;
    while (i < length) {
        const unsigned char b = s[i];
        int extra = 0;
        char32_t cp = 0;
        if (b < 0x80) {
            out.push_back(b);
            ++i;
            continue;
        } else if ((b & 0xE0) == 0xC0) {
            extra = 1;
            cp = b & 0x1F;
        } else if ((b & 0xF0) == 0xE0) {
            extra = 2;
            cp = b & 0x0F;
        } else if ((b & 0xF8) == 0xF0) {
            extra = 3;
            cp = b & 0x07;
        } else {
            out.push_back(kReplacement);
            ++i;
            continue;
        }
        size_t j = 1;
        for (; j <= size_t(extra) && i + j < length && (s[i + j] & 0xC0) == 0x80; ++j)
            cp = (cp << 6) | (s[i + j] & 0x3F);
        if (j != size_t(extra) + 1) {
            out.push_back(kReplacement);
            i += j;
            continue;
        }
        static const char32_t kMinimum[] = {0, 0x80, 0x800, 0x10000};
        const bool valid = cp >= kMinimum[extra] && cp <= 0x10FFFF && !(cp >= 0xD800 && cp <= 0xDFFF);
        out.push_back(valid ? cp : kReplacement);
        i += j;
    }
    return out;
}

std::u32string decodeUtf16(const char16_t* text, size_t length) {
    std::u32string out;
    if (text == nullptr) return out;
    out.reserve(length);
    for (size_t i = 0; i < length; ++i) {
        const char32_t u = text[i];
        if (u >= 0xD800 && u <= 0xDBFF && i + 1 < length && text[i + 1] >= 0xDC00 && text[i + 1] <= 0xDFFF) {
            out.push_back(0x10000 + ((u - 0xD800) << 10) + (char32_t(text[i + 1]) - 0xDC00));
            ++i;
        } else if (u >= 0xD800 && u <= 0xDFFF) {
            out.push_back(kReplacement);
        } else {
            out.push_back(u);
        }
    }
    return out;
}

std::u16string convertUtf8ToWide(const char* text) {
    std::u16string out;
    if (text == nullptr) return out;
    for (char32_t cp : decodeUtf8(text, std::strlen(text))) {
        if (cp >= 0x10000) {
            cp -= 0x10000;
            out.push_back(char16_t(0xD800 + (cp >> 10)));
            out.push_back(char16_t(0xDC00 + (cp & 0x3FF)));
        } else {
            out.push_back(char16_t(cp));
        }
    }
    return out;
}

CCTextRenderer* CCTextRenderer::getInstance() {
    static CCTextRenderer renderer;
    return &renderer;
}

CCTextRenderer::CCTextRenderer() {
    FT_Library library = nullptr;
    if (FT_Init_FreeType(&library) != 0) {
        logDebugMessage("text: FreeType could not be set up");
        return;
    }
    m_library = library;
    m_face = faceFor(kDefaultFontPath);
}

CCTextRenderer::~CCTextRenderer() {
    for (auto& entry : m_faces) {
        if (entry.second != nullptr) FT_Done_Face(entry.second);
    }
    if (m_library != nullptr) FT_Done_FreeType(m_library);
}

FT_FaceRec_* CCTextRenderer::faceFor(const std::string& path) {
    if (m_library == nullptr) return nullptr;
    auto found = m_faces.find(path);
    if (found != m_faces.end()) return found->second;
    FT_Face face = nullptr;
    if (FT_New_Face(m_library, path.c_str(), 0, &face) != 0) face = nullptr;
    if (face != nullptr && FT_Select_Charmap(face, FT_ENCODING_UNICODE) != 0 && face->num_charmaps == 0) {
        FT_Done_Face(face);
        face = nullptr;
    }
    // Failures are remembered too, so a missing file is not searched for at every label.
    m_faces[path] = face;
    return face;
}

bool CCTextRenderer::setFont(const char* fontName, int size) {
    m_size = size > 0 ? size : kDefaultFontSize;
    if (m_size > kMaxFontSize) {
        // Glyphs this large could not fit any texture; drawing them would only exhaust memory.
        logDebugMessage("text: font size %d reduced to %d pixels", m_size, kMaxFontSize);
        m_size = kMaxFontSize;
    }
    FT_Face requested = nullptr;
    bool ok = true;
    const std::string name = fontName != nullptr ? fontName : "";
    if (name.find(".ttf") != std::string::npos || name.find(".TTF") != std::string::npos) {
        requested = faceFor(fontFilePath(name.c_str()));
        ok = requested != nullptr;
    }
    if (requested == nullptr) requested = faceFor(kDefaultFontPath);
    m_face = requested;
    if (m_face == nullptr) return false;
    if (FT_Set_Pixel_Sizes(m_face, 0, FT_UInt(m_size)) != 0) {
        logDebugMessage("text: font %s cannot be set to %d pixels", name.c_str(), m_size);
        m_face = nullptr;
        return false;
    }
    return ok;
}

int CCTextRenderer::advanceOf(char32_t c) const {
    if (FT_Load_Char(m_face, c, FT_LOAD_DEFAULT) != 0) return 0;
    return int((m_face->glyph->advance.x + 32) >> 6);
}

int CCTextRenderer::kerningOf(char32_t left, char32_t right) const {
    if (!FT_HAS_KERNING(m_face)) return 0;
    FT_Vector delta{0, 0};
    if (FT_Get_Kerning(m_face, FT_Get_Char_Index(m_face, left), FT_Get_Char_Index(m_face, right),
                       FT_KERNING_DEFAULT, &delta) != 0) {
        return 0;
    }
    return int(delta.x >> 6);
}

int CCTextRenderer::lineHeight() const {
    const FT_Size_Metrics& metrics = m_face->size->metrics;
    return std::max(1, ceil26_6(metrics.ascender - metrics.descender));
}

std::vector<CCTextRenderer::Line> CCTextRenderer::layout(const std::u32string& text, int widthLimit,
                                                         int* widest) const {
    std::vector<Line> lines;
    *widest = 0;
    // Pen position before each code point of the text, kerning included; a line from b to e is
    // pen[e] - pen[b] - (kerning between b - 1 and b) wide.
    std::vector<int> pen(text.size() + 1, 0);
    std::vector<int> kernBefore(text.size(), 0);
    for (size_t i = 0; i < text.size(); ++i) {
        if (i > 0 && !isLineBreak(text[i]) && !isLineBreak(text[i - 1]))
            kernBefore[i] = kerningOf(text[i - 1], text[i]);
        pen[i + 1] = pen[i] + kernBefore[i] + (isLineBreak(text[i]) ? 0 : advanceOf(text[i]));
    }
    auto widthOf = [&](size_t b, size_t e) { return e <= b ? 0 : pen[e] - pen[b] - kernBefore[b]; };
    auto addLine = [&](size_t b, size_t e) {
        Line line{b, e, widthOf(b, e)};
        *widest = std::max(*widest, line.width);
        lines.push_back(line);
    };

    size_t start = 0;
    while (start <= text.size()) {
        size_t end = start;
        while (end < text.size() && !isLineBreak(text[end]))
            ++end;
        // [start, end) is one paragraph.
        if (widthLimit <= 0) {
            addLine(start, end);
        } else {
            size_t lineBegin = start;
            bool firstOfParagraph = true;
            while (true) {
                if (!firstOfParagraph) {
                    while (lineBegin < end && text[lineBegin] == U' ')
                        ++lineBegin;
                    if (lineBegin == end) break;
                }
                firstOfParagraph = false;
                size_t lineEnd = lineBegin; // end of the last whole word taken
                size_t cursor = lineBegin;
                while (cursor < end) {
                    size_t wordEnd = cursor;
                    while (wordEnd < end && text[wordEnd] == U' ')
                        ++wordEnd;
                    while (wordEnd < end && text[wordEnd] != U' ')
                        ++wordEnd;
                    if (lineEnd != lineBegin && widthOf(lineBegin, wordEnd) > widthLimit) break;
                    lineEnd = wordEnd;
                    cursor = wordEnd;
                }
                size_t visibleEnd = lineEnd;
                while (visibleEnd > lineBegin && text[visibleEnd - 1] == U' ')
                    --visibleEnd;
                addLine(lineBegin, visibleEnd);
                lineBegin = lineEnd;
                if (lineBegin >= end) break;
            }
        }
        if (end >= text.size()) break;
        // CR LF counts as one break.
        start = end + ((text[end] == U'\r' && end + 1 < text.size() && text[end + 1] == U'\n') ? 2 : 1);
        if (start == text.size()) {
            addLine(start, start); // a final line break starts an empty last line
            break;
        }
    }
    return lines;
}

CCTextSize CCTextRenderer::measureText(int widthLimit, const char* text, int length) {
    if (text == nullptr || length <= 0) return {};
    return measureWideText(widthLimit, convertUtf8ToWide(std::string(text, size_t(length)).c_str()).c_str(),
                           -1);
}

CCTextSize CCTextRenderer::measureWideText(int widthLimit, const char16_t* text, int length) {
    if (text == nullptr || length == 0 || m_face == nullptr) return {};
    size_t count = 0;
    if (length < 0) {
        while (text[count] != 0)
            ++count;
    } else {
        count = size_t(length);
    }
    const std::u32string decoded = decodeUtf16(text, count);
    if (decoded.empty()) return {};
    int widest = 0;
    const std::vector<Line> lines = layout(decoded, widthLimit, &widest);
    return {widest, int(lines.size()) * lineHeight()};
}

int CCTextRenderer::drawText(int alignment, int* boxWidth, int* boxHeight, const char* text) {
    if (text == nullptr) return 0;
    return draw(alignment, boxWidth, boxHeight, decodeUtf8(text, std::strlen(text)));
}

int CCTextRenderer::drawWideText(int alignment, int* boxWidth, int* boxHeight, const char16_t* text) {
    if (text == nullptr) return 0;
    size_t count = 0;
    while (text[count] != 0)
        ++count;
    return draw(alignment, boxWidth, boxHeight, decodeUtf16(text, count));
}

int CCTextRenderer::draw(int alignment, int* boxWidth, int* boxHeight, const std::u32string& text) {
    m_bitmap.clear();
    m_bitmapWidth = m_bitmapHeight = 0;
    m_lastRect = Rect();
    if (m_face == nullptr || boxWidth == nullptr || boxHeight == nullptr || text.empty()) return 0;

    const int horizontal = alignment & 0x0F;
    const int vertical = (alignment >> 4) & 0x0F;
    int widest = 0;
    const std::vector<Line> lines = layout(text, *boxWidth, &widest);
    const int lineStep = lineHeight();
    const int measuredWidth = widest;
    const int measuredHeight = int(lines.size()) * lineStep;

    Rect rect;
    bool clipToRect = false;
    if (*boxWidth <= 0) {
        *boxWidth = measuredWidth;
        *boxHeight = measuredHeight;
        rect = {0, 0, measuredWidth, measuredHeight};
    } else {
        rect.right = measuredWidth;
        int dx = 0;
        if (horizontal != kAlignLeft && measuredWidth < *boxWidth) {
            dx = horizontal == kAlignRight ? *boxWidth - measuredWidth : (*boxWidth - measuredWidth) / 2;
        }
        int dy = 0;
        if (*boxHeight <= 0) {
            *boxHeight = measuredHeight;
            rect.bottom = measuredHeight;
        } else if (*boxHeight < measuredHeight) {
            rect.bottom = *boxHeight;
            clipToRect = true;
        } else {
            rect.bottom = measuredHeight;
            if (vertical == kAlignBottom) dy = *boxHeight - measuredHeight;
            if (vertical == kAlignMiddle) dy = (*boxHeight - measuredHeight) / 2;
        }
        rect.left += dx;
        rect.right += dx;
        rect.top += dy;
        rect.bottom += dy;
    }
    m_lastRect = rect;
    if (*boxWidth <= 0 || *boxHeight <= 0) {
        // Nothing visible to draw (only spaces, say): there is no surface to draw on.
        return 0;
    }
    const size_t width = size_t(*boxWidth);
    const size_t height = size_t(*boxHeight);
    if (width > 16384 || height > 16384) {
        logDebugMessage("text: a %zu x %zu text box is too large", width, height);
        return 0;
    }
    m_bitmap.assign(width * height, 0);
    m_bitmapWidth = int(width);
    m_bitmapHeight = int(height);

    const int clipLeft = clipToRect ? std::max(0, rect.left) : 0;
    const int clipTop = clipToRect ? std::max(0, rect.top) : 0;
    const int clipRight = clipToRect ? std::min(int(width), rect.right) : int(width);
    const int clipBottom = clipToRect ? std::min(int(height), rect.bottom) : int(height);
    const int ascender = ceil26_6(m_face->size->metrics.ascender);
    const int rectWidth = rect.right - rect.left;

    for (size_t n = 0; n < lines.size(); ++n) {
        const Line& line = lines[n];
        int x = rect.left;
        if (horizontal == kAlignRight)
            x += rectWidth - line.width;
        else if (horizontal == kAlignCenter)
            x += (rectWidth - line.width) / 2;
        const int baseline = rect.top + int(n) * lineStep + ascender;
        char32_t previous = 0;
        for (size_t i = line.begin; i < line.end; ++i) {
            const char32_t c = text[i];
            if (previous != 0) x += kerningOf(previous, c);
            previous = c;
            if (FT_Load_Char(m_face, c, FT_LOAD_RENDER) != 0) continue;
            const FT_GlyphSlot glyph = m_face->glyph;
            const FT_Bitmap& bits = glyph->bitmap;
            if (bits.pixel_mode == FT_PIXEL_MODE_GRAY) {
                const int left = x + glyph->bitmap_left;
                const int top = baseline - glyph->bitmap_top;
                for (unsigned row = 0; row < bits.rows; ++row) {
                    const int y = top + int(row);
                    if (y < clipTop || y >= clipBottom) continue;
                    const unsigned char* src = bits.buffer + long(row) * bits.pitch;
                    unsigned char* dst = m_bitmap.data() + size_t(y) * width;
                    for (unsigned col = 0; col < bits.width; ++col) {
                        const int px = left + int(col);
                        if (px < clipLeft || px >= clipRight) continue;
                        dst[px] = std::max(dst[px], src[col]);
                    }
                }
            }
            x += int((glyph->advance.x + 32) >> 6);
        }
    }
    return measuredHeight;
}

} // namespace kvengine
