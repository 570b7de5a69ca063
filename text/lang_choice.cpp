// Kestrune: the choice of language at start-up, from the configured code, the user's
// preferred locales, the locale environment variables and finally English; and whether
// the user's environment is Russian (then the title screen shows the Ukrainian banner).
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "text/text.h"

int32_t lang_ru_seen = 0;

namespace {

bool lang_is_separator(char ch) { return ch == '-' || ch == '.' || ch == '@' || ch == '_'; }

bool lang_is(const char *c, const char *code) { return std::strcmp(c, code) == 0; }

bool lang_starts_ru(const char *s) { return s && s[0] == 'r' && s[1] == 'u'; }

// Splits a copy of a colon-separated locale list and returns the first language any
// piece names, or -1. Values longer than 127 bytes are cut.
int lang_find_in_list(const char *value) {
    char copy[128];
    std::snprintf(copy, sizeof copy, "%s", value);
    for (char *piece = std::strtok(copy, ":"); piece; piece = std::strtok(nullptr, ":")) {
        int idx = lang_find(piece);
        if (idx >= 0) return idx;
    }
    return -1;
}

}  // namespace

int lang_find(const char *s) {
    if (!s || !s[0]) return -1;

    // Up to three lower-cased characters before the first separator.
    char c[6] = {0};
    int n = 0;
    while (n < 3 && s[n] && !lang_is_separator(s[n])) {
        c[n] = static_cast<char>(s[n] | 0x20);
        n++;
    }
    c[n] = 0;

    // Brazilian Portuguese is the one language told apart by its country. s[2] is read
    // only when c has two characters, so s is at least that long.
    if (n == 2 && lang_is(c, "pt") && (s[2] == '_' || s[2] == '-') && (s[3] == 'B' || s[3] == 'b') &&
        (s[4] == 'R' || s[4] == 'r'))
        std::snprintf(c, sizeof c, "pt_BR");

    if (n == 2) {
        if (lang_is(c, "no") || lang_is(c, "nn")) {
            std::snprintf(c, sizeof c, "nb");
        } else if (lang_is(c, "kl") || lang_is(c, "fo")) {
            std::snprintf(c, sizeof c, "da");
        } else if (lang_is(c, "ru")) {
            lang_ru_seen = 1;
            std::snprintf(c, sizeof c, "uk");
        } else if (lang_is(c, "iw")) {
            std::snprintf(c, sizeof c, "he");
        } else if (lang_is(c, "in")) {
            std::snprintf(c, sizeof c, "id");
        }
    }

    for (int i = 0; i < LANG_COUNT; i++)
        if (lang_is(c, lang_records[i].code)) return i;
    return -1;
}

void lang_detect(const char *code) {
    int idx = lang_find(code);
    lang_ru_seen = 0;
    SDL_Locale *locales = SDL_GetPreferredLocales();

    // A configured language wins; the Russian banner still follows the environment.
    if (idx >= 0) {
        bool ru = false;
        for (const SDL_Locale *l = locales; l && l->language; l++)
            if (lang_starts_ru(l->language)) ru = true;
        if (lang_starts_ru(std::getenv("LANG")) || lang_starts_ru(std::getenv("LANGUAGE"))) ru = true;
        if (ru) lang_ru_seen = 1;
        if (locales) SDL_free(locales);
        lang_current = idx;
        return;
    }

    // The preferred locales by language alone; the country is never consulted.
    if (locales) {
        int found = -1;
        for (const SDL_Locale *l = locales; l->language && found < 0; l++) found = lang_find(l->language);
        SDL_free(locales);
        if (found >= 0) {
            lang_current = found;
            return;
        }
    }

    // The locale variables in the order the C library weighs them.
    static const char *const vars[] = {"LANGUAGE", "LC_ALL", "LC_MESSAGES", "LANG"};
    for (const char *var : vars) {
        const char *value = std::getenv(var);
        if (!value) continue;
        int found = lang_find_in_list(value);
        if (found >= 0) {
            lang_current = found;
            return;
        }
    }

    lang_current = lang_find("en");
}
