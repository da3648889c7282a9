// "tbox.ini" in the program directory, read at start-up and written at close
// through the platform's private-profile functions.
#pragma once

#include <windows.h>

#include "store/settings_data.h"

// Every setting, the red, green and blue of the current color included; a
// missing file, section or key gives its default. Red, green and blue outside
// 0..255 are clamped. A palette path too long for its buffer is dropped. A
// settings file whose path the platform's profile functions cannot take (a
// program folder of MAX_PATH characters or more) is not read: the defaults apply.
Settings LoadSettings();

// Writes the five sections. The position is the restored rectangle of
// `placementWindow` (the main window); without a window the settings' own
// PosX/PosY are written. Returns false when the platform refused a section,
// and writes nothing when the file's path is too long for the profile functions.
bool SaveSettings(const Settings& settings, HWND placementWindow);

// The left and top of a window's normal (restored) rectangle.
bool GetRestoredPosition(HWND window, int32_t* left, int32_t* top);
