// The palette file format: the 512 bytes of the 128 entries as they lie in
// memory, with no header. Plain C++; the files themselves are read and written
// in palette_file.h.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

#include "color/palette.h"

constexpr size_t kPaletteFileSize = 4 * kPaletteEntries;  // 512 bytes

// Replaces the first `count` bytes of `palette` (at most 512) with `bytes`,
// entry 0 first, each entry red, green, blue, then a fourth byte. A short run
// leaves the rest as it was. The fourth byte of every entry touched is cleared,
// so a swatch always shows the color a pick takes from it.
void ApplyPaletteBytes(PaletteEntries& palette, const uint8_t* bytes, size_t count);

// A palette as the 512 bytes of its file.
void PaletteToBytes(const PaletteEntries& palette, uint8_t (&bytes)[kPaletteFileSize]);

// A palette file name as the save dialog returns it: `extension` (".tbp", or
// the extension of the format chosen) is appended unless the name ends in
// exactly that (same case). Returns false, leaving the path as it was, when
// the longer name would not fit in `size` bytes.
bool EnsurePaletteExtension(char* path, size_t size, const char* extension = ".tbp");

// A file's bytes as found at one moment, or why there are none.
struct FileBytes {
    enum State { Missing, Unreadable, Read } state = Missing;
    std::string bytes;  // the whole file, when Read
};

// Whether a file's bytes are exactly the palette's 512 and no more.
bool BytesHoldPalette(const FileBytes& file, const PaletteEntries& palette);

// Whether the close writes "palette.ini". Not when this run changed no swatch
// and the file, there now, is not byte for byte the one this run read at start
// (another instance or program wrote it since, or it could not be read then or
// now): the close would otherwise wipe what it never saw. A missing file is
// always written.
bool PaletteFileWanted(bool changedThisRun, const FileBytes& atStart, const FileBytes& now);

// Whether the close knows without reading the file again that it need not
// write it, unless it has gone: this run changed no swatch and the file held
// exactly this palette at start, so whatever holds its place now is either
// the same bytes or what another instance or program wrote since.
bool PaletteKeptAsRead(bool changedThisRun, const FileBytes& atStart, const PaletteEntries& palette);
