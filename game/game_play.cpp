// Kestrune: one tick of the playing phase. The basket turns and changes floor, eases
// towards its floor's catch height, a hen may lay, and every egg moves one step: out of
// the hen, down its ramp or falling; it is caught at the foot of the ramp or drops and
// smashes. All motion is float32, evaluated in the order written, so a run with a fixed
// seed and fixed input replays exactly.
#include "game/game_private.h"
#include "sound/snd.h"

#include <cstdlib>
#include <cstring>

namespace {

// The side's x of a layout x value: mirrored on the right-hand side.
float side_x(const LevelLayout &layout, int32_t side, float v) {
    return side == 0 ? v : layout.mirror_width - v;
}

void move_basket(const PlayerInput &input) {
    const bool left = input.left != 0;
    const bool right = input.right != 0;
    int32_t side = game_basket_side;
    if (left && !right) side = 0;
    if (right && !left) side = 1;

    int32_t floor = game_basket_floor;
    if (input.up != 0 && game_prev_up == 0 && floor < game_state.floors - 1) floor += 1;
    if (input.down != 0 && game_prev_down == 0 && floor > 0) floor -= 1;
    game_prev_up = input.up;
    game_prev_down = input.down;

    if (side != game_basket_side) game_turn_timer = 5;
    if (side != game_basket_side || floor != game_basket_floor) {
        game_basket_side = side;
        game_basket_floor = floor;
        snd_play_effect(SFX_BASKET_MOVE);
        game_hurt_timer = 0;
    }
}

void count_down(int32_t &timer) {
    if (timer > 0) timer -= 1;
}

// A hen is chosen, a repeat of the last one surviving each test with chance 1/3; the egg
// goes into the lowest free record when there is one; then the pause until the next.
void lay_egg() {
    const int32_t hens = 2 * game_state.floors;
    int32_t hen = rand() % hens;
    while (hen == game_last_hen) {
        const int32_t keep = rand() % 3;
        if (keep == 0) break;
        hen = rand() % hens;
    }
    game_last_hen = hen;

    for (Egg &egg : game_eggs) {
        if (egg.active) continue;
        std::memset(&egg, 0, sizeof egg);
        egg.active = 1;
        egg.side = hen % 2;
        egg.floor = hen / 2;
        egg.t = -0.12f;
        const int32_t r = rand() % 100;
        if (r < 6) {
            egg.kind = EGG_GOLDEN;
        } else if (r < 10 && game_state.level >= 2) {
            egg.kind = EGG_PAINTED;
        } else if (r < 19 && game_state.level >= 4) {
            egg.kind = EGG_ROTTEN;
        } else {
            egg.kind = EGG_NORMAL;
        }
        game_hen_timers[egg.side * 4 + egg.floor] = 40;
        snd_play_effect(SFX_HEN_LAYS);
        break;
    }

    int32_t base = 100 - 5 * game_state.level;
    if (base < 31) base = 30;
    game_spawn_countdown = base + rand() % (base / 2);
}

void show_message(int32_t slot) {
    game_message_id = slot;
    game_state.message_timer = 110;
}

// Returns true when that was the last life: the game is over and the tick ends.
bool lose_life() {
    game_state.lives -= 1;
    if (game_state.lives > 0) return false;
    game_state.lives = 0;
    game_state.phase = PHASE_GAME_OVER;
    game_state.phase_timer = 0;
    snd_set_music((unsigned)MUSIC_STOP);
    snd_play_effect(SFX_GAME_OVER);
    return true;
}

void complete_level() {
    game_state.phase = PHASE_LEVEL_COMPLETE;
    game_state.phase_timer = 0;
    snd_set_music((unsigned)MUSIC_STOP);
    snd_play_effect(SFX_LEVEL_COMPLETE);
    std::memset(game_eggs, 0, sizeof game_eggs);
    game_state.bonus = 200 * game_state.level + 300 * game_state.lives + 200;
    if (game_state.lives < 5) {
        game_state.lives += 1;
        game_state.extra_life_timer = 120;
    }
}

// A dropped egg hit the floor. Returns true when the tick ends (game over).
bool smash(Egg &egg) {
    egg.active = 0;
    if (egg.kind == EGG_ROTTEN) {
        snd_play_effect(SFX_ROTTEN);
        for (Splat &splat : game_splats) {
            if (splat.timer > 0) continue;
            splat.timer = 90;
            splat.x = egg.x;
            break;
        }
        return false;
    }
    snd_play_effect(SFX_SMASH);
    for (Splat &splat : game_splats) {
        if (splat.timer > 0) continue;
        splat.timer = 150;
        splat.x = egg.x;
        break;
    }
    for (Chick &chick : game_chicks) {
        if (chick.active) continue;
        chick.active = 1;
        chick.side = egg.side;
        chick.ticks = 0;
        chick.x = egg.x;
        break;
    }
    show_message(GAME_MSG_SMASHED);
    game_hurt_timer = 50;
    return lose_life();
}

// The egg reached the foot of its ramp. Returns true when the tick ends (game over or
// level complete).
bool reach_catch_point(const LevelLayout &layout, Egg &egg) {
    const float height = game_catch_height(layout, egg.floor);
    float gap = game_basket_y - height;
    if (gap < 0.0f) gap = -gap;
    if (game_basket_side != egg.side || game_basket_floor != egg.floor || !(gap < 30.0f)) {
        egg.falling = 1;
        egg.vy = 1.0f;
        return false;
    }
    egg.active = 0;
    game_catch_timer = 14;
    if (egg.kind == EGG_ROTTEN) {
        snd_play_effect(SFX_ROTTEN);
        show_message(GAME_MSG_ROTTEN);
        return lose_life();
    }
    game_state.caught += 1;
    game_state.score += egg.kind == EGG_GOLDEN ? 100 : game_state.level + 10;
    if (egg.kind == EGG_PAINTED) {
        snd_play_effect(SFX_PAINTED);
        show_message(GAME_MSG_EASTER_EGG);
        game_slow_timer = 480;
    } else if (egg.kind == EGG_GOLDEN) {
        snd_play_effect(SFX_GOLDEN);
        show_message(GAME_MSG_GOLDEN);
    } else {
        snd_play_effect(SFX_CATCH);
    }
    if (game_state.caught >= game_state.target) {
        complete_level();
        return true;
    }
    return false;
}

// One step of an egg on the hen or the ramp. Returns true when the tick ends.
bool roll(const LevelLayout &layout, Egg &egg, float dt) {
    const float t_old = egg.t;
    egg.t = t_old + dt;
    const float turn = egg.side == 0 ? 1.0f : -1.0f;
    egg.angle = (turn * dt) * 900.0f + egg.angle;
    if (egg.t > 0.0f && (int32_t)(5.0f * t_old) != (int32_t)(5.0f * egg.t)) {
        snd_play_effect(SFX_RAMP_CLICK);
    }

    const int32_t f = egg.floor;
    const float top = ((layout.ramp_top_y[f] + 60.0f) - 20.0f) + 2.0f;
    if (egg.t < 0.0f) {
        const float u = egg.t / 0.12f + 1.0f;
        const float a = side_x(layout, egg.side, layout.hen_x) + 20.0f;
        const float b = side_x(layout, egg.side, layout.ramp_start_x) + 20.0f;
        egg.x = (b - a) * u + a;
        const float perch = layout.perch_y[f] + 60.0f;
        egg.y = ((top - perch) + 6.0f) * u + (perch - 6.0f);
    } else {
        const float a = side_x(layout, egg.side, layout.ramp_start_x) + 20.0f;
        const float b = side_x(layout, egg.side, layout.ramp_end_x) + 20.0f;
        egg.x = (b - a) * egg.t + a;
        const float end = ((layout.catch_y[f] + 60.0f) - 20.0f) + 2.0f;
        egg.y = (end - top) * egg.t + top;
    }

    if (egg.t >= 1.0f) return reach_catch_point(layout, egg);
    return false;
}

// One step of a dropped egg. Returns true when the tick ends.
bool fall(Egg &egg) {
    egg.vy += 0.5f;
    egg.angle += 8.0f;
    egg.x += game_fall_drifts[egg.side == 0];
    egg.y += egg.vy;
    if (egg.y > 656.0f) return smash(egg);
    return false;
}

}  // namespace

void game_play_tick(const PlayerInput &input) {
    const LevelLayout &layout = game_current_layout();

    move_basket(input);
    const float height = game_catch_height(layout, game_basket_floor);
    game_basket_y = (height - game_basket_y) * 0.45f + game_basket_y;

    count_down(game_catch_timer);
    count_down(game_turn_timer);
    count_down(game_hurt_timer);
    count_down(game_slow_timer);

    game_spawn_countdown -= 1;
    if (game_spawn_countdown <= 0) lay_egg();

    const float divisor = (float)game_state.level * -5.5f + 150.0f;
    const float dt = 1.0f / divisor * game_slow_factors[game_slow_timer == 0];

    for (Egg &egg : game_eggs) {
        if (!egg.active) continue;
        const bool ends = egg.falling ? fall(egg) : roll(layout, egg, dt);
        if (ends) return;
    }
}
