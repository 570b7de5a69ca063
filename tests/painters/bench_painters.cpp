// Kestrune: how long the painters take for one frame on the software renderer, the
// headless modes' renderer (the window's accelerated renderer is faster still).
#include <benchmark/benchmark.h>

#include "painters_support.h"

using namespace ptest;

namespace {

// A four-floor level at its busiest: every egg, splat and chick record in use.
void busy_level() {
    playing_at(9);
    game_basket_y = 621;
    for (int i = 0; i < GAME_MAX_EGGS; i++)
        game_eggs[i] = Egg{1, i % 2, i % 4, i % 4, 0, 0.5f, 100.0f + 35 * i, 150.0f + 20 * (i % 20), 0, 15.0f * i};
    for (int i = 0; i < 6; i++) {
        game_splats[i] = Splat{100, 120.0f + 150 * i};
        game_chicks[i] = Chick{1, i % 2, i, 150.0f + 140 * i};
    }
    game_state.message_timer = 60;
    game_message_id = STR_MSG_GOLDEN;
    game_slow_timer = 200;
}

void BM_PlayScreenBusyLevel(benchmark::State &state) {
    busy_level();
    for (auto _ : state) {
        clear();
        gfx_draw_play_screen();
        SDL_RenderFlush(gfx_renderer);
    }
}
BENCHMARK(BM_PlayScreenBusyLevel)->Unit(benchmark::kMillisecond);

void BM_PlayScreenVictory(benchmark::State &state) {
    busy_level();
    game_state.phase = PHASE_VICTORY;
    srand(1);
    for (int i = 0; i < 300; i++) game_update_confetti();
    for (int i = 0; i < GAME_MAX_VICTORY_EGGS; i++)
        game_victory_eggs[i] = VictoryEgg{60.0f + 22 * i, 80.0f + 14 * i, 2, 0.3f * i, i % 8, 1};
    for (auto _ : state) {
        clear();
        gfx_draw_play_screen();
        SDL_RenderFlush(gfx_renderer);
    }
}
BENCHMARK(BM_PlayScreenVictory)->Unit(benchmark::kMillisecond);

void BM_TitleScreenCrossFade(benchmark::State &state) {
    reset_world();
    srand(3);
    for (int i = 0; i < 240; i++) game_update_confetti();
    app_frame = 451;  // two backgrounds, high-score page
    for (auto _ : state) {
        clear();
        gfx_draw_title_screen();
        SDL_RenderFlush(gfx_renderer);
    }
}
BENCHMARK(BM_TitleScreenCrossFade)->Unit(benchmark::kMillisecond);

void BM_TitleScreenStill(benchmark::State &state) {
    reset_world();
    srand(3);
    for (int i = 0; i < 240; i++) game_update_confetti();
    app_frame = 31;  // one background, instructions page
    for (auto _ : state) {
        clear();
        gfx_draw_title_screen();
        SDL_RenderFlush(gfx_renderer);
    }
}
BENCHMARK(BM_TitleScreenStill)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
