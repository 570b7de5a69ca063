// Kestrune fuzzing: the test-run script reader. The tables only ever hold 0 or 1 in
// their flags, a picture only on a tick that has a mask, and a masked tick only where a
// line of the input could have named it.
#include <cstdlib>
#include <cstring>

#include "app/app.h"
#include "fuzz_input.h"

// The checks walk all 200000 ticks, eight at a time, outside the coverage tracing and
// the sanitizers: they check the reader, and traced they would slow every input down a
// hundredfold.
#if defined(__clang__)
#define KESTRUNE_NO_COVERAGE __attribute__((no_sanitize("coverage", "address", "undefined")))
#else
#define KESTRUNE_NO_COVERAGE
#endif

namespace {

// The ticks an input touched, so the next input starts from empty tables.
int touched[APP_SCRIPT_TICKS];

KESTRUNE_NO_COVERAGE int check_tables() {
    static_assert(APP_SCRIPT_TICKS % 8 == 0, "whole words");
    int count = 0;
    for (int w = 0; w < APP_SCRIPT_TICKS; w += 8) {
        uint64_t set_word, shot_word;
        std::memcpy(&set_word, app_script_set + w, 8);
        std::memcpy(&shot_word, app_script_shot + w, 8);
        if ((set_word | shot_word) == 0) continue;
        for (int i = w; i < w + 8; i++) {
            if (app_script_set[i] > 1 || app_script_shot[i] > 1) std::abort();
            if (app_script_shot[i] && !app_script_set[i]) std::abort();
            if (app_script_set[i]) touched[count++] = i;
        }
    }
    return count;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size) {
    static bool first = true;
    if (first) {
        app_clear_script();
        first = false;
    }
    FILE *f = fuzz_open_bytes(data, size);
    if (!f) return 0;
    app_read_script_from(f);
    std::fclose(f);
    // Every line holds at least two bytes, so no input sets more ticks than half its size.
    int touched_count = check_tables();
    if ((size_t)touched_count > size / 2 + 1) std::abort();
    for (int k = 0; k < touched_count; k++) {
        int i = touched[k];
        app_script_set[i] = 0;
        app_script_shot[i] = 0;
        app_script_mask[i] = 0;
    }
    return 0;
}
