// Kestrune: placeholder until the language records land.
#include "text/text.h"
