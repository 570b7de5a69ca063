// Kestrune graphics tests: the shared software renderer and pixel helpers.
#include "gfx_test_support.h"

#include <stb_image_write.h>

#include <cstdlib>
#include <ostream>

namespace gfxtest {
namespace {

SDL_Surface *the_surface = nullptr;
SDL_Renderer *the_renderer = nullptr;

void append_bytes(void *context, void *data, int size) {
    auto *out = static_cast<std::vector<unsigned char> *>(context);
    const unsigned char *p = static_cast<const unsigned char *>(data);
    out->insert(out->end(), p, p + size);
}

void capture_line(void *userdata, int, SDL_LogPriority, const char *message) {
    static_cast<LogCapture *>(userdata)->lines.push_back(message);
}

}  // namespace

void ensure_renderer() {
    if (the_renderer) return;
    // No display and no sound card: say so explicitly rather than let SDL pick.
    setenv("SDL_VIDEODRIVER", "dummy", 1);
    setenv("SDL_AUDIODRIVER", "dummy", 1);
    SDL_Init(0);
    the_surface = SDL_CreateRGBSurfaceWithFormat(0, 1000, 736, 32, SDL_PIXELFORMAT_ARGB8888);
    the_renderer = SDL_CreateSoftwareRenderer(the_surface);
    gfx_init(the_renderer);
}

SDL_Surface *surface() {
    ensure_renderer();
    return the_surface;
}

void clear(int r, int g, int b) {
    ensure_renderer();
    SDL_RenderSetClipRect(gfx_renderer, nullptr);
    SDL_SetRenderDrawBlendMode(gfx_renderer, SDL_BLENDMODE_NONE);
    SDL_SetRenderDrawColor(gfx_renderer, (Uint8)r, (Uint8)g, (Uint8)b, 255);
    SDL_RenderClear(gfx_renderer);
    SDL_RenderFlush(gfx_renderer);
}

Rgba pixel(int x, int y) {
    ensure_renderer();
    SDL_RenderFlush(gfx_renderer);
    const Uint32 *row = (const Uint32 *)((const Uint8 *)the_surface->pixels + y * the_surface->pitch);
    Uint8 r, g, b, a;
    SDL_GetRGBA(row[x], the_surface->format, &r, &g, &b, &a);
    return Rgba{r, g, b, a};
}

bool near(Rgba a, Rgba b, int t) {
    return std::abs(a.r - b.r) <= t && std::abs(a.g - b.g) <= t && std::abs(a.b - b.b) <= t;
}

SDL_Texture *texture_from(const std::vector<unsigned char> &rgba, int w, int h, SDL_BlendMode mode) {
    ensure_renderer();
    SDL_Texture *t = SDL_CreateTexture(gfx_renderer, SDL_PIXELFORMAT_ABGR8888, SDL_TEXTUREACCESS_STATIC, w, h);
    SDL_UpdateTexture(t, nullptr, rgba.data(), w * 4);
    SDL_SetTextureBlendMode(t, mode);
    return t;
}

std::vector<unsigned char> png_bytes(const std::vector<unsigned char> &pixels, int w, int h, int comp) {
    std::vector<unsigned char> out;
    stbi_write_png_to_func(append_bytes, &out, w, h, comp, pixels.data(), w * comp);
    return out;
}

LogCapture::LogCapture() {
    SDL_LogGetOutputFunction(&previous_fn, &previous_data);
    SDL_LogSetOutputFunction(capture_line, this);
}

LogCapture::~LogCapture() { SDL_LogSetOutputFunction(previous_fn, previous_data); }

}  // namespace gfxtest

std::ostream &operator<<(std::ostream &os, const Rgba &c) {
    return os << "(" << c.r << ", " << c.g << ", " << c.b << ", " << c.a << ")";
}
