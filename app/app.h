// Kestrune: the application shell's contract: the globals the painters read, and the
// shell's entry points that tests and other subsystems use.
#pragma once
#include <cstdint>

#include "game/game.h"

// One row of the high-score table.
struct HighScoreEntry {
    char name[16];  // at most 15 bytes of UTF-8, NUL-terminated
    int32_t score;
    int32_t level;  // counted from 1
};

enum AppScreen { SCREEN_TITLE = 0, SCREEN_PLAYING = 1, SCREEN_NAME_ENTRY = 2 };

extern int32_t app_frame;
extern int32_t app_paused;
extern int32_t app_state;
extern HighScoreEntry app_high_scores[10];
