// Palette files ("palette.ini", "palini.dll", the user's "*.tbp") and the
// dialogs that choose a user palette file.
#pragma once

#include <windows.h>

#include "store/palette_data.h"

// Replaces the palette with the file's first bytes (at most 512); a file that
// cannot be opened leaves it as it was. Returns whether the file was read.
bool ReadPaletteFile(const char* path);

// Replaces the file with the palette's 512 bytes. The bytes go to a file beside
// it first, which then takes its place in one step, so a failure at any point
// leaves the old file as it was. Returns whether the file was replaced.
bool WritePaletteFile(const char* path);

// The platform's open and save dialogs on the palette file path of the
// settings, with the title and the filter (display text and pattern, each
// NUL-terminated, closed by one more NUL) given; true when the user chose a
// file, whose full path is then there.
bool ChoosePaletteToOpen(HWND owner, const char* title, const char* filter);
bool ChoosePaletteToSave(HWND owner, const char* title, const char* filter);
