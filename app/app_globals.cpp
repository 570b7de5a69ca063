// Kestrune: the shell's globals that the painters read.
#include "app/app.h"

int32_t app_frame = 0;
int32_t app_paused = 0;
int32_t app_state = SCREEN_TITLE;
HighScoreEntry app_high_scores[10];
