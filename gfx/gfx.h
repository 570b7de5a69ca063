// Kestrune: the graphics subsystem's whole contract. One renderer (gfx_renderer) set by
// gfx_init; sprites from one atlas, drawn as squares centred on a point; the level
// backgrounds in a three-slot cache; the bitmap font for numbers and names; the painters.
#pragma once
#include <SDL.h>
#include <cstdint>

// A colour as 0xAABBGGRR: red in the low byte, alpha in the high byte.
typedef uint32_t PackedColour;

enum TextAlign { ALIGN_LEFT = 0, ALIGN_CENTRE = 1, ALIGN_RIGHT = 2 };
enum FontSize { FONT_SMALL = 0, FONT_LARGE = 1 };

// One rectangle of the sprite atlas, in atlas pixels.
struct SpriteRect {
    int16_t x, y, w, h;
};
enum { GFX_SPRITE_COUNT = 41 };
extern const SpriteRect gfx_sprite_rects[GFX_SPRITE_COUNT];
// The glow disc's own copy of sprite 39's rectangle, drawn only from gfx_atlas_additive.
extern const SDL_Rect gfx_glow_rect;
// Where gfx_atlas_additive's top-left pixel lies in the atlas: gfx_init makes it of just
// the glow disc's corner of the atlas, so the disc is drawn from gfx_glow_rect moved by
// this much. (0, 0) for a texture of the whole atlas.
extern SDL_Point gfx_glow_origin;

extern SDL_Renderer *gfx_renderer;
extern SDL_Texture *gfx_atlas;
extern SDL_Texture *gfx_atlas_additive;
extern SDL_Texture *gfx_title_logo;
extern SDL_Texture *gfx_hero_portrait;
extern SDL_Texture *gfx_font_small;
extern SDL_Texture *gfx_font_large;
extern SDL_Texture *gfx_white_texture;

// Set-up and embedded pictures.
void gfx_init(SDL_Renderer *renderer);
SDL_Texture *gfx_load_embedded_texture(const unsigned char *data, int size);

// Decoding ahead: a picture asked for here is decoded on a worker thread while the caller
// goes on; its next load (gfx_load_embedded_texture, or the background cache for a level
// background) takes the decoded pixels instead of decoding again. Needs no renderer, so
// start-up asks before the window exists. Asking twice for the same bytes decodes once.
void gfx_decode_ahead(const unsigned char *data, uint32_t size);
// Everything gfx_init loads.
void gfx_decode_ahead_startup();
// The background of a level (any level number, taken mod 15 like the cache does).
void gfx_decode_ahead_background(int level);

// Drawing primitives.
void gfx_draw_glow(PackedColour colour, float cx, float cy, float size);
void gfx_draw_sprite(int id, int flip, int alpha, float cx, float cy, float size);
void gfx_draw_sprite_tinted(int id, PackedColour colour, float cx, float cy, float size);
void gfx_draw_sprite_rotated(int id, int alpha, float cx, float cy, float size, float angle);
void gfx_draw_banner(int y, int h);
void gfx_fill_rect(int x, int y, int w, int h, PackedColour colour);
void gfx_draw_title_logo(int cx, int y, int h);
void gfx_draw_hero_portrait(int cx, int y, int h);
void gfx_draw_thick_line(PackedColour colour, float x1, float y1, float x2, float y2, float width);
void gfx_draw_snow(int t, int alpha);

// Background cache: the fifteen level backgrounds (960 x 640 JPEG, by level index mod 15)
// are decoded on demand into three slots, least recently used reused first, each with a
// 60 x 40 block-averaged thumbnail. A background that can't be decoded keeps its slot
// with NULL textures, so it is not decoded again every frame.
enum { GFX_BACKGROUND_COUNT = 15, GFX_BACKGROUND_SLOTS = 3 };
struct BackgroundSlot {
    int32_t key;             // background number 0..14, -1 while empty
    SDL_Texture *full;       // 960 x 640
    SDL_Texture *thumbnail;  // 60 x 40
    uint32_t last_use;       // use clock at the latest use, compared as signed 32-bit
};
extern BackgroundSlot gfx_background_cache[GFX_BACKGROUND_SLOTS];
extern uint32_t gfx_background_clock;
// The embedded background pictures in background order: the bytes and their counts.
extern const unsigned char *gfx_level_backgrounds[GFX_BACKGROUND_COUNT];
extern const uint32_t *gfx_level_background_sizes[GFX_BACKGROUND_COUNT];
int gfx_background_slot(int level);
SDL_Texture *gfx_background_texture(int level);
SDL_Texture *gfx_background_thumbnail(int level);

// Bitmap font (numbers, names, placeholder arguments). 791 glyphs; the index is the glyph
// number in every table. Advances are logical pixels at scale 1 (the pen moves by the
// advance minus 5); atlas positions are the top-left corners of the cells, which are
// twice the advance wide and 94 (large) or 56 (small) atlas pixels high.
enum { GFX_FONT_GLYPHS = 791, GFX_FONT_FALLBACK = 31 };
extern const int32_t gfx_font_codepoints[GFX_FONT_GLYPHS];  // strictly ascending
extern const int16_t gfx_font_advance_large[GFX_FONT_GLYPHS];
extern const int16_t gfx_font_advance_small[GFX_FONT_GLYPHS];
extern const int16_t gfx_font_atlas_x_large[GFX_FONT_GLYPHS];
extern const int16_t gfx_font_atlas_x_small[GFX_FONT_GLYPHS];
extern const int16_t gfx_font_atlas_y_large[GFX_FONT_GLYPHS];
extern const int16_t gfx_font_atlas_y_small[GFX_FONT_GLYPHS];
int gfx_font_width(const char *text, int font);
int gfx_font_draw(const char *text, int font, int align, PackedColour colour, float x, float y, float scale);
int gfx_font_draw_at(const char *text, int x, int y, int font, int align, PackedColour colour);

// Starts a frame of the interactive game: clears the output to opaque black, unless the
// screen's first layer will cover all of it anyway (every screen starts with one); then
// the clear happens only if that layer cannot be used after all.
void gfx_begin_frame();

// Painters: pure readers of the game's and the shell's globals.
void gfx_draw_world();
void gfx_draw_confetti();
void gfx_draw_play_screen();
void gfx_draw_title_screen();
