// Kestrune: the five music pieces, one note string per voice, one loop each.
// A unit is a quarter beat of the piece's tempo; every voice of a piece loops
// over the same number of units. Each line below is one bar.
#include "sound/snd.h"

namespace {

// ---------------------------------------------------------------------------
// Title: a gentle waltz in F major, 3/4 with the quarter note at 2 units, 20 bars
// (120 units). Harp-like broken chords in eighths, bass on beats one and three.
//   F F C7 F | F Dm Gm C | Bb F Gm C7 | F Dm Gm C7 | F Dm C7 F

const char TITLE_MELODY[] =
    "c5/2 f5/2 a5/2 "
    "c6/4 a5/2 "
    "a#5/2 g5/2 e5/2 "
    "f5/4 c5/2 "
    "c5/2 f5/2 a5/2 "
    "d6/4 a5/2 "
    "a#5/2 a5/2 g5/2 "
    "g5/4 c6/2 "
    "d6/4 a#5/2 "
    "c6/4 a5/2 "
    "g5/2 a#5/2 d6/2 "
    "c6/4 a#5/2 "
    "a5/2 c6/2 f6/2 "
    "f6/4 d6/2 "
    "d6/2 a#5/2 g5/2 "
    "e5/2 g5/2 a#5/2 "
    "a5/12 "
    "a#5/2 g5/2 e5/2 "
    "f5/4 r/2 ";

const char TITLE_CHORDS[] =
    "f4/1 a4/1 c5/1 f5/1 c5/1 a4/1 "
    "f4/1 a4/1 c5/1 f5/1 c5/1 a4/1 "
    "e4/1 g4/1 a#4/1 c5/1 a#4/1 g4/1 "
    "f4/1 a4/1 c5/1 f5/1 c5/1 a4/1 "
    "f4/1 a4/1 c5/1 f5/1 c5/1 a4/1 "
    "d4/1 f4/1 a4/1 d5/1 a4/1 f4/1 "
    "d4/1 a#4/1 g4/1 d5/1 a#4/1 g4/1 "
    "e4/1 g4/1 c5/1 e5/1 c5/1 g4/1 "
    "d4/1 f4/1 a#4/1 d5/1 a#4/1 f4/1 "
    "f4/1 a4/1 c5/1 f5/1 c5/1 a4/1 "
    "d4/1 g4/1 a#4/1 d5/1 a#4/1 g4/1 "
    "e4/1 g4/1 a#4/1 c5/1 a#4/1 g4/1 "
    "f4/1 a4/1 c5/1 f5/1 c5/1 a4/1 "
    "d4/1 f4/1 a4/1 d5/1 a4/1 f4/1 "
    "d4/1 g4/1 a#4/1 d5/1 a#4/1 g4/1 "
    "e4/1 g4/1 a#4/1 c5/1 a#4/1 g4/1 "
    "f4/1 a4/1 c5/1 f5/1 c5/1 a4/1 "
    "d4/1 f4/1 a4/1 d5/1 a4/1 f4/1 "
    "e4/1 g4/1 a#4/1 c5/1 a#4/1 g4/1 "
    "f4/1 a4/1 c5/1 f5/1 c5/1 a4/1 ";

const char TITLE_BASS[] =
    "f2/4 c3/2 "
    "f2/4 c3/2 "
    "c3/4 g2/2 "
    "f2/4 c3/2 "
    "f2/4 c3/2 "
    "d3/4 a2/2 "
    "g2/4 d3/2 "
    "c3/4 g2/2 "
    "a#2/4 f2/2 "
    "f2/4 c3/2 "
    "g2/4 d3/2 "
    "c3/4 g2/2 "
    "f2/4 c3/2 "
    "d3/4 a2/2 "
    "g2/4 d3/2 "
    "c3/4 g2/2 "
    "f2/4 c3/2 "
    "d3/4 a2/2 "
    "c3/4 g2/2 "
    "f2/4 c3/2 ";

// ---------------------------------------------------------------------------
// Levels A and C: a bouncy tune in C major, 4/4, 8 bars (128 units), shared by
// both pieces; level C plays it faster with a busier drum line.
//   C | G7 | F C | G | C | G7 | F G | C

const char LEVEL_AC_MELODY[] =
    "e5/2 f5/2 g5/2 e5/2 c6/4 g5/4 "
    "f5/2 g5/2 a5/2 f5/2 d6/4 b5/4 "
    "c6/2 a5/2 f5/2 a5/2 g5/2 f5/2 e5/4 "
    "d5/2 e5/2 f5/2 a5/2 g5/8 "
    "e5/2 f5/2 g5/2 e5/2 c6/4 e6/4 "
    "d6/2 c6/2 b5/2 a5/2 g5/4 f5/4 "
    "a5/2 c6/2 f6/2 e6/2 d6/2 c6/2 b5/4 "
    "c6/8 g5/4 e5/4 ";

const char LEVEL_AC_CHORDS[] =
    "e4/2 g4/2 c5/2 g4/2 e4/2 g4/2 c5/2 g4/2 "
    "d4/2 g4/2 b4/2 g4/2 f4/2 g4/2 b4/2 g4/2 "
    "f4/2 a4/2 c5/2 a4/2 e4/2 g4/2 c5/2 g4/2 "
    "d4/2 g4/2 b4/2 g4/2 d4/2 g4/2 b4/2 g4/2 "
    "e4/2 g4/2 c5/2 g4/2 e4/2 g4/2 c5/2 g4/2 "
    "d4/2 g4/2 b4/2 g4/2 f4/2 g4/2 b4/2 g4/2 "
    "f4/2 a4/2 c5/2 a4/2 d4/2 g4/2 b4/2 g4/2 "
    "e4/2 g4/2 c5/2 g4/2 e4/2 g4/2 c5/2 g4/2 ";

const char LEVEL_AC_BASS[] =
    "c3/4 g2/4 c3/4 g2/4 "
    "g2/4 d3/4 b2/4 g2/4 "
    "f2/4 a2/4 c3/4 g2/4 "
    "g2/4 d3/4 g2/4 b2/4 "
    "c3/4 g2/4 e2/4 g2/4 "
    "g2/4 b2/4 d3/4 b2/4 "
    "f2/4 a2/4 g2/4 b2/4 "
    "c3/4 g2/4 e2/4 g2/4 ";

const char LEVEL_A_DRUMS[] =
    "k/4 h/4 s/4 h/4 k/4 h/4 s/4 h/4 k/4 h/4 s/4 h/4 k/4 h/4 s/4 h/4 "
    "k/4 h/4 s/4 h/4 k/4 h/4 s/4 h/4 k/4 h/4 s/4 h/4 k/4 h/4 s/4 h/4 ";

const char LEVEL_C_DRUMS[] =
    "k/4 h/2 h/2 s/4 h/2 h/2 k/4 h/2 h/2 s/4 h/2 h/2 "
    "k/4 h/2 h/2 s/4 h/2 h/2 k/4 h/2 h/2 s/4 h/2 h/2 "
    "k/4 h/2 h/2 s/4 h/2 h/2 k/4 h/2 h/2 s/4 h/2 h/2 "
    "k/4 h/2 h/2 s/4 h/2 h/2 k/4 h/2 h/2 s/4 h/2 h/2 ";

// ---------------------------------------------------------------------------
// Level B: a polka in G major, 4/4, 4 bars (64 units): bass on the beats,
// chords on the off-beats.
//   G | D7 | C G | D7 G

const char LEVEL_B_MELODY[] =
    "d5/1 e5/1 d5/2 g5/2 b5/2 d6/4 b5/4 "
    "c6/1 d6/1 c6/2 a5/2 f#5/2 a5/4 d5/4 "
    "e5/2 g5/2 c6/2 e6/2 d6/2 b5/2 g5/4 "
    "f#5/2 a5/2 c6/2 a5/2 g5/4 r/4 ";

const char LEVEL_B_CHORDS[] =
    "r/2 b4/2 r/2 d5/2 r/2 b4/2 r/2 d5/2 "
    "r/2 f#4/2 r/2 c5/2 r/2 a4/2 r/2 c5/2 "
    "r/2 c5/2 r/2 e5/2 r/2 b4/2 r/2 d5/2 "
    "r/2 f#4/2 r/2 c5/2 r/2 b4/2 r/2 g4/2 ";

const char LEVEL_B_BASS[] =
    "g2/2 r/2 d3/2 r/2 g2/2 r/2 d3/2 r/2 "
    "d3/2 r/2 a2/2 r/2 d3/2 r/2 a2/2 r/2 "
    "c3/2 r/2 g2/2 r/2 g2/2 r/2 d3/2 r/2 "
    "d3/2 r/2 a2/2 r/2 g2/2 r/2 d3/2 r/2 ";

const char LEVEL_B_DRUMS[] =
    "k/2 h/2 s/2 h/2 k/2 h/2 s/2 h/2 k/2 h/2 s/2 h/2 k/2 h/2 s/2 h/2 "
    "k/2 h/2 s/2 h/2 k/2 h/2 s/2 h/2 k/2 h/2 s/2 h/2 k/2 h/2 s/2 h/2 ";

// ---------------------------------------------------------------------------
// Victory: a short fanfare in C major, 4/4, 5 bars (80 units).
//   C | C/E | Am | F | G7

const char VICTORY_MELODY[] =
    "c5/4 e5/4 g5/4 c6/4 g5/2 c6/2 e6/12 c6/4 g5/4 e5/4 c6/16 r/20 ";

const char VICTORY_CHORDS[] =
    "c4/2 e4/2 g4/2 c5/2 e5/2 c5/2 g4/2 e4/2 "
    "e4/2 g4/2 c5/2 e5/2 c5/2 g4/2 e4/2 g4/2 "
    "e4/2 a4/2 c5/2 e5/2 c5/2 a4/2 e4/2 a4/2 "
    "f4/2 a4/2 c5/2 f5/2 c5/2 a4/2 f4/2 a4/2 "
    "g4/2 b4/2 d5/2 f5/2 g5/2 f5/2 d5/2 b4/2 ";

const char VICTORY_BASS[] =
    "c3/4 g2/4 c3/4 g2/4 "
    "e2/4 g2/4 c3/4 e3/4 "
    "a2/4 e2/4 a2/4 c3/4 "
    "f2/4 c3/4 f2/4 a2/4 "
    "g2/4 b2/4 d3/4 f3/4 ";

const char VICTORY_DRUMS[] =
    "k/4 s/4 k/4 s/4 k/4 s/4 k/4 s/4 k/4 s/4 k/4 s/4 k/4 s/4 k/4 s/4 k/4 s/4 k/4 s/4 ";

}  // namespace

// wave, duty, volume, notes
const MusicPiece snd_pieces[5] = {
    {52,
     3,
     {{WAVE_TRIANGLE, 0.5f, 0.55f, TITLE_MELODY},
      {WAVE_PULSE, 0.125f, 0.05f, TITLE_CHORDS},
      {WAVE_TRIANGLE, 0.5f, 0.42f, TITLE_BASS},
      {WAVE_PULSE, 0.0f, 0.0f, nullptr}}},
    {112,
     4,
     {{WAVE_PULSE, 0.25f, 0.2f, LEVEL_AC_MELODY},
      {WAVE_PULSE, 0.125f, 0.06f, LEVEL_AC_CHORDS},
      {WAVE_TRIANGLE, 0.5f, 0.42f, LEVEL_AC_BASS},
      {WAVE_NOISE, 0.0f, 0.2f, LEVEL_A_DRUMS}}},
    {116,
     4,
     {{WAVE_PULSE, 0.25f, 0.2f, LEVEL_B_MELODY},
      {WAVE_PULSE, 0.125f, 0.06f, LEVEL_B_CHORDS},
      {WAVE_TRIANGLE, 0.5f, 0.42f, LEVEL_B_BASS},
      {WAVE_NOISE, 0.0f, 0.2f, LEVEL_B_DRUMS}}},
    {132,
     4,
     {{WAVE_PULSE, 0.25f, 0.2f, LEVEL_AC_MELODY},
      {WAVE_PULSE, 0.125f, 0.06f, LEVEL_AC_CHORDS},
      {WAVE_TRIANGLE, 0.5f, 0.42f, LEVEL_AC_BASS},
      {WAVE_NOISE, 0.0f, 0.2f, LEVEL_C_DRUMS}}},
    {200,
     4,
     {{WAVE_PULSE, 0.25f, 0.2f, VICTORY_MELODY},
      {WAVE_PULSE, 0.125f, 0.06f, VICTORY_CHORDS},
      {WAVE_TRIANGLE, 0.5f, 0.42f, VICTORY_BASS},
      {WAVE_NOISE, 0.0f, 0.2f, VICTORY_DRUMS}}},
};
