// Kestrune: the game rules' whole contract. The game is a set of fixed global records
// written only by game_start, game_tick and game_update_confetti, and read by the shell
// and the painters between ticks. No heap, no device, no clock: one PlayerInput a tick.
#pragma once
#include <cstdint>

// The input of one tick. Non-zero means pressed; action is already an edge (a press).
struct PlayerInput {
    int32_t left;
    int32_t right;
    int32_t up;
    int32_t down;
    int32_t action;
};

// Bits of the shell's input mask (also the test script's masks).
enum InputBit {
    INPUT_RIGHT = 0x01,
    INPUT_LEFT = 0x02,
    INPUT_UP = 0x04,
    INPUT_DOWN = 0x08,
    INPUT_ACTION_B = 0x10,
    INPUT_ACTION_A = 0x20,
};

enum GamePhase {
    PHASE_INTRO = 0,
    PHASE_PLAYING = 1,
    PHASE_LEVEL_COMPLETE = 2,
    PHASE_GAME_OVER = 3,
    PHASE_VICTORY = 4,
};

struct GameState {
    int32_t phase;
    int32_t phase_timer;
    int32_t level;   // 0..14
    int32_t floors;  // 1..4
    int32_t score;
    int32_t lives;
    int32_t caught;
    int32_t target;
    int32_t bonus;
    int32_t message_timer;
    int32_t extra_life_timer;
};

enum EggKind {
    EGG_NORMAL = 0,
    EGG_GOLDEN = 1,
    EGG_PAINTED = 2,
    EGG_ROTTEN = 3,
};

struct Egg {
    int32_t active;
    int32_t side;
    int32_t floor;
    int32_t kind;
    int32_t falling;
    float t;
    float x;
    float y;
    float vy;
    float angle;
};

struct Splat {
    int32_t timer;
    float x;
};

struct Chick {
    int32_t active;
    int32_t side;
    int32_t ticks;
    float x;
};

struct VictoryEgg {
    float x;
    float y;
    float vy;
    float phase;
    int32_t kind;
    int32_t active;
};

struct ConfettiParticle {
    float x;
    float y;
    float vx;
    float vy;
    float angle;
    float spin;
    int32_t colour;
};

struct LevelLayout {
    int32_t floors;
    float hen_x;
    float ramp_start_x;
    float ramp_end_x;
    float mirror_width;
    float perch_y[4];
    float ramp_top_y[4];
    float catch_y[4];
};

enum {
    GAME_MAX_EGGS = 24,
    GAME_MAX_SPLATS = 6,
    GAME_MAX_CHICKS = 6,
    GAME_HEN_TIMERS = 8,
    GAME_MAX_VICTORY_EGGS = 40,
    GAME_CONFETTI = 60,
    GAME_LEVELS = 15,
};

extern GameState game_state;
extern Egg game_eggs[GAME_MAX_EGGS];
extern Splat game_splats[GAME_MAX_SPLATS];
extern Chick game_chicks[GAME_MAX_CHICKS];
extern int32_t game_hen_timers[GAME_HEN_TIMERS];  // index side x 4 + floor
extern VictoryEgg game_victory_eggs[GAME_MAX_VICTORY_EGGS];
extern ConfettiParticle game_confetti[GAME_CONFETTI];

extern int32_t game_basket_side;
extern int32_t game_basket_floor;
extern float game_basket_y;
extern int32_t game_catch_timer;
extern int32_t game_turn_timer;
extern int32_t game_hurt_timer;
extern int32_t game_slow_timer;
extern int32_t game_prev_up;
extern int32_t game_prev_down;
extern int32_t game_spawn_countdown;
extern int32_t game_last_hen;
extern int32_t game_message_id;

extern const int32_t game_level_layout[GAME_LEVELS];
extern const LevelLayout game_layouts[4];

// Starts a new game at level index 0..14; any other value starts at 0.
void game_start(int32_t level);
// Advances the game by one tick. A null input counts as nothing pressed; a tick before
// the first game_start changes nothing.
void game_tick(const PlayerInput *input);
// Moves the 60 confetti strokes one tick (game_tick does it too, first thing).
void game_update_confetti();
