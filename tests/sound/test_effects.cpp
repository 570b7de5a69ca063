// Kestrune sound tests: the effect table, the slots and the replacement rule.
#include <cmath>

#include "snd_test_support.h"

namespace {

int busy_slots() {
    int n = 0;
    for (const EffectSlot &s : snd_effect_slots) n += s.def != nullptr;
    return n;
}

}  // namespace

TEST_F(Sound, EffectStepLengths) {
    const int32_t counts[14] = {2, 1, 3, 4, 4, 2, 3, 6, 1, 1, 4, 6, 1, 4};
    const int32_t total_ms[14] = {110, 22, 440, 310, 340, 460, 440, 550, 60, 25, 590, 750, 18, 1160};
    for (unsigned id = 0; id < 14; id++) {
        SCOPED_TRACE(id);
        restore_sound(pristine_sound());
        EXPECT_EQ(snd_effects[id].step_count, counts[id]);
        snd_play_effect(id);
        ASSERT_EQ(snd_effect_slots[0].def, &snd_effects[id]);
        // Each step lasts its duration x 48 samples, then the next follows.
        int32_t total = 0;
        for (int s = 0; s < counts[id]; s++) {
            const EffectStep &step = snd_effects[id].steps[s];
            const int32_t length = (int32_t)step.ms * 48;
            EXPECT_EQ(snd_effect_slots[0].step, s);
            EXPECT_EQ(snd_effect_slots[0].remaining, length);
            const Oscillator &o = snd_effect_slots[0].osc;
            EXPECT_EQ(o.length, length);
            EXPECT_EQ(o.position, 0);
            EXPECT_EQ(o.active, 1);
            EXPECT_EQ(o.wave, step.wave);
            EXPECT_EQ(o.start_hz, (double)step.start_hz);
            EXPECT_EQ(o.end_hz, (double)step.end_hz);
            EXPECT_EQ(o.start_volume, step.volume);
            EXPECT_EQ(o.end_volume, step.volume * 0.7f);
            EXPECT_EQ(o.duty, step.duty);
            EXPECT_EQ(o.vibrato, 0.0f);
            render(length);
            total += length;
        }
        EXPECT_EQ(total, total_ms[id] * 48);
        EXPECT_EQ(snd_effect_slots[0].def, nullptr);
    }
}

TEST_F(Sound, EffectDurationsInSamples) {
    const struct {
        unsigned id;
        int samples;
    } cases[] = {{SFX_BASKET_MOVE, 864}, {SFX_RAMP_CLICK, 1056}, {SFX_GAME_OVER, 55680}, {SFX_FANFARE, 26400}};
    for (const auto &c : cases) {
        restore_sound(pristine_sound());
        snd_play_effect(c.id);
        render(c.samples - 1);
        EXPECT_EQ(busy_slots(), 1) << c.id;
        render(1);
        EXPECT_EQ(busy_slots(), 0) << c.id;
    }
    // SFX_GAME_OVER's steps, as lengths.
    EXPECT_EQ((int32_t)(snd_effects[SFX_GAME_OVER].steps[0].ms * 48000.0f / 1000.0f), 10560);
    EXPECT_EQ((int32_t)(snd_effects[SFX_GAME_OVER].steps[3].ms * 48000.0f / 1000.0f), 24000);
}

TEST_F(Sound, EffectSoundsFromTheNextSample) {
    snd_play_effect(SFX_CATCH);
    const std::vector<int16_t> out = render(200);
    EXPECT_EQ(out[0], 0);  // the fade-in starts at 0
    EXPECT_NE(out[1], 0);
    EXPECT_NE(out[150], 0);
}

TEST_F(Sound, OutOfRangeEffectsAreIgnored) {
    snd_play_effect(SFX_CATCH);
    render(10);
    const SoundState before = capture_sound();
    for (unsigned id : {14u, 15u, 0xFFFFFFFFu, 0x80000000u}) {
        snd_play_effect(id);
        EXPECT_TRUE(same_state(capture_sound(), before)) << id;
    }
}

TEST_F(Sound, SameEffectTwicePlaysInTwoSlots) {
    snd_play_effect(SFX_GOLDEN);
    snd_play_effect(SFX_GOLDEN);
    EXPECT_EQ(snd_effect_slots[0].def, &snd_effects[SFX_GOLDEN]);
    EXPECT_EQ(snd_effect_slots[1].def, &snd_effects[SFX_GOLDEN]);
    // Two alike give twice the one: the sum is linear until the clamp.
    const std::vector<int16_t> two = render(2000);
    restore_sound(pristine_sound());
    snd_play_effect(SFX_GOLDEN);
    const std::vector<int16_t> one = render(2000);
    for (int i = 0; i < 2000; i++) EXPECT_NEAR(two[i], 2 * one[i], 1) << i;
}

TEST_F(Sound, FreeSlotsAreTakenInOrder) {
    snd_play_effect(SFX_GAME_OVER);
    snd_play_effect(SFX_BASKET_MOVE);
    snd_play_effect(SFX_GAME_OVER);
    render(864);  // the basket tap in slot 1 is over
    EXPECT_EQ(snd_effect_slots[1].def, nullptr);
    snd_play_effect(SFX_MENU);
    EXPECT_EQ(snd_effect_slots[1].def, &snd_effects[SFX_MENU]);
}

TEST_F(Sound, SeventhEffectReplacesTheStepNearestItsEnd) {
    // Step lengths: 10560, 5760, 1920, 2400, 864, 2880 samples.
    const unsigned ids[6] = {SFX_GAME_OVER, SFX_SMASH, SFX_CATCH, SFX_HEN_LAYS, SFX_BASKET_MOVE, SFX_GOLDEN};
    for (unsigned id : ids) snd_play_effect(id);
    render(800);
    ASSERT_EQ(busy_slots(), 6);
    EXPECT_EQ(snd_effect_slots[4].remaining, 64);
    snd_play_effect(SFX_MENU);
    EXPECT_EQ(snd_effect_slots[4].def, &snd_effects[SFX_MENU]);
    EXPECT_EQ(snd_effect_slots[4].step, 0);
    EXPECT_EQ(snd_effect_slots[4].remaining, 2880);
    for (int i = 0; i < 6; i++) {
        if (i != 4) {
            EXPECT_EQ(snd_effect_slots[i].def, &snd_effects[ids[i]]) << i;
        }
    }

    // It is the current step that counts, not the whole effect: SFX_GAME_OVER
    // with 560 samples left of its first step (of 55680 in all) goes first.
    restore_sound(pristine_sound());
    snd_play_effect(SFX_GAME_OVER);
    render(10000);
    for (int i = 1; i < 6; i++) snd_play_effect(ids[i]);
    ASSERT_EQ(busy_slots(), 6);
    snd_play_effect(SFX_BONUS_TICK);
    EXPECT_EQ(snd_effect_slots[0].def, &snd_effects[SFX_BONUS_TICK]);

    // Ties go to the lowest index.
    restore_sound(pristine_sound());
    for (int i = 0; i < 6; i++) snd_play_effect(SFX_GOLDEN);
    render(100);
    snd_play_effect(SFX_ROTTEN);
    EXPECT_EQ(snd_effect_slots[0].def, &snd_effects[SFX_ROTTEN]);
    snd_play_effect(SFX_ROTTEN);  // slot 0 now has the most left: slot 1 goes
    EXPECT_EQ(snd_effect_slots[1].def, &snd_effects[SFX_ROTTEN]);
    EXPECT_EQ(busy_slots(), 6);
}

TEST_F(Sound, SlotNoiseStartsAtSeedZeroAndIsNeverReseeded) {
    snd_play_effect(SFX_SMASH);
    const Oscillator &o = snd_effect_slots[0].osc;
    EXPECT_EQ(o.noise_seed, 0u);
    // The held value is 0 until the first draw, which gives -1 from seed 0.
    std::vector<int16_t> out;
    while (o.noise_seed == 0u) {
        out.push_back(render(1)[0]);
        ASSERT_LT(out.size(), 100u);
    }
    for (size_t i = 0; i + 1 < out.size(); i++) EXPECT_EQ(out[i], 0) << i;
    EXPECT_LT(out.back(), 0);  // the sample of the draw already plays -1
    EXPECT_EQ(o.noise_seed, 12345u);
    EXPECT_EQ(o.noise_value, -1.0f);

    // A second smash in the same slot continues the sequence.
    render(55000);
    ASSERT_EQ(snd_effect_slots[0].def, nullptr);
    const uint32_t seed = o.noise_seed;
    EXPECT_NE(seed, 12345u);
    snd_play_effect(SFX_SMASH);
    EXPECT_EQ(o.noise_seed, seed);
    // Music never reseeds the slots either.
    snd_set_music(MUSIC_LEVEL_A);
    EXPECT_EQ(o.noise_seed, seed);
}
