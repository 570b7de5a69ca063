// Kestrune tests: helpers for files and child processes.
#include "test_util.h"

#include <dirent.h>
#include <fcntl.h>
#include <ftw.h>
#include <poll.h>
#include <signal.h>
#include <sys/file.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <stdexcept>

namespace testutil {

namespace {

int remove_entry(const char *path, const struct stat *, int, struct FTW *) {
    // Folders a test made read-only must be opened up again to empty them.
    chmod(path, 0700);
    std::remove(path);
    return 0;
}

int open_up(const char *path, const struct stat *sb, int flag, struct FTW *) {
    if (flag == FTW_D || flag == FTW_DNR) chmod(path, (sb->st_mode & 07777) | 0700);
    return 0;
}

void drop_privileges() {
    if (geteuid() == 0) {
        if (setgid(kNobody) != 0 || setuid(kNobody) != 0) _exit(125);
    }
}

double now_seconds() {
    struct timespec ts;
    clock_gettime(CLOCK_MONOTONIC, &ts);
    return (double)ts.tv_sec + (double)ts.tv_nsec / 1e9;
}

int decode_status(int status) {
    if (WIFEXITED(status)) return WEXITSTATUS(status);
    if (WIFSIGNALED(status)) return 128 + WTERMSIG(status);
    return -1;
}

}  // namespace

TempDir::TempDir() {
    const char *base = std::getenv("TMPDIR");
    std::string pattern = std::string(base && *base ? base : "/tmp") + "/kestrune-test-XXXXXX";
    std::vector<char> buf(pattern.begin(), pattern.end());
    buf.push_back('\0');
    if (!mkdtemp(buf.data())) throw std::runtime_error("mkdtemp failed");
    path_ = buf.data();
    // Open to every user, so that a child that gave up root can still reach it.
    chmod(path_.c_str(), 0777);
}

TempDir::~TempDir() {
    nftw(path_.c_str(), open_up, 16, FTW_PHYS);
    nftw(path_.c_str(), remove_entry, 16, FTW_DEPTH | FTW_PHYS);
}

bool exists(const std::string &path) {
    struct stat st;
    return lstat(path.c_str(), &st) == 0;
}

bool is_dir(const std::string &path) {
    struct stat st;
    return stat(path.c_str(), &st) == 0 && S_ISDIR(st.st_mode);
}

long file_size(const std::string &path) {
    struct stat st;
    if (stat(path.c_str(), &st) != 0) return -1;
    return (long)st.st_size;
}

std::string read_file(const std::string &path) {
    std::string s;
    FILE *f = std::fopen(path.c_str(), "rb");
    if (!f) return s;
    char buf[65536];
    size_t n;
    while ((n = std::fread(buf, 1, sizeof buf, f)) > 0) s.append(buf, n);
    std::fclose(f);
    return s;
}

void write_file(const std::string &path, const std::string &bytes) {
    FILE *f = std::fopen(path.c_str(), "wb");
    if (!f) throw std::runtime_error("cannot write " + path);
    std::fwrite(bytes.data(), 1, bytes.size(), f);
    std::fclose(f);
}

std::vector<std::string> list_dir(const std::string &path) {
    std::vector<std::string> names;
    DIR *d = opendir(path.c_str());
    if (!d) return names;
    while (struct dirent *e = readdir(d)) {
        if (std::strcmp(e->d_name, ".") != 0 && std::strcmp(e->d_name, "..") != 0) names.push_back(e->d_name);
    }
    closedir(d);
    std::sort(names.begin(), names.end());
    return names;
}

int in_child(const std::function<int()> &fn, bool drop_root) {
    std::fflush(nullptr);
    pid_t pid = fork();
    if (pid < 0) return -1;
    if (pid == 0) {
        if (drop_root) drop_privileges();
        int rc = fn();
        std::fflush(nullptr);
        _exit(rc);
    }
    int status = 0;
    while (waitpid(pid, &status, 0) < 0 && errno == EINTR) {
    }
    return decode_status(status);
}

LockHolder::LockHolder(const std::string &path, bool drop_root) {
    int held[2], release[2];
    // Close-on-exec, so that no program a test starts keeps the holder waiting.
    if (pipe2(held, O_CLOEXEC) != 0) return;
    if (pipe2(release, O_CLOEXEC) != 0) {
        close(held[0]);
        close(held[1]);
        return;
    }
    std::fflush(nullptr);
    pid_ = fork();
    if (pid_ == 0) {
        close(release[1]);
        if (drop_root) drop_privileges();
        int fd = open(path.c_str(), O_RDONLY);
        char c = 'x';
        if (fd < 0 || flock(fd, LOCK_EX) != 0 || write(held[1], &c, 1) != 1) _exit(1);
        while (read(release[0], &c, 1) < 0 && errno == EINTR) {
        }
        _exit(0);
    }
    close(held[1]);
    close(release[0]);
    release_ = release[1];
    char c;
    holding_ = pid_ > 0 && read(held[0], &c, 1) == 1;
    close(held[0]);
}

LockHolder::~LockHolder() {
    if (release_ >= 0) close(release_);
    if (pid_ > 0) {
        while (waitpid(pid_, nullptr, 0) < 0 && errno == EINTR) {
        }
    }
}

RunResult run_kestrune(const std::vector<std::string> &args, const std::vector<std::string> &env,
                       const std::string &cwd, bool drop_root) {
    RunOptions options;
    options.cwd = cwd;
    options.drop_root = drop_root;
    return run_kestrune(args, env, options);
}

RunResult run_kestrune(const std::vector<std::string> &args, const std::vector<std::string> &env,
                       const RunOptions &options) {
    const std::string &cwd = options.cwd;
    std::vector<std::string> argv_s;
    argv_s.push_back(KESTRUNE_EXE);
    argv_s.insert(argv_s.end(), args.begin(), args.end());
    std::vector<std::string> env_s = env;
    auto has = [&](const char *key) {
        std::string k = std::string(key) + "=";
        for (auto &e : env_s)
            if (e.compare(0, k.size(), k) == 0) return true;
        return false;
    };
    if (options.default_drivers && !has("SDL_VIDEODRIVER")) env_s.push_back("SDL_VIDEODRIVER=dummy");
    if (options.default_drivers && !has("SDL_AUDIODRIVER")) env_s.push_back("SDL_AUDIODRIVER=dummy");
    for (const char *pass : {"ASAN_OPTIONS", "UBSAN_OPTIONS", "LSAN_OPTIONS"}) {
        const char *v = std::getenv(pass);
        if (v && !has(pass)) env_s.push_back(std::string(pass) + "=" + v);
    }
    std::vector<char *> argv_p, env_p;
    for (auto &s : argv_s) argv_p.push_back(const_cast<char *>(s.c_str()));
    argv_p.push_back(nullptr);
    for (auto &s : env_s) env_p.push_back(const_cast<char *>(s.c_str()));
    env_p.push_back(nullptr);

    int out_pipe[2], err_pipe[2];
    if (pipe(out_pipe) != 0 || pipe(err_pipe) != 0) throw std::runtime_error("pipe failed");
    // A standard output whose reader is gone: the reading end is closed before the start.
    int dead_pipe[2] = {-1, -1};
    if (options.closed_stdout) {
        if (pipe(dead_pipe) != 0) throw std::runtime_error("pipe failed");
        close(dead_pipe[0]);
    }
    std::fflush(nullptr);
    pid_t pid = fork();
    if (pid < 0) throw std::runtime_error("fork failed");
    if (pid == 0) {
        dup2(options.closed_stdout ? dead_pipe[1] : out_pipe[1], 1);
        dup2(err_pipe[1], 2);
        close(out_pipe[0]);
        close(out_pipe[1]);
        close(err_pipe[0]);
        close(err_pipe[1]);
        if (options.closed_stdout) close(dead_pipe[1]);
        if (!cwd.empty() && chdir(cwd.c_str()) != 0) _exit(126);
        if (options.drop_root) drop_privileges();
        // Not inherited from the test runner: a runner that ignores one would hide a
        // game that dies of it.
        for (int sig : {SIGHUP, SIGINT, SIGTERM, SIGPIPE, SIGXFSZ}) signal(sig, SIG_DFL);
        if (options.file_size_limit > 0) {
            struct rlimit limit = {(rlim_t)options.file_size_limit, (rlim_t)options.file_size_limit};
            if (setrlimit(RLIMIT_FSIZE, &limit) != 0) _exit(124);
        }
        execve(argv_p[0], argv_p.data(), env_p.data());
        _exit(127);
    }
    close(out_pipe[1]);
    close(err_pipe[1]);
    if (options.closed_stdout) close(dead_pipe[1]);
    RunResult r;
    struct pollfd fds[2] = {{out_pipe[0], POLLIN, 0}, {err_pipe[0], POLLIN, 0}};
    int open_count = 2;
    const double start = now_seconds();
    bool terminated = options.terminate_after <= 0;
    bool killed = false;
    while (open_count > 0) {
        // Wakes at least every 50 ms to see whether the child's time is up.
        double elapsed = now_seconds() - start;
        if (!terminated && elapsed >= options.terminate_after) {
            kill(pid, options.terminate_signal);
            terminated = true;
        }
        if (!killed && options.kill_after > 0 && elapsed >= options.kill_after) {
            kill(pid, SIGKILL);
            killed = true;
            r.timed_out = true;
        }
        int ready = poll(fds, 2, 50);
        if (ready < 0) {
            if (errno == EINTR) continue;
            break;
        }
        if (ready == 0) continue;
        for (int i = 0; i < 2; i++) {
            if (fds[i].fd < 0 || !(fds[i].revents & (POLLIN | POLLHUP | POLLERR))) continue;
            char buf[4096];
            ssize_t n = read(fds[i].fd, buf, sizeof buf);
            if (n > 0) {
                (i == 0 ? r.out : r.err).append(buf, (size_t)n);
            } else if (n == 0 || errno != EINTR) {
                close(fds[i].fd);
                fds[i].fd = -1;
                open_count--;
            }
        }
    }
    int status = 0;
    while (waitpid(pid, &status, 0) < 0 && errno == EINTR) {
    }
    r.status = decode_status(status);
    return r;
}

}  // namespace testutil
