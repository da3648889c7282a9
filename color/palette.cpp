#include "color/palette.h"

PaletteEntries Palette;
bool g_paletteChanged;
