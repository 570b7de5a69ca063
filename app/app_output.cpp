// Kestrune: the headless modes' output files. Each is written whole, with every write
// and the close checked; the first failure is kept, with the file's name and the
// system's reason, for the mode to report.
#include <SDL.h>
#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>

#include "app/app.h"

namespace {

struct OutputFailure {
    int failed;
    char path[APP_PATH_ROOM];
    char reason[256];
};
OutputFailure output_failure;

// A BMP of the 1000 x 736 canvas at 32 bits a pixel with the largest header SDL writes.
enum { BMP_ROOM = 1000 * 736 * 4 + 1024 };
unsigned char bmp_bytes[BMP_ROOM];

int fail(const char *path, const char *reason) {
    if (!output_failure.failed) {
        output_failure.failed = 1;
        std::snprintf(output_failure.path, sizeof output_failure.path, "%s", path);
        std::snprintf(output_failure.reason, sizeof output_failure.reason, "%s", reason);
    }
    return 0;
}

}  // namespace

int app_output_failed() { return output_failure.failed; }

void app_report_output_failure(const char *mode) {
    if (!output_failure.failed) return;
    std::fprintf(stderr, "%s: %s: %s\n", mode, output_failure.path, output_failure.reason);
}

int app_output_fail(const char *path, int error) { return fail(path, std::strerror(error)); }

int app_output_file(const char *path, const void *bytes, size_t size) {
    int fd = open(path, O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0666);
    if (fd < 0) return app_output_fail(path, errno);
    if (int error = app_write_all(fd, bytes, size)) {
        close(fd);
        return app_output_fail(path, error);
    }
    if (close(fd) != 0) return app_output_fail(path, errno);
    return 1;
}

int app_output_bmp(const char *path, SDL_Surface *surface) {
    if (!surface) return fail(path, "no picture to save");
    // SDL writes the BMP into memory; the file is then written with every call checked,
    // which SDL's own file writer does not do for its buffered writes and its close.
    SDL_RWops *rw = SDL_RWFromMem(bmp_bytes, sizeof bmp_bytes);
    if (!rw) return fail(path, SDL_GetError());
    int rc = SDL_SaveBMP_RW(surface, rw, 0);
    Sint64 size = SDL_RWtell(rw);
    SDL_RWclose(rw);
    if (rc != 0 || size <= 0) return fail(path, SDL_GetError());
    return app_output_file(path, bmp_bytes, (size_t)size);
}
