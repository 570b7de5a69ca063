// Kestrune: languages and text, the whole contract. 32 language records (index = identity),
// 33 string slots, the choice of language, pre-rendered text drawn from each language's
// text atlas with placeholders filled in the bitmap font, and the window title.
#pragma once
#include <SDL.h>
#include <cstdarg>
#include <cstdint>

#include "gfx/gfx.h"

enum StringSlot {
    STR_TITLE = 0,
    STR_UKRAINE_BANNER = 1,
    STR_LANGUAGE_NAME = 2,
    STR_INTRO = 3,
    STR_CONTROLS = 4,
    STR_EGG_KINDS = 5,
    STR_KEYS = 6,
    STR_LANGUAGE_KEY = 7,
    STR_HIGH_SCORES = 8,
    STR_HS_LEVEL = 9,
    STR_PRESS_ENTER = 10,
    STR_CREDITS = 11,
    STR_ALL_LEVELS_DONE = 12,
    STR_NEW_HIGH_SCORE = 13,
    STR_POINTS = 14,
    STR_TYPE_NAME = 15,
    STR_PAUSED = 16,
    STR_GAME_OVER = 17,
    STR_HAPPY_EASTER = 18,
    STR_ALL_EGGS_SAVED = 19,
    STR_HUD_SCORE = 20,
    STR_HUD_LEVEL_OF = 21,
    STR_HUD_EGGS = 22,
    STR_CATCH_N_EGGS = 23,
    STR_ONE_FLOOR = 24,
    STR_N_FLOORS = 25,
    STR_LEVEL_COMPLETE = 26,
    STR_BONUS_POINTS = 27,
    STR_EXTRA_LIFE = 28,
    STR_MSG_SMASHED = 29,
    STR_MSG_ROTTEN = 30,
    STR_MSG_GOLDEN = 31,
    STR_MSG_EASTER_EGG = 32,
};
enum { LANG_COUNT = 32, LANG_SLOTS = 33 };

// A fragment rectangle of a text atlas, in atlas pixels (twice the logical size).
struct AtlasPiece {
    int16_t x, y, w, h, baseline;
};

struct LanguageRecord {
    const char *code;
    uint32_t rtl;
    const unsigned char *atlas_png;
    uint32_t atlas_size;
    const unsigned char *title_png;
    uint32_t title_size;
    const int16_t *runs;
    const uint16_t *run_offsets;  // 66 values; 0xFFFF: no such form
    const AtlasPiece *pieces;
    const char *const *strings;   // 33 strings, then a null pointer
};

extern const LanguageRecord lang_records[LANG_COUNT];
extern int32_t lang_current;
extern int32_t lang_ru_seen;

// Records and string slots.
const char *lang_code(int i);
int lang_get();
void lang_set(unsigned i);
int lang_ru_flag();
const char *lang_title();
const char *lang_int_arg(int value);
const char *lang_slot_arg(int slot);
const char *lang_text_or_english(int slot);

// Language choice.
int lang_find(const char *s);
void lang_detect(const char *code);

// Pre-rendered text.
struct TextItem {
    int32_t piece;     // atlas piece, -1 none
    const char *text;  // argument drawn in the bitmap font, NULL none
    int32_t slot;      // nested string slot, -1 none
    float width;       // advance in logical pixels at scale 1
};
int text_draw(int slot, int x, int y, int large, int align, PackedColour colour, ...);
int text_draw_fit(int slot, int x, int y, int large, int align, PackedColour colour, int max_width, ...);
int text_draw_v(int slot, int x, int y, int large, int align, PackedColour colour, int max_width, va_list args);
int text_draw_scaled(int slot, int x, int y, int align, PackedColour colour, int max_width, float scale);
int text_draw_str(const char *s, int x, int y, int large, int align, PackedColour colour);
int text_draw_title(int x, int y, int h);
int text_layout(int slot, int large, const char **args, int nargs, TextItem items[16], float *total_width, float *factor);
void text_draw_items(int slot, int large, PackedColour colour, const char **args, int nargs, float x, float y, float scale);
// Starts decoding the current language's text atlas (and its title picture when
// with_title is set) ahead of the first draw; see gfx_decode_ahead.
void text_decode_ahead(int with_title);

// Window title. The marquee state is written only by the window title itself.
enum { X11_MARQUEE_SIZE = 1400, X11_SCROLL_SIZE = 2900 };
extern char x11_marquee_text[X11_MARQUEE_SIZE];        // the marquee, UTF-8
extern int32_t x11_marquee_chars;                      // its characters
extern int32_t x11_marquee_offset;                     // scroll offset, 0 .. chars + 9
extern uint32_t x11_marquee_last_ticks;                // SDL_GetTicks of the last write
extern int32_t x11_title_mode;                         // -1 unset, 0 static, 1 scrolling
extern char x11_marquee_scroll_buf[X11_SCROLL_SIZE];   // marquee, ten spaces, marquee
extern void *x11_lib;                                  // libX11 once opened, else NULL
void x11_build_title_marquee();
void x11_update_window_title(SDL_Window *window, int force);
void x11_set_title(SDL_Window *window, const char *title, const char *icon_name);
void x11_set_title_simple(SDL_Window *window, const char *title);
