// Kestrune tests: whole games tick by tick, determinism and bad input.
#include "tests/game/game_fixture.h"
