// Kestrune tests: keys and controller folded into the input masks, the PlayerInput of a
// tick, the confirm flag, the tick clock and the window size.
#include <cmath>
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
    EXPECT_EQ(app_key_bit(SDLK_d), INPUT_RIGHT);
    EXPECT_EQ(app_key_bit(SDLK_RIGHT), INPUT_RIGHT);
    EXPECT_EQ(app_key_bit(SDLK_a), INPUT_LEFT);
    EXPECT_EQ(app_key_bit(SDLK_LEFT), INPUT_LEFT);
    EXPECT_EQ(app_key_bit(SDLK_w), INPUT_UP);
    EXPECT_EQ(app_key_bit(SDLK_UP), INPUT_UP);
    EXPECT_EQ(app_key_bit(SDLK_s), INPUT_DOWN);
    EXPECT_EQ(app_key_bit(SDLK_DOWN), INPUT_DOWN);
    for (SDL_Keycode k : {SDLK_k, SDLK_z, SDLK_LSHIFT}) EXPECT_EQ(app_key_bit(k), INPUT_ACTION_B) << k;
    for (SDL_Keycode k : {SDLK_j, SDLK_x, SDLK_SPACE, SDLK_LCTRL}) EXPECT_EQ(app_key_bit(k), INPUT_ACTION_A) << k;
    // The right-hand modifiers, the keypad's arrows, upper-case codes and the command
    // keys set nothing.
    for (SDL_Keycode k : std::initializer_list<SDL_Keycode>{SDLK_RSHIFT, SDLK_RCTRL, SDLK_KP_4, SDLK_KP_6, SDLK_KP_8, SDLK_KP_2, (SDL_Keycode)'D',
                          SDLK_RETURN, SDLK_p, SDLK_m, SDLK_l, SDLK_ESCAPE, SDLK_F11, (SDL_Keycode)-1})
        EXPECT_EQ(app_key_bit(k), 0) << k;
}

TEST_F(Masks, TapShorterThanATickReachesExactlyOneTick) {
    tap(SDLK_RIGHT);
    PlayerInput in = tick_input();
    EXPECT_EQ(in.right, 1);
    EXPECT_EQ(in.left | in.up | in.down | in.action, 0);
    EXPECT_EQ(tick_input().right, 0);
}

TEST_F(Masks, HeldKeyIsALevelUntilItsKeyUp) {
    down(SDLK_LEFT);
    for (int i = 0; i < 5; i++) EXPECT_EQ(tick_input().left, 2) << i;
    repeat(SDLK_LEFT);
    EXPECT_EQ(tick_input(3).left, 2);
    up(SDLK_LEFT);
    EXPECT_EQ(tick_input().left, 0);
}

TEST_F(Masks, ActionIsAPressNotALevel) {
    // Space held for a second: one action, in the first tick; repeats add none.
    down(SDLK_SPACE);
    EXPECT_EQ(tick_input().action, 1);
    for (int i = 0; i < 60; i++) {
        if (i % 3 == 0) repeat(SDLK_SPACE);
        ASSERT_EQ(tick_input().action, 0) << i;
    }
    up(SDLK_SPACE);
    EXPECT_EQ(tick_input().action, 0);
    // Space tapped between two ticks: exactly one action.
    tap(SDLK_SPACE);
    EXPECT_EQ(tick_input().action, 1);
    EXPECT_EQ(tick_input().action, 0);
    // Left Shift is action B, also when used as a modifier of another key.
    down(SDLK_LSHIFT);
    down(SDLK_l, KMOD_LSHIFT);
    EXPECT_EQ(tick_input().action, 1);
    EXPECT_EQ(tick_input().action, 0);
    up(SDLK_LSHIFT);
    up(SDLK_l);
    // A second action key pressed while the first is held is a new bit.
    down(SDLK_j);
    EXPECT_EQ(tick_input().action, 1);
    down(SDLK_k);
    EXPECT_EQ(tick_input().action, 1);
}

TEST_F(Masks, PressesOfAFrameWithoutTicksWaitForTheNextTick) {
    tap(SDLK_UP);
    frame(0);
    frame(0);
    PlayerInput in = tick_input();
    EXPECT_EQ(in.up, 4);
    EXPECT_EQ(tick_input().up, 0);
}

TEST_F(Masks, LaterTicksOfAFrameSeeOnlyTheFrameMask) {
    tap(SDLK_DOWN);
    frame(2);
    EXPECT_EQ(app_input.previous & INPUT_DOWN, INPUT_DOWN);
    EXPECT_EQ(app_input.tick & INPUT_DOWN, 0);
}

TEST_F(Masks, ConfirmReachesOnlyTheFirstTickOfItsFrame) {
    tap(SDLK_RETURN);
    EXPECT_EQ(app_input.confirm, 1);
    frame(1);
    EXPECT_EQ(app_input.confirm, 0);
    // Enter held: one confirm; Alt+Enter and a repeat give none.
    down(SDLK_RETURN);
    repeat(SDLK_RETURN);
    frame();
    repeat(SDLK_RETURN);
    EXPECT_EQ(app_input.confirm, 0);
    up(SDLK_RETURN);
    tap(SDLK_RETURN, KMOD_LALT);
    tap(SDLK_KP_ENTER, KMOD_RALT);
    EXPECT_EQ(app_input.confirm, 0);
    tap(SDLK_KP_ENTER);
    EXPECT_EQ(app_input.confirm, 1);
}

TEST_F(Masks, ConfirmOfAFrameWithoutTicksIsKept) {
    tap(SDLK_RETURN);
    frame(0);
    EXPECT_EQ(app_input.confirm, 1);
    frame(1);
    EXPECT_EQ(app_input.confirm, 0);
}

TEST_F(Masks, KeyboardNeverSetsTheTwoHighBits) {
    for (int k = 0; k < 512; k++) {
        // Not the command keys: they would leave the paused game.
        if (k == SDLK_RETURN || k == SDLK_ESCAPE || k == SDLK_p || k == SDLK_m || k == SDLK_l) continue;
        down((SDL_Keycode)k);
    }
    for (SDL_Keycode k : {SDLK_LSHIFT, SDLK_LCTRL, SDLK_UP, SDLK_DOWN, SDLK_LEFT, SDLK_RIGHT}) down(k);
    frame();
    EXPECT_EQ(app_input.tick, 0x3F);
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
    EXPECT_DOUBLE_EQ(acc, 0.010);
    EXPECT_EQ(app_count_ticks(&acc, 0.010), 1);
    EXPECT_NEAR(acc, 0.020 - 1.0 / 60.0, 1e-12);
    // A stall runs exactly 15 ticks; the rest of it is lost.
    acc = 0.0;
    EXPECT_EQ(app_count_ticks(&acc, 1.0), 15);
    EXPECT_LT(acc, 1.0 / 60.0);
    EXPECT_EQ(app_count_ticks(&acc, 0.0), 0);
    acc = 0.016;
    EXPECT_EQ(app_count_ticks(&acc, 1e9), 15);
    // One minute of frames at 144 Hz gives 3600 ticks, give or take the remainder.
    acc = 0.0;
    int total = 0;
    for (int i = 0; i < 144 * 60; i++) total += app_count_ticks(&acc, 1.0 / 144.0);
    EXPECT_GE(total, 3599);
    EXPECT_LE(total, 3600);
    // A counter that runs backwards or gives nonsense runs nothing.
    acc = 0.005;
    EXPECT_EQ(app_count_ticks(&acc, -3.0), 0);
    EXPECT_EQ(acc, 0.0);
    EXPECT_EQ(app_count_ticks(&acc, std::numeric_limits<double>::quiet_NaN()), 0);
    EXPECT_EQ(acc, 0.0);
    EXPECT_EQ(app_count_ticks(&acc, std::numeric_limits<double>::infinity()), 15);
}

TEST(WindowSize, FromTheDesktopHeightOrTheScaleOption) {
    struct Case {
        int32_t option;
        int have;
        int32_t desktop;
        int w, h;
    } cases[] = {
        {0, 1, 2160, 2000, 1472}, {0, 1, 1200, 1400, 1030}, {0, 1, 1080, 1000, 736},
        {0, 1, 1152, 1400, 1030}, {0, 1, 1151, 1400, 1030}, {0, 1, 1150, 1000, 736},
        {0, 1, 1592, 2000, 1472}, {0, 1, 1591, 1400, 1030}, {0, 0, 2160, 1000, 736},
        {1, 1, 2160, 1000, 736},  {3, 0, 0, 3000, 2208},
    };
    for (const Case &c : cases) {
        int w = 0, h = 0;
        app_window_size(app_window_scale(c.option, c.have, c.desktop), &w, &h);
        EXPECT_EQ(w, c.w) << c.option << " " << c.desktop;
        EXPECT_EQ(h, c.h) << c.option << " " << c.desktop;
    }
    // Values no window can have stay within 1 .. 16384 instead of overflowing int.
    int w = 0, h = 0;
    app_window_size(app_window_scale(-1, 1, 1080), &w, &h);
    EXPECT_EQ(w, 1);
    EXPECT_EQ(h, 1);
    app_window_size(app_window_scale(2147483647, 1, 1080), &w, &h);
    EXPECT_EQ(w, 16384);
    EXPECT_EQ(h, 16384);
    app_window_size(std::numeric_limits<float>::quiet_NaN(), &w, &h);
    EXPECT_EQ(w, 1);
}
