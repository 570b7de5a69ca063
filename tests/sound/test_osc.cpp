// Kestrune sound tests: the oscillator's waves, fades, slides, vibrato and noise.
#include <algorithm>
#include <cmath>

#include "snd_test_support.h"
#include "sound/snd_internal.h"

namespace {

// A steady sound at full volume; duty above 1 holds a pulse at +1.
Oscillator steady(int32_t wave, double hz, int32_t length, float duty = 2.0f) {
    Oscillator o{};
    o.active = 1;
    o.wave = wave;
    o.start_hz = o.end_hz = hz;
    o.duty = duty;
    o.start_volume = o.end_volume = 1.0f;
    o.length = length;
    return o;
}

float sample_at(Oscillator o, int32_t position) {
    o.position = position;
    return snd_osc_sample(&o);
}

}  // namespace

TEST(Oscillator, AmplitudeFadesAndEnd) {
    const Oscillator o = steady(WAVE_PULSE, 440, 1000);
    EXPECT_EQ(sample_at(o, 0), 0.0f);  // the fade-in starts at 0
    EXPECT_EQ(sample_at(o, 1), 1.0f / 96.0f);
    EXPECT_EQ(sample_at(o, 95), 95.0f / 96.0f);
    EXPECT_EQ(sample_at(o, 96), 1.0f);
    EXPECT_EQ(sample_at(o, 760), 1.0f);  // 240 left: factor 1
    EXPECT_EQ(sample_at(o, 761), 239.0f / 240.0f);
    EXPECT_EQ(sample_at(o, 999), 1.0f / 240.0f);  // the last sample
    // Shorter than 96 + 240: both fades at once, never near full volume.
    EXPECT_EQ(sample_at(steady(WAVE_PULSE, 440, 50), 10), (10.0f / 96.0f) * (40.0f / 240.0f));
    // The volume ramps linearly from start to end.
    Oscillator ramp = o;
    ramp.end_volume = 0.0f;
    EXPECT_EQ(sample_at(ramp, 500), 0.5f);
    EXPECT_EQ(sample_at(ramp, 250), 0.75f);

    // The sound ends by itself: the call at position = length stops it.
    Oscillator end = o;
    end.position = 1000;
    EXPECT_EQ(snd_osc_sample(&end), 0.0f);
    EXPECT_EQ(end.active, 0);
    Oscillator empty = steady(WAVE_PULSE, 440, 0);
    EXPECT_EQ(snd_osc_sample(&empty), 0.0f);
    EXPECT_EQ(empty.active, 0);
    Oscillator zero{};
    EXPECT_EQ(snd_osc_sample(&zero), 0.0f);
}

// At 12000 Hz the phase moves by exactly a quarter cycle a sample.
TEST(Oscillator, WaveShapes) {
    const struct {
        int32_t wave;
        float duty;
        float values[4];  // at phases 0.25, 0.5, 0.75, 0
    } cases[] = {
        {WAVE_PULSE, 0.5f, {1, -1, -1, 1}},   {WAVE_PULSE, 0.0f, {-1, -1, -1, -1}},
        {WAVE_PULSE, 1.5f, {1, 1, 1, 1}},     {WAVE_TRIANGLE, 0.5f, {0, 1, 0, -1}},
        {WAVE_SAW, 0.5f, {-0.5f, 0, 0.5f, -1}}, {7, 0.5f, {-0.5f, 0, 0.5f, -1}},  // any other wave: saw
    };
    for (const auto &c : cases) {
        Oscillator o = steady(c.wave, 12000, 100000, c.duty);
        o.position = 96;
        for (int k = 0; k < 8; k++) EXPECT_EQ(snd_osc_sample(&o), c.values[k % 4]) << c.wave << " " << k;
    }
}

TEST(Oscillator, SlideAndVibrato) {
    // 0 -> 48000 Hz over 4 samples: steps of 0, 1/4, 1/2, 3/4 cycle; the end
    // value itself (a whole cycle) is never reached.
    Oscillator o = steady(WAVE_SAW, 0, 4);
    o.end_hz = 48000;
    for (double phase : {0.0, 0.25, 0.75, 0.5}) {
        snd_osc_sample(&o);
        EXPECT_EQ(o.phase, phase);
    }
    // Vibrato: none at the start, +-0.12 semitone a quarter and three quarters
    // of a 5.5 Hz period later.
    const struct {
        int32_t position;
        double hz;
    } cases[] = {{0, 1000.0}, {2182, 1000.0 * std::exp2(0.01)}, {6545, 1000.0 * std::exp2(-0.01)}};
    for (const auto &c : cases) {
        Oscillator v = steady(WAVE_SAW, 1000, 100000);
        v.vibrato = 0.12f;
        v.position = c.position;
        snd_osc_sample(&v);
        EXPECT_NEAR(v.phase * 48000.0, c.hz, 0.01) << c.position;
    }
}

TEST(Oscillator, NoiseStatesAndHoldLengths) {
    Oscillator n = steady(WAVE_NOISE, 47999, 1000);
    n.noise_seed = 12345;
    snd_osc_sample(&n);
    EXPECT_EQ(n.noise_seed, 3554416254u);
    EXPECT_EQ(n.noise_value, 0.310302734375f);
    Oscillator z = steady(WAVE_NOISE, 47999, 1000);  // seed 0, as an effect slot at start-up
    snd_osc_sample(&z);
    EXPECT_EQ(z.noise_seed, 12345u);
    EXPECT_EQ(z.noise_value, -1.0f);

    // The held value changes every 5 samples at 9000 Hz, every 217 at 220 Hz,
    // at every sample from 47999 Hz upwards; it is 0 until the first change,
    // and noise leaves the phase alone.
    for (const auto &c : {std::make_pair(9000.0, 5), std::make_pair(220.0, 217), std::make_pair(47999.0, 1),
                          std::make_pair(200000.0, 1)}) {
        Oscillator o = steady(WAVE_NOISE, c.first, 100000);
        o.noise_seed = 99;
        Oscillator twin = o;
        int last = 0;
        for (int i = 1; i <= 2000; i++) {
            const uint32_t before = o.noise_seed;
            const float v = snd_osc_sample(&o);
            ASSERT_EQ(v, snd_osc_sample(&twin));  // seeded alike, alike throughout
            if (i < c.second) {
                EXPECT_EQ(v, 0.0f);
            }
            if (o.noise_seed != before) {
                EXPECT_EQ(i - last, c.second) << c.first;
                last = i;
            }
        }
        EXPECT_EQ(last, 2000 / c.second * c.second) << c.first;
        EXPECT_EQ(o.phase, 0.0);
    }
}

// The phase is the single-precision step summed in double and wrapped with
// floor, and stays in [0, 1) at any frequency, even absurd ones.
TEST(Oscillator, PhaseIsTheFlooredSumAndStaysInRange) {
    for (double hz : {27.5, 1108.73, 23999.0, 47999.0, 48000.0, 150000.0}) {
        for (bool slide : {false, true}) {
            Oscillator o = steady(WAVE_TRIANGLE, hz, 30000);
            if (slide) o.end_hz = hz / 3.0;
            o.phase = 0.999999999;
            double phase = o.phase;
            for (int i = 0; i < 30000; i++) {
                const float t = (float)o.position / (float)o.length;
                const float f = (float)(o.start_hz + (double)t * (o.end_hz - o.start_hz));
                const double x = phase + (double)(f / 48000.0f);
                phase = x - std::floor(x);
                snd_osc_sample(&o);
                ASSERT_EQ(o.phase, phase) << hz << " Hz, sample " << i;
            }
        }
    }
    for (double hz : {1e9, 3e38, 1e300}) {
        for (int32_t wave : {(int32_t)WAVE_PULSE, (int32_t)WAVE_TRIANGLE, (int32_t)WAVE_NOISE}) {
            Oscillator o = steady(wave, hz, 5000);
            o.vibrato = 0.12f;
            for (int i = 0; i < 5000; i++) {
                ASSERT_TRUE(std::isfinite(snd_osc_sample(&o))) << hz;
                ASSERT_TRUE(o.phase >= 0.0 && o.phase < 1.0) << hz;
            }
        }
    }
}

// Runs of samples give the same samples, and leave the same oscillator, as
// single calls: every wave, steady and sliding, with and without vibrato,
// sounds ending inside a run, runs of many lengths.
TEST(Oscillator, RunsMatchSingleSamples) {
    for (int32_t wave : {(int32_t)WAVE_PULSE, (int32_t)WAVE_TRIANGLE, (int32_t)WAVE_NOISE, (int32_t)WAVE_SAW, 5}) {
        for (double end_factor : {1.0, 0.5, 2.0}) {
            for (float vibrato : {0.0f, 0.12f}) {
                for (int32_t length : {0, 1, 50, 300, 7000}) {
                    for (int run : {1, 3, 256, 1000}) {
                        Oscillator a = steady(wave, 660.0, length, 0.25f);
                        a.end_hz = 660.0 * end_factor;
                        a.end_volume = 0.3f;
                        a.vibrato = vibrato;
                        a.noise_seed = 4242;
                        a.phase = 0.7;
                        Oscillator b = a;
                        std::vector<float> sum_a(8000, 0.25f), sum_b(8000, 0.25f);
                        for (int done = 0; done < 8000; done += run) {
                            const int n = std::min(run, 8000 - done);
                            snd_osc_render(&a, sum_a.data() + done, n);
                            for (int k = 0; k < n; k++) sum_b[(size_t)(done + k)] += snd_osc_sample(&b);
                        }
                        ASSERT_EQ(sum_a, sum_b) << wave << " x" << end_factor << " " << vibrato << " " << length
                                                << " " << run;
                        ASSERT_TRUE(same_osc(a, b));
                    }
                }
            }
        }
    }
}
