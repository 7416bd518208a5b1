// The HUD's two sheets. hud_51_ss holds the buttons and icons drawn under art/hud/hud_51_ss and
// the consumables' bar buttons "<consumable>_game.png" (the shop icon at three quarters of its
// size) with their greyed "_game_disabled.png" twins; hud_88_ss holds the translucent pictures of
// art/hud/hud_88_ss (the out-of-screen bubble and its pop, the banner panel), the double-tap
// hint's frames (the front end's drawings, packed here too because the mission empties the
// front end's sheets) and "oof_bubble_<kelvo>.png", each kelvo's idle pose in the bubble.
#include <cairo.h>

#include <algorithm>
#include <filesystem>

#include "tools/content/ContentFiles.h"
#include "tools/content/ContentSteps.h"
#include "tools/content/CreatureArt.h"
#include "tools/content/Image.h"
#include "tools/content/SpriteSheet.h"

namespace kvcontent {

namespace {
namespace fs = std::filesystem;

const char* const kConsumables[] = {
    "miracle_tentacle_final", "mighty_kraken", "tentacle_grip", "cocktail", "sushi", "shuriken"};

// The bubble is 100 x 100 points (200 texels); the portrait is drawn on a canvas of the same size.
constexpr int kBubbleTexels = 200;
constexpr int kPortraitRoom = 120;

Image greyed(Image picture) {
    for (int y = 0; y < picture.height; ++y) {
        for (int x = 0; x < picture.width; ++x) {
            uint8_t* p = picture.pixel(x, y);
            const double grey = 0.3 * p[0] + 0.59 * p[1] + 0.11 * p[2];
            const uint8_t shade = static_cast<uint8_t>(std::clamp(90.0 + grey * 0.4, 0.0, 255.0));
            p[0] = p[1] = p[2] = shade;
        }
    }
    return picture;
}

// The pose's opaque part, fitted into the portrait room, centred on the bubble's canvas.
Image bubblePortrait(const Image& pose) {
    int x = 0, y = 0, w = 0, h = 0;
    opaqueBounds(pose, x, y, w, h);
    const Image part = crop(pose, x, y, w, h);
    const double scale =
        std::min(static_cast<double>(kPortraitRoom) / w, static_cast<double>(kPortraitRoom) / h);
    cairo_surface_t* canvas = cairo_image_surface_create(CAIRO_FORMAT_ARGB32, kBubbleTexels, kBubbleTexels);
    cairo_t* cr = cairo_create(canvas);
    cairo_surface_t* source = surfaceFromImage(part);
    cairo_translate(cr, (kBubbleTexels - w * scale) / 2, (kBubbleTexels - h * scale) / 2);
    cairo_scale(cr, scale, scale);
    cairo_set_source_surface(cr, source, 0, 0);
    cairo_paint(cr);
    cairo_surface_destroy(source);
    return finishDrawing(canvas, cr);
}

bool writeHudSheet(const BuildPaths& paths, const std::string& name, std::vector<SheetFrame> frames) {
    SpriteSheet sheet;
    const size_t count = frames.size();
    if (!sheet.pack(std::move(frames)) || !sheet.write(paths.target + "/sheets", name)) {
        logLine("sheet " + name + " could not be written");
        return false;
    }
    logLine("sheet " + name + ": " + std::to_string(count) + " frames");
    return true;
}

} // namespace

bool buildHudSheets(const BuildPaths& paths, const std::vector<std::string>& kelvos) {
    const fs::path art = fs::path(paths.source) / "art";
    bool ok = true;

    std::vector<SheetFrame> buttons;
    ok = drawSvgFrames((art / "hud" / "hud_51_ss").string(), 1.0, "", "", buttons) && ok;
    std::vector<SheetFrame> icons;
    ok = drawSvgFrames((art / "sheets" / "consumables_51_ss").string(), 0.75, "_shop", "_game", icons) && ok;
    for (const char* consumable : kConsumables) {
        const std::string frame = std::string(consumable) + "_game.png";
        const auto found = std::find_if(icons.begin(), icons.end(),
                                        [&frame](const SheetFrame& icon) { return icon.name == frame; });
        if (found == icons.end()) {
            logLine("hud: no shop icon of " + std::string(consumable) + " for its bar button");
            ok = false;
            continue;
        }
        buttons.push_back({std::string(consumable) + "_game_disabled.png", greyed(found->picture)});
        buttons.push_back(*found);
    }
    ok = writeHudSheet(paths, "hud_51_ss", std::move(buttons)) && ok;

    std::vector<SheetFrame> pictures;
    ok = drawSvgFrames((art / "hud" / "hud_88_ss").string(), 1.0, "", "", pictures) && ok;
    std::vector<SheetFrame> frontEnd;
    ok = drawSvgFrames((art / "sheets" / "frontEnd_88_ss").string(), 1.0, "", "", frontEnd) && ok;
    for (SheetFrame& frame : frontEnd)
        if (frame.name.rfind("doubletap", 0) == 0) pictures.push_back(std::move(frame));
    for (const std::string& sprite : kelvos) {
        std::vector<SheetFrame> idle = drawKelvoFrames(sprite, {{"idle", 1}});
        if (idle.empty() || idle.front().picture.empty()) {
            logLine("hud: no idle pose of " + sprite + " for its bubble");
            ok = false;
            continue;
        }
        pictures.push_back({"oof_bubble_" + sprite + ".png", bubblePortrait(idle.front().picture)});
    }
    ok = writeHudSheet(paths, "hud_88_ss", std::move(pictures)) && ok;
    return ok;
}

} // namespace kvcontent
