// Kestrune: the keyboard and the game controller folded into one mask of InputBit
// values, and Enter or START into the confirm flag. Two things matter: a key pressed
// and released between two ticks still reaches the next tick (the pressed mask), and
// the game's action is a press, a bit the tick before did not have.
#include <cstring>

#include "app/app_private.h"

AppInput app_input;
int32_t app_pad_start_prev = 0;

namespace {

// The left stick counts beyond this value, in either direction.
const int16_t stick_threshold = 16000;

struct PadBit {
    SDL_GameControllerButton button;
    SDL_GameControllerButton second;  // SDL_CONTROLLER_BUTTON_INVALID: none
    SDL_GameControllerAxis axis;      // SDL_CONTROLLER_AXIS_INVALID: none
    int8_t direction;                 // +1: above the threshold, -1: below its negative
    int32_t bit;
};

const PadBit pad_bits[6] = {
    {SDL_CONTROLLER_BUTTON_DPAD_RIGHT, SDL_CONTROLLER_BUTTON_INVALID, SDL_CONTROLLER_AXIS_LEFTX, 1,
     INPUT_RIGHT},
    {SDL_CONTROLLER_BUTTON_DPAD_LEFT, SDL_CONTROLLER_BUTTON_INVALID, SDL_CONTROLLER_AXIS_LEFTX, -1,
     INPUT_LEFT},
    {SDL_CONTROLLER_BUTTON_DPAD_UP, SDL_CONTROLLER_BUTTON_INVALID, SDL_CONTROLLER_AXIS_LEFTY, -1,
     INPUT_UP},
    {SDL_CONTROLLER_BUTTON_DPAD_DOWN, SDL_CONTROLLER_BUTTON_INVALID, SDL_CONTROLLER_AXIS_LEFTY, 1,
     INPUT_DOWN},
    {SDL_CONTROLLER_BUTTON_B, SDL_CONTROLLER_BUTTON_Y, SDL_CONTROLLER_AXIS_INVALID, 0, INPUT_ACTION_B},
    {SDL_CONTROLLER_BUTTON_A, SDL_CONTROLLER_BUTTON_X, SDL_CONTROLLER_AXIS_INVALID, 0, INPUT_ACTION_A},
};

bool pad_bit_set(SDL_GameController *pad, const PadBit &row) {
    if (SDL_GameControllerGetButton(pad, row.button)) return true;
    if (row.second != SDL_CONTROLLER_BUTTON_INVALID && SDL_GameControllerGetButton(pad, row.second))
        return true;
    if (row.axis == SDL_CONTROLLER_AXIS_INVALID) return false;
    int16_t v = SDL_GameControllerGetAxis(pad, row.axis);
    return row.direction > 0 ? v > stick_threshold : v < -stick_threshold;
}

}  // namespace

int32_t app_key_bit(int32_t sym) {
    // By key code alone, whatever the modifiers; only the left Shift and Ctrl count.
    switch (sym) {
    case SDLK_d:
    case SDLK_RIGHT: return INPUT_RIGHT;
    case SDLK_a:
    case SDLK_LEFT: return INPUT_LEFT;
    case SDLK_w:
    case SDLK_UP: return INPUT_UP;
    case SDLK_s:
    case SDLK_DOWN: return INPUT_DOWN;
    case SDLK_k:
    case SDLK_z:
    case SDLK_LSHIFT: return INPUT_ACTION_B;
    case SDLK_j:
    case SDLK_x:
    case SDLK_SPACE:
    case SDLK_LCTRL: return INPUT_ACTION_A;
    default: return 0;
    }
}

// The input bits of one key event (the command keys come after it, in app_screens.cpp).
void app_input_key(const SDL_KeyboardEvent *key) {
    int32_t bit = app_key_bit(key->keysym.sym);
    if (!bit) return;
    if (key->type == SDL_KEYUP) {
        // Also on the name-entry screen: a key held when the game ended and let go
        // while the name was typed must not stay down for the next game.
        app_input.held &= ~bit;
        return;
    }
    // Typing a name sets no bit: the letters arrive as text.
    if (app_state == SCREEN_NAME_ENTRY) return;
    app_input.held |= bit;
    if (key->repeat == 0) app_input.pressed |= bit;
}

void app_read_controller() {
    SDL_GameController *pad = app_session.controller;
    if (!pad) {
        app_input.pad = 0;
        app_input.frame = app_input.held;
        return;
    }
    int32_t mask = 0;
    for (const PadBit &row : pad_bits) {
        if (pad_bit_set(pad, row)) mask |= row.bit;
    }
    app_input.pad = mask;
    // START is an edge: holding it gives one confirm.
    int32_t s = SDL_GameControllerGetButton(pad, SDL_CONTROLLER_BUTTON_START) ? 1 : 0;
    if (s && !app_pad_start_prev) app_input.confirm = 1;
    app_pad_start_prev = s;
    app_input.frame = mask | app_input.held;
}

// The mask step of a tick: the first tick of a frame also takes the presses since the
// last tick and sees the confirm; later ticks of the frame take the frame mask alone.
void app_input_begin_tick(int first) {
    app_input.previous = app_input.tick;
    if (first) {
        app_input.tick = app_input.pressed | app_input.frame;
        app_input.tick_confirm = app_input.confirm;
    } else {
        app_input.tick = app_input.frame;
        app_input.tick_confirm = 0;
    }
}

// After the frame's ticks. A frame that ran none keeps its presses and its confirm for
// the next frame's first tick: on a display faster than 60 Hz such frames are common,
// and an Enter pressed in one must not be lost.
void app_input_end_frame(int32_t ticks_run) {
    if (ticks_run <= 0) return;
    app_input.pressed = 0;
    app_input.confirm = 0;
    app_input.tick_confirm = 0;
}

void app_player_input(PlayerInput *input) {
    int32_t mask = app_input.tick;
    int32_t fresh = mask & ~app_input.previous;
    input->left = mask & INPUT_LEFT;
    input->right = mask & INPUT_RIGHT;
    input->up = mask & INPUT_UP;
    input->down = mask & INPUT_DOWN;
    input->action = ((fresh & (INPUT_ACTION_A | INPUT_ACTION_B)) != 0 || app_input.tick_confirm) ? 1 : 0;
}
