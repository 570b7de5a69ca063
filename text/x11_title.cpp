// Kestrune: the window-title marquee. The title bar shows the game's title, the controls,
// the keys and the language key, joined by bullets; when the window is too narrow for all
// of it, the title moves on by one character every 170 ms in an endless loop.
#include <cstdio>
#include <cstring>

#include "text/text.h"
#include "text/x11_title.h"

char x11_marquee_text[X11_MARQUEE_SIZE];
int32_t x11_marquee_chars = 0;
int32_t x11_marquee_offset = 0;
uint32_t x11_marquee_last_ticks = 0;
int32_t x11_title_mode = -1;
char x11_marquee_scroll_buf[X11_SCROLL_SIZE];

namespace {

enum {
    STEP_MS = 170,           // time between two scroll steps
    TITLE_MARGIN = 170,      // window width left for the title bar's buttons and icon
    LANG_LINE_SIZE = 200,    // the language-key line with the language's name filled in
    TITLE_BYTE_LIMIT = 1394, // a scrolling title stops after passing this many bytes
    LANG_FALLBACK = 5,       // English, should the current index ever be out of range
};

const char *x11_or_empty(const char *s) { return s ? s : ""; }

// The string table of the current language.
const char *const *x11_current_strings() {
    int i = lang_get();
    if (i < 0 || i >= LANG_COUNT) i = LANG_FALLBACK;
    return lang_records[i].strings;
}

}  // namespace

int x11_char_step(const char *s, int *units) {
    const unsigned char *p = reinterpret_cast<const unsigned char *>(s);
    unsigned b0 = p[0];
    int len = 1;
    int u = 8;
    if (b0 >= 0x80) {
        if ((b0 & 0xE0) == 0xC0 && p[1] != 0) {
            len = 2;
            u = (b0 == 0xC0 || b0 == 0xC1) ? 8 : 9;  // overlong forms of ASCII
        } else if ((b0 & 0xF0) == 0xE0 && p[1] != 0 && p[2] != 0) {
            len = 3;
            // The third byte's six bits cannot move a value across either limit (both
            // are multiples of 64), so the first two bytes decide the class.
            unsigned v = ((b0 & 0x0Fu) << 12) | ((p[1] & 0x3Fu) << 6);
            u = v < 0x80 ? 8 : (v < 0x2E80 ? 9 : 16);  // CJK and later blocks are wide
        } else if ((b0 & 0xF8) == 0xF0 && p[1] != 0 && p[2] != 0 && p[3] != 0) {
            len = 4;
            u = 16;
        }
        // Anything else (stray continuation byte, 0xF8..0xFF, a cut-off sequence) is a
        // character of one byte.
    }
    if (units) *units = u;
    return len;
}

int32_t x11_text_chars(const char *s) {
    int32_t n = 0;
    while (*s) {
        s += x11_char_step(s, nullptr);
        n++;
    }
    return n;
}

int32_t x11_text_units(const char *s) {
    int32_t total = 0;
    while (*s) {
        int u = 0;
        s += x11_char_step(s, &u);
        total += u;
    }
    return total;
}

void x11_build_marquee_from(const char *const *strings) {
    const char *title = x11_or_empty(strings[STR_TITLE]);
    const char *name = x11_or_empty(strings[STR_LANGUAGE_NAME]);
    const char *key = x11_or_empty(strings[STR_LANGUAGE_KEY]);

    // The language-key line with the first "{1}" replaced by the language's own name.
    char line[LANG_LINE_SIZE];
    const char *mark = std::strstr(key, "{1}");
    if (mark) {
        std::snprintf(line, sizeof line, "%.*s%s%s", static_cast<int>(mark - key), key, name,
                      mark + 3);
    } else {
        std::snprintf(line, sizeof line, "%s", key);
    }

    // Separators: three spaces, a bullet (U+2022), three spaces.
    std::snprintf(x11_marquee_text, sizeof x11_marquee_text,
                  "%s   \xE2\x80\xA2   %s   \xE2\x80\xA2   %s   \xE2\x80\xA2   %s", title,
                  x11_or_empty(strings[STR_CONTROLS]), x11_or_empty(strings[STR_KEYS]), line);
    x11_marquee_chars = x11_text_chars(x11_marquee_text);
    x11_marquee_offset = 0;
    x11_marquee_last_ticks = 0;
    x11_title_mode = -1;
}

int x11_marquee_due(int force, uint32_t now) {
    // Unsigned difference: still the elapsed time across a wrap of the millisecond counter.
    return force != 0 || now - x11_marquee_last_ticks >= STEP_MS;
}

int x11_marquee_step(int force, uint32_t now, int width, char *title) {
    if (!x11_marquee_due(force, now)) return 0;
    // Computed wide so that no window width can overflow it.
    int64_t room = static_cast<int64_t>(width) - TITLE_MARGIN;
    int64_t total = x11_text_units(x11_marquee_text);

    if (total <= room) {
        // The whole marquee fits: it stands still, written once unless forced.
        if (!force && x11_title_mode == 0) return 0;
        x11_title_mode = 0;
        x11_marquee_offset = 0;
        std::snprintf(title, X11_MARQUEE_SIZE, "%s", x11_marquee_text);
    } else {
        // The source holds the marquee, a gap of ten spaces and the marquee again, so a
        // window onto it at any offset of one cycle joins the end to the next start.
        std::snprintf(x11_marquee_scroll_buf, sizeof x11_marquee_scroll_buf, "%s          %s",
                      x11_marquee_text, x11_marquee_text);
        const char *p = x11_marquee_scroll_buf;
        for (int32_t i = 0; i < x11_marquee_offset && *p; i++) p += x11_char_step(p, nullptr);

        int used = 0;
        int64_t run = 0;
        while (*p) {
            int u = 0;
            int n = x11_char_step(p, &u);
            run += u;
            if (run > room) break;
            std::memcpy(title + used, p, static_cast<size_t>(n));
            used += n;
            p += n;
            if (used > TITLE_BYTE_LIMIT) break;  // at most 1398 bytes and the NUL
        }
        title[used] = '\0';

        x11_title_mode = 1;
        // One cycle is the marquee's characters and the ten spaces.
        if (x11_marquee_offset < x11_marquee_chars + 9)
            x11_marquee_offset++;
        else
            x11_marquee_offset = 0;
    }
    x11_marquee_last_ticks = now;
    return 1;
}

void x11_build_title_marquee() { x11_build_marquee_from(x11_current_strings()); }

void x11_update_window_title(SDL_Window *window, int force) {
    if (!window) return;
    // In fullscreen the title bar is not shown; nothing is written, even when forced.
    if (SDL_GetWindowFlags(window) & SDL_WINDOW_FULLSCREEN) return;
    uint32_t now = SDL_GetTicks();
    if (!x11_marquee_due(force, now)) return;
    int width = 0;
    int height = 0;
    SDL_GetWindowSize(window, &width, &height);
    char title[X11_MARQUEE_SIZE];
    if (x11_marquee_step(force, now, width, title))
        x11_set_title(window, title, x11_current_strings()[STR_TITLE]);
}
