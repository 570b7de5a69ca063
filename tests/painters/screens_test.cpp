// Kestrune: the play screen's panels by phase and pause, and the title screen: its pages,
// prompt, heroes, cross-fading backgrounds, title, banner, high-score rows and confetti.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <utility>

#include "painters_support.h"

using namespace ptest;

namespace {

std::vector<uint32_t> play_screen() {
    clear();
    gfx_draw_play_screen();
    return snapshot();
}

// The world with a bare panel over it: what a panel's text is measured against.
std::vector<uint32_t> world_with_panel(int y, int h) {
    clear();
    gfx_draw_world();
    gfx_draw_banner(y, h);
    return snapshot();
}

std::vector<uint32_t> title_at(int t) {
    app_frame = t;
    clear();
    gfx_draw_title_screen();
    return snapshot();
}

void title_state() {
    reset_world();
    srand(3);
    for (int i = 0; i < 240; i++) game_update_confetti();
}

}  // namespace

TEST(PlayScreen, PanelsStandOverTheWorldByPhaseAndPause) {
    playing_at(3);
    game_basket_y = 528;
    // In the intro, the play and the level-complete pause: the world alone.
    for (int phase : {PHASE_INTRO, PHASE_PLAYING, PHASE_LEVEL_COMPLETE}) {
        game_state.phase = phase;
        game_state.phase_timer = 60;
        const std::vector<uint32_t> screen = play_screen();
        clear();
        gfx_draw_world();
        EXPECT_EQ(diff_count(snapshot(), screen, 0, 0, 1000, 736), 0) << "phase " << phase;
    }
    // Paused: the panel at rows 300..379 with its text centred in it.
    app_paused = 1;
    std::vector<uint32_t> screen = play_screen();
    EXPECT_TRUE(panel_at(300, 80));
    Box text = diff_box(screen, world_with_panel(300, 80), 0, 0, 1000, 736);
    EXPECT_NEAR(text.cx(), 500, 3);
    EXPECT_TRUE(text.y0 >= 302 && text.y1 <= 377);

    // Game over, paused or not: its panel (rows 300..389) over the pause panel, so its
    // text reads.
    app_paused = 0;
    game_state.phase = PHASE_GAME_OVER;
    const std::vector<uint32_t> over = play_screen();
    EXPECT_TRUE(panel_at(300, 90));
    app_paused = 1;
    const std::vector<uint32_t> over_paused = play_screen();
    EXPECT_TRUE(panel_at(300, 90));
    int letters = 0, covered = 0;
    for (int i = 302 * 1000; i < 388 * 1000; i++) {
        if ((over[i] & 0xFFFFFF) != 0xFFFFFF) continue;
        letters++;
        covered += (over_paused[i] & 0xFFFFFF) != 0xFFFFFF;
    }
    EXPECT_GT(letters, 200);
    EXPECT_EQ(covered, 0);

    // The victory panel over the bottom of the play area, rows 556..695.
    app_paused = 0;
    game_state.phase = PHASE_VICTORY;
    screen = play_screen();
    EXPECT_TRUE(panel_at(556, 140));
    text = diff_box(screen, world_with_panel(556, 140), 0, 0, 1000, 736);
    EXPECT_NEAR(text.cx(), 500, 3);
    EXPECT_TRUE(text.y0 >= 558 && text.y1 <= 693);
    reset_world();
}

TEST(TitleScreen, PagesAlternateThePromptBlinksAndTheHeroesCheer) {
    StandIns stand_ins;
    title_state();
    // Instructions: spinning painted eggs beside the language line. High scores: grey
    // ranks right-aligned at x 330. Every 420 ticks, instructions first.
    auto page = [](int t) {
        title_at(t);
        const bool eggs = colour_count(sprite_left(33), 40, 505, 90, 42, 40) > 50;
        const bool ranks = colour_count(Rgb{225, 210, 200}, 300, 348, 30, 220, 0) > 500;
        EXPECT_NE(eggs, ranks) << "t " << t;
        return ranks ? 'H' : 'I';
    };
    const std::pair<int, char> pages[] = {{0, 'I'},   {31, 'I'},  {419, 'I'},  {420, 'H'},  {451, 'H'},
                                          {839, 'H'}, {840, 'I'}, {1259, 'I'}, {1260, 'H'}};
    for (const auto &p : pages) EXPECT_EQ(page(p.first), p.second) << "t " << p.first;

    // The prompt: hidden for 30 ticks, then shown for 30, hidden first.
    const std::vector<uint32_t> hidden0 = title_at(0), hidden29 = title_at(29), shown30 = title_at(30),
                                shown59 = title_at(59), hidden60 = title_at(60);
    EXPECT_EQ(diff_count(hidden0, hidden29, 200, 602, 600, 60), 0);
    EXPECT_EQ(diff_count(shown30, shown59, 200, 602, 600, 60), 0);
    EXPECT_EQ(diff_count(hidden0, hidden60, 200, 602, 600, 60), 0);
    EXPECT_NEAR(diff_box(shown59, hidden60, 200, 602, 600, 60).cx(), 500, 3);

    // Cheering heroes in opposite frames, the right one mirrored, changing every 12 ticks.
    const int heroes[][3] = {{31, 13, 14}, {451, 14, 13}, {35, 13, 14}, {36, 14, 13}};
    for (const auto &c : heroes) {
        title_at(c[0]);
        EXPECT_TRUE(near(pixel(60, 606), sprite_left(c[1]), 2)) << "t " << c[0];
        EXPECT_TRUE(near(pixel(900, 606), sprite_right(c[2]), 2)) << "t " << c[0];
        const Box right = colour_box(sprite_left(c[2]), 800, 500, 200, 200);
        EXPECT_NEAR(right.x1 + 1, 985, 2);
        EXPECT_NEAR(right.y0, 541, 2);
    }
}

TEST(TitleScreen, BackgroundsStand480TicksAndCrossFadeIntoTheNext) {
    title_state();
    // Row 590, between the two panels, shows the backgrounds and the confetti only.
    auto row = [](int t) {
        const std::vector<uint32_t> all = title_at(t);
        return std::vector<uint32_t>(all.begin() + 590 * 1000 + 200, all.begin() + 590 * 1000 + 800);
    };
    const std::vector<uint32_t> first = row(400), second = row(880), fading = row(451);
    EXPECT_EQ(row(0), first);
    EXPECT_EQ(row(420), first);
    EXPECT_EQ(row(480), second);
    EXPECT_NE(first, second);
    // At t 451 the next background stands over the first at alpha 131.
    for (size_t i = 0; i < first.size(); i += 7) {
        for (int shift : {0, 8, 16}) {
            const int a = (int)(first[i] >> shift & 0xFF), b = (int)(second[i] >> shift & 0xFF);
            EXPECT_NEAR((int)(fading[i] >> shift & 0xFF), a + (b - a) * 131 / 255, 3) << "x " << 200 + i;
        }
    }
    // Fifteen backgrounds make a cycle of 7200 ticks; the last fades into the first.
    EXPECT_EQ(row(7200), first);
    EXPECT_NE(row(6720), first);
    EXPECT_NE(row(7199), row(6720));
    // Both backgrounds are left unfaded.
    title_at(451);
    for (int level : {0, 1}) {
        Uint8 alpha = 0;
        SDL_GetTextureAlphaMod(gfx_background_texture(level), &alpha);
        EXPECT_EQ(alpha, 255);
    }
}

TEST(TitleScreen, TitleBesideThePortraitOrTheLogoTheBannerAndTheConfetti) {
    StandIns stand_ins;
    title_state();
    // Danish: the logo, 210 high from y 12, centred on x 500; no portrait.
    lang_set(0);
    title_at(31);
    const Box logo = colour_box(LOGO_COLOUR, 0, 0, 1000, 300, 0);
    EXPECT_EQ(logo.x0, 202);
    EXPECT_EQ(logo.w(), 596);
    EXPECT_EQ(logo.y0, 12);
    EXPECT_EQ(logo.y1, 221);
    EXPECT_TRUE(colour_box(PORTRAIT_COLOUR, 0, 0, 1000, 300, 0).empty());
    // Every other language: the portrait (135 x 160 from y 22) and the title centred
    // together on x 500, the title shrunk to 720 wide should it be wider.
    for (int lang = 1; lang < LANG_COUNT; lang++) {
        lang_set(lang);
        const int w = std::min(text_draw_title(-2000, 0, 104), 720);
        title_at(31);
        const Box portrait = colour_box(PORTRAIT_COLOUR, 0, 0, 1000, 300, 0);
        EXPECT_EQ(portrait.x0, (844 - w) / 2 + 75 - 67) << lang_code(lang);
        EXPECT_EQ(portrait.y0, 22) << lang_code(lang);
        EXPECT_EQ(portrait.y1, 181) << lang_code(lang);
        EXPECT_TRUE(colour_box(LOGO_COLOUR, 0, 0, 1000, 300, 0).empty());
    }

    // The blue-and-yellow banner after a Russian locale was seen: rows 222..251 under
    // the logo, 190..219 under a title picture.
    auto banner_at = [](int y0) {
        const Rgb blue = pixel(372, y0 + 1), yellow = pixel(372, y0 + 28), above = pixel(372, y0 - 1),
                  below = pixel(372, y0 + 30);
        auto is_blue = [](Rgb c) { return c.r < 30 && c.g > 70 && c.g < 110 && c.b > 160; };
        auto is_yellow = [](Rgb c) { return c.r > 230 && c.g > 195 && c.b < 30; };
        return is_blue(blue) && is_yellow(yellow) && !is_blue(above) && !is_yellow(below);
    };
    for (int lang : {0, 5}) {
        lang_set(lang);
        lang_ru_seen = 0;
        title_at(31);
        EXPECT_FALSE(banner_at(lang == 0 ? 222 : 190));
        lang_ru_seen = 1;
        title_at(31);
        EXPECT_TRUE(banner_at(lang == 0 ? 222 : 190)) << lang_code(lang);
    }

    // The confetti is not clipped: a stroke over the left edge shows.
    lang_ru_seen = 0;
    std::memset(game_confetti, 0, sizeof game_confetti);
    const std::vector<uint32_t> bare = title_at(31);
    game_confetti[0] = ConfettiParticle{8.0f, 560.0f, 0, 1, 0.0f, 0, 1};
    const Box stroke = diff_box(title_at(31), bare, 0, 0, 1000, 736);
    EXPECT_EQ(stroke.x0, 1);
    EXPECT_NEAR(stroke.cy(), 560, 1);
    reset_world();
}

TEST(TitleScreen, HighScoreRowsShowRankNameScoreAndLevelWhateverTheyHold) {
    StandIns stand_ins;
    title_state();
    app_high_scores[3].name[0] = '\0';  // an empty name
    app_high_scores[3].score = 777;
    std::memset(app_high_scores[5].name, 'W', sizeof app_high_scores[5].name);  // no NUL at all
    app_frame = 451;
    const std::vector<unsigned char> before = globals_bytes();
    title_at(451);
    EXPECT_EQ(globals_bytes(), before);

    // The stand-in font's cells are flat, so each field shows as a box of its colour.
    // Cells are 28 high and rows 22 apart: each row is looked at below the row above.
    const Rgb grey = {225, 210, 200}, gold = {255, 222, 120}, white = {255, 255, 255};
    for (int i = 0; i < 10; i++) {
        SCOPED_TRACE(testing::Message() << "row " << i);
        const int band = 348 + 22 * i + 6;
        char rank[16], score[16];
        std::snprintf(rank, sizeof rank, "%2d.", i + 1);
        std::snprintf(score, sizeof score, "%d", (int)app_high_scores[i].score);
        const Box r = colour_box(grey, 200, band, 140, 14, 0);
        EXPECT_EQ(r.x1 + 1, 330);
        EXPECT_NEAR(r.x0, 330 - gfx_font_width(rank, FONT_SMALL), 1);
        const Box s = colour_box(gold, 400, band, 250, 14, 0);
        EXPECT_EQ(s.x1 + 1, 600);
        EXPECT_NEAR(s.x0, 600 - gfx_font_width(score, FONT_SMALL), 1);
        const Box name = colour_box(white, 340, band, 400, 14, 0);
        EXPECT_EQ(name.empty(), i == 3);
        if (i != 3) {
            EXPECT_EQ(name.x0, 350);
        }
        const Box level = colour_box(grey, 600, band, 120, 14, 0);
        EXPECT_FALSE(level.empty());
        EXPECT_LE(level.x1, 700);  // right-aligned at 700, to within a pixel
        // A full name field without its end is drawn as its 16 bytes, no more (the level
        // line drawn after it may cover its end).
        if (i == 5) {
            EXPECT_LE(name.x1 + 1, 350 + gfx_font_width("WWWWWWWWWWWWWWWW", FONT_SMALL));
            EXPECT_GT(name.x1 + 1, 350 + gfx_font_width("WWWWWWWWWWWWWWW", FONT_SMALL));
        }
    }
    reset_world();
}
