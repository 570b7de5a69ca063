// Kestrune: the play screen's panels by phase and pause, and the title screen: its pages,
// prompt, heroes, cross-fading backgrounds, title, banner and high-score rows.
#include <gtest/gtest.h>

#include <cstring>

#include "painters_support.h"

using namespace ptest;

namespace {

// A row of a panel edge: light gold (230, 190, 110) at alpha 220 over whatever lies below.
bool gold_edge(int y) {
    const Rgb c = pixel(10, y);
    return c.r > 180 && c.g > 140 && c.b > 70 && c.b < 160;
}

bool panel(int y, int h) {
    return gold_edge(y) && gold_edge(y + 1) && gold_edge(y + h - 2) && gold_edge(y + h - 1) && !gold_edge(y - 1) &&
           !gold_edge(y + h);
}

std::vector<uint32_t> play_screen() {
    clear();
    gfx_draw_play_screen();
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
    // In the intro, the level-complete pause and the play: the world alone.
    for (int phase : {PHASE_INTRO, PHASE_PLAYING, PHASE_LEVEL_COMPLETE}) {
        game_state.phase = phase;
        game_state.phase_timer = 60;
        const std::vector<uint32_t> screen = play_screen();
        clear();
        gfx_draw_world();
        EXPECT_EQ(diff_count(snapshot(), screen, 0, 0, 1000, 736), 0) << "phase " << phase;
    }
    game_state.phase = PHASE_PLAYING;
    const std::vector<uint32_t> world = play_screen();

    app_paused = 1;
    const std::vector<uint32_t> paused = play_screen();
    EXPECT_TRUE(panel(300, 80));
    gfx_draw_world();
    gfx_draw_banner(300, 80);
    const Box pause_text = diff_box(paused, snapshot(), 0, 0, 1000, 736);
    EXPECT_NEAR(pause_text.cx(), 500, 3);
    EXPECT_GE(pause_text.y0, 302);
    EXPECT_LE(pause_text.y1, 377);
    EXPECT_EQ(diff_count(paused, world, 0, 0, 1000, 300), 0);
    EXPECT_EQ(diff_count(paused, world, 0, 380, 1000, 356), 0);

    // Game over, paused or not: its panel goes over the pause panel, so its text reads.
    app_paused = 0;
    game_state.phase = PHASE_GAME_OVER;
    const std::vector<uint32_t> over = play_screen();
    EXPECT_TRUE(panel(300, 90));
    app_paused = 1;
    const std::vector<uint32_t> over_paused = play_screen();
    EXPECT_TRUE(panel(300, 90));
    int letters = 0;
    for (int y = 302; y < 388; y++) {
        for (int x = 0; x < 1000; x++) {
            const uint32_t v = over[(size_t)y * 1000 + x];
            if ((v & 0xFFFFFF) != 0xFFFFFF) continue;
            letters++;
            const uint32_t w = over_paused[(size_t)y * 1000 + x];
            EXPECT_GE((w >> 16 & 0xFF) + (w >> 8 & 0xFF) + (w & 0xFF), 3u * 235) << x << ", " << y;
        }
    }
    EXPECT_GT(letters, 200);

    // The victory panel over the lower part of the play area.
    app_paused = 0;
    game_state.phase = PHASE_VICTORY;
    const std::vector<uint32_t> victory = play_screen();
    EXPECT_TRUE(panel(556, 140));
    clear();
    gfx_draw_world();
    gfx_draw_banner(556, 140);
    const Box texts = diff_box(victory, snapshot(), 0, 0, 1000, 736);
    EXPECT_NEAR(texts.cx(), 500, 3);
    EXPECT_GE(texts.y0, 558);
    EXPECT_LE(texts.y1, 693);
    reset_world();
}

TEST(TitleScreen, PagesAlternateThePromptBlinksAndTheHeroesCheer) {
    StandIns stand_ins;
    title_state();
    // Instructions: spinning painted eggs beside the language line. High scores: grey
    // ranks right-aligned at x 330.
    auto page = [](int t) {
        title_at(t);
        const bool eggs = colour_count(sprite_left(33), 40, 505, 90, 42, 40) > 50;
        const bool ranks = colour_count(Rgb{225, 210, 200}, 300, 348, 30, 220, 0) > 500;
        EXPECT_NE(eggs, ranks) << "t " << t;
        return ranks ? 'H' : 'I';
    };
    const int ticks[] = {0, 31, 419, 420, 451, 839, 840, 1259, 1260};
    const char pages[] = {'I', 'I', 'I', 'H', 'H', 'H', 'I', 'I', 'H'};
    for (int i = 0; i < 9; i++) EXPECT_EQ(page(ticks[i]), pages[i]) << "t " << ticks[i];

    // The prompt: hidden for 30 ticks, then shown for 30, hidden first.
    auto prompt = [](int t) { return title_at(t); };
    const std::vector<uint32_t> hidden0 = prompt(0), hidden29 = prompt(29), shown30 = prompt(30),
                                shown59 = prompt(59), hidden60 = prompt(60);
    EXPECT_EQ(diff_count(hidden0, hidden29, 200, 602, 600, 60), 0);
    EXPECT_EQ(diff_count(shown30, shown59, 200, 602, 600, 60), 0);
    EXPECT_EQ(diff_count(hidden0, hidden60, 200, 602, 600, 60), 0);
    const Box text = diff_box(shown59, hidden60, 200, 602, 600, 60);
    EXPECT_NEAR(text.cx(), 500, 3);

    // Cheering heroes in opposite frames, the right one mirrored, changing every 12 ticks.
    struct Case {
        int t, left, right;
    };
    for (const Case &c : {Case{31, 13, 14}, Case{451, 14, 13}, Case{35, 13, 14}, Case{36, 14, 13}}) {
        title_at(c.t);
        EXPECT_TRUE(near(pixel(60, 606), sprite_left(c.left), 2)) << "t " << c.t;
        EXPECT_TRUE(near(pixel(900, 606), sprite_right(c.right), 2)) << "t " << c.t;
        const Box right = colour_box(sprite_left(c.right), 800, 500, 200, 200);
        EXPECT_NEAR(right.x1 + 1, 985, 2);
        EXPECT_NEAR(right.y0, 541, 2);
    }
}

TEST(TitleScreen, BackgroundsStand480TicksAndCrossFadeIntoTheNext) {
    title_state();
    // Row 590 between the two panels shows the background and the confetti only.
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
    int checked = 0;
    for (size_t i = 0; i < first.size(); i += 7) {
        for (int shift : {0, 8, 16}) {
            const int a = (int)(first[i] >> shift & 0xFF), b = (int)(second[i] >> shift & 0xFF);
            const int m = (int)(fading[i] >> shift & 0xFF);
            EXPECT_NEAR(m, a + (b - a) * 131 / 255, 3) << "x " << 200 + i;
            checked++;
        }
    }
    EXPECT_GT(checked, 200);
    // Fifteen backgrounds make a cycle of 7200 ticks.
    EXPECT_EQ(row(7200), first);
    EXPECT_NE(row(6720), first);
    // The alpha of both backgrounds is back at 255 afterwards.
    title_at(451);
    for (int level : {0, 1}) {
        Uint8 alpha = 0;
        SDL_GetTextureAlphaMod(gfx_background_texture(level), &alpha);
        EXPECT_EQ(alpha, 255);
    }
}

TEST(TitleScreen, TitleBesideThePortraitOrTheLogoAndTheUkrainianBanner) {
    StandIns stand_ins;
    title_state();
    // Danish: the logo, 210 high from y 12, centred on x 500; no portrait.
    lang_set(0);
    title_at(31);
    const Box logo = colour_box(LOGO_COLOUR, 0, 0, 1000, 300, 0);
    EXPECT_EQ(logo.x0, 500 - 1023 * 210 / 360 / 2);
    EXPECT_EQ(logo.w(), 1023 * 210 / 360);
    EXPECT_EQ(logo.y0, 12);
    EXPECT_EQ(logo.y1, 221);
    EXPECT_TRUE(colour_box(PORTRAIT_COLOUR, 0, 0, 1000, 300, 0).empty());

    // Every other language: the portrait and the title centred together on x 500, the
    // title shrunk to 720 wide should it be wider.
    for (int lang = 1; lang < LANG_COUNT; lang++) {
        lang_set(lang);
        int w = text_draw_title(-2000, 0, 104);
        if (w >= 721) w = 720;
        const int x0 = (844 - w) / 2;
        title_at(31);
        const Box portrait = colour_box(PORTRAIT_COLOUR, 0, 0, 1000, 300, 0);
        EXPECT_EQ(portrait.x0, x0 + 75 - 254 * 160 / 300 / 2) << lang_code(lang);
        EXPECT_EQ(portrait.y0, 22) << lang_code(lang);
        EXPECT_EQ(portrait.y1, 181) << lang_code(lang);
        EXPECT_TRUE(colour_box(LOGO_COLOUR, 0, 0, 1000, 300, 0).empty());
    }

    // The blue-and-yellow banner, only after a Russian locale was seen: rows 222..251
    // under the logo, 190..219 under a title picture.
    auto banner_at = [](int y0) {
        const Rgb blue = pixel(372, y0 + 1), yellow = pixel(372, y0 + 28), above = pixel(372, y0 - 1),
                  below = pixel(372, y0 + 30);
        const bool is_blue = blue.r < 30 && blue.b > 160;
        const bool is_yellow = yellow.r > 230 && yellow.g > 195 && yellow.b < 30;
        const bool edges = !(above.r < 30 && above.b > 160) && !(below.r > 230 && below.g > 195 && below.b < 30);
        return is_blue && is_yellow && edges;
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
    reset_world();
}

TEST(TitleScreen, HighScoreRowsShowRankNameScoreAndLevelWhateverTheyHold) {
    StandIns stand_ins;
    title_state();
    std::strcpy(app_high_scores[0].name, "Plimby");
    app_high_scores[0].score = 15000;
    app_high_scores[3].name[0] = '\0';  // an empty name
    app_high_scores[3].score = 777;
    std::memset(app_high_scores[5].name, 'W', sizeof app_high_scores[5].name);  // no NUL at all
    app_frame = 451;
    const std::vector<unsigned char> before = globals_bytes();
    title_at(451);
    EXPECT_EQ(globals_bytes(), before);

    const Rgb grey = {225, 210, 200}, gold = {255, 222, 120}, white = {255, 255, 255};
    for (int i = 0; i < 10; i++) {
        SCOPED_TRACE(testing::Message() << "row " << i);
        const int y = 348 + 22 * i;
        char rank[8];
        std::snprintf(rank, sizeof rank, "%2d.", i + 1);
        // Cells are 28 high and rows 22 apart: the band below the row above's cells.
        const int band = y + 6, rows = 14;
        const Box r = colour_box(grey, 200, band, 140, rows, 0);
        EXPECT_EQ(r.x1 + 1, 330);
        EXPECT_NEAR(r.x0, 330 - gfx_font_width(rank, FONT_SMALL), 1);
        char score[16];
        std::snprintf(score, sizeof score, "%d", (int)app_high_scores[i].score);
        const Box s = colour_box(gold, 400, band, 250, rows, 0);
        EXPECT_EQ(s.x1 + 1, 600);
        EXPECT_NEAR(s.x0, 600 - gfx_font_width(score, FONT_SMALL), 1);
        const Box name = colour_box(white, 340, band, 200, rows, 0);
        if (i == 3) {
            EXPECT_TRUE(name.empty());
        } else {
            EXPECT_EQ(name.x0, 350);
        }
        // The level line, right-aligned at 700.
        const Box level = colour_box(grey, 600, band, 120, rows, 0);
        EXPECT_FALSE(level.empty());
        EXPECT_LE(level.x1, 700);
    }
    // A name that fills its field without an end is drawn as its 16 bytes, no more (the
    // level line, drawn after it, may cover its end).
    const Box long_name = colour_box(white, 340, 348 + 22 * 5 + 6, 400, 14, 0);
    EXPECT_LE(long_name.x1 + 1, 350 + gfx_font_width("WWWWWWWWWWWWWWWW", FONT_SMALL));
    EXPECT_GT(long_name.x1 + 1, 350 + gfx_font_width("WWWWWWWWWWWWWWW", FONT_SMALL));
    reset_world();
}

TEST(TitleScreen, ConfettiFallsOverTheWholeCanvas) {
    title_state();
    std::memset(game_confetti, 0, sizeof game_confetti);
    const std::vector<uint32_t> bare = title_at(31);
    // A stroke over the left edge, where the game's play area would clip it.
    game_confetti[0] = ConfettiParticle{8.0f, 560.0f, 0, 1, 0.0f, 0, 1};
    const Box stroke = diff_box(title_at(31), bare, 0, 0, 1000, 736);
    EXPECT_EQ(stroke.x0, 1);
    EXPECT_NEAR(stroke.cy(), 560, 1);
    reset_world();
}
