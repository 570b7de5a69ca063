// Kestrune: the way out of the name-entry screen. The finished game takes its row, the
// table is saved, and the title screen opens on its high-score page.
#include <SDL.h>

#include <cctype>
#include <cstring>

#include "app/app.h"
#include "sound/snd.h"

void app_commit_high_score() {
    SDL_StopTextInput();
    int32_t s = app_new_record_slot;
    // The end-of-game test only opens the name entry with a row to take; anything else
    // leaves the table alone and still goes back to the title.
    if (s >= 0 && s <= 9) {
        for (int i = 8; i >= s; i--) app_high_scores[i + 1] = app_high_scores[i];
        HighScoreEntry &row = app_high_scores[s];
        // A name of blanks only was saved as a row the file cannot give back: blanks
        // around the name go, and a name with nothing else takes the default, like none.
        const char *name = app_name_buf;
        size_t n = strnlen(name, sizeof app_name_buf);
        while (n > 0 && std::isspace((unsigned char)name[0])) {
            name++;
            n--;
        }
        while (n > 0 && std::isspace((unsigned char)name[n - 1])) n--;
        if (n == 0) {
            name = "Plimby";
            n = std::strlen(name);
        }
        if (n > 15) n = 15;
        std::memset(row.name, 0, sizeof row.name);
        std::memcpy(row.name, name, n);
        row.score = game_state.score;
        row.level = (int32_t)((uint32_t)game_state.level + 1u);
        app_write_high_scores();
    }
    app_state = SCREEN_TITLE;
    app_frame = 420;
    if (app_music_on) snd_set_music(MUSIC_TITLE);
}
