// Kestrune tests: the playing tick: basket control and easing, laying, rolling,
// catching, dropping and smashing, and the sounds each asks for.
#include "tests/game/game_fixture.h"

#include <cmath>
#include <cstring>

namespace {

using Effects = std::vector<unsigned>;

const PlayerInput kNone{};
const PlayerInput kUp = input_of_mask(INPUT_UP);
const PlayerInput kDown = input_of_mask(INPUT_DOWN);

// A basket height that the easing step takes exactly to `eased`: the step is monotonic,
// so walk one float at a time from an estimate.
float height_easing_to(float target, float eased) {
    float y = target + (eased - target) / 0.55f;
    for (int i = 0; i < 100000; ++i) {
        const float next = (target - y) * 0.45f + y;
        if (next == eased) return y;
        y = std::nextafter(y, next < eased ? 1e9f : -1e9f);
    }
    ADD_FAILURE() << "no start height eases to " << eased;
    return y;
}

int active_eggs() {
    int n = 0;
    for (const Egg &egg : game_eggs) n += egg.active != 0;
    return n;
}

}  // namespace

TEST_F(GameTest, BasketTurnsOnlyWhenOneSideIsHeld) {
    start_playing(2);
    game_spawn_countdown = 1000;
    tick(input_of_mask(INPUT_LEFT | INPUT_RIGHT));
    EXPECT_EQ(game_basket_side, 0);
    tick(input_of_mask(INPUT_RIGHT));
    EXPECT_EQ(game_basket_side, 1);
    EXPECT_EQ(game_turn_timer, 4);
    EXPECT_EQ(effects_at(2), Effects{SFX_BASKET_MOVE});
    tick(input_of_mask(INPUT_RIGHT));
    tick(input_of_mask(INPUT_LEFT | INPUT_RIGHT));
    EXPECT_EQ(game_basket_side, 1);
    EXPECT_EQ(count_effect(SFX_BASKET_MOVE), 1);
    game_hurt_timer = 30;
    tick(input_of_mask(INPUT_LEFT));
    EXPECT_EQ(game_basket_side, 0);
    EXPECT_EQ(game_hurt_timer, 0);  // a move clears the hurt pose
    game_hurt_timer = 30;
    tick();
    EXPECT_EQ(game_hurt_timer, 29);
}

TEST_F(GameTest, BasketChangesFloorOnPressesNotHolds) {
    start_playing(9);
    game_spawn_countdown = 100000;
    tick_n(20, kUp);
    EXPECT_EQ(game_basket_floor, 1);
    const PlayerInput sequence[] = {kNone, kUp, kNone, kUp, kNone, kUp};  // the last is at the top
    for (const PlayerInput &in : sequence) tick(in);
    EXPECT_EQ(game_basket_floor, 3);
    EXPECT_EQ(count_effect(SFX_BASKET_MOVE), 3);
    tick(kDown);
    tick(PlayerInput{0, 0, 0, -7, 0});  // still held
    EXPECT_EQ(game_basket_floor, 2);

    // Up and down in one tick: up first, then down.
    reset_process_state();
    start_playing(2);
    tick(input_of_mask(INPUT_UP | INPUT_DOWN));
    EXPECT_EQ(game_basket_floor, 0);
    EXPECT_EQ(count_effect(SFX_BASKET_MOVE), 0);
    tick(kNone);
    tick(kUp);
    tick(input_of_mask(INPUT_UP | INPUT_DOWN));  // up held, down pressed
    EXPECT_EQ(game_basket_floor, 0);

    // One floor: up and down never do anything.
    reset_process_state();
    start_playing(1);
    const PlayerInput alternating[] = {kUp, kNone, kDown, kNone};
    for (int i = 0; i < 40; ++i) tick(alternating[i % 4]);
    EXPECT_EQ(game_basket_floor, 0);
    EXPECT_EQ(count_effect(SFX_BASKET_MOVE), 0);
}

TEST_F(GameTest, PressesAreJudgedAgainstTheLastPlayingTickAcrossLevels) {
    for (int released_in_last_tick = 0; released_in_last_tick < 2; ++released_in_last_tick) {
        reset_process_state();
        start_playing(2);
        game_spawn_countdown = 100000;
        tick_n(10, kUp);
        ASSERT_EQ(game_basket_floor, 1);
        game_state.caught = game_state.target - 1;
        place_egg(0, 0, 1, EGG_NORMAL);
        tick(released_in_last_tick ? kNone : kUp);
        ASSERT_EQ(game_state.phase, PHASE_LEVEL_COMPLETE);
        // Up held through the bonus and the intro, both ended by action.
        const PlayerInput up_and_action = input_of_mask(INPUT_UP | INPUT_ACTION_A);
        while (game_state.phase != PHASE_PLAYING) tick(up_and_action);
        ASSERT_EQ(game_state.level, 3);
        ASSERT_EQ(game_basket_floor, 0);
        tick(kUp);
        EXPECT_EQ(game_basket_floor, released_in_last_tick ? 1 : 0);
    }
}

TEST_F(GameTest, BasketEasesToItsNewFloorWithinAFewTicks) {
    struct Case {
        int32_t level;
        int first_tick_within_30;
    };
    const Case cases[] = {{2, 4}, {5, 3}, {9, 3}};
    for (const Case &c : cases) {
        reset_process_state();
        start_playing(c.level);
        game_spawn_countdown = 100000;
        for (int t = 1; t <= 40; ++t) {
            tick(kUp);
            const float gap = std::fabs(game_basket_y - catch_height(1));
            EXPECT_EQ(gap < 30.0f, t >= c.first_tick_within_30) << c.level << " tick " << t;
        }
        EXPECT_LT(std::fabs(game_basket_y - catch_height(1)), 0.01f);
    }
}

TEST_F(GameTest, CatchNeedsSideFloorAndAHeightWithin30) {
    struct Case {
        float gap;  // eased basket height minus the catch height
        int32_t side;
        bool caught;
    };
    const Case cases[] = {{29.9f, 0, true},  {-29.9f, 0, true}, {30.0f, 0, false},
                          {-30.0f, 0, false}, {0.0f, 1, false}};
    for (const Case &c : cases) {
        reset_process_state();
        start_playing(0);
        game_spawn_countdown = 1000;
        const float target = catch_height(0);
        game_basket_y = height_easing_to(target, target + c.gap);
        place_egg(0, c.side, 0, EGG_NORMAL);
        tick();
        const Egg &egg = game_eggs[0];
        EXPECT_EQ(egg.active == 0, c.caught) << c.gap;
        EXPECT_EQ(game_state.caught, c.caught ? 1 : 0);
        EXPECT_EQ(game_catch_timer, c.caught ? 14 : 0);
        const Effects expected = c.caught ? Effects{SFX_RAMP_CLICK, SFX_CATCH} : Effects{SFX_RAMP_CLICK};
        EXPECT_EQ(effects_at(1), expected) << c.gap;
        if (!c.caught) {
            EXPECT_EQ(egg.falling, 1);
            EXPECT_EQ(egg.vy, 1.0f);
            EXPECT_NEAR(egg.x, c.side ? 634.0f : 376.0f, 1.0f);  // overshoots by under a step
            EXPECT_NEAR(egg.y, 402.0f + 42.0f, 1.0f);
        }
    }

    // A basket on another floor lets the egg drop, however close its height.
    reset_process_state();
    start_playing(9);
    game_spawn_countdown = 1000;
    place_egg(0, 0, 1, EGG_NORMAL);
    game_basket_y = catch_height(1);
    tick();
    EXPECT_EQ(game_eggs[0].falling, 1);
}

TEST_F(GameTest, EachKindOfEggScoresAndSoundsAsItShould) {
    struct Case {
        int32_t level, kind, points, caught_delta, lives_delta;
        unsigned effect;
        int32_t message, slow;
    };
    const Case cases[] = {
        {0, EGG_NORMAL, 10, 1, 0, SFX_CATCH, -1, 0},
        {14, EGG_NORMAL, 24, 1, 0, SFX_CATCH, -1, 0},
        {3, EGG_GOLDEN, 100, 1, 0, SFX_GOLDEN, 31, 0},
        {2, EGG_PAINTED, 12, 1, 0, SFX_PAINTED, 32, 480},
        {4, EGG_ROTTEN, 0, 0, -1, SFX_ROTTEN, 30, 0},
    };
    for (const Case &c : cases) {
        reset_process_state();
        start_playing(c.level);
        game_spawn_countdown = 1000;
        game_hurt_timer = 20;
        place_egg(0, 0, 0, c.kind);
        tick();
        EXPECT_EQ(game_state.score, c.points) << c.kind;
        EXPECT_EQ(game_state.caught, c.caught_delta);
        EXPECT_EQ(game_state.lives, 3 + c.lives_delta);
        EXPECT_EQ(game_message_id, c.message);
        EXPECT_EQ(game_state.message_timer, c.message < 0 ? 0 : 110);
        EXPECT_EQ(game_slow_timer, c.slow);
        EXPECT_EQ(game_catch_timer, 14);
        EXPECT_EQ(game_hurt_timer, 19);
        EXPECT_EQ(effects_at(1), (Effects{SFX_RAMP_CLICK, c.effect})) << c.kind;
    }

    // Catching a rotten egg with the last life ends the game.
    reset_process_state();
    start_playing(4);
    game_state.lives = 1;
    place_egg(0, 0, 0, EGG_ROTTEN);
    tick();
    EXPECT_EQ(game_state.phase, PHASE_GAME_OVER);
    EXPECT_EQ(game_message_id, 30);
    EXPECT_EQ(effects_at(1), (Effects{SFX_RAMP_CLICK, SFX_ROTTEN, SFX_GAME_OVER}));
}

TEST_F(GameTest, PaintedEggSlowsTheRampsFor479Ticks) {
    start_playing(2);
    game_spawn_countdown = 100000;
    place_egg(0, 0, 0, EGG_PAINTED);
    tick();
    ASSERT_EQ(game_slow_timer, 480);
    const float full = 1.0f / 139.0f;
    for (int t = 1; t <= 481; ++t) {
        Egg &probe = place_egg(1, 1, 0, EGG_NORMAL);
        probe.t = 0.0f;
        tick();
        const float step = game_eggs[1].t;
        if (t < 480) {
            ASSERT_NEAR(step, full * 0.55f, 1e-6f) << t;
        } else {
            ASSERT_NEAR(step, full, 1e-6f) << t;
        }
    }
}

TEST_F(GameTest, EggsAreLaidInThe60thPlayingTickAndThenByTheLevelsPause) {
    for (int32_t level = 0; level < GAME_LEVELS; ++level) {
        reset_process_state();
        start_playing(level);
        tick_n(59);
        ASSERT_EQ(active_eggs(), 0);
        tick();
        ASSERT_EQ(active_eggs(), 1) << level;
        EXPECT_EQ(effects_at(60), Effects{SFX_HEN_LAYS});
        const Egg &egg = game_eggs[0];
        EXPECT_LT(egg.floor, game_state.floors);
        EXPECT_EQ(game_hen_timers[egg.side * 4 + egg.floor], 40);
        EXPECT_EQ(game_last_hen, egg.side + 2 * egg.floor);
        const int base = level < 14 ? 100 - 5 * level : 30;
        const int pause = game_spawn_countdown;
        EXPECT_GE(pause, base);
        EXPECT_LT(pause, base + base / 2);
        tick_n(pause - 1);
        EXPECT_EQ(count_effect(SFX_HEN_LAYS), 1);
        tick();
        EXPECT_EQ(count_effect(SFX_HEN_LAYS), 2);
    }
}

TEST_F(GameTest, AnEggLeavesTheHenRollsAndClicksFiveTimesOnTheWayDown) {
    struct Case {
        int32_t level;
        bool slow;
        int ticks;  // from the laying tick (counted as the first) to the catch point
    };
    const Case cases[] = {{0, false, 169}, {14, false, 82}, {0, true, 306}, {14, true, 149}};
    for (const Case &c : cases) {
        reset_process_state();
        start_playing(c.level);
        if (c.slow) game_slow_timer = 1000000;
        tick_n(59);
        sound_log.clear();
        sound_clock = 0;
        tick();
        game_spawn_countdown = 100000;
        const Egg &egg = game_eggs[0];
        const LevelLayout &layout = game_layouts[game_level_layout[c.level]];
        const float mirror = egg.side ? layout.mirror_width : 0.0f;
        const float sign = egg.side ? -1.0f : 1.0f;
        // Just out of the nest, heading for the top of the ramp.
        EXPECT_NEAR(egg.x, mirror + sign * layout.hen_x + 20.0f, 8.0f);
        EXPECT_NEAR(egg.y, layout.perch_y[egg.floor] + 54.0f, 8.0f);
        int t = 1;
        while (egg.t < 1.0f && t < 1000) {
            if (egg.t < 0.0f) {
                EXPECT_EQ(count_effect(SFX_RAMP_CLICK), 0);
            }
            tick();
            ++t;
        }
        EXPECT_EQ(t, c.ticks) << c.level << (c.slow ? " slow" : "");
        EXPECT_EQ(count_effect(SFX_RAMP_CLICK), 5);
        EXPECT_EQ(effects_at(t).front(), (unsigned)SFX_RAMP_CLICK);
        EXPECT_NEAR(egg.x, mirror + sign * layout.ramp_end_x + 20.0f, 1.0f);
        EXPECT_NEAR(egg.y, layout.catch_y[egg.floor] + 42.0f, 1.0f);
    }
}

TEST_F(GameTest, HenChoiceAndEggKindsFollowTheLevel) {
    for (int32_t level = 0; level < GAME_LEVELS; ++level) {
        reset_process_state();
        srand(100 + level);
        start_playing(level);
        const int hens = 2 * game_state.floors;
        const int layings = 2000;
        int kinds[4] = {};
        int per_hen[8] = {};
        int repeats = 0;
        for (int i = 0; i < layings; ++i) {
            std::memset(game_eggs, 0, sizeof game_eggs);
            game_spawn_countdown = 1;
            const int32_t last = game_last_hen;
            tick();
            ASSERT_EQ(game_last_hen, game_eggs[0].side + 2 * game_eggs[0].floor);
            ASSERT_LT(game_last_hen, hens);
            repeats += game_last_hen == last;
            per_hen[game_last_hen] += 1;
            kinds[game_eggs[0].kind] += 1;
        }
        // The last hen lays again with chance 1 / (3n - 2); the others share the rest.
        EXPECT_NEAR((double)repeats / layings, 1.0 / (3 * hens - 2), 0.03) << level;
        for (int h = 0; h < hens; ++h) EXPECT_NEAR(per_hen[h], layings / hens, layings / 20) << h;
        EXPECT_NEAR(kinds[EGG_GOLDEN], 120, 40) << level;
        EXPECT_NEAR(kinds[EGG_PAINTED], level >= 2 ? 80 : 0, 35) << level;
        EXPECT_NEAR(kinds[EGG_ROTTEN], level >= 4 ? 180 : 0, 50) << level;
    }
}

TEST_F(GameTest, FullArraysCreateNothingButTheRulesGoOn) {
    // All 24 eggs busy: no egg, sound or hen timer, and no rand call for a kind.
    start_playing(0);
    for (int i = 0; i < GAME_MAX_EGGS; ++i) place_egg(i, i % 2, 0, EGG_NORMAL).t = 0.1f;
    game_spawn_countdown = 1;
    ConfettiParticle confetti[GAME_CONFETTI];
    std::memcpy(confetti, game_confetti, sizeof confetti);
    srand(5);
    tick();
    const int next = rand();
    EXPECT_EQ(count_effect(SFX_HEN_LAYS), 0);
    for (int32_t timer : game_hen_timers) EXPECT_EQ(timer, 0);
    EXPECT_NE(game_last_hen, -1);
    EXPECT_GE(game_spawn_countdown, 100);
    EXPECT_LT(game_spawn_countdown, 150);
    std::memcpy(game_confetti, confetti, sizeof confetti);
    srand(5);
    game_update_confetti();
    rand();  // hen
    rand();  // pause
    EXPECT_EQ(next, rand());

    // All splats and chicks busy: a smash still costs its life and shows its message.
    reset_process_state();
    start_playing(4);
    game_spawn_countdown = 1000;
    for (int i = 0; i < GAME_MAX_SPLATS; ++i) game_splats[i] = Splat{100, 10.0f};
    for (int i = 0; i < GAME_MAX_CHICKS; ++i) game_chicks[i] = Chick{1, 1, 0, 500.0f};
    game_eggs[0] = Egg{1, 0, 0, EGG_NORMAL, 1, 1.0f, 300.0f, 650.0f, 10.0f, 0.0f};
    tick();
    EXPECT_EQ(game_state.lives, 2);
    EXPECT_EQ(game_message_id, 29);
    EXPECT_EQ(game_hurt_timer, 50);
    for (const Splat &splat : game_splats) EXPECT_EQ(splat.timer, 99);
    for (const Chick &chick : game_chicks) EXPECT_EQ(chick.x, 502.2f);
}

TEST_F(GameTest, ARottenEggSmashesHarmlessly) {
    start_playing(4);
    game_spawn_countdown = 1000;
    game_state.lives = 1;
    game_eggs[0] = Egg{1, 0, 0, EGG_ROTTEN, 1, 1.0f, 300.0f, 650.0f, 10.0f, 0.0f};
    tick();
    EXPECT_EQ(game_eggs[0].active, 0);
    EXPECT_EQ(game_state.phase, PHASE_PLAYING);
    EXPECT_EQ(game_state.lives, 1);
    EXPECT_EQ(game_splats[0].timer, 90);
    EXPECT_EQ(game_splats[0].x, 298.1f);
    EXPECT_EQ(game_chicks[0].active, 0);
    EXPECT_EQ(game_message_id, -1);
    EXPECT_EQ(game_hurt_timer, 0);
    EXPECT_EQ(effects_at(1), Effects{SFX_ROTTEN});
}

TEST_F(GameTest, TheTargetEggEndsTheLevelAtOnce) {
    start_playing(0);
    game_spawn_countdown = 1000;
    game_state.caught = 19;
    game_eggs[0] = Egg{1, 1, 0, EGG_NORMAL, 1, 1.0f, 700.0f, 650.0f, 10.0f, 0.0f};  // smashes first
    place_egg(1, 0, 0, EGG_NORMAL);
    place_egg(2, 1, 0, EGG_NORMAL).t = 0.399f;  // would click if it moved
    tick();
    EXPECT_EQ(game_state.phase, PHASE_LEVEL_COMPLETE);
    EXPECT_EQ(game_state.bonus, 200 + 300 * 2);
    EXPECT_EQ(game_state.lives, 3);
    EXPECT_EQ(active_eggs(), 0);
    EXPECT_EQ(effects_at(1), (Effects{SFX_SMASH, SFX_RAMP_CLICK, SFX_CATCH, SFX_LEVEL_COMPLETE}));
}
