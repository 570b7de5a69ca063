// Kestrune tests: puts every global of the game rules back to its value at process start,
// so each test begins from the same state as a fresh game process.
#pragma once
#include <cstring>

#include "game/game.h"

inline void reset_game_globals() {
    std::memset(&game_state, 0, sizeof game_state);
    std::memset(game_eggs, 0, sizeof game_eggs);
    std::memset(game_splats, 0, sizeof game_splats);
    std::memset(game_chicks, 0, sizeof game_chicks);
    std::memset(game_hen_timers, 0, sizeof game_hen_timers);
    std::memset(game_victory_eggs, 0, sizeof game_victory_eggs);
    std::memset(game_confetti, 0, sizeof game_confetti);
    game_basket_side = 0;
    game_basket_floor = 0;
    game_basket_y = 0.0f;
    game_catch_timer = 0;
    game_turn_timer = 0;
    game_hurt_timer = 0;
    game_slow_timer = 0;
    game_prev_up = 0;
    game_prev_down = 0;
    game_spawn_countdown = 0;
    game_last_hen = -1;
    game_message_id = -1;
}
