// Kestrune tests: the built executable run as a child process. The command line and its
// usage text, the data directory, the mode precedence, the test run with its pictures,
// audio and status line, the bot, the music dump and the title pictures.
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <sys/time.h>
#include <unistd.h>

#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <regex>
#include <string>
#include <vector>

#include "test_util.h"

using testutil::RunResult;
using testutil::TempDir;
using testutil::run_kestrune;

namespace {

const std::string kUsage =
    std::string("Kestrune\n\nBrug: ") + KESTRUNE_EXE +
    " [--bane N] [--fuldskaerm] [--skala N] "
    "[--sprog da|sv|nb|fi|is|en|de|nl|fr|it|es|pt|pt_BR|pl|cs|hu|ro|el|tr|uk|he|ar|fa|ur|hi|bn|th|vi|id|ko|ja|zh]\n";

const std::regex kStatus(
    "tilstand (-?\\d+), bane (-?\\d+) \\((-?\\d+) etager\\), point (-?\\d+), liv (-?\\d+), "
    "æg i luften (-?\\d+), grebet (-?\\d+)/(-?\\d+)\n");

struct Status {
    int phase, level, floors, score, lives, eggs, caught, target;
};

Status parse_status(const std::string &out) {
    std::smatch m;
    Status s{-1, -1, -1, -1, -1, -1, -1, -1};
    if (!std::regex_match(out, m, kStatus)) {
        ADD_FAILURE() << "not a status line: " << out;
        return s;
    }
    int *f[] = {&s.phase, &s.level, &s.floors, &s.score, &s.lives, &s.eggs, &s.caught, &s.target};
    for (int i = 0; i < 8; i++) *f[i] = std::stoi(m[i + 1].str());
    return s;
}

std::vector<std::string> pictures_in(const std::string &dir) {
    std::vector<std::string> out;
    for (const std::string &n : testutil::list_dir(dir))
        if (n.size() > 4 && n.compare(n.size() - 4, 4, ".bmp") == 0) out.push_back(n);
    return out;
}

uint32_t le32(const std::string &b, size_t at) {
    return (uint32_t)(uint8_t)b[at] | (uint32_t)(uint8_t)b[at + 1] << 8 | (uint32_t)(uint8_t)b[at + 2] << 16 |
           (uint32_t)(uint8_t)b[at + 3] << 24;
}

// A BMP of the whole 1000 x 736 canvas at 32 bits a pixel.
void expect_canvas_bmp(const std::string &path) {
    std::string b = testutil::read_file(path);
    ASSERT_GE(b.size(), 54u) << path;
    EXPECT_EQ(b.substr(0, 2), "BM") << path;
    EXPECT_EQ(le32(b, 18), 1000u) << path;
    EXPECT_EQ((int32_t)le32(b, 22) < 0 ? -(int32_t)le32(b, 22) : (int32_t)le32(b, 22), 736) << path;
    EXPECT_EQ((uint8_t)b[28], 32) << path;
    EXPECT_EQ(b.size(), le32(b, 10) + 1000u * 736u * 4u) << path;
}

// Standard error holds exactly one line: "<what>: <reason>".
void expect_one_failure_line(const std::string &err, const std::string &what, const std::string &reason) {
    EXPECT_EQ(err, what + ": " + reason + "\n");
}

// Standard error holds exactly one line: SDL's warning that the game plays silent.
void expect_no_sound_line(const std::string &err) {
    const std::string tail = "; playing without sound\n";
    EXPECT_EQ(err.compare(0, 5, "SDL: "), 0) << err;
    ASSERT_GT(err.size(), 5 + tail.size()) << err;
    EXPECT_EQ(err.substr(err.size() - tail.size()), tail) << err;
    EXPECT_EQ(err.find('\n'), err.size() - 1) << err;
}

// For runs of the interactive game under the sanitizers: leak checking off for the game
// itself, since SDL's video and audio back-ends (Mesa, X11, D-Bus) leave allocations at
// exit that cannot be told apart from ours. The game's own code keeps no heap; the
// in-process tests check it for leaks.
std::string asan_without_leak_check() {
    const char *asan = std::getenv("ASAN_OPTIONS");
    return "ASAN_OPTIONS=" + std::string(asan ? asan : "") + ":detect_leaks=0";
}

// The environment of a plain run in a fresh home.
std::vector<std::string> env_with_home(const TempDir &home, std::vector<std::string> more = {}) {
    more.push_back("HOME=" + home.path());
    return more;
}

}  // namespace

TEST(CommandLineRun, UsageTextForAnyUnrecognisedArgument) {
    TempDir home;
    const std::vector<std::vector<std::string>> bad = {
        {"--hjælp"}, {"5"}, {"-"}, {"--"}, {"--Bane", "3"}, {"--bane"}, {"--test", "5", "--sprog"},
        {"--bot", "--ud"}, {"--titelbillede"}, {""}};
    for (const auto &args : bad) {
        RunResult r = run_kestrune(args, env_with_home(home, {"JULEN_LYDPROEVE=" + (home / "dump.raw")}),
                                   home.path());
        EXPECT_EQ(r.status, 0) << args[0];
        EXPECT_EQ(r.out, kUsage) << args[0];
        EXPECT_EQ(r.err, "") << args[0];
    }
    // Printed before anything is made or read: no data directory, no dump, no picture.
    EXPECT_EQ(testutil::list_dir(home.path()), std::vector<std::string>{});
}

TEST(CommandLineRun, InteractiveStartWithoutVideoFails) {
    TempDir home;
    RunResult r = run_kestrune({}, env_with_home(home, {"SDL_VIDEODRIVER=kestrune-no-such-driver"}));
    EXPECT_EQ(r.status, 1);
    EXPECT_EQ(r.out, "");
    EXPECT_EQ(r.err.compare(0, 5, "SDL: "), 0) << r.err;
    EXPECT_EQ(r.err.back(), '\n');
    EXPECT_EQ(r.err.find('\n'), r.err.size() - 1);
    // The start-up before the mode still made the data directory.
    EXPECT_TRUE(testutil::is_dir(home / ".local/share/kestrune"));
}

TEST(CommandLineRun, NoDisplayStopsTheStartInsteadOfRunningUnseen) {
    // With no display SDL falls back on its offscreen driver, and the game ran for ever
    // with no window. A driver that shows nothing is taken only when asked for.
    TempDir home, runtime;
    chmod(runtime.path().c_str(), 0700);
    testutil::RunOptions options;
    options.default_drivers = false;  // DISPLAY, WAYLAND_DISPLAY and SDL_VIDEODRIVER unset
    options.kill_after = 30;
    RunResult r = run_kestrune(
        {}, env_with_home(home, {"SDL_AUDIODRIVER=dummy", "XDG_RUNTIME_DIR=" + runtime.path(), asan_without_leak_check()}),
        options);
    EXPECT_FALSE(r.timed_out);
    EXPECT_EQ(r.status, 1);
    EXPECT_EQ(r.out, "");
    EXPECT_EQ(r.err.compare(0, 5, "SDL: "), 0) << r.err;
    EXPECT_NE(r.err.find("no display"), std::string::npos) << r.err;
    EXPECT_EQ(r.err.find('\n'), r.err.size() - 1) << r.err;

    // Asked for, the offscreen and dummy drivers run as before (until SIGTERM, which SDL
    // turns into a quit); so does offscreen named after a driver that cannot start.
    options.terminate_after = 1.5;
    for (const char *driver : {"offscreen", "dummy", "OFFSCREEN", "x11,offscreen"}) {
        r = run_kestrune({}, env_with_home(home, {"SDL_AUDIODRIVER=dummy", std::string("SDL_VIDEODRIVER=") + driver,
                                                  asan_without_leak_check()}),
                         options);
        EXPECT_FALSE(r.timed_out) << driver;
        EXPECT_EQ(r.status, 0) << driver;
        EXPECT_EQ(r.err, "") << driver;
    }
}

TEST(CommandLineRun, AClosedTerminalQuitsLikeSigterm) {
    // SIGHUP (the terminal closed) killed the game with status 129; it is now a quit.
    TempDir home;
    testutil::RunOptions options;
    options.terminate_after = 1.5;
    options.terminate_signal = SIGHUP;
    options.kill_after = 30;
    RunResult r = run_kestrune(
        {}, env_with_home(home, {"SDL_VIDEODRIVER=dummy", "SDL_AUDIODRIVER=dummy", asan_without_leak_check()}),
        options);
    EXPECT_FALSE(r.timed_out);
    EXPECT_EQ(r.status, 0);
    EXPECT_EQ(r.out, "");
    EXPECT_EQ(r.err, "");
}

TEST(CommandLineRun, NoAudioPlaysSilent) {
    // An audio driver that cannot start made the whole start fail.
    TempDir home;
    testutil::RunOptions options;
    options.terminate_after = 1.5;
    options.kill_after = 30;
    RunResult r = run_kestrune(
        {}, env_with_home(home, {"SDL_VIDEODRIVER=dummy", "SDL_AUDIODRIVER=nonexistent", asan_without_leak_check()}),
        options);
    EXPECT_FALSE(r.timed_out);
    EXPECT_EQ(r.status, 0);
    EXPECT_EQ(r.out, "");
    // One warning line, also when the device then does not open either.
    expect_no_sound_line(r.err);
    EXPECT_NE(r.err.find("nonexistent"), std::string::npos) << r.err;
}

TEST(CommandLineRun, NoAudioDeviceWarnsAndPlaysSilent) {
    // Audio that started but had no device to open (no sound card, no default device)
    // left the game silent without the warning.
    TempDir home;
    testutil::RunOptions options;
    options.terminate_after = 1.5;
    options.kill_after = 30;
    RunResult r = run_kestrune({}, env_with_home(home, {"SDL_VIDEODRIVER=dummy", "SDL_AUDIODRIVER=disk",
                                                        "SDL_DISKAUDIOFILE=" + (home / "missing/audio.raw"),
                                                        asan_without_leak_check()}),
                               options);
    EXPECT_FALSE(r.timed_out);
    EXPECT_EQ(r.status, 0);
    EXPECT_EQ(r.out, "");
    expect_no_sound_line(r.err);
    EXPECT_FALSE(testutil::exists(home / "missing"));
}

TEST(TestRun, OneTick) {
    TempDir home, out;
    RunResult r = run_kestrune({"--test", "1"}, env_with_home(home), out.path());
    EXPECT_EQ(r.status, 0);
    Status s = parse_status(r.out);
    EXPECT_EQ(s.phase, 0);
    EXPECT_EQ(s.level, 1);
    EXPECT_EQ(s.score, 0);
    EXPECT_EQ(s.lives, 3);
    EXPECT_EQ(s.eggs, 0);
    EXPECT_EQ(s.caught, 0);
    EXPECT_EQ(s.target, 20);
    EXPECT_EQ(pictures_in(out.path()), std::vector<std::string>{"f00000.bmp"});
    expect_canvas_bmp(out / "f00000.bmp");
    EXPECT_EQ(testutil::file_size(out / "lyd.raw"), 1600);
    // The data directory is made in every mode; neither file is written by a test run.
    EXPECT_TRUE(testutil::is_dir(home / ".local/share/kestrune"));
    EXPECT_EQ(testutil::list_dir(home / ".local/share/kestrune"), std::vector<std::string>{});
}

TEST(TestRun, NoTicksForZeroOrNegativeCounts) {
    TempDir home, out;
    // A negative count: no tick, no picture, an empty "lyd.raw", the fresh game's line.
    for (const char *n : {"-1", "-200000", "-2147483648"}) {
        RunResult r = run_kestrune({"--test", n, "--bane", "15", "--ud", out.path()}, env_with_home(home));
        EXPECT_EQ(r.status, 0);
        Status s = parse_status(r.out);
        EXPECT_EQ(s.phase, 0);
        EXPECT_EQ(s.level, 15);
        EXPECT_EQ(s.score, 0);
        EXPECT_EQ(s.lives, 3);
        EXPECT_EQ(s.eggs, 0);
        EXPECT_EQ(s.caught, 0);
        EXPECT_EQ(s.target, 62);
        EXPECT_EQ(pictures_in(out.path()), std::vector<std::string>{});
        EXPECT_EQ(testutil::file_size(out / "lyd.raw"), 0);
    }
    // Zero is no test run: here the music dump runs instead.
    TempDir cwd;
    RunResult r = run_kestrune({"--test", "0", "--ud", out.path()},
                               env_with_home(home, {"JULEN_LYDPROEVE=" + (cwd / "dump.raw")}), cwd.path());
    EXPECT_EQ(r.status, 0);
    EXPECT_EQ(r.out, "");
    EXPECT_EQ(testutil::list_dir(cwd.path()), std::vector<std::string>{"dump.raw"});
}

TEST(TestRun, OutputFolderMissingOrAFile) {
    // The run still plays to its end and prints its status line, then names the file it
    // could not write and ends with status 1.
    TempDir home;
    testutil::write_file(home / "plain", "x");
    const std::string long_dir(5000, 'd');
    struct Case {
        std::string dir, reason;
    } cases[] = {{home / "missing", "No such file or directory"}, {home / "plain", "Not a directory"}};
    for (const Case &c : cases) {
        RunResult r = run_kestrune({"--test", "3", "--ud", c.dir}, env_with_home(home));
        EXPECT_EQ(r.status, 1) << c.dir;
        EXPECT_EQ(parse_status(r.out).level, 1);
        expect_one_failure_line(r.err, "--test: " + c.dir + "/f00002.bmp", c.reason);
    }
    // A name too long for any file: the line names as much of it as fits.
    RunResult r = run_kestrune({"--test", "3", "--ud", long_dir}, env_with_home(home));
    EXPECT_EQ(r.status, 1);
    EXPECT_EQ(parse_status(r.out).level, 1);
    const std::string tail = ": File name too long\n";
    ASSERT_GT(r.err.size(), tail.size() + 100);
    EXPECT_EQ(r.err.compare(0, 108, "--test: " + long_dir.substr(0, 100)), 0);
    EXPECT_EQ(r.err.substr(r.err.size() - tail.size()), tail);
    EXPECT_EQ(r.err.find('\n'), r.err.size() - 1);
    EXPECT_FALSE(testutil::exists(home / "missing"));
    EXPECT_EQ(testutil::read_file(home / "plain"), "x");
}

TEST(TestRun, AFullDiskOrAReadOnlyFolderIsReported) {
    // A full disk left a cut picture and an empty "lyd.raw" and the run said nothing.
    if (access("/dev/full", W_OK) != 0) GTEST_SKIP() << "no /dev/full to write to";
    TempDir home, pictures, audio, readonly;
    ASSERT_EQ(symlink("/dev/full", (pictures / "f00000.bmp").c_str()), 0);
    RunResult r = run_kestrune({"--test", "1", "--ud", pictures.path()}, env_with_home(home));
    EXPECT_EQ(r.status, 1);
    EXPECT_EQ(parse_status(r.out).phase, 0);
    expect_one_failure_line(r.err, "--test: " + (pictures / "f00000.bmp"), "No space left on device");

    ASSERT_EQ(symlink("/dev/full", (audio / "lyd.raw").c_str()), 0);
    r = run_kestrune({"--test", "1", "--ud", audio.path()}, env_with_home(home));
    EXPECT_EQ(r.status, 1);
    parse_status(r.out);
    expect_one_failure_line(r.err, "--test: " + (audio / "lyd.raw"), "No space left on device");
    expect_canvas_bmp(audio / "f00000.bmp");

    // A folder the run may not write to (as an unprivileged user, since root may).
    chmod(readonly.path().c_str(), 0555);
    r = run_kestrune({"--test", "1", "--ud", readonly.path()}, env_with_home(home), "", true);
    EXPECT_EQ(r.status, 1);
    parse_status(r.out);
    expect_one_failure_line(r.err, "--test: " + (readonly / "f00000.bmp"), "Permission denied");
    chmod(readonly.path().c_str(), 0755);
    EXPECT_EQ(testutil::list_dir(readonly.path()), std::vector<std::string>{});

    // The status line itself going nowhere is a failure too.
    TempDir out;
    const std::string command = "HOME='" + home.path() + "' SDL_VIDEODRIVER=dummy SDL_AUDIODRIVER=dummy timeout 120 '" +
                                KESTRUNE_EXE + "' --test 1 --ud '" + out.path() + "' >/dev/full 2>'" +
                                (home / "err.txt") + "'";
    int status = std::system(command.c_str());
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 1) << status;
    expect_one_failure_line(testutil::read_file(home / "err.txt"), "--test: standard output",
                            "No space left on device");
}

TEST(TestRun, AFileSizeLimitOrAClosedStandardOutputIsReported) {
    // Past a file-size limit (ulimit -f) the run died of SIGXFSZ with a cut picture and
    // no line, and with its standard output closed it died of SIGPIPE without a word.
    TempDir home, limited, closed;
    testutil::RunOptions options;
    options.file_size_limit = 64 * 1024;  // well below one picture
    RunResult r = run_kestrune({"--test", "1", "--ud", limited.path()}, env_with_home(home), options);
    EXPECT_EQ(r.status, 1);
    EXPECT_EQ(parse_status(r.out).phase, 0);
    expect_one_failure_line(r.err, "--test: " + (limited / "f00000.bmp"), "File too large");

    options = testutil::RunOptions{};
    options.closed_stdout = true;
    r = run_kestrune({"--test", "1", "--ud", closed.path()}, env_with_home(home), options);
    EXPECT_EQ(r.status, 1);
    expect_one_failure_line(r.err, "--test: standard output", "Broken pipe");
    expect_canvas_bmp(closed / "f00000.bmp");
    EXPECT_EQ(testutil::file_size(closed / "lyd.raw"), 1600);
}

TEST(TestRun, ScriptPicturesAndLines) {
    TempDir home, out;
    testutil::write_file(home / "script.txt",
                         "3 0 s\n"
                         "7 1 s\n"
                         "5 2 s\n5 2\n"      // a later line without "s" cancels the picture
                         "-4 1 s\n"          // a negative tick is passed over
                         "# comment\n"
                         "6 32s\r\n"         // flag right after the mask, CRLF
                         "8 1 x\n"
                         "250000 1 s\n"
                         "2 4 s");           // no final newline
    RunResult r = run_kestrune({"--test", "10", "--script", home / "script.txt", "--ud", out.path()},
                               env_with_home(home));
    EXPECT_EQ(r.status, 0);
    parse_status(r.out);
    EXPECT_EQ(pictures_in(out.path()),
              (std::vector<std::string>{"f00002.bmp", "f00003.bmp", "f00006.bmp", "f00007.bmp", "f00009.bmp"}));
    EXPECT_EQ(testutil::file_size(out / "lyd.raw"), 16000);
}

TEST(TestRun, AScriptThatIsNoRegularFileIsPassedOver) {
    // A FIFO as the script blocked the run for ever, and /dev/zero was read for ever.
    TempDir home, dir, out;
    RunResult plain = run_kestrune({"--test", "2", "--ud", out.path()}, env_with_home(home));
    ASSERT_EQ(plain.status, 0);
    parse_status(plain.out);
    ASSERT_EQ(mkfifo((dir / "fifo").c_str(), 0644), 0);
    ASSERT_EQ(symlink("/dev/zero", (dir / "zero").c_str()), 0);
    ASSERT_EQ(mkdir((dir / "folder").c_str(), 0755), 0);
    testutil::RunOptions options;
    options.kill_after = 30;
    for (const std::string &script : {dir / "fifo", dir / "zero", std::string("/dev/null"), dir / "folder"}) {
        RunResult r = run_kestrune({"--test", "2", "--script", script, "--ud", out.path()}, env_with_home(home),
                                   options);
        EXPECT_FALSE(r.timed_out) << script;
        EXPECT_EQ(r.status, 0) << script;
        EXPECT_EQ(r.out, plain.out) << script;
        EXPECT_EQ(r.err, "") << script;
    }
    struct stat st;
    ASSERT_EQ(lstat((dir / "fifo").c_str(), &st), 0);
    EXPECT_TRUE(S_ISFIFO(st.st_mode));
}

TEST(TestRun, ScriptNamedLikeAnOption) {
    // "--script --bot" takes "--bot" as the file name: the bot stays off, and the missing
    // script is passed over.
    TempDir home, a, b, c;
    RunResult named = run_kestrune({"--test", "600", "--script", "--bot", "--ud", a.path()}, env_with_home(home));
    RunResult plain = run_kestrune({"--test", "600", "--ud", b.path()}, env_with_home(home));
    EXPECT_EQ(named.status, 0);
    EXPECT_EQ(named.out, plain.out);
    EXPECT_EQ(testutil::read_file(a / "lyd.raw"), testutil::read_file(b / "lyd.raw"));
}

TEST(TestRun, ModeOptionsWithoutTestChangeNothing) {
    // "--bot", "--script" and "--ud" without "--test": the dump runs, no test-run output.
    TempDir home, out;
    RunResult r = run_kestrune({"--bot", "--script", home / "s.txt", "--ud", out.path()},
                               env_with_home(home, {"JULEN_LYDPROEVE=" + (home / "dump.raw")}));
    EXPECT_EQ(r.status, 0);
    EXPECT_EQ(r.out, "");
    EXPECT_EQ(testutil::list_dir(out.path()), std::vector<std::string>{});
    EXPECT_EQ(testutil::file_size(home / "dump.raw"), 5760000);
}

TEST(TestRun, PictureIntervalFromTheEnvironment) {
    TempDir home;
    // Unset and 0 give only the last tick's picture; 30 and -30 add pictures at multiples
    // of 30 while a level is complete or the game is won.
    TempDir unset_dir, zero_dir, pos_dir, neg_dir;
    RunResult r0 = run_kestrune({"--test", "4000", "--bot", "--ud", unset_dir.path()}, env_with_home(home));
    RunResult r1 = run_kestrune({"--test", "4000", "--bot", "--ud", zero_dir.path()},
                                env_with_home(home, {"FESTER_HVER=0"}));
    RunResult r2 = run_kestrune({"--test", "4000", "--bot", "--ud", pos_dir.path()},
                                env_with_home(home, {"FESTER_HVER=30"}));
    RunResult r3 = run_kestrune({"--test", "4000", "--bot", "--ud", neg_dir.path()},
                                env_with_home(home, {"FESTER_HVER=-30"}));
    EXPECT_EQ(pictures_in(unset_dir.path()), std::vector<std::string>{"f03999.bmp"});
    EXPECT_EQ(pictures_in(zero_dir.path()), std::vector<std::string>{"f03999.bmp"});
    std::vector<std::string> pos = pictures_in(pos_dir.path());
    EXPECT_GT(pos.size(), 1u);  // the bot clears the first level well within 4000 ticks
    EXPECT_EQ(pos, pictures_in(neg_dir.path()));
    for (const std::string &name : pos) {
        int tick = std::stoi(name.substr(1, 5));
        EXPECT_TRUE(tick % 30 == 0 || tick == 3999) << name;
    }
    // The pictures never change the game.
    EXPECT_EQ(r0.out, r2.out);
    EXPECT_EQ(r1.out, r3.out);
}

TEST(TestRun, BotRunsReplayExactly) {
    TempDir home, a, b;
    RunResult r1 = run_kestrune({"--test", "20000", "--bot", "--ud", a.path()}, env_with_home(home));
    RunResult r2 = run_kestrune({"--test", "20000", "--bot", "--ud", b.path()}, env_with_home(home));
    EXPECT_EQ(r1.status, 0);
    EXPECT_EQ(r2.status, 0);
    parse_status(r1.out);
    EXPECT_EQ(r1.out, r2.out);
    EXPECT_EQ(testutil::file_size(a / "lyd.raw"), 11520000);  // two minutes at most
    EXPECT_TRUE(testutil::read_file(a / "lyd.raw") == testutil::read_file(b / "lyd.raw"));
    EXPECT_TRUE(testutil::read_file(a / "f19999.bmp") == testutil::read_file(b / "f19999.bmp"));
}

TEST(TestRun, HomeUnsetEmptyOrAFile) {
    TempDir out, dir;
    // No "HOME": nothing is made anywhere, the run goes on.
    RunResult r = run_kestrune({"--test", "2"}, {}, out.path());
    EXPECT_EQ(r.status, 0);
    EXPECT_EQ(parse_status(r.out).level, 1);
    EXPECT_EQ(testutil::list_dir(out.path()), (std::vector<std::string>{"f00001.bmp", "lyd.raw"}));

    // "HOME" a file: the directories cannot be made; orderly all the same.
    testutil::write_file(dir / "home", "file");
    r = run_kestrune({"--test", "-1", "--ud", out.path()}, {"HOME=" + (dir / "home")});
    EXPECT_EQ(r.status, 0);
    EXPECT_EQ(parse_status(r.out).lives, 3);
    EXPECT_EQ(testutil::read_file(dir / "home"), "file");

    // An empty "HOME" names the top folder; unprivileged, nothing can be made there.
    // (The unprivileged runs write their "lyd.raw" into a folder of their own.)
    TempDir out_unprivileged;
    r = run_kestrune({"--test", "-1", "--ud", out_unprivileged.path()}, {"HOME="}, "", true);
    EXPECT_EQ(r.status, 0);
    EXPECT_EQ(parse_status(r.out).lives, 3);

    // A data directory that cannot be written to, with the files unreadable garbage.
    TempDir home;
    std::string data = home / ".local/share/kestrune";
    run_kestrune({"--test", "-1", "--ud", out.path()}, {"HOME=" + home.path()});
    ASSERT_TRUE(testutil::is_dir(data));
    std::string junk(1 << 20, '\xff');
    testutil::write_file(data + "/rekorder.txt", junk);
    testutil::write_file(data + "/indstillinger.txt", junk);
    chmod(data.c_str(), 0555);
    r = run_kestrune({"--test", "-1", "--ud", out_unprivileged.path()}, {"HOME=" + home.path()}, "", true);
    EXPECT_EQ(r.status, 0);
    EXPECT_EQ(parse_status(r.out).lives, 3);
    EXPECT_EQ(testutil::file_size(data + "/rekorder.txt"), 1 << 20);
}

TEST(DataFiles, AFifoOrAnEndlessFileDoesNotStopTheStart) {
    // A FIFO named like the record file blocked the start in its open, and a settings
    // file linked to /dev/zero was read for ever.
    TempDir home, out;
    const std::string data = home / ".local/share/kestrune";
    ASSERT_EQ(std::system(("mkdir -p '" + data + "'").c_str()), 0);
    ASSERT_EQ(mkfifo((data + "/rekorder.txt").c_str(), 0644), 0);
    ASSERT_EQ(symlink("/dev/zero", (data + "/indstillinger.txt").c_str()), 0);
    testutil::RunOptions options;
    options.kill_after = 30;
    RunResult r = run_kestrune({"--test", "-1", "--ud", out.path()}, env_with_home(home), options);
    EXPECT_FALSE(r.timed_out);
    EXPECT_EQ(r.status, 0);
    EXPECT_EQ(parse_status(r.out).lives, 3);
    struct stat st;
    ASSERT_EQ(lstat((data + "/rekorder.txt").c_str(), &st), 0);
    EXPECT_TRUE(S_ISFIFO(st.st_mode));
    // The other way round as well: a FIFO as the settings file.
    ASSERT_EQ(unlink((data + "/indstillinger.txt").c_str()), 0);
    ASSERT_EQ(rename((data + "/rekorder.txt").c_str(), (data + "/indstillinger.txt").c_str()), 0);
    r = run_kestrune({"--test", "-1", "--ud", out.path()}, env_with_home(home), options);
    EXPECT_FALSE(r.timed_out);
    EXPECT_EQ(r.status, 0);
}

TEST(DataFiles, TheStartRemovesOldTemporaryFilesOfSaves) {
    TempDir home, out;
    const std::string data = home / ".local/share/kestrune";
    ASSERT_EQ(std::system(("mkdir -p '" + data + "'").c_str()), 0);
    testutil::write_file(data + "/rekorder.txt.kestrune-tmp-a1B2c3", "1 1");
    testutil::write_file(data + "/indstillinger.txt.kestrune-tmp-d4E5f6", "sprog");
    struct timeval old_times[2] = {{time(nullptr) - 3600, 0}, {time(nullptr) - 3600, 0}};
    for (const std::string &name : testutil::list_dir(data)) utimes((data + "/" + name).c_str(), old_times);
    RunResult r = run_kestrune({"--test", "-1", "--ud", out.path()}, env_with_home(home));
    EXPECT_EQ(r.status, 0);
    EXPECT_EQ(testutil::list_dir(data), std::vector<std::string>{});
}

TEST(ModeChoice, TestRunWinsOverDumpAndTitlePictures) {
    TempDir home, out;
    RunResult r = run_kestrune({"--test", "1", "--titelbillede", home / "title.bmp", "--ud", out.path()},
                               env_with_home(home, {"JULEN_LYDPROEVE=" + (home / "dump.raw")}));
    EXPECT_EQ(r.status, 0);
    parse_status(r.out);
    EXPECT_FALSE(testutil::exists(home / "dump.raw"));
    EXPECT_FALSE(testutil::exists(home / "title.bmp"));
    EXPECT_EQ(pictures_in(out.path()), std::vector<std::string>{"f00000.bmp"});
}

TEST(ModeChoice, DumpWinsOverTitlePictures) {
    TempDir home;
    RunResult r = run_kestrune({"--titelbillede", home / "title.bmp"},
                               env_with_home(home, {"JULEN_LYDPROEVE=" + (home / "dump.raw")}));
    EXPECT_EQ(r.status, 0);
    EXPECT_EQ(r.out, "");
    EXPECT_FALSE(testutil::exists(home / "title.bmp"));
    EXPECT_EQ(testutil::file_size(home / "dump.raw"), 5760000);
}

TEST(TitlePictures, TwoFilesTheSecondWithASuffix) {
    TempDir home;
    RunResult r = run_kestrune({"--titelbillede", home / "shot.bmp"}, env_with_home(home));
    EXPECT_EQ(r.status, 0);
    EXPECT_EQ(r.out, "");
    EXPECT_EQ(r.err, "");
    expect_canvas_bmp(home / "shot.bmp");
    expect_canvas_bmp(home / "shot.bmp.2.bmp");
    // A path that cannot be made: nothing written, one line and status 1.
    r = run_kestrune({"--titelbillede", home / "missing/shot.bmp"}, env_with_home(home));
    EXPECT_EQ(r.status, 1);
    EXPECT_EQ(r.out, "");
    expect_one_failure_line(r.err, "--titelbillede: " + (home / "missing/shot.bmp"), "No such file or directory");
    EXPECT_FALSE(testutil::exists(home / "missing"));
}

TEST(TitlePictures, AFullDiskOrAReadOnlyFolderIsReported) {
    // A full disk left two empty files and the mode said nothing.
    if (access("/dev/full", W_OK) != 0) GTEST_SKIP() << "no /dev/full to write to";
    TempDir home, second, readonly;
    RunResult r = run_kestrune({"--titelbillede", "/dev/full"}, env_with_home(home));
    EXPECT_EQ(r.status, 1);
    EXPECT_EQ(r.out, "");
    expect_one_failure_line(r.err, "--titelbillede: /dev/full", "No space left on device");
    // The first failure ends the mode: no second picture beside the device.
    EXPECT_FALSE(testutil::exists("/dev/full.2.bmp"));

    ASSERT_EQ(symlink("/dev/full", (second / "shot.bmp.2.bmp").c_str()), 0);
    r = run_kestrune({"--titelbillede", second / "shot.bmp"}, env_with_home(home));
    EXPECT_EQ(r.status, 1);
    expect_one_failure_line(r.err, "--titelbillede: " + (second / "shot.bmp.2.bmp"), "No space left on device");
    expect_canvas_bmp(second / "shot.bmp");

    // A folder the mode may not write to (as an unprivileged user, since root may).
    chmod(readonly.path().c_str(), 0555);
    r = run_kestrune({"--titelbillede", readonly / "shot.bmp"}, env_with_home(home), "", true);
    EXPECT_EQ(r.status, 1);
    expect_one_failure_line(r.err, "--titelbillede: " + (readonly / "shot.bmp"), "Permission denied");
    chmod(readonly.path().c_str(), 0755);
    EXPECT_EQ(testutil::list_dir(readonly.path()), std::vector<std::string>{});
}

TEST(TitlePictures, AFileSizeLimitIsReported) {
    // Past a file-size limit the mode died of SIGXFSZ with a cut picture and no line.
    TempDir home;
    testutil::RunOptions options;
    options.file_size_limit = 64 * 1024;
    RunResult r = run_kestrune({"--titelbillede", home / "shot.bmp"}, env_with_home(home), options);
    EXPECT_EQ(r.status, 1);
    EXPECT_EQ(r.out, "");
    expect_one_failure_line(r.err, "--titelbillede: " + (home / "shot.bmp"), "File too large");
    EXPECT_FALSE(testutil::exists(home / "shot.bmp.2.bmp"));
}

TEST(MusicDump, FiveTwelveSecondPieces) {
    TempDir home;
    testutil::write_file(home / "dump.raw", std::string(10000000, 'x'));  // replaced, not appended to
    RunResult r = run_kestrune({}, env_with_home(home, {"JULEN_LYDPROEVE=" + (home / "dump.raw")}));
    EXPECT_EQ(r.status, 0);
    EXPECT_EQ(r.out, "");
    EXPECT_EQ(testutil::file_size(home / "dump.raw"), 5760000);
    // No display or sound card is touched: the same with drivers that do not exist.
    RunResult again = run_kestrune(
        {}, env_with_home(home, {"JULEN_LYDPROEVE=" + (home / "dump2.raw"), "SDL_VIDEODRIVER=none-such",
                                 "SDL_AUDIODRIVER=none-such"}));
    EXPECT_EQ(again.status, 0);
    EXPECT_TRUE(testutil::read_file(home / "dump.raw") == testutil::read_file(home / "dump2.raw"));
}

TEST(MusicDump, UnopenablePathGivesOneLineAndStatusOne) {
    TempDir home;
    ::mkdir((home / "folder").c_str(), 0755);
    for (std::string path : {home / "missing/dump.raw", home / "folder", std::string()}) {
        RunResult r = run_kestrune({}, env_with_home(home, {"JULEN_LYDPROEVE=" + path}));
        EXPECT_EQ(r.status, 1) << path;
        EXPECT_EQ(r.out, "") << path;
        ASSERT_FALSE(r.err.empty()) << path;
        EXPECT_EQ(r.err.find('\n'), r.err.size() - 1) << r.err;
        EXPECT_NE(r.err.find(path + ": "), std::string::npos) << r.err;
    }
    EXPECT_FALSE(testutil::exists(home / "missing"));
    EXPECT_TRUE(testutil::is_dir(home / "folder"));
    // A device that takes no data: the dump is not reported as written.
    if (testutil::exists("/dev/full")) {
        RunResult r = run_kestrune({}, env_with_home(home, {"JULEN_LYDPROEVE=/dev/full"}));
        EXPECT_EQ(r.status, 1);
        EXPECT_EQ(r.err.find('\n'), r.err.size() - 1) << r.err;
        EXPECT_NE(r.err.find("/dev/full: "), std::string::npos) << r.err;
    }
}

TEST(MusicDump, AFileSizeLimitIsReported) {
    // Past a file-size limit the dump died of SIGXFSZ with a cut file and no line.
    TempDir home;
    testutil::RunOptions options;
    options.file_size_limit = 64 * 1024;
    RunResult r = run_kestrune({}, env_with_home(home, {"JULEN_LYDPROEVE=" + (home / "dump.raw")}), options);
    EXPECT_EQ(r.status, 1);
    EXPECT_EQ(r.out, "");
    expect_one_failure_line(r.err, "JULEN_LYDPROEVE: " + (home / "dump.raw"), "File too large");
}
