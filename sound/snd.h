// Kestrune: the sound subsystem's whole contract with the rest of the game.
// The game rules and the shell ask for sound by number only (snd_play_effect,
// snd_set_music); the shell alone opens the device, sets volumes and renders.
//
// The synthesiser is a set of fixed global records: four music voices and six
// effect slots, each owning one oscillator, mixed into signed 16-bit mono samples
// at 48000 Hz. Its float and double arithmetic follows a fixed order, so the same
// requests always give the same samples, bit for bit.
#pragma once
#include <cstdint>

enum EffectId {
    SFX_CATCH = 0,
    SFX_RAMP_CLICK = 1,
    SFX_SMASH = 2,
    SFX_HEN_LAYS = 3,
    SFX_GOLDEN = 4,
    SFX_ROTTEN = 5,
    SFX_PAINTED = 6,
    SFX_FANFARE = 7,
    SFX_MENU = 8,
    SFX_BONUS_TICK = 9,
    SFX_LEVEL_INTRO = 10,
    SFX_LEVEL_COMPLETE = 11,
    SFX_BASKET_MOVE = 12,
    SFX_GAME_OVER = 13,
};

enum MusicPieceId {
    MUSIC_STOP = -1,  // any value of 5 or more, taken as unsigned, stops as well
    MUSIC_TITLE = 0,
    MUSIC_LEVEL_A = 1,
    MUSIC_LEVEL_B = 2,
    MUSIC_LEVEL_C = 3,
    MUSIC_VICTORY = 4,
};

// Requests: any time, on the main thread, with or without an audio device.
void snd_play_effect(unsigned id);   // ids above 13 are ignored
void snd_set_music(unsigned piece);  // the playing piece goes on; 5 or more stops

// The shell's side.
void snd_open();                                          // opens the device; none means silence
void snd_render(int16_t *out, int n);                     // n samples of music and effects
void snd_set_volumes(int music_percent, int effect_percent);

// ---------------------------------------------------------------------------
// The synthesiser's records. Read-only for everyone outside sound/ (the shell's
// tests and tools look at them); written only by the functions above and the
// audio thread.

// The audio callback SDL runs on its own thread (len in bytes).
void snd_callback(void *userdata, uint8_t *stream, int len);

enum Waveform {
    WAVE_PULSE = 0,
    WAVE_TRIANGLE = 1,
    WAVE_NOISE = 2,
    WAVE_SAW = 3,  // any other value plays the saw as well
};

// One tone generator. A loader sets the sound's fields; phase and the noise
// state carry over from sound to sound.
struct Oscillator {
    int32_t active;
    int32_t wave;  // Waveform
    double phase;  // 0 <= phase < 1
    double start_hz;
    double end_hz;
    float duty;  // pulse: the share of the cycle at +1
    float start_volume;
    float end_volume;
    int32_t length;    // samples
    int32_t position;  // samples already produced
    uint32_t noise_seed;
    float noise_value;
    int32_t noise_hold;
    float vibrato;  // semitones, 0 = none
};

// The next sample of an oscillator; advances it by one sample.
float snd_osc_sample(Oscillator *osc);

// Music: five pieces of up to four voices, each voice one looping note string.
struct VoiceDef {
    int32_t wave;  // Waveform; WAVE_NOISE makes a drum voice
    float duty;
    float volume;
    const char *notes;  // NUL-terminated; NULL plays as an empty string
};

struct MusicPiece {
    int32_t tempo;        // beats per minute; a unit is a quarter of a beat
    int32_t voice_count;  // 1..4
    VoiceDef voices[4];
};

struct MusicVoice {
    const char *cursor;  // read position in the voice's note string
    int32_t remaining;   // samples left in the current token
    Oscillator osc;
};

extern const MusicPiece snd_pieces[5];
extern const int32_t snd_note_semitones[7];  // a b c d e f g, above c
extern int32_t snd_music_piece;              // -1: none
extern double snd_samples_per_unit;
extern MusicVoice snd_voices[4];

// Effects: fourteen short sequences of oscillator steps, six slots.
struct EffectStep {
    int32_t wave;
    float start_hz;
    float end_hz;
    float ms;
    float volume;
    float duty;
};

struct EffectDef {
    int32_t step_count;  // 1..6
    EffectStep steps[6];
};

struct EffectSlot {
    const EffectDef *def;  // NULL: free
    int32_t step;
    int32_t remaining;  // samples left in the current step
    Oscillator osc;
};

extern const EffectDef snd_effects[14];
extern EffectSlot snd_effect_slots[6];

// The device and the volumes.
extern uint32_t snd_device;  // 0: no device, no locking
extern float snd_music_volume;
extern float snd_effect_volume;
