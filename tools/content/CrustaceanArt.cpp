// Drawing programs of the crustacean enemies. Crustaceans travel sideways, so they are
// drawn facing the viewer with their claws up: a grumpy crab, a wiry shrimp and a hermit
// crab peeking out of its spiral shell. Poses come from the animation word and the
// frame's place in it, like the kelvos'.
#include <cairo.h>

#include <cmath>

#include "tools/content/CreatureArt.h"
#include "tools/content/DrawingKit.h"

namespace kvcontent {

namespace {
using namespace draw;

struct CrustaceanPose {
    double sx = 1, sy = 1, dx = 0, dy = 0, angle = 0;
    double clawOpen = 0.3; // 0 closed .. 1 wide open
    double clawLift = 0;   // -1 down .. 1 raised high
    double legPhase = 0;   // walking wiggle
    bool crossEyes = false, happy = false, angry = true;
    double ring = 0;   // area-attack shock ring
    double charge = 0; // water-jet glow of the hermit's shot
    int stars = 0;
    double shellHide = 0; // hermit: 1 = tucked into the shell
};

CrustaceanPose crustaceanPose(const std::string& word, int index, int count) {
    const double t = count > 1 ? static_cast<double>(index) / count : 0.0;
    const double u = count > 1 ? static_cast<double>(index) / (count - 1) : 1.0;
    CrustaceanPose p;
    const double s = std::sin(t * 2 * kPi);
    if (word == "idle") {
        p.clawOpen = 0.3 + 0.3 * std::fabs(s);
        p.legPhase = t;
        p.dy = -2 * s;
    } else if (word == "throw") {
        p.sx = 1.12;
        p.sy = 0.88;
        p.clawLift = -0.6;
        p.clawOpen = 0;
        p.legPhase = t * 2;
    } else if (word == "impulse") {
        p.sy = 1 - 0.15 * u;
        p.sx = 1 + 0.1 * u;
        p.dy = 6 * u;
        p.clawLift = -0.4 * u;
    } else if (word == "hit") {
        p.sx = 1.15 - 0.1 * u;
        p.sy = 0.85 + 0.1 * u;
        p.dx = 5 * std::sin(t * 4 * kPi);
        p.crossEyes = true;
        p.clawOpen = 1;
        p.clawLift = 0.8;
        p.shellHide = 0.8;
    } else if (word == "ko") {
        p.angle = 0.4 * u;
        p.sy = 1 - 0.2 * u;
        p.dy = 10 * u;
        p.crossEyes = true;
        p.clawLift = -1;
        p.clawOpen = 0.8;
        p.stars = 3;
    } else if (word == "victory") {
        p.clawLift = 1;
        p.clawOpen = 0.2 + 0.8 * std::fabs(s);
        p.dy = -10 * std::fabs(s);
        p.happy = true;
        p.angry = false;
    } else if (word == "attack") {
        if (u < 0.5) {
            p.clawLift = 1;
            p.clawOpen = 0.8;
            p.sy = 1.05;
            p.charge = u * 2;
        } else {
            p.clawLift = -1;
            p.clawOpen = 0.2;
            p.sy = 0.9;
            p.ring = (u - 0.5) * 2;
            p.charge = 1 - (u - 0.5) * 2;
        }
    }
    return p;
}

struct CrustaceanLook {
    Rgb light, mid, dark, outline;
};

void drawEyes(cairo_t* cr, double x, double y, double r, const CrustaceanPose& p, Rgb outline, double stalk) {
    for (int side = -1; side <= 1; side += 2) {
        const double ex = x + side * r * 1.3, ey = y - stalk;
        cairo_move_to(cr, x + side * r * 0.8, y);
        cairo_line_to(cr, ex, ey);
        strokeOutline(cr, outline, 4);
        cairo_arc(cr, ex, ey, r, 0, 2 * kPi);
        fillAndOutline(cr, hex(0xffffff), outline, 2);
        if (p.crossEyes) {
            cairo_move_to(cr, ex - r * 0.6, ey - r * 0.6);
            cairo_line_to(cr, ex + r * 0.6, ey + r * 0.6);
            cairo_move_to(cr, ex + r * 0.6, ey - r * 0.6);
            cairo_line_to(cr, ex - r * 0.6, ey + r * 0.6);
            strokeOutline(cr, outline, 2.5);
            continue;
        }
        if (p.happy) {
            cairo_move_to(cr, ex - r * 0.6, ey + r * 0.2);
            cairo_curve_to(cr, ex - r * 0.3, ey - r * 0.6, ex + r * 0.3, ey - r * 0.6, ex + r * 0.6,
                           ey + r * 0.2);
            strokeOutline(cr, outline, 2.5);
            continue;
        }
        cairo_arc(cr, ex - side * r * 0.15, ey + r * 0.15, r * 0.48, 0, 2 * kPi);
        cairo_set_source_rgb(cr, 0.11, 0.07, 0.19);
        cairo_fill(cr);
        if (p.angry) {
            // A cross brow over each eye.
            cairo_move_to(cr, ex - side * r * 1.1, ey - r * 1.3);
            cairo_line_to(cr, ex + side * r * 0.7, ey - r * 0.6);
            strokeOutline(cr, outline, 3.5);
        }
    }
}

void drawClaw(cairo_t* cr, double side, double r, const CrustaceanPose& p, const CrustaceanLook& look,
              double size) {
    cairo_save(cr);
    cairo_translate(cr, side * r * 0.85, -r * 0.2);
    cairo_rotate(cr, side * (0.5 - 0.6 * p.clawLift));
    // The arm.
    cairo_move_to(cr, 0, 0);
    cairo_line_to(cr, side * r * 0.35 * size, -r * 0.55 * size);
    strokeOutline(cr, look.outline, 9 * size);
    cairo_move_to(cr, 0, 0);
    cairo_line_to(cr, side * r * 0.35 * size, -r * 0.55 * size);
    setColour(cr, look.mid);
    cairo_set_line_width(cr, 5 * size);
    cairo_stroke(cr);
    cairo_translate(cr, side * r * 0.35 * size, -r * 0.62 * size);
    const double open = 0.12 + 0.5 * p.clawOpen;
    const double k = r * size;
    // Two tapered fingers, the outer one hinged, the inner one fixed, then the palm.
    for (int finger = 0; finger < 2; ++finger) {
        cairo_save(cr);
        const double tilt = finger == 0 ? -side * open : side * open * 0.4;
        cairo_translate(cr, (finger == 0 ? -side : side) * k * 0.1, -k * 0.12);
        cairo_rotate(cr, tilt);
        cairo_move_to(cr, -k * 0.1, 0);
        cairo_curve_to(cr, -k * 0.14, -k * 0.3, -k * 0.04, -k * 0.46, 0, -k * 0.5);
        cairo_curve_to(cr, k * 0.03, -k * 0.4, k * 0.1, -k * 0.2, k * 0.1, 0);
        cairo_close_path(cr);
        fillAndOutline(cr, finger == 0 ? look.mid : look.dark, look.outline, 2.5);
        cairo_restore(cr);
    }
    ellipsePath(cr, 0, 0, k * 0.26, k * 0.22);
    fillAndOutline(cr, look.mid, look.outline, 2.5);
    ellipsePath(cr, -side * k * 0.08, -k * 0.07, k * 0.08, k * 0.05);
    cairo_set_source_rgba(cr, 1, 1, 1, 0.5);
    cairo_fill(cr);
    cairo_restore(cr);
}

void drawLegs(cairo_t* cr, double r, double phase, Rgb colour, Rgb outline, double spread) {
    cairo_set_line_cap(cr, CAIRO_LINE_CAP_ROUND);
    for (int side = -1; side <= 1; side += 2) {
        for (int k = 0; k < 3; ++k) {
            const double wiggle = 0.18 * std::sin((phase + k / 3.0) * 2 * kPi);
            const double a = (0.25 + 0.3 * k + wiggle) * side;
            const double x0 = side * r * 0.8 * spread, y0 = r * (0.05 + 0.18 * k);
            const double kneeX = x0 + side * r * 0.45 * std::cos(a * side), kneeY = y0 + r * 0.1;
            cairo_move_to(cr, x0, y0);
            cairo_line_to(cr, kneeX, kneeY - r * 0.05);
            cairo_line_to(cr, kneeX + side * r * 0.12, kneeY + r * 0.38);
            strokeOutline(cr, outline, 7);
            cairo_move_to(cr, x0, y0);
            cairo_line_to(cr, kneeX, kneeY - r * 0.05);
            cairo_line_to(cr, kneeX + side * r * 0.12, kneeY + r * 0.38);
            setColour(cr, colour);
            cairo_set_line_width(cr, 3.5);
            cairo_stroke(cr);
        }
    }
}

void drawEffects(cairo_t* cr, double r, const CrustaceanPose& p, int index) {
    if (p.ring > 0) {
        ellipsePath(cr, 0, r * 0.4, r * (1.2 + 0.6 * p.ring), r * (0.5 + 0.25 * p.ring));
        cairo_set_source_rgba(cr, 1, 0.95, 0.8, 0.85 * (1 - p.ring));
        cairo_set_line_width(cr, 8 * (1 - p.ring) + 2);
        cairo_stroke(cr);
    }
    for (int i = 0; i < p.stars; ++i) {
        const double a = i * 2 * kPi / p.stars + index * 0.6;
        sparkle(cr, std::cos(a) * r * 0.7, -r * 1.2 + std::sin(a) * r * 0.2, 7, hex(0xffe14d));
    }
}

void drawCrab(cairo_t* cr, double r, const CrustaceanPose& p, int index) {
    const CrustaceanLook look{hex(0xff9a7a), hex(0xe0432a), hex(0x9c2216), hex(0x4a0e08)};
    drawLegs(cr, r, p.legPhase, look.dark, look.outline, 1.0);
    drawClaw(cr, -1, r, p, look, 1.35);
    drawClaw(cr, 1, r, p, look, 1.35);
    cairo_pattern_t* body = cairo_pattern_create_radial(-r * 0.3, -r * 0.3, r * 0.1, 0, 0, r * 1.1);
    cairo_pattern_add_color_stop_rgb(body, 0, look.light.r, look.light.g, look.light.b);
    cairo_pattern_add_color_stop_rgb(body, 0.6, look.mid.r, look.mid.g, look.mid.b);
    cairo_pattern_add_color_stop_rgb(body, 1, look.dark.r, look.dark.g, look.dark.b);
    ellipsePath(cr, 0, r * 0.1, r, r * 0.68);
    cairo_set_source(cr, body);
    cairo_fill_preserve(cr);
    cairo_pattern_destroy(body);
    strokeOutline(cr, look.outline, 3.5);
    // Shell ridges and freckles.
    cairo_move_to(cr, -r * 0.6, -r * 0.2);
    cairo_curve_to(cr, -r * 0.2, -r * 0.45, r * 0.2, -r * 0.45, r * 0.6, -r * 0.2);
    strokeOutline(cr, look.dark, 2.5);
    for (int i = -1; i <= 1; ++i) {
        cairo_arc(cr, i * r * 0.45, r * 0.05 + std::fabs(i) * r * 0.1, r * 0.06, 0, 2 * kPi);
        setColour(cr, look.light, 0.8);
        cairo_fill(cr);
    }
    drawEyes(cr, 0, -r * 0.35, r * 0.2, p, look.outline, r * 0.45);
    // Mouth: a grumpy line, a grin when it wins.
    cairo_set_line_cap(cr, CAIRO_LINE_CAP_ROUND);
    if (p.happy) {
        cairo_move_to(cr, -r * 0.25, r * 0.25);
        cairo_curve_to(cr, -r * 0.1, r * 0.45, r * 0.1, r * 0.45, r * 0.25, r * 0.25);
    } else {
        cairo_move_to(cr, -r * 0.22, r * 0.38);
        cairo_curve_to(cr, -r * 0.1, r * 0.26, r * 0.1, r * 0.26, r * 0.22, r * 0.38);
    }
    strokeOutline(cr, look.outline, 3.5);
    drawEffects(cr, r, p, index);
}

void drawShrimp(cairo_t* cr, double r, const CrustaceanPose& p, int index) {
    const CrustaceanLook look{hex(0xffd3b8), hex(0xff8f6b), hex(0xd0533a), hex(0x5a1a0c)};
    // Long antennae swaying.
    for (int side = -1; side <= 1; side += 2) {
        cairo_move_to(cr, side * r * 0.2, -r * 0.6);
        cairo_curve_to(cr, side * r * 0.6, -r * 1.4, side * r * (1.1 + 0.15 * std::sin(p.legPhase * 2 * kPi)),
                       -r * 1.2, side * r * 1.3, -r * 1.5);
        strokeOutline(cr, look.dark, 2.5);
    }
    drawLegs(cr, r * 0.8, p.legPhase, look.dark, look.outline, 0.7);
    drawClaw(cr, -1, r * 0.8, p, look, 0.6);
    drawClaw(cr, 1, r * 0.8, p, look, 0.6);
    // Tail fan below, then the segmented body.
    cairo_move_to(cr, 0, r * 0.6);
    cairo_line_to(cr, -r * 0.45, r * 1.05);
    cairo_line_to(cr, 0, r * 0.9);
    cairo_line_to(cr, r * 0.45, r * 1.05);
    cairo_close_path(cr);
    fillAndOutline(cr, look.dark, look.outline, 2.5);
    for (int k = 3; k >= 0; --k) {
        const double y = -r * 0.45 + k * r * 0.3, w = r * (0.62 - 0.08 * k);
        ellipsePath(cr, 0, y, w, r * 0.3);
        fillAndOutline(cr, k % 2 ? look.mid : look.light, look.outline, 2.5);
    }
    drawEyes(cr, 0, -r * 0.6, r * 0.17, p, look.outline, r * 0.25);
    cairo_move_to(cr, -r * 0.15, -r * 0.3);
    cairo_line_to(cr, r * 0.15, -r * 0.3);
    strokeOutline(cr, look.outline, 3);
    drawEffects(cr, r, p, index);
}

void drawHermit(cairo_t* cr, double r, const CrustaceanPose& p, int index) {
    const CrustaceanLook look{hex(0xffc9a0), hex(0xf08a4b), hex(0xb0542a), hex(0x4a200c)};
    const Rgb shellLight = hex(0xd9c7ff), shellMid = hex(0x9a7fd6), shellDark = hex(0x5b3f9a);
    // The shell: a plump spiral, the animal peeking out below.
    cairo_pattern_t* shell = cairo_pattern_create_radial(-r * 0.3, -r * 0.5, r * 0.1, 0, -r * 0.2, r * 1.1);
    cairo_pattern_add_color_stop_rgb(shell, 0, shellLight.r, shellLight.g, shellLight.b);
    cairo_pattern_add_color_stop_rgb(shell, 0.6, shellMid.r, shellMid.g, shellMid.b);
    cairo_pattern_add_color_stop_rgb(shell, 1, shellDark.r, shellDark.g, shellDark.b);
    cairo_move_to(cr, -r, r * 0.2);
    cairo_curve_to(cr, -r * 1.05, -r * 0.9, r * 0.2, -r * 1.3, r * 0.7, -r * 0.6);
    cairo_curve_to(cr, r * 1.1, -r * 0.1, r * 0.95, r * 0.3, r * 0.9, r * 0.3);
    cairo_close_path(cr);
    cairo_set_source(cr, shell);
    cairo_fill_preserve(cr);
    cairo_pattern_destroy(shell);
    strokeOutline(cr, hex(0x2a1650), 3.5);
    cairo_new_sub_path(cr);
    for (int i = 0; i <= 50; ++i) {
        const double a = i * 0.25, rr = r * 0.55 * (1 - i / 60.0);
        const double x = -r * 0.05 + rr * std::cos(a), y = -r * 0.35 + rr * std::sin(a) * 0.8;
        if (i == 0)
            cairo_move_to(cr, x, y);
        else
            cairo_line_to(cr, x, y);
    }
    strokeOutline(cr, shellDark, 3);
    if (p.charge > 0) {
        cairo_pattern_t* glow = cairo_pattern_create_radial(0, -r * 1.05, 0, 0, -r * 1.05, r * 0.5);
        cairo_pattern_add_color_stop_rgba(glow, 0, 0.8, 1, 1, 0.9 * p.charge);
        cairo_pattern_add_color_stop_rgba(glow, 1, 0.3, 0.8, 1, 0);
        cairo_set_source(cr, glow);
        cairo_arc(cr, 0, -r * 1.05, r * 0.5, 0, 2 * kPi);
        cairo_fill(cr);
        cairo_pattern_destroy(glow);
    }
    const double peek = 1 - p.shellHide;
    if (peek <= 0.05) {
        drawEffects(cr, r, p, index);
        return;
    }
    cairo_save(cr);
    cairo_translate(cr, 0, r * 0.35 + (1 - peek) * r * 0.3);
    drawLegs(cr, r * 0.6, p.legPhase, look.dark, look.outline, 1.0);
    drawClaw(cr, -1, r * 0.6, p, look, 0.8);
    drawClaw(cr, 1, r * 0.6, p, look, 0.8);
    ellipsePath(cr, 0, 0, r * 0.55, r * 0.32);
    fillAndOutline(cr, look.mid, look.outline, 3);
    drawEyes(cr, 0, -r * 0.1, r * 0.16, p, look.outline, r * 0.25);
    cairo_restore(cr);
    drawEffects(cr, r, p, index);
}
} // namespace

std::vector<SheetFrame> drawCrustaceanFrames(const std::string& sprite,
                                             const std::vector<AnimationSpec>& animations) {
    std::vector<SheetFrame> frames;
    void (*drawBody)(cairo_t*, double, const CrustaceanPose&, int) = nullptr;
    double radius = 44;
    if (sprite == "crab")
        drawBody = drawCrab;
    else if (sprite == "shrimp") {
        drawBody = drawShrimp;
        radius = 38;
    } else if (sprite == "hermit")
        drawBody = drawHermit;
    if (!drawBody) return frames;
    const int size = 192;
    for (const AnimationSpec& animation : animations) {
        for (int i = 0; i < animation.frames; ++i) {
            const CrustaceanPose pose = crustaceanPose(animation.word, i, animation.frames);
            cairo_surface_t* surface = cairo_image_surface_create(CAIRO_FORMAT_ARGB32, size, size);
            cairo_t* cr = cairo_create(surface);
            cairo_set_line_join(cr, CAIRO_LINE_JOIN_ROUND);
            cairo_translate(cr, size / 2.0 + pose.dx, size / 2.0 + pose.dy);
            cairo_rotate(cr, pose.angle);
            cairo_scale(cr, pose.sx, pose.sy);
            drawBody(cr, radius, pose, i);
            cairo_destroy(cr);
            frames.push_back({frameName(sprite, animation.word, i + 1), imageFromSurface(surface)});
            cairo_surface_destroy(surface);
        }
    }
    return frames;
}

} // namespace kvcontent
