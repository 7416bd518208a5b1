// The coconut-crab boss: a huge, grumpy coconut crab facing the viewer, drawn as six parts that
// the boss view lays over one another at one point ("body", "head", "l_arm", "r_arm", "l_claw",
// "r_claw"; the crab's left is the screen's right), its swipe streak and its weak-point glow.
//
// Every part frame is the same canvas (640 x 720 texels) centred on the boss's position, which
// the view draws at scale 4/3: one display point is 1.5 texels. The crab stands on the sea bed
// just below its centre; its eyes sit 209 points above it (the eye pawns' places) and its mouth
// 184 points above it, 9 points left of the centre. The sheets are trimmed, so the empty canvas
// costs nothing. Long animations repeat their drawn poses through extra frame names.
#include <cairo.h>

#include <algorithm>
#include <cmath>
#include <map>
#include <string>
#include <vector>

#include "tools/content/ContentSteps.h"
#include "tools/content/DrawingKit.h"
#include "tools/content/SpriteSheet.h"

namespace kvcontent {

namespace {
using namespace draw;

constexpr int kWidth = 640;
constexpr int kHeight = 720;
constexpr double kCx = kWidth / 2.0;
constexpr double kCy = kHeight / 2.0;
// Display points to texels at the view's scale.
constexpr double kT = 1.5;
// Distinct poses drawn per animation at most.
constexpr int kMaxPoses = 8;

const Rgb kShell = hex(0x9C3B1E);
const Rgb kShellDark = hex(0x5E1F0E);
const Rgb kShellLight = hex(0xD0673A);
const Rgb kOutline = hex(0x2B0D05);
const Rgb kBelly = hex(0xE7A070);

// Canvas point of a place given in display points from the boss centre, y up.
double px(double points) {
    return kCx + points * kT;
}
double py(double points) {
    return kCy - points * kT;
}

struct BossPose {
    double bob = 0;         // whole crab, points up
    double squash = 0;      // body flattening 0..1
    double leftLift = 0.3;  // crab's left claw (screen right): -1 slammed down .. 1 raised high
    double rightLift = 0.3; // crab's right claw (screen left)
    double leftReach = 0;   // claw pulled toward the middle 0..1
    double rightReach = 0;
    double clawOpen = 0.4; // pincers 0 closed .. 1 wide
    int leftEye = 0;       // 0 open, 1 broken
    int rightEye = 0;
    bool mouthOpen = false;
    double anger = 1; // brow slant
};

BossPose poseOf(const std::string& word, int index, int count) {
    const double t = count > 1 ? static_cast<double>(index) / count : 0.0;
    const double u = count > 1 ? static_cast<double>(index) / (count - 1) : 1.0;
    BossPose p;
    const double s = std::sin(t * 2 * kPi);
    if (word.rfind("idle", 0) == 0) {
        p.bob = 3 * s;
        p.clawOpen = 0.3 + 0.25 * std::fabs(s);
        p.leftLift = p.rightLift = 0.3 + 0.1 * s;
        if (word == "idle_ko_left" || word == "idle_ko" || word == "idle_weakpoint") p.leftEye = 1;
        if (word == "idle_ko_right" || word == "idle_ko" || word == "idle_weakpoint") p.rightEye = 1;
        p.mouthOpen = word == "idle_weakpoint";
    } else if (word == "quake") {
        // Both claws high, then slammed on the ground.
        const double up = u < 0.5 ? u * 2 : 1 - (u - 0.5) * 2;
        p.leftLift = p.rightLift = -1 + 2 * up;
        p.squash = u < 0.5 ? 0 : 0.25 * (1 - up);
        p.bob = u < 0.5 ? 10 * up : -6 * (1 - up);
        p.clawOpen = 0.1;
    } else if (word == "swipe") {
        // Claws raised wide, then swept down across the front.
        p.leftLift = p.rightLift = 1 - 2 * u;
        p.leftReach = p.rightReach = u;
        p.clawOpen = 0.8 - 0.7 * u;
        p.bob = 4 * std::sin(u * kPi);
    } else if (word == "throw_left" || word == "throw_right") {
        // One claw wound back over the head, then flung forward.
        const double wind = u < 0.6 ? u / 0.6 : 1 - (u - 0.6) / 0.4;
        double& lift = word == "throw_left" ? p.leftLift : p.rightLift;
        double& reach = word == "throw_left" ? p.leftReach : p.rightReach;
        lift = 0.3 + 0.9 * wind;
        reach = u < 0.6 ? 0 : (u - 0.6) / 0.4 * 0.6;
        p.clawOpen = u < 0.6 ? 0 : 1;
    }
    return p;
}

// The crab's side: +1 its left (screen right), -1 its right.
double clawX(const BossPose& p, int side) {
    const double reach = side > 0 ? p.leftReach : p.rightReach;
    return side * (175 - 90 * reach);
}
double clawY(const BossPose& p, int side) {
    const double lift = side > 0 ? p.leftLift : p.rightLift;
    return 95 + 70 * lift + p.bob;
}

void drawBody(cairo_t* cr, const BossPose& p) {
    // Legs first: three a side, tips on the sea bed.
    cairo_set_line_cap(cr, CAIRO_LINE_CAP_ROUND);
    for (int side : {-1, 1}) {
        for (int leg = 0; leg < 3; ++leg) {
            const double rootX = side * (40 + 28 * leg), rootY = 50 + p.bob;
            const double kneeX = side * (95 + 30 * leg), kneeY = 45 - 6 * leg + p.bob;
            const double tipX = side * (115 + 32 * leg), tipY = -12.0;
            cairo_move_to(cr, px(rootX), py(rootY));
            cairo_line_to(cr, px(kneeX), py(kneeY));
            cairo_line_to(cr, px(tipX), py(tipY));
            setColour(cr, kOutline);
            cairo_set_line_width(cr, 22);
            cairo_stroke_preserve(cr);
            setColour(cr, kShellDark);
            cairo_set_line_width(cr, 15);
            cairo_stroke(cr);
        }
    }
    // The great round shell, flattened by a slam.
    const double ry = 70 * (1 - p.squash);
    ellipsePath(cr, px(-4), py(90 + p.bob - 10 * p.squash), 130 * kT * (1 + 0.15 * p.squash), ry * kT);
    fillAndOutline(cr, kShell, kOutline, 6);
    // Belly plates and a few coconut-like ridges on the back.
    for (int i = 0; i < 4; ++i) {
        ellipsePath(cr, px(-4), py(52 + p.bob + i * 9), (80 - i * 15) * kT, 7 * kT);
        setColour(cr, kBelly, 0.85);
        cairo_fill(cr);
    }
    for (int i = -2; i <= 2; ++i) {
        cairo_move_to(cr, px(-4 + i * 38), py(150 + p.bob - std::abs(i) * 14 - 10 * p.squash));
        cairo_line_to(cr, px(-4 + i * 30), py(110 + p.bob - 8 * p.squash));
        setColour(cr, kShellDark);
        cairo_set_line_width(cr, 7);
        cairo_stroke(cr);
    }
    ellipsePath(cr, px(-50), py(130 + p.bob), 28 * kT, 12 * kT);
    setColour(cr, kShellLight, 0.6);
    cairo_fill(cr);
}

void drawHead(cairo_t* cr, const BossPose& p) {
    const double headY = 176 + p.bob;
    // Eye stalks up to the two eyes.
    for (int side : {-1, 1}) {
        const double eyeX = side < 0 ? -29 : 11;
        cairo_move_to(cr, px(eyeX * 0.6 - 9), py(headY));
        cairo_line_to(cr, px(eyeX), py(209 + p.bob));
        setColour(cr, kOutline);
        cairo_set_line_width(cr, 16);
        cairo_stroke_preserve(cr);
        setColour(cr, kShellDark);
        cairo_set_line_width(cr, 10);
        cairo_stroke(cr);
    }
    // Antennae.
    for (int side : {-1, 1}) {
        cairo_move_to(cr, px(-9 + side * 20), py(headY + 10));
        cairo_curve_to(cr, px(-9 + side * 60), py(headY + 70), px(-9 + side * 110), py(headY + 60),
                       px(-9 + side * 140), py(headY + 20));
        setColour(cr, kShellDark);
        cairo_set_line_width(cr, 5);
        cairo_stroke(cr);
    }
    // The head plate.
    ellipsePath(cr, px(-9), py(headY - 4), 62 * kT, 30 * kT);
    fillAndOutline(cr, kShell, kOutline, 6);
    // Eyes: black beads with a glint, or crossed out once broken; heavy grumpy brows.
    for (int side : {-1, 1}) {
        const double eyeX = side < 0 ? -29 : 11;
        const bool broken = side < 0 ? p.rightEye != 0 : p.leftEye != 0;
        const double ex = px(eyeX), ey = py(209 + p.bob);
        ellipsePath(cr, ex, ey, 19 * kT, 19 * kT);
        fillAndOutline(cr, broken ? hex(0x5A5A5A) : hex(0xF4EFD8), kOutline, 5);
        if (broken) {
            cairo_set_line_width(cr, 7);
            setColour(cr, hex(0x1A1A1A));
            cairo_move_to(cr, ex - 14, ey - 14);
            cairo_line_to(cr, ex + 14, ey + 14);
            cairo_move_to(cr, ex + 14, ey - 14);
            cairo_line_to(cr, ex - 14, ey + 14);
            cairo_stroke(cr);
        } else {
            ellipsePath(cr, ex + side * -4, ey + 4, 10 * kT, 10 * kT);
            setColour(cr, hex(0x111111));
            cairo_fill(cr);
            ellipsePath(cr, ex + side * -8, ey - 4, 3 * kT, 3 * kT);
            setColour(cr, hex(0xFFFFFF));
            cairo_fill(cr);
        }
        // The brow slants down toward the middle.
        cairo_move_to(cr, ex - side * 30, ey - 36 - 10 * p.anger);
        cairo_line_to(cr, ex + side * 30, ey - 30 + 8 * p.anger);
        setColour(cr, kOutline);
        cairo_set_line_width(cr, 10);
        cairo_stroke(cr);
    }
    // The mouth: a sulky frown, or open and glowing once it is the last weak point.
    const double mx = px(-9), my = py(184 + p.bob);
    if (p.mouthOpen) {
        ellipsePath(cr, mx, my, 26 * kT, 18 * kT);
        fillAndOutline(cr, hex(0x3A0A0A), kOutline, 5);
        ellipsePath(cr, mx, my + 6, 16 * kT, 9 * kT);
        setColour(cr, hex(0xFF5A3A), 0.8);
        cairo_fill(cr);
    } else {
        cairo_move_to(cr, mx - 34, my + 10);
        cairo_curve_to(cr, mx - 12, my - 14, mx + 12, my - 14, mx + 34, my + 10);
        setColour(cr, kOutline);
        cairo_set_line_width(cr, 8);
        cairo_stroke(cr);
    }
}

// An arm from the shell's shoulder to the claw.
void drawArm(cairo_t* cr, const BossPose& p, int side) {
    const double sx = side * 95, sy = 110 + p.bob;
    const double cx = clawX(p, side), cy = clawY(p, side);
    const double ex = (sx + cx) / 2 + side * 40, ey = (sy + cy) / 2 - 20;
    cairo_set_line_cap(cr, CAIRO_LINE_CAP_ROUND);
    cairo_move_to(cr, px(sx), py(sy));
    cairo_line_to(cr, px(ex), py(ey));
    cairo_line_to(cr, px(cx), py(cy));
    setColour(cr, kOutline);
    cairo_set_line_width(cr, 40);
    cairo_stroke_preserve(cr);
    setColour(cr, kShell);
    cairo_set_line_width(cr, 30);
    cairo_stroke(cr);
    ellipsePath(cr, px(ex), py(ey), 16 * kT, 16 * kT);
    fillAndOutline(cr, kShellDark, kOutline, 4);
}

// A huge pincer at the end of the arm, opening by p.clawOpen.
void drawClaw(cairo_t* cr, const BossPose& p, int side) {
    const double cx = px(clawX(p, side)), cy = py(clawY(p, side));
    const double open = 0.15 + 0.5 * p.clawOpen;
    cairo_save(cr);
    cairo_translate(cr, cx, cy);
    if (side < 0) cairo_scale(cr, -1, 1);
    // Palm.
    ellipsePath(cr, 0, 0, 48 * kT, 34 * kT);
    fillAndOutline(cr, kShell, kOutline, 6);
    ellipsePath(cr, -10, -8, 24 * kT, 12 * kT);
    setColour(cr, kShellLight, 0.5);
    cairo_fill(cr);
    // Upper and lower fingers.
    for (int finger : {-1, 1}) {
        cairo_save(cr);
        cairo_translate(cr, 40 * kT, 0);
        cairo_rotate(cr, finger * open);
        cairo_move_to(cr, 0, -16 * finger);
        cairo_curve_to(cr, 30 * kT, -26 * finger * kT, 58 * kT, -10 * finger * kT, 64 * kT, 0);
        cairo_curve_to(cr, 40 * kT, 4 * finger * kT, 20 * kT, 6 * finger * kT, 0, 16 * finger);
        cairo_close_path(cr);
        fillAndOutline(cr, finger < 0 ? kShell : kShellDark, kOutline, 5);
        cairo_restore(cr);
    }
    cairo_restore(cr);
}

Image drawPart(const std::string& part, const BossPose& p) {
    cairo_surface_t* surface = cairo_image_surface_create(CAIRO_FORMAT_ARGB32, kWidth, kHeight);
    cairo_t* cr = cairo_create(surface);
    cairo_set_line_join(cr, CAIRO_LINE_JOIN_ROUND);
    if (part == "body")
        drawBody(cr, p);
    else if (part == "head")
        drawHead(cr, p);
    else if (part == "l_arm")
        drawArm(cr, p, 1);
    else if (part == "r_arm")
        drawArm(cr, p, -1);
    else if (part == "l_claw")
        drawClaw(cr, p, 1);
    else if (part == "r_claw")
        drawClaw(cr, p, -1);
    return finishDrawing(surface, cr);
}

// Frames of one animation: at most kMaxPoses pictures, the other names sharing them.
void addAnimation(std::vector<SheetFrame>& frames, const std::string& sprite, const std::string& word,
                  int count, Image (*draw)(const std::string&, const std::string&, int, int),
                  const std::string& part) {
    if (count <= 0) return;
    const int poses = std::min(count, kMaxPoses);
    for (int pose = 0; pose < poses; ++pose) {
        SheetFrame frame;
        frame.picture = draw(part, word, pose, poses);
        bool first = true;
        for (int n = 1; n <= count; ++n) {
            if ((n - 1) * poses / count != pose) continue;
            if (first)
                frame.name = frameName(sprite, word, n);
            else
                frame.sameAs.push_back(frameName(sprite, word, n));
            first = false;
        }
        frames.push_back(std::move(frame));
    }
}

Image partFrame(const std::string& part, const std::string& word, int pose, int poses) {
    return drawPart(part, poseOf(word, pose, poses));
}

// The swipe streak (scale 10/7: one point is 1.4 texels): a white arc sweeping down across the
// crab's front, brightest at its head, fading as it goes.
Image swipeFrame(const std::string&, const std::string&, int pose, int poses) {
    const int w = 640, h = 720;
    const double t = 1.4;
    cairo_surface_t* surface = cairo_image_surface_create(CAIRO_FORMAT_ARGB32, w, h);
    cairo_t* cr = cairo_create(surface);
    const double u = poses > 1 ? static_cast<double>(pose) / (poses - 1) : 1.0;
    const double cx = w / 2.0, cy = h / 2.0;
    cairo_set_line_cap(cr, CAIRO_LINE_CAP_ROUND);
    for (int band = 0; band < 3; ++band) {
        const double end = kPi * (0.15 + 0.7 * u) - band * 0.12;
        cairo_new_path(cr);
        cairo_arc(cr, cx, cy - 60 * t, (180 - band * 22) * t, kPi * 0.1, std::max(kPi * 0.1, end));
        cairo_set_source_rgba(cr, 1.0, 1.0, 0.95, (0.85 - band * 0.25) * (1 - 0.6 * u));
        cairo_set_line_width(cr, (18 - band * 5) * t);
        cairo_stroke(cr);
    }
    return finishDrawing(surface, cr);
}

// The weak-point glow (scale 1 / 0.58, drawn additively): a pulsing warm halo around the mouth,
// 184 points above and 9 left of the centre.
Image weakFrame(const std::string&, const std::string&, int pose, int poses) {
    const int w = 300, h = 520;
    const double t = 2.0 * 0.58;
    cairo_surface_t* surface = cairo_image_surface_create(CAIRO_FORMAT_ARGB32, w, h);
    cairo_t* cr = cairo_create(surface);
    const double u = poses > 1 ? static_cast<double>(pose) / (poses - 1) : 1.0;
    const double gx = w / 2.0 - 9 * t, gy = h / 2.0 - 184 * t;
    const double r = (30 + 30 * std::sin(u * kPi)) * t;
    cairo_pattern_t* halo = cairo_pattern_create_radial(gx, gy, 0, gx, gy, r);
    cairo_pattern_add_color_stop_rgba(halo, 0.0, 1.0, 0.9, 0.6, 0.9);
    cairo_pattern_add_color_stop_rgba(halo, 0.5, 1.0, 0.5, 0.2, 0.5);
    cairo_pattern_add_color_stop_rgba(halo, 1.0, 1.0, 0.3, 0.1, 0.0);
    ellipsePath(cr, gx, gy, r, r);
    cairo_set_source(cr, halo);
    cairo_fill(cr);
    cairo_pattern_destroy(halo);
    return finishDrawing(surface, cr);
}

} // namespace

bool buildBossSheets(const BuildPaths& paths, const std::map<std::string, int>& counts) {
    auto count = [&counts](const char* word) {
        const auto found = counts.find(word);
        return found == counts.end() ? 0 : found->second;
    };
    bool ok = true;
    for (const char* part : {"body", "head", "l_arm", "r_arm", "l_claw", "r_claw"}) {
        std::vector<SheetFrame> frames;
        for (const char* word : {"idle", "quake", "swipe", "throw_left", "throw_right"}) {
            if (count(word) <= 0) {
                logLine(std::string("animation settings of coconut_crab lack ") + word);
                ok = false;
            }
            addAnimation(frames, part, word, count(word), partFrame, part);
        }
        if (std::string(part) == "head")
            for (const char* pose : {"idle_ko_left", "idle_ko_right", "idle_ko", "idle_weakpoint"})
                addAnimation(frames, part, pose, count(pose), partFrame, part);
        SpriteSheet sheet;
        ok = sheet.pack(std::move(frames)) &&
             sheet.write(paths.target + "/sheets", std::string("coconut_crab_") + part + "_ss") && ok;
    }
    std::vector<SheetFrame> swipe;
    addAnimation(swipe, "swipe", "sfx", 9, swipeFrame, "");
    SpriteSheet swipeSheet;
    ok = swipeSheet.pack(std::move(swipe)) &&
         swipeSheet.write(paths.target + "/sheets", "coconut_crab_sfx_ss") && ok;
    std::vector<SheetFrame> weak;
    addAnimation(weak, "weak", "sfx", 23, weakFrame, "");
    SpriteSheet weakSheet;
    ok = weakSheet.pack(std::move(weak)) &&
         weakSheet.write(paths.target + "/sheets", "coconut_crab_sfx_weakpoint_ss") && ok;
    logLine("boss: the coconut crab's eight sheets");
    return ok;
}

} // namespace kvcontent
