// Kestrune tests: game start, the level intro, the level-complete bonus and the move to
// the next level, game over, the victory sequence and the confetti.
#include "tests/game/game_fixture.h"

#include <climits>
#include <cstring>

namespace {

using Effects = std::vector<unsigned>;

// Ends level `level` in the next tick by catching its last egg; lives as given.
void complete_level_now(int32_t level, int32_t lives) {
    start_playing(level);
    game_spawn_countdown = 1000;
    game_state.lives = lives;
    game_state.caught = game_state.target - 1;
    place_egg(0, 0, 0, EGG_NORMAL);
    tick();
    ASSERT_EQ(game_state.phase, PHASE_LEVEL_COMPLETE);
    sound_log.clear();
    sound_clock = 0;
}

int active_victory_eggs() {
    int n = 0;
    for (const VictoryEgg &egg : game_victory_eggs) n += egg.active != 0;
    return n;
}

}  // namespace

TEST_F(GameTest, StartSetsUpEveryLevelAndReplacesBadLevelsWithTheFirst) {
    for (int32_t level = 0; level < GAME_LEVELS; ++level) {
        reset_process_state();
        game_start(level);
        const LevelLayout &layout = game_layouts[game_level_layout[level]];
        EXPECT_EQ(game_state.level, level);
        EXPECT_EQ(game_state.floors, layout.floors);
        EXPECT_EQ(game_state.target, 20 + 3 * level);
        EXPECT_EQ(game_state.phase, PHASE_INTRO);
        EXPECT_EQ(game_state.phase_timer, 0);
        EXPECT_EQ(game_state.lives, 3);
        EXPECT_EQ(game_basket_y, layout.catch_y[0] + 76.0f);
        EXPECT_EQ(game_spawn_countdown, 60);
        EXPECT_EQ(music_at(0), Effects{(unsigned)(level % 3 + 1)});
    }
    EXPECT_EQ(game_state.floors, 4);
    EXPECT_EQ(game_state.target, 62);

    const int32_t bad[] = {-1, 15, 16, 1000, INT32_MIN, INT32_MAX};
    for (int32_t level : bad) {
        reset_process_state();
        game_start(level);
        EXPECT_EQ(game_state.level, 0) << level;
        EXPECT_EQ(game_state.floors, 1);
        EXPECT_EQ(game_state.target, 20);
        EXPECT_EQ(music_at(0), Effects{MUSIC_LEVEL_A});
    }

    // Starting draws nothing from rand.
    srand(7);
    game_start(5);
    const int after_start = rand();
    srand(7);
    EXPECT_EQ(after_start, rand());
}

TEST_F(GameTest, StartResetsTheGameButKeepsWhatCarriesOver) {
    start_playing(4);
    tick_n(200, input_of_mask(INPUT_RIGHT | INPUT_UP));
    game_state.score = 999;
    game_state.lives = 1;
    game_state.bonus = 5;
    game_state.message_timer = 50;
    game_state.extra_life_timer = 77;
    game_message_id = 31;
    game_prev_up = 1;
    game_prev_down = 5;
    game_victory_eggs[3].active = 1;
    game_victory_eggs[3].y = 300.0f;
    game_slow_timer = 10;
    game_hurt_timer = 10;
    game_splats[2].timer = 9;
    game_chicks[1].active = 1;
    game_hen_timers[5] = 12;
    const ConfettiParticle confetti_before = game_confetti[7];

    game_start(2);
    EXPECT_EQ(game_state.score, 0);
    EXPECT_EQ(game_state.lives, 3);
    EXPECT_EQ(game_state.bonus, 0);
    EXPECT_EQ(game_state.caught, 0);
    EXPECT_EQ(game_state.message_timer, 0);
    EXPECT_EQ(game_basket_side, 0);
    EXPECT_EQ(game_basket_floor, 0);
    EXPECT_EQ(game_slow_timer + game_hurt_timer + game_catch_timer + game_turn_timer, 0);
    EXPECT_EQ(game_last_hen, -1);
    for (const Egg &egg : game_eggs) EXPECT_EQ(egg.active, 0);
    EXPECT_EQ(game_splats[2].timer, 0);
    EXPECT_EQ(game_chicks[1].active, 0);
    EXPECT_EQ(game_hen_timers[5], 0);
    // Carried over from the previous game.
    EXPECT_EQ(game_state.extra_life_timer, 77);
    EXPECT_EQ(game_message_id, 31);
    EXPECT_EQ(game_prev_up, 1);
    EXPECT_EQ(game_prev_down, 5);
    EXPECT_EQ(game_victory_eggs[3].active, 1);
    EXPECT_EQ(std::memcmp(&confetti_before, &game_confetti[7], sizeof confetti_before), 0);
}

TEST_F(GameTest, IntroLasts150TicksOrEndsOnActionFromTick31) {
    game_start(0);
    tick_n(150);
    EXPECT_EQ(game_state.phase, PHASE_INTRO);
    EXPECT_EQ(effects_at(1), Effects{SFX_LEVEL_INTRO});
    EXPECT_EQ(count_effect(SFX_LEVEL_INTRO), 1);
    tick();
    EXPECT_EQ(game_state.phase, PHASE_PLAYING);
    EXPECT_EQ(game_state.phase_timer, 0);
    tick();
    EXPECT_EQ(game_state.phase_timer, 1);

    reset_process_state();
    game_start(2);
    const PlayerInput everything = {1, 1, 1, 1, 1};
    tick_n(30, everything);
    EXPECT_EQ(game_state.phase, PHASE_INTRO);
    // Nothing of the playing phase happens during the intro.
    EXPECT_EQ(game_basket_floor, 0);
    EXPECT_EQ(game_spawn_countdown, 60);
    EXPECT_EQ(count_effect(SFX_BASKET_MOVE), 0);
    tick(input_of_mask(INPUT_ACTION_B));
    EXPECT_EQ(game_state.phase, PHASE_PLAYING);
    EXPECT_EQ(game_state.phase_timer, 0);
    EXPECT_EQ(game_basket_floor, 0);
}

TEST_F(GameTest, BonusFlowsIntoTheScoreThenTheNextLevelBegins) {
    start_playing(0);
    game_spawn_countdown = 1000;
    game_state.caught = 19;
    place_egg(0, 0, 0, EGG_NORMAL);
    tick();
    EXPECT_EQ(game_state.phase, PHASE_LEVEL_COMPLETE);
    EXPECT_EQ(game_state.phase_timer, 0);
    EXPECT_EQ(game_state.bonus, 1100);
    EXPECT_EQ(game_state.lives, 4);
    EXPECT_EQ(game_state.extra_life_timer, 120);
    EXPECT_EQ(game_state.score, 10);
    ASSERT_EQ(sound_log.size(), 4u);  // click, catch, then music stop before the fanfare
    EXPECT_EQ(sound_log[1].id, (unsigned)SFX_CATCH);
    EXPECT_TRUE(sound_log[2].music);
    EXPECT_EQ(sound_log[2].id, kMusicStop);
    EXPECT_EQ(sound_log[3].id, (unsigned)SFX_LEVEL_COMPLETE);

    sound_log.clear();
    sound_clock = 0;
    for (int t = 1; t <= 400; ++t) {
        tick();
        const int counted = t < 91 ? 0 : (t > 101 ? 11 : t - 90);
        ASSERT_EQ(game_state.score, 10 + 100 * counted) << t;
        ASSERT_EQ(game_state.phase, PHASE_LEVEL_COMPLETE) << t;
    }
    EXPECT_EQ(count_effect(SFX_BONUS_TICK), 3);
    EXPECT_EQ(effects_at(92), Effects{SFX_BONUS_TICK});
    EXPECT_EQ(effects_at(96), Effects{SFX_BONUS_TICK});
    EXPECT_EQ(effects_at(100), Effects{SFX_BONUS_TICK});
    EXPECT_EQ(game_state.extra_life_timer, 0);

    tick();
    EXPECT_EQ(game_state.phase, PHASE_INTRO);
    EXPECT_EQ(game_state.phase_timer, 0);
    EXPECT_EQ(game_state.level, 1);
    EXPECT_EQ(game_state.target, 23);
    EXPECT_EQ(game_state.lives, 4);
    EXPECT_EQ(music_at(401), Effects{MUSIC_LEVEL_B});
    tick();
    EXPECT_EQ(effects_at(402), Effects{SFX_LEVEL_INTRO});
}

TEST_F(GameTest, ActionFromTick121AddsTheRestOfTheBonusAtOnce) {
    complete_level_now(13, 5);
    EXPECT_EQ(game_state.bonus, 200 * 13 + 300 * 5 + 200);
    EXPECT_EQ(game_state.lives, 5);  // no sixth life
    EXPECT_EQ(game_state.extra_life_timer, 0);
    const int32_t score = game_state.score;
    tick_n(120, input_of_mask(INPUT_ACTION_A));
    EXPECT_EQ(game_state.phase, PHASE_LEVEL_COMPLETE);
    EXPECT_EQ(game_state.score, score + 3000);  // ticks 91..120
    tick(input_of_mask(INPUT_ACTION_A));
    EXPECT_EQ(game_state.phase, PHASE_INTRO);
    EXPECT_EQ(game_state.level, 14);
    EXPECT_EQ(game_state.bonus, 0);
    EXPECT_EQ(game_state.score, score + 4300);
}

TEST_F(GameTest, VictoryFollowsTheFifteenthLevelWithFallingEggs) {
    complete_level_now(14, 3);
    game_victory_eggs[5].active = 1;
    tick_n(400);
    EXPECT_EQ(game_state.phase, PHASE_LEVEL_COMPLETE);
    tick();
    EXPECT_EQ(game_state.phase, PHASE_VICTORY);
    EXPECT_EQ(game_state.phase_timer, 0);
    EXPECT_EQ(game_state.level, 14);
    EXPECT_EQ(music_at(401), Effects{MUSIC_VICTORY});
    EXPECT_EQ(active_victory_eggs(), 0);

    sound_log.clear();
    sound_clock = 0;
    int most = 0;
    const PlayerInput everything = {1, 1, 1, 1, 1};
    for (int t = 1; t <= 1300; ++t) {
        const int before = active_victory_eggs();
        tick(everything);
        const int now = active_victory_eggs();
        if (t == 9) {
            ASSERT_EQ(now, 1);
            const VictoryEgg &egg = game_victory_eggs[0];
            EXPECT_EQ(egg.x, (float)(int)egg.x);
            EXPECT_GE(egg.x, 50.0f);
            EXPECT_LE(egg.x, 949.0f);
            EXPECT_GE(egg.vy, 1.6f);
            EXPECT_LE(egg.vy, 3.2f);
            EXPECT_EQ(egg.y, 20.0f + egg.vy);  // moved in the tick it appears
            EXPECT_LE(egg.kind, 7);
        }
        if (t % 9 != 0) {
            ASSERT_LE(now, before) << t;
        }
        for (const VictoryEgg &egg : game_victory_eggs) {
            if (egg.active) {
                ASSERT_LE(egg.y, 740.0f);
            }
        }
        most = now > most ? now : most;
        ASSERT_EQ(game_state.phase, PHASE_VICTORY);
    }
    EXPECT_GE(most, 30);
    EXPECT_LE(most, GAME_MAX_VICTORY_EGGS);
    for (int t = 1; t <= 1300; ++t) {
        EXPECT_EQ(effects_at(t), t % 50 == 1 ? Effects{SFX_HEN_LAYS} : Effects{}) << t;
    }
    EXPECT_TRUE(music_at(0).empty());
}

TEST_F(GameTest, VictoryEggSpawnDrawsFourRandomsOnlyWhenARecordIsFree) {
    game_start(14);
    game_state.phase = PHASE_VICTORY;
    game_state.phase_timer = 8;  // the next tick is a spawn tick
    // The reference: the confetti's rand calls, then n more.
    auto next_rand_after = [](int extra, const ConfettiParticle *confetti) {
        std::memcpy(game_confetti, confetti, sizeof game_confetti);
        srand(9);
        game_update_confetti();
        for (int i = 0; i < extra; ++i) rand();
        return rand();
    };
    ConfettiParticle confetti[GAME_CONFETTI];
    std::memcpy(confetti, game_confetti, sizeof confetti);

    srand(9);
    tick();
    const int with_free_record = rand();
    EXPECT_EQ(active_victory_eggs(), 1);
    EXPECT_EQ(with_free_record, next_rand_after(4, confetti));

    std::memcpy(game_confetti, confetti, sizeof confetti);
    for (VictoryEgg &egg : game_victory_eggs) egg = VictoryEgg{100.0f, 100.0f, 0.0f, 0.0f, 1, 1};
    game_state.phase_timer = 17;
    srand(9);
    tick();
    const int when_full = rand();
    EXPECT_EQ(when_full, next_rand_after(0, confetti));
    EXPECT_EQ(game_victory_eggs[39].phase, 0.06f);
}

TEST_F(GameTest, GameOverCutsTheEggLoopShortAndThenOnlyTheFrameRuns) {
    start_playing(4);
    game_spawn_countdown = 1000;
    game_state.lives = 1;
    Egg &falling = game_eggs[0];
    falling = Egg{1, 1, 0, EGG_NORMAL, 1, 1.0f, 700.0f, 650.0f, 10.0f, 0.0f};
    Egg &rolling = place_egg(1, 0, 0, EGG_NORMAL);
    rolling.t = 0.5f;
    const Egg rolling_before = rolling;
    tick();
    EXPECT_EQ(game_state.phase, PHASE_GAME_OVER);
    EXPECT_EQ(game_state.phase_timer, 0);
    EXPECT_EQ(game_state.lives, 0);
    EXPECT_EQ(game_splats[0].timer, 150);
    EXPECT_EQ(game_splats[0].x, 701.9f);
    EXPECT_EQ(game_chicks[0].active, 1);
    EXPECT_EQ(game_chicks[0].side, 1);
    EXPECT_EQ(game_message_id, 29);
    EXPECT_EQ(game_state.message_timer, 110);
    EXPECT_EQ(game_hurt_timer, 50);
    EXPECT_EQ(std::memcmp(&rolling, &rolling_before, sizeof rolling), 0);  // not moved
    ASSERT_EQ(sound_log.size(), 3u);
    EXPECT_EQ(sound_log[0].id, (unsigned)SFX_SMASH);
    EXPECT_TRUE(sound_log[1].music);
    EXPECT_EQ(sound_log[1].id, kMusicStop);
    EXPECT_EQ(sound_log[2].id, (unsigned)SFX_GAME_OVER);

    sound_log.clear();
    const float chick_x = game_chicks[0].x;
    const PlayerInput everything = {1, 1, 1, 1, 1};
    tick_n(300, everything);
    EXPECT_EQ(game_state.phase, PHASE_GAME_OVER);
    EXPECT_EQ(game_state.phase_timer, 300);
    EXPECT_EQ(std::memcmp(&rolling, &rolling_before, sizeof rolling), 0);
    EXPECT_EQ(game_splats[0].timer, 0);
    EXPECT_EQ(game_state.message_timer, 0);
    EXPECT_EQ(game_hurt_timer, 50);  // the basket's timers belong to the playing phase
    EXPECT_NE(game_chicks[0].x, chick_x);
    EXPECT_TRUE(sound_log.empty());
}

TEST_F(GameTest, ChicksWalkAwayFromTheMiddleAndLeaveOffCanvas) {
    start_playing(0);
    game_chicks[0] = Chick{1, 0, 0, 0.0f};
    game_chicks[1] = Chick{1, 1, 0, 1000.0f};
    tick();
    EXPECT_EQ(game_chicks[0].x, -2.2f);
    EXPECT_EQ(game_chicks[1].x, 1002.2f);
    EXPECT_EQ(game_chicks[0].ticks, 1);
    tick_n(3);
    EXPECT_EQ(game_chicks[0].active, 1);  // -8.8
    tick();
    EXPECT_EQ(game_chicks[0].active, 0);  // -11
    EXPECT_EQ(game_chicks[1].active, 0);
}

TEST_F(GameTest, ConfettiFirstPlacesEveryStrokeThenRestartsThoseBelow756) {
    srand(3);
    game_update_confetti();
    const int after_first = rand();
    srand(3);
    for (int i = 0; i < 420; ++i) rand();
    EXPECT_EQ(after_first, rand());  // seven calls a stroke
    for (const ConfettiParticle &p : game_confetti) {
        EXPECT_GE(p.y - p.vy, 1.0f);
        EXPECT_LE(p.y - p.vy, 736.0f);
        EXPECT_GE(p.vx, -0.4f);
        EXPECT_LE(p.vx, 0.4f);
        EXPECT_GE(p.vy, 0.4f);
        EXPECT_LE(p.vy, 1.1f);
        EXPECT_GE(p.spin, -2.0f);
        EXPECT_LE(p.spin, 2.0f);
        EXPECT_GE(p.colour, 0);
        EXPECT_LE(p.colour, 3);
    }

    game_confetti[0].y = 756.0f;
    game_confetti[1].y = 756.1f;
    game_confetti[2].x = -5000.0f;
    const ConfettiParticle first = game_confetti[0];
    srand(4);
    game_update_confetti();
    const int after_restart = rand();
    srand(4);
    for (int i = 0; i < 6; ++i) rand();
    EXPECT_EQ(after_restart, rand());  // one restart at the top: six calls
    EXPECT_EQ(game_confetti[0].y, 756.0f + first.vy);
    EXPECT_EQ(game_confetti[0].vx, first.vx);
    EXPECT_EQ(game_confetti[1].y, 1.0f + game_confetti[1].vy);
    EXPECT_LT(game_confetti[2].x, -4990.0f);

    // The same seed and number of updates give the same confetti.
    ConfettiParticle copy[GAME_CONFETTI];
    reset_process_state();
    srand(11);
    for (int i = 0; i < 900; ++i) game_update_confetti();
    std::memcpy(copy, game_confetti, sizeof copy);
    reset_process_state();
    srand(11);
    for (int i = 0; i < 900; ++i) game_update_confetti();
    EXPECT_EQ(std::memcmp(copy, game_confetti, sizeof copy), 0);
}
