// The program's frame: start-up, the main window procedure and shutdown.
#pragma once

#include <windows.h>

// ---- Globals owned by the frame ----
extern HINSTANCE g_instance;   // the module, for every resource load and window creation
extern HWND g_mainWindow;      // set once CreateWindowExA of the main window returns

// With the program directory found: loads the settings, the palette and the color, registers the window
// classes, creates and shows the main window and puts the focus into R10.
// False when a window class cannot be registered.
bool StartUp(HINSTANCE instance);

// The message loop, with the accelerators; returns the exit code.
int RunMessageLoop();
// One message of the loop: texts caught up where needed, accelerators, dispatch.
void ProcessMessage(MSG& msg, HACCEL accelerators);
// What the loop does once no message is waiting.
void OnIdle();

// Finds the executable's folder and keeps it as the program directory.
void FindProgramDirectory();

LRESULT CALLBACK MainWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

// WM_COMMAND of the main window: the color edits, menu commands, accelerators, buttons.
void OnCommand(HWND window, int id, HWND control, UINT code);
