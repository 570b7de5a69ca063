// Kestrune picture generator: the title logo ("Kestrune" in round hand-drawn letters)
// and the hero portrait (Plimby in a round wooden frame).
#include <cmath>
#include <vector>

#include "gp.h"

namespace {

// ---- lettering --------------------------------------------------------------------------
// Each letter is a set of centre lines, stroked thick with round ends: x from 0 at the
// letter's left, y up from the baseline (negative is up). X-height 130, capitals 190.
const double XH = 130, CAP = 190;

struct Letter {
    double width;  // from the left stroke centre to the right one
    void (*path)(cairo_t *);
};

void letter_K(cairo_t *cr) {
    cairo_move_to(cr, 0, -CAP);
    cairo_line_to(cr, 0, 0);
    cairo_move_to(cr, 88, -CAP + 20);
    cairo_line_to(cr, 14, -78);
    cairo_move_to(cr, 30, -92);
    cairo_line_to(cr, 92, 0);
}

void letter_e(cairo_t *cr) {
    double r = 52, cx = 52, cy = -60;
    cairo_move_to(cr, cx - r + 4, cy);
    cairo_line_to(cr, cx + r, cy);
    cairo_arc_negative(cr, cx, cy, r, 0, -M_PI * 2 + 0.75);
}

void letter_s(cairo_t *cr) {
    // Two half-bowls meeting in a diagonal spine.
    double r = 29;
    cairo_arc_negative(cr, 36, -XH + r, r, -0.5, -M_PI * 1.38);
    cairo_curve_to(cr, 20, -XH + 2 * r - 2, 64, -XH + 2 * r + 6, 64, -r - 8);
    cairo_arc(cr, 36, -r, r, 0.0, M_PI * 0.86);
}

void letter_t(cairo_t *cr) {
    cairo_move_to(cr, 30, -170);
    cairo_line_to(cr, 30, -38);
    cairo_curve_to(cr, 30, -5, 55, 0, 78, -12);
    cairo_move_to(cr, -4, -XH + 8);
    cairo_line_to(cr, 72, -XH + 8);
}

void letter_r(cairo_t *cr) {
    cairo_move_to(cr, 0, -XH);
    cairo_line_to(cr, 0, 0);
    cairo_move_to(cr, 0, -78);
    cairo_curve_to(cr, 10, -118, 40, -136, 78, -118);
}

void letter_u(cairo_t *cr) {
    cairo_move_to(cr, 0, -XH);
    cairo_line_to(cr, 0, -46);
    cairo_arc_negative(cr, 42, -46, 42, M_PI, 0);
    cairo_move_to(cr, 84, -XH);
    cairo_line_to(cr, 84, 0);
}

void letter_n(cairo_t *cr) {
    cairo_move_to(cr, 0, -XH);
    cairo_line_to(cr, 0, 0);
    cairo_move_to(cr, 0, -84);
    cairo_arc(cr, 42, -84, 42, M_PI, 2 * M_PI);
    cairo_line_to(cr, 84, 0);
}

const Letter word[8] = {{92, letter_K}, {104, letter_e}, {72, letter_s}, {78, letter_t},
                        {78, letter_r}, {84, letter_u},  {84, letter_n}, {104, letter_e}};

const double STROKE = 44;
const double CREAM = 11;
const double INK = 7;
const double GAP = 40;

// Places letter i: the transform from its own units to the picture.
void place_letter(cairo_t *cr, int i, const double *lefts, double total, double base_y) {
    double x = lefts[i];
    double mid = x + word[i].width / 2;
    double u = (mid - total / 2) / (total / 2);  // -1 .. 1 across the word
    double lift = 26 * (1 - u * u);               // a gentle arch
    double wobble = (i % 2 ? 1 : -1) * 0.035;
    cairo_translate(cr, x, base_y - lift);
    cairo_translate(cr, word[i].width / 2, -XH / 2);
    cairo_rotate(cr, u * 0.08 + wobble);
    cairo_translate(cr, -word[i].width / 2, XH / 2);
}

void stroke_word(cairo_t *cr, const double *lefts, double total, double base_y, double width, Col c,
                 cairo_pattern_t *pattern, double dx, double dy) {
    for (int i = 0; i < 8; i++) {
        cairo_save(cr);
        cairo_translate(cr, dx, dy);
        place_letter(cr, i, lefts, total, base_y);
        cairo_new_sub_path(cr);
        word[i].path(cr);
        cairo_restore(cr);
    }
    cairo_set_line_width(cr, width);
    cairo_set_line_cap(cr, CAIRO_LINE_CAP_ROUND);
    cairo_set_line_join(cr, CAIRO_LINE_JOIN_ROUND);
    if (pattern)
        cairo_set_source(cr, pattern);
    else
        set_col(cr, c);
    cairo_stroke(cr);
}

}  // namespace

cairo_surface_t *make_title_logo() {
    const int w = 1023, h = 360;
    cairo_surface_t *s = cairo_image_surface_create(CAIRO_FORMAT_ARGB32, w, h);
    cairo_t *cr = cairo_create(s);
    double lefts[8];
    double x = 0;
    for (int i = 0; i < 8; i++) {
        lefts[i] = x;
        x += word[i].width + STROKE + GAP - 14;
    }
    double total = x - (STROKE + GAP - 14);
    // The word fills the width with room for the outline; the hen sits on the last e.
    double scale = (w - 70.0) / (total + STROKE + 2 * (CREAM + INK));
    cairo_translate(cr, 20 + (STROKE / 2 + CREAM + INK) * scale, 0);
    cairo_scale(cr, scale, scale);
    double base_y = (h - 100) / scale;

    // Soft shadow, built up from a few widening strokes.
    for (int k = 0; k < 6; k++) {
        stroke_word(cr, lefts, total, base_y, STROKE + 2 * (CREAM + INK) + 8 + k * 6, with_alpha(pal::ink, 0.09),
                    nullptr, 6, 10);
    }
    stroke_word(cr, lefts, total, base_y, STROKE + 2 * (CREAM + INK), pal::ink, nullptr, 0, 0);
    stroke_word(cr, lefts, total, base_y, STROKE + 2 * CREAM, pal::cream, nullptr, 0, 0);
    // The letters: leaf green, lighter at the top.
    cairo_pattern_t *green = cairo_pattern_create_linear(0, base_y - CAP, 0, base_y);
    cairo_pattern_add_color_stop_rgb(green, 0.0, 0.56, 0.8, 0.3);
    cairo_pattern_add_color_stop_rgb(green, 0.55, 0.34, 0.64, 0.2);
    cairo_pattern_add_color_stop_rgb(green, 1.0, 0.2, 0.46, 0.16);
    stroke_word(cr, lefts, total, base_y, STROKE, pal::leaf, green, 0, 0);
    cairo_pattern_destroy(green);
    // Inner dark line and a highlight running along the top of every stroke.
    stroke_word(cr, lefts, total, base_y, STROKE * 0.34, rgb(255, 255, 255, 0.28), nullptr, -5, -7);
    stroke_word(cr, lefts, total, base_y, STROKE * 0.12, rgb(255, 255, 255, 0.6), nullptr, -8, -10);
    cairo_identity_matrix(cr);

    // A hen sitting on top of the last letter.
    double ex = 20 + (STROKE / 2 + CREAM + INK + lefts[7] + word[7].width / 2) * scale;
    double top = (base_y - 2 * 52 - STROKE / 2 - CREAM - INK + 6) * scale;
    const double hen = 150;
    cairo_save(cr);
    cairo_translate(cr, ex - hen * 0.5, top - hen * 0.86);
    cairo_scale(cr, hen, hen);
    draw_sprite(cr, 25);
    cairo_restore(cr);
    cairo_destroy(cr);
    cairo_surface_flush(s);
    return s;
}

cairo_surface_t *make_hero_portrait() {
    const int w = 254, h = 300;
    cairo_surface_t *s = cairo_image_surface_create(CAIRO_FORMAT_ARGB32, w, h);
    cairo_t *cr = cairo_create(s);
    const double cx = 127, cy = 170, r = 110;
    // The frame's inside: a warm barn wall with the window light.
    cairo_save(cr);
    cairo_arc(cr, cx, cy, r, 0, 2 * M_PI);
    cairo_clip(cr);
    cairo_pattern_t *bg = cairo_pattern_create_radial(cx - 30, cy - 40, 10, cx, cy, r * 1.2);
    cairo_pattern_add_color_stop_rgb(bg, 0, 0.98, 0.86, 0.6);
    cairo_pattern_add_color_stop_rgb(bg, 1, 0.72, 0.46, 0.28);
    cairo_set_source(cr, bg);
    cairo_paint(cr);
    cairo_pattern_destroy(bg);
    set_col(cr, with_alpha(pal::wood_dark, 0.35));
    cairo_set_line_width(cr, 2);
    for (int i = -3; i <= 3; i++) {
        cairo_move_to(cr, cx + i * 34, cy - r);
        cairo_line_to(cr, cx + i * 34, cy + r);
    }
    cairo_stroke(cr);
    cairo_restore(cr);
    // Plimby from the chest up: the front view, large. Drawn clipped to the frame, then
    // again above the frame's middle so the hat rises over the rim.
    for (int pass = 0; pass < 2; pass++) {
        cairo_save(cr);
        if (pass == 0) {
            cairo_arc(cr, cx, cy, r, 0, 2 * M_PI);
        } else {
            cairo_rectangle(cr, 0, 0, w, cy - 30);
        }
        cairo_clip(cr);
        cairo_translate(cr, cx - 0.5 * 600, 160 - 0.48 * 600);
        cairo_scale(cr, 600, 600);
        draw_hero_front(cr);
        // An egg in the basket.
        cairo_translate(cr, 0.5 - 0.055, 0.715);
        cairo_scale(cr, 0.11, 0.11);
        draw_sprite(cr, 31);
        cairo_restore(cr);
        if (pass == 0) {
            // The wooden ring.
            cairo_arc(cr, cx, cy, r, 0, 2 * M_PI);
            set_col(cr, pal::ink);
            cairo_set_line_width(cr, 18);
            cairo_stroke(cr);
            cairo_arc(cr, cx, cy, r, 0, 2 * M_PI);
            cairo_pattern_t *ring = cairo_pattern_create_linear(cx - r, cy - r, cx + r, cy + r);
            cairo_pattern_add_color_stop_rgb(ring, 0, pal::wood_light.r, pal::wood_light.g, pal::wood_light.b);
            cairo_pattern_add_color_stop_rgb(ring, 1, pal::wood_dark.r, pal::wood_dark.g, pal::wood_dark.b);
            cairo_set_source(cr, ring);
            cairo_set_line_width(cr, 11);
            cairo_stroke(cr);
            cairo_pattern_destroy(ring);
        }
    }
    cairo_destroy(cr);
    cairo_surface_flush(s);
    return s;
}
