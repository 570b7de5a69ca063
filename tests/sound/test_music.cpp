// Kestrune sound tests: note-string parsing, the voice step and snd_set_music.
#include <cmath>

#include "snd_test_support.h"
#include "sound/snd_internal.h"

namespace {

const double SPU = 2880000.0 / 112.0 * 0.25;  // tempo 112: 6428.57 samples a unit
const int32_t UNIT = (int32_t)SPU;

int32_t samples(double units) { return (int32_t)(units * SPU); }

// A voice playing the given string from its start, at tempo 112.
struct TestVoice {
    VoiceDef def{};
    MusicVoice voice{};
    TestVoice(const char *notes, int32_t wave = WAVE_PULSE) {
        snd_samples_per_unit = SPU;
        def = {wave, 0.25f, 0.2f, notes};
        voice.cursor = notes != nullptr ? notes : "";
    }
    float step(int n = 1) {
        float last = 0.0f;
        for (int i = 0; i < n; i++) last = snd_voice_step(&voice, &def);
        return last;
    }
    const Oscillator &osc() const { return voice.osc; }
};

}  // namespace

TEST_F(Sound, NoteTokens) {
    const struct {
        const char *notes;
        double hz;
        double units;
    } cases[] = {
        {"a4", 440.0, 1},     {"e5/4", 659.26, 4},   {"c#6/2", 1108.73, 2}, {"bb4", 466.16, 1},
        {"b4", 493.88, 1},    {"bb", 30.87, 1},      {"E4", 329.63, 1},     {"c4", 261.63, 1},
        {"c#", 17.32, 1},     {"db5/5", 554.37, 5},  {"G2/6", 98.00, 6},    {"f#5/20", 739.99, 20},
    };
    for (const auto &c : cases) {
        TestVoice v(c.notes);
        v.step();
        SCOPED_TRACE(c.notes);
        EXPECT_NEAR(v.osc().start_hz, c.hz, 0.005);
        EXPECT_EQ(v.osc().end_hz, v.osc().start_hz);
        EXPECT_EQ(v.osc().length, samples(c.units));
        EXPECT_EQ(v.voice.remaining, samples(c.units));
        EXPECT_EQ(v.osc().active, 1);
        EXPECT_EQ(v.osc().wave, WAVE_PULSE);
        EXPECT_EQ(v.osc().duty, 0.25f);
        EXPECT_EQ(v.osc().start_volume, 0.2f);
        EXPECT_EQ(v.osc().end_volume, 0.2f * 0.55f);
        EXPECT_EQ(v.osc().vibrato, c.units >= 6 ? 0.12f : 0.0f);
    }
    TestVoice a("a4 a5 ");
    a.step();
    EXPECT_EQ(a.osc().start_hz, 440.0);  // exactly
    a.step(UNIT);
    EXPECT_EQ(a.osc().start_hz, 880.0);
}

TEST_F(Sound, TokenLengthsRestsSkipsAndLoops) {
    // "R/4", "k" and "x" take no time in a melodic voice; "r/20" rests 20 units;
    // a 0-unit (or negative) note occupies one silent sample; the string loops.
    TestVoice v("R/4 k x c4 r/20 d4/2 c5/0 d5/-3 e4 ");
    v.step();
    EXPECT_NEAR(v.osc().start_hz, 261.63, 0.005);
    EXPECT_EQ(v.voice.remaining, UNIT);
    EXPECT_EQ(v.step(UNIT), 0.0f);  // the rest begins exactly one unit later
    EXPECT_EQ(v.osc().active, 0);
    EXPECT_EQ(v.voice.remaining, samples(20));
    v.step(samples(20) - 1);
    EXPECT_EQ(v.osc().active, 0);
    v.step();
    EXPECT_NEAR(v.osc().start_hz, 293.66, 0.005);
    v.step(samples(2));  // c5/0
    EXPECT_EQ(v.osc().active, 0);
    EXPECT_EQ(v.step(), 0.0f);  // d5/-3
    EXPECT_EQ(v.osc().active, 0);
    v.step();
    EXPECT_NEAR(v.osc().start_hz, 329.63, 0.005);
    v.step(UNIT);
    EXPECT_NEAR(v.osc().start_hz, 261.63, 0.005);  // back to c4

    // A 16-character token is its first 15 characters and a 1-character token:
    // "c4/000000000004" (4 units), then "e", e0 for 1 unit.
    TestVoice l("c4/000000000004e ");
    l.step();
    EXPECT_EQ(l.voice.remaining, samples(4));
    l.step(samples(4));
    EXPECT_NEAR(l.osc().start_hz, 20.60, 0.005);
}

TEST_F(Sound, DrumTokens) {
    // Every token but "r", "k" and "s" is a hi-hat, even a note.
    TestVoice d("x c4 r k/4 s ", WAVE_NOISE);
    for (int hat = 0; hat < 2; hat++) {
        d.step();
        EXPECT_EQ(d.osc().length, 1680);
        EXPECT_EQ(d.osc().start_hz, 9000.0);
        EXPECT_EQ(d.osc().end_hz, 9000.0);
        EXPECT_EQ(d.osc().start_volume, 0.45f * 0.2f);
        EXPECT_EQ(d.osc().end_volume, 0.0f);
        EXPECT_EQ(d.voice.remaining, UNIT);
        d.step(UNIT - 1);
    }
    d.step(UNIT);  // "r" rests in a drum voice too
    EXPECT_EQ(d.osc().active, 0);

    // "k/4" lasts 25714 samples at tempo 112, and its kick sounds for 5760.
    d.step();
    EXPECT_EQ(d.osc().wave, WAVE_NOISE);
    EXPECT_EQ(d.osc().start_hz, 220.0);
    EXPECT_EQ(d.osc().end_hz, 40.0);
    EXPECT_EQ(d.osc().start_volume, 1.6f * 0.2f);
    EXPECT_EQ(d.voice.remaining, 25714);
    float loud = 0.0f;
    for (int i = 1; i < 5760; i++) loud = std::fmax(loud, std::fabs(d.step()));
    EXPECT_GT(loud, 0.05f);
    for (int i = 5760; i < 25714; i++) ASSERT_EQ(d.step(), 0.0f) << i;
    d.step();
    EXPECT_EQ(d.osc().length, 4800);
    EXPECT_EQ(d.osc().start_hz, 3000.0);
    EXPECT_EQ(d.osc().end_hz, 1500.0);
    EXPECT_EQ(d.osc().start_volume, 1.1f * 0.2f);
}

TEST_F(Sound, EmptyAndBrokenStringsStayOrderly) {
    for (const char *notes : {(const char *)nullptr, "", "   ", "x y zz "}) {
        TestVoice v(notes);
        v.voice.osc.start_hz = 123.0;
        EXPECT_EQ(v.step(), 0.0f);
        EXPECT_EQ(v.voice.remaining, 1073741824);  // waits 2^30 samples
        EXPECT_EQ(v.osc().active, 0);
        if (notes == nullptr || notes[0] == '\0') {
            EXPECT_EQ(v.osc().start_hz, 123.0);  // untouched
        }
    }
    // Huge counts saturate, huge octaves stay finite.
    TestVoice v("c4/99999999999 c99999999999/1 c-99999999/1 a#-3 ");
    v.step();
    EXPECT_EQ(v.voice.remaining, INT32_MAX);
    for (int t = 0; t < 4; t++) {
        v.voice.remaining = 1;
        for (int i = 0; i < 5000; i++) ASSERT_TRUE(std::isfinite(v.step()));
    }
}

TEST_F(Sound, SetMusicStartsKeepsStopsAndRestarts) {
    const double spu[5] = {13846.153846153846, 6428.571428571428, 6206.896551724138, 5454.545454545455, 3600.0};
    for (unsigned piece = 0; piece < 5; piece++) {
        render(30000);
        snd_set_music(piece);
        EXPECT_EQ(snd_music_piece, (int32_t)piece);
        EXPECT_DOUBLE_EQ(snd_samples_per_unit, spu[piece]);
        for (int v = 0; v < 4; v++) {
            const MusicVoice &voice = snd_voices[v];
            const char *notes = snd_pieces[piece].voices[v].notes;
            EXPECT_STREQ(voice.cursor, notes != nullptr ? notes : "");
            EXPECT_EQ(voice.remaining, 0);
            Oscillator reset{};
            reset.noise_seed = 12345u + (uint32_t)v;
            EXPECT_TRUE(same_osc(voice.osc, reset)) << piece << " " << v;
        }
    }

    snd_set_music(MUSIC_TITLE);
    const SoundState fresh = capture_sound();
    render(50000);
    snd_play_effect(SFX_GAME_OVER);
    const SoundState playing = capture_sound();
    snd_set_music(MUSIC_TITLE);  // already playing: nothing changes
    EXPECT_TRUE(same_state(capture_sound(), playing));
    EXPECT_TRUE(same_voice(snd_voices[3], fresh.voices[3]));  // the title's fourth voice is never rendered

    for (unsigned stop : {5u, (unsigned)MUSIC_STOP, 1000u, 0x80000000u}) {
        restore_sound(playing);
        snd_set_music(stop);
        EXPECT_EQ(snd_music_piece, -1) << stop;
    }
    // Stopped, the voices stay frozen and the effects go on.
    render(1000);
    for (int v = 0; v < 4; v++) EXPECT_TRUE(same_voice(snd_voices[v], playing.voices[v]));
    EXPECT_EQ(snd_effect_slots[0].remaining, playing.slots[0].remaining - 1000);
    // Asked for again after a stop, the piece starts from its beginning.
    snd_set_music(MUSIC_TITLE);
    for (int v = 0; v < 4; v++) EXPECT_TRUE(same_voice(snd_voices[v], fresh.voices[v]));
}
