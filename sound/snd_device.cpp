// Kestrune: the audio device, the mixer and the two volumes.
// One SDL device, 48000 Hz signed 16-bit mono in 1024-sample buffers, fed by
// snd_callback on SDL's audio thread. SDL holds the device lock around each
// callback; the control operations take the same lock around their changes, so
// the mixer itself needs no lock, no atomics and no heap. The headless modes
// never open a device and call snd_render directly on the main thread.
#include <SDL.h>

#include "sound/snd_internal.h"

uint32_t snd_device = 0;
float snd_music_volume = 0.8f;
float snd_effect_volume = 1.0f;

void snd_lock() {
    if (snd_device != 0) SDL_LockAudioDevice(snd_device);
}

void snd_unlock() {
    if (snd_device != 0) SDL_UnlockAudioDevice(snd_device);
}

void snd_open() {
    SDL_AudioSpec wanted;
    SDL_AudioSpec obtained;
    SDL_zero(wanted);
    SDL_zero(obtained);
    wanted.freq = 48000;
    wanted.format = AUDIO_S16LSB;
    wanted.channels = 1;
    wanted.samples = 1024;
    wanted.callback = snd_callback;
    wanted.userdata = NULL;
    // No changes allowed: SDL converts for the hardware, the callback always
    // sees exactly the format above. No device (or no audio) gives 0: silence.
    const SDL_AudioDeviceID id = SDL_OpenAudioDevice(NULL, 0, &wanted, &obtained, 0);
    snd_device = id;
    if (id != 0) SDL_PauseAudioDevice(id, 0);
}

void snd_callback(void *userdata, uint8_t *stream, int len) {
    (void)userdata;
    snd_render((int16_t *)stream, len / 2);
}

// Each output sample is the music sum (voices in order) and the effect sum (slots
// in order) mixed and clamped. The sums are built a block at a time, voice by
// voice and slot by slot: every voice and slot moves on its own, and the
// additions into each sample keep their order, so the samples are the same as
// when built one at a time, only cheaper.
void snd_render(int16_t *out, int n) {
    constexpr int BLOCK = 256;
    float music[BLOCK];
    float effects[BLOCK];
    int done = 0;
    while (done < n) {
        const int count = n - done < BLOCK ? n - done : BLOCK;
        for (int i = 0; i < count; i++) {
            music[i] = 0.0f;
            effects[i] = 0.0f;
        }

        const int32_t piece = snd_music_piece;
        if (piece >= 0 && piece < 5) {
            const MusicPiece *p = &snd_pieces[piece];
            int voices = p->voice_count < 1 ? 1 : p->voice_count;
            if (voices > 4) voices = 4;
            for (int v = 0; v < voices; v++) snd_voice_render(&snd_voices[v], &p->voices[v], music, count);
        }
        for (int s = 0; s < 6; s++) {
            if (snd_effect_slots[s].def != NULL) snd_slot_render(&snd_effect_slots[s], effects, count);
        }

        for (int i = 0; i < count; i++) {
            const float m = (music[i] * snd_music_volume) * 0.6f;
            const float e = (effects[i] * snd_effect_volume) * 0.7f;
            float x = m + e;
            if (x > 1.0f) x = 1.0f;
            if (x < -1.0f) x = -1.0f;
            // Nothing the synthesiser plays gives NaN; should it ever, it is
            // silence rather than an undefined conversion.
            if (x != x) x = 0.0f;
            out[done + i] = (int16_t)(int32_t)(x * 30000.0f);
        }
        done += count;
    }
}

void snd_set_volumes(int music_percent, int effect_percent) {
    snd_lock();
    snd_music_volume = (float)music_percent / 100.0f;
    snd_effect_volume = (float)effect_percent / 100.0f;
    snd_unlock();
}
