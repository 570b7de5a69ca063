// Kestrune: the sound subsystem's whole contract with the rest of the game.
// The game rules and the shell ask for sound by number only (snd_play_effect,
// snd_set_music); the shell alone opens the device, sets volumes and renders.
#pragma once
#include <cstdint>

enum EffectId {
    SFX_CATCH = 0,
    SFX_RAMP_CLICK = 1,
    SFX_SMASH = 2,
    SFX_HEN_LAYS = 3,
    SFX_GOLDEN = 4,
    SFX_ROTTEN = 5,
    SFX_PAINTED = 6,
    SFX_FANFARE = 7,
    SFX_MENU = 8,
    SFX_BONUS_TICK = 9,
    SFX_LEVEL_INTRO = 10,
    SFX_LEVEL_COMPLETE = 11,
    SFX_BASKET_MOVE = 12,
    SFX_GAME_OVER = 13,
};

enum MusicPieceId {
    MUSIC_STOP = -1,  // any value of 5 or more, taken as unsigned, stops as well
    MUSIC_TITLE = 0,
    MUSIC_LEVEL_A = 1,
    MUSIC_LEVEL_B = 2,
    MUSIC_LEVEL_C = 3,
    MUSIC_VICTORY = 4,
};

// Requests: any time, on the main thread, with or without an audio device.
void snd_play_effect(unsigned id);   // ids above 13 are ignored
void snd_set_music(unsigned piece);  // the playing piece goes on; 5 or more stops

// The shell's side.
void snd_open();                                          // opens the device; none means silence
void snd_render(int16_t *out, int n);                     // n samples of music and effects
void snd_set_volumes(int music_percent, int effect_percent);
