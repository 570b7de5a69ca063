// Kestrune: the game's global records with their values at process start, and the
// read-only level, layout and speed tables.
#include "game/game_private.h"

GameState game_state;
Egg game_eggs[GAME_MAX_EGGS];
Splat game_splats[GAME_MAX_SPLATS];
Chick game_chicks[GAME_MAX_CHICKS];
int32_t game_hen_timers[GAME_HEN_TIMERS];
VictoryEgg game_victory_eggs[GAME_MAX_VICTORY_EGGS];
ConfettiParticle game_confetti[GAME_CONFETTI];

int32_t game_basket_side = 0;
int32_t game_basket_floor = 0;
float game_basket_y = 0.0f;
int32_t game_catch_timer = 0;
int32_t game_turn_timer = 0;
int32_t game_hurt_timer = 0;
int32_t game_slow_timer = 0;
int32_t game_prev_up = 0;
int32_t game_prev_down = 0;
int32_t game_spawn_countdown = 0;
int32_t game_last_hen = -1;
int32_t game_message_id = -1;

// Levels 1-2 have one floor, 3-5 two, 6-9 three, 10-15 four.
const int32_t game_level_layout[GAME_LEVELS] = {0, 0, 1, 1, 1, 2, 2, 2, 2, 3, 3, 3, 3, 3, 3};

// In pixels of the 960 x 640 level background; floors beyond `floors` hold 0.
const LevelLayout game_layouts[4] = {
    {1, 165.0f, 258.0f, 356.0f, 970.0f,
     {300.0f, 0.0f, 0.0f, 0.0f}, {322.0f, 0.0f, 0.0f, 0.0f}, {402.0f, 0.0f, 0.0f, 0.0f}},
    {2, 160.0f, 248.0f, 346.0f, 965.0f,
     {415.0f, 228.0f, 0.0f, 0.0f}, {398.0f, 212.0f, 0.0f, 0.0f}, {452.0f, 266.0f, 0.0f, 0.0f}},
    {3, 190.0f, 248.0f, 352.0f, 962.0f,
     {438.0f, 312.0f, 188.0f, 0.0f}, {404.0f, 280.0f, 156.0f, 0.0f}, {458.0f, 333.0f, 208.0f, 0.0f}},
    {4, 185.0f, 255.0f, 340.0f, 962.0f,
     {503.0f, 385.0f, 268.0f, 152.0f}, {490.0f, 372.0f, 255.0f, 140.0f}, {545.0f, 430.0f, 316.0f, 200.0f}},
};

const float game_chick_speeds[2] = {2.2f, -2.2f};
const float game_fall_drifts[2] = {1.9f, -1.9f};
const float game_slow_factors[2] = {0.55f, 1.0f};
