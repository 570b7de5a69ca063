// Kestrune: the data directory, the high-score table with its file "rekorder.txt" and
// the settings file "indstillinger.txt". Both files are read once at start-up and
// replaced whole, through a temporary file and a rename, whenever they change.
#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cctype>
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>

#include "app/app.h"

char app_records_path[APP_PATH_ROOM];
char app_settings_path[APP_PATH_ROOM];
char app_settings_lang[16];

namespace {

const HighScoreEntry default_rows[10] = {
    {"Plimby", 15000, 11},      {"Påskeharen", 13500, 10}, {"Hønemor", 12000, 9},
    {"Kyllingen", 10500, 8},    {"Hanen", 9000, 7},         {"Guldægget", 7500, 6},
    {"Påskeliljen", 6000, 5},   {"Gækkebrevet", 4500, 4},  {"Rugeægget", 3000, 3},
    {"Æggesnapsen", 1500, 2},
};

const char records_name[] = "/rekorder.txt";
const char settings_name[] = "/indstillinger.txt";

// Writes all of it, going on after short writes and interrupted calls.
int write_all(int fd, const char *bytes, size_t size) {
    while (size > 0) {
        ssize_t n = write(fd, bytes, size);
        if (n < 0) {
            if (errno == EINTR) continue;
            return 0;
        }
        bytes += n;
        size -= (size_t)n;
    }
    return 1;
}

// The folder that holds a path ("." for a bare name); 0 when it does not fit.
int folder_of(const char *path, char *folder, size_t room) {
    const char *slash = std::strrchr(path, '/');
    if (!slash) return std::snprintf(folder, room, ".") == 1;
    if (slash == path) return std::snprintf(folder, room, "/") == 1;
    size_t n = (size_t)(slash - path);
    if (n >= room) return 0;
    std::memcpy(folder, path, n);
    folder[n] = '\0';
    return 1;
}

// Flushes a rename in the folder of path to disk.
void sync_folder_of(const char *path) {
    char folder[APP_PATH_ROOM];
    if (!folder_of(path, folder, sizeof folder)) return;
    int fd = open(folder, O_RDONLY | O_DIRECTORY);
    if (fd >= 0) {
        fsync(fd);
        close(fd);
    }
}

// Temporary files of a save are named "<file>.kestrune-tmp-XXXXXX" beside the file.
const char temp_infix[] = ".kestrune-tmp-";
const size_t temp_suffix_length = 6;
// A temporary file this much older than now is a leftover of a save that never finished;
// a younger one may belong to a save of another running copy of the game.
const time_t stale_temp_seconds = 60;

// The file a path names in the end: links are followed (a relative link from the folder
// that holds it) until a name that is no link, or does not exist yet. Returns 0 for a
// loop of links, a path too long or a name that cannot be looked at.
int resolve_links(const char *path, char *out, size_t room) {
    if (std::snprintf(out, room, "%s", path) >= (int)room) return 0;
    for (int hops = 0; hops < 40; hops++) {
        struct stat st;
        if (lstat(out, &st) != 0) return errno == ENOENT;
        if (!S_ISLNK(st.st_mode)) return 1;
        char link[APP_PATH_ROOM];
        ssize_t n = readlink(out, link, sizeof link - 1);
        if (n <= 0) return 0;
        link[n] = '\0';
        char next[APP_PATH_ROOM];
        if (link[0] == '/') {
            std::memcpy(next, link, (size_t)n + 1);
        } else {
            char folder[APP_PATH_ROOM];
            if (!folder_of(out, folder, sizeof folder)) return 0;
            int m = std::snprintf(next, sizeof next, "%s/%s", folder, link);
            if (m < 0 || (size_t)m >= sizeof next) return 0;
        }
        if (std::snprintf(out, room, "%s", next) >= (int)room) return 0;
    }
    return 0;
}

// Removes the stale temporary files of saves of the file at path from its folder.
void remove_stale_temps_of(const char *path, time_t now) {
    char folder[APP_PATH_ROOM];
    if (!folder_of(path, folder, sizeof folder)) return;
    const char *slash = std::strrchr(path, '/');
    const char *base = slash ? slash + 1 : path;
    char prefix[APP_PATH_ROOM];
    int prefix_length = std::snprintf(prefix, sizeof prefix, "%s%s", base, temp_infix);
    if (prefix_length < 0 || (size_t)prefix_length >= sizeof prefix) return;
    DIR *d = opendir(folder);
    if (!d) return;
    while (struct dirent *e = readdir(d)) {
        if (std::strncmp(e->d_name, prefix, (size_t)prefix_length) != 0) continue;
        if (std::strlen(e->d_name) != (size_t)prefix_length + temp_suffix_length) continue;
        struct stat st;
        if (fstatat(dirfd(d), e->d_name, &st, AT_SYMLINK_NOFOLLOW) != 0 || !S_ISREG(st.st_mode)) continue;
        if (now - st.st_mtime <= stale_temp_seconds) continue;
        unlinkat(dirfd(d), e->d_name, 0);
    }
    closedir(d);
}

// Both files are small: the readers see at most this much of either.
enum { DATA_FILE_LIMIT = 64 * 1024 };
char data_file_bytes[DATA_FILE_LIMIT];

// Opens a data file for reading as a stream over its first 64 KiB, or NULL when it is
// missing, unreadable, empty or not a regular file.
// A FIFO blocked the start in fopen and a link to /dev/zero was read for ever: only a
// regular file is opened (without blocking), and only so much of it is read.
FILE *open_data_file(const char *path) {
    struct stat st;
    if (stat(path, &st) != 0 || !S_ISREG(st.st_mode)) return nullptr;
    int fd = open(path, O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
    if (fd < 0) return nullptr;
    // Checked again on what was opened: the name may have changed hands in between.
    if (fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) {
        close(fd);
        return nullptr;
    }
    size_t size = 0;
    while (size < sizeof data_file_bytes) {
        ssize_t n = read(fd, data_file_bytes + size, sizeof data_file_bytes - size);
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) break;
        size += (size_t)n;
    }
    close(fd);
    if (size == 0) return nullptr;
    return fmemopen(data_file_bytes, size, "r");
}

// One line of the record file, "%d %d %15[^\n]": score, level, and the name after the
// white space that follows the level, at most 15 bytes up to the end of the line.
// Returns 1 when all three fields are there.
// "%d" overflowed on huge numbers (a score of 99999999999999999999 read as -1): numbers
// saturate, and a level outside 1..15 is held to it so the high-score page shows it whole.
int parse_record_line(const char *line, HighScoreEntry *row) {
    const char *p = line;
    int32_t score = 0;
    int32_t level = 0;
    if (!app_scan_int(&p, &score) || !app_scan_int(&p, &level)) return 0;
    while (std::isspace((unsigned char)*p)) p++;
    size_t n = 0;
    while (n < 15 && p[n] != '\0' && p[n] != '\n') n++;
    if (n == 0) return 0;
    std::memset(row->name, 0, sizeof row->name);
    std::memcpy(row->name, p, n);
    row->score = score;
    row->level = level < 1 ? 1 : level > 15 ? 15 : level;
    return 1;
}

}  // namespace

void app_fill_default_high_scores() {
    for (int i = 0; i < 10; i++) app_high_scores[i] = default_rows[i];
}

void app_setup_data_dir() {
    app_records_path[0] = '\0';
    app_settings_path[0] = '\0';
    const char *home = std::getenv("HOME");
    if (!home) return;
    // A path that would have to be cut names some other place: then the files are
    // left alone, as without "HOME".
    char dir[APP_PATH_ROOM];
    int n = std::snprintf(dir, sizeof dir, "%s/.local/share/kestrune", home);
    if (n < 0 || (size_t)n + sizeof settings_name > sizeof dir) return;
    char parent[APP_PATH_ROOM];
    std::snprintf(parent, sizeof parent, "%s/.local", home);
    mkdir(parent, 0755);
    std::snprintf(parent, sizeof parent, "%s/.local/share", home);
    mkdir(parent, 0755);
    mkdir(dir, 0755);
    std::memcpy(app_records_path, dir, (size_t)n);
    std::memcpy(app_records_path + n, records_name, sizeof records_name);
    std::memcpy(app_settings_path, dir, (size_t)n);
    std::memcpy(app_settings_path + n, settings_name, sizeof settings_name);
}

void app_read_high_scores_from(FILE *f) {
    char line[128];
    for (int i = 0; i < 10; i++) {
        if (!std::fgets(line, sizeof line, f)) break;
        // A line that does not give all three fields leaves its row as it was, and
        // still uses the row up.
        HighScoreEntry row;
        if (parse_record_line(line, &row)) app_high_scores[i] = row;
    }
}

void app_read_high_scores() {
    if (!app_records_path[0]) return;
    FILE *f = open_data_file(app_records_path);
    if (!f) return;
    app_read_high_scores_from(f);
    std::fclose(f);
}

size_t app_format_high_scores(char *text, size_t room) {
    size_t used = 0;
    for (int i = 0; i < 10; i++) {
        const HighScoreEntry &row = app_high_scores[i];
        int n = std::snprintf(text + used, room - used, "%d %d %.15s\n", (int)row.score, (int)row.level,
                              row.name);
        if (n < 0 || (size_t)n >= room - used) return 0;
        used += (size_t)n;
    }
    return used;
}

int app_write_high_scores() {
    if (!app_records_path[0]) return 0;
    char text[APP_RECORDS_TEXT_ROOM];
    size_t used = app_format_high_scores(text, sizeof text);
    if (used == 0) return 0;
    return app_replace_file(app_records_path, text, used);
}

const char *app_read_settings_from(FILE *f) {
    app_settings_lang[0] = '\0';
    char line[64];
    while (std::fgets(line, sizeof line, f)) {
        // The key must open the line; the last line that gives a code wins.
        char code[16];
        if (std::sscanf(line, "sprog %15s", code) == 1) std::memcpy(app_settings_lang, code, sizeof code);
    }
    app_settings_lang[15] = '\0';
    return app_settings_lang[0] ? app_settings_lang : nullptr;
}

const char *app_read_settings() {
    app_settings_lang[0] = '\0';
    if (!app_settings_path[0]) return nullptr;
    FILE *f = open_data_file(app_settings_path);
    if (!f) return nullptr;
    const char *code = app_read_settings_from(f);
    std::fclose(f);
    return code;
}

int app_write_settings(const char *code) {
    if (!app_settings_path[0] || !code) return 0;
    char text[64];
    int n = std::snprintf(text, sizeof text, "sprog %s\n", code);
    if (n < 0 || (size_t)n >= sizeof text) return 0;
    return app_replace_file(app_settings_path, text, (size_t)n);
}

void app_remove_stale_temp_files() {
    const time_t now = time(nullptr);
    const char *const paths[2] = {app_records_path, app_settings_path};
    for (const char *path : paths) {
        if (!path[0]) continue;
        // Beside the file, and beside the file a link of that name points to.
        remove_stale_temps_of(path, now);
        char target[APP_PATH_ROOM];
        if (resolve_links(path, target, sizeof target) && std::strcmp(target, path) != 0) {
            remove_stale_temps_of(target, now);
        }
    }
}

int app_replace_file(const char *path, const char *bytes, size_t size) {
    if (!path || !path[0]) return 0;
    // A save turned a link into a plain file: the file the link points to is the one
    // replaced, and the link stays.
    char target[APP_PATH_ROOM];
    if (!resolve_links(path, target, sizeof target)) return 0;
    // A FIFO, a device or a folder in the file's place counts as no file and is left
    // as it is. A file that is there keeps its permissions; a new one gets the mode a
    // plain fopen would give it.
    mode_t mode;
    struct stat st;
    if (lstat(target, &st) == 0) {
        if (!S_ISREG(st.st_mode)) return 0;
        mode = st.st_mode & 0777;
    } else {
        mode_t mask = umask(0);
        umask(mask);
        mode = 0666 & ~mask;
    }
    // The temporary file sits beside the old one, so the rename never crosses a file
    // system and either the old or the new file is there, whole, at every moment. Its
    // name tells a later start what a crash left behind.
    char temp[APP_PATH_ROOM + 32];
    int n = std::snprintf(temp, sizeof temp, "%s%sXXXXXX", target, temp_infix);
    if (n < 0 || (size_t)n >= sizeof temp) return 0;
    int fd = mkostemp(temp, O_CLOEXEC);
    if (fd < 0) return 0;
    int ok = fchmod(fd, mode) == 0;
    if (ok) ok = write_all(fd, bytes, size);
    if (ok && fsync(fd) != 0 && errno != EINVAL) ok = 0;
    if (close(fd) != 0) ok = 0;
    if (ok && std::rename(temp, target) != 0) ok = 0;
    if (!ok) {
        unlink(temp);
        return 0;
    }
    sync_folder_of(target);
    return 1;
}
