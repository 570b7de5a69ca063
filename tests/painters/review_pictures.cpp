// Kestrune: writes the picture regression's scenes as PNG files for a look, into the
// folder given (the current folder if none). Not a test.
#include <cstdio>
#include <string>

#include "painters_support.h"

int main(int argc, char **argv) {
    const std::string dir = argc > 1 ? argv[1] : ".";
    int failed = 0;
    for (int i = 0; i < ptest::SCENE_COUNT; i++) {
        ptest::SCENES[i].paint();
        const std::string path = dir + "/" + ptest::SCENES[i].name + ".png";
        if (ptest::write_png(path)) {
            std::printf("%s\n", path.c_str());
        } else {
            std::fprintf(stderr, "could not write %s\n", path.c_str());
            failed = 1;
        }
    }
    return failed;
}
