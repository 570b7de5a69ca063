// Kestrune tests: saves of the data files under attack. A file that could not be read
// is never replaced, running copies keep each other's rows and take turns under a lock
// file that nothing else holds or stands in for, on a slow disk and behind a stuck copy
// too, and nothing writes without it; links that the system's protected-symlinks rule
// refuses are not followed, a save in progress is not cleaned away, and a failed save of
// the high scores says so.
#include <dlfcn.h>
#include <fcntl.h>
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/file.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/time.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <functional>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "app/app.h"
#include "test_util.h"

using testutil::TempDir;

// The next fsync stands still this long when set: a save stuck on a slow disk. Every
// fsync takes every_fsync_ms: a slow disk.
static std::atomic<int> slow_fsync_ms{0};
static std::atomic<int> every_fsync_ms{0};

extern "C" int fsync(int fd) {
    using Fsync = int (*)(int);
    static Fsync real = reinterpret_cast<Fsync>(dlsym(RTLD_NEXT, "fsync"));
    if (int ms = slow_fsync_ms.exchange(0)) usleep((useconds_t)ms * 1000);
    if (int ms = every_fsync_ms.load()) usleep((useconds_t)ms * 1000);
    return real(fd);
}

// The next renameat stands still this long when set: a save stuck as it puts its file in.
static std::atomic<int> slow_rename_ms{0};

extern "C" int renameat(int old_dir, const char *old_name, int new_dir, const char *new_name) {
    using Renameat = int (*)(int, const char *, int, const char *);
    static Renameat real = reinterpret_cast<Renameat>(dlsym(RTLD_NEXT, "renameat"));
    if (int ms = slow_rename_ms.exchange(0)) usleep((useconds_t)ms * 1000);
    return real(old_dir, old_name, new_dir, new_name);
}

// unlinkat of any name but a temporary file's stands still this long when set: a copy
// slow to remove what it made.
static std::atomic<int> slow_unlink_ms{0};

extern "C" int unlinkat(int dir_fd, const char *name, int flags) {
    using Unlinkat = int (*)(int, const char *, int);
    static Unlinkat real = reinterpret_cast<Unlinkat>(dlsym(RTLD_NEXT, "unlinkat"));
    if (!std::strstr(name, ".kestrune-tmp-")) {
        if (int ms = slow_unlink_ms.exchange(0)) usleep((useconds_t)ms * 1000);
    }
    return real(dir_fd, name, flags);
}

namespace {

const std::string kDefaults =
    "15000 11 Plimby\n13500 10 Påskeharen\n12000 9 Hønemor\n10500 8 Kyllingen\n9000 7 Hanen\n"
    "7500 6 Guldægget\n6000 5 Påskeliljen\n4500 4 Gækkebrevet\n3000 3 Rugeægget\n1500 2 Æggesnapsen\n";

std::string ten_rows(const char *prefix) {
    std::string s;
    for (int i = 0; i < 10; i++) s += std::to_string(90000 - 1000 * i) + " 9 " + prefix + std::to_string(i) + "\n";
    return s;
}

// The start of a run with these two files: paths set, both read.
void start_with(const std::string &records, const std::string &settings = "") {
    std::snprintf(app_records_path, sizeof app_records_path, "%s", records.c_str());
    std::snprintf(app_settings_path, sizeof app_settings_path, "%s", settings.c_str());
    app_fill_default_high_scores();
    app_read_high_scores();
    app_read_settings();
}

void forget_paths() {
    app_records_path[0] = '\0';
    app_settings_path[0] = '\0';
    app_read_high_scores();
    app_read_settings();
}

// Ends a game with this score the way the name entry does when the name is confirmed.
void commit(const char *name, int32_t score, int32_t level_index = 4) {
    app_new_record_slot = app_high_score_slot(app_high_scores, score);
    std::snprintf(app_name_buf, sizeof app_name_buf, "%s", name);
    game_state.score = score;
    game_state.level = level_index;
    app_music_on = 0;
    app_commit_high_score();
}

bool table_has(const char *name, int32_t score) {
    for (const HighScoreEntry &row : app_high_scores) {
        if (std::strcmp(row.name, name) == 0 && row.score == score) return true;
    }
    return false;
}

// Runs fn in a child whose standard error goes to a file; returns the status and what
// it wrote there.
int in_child_with_stderr(const std::function<int()> &fn, std::string *err, bool drop_root = false) {
    TempDir dir;
    const std::string file = dir / "stderr.txt";
    int rc = testutil::in_child(
        [&] {
            int fd = open(file.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0666);
            if (fd < 0 || dup2(fd, 2) < 0) return 120;
            return fn();
        },
        drop_root);
    *err = testutil::read_file(file);
    return rc;
}

std::string mode_and_text(const std::string &path) {
    struct stat st;
    if (lstat(path.c_str(), &st) != 0) return "missing";
    return std::to_string(st.st_mode & 07777) + ":" + testutil::read_file(path);
}

bool root() { return geteuid() == 0; }

// What a folder holds after commits: the record file, and the lock file the copies of the
// game take turns under, which stays.
const std::vector<std::string> kRecordsAndLock = {"rekorder.txt", "rekorder.txt.lock"};

bool starts_with(const std::string &text, const std::string &start) { return text.compare(0, start.size(), start) == 0; }

// Another copy of the game commits this row meanwhile, in a child: without a word.
void another_copy_commits(const char *name, int32_t score) {
    std::string err;
    EXPECT_EQ(in_child_with_stderr(
                  [&] {
                      commit(name, score);
                      return 0;
                  },
                  &err),
              0);
    EXPECT_EQ(err, "");
}

// What stands at a path, in one line: its type, mode, owner and what it holds or names.
std::string describe(const std::string &path) {
    struct stat st;
    if (lstat(path.c_str(), &st) != 0) return "missing";
    std::string head = std::to_string(st.st_mode) + ":" + std::to_string(st.st_uid) + ":";
    if (S_ISLNK(st.st_mode)) {
        char text[4096];
        ssize_t n = readlink(path.c_str(), text, sizeof text);
        return head + std::string(text, n > 0 ? (size_t)n : 0);
    }
    if (S_ISDIR(st.st_mode)) return head + std::to_string(testutil::list_dir(path).size());
    if (S_ISREG(st.st_mode)) return head + testutil::read_file(path);
    return head;
}

}  // namespace

TEST(UnreadableFiles, AreNeverReplacedAndTheHighScoresSaySo) {
    // A record file of mode 000 counted as missing: the next commit wrote the defaults
    // and the new row over ten real rows.
    if (!root()) GTEST_SKIP() << "needs a second user to own the unreadable files";
    TempDir dir;
    const std::string records = dir / "rekorder.txt";
    const std::string settings = dir / "indstillinger.txt";
    testutil::write_file(records, ten_rows("Real"));
    testutil::write_file(settings, "sprog de\n");
    chmod(records.c_str(), 0);
    chmod(settings.c_str(), 0);
    const std::string before_records = mode_and_text(records);
    const std::string before_settings = mode_and_text(settings);
    std::string err;
    int rc = in_child_with_stderr(
        [&] {
            start_with(records, settings);
            if (app_high_scores[0].score != 15000) return 2;  // the defaults in memory
            if (app_settings_lang[0] != '\0') return 3;
            commit("Zed", 20000);
            if (!table_has("Zed", 20000) || app_high_scores[0].score != 20000) return 4;  // play goes on with it
            commit("Ann", 16000);
            if (app_write_settings("fr") != 0) return 5;
            return 0;
        },
        &err, true);
    EXPECT_EQ(rc, 0);
    EXPECT_EQ(mode_and_text(records), before_records);
    EXPECT_EQ(mode_and_text(settings), before_settings);
    const std::string line = "high scores not saved: " + records +
                             ": it could not be read (Permission denied) and is left as it is\n";
    EXPECT_EQ(err, line + line);  // once for each commit; nothing for the settings
    EXPECT_EQ(testutil::list_dir(dir.path()), (std::vector<std::string>{"indstillinger.txt", "rekorder.txt"}));

    // Without a settings read at the start (the language came from the command line), an
    // unreadable settings file stays too.
    rc = testutil::in_child(
        [&] {
            std::snprintf(app_settings_path, sizeof app_settings_path, "%s", settings.c_str());
            return app_write_settings("fr") == 0 && app_save_error == EACCES ? 0 : 1;
        },
        true);
    EXPECT_EQ(rc, 0);
    EXPECT_EQ(mode_and_text(settings), before_settings);

    // Readable again in a later run, it is saved as before.
    chmod(records.c_str(), 0644);
    start_with(records);
    commit("Zed", 95000);
    EXPECT_EQ(testutil::read_file(records).substr(0, 15), "95000 5 Zed\n900");
    forget_paths();
}

TEST(UnreadableFiles, AMissingFileIsStillMadeAndAFolderInThePathStopsNothing) {
    TempDir dir;
    // No file: made by the first commit, with nothing left beside it.
    start_with(dir / "rekorder.txt");
    commit("Zed", 16000);
    EXPECT_EQ(testutil::read_file(dir / "rekorder.txt").substr(0, 32), "16000 5 Zed\n15000 11 Plimby\n1350");
    EXPECT_EQ(testutil::list_dir(dir.path()), kRecordsAndLock);
    // A file in the way of the data folder, or no data folder at all (a home that does
    // not exist): nothing to keep, the save just fails and says so, and nothing is made
    // anywhere. A missing folder was taken for a file not made yet, and the save failed
    // on a bad descriptor.
    testutil::write_file(dir / "plain", "x");
    const std::pair<std::string, std::string> cases[] = {{dir / "plain/rekorder.txt", "Not a directory"},
                                                         {dir / "gone/rekorder.txt", "No such file or directory"}};
    for (const auto &c : cases) {
        std::string err;
        int rc = in_child_with_stderr(
            [&] {
                start_with(c.first);
                commit("Zed", 16000);
                return table_has("Zed", 16000) ? 0 : 1;
            },
            &err);
        EXPECT_EQ(rc, 0);
        EXPECT_EQ(err, "high scores not saved: " + c.first + ": " + c.second + "\n");
    }
    EXPECT_EQ(testutil::list_dir(dir.path()), (std::vector<std::string>{"plain", "rekorder.txt", "rekorder.txt.lock"}));
    forget_paths();
}

TEST(TwoCopies, KeepBothRowsInEitherOrder) {
    // Two copies with the same home: the second commit wrote the table it had read at its
    // start, and the first copy's row was gone.
    TempDir dir;
    const std::string records = dir / "rekorder.txt";
    for (bool file_there : {true, false}) {
        for (int order = 0; order < 2; order++) {
            unlink(records.c_str());
            if (file_there) testutil::write_file(records, kDefaults);
            start_with(records);  // both copies start from here
            const int32_t first = order == 0 ? 20000 : 16000;
            const int32_t second = order == 0 ? 16000 : 20000;
            EXPECT_EQ(testutil::in_child([&] {
                          commit("A", first);
                          return 0;
                      }),
                      0);
            EXPECT_EQ(testutil::in_child([&] {
                          commit("B", second);
                          // The table in memory is what was saved: the other copy's row too.
                          return table_has("A", first) && table_has("B", second) ? 0 : 1;
                      }),
                      0);
            const std::string text = testutil::read_file(records);
            EXPECT_TRUE(starts_with(text, order == 0 ? "20000 5 A\n16000 5 B\n15000 11 Plimby\n13500 10 "
                                                     : "20000 5 B\n16000 5 A\n15000 11 Plimby\n13500 10 "))
                << text;
            EXPECT_EQ(std::count(text.begin(), text.end(), '\n'), 10);
            EXPECT_EQ(testutil::list_dir(dir.path()), kRecordsAndLock);
        }
    }
    // With one copy nothing changes: a score that beats no row of the file takes none.
    start_with(records);
    commit("C", 100);
    EXPECT_FALSE(table_has("C", 100));
    forget_paths();
}

namespace {

// Copies started from the file as it stands commit P0 30000, P1 30100 ... at one
// instant, each in a child. Returns the longest commit in tenths of a second (121 when a
// copy failed), and what the copies wrote on standard error.
int commit_at_once(const std::string &records, int copies, std::string *err) {
    start_with(records);
    TempDir errs;
    int go[2];
    if (pipe(go) != 0) return 121;
    std::vector<pid_t> children;
    for (int i = 0; i < copies; i++) {
        std::fflush(nullptr);
        pid_t pid = fork();
        if (pid < 0) return 121;
        if (pid == 0) {
            close(go[1]);
            int fd = open((errs / std::to_string(i)).c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0666);
            if (fd < 0 || dup2(fd, 2) < 0) _exit(121);
            char c;
            while (read(go[0], &c, 1) < 0 && errno == EINTR) {
            }
            using namespace std::chrono;
            const auto start = steady_clock::now();
            commit(("P" + std::to_string(i)).c_str(), 30000 + 100 * i);
            const long long ms = duration_cast<milliseconds>(steady_clock::now() - start).count();
            _exit((int)std::min<long long>(ms / 100, 120));
        }
        children.push_back(pid);
    }
    close(go[0]);
    close(go[1]);  // all of them go at once
    int longest = 0;
    for (pid_t pid : children) {
        int status = 0;
        waitpid(pid, &status, 0);
        longest = std::max(longest, WIFEXITED(status) ? WEXITSTATUS(status) : 121);
    }
    err->clear();
    for (int i = 0; i < copies; i++) *err += testutil::read_file(errs / std::to_string(i));
    return longest;
}

// The rows of copies P0 ... P<copies - 1>, best first.
std::string rows_of_copies(int copies) {
    std::string rows;
    for (int i = copies - 1; i >= 0; i--) rows += std::to_string(30000 + 100 * i) + " 5 P" + std::to_string(i) + "\n";
    return rows;
}

// Eight copies at once from the default table: every row must be in the file, above its
// two best old rows.
int eight_commit_at_once(const std::string &records, std::string *err) {
    const int longest = commit_at_once(records, 8, err);
    EXPECT_EQ(testutil::read_file(records), rows_of_copies(8) + "15000 11 Plimby\n13500 10 Påskeharen\n");
    return longest;
}

// A copy that commits S 40000 in a child and gets stuck while it holds the lock, with
// stuck() to set up how; returns once the copy is writing its temporary file.
pid_t stuck_copy_commits(const std::string &dir, const std::function<void()> &stuck) {
    std::fflush(nullptr);
    pid_t pid = fork();
    if (pid == 0) {
        int null_fd = open("/dev/null", O_WRONLY);
        dup2(null_fd, 2);
        stuck();
        commit("S", 40000);
        _exit(0);
    }
    for (int i = 0; i < 500 && testutil::list_dir(dir).size() < 3; i++) usleep(10000);
    return pid;
}

}  // namespace

TEST(TwoCopies, EightAtOnceLoseNothing) {
    TempDir dir;
    const std::string records = dir / "rekorder.txt";
    testutil::write_file(records, kDefaults);
    std::string err;
    EXPECT_LE(eight_commit_at_once(records, &err), 120);
    EXPECT_EQ(err, "");
    EXPECT_EQ(testutil::list_dir(dir.path()), kRecordsAndLock);
    forget_paths();
}

TEST(TwoCopies, EightAtOnceOnASlowDiskLoseNothing) {
    // With every fsync taking 0.4 s, the later copies of a queue reached the wait's end
    // while the queue still moved, went in together without the lock and lost rows.
    TempDir dir;
    const std::string records = dir / "rekorder.txt";
    testutil::write_file(records, kDefaults);
    every_fsync_ms = 400;
    std::string err;
    EXPECT_LE(eight_commit_at_once(records, &err), 120);
    every_fsync_ms = 0;
    EXPECT_EQ(err, "");
    forget_paths();
}

TEST(TwoCopies, ALockOnTheRecordFileHoldsNoSaveUp) {
    // Any user who may read the record file could hold its lock: every copy then waited
    // three seconds, and all of them went on at the same moment, overwriting each other's
    // rows without a word. Copies take turns under a lock file of their own.
    TempDir dir;
    const std::string records = dir / "rekorder.txt";
    for (int round = 0; round < 20 && !HasFailure(); round++) {
        unlink(records.c_str());
        testutil::write_file(records, kDefaults);
        testutil::LockHolder holder(records);  // on the file the copies will read
        ASSERT_TRUE(holder.holding());
        std::string err;
        EXPECT_LE(eight_commit_at_once(records, &err), 15) << "round " << round;
        EXPECT_EQ(err, "") << "round " << round;
    }
    EXPECT_EQ(testutil::list_dir(dir.path()), kRecordsAndLock);
    forget_paths();
}

TEST(TwoCopies, ACopyStuckForSecondsHoldsTheOthersUpAndLosesNoRow) {
    // A copy stuck for 5 s in its save held the lock past the old 3 s wait; the copies
    // behind it then went in together and lost rows without a word.
    TempDir dir;
    const std::string records = dir / "rekorder.txt";
    const std::function<void()> ways[2] = {[] { slow_fsync_ms = 5000; }, [] { slow_rename_ms = 5000; }};
    for (int way = 0; way < 2; way++) {
        testutil::write_file(records, kDefaults);
        start_with(records);
        pid_t stuck = stuck_copy_commits(dir.path(), ways[way]);
        ASSERT_GT(stuck, 0);
        usleep(500000);
        std::string err;
        EXPECT_LE(commit_at_once(records, 7, &err), 100) << way;
        EXPECT_EQ(err, "") << way;
        int status = 0;
        waitpid(stuck, &status, 0);
        EXPECT_EQ(testutil::read_file(records), "40000 5 S\n" + rows_of_copies(7) + "15000 11 Plimby\n13500 10 Påskeharen\n")
            << way;
    }
    forget_paths();
}

TEST(FailedSaves, SayWhyAndKeepTheOldFileAndTheOwner) {
    TempDir dir;
    ASSERT_EQ(::mkdir((dir / "data").c_str(), 0777), 0);
    const std::string records = dir / "data/rekorder.txt";
    testutil::write_file(records, kDefaults);
    chmod(records.c_str(), 0666);

    // A disk that takes no more (the file-size limit stands in for it), then room again:
    // the row waits in memory, and the next save that goes through brings it along.
    std::string err;
    std::string after_failure;
    int rc = in_child_with_stderr(
        [&] {
            signal(SIGXFSZ, SIG_IGN);
            struct rlimit lim = {150, RLIM_INFINITY};  // room for the line, not the table
            setrlimit(RLIMIT_FSIZE, &lim);
            start_with(records);
            commit("Zed", 20000);
            if (!table_has("Zed", 20000)) return 1;
            after_failure = testutil::read_file(records) + ":" + std::to_string(testutil::list_dir(dir / "data").size());
            if (after_failure != kDefaults + ":2") return 2;  // the file and its lock file
            lim.rlim_cur = RLIM_INFINITY;
            setrlimit(RLIMIT_FSIZE, &lim);
            commit("Bo", 16000);
            return table_has("Zed", 20000) && table_has("Bo", 16000) ? 0 : 3;
        },
        &err);
    EXPECT_EQ(rc, 0);
    EXPECT_EQ(err, "high scores not saved: " + records + ": File too large\n");
    EXPECT_EQ(testutil::read_file(records).substr(0, 36), "20000 5 Zed\n16000 5 Bo\n15000 11 Plim");
    EXPECT_EQ(testutil::list_dir(dir / "data"), kRecordsAndLock);
    testutil::write_file(records, kDefaults);

    // A folder the player may not write to. The player is another user from here on: the
    // lock file the first one made is not theirs.
    if (root()) {
        const std::string lock = dir / "data/rekorder.txt.lock";
        unlink(lock.c_str());
        chmod((dir / "data").c_str(), 0555);
        rc = in_child_with_stderr(
            [&] {
                start_with(records);
                commit("Zed", 20000);
                // The settings file fails without a word.
                std::snprintf(app_settings_path, sizeof app_settings_path, "%s", (dir / "data/x").c_str());
                app_write_settings("fr");
                return table_has("Zed", 20000) ? 0 : 1;
            },
            &err, true);
        EXPECT_EQ(rc, 0);
        EXPECT_EQ(err, "high scores not saved: " + records + ": Permission denied\n");
        EXPECT_EQ(testutil::read_file(records), kDefaults);
        chmod((dir / "data").c_str(), 0777);

        // A replaced file keeps its owner and group where the system allows it.
        ASSERT_EQ(chown(records.c_str(), testutil::kNobody, testutil::kNobody), 0);
        chmod(records.c_str(), 0640);
        start_with(records);
        commit("Zed", 20000);
        struct stat st;
        ASSERT_EQ(stat(records.c_str(), &st), 0);
        EXPECT_EQ(st.st_uid, testutil::kNobody);
        EXPECT_EQ(st.st_gid, testutil::kNobody);
        EXPECT_EQ(st.st_mode & 07777, 0640u);
        EXPECT_EQ(testutil::read_file(records).substr(0, 12), "20000 5 Zed\n");
        // Where it does not (a player saving over a file of another user in the player's
        // own folder), the save goes on and the file becomes the player's.
        ASSERT_EQ(chown(records.c_str(), 0, 0), 0);
        chmod(records.c_str(), 0644);
        ASSERT_EQ(chown((dir / "data").c_str(), testutil::kNobody, testutil::kNobody), 0);
        unlink(lock.c_str());
        rc = testutil::in_child(
            [&] {
                start_with(records);
                commit("Bo", 30000);
                return 0;
            },
            true);
        EXPECT_EQ(rc, 0);
        ASSERT_EQ(stat(records.c_str(), &st), 0);
        EXPECT_EQ(st.st_uid, testutil::kNobody);
        EXPECT_EQ(testutil::read_file(records).substr(0, 11), "30000 5 Bo\n");
    }
    forget_paths();
}

TEST(FailedSaves, AFirstSaveThatFailsLeavesAnotherCopysFileAlone) {
    // With no record file yet, a copy made an empty one to hold a lock and removed it
    // after its save failed. Slow to, it removed the file another copy had saved into
    // that name meanwhile, though that copy had reported success.
    TempDir dir;
    const std::string records = dir / "rekorder.txt";
    start_with(records);
    std::fflush(nullptr);
    pid_t failing = fork();
    ASSERT_GE(failing, 0);
    if (failing == 0) {
        int null_fd = open("/dev/null", O_WRONLY);
        dup2(null_fd, 2);
        signal(SIGXFSZ, SIG_IGN);
        struct rlimit lim = {150, RLIM_INFINITY};  // less than the table
        setrlimit(RLIMIT_FSIZE, &lim);
        slow_unlink_ms = 6000;
        commit("Zed", 20000);
        _exit(0);
    }
    // Under way once it has put something into the folder.
    for (int i = 0; i < 200 && testutil::list_dir(dir.path()).empty(); i++) usleep(10000);
    another_copy_commits("Bo", 16000);
    int status = 0;
    waitpid(failing, &status, 0);
    EXPECT_EQ(testutil::read_file(records).substr(0, 27), "16000 5 Bo\n15000 11 Plimby\n");
    forget_paths();
}

TEST(LockFile, IsThePlayersOwnAndNoOtherUserCanOpenIt) {
    if (!root()) GTEST_SKIP() << "needs a second user to try it";
    TempDir dir;
    ASSERT_EQ(chmod(dir.path().c_str(), 0755), 0);
    const std::string lock = dir / "rekorder.txt.lock";
    start_with(dir / "rekorder.txt");
    EXPECT_FALSE(testutil::exists(lock));  // made by the first commit, not by a start
    commit("Zed", 20000);
    struct stat st;
    ASSERT_EQ(lstat(lock.c_str(), &st), 0);
    EXPECT_TRUE(S_ISREG(st.st_mode));
    EXPECT_EQ(st.st_uid, geteuid());
    EXPECT_EQ(st.st_mode & 07777, 0600u);
    EXPECT_EQ(st.st_size, 0);
    EXPECT_EQ(testutil::in_child([&] { return open(lock.c_str(), O_RDONLY) < 0 && errno == EACCES ? 0 : 1; }, true),
              0);
    forget_paths();
}

TEST(LockFile, ACopyStuckPastTheWaitHoldsTheOthersUpTenSecondsAndNothingIsWritten) {
    // Copies behind one stuck past the wait went on without the lock, together, and
    // lost rows while each of them said nothing.
    TempDir dir;
    const std::string records = dir / "rekorder.txt";
    testutil::write_file(records, kDefaults);
    start_with(records);
    pid_t stuck = stuck_copy_commits(dir.path(), [] { slow_fsync_ms = 15000; });
    ASSERT_GT(stuck, 0);
    std::string err;
    EXPECT_LE(commit_at_once(records, 7, &err), 110);
    std::string line = "high scores not saved: " + records + ": another copy of the game is holding rekorder.txt.lock\n";
    std::string lines;
    for (int i = 0; i < 7; i++) lines += line;
    EXPECT_EQ(err, lines);
    EXPECT_EQ(testutil::read_file(records), kDefaults);  // nothing while it is stuck
    int status = 0;
    waitpid(stuck, &status, 0);
    EXPECT_EQ(testutil::read_file(records), "40000 5 S\n" + kDefaults.substr(0, kDefaults.rfind("1500 2")));
    forget_paths();
}

TEST(LockFile, WhatStandsInItsPlaceIsLeftAloneAndNothingIsWritten) {
    // Anything but a private lock file of the player's was passed over, and the copies
    // wrote without the lock and lost rows without a word; a second link to the lock
    // file was taken for it, so whoever held the other name held every save up.
    TempDir dir;
    const std::string records = dir / "rekorder.txt";
    const std::string lock = dir / "rekorder.txt.lock";
    const std::string target = dir / "target";
    auto private_target = [&] {
        testutil::write_file(target, "mine\n");
        chmod(target.c_str(), 0600);
    };
    struct Case {
        const char *what;
        bool needs_root;
        std::function<void()> make;
        std::string held;  // what a lock holder holds meanwhile; empty for nothing
    } cases[] = {
        {"a file others may open", false,
         [&] {
             testutil::write_file(lock, "");
             chmod(lock.c_str(), 0644);
         },
         lock},
        {"a FIFO", false, [&] { mkfifo(lock.c_str(), 0600); }, ""},
        {"a link to a file", false,
         [&] {
             private_target();
             symlink(target.c_str(), lock.c_str());
         },
         target},
        {"a link to nothing", false, [&] { symlink(target.c_str(), lock.c_str()); }, ""},
        {"a second link to a file", false,
         [&] {
             private_target();
             link(target.c_str(), lock.c_str());
         },
         target},
        {"a folder", false, [&] { ::mkdir(lock.c_str(), 0700); }, lock},
        {"another user's file", true,
         [&] {
             testutil::write_file(lock, "");
             chmod(lock.c_str(), 0600);
             chown(lock.c_str(), testutil::kNobody, testutil::kNobody);
         },
         lock},
    };
    const std::string line =
        "high scores not saved: " + records + ": rekorder.txt.lock is not a private lock file of yours and is left alone\n";
    for (const Case &c : cases) {
        if (c.needs_root && !root()) continue;
        for (const std::string &name : {lock, target}) {
            unlink(name.c_str());
            rmdir(name.c_str());
        }
        c.make();
        testutil::write_file(records, kDefaults);
        const std::string before = describe(lock) + "|" + describe(target);
        std::unique_ptr<testutil::LockHolder> holder;
        if (!c.held.empty()) {
            holder.reset(new testutil::LockHolder(c.held));
            ASSERT_TRUE(holder->holding()) << c.what;
        }
        std::string err;
        EXPECT_LE(commit_at_once(records, 4, &err), 15) << c.what;  // no copy waits
        holder.reset();
        EXPECT_EQ(err, line + line + line + line) << c.what;
        EXPECT_EQ(testutil::read_file(records), kDefaults) << c.what;
        EXPECT_EQ(describe(lock) + "|" + describe(target), before) << c.what;
    }
    forget_paths();
}

TEST(ProtectedLinks, AreNotFollowedWhetherOrNotTheSystemEnforcesIt) {
    // Another user's link in /tmp could aim the player's next save at any file the
    // player may write.
    if (!root()) GTEST_SKIP() << "needs other users to own the links";
    const uid_t other = testutil::kNobody - 1;
    TempDir dir;
    ASSERT_EQ(::mkdir((dir / "data").c_str(), 0755), 0);
    ASSERT_EQ(::mkdir((dir / "shared").c_str(), 0755), 0);
    ASSERT_EQ(chmod((dir / "shared").c_str(), 01777), 0);  // like /tmp
    const std::string victim = dir / "victim.txt";
    testutil::write_file(victim, "precious\n");
    const std::string records = dir / "data/rekorder.txt";
    ASSERT_EQ(symlink("../shared/scores", records.c_str()), 0);  // the player's own link
    const std::string planted = dir / "shared/scores";
    ASSERT_EQ(symlink(victim.c_str(), planted.c_str()), 0);

    struct Case {
        uid_t link_owner, folder_owner;
        mode_t folder_mode;
        bool followed;
    } cases[] = {
        {other, 0, 01777, false},                 // planted by another user: refused
        {other, testutil::kNobody, 01777, false},  // by neither the player nor the folder's owner
        {0, testutil::kNobody, 01777, true},      // the player's own link
        {other, other, 01777, true},              // the folder's owner's link
        {other, 0, 0777, true},                   // a folder without the sticky bit
        {other, 0, 01775, true},                  // not writable by everyone
    };
    for (const Case &c : cases) {
        testutil::write_file(victim, "precious\n");
        ASSERT_EQ(lchown(planted.c_str(), c.link_owner, c.link_owner), 0);
        ASSERT_EQ(chown((dir / "shared").c_str(), c.folder_owner, c.folder_owner), 0);
        ASSERT_EQ(chmod((dir / "shared").c_str(), c.folder_mode), 0);
        const std::string what = std::to_string(c.link_owner) + " in " + std::to_string(c.folder_owner) + "/" +
                                 std::to_string(c.folder_mode);
        std::string err;
        int rc = in_child_with_stderr(
            [&] {
                start_with(records);
                commit("Zed", 20000);
                std::snprintf(app_settings_path, sizeof app_settings_path, "%s", records.c_str());
                int settings_saved = app_write_settings("fr");
                if (settings_saved != (c.followed ? 1 : 0)) return 1;
                if (!c.followed && app_save_error != APP_SAVE_PROTECTED_LINK) return 2;
                return table_has("Zed", 20000) ? 0 : 3;
            },
            &err);
        EXPECT_EQ(rc, 0) << what;
        if (c.followed) {
            EXPECT_EQ(err, "") << what;
            EXPECT_EQ(testutil::read_file(victim), "sprog fr\n") << what;
        } else {
            EXPECT_EQ(err, "high scores not saved: " + records +
                               ": a link in a shared folder that belongs to another user is not followed\n")
                << what;
            EXPECT_EQ(testutil::read_file(victim), "precious\n") << what;
        }
        struct stat st;
        ASSERT_EQ(lstat(planted.c_str(), &st), 0);
        EXPECT_TRUE(S_ISLNK(st.st_mode)) << what;
        EXPECT_EQ(testutil::list_dir(dir / "shared"), std::vector<std::string>{"scores"}) << what;
    }

    // A planted link to a folder on the way to the file is refused the same way.
    ASSERT_EQ(chown((dir / "shared").c_str(), 0, 0), 0);
    ASSERT_EQ(chmod((dir / "shared").c_str(), 01777), 0);
    ASSERT_EQ(symlink((dir / "data").c_str(), (dir / "shared/folder").c_str()), 0);
    ASSERT_EQ(lchown((dir / "shared/folder").c_str(), other, other), 0);
    std::snprintf(app_settings_path, sizeof app_settings_path, "%s", (dir / "shared/folder/x").c_str());
    EXPECT_EQ(app_write_settings("fr"), 0);
    EXPECT_EQ(app_save_error, APP_SAVE_PROTECTED_LINK);
    EXPECT_FALSE(testutil::exists(dir / "data/x"));
    forget_paths();
}

TEST(LinksAndNames, ChainsOfUpToFortyLinks) {
    TempDir dir;
    // Forty links are followed, as the kernel follows them; the forty-first is a loop.
    const std::string target = dir / "target.txt";
    std::string next = "target.txt";
    for (int i = 1; i <= 41; i++) {
        const std::string name = "link" + std::to_string(i);
        ASSERT_EQ(symlink(next.c_str(), (dir / name).c_str()), 0);
        next = name;
    }
    std::snprintf(app_settings_path, sizeof app_settings_path, "%s", (dir / "link40").c_str());
    EXPECT_EQ(app_write_settings("fr"), 1);
    EXPECT_EQ(testutil::read_file(target), "sprog fr\n");
    std::snprintf(app_settings_path, sizeof app_settings_path, "%s", (dir / "link41").c_str());
    EXPECT_EQ(app_write_settings("de"), 0);
    EXPECT_EQ(app_save_error, ELOOP);
    EXPECT_EQ(testutil::read_file(target), "sprog fr\n");
    forget_paths();
}

TEST(LinksAndNames, ATargetNameOf255Bytes) {
    TempDir other;
    const std::string long_name(255, 'n');
    ASSERT_EQ(symlink(long_name.c_str(), (other / "rekorder.txt").c_str()), 0);
    start_with(other / "rekorder.txt");
    commit("Zed", 20000);
    EXPECT_EQ(testutil::read_file(other / long_name).substr(0, 12), "20000 5 Zed\n");
    EXPECT_EQ(testutil::list_dir(other.path()), (std::vector<std::string>{long_name, "rekorder.txt", "rekorder.txt.lock"}));
    // A save of it killed half-way leaves a temporary file of a shortened name, which a
    // later start recognises.
    int rc = testutil::in_child([&] {
        struct rlimit no_core = {0, 0};
        setrlimit(RLIMIT_CORE, &no_core);
        signal(SIGXFSZ, SIG_DFL);
        struct rlimit lim = {16, 16};
        setrlimit(RLIMIT_FSIZE, &lim);
        app_write_high_scores();
        return 0;
    });
    EXPECT_EQ(rc, 128 + SIGXFSZ);
    std::vector<std::string> names = testutil::list_dir(other.path());
    ASSERT_EQ(names.size(), 4u);
    const std::string leftover = names[0];
    EXPECT_EQ(leftover.size(), 255u);
    EXPECT_EQ(leftover.compare(0, 249, long_name.substr(0, 235) + ".kestrune-tmp-"), 0) << leftover;
    struct timeval old_times[2] = {{time(nullptr) - 120, 0}, {time(nullptr) - 120, 0}};
    utimes((other / leftover).c_str(), old_times);
    app_remove_stale_temp_files();
    EXPECT_EQ(testutil::list_dir(other.path()), (std::vector<std::string>{long_name, "rekorder.txt", "rekorder.txt.lock"}));
    forget_paths();
}

TEST(LinksAndNames, ALinkWhoseFolderAndTextTogetherPassPathMax) {
    // Followed from its folder, so nothing that long is ever built.
    TempDir dir;
    std::string deep = dir.path();
    for (int i = 0; i < 19; i++) {
        deep += "/" + std::string(200, 'a');
        ASSERT_EQ(::mkdir(deep.c_str(), 0755), 0);
    }
    ASSERT_EQ(::mkdir((dir / std::string(200, 'b')).c_str(), 0755), 0);
    std::string text;
    for (int i = 0; i < 19; i++) text += "../";
    text += std::string(200, 'b') + "/deep.txt";
    const std::string link = deep + "/indstillinger.txt";
    ASSERT_LT(link.size(), 4096u);
    ASSERT_GT(deep.size() + 1 + text.size(), 4096u);
    ASSERT_EQ(symlink(text.c_str(), link.c_str()), 0);
    std::snprintf(app_settings_path, sizeof app_settings_path, "%s", link.c_str());
    EXPECT_EQ(app_write_settings("sv"), 1);
    EXPECT_STREQ(app_read_settings(), "sv");
    EXPECT_EQ(testutil::read_file(dir / (std::string(200, 'b') + "/deep.txt")), "sprog sv\n");
    forget_paths();
}

TEST(StaleTemporaryFiles, ASaveStuckForMinutesIsNotCleanedAway) {
    // The clean-up at start-up deleted the temporary file of another copy's save that
    // had been stuck in fsync for a minute, and that save was lost without a word.
    TempDir dir;
    const std::string settings = dir / "indstillinger.txt";
    testutil::write_file(settings, "sprog de\n");
    start_with("", settings);
    std::fflush(nullptr);
    pid_t saver = fork();
    ASSERT_GE(saver, 0);
    if (saver == 0) {
        slow_fsync_ms = 3000;
        _exit(app_write_settings("fr") == 1 ? 0 : 1);
    }
    // Once its bytes are written, the stuck save's file looks two minutes old.
    std::string temp;
    for (int i = 0; i < 200 && temp.empty(); i++) {
        for (const std::string &name : testutil::list_dir(dir.path())) {
            if (name.find(".kestrune-tmp-") != std::string::npos && testutil::file_size(dir / name) == 9) temp = name;
        }
        if (temp.empty()) usleep(10000);
    }
    ASSERT_FALSE(temp.empty());
    struct timeval old_times[2] = {{time(nullptr) - 120, 0}, {time(nullptr) - 120, 0}};
    utimes((dir / temp).c_str(), old_times);
    app_remove_stale_temp_files();
    EXPECT_TRUE(testutil::exists(dir / temp));
    int status = 0;
    waitpid(saver, &status, 0);
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << status;
    EXPECT_EQ(testutil::read_file(settings), "sprog fr\n");
    EXPECT_EQ(testutil::list_dir(dir.path()), std::vector<std::string>{"indstillinger.txt"});
    forget_paths();
}
