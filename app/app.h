// The program's frame: start-up, the main window procedure and shutdown.
#pragma once

#include <windows.h>

// ---- Globals owned by the frame ----
extern HINSTANCE g_instance;   // the module, for every resource load and window creation
extern HWND g_mainWindow;      // set once CreateWindowExA of the main window returns

constexpr int kClientWidth = 406;
constexpr int kClientHeight = 276;

// Finds the executable's folder and keeps it as the program directory.
void FindProgramDirectory();

LRESULT CALLBACK MainWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
