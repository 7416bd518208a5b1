#pragma once
// Small cairo helpers shared by the drawing programs of the creatures.
#include <cairo.h>

#include <cmath>
#include <cstdio>
#include <string>

namespace kvcontent {
namespace draw {

const double kPi = 3.14159265358979;

struct Rgb {
    double r, g, b;
};
inline Rgb hex(unsigned v) {
    return {((v >> 16) & 0xFF) / 255.0, ((v >> 8) & 0xFF) / 255.0, (v & 0xFF) / 255.0};
}
inline void setColour(cairo_t* cr, Rgb c, double a = 1.0) {
    cairo_set_source_rgba(cr, c.r, c.g, c.b, a);
}

inline void ellipsePath(cairo_t* cr, double cx, double cy, double rx, double ry) {
    cairo_save(cr);
    cairo_translate(cr, cx, cy);
    cairo_scale(cr, rx, ry);
    cairo_new_sub_path(cr);
    cairo_arc(cr, 0, 0, 1, 0, 2 * kPi);
    cairo_restore(cr);
}

inline void strokeOutline(cairo_t* cr, Rgb outline, double width) {
    setColour(cr, outline);
    cairo_set_line_width(cr, width);
    cairo_stroke(cr);
}

/// Fills the current path with a colour and outlines it.
inline void fillAndOutline(cairo_t* cr, Rgb fill, Rgb outline, double width) {
    setColour(cr, fill);
    cairo_fill_preserve(cr);
    strokeOutline(cr, outline, width);
}

/// A four-pointed twinkle of size s.
inline void sparkle(cairo_t* cr, double x, double y, double s, Rgb colour) {
    cairo_move_to(cr, x, y - s);
    cairo_curve_to(cr, x, y, x, y, x + s, y);
    cairo_curve_to(cr, x, y, x, y, x, y + s);
    cairo_curve_to(cr, x, y, x, y, x - s, y);
    cairo_curve_to(cr, x, y, x, y, x, y - s);
    setColour(cr, colour);
    cairo_fill(cr);
}

/// "<sprite>_<word>_NN.png", the frame names the views ask the frame cache for.
inline std::string frameName(const std::string& sprite, const std::string& word, int number) {
    char buffer[128];
    std::snprintf(buffer, sizeof buffer, "%s_%s_%02d.png", sprite.c_str(), word.c_str(), number);
    return buffer;
}

} // namespace draw
} // namespace kvcontent
