// Kestrune: pre-rendered text. Every interface string is assembled from the current
// language's text atlas: its run lists pieces of the atlas and placeholders in reading
// order; a placeholder is filled with a number (drawn in the bitmap font) or with another
// slot's own pieces. The line is shrunk to a maximum width if need be, aligned on its
// anchor and, in a right-to-left language, placed from right to left. The atlas and the
// title picture of a language become textures at their first use and are replaced when
// the language changes.
#include <cstdlib>

#include "text/text.h"

namespace {

// Measures of the text atlases (atlas pixels are twice the logical ones).
const int MAX_ITEMS = 16;
const int MAX_ARGS = 4;
const int DEFAULT_MAX_WIDTH = 968;
const float SMALL_AS_LARGE = 17.0f / 9.0f;  // small pieces drawn at the large size
const int PIECE_MARGIN = 8;

SDL_Texture *text_atlas = nullptr;
int32_t text_atlas_lang = -1;
SDL_Texture *text_title_texture = nullptr;
int32_t text_title_lang = -1;
int32_t text_title_w = 0;
int32_t text_title_h = 0;

bool valid_slot(int slot) { return slot >= 0 && slot < LANG_SLOTS; }

// The current language's record; lang_current is always valid once the language has
// been chosen, and English stands in should it ever not be.
const LanguageRecord &current_record() {
    return lang_records[(unsigned)lang_current < LANG_COUNT ? lang_current : 5];
}

// A slot's run in a language: form 0 small, 1 large; NULL when the form is absent.
const int16_t *run_of(const LanguageRecord &rec, int slot, int form) {
    if (!valid_slot(slot) || !rec.runs || !rec.run_offsets) return nullptr;
    uint16_t offset = rec.run_offsets[2 * slot + form];
    if (offset == 0xFFFF) return nullptr;
    return rec.runs + offset;
}

int largest_placeholder(const int16_t *run) {
    int n = 0;
    for (int i = 0; run && run[i] != 0; i++)
        if (-run[i] > n) n = -run[i];
    return n;
}

void use_current_atlas() {
    if (text_atlas_lang == lang_current && text_atlas) return;
    if (text_atlas) SDL_DestroyTexture(text_atlas);
    const LanguageRecord &rec = current_record();
    // A picture that fails to load leaves NULL and is tried again at the next draw.
    text_atlas = gfx_load_embedded_texture(rec.atlas_png, (int)rec.atlas_size);
    text_atlas_lang = lang_current;
}

// A slot number from a slot reference (byte 1, then decimal digits); -1 when it names
// no slot, which then lays out and draws as nothing.
int referenced_slot(const char *s) {
    long v = strtol(s + 1, nullptr, 10);
    return (v >= 0 && v < LANG_SLOTS) ? (int)v : -1;
}

int draw_line(int slot, int x, int y, int large, int align, PackedColour colour, int max_width, const char **args,
              int nargs) {
    TextItem items[MAX_ITEMS];
    float w = 0.0f;
    float factor = 1.0f;
    text_layout(slot, large, args, nargs, items, &w, &factor);
    float s = 1.0f;
    if (max_width >= 1 && w > max_width) s = max_width / w;
    float x0;
    if (align == ALIGN_RIGHT) x0 = x - w * s;
    else if (align == ALIGN_CENTRE) x0 = x + (s * w) * -0.5f;
    else x0 = (float)x;
    // A shrunk line keeps its middle where the full-size line would have it.
    float y0 = y + (1 - s) * (large ? 34 : 18) * 0.5f;
    text_draw_items(slot, large, colour, args, nargs, x0, y0, s);
    return (int)(w * s);
}

}  // namespace

int text_layout(int slot, int large, const char **args, int nargs, TextItem items[16], float *total_width,
                float *factor) {
    const LanguageRecord &rec = current_record();
    bool has_large = large && run_of(rec, slot, 1) != nullptr;
    *factor = (large && !has_large) ? SMALL_AS_LARGE : 1.0f;
    *total_width = 0.0f;
    const int16_t *run = run_of(rec, slot, has_large ? 1 : 0);
    if (!run || !rec.pieces) return 0;
    int count = 0;
    for (; count < MAX_ITEMS && run[count] != 0; count++) {
        int e = run[count];
        TextItem &item = items[count];
        item.piece = -1;
        item.text = nullptr;
        item.slot = -1;
        if (e > 0) {
            item.piece = e - 1;
            item.width = (rec.pieces[e - 1].w - 2 * PIECE_MARGIN) * 0.5f * *factor;
        } else {
            int i = -e - 1;
            const char *t = (args && i < nargs && args[i]) ? args[i] : "";
            if (t[0] == 1) {
                // Another slot's own pieces, laid out without arguments: one level deep.
                item.slot = referenced_slot(t);
                TextItem nested[MAX_ITEMS];
                float nested_w = 0.0f;
                float nested_factor = 1.0f;
                if (item.slot >= 0) text_layout(item.slot, large, nullptr, 0, nested, &nested_w, &nested_factor);
                item.width = nested_w;
            } else {
                item.text = t;
                item.width = (float)(gfx_font_width(t, large) + (large ? -6 : -4));
            }
        }
        *total_width += item.width;
    }
    return count;
}

void text_draw_items(int slot, int large, PackedColour colour, const char **args, int nargs, float x, float y,
                     float scale) {
    TextItem items[MAX_ITEMS];
    float w = 0.0f;
    float factor = 1.0f;
    int count = text_layout(slot, large, args, nargs, items, &w, &factor);
    if (count == 0) return;
    const LanguageRecord &rec = current_record();
    Uint8 r = colour & 0xFF, g = (colour >> 8) & 0xFF, b = (colour >> 16) & 0xFF, a = colour >> 24;
    float f = factor * scale * 0.5f;
    float baseline_y = y + (large ? 35 : 20) * scale;
    bool rtl = rec.rtl == 1;
    float pen = rtl ? x + w * scale : x;
    for (int i = 0; i < count; i++) {
        const TextItem &item = items[i];
        float iw = item.width * scale;
        float px = rtl ? pen - iw : pen;
        if (item.piece >= 0) {
            if (text_atlas) {
                const AtlasPiece &p = rec.pieces[item.piece];
                SDL_SetTextureColorMod(text_atlas, r, g, b);
                SDL_SetTextureAlphaMod(text_atlas, a);
                SDL_Rect src = {p.x, p.y, p.w, p.h};
                SDL_FRect dst = {px - PIECE_MARGIN * f, baseline_y - p.baseline * f, p.w * f, p.h * f};
                SDL_RenderCopyF(gfx_renderer, text_atlas, &src, &dst);
            }
        } else if (item.slot >= 0) {
            text_draw_items(item.slot, large, colour, nullptr, 0, px, y, scale);
        } else if (item.text) {
            gfx_font_draw(item.text, large, ALIGN_LEFT, colour, px - (large ? 4 : 3) * scale, y, scale);
        }
        pen = rtl ? pen - iw : pen + iw;
    }
}

int text_draw_v(int slot, int x, int y, int large, int align, PackedColour colour, int max_width, va_list args) {
    if (!valid_slot(slot)) return 0;
    use_current_atlas();
    // As many arguments as the slot has placeholders (the same in every language; the
    // first language's small form is asked too).
    const LanguageRecord &rec = current_record();
    bool has_large = large && run_of(rec, slot, 1) != nullptr;
    int n = largest_placeholder(run_of(rec, slot, has_large ? 1 : 0));
    int n0 = largest_placeholder(run_of(lang_records[0], slot, 0));
    if (n0 > n) n = n0;
    if (n > MAX_ARGS) n = MAX_ARGS;
    const char *argv[MAX_ARGS] = {nullptr, nullptr, nullptr, nullptr};
    for (int i = 0; i < n; i++) argv[i] = va_arg(args, const char *);
    return draw_line(slot, x, y, large, align, colour, max_width, argv, n);
}

int text_draw(int slot, int x, int y, int large, int align, PackedColour colour, ...) {
    va_list args;
    va_start(args, colour);
    int w = text_draw_v(slot, x, y, large, align, colour, DEFAULT_MAX_WIDTH, args);
    va_end(args);
    return w;
}

int text_draw_fit(int slot, int x, int y, int large, int align, PackedColour colour, int max_width, ...) {
    va_list args;
    va_start(args, max_width);
    int w = text_draw_v(slot, x, y, large, align, colour, max_width, args);
    va_end(args);
    return w;
}

int text_draw_scaled(int slot, int x, int y, int align, PackedColour colour, int max_width, float scale) {
    if (!valid_slot(slot)) return 0;
    use_current_atlas();
    TextItem items[MAX_ITEMS];
    float w = 0.0f;
    float factor = 1.0f;
    text_layout(slot, FONT_SMALL, nullptr, 0, items, &w, &factor);
    float s = scale;
    if (max_width >= 1 && scale * w > max_width) s = max_width / w;
    float x0;
    if (align == ALIGN_RIGHT) x0 = x - w * s;
    else if (align == ALIGN_CENTRE) x0 = x + (s * w) * -0.5f;
    else x0 = (float)x;
    text_draw_items(slot, FONT_SMALL, colour, nullptr, 0, x0, (float)y, s);
    return (int)(w * s);
}

int text_draw_str(const char *s, int x, int y, int large, int align, PackedColour colour) {
    if (s[0] != 1) return gfx_font_draw_at(s, x, y, large, align, colour);
    // A slot reference: the slot without arguments, its placeholders drawn empty. (The
    // variadic text_draw would read arguments nobody passed.)
    int slot = referenced_slot(s);
    if (slot < 0) return 0;
    use_current_atlas();
    const char *none[MAX_ARGS] = {nullptr, nullptr, nullptr, nullptr};
    return draw_line(slot, x, y, large, align, colour, DEFAULT_MAX_WIDTH, none, MAX_ARGS);
}

void text_decode_ahead(int with_title) {
    const LanguageRecord &rec = current_record();
    gfx_decode_ahead(rec.atlas_png, rec.atlas_size);
    if (with_title) gfx_decode_ahead(rec.title_png, rec.title_size);
}

int text_draw_title(int x, int y, int h) {
    if (text_title_lang != lang_current) {
        if (text_title_texture) SDL_DestroyTexture(text_title_texture);
        const LanguageRecord &rec = current_record();
        // A picture that fails to load is not tried again until the language changes.
        text_title_texture = gfx_load_embedded_texture(rec.title_png, (int)rec.title_size);
        text_title_lang = lang_current;
        int w = 0;
        int hh = 0;
        if (text_title_texture && SDL_QueryTexture(text_title_texture, nullptr, nullptr, &w, &hh) == 0) {
            text_title_w = w;
            text_title_h = hh;
        }
    }
    int width = text_title_h ? (int)((int64_t)text_title_w * h / text_title_h) : 0;
    if (x >= -999 && text_title_texture) {
        SDL_Rect dst = {x, y, width, h};
        SDL_RenderCopy(gfx_renderer, text_title_texture, nullptr, &dst);
    }
    return width;
}
