// Kestrune: what the graphics subsystem's own files share and nobody else sees.
#pragma once
#include "data/data.h"
#include "gfx/gfx.h"

// The decoded pixels of an embedded picture (four channels, freed with stbi_image_free):
// taken from its decoding ahead when there is one, waiting for it if need be, else
// decoded now. NULL when the bytes don't decode, with the decoder's reason in *failure.
unsigned char *gfx_decode_take(const unsigned char *data, int size, int *w, int *h, const char **failure);

// The banner's panel and its light gold edges (gfx_draw_banner).
const PackedColour GFX_BANNER_BODY = 0xD2142C1Au;  // (26, 44, 20), alpha 210
const PackedColour GFX_BANNER_EDGE = 0xDC6EBEE6u;  // (230, 190, 110), alpha 220

// The confetti (gfx_draw_confetti) within the rectangle zone only, each stroke as it
// looks under the translucent fills given, in order: its colour is first put under them
// the way the renderer blends a fill over a pixel, then it is blended over a picture that
// has the fills already (the same sum as stroke first, fills after, rounded in another
// order).
void gfx_draw_confetti_under(const PackedColour *fills, int count, SDL_Rect zone);

// The four vertices of gfx_draw_thick_line's stroke, drawn as the triangles (0, 1, 2)
// and (0, 2, 3) with gfx_white_texture.
void gfx_thick_line_quad(PackedColour colour, float x1, float y1, float x2, float y2, float width, SDL_Vertex v[4]);

// The background number 0..14 of a level: the level mod 15, never negative.
int gfx_background_key(int level);

// A layer: a part of the picture that changes only now and then (the play screen's
// backdrop, frame and level background; the title screen's backgrounds), composed once
// into a texture of the output's own pixels, by the same draw calls at the same scale and
// offset as on the canvas, so it holds what they would paint there (a scaled window
// stays as sharp as a direct draw), and copied pixel for pixel in every frame. The key
// and the two source textures say what the layer shows.
struct GfxLayer {
    SDL_Texture *texture;    // a render target as big as the output; NULL none yet
    SDL_Renderer *renderer;  // the renderer it was made on
    uint32_t generation;     // gfx_layer_generation when it was made
    int w;                   // the output's size in pixels
    int h;
    SDL_Rect viewport;  // the canvas's place on the output, in pixels
    float sx;           // the renderer's scale (logical size) it was composed at
    float sy;
    int key;
    const void *sources[2];
    int ready;  // composed and still showing key and sources
};

// Counts the calls of gfx_init: a layer made before the latest one belongs to a renderer
// that may be gone, so it is forgotten, never touched.
extern uint32_t gfx_layer_generation;

enum GfxLayerUse {
    LAYER_DIRECT,   // no layer on this renderer: draw straight onto the canvas as always
    LAYER_COMPOSE,  // the layer is the render target now: draw its content, then gfx_layer_end
    LAYER_READY     // the layer already shows this: just gfx_layer_copy
};
// Whether the renderer maps canvas pixels to whole output pixels (scale 1, 2, ...): then a
// rectangle cut into bands, or clipped to bands, covers exactly the rows it covers whole.
// At other scales the software renderer rounds each band's edges on its own.
bool gfx_whole_pixel_scale();

// Non-zero: every layer draws straight onto the canvas (the reference that a layered
// frame must match, for the tests).
extern int gfx_layers_off;
GfxLayerUse gfx_layer_begin(GfxLayer *layer, int key, const void *source_a, const void *source_b);
void gfx_layer_end(GfxLayer *layer);
// Copies the layer over the canvas: opaque (alpha 255) replaces the pixels below, any
// other alpha blends it in faded.
void gfx_layer_copy(const GfxLayer *layer, int alpha);
