// Kestrune: the command line. Ten options, compared whole; anything else (or an option
// that needs a value and stands last) ends the run with the usage text.
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "app/app.h"

AppOptions app_options = {0, 0, 0, 0, nullptr, ".", nullptr, nullptr};
uint8_t app_bot_enabled = 0;

namespace {

// strtol with base 10, then the low 32 bits: "7x" is 7, "x" is 0, nothing is reported.
int32_t option_int(const char *s) {
    long v = std::strtol(s, nullptr, 10);
    return (int32_t)(uint32_t)(unsigned long)v;
}

}  // namespace

void app_print_usage(const char *argv0) {
    std::printf(
        "Kestrune\n\nBrug: %s [--bane N] [--fuldskaerm] [--skala N] "
        "[--sprog da|sv|nb|fi|is|en|de|nl|fr|it|es|pt|pt_BR|pl|cs|hu|ro|el|tr|uk|he|ar|fa|ur|hi|bn|th|vi|id|ko|ja|zh]\n",
        argv0 ? argv0 : "kestrune");
}

int app_scan_command_line(int argc, char **argv) {
    AppOptions &o = app_options;
    int32_t level_number = 1;
    for (int i = 1; i < argc; i++) {
        const char *a = argv[i];
        // The options that stand alone.
        if (std::strcmp(a, "--bot") == 0) {
            app_bot_enabled = 1;
            continue;
        }
        if (std::strcmp(a, "--fuldskaerm") == 0) {
            o.fullscreen = 1;
            continue;
        }
        // The options that take the next argument, whatever it looks like.
        static const char *const with_value[] = {"--bane", "--by",  "--skala",        "--test",
                                                 "--script", "--ud", "--titelbillede", "--sprog"};
        int which = -1;
        for (int k = 0; k < 8; k++) {
            if (std::strcmp(a, with_value[k]) == 0) {
                which = k;
                break;
            }
        }
        if (which < 0 || i + 1 >= argc) return 0;
        const char *v = argv[++i];
        switch (which) {
            case 0: level_number = option_int(v); break;
            case 1: (void)option_int(v); break;  // accepted and ignored
            case 2: o.scale = option_int(v); break;
            case 3: o.test_ticks = option_int(v); break;
            case 4: o.script_path = v; break;
            case 5: o.out_dir = v; break;
            case 6: o.title_path = v; break;
            default: o.lang_code = v; break;
        }
    }
    // Level numbers 1..15 become indices 0..14; everything else starts at level 1.
    uint32_t index = (uint32_t)level_number - 1u;
    o.start_level = index <= 14u ? (int32_t)index : 0;
    return 1;
}
