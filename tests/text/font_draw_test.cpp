// Kestrune: measuring and drawing with the bitmap font, on a software renderer.
#include <gtest/gtest.h>

#include <cstdlib>
#include <string>

#include "test_canvas.h"

namespace {
const PackedColour WHITE = 0xFFFFFFFF;
}

TEST(FontWidth, SumsPenStepsPlusTheLastCell) {
    EXPECT_EQ(gfx_font_width("", FONT_SMALL), 5);
    EXPECT_EQ(gfx_font_width("", FONT_LARGE), 5);
    EXPECT_EQ(gfx_font_width("0", FONT_LARGE), 29);
    EXPECT_EQ(gfx_font_width("00", FONT_LARGE), 53);
    EXPECT_EQ(gfx_font_width("00", FONT_SMALL), 31);
    EXPECT_EQ(gfx_font_width("1234567890", FONT_SMALL), gfx_font_width("8888888888", FONT_SMALL));
    // Every size value but 0 is the large size.
    EXPECT_EQ(gfx_font_width("0", 2), 29);
    EXPECT_EQ(gfx_font_width("0", -1), 29);
}

TEST(FontWidth, DecodesUtf8OfUpToThreeBytesAndCountsEveryBadByteAsQuestionMark) {
    const int q = gfx_font_width("?", FONT_LARGE) - 5;  // one "?" pen step
    EXPECT_EQ(q, 20);
    EXPECT_EQ(gfx_font_width("\xC3\xA9", FONT_LARGE), gfx_font_width("\xC3\xA9", FONT_LARGE));
    EXPECT_NE(gfx_font_width("\xC3\xA9", FONT_LARGE), 5 + 2 * q);  // one glyph, U+00E9
    EXPECT_EQ(gfx_font_width("\xE9", FONT_LARGE), 5 + q);             // a lone lead byte
    EXPECT_EQ(gfx_font_width("\xE2\x82\xAC", FONT_LARGE), 5 + q);     // U+20AC is not in the font
    EXPECT_EQ(gfx_font_width("\xF0\x9F\x98\x80", FONT_LARGE), 5 + 4 * q);  // four-byte: four "?"
    EXPECT_EQ(gfx_font_width("\xE2\x82", FONT_LARGE), 5 + 2 * q);     // cut off by the end
    EXPECT_EQ(gfx_font_width("\xC3", FONT_LARGE), 5 + q);
    EXPECT_EQ(gfx_font_width("\x80\xBF", FONT_LARGE), 5 + 2 * q);     // stray continuation bytes
    EXPECT_EQ(gfx_font_width("\xC0\x80", FONT_LARGE), 5 + q);         // overlong NUL: U+0000, not in the font
    // The Cyrillic and Vietnamese blocks are in the font.
    EXPECT_EQ(gfx_font_width("\xD0\x96", FONT_LARGE), 47);  // U+0416
    EXPECT_NE(gfx_font_width("\xE1\xBB\x87", FONT_LARGE), 5 + q);  // U+1EC7
}

TEST(FontWidth, RandomBytesNeverReadPastTheEnd) {
    srand(7);
    for (int n = 0; n < 3000; n++) {
        int len = 1 + rand() % 12;
        char *buf = (char *)malloc((size_t)len + 1);  // exact size, so a stray read shows under ASan
        for (int i = 0; i < len; i++) buf[i] = (char)(1 + rand() % 255);
        buf[len] = 0;
        int w = gfx_font_width(buf, n & 1);
        EXPECT_GE(w, 5 + len / 3 * 1);
        EXPECT_LE(w, 5 + len * 53);
        canvas_clear();
        gfx_font_draw(buf, n & 1, ALIGN_LEFT, WHITE, 10, 10, 1.0f);
        free(buf);
    }
}

TEST(FontDraw, ReturnsTheScaledWidthAndSetsTheTint) {
    canvas_clear();
    EXPECT_EQ(gfx_font_draw("", FONT_SMALL, ALIGN_LEFT, 0x80402010, 100, 100, 1.45f), 7);
    EXPECT_TRUE(canvas_ink(0, 0, 1000, 736).empty());
    Uint8 r, g, b, a;
    SDL_GetTextureColorMod(gfx_font_small, &r, &g, &b);
    SDL_GetTextureAlphaMod(gfx_font_small, &a);
    EXPECT_EQ(r, 0x10);
    EXPECT_EQ(g, 0x20);
    EXPECT_EQ(b, 0x40);
    EXPECT_EQ(a, 0x80);
    EXPECT_EQ(gfx_font_draw("1234", FONT_SMALL, ALIGN_LEFT, WHITE, 20, 20, 1.45f),
              (int)(gfx_font_width("1234", FONT_SMALL) * 1.45f));
    EXPECT_EQ(gfx_font_draw_at("00", 20, 20, FONT_LARGE, ALIGN_CENTRE, WHITE), 53);
}

// The same text drawn left-aligned at x, right-aligned at x + width and centred at
// x + width / 2 gives the same pixels; the last cell ends at the right anchor.
TEST(FontDraw, AnchorsPlaceTheTextExactly) {
    const char *text = "Score 1290";
    int w = gfx_font_width(text, FONT_LARGE);
    ASSERT_EQ(w % 2, 0);
    canvas_clear();
    gfx_font_draw_at(text, 100, 100, FONT_LARGE, ALIGN_LEFT, WHITE);
    gfx_font_draw_at(text, 100 + w, 200, FONT_LARGE, ALIGN_RIGHT, WHITE);
    gfx_font_draw_at(text, 100 + w / 2, 300, FONT_LARGE, ALIGN_CENTRE, WHITE);
    gfx_font_draw_at(text, 100, 400, FONT_LARGE, 7, WHITE);  // an unknown alignment is left
    EXPECT_TRUE(canvas_same(90, 100, 90, 200, w + 20, 47));
    EXPECT_TRUE(canvas_same(90, 100, 90, 300, w + 20, 47));
    EXPECT_TRUE(canvas_same(90, 100, 90, 400, w + 20, 47));
    InkBox ink = canvas_ink(0, 95, 1000, 60);
    ASSERT_FALSE(ink.empty());
    EXPECT_GE(ink.left, 100);
    EXPECT_LE(ink.left, 100 + 6);
    EXPECT_LT(ink.right, 100 + w);
    EXPECT_GE(ink.right, 100 + w - 6);
    // The top of the cells is y: ink begins just below it and stays in the 47-pixel cell.
    EXPECT_GE(ink.top, 100);
    EXPECT_LE(ink.bottom, 100 + 47);

    canvas_clear();
    int drawn = gfx_font_draw_at("12", 980, 500, FONT_SMALL, ALIGN_RIGHT, WHITE);
    InkBox r = canvas_ink(900, 490, 100, 50);
    EXPECT_EQ(drawn, 31);
    EXPECT_LT(r.right, 980);
    EXPECT_GE(r.right, 980 - 5);
}

TEST(FontDraw, WhatTheFontLacksIsAQuestionMark) {
    canvas_clear();
    gfx_font_draw_at("?", 100, 100, FONT_LARGE, ALIGN_LEFT, WHITE);
    gfx_font_draw_at("\xE2\x82\xAC", 100, 200, FONT_LARGE, ALIGN_LEFT, WHITE);  // U+20AC
    gfx_font_draw_at("\xCE\x8B", 100, 300, FONT_LARGE, ALIGN_LEFT, WHITE);      // U+038B, unassigned
    gfx_font_draw_at("\xE9", 100, 400, FONT_LARGE, ALIGN_LEFT, WHITE);          // bad UTF-8
    EXPECT_FALSE(canvas_ink(90, 100, 60, 47).empty());
    EXPECT_TRUE(canvas_same(90, 100, 90, 200, 60, 47));
    EXPECT_TRUE(canvas_same(90, 100, 90, 300, 60, 47));
    EXPECT_TRUE(canvas_same(90, 100, 90, 400, 60, 47));
    // Four bytes make four question marks.
    canvas_clear();
    gfx_font_draw_at("????", 100, 100, FONT_SMALL, ALIGN_LEFT, WHITE);
    gfx_font_draw_at("\xF0\x9F\x98\x80", 100, 200, FONT_SMALL, ALIGN_LEFT, WHITE);
    EXPECT_TRUE(canvas_same(90, 100, 90, 200, 120, 28));
}

TEST(FontDraw, TintsTheLettersAndKeepsTheOutlineDark) {
    canvas_clear();
    gfx_font_draw("H", FONT_LARGE, ALIGN_LEFT, 0xFF0000FF, 100, 100, 2.0f);  // red
    bool red = false, dark_edge = false;
    for (int y = 100; y < 194; y++)
        for (int x = 100; x < 200; x++) {
            uint32_t p = canvas_pixel(x, y);
            int r = (p >> 16) & 0xFF, g = (p >> 8) & 0xFF, b = p & 0xFF;
            if (r > 240 && g < 10 && b < 10) red = true;
        }
    // Walking in from the left on the middle row, the first ink is dark, then red.
    int mid = 100 + 94 / 2 + 10;
    for (int x = 100; x < 200; x++) {
        uint32_t p = canvas_pixel(x, mid) & 0xFFFFFF;
        if (p == 0) continue;
        if (((p >> 16) & 0xFF) < 40) dark_edge = true;
        break;
    }
    EXPECT_TRUE(red);
    EXPECT_TRUE(dark_edge);
}

TEST(FontDraw, MissingTextureDrawsNothingButMeasures) {
    canvas_open();
    SDL_Texture *saved = gfx_font_small;
    gfx_font_small = nullptr;
    canvas_clear();
    EXPECT_EQ(gfx_font_draw_at("123", 100, 100, FONT_SMALL, ALIGN_LEFT, WHITE), gfx_font_width("123", FONT_SMALL));
    EXPECT_TRUE(canvas_ink(0, 0, 1000, 736).empty());
    gfx_font_small = saved;
}
