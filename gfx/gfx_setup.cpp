// Kestrune: graphics set-up. Binds the one renderer and turns the embedded pictures
// into textures, decoding them on worker threads. A picture that can't be decoded is
// logged once and stays NULL; every drawing call accepts a NULL texture and then draws
// nothing.
#include <stb_image.h>

#include "gfx/gfx_private.h"

SDL_Renderer *gfx_renderer = nullptr;
SDL_Texture *gfx_atlas = nullptr;
SDL_Texture *gfx_atlas_additive = nullptr;
SDL_Texture *gfx_title_logo = nullptr;
SDL_Texture *gfx_hero_portrait = nullptr;
SDL_Texture *gfx_font_small = nullptr;
SDL_Texture *gfx_font_large = nullptr;
SDL_Texture *gfx_white_texture = nullptr;

SDL_Point gfx_glow_origin = {0, 0};

namespace {

// The glow texture holds the glow disc with this many pixels of its neighbours around
// it, so a filtered draw at the disc's edge reads what it would read in the whole atlas.
const int GLOW_MARGIN = 8;

SDL_Texture *texture_from(const unsigned char *pixels, int w, int h, int pitch) {
    SDL_Texture *texture =
        SDL_CreateTexture(gfx_renderer, SDL_PIXELFORMAT_ABGR8888, SDL_TEXTUREACCESS_STATIC, w, h);
    SDL_UpdateTexture(texture, nullptr, pixels, pitch);
    SDL_SetTextureBlendMode(texture, SDL_BLENDMODE_BLEND);
    return texture;
}

unsigned char *decode_or_log(const unsigned char *data, int size, int *w, int *h) {
    const char *failure = nullptr;
    unsigned char *pixels = gfx_decode_take(data, size, w, h, &failure);
    if (!pixels) SDL_Log("Kunne ikke læse indlejret billede: %s", failure ? failure : "");
    return pixels;
}

// The sprite atlas, and the glow texture cut from the same decoded pixels: the glow's own
// colour and alpha modulation, so its tint never reaches the sprites.
void load_atlas() {
    int w = 0;
    int h = 0;
    unsigned char *pixels = decode_or_log(data_sprite_atlas_png, (int)data_sprite_atlas_png_size, &w, &h);
    if (!pixels) return;
    gfx_atlas = texture_from(pixels, w, h, w * 4);
    SDL_Rect cut = {gfx_glow_rect.x - GLOW_MARGIN, gfx_glow_rect.y - GLOW_MARGIN, gfx_glow_rect.w + 2 * GLOW_MARGIN,
                    gfx_glow_rect.h + 2 * GLOW_MARGIN};
    const SDL_Rect whole = {0, 0, w, h};
    SDL_Rect inside;
    // An atlas too small for the disc: the whole atlas, as the disc's rectangle reads it.
    if (!SDL_IntersectRect(&cut, &whole, &inside) || !SDL_RectEquals(&cut, &inside)) cut = whole;
    gfx_atlas_additive = texture_from(pixels + ((size_t)cut.y * w + cut.x) * 4, cut.w, cut.h, w * 4);
    SDL_SetTextureBlendMode(gfx_atlas_additive, SDL_BLENDMODE_ADD);
    gfx_glow_origin = SDL_Point{cut.x, cut.y};
    stbi_image_free(pixels);
}

}  // namespace

SDL_Texture *gfx_load_embedded_texture(const unsigned char *data, int size) {
    int w = 0;
    int h = 0;
    unsigned char *pixels = decode_or_log(data, size, &w, &h);
    if (!pixels) return nullptr;
    SDL_Texture *texture = texture_from(pixels, w, h, w * 4);
    stbi_image_free(pixels);
    return texture;
}

void gfx_init(SDL_Renderer *renderer) {
    gfx_renderer = renderer;
    gfx_layer_generation++;
    // Linear filtering for every texture made from here on: the stretched background
    // thumbnail becomes a soft blur and scaled sprites and glyphs stay smooth.
    SDL_SetHint("SDL_RENDER_SCALE_QUALITY", "1");
    // All five decode at once on worker threads (start-up may have asked already); each
    // texture is made as soon as its pixels are there.
    gfx_decode_ahead_startup();
    load_atlas();
    gfx_title_logo = gfx_load_embedded_texture(data_title_logo_png, (int)data_title_logo_png_size);
    gfx_hero_portrait = gfx_load_embedded_texture(data_hero_portrait_png, (int)data_hero_portrait_png_size);
    gfx_font_small = gfx_load_embedded_texture(data_font_small_png, (int)data_font_small_png_size);
    gfx_font_large = gfx_load_embedded_texture(data_font_large_png, (int)data_font_large_png_size);

    static const unsigned char white[16] = {0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF,
                                            0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF};
    gfx_white_texture = texture_from(white, 2, 2, 8);
}
