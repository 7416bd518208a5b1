// The missions' levels: every content/levels/<mission>.tmx. The tile maps' objects come from
// there as written; the tool adds the tile layer "reef" (zlib-compressed, base64, as the game
// reads it) and its tile set.
//
// A mission with its own drawing, content/levels/<mission>.svg, ships that drawing as written; its
// reef is every closed polygon ("M x,y L x,y ... Z", absolute points) of the group labelled
// "physics:reef" whose id starts with "reef", and the tile layer puts rock wherever such a polygon
// covers a whole tile. The drawing must be as large as the map (tiles of 32 points). Spiky walls
// and sticky walls have no view of their own: the map's "SpikyWall" objects put spike tiles, and
// its collision boxes marked "isStickyWall" kelp tiles, on every tile whose centre they hold. A
// mission without a drawing gets the default level: the reef along the bottom as static walls that follow
// the environment's reef, the level's edges, and one loose rock.
//
// A tile is 64 texels at content scale 2 (32 points); the drawing counts 32 pixels per metre, so
// the default 30 x 19 tile map is 960 x 608 points and 30 x 19 m.
#include <cairo.h>
#include <zlib.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <utility>
#include <vector>

#include "tools/content/ContentFiles.h"
#include "tools/content/ContentSteps.h"
#include "tools/content/DrawingKit.h"
#include "tools/content/SpriteSheet.h"

namespace kvcontent {

namespace {
using namespace draw;
namespace fs = std::filesystem;

constexpr int kColumns = 30;
constexpr int kRows = 19;
constexpr int kTileTexels = 64;
constexpr int kTilePoints = 32;
constexpr int kLevelWidth = kColumns * kTilePoints;
constexpr int kLevelHeight = kRows * kTilePoints;
constexpr int kReefColumnPoints = 16;
// The tile set: rock, spikes, kelp (gids 1, 2, 3).
constexpr int kTileKinds = 3;

// Reef height in points at a point column of the level.
int reefPoints(int reefColumn) {
    return reefColumnHeight(reefColumn) * kReefColumnPoints;
}

// A closed reef polygon of a mission's drawing, in points.
using Polygon = std::vector<std::pair<double, double>>;

bool insidePolygon(const Polygon& polygon, double x, double y) {
    bool inside = false;
    for (size_t i = 0, j = polygon.size() - 1; i < polygon.size(); j = i++) {
        const auto [xi, yi] = polygon[i];
        const auto [xj, yj] = polygon[j];
        if ((yi > y) != (yj > y) && x < (xj - xi) * (y - yi) / (yj - yi) + xi) inside = !inside;
    }
    return inside;
}

// The tile layer "reef" of a map of `columns` x `rows` tiles: rock where `covered(column, row)`,
// the spike and kelp tiles of `walls` (row by row, 0 for none) over it.
template <typename Covered>
std::string reefLayer(int columns, int rows, const std::vector<int>& walls, Covered covered) {
    Bytes gids;
    for (int row = 0; row < rows; ++row) {
        for (int column = 0; column < columns; ++column) {
            const int wall = walls[static_cast<size_t>(row) * columns + column];
            const unsigned gid = wall != 0 ? static_cast<unsigned>(wall) : covered(column, row) ? 1 : 0;
            for (int shift = 0; shift < 32; shift += 8)
                gids.push_back(static_cast<uint8_t>(gid >> shift));
        }
    }
    uLongf size = compressBound(gids.size());
    Bytes packed(size);
    if (compress2(packed.data(), &size, gids.data(), gids.size(), Z_BEST_COMPRESSION) != Z_OK) return "";
    packed.resize(size);
    char head[512];
    std::snprintf(head, sizeof head,
                  " <tileset firstgid=\"1\" name=\"reef\" tilewidth=\"%d\" tileheight=\"%d\">\n"
                  "  <image source=\"level_tiles.png\" width=\"%d\" height=\"%d\"/>\n"
                  " </tileset>\n"
                  " <layer name=\"reef\" width=\"%d\" height=\"%d\">\n"
                  "  <data encoding=\"base64\" compression=\"zlib\">",
                  kTileTexels, kTileTexels, kTileKinds * kTileTexels, kTileTexels, columns, rows);
    return head + encodeBase64(packed) + "</data>\n </layer>\n";
}

// The default level's layer: rock tiles wherever the environment's reef covers the whole tile.
std::string defaultReefLayer(const std::vector<int>& walls) {
    return reefLayer(kColumns, kRows, walls, [](int column, int row) {
        const int top = (kRows - row) * kTilePoints; // of the tile, from the bottom
        const int covered = std::min(reefPoints(2 * column), reefPoints(2 * column + 1));
        return top <= covered;
    });
}

// The value of attribute `name` in the element starting at `from` (empty when absent).
std::string attributeIn(const std::string& text, size_t from, const std::string& name) {
    const size_t end = text.find('>', from);
    const size_t at = text.find(" " + name + "=\"", from);
    if (at == std::string::npos || at > end) return "";
    const size_t start = at + name.size() + 3;
    const size_t close = text.find('"', start);
    return close == std::string::npos ? "" : text.substr(start, close - start);
}

// Rock where a reef polygon holds the tile's corners and centre.
bool coversTile(const std::vector<Polygon>& reef, int column, int row) {
    const double x0 = column * kTilePoints, y0 = row * kTilePoints, x1 = x0 + kTilePoints,
                 y1 = y0 + kTilePoints, inset = 0.01;
    const std::pair<double, double> probes[] = {{x0 + inset, y0 + inset},
                                                {x1 - inset, y0 + inset},
                                                {x0 + inset, y1 - inset},
                                                {x1 - inset, y1 - inset},
                                                {(x0 + x1) / 2, (y0 + y1) / 2}};
    return std::any_of(reef.begin(), reef.end(), [&probes](const Polygon& polygon) {
        return std::all_of(std::begin(probes), std::end(probes),
                           [&polygon](const auto& p) { return insidePolygon(polygon, p.first, p.second); });
    });
}

// The reef polygons of a drawing: paths of the "physics:reef" group whose ids start with "reef",
// made of absolute M/L points and closed by Z. False (and a log line) for a reef path of another form.
bool reefPolygons(const std::string& svg, const std::string& source, std::vector<Polygon>& out) {
    const size_t group = svg.find("inkscape:label=\"physics:reef\"");
    if (group == std::string::npos) {
        logLine("levels: " + source + " has no group \"physics:reef\"");
        return false;
    }
    const size_t groupEnd = svg.find("</g>", group);
    for (size_t at = svg.find("<path", group); at != std::string::npos && at < groupEnd;
         at = svg.find("<path", at + 1)) {
        if (attributeIn(svg, at, "id").rfind("reef", 0) != 0) continue;
        const std::string d = attributeIn(svg, at, "d");
        Polygon polygon;
        bool closed = false;
        const char* p = d.c_str();
        while (*p != '\0') {
            if (*p == ' ' || *p == ',' || *p == 'M' || *p == 'L') {
                ++p;
                continue;
            }
            if (*p == 'Z' || *p == 'z') {
                closed = true;
                break;
            }
            char* next = nullptr;
            const double x = std::strtod(p, &next);
            if (next == p) break;
            p = next;
            while (*p == ' ' || *p == ',')
                ++p;
            const double y = std::strtod(p, &next);
            if (next == p) break;
            p = next;
            polygon.emplace_back(x, y);
        }
        if (!closed || polygon.size() < 3) {
            logLine("levels: " + source + ": reef path \"" + attributeIn(svg, at, "id") +
                    "\" is not a closed polygon of absolute M/L points");
            return false;
        }
        out.push_back(std::move(polygon));
    }
    if (out.empty()) logLine("levels: " + source + " has no reef path");
    return !out.empty();
}

// The tile set, one row of tiles: the rock (the reef's colour with its pores), the spiky wall (a
// dark urchin-studded rock bristling with pale spines, which reads as dangerous from afar) and
// the sticky wall (a tangle of kelp blades over the rock).
Image levelTiles() {
    cairo_surface_t* surface =
        cairo_image_surface_create(CAIRO_FORMAT_ARGB32, kTileKinds * kTileTexels, kTileTexels);
    cairo_t* cr = cairo_create(surface);
    const double t = kTileTexels;
    for (int kind = 0; kind < kTileKinds; ++kind) {
        cairo_save(cr);
        cairo_translate(cr, kind * t, 0);
        cairo_rectangle(cr, 0, 0, t, t);
        cairo_clip(cr);
        setColour(cr, kind == 1 ? hex(0x2A1630) : hex(0x0B2A3A));
        cairo_paint(cr);
        for (int i = 0; i < 8; ++i) {
            ellipsePath(cr, 6 + 7 * i, 18 + 16 * ((i * 5) % 3), 2.5, 2);
            setColour(cr, kind == 1 ? hex(0x46264E) : hex(0x16445A));
            cairo_fill(cr);
        }
        if (kind == 1) {
            // Spines in every direction from four urchin hubs, so a strip reads alike on all sides.
            const double hubs[][2] = {{16, 16}, {48, 16}, {16, 48}, {48, 48}};
            for (const auto& hub : hubs) {
                for (int i = 0; i < 8; ++i) {
                    const double a = i * kPi / 4 + 0.3;
                    cairo_move_to(cr, hub[0] + 4 * std::cos(a - 0.6), hub[1] + 4 * std::sin(a - 0.6));
                    cairo_line_to(cr, hub[0] + 17 * std::cos(a), hub[1] + 17 * std::sin(a));
                    cairo_line_to(cr, hub[0] + 4 * std::cos(a + 0.6), hub[1] + 4 * std::sin(a + 0.6));
                    cairo_close_path(cr);
                }
                fillAndOutline(cr, hex(0xF2E6D0), hex(0x5A2A40), 1);
                ellipsePath(cr, hub[0], hub[1], 6, 6);
                fillAndOutline(cr, hex(0x7A2E5A), hex(0x2A0E20), 1.5);
            }
        } else if (kind == 2) {
            // Kelp blades swaying up the tile, two shades of green.
            for (int i = 0; i < 5; ++i) {
                const double x = 6 + 13 * i;
                cairo_move_to(cr, x - 4, t);
                cairo_curve_to(cr, x + 8, t * 0.7, x - 8, t * 0.35, x + 3, 0);
                cairo_line_to(cr, x + 8, 0);
                cairo_curve_to(cr, x - 2, t * 0.35, x + 14, t * 0.7, x + 4, t);
                cairo_close_path(cr);
                fillAndOutline(cr, i % 2 == 0 ? hex(0x3E8C3A) : hex(0x2C6E34), hex(0x143A18), 1.5);
            }
            for (int i = 0; i < 4; ++i) {
                ellipsePath(cr, 10 + 15 * i, 12 + 14 * (i % 3), 3, 2);
                setColour(cr, hex(0x9CD27A), 0.7);
                cairo_fill(cr);
            }
        }
        cairo_restore(cr);
    }
    return finishDrawing(surface, cr);
}

// Every object element of a map: its "name", "x", "y", "width", "height" and whether a property
// "isStickyWall" reads non-zero.
struct MapObject {
    std::string name;
    double x = 0, y = 0, width = 0, height = 0;
    bool sticky = false;
};

std::vector<MapObject> mapObjects(const std::string& text) {
    std::vector<MapObject> objects;
    for (size_t at = text.find("<object "); at != std::string::npos; at = text.find("<object ", at + 1)) {
        MapObject object;
        object.name = attributeIn(text, at, "name");
        object.x = std::atof(attributeIn(text, at, "x").c_str());
        object.y = std::atof(attributeIn(text, at, "y").c_str());
        object.width = std::atof(attributeIn(text, at, "width").c_str());
        object.height = std::atof(attributeIn(text, at, "height").c_str());
        const size_t close = text.find('>', at);
        if (close != std::string::npos && text[close - 1] != '/') {
            const size_t end = text.find("</object>", close);
            for (size_t p = text.find("<property ", close); p != std::string::npos && p < end;
                 p = text.find("<property ", p + 1)) {
                if (attributeIn(text, p, "name") == "isStickyWall")
                    object.sticky = std::atoi(attributeIn(text, p, "value").c_str()) != 0;
            }
        }
        objects.push_back(object);
    }
    return objects;
}

// Inserts the layer after the map element of the source.
bool readText(const std::string& path, std::string& text) {
    Bytes bytes;
    if (!readWholeFile(path, bytes)) return false;
    text.assign(bytes.begin(), bytes.end());
    return true;
}

// The map's size in tiles, from its "width" and "height"; false when either is missing or not positive.
bool mapSize(const std::string& text, int& columns, int& rows) {
    const size_t map = text.find("<map ");
    if (map == std::string::npos) return false;
    columns = std::atoi(attributeIn(text, map, "width").c_str());
    rows = std::atoi(attributeIn(text, map, "height").c_str());
    return columns > 0 && rows > 0;
}

bool buildMap(const std::string& source, std::string text, const std::string& target,
              const std::string& layer) {
    const size_t map = text.find("<map ");
    const size_t open = map == std::string::npos ? map : text.find(">\n", map);
    if (open == std::string::npos || layer.empty()) {
        logLine("levels: " + source + " has no map element, or the layer could not be made");
        return false;
    }
    text.insert(open + 2, layer);
    return writeResource(target, Bytes(text.begin(), text.end()));
}

// The drawing: the reef's outline as one closed wall, the level's four edges, one loose rock, and
// the mission's own shapes (`extra`, whole SVG elements).
std::string levelDrawing(const std::string& extra = "") {
    std::string reef = "M 0," + std::to_string(kLevelHeight);
    for (int column = 0; column < kLevelWidth / kReefColumnPoints; ++column) {
        const int top = kLevelHeight - reefPoints(column);
        reef += " L " + std::to_string(column * kReefColumnPoints) + "," + std::to_string(top);
        reef += " L " + std::to_string((column + 1) * kReefColumnPoints) + "," + std::to_string(top);
    }
    reef += " L " + std::to_string(kLevelWidth) + "," + std::to_string(kLevelHeight) + " Z";
    char edges[256];
    std::snprintf(edges, sizeof edges, "M 0,0 L %d,0 L %d,%d L 0,%d Z", kLevelWidth, kLevelWidth,
                  kLevelHeight, kLevelHeight);
    std::string svg = "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
                      "<svg xmlns=\"http://www.w3.org/2000/svg\""
                      " xmlns:inkscape=\"http://www.inkscape.org/namespaces/inkscape\""
                      " xmlns:sodipodi=\"http://sodipodi.sourceforge.net/DTD/sodipodi-0.dtd\"" +
                      std::string(" width=\"") + std::to_string(kLevelWidth) + "\" height=\"" +
                      std::to_string(kLevelHeight) + "\">\n";
    svg += " <g inkscape:label=\"physics:reef\">\n";
    svg += "  <path id=\"reef\" physics=\"friction=0.3\" d=\"" + reef + "\"/>\n";
    svg += "  <path id=\"edges\" physics=\"friction=0.2\" d=\"" + std::string(edges) + "\"/>\n";
    svg += " </g>\n";
    svg += " <g inkscape:label=\"physics:rocks\">\n"
           "  <path id=\"rock\" sodipodi:type=\"arc\" sodipodi:cx=\"560\" sodipodi:cy=\"300\""
           " sodipodi:rx=\"20\" sodipodi:ry=\"20\" physics=\"density=3,friction=0.8,restitution=0.2\"/>\n"
           " </g>\n";
    return svg + extra + "</svg>\n";
}

// Level objects, drawn for the sizes their views scale from: the balls for a radius of 1 m (64
// points = 128 texels across), the anchor for a radius of 15 points.
Image ball(bool spiky) {
    const int size = 128;
    cairo_surface_t* surface = cairo_image_surface_create(CAIRO_FORMAT_ARGB32, size, size);
    cairo_t* cr = cairo_create(surface);
    const double c = size / 2.0;
    const double r = spiky ? 50 : 60;
    if (spiky) {
        for (int i = 0; i < 12; ++i) {
            const double a = i * kPi / 6;
            cairo_move_to(cr, c + (r - 4) * std::cos(a - 0.2), c + (r - 4) * std::sin(a - 0.2));
            cairo_line_to(cr, c + 62 * std::cos(a), c + 62 * std::sin(a));
            cairo_line_to(cr, c + (r - 4) * std::cos(a + 0.2), c + (r - 4) * std::sin(a + 0.2));
            cairo_close_path(cr);
        }
        fillAndOutline(cr, hex(0xC9CED6), hex(0x3A3F47), 2);
    }
    ellipsePath(cr, c, c, r, r);
    fillAndOutline(cr, spiky ? hex(0x5B4A6E) : hex(0x7A4B26), hex(0x2E1A0C), 4);
    // Fibres, or the spiky ball's bands; then a highlight so the roll shows.
    for (int i = 0; i < 3; ++i) {
        ellipsePath(cr, c - 18 + 18 * i, c + 14 - 6 * (i % 2), 5, 5);
        setColour(cr, spiky ? hex(0x3D3050) : hex(0x4A2B12));
        cairo_fill(cr);
    }
    ellipsePath(cr, c - r * 0.35, c - r * 0.4, r * 0.25, r * 0.15);
    setColour(cr, hex(0xFFFFFF), 0.35);
    cairo_fill(cr);
    return finishDrawing(surface, cr);
}

Image anchor() {
    const int size = 60;
    cairo_surface_t* surface = cairo_image_surface_create(CAIRO_FORMAT_ARGB32, size, size);
    cairo_t* cr = cairo_create(surface);
    const double c = size / 2.0;
    ellipsePath(cr, c, c, 28, 28);
    fillAndOutline(cr, hex(0x6E7B85), hex(0x20262B), 3);
    ellipsePath(cr, c, c, 16, 16);
    fillAndOutline(cr, hex(0x8D99A3), hex(0x20262B), 2);
    // A ring to hold on to.
    ellipsePath(cr, c, c, 7, 7);
    cairo_set_line_width(cr, 4);
    setColour(cr, hex(0xD9A441));
    cairo_stroke(cr);
    return finishDrawing(surface, cr);
}

// A pearl: a small white-pink sphere with a bright highlight.
Image pearl() {
    const int size = 20;
    cairo_surface_t* surface = cairo_image_surface_create(CAIRO_FORMAT_ARGB32, size, size);
    cairo_t* cr = cairo_create(surface);
    const double c = size / 2.0;
    cairo_pattern_t* shade = cairo_pattern_create_radial(c - 3, c - 3, 1, c, c, c - 1);
    cairo_pattern_add_color_stop_rgb(shade, 0.0, 1.0, 1.0, 1.0);
    cairo_pattern_add_color_stop_rgb(shade, 0.6, 0.96, 0.90, 0.93);
    cairo_pattern_add_color_stop_rgb(shade, 1.0, 0.78, 0.68, 0.78);
    ellipsePath(cr, c, c, c - 1, c - 1);
    cairo_set_source(cr, shade);
    cairo_fill(cr);
    cairo_pattern_destroy(shade);
    ellipsePath(cr, c - 3, c - 3, 2.5, 2);
    setColour(cr, hex(0xFFFFFF), 0.9);
    cairo_fill(cr);
    return finishDrawing(surface, cr);
}

// The glow behind a pearl (drawn additively): a soft warm halo with four short rays.
Image pearlGlow() {
    const int size = 40;
    cairo_surface_t* surface = cairo_image_surface_create(CAIRO_FORMAT_ARGB32, size, size);
    cairo_t* cr = cairo_create(surface);
    const double c = size / 2.0;
    cairo_pattern_t* halo = cairo_pattern_create_radial(c, c, 0, c, c, c);
    cairo_pattern_add_color_stop_rgba(halo, 0.0, 1.0, 0.95, 0.75, 0.9);
    cairo_pattern_add_color_stop_rgba(halo, 0.5, 1.0, 0.80, 0.45, 0.35);
    cairo_pattern_add_color_stop_rgba(halo, 1.0, 1.0, 0.70, 0.30, 0.0);
    ellipsePath(cr, c, c, c, c);
    cairo_set_source(cr, halo);
    cairo_fill(cr);
    cairo_pattern_destroy(halo);
    cairo_set_line_width(cr, 2);
    setColour(cr, hex(0xFFF0C0), 0.5);
    cairo_move_to(cr, c, 2);
    cairo_line_to(cr, c, size - 2);
    cairo_move_to(cr, 2, c);
    cairo_line_to(cr, size - 2, c);
    cairo_stroke(cr);
    return finishDrawing(surface, cr);
}

// A distance-attack shot, 5 pixels in radius (20 texels across): a bright core in a coloured halo,
// red for the computer's pawns, sea green for the kelvos.
Image projectile(bool enemy) {
    const int size = 20;
    cairo_surface_t* surface = cairo_image_surface_create(CAIRO_FORMAT_ARGB32, size, size);
    cairo_t* cr = cairo_create(surface);
    const double c = size / 2.0;
    cairo_pattern_t* halo = cairo_pattern_create_radial(c, c, 0, c, c, c);
    cairo_pattern_add_color_stop_rgba(halo, 0.0, 1.0, 1.0, 1.0, 1.0);
    if (enemy) {
        cairo_pattern_add_color_stop_rgba(halo, 0.45, 1.0, 0.45, 0.25, 0.95);
        cairo_pattern_add_color_stop_rgba(halo, 1.0, 0.75, 0.05, 0.05, 0.0);
    } else {
        cairo_pattern_add_color_stop_rgba(halo, 0.45, 0.35, 1.0, 0.75, 0.95);
        cairo_pattern_add_color_stop_rgba(halo, 1.0, 0.05, 0.55, 0.45, 0.0);
    }
    ellipsePath(cr, c, c, c, c);
    cairo_set_source(cr, halo);
    cairo_fill(cr);
    cairo_pattern_destroy(halo);
    return finishDrawing(surface, cr);
}

// The fish bomb's puffer fish, drawn for its 16-point radius (32 texels): a round yellow-spotted
// fish with a tail, fins and a grumpy mouth; puffed up it is rounder, spikier and red-cheeked.
Image fugu(bool angry) {
    const int size = 96;
    cairo_surface_t* surface = cairo_image_surface_create(CAIRO_FORMAT_ARGB32, size, size);
    cairo_t* cr = cairo_create(surface);
    const double c = size / 2.0;
    const double r = angry ? 36 : 28;
    // Tail to the left.
    cairo_move_to(cr, c - r + 4, c);
    cairo_line_to(cr, c - r - 12, c - 12);
    cairo_line_to(cr, c - r - 8, c);
    cairo_line_to(cr, c - r - 12, c + 12);
    cairo_close_path(cr);
    fillAndOutline(cr, hex(0xE0A93A), hex(0x5A3B10), 2);
    if (angry) {
        for (int i = 0; i < 16; ++i) {
            const double a = i * kPi / 8;
            cairo_move_to(cr, c + (r - 3) * std::cos(a - 0.12), c + (r - 3) * std::sin(a - 0.12));
            cairo_line_to(cr, c + (r + 9) * std::cos(a), c + (r + 9) * std::sin(a));
            cairo_line_to(cr, c + (r - 3) * std::cos(a + 0.12), c + (r - 3) * std::sin(a + 0.12));
            cairo_close_path(cr);
        }
        fillAndOutline(cr, hex(0xF5E6B8), hex(0x5A3B10), 1.5);
    }
    ellipsePath(cr, c, c, r, angry ? r : r * 0.85);
    fillAndOutline(cr, angry ? hex(0xF2C14E) : hex(0xE8B84A), hex(0x5A3B10), 3);
    // Pale belly and brown spots.
    ellipsePath(cr, c + 2, c + r * 0.35, r * 0.7, r * 0.4);
    setColour(cr, hex(0xFFF3CF), 0.8);
    cairo_fill(cr);
    for (int i = 0; i < 5; ++i) {
        ellipsePath(cr, c - r * 0.45 + i * r * 0.22, c - r * 0.35 - (i % 2) * 5, 3, 3);
        setColour(cr, hex(0x8A5A1C));
        cairo_fill(cr);
    }
    if (angry) {
        ellipsePath(cr, c + r * 0.45, c + r * 0.2, 6, 4);
        setColour(cr, hex(0xE0503A), 0.6);
        cairo_fill(cr);
    }
    // Eye with a frowning brow, and a small round mouth at the front.
    const double ex = c + r * 0.45, ey = c - r * 0.25;
    ellipsePath(cr, ex, ey, 7, 7);
    fillAndOutline(cr, hex(0xFFFFFF), hex(0x2A1A08), 2);
    ellipsePath(cr, ex + 2, ey + 1, 3, 3);
    setColour(cr, hex(0x101010));
    cairo_fill(cr);
    cairo_set_line_width(cr, 3);
    setColour(cr, hex(0x2A1A08));
    cairo_move_to(cr, ex - 8, ey - (angry ? 12 : 9));
    cairo_line_to(cr, ex + 7, ey - 6);
    cairo_stroke(cr);
    ellipsePath(cr, c + r - 2, c + 4, angry ? 5 : 3.5, angry ? 5 : 3);
    fillAndOutline(cr, hex(0x9A3022), hex(0x2A1A08), 1.5);
    return finishDrawing(surface, cr);
}

// A treasure chest, drawn for its 24-point radius (48 texels): a wooden chest banded with brass,
// closed with a lock, or open with its lid thrown back over a heap of glowing pearls.
Image treasureChest(bool opened) {
    const int size = 96;
    cairo_surface_t* surface = cairo_image_surface_create(CAIRO_FORMAT_ARGB32, size, size);
    cairo_t* cr = cairo_create(surface);
    const Rgb wood = hex(0x8A5424), dark = hex(0x3A2008), brass = hex(0xE2B33C);
    // The body.
    cairo_rectangle(cr, 12, 44, 72, 40);
    fillAndOutline(cr, wood, dark, 3);
    for (double x : {24.0, 72.0}) {
        cairo_rectangle(cr, x - 4, 44, 8, 40);
        fillAndOutline(cr, brass, dark, 1.5);
    }
    if (opened) {
        // The lid thrown back, its inside dark.
        cairo_move_to(cr, 14, 44);
        cairo_line_to(cr, 20, 10);
        cairo_line_to(cr, 76, 10);
        cairo_line_to(cr, 82, 44);
        cairo_close_path(cr);
        fillAndOutline(cr, hex(0x5A3414), dark, 3);
        // Pearls heaped up at the mouth, with their glow.
        cairo_pattern_t* glow = cairo_pattern_create_radial(48, 44, 0, 48, 44, 40);
        cairo_pattern_add_color_stop_rgba(glow, 0.0, 1.0, 0.95, 0.8, 0.8);
        cairo_pattern_add_color_stop_rgba(glow, 1.0, 1.0, 0.9, 0.6, 0.0);
        ellipsePath(cr, 48, 44, 40, 26);
        cairo_set_source(cr, glow);
        cairo_fill(cr);
        cairo_pattern_destroy(glow);
        const double pearls[][2] = {{30, 44}, {40, 40}, {50, 42}, {60, 39}, {68, 44}, {45, 35}, {56, 33}};
        for (const auto& p : pearls) {
            ellipsePath(cr, p[0], p[1], 6, 6);
            fillAndOutline(cr, hex(0xF6F0FF), hex(0x8C86A8), 1.2);
        }
        sparkle(cr, 36, 24, 6, hex(0xFFFFFF));
        sparkle(cr, 64, 20, 5, hex(0xFFFFFF));
    } else {
        // The closed lid, rounded, with its lock.
        cairo_move_to(cr, 12, 46);
        cairo_curve_to(cr, 12, 18, 84, 18, 84, 46);
        cairo_close_path(cr);
        fillAndOutline(cr, hex(0x9A6230), dark, 3);
        for (double x : {24.0, 72.0}) {
            cairo_rectangle(cr, x - 4, 26, 8, 20);
            fillAndOutline(cr, brass, dark, 1.5);
        }
        cairo_rectangle(cr, 40, 38, 16, 18);
        fillAndOutline(cr, brass, dark, 2);
        ellipsePath(cr, 48, 45, 2.5, 2.5);
        setColour(cr, dark);
        cairo_fill(cr);
    }
    return finishDrawing(surface, cr);
}

// The hidden star, drawn for a radius of 32 points (64 texels): a pale five-pointed sea star in
// a soft halo, which the view fades in as a kelvo comes near.
Image hiddenStar() {
    const int size = 128;
    cairo_surface_t* surface = cairo_image_surface_create(CAIRO_FORMAT_ARGB32, size, size);
    cairo_t* cr = cairo_create(surface);
    const double c = size / 2.0;
    cairo_pattern_t* halo = cairo_pattern_create_radial(c, c, 0, c, c, c);
    cairo_pattern_add_color_stop_rgba(halo, 0.0, 1.0, 0.95, 0.6, 0.7);
    cairo_pattern_add_color_stop_rgba(halo, 0.6, 1.0, 0.85, 0.4, 0.25);
    cairo_pattern_add_color_stop_rgba(halo, 1.0, 1.0, 0.8, 0.3, 0.0);
    ellipsePath(cr, c, c, c, c);
    cairo_set_source(cr, halo);
    cairo_fill(cr);
    cairo_pattern_destroy(halo);
    for (int i = 0; i < 10; ++i) {
        const double a = -kPi / 2 + i * kPi / 5;
        const double r = i % 2 == 0 ? 46 : 20;
        if (i == 0)
            cairo_move_to(cr, c + r * std::cos(a), c + r * std::sin(a));
        else
            cairo_line_to(cr, c + r * std::cos(a), c + r * std::sin(a));
    }
    cairo_close_path(cr);
    fillAndOutline(cr, hex(0xFFD84A), hex(0xB07A10), 3);
    sparkle(cr, c - 14, c - 10, 7, hex(0xFFFFFF));
    return finishDrawing(surface, cr);
}

} // namespace

std::vector<int> wallTiles(const std::string& map, int columns, int rows) {
    std::vector<int> tiles(static_cast<size_t>(std::max(columns, 0)) * std::max(rows, 0), 0);
    for (const MapObject& object : mapObjects(map)) {
        const int gid = object.name == "SpikyWall" ? 2 : object.sticky ? 3 : 0;
        if (gid == 0) continue;
        for (int row = 0; row < rows; ++row) {
            for (int column = 0; column < columns; ++column) {
                const double cx = (column + 0.5) * kTilePoints, cy = (row + 0.5) * kTilePoints;
                if (cx > object.x && cx < object.x + object.width && cy > object.y &&
                    cy < object.y + object.height)
                    tiles[static_cast<size_t>(row) * columns + column] = gid;
            }
        }
    }
    return tiles;
}

bool drawnReefTiles(const std::string& svg, const std::string& source, int columns, int rows,
                    std::vector<bool>& tiles) {
    std::vector<Polygon> reef;
    if (!reefPolygons(svg, source, reef)) return false;
    tiles.assign(static_cast<size_t>(columns) * rows, false);
    for (int row = 0; row < rows; ++row)
        for (int column = 0; column < columns; ++column)
            tiles[static_cast<size_t>(row) * columns + column] = coversTile(reef, column, row);
    return true;
}

bool buildLevels(const BuildPaths& paths) {
    const std::string folder = paths.target + "/levels";
    bool ok = writeResource(folder + "/level_tiles.png", encodePng(levelTiles()));
    // The currents of C0M01: a geyser rising from the reef on the right (a sensor rectangle of the
    // drawing; the level builder makes the geyser from its description).
    const std::string geyser =
        " <g inkscape:label=\"physics:currents\">\n"
        "  <rect id=\"geyser\" x=\"736\" y=\"160\" width=\"96\" height=\"352\" physics=\"isSensor=1\""
        " game_data=\"object=Geyser,objectparams=power:0.6\"/>\n"
        " </g>\n";
    std::vector<fs::path> maps;
    for (const fs::directory_entry& entry : fs::directory_iterator(paths.source + "/levels"))
        if (entry.path().extension() == ".tmx") maps.push_back(entry.path());
    std::sort(maps.begin(), maps.end());
    for (const fs::path& map : maps) {
        const std::string name = map.stem().string();
        std::string text;
        int columns = 0, rows = 0;
        if (!readText(map.string(), text) || !mapSize(text, columns, rows)) {
            logLine("levels: cannot read the map size of " + map.string());
            ok = false;
            continue;
        }
        const fs::path drawingSource = map.parent_path() / (name + ".svg");
        std::string svg, layer;
        if (fs::exists(drawingSource)) {
            std::vector<Polygon> reef;
            const std::string wide = std::to_string(columns * kTilePoints);
            const std::string high = std::to_string(rows * kTilePoints);
            if (!readText(drawingSource.string(), svg) || !reefPolygons(svg, drawingSource.string(), reef)) {
                ok = false;
                continue;
            }
            const size_t element = svg.find("<svg");
            if (element == std::string::npos || attributeIn(svg, element, "width") != wide ||
                attributeIn(svg, element, "height") != high) {
                logLine("levels: " + drawingSource.string() + " is not " + wide + " x " + high +
                        " points like its map");
                ok = false;
                continue;
            }
            layer = reefLayer(columns, rows, wallTiles(text, columns, rows),
                              [&reef](int column, int row) { return coversTile(reef, column, row); });
        } else {
            if (columns != kColumns || rows != kRows) {
                logLine("levels: " + map.string() + " has no drawing of its own and is not the default size");
                ok = false;
                continue;
            }
            svg = levelDrawing(name == "C0M01" ? geyser : "");
            layer = defaultReefLayer(wallTiles(text, columns, rows));
        }
        ok = buildMap(map.string(), text, folder + "/" + name + ".tmx", layer) && ok;
        ok = writeResource(folder + "/" + name + ".svg", Bytes(svg.begin(), svg.end())) && ok;
    }

    std::vector<SheetFrame> frames;
    frames.push_back({"GPE_Ball.png", ball(false)});
    frames.push_back({"GPE_SpikyBall.png", ball(true)});
    frames.push_back({"GPE_Anchor.png", anchor()});
    frames.push_back({"pearl.png", pearl()});
    frames.push_back({"pearl_glow.png", pearlGlow()});
    frames.push_back({"projectile_enemy.png", projectile(true)});
    frames.push_back({"projectile_kelvos.png", projectile(false)});
    frames.push_back({"GPE_Fugu.png", fugu(false)});
    frames.push_back({"GPE_Fugu_angry.png", fugu(true)});
    frames.push_back({"chest_closed.png", treasureChest(false)});
    frames.push_back({"chest_opened.png", treasureChest(true)});
    frames.push_back({"hidden_star.png", hiddenStar()});
    SpriteSheet sheet;
    ok = sheet.pack(std::move(frames)) && sheet.write(paths.target + "/sheets", "global_ss") && ok;
    logLine("levels: the missions' maps, drawings and level objects");
    return ok;
}

} // namespace kvcontent
