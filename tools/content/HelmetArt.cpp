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

// Half a coconut shell worn as a cap: a hairy brown dome over a pale rim.
void coconut(cairo_t* cr, double r) {
    cairo_move_to(cr, -r * 0.72, 0);
    cairo_curve_to(cr, -r * 0.75, -r * 0.85, r * 0.75, -r * 0.85, r * 0.72, 0);
    cairo_close_path(cr);
    cairo_pattern_t* shell = cairo_pattern_create_radial(-r * 0.2, -r * 0.5, r * 0.05, 0, -r * 0.3, r * 0.8);
    cairo_pattern_add_color_stop_rgb(shell, 0, 0.62, 0.42, 0.24);
    cairo_pattern_add_color_stop_rgb(shell, 1, 0.36, 0.22, 0.1);
    cairo_set_source(cr, shell);
    cairo_fill_preserve(cr);
    cairo_pattern_destroy(shell);
    strokeOutline(cr, hex(0x2a1606), 3);
    for (int i = 0; i < 9; ++i) {
        const double a = kPi * (0.15 + 0.7 * i / 8.0);
        const double x = -std::cos(a) * r * 0.62, y = -std::sin(a) * r * 0.55;
        cairo_move_to(cr, x, y);
        cairo_line_to(cr, x * 1.12 + r * 0.04, y * 1.12 - r * 0.05);
    }
    strokeOutline(cr, hex(0x8a6038), 1.5);
    // The three eyes of the nut on the crown.
    for (int i = -1; i <= 1; ++i) {
        ellipsePath(cr, i * r * 0.13, -r * 0.52 + std::fabs(i) * r * 0.06, r * 0.05, r * 0.06);
        setColour(cr, hex(0x2a1606));
        cairo_fill(cr);
    }
    cairo_move_to(cr, -r * 0.74, 0);
    cairo_curve_to(cr, -r * 0.3, -r * 0.1, r * 0.3, -r * 0.1, r * 0.74, 0);
    strokeOutline(cr, hex(0x2a1606), 7);
    cairo_move_to(cr, -r * 0.74, 0);
    cairo_curve_to(cr, -r * 0.3, -r * 0.1, r * 0.3, -r * 0.1, r * 0.74, 0);
    setColour(cr, hex(0xf4ecd8));
    cairo_set_line_width(cr, 3.5);
    cairo_stroke(cr);
}

// A crown of mother-of-pearl: rounded points shimmering pink, white and aqua, a pearl in front.
void nacreCrown(cairo_t* cr, double r) {
    cairo_move_to(cr, -r * 0.62, 0);
    for (int i = 0; i < 5; ++i) {
        const double x = -r * 0.62 + (i + 0.5) * r * 1.24 / 5;
        const double top = i == 2 ? -r * 0.62 : (i % 2 ? -r * 0.48 : -r * 0.4);
        cairo_line_to(cr, x - r * 0.1, -r * 0.18);
        cairo_curve_to(cr, x - r * 0.12, top, x + r * 0.12, top, x + r * 0.1, -r * 0.18);
    }
    cairo_line_to(cr, r * 0.62, 0);
    cairo_close_path(cr);
    cairo_pattern_t* nacre = cairo_pattern_create_linear(-r * 0.6, -r * 0.6, r * 0.6, 0);
    cairo_pattern_add_color_stop_rgb(nacre, 0, 1.0, 0.86, 0.93);
    cairo_pattern_add_color_stop_rgb(nacre, 0.45, 0.97, 0.99, 1.0);
    cairo_pattern_add_color_stop_rgb(nacre, 1, 0.72, 0.93, 0.95);
    cairo_set_source(cr, nacre);
    cairo_fill_preserve(cr);
    cairo_pattern_destroy(nacre);
    strokeOutline(cr, hex(0x4a6a8a), 2.5);
    cairo_arc(cr, 0, -r * 0.16, r * 0.11, 0, 2 * kPi);
    fillAndOutline(cr, hex(0xfdf6ff), hex(0x8a7a9a), 1.5);
    cairo_arc(cr, -r * 0.03, -r * 0.19, r * 0.035, 0, 2 * kPi);
    cairo_set_source_rgb(cr, 1, 1, 1);
    cairo_fill(cr);
}

// One crab claw of the claws crown, opening upwards from (x, 0) at `tilt` radians: a round palm
// and two curved fingers with the gap of the pincer between them.
void crabClaw(cairo_t* cr, double r, double x, double tilt, double size) {
    const Rgb red = hex(0xe8473a), dark = hex(0x5a0e08);
    cairo_save(cr);
    cairo_translate(cr, x, -r * 0.1);
    cairo_rotate(cr, tilt);
    cairo_scale(cr, size, size);
    // The fixed finger on the left, the movable one on the right, both bending inwards.
    cairo_move_to(cr, -r * 0.16, -r * 0.3);
    cairo_curve_to(cr, -r * 0.26, -r * 0.55, -r * 0.16, -r * 0.78, r * 0.0, -r * 0.82);
    cairo_curve_to(cr, -r * 0.08, -r * 0.66, -r * 0.08, -r * 0.5, -r * 0.01, -r * 0.4);
    cairo_close_path(cr);
    fillAndOutline(cr, red, dark, 2.5);
    cairo_move_to(cr, r * 0.04, -r * 0.38);
    cairo_curve_to(cr, r * 0.1, -r * 0.5, r * 0.16, -r * 0.6, r * 0.12, -r * 0.72);
    cairo_curve_to(cr, r * 0.26, -r * 0.64, r * 0.28, -r * 0.45, r * 0.17, -r * 0.3);
    cairo_close_path(cr);
    fillAndOutline(cr, red, dark, 2.5);
    ellipsePath(cr, 0, -r * 0.2, r * 0.2, r * 0.2);
    fillAndOutline(cr, red, dark, 2.5);
    ellipsePath(cr, -r * 0.07, -r * 0.26, r * 0.05, r * 0.07);
    cairo_set_source_rgba(cr, 1, 1, 1, 0.5);
    cairo_fill(cr);
    cairo_restore(cr);
}

// A gold band crowned with three red crab claws.
void clawsCrown(cairo_t* cr, double r) {
    crabClaw(cr, r, -r * 0.38, -0.35, 0.85);
    crabClaw(cr, r, r * 0.38, 0.35, 0.85);
    crabClaw(cr, r, 0, 0, 1.05);
    cairo_move_to(cr, -r * 0.62, 0);
    cairo_curve_to(cr, -r * 0.3, -r * 0.16, r * 0.3, -r * 0.16, r * 0.62, 0);
    strokeOutline(cr, hex(0x6a4a08), 10);
    cairo_move_to(cr, -r * 0.62, 0);
    cairo_curve_to(cr, -r * 0.3, -r * 0.16, r * 0.3, -r * 0.16, r * 0.62, 0);
    setColour(cr, hex(0xffc83a));
    cairo_set_line_width(cr, 6);
    cairo_stroke(cr);
}

// A carved wooden tiki face on a crown of palm leaves.
void tikiMask(cairo_t* cr, double r) {
    for (int i = -2; i <= 2; ++i) {
        cairo_save(cr);
        cairo_translate(cr, i * r * 0.16, -r * 0.2);
        cairo_rotate(cr, i * 0.35);
        cairo_move_to(cr, 0, 0);
        cairo_curve_to(cr, -r * 0.16, -r * 0.35, -r * 0.08, -r * 0.75, 0, -r * 0.9);
        cairo_curve_to(cr, r * 0.08, -r * 0.75, r * 0.16, -r * 0.35, 0, 0);
        cairo_close_path(cr);
        fillAndOutline(cr, hex(0x4fbf4a), hex(0x1a5a18), 2);
        cairo_restore(cr);
    }
    cairo_move_to(cr, -r * 0.34, r * 0.02);
    cairo_line_to(cr, -r * 0.38, -r * 0.62);
    cairo_curve_to(cr, -r * 0.2, -r * 0.74, r * 0.2, -r * 0.74, r * 0.38, -r * 0.62);
    cairo_line_to(cr, r * 0.34, r * 0.02);
    cairo_close_path(cr);
    fillAndOutline(cr, hex(0xb07a42), hex(0x3a200a), 3);
    // Grain, eyes, brow and the wide grin of the carving.
    cairo_move_to(cr, -r * 0.3, -r * 0.12);
    cairo_line_to(cr, r * 0.3, -r * 0.12);
    strokeOutline(cr, hex(0x8a5a2a), 1.5);
    cairo_move_to(cr, -r * 0.3, -r * 0.5);
    cairo_line_to(cr, r * 0.3, -r * 0.5);
    strokeOutline(cr, hex(0x3a200a), 3);
    for (int side = -1; side <= 1; side += 2) {
        ellipsePath(cr, side * r * 0.15, -r * 0.38, r * 0.1, r * 0.08);
        fillAndOutline(cr, hex(0xf4ecd8), hex(0x3a200a), 2);
        cairo_arc(cr, side * r * 0.15, -r * 0.38, r * 0.035, 0, 2 * kPi);
        setColour(cr, hex(0x3a200a));
        cairo_fill(cr);
    }
    cairo_rectangle(cr, -r * 0.22, -r * 0.24, r * 0.44, r * 0.12);
    fillAndOutline(cr, hex(0xf4ecd8), hex(0x3a200a), 2);
    for (int i = -1; i <= 1; ++i) {
        cairo_move_to(cr, i * r * 0.11, -r * 0.24);
        cairo_line_to(cr, i * r * 0.11, -r * 0.12);
    }
    strokeOutline(cr, hex(0x3a200a), 1.5);
}

using HelmetDrawing = void (*)(cairo_t*, double);
const std::map<std::string, HelmetDrawing>& helmetDrawings() {
    static const std::map<std::string, HelmetDrawing> table = {
        {"straw_hat", strawHat},     {"seaweed_band", seaweedBand},     {"shell_helm", shellHelm},
        {"coral_crown", coralCrown}, {"diving_goggles", divingGoggles}, {"pirate_hat", pirateHat},
        {"snorkel", snorkel},        {"pearl_tiara", pearlTiara},       {"coconut", coconut},
        {"nacre_crown", nacreCrown}, {"claws_crown", clawsCrown},       {"tiki_mask", tikiMask},
    };
    return table;
}
} // namespace

bool hasHelmetDrawing(const std::string& helmet) {
    return helmetDrawings().count(helmet) != 0;
}

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
