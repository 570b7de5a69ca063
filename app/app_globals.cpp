// Kestrune: the shell's globals that the painters and the screens read.
#include "app/app.h"

int32_t app_frame = 0;
int32_t app_paused = 0;
int32_t app_state = SCREEN_TITLE;
HighScoreEntry app_high_scores[10];

int32_t app_music_on = 1;
char app_name_buf[16];
int32_t app_new_record_slot = -1;
