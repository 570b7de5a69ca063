// Kestrune: drawing pre-rendered strings and title pictures on a software renderer.
// The expected pictures are made by copying the atlas pieces by hand to where the
// tables say they belong.
#include <gtest/gtest.h>
#include <stb_image.h>

#include <cmath>
#include <cstring>
#include <string>

#include "test_canvas.h"
#include "text/text.h"

namespace {

const int EN = 5, DE = 6, EL = 17, HE = 20;
const PackedColour WHITE = 0xFFFFFFFF;

class TextDraw : public testing::Test {
protected:
    void SetUp() override {
        canvas_clear();
        lang_set(EN);
    }
    void TearDown() override {
        for (SDL_Texture *t : atlases)
            if (t) SDL_DestroyTexture(t);
    }
    // Copies a piece of a language's atlas to where text_draw_items puts it: left edge of
    // its box px, line baseline baseline_y, atlas-to-canvas factor f.
    void copy_piece(int lang, int piece, float px, float baseline_y, float f, PackedColour colour = WHITE) {
        const LanguageRecord &r = lang_records[lang];
        if (!atlases[lang]) atlases[lang] = gfx_load_embedded_texture(r.atlas_png, (int)r.atlas_size);
        SDL_Texture *t = atlases[lang];
        const AtlasPiece &p = r.pieces[piece];
        SDL_SetTextureColorMod(t, colour & 0xFF, (colour >> 8) & 0xFF, (colour >> 16) & 0xFF);
        SDL_SetTextureAlphaMod(t, colour >> 24);
        SDL_Rect src = {p.x, p.y, p.w, p.h};
        SDL_FRect dst = {px - 8 * f, baseline_y - p.baseline * f, p.w * f, p.h * f};
        SDL_RenderCopyF(gfx_renderer, t, &src, &dst);
    }
    const int16_t *run(int lang, int slot, int form) {
        const LanguageRecord &r = lang_records[lang];
        return r.runs + r.run_offsets[2 * slot + form];
    }
    float piece_width(int lang, int piece) { return (lang_records[lang].pieces[piece].w - 16) * 0.5f; }
    SDL_Texture *atlases[LANG_COUNT] = {};
};

}  // namespace

TEST_F(TextDraw, SlotsOutsideTheTableDrawNothing) {
    EXPECT_EQ(text_draw(33, 500, 300, FONT_SMALL, ALIGN_CENTRE, WHITE), 0);
    EXPECT_EQ(text_draw(-1, 500, 300, FONT_LARGE, ALIGN_CENTRE, WHITE), 0);
    EXPECT_EQ(text_draw_fit(1000, 500, 300, FONT_LARGE, ALIGN_CENTRE, WHITE, 100), 0);
    EXPECT_EQ(text_draw_scaled(33, 500, 300, ALIGN_CENTRE, WHITE, 0, 2.0f), 0);
    EXPECT_EQ(text_draw_str("\x01" "33", 500, 300, FONT_SMALL, ALIGN_CENTRE, WHITE), 0);
    EXPECT_TRUE(canvas_ink(0, 0, 1000, 736).empty());
}

// English "Paused", large, centred at (500, 316): one piece, its box centred on 500,
// the baseline at 316 + 35.
TEST_F(TextDraw, LargePieceIsCentredOnItsAnchorAndBaseline) {
    const int16_t *r = run(EN, STR_PAUSED, 1);
    ASSERT_GT(r[0], 0);
    ASSERT_EQ(r[1], 0);
    int piece = r[0] - 1;
    float w = piece_width(EN, piece);
    EXPECT_EQ(text_draw(STR_PAUSED, 500, 316, FONT_LARGE, ALIGN_CENTRE, WHITE), (int)w);
    copy_piece(EN, piece, 500 - w * 0.5f, 351 + 200, 0.5f);
    EXPECT_TRUE(canvas_same(400, 300, 400, 500, 200, 70));
    InkBox ink = canvas_ink(0, 280, 1000, 120);
    ASSERT_FALSE(ink.empty());
    EXPECT_NEAR((ink.left + ink.right) / 2.0, 500, 2.0);
    EXPECT_GE(ink.top, 351 - 40);
    EXPECT_LE(ink.bottom, 351 - 40 + 58);
}

TEST_F(TextDraw, AlignmentPutsTheLineOnTheAnchor) {
    int w = text_draw(STR_GAME_OVER, 300, 100, FONT_SMALL, ALIGN_LEFT, WHITE);
    text_draw(STR_GAME_OVER, 300 + w, 200, FONT_SMALL, ALIGN_RIGHT, WHITE);
    text_draw(STR_GAME_OVER, 300 + w / 2, 300, FONT_SMALL, 1, WHITE);
    text_draw(STR_GAME_OVER, 300, 400, FONT_SMALL, 9, WHITE);  // unknown: left
    InkBox a = canvas_ink(0, 90, 1000, 50), b = canvas_ink(0, 190, 1000, 50);
    InkBox c = canvas_ink(0, 290, 1000, 50);
    ASSERT_FALSE(a.empty());
    EXPECT_NEAR(a.left, 300, 4);
    EXPECT_NEAR(a.right, 300 + w, 4);
    EXPECT_NEAR(b.left, a.left, 1);
    EXPECT_NEAR(b.right, a.right, 1);
    EXPECT_NEAR(c.left, a.left, 1);
    EXPECT_NEAR(c.right, a.right, 1);
    EXPECT_TRUE(canvas_same(250, 90, 250, 390, w + 100, 50));
}

// A line wider than its maximum is shrunk to it and moved down by half the height lost.
TEST_F(TextDraw, ShrinkToFitScalesAndCentresVertically) {
    TextItem items[16];
    float w, factor;
    text_layout(STR_EGG_KINDS, FONT_SMALL, nullptr, 0, items, &w, &factor);
    ASSERT_GT(w, 940);
    float s = 940 / w;
    EXPECT_EQ(text_draw_fit(STR_EGG_KINDS, 500, 300, FONT_SMALL, ALIGN_CENTRE, WHITE, 940), 940);
    text_draw_items(STR_EGG_KINDS, FONT_SMALL, WHITE, nullptr, 0, 500 + (s * w) * -0.5f,
                    500 + (1 - s) * 18 * 0.5f, s);
    EXPECT_TRUE(canvas_same(0, 280, 0, 480, 1000, 60));
    InkBox ink = canvas_ink(0, 280, 1000, 60);
    EXPECT_GE(ink.left, 500 - 470 - 2);
    EXPECT_LE(ink.right, 500 + 470 + 2);
    // No limit (0) or a wide one leaves it whole.
    EXPECT_EQ(text_draw_fit(STR_EGG_KINDS, 500, 600, FONT_SMALL, ALIGN_CENTRE, WHITE, 0), (int)w);
    EXPECT_EQ(text_draw_fit(STR_EGG_KINDS, 500, 600, FONT_SMALL, ALIGN_CENTRE, WHITE, 5000), (int)w);
    // text_draw's own limit is 968.
    canvas_clear();
    EXPECT_EQ(text_draw(STR_EGG_KINDS, 500, 300, FONT_SMALL, ALIGN_CENTRE, WHITE), w > 968 ? 968 : (int)w);
}

TEST_F(TextDraw, SlotWithoutALargeFormDrawsItsSmallPiecesMagnified) {
    TextItem items[16];
    float small_w, large_w, small_f, large_f;
    int n = text_layout(STR_HUD_SCORE, FONT_SMALL, nullptr, 0, items, &small_w, &small_f);
    ASSERT_EQ(n, 1);
    text_layout(STR_HUD_SCORE, FONT_LARGE, nullptr, 0, items, &large_w, &large_f);
    EXPECT_FLOAT_EQ(small_f, 1.0f);
    EXPECT_FLOAT_EQ(large_f, 17.0f / 9.0f);
    EXPECT_FLOAT_EQ(large_w, small_w * (17.0f / 9.0f));
    text_draw(STR_HUD_SCORE, 100, 100, FONT_LARGE, ALIGN_LEFT, WHITE);
    copy_piece(EN, items[0].piece, 100, 300 + 35, 17.0f / 9.0f * 0.5f);
    EXPECT_TRUE(canvas_same(80, 80, 80, 280, 300, 80));
}

TEST_F(TextDraw, EmptyArgumentsAreEmptyBitmapText) {
    TextItem items[16];
    float w, f;
    int n = text_layout(STR_POINTS, FONT_SMALL, nullptr, 0, items, &w, &f);
    ASSERT_EQ(n, 2);
    ASSERT_NE(items[0].text, nullptr);
    EXPECT_STREQ(items[0].text, "");
    EXPECT_EQ(items[0].width, 1.0f);
    EXPECT_EQ(items[0].piece, -1);
    EXPECT_EQ(items[0].slot, -1);
    const char *null_arg[1] = {nullptr};
    text_layout(STR_POINTS, FONT_LARGE, null_arg, 1, items, &w, &f);
    EXPECT_EQ(items[0].width, -1.0f);
    // A number fills the placeholder in the bitmap font, 3 pixels left of its box.
    const char *args[1] = {"1250"};
    n = text_layout(STR_POINTS, FONT_SMALL, args, 1, items, &w, &f);
    EXPECT_EQ(items[0].width, gfx_font_width("1250", FONT_SMALL) - 4);
    text_draw(STR_POINTS, 100, 100, FONT_SMALL, ALIGN_LEFT, WHITE, "1250");
    gfx_font_draw("1250", FONT_SMALL, ALIGN_LEFT, WHITE, 100 - 3, 300, 1.0f);
    EXPECT_TRUE(canvas_same(90, 100, 90, 300, (int)items[0].width - 4, 28));
}

// The language-key line fills its placeholder with the language's own name piece.
TEST_F(TextDraw, NestedSlotTakesThePlaceOfItsPlaceholder) {
    for (int lang : {EN, HE}) {
        lang_set(lang);
        canvas_clear();
        TextItem items[16], name[16];
        float w, f, name_w;
        const char *args[1] = {lang_slot_arg(STR_LANGUAGE_NAME)};
        int n = text_layout(STR_LANGUAGE_KEY, FONT_SMALL, args, 1, items, &w, &f);
        ASSERT_EQ(text_layout(STR_LANGUAGE_NAME, FONT_SMALL, nullptr, 0, name, &name_w, &f), 1);
        int k = 0;
        while (k < n && items[k].slot < 0) k++;
        ASSERT_LT(k, n);
        EXPECT_EQ(items[k].slot, STR_LANGUAGE_NAME);
        EXPECT_EQ(items[k].text, nullptr);
        EXPECT_EQ(items[k].width, name_w);
        // Where the nested box lies on the line (right to left in Hebrew).
        float before = 0;
        for (int i = 0; i < k; i++) before += items[i].width;
        float x0 = 100;
        float box = lang_records[lang].rtl ? x0 + w - before - name_w : x0 + before;
        EXPECT_EQ(text_draw(STR_LANGUAGE_KEY, 100, 100, FONT_SMALL, ALIGN_LEFT, WHITE, args[0]), (int)w);
        copy_piece(lang, name[0].piece, box, 300 + 20, 0.5f);
        int x = (int)ceilf(box) + 4, width = (int)name_w - 8;
        ASSERT_GT(width, 10);
        EXPECT_TRUE(canvas_same(x, 90, x, 290, width, 40)) << lang_records[lang].code;
    }
    // A slot reference to no slot lays out empty.
    TextItem items[16];
    float w, f;
    const char *bad[1] = {"\x01" "40"};
    int n = text_layout(STR_LANGUAGE_KEY, FONT_SMALL, bad, 1, items, &w, &f);
    float pieces = 0;
    for (int i = 0; i < n; i++)
        if (items[i].piece >= 0) pieces += items[i].width;
    EXPECT_EQ(w, pieces);
}

// Hebrew "LEVEL {1} OF {2}": the run's first item stands at the right end, and the
// numbers read left to right inside their boxes.
TEST_F(TextDraw, RightToLeftPlacesItemsFromTheRightAndNumbersLeftToRight) {
    lang_set(HE);
    ASSERT_EQ(lang_records[HE].rtl, 1u);
    const char *args[2] = {"3", "15"};
    TextItem items[16];
    float w, f;
    int n = text_layout(STR_HUD_LEVEL_OF, FONT_SMALL, args, 2, items, &w, &f);
    ASSERT_GE(n, 3);
    ASSERT_GE(items[0].piece, 0);
    float x0 = 500 - w * 0.5f;
    EXPECT_EQ(text_draw(STR_HUD_LEVEL_OF, 500, 100, FONT_SMALL, ALIGN_CENTRE, WHITE, "3", "15"), (int)w);
    // The first piece by hand, at the right end, on another row.
    copy_piece(HE, items[0].piece, x0 + w - items[0].width, 300 + 20, 0.5f);
    int x = (int)ceilf(x0 + w - items[0].width) + 4;
    EXPECT_TRUE(canvas_same(x, 90, x, 290, (int)items[0].width - 8, 40));
    // "15" drawn left to right where its box is.
    float pen = x0 + w;
    for (int i = 0; i < n; i++) {
        pen -= items[i].width;
        if (items[i].text && strcmp(items[i].text, "15") == 0) {
            gfx_font_draw("15", FONT_SMALL, ALIGN_LEFT, WHITE, pen - 3, 500, 1.0f);
            // Clear of the neighbours' margins, which reach 4 pixels into the box.
            int bx = (int)ceilf(pen) + 5;
            EXPECT_TRUE(canvas_same(bx, 100, bx, 500, 17, 28));
            EXPECT_FALSE(canvas_ink(bx, 100, 17, 28).empty());
        }
    }
    // Mirror check: in English the first item is at the left end.
    lang_set(EN);
    text_layout(STR_HUD_LEVEL_OF, FONT_SMALL, args, 2, items, &w, &f);
    canvas_clear();
    text_draw(STR_HUD_LEVEL_OF, 100, 100, FONT_SMALL, ALIGN_LEFT, WHITE, "3", "15");
    copy_piece(EN, items[0].piece, 100, 300 + 20, 0.5f);
    EXPECT_TRUE(canvas_same(104, 90, 104, 290, (int)items[0].width - 8, 40));
}

TEST_F(TextDraw, LanguageChangeReloadsTheAtlas) {
    text_draw(STR_GAME_OVER, 100, 100, FONT_LARGE, ALIGN_LEFT, WHITE);
    uint64_t english = canvas_hash(0, 80, 1000, 80);
    lang_set(DE);
    const int16_t *r = run(DE, STR_GAME_OVER, 1);
    ASSERT_GT(r[0], 0);
    text_draw(STR_GAME_OVER, 100, 300, FONT_LARGE, ALIGN_LEFT, WHITE);
    copy_piece(DE, r[0] - 1, 100, 500 + 35, 0.5f);
    EXPECT_TRUE(canvas_same(0, 280, 0, 480, 1000, 80));
    EXPECT_NE(canvas_hash(0, 280, 1000, 80), english);
    lang_set(EN);
    canvas_clear();
    text_draw(STR_GAME_OVER, 100, 100, FONT_LARGE, ALIGN_LEFT, WHITE);
    EXPECT_EQ(canvas_hash(0, 80, 1000, 80), english);
}

TEST_F(TextDraw, ColourTintsTheLettersAndSetsTheAlpha) {
    text_draw(STR_PAUSED, 500, 100, FONT_LARGE, ALIGN_CENTRE, 0xFF0000FF);  // red
    text_draw(STR_PAUSED, 500, 300, FONT_LARGE, ALIGN_CENTRE, 0x00FFFFFF);  // invisible
    bool red = false;
    InkBox ink = canvas_ink(0, 80, 1000, 80);
    for (int y = ink.top; y <= ink.bottom; y++)
        for (int x = ink.left; x <= ink.right; x++) {
            uint32_t p = canvas_pixel(x, y);
            EXPECT_LT(p & 0xFFFF, 0x1000u) << "no green or blue";
            if (((p >> 16) & 0xFF) > 240) red = true;
        }
    EXPECT_TRUE(red);
    EXPECT_TRUE(canvas_ink(0, 280, 1000, 80).empty());
}

TEST_F(TextDraw, ScaledDrawingUsesTheSmallFormWithoutArguments) {
    TextItem items[16];
    float w, f;
    text_layout(STR_HIGH_SCORES, FONT_SMALL, nullptr, 0, items, &w, &f);
    EXPECT_EQ(text_draw_scaled(STR_HIGH_SCORES, 100, 100, ALIGN_LEFT, WHITE, 0, 2.0f), (int)(w * 2.0f));
    EXPECT_EQ(text_draw_scaled(STR_HIGH_SCORES, 100, 300, ALIGN_LEFT, WHITE, 50, 2.0f), (int)(w * (50 / w)));
    text_draw_items(STR_HIGH_SCORES, FONT_SMALL, WHITE, nullptr, 0, 100, 500, 2.0f);
    EXPECT_TRUE(canvas_same(80, 90, 80, 490, 400, 80));
}

TEST_F(TextDraw, StringsAreSlotReferencesOrBitmapText) {
    int a = text_draw_str("\x01" "16", 500, 100, FONT_LARGE, ALIGN_CENTRE, WHITE);
    int b = text_draw(STR_PAUSED, 500, 300, FONT_LARGE, ALIGN_CENTRE, WHITE);
    EXPECT_EQ(a, b);
    EXPECT_TRUE(canvas_same(0, 90, 0, 290, 1000, 70));
    EXPECT_EQ(text_draw_str("1234", 100, 500, FONT_SMALL, ALIGN_LEFT, WHITE), gfx_font_width("1234", FONT_SMALL));
    // A slot with a placeholder, named without arguments: the placeholder is empty.
    TextItem items[16];
    float w, f;
    text_layout(STR_POINTS, FONT_SMALL, nullptr, 0, items, &w, &f);
    EXPECT_EQ(text_draw_str("\x01" "14", 100, 600, FONT_SMALL, ALIGN_LEFT, WHITE), (int)w);
}

// Whatever bytes an argument holds, drawing goes on; bad ones are "?".
TEST_F(TextDraw, BadUtf8InArgumentsIsDrawnSafely) {
    const char *bad[] = {"\xFF", "\xC3", "\xE2\x82", "\xF0\x9F\x98\x80", "\x80\x80\x80", "\xED\xA0\x80", "\x01"};
    for (const char *t : bad) {
        int w = text_draw(STR_POINTS, 100, 100, FONT_SMALL, ALIGN_LEFT, WHITE, t);
        EXPECT_GT(w, 0);
        text_draw(STR_HUD_LEVEL_OF, 500, 300, FONT_LARGE, ALIGN_CENTRE, WHITE, t, t);
        text_draw_str(t, 100, 500, FONT_SMALL, ALIGN_LEFT, WHITE);
    }
    EXPECT_EQ(text_draw(STR_POINTS, 100, 100, FONT_SMALL, ALIGN_LEFT, WHITE, "\xE2\x82\xAC"),
              text_draw(STR_POINTS, 100, 100, FONT_SMALL, ALIGN_LEFT, WHITE, "?"));
}

TEST_F(TextDraw, TitlePictureIsMeasuredAndDrawnAtAnyHeight) {
    int w = 0, h = 0, comp = 0;
    const LanguageRecord &en = lang_records[EN];
    ASSERT_TRUE(stbi_info_from_memory(en.title_png, (int)en.title_size, &w, &h, &comp));
    EXPECT_EQ(text_draw_title(-2000, 0, 104), w * 104 / h);
    EXPECT_EQ(text_draw_title(-1000, 0, 736), w * 736 / h);  // below -999: measured only
    EXPECT_TRUE(canvas_ink(0, 0, 1000, 736).empty());
    EXPECT_EQ(text_draw_title(-999, 0, 736), w * 736 / h);  // drawn, reaching onto the canvas
    EXPECT_FALSE(canvas_ink(0, 0, 1000, 736).empty());
    canvas_clear();
    int tw = text_draw_title(200, 300, 104);
    InkBox ink = canvas_ink(0, 0, 1000, 736);
    ASSERT_FALSE(ink.empty());
    EXPECT_GE(ink.left, 200);
    EXPECT_LT(ink.right, 200 + tw);
    EXPECT_GE(ink.top, 300);
    EXPECT_LT(ink.bottom, 300 + 104);
    EXPECT_EQ(text_draw_title(0, 0, 0), 0);
}

TEST_F(TextDraw, LanguageChangeReloadsTheTitle) {
    int en_w = text_draw_title(-2000, 0, 208);
    lang_set(EL);
    int el_w = text_draw_title(-2000, 0, 208);
    int w = 0, h = 0, comp = 0;
    ASSERT_TRUE(stbi_info_from_memory(lang_records[EL].title_png, (int)lang_records[EL].title_size, &w, &h, &comp));
    EXPECT_EQ(el_w, w);
    EXPECT_NE(el_w, en_w);
    lang_set(EN);
    EXPECT_EQ(text_draw_title(-2000, 0, 208), en_w);
}

// The high-score page right-aligns each row's score at x 600 and its level text at x 700:
// the level text, at its widest with level 15, must leave the score digits clear in every
// language.
TEST_F(TextDraw, HighScoreLevelTextLeavesRoomForTheScore) {
    for (int lang = 0; lang < LANG_COUNT; lang++) {
        lang_set(lang);
        const char *args[1] = {lang_int_arg(15)};
        TextItem items[16];
        float width = 0, factor = 0;
        ASSERT_GT(text_layout(STR_HS_LEVEL, FONT_SMALL, args, 1, items, &width, &factor), 0);
        EXPECT_LE(width, 92.0f) << lang_code(lang) << ": \"" << lang_records[lang].strings[STR_HS_LEVEL] << "\"";
        // What the page draws is as wide as what was measured.
        EXPECT_EQ(text_draw(STR_HS_LEVEL, -2000, 0, FONT_SMALL, ALIGN_RIGHT, WHITE, args[0]), (int)width);
    }
}
