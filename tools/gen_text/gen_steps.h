// Kestrune text-picture generator: its steps, each run by its own build command.
#pragma once
#include <string>

// The two bitmap-font atlases, gfx_font_tables.cpp and font_metrics.txt.
void gen_bitmap_font(const std::string &outdir);
// The 32 text atlases, text_tables.cpp and the review sheets (review/text_<code>.png);
// fontdir holds the font step's outputs, drawn into the sheets for the placeholders.
void gen_text_atlases(const std::string &outdir, const std::string &fontdir);
// The 32 title pictures and their review sheet (review/titles.png).
void gen_title_pictures(const std::string &outdir);
// Draws one text as pieces of the given language and size with every check of the
// atlas step, printing their sizes: a way to try a text, and to test those checks.
void gen_probe(const char *code, bool large, const char *text);
