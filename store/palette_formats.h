// The palette formats of other colour tools, and the program's own .tbp, as
// plain bytes: a reader from a file's bytes to a list of colours, a writer from
// the 128 swatches to a file's bytes, and the choice of format from a file name
// and its first bytes. Plain C++: the files themselves and every message about
// them belong to the window; a reader says what is wrong with a file only by
// its error code.
//
//   .tbp  the program's own: the 128 entries as 512 raw bytes (red, green, blue, 0)
//   .gpl  GIMP palette: text, "GIMP Palette", Name:/Columns: lines, "R G B name" lines
//   .ase  Adobe Swatch Exchange: big-endian blocks of RGB, CMYK, LAB and Gray colours
//   .aco  Adobe colour swatches: big-endian version 1 and version 2 (named) sections
//   .pal  JASC palette: text, "JASC-PAL", "0100", the count, "R G B" lines
//   .txt  Paint.NET palette: text, ";" comments, one AARRGGBB a line
//   .hex  plain list: one RRGGBB a line
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "store/palette_data.h"

enum class PaletteFormat { Tbp, Gpl, Ase, Aco, Jasc, PaintNet, Hex };
constexpr int kPaletteFormatCount = 7;

// What is wrong with a file; the window turns each into a message naming the file.
enum class PaletteError {
    None,
    NotThisFormat,  // the file does not begin the way this format begins
    Truncated,      // the file ends inside a header, a block, an entry or before its count of colours
    TooLarge,       // the file is larger than kPaletteFileLimit
    OutOfRange,     // a colour value lies outside its format's range (or is not a number)
    Malformed,      // a line or block that the format does not allow
    Unsupported,    // a version or colour model this program does not read (spot colour books, ...)
    NoColors,       // the file is empty or holds no colour at all
};

constexpr size_t kPaletteFileLimit = size_t{1} << 20;  // larger files are refused unread

// One file read: on success the first (at most 128) colours, 0x00BBGGRR, in file order.
struct PaletteRead {
    PaletteError error = PaletteError::None;
    std::vector<uint32_t> colors;
    size_t total = 0;        // colours the file holds; total - colors.size() were left out
    size_t partialBytes = 0; // .tbp only: 1..3 when the file ends inside an entry, whose
                             // first partialBytes bytes (red first) are all it replaces
};

// The format a file is read in: by its extension, whatever its letter case;
// a name with none of the extensions above by its first bytes ("GIMP Palette",
// "ASEF", "JASC-PAL", "; paint.net"); anything else is a .tbp. The name may be
// a whole path in the program's code page.
PaletteFormat DetectPaletteFormat(const std::string& fileName, const uint8_t* data, size_t size);

// The extension a file of this format is saved with, dot included (".gpl").
const char* PaletteFormatExtension(PaletteFormat format);

// Reads a whole file's bytes as the given format; never reads outside them.
PaletteRead ReadPaletteFormat(PaletteFormat format, const uint8_t* data, size_t size);

// The file of the given format holding the 128 colours in swatch order, each
// named by its "#rrggbb" text where the format names colours, and the palette
// named `name` (the file's base name) where it names palettes.
std::vector<uint8_t> WritePaletteFormat(PaletteFormat format, const uint32_t (&colors)[kPaletteEntries],
                                        const std::u16string& name);

// Puts a successful reading into the palette: colour i into swatch i, the
// swatches after the last colour as they were, the fourth byte of each swatch
// written cleared. A reading with an error changes nothing and gives false.
bool ApplyPaletteRead(const PaletteRead& read, uint32_t (&palette)[kPaletteEntries]);
