// The palette commands of the main window: the factory palette, the palette
// files opened and saved through the platform's dialogs in every format the
// store knows, files dropped onto the window, and the messages about them.
#pragma once

#include <windows.h>
#include <shellapi.h>

#include <string>

// The palette initialise, open and save commands (Ctrl+I, Ctrl+O, Ctrl+S).
void InitialisePalette(HWND window);
void OpenPalette(HWND window);
void SavePalette(HWND window);

// WM_DROPFILES of the main window: after the same question as the open
// command, the first file dropped opens as if chosen in the open dialog; of
// several, a message says that only the first is opened. A file that cannot
// be read, as one chosen in the dialog, leaves the palette file path as it was.
void OnDropFiles(HWND window, HDROP drop);

// A message box about a file, owned by `window`: the file's path on the first
// line, `text` after a blank line; the caption string `caption`, the icon (and
// buttons) `style`. Returns the button pressed.
int ShowFileMessage(HWND window, const char* path, const std::string& text, UINT caption, UINT style);
