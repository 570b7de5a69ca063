// Kestrune: the program's entry point. The command line, the seed, the high-score
// table and the data directory, the language, then exactly one run mode.
#include <cstdio>
#include <cstdlib>
#include <ctime>

#include "app/app.h"
#include "text/text.h"

int main(int argc, char **argv) {
    app_ignore_write_signals();  // a write that fails is reported, never a silent death
    if (!app_scan_command_line(argc, argv)) {
        app_print_usage(argv[0]);
        return 0;
    }
    srand((unsigned)time(nullptr));
    app_fill_default_high_scores();
    app_setup_data_dir();
    app_remove_stale_temp_files();
    app_read_high_scores();

    // The language: the command line, else the settings file, else the locale.
    if (app_options.lang_code) {
        lang_detect(app_options.lang_code);
    } else if (app_settings_path[0]) {
        lang_detect(app_read_settings());
    } else {
        lang_detect(nullptr);
    }

    // The test run goes before the music dump, which goes before the title pictures.
    if (app_options.test_ticks != 0) return app_run_test();
    const char *dump = std::getenv("JULEN_LYDPROEVE");
    if (dump) return app_run_music_dump(dump);
    if (app_options.title_path) return app_run_title_pictures(app_options.title_path);
    return app_run_interactive();
}
