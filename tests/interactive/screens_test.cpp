// Kestrune tests: the screens of the interactive game. Starting, pausing, leaving and
// ending a game, the name entry, the language key with its settings file, and the
// music and fullscreen keys.
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
        app_state = SCREEN_TITLE;
        start_game();
        game_state.phase = phase;
        game_state.phase_timer = timer;
        game_state.score = score;
    }
    // Single-tick frames until the screen changes; the phase timer then, or -1.
    int32_t ticks_until_screen_changes(int limit) {
        int32_t screen = app_state;
        for (int i = 0; i < limit; i++) {
            frame();
            if (app_state != screen) return game_state.phase_timer;
        }
        return -1;
    }
    int menu_effects() {
        int n = 0;
        for (const EffectSlot &slot : snd_effect_slots) n += slot.def == &snd_effects[SFX_MENU];
        return n;
    }
};

}  // namespace

TEST_F(Screens, TitleStartsAGameOnConfirmOrActionAOnly) {
    app_options.start_level = 6;
    std::memset(snd_effect_slots, 0, sizeof snd_effect_slots);
    for (SDL_Keycode k : {SDLK_k, SDLK_z, SDLK_LSHIFT, SDLK_w, SDLK_RSHIFT}) {
        tap(k);
        frame();
        EXPECT_EQ(app_state, SCREEN_TITLE) << k;
    }
    EXPECT_EQ(menu_effects(), 0);
    for (SDL_Keycode k : {SDLK_SPACE, SDLK_j, SDLK_x, SDLK_LCTRL, SDLK_RETURN, SDLK_KP_ENTER}) {
        app_state = SCREEN_TITLE;
        app_paused = 1;
        app_frame = 77;
        std::memset(snd_effect_slots, 0, sizeof snd_effect_slots);
        tap(k);
        frame();
        EXPECT_EQ(app_state, SCREEN_PLAYING) << k;
        EXPECT_EQ(menu_effects(), 1) << k;
        EXPECT_EQ(app_paused, 0) << k;
        EXPECT_EQ(game_state.level, 6) << k;
        EXPECT_EQ(game_state.phase, PHASE_INTRO) << k;
        EXPECT_EQ(app_frame, 78) << k;  // the screen clock goes on counting
        frame();
    }
    // Held on into the game, the action is no new press: the intro ends by time only.
    app_state = SCREEN_TITLE;
    down(SDLK_SPACE);
    frame();
    for (int i = 0; i < 60; i++) frame();
    EXPECT_EQ(game_state.phase, PHASE_INTRO);
    up(SDLK_SPACE);
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
    int32_t clock = app_frame;
    frame(5);
    tap(SDLK_RETURN);  // no effect while paused, and not kept for later
    frame();
    EXPECT_EQ(game_state.phase_timer, timer);
    EXPECT_EQ(app_frame, clock + 6);
    tap(SDLK_p);
    frame();
    EXPECT_EQ(game_state.phase_timer, timer + 1);
    EXPECT_EQ(app_state, SCREEN_PLAYING);
    // Escape leaves a paused game, and the next game starts unpaused.
    tap(SDLK_p);
    tap(SDLK_ESCAPE);
    EXPECT_EQ(app_state, SCREEN_TITLE);
    EXPECT_EQ(app_paused, 0);
    EXPECT_EQ(app_frame, 0);
    EXPECT_EQ(app_session.quit, 0);
    tap(SDLK_p);  // P does nothing on the title
    EXPECT_EQ(app_paused, 0);
    // A pause holds the game-over phase too.
    end_phase(PHASE_GAME_OVER, 190, 0);
    tap(SDLK_p);
    for (int i = 0; i < 50; i++) frame();
    EXPECT_EQ(game_state.phase_timer, 190);
    tap(SDLK_p);
    EXPECT_EQ(ticks_until_screen_changes(20), 201);
}

TEST_F(Screens, QuitComesFromEscapeOnTheTitleOrTheWindow) {
    tap(SDLK_ESCAPE);
    EXPECT_EQ(app_session.quit, 1);
    SDL_Event e;
    SDL_zero(e);
    e.type = SDL_QUIT;
    app_session.quit = 0;
    app_state = SCREEN_PLAYING;
    send(e);
    EXPECT_EQ(app_session.quit, 1);
    EXPECT_EQ(app_state, SCREEN_PLAYING);
}

TEST_F(Screens, QuitOnTheNameEntryKeepsTheRow) {
    // Closing the window (or SIGTERM, SIGINT) on the name entry ended the game without
    // the row: a quit there commits the name typed so far, as Enter does.
    TempDir dir;
    std::snprintf(app_records_path, sizeof app_records_path, "%s", (dir / "rekorder.txt").c_str());
    end_phase(PHASE_GAME_OVER, 300, 7777);
    game_state.level = 4;
    frame();
    ASSERT_EQ(app_state, SCREEN_NAME_ENTRY);
    text("Z");
    text("e");
    text("d");
    SDL_Event e;
    SDL_zero(e);
    e.type = SDL_QUIT;
    send(e);
    EXPECT_EQ(app_session.quit, 1);
    EXPECT_EQ(app_state, SCREEN_TITLE);
    EXPECT_FALSE(SDL_IsTextInputActive());
    EXPECT_STREQ(app_high_scores[5].name, "Zed");
    EXPECT_EQ(app_high_scores[5].score, 7777);
    EXPECT_EQ(app_high_scores[5].level, 5);
    std::string file = testutil::read_file(dir / "rekorder.txt");
    EXPECT_NE(file.find("9000 7 Hanen\n7777 5 Zed\n7500 6 Guldægget\n"), std::string::npos) << file;
    // A second quit in the same frame finds the title and changes nothing.
    send(e);
    EXPECT_STREQ(app_high_scores[6].name, "Guldægget");
    app_records_path[0] = '\0';
}

TEST_F(Screens, QuitInTheGameOverOrVictoryPhaseKeepsTheEarnedRow) {
    // Closing the window (or SIGTERM, SIGINT) while the game-over or victory panel stood
    // ended a game without the row its score had earned: it is stored under the default
    // name, as a name entry left without typing would.
    TempDir dir;
    const std::string file = dir / "rekorder.txt";
    std::snprintf(app_records_path, sizeof app_records_path, "%s", file.c_str());
    struct Case {
        int32_t phase;
        bool paused;
        int32_t score, level, row;
        const char *lines;  // the new row and the one after it, in the file
    } cases[] = {
        {PHASE_GAME_OVER, false, 7777, 3, 5, "7777 4 Plimby\n7500 6 Guldægget\n"},
        {PHASE_GAME_OVER, true, 1501, 0, 9, "3000 3 Rugeægget\n1501 1 Plimby\n"},
        {PHASE_VICTORY, false, 15001, 14, 0, "15001 15 Plimby\n15000 11 Plimby\n"},
        {PHASE_VICTORY, true, 4600, 14, 7, "4600 15 Plimby\n4500 4 Gækkebrevet\n"},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(testing::Message() << "phase " << c.phase << (c.paused ? " paused" : "") << " score " << c.score);
        app_fill_default_high_scores();
        std::remove(file.c_str());
        end_phase(c.phase, 20, c.score);
        game_state.level = c.level;
        std::snprintf(app_name_buf, sizeof app_name_buf, "old");
        if (c.paused) tap(SDLK_p);
        frame();
        ASSERT_EQ(app_state, SCREEN_PLAYING);
        SDL_Event e;
        SDL_zero(e);
        e.type = SDL_QUIT;
        send(e);
        EXPECT_EQ(app_session.quit, 1);
        EXPECT_EQ(app_state, SCREEN_TITLE);
        EXPECT_EQ(app_paused, 0);
        EXPECT_FALSE(SDL_IsTextInputActive());
        EXPECT_STREQ(app_high_scores[c.row].name, "Plimby");
        EXPECT_EQ(app_high_scores[c.row].score, c.score);
        EXPECT_EQ(app_high_scores[c.row].level, c.level + 1);
        EXPECT_EQ(app_high_scores[9].score, c.row == 9 ? c.score : 3000);  // one row fell off
        std::string saved = testutil::read_file(file);
        EXPECT_NE(saved.find(c.lines), std::string::npos) << saved;
        // The rest of the frame is on the title: a second quit changes nothing.
        send(e);
        EXPECT_EQ(testutil::read_file(file), saved);
        app_session.quit = 0;
    }
    app_records_path[0] = '\0';
}

TEST_F(Screens, QuitOrEscapeWithoutAnEarnedRowStoresNothing) {
    TempDir dir;
    const std::string file = dir / "rekorder.txt";
    std::snprintf(app_records_path, sizeof app_records_path, "%s", file.c_str());
    SDL_Event quit;
    SDL_zero(quit);
    quit.type = SDL_QUIT;
    // A score that beats no row, in either end phase.
    for (int32_t phase : {PHASE_GAME_OVER, PHASE_VICTORY}) {
        end_phase(phase, 20, 1500);
        frame();
        send(quit);
        EXPECT_EQ(app_session.quit, 1) << phase;
        app_session.quit = 0;
    }
    // A game that is still going: a quit drops it, whatever its score.
    for (int32_t phase : {PHASE_INTRO, PHASE_PLAYING, PHASE_LEVEL_COMPLETE}) {
        end_phase(phase, 20, 90000);
        send(quit);
        EXPECT_EQ(app_session.quit, 1) << phase;
        EXPECT_EQ(app_state, SCREEN_PLAYING) << phase;
        app_session.quit = 0;
    }
    // Escape in the game-over phase goes to the title without a row; a quit there after
    // it finds nothing to store.
    end_phase(PHASE_GAME_OVER, 20, 90000);
    frame();
    tap(SDLK_ESCAPE);
    EXPECT_EQ(app_state, SCREEN_TITLE);
    send(quit);
    EXPECT_EQ(app_session.quit, 1);
    for (int i = 0; i < 10; i++) EXPECT_NE(app_high_scores[i].score, 90000) << i;
    EXPECT_EQ(app_high_scores[0].score, 15000);
    EXPECT_EQ(app_high_scores[9].score, 1500);
    EXPECT_FALSE(testutil::exists(file));
    app_records_path[0] = '\0';
}

TEST_F(Screens, EndPhasesLastTheirTimeOrEndOnAConfirm) {
    end_phase(PHASE_GAME_OVER, 0, 0);
    EXPECT_EQ(ticks_until_screen_changes(400), 201);
    EXPECT_EQ(app_state, SCREEN_TITLE);  // 0 points beat no row
    EXPECT_EQ(app_frame, 0);
    EXPECT_EQ(app_new_record_slot, -1);
    end_phase(PHASE_VICTORY, 0, 0);
    EXPECT_EQ(ticks_until_screen_changes(1300), 1201);

    // Enter at 30 does nothing and is not remembered; at 31 it ends the game.
    end_phase(PHASE_GAME_OVER, 29, 0);
    tap(SDLK_RETURN);
    frame(2);  // only the first of the frame's ticks sees the confirm
    EXPECT_EQ(app_state, SCREEN_PLAYING);
    tap(SDLK_RETURN);
    frame();
    EXPECT_EQ(app_state, SCREEN_TITLE);
    EXPECT_EQ(game_state.phase_timer, 32);
    end_phase(PHASE_VICTORY, 119, 0);
    tap(SDLK_RETURN);
    frame();
    EXPECT_EQ(app_state, SCREEN_PLAYING);
    tap(SDLK_KP_ENTER);
    frame();
    EXPECT_EQ(game_state.phase_timer, 121);
    EXPECT_EQ(app_state, SCREEN_TITLE);

    // The action keys do not shorten it; Escape drops the game even with a record.
    end_phase(PHASE_GAME_OVER, 100, 90000);
    tap(SDLK_SPACE);
    frame();
    EXPECT_EQ(app_state, SCREEN_PLAYING);
    tap(SDLK_ESCAPE);
    frame();
    EXPECT_EQ(app_state, SCREEN_TITLE);
    EXPECT_EQ(app_high_scores[0].score, 15000);
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
    // Escape records the row at once, under the default name.
    tap(SDLK_ESCAPE);
    EXPECT_EQ(app_state, SCREEN_TITLE);
    EXPECT_EQ(app_session.quit, 0);
    EXPECT_STREQ(app_high_scores[9].name, "Plimby");
    EXPECT_EQ(app_high_scores[9].score, 1501);

    end_phase(PHASE_VICTORY, 1300, 15001);
    frame();
    EXPECT_EQ(app_new_record_slot, 0);
    // Scores below zero in a table read from a file are beaten by 0.
    for (HighScoreEntry &row : app_high_scores) row.score = -1;
    end_phase(PHASE_GAME_OVER, 300, 0);
    frame();
    EXPECT_EQ(app_new_record_slot, 0);
}

TEST_F(Screens, NameIsTypedAndCommittedWithEnter) {
    TempDir dir;
    std::snprintf(app_records_path, sizeof app_records_path, "%s", (dir / "rekorder.txt").c_str());
    end_phase(PHASE_VICTORY, 1300, 4600);
    game_state.level = 14;
    frame();
    ASSERT_EQ(app_new_record_slot, 7);
    // Letters arrive as text; the command letters act only as text here.
    for (const char *s : {"p", "l", "m", "æ"}) {
        down((SDL_Keycode)(unsigned char)s[0]);
        text(s);
        up((SDL_Keycode)(unsigned char)s[0]);
    }
    EXPECT_EQ(app_music_on, 1);
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
    EXPECT_EQ(app_high_scores[7].level, 15);
    std::string file = testutil::read_file(dir / "rekorder.txt");
    EXPECT_NE(file.find("4600 15 plmæ\n4500 4 Gækkebrevet\n"), std::string::npos) << file;
    text("Q");  // text on the title is ignored
    EXPECT_STREQ(app_name_buf, "plmæ");
}

TEST_F(Screens, NameKeepsAtMostElevenBytesAndDropsWholeTexts) {
    app_state = SCREEN_NAME_ENTRY;
    for (int i = 0; i < 12; i++) text("a");
    EXPECT_STREQ(app_name_buf, "aaaaaaaaaaa");
    app_name_buf[0] = '\0';
    for (const char *s : {"Æ", "Ø", "Å", "b", "b", "b", "b", "b", "b"}) text(s);
    EXPECT_STREQ(app_name_buf, "ÆØÅbbbbb");
    // A text that does not fit is dropped whole, not cut.
    std::snprintf(app_name_buf, sizeof app_name_buf, "12345678");
    text("😀");
    text("abcd");
    EXPECT_STREQ(app_name_buf, "12345678");
    text("abc");
    EXPECT_STREQ(app_name_buf, "12345678abc");
    // Texts no keyboard gives: control characters would break the record file's lines,
    // and a text without its terminator is not read past the event.
    app_name_buf[0] = '\0';
    for (const char *s : {"a\nb", "\t", "\x7f", ""}) text(s);
    text("0123456789abcdef0123456789abcdef");
    EXPECT_STREQ(app_name_buf, "");
}

TEST_F(Screens, BackspaceErasesWholeCharacters) {
    app_state = SCREEN_NAME_ENTRY;
    for (const char *s : {"A", "æ"}) text(s);
    tap(SDLK_BACKSPACE);
    EXPECT_STREQ(app_name_buf, "A");
    for (const char *s : {"中", "😀"}) text(s);
    tap(SDLK_BACKSPACE);
    EXPECT_STREQ(app_name_buf, "A中");
    for (int i = 0; i < 3; i++) tap(SDLK_BACKSPACE);
    EXPECT_STREQ(app_name_buf, "");
    // Holding Backspace erases one character: repeats do nothing.
    text("xyz");
    down(SDLK_BACKSPACE);
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
    // Not on the other screens.
    app_state = SCREEN_TITLE;
    tap(SDLK_BACKSPACE);
    EXPECT_STREQ(app_name_buf, "\x80\x80");
}

TEST_F(Screens, LanguageKeyStepsWrapsAndSavesTheChoice) {
    TempDir dir;
    std::string settings = dir / "indstillinger.txt";
    testutil::write_file(settings, "sprog da\nsomething else\n");
    std::snprintf(app_settings_path, sizeof app_settings_path, "%s", settings.c_str());
    std::memset(snd_effect_slots, 0, sizeof snd_effect_slots);

    app_frame = 1000;
    tap(SDLK_l);
    EXPECT_EQ(lang_get(), 6);
    EXPECT_EQ(app_frame, 960);
    EXPECT_EQ(menu_effects(), 1);
    EXPECT_EQ(testutil::read_file(settings), std::string("sprog ") + lang_code(6) + "\n");
    lang_set(0);
    app_frame = 479;
    tap(SDLK_l, KMOD_RSHIFT);
    EXPECT_EQ(lang_get(), 31);
    EXPECT_EQ(app_frame, 0);
    EXPECT_EQ(testutil::read_file(settings), std::string("sprog ") + lang_code(31) + "\n");
    tap(SDLK_l);
    EXPECT_EQ(lang_get(), 0);
    // The file is replaced whole: nothing else is left in its folder.
    EXPECT_EQ(testutil::list_dir(dir.path()), std::vector<std::string>{"indstillinger.txt"});
    // Without a writable file the language still changes.
    std::snprintf(app_settings_path, sizeof app_settings_path, "%s", (dir / "none/indstillinger.txt").c_str());
    tap(SDLK_l);
    EXPECT_EQ(lang_get(), 1);
    app_settings_path[0] = '\0';
    tap(SDLK_l);
    EXPECT_EQ(lang_get(), 2);
    // Only on the title screen.
    app_state = SCREEN_PLAYING;
    app_paused = 1;
    tap(SDLK_l);
    EXPECT_EQ(lang_get(), 2);
}

TEST_F(Screens, MusicKeySetsTheVolumeAndTheTitleMusicFollowsIt) {
    snd_set_volumes(80, 100);
    snd_set_music(MUSIC_TITLE);
    start_game();
    EXPECT_EQ(snd_music_piece, MUSIC_LEVEL_A);
    // Off while playing: the level piece plays on, silent, also back on the title.
    tap(SDLK_m);
    EXPECT_EQ(app_music_on, 0);
    EXPECT_EQ(snd_music_volume, 0.0f);
    EXPECT_EQ(snd_effect_volume, 1.0f);
    tap(SDLK_ESCAPE);
    EXPECT_EQ(snd_music_piece, MUSIC_LEVEL_A);
    end_phase(PHASE_GAME_OVER, 300, 0);
    snd_set_music(MUSIC_STOP);
    frame();
    EXPECT_EQ(app_state, SCREEN_TITLE);
    EXPECT_EQ(snd_music_piece, MUSIC_STOP);
    // On again on the title: only the volume comes back; a repeat does nothing.
    down(SDLK_m);
    repeat(SDLK_m);
    EXPECT_EQ(app_music_on, 1);
    EXPECT_EQ(snd_music_volume, 0.8f);
    EXPECT_EQ(snd_music_piece, MUSIC_STOP);
    start_game();
    tap(SDLK_ESCAPE);
    EXPECT_EQ(snd_music_piece, MUSIC_TITLE);
    end_phase(PHASE_GAME_OVER, 300, 0);
    snd_set_music(MUSIC_STOP);
    frame();
    EXPECT_EQ(snd_music_piece, MUSIC_TITLE);
    // On the name entry M is a letter.
    app_state = SCREEN_NAME_ENTRY;
    tap(SDLK_m);
    EXPECT_EQ(app_music_on, 1);
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
