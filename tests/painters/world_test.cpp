// Kestrune: the world painter and its head-up display. Placements are measured on the
// canvas with stand-in sprites of flat, known colours: the hero, hens, eggs, splats and
// chicks where the layout puts them, at their sizes, mirrored the right way and clipped
// to the play area; the head-up display's numbers, icons and notices.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstring>
#include <random>

#include "painters_support.h"

using namespace ptest;

namespace {

const int PLAY_X0 = 20, PLAY_Y0 = 60, PLAY_X1 = 979, PLAY_Y1 = 699;

// The box of a sprite's two colours within a part of the canvas, the play area if not said.
Box sprite_box(int id, int x = PLAY_X0, int y = PLAY_Y0, int w = 960, int h = 640) {
    const Box a = colour_box(sprite_left(id), x, y, w, h);
    const Box b = colour_box(sprite_right(id), x, y, w, h);
    if (a.empty()) return b;
    if (b.empty()) return a;
    return Box{std::min(a.x0, b.x0), std::min(a.y0, b.y0), std::max(a.x1, b.x1), std::max(a.y1, b.y1)};
}

// A square of the given side centred on (cx, cy), cut to the play area, within 2 pixels.
void expect_square(const Box &box, float cx, float cy, float size, const char *what) {
    SCOPED_TRACE(what);
    ASSERT_FALSE(box.empty());
    const float x0 = std::max<float>(cx - size / 2, PLAY_X0), x1 = std::min<float>(cx + size / 2, PLAY_X1 + 1);
    const float y0 = std::max<float>(cy - size / 2, PLAY_Y0), y1 = std::min<float>(cy + size / 2, PLAY_Y1 + 1);
    EXPECT_NEAR(box.x0, x0, 2.0);
    EXPECT_NEAR(box.x1 + 1, x1, 2.0);
    EXPECT_NEAR(box.y0, y0, 2.0);
    EXPECT_NEAR(box.y1 + 1, y1, 2.0);
}

void paint() {
    clear();
    gfx_draw_world();
}

// The box of a hen in any of its five poses.
Box hen_box(int x, int w) {
    Box box = {1 << 20, 1 << 20, -1, -1};
    for (int id = 25; id <= 29; id++) {
        const Box b = sprite_box(id, x, PLAY_Y0, w, 640);
        if (b.empty()) continue;
        box = Box{std::min(box.x0, b.x0), std::min(box.y0, b.y0), std::max(box.x1, b.x1), std::max(box.y1, b.y1)};
    }
    return box;
}

// Whether the pixel shows a hen's cell half, left or right, in any pose.
bool hen_half_at(int x, int y, bool right_half) {
    for (int id = 25; id <= 29; id++)
        if (near(pixel(x, y), right_half ? sprite_right(id) : sprite_left(id), 2)) return true;
    return false;
}

// The hero's side-view frame on the canvas: the frame id whose colours show, or -1.
int hero_frame_shown() {
    for (int id = 0; id <= 17; id++)
        if (colour_count(sprite_left(id), PLAY_X0, PLAY_Y0, 960, 640) > 1000) return id;
    return -1;
}

}  // namespace

TEST(WorldHero, SideViewStandsAtTheCatchPointOfEveryFloorWithItsFrame) {
    StandIns stand_ins;
    // Layout row, a level using it, and the side-view frame on each floor.
    struct Row {
        int level;
        float R, S, cy;
        int frames[4];
    };
    const Row rows[4] = {{0, 314, 428.18f, 472.47f, {3}},
                         {2, 436, 594.55f, 392.62f, {1, 4}},
                         {5, 429, 585.0f, 397.2f, {1, 3, 5}},
                         {9, 396, 540.0f, 418.8f, {0, 2, 4, 5}}};
    for (int r = 0; r < 4; r++) {
        const LevelLayout &L = game_layouts[r];
        for (int f = 0; f < L.floors; f++) {
            for (int side = 0; side < 2; side++) {
                SCOPED_TRACE(testing::Message() << "row " << r << " floor " << f << " side " << side);
                playing_at(rows[r].level);
                game_basket_floor = f;
                game_basket_side = side;
                game_basket_y = L.catch_y[f] + 76;
                paint();
                const int k = rows[r].frames[f];
                EXPECT_EQ(hero_frame_shown(), k);
                const float S = rows[r].S;
                const float X = side == 0 ? L.ramp_end_x : L.mirror_width - L.ramp_end_x;
                const float cx = side == 0 ? X + 50 + 0.13666667f * S : X - 10 - 0.13666667f * S;
                expect_square(sprite_box(k), cx, rows[r].cy, S, "hero square");
                // Facing the basket's side: mirrored on side 0, so the cell's right half
                // shows on the left.
                const Rgb left_of_centre = pixel((int)cx - 20, (int)rows[r].cy);
                EXPECT_TRUE(near(left_of_centre, side == 0 ? sprite_right(k) : sprite_left(k), 2));
            }
        }
    }
    // One floor: the centre x of the hero with the basket on either side.
    playing_at(0);
    game_basket_y = 478;
    paint();
    EXPECT_NEAR(sprite_box(3).cx(), 464.52f, 1.5f);
    game_basket_side = 1;
    paint();
    EXPECT_NEAR(sprite_box(3).cx(), 545.48f, 1.5f);
}

TEST(WorldHero, BlinksEasesThroughFramesAndShowsHurtTurnCheerAndGameOver) {
    StandIns stand_ins;
    playing_at(9);
    game_basket_y = game_layouts[3].catch_y[0] + 76;
    // A blink of 8 ticks at the start of every 230.
    for (int t : {0, 7, 230, 237}) {
        game_state.phase_timer = t;
        paint();
        EXPECT_EQ(hero_frame_shown(), 6) << "phase_timer " << t;
    }
    for (int t : {8, 229, 238}) {
        game_state.phase_timer = t;
        paint();
        EXPECT_EQ(hero_frame_shown(), 0) << "phase_timer " << t;
    }
    // Half way between floors 0 and 1 the basket is at 0.29 of the reach: frame 1.
    game_state.phase_timer = 100;
    game_basket_y = (621.0f + 506.0f) * 0.5f;
    paint();
    EXPECT_EQ(hero_frame_shown(), 1);
    // The catch dip lowers the hero 3 pixels.
    game_basket_y = 621.0f;
    paint();
    const Box resting = sprite_box(0);
    game_catch_timer = 5;
    paint();
    EXPECT_EQ(sprite_box(0).y0, resting.y0 + 3);
    game_catch_timer = 0;

    // Hurt before turning; both face the viewer from the middle, unmirrored.
    const float S = 540.0f, cy = 418.8f;
    game_hurt_timer = 10;
    game_turn_timer = 3;
    paint();
    EXPECT_EQ(hero_frame_shown(), 15);
    expect_square(sprite_box(15), 500, cy, S, "hurt");
    game_hurt_timer = 0;
    paint();
    EXPECT_EQ(hero_frame_shown(), 12);
    EXPECT_TRUE(near(pixel(480, (int)cy), sprite_left(12), 2));

    // Outside the intro and the play, hurt and turn are not shown.
    game_hurt_timer = 10;
    game_state.phase = PHASE_LEVEL_COMPLETE;
    for (int t : {0, 11, 12, 24}) {
        game_state.phase_timer = t;
        paint();
        EXPECT_EQ(hero_frame_shown(), 13 + (t / 12) % 2) << "cheering at " << t;
    }
    expect_square(sprite_box(13), 500, cy, S, "cheering");
    game_state.phase = PHASE_VICTORY;
    game_state.phase_timer = 12;
    paint();
    EXPECT_EQ(hero_frame_shown(), 14);
    game_state.phase = PHASE_GAME_OVER;
    for (int t : {0, 29, 30, 60}) {
        game_state.phase_timer = t;
        paint();
        EXPECT_EQ(hero_frame_shown(), 16 + (t / 30) % 2) << "game over at " << t;
    }
    expect_square(sprite_box(16), 500, cy, S, "game over");
}

TEST(WorldHens, StandOnTheirPerchesFacingTheMiddleBehindTheirNestFronts) {
    StandIns stand_ins;
    // One floor: hens at (193, 310) and (817, 310), 148 wide; the nest strips of rows
    // 356..385 cover their lower parts. The hero stands on the other side each time.
    playing_at(0);
    game_basket_side = 1;
    game_basket_y = 478;
    paint();
    Box hen = hen_box(PLAY_X0, 480);
    EXPECT_NEAR(hen.x0, 193 - 74, 2);
    EXPECT_NEAR(hen.x1 + 1, 193 + 74, 2);
    EXPECT_NEAR(hen.y0, 310 - 74, 2);
    EXPECT_NEAR(hen.y1 + 1, 356, 2);  // the nest front starts here
    EXPECT_TRUE(hen_half_at(170, 300, false));
    EXPECT_FALSE(hen_half_at(170, 370, false) || hen_half_at(170, 370, true));
    game_basket_side = 0;
    paint();
    hen = hen_box(500, 480);
    EXPECT_NEAR(hen.cx(), 817, 2);
    EXPECT_NEAR(hen.y0, 310 - 74, 2);
    // Mirrored: the cell's right half shows on the left.
    EXPECT_TRUE(hen_half_at(790, 300, true));
    EXPECT_TRUE(hen_half_at(845, 300, false));

    // Four floors: a hen on every perch on both sides.
    playing_at(9);
    game_basket_y = 621;
    const LevelLayout &L = game_layouts[3];
    paint();
    for (int f = 0; f < 4; f++) {
        EXPECT_TRUE(hen_half_at((int)(L.hen_x + 28 - 30), (int)L.perch_y[f] + 10, false)) << f;
        EXPECT_TRUE(hen_half_at((int)(L.mirror_width - L.hen_x + 12 - 30), (int)L.perch_y[f] + 10, true)) << f;
    }
}

TEST(WorldHens, LayIdleAndFlapInTheirPoses) {
    StandIns stand_ins;
    playing_at(0);
    game_basket_side = 1;
    game_basket_y = 478;
    auto pose = [] {
        paint();
        for (int id : {25, 26, 27, 28, 29})
            if (near(pixel(170, 300), sprite_left(id), 2)) return id;
        return -1;
    };
    // Laying: 40 pose 27, 39..35 pose 28, 34..30 pose 27, ... 4..1 pose 27.
    const int timers[] = {40, 39, 35, 34, 30, 29, 5, 4, 1};
    const int poses[] = {27, 28, 28, 27, 27, 28, 28, 27, 27};
    for (int i = 0; i < 9; i++) {
        game_hen_timers[0] = timers[i];
        EXPECT_EQ(pose(), poses[i]) << "timer " << timers[i];
    }
    game_hen_timers[0] = 0;
    // The idle cycle of the left hen on the lowest floor of level 1 starts at 0.
    const int ticks[] = {0, 49, 50, 300, 301, 307, 308, 440, 441, 469, 470, 599, 600, 649};
    const int idle[] = {26, 26, 25, 25, 29, 29, 25, 25, 26, 26, 25, 25, 26, 26};
    for (int i = 0; i < 14; i++) {
        game_state.phase_timer = ticks[i];
        EXPECT_EQ(pose(), idle[i]) << "phase_timer " << ticks[i];
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
    paint();
    const std::vector<uint32_t> empty = snapshot();

    // Each kind its own sprite, 72 wide, centred on the egg; turned by its angle.
    for (int kind = 0; kind < 4; kind++) {
        game_eggs[5] = Egg{1, 0, 0, kind, 0, 0.5f, 400.0f, 200.0f, 0.0f, 0.0f};
        paint();
        expect_square(sprite_box(31 + kind), 400, 200, 72, "egg");
    }
    game_eggs[5].kind = EGG_NORMAL;
    game_eggs[5].angle = 45.0f;
    paint();
    EXPECT_NEAR(sprite_box(31).w(), 72 * std::sqrt(2.0f), 3);
    // A golden egg glows: the ring just outside the egg brightens.
    game_eggs[5].angle = 0.0f;
    paint();
    const Rgb plain = pixel(356, 200);
    game_eggs[5].kind = EGG_GOLDEN;
    paint();
    const Rgb glowing = pixel(356, 200);
    EXPECT_TRUE(glowing.r >= plain.r && glowing.g >= plain.g && glowing.b >= plain.b);
    EXPECT_GT(glowing.r + glowing.g + glowing.b, plain.r + plain.g + plain.b + 60);
    // An egg across the play area's left edge is cut at x 20; nothing left of it.
    game_eggs[5] = Egg{1, 0, 0, EGG_NORMAL, 1, 1.0f, 30.0f, 500.0f, 1.0f, 0.0f};
    paint();
    EXPECT_EQ(diff_count(snapshot(), empty, 0, 0, 20, 736), 0);
    EXPECT_EQ(sprite_box(31).x0, 20);
    // An inactive record draws nothing, whatever else it holds.
    game_eggs[5].active = 0;
    paint();
    EXPECT_EQ(diff_count(snapshot(), empty, 0, 0, 1000, 736), 0);

    // Splats at y 632, 110 wide, fading over their last 40 ticks.
    game_splats[2] = Splat{41, 300.0f};
    paint();
    expect_square(sprite_box(35), 300, 632, 110, "splat");
    game_splats[2].timer = 20;
    paint();
    EXPECT_TRUE(sprite_box(35).empty());
    EXPECT_GT(diff_count(snapshot(), empty, 245, 577, 110, 110), 10000);
    game_splats[2].timer = 0;

    // Chicks: two frames of 6 ticks, the second 3 pixels higher; walking left mirrored.
    game_chicks[1] = Chick{1, 1, 0, 300.0f};
    paint();
    expect_square(sprite_box(36), 300, 636, 84, "chick");
    EXPECT_TRUE(near(pixel(280, 636), sprite_left(36), 2));
    game_chicks[1].ticks = 6;
    paint();
    expect_square(sprite_box(37), 300, 633, 84, "hopping chick");
    game_chicks[1].side = 0;
    paint();
    EXPECT_TRUE(near(pixel(280, 633), sprite_right(37), 2));
}

TEST(WorldVictory, ConfettiAndVictoryEggsOnlyInTheVictoryAndOnlyInThePlayArea) {
    StandIns stand_ins;
    playing_at(14);
    game_basket_y = 621;
    game_state.phase = PHASE_VICTORY;
    game_state.phase_timer = 100;
    paint();
    const std::vector<uint32_t> bare = snapshot();

    // A stroke in the play area shows; one over the frame at the left does not.
    game_confetti[0] = ConfettiParticle{600.0f, 120.0f, 0, 1, 0.0f, 0, 1};
    game_confetti[1] = ConfettiParticle{8.0f, 300.0f, 0, 1, 0.0f, 0, 1};
    paint();
    const Box stroke = diff_box(snapshot(), bare, 0, 0, 1000, 736);
    EXPECT_NEAR(stroke.x0, 593, 1);  // half-length 7 for the first stroke
    EXPECT_NEAR(stroke.x1 + 1, 607, 1);
    EXPECT_NEAR(stroke.y0, 117, 1);
    EXPECT_NEAR(stroke.y1 + 1, 123, 1);
    // The same strokes in any other phase are not drawn by the world painter.
    game_state.phase = PHASE_PLAYING;
    paint();
    const std::vector<uint32_t> playing = snapshot();
    std::memset(game_confetti, 0, sizeof game_confetti);
    paint();
    EXPECT_EQ(diff_count(snapshot(), playing, 0, 0, 1000, 736), 0);
    game_state.phase = PHASE_VICTORY;

    // Victory eggs: six tinted white eggs, a painted and a golden one, swaying by 14 sin(phase).
    game_victory_eggs[3] = VictoryEgg{300.0f, 200.0f, 2.0f, 0.0f, 0, 1};
    paint();
    const Rgb tinted = pixel(290, 200);  // left half of sprite 31, times pink (255, 150, 190)
    EXPECT_TRUE(near(tinted, Rgb{sprite_left(31).r, 0, 190}, 2)) << tinted.r << " " << tinted.g << " " << tinted.b;
    game_victory_eggs[3].phase = 1.5707964f;
    game_victory_eggs[3].kind = 6;
    paint();
    const float turned = 72 * (std::cos(0.31415927f) + std::sin(0.31415927f));  // 18 degrees
    expect_square(sprite_box(33), 314, 200, turned, "painted victory egg, turned");
    game_victory_eggs[3].kind = 7;
    paint();
    EXPECT_FALSE(sprite_box(32).empty());
    game_victory_eggs[3].kind = 9;  // no such look: nothing
    paint();
    EXPECT_EQ(diff_count(snapshot(), bare, 0, 0, 1000, 736), 0);
}

TEST(WorldHud, NumbersIconsAndTheSlowMotionIcon) {
    StandIns stand_ins;
    playing_at(0);
    game_state.score = 12345;
    game_state.caught = 7;
    game_state.lives = 3;
    paint();
    // The score in the stand-in font: flat white cells from (22, 24), 1.45 times the size.
    const Rgb white = {255, 255, 255};
    Box score = colour_box(white, 0, 0, 400, 70, 0);
    EXPECT_NEAR(score.x0, 22, 1);
    EXPECT_NEAR(score.x1 + 1, 22 + gfx_font_width("12345", FONT_SMALL) * 1.45f, 1.5);
    EXPECT_NEAR(score.y0, 24, 1);
    EXPECT_NEAR(score.y1 + 1, 24 + 28 * 1.45f, 1.5);
    // The count right-aligned at 900, white until the target is reached, then gold.
    Box count = colour_box(white, 600, 0, 330, 70, 0);
    EXPECT_NEAR(count.x1 + 1, 900, 1);
    EXPECT_NEAR(count.x0, 900 - gfx_font_width("7 / 20", FONT_SMALL) * 1.45f, 1.5);
    game_state.caught = 20;
    paint();
    EXPECT_TRUE(colour_box(white, 600, 0, 330, 70, 0).empty());
    EXPECT_NEAR(colour_box(Rgb{255, 226, 120}, 600, 0, 330, 70, 0).x1 + 1, 900, 1);
    // The egg icon beside it.
    const Box icon = colour_box(sprite_left(31), 900, 0, 100, 60);
    EXPECT_NEAR(icon.x0, 946 - 23, 1.5);
    EXPECT_NEAR(icon.y0, 30 - 23, 1.5);

    // One life icon per life, at most five.
    for (int lives : {0, 1, 3, 5, 7}) {
        game_state.lives = lives;
        paint();
        for (int i = 0; i < 6; i++)
            EXPECT_EQ(near(pixel(214 + 30 * i - 6, 30), sprite_left(18), 2), i < std::min(lives, 5))
                << lives << " lives, icon " << i;
    }

    // The slow-motion icon while the slow timer runs: 34 wide at phase tick 0, blinking
    // to alpha 90 in 8-tick halves over its last 90 ticks.
    game_state.phase_timer = 0;
    game_slow_timer = 0;
    paint();
    EXPECT_FALSE(near(pixel(850, 90), sprite_left(33), 2));
    game_slow_timer = 200;
    paint();
    const Box slow = colour_box(sprite_left(33), 800, 60, 120, 60);
    EXPECT_NEAR(slow.x0, 860 - 17, 1.5);
    EXPECT_NEAR(slow.y0, 90 - 17, 1.5);
    for (int timer : {89, 80, 72}) {  // bit 8 set in 89 and 72
        game_slow_timer = timer;
        paint();
        EXPECT_EQ(near(pixel(850, 90), sprite_left(33), 2), (timer & 8) == 0) << "slow timer " << timer;
    }
}

TEST(WorldNotices, MessageExtraLifeAndTheIntroAndLevelCompleteBanners) {
    playing_at(0);
    game_basket_y = 478;
    paint();
    const std::vector<uint32_t> quiet = snapshot();

    // The message stands centred below the play area's top while its timer runs.
    game_message_id = STR_MSG_SMASHED;
    game_state.message_timer = 50;
    paint();
    const std::vector<uint32_t> message = snapshot();
    const Box text = diff_box(message, quiet, 0, 0, 1000, 736);
    ASSERT_FALSE(text.empty());
    EXPECT_NEAR(text.cx(), 500, 3);
    EXPECT_GE(text.y0, 75);
    EXPECT_LE(text.y1, 115);
    // Fading over the last 30 ticks: the same place, fainter.
    game_state.message_timer = 15;
    paint();
    const std::vector<uint32_t> fading = snapshot();
    EXPECT_GT(diff_count(fading, message, 0, 0, 1000, 736), 100);
    EXPECT_GT(diff_count(fading, quiet, 0, 0, 1000, 736), 100);
    // No message without a timer, with no slot, or with a slot that does not exist.
    for (int id : {-1, 33, 1000}) {
        game_message_id = id;
        game_state.message_timer = 50;
        paint();
        EXPECT_EQ(diff_count(snapshot(), quiet, 0, 0, 1000, 736), 0) << "message " << id;
    }
    game_message_id = STR_MSG_SMASHED;
    game_state.message_timer = 0;
    paint();
    EXPECT_EQ(diff_count(snapshot(), quiet, 0, 0, 1000, 736), 0);

    // The extra-life notice rises a pixel every four ticks from y 110.
    game_state.extra_life_timer = 120;
    paint();
    const Box high = diff_box(snapshot(), quiet, 0, 0, 1000, 736);
    game_state.extra_life_timer = 31;
    paint();
    const Box risen = diff_box(snapshot(), quiet, 0, 0, 1000, 736);
    EXPECT_EQ(high.y0 - risen.y0, 22);
    game_state.extra_life_timer = 0;

    // The intro banner for the whole intro, rows 240..389 with gold edges.
    auto gold_edge = [](int y) {
        const Rgb c = pixel(10, y);
        return c.r > 180 && c.g > 140 && c.b > 70 && c.b < 160;
    };
    game_state.phase = PHASE_INTRO;
    for (int t : {0, 150}) {
        game_state.phase_timer = t;
        paint();
        EXPECT_TRUE(gold_edge(240) && gold_edge(241) && gold_edge(388) && gold_edge(389)) << t;
        EXPECT_FALSE(gold_edge(239) || gold_edge(390)) << t;
    }
    // The level-complete banner from phase tick 31, rows 240..359; the bonus line only
    // while there is bonus left to count.
    game_state.phase = PHASE_LEVEL_COMPLETE;
    game_state.bonus = 0;
    game_state.phase_timer = 30;
    paint();
    EXPECT_FALSE(gold_edge(240));
    game_state.phase_timer = 31;
    paint();
    EXPECT_TRUE(gold_edge(240) && gold_edge(359));
    const std::vector<uint32_t> no_bonus = snapshot();
    game_state.bonus = 1100;
    paint();
    const Box bonus = diff_box(snapshot(), no_bonus, 0, 0, 1000, 736);
    EXPECT_NEAR(bonus.cx(), 500, 3);
    EXPECT_GE(bonus.y0, 305);
    EXPECT_LE(bonus.y1, 345);
}

TEST(WorldPainting, ReadsTheGameWithoutChangingItAndLeavesTheRendererClean) {
    StandIns stand_ins;
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
    for (int i = 0; i < 24; i++) game_eggs[i] = Egg{1, i % 2, i % 4, i % 4, i % 3 == 0, 0.5f, 300.0f + 20 * i, 400, 1, 30};
    for (int i = 0; i < 6; i++) {
        game_splats[i] = Splat{30 + i, 100.0f + 150 * i};
        game_chicks[i] = Chick{1, i % 2, i, 100.0f + 150 * i};
    }
    game_state.message_timer = 40;
    game_message_id = STR_MSG_GOLDEN;
    game_state.extra_life_timer = 60;
    game_slow_timer = 50;
    check("playing, everything on");
    game_state.phase = PHASE_INTRO;
    check("intro");
    game_state.phase = PHASE_LEVEL_COMPLETE;
    game_state.phase_timer = 200;
    game_state.bonus = 300;
    check("level complete");
    game_state.phase = PHASE_GAME_OVER;
    app_paused = 1;
    check("game over, paused");
    app_paused = 0;
    game_state.phase = PHASE_VICTORY;
    srand(5);
    for (int i = 0; i < 300; i++) game_update_confetti();
    for (int i = 0; i < 40; i++) game_victory_eggs[i] = VictoryEgg{50.0f + 22 * i, 30.0f + 15 * i, 2, 0.1f * i, i % 8, 1};
    check("victory");
}

TEST(WorldPainting, AnyStateOfTheGlobalsPaintsWithoutFault) {
    // States the game rules never produce: every field anything at all, positions far
    // off the canvas. The painters must neither crash nor read past a table.
    std::mt19937 rng(20240401);
    std::uniform_int_distribution<int32_t> any_int(INT32_MIN, INT32_MAX);
    std::uniform_int_distribution<int32_t> small_int(-300, 300);
    std::uniform_real_distribution<float> any_pos(-1.0e5f, 1.0e5f);
    auto some_int = [&] { return rng() % 2 ? any_int(rng) : small_int(rng); };
    for (int round = 0; round < 40; round++) {
        int32_t *fields = &game_state.phase;
        for (int i = 0; i < 11; i++) fields[i] = some_int();
        for (Egg &e : game_eggs) e = Egg{some_int(), some_int(), some_int(), some_int(), some_int(), any_pos(rng), any_pos(rng), any_pos(rng), any_pos(rng), any_pos(rng)};
        for (Splat &s : game_splats) s = Splat{some_int(), any_pos(rng)};
        for (Chick &c : game_chicks) c = Chick{some_int(), some_int(), some_int(), any_pos(rng)};
        for (int32_t &t : game_hen_timers) t = some_int();
        for (VictoryEgg &v : game_victory_eggs) v = VictoryEgg{any_pos(rng), any_pos(rng), any_pos(rng), any_pos(rng), some_int(), some_int()};
        for (ConfettiParticle &p : game_confetti) p = ConfettiParticle{any_pos(rng), any_pos(rng), 0, 0, any_pos(rng), 0, some_int()};
        game_basket_side = some_int();
        game_basket_y = any_pos(rng);
        game_catch_timer = some_int();
        game_turn_timer = some_int();
        game_hurt_timer = some_int();
        game_slow_timer = some_int();
        game_message_id = some_int();
        app_paused = some_int();
        app_frame = some_int();
        for (HighScoreEntry &row : app_high_scores) {
            for (char &c : row.name) c = (char)(rng() & 0xFF);  // no NUL needed
            row.score = some_int();
            row.level = some_int();
        }
        clear();
        gfx_draw_play_screen();
        gfx_draw_title_screen();
    }
    reset_world();
}

TEST(WorldPainting, MissingPicturesDrawNothingAndDoNotFail) {
    ensure_renderer();
    SDL_Texture *saved[4] = {gfx_atlas, gfx_atlas_additive, gfx_font_small, gfx_font_large};
    gfx_atlas = gfx_atlas_additive = gfx_font_small = gfx_font_large = nullptr;
    playing_at(9);
    game_eggs[0] = Egg{1, 0, 0, EGG_GOLDEN, 0, 0.5f, 300, 300, 0, 10};
    game_state.phase = PHASE_VICTORY;
    game_victory_eggs[0] = VictoryEgg{400, 300, 2, 0, 7, 1};
    clear();
    gfx_draw_play_screen();
    gfx_draw_title_screen();
    gfx_atlas = saved[0];
    gfx_atlas_additive = saved[1];
    gfx_font_small = saved[2];
    gfx_font_large = saved[3];
}
