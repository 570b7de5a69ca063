// Kestrune: the picture regression. Fixed scenes (title pages, a level intro, a game in
// full swing, level complete, game over, victory, pause) are painted with the real
// pictures and hashed; the hashes are kept in picture_hashes.txt beside this file. A
// changed picture fails here and is written to the build tree for a look; when the
// change is meant (new art, another SDL build), run the test with
// KESTRUNE_UPDATE_PICTURES=1 to write the new hashes.
// The executable's headless modes paint the same pictures as the scenes that copy them.
#include <gtest/gtest.h>

#include <cinttypes>
#include <cstdio>
#include <cstdlib>
#include <map>
#include <string>

#include "painters_support.h"
#include "test_util.h"

using namespace ptest;

namespace {

std::map<std::string, uint64_t> read_hashes() {
    std::map<std::string, uint64_t> out;
    FILE *f = std::fopen(KESTRUNE_PICTURE_HASHES, "r");
    if (!f) return out;
    char name[128];
    uint64_t hash = 0;
    while (std::fscanf(f, "%127s %" SCNx64, name, &hash) == 2) out[name] = hash;
    std::fclose(f);
    return out;
}

// The pixels of a BMP file the executable wrote, as the canvas holds them (alpha aside).
std::vector<uint32_t> bmp_pixels(const std::string &path) {
    std::vector<uint32_t> out;
    SDL_Surface *loaded = SDL_LoadBMP(path.c_str());
    if (!loaded) return out;
    SDL_Surface *argb = SDL_ConvertSurfaceFormat(loaded, SDL_PIXELFORMAT_ARGB8888, 0);
    SDL_FreeSurface(loaded);
    if (!argb) return out;
    for (int y = 0; y < argb->h; y++) {
        const uint32_t *row = (const uint32_t *)((const Uint8 *)argb->pixels + y * argb->pitch);
        for (int x = 0; x < argb->w; x++) out.push_back(row[x] & 0xFFFFFF);
    }
    SDL_FreeSurface(argb);
    return out;
}

std::vector<uint32_t> scene_pixels(const char *name) {
    for (int i = 0; i < SCENE_COUNT; i++)
        if (std::string(SCENES[i].name) == name) SCENES[i].paint();
    std::vector<uint32_t> px = snapshot();
    for (uint32_t &v : px) v &= 0xFFFFFF;
    return px;
}

}  // namespace

TEST(PictureRegression, EveryScenePaintsAsRecorded) {
    const std::map<std::string, uint64_t> recorded = read_hashes();
    const char *update = std::getenv("KESTRUNE_UPDATE_PICTURES");
    const bool updating = update && *update && std::string(update) != "0";
    std::string table;
    for (int i = 0; i < SCENE_COUNT; i++) {
        const Scene &scene = SCENES[i];
        scene.paint();
        const uint64_t hash = canvas_hash();
        char line[160];
        std::snprintf(line, sizeof line, "%s %016" PRIx64 "\n", scene.name, hash);
        table += line;
        if (updating) continue;
        const auto it = recorded.find(scene.name);
        if (it != recorded.end() && it->second == hash) continue;
        const std::string path = std::string(KESTRUNE_PICTURE_OUT) + "/changed_" + scene.name + ".png";
        write_png(path);
        ADD_FAILURE() << "scene " << scene.name << " paints differently (" << line
                      << "); its picture is in " << path;
    }
    if (updating) {
        FILE *f = std::fopen(KESTRUNE_PICTURE_HASHES, "w");
        ASSERT_TRUE(f);
        std::fputs(table.c_str(), f);
        std::fclose(f);
    }
    reset_world();
}

TEST(PictureRegression, TheHeadlessModesPaintTheScenesTheyCopy) {
    testutil::TempDir home;
    // The test run with the bot on level 10: its last picture is the busy-game scene.
    testutil::RunResult run = testutil::run_kestrune(
        {"--test", "1200", "--bot", "--bane", "10", "--sprog", "en", "--ud", home.path()},
        {"HOME=" + home.path()});
    ASSERT_EQ(run.status, 0) << run.err;
    const std::vector<uint32_t> last_tick = bmp_pixels(home / "f01199.bmp");
    ASSERT_EQ(last_tick.size(), 1000u * 736u);
    EXPECT_TRUE(last_tick == scene_pixels("level10_eggs"));

    // The title pictures: the instructions page and the high-score page.
    run = testutil::run_kestrune({"--sprog", "en", "--titelbillede", home / "title.bmp"}, {"HOME=" + home.path()});
    ASSERT_EQ(run.status, 0) << run.err;
    const std::vector<uint32_t> first = bmp_pixels(home / "title.bmp");
    const std::vector<uint32_t> second = bmp_pixels(home / "title.bmp.2.bmp");
    ASSERT_EQ(first.size(), 1000u * 736u);
    ASSERT_EQ(second.size(), 1000u * 736u);
    EXPECT_TRUE(first == scene_pixels("title_instructions"));
    EXPECT_TRUE(second == scene_pixels("title_high_scores"));
    reset_world();
}
