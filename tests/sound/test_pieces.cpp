// Kestrune sound tests: the five shipped pieces, read by the sequencer itself at
// one sample a unit. Every token takes time (none is skipped), every voice loops
// over its piece's unit count, every note lies in its piece's key and its
// voice's register, and no two voices ever rub a semitone apart.
#include <cmath>
#include <set>
#include <string>

#include "snd_test_support.h"
#include "sound/snd_internal.h"

namespace {

const int UNITS[5] = {120, 128, 64, 128, 80};

// Pitch classes of each piece's key (0 = c): F, C, G, C and C major.
const std::set<int> KEYS[5] = {
    {5, 7, 9, 10, 0, 2, 4}, {0, 2, 4, 5, 7, 9, 11}, {7, 9, 11, 0, 2, 4, 6}, {0, 2, 4, 5, 7, 9, 11}, {0, 2, 4, 5, 7, 9, 11},
};

// One loop of a voice: the note (semitones from c0; -1 rest; -2 drum hit) at each
// unit, read by snd_voice_step. Checks that each token is read exactly once.
std::vector<int> one_loop(int p, int v) {
    const VoiceDef &def = snd_pieces[p].voices[v];
    const std::string notes(def.notes);
    size_t token_count = 0;
    for (size_t i = 0; i < notes.size(); i++) token_count += notes[i] != ' ' && (i == 0 || notes[i - 1] == ' ');

    restore_sound(pristine_sound());
    snd_samples_per_unit = 1.0;
    MusicVoice voice{};
    voice.cursor = def.notes;
    std::vector<int> at;
    size_t reads = 0;
    for (int u = 0; u < UNITS[p] + 1; u++) {
        const char *before = voice.cursor;
        snd_voice_step(&voice, &def);
        if (voice.cursor != before && u < UNITS[p]) reads++;
        const Oscillator &o = voice.osc;
        if (u == UNITS[p]) {
            EXPECT_LT(voice.cursor, before) << "piece " << p << " voice " << v << " does not loop at its unit count";
        } else if (!o.active) {
            at.push_back(-1);
        } else if (o.wave == WAVE_NOISE) {
            at.push_back(-2);
        } else {
            at.push_back((int)std::lround(12.0 * std::log2(o.start_hz / 440.0)) + 57);
        }
    }
    EXPECT_EQ(reads, token_count) << "piece " << p << " voice " << v << ": a token took no time";
    restore_sound(pristine_sound());
    return at;
}

}  // namespace

TEST(Pieces, TableOfVoices) {
    const int tempos[5] = {52, 112, 116, 132, 200};
    for (int p = 0; p < 5; p++) {
        const MusicPiece &piece = snd_pieces[p];
        const VoiceDef *v = piece.voices;
        SCOPED_TRACE(p);
        EXPECT_EQ(piece.tempo, tempos[p]);
        EXPECT_EQ(piece.voice_count, p == 0 ? 3 : 4);
        if (p == 0) {
            EXPECT_TRUE(v[0].wave == WAVE_TRIANGLE && v[0].duty == 0.5f && v[0].volume == 0.55f);
            EXPECT_TRUE(v[1].wave == WAVE_PULSE && v[1].duty == 0.125f && v[1].volume == 0.05f);
            EXPECT_TRUE(v[3].wave == WAVE_PULSE && v[3].duty == 0.0f && v[3].volume == 0.0f && v[3].notes == nullptr);
        } else {
            EXPECT_TRUE(v[0].wave == WAVE_PULSE && v[0].duty == 0.25f && v[0].volume == 0.2f);
            EXPECT_TRUE(v[1].wave == WAVE_PULSE && v[1].duty == 0.125f && v[1].volume == 0.06f);
            EXPECT_TRUE(v[3].wave == WAVE_NOISE && v[3].duty == 0.0f && v[3].volume == 0.2f);
        }
        EXPECT_TRUE(v[2].wave == WAVE_TRIANGLE && v[2].duty == 0.5f && v[2].volume == 0.42f);
    }
    // Levels A and C share their tunes and differ in tempo and drums.
    for (int v = 0; v < 3; v++) EXPECT_EQ(snd_pieces[1].voices[v].notes, snd_pieces[3].voices[v].notes);
    EXPECT_STREQ(snd_pieces[4].voices[0].notes,
                 "c5/4 e5/4 g5/4 c6/4 g5/2 c6/2 e6/12 c6/4 g5/4 e5/4 c6/16 r/20 ");
    // The drum lines, one cycle each, repeated to the end of the loop.
    const char *cycles[5] = {"", "k/4 h/4 s/4 h/4 ", "k/2 h/2 s/2 h/2 ", "k/4 h/2 h/2 s/4 h/2 h/2 ", "k/4 s/4 "};
    for (int p = 1; p < 5; p++) {
        std::string expected;
        while (expected.size() < std::strlen(snd_pieces[p].voices[3].notes)) expected += cycles[p];
        EXPECT_EQ(snd_pieces[p].voices[3].notes, expected) << p;
    }
}

TEST(Pieces, LoopsKeysRegistersAndHarmony) {
    const int low[3] = {4, 4, 2};  // octaves: melody 4..6, broken chords 4..5, bass 2..3
    const int high[3] = {6, 5, 3};
    for (int p = 0; p < 5; p++) {
        std::vector<int> voices[4];
        for (int v = 0; v < snd_pieces[p].voice_count; v++) voices[v] = one_loop(p, v);
        for (int v = 0; v < 3; v++) {
            for (int note : voices[v]) {
                if (note < 0) continue;
                EXPECT_EQ(KEYS[p].count(note % 12), 1u) << "piece " << p << " voice " << v << " note " << note;
                EXPECT_TRUE(note / 12 >= low[v] && note / 12 <= high[v]) << "piece " << p << " voice " << v;
            }
        }
        // No two pitched voices a semitone (or a major seventh, plus octaves)
        // apart at any unit: a wrong note in any voice shows here.
        for (int a = 0; a < 3; a++) {
            for (int b = a + 1; b < 3; b++) {
                for (int u = 0; u < UNITS[p]; u++) {
                    if (voices[a][(size_t)u] < 0 || voices[b][(size_t)u] < 0) continue;
                    const int interval = ((voices[a][(size_t)u] - voices[b][(size_t)u]) % 12 + 12) % 12;
                    EXPECT_TRUE(interval != 1 && interval != 11) << "piece " << p << " unit " << u << ": voices " << a
                                                                 << " and " << b;
                }
            }
        }
    }
}
