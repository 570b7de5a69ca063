// Kestrune picture generator: writing the pictures. PNGs are written with libpng as
// 8-bit RGBA (colour type 6) whatever their content, straight (not premultiplied) alpha,
// unfiltered rows; JPEGs as baseline with three components through stb_image_write.
#include <png.h>
#include <stb_image_write.h>

#include <cstdio>
#include <vector>

#include "gp.h"

namespace {

// Cairo keeps premultiplied 0xAARRGGBB words; the files want straight r, g, b, a bytes.
std::vector<unsigned char> straight_rgba(cairo_surface_t *s) {
    cairo_surface_flush(s);
    int w = cairo_image_surface_get_width(s);
    int h = cairo_image_surface_get_height(s);
    int stride = cairo_image_surface_get_stride(s);
    const unsigned char *data = cairo_image_surface_get_data(s);
    std::vector<unsigned char> out((size_t)w * h * 4);
    for (int y = 0; y < h; y++) {
        const uint32_t *row = (const uint32_t *)(data + (size_t)y * stride);
        for (int x = 0; x < w; x++) {
            uint32_t v = row[x];
            unsigned a = v >> 24;
            unsigned r = (v >> 16) & 0xFF, g = (v >> 8) & 0xFF, b = v & 0xFF;
            unsigned char *o = &out[((size_t)y * w + x) * 4];
            if (a == 0) {
                o[0] = o[1] = o[2] = o[3] = 0;
            } else {
                o[0] = (unsigned char)((r * 255 + a / 2) / a > 255 ? 255 : (r * 255 + a / 2) / a);
                o[1] = (unsigned char)((g * 255 + a / 2) / a > 255 ? 255 : (g * 255 + a / 2) / a);
                o[2] = (unsigned char)((b * 255 + a / 2) / a > 255 ? 255 : (b * 255 + a / 2) / a);
                o[3] = (unsigned char)a;
            }
        }
    }
    return out;
}

}  // namespace

bool write_png(cairo_surface_t *s, const std::string &path) {
    std::vector<unsigned char> px = straight_rgba(s);
    int w = cairo_image_surface_get_width(s);
    int h = cairo_image_surface_get_height(s);
    FILE *f = std::fopen(path.c_str(), "wb");
    if (!f) return false;
    png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
    png_infop info = png_create_info_struct(png);
    if (setjmp(png_jmpbuf(png))) {
        png_destroy_write_struct(&png, &info);
        std::fclose(f);
        return false;
    }
    png_init_io(png, f);
    png_set_compression_level(png, 6);
    // No row filters: on these pictures, mostly flat colour and clear ground, unfiltered
    // rows compress as well or better and decode markedly faster at start-up.
    png_set_filter(png, PNG_FILTER_TYPE_BASE, PNG_FILTER_NONE);
    png_set_IHDR(png, info, w, h, 8, PNG_COLOR_TYPE_RGB_ALPHA, PNG_INTERLACE_NONE, PNG_COMPRESSION_TYPE_DEFAULT,
                 PNG_FILTER_TYPE_DEFAULT);
    png_write_info(png, info);
    for (int y = 0; y < h; y++) png_write_row(png, &px[(size_t)y * w * 4]);
    png_write_end(png, nullptr);
    png_destroy_write_struct(&png, &info);
    return std::fclose(f) == 0;
}

bool write_jpeg(cairo_surface_t *s, const std::string &path, int quality) {
    std::vector<unsigned char> px = straight_rgba(s);
    int w = cairo_image_surface_get_width(s);
    int h = cairo_image_surface_get_height(s);
    std::vector<unsigned char> rgb((size_t)w * h * 3);
    for (size_t i = 0; i < (size_t)w * h; i++) {
        rgb[i * 3 + 0] = px[i * 4 + 0];
        rgb[i * 3 + 1] = px[i * 4 + 1];
        rgb[i * 3 + 2] = px[i * 4 + 2];
    }
    return stbi_write_jpg(path.c_str(), w, h, 3, rgb.data(), quality) != 0;
}
