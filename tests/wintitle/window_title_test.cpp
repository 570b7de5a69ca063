// Setting the window title on real windows: without X (dummy and offscreen back-ends)
// only SDL's title changes and Xlib is never opened; on an X server (Xvfb, the test
// running itself again under xvfb-run) the four name properties carry UTF-8 text, read
// back with xprop.
#include <gtest/gtest.h>

#include <dlfcn.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include "text/text.h"

#include <SDL_syswm.h>

namespace {

const char kLiveVar[] = "KESTRUNE_X11_LIVE";

std::string hex_bytes(const std::string &s) {
    std::string out;
    char buf[8];
    for (unsigned char c : s) {
        std::snprintf(buf, sizeof buf, "%s0x%02x", out.empty() ? "" : ", ", c);
        out += buf;
    }
    return out;
}

// ---------------------------------------------------------------------------------------
// Without X.

class NoX : public ::testing::TestWithParam<const char *> {
protected:
    SDL_Window *window = nullptr;
    void SetUp() override {
        SDL_setenv("SDL_VIDEODRIVER", GetParam(), 1);
        SDL_setenv("SDL_AUDIODRIVER", "dummy", 1);
        ASSERT_EQ(SDL_Init(SDL_INIT_VIDEO), 0) << SDL_GetError();
        window = SDL_CreateWindow("start", 0, 0, 640, 480, SDL_WINDOW_HIDDEN);
        ASSERT_NE(window, nullptr) << SDL_GetError();
        lang_set(5);
        x11_build_title_marquee();
    }
    void TearDown() override {
        if (window) SDL_DestroyWindow(window);
        SDL_Quit();
        lang_set(5);
    }
};

TEST_P(NoX, OnlyTheSdlTitleIsSet) {
    const char *title = "Kestrune \xE2\x80\xA2 \xD7\xA2\xD7\x91\xD7\xA8\xD7\x99\xD7\xAA";
    x11_set_title(window, title, "icon");
    EXPECT_STREQ(SDL_GetWindowTitle(window), title);
    x11_set_title_simple(window, "");
    EXPECT_STREQ(SDL_GetWindowTitle(window), "");
    x11_set_title(window, "again", nullptr);
    EXPECT_STREQ(SDL_GetWindowTitle(window), "again");
    // Bad input is handled, not crashed on.
    x11_set_title(window, nullptr, nullptr);
    EXPECT_STREQ(SDL_GetWindowTitle(window), "");
    x11_set_title(window, "\xFF\xC3", "\x80");
    x11_set_title(nullptr, "no window", nullptr);
    x11_set_title_simple(nullptr, nullptr);
    // Xlib is only opened for an X11 window.
    EXPECT_EQ(x11_lib, nullptr);
}

TEST_P(NoX, UpdatesFollowTheWindowWidth) {
    // 640 wide: the English marquee does not fit, so it scrolls from its start.
    x11_update_window_title(window, 1);
    std::string marquee = x11_marquee_text;
    std::string title = SDL_GetWindowTitle(window);
    EXPECT_EQ(x11_title_mode, 1);
    EXPECT_EQ(x11_marquee_offset, 1);
    EXPECT_GT(title.size(), 40u);
    EXPECT_LT(title.size(), marquee.size());
    EXPECT_EQ(marquee.compare(0, title.size(), title), 0);

    // A step is not due again at once: an unforced update leaves the title alone.
    SDL_SetWindowTitle(window, "marker");
    x11_update_window_title(window, 0);
    EXPECT_STREQ(SDL_GetWindowTitle(window), "marker");
    EXPECT_EQ(x11_marquee_offset, 1);

    // Wide enough: the whole marquee stands still.
    SDL_SetWindowSize(window, 4000, 480);
    x11_update_window_title(window, 1);
    EXPECT_EQ(std::string(SDL_GetWindowTitle(window)), marquee);
    EXPECT_EQ(x11_title_mode, 0);
    EXPECT_EQ(x11_marquee_offset, 0);

    x11_update_window_title(nullptr, 1);
    EXPECT_EQ(x11_title_mode, 0);
    EXPECT_EQ(x11_lib, nullptr);
}

TEST_P(NoX, FullscreenWritesNothingEvenWhenForced) {
    SDL_SetWindowFullscreen(window, SDL_WINDOW_FULLSCREEN_DESKTOP);
    if (!(SDL_GetWindowFlags(window) & SDL_WINDOW_FULLSCREEN)) {
        SDL_DestroyWindow(window);
        window = SDL_CreateWindow("start", 0, 0, 640, 480, SDL_WINDOW_FULLSCREEN_DESKTOP);
        ASSERT_NE(window, nullptr);
        ASSERT_TRUE(SDL_GetWindowFlags(window) & SDL_WINDOW_FULLSCREEN);
    }
    lang_set(8);  // a language change in fullscreen
    x11_build_title_marquee();
    x11_update_window_title(window, 1);
    x11_update_window_title(window, 0);
    EXPECT_STREQ(SDL_GetWindowTitle(window), "start");
    EXPECT_EQ(x11_title_mode, -1);
    EXPECT_EQ(x11_marquee_last_ticks, 0u);

    // Back in a window, the new language's marquee comes at the first update.
    SDL_SetWindowFullscreen(window, 0);
    ASSERT_FALSE(SDL_GetWindowFlags(window) & SDL_WINDOW_FULLSCREEN);
    x11_update_window_title(window, 1);
    std::string marquee = x11_marquee_text;
    std::string title = SDL_GetWindowTitle(window);
    EXPECT_NE(marquee.find("Fran\xC3\xA7"), std::string::npos);
    EXPECT_FALSE(title.empty());
    EXPECT_EQ(marquee.compare(0, title.size(), title), 0);
    EXPECT_EQ(x11_title_mode, 1);
}

INSTANTIATE_TEST_SUITE_P(Backends, NoX, ::testing::Values("dummy", "offscreen"));

// ---------------------------------------------------------------------------------------
// On an X server. These run only in the child started under xvfb-run below.

struct Property {
    bool found = false;
    std::string type;
    std::string bytes;  // as "0x4b, 0x65, ..."
};

class X11Live : public ::testing::Test {
protected:
    SDL_Window *window = nullptr;
    unsigned long xwindow = 0;
    void SetUp() override {
        if (!std::getenv(kLiveVar)) GTEST_SKIP() << "runs under xvfb-run only";
        ASSERT_EQ(SDL_Init(SDL_INIT_VIDEO), 0) << SDL_GetError();
        ASSERT_STREQ(SDL_GetCurrentVideoDriver(), "x11");
        window = SDL_CreateWindow("start", 0, 0, 640, 480, SDL_WINDOW_HIDDEN);
        ASSERT_NE(window, nullptr) << SDL_GetError();
        SDL_SysWMinfo info;
        std::memset(&info, 0, sizeof info);
        SDL_VERSION(&info.version);
        ASSERT_TRUE(SDL_GetWindowWMInfo(window, &info));
        ASSERT_EQ(info.subsystem, SDL_SYSWM_X11);
        xwindow = static_cast<unsigned long>(info.info.x11.window);
        lang_set(5);
    }
    void TearDown() override {
        if (window) SDL_DestroyWindow(window);
        SDL_Quit();
        lang_set(5);
    }

    // Waits until the server has handled everything the window's connection sent, so
    // another client (xprop) sees the new properties.
    void sync() {
        SDL_SysWMinfo info;
        std::memset(&info, 0, sizeof info);
        SDL_VERSION(&info.version);
        ASSERT_TRUE(SDL_GetWindowWMInfo(window, &info));
        void *lib = dlopen("libX11.so.6", RTLD_LAZY);
        ASSERT_NE(lib, nullptr);
        void *sym = dlsym(lib, "XSync");
        ASSERT_NE(sym, nullptr);
        int (*xsync)(Display *, Bool) = nullptr;
        std::memcpy(&xsync, &sym, sizeof sym);
        xsync(info.info.x11.display, False);
        dlclose(lib);
    }

    Property read(const char *name) {
        char cmd[256];
        std::snprintf(cmd, sizeof cmd, "xprop -id 0x%lx -f %s 8x ' = $0+\\n' %s 2>&1", xwindow,
                      name, name);
        FILE *p = popen(cmd, "r");
        Property prop;
        if (!p) return prop;
        std::string out;
        char buf[4096];
        size_t n;
        while ((n = fread(buf, 1, sizeof buf, p)) > 0) out.append(buf, n);
        pclose(p);
        while (!out.empty() && (out.back() == '\n' || out.back() == ' ')) out.pop_back();
        // "NAME(TYPE) = 0x.., 0x.." or, for an empty value, "NAME(TYPE) =" .
        std::string head = std::string(name) + "(";
        if (out.compare(0, head.size(), head) != 0) return prop;
        size_t close = out.find(')');
        if (close == std::string::npos) return prop;
        prop.found = true;
        prop.type = out.substr(head.size(), close - head.size());
        size_t eq = out.find(" =", close);
        if (eq != std::string::npos && eq + 3 <= out.size()) prop.bytes = out.substr(eq + 3);
        return prop;
    }

    void expect_names(const std::string &title, const std::string &icon) {
        sync();
        const struct {
            const char *name;
            const std::string &text;
        } names[] = {{"_NET_WM_NAME", title}, {"_NET_WM_ICON_NAME", icon},
                     {"WM_NAME", title}, {"WM_ICON_NAME", icon}};
        for (const auto &n : names) {
            SCOPED_TRACE(n.name);
            Property p = read(n.name);
            EXPECT_TRUE(p.found);
            EXPECT_EQ(p.type, "UTF8_STRING");
            EXPECT_EQ(p.bytes, hex_bytes(n.text));
        }
    }
};

TEST_F(X11Live, TitleAndIconNameAsUtf8) {
    const std::string title = "Kestrune   \xE2\x80\xA2   \xC3\x86\xC3\x98\xC3\x85 "
                              "\xE4\xB8\xAD\xE6\x96\x87 \xD7\xA2\xD7\x91\xD7\xA8\xD7\x99\xD7\xAA "
                              "\xF0\x9F\x98\x80";
    x11_set_title(window, title.c_str(), "Kestrune");
    EXPECT_EQ(std::string(SDL_GetWindowTitle(window)), title);
    EXPECT_NE(x11_lib, nullptr);
    expect_names(title, "Kestrune");

    // Without an icon name, and through the simple form, all four carry the title.
    x11_set_title(window, "one", nullptr);
    expect_names("one", "one");
    x11_set_title_simple(window, "two \xC3\xA9");
    expect_names("two \xC3\xA9", "two \xC3\xA9");

    // An empty title: four properties of length 0.
    x11_set_title(window, "", nullptr);
    EXPECT_STREQ(SDL_GetWindowTitle(window), "");
    expect_names("", "");

    // Bytes that are not UTF-8 are handed on unchanged.
    x11_set_title(window, "bad \xFF\xC3", "\x80");
    expect_names("bad \xFF\xC3", "\x80");
}

TEST_F(X11Live, MarqueeReachesTheProperties) {
    lang_set(20);  // he, right to left
    x11_build_title_marquee();
    x11_update_window_title(window, 1);  // 640 wide: scrolling
    EXPECT_EQ(x11_title_mode, 1);
    std::string shown = SDL_GetWindowTitle(window);
    EXPECT_EQ(std::string(x11_marquee_text).compare(0, shown.size(), shown), 0);
    expect_names(shown, "Kestrune");

    SDL_DestroyWindow(window);
    window = SDL_CreateWindow("start", 0, 0, 4000, 480, SDL_WINDOW_HIDDEN);
    ASSERT_NE(window, nullptr);
    SDL_SysWMinfo info;
    std::memset(&info, 0, sizeof info);
    SDL_VERSION(&info.version);
    ASSERT_TRUE(SDL_GetWindowWMInfo(window, &info));
    xwindow = static_cast<unsigned long>(info.info.x11.window);
    lang_set(31);  // zh
    x11_build_title_marquee();
    x11_update_window_title(window, 1);
    EXPECT_EQ(x11_title_mode, 0);
    expect_names(x11_marquee_text, lang_records[31].strings[STR_TITLE]);
}

bool have_program(const char *name) {
    std::string cmd = std::string("command -v ") + name + " >/dev/null 2>&1";
    return std::system(cmd.c_str()) == 0;
}

// Runs this test program's X11Live tests again on a fresh Xvfb server.
TEST(X11Properties, UnderXvfb) {
    if (!have_program("xvfb-run")) GTEST_SKIP() << "xvfb-run is not installed";
    char exe[4096];
    ssize_t n = readlink("/proc/self/exe", exe, sizeof exe - 1);
    ASSERT_GT(n, 0);
    exe[n] = '\0';
    // Under LeakSanitizer, leaks inside SDL's X11 and D-Bus libraries are not ours.
    std::string lsan = "suppressions=" KESTRUNE_X11_LEAKS;
    if (const char *old = std::getenv("LSAN_OPTIONS")) lsan = std::string(old) + ":" + lsan;
    std::string cmd = std::string("env ") + kLiveVar +
                      "=1 SDL_VIDEODRIVER=x11 SDL_AUDIODRIVER=dummy 'LSAN_OPTIONS=" + lsan +
                      "' xvfb-run -a -s '-screen 0 1280x1024x24 -noreset' '" +
                      exe + "' --gtest_filter='X11Live.*' 2>&1";
    // The server must not reset when the first test's connection closes, or the second
    // test would try to connect in the middle of the reset. xvfb-run -a picks its display
    // number racily against X servers of other processes: a server that could not start
    // is tried again.
    std::string out;
    int status = -1;
    for (int attempt = 0; attempt < 3; attempt++) {
        FILE *p = popen(cmd.c_str(), "r");
        ASSERT_NE(p, nullptr);
        out.clear();
        char buf[4096];
        size_t got;
        while ((got = fread(buf, 1, sizeof buf, p)) > 0) out.append(buf, got);
        status = pclose(p);
        if (out.find("Xvfb failed to start") == std::string::npos) break;
    }
    EXPECT_EQ(status, 0) << out;
    EXPECT_NE(out.find("[  PASSED  ] 2 tests."), std::string::npos) << out;
    EXPECT_EQ(out.find("SKIPPED"), std::string::npos) << out;
}

}  // namespace
