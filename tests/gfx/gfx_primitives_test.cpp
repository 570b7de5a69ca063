// Kestrune graphics tests: the drawing primitives, on a made-up atlas whose cells hold
// plain colours, so every pixel drawn is known.
#include <gtest/gtest.h>

#include "gfx_test_support.h"

using gfxtest::near;
using gfxtest::pixel;

namespace {

const Rgba BLACK = {0, 0, 0, 255};
const Rgba RED = {255, 0, 0, 255};
const Rgba BLUE = {0, 0, 255, 255};

class Primitives : public ::testing::Test {
  protected:
    void SetUp() override {
        gfxtest::ensure_renderer();
        saved_atlas = gfx_atlas;
        saved_additive = gfx_atlas_additive;
        saved_logo = gfx_title_logo;
        saved_portrait = gfx_hero_portrait;
        // Sprite 13: left half red, right half blue. Sprite 31: top half red, bottom
        // half transparent. The glow cell: opaque white.
        std::vector<unsigned char> px(2048 * 1664 * 4, 0);
        auto put = [&](int x, int y, int r, int g, int b, int a) {
            unsigned char *p = &px[(y * 2048 + x) * 4];
            p[0] = (unsigned char)r, p[1] = (unsigned char)g, p[2] = (unsigned char)b, p[3] = (unsigned char)a;
        };
        const SpriteRect &s13 = gfx_sprite_rects[13];
        for (int y = 0; y < s13.h; y++)
            for (int x = 0; x < s13.w; x++)
                x < s13.w / 2 ? put(s13.x + x, s13.y + y, 255, 0, 0, 255) : put(s13.x + x, s13.y + y, 0, 0, 255, 255);
        const SpriteRect &s31 = gfx_sprite_rects[31];
        for (int y = 0; y < s31.h / 2; y++)
            for (int x = 0; x < s31.w; x++) put(s31.x + x, s31.y + y, 255, 0, 0, 255);
        for (int y = 0; y < 64; y++)
            for (int x = 0; x < 64; x++) put(1792 + x, 1536 + y, 255, 255, 255, 255);
        gfx_atlas = gfxtest::texture_from(px, 2048, 1664, SDL_BLENDMODE_BLEND);
        gfx_atlas_additive = gfxtest::texture_from(px, 2048, 1664, SDL_BLENDMODE_ADD);
        saved_glow_origin = gfx_glow_origin;
        gfx_glow_origin = SDL_Point{0, 0};  // a glow texture of the whole atlas
        gfxtest::clear(0, 0, 0);
    }
    void TearDown() override {
        SDL_DestroyTexture(gfx_atlas);
        SDL_DestroyTexture(gfx_atlas_additive);
        gfx_atlas = saved_atlas;
        gfx_atlas_additive = saved_additive;
        gfx_glow_origin = saved_glow_origin;
        gfx_title_logo = saved_logo;
        gfx_hero_portrait = saved_portrait;
    }
    SDL_Texture *saved_atlas, *saved_additive, *saved_logo, *saved_portrait;
    SDL_Point saved_glow_origin;
};

TEST_F(Primitives, SpriteFillsTheSquareCentredOnItsPoint) {
    gfx_draw_sprite(13, 0, 255, 500.0f, 300.0f, 100.0f);  // covers x 450..549, y 250..349
    EXPECT_TRUE(near(pixel(455, 300), RED, 0)) << pixel(455, 300);
    EXPECT_TRUE(near(pixel(545, 300), BLUE, 0)) << pixel(545, 300);
    EXPECT_TRUE(near(pixel(480, 252), RED, 0));
    EXPECT_TRUE(near(pixel(480, 347), RED, 0));
    EXPECT_TRUE(near(pixel(448, 300), BLACK, 0));
    EXPECT_TRUE(near(pixel(551, 300), BLACK, 0));
    EXPECT_TRUE(near(pixel(500, 248), BLACK, 0));
    EXPECT_TRUE(near(pixel(500, 351), BLACK, 0));
    // The source cell is 384 wide; the destination's size is the size asked for only.
    gfxtest::clear(0, 0, 0);
    gfx_draw_sprite(31, 0, 255, 100.0f, 100.0f, 40.0f);  // a 128 cell into 40 x 40
    EXPECT_TRUE(near(pixel(100, 85), RED, 0));
    EXPECT_TRUE(near(pixel(100, 115), BLACK, 0));
    EXPECT_TRUE(near(pixel(78, 85), BLACK, 0));
}

TEST_F(Primitives, MirroredSpriteIsTheMirrorImageOnTheSameCentre) {
    gfx_draw_sprite(13, 0, 255, 920.0f, 606.0f, 130.0f);
    std::vector<Rgba> plain, mirrored;
    for (int x = 850; x < 990; x++) plain.push_back(pixel(x, 606));
    gfxtest::clear(0, 0, 0);
    gfx_draw_sprite(13, 1, 255, 920.0f, 606.0f, 130.0f);
    for (int x = 850; x < 990; x++) mirrored.push_back(pixel(x, 606));
    // The square spans x 855..984, so x maps to 1839 - x.
    for (int x = 850; x < 990; x++) {
        if (x > 915 && x < 925) continue;  // the colours' seam, filtered
        int m = 1839 - x;
        if (m < 850 || m >= 990) continue;
        EXPECT_TRUE(near(mirrored[x - 850], plain[m - 850], 2)) << "x " << x;
    }
    EXPECT_TRUE(near(pixel(860, 606), BLUE, 0));
    EXPECT_TRUE(near(pixel(980, 606), RED, 0));
    EXPECT_TRUE(near(pixel(853, 606), BLACK, 0));
    EXPECT_TRUE(near(pixel(986, 606), BLACK, 0));
}

TEST_F(Primitives, PositiveAngleTurnsClockwise) {
    // Sprite 31's red top half turned 90 degrees clockwise lies on the right.
    gfx_draw_sprite_rotated(31, 255, 300.0f, 300.0f, 100.0f, 90.0f);
    EXPECT_TRUE(near(pixel(330, 300), RED, 0)) << pixel(330, 300);
    EXPECT_TRUE(near(pixel(270, 300), BLACK, 0)) << pixel(270, 300);
    gfxtest::clear(0, 0, 0);
    gfx_draw_sprite_rotated(31, 255, 300.0f, 300.0f, 100.0f, -90.0f);
    EXPECT_TRUE(near(pixel(270, 300), RED, 0));
    EXPECT_TRUE(near(pixel(330, 300), BLACK, 0));
    gfxtest::clear(0, 0, 0);
    gfx_draw_sprite_rotated(31, 255, 300.0f, 300.0f, 100.0f, 180.0f);
    EXPECT_TRUE(near(pixel(300, 330), RED, 0));
    EXPECT_TRUE(near(pixel(300, 270), BLACK, 0));
}

TEST_F(Primitives, AlphaZeroIsInvisibleAndFullAlphaOpaque) {
    gfx_draw_sprite(13, 0, 0, 200.0f, 200.0f, 80.0f);
    EXPECT_TRUE(near(pixel(180, 200), BLACK, 0));
    gfx_draw_sprite_rotated(13, 0, 200.0f, 200.0f, 80.0f, 30.0f);
    EXPECT_TRUE(near(pixel(200, 200), BLACK, 0));
    gfx_draw_sprite(13, 0, 255, 200.0f, 200.0f, 80.0f);
    EXPECT_TRUE(near(pixel(180, 200), RED, 0));
    // Only the low 8 bits of an alpha argument count: 256 is 0.
    gfxtest::clear(0, 0, 0);
    gfx_draw_sprite(13, 0, 256, 200.0f, 200.0f, 80.0f);
    EXPECT_TRUE(near(pixel(180, 200), BLACK, 0));
    gfx_draw_sprite(13, 0, 128, 200.0f, 200.0f, 80.0f);
    EXPECT_TRUE(near(pixel(180, 200), Rgba{128, 0, 0, 255}, 2)) << pixel(180, 200);
}

TEST_F(Primitives, TintIsResetSoLaterSpritesAreUntinted) {
    // Tinted red-only: the blue half goes black.
    gfx_draw_sprite_tinted(13, 0xFF0000FFu, 200.0f, 200.0f, 80.0f);
    EXPECT_TRUE(near(pixel(180, 200), RED, 0));
    EXPECT_TRUE(near(pixel(220, 200), BLACK, 0));
    Uint8 r, g, b, a;
    SDL_GetTextureColorMod(gfx_atlas, &r, &g, &b);
    EXPECT_EQ(r + g + b, 3 * 255);
    SDL_GetTextureAlphaMod(gfx_atlas, &a);
    EXPECT_EQ(a, 255);
    // The rotated sprite that follows shows its blue, faded by its own alpha.
    gfx_draw_sprite_rotated(13, 128, 600.0f, 200.0f, 80.0f, 0.0f);
    EXPECT_TRUE(near(pixel(620, 200), Rgba{0, 0, 128, 255}, 2)) << pixel(620, 200);
    // A tint with alpha leaves that alpha on the atlas.
    gfx_draw_sprite_tinted(13, 0x40FFFFFFu, 200.0f, 500.0f, 80.0f);
    SDL_GetTextureAlphaMod(gfx_atlas, &a);
    EXPECT_EQ(a, 0x40);
    EXPECT_TRUE(near(pixel(220, 500), Rgba{0, 0, 64, 255}, 2)) << pixel(220, 500);
}

TEST_F(Primitives, GlowAddsItsColourTimesAlpha) {
    gfxtest::clear(50, 50, 50);
    gfx_draw_glow(0xFF0000C8u, 300.0f, 300.0f, 40.0f);  // red 200, alpha 255
    EXPECT_TRUE(near(pixel(300, 300), Rgba{250, 50, 50, 255}, 1)) << pixel(300, 300);
    gfx_draw_glow(0x80C80000u, 400.0f, 300.0f, 40.0f);  // blue 200, alpha 128
    EXPECT_TRUE(near(pixel(400, 300), Rgba{50, 50, 150, 255}, 2)) << pixel(400, 300);
    EXPECT_TRUE(near(pixel(300, 340), Rgba{50, 50, 50, 255}, 0));  // outside the square
    // The glow's tint stays on its own texture; a plain sprite after it is untinted.
    gfx_draw_sprite(13, 0, 255, 600.0f, 300.0f, 80.0f);
    EXPECT_TRUE(near(pixel(580, 300), RED, 0));
    EXPECT_TRUE(near(pixel(620, 300), BLUE, 0));
    Uint8 r, g, b;
    SDL_GetTextureColorMod(gfx_atlas_additive, &r, &g, &b);
    EXPECT_EQ(b, 200);  // not reset
}

TEST_F(Primitives, ThickLineCoversItsWidthWithFlatEnds) {
    gfx_draw_thick_line(0xFF00FF00u, 0.0f, 10.0f, 100.0f, 10.0f, 6.0f);
    const Rgba GREEN = {0, 255, 0, 255};
    for (int y = 7; y <= 12; y++) EXPECT_TRUE(near(pixel(50, y), GREEN, 0)) << "row " << y;
    EXPECT_TRUE(near(pixel(50, 6), BLACK, 0));
    EXPECT_TRUE(near(pixel(50, 13), BLACK, 0));
    EXPECT_TRUE(near(pixel(0, 10), GREEN, 0));
    EXPECT_TRUE(near(pixel(99, 10), GREEN, 0));
    EXPECT_TRUE(near(pixel(101, 10), BLACK, 0));  // no cap past the end
    // A vertical line the same way round, and a half-transparent one blends.
    gfx_draw_thick_line(0x80FFFFFFu, 300.0f, 100.0f, 300.0f, 200.0f, 10.0f);
    EXPECT_TRUE(near(pixel(296, 150), Rgba{128, 128, 128, 255}, 2)) << pixel(296, 150);
    EXPECT_TRUE(near(pixel(306, 150), BLACK, 0));
}

TEST_F(Primitives, ZeroLengthLineDrawsNothing) {
    gfx_draw_thick_line(0xFFFFFFFFu, 400.0f, 400.0f, 400.0f, 400.0f, 20.0f);
    for (int y = 385; y <= 415; y += 3)
        for (int x = 385; x <= 415; x += 3) ASSERT_TRUE(near(pixel(x, y), BLACK, 0)) << x << "," << y;
}

TEST_F(Primitives, BannerIsAFullWidthPanelWithEdgesInside) {
    gfx_draw_banner(100, 40);
    // Panel (26, 44, 20) at alpha 210 over black; edges (230, 190, 110) at alpha 220 over it.
    Rgba panel = {26 * 210 / 255, 44 * 210 / 255, 20 * 210 / 255, 255};
    Rgba edge = {(230 * 220 + panel.r * 35) / 255, (190 * 220 + panel.g * 35) / 255,
                 (110 * 220 + panel.b * 35) / 255, 255};
    for (int x : {0, 500, 999}) {
        EXPECT_TRUE(near(pixel(x, 99), BLACK, 0));
        EXPECT_TRUE(near(pixel(x, 100), edge, 2)) << pixel(x, 100);
        EXPECT_TRUE(near(pixel(x, 101), edge, 2));
        EXPECT_TRUE(near(pixel(x, 102), panel, 2)) << pixel(x, 102);
        EXPECT_TRUE(near(pixel(x, 137), panel, 2));
        EXPECT_TRUE(near(pixel(x, 138), edge, 2));
        EXPECT_TRUE(near(pixel(x, 139), edge, 2));
        EXPECT_TRUE(near(pixel(x, 140), BLACK, 0));
    }
    SDL_BlendMode mode;
    SDL_GetRenderDrawBlendMode(gfx_renderer, &mode);
    EXPECT_EQ(mode, SDL_BLENDMODE_BLEND);
    // Two rows high: both edges fall on the same two rows, over the panel.
    gfxtest::clear(0, 0, 0);
    gfx_draw_banner(300, 2);
    Rgba twice = {(230 * 220 + edge.r * 35) / 255, (190 * 220 + edge.g * 35) / 255, (110 * 220 + edge.b * 35) / 255,
                  255};
    EXPECT_TRUE(near(pixel(10, 300), twice, 2)) << pixel(10, 300);
    EXPECT_TRUE(near(pixel(10, 301), twice, 2));
    EXPECT_TRUE(near(pixel(10, 302), BLACK, 0));
    EXPECT_TRUE(near(pixel(10, 299), BLACK, 0));
}

TEST_F(Primitives, FillRectBlendsAndLeavesBlendMode) {
    gfxtest::clear(0, 0, 200);
    gfx_fill_rect(10, 20, 30, 40, 0x80FF0000u);  // blue 255 at alpha 128... over blue
    EXPECT_TRUE(near(pixel(10, 20), Rgba{0, 0, (255 * 128 + 200 * 127) / 255, 255}, 2)) << pixel(10, 20);
    gfx_fill_rect(100, 100, 10, 10, 0xFF00FF00u);
    EXPECT_TRUE(near(pixel(109, 109), Rgba{0, 255, 0, 255}, 0));
    EXPECT_TRUE(near(pixel(110, 109), Rgba{0, 0, 200, 255}, 0));
    SDL_BlendMode mode;
    SDL_GetRenderDrawBlendMode(gfx_renderer, &mode);
    EXPECT_EQ(mode, SDL_BLENDMODE_BLEND);
    Uint8 r, g, b, a;
    SDL_GetRenderDrawColor(gfx_renderer, &r, &g, &b, &a);
    EXPECT_EQ(g, 255);
    EXPECT_EQ(a, 255);
}

TEST_F(Primitives, LogoAndPortraitKeepTheirAspectWithIntegerTruncation) {
    // Opaque stand-ins of the real pictures' sizes.
    SDL_Texture *logo = gfxtest::texture_from(std::vector<unsigned char>(1023 * 360 * 4, 255), 1023, 360,
                                              SDL_BLENDMODE_BLEND);
    SDL_Texture *portrait = gfxtest::texture_from(std::vector<unsigned char>(254 * 300 * 4, 255), 254, 300,
                                                  SDL_BLENDMODE_BLEND);
    gfx_title_logo = logo;
    gfx_hero_portrait = portrait;
    const Rgba WHITE = {255, 255, 255, 255};
    // 1023 x 360 at height 210: 596 wide from x 202.
    gfx_draw_title_logo(500, 12, 210);
    EXPECT_TRUE(near(pixel(202, 100), WHITE, 0));
    EXPECT_TRUE(near(pixel(201, 100), BLACK, 0));
    EXPECT_TRUE(near(pixel(797, 100), WHITE, 0));
    EXPECT_TRUE(near(pixel(798, 100), BLACK, 0));
    EXPECT_TRUE(near(pixel(500, 12), WHITE, 0));
    EXPECT_TRUE(near(pixel(500, 11), BLACK, 0));
    EXPECT_TRUE(near(pixel(500, 221), WHITE, 0));
    EXPECT_TRUE(near(pixel(500, 222), BLACK, 0));
    // 254 x 300 at height 160: 135 wide (135.47 truncated), from 300 - 67.
    gfxtest::clear(0, 0, 0);
    gfx_draw_hero_portrait(300, 22, 160);
    EXPECT_TRUE(near(pixel(233, 100), WHITE, 0));
    EXPECT_TRUE(near(pixel(232, 100), BLACK, 0));
    EXPECT_TRUE(near(pixel(367, 100), WHITE, 0));
    EXPECT_TRUE(near(pixel(368, 100), BLACK, 0));
    EXPECT_TRUE(near(pixel(300, 181), WHITE, 0));
    EXPECT_TRUE(near(pixel(300, 182), BLACK, 0));
    SDL_DestroyTexture(logo);
    SDL_DestroyTexture(portrait);
}

TEST_F(Primitives, MissingTexturesDrawNothingAndNeverFail) {
    SDL_Texture *atlas = gfx_atlas, *additive = gfx_atlas_additive, *white = gfx_white_texture;
    gfx_atlas = nullptr;
    gfx_atlas_additive = nullptr;
    gfx_white_texture = nullptr;
    gfx_title_logo = nullptr;
    gfx_hero_portrait = nullptr;
    gfx_draw_glow(0xFFFFFFFFu, 100.0f, 100.0f, 80.0f);
    gfx_draw_sprite(13, 0, 255, 100.0f, 100.0f, 80.0f);
    gfx_draw_sprite(13, 1, 255, 100.0f, 100.0f, 80.0f);
    gfx_draw_sprite_tinted(13, 0xFFFFFFFFu, 100.0f, 100.0f, 80.0f);
    gfx_draw_sprite_rotated(13, 255, 100.0f, 100.0f, 80.0f, 45.0f);
    gfx_draw_thick_line(0xFFFFFFFFu, 0.0f, 100.0f, 200.0f, 100.0f, 10.0f);
    gfx_draw_title_logo(100, 50, 100);
    gfx_draw_hero_portrait(100, 50, 100);
    for (int y = 50; y < 150; y += 7)
        for (int x = 50; x < 150; x += 7) ASSERT_TRUE(near(pixel(x, y), BLACK, 0)) << x << "," << y;
    gfx_atlas = atlas;
    gfx_atlas_additive = additive;
    gfx_white_texture = white;
}

TEST_F(Primitives, SpriteIdsOutsideTheTableDrawNothing) {
    gfx_draw_sprite(-1, 0, 255, 100.0f, 100.0f, 80.0f);
    gfx_draw_sprite(41, 0, 255, 100.0f, 100.0f, 80.0f);
    gfx_draw_sprite_tinted(1000, 0xFFFFFFFFu, 100.0f, 100.0f, 80.0f);
    gfx_draw_sprite_rotated(-7, 255, 100.0f, 100.0f, 80.0f, 10.0f);
    EXPECT_TRUE(near(pixel(100, 100), BLACK, 0));
}

TEST_F(Primitives, SnowFallsInWhiteFlakesScaledByAlpha) {
    gfx_draw_snow(0, 0);
    int lit = 0;
    for (int y = 0; y < 736; y += 2)
        for (int x = 0; x < 1000; x += 2) lit += pixel(x, y).r > 0;
    EXPECT_EQ(lit, 0);
    gfx_draw_snow(300, 255);
    lit = 0;
    for (int y = 0; y < 736; y++)
        for (int x = 0; x < 1000; x++) {
            Rgba p = pixel(x, y);
            if (p.r > 0) {
                lit++;
                EXPECT_TRUE(p.r == p.g && p.g == p.b);  // grey-white only
            }
        }
    EXPECT_GT(lit, 140);       // 140 flakes of 1.5 to 3.5 pixels, a few off the canvas
    EXPECT_LT(lit, 140 * 17);  // none bigger than 4 x 4
}

}  // namespace
