// The front end's pictures: the main menu's buttons and logo (SVG sources), its animated
// underwater background and the tiling light caustics laid over every menu (drawing
// programs). The background pictures fill the window at the sprite scale the main menu
// uses (1.9 x 2.1 at content scale 2), so they are 1012 x 572 texels.
#include <cairo.h>

#include <cmath>
#include <cstdio>
#include <cstring>

#include "tools/content/ContentFiles.h"
#include "tools/content/ContentSteps.h"
#include "tools/content/DrawingKit.h"
#include "tools/content/SpriteSheet.h"

namespace kvcontent {

namespace {
using namespace draw;

// A pressed button: darker and nudged down, on the same canvas.
Image pressed(const Image& up) {
    Image down = up;
    std::fill(down.rgba.begin(), down.rgba.end(), 0);
    for (int y = 0; y + 3 < up.height; ++y) {
        for (int x = 0; x < up.width; ++x) {
            const uint8_t* p = up.pixel(x, y);
            uint8_t* q = down.pixel(x, y + 3);
            q[0] = static_cast<uint8_t>(p[0] * 0.78);
            q[1] = static_cast<uint8_t>(p[1] * 0.78);
            q[2] = static_cast<uint8_t>(p[2] * 0.78);
            q[3] = p[3];
        }
    }
    return down;
}

struct Button {
    const char* up;
    const char* down;
    int width, height;
};
const Button kButtons[] = {
    {"KV_Bt_PlayUp.png", "KV_Bt_PlayDown.png", 340, 222},
    {"KV_Bt_ReglageUp.png", "KV_Bt_ReglageDown.png", 88, 88},
    {"KV_Bt_CreditUp.png", "KV_Bt_CreditDown.png", 88, 88},
    {"KV_BT_Quit2_UP_PC.png", "KV_BT_Quit2_Down_PC.png", 88, 88},
};

bool buildMenuSheet(const BuildPaths& paths) {
    std::vector<SheetFrame> frames;
    bool ok = true;
    auto svg = [&paths](const std::string& frame, int w, int h) {
        return rasteriseSvg(paths.source + "/art/menu/" + frame.substr(0, frame.size() - 4) + ".svg", w, h);
    };
    for (const Button& button : kButtons) {
        Image up = svg(button.up, button.width, button.height);
        if (up.empty()) {
            ok = false;
            continue;
        }
        frames.push_back({button.down, pressed(up)});
        frames.push_back({button.up, std::move(up)});
    }
    Image logo = svg("KV_Logo.png", 800, 300);
    if (logo.empty())
        ok = false;
    else
        frames.push_back({"KV_Logo.png", std::move(logo)});
    SpriteSheet sheet;
    return ok && sheet.pack(std::move(frames)) && sheet.write(paths.target + "/sheets", "menu_88_ss");
}

// Light caustics: a web of bright lines from a few interfering waves. Every wave has a
// whole number of periods across the tile and over the 16 frames, so tiles meet without a
// seam and the loop has no jump.
Image causticFrame(int size, int frame) {
    Image image;
    image.width = image.height = size;
    image.rgba.assign(static_cast<size_t>(size) * size * 4, 0);
    const double waves[][5] = {{1, 2, 1, 0.0, 1.0},
                               {-2, 1, -1, 1.3, 1.0},
                               {3, -1, 2, 2.1, 0.8},
                               {1, -3, -2, 4.2, 0.8},
                               {2, 3, 1, 0.7, 0.6}};
    const double time = frame / 16.0;
    for (int y = 0; y < size; ++y) {
        for (int x = 0; x < size; ++x) {
            double sum = 0, weight = 0;
            for (const auto& w : waves) {
                sum += w[4] * std::cos(2 * kPi * (w[0] * x + w[1] * y) / size + 2 * kPi * w[2] * time + w[3]);
                weight += w[4];
            }
            const double ridge = std::pow(1.0 - std::fabs(sum) / weight, 7.0);
            uint8_t* p = image.pixel(x, y);
            p[0] = 220;
            p[1] = 250;
            p[2] = 255;
            // A faint floor keeps every texel, so sheet packing never trims a tile. The light is
            // added over whole screens (menus, levels): bright lines would drown what lies below.
            p[3] = static_cast<uint8_t>(std::min(255.0, 4 + 64 * ridge));
        }
    }
    return image;
}

bool buildCausticSheet(const BuildPaths& paths) {
    std::vector<SheetFrame> frames;
    char name[32];
    for (int i = 0; i < 16; ++i) {
        std::snprintf(name, sizeof name, "caustic_%02d.png", i + 1);
        frames.push_back({name, causticFrame(254, i)});
    }
    SpriteSheet sheet;
    return sheet.pack(std::move(frames), false) && sheet.write(paths.target + "/sheets", "caustic_ss");
}

// One picture of the main menu's background loop at time t in [0, 1).
Image backgroundPicture(double t) {
    const int w = 1012, h = 572;
    cairo_surface_t* surface = cairo_image_surface_create(CAIRO_FORMAT_ARGB32, w, h);
    cairo_t* cr = cairo_create(surface);
    const double turn = 2 * kPi * t;
    // Water: light at the surface, deep blue below.
    cairo_pattern_t* sea = cairo_pattern_create_linear(0, 0, 0, h);
    cairo_pattern_add_color_stop_rgb(sea, 0, 0.25, 0.78, 0.88);
    cairo_pattern_add_color_stop_rgb(sea, 0.5, 0.08, 0.47, 0.66);
    cairo_pattern_add_color_stop_rgb(sea, 1, 0.04, 0.18, 0.35);
    cairo_set_source(cr, sea);
    cairo_paint(cr);
    cairo_pattern_destroy(sea);
    // Light rays swaying slowly from the surface.
    const double rays[][3] = {{150, 90, 0.0}, {430, 60, 1.7}, {690, 100, 3.1}, {900, 70, 4.4}};
    for (const auto& r : rays) {
        const double sway = 25 * std::sin(turn + r[2]);
        const double alpha = 0.16 + 0.08 * std::sin(turn * 2 + r[2]);
        cairo_pattern_t* ray = cairo_pattern_create_linear(0, 0, 0, h);
        cairo_pattern_add_color_stop_rgba(ray, 0, 1, 1, 1, alpha);
        cairo_pattern_add_color_stop_rgba(ray, 1, 1, 1, 1, 0);
        cairo_move_to(cr, r[0], 0);
        cairo_line_to(cr, r[0] + r[1], 0);
        cairo_line_to(cr, r[0] + r[1] * 0.6 + sway - 60, h);
        cairo_line_to(cr, r[0] - r[1] * 0.8 + sway - 60, h);
        cairo_close_path(cr);
        cairo_set_source(cr, ray);
        cairo_fill(cr);
        cairo_pattern_destroy(ray);
    }
    // Far reef.
    cairo_move_to(cr, 0, 400);
    for (int i = 0; i <= 12; ++i) {
        const double x = i * w / 12.0;
        cairo_curve_to(cr, x - 40, 360 + 25 * ((i * 7) % 3), x - 20, 350 + 20 * ((i * 5) % 4), x,
                       380 + 15 * (i % 3));
    }
    cairo_line_to(cr, w, h);
    cairo_line_to(cr, 0, h);
    cairo_close_path(cr);
    cairo_set_source_rgba(cr, 0.06, 0.3, 0.48, 0.85);
    cairo_fill(cr);
    // Seaweed, swaying.
    const double weeds[][4] = {
        {60, 250, 12, 0.0}, {95, 190, 9, 0.8}, {930, 260, 12, 2.0}, {965, 200, 9, 2.9}, {520, 120, 8, 1.4}};
    cairo_set_line_cap(cr, CAIRO_LINE_CAP_ROUND);
    for (const auto& s : weeds) {
        const double x = s[0], height = s[1], sway = 14 * std::sin(turn + s[3]);
        cairo_move_to(cr, x, h);
        cairo_curve_to(cr, x - 20 + sway * 0.3, h - height * 0.35, x + 20 + sway * 0.7, h - height * 0.65,
                       x + sway, h - height);
        setColour(cr, hex(0x1f6b3a));
        cairo_set_line_width(cr, s[2] + 5);
        cairo_stroke_preserve(cr);
        setColour(cr, hex(0x3bbf6c));
        cairo_set_line_width(cr, s[2]);
        cairo_stroke(cr);
    }
    // Sand and rocks.
    cairo_move_to(cr, 0, 500);
    cairo_curve_to(cr, 250, 470, 420, 530, 620, 495);
    cairo_curve_to(cr, 780, 470, 900, 505, w, 490);
    cairo_line_to(cr, w, h);
    cairo_line_to(cr, 0, h);
    cairo_close_path(cr);
    cairo_pattern_t* sand = cairo_pattern_create_linear(0, 470, 0, h);
    cairo_pattern_add_color_stop_rgb(sand, 0, 0.94, 0.82, 0.54);
    cairo_pattern_add_color_stop_rgb(sand, 1, 0.73, 0.54, 0.29);
    cairo_set_source(cr, sand);
    cairo_fill(cr);
    cairo_pattern_destroy(sand);
    ellipsePath(cr, 260, 505, 80, 30);
    setColour(cr, hex(0x5d6f86));
    cairo_fill(cr);
    ellipsePath(cr, 245, 492, 45, 15);
    setColour(cr, hex(0x7b8ea6));
    cairo_fill(cr);
    ellipsePath(cr, 760, 515, 60, 22);
    setColour(cr, hex(0x5d6f86));
    cairo_fill(cr);
    // Small fish crossing, one whole crossing per loop.
    const double fish[][4] = {{0.0, 180, 1, 0xffb35c}, {0.45, 260, -1, 0xff7fbf}, {0.7, 130, 1, 0x8fd63c}};
    for (const auto& f : fish) {
        double u = t + f[0];
        u -= std::floor(u);
        const double x = f[2] > 0 ? -60 + u * (w + 120) : w + 60 - u * (w + 120);
        const double y = f[1] + 10 * std::sin(turn * 2 + f[0] * 6);
        cairo_save(cr);
        cairo_translate(cr, x, y);
        cairo_scale(cr, f[2], 1);
        ellipsePath(cr, 0, 0, 22, 12);
        fillAndOutline(cr, hex(static_cast<unsigned>(f[3])), hex(0x2a1a10), 2.5);
        cairo_move_to(cr, -18, 0);
        cairo_line_to(cr, -34, -10);
        cairo_line_to(cr, -34, 10);
        cairo_close_path(cr);
        fillAndOutline(cr, hex(static_cast<unsigned>(f[3])), hex(0x2a1a10), 2.5);
        cairo_arc(cr, 10, -3, 3, 0, 2 * kPi);
        cairo_set_source_rgb(cr, 0.1, 0.07, 0.2);
        cairo_fill(cr);
        cairo_restore(cr);
    }
    // Bubbles rising, each column once per loop.
    for (int i = 0; i < 14; ++i) {
        double u = t + i * 0.37;
        u -= std::floor(u);
        const double x = 40 + (i * 173) % (w - 80) + 6 * std::sin(turn * 3 + i);
        const double y = h - 40 - u * (h + 20);
        const double r = 3 + (i % 4) * 2;
        cairo_arc(cr, x, y, r, 0, 2 * kPi);
        cairo_set_source_rgba(cr, 0.87, 0.98, 1, 0.35);
        cairo_fill_preserve(cr);
        cairo_set_source_rgba(cr, 1, 1, 1, 0.8);
        cairo_set_line_width(cr, 1.5);
        cairo_stroke(cr);
    }
    cairo_destroy(cr);
    Image image = imageFromSurface(surface);
    cairo_surface_destroy(surface);
    return image;
}

// 80 frame names, 16 pictures: each picture stands for five frames running. The pictures
// are spread over the fourteen sheets the menu manager loads, "bgr_main_anim_A_ss" on.
bool buildBackgroundSheets(const BuildPaths& paths) {
    const int pictures = 16, names = 80, sheets = 14;
    bool ok = true;
    int next = 0;
    for (int s = 0; s < sheets; ++s) {
        const int end = (pictures * (s + 1)) / sheets;
        std::vector<SheetFrame> frames;
        for (; next < end; ++next) {
            SheetFrame frame;
            char name[40];
            const int per = names / pictures;
            for (int k = 0; k < per; ++k) {
                std::snprintf(name, sizeof name, "bgr_main_anim_%02d.png", next * per + k);
                if (k == 0)
                    frame.name = name;
                else
                    frame.sameAs.push_back(name);
            }
            frame.picture = backgroundPicture(static_cast<double>(next) / pictures);
            frames.push_back(std::move(frame));
        }
        SpriteSheet sheet;
        const std::string sheetName = std::string("bgr_main_anim_") + static_cast<char>('A' + s) + "_ss";
        // An opaque picture needs no alpha: 16-bit colour halves the memory.
        ok = sheet.pack(std::move(frames), false) &&
             sheet.write(paths.target + "/sheets", sheetName, PvrFormat::RGB565) && ok;
    }
    return ok;
}
} // namespace

bool buildFrontEnd(const BuildPaths& paths) {
    bool ok = buildMenuSheet(paths);
    ok = buildCausticSheet(paths) && ok;
    ok = buildBackgroundSheets(paths) && ok;
    logLine("front end: menu, caustics and background sheets");
    return ok;
}

} // namespace kvcontent
