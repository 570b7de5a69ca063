// Kestrune graphics tests: the generated pictures as the game embeds them: their formats
// and sizes, every sprite inside its own cell, the hero's frames matching, and the
// backgrounds dark where the messages go.
#include <gtest/gtest.h>
#include <stb_image.h>

#include <algorithm>
#include <cmath>
#include <cstring>

#include "data/data.h"
#include "gfx_test_support.h"

namespace {

struct Decoded {
    int w = 0, h = 0;
    unsigned char *px = nullptr;
    Decoded(const unsigned char *data, uint32_t size) {
        int channels;
        px = stbi_load_from_memory(data, (int)size, &w, &h, &channels, 4);
    }
    ~Decoded() { stbi_image_free(px); }
    int alpha(int x, int y) const { return px[(y * w + x) * 4 + 3]; }
    const unsigned char *at(int x, int y) const { return &px[(y * w + x) * 4]; }
};

uint32_t be32(const unsigned char *p) { return (uint32_t)p[0] << 24 | p[1] << 16 | p[2] << 8 | p[3]; }

// Width, height, bit depth and colour type from a PNG's header.
void png_header(const unsigned char *data, uint32_t size, uint32_t *w, uint32_t *h, int *depth, int *type) {
    static const unsigned char sig[8] = {0x89, 'P', 'N', 'G', 0x0D, 0x0A, 0x1A, 0x0A};
    ASSERT_GE(size, 33u);
    ASSERT_EQ(std::memcmp(data, sig, 8), 0);
    ASSERT_EQ(std::memcmp(data + 12, "IHDR", 4), 0);
    *w = be32(data + 16);
    *h = be32(data + 20);
    *depth = data[24];
    *type = data[25];
}

TEST(Pictures, PngsAreEightBitRgbaOfTheirSizes) {
    struct {
        const unsigned char *data;
        uint32_t size, w, h;
    } pngs[] = {{data_sprite_atlas_png, data_sprite_atlas_png_size, 2048, 1664},
                {data_title_logo_png, data_title_logo_png_size, 1023, 360},
                {data_hero_portrait_png, data_hero_portrait_png_size, 254, 300}};
    for (auto &p : pngs) {
        uint32_t w = 0, h = 0;
        int depth = 0, type = 0;
        png_header(p.data, p.size, &w, &h, &depth, &type);
        EXPECT_EQ(w, p.w);
        EXPECT_EQ(h, p.h);
        EXPECT_EQ(depth, 8);
        EXPECT_EQ(type, 6);  // RGBA
    }
}

TEST(Pictures, BackgroundsAreBaselineThreeComponentJpegs) {
    for (int i = 0; i < GFX_BACKGROUND_COUNT; i++) {
        const unsigned char *d = gfx_level_backgrounds[i];
        uint32_t n = *gfx_level_background_sizes[i];
        ASSERT_GT(n, 4u);
        EXPECT_EQ(d[0], 0xFF);
        EXPECT_EQ(d[1], 0xD8);
        // Walk the markers to the frame header.
        uint32_t p = 2;
        bool found = false;
        while (p + 9 < n) {
            ASSERT_EQ(d[p], 0xFF) << "background " << i;
            int marker = d[p + 1];
            uint32_t len = (uint32_t)d[p + 2] << 8 | d[p + 3];
            if (marker >= 0xC0 && marker <= 0xCF && marker != 0xC4 && marker != 0xC8 && marker != 0xCC) {
                EXPECT_EQ(marker, 0xC0) << "background " << i << " is not baseline";
                EXPECT_EQ(d[p + 4], 8);                             // precision
                EXPECT_EQ((d[p + 5] << 8 | d[p + 6]), 640);         // height
                EXPECT_EQ((d[p + 7] << 8 | d[p + 8]), 960);         // width
                EXPECT_EQ(d[p + 9], 3) << "background " << i;       // components
                found = true;
                break;
            }
            p += 2 + len;
        }
        EXPECT_TRUE(found) << "background " << i;
    }
}

// The message line is drawn in gold over the top of the play area (canvas y 80, which is
// background y 20, centred on x 480), and the extra-life notice rises to it: behind it
// every background keeps its top band mid-dark, with no bright strip (snow, white trim)
// for the gold to vanish against.
TEST(Pictures, BackgroundsStayDarkBehindTheMessageLine) {
    const int x0 = 180, x1 = 780, y0 = 18, y1 = 47;
    for (int i = 0; i < GFX_BACKGROUND_COUNT; i++) {
        Decoded bg(gfx_level_backgrounds[i], *gfx_level_background_sizes[i]);
        ASSERT_NE(bg.px, nullptr) << "background " << i;
        ASSERT_EQ(bg.w, 960);
        int bright = 0;
        double brightest_row = 0;
        for (int y = y0; y < y1; y++) {
            double row = 0;
            for (int x = x0; x < x1; x++) {
                const unsigned char *p = bg.at(x, y);
                const double luma = (0.2126 * p[0] + 0.7152 * p[1] + 0.0722 * p[2]) / 255.0;
                row += luma;
                bright += luma > 0.75;
            }
            brightest_row = std::max(brightest_row, row / (x1 - x0));
        }
        EXPECT_LT(brightest_row, 0.55) << "background " << i;
        EXPECT_LT(bright, (x1 - x0) * (y1 - y0) / 100) << "background " << i;
    }
}

TEST(Pictures, EverySpriteHasInkInsideItsOwnCellOnly) {
    Decoded atlas(data_sprite_atlas_png, data_sprite_atlas_png_size);
    ASSERT_NE(atlas.px, nullptr);
    ASSERT_EQ(atlas.w, 2048);
    ASSERT_EQ(atlas.h, 1664);
    std::vector<int> owner(2048 * 1664, -1);
    for (int id = 0; id < GFX_SPRITE_COUNT; id++) {
        const SpriteRect &r = gfx_sprite_rects[id];
        int ink = 0;
        for (int y = r.y; y < r.y + r.h; y++) {
            for (int x = r.x; x < r.x + r.w; x++) {
                EXPECT_EQ(owner[y * 2048 + x], -1) << "cells " << id << " and " << owner[y * 2048 + x] << " overlap";
                owner[y * 2048 + x] = id;
                bool edge = x < r.x + 2 || x >= r.x + r.w - 2 || y < r.y + 2 || y >= r.y + r.h - 2;
                if (edge && atlas.alpha(x, y) != 0) {
                    ADD_FAILURE() << "sprite " << id << " reaches its cell's edge at " << x << "," << y;
                    return;
                }
                ink += atlas.alpha(x, y) > 16;
            }
        }
        EXPECT_GT(ink, r.w * r.h / 40) << "sprite " << id << " is nearly empty";
    }
    // Nothing outside the cells.
    for (int y = 0; y < 1664; y++)
        for (int x = 0; x < 2048; x++)
            if (owner[y * 2048 + x] < 0 && atlas.alpha(x, y) != 0) {
                ADD_FAILURE() << "ink outside every cell at " << x << "," << y;
                return;
            }
}

TEST(Pictures, GlowDiscIsWhiteAndFadesToNothingAtItsEdge) {
    Decoded atlas(data_sprite_atlas_png, data_sprite_atlas_png_size);
    ASSERT_NE(atlas.px, nullptr);
    const SDL_Rect &g = gfx_glow_rect;
    const unsigned char *centre = atlas.at(g.x + 32, g.y + 32);
    EXPECT_GE(centre[3], 220);
    EXPECT_EQ(centre[0], 255);
    EXPECT_EQ(centre[1], 255);
    EXPECT_EQ(centre[2], 255);
    // Alpha falls steadily from the middle outwards, to zero at the rim.
    int last = 256;
    for (int x = g.x + 32; x < g.x + 64; x++) {
        int a = atlas.alpha(x, g.y + 32);
        EXPECT_LE(a, last);
        last = a;
    }
    EXPECT_EQ(atlas.alpha(g.x + 63, g.y + 32), 0);
    EXPECT_EQ(atlas.alpha(g.x, g.y), 0);
}

// The side views face right and hold the basket where the painter catches eggs: at about
// 0.70 of the cell's width and 0.98 - 0.7333 f of its height for frame fraction f.
TEST(Pictures, SideViewsHoldTheBasketAtTheCatchPoint) {
    Decoded atlas(data_sprite_atlas_png, data_sprite_atlas_png_size);
    ASSERT_NE(atlas.px, nullptr);
    static const double fractions[6] = {0.15, 0.32, 0.48, 0.64, 0.80, 0.98};
    for (int k = 0; k < 12; k++) {
        const SpriteRect &r = gfx_sprite_rects[k];
        int cx = r.x + (int)(0.70 * r.w);
        int cy = r.y + (int)((0.98 - 0.7333 * fractions[k % 6]) * r.h);
        // The basket's body is opaque around the point.
        int solid = 0, total = 0;
        for (int y = cy - 10; y <= cy + 10; y++)
            for (int x = cx - 10; x <= cx + 10; x++) {
                total++;
                solid += atlas.alpha(x, y) == 255;
            }
        EXPECT_GT(solid, total * 3 / 4) << "frame " << k;
        // Above the opening, where the egg arrives, nothing of the hero is in the way.
        int above = 0;
        for (int y = cy - 58; y <= cy - 40; y++)
            for (int x = cx - 8; x <= cx + 8; x++) above += atlas.alpha(x, y) > 0;
        EXPECT_EQ(above, 0) << "frame " << k;
    }
}

// A blink changes only the eye: frames 6..11 match 0..5 everywhere else.
TEST(Pictures, BlinkFramesDifferOnlyAroundTheEye) {
    Decoded atlas(data_sprite_atlas_png, data_sprite_atlas_png_size);
    ASSERT_NE(atlas.px, nullptr);
    for (int k = 0; k < 6; k++) {
        const SpriteRect &a = gfx_sprite_rects[k];
        const SpriteRect &b = gfx_sprite_rects[k + 6];
        int differ = 0, minx = a.w, maxx = 0, miny = a.h, maxy = 0;
        for (int y = 0; y < a.h; y++)
            for (int x = 0; x < a.w; x++) {
                const unsigned char *p = atlas.at(a.x + x, a.y + y);
                const unsigned char *q = atlas.at(b.x + x, b.y + y);
                if (std::memcmp(p, q, 4) != 0) {
                    differ++;
                    minx = std::min(minx, x), maxx = std::max(maxx, x);
                    miny = std::min(miny, y), maxy = std::max(maxy, y);
                }
            }
        EXPECT_GT(differ, 0) << "frame " << k << " does not blink";
        EXPECT_LT(maxx - minx, a.w / 8) << "frame " << k;
        EXPECT_LT(maxy - miny, a.h / 8) << "frame " << k;
    }
}

TEST(Pictures, LogoAndPortraitHaveInkOnTransparentGround) {
    for (auto pic : {std::make_pair(data_title_logo_png, data_title_logo_png_size),
                     std::make_pair(data_hero_portrait_png, data_hero_portrait_png_size)}) {
        Decoded d(pic.first, pic.second);
        ASSERT_NE(d.px, nullptr);
        int ink = 0;
        for (int y = 0; y < d.h; y++)
            for (int x = 0; x < d.w; x++) ink += d.alpha(x, y) > 128;
        EXPECT_GT(ink, d.w * d.h / 4);
        EXPECT_EQ(d.alpha(0, 0), 0);
        EXPECT_EQ(d.alpha(d.w - 1, 0), 0);
    }
}

}  // namespace
