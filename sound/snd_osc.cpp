// Kestrune: the oscillator, the one tone generator behind every voice and effect.
// Pulse, triangle, sample-and-hold noise and saw, with a linear pitch slide, an
// optional 5.5 Hz vibrato, a linear volume ramp, a 96-sample fade-in and a
// 240-sample fade-out. The float/double split below belongs to the sound: every
// step is written out in the order it must be evaluated.
//
// snd_osc_sample makes one sample. snd_osc_render makes a run of samples with
// exactly the same arithmetic; it works on a local copy (so the fields stay in
// registers) and, for a sound of steady pitch, computes the pitch once: with
// start_hz == end_hz the slide start + t x (end - start) is exactly start.
#include <cmath>
#include <cstdint>

#include "sound/snd_internal.h"

namespace {

// The volume ramp with both fades, at the current position.
inline float amplitude(const Oscillator &o) {
    const float t = (float)o.position / (float)o.length;
    float amp = (o.end_volume - o.start_volume) * t + o.start_volume;
    if (o.position < 96) amp = amp * ((float)o.position / 96.0f);
    if (o.length - o.position < 240) amp = amp * ((float)(o.length - o.position) / 240.0f);
    return amp;
}

// The hold length of the noise in samples, truncated; a quotient beyond the int
// range (only from a frequency near -1 Hz) saturates instead of overflowing.
inline int32_t noise_hold_length(float f) {
    const float q = 48000.0f / (f + 1.0f);
    if (q > -2147483648.0f && q < 2147483648.0f) return (int32_t)q;
    return q > 0.0f ? INT32_MAX : INT32_MIN;
}

inline float noise_value(Oscillator &o, int32_t hold) {
    o.noise_hold = o.noise_hold + 1;
    if (o.noise_hold >= hold) {
        o.noise_hold = 0;
        o.noise_seed = o.noise_seed * 1103515245u + 12345u;
        o.noise_value = (float)((o.noise_seed >> 16) & 0x7FFFu) * (1.0f / 16384.0f) - 1.0f;
    }
    return o.noise_value;
}

// Moves the phase by one sample's step and returns it in single precision.
inline float advance_phase(Oscillator &o, float step) {
    const double x = o.phase + (double)step;
    double ph;
    if (x >= 0.0 && x < 2.0) {
        // Every pitch below 48000 Hz lands here: floor(x) is 0 or 1 and x - 1 is
        // exact, so this is x - floor(x) without the long floor on the chain
        // from one sample's phase to the next.
        ph = x >= 1.0 ? x - 1.0 : x;
    } else {
        ph = x - std::floor(x);
        // An infinite step gives NaN here; restart the cycle rather than keep it.
        if (!(ph >= 0.0 && ph < 1.0)) ph = 0.0;
    }
    o.phase = ph;
    return (float)ph;
}

inline float tonal_value(int32_t wave, float p, float duty) {
    if (wave == WAVE_TRIANGLE) return p < 0.5f ? 4.0f * p - 1.0f : 3.0f - 4.0f * p;
    if (wave == WAVE_PULSE) return p < duty ? 1.0f : -1.0f;
    return 2.0f * p - 1.0f;
}

// One sample of an active oscillator with position < length.
inline float next_sample(Oscillator &o) {
    const float t = (float)o.position / (float)o.length;

    // The slide is worked out in double and only then narrowed.
    float f = (float)(o.start_hz + (double)t * (o.end_hz - o.start_hz));

    if (o.vibrato != 0.0f) {
        // 2 x position as an integer; 64 bits so that no position can overflow it.
        const float a = (((float)(2 * (int64_t)o.position)) * 3.14159f * 5.5f) / 48000.0f;
        f = f * exp2f(sinf(a) * o.vibrato / 12.0f);
    }

    const float amp = amplitude(o);
    o.position = o.position + 1;

    float v;
    if (o.wave == WAVE_NOISE) {
        v = noise_value(o, noise_hold_length(f));
    } else {
        v = tonal_value(o.wave, advance_phase(o, f / 48000.0f), o.duty);
    }
    return amp * v;
}

// A run of a steady tonal sound, one wave shape: the pitch step is fixed.
template <int32_t WAVE>
int steady_tonal_run(Oscillator &o, float *sum, int n) {
    const float step = (float)o.start_hz / 48000.0f;
    int k = 0;
    for (; k < n && o.position < o.length; k++) {
        const float amp = amplitude(o);
        o.position = o.position + 1;
        sum[k] += amp * tonal_value(WAVE, advance_phase(o, step), o.duty);
    }
    return k;
}

}  // namespace

float snd_osc_sample(Oscillator *osc) {
    if (!osc->active) return 0.0f;
    if (osc->position >= osc->length) {
        osc->active = 0;
        return 0.0f;
    }
    return next_sample(*osc);
}

void snd_osc_render(Oscillator *osc, float *sum, int n) {
    if (!osc->active || n < 1) return;
    Oscillator o = *osc;
    int k;
    const bool steady = o.start_hz == o.end_hz && o.vibrato == 0.0f && std::isfinite(o.start_hz);
    if (steady && o.wave == WAVE_NOISE) {
        const int32_t hold = noise_hold_length((float)o.start_hz);
        for (k = 0; k < n && o.position < o.length; k++) {
            const float amp = amplitude(o);
            o.position = o.position + 1;
            sum[k] += amp * noise_value(o, hold);
        }
    } else if (steady && o.wave == WAVE_PULSE) {
        k = steady_tonal_run<WAVE_PULSE>(o, sum, n);
    } else if (steady && o.wave == WAVE_TRIANGLE) {
        k = steady_tonal_run<WAVE_TRIANGLE>(o, sum, n);
    } else if (steady) {
        k = steady_tonal_run<WAVE_SAW>(o, sum, n);
    } else {
        for (k = 0; k < n && o.position < o.length; k++) sum[k] += next_sample(o);
    }
    // The sound is over: the next sample finds position = length and stops it
    // (its 0 adds nothing to the sum).
    if (k < n) o.active = 0;
    *osc = o;
}
