// Kestrune: the data directory, the high-score table with its file "rekorder.txt" and
// the settings file "indstillinger.txt". Both files are read once at start-up and
// replaced whole, through a temporary file and a rename, whenever they change
// (app_datafile.cpp does the work on disk).
#include <sys/stat.h>

#include <cctype>
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>

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

// Both files are small: the readers see at most this much of either.
enum { DATA_FILE_LIMIT = 64 * 1024 };
char data_file_bytes[DATA_FILE_LIMIT];

// A file that is there but could not be read (no permission, a failing disk): it is
// never replaced in this run, since a save would put the defaults over what it holds.
// 0 while nothing stands against a save, else why the read failed.
int records_unread = 0;
int settings_unread = 0;

// Rows of this run whose save failed: each later save puts them in again.
HighScoreEntry unsaved_rows[10];
int unsaved_count = 0;

// Reads a data file as a stream over its first 64 KiB, or NULL when there is none to
// read: missing, empty, no regular file, or unreadable (then *unread is set).
// A FIFO blocked the start in fopen and a link to /dev/zero was read for ever: only a
// regular file is opened (without blocking), and only so much of it is read.
FILE *open_data_file(const char *path, int *unread) {
    size_t size = 0;
    int error = app_read_data_file(path, data_file_bytes, sizeof data_file_bytes, &size);
    // A mode-000 or failing file counted as missing, and the next save replaced ten real
    // rows with the defaults: only a file that is not there counts as missing.
    if (error != 0 && error != ENOENT && error != ENOTDIR && error != APP_SAVE_NOT_REGULAR) *unread = error;
    if (error != 0 || size == 0) return nullptr;
    FILE *f = fmemopen(data_file_bytes, size, "r");
    if (!f) *unread = ENOMEM;  // read but not to be looked at: it stays too
    return f;
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
    size_t length = std::strcspn(p, "\n");
    // A name cut inside a character came back as "ÆÆÆÆÆÆÆ?": the cut falls between two.
    size_t n = app_utf8_cut(p, length, 15);
    // A file with CRLF line ends kept the CR in every name: a CR that would stand right
    // before the line's end when the name is written again is no part of it.
    while (n > 0 && p[n - 1] == '\r') n--;
    if (n == 0) return 0;
    std::memset(row->name, 0, sizeof row->name);
    std::memcpy(row->name, p, n);
    row->score = score;
    row->level = level < 1 ? 1 : level > 15 ? 15 : level;
    return 1;
}

// Reads the lines of a record file over a table: a line that does not give all three
// fields leaves its row as it was, and still uses the row up.
void read_rows(FILE *f, HighScoreEntry *table) {
    char line[128];
    for (int i = 0; i < 10; i++) {
        if (!std::fgets(line, sizeof line, f)) break;
        HighScoreEntry row;
        if (parse_record_line(line, &row)) table[i] = row;
    }
}

// Keeps a row until a save gets it into the file, best first as in the table. A row
// below ten kept ones could never stand in a table, and goes.
void keep_unsaved(const HighScoreEntry *row) {
    int s = unsaved_count;
    for (int i = 0; i < unsaved_count; i++) {
        if (unsaved_rows[i].score < row->score) {
            s = i;
            break;
        }
    }
    if (s >= 10) return;
    for (int i = unsaved_count < 10 ? unsaved_count : 9; i > s; i--) unsaved_rows[i] = unsaved_rows[i - 1];
    unsaved_rows[s] = *row;
    if (unsaved_count < 10) unsaved_count++;
}

// The ten rows of a table as the file holds them; the byte count, or 0 when the room is
// too small.
size_t format_rows(const HighScoreEntry *table, char *text, size_t room) {
    size_t used = 0;
    for (int i = 0; i < 10; i++) {
        const HighScoreEntry &row = table[i];
        int n = std::snprintf(text + used, room - used, "%d %d %.15s\n", (int)row.score, (int)row.level, row.name);
        if (n < 0 || (size_t)n >= room - used) return 0;
        used += (size_t)n;
    }
    return used;
}

// One line on standard error: why the high scores were not saved; unread when the file
// could not be read at the start or at an earlier save.
void report_unsaved_high_scores(int error, bool unread) {
    const char *slash = std::strrchr(app_records_path, '/');
    const char *name = slash ? slash + 1 : app_records_path;
    char reason[512];
    if (error == APP_SAVE_LOCK_HELD) {
        std::snprintf(reason, sizeof reason, "another copy of the game is holding %.255s.lock", name);
    } else if (error == APP_SAVE_LOCK_NOT_PRIVATE) {
        std::snprintf(reason, sizeof reason, "%.255s.lock is not a private lock file of yours and is left alone", name);
    } else if (unread && error > 0) {
        std::snprintf(reason, sizeof reason, "it could not be read (%s) and is left as it is", app_save_error_text(error));
    } else {
        std::snprintf(reason, sizeof reason, "%s", app_save_error_text(error));
    }
    std::fprintf(stderr, "high scores not saved: %s: %s\n", app_records_path, reason);
}

// One try at a high-score save, under the lock: the record file read as it stands (the
// default table when there is none), the rows of this run that are not saved yet put in,
// and the file replaced with the result, which is also the table in memory from then on.
// When the file cannot be read, or another save replaced or made it meanwhile, the table
// in memory stays as it is (*shown is left alone). Returns 0 or why nothing was saved.
int save_unsaved_rows(bool *shown) {
    AppDataFile file;
    int error = app_open_data_file(app_records_path, &file);
    size_t size = 0;
    if (error == 0 && file.fd >= 0) {
        error = app_read_open_data_file(&file, data_file_bytes, sizeof data_file_bytes, &size);
        if (error != 0) records_unread = error;
    }
    HighScoreEntry table[10];
    for (int i = 0; i < 10; i++) table[i] = default_rows[i];
    if (error == 0 && size > 0) {
        FILE *f = fmemopen(data_file_bytes, size, "r");
        if (f) {
            read_rows(f, table);
            std::fclose(f);
        } else {
            error = ENOMEM;
        }
    }
    if (error != 0) {
        app_close_data_file(&file);
        return error;
    }
    for (int i = 0; i < unsaved_count; i++) app_insert_high_score(table, &unsaved_rows[i]);
    char text[APP_RECORDS_TEXT_ROOM];
    size_t used = format_rows(table, text, sizeof text);
    error = used == 0 ? EOVERFLOW : app_replace_data_file(&file, text, used);
    app_close_data_file(&file);
    // A file replaced in between is read again for the table: this one is out of date.
    if (error != APP_SAVE_REPLACED) {
        std::memcpy(app_high_scores, table, sizeof table);
        *shown = true;
    }
    return error;
}

// Saves the rows kept unsaved, the finished game's row (NULL for none) among them. A
// save that fails before its table is made puts that row into the table on screen
// alone. Returns 1 when saved, else 0 after the line on standard error.
int save_kept_rows(const HighScoreEntry *row) {
    // Two copies of the game lost a row: each wrote the table it read at its start. The
    // file is read again while the other copies wait, and the rows go into the table it
    // holds now. A save that replaced it in between (a copy on a file system without
    // locks) is read in turn. One wait serves all the passes.
    const int unread = records_unread;
    int error = unread;
    int lock = -1;
    if (error == 0) error = app_take_save_lock(app_records_path, &lock);
    bool shown = false;
    if (error == 0) {
        error = APP_SAVE_REPLACED;
        for (int pass = 0; pass < 3 && error == APP_SAVE_REPLACED; pass++) error = save_unsaved_rows(&shown);
        app_release_save_lock(lock);
    }
    if (error == 0) {
        unsaved_count = 0;
        return 1;
    }
    if (row && !shown) app_insert_high_score(app_high_scores, row);
    report_unsaved_high_scores(error, unread != 0);
    return 0;
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

void app_read_high_scores_from(FILE *f) { read_rows(f, app_high_scores); }

void app_read_high_scores() {
    records_unread = 0;
    unsaved_count = 0;
    if (!app_records_path[0]) return;
    FILE *f = open_data_file(app_records_path, &records_unread);
    if (!f) return;
    app_read_high_scores_from(f);
    std::fclose(f);
}

int app_high_score_slot(const HighScoreEntry table[10], int32_t score) {
    for (int i = 0; i < 10; i++) {
        if (table[i].score < score) return i;
    }
    return -1;
}

int app_insert_high_score(HighScoreEntry table[10], const HighScoreEntry *row) {
    const int s = app_high_score_slot(table, row->score);
    if (s < 0) return -1;
    for (int i = 8; i >= s; i--) table[i + 1] = table[i];
    table[s] = *row;
    return s;
}

size_t app_format_high_scores(char *text, size_t room) { return format_rows(app_high_scores, text, room); }

int app_write_high_scores() {
    if (!app_records_path[0]) return 0;
    if (records_unread) {
        app_save_error = records_unread;
        return 0;
    }
    char text[APP_RECORDS_TEXT_ROOM];
    size_t used = app_format_high_scores(text, sizeof text);
    if (used == 0) return 0;
    int lock = -1;
    app_save_error = app_take_save_lock(app_records_path, &lock);
    if (app_save_error != 0) return 0;
    const int saved = app_replace_file(app_records_path, text, used);
    app_release_save_lock(lock);
    return saved;
}

int app_save_high_score(const HighScoreEntry *row) {
    if (!app_records_path[0]) {
        app_insert_high_score(app_high_scores, row);
        return 0;
    }
    keep_unsaved(row);
    return save_kept_rows(row);
}

int app_save_unsaved_high_scores() {
    if (!app_records_path[0] || unsaved_count == 0) return 1;
    return save_kept_rows(nullptr);
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
    settings_unread = 0;
    if (!app_settings_path[0]) return nullptr;
    FILE *f = open_data_file(app_settings_path, &settings_unread);
    if (!f) return nullptr;
    const char *code = app_read_settings_from(f);
    std::fclose(f);
    return code;
}

int app_write_settings(const char *code) {
    if (!app_settings_path[0] || !code) return 0;
    // Like the record file: one that could not be read stays as it is, without a word.
    if (settings_unread) {
        app_save_error = settings_unread;
        return 0;
    }
    char text[64];
    int n = std::snprintf(text, sizeof text, "sprog %s\n", code);
    if (n < 0 || (size_t)n >= sizeof text) return 0;
    return app_replace_file(app_settings_path, text, (size_t)n);
}
