// The scenery of the missions' environment layers: a deep-water backdrop, a reef tile map with
// its own tile set, swaying weed, two fish sheets, a fish school placed by a tile map's objects,
// fish paths drawn as SVG, and the plankton speck of the drifting particles.
//
// Every level-sized file is drawn for a level of 960 x 608 points at content scale 2: tile maps
// count 60 x 38 tiles of 32 texels, the path drawing 1920 x 1216 pixels.
#include <cairo.h>

#include <cmath>
#include <cstdio>
#include <string>
#include <vector>

#include "tools/content/ContentFiles.h"
#include "tools/content/ContentSteps.h"
#include "tools/content/DrawingKit.h"
#include "tools/content/SpriteSheet.h"

namespace kvcontent {

namespace {
using namespace draw;

constexpr int kMapColumns = 60;
constexpr int kTrenchColumns = 120;
constexpr int kMapRows = 38;
constexpr int kTileTexels = 32;

// Deep water: light near the surface, almost black at the bottom. Opaque; stretched over the
// window by the sprite layer, so a narrow strip is enough.
Image backdrop() {
    cairo_surface_t* surface = cairo_image_surface_create(CAIRO_FORMAT_ARGB32, 8, 256);
    cairo_t* cr = cairo_create(surface);
    cairo_pattern_t* sea = cairo_pattern_create_linear(0, 0, 0, 256);
    cairo_pattern_add_color_stop_rgb(sea, 0, 0.16, 0.55, 0.72);
    cairo_pattern_add_color_stop_rgb(sea, 0.45, 0.05, 0.28, 0.48);
    cairo_pattern_add_color_stop_rgb(sea, 1, 0.01, 0.06, 0.16);
    cairo_set_source(cr, sea);
    cairo_paint(cr);
    cairo_pattern_destroy(sea);
    return finishDrawing(surface, cr);
}

// The reef tile set, four tiles in a row: 1 rock, 2 rock with a bumpy top edge, 3 and 4 the
// rising and falling slopes.
Image reefTiles(Rgb rock = hex(0x0B2A3A), Rgb speck = hex(0x16445A)) {
    const int t = kTileTexels;
    cairo_surface_t* surface = cairo_image_surface_create(CAIRO_FORMAT_ARGB32, 4 * t, t);
    cairo_t* cr = cairo_create(surface);
    for (int tile = 0; tile < 4; ++tile) {
        const double x0 = tile * t;
        cairo_save(cr);
        cairo_rectangle(cr, x0, 0, t, t);
        cairo_clip(cr);
        cairo_new_path(cr);
        if (tile == 0) {
            cairo_rectangle(cr, x0, 0, t, t);
        } else if (tile == 1) {
            cairo_move_to(cr, x0, t);
            cairo_line_to(cr, x0, 10);
            cairo_curve_to(cr, x0 + 6, 2, x0 + 12, 2, x0 + 16, 8);
            cairo_curve_to(cr, x0 + 20, 3, x0 + 27, 4, x0 + t, 10);
            cairo_line_to(cr, x0 + t, t);
        } else if (tile == 2) {
            cairo_move_to(cr, x0, t);
            cairo_curve_to(cr, x0 + 10, t - 6, x0 + 20, 12, x0 + t, 10);
            cairo_line_to(cr, x0 + t, t);
        } else {
            cairo_move_to(cr, x0, 10);
            cairo_curve_to(cr, x0 + 12, 12, x0 + 22, t - 6, x0 + t, t);
            cairo_line_to(cr, x0, t);
        }
        cairo_close_path(cr);
        setColour(cr, rock);
        cairo_fill_preserve(cr);
        cairo_clip(cr);
        // Pores of the coral, the same in every tile so the rock tiles without a seam.
        for (int i = 0; i < 5; ++i)
            ellipsePath(cr, x0 + 4 + 6 * i, 14 + 9 * ((i * 7) % 3), 2, 1.5);
        setColour(cr, speck);
        cairo_fill(cr);
        cairo_restore(cr);
    }
    return finishDrawing(surface, cr);
}

// Reef height in tiles at a column: two slow waves, 3 to 9 tiles.
int reefHeight(int column) {
    const double h = 5.5 + 2.2 * std::sin(column * 0.21) + 1.3 * std::sin(column * 0.53 + 1.0);
    return static_cast<int>(std::lround(h));
}

std::string mapHeader(int columns = kMapColumns) {
    char header[256];
    std::snprintf(
        header, sizeof header,
        "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
        "<map version=\"1.0\" orientation=\"orthogonal\" width=\"%d\" height=\"%d\" tilewidth=\"%d\" "
        "tileheight=\"%d\">\n",
        columns, kMapRows, kTileTexels, kTileTexels);
    return header;
}

// Ridge height in tiles at a column of the trench's far wall: sharp peaks, 4 to 15 tiles.
int ridgeHeight(int column) {
    const double h = 6.0 + 7.0 * std::fabs(std::sin(column * 0.23)) + 2.0 * std::sin(column * 0.61);
    return static_cast<int>(std::lround(h));
}

// A silhouette along the bottom of the level, `height` tiles high at each column, drawn with the
// tile set `tiles`, `columns` wide.
template <typename Height>
std::string silhouetteMap(Height height, const char* tiles, int columns = kMapColumns) {
    Bytes gids;
    for (int row = 0; row < kMapRows; ++row) {
        const int fromBottom = kMapRows - 1 - row;
        for (int column = 0; column < columns; ++column) {
            const int here = height(column);
            unsigned gid = 0;
            if (fromBottom < here - 1) {
                gid = 1;
            } else if (fromBottom == here - 1) {
                const int left = column > 0 ? height(column - 1) : here;
                const int right = column + 1 < columns ? height(column + 1) : here;
                gid = left < here && right >= here ? 3 : right < here && left >= here ? 4 : 2;
            }
            for (int shift = 0; shift < 32; shift += 8)
                gids.push_back(static_cast<uint8_t>(gid >> shift));
        }
    }
    char tileset[256];
    std::snprintf(tileset, sizeof tileset,
                  " <tileset firstgid=\"1\" name=\"reef\" tilewidth=\"%d\" tileheight=\"%d\">\n"
                  "  <image source=\"%s\" width=\"%d\" height=\"%d\"/>\n"
                  " </tileset>\n",
                  kTileTexels, kTileTexels, tiles, 4 * kTileTexels, kTileTexels);
    char layer[128];
    std::snprintf(layer, sizeof layer,
                  " <layer name=\"reef\" width=\"%d\" height=\"%d\">\n  <data encoding=\"base64\">", columns,
                  kMapRows);
    return mapHeader(columns) + tileset + layer + encodeBase64(gids) + "</data>\n </layer>\n</map>\n";
}

std::string reefMap() {
    return silhouetteMap(reefHeight, "env_reef_tiles.png");
}

// The far wall of the deep trench, for the missions of the second chapter. Their levels are wider
// than the window, so the wall reaches well beyond both sides of it (the layer is centred on the
// window and scrolls at half the level's pace).
std::string trenchMap() {
    return silhouetteMap(ridgeHeight, "env_trench_tiles.png", kTrenchColumns);
}

// A school of fish along a gentle arc: objects only, the layer takes their places.
std::string schoolMap() {
    std::string objects;
    for (int i = 0; i < 9; ++i) {
        const int x = 140 + i * 38 + (i % 2) * 9;
        const int y = 250 - static_cast<int>(std::lround(60 * std::sin(i * 0.38))) + (i % 3) * 14;
        char object[320];
        std::snprintf(object, sizeof object,
                      "  <object name=\"fishA\" x=\"%d\" y=\"%d\" width=\"24\" height=\"12\">\n"
                      "   <properties>\n"
                      "    <property name=\"frame_count\" value=\"4\"/>\n"
                      "    <property name=\"anim_delay\" value=\"0.16\"/>\n"
                      "   </properties>\n"
                      "  </object>\n",
                      x, y);
        objects += object;
    }
    return mapHeader() + " <objectgroup name=\"school\">\n" + objects + " </objectgroup>\n</map>\n";
}

// Fish paths over the level, in the level's pixels (y down). Each loop closes on itself.
std::string fishPaths() {
    const char* const paths[] = {
        "M 200,500 C 500,380 900,420 1200,520 C 1500,620 1700,560 1760,420 L 1500,300 C 1100,260 600,300 "
        "200,500 Z",
        "M 1700,860 C 1400,760 1000,800 700,900 C 450,980 300,880 260,760 L 600,700 C 1000,660 1400,700 "
        "1700,860 Z",
        "M 900,200 L 1300,240 L 1400,420 L 1000,380 Z",
    };
    const char* const params[] = {"sprite_name:fishB;frame_count:4;speed:70",
                                  "sprite_name:fishB;frame_count:4;speed:45",
                                  "sprite_name:fishB;frame_count:4"};
    std::string svg = "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
                      "<svg xmlns=\"http://www.w3.org/2000/svg\""
                      " xmlns:inkscape=\"http://www.inkscape.org/namespaces/inkscape\""
                      " width=\"1920\" height=\"1216\">\n"
                      " <g inkscape:label=\"animpath fish\">\n";
    for (int i = 0; i < 3; ++i) {
        svg += std::string("  <path id=\"fish") + std::to_string(i + 1) + "\" d=\"" + paths[i] +
               "\" game_data=\"objectParams=" + params[i] + "\"/>\n";
    }
    return svg + " </g>\n</svg>\n";
}

// A small fish, tail wagging by frame. Facing right (sideways, school) or up (path swimmers,
// which the layer turns to face their way).
Image fish(int frame, bool facingUp, Rgb body, Rgb stripe) {
    const int w = facingUp ? 24 : 48, h = facingUp ? 48 : 24;
    cairo_surface_t* surface = cairo_image_surface_create(CAIRO_FORMAT_ARGB32, w, h);
    cairo_t* cr = cairo_create(surface);
    if (facingUp) { // draw the right-facing fish turned a quarter anticlockwise
        cairo_translate(cr, 0, h);
        cairo_rotate(cr, -kPi / 2);
    }
    const double wag = 3.0 * std::sin(frame * kPi / 2);
    cairo_move_to(cr, 12, 12);
    cairo_line_to(cr, 2, 4 + wag);
    cairo_line_to(cr, 2, 20 + wag);
    cairo_close_path(cr);
    setColour(cr, stripe);
    cairo_fill(cr);
    ellipsePath(cr, 27, 12, 17, 8);
    fillAndOutline(cr, body, hex(0x123040), 1.5);
    cairo_rectangle(cr, 22, 4, 4, 16);
    setColour(cr, stripe, 0.8);
    cairo_fill(cr);
    ellipsePath(cr, 38, 10, 2.2, 2.2);
    setColour(cr, hex(0x101820));
    cairo_fill(cr);
    return finishDrawing(surface, cr);
}

// Weed swaying from the sea floor; frame f of n of one loop.
Image weed(int frame, int frames) {
    const int w = 480, h = 300;
    cairo_surface_t* surface = cairo_image_surface_create(CAIRO_FORMAT_ARGB32, w, h);
    cairo_t* cr = cairo_create(surface);
    const double phase = 2 * kPi * frame / frames;
    const double stalks[][3] = {{30, 150, 0.0},  {70, 110, 1.1},  {190, 90, 2.0},
                                {330, 130, 0.6}, {420, 170, 2.7}, {455, 120, 1.6}};
    for (const auto& s : stalks) {
        const double sway = 14 * std::sin(phase + s[2]);
        cairo_move_to(cr, s[0] - 5, h);
        cairo_curve_to(cr, s[0] - 8, h - s[1] * 0.4, s[0] + sway * 0.6, h - s[1] * 0.7, s[0] + sway,
                       h - s[1]);
        cairo_curve_to(cr, s[0] + sway + 4, h - s[1] * 0.7, s[0] + 10, h - s[1] * 0.4, s[0] + 6, h);
        cairo_close_path(cr);
        fillAndOutline(cr, hex(0x2E7D4F), hex(0x14432A), 2);
    }
    return finishDrawing(surface, cr);
}

// The deep trench: dim violet near the surface, black at the bottom.
Image trenchBackdrop() {
    cairo_surface_t* surface = cairo_image_surface_create(CAIRO_FORMAT_ARGB32, 8, 256);
    cairo_t* cr = cairo_create(surface);
    cairo_pattern_t* sea = cairo_pattern_create_linear(0, 0, 0, 256);
    cairo_pattern_add_color_stop_rgb(sea, 0, 0.20, 0.22, 0.45);
    cairo_pattern_add_color_stop_rgb(sea, 0.5, 0.08, 0.07, 0.25);
    cairo_pattern_add_color_stop_rgb(sea, 1, 0.01, 0.01, 0.05);
    cairo_set_source(cr, sea);
    cairo_paint(cr);
    cairo_pattern_destroy(sea);
    return finishDrawing(surface, cr);
}

// Giant kelp rising from the trench floor, frame f of n of one sway: long amber stalks with
// blades and round floats.
Image kelp(int frame, int frames) {
    const int w = 360, h = 480;
    cairo_surface_t* surface = cairo_image_surface_create(CAIRO_FORMAT_ARGB32, w, h);
    cairo_t* cr = cairo_create(surface);
    const double phase = 2 * kPi * frame / frames;
    const double stalks[][3] = {{40, 430, 0.0}, {120, 330, 1.4}, {230, 460, 2.3}, {320, 380, 0.8}};
    for (const auto& s : stalks) {
        const double sway = 22 * std::sin(phase + s[2]);
        const double x = s[0], top = h - s[1];
        cairo_move_to(cr, x, h);
        cairo_curve_to(cr, x - 10, h - s[1] * 0.35, x + sway * 0.5, h - s[1] * 0.7, x + sway, top);
        cairo_set_line_width(cr, 5);
        setColour(cr, hex(0x8A6A1E));
        cairo_stroke(cr);
        for (int i = 1; i <= 5; ++i) {
            const double t = i / 6.0;
            const double bx = x + sway * t * t, by = h - s[1] * t;
            const double side = i % 2 == 0 ? 1 : -1;
            cairo_move_to(cr, bx, by);
            cairo_curve_to(cr, bx + side * 20, by - 10, bx + side * 34, by - 26, bx + side * 30 + sway * 0.2,
                           by - 44);
            cairo_curve_to(cr, bx + side * 16, by - 30, bx + side * 6, by - 16, bx, by);
            cairo_close_path(cr);
            fillAndOutline(cr, hex(0xB08A2A), hex(0x5A4210), 1.5);
            ellipsePath(cr, bx + side * 4, by - 4, 5, 5);
            fillAndOutline(cr, hex(0xD4A83A), hex(0x5A4210), 1);
        }
    }
    return finishDrawing(surface, cr);
}

// The trench's glowing plankton: a soft cyan speck, drawn additively by the particle layer.
Image glowSpeck() {
    const int size = 16;
    cairo_surface_t* surface = cairo_image_surface_create(CAIRO_FORMAT_ARGB32, size, size);
    cairo_t* cr = cairo_create(surface);
    const double c = size / 2.0;
    cairo_pattern_t* halo = cairo_pattern_create_radial(c, c, 0, c, c, c);
    cairo_pattern_add_color_stop_rgba(halo, 0.0, 0.85, 1.0, 1.0, 1.0);
    cairo_pattern_add_color_stop_rgba(halo, 0.4, 0.30, 0.90, 0.95, 0.6);
    cairo_pattern_add_color_stop_rgba(halo, 1.0, 0.10, 0.50, 0.80, 0.0);
    ellipsePath(cr, c, c, c, c);
    cairo_set_source(cr, halo);
    cairo_fill(cr);
    cairo_pattern_destroy(halo);
    return finishDrawing(surface, cr);
}

bool writeText(const std::string& path, const std::string& text) {
    return writeResource(path, Bytes(text.begin(), text.end()));
}

} // namespace

int reefColumnHeight(int column) {
    return reefHeight(column);
}

bool buildEnvironment(const BuildPaths& paths) {
    const std::string folder = paths.target + "/environment";
    bool ok = true;
    ok = writeResource(folder + "/env_deepwater.png", encodePng(backdrop())) && ok;
    ok = writeResource(folder + "/env_reef_tiles.png", encodePng(reefTiles())) && ok;
    ok = writeText(folder + "/env_reef.tmx", reefMap()) && ok;
    ok = writeText(folder + "/env_fishschool.tmx", schoolMap()) && ok;
    // The deep trench of the second chapter: its own water, far wall, kelp and glowing plankton.
    ok = writeResource(folder + "/env_trench.png", encodePng(trenchBackdrop())) && ok;
    ok =
        writeResource(folder + "/env_trench_tiles.png", encodePng(reefTiles(hex(0x1C1433), hex(0x3A2C66)))) &&
        ok;
    ok = writeText(folder + "/env_trench.tmx", trenchMap()) && ok;
    ok = writeResource(paths.target + "/Environment/hawaii/env_glow.png", encodePng(glowSpeck())) && ok;
    ok = writeText(folder + "/env_fishpath.svg", fishPaths()) && ok;
    const Image speck = rasteriseSvg(paths.source + "/art/plankton.svg", 16, 16);
    // The missions' layers name the speck "env_plankton.png"; the menus' backdrop asks for "plankton.png"
    // in the same folder.
    for (const char* name : {"env_plankton.png", "plankton.png"})
        ok = !speck.empty() &&
             writeResource(paths.target + "/Environment/hawaii/" + name, encodePng(speck)) && ok;

    std::vector<SheetFrame> fishFrames;
    char name[32];
    for (int i = 1; i <= 4; ++i) {
        std::snprintf(name, sizeof name, "fishA_%02d.png", i);
        fishFrames.push_back({name, fish(i, false, hex(0xF2C94C), hex(0xE0703A))});
        std::snprintf(name, sizeof name, "fishB_%02d.png", i);
        fishFrames.push_back({name, fish(i, true, hex(0x7FD3F0), hex(0x2A6FB0))});
    }
    SpriteSheet fishSheet;
    ok = fishSheet.pack(std::move(fishFrames)) && fishSheet.write(paths.target + "/sheets", "env_fish_ss") &&
         ok;

    std::vector<SheetFrame> weedFrames;
    const int weedCount = 8;
    for (int i = 1; i <= weedCount; ++i) {
        std::snprintf(name, sizeof name, "env_weed_%02d.png", i);
        weedFrames.push_back({name, weed(i - 1, weedCount)});
    }
    SpriteSheet weedSheet;
    ok = weedSheet.pack(std::move(weedFrames)) && weedSheet.write(paths.target + "/sheets", "env_weed_ss") &&
         ok;

    std::vector<SheetFrame> kelpFrames;
    for (int i = 1; i <= weedCount; ++i) {
        std::snprintf(name, sizeof name, "env_kelp_%02d.png", i);
        kelpFrames.push_back({name, kelp(i - 1, weedCount)});
    }
    SpriteSheet kelpSheet;
    ok = kelpSheet.pack(std::move(kelpFrames)) && kelpSheet.write(paths.target + "/sheets", "env_kelp_ss") &&
         ok;
    logLine("environment: scenery of the missions' layers");
    return ok;
}

} // namespace kvcontent
