// Kestrune: the way out of the name-entry screen. The finished game takes its row, the
// table is saved, and the title screen opens on its high-score page.
#include <SDL.h>

#include <cstring>

#include "app/app.h"
#include "sound/snd.h"

void app_commit_high_score() {
    SDL_StopTextInput();
    // The end-of-game test only opens the name entry with a row to take; anything else
    // leaves the table alone and still goes back to the title.
    if (app_new_record_slot >= 0 && app_new_record_slot <= 9) {
        HighScoreEntry row;
        // A name of blanks only was saved as a row the file cannot give back: blanks
        // around the name go (the no-break and ideographic spaces as well as ASCII
        // ones), and a name with nothing else takes the default, like none.
        size_t n = strnlen(app_name_buf, sizeof app_name_buf);
        const char *name = app_trim_blanks(app_name_buf, &n);
        if (n == 0) {
            name = "Plimby";
            n = std::strlen(name);
        }
        n = app_utf8_cut(name, n, 15);
        std::memset(row.name, 0, sizeof row.name);
        std::memcpy(row.name, name, n);
        row.score = game_state.score;
        row.level = (int32_t)((uint32_t)game_state.level + 1u);
        // Into the file as it stands now, which also takes the row by its score.
        app_save_high_score(&row);
    }
    app_state = SCREEN_TITLE;
    app_frame = 420;
    if (app_music_on) snd_set_music(MUSIC_TITLE);
}
