// Kestrune tests: whole games tick by tick, determinism and bad input.
#include "tests/game/game_fixture.h"

#include <climits>
#include <cstdio>
#include <cstring>
#include <string>

#include <unistd.h>

namespace {

// The hash of the replay run on the Debian build this game is made on (glibc's rand
// and sinf). A change means the rules, or the order of their rand calls or float
// operations, have changed: every recorded test-run script would replay differently.
constexpr uint64_t kRecordedReplayHash = 0x88a1072ea2a99951ull;

// The rules' promises that hold after every tick of any game.
void check_invariants(int32_t first_level) {
    const GameState &s = game_state;
    ASSERT_GE(s.phase, PHASE_INTRO);
    ASSERT_LE(s.phase, PHASE_VICTORY);
    ASSERT_GE(s.level, first_level);
    ASSERT_LT(s.level, GAME_LEVELS);
    ASSERT_EQ(s.floors, game_layouts[game_level_layout[s.level]].floors);
    ASSERT_EQ(s.target, 20 + 3 * s.level);
    if (s.phase == PHASE_PLAYING) {
        ASSERT_LT(s.caught, s.target);
    }
    if (s.phase == PHASE_GAME_OVER) {
        ASSERT_EQ(s.lives, 0);
    } else {
        ASSERT_GE(s.lives, 1);
        ASSERT_LE(s.lives, 5);
    }
    ASSERT_LT(game_basket_floor, s.floors);
    ASSERT_GE(game_basket_floor, 0);
    for (const Egg &egg : game_eggs) {
        if (!egg.active) continue;
        ASSERT_LT(egg.floor, s.floors);
        ASSERT_LE(egg.y, 656.0f + 40.0f);
    }
    for (int32_t timer : game_hen_timers) ASSERT_LE(timer, 40);
    ASSERT_LE(s.message_timer, 110);
    ASSERT_LE(s.extra_life_timer, 120);
}

// Random key masks, each held for a few ticks.
struct Keys {
    uint32_t state;
    int held = 0;
    PlayerInput input{};
    PlayerInput next() {
        if (held-- <= 0) {
            state = state * 1103515245u + 12345u;
            input = input_of_mask((int)(state >> 16) & 0x3f);
            held = (int)(state >> 24) % 12;
        }
        return input;
    }
};

}  // namespace

TEST_F(GameTest, EveryLevelRunsTickByTickToGameOver) {
    for (int32_t level = 0; level < GAME_LEVELS; ++level) {
        reset_process_state();
        srand(100 + level);
        game_start(level);
        Keys keys{(uint32_t)level};
        int ticks = 0;
        while (game_state.phase != PHASE_GAME_OVER && ticks < 100000) {
            tick(keys.next());
            ++ticks;
            check_invariants(level);
            if (HasFatalFailure()) return;
        }
        ASSERT_EQ(game_state.phase, PHASE_GAME_OVER) << level;
        const SoundRequest &last = sound_log.back();
        EXPECT_EQ(last.id, (unsigned)SFX_GAME_OVER);
        EXPECT_EQ(last.tick, sound_clock);
        EXPECT_EQ(music_at(sound_clock), std::vector<unsigned>{kMusicStop});

        Egg eggs[GAME_MAX_EGGS];
        std::memcpy(eggs, game_eggs, sizeof eggs);
        for (int t = 0; t < 201; ++t) tick(keys.next());
        EXPECT_EQ(std::memcmp(eggs, game_eggs, sizeof eggs), 0);
        EXPECT_EQ(game_state.phase_timer, 201);
    }
}

TEST_F(GameTest, ACarefulPlayerClearsEveryLevelToVictory) {
    srand(1);
    perfect_player_reset();
    game_start(0);
    int ticks = 0;
    while (game_state.phase != PHASE_VICTORY && ticks < 400000) {
        tick(perfect_player());
        ++ticks;
        check_invariants(0);
        if (HasFatalFailure()) return;
        if (game_state.phase == PHASE_GAME_OVER) break;
    }
    ASSERT_EQ(game_state.phase, PHASE_VICTORY);
    EXPECT_EQ(game_state.level, 14);
    // The music: each level's piece, a stop at each level's end, then the victory piece.
    std::vector<unsigned> music;
    for (const SoundRequest &r : sound_log) {
        if (r.music) music.push_back(r.id);
    }
    ASSERT_EQ(music.size(), 31u);
    for (int level = 0; level < GAME_LEVELS; ++level) {
        EXPECT_EQ(music[2 * level], (unsigned)(level % 3 + 1));
        EXPECT_EQ(music[2 * level + 1], kMusicStop);
    }
    EXPECT_EQ(music.back(), (unsigned)MUSIC_VICTORY);
    EXPECT_EQ(count_effect(SFX_LEVEL_COMPLETE), 15);
    EXPECT_EQ(count_effect(SFX_LEVEL_INTRO), 15);
    tick_n(1201, perfect_player());
    EXPECT_EQ(game_state.phase, PHASE_VICTORY);
}

TEST_F(GameTest, AReplayRepeatsBitForBitInOneProcessAndFromItsInputRecords) {
    std::vector<PlayerInput> inputs;
    const uint64_t first = replay_run(&inputs, nullptr);
    // The run crosses several levels and ends.
    EXPECT_GE(game_state.level, 8);
    EXPECT_TRUE(game_state.phase == PHASE_GAME_OVER || game_state.phase == PHASE_VICTORY);
    EXPECT_GT(inputs.size(), 10000u);
    EXPECT_EQ(replay_run(nullptr, nullptr), first);
    EXPECT_EQ(replay_run(nullptr, &inputs), first);
    EXPECT_EQ(first, kRecordedReplayHash) << std::hex << first;

    // Any non-zero value counts as pressed: the same records with other values.
    const int32_t pressed[] = {INT32_MIN, -1, 2, 0x10000, INT32_MAX};
    std::vector<PlayerInput> odd = inputs;
    for (size_t i = 0; i < odd.size(); ++i) {
        int32_t *fields[] = {&odd[i].left, &odd[i].right, &odd[i].up, &odd[i].down, &odd[i].action};
        for (int32_t *f : fields) {
            if (*f) *f = pressed[(i + (size_t)(f - &odd[i].left)) % 5];
        }
    }
    EXPECT_EQ(replay_run(nullptr, &odd), first);
}

TEST_F(GameTest, AReplayRepeatsInASecondProcess) {
    char self[4096] = {};
    ASSERT_GT(readlink("/proc/self/exe", self, sizeof self - 1), 0);
    const std::string command = "'" + std::string(self) + "' --replay-hash";
    FILE *child = popen(command.c_str(), "r");
    ASSERT_NE(child, nullptr);
    unsigned long long initial = 0, before_start = 0, replay = 0;
    size_t requests = 99;
    const int fields = fscanf(child, "%llx %llx %zu %llx", &initial, &before_start, &requests, &replay);
    ASSERT_EQ(pclose(child), 0);
    ASSERT_EQ(fields, 4);
    // A fresh process holds the starting values, and ticks before any game_start change
    // nothing and ask for no sound.
    EXPECT_EQ(initial, hash_globals());
    EXPECT_EQ(before_start, initial);
    EXPECT_EQ(requests, 0u);
    EXPECT_EQ(replay, replay_run(nullptr, nullptr));
}

TEST_F(GameTest, NoInputRecordIsTheSameAsOneWithNothingPressed) {
    uint64_t hashes[2];
    for (int pass = 0; pass < 2; ++pass) {
        reset_process_state();
        srand(8);
        game_start(9);
        const PlayerInput none{};
        for (int t = 0; t < 3000; ++t) game_tick(pass ? nullptr : &none);
        hashes[pass] = hash_globals();
    }
    EXPECT_EQ(hashes[0], hashes[1]);
}
