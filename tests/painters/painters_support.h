// Kestrune painter tests: a software renderer over a 1000 x 736 ARGB surface, set up once
// per process with gfx_init; pixel access; stand-in sprite, font, portrait and logo
// textures of flat, known colours, so that placements can be measured exactly; a copy of
// every global the painters read; and the fixed scenes of the picture regression.
#pragma once
#include <SDL.h>

#include <cstdint>
#include <string>
#include <vector>

#include "app/app.h"
#include "game/game.h"
#include "gfx/gfx.h"
#include "text/text.h"

namespace ptest {

struct Rgb {
    int r, g, b;
};

struct Box {
    int x0, y0, x1, y1;  // inclusive; empty when x0 > x1
    bool empty() const { return x0 > x1; }
    float cx() const { return (x0 + x1 + 1) * 0.5f; }
    float cy() const { return (y0 + y1 + 1) * 0.5f; }
    int w() const { return x1 - x0 + 1; }
    int h() const { return y1 - y0 + 1; }
};

// ---- Canvas ---------------------------------------------------------------------------

SDL_Surface *surface();
// Makes sure the renderer exists and gfx_init has run.
void ensure_renderer();
// Clears the whole canvas to opaque black, as the main loop does before painting.
void clear();
Rgb pixel(int x, int y);
// A copy of the whole canvas, 1000 x 736 pixels as 0xAARRGGBB.
std::vector<uint32_t> snapshot();
// The box of pixels that differ between two snapshots, within (x, y, w, h).
Box diff_box(const std::vector<uint32_t> &a, const std::vector<uint32_t> &b, int x, int y, int w, int h);
int diff_count(const std::vector<uint32_t> &a, const std::vector<uint32_t> &b, int x, int y, int w, int h);

// ---- Stand-in pictures ----------------------------------------------------------------

// Every sprite cell of the stand-in atlas is flat: its left half in sprite_left(id), its
// right half in sprite_right(id). Both are vivid colours the barn pictures never show, so
// a mirrored sprite shows the right colour on its left.
Rgb sprite_left(int id);
Rgb sprite_right(int id);
// While alive, the painters draw from stand-in textures: the sprite atlas (also as the
// glow texture), both font atlases as flat white cells, the portrait and the logo as
// flat colours. The real textures come back afterwards.
struct StandIns {
    StandIns();
    ~StandIns();
    SDL_Texture *saved[6];
    SDL_Point saved_glow_origin;
};
extern const Rgb PORTRAIT_COLOUR;
extern const Rgb LOGO_COLOUR;

bool near(Rgb a, Rgb b, int tolerance);
// A full-width panel (gfx_draw_banner) over rows y..y+h-1: its light gold edge rows at
// both ends, seen at x 10, and no such row just outside.
bool panel_at(int y, int h);
// The box of pixels within tolerance of the colour, within (x, y, w, h).
Box colour_box(Rgb colour, int x, int y, int w, int h, int tolerance = 2);
int colour_count(Rgb colour, int x, int y, int w, int h, int tolerance = 2);

// ---- Globals --------------------------------------------------------------------------

// Every global the painters read: the game's records and scalars, the shell's title
// clock, pause flag and high-score table, and the current language.
std::vector<unsigned char> globals_bytes();

// Back to the process-start state of the game and the shell, English, the default
// high-score table, no Russian locale seen.
void reset_world();
// A game at a level index, past its intro: playing, no eggs yet, the basket on floor 0.
void playing_at(int level);

// ---- Scenes and pictures --------------------------------------------------------------

struct Scene {
    const char *name;
    void (*paint)();  // sets the state up from scratch and paints the canvas
    bool title;       // the title screen, else the play screen
};
extern const Scene SCENES[];
extern const int SCENE_COUNT;

uint64_t canvas_hash();
// Writes the canvas as a PNG file; returns true on success.
bool write_png(const std::string &path);

}  // namespace ptest
