#include "tools/content/CreatureArt.h"

#include <cairo.h>

#include <cmath>
#include <map>

#include "tools/content/DrawingKit.h"
#include "tools/content/KelvoPose.h"

namespace kvcontent {

namespace {
using namespace draw;

enum class Tuft { Flame, Flower, Spike, Fin, Crest, Horns, Lure, Scallop, Bandana };

// What makes one kelvo recognisable at game size: colours, head decoration, size.
struct KelvoLook {
    Rgb light, mid, dark, outline, fin, cheek;
    Tuft tuft;
    double radius;   // texels
    bool spots;      // sammo's freckles
    bool heavyBrows; // sammo's, clint's, kapono's and jammer's brows
    bool stripes;    // kapono's carved bands
};

const std::map<std::string, KelvoLook>& looks() {
    static const std::map<std::string, KelvoLook> table = {
        {"steev",
         {hex(0xffd08a), hex(0xff8c2a), hex(0xd4531a), hex(0x7a2d0c), hex(0xd4531a), hex(0xff6a4a),
          Tuft::Flame, 46, false, false, false}},
        {"vahine",
         {hex(0xffd6ec), hex(0xff7fbf), hex(0xc9428a), hex(0x7a1f4f), hex(0xc9428a), hex(0xff5a8a),
          Tuft::Flower, 42, false, false, false}},
        {"kiwa",
         {hex(0xe4ffb0), hex(0x8fd63c), hex(0x4f9a1e), hex(0x2c5a0e), hex(0x4f9a1e), hex(0xff8a6a),
          Tuft::Spike, 38, false, false, false}},
        {"clint",
         {hex(0xc8ecff), hex(0x3fa0e8), hex(0x1f5fa8), hex(0x0d2d5a), hex(0x1f5fa8), hex(0xff8a9a), Tuft::Fin,
          42, false, true, false}},
        // Kiwa's two elder cousins: the same build, other colours.
        {"kiwa0",
         {hex(0xfff3b0), hex(0xf2c12e), hex(0xb5820f), hex(0x5a3e05), hex(0xb5820f), hex(0xff8a6a),
          Tuft::Spike, 38, false, true, false}},
        {"kiwa2",
         {hex(0xb8fff0), hex(0x2fd1b0), hex(0x138a72), hex(0x07453a), hex(0x138a72), hex(0xff8a6a),
          Tuft::Spike, 38, true, false, false}},
        {"sammo",
         {hex(0xf0d4ff), hex(0xa46ee0), hex(0x6a3aa8), hex(0x35185e), hex(0x6a3aa8), hex(0xff7aa8),
          Tuft::Crest, 50, true, true, false}},
        // Kapono: a grey stone idol with red carved bands and two horns.
        {"kapono",
         {hex(0xe2dccd), hex(0x9c9380), hex(0x5f5647), hex(0x2a241c), hex(0x7a705e), hex(0xd9573a),
          Tuft::Horns, 50, false, true, true}},
        // Vesper: deep wine red with a glowing lure over the head.
        {"vesper",
         {hex(0xffb8c4), hex(0xd2334f), hex(0x8a1530), hex(0x45061a), hex(0x8a1530), hex(0xffd24a),
          Tuft::Lure, 40, false, false, false}},
        // Venus: pearly white and aqua under a scallop shell.
        {"venus",
         {hex(0xffffff), hex(0xbdeef2), hex(0x67b8c6), hex(0x24596a), hex(0x8fd8e0), hex(0xff8fb0),
          Tuft::Scallop, 43, false, false, false}},
        // Jammer: a small slate ninja in a red headband.
        {"jammer",
         {hex(0xa6a9bf), hex(0x5a5d78), hex(0x30324a), hex(0x0f1020), hex(0x30324a), hex(0xff6a6a),
          Tuft::Bandana, 36, false, true, false}},
    };
    return table;
}

void drawEye(cairo_t* cr, double x, double y, double r, const Pose& p, bool left, Rgb outline) {
    cairo_set_line_cap(cr, CAIRO_LINE_CAP_ROUND);
    switch (p.eyes) {
    case Eyes::Blink:
        cairo_move_to(cr, x - r, y + 2);
        cairo_curve_to(cr, x - r / 2, y + r / 2, x + r / 2, y + r / 2, x + r, y + 2);
        strokeOutline(cr, outline, 3.5);
        return;
    case Eyes::Happy:
        cairo_move_to(cr, x - r, y + 3);
        cairo_curve_to(cr, x - r / 2, y - r, x + r / 2, y - r, x + r, y + 3);
        strokeOutline(cr, outline, 4);
        return;
    case Eyes::Cross:
        cairo_move_to(cr, x - r * 0.7, y - r * 0.7);
        cairo_line_to(cr, x + r * 0.7, y + r * 0.7);
        cairo_move_to(cr, x + r * 0.7, y - r * 0.7);
        cairo_line_to(cr, x - r * 0.7, y + r * 0.7);
        strokeOutline(cr, outline, 4);
        return;
    case Eyes::Dizzy:
        cairo_new_sub_path(cr);
        for (int i = 0; i <= 40; ++i) {
            const double a = i * 0.45, rr = r * 0.9 * i / 40.0;
            const double px = x + rr * std::cos(a) * (left ? 1 : -1), py = y + rr * std::sin(a);
            if (i == 0)
                cairo_move_to(cr, px, py);
            else
                cairo_line_to(cr, px, py);
        }
        strokeOutline(cr, outline, 2.5);
        return;
    default:
        break;
    }
    const double ry = p.eyes == Eyes::Squint ? r * 0.65 : (p.eyes == Eyes::Wide ? r * 1.25 : r * 1.15);
    const double rx = p.eyes == Eyes::Wide ? r * 1.05 : r;
    ellipsePath(cr, x, y, rx, ry);
    cairo_set_source_rgb(cr, 1, 1, 1);
    cairo_fill_preserve(cr);
    strokeOutline(cr, outline, 2.5);
    const double pr = p.eyes == Eyes::Wide ? r * 0.45 : r * 0.55;
    const double px = x + (left ? 0.25 : 0.3) * r + p.pupilX * r * 0.35;
    const double py = y + 0.2 * r + p.pupilY * ry * 0.35;
    cairo_arc(cr, px, py, pr, 0, 2 * kPi);
    cairo_set_source_rgb(cr, 0.11, 0.07, 0.19);
    cairo_fill(cr);
    cairo_arc(cr, px + pr * 0.35, py - pr * 0.4, pr * 0.38, 0, 2 * kPi);
    cairo_set_source_rgb(cr, 1, 1, 1);
    cairo_fill(cr);
    if (p.eyes == Eyes::Squint) {
        // Lid over the top half: a determined look.
        cairo_move_to(cr, x - rx - 1, y - ry * 0.2);
        cairo_line_to(cr, x + rx + 1, y - ry * (left ? 0.6 : 0.2) + (left ? 0 : -ry * 0.4));
        strokeOutline(cr, outline, 3.5);
    }
}

void drawMouth(cairo_t* cr, double r, Mouth mouth, Rgb outline) {
    const double y = r * 0.42, w = r * 0.34;
    cairo_set_line_cap(cr, CAIRO_LINE_CAP_ROUND);
    switch (mouth) {
    case Mouth::Smile:
        cairo_move_to(cr, -w, y);
        cairo_curve_to(cr, -w / 2, y + w * 0.8, w / 2, y + w * 0.8, w, y);
        strokeOutline(cr, outline, 3.5);
        break;
    case Mouth::Grin:
    case Mouth::Open:
        cairo_move_to(cr, -w, y - 2);
        cairo_curve_to(cr, -w, y + w * (mouth == Mouth::Grin ? 1.4 : 1.1), w,
                       y + w * (mouth == Mouth::Grin ? 1.4 : 1.1), w, y - 2);
        cairo_close_path(cr);
        cairo_set_source_rgb(cr, 0.35, 0.08, 0.06);
        cairo_fill_preserve(cr);
        strokeOutline(cr, outline, 2.5);
        // tongue
        ellipsePath(cr, 0, y + w * 0.55, w * 0.45, w * 0.25);
        cairo_set_source_rgb(cr, 1.0, 0.45, 0.5);
        cairo_fill(cr);
        break;
    case Mouth::Frown:
        cairo_move_to(cr, -w, y + w * 0.5);
        cairo_curve_to(cr, -w / 2, y - w * 0.2, w / 2, y - w * 0.2, w, y + w * 0.5);
        strokeOutline(cr, outline, 3.5);
        break;
    case Mouth::Ooh:
        ellipsePath(cr, 0, y + 3, w * 0.38, w * 0.5);
        cairo_set_source_rgb(cr, 0.35, 0.08, 0.06);
        cairo_fill_preserve(cr);
        strokeOutline(cr, outline, 2.5);
        break;
    case Mouth::Grit:
        cairo_rectangle(cr, -w * 0.8, y - 1, w * 1.6, w * 0.6);
        cairo_set_source_rgb(cr, 1, 1, 1);
        cairo_fill_preserve(cr);
        strokeOutline(cr, outline, 2.5);
        cairo_move_to(cr, -w * 0.8, y - 1 + w * 0.3);
        cairo_line_to(cr, w * 0.8, y - 1 + w * 0.3);
        strokeOutline(cr, outline, 1.5);
        break;
    }
}

void drawTuft(cairo_t* cr, const KelvoLook& look, double r) {
    cairo_set_line_join(cr, CAIRO_LINE_JOIN_ROUND);
    switch (look.tuft) {
    case Tuft::Flame:
        cairo_move_to(cr, -r * 0.25, -r * 0.9);
        cairo_curve_to(cr, -r * 0.45, -r * 1.45, r * 0.1, -r * 1.55, 0, -r * 1.15);
        cairo_curve_to(cr, r * 0.25, -r * 1.5, r * 0.6, -r * 1.3, r * 0.3, -r * 0.88);
        cairo_close_path(cr);
        setColour(cr, look.light);
        cairo_fill_preserve(cr);
        strokeOutline(cr, look.outline, 3);
        break;
    case Tuft::Flower:
        for (int i = 0; i < 5; ++i) {
            const double a = i * 2 * kPi / 5 - kPi / 2;
            ellipsePath(cr, r * 0.45 + std::cos(a) * r * 0.2, -r * 0.82 + std::sin(a) * r * 0.2, r * 0.15,
                        r * 0.15);
            cairo_set_source_rgb(cr, 1.0, 0.95, 0.98);
            cairo_fill_preserve(cr);
            strokeOutline(cr, look.outline, 2);
        }
        cairo_arc(cr, r * 0.45, -r * 0.82, r * 0.12, 0, 2 * kPi);
        cairo_set_source_rgb(cr, 1.0, 0.85, 0.2);
        cairo_fill(cr);
        break;
    case Tuft::Spike:
        cairo_move_to(cr, -r * 0.22, -r * 0.92);
        cairo_line_to(cr, 0, -r * 1.5);
        cairo_line_to(cr, r * 0.22, -r * 0.92);
        cairo_close_path(cr);
        setColour(cr, look.light);
        cairo_fill_preserve(cr);
        strokeOutline(cr, look.outline, 3);
        break;
    case Tuft::Fin:
        cairo_move_to(cr, -r * 0.5, -r * 0.82);
        cairo_curve_to(cr, -r * 0.3, -r * 1.5, r * 0.3, -r * 1.5, r * 0.55, -r * 1.25);
        cairo_curve_to(cr, r * 0.3, -r * 1.1, r * 0.35, -r * 0.95, r * 0.4, -r * 0.88);
        cairo_close_path(cr);
        setColour(cr, look.dark);
        cairo_fill_preserve(cr);
        strokeOutline(cr, look.outline, 3);
        break;
    case Tuft::Crest:
        for (int i = -1; i <= 1; ++i) {
            cairo_move_to(cr, i * r * 0.3 - r * 0.12, -r * 0.93 + std::fabs(i) * r * 0.05);
            cairo_line_to(cr, i * r * 0.38, -r * 1.3 + std::fabs(i) * r * 0.1);
            cairo_line_to(cr, i * r * 0.3 + r * 0.12, -r * 0.93 + std::fabs(i) * r * 0.05);
            cairo_close_path(cr);
        }
        setColour(cr, look.light);
        cairo_fill_preserve(cr);
        strokeOutline(cr, look.outline, 3);
        break;
    case Tuft::Horns:
        for (int side = -1; side <= 1; side += 2) {
            cairo_move_to(cr, side * r * 0.55, -r * 0.72);
            cairo_curve_to(cr, side * r * 0.75, -r * 1.05, side * r * 0.95, -r * 1.2, side * r * 0.8,
                           -r * 1.45);
            cairo_curve_to(cr, side * r * 0.6, -r * 1.2, side * r * 0.45, -r * 1.0, side * r * 0.25,
                           -r * 0.9);
            cairo_close_path(cr);
        }
        cairo_set_source_rgb(cr, 0.96, 0.92, 0.8);
        cairo_fill_preserve(cr);
        strokeOutline(cr, look.outline, 3);
        break;
    case Tuft::Lure: {
        cairo_move_to(cr, 0, -r * 0.95);
        cairo_curve_to(cr, r * 0.1, -r * 1.5, r * 0.7, -r * 1.65, r * 0.85, -r * 1.3);
        strokeOutline(cr, look.outline, 4);
        cairo_pattern_t* glow =
            cairo_pattern_create_radial(r * 0.85, -r * 1.25, 0, r * 0.85, -r * 1.25, r * 0.38);
        cairo_pattern_add_color_stop_rgba(glow, 0, 1, 0.95, 0.6, 0.95);
        cairo_pattern_add_color_stop_rgba(glow, 1, 1, 0.85, 0.3, 0);
        cairo_set_source(cr, glow);
        cairo_arc(cr, r * 0.85, -r * 1.25, r * 0.38, 0, 2 * kPi);
        cairo_fill(cr);
        cairo_pattern_destroy(glow);
        cairo_arc(cr, r * 0.85, -r * 1.25, r * 0.14, 0, 2 * kPi);
        cairo_set_source_rgb(cr, 1.0, 0.9, 0.35);
        cairo_fill_preserve(cr);
        strokeOutline(cr, look.outline, 2.5);
        break;
    }
    case Tuft::Scallop:
        cairo_move_to(cr, -r * 0.1, -r * 0.88);
        for (int i = 0; i <= 6; ++i) {
            const double a = kPi + i * kPi / 6;
            cairo_line_to(cr, -r * 0.1 + std::cos(a) * r * 0.62, -r * 0.88 + std::sin(a) * r * 0.62);
        }
        cairo_close_path(cr);
        cairo_set_source_rgb(cr, 1.0, 0.86, 0.9);
        cairo_fill_preserve(cr);
        strokeOutline(cr, look.outline, 3);
        for (int i = 1; i < 6; ++i) {
            const double a = kPi + i * kPi / 6;
            cairo_move_to(cr, -r * 0.1, -r * 0.9);
            cairo_line_to(cr, -r * 0.1 + std::cos(a) * r * 0.55, -r * 0.88 + std::sin(a) * r * 0.55);
        }
        strokeOutline(cr, look.outline, 1.8);
        break;
    case Tuft::Bandana:
        // The knot's two tails flutter behind the head; the band itself is drawn over the body.
        cairo_move_to(cr, -r * 0.75, -r * 0.45);
        cairo_curve_to(cr, -r * 1.2, -r * 0.7, -r * 1.4, -r * 0.4, -r * 1.6, -r * 0.55);
        cairo_curve_to(cr, -r * 1.35, -r * 0.25, -r * 1.1, -r * 0.35, -r * 0.8, -r * 0.3);
        cairo_close_path(cr);
        cairo_move_to(cr, -r * 0.8, -r * 0.35);
        cairo_curve_to(cr, -r * 1.15, -r * 0.2, -r * 1.3, r * 0.05, -r * 1.5, r * 0.0);
        cairo_curve_to(cr, -r * 1.2, r * 0.2, -r * 1.0, -r * 0.05, -r * 0.78, -r * 0.22);
        cairo_close_path(cr);
        cairo_set_source_rgb(cr, 0.86, 0.12, 0.14);
        cairo_fill_preserve(cr);
        strokeOutline(cr, look.outline, 2.5);
        break;
    }
}

// Marks drawn over the body: kapono's carved bands, jammer's headband.
void drawBodyMarks(cairo_t* cr, const KelvoLook& look, double r) {
    if (look.stripes) {
        cairo_save(cr);
        cairo_arc(cr, 0, 0, r - 1, 0, 2 * kPi);
        cairo_clip(cr);
        for (double y : {r * 0.62, r * 0.8}) {
            cairo_move_to(cr, -r, y);
            for (int i = 0; i < 8; ++i)
                cairo_line_to(cr, -r + (i + 0.5) * r / 4, y + ((i % 2) ? -r * 0.08 : r * 0.08));
            cairo_line_to(cr, r, y);
        }
        setColour(cr, look.cheek);
        cairo_set_line_width(cr, 4);
        cairo_stroke(cr);
        cairo_restore(cr);
    }
    if (look.tuft == Tuft::Bandana) {
        cairo_save(cr);
        cairo_arc(cr, 0, 0, r - 1, 0, 2 * kPi);
        cairo_clip(cr);
        cairo_rectangle(cr, -r, -r * 0.62, 2 * r, r * 0.26);
        cairo_set_source_rgb(cr, 0.86, 0.12, 0.14);
        cairo_fill_preserve(cr);
        strokeOutline(cr, look.outline, 2.5);
        cairo_restore(cr);
        ellipsePath(cr, -r * 0.78, -r * 0.47, r * 0.12, r * 0.1);
        cairo_set_source_rgb(cr, 0.7, 0.08, 0.1);
        cairo_fill_preserve(cr);
        strokeOutline(cr, look.outline, 2);
    }
}

void drawFin(cairo_t* cr, const KelvoLook& look, double r, double side, double lift) {
    cairo_save(cr);
    cairo_translate(cr, side * r * 0.88, r * 0.2);
    cairo_rotate(cr, -side * lift * 0.7);
    cairo_move_to(cr, 0, -r * 0.12);
    cairo_curve_to(cr, side * r * 0.55, -r * 0.35, side * r * 0.7, r * 0.25, 0, r * 0.25);
    cairo_close_path(cr);
    setColour(cr, look.fin);
    cairo_fill_preserve(cr);
    strokeOutline(cr, look.outline, 3);
    cairo_restore(cr);
}

void drawKelvo(cairo_t* cr, const KelvoLook& look, const Pose& p, int size, int index) {
    const double r = look.radius;
    const double cx = size / 2.0 + p.dx, cy = size / 2.0 + p.dy;
    cairo_push_group(cr);
    // Effects behind the body.
    if (p.ring > 0) {
        cairo_arc(cr, cx, cy, r * (1.05 + 0.5 * p.ring), 0, 2 * kPi);
        cairo_set_source_rgba(cr, 1, 1, 1, 0.8 * (1 - p.ring));
        cairo_set_line_width(cr, 8 * (1 - p.ring) + 2);
        cairo_stroke(cr);
    }
    if (p.charge > 0) {
        cairo_pattern_t* glow = cairo_pattern_create_radial(cx, cy - r * 1.2, 0, cx, cy - r * 1.2, r * 0.6);
        cairo_pattern_add_color_stop_rgba(glow, 0, 1, 1, 0.8, 0.9 * p.charge);
        cairo_pattern_add_color_stop_rgba(glow, 1, 0.4, 0.9, 1, 0);
        cairo_set_source(cr, glow);
        cairo_arc(cr, cx, cy - r * 1.2, r * 0.6, 0, 2 * kPi);
        cairo_fill(cr);
        cairo_pattern_destroy(glow);
    }
    for (int i = 0; i < p.speedLines; ++i) {
        const double x = cx - r * 0.5 + i * r * 0.5, len = r * (0.5 + 0.25 * ((i + index) % 2));
        cairo_move_to(cr, x, cy + r * 1.25);
        cairo_line_to(cr, x, cy + r * 1.25 + len);
        cairo_set_source_rgba(cr, 0.9, 0.98, 1, 0.75);
        cairo_set_line_width(cr, 4);
        cairo_set_line_cap(cr, CAIRO_LINE_CAP_ROUND);
        cairo_stroke(cr);
    }

    cairo_save(cr);
    cairo_translate(cr, cx, cy);
    cairo_rotate(cr, p.angle);
    cairo_scale(cr, p.scale * p.sx, p.scale * p.sy);
    drawFin(cr, look, r, -1, p.finLift);
    drawFin(cr, look, r, 1, p.finLift);
    drawTuft(cr, look, r);
    // Body: a shaded ball with a soft highlight.
    cairo_pattern_t* body = cairo_pattern_create_radial(-r * 0.3, -r * 0.35, r * 0.1, 0, 0, r * 1.05);
    cairo_pattern_add_color_stop_rgb(body, 0, look.light.r, look.light.g, look.light.b);
    cairo_pattern_add_color_stop_rgb(body, 0.55, look.mid.r, look.mid.g, look.mid.b);
    cairo_pattern_add_color_stop_rgb(body, 1, look.dark.r, look.dark.g, look.dark.b);
    cairo_arc(cr, 0, 0, r, 0, 2 * kPi);
    cairo_set_source(cr, body);
    cairo_fill_preserve(cr);
    cairo_pattern_destroy(body);
    strokeOutline(cr, look.outline, 3.5);
    ellipsePath(cr, -r * 0.38, -r * 0.5, r * 0.22, r * 0.12);
    cairo_set_source_rgba(cr, 1, 1, 1, 0.55);
    cairo_fill(cr);
    if (look.spots) {
        const double spots[][3] = {
            {0.55, -0.45, 0.1}, {0.7, -0.15, 0.07}, {-0.7, 0.35, 0.08}, {0.5, 0.65, 0.06}};
        for (const auto& s : spots) {
            cairo_arc(cr, s[0] * r, s[1] * r, s[2] * r, 0, 2 * kPi);
            setColour(cr, look.dark, 0.6);
            cairo_fill(cr);
        }
    }
    drawBodyMarks(cr, look, r);
    // Face.
    ellipsePath(cr, -r * 0.55, r * 0.25, r * 0.16, r * 0.09);
    setColour(cr, look.cheek, 0.5);
    cairo_fill(cr);
    ellipsePath(cr, r * 0.55, r * 0.25, r * 0.16, r * 0.09);
    setColour(cr, look.cheek, 0.5);
    cairo_fill(cr);
    const double er = r * 0.27;
    drawEye(cr, -r * 0.3, -r * 0.12, er, p, true, look.outline);
    drawEye(cr, r * 0.3, -r * 0.12, er, p, false, look.outline);
    if (look.heavyBrows && p.eyes != Eyes::Happy) {
        cairo_set_line_cap(cr, CAIRO_LINE_CAP_ROUND);
        cairo_move_to(cr, -r * 0.55, -r * 0.5);
        cairo_line_to(cr, -r * 0.12, -r * 0.42);
        cairo_move_to(cr, r * 0.55, -r * 0.5);
        cairo_line_to(cr, r * 0.12, -r * 0.42);
        strokeOutline(cr, look.outline, 5);
    }
    drawMouth(cr, r, p.mouth, look.outline);
    cairo_restore(cr);

    // Effects in front of the body.
    for (int i = 0; i < p.sparkles; ++i) {
        const double a = i * 2.1 + index * 0.7;
        sparkle(cr, cx + std::cos(a) * r * 0.95, cy + std::sin(a) * r * 0.95 - 4, 6 + 3 * ((i + index) % 2),
                hex(0x9dff9a));
    }
    for (int i = 0; i < p.stars; ++i) {
        const double a = i * 2 * kPi / p.stars + index * 0.6;
        sparkle(cr, cx + std::cos(a) * r * 0.7, cy - r * 0.95 * p.sy + std::sin(a) * r * 0.2, 7,
                hex(0xffe14d));
    }
    cairo_pop_group_to_source(cr);
    cairo_paint_with_alpha(cr, p.alpha);
}

} // namespace

bool hasKelvoLook(const std::string& sprite) {
    return looks().count(sprite) != 0;
}

std::vector<SheetFrame> drawKelvoFrames(const std::string& sprite,
                                        const std::vector<AnimationSpec>& animations) {
    std::vector<SheetFrame> frames;
    const auto look = looks().find(sprite);
    if (look == looks().end()) return frames;
    const int size = 192;
    for (const AnimationSpec& animation : animations) {
        for (int i = 0; i < animation.frames; ++i) {
            cairo_surface_t* surface = cairo_image_surface_create(CAIRO_FORMAT_ARGB32, size, size);
            cairo_t* cr = cairo_create(surface);
            drawKelvo(cr, look->second, kelvoPose(animation.word, i, animation.frames), size, i);
            cairo_destroy(cr);
            frames.push_back({frameName(sprite, animation.word, i + 1), imageFromSurface(surface)});
            cairo_surface_destroy(surface);
        }
    }
    // Blinks: every stretch frame, the first launched frame and the held (last) anchor frame
    // again with the eyes shut.
    auto blink = [&](const AnimationSpec& animation, int index, const std::string& name) {
        cairo_surface_t* surface = cairo_image_surface_create(CAIRO_FORMAT_ARGB32, size, size);
        cairo_t* cr = cairo_create(surface);
        Pose pose = kelvoPose(animation.word, index, animation.frames);
        pose.eyes = Eyes::Blink;
        drawKelvo(cr, look->second, pose, size, index);
        cairo_destroy(cr);
        frames.push_back({name, imageFromSurface(surface)});
        cairo_surface_destroy(surface);
    };
    for (const AnimationSpec& animation : animations) {
        if (animation.frames <= 0) continue;
        if (animation.word == "stretch") {
            for (int i = 0; i < animation.frames; ++i)
                blink(animation, i, frameName(sprite, "stretch_blink", i + 1));
        } else if (animation.word == "launched") {
            blink(animation, 0, sprite + "_launched_blink.png");
        } else if (animation.word == "anchor") {
            blink(animation, animation.frames - 1, sprite + "_anchor_blink.png");
        }
    }
    return frames;
}

} // namespace kvcontent
