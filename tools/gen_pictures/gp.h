// Kestrune picture generator: shared declarations. Every picture is drawn with the same
// helpers (palette, outline, shading from one light, highlights) so the set looks like
// one hand made it; every shape is parametric so the frames of a sprite match.
#pragma once
#include <cairo.h>

#include "game/game.h"

#include <cstdint>
#include <string>

// ---- colours -------------------------------------------------------------------------
struct Col {
    double r, g, b, a;
};
Col rgb(int r, int g, int b, double a = 1.0);
Col mix(Col a, Col b, double t);
Col lighter(Col c, double t);  // towards the warm light colour
Col darker(Col c, double t);   // towards the warm shadow colour
Col with_alpha(Col c, double a);

// The one palette every picture takes its colours from.
namespace pal {
extern const Col ink;        // outlines
extern const Col light;      // the warm light that brightens tops
extern const Col shadow;     // the warm dark that shades bottoms
extern const Col skin, cheek, hair, hat, hat_band, hat_flower, cream, shirt, overalls, boot, wicker, wicker_dark;
extern const Col hen, hen_breast, comb, beak, egg_white, egg_gold, rotten, chick, yolk;
extern const Col wood, wood_dark, wood_light, straw, straw_dark, eye, white, sky;
extern const Col paint_a, paint_b, paint_c, leaf;
}  // namespace pal

// ---- the seeded generator: same numbers on every machine -------------------------------
struct Rng {
    uint64_t state;
    explicit Rng(uint64_t seed) : state(seed * 0x9E3779B97F4A7C15ull + 0x632BE59BD9B4E019ull) {}
    uint32_t next();
    double uniform();                   // [0, 1)
    double range(double lo, double hi);  // [lo, hi)
};

// ---- drawing helpers (all take a path built by the caller) ------------------------------
void set_col(cairo_t *cr, Col c);
// Fills the current path with base, shaded by the one light from the upper left: lighter
// at the top-left of the path's extents, darker at the bottom-right. Keeps the path.
void fill_lit(cairo_t *cr, Col base, double strength = 1.0);
// Strokes the current path as the dark outline, width lw. Clears the path.
void outline(cairo_t *cr, double lw);
// The basic cartoon shape: a dark outline lw wide around the path, then the lit fill.
// The path may be a union of overlapping sub-paths; it is cleared.
void shape(cairo_t *cr, Col base, double lw, double strength = 1.0);
// A radial fade of colour c from alpha at the centre to nothing at the edge of the
// ellipse, through mid_alpha at radius fraction mid (no middle stop when mid <= 0).
void radial_spot(cairo_t *cr, double cx, double cy, double rx, double ry, Col c, double alpha,
                 double mid = 0.0, double mid_alpha = 0.0);
// A soft white gloss spot (radial fade), as light catching a round surface.
void gloss(cairo_t *cr, double cx, double cy, double rx, double ry, double alpha);
// A soft dark spot, for contact shadows on the ground.
void soft_shadow(cairo_t *cr, double cx, double cy, double rx, double ry, double alpha);
// Paths.
void path_ellipse(cairo_t *cr, double cx, double cy, double rx, double ry, double angle = 0.0);
void path_round_rect(cairo_t *cr, double x, double y, double w, double h, double r);
// A capsule (limb) from (x1, y1) to (x2, y2) with radii r1 and r2.
void path_capsule(cairo_t *cr, double x1, double y1, double x2, double y2, double r1, double r2);
// An egg shape standing upright: centre, width, height; the narrow end up.
void path_egg(cairo_t *cr, double cx, double cy, double w, double h);
// A thick stroke drawn as outline plus fill (for strands, straws, planks' edges).
void inked_stroke(cairo_t *cr, Col c, double width, double lw);

// ---- layout of the levels (background pixels): the game rules' own tables,
// game_layouts and game_level_layout, from game/game.h ----------------------------------
extern const double hero_reach[4];
extern const double hero_frame_fractions[6];

// ---- the sprite atlas --------------------------------------------------------------------
struct Cell {
    int x, y, w, h;
};
enum { SPRITE_COUNT = 41, ATLAS_W = 2048, ATLAS_H = 1664 };
extern const Cell sprite_cells[SPRITE_COUNT];
// Draws sprite id into a unit square (0..1 both ways), facing right.
void draw_sprite(cairo_t *cr, int id);
// The hero (unit square, facing right unless said otherwise).
void draw_hero_side(cairo_t *cr, int frame, bool blink);
void draw_hero_front(cairo_t *cr);
void draw_hero_cheer(cairo_t *cr, int frame);
void draw_hero_hurt(cairo_t *cr);
void draw_hero_game_over(cairo_t *cr, int frame);
void draw_hero_head_icon(cairo_t *cr);
void draw_basket(cairo_t *cr, double cx, double rim_y, double w, double h, double lw, double tilt);
// Where the basket's catch point lies in side-view frame k, in cell fractions.
double hero_catch_x(int frame);
double hero_catch_y(int frame);

// ---- the other pictures --------------------------------------------------------------------
// Sets *ok to false when a sprite's ink reaches the outer two pixels of its cell.
cairo_surface_t *make_atlas(bool *ok);
cairo_surface_t *make_background(int level);
cairo_surface_t *make_title_logo();
cairo_surface_t *make_hero_portrait();

// ---- review sheets ---------------------------------------------------------------------------
void write_review_sheets(const std::string &dir, cairo_surface_t *atlas, cairo_surface_t *const backgrounds[15],
                         cairo_surface_t *logo, cairo_surface_t *portrait);

// ---- output ------------------------------------------------------------------------------------
bool write_png(cairo_surface_t *s, const std::string &path);
bool write_jpeg(cairo_surface_t *s, const std::string &path, int quality);
