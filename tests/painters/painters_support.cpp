// Kestrune painter tests: the shared canvas, stand-in pictures, globals and scenes.
#include "painters_support.h"

#include "tests/common/game_reset.h"

#include <stb_image_write.h>

#include <cstdlib>
#include <cstring>

namespace ptest {
namespace {

SDL_Surface *the_surface = nullptr;
SDL_Renderer *the_renderer = nullptr;

void append(std::vector<unsigned char> &out, const void *p, size_t n) {
    const unsigned char *b = static_cast<const unsigned char *>(p);
    out.insert(out.end(), b, b + n);
}

SDL_Texture *flat_texture(int w, int h, Rgb colour, SDL_BlendMode mode) {
    std::vector<unsigned char> px((size_t)w * h * 4);
    for (size_t i = 0; i < px.size(); i += 4) {
        px[i] = (unsigned char)colour.r;
        px[i + 1] = (unsigned char)colour.g;
        px[i + 2] = (unsigned char)colour.b;
        px[i + 3] = 255;
    }
    SDL_Texture *t = SDL_CreateTexture(gfx_renderer, SDL_PIXELFORMAT_ABGR8888, SDL_TEXTUREACCESS_STATIC, w, h);
    SDL_UpdateTexture(t, nullptr, px.data(), w * 4);
    SDL_SetTextureBlendMode(t, mode);
    return t;
}

SDL_Texture *stand_in_atlas(SDL_BlendMode mode) {
    const int W = 2048, H = 1664;
    std::vector<unsigned char> px((size_t)W * H * 4, 0);
    for (int id = 0; id < GFX_SPRITE_COUNT; id++) {
        const SpriteRect &r = gfx_sprite_rects[id];
        for (int y = r.y; y < r.y + r.h; y++) {
            for (int x = r.x; x < r.x + r.w; x++) {
                const Rgb c = x < r.x + r.w / 2 ? sprite_left(id) : sprite_right(id);
                unsigned char *p = &px[((size_t)y * W + x) * 4];
                p[0] = (unsigned char)c.r;
                p[1] = (unsigned char)c.g;
                p[2] = (unsigned char)c.b;
                p[3] = 255;
            }
        }
    }
    SDL_Texture *t = SDL_CreateTexture(gfx_renderer, SDL_PIXELFORMAT_ABGR8888, SDL_TEXTUREACCESS_STATIC, W, H);
    SDL_UpdateTexture(t, nullptr, px.data(), W * 4);
    SDL_SetTextureBlendMode(t, mode);
    return t;
}

// A row of a panel edge: light gold (230, 190, 110) at alpha 220 over whatever lies below.
bool gold_edge(int y) {
    const Rgb c = pixel(10, y);
    return c.r > 180 && c.g > 140 && c.b > 70 && c.b < 160;
}

// The bot of the headless test run drives the scenes, as it drives `kestrune --test`.
void bot_ticks(int n) {
    for (int i = 0; i < n; i++) {
        PlayerInput input;
        app_bot_fill_input(&input);
        game_tick(&input);
    }
}

void idle_ticks(int n) {
    const PlayerInput none = {0, 0, 0, 0, 0};
    for (int i = 0; i < n; i++) game_tick(&none);
}

void paint_title(int frame) {
    srand(3);
    for (int i = 0; i < 240; i++) game_update_confetti();
    app_frame = frame;
    clear();
    gfx_draw_title_screen();
}

void scene_title_instructions() {
    reset_world();
    paint_title(31);
}

void scene_title_high_scores() {
    reset_world();
    paint_title(451);
}

void scene_title_danish_banner() {
    reset_world();
    lang_set(0);
    lang_ru_seen = 1;
    paint_title(31);
}

void scene_title_hebrew() {
    reset_world();
    lang_set((unsigned)lang_find("he"));
    paint_title(451);
}

void scene_level1_intro() {
    reset_world();
    srand(1);
    game_start(0);
    idle_ticks(20);
    clear();
    gfx_draw_play_screen();
}

void level10_game() {
    reset_world();
    srand(1);
    game_start(9);
    bot_ticks(1200);
}

void scene_level10_eggs() {
    level10_game();
    clear();
    gfx_draw_play_screen();
}

void scene_paused() {
    level10_game();
    app_paused = 1;
    clear();
    gfx_draw_play_screen();
}

void scene_level_complete() {
    reset_world();
    srand(1);
    game_start(0);
    for (int i = 0; i < 20000 && game_state.phase != PHASE_LEVEL_COMPLETE; i++) bot_ticks(1);
    // Banner up, bonus still counting.
    idle_ticks(60);
    clear();
    gfx_draw_play_screen();
}

void scene_game_over() {
    reset_world();
    srand(1);
    game_start(9);
    for (int i = 0; i < 20000 && game_state.phase != PHASE_GAME_OVER; i++) idle_ticks(1);
    idle_ticks(40);
    clear();
    gfx_draw_play_screen();
}

void scene_victory() {
    reset_world();
    srand(1);
    game_start(14);
    // The fifteenth level, just won: the level-complete pause runs out into the victory.
    game_state.phase = PHASE_LEVEL_COMPLETE;
    game_state.phase_timer = 0;
    game_state.caught = game_state.target;
    idle_ticks(401);
    idle_ticks(300);
    clear();
    gfx_draw_play_screen();
}

}  // namespace

const Rgb PORTRAIT_COLOUR = {0, 160, 255};
const Rgb LOGO_COLOUR = {255, 0, 160};

SDL_Surface *surface() {
    ensure_renderer();
    return the_surface;
}

void ensure_renderer() {
    if (the_renderer) return;
    // No display and no sound card: say so rather than let SDL pick.
    setenv("SDL_VIDEODRIVER", "dummy", 1);
    setenv("SDL_AUDIODRIVER", "dummy", 1);
    SDL_Init(0);
    the_surface = SDL_CreateRGBSurfaceWithFormat(0, 1000, 736, 32, SDL_PIXELFORMAT_ARGB8888);
    the_renderer = SDL_CreateSoftwareRenderer(the_surface);
    gfx_init(the_renderer);
}

void clear() {
    ensure_renderer();
    SDL_RenderSetClipRect(gfx_renderer, nullptr);
    SDL_SetRenderDrawColor(gfx_renderer, 0, 0, 0, 255);
    SDL_RenderClear(gfx_renderer);
}

Rgb pixel(int x, int y) {
    ensure_renderer();
    SDL_RenderFlush(gfx_renderer);
    const Uint32 *row = (const Uint32 *)((const Uint8 *)the_surface->pixels + y * the_surface->pitch);
    const Uint32 v = row[x];
    return Rgb{(int)((v >> 16) & 0xFF), (int)((v >> 8) & 0xFF), (int)(v & 0xFF)};
}

std::vector<uint32_t> snapshot() {
    ensure_renderer();
    SDL_RenderFlush(gfx_renderer);
    std::vector<uint32_t> out((size_t)the_surface->w * the_surface->h);
    for (int y = 0; y < the_surface->h; y++)
        std::memcpy(&out[(size_t)y * the_surface->w], (const Uint8 *)the_surface->pixels + y * the_surface->pitch,
                    (size_t)the_surface->w * 4);
    return out;
}

Box diff_box(const std::vector<uint32_t> &a, const std::vector<uint32_t> &b, int x, int y, int w, int h) {
    Box box = {1 << 20, 1 << 20, -1, -1};
    for (int yy = y; yy < y + h; yy++) {
        for (int xx = x; xx < x + w; xx++) {
            const size_t i = (size_t)yy * 1000 + xx;
            if (a[i] == b[i]) continue;
            if (xx < box.x0) box.x0 = xx;
            if (xx > box.x1) box.x1 = xx;
            if (yy < box.y0) box.y0 = yy;
            if (yy > box.y1) box.y1 = yy;
        }
    }
    return box;
}

int diff_count(const std::vector<uint32_t> &a, const std::vector<uint32_t> &b, int x, int y, int w, int h) {
    int n = 0;
    for (int yy = y; yy < y + h; yy++)
        for (int xx = x; xx < x + w; xx++) n += a[(size_t)yy * 1000 + xx] != b[(size_t)yy * 1000 + xx];
    return n;
}

Rgb sprite_left(int id) { return Rgb{6 * id + 5, 0, 255}; }
Rgb sprite_right(int id) { return Rgb{6 * id + 5, 255, 0}; }

StandIns::StandIns() {
    ensure_renderer();
    saved[0] = gfx_atlas;
    saved[1] = gfx_atlas_additive;
    saved[2] = gfx_font_small;
    saved[3] = gfx_font_large;
    saved[4] = gfx_hero_portrait;
    saved[5] = gfx_title_logo;
    gfx_atlas = stand_in_atlas(SDL_BLENDMODE_BLEND);
    gfx_atlas_additive = stand_in_atlas(SDL_BLENDMODE_ADD);
    saved_glow_origin = gfx_glow_origin;
    gfx_glow_origin = SDL_Point{0, 0};  // a glow texture of the whole stand-in atlas
    gfx_font_small = flat_texture(4096, 448, Rgb{255, 255, 255}, SDL_BLENDMODE_BLEND);
    gfx_font_large = flat_texture(4096, 1128, Rgb{255, 255, 255}, SDL_BLENDMODE_BLEND);
    gfx_hero_portrait = flat_texture(254, 300, PORTRAIT_COLOUR, SDL_BLENDMODE_BLEND);
    gfx_title_logo = flat_texture(1023, 360, LOGO_COLOUR, SDL_BLENDMODE_BLEND);
}

StandIns::~StandIns() {
    SDL_Texture **mine[6] = {&gfx_atlas, &gfx_atlas_additive, &gfx_font_small,
                             &gfx_font_large, &gfx_hero_portrait, &gfx_title_logo};
    for (int i = 0; i < 6; i++) {
        SDL_DestroyTexture(*mine[i]);
        *mine[i] = saved[i];
    }
    gfx_glow_origin = saved_glow_origin;
}

bool near(Rgb a, Rgb b, int t) {
    return std::abs(a.r - b.r) <= t && std::abs(a.g - b.g) <= t && std::abs(a.b - b.b) <= t;
}

bool panel_at(int y, int h) {
    return gold_edge(y) && gold_edge(y + 1) && gold_edge(y + h - 2) && gold_edge(y + h - 1) && !gold_edge(y - 1) &&
           !gold_edge(y + h);
}

Box colour_box(Rgb colour, int x, int y, int w, int h, int tolerance) {
    const std::vector<uint32_t> px = snapshot();
    Box box = {1 << 20, 1 << 20, -1, -1};
    for (int yy = y; yy < y + h; yy++) {
        for (int xx = x; xx < x + w; xx++) {
            const uint32_t v = px[(size_t)yy * 1000 + xx];
            const Rgb c = {(int)((v >> 16) & 0xFF), (int)((v >> 8) & 0xFF), (int)(v & 0xFF)};
            if (!near(c, colour, tolerance)) continue;
            if (xx < box.x0) box.x0 = xx;
            if (xx > box.x1) box.x1 = xx;
            if (yy < box.y0) box.y0 = yy;
            if (yy > box.y1) box.y1 = yy;
        }
    }
    return box;
}

int colour_count(Rgb colour, int x, int y, int w, int h, int tolerance) {
    const std::vector<uint32_t> px = snapshot();
    int n = 0;
    for (int yy = y; yy < y + h; yy++) {
        for (int xx = x; xx < x + w; xx++) {
            const uint32_t v = px[(size_t)yy * 1000 + xx];
            n += near(Rgb{(int)((v >> 16) & 0xFF), (int)((v >> 8) & 0xFF), (int)(v & 0xFF)}, colour, tolerance);
        }
    }
    return n;
}

std::vector<unsigned char> globals_bytes() {
    std::vector<unsigned char> out;
    append(out, &game_state, sizeof game_state);
    append(out, game_eggs, sizeof game_eggs);
    append(out, game_splats, sizeof game_splats);
    append(out, game_chicks, sizeof game_chicks);
    append(out, game_hen_timers, sizeof game_hen_timers);
    append(out, game_victory_eggs, sizeof game_victory_eggs);
    append(out, game_confetti, sizeof game_confetti);
    const int32_t ints[] = {game_basket_side, game_basket_floor, game_catch_timer, game_turn_timer,
                            game_hurt_timer,  game_slow_timer,   game_prev_up,     game_prev_down,
                            game_spawn_countdown, game_last_hen, game_message_id, app_frame,
                            app_paused,       app_state,         lang_current,     lang_ru_seen};
    append(out, ints, sizeof ints);
    append(out, &game_basket_y, sizeof game_basket_y);
    append(out, app_high_scores, sizeof app_high_scores);
    return out;
}

void reset_world() {
    ensure_renderer();
    reset_game_globals();
    app_frame = 0;
    app_paused = 0;
    app_state = SCREEN_TITLE;
    app_bot_toggle = 0;
    app_fill_default_high_scores();
    lang_set(5);
    lang_ru_seen = 0;
}

void playing_at(int level) {
    reset_world();
    game_start(level);
    game_state.phase = PHASE_PLAYING;
    game_state.phase_timer = 100;  // clear of the hero's blink
}

const Scene SCENES[] = {
    {"title_instructions", scene_title_instructions, true},
    {"title_high_scores", scene_title_high_scores, true},
    {"title_danish_banner", scene_title_danish_banner, true},
    {"title_hebrew", scene_title_hebrew, true},
    {"level1_intro", scene_level1_intro, false},
    {"level10_eggs", scene_level10_eggs, false},
    {"level_complete", scene_level_complete, false},
    {"game_over", scene_game_over, false},
    {"victory", scene_victory, false},
    {"paused", scene_paused, false},
};
const int SCENE_COUNT = sizeof SCENES / sizeof SCENES[0];

uint64_t canvas_hash() {
    const std::vector<uint32_t> px = snapshot();
    uint64_t h = 1469598103934665603ull;  // FNV-1a
    for (uint32_t v : px) {
        for (int k = 0; k < 4; k++) {
            h ^= (v >> (8 * k)) & 0xFF;
            h *= 1099511628211ull;
        }
    }
    return h;
}

bool write_png(const std::string &path) {
    const std::vector<uint32_t> px = snapshot();
    std::vector<unsigned char> rgb(px.size() * 3);
    for (size_t i = 0; i < px.size(); i++) {
        rgb[3 * i] = (unsigned char)(px[i] >> 16);
        rgb[3 * i + 1] = (unsigned char)(px[i] >> 8);
        rgb[3 * i + 2] = (unsigned char)px[i];
    }
    return stbi_write_png(path.c_str(), 1000, 736, 3, rgb.data(), 1000 * 3) != 0;
}

}  // namespace ptest
