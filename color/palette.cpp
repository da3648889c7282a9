#include "color/palette.h"

PaletteEntries Palette;
