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
    s = EffectSlot{&HOLD_DEF, 0, 100000, Oscillator{}};
    s.osc.active = 1;
    s.osc.duty = duty;
    s.osc.start_volume = s.osc.end_volume = volume;
    s.osc.length = 100000;
    s.osc.position = 96;
}

// The mixer as the plain loop, one output sample at a time: the piece's voices
// stepped and summed in order, then each busy slot, then the mix.
void mix_one_at_a_time(int16_t *out, int n) {
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
        const float x = (music * snd_music_volume) * 0.6f + (effects * snd_effect_volume) * 0.7f;
        out[i] = (int16_t)(int32_t)(std::min(1.0f, std::max(-1.0f, x)) * 30000.0f);
    }
}

// Five pieces with effects and a volume change, rendered in calls of `chunk`
// samples (0: by the plain loop above).
std::vector<int16_t> play_script(int chunk, SoundState *end) {
    restore_sound(pristine_sound());
    std::vector<int16_t> out(48000 * 5);
    size_t pos = 0;
    for (unsigned piece = 0; piece < 5; piece++) {
        snd_set_music(piece);
        for (unsigned k = 0; k < 10; k++) {
            snd_play_effect((piece * 3 + k) % 14);
            if (k == 4) snd_set_volumes(piece == 2 ? 0 : 80, 100);
            const size_t stop = pos + 48000 / 10;
            while (pos < stop) {
                const int n = chunk > 0 ? (int)std::min<size_t>((size_t)chunk, stop - pos) : (int)(stop - pos);
                if (chunk > 0) {
                    snd_render(out.data() + pos, n);
                } else {
                    mix_one_at_a_time(out.data() + pos, n);
                }
                pos += (size_t)n;
            }
        }
    }
    *end = capture_sound();
    return out;
}

uint64_t fnv1a(const std::vector<int16_t> &v) {
    uint64_t h = 1469598103934665603ull;
    for (int16_t s : v) {
        h = (h ^ ((uint16_t)s & 0xFF)) * 1099511628211ull;
        h = (h ^ ((uint16_t)s >> 8)) * 1099511628211ull;
    }
    return h;
}

}  // namespace

TEST_F(Sound, RenderCountsAndSilence) {
    int16_t buf[8];
    std::fill(buf, buf + 8, 0x5A5A);
    snd_play_effect(SFX_CATCH);
    snd_render(buf, 0);
    snd_render(buf, -5);
    snd_render(buf, 5);
    EXPECT_NE(buf[4], 0x5A5A);
    EXPECT_EQ(buf[5], 0x5A5A);  // n = 0 or negative wrote nothing, 5 wrote 5

    restore_sound(pristine_sound());
    for (int16_t s : render(48000)) ASSERT_EQ(s, 0);  // nothing selected: silence
    snd_set_music(MUSIC_LEVEL_B);
    render(20000);
    snd_set_music(MUSIC_STOP);
    for (int16_t s : render(4800)) ASSERT_EQ(s, 0);
}

TEST_F(Sound, MixClampsAndTruncates) {
    const struct {
        float volume, duty;
        int16_t sample;
    } cases[] = {
        {2.0f, 2.0f, 30000},           {2.0f, 0.0f, -30000},           {1.0f / 0.7f, 2.0f, 30000},
        {0.99999f / 0.7f, 2.0f, 29999}, {0.99999f / 0.7f, 0.0f, -29999}, {0.5f, 2.0f, 10500},
    };
    for (const auto &c : cases) {
        restore_sound(pristine_sound());
        hold_effect(c.volume, c.duty);
        EXPECT_EQ(render(3), std::vector<int16_t>(3, c.sample)) << c.volume << " " << c.duty;
    }
    // Music and effects clamp as one sum.
    restore_sound(pristine_sound());
    snd_set_music(MUSIC_LEVEL_A);
    hold_effect(3.0f, 2.0f);
    EXPECT_EQ(render(20000), std::vector<int16_t>(20000, 30000));
}

TEST_F(Sound, Volumes) {
    snd_set_volumes(-50, 250);  // any percentage is taken as it is
    EXPECT_EQ(snd_music_volume, -0.5f);
    EXPECT_EQ(snd_effect_volume, 2.5f);
    snd_set_volumes(2147483647, -2147483647 - 1);
    hold_effect(1.0f, 2.0f);
    EXPECT_EQ(render(1)[0], -30000);  // huge factors only meet the clamp

    // Music off (0, 100): the music is silent but goes on; the effects sound.
    restore_sound(pristine_sound());
    snd_set_music(MUSIC_LEVEL_C);
    render(30000);
    snd_play_effect(SFX_GAME_OVER);
    snd_set_volumes(0, 100);
    EXPECT_EQ(snd_music_volume, 0.0f);
    EXPECT_EQ(snd_effect_volume, 1.0f);
    const SoundState before = capture_sound();
    const std::vector<int16_t> muted = render(20000);
    EXPECT_FALSE(same_voice(snd_voices[0], before.voices[0]));
    restore_sound(before);
    snd_music_piece = -1;
    const std::vector<int16_t> effect_alone = render(20000);
    EXPECT_EQ(muted, effect_alone);
    EXPECT_NE(std::count(effect_alone.begin(), effect_alone.end(), 0), 20000);
    snd_set_volumes(80, 100);
    EXPECT_EQ(snd_music_volume, 0.8f);
}

TEST_F(Sound, CallbackRendersHalfItsByteCount) {
    snd_set_music(MUSIC_VICTORY);
    snd_play_effect(SFX_FANFARE);
    const SoundState start = capture_sound();
    const std::vector<int16_t> expected = render(1024);
    for (int len : {2048, 2049, 1, 0, -2}) {
        restore_sound(start);
        std::vector<uint8_t> bytes(2100, 0xA5);
        snd_callback(nullptr, bytes.data(), len);
        const size_t written = len >= 2 ? 2048 : 0;
        EXPECT_EQ(std::memcmp(bytes.data(), expected.data(), written), 0) << len;
        EXPECT_EQ(std::count(bytes.begin() + (long)written, bytes.end(), 0xA5), 2100 - (long)written) << len;
    }
}

TEST_F(Sound, NoDeviceMeansSilenceNotFailure) {
    setenv("SDL_VIDEODRIVER", "dummy", 1);
    setenv("SDL_AUDIODRIVER", "dummy", 1);
    snd_open();  // SDL's audio was never started: no device, no lock
    EXPECT_EQ(snd_device, 0u);
    snd_set_music(MUSIC_TITLE);
    snd_play_effect(SFX_MENU);
    EXPECT_EQ(snd_music_piece, MUSIC_TITLE);
    EXPECT_NE(snd_effect_slots[0].def, nullptr);
}

// The same requests give the same samples and state, bit for bit, however the
// stream is cut into calls (the audio thread takes 1024 samples, the test run
// 800) and equal to the plain sample-by-sample mix.
TEST_F(Sound, DeterministicWhateverTheCalls) {
    SoundState end_a, end_b;
    const std::vector<int16_t> a = play_script(1024, &end_a);
    for (int chunk : {1024, 800, 1, 48000, 0}) {
        EXPECT_EQ(play_script(chunk, &end_b), a) << chunk;
        EXPECT_TRUE(same_state(end_a, end_b)) << chunk;
    }
}

// The effects are fixed by their table; their samples must not move with the
// build type, the optimisation or the sanitisers.
TEST_F(Sound, EffectSamplesAreStable) {
    std::vector<int16_t> all;
    for (unsigned id = 0; id < 14; id++) {
        snd_play_effect(id);
        const std::vector<int16_t> one = render(57600);
        all.insert(all.end(), one.begin(), one.end());
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
        int a, b, pause_ms;
        void apply() const {
            if (kind == 0) snd_play_effect((unsigned)a);
            if (kind == 1) snd_set_music((unsigned)a);
            if (kind == 2) snd_set_volumes(a, b);
        }
    };
    const std::vector<Request> requests = {
        {0, SFX_CATCH, 0, 40},    {0, SFX_GOLDEN, 0, 0},      {0, SFX_SMASH, 0, 25},   {1, MUSIC_TITLE, 0, 30},
        {2, 0, 100, 30},          {0, SFX_HEN_LAYS, 0, 20},   {2, 80, 100, 30},        {1, MUSIC_STOP, 0, 0},
        {1, MUSIC_TITLE, 0, 15},  {0, SFX_LEVEL_INTRO, 0, 25}, {0, SFX_RAMP_CLICK, 0, 10}, {0, SFX_MENU, 0, 30},
    };

    const SoundState start = capture_sound();
    snd_set_music(MUSIC_TITLE);  // asked for before the device opens
    ASSERT_EQ(SDL_Init(SDL_INIT_AUDIO), 0) << SDL_GetError();
    snd_open();
    ASSERT_NE(snd_device, 0u) << SDL_GetError();
    for (const Request &r : requests) {
        SDL_Delay((Uint32)r.pause_ms);
        r.apply();
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
    while (pos < file.size() && std::count(&file[pos], &file[pos] + 1024, 0) == 1024) pos += 1024;
    ASSERT_LT(pos + 40 * 1024, file.size()) << "too little was played";

    restore_sound(start);
    snd_set_music(MUSIC_TITLE);
    size_t next = 0;
    int16_t block[1024];
    for (; pos < file.size(); pos += 1024) {
        SoundState before = capture_sound();
        snd_render(block, 1024);
        while (std::memcmp(block, &file[pos], sizeof block) != 0) {
            ASSERT_LT(next, requests.size()) << "block at " << pos << " matches no order of the requests";
            restore_sound(before);
            requests[next++].apply();
            before = capture_sound();
            snd_render(block, 1024);
        }
    }
    EXPECT_EQ(next, requests.size()) << "every request was heard";
}
