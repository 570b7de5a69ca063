// Kestrune text-picture generator: the bitmap font. 791 glyphs (Latin with its European
// and Vietnamese extensions, Greek, Cyrillic) in two sizes, white with a dark outline,
// in cells twice the logical size packed row by row into atlases of exactly 4096 x 1128
// (large, 12 rows) and 4096 x 448 (small, 8 rows), and the game's glyph tables.
#include <cmath>
#include <cstdio>
#include <string>

#include "gen_common.h"
#include "gen_steps.h"

namespace {

const char *const FAMILIES = "DejaVu Sans, Noto Sans";
const char *const PRIMARY = "DejaVu Sans Bold";
const char *const SECONDARY = "Noto Sans Bold";

struct Range {
    uint32_t first, last;
};
const Range RANGES[] = {{0x20, 0x7E},     {0xA1, 0x24F},    {0x384, 0x3CE}, {0x400, 0x45F},
                        {0x490, 0x491},   {0x1EA0, 0x1EF9}, {0x2013, 0x2013}, {0x2019, 0x2019}};

// Advances (logical pixels, large / small) fixed for the game: the digits share one width
// so numbers of equal length are equally wide; the rest match the font's look.
struct Listed {
    uint32_t cp;
    int large, small;
};
const Listed LISTED[] = {
    {' ', 17, 12},    {'0', 29, 18},    {'1', 29, 18},    {'2', 29, 18},    {'3', 29, 18},
    {'4', 29, 18},    {'5', 29, 18},    {'6', 29, 18},    {'7', 29, 18},    {'8', 29, 18},
    {'9', 29, 18},    {'?', 25, 16},    {'A', 32, 19},    {'M', 39, 23},    {'W', 43, 25},
    {'i', 17, 12},    {'m', 41, 24},    {'-', 20, 13},    {':', 19, 13},    {0x2013, 23, 15},
    {0x2019, 18, 12}, {0x0416, 47, 28}, {0x00AD, 6, 6},   {0x01C4, 58, 34},
};
// No other glyph is wider than U+01C4 or narrower than the soft hyphen.
const int MAX_ADVANCE[2] = {34, 58};
const int MIN_ADVANCE = 7;

struct Size {
    const char *name;
    double px;      // font size in atlas pixels
    int cell_h;     // atlas pixels
    int baseline;   // atlas pixels from the cell's top
    double outline; // outline radius, atlas pixels
    int rows;       // the atlas's rows
};
// The baselines sit where the pre-rendered text has its own: 20 (small) and 35 (large)
// logical pixels below the line top, so numbers filled into a string line up with it.
const Size SIZES[2] = {
    {"small", 38.0, 56, 40, 3.5, 8},
    {"large", 69.0, 94, 70, 5.0, 12},
};
const int ATLAS_W = 4096;

struct Glyph {
    uint32_t cp;
    bool present;  // some font has it; else the cell holds "?"
    int advance[2];
    int x[2], y[2];
};

bool invisible(uint32_t cp) { return cp == ' ' || cp == 0xAD; }

// Draws one glyph into its cell, scaled down about its baseline when it would not fit.
void draw_cell(Picture &atlas, const Glyph &g, const Size &size, int si) {
    uint32_t shown = g.present ? g.cp : '?';
    std::string text = gen_utf8_encode(shown);
    char what[64];
    snprintf(what, sizeof what, "bitmap font (%s), U+%04X", size.name, g.cp);
    GenTextStyle style = {FAMILIES, PANGO_WEIGHT_BOLD, size.px, "en", false};
    GenLine line;
    gen_layout_line(line, style, text.c_str(), "DejaVu Sans, Noto Sans", what);

    int cell_w = 2 * g.advance[si];
    int cell_h = size.cell_h;
    double r = size.outline;
    double B = size.baseline;
    double s = 1.0;
    bool ink = line.ink_w > 0 && line.ink_h > 0;
    if (!ink && !invisible(shown)) gen_fail("%s: the glyph has no ink", what);
    double left = line.ink_x, right = line.ink_x + line.ink_w;
    double top = line.ink_y - line.baseline, bottom = line.ink_y + line.ink_h - line.baseline;
    if (ink) {
        // Two pixels of the cell stay clear all round (one after antialiasing), so a
        // smoothed copy of the cell never takes a neighbour's ink.
        if (right - left > 0) s = fmin(s, (cell_w - 4 - 2 * r) / (right - left));
        if (top < 0) s = fmin(s, (B - 2 - r) / -top);
        if (bottom > 0) s = fmin(s, (cell_h - 2 - r - B) / bottom);
        if (s <= 0.2) gen_fail("%s: the glyph does not fit its cell", what);
    }
    // The advance box centred in the cell, then moved in if the ink would cross an edge.
    double ox = cell_w / 2.0 - s * line.advance / 2.0;
    if (ink) {
        double l = ox + s * left - r, rr = ox + s * right + r;
        if (l < 2) ox += 2 - l;
        else if (rr > cell_w - 2) ox -= rr - (cell_w - 2);
    }

    // Drawn on a larger scratch picture so that anything crossing the cell shows.
    const int pad = 16;
    cairo_surface_t *surf = gen_surface(cell_w + 2 * pad, cell_h + 2 * pad);
    cairo_t *cr = cairo_create(surf);
    cairo_translate(cr, pad + ox, pad + B);
    cairo_scale(cr, s, s);
    cairo_move_to(cr, 0, -line.baseline);
    gen_line_path(cr, line);
    gen_outline_and_fill(cr, r);
    cairo_destroy(cr);
    Picture p = gen_picture_from_surface(surf);
    cairo_surface_destroy(surf);
    if (gen_ink_outside(p, pad + 1, pad + 1, cell_w - 2, cell_h - 2)) gen_fail("%s: the glyph is clipped by its cell", what);

    // Letters and digits stand on the baseline: their white body ends on it.
    if (shown == 'H' || (shown >= '0' && shown <= '9' && shown != '9')) {
        int last = -1;
        for (int y = 0; y < p.h; y++)
            for (int x = 0; x < p.w; x++)
                if (p.at(x, y)[3] > 128 && p.at(x, y)[0] > 128) last = y;
        int bottom_row = last - pad;
        if (bottom_row < B - 2 || bottom_row > B + 1)
            gen_fail("%s: the baseline is off (the glyph ends at row %d, not %g)", what, bottom_row, B);
    }
    gen_copy(atlas, g.x[si], g.y[si], p, pad, pad, cell_w, cell_h);
}

}  // namespace

void gen_bitmap_font(const std::string &outdir) {
    std::vector<Glyph> glyphs;
    PangoContext *ctx = gen_context("en", false);
    for (const Range &r : RANGES)
        for (uint32_t cp = r.first; cp <= r.last; cp++) {
            Glyph g = {};
            g.cp = cp;
            g.present = gen_font_has_char(ctx, PRIMARY, cp) || gen_font_has_char(ctx, SECONDARY, cp);
            glyphs.push_back(g);
        }
    if (glyphs.size() != 791) gen_fail("bitmap font: %zu glyphs, not 791", glyphs.size());

    // Advances: listed ones as they stand; the others from the font (pen step plus the
    // 5 pixels by which neighbouring cells overlap), within the listed extremes.
    for (int si = 0; si < 2; si++) {
        const Size &size = SIZES[si];
        int question = 0;
        for (const Listed &l : LISTED)
            if (l.cp == '?') question = si ? l.large : l.small;
        for (Glyph &g : glyphs) {
            int adv = -1;
            for (const Listed &l : LISTED)
                if (l.cp == g.cp) adv = si ? l.large : l.small;
            if (adv < 0 && !g.present) adv = question;
            if (adv < 0) {
                GenTextStyle style = {FAMILIES, PANGO_WEIGHT_BOLD, size.px, "en", false};
                GenLine line;
                std::string t = gen_utf8_encode(g.cp);
                gen_layout_line(line, style, t.c_str(), "DejaVu Sans, Noto Sans", "bitmap font");
                adv = (int)lround(line.advance / 2.0) + 5;
                if (adv > MAX_ADVANCE[si]) adv = MAX_ADVANCE[si];
                if (adv < MIN_ADVANCE) adv = MIN_ADVANCE;
            }
            g.advance[si] = adv;
        }
        // Packing: in glyph order, a cell that would pass x 4096 starts a new row.
        int x = 0, y = 0;
        for (Glyph &g : glyphs) {
            int w = 2 * g.advance[si];
            if (x + w > ATLAS_W) {
                x = 0;
                y += size.cell_h;
            }
            g.x[si] = x;
            g.y[si] = y;
            x += w;
        }
        int rows = y / size.cell_h + 1;
        if (rows != size.rows)
            gen_fail("bitmap font (%s): the glyphs fill %d rows, not %d", size.name, rows, size.rows);
    }

    for (int si = 0; si < 2; si++) {
        const Size &size = SIZES[si];
        Picture atlas;
        atlas.resize(ATLAS_W, size.rows * size.cell_h);
        for (const Glyph &g : glyphs) draw_cell(atlas, g, size, si);
        gen_write_png_rgba(outdir + "/font_" + size.name + ".png", atlas);
    }
    g_object_unref(ctx);

    // The game's tables, and the same numbers for the review sheets.
    std::string src =
        "// Kestrune: the bitmap font's glyph tables, written by tools/gen_text with the font\n"
        "// atlases. Do not edit.\n#include \"gfx/gfx.h\"\n\n";
    auto table = [&](const char *type, const char *name, auto value) {
        src += std::string("const ") + type + " " + name + "[GFX_FONT_GLYPHS] = {";
        for (size_t i = 0; i < glyphs.size(); i++) {
            if (i % 12 == 0) src += "\n   ";
            src += " " + std::to_string(value(glyphs[i])) + ",";
        }
        src += "\n};\n";
    };
    table("int32_t", "gfx_font_codepoints", [](const Glyph &g) { return (long)g.cp; });
    table("int16_t", "gfx_font_advance_large", [](const Glyph &g) { return (long)g.advance[1]; });
    table("int16_t", "gfx_font_advance_small", [](const Glyph &g) { return (long)g.advance[0]; });
    table("int16_t", "gfx_font_atlas_x_large", [](const Glyph &g) { return (long)g.x[1]; });
    table("int16_t", "gfx_font_atlas_x_small", [](const Glyph &g) { return (long)g.x[0]; });
    table("int16_t", "gfx_font_atlas_y_large", [](const Glyph &g) { return (long)g.y[1]; });
    table("int16_t", "gfx_font_atlas_y_small", [](const Glyph &g) { return (long)g.y[0]; });
    gen_write_text(outdir + "/gfx_font_tables.cpp", src);

    std::string metrics;
    for (const Glyph &g : glyphs) {
        char line[96];
        snprintf(line, sizeof line, "%u %d %d %d %d %d %d\n", g.cp, g.advance[0], g.x[0], g.y[0], g.advance[1],
                 g.x[1], g.y[1]);
        metrics += line;
    }
    gen_write_text(outdir + "/font_metrics.txt", metrics);
}
