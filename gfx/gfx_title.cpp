// Kestrune: the title screen shown between games. The fifteen level backgrounds in turn
// with a cross-fade, a shade at the top, the falling confetti, the game's title, the
// Ukrainian banner when a Russian locale was seen, a panel that shows the instructions
// and the high-score table by turns, a blinking prompt, two cheering heroes and the
// credits. Everything follows from the title clock app_frame, the high-score table, the
// current language and the confetti: the same inputs give the same picture.
#include <cstdio>
#include <cstring>

#include "app/app.h"
#include "game/game.h"
#include "gfx/gfx_private.h"
#include "text/text.h"

namespace {

const int BACKGROUND_TICKS = 480;  // each background stands this long
const int FADE_START = 420;        // and fades into the next after this
const int PAGE_TICKS = 420;        // instructions and high scores change this often
const int BLINK_TICKS = 30;        // the prompt is hidden, then shown, this long

const PackedColour WHITE = 0xFFFFFFFF;
const PackedColour GOLD = 0xFF78DEFF;
const PackedColour CREAM = 0xFFC8ECFF;
const PackedColour GREY = 0xFFC8D2E1;
const PackedColour SALMON = 0xFFAFBEFF;

// The shade at the top: 26 bands of 8 rows, from alpha 190 at the top down to 15.
void draw_shade() {
    for (int k = 0; k < 26; k++) gfx_fill_rect(0, 8 * k, 1000, 8, 0xBE0A1C12u - (uint32_t)k * 0x07000000u);
}

// The bar behind the credits, and the three translucent panels: the page panel, the
// prompt panel and the bar. Nothing drawn before them reaches their rows but the
// backgrounds, the shade and the confetti, and nothing after them overlaps another panel.
const PackedColour BAR = 0xAA0A1C12;
void draw_panels() {
    gfx_draw_banner(290, 290);
    gfx_draw_banner(600, 64);
    gfx_fill_rect(0, 702, 1000, 34, BAR);
}

// The confetti, falling behind the panels: band by band, each stroke under the fills of
// the rows it crosses (a banner's edge rows have its edge over its body).
void draw_confetti_behind_panels() {
    struct Band {
        SDL_Rect rows;
        int count;
        PackedColour fills[2];
    };
    static const Band bands[] = {
        {{0, 0, 1000, 290}, 0, {0, 0}},
        {{0, 290, 1000, 2}, 2, {GFX_BANNER_BODY, GFX_BANNER_EDGE}},
        {{0, 292, 1000, 286}, 1, {GFX_BANNER_BODY, 0}},
        {{0, 578, 1000, 2}, 2, {GFX_BANNER_BODY, GFX_BANNER_EDGE}},
        {{0, 580, 1000, 20}, 0, {0, 0}},
        {{0, 600, 1000, 2}, 2, {GFX_BANNER_BODY, GFX_BANNER_EDGE}},
        {{0, 602, 1000, 60}, 1, {GFX_BANNER_BODY, 0}},
        {{0, 662, 1000, 2}, 2, {GFX_BANNER_BODY, GFX_BANNER_EDGE}},
        {{0, 664, 1000, 38}, 0, {0, 0}},
        {{0, 702, 1000, 34}, 1, {BAR, 0}},
    };
    for (const Band &band : bands) gfx_draw_confetti_under(band.fills, band.count, band.rows);
}

// What a background layer holds: the background alone (while the next fades in), with
// the shade over it, or with the shade and the panels (which then need no drawing).
enum BackgroundLayer { PLAIN = 0, SHADED = 1, SHADED_WITH_PANELS = 2 };

// Two layers for the backgrounds: the one showing, and the one fading in, which then
// becomes the one showing while the other takes the next background.
GfxLayer background_layers[2];

// A background stretched to the canvas height with its aspect ratio kept (52 pixels cut
// off each side), with what the kind adds over it, at the given alpha. busy is a layer the
// frame already uses. Returns the layer used, NULL when drawn straight onto the canvas.
const GfxLayer *draw_background(int number, BackgroundLayer kind, int alpha, const GfxLayer *busy) {
    const SDL_Rect dst = {-52, 0, 1104, 736};
    SDL_Texture *texture = gfx_background_texture(number);
    const int key = 3 * number + kind;
    GfxLayer *layer = nullptr;
    for (GfxLayer &l : background_layers)
        if (&l != busy && l.ready && l.key == key) layer = &l;
    if (!layer) layer = &background_layers[busy == &background_layers[0] ? 1 : 0];
    const GfxLayerUse use = gfx_layer_begin(layer, key, texture, nullptr);
    if (use != LAYER_READY) {
        // Straight onto the canvas, or once into the layer at full strength.
        SDL_SetTextureAlphaMod(texture, (Uint8)(use == LAYER_DIRECT ? alpha : 255));
        SDL_RenderCopy(gfx_renderer, texture, nullptr, &dst);
        SDL_SetTextureAlphaMod(texture, 255);
        if (kind != PLAIN) draw_shade();
        if (use == LAYER_DIRECT) return nullptr;
        if (kind == SHADED_WITH_PANELS) draw_panels();
        gfx_layer_end(layer);
    }
    gfx_layer_copy(layer, alpha);
    return layer;
}

// The level backgrounds in turn, the next one fading in over the last 59 ticks, the
// shade over them and the confetti. Returns whether the panels are drawn already.
bool draw_backgrounds_shade_and_confetti(int t) {
    const int i = (t / BACKGROUND_TICKS) % GAME_LEVELS;
    const int r = t % BACKGROUND_TICKS;
    if (r <= FADE_START) {
        // Where the panels' rows can be told apart exactly, the layer holds them too and
        // the confetti is drawn behind them.
        const bool panels = gfx_whole_pixel_scale();
        if (draw_background(i, panels ? SHADED_WITH_PANELS : SHADED, 255, nullptr) && panels) {
            draw_confetti_behind_panels();
            return true;
        }
    } else {
        const GfxLayer *current = draw_background(i, PLAIN, 255, nullptr);
        draw_background((i + 1) % GAME_LEVELS, PLAIN, (r - FADE_START) * 255 / 60, current);
        draw_shade();
    }
    gfx_draw_confetti();
    return false;
}

// The logo in Danish, else the hero's portrait beside the language's title picture, the
// two centred together. Returns the row where the Ukrainian banner goes.
int draw_title() {
    if (lang_get() == 0) {
        gfx_draw_title_logo(500, 12, 210);
        return 222;
    }
    int w = text_draw_title(-2000, 0, 104);  // only measures
    int h = 104;
    if (w >= 721) {
        // Shrunk to about 720 pixels wide.
        h = (int)(74880u / (unsigned)w);
        w = 720;
    }
    const int x0 = (844 - w) / 2;
    gfx_draw_hero_portrait(x0 + 75, 22, 160);
    text_draw_title(x0 + 156, 102 - h / 2, h);
    return 190;
}

void draw_high_scores() {
    text_draw(STR_HIGH_SCORES, 500, 298, FONT_LARGE, ALIGN_CENTRE, GOLD);
    char buf[64];
    for (int i = 0; i < 10; i++) {
        const HighScoreEntry &row = app_high_scores[i];
        const int y = 348 + 22 * i;
        std::snprintf(buf, sizeof buf, "%2d.", i + 1);
        gfx_font_draw_at(buf, 330, y, FONT_SMALL, ALIGN_RIGHT, GREY);
        // The name field holds at most 15 bytes and its NUL; a copy keeps a field
        // without one from being read past its end.
        char name[sizeof row.name + 1];
        std::memcpy(name, row.name, sizeof row.name);
        name[sizeof row.name] = '\0';
        gfx_font_draw_at(name, 350, y, FONT_SMALL, ALIGN_LEFT, WHITE);
        std::snprintf(buf, sizeof buf, "%d", (int)row.score);
        gfx_font_draw_at(buf, 600, y, FONT_SMALL, ALIGN_RIGHT, GOLD);
        const char *level = lang_int_arg(row.level);
        text_draw(STR_HS_LEVEL, 700, y, FONT_SMALL, ALIGN_RIGHT, GREY, level);
    }
}

void draw_instructions(int t) {
    text_draw_fit(STR_INTRO, 500, 320, FONT_SMALL, ALIGN_CENTRE, GOLD, 940);
    text_draw_fit(STR_CONTROLS, 500, 380, FONT_SMALL, ALIGN_CENTRE, CREAM, 940);
    text_draw_fit(STR_EGG_KINDS, 500, 414, FONT_SMALL, ALIGN_CENTRE, CREAM, 940);
    text_draw_fit(STR_KEYS, 500, 448, FONT_SMALL, ALIGN_CENTRE, CREAM, 940);
    const char *name = lang_slot_arg(STR_LANGUAGE_NAME);
    text_draw(STR_LANGUAGE_KEY, 500, 506, FONT_SMALL, ALIGN_CENTRE, SALMON, name);
    // Four painted eggs spinning in pairs beside the language line.
    const float ft = (float)t;
    gfx_draw_sprite_rotated(33, 230, 60.0f, 526.0f, 34.0f, ft * -2.0f);
    gfx_draw_sprite_rotated(33, 230, 110.0f, 526.0f, 34.0f, ft + ft);
    gfx_draw_sprite_rotated(33, 230, 940.0f, 526.0f, 34.0f, ft * -2.0f);
    gfx_draw_sprite_rotated(33, 230, 890.0f, 526.0f, 34.0f, ft + ft);
}

}  // namespace

void gfx_draw_title_screen() {
    const int t = app_frame < 0 ? 0 : app_frame;

    const bool panels_drawn = draw_backgrounds_shade_and_confetti(t);

    const int y0 = draw_title();
    if (lang_ru_flag()) {
        gfx_fill_rect(370, y0, 260, 15, 0xF0B75700);
        gfx_fill_rect(370, y0 + 15, 260, 15, 0xF000D7FF);
        text_draw(STR_UKRAINE_BANNER, 500, y0 + 3, FONT_SMALL, ALIGN_CENTRE, WHITE);
    }

    if (!panels_drawn) gfx_draw_banner(290, 290);
    if ((t / PAGE_TICKS) % 2 == 1) {
        draw_high_scores();
    } else {
        draw_instructions(t);
    }

    if (!panels_drawn) gfx_draw_banner(600, 64);
    if ((t / BLINK_TICKS) % 2 == 1) text_draw(STR_PRESS_ENTER, 500, 608, FONT_LARGE, ALIGN_CENTRE, GOLD);

    // Two cheering heroes, always in opposite frames, changing every 12 ticks.
    const int c = t / 12;
    gfx_draw_sprite(13 + c % 2, 0, 255, 80.0f, 606.0f, 130.0f);
    gfx_draw_sprite(13 + (c + 1) % 2, 1, 255, 920.0f, 606.0f, 130.0f);

    if (!panels_drawn) gfx_fill_rect(0, 702, 1000, 34, BAR);
    text_draw_fit(STR_CREDITS, 500, 708, FONT_SMALL, ALIGN_CENTRE, GREY, 960);
}
