// Kestrune: the cost of one playing tick with every egg record in the air, and of one
// confetti update.
#include "tests/game/game_support.h"

#include <benchmark/benchmark.h>

#include <cstdlib>

namespace {

// A four-floor level with all 24 eggs rolling or falling; the state is put back each
// time the eggs would have come down, outside the timing.
void fill_the_air() {
    for (int i = 0; i < GAME_MAX_EGGS; ++i) {
        Egg &egg = game_eggs[i];
        egg = Egg{};
        egg.active = 1;
        egg.side = i % 2;
        egg.floor = (i / 2) % 4;
        egg.kind = i % 4;
        egg.falling = i % 3 == 0;
        egg.t = -0.12f + 0.04f * (float)(i % 10);
        egg.x = 300.0f + 10.0f * (float)i;
        egg.y = 100.0f;
    }
    game_state.lives = 5;
    game_state.caught = 0;
    game_spawn_countdown = 1000000;
}

void BM_PlayingTick24Eggs(benchmark::State &state) {
    reset_process_state();
    srand(1);
    start_playing(12);
    fill_the_air();
    const PlayerInput input{};
    int ticks = 0;
    for (auto _ : state) {
        if (++ticks == 40) {
            state.PauseTiming();
            fill_the_air();
            sound_log.clear();  // the recorded clicks
            ticks = 0;
            state.ResumeTiming();
        }
        game_tick(&input);
        benchmark::DoNotOptimize(game_eggs);
    }
    sound_log.clear();
}
BENCHMARK(BM_PlayingTick24Eggs);

void BM_ConfettiUpdate(benchmark::State &state) {
    reset_process_state();
    srand(1);
    game_update_confetti();
    for (auto _ : state) {
        game_update_confetti();
        benchmark::DoNotOptimize(game_confetti);
    }
}
BENCHMARK(BM_ConfettiUpdate);

}  // namespace

BENCHMARK_MAIN();
