// Palette files ("palette.ini", "palini.dll", the user's "*.tbp") and the
// dialogs that choose a user palette file.
#pragma once

#include <windows.h>

#include <string>

#include "store/palette_data.h"

// Every call below that gives false leaves the platform's reason in GetLastError.

// Replaces `palette` with the file's first bytes (at most 512); a file that
// cannot be opened or read leaves it as it was. Returns whether the file was read.
bool ReadPaletteFile(const char* path, PaletteEntries& palette);

// The whole file as it is now (one of more than 16 MB counts as unreadable).
FileBytes ReadFileBytes(const char* path);

// Replaces the file with the palette's 512 bytes. The bytes go to a temporary
// file beside it first, which then takes its place in one step (ReplaceFileA,
// which keeps the old file's attributes; a new file is moved into place), so a
// failure at any point leaves the old file as it was and no temporary file
// behind. A read-only file is not replaced. Returns whether the file was written.
bool WritePaletteFile(const char* path, const PaletteEntries& palette);

// The temporary file names a write of `path` tries, in order: the target's
// name, the process ID and the attempt. A name already taken, by a file left
// behind by a write that was cut off or anything else, is passed over.
constexpr unsigned kTemporaryNameAttempts = 64;
std::string TemporaryPaletteName(const char* path, unsigned attempt);

// What a palette dialog shows: its title and its filter (display text and
// pattern, each NUL-terminated, closed by one more NUL).
struct PaletteDialogTexts {
    const char* title;
    const char* filter;
};

// The platform's open and save dialogs on a palette file path (`path`, a
// buffer of `size` bytes, holds the initial name); true when the user chose a
// file, whose full path is then in `path`. After a cancel `path` is as it was.
// The save dialog appends ".tbp" to a name without it, and says so in `extended`:
// the dialog's own overwrite prompt has then not seen the name saved to.
bool ChoosePaletteToOpen(HWND owner, const PaletteDialogTexts& texts, char* path, size_t size);
bool ChoosePaletteToSave(HWND owner, const PaletteDialogTexts& texts, char* path, size_t size, bool* extended);
