// Kestrune sound tests: saving and restoring the whole synthesiser state, so each
// test starts from the state the game starts with and replays can be compared.
#pragma once
#include <gtest/gtest.h>

#include <cstring>
#include <vector>

#include "sound/snd.h"

struct SoundState {
    int32_t music_piece;
    double samples_per_unit;
    MusicVoice voices[4];
    EffectSlot slots[6];
    float music_volume;
    float effect_volume;
    uint32_t device;
};

inline SoundState capture_sound() {
    SoundState s;
    s.music_piece = snd_music_piece;
    s.samples_per_unit = snd_samples_per_unit;
    std::memcpy(s.voices, snd_voices, sizeof snd_voices);
    std::memcpy(s.slots, snd_effect_slots, sizeof snd_effect_slots);
    s.music_volume = snd_music_volume;
    s.effect_volume = snd_effect_volume;
    s.device = snd_device;
    return s;
}

inline void restore_sound(const SoundState &s) {
    snd_music_piece = s.music_piece;
    snd_samples_per_unit = s.samples_per_unit;
    std::memcpy(snd_voices, s.voices, sizeof snd_voices);
    std::memcpy(snd_effect_slots, s.slots, sizeof snd_effect_slots);
    snd_music_volume = s.music_volume;
    snd_effect_volume = s.effect_volume;
    snd_device = s.device;
}

// The state at program start, taken before any test runs (the sound globals
// are constant-initialised, so they hold their start values already).
const SoundState &pristine_sound();

// Field by field: the records have padding that memcmp would see.
inline bool same_osc(const Oscillator &a, const Oscillator &b) {
    return a.active == b.active && a.wave == b.wave && a.phase == b.phase && a.start_hz == b.start_hz &&
           a.end_hz == b.end_hz && a.duty == b.duty && a.start_volume == b.start_volume &&
           a.end_volume == b.end_volume && a.length == b.length && a.position == b.position &&
           a.noise_seed == b.noise_seed && a.noise_value == b.noise_value && a.noise_hold == b.noise_hold &&
           a.vibrato == b.vibrato;
}

inline bool same_voice(const MusicVoice &a, const MusicVoice &b) {
    return a.cursor == b.cursor && a.remaining == b.remaining && same_osc(a.osc, b.osc);
}

inline bool same_slot(const EffectSlot &a, const EffectSlot &b) {
    return a.def == b.def && a.step == b.step && a.remaining == b.remaining && same_osc(a.osc, b.osc);
}

inline bool same_state(const SoundState &a, const SoundState &b) {
    if (a.music_piece != b.music_piece || a.samples_per_unit != b.samples_per_unit) return false;
    if (a.music_volume != b.music_volume || a.effect_volume != b.effect_volume || a.device != b.device) return false;
    for (int i = 0; i < 4; i++) {
        if (!same_voice(a.voices[i], b.voices[i])) return false;
    }
    for (int i = 0; i < 6; i++) {
        if (!same_slot(a.slots[i], b.slots[i])) return false;
    }
    return true;
}

inline std::vector<int16_t> render(int n) {
    std::vector<int16_t> out((size_t)n);
    snd_render(out.data(), n);
    return out;
}

// Every test starts from the start-up state.
class Sound : public ::testing::Test {
protected:
    void SetUp() override { restore_sound(pristine_sound()); }
    void TearDown() override { restore_sound(pristine_sound()); }
};
