// Kestrune sound tests: the oscillator's waves, fades, slides, vibrato and noise.
#include <algorithm>
#include <cmath>

#include "snd_test_support.h"
#include "sound/snd_internal.h"

namespace {

// A steady sound of the given wave at full volume.
Oscillator steady(int32_t wave, double hz, int32_t length, float duty = 0.5f) {
    Oscillator o{};
    o.active = 1;
    o.wave = wave;
    o.start_hz = hz;
    o.end_hz = hz;
    o.duty = duty;
    o.start_volume = 1.0f;
    o.end_volume = 1.0f;
    o.length = length;
    return o;
}

void skip(Oscillator *o, int n) {
    for (int i = 0; i < n; i++) snd_osc_sample(o);
}

}  // namespace

TEST(Oscillator, InactiveOrEmptyGivesSilence) {
    Oscillator zero{};
    EXPECT_EQ(snd_osc_sample(&zero), 0.0f);
    EXPECT_EQ(zero.position, 0);

    Oscillator empty = steady(WAVE_PULSE, 440, 0, 2.0f);
    EXPECT_EQ(snd_osc_sample(&empty), 0.0f);
    EXPECT_EQ(empty.active, 0);

    // A sound ends by itself after exactly length samples.
    Oscillator o = steady(WAVE_PULSE, 440, 300, 2.0f);
    skip(&o, 300);
    EXPECT_EQ(o.active, 1);
    EXPECT_EQ(snd_osc_sample(&o), 0.0f);
    EXPECT_EQ(o.active, 0);
    EXPECT_EQ(o.position, 300);
}

// Duty above 1 holds the pulse at +1, so the samples are the amplitude alone.
TEST(Oscillator, FadeInAndFadeOutFactors) {
    Oscillator o = steady(WAVE_PULSE, 440, 1000, 2.0f);
    EXPECT_EQ(snd_osc_sample(&o), 0.0f);            // position 0: fade-in factor 0
    EXPECT_EQ(snd_osc_sample(&o), 1.0f / 96.0f);    // position 1
    skip(&o, 93);
    EXPECT_EQ(snd_osc_sample(&o), 95.0f / 96.0f);   // position 95
    EXPECT_EQ(snd_osc_sample(&o), 1.0f);            // position 96: full volume
    skip(&o, 1000 - 241 - 97);
    EXPECT_EQ(snd_osc_sample(&o), 1.0f);            // position 759: 241 left, no fade yet
    EXPECT_EQ(snd_osc_sample(&o), 1.0f);            // position 760: 240 left, factor 1
    EXPECT_EQ(snd_osc_sample(&o), 239.0f / 240.0f); // position 761
    skip(&o, 237);
    EXPECT_EQ(snd_osc_sample(&o), 1.0f / 240.0f);   // the last sample, position 999
    EXPECT_EQ(snd_osc_sample(&o), 0.0f);

    // Shorter than 96 + 240: both fades act on every sample.
    Oscillator s = steady(WAVE_PULSE, 440, 50, 2.0f);
    EXPECT_EQ(snd_osc_sample(&s), 0.0f);
    skip(&s, 9);
    EXPECT_EQ(snd_osc_sample(&s), (10.0f / 96.0f) * (40.0f / 240.0f));
    float peak = 0.0f;
    for (int i = 11; i < 50; i++) peak = std::fmax(peak, snd_osc_sample(&s));
    EXPECT_LT(peak, 0.06f);  // never near full volume
}

TEST(Oscillator, VolumeRampsLinearlyFromStartToEnd) {
    Oscillator o = steady(WAVE_PULSE, 440, 1000, 2.0f);
    o.start_volume = 1.0f;
    o.end_volume = 0.0f;
    skip(&o, 500);
    EXPECT_EQ(snd_osc_sample(&o), 0.5f);  // t = 0.5
    o.position = 250;
    EXPECT_EQ(snd_osc_sample(&o), 0.75f);
}

// At 12000 Hz the phase moves by exactly a quarter cycle a sample.
TEST(Oscillator, WaveShapes) {
    struct Case {
        int32_t wave;
        float duty;
        float values[4];  // at phases 0.25, 0.5, 0.75, 0
    } cases[] = {
        {WAVE_PULSE, 0.5f, {1.0f, -1.0f, -1.0f, 1.0f}},
        {WAVE_PULSE, 0.0f, {-1.0f, -1.0f, -1.0f, -1.0f}},
        {WAVE_PULSE, 1.5f, {1.0f, 1.0f, 1.0f, 1.0f}},
        {WAVE_TRIANGLE, 0.5f, {0.0f, 1.0f, 0.0f, -1.0f}},
        {WAVE_SAW, 0.5f, {-0.5f, 0.0f, 0.5f, -1.0f}},
        {7, 0.5f, {-0.5f, 0.0f, 0.5f, -1.0f}},  // any other wave plays the saw
    };
    for (const Case &c : cases) {
        Oscillator o = steady(c.wave, 12000, 100000, c.duty);
        skip(&o, 96);  // past the fade-in; phase is back at 0
        ASSERT_EQ(o.phase, 0.0);
        for (int k = 0; k < 8; k++) {
            EXPECT_EQ(snd_osc_sample(&o), c.values[k % 4]) << "wave " << c.wave << " sample " << k;
        }
    }
}

TEST(Oscillator, SlideNeverReachesItsEndValue) {
    // 0 -> 48000 Hz over 4 samples: steps of 0, 1/4, 1/2 and 3/4 of a cycle.
    Oscillator o = steady(WAVE_SAW, 0, 4);
    o.end_hz = 48000;
    const double phases[4] = {0.0, 0.25, 0.75, 0.5};
    for (int k = 0; k < 4; k++) {
        snd_osc_sample(&o);
        EXPECT_EQ(o.phase, phases[k]) << k;
    }
    // Steady pitch: the phase grows by the same step every sample.
    Oscillator s = steady(WAVE_SAW, 480, 1000);
    snd_osc_sample(&s);
    const double step = s.phase;
    EXPECT_EQ(step, (double)(480.0f / 48000.0f));
    for (int k = 2; k < 50; k++) {
        const double before = s.phase;
        snd_osc_sample(&s);
        EXPECT_NEAR(s.phase - before, step, 1e-12);
    }
}

TEST(Oscillator, VibratoSwingsThePitchByItsDepth) {
    Oscillator plain = steady(WAVE_SAW, 1000, 100000);
    Oscillator vib = plain;
    vib.vibrato = 0.12f;
    // Position 0: the vibrato's sine starts at 0, so the pitch is unchanged.
    snd_osc_sample(&plain);
    snd_osc_sample(&vib);
    EXPECT_EQ(vib.phase, plain.phase);
    // A quarter of a 5.5 Hz period later the pitch is 0.12 semitone higher.
    const int quarter = 2182;  // 48000 / 5.5 / 4
    vib.position = quarter;
    const double before = vib.phase;
    snd_osc_sample(&vib);
    double step = vib.phase - before;
    if (step < 0) step += 1.0;
    EXPECT_NEAR(step * 48000.0, 1000.0 * std::exp2(0.12 / 12.0), 0.01);
    // Three quarters: 0.12 semitone lower.
    vib.position = 3 * quarter - 1;
    const double before2 = vib.phase;
    snd_osc_sample(&vib);
    step = vib.phase - before2;
    if (step < 0) step += 1.0;
    EXPECT_NEAR(step * 48000.0, 1000.0 * std::exp2(-0.12 / 12.0), 0.01);
}

TEST(Oscillator, NoiseStatesAndHoldLengths) {
    // From the seed 12345 the first new state and value are fixed.
    Oscillator n = steady(WAVE_NOISE, 47999, 1000);
    n.noise_seed = 12345;
    snd_osc_sample(&n);
    EXPECT_EQ(n.noise_seed, 3554416254u);
    EXPECT_EQ(n.noise_value, 0.310302734375f);
    EXPECT_EQ(n.noise_hold, 0);

    // From the seed 0 (an effect slot at start-up): state 12345, value -1.
    Oscillator z = steady(WAVE_NOISE, 47999, 1000);
    snd_osc_sample(&z);
    EXPECT_EQ(z.noise_seed, 12345u);
    EXPECT_EQ(z.noise_value, -1.0f);

    // Hold lengths: the value changes every 5 samples at 9000 Hz, every 217 at
    // 220 Hz and at every sample from 47999 Hz upwards. Noise leaves phase alone.
    struct Case {
        double hz;
        int hold;
    } cases[] = {{9000, 5}, {220, 217}, {47999, 1}, {200000, 1}};
    for (const Case &c : cases) {
        Oscillator o = steady(WAVE_NOISE, c.hz, 100000);
        o.noise_seed = 99;
        int last_change = 0;
        int changes = 0;
        for (int i = 1; i <= 2000; i++) {
            const uint32_t before = o.noise_seed;
            snd_osc_sample(&o);
            if (o.noise_seed != before) {
                EXPECT_EQ(i - last_change, c.hold) << c.hz << " Hz";
                last_change = i;
                changes++;
            }
        }
        EXPECT_EQ(changes, 2000 / c.hold) << c.hz << " Hz";
        EXPECT_EQ(o.phase, 0.0);
    }

    // Held value 0 until the first draw; two oscillators seeded alike agree.
    Oscillator a = steady(WAVE_NOISE, 9000, 5000);
    a.noise_seed = 777;
    Oscillator b = a;
    for (int i = 0; i < 4; i++) EXPECT_EQ(snd_osc_sample(&a), 0.0f);
    skip(&b, 4);
    for (int i = 0; i < 3000; i++) ASSERT_EQ(snd_osc_sample(&a), snd_osc_sample(&b));
}

TEST(Oscillator, PhaseStaysInRangeAtAnyFrequency) {
    const double freqs[] = {0.0, 1.0, 23999.0, 47999.9, 1e6, 1e9, 3e38, 1e300};
    for (double hz : freqs) {
        for (int32_t wave : {WAVE_PULSE, WAVE_TRIANGLE, WAVE_SAW, WAVE_NOISE}) {
            Oscillator o = steady(wave, hz, 20000);
            o.vibrato = 0.12f;
            for (int i = 0; i < 20000; i++) {
                const float v = snd_osc_sample(&o);
                ASSERT_TRUE(std::isfinite(v)) << hz << " Hz wave " << wave;
                ASSERT_GE(o.phase, 0.0);
                ASSERT_LT(o.phase, 1.0);
            }
        }
    }
}

// The phase moves by the single-precision step, summed in double and wrapped
// with floor; checked here against that literal formula.
TEST(Oscillator, PhaseIsTheFlooredSum) {
    for (double hz : {27.5, 440.0, 1108.73, 9000.0, 23999.0, 47999.0, 48000.0, 60000.0, 150000.0}) {
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
}

// Runs of samples are the same samples, and leave the same oscillator, as
// single calls: every wave, steady and sliding, with and without vibrato,
// sounds ending inside a run, and runs of every length.
TEST(Oscillator, RunsMatchSingleSamples) {
    int cases = 0;
    for (int32_t wave : {(int32_t)WAVE_PULSE, (int32_t)WAVE_TRIANGLE, (int32_t)WAVE_NOISE, (int32_t)WAVE_SAW, 5}) {
        for (double end_factor : {1.0, 0.5, 2.0}) {
            for (float vibrato : {0.0f, 0.12f}) {
                for (int32_t length : {0, 1, 50, 300, 7000}) {
                    for (int run : {1, 3, 64, 256, 1000}) {
                        Oscillator a = steady(wave, 660.0, length, 0.25f);
                        a.end_hz = 660.0 * end_factor;
                        a.start_volume = 0.3f;
                        a.end_volume = 0.1f;
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
                        ASSERT_EQ(sum_a, sum_b) << "wave " << wave << " x" << end_factor << " vib " << vibrato
                                                << " length " << length << " run " << run;
                        ASSERT_TRUE(same_osc(a, b));
                        cases++;
                    }
                }
            }
        }
    }
    EXPECT_EQ(cases, 5 * 3 * 2 * 5 * 5);
}
