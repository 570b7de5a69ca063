// Kestrune graphics tests: gfx_init and the embedded-picture loader.
#include <gtest/gtest.h>

#include <cstring>

#include "gfx_test_support.h"

using gfxtest::pixel;

namespace {

int texture_width(SDL_Texture *t) {
    int w = 0, h = 0;
    SDL_QueryTexture(t, nullptr, nullptr, &w, &h);
    return w;
}

int texture_height(SDL_Texture *t) {
    int w = 0, h = 0;
    SDL_QueryTexture(t, nullptr, nullptr, &w, &h);
    return h;
}

TEST(GfxSetup, InitLoadsThePicturesWithTheirBlendModes) {
    gfxtest::ensure_renderer();
    ASSERT_NE(gfx_renderer, nullptr);
    ASSERT_NE(gfx_atlas, nullptr);
    ASSERT_NE(gfx_atlas_additive, nullptr);
    EXPECT_NE(gfx_atlas, gfx_atlas_additive);  // separate modulation
    EXPECT_EQ(texture_width(gfx_atlas), 2048);
    EXPECT_EQ(texture_height(gfx_atlas), 1664);
    EXPECT_EQ(texture_width(gfx_title_logo), 1023);
    EXPECT_EQ(texture_height(gfx_title_logo), 360);
    EXPECT_EQ(texture_width(gfx_hero_portrait), 254);
    EXPECT_EQ(texture_height(gfx_hero_portrait), 300);
    SDL_BlendMode mode;
    SDL_GetTextureBlendMode(gfx_atlas, &mode);
    EXPECT_EQ(mode, SDL_BLENDMODE_BLEND);
    SDL_GetTextureBlendMode(gfx_atlas_additive, &mode);
    EXPECT_EQ(mode, SDL_BLENDMODE_ADD);
    SDL_GetTextureBlendMode(gfx_title_logo, &mode);
    EXPECT_EQ(mode, SDL_BLENDMODE_BLEND);
    Uint32 format = 0;
    SDL_QueryTexture(gfx_atlas, &format, nullptr, nullptr, nullptr);
    EXPECT_EQ(format, (Uint32)SDL_PIXELFORMAT_ABGR8888);
}

TEST(GfxSetup, WhiteTextureIsTwoByTwoOpaqueWhite) {
    gfxtest::ensure_renderer();
    ASSERT_NE(gfx_white_texture, nullptr);
    EXPECT_EQ(texture_width(gfx_white_texture), 2);
    EXPECT_EQ(texture_height(gfx_white_texture), 2);
    gfxtest::clear(0, 0, 0);
    SDL_Rect dst = {10, 10, 40, 40};
    SDL_RenderCopy(gfx_renderer, gfx_white_texture, nullptr, &dst);
    for (int y = 10; y < 50; y += 13)
        for (int x = 10; x < 50; x += 13) EXPECT_TRUE(gfxtest::near(pixel(x, y), Rgba{255, 255, 255, 255}, 0));
}

TEST(GfxSetup, UndecodablePictureGivesNullAndOneLogLine) {
    gfxtest::ensure_renderer();
    static const unsigned char junk[] = "this is neither a PNG nor a JPEG";
    gfxtest::LogCapture log;
    SDL_Texture *t = gfx_load_embedded_texture(junk, (int)sizeof junk);
    EXPECT_EQ(t, nullptr);
    ASSERT_EQ(log.lines.size(), 1u);
    const char *prefix = "Kunne ikke læse indlejret billede: ";
    EXPECT_EQ(log.lines[0].compare(0, std::strlen(prefix), prefix), 0) << log.lines[0];
    EXPECT_GT(log.lines[0].size(), std::strlen(prefix));  // the decoder's reason follows

    // Empty and truncated pictures fail the same orderly way.
    log.lines.clear();
    EXPECT_EQ(gfx_load_embedded_texture(junk, 0), nullptr);
    std::vector<unsigned char> png = gfxtest::png_bytes(std::vector<unsigned char>(64 * 64 * 4, 200), 64, 64, 4);
    EXPECT_EQ(gfx_load_embedded_texture(png.data(), (int)png.size() / 2), nullptr);
    EXPECT_EQ(gfx_load_embedded_texture(png.data(), -5), nullptr);
    EXPECT_EQ(gfx_load_embedded_texture(nullptr, 100), nullptr);
    EXPECT_EQ(log.lines.size(), 4u);
}

TEST(GfxSetup, DrawingAMissingPictureDrawsNothing) {
    gfxtest::ensure_renderer();
    gfxtest::LogCapture log;
    static const unsigned char junk[4] = {1, 2, 3, 4};
    SDL_Texture *missing = gfx_load_embedded_texture(junk, 4);
    ASSERT_EQ(missing, nullptr);
    gfxtest::clear(10, 20, 30);
    SDL_Rect dst = {0, 0, 1000, 736};
    SDL_RenderCopy(gfx_renderer, missing, nullptr, &dst);
    EXPECT_TRUE(gfxtest::near(pixel(500, 300), Rgba{10, 20, 30, 255}, 0));
}

TEST(GfxSetup, GreyAndRgbPicturesBecomeOpaqueRgba) {
    gfxtest::ensure_renderer();
    std::vector<unsigned char> grey = {0, 90, 180, 255};
    std::vector<unsigned char> rgb = {255, 0, 0, 0, 255, 0, 0, 0, 255, 10, 20, 30};
    for (int comp : {1, 3}) {
        std::vector<unsigned char> png = gfxtest::png_bytes(comp == 1 ? grey : rgb, 2, 2, comp);
        SDL_Texture *t = gfx_load_embedded_texture(png.data(), (int)png.size());
        ASSERT_NE(t, nullptr);
        Uint32 format = 0;
        SDL_QueryTexture(t, &format, nullptr, nullptr, nullptr);
        EXPECT_EQ(format, (Uint32)SDL_PIXELFORMAT_ABGR8888);
        // Over magenta: an opaque picture hides it completely.
        gfxtest::clear(255, 0, 255);
        SDL_Rect dst = {0, 0, 2, 2};
        SDL_RenderCopy(gfx_renderer, t, nullptr, &dst);
        if (comp == 1) {
            EXPECT_TRUE(gfxtest::near(pixel(0, 0), Rgba{0, 0, 0, 255}, 0)) << pixel(0, 0);
            EXPECT_TRUE(gfxtest::near(pixel(1, 0), Rgba{90, 90, 90, 255}, 0)) << pixel(1, 0);
            EXPECT_TRUE(gfxtest::near(pixel(1, 1), Rgba{255, 255, 255, 255}, 0)) << pixel(1, 1);
        } else {
            EXPECT_TRUE(gfxtest::near(pixel(0, 0), Rgba{255, 0, 0, 255}, 0)) << pixel(0, 0);
            EXPECT_TRUE(gfxtest::near(pixel(1, 0), Rgba{0, 255, 0, 255}, 0)) << pixel(1, 0);
            EXPECT_TRUE(gfxtest::near(pixel(1, 1), Rgba{10, 20, 30, 255}, 0)) << pixel(1, 1);
        }
        SDL_DestroyTexture(t);
    }
}

}  // namespace
