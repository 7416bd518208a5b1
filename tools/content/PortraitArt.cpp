// The creature portraits of the troops screen's cards, sheet "frontend_kelvo_ss": for every kelvo
// "KV_<sprite>Large.png" (its first idle pose, fitted into the 66 x 71 point card frame) and
// "KV_<sprite>LargeLock.png" (the same pose in shades of the locked look). The shop shows
// "KV_vesperLarge.png" for an item without a picture of its own: Vesper's portrait, or a neutral
// silhouette while no creature of that name is drawn.
#include <cairo.h>

#include <algorithm>

#include "tools/content/ContentFiles.h"
#include "tools/content/ContentSteps.h"
#include "tools/content/CreatureArt.h"
#include "tools/content/Image.h"
#include "tools/content/SpriteSheet.h"

namespace kvcontent {

namespace {

// The card frame in texels (two a point) and the room the creature gets inside its border.
constexpr int kCardWidth = 132;
constexpr int kCardHeight = 142;
constexpr int kRoom = 112;

// The pose's opaque part, scaled to fit the room and centred a little below the card's middle.
Image fitIntoCard(const Image& pose) {
    int x = 0, y = 0, w = 0, h = 0;
    opaqueBounds(pose, x, y, w, h);
    const Image part = crop(pose, x, y, w, h);
    const double scale =
        std::min(1.0, std::min(static_cast<double>(kRoom) / w, static_cast<double>(kRoom) / h));
    cairo_surface_t* canvas = cairo_image_surface_create(CAIRO_FORMAT_ARGB32, kCardWidth, kCardHeight);
    cairo_t* cr = cairo_create(canvas);
    cairo_surface_t* source = surfaceFromImage(part);
    cairo_translate(cr, (kCardWidth - w * scale) / 2, (kCardHeight - h * scale) / 2 + 4);
    cairo_scale(cr, scale, scale);
    cairo_set_source_surface(cr, source, 0, 0);
    cairo_paint(cr);
    cairo_surface_destroy(source);
    return finishDrawing(canvas, cr);
}

// Every pixel turned to a shade of one colour by its brightness (alpha kept).
Image tinted(Image picture, double r, double g, double b, double light) {
    for (int y = 0; y < picture.height; ++y) {
        for (int x = 0; x < picture.width; ++x) {
            uint8_t* p = picture.pixel(x, y);
            const double grey = (0.3 * p[0] + 0.59 * p[1] + 0.11 * p[2]) / 255.0;
            const double shade = (1 - light) + light * grey;
            p[0] = static_cast<uint8_t>(std::clamp(r * shade * 255.0, 0.0, 255.0));
            p[1] = static_cast<uint8_t>(std::clamp(g * shade * 255.0, 0.0, 255.0));
            p[2] = static_cast<uint8_t>(std::clamp(b * shade * 255.0, 0.0, 255.0));
        }
    }
    return picture;
}

} // namespace

bool buildPortraits(const BuildPaths& paths, const std::vector<std::string>& kelvos) {
    std::vector<SheetFrame> frames;
    bool ok = true;
    for (const std::string& sprite : kelvos) {
        std::vector<SheetFrame> idle = drawKelvoFrames(sprite, {{"idle", 1}});
        if (idle.empty() || idle.front().picture.empty()) {
            logLine("portrait of " + sprite + ": no idle pose");
            ok = false;
            continue;
        }
        Image portrait = fitIntoCard(idle.front().picture);
        frames.push_back({"KV_" + sprite + "LargeLock.png", tinted(portrait, 0.55, 0.62, 0.72, 0.6)});
        frames.push_back({"KV_" + sprite + "Large.png", std::move(portrait)});
    }
    // The neutral silhouette: the first creature's shape, flat and dark.
    const bool vesperDrawn = std::find(kelvos.begin(), kelvos.end(), "vesper") != kelvos.end();
    if (!kelvos.empty() && !vesperDrawn) {
        std::vector<SheetFrame> idle = drawKelvoFrames(kelvos.front(), {{"idle", 1}});
        if (!idle.empty() && !idle.front().picture.empty())
            frames.push_back(
                {"KV_vesperLarge.png", tinted(fitIntoCard(idle.front().picture), 0.2, 0.3, 0.42, 0.0)});
    }
    SpriteSheet sheet;
    const size_t count = frames.size();
    if (!ok || !sheet.pack(std::move(frames)) ||
        !sheet.write(paths.target + "/sheets", "frontend_kelvo_ss")) {
        logLine("sheet frontend_kelvo_ss could not be written");
        return false;
    }
    logLine("sheet frontend_kelvo_ss: " + std::to_string(count) + " frames");
    return true;
}

} // namespace kvcontent
