// Kestrune tests: the game controller, with SDL's virtual joysticks standing in for real
// ones: buttons and stick into the mask, START as the confirm, plugging in and out.
#include "interactive_util.h"

using namespace itest;

namespace {

class Controller : public Interactive {
protected:
    void SetUp() override {
        Interactive::SetUp();
        ASSERT_EQ(SDL_Init(SDL_INIT_GAMECONTROLLER), 0) << SDL_GetError();
    }
    void TearDown() override {
        if (app_session.controller) SDL_GameControllerClose(app_session.controller);
        app_session.controller = nullptr;
        SDL_Quit();
    }

    // Attaches a virtual game controller and hands the events to the loop.
    int attach() {
        SDL_VirtualJoystickDesc desc;
        SDL_zero(desc);
        desc.version = SDL_VIRTUAL_JOYSTICK_DESC_VERSION;
        desc.type = SDL_JOYSTICK_TYPE_GAMECONTROLLER;
        desc.naxes = SDL_CONTROLLER_AXIS_MAX;
        desc.nbuttons = SDL_CONTROLLER_BUTTON_MAX;
        desc.button_mask = (1u << SDL_CONTROLLER_BUTTON_MAX) - 1u;
        desc.axis_mask = (1u << SDL_CONTROLLER_AXIS_MAX) - 1u;
        desc.name = "Kestrune test pad";
        int index = SDL_JoystickAttachVirtualEx(&desc);
        EXPECT_GE(index, 0) << SDL_GetError();
        pump();
        return index;
    }
    void pump() {
        SDL_Event e;
        while (SDL_PollEvent(&e)) app_handle_event(&e);
    }
    void button(SDL_GameControllerButton b, bool on) {
        SDL_JoystickSetVirtualButton(SDL_GameControllerGetJoystick(app_session.controller), b, on ? 1 : 0);
        SDL_GameControllerUpdate();
    }
    void axis(SDL_GameControllerAxis a, int16_t v) {
        SDL_JoystickSetVirtualAxis(SDL_GameControllerGetJoystick(app_session.controller), a, v);
        SDL_GameControllerUpdate();
    }
    int32_t pad_mask() {
        app_read_controller();
        return app_input.pad;
    }
};

}  // namespace

TEST_F(Controller, ButtonsAndStickGiveTheMaskBits) {
    attach();
    ASSERT_NE(app_session.controller, nullptr);
    EXPECT_EQ(pad_mask(), 0);
    struct Case {
        SDL_GameControllerButton b;
        int32_t bit;
    } buttons[] = {
        {SDL_CONTROLLER_BUTTON_DPAD_RIGHT, INPUT_RIGHT}, {SDL_CONTROLLER_BUTTON_DPAD_LEFT, INPUT_LEFT},
        {SDL_CONTROLLER_BUTTON_DPAD_UP, INPUT_UP},       {SDL_CONTROLLER_BUTTON_DPAD_DOWN, INPUT_DOWN},
        {SDL_CONTROLLER_BUTTON_A, INPUT_ACTION_A},       {SDL_CONTROLLER_BUTTON_X, INPUT_ACTION_A},
        {SDL_CONTROLLER_BUTTON_B, INPUT_ACTION_B},       {SDL_CONTROLLER_BUTTON_Y, INPUT_ACTION_B},
        {SDL_CONTROLLER_BUTTON_BACK, 0},                 {SDL_CONTROLLER_BUTTON_LEFTSHOULDER, 0},
        {SDL_CONTROLLER_BUTTON_START, 0},
    };
    for (const Case &c : buttons) {
        button(c.b, true);
        EXPECT_EQ(pad_mask(), c.bit) << c.b;
        button(c.b, false);
    }
    // The stick counts beyond 16000; y grows downwards; no other axis is read.
    struct AxisCase {
        SDL_GameControllerAxis a;
        int16_t v;
        int32_t bit;
    } axes[] = {
        {SDL_CONTROLLER_AXIS_LEFTX, 16000, 0},         {SDL_CONTROLLER_AXIS_LEFTX, 16001, INPUT_RIGHT},
        {SDL_CONTROLLER_AXIS_LEFTX, -16000, 0},        {SDL_CONTROLLER_AXIS_LEFTX, -16001, INPUT_LEFT},
        {SDL_CONTROLLER_AXIS_LEFTY, -20000, INPUT_UP}, {SDL_CONTROLLER_AXIS_LEFTY, 32767, INPUT_DOWN},
        {SDL_CONTROLLER_AXIS_RIGHTX, 32767, 0},        {SDL_CONTROLLER_AXIS_TRIGGERLEFT, 32767, 0},
    };
    for (const AxisCase &c : axes) {
        axis(c.a, c.v);
        EXPECT_EQ(pad_mask(), c.bit) << c.a << " " << c.v;
        axis(c.a, 0);
    }
    // Keyboard and controller together are OR-ed.
    app_state = SCREEN_PLAYING;
    app_paused = 1;
    down(SDLK_LEFT);
    axis(SDL_CONTROLLER_AXIS_LEFTX, 30000);
    frame();
    PlayerInput in;
    app_player_input(&in);
    EXPECT_EQ(in.left, 2);
    EXPECT_EQ(in.right, 1);
}

TEST_F(Controller, StartHeldGivesOneConfirm) {
    attach();
    button(SDL_CONTROLLER_BUTTON_START, true);
    app_read_controller();
    EXPECT_EQ(app_input.confirm, 1);
    app_run_ticks(1);
    for (int i = 0; i < 10; i++) {
        app_read_controller();
        ASSERT_EQ(app_input.confirm, 0) << i;
        app_run_ticks(1);
    }
    button(SDL_CONTROLLER_BUTTON_START, false);
    app_read_controller();
    button(SDL_CONTROLLER_BUTTON_START, true);
    app_read_controller();
    EXPECT_EQ(app_input.confirm, 1);
}

TEST_F(Controller, StartAndTheAButtonsStartAGameButNotBAndY) {
    attach();
    for (SDL_GameControllerButton b : {SDL_CONTROLLER_BUTTON_B, SDL_CONTROLLER_BUTTON_Y,
                                       SDL_CONTROLLER_BUTTON_A, SDL_CONTROLLER_BUTTON_X, SDL_CONTROLLER_BUTTON_START}) {
        app_state = SCREEN_TITLE;
        button(b, true);
        frame();
        bool starts = b != SDL_CONTROLLER_BUTTON_B && b != SDL_CONTROLLER_BUTTON_Y;
        EXPECT_EQ(app_state, starts ? SCREEN_PLAYING : SCREEN_TITLE) << b;
        button(b, false);
        frame();
    }
}

TEST_F(Controller, OnlyOneIsReadAndAnotherTakesOverWhenItGoes) {
    int first = attach();
    SDL_GameController *opened = app_session.controller;
    ASSERT_NE(opened, nullptr);
    attach();
    EXPECT_EQ(app_session.controller, opened);
    SDL_JoystickDetachVirtual(first);
    pump();
    ASSERT_NE(app_session.controller, nullptr);
    button(SDL_CONTROLLER_BUTTON_A, true);
    EXPECT_EQ(pad_mask(), INPUT_ACTION_A);
    // Events for devices that cannot be opened, or that were never read, change nothing.
    SDL_GameControllerClose(app_session.controller);
    app_session.controller = nullptr;
    SDL_Event e;
    SDL_zero(e);
    e.type = SDL_CONTROLLERDEVICEADDED;
    e.cdevice.which = 57;
    app_handle_event(&e);
    EXPECT_EQ(app_session.controller, nullptr);
    e.type = SDL_CONTROLLERDEVICEREMOVED;
    app_handle_event(&e);
    EXPECT_EQ(app_session.controller, nullptr);
    EXPECT_EQ(pad_mask(), 0);
}
