// Kestrune: the drawing primitives. Each sets the modulation or draw state it needs and
// issues one SDL draw call (the banner three, the snow one per flake). Sprites are drawn
// as squares centred on a point. A NULL texture (a picture that failed to load) draws
// nothing: SDL rejects the call, and the logo and portrait are tested before their size
// is asked for.
#include <cmath>

#include "gfx/gfx_private.h"

namespace {

SDL_FRect centred_square(float cx, float cy, float size) {
    SDL_FRect r;
    r.x = cx - 0.5f * size;
    r.y = cy - 0.5f * size;
    r.w = size;
    r.h = size;
    return r;
}

// The atlas rectangle of a sprite, or false for an id outside the table.
bool sprite_source(int id, SDL_Rect *src) {
    if (id < 0 || id >= GFX_SPRITE_COUNT) return false;
    const SpriteRect &s = gfx_sprite_rects[id];
    src->x = s.x;
    src->y = s.y;
    src->w = s.w;
    src->h = s.h;
    return true;
}

Uint8 red_of(PackedColour c) { return (Uint8)(c & 0xFF); }
Uint8 green_of(PackedColour c) { return (Uint8)((c >> 8) & 0xFF); }
Uint8 blue_of(PackedColour c) { return (Uint8)((c >> 16) & 0xFF); }
Uint8 alpha_of(PackedColour c) { return (Uint8)(c >> 24); }

// The logo and the portrait: h high, the width following the picture's aspect ratio in
// integer arithmetic, centred on cx with the top at y.
void draw_picture(SDL_Texture *texture, int cx, int y, int h) {
    if (!texture) return;
    int tw = 0;
    int th = 0;
    if (SDL_QueryTexture(texture, nullptr, nullptr, &tw, &th) != 0 || th <= 0) return;
    int w = tw * h / th;
    SDL_Rect dst = {cx - w / 2, y, w, h};
    SDL_RenderCopy(gfx_renderer, texture, nullptr, &dst);
}

}  // namespace

void gfx_draw_glow(PackedColour colour, float cx, float cy, float size) {
    SDL_FRect dst = centred_square(cx, cy, size);
    SDL_SetTextureColorMod(gfx_atlas_additive, red_of(colour), green_of(colour), blue_of(colour));
    SDL_SetTextureAlphaMod(gfx_atlas_additive, alpha_of(colour));
    const SDL_Rect src = {gfx_glow_rect.x - gfx_glow_origin.x, gfx_glow_rect.y - gfx_glow_origin.y, gfx_glow_rect.w,
                          gfx_glow_rect.h};
    SDL_RenderCopyF(gfx_renderer, gfx_atlas_additive, &src, &dst);
}

void gfx_draw_sprite(int id, int flip, int alpha, float cx, float cy, float size) {
    SDL_Rect src;
    if (!sprite_source(id, &src)) return;
    SDL_FRect dst = centred_square(cx, cy, size);
    SDL_SetTextureAlphaMod(gfx_atlas, (Uint8)(alpha & 0xFF));
    SDL_SetTextureColorMod(gfx_atlas, 255, 255, 255);
    SDL_RenderCopyExF(gfx_renderer, gfx_atlas, &src, &dst, 0.0, nullptr,
                      flip ? SDL_FLIP_HORIZONTAL : SDL_FLIP_NONE);
}

void gfx_draw_sprite_tinted(int id, PackedColour colour, float cx, float cy, float size) {
    SDL_Rect src;
    if (!sprite_source(id, &src)) return;
    SDL_FRect dst = centred_square(cx, cy, size);
    SDL_SetTextureAlphaMod(gfx_atlas, alpha_of(colour));
    SDL_SetTextureColorMod(gfx_atlas, red_of(colour), green_of(colour), blue_of(colour));
    SDL_RenderCopyF(gfx_renderer, gfx_atlas, &src, &dst);
    // Later sprites rely on the atlas being untinted again.
    SDL_SetTextureColorMod(gfx_atlas, 255, 255, 255);
}

void gfx_draw_sprite_rotated(int id, int alpha, float cx, float cy, float size, float angle) {
    SDL_Rect src;
    if (!sprite_source(id, &src)) return;
    SDL_FRect dst = centred_square(cx, cy, size);
    // The colour modulation is white already: the other sprite calls always leave it so.
    SDL_SetTextureAlphaMod(gfx_atlas, (Uint8)(alpha & 0xFF));
    SDL_RenderCopyExF(gfx_renderer, gfx_atlas, &src, &dst, (double)angle, nullptr, SDL_FLIP_NONE);
}

void gfx_draw_banner(int y, int h) {
    SDL_Rect panel = {0, y, 1000, h};
    SDL_Rect top = {0, y, 1000, 2};
    SDL_Rect bottom = {0, y + h - 2, 1000, 2};
    const PackedColour body = GFX_BANNER_BODY;
    const PackedColour edge = GFX_BANNER_EDGE;
    SDL_SetRenderDrawBlendMode(gfx_renderer, SDL_BLENDMODE_BLEND);
    SDL_SetRenderDrawColor(gfx_renderer, red_of(body), green_of(body), blue_of(body), alpha_of(body));
    SDL_RenderFillRect(gfx_renderer, &panel);
    SDL_SetRenderDrawBlendMode(gfx_renderer, SDL_BLENDMODE_BLEND);
    SDL_SetRenderDrawColor(gfx_renderer, red_of(edge), green_of(edge), blue_of(edge), alpha_of(edge));
    SDL_RenderFillRect(gfx_renderer, &top);
    SDL_SetRenderDrawBlendMode(gfx_renderer, SDL_BLENDMODE_BLEND);
    SDL_RenderFillRect(gfx_renderer, &bottom);
}

void gfx_fill_rect(int x, int y, int w, int h, PackedColour colour) {
    SDL_Rect r = {x, y, w, h};
    SDL_SetRenderDrawBlendMode(gfx_renderer, SDL_BLENDMODE_BLEND);
    SDL_SetRenderDrawColor(gfx_renderer, red_of(colour), green_of(colour), blue_of(colour), alpha_of(colour));
    SDL_RenderFillRect(gfx_renderer, &r);
}

void gfx_draw_title_logo(int cx, int y, int h) { draw_picture(gfx_title_logo, cx, y, h); }

void gfx_draw_hero_portrait(int cx, int y, int h) { draw_picture(gfx_hero_portrait, cx, y, h); }

void gfx_thick_line_quad(PackedColour colour, float x1, float y1, float x2, float y2, float width, SDL_Vertex v[4]) {
    float dx = x2 - x1;
    float dy = y2 - y1;
    float length = std::sqrt(dx * dx + dy * dy);
    if (length < 0.01f) length = 0.01f;  // a zero-length line makes no division by zero
    float nx = -dy / length * width * 0.5f;
    float ny = dx / length * width * 0.5f;
    SDL_Color c = {red_of(colour), green_of(colour), blue_of(colour), alpha_of(colour)};
    v[0].position = {x1 + nx, y1 + ny};
    v[1].position = {x1 - nx, y1 - ny};
    v[2].position = {x2 - nx, y2 - ny};
    v[3].position = {x2 + nx, y2 + ny};
    for (int i = 0; i < 4; i++) {
        v[i].color = c;
        v[i].tex_coord = {0.0f, 0.0f};
    }
}

void gfx_draw_thick_line(PackedColour colour, float x1, float y1, float x2, float y2, float width) {
    // SDL would draw untextured geometry without complaint; a missing texture draws
    // nothing here, like every other primitive.
    if (!gfx_white_texture) return;
    SDL_Vertex v[4];
    gfx_thick_line_quad(colour, x1, y1, x2, y2, width, v);
    static const int indices[6] = {0, 1, 2, 0, 2, 3};
    SDL_RenderGeometry(gfx_renderer, gfx_white_texture, v, 4, indices, 6);
}

void gfx_draw_snow(int t, int alpha) {
    SDL_SetRenderDrawBlendMode(gfx_renderer, SDL_BLENDMODE_BLEND);
    float T = (float)t;
    uint32_t k = 0;
    for (int i = 0; i < 140; i++) {
        float speed = (float)(k % 100u) / 140.0f + 0.35f;
        float y = std::fmod(speed * T + (float)((k >> 4) % 736u), 756.0f);
        float x = std::fmod(std::sin((float)i + 0.02f * T) * 14.0f + (float)((k >> 12) % 1000u) + 1000.0f,
                            1000.0f);
        float s = (float)((k >> 8) % 3u) + 1.5f;
        unsigned a = (((k >> 20) % 155u + 100u) * (unsigned)alpha / 255u) & 0xFFu;
        SDL_SetRenderDrawColor(gfx_renderer, 255, 255, 255, (Uint8)a);
        SDL_FRect flake = {x, y - 10.0f, s, s};
        SDL_RenderFillRectF(gfx_renderer, &flake);
        k += 0x9E3779B1u;
    }
}
