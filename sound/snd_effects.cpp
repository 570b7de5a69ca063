// Kestrune: the fourteen sound effects and the six slots they play in.
// An effect is a short chain of oscillator steps, each a pitch slide at one
// volume that sinks to 0.7 of itself over the step. A new effect takes the first
// free slot, or else cuts off the one whose current step is nearest its end.
#include <cstddef>

#include "sound/snd_internal.h"

namespace {
constexpr int32_t P = WAVE_PULSE;
constexpr int32_t T = WAVE_TRIANGLE;
constexpr int32_t N = WAVE_NOISE;
constexpr int32_t S = WAVE_SAW;
}  // namespace

// wave, start Hz, end Hz, ms, volume, duty
const EffectDef snd_effects[14] = {
    // SFX_CATCH: a bright two-note pip.
    {2, {{P, 880, 880, 40, 0.25f, 0.25f}, {P, 1320, 1320, 70, 0.25f, 0.25f}}},
    // SFX_RAMP_CLICK: a tiny falling tick.
    {1, {{T, 400, 380, 22, 0.18f, 0.5f}}},
    // SFX_SMASH: a crunch of noise, then two sagging thuds.
    {3,
     {{N, 3000, 600, 120, 0.5f, 0.0f},
      {P, 300, 150, 120, 0.25f, 0.5f},
      {P, 150, 80, 200, 0.25f, 0.5f}}},
    // SFX_HEN_LAYS: three rising clucks and a drop.
    {4,
     {{P, 700, 900, 50, 0.12f, 0.25f},
      {P, 700, 900, 50, 0.12f, 0.25f},
      {P, 700, 900, 50, 0.12f, 0.25f},
      {P, 900, 500, 160, 0.14f, 0.25f}}},
    // SFX_GOLDEN: a C major arpeggio up to the octave.
    {4,
     {{P, 1046, 1046, 60, 0.25f, 0.25f},
      {P, 1318, 1318, 60, 0.25f, 0.25f},
      {P, 1568, 1568, 60, 0.25f, 0.25f},
      {P, 2093, 2093, 160, 0.25f, 0.25f}}},
    // SFX_ROTTEN: a sour buzz going down.
    {2, {{S, 200, 120, 200, 0.3f, 0.5f}, {S, 150, 90, 260, 0.3f, 0.5f}}},
    // SFX_PAINTED: three soft falling octave glides.
    {3,
     {{T, 1568, 784, 120, 0.35f, 0.5f},
      {T, 1318, 659, 120, 0.35f, 0.5f},
      {T, 1046, 523, 200, 0.35f, 0.5f}}},
    // SFX_FANFARE: a C major run up two octaves (no event of the game asks for it).
    {6,
     {{P, 523, 523, 70, 0.3f, 0.5f},
      {P, 659, 659, 70, 0.3f, 0.5f},
      {P, 784, 784, 70, 0.3f, 0.5f},
      {P, 1046, 1046, 70, 0.3f, 0.5f},
      {P, 1318, 1318, 70, 0.3f, 0.5f},
      {P, 1568, 1568, 200, 0.3f, 0.5f}}},
    // SFX_MENU: one upward chirp.
    {1, {{P, 880, 1320, 60, 0.25f, 0.25f}}},
    // SFX_BONUS_TICK: a short high blip for each step of the bonus count.
    {1, {{P, 1976, 1976, 25, 0.12f, 0.25f}}},
    // SFX_LEVEL_INTRO: a G major call.
    {4,
     {{T, 784, 784, 110, 0.35f, 0.5f},
      {T, 988, 988, 110, 0.35f, 0.5f},
      {T, 1175, 1175, 110, 0.35f, 0.5f},
      {T, 1568, 1568, 260, 0.35f, 0.5f}}},
    // SFX_LEVEL_COMPLETE: the same call, higher and longer.
    {6,
     {{P, 784, 784, 90, 0.3f, 0.25f},
      {P, 988, 988, 90, 0.3f, 0.25f},
      {P, 1175, 1175, 90, 0.3f, 0.25f},
      {P, 1568, 1568, 90, 0.3f, 0.25f},
      {P, 1976, 1976, 90, 0.3f, 0.25f},
      {P, 2349, 2349, 300, 0.3f, 0.25f}}},
    // SFX_BASKET_MOVE: a low, dry tap.
    {1, {{P, 300, 300, 18, 0.12f, 0.5f}}},
    // SFX_GAME_OVER: four sighs down to a growl.
    {4,
     {{P, 660, 330, 220, 0.3f, 0.5f},
      {P, 494, 247, 220, 0.3f, 0.5f},
      {P, 392, 196, 220, 0.3f, 0.5f},
      {P, 262, 80, 500, 0.3f, 0.5f}}},
};

EffectSlot snd_effect_slots[6];

namespace {

void load_step(EffectSlot *slot, int32_t s) {
    const EffectStep *step = &slot->def->steps[s];
    Oscillator *osc = &slot->osc;
    osc->active = 1;
    osc->wave = step->wave;
    osc->start_hz = (double)step->start_hz;
    osc->end_hz = (double)step->end_hz;
    osc->duty = step->duty;
    osc->start_volume = step->volume;
    osc->end_volume = step->volume * 0.7f;
    osc->length = (int32_t)(step->ms * 48000.0f / 1000.0f);
    osc->position = 0;
    osc->vibrato = 0.0f;
    slot->remaining = osc->length;
}

}  // namespace

void snd_play_effect(unsigned id) {
    if (id > 13) return;
    snd_lock();
    int chosen = -1;
    for (int i = 0; i < 6; i++) {
        if (snd_effect_slots[i].def == NULL) {
            chosen = i;
            break;
        }
    }
    if (chosen < 0) {
        chosen = 0;
        for (int i = 1; i < 6; i++) {
            if (snd_effect_slots[i].remaining < snd_effect_slots[chosen].remaining) chosen = i;
        }
    }
    EffectSlot *slot = &snd_effect_slots[chosen];
    slot->def = &snd_effects[id];
    slot->step = 0;
    load_step(slot, 0);
    snd_unlock();
}

float snd_slot_step(EffectSlot *slot) {
    const float v = snd_osc_sample(&slot->osc);
    slot->remaining = slot->remaining - 1;
    if (slot->remaining > 0) return v;
    slot->step = slot->step + 1;
    if (slot->step < slot->def->step_count) {
        load_step(slot, slot->step);
    } else {
        slot->def = NULL;
    }
    return v;
}

// The slot step, run by run: within a step only the oscillator moves.
void snd_slot_render(EffectSlot *slot, float *sum, int n) {
    int i = 0;
    while (i < n && slot->def != NULL) {
        const int left = n - i;
        const int run = slot->remaining < left ? (slot->remaining < 1 ? 1 : slot->remaining) : left;
        snd_osc_render(&slot->osc, sum + i, run);
        slot->remaining = slot->remaining - run;
        i += run;
        if (slot->remaining > 0) break;
        slot->step = slot->step + 1;
        if (slot->step < slot->def->step_count) {
            load_step(slot, slot->step);
        } else {
            slot->def = NULL;
        }
    }
}
