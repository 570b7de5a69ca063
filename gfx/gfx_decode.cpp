// Kestrune: embedded pictures decoded ahead of their use. Start-up asks at once for
// every picture its first frame needs, each decoded on a worker thread of its own while
// the main thread goes on (opening the window, loading the pictures that are ready);
// whoever then loads the same bytes takes the decoded pixels instead of decoding again,
// waiting for the worker only if it is not done. A picture nobody asked for is decoded
// on the spot, as before. Textures are made on the main thread only: the renderer is not
// shared with the workers.
#include <pthread.h>
#include <stb_image.h>

#include "gfx/gfx_private.h"

namespace {

// One picture being decoded, or decoded and not yet taken.
struct DecodeJob {
    const unsigned char *data;  // the embedded bytes: the job's key; NULL for a free job
    int size;
    pthread_t thread;
    bool running;  // a worker decodes it and has not been joined
    unsigned char *pixels;  // four channels, freed with stbi_image_free; NULL on failure
    int w;
    int h;
    const char *failure;  // the decoder's reason when pixels is NULL
};

// Start-up asks for at most nine pictures (five of gfx_init, two backgrounds, a text
// atlas and a title picture); a full table decodes the rest on the spot.
enum { DECODE_JOBS = 12 };
DecodeJob decode_jobs[DECODE_JOBS];

void decode(DecodeJob *job) {
    int channels = 0;
    job->pixels = stbi_load_from_memory(job->data, job->size, &job->w, &job->h, &channels, 4);
    // The reason is kept per thread by the decoder; take it while on this thread.
    job->failure = job->pixels ? nullptr : stbi_failure_reason();
}

void *decode_worker(void *arg) {
    decode(static_cast<DecodeJob *>(arg));
    return nullptr;
}

DecodeJob *find_job(const unsigned char *data, int size) {
    for (DecodeJob &job : decode_jobs)
        if (job.data == data && job.size == size) return &job;
    return nullptr;
}

// A missing or negative-sized picture is read as an empty one: it fails to decode like
// any damaged picture, and the decoder never looks outside the bytes.
void sanitise(const unsigned char **data, int *size) {
    static const unsigned char nothing[1] = {0};
    if (!*data || *size < 0) {
        *data = nothing;
        *size = 0;
    }
}

}  // namespace

void gfx_decode_ahead(const unsigned char *data, uint32_t size) {
    if (!data || size > (uint32_t)INT32_MAX) return;
    if (find_job(data, (int)size)) return;
    DecodeJob *job = find_job(nullptr, 0);
    if (!job) return;
    *job = DecodeJob{data, (int)size, pthread_t{}, false, nullptr, 0, 0, nullptr};
    // A plain thread: it starts at once, without the caller waiting for it to run.
    job->running = pthread_create(&job->thread, nullptr, decode_worker, job) == 0;
    // No thread to be had: decode now, so the job is still ready when it is taken.
    if (!job->running) decode(job);
}

unsigned char *gfx_decode_take(const unsigned char *data, int size, int *w, int *h, const char **failure) {
    sanitise(&data, &size);
    DecodeJob local = {data, size, pthread_t{}, false, nullptr, 0, 0, nullptr};
    DecodeJob *job = find_job(data, size);
    if (job) {
        if (job->running) pthread_join(job->thread, nullptr);
        local = *job;
        *job = DecodeJob{};
    } else {
        decode(&local);
    }
    *w = local.w;
    *h = local.h;
    *failure = local.failure;
    return local.pixels;
}

void gfx_decode_ahead_startup() {
    // The biggest first, so the longest decode starts soonest.
    gfx_decode_ahead(data_font_large_png, data_font_large_png_size);
    gfx_decode_ahead(data_sprite_atlas_png, data_sprite_atlas_png_size);
    gfx_decode_ahead(data_font_small_png, data_font_small_png_size);
    gfx_decode_ahead(data_title_logo_png, data_title_logo_png_size);
    gfx_decode_ahead(data_hero_portrait_png, data_hero_portrait_png_size);
}

void gfx_decode_ahead_background(int level) {
    const int key = gfx_background_key(level);
    const uint32_t *size = gfx_level_background_sizes[key];
    if (size) gfx_decode_ahead(gfx_level_backgrounds[key], *size);
}
