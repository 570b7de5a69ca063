// Kestrune graphics benchmarks (built, not run by ctest): what a background costs when it
// enters the cache (decode and thumbnail, done inside the frame that first needs it), a
// cache hit, and a frame's worth of sprite draws on the software renderer.
#include <benchmark/benchmark.h>

#include "gfx_test_support.h"

namespace {

void reset_cache() {
    for (BackgroundSlot &s : gfx_background_cache) {
        if (s.full) SDL_DestroyTexture(s.full);
        if (s.thumbnail) SDL_DestroyTexture(s.thumbnail);
        s = BackgroundSlot{-1, nullptr, nullptr, 0};
    }
}

void BackgroundMiss(benchmark::State &state) {
    gfxtest::ensure_renderer();
    int level = 0;
    for (auto _ : state) {
        state.PauseTiming();
        reset_cache();
        state.ResumeTiming();
        benchmark::DoNotOptimize(gfx_background_texture(level));
        level = (level + 1) % 15;
    }
}
BENCHMARK(BackgroundMiss)->Unit(benchmark::kMillisecond);

void BackgroundHit(benchmark::State &state) {
    gfxtest::ensure_renderer();
    gfx_background_texture(4);
    for (auto _ : state) {
        benchmark::DoNotOptimize(gfx_background_texture(4));
        benchmark::DoNotOptimize(gfx_background_thumbnail(4));
    }
}
BENCHMARK(BackgroundHit);

// About what the world painter draws in a busy frame: 8 hens, the hero, 24 eggs with a
// few glows, 6 splats, 6 chicks.
void SpriteFrame(benchmark::State &state) {
    gfxtest::ensure_renderer();
    for (auto _ : state) {
        for (int i = 0; i < 8; i++) gfx_draw_sprite(25 + i % 5, i % 2, 255, 100.0f + 100 * i, 200.0f, 148.0f);
        gfx_draw_sprite(3, 1, 255, 500.0f, 420.0f, 540.0f);
        for (int i = 0; i < 24; i++) {
            if (i % 6 == 0) gfx_draw_glow(0xA078DCFFu, 40.0f * i, 300.0f, 100.0f);
            gfx_draw_sprite_rotated(31 + i % 4, 255, 40.0f * i, 300.0f, 72.0f, 15.0f * i);
        }
        for (int i = 0; i < 6; i++) gfx_draw_sprite(35, 0, 255, 150.0f * i, 632.0f, 110.0f);
        for (int i = 0; i < 6; i++) gfx_draw_sprite(36 + i % 2, i % 2, 255, 150.0f * i + 60, 636.0f, 84.0f);
        SDL_RenderFlush(gfx_renderer);
    }
}
BENCHMARK(SpriteFrame)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
