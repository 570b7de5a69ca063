// Kestrune picture generator: palette, seeded random numbers and the drawing helpers that
// every picture shares.
#include <cmath>

#include "gp.h"

Col rgb(int r, int g, int b, double a) { return Col{r / 255.0, g / 255.0, b / 255.0, a}; }

Col mix(Col a, Col b, double t) {
    return Col{a.r + (b.r - a.r) * t, a.g + (b.g - a.g) * t, a.b + (b.b - a.b) * t, a.a + (b.a - a.a) * t};
}

Col lighter(Col c, double t) {
    Col l = mix(c, pal::light, t);
    l.a = c.a;
    return l;
}

Col darker(Col c, double t) {
    Col d = mix(c, pal::shadow, t);
    d.a = c.a;
    return d;
}

Col with_alpha(Col c, double a) {
    c.a = a;
    return c;
}

namespace pal {
const Col ink = rgb(54, 32, 26);
const Col light = rgb(255, 246, 220);
const Col shadow = rgb(84, 46, 52);
const Col skin = rgb(252, 206, 168);
const Col cheek = rgb(242, 128, 112);
const Col hair = rgb(198, 96, 40);
const Col hat = rgb(242, 212, 128);
const Col hat_band = rgb(88, 172, 92);
const Col hat_flower = rgb(255, 156, 196);
const Col cream = rgb(246, 232, 196);
const Col shirt = rgb(244, 192, 72);
const Col overalls = rgb(76, 124, 198);
const Col boot = rgb(122, 74, 46);
const Col wicker = rgb(218, 164, 90);
const Col wicker_dark = rgb(152, 98, 48);
const Col hen = rgb(186, 98, 52);
const Col hen_breast = rgb(242, 210, 156);
const Col comb = rgb(224, 52, 48);
const Col beak = rgb(250, 184, 48);
const Col egg_white = rgb(252, 247, 234);
const Col egg_gold = rgb(252, 200, 56);
const Col rotten = rgb(146, 172, 78);
const Col chick = rgb(255, 220, 76);
const Col yolk = rgb(255, 178, 28);
const Col wood = rgb(178, 116, 68);
const Col wood_dark = rgb(118, 72, 42);
const Col wood_light = rgb(216, 160, 102);
const Col straw = rgb(238, 202, 112);
const Col straw_dark = rgb(196, 148, 66);
const Col eye = rgb(40, 26, 26);
const Col white = rgb(255, 255, 255);
const Col sky = rgb(150, 200, 240);
const Col paint_a = rgb(232, 92, 124);
const Col paint_b = rgb(86, 168, 222);
const Col paint_c = rgb(126, 198, 104);
const Col leaf = rgb(108, 160, 70);
}  // namespace pal

uint32_t Rng::next() {
    // splitmix64: the same sequence on every machine and library.
    state += 0x9E3779B97F4A7C15ull;
    uint64_t z = state;
    z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
    z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
    z ^= z >> 31;
    return (uint32_t)(z >> 32);
}

double Rng::uniform() { return next() / 4294967296.0; }

double Rng::range(double lo, double hi) { return lo + (hi - lo) * uniform(); }

void set_col(cairo_t *cr, Col c) { cairo_set_source_rgba(cr, c.r, c.g, c.b, c.a); }

void fill_lit(cairo_t *cr, Col base, double strength) {
    double x0, y0, x1, y1;
    cairo_path_extents(cr, &x0, &y0, &x1, &y1);
    double w = x1 - x0;
    // The light comes from the upper left: the gradient runs from the top-left towards
    // the bottom-right of the shape, mostly downwards.
    cairo_pattern_t *p = cairo_pattern_create_linear(x0 + 0.2 * w, y0, x0 + 0.6 * w, y1);
    Col hi = lighter(base, 0.32 * strength);
    Col lo = darker(base, 0.30 * strength);
    cairo_pattern_add_color_stop_rgba(p, 0.0, hi.r, hi.g, hi.b, hi.a);
    cairo_pattern_add_color_stop_rgba(p, 0.45, base.r, base.g, base.b, base.a);
    cairo_pattern_add_color_stop_rgba(p, 1.0, lo.r, lo.g, lo.b, lo.a);
    cairo_set_source(cr, p);
    cairo_fill_preserve(cr);
    cairo_pattern_destroy(p);
}

void outline(cairo_t *cr, double lw) {
    set_col(cr, pal::ink);
    cairo_set_line_width(cr, lw);
    cairo_set_line_join(cr, CAIRO_LINE_JOIN_ROUND);
    cairo_set_line_cap(cr, CAIRO_LINE_CAP_ROUND);
    cairo_stroke(cr);
}

void shape(cairo_t *cr, Col base, double lw, double strength) {
    // Outline first, twice as wide, then the fill over its inner half: the path may be a
    // union of overlapping sub-paths (a limb of several capsules) and still gets one
    // clean outline around the whole.
    set_col(cr, pal::ink);
    cairo_set_line_width(cr, 2 * lw);
    cairo_set_line_join(cr, CAIRO_LINE_JOIN_ROUND);
    cairo_set_line_cap(cr, CAIRO_LINE_CAP_ROUND);
    cairo_set_fill_rule(cr, CAIRO_FILL_RULE_WINDING);
    cairo_stroke_preserve(cr);
    fill_lit(cr, base, strength);
    cairo_new_path(cr);
}

void radial_spot(cairo_t *cr, double cx, double cy, double rx, double ry, Col c, double alpha,
                 double mid, double mid_alpha) {
    cairo_save(cr);
    cairo_translate(cr, cx, cy);
    cairo_scale(cr, rx, ry);
    cairo_pattern_t *p = cairo_pattern_create_radial(0, 0, 0, 0, 0, 1);
    cairo_pattern_add_color_stop_rgba(p, 0.0, c.r, c.g, c.b, alpha);
    if (mid > 0.0) cairo_pattern_add_color_stop_rgba(p, mid, c.r, c.g, c.b, mid_alpha);
    cairo_pattern_add_color_stop_rgba(p, 1.0, c.r, c.g, c.b, 0);
    cairo_set_source(cr, p);
    cairo_arc(cr, 0, 0, 1, 0, 2 * M_PI);
    cairo_fill(cr);
    cairo_pattern_destroy(p);
    cairo_restore(cr);
}

void gloss(cairo_t *cr, double cx, double cy, double rx, double ry, double alpha) {
    radial_spot(cr, cx, cy, rx, ry, Col{1, 1, 1, 1}, alpha, 0.5, alpha * 0.55);
}

void soft_shadow(cairo_t *cr, double cx, double cy, double rx, double ry, double alpha) {
    Col s = pal::shadow;
    Col dark = {s.r * 0.5, s.g * 0.5, s.b * 0.5, 1};
    radial_spot(cr, cx, cy, rx, ry, dark, alpha, 0.6, alpha * 0.6);
}

void path_ellipse(cairo_t *cr, double cx, double cy, double rx, double ry, double angle) {
    cairo_save(cr);
    cairo_translate(cr, cx, cy);
    cairo_rotate(cr, angle);
    cairo_scale(cr, rx, ry);
    cairo_new_sub_path(cr);
    cairo_arc(cr, 0, 0, 1, 0, 2 * M_PI);
    cairo_close_path(cr);
    cairo_restore(cr);
}

void path_round_rect(cairo_t *cr, double x, double y, double w, double h, double r) {
    if (r > w / 2) r = w / 2;
    if (r > h / 2) r = h / 2;
    cairo_new_sub_path(cr);
    cairo_arc(cr, x + w - r, y + r, r, -M_PI / 2, 0);
    cairo_arc(cr, x + w - r, y + h - r, r, 0, M_PI / 2);
    cairo_arc(cr, x + r, y + h - r, r, M_PI / 2, M_PI);
    cairo_arc(cr, x + r, y + r, r, M_PI, 1.5 * M_PI);
    cairo_close_path(cr);
}

void path_capsule(cairo_t *cr, double x1, double y1, double x2, double y2, double r1, double r2) {
    double dx = x2 - x1;
    double dy = y2 - y1;
    double len = std::sqrt(dx * dx + dy * dy);
    if (len < 1e-9) {
        cairo_new_sub_path(cr);
        cairo_arc(cr, x1, y1, r1 > r2 ? r1 : r2, 0, 2 * M_PI);
        cairo_close_path(cr);
        return;
    }
    double a = std::atan2(dy, dx);
    // Tangent lines between two circles of different radii.
    double d = (r1 - r2) / len;
    if (d > 0.99) d = 0.99;
    if (d < -0.99) d = -0.99;
    double off = std::acos(d);
    cairo_new_sub_path(cr);
    cairo_arc(cr, x1, y1, r1, a + off, a - off + 2 * M_PI);
    cairo_arc(cr, x2, y2, r2, a - off, a + off);
    cairo_close_path(cr);
}

void path_egg(cairo_t *cr, double cx, double cy, double w, double h) {
    // Two half-ellipses: a narrower top and a fuller bottom, the widest point below the middle.
    double rx = w / 2;
    double top = h * 0.56;
    double bottom = h * 0.44;
    double my = cy + h * 0.06;
    cairo_new_sub_path(cr);
    cairo_save(cr);
    cairo_translate(cr, cx, my);
    cairo_scale(cr, rx, top);
    cairo_arc(cr, 0, 0, 1, M_PI, 2 * M_PI);
    cairo_restore(cr);
    cairo_save(cr);
    cairo_translate(cr, cx, my);
    cairo_scale(cr, rx, bottom);
    cairo_arc(cr, 0, 0, 1, 0, M_PI);
    cairo_restore(cr);
    cairo_close_path(cr);
}

void inked_stroke(cairo_t *cr, Col c, double width, double lw) {
    cairo_set_line_cap(cr, CAIRO_LINE_CAP_ROUND);
    cairo_set_line_join(cr, CAIRO_LINE_JOIN_ROUND);
    set_col(cr, pal::ink);
    cairo_set_line_width(cr, width + 2 * lw);
    cairo_stroke_preserve(cr);
    set_col(cr, c);
    cairo_set_line_width(cr, width);
    cairo_stroke(cr);
}

// The world painter's hero sizes and side-view heights.
const double hero_reach[4] = {364, 242, 249, 282};
const double hero_frame_fractions[6] = {0.15, 0.32, 0.48, 0.64, 0.80, 0.98};
