// Kestrune tests: tells from a screenshot of the game's window whether the game-over
// panel stands on it. Reads an X window dump (what `xwd -id WINDOW` writes) from standard
// input; exit status 0 when the panel is there, 1 when not, 2 when the input is no dump
// it can read. Prints "game over" or "no game over" with the figures it went by.
// With --png FILE it also writes the picture as a PNG file, to look at.
//
// The panel is the banner from canvas row 300, 90 rows high, across the whole width: a
// translucent dark green body with a golden edge on its top two and bottom two rows.
// Rows 300 and 388 are edge-coloured and rows 303 and 386 dark. No other panel has all
// four: the level intro's banner (from 240, 150 high) ends on row 388 too but its row 300
// is body, the pause banner (from 300, 80 high) ends on row 378, the name entry's (from
// 220, 260 high) is body on both rows and the victory's starts at 556.
#include <stb_image_write.h>

#include <cstdint>
#include <cstdio>
#include <cstring>
#include <vector>

namespace {

// The fixed part of the dump's header: 25 big-endian 32-bit fields, then the window's
// name up to the header size, the colour map and the pixels.
enum HeaderField {
    XWD_HEADER_SIZE = 0,
    XWD_FILE_VERSION = 1,
    XWD_PIXMAP_FORMAT = 2,
    XWD_PIXMAP_WIDTH = 4,
    XWD_PIXMAP_HEIGHT = 5,
    XWD_BYTE_ORDER = 7,
    XWD_BITS_PER_PIXEL = 11,
    XWD_BYTES_PER_LINE = 12,
    XWD_VISUAL_CLASS = 13,
    XWD_RED_MASK = 14,
    XWD_GREEN_MASK = 15,
    XWD_BLUE_MASK = 16,
    XWD_NCOLORS = 19,
    XWD_HEADER_FIELDS = 25,
};
const uint32_t zpixmap = 2;
const uint32_t xwd_version = 7;
const uint32_t true_color = 4;
const uint32_t direct_color = 5;
// A colour-map entry, big-endian: pixel (32 bits), red, green, blue (16 each), flags, pad.
const size_t colour_entry_size = 12;

const int canvas_height = 736;

struct Dump {
    uint32_t header[XWD_HEADER_FIELDS];
    uint32_t masks[3];       // red, green, blue
    const uint8_t *colours;  // the colour map's entries
    const uint8_t *pixels;   // the lines of pixels
    // A DirectColor visual's red, green and blue go through the colour map (Xvfb's is the
    // identity), indexed by the channel's bits; channels of up to 8 bits.
    uint8_t direct[3][256];
};

uint32_t be32(const uint8_t *p) {
    return (uint32_t)p[0] << 24 | (uint32_t)p[1] << 16 | (uint32_t)p[2] << 8 | (uint32_t)p[3];
}

int shift_of(uint32_t mask) {
    int shift = 0;
    while (shift < 31 && !(mask >> shift & 1u)) shift++;
    return shift;
}

// The bits of a mask in a pixel, as 0..255.
uint8_t scaled(uint32_t pixel, uint32_t mask) {
    if (mask == 0) return 0;
    const int shift = shift_of(mask);
    const uint32_t top = mask >> shift;
    return (uint8_t)(((uint64_t)((pixel & mask) >> shift) * 255 + top / 2) / top);
}

// Fills the dump's fields from the bytes read; 0 when they are no dump this reads.
int parse(const std::vector<uint8_t> &bytes, Dump *dump) {
    if (bytes.size() < XWD_HEADER_FIELDS * 4) return 0;
    uint32_t *h = dump->header;
    for (int i = 0; i < XWD_HEADER_FIELDS; i++) h[i] = be32(&bytes[(size_t)i * 4]);
    if (h[XWD_FILE_VERSION] != xwd_version || h[XWD_PIXMAP_FORMAT] != zpixmap) return 0;
    const uint32_t bpp = h[XWD_BITS_PER_PIXEL];
    if (bpp != 8 && bpp != 16 && bpp != 24 && bpp != 32) return 0;
    const uint32_t width = h[XWD_PIXMAP_WIDTH];
    const uint32_t height = h[XWD_PIXMAP_HEIGHT];
    if (width == 0 || height == 0 || width > 65536 || height > 65536) return 0;
    if ((uint64_t)h[XWD_BYTES_PER_LINE] < (uint64_t)width * bpp / 8) return 0;
    const uint64_t colours_at = h[XWD_HEADER_SIZE];
    const uint64_t pixels_at = colours_at + (uint64_t)h[XWD_NCOLORS] * colour_entry_size;
    const uint64_t end = pixels_at + (uint64_t)h[XWD_BYTES_PER_LINE] * height;
    if (colours_at < XWD_HEADER_FIELDS * 4 || end > bytes.size()) return 0;
    dump->colours = bytes.data() + colours_at;
    dump->pixels = bytes.data() + pixels_at;
    dump->masks[0] = h[XWD_RED_MASK];
    dump->masks[1] = h[XWD_GREEN_MASK];
    dump->masks[2] = h[XWD_BLUE_MASK];
    for (int k = 0; k < 3; k++) {
        const uint32_t mask = dump->masks[k];
        const int shift = shift_of(mask);
        for (uint32_t v = 0; v < 256; v++) dump->direct[k][v] = scaled(v << shift, mask);
        if (mask == 0 || mask >> shift > 255) continue;
        for (uint32_t i = 0; i < h[XWD_NCOLORS]; i++) {
            const uint8_t *c = dump->colours + (size_t)i * colour_entry_size;
            dump->direct[k][(be32(c) & mask) >> shift] = c[4 + 2 * k];  // the value's high byte
        }
    }
    return 1;
}

void rgb_at(const Dump &d, uint32_t x, uint32_t y, uint8_t out[3]) {
    const uint32_t *h = d.header;
    const uint32_t n = h[XWD_BITS_PER_PIXEL] / 8;
    const uint8_t *p = d.pixels + (size_t)y * h[XWD_BYTES_PER_LINE] + (size_t)x * n;
    uint32_t pixel = 0;
    for (uint32_t i = 0; i < n; i++) {
        const uint32_t b = p[i];
        pixel |= h[XWD_BYTE_ORDER] == 0 ? b << (8 * i) : b << (8 * (n - 1 - i));  // 0: least significant first
    }
    if (h[XWD_VISUAL_CLASS] == true_color) {
        for (int k = 0; k < 3; k++) out[k] = scaled(pixel, d.masks[k]);
        return;
    }
    if (h[XWD_VISUAL_CLASS] == direct_color) {
        for (int k = 0; k < 3; k++) {
            const uint32_t v = (pixel & d.masks[k]) >> shift_of(d.masks[k]);
            out[k] = v < 256 ? d.direct[k][v] : scaled(pixel, d.masks[k]);
        }
        return;
    }
    // Any other visual: the colour-map entry of this pixel value.
    out[0] = out[1] = out[2] = 0;
    for (uint32_t i = 0; i < h[XWD_NCOLORS]; i++) {
        const uint8_t *c = d.colours + (size_t)i * colour_entry_size;
        if (be32(c) == pixel) {
            for (int k = 0; k < 3; k++) out[k] = c[4 + 2 * k];
            return;
        }
    }
}

// The golden edge blended over the body over whatever lies behind: about (201..207,
// 168..175, 97..103); a little room is left for the renderer's rounding.
bool is_edge(const uint8_t c[3]) {
    return c[0] >= 192 && c[0] <= 216 && c[1] >= 160 && c[1] <= 184 && c[2] >= 88 && c[2] <= 112;
}

// The body over anything is at most (67, 81, 62).
bool is_dark(const uint8_t c[3]) { return c[0] <= 80 && c[1] <= 95 && c[2] <= 75; }

// The share of a canvas row's pixels that pass (the window may be scaled).
double share(const Dump &d, int canvas_row, bool (*test)(const uint8_t[3])) {
    const uint32_t width = d.header[XWD_PIXMAP_WIDTH];
    const uint32_t height = d.header[XWD_PIXMAP_HEIGHT];
    const uint32_t y = (uint32_t)(((uint64_t)canvas_row * 2 + 1) * height / (2 * canvas_height));
    uint32_t n = 0;
    for (uint32_t x = 0; x < width; x++) {
        uint8_t c[3];
        rgb_at(d, x, y, c);
        n += test(c) ? 1 : 0;
    }
    return (double)n / width;
}

int write_png(const Dump &d, const char *path) {
    const uint32_t width = d.header[XWD_PIXMAP_WIDTH];
    const uint32_t height = d.header[XWD_PIXMAP_HEIGHT];
    std::vector<uint8_t> rgb((size_t)width * height * 3);
    for (uint32_t y = 0; y < height; y++) {
        for (uint32_t x = 0; x < width; x++) rgb_at(d, x, y, &rgb[((size_t)y * width + x) * 3]);
    }
    return stbi_write_png(path, (int)width, (int)height, 3, rgb.data(), (int)width * 3);
}

}  // namespace

int main(int argc, char **argv) {
    const char *png = nullptr;
    for (int i = 1; i < argc; i++) {
        if (std::strcmp(argv[i], "--png") == 0 && i + 1 < argc) {
            png = argv[++i];
        } else {
            std::fprintf(stderr, "usage: %s [--png FILE] < window.xwd\n", argv[0]);
            return 2;
        }
    }
    std::vector<uint8_t> bytes;
    static uint8_t buf[65536];
    size_t n;
    while ((n = std::fread(buf, 1, sizeof buf, stdin)) > 0) bytes.insert(bytes.end(), buf, buf + n);
    static Dump dump;
    if (!parse(bytes, &dump)) {
        std::printf("no window dump\n");
        return 2;
    }
    if (png && !write_png(dump, png)) std::fprintf(stderr, "%s: not written\n", png);

    // Nearly all of each row rather than every pixel: a renderer may round a few apart.
    const double top = share(dump, 300, is_edge), bottom = share(dump, 388, is_edge);
    const double below_top = share(dump, 303, is_dark), above_bottom = share(dump, 386, is_dark);
    const bool panel = top >= 0.9 && bottom >= 0.9 && below_top >= 0.9 && above_bottom >= 0.9;
    std::printf("%s (edge rows %.2f %.2f, dark rows %.2f %.2f)\n", panel ? "game over" : "no game over", top, bottom,
                below_top, above_bottom);
    return panel ? 0 : 1;
}
