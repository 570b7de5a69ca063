// Kestrune: the embedded pictures. Each is the bytes of a PNG or JPEG file in read-only
// data, followed by its 32-bit byte count. The build makes them (data/*.cmake).
#pragma once
#include <cstdint>

#define KESTRUNE_EMBEDDED(name)            \
    extern "C" const unsigned char name[]; \
    extern "C" const uint32_t name##_size;

KESTRUNE_EMBEDDED(data_sprite_atlas_png)   // 2048 x 1664 RGBA, the sprites
KESTRUNE_EMBEDDED(data_hero_portrait_png)  // 254 x 300 RGBA
KESTRUNE_EMBEDDED(data_title_logo_png)     // 1023 x 360 RGBA
KESTRUNE_EMBEDDED(data_font_small_png)     // 4096 x 448 RGBA, bitmap font
KESTRUNE_EMBEDDED(data_font_large_png)     // 4096 x 1128 RGBA, bitmap font
KESTRUNE_EMBEDDED(data_background_00_jpg)  // 960 x 640 baseline JPEG, one per level index
KESTRUNE_EMBEDDED(data_background_01_jpg)
KESTRUNE_EMBEDDED(data_background_02_jpg)
KESTRUNE_EMBEDDED(data_background_03_jpg)
KESTRUNE_EMBEDDED(data_background_04_jpg)
KESTRUNE_EMBEDDED(data_background_05_jpg)
KESTRUNE_EMBEDDED(data_background_06_jpg)
KESTRUNE_EMBEDDED(data_background_07_jpg)
KESTRUNE_EMBEDDED(data_background_08_jpg)
KESTRUNE_EMBEDDED(data_background_09_jpg)
KESTRUNE_EMBEDDED(data_background_10_jpg)
KESTRUNE_EMBEDDED(data_background_11_jpg)
KESTRUNE_EMBEDDED(data_background_12_jpg)
KESTRUNE_EMBEDDED(data_background_13_jpg)
KESTRUNE_EMBEDDED(data_background_14_jpg)
