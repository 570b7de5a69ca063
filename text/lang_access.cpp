// Kestrune: the current language, the accessors on the language records and the ring
// of placeholder-argument strings that every painter fills its strings with.
#include <cstdio>

#include "text/lang_font_scan.h"
#include "text/text.h"

int32_t lang_current = 5;

namespace {

enum { ARG_RING_SIZE = 16, ARG_BUFFER_SIZE = 128, LANG_ENGLISH = 5 };

// A returned argument stays valid while the next 15 are made.
char lang_arg_ring[ARG_RING_SIZE][ARG_BUFFER_SIZE];
int32_t lang_arg_next = 0;

char *lang_arg_buffer() {
    lang_arg_next = (lang_arg_next + 1) % ARG_RING_SIZE;
    return lang_arg_ring[lang_arg_next];
}

bool lang_valid(int i) { return i >= 0 && i < LANG_COUNT; }

// The current language's record; English should lang_current ever hold a bad index.
const LanguageRecord &lang_current_record() {
    return lang_records[lang_valid(lang_current) ? lang_current : LANG_ENGLISH];
}

// Code points the bitmap font has glyphs for.
bool lang_in_font_blocks(unsigned cp) {
    return cp < 0x250 || (cp >= 0x370 && cp <= 0x3FF) || (cp >= 0x400 && cp <= 0x45F) ||
           cp == 0x490 || cp == 0x491 || (cp >= 0x1EA0 && cp <= 0x1EF9) || cp == 0x2013 ||
           cp == 0x2019;
}

}  // namespace

int lang_font_covers(const char *s) {
    if (!s) return 0;
    const unsigned char *p = reinterpret_cast<const unsigned char *>(s);
    while (*p) {
        unsigned b0 = p[0];
        unsigned cp;
        if (b0 < 0x80) {
            p += 1;
            continue;
        }
        if ((b0 & 0xE0) == 0xC0 && p[1] != 0) {
            cp = ((b0 & 0x1Fu) << 6) | (p[1] & 0x3Fu);
            p += 2;
        } else if ((b0 & 0xF0) == 0xE0 && p[1] != 0 && p[2] != 0) {
            cp = ((b0 & 0x0Fu) << 12) | ((p[1] & 0x3Fu) << 6) | (p[2] & 0x3Fu);
            p += 3;
        } else {
            return 0;  // four-byte lead, stray continuation byte or a cut-off sequence
        }
        if (!lang_in_font_blocks(cp)) return 0;
    }
    return 1;
}

// An index outside the table (a caller's fault) gives the English code, so a settings
// line written from it still names a language.
const char *lang_code(int i) { return lang_records[lang_valid(i) ? i : LANG_ENGLISH].code; }

int lang_get() { return lang_current; }

void lang_set(unsigned i) {
    if (i < LANG_COUNT) lang_current = static_cast<int32_t>(i);
}

int lang_ru_flag() { return lang_ru_seen; }

const char *lang_title() { return lang_current_record().strings[STR_TITLE]; }

const char *lang_int_arg(int value) {
    char *buf = lang_arg_buffer();
    std::snprintf(buf, ARG_BUFFER_SIZE, "%d", value);
    return buf;
}

const char *lang_slot_arg(int slot) {
    char *buf = lang_arg_buffer();
    std::snprintf(buf, ARG_BUFFER_SIZE, "\x01%d", slot);
    return buf;
}

// The current language's string when the bitmap font can draw every character of it,
// else the English one. A slot outside 0..32 gives the empty string.
const char *lang_text_or_english(int slot) {
    if (slot < 0 || slot >= LANG_SLOTS) return "";
    const char *s = lang_current_record().strings[slot];
    if (lang_font_covers(s)) return s;
    int en = lang_find("en");
    return lang_records[en >= 0 ? en : LANG_ENGLISH].strings[slot];
}
