// Kestrune start-up benchmark (built, not run by the tests): for one or two kestrune
// executables, run in turn so that both meet the same load, it prints
//   - the time from start to the first presented frame of the interactive game, and the
//     peak resident memory then (through first_frame_shim.so; the window opens on the
//     display of the environment, or SDL's offscreen driver when there is none);
//   - the wall time of a whole "kestrune --test 1" run and its peak resident memory.
// Usage: bench_startup [RUNS] [KESTRUNE [BASELINE]]   (defaults: 15 and the built game)
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

namespace {

struct Run {
    double ms = 0;       // the figure measured
    long peak_kib = 0;  // peak resident memory
    bool ok = false;
};

std::string scratch;

// Runs exe with args, standard error into a file; returns the wall time and the child's
// own peak memory.
Run spawn(const std::string &exe, const std::vector<std::string> &args, bool shim, std::string *err) {
    const std::string err_path = scratch + "/stderr";
    const auto start = std::chrono::steady_clock::now();
    pid_t pid = fork();
    if (pid == 0) {
        if (!freopen(err_path.c_str(), "w", stderr)) _exit(126);
        if (!freopen("/dev/null", "w", stdout)) _exit(126);
        setenv("HOME", scratch.c_str(), 1);
        setenv("SDL_AUDIODRIVER", "dummy", 1);
        if (shim) {
            setenv("LD_PRELOAD", KESTRUNE_SHIM, 1);
            if (!getenv("DISPLAY") && !getenv("WAYLAND_DISPLAY")) setenv("SDL_VIDEODRIVER", "offscreen", 1);
        } else {
            setenv("SDL_VIDEODRIVER", "dummy", 1);
        }
        std::vector<char *> argv;
        argv.push_back(const_cast<char *>(exe.c_str()));
        for (const std::string &a : args) argv.push_back(const_cast<char *>(a.c_str()));
        argv.push_back(nullptr);
        execv(exe.c_str(), argv.data());
        _exit(127);
    }
    Run run;
    int status = 0;
    struct rusage usage;
    if (pid < 0 || wait4(pid, &status, 0, &usage) != pid) return run;
    run.ms = std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count();
    run.peak_kib = usage.ru_maxrss;
    run.ok = WIFEXITED(status) && WEXITSTATUS(status) == 0;
    FILE *f = fopen(err_path.c_str(), "r");
    if (f) {
        char buf[4096];
        size_t n = fread(buf, 1, sizeof buf - 1, f);
        buf[n] = '\0';
        *err = buf;
        fclose(f);
    }
    return run;
}

Run first_frame(const std::string &exe) {
    std::string err;
    Run run = spawn(exe, {"--sprog", "en"}, true, &err);
    const size_t at = err.find("first frame ");
    double ms = 0;
    long kib = 0;
    if (!run.ok || at == std::string::npos || sscanf(err.c_str() + at, "first frame %lf ms, peak %ld KiB", &ms, &kib) != 2) {
        run.ok = false;
        return run;
    }
    run.ms = ms;
    run.peak_kib = kib;
    return run;
}

Run test_run(const std::string &exe) {
    std::string err;
    return spawn(exe, {"--test", "1", "--sprog", "en", "--ud", scratch}, false, &err);
}

void print(const char *what, const std::string &exe, std::vector<Run> runs) {
    runs.erase(std::remove_if(runs.begin(), runs.end(), [](const Run &r) { return !r.ok; }), runs.end());
    if (runs.empty()) {
        printf("%-34s %s: no run succeeded\n", what, exe.c_str());
        return;
    }
    std::sort(runs.begin(), runs.end(), [](const Run &a, const Run &b) { return a.ms < b.ms; });
    std::vector<long> peaks;
    for (const Run &r : runs) peaks.push_back(r.peak_kib);
    std::sort(peaks.begin(), peaks.end());
    printf("%-34s %7.1f ms median (%.1f .. %.1f), peak %.1f MiB median   %s\n", what, runs[runs.size() / 2].ms,
           runs.front().ms, runs.back().ms, peaks[peaks.size() / 2] / 1024.0, exe.c_str());
}

}  // namespace

int main(int argc, char **argv) {
    const int runs = argc > 1 ? std::max(1, atoi(argv[1])) : 15;
    std::vector<std::string> exes;
    exes.push_back(argc > 2 ? argv[2] : KESTRUNE_EXE);
    if (argc > 3) exes.push_back(argv[3]);
    char dir[] = "/tmp/kestrune-bench-XXXXXX";
    if (!mkdtemp(dir)) return 1;
    scratch = dir;

    std::vector<std::vector<Run>> frames(exes.size()), tests(exes.size());
    for (size_t e = 0; e < exes.size(); e++) {  // one warm-up each
        first_frame(exes[e]);
        test_run(exes[e]);
    }
    for (int i = 0; i < runs; i++) {
        for (size_t e = 0; e < exes.size(); e++) frames[e].push_back(first_frame(exes[e]));
        for (size_t e = 0; e < exes.size(); e++) tests[e].push_back(test_run(exes[e]));
    }
    for (size_t e = 0; e < exes.size(); e++) print("start to first presented frame", exes[e], frames[e]);
    for (size_t e = 0; e < exes.size(); e++) print("kestrune --test 1, whole run", exes[e], tests[e]);
    std::string cleanup = "rm -rf '" + scratch + "'";
    return system(cleanup.c_str()) == 0 ? 0 : 1;
}
