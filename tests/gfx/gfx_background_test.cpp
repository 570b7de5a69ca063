// Kestrune graphics tests: the three-slot background cache.
#include <gtest/gtest.h>

#include <climits>

#include "gfx_test_support.h"

using gfxtest::near;
using gfxtest::pixel;

namespace {

class BackgroundCache : public ::testing::Test {
  protected:
    void SetUp() override {
        gfxtest::ensure_renderer();
        empty_cache();
        for (int i = 0; i < GFX_BACKGROUND_COUNT; i++) {
            saved_data[i] = gfx_level_backgrounds[i];
            saved_size[i] = gfx_level_background_sizes[i];
        }
    }
    void TearDown() override {
        empty_cache();
        for (int i = 0; i < GFX_BACKGROUND_COUNT; i++) {
            gfx_level_backgrounds[i] = saved_data[i];
            gfx_level_background_sizes[i] = saved_size[i];
        }
    }
    static void empty_cache() {
        for (BackgroundSlot &s : gfx_background_cache) {
            if (s.full) SDL_DestroyTexture(s.full);
            if (s.thumbnail) SDL_DestroyTexture(s.thumbnail);
            s = BackgroundSlot{-1, nullptr, nullptr, 0};
        }
        gfx_background_clock = 0;
    }
    // Points background number k at our own picture bytes.
    void inject(int k, const std::vector<unsigned char> &bytes) {
        held[k] = bytes;
        held_size[k] = (uint32_t)bytes.size();
        gfx_level_backgrounds[k] = held[k].data();
        gfx_level_background_sizes[k] = &held_size[k];
    }
    const unsigned char *saved_data[GFX_BACKGROUND_COUNT];
    const uint32_t *saved_size[GFX_BACKGROUND_COUNT];
    std::vector<unsigned char> held[GFX_BACKGROUND_COUNT];
    uint32_t held_size[GFX_BACKGROUND_COUNT];
};

TEST_F(BackgroundCache, EmptySlotsFillInOrderThenTheLeastRecentlyUsedIsReused) {
    EXPECT_EQ(gfx_background_slot(3), 0);
    EXPECT_EQ(gfx_background_slot(4), 1);
    EXPECT_EQ(gfx_background_slot(5), 2);
    EXPECT_EQ(gfx_background_cache[0].last_use, 1u);
    EXPECT_EQ(gfx_background_slot(6), 0);  // slot 0 had stamp 1, the oldest
    EXPECT_EQ(gfx_background_cache[0].key, 6);
    EXPECT_EQ(gfx_background_clock, 4u);
}

TEST_F(BackgroundCache, ARecentUseKeepsItsSlot) {
    gfx_background_slot(3);
    gfx_background_slot(4);
    gfx_background_slot(5);
    EXPECT_EQ(gfx_background_slot(3), 0);  // a hit: no slot changes
    EXPECT_EQ(gfx_background_slot(6), 1);  // now slot 1 is the oldest
    EXPECT_EQ(gfx_background_cache[0].key, 3);
    EXPECT_EQ(gfx_background_cache[1].key, 6);
    EXPECT_EQ(gfx_background_cache[2].key, 5);
}

TEST_F(BackgroundCache, EqualStampsChooseTheLowestSlot) {
    // Stamps compared as signed 32-bit numbers: a clock that wrapped past 2^31 makes
    // older slots look newer, exactly as the stamps say.
    gfx_background_cache[0] = BackgroundSlot{7, nullptr, nullptr, 9};
    gfx_background_cache[1] = BackgroundSlot{8, nullptr, nullptr, 9};
    gfx_background_cache[2] = BackgroundSlot{9, nullptr, nullptr, 9};
    gfx_background_clock = 9;
    EXPECT_EQ(gfx_background_slot(1), 0);
    gfx_background_cache[0].last_use = 0x80000000u;  // negative: the oldest
    gfx_background_cache[1].last_use = 5;
    EXPECT_EQ(gfx_background_slot(2), 0);
}

TEST_F(BackgroundCache, LevelsAreTakenModFifteenMadeNonNegative) {
    int slot = gfx_background_slot(3);
    SDL_Texture *full = gfx_background_cache[slot].full;
    EXPECT_EQ(gfx_background_slot(18), slot);
    EXPECT_EQ(gfx_background_cache[slot].full, full);  // a hit: not decoded again
    EXPECT_EQ(gfx_background_cache[gfx_background_slot(-1)].key, 14);
    EXPECT_EQ(gfx_background_cache[gfx_background_slot(15)].key, 0);
    EXPECT_EQ(gfx_background_cache[gfx_background_slot(29)].key, 14);
    EXPECT_EQ(gfx_background_cache[gfx_background_slot(-15)].key, 0);
    int k = gfx_background_cache[gfx_background_slot(INT_MIN)].key;
    EXPECT_EQ(k, ((INT_MIN % 15) + 15) % 15);
    k = gfx_background_cache[gfx_background_slot(INT_MAX)].key;
    EXPECT_EQ(k, INT_MAX % 15);
}

TEST_F(BackgroundCache, TextureAndThumbnailOfALevelShareASlotAndCountTwoUses) {
    SDL_Texture *full = gfx_background_texture(7);
    SDL_Texture *thumb = gfx_background_thumbnail(7);
    EXPECT_EQ(gfx_background_clock, 2u);
    EXPECT_EQ(gfx_background_cache[0].full, full);
    EXPECT_EQ(gfx_background_cache[0].thumbnail, thumb);
    EXPECT_EQ(gfx_background_cache[0].last_use, 2u);
    EXPECT_EQ(gfx_background_cache[1].key, -1);
}

TEST_F(BackgroundCache, EveryEmbeddedBackgroundDecodesToItsTwoTextures) {
    for (int level = 0; level < GFX_BACKGROUND_COUNT; level++) {
        SDL_Texture *full = gfx_background_texture(level);
        SDL_Texture *thumb = gfx_background_thumbnail(level);
        ASSERT_NE(full, nullptr) << "background " << level;
        ASSERT_NE(thumb, nullptr) << "background " << level;
        int w, h;
        Uint32 format;
        SDL_QueryTexture(full, &format, nullptr, &w, &h);
        EXPECT_EQ(w, 960);
        EXPECT_EQ(h, 640);
        EXPECT_EQ(format, (Uint32)SDL_PIXELFORMAT_ABGR8888);
        SDL_QueryTexture(thumb, &format, nullptr, &w, &h);
        EXPECT_EQ(w, 60);
        EXPECT_EQ(h, 40);
        SDL_BlendMode mode;
        SDL_GetTextureBlendMode(full, &mode);
        EXPECT_EQ(mode, SDL_BLENDMODE_BLEND);
    }
}

TEST_F(BackgroundCache, ThumbnailIsTheTruncatedBlockAverageWithFullAlpha) {
    std::vector<unsigned char> px(960 * 640 * 4, 0);
    auto put = [&](int x, int y, int r, int g, int b, int a) {
        unsigned char *p = &px[(y * 960 + x) * 4];
        p[0] = (unsigned char)r, p[1] = (unsigned char)g, p[2] = (unsigned char)b, p[3] = (unsigned char)a;
    };
    for (int y = 0; y < 640; y++)
        for (int x = 0; x < 960; x++) put(x, y, 0, 0, 0, 255);
    put(5, 7, 255, 0, 0, 255);  // block (0, 0): one red pixel of 256
    for (int y = 0; y < 16; y++)
        for (int x = 16; x < 32; x++) put(x, y, 255, 0, 0, 255);  // block (1, 0): all red
    for (int y = 0; y < 16; y++)
        for (int x = 32; x < 48; x++) put(x, y, 0, y * 16 + (x - 32), 0, 255);  // block (2, 0): green 0..255
    for (int y = 624; y < 640; y++)
        for (int x = 944; x < 960; x++) put(x, y, 10, 200, 30, 0);  // block (59, 39): transparent
    inject(2, gfxtest::png_bytes(px, 960, 640, 4));

    SDL_Texture *thumb = gfx_background_thumbnail(2);
    ASSERT_NE(thumb, nullptr);
    gfxtest::clear(255, 0, 255);
    SDL_Rect dst = {0, 0, 60, 40};
    SDL_RenderCopy(gfx_renderer, thumb, nullptr, &dst);
    EXPECT_TRUE(near(pixel(0, 0), Rgba{0, 0, 0, 255}, 0)) << pixel(0, 0);      // 255 / 256 truncates
    EXPECT_TRUE(near(pixel(1, 0), Rgba{255, 0, 0, 255}, 0)) << pixel(1, 0);    // all 255
    EXPECT_TRUE(near(pixel(2, 0), Rgba{0, 127, 0, 255}, 0)) << pixel(2, 0);    // 32640 / 256
    EXPECT_TRUE(near(pixel(59, 39), Rgba{10, 200, 30, 255}, 0)) << pixel(59, 39);  // alpha not read
    EXPECT_TRUE(near(pixel(3, 0), Rgba{0, 0, 0, 255}, 0));
    EXPECT_TRUE(near(pixel(60, 0), Rgba{255, 0, 255, 255}, 0));
}

TEST_F(BackgroundCache, UndecodableBackgroundKeepsItsSlotWithoutTextures) {
    static const unsigned char junk[] = "not a picture at all";
    inject(4, std::vector<unsigned char>(junk, junk + sizeof junk));
    gfxtest::LogCapture log;
    int slot = gfx_background_slot(4);
    EXPECT_EQ(gfx_background_cache[slot].key, 4);
    EXPECT_EQ(gfx_background_cache[slot].full, nullptr);
    EXPECT_EQ(gfx_background_cache[slot].thumbnail, nullptr);
    // Drawing what the cache gives draws nothing and goes on.
    gfxtest::clear(1, 2, 3);
    SDL_RenderCopy(gfx_renderer, gfx_background_texture(4), nullptr, nullptr);
    EXPECT_TRUE(near(pixel(500, 300), Rgba{1, 2, 3, 255}, 0));
    // It is a hit from now on, not decoded again: a good picture put in its place later
    // is not picked up while the slot holds the key.
    gfx_level_backgrounds[4] = saved_data[4];
    gfx_level_background_sizes[4] = saved_size[4];
    EXPECT_EQ(gfx_background_slot(4), slot);
    EXPECT_EQ(gfx_background_cache[slot].full, nullptr);
    EXPECT_TRUE(log.lines.empty());
    // Once the slot is reused by others, the background is decoded afresh.
    gfx_background_slot(5);
    gfx_background_slot(6);
    gfx_background_slot(7);
    EXPECT_NE(gfx_background_texture(4), nullptr);
}

TEST_F(BackgroundCache, PictureOfAnotherSizeIsNotUsed) {
    inject(9, gfxtest::png_bytes(std::vector<unsigned char>(16 * 16 * 4, 255), 16, 16, 4));
    inject(10, gfxtest::png_bytes(std::vector<unsigned char>(960 * 641 * 3, 90), 960, 641, 3));
    EXPECT_EQ(gfx_background_texture(9), nullptr);
    EXPECT_EQ(gfx_background_thumbnail(9), nullptr);
    EXPECT_EQ(gfx_background_texture(10), nullptr);
    // A grey picture of the right size is fine.
    inject(11, gfxtest::png_bytes(std::vector<unsigned char>(960 * 640, 90), 960, 640, 1));
    EXPECT_NE(gfx_background_texture(11), nullptr);
}

TEST_F(BackgroundCache, ReusedSlotGetsTheNewBackgroundsTextures) {
    std::vector<unsigned char> red(960 * 640 * 3, 0), blue(960 * 640 * 3, 0);
    for (size_t i = 0; i < red.size(); i += 3) red[i] = 200, blue[i + 2] = 200;
    inject(0, gfxtest::png_bytes(red, 960, 640, 3));
    inject(1, gfxtest::png_bytes(blue, 960, 640, 3));
    gfx_background_slot(0);
    gfx_background_slot(12);
    gfx_background_slot(13);
    EXPECT_EQ(gfx_background_slot(1), 0);  // replaces background 0
    gfxtest::clear(0, 0, 0);
    SDL_RenderCopy(gfx_renderer, gfx_background_cache[0].full, nullptr, nullptr);
    EXPECT_TRUE(near(pixel(10, 10), Rgba{0, 0, 200, 255}, 0)) << pixel(10, 10);
    SDL_RenderCopy(gfx_renderer, gfx_background_cache[0].thumbnail, nullptr, nullptr);
    EXPECT_TRUE(near(pixel(10, 10), Rgba{0, 0, 200, 255}, 0)) << pixel(10, 10);
}

}  // namespace
