// Kestrune: the data files on disk. Where a data file's path leads (links followed as
// the kernel follows them, but never a link the system's protected-symlinks rule would
// refuse), reading it, the lock that running copies of the game take turns under while
// they save, replacing a file whole through a temporary file, and removing what saves
// that never finished left behind. Everything works from an open descriptor of the
// file's folder, so no path is ever built longer than the one given.
#include <dirent.h>
#include <fcntl.h>
#include <limits.h>
#include <sys/file.h>
#include <sys/random.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <ctime>

#include "app/app.h"

namespace {

// The kernel's own limit of links followed in one lookup (counted over the whole
// lookup, not per name).
const int link_limit = 40;

// Link texts of a lookup in progress, one per link still being walked.
char link_texts[link_limit][PATH_MAX];

// Temporary files of a save are named "<file>.kestrune-tmp-XXXXXX" beside the file; the
// file's name is shortened so that the whole stays within NAME_MAX.
const char temp_infix[] = ".kestrune-tmp-";
const size_t temp_infix_length = sizeof temp_infix - 1;
const size_t temp_suffix_length = 6;
const size_t temp_base_limit = NAME_MAX - temp_infix_length - temp_suffix_length;

// A temporary file this much older than now, that no save holds locked, is a leftover
// of a save that never finished.
const time_t stale_temp_seconds = 60;

// The lock between copies of the game is a file of its own beside the data file's name,
// "<name>.lock", that only the player may open: a lock on the data file itself could be
// taken and kept by any user who may read it. Another copy saving at the same moment
// holds it for a few milliseconds, a queue of copies on a slow disk for a few seconds;
// a copy that holds it longer than this is stuck, and the save gives up without writing.
const char lock_suffix[] = ".lock";
const size_t lock_suffix_length = sizeof lock_suffix - 1;
const int lock_wait_ms = 10000;
const int lock_poll_ms = 10;

bool only_slashes(const char *p) {
    while (*p == '/') p++;
    return *p == '\0';
}

int open_root_or_here(bool root) { return open(root ? "/" : ".", O_PATH | O_DIRECTORY | O_CLOEXEC); }

// The kernel's protected-symlinks rule: a link in a sticky folder that everyone may
// write to is followed only by its owner, or when the folder's owner owns it too.
bool protected_link(int dir_fd, const struct stat &link) {
    struct stat folder;
    if (fstat(dir_fd, &folder) != 0) return true;
    if ((folder.st_mode & (S_ISVTX | S_IWOTH)) != (S_ISVTX | S_IWOTH)) return false;
    return link.st_uid != geteuid() && link.st_uid != folder.st_uid;
}

void sleep_ms(int ms) {
    struct timespec t = {ms / 1000, (long)(ms % 1000) * 1000000L};
    while (nanosleep(&t, &t) != 0 && errno == EINTR) {
    }
}

// The start of the names of a file's temporary files: its name, shortened as needed,
// and the infix. Returns the length.
size_t temp_prefix(const char *name, char *out) {
    size_t n = std::strlen(name);
    if (n > temp_base_limit) n = temp_base_limit;
    std::memcpy(out, name, n);
    std::memcpy(out + n, temp_infix, temp_infix_length + 1);
    return n + temp_infix_length;
}

// Six letters or digits that no other save picks at the same moment. The game's own
// rand is left alone: it belongs to the replays.
void temp_suffix(char *out) {
    static const char letters[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789";
    static unsigned counter = 0;
    unsigned char bytes[temp_suffix_length];
    if (getrandom(bytes, sizeof bytes, GRND_NONBLOCK) != (ssize_t)sizeof bytes) {
        struct timespec t;
        clock_gettime(CLOCK_REALTIME, &t);
        unsigned long long x = (unsigned long long)t.tv_nsec ^ ((unsigned long long)getpid() << 32) ^ counter++;
        for (unsigned char &b : bytes) {
            x = x * 6364136223846793005ULL + 1442695040888963407ULL;
            b = (unsigned char)(x >> 56);
        }
    }
    for (size_t i = 0; i < temp_suffix_length; i++) out[i] = letters[bytes[i] % (sizeof letters - 1)];
    out[temp_suffix_length] = '\0';
}

// Takes the lock of fd, waiting while it is held elsewhere for the bound at most: 0 when
// it is held, APP_SAVE_LOCK_HELD when another copy kept it past the wait, and ENOLCK
// when the file system has no locks to take.
int lock_bounded(int fd) {
    // By the clock, not by the sleeps: on a busy machine each sleep runs over.
    struct timespec start, now;
    clock_gettime(CLOCK_MONOTONIC, &start);
    for (;;) {
        if (flock(fd, LOCK_EX | LOCK_NB) == 0) return 0;
        if (errno == EINTR) continue;
        if (errno != EWOULDBLOCK) return ENOLCK;
        clock_gettime(CLOCK_MONOTONIC, &now);
        const long long waited_ms =
            (long long)(now.tv_sec - start.tv_sec) * 1000 + (now.tv_nsec - start.tv_nsec) / 1000000;
        if (waited_ms >= lock_wait_ms) return APP_SAVE_LOCK_HELD;
        sleep_ms(lock_poll_ms);
    }
}

bool same_file(const struct stat &a, const struct stat &b) { return a.st_dev == b.st_dev && a.st_ino == b.st_ino; }

// A lock file is used only when it is a regular file of the player's own, mode 0600, with
// no second name: another user who can open it, or who holds another link to it, can
// hold every save up.
bool private_lock_file(const struct stat &st) {
    return S_ISREG(st.st_mode) && st.st_uid == geteuid() && (st.st_mode & 07777) == 0600 && st.st_nlink == 1;
}

// Opens the lock file `name` in the folder dir_fd into *fd_out, making it (mode 0600)
// when there is none. Returns 0, the errno of a lock file that cannot be made or opened,
// or APP_SAVE_LOCK_NOT_PRIVATE when something else stands in its place: a link, a FIFO, a
// device, a folder, another user's file or one others may open is never opened, and
// nothing is ever written to the lock file.
int open_lock_file(int dir_fd, const char *name, int *fd_out) {
    for (int attempt = 0; attempt < 10; attempt++) {
        struct stat st;
        int fd = -1;
        if (fstatat(dir_fd, name, &st, AT_SYMLINK_NOFOLLOW) != 0) {
            if (errno != ENOENT) return errno;
            fd = openat(dir_fd, name, O_RDONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_NOCTTY | O_CLOEXEC, 0600);
            if (fd < 0 && errno == EEXIST) continue;  // another copy made it just now
            if (fd < 0) return errno;
            // Ours from the start: a umask that takes bits away from 0600 does not make it
            // a file that later saves refuse.
            fchmod(fd, 0600);
        } else {
            if (!private_lock_file(st)) return APP_SAVE_LOCK_NOT_PRIVATE;
            // Without blocking: a FIFO put in its place since the look does not hold us.
            fd = openat(dir_fd, name, O_RDONLY | O_NONBLOCK | O_NOFOLLOW | O_NOCTTY | O_CLOEXEC);
            if (fd < 0 && errno == ENOENT) continue;  // removed since the look
            if (fd < 0) return errno == ELOOP ? APP_SAVE_LOCK_NOT_PRIVATE : errno;
        }
        if (fstat(fd, &st) != 0 || !private_lock_file(st)) {
            close(fd);
            return APP_SAVE_LOCK_NOT_PRIVATE;
        }
        *fd_out = fd;
        return 0;
    }
    return APP_SAVE_LOCK_NOT_PRIVATE;  // made and removed again, over and over
}

// Opens an existing regular file for reading without following a link, checking the
// type both before the open (a FIFO would block it) and on what was opened.
int open_regular(int dir_fd, const char *name, int *fd_out) {
    struct stat st;
    if (fstatat(dir_fd, name, &st, AT_SYMLINK_NOFOLLOW) != 0) return errno;
    if (!S_ISREG(st.st_mode)) return S_ISLNK(st.st_mode) ? ELOOP : APP_SAVE_NOT_REGULAR;
    int fd = openat(dir_fd, name, O_RDONLY | O_NONBLOCK | O_NOFOLLOW | O_NOCTTY | O_CLOEXEC);
    if (fd < 0) return errno;
    if (fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) {
        close(fd);
        return APP_SAVE_NOT_REGULAR;
    }
    *fd_out = fd;
    return 0;
}

// Removes the temporary files of saves of the file `name` in the folder dir_fd that are
// older than a minute and that no save holds. The lock file is no temporary file.
void remove_stale_temps(int dir_fd, const char *name, time_t now) {
    char prefix[NAME_MAX + 1];
    const size_t prefix_length = temp_prefix(name, prefix);
    int list_fd = openat(dir_fd, ".", O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (list_fd < 0) return;
    DIR *d = fdopendir(list_fd);
    if (!d) {
        close(list_fd);
        return;
    }
    while (struct dirent *e = readdir(d)) {
        if (std::strncmp(e->d_name, prefix, prefix_length) != 0) continue;
        if (std::strlen(e->d_name) != prefix_length + temp_suffix_length) continue;
        struct stat st;
        if (fstatat(list_fd, e->d_name, &st, AT_SYMLINK_NOFOLLOW) != 0 || !S_ISREG(st.st_mode)) continue;
        if (now - st.st_mtime <= stale_temp_seconds) continue;
        // A save of another copy that has been stuck this long still holds its file
        // locked: deleting it lost that save.
        int fd = openat(list_fd, e->d_name, O_RDONLY | O_NONBLOCK | O_NOFOLLOW | O_NOCTTY | O_CLOEXEC);
        if (fd < 0) fd = openat(list_fd, e->d_name, O_WRONLY | O_NONBLOCK | O_NOFOLLOW | O_NOCTTY | O_CLOEXEC);
        if (fd < 0) continue;
        struct stat held;
        if (flock(fd, LOCK_EX | LOCK_NB) == 0 && fstat(fd, &held) == 0 && same_file(held, st) &&
            fstatat(list_fd, e->d_name, &st, AT_SYMLINK_NOFOLLOW) == 0 && same_file(held, st)) {
            unlinkat(list_fd, e->d_name, 0);
        }
        close(fd);
    }
    closedir(d);
}

}  // namespace

int app_save_error = 0;

int app_write_all(int fd, const void *bytes, size_t size) {
    const char *p = static_cast<const char *>(bytes);
    while (size > 0) {
        ssize_t n = write(fd, p, size);
        if (n < 0) {
            if (errno == EINTR) continue;
            return errno;
        }
        if (n == 0) return EIO;
        p += n;
        size -= (size_t)n;
    }
    return 0;
}

const char *app_save_error_text(int error) {
    switch (error) {
    case APP_SAVE_PROTECTED_LINK:
        return "a link in a shared folder that belongs to another user is not followed";
    case APP_SAVE_NOT_REGULAR: return "not a regular file";
    case APP_SAVE_REPLACED: return "other saves kept replacing the file meanwhile";
    case APP_SAVE_LOCK_HELD: return "another copy of the game is holding the lock file";
    case APP_SAVE_LOCK_NOT_PRIVATE: return "the lock file is not a private lock file of yours and is left alone";
    case 0: return "no error";
    default: return std::strerror(error);
    }
}

int app_resolve_data_file(const char *path, int follow_last, AppDataFile *out) {
    out->dir_fd = -1;
    out->fd = -1;
    out->checked = 0;
    out->name[0] = '\0';
    if (!path || !path[0]) return ENOENT;
    int dir = open_root_or_here(path[0] == '/');
    if (dir < 0) return errno;
    // A stack of what is left to walk: the path itself, then the text of each link met
    // on the way, whose rest is walked before the rest of the text that held the link.
    const char *rest[link_limit + 1];
    int depth = 0;
    int links = 0;
    rest[0] = path;
    char name[NAME_MAX + 1];
    for (;;) {
        while (*rest[depth] == '/') rest[depth]++;
        if (*rest[depth] == '\0') {
            if (depth == 0) break;  // nothing after the last folder: no file name
            depth--;
            continue;
        }
        const char *p = rest[depth];
        size_t n = std::strcspn(p, "/");
        if (n > NAME_MAX) {
            close(dir);
            return ENAMETOOLONG;
        }
        std::memcpy(name, p, n);
        name[n] = '\0';
        rest[depth] = p + n;
        bool last = true;
        bool slash_after = false;
        for (int k = depth; k >= 0; k--) {
            if (!only_slashes(rest[k])) last = false;
            if (*rest[k] == '/') slash_after = true;
        }
        slash_after = slash_after && last;

        if (std::strcmp(name, ".") == 0 || std::strcmp(name, "..") == 0) {
            if (last) break;  // a folder, not a file
            if (name[1] == '.') {
                int up = openat(dir, "..", O_PATH | O_DIRECTORY | O_CLOEXEC);
                if (up < 0) {
                    int e = errno;
                    close(dir);
                    return e;
                }
                close(dir);
                dir = up;
            }
            continue;
        }

        struct stat st;
        if (fstatat(dir, name, &st, AT_SYMLINK_NOFOLLOW) != 0) {
            int e = errno;
            if (e == ENOENT && last && !slash_after) {
                // A file that is not there yet: it will be made here.
                out->dir_fd = dir;
                std::memcpy(out->name, name, n + 1);
                return 0;
            }
            close(dir);
            return e;
        }
        if (S_ISLNK(st.st_mode) && (follow_last || !last)) {
            if (++links > link_limit) {
                close(dir);
                return ELOOP;
            }
            // Another user's link planted in /tmp could otherwise aim the save at any
            // file the player may write: the rule holds whether the system enforces it
            // or not.
            if (protected_link(dir, st)) {
                close(dir);
                return APP_SAVE_PROTECTED_LINK;
            }
            char *text = link_texts[depth];
            ssize_t length = readlinkat(dir, name, text, PATH_MAX);
            if (length < 0 || length >= PATH_MAX) {
                int e = length < 0 ? errno : ENAMETOOLONG;
                close(dir);
                return e;
            }
            if (length == 0) {
                close(dir);
                return ENOENT;
            }
            text[length] = '\0';
            if (text[0] == '/') {
                close(dir);
                dir = open_root_or_here(true);
                if (dir < 0) return errno;
            }
            rest[++depth] = text;
            continue;
        }
        if (last) {
            if (slash_after) break;
            out->dir_fd = dir;
            std::memcpy(out->name, name, n + 1);
            return 0;
        }
        if (!S_ISDIR(st.st_mode)) {
            close(dir);
            return ENOTDIR;
        }
        int next = openat(dir, name, O_PATH | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC);
        if (next < 0) {
            int e = errno;
            close(dir);
            return e;
        }
        close(dir);
        dir = next;
    }
    close(dir);
    return EISDIR;
}

void app_close_data_file(AppDataFile *file) {
    if (file->fd >= 0) close(file->fd);
    if (file->dir_fd >= 0) close(file->dir_fd);
    file->fd = -1;
    file->dir_fd = -1;
}

int app_read_data_file(const char *path, char *bytes, size_t room, size_t *size) {
    *size = 0;
    AppDataFile file;
    int error = app_resolve_data_file(path, 1, &file);
    if (error == 0) error = open_regular(file.dir_fd, file.name, &file.fd);
    if (error == 0) error = app_read_open_data_file(&file, bytes, room, size);
    app_close_data_file(&file);
    return error;
}

int app_read_open_data_file(AppDataFile *file, char *bytes, size_t room, size_t *size) {
    *size = 0;
    if (lseek(file->fd, 0, SEEK_SET) != 0) return errno;
    while (*size < room) {
        ssize_t n = read(file->fd, bytes + *size, room - *size);
        if (n < 0 && errno == EINTR) continue;
        if (n < 0) return errno;
        if (n == 0) break;
        *size += (size_t)n;
    }
    return 0;
}

int app_take_save_lock(const char *path, int *lock) {
    *lock = -1;
    // Beside the path's own name, also when that is a link to a file elsewhere: every
    // copy with the same data folder finds the same lock file.
    AppDataFile here;
    int error = app_resolve_data_file(path, 0, &here);
    if (error != 0) return error;
    char name[NAME_MAX + 1];
    size_t n = std::strlen(here.name);
    if (n > NAME_MAX - lock_suffix_length) n = NAME_MAX - lock_suffix_length;
    std::memcpy(name, here.name, n);
    std::memcpy(name + n, lock_suffix, lock_suffix_length + 1);
    int fd = -1;
    error = open_lock_file(here.dir_fd, name, &fd);
    app_close_data_file(&here);
    if (error != 0) return error;
    // Copies that went on without the lock after the wait, or past a lock file that was
    // not the player's own, replaced the file together and lost rows without a word:
    // without the lock nothing is written, but where the file system has no locks at
    // all there is nothing to take turns under.
    error = lock_bounded(fd);
    if (error == 0) {
        *lock = fd;
        return 0;
    }
    close(fd);
    return error == ENOLCK ? 0 : error;
}

void app_release_save_lock(int lock) {
    if (lock >= 0) close(lock);
}

int app_open_data_file(const char *path, AppDataFile *file) {
    int error = app_resolve_data_file(path, 1, file);
    // No file yet is no failure: the save starts from nothing and makes it. A missing
    // folder was taken for that too, and the save then failed on a descriptor of -1:
    // only the file itself may be missing.
    if (error == 0) {
        error = open_regular(file->dir_fd, file->name, &file->fd);
        if (error == ENOENT) error = 0;
    }
    if (error != 0) {
        app_close_data_file(file);
        return error;
    }
    file->checked = 1;
    return 0;
}

int app_replace_data_file(AppDataFile *file, const char *bytes, size_t size) {
    const int dir = file->dir_fd;
    // A FIFO, a device or a folder in the file's place counts as no file and is left as
    // it is. A file that is there keeps its permissions, and its owner and group where
    // the system allows; a new one gets the mode a plain fopen would give it.
    struct stat st;
    bool existing = fstatat(dir, file->name, &st, AT_SYMLINK_NOFOLLOW) == 0;
    if (!existing && errno != ENOENT) return errno;
    // A file that another copy's first save made since this one found none: read it.
    if (existing && file->checked && file->fd < 0) return APP_SAVE_REPLACED;
    if (existing && !S_ISREG(st.st_mode)) return S_ISLNK(st.st_mode) ? ELOOP : APP_SAVE_NOT_REGULAR;
    if (existing && file->fd < 0) {
        // A file that is there but cannot be read is no file this game made: it stays.
        int probe = -1;
        int error = open_regular(dir, file->name, &probe);
        if (error != 0) return error;
        close(probe);
    }
    mode_t mode;
    if (existing) {
        mode = st.st_mode & 0777;
    } else {
        mode_t mask = umask(0);
        umask(mask);
        mode = 0666 & ~mask;
    }

    // The temporary file sits beside the old one, so the rename never crosses a file
    // system and either the old or the new file is there, whole, at every moment. Its
    // name tells a later start what a crash left behind, and its lock that the save is
    // still going on.
    char temp[NAME_MAX + 1];
    const size_t prefix_length = temp_prefix(file->name, temp);
    int fd = -1;
    for (int attempt = 0; attempt < 100 && fd < 0; attempt++) {
        temp_suffix(temp + prefix_length);
        fd = openat(dir, temp, O_RDWR | O_CREAT | O_EXCL | O_NOFOLLOW | O_NOCTTY | O_CLOEXEC, 0600);
        if (fd < 0 && errno != EEXIST) return errno;
    }
    if (fd < 0) return EEXIST;
    flock(fd, LOCK_EX | LOCK_NB);
    // The lock lives as long as this second descriptor: the first is closed before the
    // rename, since a close is where some file systems report a failed write.
    int held = dup(fd);
    int error = 0;
    if (held < 0) error = errno;
    if (error == 0 && existing && (st.st_uid != geteuid() || st.st_gid != getegid())) {
        // Given back to the old file's owner and group where the system allows it, else
        // at least the group; failing both, the new file is the player's own.
        const bool given = fchown(fd, st.st_uid, st.st_gid) == 0 || fchown(fd, (uid_t)-1, st.st_gid) == 0;
        (void)given;
    }
    if (error == 0 && fchmod(fd, mode) != 0) error = errno;
    if (error == 0) error = app_write_all(fd, bytes, size);
    if (error == 0 && fsync(fd) != 0 && errno != EINVAL) error = errno;
    if (close(fd) != 0 && error == 0) error = errno;
    if (error == 0 && file->checked) {
        // The bytes were made from the file as it was read, or from none. A save that took
        // no lock (on a file system without locks, or from another data folder whose
        // file links here) may have replaced or made it since: its rows would go.
        struct stat read_from, named;
        const bool there = fstatat(dir, file->name, &named, AT_SYMLINK_NOFOLLOW) == 0;
        if (file->fd < 0 ? there : there && fstat(file->fd, &read_from) == 0 && !same_file(read_from, named)) {
            error = APP_SAVE_REPLACED;
        }
    }
    if (error == 0 && renameat(dir, temp, dir, file->name) != 0) error = errno;
    if (error != 0) unlinkat(dir, temp, 0);
    if (held >= 0) close(held);
    if (error != 0) return error;
    // The rename itself to disk.
    int sync_fd = openat(dir, ".", O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (sync_fd >= 0) {
        fsync(sync_fd);
        close(sync_fd);
    }
    return 0;
}

int app_replace_file(const char *path, const char *bytes, size_t size) {
    app_save_error = 0;
    if (!path || !path[0]) {
        app_save_error = ENOENT;
        return 0;
    }
    // A save turned a link into a plain file: the file the link points to is the one
    // replaced, and the link stays.
    AppDataFile file;
    int error = app_resolve_data_file(path, 1, &file);
    if (error == 0) error = app_replace_data_file(&file, bytes, size);
    app_close_data_file(&file);
    app_save_error = error;
    return error == 0;
}

void app_remove_stale_temp_files() {
    const time_t now = time(nullptr);
    const char *const paths[2] = {app_records_path, app_settings_path};
    for (const char *path : paths) {
        if (!path[0]) continue;
        // Beside the file, and beside the file a link of that name points to.
        AppDataFile here, there;
        if (app_resolve_data_file(path, 0, &here) == 0) remove_stale_temps(here.dir_fd, here.name, now);
        if (app_resolve_data_file(path, 1, &there) == 0) {
            struct stat a, b;
            bool same_place = here.dir_fd >= 0 && fstat(here.dir_fd, &a) == 0 && fstat(there.dir_fd, &b) == 0 &&
                              same_file(a, b) && std::strcmp(here.name, there.name) == 0;
            if (!same_place) remove_stale_temps(there.dir_fd, there.name, now);
        }
        app_close_data_file(&here);
        app_close_data_file(&there);
    }
}
