// Kestrune tests: helpers shared by the game rules tests and the benchmark.
#include "tests/game/game_support.h"

#include "tests/common/game_reset.h"

#include <cstdlib>
#include <cstring>

void reset_process_state() {
    reset_game_globals();
    sound_log.clear();
    sound_clock = 0;
}

void tick(const PlayerInput &input) {
    sound_clock += 1;
    game_tick(&input);
}

void tick_n(int n, const PlayerInput &input) {
    for (int i = 0; i < n; ++i) tick(input);
}

PlayerInput input_of_mask(int mask) {
    PlayerInput in{};
    in.left = (mask & INPUT_LEFT) != 0;
    in.right = (mask & INPUT_RIGHT) != 0;
    in.up = (mask & INPUT_UP) != 0;
    in.down = (mask & INPUT_DOWN) != 0;
    in.action = (mask & (INPUT_ACTION_A | INPUT_ACTION_B)) != 0;
    return in;
}

void start_playing(int32_t level) {
    sound_clock = 0;
    game_start(level);
    tick_n(30);
    tick(input_of_mask(INPUT_ACTION_A));
    sound_log.clear();
    sound_clock = 0;
}

static std::vector<unsigned> requests_at(int tick_number, bool music) {
    std::vector<unsigned> ids;
    for (const SoundRequest &r : sound_log) {
        if (r.tick == tick_number && r.music == music) ids.push_back(r.id);
    }
    return ids;
}

std::vector<unsigned> effects_at(int tick_number) { return requests_at(tick_number, false); }
std::vector<unsigned> music_at(int tick_number) { return requests_at(tick_number, true); }

int count_effect(unsigned id) {
    int n = 0;
    for (const SoundRequest &r : sound_log) n += !r.music && r.id == id;
    return n;
}

uint64_t hash_mix(uint64_t hash, const void *data, size_t size) {
    const unsigned char *bytes = static_cast<const unsigned char *>(data);
    for (size_t i = 0; i < size; ++i) {
        hash ^= bytes[i];
        hash *= 1099511628211ull;
    }
    return hash;
}

uint64_t hash_globals() {
    uint64_t h = 14695981039346656037ull;
    h = hash_mix(h, &game_state, sizeof game_state);
    h = hash_mix(h, game_eggs, sizeof game_eggs);
    h = hash_mix(h, game_splats, sizeof game_splats);
    h = hash_mix(h, game_chicks, sizeof game_chicks);
    h = hash_mix(h, game_hen_timers, sizeof game_hen_timers);
    h = hash_mix(h, game_victory_eggs, sizeof game_victory_eggs);
    h = hash_mix(h, game_confetti, sizeof game_confetti);
    // The previous up and down hold the input's own values; what counts is pressed or not.
    const int32_t ints[] = {game_basket_side,     game_basket_floor, game_catch_timer,
                            game_turn_timer,      game_hurt_timer,   game_slow_timer,
                            game_prev_up != 0,    game_prev_down != 0, game_spawn_countdown,
                            game_last_hen,        game_message_id};
    h = hash_mix(h, ints, sizeof ints);
    h = hash_mix(h, &game_basket_y, sizeof game_basket_y);
    return h;
}

float catch_height(int32_t floor) {
    const LevelLayout &layout = game_layouts[game_level_layout[game_state.level]];
    return layout.catch_y[floor] + 76.0f;
}

Egg &place_egg(int index, int32_t side, int32_t floor, int32_t kind) {
    Egg &egg = game_eggs[index];
    egg = Egg{};
    egg.active = 1;
    egg.side = side;
    egg.floor = floor;
    egg.kind = kind;
    egg.t = 0.999f;
    return egg;
}

namespace {
int32_t bot_last_up = 0;
int32_t bot_last_down = 0;

// Of the eggs still rolling, the one that reaches its catch point first (largest t),
// optionally only among eggs of one sort.
const Egg *first_to_arrive(bool rotten) {
    const Egg *best = nullptr;
    for (const Egg &egg : game_eggs) {
        if (!egg.active || egg.falling || (egg.kind == EGG_ROTTEN) != rotten) continue;
        if (!best || egg.t > best->t) best = &egg;
    }
    return best;
}
}  // namespace

void perfect_player_reset() {
    bot_last_up = 0;
    bot_last_down = 0;
}

PlayerInput perfect_player() {
    PlayerInput in{};
    if (game_state.phase != PHASE_PLAYING) {
        in.action = 1;
        bot_last_up = bot_last_down = 0;
        return in;
    }
    int32_t side = game_basket_side;
    int32_t floor = game_basket_floor;
    const Egg *good = first_to_arrive(false);
    if (good) {
        side = good->side;
        floor = good->floor;
    }
    // A rotten egg that arrives first where the basket will wait: face the other way
    // until it has dropped.
    for (const Egg &egg : game_eggs) {
        if (!egg.active || egg.falling || egg.kind != EGG_ROTTEN) continue;
        if (egg.side == side && egg.floor == floor && (!good || egg.t > good->t)) side = 1 - side;
    }
    in.left = side == 0;
    in.right = side == 1;
    if (floor > game_basket_floor) in.up = !bot_last_up;
    if (floor < game_basket_floor) in.down = !bot_last_down;
    bot_last_up = in.up;
    bot_last_down = in.down;
    return in;
}

uint64_t replay_run(std::vector<PlayerInput> *record, const std::vector<PlayerInput> *replay) {
    reset_process_state();
    perfect_player_reset();
    srand(20240611);
    game_start(4);
    uint32_t noise = 12345;
    uint64_t h = 14695981039346656037ull;
    for (size_t i = 0; i < 120000; ++i) {
        PlayerInput in{};
        if (replay) {
            if (i >= replay->size()) break;
            in = (*replay)[i];
        } else {
            in = perfect_player();
            noise = noise * 1103515245u + 12345u;
            // Now and then a clumsy moment: a few ticks of random keys.
            if ((noise >> 16) % 211 < 2) in = input_of_mask((int)(noise >> 24));
            if (record) record->push_back(in);
        }
        tick(in);
        const uint64_t g = hash_globals();
        h = hash_mix(h, &g, sizeof g);
        if (game_state.phase == PHASE_GAME_OVER && game_state.phase_timer > 200) break;
        if (game_state.phase == PHASE_VICTORY && game_state.phase_timer > 1200) break;
    }
    for (const SoundRequest &r : sound_log) {
        h = hash_mix(h, &r.tick, sizeof r.tick);
        h = hash_mix(h, &r.id, sizeof r.id);
        h = hash_mix(h, &r.music, sizeof r.music);
    }
    return h;
}
