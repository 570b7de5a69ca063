// Kestrune: setting the window title. SDL sets it on every video back-end; on X11 the
// window's four name properties are then written as UTF-8 as well, through Xlib opened
// at run time, so the game neither links against Xlib nor needs it where there is none.
#include <dlfcn.h>

#include <climits>
#include <cstring>

#include "text/text.h"

// After our own headers: on X11 builds this brings in Xlib's types and macros.
#include <SDL_syswm.h>

void *x11_lib = nullptr;

namespace {

#if defined(SDL_VIDEO_DRIVER_X11)

using XInternAtomFn = Atom (*)(Display *, const char *, Bool);
using XChangePropertyFn = int (*)(Display *, Window, Atom, Atom, int, int,
                                  const unsigned char *, int);
using XFlushFn = int (*)(Display *);

template <typename Fn>
Fn x11_symbol(const char *name) {
    void *p = dlsym(x11_lib, name);
    Fn fn = nullptr;
    if (p) std::memcpy(&fn, &p, sizeof fn);
    return fn;
}

int x11_length(const char *s) {
    size_t n = std::strlen(s);
    return n > static_cast<size_t>(INT_MAX) ? INT_MAX : static_cast<int>(n);
}

void x11_write_names(SDL_Window *window, const char *title, const char *icon) {
    SDL_SysWMinfo info;
    std::memset(&info, 0, sizeof info);
    SDL_VERSION(&info.version);
    if (!SDL_GetWindowWMInfo(window, &info)) return;
    if (info.subsystem != SDL_SYSWM_X11 || !info.info.x11.display) return;

    // The library stays open once it opened; while it cannot be opened, every write
    // tries again.
    if (!x11_lib) x11_lib = dlopen("libX11.so.6", RTLD_LAZY);
    if (!x11_lib) return;
    XInternAtomFn intern_atom = x11_symbol<XInternAtomFn>("XInternAtom");
    XChangePropertyFn change_property = x11_symbol<XChangePropertyFn>("XChangeProperty");
    XFlushFn flush = x11_symbol<XFlushFn>("XFlush");
    if (!intern_atom || !change_property || !flush) return;

    Display *display = info.info.x11.display;
    Window xwindow = info.info.x11.window;
    Atom utf8 = intern_atom(display, "UTF8_STRING", False);
    const struct {
        const char *property;
        const char *text;
    } names[] = {
        {"_NET_WM_NAME", title},
        {"_NET_WM_ICON_NAME", icon},
        {"WM_NAME", title},
        {"WM_ICON_NAME", icon},
    };
    for (const auto &n : names) {
        Atom property = intern_atom(display, n.property, False);
        change_property(display, xwindow, property, utf8, 8, PropModeReplace,
                        reinterpret_cast<const unsigned char *>(n.text), x11_length(n.text));
    }
    flush(display);
}

#else

// SDL without X11 support: the title SDL sets is all there is.
void x11_write_names(SDL_Window *, const char *, const char *) {}

#endif

}  // namespace

void x11_set_title(SDL_Window *window, const char *title, const char *icon_name) {
    if (!title) title = "";
    SDL_SetWindowTitle(window, title);
    if (!window) return;
    x11_write_names(window, title, icon_name ? icon_name : title);
}

void x11_set_title_simple(SDL_Window *window, const char *title) {
    x11_set_title(window, title, nullptr);
}
