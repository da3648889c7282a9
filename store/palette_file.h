// Palette files ("palette.ini", "palini.dll", the user's "*.tbp" and the
// palette files of other colour tools) and the dialogs that choose a user
// palette file.
#pragma once

#include <windows.h>

#include <string>

#include "store/palette_data.h"
#include "store/palette_formats.h"

// Every call below that gives false leaves the platform's reason in GetLastError.

// Replaces `palette` with the file's first bytes (at most 512); a file that
// cannot be opened or read leaves it as it was. Returns whether the file was read.
bool ReadPaletteFile(const char* path, PaletteEntries& palette);

// The whole file as it is now (one of more than 16 MB counts as unreadable).
FileBytes ReadFileBytes(const char* path);
// Whether nothing is there by that name, as ReadFileBytes would find it Missing.
bool FileIsMissing(const char* path);

// Replaces the file with the palette's 512 bytes. The bytes go to a temporary
// file beside it first, which then takes its place in one step (ReplaceFileA,
// which keeps the old file's attributes; a new file is moved into place), so a
// failure at any point leaves the old file as it was and no temporary file
// behind. A read-only file is not replaced. Returns whether the file was written.
bool WritePaletteFile(const char* path, const PaletteEntries& palette);

// Whether the file holds exactly the palette's 512 bytes and no more. Reading a
// file back costs far less than writing, flushing and replacing it.
bool PaletteFileHolds(const char* path, const PaletteEntries& palette);

// What opening a palette file the user chose came to.
struct PaletteOpening {
    bool opened = false;   // the file could be opened and read; when not, the palette is as it was
    PaletteFormat format = PaletteFormat::Tbp;
    PaletteError error = PaletteError::None;  // anything but None: the palette is as it was
    size_t total = 0;      // colours the file holds (not counted for a .tbp)
    size_t leftOut = 0;    // colours after the 128th, not taken
};

// Reads a palette file the user chose into `palette`, in the format its
// extension names, else its first bytes show, else as a .tbp. A .tbp keeps the
// rules of the program's own files (its first 512 bytes replace as many bytes
// of the palette, an empty one changes nothing); any other format is read
// whole (at most kPaletteFileLimit bytes) and changes the palette only when it
// holds no fault: colour i into swatch i, the swatches after its last colour
// as they were.
PaletteOpening OpenUserPaletteFile(const char* path, PaletteEntries& palette);

// Writes the palette to a file the user chose, in `format`: a .tbp as
// WritePaletteFile does, any other format named after the file's base name
// where it names palettes, each colour after its "#rrggbb" text. The same
// replacement in one step: a failure leaves the old file as it was.
bool WriteUserPaletteFile(const char* path, PaletteFormat format, const PaletteEntries& palette);

// The temporary file names a write of `path` tries, in order: the target's
// name, the process ID and the attempt. A name already taken, by a file left
// behind by a write that was cut off or anything else, is passed over.
constexpr unsigned kTemporaryNameAttempts = 64;
std::string TemporaryPaletteName(const char* path, unsigned attempt);

// What a palette dialog shows: its title and its filters (display text and
// pattern, each NUL-terminated, closed by one more NUL). The save dialog's
// filters are one a format, in the order of PaletteFormat, .tbp first.
struct PaletteDialogTexts {
    const char* title;
    const char* filter;
};

// The platform's open and save dialogs on a palette file path (`path`, a
// buffer of `size` bytes, holds the initial name); true when the user chose a
// file, whose full path is then in `path`. After a cancel `path` is as it was.
// Both open with the first filter (.tbp) selected. The save dialog gives the
// format of the filter selected in `format` and appends that format's
// extension to a name that does not end in it, and says so in `extended`: the
// dialog's own overwrite prompt has then not seen the name saved to.
bool ChoosePaletteToOpen(HWND owner, const PaletteDialogTexts& texts, char* path, size_t size);
bool ChoosePaletteToSave(HWND owner, const PaletteDialogTexts& texts, char* path, size_t size, PaletteFormat& format,
                         bool* extended);
