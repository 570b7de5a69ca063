// Kestrune: layers. The painters' biggest pixel work is the same every frame for a long
// time: the play screen's blurred backdrop, frame and level background change only with
// the level, the title screen's stretched backgrounds every 480 ticks. Each is composed
// once into a render target of the output's own pixels, by the very draw calls that
// would paint it on the canvas, and then copied whole: the same pixels for one copy.
#include <cmath>

#include "gfx/gfx_private.h"

uint32_t gfx_layer_generation = 0;
int gfx_layers_off = 0;

namespace {

// Where the output is and how the canvas lies on it now: its size, the canvas's
// viewport in output pixels (read at scale 1, where SDL gives it unrounded) and the scale.
bool read_output(SDL_Renderer *r, int *w, int *h, SDL_Rect *viewport, float *sx, float *sy) {
    if (SDL_GetRendererOutputSize(r, w, h) != 0 || *w < 1 || *h < 1) return false;
    SDL_RenderGetScale(r, sx, sy);
    if (!(*sx > 0.0f) || !(*sy > 0.0f)) return false;
    SDL_RenderSetScale(r, 1.0f, 1.0f);
    SDL_RenderGetViewport(r, viewport);
    SDL_RenderSetScale(r, *sx, *sy);
    return viewport->w >= 1 && viewport->h >= 1;
}

// Set by gfx_begin_frame when it leaves the clear to the frame's first layer.
bool frame_uncleared = false;

void clear_frame() {
    SDL_SetRenderDrawColor(gfx_renderer, 0, 0, 0, 255);
    SDL_RenderClear(gfx_renderer);
    frame_uncleared = false;
}

// Drawing straight onto the canvas after all: the clear left to the layer comes first.
GfxLayerUse direct() {
    if (frame_uncleared) clear_frame();
    return LAYER_DIRECT;
}

bool layers_usable(SDL_Renderer *r) {
    return !gfx_layers_off && r && SDL_RenderTargetSupported(r) && !SDL_GetRenderTarget(r);
}

}  // namespace

void gfx_begin_frame() {
    SDL_Renderer *r = gfx_renderer;
    int w = 0;
    int h = 0;
    SDL_Rect viewport;
    float sx = 1.0f;
    float sy = 1.0f;
    // A clear that the first layer paints over whole costs a full pass over the output
    // for nothing; with bars beside the canvas, or without layers, it is needed.
    if (layers_usable(r) && read_output(r, &w, &h, &viewport, &sx, &sy) && viewport.x == 0 && viewport.y == 0 &&
        viewport.w == w && viewport.h == h) {
        SDL_SetRenderDrawColor(r, 0, 0, 0, 255);
        frame_uncleared = true;
        return;
    }
    clear_frame();
}

bool gfx_whole_pixel_scale() {
    float sx = 1.0f;
    float sy = 1.0f;
    SDL_RenderGetScale(gfx_renderer, &sx, &sy);
    return sx == std::floor(sx) && sy == std::floor(sy);
}

GfxLayerUse gfx_layer_begin(GfxLayer *layer, int key, const void *source_a, const void *source_b) {
    SDL_Renderer *r = gfx_renderer;
    if (!layers_usable(r)) return direct();
    int w = 0;
    int h = 0;
    SDL_Rect viewport;
    float sx = 1.0f;
    float sy = 1.0f;
    if (!read_output(r, &w, &h, &viewport, &sx, &sy)) return direct();

    if (layer->generation != gfx_layer_generation) {
        *layer = GfxLayer{};
        layer->generation = gfx_layer_generation;
    }
    const bool same_target = layer->texture && layer->renderer == r && layer->w == w && layer->h == h;
    if (same_target && layer->ready && SDL_RectEquals(&layer->viewport, &viewport) && layer->sx == sx &&
        layer->sy == sy && layer->key == key && layer->sources[0] == source_a && layer->sources[1] == source_b)
        return LAYER_READY;

    layer->ready = 0;
    if (!same_target) {
        if (layer->texture) SDL_DestroyTexture(layer->texture);
        // Without an alpha channel: a layer is opaque, and SDL fades a surface without
        // one in with its fast whole-surface blend rather than pixel by pixel.
        layer->texture = SDL_CreateTexture(r, SDL_PIXELFORMAT_RGB888, SDL_TEXTUREACCESS_TARGET, w, h);
        layer->renderer = r;
        if (!layer->texture) return direct();
        layer->w = w;
        layer->h = h;
        // Copied pixel for pixel: no filtering.
        SDL_SetTextureScaleMode(layer->texture, SDL_ScaleModeNearest);
    }
    if (SDL_SetRenderTarget(r, layer->texture) != 0) return direct();
    // Onto opaque black, like the frame's own clear; then the canvas's viewport and scale,
    // so every draw call lands where it would land on the output.
    Uint8 cr, cg, cb, ca;
    SDL_GetRenderDrawColor(r, &cr, &cg, &cb, &ca);
    SDL_SetRenderDrawColor(r, 0, 0, 0, 255);
    SDL_RenderClear(r);
    SDL_SetRenderDrawColor(r, cr, cg, cb, ca);
    SDL_RenderSetViewport(r, &viewport);
    SDL_RenderSetScale(r, sx, sy);
    layer->viewport = viewport;
    layer->sx = sx;
    layer->sy = sy;
    layer->key = key;
    layer->sources[0] = source_a;
    layer->sources[1] = source_b;
    return LAYER_COMPOSE;
}

void gfx_layer_end(GfxLayer *layer) {
    // Back on the output, with its own viewport, scale and clipping again.
    layer->ready = SDL_SetRenderTarget(gfx_renderer, nullptr) == 0;
}

void gfx_layer_copy(const GfxLayer *layer, int alpha) {
    if (!layer->texture || !layer->ready) {
        if (frame_uncleared) clear_frame();
        return;
    }
    SDL_Renderer *r = gfx_renderer;
    // At scale 1 the canvas's part of the layer lands on the output's pixels one for one.
    float sx = 1.0f;
    float sy = 1.0f;
    SDL_RenderGetScale(r, &sx, &sy);
    SDL_RenderSetScale(r, 1.0f, 1.0f);
    SDL_SetTextureBlendMode(layer->texture, alpha >= 255 ? SDL_BLENDMODE_NONE : SDL_BLENDMODE_BLEND);
    SDL_SetTextureAlphaMod(layer->texture, (Uint8)SDL_clamp(alpha, 0, 255));
    const SDL_Rect dst = {0, 0, layer->viewport.w, layer->viewport.h};
    SDL_RenderCopy(r, layer->texture, &layer->viewport, &dst);
    SDL_RenderSetScale(r, sx, sy);
    // Opaque, over the whole canvas: whatever the output held is painted over.
    if (alpha >= 255) frame_uncleared = false;
}
