// Kestrune: the bitmap font's tables and atlas pictures, as the build made them.
#include <gtest/gtest.h>
#include <stb_image.h>

#include <cstring>
#include <vector>

#include "data/data.h"
#include "gfx/gfx.h"

namespace {

int glyph_index(int32_t cp) {
    for (int i = 0; i < GFX_FONT_GLYPHS; i++)
        if (gfx_font_codepoints[i] == cp) return i;
    return -1;
}

struct Decoded {
    int w = 0, h = 0;
    std::vector<unsigned char> px;
    const unsigned char *at(int x, int y) const { return &px[((size_t)y * w + x) * 4]; }
};

Decoded decode(const unsigned char *data, uint32_t size) {
    Decoded d;
    int comp = 0;
    unsigned char *p = stbi_load_from_memory(data, (int)size, &d.w, &d.h, &comp, 4);
    if (p) {
        d.px.assign(p, p + (size_t)d.w * d.h * 4);
        stbi_image_free(p);
    }
    return d;
}

}  // namespace

TEST(FontTables, CodePointsAreTheListedRunsStrictlyAscending) {
    for (int i = 1; i < GFX_FONT_GLYPHS; i++) EXPECT_LT(gfx_font_codepoints[i - 1], gfx_font_codepoints[i]) << i;
    // First and last glyph of each run of consecutive code points.
    const int32_t runs[][3] = {{0, 94, 0x20},      {95, 525, 0xA1},   {526, 600, 0x384}, {601, 696, 0x400},
                               {697, 698, 0x490},  {699, 788, 0x1EA0}, {789, 789, 0x2013}, {790, 790, 0x2019}};
    for (const auto &r : runs)
        for (int g = r[0]; g <= r[1]; g++) EXPECT_EQ(gfx_font_codepoints[g], r[2] + (g - r[0])) << g;
    EXPECT_EQ(gfx_font_codepoints[GFX_FONT_FALLBACK], '?');
}

TEST(FontTables, ListedAdvancesAndExtremes) {
    struct Listed {
        int32_t cp;
        int large, small;
    };
    const Listed listed[] = {{' ', 17, 12},   {'?', 25, 16},    {'A', 32, 19},    {'M', 39, 23},
                             {'W', 43, 25},   {'i', 17, 12},    {'m', 41, 24},    {'-', 20, 13},
                             {':', 19, 13},   {0x2013, 23, 15}, {0x2019, 18, 12}, {0x0416, 47, 28},
                             {0x00AD, 6, 6},  {0x01C4, 58, 34}};
    for (const Listed &l : listed) {
        int g = glyph_index(l.cp);
        ASSERT_GE(g, 0);
        EXPECT_EQ(gfx_font_advance_large[g], l.large) << std::hex << l.cp;
        EXPECT_EQ(gfx_font_advance_small[g], l.small) << std::hex << l.cp;
    }
    for (int d = '0'; d <= '9'; d++) {
        EXPECT_EQ(gfx_font_advance_large[glyph_index(d)], 29);
        EXPECT_EQ(gfx_font_advance_small[glyph_index(d)], 18);
    }
    int soft = glyph_index(0xAD), widest = glyph_index(0x1C4);
    for (int g = 0; g < GFX_FONT_GLYPHS; g++) {
        EXPECT_GE(gfx_font_advance_large[g], gfx_font_advance_large[soft]);
        EXPECT_GE(gfx_font_advance_small[g], gfx_font_advance_small[soft]);
        EXPECT_LE(gfx_font_advance_large[g], gfx_font_advance_large[widest]);
        EXPECT_LE(gfx_font_advance_small[g], gfx_font_advance_small[widest]);
    }
}

TEST(FontTables, CellsArePackedRowByRowIntoTheExactAtlases) {
    struct Size {
        const int16_t *advance, *x, *y;
        int cell_h, rows;
    };
    const Size sizes[2] = {{gfx_font_advance_small, gfx_font_atlas_x_small, gfx_font_atlas_y_small, 56, 8},
                           {gfx_font_advance_large, gfx_font_atlas_x_large, gfx_font_atlas_y_large, 94, 12}};
    for (const Size &s : sizes) {
        int x = 0, y = 0;
        for (int g = 0; g < GFX_FONT_GLYPHS; g++) {
            int w = 2 * s.advance[g];
            if (x + w > 4096) {
                x = 0;
                y += s.cell_h;
            }
            EXPECT_EQ(s.x[g], x) << g;
            EXPECT_EQ(s.y[g], y) << g;
            x += w;
        }
        EXPECT_EQ(y, (s.rows - 1) * s.cell_h);
    }
    int w, h, comp;
    ASSERT_TRUE(stbi_info_from_memory(data_font_large_png, (int)data_font_large_png_size, &w, &h, &comp));
    EXPECT_EQ(w, 4096);
    EXPECT_EQ(h, 1128);
    EXPECT_EQ(comp, 4);
    ASSERT_TRUE(stbi_info_from_memory(data_font_small_png, (int)data_font_small_png_size, &w, &h, &comp));
    EXPECT_EQ(w, 4096);
    EXPECT_EQ(h, 448);
    EXPECT_EQ(comp, 4);
}

// Every glyph but the space and the soft hyphen is white with a dark outline, inside its
// cell with the outer columns clear (so a smoothed copy takes nothing from a neighbour),
// and the cells of unassigned code points hold the "?".
TEST(FontTables, GlyphPicturesAreWhiteWithADarkOutlineInsideTheirCells) {
    const Decoded atlases[2] = {decode(data_font_small_png, data_font_small_png_size),
                                decode(data_font_large_png, data_font_large_png_size)};
    const int16_t *adv[2] = {gfx_font_advance_small, gfx_font_advance_large};
    const int16_t *ax[2] = {gfx_font_atlas_x_small, gfx_font_atlas_x_large};
    const int16_t *ay[2] = {gfx_font_atlas_y_small, gfx_font_atlas_y_large};
    const int cell_h[2] = {56, 94};
    for (int s = 0; s < 2; s++) {
        const Decoded &a = atlases[s];
        ASSERT_FALSE(a.px.empty());
        for (int g = 0; g < GFX_FONT_GLYPHS; g++) {
            int cp = gfx_font_codepoints[g];
            int w = 2 * adv[s][g];
            bool white = false, dark = false, edge = false;
            for (int y = 0; y < cell_h[s]; y++)
                for (int x = 0; x < w; x++) {
                    const unsigned char *p = a.at(ax[s][g] + x, ay[s][g] + y);
                    if (p[3] == 255 && p[0] == 255 && p[1] == 255 && p[2] == 255) white = true;
                    if (p[3] == 255 && p[0] < 40 && p[1] < 40 && p[2] < 40) dark = true;
                    if (p[3] && (x == 0 || x == w - 1)) edge = true;
                }
            bool invisible = cp == ' ' || cp == 0xAD;
            EXPECT_EQ(white, !invisible) << "size " << s << " U+" << std::hex << cp;
            EXPECT_EQ(dark, !invisible) << "size " << s << " U+" << std::hex << cp;
            EXPECT_FALSE(edge) << "size " << s << " U+" << std::hex << cp;
        }
        const int q = GFX_FONT_FALLBACK;
        for (int32_t cp : {0x38B, 0x38D, 0x3A2}) {
            int g = glyph_index(cp);
            ASSERT_EQ(adv[s][g], adv[s][q]);
            for (int y = 0; y < cell_h[s]; y++)
                for (int x = 0; x < 2 * adv[s][q]; x++)
                    ASSERT_EQ(memcmp(a.at(ax[s][g] + x, ay[s][g] + y), a.at(ax[s][q] + x, ay[s][q] + y), 4), 0)
                        << std::hex << cp;
        }
    }
}
