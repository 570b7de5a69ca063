// Kestrune tests: the start of SDL for the interactive game: a driver that shows nothing
// only when asked for, and a game without audio that plays silent.
#include <cstdlib>
#include <string>

#include "app/app_private.h"
#include "interactive_util.h"
#include "sound/snd.h"

TEST(Startup, AVideoDriverThatShowsNothingOnlyWhenAskedFor) {
    struct Case {
        const char *driver, *asked;
        int shows_nothing;
    } cases[] = {
        {"offscreen", nullptr, 1},      {"dummy", nullptr, 1},          {"offscreen", "", 1},
        {"offscreen", "offscreen", 0},  {"dummy", "dummy", 0},          {"offscreen", "OFFSCREEN", 0},
        {"offscreen", "x11,offscreen", 0}, {"dummy", "wayland,x11,dummy", 0}, {"offscreen", "offscreen,", 0},
        {"offscreen", "offscreens", 1}, {"offscreen", "offscree", 1},   {"offscreen", "x11,dummy", 1},
        {"x11", nullptr, 0},            {"wayland", "", 0},             {"kmsdrm", nullptr, 0},
        {nullptr, nullptr, 0},
    };
    for (const Case &c : cases) {
        EXPECT_EQ(app_video_driver_shows_nothing(c.driver, c.asked), c.shows_nothing)
            << (c.driver ? c.driver : "(none)") << " asked " << (c.asked ? c.asked : "(none)");
    }
}

TEST(Startup, AudioThatDoesNotStartLeavesTheGameSilent) {
    const char *old = std::getenv("SDL_AUDIODRIVER");
    std::string saved = old ? old : "";
    setenv("SDL_VIDEODRIVER", "dummy", 1);
    setenv("SDL_AUDIODRIVER", "nonexistent", 1);
    ASSERT_EQ(app_start_sdl(), 0);
    EXPECT_NE(SDL_WasInit(SDL_INIT_VIDEO), 0u);
    EXPECT_EQ(SDL_WasInit(SDL_INIT_AUDIO), 0u);
    snd_open();
    EXPECT_EQ(snd_device, 0u);
    // The sound requests still work, without a device to lock.
    snd_set_music(MUSIC_TITLE);
    snd_play_effect(SFX_MENU);
    EXPECT_EQ(snd_music_piece, MUSIC_TITLE);
    SDL_Quit();
    if (old) {
        setenv("SDL_AUDIODRIVER", saved.c_str(), 1);
    } else {
        unsetenv("SDL_AUDIODRIVER");
    }
}
