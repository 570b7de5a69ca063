// Kestrune picture generator: review sheets, for people to look at (never embedded).
#include <cmath>
#include <cstdio>

#include "gp.h"

namespace {

void label(cairo_t *cr, double x, double y, const char *text, double size) {
    cairo_select_font_face(cr, "sans-serif", CAIRO_FONT_SLANT_NORMAL, CAIRO_FONT_WEIGHT_BOLD);
    cairo_set_font_size(cr, size);
    cairo_move_to(cr, x, y);
    cairo_text_path(cr, text);
    cairo_set_source_rgb(cr, 1, 1, 1);
    cairo_set_line_width(cr, 3);
    cairo_stroke_preserve(cr);
    cairo_set_source_rgb(cr, 0.8, 0, 0.3);
    cairo_fill(cr);
}

void checker(cairo_t *cr, int w, int h) {
    for (int y = 0; y < h; y += 16)
        for (int x = 0; x < w; x += 16) {
            double v = ((x / 16 + y / 16) % 2) ? 0.82 : 0.9;
            cairo_set_source_rgb(cr, v, v, v * 0.97);
            cairo_rectangle(cr, x, y, 16, 16);
            cairo_fill(cr);
        }
}

void atlas_sheet(const std::string &dir, cairo_surface_t *atlas) {
    cairo_surface_t *s = cairo_image_surface_create(CAIRO_FORMAT_ARGB32, ATLAS_W, ATLAS_H);
    cairo_t *cr = cairo_create(s);
    checker(cr, ATLAS_W, ATLAS_H);
    cairo_set_source_surface(cr, atlas, 0, 0);
    cairo_paint(cr);
    for (int id = 0; id < SPRITE_COUNT; id++) {
        const Cell &c = sprite_cells[id];
        cairo_rectangle(cr, c.x + 0.5, c.y + 0.5, c.w - 1, c.h - 1);
        cairo_set_source_rgba(cr, 0.2, 0.4, 1.0, 0.8);
        cairo_set_line_width(cr, 1);
        cairo_stroke(cr);
        char n[8];
        std::snprintf(n, sizeof n, "%d", id);
        label(cr, c.x + 4, c.y + 18, n, 16);
    }
    cairo_destroy(cr);
    write_png(s, dir + "/atlas.png");
    cairo_surface_destroy(s);
}

// A row of sprites from the atlas, each drawn into a square of side `side` on a checker.
void sprite_row(const std::string &path, cairo_surface_t *atlas, const int *ids, int n, int side, bool catch_marks) {
    cairo_surface_t *s = cairo_image_surface_create(CAIRO_FORMAT_ARGB32, side * n, side);
    cairo_t *cr = cairo_create(s);
    checker(cr, side * n, side);
    for (int i = 0; i < n; i++) {
        const Cell &c = sprite_cells[ids[i]];
        cairo_save(cr);
        cairo_rectangle(cr, i * side, 0, side, side);
        cairo_clip(cr);
        cairo_translate(cr, i * side, 0);
        cairo_scale(cr, (double)side / c.w, (double)side / c.h);
        cairo_set_source_surface(cr, atlas, -c.x, -c.y);
        cairo_paint(cr);
        cairo_restore(cr);
        if (catch_marks && ids[i] % 6 < 6 && ids[i] < 12) {
            int f = ids[i] % 6;
            double x = i * side + hero_catch_x(f) * side, y = hero_catch_y(f) * side;
            cairo_set_source_rgba(cr, 1, 0, 0, 0.9);
            cairo_set_line_width(cr, 2);
            cairo_move_to(cr, x - 10, y);
            cairo_line_to(cr, x + 10, y);
            cairo_move_to(cr, x, y - 10);
            cairo_line_to(cr, x, y + 10);
            cairo_stroke(cr);
        }
        cairo_rectangle(cr, i * side + 0.5, 0.5, side - 1, side - 1);
        cairo_set_source_rgba(cr, 0.2, 0.4, 1.0, 0.8);
        cairo_set_line_width(cr, 1);
        cairo_stroke(cr);
    }
    cairo_destroy(cr);
    write_png(s, path);
    cairo_surface_destroy(s);
}

// Draws sprite id as the painter does: a square of side size centred on (cx, cy),
// mirrored left-right when flip is set, turned clockwise by angle degrees.
void put_sprite(cairo_t *cr, cairo_surface_t *atlas, int id, bool flip, double cx, double cy, double size,
                double angle = 0) {
    const Cell &c = sprite_cells[id];
    cairo_save(cr);
    cairo_translate(cr, cx, cy);
    cairo_rotate(cr, angle * M_PI / 180);
    if (flip) cairo_scale(cr, -1, 1);
    cairo_translate(cr, -size / 2, -size / 2);
    cairo_rectangle(cr, 0, 0, size, size);
    cairo_clip(cr);
    cairo_scale(cr, size / c.w, size / c.h);
    cairo_set_source_surface(cr, atlas, -c.x, -c.y);
    cairo_pattern_set_filter(cairo_get_source(cr), CAIRO_FILTER_BILINEAR);
    cairo_paint(cr);
    cairo_restore(cr);
}

double sx(const LevelLayout &L, int side, double v) { return side == 0 ? v : L.mirror_width - v; }

// The world as the painter places it, in background pixels (canvas minus (20, 60)):
// hens with their nest strips, eggs along every chute, and the hero at one floor and side.
void scene(cairo_t *cr, cairo_surface_t *atlas, cairo_surface_t *bg, int level, int hero_floor, int hero_side,
           bool eggs_on_paths) {
    int row = game_level_layout[level];
    const LevelLayout &L = game_layouts[row];
    cairo_set_source_surface(cr, bg, 0, 0);
    cairo_paint(cr);
    for (int f = 0; f < L.floors; f++) {
        for (int side = 0; side < 2; side++) {
            double X = sx(L, side, L.hen_x);
            static const int poses[5] = {25, 26, 29, 27, 28};
            put_sprite(cr, atlas, poses[(f * 2 + side + level) % 5], side == 1, X + (side == 0 ? 8 : -8),
                       L.perch_y[f] - 50, 148);
            int nx = (int)(X - 85), ny = (int)(L.perch_y[f] - 4);
            cairo_save(cr);
            cairo_rectangle(cr, nx, ny, 170, 30);
            cairo_clip(cr);
            cairo_set_source_surface(cr, bg, 0, 0);
            cairo_paint(cr);
            cairo_restore(cr);
        }
    }
    // The hero, as the side view for the floor's resting height.
    double R = 678 - hero_reach[row];
    double S = R * 1.3636364;
    double cy = 678 + S * (-0.48000002) - 60;
    double basket_y = L.catch_y[hero_floor] + 76;
    double h = (678 - basket_y) / R;
    int k = 0;
    for (int i = 1; i < 6; i++)
        if (std::fabs(hero_frame_fractions[i] - h) < std::fabs(hero_frame_fractions[k] - h)) k = i;
    double X = sx(L, hero_side, L.ramp_end_x);
    double hx = hero_side == 0 ? (X + 30) + 0.13666667 * S : (X - 30) - 0.13666667 * S;
    put_sprite(cr, atlas, k, hero_side == 0, hx, cy, S);
    // Eggs: leaving the hen, on the chute, and at the catch point.
    for (int f = 0; f < L.floors; f++) {
        for (int side = 0; side < 2; side++) {
            double hxp = sx(L, side, L.hen_x), rs = sx(L, side, L.ramp_start_x), re = sx(L, side, L.ramp_end_x);
            double py = L.perch_y[f] - 6, ty = L.ramp_top_y[f] - 18, ey = L.catch_y[f] - 18;
            cairo_move_to(cr, hxp, py);
            cairo_line_to(cr, rs, ty);
            cairo_line_to(cr, re, ey);
            cairo_set_source_rgba(cr, 1, 0.1, 0.3, 0.7);
            cairo_set_line_width(cr, 1.5);
            cairo_stroke(cr);
            double sgn = side == 0 ? 1 : -1;
            static const double ts[4] = {-0.06, 0.0, 0.5, 1.0};
            for (int i = eggs_on_paths ? 0 : 3; i < 4; i++) {
                double t = ts[i], x, y;
                if (t < 0) {
                    double u = t / 0.12 + 1;
                    x = hxp + (rs - hxp) * u;
                    y = py + (ty - py) * u;
                } else {
                    x = rs + (re - rs) * t;
                    y = ty + (ey - ty) * t;
                }
                put_sprite(cr, atlas, 31 + (f + side + i) % 4, false, x, y, 72, sgn * 900 * (t + 0.12));
            }
        }
    }
}

void world_sheets(const std::string &dir, cairo_surface_t *atlas, cairo_surface_t *bg, int level,
                  cairo_surface_t *contact) {
    const LevelLayout &L = game_layouts[game_level_layout[level]];
    // The whole picture with the hero at the top floor.
    cairo_surface_t *s = cairo_image_surface_create(CAIRO_FORMAT_ARGB32, 960, 640);
    cairo_t *cr = cairo_create(s);
    scene(cr, atlas, bg, level, L.floors - 1, level % 2, true);
    cairo_destroy(cr);
    // And at half size on the sheet of all fifteen.
    cr = cairo_create(contact);
    cairo_translate(cr, (level % 3) * 480, (level / 3) * 320);
    cairo_scale(cr, 0.5, 0.5);
    cairo_set_source_surface(cr, s, 0, 0);
    cairo_paint(cr);
    cairo_destroy(cr);
    char name[64];
    std::snprintf(name, sizeof name, "/world_%02d.png", level);
    write_png(s, dir + name);
    cairo_surface_destroy(s);
    // Close-ups of every catch point with the hero at that floor and side.
    const int C = 240;
    s = cairo_image_surface_create(CAIRO_FORMAT_ARGB32, C * L.floors, C * 2);
    cr = cairo_create(s);
    cairo_surface_t *full = cairo_image_surface_create(CAIRO_FORMAT_ARGB32, 960, 640);
    for (int f = 0; f < L.floors; f++) {
        for (int side = 0; side < 2; side++) {
            cairo_t *fc = cairo_create(full);
            scene(fc, atlas, bg, level, f, side, false);
            cairo_destroy(fc);
            double cx = sx(L, side, L.ramp_end_x), cy = L.catch_y[f] - 18;
            cairo_save(cr);
            cairo_rectangle(cr, f * C, side * C, C, C);
            cairo_clip(cr);
            cairo_set_source_surface(cr, full, f * C + C / 2 - cx, side * C + C / 2 - cy);
            cairo_paint(cr);
            cairo_restore(cr);
            cairo_rectangle(cr, f * C + 0.5, side * C + 0.5, C - 1, C - 1);
            cairo_set_source_rgb(cr, 1, 1, 1);
            cairo_set_line_width(cr, 1);
            cairo_stroke(cr);
        }
    }
    cairo_surface_destroy(full);
    cairo_destroy(cr);
    std::snprintf(name, sizeof name, "/catch_%02d.png", level);
    write_png(s, dir + name);
    cairo_surface_destroy(s);
}

// Close-ups of the hens of a four-floor barn at twice the size, each in the pose given,
// their nest fronts copied over them: the hen must sit in its nest, nothing cut away.
void nest_sheet(const std::string &path, cairo_surface_t *atlas, cairo_surface_t *bg, int level, int pose) {
    const LevelLayout &L = game_layouts[game_level_layout[level]];
    cairo_surface_t *full = cairo_image_surface_create(CAIRO_FORMAT_ARGB32, 960, 640);
    cairo_t *fc = cairo_create(full);
    cairo_set_source_surface(fc, bg, 0, 0);
    cairo_paint(fc);
    for (int f = 0; f < L.floors; f++) {
        for (int side = 0; side < 2; side++) {
            double X = sx(L, side, L.hen_x);
            put_sprite(fc, atlas, pose, side == 1, X + (side == 0 ? 8 : -8), L.perch_y[f] - 50, 148);
            int nx = (int)(X - 85), ny = (int)(L.perch_y[f] - 4);
            cairo_save(fc);
            cairo_rectangle(fc, nx, ny, 170, 30);
            cairo_clip(fc);
            cairo_set_source_surface(fc, bg, 0, 0);
            cairo_paint(fc);
            cairo_restore(fc);
        }
    }
    cairo_destroy(fc);
    const int CW = 220, CH = 170;
    cairo_surface_t *s = cairo_image_surface_create(CAIRO_FORMAT_ARGB32, 2 * CW * 2, 2 * CH * L.floors);
    cairo_t *cr = cairo_create(s);
    for (int f = 0; f < L.floors; f++) {
        for (int side = 0; side < 2; side++) {
            double X = sx(L, side, L.hen_x);
            cairo_save(cr);
            cairo_rectangle(cr, side * 2 * CW, (L.floors - 1 - f) * 2 * CH, 2 * CW, 2 * CH);
            cairo_clip(cr);
            cairo_translate(cr, side * 2 * CW, (L.floors - 1 - f) * 2 * CH);
            cairo_scale(cr, 2, 2);
            cairo_set_source_surface(cr, full, -(X - CW / 2), -(L.perch_y[f] - 120));
            cairo_paint(cr);
            cairo_restore(cr);
        }
    }
    cairo_destroy(cr);
    write_png(s, path);
    cairo_surface_destroy(s);
    cairo_surface_destroy(full);
}

// The hero's other frames as the painter shows them: centred at canvas x 500 in the barn
// of the given level, three to a sheet.
void hero_states_sheet(const std::string &path, cairo_surface_t *atlas, cairo_surface_t *bg, int level,
                       const int *ids) {
    int row = game_level_layout[level];
    double R = 678 - hero_reach[row];
    double S = R * 1.3636364;
    double cy = 678 + S * (-0.48000002) - 60;
    const int PW = 440;
    cairo_surface_t *s = cairo_image_surface_create(CAIRO_FORMAT_ARGB32, 3 * PW, 640);
    cairo_t *cr = cairo_create(s);
    for (int i = 0; i < 3; i++) {
        cairo_save(cr);
        cairo_rectangle(cr, i * PW, 0, PW, 640);
        cairo_clip(cr);
        cairo_translate(cr, i * PW - (480 - PW / 2), 0);
        cairo_set_source_surface(cr, bg, 0, 0);
        cairo_paint(cr);
        put_sprite(cr, atlas, ids[i], false, 480, cy, S);
        cairo_restore(cr);
    }
    cairo_destroy(cr);
    write_png(s, path);
    cairo_surface_destroy(s);
}

// The title screen's use of the pictures: a background stretched to 1104 x 736 with 52
// pixels cut each side, the logo, the portrait and the two cheering heroes.
void title_sheet(const std::string &dir, cairo_surface_t *atlas, cairo_surface_t *bg, cairo_surface_t *logo,
                 cairo_surface_t *portrait) {
    cairo_surface_t *s = cairo_image_surface_create(CAIRO_FORMAT_ARGB32, 1000, 736);
    cairo_t *cr = cairo_create(s);
    cairo_save(cr);
    cairo_translate(cr, -52, 0);
    cairo_scale(cr, 1104.0 / 960, 736.0 / 640);
    cairo_set_source_surface(cr, bg, 0, 0);
    cairo_paint(cr);
    cairo_restore(cr);
    for (int k = 0; k < 26; k++) {
        cairo_set_source_rgba(cr, 18 / 255.0, 28 / 255.0, 10 / 255.0, (190 - 7 * k) / 255.0);
        cairo_rectangle(cr, 0, 8 * k, 1000, 8);
        cairo_fill(cr);
    }
    // The logo at (500, 12) 210 high.
    int lw = 1023 * 210 / 360;
    cairo_save(cr);
    cairo_translate(cr, 500 - lw / 2, 12);
    cairo_scale(cr, lw / 1023.0, 210 / 360.0);
    cairo_set_source_surface(cr, logo, 0, 0);
    cairo_paint(cr);
    cairo_restore(cr);
    // The portrait as other languages show it, 160 high at the left.
    int pw = 254 * 160 / 300;
    cairo_save(cr);
    cairo_translate(cr, 60 - pw / 2 + 40, 22 + 250);
    cairo_scale(cr, pw / 254.0, 160 / 300.0);
    cairo_set_source_surface(cr, portrait, 0, 0);
    cairo_paint(cr);
    cairo_restore(cr);
    cairo_set_source_rgba(cr, 26 / 255.0, 44 / 255.0, 20 / 255.0, 210 / 255.0);
    cairo_rectangle(cr, 0, 600, 1000, 64);
    cairo_fill(cr);
    put_sprite(cr, atlas, 13, false, 80, 606, 130);
    put_sprite(cr, atlas, 14, true, 920, 606, 130);
    put_sprite(cr, atlas, 33, false, 60, 526, 34, -60);
    put_sprite(cr, atlas, 18, false, 244, 690, 32);
    put_sprite(cr, atlas, 31, false, 946, 690, 46);
    cairo_destroy(cr);
    write_png(s, dir + "/title.png");
    cairo_surface_destroy(s);
}

// All fifteen backgrounds at half size, five rows of three.
void contact_sheet(const std::string &dir, cairo_surface_t *const backgrounds[15]) {
    cairo_surface_t *s = cairo_image_surface_create(CAIRO_FORMAT_ARGB32, 3 * 480, 5 * 320);
    cairo_t *cr = cairo_create(s);
    for (int i = 0; i < 15; i++) {
        cairo_save(cr);
        cairo_translate(cr, (i % 3) * 480, (i / 3) * 320);
        cairo_scale(cr, 0.5, 0.5);
        cairo_set_source_surface(cr, backgrounds[i], 0, 0);
        cairo_paint(cr);
        cairo_restore(cr);
        char n[8];
        std::snprintf(n, sizeof n, "%d", i);
        label(cr, (i % 3) * 480 + 6, (i / 3) * 320 + 22, n, 20);
    }
    cairo_destroy(cr);
    write_png(s, dir + "/backgrounds.png");
    cairo_surface_destroy(s);
}

}  // namespace

void write_review_sheets(const std::string &dir, cairo_surface_t *atlas, cairo_surface_t *const backgrounds[15],
                         cairo_surface_t *logo, cairo_surface_t *portrait) {
    atlas_sheet(dir, atlas);
    static const int side_a[3] = {0, 1, 2};
    sprite_row(dir + "/hero_side_a.png", atlas, side_a, 3, 384, true);
    static const int side_b[3] = {3, 4, 5};
    sprite_row(dir + "/hero_side_b.png", atlas, side_b, 3, 384, true);
    static const int others_a[3] = {12, 13, 14};
    sprite_row(dir + "/hero_other_a.png", atlas, others_a, 3, 384, false);
    static const int others_b[3] = {15, 16, 17};
    sprite_row(dir + "/hero_other_b.png", atlas, others_b, 3, 384, false);
    static const int small_a[12] = {18, 25, 26, 27, 28, 29, 30, 31, 32, 33, 34, 35};
    sprite_row(dir + "/small_a.png", atlas, small_a, 12, 128, false);
    static const int small_b[11] = {36, 37, 38, 39, 40, 19, 20, 21, 22, 23, 24};
    sprite_row(dir + "/small_b.png", atlas, small_b, 11, 128, false);
    static const int big[3] = {18, 25, 28};
    sprite_row(dir + "/small_big.png", atlas, big, 3, 384, false);
    cairo_surface_t *worlds = cairo_image_surface_create(CAIRO_FORMAT_ARGB32, 3 * 480, 5 * 320);
    for (int level = 0; level < 15; level++) world_sheets(dir, atlas, backgrounds[level], level, worlds);
    write_png(worlds, dir + "/worlds.png");
    cairo_surface_destroy(worlds);
    title_sheet(dir, atlas, backgrounds[0], logo, portrait);
    nest_sheet(dir + "/nests_laying.png", atlas, backgrounds[9], 9, 28);
    nest_sheet(dir + "/nests_resting.png", atlas, backgrounds[5], 5, 25);
    static const int states_a[3] = {12, 13, 14};
    static const int states_b[3] = {15, 16, 17};
    hero_states_sheet(dir + "/hero_states_a.png", atlas, backgrounds[2], 2, states_a);
    hero_states_sheet(dir + "/hero_states_b.png", atlas, backgrounds[9], 9, states_b);
    contact_sheet(dir, backgrounds);
}
