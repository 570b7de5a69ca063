// Kestrune text-picture generator: what its steps share. Fonts come only from the exact
// files of gen_fonts.inc (a private font set: the machine's font configuration decides
// nothing), pictures are 8-bit RGBA in memory and PNG on disk, and every failure stops
// the build with a message.
#pragma once
#include <cairo.h>
#include <pango/pangocairo.h>

#include <cstdint>
#include <string>
#include <vector>

[[noreturn]] void gen_fail(const char *fmt, ...) __attribute__((format(printf, 1, 2)));

enum GenFontId {
#define GEN_FONT(id, file, package) FONT_##id,
#include "gen_fonts.inc"
#undef GEN_FONT
    FONT_COUNT
};

// Checks that every font file is there (naming its package when one is not) and loads
// them all into the private font set.
void gen_fonts_open();
// A new Pango context on the private font set: grey antialiasing, no hinting, unrounded
// glyph positions (so sizes and spacing are exact), the given language and direction.
PangoContext *gen_context(const char *language, bool rtl);
// True when the font the description picks has a glyph for code point c.
bool gen_font_has_char(PangoContext *ctx, const char *description, uint32_t c);

// How a text is set: a Pango family list ("Noto Sans Hebrew, DejaVu Sans"), a weight,
// a pixel size, the language and direction it is shaped for, and any extra spacing.
struct GenTextStyle {
    const char *families;
    PangoWeight weight;
    double px;
    const char *language;
    bool rtl;
    double letter_spacing = 0;  // pixels added between letters
};

// A laid-out single line of text and its measures in pixels.
struct GenLine {
    PangoContext *ctx = nullptr;
    PangoLayout *layout = nullptr;
    double advance = 0;   // logical width: where the next text would start
    double baseline = 0;  // from the layout's top
    double ink_x = 0, ink_y = 0, ink_w = 0, ink_h = 0;  // ink box, from the layout's origin
    ~GenLine();
};

// Lays out one line and checks it: one line only, every character has a glyph from one
// of the allowed families (a comma-separated list; NULL allows any), and every cluster
// that holds a visible character has ink. `what` names the text in messages.
void gen_layout_line(GenLine &line, const GenTextStyle &style, const char *text, const char *allowed,
                     const char *what);

// Checks that every combining mark of a text is drawn where it is seen. Each cluster (a
// character and the marks after it, precomposed letters taken apart) that holds a mark of
// category Mn or Mc is drawn in its text once whole and once without each of its marks in
// turn. When the two drawings are the same, or the mark shows less than half of its
// glyph's ink (hidden in its letter, as a font whose mark positioning fails in this
// shaping stack hides a Thai tone mark in the vowel below it), the build stops, naming
// `what` and the text.
void gen_check_marks(const GenTextStyle &style, const char *text, const char *allowed, const char *what);

// An 8-bit picture with straight (not premultiplied) alpha, bytes r, g, b, a.
struct Picture {
    int w = 0, h = 0;
    std::vector<uint8_t> px;
    void resize(int width, int height) {
        w = width;
        h = height;
        px.assign((size_t)width * height * 4, 0);
    }
    uint8_t *at(int x, int y) { return &px[((size_t)y * w + x) * 4]; }
    const uint8_t *at(int x, int y) const { return &px[((size_t)y * w + x) * 4]; }
};

// A cairo ARGB32 surface with every pixel transparent.
cairo_surface_t *gen_surface(int w, int h);
// The surface's pixels as straight-alpha RGBA.
Picture gen_picture_from_surface(cairo_surface_t *s);
// Draws a line's glyph outlines as a path at the current point (its top-left corner).
void gen_line_path(cairo_t *cr, const GenLine &line);
// Strokes the current path with a dark outline of radius r, then fills it white: the
// look of every glyph and text fragment of the game.
void gen_outline_and_fill(cairo_t *cr, double r);
// True when some pixel outside the rectangle (x, y, w, h) of the picture is not transparent.
bool gen_ink_outside(const Picture &p, int x, int y, int w, int h);
// Copies the rectangle (sx, sy, w, h) of src to (dx, dy) of dst, unblended.
void gen_copy(Picture &dst, int dx, int dy, const Picture &src, int sx, int sy, int w, int h);
// Draws src over dst with its top-left corner at (dx, dy) (source-over, straight alpha).
void gen_blend(Picture &dst, int dx, int dy, const Picture &src, int sx, int sy, int w, int h);

// PNG files, written whole or not at all (through a temporary file and a rename).
void gen_write_png_rgba(const std::string &path, const Picture &p);
void gen_write_png_grey_alpha(const std::string &path, const Picture &p);  // grey from red
Picture gen_read_png(const std::string &path);
// Writes a text file whole or not at all.
void gen_write_text(const std::string &path, const std::string &text);

// UTF-8 helpers for texts that came through the compiler (always well formed).
std::vector<uint32_t> gen_utf8_decode(const char *s);
std::string gen_utf8_encode(uint32_t c);
