// The palette: the 128 colors the user keeps, 16 columns by 8 rows. Plain C++;
// its files are the store's (store/palette_file.h).
#pragma once

#include <cstdint>

constexpr int kPaletteColumns = 16;
constexpr int kPaletteRows = 8;
constexpr int kPaletteEntries = kPaletteColumns * kPaletteRows;  // index = row * 16 + column

using PaletteEntries = uint32_t[kPaletteEntries];

// ---- Globals owned by the palette ----
extern PaletteEntries Palette;  // COLORREFs 0x00BBGGRR, all black at start
extern bool g_paletteChanged;   // a swatch was stored, or a palette opened or reset, since the start
