// Kestrune text-picture generator: the 32 languages as the pictures need them: code,
// direction, strings (from text/strings/<code>.inc, the game's own source), the fonts of
// their script and the game's name as a reader of that script writes it.
#pragma once
#include <pango/pango.h>

enum { GEN_LANGS = 32, GEN_SLOTS = 33 };

struct GenScript {
    const char *name;
    const char *families;  // text fragments, first choice first; no other font may be used
    double px_small;       // font size of small pieces, atlas pixels
    double px_large;       // font size of large pieces
};

// The face of a title picture. The letters are swollen by `swell` (a share of the font
// size) all round with round corners: heavier and rounder, as the logo's letters are;
// scripts whose letters stand apart get `spacing` (a share of the font size) between
// them, so that the swollen letters keep apart too.
struct GenTitleFace {
    const char *families;  // one family: the title is drawn in it alone
    PangoWeight weight;
    double swell;
    double spacing;
};

struct GenLanguage {
    const char *code;
    const char *pango_language;
    bool rtl;
    const char *const *strings;  // 33 strings by slot
    const GenScript *script;
    const char *title_name;
    const GenTitleFace *title_face;
};

extern const GenLanguage gen_languages[GEN_LANGS];
// The slots that also have a large form.
bool gen_slot_has_large(int slot);
