// Kestrune fuzzing: the settings file reader. A code found is 1..15 bytes without white
// space, and the line the writer makes for it reads back as the same code.
#include <cctype>
#include <cstdlib>
#include <cstring>

#include "app/app.h"
#include "fuzz_input.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size) {
    FILE *f = fuzz_open_bytes(data, size);
    if (!f) return 0;
    const char *code = app_read_settings_from(f);
    std::fclose(f);
    if (!code) {
        if (app_settings_lang[0] != '\0') std::abort();
        return 0;
    }
    size_t len = strnlen(code, sizeof app_settings_lang);
    if (len == 0 || len > 15) std::abort();
    for (size_t i = 0; i < len; i++) {
        if (std::isspace((unsigned char)code[i])) std::abort();
    }
    char copy[16];
    std::memcpy(copy, code, len + 1);
    char line[64];
    int n = std::snprintf(line, sizeof line, "sprog %s\n", copy);
    f = fuzz_open_bytes(reinterpret_cast<const uint8_t *>(line), (size_t)n);
    if (!f) return 0;
    const char *again = app_read_settings_from(f);
    std::fclose(f);
    if (!again || std::strcmp(again, copy) != 0) std::abort();
    return 0;
}
