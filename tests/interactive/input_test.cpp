// Kestrune tests: keys folded into the input masks, the PlayerInput of a tick, the
// confirm flag, the tick clock and the window size.
#include <limits>

#include "interactive_util.h"

using namespace itest;

namespace {

// The mask steps of the ticks without any game: a paused game only moves the masks.
class Masks : public Interactive {
protected:
    void SetUp() override {
        Interactive::SetUp();
        app_state = SCREEN_PLAYING;
        app_paused = 1;
    }
    PlayerInput tick_input(int ticks = 1) {
        frame(ticks);
        PlayerInput in;
        std::memset(&in, 0x55, sizeof in);
        app_player_input(&in);
        return in;
    }
};

}  // namespace

TEST(KeyMapping, KeysByCodeOnly) {
    struct Case {
        SDL_Keycode sym;
        int32_t bit;
    } cases[] = {
        {SDLK_d, INPUT_RIGHT},     {SDLK_RIGHT, INPUT_RIGHT},   {SDLK_a, INPUT_LEFT},      {SDLK_LEFT, INPUT_LEFT},
        {SDLK_w, INPUT_UP},        {SDLK_UP, INPUT_UP},         {SDLK_s, INPUT_DOWN},      {SDLK_DOWN, INPUT_DOWN},
        {SDLK_k, INPUT_ACTION_B},  {SDLK_z, INPUT_ACTION_B},    {SDLK_LSHIFT, INPUT_ACTION_B},
        {SDLK_j, INPUT_ACTION_A},  {SDLK_x, INPUT_ACTION_A},    {SDLK_SPACE, INPUT_ACTION_A},
        {SDLK_LCTRL, INPUT_ACTION_A},
        // The right-hand modifiers, the keypad's arrows, upper-case codes and the
        // command keys set nothing.
        {SDLK_RSHIFT, 0},          {SDLK_RCTRL, 0},             {SDLK_KP_4, 0},            {SDLK_KP_8, 0},
        {'D', 0},                  {SDLK_RETURN, 0},            {SDLK_p, 0},               {SDLK_F11, 0},
        {-1, 0},
    };
    for (const Case &c : cases) EXPECT_EQ(app_key_bit(c.sym), c.bit) << c.sym;
}

TEST_F(Masks, DirectionsAreLevelsAndEveryPressReachesOneTick) {
    // A tap shorter than a tick gives exactly one tick, also across frames without ticks.
    tap(SDLK_RIGHT);
    frame(0);
    PlayerInput in = tick_input();
    EXPECT_EQ(in.right, 1);
    EXPECT_EQ(in.left | in.up | in.down | in.action, 0);
    EXPECT_EQ(tick_input().right, 0);
    // Held: set in every tick until the key-up, whatever the repeats.
    down(SDLK_LEFT);
    for (int i = 0; i < 5; i++) EXPECT_EQ(tick_input().left, 2) << i;
    repeat(SDLK_LEFT);
    EXPECT_EQ(tick_input(3).left, 2);
    up(SDLK_LEFT);
    EXPECT_EQ(tick_input().left, 0);
    // Later ticks of a frame take the frame mask alone.
    tap(SDLK_DOWN);
    frame(2);
    EXPECT_EQ(app_input.previous, INPUT_DOWN);
    EXPECT_EQ(app_input.tick, 0);
}

TEST_F(Masks, ActionIsAPressNotALevel) {
    // Space held for a second: one action, in the first tick; repeats add none.
    down(SDLK_SPACE);
    EXPECT_EQ(tick_input().action, 1);
    for (int i = 0; i < 60; i++) {
        if (i % 3 == 0) repeat(SDLK_SPACE);
        ASSERT_EQ(tick_input().action, 0) << i;
    }
    // Let go and pressed again within one tick is no new press either.
    up(SDLK_SPACE);
    tap(SDLK_SPACE);
    EXPECT_EQ(tick_input().action, 0);
    EXPECT_EQ(tick_input().action, 0);
    tap(SDLK_SPACE);
    EXPECT_EQ(tick_input().action, 1);
    EXPECT_EQ(tick_input().action, 0);
    // Left Shift is action B, also as the modifier of another key; a second action
    // key pressed while the first is held is a new bit.
    down(SDLK_LSHIFT);
    down(SDLK_l, KMOD_LSHIFT);
    EXPECT_EQ(tick_input().action, 1);
    down(SDLK_j);
    EXPECT_EQ(tick_input().action, 1);
    EXPECT_EQ(tick_input().action, 0);
}

TEST_F(Masks, ConfirmReachesTheFirstTickAfterItsPress) {
    // Enter held gives one confirm; a frame without ticks keeps it.
    down(SDLK_RETURN);
    repeat(SDLK_RETURN);
    frame(0);
    EXPECT_EQ(app_input.confirm, 1);
    frame(1);
    EXPECT_EQ(app_input.confirm, 0);
    repeat(SDLK_RETURN);
    up(SDLK_RETURN);
    EXPECT_EQ(app_input.confirm, 0);
    // With Alt the Enter keys switch fullscreen instead.
    tap(SDLK_RETURN, KMOD_LALT);
    tap(SDLK_KP_ENTER, KMOD_RALT);
    EXPECT_EQ(app_input.confirm, 0);
    tap(SDLK_KP_ENTER);
    EXPECT_EQ(app_input.confirm, 1);
}

TEST_F(Masks, NameEntryTypesWithoutSettingBitsButReleasesHeldOnes) {
    down(SDLK_RIGHT);
    app_state = SCREEN_NAME_ENTRY;
    down(SDLK_a);
    down(SDLK_SPACE);
    EXPECT_EQ(app_input.held, INPUT_RIGHT);
    EXPECT_EQ(app_input.pressed & (INPUT_LEFT | INPUT_ACTION_A), 0);
    // The key held when the game ended, let go while typing, is up for the next game.
    up(SDLK_RIGHT);
    EXPECT_EQ(app_input.held, 0);
}

TEST(TickClock, TimeBecomesWholeTicks) {
    double acc = 0.0;
    EXPECT_EQ(app_count_ticks(&acc, 0.010), 0);
    EXPECT_EQ(app_count_ticks(&acc, 0.010), 1);
    EXPECT_NEAR(acc, 0.020 - 1.0 / 60.0, 1e-12);
    // A stall runs exactly 15 ticks; the rest of it is lost.
    acc = 0.016;
    EXPECT_EQ(app_count_ticks(&acc, 1.0), 15);
    EXPECT_LT(acc, 1.0 / 60.0);
    // A minute of frames at 144 Hz gives 3600 ticks, give or take the remainder.
    acc = 0.0;
    int total = 0;
    for (int i = 0; i < 144 * 60; i++) total += app_count_ticks(&acc, 1.0 / 144.0);
    EXPECT_GE(total, 3599);
    EXPECT_LE(total, 3600);
    // A counter that runs backwards or gives nonsense runs nothing.
    acc = 0.005;
    EXPECT_EQ(app_count_ticks(&acc, -3.0), 0);
    EXPECT_EQ(app_count_ticks(&acc, std::numeric_limits<double>::quiet_NaN()), 0);
    EXPECT_EQ(acc, 0.0);
    EXPECT_EQ(app_count_ticks(&acc, std::numeric_limits<double>::infinity()), 15);
}

TEST(FramePacing, AFrameShorterThanARefreshSleepsTheRestInWholeMilliseconds) {
    // 60 Hz: a refresh is 16.67 ms.
    EXPECT_EQ(app_frame_sleep_ms(0.0, 60), 16u);
    EXPECT_EQ(app_frame_sleep_ms(0.0021, 60), 14u);  // 14.57 ms rounds down
    EXPECT_EQ(app_frame_sleep_ms(0.0166, 60), 0u);   // 0.07 ms left: nothing to sleep
    EXPECT_EQ(app_frame_sleep_ms(1.0 / 60.0, 60), 0u);
    EXPECT_EQ(app_frame_sleep_ms(0.040, 60), 0u);  // a slow frame sleeps nothing
    // The display's own rate; an unknown one counts as 60.
    EXPECT_EQ(app_frame_sleep_ms(0.001, 144), 5u);  // 6.94 - 1
    EXPECT_EQ(app_frame_sleep_ms(0.001, 30), 32u);
    EXPECT_EQ(app_frame_sleep_ms(0.001, 0), 15u);
    EXPECT_EQ(app_frame_sleep_ms(0.001, -5), 15u);
    // A counter that ran backwards or gives nonsense sleeps at most one refresh.
    EXPECT_EQ(app_frame_sleep_ms(-3.0, 60), 16u);
    EXPECT_EQ(app_frame_sleep_ms(std::numeric_limits<double>::quiet_NaN(), 60), 16u);
    EXPECT_EQ(app_frame_sleep_ms(std::numeric_limits<double>::infinity(), 60), 0u);
}

TEST(WindowSize, FromTheDesktopHeightOrTheScaleOption) {
    struct Case {
        int32_t option;
        int have;
        int32_t desktop;
        int w, h;
    } cases[] = {
        {0, 1, 2160, 2000, 1472}, {0, 1, 1200, 1400, 1030}, {0, 1, 1080, 1000, 736},  {0, 1, 1151, 1400, 1030},
        {0, 1, 1150, 1000, 736},  {0, 1, 1592, 2000, 1472}, {0, 1, 1591, 1400, 1030}, {0, 0, 2160, 1000, 736},
        {1, 1, 2160, 1000, 736},  {3, 0, 0, 3000, 2208},
        // Sizes no window can have stay within 1 .. 16384 instead of overflowing int.
        {-1, 1, 1080, 1, 1},      {2147483647, 1, 1080, 16384, 16384},
    };
    for (const Case &c : cases) {
        int w = 0, h = 0;
        app_window_size(app_window_scale(c.option, c.have, c.desktop), &w, &h);
        EXPECT_EQ(w, c.w) << c.option << " " << c.desktop;
        EXPECT_EQ(h, c.h) << c.option << " " << c.desktop;
    }
}
