// Kestrune tests: the game rules test runner. Run with --replay-hash it instead prints,
// from a fresh process, the hash of the globals at process start, their hash after two
// ticks made before any game_start, the number of sound requests those made, and the
// hash of the replay run; the determinism tests run it as a second process.
#include "tests/game/game_support.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <cstring>

int main(int argc, char **argv) {
    if (argc > 1 && std::strcmp(argv[1], "--replay-hash") == 0) {
        const uint64_t initial = hash_globals();
        const PlayerInput all = {1, 1, 1, 1, 1};
        game_tick(&all);
        game_tick(nullptr);
        const uint64_t after = hash_globals();
        const size_t requests = sound_log.size();
        const uint64_t replay = replay_run(nullptr, nullptr);
        std::printf("%016llx %016llx %zu %016llx\n", (unsigned long long)initial,
                    (unsigned long long)after, requests, (unsigned long long)replay);
        return 0;
    }
    testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
