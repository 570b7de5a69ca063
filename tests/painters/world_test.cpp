// Kestrune: the world painter and its head-up display. Placements are measured on the
// canvas with stand-in sprites of flat, known colours: the hero, hens, eggs, splats and
// chicks where the layout puts them, at their sizes, mirrored the right way and clipped
// to the play area; the head-up display's numbers, icons and notices.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <random>

#include "painters_support.h"

using namespace ptest;

namespace {

const int PLAY_X0 = 20, PLAY_Y0 = 60;

Box join(Box a, Box b) {
    if (a.empty()) return b;
    if (b.empty()) return a;
    return Box{std::min(a.x0, b.x0), std::min(a.y0, b.y0), std::max(a.x1, b.x1), std::max(a.y1, b.y1)};
}

// The box of one of the sprites' two colours within a strip of the canvas (the play area
// if not said).
Box sprite_box(int first, int last = -1, int x = PLAY_X0, int w = 960) {
    Box box = {1 << 20, 1 << 20, -1, -1};
    for (int id = first; id <= std::max(first, last); id++)
        box = join(box, join(colour_box(sprite_left(id), x, PLAY_Y0, w, 640),
                             colour_box(sprite_right(id), x, PLAY_Y0, w, 640)));
    return box;
}

// A square of the given side centred on (cx, cy), within 2 pixels.
void expect_square(const Box &box, float cx, float cy, float size) {
    ASSERT_FALSE(box.empty());
    EXPECT_NEAR(box.x0, cx - size / 2, 2.0);
    EXPECT_NEAR(box.x1 + 1, cx + size / 2, 2.0);
    EXPECT_NEAR(box.y0, cy - size / 2, 2.0);
    EXPECT_NEAR(box.y1 + 1, cy + size / 2, 2.0);
}

std::vector<uint32_t> paint() {
    clear();
    gfx_draw_world();
    return snapshot();
}

// Which of the hero's sprites shows, or -1.
int hero_frame() {
    for (int id = 0; id <= 17; id++)
        if (colour_count(sprite_left(id), PLAY_X0, PLAY_Y0, 960, 640) > 1000) return id;
    return -1;
}

bool shows(int x, int y, Rgb colour) { return near(pixel(x, y), colour, 2); }

}  // namespace

TEST(WorldHero, SideViewStandsAtTheCatchPointOfEveryFloorFacingItsSide) {
    StandIns stand_ins;
    struct Row {
        int level;
        float S, cy;
        int frames[4];  // the side-view frame on each floor
    };
    const Row rows[4] = {{0, 428.18f, 472.47f, {3}},
                         {2, 594.55f, 392.62f, {1, 4}},
                         {5, 585.0f, 397.2f, {1, 3, 5}},
                         {9, 540.0f, 418.8f, {0, 2, 4, 5}}};
    for (int r = 0; r < 4; r++) {
        const LevelLayout &L = game_layouts[r];
        for (int f = 0; f < L.floors; f++) {
            for (int side = 0; side < 2; side++) {
                SCOPED_TRACE(testing::Message() << "row " << r << " floor " << f << " side " << side);
                playing_at(rows[r].level);
                game_basket_side = side;
                game_basket_y = L.catch_y[f] + 76;
                paint();
                const int k = rows[r].frames[f];
                ASSERT_EQ(hero_frame(), k);
                const float X = side == 0 ? L.ramp_end_x : L.mirror_width - L.ramp_end_x;
                const float cx = side == 0 ? X + 50 + 0.13666667f * rows[r].S : X - 10 - 0.13666667f * rows[r].S;
                expect_square(sprite_box(k), cx, rows[r].cy, rows[r].S);
                // Mirrored on side 0: the cell's right half shows on the left.
                EXPECT_TRUE(shows((int)cx - 20, (int)rows[r].cy, side == 0 ? sprite_right(k) : sprite_left(k)));
            }
        }
    }
    playing_at(0);
    game_basket_y = 478;
    paint();
    EXPECT_NEAR(sprite_box(3).cx(), 464.52f, 1.5f);
    game_basket_side = 1;
    paint();
    EXPECT_NEAR(sprite_box(3).cx(), 545.48f, 1.5f);
    // Between floors the basket passes the frames in between: half way up from floor 0
    // of a four-floor level it is at 0.29 of the reach, frame 1.
    playing_at(9);
    game_basket_y = (621.0f + 506.0f) * 0.5f;
    paint();
    EXPECT_EQ(hero_frame(), 1);
    // The catch dip lowers the hero 3 pixels.
    game_basket_y = 621;
    paint();
    const int resting = sprite_box(0).y0;
    game_catch_timer = 5;
    paint();
    EXPECT_EQ(sprite_box(0).y0, resting + 3);
}

TEST(WorldHero, BlinkHurtTurnCheerAndGameOverFrames) {
    StandIns stand_ins;
    struct Case {
        int phase, phase_timer, hurt, turn, frame;
    };
    const Case cases[] = {
        {PHASE_PLAYING, 0, 0, 0, 6},         {PHASE_PLAYING, 7, 0, 0, 6},   {PHASE_PLAYING, 8, 0, 0, 0},
        {PHASE_PLAYING, 230, 0, 0, 6},       {PHASE_PLAYING, 238, 0, 0, 0}, {PHASE_INTRO, 3, 0, 0, 6},
        {PHASE_PLAYING, 100, 10, 3, 15},     {PHASE_PLAYING, 100, 0, 3, 12}, {PHASE_INTRO, 100, 10, 0, 15},
        {PHASE_LEVEL_COMPLETE, 11, 10, 3, 13}, {PHASE_LEVEL_COMPLETE, 12, 0, 0, 14},
        {PHASE_VICTORY, 24, 10, 0, 13},      {PHASE_GAME_OVER, 29, 10, 0, 16}, {PHASE_GAME_OVER, 30, 0, 0, 17},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(testing::Message() << "phase " << c.phase << " at " << c.phase_timer);
        playing_at(9);
        game_basket_y = 621;
        game_state.phase = c.phase;
        game_state.phase_timer = c.phase_timer;
        game_hurt_timer = c.hurt;
        game_turn_timer = c.turn;
        paint();
        ASSERT_EQ(hero_frame(), c.frame);
        // Everything but the side view stands in the middle, unmirrored.
        if (c.frame >= 12) {
            expect_square(sprite_box(c.frame), 500, 418.8f, 540);
            EXPECT_TRUE(shows(480, 419, sprite_left(c.frame)));
        }
    }
}

TEST(WorldHens, StandOnTheirPerchesFacingTheMiddleBehindTheirNestFronts) {
    StandIns stand_ins;
    // One floor: hens at (193, 310) and (817, 310), 148 wide; the nest strips over rows
    // 356..385 hide their lower parts. The hero stands on the other side each time.
    playing_at(0);
    game_basket_side = 1;
    game_basket_y = 478;
    paint();
    const Box left = sprite_box(25, 29, PLAY_X0, 480);
    EXPECT_NEAR(left.x0, 193 - 74, 2);
    EXPECT_NEAR(left.x1 + 1, 193 + 74, 2);
    EXPECT_NEAR(left.y0, 310 - 74, 2);
    EXPECT_NEAR(left.y1 + 1, 356, 2);
    game_basket_side = 0;
    paint();
    const Box right = sprite_box(25, 29, 500, 480);
    EXPECT_NEAR(right.cx(), 817, 2);
    EXPECT_NEAR(right.y0, 310 - 74, 2);
    // Facing the middle: the right-hand hen mirrored.
    auto hen_half = [](int x, int y, bool right_half) {
        for (int id = 25; id <= 29; id++)
            if (shows(x, y, right_half ? sprite_right(id) : sprite_left(id))) return true;
        return false;
    };
    EXPECT_TRUE(hen_half(790, 300, true) && hen_half(845, 300, false));
    // Four floors: a hen on every perch on both sides.
    playing_at(9);
    game_basket_y = 621;
    const LevelLayout &L = game_layouts[3];
    paint();
    for (int f = 0; f < 4; f++) {
        EXPECT_TRUE(hen_half((int)(L.hen_x - 2), (int)L.perch_y[f] + 10, false)) << f;
        EXPECT_TRUE(hen_half((int)(L.mirror_width - L.hen_x - 18), (int)L.perch_y[f] + 10, true)) << f;
    }
}

TEST(WorldHens, LayIdleAndFlapInTheirPoses) {
    StandIns stand_ins;
    playing_at(0);
    game_basket_side = 1;
    game_basket_y = 478;
    auto pose = [] {
        paint();
        for (int id = 25; id <= 29; id++)
            if (shows(170, 300, sprite_left(id))) return id;
        return -1;
    };
    // Laying: 40 pose 27, 39..35 pose 28, 34..30 pose 27, ... 4..1 pose 27.
    const int laying[][2] = {{40, 27}, {39, 28}, {35, 28}, {34, 27}, {30, 27}, {29, 28}, {5, 28}, {4, 27}, {1, 27}};
    for (const auto &c : laying) {
        game_hen_timers[0] = c[0];
        EXPECT_EQ(pose(), c[1]) << "hen timer " << c[0];
    }
    game_hen_timers[0] = 0;
    // The idle cycle of the left hen on the lowest floor of level 1 starts at 0.
    const int idle[][2] = {{0, 26},   {49, 26},  {50, 25},  {301, 29}, {307, 29}, {308, 25},
                           {441, 26}, {469, 26}, {470, 25}, {600, 26}, {649, 26}, {650, 25}};
    for (const auto &c : idle) {
        game_state.phase_timer = c[0];
        EXPECT_EQ(pose(), c[1]) << "phase timer " << c[0];
    }
    // In the victory every hen flaps in 6-tick steps, laying or not.
    game_state.phase = PHASE_VICTORY;
    game_hen_timers[0] = 40;
    game_state.phase_timer = 0;
    EXPECT_EQ(pose(), 27);
    game_state.phase_timer = 6;
    EXPECT_EQ(pose(), 28);
}

TEST(WorldItems, EggsSplatsAndChicksWhereTheirRecordsSayClippedToThePlayArea) {
    StandIns stand_ins;
    playing_at(0);
    game_basket_side = 1;
    game_basket_y = 478;
    const std::vector<uint32_t> empty = paint();

    // Each kind its own sprite, 72 wide, centred on the egg.
    for (int kind = 0; kind < 4; kind++) {
        game_eggs[5] = Egg{1, 0, 0, kind, 0, 0.5f, 400.0f, 200.0f, 0.0f, 0.0f};
        paint();
        expect_square(sprite_box(31 + kind), 400, 200, 72);
    }
    // A golden egg glows: just outside the egg the picture brightens.
    game_eggs[5].kind = EGG_NORMAL;
    paint();
    const Rgb plain = pixel(356, 200);
    game_eggs[5].kind = EGG_GOLDEN;
    paint();
    const Rgb glowing = pixel(356, 200);
    EXPECT_TRUE(glowing.r >= plain.r && glowing.g >= plain.g && glowing.b >= plain.b);
    EXPECT_GT(glowing.r + glowing.g + glowing.b, plain.r + plain.g + plain.b + 60);
    // Across the play area's left edge an egg is cut at x 20.
    game_eggs[5] = Egg{1, 0, 0, EGG_NORMAL, 1, 1.0f, 30.0f, 500.0f, 1.0f, 0.0f};
    EXPECT_EQ(diff_count(paint(), empty, 0, 0, 20, 736), 0);
    EXPECT_EQ(sprite_box(31).x0, 20);
    // Records not in use, or of a kind that does not exist, draw nothing.
    game_eggs[5].kind = 4;
    EXPECT_EQ(diff_count(paint(), empty, 0, 0, 1000, 736), 0);
    game_eggs[5].kind = EGG_NORMAL;
    game_eggs[5].active = 0;
    EXPECT_EQ(diff_count(paint(), empty, 0, 0, 1000, 736), 0);

    // Splats at y 632, 110 wide, fading over their last 40 ticks.
    game_splats[2] = Splat{41, 300.0f};
    paint();
    expect_square(sprite_box(35), 300, 632, 110);
    game_splats[2].timer = 20;
    const std::vector<uint32_t> faded = paint();
    EXPECT_TRUE(sprite_box(35).empty());
    EXPECT_GT(diff_count(faded, empty, 245, 577, 110, 110), 10000);
    game_splats[2].timer = 0;

    // Chicks: two frames of 6 ticks, the second 3 pixels higher; walking left mirrored.
    game_chicks[1] = Chick{1, 1, 0, 300.0f};
    paint();
    expect_square(sprite_box(36), 300, 636, 84);
    EXPECT_TRUE(shows(280, 636, sprite_left(36)));
    game_chicks[1].ticks = 6;
    game_chicks[1].side = 0;
    paint();
    expect_square(sprite_box(37), 300, 633, 84);
    EXPECT_TRUE(shows(280, 633, sprite_right(37)));
}

TEST(WorldVictory, ConfettiAndVictoryEggsOnlyInTheVictoryAndOnlyInThePlayArea) {
    StandIns stand_ins;
    playing_at(14);
    game_basket_y = 621;
    game_state.phase = PHASE_VICTORY;
    const std::vector<uint32_t> bare = paint();

    // A stroke in the play area shows; one over the frame at the left does not.
    game_confetti[0] = ConfettiParticle{600.0f, 120.0f, 0, 1, 0.0f, 0, 1};
    game_confetti[1] = ConfettiParticle{8.0f, 300.0f, 0, 1, 0.0f, 0, 1};
    const Box stroke = diff_box(paint(), bare, 0, 0, 1000, 736);
    EXPECT_NEAR(stroke.x0, 593, 1);  // half-length 7 for the first stroke, 6 wide
    EXPECT_NEAR(stroke.x1 + 1, 607, 1);
    EXPECT_NEAR(stroke.y0, 117, 1);
    EXPECT_NEAR(stroke.y1 + 1, 123, 1);
    // In any other phase the world painter draws no confetti.
    game_state.phase = PHASE_PLAYING;
    const std::vector<uint32_t> playing = paint();
    std::memset(game_confetti, 0, sizeof game_confetti);
    EXPECT_EQ(diff_count(paint(), playing, 0, 0, 1000, 736), 0);
    game_state.phase = PHASE_VICTORY;

    // Looks 0..5 are white eggs tinted (here pink, 255 150 190); 6 painted, 7 golden;
    // each sways by 14 sin(phase).
    game_victory_eggs[3] = VictoryEgg{300.0f, 200.0f, 2.0f, 0.0f, 0, 1};
    paint();
    EXPECT_TRUE(shows(290, 200, Rgb{sprite_left(31).r, 0, 190}));
    game_victory_eggs[3].phase = 1.5707964f;
    for (int kind : {6, 7}) {
        game_victory_eggs[3].kind = kind;
        paint();
        EXPECT_NEAR(sprite_box(kind == 6 ? 33 : 32).cx(), 314, 1.5) << kind;
    }
    game_victory_eggs[3].kind = 8;  // no such look
    EXPECT_EQ(diff_count(paint(), bare, 0, 0, 1000, 736), 0);
}

TEST(WorldHud, NumbersAndIcons) {
    StandIns stand_ins;
    playing_at(0);
    game_state.score = 12345;
    game_state.caught = 7;
    paint();
    // The score in the stand-in font (flat white cells) from (22, 24) at 1.45 times the
    // small size; the count right-aligned at 900, white until the target, then gold.
    const Rgb white = {255, 255, 255}, gold = {255, 226, 120};
    const Box score = colour_box(white, 0, 0, 400, 70, 0);
    EXPECT_NEAR(score.x0, 22, 1);
    EXPECT_NEAR(score.x1 + 1, 22 + gfx_font_width("12345", FONT_SMALL) * 1.45f, 1.5);
    EXPECT_NEAR(score.y0, 24, 1);
    EXPECT_NEAR(score.y1 + 1, 24 + 28 * 1.45f, 1.5);
    const Box count = colour_box(white, 600, 0, 330, 70, 0);
    EXPECT_NEAR(count.x1 + 1, 900, 1);
    EXPECT_NEAR(count.x0, 900 - gfx_font_width("7 / 20", FONT_SMALL) * 1.45f, 1.5);
    game_state.caught = 20;
    paint();
    EXPECT_TRUE(colour_box(white, 600, 0, 330, 70, 0).empty());
    EXPECT_NEAR(colour_box(gold, 600, 0, 330, 70, 0).x1 + 1, 900, 1);
    // The egg icon at (946, 30), 46 wide.
    const Box icon = colour_box(sprite_left(31), 900, 0, 100, 60);
    EXPECT_NEAR(icon.x0, 946 - 23, 1.5);
    EXPECT_NEAR(icon.y0, 30 - 23, 1.5);

    // One life icon per life, at most five.
    for (int lives : {0, 1, 3, 5, 7}) {
        game_state.lives = lives;
        paint();
        for (int i = 0; i < 6; i++)
            EXPECT_EQ(shows(208 + 30 * i, 30, sprite_left(18)), i < std::min(lives, 5)) << lives << " lives, " << i;
    }

    // The slow-motion icon while the slow timer runs: 34 wide at phase tick 0, blinking
    // to alpha 90 in 8-tick halves over its last 90 ticks.
    game_state.phase_timer = 0;
    for (int timer : {0, 200, 89, 80, 72}) {
        game_slow_timer = timer;
        paint();
        EXPECT_EQ(shows(850, 90, sprite_left(33)), timer > 0 && (timer >= 90 || (timer & 8) == 0)) << timer;
    }
    game_slow_timer = 200;
    paint();
    expect_square(join(colour_box(sprite_left(33), 800, 60, 120, 60), colour_box(sprite_right(33), 800, 60, 120, 60)),
                  860, 90, 34);
}

TEST(WorldNotices, MessageExtraLifeAndTheIntroAndLevelCompleteBanners) {
    playing_at(0);
    game_basket_y = 478;
    const std::vector<uint32_t> quiet = paint();

    // The message, centred below the play area's top while its timer runs, fading over
    // its last 30 ticks.
    game_message_id = STR_MSG_SMASHED;
    game_state.message_timer = 50;
    const std::vector<uint32_t> message = paint();
    const Box text = diff_box(message, quiet, 0, 0, 1000, 736);
    EXPECT_NEAR(text.cx(), 500, 3);
    EXPECT_GE(text.y0, 75);
    EXPECT_LE(text.y1, 115);
    game_state.message_timer = 15;
    const std::vector<uint32_t> fading = paint();
    EXPECT_GT(diff_count(fading, message, 0, 0, 1000, 736), 100);
    EXPECT_EQ(diff_box(fading, quiet, 0, 0, 1000, 736).y0, text.y0);
    for (int id : {-1, 33, 1000}) {  // no slot, or none that exists
        game_message_id = id;
        EXPECT_EQ(diff_count(paint(), quiet, 0, 0, 1000, 736), 0) << "message " << id;
    }
    game_state.message_timer = 0;

    // The extra-life notice rises a pixel every four ticks from y 110.
    game_state.extra_life_timer = 120;
    const Box high = diff_box(paint(), quiet, 0, 0, 1000, 736);
    game_state.extra_life_timer = 31;
    const Box risen = diff_box(paint(), quiet, 0, 0, 1000, 736);
    EXPECT_EQ(high.y0 - risen.y0, 22);
    game_state.extra_life_timer = 0;

    // The intro banner for the whole intro, rows 240..389; the level-complete banner from
    // phase tick 31, rows 240..359, its bonus line while bonus is left to count.
    game_state.phase = PHASE_INTRO;
    for (int t : {0, 150}) {
        game_state.phase_timer = t;
        paint();
        EXPECT_TRUE(panel_at(240, 150)) << t;
    }
    game_state.phase = PHASE_LEVEL_COMPLETE;
    game_state.phase_timer = 30;
    paint();
    EXPECT_FALSE(panel_at(240, 120));
    game_state.phase_timer = 31;
    const std::vector<uint32_t> no_bonus = paint();
    EXPECT_TRUE(panel_at(240, 120));
    game_state.bonus = 1100;
    const Box bonus = diff_box(paint(), no_bonus, 0, 0, 1000, 736);
    EXPECT_NEAR(bonus.cx(), 500, 3);
    EXPECT_GE(bonus.y0, 305);
    EXPECT_LE(bonus.y1, 345);
}

TEST(WorldPainting, ReadsTheGameWithoutChangingItAndLeavesTheRendererClean) {
    auto check = [](const char *what) {
        SCOPED_TRACE(what);
        const std::vector<unsigned char> before = globals_bytes();
        clear();
        gfx_draw_play_screen();
        EXPECT_EQ(globals_bytes(), before);
        EXPECT_FALSE(SDL_RenderIsClipEnabled(gfx_renderer));
        Uint8 r = 0, g = 0, b = 0;
        SDL_GetTextureColorMod(gfx_background_thumbnail(game_state.level), &r, &g, &b);
        EXPECT_EQ(r + g + b, 3 * 255);
    };
    playing_at(9);
    for (int i = 0; i < 24; i++)
        game_eggs[i] = Egg{1, i % 2, i % 4, i % 4, i % 3 == 0, 0.5f, 300.0f + 20 * i, 400, 1, 30};
    for (int i = 0; i < 6; i++) {
        game_splats[i] = Splat{30 + i, 100.0f + 150 * i};
        game_chicks[i] = Chick{1, i % 2, i, 100.0f + 150 * i};
    }
    game_state.message_timer = 40;
    game_message_id = STR_MSG_GOLDEN;
    game_state.extra_life_timer = 60;
    game_slow_timer = 50;
    check("playing, everything on");
    game_state.phase = PHASE_LEVEL_COMPLETE;
    game_state.phase_timer = 200;
    game_state.bonus = 300;
    check("level complete");
    game_state.phase = PHASE_GAME_OVER;
    app_paused = 1;
    check("game over, paused");
    game_state.phase = PHASE_VICTORY;
    srand(5);
    for (int i = 0; i < 300; i++) game_update_confetti();
    for (int i = 0; i < 40; i++)
        game_victory_eggs[i] = VictoryEgg{50.0f + 22 * i, 30.0f + 15 * i, 2, 0.1f * i, i % 8, 1};
    check("victory");
}

TEST(WorldPainting, AnyStateOfTheGlobalsAndMissingPicturesPaintWithoutFault) {
    // States the game rules never produce: every field anything at all, positions far
    // off the canvas. The painters must neither crash nor read past a table.
    ensure_renderer();
    std::mt19937 rng(20240401);
    std::uniform_int_distribution<int32_t> any_int(INT32_MIN, INT32_MAX), small_int(-300, 300);
    std::uniform_real_distribution<float> any_pos(-1.0e5f, 1.0e5f);
    auto i32 = [&] { return rng() % 2 ? any_int(rng) : small_int(rng); };
    auto pos = [&] { return any_pos(rng); };
    SDL_Texture *saved[4] = {gfx_atlas, gfx_atlas_additive, gfx_font_small, gfx_font_large};
    for (int round = 0; round < 40; round++) {
        int32_t *fields = &game_state.phase;
        for (int i = 0; i < 11; i++) fields[i] = i32();
        for (Egg &e : game_eggs) e = Egg{i32(), i32(), i32(), i32(), i32(), pos(), pos(), pos(), pos(), pos()};
        for (Splat &s : game_splats) s = Splat{i32(), pos()};
        for (Chick &c : game_chicks) c = Chick{i32(), i32(), i32(), pos()};
        for (int32_t &t : game_hen_timers) t = i32();
        for (VictoryEgg &v : game_victory_eggs) v = VictoryEgg{pos(), pos(), pos(), pos(), i32(), i32()};
        for (ConfettiParticle &p : game_confetti) p = ConfettiParticle{pos(), pos(), 0, 0, pos(), 0, i32()};
        game_basket_side = i32();
        game_basket_y = pos();
        game_catch_timer = i32();
        game_turn_timer = i32();
        game_hurt_timer = i32();
        game_slow_timer = i32();
        game_message_id = i32();
        app_paused = i32();
        app_frame = i32();
        for (HighScoreEntry &row : app_high_scores) {
            for (char &c : row.name) c = (char)(rng() & 0xFF);  // not even a NUL
            row.score = i32();
            row.level = i32();
        }
        // The last rounds without the atlas and font pictures, as if they failed to load.
        if (round == 30) gfx_atlas = gfx_atlas_additive = gfx_font_small = gfx_font_large = nullptr;
        clear();
        gfx_draw_play_screen();
        gfx_draw_title_screen();
    }
    gfx_atlas = saved[0];
    gfx_atlas_additive = saved[1];
    gfx_font_small = saved[2];
    gfx_font_large = saved[3];
    reset_world();
}
