// Kestrune: the world painter and its head-up display. One frame of a running game:
// a blurred, darkened copy of the level's background behind everything, a frame, the
// level background in the play area, and clipped to it the hens with their nest fronts,
// the hero, splats, eggs, chicks and the victory confetti and eggs; then, unclipped, the
// head-up display, the current message, the extra-life notice and the intro or
// level-complete banner. Also the confetti strokes, which the title screen draws too.
//
// A pure reader: every animation is computed from the game's own tick counters, and
// nothing here is kept between frames. Values the game rules never produce (an egg kind
// out of range, a level outside 0..14) are drawn as something sensible or not at all,
// never read past a table.
#include <cmath>
#include <cstdint>
#include <cstdio>

#include "game/game.h"
#include "gfx/gfx_private.h"
#include "text/text.h"

namespace {

// The play area on the canvas: where the 960 x 640 level background goes.
const int PLAY_X = 20;
const int PLAY_Y = 60;
const int PLAY_W = 960;
const int PLAY_H = 640;

// The hero's reach above the floor line (y 678) by layout row, and the basket height of
// each side-view frame as a fraction of it.
const float gfx_hero_reach[4] = {364.0f, 242.0f, 249.0f, 282.0f};
const float gfx_hero_frame_fractions[6] = {0.15f, 0.32f, 0.48f, 0.64f, 0.80f, 0.98f};
const int32_t gfx_egg_sprites[4] = {31, 32, 33, 34};
// Tints of the six plain victory-egg looks: pink, light blue, green, yellow, lilac, orange.
const PackedColour gfx_victory_colours[6] = {0xFFBE96FF, 0xFFFFC88C, 0xFF82EBAA,
                                             0xFF6EE1FF, 0xFFFFA0CD, 0xFF78B4FF};
// Confetti: pink, white, yellow, pale green, all slightly see-through.
const PackedColour gfx_confetti_colours[4] = {0xE6DCC8FF, 0xE6FFFFFF, 0xE678E6FF, 0xE6B4F0D2};

const PackedColour HUD_LABEL = 0xFFAADCFF;
const PackedColour HUD_SECONDARY = 0xFFD7F2FF;
const PackedColour HUD_GOLD = 0xFF78E2FF;
const PackedColour WHITE = 0xFFFFFFFF;
const PackedColour GOLD_GLOW = 0xA078DCFF;

const float FLOOR_LINE = 678.0f;
// The square's top lies 0.98 of its side above the floor line: its centre is this far
// (in sides) from the floor line.
const float HERO_CENTRE_FACTOR = 0.5f - 0.98f;
const float HERO_SIZE_FACTOR = 1.3636364f;  // 15/11: the sprite's side per pixel of reach
const float HERO_OFFSET_FACTOR = 0.13666667f;  // 41/300: the body's offset from the basket

// Level index for the tables: 0..14 as the game keeps it; anything else wraps like the
// background cache does, so the layout and the background always belong together.
int level_index() {
    int32_t level = game_state.level % GAME_LEVELS;
    return level < 0 ? level + GAME_LEVELS : level;
}

const LevelLayout &current_layout(int level) { return game_layouts[game_level_layout[level]]; }

int floor_count() {
    int32_t floors = game_state.floors;
    if (floors < 0) return 0;
    return floors > 4 ? 4 : floors;
}

// The colour of a notice that fades out over the last 30 ticks of its timer.
PackedColour fading(int32_t timer, PackedColour colour) {
    if (timer >= 31) return colour;
    return ((uint32_t)timer << 27) | (colour & 0x00FFFFFFu);
}

// A hen's pose: flapping in the victory, laying while its timer runs, else an idle cycle
// of 600 ticks that each hen starts at its own offset.
int hen_pose(int side, int floor, int level) {
    const int64_t phase_timer = game_state.phase_timer;
    if (game_state.phase == PHASE_VICTORY) return 27 + (int)(((7 * floor + 4 * side + phase_timer) / 6) & 1);
    int32_t timer = game_hen_timers[side * 4 + floor];
    if (timer > 0) return 27 + ((timer / 5) & 1);
    uint32_t seed = (uint32_t)side * 0x538453D7u + (uint32_t)floor * 0x08D12DFDu + (uint32_t)level * 0x28B7BC6Fu;
    int64_t v = ((int64_t)(seed % 600u) + phase_timer) % 600;
    if (v < 50) return 26;
    if (v >= 301 && v <= 307) return 29;
    if (v >= 441 && v <= 469) return 26;
    return 25;
}

void draw_hens(const LevelLayout &L, SDL_Texture *background, int level) {
    const int floors = floor_count();
    for (int f = 0; f < floors; f++) {
        for (int s = 0; s < 2; s++) {
            const float X = s == 0 ? L.hen_x : L.mirror_width - L.hen_x;
            const float cx = s == 0 ? X + PLAY_X + 8 : X + PLAY_X - 8;
            gfx_draw_sprite(hen_pose(s, f, level), s, 255, cx, L.perch_y[f] + 10, 148.0f);
            // The strip of the background that shows the nest's front edge, copied back
            // over the hen's lower half.
            const int nx = (int)(X - 85);
            const int ny = (int)(L.perch_y[f] - 4);
            const SDL_Rect src = {nx, ny, 170, 30};
            const SDL_Rect dst = {nx + PLAY_X, ny + PLAY_Y, 170, 30};
            SDL_RenderCopy(gfx_renderer, background, &src, &dst);
        }
    }
}

// The side-view frame whose basket height is nearest to h; a tie keeps the lower frame.
int nearest_frame(float h) {
    int best = 0;
    float best_distance = std::fabs(gfx_hero_frame_fractions[0] - h);
    for (int k = 1; k < 6; k++) {
        const float distance = std::fabs(gfx_hero_frame_fractions[k] - h);
        if (distance < best_distance) {
            best = k;
            best_distance = distance;
        }
    }
    return best;
}

void draw_hero(const LevelLayout &L, int row) {
    const float R = FLOOR_LINE - gfx_hero_reach[row];
    const float S = R * HERO_SIZE_FACTOR;
    float cy = FLOOR_LINE + S * HERO_CENTRE_FACTOR;
    const int32_t phase = game_state.phase;
    const int32_t phase_timer = game_state.phase_timer;
    int sprite;
    float cx = 500.0f;
    int flip = 0;
    if (phase == PHASE_LEVEL_COMPLETE || phase == PHASE_VICTORY) {
        sprite = 13 + ((phase_timer / 12) & 1);
    } else if (phase == PHASE_GAME_OVER) {
        sprite = 16 + ((phase_timer / 30) & 1);
    } else if (game_hurt_timer > 0) {
        sprite = 15;
    } else if (game_turn_timer > 0) {
        sprite = 12;
    } else {
        const float h = (FLOOR_LINE - game_basket_y) / R;
        const int k = nearest_frame(h);
        // A blink of 8 ticks at the start of every 230.
        sprite = phase_timer % 230 < 8 ? k + 6 : k;
        if (game_basket_side == 0) {
            const float X = L.ramp_end_x;
            cx = (X + PLAY_X + 30) + HERO_OFFSET_FACTOR * S;
            flip = 1;
        } else {
            const float X = L.mirror_width - L.ramp_end_x;
            cx = (X + PLAY_X - 30) - HERO_OFFSET_FACTOR * S;
        }
        if (game_catch_timer != 0) cy += 3;  // the catch dip
    }
    gfx_draw_sprite(sprite, flip, 255, cx, cy, S);
}

void draw_splats_eggs_chicks() {
    for (int i = 0; i < GAME_MAX_SPLATS; i++) {
        const Splat &splat = game_splats[i];
        if (splat.timer <= 0) continue;
        // Fades out over its last 40 ticks.
        const int alpha = splat.timer <= 40 ? 6 * splat.timer : 255;
        gfx_draw_sprite(35, 0, alpha, splat.x, 632.0f, 110.0f);
    }
    for (int i = 0; i < GAME_MAX_EGGS; i++) {
        const Egg &egg = game_eggs[i];
        if (!egg.active) continue;
        if (egg.kind < EGG_NORMAL || egg.kind > EGG_ROTTEN) continue;
        if (egg.kind == EGG_GOLDEN) gfx_draw_glow(GOLD_GLOW, egg.x, egg.y, 100.0f);
        gfx_draw_sprite_rotated(gfx_egg_sprites[egg.kind], 255, egg.x, egg.y, 72.0f, egg.angle);
    }
    for (int i = 0; i < GAME_MAX_CHICKS; i++) {
        const Chick &chick = game_chicks[i];
        if (!chick.active) continue;
        // Two walking frames of 6 ticks; the chick hops 3 pixels on the second.
        const int k = (chick.ticks / 6) & 1;
        gfx_draw_sprite(36 + k, chick.side == 0, 255, chick.x, (float)(636 - 3 * k), 84.0f);
    }
}

void draw_victory_eggs() {
    for (int i = 0; i < GAME_MAX_VICTORY_EGGS; i++) {
        const VictoryEgg &egg = game_victory_eggs[i];
        if (!egg.active) continue;
        const float s = sinf(egg.phase);
        const float x = egg.x + 14 * s;  // the sway
        if (egg.kind >= 0 && egg.kind <= 5) {
            gfx_draw_sprite_tinted(31, gfx_victory_colours[egg.kind], x, egg.y, 72.0f);
        } else if (egg.kind == 6) {
            gfx_draw_sprite_rotated(33, 255, x, egg.y, 72.0f, 18 * s);
        } else if (egg.kind == 7) {
            gfx_draw_glow(GOLD_GLOW, x, egg.y, 100.0f);
            gfx_draw_sprite_rotated(32, 255, x, egg.y, 72.0f, 18 * s);
        }
    }
}

// One floor or several, with the count passed in both cases.
void draw_floors_line(int y) {
    const int slot = game_state.floors == 1 ? STR_ONE_FLOOR : STR_N_FLOORS;
    const char *floors = lang_int_arg(game_state.floors);
    text_draw(slot, 500, y, FONT_SMALL, ALIGN_CENTRE, HUD_SECONDARY, floors);
}

void draw_level_of(int y, int size, PackedColour colour, int level) {
    const char *number = lang_int_arg(level + 1);
    const char *of = lang_int_arg(GAME_LEVELS);
    text_draw(STR_HUD_LEVEL_OF, 500, y, size, ALIGN_CENTRE, colour, number, of);
}

void draw_hud(int level) {
    char buf[64];
    text_draw(STR_HUD_SCORE, 24, 6, FONT_SMALL, ALIGN_LEFT, HUD_LABEL);
    std::snprintf(buf, sizeof buf, "%d", (int)game_state.score);
    gfx_font_draw(buf, FONT_SMALL, ALIGN_LEFT, WHITE, 22.0f, 24.0f, 1.45f);

    const int lives = game_state.lives > 5 ? 5 : game_state.lives;
    for (int i = 0; i < lives; i++) gfx_draw_sprite(18, 0, 255, (float)(214 + 30 * i), 30.0f, 32.0f);

    draw_level_of(6, FONT_SMALL, HUD_LABEL, level);
    draw_floors_line(28);

    text_draw_fit(STR_HUD_EGGS, 900, 6, FONT_SMALL, ALIGN_RIGHT, HUD_LABEL, 200);
    std::snprintf(buf, sizeof buf, "%d / %d", (int)game_state.caught, (int)game_state.target);
    const PackedColour count_colour = game_state.caught < game_state.target ? WHITE : HUD_GOLD;
    gfx_font_draw(buf, FONT_SMALL, ALIGN_RIGHT, count_colour, 900.0f, 24.0f, 1.45f);
    gfx_draw_sprite(31, 0, 255, 946.0f, 30.0f, 46.0f);

    if (game_slow_timer > 0) {
        // The painted-egg icon pulses, and blinks in 8-tick halves over its last 90 ticks.
        const float size = 34 + 4 * sinf(0.2f * (float)game_state.phase_timer);
        const int alpha = game_slow_timer < 90 && (game_slow_timer & 8) ? 90 : 255;
        gfx_draw_sprite(33, 0, alpha, 860.0f, 90.0f, size);
    }
}

void draw_notices(int level) {
    const int32_t message_timer = game_state.message_timer;
    if (message_timer > 0 && game_message_id >= 0)
        text_draw(game_message_id, 500, 80, FONT_SMALL, ALIGN_CENTRE, fading(message_timer, HUD_GOLD));

    const int32_t extra = game_state.extra_life_timer;
    if (extra > 0) {
        // Rises one pixel every four ticks from y 110.
        const int y = (int)(110 - ((int64_t)120 - extra) / 4);
        text_draw(STR_EXTRA_LIFE, 500, y, FONT_LARGE, ALIGN_CENTRE, fading(extra, HUD_GOLD));
    }

    if (game_state.phase == PHASE_INTRO) {
        gfx_draw_banner(240, 150);
        draw_level_of(254, FONT_LARGE, HUD_GOLD, level);
        draw_floors_line(306);
        const char *target = lang_int_arg(game_state.target);
        text_draw(STR_CATCH_N_EGGS, 500, 340, FONT_SMALL, ALIGN_CENTRE, WHITE, target);
    } else if (game_state.phase == PHASE_LEVEL_COMPLETE && game_state.phase_timer >= 31) {
        gfx_draw_banner(240, 120);
        text_draw(STR_LEVEL_COMPLETE, 500, 254, FONT_LARGE, ALIGN_CENTRE, HUD_GOLD);
        if (game_state.bonus > 0) {
            const char *bonus = lang_int_arg(game_state.bonus);
            text_draw(STR_BONUS_POINTS, 500, 312, FONT_SMALL, ALIGN_CENTRE, HUD_SECONDARY, bonus);
        }
    }
}

// The part of rectangle outer that inner (which lies inside it) leaves uncovered, as up
// to four bands; all of outer when inner does not lie inside it.
void fill_ring(SDL_Rect outer, SDL_Rect inner, PackedColour colour) {
    SDL_Rect both;
    if (!SDL_IntersectRect(&outer, &inner, &both) || !SDL_RectEquals(&both, &inner)) {
        gfx_fill_rect(outer.x, outer.y, outer.w, outer.h, colour);
        return;
    }
    const int top = inner.y - outer.y;
    const int bottom = outer.y + outer.h - (inner.y + inner.h);
    const int left = inner.x - outer.x;
    const int right = outer.x + outer.w - (inner.x + inner.w);
    if (top > 0) gfx_fill_rect(outer.x, outer.y, outer.w, top, colour);
    if (bottom > 0) gfx_fill_rect(outer.x, inner.y + inner.h, outer.w, bottom, colour);
    if (left > 0) gfx_fill_rect(outer.x, inner.y, left, inner.h, colour);
    if (right > 0) gfx_fill_rect(inner.x + inner.w, inner.y, right, inner.h, colour);
}

// Everything under the hens that changes only with the level: the backdrop (the 60 x 40
// thumbnail of the level's background stretched over the canvas, darkened; linear
// filtering blurs it), the frame (a dark band behind the head-up display, a shadow, a
// gold border, dark brown) and the level background in the play area. The parts of the
// frame that an opaque layer above covers are not drawn.
void draw_level_layer(SDL_Texture *thumbnail, SDL_Texture *background) {
    SDL_SetTextureColorMod(thumbnail, 90, 75, 60);
    SDL_SetTextureAlphaMod(thumbnail, 255);
    SDL_RenderCopy(gfx_renderer, thumbnail, nullptr, nullptr);
    SDL_SetTextureColorMod(thumbnail, 255, 255, 255);

    const SDL_Rect shadow = {12, 52, 976, 656};
    const SDL_Rect border = {15, 55, 970, 650};
    const SDL_Rect inside = {17, 57, 966, 646};
    const SDL_Rect play = {PLAY_X, PLAY_Y, PLAY_W, PLAY_H};
    // A missing background covers nothing.
    const SDL_Rect none = {0, 0, 0, 0};
    // Bands only where they meet exactly.
    const bool bands = gfx_whole_pixel_scale();
    gfx_fill_rect(0, 0, 1000, 56, 0x8C0A121E);
    fill_ring(shadow, bands ? border : none, 0xAA040A14);
    fill_ring(border, bands ? inside : none, 0xFF64B4DC);
    fill_ring(inside, bands && background ? play : none, 0xFF142846);

    SDL_RenderCopy(gfx_renderer, background, nullptr, &play);
}

// The level layer of the last frame, kept while the level and the output stay.
GfxLayer world_layer;

// One colour channel after a translucent fill is laid over it, as the renderer blends a
// fill: the fill's channel times its alpha, plus what its alpha leaves of the channel.
unsigned under_fill(unsigned channel, unsigned fill, unsigned alpha) {
    return ((255u - alpha) * channel) / 255u + (fill * alpha) / 255u;
}

PackedColour under_fills(PackedColour colour, const PackedColour *fills, int count) {
    unsigned r = colour & 0xFF;
    unsigned g = (colour >> 8) & 0xFF;
    unsigned b = (colour >> 16) & 0xFF;
    for (int i = 0; i < count; i++) {
        const unsigned a = fills[i] >> 24;
        r = under_fill(r, fills[i] & 0xFF, a);
        g = under_fill(g, (fills[i] >> 8) & 0xFF, a);
        b = under_fill(b, (fills[i] >> 16) & 0xFF, a);
    }
    return (colour & 0xFF000000u) | (b << 16) | (g << 8) | r;
}

// The sixty strokes, in one draw call: the same triangles in the same order as one thick
// line at a time, for one call's work instead of sixty. With a zone, only the strokes
// that reach into it.
void draw_confetti(const PackedColour *fills, int count, const SDL_Rect *zone) {
    if (!gfx_white_texture) return;
    SDL_Vertex vertices[GAME_CONFETTI * 4];
    int indices[GAME_CONFETTI * 6];
    int n = 0;
    for (int i = 0; i < GAME_CONFETTI; i++) {
        const ConfettiParticle &p = game_confetti[i];
        if (!(p.y > 0)) continue;  // not placed yet
        if (p.colour < 0 || p.colour > 3) continue;
        const float hl = (float)(7 + 2 * (i % 3));
        const float a = p.angle * 0.01745f;
        const float c = cosf(a);
        const float s = sinf(a);
        SDL_Vertex *v = &vertices[4 * n];
        gfx_thick_line_quad(under_fills(gfx_confetti_colours[p.colour], fills, count), p.x - hl * c, p.y - hl * s,
                            p.x + hl * c, p.y + hl * s, 6.0f, v);
        if (zone) {
            float top = v[0].position.y;
            float bottom = top;
            for (int k = 1; k < 4; k++) {
                top = std::fmin(top, v[k].position.y);
                bottom = std::fmax(bottom, v[k].position.y);
            }
            if (bottom < zone->y - 1 || top > zone->y + zone->h + 1) continue;
        }
        static const int quad[6] = {0, 1, 2, 0, 2, 3};
        for (int k = 0; k < 6; k++) indices[6 * n + k] = 4 * n + quad[k];
        n++;
    }
    if (n > 0) SDL_RenderGeometry(gfx_renderer, gfx_white_texture, vertices, 4 * n, indices, 6 * n);
}

}  // namespace

void gfx_draw_confetti() { draw_confetti(nullptr, 0, nullptr); }

void gfx_draw_confetti_under(const PackedColour *fills, int count, SDL_Rect zone) {
    SDL_RenderSetClipRect(gfx_renderer, &zone);
    draw_confetti(fills, count, &zone);
    SDL_RenderSetClipRect(gfx_renderer, nullptr);
}

void gfx_draw_world() {
    const int level = level_index();
    const int row = game_level_layout[level];
    const LevelLayout &L = current_layout(level);

    SDL_Texture *thumbnail = gfx_background_thumbnail(level);
    SDL_Texture *background = gfx_background_texture(level);
    // The backdrop, the frame and the level background change only with the level.
    switch (gfx_layer_begin(&world_layer, level, thumbnail, background)) {
    case LAYER_DIRECT: draw_level_layer(thumbnail, background); break;
    case LAYER_COMPOSE:
        draw_level_layer(thumbnail, background);
        gfx_layer_end(&world_layer);
        gfx_layer_copy(&world_layer, 255);
        break;
    case LAYER_READY: gfx_layer_copy(&world_layer, 255); break;
    }

    const SDL_Rect play = {PLAY_X, PLAY_Y, PLAY_W, PLAY_H};
    SDL_RenderSetClipRect(gfx_renderer, &play);
    draw_hens(L, background, level);
    draw_hero(L, row);
    draw_splats_eggs_chicks();
    if (game_state.phase == PHASE_VICTORY) {
        gfx_draw_confetti();
        draw_victory_eggs();
    }
    SDL_RenderSetClipRect(gfx_renderer, nullptr);

    draw_hud(level);
    draw_notices(level);
}
