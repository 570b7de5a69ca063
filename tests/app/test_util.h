// Kestrune tests: temporary folders, whole-file reads and writes, and running a
// function or the executable in a child process.
#pragma once
#include <csignal>
#include <functional>
#include <string>
#include <vector>

namespace testutil {

// A fresh folder under the system's temporary folder, removed with its contents.
class TempDir {
public:
    TempDir();
    ~TempDir();
    TempDir(const TempDir &) = delete;
    TempDir &operator=(const TempDir &) = delete;
    const std::string &path() const { return path_; }
    std::string operator/(const std::string &name) const { return path_ + "/" + name; }

private:
    std::string path_;
};

bool exists(const std::string &path);
bool is_dir(const std::string &path);
long file_size(const std::string &path);  // -1 when missing
std::string read_file(const std::string &path);
void write_file(const std::string &path, const std::string &bytes);
std::vector<std::string> list_dir(const std::string &path);  // sorted names

// Runs fn in a forked child (as the unprivileged user when drop_root is set and we are
// root) and returns its exit status, or 128 + signal number.
int in_child(const std::function<int()> &fn, bool drop_root = false);
// The numeric user the children drop to.
constexpr unsigned kNobody = 65534;

// Holds flock on a file from a child process (as the unprivileged user when drop_root
// is set and we are root), from construction until the object goes.
class LockHolder {
public:
    explicit LockHolder(const std::string &path, bool drop_root = false);
    ~LockHolder();
    LockHolder(const LockHolder &) = delete;
    LockHolder &operator=(const LockHolder &) = delete;
    bool holding() const { return holding_; }

private:
    int release_ = -1;  // closing it lets the holder go
    int pid_ = -1;
    bool holding_ = false;
};

struct RunResult {
    int status = -1;  // exit status, or 128 + signal
    std::string out;
    std::string err;
    bool timed_out = false;  // killed for running past its time limit
};

// How a child run is started and bounded.
struct RunOptions {
    std::string cwd;            // empty: this process's folder
    bool drop_root = false;     // run as the unprivileged user when we are root
    bool default_drivers = true;  // set the SDL drivers to "dummy" unless the env gives them
    double terminate_after = 0;   // > 0: a signal after this many seconds (as a user would stop it)
    int terminate_signal = SIGTERM;  // the signal sent then (SIGHUP: a closed terminal)
    double kill_after = 300;      // SIGKILL after this many seconds: a hang fails, never blocks
    long file_size_limit = 0;     // > 0: RLIMIT_FSIZE of the child, in bytes
    bool closed_stdout = false;   // the child's standard output is a pipe nobody reads any more
};

// Runs the built executable with these arguments and exactly this environment (plus
// the SDL drivers set to "dummy" unless given, and the sanitizer options passed on). The
// child starts with the signals a shell in a terminal gives it: SIGHUP, SIGINT, SIGTERM,
// SIGPIPE and SIGXFSZ at their defaults, whatever the test runner set.
RunResult run_kestrune(const std::vector<std::string> &args, const std::vector<std::string> &env,
                       const RunOptions &options);
RunResult run_kestrune(const std::vector<std::string> &args, const std::vector<std::string> &env,
                       const std::string &cwd = "", bool drop_root = false);

}  // namespace testutil
