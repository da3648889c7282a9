// The main window's commands, the edits' typing, the menus' marks and the
// version dialog.
#pragma once

#include <windows.h>

#include <string>

// The maker's home page, opened by the web site command.
extern const char kMakerHomePage[];

// WM_INITMENUPOPUP of the main window: the radio and check marks of the
// settings menu follow the settings.
void OnInitMenuPopup(HWND window, HMENU menu, UINT item, BOOL systemMenu);

// The version dialog (resource 106).
INT_PTR CALLBACK AboutDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);

// A message box owned by `owner`: string `text` naming `file` and giving the
// system's reason for `error`, under caption string `caption`.
void ReportFileError(HWND owner, UINT caption, UINT text, const std::string& file, DWORD error);
