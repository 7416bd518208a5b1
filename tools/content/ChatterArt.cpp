// The dialogues' pictures: the speaking kelvos' portraits (a large one for the full text box, a
// badge for the light box, and the talking animation of the light box), and the full-screen
// pictures of the image steps, drawn as SVG files under art/chatter and written as single
// textures "<name>.pvr.ccz" (the image steps load files, not frames).
#include <cairo.h>

#include <algorithm>
#include <cmath>
#include <filesystem>

#include "tools/content/ContentFiles.h"
#include "tools/content/ContentSteps.h"
#include "tools/content/CreatureArt.h"
#include "tools/content/DrawingKit.h"
#include "tools/content/SpriteSheet.h"

namespace kvcontent {

namespace {
namespace fs = std::filesystem;

// Kelvos that speak in the dialogues or greet the player from the item pop-up.
const char* const kSpeakers[] = {"steev", "vahine", "kiwa",   "kiwa0", "kiwa2", "clint",
                                 "sammo", "kapono", "vesper", "venus", "jammer"};
// Talking animations of the light box: sheet "<name in lower case>_ss", frames "<name>NN.png".
const std::pair<const char*, const char*> kTalkers[] = {
    {"SteevTalk", "steev"}, {"VahineTalk", "vahine"}, {"KiwaTalk", "kiwa"}};
constexpr int kTalkFrames = 4;

constexpr int kPortraitTexels = 400; // 200 points
constexpr int kBadgeTexels = 140;    // 70 points

// The kelvo picture scaled into a square of `size` texels over a round backdrop.
Image portrait(const Image& kelvo, int size, bool badge, bool mirrorBackdrop) {
    cairo_surface_t* surface = cairo_image_surface_create(CAIRO_FORMAT_ARGB32, size, size);
    cairo_t* cr = cairo_create(surface);
    const double centre = size / 2.0;
    draw::ellipsePath(cr, centre, centre, centre * 0.94, centre * 0.94);
    cairo_pattern_t* glow = cairo_pattern_create_radial(centre * (mirrorBackdrop ? 1.2 : 0.8), centre * 0.7,
                                                        size * 0.05, centre, centre, centre);
    cairo_pattern_add_color_stop_rgba(glow, 0, 0.85, 0.96, 1.0, badge ? 1.0 : 0.85);
    cairo_pattern_add_color_stop_rgba(glow, 1, 0.16, 0.48, 0.70, badge ? 1.0 : 0.75);
    cairo_set_source(cr, glow);
    cairo_fill_preserve(cr);
    cairo_pattern_destroy(glow);
    draw::strokeOutline(cr, draw::hex(badge ? 0xD5F2FF : 0xBFE9FF), size * 0.025);

    cairo_surface_t* body = surfaceFromImage(kelvo);
    const double fit = size * 0.8 / std::max(kelvo.width, kelvo.height);
    cairo_translate(cr, centre - kelvo.width * fit / 2, centre - kelvo.height * fit / 2 + size * 0.04);
    cairo_scale(cr, fit, fit);
    cairo_set_source_surface(cr, body, 0, 0);
    cairo_paint(cr);
    cairo_surface_destroy(body);
    cairo_destroy(cr);
    Image out = imageFromSurface(surface);
    cairo_surface_destroy(surface);
    return out;
}

bool isPowerOfTwo(int n) {
    return n > 0 && (n & (n - 1)) == 0;
}

bool buildPictures(const BuildPaths& paths) {
    const fs::path folder = fs::path(paths.source) / "art" / "chatter";
    std::error_code error;
    if (!fs::is_directory(folder, error)) return true;
    bool ok = true;
    for (const fs::directory_entry& entry : fs::directory_iterator(folder)) {
        if (entry.path().extension() != ".svg") continue;
        // Drawn at two texels a point; the texture must be a power of two on each side.
        const Image picture = rasteriseSvg(entry.path().string(), 2048, 2048);
        if (picture.empty() || !isPowerOfTwo(picture.width) || !isPowerOfTwo(picture.height)) {
            logLine("chatter picture " + entry.path().string() + " cannot be drawn at 2048 x 2048");
            ok = false;
            continue;
        }
        const Bytes ccz = wrapCCZ(encodePvr(picture, PvrFormat::RGB565));
        ok = !ccz.empty() &&
             writeResource(paths.target + "/images/chatter/" + entry.path().stem().string() + ".pvr.ccz",
                           ccz) &&
             ok;
    }
    return ok;
}
} // namespace

bool buildChatter(const BuildPaths& paths) {
    std::vector<SheetFrame> large;
    std::vector<SheetFrame> badges;
    for (const char* speaker : kSpeakers) {
        std::vector<SheetFrame> idle = drawKelvoFrames(speaker, {{"idle", 1}});
        if (idle.empty()) {
            logLine(std::string("no look for the speaking kelvo ") + speaker);
            return false;
        }
        large.push_back({std::string(speaker) + "_chatter.png",
                         portrait(idle[0].picture, kPortraitTexels, false, false)});
        badges.push_back({std::string(speaker) + "_chatterLight.png",
                          portrait(idle[0].picture, kBadgeTexels, true, false)});
        // The item pop-up greets a newly available creature with its calm face.
        badges.push_back({std::string(speaker) + "_neutral_chatterLight.png",
                          portrait(idle[0].picture, kBadgeTexels, true, false)});
    }
    bool ok = true;
    SpriteSheet portraits;
    ok = portraits.pack(std::move(large)) &&
         portraits.write(paths.target + "/sheets", "characterchatter_TC4_ss") && ok;
    SpriteSheet lights;
    ok = lights.pack(std::move(badges)) &&
         lights.write(paths.target + "/sheets", "characterchatter2_TC4_ss") && ok;

    for (const auto& talker : kTalkers) {
        std::vector<SheetFrame> poses = drawKelvoFrames(talker.second, {{"victory", kTalkFrames}});
        std::vector<SheetFrame> frames;
        for (size_t i = 0; i < poses.size(); ++i) {
            char name[64];
            std::snprintf(name, sizeof name, "%s%02d.png", talker.first, static_cast<int>(i) + 1);
            frames.push_back({name, portrait(poses[i].picture, kBadgeTexels, true, i % 2 == 1)});
        }
        std::string sheet = talker.first;
        std::transform(sheet.begin(), sheet.end(), sheet.begin(),
                       [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
        SpriteSheet talk;
        ok = !frames.empty() && talk.pack(std::move(frames)) &&
             talk.write(paths.target + "/sheets", sheet + "_ss") && ok;
    }
    ok = buildPictures(paths) && ok;
    logLine("chatter: portraits of " + std::to_string(std::size(kSpeakers)) + " kelvos");
    return ok;
}

} // namespace kvcontent
