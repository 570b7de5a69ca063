// Kestrune: the bitmap font. Numbers, names and every placeholder argument are drawn
// glyph by glyph from the two font atlases; anything the font lacks is a "?". Text is
// NUL-terminated UTF-8 of up to three bytes a character; a byte that does not start
// such a sequence stands for one "?", and decoding never reads past the NUL.
#include "gfx/gfx.h"

namespace {

// Decodes the code point at *p and moves *p past the bytes it used.
int32_t decode(const unsigned char **p) {
    const unsigned char *s = *p;
    unsigned b = s[0];
    if (b < 0x80) {
        *p = s + 1;
        return (int32_t)b;
    }
    if ((b & 0xE0) == 0xC0 && s[1] != 0) {
        *p = s + 2;
        return (int32_t)(((b & 0x1F) << 6) | (s[1] & 0x3F));
    }
    if ((b & 0xF0) == 0xE0 && s[1] != 0 && s[2] != 0) {
        *p = s + 3;
        return (int32_t)(((b & 0x0F) << 12) | ((s[1] & 0x3F) << 6) | (s[2] & 0x3F));
    }
    *p = s + 1;
    return '?';
}

// Binary search of the code point; a missing one is the "?" glyph.
int glyph_of(int32_t cp) {
    int low = 0;
    int high = GFX_FONT_GLYPHS - 1;
    while (low <= high) {
        int middle = (low + high) / 2;
        int32_t c = gfx_font_codepoints[middle];
        if (c == cp) return middle;
        if (c > cp) high = middle - 1;
        else low = middle + 1;
    }
    return GFX_FONT_FALLBACK;
}

}  // namespace

int gfx_font_width(const char *text, int font) {
    const int16_t *advance = font ? gfx_font_advance_large : gfx_font_advance_small;
    int width = 5;
    const unsigned char *p = (const unsigned char *)text;
    while (*p) width += advance[glyph_of(decode(&p))] - 5;
    return width;
}

int gfx_font_draw(const char *text, int font, int align, PackedColour colour, float x, float y, float scale) {
    SDL_Texture *texture = font ? gfx_font_large : gfx_font_small;
    const int16_t *advance = font ? gfx_font_advance_large : gfx_font_advance_small;
    const int16_t *atlas_x = font ? gfx_font_atlas_x_large : gfx_font_atlas_x_small;
    const int16_t *atlas_y = font ? gfx_font_atlas_y_large : gfx_font_atlas_y_small;
    float cell_h = font ? 47.0f : 28.0f;
    int atlas_cell_h = font ? 94 : 56;

    float w = (float)gfx_font_width(text, font) * scale;
    if (align == ALIGN_RIGHT) x -= w;
    else if (align == ALIGN_CENTRE) x += -0.5f * w;

    SDL_SetTextureColorMod(texture, colour & 0xFF, (colour >> 8) & 0xFF, (colour >> 16) & 0xFF);
    SDL_SetTextureAlphaMod(texture, colour >> 24);
    const unsigned char *p = (const unsigned char *)text;
    while (*p) {
        int g = glyph_of(decode(&p));
        SDL_Rect src = {atlas_x[g], atlas_y[g], 2 * advance[g], atlas_cell_h};
        SDL_FRect dst = {x, y, advance[g] * scale, cell_h * scale};
        if (texture) SDL_RenderCopyF(gfx_renderer, texture, &src, &dst);
        x += (advance[g] - 5) * scale;
    }
    return (int)w;
}

int gfx_font_draw_at(const char *text, int x, int y, int font, int align, PackedColour colour) {
    return gfx_font_draw(text, font, align, colour, (float)x, (float)y, 1.0f);
}
