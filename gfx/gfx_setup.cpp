// Kestrune: graphics set-up. Binds the one renderer and turns the embedded pictures
// into textures. A picture that can't be decoded is logged once and stays NULL; every
// drawing call accepts a NULL texture and then draws nothing.
#include <stb_image.h>

#include "data/data.h"
#include "gfx/gfx.h"

SDL_Renderer *gfx_renderer = nullptr;
SDL_Texture *gfx_atlas = nullptr;
SDL_Texture *gfx_atlas_additive = nullptr;
SDL_Texture *gfx_title_logo = nullptr;
SDL_Texture *gfx_hero_portrait = nullptr;
SDL_Texture *gfx_font_small = nullptr;
SDL_Texture *gfx_font_large = nullptr;
SDL_Texture *gfx_white_texture = nullptr;

SDL_Texture *gfx_load_embedded_texture(const unsigned char *data, int size) {
    // A missing or negative-sized picture is read as an empty one: it fails to decode
    // like any damaged picture, and the decoder never looks outside the bytes.
    static const unsigned char nothing[1] = {0};
    if (!data || size < 0) {
        data = nothing;
        size = 0;
    }
    int w = 0;
    int h = 0;
    int channels = 0;
    unsigned char *pixels = stbi_load_from_memory(data, size, &w, &h, &channels, 4);
    if (!pixels) {
        SDL_Log("Kunne ikke læse indlejret billede: %s", stbi_failure_reason());
        return nullptr;
    }
    SDL_Texture *texture =
        SDL_CreateTexture(gfx_renderer, SDL_PIXELFORMAT_ABGR8888, SDL_TEXTUREACCESS_STATIC, w, h);
    SDL_UpdateTexture(texture, nullptr, pixels, w * 4);
    SDL_SetTextureBlendMode(texture, SDL_BLENDMODE_BLEND);
    stbi_image_free(pixels);
    return texture;
}

void gfx_init(SDL_Renderer *renderer) {
    gfx_renderer = renderer;
    // Linear filtering for every texture made from here on: the stretched background
    // thumbnail becomes a soft blur and scaled sprites and glyphs stay smooth.
    SDL_SetHint("SDL_RENDER_SCALE_QUALITY", "1");
    gfx_atlas = gfx_load_embedded_texture(data_sprite_atlas_png, (int)data_sprite_atlas_png_size);
    // A second copy of the atlas for additive glows: its own colour and alpha modulation,
    // so a glow's tint never reaches the sprites.
    gfx_atlas_additive = gfx_load_embedded_texture(data_sprite_atlas_png, (int)data_sprite_atlas_png_size);
    SDL_SetTextureBlendMode(gfx_atlas_additive, SDL_BLENDMODE_ADD);
    gfx_title_logo = gfx_load_embedded_texture(data_title_logo_png, (int)data_title_logo_png_size);
    gfx_hero_portrait = gfx_load_embedded_texture(data_hero_portrait_png, (int)data_hero_portrait_png_size);
    gfx_font_small = gfx_load_embedded_texture(data_font_small_png, (int)data_font_small_png_size);
    gfx_font_large = gfx_load_embedded_texture(data_font_large_png, (int)data_font_large_png_size);

    static const unsigned char white[16] = {0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF,
                                            0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF};
    gfx_white_texture =
        SDL_CreateTexture(gfx_renderer, SDL_PIXELFORMAT_ABGR8888, SDL_TEXTUREACCESS_STATIC, 2, 2);
    SDL_UpdateTexture(gfx_white_texture, nullptr, white, 8);
    SDL_SetTextureBlendMode(gfx_white_texture, SDL_BLENDMODE_BLEND);
}
