// Kestrune: the embedded data library. The bytes themselves come from the assembler
// sources the build writes (data/embed.cmake); this file only anchors the library.
#include "data/data.h"
