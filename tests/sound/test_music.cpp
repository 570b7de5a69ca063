// Kestrune sound tests: note-string parsing, the voice step and snd_set_music.
#include <cmath>
#include <string>

#include "snd_test_support.h"
#include "sound/snd_internal.h"

namespace {

const double SPU_112 = 2880000.0 / 112.0 * 0.25;  // tempo 112: 6428.57 samples a unit

// A voice playing the given string from its start.
struct TestVoice {
    VoiceDef def;
    MusicVoice voice;
    TestVoice(const char *notes, int32_t wave = WAVE_PULSE, float volume = 0.2f) : def{}, voice{} {
        def.wave = wave;
        def.duty = 0.25f;
        def.volume = volume;
        def.notes = notes;
        voice.cursor = notes != nullptr ? notes : "";
    }
    float step() { return snd_voice_step(&voice, &def); }
    void steps(int n) {
        for (int i = 0; i < n; i++) step();
    }
};

double note_hz(int n) { return std::exp2((double)n / 12.0) * 440.0; }

}  // namespace

class Music : public Sound {
protected:
    void SetUp() override {
        Sound::SetUp();
        snd_samples_per_unit = SPU_112;
    }
};

TEST_F(Music, NoteTokens) {
    struct Case {
        const char *notes;
        double hz;
        long units;
    } cases[] = {
        {"a4", 440.0, 1},
        {"e5/4", 659.26, 4},
        {"c#6/2", 1108.73, 2},
        {"bb4", 466.16, 1},
        {"b4", 493.88, 1},
        {"bb", 30.87, 1},  // no digit after "b": b in octave 0
        {"E4", 329.63, 1},
        {"c4", 261.63, 1},
        {"G2/16", 98.00, 16},
        {"c#", 17.32, 1},  // missing octave: 0
        {"db5/8", 554.37, 8},
        {"f#5/20", 739.99, 20},
    };
    for (const Case &c : cases) {
        TestVoice v(c.notes, WAVE_TRIANGLE, 0.42f);
        v.step();
        const Oscillator &o = v.voice.osc;
        SCOPED_TRACE(c.notes);
        EXPECT_EQ(o.active, 1);
        EXPECT_EQ(o.wave, WAVE_TRIANGLE);
        EXPECT_NEAR(o.start_hz, c.hz, 0.005);
        EXPECT_EQ(o.end_hz, o.start_hz);
        const int32_t samples = (int32_t)((double)c.units * SPU_112);
        EXPECT_EQ(o.length, samples);
        EXPECT_EQ(v.voice.remaining, samples);
        EXPECT_EQ(o.position, 1);
        EXPECT_EQ(o.duty, 0.25f);
        EXPECT_EQ(o.start_volume, 0.42f);
        EXPECT_EQ(o.end_volume, 0.42f * 0.55f);
        EXPECT_EQ(o.vibrato, c.units >= 6 ? 0.12f : 0.0f);
    }
    // Pitches are equal-tempered from a4 = 440 Hz, exactly.
    TestVoice a("a4 a5 c4 ");
    a.step();
    EXPECT_EQ(a.voice.osc.start_hz, 440.0);
    a.steps((int)SPU_112);
    EXPECT_EQ(a.voice.osc.start_hz, 880.0);
    a.steps((int)SPU_112);
    EXPECT_EQ(a.voice.osc.start_hz, note_hz(-9));
}

TEST_F(Music, TokenLengthsAndRests) {
    // Each token occupies exactly its own truncated sample count.
    TestVoice v("c4 d4/2 r/20 e4/4 ");
    const int32_t one = (int32_t)(1.0 * SPU_112);
    const int32_t two = (int32_t)(2.0 * SPU_112);
    const int32_t twenty = (int32_t)(20.0 * SPU_112);
    v.steps(one);
    EXPECT_EQ(v.voice.osc.start_hz, note_hz(-7 - 2));  // still c4
    v.step();
    EXPECT_NEAR(v.voice.osc.start_hz, 293.66, 0.005);  // d4 from sample `one`
    EXPECT_EQ(v.voice.remaining, two);
    v.steps(two - 1);
    EXPECT_EQ(v.voice.osc.active, 1);
    EXPECT_EQ(v.step(), 0.0f);  // the rest
    EXPECT_EQ(v.voice.osc.active, 0);
    EXPECT_EQ(v.voice.remaining, twenty);
    for (int i = 1; i < twenty; i++) ASSERT_EQ(v.step(), 0.0f);
    v.step();
    EXPECT_NEAR(v.voice.osc.start_hz, 329.63, 0.005);
    EXPECT_EQ(v.voice.osc.length, (int32_t)(4.0 * SPU_112));

    // A 0-unit (or negative) note occupies one silent sample.
    TestVoice z("c5/0 d5/-3 e5/1 ");
    EXPECT_EQ(z.step(), 0.0f);
    EXPECT_EQ(z.voice.osc.active, 0);
    EXPECT_EQ(z.step(), 0.0f);
    EXPECT_EQ(z.step(), 0.0f);  // e5 starts with its fade-in at 0
    EXPECT_NEAR(z.voice.osc.start_hz, 659.26, 0.005);
    EXPECT_EQ(z.voice.remaining, one);
}

TEST_F(Music, SkippedTokensAndDrums) {
    // In a melodic voice "R/4", "k" and "x" take no time.
    TestVoice m("R/4 k x c4/2 ");
    m.step();
    EXPECT_NEAR(m.voice.osc.start_hz, 261.63, 0.005);
    EXPECT_EQ(m.voice.remaining, (int32_t)(2.0 * SPU_112));

    // In a drum voice every token but "r", "k" and "s" is a hi-hat.
    TestVoice d("x c4 r k/4 s ", WAVE_NOISE, 0.2f);
    struct Hit {
        int32_t length;
        double start_hz, end_hz;
        float volume;
    } hits[] = {{1680, 9000, 9000, 0.45f * 0.2f}, {1680, 9000, 9000, 0.45f * 0.2f}};
    for (const Hit &h : hits) {
        d.step();
        EXPECT_EQ(d.voice.osc.active, 1);
        EXPECT_EQ(d.voice.osc.wave, WAVE_NOISE);
        EXPECT_EQ(d.voice.osc.length, h.length);
        EXPECT_EQ(d.voice.osc.start_hz, h.start_hz);
        EXPECT_EQ(d.voice.osc.end_hz, h.end_hz);
        EXPECT_EQ(d.voice.osc.start_volume, h.volume);
        EXPECT_EQ(d.voice.osc.end_volume, 0.0f);
        EXPECT_EQ(d.voice.remaining, (int32_t)SPU_112);
        d.steps((int)SPU_112 - 1);
    }
    d.step();
    EXPECT_EQ(d.voice.osc.active, 0);  // "r" rests in a drum voice too
    d.steps((int)SPU_112 - 1);

    // At tempo 112 "k/4" lasts 25714 samples; the kick sounds for 5760 of them.
    const uint32_t seed_before = d.voice.osc.noise_seed;
    float loud = 0.0f;
    for (int i = 0; i < 5760; i++) loud = std::fmax(loud, std::fabs(d.step()));
    EXPECT_GT(loud, 0.05f);
    EXPECT_NE(d.voice.osc.noise_seed, seed_before);  // the noise runs on between hits
    EXPECT_EQ(d.voice.osc.start_hz, 220.0);
    EXPECT_EQ(d.voice.osc.end_hz, 40.0);
    EXPECT_EQ(d.voice.osc.start_volume, 1.6f * 0.2f);
    EXPECT_EQ(d.voice.remaining, 25714 - 5759);
    for (int i = 5760; i < 25714; i++) ASSERT_EQ(d.step(), 0.0f) << i;
    d.step();
    EXPECT_EQ(d.voice.osc.length, 4800);  // the snare
    EXPECT_EQ(d.voice.osc.start_hz, 3000.0);
    EXPECT_EQ(d.voice.osc.end_hz, 1500.0);
    EXPECT_EQ(d.voice.osc.start_volume, 1.1f * 0.2f);
}

TEST_F(Music, LongTokensAreCutAfterFifteenCharacters) {
    // "c4/000000000004" (15 characters) then "e" as a token of its own: e0.
    TestVoice v("c4/000000000004e ");
    v.step();
    EXPECT_NEAR(v.voice.osc.start_hz, 261.63, 0.005);
    EXPECT_EQ(v.voice.remaining, (int32_t)(4.0 * SPU_112));
    v.steps((int32_t)(4.0 * SPU_112));
    EXPECT_NEAR(v.voice.osc.start_hz, 20.60, 0.005);
    EXPECT_EQ(v.voice.remaining, (int32_t)SPU_112);
    // And the voice loops back to its first token.
    v.steps((int32_t)SPU_112);
    EXPECT_NEAR(v.voice.osc.start_hz, 261.63, 0.005);
}

TEST_F(Music, VibratoOnlyOnNotesOfSixUnitsOrMore) {
    const struct {
        const char *notes;
        float vibrato;
    } cases[] = {{"c5/4", 0.0f}, {"c5/5", 0.0f}, {"c5/6", 0.12f}, {"c5/8", 0.12f}, {"c5", 0.0f}};
    for (const auto &c : cases) {
        TestVoice v(c.notes);
        v.step();
        EXPECT_EQ(v.voice.osc.vibrato, c.vibrato) << c.notes;
    }
}

TEST_F(Music, EmptyStringsStaySilent) {
    for (const char *notes : {(const char *)nullptr, "", "   "}) {
        TestVoice v(notes);
        v.voice.osc.start_hz = 123.0;  // untouched by an empty voice
        EXPECT_EQ(v.step(), 0.0f);
        EXPECT_EQ(v.voice.remaining, 1073741824);
        EXPECT_EQ(v.voice.osc.start_hz, 123.0);
        EXPECT_EQ(v.voice.osc.active, 0);
    }
    // A string with nothing that takes time falls silent rather than hanging.
    TestVoice none("x y zz ");
    EXPECT_EQ(none.step(), 0.0f);
    EXPECT_EQ(none.voice.remaining, 1073741824);
}

TEST_F(Music, OutlandishTokensStayOrderly) {
    // Huge counts saturate, huge octaves stay finite; nothing crashes or hangs.
    TestVoice v("c4/99999999999 c99999999999/1 c-99999999/1 a#-3 ");
    EXPECT_EQ(v.step(), 0.0f);
    EXPECT_EQ(v.voice.remaining, INT32_MAX);
    v.voice.remaining = 1;
    for (int t = 0; t < 3; t++) {
        for (int i = 0; i < 10000; i++) ASSERT_TRUE(std::isfinite(v.step()));
        v.voice.remaining = 1;
    }
}

// snd_set_music: start, keep, stop and restart.
TEST_F(Sound, SetMusicResetsTheVoices) {
    const double spu[5] = {13846.153846153846, 6428.571428571428, 6206.896551724138, 5454.545454545455, 3600.0};
    for (unsigned piece = 0; piece < 5; piece++) {
        snd_set_music(piece);
        EXPECT_EQ(snd_music_piece, (int32_t)piece);
        EXPECT_DOUBLE_EQ(snd_samples_per_unit, spu[piece]);
        EXPECT_EQ(snd_samples_per_unit, 2880000.0 / snd_pieces[piece].tempo * 0.25);
        for (int v = 0; v < 4; v++) {
            const MusicVoice &voice = snd_voices[v];
            const char *notes = snd_pieces[piece].voices[v].notes;
            if (notes != nullptr) {
                EXPECT_EQ(voice.cursor, notes);
            } else {
                EXPECT_STREQ(voice.cursor, "");
            }
            EXPECT_EQ(voice.remaining, 0);
            EXPECT_EQ(voice.osc.active, 0);
            EXPECT_EQ(voice.osc.phase, 0.0);
            EXPECT_EQ(voice.osc.noise_value, 0.0f);
            EXPECT_EQ(voice.osc.noise_hold, 0);
            EXPECT_EQ(voice.osc.vibrato, 0.0f);
            EXPECT_EQ(voice.osc.noise_seed, 12345u + (uint32_t)v);
        }
        render(30000);
    }
}

TEST_F(Sound, SameMusicGoesOnStopFreezesRestartBegins) {
    snd_set_music(MUSIC_TITLE);
    const SoundState fresh = capture_sound();
    render(50000);
    const SoundState playing = capture_sound();
    snd_set_music(MUSIC_TITLE);  // already playing: nothing changes
    EXPECT_TRUE(same_state(capture_sound(), playing));

    snd_play_effect(SFX_GAME_OVER);
    const SoundState with_effect = capture_sound();
    for (unsigned stop : {5u, (unsigned)MUSIC_STOP, 1000u, 0x80000000u}) {
        restore_sound(with_effect);
        snd_set_music(stop);
        EXPECT_EQ(snd_music_piece, -1) << stop;
        for (int v = 0; v < 4; v++) EXPECT_TRUE(same_voice(snd_voices[v], playing.voices[v])) << stop;
    }
    EXPECT_NE(snd_effect_slots[0].def, nullptr);  // stopping the music leaves effects alone

    // While stopped the voices stay frozen; the effect goes on.
    const int32_t effect_left = snd_effect_slots[0].remaining;
    render(1000);
    for (int v = 0; v < 4; v++) EXPECT_TRUE(same_voice(snd_voices[v], playing.voices[v]));
    EXPECT_EQ(snd_effect_slots[0].remaining, effect_left - 1000);

    // Asked for again after a stop, the piece starts from its beginning.
    snd_set_music(MUSIC_TITLE);
    for (int v = 0; v < 4; v++) EXPECT_TRUE(same_voice(snd_voices[v], fresh.voices[v]));
}

TEST_F(Sound, TitlePlaysThreeVoices) {
    snd_set_music(MUSIC_TITLE);
    const MusicVoice fourth = snd_voices[3];
    render(100000);
    EXPECT_TRUE(same_voice(snd_voices[3], fourth));  // reset, never rendered
    for (int v = 0; v < 3; v++) EXPECT_NE(snd_voices[v].cursor, snd_pieces[0].voices[v].notes);
}

// Level pieces follow one another from their beginnings with a stop between.
TEST_F(Sound, LevelPiecesRestartAfterAStop) {
    snd_set_music(MUSIC_LEVEL_A);
    const SoundState a_start = capture_sound();
    render(40000);
    snd_set_music(MUSIC_STOP);
    snd_set_music(MUSIC_LEVEL_B);
    EXPECT_EQ(snd_music_piece, MUSIC_LEVEL_B);
    render(40000);
    snd_set_music(MUSIC_STOP);
    snd_set_music(MUSIC_LEVEL_A);
    for (int v = 0; v < 4; v++) EXPECT_TRUE(same_voice(snd_voices[v], a_start.voices[v]));
}
