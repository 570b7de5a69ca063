// Kestrune tests: the screens of the interactive game. Starting, pausing, leaving and
// ending a game, the ways into and out of the name entry, typing and erasing a name,
// the language key with its settings file, and the command keys of each screen.
#include <string>

#include "../app/test_util.h"
#include "interactive_util.h"
#include "sound/snd.h"

using namespace itest;
using testutil::TempDir;

namespace {

class Screens : public Interactive {
protected:
    // A started game put straight into its game-over or victory phase at this timer,
    // with this score; the next tick adds one to the timer.
    void end_phase(int32_t phase, int32_t timer, int32_t score) {
        start_game();
        game_state.phase = phase;
        game_state.phase_timer = timer;
        game_state.score = score;
    }
    // Runs single-tick frames until the screen changes; returns the phase timer then,
    // or -1 when it did not change within the limit.
    int32_t ticks_until_screen_changes(int limit) {
        int32_t screen = app_state;
        for (int i = 0; i < limit; i++) {
            frame();
            if (app_state != screen) return game_state.phase_timer;
        }
        return -1;
    }
};

}  // namespace

TEST_F(Screens, TitleStartsAGameOnConfirmOrActionAOnly) {
    app_options.start_level = 6;
    for (SDL_Keycode k : {SDLK_k, SDLK_z, SDLK_LSHIFT, SDLK_w, SDLK_RSHIFT}) {
        tap(k);
        frame();
        EXPECT_EQ(app_state, SCREEN_TITLE) << k;
    }
    for (SDL_Keycode k : {SDLK_SPACE, SDLK_j, SDLK_x, SDLK_LCTRL, SDLK_RETURN, SDLK_KP_ENTER}) {
        app_state = SCREEN_TITLE;
        app_paused = 1;
        app_frame = 77;
        tap(k);
        frame();
        EXPECT_EQ(app_state, SCREEN_PLAYING) << k;
        EXPECT_EQ(app_paused, 0) << k;
        EXPECT_EQ(game_state.level, 6) << k;
        EXPECT_EQ(game_state.phase, PHASE_INTRO) << k;
        EXPECT_EQ(app_frame, 78) << k;  // the screen clock goes on counting
        frame();
    }
}

TEST_F(Screens, ActionHeldOverTheStartDoesNotActAgain) {
    down(SDLK_SPACE);
    frame();
    ASSERT_EQ(app_state, SCREEN_PLAYING);
    // Held on, the action is no new press in the game: the intro ends by time only.
    for (int i = 0; i < 60; i++) frame();
    EXPECT_EQ(game_state.phase, PHASE_INTRO);
    // Let go and pressed again within one tick is still no new press.
    up(SDLK_SPACE);
    tap(SDLK_SPACE);
    frame();
    EXPECT_EQ(game_state.phase, PHASE_INTRO);
    frame();
    tap(SDLK_SPACE);
    frame();
    EXPECT_EQ(game_state.phase, PHASE_PLAYING);
}

TEST_F(Screens, PauseStopsTheGameButNotTheClock) {
    start_game();
    frame(3);
    int32_t timer = game_state.phase_timer;
    tap(SDLK_p);
    EXPECT_EQ(app_paused, 1);
    int32_t clock = app_frame;
    frame(5);
    tap(SDLK_RETURN);  // no effect while paused, and not kept for later
    frame();
    EXPECT_EQ(game_state.phase_timer, timer);
    EXPECT_EQ(app_frame, clock + 6);
    EXPECT_EQ(app_state, SCREEN_PLAYING);
    tap(SDLK_p);
    EXPECT_EQ(app_paused, 0);
    frame();
    EXPECT_EQ(game_state.phase_timer, timer + 1);
    // P does nothing on the other screens.
    app_state = SCREEN_TITLE;
    tap(SDLK_p);
    EXPECT_EQ(app_paused, 0);
}

TEST_F(Screens, EscapeLeavesAPausedGameAndTheNextGameRunsUnpaused) {
    start_game();
    tap(SDLK_p);
    frame(4);
    tap(SDLK_ESCAPE);
    EXPECT_EQ(app_state, SCREEN_TITLE);
    EXPECT_EQ(app_paused, 0);
    EXPECT_EQ(app_frame, 0);
    EXPECT_EQ(app_session.quit, 0);
    start_game();
    EXPECT_EQ(app_paused, 0);
    int32_t timer = game_state.phase_timer;
    frame();
    EXPECT_EQ(game_state.phase_timer, timer + 1);
}

TEST_F(Screens, EscapeOnTheTitleQuitsAfterTheFrame) {
    tap(SDLK_ESCAPE);
    EXPECT_EQ(app_session.quit, 1);
    EXPECT_EQ(app_state, SCREEN_TITLE);
    SDL_Event e;
    SDL_zero(e);
    e.type = SDL_QUIT;
    app_session.quit = 0;
    app_state = SCREEN_PLAYING;
    send(e);
    EXPECT_EQ(app_session.quit, 1);
    EXPECT_EQ(app_state, SCREEN_PLAYING);
}

TEST_F(Screens, GameOverEndsAfter201TicksOrOnConfirmFrom31) {
    end_phase(PHASE_GAME_OVER, 0, 0);
    EXPECT_EQ(ticks_until_screen_changes(400), 201);
    EXPECT_EQ(app_state, SCREEN_TITLE);  // 0 points beat no row
    EXPECT_EQ(app_frame, 0);
    EXPECT_EQ(app_new_record_slot, -1);

    // Enter at 30 does nothing and is not remembered; at 31 it ends the game.
    end_phase(PHASE_GAME_OVER, 29, 0);
    tap(SDLK_RETURN);
    frame();
    EXPECT_EQ(game_state.phase_timer, 30);
    frame();
    EXPECT_EQ(app_state, SCREEN_PLAYING);
    tap(SDLK_RETURN);
    frame();
    EXPECT_EQ(app_state, SCREEN_TITLE);
    EXPECT_EQ(game_state.phase_timer, 32);

    // The action keys do not shorten it.
    end_phase(PHASE_GAME_OVER, 100, 0);
    tap(SDLK_SPACE);
    frame();
    EXPECT_EQ(app_state, SCREEN_PLAYING);
}

TEST_F(Screens, OnlyTheFirstTickOfAFrameSeesTheConfirm) {
    end_phase(PHASE_GAME_OVER, 29, 0);
    tap(SDLK_RETURN);
    frame(2);  // ticks at 30 (with the confirm) and 31 (without)
    EXPECT_EQ(app_state, SCREEN_PLAYING);
    EXPECT_EQ(game_state.phase_timer, 31);
}

TEST_F(Screens, VictoryEndsAfter1201TicksOrOnConfirmFrom121) {
    end_phase(PHASE_VICTORY, 0, 0);
    EXPECT_EQ(ticks_until_screen_changes(1300), 1201);
    end_phase(PHASE_VICTORY, 119, 0);
    tap(SDLK_RETURN);
    frame();
    EXPECT_EQ(app_state, SCREEN_PLAYING);
    tap(SDLK_KP_ENTER);
    frame();
    EXPECT_EQ(app_state, SCREEN_TITLE);
    EXPECT_EQ(game_state.phase_timer, 121);
}

TEST_F(Screens, PauseHoldsTheGameOverPhase) {
    end_phase(PHASE_GAME_OVER, 190, 0);
    tap(SDLK_p);
    for (int i = 0; i < 50; i++) frame();
    EXPECT_EQ(app_state, SCREEN_PLAYING);
    EXPECT_EQ(game_state.phase_timer, 190);
    tap(SDLK_p);
    EXPECT_EQ(ticks_until_screen_changes(20), 201);
}

TEST_F(Screens, ScoreMustBeatARowToEnterTheTable) {
    end_phase(PHASE_GAME_OVER, 300, 1500);
    frame();
    EXPECT_EQ(app_state, SCREEN_TITLE);
    EXPECT_EQ(app_new_record_slot, -1);

    std::snprintf(app_name_buf, sizeof app_name_buf, "old");
    end_phase(PHASE_GAME_OVER, 300, 1501);
    frame();
    EXPECT_EQ(app_state, SCREEN_NAME_ENTRY);
    EXPECT_EQ(app_new_record_slot, 9);
    EXPECT_STREQ(app_name_buf, "");
    EXPECT_TRUE(SDL_IsTextInputActive());

    app_state = SCREEN_TITLE;
    end_phase(PHASE_VICTORY, 1300, 15001);
    frame();
    EXPECT_EQ(app_state, SCREEN_NAME_ENTRY);
    EXPECT_EQ(app_new_record_slot, 0);

    // Negative scores in a table read from a file are beaten by 0 (signed comparison).
    for (HighScoreEntry &row : app_high_scores) row.score = -1;
    app_state = SCREEN_TITLE;
    end_phase(PHASE_GAME_OVER, 300, 0);
    frame();
    EXPECT_EQ(app_new_record_slot, 0);
}

TEST_F(Screens, EscapeDuringTheEndPhaseSkipsTheNameEntry) {
    end_phase(PHASE_GAME_OVER, 100, 90000);
    tap(SDLK_ESCAPE);
    EXPECT_EQ(app_state, SCREEN_TITLE);
    frame();
    EXPECT_EQ(app_state, SCREEN_TITLE);
    EXPECT_EQ(app_high_scores[0].score, 15000);
}

TEST_F(Screens, NameIsTypedAndCommittedWithEnter) {
    TempDir dir;
    std::snprintf(app_records_path, sizeof app_records_path, "%s", (dir / "rekorder.txt").c_str());
    end_phase(PHASE_VICTORY, 1300, 4600);
    game_state.level = 14;
    frame();
    ASSERT_EQ(app_state, SCREEN_NAME_ENTRY);
    ASSERT_EQ(app_new_record_slot, 7);
    // Letters arrive as text; the command letters act only as text here.
    int32_t music = app_music_on;
    for (const char *s : {"p", "l", "m", "æ"}) {
        down((SDL_Keycode)(unsigned char)s[0]);
        text(s);
        up((SDL_Keycode)(unsigned char)s[0]);
    }
    EXPECT_EQ(app_music_on, music);
    EXPECT_EQ(app_paused, 0);
    EXPECT_EQ(lang_get(), 5);
    EXPECT_STREQ(app_name_buf, "plmæ");
    frame(3);
    EXPECT_EQ(app_state, SCREEN_NAME_ENTRY);
    tap(SDLK_RETURN);
    frame();
    EXPECT_EQ(app_state, SCREEN_TITLE);
    EXPECT_EQ(app_frame, 420);
    EXPECT_FALSE(SDL_IsTextInputActive());
    EXPECT_STREQ(app_high_scores[7].name, "plmæ");
    EXPECT_EQ(app_high_scores[7].score, 4600);
    EXPECT_EQ(app_high_scores[7].level, 15);
    EXPECT_STREQ(app_high_scores[8].name, "Gækkebrevet");
    std::string file = testutil::read_file(dir / "rekorder.txt");
    EXPECT_NE(file.find("4600 15 plmæ\n4500 4 Gækkebrevet\n"), std::string::npos) << file;
    // Text after the name entry is ignored.
    text("Q");
    EXPECT_STREQ(app_high_scores[7].name, "plmæ");
}

TEST_F(Screens, EscapeRecordsTheDefaultNameAtOnce) {
    end_phase(PHASE_GAME_OVER, 300, 2000);
    frame();
    ASSERT_EQ(app_state, SCREEN_NAME_ENTRY);
    tap(SDLK_ESCAPE);
    EXPECT_EQ(app_state, SCREEN_TITLE);
    EXPECT_EQ(app_session.quit, 0);
    EXPECT_EQ(app_new_record_slot, 9);
    EXPECT_STREQ(app_high_scores[9].name, "Plimby");
    EXPECT_EQ(app_high_scores[9].score, 2000);
}

TEST_F(Screens, NameKeepsAtMostElevenBytesAndDropsWholeTexts) {
    app_state = SCREEN_NAME_ENTRY;
    for (int i = 0; i < 12; i++) text("a");
    EXPECT_STREQ(app_name_buf, "aaaaaaaaaaa");

    app_name_buf[0] = '\0';
    text("Æ");
    text("Ø");
    text("Å");
    for (int i = 0; i < 6; i++) text("b");
    EXPECT_STREQ(app_name_buf, "ÆØÅbbbbb");

    // A text that does not fit is dropped whole, not cut.
    std::snprintf(app_name_buf, sizeof app_name_buf, "12345678");
    text("😀");
    EXPECT_STREQ(app_name_buf, "12345678");
    text("abcd");
    EXPECT_STREQ(app_name_buf, "12345678");
    text("abc");
    EXPECT_STREQ(app_name_buf, "12345678abc");

    // Texts no keyboard gives: control characters would break the record file's lines,
    // and a text without its terminator is not read past the event.
    app_name_buf[0] = '\0';
    text("a\nb");
    text("\t");
    text("\x7f");
    EXPECT_STREQ(app_name_buf, "");
    SDL_Event e;
    std::memset(&e, 'x', sizeof e);
    e.type = SDL_TEXTINPUT;
    send(e);
    EXPECT_STREQ(app_name_buf, "");
    text("");
    EXPECT_STREQ(app_name_buf, "");
}

TEST_F(Screens, BackspaceErasesWholeCharacters) {
    app_state = SCREEN_NAME_ENTRY;
    text("A");
    text("æ");
    tap(SDLK_BACKSPACE);
    EXPECT_STREQ(app_name_buf, "A");
    text("中");
    text("😀");
    tap(SDLK_BACKSPACE);
    EXPECT_STREQ(app_name_buf, "A中");
    tap(SDLK_BACKSPACE);
    tap(SDLK_BACKSPACE);
    EXPECT_STREQ(app_name_buf, "");
    tap(SDLK_BACKSPACE);
    EXPECT_STREQ(app_name_buf, "");
    // Holding Backspace erases one character: repeats do nothing.
    text("xyz");
    down(SDLK_BACKSPACE);
    repeat(SDLK_BACKSPACE);
    repeat(SDLK_BACKSPACE);
    up(SDLK_BACKSPACE);
    EXPECT_STREQ(app_name_buf, "xy");
    // Bytes that are no UTF-8: a stray lead byte goes alone; continuation bytes with
    // no lead before them stay.
    std::snprintf(app_name_buf, sizeof app_name_buf, "a\xC3");
    tap(SDLK_BACKSPACE);
    EXPECT_STREQ(app_name_buf, "a");
    std::snprintf(app_name_buf, sizeof app_name_buf, "\x80\x80");
    tap(SDLK_BACKSPACE);
    EXPECT_STREQ(app_name_buf, "\x80\x80");
    // Backspace on the other screens leaves the name alone.
    std::snprintf(app_name_buf, sizeof app_name_buf, "kept");
    app_state = SCREEN_TITLE;
    tap(SDLK_BACKSPACE);
    EXPECT_STREQ(app_name_buf, "kept");
}

TEST_F(Screens, LanguageKeyStepsWrapsAndSavesTheChoice) {
    TempDir dir;
    std::string settings = dir / "indstillinger.txt";
    testutil::write_file(settings, "sprog da\nsomething else\n");
    std::snprintf(app_settings_path, sizeof app_settings_path, "%s", settings.c_str());

    app_frame = 1000;
    tap(SDLK_l);
    EXPECT_EQ(lang_get(), 6);
    EXPECT_EQ(app_frame, 960);
    EXPECT_EQ(testutil::read_file(settings), std::string("sprog ") + lang_code(6) + "\n");

    lang_set(0);
    app_frame = 479;
    tap(SDLK_l, KMOD_RSHIFT);
    EXPECT_EQ(lang_get(), 31);
    EXPECT_EQ(app_frame, 0);
    EXPECT_EQ(testutil::read_file(settings), std::string("sprog ") + lang_code(31) + "\n");
    tap(SDLK_l);
    EXPECT_EQ(lang_get(), 0);
    tap(SDLK_l, KMOD_LSHIFT);
    EXPECT_EQ(lang_get(), 31);
    // Nothing but the file itself is left in its folder.
    EXPECT_EQ(testutil::list_dir(dir.path()), std::vector<std::string>{"indstillinger.txt"});

    // Only on the title screen.
    app_state = SCREEN_PLAYING;
    app_paused = 1;
    tap(SDLK_l);
    EXPECT_EQ(lang_get(), 31);
}

TEST_F(Screens, LanguageKeyWithoutAWritableFileStillChangesTheLanguage) {
    TempDir dir;
    std::snprintf(app_settings_path, sizeof app_settings_path, "%s", (dir / "missing/indstillinger.txt").c_str());
    tap(SDLK_l);
    EXPECT_EQ(lang_get(), 6);
    EXPECT_TRUE(testutil::list_dir(dir.path()).empty());
    app_settings_path[0] = '\0';
    tap(SDLK_l);
    EXPECT_EQ(lang_get(), 7);
}

TEST_F(Screens, MusicKeyTogglesOnTitleAndPlayingOnly) {
    snd_set_volumes(80, 100);
    tap(SDLK_m);
    EXPECT_EQ(app_music_on, 0);
    EXPECT_EQ(snd_music_volume, 0.0f);
    EXPECT_EQ(snd_effect_volume, 1.0f);
    start_game();
    tap(SDLK_m);
    EXPECT_EQ(app_music_on, 1);
    EXPECT_EQ(snd_music_volume, 0.8f);
    down(SDLK_m);
    send(key_event(SDL_KEYDOWN, SDLK_m, KMOD_NONE, 1));
    EXPECT_EQ(app_music_on, 0);
    app_state = SCREEN_NAME_ENTRY;
    tap(SDLK_m);
    EXPECT_EQ(app_music_on, 0);
    EXPECT_EQ(snd_music_volume, 0.0f);
    snd_set_volumes(80, 100);
}

TEST_F(Screens, TitleMusicReturnsOnlyWhileTheMusicIsOn) {
    snd_set_volumes(80, 100);
    snd_set_music(MUSIC_TITLE);
    start_game();
    EXPECT_EQ(snd_music_piece, MUSIC_LEVEL_A);
    // Off while playing: the level piece plays on, silent, also back on the title.
    tap(SDLK_m);
    tap(SDLK_ESCAPE);
    EXPECT_EQ(snd_music_piece, MUSIC_LEVEL_A);
    tap(SDLK_m);  // only the volume comes back
    EXPECT_EQ(snd_music_piece, MUSIC_LEVEL_A);
    EXPECT_EQ(snd_music_volume, 0.8f);
    start_game();
    tap(SDLK_ESCAPE);
    EXPECT_EQ(snd_music_piece, MUSIC_TITLE);
    // The end of a game without a record starts the title music too, but only when on.
    end_phase(PHASE_GAME_OVER, 300, 0);
    snd_set_music(MUSIC_STOP);
    frame();
    EXPECT_EQ(snd_music_piece, MUSIC_TITLE);
    end_phase(PHASE_GAME_OVER, 300, 0);
    tap(SDLK_m);
    snd_set_music(MUSIC_STOP);
    frame();
    EXPECT_EQ(app_state, SCREEN_TITLE);
    EXPECT_EQ(snd_music_piece, -1);
    tap(SDLK_m);
}

TEST_F(Screens, StartingAGameAndChangingTheLanguageSoundTheMenuEffect) {
    auto menu_slots = [] {
        int n = 0;
        for (const EffectSlot &slot : snd_effect_slots) n += slot.def == &snd_effects[SFX_MENU];
        return n;
    };
    std::memset(snd_effect_slots, 0, sizeof snd_effect_slots);
    tap(SDLK_l);
    EXPECT_EQ(menu_slots(), 1);
    start_game();
    EXPECT_EQ(menu_slots(), 2);
    tap(SDLK_ESCAPE);
    EXPECT_EQ(menu_slots(), 2);
}

TEST_F(Screens, FullscreenKeysFlipTheFlagOnEveryScreen) {
    for (int32_t screen : {SCREEN_TITLE, SCREEN_PLAYING, SCREEN_NAME_ENTRY}) {
        app_state = screen;
        app_session.fullscreen = 0;
        tap(SDLK_F11);
        EXPECT_EQ(app_session.fullscreen, 1) << screen;
        tap(SDLK_RETURN, KMOD_LALT);
        EXPECT_EQ(app_session.fullscreen, 0) << screen;
        tap(SDLK_KP_ENTER, KMOD_RALT);
        EXPECT_EQ(app_session.fullscreen, 1) << screen;
        EXPECT_EQ(app_input.confirm, 0) << screen;
        EXPECT_EQ(app_state, screen);
    }
}
