// The kraken's full-screen animation, "kraken_fx_01.png" to "kraken_fx_40.png", in three sheets
// (kraken_fx_a_ss: 1-14, kraken_fx_b_ss: 15-27, kraken_fx_c_ss: 28-40): a huge purple kraken
// rises from the deep in a swirl of ink (frames 1-12), lashes out with its tentacles (13-30) and
// sinks back while the ink fades (31-40). Frames are 480 x 300 texels; the view shows them at
// scale 1.75 in the middle of the window.
#include <cairo.h>

#include <cmath>
#include <string>
#include <vector>

#include "tools/content/ContentFiles.h"
#include "tools/content/ContentSteps.h"
#include "tools/content/DrawingKit.h"
#include "tools/content/SpriteSheet.h"

namespace kvcontent {

namespace {
using namespace draw;

constexpr int kWidth = 480;
constexpr int kHeight = 300;
constexpr int kFrames = 40;

double clamp01(double v) {
    return v < 0 ? 0 : (v > 1 ? 1 : v);
}

// One tentacle from (x, y) curling by `curl`, `length` texels long, tapering.
void tentacle(cairo_t* cr, double x, double y, double angle, double length, double curl, double width) {
    const int steps = 24;
    std::vector<std::pair<double, double>> spine;
    double a = angle, px = x, py = y;
    for (int i = 0; i <= steps; ++i) {
        spine.emplace_back(px, py);
        a += curl / steps;
        px += std::cos(a) * length / steps;
        py += std::sin(a) * length / steps;
    }
    // Both edges of the tapering limb.
    for (int side = 0; side < 2; ++side) {
        for (int k = 0; k <= steps; ++k) {
            const int i = side == 0 ? k : steps - k;
            const double t = static_cast<double>(i) / steps;
            const double w = width * (1.0 - 0.9 * t) * (side == 0 ? 1 : -1);
            const size_t n = static_cast<size_t>(i < steps ? i + 1 : i);
            const size_t m = static_cast<size_t>(i < steps ? i : i - 1);
            const double dx = spine[n].first - spine[m].first, dy = spine[n].second - spine[m].second;
            const double len = std::hypot(dx, dy) > 0 ? std::hypot(dx, dy) : 1;
            const double ex = spine[static_cast<size_t>(i)].first - dy / len * w;
            const double ey = spine[static_cast<size_t>(i)].second + dx / len * w;
            if (side == 0 && k == 0)
                cairo_move_to(cr, ex, ey);
            else
                cairo_line_to(cr, ex, ey);
        }
    }
    cairo_close_path(cr);
    fillAndOutline(cr, hex(0x7A2E8E), hex(0x2A0838), 3);
    // Suckers along the lower half.
    for (int i = 3; i < steps - 4; i += 3) {
        ellipsePath(cr, spine[static_cast<size_t>(i)].first, spine[static_cast<size_t>(i)].second,
                    width * 0.3 * (1.0 - 0.8 * i / steps), width * 0.3 * (1.0 - 0.8 * i / steps));
        setColour(cr, hex(0xE8A8E0), 0.9);
        cairo_fill(cr);
    }
}

Image krakenFrame(int index) {
    cairo_surface_t* surface = cairo_image_surface_create(CAIRO_FORMAT_ARGB32, kWidth, kHeight);
    cairo_t* cr = cairo_create(surface);
    const double t = static_cast<double>(index - 1) / (kFrames - 1);
    // Rising, lashing, sinking.
    const double rise = clamp01(t / 0.3);
    const double sink = clamp01((t - 0.75) / 0.25);
    const double up = rise * (1.0 - sink);
    const double lash = std::sin(t * 9.0 * kPi);
    const double ink = 0.75 * up + 0.1;

    // The ink cloud, faded out well inside the frame.
    cairo_pattern_t* cloud = cairo_pattern_create_radial(kWidth / 2.0, kHeight * 0.7, 10, kWidth / 2.0,
                                                         kHeight * 0.7, kHeight * 0.6);
    cairo_pattern_add_color_stop_rgba(cloud, 0.0, 0.08, 0.0, 0.15, ink);
    cairo_pattern_add_color_stop_rgba(cloud, 1.0, 0.08, 0.0, 0.15, 0.0);
    cairo_rectangle(cr, 0, 0, kWidth, kHeight);
    cairo_set_source(cr, cloud);
    cairo_fill(cr);
    cairo_pattern_destroy(cloud);

    const double cx = kWidth / 2.0;
    const double headY = kHeight + 60 - up * 200;
    // Tentacles behind the head, fanning out as it lashes.
    for (int i = 0; i < 8; ++i) {
        const double side = i < 4 ? -1 : 1;
        const double k = i % 4;
        const double base = side < 0 ? kPi + 0.3 + k * 0.25 : -0.3 - k * 0.25;
        const double angle = base + side * -0.35 * lash * up;
        tentacle(cr, cx + side * (30 + 10 * k), headY + 30, angle, 110 + 60 * up + 15 * k,
                 side * (1.6 - 0.8 * up + 0.4 * lash), 16 - k);
    }
    // The head: a great mantle with two angry eyes.
    cairo_move_to(cr, cx - 70, headY + 40);
    cairo_curve_to(cr, cx - 90, headY - 80, cx - 40, headY - 150, cx, headY - 150);
    cairo_curve_to(cr, cx + 40, headY - 150, cx + 90, headY - 80, cx + 70, headY + 40);
    cairo_close_path(cr);
    fillAndOutline(cr, hex(0x8E3AA2), hex(0x2A0838), 4);
    for (double side : {-1.0, 1.0}) {
        ellipsePath(cr, cx + side * 30, headY - 20, 16, 13);
        fillAndOutline(cr, hex(0xFFE27A), hex(0x2A0838), 2.5);
        ellipsePath(cr, cx + side * 30, headY - 20, 4, 10);
        setColour(cr, hex(0x101010));
        cairo_fill(cr);
        cairo_move_to(cr, cx + side * 50, headY - 42);
        cairo_line_to(cr, cx + side * 14, headY - 30);
        cairo_set_line_width(cr, 5);
        setColour(cr, hex(0x2A0838));
        cairo_stroke(cr);
    }
    // Bubbles rising around it.
    for (int i = 0; i < 10; ++i) {
        const double bx = 40 + (i * 47) % (kWidth - 80);
        const double by = std::fmod(kHeight - t * 400 - i * 37 + 4 * kHeight, kHeight);
        ellipsePath(cr, bx, by, 4 + i % 3, 4 + i % 3);
        setColour(cr, hex(0xCDEBFF), 0.6 * up + 0.2);
        cairo_set_line_width(cr, 1.5);
        cairo_stroke(cr);
    }
    // The deep swallows the lower part: everything fades out towards the bottom edge.
    cairo_pattern_t* deep = cairo_pattern_create_linear(0, kHeight - 80, 0, kHeight);
    cairo_pattern_add_color_stop_rgba(deep, 0.0, 0, 0, 0, 0.0);
    cairo_pattern_add_color_stop_rgba(deep, 1.0, 0, 0, 0, 1.0);
    cairo_set_operator(cr, CAIRO_OPERATOR_DEST_OUT);
    cairo_rectangle(cr, 0, kHeight - 80, kWidth, 80);
    cairo_set_source(cr, deep);
    cairo_fill(cr);
    cairo_pattern_destroy(deep);
    return finishDrawing(surface, cr);
}

} // namespace

bool buildKrakenSheets(const BuildPaths& paths) {
    const struct {
        const char* sheet;
        int first, last;
    } parts[] = {{"kraken_fx_a_ss", 1, 14}, {"kraken_fx_b_ss", 15, 27}, {"kraken_fx_c_ss", 28, 40}};
    bool ok = true;
    for (const auto& part : parts) {
        std::vector<SheetFrame> frames;
        for (int i = part.first; i <= part.last; ++i)
            frames.push_back({frameName("kraken", "fx", i), krakenFrame(i)});
        SpriteSheet sheet;
        ok = sheet.pack(std::move(frames)) && sheet.write(paths.target + "/sheets", part.sheet) && ok;
    }
    logLine("kraken: the animation's 40 frames in three sheets");
    return ok;
}

} // namespace kvcontent
