// Kestrune: starting a game, the work every tick does whatever the phase, and the
// phases other than playing: level intro, level complete with its bonus, game over and
// the victory sequence with its falling coloured eggs.
#include "game/game_private.h"
#include "sound/snd.h"

#include <cstdlib>
#include <cstring>

namespace {

// Intro: the banner stands for 150 ticks; an action press ends it from tick 31.
void intro_tick(const PlayerInput &input) {
    if (game_state.phase_timer == 1) snd_play_effect(SFX_LEVEL_INTRO);
    if (game_state.phase_timer > 150 || (game_state.phase_timer >= 31 && input.action != 0)) {
        game_state.phase = PHASE_PLAYING;
        game_state.phase_timer = 0;
    }
}

// Level complete: from tick 91 the bonus flows into the score at 100 points a tick;
// the phase ends after 400 ticks, or on an action press after 120.
void level_complete_tick(const PlayerInput &input) {
    if (game_state.bonus > 0 && game_state.phase_timer >= 91) {
        const int32_t n = game_state.bonus < 100 ? game_state.bonus : 100;
        game_state.bonus -= n;
        game_state.score += n;
        if (game_state.phase_timer % 4 == 0) snd_play_effect(SFX_BONUS_TICK);
    }
    if (game_state.phase_timer > 400 || (game_state.phase_timer > 120 && input.action != 0)) {
        game_state.score += game_state.bonus;
        game_state.bonus = 0;
        if (game_state.level < GAME_LEVELS - 1) {
            game_state.level += 1;
            game_setup_level();
        } else {
            game_state.phase = PHASE_VICTORY;
            game_state.phase_timer = 0;
            snd_set_music(MUSIC_VICTORY);
            std::memset(game_victory_eggs, 0, sizeof game_victory_eggs);
        }
    }
}

// A new victory egg in the first free record; the rand calls in the order of the fields.
void spawn_victory_egg() {
    for (VictoryEgg &egg : game_victory_eggs) {
        if (egg.active) continue;
        egg.active = 1;
        egg.x = (float)(rand() % 900 + 50);
        egg.y = 20.0f;
        float r = (float)rand() * 0x1p-31f;
        egg.vy = r * 1.6f + 1.6f;
        r = (float)rand() * 0x1p-31f;
        egg.phase = 0.0f + r * 6.28f;
        egg.kind = rand() % 8;
        return;
    }
}

// Victory: a coloured egg every 9 ticks while a record is free, the eggs fall until
// they pass the bottom, and the hens cackle every 50 ticks.
void victory_tick() {
    if (game_state.phase_timer % 9 == 0) spawn_victory_egg();
    for (VictoryEgg &egg : game_victory_eggs) {
        if (!egg.active) continue;
        egg.y += egg.vy;
        egg.phase += 0.06f;
        if (egg.y > 740.0f) egg.active = 0;
    }
    if (game_state.phase_timer % 50 == 1) snd_play_effect(SFX_HEN_LAYS);
}

}  // namespace

void game_setup_level() {
    const LevelLayout &layout = game_current_layout();
    game_state.floors = layout.floors;
    game_state.target = 20 + 3 * game_state.level;
    game_state.caught = 0;
    std::memset(game_eggs, 0, sizeof game_eggs);
    std::memset(game_chicks, 0, sizeof game_chicks);
    std::memset(game_splats, 0, sizeof game_splats);
    std::memset(game_hen_timers, 0, sizeof game_hen_timers);
    game_basket_side = 0;
    game_basket_floor = 0;
    game_basket_y = game_catch_height(layout, 0);
    game_catch_timer = 0;
    game_turn_timer = 0;
    game_hurt_timer = 0;
    game_spawn_countdown = 60;
    game_last_hen = -1;
    game_slow_timer = 0;
    game_state.message_timer = 0;
    game_state.phase = PHASE_INTRO;
    game_state.phase_timer = 0;
    snd_set_music((unsigned)(game_state.level % 3 + 1));
}

void game_start(int32_t level) {
    game_state.score = 0;
    game_state.lives = 3;
    game_state.level = (uint32_t)level < (uint32_t)GAME_LEVELS ? level : 0;
    game_state.bonus = 0;
    game_setup_level();
}

void game_tick(const PlayerInput *input) {
    // Before the first game_start there is no level to play (no floors, no hens):
    // such a tick changes nothing.
    if (game_state.floors < 1) return;
    static const PlayerInput no_input = {0, 0, 0, 0, 0};
    const PlayerInput &in = input ? *input : no_input;

    game_state.phase_timer += 1;
    game_update_confetti();
    if (game_state.message_timer > 0) game_state.message_timer -= 1;
    if (game_state.extra_life_timer > 0) game_state.extra_life_timer -= 1;
    for (int i = 0; i < GAME_MAX_SPLATS; ++i) {
        if (game_splats[i].timer > 0) game_splats[i].timer -= 1;
        Chick &chick = game_chicks[i];
        if (chick.active) {
            chick.ticks += 1;
            chick.x += game_chick_speeds[chick.side == 0];
            if (chick.x < -10.0f || chick.x > 1010.0f) chick.active = 0;
        }
    }
    for (int32_t &timer : game_hen_timers) {
        if (timer > 0) timer -= 1;
    }

    switch (game_state.phase) {
    case PHASE_INTRO: intro_tick(in); break;
    case PHASE_PLAYING: game_play_tick(in); break;
    case PHASE_LEVEL_COMPLETE: level_complete_tick(in); break;
    case PHASE_VICTORY: victory_tick(); break;
    default: break;  // game over: the frame only
    }
}
