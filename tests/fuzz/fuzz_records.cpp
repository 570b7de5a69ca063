// Kestrune fuzzing: the high-score file reader. Whatever the file holds, every name ends
// inside its field, and the table written out and read back is the same table.
#include <cstdlib>
#include <cstring>

#include "app/app.h"
#include "fuzz_input.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size) {
    app_fill_default_high_scores();
    FILE *f = fuzz_open_bytes(data, size);
    if (!f) return 0;
    app_read_high_scores_from(f);
    std::fclose(f);
    HighScoreEntry read[10];
    std::memcpy(read, app_high_scores, sizeof read);
    for (const HighScoreEntry &row : read) {
        if (!std::memchr(row.name, '\0', sizeof row.name)) std::abort();
    }

    char text[APP_RECORDS_TEXT_ROOM];
    size_t n = app_format_high_scores(text, sizeof text);
    if (n == 0) std::abort();
    app_fill_default_high_scores();
    f = fuzz_open_bytes(reinterpret_cast<const uint8_t *>(text), n);
    if (!f) return 0;
    app_read_high_scores_from(f);
    std::fclose(f);
    for (int i = 0; i < 10; i++) {
        if (std::strcmp(read[i].name, app_high_scores[i].name) != 0 || read[i].score != app_high_scores[i].score ||
            read[i].level != app_high_scores[i].level)
            std::abort();
    }
    return 0;
}
