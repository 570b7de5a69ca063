// Kestrune sound tests: the five shipped pieces. Every token parses, every voice
// loops over exactly its piece's unit count, every note lies in the piece's key
// and its voice's register, and no two voices rub a semitone apart.
#include <cctype>
#include <set>
#include <string>

#include "snd_test_support.h"
#include "sound/snd_internal.h"

namespace {

const int UNITS[5] = {120, 128, 64, 128, 80};

// Pitch classes of each piece's key (0 = c): F, C, G, C and C major.
const std::set<int> KEYS[5] = {
    {5, 7, 9, 10, 0, 2, 4},
    {0, 2, 4, 5, 7, 9, 11},
    {7, 9, 11, 0, 2, 4, 6},
    {0, 2, 4, 5, 7, 9, 11},
    {0, 2, 4, 5, 7, 9, 11},
};

struct Token {
    char kind;  // 'n' note, 'r' rest, or the drum letter
    int pitch;  // semitones from c0, notes only
    int units;
};

// The shipped strings' own strict form: lower-case letters, sharps only, one
// octave digit, an explicit unit count from the allowed set, one space after each.
bool parse_strict(const char *s, bool drums, std::vector<Token> *out, std::string *error) {
    static const int semis[7] = {9, 11, 0, 2, 4, 5, 7};
    const std::string str(s);
    if (str.empty() || str.back() != ' ') {
        *error = "does not end with a space";
        return false;
    }
    size_t i = 0;
    while (i < str.size()) {
        const size_t end = str.find(' ', i);
        const std::string tok = str.substr(i, end - i);
        i = end + 1;
        if (tok.empty()) {
            *error = "double space";
            return false;
        }
        const size_t slash = tok.find('/');
        if (slash == std::string::npos || slash + 1 >= tok.size()) {
            *error = "no unit count in " + tok;
            return false;
        }
        const std::string head = tok.substr(0, slash);
        const std::string count = tok.substr(slash + 1);
        for (char c : count) {
            if (!isdigit((unsigned char)c)) {
                *error = "bad unit count in " + tok;
                return false;
            }
        }
        Token t{};
        t.units = std::stoi(count);
        static const std::set<int> allowed = {1, 2, 4, 8, 12, 16, 20};
        if (allowed.count(t.units) == 0) {
            *error = "unit count not in 1 2 4 8 12 16 20: " + tok;
            return false;
        }
        if (head == "r") {
            t.kind = 'r';
        } else if (drums) {
            if (head != "k" && head != "s" && head != "h") {
                *error = "bad drum " + tok;
                return false;
            }
            t.kind = head[0];
        } else {
            const bool sharp = head.size() == 3 && head[1] == '#';
            if (head[0] < 'a' || head[0] > 'g' || !(head.size() == 2 || sharp) || !isdigit((unsigned char)head.back())) {
                *error = "bad note " + tok;
                return false;
            }
            t.kind = 'n';
            t.pitch = semis[head[0] - 'a'] + (sharp ? 1 : 0) + 12 * (head.back() - '0');
        }
        out->push_back(t);
    }
    return true;
}

std::vector<Token> tokens(int piece, int voice) {
    const VoiceDef &def = snd_pieces[piece].voices[voice];
    std::vector<Token> out;
    std::string error;
    EXPECT_TRUE(parse_strict(def.notes, def.wave == WAVE_NOISE, &out, &error))
        << "piece " << piece << " voice " << voice << ": " << error;
    return out;
}

// The sounding note (or -1 in a rest) of a voice at every unit of the loop.
std::vector<int> at_units(const std::vector<Token> &toks) {
    std::vector<int> pitch;
    for (const Token &t : toks) {
        for (int u = 0; u < t.units; u++) pitch.push_back(t.kind == 'n' ? t.pitch : -1);
    }
    return pitch;
}

}  // namespace

TEST(Pieces, TableOfVoices) {
    const int tempos[5] = {52, 112, 116, 132, 200};
    for (int p = 0; p < 5; p++) {
        const MusicPiece &piece = snd_pieces[p];
        SCOPED_TRACE(p);
        EXPECT_EQ(piece.tempo, tempos[p]);
        EXPECT_EQ(piece.voice_count, p == 0 ? 3 : 4);
        EXPECT_EQ(piece.voices[0].wave, p == 0 ? WAVE_TRIANGLE : WAVE_PULSE);
        EXPECT_EQ(piece.voices[0].duty, p == 0 ? 0.5f : 0.25f);
        EXPECT_EQ(piece.voices[0].volume, p == 0 ? 0.55f : 0.2f);
        EXPECT_EQ(piece.voices[1].wave, WAVE_PULSE);
        EXPECT_EQ(piece.voices[1].duty, 0.125f);
        EXPECT_EQ(piece.voices[1].volume, p == 0 ? 0.05f : 0.06f);
        EXPECT_EQ(piece.voices[2].wave, WAVE_TRIANGLE);
        EXPECT_EQ(piece.voices[2].duty, 0.5f);
        EXPECT_EQ(piece.voices[2].volume, 0.42f);
        if (p == 0) {
            EXPECT_EQ(piece.voices[3].wave, WAVE_PULSE);
            EXPECT_EQ(piece.voices[3].volume, 0.0f);
            EXPECT_EQ(piece.voices[3].notes, nullptr);
        } else {
            EXPECT_EQ(piece.voices[3].wave, WAVE_NOISE);
            EXPECT_EQ(piece.voices[3].duty, 0.0f);
            EXPECT_EQ(piece.voices[3].volume, 0.2f);
        }
    }
    // Levels A and C share their tunes and differ in tempo and drums.
    for (int v = 0; v < 3; v++) EXPECT_EQ(snd_pieces[1].voices[v].notes, snd_pieces[3].voices[v].notes);
    EXPECT_STRNE(snd_pieces[1].voices[3].notes, snd_pieces[3].voices[3].notes);
    EXPECT_STREQ(snd_pieces[4].voices[0].notes,
                 "c5/4 e5/4 g5/4 c6/4 g5/2 c6/2 e6/12 c6/4 g5/4 e5/4 c6/16 r/20 ");
}

TEST(Pieces, DrumLines) {
    const char *cycles[5] = {nullptr, "k4h4s4h4", "k2h2s2h2", "k4h2h2s4h2h2", "k4s4"};
    for (int p = 1; p < 5; p++) {
        std::string line;
        for (const Token &t : tokens(p, 3)) line += std::string(1, t.kind) + std::to_string(t.units);
        std::string expected;
        while (expected.size() < line.size()) expected += cycles[p];
        EXPECT_EQ(line, expected) << p;
    }
}

TEST(Pieces, EveryTokenParsesAndEveryVoiceLoopsOverTheUnitCount) {
    for (int p = 0; p < 5; p++) {
        for (int v = 0; v < snd_pieces[p].voice_count; v++) {
            SCOPED_TRACE("piece " + std::to_string(p) + " voice " + std::to_string(v));
            int units = 0;
            for (const Token &t : tokens(p, v)) units += t.units;
            EXPECT_EQ(units, UNITS[p]);

            // The sequencer itself agrees: at one sample a unit, the voice reads
            // its last token at the right time and wraps to its first right after.
            restore_sound(pristine_sound());
            snd_samples_per_unit = 1.0;
            const VoiceDef &def = snd_pieces[p].voices[v];
            MusicVoice voice{};
            voice.cursor = def.notes;
            for (int i = 0; i < UNITS[p]; i++) snd_voice_step(&voice, &def);
            EXPECT_EQ(voice.remaining, 1);
            EXPECT_EQ(std::string(voice.cursor).find_first_not_of(' '), std::string::npos);
            snd_voice_step(&voice, &def);
            EXPECT_EQ(voice.remaining, tokens(p, v)[0].units);
            EXPECT_LT(voice.cursor, def.notes + 16);
        }
    }
    restore_sound(pristine_sound());
}

TEST(Pieces, NotesInKeyAndRegister) {
    // Octaves: melody 4..6, broken chords 4..5, bass 2..3.
    const int low[3] = {4, 4, 2};
    const int high[3] = {6, 5, 3};
    for (int p = 0; p < 5; p++) {
        for (int v = 0; v < 3; v++) {
            for (const Token &t : tokens(p, v)) {
                if (t.kind != 'n') continue;
                EXPECT_EQ(KEYS[p].count(t.pitch % 12), 1u) << "piece " << p << " voice " << v << " pitch " << t.pitch;
                EXPECT_GE(t.pitch / 12, low[v]) << "piece " << p << " voice " << v;
                EXPECT_LE(t.pitch / 12, high[v]) << "piece " << p << " voice " << v;
            }
        }
    }
}

// Melody, broken chords and bass never sound a semitone (or a major seventh, or
// either plus octaves) apart at any unit: a wrong note in any voice shows here.
TEST(Pieces, NoVoicesRubASemitoneApart) {
    for (int p = 0; p < 5; p++) {
        const std::vector<int> voices[3] = {at_units(tokens(p, 0)), at_units(tokens(p, 1)), at_units(tokens(p, 2))};
        const char *names[3] = {"melody", "chords", "bass"};
        for (int a = 0; a < 3; a++) {
            for (int b = a + 1; b < 3; b++) {
                ASSERT_EQ(voices[a].size(), voices[b].size());
                for (size_t u = 0; u < voices[a].size(); u++) {
                    if (voices[a][u] < 0 || voices[b][u] < 0) continue;
                    const int interval = ((voices[a][u] - voices[b][u]) % 12 + 12) % 12;
                    EXPECT_TRUE(interval != 1 && interval != 11)
                        << "piece " << p << " unit " << u << ": " << names[a] << " against " << names[b];
                }
            }
        }
    }
}
