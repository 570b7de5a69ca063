// Kestrune picture generator: the small sprites (hens, eggs, splat, chicks, puffs, glow,
// sparkle, basket) and the atlas that holds every sprite at its cell.
#include <cmath>
#include <cstdio>

#include "gp.h"

const Cell sprite_cells[SPRITE_COUNT] = {
    {0, 0, 384, 384},        {384, 0, 384, 384},      {768, 0, 384, 384},      {1152, 0, 384, 384},
    {1536, 0, 384, 384},     {0, 384, 384, 384},      {384, 384, 384, 384},    {768, 384, 384, 384},
    {1152, 384, 384, 384},   {1536, 384, 384, 384},   {0, 768, 384, 384},      {384, 768, 384, 384},
    {768, 768, 384, 384},    {1152, 768, 384, 384},   {1536, 768, 384, 384},   {0, 1152, 384, 384},
    {384, 1152, 384, 384},   {768, 1152, 384, 384},   {1152, 1152, 128, 128},  {1280, 1152, 128, 128},
    {1408, 1152, 128, 128},  {1536, 1152, 128, 128},  {1664, 1152, 128, 128},  {1792, 1152, 128, 128},
    {1920, 1152, 128, 128},  {0, 1536, 128, 128},     {128, 1536, 128, 128},   {256, 1536, 128, 128},
    {384, 1536, 128, 128},   {512, 1536, 128, 128},   {640, 1536, 128, 128},   {768, 1536, 128, 128},
    {896, 1536, 128, 128},   {1024, 1536, 128, 128},  {1152, 1536, 128, 128},  {1280, 1536, 128, 128},
    {1408, 1536, 128, 128},  {1536, 1536, 128, 128},  {1664, 1536, 128, 128},  {1792, 1536, 64, 64},
    {1856, 1536, 128, 128},
};

namespace {

// ---- hens ----------------------------------------------------------------------------

enum HenPose { HEN_REST, HEN_IDLE_DOWN, HEN_LAY_1, HEN_LAY_2, HEN_IDLE_UP };

const double HLW = 0.026;  // hen outline, cell units (about 3.3 atlas pixels)

void hen_wing(cairo_t *cr, double lift) {
    // A rounded wing on the body's side, hinged at its front top; lift turns it up.
    cairo_save(cr);
    cairo_translate(cr, 0.6, 0.55);
    cairo_rotate(cr, lift);
    cairo_move_to(cr, 0.0, 0.0);
    cairo_curve_to(cr, -0.05, -0.07, -0.25, -0.08, -0.34, 0.02);
    cairo_curve_to(cr, -0.3, 0.06, -0.31, 0.09, -0.27, 0.12);
    cairo_curve_to(cr, -0.2, 0.17, -0.05, 0.16, 0.02, 0.08);
    cairo_close_path(cr);
    shape(cr, darker(pal::hen, 0.12), HLW);
    // Feather scallops.
    set_col(cr, with_alpha(pal::ink, 0.75));
    cairo_set_line_width(cr, HLW * 0.55);
    for (int i = 0; i < 3; i++) {
        double x = -0.24 + i * 0.08;
        cairo_move_to(cr, x - 0.04, 0.07 + i * 0.008);
        cairo_curve_to(cr, x - 0.02, 0.12, x + 0.03, 0.12, x + 0.05, 0.07 + i * 0.01);
        cairo_stroke(cr);
    }
    gloss(cr, -0.12, 0.0, 0.1, 0.03, 0.35);
    cairo_restore(cr);
}

void hen(cairo_t *cr, int pose) {
    double rise = (pose == HEN_LAY_1 || pose == HEN_LAY_2) ? 0.025 : 0.0;
    double head_tilt = 0;  // radians, positive nods down
    if (pose == HEN_IDLE_DOWN) head_tilt = 0.3;
    if (pose == HEN_IDLE_UP) head_tilt = -0.3;
    if (pose == HEN_LAY_2) head_tilt = -0.15;
    cairo_save(cr);
    cairo_translate(cr, 0, -rise);
    // Tail feathers, fanned up at the back.
    for (int i = 0; i < 3; i++) {
        cairo_save(cr);
        cairo_translate(cr, 0.3, 0.6);
        cairo_rotate(cr, -0.55 - i * 0.32);
        cairo_move_to(cr, 0, 0.04);
        cairo_curve_to(cr, -0.11, 0.05, -0.22, 0.02, -0.26, -0.02);
        cairo_curve_to(cr, -0.22, -0.06, -0.11, -0.07, 0, -0.04);
        cairo_close_path(cr);
        shape(cr, i == 1 ? darker(pal::hen, 0.35) : darker(pal::hen, 0.2), HLW);
        cairo_restore(cr);
    }
    // Body and neck, one outline.
    path_ellipse(cr, 0.47, 0.66, 0.3, 0.22);
    cairo_new_sub_path(cr);
    cairo_move_to(cr, 0.56, 0.5);
    cairo_curve_to(cr, 0.58, 0.42, 0.66, 0.36, 0.74, 0.4);
    cairo_curve_to(cr, 0.82, 0.46, 0.8, 0.6, 0.74, 0.66);
    cairo_close_path(cr);
    shape(cr, pal::hen, HLW);
    // Cream breast.
    cairo_save(cr);
    path_ellipse(cr, 0.47, 0.66, 0.3, 0.22);
    cairo_clip(cr);
    path_ellipse(cr, 0.72, 0.7, 0.15, 0.2);
    fill_lit(cr, pal::hen_breast, 0.6);
    cairo_new_path(cr);
    cairo_restore(cr);
    // Speckles on the back.
    set_col(cr, with_alpha(darker(pal::hen, 0.45), 0.7));
    static const double specks[][2] = {{0.3, 0.56}, {0.38, 0.5}, {0.46, 0.49}, {0.34, 0.64}, {0.25, 0.68}};
    for (auto &s : specks) {
        path_ellipse(cr, s[0], s[1], 0.016, 0.01, -0.4);
        cairo_fill(cr);
    }
    gloss(cr, 0.42, 0.5, 0.16, 0.05, 0.35);
    // Wing.
    double lift = 0;
    if (pose == HEN_LAY_1) lift = 0.45;
    if (pose == HEN_LAY_2) lift = 1.0;
    hen_wing(cr, lift);
    // Head.
    cairo_save(cr);
    cairo_translate(cr, 0.72, 0.42);
    cairo_rotate(cr, head_tilt);
    // Comb: three round bumps.
    cairo_new_path(cr);
    path_ellipse(cr, -0.06, -0.115, 0.038, 0.045);
    path_ellipse(cr, 0.0, -0.135, 0.042, 0.05);
    path_ellipse(cr, 0.06, -0.11, 0.036, 0.042);
    shape(cr, pal::comb, HLW);
    // Wattle.
    path_ellipse(cr, 0.1, 0.1, 0.035, 0.05);
    shape(cr, pal::comb, HLW);
    // Beak: upper and lower halves, open when clucking or laying.
    bool open = pose == HEN_LAY_2 || pose == HEN_IDLE_UP || pose == HEN_LAY_1;
    double gape = pose == HEN_LAY_2 ? 0.05 : (open ? 0.03 : 0.0);
    cairo_move_to(cr, 0.09, -0.03);
    cairo_curve_to(cr, 0.15, -0.035, 0.2, -0.01, 0.22, 0.015);
    cairo_line_to(cr, 0.1, 0.02);
    cairo_close_path(cr);
    cairo_new_sub_path(cr);
    cairo_move_to(cr, 0.1, 0.02);
    cairo_line_to(cr, 0.19, 0.02 + gape);
    cairo_curve_to(cr, 0.16, 0.05 + gape, 0.12, 0.05, 0.09, 0.04);
    cairo_close_path(cr);
    shape(cr, pal::beak, HLW * 0.8);
    // Head ball.
    path_ellipse(cr, 0.0, 0.0, 0.115, 0.11);
    shape(cr, pal::hen, HLW);
    gloss(cr, -0.03, -0.05, 0.05, 0.03, 0.45);
    // Red cheek patch and the eye.
    path_ellipse(cr, 0.055, 0.035, 0.04, 0.045);
    set_col(cr, with_alpha(pal::comb, 0.85));
    cairo_fill(cr);
    set_col(cr, pal::eye);
    if (pose == HEN_IDLE_DOWN) {
        cairo_move_to(cr, 0.0, -0.01);
        cairo_curve_to(cr, 0.02, 0.02, 0.05, 0.02, 0.07, -0.01);
        cairo_set_line_width(cr, HLW * 0.8);
        cairo_stroke(cr);
    } else if (pose == HEN_LAY_1 || pose == HEN_LAY_2) {
        // Squeezed eye: a little chevron.
        cairo_move_to(cr, 0.0, -0.04);
        cairo_line_to(cr, 0.055, -0.015);
        cairo_line_to(cr, 0.0, 0.01);
        cairo_set_line_width(cr, HLW * 0.8);
        cairo_stroke(cr);
    } else {
        path_ellipse(cr, 0.035, -0.015, 0.027, 0.032);
        cairo_fill(cr);
        set_col(cr, pal::white);
        path_ellipse(cr, 0.043, -0.027, 0.01, 0.011);
        cairo_fill(cr);
    }
    cairo_restore(cr);
    if (pose == HEN_LAY_2 || pose == HEN_IDLE_UP) {
        // Little cluck marks above the beak.
        set_col(cr, pal::ink);
        cairo_set_line_width(cr, HLW * 0.7);
        cairo_set_line_cap(cr, CAIRO_LINE_CAP_ROUND);
        double bx = pose == HEN_IDLE_UP ? 0.87 : 0.88, by = pose == HEN_IDLE_UP ? 0.3 : 0.32;
        cairo_move_to(cr, bx, by);
        cairo_line_to(cr, bx + 0.04, by - 0.04);
        cairo_move_to(cr, bx + 0.015, by + 0.05);
        cairo_line_to(cr, bx + 0.065, by + 0.035);
        cairo_stroke(cr);
    }
    cairo_restore(cr);
}

// ---- eggs ------------------------------------------------------------------------------

const double ELW = 0.03;  // egg outline, cell units
const double EGG_W = 0.5, EGG_H = 0.64;

void egg_base(cairo_t *cr, Col c) {
    path_egg(cr, 0.5, 0.5, EGG_W, EGG_H);
    shape(cr, c, ELW, 1.2);
}

void egg_finish(cairo_t *cr) {
    gloss(cr, 0.41, 0.36, 0.075, 0.11, 0.85);
    gloss(cr, 0.6, 0.7, 0.05, 0.04, 0.25);
}

void egg(cairo_t *cr, int kind) {
    switch (kind) {
    case 0:
        egg_base(cr, pal::egg_white);
        break;
    case 1: {
        egg_base(cr, pal::egg_gold);
        // A warm sheen band and tiny glints.
        cairo_save(cr);
        path_egg(cr, 0.5, 0.5, EGG_W, EGG_H);
        cairo_clip(cr);
        cairo_pattern_t *p = cairo_pattern_create_linear(0.25, 0.3, 0.75, 0.8);
        cairo_pattern_add_color_stop_rgba(p, 0.35, 1, 1, 0.8, 0);
        cairo_pattern_add_color_stop_rgba(p, 0.5, 1, 1, 0.8, 0.5);
        cairo_pattern_add_color_stop_rgba(p, 0.65, 1, 1, 0.8, 0);
        cairo_set_source(cr, p);
        cairo_paint(cr);
        cairo_pattern_destroy(p);
        cairo_restore(cr);
        path_egg(cr, 0.5, 0.5, EGG_W, EGG_H);
        outline(cr, ELW);
        break;
    }
    case 2: {
        egg_base(cr, rgb(255, 240, 214));
        cairo_save(cr);
        path_egg(cr, 0.5, 0.5, EGG_W, EGG_H);
        cairo_clip(cr);
        // Zig-zag band, plain bands and dots, in the painted-egg colours.
        const Col bands[3] = {pal::paint_a, pal::paint_b, pal::paint_c};
        const double ys[3] = {0.3, 0.5, 0.68};
        for (int b = 0; b < 3; b++) {
            cairo_new_path(cr);
            double y = ys[b];
            if (b == 1) {
                cairo_move_to(cr, 0.2, y - 0.045);
                for (int i = 0; i <= 8; i++) cairo_line_to(cr, 0.2 + i * 0.075, y + ((i % 2) ? 0.035 : -0.035) - 0.01);
                for (int i = 8; i >= 0; i--) cairo_line_to(cr, 0.2 + i * 0.075, y + ((i % 2) ? 0.035 : -0.035) + 0.06);
            } else {
                cairo_rectangle(cr, 0.1, y - 0.035, 0.8, 0.07);
            }
            cairo_close_path(cr);
            set_col(cr, bands[b]);
            cairo_fill_preserve(cr);
            set_col(cr, with_alpha(pal::ink, 0.55));
            cairo_set_line_width(cr, ELW * 0.4);
            cairo_stroke(cr);
        }
        for (int i = 0; i < 4; i++) {
            path_ellipse(cr, 0.33 + i * 0.11, 0.405, 0.022, 0.022);
            set_col(cr, i % 2 ? pal::paint_a : pal::paint_c);
            cairo_fill(cr);
            path_ellipse(cr, 0.3 + i * 0.13, 0.595, 0.02, 0.02);
            set_col(cr, i % 2 ? pal::paint_b : pal::egg_gold);
            cairo_fill(cr);
        }
        cairo_restore(cr);
        path_egg(cr, 0.5, 0.5, EGG_W, EGG_H);
        outline(cr, ELW);
        break;
    }
    case 3: {
        egg_base(cr, pal::rotten);
        cairo_save(cr);
        path_egg(cr, 0.5, 0.5, EGG_W, EGG_H);
        cairo_clip(cr);
        static const double spots[][3] = {{0.38, 0.3, 0.045}, {0.6, 0.42, 0.06}, {0.42, 0.6, 0.05},
                                          {0.62, 0.68, 0.035}, {0.33, 0.46, 0.03}, {0.52, 0.23, 0.03}};
        for (auto &s : spots) {
            path_ellipse(cr, s[0], s[1], s[2], s[2] * 0.85, 0.4);
            set_col(cr, rgb(98, 110, 44));
            cairo_fill_preserve(cr);
            set_col(cr, rgb(74, 80, 34, 0.8));
            cairo_set_line_width(cr, ELW * 0.35);
            cairo_stroke(cr);
        }
        cairo_restore(cr);
        // A crack.
        cairo_move_to(cr, 0.3, 0.52);
        cairo_line_to(cr, 0.37, 0.5);
        cairo_line_to(cr, 0.41, 0.56);
        cairo_line_to(cr, 0.47, 0.52);
        set_col(cr, pal::ink);
        cairo_set_line_width(cr, ELW * 0.6);
        cairo_stroke(cr);
        path_egg(cr, 0.5, 0.5, EGG_W, EGG_H);
        outline(cr, ELW);
        break;
    }
    }
    egg_finish(cr);
}

// ---- splat, puddle, chick --------------------------------------------------------------

void splash_path(cairo_t *cr, double cx, double cy, double rx, double ry, int lobes, uint64_t seed) {
    Rng rng(seed);
    cairo_new_sub_path(cr);
    int n = lobes * 2;
    for (int i = 0; i <= n; i++) {
        int k = i % n;
        double a = k * 2 * M_PI / n;
        double r = (k % 2) ? 0.78 : 1.0;
        r *= 0.9 + 0.2 * ((k * 7919 % 13) / 13.0);
        double x = cx + rx * r * std::cos(a), y = cy + ry * r * std::sin(a);
        if (i == 0) {
            cairo_move_to(cr, x, y);
        } else {
            double am = (k == 0 ? n : k) * 2 * M_PI / n - M_PI / n;
            double rm = (0.95 + 0.1 * rng.uniform());
            cairo_curve_to(cr, cx + rx * rm * 1.05 * std::cos(am - 0.15), cy + ry * rm * 1.05 * std::sin(am - 0.15),
                           cx + rx * rm * 1.05 * std::cos(am + 0.15), cy + ry * rm * 1.05 * std::sin(am + 0.15), x, y);
        }
    }
    cairo_close_path(cr);
}

void puddle(cairo_t *cr, double cx, double cy, double scale) {
    splash_path(cr, cx, cy, 0.36 * scale, 0.11 * scale, 7, 11);
    shape(cr, rgb(255, 250, 236, 0.95), ELW * 0.8, 0.6);
    path_ellipse(cr, cx + 0.02 * scale, cy - 0.01 * scale, 0.13 * scale, 0.07 * scale);
    shape(cr, pal::yolk, ELW * 0.8);
    gloss(cr, cx - 0.02 * scale, cy - 0.035 * scale, 0.05 * scale, 0.02 * scale, 0.8);
}

void shell_piece(cairo_t *cr, double x, double y, double w, double h, double tilt, bool left) {
    cairo_save(cr);
    cairo_translate(cr, x, y);
    cairo_rotate(cr, tilt);
    // Half an egg shell with a jagged top edge, standing cup-like.
    cairo_move_to(cr, -w / 2, 0);
    cairo_curve_to(cr, -w / 2, h * 0.55, w / 2, h * 0.55, w / 2, 0);
    int teeth = 5;
    for (int i = 1; i <= teeth; i++) {
        double tx = w / 2 - i * w / teeth;
        double ty = (i % 2) ? -h * 0.38 : -h * 0.08;
        if (left) ty = (i % 2) ? -h * 0.12 : -h * 0.42;
        cairo_line_to(cr, tx, ty);
    }
    cairo_close_path(cr);
    shape(cr, pal::egg_white, ELW * 0.8);
    cairo_restore(cr);
}

void splat(cairo_t *cr) {
    // Yolk and white spread on the floor, a broken shell either side; the lowest ink
    // sits at 0.92 of the cell, where the painter puts the floor.
    soft_shadow(cr, 0.5, 0.87, 0.42, 0.05, 0.3);
    puddle(cr, 0.5, 0.8, 1.1);
    shell_piece(cr, 0.27, 0.78, 0.2, 0.19, -0.5, true);
    shell_piece(cr, 0.74, 0.77, 0.22, 0.2, 0.45, false);
    // Flying drops.
    path_ellipse(cr, 0.2, 0.62, 0.025, 0.03);
    path_ellipse(cr, 0.82, 0.6, 0.02, 0.025);
    path_ellipse(cr, 0.55, 0.6, 0.018, 0.022);
    shape(cr, pal::yolk, ELW * 0.6);
}

void chick(cairo_t *cr, int frame) {
    const double lw = 0.03;
    // Legs first, behind the body.
    set_col(cr, pal::ink);
    cairo_set_line_cap(cr, CAIRO_LINE_CAP_ROUND);
    double spread = frame == 0 ? 0.1 : 0.03;
    for (int s = -1; s <= 1; s += 2) {
        double fx = 0.5 + s * spread;
        cairo_move_to(cr, 0.5 + s * 0.04, 0.83);
        cairo_line_to(cr, fx, 0.935);
        cairo_line_to(cr, fx + 0.07, 0.94);
        inked_stroke(cr, rgb(240, 140, 40), 0.025, lw * 0.6);
    }
    // Body and head, one outline.
    path_ellipse(cr, 0.47, 0.7, 0.24, 0.19);
    path_ellipse(cr, 0.63, 0.47, 0.15, 0.145);
    shape(cr, pal::chick, lw);
    // Fluff on top.
    cairo_move_to(cr, 0.6, 0.33);
    cairo_curve_to(cr, 0.58, 0.27, 0.62, 0.25, 0.64, 0.3);
    cairo_curve_to(cr, 0.66, 0.25, 0.7, 0.27, 0.66, 0.33);
    inked_stroke(cr, pal::chick, 0.02, lw * 0.5);
    // Wing stub, flapping a little between frames.
    cairo_save(cr);
    cairo_translate(cr, 0.44, 0.66);
    cairo_rotate(cr, frame == 0 ? -0.1 : -0.45);
    path_ellipse(cr, -0.06, 0.02, 0.12, 0.07, 0.3);
    shape(cr, darker(pal::chick, 0.15), lw * 0.8);
    cairo_restore(cr);
    gloss(cr, 0.55, 0.4, 0.06, 0.04, 0.6);
    // Beak and eye.
    cairo_move_to(cr, 0.76, 0.44);
    cairo_line_to(cr, 0.86, 0.48);
    cairo_line_to(cr, 0.76, 0.52);
    cairo_close_path(cr);
    shape(cr, rgb(245, 150, 40), lw * 0.7);
    set_col(cr, pal::eye);
    path_ellipse(cr, 0.69, 0.43, 0.03, 0.037);
    cairo_fill(cr);
    set_col(cr, pal::white);
    path_ellipse(cr, 0.697, 0.418, 0.011, 0.012);
    cairo_fill(cr);
    path_ellipse(cr, 0.66, 0.52, 0.035, 0.022);
    set_col(cr, with_alpha(pal::cheek, 0.6));
    cairo_fill(cr);
}

void puff(cairo_t *cr, int step) {
    // A dust cloud that grows and thins out over six steps.
    double t = step / 5.0;
    double scale = 0.45 + 0.4 * t;
    double alpha = 1.0 - 0.82 * t;
    static const double blobs[][3] = {{0.0, 0.05, 0.3}, {-0.28, 0.1, 0.2}, {0.28, 0.08, 0.22},
                                      {-0.14, -0.15, 0.22}, {0.16, -0.14, 0.2}, {0.0, 0.22, 0.2}};
    cairo_push_group(cr);
    for (auto &b : blobs) {
        path_ellipse(cr, 0.5 + b[0] * scale, 0.52 + b[1] * scale, b[2] * scale, b[2] * scale);
    }
    shape(cr, rgb(246, 238, 222), 0.03 * (1.0 - 0.5 * t), 0.8);
    cairo_pop_group_to_source(cr);
    cairo_paint_with_alpha(cr, alpha);
}

void glow(cairo_t *cr) {
    // White throughout, its alpha fading smoothly to nothing at the edge: drawn
    // additively, it brightens by its tint times this alpha.
    cairo_pattern_t *p = cairo_pattern_create_radial(0.5, 0.5, 0, 0.5, 0.5, 0.46);
    for (int i = 0; i <= 16; i++) {
        double r = i / 16.0;
        double a = (1 - r * r) * (1 - r * r);
        cairo_pattern_add_color_stop_rgba(p, r, 1, 1, 1, a);
    }
    cairo_set_source(cr, p);
    cairo_arc(cr, 0.5, 0.5, 0.46, 0, 2 * M_PI);
    cairo_fill(cr);
    cairo_pattern_destroy(p);
}

void sparkle(cairo_t *cr) {
    gloss(cr, 0.5, 0.5, 0.3, 0.3, 0.5);
    cairo_new_path(cr);
    for (int i = 0; i < 8; i++) {
        double a = -M_PI / 2 + i * M_PI / 4;
        double r = (i % 2) ? 0.09 : 0.42;
        if (i == 0)
            cairo_move_to(cr, 0.5 + r * std::cos(a), 0.5 + r * std::sin(a));
        else
            cairo_line_to(cr, 0.5 + r * std::cos(a), 0.5 + r * std::sin(a));
    }
    cairo_close_path(cr);
    shape(cr, rgb(255, 242, 170), 0.025, 0.7);
    gloss(cr, 0.5, 0.5, 0.1, 0.1, 0.9);
}

}  // namespace

void draw_sprite(cairo_t *cr, int id) {
    if (id <= 5) {
        draw_hero_side(cr, id, false);
    } else if (id <= 11) {
        draw_hero_side(cr, id - 6, true);
    } else if (id == 12) {
        draw_hero_front(cr);
    } else if (id <= 14) {
        draw_hero_cheer(cr, id - 13);
    } else if (id == 15) {
        draw_hero_hurt(cr);
    } else if (id <= 17) {
        draw_hero_game_over(cr, id - 16);
    } else if (id == 18) {
        draw_hero_head_icon(cr);
    } else if (id <= 24) {
        puff(cr, id - 19);
    } else if (id <= 29) {
        static const int poses[5] = {HEN_REST, HEN_IDLE_DOWN, HEN_LAY_1, HEN_LAY_2, HEN_IDLE_UP};
        hen(cr, poses[id - 25]);
    } else if (id == 30) {
        puddle(cr, 0.5, 0.62, 1.2);
    } else if (id <= 34) {
        egg(cr, id - 31);
    } else if (id == 35) {
        splat(cr);
    } else if (id <= 37) {
        chick(cr, id - 36);
    } else if (id == 38) {
        draw_basket(cr, 0.5, 0.4, 0.8, 0.36, 0.03, 0);
    } else if (id == 39) {
        glow(cr);
    } else {
        sparkle(cr);
    }
}

cairo_surface_t *make_atlas(bool *ok) {
    bool clean = true;
    cairo_surface_t *atlas = cairo_image_surface_create(CAIRO_FORMAT_ARGB32, ATLAS_W, ATLAS_H);
    cairo_t *cr = cairo_create(atlas);
    for (int id = 0; id < SPRITE_COUNT; id++) {
        const Cell &c = sprite_cells[id];
        // Each sprite is drawn on its own and must keep a clear margin inside its cell,
        // so nothing bleeds into a neighbour when the atlas is sampled with filtering.
        cairo_surface_t *one = cairo_image_surface_create(CAIRO_FORMAT_ARGB32, c.w, c.h);
        cairo_t *oc = cairo_create(one);
        cairo_scale(oc, c.w, c.h);
        draw_sprite(oc, id);
        if (cairo_status(oc) != CAIRO_STATUS_SUCCESS) {
            std::fprintf(stderr, "gen_pictures: sprite %d: %s\n", id, cairo_status_to_string(cairo_status(oc)));
        }
        cairo_destroy(oc);
        cairo_surface_flush(one);
        const unsigned char *px = cairo_image_surface_get_data(one);
        int stride = cairo_image_surface_get_stride(one);
        // Ink in the outer two pixels: left, right, top, bottom.
        int touching[4] = {0, 0, 0, 0};
        for (int y = 0; y < c.h; y++) {
            for (int x = 0; x < c.w; x++) {
                if (x >= 2 && x < c.w - 2 && y >= 2 && y < c.h - 2) continue;
                uint32_t v = *(const uint32_t *)(px + y * stride + x * 4);
                if (!(v >> 24)) continue;
                if (x < 2) touching[0]++;
                if (x >= c.w - 2) touching[1]++;
                if (y < 2) touching[2]++;
                if (y >= c.h - 2) touching[3]++;
            }
        }
        if (touching[0] + touching[1] + touching[2] + touching[3]) {
            std::fprintf(stderr, "gen_pictures: sprite %d reaches its cell's edge (left %d, right %d, top %d, bottom %d)\n",
                         id, touching[0], touching[1], touching[2], touching[3]);
            clean = false;
        }
        cairo_set_source_surface(cr, one, c.x, c.y);
        cairo_rectangle(cr, c.x + 2, c.y + 2, c.w - 4, c.h - 4);
        cairo_fill(cr);
        cairo_surface_destroy(one);
    }
    cairo_destroy(cr);
    cairo_surface_flush(atlas);
    *ok = clean;
    return atlas;
}
