// Drawing programs of the helmets. A helmet sprite follows the body sprite's position and
// rotation at scale 0.85, and plays the same animation words, so each helmet frame is the
// helmet placed on the head of a kelvo of average size in that frame's pose.
#include <cairo.h>

#include <cmath>
#include <map>

#include "tools/content/CreatureArt.h"
#include "tools/content/DrawingKit.h"
#include "tools/content/KelvoPose.h"

namespace kvcontent {

namespace {
using namespace draw;

const double kHeadRadius = 44;  // texels, an average kelvo
const double kViewScale = 0.85; // the view draws helmets at this scale
const Rgb kOutline = hex(0x3a2410);

void strawHat(cairo_t* cr, double r) {
    ellipsePath(cr, 0, 0, r * 0.95, r * 0.22);
    fillAndOutline(cr, hex(0xf2d27a), kOutline, 3);
    cairo_move_to(cr, -r * 0.5, -r * 0.05);
    cairo_curve_to(cr, -r * 0.5, -r * 0.65, r * 0.5, -r * 0.65, r * 0.5, -r * 0.05);
    cairo_close_path(cr);
    fillAndOutline(cr, hex(0xe8c35c), kOutline, 3);
    cairo_rectangle(cr, -r * 0.5, -r * 0.2, r, r * 0.13);
    fillAndOutline(cr, hex(0xd8342c), kOutline, 2);
    for (int i = -2; i <= 2; ++i) {
        cairo_move_to(cr, i * r * 0.18, -r * 0.42);
        cairo_line_to(cr, i * r * 0.22, -r * 0.25);
    }
    strokeOutline(cr, hex(0xb58d2e), 1.5);
}

void seaweedBand(cairo_t* cr, double r) {
    cairo_move_to(cr, -r * 0.8, 0);
    cairo_curve_to(cr, -r * 0.4, -r * 0.25, r * 0.4, -r * 0.25, r * 0.8, 0);
    strokeOutline(cr, hex(0x1f6b3a), 9);
    cairo_move_to(cr, -r * 0.8, 0);
    cairo_curve_to(cr, -r * 0.4, -r * 0.25, r * 0.4, -r * 0.25, r * 0.8, 0);
    setColour(cr, hex(0x3bbf6c));
    cairo_set_line_width(cr, 5);
    cairo_stroke(cr);
    for (int i = 0; i < 3; ++i) {
        const double x = r * (0.25 + 0.2 * i);
        cairo_move_to(cr, x, -r * 0.15);
        cairo_curve_to(cr, x + r * 0.1, -r * 0.5, x - r * 0.1, -r * 0.6, x + r * 0.05, -r * 0.8);
        cairo_curve_to(cr, x + r * 0.2, -r * 0.55, x + r * 0.15, -r * 0.35, x + r * 0.08, -r * 0.12);
        cairo_close_path(cr);
        fillAndOutline(cr, hex(0x4fd67e), hex(0x1f6b3a), 2);
    }
}

void shellHelm(cairo_t* cr, double r) {
    cairo_move_to(cr, -r * 0.75, 0);
    cairo_curve_to(cr, -r * 0.8, -r * 0.9, r * 0.8, -r * 0.9, r * 0.75, 0);
    cairo_close_path(cr);
    fillAndOutline(cr, hex(0xffd8c2), hex(0x8a4a2a), 3);
    for (int i = -3; i <= 3; ++i) {
        cairo_move_to(cr, 0, -r * 0.05);
        cairo_line_to(cr, i * r * 0.22, -r * 0.62 + std::fabs(i) * r * 0.12);
    }
    strokeOutline(cr, hex(0xd9906a), 2.5);
    ellipsePath(cr, 0, 0, r * 0.22, r * 0.1);
    fillAndOutline(cr, hex(0xf0b090), hex(0x8a4a2a), 2);
}

void coralCrown(cairo_t* cr, double r) {
    const Rgb coral = hex(0xff6f8a);
    cairo_set_line_cap(cr, CAIRO_LINE_CAP_ROUND);
    const double branches[][4] = {
        {-0.45, -0.55, -0.6, -0.8}, {0, -0.75, 0.12, -1.0}, {0.45, -0.55, 0.62, -0.78}};
    for (const auto& b : branches) {
        cairo_move_to(cr, b[0] * r * 0.6, 0);
        cairo_line_to(cr, b[0] * r, b[1] * r);
        cairo_line_to(cr, b[2] * r, b[3] * r);
        cairo_move_to(cr, b[0] * r, b[1] * r);
        cairo_line_to(cr, b[0] * r + (b[2] - b[0]) * -r, b[3] * r * 0.9);
    }
    strokeOutline(cr, hex(0x8a1f3a), 9);
    for (const auto& b : branches) {
        cairo_move_to(cr, b[0] * r * 0.6, 0);
        cairo_line_to(cr, b[0] * r, b[1] * r);
        cairo_line_to(cr, b[2] * r, b[3] * r);
        cairo_move_to(cr, b[0] * r, b[1] * r);
        cairo_line_to(cr, b[0] * r + (b[2] - b[0]) * -r, b[3] * r * 0.9);
    }
    setColour(cr, coral);
    cairo_set_line_width(cr, 5);
    cairo_stroke(cr);
    cairo_move_to(cr, -r * 0.7, 0);
    cairo_curve_to(cr, -r * 0.3, -r * 0.15, r * 0.3, -r * 0.15, r * 0.7, 0);
    strokeOutline(cr, hex(0x8a1f3a), 8);
    cairo_move_to(cr, -r * 0.7, 0);
    cairo_curve_to(cr, -r * 0.3, -r * 0.15, r * 0.3, -r * 0.15, r * 0.7, 0);
    setColour(cr, hex(0xff9fb0));
    cairo_set_line_width(cr, 4);
    cairo_stroke(cr);
}

void divingGoggles(cairo_t* cr, double r) {
    cairo_move_to(cr, -r * 0.85, r * 0.1);
    cairo_curve_to(cr, -r * 0.4, -r * 0.15, r * 0.4, -r * 0.15, r * 0.85, r * 0.1);
    strokeOutline(cr, hex(0x222a36), 7);
    for (int side = -1; side <= 1; side += 2) {
        ellipsePath(cr, side * r * 0.3, -r * 0.12, r * 0.26, r * 0.22);
        fillAndOutline(cr, hex(0x9fe6ff), hex(0x222a36), 5);
        ellipsePath(cr, side * r * 0.3 - r * 0.08, -r * 0.2, r * 0.07, r * 0.05);
        cairo_set_source_rgba(cr, 1, 1, 1, 0.85);
        cairo_fill(cr);
    }
}

void pirateHat(cairo_t* cr, double r) {
    cairo_move_to(cr, -r * 0.95, 0);
    cairo_curve_to(cr, -r * 0.7, -r * 0.75, r * 0.7, -r * 0.75, r * 0.95, 0);
    cairo_curve_to(cr, r * 0.4, -r * 0.2, -r * 0.4, -r * 0.2, -r * 0.95, 0);
    cairo_close_path(cr);
    fillAndOutline(cr, hex(0x2a2630), hex(0x0c0a10), 3);
    cairo_move_to(cr, -r * 0.8, -r * 0.12);
    cairo_curve_to(cr, -r * 0.4, -r * 0.3, r * 0.4, -r * 0.3, r * 0.8, -r * 0.12);
    strokeOutline(cr, hex(0xe0b84a), 3);
    // A small white bone cross on the front.
    cairo_move_to(cr, -r * 0.12, -r * 0.5);
    cairo_line_to(cr, r * 0.12, -r * 0.3);
    cairo_move_to(cr, r * 0.12, -r * 0.5);
    cairo_line_to(cr, -r * 0.12, -r * 0.3);
    strokeOutline(cr, hex(0xf4f0e6), 4);
}

void snorkel(cairo_t* cr, double r) {
    cairo_move_to(cr, -r * 0.8, r * 0.05);
    cairo_curve_to(cr, -r * 0.4, -r * 0.2, r * 0.4, -r * 0.2, r * 0.8, r * 0.05);
    strokeOutline(cr, hex(0xff7a1f), 7);
    cairo_move_to(cr, r * 0.62, r * 0.05);
    cairo_line_to(cr, r * 0.62, -r * 0.85);
    cairo_curve_to(cr, r * 0.62, -r * 1.0, r * 0.45, -r * 1.0, r * 0.42, -r * 0.9);
    strokeOutline(cr, hex(0x3a2410), 11);
    cairo_move_to(cr, r * 0.62, r * 0.05);
    cairo_line_to(cr, r * 0.62, -r * 0.85);
    cairo_curve_to(cr, r * 0.62, -r * 1.0, r * 0.45, -r * 1.0, r * 0.42, -r * 0.9);
    setColour(cr, hex(0xffd34d));
    cairo_set_line_width(cr, 7);
    cairo_stroke(cr);
}

void pearlTiara(cairo_t* cr, double r) {
    cairo_move_to(cr, -r * 0.65, 0);
    cairo_line_to(cr, -r * 0.45, -r * 0.3);
    cairo_line_to(cr, -r * 0.2, -r * 0.12);
    cairo_line_to(cr, 0, -r * 0.45);
    cairo_line_to(cr, r * 0.2, -r * 0.12);
    cairo_line_to(cr, r * 0.45, -r * 0.3);
    cairo_line_to(cr, r * 0.65, 0);
    cairo_close_path(cr);
    fillAndOutline(cr, hex(0xffd24a), hex(0x8a5a08), 2.5);
    const double pearls[][2] = {{-0.45, -0.32}, {0, -0.5}, {0.45, -0.32}};
    for (const auto& p : pearls) {
        cairo_arc(cr, p[0] * r, p[1] * r, r * 0.1, 0, 2 * kPi);
        fillAndOutline(cr, hex(0xfdf6ff), hex(0x8a7a9a), 1.5);
    }
}

using HelmetDrawing = void (*)(cairo_t*, double);
const std::map<std::string, HelmetDrawing>& helmetDrawings() {
    static const std::map<std::string, HelmetDrawing> table = {
        {"straw_hat", strawHat},     {"seaweed_band", seaweedBand},     {"shell_helm", shellHelm},
        {"coral_crown", coralCrown}, {"diving_goggles", divingGoggles}, {"pirate_hat", pirateHat},
        {"snorkel", snorkel},        {"pearl_tiara", pearlTiara},
    };
    return table;
}
} // namespace

std::vector<SheetFrame> drawHelmetFrames(const std::string& helmet,
                                         const std::vector<AnimationSpec>& animations) {
    std::vector<SheetFrame> frames;
    const auto drawing = helmetDrawings().find(helmet);
    if (drawing == helmetDrawings().end()) return frames;
    const int size = 192;
    for (const AnimationSpec& animation : animations) {
        for (int i = 0; i < animation.frames; ++i) {
            const Pose p = kelvoPose(animation.word, i, animation.frames);
            cairo_surface_t* surface = cairo_image_surface_create(CAIRO_FORMAT_ARGB32, size, size);
            cairo_t* cr = cairo_create(surface);
            cairo_set_line_join(cr, CAIRO_LINE_JOIN_ROUND);
            cairo_set_line_cap(cr, CAIRO_LINE_CAP_ROUND);
            // The body frame's transform, undone by the view's helmet scale, then up to the crown.
            cairo_translate(cr, size / 2.0, size / 2.0);
            cairo_scale(cr, 1 / kViewScale, 1 / kViewScale);
            cairo_translate(cr, p.dx, p.dy);
            cairo_rotate(cr, p.angle);
            cairo_scale(cr, p.scale * p.sx, p.scale * p.sy);
            cairo_translate(cr, 0, -kHeadRadius * 0.8);
            cairo_push_group(cr);
            drawing->second(cr, kHeadRadius);
            cairo_pop_group_to_source(cr);
            cairo_paint_with_alpha(cr, p.alpha);
            cairo_destroy(cr);
            frames.push_back({frameName(helmet, animation.word, i + 1), imageFromSurface(surface)});
            cairo_surface_destroy(surface);
        }
    }
    return frames;
}

SheetFrame drawHelmetPicture(const std::string& helmet, int size, const std::string& frameName) {
    const auto drawing = helmetDrawings().find(helmet);
    if (drawing == helmetDrawings().end()) return {};
    cairo_surface_t* surface = cairo_image_surface_create(CAIRO_FORMAT_ARGB32, size, size);
    cairo_t* cr = cairo_create(surface);
    cairo_set_line_join(cr, CAIRO_LINE_JOIN_ROUND);
    cairo_set_line_cap(cr, CAIRO_LINE_CAP_ROUND);
    // The drawings reach from about -r above the crown line to a little below it.
    cairo_translate(cr, size / 2.0, size * 0.64);
    drawing->second(cr, size * 0.45);
    return {frameName, finishDrawing(surface, cr)};
}

SheetFrame drawHelmetIcon(const std::string& helmet) {
    // 48 x 48 points: the picture sits inside the 66 x 71 item frame of the portrait lists.
    return drawHelmetPicture(helmet, 96, helmet + "_frontend_01.png");
}

} // namespace kvcontent
