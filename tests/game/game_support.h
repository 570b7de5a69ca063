// Kestrune tests: driving the game rules tick by tick and watching what they ask for.
#pragma once
#include "game/game.h"
#include "sound/snd.h"

#include <cstddef>
#include <cstdint>
#include <vector>

// One sound request, stamped with the number of test ticks run before it.
struct SoundRequest {
    int tick;
    bool music;  // snd_set_music, else snd_play_effect
    unsigned id;
};
extern std::vector<SoundRequest> sound_log;
extern int sound_clock;

// Puts every game global back to its value at process start and empties the sound log.
void reset_process_state();

// One game_tick with the input; the sound clock advances first, so requests made in
// the tick carry its number (1 for the first tick after a reset of the clock).
void tick(const PlayerInput &input = PlayerInput{});
void tick_n(int n, const PlayerInput &input = PlayerInput{});
PlayerInput input_of_mask(int mask);

// game_start(level), then the intro ended by an action in its 31st tick: the next tick
// is the first playing tick. The sound clock starts at 0 after game_start.
void start_playing(int32_t level);

// The effects (or music requests) made in the given tick, in order.
std::vector<unsigned> effects_at(int tick_number);
std::vector<unsigned> music_at(int tick_number);
int count_effect(unsigned id);

// A hash of every game global (confetti and victory eggs included).
uint64_t hash_globals();
uint64_t hash_mix(uint64_t hash, const void *data, size_t size);

// A driver that plays like a careful player: it follows the egg that reaches its catch
// point next, lets rotten eggs fall, and presses up and down one floor at a time.
PlayerInput perfect_player();
void perfect_player_reset();

// The catch height of the basket on floor f of the current level.
float catch_height(int32_t floor);

// An egg placed on the ramp of (side, floor) just before its catch point, so that it
// reaches the catch point in the next playing tick.
Egg &place_egg(int index, int32_t side, int32_t floor, int32_t kind);

// The replay of the determinism checks: seed, start level and a driver mixing the
// careful player with scripted noise; returns a hash of every tick's globals and sound
// requests. When inputs is given, it is filled with the input records used (record)
// or read from them (replay).
uint64_t replay_run(std::vector<PlayerInput> *record, const std::vector<PlayerInput> *replay);
