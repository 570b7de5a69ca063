// Kestrune: placeholder until the game rules land.
#include "game/game.h"
