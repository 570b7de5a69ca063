// Kestrune tests: every game rules test starts from the globals as at process start.
#pragma once
#include "tests/game/game_support.h"

#include <gtest/gtest.h>

#include <cstdlib>

class GameTest : public ::testing::Test {
protected:
    void SetUp() override {
        reset_process_state();
        srand(1);
    }
};

constexpr unsigned kMusicStop = (unsigned)MUSIC_STOP;
