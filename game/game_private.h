// Kestrune: what the game rules' own files share and nobody else sees.
#pragma once
#include "game/game.h"

// The messages the rules show, as numbers of the interface's string slots (StringSlot in
// text/text.h, which the rules do not include: they draw nothing).
enum GameMessage {
    GAME_MSG_SMASHED = 29,
    GAME_MSG_ROTTEN = 30,
    GAME_MSG_GOLDEN = 31,
    GAME_MSG_EASTER_EGG = 32,
};

// Speed tables, each indexed by a condition that is 0 or 1.
extern const float game_chick_speeds[2];  // [side == 0]: chick's x step per tick
extern const float game_fall_drifts[2];   // [side == 0]: falling egg's x step per tick
extern const float game_slow_factors[2];  // [game_slow_timer == 0]: factor on the ramp step

// Sets up game_state.level afresh: floors, target, the arrays, the basket, the timers,
// the intro phase and the level's music.
void game_setup_level();

// The body of a tick in PHASE_PLAYING, after the frame.
void game_play_tick(const PlayerInput &input);

// The layout row of the current level.
inline const LevelLayout &game_current_layout() {
    return game_layouts[game_level_layout[game_state.level]];
}

// The basket's catch height of floor f: 34 below the egg's centre at the catch point.
inline float game_catch_height(const LevelLayout &layout, int32_t floor) {
    return (((layout.catch_y[floor] + 60.0f) - 20.0f) + 2.0f) + 34.0f;
}
