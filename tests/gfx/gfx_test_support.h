// Kestrune graphics tests: a software renderer over a 1000 x 736 ARGB surface, set up once
// per process with gfx_init, and helpers to read pixels back and make test pictures.
#pragma once
#include <SDL.h>

#include <cstdint>
#include <string>
#include <vector>

#include "gfx/gfx.h"

struct Rgba {
    int r, g, b, a;
};

namespace gfxtest {

SDL_Surface *surface();
// Makes sure the renderer exists and gfx_init has run.
void ensure_renderer();
// Clears the whole surface to an opaque colour.
void clear(int r, int g, int b);
// The surface pixel at (x, y), after flushing the renderer.
Rgba pixel(int x, int y);
bool near(Rgba a, Rgba b, int tolerance);
// A static ABGR8888 texture from RGBA bytes, with the given blend mode.
SDL_Texture *texture_from(const std::vector<unsigned char> &rgba, int w, int h, SDL_BlendMode mode);
// A PNG file in memory from pixels of comp channels (1 grey, 3 RGB, 4 RGBA).
std::vector<unsigned char> png_bytes(const std::vector<unsigned char> &pixels, int w, int h, int comp);
// Collects SDL_Log output while alive.
struct LogCapture {
    LogCapture();
    ~LogCapture();
    std::vector<std::string> lines;
    SDL_LogOutputFunction previous_fn;
    void *previous_data;
};

}  // namespace gfxtest

std::ostream &operator<<(std::ostream &os, const Rgba &c);
