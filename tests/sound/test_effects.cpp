// Kestrune sound tests: the effect table, the slots and the replacement rule.
#include "snd_test_support.h"

namespace {

int busy_slots() {
    int n = 0;
    for (const EffectSlot &s : snd_effect_slots) n += s.def != nullptr;
    return n;
}

}  // namespace

TEST_F(Sound, EffectStepsAndDurations) {
    const int32_t counts[14] = {2, 1, 3, 4, 4, 2, 3, 6, 1, 1, 4, 6, 1, 4};
    const int32_t total_ms[14] = {110, 22, 440, 310, 340, 460, 440, 550, 60, 25, 590, 750, 18, 1160};
    for (unsigned id = 0; id < 14; id++) {
        SCOPED_TRACE(id);
        restore_sound(pristine_sound());
        EXPECT_EQ(snd_effects[id].step_count, counts[id]);
        snd_play_effect(id);
        const EffectSlot &slot = snd_effect_slots[0];
        ASSERT_EQ(slot.def, &snd_effects[id]);
        int32_t total = 0;
        for (int s = 0; s < counts[id]; s++) {
            // Each step lasts its duration x 48 samples; the next follows at once.
            const EffectStep &step = snd_effects[id].steps[s];
            const int32_t length = (int32_t)step.ms * 48;
            EXPECT_EQ(slot.step, s);
            EXPECT_EQ(slot.remaining, length);
            Oscillator loaded{};
            loaded.active = 1;
            loaded.wave = step.wave;
            loaded.start_hz = step.start_hz;
            loaded.end_hz = step.end_hz;
            loaded.duty = step.duty;
            loaded.start_volume = step.volume;
            loaded.end_volume = step.volume * 0.7f;
            loaded.length = length;
            // phase and noise carry over from what the slot played before
            loaded.phase = slot.osc.phase;
            loaded.noise_seed = slot.osc.noise_seed;
            loaded.noise_value = slot.osc.noise_value;
            loaded.noise_hold = slot.osc.noise_hold;
            EXPECT_TRUE(same_osc(slot.osc, loaded)) << "step " << s;
            render(length);
            total += length;
        }
        EXPECT_EQ(total, total_ms[id] * 48);
        EXPECT_EQ(slot.def, nullptr);
    }
    // Whole effects: busy up to their last sample, free after it.
    for (auto c : {std::make_pair(SFX_BASKET_MOVE, 864), std::make_pair(SFX_RAMP_CLICK, 1056),
                   std::make_pair(SFX_GAME_OVER, 55680)}) {
        restore_sound(pristine_sound());
        snd_play_effect(c.first);
        const std::vector<int16_t> out = render(c.second - 1);
        EXPECT_EQ(out[0], 0);  // sounds from the next sample, with its fade-in from 0
        EXPECT_NE(out[20], 0);
        EXPECT_EQ(busy_slots(), 1) << c.first;
        render(1);
        EXPECT_EQ(busy_slots(), 0) << c.first;
    }
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

TEST_F(Sound, SlotChoice) {
    // The same effect twice plays twice, in two slots.
    snd_play_effect(SFX_GOLDEN);
    snd_play_effect(SFX_GOLDEN);
    EXPECT_EQ(snd_effect_slots[1].def, &snd_effects[SFX_GOLDEN]);

    // All six busy: the slot whose current step has the fewest samples left goes.
    // Step lengths 10560, 5760, 1920, 2400, 864 and 2880 samples.
    const unsigned ids[6] = {SFX_GAME_OVER, SFX_SMASH, SFX_CATCH, SFX_HEN_LAYS, SFX_BASKET_MOVE, SFX_GOLDEN};
    restore_sound(pristine_sound());
    for (unsigned id : ids) snd_play_effect(id);
    render(800);
    snd_play_effect(SFX_MENU);
    for (int i = 0; i < 6; i++) EXPECT_EQ(snd_effect_slots[i].def, &snd_effects[i == 4 ? (unsigned)SFX_MENU : ids[i]]) << i;
    EXPECT_EQ(snd_effect_slots[4].remaining, 2880);

    // The current step, not the whole effect: SFX_GAME_OVER with 560 samples
    // left of its first step (of 55680 in all) goes first.
    restore_sound(pristine_sound());
    snd_play_effect(SFX_GAME_OVER);
    render(10000);
    for (int i = 1; i < 6; i++) snd_play_effect(ids[i]);
    snd_play_effect(SFX_BONUS_TICK);
    EXPECT_EQ(snd_effect_slots[0].def, &snd_effects[SFX_BONUS_TICK]);

    // Ties go to the lowest index; a free slot is always taken first.
    restore_sound(pristine_sound());
    for (int i = 0; i < 6; i++) snd_play_effect(SFX_MENU);  // one step of 2880 samples
    render(100);
    snd_play_effect(SFX_ROTTEN);
    snd_play_effect(SFX_ROTTEN);
    EXPECT_EQ(snd_effect_slots[0].def, &snd_effects[SFX_ROTTEN]);
    EXPECT_EQ(snd_effect_slots[1].def, &snd_effects[SFX_ROTTEN]);
    EXPECT_EQ(snd_effect_slots[2].def, &snd_effects[SFX_MENU]);
    render(2780);  // the four left end together
    EXPECT_EQ(busy_slots(), 2);
    snd_play_effect(SFX_CATCH);
    EXPECT_EQ(snd_effect_slots[2].def, &snd_effects[SFX_CATCH]);
}

TEST_F(Sound, SlotNoiseStartsAtSeedZeroAndIsNeverReseeded) {
    snd_play_effect(SFX_SMASH);
    const Oscillator &o = snd_effect_slots[0].osc;
    // The held value is 0 until the first draw, which from seed 0 gives -1.
    std::vector<int16_t> out;
    while (o.noise_seed == 0u && out.size() < 100) out.push_back(render(1)[0]);
    for (size_t i = 0; i + 1 < out.size(); i++) EXPECT_EQ(out[i], 0) << i;
    EXPECT_LT(out.back(), 0);
    EXPECT_EQ(o.noise_seed, 12345u);
    EXPECT_EQ(o.noise_value, -1.0f);

    // A second smash in the same slot continues the sequence; music never
    // reseeds the slots either.
    render(55000);
    const uint32_t seed = o.noise_seed;
    EXPECT_NE(seed, 12345u);
    snd_play_effect(SFX_SMASH);
    snd_set_music(MUSIC_LEVEL_A);
    EXPECT_EQ(o.noise_seed, seed);
}
