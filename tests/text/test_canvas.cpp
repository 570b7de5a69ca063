// Kestrune text tests: the shared software canvas. SDL is started with its dummy video
// and audio drivers set explicitly; nothing needs a display.
#include "test_canvas.h"

#include <gtest/gtest.h>

#include <cstdlib>

namespace {

SDL_Surface *surface = nullptr;
SDL_Renderer *renderer = nullptr;

// Closes what canvas_open made, once every test has run.
class CanvasEnvironment : public testing::Environment {
public:
    void TearDown() override {
        if (!renderer) return;
        SDL_DestroyRenderer(renderer);
        SDL_FreeSurface(surface);
        SDL_Quit();
    }
};

testing::Environment *const canvas_environment = testing::AddGlobalTestEnvironment(new CanvasEnvironment);

uint32_t raw_pixel(int x, int y) {
    if (x < 0 || y < 0 || x >= surface->w || y >= surface->h) return 0xFF000000u;
    const uint32_t *row = (const uint32_t *)((const uint8_t *)surface->pixels + (size_t)y * surface->pitch);
    return row[x];
}

}  // namespace

void canvas_open() {
    if (renderer) return;
    setenv("SDL_VIDEODRIVER", "dummy", 1);
    setenv("SDL_AUDIODRIVER", "dummy", 1);
    ASSERT_EQ(SDL_Init(0), 0) << SDL_GetError();
    surface = SDL_CreateRGBSurfaceWithFormat(0, 1000, 736, 32, SDL_PIXELFORMAT_ARGB8888);
    ASSERT_NE(surface, nullptr) << SDL_GetError();
    renderer = SDL_CreateSoftwareRenderer(surface);
    ASSERT_NE(renderer, nullptr) << SDL_GetError();
    gfx_init(renderer);
}

void canvas_clear() {
    canvas_open();
    SDL_SetRenderDrawColor(renderer, 0, 0, 0, 255);
    SDL_RenderClear(renderer);
    SDL_RenderFlush(renderer);
}

uint32_t canvas_pixel(int x, int y) {
    SDL_RenderFlush(renderer);
    return raw_pixel(x, y);
}

InkBox canvas_ink(int x, int y, int w, int h) {
    SDL_RenderFlush(renderer);
    InkBox b = {x + w, y + h, x - 1, y - 1};
    for (int j = y; j < y + h; j++)
        for (int i = x; i < x + w; i++)
            if ((raw_pixel(i, j) & 0xFFFFFF) != 0) {
                if (i < b.left) b.left = i;
                if (i > b.right) b.right = i;
                if (j < b.top) b.top = j;
                if (j > b.bottom) b.bottom = j;
            }
    return b;
}

bool canvas_same(int ax, int ay, int bx, int by, int w, int h) {
    SDL_RenderFlush(renderer);
    for (int j = 0; j < h; j++)
        for (int i = 0; i < w; i++)
            if (raw_pixel(ax + i, ay + j) != raw_pixel(bx + i, by + j)) return false;
    return true;
}

uint64_t canvas_hash(int x, int y, int w, int h) {
    SDL_RenderFlush(renderer);
    uint64_t v = 1469598103934665603ull;
    for (int j = y; j < y + h; j++)
        for (int i = x; i < x + w; i++) v = (v ^ raw_pixel(i, j)) * 1099511628211ull;
    return v;
}
