// Palette files ("palette.ini", "palini.dll", the user's "*.tbp") and the
// dialogs that choose a user palette file.
#pragma once

#include <windows.h>

#include "store/palette_data.h"

// Replaces `palette` with the file's first bytes (at most 512); a file that
// cannot be opened leaves it as it was. Returns whether the file was read.
bool ReadPaletteFile(const char* path, PaletteEntries& palette);

// Replaces the file with the palette's 512 bytes. The bytes go to a file beside
// it first, which then takes its place in one step, so a failure at any point
// leaves the old file as it was. Returns whether the file was replaced.
bool WritePaletteFile(const char* path, const PaletteEntries& palette);

// Whether the file holds exactly the palette's 512 bytes and no more. Reading a
// file back costs far less than writing, flushing and replacing it.
bool PaletteFileHolds(const char* path, const PaletteEntries& palette);

// What a palette dialog shows: its title and its filter (display text and
// pattern, each NUL-terminated, closed by one more NUL).
struct PaletteDialogTexts {
    const char* title;
    const char* filter;
};

// The platform's open and save dialogs on a palette file path (`path`, a
// buffer of `size` bytes, holds the initial name); true when the user chose a
// file, whose full path is then in `path`. After a cancel `path` is as it was.
bool ChoosePaletteToOpen(HWND owner, const PaletteDialogTexts& texts, char* path, size_t size);
bool ChoosePaletteToSave(HWND owner, const PaletteDialogTexts& texts, char* path, size_t size);
