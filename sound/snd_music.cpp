// Kestrune: the music sequencer. Each piece is one looping note string per voice;
// each voice reads its string in place, one token at a time, and plays the token
// on its own oscillator for a whole number of units (a unit is a quarter beat).
//
// A token is up to 15 characters between spaces: an optional "/units" suffix
// (decimal, read like strtol), then "r" for a rest, a drum letter in a noise
// voice (k kick, s snare, anything else a hi-hat), or a note letter a..g with an
// optional "#" or "b" (flat only when a digit follows) and an octave number.
#include <cmath>
#include <cstddef>

#include "sound/snd_internal.h"

const int32_t snd_note_semitones[7] = {9, 11, 0, 2, 4, 5, 7};

int32_t snd_music_piece = -1;
double snd_samples_per_unit = 0.0;
MusicVoice snd_voices[4];

namespace {

constexpr int32_t EMPTY_VOICE_WAIT = 1073741824;  // 2^30 samples, about 6 hours

const char *voice_string(const VoiceDef *def) { return def->notes != NULL ? def->notes : ""; }

// A decimal number in the manner of strtol: leading white space, an optional
// sign, then digits; no digits gives 0. A token holds at most 14 digits, so the
// value cannot overflow.
long read_number(const char *s) {
    while (*s == ' ' || (*s >= '\t' && *s <= '\r')) s++;
    bool negative = false;
    if (*s == '+' || *s == '-') {
        negative = *s == '-';
        s++;
    }
    long value = 0;
    while (*s >= '0' && *s <= '9') {
        value = value * 10 + (*s - '0');
        s++;
    }
    return negative ? -value : value;
}

// The token's length in samples: units x samples per unit in double, truncated.
// Products beyond the int32 range (absurd unit counts) saturate.
int32_t token_samples(long units) {
    const double product = (double)units * snd_samples_per_unit;
    if (product >= 2147483647.0) return INT32_MAX;
    if (product <= -2147483647.0) return -INT32_MAX;
    if (product != product) return 0;
    return (int32_t)product;
}

void load_drum(Oscillator *osc, char letter, float volume) {
    osc->active = 1;
    osc->wave = WAVE_NOISE;
    if (letter == 'k') {
        osc->length = 5760;
        osc->start_hz = 220.0;
        osc->end_hz = 40.0;
        osc->start_volume = 1.6f * volume;
    } else if (letter == 's') {
        osc->length = 4800;
        osc->start_hz = 3000.0;
        osc->end_hz = 1500.0;
        osc->start_volume = 1.1f * volume;
    } else {
        osc->length = 1680;
        osc->start_hz = 9000.0;
        osc->end_hz = 9000.0;
        osc->start_volume = 0.45f * volume;
    }
    osc->end_volume = 0.0f;
}

// The frequency of a note token whose first character is a note letter.
double note_hz(const char *tok) {
    const char letter = (char)(tok[0] >= 'A' && tok[0] <= 'G' ? tok[0] - 'A' + 'a' : tok[0]);
    int32_t semitone = snd_note_semitones[letter - 'a'];
    const char *octave_text = tok + 1;
    if (tok[1] == '#') {
        semitone = semitone + 1;
        octave_text = tok + 2;
    } else if (tok[1] == 'b' && tok[2] >= '0' && tok[2] <= '9') {
        semitone = semitone - 1;
        octave_text = tok + 2;
    }
    long octave = read_number(octave_text);
    // Octaves beyond +-99 lie far outside hearing; bounding them keeps the
    // semitone count and the frequency finite.
    if (octave > 99) octave = 99;
    if (octave < -99) octave = -99;
    const int32_t n = semitone + 12 * (int32_t)octave - 57;
    return std::exp2((double)n / 12.0) * 440.0;
}

bool is_note_letter(char c) { return (c >= 'a' && c <= 'g') || (c >= 'A' && c <= 'G'); }

// Reads tokens from the voice's cursor until one takes time, and loads it.
void read_token(MusicVoice *voice, const VoiceDef *def) {
    const char *start = voice_string(def);
    if (voice->cursor == NULL) voice->cursor = start;
    int wraps = 0;
    for (;;) {
        while (*voice->cursor == ' ') voice->cursor++;
        if (*voice->cursor == '\0') {
            voice->cursor = start;
            if (*start == '\0') {
                voice->remaining = EMPTY_VOICE_WAIT;
                return;
            }
            // A second wrap within one read means the string has nothing that
            // takes time: the voice falls silent instead of searching for ever.
            wraps++;
            if (wraps > 1) {
                voice->osc.active = 0;
                voice->remaining = EMPTY_VOICE_WAIT;
                return;
            }
            continue;
        }

        char tok[16];
        int len = 0;
        while (len < 15 && voice->cursor[len] != '\0' && voice->cursor[len] != ' ') {
            tok[len] = voice->cursor[len];
            len++;
        }
        tok[len] = '\0';
        voice->cursor += len;

        long units = 1;
        for (int i = 0; i < len; i++) {
            if (tok[i] == '/') {
                units = read_number(tok + i + 1);
                tok[i] = '\0';
                break;
            }
        }
        const int32_t samples = token_samples(units);
        voice->remaining = samples;
        voice->osc.length = samples;
        voice->osc.position = 0;

        if (tok[0] == 'r') {
            voice->osc.active = 0;
            return;
        }
        if (def->wave == WAVE_NOISE) {
            load_drum(&voice->osc, tok[0], def->volume);
            return;
        }
        if (is_note_letter(tok[0])) {
            Oscillator *osc = &voice->osc;
            const double hz = note_hz(tok);
            osc->active = 1;
            osc->wave = def->wave;
            osc->start_hz = hz;
            osc->end_hz = hz;
            osc->duty = def->duty;
            osc->start_volume = def->volume;
            osc->end_volume = def->volume * 0.55f;
            osc->vibrato = units >= 6 ? 0.12f : 0.0f;
            return;
        }
        // Anything else takes no time in a melodic voice.
    }
}

}  // namespace

float snd_voice_step(MusicVoice *voice, const VoiceDef *def) {
    voice->remaining = voice->remaining - 1;
    if (voice->remaining <= 0) read_token(voice, def);
    return snd_osc_sample(&voice->osc);
}

// The voice step, run by run: between two token reads only the oscillator moves.
void snd_voice_render(MusicVoice *voice, const VoiceDef *def, float *sum, int n) {
    int i = 0;
    while (i < n) {
        voice->remaining = voice->remaining - 1;
        if (voice->remaining <= 0) read_token(voice, def);
        // This sample and the next remaining - 1 read nothing.
        const int left = n - i;
        const int run = voice->remaining < left ? (voice->remaining < 1 ? 1 : voice->remaining) : left;
        snd_osc_render(&voice->osc, sum + i, run);
        voice->remaining = voice->remaining - (run - 1);
        i += run;
    }
}

void snd_set_music(unsigned piece) {
    snd_lock();
    if (piece >= 5) {
        snd_music_piece = -1;
    } else if ((int32_t)piece != snd_music_piece) {
        const MusicPiece *p = &snd_pieces[piece];
        snd_music_piece = (int32_t)piece;
        snd_samples_per_unit = 2880000.0 / (double)p->tempo * 0.25;
        for (int v = 0; v < 4; v++) {
            snd_voices[v] = MusicVoice{};
            snd_voices[v].cursor = voice_string(&p->voices[v]);
            snd_voices[v].osc.noise_seed = 12345u + (uint32_t)v;
        }
    }
    snd_unlock();
}
