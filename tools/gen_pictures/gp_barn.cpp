// Kestrune picture generator: the fifteen barn backgrounds. Each is the inside of the
// same wooden barn with the nests, shelves and chutes of its level's layout row, and its
// own mood seen through the big window: time of day, weather and season.
//
// The nests, chutes and floor are placed where the world painter puts the hens, eggs and
// hero: a nest's front edge fills the strip (X - 85, perch_y - 4, 170 x 30) that is copied
// over the hen, and each chute's top runs under the egg's path down to the catch point.
#include <cmath>

#include "gp.h"

namespace {

const int W = 960, H = 640;
const double FLOOR_Y = 592;  // where the back wall meets the floor
const double LW = 2.6;       // outline width of the barn's furniture

enum Body { BODY_NONE, BODY_SUN, BODY_MOON };
enum Trees { TREES_GREEN, TREES_BLOSSOM, TREES_AUTUMN, TREES_BARE, TREES_DARK };
enum Weather { CLEAR, RAIN, SNOW, FOG, STORM, PETALS, LEAVES };
enum Decor { DECOR_NONE, DECOR_FLOWERS, DECOR_SUNFLOWERS, DECOR_HARVEST, DECOR_WINTER, DECOR_EASTER };

struct Mood {
    Col sky_top, sky_bottom;
    int body;
    double body_x, body_y, body_r;
    Col body_col;
    int clouds;
    Col cloud_col;
    Col hill_far, hill_near;
    int trees;
    int weather;
    double stars;
    Col tint;  // multiplied over the inside of the barn
    double tint_strength;
    bool lantern;
    double shafts;  // light falling in through the window
    int decor;
    bool snow;
    int window;  // 0 arched window, 1 open loft door, 2 round-topped window with shutters
    int wall;    // WALL_*: the planks' colour
    int props;   // PROPS_*: what stands about the barn in this season
};

enum WallKind { WALL_NATURAL, WALL_HONEY, WALL_WEATHERED, WALL_RED };
enum Props { PROPS_SPRING, PROPS_SUMMER, PROPS_RAIN, PROPS_HARVEST, PROPS_NIGHT, PROPS_WINTER, PROPS_EASTER };

Mood mood_of(int level) {
    Mood m{};
    m.tint = rgb(255, 255, 255);
    m.cloud_col = rgb(255, 255, 255);
    m.body_col = rgb(255, 236, 150);
    m.body_r = 26;
    switch (level) {
    case 0:  // spring morning
        m.sky_top = rgb(140, 196, 240);
        m.sky_bottom = rgb(255, 236, 190);
        m.body = BODY_SUN, m.body_x = 0.25, m.body_y = 0.55;
        m.clouds = 3;
        m.hill_far = rgb(150, 196, 120), m.hill_near = rgb(110, 170, 80);
        m.trees = TREES_GREEN, m.weather = CLEAR;
        m.tint = rgb(255, 246, 226), m.tint_strength = 0.5;
        m.shafts = 0.5, m.decor = DECOR_FLOWERS, m.window = 0;
        m.wall = WALL_NATURAL, m.props = PROPS_SPRING;
        break;
    case 1:  // bright noon
        m.sky_top = rgb(96, 170, 236);
        m.sky_bottom = rgb(200, 230, 250);
        m.body = BODY_SUN, m.body_x = 0.7, m.body_y = 0.18;
        m.clouds = 4;
        m.hill_far = rgb(140, 200, 110), m.hill_near = rgb(100, 176, 70);
        m.trees = TREES_GREEN, m.weather = CLEAR;
        m.tint = rgb(255, 252, 240), m.tint_strength = 0.3;
        m.shafts = 0.35, m.decor = DECOR_FLOWERS, m.window = 1;
        m.wall = WALL_HONEY, m.props = PROPS_SPRING;
        break;
    case 2:  // summer afternoon, sunflowers
        m.sky_top = rgb(80, 156, 230);
        m.sky_bottom = rgb(214, 236, 246);
        m.body = BODY_SUN, m.body_x = 0.8, m.body_y = 0.3;
        m.clouds = 2;
        m.hill_far = rgb(200, 196, 110), m.hill_near = rgb(226, 196, 90);
        m.trees = TREES_GREEN, m.weather = CLEAR;
        m.tint = rgb(255, 244, 214), m.tint_strength = 0.45;
        m.shafts = 0.45, m.decor = DECOR_SUNFLOWERS, m.window = 2;
        m.wall = WALL_HONEY, m.props = PROPS_SUMMER;
        break;
    case 3:  // summer evening
        m.sky_top = rgb(108, 136, 200);
        m.sky_bottom = rgb(255, 196, 120);
        m.body = BODY_SUN, m.body_x = 0.3, m.body_y = 0.62, m.body_col = rgb(255, 210, 120);
        m.clouds = 3, m.cloud_col = rgb(255, 214, 190);
        m.hill_far = rgb(150, 150, 96), m.hill_near = rgb(112, 130, 70);
        m.trees = TREES_GREEN, m.weather = CLEAR;
        m.tint = rgb(255, 214, 160), m.tint_strength = 0.6;
        m.shafts = 0.6, m.decor = DECOR_SUNFLOWERS, m.window = 0;
        m.wall = WALL_NATURAL, m.props = PROPS_SUMMER;
        break;
    case 4:  // rainy day
        m.sky_top = rgb(120, 136, 156);
        m.sky_bottom = rgb(180, 190, 200);
        m.body = BODY_NONE;
        m.clouds = 6, m.cloud_col = rgb(150, 160, 176);
        m.hill_far = rgb(110, 140, 120), m.hill_near = rgb(84, 124, 84);
        m.trees = TREES_GREEN, m.weather = RAIN;
        m.tint = rgb(196, 210, 230), m.tint_strength = 0.75;
        m.lantern = true, m.decor = DECOR_NONE, m.window = 1;
        m.wall = WALL_WEATHERED, m.props = PROPS_RAIN;
        break;
    case 5:  // sunset
        m.sky_top = rgb(96, 80, 156);
        m.sky_bottom = rgb(255, 150, 96);
        m.body = BODY_SUN, m.body_x = 0.55, m.body_y = 0.74, m.body_r = 34, m.body_col = rgb(255, 190, 100);
        m.clouds = 3, m.cloud_col = rgb(250, 160, 170);
        m.hill_far = rgb(120, 86, 110), m.hill_near = rgb(80, 64, 84);
        m.trees = TREES_DARK, m.weather = CLEAR;
        m.tint = rgb(255, 190, 150), m.tint_strength = 0.75;
        m.shafts = 0.55, m.lantern = true, m.decor = DECOR_HARVEST, m.window = 2;
        m.wall = WALL_RED, m.props = PROPS_HARVEST;
        break;
    case 6:  // starry night
        m.sky_top = rgb(20, 28, 70);
        m.sky_bottom = rgb(60, 70, 130);
        m.body = BODY_MOON, m.body_x = 0.7, m.body_y = 0.25, m.body_col = rgb(250, 244, 210), m.body_r = 22;
        m.clouds = 1, m.cloud_col = rgb(90, 96, 150);
        m.hill_far = rgb(40, 56, 90), m.hill_near = rgb(30, 44, 70);
        m.trees = TREES_DARK, m.weather = CLEAR, m.stars = 1.0;
        m.tint = rgb(120, 130, 200), m.tint_strength = 0.85;
        m.lantern = true, m.decor = DECOR_NONE, m.window = 0;
        m.wall = WALL_NATURAL, m.props = PROPS_NIGHT;
        break;
    case 7:  // autumn day
        m.sky_top = rgb(120, 176, 226);
        m.sky_bottom = rgb(240, 226, 196);
        m.body = BODY_SUN, m.body_x = 0.2, m.body_y = 0.3;
        m.clouds = 3;
        m.hill_far = rgb(190, 150, 90), m.hill_near = rgb(170, 120, 60);
        m.trees = TREES_AUTUMN, m.weather = LEAVES;
        m.tint = rgb(255, 228, 190), m.tint_strength = 0.5;
        m.shafts = 0.45, m.decor = DECOR_HARVEST, m.window = 1;
        m.wall = WALL_RED, m.props = PROPS_HARVEST;
        break;
    case 8:  // foggy autumn morning
        m.sky_top = rgb(200, 196, 196);
        m.sky_bottom = rgb(236, 222, 210);
        m.body = BODY_SUN, m.body_x = 0.65, m.body_y = 0.45, m.body_col = rgb(255, 244, 220);
        m.clouds = 0;
        m.hill_far = rgb(200, 180, 160), m.hill_near = rgb(170, 140, 110);
        m.trees = TREES_AUTUMN, m.weather = FOG;
        m.tint = rgb(230, 222, 214), m.tint_strength = 0.6;
        m.lantern = true, m.decor = DECOR_HARVEST, m.window = 2;
        m.wall = WALL_WEATHERED, m.props = PROPS_HARVEST;
        break;
    case 9:  // stormy night
        m.sky_top = rgb(30, 34, 56);
        m.sky_bottom = rgb(70, 76, 100);
        m.body = BODY_NONE;
        m.clouds = 6, m.cloud_col = rgb(70, 74, 100);
        m.hill_far = rgb(40, 50, 66), m.hill_near = rgb(30, 40, 50);
        m.trees = TREES_DARK, m.weather = STORM;
        m.tint = rgb(120, 126, 170), m.tint_strength = 0.85;
        m.lantern = true, m.decor = DECOR_NONE, m.window = 0;
        m.wall = WALL_WEATHERED, m.props = PROPS_RAIN;
        break;
    case 10:  // winter day
        m.sky_top = rgb(110, 160, 220);
        m.sky_bottom = rgb(206, 226, 246);
        m.body = BODY_SUN, m.body_x = 0.3, m.body_y = 0.3, m.body_col = rgb(255, 246, 210);
        m.clouds = 2;
        m.hill_far = rgb(200, 214, 236), m.hill_near = rgb(238, 244, 252);
        m.trees = TREES_BARE, m.weather = CLEAR, m.snow = true;
        m.tint = rgb(226, 236, 250), m.tint_strength = 0.55;
        m.shafts = 0.35, m.decor = DECOR_WINTER, m.window = 1;
        m.wall = WALL_RED, m.props = PROPS_WINTER;
        break;
    case 11:  // snowy night
        m.sky_top = rgb(30, 40, 84);
        m.sky_bottom = rgb(90, 100, 150);
        m.body = BODY_MOON, m.body_x = 0.25, m.body_y = 0.22, m.body_col = rgb(250, 246, 226), m.body_r = 22;
        m.clouds = 1, m.cloud_col = rgb(110, 116, 166);
        m.hill_far = rgb(170, 180, 220), m.hill_near = rgb(200, 210, 240);
        m.trees = TREES_BARE, m.weather = SNOW, m.snow = true, m.stars = 0.5;
        m.tint = rgb(140, 150, 210), m.tint_strength = 0.8;
        m.lantern = true, m.decor = DECOR_WINTER, m.window = 2;
        m.wall = WALL_RED, m.props = PROPS_WINTER;
        break;
    case 12:  // thawing dawn
        m.sky_top = rgb(130, 150, 210);
        m.sky_bottom = rgb(255, 190, 190);
        m.body = BODY_SUN, m.body_x = 0.5, m.body_y = 0.7, m.body_col = rgb(255, 220, 170);
        m.clouds = 3, m.cloud_col = rgb(255, 220, 226);
        m.hill_far = rgb(200, 200, 216), m.hill_near = rgb(150, 176, 120);
        m.trees = TREES_BARE, m.weather = CLEAR, m.snow = false;
        m.tint = rgb(250, 220, 226), m.tint_strength = 0.55;
        m.shafts = 0.4, m.decor = DECOR_NONE, m.window = 0;
        m.wall = WALL_NATURAL, m.props = PROPS_WINTER;
        break;
    case 13:  // spring blossom
        m.sky_top = rgb(120, 186, 240);
        m.sky_bottom = rgb(240, 234, 246);
        m.body = BODY_SUN, m.body_x = 0.75, m.body_y = 0.3;
        m.clouds = 3;
        m.hill_far = rgb(160, 206, 140), m.hill_near = rgb(120, 186, 96);
        m.trees = TREES_BLOSSOM, m.weather = PETALS;
        m.tint = rgb(255, 240, 240), m.tint_strength = 0.4;
        m.shafts = 0.45, m.decor = DECOR_FLOWERS, m.window = 1;
        m.wall = WALL_HONEY, m.props = PROPS_SPRING;
        break;
    default:  // Easter morning
        m.sky_top = rgb(110, 184, 244);
        m.sky_bottom = rgb(255, 244, 210);
        m.body = BODY_SUN, m.body_x = 0.22, m.body_y = 0.35;
        m.clouds = 3;
        m.hill_far = rgb(160, 210, 130), m.hill_near = rgb(116, 190, 90);
        m.trees = TREES_BLOSSOM, m.weather = CLEAR;
        m.tint = rgb(255, 248, 230), m.tint_strength = 0.35;
        m.shafts = 0.5, m.decor = DECOR_EASTER, m.window = 2;
        m.wall = WALL_HONEY, m.props = PROPS_EASTER;
        break;
    }
    return m;
}

// ---- wood -----------------------------------------------------------------------------

Col wall_base(int kind) {
    switch (kind) {
    case WALL_HONEY: return mix(pal::wood_light, pal::straw, 0.25);
    case WALL_WEATHERED: return rgb(150, 136, 122);
    case WALL_RED: return rgb(176, 70, 56);
    default: return mix(pal::wood, pal::wood_dark, 0.2);
    }
}

// Posts: darker wood, or white trim on a painted barn.
Col trim_of(int kind) {
    switch (kind) {
    case WALL_RED: return rgb(236, 226, 206);
    case WALL_WEATHERED: return rgb(112, 100, 92);
    case WALL_HONEY: return darker(pal::wood, 0.1);
    default: return darker(pal::wood, 0.25);
    }
}

// The tie beam across the top of the wall, behind the messages and the head-up display:
// the trim's wood, but dark timber on the painted barn, where white would glare.
Col tie_beam_of(int kind) { return kind == WALL_RED ? darker(pal::wood, 0.35) : trim_of(kind); }

Col wall_wood(Rng &rng, int kind) {
    Col base = wall_base(kind);
    return mix(base, rng.uniform() < 0.5 ? lighter(base, 0.5) : darker(base, 0.5), rng.range(0.0, 0.3));
}

// Grain: a few long wavy lines and the odd knot, inside the rectangle (already clipped).
void grain(cairo_t *cr, Rng &rng, double x, double y, double w, double h, bool vertical, Col base) {
    Col line = with_alpha(darker(base, 0.55), 0.35);
    set_col(cr, line);
    cairo_set_line_width(cr, 1.2);
    int n = (int)((vertical ? w : h) / 7) + 1;
    for (int i = 0; i < n; i++) {
        double off = rng.range(0.1, 0.9) * (vertical ? w : h);
        double amp = rng.range(0.5, 2.5);
        double ph = rng.range(0, 6.28);
        double len = vertical ? h : w;
        for (double t = 0; t <= len; t += 8) {
            double d = off + amp * std::sin(ph + t * 0.02);
            if (vertical) {
                if (t == 0) cairo_move_to(cr, x + d, y + t);
                else cairo_line_to(cr, x + d, y + t);
            } else {
                if (t == 0) cairo_move_to(cr, x + t, y + d);
                else cairo_line_to(cr, x + t, y + d);
            }
        }
        cairo_stroke(cr);
    }
    int knots = rng.uniform() < 0.5 ? 1 : 0;
    for (int k = 0; k < knots; k++) {
        double kx = vertical ? x + w * rng.range(0.3, 0.7) : x + rng.range(0.1, 0.9) * w;
        double ky = vertical ? y + rng.range(0.1, 0.9) * h : y + h * rng.range(0.3, 0.7);
        double r = rng.range(3, 6);
        path_ellipse(cr, kx, ky, vertical ? r * 0.8 : r * 1.5, vertical ? r * 1.5 : r * 0.8);
        set_col(cr, with_alpha(darker(base, 0.6), 0.5));
        cairo_fill(cr);
        path_ellipse(cr, kx, ky, vertical ? r * 1.5 : r * 2.5, vertical ? r * 2.5 : r * 1.5);
        set_col(cr, with_alpha(darker(base, 0.5), 0.25));
        cairo_set_line_width(cr, 1);
        cairo_stroke(cr);
    }
}

// A plank or beam: lit fill, grain, outline.
void plank(cairo_t *cr, Rng &rng, double x, double y, double w, double h, Col base, bool vertical) {
    cairo_save(cr);
    cairo_rectangle(cr, x, y, w, h);
    fill_lit(cr, base, 0.7);
    cairo_clip(cr);
    cairo_new_path(cr);
    grain(cr, rng, x, y, w, h, vertical, base);
    cairo_restore(cr);
    cairo_rectangle(cr, x, y, w, h);
    outline(cr, LW * 0.8);
}

void nail(cairo_t *cr, double x, double y) {
    path_ellipse(cr, x, y, 2.2, 2.2);
    set_col(cr, rgb(70, 60, 60));
    cairo_fill(cr);
    path_ellipse(cr, x - 0.6, y - 0.6, 0.8, 0.8);
    set_col(cr, rgb(200, 190, 180));
    cairo_fill(cr);
}

// A beam between two points, drawn as a rotated plank.
void beam(cairo_t *cr, Rng &rng, double x1, double y1, double x2, double y2, double thick, Col base) {
    double dx = x2 - x1, dy = y2 - y1;
    double len = std::sqrt(dx * dx + dy * dy);
    cairo_save(cr);
    cairo_translate(cr, x1, y1);
    cairo_rotate(cr, std::atan2(dy, dx));
    plank(cr, rng, 0, -thick / 2, len, thick, base, false);
    cairo_restore(cr);
}

// ---- outside ----------------------------------------------------------------------------

void cloud(cairo_t *cr, double x, double y, double s, Col c) {
    static const double b[][3] = {{0, 0, 1.0}, {-1.1, 0.25, 0.7}, {1.1, 0.25, 0.75}, {-0.5, -0.4, 0.7}, {0.55, -0.35, 0.65}};
    for (auto &e : b) path_ellipse(cr, x + e[0] * s, y + e[1] * s, e[2] * s * 1.1, e[2] * s * 0.85);
    cairo_rectangle(cr, x - 1.6 * s, y + 0.2 * s, 3.2 * s, 0.5 * s);
    set_col(cr, c);
    cairo_fill(cr);
    gloss(cr, x - 0.3 * s, y - 0.4 * s, 1.0 * s, 0.4 * s, 0.35);
}

void tree(cairo_t *cr, Rng &rng, double x, double base_y, double s, int kind, const Mood &m) {
    Col trunk = darker(rgb(120, 84, 60), 0.2);
    cairo_move_to(cr, x - 0.12 * s, base_y);
    cairo_line_to(cr, x - 0.06 * s, base_y - 0.9 * s);
    cairo_line_to(cr, x + 0.06 * s, base_y - 0.9 * s);
    cairo_line_to(cr, x + 0.12 * s, base_y);
    cairo_close_path(cr);
    if (kind == TREES_DARK) {
        set_col(cr, darker(m.hill_near, 0.4));
        cairo_fill(cr);
    } else {
        shape(cr, trunk, 1.5);
    }
    if (kind == TREES_BARE) {
        set_col(cr, trunk);
        cairo_set_line_width(cr, 0.05 * s);
        cairo_set_line_cap(cr, CAIRO_LINE_CAP_ROUND);
        for (int i = 0; i < 5; i++) {
            double a = -M_PI / 2 + rng.range(-0.9, 0.9);
            double y0 = base_y - rng.range(0.5, 0.85) * s;
            cairo_move_to(cr, x, y0);
            cairo_line_to(cr, x + std::cos(a) * 0.5 * s, y0 + std::sin(a) * 0.5 * s);
            cairo_stroke(cr);
        }
        if (m.snow) {
            path_ellipse(cr, x, base_y - 0.9 * s, 0.15 * s, 0.05 * s);
            set_col(cr, rgb(250, 252, 255));
            cairo_fill(cr);
        }
        return;
    }
    Col crown;
    switch (kind) {
    case TREES_BLOSSOM: crown = rgb(250, 190, 214); break;
    case TREES_AUTUMN: crown = rng.uniform() < 0.5 ? rgb(230, 130, 50) : rgb(214, 80, 46); break;
    case TREES_DARK: crown = darker(m.hill_near, 0.3); break;
    default: crown = rgb(96, 160, 70); break;
    }
    for (int i = 0; i < 6; i++) {
        double a = i * 1.05 + rng.range(0, 0.4);
        path_ellipse(cr, x + std::cos(a) * 0.32 * s, base_y - 1.05 * s + std::sin(a) * 0.22 * s, 0.32 * s, 0.28 * s);
    }
    path_ellipse(cr, x, base_y - 1.1 * s, 0.38 * s, 0.32 * s);
    if (kind == TREES_DARK) {
        set_col(cr, crown);
        cairo_fill(cr);
    } else {
        shape(cr, crown, 1.5, 1.0);
        if (kind == TREES_BLOSSOM) {
            for (int i = 0; i < 14; i++) {
                path_ellipse(cr, x + rng.range(-0.5, 0.5) * s, base_y - 1.05 * s + rng.range(-0.35, 0.3) * s, 2.2, 2.2);
                set_col(cr, rgb(255, 240, 246));
                cairo_fill(cr);
            }
        }
    }
}

// The world seen through the window, drawn into (x, y, w, h) which is already clipped.
void outside(cairo_t *cr, const Mood &m, Rng &rng, double x, double y, double w, double h) {
    cairo_pattern_t *sky = cairo_pattern_create_linear(0, y, 0, y + h);
    cairo_pattern_add_color_stop_rgb(sky, 0, m.sky_top.r, m.sky_top.g, m.sky_top.b);
    cairo_pattern_add_color_stop_rgb(sky, 0.8, m.sky_bottom.r, m.sky_bottom.g, m.sky_bottom.b);
    cairo_set_source(cr, sky);
    cairo_rectangle(cr, x, y, w, h);
    cairo_fill(cr);
    cairo_pattern_destroy(sky);
    if (m.stars > 0) {
        for (int i = 0; i < (int)(40 * m.stars); i++) {
            double sx = x + rng.uniform() * w, sy = y + rng.uniform() * h * 0.6;
            double r = rng.range(0.6, 1.6);
            path_ellipse(cr, sx, sy, r, r);
            set_col(cr, rgb(255, 250, 220, rng.range(0.5, 1.0)));
            cairo_fill(cr);
        }
    }
    double bx = x + m.body_x * w, by = y + m.body_y * h;
    if (m.body == BODY_SUN) {
        cairo_pattern_t *halo = cairo_pattern_create_radial(bx, by, m.body_r * 0.5, bx, by, m.body_r * 3.5);
        cairo_pattern_add_color_stop_rgba(halo, 0, m.body_col.r, m.body_col.g, m.body_col.b, 0.6);
        cairo_pattern_add_color_stop_rgba(halo, 1, m.body_col.r, m.body_col.g, m.body_col.b, 0);
        cairo_set_source(cr, halo);
        cairo_paint(cr);
        cairo_pattern_destroy(halo);
        path_ellipse(cr, bx, by, m.body_r, m.body_r);
        set_col(cr, lighter(m.body_col, 0.3));
        cairo_fill(cr);
    } else if (m.body == BODY_MOON) {
        cairo_pattern_t *halo = cairo_pattern_create_radial(bx, by, m.body_r * 0.5, bx, by, m.body_r * 3);
        cairo_pattern_add_color_stop_rgba(halo, 0, 1, 1, 0.9, 0.3);
        cairo_pattern_add_color_stop_rgba(halo, 1, 1, 1, 0.9, 0);
        cairo_set_source(cr, halo);
        cairo_paint(cr);
        cairo_pattern_destroy(halo);
        // Crescent: a disc with a sky-coloured disc bitten out of it.
        cairo_push_group(cr);
        path_ellipse(cr, bx, by, m.body_r, m.body_r);
        set_col(cr, m.body_col);
        cairo_fill(cr);
        cairo_set_operator(cr, CAIRO_OPERATOR_CLEAR);
        path_ellipse(cr, bx + m.body_r * 0.55, by - m.body_r * 0.25, m.body_r * 0.9, m.body_r * 0.9);
        cairo_fill(cr);
        cairo_pop_group_to_source(cr);
        cairo_paint(cr);
    }
    for (int i = 0; i < m.clouds; i++) {
        double cx = x + rng.uniform() * w, cy = y + rng.range(0.1, 0.45) * h;
        cloud(cr, cx, cy, rng.range(12, 22), with_alpha(m.cloud_col, m.weather == STORM ? 0.95 : 0.9));
    }
    // Hills: a far and a near one, with trees and a fence on the near hill.
    double hy = y + h * 0.62;
    cairo_move_to(cr, x, hy + 10);
    for (double t = 0; t <= w; t += 10) cairo_line_to(cr, x + t, hy - 18 * std::sin(t / w * 3.0 + 0.6) - 6);
    cairo_line_to(cr, x + w, y + h);
    cairo_line_to(cr, x, y + h);
    cairo_close_path(cr);
    set_col(cr, m.hill_far);
    cairo_fill(cr);
    int trees = 3;
    for (int i = 0; i < trees; i++) {
        double tx = x + w * (0.15 + 0.33 * i + rng.range(-0.05, 0.05));
        tree(cr, rng, tx, hy + 14, rng.range(26, 38), m.trees, m);
    }
    double ny = y + h * 0.76;
    cairo_move_to(cr, x, ny);
    for (double t = 0; t <= w; t += 10) cairo_line_to(cr, x + t, ny - 10 * std::sin(t / w * 2.2 + 2.0));
    cairo_line_to(cr, x + w, y + h);
    cairo_line_to(cr, x, y + h);
    cairo_close_path(cr);
    set_col(cr, m.hill_near);
    cairo_fill(cr);
    // Fence.
    Col fence = m.trees == TREES_DARK ? darker(m.hill_near, 0.35) : rgb(236, 226, 206);
    set_col(cr, fence);
    cairo_set_line_width(cr, 2.2);
    for (double t = 8; t < w; t += 22) {
        double fy = ny - 10 * std::sin(t / w * 2.2 + 2.0) + 6;
        cairo_move_to(cr, x + t, fy);
        cairo_line_to(cr, x + t, fy - 14);
        cairo_stroke(cr);
    }
    for (int r = 0; r < 2; r++) {
        for (double t = 0; t <= w; t += 10) {
            double fy = ny - 10 * std::sin(t / w * 2.2 + 2.0) + 6 - 5 - r * 6;
            if (t == 0) cairo_move_to(cr, x + t, fy);
            else cairo_line_to(cr, x + t, fy);
        }
        cairo_stroke(cr);
    }
    // Flowers or field detail in the grass.
    if (m.decor == DECOR_FLOWERS || m.decor == DECOR_EASTER || m.decor == DECOR_SUNFLOWERS) {
        for (int i = 0; i < 26; i++) {
            double fx = x + rng.uniform() * w, fy = ny + 10 + rng.uniform() * (y + h - ny - 10);
            Col c = m.decor == DECOR_SUNFLOWERS ? rgb(255, 210, 40)
                    : (i % 3 == 0 ? rgb(255, 240, 120) : (i % 3 == 1 ? rgb(255, 170, 200) : rgb(255, 255, 255)));
            double r = m.decor == DECOR_SUNFLOWERS ? 3.5 : 2.0;
            path_ellipse(cr, fx, fy, r, r);
            set_col(cr, c);
            cairo_fill(cr);
        }
    }
    if (m.decor == DECOR_HARVEST) {
        for (int i = 0; i < 3; i++) {
            double px = x + w * (0.2 + 0.3 * i), py = y + h - 12;
            path_ellipse(cr, px, py, 9, 7);
            shape(cr, rgb(236, 130, 40), 1.2);
        }
    }
    // Weather over everything outside.
    if (m.weather == RAIN || m.weather == STORM) {
        set_col(cr, rgb(220, 230, 255, m.weather == STORM ? 0.5 : 0.55));
        cairo_set_line_width(cr, 1.2);
        for (int i = 0; i < 90; i++) {
            double rx = x + rng.uniform() * (w + 40) - 20, ry = y + rng.uniform() * h;
            cairo_move_to(cr, rx, ry);
            cairo_line_to(cr, rx - 4, ry + 14);
            cairo_stroke(cr);
        }
        if (m.weather == STORM) {
            cairo_move_to(cr, x + w * 0.62, y);
            cairo_line_to(cr, x + w * 0.55, y + h * 0.22);
            cairo_line_to(cr, x + w * 0.6, y + h * 0.22);
            cairo_line_to(cr, x + w * 0.5, y + h * 0.5);
            set_col(cr, rgb(255, 250, 200, 0.95));
            cairo_set_line_width(cr, 2.5);
            cairo_stroke(cr);
        }
    }
    if (m.weather == SNOW) {
        for (int i = 0; i < 70; i++) {
            double r = rng.range(1.0, 2.6);
            path_ellipse(cr, x + rng.uniform() * w, y + rng.uniform() * h, r, r);
            set_col(cr, rgb(255, 255, 255, 0.9));
            cairo_fill(cr);
        }
    }
    if (m.weather == FOG) {
        cairo_pattern_t *fog = cairo_pattern_create_linear(0, y, 0, y + h);
        cairo_pattern_add_color_stop_rgba(fog, 0, 0.95, 0.92, 0.9, 0.2);
        cairo_pattern_add_color_stop_rgba(fog, 0.7, 0.95, 0.92, 0.9, 0.7);
        cairo_pattern_add_color_stop_rgba(fog, 1, 0.95, 0.92, 0.9, 0.5);
        cairo_set_source(cr, fog);
        cairo_rectangle(cr, x, y, w, h);
        cairo_fill(cr);
        cairo_pattern_destroy(fog);
    }
    if (m.weather == PETALS || m.weather == LEAVES) {
        for (int i = 0; i < 24; i++) {
            double px = x + rng.uniform() * w, py = y + rng.uniform() * h;
            path_ellipse(cr, px, py, 3.2, 1.8, rng.range(0, 3));
            set_col(cr, m.weather == PETALS ? rgb(255, 200, 220) : (i % 2 ? rgb(230, 120, 40) : rgb(240, 180, 50)));
            cairo_fill(cr);
        }
    }
}

// ---- the window ---------------------------------------------------------------------------

struct WindowGeom {
    double x, y, w, h;
};

void window_path(cairo_t *cr, const WindowGeom &g, int kind) {
    if (kind == 1) {
        cairo_rectangle(cr, g.x, g.y, g.w, g.h);
    } else {
        // Round top.
        double r = g.w / 2;
        cairo_move_to(cr, g.x, g.y + g.h);
        cairo_line_to(cr, g.x, g.y + r);
        cairo_arc(cr, g.x + r, g.y + r, r, M_PI, 2 * M_PI);
        cairo_line_to(cr, g.x + g.w, g.y + g.h);
        cairo_close_path(cr);
    }
}

// One icicle hanging from (x, y), len long.
void icicle(cairo_t *cr, double x, double y, double len) {
    cairo_move_to(cr, x - 4, y);
    cairo_line_to(cr, x, y + len);
    cairo_line_to(cr, x + 4, y);
    cairo_close_path(cr);
    shape(cr, rgb(224, 240, 255), 1.0, 0.5);
}

// Icicles hanging outside along the top of the window (from the loft door's lintel), seen
// below its frame: long in deep winter, a few short dripping ones in the thaw. Kept to the
// window so the wall's top band stays dark behind the messages drawn over it.
void window_icicles(cairo_t *cr, const Mood &m, const WindowGeom &g) {
    if (!m.snow && m.props != PROPS_WINTER) return;
    const bool thaw = !m.snow;
    const int n = thaw ? 8 : 12;
    const double r = g.w / 2, cx = g.x + r;
    for (int i = 0; i < n; i++) {
        const double x = g.x + 16 + i * (g.w - 32) / (n - 1);
        double top = g.y;
        if (m.window != 1) {
            // Under the arch: the top follows the round head, hidden behind the frame.
            const double dx = x - cx;
            if (std::fabs(dx) > 0.82 * r) continue;
            top = g.y + r - std::sqrt(r * r - dx * dx) + 4;
        }
        const double len = (thaw ? 15 : 16) + ((i * 7) % 5) * (thaw ? 3.0 : 4.0);
        icicle(cr, x, top, len);
        if (thaw && i % 2 == 1) {
            // A drop about to fall.
            path_egg(cr, x, top + len + 7, 5, 7);
            shape(cr, rgb(170, 214, 250), 0.8, 0.5);
        }
    }
}

void window(cairo_t *cr, const Mood &m, Rng &rng, const WindowGeom &g) {
    // The view.
    cairo_save(cr);
    window_path(cr, g, m.window);
    cairo_clip(cr);
    outside(cr, m, rng, g.x, g.y, g.w, g.h);
    window_icicles(cr, m, g);
    cairo_restore(cr);
    Col frame = mix(pal::wood_light, pal::wood, 0.4);
    if (m.window == 1) {
        // An open loft door: two leaves swung against the wall, and a frame.
        for (int s = -1; s <= 1; s += 2) {
            double lx = s < 0 ? g.x - 50 : g.x + g.w + 6;
            cairo_save(cr);
            path_round_rect(cr, lx, g.y + 4, 44, g.h - 8, 3);
            fill_lit(cr, darker(pal::wood, 0.1), 0.6);
            cairo_new_path(cr);
            for (int i = 0; i < 4; i++) {
                cairo_move_to(cr, lx + 11 * i, g.y + 4);
                cairo_line_to(cr, lx + 11 * i, g.y + g.h - 4);
            }
            set_col(cr, with_alpha(pal::ink, 0.5));
            cairo_set_line_width(cr, 1.2);
            cairo_stroke(cr);
            // A Z brace across the leaf.
            cairo_move_to(cr, lx + 4, g.y + 22);
            cairo_line_to(cr, lx + 40, g.y + 22);
            cairo_line_to(cr, lx + 4, g.y + g.h - 24);
            cairo_line_to(cr, lx + 40, g.y + g.h - 24);
            inked_stroke(cr, pal::wood_light, 6, 1.2);
            path_round_rect(cr, lx, g.y + 4, 44, g.h - 8, 3);
            outline(cr, LW * 0.8);
            cairo_restore(cr);
        }
        beam(cr, rng, g.x - 8, g.y - 6, g.x + g.w + 8, g.y - 6, 14, frame);
        beam(cr, rng, g.x - 6, g.y - 6, g.x - 6, g.y + g.h + 6, 12, frame);
        beam(cr, rng, g.x + g.w + 6, g.y - 6, g.x + g.w + 6, g.y + g.h + 6, 12, frame);
        beam(cr, rng, g.x - 10, g.y + g.h + 6, g.x + g.w + 10, g.y + g.h + 6, 12, frame);
        if (m.snow) {
            // Snow lying on the lintel and drifted onto the sill.
            path_round_rect(cr, g.x - 12, g.y - 18, g.w + 24, 8, 4);
            path_round_rect(cr, g.x - 14, g.y + g.h - 4, g.w + 28, 7, 3.5);
            shape(cr, rgb(250, 252, 255), LW * 0.6, 0.4);
        }
        return;
    }
    // Glass glint, mullions and frame.
    cairo_save(cr);
    window_path(cr, g, m.window);
    cairo_clip(cr);
    cairo_move_to(cr, g.x + g.w * 0.1, g.y + g.h);
    cairo_line_to(cr, g.x + g.w * 0.45, g.y);
    cairo_line_to(cr, g.x + g.w * 0.6, g.y);
    cairo_line_to(cr, g.x + g.w * 0.25, g.y + g.h);
    set_col(cr, rgb(255, 255, 255, 0.12));
    cairo_fill(cr);
    cairo_restore(cr);
    set_col(cr, pal::ink);
    cairo_set_line_width(cr, 10 + 2 * LW);
    cairo_move_to(cr, g.x + g.w / 2, g.y + 4);
    cairo_line_to(cr, g.x + g.w / 2, g.y + g.h);
    cairo_move_to(cr, g.x, g.y + g.h * 0.55);
    cairo_line_to(cr, g.x + g.w, g.y + g.h * 0.55);
    cairo_stroke(cr);
    set_col(cr, frame);
    cairo_set_line_width(cr, 10);
    cairo_move_to(cr, g.x + g.w / 2, g.y + 4);
    cairo_line_to(cr, g.x + g.w / 2, g.y + g.h);
    cairo_move_to(cr, g.x, g.y + g.h * 0.55);
    cairo_line_to(cr, g.x + g.w, g.y + g.h * 0.55);
    cairo_stroke(cr);
    window_path(cr, g, m.window);
    set_col(cr, pal::ink);
    cairo_set_line_width(cr, 16 + 2 * LW);
    cairo_stroke_preserve(cr);
    set_col(cr, frame);
    cairo_set_line_width(cr, 16);
    cairo_stroke(cr);
    // Sill.
    path_round_rect(cr, g.x - 18, g.y + g.h + 4, g.w + 36, 14, 3);
    shape(cr, frame, LW * 0.8, 0.7);
    if (m.window == 2) {
        // Shutters folded open either side.
        for (int s = -1; s <= 1; s += 2) {
            double lx = s < 0 ? g.x - 52 : g.x + g.w + 12;
            path_round_rect(cr, lx, g.y + g.w * 0.3, 40, g.h - g.w * 0.3, 4);
            fill_lit(cr, rgb(96, 140, 110), 0.6);
            cairo_new_path(cr);
            for (int i = 0; i < 6; i++) {
                double yy = g.y + g.w * 0.3 + 16 + i * (g.h - g.w * 0.3 - 24) / 6;
                cairo_move_to(cr, lx + 6, yy);
                cairo_line_to(cr, lx + 34, yy + 4);
            }
            set_col(cr, with_alpha(pal::ink, 0.45));
            cairo_set_line_width(cr, 2);
            cairo_stroke(cr);
            path_round_rect(cr, lx, g.y + g.w * 0.3, 40, g.h - g.w * 0.3, 4);
            outline(cr, LW * 0.8);
        }
    }
    if (m.snow) {
        // Snow on the sill and a few icicles.
        path_round_rect(cr, g.x - 16, g.y + g.h, g.w + 32, 8, 4);
        shape(cr, rgb(250, 252, 255), LW * 0.6, 0.4);
        for (int i = 0; i < 7; i++) {
            double ix = g.x - 8 + i * (g.w + 16) / 6.0;
            cairo_move_to(cr, ix - 3, g.y + g.h + 17);
            cairo_line_to(cr, ix, g.y + g.h + 17 + 8 + (i * 5) % 9);
            cairo_line_to(cr, ix + 3, g.y + g.h + 17);
            cairo_close_path(cr);
            shape(cr, rgb(220, 236, 255), 1.0, 0.4);
        }
    }
    if (m.decor == DECOR_FLOWERS || m.decor == DECOR_EASTER) {
        // A flower box on the sill.
        path_round_rect(cr, g.x + g.w * 0.15, g.y + g.h - 4, g.w * 0.7, 12, 2);
        shape(cr, rgb(190, 96, 70), LW * 0.7);
        for (int i = 0; i < 6; i++) {
            double fx = g.x + g.w * (0.2 + 0.12 * i), fy = g.y + g.h - 12;
            cairo_move_to(cr, fx, fy + 10);
            cairo_line_to(cr, fx, fy);
            set_col(cr, pal::leaf);
            cairo_set_line_width(cr, 2);
            cairo_stroke(cr);
            path_ellipse(cr, fx, fy, 5, 5);
            shape(cr, i % 2 ? rgb(255, 150, 180) : rgb(255, 220, 90), 1.2);
        }
    }
}

// ---- furniture: shelves, nests, chutes ------------------------------------------------------

double side_x(const LevelLayout &L, int side, double v) { return side == 0 ? v : L.mirror_width - v; }

// The egg rolls with its centre on the line from (ramp_start, ramp_top - 18) to
// (ramp_end, catch - 18); the chute's top runs one egg radius below that line.
const double EGG_RADIUS = 19;

struct Chute {
    double x1, y1, x2, y2;  // the top surface, upper end then lower end
};

Chute chute_of(const LevelLayout &L, int side, int f) {
    double sx = side_x(L, side, L.ramp_start_x), ex = side_x(L, side, L.ramp_end_x);
    double sy = L.ramp_top_y[f] - 18, ey = L.catch_y[f] - 18;
    double dx = ex - sx, dy = ey - sy;
    double len = std::sqrt(dx * dx + dy * dy);
    double drop = EGG_RADIUS * len / std::fabs(dx);  // vertical offset for a perpendicular radius
    Chute c;
    // Reach a little above the path's start, under where the egg joins it from the nest,
    // and end right at the catch point.
    double back = 16;
    c.x1 = sx - back * dx / std::fabs(dx);
    c.y1 = sy + drop - back * dy / std::fabs(dx);
    c.x2 = ex;
    c.y2 = ey + drop;
    return c;
}

void draw_chute(cairo_t *cr, Rng &rng, const Chute &c) {
    double dx = c.x2 - c.x1, dy = c.y2 - c.y1;
    double len = std::sqrt(dx * dx + dy * dy);
    double a = std::atan2(dy, dx);
    cairo_save(cr);
    cairo_translate(cr, c.x1, c.y1);
    cairo_rotate(cr, a);
    bool flipped = dx < 0;
    if (flipped) cairo_scale(cr, 1, -1);
    // In this frame the surface runs along y = 0 from x = 0 to len; "down" is +y, except
    // when flipped, where it's -y: draw with a sign.
    double s = flipped ? -1 : 1;
    // Far rail, seen above the trough floor, behind the egg.
    cairo_rectangle(cr, 0, -9 * s, len, 9 * s);
    shape(cr, darker(pal::wood, 0.35), LW * 0.7, 0.5);
    // The trough's front board.
    Col front = mix(pal::wood_light, pal::wood, 0.35);
    cairo_save(cr);
    cairo_rectangle(cr, 0, 0, len, 15 * s);
    fill_lit(cr, front, 0.6);
    cairo_clip(cr);
    cairo_new_path(cr);
    grain(cr, rng, 0, flipped ? -15 : 0, len, 15, false, front);
    cairo_restore(cr);
    cairo_rectangle(cr, 0, 0, len, 15 * s);
    outline(cr, LW * 0.8);
    // A light edge along the top where the eggs roll.
    cairo_move_to(cr, 2, 1.8 * s);
    cairo_line_to(cr, len - 2, 1.8 * s);
    set_col(cr, with_alpha(pal::light, 0.6));
    cairo_set_line_width(cr, 1.6);
    cairo_stroke(cr);
    // End caps.
    path_round_rect(cr, -5, flipped ? -17 : -11, 8, 28, 2);
    shape(cr, darker(pal::wood, 0.15), LW * 0.7, 0.5);
    for (double t = 40; t < len - 10; t += 46) nail(cr, t, 8 * s);
    cairo_restore(cr);
}

// Hanging ropes from (x, top) down to the chute at x.
void rope(cairo_t *cr, double x, double top, double bottom) {
    cairo_move_to(cr, x, top);
    cairo_line_to(cr, x, bottom);
    inked_stroke(cr, rgb(214, 186, 130), 3.2, 1.1);
    set_col(cr, with_alpha(darker(rgb(214, 186, 130), 0.5), 0.7));
    cairo_set_line_width(cr, 1);
    for (double y = top + 3; y < bottom - 2; y += 6) {
        cairo_move_to(cr, x - 1.6, y);
        cairo_line_to(cr, x + 1.6, y + 3);
    }
    cairo_stroke(cr);
}

double chute_y_at(const Chute &c, double x) { return c.y1 + (c.y2 - c.y1) * (x - c.x1) / (c.x2 - c.x1); }

void shelf(cairo_t *cr, Rng &rng, int side, double X, double p) {
    // The shelf board under the nest, from the side wall to just past the nest, on a
    // bracket.
    double top = p + 18;
    double inner = side == 0 ? X + 88 : X - 88;
    double outer = side == 0 ? -10 : W + 10;
    double x0 = std::min(inner, outer), x1 = std::max(inner, outer);
    // Two knee brackets fixed to the wall under the board.
    Col bc = darker(pal::wood, 0.15);
    for (int k = -1; k <= 1; k += 2) {
        double bx = X + k * 76;
        double dir = -k;  // the diagonal leans in towards the nest
        beam(cr, rng, bx, top + 12, bx, top + 46, 10, bc);
        beam(cr, rng, bx, top + 42, bx + dir * 28, top + 14, 8, bc);
    }
    plank(cr, rng, x0, top, x1 - x0, 15, mix(pal::wood, pal::wood_light, 0.3), false);
    nail(cr, side == 0 ? x1 - 10 : x0 + 10, top + 7);
}

// The back of the nest: the far rim of straw, seen above the front edge, behind the hen.
void nest_back(cairo_t *cr, Rng &rng, double X, double p) {
    path_ellipse(cr, X, p - 6, 80, 13);
    shape(cr, pal::straw_dark, LW * 0.8, 0.6);
    for (int i = 0; i < 40; i++) {
        double a = M_PI + rng.uniform() * M_PI;
        double x = X + 76 * std::cos(a), y = p - 6 + 12 * std::sin(a);
        double l = rng.range(6, 12);
        double t = rng.range(-0.8, 0.8);
        cairo_move_to(cr, x, y);
        cairo_line_to(cr, x + l * std::sin(t), y - l * std::cos(t) * 0.7);
    }
    set_col(cr, pal::straw);
    cairo_set_line_width(cr, 1.6);
    cairo_stroke(cr);
}

// The front of the nest: a straw bowl whose flat top edge lies at p - 4 across the hen's
// width, so the painter's strip shows it over the hen's lower body.
void nest_front(cairo_t *cr, Rng &rng, double X, double p) {
    double top = p - 7;
    cairo_move_to(cr, X - 82, top);
    cairo_curve_to(cr, X - 40, top - 3, X + 40, top - 3, X + 82, top);
    cairo_curve_to(cr, X + 84, p + 16, X + 50, p + 24, X, p + 24);
    cairo_curve_to(cr, X - 50, p + 24, X - 84, p + 16, X - 82, top);
    cairo_close_path(cr);
    cairo_save(cr);
    cairo_path_t *bowl = cairo_copy_path(cr);
    shape(cr, pal::straw, LW, 0.8);
    cairo_append_path(cr, bowl);
    cairo_clip(cr);
    // Woven straw: curved strokes of two shades.
    for (int row = 0; row < 5; row++) {
        double y = top + 3 + row * 6.2;
        for (int i = 0; i < 14; i++) {
            double x = X - 88 + i * 13 + ((row % 2) ? 6 : 0) + rng.range(-2, 2);
            cairo_move_to(cr, x, y + rng.range(-1, 1));
            cairo_curve_to(cr, x + 4, y + 3, x + 9, y + 3, x + 14, y + rng.range(-1, 1));
        }
        set_col(cr, with_alpha(pal::straw_dark, 0.9));
        cairo_set_line_width(cr, 2.0);
        cairo_stroke(cr);
    }
    for (int i = 0; i < 30; i++) {
        double x = X + rng.range(-80, 80), y = top + rng.range(2, 28);
        double a = rng.range(-0.5, 0.5);
        cairo_move_to(cr, x, y);
        cairo_line_to(cr, x + 12 * std::cos(a), y + 12 * std::sin(a));
    }
    set_col(cr, with_alpha(lighter(pal::straw, 0.4), 0.9));
    cairo_set_line_width(cr, 1.3);
    cairo_stroke(cr);
    cairo_pattern_t *sh = cairo_pattern_create_linear(0, top, 0, p + 24);
    cairo_pattern_add_color_stop_rgba(sh, 0.4, 0, 0, 0, 0);
    cairo_pattern_add_color_stop_rgba(sh, 1, pal::shadow.r, pal::shadow.g, pal::shadow.b, 0.4);
    cairo_set_source(cr, sh);
    cairo_paint(cr);
    cairo_pattern_destroy(sh);
    cairo_restore(cr);
    cairo_append_path(cr, bowl);
    outline(cr, LW);
    cairo_path_destroy(bowl);
    // Stray straws over the rim at the two ends, clear of the hen.
    for (int s = -1; s <= 1; s += 2) {
        for (int i = 0; i < 4; i++) {
            double x = X + s * (70 + i * 3);
            cairo_move_to(cr, x, top + 2);
            cairo_line_to(cr, x + s * rng.range(4, 10), top - rng.range(5, 10));
        }
    }
    set_col(cr, pal::straw);
    cairo_set_line_width(cr, 1.6);
    cairo_stroke(cr);
}


// ---- seasonal things about the barn ------------------------------------------------------

void bucket(cairo_t *cr, double x, double y);

void flower_pot(cairo_t *cr, Rng &rng, double x, double y, Col bloom) {
    for (int i = 0; i < 4; i++) {
        double fx = x - 16 + i * 11 + rng.range(-2, 2), fy = y - 46 - rng.range(0, 18);
        cairo_move_to(cr, x - 4 + i * 3, y - 26);
        cairo_curve_to(cr, x - 4 + i * 3, y - 34, fx, fy + 12, fx, fy);
        set_col(cr, darker(pal::leaf, 0.2));
        cairo_set_line_width(cr, 2.4);
        cairo_stroke(cr);
        path_ellipse(cr, fx + 6, fy + 12, 6, 3, 0.5);
        set_col(cr, pal::leaf);
        cairo_fill(cr);
        for (int k = 0; k < 5; k++) {
            double a = k * 2 * M_PI / 5;
            path_ellipse(cr, fx + 5 * std::cos(a), fy + 5 * std::sin(a), 4, 4);
        }
        shape(cr, i % 2 ? bloom : lighter(bloom, 0.4), 1.2);
        path_ellipse(cr, fx, fy, 2.6, 2.6);
        shape(cr, rgb(255, 214, 80), 0.8);
    }
    cairo_move_to(cr, x - 22, y - 28);
    cairo_line_to(cr, x + 22, y - 28);
    cairo_line_to(cr, x + 16, y);
    cairo_line_to(cr, x - 16, y);
    cairo_close_path(cr);
    shape(cr, rgb(200, 108, 72), LW * 0.9, 0.8);
    path_round_rect(cr, x - 25, y - 32, 50, 8, 2);
    shape(cr, rgb(214, 122, 84), LW * 0.8, 0.6);
}

void watering_can(cairo_t *cr, double x, double y) {
    cairo_move_to(cr, x + 16, y - 18);
    cairo_line_to(cr, x + 40, y - 40);
    inked_stroke(cr, rgb(120, 170, 150), 5, 1.2);
    path_round_rect(cr, x - 20, y - 34, 40, 34, 6);
    shape(cr, rgb(120, 170, 150), LW * 0.9, 0.8);
    cairo_arc(cr, x - 2, y - 34, 14, M_PI, 2 * M_PI);
    set_col(cr, pal::ink);
    cairo_set_line_width(cr, 3);
    cairo_stroke(cr);
}

void sunflowers(cairo_t *cr, Rng &rng, double x, double y) {
    for (int i = 0; i < 3; i++) {
        double fx = x - 20 + i * 20, fy = y - 110 - (i == 1 ? 30 : 0) - rng.range(0, 10);
        cairo_move_to(cr, x - 6 + i * 6, y - 30);
        cairo_line_to(cr, fx, fy);
        inked_stroke(cr, pal::leaf, 3.5, 1.0);
        path_ellipse(cr, (x - 6 + i * 6 + fx) / 2 + 8, (y - 30 + fy) / 2, 10, 5, -0.5);
        shape(cr, pal::leaf, 1.2);
        for (int k = 0; k < 12; k++) {
            double a = k * 2 * M_PI / 12;
            path_ellipse(cr, fx + 11 * std::cos(a), fy + 11 * std::sin(a), 6.5, 3.5, a);
        }
        shape(cr, rgb(255, 206, 40), 1.2);
        path_ellipse(cr, fx, fy, 7, 7);
        shape(cr, rgb(120, 70, 40), 1.2);
    }
    bucket(cr, x, y);
}

void straw_hat(cairo_t *cr, double x, double y) {
    nail(cr, x, y - 14);
    path_ellipse(cr, x, y + 6, 36, 10);
    shape(cr, pal::straw, LW * 0.8, 0.8);
    cairo_move_to(cr, x - 18, y + 4);
    cairo_curve_to(cr, x - 18, y - 20, x + 18, y - 20, x + 18, y + 4);
    cairo_close_path(cr);
    shape(cr, lighter(pal::straw, 0.1), LW * 0.8, 0.8);
    cairo_move_to(cr, x - 18, y - 1);
    cairo_curve_to(cr, x - 6, y + 2, x + 6, y + 2, x + 18, y - 1);
    inked_stroke(cr, rgb(204, 60, 56), 4, 0.8);
}

void pumpkin(cairo_t *cr, double x, double y, double s) {
    path_ellipse(cr, x - 0.45 * s, y - 0.42 * s, 0.42 * s, 0.42 * s);
    path_ellipse(cr, x + 0.45 * s, y - 0.42 * s, 0.42 * s, 0.42 * s);
    path_ellipse(cr, x, y - 0.45 * s, 0.55 * s, 0.45 * s);
    shape(cr, rgb(238, 132, 40), LW * 0.9);
    cairo_move_to(cr, x - 0.2 * s, y - 0.85 * s);
    cairo_curve_to(cr, x - 0.25 * s, y - 0.5 * s, x - 0.25 * s, y - 0.2 * s, x - 0.2 * s, y - 0.05 * s);
    cairo_move_to(cr, x + 0.2 * s, y - 0.85 * s);
    cairo_curve_to(cr, x + 0.25 * s, y - 0.5 * s, x + 0.25 * s, y - 0.2 * s, x + 0.2 * s, y - 0.05 * s);
    set_col(cr, with_alpha(darker(rgb(238, 132, 40), 0.5), 0.8));
    cairo_set_line_width(cr, 1.6);
    cairo_stroke(cr);
    cairo_move_to(cr, x, y - 0.85 * s);
    cairo_curve_to(cr, x + 0.02 * s, y - 1.05 * s, x + 0.12 * s, y - 1.1 * s, x + 0.2 * s, y - 1.08 * s);
    inked_stroke(cr, rgb(110, 130, 60), 0.12 * s, 1.0);
    gloss(cr, x - 0.3 * s, y - 0.65 * s, 0.18 * s, 0.1 * s, 0.45);
}

void apple_crate(cairo_t *cr, Rng &rng, double x, double y) {
    for (int i = 0; i < 7; i++) {
        double ax = x - 30 + i * 10 + rng.range(-2, 2), ay = y - 40 - ((i % 2) ? 6 : 0);
        path_ellipse(cr, ax, ay, 8, 7.5);
        shape(cr, i % 3 ? rgb(214, 52, 48) : rgb(150, 190, 60), 1.2);
        gloss(cr, ax - 2.5, ay - 2.5, 2.5, 2, 0.7);
    }
    for (int r = 0; r < 2; r++) {
        path_round_rect(cr, x - 40, y - 40 + r * 20, 80, 18, 2);
        shape(cr, mix(pal::wood_light, pal::wood, 0.3), LW * 0.8, 0.6);
    }
}

void raincoat(cairo_t *cr, double x, double y) {
    // A yellow hooded raincoat hanging on a peg: sleeves, body, hood.
    Col coat = rgb(250, 204, 50);
    for (int k = -1; k <= 1; k += 2) {
        path_capsule(cr, x + k * 18, y + 34, x + k * 27, y + 84, 9, 8);
        shape(cr, darker(coat, 0.12), LW * 0.8, 0.7);
    }
    cairo_move_to(cr, x - 17, y + 24);
    cairo_line_to(cr, x + 17, y + 24);
    cairo_curve_to(cr, x + 24, y + 50, x + 26, y + 80, x + 26, y + 100);
    cairo_curve_to(cr, x + 10, y + 104, x - 10, y + 104, x - 26, y + 100);
    cairo_curve_to(cr, x - 26, y + 80, x - 24, y + 50, x - 17, y + 24);
    cairo_close_path(cr);
    shape(cr, coat, LW * 0.9, 0.9);
    cairo_move_to(cr, x, y + 28);
    cairo_line_to(cr, x, y + 100);
    set_col(cr, with_alpha(pal::ink, 0.6));
    cairo_set_line_width(cr, 1.5);
    cairo_stroke(cr);
    for (int i = 0; i < 3; i++) {
        path_ellipse(cr, x + 5, y + 42 + i * 18, 2.5, 2.5);
        set_col(cr, pal::ink);
        cairo_fill(cr);
    }
    path_ellipse(cr, x, y + 16, 17, 15);
    shape(cr, coat, LW * 0.9, 0.9);
    path_ellipse(cr, x, y + 19, 10, 9);
    set_col(cr, darker(coat, 0.55));
    cairo_fill(cr);
    nail(cr, x, y + 6);
}

void floor_puddle(cairo_t *cr, double x, double y) {
    path_ellipse(cr, x, y, 44, 8);
    set_col(cr, rgb(120, 150, 190, 0.55));
    cairo_fill(cr);
    path_ellipse(cr, x - 8, y - 2, 18, 3);
    set_col(cr, rgb(220, 236, 255, 0.5));
    cairo_fill(cr);
    path_ellipse(cr, x + 10, y, 14, 3.5);
    set_col(cr, rgb(200, 220, 250, 0.7));
    cairo_set_line_width(cr, 1);
    cairo_stroke(cr);
}

void drip(cairo_t *cr, double x, double y) {
    path_egg(cr, x, y, 6, 9);
    set_col(cr, rgb(170, 200, 240, 0.9));
    cairo_fill_preserve(cr);
    set_col(cr, rgb(60, 80, 110, 0.8));
    cairo_set_line_width(cr, 1);
    cairo_stroke(cr);
}

void sleeping_cat(cairo_t *cr, double x, double y) {
    Col fur = rgb(236, 150, 70);
    cairo_move_to(cr, x + 26, y - 6);
    cairo_curve_to(cr, x + 46, y - 4, x + 48, y - 22, x + 34, y - 24);
    inked_stroke(cr, fur, 7, 1.2);
    path_ellipse(cr, x, y - 14, 32, 16);
    shape(cr, fur, LW * 0.9);
    path_ellipse(cr, x - 26, y - 18, 14, 12);
    shape(cr, fur, LW * 0.9);
    for (int s = -1; s <= 1; s += 2) {
        cairo_move_to(cr, x - 26 + s * 9, y - 24);
        cairo_line_to(cr, x - 26 + s * 11 - 2, y - 36);
        cairo_line_to(cr, x - 26 + s * 3, y - 28);
        cairo_close_path(cr);
        shape(cr, fur, 1.4);
    }
    set_col(cr, pal::ink);
    cairo_set_line_width(cr, 1.4);
    for (int s = -1; s <= 1; s += 2) {
        cairo_move_to(cr, x - 26 + s * 6 - 3, y - 18);
        cairo_curve_to(cr, x - 26 + s * 6 - 1, y - 16, x - 26 + s * 6 + 1, y - 16, x - 26 + s * 6 + 3, y - 18);
    }
    cairo_stroke(cr);
    for (int i = 0; i < 3; i++) {
        cairo_move_to(cr, x - 4 + i * 10, y - 28);
        cairo_line_to(cr, x - 2 + i * 10, y - 20);
    }
    set_col(cr, with_alpha(darker(fur, 0.5), 0.7));
    cairo_set_line_width(cr, 2);
    cairo_stroke(cr);
    // "z z" of its sleep.
    set_col(cr, rgb(255, 255, 255, 0.85));
    cairo_set_line_width(cr, 1.8);
    for (int i = 0; i < 2; i++) {
        double zx = x - 40 - i * 12, zy = y - 46 - i * 14, z = 5 + i * 2;
        cairo_move_to(cr, zx - z, zy - z);
        cairo_line_to(cr, zx + z, zy - z);
        cairo_line_to(cr, zx - z, zy + z);
        cairo_line_to(cr, zx + z, zy + z);
    }
    cairo_stroke(cr);
}

void sled(cairo_t *cr, double x, double y) {
    cairo_save(cr);
    cairo_translate(cr, x, y);
    cairo_rotate(cr, -1.3);
    for (int i = 0; i < 3; i++) {
        path_round_rect(cr, 0, -30 + i * 14, 110, 10, 3);
        shape(cr, rgb(196, 70, 56), LW * 0.8, 0.7);
    }
    cairo_move_to(cr, 0, 14);
    cairo_line_to(cr, 104, 14);
    cairo_curve_to(cr, 124, 14, 124, -10, 110, -10);
    inked_stroke(cr, rgb(170, 170, 180), 4, 1.0);
    cairo_restore(cr);
}

void snow_drift(cairo_t *cr, double x, double y, double w) {
    cairo_move_to(cr, x, y);
    cairo_curve_to(cr, x + w * 0.2, y - 22, x + w * 0.6, y - 30, x + w, y);
    cairo_close_path(cr);
    shape(cr, rgb(246, 250, 255), LW * 0.8, 0.5);
}

void egg_basket(cairo_t *cr, double x, double y) {
    const Col cols[5] = {pal::paint_a, pal::paint_b, pal::egg_gold, pal::paint_c, pal::egg_white};
    for (int i = 0; i < 5; i++) {
        double ex = x - 28 + i * 14, ey = y - 44 - ((i % 2) ? 4 : 0);
        cairo_save(cr);
        cairo_translate(cr, ex, ey);
        cairo_rotate(cr, (i - 2) * 0.2);
        path_egg(cr, 0, 0, 15, 20);
        shape(cr, cols[i], 1.4);
        cairo_move_to(cr, -7, 0);
        cairo_line_to(cr, 7, 0);
        set_col(cr, rgb(255, 255, 255, 0.85));
        cairo_set_line_width(cr, 2);
        cairo_stroke(cr);
        cairo_restore(cr);
    }
    draw_basket(cr, x, y - 36, 86, 38, 2.4, 0);
    // Ribbon bow.
    path_ellipse(cr, x - 8, y - 20, 8, 5, 0.4);
    path_ellipse(cr, x + 8, y - 20, 8, 5, -0.4);
    shape(cr, pal::paint_a, 1.4);
}

void bunting(cairo_t *cr, double x1, double x2, double y, double sag) {
    const Col cols[4] = {pal::paint_a, pal::egg_gold, pal::paint_b, pal::paint_c};
    cairo_move_to(cr, x1, y);
    cairo_curve_to(cr, x1 + (x2 - x1) / 3, y + sag, x1 + 2 * (x2 - x1) / 3, y + sag, x2, y);
    set_col(cr, pal::ink);
    cairo_set_line_width(cr, 1.5);
    cairo_stroke(cr);
    int n = (int)((x2 - x1) / 26);
    for (int i = 1; i < n; i++) {
        double t = (double)i / n;
        double px = x1 + (x2 - x1) * t;
        double py = y + sag * 4 * t * (1 - t) * 0.75;
        cairo_move_to(cr, px - 8, py);
        cairo_line_to(cr, px + 8, py);
        cairo_line_to(cr, px, py + 16);
        cairo_close_path(cr);
        shape(cr, cols[i % 4], 1.2);
    }
}

// ---- the room ------------------------------------------------------------------------------------

void lantern(cairo_t *cr, double x, double y, bool lit) {
    cairo_move_to(cr, x, y - 30);
    cairo_line_to(cr, x, y - 14);
    set_col(cr, pal::ink);
    cairo_set_line_width(cr, 2);
    cairo_stroke(cr);
    if (lit) {
        cairo_pattern_t *g = cairo_pattern_create_radial(x, y, 4, x, y, 40);
        cairo_pattern_add_color_stop_rgba(g, 0, 1, 0.85, 0.45, 0.55);
        cairo_pattern_add_color_stop_rgba(g, 1, 1, 0.85, 0.45, 0);
        cairo_set_source(cr, g);
        cairo_arc(cr, x, y, 40, 0, 2 * M_PI);
        cairo_fill(cr);
        cairo_pattern_destroy(g);
    }
    path_round_rect(cr, x - 10, y - 12, 20, 26, 4);
    shape(cr, lit ? rgb(255, 214, 120) : rgb(200, 200, 190), LW * 0.7, 0.5);
    if (lit) {
        path_egg(cr, x, y + 2, 6, 11);
        set_col(cr, rgb(255, 250, 220));
        cairo_fill(cr);
    }
    cairo_move_to(cr, x - 10, y + 1);
    cairo_line_to(cr, x + 10, y + 1);
    cairo_move_to(cr, x, y - 12);
    cairo_line_to(cr, x, y + 14);
    set_col(cr, pal::ink);
    cairo_set_line_width(cr, 1.5);
    cairo_stroke(cr);
    path_round_rect(cr, x - 12, y - 16, 24, 5, 2);
    path_round_rect(cr, x - 12, y + 13, 24, 5, 2);
    shape(cr, rgb(90, 80, 80), LW * 0.6, 0.5);
}

void hay_bale(cairo_t *cr, Rng &rng, double x, double y, double w, double h) {
    path_round_rect(cr, x, y, w, h, 8);
    cairo_path_t *p = cairo_copy_path(cr);
    shape(cr, pal::straw, LW, 0.8);
    cairo_save(cr);
    cairo_append_path(cr, p);
    cairo_clip(cr);
    for (int i = 0; i < (int)(w * h / 60); i++) {
        double sx = x + rng.uniform() * w, sy = y + rng.uniform() * h;
        double a = rng.range(-0.4, 0.4);
        cairo_move_to(cr, sx, sy);
        cairo_line_to(cr, sx + 10 * std::cos(a), sy + 10 * std::sin(a));
        set_col(cr, rng.uniform() < 0.5 ? with_alpha(pal::straw_dark, 0.7) : with_alpha(lighter(pal::straw, 0.4), 0.8));
        cairo_set_line_width(cr, 1.3);
        cairo_stroke(cr);
    }
    // Twine.
    for (int i = 1; i <= 2; i++) {
        cairo_move_to(cr, x + w * i / 3.0, y);
        cairo_line_to(cr, x + w * i / 3.0, y + h);
    }
    set_col(cr, rgb(150, 80, 60));
    cairo_set_line_width(cr, 2.4);
    cairo_stroke(cr);
    cairo_restore(cr);
    cairo_append_path(cr, p);
    outline(cr, LW);
    cairo_path_destroy(p);
}

void sack(cairo_t *cr, double x, double y, double s) {
    cairo_move_to(cr, x - 0.5 * s, y);
    cairo_curve_to(cr, x - 0.62 * s, y - 0.6 * s, x - 0.4 * s, y - 0.95 * s, x - 0.15 * s, y - 1.0 * s);
    cairo_line_to(cr, x - 0.2 * s, y - 1.15 * s);
    cairo_line_to(cr, x + 0.2 * s, y - 1.15 * s);
    cairo_line_to(cr, x + 0.15 * s, y - 1.0 * s);
    cairo_curve_to(cr, x + 0.4 * s, y - 0.95 * s, x + 0.62 * s, y - 0.6 * s, x + 0.5 * s, y);
    cairo_close_path(cr);
    shape(cr, rgb(214, 190, 150), LW, 0.8);
    cairo_move_to(cr, x - 0.18 * s, y - 1.0 * s);
    cairo_line_to(cr, x + 0.18 * s, y - 1.0 * s);
    set_col(cr, rgb(140, 80, 60));
    cairo_set_line_width(cr, 2.5);
    cairo_stroke(cr);
}

void pitchfork(cairo_t *cr, double x, double y) {
    cairo_move_to(cr, x, y);
    cairo_line_to(cr, x + 40, y - 190);
    inked_stroke(cr, pal::wood_light, 5, 1.2);
    double tx = x + 40, ty = y - 190;
    cairo_move_to(cr, tx - 12, ty + 2);
    cairo_line_to(cr, tx + 12, ty + 6);
    for (int i = -1; i <= 1; i++) {
        cairo_move_to(cr, tx + i * 10, ty + 3 + i * 2);
        cairo_line_to(cr, tx + i * 11 + 6, ty - 32);
    }
    inked_stroke(cr, rgb(170, 170, 176), 2.5, 1.0);
}

void bucket(cairo_t *cr, double x, double y) {
    cairo_move_to(cr, x - 20, y - 34);
    cairo_line_to(cr, x + 20, y - 34);
    cairo_line_to(cr, x + 15, y);
    cairo_line_to(cr, x - 15, y);
    cairo_close_path(cr);
    shape(cr, rgb(150, 156, 168), LW, 0.8);
    path_ellipse(cr, x, y - 34, 20, 5);
    shape(cr, rgb(80, 86, 96), LW * 0.8);
    cairo_move_to(cr, x - 20, y - 34);
    cairo_curve_to(cr, x - 20, y - 60, x + 20, y - 60, x + 20, y - 34);
    set_col(cr, pal::ink);
    cairo_set_line_width(cr, 1.8);
    cairo_stroke(cr);
}

void horseshoe(cairo_t *cr, double x, double y) {
    cairo_arc(cr, x, y, 12, M_PI * 0.85, M_PI * 2.15);
    inked_stroke(cr, rgb(160, 160, 170), 5, 1.2);
}

void wreath(cairo_t *cr, Rng &rng, double x, double y) {
    for (int i = 0; i < 18; i++) {
        double a = i * 2 * M_PI / 18;
        path_ellipse(cr, x + 22 * std::cos(a), y + 22 * std::sin(a), 9, 6, a + 1.2);
    }
    shape(cr, rgb(60, 130, 70), 1.6, 0.8);
    for (int i = 0; i < 6; i++) {
        double a = rng.range(0, 6.28);
        path_ellipse(cr, x + 22 * std::cos(a), y + 22 * std::sin(a), 3.5, 3.5);
        shape(cr, rgb(220, 40, 40), 1.0);
    }
    cairo_move_to(cr, x - 8, y - 26);
    cairo_line_to(cr, x + 8, y - 18);
    cairo_move_to(cr, x + 8, y - 26);
    cairo_line_to(cr, x - 8, y - 18);
    inked_stroke(cr, rgb(220, 50, 50), 5, 1.0);
}

// A garland of little painted eggs on a string between two points, sagging.
void garland(cairo_t *cr, double x1, double y1, double x2, double y2, double sag) {
    cairo_move_to(cr, x1, y1);
    cairo_curve_to(cr, x1 + (x2 - x1) * 0.3, y1 + sag, x1 + (x2 - x1) * 0.7, y2 + sag, x2, y2);
    set_col(cr, pal::ink);
    cairo_set_line_width(cr, 1.5);
    cairo_stroke(cr);
    const Col cols[4] = {pal::paint_a, pal::paint_b, pal::paint_c, pal::egg_gold};
    for (int i = 1; i < 8; i++) {
        double t = i / 8.0;
        double u = 1 - t;
        double x = u * u * u * x1 + 3 * u * u * t * (x1 + (x2 - x1) * 0.3) + 3 * u * t * t * (x1 + (x2 - x1) * 0.7) + t * t * t * x2;
        double y = u * u * u * y1 + 3 * u * u * t * (y1 + sag) + 3 * u * t * t * (y2 + sag) + t * t * t * y2;
        path_egg(cr, x, y + 9, 11, 15);
        shape(cr, cols[i % 4], 1.3);
        cairo_move_to(cr, x - 5, y + 9);
        cairo_line_to(cr, x + 5, y + 9);
        set_col(cr, rgb(255, 255, 255, 0.8));
        cairo_set_line_width(cr, 1.5);
        cairo_stroke(cr);
    }
}

void wall(cairo_t *cr, Rng &rng, int kind) {
    double x = -4;
    while (x < W) {
        double w = rng.range(44, 60);
        plank(cr, rng, x, -4, w, FLOOR_Y + 8, wall_wood(rng, kind), true);
        if (kind == WALL_RED) {
            // Worn paint: bare wood showing through here and there.
            for (int i = 0; i < 3; i++) {
                double py = rng.range(20, FLOOR_Y - 20);
                path_ellipse(cr, x + rng.range(8, w - 8), py, rng.range(4, 10), rng.range(8, 20));
                set_col(cr, with_alpha(pal::wood, 0.35));
                cairo_fill(cr);
            }
        }
        x += w;
    }
    // Soft darkening towards the top: the roof's shadow.
    cairo_pattern_t *g = cairo_pattern_create_linear(0, 0, 0, 220);
    cairo_pattern_add_color_stop_rgba(g, 0, pal::shadow.r, pal::shadow.g, pal::shadow.b, 0.45);
    cairo_pattern_add_color_stop_rgba(g, 1, pal::shadow.r, pal::shadow.g, pal::shadow.b, 0);
    cairo_set_source(cr, g);
    cairo_paint(cr);
    cairo_pattern_destroy(g);
}

void floor_boards(cairo_t *cr, Rng &rng) {
    // Baseboard, then boards running across, lighter towards the viewer.
    plank(cr, rng, -4, FLOOR_Y - 8, W + 8, 12, darker(pal::wood, 0.3), false);
    double y = FLOOR_Y + 4;
    double h = 11;
    int row = 0;
    while (y < H) {
        double x = -rng.range(0, 120);
        while (x < W) {
            double w = rng.range(140, 260);
            plank(cr, rng, x, y, w, h, mix(pal::wood, pal::wood_light, 0.15 + 0.08 * row), false);
            x += w;
        }
        y += h;
        h += 3;
        row++;
    }
    // Loose straw on the floor.
    for (int i = 0; i < 80; i++) {
        double sx = rng.uniform() * W, sy = FLOOR_Y + 6 + rng.uniform() * (H - FLOOR_Y - 6);
        double a = rng.range(-0.5, 0.5);
        cairo_move_to(cr, sx, sy);
        cairo_line_to(cr, sx + 12 * std::cos(a), sy + 4 * std::sin(a));
        set_col(cr, with_alpha(rng.uniform() < 0.5 ? pal::straw : pal::straw_dark, 0.9));
        cairo_set_line_width(cr, 1.5);
        cairo_stroke(cr);
    }
}

void light_shafts(cairo_t *cr, const WindowGeom &g, double strength, Col c) {
    if (strength <= 0) return;
    cairo_save(cr);
    cairo_set_operator(cr, CAIRO_OPERATOR_ADD);
    cairo_move_to(cr, g.x + 10, g.y + 10);
    cairo_line_to(cr, g.x + g.w - 10, g.y + 10);
    cairo_line_to(cr, g.x + g.w + 140, FLOOR_Y + 40);
    cairo_line_to(cr, g.x - 30, FLOOR_Y + 40);
    cairo_close_path(cr);
    cairo_pattern_t *p = cairo_pattern_create_linear(0, g.y, 0, FLOOR_Y + 40);
    cairo_pattern_add_color_stop_rgba(p, 0, c.r, c.g, c.b, 0.22 * strength);
    cairo_pattern_add_color_stop_rgba(p, 1, c.r, c.g, c.b, 0.04 * strength);
    cairo_set_source(cr, p);
    cairo_fill(cr);
    cairo_pattern_destroy(p);
    cairo_restore(cr);
}

void glow_at(cairo_t *cr, double x, double y, double r, Col c, double a) {
    cairo_save(cr);
    cairo_set_operator(cr, CAIRO_OPERATOR_ADD);
    cairo_pattern_t *g = cairo_pattern_create_radial(x, y, 0, x, y, r);
    cairo_pattern_add_color_stop_rgba(g, 0, c.r, c.g, c.b, a);
    cairo_pattern_add_color_stop_rgba(g, 1, c.r, c.g, c.b, 0);
    cairo_set_source(cr, g);
    cairo_arc(cr, x, y, r, 0, 2 * M_PI);
    cairo_fill(cr);
    cairo_pattern_destroy(g);
    cairo_restore(cr);
}

}  // namespace

cairo_surface_t *make_background(int level) {
    const LevelLayout &L = game_layouts[game_level_layout[level]];
    Mood m = mood_of(level);
    Rng rng(1000 + level);
    cairo_surface_t *s = cairo_image_surface_create(CAIRO_FORMAT_ARGB32, W, H);
    cairo_t *cr = cairo_create(s);

    wall(cr, rng, m.wall);
    Col trim = trim_of(m.wall);
    // The big window between the chutes, on the barn's middle line.
    double mid = L.mirror_width / 2;
    WindowGeom g;
    g.w = m.window == 1 ? 186 : 196;
    g.x = mid - g.w / 2;
    g.y = m.window == 1 ? 74 : 60;
    g.h = m.window == 1 ? 236 : 256;
    // Tie beam across the top and the corner posts.
    beam(cr, rng, -10, 22, W + 10, 22, 22, tie_beam_of(m.wall));
    beam(cr, rng, 20, -10, 20, FLOOR_Y, 26, trim);
    beam(cr, rng, W - 20, -10, W - 20, FLOOR_Y, 26, trim);
    // With one floor the upper walls are free: two small windows high up.
    if (L.floors == 1) {
        for (int side = 0; side < 2; side++) {
            WindowGeom small;
            small.w = 84, small.h = 100;
            small.x = side == 0 ? 80 : L.mirror_width - 80 - small.w;
            small.y = 70;
            Mood sm = m;
            sm.window = 0;
            sm.decor = DECOR_NONE;
            sm.body = BODY_NONE;
            sm.clouds = 1;
            window(cr, sm, rng, small);
        }
    }
    window(cr, m, rng, g);
    floor_boards(cr, rng);

    // Sunlight (or moonlight) from the big window lies on the floor in front of it.
    if (m.shafts > 0 || m.body == BODY_MOON) {
        Col c = m.body == BODY_MOON ? rgb(190, 200, 255) : lighter(m.sky_bottom, 0.5);
        double a = m.body == BODY_MOON ? 0.16 : 0.28 * m.shafts;
        cairo_save(cr);
        cairo_set_operator(cr, CAIRO_OPERATOR_ADD);
        cairo_move_to(cr, g.x + 20, FLOOR_Y + 2);
        cairo_line_to(cr, g.x + g.w + 10, FLOOR_Y + 2);
        cairo_line_to(cr, g.x + g.w + 90, H);
        cairo_line_to(cr, g.x - 10, H);
        cairo_close_path(cr);
        set_col(cr, with_alpha(c, a));
        cairo_fill(cr);
        cairo_restore(cr);
    }

    // Things standing about, kept below the lowest shelf.
    double lowest_shelf = L.perch_y[0] + 18 + 15 + 60;
    double bale_top = std::max(lowest_shelf + 8, 520.0);
    if (bale_top > FLOOR_Y - 40) bale_top = FLOOR_Y - 40;
    bool tall_room = FLOOR_Y - bale_top > 70;
    if (m.props == PROPS_WINTER) snow_drift(cr, 150, FLOOR_Y + 14, 110);
    hay_bale(cr, rng, 30, bale_top, 120, FLOOR_Y + 14 - bale_top);
    hay_bale(cr, rng, W - 150, bale_top + 10, 118, FLOOR_Y + 12 - bale_top - 10);
    double left = 205, right = W - 200;
    switch (m.props) {
    case PROPS_SPRING:
        flower_pot(cr, rng, left, FLOOR_Y + 12, rgb(255, 150, 190));
        watering_can(cr, right, FLOOR_Y + 12);
        break;
    case PROPS_SUMMER:
        sunflowers(cr, rng, right, FLOOR_Y + 12);
        if (tall_room) sack(cr, left, FLOOR_Y + 10, 52);
        else flower_pot(cr, rng, left, FLOOR_Y + 12, rgb(255, 210, 60));
        break;
    case PROPS_RAIN:
        floor_puddle(cr, mid + 150, FLOOR_Y + 26);
        drip(cr, mid + 150, FLOOR_Y - 30);
        drip(cr, mid + 150, FLOOR_Y - 90);
        bucket(cr, left, FLOOR_Y + 12);
        break;
    case PROPS_HARVEST:
        if (tall_room) pitchfork(cr, left + 50, FLOOR_Y + 6);
        pumpkin(cr, left - 10, FLOOR_Y + 14, 30);
        pumpkin(cr, left + 34, FLOOR_Y + 16, 20);
        apple_crate(cr, rng, right, FLOOR_Y + 12);
        break;
    case PROPS_NIGHT:
        sleeping_cat(cr, 100, bale_top + 6);
        bucket(cr, right, FLOOR_Y + 12);
        break;
    case PROPS_WINTER:
        sled(cr, right - 20, FLOOR_Y + 12);
        bucket(cr, left, FLOOR_Y + 12);
        break;
    case PROPS_EASTER:
        egg_basket(cr, left, FLOOR_Y + 14);
        flower_pot(cr, rng, right, FLOOR_Y + 12, rgb(255, 190, 220));
        break;
    }

    // Things on the walls where there's room (few floors leave the upper walls free).
    if (L.floors == 2) {
        horseshoe(cr, 120, 74);
        switch (m.props) {
        case PROPS_SUMMER: straw_hat(cr, W - 124, 80); break;
        case PROPS_RAIN: raincoat(cr, W - 118, 44); break;
        case PROPS_WINTER: wreath(cr, rng, W - 124, 84); break;
        default: lantern(cr, W - 120, 100, m.lantern); break;
        }
    }
    if (L.floors == 1 && m.props == PROPS_RAIN) raincoat(cr, 200, 180);
    if (L.floors == 1 && m.props == PROPS_SUMMER) straw_hat(cr, 240, 210);
    if (m.decor == DECOR_EASTER) {
        bunting(cr, 34, g.x - 8, 38, 40);
        bunting(cr, g.x + g.w + 8, W - 34, 38, 40);
        garland(cr, g.x - 6, g.y + 16, g.x + g.w + 6, g.y + 16, 40);
    }
    if (m.lantern || m.decor == DECOR_WINTER) {
        // A lantern hanging from the tie beam beside the window.
        lantern(cr, g.x + g.w + 56, 76, m.lantern);
    }

    // Shelves, nests and chutes, floor by floor.
    for (int f = 0; f < L.floors; f++) {
        for (int side = 0; side < 2; side++) {
            double X = side_x(L, side, L.hen_x);
            shelf(cr, rng, side, X, L.perch_y[f]);
        }
    }
    for (int f = 0; f < L.floors; f++) {
        for (int side = 0; side < 2; side++) {
            Chute c = chute_of(L, side, f);
            // Ropes from the chute above (or the tie beam) hold each chute up.
            for (int k = 0; k < 2; k++) {
                double rx = c.x1 + (c.x2 - c.x1) * (k == 0 ? 0.18 : 0.62);
                double top = 30;
                if (f + 1 < L.floors) {
                    Chute up = chute_of(L, side, f + 1);
                    top = chute_y_at(up, rx) + 12;
                }
                rope(cr, rx, top, chute_y_at(c, rx) + 6);
            }
            draw_chute(cr, rng, c);
        }
    }
    for (int f = 0; f < L.floors; f++) {
        for (int side = 0; side < 2; side++) {
            double X = side_x(L, side, L.hen_x);
            nest_back(cr, rng, X, L.perch_y[f]);
            nest_front(cr, rng, X, L.perch_y[f]);
        }
    }

    // The mood's light over the inside of the barn (the view outside keeps its colours).
    cairo_save(cr);
    cairo_rectangle(cr, 0, 0, W, H);
    window_path(cr, g, m.window);
    cairo_set_fill_rule(cr, CAIRO_FILL_RULE_EVEN_ODD);
    cairo_clip(cr);
    cairo_set_operator(cr, CAIRO_OPERATOR_MULTIPLY);
    Col t = mix(pal::white, m.tint, m.tint_strength);
    set_col(cr, t);
    cairo_paint(cr);
    cairo_restore(cr);
    light_shafts(cr, g, m.shafts, m.sky_bottom);
    if (m.lantern) {
        glow_at(cr, g.x + g.w + 56, 76, 160, rgb(255, 190, 100), 0.35);
        if (L.floors <= 2) glow_at(cr, W - 120, 110, 140, rgb(255, 190, 100), 0.3);
    }
    // Vignette.
    cairo_pattern_t *v = cairo_pattern_create_radial(W / 2.0, H * 0.45, 200, W / 2.0, H * 0.45, 640);
    cairo_pattern_add_color_stop_rgba(v, 0, 0, 0, 0, 0);
    cairo_pattern_add_color_stop_rgba(v, 1, pal::shadow.r * 0.4, pal::shadow.g * 0.4, pal::shadow.b * 0.4, 0.45);
    cairo_set_source(cr, v);
    cairo_paint(cr);
    cairo_pattern_destroy(v);

    cairo_destroy(cr);
    cairo_surface_flush(s);
    return s;
}
