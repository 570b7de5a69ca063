/* Kestrune start-up benchmark helper. Loaded into the game with LD_PRELOAD, it lets the
 * first frame be presented, then prints on standard error how long that took from the
 * moment the program was loaded and the peak resident memory at that point, and ends
 * the process. The game itself knows nothing of it. */
#define _GNU_SOURCE
#include <dlfcn.h>
#include <stdio.h>
#include <sys/resource.h>
#include <time.h>
#include <unistd.h>

static struct timespec loaded;

__attribute__((constructor)) static void note_load_time(void) { clock_gettime(CLOCK_MONOTONIC, &loaded); }

void SDL_RenderPresent(void *renderer) {
    void (*present)(void *) = (void (*)(void *))dlsym(RTLD_NEXT, "SDL_RenderPresent");
    if (present) present(renderer);
    struct timespec now;
    clock_gettime(CLOCK_MONOTONIC, &now);
    struct rusage usage;
    getrusage(RUSAGE_SELF, &usage);
    double ms = (now.tv_sec - loaded.tv_sec) * 1e3 + (now.tv_nsec - loaded.tv_nsec) / 1e6;
    fprintf(stderr, "first frame %.2f ms, peak %ld KiB\n", ms, usage.ru_maxrss);
    fflush(stderr);
    _exit(0);
}
