// Kestrune: the test run's script tables and reader, and its input rule. A script line
// is "tick mask [s]": from that tick on the mask holds, and "s" asks for a picture.
#include <cctype>
#include <cstdio>
#include <cstring>

#include "app/app.h"

int32_t app_script_mask[APP_SCRIPT_TICKS];
uint8_t app_script_set[APP_SCRIPT_TICKS];
uint8_t app_script_shot[APP_SCRIPT_TICKS];

void app_clear_script() {
    std::memset(app_script_mask, 0, sizeof app_script_mask);
    std::memset(app_script_set, 0, sizeof app_script_set);
    std::memset(app_script_shot, 0, sizeof app_script_shot);
}

void app_read_script_line(const char *line) {
    // "%d %d %c": tick, mask and an optional flag, the first character after the blanks
    // that follow the mask. Numbers beyond int32 saturate, so a huge tick is past the
    // tables rather than wrapped onto some tick in them.
    const char *p = line;
    int32_t tick = 0;
    int32_t mask = 0;
    if (!app_scan_int(&p, &tick) || !app_scan_int(&p, &mask)) return;
    while (std::isspace((unsigned char)*p)) p++;
    const char flag = *p;
    // Lines without both numbers, and ticks outside the tables, are passed over.
    if (tick < 0 || tick >= APP_SCRIPT_TICKS) return;
    app_script_mask[tick] = mask;
    app_script_set[tick] = 1;
    app_script_shot[tick] = flag == 's' ? 1 : 0;
}

void app_read_script_from(FILE *f) {
    // A line longer than the buffer comes in pieces, each read as a line of its own.
    char line[128];
    while (std::fgets(line, sizeof line, f)) app_read_script_line(line);
}

void app_test_input(int32_t mask, int32_t previous, PlayerInput *input) {
    input->left = mask & INPUT_LEFT;
    input->right = mask & INPUT_RIGHT;
    input->up = mask & INPUT_UP;
    input->down = mask & INPUT_DOWN;
    // Every bit counts as a press here, the directions too.
    input->action = (mask & ~previous) != 0 ? 1 : 0;
}
