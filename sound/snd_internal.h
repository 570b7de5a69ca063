// Kestrune: what the modules of sound/ share among themselves (and with the sound
// tests). Outside the subsystem's contract; the rest of the game uses snd.h.
#pragma once
#include "sound/snd.h"

// The device lock around every read and write of sound state made by a control
// operation; both do nothing while no device is open.
void snd_lock();
void snd_unlock();

// Adds the next n samples of an oscillator to sum[0..n-1], with exactly the
// arithmetic of n calls of snd_osc_sample.
void snd_osc_render(Oscillator *osc, float *sum, int n);

// One voice of the playing piece, one sample: reads the next token when the
// current one is over, then returns the voice oscillator's sample.
float snd_voice_step(MusicVoice *voice, const VoiceDef *def);
// The same for n samples, added to sum[0..n-1].
void snd_voice_render(MusicVoice *voice, const VoiceDef *def, float *sum, int n);

// One busy effect slot, one sample: returns the oscillator's sample, then moves
// on to the next step or frees the slot.
float snd_slot_step(EffectSlot *slot);
// The same for n samples (or until the slot comes free), added to sum[0..n-1].
void snd_slot_render(EffectSlot *slot, float *sum, int n);
