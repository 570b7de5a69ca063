// Kestrune: the background cache. The fifteen level backgrounds are decoded only when
// asked for; three slots hold them as textures, each with a 60 x 40 thumbnail made by
// averaging 16 x 16 blocks (stretched over the canvas it becomes the blurred backdrop).
// A miss reuses the least recently used slot.
#include <stb_image.h>

#include <climits>
#include <cstdlib>

#include "gfx/gfx_private.h"

BackgroundSlot gfx_background_cache[GFX_BACKGROUND_SLOTS] = {
    {-1, nullptr, nullptr, 0},
    {-1, nullptr, nullptr, 0},
    {-1, nullptr, nullptr, 0},
};
uint32_t gfx_background_clock = 0;

const unsigned char *gfx_level_backgrounds[GFX_BACKGROUND_COUNT] = {
    data_background_00_jpg, data_background_01_jpg, data_background_02_jpg, data_background_03_jpg,
    data_background_04_jpg, data_background_05_jpg, data_background_06_jpg, data_background_07_jpg,
    data_background_08_jpg, data_background_09_jpg, data_background_10_jpg, data_background_11_jpg,
    data_background_12_jpg, data_background_13_jpg, data_background_14_jpg,
};
const uint32_t *gfx_level_background_sizes[GFX_BACKGROUND_COUNT] = {
    &data_background_00_jpg_size, &data_background_01_jpg_size, &data_background_02_jpg_size,
    &data_background_03_jpg_size, &data_background_04_jpg_size, &data_background_05_jpg_size,
    &data_background_06_jpg_size, &data_background_07_jpg_size, &data_background_08_jpg_size,
    &data_background_09_jpg_size, &data_background_10_jpg_size, &data_background_11_jpg_size,
    &data_background_12_jpg_size, &data_background_13_jpg_size, &data_background_14_jpg_size,
};

namespace {

const int BG_W = 960;
const int BG_H = 640;
const int BLOCK = 16;
const int THUMB_W = BG_W / BLOCK;  // 60
const int THUMB_H = BG_H / BLOCK;  // 40

SDL_Texture *make_texture(const unsigned char *pixels, int w, int h) {
    SDL_Texture *texture =
        SDL_CreateTexture(gfx_renderer, SDL_PIXELFORMAT_ABGR8888, SDL_TEXTUREACCESS_STATIC, w, h);
    SDL_UpdateTexture(texture, nullptr, pixels, w * 4);
    SDL_SetTextureBlendMode(texture, SDL_BLENDMODE_BLEND);
    return texture;
}

// Each thumbnail pixel is the truncated average of one 16 x 16 block's red, green and
// blue; alpha is always 255.
void make_thumbnail(const unsigned char *pixels, unsigned char *thumb) {
    for (int by = 0; by < THUMB_H; by++) {
        for (int bx = 0; bx < THUMB_W; bx++) {
            int sum[3] = {0, 0, 0};
            for (int y = 0; y < BLOCK; y++) {
                const unsigned char *row = pixels + ((by * BLOCK + y) * BG_W + bx * BLOCK) * 4;
                for (int x = 0; x < BLOCK; x++) {
                    sum[0] += row[x * 4 + 0];
                    sum[1] += row[x * 4 + 1];
                    sum[2] += row[x * 4 + 2];
                }
            }
            unsigned char *out = thumb + (by * THUMB_W + bx) * 4;
            out[0] = (unsigned char)(sum[0] / (BLOCK * BLOCK));
            out[1] = (unsigned char)(sum[1] / (BLOCK * BLOCK));
            out[2] = (unsigned char)(sum[2] / (BLOCK * BLOCK));
            out[3] = 255;
        }
    }
}

// Fills a slot with background number key. A picture that can't be decoded or isn't
// 960 x 640 leaves both textures NULL; the key is stored all the same, so the failure
// is met once and not again every frame.
void load_slot(BackgroundSlot *slot, int key) {
    if (slot->full) SDL_DestroyTexture(slot->full);
    if (slot->thumbnail) SDL_DestroyTexture(slot->thumbnail);
    slot->full = nullptr;
    slot->thumbnail = nullptr;
    slot->key = key;

    const unsigned char *data = gfx_level_backgrounds[key];
    const uint32_t *size = gfx_level_background_sizes[key];
    if (!data || !size || *size > (uint32_t)INT_MAX) return;
    int w = 0;
    int h = 0;
    const char *failure = nullptr;
    // Decoded ahead at start-up when it is the first background a screen shows.
    unsigned char *pixels = gfx_decode_take(data, (int)*size, &w, &h, &failure);
    if (!pixels) return;
    if (w == BG_W && h == BG_H) {
        static unsigned char thumb[THUMB_W * THUMB_H * 4];
        slot->full = make_texture(pixels, BG_W, BG_H);
        make_thumbnail(pixels, thumb);
        slot->thumbnail = make_texture(thumb, THUMB_W, THUMB_H);
    }
    stbi_image_free(pixels);
}

}  // namespace

int gfx_background_key(int level) {
    int key = level % GFX_BACKGROUND_COUNT;
    return key < 0 ? key + GFX_BACKGROUND_COUNT : key;
}

int gfx_background_slot(int level) {
    const int key = gfx_background_key(level);

    int index = -1;
    for (int i = 0; i < GFX_BACKGROUND_SLOTS; i++) {
        if (gfx_background_cache[i].key == key) {
            index = i;
            break;
        }
    }
    if (index < 0) {
        // Least recently used; among equal stamps the lowest index. Empty slots carry
        // stamp 0 and so fill first, in order.
        index = 0;
        for (int i = 1; i < GFX_BACKGROUND_SLOTS; i++) {
            if ((int32_t)gfx_background_cache[i].last_use < (int32_t)gfx_background_cache[index].last_use) {
                index = i;
            }
        }
        load_slot(&gfx_background_cache[index], key);
    }
    gfx_background_clock++;
    gfx_background_cache[index].last_use = gfx_background_clock;
    return index;
}

SDL_Texture *gfx_background_texture(int level) { return gfx_background_cache[gfx_background_slot(level)].full; }

SDL_Texture *gfx_background_thumbnail(int level) {
    return gfx_background_cache[gfx_background_slot(level)].thumbnail;
}
