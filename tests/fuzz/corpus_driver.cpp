// Kestrune: runs a fuzz target's entry point over every file of its seed corpus, so the
// corpus checks run in every build without a fuzzing compiler.
#include <dirent.h>

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size);

int main(int argc, char **argv) {
    int files = 0;
    for (int a = 1; a < argc; a++) {
        std::vector<std::string> names;
        if (DIR *d = opendir(argv[a])) {
            while (struct dirent *e = readdir(d)) {
                if (e->d_name[0] != '.') names.push_back(std::string(argv[a]) + "/" + e->d_name);
            }
            closedir(d);
        } else {
            names.push_back(argv[a]);
        }
        std::sort(names.begin(), names.end());
        for (const std::string &name : names) {
            FILE *f = std::fopen(name.c_str(), "rb");
            if (!f) {
                std::fprintf(stderr, "cannot read %s\n", name.c_str());
                return 1;
            }
            std::vector<uint8_t> bytes;
            uint8_t buf[65536];
            size_t n;
            while ((n = std::fread(buf, 1, sizeof buf, f)) > 0) bytes.insert(bytes.end(), buf, buf + n);
            std::fclose(f);
            LLVMFuzzerTestOneInput(bytes.data(), bytes.size());
            files++;
        }
    }
    std::printf("%d corpus files passed\n", files);
    return files > 0 ? 0 : 1;
}
