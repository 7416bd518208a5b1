#include "tools/content/BitmapFont.h"

#include <ft2build.h>
#include FT_FREETYPE_H

#include <algorithm>
#include <cstring>
#include <vector>

#include "tools/content/ContentFiles.h"
#include "tools/content/Image.h"

namespace kvcontent {

namespace {
struct Glyph {
    unsigned id = 0;
    Image picture;
    int xoffset = 0, yoffset = 0, xadvance = 0;
    int x = 0, y = 0;
};

std::vector<unsigned> characterSet() {
    std::vector<unsigned> ids;
    for (unsigned c = 32; c <= 126; ++c)
        ids.push_back(c);
    for (unsigned c = 160; c <= 255; ++c)
        ids.push_back(c);
    return ids;
}
} // namespace

bool writeBitmapFont(const BitmapFontSpec& spec, const std::string& folder) {
    FT_Library library;
    if (FT_Init_FreeType(&library) != 0) {
        logLine("FreeType did not start");
        return false;
    }
    FT_Face face;
    if (FT_New_Face(library, spec.ttfPath.c_str(), 0, &face) != 0) {
        logLine("cannot load font " + spec.ttfPath);
        FT_Done_FreeType(library);
        return false;
    }
    FT_Set_Pixel_Sizes(face, 0, static_cast<FT_UInt>(spec.pixelSize));
    const int ascender = static_cast<int>(face->size->metrics.ascender >> 6);
    const int lineHeight = static_cast<int>(face->size->metrics.height >> 6);

    std::vector<Glyph> glyphs;
    for (unsigned id : characterSet()) {
        if (FT_Load_Char(face, id, FT_LOAD_RENDER) != 0) continue;
        const FT_GlyphSlot slot = face->glyph;
        Glyph glyph;
        glyph.id = id;
        glyph.xadvance = static_cast<int>(slot->advance.x >> 6);
        glyph.xoffset = slot->bitmap_left;
        glyph.yoffset = ascender - slot->bitmap_top;
        glyph.picture.width = static_cast<int>(slot->bitmap.width);
        glyph.picture.height = static_cast<int>(slot->bitmap.rows);
        glyph.picture.rgba.assign(static_cast<size_t>(glyph.picture.width) * glyph.picture.height * 4, 255);
        for (int y = 0; y < glyph.picture.height; ++y) {
            for (int x = 0; x < glyph.picture.width; ++x) {
                glyph.picture.pixel(x, y)[3] = slot->bitmap.buffer[y * slot->bitmap.pitch + x];
            }
        }
        glyphs.push_back(std::move(glyph));
    }

    // Row packing into a square power-of-two page, one texel apart.
    int size = 64;
    for (;;) {
        int x = 1, y = 1, row = 0;
        bool fits = true;
        for (Glyph& g : glyphs) {
            if (x + g.picture.width + 1 > size) {
                x = 1;
                y += row + 1;
                row = 0;
            }
            if (y + g.picture.height + 1 > size) {
                fits = false;
                break;
            }
            g.x = x;
            g.y = y;
            x += g.picture.width + 1;
            row = std::max(row, g.picture.height);
        }
        if (fits) break;
        size *= 2;
    }
    Image page;
    page.width = page.height = size;
    page.rgba.assign(static_cast<size_t>(size) * size * 4, 0);
    for (const Glyph& g : glyphs) {
        for (int y = 0; y < g.picture.height; ++y) {
            for (int x = 0; x < g.picture.width; ++x)
                std::memcpy(page.pixel(g.x + x, g.y + y), g.picture.pixel(x, y), 4);
        }
    }

    std::string stem = spec.fntName.substr(0, spec.fntName.rfind('.'));
    std::string text;
    char line[256];
    std::snprintf(
        line, sizeof line,
        "info face=\"%s\" size=%d bold=0 italic=0 charset=\"\" unicode=0 stretchH=100 smooth=1 aa=1 "
        "padding=0,0,0,0 spacing=1,1\n",
        face->family_name ? face->family_name : "font", spec.pixelSize);
    text += line;
    std::snprintf(line, sizeof line, "common lineHeight=%d base=%d scaleW=%d scaleH=%d pages=1 packed=0\n",
                  lineHeight, ascender, size, size);
    text += line;
    text += "page id=0 file=\"" + stem + ".png\"\n";
    text += "chars count=" + std::to_string(glyphs.size()) + "\n";
    for (const Glyph& g : glyphs) {
        std::snprintf(
            line, sizeof line,
            "char id=%u x=%d y=%d width=%d height=%d xoffset=%d yoffset=%d xadvance=%d page=0 chnl=0\n", g.id,
            g.x, g.y, g.picture.width, g.picture.height, g.xoffset, g.yoffset, g.xadvance);
        text += line;
    }
    std::string kernings;
    int kerningCount = 0;
    if (FT_HAS_KERNING(face)) {
        for (const Glyph& a : glyphs) {
            for (const Glyph& b : glyphs) {
                FT_Vector delta;
                FT_Get_Kerning(face, FT_Get_Char_Index(face, a.id), FT_Get_Char_Index(face, b.id),
                               FT_KERNING_DEFAULT, &delta);
                const int amount = static_cast<int>(delta.x >> 6);
                if (amount == 0) continue;
                std::snprintf(line, sizeof line, "kerning first=%u second=%u amount=%d\n", a.id, b.id,
                              amount);
                kernings += line;
                ++kerningCount;
            }
        }
    }
    text += "kernings count=" + std::to_string(kerningCount) + "\n" + kernings;
    FT_Done_Face(face);
    FT_Done_FreeType(library);

    const Bytes png = encodePng(page);
    return !png.empty() && writeResource(folder + "/" + stem + ".png", png) &&
           writeResource(folder + "/" + spec.fntName, Bytes(text.begin(), text.end()));
}

} // namespace kvcontent
