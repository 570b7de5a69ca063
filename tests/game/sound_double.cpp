// Kestrune tests: the two sound requests, recorded instead of played.
#include "sound/snd.h"
#include "tests/game/game_support.h"

std::vector<SoundRequest> sound_log;
int sound_clock = 0;

void snd_play_effect(unsigned id) { sound_log.push_back({sound_clock, false, id}); }
void snd_set_music(unsigned piece) { sound_log.push_back({sound_clock, true, piece}); }
