// Kestrune sound tests: the mixer, the volumes, the callback, real playback
// through SDL's disk audio driver, and determinism.
#include <SDL.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "snd_test_support.h"
#include "sound/snd_internal.h"

const SoundState &pristine_sound() {
    static const SoundState start = capture_sound();
    return start;
}

namespace {

// Taken before main, so before any test changes a thing.
const SoundState &taken_at_start = pristine_sound();

const EffectDef HOLD_DEF = {1, {{WAVE_PULSE, 0, 0, 1000, 1, 2}}};

// Slot 0 holds a steady pulse past its fade-in: the effect sum is exactly
// volume x (+1, or -1 with duty 0).
void hold_effect(float volume, float duty) {
    EffectSlot &s = snd_effect_slots[0];
    s.def = &HOLD_DEF;
    s.step = 0;
    s.remaining = 100000;
    s.osc = Oscillator{};
    s.osc.active = 1;
    s.osc.wave = WAVE_PULSE;
    s.osc.duty = duty;
    s.osc.start_volume = volume;
    s.osc.end_volume = volume;
    s.osc.length = 100000;
    s.osc.position = 96;
}

uint64_t fnv1a(const std::vector<int16_t> &v) {
    uint64_t h = 1469598103934665603ull;
    for (int16_t s : v) {
        const uint16_t u = (uint16_t)s;
        h = (h ^ (u & 0xFF)) * 1099511628211ull;
        h = (h ^ (u >> 8)) * 1099511628211ull;
    }
    return h;
}

}  // namespace

TEST_F(Sound, RenderWritesExactlyNSamples) {
    int16_t buf[8];
    for (int n : {0, -1, -1000}) {
        for (int16_t &s : buf) s = 0x5A5A;
        snd_play_effect(SFX_CATCH);
        snd_render(buf, n);
        for (int16_t s : buf) EXPECT_EQ(s, 0x5A5A) << n;
    }
    for (int16_t &s : buf) s = 0x5A5A;
    snd_render(buf, 5);
    EXPECT_EQ(buf[5], 0x5A5A);
    EXPECT_NE(buf[4], 0x5A5A);
}

TEST_F(Sound, SilenceWithNothingPlaying) {
    for (int16_t s : render(48000)) ASSERT_EQ(s, 0);
    // Nor does a stopped piece or a finished effect leave anything behind.
    snd_set_music(MUSIC_LEVEL_B);
    snd_play_effect(SFX_RAMP_CLICK);
    render(20000);
    snd_set_music(MUSIC_STOP);
    for (int16_t s : render(48000)) ASSERT_EQ(s, 0);
}

TEST_F(Sound, MixClampsAndTruncates) {
    const struct {
        float volume, duty;
        int16_t sample;
    } cases[] = {
        {2.0f, 2.0f, 30000},           // x = 1.4 -> 1
        {2.0f, 0.0f, -30000},          // x = -1.4 -> -1
        {1.0f / 0.7f, 2.0f, 30000},    // x = 1
        {0.99999f / 0.7f, 2.0f, 29999},  // 29999.7, truncated
        {0.99999f / 0.7f, 0.0f, -29999},
        {0.5f, 2.0f, 10500},
        {100.0f, 2.0f, 30000},
    };
    for (const auto &c : cases) {
        restore_sound(pristine_sound());
        hold_effect(c.volume, c.duty);
        const std::vector<int16_t> out = render(3);
        for (int16_t s : out) EXPECT_EQ(s, c.sample) << c.volume << " " << c.duty;
    }
    // The music and the effects clamp as one sum.
    restore_sound(pristine_sound());
    snd_set_music(MUSIC_LEVEL_A);
    hold_effect(3.0f, 2.0f);
    for (int16_t s : render(20000)) ASSERT_EQ(s, 30000);
}

TEST_F(Sound, Volumes) {
    snd_set_volumes(80, 100);
    EXPECT_EQ(snd_music_volume, 0.8f);
    EXPECT_EQ(snd_effect_volume, 1.0f);
    snd_set_volumes(0, 100);
    EXPECT_EQ(snd_music_volume, 0.0f);
    snd_set_volumes(-50, 250);
    EXPECT_EQ(snd_music_volume, -0.5f);
    EXPECT_EQ(snd_effect_volume, 2.5f);
    snd_set_volumes(2147483647, -2147483647 - 1);
    hold_effect(1.0f, 2.0f);
    EXPECT_EQ(render(1)[0], -30000);  // huge factors only meet the clamp
    snd_set_volumes(80, 0);
    hold_effect(1.0f, 2.0f);
    EXPECT_EQ(render(1)[0], 0);
}

TEST_F(Sound, MusicOffSilencesMusicButNotEffects) {
    snd_set_music(MUSIC_LEVEL_C);
    render(30000);
    snd_play_effect(SFX_GAME_OVER);
    snd_set_volumes(0, 100);
    const SoundState before = capture_sound();
    const std::vector<int16_t> muted = render(20000);
    const SoundState after = capture_sound();
    // The voices went on advancing while muted.
    EXPECT_FALSE(same_voice(after.voices[0], before.voices[0]));
    // What sounded was the effect alone.
    restore_sound(before);
    snd_music_piece = -1;
    const std::vector<int16_t> alone = render(20000);
    EXPECT_EQ(muted, alone);
    bool any = false;
    for (int16_t s : alone) any = any || s != 0;
    EXPECT_TRUE(any);
}

TEST_F(Sound, CallbackRendersHalfItsByteCount) {
    snd_set_music(MUSIC_VICTORY);
    snd_play_effect(SFX_FANFARE);
    const SoundState start = capture_sound();
    const std::vector<int16_t> expected = render(1024);
    for (int len : {2048, 2049}) {
        restore_sound(start);
        std::vector<uint8_t> bytes(2100, 0xA5);
        snd_callback(nullptr, bytes.data(), len);
        EXPECT_EQ(std::memcmp(bytes.data(), expected.data(), 2048), 0) << len;
        for (size_t i = 2048; i < bytes.size(); i++) ASSERT_EQ(bytes[i], 0xA5) << len;
    }
    for (int len : {0, 1, -2}) {
        restore_sound(start);
        uint8_t bytes[4] = {1, 2, 3, 4};
        snd_callback(nullptr, bytes, len);
        EXPECT_EQ(bytes[0], 1);
        EXPECT_TRUE(same_state(capture_sound(), start));
    }
}

// Requests work the same before any device, and without one.
TEST_F(Sound, NoDeviceMeansSilenceNotFailure) {
    setenv("SDL_VIDEODRIVER", "dummy", 1);
    setenv("SDL_AUDIODRIVER", "dummy", 1);
    snd_open();  // SDL's audio was never started: no device
    EXPECT_EQ(snd_device, 0u);
    snd_set_music(MUSIC_TITLE);
    snd_play_effect(SFX_MENU);
    snd_set_volumes(0, 100);
    EXPECT_EQ(snd_music_piece, MUSIC_TITLE);
    EXPECT_NE(snd_effect_slots[0].def, nullptr);
    EXPECT_EQ(snd_music_volume, 0.0f);
}

// The same requests give the same samples, bit for bit, however the stream is
// cut into calls (the audio thread asks for 1024 samples, the test run for 800).
TEST_F(Sound, DeterministicAndIndependentOfChunking) {
    auto script = [](int chunk) {
        restore_sound(pristine_sound());
        std::vector<int16_t> out(48000 * 6);
        size_t pos = 0;
        for (unsigned piece = 0; piece < 5; piece++) {
            snd_set_music(piece);
            for (unsigned id = 0; id < 14; id++) {
                snd_play_effect((id * 5 + piece) % 14);
                const size_t end = pos + 48000 * 6 / 70;
                while (pos < end) {
                    const int n = (int)std::min<size_t>((size_t)chunk, end - pos);
                    snd_render(out.data() + pos, n);
                    pos += (size_t)n;
                }
            }
        }
        out.resize(pos);
        return out;
    };
    const std::vector<int16_t> a = script(1024);
    EXPECT_EQ(a, script(1024));
    EXPECT_EQ(a, script(800));
    EXPECT_EQ(a, script(1));
    EXPECT_EQ(a, script(48000));
}

// The mixer as a plain loop, one output sample at a time: each voice of the
// piece stepped and summed in order, then each busy slot, then the mix.
static void mix_one_at_a_time(int16_t *out, int n) {
    for (int i = 0; i < n; i++) {
        float music = 0.0f;
        float effects = 0.0f;
        if (snd_music_piece >= 0) {
            const MusicPiece &p = snd_pieces[snd_music_piece];
            for (int v = 0; v < std::max(p.voice_count, 1); v++) music += snd_voice_step(&snd_voices[v], &p.voices[v]);
        }
        for (EffectSlot &slot : snd_effect_slots) {
            if (slot.def != nullptr) effects += snd_slot_step(&slot);
        }
        float x = (music * snd_music_volume) * 0.6f + (effects * snd_effect_volume) * 0.7f;
        if (x > 1.0f) x = 1.0f;
        if (x < -1.0f) x = -1.0f;
        out[i] = (int16_t)(int32_t)(x * 30000.0f);
    }
}

// snd_render builds its sums a block at a time; samples and state must come
// out exactly as from the plain loop.
TEST_F(Sound, BlockMixEqualsTheSampleBySampleMix) {
    const SoundState start = capture_sound();
    auto play = [&](bool blocks, SoundState *end) {
        restore_sound(start);
        std::vector<int16_t> out(48000 * 3);
        size_t pos = 0;
        for (unsigned piece = 0; piece < 5; piece++) {
            snd_set_music(piece);
            for (unsigned k = 0; k < 9; k++) {
                snd_play_effect((piece * 3 + k) % 14);
                if (k == 4) snd_set_volumes(piece == 2 ? 0 : 80, 100);
                const int n = 48000 * 3 / 45;
                if (blocks) {
                    snd_render(out.data() + pos, n);
                } else {
                    mix_one_at_a_time(out.data() + pos, n);
                }
                pos += (size_t)n;
            }
        }
        *end = capture_sound();
        return out;
    };
    SoundState end_blocks, end_plain;
    EXPECT_EQ(play(true, &end_blocks), play(false, &end_plain));
    EXPECT_TRUE(same_state(end_blocks, end_plain));
}

// The effects are fixed by their table; their samples must not move with the
// build type, optimisation or sanitisers.
TEST_F(Sound, EffectSamplesAreStable) {
    std::vector<int16_t> all;
    for (unsigned id = 0; id < 14; id++) {
        snd_play_effect(id);
        const std::vector<int16_t> part = render(57600);
        all.insert(all.end(), part.begin(), part.end());
    }
    EXPECT_EQ(fnv1a(all), 0x0eae4767532f27ebull) << std::hex << fnv1a(all);
}

// Real playback: SDL's disk driver runs the callback on its audio thread and
// writes what it returns to a file. Requests made while it plays land between
// two 1024-sample callbacks; the file must be exactly snd_render's stream with
// each request applied at some callback boundary, in order.
TEST_F(Sound, DiskPlaybackIsTheRenderedStream) {
    const std::string path = testing::TempDir() + "kestrune_snd_disk_" + std::to_string(getpid()) + ".raw";
    setenv("SDL_VIDEODRIVER", "dummy", 1);
    setenv("SDL_AUDIODRIVER", "disk", 1);
    setenv("SDL_DISKAUDIOFILE", path.c_str(), 1);
    setenv("SDL_DISKAUDIODELAY", "1", 1);

    struct Request {
        int kind;  // 0 effect, 1 music, 2 volumes
        int a, b;
        void apply() const {
            if (kind == 0) snd_play_effect((unsigned)a);
            if (kind == 1) snd_set_music((unsigned)a);
            if (kind == 2) snd_set_volumes(a, b);
        }
    };
    const Request requests[] = {
        {0, SFX_CATCH, 0},     {0, SFX_GOLDEN, 0},      {0, SFX_SMASH, 0},       {1, MUSIC_TITLE, 0},
        {2, 0, 100},           {0, SFX_HEN_LAYS, 0},    {2, 80, 100},            {1, MUSIC_STOP, 0},
        {1, MUSIC_TITLE, 0},   {0, SFX_LEVEL_INTRO, 0}, {0, SFX_RAMP_CLICK, 0},  {0, SFX_MENU, 0},
    };
    const int pauses_ms[] = {40, 0, 25, 30, 30, 20, 30, 0, 15, 25, 10, 30};

    const SoundState start = capture_sound();
    snd_set_music(MUSIC_TITLE);  // asked for before the device opens
    ASSERT_EQ(SDL_Init(SDL_INIT_AUDIO), 0) << SDL_GetError();
    snd_open();
    ASSERT_NE(snd_device, 0u) << SDL_GetError();
    for (size_t i = 0; i < sizeof requests / sizeof requests[0]; i++) {
        SDL_Delay((Uint32)pauses_ms[i]);
        requests[i].apply();
    }
    SDL_Delay(60);
    SDL_CloseAudioDevice(snd_device);
    snd_device = 0;
    SDL_Quit();

    std::vector<int16_t> file;
    FILE *f = fopen(path.c_str(), "rb");
    ASSERT_NE(f, nullptr);
    int16_t buf[1024];
    size_t got;
    while ((got = fread(buf, sizeof buf[0], 1024, f)) > 0) file.insert(file.end(), buf, buf + got);
    fclose(f);
    std::remove(path.c_str());
    ASSERT_EQ(file.size() % 1024, 0u);

    // Before the device was unpaused SDL wrote silence; the title is not silent.
    size_t pos = 0;
    auto silent_block = [&](size_t at) {
        for (size_t i = at; i < at + 1024; i++) {
            if (file[i] != 0) return false;
        }
        return true;
    };
    while (pos < file.size() && silent_block(pos)) pos += 1024;
    ASSERT_LT(pos + 40 * 1024, file.size()) << "too little was played";

    restore_sound(start);
    snd_set_music(MUSIC_TITLE);
    size_t next = 0;
    const size_t count = sizeof requests / sizeof requests[0];
    int16_t block[1024];
    for (; pos < file.size(); pos += 1024) {
        SoundState before = capture_sound();
        snd_render(block, 1024);
        while (std::memcmp(block, &file[pos], sizeof block) != 0) {
            ASSERT_LT(next, count) << "block at " << pos << " matches no request order";
            restore_sound(before);
            requests[next++].apply();
            before = capture_sound();
            snd_render(block, 1024);
        }
    }
    EXPECT_EQ(next, count) << "every request was heard";
}
