// Kestrune sound benchmark: renders 60 seconds of each music piece with all six
// effect slots kept busy and reports the real-time factor (seconds of audio made
// per second of CPU). The target is at least 300x on one core.
//   ./bench_sound
#include <benchmark/benchmark.h>

#include <chrono>

#include "sound/snd.h"

namespace {

int16_t buffer[256];

void render_piece(benchmark::State &state) {
    const unsigned piece = (unsigned)state.range(0);
    unsigned next_effect = 0;
    const auto begin = std::chrono::steady_clock::now();
    for (auto _ : state) {
        snd_set_music(MUSIC_STOP);
        snd_set_music(piece);
        for (int done = 0; done < 60 * 48000; done += 256) {
            // Refill every slot that came free: six effects sound at all times.
            for (const EffectSlot &slot : snd_effect_slots) {
                if (slot.def == nullptr) {
                    snd_play_effect(next_effect);
                    next_effect = (next_effect + 1) % 14;
                }
            }
            snd_render(buffer, 256);
        }
        benchmark::DoNotOptimize(buffer);
    }
    const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - begin).count();
    // Seconds of audio made per second of work: 300 or more is the target.
    state.counters["realtime_x"] = 60.0 * (double)state.iterations() / seconds;
}

}  // namespace

BENCHMARK(render_piece)->DenseRange(0, 4)->Unit(benchmark::kMillisecond);

BENCHMARK_MAIN();
